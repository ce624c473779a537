// The frame window of the application over SDL: window system events become frame window messages.
#include "platform/AppWindow.h"

#include "platform/Window.h"

#include <SDL.h>

namespace {

// Keys of the cursor block and their twins on the number block (Num Lock off).
struct TKeyPair {
    SDL_Keycode Key;
    int32_t VirtualKey;
};
constexpr TKeyPair CursorBlock[] = {
    {SDLK_UP, VK_UP},         {SDLK_DOWN, VK_DOWN},     {SDLK_LEFT, VK_LEFT},       {SDLK_RIGHT, VK_RIGHT},
    {SDLK_HOME, VK_HOME},     {SDLK_END, VK_END},       {SDLK_PAGEUP, VK_PRIOR},    {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_INSERT, VK_INSERT}, {SDLK_DELETE, VK_DELETE}, {SDLK_KP_ENTER, VK_RETURN},
};
constexpr TKeyPair NumberBlock[] = {
    {SDLK_KP_8, VK_UP},     {SDLK_KP_2, VK_DOWN},        {SDLK_KP_4, VK_LEFT},  {SDLK_KP_6, VK_RIGHT},
    {SDLK_KP_7, VK_HOME},   {SDLK_KP_1, VK_END},         {SDLK_KP_9, VK_PRIOR}, {SDLK_KP_3, VK_NEXT},
    {SDLK_KP_0, VK_INSERT}, {SDLK_KP_PERIOD, VK_DELETE},
};
constexpr SDL_Keycode NumberKeys[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                      SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};

// The virtual key of an SDL key and its flags; 0 for a key the program has no use for.
int32_t VirtualKeyOf(const SDL_Keysym& Key, uint32_t& Flags) {
    Flags = 0;
    for (const TKeyPair& Pair : CursorBlock)
        if (Key.sym == Pair.Key) {
            Flags = KF_EXTENDED;
            return Pair.VirtualKey;
        }
    const bool NumLock = (Key.mod & KMOD_NUM) != 0;
    for (int32_t i = 0; i < 10; i++)
        if (Key.sym == NumberKeys[i] && NumLock) return VK_NUMPAD0 + i;
    for (const TKeyPair& Pair : NumberBlock)
        if (Key.sym == Pair.Key) return Pair.VirtualKey;
    if (Key.sym >= SDLK_F1 && Key.sym <= SDLK_F12) return VK_F1 + (Key.sym - SDLK_F1);
    if (Key.sym >= SDLK_a && Key.sym <= SDLK_z) return 'A' + (Key.sym - SDLK_a);
    if (Key.sym >= SDLK_0 && Key.sym <= SDLK_9) return '0' + (Key.sym - SDLK_0);
    switch (Key.sym) {
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    case SDLK_RETURN:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_SPACE:
        return VK_SPACE;
    default:
        return 0;
    }
}

// The control character that a key types on its own, as the window system of the original sends it; 0 for
// none. Letters give 1 to 26 while Ctrl (and not Alt) is held.
uint32_t ControlCharacterOf(const SDL_Keysym& Key) {
    const bool Ctrl = (Key.mod & KMOD_CTRL) != 0, Alt = (Key.mod & KMOD_ALT) != 0;
    if (Alt) return 0;
    if (Ctrl) return Key.sym >= SDLK_a && Key.sym <= SDLK_z ? static_cast<uint32_t>(Key.sym - SDLK_a + 1) : 0;
    switch (Key.sym) {
    case SDLK_BACKSPACE:
        return 8;
    case SDLK_TAB:
        return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return 13;
    case SDLK_ESCAPE:
        return 27;
    default:
        return 0;
    }
}

// Decodes one UTF-8 sequence at Text; advances Text. 0xFFFD for a malformed one.
uint32_t NextCodePoint(const unsigned char*& Text) {
    const uint32_t Lead = *Text++;
    if (Lead < 0x80) return Lead;
    int32_t More = Lead >= 0xF0 ? 3 : Lead >= 0xE0 ? 2 : Lead >= 0xC0 ? 1 : -1;
    if (More < 0) return 0xFFFD;
    uint32_t Value = Lead & (0x3F >> More);
    for (int32_t i = 0; i < More; i++) {
        if ((*Text & 0xC0) != 0x80) return 0xFFFD;
        Value = Value << 6 | (*Text++ & 0x3F);
    }
    return Value;
}

SDL_SystemCursor SystemCursorOf(TCursorShape Shape) {
    switch (Shape) {
    case CURSOR_SIZENS:
        return SDL_SYSTEM_CURSOR_SIZENS;
    case CURSOR_WAIT:
        return SDL_SYSTEM_CURSOR_WAIT;
    default:
        return SDL_SYSTEM_CURSOR_ARROW;
    }
}

} // namespace

