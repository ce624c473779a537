// The event-hint queue: short hints shown once per installation when something happens for the first time,
// and the checks that queue them for meeting certain non-player characters and entering certain areas. The
// game screen offers the queued hints and shows them one by one.
#pragma once

#include <cstdint>

inline constexpr int32_t EVENTHELPS = 14; // hints are numbered 1..EVENTHELPS

// The hints by what queues them.
enum EVENT_HINT : int32_t {
    HINT_FIRST_LOGIN = 1,
    HINT_NPC_MIRABALD = 2,
    HINT_VILLAGE_CROSSROAD = 3,
    HINT_NPC_HESKETH = 4,
    HINT_TRADING_NPC = 5,
    HINT_UNDERGROUND = 6,
    HINT_FIRST_EXPERIENCE = 7,
    HINT_LEVEL_2 = 8,
    HINT_FIRST_SKILL_ADVANCE = 9,
    HINT_LEVEL_8 = 10,
    HINT_CONTINENT = 11,
    HINT_DEPOT = 12,
    HINT_MARKED_PLAYER = 13,
    HINT_LEVEL_20 = 14,
};

// Checks "In(Number,1,EVENTHELPS)". A hint not yet in the KnownHints option is added there and appended to
// the queue; a known one (also one queued but never shown) changes nothing.
void QueueEventHelp(int32_t Number);
int32_t PeekEventHelp(); // the hint at the front, 0 when the queue is empty
int32_t PopEventHelp();  // removes and returns the hint at the front, 0 when the queue is empty
int32_t GetEventHelpCount();
// Empties the queue; part of the help state's reset at start-up. KnownHints is kept.
void ResetEventHelps();

// Checks "Name!=NULL"; queues the hint of a non-player character whose name equals Name exactly (case and
// length).
void CheckNPCEventHelp(const char* Name);
// Queues the hint of every fixed area of the world that holds the field; several can be queued by one call.
void CheckPositionEventHelp(int32_t x, int32_t y, int32_t z);
