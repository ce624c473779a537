// The frame window over SDL: events of the window system as frame-window messages, capture, timers, the
// message loop with its idle passes and the event pump served while a frame waits.
#include "platform/AppWindow.h"
#include "platform/App.h"
#include "platform/EventPump.h"
#include "platform/Window.h"
#include "tests/Wait.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using TLog = std::vector<std::string>;

class TRecorder : public TFrameMessages {
public:
    void onActivateApp(bool Active) override { add("activate" + std::to_string(Active)); }
    void onSetCursor() override { add("cursor"); }
    void onKeyDown(int32_t Key, int32_t, uint32_t Flags) override {
        add("down " + std::to_string(Key) + (Flags & KF_EXTENDED ? " ext" : ""));
    }
    void onKeyUp(int32_t Key, int32_t, uint32_t) override { add("up " + std::to_string(Key)); }
    void onChar(uint32_t Character) override { add("char " + std::to_string(Character)); }
    void onSize(int32_t Type, int32_t Width, int32_t Height) override {
        add("size " + std::to_string(Type) + " " + std::to_string(Width) + "x" + std::to_string(Height));
    }
    void onLButtonDown(int32_t x, int32_t y) override { add(point("ldown", x, y)); }
    void onLButtonDblClk(int32_t x, int32_t y) override { add(point("ldouble", x, y)); }
    void onLButtonUp(int32_t x, int32_t y) override { add(point("lup", x, y)); }
    void onRButtonDown(int32_t x, int32_t y) override { add(point("rdown", x, y)); }
    void onRButtonDblClk(int32_t x, int32_t y) override { add(point("rdouble", x, y)); }
    void onRButtonUp(int32_t x, int32_t y) override { add(point("rup", x, y)); }
    void onCaptureChanged() override { add("capturechanged"); }
    void onMouseWheel(int32_t Delta) override { add("wheel " + std::to_string(Delta)); }
    void onTimer(int32_t Identifier) override { add("timer " + std::to_string(Identifier)); }
    void onClose() override { add("close"); }
    void onDisplayChange(int32_t, int32_t) override { add("display"); }
    void onDestroy() override { add("destroy"); }

    TLog Log;

private:
    void add(const std::string& Text) { Log.push_back(Text); }
    static std::string point(const char* Name, int32_t x, int32_t y) {
        return std::string(Name) + " " + std::to_string(x) + "," + std::to_string(y);
    }
};

SDL_Event Key(Uint32 Type, SDL_Keycode Sym, Uint16 Mod) {
    SDL_Event Event{};
    Event.type = Type;
    Event.key.keysym.sym = Sym;
    Event.key.keysym.mod = Mod;
    return Event;
}

SDL_Event Button(Uint32 Type, Uint8 Which, Uint8 Clicks, int32_t x, int32_t y) {
    SDL_Event Event{};
    Event.type = Type;
    Event.button.button = Which;
    Event.button.clicks = Clicks;
    Event.button.x = x;
    Event.button.y = y;
    return Event;
}

class AppWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InitWindowSystem());
        Window = TAppWindow::create("test", 320, 240, &Receiver);
        ASSERT_NE(Window, nullptr);
        SDL_SetModState(KMOD_NONE);
        Receiver.Log.clear();
    }
    void TearDown() override {
        Window.reset();
        ExitWindowSystem();
    }
    void send(const SDL_Event& Event) { Window->handleEvent(Event); }
    TRecorder Receiver;
    std::unique_ptr<TAppWindow> Window;
};

} // namespace

TEST_F(AppWindow, CursorBlockKeysAreExtendedAndTheNumberBlockDependsOnNumLock) {
    send(Key(SDL_KEYDOWN, SDLK_HOME, 0));
    send(Key(SDL_KEYDOWN, SDLK_KP_7, 0));
    send(Key(SDL_KEYDOWN, SDLK_KP_7, KMOD_NUM));
    send(Key(SDL_KEYDOWN, SDLK_F4, 0));
    send(Key(SDL_KEYUP, SDLK_RSHIFT, 0));
    EXPECT_EQ(Receiver.Log, (TLog{"down 36 ext", "down 36", "down 103", "down 115", "up 16"}));
}

TEST_F(AppWindow, KeysThatTypeControlCharacters) {
    send(Key(SDL_KEYDOWN, SDLK_RETURN, 0));
    send(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT));
    send(Key(SDL_KEYDOWN, SDLK_c, KMOD_LCTRL));
    send(Key(SDL_KEYDOWN, SDLK_ESCAPE, 0));
    EXPECT_EQ(Receiver.Log,
              (TLog{"down 13", "char 13", "down 13", "down 67", "char 3", "down 27", "char 27"}));
}

TEST_F(AppWindow, TypedTextArrivesAsCodePointsUnlessCtrlOrAltAloneIsHeld) {
    SDL_Event Text{};
    Text.type = SDL_TEXTINPUT;
    SDL_strlcpy(Text.text.text, "a\xC3\xA9\xE2\x82\xAC", sizeof(Text.text.text));
    send(Text);
    EXPECT_EQ(Receiver.Log, (TLog{"char 97", "char 233", "char 8364"}));
    Receiver.Log.clear();
    SDL_SetModState(KMOD_LCTRL);
    send(Text);
    EXPECT_TRUE(Receiver.Log.empty());
    SDL_SetModState(static_cast<SDL_Keymod>(KMOD_LCTRL | KMOD_LALT)); // the AltGr layer
    send(Text);
    EXPECT_EQ(Receiver.Log.size(), 3u);
}

