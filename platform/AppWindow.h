// The frame window of the application: one window of the window system whose events arrive as the messages of
// a frame window (keys with virtual key codes, characters, buttons, capture, wheel, size, activation, close,
// timer), with cursors, placement and the pop-up style of full screen.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class TWindow;
union SDL_Event;

// Virtual key codes as the frame window receives them (the Windows values).
enum : int32_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12, // Alt
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21, // Page Up
    VK_NEXT = 0x22,  // Page Down
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_NUMPAD0 = 0x60, // number block with Num Lock on, 0x60 to 0x69
    VK_F1 = 0x70,      // F1 to F12: 0x70 to 0x7B
    VK_F12 = 0x7B,
};
// Bit of a key message's flags (bits 16 to 31 of the Windows long parameter): a key of the cursor block, not
// of the number block.
inline constexpr uint32_t KF_EXTENDED = 0x100;
// One notch of the wheel.
inline constexpr int32_t WHEEL_DELTA = 120;

// Size message kinds.
enum : int32_t { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// Cursor shapes the window can show.
enum TCursorShape : int32_t {
    CURSOR_ARROW = 0,
    CURSOR_SIZENS,
    CURSOR_WAIT,
    CURSOR_CUSTOM1, // made by the program with createCustomCursor
    CURSOR_CUSTOM2,
    CURSOR_NONE, // hidden
    CURSOR_SHAPES
};

// What a frame window is told. Positions are client-area pixels. Every call comes from the message loop's
// thread.
class TFrameMessages {
public:
    virtual ~TFrameMessages() = default;
    virtual void onActivateApp(bool Active) = 0;
    // The pointer moved over the client area: the place to set the cursor.
    virtual void onSetCursor() = 0;
    virtual void onKeyDown(int32_t VirtualKey, int32_t RepeatCount, uint32_t Flags) = 0;
    virtual void onKeyUp(int32_t VirtualKey, int32_t RepeatCount, uint32_t Flags) = 0;
    // A typed character: a Unicode code point (Latin-1 below 256), or a control character of a key (8
    // Backspace, 9 Tab, 13 Enter, 27 Escape; 1 to 26 for Ctrl with a letter).
    virtual void onChar(uint32_t Character) = 0;
    virtual void onSize(int32_t Type, int32_t Width, int32_t Height) = 0;
    virtual void onLButtonDown(int32_t x, int32_t y) = 0;
    virtual void onLButtonDblClk(int32_t x, int32_t y) = 0;
    virtual void onLButtonUp(int32_t x, int32_t y) = 0;
    virtual void onRButtonDown(int32_t x, int32_t y) = 0;
    virtual void onRButtonDblClk(int32_t x, int32_t y) = 0;
    virtual void onRButtonUp(int32_t x, int32_t y) = 0;
    // The mouse capture ended, by releaseCapture or because the window lost it.
    virtual void onCaptureChanged() = 0;
    // Delta in wheel units: WHEEL_DELTA per notch, positive away from the user.
    virtual void onMouseWheel(int32_t Delta) = 0;
    virtual void onTimer(int32_t Identifier) = 0;
    // The user (or postClose) asks the window to close; it closes only through destroy.
    virtual void onClose() = 0;
    // The display's size changed.
    virtual void onDisplayChange(int32_t Width, int32_t Height) = 0;
    // The window is being destroyed (from destroy); the last message it gets.
    virtual void onDestroy() = 0;
};

// The outer rectangle of the window (frame included) and whether it is maximized.
struct TWindowPlacement {
    int32_t x = 0, y = 0, Width = 0, Height = 0;
    bool Maximized = false;
};

class TAppWindow {
public:
    // A hidden window with the given client size; nullptr when the window system refuses (GetPlatformError).
    static std::unique_ptr<TAppWindow> create(const char* Title, int32_t Width, int32_t Height,
                                              TFrameMessages* Receiver);
    ~TAppWindow();
    TAppWindow(const TAppWindow&) = delete;
    TAppWindow& operator=(const TAppWindow&) = delete;

