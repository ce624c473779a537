// Where received text goes in the console, whose speech is suppressed (white, VIP and ignore lists), and
// the chat model's start, reset and end.
#include "state/TalkRouting.h"

#include "foundation/Exception.h"
#include "foundation/sysinc.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"

#include <cstring>

namespace {

// The switches get their start values at InitTalk; the lists live for the whole run (the options file
// fills the white and ignore lists before InitTalk; the VIP names follow the server's VIP list).
struct TSpeakerFilters {
    bool WhiteListActive = true;
    bool AllowVIPs = false;
    bool IgnoreListActive = true;
    TSpeakerList WhiteList;
    TSpeakerList VIPWhiteList;
    TSpeakerList IgnoreList;
    int32_t IgnoreTimerEnd = 0; // GetMilliseconds time; 0: not running
};

TSpeakerFilters Filters;

constexpr int32_t IGNORE_INDICATOR_TIME = 1000;

// Helpers of the list operations; each carries the operations' catch frame.

// Replaces an entry that matches (Mode, Name, any channel) by a new one.
void ReplaceEntry(int32_t Mode, const char* Name, bool Permanent, TSpeakerList& List) try {
    int32_t Found = List.find(Mode, Name, -1);
    if (Found != -1) List.remove(Found);
    List.add(Mode, Name, Permanent);
}
CATCH_FRAME()

void RemoveEntry(int32_t Mode, const char* Name, TSpeakerList& List) try {
    int32_t Found = List.find(Mode, Name, -1);
    if (Found != -1) List.remove(Found);
}
CATCH_FRAME()

void ClearEntries(TSpeakerList& List) try { List.clear(); }
CATCH_FRAME()

bool GetPermanentFlag(const char* Name, const TSpeakerList& List) {
    int32_t Found = List.find(0, Name, -1);
    return Found != -1 && List.at(Found)->Permanent;
}

// "name\n" for every named entry in slot order; NULL for a list without entries.
std::unique_ptr<char[]> GetNamesText(const TSpeakerList& List) try {
    size_t Size = 1;
    bool Any = false;
    for (int32_t i = List.getMin(); i <= List.getMax(); i++) {
        if (List.at(i) == nullptr) continue;
        Any = true;
        if (List.at(i)->Name[0] != 0) Size += std::strlen(List.at(i)->Name) + 1;
    }
    if (!Any) return nullptr;
    auto Text = std::make_unique<char[]>(Size);
    size_t Length = 0;
    for (int32_t i = List.getMin(); i <= List.getMax(); i++) {
        if (List.at(i) == nullptr || List.at(i)->Name[0] == 0) continue;
        Length += std::snprintf(Text.get() + Length, Size - Length, "%s\n", List.at(i)->Name);
    }
    return Text;
}
CATCH_FRAME()

bool IsServerMessageShown(int32_t Mode) {
    switch (Mode) {
    case TALK_ADMIN_MESSAGE:
        return true;
    case TALK_EVENT_MESSAGE:
    case TALK_EVENT_STATUS:
        return GetEventMessages();
    case TALK_STATUS_MESSAGE:
        return GetStatusMessages();
    case TALK_INFO_MESSAGE:
        return GetInfoMessages();
    default:
        return false;
    }
}

// A server message goes to the default tab and to every tab that asked for server messages.
void AddServerMessage(int32_t StatementID, const char* Text, int32_t Mode, const char* Speaker,
                      int32_t TimeOffset) {
    if (!IsServerMessageShown(Mode)) return;
    AddToTextBuffer(DefaultTextBuffer(), StatementID, Text, Mode, Speaker, TimeOffset);
    TTalkFilterList& List = ConsoleFilterList();
    for (int32_t i = List.getMin(); i <= List.getMax(); i++) {
        if (List.at(i) == nullptr) continue;
        TTextBuffer* TargetBuffer = List.at(i)->TextBuffer;
        CHECK_TEXT(TargetBuffer != nullptr, "TargetBuffer!=NULL");
        if (TargetBuffer->ShowServerMessages && !TargetBuffer->isRequestQueue())
            AddToTextBuffer(TargetBuffer, StatementID, Text, Mode, Speaker, TimeOffset);
    }
}

// The buffer of the last registry entry that matches, else Target.
TTextBuffer* FindTarget(TTextBuffer* Target, int32_t Mode, const char* Name, int32_t Channel) {
    TTalkFilterList& List = ConsoleFilterList();
    for (int32_t i = List.getMin(); i <= List.getMax(); i++)
        if (List.at(i) != nullptr && List.at(i)->matches(Mode, Name, Channel))
            Target = List.at(i)->TextBuffer;
    return Target;
}

bool HasNoDefaultPlace(int32_t Mode) {
    return Mode == TALK_CHANNEL_CALL || Mode == TALK_GAMEMASTER_REQUEST || Mode == TALK_GAMEMASTER_ANSWER ||
           Mode == TALK_PLAYER_ANSWER || Mode == TALK_GAMEMASTER_CHANNELCALL ||
           Mode == TALK_CHANNEL_HIGHLIGHT || Mode == TALK_ANONYMOUS_CHANNELCALL;
}

} // namespace

void SetWhiteListActive(bool Active) { Filters.WhiteListActive = Active; }
bool GetWhiteListActive() { return Filters.WhiteListActive; }
void SetAllowVIPs(bool Allow) { Filters.AllowVIPs = Allow; }
bool GetAllowVIPs() { return Filters.AllowVIPs; }
void SetIgnoreListActive(bool Active) { Filters.IgnoreListActive = Active; }
bool GetIgnoreListActive() { return Filters.IgnoreListActive; }

