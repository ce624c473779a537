// The skills window: heights from the shown bars, values from the player's data, bars drawn and hovered,
// and the menu request.
#include "screen/ContentWindowsSkills.h"
#include "tests/foundation/Thrown.h"
#include "tests/screen/SideWindowFixture.h"

namespace {

class SkillsWindowTest : public SideWindowTest {
protected:
    static void AllBars(bool Shown) {
        SetLevelBar(Shown);
        SetMagLevelBar(Shown);
        for (int32_t Skill = 0; Skill < 7; Skill++)
            SetSkillBar(Skill, Shown);
    }
};

TEST_F(SkillsWindowTest, HeightsFollowTheShownBars) {
    AllBars(true);
    SetExperience(100, 2, 50);
    SetMagicLevel(1, 20);
    TSkillsWindow& Body = open<TSkillsWindow>(CreateSkillsWindow);
    EXPECT_EQ(Body.getContentHeight(), 15 * 14 + 9 * 9);
    EXPECT_EQ(Body.getMaximumHeight(), 311);
    EXPECT_EQ(Body.getHeight(), 311);
    EXPECT_EQ(Window->getHeight(), GetDialogWindowBorderHeight() + 311);
    Window->setSize(176, 1000); // never taller than the whole list
    EXPECT_EQ(Body.getHeight(), 311);

    // Hiding the bars keeps the window's height; the scroll range follows the content.
    AllBars(false);
    Body.arrangeBars();
    EXPECT_EQ(Body.getContentHeight(), 210);
    EXPECT_EQ(Body.getMaximumHeight(), 230);
    EXPECT_EQ(Body.getHeight(), 311);
    EXPECT_EQ(Body.ScrollBox->getBar()->_Max, 0);
}

TEST_F(SkillsWindowTest, ARememberedHeightWinsAndTheScrollBarReachesTheRest) {
    AllBars(true);
    SetContentWindow(SKILLS_WINDOW, 120);
    TSkillsWindow& Body = open<TSkillsWindow>(CreateSkillsWindow);
    EXPECT_EQ(Body.getHeight(), 120);
    EXPECT_EQ(Body.ScrollBox->getBar()->_Max, 291 - 100);
    Window.reset();
    EXPECT_EQ(GetContentWindow(SKILLS_WINDOW), 120);
}

TEST_F(SkillsWindowTest, BarsFollowTheOptionsPerLine) {
    SetSkill(2, 55, 73);
    SetSkillBar(2, true);
    SetSkillBar(3, false);
    SetLevelBar(true);
    SetExperience(10, 1, -1); // no level percent: no bar even with the option on
    TSkillsWindow Body;
    char Text[32];
    int32_t Value, Progress;
    EXPECT_TRUE(Body.getLine(11, Text, Value, Progress));
    EXPECT_STREQ(Text, "Sword Fighting");
    EXPECT_EQ(Progress, 73);
    Body.getLine(12, Text, Value, Progress);
    EXPECT_EQ(Progress, -1);
    Body.getLine(2, Text, Value, Progress);
    EXPECT_EQ(Progress, -1);
    EXPECT_FALSE(Body.getLine(8, Text, Value, Progress));
    EXPECT_NE(ThrownText([&] { Body.getLine(16, Text, Value, Progress); }).find("In(NumberOfLine,1,Lines)"),
              std::string::npos);
}

TEST_F(SkillsWindowTest, LevelBarFrameAndFilling) {
    AllBars(false);
    SetLevelBar(true);
    SetExperience(100, 3, 0);
    TSkillsWindow& Body = open<TSkillsWindow>(CreateSkillsWindow);
    const int32_t W = Body.getWidth() - 20 - Body.ScrollBox->getWidth();
    const int32_t BarY = 10 + 14 + 12; // level line below the experience line
    const uint32_t Black = shade(0, 0, 0), Red = shade(192, 0, 0);
    Screen.clear();
    Body.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.pixel(10, BarY), Black);
    EXPECT_EQ(Screen.pixel(10 + W - 1, BarY + 4), Black);
    EXPECT_NE(Screen.pixel(11, BarY + 1), Red); // 0 percent: no filling
    EXPECT_NE(Screen.pixel(11, BarY + 1), Black);

    SetExperience(100, 3, 100);
    Screen.clear();
    Body.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.pixel(11, BarY + 1), Red);
    EXPECT_EQ(Screen.pixel(11 + W - 3, BarY + 3), Red);
    EXPECT_EQ(Screen.pixel(11 + W - 2, BarY + 1), Black); // the frame's right edge

    Body.setMinimized();
    Screen.clear();
    Body.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.source(11, BarY + 1), (TSource{-1, -1}));
}

TEST_F(SkillsWindowTest, ToolTipOnABarOnly) {
    AllBars(false);
    SetSkillBar(0, true);
    SetSkill(0, 20, 73);
    TSkillsWindow& Body = open<TSkillsWindow>(CreateSkillsWindow);
    const int32_t FistTop = 10 + 8 * 14;
    Body.getToolTip(20, FistTop + 5);
    EXPECT_EQ(Tooltip(), "You have 27 percent to go");
    SetTooltip(nullptr);
    Body.getToolTip(20, 10 + 2 * 14 + 3); // hit points
    EXPECT_EQ(Tooltip(), "");
    Body.getToolTip(5, FistTop + 5); // in the margin
    EXPECT_EQ(Tooltip(), "");
}

TEST_F(SkillsWindowTest, RightClickAnywhereAsksForTheMenu) {
    TSkillsWindow& Body = open<TSkillsWindow>(CreateSkillsWindow);
    EXPECT_TRUE(Body.rightClick(Body.ScrollBox->X + 2, 20, 0));
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Type, MESSAGE_SKILLSMENU);
    EXPECT_EQ(Events[0].Param1, MessageParameter(&Body));
}

} // namespace
