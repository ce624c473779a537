// The input routing by action state, and the tick's tool tip and held-button repeat, on the real main window
// with a recording component over its whole area.
#include "control/Control.h"
#include "foundation/Exception.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "screen/MainWindow.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Log;

// Logs "<name>:<event> x,y[,flags]"; a release can end the modal interaction as a dialog button does.
class TRecorder : public TLeafComponent {
public:
    explicit TRecorder(std::string Name) : Name(std::move(Name)) {}
    ~TRecorder() override { Log.push_back(Name + ":deleted"); }
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override { return record("down", X, Y, Flags); }
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override {
        record("up", X, Y, Flags);
        if (EndsOnRelease) SetActionState(ACTIONSTATE_NONE);
        if (DeletesItself) {
            DeleteLater(this);
            Log.push_back(Name + ":still here");
        }
        return true;
    }
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override { return record("right", X, Y, Flags); }
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override {
        return record("scroll" + std::to_string(Kind), X, Y, 0);
    }
    void getToolTip(int32_t X, int32_t Y) override { record("tip", X, Y, 0); }
    void keyPressed(int32_t Key) override { Log.push_back(Name + ":key " + std::to_string(Key)); }
    void handleEvent(int32_t Identifier) override {
        Log.push_back(Name + ":event " + std::to_string(Identifier));
    }

    std::string Name;
    bool EndsOnRelease = false;
    bool DeletesItself = false;

private:
    bool record(const std::string& Event, int32_t X, int32_t Y, uint32_t Flags) {
        Log.push_back(Name + ":" + Event + " " + std::to_string(X) + "," + std::to_string(Y) +
                      (Flags != 0 ? std::string(",").append(std::to_string(Flags)) : ""));
        return true;
    }
};

class Input : public ::testing::Test {
protected:
    void SetUp() override {
        Log.clear();
        ResetOptions();
        ClearMessages();
        ResetShortcuts();
        SetActionState(ACTIONSTATE_NONE);
        SetHeldMouseEvent(0, 0);
        InitSkins();
        InitSkinProperties();
        InitMainWindow(800, 600, nullptr, nullptr, nullptr);
        Area = new TRecorder("area");
        GetMainWindow()->addChild(Area);
        Area->setSize(800, 600);
        TimerTick(); // the tick counter leaves 0, which stands for "no move"
    }
    void TearDown() override {
        ExitMainWindow();
        ExitSkins();
        SetActionState(ACTIONSTATE_NONE);
    }
    TRecorder* openDialog(int32_t x, int32_t y) {
        TRecorder* Dialog = new TRecorder("dialog");
        Dialog->setPosition(x, y);
        Dialog->setSize(100, 100);
        SetModalWindow(Dialog);
        SetActionState(ACTIONSTATE_DIALOG);
        return Dialog;
    }
    TRecorder* Area = nullptr;
};

using TLog = std::vector<std::string>;

} // namespace

TEST_F(Input, BothButtonsWithClassicControlActAsOneShiftClick) {
    SetClassicControl(true);
    LeftButtonDown(10, 10, 0x400);
    RightButtonDown(11, 11, 0x400);
    LeftButtonUp(20, 20, 0x400);
    RightButtonUp(30, 30, 0x400);
    EXPECT_EQ(Log, (TLog{"area:down 10,10,1024", "area:up 30,30,512"}));
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    Log.clear();
    // Right first: the left press reaches nobody.
    RightButtonDown(1, 1, 0);
    LeftButtonDown(2, 2, 0);
    RightButtonUp(3, 3, 0);
    LeftButtonUp(40, 40, 0x400);
    EXPECT_EQ(Log, (TLog{"area:up 40,40,512"}));
}

TEST_F(Input, WithoutClassicControlTheSecondButtonChangesNothing) {
    LeftButtonDown(10, 10, 0);
    RightButtonDown(11, 11, 0);
    LeftButtonUp(12, 12, 0);
    RightButtonUp(13, 13, 0);
    EXPECT_EQ(Log, (TLog{"area:down 10,10", "area:up 12,12"}));
    RightButtonDown(5, 5, 0);
    RightButtonUp(6, 6, 0);
    EXPECT_EQ(Log.back(), "area:right 6,6");
}

TEST_F(Input, ARightClickCancelsTheUseWithCursor) {
    SetActionState(ACTIONSTATE_USEWITH);
    RightButtonDown(5, 5, 0);
    RightButtonUp(5, 5, 0);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
}

