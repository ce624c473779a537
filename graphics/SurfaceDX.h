// The DirectDraw engine (engine 0): 22 pixel surfaces of the software display layer in the display's format,
// presentation into the window, display changes, lost surfaces and the light effect.
#pragma once

#include "graphics/SurfaceCommon.h"
#include "platform/Display.h"

#include <memory>

class TSurfaceDX : public TDisplayEngine {
public:
    TSurfaceDX();
    ~TSurfaceDX() override;

    void FillRectangle(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, int32_t Red,
                       int32_t Green, int32_t Blue) override;
    void WritePixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                     const uint8_t* Pixels) override;
    void WriteColoredPixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                            const uint8_t* Pixels, const uint8_t* MaskPixels, const int32_t* Colors) override;
    void Blit(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX, int32_t FromY,
              int32_t Width, int32_t Height) override;
    void BlitTransparent(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                         int32_t FromY, int32_t Width, int32_t Height, int32_t KeyRed, int32_t KeyGreen,
                         int32_t KeyBlue) override;
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
    void StretchBlitTransparent(int32_t ToSurface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                int32_t FromSurface, int32_t FromX, int32_t FromY, int32_t FromWidth,
                                int32_t FromHeight, int32_t KeyRed, int32_t KeyGreen, int32_t KeyBlue,
                                int32_t BackgroundRed, int32_t BackgroundGreen,
                                int32_t BackgroundBlue) override;
    void DrawShadedQuads(int32_t Surface, int32_t Count, const int32_t* Rectangles,
                         const int32_t* Colors) override;
    void SetSurfaceColorKey(int32_t Surface, int32_t Red, int32_t Green, int32_t Blue) override;

    void AttachClipper() override;
    void WindowMoved() override;
    void SetVideoMode(int32_t VMode, const TDisplayMode* GMode) override;
    void ReleaseSurfaces() override;
    void CreateSurfaces() override;
    void RestoreSurfaces(int32_t VMode, const TDisplayMode* GMode) override;
    void Present() override;
    bool SupportsLightEffects() override;
    void InitSurfaces() override;
    bool TestEngine() override;

    // The pixels of a surface, nullptr when it was not made (screenshots and pixel tests read them).
    const TPixelSurface* getPixels(int32_t Surface) const { return surface(Surface); }

private:
    // The surface of a valid index, or nullptr when it was not made.
    TPixelSurface* surface(int32_t Surface) const;
    bool createOffscreenSurface(int32_t Index, int32_t Width, int32_t Height, bool VideoOnly,
                                uint32_t Caps = 0);
    void createLightPart();
    bool drawIntoWindow();
    bool testLightEffects();
    void copy(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX, int32_t FromY,
              int32_t Width, int32_t Height, const int32_t* Key, const int32_t* Clip);
    void drawShadedQuad(int32_t x, int32_t y, int32_t Width, int32_t Height, const int32_t* Colors);
    void writePixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                     const uint8_t* Pixels, const uint8_t* MaskPixels, const int32_t* Colors);

    bool WindowPixels = false; // SCREEN_SURFACE is the window's own pixels
    std::shared_ptr<TPixelSurface> Surfaces[NUMBER_OF_SURFACES];
    bool Direct3D = false; // the display has a light part and it passed its test
    std::unique_ptr<TLightDevice> Light;
};
