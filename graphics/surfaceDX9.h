// The Direct3D 9 engine (engine 2): every surface a texture of the quad device, SCREEN_SURFACE its back
// buffer; fills go to the device at once, copies become textured quads drawn in batches.
#pragma once

#include "graphics/Engine.h"
#include "graphics/LightMap.h"
#include "graphics/SurfaceCommon.h"
#include "platform/Display.h"
#include "platform/QuadDevice.h"

#include <memory>
#include <vector>

inline constexpr int32_t NUMBER_OF_SURFACES_DX9 = NUMBER_OF_SURFACES;
// Vertices of one batch: 1600 quads of two triangles.
inline constexpr int32_t QUAD_BATCH_VERTICES = 9600;

// The engine's entry in the engine module: made by GetSurface, probed by whether a renderer exists.
TEngineBackEnd Direct3D9BackEnd();

class TSurfaceDX9 : public TDisplayEngine {
public:
    TSurfaceDX9();
    ~TSurfaceDX9() override;

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

    void SetVideoMode(int32_t VMode, const TDisplayMode* GMode) override;
    void ReleaseSurfaces() override;
    void CreateSurfaces() override;
    void RestoreSurfaces(int32_t VMode, const TDisplayMode* GMode) override;
    void Present() override;
    // Surface, x, y, width, height: the extent that drawing and presentation use from now on.
    void SetViewport(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height);
    bool SupportsLightEffects() override;
    bool ComposedCopiesPay() const override { return false; }
    void InitSurfaces() override;
    bool TestEngine() override;

    // Draws what the batch holds; the next Present does it anyway.
    void FlushQuads();
    // Texels of Rect of a surface as 0xAARRGGBB, row by row; false when the surface is not made (tests and
    // screenshots read them). Flushes the batch first.
    bool readPixels(int32_t Surface, TPixelRect Rect, uint32_t* Texels);
    // How often the batch was drawn since the surfaces were made (tests of the batching).
    int32_t getFlushCount() const { return FlushCount; }
    const char* getDriverName() const { return Device ? Device->getDriverName() : ""; }

protected:
    void keyStretchedBackground(int32_t Red, int32_t Green, int32_t Blue) override;

private:
    // The texture a surface lives in (the pages share one) and where in it the surface begins.
    TQuadTexture* texture(int32_t Surface) const;
    int32_t originX(int32_t Surface) const;
    int32_t originY(int32_t Surface) const;
    void createTexture(int32_t Surface, int32_t Width, int32_t Height, bool Target, int32_t Error);
    void createPages();
    void selectRenderTarget(int32_t Surface);
    void selectTexture(int32_t Surface);
    void addTexturedQuad(float Left, float Top, float Right, float Bottom, float uLeft, float uRight,
                         float vTop, float vBottom, const uint32_t Corners[4]);
    void addQuad(std::vector<TQuadVertex>& Batch, float Left, float Top, float Right, float Bottom,
                 float uLeft, float uRight, float vTop, float vBottom, const uint32_t Corners[4]);
    void uploadTexels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                      const uint32_t* Texels);
    void multiplyByLight(const TPixelSurface& Light, TPixelRect Area);

    std::unique_ptr<TQuadDevice> Device;
    // Textures are released before the device that made them.
    std::unique_ptr<TQuadTexture> Texture[NUMBER_OF_SURFACES_DX9]; // SCREEN_SURFACE's is the back buffer
    // The pages side by side in one texture, so that copies from different pages go into one batch; below
    // them a block of white texels, from which fills are drawn in the same batches.
    std::unique_ptr<TQuadTexture> PageTexture;
    float WhiteU = 0, WhiteV = 0; // the middle of the white block
    std::unique_ptr<TQuadTexture> StagingTexture;
    std::unique_ptr<TQuadTexture> LightTexture; // the light picture of DrawShadedQuads, made on first use
    TLightMap LightMap;
    uint32_t KeyColor[NUMBER_OF_SURFACES_DX9]{}; // 0xFFRRGGBB of each surface's key, 0 when none
    std::vector<TQuadVertex> QuadBatch, LightQuadBatch;
    int32_t CurrentTexture = 0, CurrentTarget = -1; // the batch's source (SPRITE_SURFACE for every page)
    int32_t FlushCount = 0;
    std::vector<uint32_t> Texels; // scratch of the uploads and read-backs, kept to spare allocations
};
