// Test helpers of the creature, player and inventory state: checks that fail with a given text, and a fresh
// creature state with the millisecond and calendar clocks under the test's control.
#pragma once

#include "foundation/sysinc.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/EventHints.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>
#include <string>

// True when Body throws a TMyException whose text holds Text.
template <typename F> bool FailsWith(F&& Body, const char* Text) {
    return ThrownText(Body).find(Text) != std::string::npos;
}

// The status message shown, "" for none.
inline std::string StatusText() {
    const char* Message = GetStatusMessage();
    return Message != nullptr ? Message : "";
}

// The millisecond clock reads Now; the calendar clock reads Seconds.
class TCreatureTest : public ::testing::Test {
protected:
    static inline int32_t Now = 0;
    static inline int64_t Seconds = 1700000000;

    static uint32_t FakeTimer() { return GetStartTime() + static_cast<uint32_t>(Now); }
    static int64_t FakeCalendar() { return Seconds; }

    void SetUp() override {
        Now = 1000;
        Seconds = 1700000000;
        SetMillisecondTimer(FakeTimer);
        SetCalendarClock(FakeCalendar);
        ResetOptions();
        ResetEventHelps();
        SetBeatDuration(50);
        SetPlayerID(0);
        InitCreatures();
    }

    void TearDown() override {
        SetMillisecondTimer(nullptr);
        SetCalendarClock(nullptr);
    }

    // A visible, healthy creature at (X, Y, Z) in a fresh record.
    static TCreature& Place(uint32_t ID, int32_t X, int32_t Y, int32_t Z = 7, const char* Name = "Someone") {
        TCreature& Creature = *NewCreature(0, ID);
        snprintf(Creature.Name, sizeof(Creature.Name), "%s", Name);
        Creature.X = X;
        Creature.Y = Y;
        Creature.Z = Z;
        Creature.OutfitType = 128;
        Creature.HealthPercent = 100;
        Creature.Speed = 220;
        Creature.Visible = 1;
        return Creature;
    }
};
