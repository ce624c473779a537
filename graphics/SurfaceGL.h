// The OpenGL engine (engine 1): the frame drawn straight into the window's GL buffer, every other surface a
// texture drawn into through the off-screen framebuffer, copies and fills gathered into batches of triangles,
// and the probe that decides whether it can run.
#pragma once

#include "graphics/Engine.h"
#include "graphics/LightMap.h"
#include "graphics/Surface.h"
#include "platform/Display.h"
#include "platform/GLContext.h"

#include <memory>
#include <vector>

inline constexpr int32_t NUMBER_OF_SURFACES_GL = 22;
// Texture filters of SetFilter, with OpenGL's numbers.
inline constexpr int32_t GL_TEXTURE_NEAREST = 0x2600, GL_TEXTURE_LINEAR = 0x2601;

// The texture that holds one surface, and where in it. Width and Height are the surface's size, at (X, Y) of
// a texture of TextureWidth x TextureHeight (powers of two). The pages share one texture, side by side, with
// a white block below them that fills are drawn from. The key colour becomes alpha 0 at upload.
struct TSurfaceTexture {
    uint32_t Texture = 0; // 0: none
    int32_t X = 0, Y = 0;
    int32_t Width = 0, Height = 0;
    int32_t TextureWidth = 0, TextureHeight = 0;
    int32_t KeyRed = 1, KeyGreen = 1, KeyBlue = 1;
    bool Linear = false; // the texture's filter (for a page: the shared texture's, kept with the first page)
};

// Whether the engine can run on the window: a context of 32 colour bits can be made and is not a software
// rasterizer, and ProbeOpenGL passes. Leaves no context current.
bool ProbeOpenGLEngine(TWindow* Window);
// Whether a context on Window offers the off-screen framebuffer: the extensions load and a framebuffer can
// draw into a texture. Makes and deletes its own context on Window.
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
    void StretchBlit(int32_t ToSurface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                     int32_t FromSurface, int32_t FromX, int32_t FromY, int32_t FromWidth,
                     int32_t FromHeight) override;
    void DrawShadedQuads(int32_t Surface, int32_t Count, const int32_t* Rectangles,
                         const int32_t* Colors) override;
    void SetSurfaceColorKey(int32_t Surface, int32_t Red, int32_t Green, int32_t Blue) override;

    void WindowMoved() override;
    void SetVideoMode(int32_t VMode, const TDisplayMode* GMode) override;
    void ReleaseSurfaces() override;
    void CreateSurfaces() override;
    void InitVideo(int32_t VMode, const TDisplayMode* GMode) override;
    void RestoreSurfaces(int32_t VMode, const TDisplayMode* GMode) override;
    void Present() override;
    bool ChangeVideoMode(TWindow* Window, int32_t VMode, const TDisplayMode* GMode, bool Force) override;
    int32_t GetDisplayModes(std::unique_ptr<TDisplayMode[]>& List) override;
    TRectangle GetSurfaceRect(int32_t Surface) override;
    bool SurfacesRenewed(int32_t Type) override;
    bool SupportsLightEffects() override;
    bool ComposedCopiesPay() const override { return false; }
    int32_t GetSurfaceMemory(int32_t Index) override;
    void InitSurfaces() override;
    void ExitSurfaces() override;
    bool TestEngine() override;

    int32_t getCurrentSurface() const { return CurrentSurface; }
    const TSurfaceTexture& getTexture(int32_t Surface) const { return Textures[Surface]; }
    bool hasOffscreenBuffer() const { return OffscreenBuffer != nullptr; }
    // How often the batch of triangles was drawn since the surfaces were made (tests of the batching).
    int32_t getFlushCount() const { return FlushCount; }
    // Draws what the batch holds.
    void flush();
    // Width x Height pixels at (x, y) of a surface as 4 bytes blue, green, red, 0, rows top first:
    // SCREEN_SURFACE from the window's buffer as composed so far, any other surface from its texture.
    void readPixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, uint8_t* Bgrx);

protected:
    void keyStretchedBackground(int32_t Red, int32_t Green, int32_t Blue) override;

private:
    // Selects a surface to draw on; false when there is nothing to draw into (no context, no such texture).
    bool select(int32_t Surface);
    bool hasTexture(int32_t Surface) const;
    // The record that keeps the filter of the surface's texture: the first page's for every page.
    TSurfaceTexture& filterOwner(int32_t Surface);
    void bindSource(int32_t Surface, bool Linear);
    // Adds the rectangle (Left, Top, Right, Bottom) of the target textured with (U0, V0) .. (U1, V1) in
    // texels of Source, each texel multiplied by the colour, to the batch; the batch is drawn first when it
    // holds triangles of another texture or filter.
    void addQuad(float Left, float Top, float Right, float Bottom, const TSurfaceTexture& Source, float U0,
                 float V0, float U1, float V1, uint32_t Rgba = 0xFFFFFFFFu);
    void createTexture(int32_t Surface, int32_t Width, int32_t Height);
    void createPages();
    void deleteWindowContext();
    void upload(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, const uint8_t* Pixels,
                const uint8_t* MaskPixels, const int32_t* Colors);
    void multiplyByLight(const TPixelSurface& Light, TPixelRect Area);

    TPixelRect WindowRect{0, 0, 0, 0}; // the client area in screen coordinates
    int32_t DisplayWidth = 0, DisplayHeight = 0, DisplayBits = 0;
    std::unique_ptr<TDisplayDevice> Display; // display modes and full screen
    std::unique_ptr<TGLContext> WindowContext;
    std::unique_ptr<TGLFramebuffer> OffscreenBuffer;
    TSurfaceTexture Textures[NUMBER_OF_SURFACES_GL];
    TLightMap LightMap;
    TSurfaceTexture LightTexture; // the light picture of DrawShadedQuads, made on first use
    TPixelRect SurfaceRect[NUMBER_OF_SURFACES_GL]{};
    bool RenewedFlags[3] = {};
    int32_t CurrentSurface = SCREEN_SURFACE;
    int32_t BoundSurface = -1; // the surface whose texture was last bound as a source
    // Triangles waiting to be drawn onto CurrentSurface, all of one texture and filter.
    std::vector<TGLVertex> Batch;
    uint32_t BatchTexture = 0;
    bool BatchLinear = false;
    int32_t FlushCount = 0;
    float WhiteX = 0, WhiteY = 0; // the middle of the white block, in texels from the first page
};
