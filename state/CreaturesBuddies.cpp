// The VIP list: entries, online count, sort keys and re-sorting.
#include "state/CreaturesBuddies.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// Emptied by ResetBuddyList at program start and at each game entry.
struct {
    TBuddyListEntry Entries[BUDDIES];
    int32_t NumberOfBuddies = 0;
    int32_t NumberOfOnlineBuddies = 0;
    int32_t SortOrder[3] = {BUDDYSORT_STATUS, BUDDYSORT_ICON, BUDDYSORT_NAME};
} Buddies;

TBuddyListEntry& Entry(int32_t Position) {
    CHECK_TEXT(In(Position, 0, Buddies.NumberOfBuddies - 1), "In(Position,0,NumberOfBuddies-1)", Position);
    return Buddies.Entries[Position];
}

// -1, 0 or 1 as i sorts before, with or after j under one method.
int32_t CompareBy(int32_t Method, const TBuddyListEntry& i, const TBuddyListEntry& j) {
    switch (Method) {
    case BUDDYSORT_NAME: {
        int Result = std::strcmp(i.Name, j.Name); // unsigned bytes
        return (Result > 0) - (Result < 0);
    }
    case BUDDYSORT_ICON:
        return (i.Icon > j.Icon) - (i.Icon < j.Icon);
    default:
        return (j.Online != 0) - (i.Online != 0);
    }
}

bool IsBuddyInOrder(int32_t i, int32_t j) {
    CHECK(i != j, i, j);
    CHECK_TEXT(In(i, 0, Buddies.NumberOfBuddies - 1), "In(i,0,NumberOfBuddies-1)", i);
    CHECK_TEXT(In(j, 0, Buddies.NumberOfBuddies - 1), "In(j,0,NumberOfBuddies-1)", j);
    for (int32_t Method : Buddies.SortOrder) {
        int32_t Result = CompareBy(Method, Buddies.Entries[i], Buddies.Entries[j]);
        if (Result != 0) return Result < 0;
    }
    return true;
}

void SwapBuddies(int32_t i, int32_t j) { std::swap(Buddies.Entries[i], Buddies.Entries[j]); }

void SortBuddies() {
    for (int32_t i = 0; i < Buddies.NumberOfBuddies - 1; i++)
        for (int32_t j = i + 1; j < Buddies.NumberOfBuddies; j++)
            if (!IsBuddyInOrder(i, j)) SwapBuddies(i, j);
}

// An entry moves in front of the entries equal to it under all keys.
void SortBuddy(int32_t i) {
    CHECK_TEXT(In(i, 0, Buddies.NumberOfBuddies - 1), "In(i,0,NumberOfBuddies-1)", i);
    while (i > 0 && IsBuddyInOrder(i, i - 1)) {
        SwapBuddies(i, i - 1);
        i--;
    }
    while (i < Buddies.NumberOfBuddies - 1 && !IsBuddyInOrder(i, i + 1)) {
        SwapBuddies(i, i + 1);
        i++;
    }
}

// The online count follows the entry's change.
void SetOnline(TBuddyListEntry& Buddy, bool Online) {
    if (Online && !Buddy.Online) Buddies.NumberOfOnlineBuddies++;
    if (!Online && Buddy.Online) Buddies.NumberOfOnlineBuddies--;
    Buddy.Online = Online ? 1 : 0;
}

// Method becomes primary; the others keep their relative order.
void MakePrimary(int32_t Method) {
    int32_t Position = 0;
    while (Position < 2 && Buddies.SortOrder[Position] != Method)
        Position++;
    for (; Position > 0; Position--)
        Buddies.SortOrder[Position] = Buddies.SortOrder[Position - 1];
    Buddies.SortOrder[0] = Method;
}

bool IsSortOrder(const int32_t Order[3]) {
    bool Seen[3] = {};
    for (int32_t i = 0; i < 3; i++) {
        if (!In(Order[i], 0, 2) || Seen[Order[i]]) return false;
        Seen[Order[i]] = true;
    }
    return true;
}

} // namespace

void AddBuddy(uint32_t CharacterID, const char* Name, bool Online) try {
    CHECK_TEXT(Name != nullptr, "Name!=NULL");
    CHECK(strlen(Name) < 30, strlen(Name));
    int32_t Icon = GetBuddyIconNumber(CharacterID);
    int32_t Position = GetBuddyPosition(CharacterID);
    if (Position >= 0) {
        CHECK(Buddies.NumberOfBuddies <= BUDDIES, Buddies.NumberOfBuddies);
    } else {
        CHECK(Buddies.NumberOfBuddies < BUDDIES, Buddies.NumberOfBuddies);
        Position = Buddies.NumberOfBuddies++;
        Buddies.Entries[Position] = TBuddyListEntry{};
    }
    TBuddyListEntry& Buddy = Buddies.Entries[Position];
    Buddy.CharacterID = CharacterID;
    CopyString(Buddy.Name, Name);
    SetOnline(Buddy, Online);
    Buddy.LoginTime = 0;
    Buddy.Icon = Icon;
    SortBuddy(Position);
}
CATCH_FRAME(CharacterID)

