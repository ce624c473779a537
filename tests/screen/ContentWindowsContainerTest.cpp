// The container windows: opening, refreshing and closing through the entry points, the grid's geometry and
// scrolling, drops, use-with, the right click, the "up" button, and the grid drawn on the software engine.
#include "screen/ContentWindowsContainer.h"

#include "graphics/graphics.h"
#include "gui/DialogElementsText.h"
#include "gui/GUIServices.h"
#include "state/Inventory.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "tests/foundation/Thrown.h"
#include "tests/screen/SideWindowBench.h"

namespace {

class ContainerWindowTest : public SideWindowBench {
protected:
    static constexpr int32_t BOX = 2, PLACE_Y = 64 + BOX;

    void SetUp() override {
        SideWindowBench::SetUp();
        Column.setSize(176, 400);
        OpenContainer(BOX, {BAG, 0, 0}, "Backpack", 20, false);
        AppendContainerObject(BOX, {PLAIN, 0, 0});
        AppendContainerObject(BOX, {STACK, 10, 0});
        AppendContainerObject(BOX, {BAG, 0, 0});
        OpenContainerWindow(Column, BOX);
        Frame = dynamic_cast<TDialogWindow*>(Column.findWindow(CONTAINER_WINDOW + BOX));
        ASSERT_NE(Frame, nullptr);
        Body = static_cast<TContainerWindow*>(Frame->Body);
        ASSERT_TRUE(nothingSent());
    }
    void TearDown() override {
        while (Column.FirstChild != nullptr)
            Column.deleteChild(Column.FirstChild);
        SideWindowBench::TearDown();
    }
    // A point inside cell Index at scroll offset 0, in body coordinates.
    static int32_t cellX(int32_t Index) { return 7 + 37 * (Index % 4) + 10; }
    static int32_t cellY(int32_t Index) { return 4 + 37 * (Index / 4) + 10; }
    void dropAt(int32_t X, int32_t Y, uint32_t Flags) {
        SetActionState(ACTIONSTATE_DRAG);
        EXPECT_TRUE(Body->leftButtonUp(X, Y, Flags));
        SetActionState(ACTIONSTATE_NONE);
    }

