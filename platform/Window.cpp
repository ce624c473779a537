// The program's window on the screen, made so that every graphics engine can draw into it in turn.
#include "platform/Window.h"

#include <SDL.h>

#include <vector>

bool InitVideoPlatform() {
    // Without this hint the window surface would claim an accelerated renderer, and a renderer or GL context
    // could no longer be made on the same window afterwards.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

void ExitVideoPlatform() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

const char* GetPlatformError() { return SDL_GetError(); }

void PumpWindowEvents() { SDL_PumpEvents(); }

bool AwaitWindowSystem(const std::function<bool()>& Condition, uint32_t TimeoutMs) {
    const Uint64 Deadline = SDL_GetTicks64() + TimeoutMs;
    std::vector<SDL_Event> Taken;
    SDL_PumpEvents();
    bool Holds = Condition();
    for (Uint64 Now = SDL_GetTicks64(); !Holds && Now < Deadline; Now = SDL_GetTicks64()) {
        SDL_Event Event;
        if (SDL_WaitEventTimeout(&Event, static_cast<int>(Deadline - Now)) == 1) Taken.push_back(Event);
        Holds = Condition();
    }
    for (SDL_Event& Event : Taken)
        SDL_PushEvent(&Event);
    return Holds;
}

bool GetScreenSize(int32_t& Width, int32_t& Height) {
    SDL_DisplayMode Mode;
    if (SDL_GetDesktopDisplayMode(0, &Mode) != 0) return false;
    Width = Mode.w;
    Height = Mode.h;
    return true;
}

std::unique_ptr<TWindow> TWindow::create(const char* Title, int32_t Width, int32_t Height, bool Visible) {
    if (!InitVideoPlatform()) return nullptr;
    const Uint32 Flags = Visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    bool OpenGL = true;
    SDL_Window* Native = SDL_CreateWindow(Title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, Width,
                                          Height, Flags | SDL_WINDOW_OPENGL);
    if (Native == nullptr) {
        OpenGL = false;
        Native =
            SDL_CreateWindow(Title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, Width, Height, Flags);
    }
    if (Native == nullptr) {
        ExitVideoPlatform();
        return nullptr;
    }
    return std::unique_ptr<TWindow>(new TWindow(Native, OpenGL));
}

TWindow::TWindow(SDL_Window* Native, bool OpenGL) : Native(Native), OpenGL(OpenGL) {
    SDL_AddEventWatch(watchEvents, this);
}

TWindow::~TWindow() {
    SDL_DelEventWatch(watchEvents, this);
    SDL_DestroyWindow(Native);
    ExitVideoPlatform();
}

int TWindow::watchEvents(void* Window, SDL_Event* Event) {
    TWindow& W = *static_cast<TWindow*>(Window);
    if (Event->type != SDL_WINDOWEVENT || Event->window.windowID != SDL_GetWindowID(W.Native)) return 0;
    if (Event->window.event == SDL_WINDOWEVENT_EXPOSED) W.Exposed = true;
    if (Event->window.event == SDL_WINDOWEVENT_HIDDEN) W.Exposed = false;
    return 0;
}

void TWindow::getClientSize(int32_t& Width, int32_t& Height) const {
    int w = 0, h = 0;
    SDL_GetWindowSize(Native, &w, &h);
    Width = w;
    Height = h;
}

void TWindow::clientToScreen(int32_t& x, int32_t& y) const {
    int Left = 0, Top = 0;
    SDL_GetWindowPosition(Native, &Left, &Top);
    x += Left;
    y += Top;
}

void TWindow::setClientSize(int32_t Width, int32_t Height) { SDL_SetWindowSize(Native, Width, Height); }

void TWindow::show() { SDL_ShowWindow(Native); }
