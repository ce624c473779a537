// The player entries and actions shared by the object, battle-list, VIP and chat-line menus.
#pragma once

#include "screen/ContextMenus.h"

#include <cstdint>

struct TCreature;

// Menu texts with a player's name: names are below 30 characters, so every text fits an entry.
struct TMenuText {
    TMenuText(const char* Format, const char* Name);
    char Text[50];
};

// "Message to %s", "Invite to private chat", "Add to VIP list", "Ignore %s" or "Unignore %s".
void AddPlayerEntries(TContextMenu& Menu, const char* Name);
// The party entry for another player's creature by the two party flags, if any.
void AddPartyEntry(TContextMenu& Menu, const TCreature& Creature);
// Fights, follows, messages, lists, party and report actions on a creature; the creature is looked up
// again for those that need it and nothing happens when it is gone. False for an event not among them.
bool HandleCreatureEvent(int32_t Event, uint32_t CreatureID);
// Event 28 with a heap copy of Name (30 bytes), when the user holds a rule-violation right.
void PostRuleViolation(const char* Name);
// Flips the ignore-list entry of Name; true when Name is ignored now.
bool ToggleIgnore(const char* Name);
[[noreturn]] void UnknownMenuEvent(int32_t Event);
