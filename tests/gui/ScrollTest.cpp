// Tests of the scroll bars and scroll boxes.
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsScroll.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "tests/foundation/Thrown.h"
#include "tests/gui/Probes.h"

#include <gtest/gtest.h>

namespace {

// Skin table and layout record only: bars and boxes take their sizes from them.
class ScrollTest : public ::testing::Test {
protected:
    ScrollTest() {
        InitSkins();
        InitSkinProperties();
        Place(&Root, 0, 0, 400, 300);
    }
    ~ScrollTest() override { ExitSkins(); }

    template <typename T> T* add(T* Widget) {
        Root.appendChild(Widget);
        return Widget;
    }
    void click(int32_t X, int32_t Y) {
        Root.leftButtonDown(X, Y, 0);
        Root.leftButtonUp(X, Y, 0);
    }
    // A horizontal bar at (0, 0), L pixels long, telling the root with identifier 7.
    THorizontalScrollBar* horizontal(int32_t Min, int32_t Max, int32_t Value, int32_t Page, int32_t L = 100) {
        auto* Bar = add(new THorizontalScrollBar(Min, Max, Value, Page, &Root, 7));
        Place(Bar, 0, 0, L, 12);
        return Bar;
    }
    static int32_t caps() { return GetSkin(154).Height + GetSkin(156).Height; }