    // The window the graphics engines draw into.
    TWindow* getWindow() const { return Window.get(); }

    void show(bool Maximized);
    void hide();
    bool isMinimized() const;
    bool isMaximized() const;
    void getClientSize(int32_t& Width, int32_t& Height) const;
    // The frame's extra size around the client area (left + right, top + bottom), and its left and top part.
    void getFrameSize(int32_t& Width, int32_t& Height, int32_t& Left, int32_t& Top) const;
    // Outer rectangle; the normal rectangle is the last one the window had while neither maximized, minimized
    // nor a pop-up.
    TWindowPlacement getPlacement() const;
    // Moves and sizes the window by its outer rectangle; restores it from maximized first.
    void moveWindow(int32_t x, int32_t y, int32_t Width, int32_t Height);
    void setPlacement(const TWindowPlacement& Placement);
    void setMinimumClientSize(int32_t Width, int32_t Height);
    // Full screen style: no caption and border, top-most, at (0, 0) with the screen's size; false returns the
    // caption and border.
    void setPopupStyle(bool Popup);

    // The pointer's position relative to the client area, as the window's pointer events last gave it; while
    // the mouse is captured also outside the client area, otherwise (-1, -1) for a pointer outside it.
    void getCursorPosition(int32_t& x, int32_t& y) const;
    void setCursor(TCursorShape Shape);
    // Pixels: Width x Height values 0xAARRGGBB, rows top to bottom. False when the window system refuses.
    bool createCustomCursor(TCursorShape Shape, const uint32_t* Pixels, int32_t Width, int32_t Height,
                            int32_t HotX, int32_t HotY);

    // The window's icon. Pixels: Width x Height values 0xAARRGGBB, rows top to bottom. False when the window
    // system refuses.
    bool setIcon(const uint32_t* Pixels, int32_t Width, int32_t Height);

    // Mouse capture: button events reach the window wherever the pointer is.
    void setCapture();
    void releaseCapture(); // onCaptureChanged when the window held it
    bool hasCapture() const { return Captured; }

    // One timer per identifier; Period in milliseconds. Missed periods are not caught up.
    void setTimer(int32_t Identifier, uint32_t Period);
    void killTimer(int32_t Identifier);
    // Delivers onTimer for every timer that is due at Now (milliseconds of the window system's clock).
    void fireTimers(uint32_t Now);
    // The shortest time to the next timer, at most Limit.
    uint32_t timeToNextTimer(uint32_t Now, uint32_t Limit) const;

    // onClose on the message loop's next pass.
    void postClose() { ClosePending = true; }
    // Sends onDestroy, then closes the window; the message loop ends after the pass (PostQuitMessage).
    void destroy();
    bool isDestroyed() const { return Destroyed; }

    // Turns one event of the window system into the window's messages; false when it is not the window's.
    bool handleEvent(const SDL_Event& Event);
    // Delivers a change of the display's size and a posted close.
    void deliverPosted();

private:
    TAppWindow(std::unique_ptr<TWindow> Window, TFrameMessages* Receiver);
    void handleWindowEvent(const SDL_Event& Event);
    void handleKey(const SDL_Event& Event, bool Down);
    void handleButton(const SDL_Event& Event, bool Down);
    void handleText(const char* Utf8);
    void loseCapture();
    void rememberNormalRectangle();

    struct TTimer {
        int32_t Identifier;
        uint32_t Period;
        uint32_t Due;
    };

    std::unique_ptr<TWindow> Window;
    TFrameMessages* Receiver;
    uint32_t WindowID = 0;
    bool Captured = false;
    bool ClosePending = false;
    bool Destroyed = false;
    bool Popup = false;
    TWindowPlacement Normal;
    int32_t DisplayWidth = 0, DisplayHeight = 0; // 0 until first seen
    std::vector<TTimer> Timers;
    void* Cursors[CURSOR_SHAPES] = {}; // SDL cursors, owned
    TCursorShape CurrentCursor = CURSOR_ARROW;
};
