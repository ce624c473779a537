// The options store: special accessors, lists, hotkeys, VIP records and the message of the day.
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
    EXPECT_STREQ(GetMessageOfTheDay(), "Welcome");
    EXPECT_FALSE(SetMessageOfTheDay("17\nWelcome back\nsecond line"));
    EXPECT_STREQ(GetMessageOfTheDay(), "Welcome back\nsecond line");
    EXPECT_TRUE(SetMessageOfTheDay("18\n"));
    EXPECT_STREQ(GetMessageOfTheDay(), "");
    // A number beyond 32 bits from the server saturates instead of overflowing.
    EXPECT_TRUE(SetMessageOfTheDay("99999999999999999999\nbig"));
    EXPECT_FALSE(SetMessageOfTheDay("2147483647\nbig"));
    EXPECT_TRUE(SetMessageOfTheDay("news\nno number counts as 0"));
    EXPECT_NE(ThrownText([] { SetMessageOfTheDay(nullptr); }).find("Text != NULL"), std::string::npos);
}

TEST_F(Store, NoStretchingIsUndecidedUntilAnEngineStarts) {
    EXPECT_FALSE(GetNoStretching());
    InitNoStretching(true);
    EXPECT_TRUE(GetNoStretching());
    InitNoStretching(false); // decided already
    EXPECT_TRUE(GetNoStretching());
    SetNoStretching(false);
    EXPECT_FALSE(GetNoStretching());
    InitNoStretching(true);
    EXPECT_FALSE(GetNoStretching());
}

TEST_F(Store, CompoundValues) {
    SetFullscreenMode({1024, 768, 32, 60});
    const TDisplayMode* Mode = GetFullscreenMode();
    EXPECT_EQ(std::to_string(Mode->Width) + "x" + std::to_string(Mode->Height) + "x" +
                  std::to_string(Mode->Depth) + "@" + std::to_string(Mode->Refresh),
              "1024x768x32@60");
    int32_t Methods[3] = {0, 2, 1}, Back[3];
    SetBuddySortmethods(Methods);
    GetBuddySortmethods(Back);
    EXPECT_EQ(Back[0] * 100 + Back[1] * 10 + Back[2], 21);
    SetWindowedMode(-5, 7, 800, 600, true);
    int32_t X, Y, W, H;
    bool Max;
    GetWindowedMode(X, Y, W, H, Max);
    EXPECT_EQ(std::to_string(X) + "," + std::to_string(Y) + "," + std::to_string(W) + "," + std::to_string(H),
              "-5,7,800,600");
    EXPECT_TRUE(Max);
}

TEST_F(Store, SkillBars) {
    for (int32_t Skill = 0; Skill < SKILLBARS; Skill++)
        EXPECT_TRUE(GetSkillBar(Skill));
    SetSkillBar(6, false);
    EXPECT_FALSE(GetSkillBar(6));
    EXPECT_EQ(ThrownFrom("Preferences.cpp", [] { GetSkillBar(7); }),
              "assertion failed (SkillNumber = 7), reason:\nIn(SkillNumber,0,SKILLS-1)");
    EXPECT_NE(ThrownText([] { SetSkillBar(-1, true); }).find("In(SkillNumber,0,SKILLS-1)"),
              std::string::npos);
}

TEST_F(Store, OpenDialogsAndChannels) {
    std::unique_ptr<int32_t[]> Array;
    EXPECT_EQ(GetOpenDialogs(Array), 0);
    EXPECT_EQ(Array, nullptr);
    for (int32_t i = 0; i < 25; i++)
        AddOpenDialog(i * 2);
    ASSERT_EQ(GetOpenDialogs(Array), 25);
    EXPECT_EQ(Array[24], 48);
    EXPECT_EQ(ThrownFrom("Preferences.cpp", [] { AddOpenDialog(-1); }),
              "assertion failed (Identifier = -1), reason:\nIdentifier>=0");
    ClearOpenDialogs();
    EXPECT_EQ(GetOpenDialogs(Array), 0);

    EXPECT_EQ(AddOpenChannel(3), 1);
    EXPECT_EQ(AddOpenChannel(3), 2);
    ASSERT_EQ(GetOpenChannels(Array), 2);
    EXPECT_EQ(Array[0] + Array[1], 6);
    ClearOpenChannels();
    EXPECT_EQ(GetOpenChannels(Array), 0);
}

