// The options store: the user's settings with their getters and setters, hotkeys, VIP notes and the message
// of the day.
#include "state/Preferences.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "state/PreferencesData.h"

#include <cstdlib>
#include <cstring>

namespace {

TOptionsData OptionsData;

int32_t FindPair(int32_t Id) {
    TOptionList<TContentWindowPair>& List = OptionsData.ContentWindow;
    for (int32_t i = 0; i < List.Count; i++)
        if (List.Items.at(i).Id == Id) return i;
    return -1;
}

int32_t CopyList(TOptionList<int32_t>& List, std::unique_ptr<int32_t[]>& Array) {
    if (List.Count == 0) return 0;
    Array = std::make_unique<int32_t[]>(List.Count);
    for (int32_t i = 0; i < List.Count; i++)
        Array[i] = List.Items.at(i);
    return List.Count;
}

TBuddy* FindBuddyRecord(uint32_t CharacterID) {
    int32_t Index = FindBuddy(CharacterID);
    return Index < 0 ? nullptr : &OptionsData.Buddies.Items.at(Index);
}

// The decimal number at the start of a text, saturated to 32 bits.
int32_t LeadingNumber(const char* Text) {
    long long Value = std::strtoll(Text, nullptr, 10);
    if (Value > INT32_MAX) return INT32_MAX;
    if (Value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(Value);
}

} // namespace

TOptionsData& Options() { return OptionsData; }

#define OPTION_ACCESSORS(Type, Name)                                                                         \
    Type Get##Name() { return OptionsData.Values.Name; }                                                     \
    void Set##Name(Type Value) { OptionsData.Values.Name = Value; }

OPTION_ACCESSORS(bool, TestServer)
OPTION_ACCESSORS(int32_t, VideoMode)
OPTION_ACCESSORS(bool, WindowsMousepointer)
OPTION_ACCESSORS(bool, LightEffects)
OPTION_ACCESSORS(bool, TextualEffects)
OPTION_ACCESSORS(int32_t, CreatureInfo)
OPTION_ACCESSORS(int32_t, ConfineFramerate)
OPTION_ACCESSORS(int32_t, Engine)
OPTION_ACCESSORS(int32_t, ConsoleHeight)
OPTION_ACCESSORS(int32_t, AutomapZoom)
OPTION_ACCESSORS(bool, BuddyHideOffline)
OPTION_ACCESSORS(bool, InfoMessages)
OPTION_ACCESSORS(bool, EventMessages)
OPTION_ACCESSORS(bool, StatusMessages)
OPTION_ACCESSORS(bool, TimeStamps)
OPTION_ACCESSORS(bool, PrivateMessages)
OPTION_ACCESSORS(bool, ClassicControl)
OPTION_ACCESSORS(bool, AutoChaseOff)
OPTION_ACCESSORS(int32_t, AttackMode)
OPTION_ACCESSORS(int32_t, ChaseMode)
OPTION_ACCESSORS(bool, SecureMode)
OPTION_ACCESSORS(bool, ShowNewHints)
OPTION_ACCESSORS(bool, LevelBar)
OPTION_ACCESSORS(bool, MagLevelBar)

#undef OPTION_ACCESSORS

const TDisplayMode* GetFullscreenMode() { return &OptionsData.Values.FullscreenMode; }
void SetFullscreenMode(const TDisplayMode& Mode) { OptionsData.Values.FullscreenMode = Mode; }

bool GetNoStretching() { return OptionsData.Values.NoStretching == 1; }
void SetNoStretching(bool Value) { OptionsData.Values.NoStretching = Value ? 1 : 0; }
void InitNoStretching(bool Value) {
    if (OptionsData.Values.NoStretching == 2) SetNoStretching(Value);
}

void GetWindowedMode(int32_t& X, int32_t& Y, int32_t& Width, int32_t& Height, bool& Maximized) {
    X = OptionsData.Values.WindowedX;
    Y = OptionsData.Values.WindowedY;
    Width = OptionsData.Values.WindowedWidth;
    Height = OptionsData.Values.WindowedHeight;
    Maximized = OptionsData.Values.WindowedMaximized;
}

void SetWindowedMode(int32_t X, int32_t Y, int32_t Width, int32_t Height, bool Maximized) {
    OptionsData.Values.WindowedX = X;
    OptionsData.Values.WindowedY = Y;
    OptionsData.Values.WindowedWidth = Width;
    OptionsData.Values.WindowedHeight = Height;
    OptionsData.Values.WindowedMaximized = Maximized;
}

void GetBuddySortmethods(int32_t Methods[3]) {
    std::memcpy(Methods, OptionsData.Values.BuddySortmethods, sizeof(OptionsData.Values.BuddySortmethods));
}
void SetBuddySortmethods(const int32_t Methods[3]) {
    std::memcpy(OptionsData.Values.BuddySortmethods, Methods, sizeof(OptionsData.Values.BuddySortmethods));
}

bool GetSkillBar(int32_t SkillNumber) {
    CHECK_TEXT(In(SkillNumber, 0, SKILLBARS - 1), "In(SkillNumber,0,SKILLS-1)", SkillNumber);
    return OptionsData.Values.SkillBars[SkillNumber];
}

void SetSkillBar(int32_t SkillNumber, bool Shown) {
    CHECK_TEXT(In(SkillNumber, 0, SKILLBARS - 1), "In(SkillNumber,0,SKILLS-1)", SkillNumber);
    OptionsData.Values.SkillBars[SkillNumber] = Shown;
}

void ClearOpenDialogs() { OptionsData.OpenDialogs.Count = 0; }

void AddOpenDialog(int32_t Identifier) {
    CHECK(Identifier >= 0, Identifier);
    OptionsData.OpenDialogs.append(Identifier);
}

int32_t GetOpenDialogs(std::unique_ptr<int32_t[]>& Array) { return CopyList(OptionsData.OpenDialogs, Array); }

void ClearOpenChannels() { OptionsData.OpenChannel.Count = 0; }

int32_t AddOpenChannel(int32_t Identifier) {
    CHECK(Identifier >= 0, Identifier);
    OptionsData.OpenChannel.append(Identifier);
    return OptionsData.OpenChannel.Count;
}

int32_t GetOpenChannels(std::unique_ptr<int32_t[]>& Array) {
    return CopyList(OptionsData.OpenChannel, Array);
}

void SetContentWindow(int32_t Id, int32_t Value) {
    int32_t Index = FindPair(Id);
    if (Index >= 0)
        OptionsData.ContentWindow.Items.at(Index).Value = Value;
    else
        OptionsData.ContentWindow.append({Id, Value});
}

int32_t GetContentWindow(int32_t Id) {
    int32_t Index = FindPair(Id);
    return Index >= 0 ? OptionsData.ContentWindow.Items.at(Index).Value : 0;
}

void AddKnownHint(int32_t Number) { OptionsData.KnownHints.append(Number); }
bool IsKnownHint(int32_t Number) { return OptionsData.KnownHints.contains(Number); }

void SetHotkey(int32_t Number, const char* Text, bool AutoSend) {
    CHECK(In(Number, 0, HOTKEYS - 1), Number);
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    CHECK(strlen(Text) < HOTKEY_LENGTH, strlen(Text));
    CopyString(OptionsData.Values.Hotkeys[Number], Text);
    OptionsData.Values.HotkeyAutoSend[Number] = AutoSend;
}

const char* GetHotkey(int32_t Number, bool& AutoSend) {
    CHECK(In(Number, 0, HOTKEYS - 1), Number);
    AutoSend = OptionsData.Values.HotkeyAutoSend[Number];
    return OptionsData.Values.Hotkeys[Number];
}

int32_t FindBuddy(uint32_t CharacterID) {
    CHECK(CharacterID != 0);
    for (int32_t i = 0; i < OptionsData.Buddies.Count; i++)
        if (OptionsData.Buddies.Items.at(i).CharacterID == CharacterID) return i;
    return -1;
}

void SetBuddy(uint32_t CharacterID, int32_t Icon, const char* Description, bool NotifyLogin) {
    CHECK(CharacterID != 0);
    CHECK_TEXT(Description != nullptr, "Description!=NULL");
    CHECK(strlen(Description) < BUDDYDESCRIPTION_LENGTH, strlen(Description));
    TBuddy Record{CharacterID, Icon, {}, NotifyLogin};
    CopyString(Record.Description, Description);
    if (TBuddy* Found = FindBuddyRecord(CharacterID))
        *Found = Record;
    else
        OptionsData.Buddies.append(Record);
}

void DeleteBuddy(uint32_t CharacterID) {
    if (TBuddy* Found = FindBuddyRecord(CharacterID)) Found->CharacterID = 0;
}

int32_t GetBuddyIconNumber(uint32_t CharacterID) {
    const TBuddy* Found = FindBuddyRecord(CharacterID);
    return Found != nullptr ? Found->Icon : 0;
}

const char* GetBuddyDescription(uint32_t CharacterID) {
    const TBuddy* Found = FindBuddyRecord(CharacterID);
    return Found != nullptr ? Found->Description : nullptr;
}

bool GetBuddyLoginNotice(uint32_t CharacterID) {
    const TBuddy* Found = FindBuddyRecord(CharacterID);
    return Found != nullptr && Found->NotifyLogin;
}

bool SetMessageOfTheDay(const char* Text) {
    CHECK_TEXT(Text != nullptr, "Text != NULL");
    const char* LineFeed = std::strchr(Text, '\n');
    if (LineFeed == nullptr) return false;
    int32_t Number = LeadingNumber(Text);
    bool Changed = Number != OptionsData.Values.LastMotD;
    OptionsData.Values.LastMotD = Number;
    size_t Length = std::strlen(LineFeed + 1);
    OptionsData.MessageOfTheDay = std::make_unique<char[]>(Length + 1);
    std::memcpy(OptionsData.MessageOfTheDay.get(), LineFeed + 1, Length + 1);
    return Changed;
}

const char* GetMessageOfTheDay() {
    return OptionsData.MessageOfTheDay ? OptionsData.MessageOfTheDay.get() : "No current information.";
}
