// The options store: the user's settings with their getters and setters, hotkeys, VIP notes, the message
// of the day, and the options file Ebrun.cfg that keeps them between runs.
#pragma once

#include <cstdint>
#include <memory>

inline constexpr int32_t HOTKEYS = 36;
inline constexpr int32_t HOTKEY_LENGTH = 256;           // bytes, terminator included
inline constexpr int32_t BUDDYDESCRIPTION_LENGTH = 128; // bytes, terminator included
inline constexpr int32_t SKILLBARS = 7;                 // one bar per skill

// A display mode as the graphics engine lists it; the options keep the chosen full-screen mode.
struct TDisplayMode {
    int32_t Width; // 0: no full-screen mode stored
    int32_t Height;
    int32_t Depth; // bits per pixel
    int32_t Refresh;
};

// The user's own notes on one VIP; CharacterID 0 marks a free record.
struct TBuddy {
    uint32_t CharacterID;
    int32_t Icon;
    char Description[BUDDYDESCRIPTION_LENGTH];
    bool NotifyLogin;
};

bool GetTestServer();
void SetTestServer(bool Value);
int32_t GetVideoMode(); // 1 windowed, 2 full screen
void SetVideoMode(int32_t Value);
const TDisplayMode* GetFullscreenMode();
void SetFullscreenMode(const TDisplayMode& Mode);
bool GetWindowsMousepointer();
void SetWindowsMousepointer(bool Value);
bool GetLightEffects();
void SetLightEffects(bool Value);
bool GetTextualEffects();
void SetTextualEffects(bool Value);
int32_t GetCreatureInfo();
void SetCreatureInfo(int32_t Value);
bool GetNoStretching(); // true only once decided for stretching off
void SetNoStretching(bool Value);
void InitNoStretching(bool Value); // sets it only while still undecided (each graphics back end at start)
int32_t GetConfineFramerate();
void SetConfineFramerate(int32_t Value);
int32_t GetEngine(); // -1 none chosen, 0 DirectDraw, 1 OpenGL, 2 Direct3D 9
void SetEngine(int32_t Value);
void GetWindowedMode(int32_t& X, int32_t& Y, int32_t& Width, int32_t& Height, bool& Maximized);
void SetWindowedMode(int32_t X, int32_t Y, int32_t Width, int32_t Height, bool Maximized);
int32_t GetConsoleHeight();
void SetConsoleHeight(int32_t Value);
int32_t GetAutomapZoom();
void SetAutomapZoom(int32_t Value);
void GetBuddySortmethods(int32_t Methods[3]);
void SetBuddySortmethods(const int32_t Methods[3]);
bool GetBuddyHideOffline();
void SetBuddyHideOffline(bool Value);
bool GetInfoMessages();
void SetInfoMessages(bool Value);
bool GetEventMessages();
void SetEventMessages(bool Value);
bool GetStatusMessages();
void SetStatusMessages(bool Value);
bool GetTimeStamps();
void SetTimeStamps(bool Value);
bool GetPrivateMessages();
void SetPrivateMessages(bool Value);
bool GetClassicControl();
void SetClassicControl(bool Value);
bool GetAutoChaseOff();
void SetAutoChaseOff(bool Value);
int32_t GetAttackMode();
void SetAttackMode(int32_t Value);
int32_t GetChaseMode();
void SetChaseMode(int32_t Value);
bool GetSecureMode();
void SetSecureMode(bool Value);
bool GetShowNewHints();
void SetShowNewHints(bool Value);
bool GetLevelBar();
void SetLevelBar(bool Value);
bool GetMagLevelBar();
void SetMagLevelBar(bool Value);
bool GetSkillBar(int32_t SkillNumber);
void SetSkillBar(int32_t SkillNumber, bool Shown);

// Side-window identifiers that were open, open chat channels, hints already seen, window body heights.
void ClearOpenDialogs();
void AddOpenDialog(int32_t Identifier);
int32_t GetOpenDialogs(std::unique_ptr<int32_t[]>& Array); // count; Array holds a copy when not 0
void ClearOpenChannels();
int32_t AddOpenChannel(int32_t Identifier); // the new count
int32_t GetOpenChannels(std::unique_ptr<int32_t[]>& Array);
void SetContentWindow(int32_t Id, int32_t Value);
int32_t GetContentWindow(int32_t Id); // 0 when none is stored
void AddKnownHint(int32_t Number);
bool IsKnownHint(int32_t Number);

// Hotkey slots 0..HOTKEYS-1; an empty text is a slot not in use. AutoSend: sent at once on the key.
void SetHotkey(int32_t Number, const char* Text, bool AutoSend);
const char* GetHotkey(int32_t Number, bool& AutoSend);

int32_t FindBuddy(uint32_t CharacterID); // record index, -1 when none
void SetBuddy(uint32_t CharacterID, int32_t Icon, const char* Description, bool NotifyLogin);
void DeleteBuddy(uint32_t CharacterID);
int32_t GetBuddyIconNumber(uint32_t CharacterID);      // 0 when none
const char* GetBuddyDescription(uint32_t CharacterID); // NULL when none
bool GetBuddyLoginNotice(uint32_t CharacterID);

// The login server's text: a decimal number, a line feed, the message. True when the number differs from
// the one seen last; false (and nothing kept) for a text without a line feed.
bool SetMessageOfTheDay(const char* Text);
const char* GetMessageOfTheDay();

// Every option to its default; the white list and the windowed placement are left as they are.
void ResetOptions();
void LoadOptions(); // defaults, then Ebrun.cfg; a faulty file gives all defaults
void SaveOptions(); // only after LoadOptions; failures are silent
void ExitOptions(); // releases the message of the day, saves, and ends the saving until the next load
