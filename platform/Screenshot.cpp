// What the window system really shows of a window, read back from the X server (tests and bug reports).
#include "platform/Screenshot.h"

#include "platform/Window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>

namespace {

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// The channel of Value under Mask, widened to 8 bits by repeating its top bits.
uint32_t Channel(unsigned long Value, unsigned long Mask) {
    if (Mask == 0) return 0;
    const int Shift = std::countr_zero(Mask), Width = std::popcount(Mask);
    uint32_t c = static_cast<uint32_t>((Value & Mask) >> Shift);
    if (Width >= 8) return c >> (Width - 8);
    uint32_t Wide = 0;
    for (int Filled = 0; Filled < 8; Filled += Width)
        Wide = Wide << Width | c;
    return Wide >> (((8 + Width - 1) / Width) * Width - 8);
}

// Reads the rectangle of Drawable into Pixels.
bool ReadDrawable(Display* X, Drawable Source, int32_t Left, int32_t Top, int32_t Width, int32_t Height,
                  std::vector<uint32_t>& Pixels) {
    XSync(X, False);
    auto Previous = XSetErrorHandler(IgnoreXError);
    XImage* Image = XGetImage(X, Source, Left, Top, static_cast<unsigned>(Width),
                              static_cast<unsigned>(Height), AllPlanes, ZPixmap);
    XSync(X, False);
    XSetErrorHandler(Previous);
    if (Image == nullptr) return false;
    Pixels.resize(static_cast<size_t>(Width) * Height);
    for (int32_t y = 0; y < Height; y++)
        for (int32_t x = 0; x < Width; x++) {
            const unsigned long v = XGetPixel(Image, x, y);
            Pixels[static_cast<size_t>(y) * Width + x] = Channel(v, Image->red_mask) << 16 |
                                                         Channel(v, Image->green_mask) << 8 |
                                                         Channel(v, Image->blue_mask);
        }
    XDestroyImage(Image);
    return true;
}

} // namespace

bool ReadWindowFromScreen(const TWindow& Window, int32_t Width, int32_t Height,
                          std::vector<uint32_t>& Pixels) {
    SDL_SysWMinfo Info;
    SDL_VERSION(&Info.version);
    if (!SDL_GetWindowWMInfo(Window.getNative(), &Info) || Info.subsystem != SDL_SYSWM_X11) return false;
    return ReadDrawable(Info.info.x11.display, Info.info.x11.window, 0, 0, Width, Height, Pixels);
}

bool ReadScreenArea(int32_t Left, int32_t Top, int32_t Width, int32_t Height, std::vector<uint32_t>& Pixels) {
    Display* X = XOpenDisplay(nullptr);
    if (X == nullptr) return false;
    const bool Read = ReadDrawable(X, DefaultRootWindow(X), Left, Top, Width, Height, Pixels);
    XCloseDisplay(X);
    return Read;
}