TEST_F(Store, ContentWindowsAndHints) {
    EXPECT_EQ(GetContentWindow(6), 0);
    SetContentWindow(6, 120);
    SetContentWindow(7, 80);
    SetContentWindow(6, 200);
    EXPECT_EQ(GetContentWindow(6), 200);
    EXPECT_EQ(GetContentWindow(7), 80);
    EXPECT_FALSE(IsKnownHint(3));
    AddKnownHint(3);
    AddKnownHint(3);
    EXPECT_TRUE(IsKnownHint(3));
    EXPECT_FALSE(IsKnownHint(4));
}

TEST_F(Store, Hotkeys) {
    bool AutoSend = true;
    EXPECT_STREQ(GetHotkey(0, AutoSend), "");
    EXPECT_FALSE(AutoSend);
    std::string Longest(255, 'h');
    SetHotkey(35, Longest.c_str(), true);
    EXPECT_EQ(GetHotkey(35, AutoSend), Longest);
    EXPECT_TRUE(AutoSend);
    std::string TooLong(256, 'h');
    EXPECT_EQ(ThrownFrom("Preferences.cpp", [&] { SetHotkey(1, TooLong.c_str(), false); }),
              "assertion failed (strlen(Text) = 256), reason:\nstrlen(Text)<HOTKEY_LENGTH");
    EXPECT_EQ(ThrownFrom("Preferences.cpp", [] { SetHotkey(36, "x", false); }),
              "assertion failed (Number = 36), reason:\nIn(Number,0,HOTKEYS-1)");
    EXPECT_NE(ThrownText([] { SetHotkey(1, nullptr, false); }).find("Text!=NULL"), std::string::npos);
    EXPECT_NE(ThrownText([&] { GetHotkey(-1, AutoSend); }).find("In(Number,0,HOTKEYS-1)"), std::string::npos);
}

TEST_F(Store, BuddyRecords) {
    EXPECT_EQ(FindBuddy(5), -1);
    EXPECT_EQ(GetBuddyDescription(5), nullptr);
    EXPECT_EQ(GetBuddyIconNumber(5), 0);
    EXPECT_FALSE(GetBuddyLoginNotice(5));
    SetBuddy(5, 3, "friend", true);
    SetBuddy(9, 1, "other", false);
    SetBuddy(5, 4, "best friend", false);
    EXPECT_EQ(FindBuddy(5), 0);
    EXPECT_EQ(FindBuddy(9), 1);
    EXPECT_EQ(GetBuddyIconNumber(5), 4);
    EXPECT_STREQ(GetBuddyDescription(5), "best friend");
    EXPECT_FALSE(GetBuddyLoginNotice(5));
    DeleteBuddy(5);
    EXPECT_EQ(FindBuddy(5), -1);
    EXPECT_EQ(GetBuddyDescription(5), nullptr);
    EXPECT_STREQ(GetBuddyDescription(9), "other");

    std::string Longest(127, 'd'), TooLong(128, 'd');
    SetBuddy(11, 0, Longest.c_str(), false);
    EXPECT_EQ(GetBuddyDescription(11), Longest);
    EXPECT_EQ(
        ThrownFrom("Preferences.cpp", [&] { SetBuddy(12, 0, TooLong.c_str(), false); }),
        "assertion failed (strlen(Description) = 128), reason:\nstrlen(Description)<BUDDYDESCRIPTION_LENGTH");
    EXPECT_EQ(ThrownFrom("Preferences.cpp", [] { FindBuddy(0); }),
              "assertion failed, reason:\nCharacterID!=0");
    EXPECT_NE(ThrownText([] { SetBuddy(1, 0, nullptr, false); }).find("Description!=NULL"),
              std::string::npos);
}
