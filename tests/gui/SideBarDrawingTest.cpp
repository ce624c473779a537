// Pixel tests of the side bar on the software engine: the column's free-area frame, the dragged panel
// over its black slot, and the frame of a framed window.
#include "graphics/graphics.h"
#include "gui/DialogWindow.h"
#include "tests/gui/SkinScreen.h"

#include <gtest/gtest.h>

namespace {

class TBackgroundPanel : public TContentWindow {
public:
    TBackgroundPanel(int32_t Kind, int32_t Height) : TContentWindow(Kind, true) {
        TComponent::setSize(176, Height);
    }
};

class SideBarDrawingTest : public ::testing::Test {
protected:
    TSource at(int32_t x, int32_t y) { return Screen.source(x, y); }
    static TSource skin(int32_t Skin, int32_t dx, int32_t dy) {
        const TSkin& S = GetSkin(Skin);
        return TSkinScreen::skinPixel(Skin, dx % S.Width, dy % S.Height);
    }

    TSkinScreen Screen;
};

TEST_F(SideBarDrawingTest, TheFreeAreaIsFramedBelowTheWindowsAndNotAtAllWhenThereIsNone) {
    TWindowColumn Column;
    Column.setSize(176, 120);
    Column.draw(SCREEN_SURFACE, 10, 20); // empty: the frame covers the whole column
    EXPECT_EQ(at(10, 20), skin(26, 0, 0));
    EXPECT_EQ(at(10 + 175, 20 + 119), skin(29, 1, 1));
    EXPECT_EQ(at(10, 20 + 50), skin(30, 0, 48));
    EXPECT_EQ(at(10 + 60, 20 + 50), skin(7, 58, 48));
    EXPECT_EQ(at(10 + 60, 20 + 119), skin(33, 58, 1));

    Column.appendChild(new TBackgroundPanel(1, 70));
    Column.rearrange(TWindowColumn::FIT, nullptr);
    Screen.clear();
    Column.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(at(0, 70), skin(26, 0, 0));         // the frame starts under the panel
    EXPECT_EQ(at(60, 100), skin(7, 58, 70 + 28)); // the tile keeps the column's phase
    EXPECT_EQ(at(0, 69), skin(7, 0, 69));

    Column.appendChild(new TBackgroundPanel(3, 50)); // exactly full
    Column.rearrange(TWindowColumn::PLACE_ONLY, nullptr);
    for (int32_t i = 0; i < Column.DrawingListLength; i++)
        EXPECT_EQ(Column.DrawingList[i].skin, 0) << i;
}

TEST_F(SideBarDrawingTest, TheDraggedPanelFloatsOverItsBlackSlotWithItsTilesInStep) {
    TWindowColumn Column;
    Column.setSize(176, 300);
    Column.appendChild(new TBackgroundPanel(1, 50));
    Column.appendChild(new TBackgroundPanel(3, 80));
    Column.rearrange(TWindowColumn::FIT, nullptr);
    Column.leftButtonDown(10, 10, 0);
    Column.mouseMove(10, 30); // the panel now covers 20 to 69
    Column.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.pixel(5, 5), 0u); // its slot
    EXPECT_EQ(Screen.pixel(170, 19), 0u);
    EXPECT_EQ(at(5, 25), skin(7, 5, 25));
    EXPECT_EQ(at(5, 60), skin(7, 5, 60)); // over the automap, which lies beneath
    EXPECT_EQ(at(5, 100), skin(7, 5, 100));
    Column.leftButtonUp(10, 30, 0);
    Screen.clear();
    Column.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(at(5, 5), skin(7, 5, 5));
}

TEST_F(SideBarDrawingTest, AFramedWindowDrawsItsFrameAndGripAndOnlyTheTitleBarWhenMinimized) {
    auto* Body = new TSideWindowBody;
    TDialogWindow Window(6, Body, true, false);
    Window.setSize(176, 119);
    Window.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(at(0, 0), skin(128, 0, 0));
    EXPECT_EQ(at(4, 0), skin(132, 0, 0));
    EXPECT_EQ(at(175, 14), skin(129, 3, 14));
    EXPECT_EQ(at(0, 50), skin(134, 0, 35));
    EXPECT_EQ(at(175, 50), skin(135, 3, 35));
    EXPECT_EQ(at(0, 118), skin(130, 0, 3));
    EXPECT_EQ(at(100, 118), skin(133, 96, 3));
    EXPECT_EQ(at(175, 118), skin(131, 3, 3));
    EXPECT_EQ(at(3, 103), skin(42, 0, 0)); // the grip over the body's corner

    Window.minimize();
    Screen.clear();
    Window.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Window.getHeight(), 19);
    EXPECT_EQ(at(0, 15), skin(130, 0, 0));
    EXPECT_EQ(at(100, 18), skin(133, 96, 3));
    EXPECT_EQ(at(3, 19), (TSource{-1, -1}));
}

} // namespace
