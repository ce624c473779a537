// The game server's speech, chat-channel, request-queue and system messages: talk boxes, the status line,
// the console's text buffers and the events that open channel dialogs and console tabs.
#include "network/CommunicationHandlers.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "network/Network.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int32_t TALK_TEXT_SIZE = 512;   // at most 511 characters kept
constexpr int32_t CHANNEL_NAME_SIZE = 30; // name slots of the channel list and of events 47 and 48
constexpr int32_t OWN_CHANNEL_NAME_SIZE = 40;

// What a talk mode carries behind its mode byte and where it goes.
struct TTalkLayout {
    bool Position; // u16 x, u16 y, u8 z
    bool Channel;  // u16 channel
    bool Number;   // u32 seconds since a request was made
    bool Talkbox;  // over the map, at the position or at (0, 0, 0)
    bool Console;  // into the console's buffers
    bool Filtered; // dropped when the speaker or the mode is ignored
};

// The layout of a talk mode; false for a mode that the talk message does not carry.
bool GetTalkLayout(int32_t Mode, TTalkLayout& Layout) {
    switch (Mode) {
    case TALK_SAY:
    case TALK_WHISPER:
    case TALK_YELL:
        Layout = {true, false, false, true, true, true};
        return true;
    case TALK_PRIVATE_MESSAGE:
    case TALK_GAMEMASTER_BROADCAST:
    case TALK_GAMEMASTER_MESSAGE:
        Layout = {false, false, false, true, true, true};
        return true;
    case TALK_CHANNEL_CALL:
    case TALK_GAMEMASTER_CHANNELCALL:
    case TALK_CHANNEL_HIGHLIGHT:
    case TALK_ANONYMOUS_CHANNELCALL:
        Layout = {false, true, false, false, true, true};
        return true;
    case TALK_GAMEMASTER_REQUEST:
        Layout = {false, false, true, false, true, false};
        return true;
    case TALK_GAMEMASTER_ANSWER:
    case TALK_PLAYER_ANSWER:
        Layout = {false, false, false, false, true, false};
        return true;
    case TALK_ANIMAL_LOW:
    case TALK_ANIMAL_LOUD:
        Layout = {true, false, false, true, false, true};
        return true;
    default:
        return false;
    }
}

// A name read into a fresh event block of Size bytes and posted with the event; Param1 is a number.
void PostNameEvent(int32_t Type, int32_t Param1, int32_t Size) {
    TMessageBlock<char> Name = NewMessageBlockOf<char>(static_cast<size_t>(Size));
    GetString(Name.get(), Size);
    AddMessage(Type, Param1, MessageParameter(Name.get()));
    Name.release();
}

// Adds a server note to a conversation's buffer and closes the conversation; nothing without the buffer.
void CloseConversation(TTextBuffer* Buffer, const char* Text) {
    if (Buffer == nullptr) return;
    AddToTextBuffer(Buffer, 0, Text, TALK_ADMIN_MESSAGE, nullptr, 0);
    Buffer->setOpen(false);
}

} // namespace

void ReceiveTalk() try {
    uint32_t StatementID = GetQuad();
    char Speaker[TALK_NAME_LENGTH];
    GetString(Speaker, TALK_NAME_LENGTH);
    int32_t Mode = GetByte();
    TTalkLayout Layout;
    if (!GetTalkLayout(Mode, Layout))
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "unknown talk mode", "Mode", Mode, "", 0,
                           "[bug0000649]");
    int32_t x = 0, y = 0, z = 0, Channel = -1, TimeOffset = 0;
    if (Layout.Position) {
        x = GetWord();
        y = GetWord();
        z = GetByte();
    }
    if (Layout.Channel) Channel = GetWord();
    // Seconds since the request; a value beyond the 32-bit range counts as the longest time there is.
    if (Layout.Number) TimeOffset = -static_cast<int32_t>(std::min<uint32_t>(GetQuad(), INT32_MAX));
    char Text[TALK_TEXT_SIZE];
    GetString(Text, TALK_TEXT_SIZE);

    if (Layout.Filtered && IsTalkFiltered(Mode, Speaker, -1)) {
        StartIgnoreTimer();
        return;
    }
    if (Layout.Talkbox) AddTalkboxStatement(Mode, Speaker, x, y, z, Text);
    if (Layout.Console) AddTalk(static_cast<int32_t>(StatementID), Text, Mode, Speaker, Channel, TimeOffset);
}
CATCH_FRAME()

