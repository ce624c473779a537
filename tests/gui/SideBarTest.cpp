// Layout of the side bar: stacking and the column's strategies, dragging, minimize and restore, resizing
// by the grip, closing, and the heights and windows remembered in the options.
#include "graphics/graphics.h"
#include "gui/DialogElementsViews.h"
#include "gui/DialogWindow.h"
#include "gui/SkinProperties.h"
#include "state/Preferences.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A body with a chosen minimum and maximum height.
class TTestBody : public TSideWindowBody {
public:
    explicit TTestBody(int32_t Minimum, int32_t Maximum = INT32_MAX) : Minimum(Minimum), Maximum(Maximum) {}
    int32_t getMinimumHeight() const override { return Minimum; }
    int32_t getMaximumHeight() const override { return Maximum; }

    int32_t Minimum, Maximum;
};

// A plain panel of the fixed column; with Reenter its setSize asks the column for a layout that must be
// dropped while one runs.
class TTestPanel : public TContentWindow {
public:
    TTestPanel(int32_t Kind, int32_t Height, int32_t Minimum = 10)
        : TContentWindow(Kind, true), Minimum(Minimum) {
        TComponent::setSize(176, Height);
    }
    int32_t getMinimumHeight() const override { return Minimum; }
    void setSize(int32_t W, int32_t H) override {
        TContentWindow::setSize(W, H);
        if (Reenter && getColumn() != nullptr) getColumn()->rearrange(12345, nullptr);
    }

    int32_t Minimum;
    bool Reenter = false;
};

constexpr int32_t BORDER = 19; // title bar 15 + bottom border 4

class SideBarTest : public ::testing::Test {
protected:
    SideBarTest() {
        InitSkins();
        InitSkinProperties();
        ResetOptions();
        ClearOpenDialogs();
    }
    ~SideBarTest() override {
        Column.reset();
        ExitSkins();
    }

    TWindowColumn& column(int32_t Height) {
        Column = std::make_unique<TWindowColumn>();
        Column->setSize(176, Height);
        return *Column;
    }

    // A framed window as the game screen's creators build it, opened at the bottom of the column.
    TDialogWindow* open(int32_t Kind, int32_t BodyHeight, int32_t BodyMinimum = 30) {
        auto* Window = new TDialogWindow(Kind, new TTestBody(BodyMinimum), true, false);
        Window->setSize(176, BodyHeight + BORDER);
        Window->setButton2(new TButton(0, 0, 136, 137, Window, 10, "Close this window", false));
        Window->setMinimizeButton(
            new TButton(0, 0, 138, 139, Window, 9, "Maximise or minimise window", false));
        Window->setButton4(new TSkinImage(142));
        Column->rearrange(TWindowColumn::ADD, Window);
        return Window;
    }

    TTestPanel* panel(int32_t Kind, int32_t Height) {
        auto* Panel = new TTestPanel(Kind, Height);
        Column->appendChild(Panel);
        Column->rearrange(TWindowColumn::FIT, nullptr);
        return Panel;
    }

    // "kind:y+height" of every window, top-down.
    std::string stack() const {
        std::string Text;
        for (TComponent* Child = Column->getFirstChild(); Child != nullptr; Child = Child->getNext()) {
            if (!Text.empty()) Text += " ";
            Text += std::to_string(static_cast<TContentWindow*>(Child)->Identifier) + ":" +
                    std::to_string(Child->Y) + "+" + std::to_string(Child->getHeight());
        }
        return Text;
    }

    void click(int32_t X, int32_t Y) {
        Column->leftButtonDown(X, Y, 0);
        Column->leftButtonUp(X, Y, 0);
    }

    // Drags the grip of Window by DY pixels, through the column's routing.
    void dragGrip(TDialogWindow* Window, int32_t DY) {
        const int32_t X = 8, Y = Window->Y + Window->getHeight() - 10;
        Column->leftButtonDown(X, Y, 0);
        Column->mouseMove(X, Y + DY / 2);
        Column->mouseMove(X, Y + DY);
        Column->leftButtonUp(X, Y + DY, 0);
    }

    std::unique_ptr<TWindowColumn> Column;
};

