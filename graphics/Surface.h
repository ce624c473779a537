// The engine interface TSurface that every pixel goes through, its numbered surfaces and shared operations.
#pragma once

#include "state/Preferences.h"

#include <cstdint>
#include <memory>

class TWindow;

// Engine numbers, as stored in the options.
inline constexpr int32_t ENGINE_DIRECTDRAW = 0;
inline constexpr int32_t ENGINE_OPENGL = 1;
inline constexpr int32_t ENGINE_DIRECT3D9 = 2;

// View modes (the engine's ViewMode); 0 means not yet set.
inline constexpr int32_t WINDOWED_MODE = 1;
inline constexpr int32_t FULLSCREEN_MODE = 2;

// Surface indices named by every drawing call. Texture page p (0-based) is SPRITE_SURFACE + p.
inline constexpr int32_t NUMBER_OF_SURFACES = 22;
inline constexpr int32_t PRIMARY_SURFACE = 0; // the visible surface
inline constexpr int32_t SCREEN_SURFACE = 1;  // where a frame is composed; the GUI draws here
inline constexpr int32_t TEMP_SURFACE = 2;    // scratch of the stretches; the map picture and its light
inline constexpr int32_t STRETCH_SURFACE = 3; // target of the smooth stretch
inline constexpr int32_t CACHE_SURFACE = 4;   // the map view's field cells
inline constexpr int32_t AUTOMAP_SURFACE = 5;
inline constexpr int32_t SPRITE_SURFACE = 6;
inline constexpr int32_t MAXIMUM_PAGES = 16;
// STRETCH_SURFACE's pixels: a KEPT_STRETCH_PAGE square grid of KEPT_STRETCH_SIZE cells whose top left 2 x 2
// cells are the stretch's scratch and whose other cells keep stretches of up to one cell.
inline constexpr int32_t KEPT_STRETCH_SIZE = 32;
inline constexpr int32_t KEPT_STRETCH_PAGE = 256;
inline constexpr int32_t KEPT_STRETCH_COLUMNS = KEPT_STRETCH_PAGE / KEPT_STRETCH_SIZE;
inline constexpr int32_t KEPT_STRETCHES = KEPT_STRETCH_COLUMNS * KEPT_STRETCH_COLUMNS - 4;

// A surface's extent: x, y, width, height in pixels.
struct TRectangle {
    int32_t x, y, Width, Height;
};

// A source pixel {red, green, blue} as every engine uploads it (Mask: its mask pixel, or nullptr for the key
// rule; Colors as WriteColoredPixels takes them, or nullptr): the colour that Colors picks for it times its
// brightness (30 r + 59 g + 11 b) / 100, divided by 256 (each colour component taken in 0 to 255), or the
// pixel as it is. Answers 0x00RRGGBB.
uint32_t UploadedPixel(const uint8_t* Pixel, const uint8_t* Mask, const int32_t* Colors);
// The same as a texel 0xAARRGGBB of the engines that key at upload: recoloured texels opaque, others opaque
// unless equal to Key (0xFFRRGGBB; 0 keys nothing).
uint32_t UploadedTexel(const uint8_t* Pixel, const uint8_t* Mask, const int32_t* Colors, uint32_t Key);

// The one engine object. Colours are three values 0 to 255; rectangles are x, y, width, height in pixels of
// the named surface with (0, 0) at the top left. Operations are in the order of the interface's slots.
class TSurface {
public:
    TSurface();
    virtual ~TSurface();
    TSurface(const TSurface&) = delete;
    TSurface& operator=(const TSurface&) = delete;