    TWindowColumn Column;
    TDialogWindow* Frame = nullptr;
    TContainerWindow* Body = nullptr;
};

TEST_F(ContainerWindowTest, OpensOneRowHighAndScrollsOverEveryPlace) {
    EXPECT_EQ(Body->getHeight(), 44); // one row: 7 + 37
    EXPECT_EQ(Frame->getHeight(), GetDialogWindowBorderHeight() + 44);
    EXPECT_EQ(Frame->getWidth(), 176);
    TVerticalScrollBar* Bar = Body->ScrollBox->getBar();
    EXPECT_EQ(Bar->_Max, 7 + 37 * 5 - 44);
    Body->mouseScroll(20, 20, 2);
    EXPECT_EQ(Body->getScrollOffset(), 10);
    EXPECT_EQ(Body->getIndexAt(cellX(4), cellY(4) - 10, false), 4);

    // Sent again: back to the top, same window.
    OpenContainerWindow(Column, BOX);
    EXPECT_EQ(Column.findWindow(CONTAINER_WINDOW + BOX), Frame);
    EXPECT_EQ(Body->getScrollOffset(), 0);

    // Growing stops at the full grid; shrinking is free.
    Frame->setSize(176, 380);
    EXPECT_EQ(Body->getHeight(), 7 + 37 * 5);
    Frame->setSize(176, GetDialogWindowBorderHeight() + 50);
    EXPECT_EQ(Body->getHeight(), 50);
}

TEST_F(ContainerWindowTest, CellsAnswerWithTheirMarginsAndNotInTheGaps) {
    EXPECT_EQ(Body->getIndexAt(3, 10, false), 0);
    EXPECT_EQ(Body->getIndexAt(7 + 34, 10, false), 0);
    EXPECT_EQ(Body->getIndexAt(42, 10, false), -1);
    EXPECT_EQ(Body->getIndexAt(cellX(5), cellY(5), false), 5);
    EXPECT_EQ(Body->getIndexAt(cellX(5), cellY(5), true), -1); // no object there
    EXPECT_EQ(Body->getIndexAt(cellX(2), cellY(2), true), 2);
    EXPECT_EQ(Body->getIndexAt(7 + 37 * 4, 10, false), -1); // a fifth column
}

TEST_F(ContainerWindowTest, DropsIntoTheContainer) {
    SetMousePressPosition(0, 0);
    SetDragSource({STACK, 10, 0}, 1, 32000, 32001, 7);
    dropAt(cellX(3), cellY(3), 0);
    EXPECT_EQ(takeEvents(), std::vector<int32_t>{13});
    int32_t x, y, z;
    GetDropPosition(&x, &y, &z);
    EXPECT_EQ((std::vector<int32_t>{x, y, z}), (std::vector<int32_t>{OFF_MAP, PLACE_Y, 3}));
    dropAt(cellX(3), cellY(3), CTRL);
    EXPECT_EQ(sent(), TWire(120).object(32000, 32001, 7, STACK, 1).place(OFF_MAP, PLACE_Y, 3).u8(10));
    dropAt(cellX(3), cellY(3), SHIFT);
    EXPECT_EQ(sent(), TWire(120).object(32000, 32001, 7, STACK, 1).place(OFF_MAP, PLACE_Y, 3).u8(1));

    // From its own cell: nothing; onto a gap: the index -1 travels as 255.
    EXPECT_TRUE(Body->leftButtonDown(cellX(0), cellY(0), 0));
    dropAt(cellX(0), cellY(0), 0);
    EXPECT_TRUE(nothingSent());
    dropAt(42, 10, 0);
    EXPECT_EQ(sent(), TWire(120).object(OFF_MAP, PLACE_Y, 0, PLAIN, 0).place(OFF_MAP, PLACE_Y, 255).u8(1));
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(ContainerWindowTest, RightClickUseWithAndTradeCursor) {
    SetClassicControl(false);
    EXPECT_TRUE(Body->rightClick(cellX(2), cellY(2), 0));
    EXPECT_EQ(takeEvents(), std::vector<int32_t>{52});
    int32_t Position, x, y, z;
    EXPECT_EQ(GetLookTarget(&Position, &x, &y, &z)->Type, BAG);
    EXPECT_EQ((std::vector<int32_t>{Position, x, y, z}), (std::vector<int32_t>{2, OFF_MAP, PLACE_Y, 2}));
    Body->rightClick(cellX(2), cellY(2), CTRL); // opens in this very window
    EXPECT_EQ(sent(), TWire(130).object(OFF_MAP, PLACE_Y, 2, BAG, 2).u8(BOX));
    EXPECT_TRUE(Body->rightClick(cellX(6), cellY(6), CTRL)); // empty cell
    Body->leftButtonUp(cellX(1), cellY(1), SHIFT);
    EXPECT_EQ(sent(), TWire(140).object(OFF_MAP, PLACE_Y, 1, STACK, 1));

    SetUseTarget({TOOL, 0, 0}, 0, OFF_MAP, 5, 0);
    SetActionState(ACTIONSTATE_USEWITH);
    Body->leftButtonUp(cellX(5), cellY(5), 0); // empty cell
    Body->leftButtonUp(cellX(1), cellY(1), 0);
    EXPECT_EQ(sent(), TWire(131).object(OFF_MAP, 5, 0, TOOL, 0).object(OFF_MAP, PLACE_Y, 1, STACK, 1));
    SetActionState(ACTIONSTATE_TRADEWITH);
    Body->leftButtonUp(cellX(1), cellY(1), 0);
    EXPECT_STREQ(GetStatusMessage(), "Select a player to trade with.");
    SetActionState(ACTIONSTATE_NONE);
    EXPECT_TRUE(nothingSent());
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(ContainerWindowTest, UpButtonAsksOnceUntilTheServerAnswers) {
    EXPECT_FALSE(Body->UpButtonShown);
    EXPECT_NE(Frame->Button1, nullptr);
    EXPECT_EQ(Frame->Button1->getParent(), nullptr);
    Body->handleEvent(CONTAINER_UP);
    EXPECT_TRUE(nothingSent());

    CloseContainer(BOX);
    OpenContainer(BOX, {BAG, 0, 0}, "Bag", 8, true);
    OpenContainerWindow(Column, BOX);
    EXPECT_TRUE(Body->UpButtonShown);
    EXPECT_EQ(Frame->Button1->getParent(), Frame);
    EXPECT_STREQ(dynamic_cast<TTextLabel*>(Frame->Button5)->getText(), "Bag"); // the title follows
    Body->handleEvent(CONTAINER_UP);
    Body->handleEvent(CONTAINER_UP);
    EXPECT_EQ(sent(), TWire(136).u8(BOX));
    EXPECT_TRUE(nothingSent());
    OpenContainerWindow(Column, BOX);
    EXPECT_TRUE(Body->UpButtonShown);
    EXPECT_EQ(Body->ScrollBox->getBar()->_Max, 7 + 37 * 2 - 44); // the window kept its height
}

TEST_F(ContainerWindowTest, ClosingSendsCloseForItsNumber) {
    CloseContainerWindow(Column, BOX);
    EXPECT_EQ(Column.findWindow(CONTAINER_WINDOW + BOX), nullptr);
    EXPECT_EQ(sent(), TWire(135).u8(BOX));
    CloseContainerWindow(Column, BOX); // none left: nothing
    EXPECT_TRUE(nothingSent());

    OpenContainerWindow(Column, BOX);
    Frame = dynamic_cast<TDialogWindow*>(Column.findWindow(CONTAINER_WINDOW + BOX));
    ASSERT_NE(Frame, nullptr);
    {
        TEventScope Scope; // as the close button's release runs
        Frame->handleEvent(DIALOGWINDOW_CLOSE);
    }
    EXPECT_EQ(Column.findWindow(CONTAINER_WINDOW + BOX), nullptr);
    EXPECT_EQ(sent(), TWire(135).u8(BOX));
    const std::string Text = ThrownText([this] { OpenContainerWindow(Column, 16); });
    EXPECT_NE(Text.find("In(Container,0,OPEN_CONTAINERS-1)"), std::string::npos) << Text;
}

TEST_F(ContainerWindowTest, GridDrawsCellsObjectsAndTheDropMarker) {
    Frame->setSize(176, GetDialogWindowBorderHeight() + 100);
    Body->mouseScroll(20, 20, 2); // 10 pixels down: row 0's top rows are cut
    const int32_t X = 10, Y = 20;
    SetMousePosition(X + cellX(3), Y + cellY(3) - 10);
    SetActionState(ACTIONSTATE_DRAG);
    Body->draw(SCREEN_SURFACE, X, Y);
    SetActionState(ACTIONSTATE_NONE);
    EXPECT_EQ(Screen.source(X + 7 + 37 * 2, Y + 0), TPanelScreen::skinPixel(125, 0, 0));
    EXPECT_EQ(Screen.source(X + 7 + 37 * 2, Y + 31), TPanelScreen::skinPixel(125, 0, 0));   // row 1
    EXPECT_EQ(Screen.source(X + 8 + 5, Y + 5), TSkinSource({-1, -1}));                      // object 0
    EXPECT_EQ(Screen.pixel(X + 7 + 37 * 3, Y + 5), TPanelScreen::rgb(255, 255, 255));       // marker
    EXPECT_EQ(Screen.pixel(X + 7 + 37 * 3 + 10, Y + 27), TPanelScreen::rgb(255, 255, 255)); // its bottom
    EXPECT_NE(Screen.pixel(X + 7 + 37 * 3 + 10, Y + 0), TPanelScreen::rgb(255, 255, 255));  // top cut away
    EXPECT_EQ(Screen.source(X + 3, Y + 3), TPanelScreen::skinPixel(7, 3, 3 + 10 % GetSkin(7).Height));
    EXPECT_TRUE(Screen.isBackground(X + Body->getWidth() - 12 - 1 + 20, Y + 3)); // beside the body

    // Once the container is closed only the background is drawn, and nothing fails.
    CloseContainer(BOX);
    Screen.clear();
    Body->draw(SCREEN_SURFACE, X, Y);
    EXPECT_EQ(Screen.source(X + 7 + 37 * 2, Y + 0),
              TPanelScreen::skinPixel(7, 7 + 37 * 2, 10 % GetSkin(7).Height));
    EXPECT_EQ(Body->getIndexAt(cellX(0), cellY(0), true), -1);
    EXPECT_TRUE(Body->rightClick(cellX(0), cellY(0), 0));
}

} // namespace
