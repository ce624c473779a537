// The OpenGL engine (engine 1): the frame drawn straight into the window's GL buffer, every other surface a
// texture drawn on through one shared off-screen buffer, and the probe that decides whether it can run.
#pragma once

#include "graphics/Engine.h"
#include "graphics/LightMap.h"
#include "graphics/Surface.h"
#include "platform/Display.h"
#include "platform/GLContext.h"

#include <memory>

inline constexpr int32_t NUMBER_OF_SURFACES_GL = 22;
// Texture filters of SetFilter, with OpenGL's numbers.
inline constexpr int32_t GL_TEXTURE_NEAREST = 0x2600, GL_TEXTURE_LINEAR = 0x2601;
// The off-screen buffer: as large as the largest off-screen surface (TEMP_SURFACE).
inline constexpr int32_t PBUFFER_WIDTH = 640, PBUFFER_HEIGHT = 480;

// The texture that holds one surface. Width and Height are the surface's size, the texture sizes the powers
// of two that hold it. The key colour becomes alpha 0 at upload.
struct TSurfaceTexture {
    uint32_t Texture = 0; // 0: none
    int32_t Width = 0, Height = 0;
    int32_t TextureWidth = 0, TextureHeight = 0;
    int32_t KeyRed = 1, KeyGreen = 1, KeyBlue = 1;
    bool Linear = false; // the texture's filter
};

// The smallest power of two not below Size; 1 for sizes up to 1.
int32_t TextureSize(int32_t Size);

// Whether the engine can run on the window: a context of 32 colour bits can be made and is not a software
// rasterizer, and ProbeOpenGL passes. Leaves no context current.
bool ProbeOpenGLEngine(TWindow* Window);
// Whether the current window context offers the off-screen buffer: the extensions load and a buffer can be
// made. Makes and deletes its own context on Window.
bool ProbeOpenGL(TWindow* Window);
// The entry of the engine module for this engine.
TEngineBackEnd OpenGLBackEnd();

class TSurfaceGL : public TSurface {
public:
    TSurfaceGL();
    ~TSurfaceGL() override;

    void SelectSurface(int32_t Surface) override;
    // GL_TEXTURE_NEAREST or GL_TEXTURE_LINEAR for the texture last bound as a source; each texture keeps its
    // own.
    void SetFilter(int32_t Filter) override;
    void FillRectangle(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, int32_t Red,
                       int32_t Green, int32_t Blue) override;
    void WritePixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                     const uint8_t* Pixels) override;
    void WriteColoredPixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                            const uint8_t* Pixels, const uint8_t* MaskPixels, const int32_t* Colors) override;
    void BlitClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                     int32_t FromY, int32_t Width, int32_t Height, int32_t ClipX, int32_t ClipY,
                     int32_t ClipWidth, int32_t ClipHeight) override;
    void BlitTransparentClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                                int32_t FromY, int32_t Width, int32_t Height, int32_t KeyRed,
                                int32_t KeyGreen, int32_t KeyBlue, int32_t ClipX, int32_t ClipY,
                                int32_t ClipWidth, int32_t ClipHeight) override;
    void StretchBlit(int32_t ToSurface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                     int32_t FromSurface, int32_t FromX, int32_t FromY, int32_t FromWidth,
                     int32_t FromHeight) override;
    void StretchBlitTransparentClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                       int32_t FromSurface, int32_t FromX, int32_t FromY, int32_t FromWidth,
                                       int32_t FromHeight, int32_t KeyRed, int32_t KeyGreen, int32_t KeyBlue,
                                       int32_t BackgroundRed, int32_t BackgroundGreen, int32_t BackgroundBlue,
                                       int32_t ClipX, int32_t ClipY, int32_t ClipWidth,
                                       int32_t ClipHeight) override;
    void DrawShadedQuads(int32_t Surface, int32_t Count, const int32_t* Rectangles,
                         const int32_t* Colors) override;
    void SetSurfaceColorKey(int32_t Surface, int32_t Red, int32_t Green, int32_t Blue) override;

    void WindowMoved() override;
    void SetVideoMode(int32_t VMode, const TDisplayMode* GMode) override;
    void ReleaseSurfaces() override;
    void CreateSurfaces() override;
    void InitVideo(int32_t VMode, const TDisplayMode* GMode) override;
    void RestoreSurfaces(int32_t VMode, const TDisplayMode* GMode) override;
    // Widens the bounding box of what was drawn on the current surface since it was selected.
    void AddDirtyRectangle(int32_t x, int32_t y, int32_t Width, int32_t Height) override;
    void Present() override;
    bool ChangeVideoMode(TWindow* Window, int32_t VMode, const TDisplayMode* GMode, bool Force) override;
    int32_t GetDisplayModes(std::unique_ptr<TDisplayMode[]>& List) override;
    TRectangle GetSurfaceRect(int32_t Surface) override;
    bool SurfacesRenewed(int32_t Type) override;
    bool SupportsLightEffects() override;
    int32_t GetSurfaceMemory(int32_t Index) override;
    void InitSurfaces() override;
    void ExitSurfaces() override;
    bool TestEngine() override;

    int32_t getCurrentSurface() const { return CurrentSurface; }
    const TSurfaceTexture& getTexture(int32_t Surface) const { return Textures[Surface]; }
    bool hasOffscreenBuffer() const { return Pbuffer != nullptr; }
    // Copies of the off-screen buffer into a texture so far (each surface left after drawing on it).
    int32_t getBufferCopies() const { return BufferCopies; }
    // Width x Height pixels at (x, y) of a surface as 4 bytes blue, green, red, 0, rows top first:
    // SCREEN_SURFACE from the window's buffer as composed so far, any other surface from its texture.
    void readPixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, uint8_t* Bgrx);

private:
    // Selects a surface to draw on; false when there is nothing to draw into (no context, no such texture).
    bool select(int32_t Surface);
    bool hasTexture(int32_t Surface) const;
    void bindSource(int32_t Surface, bool Linear);
    void restoreBuffer(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height);
    void createTexture(int32_t Surface, int32_t Width, int32_t Height);
    bool createPbuffer();
    void releasePbuffer();
    void deleteWindowContext();
    void upload(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, const uint8_t* Pixels,
                const uint8_t* MaskPixels, const int32_t* Colors);
    void keyStretchBackground(int32_t Red, int32_t Green, int32_t Blue);
    void multiplyByLight(const TPixelSurface& Light, TPixelRect Area);

    TPixelRect WindowRect{0, 0, 0, 0}; // the client area in screen coordinates
    int32_t DisplayWidth = 0, DisplayHeight = 0, DisplayBits = 0;
    std::unique_ptr<TDisplayDevice> Display; // display modes and full screen
    std::unique_ptr<TGLContext> WindowContext;
    std::unique_ptr<TGLFramebuffer> Pbuffer;
    TSurfaceTexture Textures[NUMBER_OF_SURFACES_GL];
    TLightMap LightMap;
    TSurfaceTexture LightTexture; // the light picture of DrawShadedQuads, made on first use
    TPixelRect SurfaceRect[NUMBER_OF_SURFACES_GL]{};
    bool RenewedFlags[3] = {};
    int32_t CurrentSurface = SCREEN_SURFACE;
    TPixelRect DirtyBox{0, 0, 0, 0}; // min x, min y, max x, max y drawn on CurrentSurface
    int32_t BufferCopies = 0;
    int32_t BoundSurface = -1; // the surface whose texture was last bound as a source
};