    virtual void SelectSurface(int32_t Surface);
    virtual void SetFilter(int32_t Filter);
    // Base: a 1 x 1 FillRectangle.
    virtual void SetPixel(int32_t Surface, int32_t x, int32_t y, int32_t Red, int32_t Green, int32_t Blue);
    // Base: the rectangle cut to the clip box, then FillRectangle; nothing when it lies wholly outside.
    virtual void FillRectangleClipped(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                      int32_t Red, int32_t Green, int32_t Blue, int32_t ClipX, int32_t ClipY,
                                      int32_t ClipWidth, int32_t ClipHeight);
    virtual void FillRectangle(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                               int32_t Red, int32_t Green, int32_t Blue) = 0;
    // Base: lines are one pixel wide rectangles, exactly the pixels x .. x + Length - 1 (y likewise).
    virtual void DrawHorizontalLine(int32_t Surface, int32_t x, int32_t y, int32_t Length, int32_t Red,
                                    int32_t Green, int32_t Blue);
    virtual void DrawVerticalLine(int32_t Surface, int32_t x, int32_t y, int32_t Length, int32_t Red,
                                  int32_t Green, int32_t Blue);
    // An outline LineWidth pixels wide inside the rectangle, as four bands; a rectangle narrower or lower
    // than two line widths is filled whole. Shared by every engine.
    virtual void DrawBorderClipped(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                   int32_t LineWidth, int32_t Red, int32_t Green, int32_t Blue, int32_t ClipX,
                                   int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight);
    virtual void DrawBorder(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                            int32_t LineWidth, int32_t Red, int32_t Green, int32_t Blue);
    // Pixels: Width x Height pixels of 3 bytes (red, green, blue), rows top to bottom, into a texture page.
    virtual void WritePixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                             const uint8_t* Pixels) = 0;
    // As WritePixels, recoloured. Colors: four colours {red, green, blue}. With MaskPixels, the mask pixel
    // yellow, red, green or blue picks colour 0, 1, 2 or 3 (other mask colours keep the pixel); without,
    // every pixel other than colour 1 (the key) takes colour 0. A recoloured pixel is the colour times its
    // brightness (30 r + 59 g + 11 b) / 100, divided by 256.
    virtual void WriteColoredPixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                    const uint8_t* Pixels, const uint8_t* MaskPixels,
                                    const int32_t* Colors) = 0;
    // Base: the clipped copy with the target surface's rectangle as clip box; the size must be positive.
    virtual void Blit(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                      int32_t FromY, int32_t Width, int32_t Height);
    virtual void BlitTransparent(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                                 int32_t FromY, int32_t Width, int32_t Height, int32_t KeyRed,
                                 int32_t KeyGreen, int32_t KeyBlue);
    virtual void BlitClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                             int32_t FromY, int32_t Width, int32_t Height, int32_t ClipX, int32_t ClipY,
                             int32_t ClipWidth, int32_t ClipHeight) = 0;
    // Base: the clipped copy, for engines whose pages carry the key as transparent texels since their upload.
    virtual void BlitTransparentClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface,
                                        int32_t FromX, int32_t FromY, int32_t Width, int32_t Height,
                                        int32_t KeyRed, int32_t KeyGreen, int32_t KeyBlue, int32_t ClipX,
                                        int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight);
    virtual void StretchBlit(int32_t ToSurface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                             int32_t FromSurface, int32_t FromX, int32_t FromY, int32_t FromWidth,
                             int32_t FromHeight) = 0;
    // Base: an unscaled copy keeps the key; a scaled one is a plain StretchBlit and ignores the background.
    virtual void StretchBlitTransparent(int32_t ToSurface, int32_t x, int32_t y, int32_t Width,
                                        int32_t Height, int32_t FromSurface, int32_t FromX, int32_t FromY,
                                        int32_t FromWidth, int32_t FromHeight, int32_t KeyRed,
                                        int32_t KeyGreen, int32_t KeyBlue, int32_t BackgroundRed,
                                        int32_t BackgroundGreen, int32_t BackgroundBlue);
    // The smooth stretch, shared by every engine: the source over the background (skin 185 while
    // StretchOnSkin is set) in TEMP_SURFACE, one column and row more so that a filter finds background past
    // the edges, scaled into STRETCH_SURFACE, then copied with the background as key. Equal sizes are a keyed
    // copy. Small stretches onto the skin are kept in STRETCH_SURFACE beside its scratch square, so that the
    // same stretch in the next frame is only the last copy.
    virtual void StretchBlitTransparentClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t Width,
                                               int32_t Height, int32_t FromSurface, int32_t FromX,
                                               int32_t FromY, int32_t FromWidth, int32_t FromHeight,
                                               int32_t KeyRed, int32_t KeyGreen, int32_t KeyBlue,
                                               int32_t BackgroundRed, int32_t BackgroundGreen,
                                               int32_t BackgroundBlue, int32_t ClipX, int32_t ClipY,
                                               int32_t ClipWidth, int32_t ClipHeight);
    // The light: multiplies the target by Count rectangles (four values each: x, y, width, height), each with
    // twelve colour values (red, green, blue of the top-left, top-right, bottom-left, bottom-right corner).
    virtual void DrawShadedQuads(int32_t Surface, int32_t Count, const int32_t* Rectangles,
                                 const int32_t* Colors) = 0;
    virtual void SetColorKey(int32_t Surface, int32_t Red, int32_t Green, int32_t Blue);
    // Forgets the kept stretches: a texture page changed, or the surfaces were made anew.
    void ForgetStretches();
    virtual void SetSurfaceColorKey(int32_t Surface, int32_t Red, int32_t Green, int32_t Blue) = 0;

    // Rectangle: {left, top, right, bottom}. False when it lies wholly outside the clip box; else cuts it to
    // the box and adds the amounts cut to Adjust (left and top positive, right and bottom negative).
    static bool ClipRectangle(int32_t ClipX, int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight,
                              int32_t* Rectangle, int32_t* Adjust);

    void ResetFrameClock();
    // Paces and measures frames; called at the start of every Present.
    void WaitFrame();

    virtual void AttachClipper();
    virtual void WindowMoved() = 0;
    virtual void SetVideoMode(int32_t VMode, const TDisplayMode* GMode) = 0;
    virtual void ReleaseSurfaces() = 0;
    virtual void CreateSurfaces() = 0;
    // Base: SetVideoMode and CreateSurfaces; a PROGRAM_ERROR on the way releases what was made and passes on.
    virtual void InitVideo(int32_t VMode, const TDisplayMode* GMode);
    virtual void RestoreSurfaces(int32_t VMode, const TDisplayMode* GMode) = 0;
    virtual void AddDirtyRectangle(int32_t x, int32_t y, int32_t Width, int32_t Height);
    virtual void Present() = 0;
    // Brings the engine to the view mode and display mode of the options; Force redoes it unchanged.
    virtual bool ChangeVideoMode(TWindow* Window, int32_t VMode, const TDisplayMode* GMode, bool Force) = 0;
    // Hands a new list of the usable full-screen modes to the caller, who owns it; answers the count.
    virtual int32_t GetDisplayModes(std::unique_ptr<TDisplayMode[]>& List) = 0;
    int32_t GetNumberOfPages() const { return NumberOfPages; }
    virtual TRectangle GetSurfaceRect(int32_t Surface) = 0;
    // Whether the surfaces were made anew, as seen by consumer Type (0 to 2; 1 is the video cache).
    virtual bool SurfacesRenewed(int32_t Type) = 0;
    bool IsLost() const { return Lost; }
    virtual bool SupportsLightEffects() = 0;
    // Whether copying composed pictures from another surface costs no more than drawing their tiles again.
    // Engines that draw every change of source surface as a draw call of their device say no (base: yes).
    virtual bool ComposedCopiesPay() const { return true; }
    // Where a surface was made: 1 video memory, 2 other memory, 0 not made.
    virtual int32_t GetSurfaceMemory(int32_t Index) = 0;
    // 10 to 200 frames per second limit the rate; any other value means no limit. Answers Rate.
    int32_t SetFrameRate(int32_t Rate);
    double GetFramesPerSecond() const { return FramesPerSecond; }
    virtual void InitSurfaces() = 0;
    virtual void ExitSurfaces() = 0;
    // Base: takes the window handle of the engine module and answers true.
    virtual bool TestEngine();

    // Raised by the game screen around one kind of outfit drawing (the battle list); the engine never
    // changes it. The stretch paths of the Direct3D 9 and OpenGL engines read it.
    uint8_t StretchOnSkin = 0;

    int32_t getViewMode() const { return ViewMode; }
    TWindow* getWindow() const { return Window; }
    double getFramePeriod() const { return FramePeriod; }

