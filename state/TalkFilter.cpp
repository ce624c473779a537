// Filter entries that bind (talk mode, name, channel) to a text buffer, the console's registry of buffers
// with its factory, and the appending of lines to a buffer.
#include "state/TalkFilter.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "state/Talk.h"

#include <algorithm>

namespace {

// The console's registry lives for the whole run; its entries come and go with the console's tabs. The
// default buffer lives from InitTalk to ExitTalk.
struct TConsoleState {
    TTalkFilterList ConsoleFilterList{0, 4, 5, nullptr};
    std::unique_ptr<TTextBuffer> DefaultTextBuffer;
    bool ConsoleChanged = false;
};

TConsoleState Console;

// Picks the class of a new buffer; NULL when the combination names no kind of conversation.
std::unique_ptr<TTextBuffer> MakeTextBuffer(int32_t ReceiveTalkMode, int32_t SendTalkMode, const char* Name,
                                            int32_t Channel) {
    if (ReceiveTalkMode == SendTalkMode) {
        if (Name != nullptr && Channel == -1)
            return std::make_unique<TPrivateTextBuffer>(ReceiveTalkMode, Name);
        if (Name == nullptr && Channel == -1) return std::make_unique<TTextBuffer>(ReceiveTalkMode);
        if (Name == nullptr && Channel < 8)
            return std::make_unique<TChannelTextBuffer>(ReceiveTalkMode, Channel);
        if (Name == nullptr) return std::make_unique<TPrivateChannelTextBuffer>(ReceiveTalkMode, Channel);
    }
    if (ReceiveTalkMode == TALK_GAMEMASTER_ANSWER || ReceiveTalkMode == TALK_PLAYER_ANSWER)
        return std::make_unique<TRequestTextBuffer>(ReceiveTalkMode, SendTalkMode, Name);
    if (ReceiveTalkMode == TALK_GAMEMASTER_REQUEST && Name == nullptr && Channel != -1)
        return std::make_unique<TRequestQueueTextBuffer>(ReceiveTalkMode, Channel);
    return nullptr;
}

std::unique_ptr<TTalkFilter> NewTalkFilter(int32_t Mode, const char* Name, int32_t Channel,
                                           TTextBuffer* TextBuffer, bool Permanent) {
    auto Entry = std::make_unique<TTalkFilter>();
    Entry->TextBuffer = TextBuffer;
    if (Name != nullptr) CopyString(Entry->Name, Name);
    Entry->AnyName = Name == nullptr;
    Entry->Mode = Mode;
    Entry->Channel = Channel;
    Entry->Permanent = Permanent;
    return Entry;
}

} // namespace

bool TTalkFilter::matches(int32_t TalkMode, const char* Speaker, int32_t ChannelID) const {
    if (In(TalkMode, TALK_GAMEMASTER_BROADCAST, TALK_CHANNEL_HIGHLIGHT)) return false;
    if (Mode != 0 && Mode != TalkMode) return false;
    if (Channel != -1 && Channel != ChannelID) return false;
    if (AnyName) return true;
    return Speaker != nullptr && CompareNoCase(Name, Speaker, -1) == 0;
}

int32_t FindTalkFilter(int32_t Mode, const char* Name, int32_t Channel, TTalkFilterList& List) {
    for (int32_t i = List.getMin(); i <= List.getMax(); i++)
        if (List.at(i) != nullptr && List.at(i)->matches(Mode, Name, Channel)) return i;
    return -1;
}

int32_t FindTextBufferFilter(TTextBuffer* TextBuffer, TTalkFilterList& List) {
    CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
    for (int32_t i = List.getMin(); i <= List.getMax(); i++)
        if (List.at(i) != nullptr && List.at(i)->TextBuffer == TextBuffer) return i;
    return -1;
}

