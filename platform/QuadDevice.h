// The device of the Direct3D 9 engine: textures, colour fills and batches of textured, vertex-coloured quads
// over an SDL renderer on the program's window, with presentation and an injectable lost device.
#pragma once

#include "platform/PixelSurface.h"

#include <cstdint>
#include <memory>
#include <string>

class TWindow;
struct SDL_Renderer;
struct SDL_Texture;

// One corner of a quad: position in target pixels (pixel centres at .5), colour as red, green, blue, alpha
// bytes, texture coordinates 0 to 1. Laid out as the renderer takes it, so batches go through without a copy.
struct TQuadVertex {
    float x, y;
    uint8_t Red, Green, Blue, Alpha;
    float u, v;
};

// States of the device as the engine polls them once per frame.
enum TDeviceState : int32_t {
    DEVICE_OK = 0,
    DEVICE_LOST,      // the display is taken away; drawing has no effect and the device cannot be reset yet
    DEVICE_NOT_RESET, // the display is back; the device must be reset and everything made again
};

// Faults and choices that tests put in place of the machine's. Read when the device is asked.
struct TQuadDeviceFaults {
    bool NoLibrary = false;         // no renderer that can draw into textures is available
    bool NoDevice = false;          // creating a device fails
    int32_t FailingTexture = 0;     // above 0: the n-th texture a device makes fails
    std::string Driver;             // not empty: the render driver to use ("opengl", "software", ...)
    TDeviceState State = DEVICE_OK; // the state that testCooperativeLevel reports while no display event says
                                    // otherwise
};
void SetQuadDeviceFaults(const TQuadDeviceFaults& Faults);
const TQuadDeviceFaults& GetQuadDeviceFaults();
void ClearQuadDeviceFaults();

// How a texture is sampled when a quad scales it.
enum TTextureFilter : int32_t { FILTER_LINEAR = 0, FILTER_POINT = 1 };

// A texture of 32-bit texels 0xAARRGGBB. Made and owned by one device; it must not outlive it.
class TQuadTexture {
public:
    ~TQuadTexture();
    TQuadTexture(const TQuadTexture&) = delete;
    TQuadTexture& operator=(const TQuadTexture&) = delete;
    int32_t getWidth() const { return Width; }
    int32_t getHeight() const { return Height; }

private:
    friend class TQuadDevice;
    TQuadTexture(SDL_Texture* Native, int32_t Width, int32_t Height)
        : Native(Native), Width(Width), Height(Height) {}
    SDL_Texture* Native;
    int32_t Width, Height;
};

// One renderer on the window; destroyed before the window and before another engine uses the window. One
// thread. Every drawing call names its target texture; quads blend with source alpha over the target.
class TQuadDevice {
public:
    // Whether a renderer that draws into textures exists on this machine (the library can be loaded).
    static bool isAvailable();
    // A hardware renderer on Window (any renderer when a test names the driver). FullScreen takes the display
    // at Width x Height; the window gets its former size back when the device goes.
    static TPlatformResult create(TWindow* Window, bool FullScreen, int32_t Width, int32_t Height,
                                  std::unique_ptr<TQuadDevice>& Device);
    ~TQuadDevice();
    TQuadDevice(const TQuadDevice&) = delete;
    TQuadDevice& operator=(const TQuadDevice&) = delete;

    // A texture of Width x Height texels; Target textures can be drawn into.
    TPlatformResult createTexture(int32_t Width, int32_t Height, bool Target, TTextureFilter Filter,
                                  std::unique_ptr<TQuadTexture>& Texture);
    // A texture that multiplies what it is drawn over, channel by channel ((d t + 127) / 255); its texels are
    // 0x00RRGGBB (the top byte unused), sampled at the nearest texel, written by update.
    TPlatformResult createMultiplyTexture(int32_t Width, int32_t Height,
                                          std::unique_ptr<TQuadTexture>& Texture);
    // Sets the texels of Rect to Argb colour, without blending.
    TPlatformResult colorFill(TQuadTexture& Target, TPixelRect Rect, uint32_t Argb);
    // Draws Count vertices as triangles of Texture into Target, blended as the texture was made to.
    TPlatformResult drawTriangles(TQuadTexture& Target, TQuadTexture& Texture, const TQuadVertex* Vertices,
                                  int32_t Count);
    // Texels of Rect from Texels (Pitch bytes from row to row), without blending.
    TPlatformResult update(TQuadTexture& Texture, TPixelRect Rect, const uint32_t* Texels, int32_t Pitch);
    // Texels of Rect of a target texture into Texels.
    TPlatformResult read(TQuadTexture& Texture, TPixelRect Rect, uint32_t* Texels, int32_t Pitch);
    // Shows From of Screen at the top left of the window.
    TPlatformResult present(TQuadTexture& Screen, TPixelRect From);

    TDeviceState testCooperativeLevel() const;
    // Takes the device out of DEVICE_NOT_RESET; every texture's content is undefined afterwards.
    TPlatformResult reset();
    const char* getDriverName() const;
    // Whether the device draws with the graphics processor: not when GL is a software rasterizer (llvmpipe,
    // softpipe), nor for the software renderer. A renderer that a test named counts as hardware.
    bool isHardware() const;

private:
    TQuadDevice(TWindow* Window, SDL_Renderer* Renderer, bool FullScreen, int32_t WindowedWidth,
                int32_t WindowedHeight);
    bool selectTarget(TQuadTexture* Target);
    TPlatformResult makeTexture(int32_t Width, int32_t Height, uint32_t Format, int32_t Access, int32_t Blend,
                                TTextureFilter Filter, std::unique_ptr<TQuadTexture>& Texture);
    static int watchEvents(void* Device, union SDL_Event* Event);

    TWindow* Window;
    SDL_Renderer* Renderer;
    bool FullScreen;
    int32_t WindowedWidth, WindowedHeight;
    int32_t TexturesMade = 0;
    bool TargetsReset = false; // the renderer reported that its textures lost their content
};
