// Talk modes with their colours, the talk boxes drawn over the map and the one-line status message.
#include "state/Talk.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "state/Preferences.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

struct TTalkModeColor {
    bool Defined;
    int32_t R, G, B;
};

constexpr TTalkModeColor TalkModeColors[TALK_MODE_BEYONDLAST] = {
    {false, 0, 0, 0},      {true, 240, 240, 0},   {true, 240, 240, 0},   {true, 240, 240, 0},
    {true, 96, 248, 248},  {true, 240, 240, 0},   {true, 240, 240, 240}, {true, 240, 240, 0},
    {true, 240, 240, 0},   {true, 248, 96, 96},   {true, 248, 96, 96},   {true, 248, 96, 96},
    {true, 240, 180, 0},   {true, 248, 96, 96},   {true, 248, 96, 96},   {true, 248, 96, 96},
    {true, 255, 102, 0},   {true, 255, 102, 0},   {true, 248, 96, 96},   {true, 240, 240, 240},
    {true, 240, 240, 240}, {true, 240, 240, 240}, {true, 0, 240, 0},     {true, 240, 240, 240},
    {true, 160, 160, 255}, {true, 248, 96, 96},   {false, 0, 0, 0},
};

// Boxes and status line: reset by ResetTalkboxes (start-up and every game entry). The ageing clock
// reference is taken at the first ageing pass and kept for the whole run.
struct TTalkboxState {
    TTalkbox Talkboxes[TALKBOXES];
    int32_t NextTalkboxSequence;
    char StatusMessage[STATUSMESSAGE_LENGTH];
    int32_t StatusMessageTimer; // 0 none, 1..50 ticks left, -1 permanent
    bool MapTextChanged;
    bool AgingStarted;
    int32_t ProcessTalkboxesLastTime;
};

TTalkboxState State{};

constexpr int32_t STATUSMESSAGE_TICKS = 50;

bool IsSpeechMode(int32_t Mode) { return Mode == TALK_SAY || Mode == TALK_WHISPER || Mode == TALK_YELL; }
bool IsAnimalMode(int32_t Mode) { return Mode == TALK_ANIMAL_LOW || Mode == TALK_ANIMAL_LOUD; }
bool IsNoticeMode(int32_t Mode) {
    return Mode == TALK_ADMIN_MESSAGE || Mode == TALK_EVENT_MESSAGE || Mode == TALK_GAMEMASTER_BROADCAST ||
           Mode == TALK_GAMEMASTER_MESSAGE;
}
bool IsFixedPlaceMode(int32_t Mode) {
    return Mode == TALK_PRIVATE_MESSAGE || Mode == TALK_GAMEMASTER_BROADCAST ||
           Mode == TALK_GAMEMASTER_MESSAGE || Mode == TALK_ADMIN_MESSAGE || Mode == TALK_EVENT_MESSAGE ||
           Mode == TALK_INFO_MESSAGE;
}

bool SamePlace(const TTalkbox& A, const TTalkbox& B) { return A.X == B.X && A.Y == B.Y && A.Z == B.Z; }

// Whether Other queues behind (or takes the text of) a box like First: one speaker at one place, creature
// speech at one place, the notices and broadcasts together, private messages together.
bool SameKind(const TTalkbox& First, const TTalkbox& Other) {
    if (IsSpeechMode(First.Mode))
        return Other.Mode == First.Mode && std::strcmp(Other.Lines[0], First.Lines[0]) == 0 &&
               SamePlace(First, Other);
    if (IsAnimalMode(First.Mode)) return IsAnimalMode(Other.Mode) && SamePlace(First, Other);
    if (IsNoticeMode(First.Mode)) return IsNoticeMode(Other.Mode);
    if (First.Mode == TALK_PRIVATE_MESSAGE) return Other.Mode == TALK_PRIVATE_MESSAGE;
    return false;
}

// (L div 2 + 30) x 100 ms for a text of L bytes; bounded so that no sum of durations overflows.
int32_t TalkboxDuration(const char* Text, bool Doubled) {
    int64_t Length = static_cast<int64_t>(std::min<size_t>(std::strlen(Text), 100000));
    int64_t Duration = (Length / 2 + 30) * 100;
    return static_cast<int32_t>(Doubled ? 2 * Duration : Duration);
}