TEST_F(Input, ADialogGetsRelativePositionsAndClosesWhenItsHandlerEnds) {
    TRecorder* Dialog = openDialog(100, 50);
    LeftButtonDown(110, 70, 0);
    Dialog->EndsOnRelease = true;
    LeftButtonUp(120, 80, 0);
    EXPECT_EQ(Log, (TLog{"dialog:down 10,20", "dialog:up 20,30", "dialog:deleted"}));
    EXPECT_EQ(GetModalWindow(), nullptr);
}

TEST_F(Input, AComponentThatDeletesItselfGoesAfterTheInputEvent) {
    Area->DeletesItself = true;
    LeftButtonDown(10, 10, 0);
    LeftButtonUp(10, 10, 0);
    EXPECT_EQ(Log, (TLog{"area:down 10,10", "area:up 10,10", "area:still here", "area:deleted"}));
    EXPECT_EQ(GetMainWindow()->getFirstChild(), GetMainWindow()->StartScreen);
}

TEST_F(Input, AMouseEventInADialogStateWithoutDialogIsAFailedCheck) {
    SetActionState(ACTIONSTATE_DIALOG);
    try {
        LeftButtonUp(1, 2, 0);
        FAIL();
    } catch (const TMyException& Error) {
        EXPECT_NE(Error.getText().find("ModalWindow!=NULL"), std::string::npos);
        EXPECT_NE(Error.getText().find("(x = 1) (y = 2)"), std::string::npos) << Error.getText();
    }
}

TEST_F(Input, AltF8TogglesTheFrameRateEvenOverADialog) {
    openDialog(0, 0);
    const bool Before = GetShowFramesPerSecond();
    KeyPressed(KEY_ALT | (KEY_F1 + 7));
    EXPECT_NE(GetShowFramesPerSecond(), Before);
    KeyPressed(KEY_ALT | (KEY_F1 + 7));
    EXPECT_EQ(GetShowFramesPerSecond(), Before);
    KeyPressed('x');
    EXPECT_EQ(Log, (TLog{"dialog:key 120"}));
}

TEST_F(Input, AKeyTakenByAShortcutDoesNotReachTheWindow) {
    TRecorder* Target = new TRecorder("target");
    GetMainWindow()->appendChild(Target);
    SetShortcut(0x400 | 'K', Target, 77);
    KeyPressed(KEY_CTRL | 'k');
    EXPECT_EQ(Log, (TLog{"target:event 77"}));
    RemoveShortcut(0x400 | 'K');
}

TEST_F(Input, TheWheelIsIgnoredInHelpMode) {
    SetActionState(ACTIONSTATE_HELP);
    MouseWheel(5, 5, 1);
    EXPECT_TRUE(Log.empty());
    SetActionState(ACTIONSTATE_NONE);
    MouseWheel(5, 5, 2);
    EXPECT_EQ(Log, (TLog{"area:scroll2 5,5"}));
}

TEST_F(Input, AnyKeyEndsHelpModeAndGoesOnAsUsual) {
    SetActionState(ACTIONSTATE_HELP);
    KeyPressed('q');
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
}

TEST_F(Input, TheToolTipIsAskedForTenTicksAfterTheLastMoveOnce) {
    MouseMove(30, 40);
    Log.clear();
    for (int i = 0; i < 9; i++)
        TimerTick();
    EXPECT_TRUE(Log.empty());
    TimerTick();
    EXPECT_EQ(Log, (TLog{"area:tip 30,40"}));
    TimerTick();
    EXPECT_EQ(Log.size(), 1u);
    // A key before the tenth tick cancels it.
    MouseMove(31, 41);
    KeyPressed('a');
    Log.clear();
    for (int i = 0; i < 12; i++)
        TimerTick();
    EXPECT_TRUE(Log.empty());
}

TEST_F(Input, AHeldButtonRepeatsFromTheSeventhTick) {
    MouseMove(50, 60);
    LeftButtonDown(50, 60, 0);
    Log.clear();
    for (int i = 0; i < 6; i++)
        TimerTick();
    EXPECT_TRUE(Log.empty());
    TimerTick();
    TimerTick();
    EXPECT_EQ(Log, (TLog{"area:scroll6 50,60", "area:scroll6 50,60"}));
    LeftButtonUp(50, 60, 0);
    Log.clear();
    TimerTick();
    EXPECT_TRUE(Log.empty());
}
