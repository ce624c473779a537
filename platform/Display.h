// The display device of the software engine: display modes, full screen, surface creation with a video memory
// budget, the light device and presentation into the window; failures can be injected for tests.
#pragma once

#include "platform/PixelSurface.h"

#include <cstdint>
#include <memory>
#include <vector>

class TWindow;

struct TDisplayModeInfo {
    int32_t Width, Height, BitsPerPixel, RefreshRate; // refresh rate 0 when not known
};

// Faults and machine properties that tests put in place of the real display. Devices read them when they
// are created (the memory budget, the mode list) or when they are asked (everything else).
struct TDisplayFaults {
    bool NoDevice = false;               // creating a device fails
    int32_t DisplayBits = 0;             // above 0: the display reports this many bits per pixel
    int64_t VideoMemoryBytes = -1;       // 0 or more: video memory of a new device, in bytes
    bool NoLightDevice = false;          // the display has no 3D part for the light effect
    bool LightWithoutEffect = false;     // the light device draws but changes nothing
    bool ExclusiveElsewhere = false;     // another program holds the display exclusively
    bool NoHardwareStretch = false;      // the blitter reports that it cannot scale
    int32_t FailingSurface = 0;          // above 0: the n-th surface a device makes fails in every memory
    std::vector<TDisplayModeInfo> Modes; // not empty: a simulated display with exactly these modes
};

void SetDisplayFaults(const TDisplayFaults& Faults);
const TDisplayFaults& GetDisplayFaults();
void ClearDisplayFaults();

// Marks every living surface of every device lost, as a display change by another program would.
void LoseAllSurfaces();

// Scaling abilities of the blitter.
struct TDisplayCaps {
    bool ShrinkX, StretchX, ShrinkY, StretchY;
};

// Draws shaded quads into the one renderable surface it was made for (the light effect).
class TLightDevice {
public:
    TLightDevice(std::shared_ptr<TPixelSurface> Target, bool WithoutEffect)
        : Target(std::move(Target)), WithoutEffect(WithoutEffect) {}
    // See TPixelSurface::multiplyShadedQuads.
    TPlatformResult drawShadedQuads(int32_t Count, const int32_t* Rectangles, const int32_t* Colors);
    const std::shared_ptr<TPixelSurface>& getTarget() const { return Target; }

private:
    std::shared_ptr<TPixelSurface> Target;
    bool WithoutEffect;
};

// One per engine generation. Not copyable; one thread.
class TDisplayDevice {
public:
    static TPlatformResult create(std::unique_ptr<TDisplayDevice>& Device);
    ~TDisplayDevice();
    TDisplayDevice(const TDisplayDevice&) = delete;
    TDisplayDevice& operator=(const TDisplayDevice&) = delete;

    TPlatformResult getCaps(TDisplayCaps& Caps) const;

    // Normal (windowed) or exclusive (full screen) use of Window. Going back to normal leaves full screen and
    // gives the window its former size again.
    TPlatformResult setCooperativeLevel(TWindow* Window, bool Exclusive);
    // Exclusive use only: switches the display to the mode. Bits 16 makes every new surface 5-6-5 whatever
    // the window system's own depth; presentation converts.
    TPlatformResult setDisplayMode(int32_t Width, int32_t Height, int32_t Bits);
    // The display's current size and depth.
    TPlatformResult getDisplayMode(TDisplayModeInfo& Mode) const;
    TPlatformResult enumDisplayModes(std::vector<TDisplayModeInfo>& Modes) const;
    // PLATFORM_EXCLUSIVE_ELSEWHERE while another program holds the display.
    TPlatformResult testCooperativeLevel() const;

    // A surface in the display's current format. SURFACE_PRIMARY makes the display surface (the window's
    // client area, or the mode's size in full screen), with SURFACE_FLIP one back buffer of the same size
    // that getBackBuffer answers. SURFACE_VIDEO_MEMORY takes the bytes from the video memory budget or fails.
    TPlatformResult createSurface(int32_t Width, int32_t Height, uint32_t Caps,
                                  std::shared_ptr<TPixelSurface>& Surface);
    std::shared_ptr<TPixelSurface> getBackBuffer() const { return BackBuffer; }
    // Windowed: a surface over the window's own pixels, so that presenting it copies nothing. Unsupported
    // where the window keeps another format than the display's surfaces or must be locked. A surface made
    // before the window changed size is no longer the window's (isWindowSurface answers false): make a new
    // one.
    TPlatformResult createWindowSurface(std::shared_ptr<TPixelSurface>& Surface);
    bool isWindowSurface(const TPixelSurface& Surface) const;

    // Whether the display has a 3D part for the light effect at all.
    bool hasLight() const;
    // A light device drawing into Target, which must be renderable.
    TPlatformResult createLightDevice(std::shared_ptr<TPixelSurface> Target,
                                      std::unique_ptr<TLightDevice>& Light);

    // Shows From of Screen at the top left of the window's client area and updates the window (a window
    // surface is shown as it is).
    TPlatformResult present(const TPixelSurface& Screen, TPixelRect From);

    int64_t getFreeVideoMemory() const { return Pool->getFree(); }

private:
    TDisplayDevice();
    int32_t displayBits() const;

    TWindow* Window = nullptr;
    bool Exclusive = false;
    bool FullScreen = false;
    TDisplayModeInfo FullScreenMode{0, 0, 0, 0};
    int32_t WindowedWidth = 0, WindowedHeight = 0; // size to give back when full screen ends
    int32_t SurfacesMade = 0;
    std::shared_ptr<TVideoMemoryPool> Pool;
    std::shared_ptr<TPixelSurface> BackBuffer;
};
