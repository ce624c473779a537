// The frame window's messages: key codes with their modifier bits, characters, the wheel, the buttons'
// capture, sizing below the minimum and the close request.
#include "control/Control.h"
#include "control/MainFrm.h"
#include "graphics/Engine.h"
#include "gui/SkinProperties.h"
#include "screen/MainWindow.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Calls;

std::string Point(const char* Name, int32_t x, int32_t y, uint32_t Keys) {
    return std::string(Name) + "(" + std::to_string(x) + "," + std::to_string(y) + "," +
           std::to_string(Keys) + ")";
}

// The open dialog that the controller hands the frame window's input to; logs what reaches it.
class TRecorder : public TLeafComponent {
public:
    bool leftButtonDown(int32_t x, int32_t y, uint32_t Keys) override {
        return record("LeftDown", x, y, Keys);
    }
    bool leftDoubleClick(int32_t x, int32_t y, uint32_t Keys) override {
        return record("LeftDouble", x, y, Keys);
    }
    bool leftButtonUp(int32_t x, int32_t y, uint32_t Keys) override { return record("LeftUp", x, y, Keys); }
    bool rightClick(int32_t x, int32_t y, uint32_t Keys) override { return record("Right", x, y, Keys); }
    bool mouseScroll(int32_t, int32_t, uint32_t Kind) override {
        Calls.push_back("Wheel" + std::to_string(Kind));
        return true;
    }
    void keyPressed(int32_t Key) override { Calls.push_back("Key" + std::to_string(Key)); }

private:
    static bool record(const char* Name, int32_t x, int32_t y, uint32_t Keys) {
        Calls.push_back(Point(Name, x, y, Keys));
        return true;
    }
};

// A frame window without modules in front of the controller, whose main window has a dialog open at (0, 0).
class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        Calls.clear();
        ResetOptions();
        ClearMessages();
        SetModuleTables(nullptr, 0, nullptr, 0);
        static const TModuleStart NoStarts[1] = {{"none", [] {}}};
        static const TModuleStop NoStops[1] = {{"none", [] {}, 0}};
        SetModuleTables(NoStarts, 0, NoStops, 0);
        Window = std::make_unique<CMainFrame>(false);
        InitSkins();
        InitSkinProperties();
        InitMainWindow(800, 600, nullptr, nullptr, nullptr);
        auto* Dialog = new TRecorder;
        Dialog->setSize(800, 600);
        SetModalWindow(Dialog);
        SetActionState(ACTIONSTATE_DIALOG);
    }
    void TearDown() override {
        // Drain what a test left held so that the module state starts clean next time.
        Window->onCaptureChanged();
        ExitMainWindow();
        ExitSkins();
        Window.reset();
        SetActionState(ACTIONSTATE_NONE);
        SetConnectionState(CONNECTIONSTATE_OFFLINE);
        ClearMessages();
        SetModuleTables(nullptr, 0, nullptr, 0);
    }
    // In game without a dialog, where a close request asks with the logout box.
    void closeDialogInGame() {
        DeleteModalWindow();
        SetActionState(ACTIONSTATE_NONE);
        SetConnectionState(CONNECTIONSTATE_GAME);
    }
    static bool logoutBoxAsked() {
        if (GetMessageCount() != 1) return false;
        int32_t Type = 0;
        intptr_t Param1 = 0, Param2 = 0;
        PopMessage(Type, Param1, Param2);
        FreeMessageParameters(Type, Param1, Param2);
        return Type == MESSAGE_LOGOUTBOX;
    }
    std::unique_ptr<CMainFrame> Window;
};

using TCalls = std::vector<std::string>;

} // namespace

TEST(TranslateKey, FunctionCursorAndNumberBlockKeys) {
    EXPECT_EQ(TranslateKey(VK_F1, 1, 0, 0), 256);
    EXPECT_EQ(TranslateKey(VK_F12, 1, 0, 0), 267);
    EXPECT_EQ(TranslateKey(VK_UP, 1, KF_EXTENDED, 0), 268);
    EXPECT_EQ(TranslateKey(VK_HOME, 1, KF_EXTENDED, 0), 274);
    EXPECT_EQ(TranslateKey(VK_HOME, 1, 0, 0), 280);
    EXPECT_EQ(TranslateKey(VK_END, 1, 0, 0), 278);
    EXPECT_EQ(TranslateKey(VK_PRIOR, 1, 0, 0), 281);
    EXPECT_EQ(TranslateKey(VK_NEXT, 1, KF_EXTENDED, 0), 277);
    EXPECT_EQ(TranslateKey('C', 1, 0, 0), 0);
    EXPECT_EQ(TranslateKey(VK_RETURN, 1, 0, 0), 0);
    EXPECT_EQ(TranslateKey(VK_RETURN, 1, 0, 0x800), 13);
}

