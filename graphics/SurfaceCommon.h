// What the engines share below the engine interface: the fixed surfaces' sizes, their rectangles, the
// window's client rectangle, the usable display modes and the smooth stretch's checks.
#pragma once

#include "graphics/Surface.h"
#include "platform/Display.h"
#include "platform/PixelSurface.h"

#include <cstdint>
#include <memory>

class TWindow;

// Sizes in pixels of the fixed off-screen surfaces.
inline constexpr int32_t TEMP_WIDTH = 640, TEMP_HEIGHT = 480;
inline constexpr int32_t STRETCH_SIZE = 64;
inline constexpr int32_t CACHE_WIDTH = 512, CACHE_HEIGHT = 384;
inline constexpr int32_t AUTOMAP_SIZE = 106;

// The Count surfaces' rectangles before any is made: the fixed surfaces at their sizes, every page PageSize
// square, the primary and screen surface empty until a window or display mode gives them a size.
void InitSurfaceRects(TPixelRect* Rect, int32_t Count, int32_t PageSize);
// The window's client area at (0, 0) into Rect[PRIMARY_SURFACE] and Rect[SCREEN_SURFACE], and in screen
// coordinates into OnScreen.
void TakeClientRectangle(TWindow& Window, TPixelRect* Rect, TPixelRect& OnScreen);
// Whether the display device scales up and down in both directions.
bool HasHardwareStretch(TDisplayDevice& Device);
// A new List of the device's modes of at least 640 x 480 and 16 bits, which the caller owns; answers the
// count. Without a device or any such mode List stays empty and the count is 0.
int32_t ListDisplayModes(TDisplayDevice* Device, std::unique_ptr<TDisplayMode[]>& List);
// The full-screen mode to take for the caller's record GMode from the Count listed Modes: the one of its width
// and height, else the last one listed, whose width, height and depth are then written into the record (the
// options own it and show the mode taken). nullptr, and the record untouched, when nothing is listed.
const TDisplayMode* SubstituteFullScreenMode(const TDisplayMode* GMode, const TDisplayMode* Modes,
                                             int32_t Count);
// The smooth stretch's demands on its two scratch surfaces: neither is source or target, the source with one
// column and row more fits TEMP_SURFACE and the result fits STRETCH_SURFACE. Rect: the surfaces' rectangles.
void CheckStretchScratch(const TPixelRect* Rect, int32_t ToSurface, int32_t FromSurface, int32_t Width,
                         int32_t Height, int32_t FromWidth, int32_t FromHeight);
