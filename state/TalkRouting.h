// Where received text goes in the console, whose speech is suppressed (white, VIP and ignore lists), and
// the chat model's start, reset and end.
#pragma once

#include <cstdint>
#include <memory>

// The ignore dialog's three switches; InitTalk turns the white and ignore lists on and VIPs off.
void SetWhiteListActive(bool Active);
bool GetWhiteListActive();
void SetAllowVIPs(bool Allow);
bool GetAllowVIPs();
void SetIgnoreListActive(bool Active);
bool GetIgnoreListActive();

// Names match without regard to case. Only permanent entries are kept in the options file.
void AddToWhiteList(const char* Name, bool Permanent);
bool GetWhiteListFlag(const char* Name);    // the Permanent flag of the first match; false when none
std::unique_ptr<char[]> GetWhiteListText(); // "name\n" per named entry; NULL for an empty list
void ClearWhiteList();

void AddVIPName(const char* Name);
void RemoveVIPName(const char* Name);
void ClearVIPWhiteList();

// Player entries (Mode 0 and a name) and mode entries (a talk mode, no name) share the ignore list.
void AddIgnoreEntry(int32_t Mode, const char* Name, bool Permanent);
void RemoveIgnoreEntry(int32_t Mode, const char* Name);
void AddToIgnoreList(const char* Name, bool Permanent);
void RemoveFromIgnoreList(const char* Name);
void IgnoreMode(int32_t Mode);
void UnignoreMode(int32_t Mode);
bool IsModeIgnored(int32_t Mode);
bool GetIgnoreListFlag(const char* Name);
std::unique_ptr<char[]> GetIgnoreListText();
void ClearIgnoreList();

// True when a statement of Speaker in Mode is to be dropped.
bool IsTalkFiltered(int32_t Mode, const char* Speaker, int32_t Channel);

// The console's "something was suppressed" indicator: one second after StartIgnoreTimer.
void StartIgnoreTimer();
bool IsIgnoreTimerRunning();

// Routes one received text into the console's buffers by its mode, the options and the open tabs.
void AddTalk(int32_t StatementID, const char* Text, int32_t Mode, const char* Speaker, int32_t Channel,
             int32_t TimeOffset);
// Echoes a text the player sent into the tab it was sent from.
void AddOwnPrivateMessage(const char* Speaker, const char* Text, int32_t Mode, const char* Addressee,
                          int32_t Channel);

void InitTalk();  // program start, after the options are loaded
void ClearTalk(); // program start and every game entry
void ExitTalk();  // program end
void ShowIgnoreNotice();
