// What the window system really shows of a window, read back from the X server (tests and bug reports).
#pragma once

#include <cstdint>
#include <vector>

class TWindow;

// The top-left Width x Height pixels of the window's client area as shown on the screen, each
// red << 16 | green << 8 | blue with every channel widened to 8 bits. False when the window system cannot be
// read back (drivers other than X11, an unmapped window).
bool ReadWindowFromScreen(const TWindow& Window, int32_t Width, int32_t Height,
                          std::vector<uint32_t>& Pixels);

// The rectangle (X, Y, Width, Height) of the screen as shown, in the same form; any window's pixels. False
// when there is no X display or the rectangle is not on the screen.
bool ReadScreenArea(int32_t X, int32_t Y, int32_t Width, int32_t Height, std::vector<uint32_t>& Pixels);