TTalkbox& OpenTalkbox(int32_t Mode, int32_t Duration) {
    TTalkbox& Box = State.Talkboxes[GetFreeTalkbox()];
    std::memset(Box.Lines, 0, sizeof(Box.Lines));
    Box.Sequence = State.NextTalkboxSequence++;
    Box.Mode = Mode;
    Box.NumberOfLines = 0;
    Box.RemainingTime = Duration;
    return Box;
}

void AppendTalkboxLine(TTalkbox& Box, const char* Text, size_t Length) {
    Length = std::min<size_t>(Length, TALKBOX_LINE_LENGTH - 1);
    std::memcpy(Box.Lines[Box.NumberOfLines], Text, Length);
    Box.Lines[Box.NumberOfLines][Length] = 0;
    Box.NumberOfLines++;
}

// Lets a new box wait behind every other open box of its kind. Speech of one speaker (and creature speech
// at one place) is added to the earlier box at once; notices and private messages wait for their turn with
// half their time, plus the longest time of those ahead. Returns that extra time.
int32_t HoldBackTalkbox(TTalkbox& Box) {
    int32_t Wait = 0;
    for (TTalkbox& Other : State.Talkboxes) {
        if (&Other == &Box || Other.State == 0 || !SameKind(Box, Other)) continue;
        if (IsSpeechMode(Box.Mode) || IsAnimalMode(Box.Mode)) {
            for (int32_t i = IsSpeechMode(Box.Mode) ? 1 : 0;
                 i < Box.NumberOfLines && Other.NumberOfLines < TALKBOX_LINES; i++)
                AppendTalkboxLine(Other, Box.Lines[i], std::strlen(Box.Lines[i]));
        } else {
            if (Box.State == 1) Box.RemainingTime /= 2;
            Wait = std::max(Wait, Other.RemainingTime);
        }
        Box.State = 2;
    }
    return Wait;
}

} // namespace

void GetTalkModeColor(int32_t& R, int32_t& G, int32_t& B, int32_t Mode) {
    if (Mode == TALK_NONE)
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "none is talking", "", 0, "", 0, "");
    // Modes come from the server unchecked: anything outside the table fails before it is used as an index.
    if (Mode < 0 || Mode >= TALK_MODE_BEYONDLAST || !TalkModeColors[Mode].Defined)
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "something unknown is talking", "TalkMode", Mode, "",
                           0, "");
    R = TalkModeColors[Mode].R;
    G = TalkModeColors[Mode].G;
    B = TalkModeColors[Mode].B;
}

int32_t GetNumberOfTalkboxes() {
    int32_t Count = 0;
    for (const TTalkbox& Box : State.Talkboxes)
        if (Box.State == 1) Count++;
    return Count;
}

TTalkbox& GetTalkbox(int32_t Number) {
    TTalkbox* Found = nullptr;
    int32_t Shown = 0;
    for (TTalkbox& Box : State.Talkboxes)
        if (Box.State == 1 && ++Shown == Number && Found == nullptr) Found = &Box;
    CHECK(In(Number, 1, GetNumberOfTalkboxes()), Number, GetNumberOfTalkboxes());
    return *Found;
}

int32_t GetTalkboxMode(int32_t Number) try { return GetTalkbox(Number).Mode; }
CATCH_FRAME(Number)

void GetTalkboxPosition(int32_t Number, int32_t& X, int32_t& Y, int32_t& Z) try {
    const TTalkbox& Box = GetTalkbox(Number);
    bool Fixed = IsFixedPlaceMode(Box.Mode);
    X = Fixed ? 0 : Box.X;
    Y = Fixed ? 0 : Box.Y;
    Z = Fixed ? 0 : Box.Z;
}
CATCH_FRAME(Number)

void GetTalkboxArea(int32_t Number, int32_t& X, int32_t& Y, int32_t& Alignment, int32_t& EdgeFlags) try {
    const TTalkbox& Box = GetTalkbox(Number);
    X = Box.Area[0];
    Y = Box.Area[1];
    Alignment = Box.Area[2];
    EdgeFlags = Box.Area[3];
}
CATCH_FRAME(Number)

