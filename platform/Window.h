// The program's window on the screen, made so that every graphics engine can draw into it in turn.
#pragma once

#include <cstdint>
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
    bool supportsOpenGL() const { return OpenGL; }
    SDL_Window* getNative() const { return Native; }

private:
    TWindow(SDL_Window* Native, bool OpenGL) : Native(Native), OpenGL(OpenGL) {}

    SDL_Window* Native;
    bool OpenGL;
};
