// The options store: accessors with rules of their own, hotkeys, VIP records and the message of the day.
#include "state/Preferences.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Store : public ::testing::Test {
protected:
    void SetUp() override { ResetOptions(); }
};

} // namespace

TEST_F(Store, MessageOfTheDay) {
    EXPECT_STREQ(GetMessageOfTheDay(), "No current information.");
    EXPECT_FALSE(SetMessageOfTheDay("17 without a line feed"));
    EXPECT_STREQ(GetMessageOfTheDay(), "No current information.");
    EXPECT_TRUE(SetMessageOfTheDay("17\nWelcome"));
    EXPECT_FALSE(SetMessageOfTheDay("17\nWelcome back"));
    EXPECT_STREQ(GetMessageOfTheDay(), "Welcome back");
    // A number beyond 32 bits from the server saturates instead of overflowing.
    EXPECT_TRUE(SetMessageOfTheDay("99999999999999999999\nbig"));
    EXPECT_FALSE(SetMessageOfTheDay("2147483647\nbig"));
}

TEST_F(Store, NoStretchingIsUndecidedUntilAnEngineStarts) {
    EXPECT_FALSE(GetNoStretching());
    InitNoStretching(true);
    EXPECT_TRUE(GetNoStretching());
    InitNoStretching(false);
    EXPECT_TRUE(GetNoStretching());
    SetNoStretching(false);
    InitNoStretching(true);
    EXPECT_FALSE(GetNoStretching());
}

TEST_F(Store, ListsBeyondTheirFirstBlock) {
    std::unique_ptr<int32_t[]> Array;
    EXPECT_EQ(GetOpenDialogs(Array), 0);
    EXPECT_EQ(Array, nullptr);
    for (int32_t i = 0; i < 25; i++)
        AddOpenDialog(i * 2);
    ASSERT_EQ(GetOpenDialogs(Array), 25);
    EXPECT_EQ(Array[24], 48);
    EXPECT_EQ(ThrownFrom("Preferences.cpp", [] { AddOpenDialog(-1); }),
              "assertion failed (Identifier = -1), reason:\nIdentifier>=0");
    SetContentWindow(6, 120);
    SetContentWindow(7, 80);
    SetContentWindow(6, 200);
    EXPECT_EQ(GetContentWindow(6) + GetContentWindow(7) + GetContentWindow(8), 280);
}

TEST_F(Store, HotkeyAndSkillBarChecks) {
    std::string Longest(255, 'h'), TooLong(256, 'h');
    SetHotkey(35, Longest.c_str(), true);
    bool AutoSend = false;
    EXPECT_EQ(GetHotkey(35, AutoSend), Longest);
    EXPECT_TRUE(AutoSend);
    EXPECT_EQ(ThrownFrom("Preferences.cpp", [&] { SetHotkey(1, TooLong.c_str(), false); }),
              "assertion failed (strlen(Text) = 256), reason:\nstrlen(Text)<HOTKEY_LENGTH");
    EXPECT_EQ(ThrownFrom("Preferences.cpp", [] { SetHotkey(36, "x", false); }),
              "assertion failed (Number = 36), reason:\nIn(Number,0,HOTKEYS-1)");
    EXPECT_EQ(ThrownFrom("Preferences.cpp", [] { GetSkillBar(7); }),
              "assertion failed (SkillNumber = 7), reason:\nIn(SkillNumber,0,SKILLS-1)");
}

TEST_F(Store, BuddyRecords) {
    SetBuddy(5, 3, "friend", true);
    SetBuddy(9, 1, "other", false);
    SetBuddy(5, 4, "best friend", false);
    EXPECT_EQ(FindBuddy(9), 1);
    EXPECT_EQ(GetBuddyIconNumber(5), 4);
    EXPECT_STREQ(GetBuddyDescription(5), "best friend");
    EXPECT_FALSE(GetBuddyLoginNotice(5));
    DeleteBuddy(5);
    EXPECT_EQ(FindBuddy(5), -1);
    EXPECT_EQ(GetBuddyDescription(5), nullptr);
    EXPECT_EQ(GetBuddyIconNumber(5), 0);
    std::string TooLong(128, 'd');
    EXPECT_EQ(
        ThrownFrom("Preferences.cpp", [&] { SetBuddy(12, 0, TooLong.c_str(), false); }),
        "assertion failed (strlen(Description) = 128), reason:\nstrlen(Description)<BUDDYDESCRIPTION_LENGTH");
    EXPECT_EQ(ThrownFrom("Preferences.cpp", [] { FindBuddy(0); }),
              "assertion failed, reason:\nCharacterID!=0");
}