void ReceiveChannelList() try {
    int32_t Count = GetByte();
    // The block {u32 N, N channel numbers} and N name slots; the slots are left out when N is 0.
    TMessageBlock<uint32_t> Channels = NewMessageBlockOf<uint32_t>(static_cast<size_t>(Count) + 1);
    TMessageBlock<char> Names;
    if (Count > 0) Names = NewMessageBlockOf<char>(static_cast<size_t>(Count) * CHANNEL_NAME_SIZE);
    Channels.get()[0] = static_cast<uint32_t>(Count);
    for (int32_t i = 0; i < Count; i++) {
        Channels.get()[i + 1] = GetWord();
        GetString(Names.get() + i * CHANNEL_NAME_SIZE, CHANNEL_NAME_SIZE);
    }
    AddMessage(MESSAGE_CHANNELLIST, MessageParameter(Channels.get()), MessageParameter(Names.get()));
    Channels.release();
    Names.release();
}
CATCH_FRAME()

void ReceiveOpenChannel() try {
    int32_t Channel = GetWord();
    PostNameEvent(MESSAGE_OPENCHANNEL, Channel, CHANNEL_NAME_SIZE);
}
CATCH_FRAME()

void ReceivePrivateChannel() try { PostNameEvent(MESSAGE_OPENPRIVATECHANNEL, 0, CHANNEL_NAME_SIZE); }
CATCH_FRAME()

void ReceiveOwnChannel() try {
    int32_t Channel = GetWord();
    PostNameEvent(MESSAGE_OPENOWNCHANNEL, Channel, OWN_CHANNEL_NAME_SIZE);
}
CATCH_FRAME()

void ReceiveRequestQueue() try {
    int32_t Channel = GetWord();
    TTextBuffer* Buffer = CreateTextBuffer(TALK_GAMEMASTER_REQUEST, TALK_SAY, nullptr, Channel);
    if (Buffer == nullptr) Buffer = FindTextBuffer(TALK_GAMEMASTER_REQUEST, nullptr, -1);
    CHECK_TEXT(Buffer != nullptr, "TextBuffer!=NULL");
    // The event names the queue by its channel, not by the buffer: the buffer's tab may go while it waits.
    AddMessage(MESSAGE_OPENREQUESTQUEUE, Buffer->getChannelID(), 0);
}
CATCH_FRAME()

void ReceiveRequestTaken() try {
    char Name[TALK_NAME_LENGTH];
    GetString(Name, TALK_NAME_LENGTH);
    TTextBuffer* Queue = FindTextBuffer(TALK_GAMEMASTER_REQUEST, nullptr, -1);
    if (Queue == nullptr) return;
    // The cursor moves on before a line goes, so that it never rests on a deleted line.
    for (TTalkLine* Line = Queue->seekLine(0); Line != nullptr;) {
        TTalkLine* Current = Line;
        Line = Queue->nextLine();
        if (CompareNoCase(Current->_Addressee, Name, -1) == 0) Queue->deleteLine(Current);
    }
    SetConsoleChanged();
}
CATCH_FRAME()

void ReceiveRequestFinished() try {
    char Name[TALK_NAME_LENGTH];
    GetString(Name, TALK_NAME_LENGTH);
    char Text[TALK_NAME_LENGTH + 32];
    std::snprintf(Text, sizeof(Text), "%s has finished the request.", Name);
    CloseConversation(FindTextBuffer(TALK_PLAYER_ANSWER, Name, -1), Text);
}
CATCH_FRAME()

void ReceiveRequestClosed() try {
    CloseConversation(FindTextBuffer(TALK_GAMEMASTER_ANSWER, nullptr, -1), "Your request has been closed.");
}
CATCH_FRAME()

void ReceiveChannelClosed() try {
    int32_t Channel = GetWord();
    CloseConversation(FindTextBuffer(TALK_CHANNEL_CALL, nullptr, Channel),
                      "The channel has been closed. You need to re-join the channel if you get invited.");
}
CATCH_FRAME()

void ReceiveSystemMessage() try {
    int32_t Mode = GetByte();
    CHECK_TEXT(Mode >= 0 && Mode < TALK_MODE_BEYONDLAST, "Mode>=0&&Mode<TALK_MODE_BEYONDLAST", Mode);
    char Text[TALK_TEXT_SIZE];
    GetString(Text, TALK_TEXT_SIZE);
    if (Mode == TALK_ADMIN_MESSAGE || Mode == TALK_EVENT_MESSAGE || Mode == TALK_INFO_MESSAGE)
        AddTalkboxMessage(Mode, Text);
    if (Mode == TALK_EVENT_STATUS || Mode == TALK_STATUS_MESSAGE || Mode == TALK_STATUS_ONLY)
        SetStatusMessage(Text, false);
    if (Mode != TALK_STATUS_ONLY) AddTalk(0, Text, Mode, nullptr, -1, 0);
}
CATCH_FRAME()
