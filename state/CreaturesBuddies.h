// The VIP list: up to 200 friends with their online state, kept sorted by three keys the user chooses.
// The server rebuilds it at every login; the user's notes on each VIP live in the options.
#pragma once

#include <cstdint>

inline constexpr int32_t BUDDIES = 200;

// Sort methods, primary first in the order.
enum BUDDY_SORT : int32_t {
    BUDDYSORT_NAME = 0,   // byte order of the names, case counts
    BUDDYSORT_ICON = 1,   // smaller icon first
    BUDDYSORT_STATUS = 2, // online first
};

struct TBuddyListEntry {
    uint32_t CharacterID;
    char Name[30];
    uint8_t Online;
    int32_t LoginTime; // tick counter of the last online change
    int32_t Icon;      // from the options, 0 none
};

// Checks "Name!=NULL" and "strlen(Name)<30"; updates the entry of CharacterID or appends one (a 201st fails
// "NumberOfBuddies<BUDDIES").
void AddBuddy(uint32_t CharacterID, const char* Name, bool Online);
// Nothing for an unknown ID. Coming online with the login notice set shows "%s has logged in.".
void SetBuddyOnline(uint32_t CharacterID, bool Online);
// Checks "CharacterID!=0" and "Description!=NULL"; stores the user's notes (removed when all are empty).
void EditBuddy(uint32_t CharacterID, int32_t Icon, const char* Description, bool Notify);
// Nothing for an unknown ID; else the name leaves the VIP white list (event 26) and the notes are removed.
void RemoveBuddy(uint32_t CharacterID);
// Method (0..2) becomes primary, the others keep their relative order; while offline VIPs are hidden status
// is put first again. The order is stored in the options.
void SetBuddySortOrder(int32_t Method);
void GetBuddySortOrder(int32_t Order[3]);
void HideOfflineBuddies(bool Hide);
// Entries shown: the online ones (which come first) while offline VIPs are hidden, else all.
int32_t GetNumberOfShownBuddies();
int32_t GetNumberOfBuddies();
int32_t GetNumberOfOnlineBuddies();
int32_t GetBuddyPosition(uint32_t CharacterID); // -1 when none
bool IsBuddyName(const char* Name);             // regardless of case

// Per position; each checks "In(Position,0,NumberOfBuddies-1)".
uint32_t GetBuddyID(int32_t Position);
const char* GetBuddyName(int32_t Position);
bool IsBuddyOnline(int32_t Position);
int32_t GetBuddyIcon(int32_t Position);
bool IsBuddyNewlyOnline(int32_t Position);             // came online less than 10 ticks ago
const char* GetBuddyListDescription(int32_t Position); // "" when the user wrote none
bool GetBuddyNotifyLogin(int32_t Position);

// Empties the list and takes the sort order from the options (2, 1, 0 unless they hold another order of
// the three methods); part of ResetCreatures.
void ResetBuddyList();