TEST_F(SideBarTest, WindowsStackTopDownAtTheColumnsWidthAndLeaveTheRestFree) {
    column(400);
    TDialogWindow* Skills = open(6, 100);
    open(7, 150);
    EXPECT_EQ(stack(), "6:0+119 7:119+169");
    EXPECT_EQ(Skills->getWidth(), 176);
    EXPECT_EQ(Skills->Body->getHeight(), 100);
    EXPECT_EQ(Column->getFreeHeight(), 112);
    EXPECT_EQ(Column->getMinimumHeight(), 288);
    EXPECT_EQ(Column->findWindow(7), Skills->getNext());
    EXPECT_TRUE(Column->hasContentWindow(6));
    EXPECT_FALSE(Column->hasContentWindow(9));
}

TEST_F(SideBarTest, OpeningInAFullColumnShrinksFromTheBottomAndClosesOnlyWhenThatIsNotEnough) {
    column(400);
    open(6, 100);
    open(7, 150);
    open(9, 150, 100); // needs 119 of the 112 free: the battle list gives 7
    EXPECT_EQ(stack(), "6:0+119 7:119+162 9:281+119");

    column(300);
    open(6, 100);
    open(7, 150, 130); // 12 left free; the battle list can give only 20
    open(9, 150, 100);
    EXPECT_EQ(stack(), "6:0+119 9:119+169");
}

TEST_F(SideBarTest, AGrowingWindowShrinksTheLowestShrinkableWindowsByNoMoreThanTheExcess) {
    column(300);
    TDialogWindow* Top = open(6, 100);
    open(7, 100);
    open(9, 40);
    ASSERT_EQ(stack(), "6:0+119 7:119+119 9:238+59");
    Top->setSize(176, 159);
    EXPECT_EQ(stack(), "6:0+159 7:159+92 9:251+49");
}

TEST_F(SideBarTest, ShrinkingGivesTheHeightToTheLastWindowUnlessItIsTheLastThatShrank) {
    column(300);
    TDialogWindow* Top = open(6, 100);
    TDialogWindow* Bottom = open(7, 100);
    Top->setSize(176, 99);
    EXPECT_EQ(stack(), "6:0+99 7:99+139");
    EXPECT_EQ(Column->getFreeHeight(), 62);
    Bottom->setSize(176, 100);
    EXPECT_EQ(stack(), "6:0+99 7:99+100");
    EXPECT_EQ(Column->getFreeHeight(), 101);
}

TEST_F(SideBarTest, TheGripResizesThroughTheRoutingAndStopsAtTheMinimum) {
    column(400);
    TDialogWindow* Top = open(6, 100);
    open(7, 100);
    dragGrip(Top, 30);
    EXPECT_EQ(stack(), "6:0+149 7:149+119");
    dragGrip(Top, -500);
    EXPECT_EQ(Top->getHeight(), BORDER + 30);
    EXPECT_EQ(Column->getCapture(), nullptr);
}

TEST_F(SideBarTest, MinimizeKeepsTheTitleAndRestoreBringsBackHeightBodyAndHandles) {
    column(300);
    TDialogWindow* Top = open(6, 100);
    TDialogWindow* Bottom = open(7, 100);
    Top->handleEvent(DIALOGWINDOW_MINIMIZE);
    EXPECT_TRUE(Top->IsMinimized);
    EXPECT_EQ(stack(), "6:0+19 7:19+119"); // no other window grows
    EXPECT_EQ(Top->MinimizeButton->_ButtonUp, 140);
    EXPECT_EQ(Top->MinimizeButton->_ButtonDown, 141);
    EXPECT_FALSE(Top->isChild(Top->Body));
    EXPECT_FALSE(Top->isChild(Top->GripHandle));
    EXPECT_FALSE(Top->isChild(Top->BorderHandle));
    EXPECT_TRUE(Top->Body->isMinimized());
    EXPECT_EQ(Top->getMinimumHeight(), BORDER);

    Bottom->setSize(176, 281); // the column is full
    Top->handleEvent(DIALOGWINDOW_MINIMIZE);
    EXPECT_EQ(stack(), "6:0+119 7:119+181");
    EXPECT_TRUE(Top->isChild(Top->Body));
    EXPECT_TRUE(Top->isChild(Top->GripHandle));
    EXPECT_TRUE(Top->isChild(Top->BorderHandle));
    EXPECT_TRUE(Top->isChild(Top->Button2));
    EXPECT_TRUE(Top->isChild(Top->MinimizeButton));
    EXPECT_FALSE(Top->Body->isMinimized());
    EXPECT_EQ(Top->MinimizeButton->_ButtonUp, 138);
    EXPECT_EQ(Top->Body->getHeight(), 100);

    EXPECT_NE(ThrownText([&] { Top->restore(); }).find("IsMinimized==true"), std::string::npos);
    Top->minimize();
    EXPECT_NE(ThrownText([&] { Top->minimize(); }).find("IsMinimized==false"), std::string::npos);
}