std::unique_ptr<TAppWindow> TAppWindow::create(const char* Title, int32_t Width, int32_t Height,
                                               TFrameMessages* Receiver) {
    std::unique_ptr<TWindow> Window = TWindow::create(Title, Width, Height, false);
    if (!Window) return nullptr;
    SDL_SetWindowResizable(Window->getNative(), SDL_TRUE);
    return std::unique_ptr<TAppWindow>(new TAppWindow(std::move(Window), Receiver));
}

TAppWindow::TAppWindow(std::unique_ptr<TWindow> Window, TFrameMessages* Receiver)
    : Window(std::move(Window)), Receiver(Receiver) {
    WindowID = SDL_GetWindowID(this->Window->getNative());
    rememberNormalRectangle();
}

TAppWindow::~TAppWindow() {
    if (Captured) SDL_CaptureMouse(SDL_FALSE);
    for (void* Cursor : Cursors)
        if (Cursor != nullptr) SDL_FreeCursor(static_cast<SDL_Cursor*>(Cursor));
}

void TAppWindow::show(bool Maximized) {
    SDL_ShowWindow(Window->getNative());
    if (Maximized) SDL_MaximizeWindow(Window->getNative());
}

void TAppWindow::hide() { SDL_HideWindow(Window->getNative()); }

bool TAppWindow::isMinimized() const {
    return (SDL_GetWindowFlags(Window->getNative()) & SDL_WINDOW_MINIMIZED) != 0;
}

bool TAppWindow::isMaximized() const {
    return (SDL_GetWindowFlags(Window->getNative()) & SDL_WINDOW_MAXIMIZED) != 0;
}

void TAppWindow::getClientSize(int32_t& Width, int32_t& Height) const {
    Window->getClientSize(Width, Height);
}

void TAppWindow::getFrameSize(int32_t& Width, int32_t& Height, int32_t& Left, int32_t& Top) const {
    int t = 0, l = 0, b = 0, r = 0;
    if (Popup || SDL_GetWindowBordersSize(Window->getNative(), &t, &l, &b, &r) != 0) t = l = b = r = 0;
    Width = l + r;
    Height = t + b;
    Left = l;
    Top = t;
}

void TAppWindow::rememberNormalRectangle() {
    if (Popup || isMaximized() || isMinimized()) return;
    int x = 0, y = 0;
    SDL_GetWindowPosition(Window->getNative(), &x, &y);
    int32_t Width = 0, Height = 0, FrameWidth = 0, FrameHeight = 0, Left = 0, Top = 0;
    getClientSize(Width, Height);
    getFrameSize(FrameWidth, FrameHeight, Left, Top);
    Normal = TWindowPlacement{x - Left, y - Top, Width + FrameWidth, Height + FrameHeight, false};
}

TWindowPlacement TAppWindow::getPlacement() const {
    TWindowPlacement Placement = Normal;
    Placement.Maximized = isMaximized();
    return Placement;
}

void TAppWindow::moveWindow(int32_t x, int32_t y, int32_t Width, int32_t Height) {
    SDL_Window* Native = Window->getNative();
    if (isMaximized()) SDL_RestoreWindow(Native);
    int32_t FrameWidth = 0, FrameHeight = 0, Left = 0, Top = 0;
    getFrameSize(FrameWidth, FrameHeight, Left, Top);
    SDL_SetWindowPosition(Native, x + Left, y + Top);
    SDL_SetWindowSize(Native, Width - FrameWidth, Height - FrameHeight);
    rememberNormalRectangle();
}

void TAppWindow::setPlacement(const TWindowPlacement& Placement) {
    moveWindow(Placement.x, Placement.y, Placement.Width, Placement.Height);
    if (Placement.Maximized) SDL_MaximizeWindow(Window->getNative());
}

void TAppWindow::setMinimumClientSize(int32_t Width, int32_t Height) {
    SDL_SetWindowMinimumSize(Window->getNative(), Width, Height);
}

void TAppWindow::setPopupStyle(bool NewPopup) {
    SDL_Window* Native = Window->getNative();
    if (NewPopup && !Popup) rememberNormalRectangle();
    Popup = NewPopup;
    SDL_SetWindowBordered(Native, NewPopup ? SDL_FALSE : SDL_TRUE);
    SDL_SetWindowResizable(Native, NewPopup ? SDL_FALSE : SDL_TRUE);
    SDL_SetWindowAlwaysOnTop(Native, NewPopup ? SDL_TRUE : SDL_FALSE);
    if (!NewPopup) return;
    if (isMaximized()) SDL_RestoreWindow(Native);
    int32_t Width = 0, Height = 0;
    if (!GetScreenSize(Width, Height)) return;
    SDL_SetWindowPosition(Native, 0, 0);
    SDL_SetWindowSize(Native, Width, Height);
}

