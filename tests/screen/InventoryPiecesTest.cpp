// Tests of the capacity and soul labels and the bar of condition icons.
#include "screen/InventoryPieces.h"
#include "graphics/graphics.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Status.h"
#include "tests/foundation/Thrown.h"
#include "tests/screen/PanelScreen.h"

#include <gtest/gtest.h>

#include <string>

namespace {

enum : int32_t { POISONED = 1, PARALYSED = 32, HASTED = 64, FIGHT = 128 };

class InventoryPiecesTest : public ::testing::Test {
protected:
    InventoryPiecesTest() {
        ResetCreatures();
        SetPlayerState(0);
        SetTooltip(nullptr);
    }
    ~InventoryPiecesTest() override { ResetCreatures(); }

    static void giveSkull(int32_t Kind) {
        SetPlayerID(77);
        TCreature* Player = OwnCreature();
        (Player != nullptr ? Player : NewCreature(0, 77))->PKFlag = Kind;
    }
    // The first and last columns of x 0..160 with ink in rows Top..Bottom.
    std::pair<int32_t, int32_t> inkColumns(int32_t Top, int32_t Bottom) {
        std::pair<int32_t, int32_t> Found{-1, -1};
        for (int32_t x = 0; x <= 160; x++)
            for (int32_t y = Top; y <= Bottom; y++)
                if (!Screen.isBackground(x, y)) {
                    if (Found.first < 0) Found.first = x;
                    Found.second = x;
                }
        return Found;
    }

    TPanelScreen Screen;
};

TEST_F(InventoryPiecesTest, NumberIsCentredUnderItsCaption) {
    SetCapacity(400);
    TCapacityLabel Capacity;
    Capacity.draw(SCREEN_SURFACE, 100, 50);
    // Bench font 4 advances 9 pixels: "400" is 26 wide, centred on x 117 from y 61, grey.
    EXPECT_EQ(inkColumns(61, 61 + GetFontHeight(4) - 1), std::make_pair(104, 129));
    EXPECT_EQ(Screen.pixel(104, 62) >> 16, 175u); // 176 after the font's recolouring
    // "Cap:" in font 3 (8 pixels a glyph): 32 wide from y 52, white.
    EXPECT_EQ(inkColumns(52, 52), std::make_pair(101, 132));
    EXPECT_TRUE(Screen.isBackground(117, 51));

    Screen.clear();
    SetSoulPoints(7);
    TSoulLabel Soul;
    Soul.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(inkColumns(11, 11 + GetFontHeight(4) - 1), std::make_pair(13, 20));
}

TEST_F(InventoryPiecesTest, NoStateShowsOnlyTheBackground) {
    TPlayerStatesBar Bar(true);
    EXPECT_EQ(Bar.countIcons(), 0);
    for (int32_t x = -2; x < 110; x += 3)
        EXPECT_EQ(Bar.getIconAt(x, 5), -1);
    EXPECT_EQ(GetConditionIconSkin(0), 0);
    Bar.draw(SCREEN_SURFACE, 10, 10);
    EXPECT_EQ(Screen.source(12, 12), TPanelScreen::skinPixel(100, 2, 2));
    EXPECT_EQ(Screen.source(117, 22), TPanelScreen::skinPixel(100, 107, 12));
}

TEST_F(InventoryPiecesTest, IconsFollowTheDisplayOrderAndTheFirstMatchWins) {
    SetPlayerState(HASTED | POISONED);
    TPlayerStatesBar Bar(true);
    EXPECT_EQ(Bar.countIcons(), 2);
    EXPECT_EQ(GetConditionIconSkin(0), 228);
    EXPECT_EQ(GetConditionIconSkin(1), 234);
    EXPECT_EQ(GetConditionIconSkin(2), 0);
    EXPECT_EQ(Bar.getIconAt(12, 5), 0);
    EXPECT_EQ(Bar.getIconAt(13, 5), 1);
    EXPECT_EQ(Bar.getIconAt(22, 12), 1);
    EXPECT_EQ(Bar.getIconAt(22, 13), -1);
    EXPECT_EQ(Bar.getIconAt(23, 5), -1);
    Bar.getToolTip(14, 3);
    EXPECT_STREQ(GetTooltip(), "You are hasted");
    Bar.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.source(2, 2), TPanelScreen::skinPixel(228, 0, 0));
    EXPECT_EQ(Screen.source(20, 10), TPanelScreen::skinPixel(234, 8, 8));
    EXPECT_EQ(Screen.source(22, 2), TPanelScreen::skinPixel(100, 22, 2));
}

TEST_F(InventoryPiecesTest, SkullKindChoosesIconAndText) {
    giveSkull(4);
    SetPlayerState(FIGHT | PARALYSED);
    TPlayerStatesBar Bar(false);
    EXPECT_EQ(Bar.countIcons(), 3);
    EXPECT_EQ(GetConditionIconSkin(1), 239);
    EXPECT_EQ(GetConditionIconSkin(2), 235);
    Bar.getToolTip(15, 5);
    EXPECT_STREQ(GetTooltip(), "You have killed too many unmarked players");
    // A kind the server should not send shows no icon and leaves no gap in the row.
    giveSkull(9);
    EXPECT_EQ(Bar.countIcons(), 2);
    EXPECT_EQ(GetConditionIconSkin(1), 235);
}

TEST_F(InventoryPiecesTest, EveryStateFillsTheSmallBar) {
    giveSkull(1);
    SetPlayerState(255);
    TPlayerStatesBar Small(false);
    EXPECT_EQ(Small.countIcons(), 9);
    const int32_t Order[9] = {228, 229, 232, 233, 236, 235, 231, 230, 234};
    for (int32_t i = 0; i < 9; i++)
        EXPECT_EQ(GetConditionIconSkin(i), Order[i]) << i;
    Small.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.source(82, 2), TPanelScreen::skinPixel(234, 0, 0));
    EXPECT_EQ(Screen.source(93, 0), TPanelScreen::skinPixel(101, 0, 0));
    const std::string Text = ThrownText([] { GetConditionIconSkin(9); });
    EXPECT_NE(Text.find("(Position = 9) (SkinProperties.PlayerStates.NumberOfIcons = 9), reason:\n"
                        "In(Position,0,SkinProperties.PlayerStates.NumberOfIcons-1)"),
              std::string::npos)
        << Text;
}

} // namespace