TEST_F(Frame, ModifierKeysArriveAloneAndCombined) {
    Window->onKeyDown(VK_SHIFT, 1, 0);
    Window->onKeyUp(VK_SHIFT, 1, 0);
    Window->onKeyDown(VK_CONTROL, 1, 0);
    Window->onKeyDown(VK_SHIFT, 1, 0);
    EXPECT_EQ(Calls, (TCalls{"Key512", "Key1024", "Key1536"}));
    EXPECT_EQ(Window->ModifierKeys, 0x600u);
    Window->onActivateApp(false);
    EXPECT_EQ(Window->ModifierKeys, 0u);
}

TEST_F(Frame, CtrlWithALetterArrivesOnceAsTheLowerCaseLetter) {
    Window->onKeyDown(VK_CONTROL, 1, 0);
    Calls.clear();
    Window->onKeyDown('C', 1, 0); // no key code of its own
    Window->onChar(3);
    Window->onChar('1'); // typed with Ctrl: dropped
    EXPECT_EQ(Calls, (TCalls{"Key" + std::to_string(0x400 | 'c')}));
}

TEST_F(Frame, EnterCountsAsAKeyOnlyWithAlt) {
    Window->onKeyDown(VK_RETURN, 1, 0);
    Window->onChar(13);
    Window->onKeyDown(VK_MENU, 1, 0);
    Window->onKeyDown(VK_RETURN, 1, 0);
    EXPECT_EQ(Calls, (TCalls{"Key13", "Key2048", "Key" + std::to_string(0x800 | 13)}));
}

TEST_F(Frame, CharactersBeyondLatin1AreDropped) {
    Window->onChar(0xE9);
    Window->onChar(0x20AC);
    EXPECT_EQ(Calls, (TCalls{"Key233"}));
}

TEST_F(Frame, WheelStepsKeepTheirRemainder) {
    Window->onMouseWheel(-120);
    EXPECT_EQ(Calls, (TCalls{"Wheel2"}));
    Calls.clear();
    for (int i = 0; i < 3; i++)
        Window->onMouseWheel(30);
    EXPECT_TRUE(Calls.empty());
    Window->onMouseWheel(30);
    EXPECT_EQ(Calls, (TCalls{"Wheel1"}));
    Calls.clear();
    Window->onMouseWheel(60);
    EXPECT_TRUE(Calls.empty());
    Window->onMouseWheel(60);
    EXPECT_EQ(Calls, (TCalls{"Wheel1"}));
    EXPECT_EQ(GetWheelRemainder(), 0);
}

TEST_F(Frame, ButtonsOwedAtALostCaptureAreReleasedBoth) {
    Window->onLButtonDown(10, 20);
    Window->onRButtonDown(11, 21);
    Window->onLButtonUp(12, 22);
    // The right button still holds the capture; losing it delivers its release.
    Window->onCaptureChanged();
    Window->onRButtonUp(13, 23); // no longer owed
    EXPECT_EQ(Calls,
              (TCalls{Point("LeftDown", 10, 20, 0), Point("LeftUp", 12, 22, 0), Point("Right", 0, 0, 0)}));
}

TEST_F(Frame, AReleaseWithoutItsPressIsDropped) {
    Window->onLButtonUp(5, 5);
    Window->onRButtonUp(5, 5);
    EXPECT_TRUE(Calls.empty());
    Window->onRButtonDblClk(1, 2); // a double click is a second press: its release is owed
    Window->onRButtonUp(3, 4);
    EXPECT_EQ(Calls, (TCalls{Point("Right", 3, 4, 0)}));
}

TEST_F(Frame, SizingBelowTheMinimumIsRaisedToIt) {
    const auto Size = [] {
        return std::to_string(GetMainWindow()->getWidth()) + "x" +
               std::to_string(GetMainWindow()->getHeight());
    };
    Window->onSize(SIZE_RESTORED, 500, 700);
    EXPECT_EQ(Size(), "550x700");
    Window->onSize(SIZE_MINIMIZED, 0, 0);
    EXPECT_EQ(Size(), "550x700");
    Window->onSize(SIZE_MAXIMIZED, 1024, 768);
    EXPECT_EQ(Size(), "1024x768");
}

TEST_F(Frame, AltF4AndACloseRequestAreAskedUnlessForcedAndF4AloneIsAKey) {
    Window->onKeyDown(VK_F1 + 3, 1, 0);
    Window->onKeyDown(VK_MENU, 1, 0);
    closeDialogInGame();
    Window->onKeyDown(VK_F1 + 3, 1, 0);
    EXPECT_EQ(Calls, (TCalls{"Key259", "Key2048"}));
    EXPECT_TRUE(logoutBoxAsked());
    Window->onClose();
    EXPECT_TRUE(logoutBoxAsked());
    SetForceClose(true);
    Window->onClose();
    SetForceClose(false);
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(Frame, ADisplayChangeInWindowedModeReachesTheEngine) {
    SetDisplayChanged(false);
    SetVideoMode(FULLSCREEN_MODE);
    Window->onDisplayChange(800, 600);
    EXPECT_FALSE(GetDisplayChanged());
    SetVideoMode(WINDOWED_MODE);
    Window->onDisplayChange(800, 600);
    EXPECT_TRUE(GetDisplayChanged());
    SetDisplayChanged(false);
}