void SetBuddyOnline(uint32_t CharacterID, bool Online) try {
    int32_t Position = GetBuddyPosition(CharacterID);
    if (Position < 0) return;
    TBuddyListEntry& Buddy = Buddies.Entries[Position];
    SetOnline(Buddy, Online);
    Buddy.LoginTime = GetTickCounter();
    if (Online && GetBuddyLoginNotice(CharacterID)) {
        char Message[64];
        std::snprintf(Message, sizeof(Message), "%s has logged in.", Buddy.Name);
        SetStatusMessage(Message);
    }
    SortBuddy(Position);
}
CATCH_FRAME(CharacterID)

void EditBuddy(uint32_t CharacterID, int32_t Icon, const char* Description, bool Notify) try {
    CHECK_TEXT(CharacterID != 0, "CharacterID!=0");
    CHECK_TEXT(Description != nullptr, "Description!=NULL");
    if (Icon == 0 && Description[0] == 0 && !Notify)
        DeleteBuddy(CharacterID);
    else
        SetBuddy(CharacterID, Icon, Description, Notify);
    int32_t Position = GetBuddyPosition(CharacterID);
    if (Position < 0) return;
    Buddies.Entries[Position].Icon = Icon;
    SortBuddy(Position);
}
CATCH_FRAME(CharacterID, Icon)

void RemoveBuddy(uint32_t CharacterID) try {
    int32_t Position = GetBuddyPosition(CharacterID);
    if (Position < 0) return;
    TBuddyListEntry& Buddy = Buddies.Entries[Position];
    AddMessage(MESSAGE_REMOVEVIPNAME, MessageParameter(NewMessageText(Buddy.Name)), 0);
    SetOnline(Buddy, false);
    for (int32_t i = Position; i < Buddies.NumberOfBuddies - 1; i++)
        Buddies.Entries[i] = Buddies.Entries[i + 1];
    Buddies.NumberOfBuddies--;
    DeleteBuddy(CharacterID);
}
CATCH_FRAME(CharacterID)

void SetBuddySortOrder(int32_t Method) try {
    CHECK(In(Method, 0, 2), Method);
    if (Buddies.SortOrder[0] == Method) return;
    MakePrimary(Method);
    if (GetBuddyHideOffline() && Method != BUDDYSORT_STATUS) MakePrimary(BUDDYSORT_STATUS);
    SortBuddies();
    SetBuddySortmethods(Buddies.SortOrder);
}
CATCH_FRAME(Method)

void GetBuddySortOrder(int32_t Order[3]) { std::memcpy(Order, Buddies.SortOrder, sizeof(Buddies.SortOrder)); }

void HideOfflineBuddies(bool Hide) {
    SetBuddyHideOffline(Hide);
    if (Hide) SetBuddySortOrder(BUDDYSORT_STATUS);
}

int32_t GetNumberOfShownBuddies() {
    return GetBuddyHideOffline() ? Buddies.NumberOfOnlineBuddies : Buddies.NumberOfBuddies;
}

int32_t GetNumberOfBuddies() { return Buddies.NumberOfBuddies; }
int32_t GetNumberOfOnlineBuddies() { return Buddies.NumberOfOnlineBuddies; }

int32_t GetBuddyPosition(uint32_t CharacterID) {
    for (int32_t i = 0; i < Buddies.NumberOfBuddies; i++)
        if (Buddies.Entries[i].CharacterID == CharacterID) return i;
    return -1;
}

bool IsBuddyName(const char* Name) {
    if (Name == nullptr) return false;
    for (int32_t i = 0; i < Buddies.NumberOfBuddies; i++)
        if (CompareNoCase(Buddies.Entries[i].Name, Name, -1) == 0) return true;
    return false;
}

uint32_t GetBuddyID(int32_t Position) { return Entry(Position).CharacterID; }
const char* GetBuddyName(int32_t Position) { return Entry(Position).Name; }
bool IsBuddyOnline(int32_t Position) { return Entry(Position).Online != 0; }

int32_t GetBuddyIcon(int32_t Position) {
    CHECK_TEXT(In(Position, 0, Buddies.NumberOfBuddies - 1), "In(Position,0,NumberOfBuddies-1) [bug0000289]",
               Position);
    return Buddies.Entries[Position].Icon;
}

bool IsBuddyNewlyOnline(int32_t Position) {
    const TBuddyListEntry& Buddy = Entry(Position);
    return Buddy.Online && int64_t{Buddy.LoginTime} > int64_t{GetTickCounter()} - 10;
}

const char* GetBuddyListDescription(int32_t Position) {
    const char* Description = GetBuddyDescription(Entry(Position).CharacterID);
    return Description != nullptr ? Description : "";
}

bool GetBuddyNotifyLogin(int32_t Position) { return GetBuddyLoginNotice(Entry(Position).CharacterID); }

void ResetBuddyList() {
    Buddies.NumberOfBuddies = 0;
    Buddies.NumberOfOnlineBuddies = 0;
    int32_t Stored[3];
    GetBuddySortmethods(Stored);
    int32_t Order[3] = {BUDDYSORT_STATUS, BUDDYSORT_ICON, BUDDYSORT_NAME};
    for (int32_t i = 0; i < 3; i++)
        if (In(Stored[i], 0, 2)) Order[i] = Stored[i];
    // A damaged options file could name a method twice; the list then keeps the default order.
    if (!IsSortOrder(Order)) {
        Order[0] = BUDDYSORT_STATUS;
        Order[1] = BUDDYSORT_ICON;
        Order[2] = BUDDYSORT_NAME;
    }
    std::memcpy(Buddies.SortOrder, Order, sizeof(Order));
}