void AddToWhiteList(const char* Name, bool Permanent) { ReplaceEntry(0, Name, Permanent, Filters.WhiteList); }
bool GetWhiteListFlag(const char* Name) { return GetPermanentFlag(Name, Filters.WhiteList); }
std::unique_ptr<char[]> GetWhiteListText() { return GetNamesText(Filters.WhiteList); }
void ClearWhiteList() { ClearEntries(Filters.WhiteList); }

void AddVIPName(const char* Name) { ReplaceEntry(0, Name, false, Filters.VIPWhiteList); }
void RemoveVIPName(const char* Name) { RemoveEntry(0, Name, Filters.VIPWhiteList); }
void ClearVIPWhiteList() { ClearEntries(Filters.VIPWhiteList); }

void AddIgnoreEntry(int32_t Mode, const char* Name, bool Permanent) {
    ReplaceEntry(Mode, Name, Permanent, Filters.IgnoreList);
}
void RemoveIgnoreEntry(int32_t Mode, const char* Name) { RemoveEntry(Mode, Name, Filters.IgnoreList); }
void AddToIgnoreList(const char* Name, bool Permanent) { AddIgnoreEntry(0, Name, Permanent); }
void RemoveFromIgnoreList(const char* Name) { RemoveIgnoreEntry(0, Name); }
void IgnoreMode(int32_t Mode) { AddIgnoreEntry(Mode, nullptr, false); }
void UnignoreMode(int32_t Mode) { RemoveIgnoreEntry(Mode, nullptr); }
bool IsModeIgnored(int32_t Mode) { return Filters.IgnoreList.find(Mode, nullptr, -1) != -1; }
bool GetIgnoreListFlag(const char* Name) { return GetPermanentFlag(Name, Filters.IgnoreList); }
std::unique_ptr<char[]> GetIgnoreListText() { return GetNamesText(Filters.IgnoreList); }
void ClearIgnoreList() { ClearEntries(Filters.IgnoreList); }

bool IsTalkFiltered(int32_t Mode, const char* Speaker, int32_t Channel) try {
    if (Filters.WhiteListActive) {
        if (Filters.AllowVIPs && Filters.VIPWhiteList.find(Mode, Speaker, Channel) != -1) return false;
        if (Filters.WhiteList.find(Mode, Speaker, Channel) != -1) return false;
    }
    return Filters.IgnoreListActive && Filters.IgnoreList.find(Mode, Speaker, Channel) != -1;
}
CATCH_FRAME(Mode, Channel)

void StartIgnoreTimer() { Filters.IgnoreTimerEnd = TimeAfter(GetMilliseconds(), IGNORE_INDICATOR_TIME); }

bool IsIgnoreTimerRunning() {
    if (Filters.IgnoreTimerEnd == 0) return false;
    if (TimeUntil(Filters.IgnoreTimerEnd) > 0) return true;
    Filters.IgnoreTimerEnd = 0;
    return false;
}

void AddTalk(int32_t StatementID, const char* Text, int32_t Mode, const char* Speaker, int32_t Channel,
             int32_t TimeOffset) try {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    if (In(Mode, TALK_ADMIN_MESSAGE, TALK_STATUS_ONLY)) {
        AddServerMessage(StatementID, Text, Mode, Speaker, TimeOffset);
        return;
    }
    TTextBuffer* Target = HasNoDefaultPlace(Mode) ? nullptr : DefaultTextBuffer();
    const char* SpeakerUsed = Mode == TALK_ANONYMOUS_CHANNELCALL ? nullptr : Speaker;
    bool ChannelMode = Mode == TALK_GAMEMASTER_CHANNELCALL || Mode == TALK_CHANNEL_HIGHLIGHT ||
                       Mode == TALK_ANONYMOUS_CHANNELCALL;
    Target = FindTarget(Target, ChannelMode ? TALK_CHANNEL_CALL : Mode, SpeakerUsed, Channel);
    if (Target != nullptr) AddToTextBuffer(Target, StatementID, Text, Mode, SpeakerUsed, TimeOffset);
}
CATCH_FRAME(StatementID)

void AddOwnPrivateMessage(const char* Speaker, const char* Text, int32_t Mode, const char* Addressee,
                          int32_t Channel) try {
    TTextBuffer* Target = Mode == TALK_CHANNEL_CALL ? nullptr : DefaultTextBuffer();
    Target = FindTarget(Target, Mode, Addressee, Channel);
    if (Target != nullptr) AddToTextBuffer(Target, 0, Text, TALK_OWN_MESSAGE, Speaker, 0);
}
CATCH_FRAME(Channel)

void InitTalk() {
    Filters.WhiteListActive = true;
    Filters.AllowVIPs = false;
    Filters.IgnoreListActive = true;
    ClearTalk();
    SetDefaultTextBuffer(std::make_unique<TTextBuffer>(TALK_SAY));
}

void ClearTalk() {
    ResetTalkboxes();
    ClearAllTextBuffers();
}

void ExitTalk() {
    ClearWhiteList();
    ClearVIPWhiteList();
    ClearIgnoreList();
    DeleteAllTextBuffers();
    SetDefaultTextBuffer(nullptr);
}

void ShowIgnoreNotice() {
    int32_t Permanent = 0;
    const TSpeakerList& List = Filters.IgnoreList;
    for (int32_t i = List.getMin(); i <= List.getMax(); i++)
        if (List.at(i) != nullptr && List.at(i)->Name[0] != 0 && List.at(i)->Permanent) Permanent++;
    if (Permanent == 0) return;
    CHECK_TEXT(DefaultTextBuffer() != nullptr, "DefaultTextBuffer!=NULL");
    AddToTextBuffer(DefaultTextBuffer(), 0, "You are permanently ignoring players.", TALK_EVENT_STATUS,
                    nullptr, 0);
    SetConsoleChanged();
}
