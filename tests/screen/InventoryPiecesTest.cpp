// Tests of the capacity and soul labels and the bar of condition icons.
#include "screen/InventoryPieces.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Status.h"
#include "tests/foundation/Thrown.h"
#include "tests/screen/PanelScreen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

enum : int32_t {
    POISONED = 1,
    BURNING = 2,
    ELECTRIFIED = 4,
    DRUNK = 8,
    SHIELD = 16,
    PARALYSED = 32,
    HASTED = 64,
    FIGHT = 128
};

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
        NewCreature(0, 77)->PKFlag = Kind;
    }

    // The leftmost and rightmost columns in rows Top..Bottom that are not background, or {-1, -1}.
    std::pair<int32_t, int32_t> inkColumns(int32_t Left, int32_t Right, int32_t Top, int32_t Bottom) {
        std::pair<int32_t, int32_t> Found{-1, -1};
        for (int32_t x = Left; x <= Right; x++)
            for (int32_t y = Top; y <= Bottom; y++)
                if (!Screen.isBackground(x, y)) {
                    if (Found.first < 0) Found.first = x;
                    Found.second = x;
                }
        return Found;
    }

    // A grey of Level, allowing for the rounding of the font's recolouring.
    static bool near(uint32_t Pixel, int32_t Level) {
        for (int32_t Shift : {0, 8, 16})
            if (std::abs(static_cast<int32_t>(Pixel >> Shift & 255) - Level) > 2) return false;
        return true;
    }

    TPanelScreen Screen;
};

TEST_F(InventoryPiecesTest, CapacityIsCentredUnderItsCaption) {
    SetCapacity(400);
    TCapacityLabel Label;
    Label.setSize(34, 21);
    Label.draw(SCREEN_SURFACE, 100, 50);
    // Font 4 glyphs advance 9 pixels: "400" is 26 wide, centred on x 117, in the number's colour.
    auto Number = inkColumns(80, 160, 61, 61 + GetFontHeight(4) - 1);
    EXPECT_EQ(Number.first + Number.second + 1, 2 * 117);
    EXPECT_EQ(Number.second - Number.first + 1, 26);
    EXPECT_TRUE(near(Screen.pixel(Number.first, 62), 176)) << std::hex << Screen.pixel(Number.first, 62);
    // "Cap:" in font 3 (8 pixels a glyph, no spacing): 32 wide, white, from y 52.
    EXPECT_TRUE(near(Screen.pixel(117, 52), 255)) << std::hex << Screen.pixel(117, 52);
    EXPECT_TRUE(Screen.isBackground(117, 51));
    EXPECT_TRUE(Screen.isBackground(117 - 17, 52));
    EXPECT_FALSE(Screen.isBackground(117 - 16, 52));
}

TEST_F(InventoryPiecesTest, SoulPointsUseTheSameLayout) {
    SetSoulPoints(7);
    TSoulLabel Label;
    Label.draw(SCREEN_SURFACE, 0, 0);
    auto Number = inkColumns(0, 40, 11, 11 + GetFontHeight(4) - 1);
    EXPECT_EQ(Number.first, 17 - 4);
    EXPECT_EQ(Number.second, 17 + 3);
}

TEST_F(InventoryPiecesTest, NoStateShowsOnlyTheBackground) {
    TPlayerStatesBar Bar(true);
    EXPECT_EQ(Bar.countIcons(), 0);
    for (int32_t x = -2; x < 110; x += 3)
        EXPECT_EQ(Bar.getIconAt(x, 5), -1);
    EXPECT_EQ(GetConditionIconSkin(0), 0);
    Bar.setSize(108, 13);
    Bar.draw(SCREEN_SURFACE, 10, 10);
    EXPECT_EQ(Screen.source(12, 12), TPanelScreen::skinPixel(100, 2, 2));
    EXPECT_EQ(Screen.source(117, 22), TPanelScreen::skinPixel(100, 107, 12));
    Bar.getToolTip(5, 5);
    EXPECT_EQ(GetTooltip(), nullptr);
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
    EXPECT_EQ(Bar.getIconAt(1, 5), -1);
    Bar.getToolTip(14, 3);
    EXPECT_STREQ(GetTooltip(), "You are hasted");
    Bar.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.source(2, 2), TPanelScreen::skinPixel(228, 0, 0));
    EXPECT_EQ(Screen.source(12 + 8, 2 + 8), TPanelScreen::skinPixel(234, 8, 8));
    EXPECT_EQ(Screen.source(22, 2), TPanelScreen::skinPixel(100, 22, 2));
}

TEST_F(InventoryPiecesTest, SkullKindChoosesIconAndText) {
    giveSkull(4);
    SetPlayerState(FIGHT | PARALYSED);
    TPlayerStatesBar Bar(false);
    EXPECT_EQ(Bar.countIcons(), 3);
    EXPECT_EQ(GetConditionIconSkin(0), 233);
    EXPECT_EQ(GetConditionIconSkin(1), 239);
    EXPECT_EQ(GetConditionIconSkin(2), 235);
    Bar.getToolTip(15, 5);
    EXPECT_STREQ(GetTooltip(), "You have killed too many unmarked players");
}

TEST_F(InventoryPiecesTest, SkullWithoutIconIsNotCounted) {
    giveSkull(9); // a value the server should not send: no icon, and no empty place in the row
    SetPlayerState(HASTED);
    TPlayerStatesBar Bar(true);
    EXPECT_EQ(Bar.countIcons(), 1);
    EXPECT_EQ(GetConditionIconSkin(0), 234);
}

TEST_F(InventoryPiecesTest, EveryStateFillsTheSmallBar) {
    giveSkull(1);
    SetPlayerState(255);
    TPlayerStatesBar Small(false), Large(true);
    EXPECT_EQ(Small.countIcons(), 9);
    EXPECT_EQ(Large.countIcons(), 9);
    const int32_t Order[9] = {228, 229, 232, 233, 236, 235, 231, 230, 234};
    for (int32_t i = 0; i < 9; i++)
        EXPECT_EQ(GetConditionIconSkin(i), Order[i]) << i;
    Small.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.source(82, 2), TPanelScreen::skinPixel(234, 0, 0));
    EXPECT_EQ(Screen.source(93, 0), TPanelScreen::skinPixel(101, 0, 0));
}

TEST_F(InventoryPiecesTest, PositionOutsideTheRowIsRefused) {
    const std::string Text = ThrownText([] { GetConditionIconSkin(9); });
    EXPECT_NE(Text.find("(Position = 9) (SkinProperties.PlayerStates.NumberOfIcons = 9), reason:\n"
                        "In(Position,0,SkinProperties.PlayerStates.NumberOfIcons-1)"),
              std::string::npos)
        << Text;
    EXPECT_NE(ThrownText([] { GetConditionIconSkin(-1); }).find("ContentWindows.cpp"), std::string::npos);
}

} // namespace