TEST_F(SideBarTest, TheButtonsAndADoubleClickOnTheTitleBarToggleMinimize) {
    column(400);
    TDialogWindow* Top = open(6, 100);
    open(7, 100);
    const int32_t MinimizeX = 176 - 28 + 2, ButtonY = 4;
    click(MinimizeX, ButtonY);
    EXPECT_EQ(stack(), "6:0+19 7:19+119");
    click(MinimizeX, ButtonY);
    EXPECT_EQ(stack(), "6:0+119 7:119+119");
    Column->leftDoubleClick(60, 8, 0);
    EXPECT_TRUE(Top->IsMinimized);
    Column->leftDoubleClick(60, 8, 0);
    EXPECT_FALSE(Top->IsMinimized);
}

TEST_F(SideBarTest, TheCloseButtonEndsItsOwnWindowAndTheFreedHeightStaysAtTheBottom) {
    column(400);
    open(6, 100);
    open(8, 100);
    open(7, 50);
    click(176 - 15 + 2, 119 + 4); // the trade window's close button
    EXPECT_EQ(stack(), "6:0+119 7:119+69");
    EXPECT_EQ(Column->getFreeHeight(), 212);
    EXPECT_EQ(GetContentWindow(8), 0); // the trade window remembers nothing
}

TEST_F(SideBarTest, SkillsBattleAndVipListRememberTheirBodyHeightWhenClosed) {
    column(600);
    TDialogWindow* Skills = open(6, 100);
    open(9, 80);
    open(64 + 3, 70);
    Skills->setSize(176, 200 + BORDER);
    Column->deleteChild(Skills);
    Column->deleteChild(Column->findWindow(9));
    Column->deleteChild(Column->findWindow(67));
    EXPECT_EQ(GetContentWindow(6), 200);
    EXPECT_EQ(GetContentWindow(9), 80);
    EXPECT_EQ(GetContentWindow(67), 0);

    // Minimized, the body keeps the height it had.
    TDialogWindow* Battle = open(7, 120);
    Battle->minimize();
    Column.reset();
    EXPECT_EQ(GetContentWindow(7), 120);
}

TEST_F(SideBarTest, ABodyAtItsMaximumMakesTheWindowLower) {
    column(400);
    auto* Window = new TDialogWindow(6, new TTestBody(30, 80), true, false);
    Window->setSize(176, 200);
    EXPECT_EQ(Window->getHeight(), 80 + BORDER);
    EXPECT_EQ(Window->GripHandle->Y, 80 + BORDER - 16);
    delete Window;
}

TEST_F(SideBarTest, MakingTheColumnLowerShrinksTheFirstWindowThatNoLongerFitsAndClosesTheRest) {
    column(300);
    open(6, 100);
    open(7, 100);
    open(9, 40);
    Column->setSize(176, 200);
    EXPECT_EQ(stack(), "6:0+119 7:119+81");

    column(300);
    open(6, 100);
    open(7, 100, 90); // its minimum of 109 does not fit into 81: closed; the small one behind still fits
    open(9, 40);
    Column->setSize(176, 200);
    EXPECT_EQ(stack(), "6:0+119 9:119+59");
}