void TAppWindow::getCursorPosition(int32_t& x, int32_t& y) const {
    // The position of the window's own pointer events: the system-wide query is refreshed only by raw
    // device input, which injected input (remote desktops, test drivers, XWayland) does not produce. Those
    // events hold the last place inside the window once the pointer has left it (unless the mouse is
    // captured), which is not where the pointer is.
    if (SDL_GetMouseFocus() != Window->getNative()) {
        x = y = -1;
        return;
    }
    int wx = 0, wy = 0;
    SDL_GetMouseState(&wx, &wy);
    x = wx;
    y = wy;
}

void TAppWindow::setCursor(TCursorShape Shape) {
    if (Shape < 0 || Shape >= CURSOR_SHAPES) return;
    CurrentCursor = Shape;
    if (Shape == CURSOR_NONE) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    if (Cursors[Shape] == nullptr && Shape != CURSOR_CUSTOM1 && Shape != CURSOR_CUSTOM2)
        Cursors[Shape] = SDL_CreateSystemCursor(SystemCursorOf(Shape));
    if (Cursors[Shape] != nullptr) SDL_SetCursor(static_cast<SDL_Cursor*>(Cursors[Shape]));
    SDL_ShowCursor(SDL_ENABLE);
}

bool TAppWindow::createCustomCursor(TCursorShape Shape, const uint32_t* Pixels, int32_t Width, int32_t Height,
                                    int32_t HotX, int32_t HotY) {
    if (Shape != CURSOR_CUSTOM1 && Shape != CURSOR_CUSTOM2) return false;
    SDL_Surface* Image = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(Pixels), Width, Height, 32,
                                                            Width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (Image == nullptr) return false;
    SDL_Cursor* Cursor = SDL_CreateColorCursor(Image, HotX, HotY);
    SDL_FreeSurface(Image);
    if (Cursor == nullptr) return false;
    if (Cursors[Shape] != nullptr) SDL_FreeCursor(static_cast<SDL_Cursor*>(Cursors[Shape]));
    Cursors[Shape] = Cursor;
    return true;
}

bool TAppWindow::setIcon(const uint32_t* Pixels, int32_t Width, int32_t Height) {
    SDL_Surface* Image = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(Pixels), Width, Height, 32,
                                                            Width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (Image == nullptr) return false;
    SDL_SetWindowIcon(Window->getNative(), Image); // SDL keeps a copy
    SDL_FreeSurface(Image);
    return true;
}

void TAppWindow::setCapture() {
    Captured = true;
    SDL_CaptureMouse(SDL_TRUE);
}

void TAppWindow::releaseCapture() {
    if (!Captured) return;
    Captured = false;
    SDL_CaptureMouse(SDL_FALSE);
    Receiver->onCaptureChanged();
}

void TAppWindow::loseCapture() { releaseCapture(); }

void TAppWindow::setTimer(int32_t Identifier, uint32_t Period) {
    killTimer(Identifier);
    Timers.push_back({Identifier, Period, SDL_GetTicks() + Period});
}