int32_t AddTalkFilter(int32_t Mode, const char* Name, int32_t Channel, TTextBuffer* TextBuffer,
                      TTalkFilterList& List, bool Permanent) {
    int32_t Slot = List.getMin();
    while (Slot <= List.getMax() && List.at(Slot) != nullptr)
        Slot++;
    List.at(Slot) = NewTalkFilter(Mode, Name, Channel, TextBuffer, Permanent).release();
    return Slot;
}

void DeleteTalkFilter(int32_t Index, TTalkFilterList& List) {
    delete List.at(Index);
    List.at(Index) = nullptr;
}

TTalkFilterList& ConsoleFilterList() { return Console.ConsoleFilterList; }

TTextBuffer* DefaultTextBuffer() { return Console.DefaultTextBuffer.get(); }

void SetDefaultTextBuffer(std::unique_ptr<TTextBuffer> Buffer) {
    Console.DefaultTextBuffer = std::move(Buffer);
}

TTextBuffer* CreateTextBuffer(int32_t ReceiveTalkMode, int32_t SendTalkMode, const char* Name,
                              int32_t Channel) try {
    // An entry registered for any channel (the request queue) also refuses a second queue here.
    if (FindTalkFilter(ReceiveTalkMode, Name, Channel, Console.ConsoleFilterList) != -1) return nullptr;
    std::unique_ptr<TTextBuffer> Buffer = MakeTextBuffer(ReceiveTalkMode, SendTalkMode, Name, Channel);
    if (Buffer == nullptr)
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "can't create text buffer", "", 0, "", 0, "");
    int32_t RegisteredChannel = Buffer->isRequestQueue() ? -1 : Channel;
    AddTalkFilter(ReceiveTalkMode, Name, RegisteredChannel, Buffer.get(), Console.ConsoleFilterList, false);
    return Buffer.release();
}
CATCH_FRAME(ReceiveTalkMode, Channel)

TTextBuffer* FindTextBuffer(int32_t Mode, const char* Name, int32_t Channel) try {
    int32_t Filter = FindTalkFilter(Mode, Name, Channel, Console.ConsoleFilterList);
    if (Filter == -1) return nullptr;
    CHECK_TEXT(Console.ConsoleFilterList.at(Filter) != nullptr, "ConsoleFilterList(Filter)!=NULL", Filter);
    return Console.ConsoleFilterList.at(Filter)->TextBuffer;
}
CATCH_FRAME(Mode, Channel)

void DeleteTextBuffer(TTextBuffer* TextBuffer) try {
    if (TextBuffer == DefaultTextBuffer()) return;
    int32_t Filter = FindTextBufferFilter(TextBuffer, Console.ConsoleFilterList);
    CHECK_TEXT(Filter != -1, "Filter!=-1");
    DeleteTalkFilter(Filter, Console.ConsoleFilterList);
    delete TextBuffer;
}
CATCH_FRAME()

void DeleteAllTextBuffers() {
    TTalkFilterList& List = Console.ConsoleFilterList;
    for (int32_t i = List.getMin(); i <= List.getMax(); i++)
        if (List.at(i) != nullptr) DeleteTextBuffer(List.at(i)->TextBuffer);
}

void AddToTextBuffer(TTextBuffer* TargetBuffer, int32_t StatementID, const char* Text, int32_t TalkMode,
                     const char* Speaker, int32_t TimeOffset) try {
    CHECK_TEXT(TargetBuffer != nullptr, "TargetBuffer!=NULL");
    if (Speaker != nullptr)
        TargetBuffer->addLine(std::make_unique<TTalkLine>(StatementID, TalkMode, Speaker, Text, TimeOffset));
    else
        TargetBuffer->addLine(std::make_unique<TTalkLine>(StatementID, TalkMode, Text));
    Console.ConsoleChanged = true;
}
CATCH_FRAME(StatementID, TalkMode)

void ClearTextBuffer(TTextBuffer* TextBuffer) {
    CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
    TextBuffer->clear();
    Console.ConsoleChanged = true;
}

