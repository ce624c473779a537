// The program's window on the screen, made so that every graphics engine can draw into it in turn.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

struct SDL_Window;

// Starts the window system for one more user (counted); sets the hints every engine relies on before anything
// else touches the video part. False when it cannot start (GetPlatformError says why).
bool InitVideoPlatform();
// Ends one user's share; the last one stops the video part.
void ExitVideoPlatform();

// The window system's text for the last failure.
const char* GetPlatformError();

// Lets the window system deliver what it has for the windows (mapping, exposure, size changes) without
// taking any event off the queue.
void PumpWindowEvents();

// Waits until Condition holds or TimeoutMs pass, blocked on the window system between its events; answers
// whether Condition holds. The events that arrive meanwhile stay queued for their reader. For what the
// window system does on its own time (showing a window, following a size).
bool AwaitWindowSystem(const std::function<bool()>& Condition, uint32_t TimeoutMs);

// Size of the desktop in pixels (the first display); false when no display answers.
bool GetScreenSize(int32_t& Width, int32_t& Height);

// One top-level window. It is made for OpenGL where the driver offers it, so that the window surface of the
// software engine, a renderer and a GL context can follow one another on it; drivers without GL (the dummy
// driver) get a plain window.
class TWindow {
public:
    // nullptr when the window system refuses (GetPlatformError says why).
    static std::unique_ptr<TWindow> create(const char* Title, int32_t Width, int32_t Height, bool Visible);
    ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    void getClientSize(int32_t& Width, int32_t& Height) const;
    // Turns a point of the client area into screen coordinates.
    void clientToScreen(int32_t& x, int32_t& y) const;
    void setClientSize(int32_t Width, int32_t Height);
    void show();
    // Whether the window system has shown the window's content since it was last hidden (an expose).
    bool isExposed() const { return Exposed; }
    bool supportsOpenGL() const { return OpenGL; }
    SDL_Window* getNative() const { return Native; }

private:
    TWindow(SDL_Window* Native, bool OpenGL);
    static int watchEvents(void* Window, union SDL_Event* Event);

    SDL_Window* Native;
    bool OpenGL;
    bool Exposed = false;
};