void SetTalkboxArea(int32_t Number, int32_t X, int32_t Y, int32_t Alignment, int32_t EdgeFlags) try {
    TTalkbox& Box = GetTalkbox(Number);
    Box.Area[0] = X;
    Box.Area[1] = Y;
    Box.Area[2] = Alignment;
    Box.Area[3] = EdgeFlags;
}
CATCH_FRAME(Number)

void GetTalkboxColor(int32_t& R, int32_t& G, int32_t& B, int32_t Number) try {
    GetTalkModeColor(R, G, B, GetTalkbox(Number).Mode);
}
CATCH_FRAME(Number)

int32_t GetTalkboxLines(int32_t Number) try { return GetTalkbox(Number).NumberOfLines; }
CATCH_FRAME(Number)

const char* GetTalkboxLine(int32_t Number, int32_t Line) try {
    const TTalkbox& Box = GetTalkbox(Number);
    CHECK(In(Line, 0, Box.NumberOfLines - 1), Line);
    return Box.Lines[Line];
}
CATCH_FRAME(Number, Line)

void WrapTalkboxText(TTalkbox& Box, const char* Text) {
    const char* Rest = Text;
    while (Box.NumberOfLines < TALKBOX_LINES && *Rest != 0) {
        int32_t Break = -1;
        int32_t i = 0;
        for (; i < TALKBOX_LINE_LENGTH; i++) {
            if (Rest[i] == 0 || Rest[i] == '\n') break;
            if (IsSpace(Rest[i])) Break = i;
        }
        if (i < TALKBOX_LINE_LENGTH && Rest[i] == 0) {
            AppendTalkboxLine(Box, Rest, i);
            Rest += i;
        } else if (i < TALKBOX_LINE_LENGTH) {
            AppendTalkboxLine(Box, Rest, i);
            Rest += i + 1;
        } else if (Break >= 0) {
            AppendTalkboxLine(Box, Rest, Break);
            Rest += Break + 1;
        } else {
            char Hyphenated[TALKBOX_LINE_LENGTH];
            std::memcpy(Hyphenated, Rest, TALKBOX_LINE_LENGTH - 2);
            Hyphenated[TALKBOX_LINE_LENGTH - 2] = '-';
            AppendTalkboxLine(Box, Hyphenated, TALKBOX_LINE_LENGTH - 1);
            Rest += TALKBOX_LINE_LENGTH - 2;
        }
    }
}

void AddTalkboxStatement(int32_t Mode, const char* Speaker, int32_t X, int32_t Y, int32_t Z,
                         const char* Text) {
    CHECK(Mode == TALK_SAY || Mode == TALK_WHISPER || Mode == TALK_YELL || Mode == TALK_PRIVATE_MESSAGE ||
              Mode == TALK_GAMEMASTER_BROADCAST || Mode == TALK_GAMEMASTER_MESSAGE ||
              Mode == TALK_ANIMAL_LOW || Mode == TALK_ANIMAL_LOUD,
          Mode);
    CHECK_TEXT(Speaker != nullptr, "Speaker!=NULL");
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    if (Mode == TALK_PRIVATE_MESSAGE && !GetPrivateMessages()) return;

    TTalkbox& Box = OpenTalkbox(Mode, TalkboxDuration(Text, false));
    Box.X = X;
    Box.Y = Y;
    Box.Z = Z;
    const char* Header = Mode == TALK_SAY       ? "%s says:"
                         : Mode == TALK_WHISPER ? "%s whispers:"
                         : Mode == TALK_YELL    ? "%s yells:"
                                                : "%s:";
    if (!IsAnimalMode(Mode)) {
        std::snprintf(Box.Lines[0], TALKBOX_LINE_LENGTH, Header, Speaker);
        Box.NumberOfLines = 1;
    }
    WrapTalkboxText(Box, Text);
    Box.State = 1;
    Box.RemainingTime += HoldBackTalkbox(Box);
    State.MapTextChanged = true;
}