void ClearAllTextBuffers() {
    if (DefaultTextBuffer() != nullptr) DefaultTextBuffer()->clear();
    Console.ConsoleChanged = true;
}

bool HasOwnPrivateChannel() {
    TTalkFilterList& List = Console.ConsoleFilterList;
    for (int32_t i = List.getMin(); i <= List.getMax(); i++) {
        TTextBuffer* Buffer = List.at(i) != nullptr ? List.at(i)->TextBuffer : nullptr;
        if (Buffer != nullptr && Buffer->isOwnChannel() && Buffer->isPrivateChannel()) return true;
    }
    return false;
}

bool GetConsoleChanged() {
    bool Changed = Console.ConsoleChanged;
    Console.ConsoleChanged = false;
    return Changed;
}

void SetConsoleChanged() { Console.ConsoleChanged = true; }

// ---- TSpeakerList ----

size_t TSpeakerList::TNameHash::operator()(std::string_view Name) const {
    uint64_t Hash = 14695981039346656037u; // FNV-1a over the lower-cased bytes
    for (char c : Name)
        Hash = (Hash ^ static_cast<uint8_t>(ToLower(c))) * 1099511628211u;
    return static_cast<size_t>(Hash);
}

bool TSpeakerList::TNameEqual::operator()(std::string_view A, std::string_view B) const {
    return A.size() == B.size() &&
           std::equal(A.begin(), A.end(), B.begin(), [](char a, char b) { return ToLower(a) == ToLower(b); });
}

TSpeakerList::TSpeakerList() { clear(); }

TSpeakerList::~TSpeakerList() {
    for (int32_t i = Entries.getMin(); i <= Entries.getMax(); i++)
        delete Entries.at(i);
}

int32_t TSpeakerList::find(int32_t Mode, const char* Name, int32_t Channel) const {
    int32_t Found = -1;
    for (int32_t Slot : Nameless)
        if (Entries.at(Slot)->matches(Mode, Name, Channel)) {
            Found = Slot;
            break;
        }
    if (Name == nullptr) return Found;
    auto Same = Named.find(std::string_view(Name));
    if (Same == Named.end()) return Found;
    for (int32_t Slot : Same->second) {
        if (Found != -1 && Slot > Found) break;
        if (Entries.at(Slot)->matches(Mode, Name, Channel)) return Slot;
    }
    return Found;
}

int32_t TSpeakerList::add(int32_t Mode, const char* Name, bool Permanent) {
    const int32_t Slot = Free.empty() ? Entries.getMax() + 1 : *Free.begin();
    Free.erase(Slot);
    TTalkFilter* Entry = NewTalkFilter(Mode, Name, -1, nullptr, Permanent).release();
    Entries.at(Slot) = Entry;
    if (Entry->AnyName) {
        Nameless.insert(Slot);
    } else {
        std::vector<int32_t>& Slots = Named[Entry->Name];
        Slots.insert(std::lower_bound(Slots.begin(), Slots.end(), Slot), Slot);
    }
    return Slot;
}

void TSpeakerList::remove(int32_t Slot) {
    const TTalkFilter* Entry = Entries.at(Slot);
    if (Entry == nullptr) return;
    if (Entry->AnyName) {
        Nameless.erase(Slot);
    } else {
        auto Same = Named.find(std::string_view(Entry->Name));
        std::erase(Same->second, Slot);
        if (Same->second.empty()) Named.erase(Same);
    }
    DeleteTalkFilter(Slot, Entries);
    Free.insert(Slot);
}

void TSpeakerList::clear() {
    Named.clear();
    Nameless.clear();
    Free.clear();
    for (int32_t i = Entries.getMin(); i <= Entries.getMax(); i++) {
        DeleteTalkFilter(i, Entries);
        Free.insert(Free.end(), i);
    }
}

const TTalkFilter* TSpeakerList::at(int32_t Slot) const { return Entries.at(Slot); }