TEST_F(SideBarTest, DraggingAPanelSwapsItWithTheNeighbourWhoseMiddleItPasses) {
    column(400);
    TTestPanel* First = panel(1, 50);
    panel(3, 80);
    panel(4, 60);
    Column->leftButtonDown(10, 10, 0);
    Column->mouseMove(10, 50); // its bottom at 90, short of the automap's middle at 90
    EXPECT_EQ(stack(), "1:40+50 3:50+80 4:130+60");
    Column->mouseMove(10, 51);
    EXPECT_EQ(stack(), "3:0+80 1:41+50 4:130+60");
    EXPECT_EQ(Column->DraggedWindow, First);
    Column->mouseMove(10, -500);
    EXPECT_EQ(First->Y, 0); // never above the top
    EXPECT_EQ(stack(), "1:0+50 3:50+80 4:130+60");
    Column->mouseMove(10, 5000);
    EXPECT_EQ(First->Y, 350);                       // never below the bottom
    EXPECT_EQ(stack(), "3:0+80 1:350+50 4:130+60"); // one swap per move
    Column->mouseMove(10, 5000);
    Column->leftButtonUp(10, 5000, 0);
    EXPECT_EQ(stack(), "3:0+80 4:80+60 1:140+50");
    EXPECT_EQ(Column->DraggedWindow, nullptr);
    EXPECT_FALSE(First->Dragging);
    EXPECT_EQ(Column->getCapture(), nullptr);
}

TEST_F(SideBarTest, ADragCancelledFromAboveEndsAndSnapsBack) {
    column(400);
    TTestPanel* First = panel(1, 50);
    panel(3, 80);
    Column->leftButtonDown(10, 10, 0);
    Column->mouseMove(10, 30);
    Column->cancelCapture();
    EXPECT_FALSE(First->Dragging);
    EXPECT_EQ(Column->DraggedWindow, nullptr);
    EXPECT_EQ(stack(), "1:0+50 3:50+80");
    // Deleting the dragged window forgets it too.
    Column->leftButtonDown(10, 10, 0);
    Column->mouseMove(10, 30);
    Column->deleteChild(First);
    EXPECT_EQ(Column->DraggedWindow, nullptr);
    EXPECT_EQ(stack(), "3:0+80");
}

TEST_F(SideBarTest, ALayoutAskedForDuringALayoutIsDropped) {
    column(300);
    TTestPanel* Panel = panel(1, 200);
    panel(3, 80);
    Panel->Reenter = true;
    Column->setSize(176, 150); // the panel's setSize asks for strategy 12345 inside the fit
    EXPECT_EQ(stack(), "1:0+150");
    EXPECT_FALSE(Column->Busy);
}

TEST_F(SideBarTest, UnknownStrategiesAndMissingWindowsFailAndLeaveTheColumnUsable) {
    column(300);
    std::string Text = ThrownText([&] { Column->rearrange(3, nullptr); });
    EXPECT_NE(Text.find("unknown strategy"), std::string::npos) << Text;
    EXPECT_NE(Text.find("DialogWindowColumn.cpp "), std::string::npos) << Text;
    EXPECT_NE(ThrownText([&] { Column->rearrange(4, nullptr); }).find("Work!=NULL"), std::string::npos);
    EXPECT_NE(ThrownText([&] { Column->rearrange(16, nullptr); }).find("Work!=NULL"), std::string::npos);
    TTestPanel Stranger(1, 10);
    EXPECT_NE(ThrownText([&] { Column->rearrange(1, &Stranger); }).find("Search!=NULL"), std::string::npos);
    EXPECT_FALSE(Column->Busy);
    EXPECT_TRUE(Column->RecordFreeHeight);
    open(6, 100);
    EXPECT_EQ(stack(), "6:0+119");
}

TEST_F(SideBarTest, OpenWindowsBelowTheContainerKindsAreSavedTopDown) {
    column(600);
    open(9, 50);
    open(64, 50);
    open(6, 50);
    Column->saveOpenWindows();
    std::unique_ptr<int32_t[]> Kinds;
    ASSERT_EQ(GetOpenDialogs(Kinds), 2);
    EXPECT_EQ(Kinds[0], 9);
    EXPECT_EQ(Kinds[1], 6);
}

TEST_F(SideBarTest, AHiddenUpButtonStaysOwnedAndAReplacedOneIsDeleted) {
    column(400);
    TDialogWindow* Window = open(64, 100);
    auto* Up = new TButton(0, 0, 136, 137, Window, 11, "up", false);
    Window->setButton1(Up);
    EXPECT_EQ(Up->X, 176 - 39);
    Window->hideButton();
    EXPECT_FALSE(Window->isChild(Up));
    Window->showButton();
    EXPECT_TRUE(Window->isChild(Up));
    Window->hideButton();
    Window->setButton1(new TSkinImage(142)); // the unlinked button goes too (leak check)
    EXPECT_TRUE(Window->isChild(Window->Button1));
}

} // namespace