void AddTalkboxMessage(int32_t Mode, const char* Text) {
    CHECK(Mode == TALK_INFO_MESSAGE || Mode == TALK_EVENT_MESSAGE || Mode == TALK_ADMIN_MESSAGE, Mode);
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    if (Mode == TALK_INFO_MESSAGE)
        for (int32_t Slot = 0; Slot < TALKBOXES; Slot++)
            if (State.Talkboxes[Slot].State != 0 && State.Talkboxes[Slot].Mode == TALK_INFO_MESSAGE)
                EndTalkbox(Slot);

    TTalkbox& Box = OpenTalkbox(Mode, TalkboxDuration(Text, Mode != TALK_INFO_MESSAGE));
    WrapTalkboxText(Box, Text);
    Box.State = 1;
    if (Mode != TALK_INFO_MESSAGE) Box.RemainingTime += HoldBackTalkbox(Box);
    State.MapTextChanged = true;
}

void EndTalkbox(int32_t Position) {
    CHECK(In(Position, 0, TALKBOXES - 1), Position);
    TTalkbox& Ended = State.Talkboxes[Position];
    TTalkbox* Next = nullptr;
    for (TTalkbox& Other : State.Talkboxes) {
        if (&Other == &Ended || Other.State != 2 || !SameKind(Ended, Other)) continue;
        if (Next == nullptr || Other.Sequence < Next->Sequence) Next = &Other;
    }
    if (Next != nullptr) Next->State = 1;
    Ended.State = 0;
    State.MapTextChanged = true;
}

void DeleteOldestTalkbox() {
    int32_t Oldest = -1;
    for (int32_t Slot = 0; Slot < TALKBOXES; Slot++) {
        const TTalkbox& Box = State.Talkboxes[Slot];
        if (Box.State != 0 && (Oldest < 0 || Box.Sequence < State.Talkboxes[Oldest].Sequence)) Oldest = Slot;
    }
    if (Oldest >= 0) EndTalkbox(Oldest);
}

int32_t GetFreeTalkbox() {
    for (;;) {
        for (int32_t Slot = 0; Slot < TALKBOXES; Slot++)
            if (State.Talkboxes[Slot].State == 0) return Slot;
        DeleteOldestTalkbox();
    }
}

void ProcessTalkboxes() {
    int32_t Now = GetMilliseconds();
    if (!State.AgingStarted) {
        State.AgingStarted = true;
        State.ProcessTalkboxesLastTime = Now;
    }
    int64_t Elapsed = TimeUntil(Now, State.ProcessTalkboxesLastTime);
    for (int32_t Slot = 0; Slot < TALKBOXES; Slot++) {
        TTalkbox& Box = State.Talkboxes[Slot];
        if (Box.State == 0) continue;
        int64_t Remaining = std::max<int64_t>(Box.RemainingTime - Elapsed, 0);
        Box.RemainingTime = static_cast<int32_t>(std::min<int64_t>(Remaining, INT32_MAX));
        if (Box.RemainingTime < 1) EndTalkbox(Slot);
    }
    State.ProcessTalkboxesLastTime = Now;
}

void SetStatusMessage(const char* Message, bool Permanent) {
    State.MapTextChanged = true;
    if (Message == nullptr) {
        State.StatusMessageTimer = 0;
        return;
    }
    CHECK(strlen(Message) < STATUSMESSAGE_LENGTH, strlen(Message));
    CopyString(State.StatusMessage, Message);
    State.StatusMessageTimer = Permanent ? -1 : STATUSMESSAGE_TICKS;
}

const char* GetStatusMessage() { return State.StatusMessageTimer != 0 ? State.StatusMessage : nullptr; }

void ProcessStatusMessage() {
    if (State.StatusMessageTimer <= 0) return;
    if (--State.StatusMessageTimer == 0) State.MapTextChanged = true;
}

bool GetMapTextChanged() {
    bool Changed = State.MapTextChanged;
    State.MapTextChanged = false;
    return Changed;
}

void SetMapTextChanged() { State.MapTextChanged = true; }

void ResetTalkboxes() {
    for (TTalkbox& Box : State.Talkboxes)
        Box.State = 0;
    State.NextTalkboxSequence = 0;
    SetStatusMessage(nullptr);
}