TEST_F(AppWindow, EverySecondClickIsADoubleClick) {
    send(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 5, 6));
    send(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 5, 6));
    send(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 5, 6));
    send(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 7, 8));
    send(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 7, 8));
    EXPECT_EQ(Receiver.Log, (TLog{"ldown 5,6", "ldouble 5,6", "ldown 5,6", "rup 7,8"}));
}

TEST_F(AppWindow, WheelNotchesAreWheelDeltas) {
    SDL_Event Wheel{};
    Wheel.type = SDL_MOUSEWHEEL;
    Wheel.wheel.y = -1;
    send(Wheel);
    Wheel.wheel.y = 2;
    Wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    send(Wheel);
    EXPECT_EQ(Receiver.Log, (TLog{"wheel -120", "wheel -240"}));
}

TEST_F(AppWindow, LosingTheFocusEndsTheCapture) {
    Window->setCapture();
    SDL_Event Focus{};
    Focus.type = SDL_WINDOWEVENT;
    Focus.window.windowID = SDL_GetWindowID(Window->getWindow()->getNative());
    Focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    send(Focus);
    Window->releaseCapture(); // nothing held any more
    Focus.window.event = SDL_WINDOWEVENT_CLOSE;
    send(Focus);
    EXPECT_EQ(Receiver.Log, (TLog{"capturechanged", "activate0", "close"}));
}

TEST_F(AppWindow, TimersFireWhenDueWithoutCatchingUp) {
    Window->setTimer(1, 100);
    const uint32_t Start = SDL_GetTicks();
    Window->fireTimers(Start + 50);
    EXPECT_TRUE(Receiver.Log.empty());
    Window->fireTimers(Start + 1000);
    EXPECT_EQ(Receiver.Log, (TLog{"timer 1"}));
    EXPECT_EQ(Window->timeToNextTimer(Start + 1000, 500), 100u);
    Window->killTimer(1);
    Window->fireTimers(Start + 5000);
    EXPECT_EQ(Receiver.Log.size(), 1u);
}

TEST_F(AppWindow, ADestroyedWindowGetsNothingMore) {
    Window->setTimer(1, 10);
    Window->postClose();
    Window->destroy();
    Window->deliverPosted();
    Window->fireTimers(SDL_GetTicks() + 100);
    send(Key(SDL_KEYDOWN, SDLK_a, 0));
    EXPECT_EQ(Receiver.Log, (TLog{"destroy"}));
    EXPECT_TRUE(Window->isDestroyed());
}

namespace {

// Idles a given number of times, then asks the loop to end; waits for a frame on the way.
class TIdler : public TIdleHandler {
public:
    bool onIdle(int32_t) override {
        if (++Passes == 3) {
            // Work posted by a helper thread runs while the frame waits in the idle pass.
            PostToPumpThread([this] { ServedWhileWaiting = true; });
            WaitForFrame(20);
        }
        if (Passes == 5) PostQuitMessage(7);
        return true;
    }
    int32_t Passes = 0;
    bool ServedWhileWaiting = false;
};

} // namespace

TEST_F(AppWindow, TheLoopServesThePumpWhileAFrameWaitsAndEndsWithItsCode) {
    SetMainAppWindow(Window.get());
    Window->postClose();
    TIdler Idle;
    EXPECT_EQ(RunMessageLoop(Idle), 7);
    EXPECT_EQ(Idle.Passes, 5);
    EXPECT_TRUE(Idle.ServedWhileWaiting);
    EXPECT_EQ(Receiver.Log.front(), "close");
    SetMainAppWindow(nullptr);
}

TEST_F(AppWindow, OutsideTheIdlePassAFrameWaitOnlySleeps) {
    bool Served = false;
    PostToPumpThread([&] { Served = true; });
    WaitForFrame(5);
    EXPECT_FALSE(Served);
    PumpEvents(0);
    EXPECT_TRUE(Served);
}

namespace {

// Delivers the window system's events as they come until the window tells the pointer at (x, y), for at
// most WAIT_LIMIT.
bool PointerComesTo(TAppWindow& Window, int32_t x, int32_t y) {
    const uint32_t End =
        SDL_GetTicks() +
        static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(WAIT_LIMIT).count());
    for (;;) {
        int32_t Atx = 0, Aty = 0;
        Window.getCursorPosition(Atx, Aty);
        if (Atx == x && Aty == y) return true;
        const int32_t Left = static_cast<int32_t>(End - SDL_GetTicks());
        SDL_Event Event;
        if (Left <= 0) return false;
        if (SDL_WaitEventTimeout(&Event, Left) != 0) Window.handleEvent(Event);
    }
}

} // namespace

// Runs only on an X server with xdotool (CTest starts it so under tests/isolated): injected pointer moves
// reach no raw input device, so only the window's own events know where the pointer is.
TEST_F(AppWindow, OnXThePointerFollowsInjectedMovesAndIsOutsideOnceItLeaves) {
    if (std::string(SDL_GetCurrentVideoDriver()) != "x11") GTEST_SKIP() << "needs an X server";
    Window->show(false);
    const auto MoveTo = [&](int32_t x, int32_t y) {
        Window->getWindow()->clientToScreen(x, y);
        const std::string Command = "xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y);
        return std::system(Command.c_str()) == 0;
    };
    // A system-wide query happens to be right once, the first time it is made.
    ASSERT_TRUE(MoveTo(30, 40));
    EXPECT_TRUE(PointerComesTo(*Window, 30, 40));
    ASSERT_TRUE(MoveTo(50, 60));
    EXPECT_TRUE(PointerComesTo(*Window, 50, 60));
    // Gone to the left: not kept on the window's edge, where the window's events leave it.
    ASSERT_TRUE(MoveTo(-20, 60));
    EXPECT_TRUE(PointerComesTo(*Window, -1, -1));
}