    TEventLog Log;
    TProbeParent Root{Log, "root"};
};

TEST_F(ScrollTest, TheThumbFollowsTheValueAndThePage) {
    auto* Bar = add(new TVerticalScrollBar(0, 0, 12, 100, 0, 10, 10, 5));
    EXPECT_EQ(Bar->ThumbLength, 33);
    EXPECT_EQ(Bar->ThumbPosition, 67);
    Bar->setValue(5);
    EXPECT_EQ(Bar->ThumbPosition, 33);
    EXPECT_EQ(Bar->DrawingList[3].y, 33 + 33 - GetSkin(156).Height);
    Bar->setRange(0, 10, 0, 0);
    EXPECT_EQ(Bar->ThumbLength, caps());
    Bar->setRange(0, 4, 9, 3); // a value past the end is limited
    EXPECT_EQ(Bar->_Value, 4);
    EXPECT_NE(ThrownText([&] { Bar->setRange(5, 4, 4, 1); }).find("_Min<=_Max"), std::string::npos);
    EXPECT_NE(
        ThrownText([] { TVerticalScrollBar Bad(0, 0, 12, 50, 0, 5, 6, 1); }).find("In(_Value,_Min,_Max)"),
        std::string::npos);
}

TEST_F(ScrollTest, AnEmptyRangeDisablesTheBarButItStillTakesEvents) {
    auto* Bar = add(new TVerticalScrollBar(0, 0, 12, 100, 3, 3, 3, 1));
    for (int32_t i = 1; i < 4; i++)
        EXPECT_EQ(Bar->DrawingList[i].skin, 0);
    EXPECT_TRUE(Root.leftButtonDown(5, 90, 0));
    EXPECT_EQ(Root.getCapture(), nullptr);
    EXPECT_TRUE(Root.leftButtonUp(5, 90, 0));
    EXPECT_TRUE(Root.mouseScroll(5, 50, 2));
    Bar->keyPressed(KEY_DOWN);
    EXPECT_EQ(Bar->_Value, 3);
}

TEST_F(ScrollTest, TrackClicksStepAndAnnounceEvenWithoutChange) {
    THorizontalScrollBar* Bar = horizontal(0, 10, 0, 1);
    Bar->PageStepping = true;
    click(95, 5); // page 1 steps by 0
    EXPECT_EQ(Bar->_Value, 0);
    EXPECT_EQ(Log, (TEventLog{"root:event 7"}));
    Bar->PageStepping = false;
    click(95, 5);
    EXPECT_EQ(Bar->_Value, 1);
    Log.clear();
    Bar->setValue(0);
    Root.mouseScroll(50, 5, 1); // at the start: stays, still fires
    EXPECT_EQ(Bar->_Value, 0);
    Bar->setValue(10);
    Bar->keyPressed(KEY_RIGHT);
    EXPECT_EQ(Bar->_Value, 10);
    Bar->keyPressed('x'); // any key reaching an enabled bar announces
    EXPECT_EQ(Log.size(), 5u);
}

TEST_F(ScrollTest, DraggingTheThumbOwnsTheValueUntilTheRelease) {
    THorizontalScrollBar* Bar = horizontal(0, 10, 0, 5);
    Root.leftButtonDown(2, 5, 0); // on the thumb
    EXPECT_TRUE(Bar->Dragging);
    Root.mouseMove(2 + 34, 5); // (34) * 11 / 68
    EXPECT_EQ(Bar->_Value, 5);
    Bar->setValue(9);
    EXPECT_EQ(Bar->_Value, 5);
    Root.mouseMove(500, 5);
    EXPECT_EQ(Bar->_Value, 10);
    Log.clear();
    Root.leftButtonUp(500, 5, 0); // outside the bar: no step, and no announcement
    EXPECT_FALSE(Bar->Dragging);
    EXPECT_EQ(Root.getCapture(), nullptr);
    Bar->setValue(15);
    EXPECT_EQ(Bar->_Value, 10);
}

TEST_F(ScrollTest, AHeldTrackPressPagesTowardThePointer) {
    auto* Bar = add(new TVerticalScrollBar(0, 0, 12, 100, 0, 20, 0, 5));
    Bar->PageStepping = true;
    Root.leftButtonDown(5, 95, 0);
    Root.mouseScroll(5, 95, 6);
    Root.mouseScroll(5, 95, 6);
    EXPECT_EQ(Bar->_Value, 8);
    Root.leftButtonUp(5, 95, 0);
    EXPECT_EQ(Bar->_Value, 12);
    Root.mouseScroll(5, 95, 6); // released: nothing more
    EXPECT_EQ(Bar->_Value, 12);
}

TEST_F(ScrollTest, AReleaseOverTheTrackStepsWithoutAPressOnTheBar) {
    auto* Bar = add(new TVerticalScrollBar(0, 0, 12, 100, 0, 20, 0, 5));
    Root.leftButtonUp(5, 95, 0);
    EXPECT_EQ(Bar->_Value, 1);
    Root.leftButtonUp(5, 150, 0); // outside the bar
    EXPECT_EQ(Bar->_Value, 1);
}

TEST_F(ScrollTest, ABoxGrowsToItsButtonsAndLeastBar) {
    auto* Box = add(new TVerticalScrollBox(0, 0, 30, 20, 0, 5, 0, 1, 1));
    EXPECT_EQ(Box->Bar->Height, SkinProperties.VerticalScrollBar.MinimumHeight);
    EXPECT_EQ(Box->Height, Box->Bar->Height + Box->BackButton->Height + Box->ForwardButton->Height);
    EXPECT_EQ(Box->Width, SkinProperties.VerticalScrollBar.Width);
    EXPECT_EQ(Box->ForwardButton->Y, Box->Bar->Y + Box->Bar->Height);
    EXPECT_NE(ThrownText([] { TVerticalScrollBox Bad(0, 0, 12, 50, 0, 5, 0, 1, 0); }).find("_ButtonRange>0"),
              std::string::npos);
}

TEST_F(ScrollTest, ArrowsStepWheelsScrollAndHeldArrowsRepeat) {
    auto* Box = add(new TVerticalScrollBox(0, 0, 12, 100, 0, 3, 0, 1, 1));
    click(5, 2); // up at the start
    EXPECT_EQ(Box->Bar->_Value, 0);
    Root.mouseScroll(5, 2, 2); // over the up arrow
    EXPECT_EQ(Box->Bar->_Value, 1);
    const int32_t Down = Box->ForwardButton->Y + 2;
    Root.leftButtonDown(5, Down, 0);
    for (int32_t Tick = 0; Tick < 5; Tick++)
        Root.mouseScroll(5, Down, 6);
    EXPECT_EQ(Box->Bar->_Value, 3);
    Root.leftButtonUp(5, Down, 0);
    Box->keyPressed(KEY_UP);
    EXPECT_EQ(Box->Bar->_Value, 2);
}

TEST_F(ScrollTest, AHorizontalBoxAnnouncesEveryArrowStep) {
    auto* Box = add(new THorizontalScrollBox(0, 100, 50, 1, 10, &Root, 9));
    Place(Box, 0, 0, 10, 99);
    EXPECT_EQ(Box->Width, SkinProperties.HorizontalScrollBar.MinimumWidth + 24);
    EXPECT_EQ(Box->Height, SkinProperties.HorizontalScrollBar.Height);
    click(Box->ForwardButton->X + 2, 2);
    EXPECT_EQ(Box->getBar()->_Value, 60);
    EXPECT_EQ(Log, (TEventLog{"root:event 9"}));
}

} // namespace
