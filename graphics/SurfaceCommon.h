// What the engines share below the engine interface: the fixed surfaces' sizes, their rectangles, the
// window's client rectangle, the usable display modes, the full-screen substitute, the stretch's pieces and
// checks, and the bookkeeping of the two engines over the display device.
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
// The full-screen mode to take for the caller's record GMode from the Count listed Modes: the one of its
// width and height, else the last one listed, whose width, height and depth are then written into the record
// (the options own it and show the mode taken). nullptr, and the record untouched, when nothing is listed.
const TDisplayMode* SubstituteFullScreenMode(const TDisplayMode* GMode, const TDisplayMode* Modes,
                                             int32_t Count);
// The smallest power of two not below Size; 1 for sizes up to 1.
int32_t TextureSize(int32_t Size);
// The one texture that holds every page of an engine that draws on a graphics device: the pages of PageSize
// pixels PAGE_COLUMNS to a row, below them a block of white texels from which fills are drawn, so that copies
// from any page and fills go into one batch. Its sides are powers of two, so that the centre of every texel
// lies exactly where a filter samples it.
inline constexpr int32_t PAGE_COLUMNS = 4;
struct TPageTexture {
    int32_t Width, Height;
    TPixelRect White;
};
TPageTexture PageTextureLayout(int32_t PageSize);
// Where page Page (0-based) begins in it.
inline int32_t PageX(int32_t Page, int32_t PageSize) { return Page % PAGE_COLUMNS * PageSize; }
inline int32_t PageY(int32_t Page, int32_t PageSize) { return Page / PAGE_COLUMNS * PageSize; }

// A copy's source rectangle From ({left, top, right, bottom}, in the source's pixels) cut to a source of
// Width x Height, and its target To (of the same size) with it, as the software engine cuts a copy: a
// graphics device would otherwise read past a page into its neighbour, or past the texture. False when no
// part of the source lies inside.
bool CutCopyToSource(int32_t (&To)[4], int32_t (&From)[4], int32_t Width, int32_t Height);

// One piece of a stretched copy as the engines that filter linearly draw it: target pixels Left .. Right - 1,
// Top .. Bottom - 1 and the source coordinates (in texels) at their edges.
struct TStretchPiece {
    int32_t Left, Top, Right, Bottom;
    float U0, V0, U1, V1;
};
// A copy of the source rectangle (FromX, FromY, FromWidth, FromHeight) scaled onto (x, y, Width, Height), cut
// into at most nine pieces so that no filtered sample reaches past the source rectangle: where a target pixel
// centre maps to less than half a texel inside the rectangle, the coordinate stays at the edge texel's
// centre. Answers the number of pieces written to Pieces.
int32_t StretchPieces(int32_t x, int32_t y, int32_t Width, int32_t Height, int32_t FromX, int32_t FromY,
                      int32_t FromWidth, int32_t FromHeight, TStretchPiece (&Pieces)[9]);
// The smooth stretch's keying of the engines that filter linearly: texels (0xAARRGGBB) whose red, green and
// blue each lie within 2 of the background colour, which the filter mixed into the edges, become transparent.
void MakeBackgroundTransparent(uint32_t* Texels, size_t Count, int32_t Red, int32_t Green, int32_t Blue);
// The background of a smooth stretch drawn onto a skin (the battle list's slots).
inline constexpr int32_t STRETCH_SKIN = 185;
// The smooth stretch's demands on its two scratch surfaces (Temp and Stretch their extents): neither is
// source or target, the source with one column and row more fits TEMP_SURFACE and the result fits
// STRETCH_SURFACE.
void CheckStretchScratch(const TRectangle& Temp, const TRectangle& Stretch, int32_t ToSurface,
                         int32_t FromSurface, int32_t Width, int32_t Height, int32_t FromWidth,
                         int32_t FromHeight);

// An engine over the display device (DirectDraw and Direct3D 9): the bookkeeping both keep of their surfaces
// and the display, and the operations that only read it.
class TDisplayEngine : public TSurface {
public:
    // RectCheck and MemoryCheck: the texts of the surface-index checks of GetSurfaceRect and
    // GetSurfaceMemory.
    TDisplayEngine(const char* RectCheck, const char* MemoryCheck)
        : RectCheck(RectCheck), MemoryCheck(MemoryCheck) {}

    void WindowMoved() override;
    bool ChangeVideoMode(TWindow* Window, int32_t VMode, const TDisplayMode* GMode, bool Force) override;
    int32_t GetDisplayModes(std::unique_ptr<TDisplayMode[]>& List) override;
    TRectangle GetSurfaceRect(int32_t Surface) override;
    // One mark for every consumer: cleared when ChangeVideoMode begins, set when surfaces are made.
    bool SurfacesRenewed(int32_t Type) override;
    int32_t GetSurfaceMemory(int32_t Surface) override;
    void ExitSurfaces() override;

protected:
    // The start of InitSurfaces: nothing made, the rectangles of pages of PageSize, a new display device
    // (PROGRAM_ERROR 7 when none), whether it scales, the frame clock.
    void initDisplay(int32_t PageSize);
    // The checks SetVideoMode begins with: a display device, a window, a view mode and, for full screen, a
    // display mode.
    void checkVideoMode(int32_t VMode, const TDisplayMode* GMode) const;
    // The checks CreateSurfaces begins with: a display device, no light device (Direct3D) yet, none of the
    // fixed surfaces nor the first page made (Made answers per index; Table names them in the texts), and a
    // view mode.
    void checkNothingMade(bool Direct3D, const char* Table,
                          bool (*Made)(const TDisplayEngine&, int32_t)) const;

    TDisplayMode FullScreen{0, 0, 0, 0}; // the full-screen mode in use
    TDisplayMode Asked{0, 0, 0, 0};      // the full-screen mode a request is compared with
    bool HardwareStretch = false;
    bool Renewed = false; // surfaces were made since the last ChangeVideoMode began
    std::unique_ptr<TDisplayDevice> DirectDraw;
    TPixelRect WindowRect{0, 0, 0, 0}; // where SCREEN_SURFACE is shown, in screen coordinates
    TPixelRect Rect[NUMBER_OF_SURFACES]{};
    int32_t SurfaceMemory[NUMBER_OF_SURFACES]{};

private:
    const char* RectCheck;
    const char* MemoryCheck;
};