void TAppWindow::killTimer(int32_t Identifier) {
    for (size_t i = 0; i < Timers.size(); i++)
        if (Timers[i].Identifier == Identifier) {
            Timers.erase(Timers.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}

void TAppWindow::fireTimers(uint32_t Now) {
    // A handler may set or kill timers: look each one up again by its identifier.
    std::vector<int32_t> Due;
    for (TTimer& Timer : Timers)
        if (static_cast<int32_t>(Now - Timer.Due) >= 0) {
            Timer.Due = Now + Timer.Period;
            Due.push_back(Timer.Identifier);
        }
    for (int32_t Identifier : Due)
        for (const TTimer& Timer : Timers)
            if (Timer.Identifier == Identifier && !Destroyed) {
                Receiver->onTimer(Identifier);
                break;
            }
}

uint32_t TAppWindow::timeToNextTimer(uint32_t Now, uint32_t Limit) const {
    uint32_t Wait = Limit;
    for (const TTimer& Timer : Timers) {
        const int32_t Left = static_cast<int32_t>(Timer.Due - Now);
        if (Left <= 0) return 0;
        if (static_cast<uint32_t>(Left) < Wait) Wait = static_cast<uint32_t>(Left);
    }
    return Wait;
}

void TAppWindow::destroy() {
    if (Destroyed) return;
    Destroyed = true;
    Timers.clear();
    if (Captured) {
        Captured = false;
        SDL_CaptureMouse(SDL_FALSE);
    }
    Receiver->onDestroy();
    // The window itself stays until this object goes: the engines may still release surfaces made for it.
    hide();
}

void TAppWindow::deliverPosted() {
    int32_t Width = 0, Height = 0;
    if (!Destroyed && GetScreenSize(Width, Height) && (Width != DisplayWidth || Height != DisplayHeight)) {
        const bool Known = DisplayWidth != 0;
        DisplayWidth = Width;
        DisplayHeight = Height;
        if (Known) Receiver->onDisplayChange(Width, Height);
    }
    if (ClosePending && !Destroyed) {
        ClosePending = false;
        Receiver->onClose();
    }
}

bool TAppWindow::handleEvent(const SDL_Event& Event) {
    if (Destroyed) return false;
    switch (Event.type) {
    case SDL_WINDOWEVENT:
        if (Event.window.windowID != WindowID) return false;
        handleWindowEvent(Event);
        return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        handleKey(Event, Event.type == SDL_KEYDOWN);
        return true;
    case SDL_TEXTINPUT:
        handleText(Event.text.text);
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        handleButton(Event, Event.type == SDL_MOUSEBUTTONDOWN);
        return true;
    case SDL_MOUSEMOTION:
        Receiver->onSetCursor();
        return true;
    case SDL_MOUSEWHEEL: {
        int32_t Steps = Event.wheel.y;
        if (Event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) Steps = -Steps;
        if (Steps != 0) Receiver->onMouseWheel(Steps * WHEEL_DELTA);
        return true;
    }
    case SDL_QUIT: // a signal asks the program to end: treated as the user closing the window
        Receiver->onClose();
        return true;
    default:
        return false;
    }
}

void TAppWindow::handleWindowEvent(const SDL_Event& Event) {
    switch (Event.window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED: {
        rememberNormalRectangle();
        int32_t Width = 0, Height = 0;
        getClientSize(Width, Height);
        Receiver->onSize(isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED, Width, Height);
        break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
        Receiver->onSize(SIZE_MINIMIZED, 0, 0);
        break;
    case SDL_WINDOWEVENT_MOVED:
        rememberNormalRectangle();
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Receiver->onActivateApp(true);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        loseCapture();
        Receiver->onActivateApp(false);
        break;
    case SDL_WINDOWEVENT_ENTER:
        Receiver->onSetCursor();
        break;
    case SDL_WINDOWEVENT_CLOSE:
        Receiver->onClose();
        break;
    default:
        break;
    }
}

void TAppWindow::handleKey(const SDL_Event& Event, bool Down) {
    uint32_t Flags = 0;
    const int32_t VirtualKey = VirtualKeyOf(Event.key.keysym, Flags);
    if (VirtualKey == 0) return;
    if (!Down) {
        Receiver->onKeyUp(VirtualKey, 1, Flags);
        return;
    }
    Receiver->onKeyDown(VirtualKey, 1, Flags);
    // The handler may have destroyed the window (Alt+F4).
    if (Destroyed) return;
    const uint32_t Character = ControlCharacterOf(Event.key.keysym);
    if (Character != 0) Receiver->onChar(Character);
}

void TAppWindow::handleText(const char* Utf8) {
    // Characters typed with Ctrl or Alt alone are commands, not text; Ctrl with Alt is the AltGr layer.
    const SDL_Keymod Mod = SDL_GetModState();
    const bool Ctrl = (Mod & KMOD_CTRL) != 0, Alt = (Mod & KMOD_ALT) != 0;
    if (Ctrl != Alt) return;
    const unsigned char* Text = reinterpret_cast<const unsigned char*>(Utf8);
    while (*Text != 0 && !Destroyed)
        Receiver->onChar(NextCodePoint(Text));
}

void TAppWindow::handleButton(const SDL_Event& Event, bool Down) {
    const int32_t x = Event.button.x, y = Event.button.y;
    const bool Double = Down && Event.button.clicks % 2 == 0;
    if (Event.button.button == SDL_BUTTON_LEFT) {
        if (!Down)
            Receiver->onLButtonUp(x, y);
        else if (Double)
            Receiver->onLButtonDblClk(x, y);
        else
            Receiver->onLButtonDown(x, y);
    } else if (Event.button.button == SDL_BUTTON_RIGHT) {
        if (!Down)
            Receiver->onRButtonUp(x, y);
        else if (Double)
            Receiver->onRButtonDblClk(x, y);
        else
            Receiver->onRButtonDown(x, y);
    }
}