protected:
    // The smooth stretch's step between scaling and the last copy: the engines whose copies ignore the key
    // make the background in STRETCH_SURFACE transparent here. Base: nothing (the last copy keys it).
    virtual void keyStretchedBackground(int32_t Red, int32_t Green, int32_t Blue);

    // The view-mode decision of ChangeVideoMode for an engine whose surfaces outlive a change of window: the
    // surfaces are made anew when forced, on the first call, on a change of view mode or of the full-screen
    // mode (InUse is the mode a full-screen request is compared with); in a window they follow the window.
    void switchViewMode(TWindow* NewWindow, int32_t VMode, const TDisplayMode* GMode, bool Force,
                        const TDisplayMode& InUse);

    TWindow* Window = nullptr;
    int32_t ViewMode = 0;
    bool Lost = false;
    int32_t NumberOfDisplayModes = 0;
    int32_t NumberOfPages = 0;

private:
    // A kept stretch: its source (surface, x, y, width, height), its size and the source's key; LastUse 0
    // when the place holds none.
    struct TKeptStretch {
        int32_t Source[10];
        uint32_t LastUse;
    };
    // The place of the stretch described by Source: true when it holds it already, else Place is the least
    // recently used one, to be filled.
    bool keptStretch(const int32_t (&Source)[10], int32_t& Place);

    TKeptStretch KeptStretches[KEPT_STRETCHES] = {};
    uint32_t StretchUses = 0;

    // Milliseconds of the frame clock, unwrapped past the 32-bit clock's wrap so that pacing survives it.
    double now();

    uint32_t LastClock = 0;
    double Unwrapped = 0;
    double LastMeasurement = 0;
    double NextFrame = 0;
    double FramePeriod = 0;
    double FramesPerSecond = 0;
    int32_t TargetFrameRate = 65535;
    int32_t FrameCount = 0;
};
