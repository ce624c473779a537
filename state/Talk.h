// Talk modes with their colours, the talk boxes drawn over the map and the one-line status message.
#pragma once

#include <cstdint>

enum TALK_MODE : int32_t {
    TALK_NONE = 0,
    TALK_SAY = 1,
    TALK_WHISPER = 2,
    TALK_YELL = 3,
    TALK_PRIVATE_MESSAGE = 4,
    TALK_CHANNEL_CALL = 5,
    TALK_GAMEMASTER_REQUEST = 6,
    TALK_GAMEMASTER_ANSWER = 7,
    TALK_PLAYER_ANSWER = 8,
    TALK_GAMEMASTER_BROADCAST = 9,
    TALK_GAMEMASTER_CHANNELCALL = 10,
    TALK_GAMEMASTER_MESSAGE = 11,
    TALK_CHANNEL_HIGHLIGHT = 12,
    TALK_ANONYMOUS_BROADCAST = 13,
    TALK_ANONYMOUS_CHANNELCALL = 14,
    TALK_ANONYMOUS_MESSAGE = 15,
    TALK_ANIMAL_LOW = 16,
    TALK_ANIMAL_LOUD = 17,
    TALK_ADMIN_MESSAGE = 18,
    TALK_EVENT_MESSAGE = 19,
    TALK_EVENT_STATUS = 20,
    TALK_STATUS_MESSAGE = 21,
    TALK_INFO_MESSAGE = 22,
    TALK_STATUS_ONLY = 23,
    TALK_OWN_MESSAGE = 24,
    TALK_RED_MESSAGE = 25,
    TALK_RESERVED = 26,
    TALK_MODE_BEYONDLAST = 27
};

inline constexpr int32_t TALKBOXES = 10;
inline constexpr int32_t TALKBOX_LINES = 10;
inline constexpr int32_t TALKBOX_LINE_LENGTH = 40; // bytes per line, terminator included
inline constexpr int32_t STATUSMESSAGE_LENGTH = 512;

// One talk box. State: 0 free, 1 shown, 2 waiting behind a shown box of its kind.
struct TTalkbox {
    int32_t State;
    int32_t Sequence;      // larger is younger
    int32_t RemainingTime; // milliseconds; runs down while shown or waiting
    int32_t Mode;
    int32_t X, Y, Z; // speaker's world position, positional modes only
    int32_t NumberOfLines;
    char Lines[TALKBOX_LINES][TALKBOX_LINE_LENGTH];
    int32_t Area[4]; // owned by the map view: its placement of the box (x, y, alignment, edge flags)
};

// The colour of a talk mode, components 0..255. Modes 0 and 26 and anything outside 0..25 throw.
void GetTalkModeColor(int32_t& R, int32_t& G, int32_t& B, int32_t Mode);

// The shown boxes, numbered 1..GetNumberOfTalkboxes() in slot order.
int32_t GetNumberOfTalkboxes();
TTalkbox& GetTalkbox(int32_t Number);
int32_t GetTalkboxMode(int32_t Number);
void GetTalkboxPosition(int32_t Number, int32_t& X, int32_t& Y, int32_t& Z);
void GetTalkboxArea(int32_t Number, int32_t& X, int32_t& Y, int32_t& Alignment, int32_t& EdgeFlags);
void SetTalkboxArea(int32_t Number, int32_t X, int32_t Y, int32_t Alignment, int32_t EdgeFlags);
void GetTalkboxColor(int32_t& R, int32_t& G, int32_t& B, int32_t Number);
int32_t GetTalkboxLines(int32_t Number);
const char* GetTalkboxLine(int32_t Number, int32_t Line);

// Slot-level operations; Position is a slot 0..TALKBOXES-1.
void AddTalkboxStatement(int32_t Mode, const char* Speaker, int32_t X, int32_t Y, int32_t Z,
                         const char* Text);
void AddTalkboxMessage(int32_t Mode, const char* Text);
void EndTalkbox(int32_t Position);
void DeleteOldestTalkbox();
int32_t GetFreeTalkbox();
void WrapTalkboxText(TTalkbox& Box, const char* Text);
void ProcessTalkboxes(); // every timer tick

void SetStatusMessage(const char* Message, bool Permanent = false);
const char* GetStatusMessage(); // NULL while there is none
void ProcessStatusMessage();    // every 100 ms tick; a message lasts 50 ticks

bool GetMapTextChanged(); // returns the flag and clears it
void SetMapTextChanged();

// Frees every box, restarts the sequence numbers and clears the status message (start-up, game entry).
void ResetTalkboxes();
