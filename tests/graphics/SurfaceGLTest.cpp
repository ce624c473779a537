// The OpenGL engine on a real GL context (SDL's offscreen driver, Mesa's software rasterizer): surface
// selection and the off-screen buffer, uploads, the stretch, mode changes and the probe. How it draws the
// canned scenes beside the other engines is ParityTest's. Without a working GL these tests fail; they never
// skip.
#include "graphics/SurfaceGL.h"

#include "foundation/Exception.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "platform/Window.h"
#include "state/Preferences.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// Real GL contexts without an X server; set before the first window is made.
const bool OffscreenDriver = setenv("SDL_VIDEODRIVER", "offscreen", 1) == 0;

std::string ExceptionText(const std::function<void()>& Body) {
    try {
        Body();
    } catch (const TMyException& E) {
        return E.getText();
    }
    return "no exception";
}

class OpenGLEngine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OffscreenDriver);
        ResetEngineModule();
        ResetOptions();
        Window = TWindow::create("gl test", 640, 480, false);
        ASSERT_NE(Window, nullptr) << GetPlatformError();
        RegisterEngineBackEnds();
        StartGraphicEngine(Window.get(), ENGINE_OPENGL);
        Engine = dynamic_cast<TSurfaceGL*>(GetSurface());
        ASSERT_NE(Engine, nullptr);
        Engine->InitSurfaces();
        ASSERT_TRUE(Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false))
            << GetPlatformError();
        ASSERT_TRUE(Engine->hasOffscreenBuffer()) << "no OpenGL with framebuffer objects on this machine";
    }
    void TearDown() override {
        if (Engine != nullptr) Engine->ExitSurfaces();
        SurfaceExitInstance();
        ResetEngineModule();
        Window.reset();
    }
    // Pixel (x, y) of a surface as red << 16 | green << 8 | blue.
    uint32_t pixel(int32_t Surface, int32_t x, int32_t y) {
        uint8_t Bgrx[4] = {};
        Engine->readPixels(Surface, x, y, 1, 1, Bgrx);
        return static_cast<uint32_t>(Bgrx[2]) << 16 | Bgrx[1] << 8 | Bgrx[0];
    }
    // Alpha of a texel of a surface's texture.
    uint8_t alpha(int32_t Surface, int32_t x, int32_t y) {
        const TSurfaceTexture& T = Engine->getTexture(Surface);
        std::vector<uint8_t> Bgra(static_cast<size_t>(T.TextureWidth) * T.TextureHeight * 4);
        Engine->SelectSurface(SCREEN_SURFACE);
        GLReadTexture(T.Texture, Bgra.data());
        return Bgra[(static_cast<size_t>(T.Y + y) * T.TextureWidth + T.X + x) * 4 + 3];
    }

    std::unique_ptr<TWindow> Window;
    TSurfaceGL* Engine = nullptr;
};

} // namespace

TEST_F(OpenGLEngine, SurfacesAndTheirChecks) {
    const TRectangle Temp = Engine->GetSurfaceRect(TEMP_SURFACE);
    EXPECT_EQ(Temp.Width, 640);
    EXPECT_EQ(Temp.Height, 480);
    const TRectangle Page = Engine->GetSurfaceRect(SPRITE_SURFACE);
    EXPECT_EQ(Page.Width, 256);
    EXPECT_EQ(Page.Height, 256);
    EXPECT_EQ(Engine->getTexture(TEMP_SURFACE).TextureWidth, 1024);
    EXPECT_EQ(Engine->getTexture(AUTOMAP_SURFACE).TextureHeight, 128);
    EXPECT_EQ(Engine->GetNumberOfPages(), 16);
    EXPECT_EQ(GetPageWidth(), 256);
    // Every surface, the last pages too, lives in video memory.
    EXPECT_EQ(Engine->GetSurfaceMemory(21), MEMORY_VIDEO);
    EXPECT_EQ(ExceptionText([&] {
                  Engine->GetSurfaceRect(22);
              }).find("In(Surface,0,NUMBER_OF_SURFACES_GL-1)") != std::string::npos,
              true);
    EXPECT_TRUE(Engine->SurfacesRenewed(1));
    EXPECT_FALSE(Engine->SurfacesRenewed(1));
    EXPECT_NE(ExceptionText([&] { Engine->SurfacesRenewed(3); }).find("Type>=0 && Type<3"),
              std::string::npos);
    EXPECT_NE(ExceptionText([&] {
                  Engine->WritePixels(SCREEN_SURFACE, 0, 0, 1, 1, nullptr);
              }).find("ToSurface!=SCREEN_SURFACE"),
              std::string::npos);
    EXPECT_NE(ExceptionText([&] {
                  Engine->Blit(SCREEN_SURFACE, 0, 0, SCREEN_SURFACE, 0, 0, 4, 4);
              }).find("FromSurface != SCREEN_SURFACE"),
              std::string::npos);
}

TEST_F(OpenGLEngine, OffscreenDrawingGoesIntoTheSurfacesTexture) {
    Engine->FillRectangle(CACHE_SURFACE, 10, 20, 5, 5, 200, 100, 50);
    EXPECT_EQ(Engine->getCurrentSurface(), CACHE_SURFACE);
    Engine->Blit(SCREEN_SURFACE, 0, 0, CACHE_SURFACE, 10, 20, 5, 5);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 4, 4), 0xC86432u);
    EXPECT_EQ(pixel(CACHE_SURFACE, 14, 24), 0xC86432u);
    // Going from one off-screen surface to another keeps what was drawn on both.
    Engine->FillRectangle(AUTOMAP_SURFACE, 0, 0, 2, 2, 1, 2, 3);
    Engine->FillRectangle(CACHE_SURFACE, 0, 0, 2, 2, 4, 5, 6);
    EXPECT_EQ(pixel(AUTOMAP_SURFACE, 1, 1), 0x010203u);
    EXPECT_EQ(pixel(CACHE_SURFACE, 1, 1), 0x040506u);
    EXPECT_EQ(pixel(CACHE_SURFACE, 14, 24), 0xC86432u);
}

// Copies from any page and fills go into one batch, drawn when the texture, the filter or the surface drawn
// on changes; an upload draws the batch first, so that the copies show the texels they were made with.
TEST_F(OpenGLEngine, CopiesAndFillsAreDrawnInBatches) {
    const uint8_t Red[3] = {255, 0, 0}, Blue[3] = {0, 0, 255};
    Engine->WritePixels(SPRITE_SURFACE, 0, 0, 1, 1, Red);
    Engine->WritePixels(SPRITE_SURFACE + 15, 0, 0, 1, 1, Blue);
    Engine->SelectSurface(SCREEN_SURFACE);
    const int32_t Flushes = Engine->getFlushCount();
    Engine->FillRectangle(SCREEN_SURFACE, 0, 0, 8, 8, 9, 9, 9);
    Engine->Blit(SCREEN_SURFACE, 1, 1, SPRITE_SURFACE, 0, 0, 1, 1);
    Engine->Blit(SCREEN_SURFACE, 2, 2, SPRITE_SURFACE + 15, 0, 0, 1, 1);
    EXPECT_EQ(Engine->getFlushCount(), Flushes);
    Engine->StretchBlit(SCREEN_SURFACE, 4, 4, 2, 2, SPRITE_SURFACE, 0, 0, 1, 1); // linear: a new batch
    EXPECT_EQ(Engine->getFlushCount(), Flushes + 1);
    Engine->WritePixels(SPRITE_SURFACE, 0, 0, 1, 1, Blue);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 1, 1), 0xFF0000u);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 2, 2), 0x0000FFu);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 5, 5), 0xFF0000u);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 0, 0), 0x090909u);
}

TEST_F(OpenGLEngine, UploadsKeyAndRecolour) {
    Engine->SetColorKey(SPRITE_SURFACE, 255, 0, 255);
    const uint8_t Pixels[6] = {255, 0, 255, 10, 20, 30};
    Engine->WritePixels(AUTOMAP_SURFACE, 0, 0, 2, 1, Pixels);
    EXPECT_EQ(Engine->getCurrentSurface(), SCREEN_SURFACE);
    Engine->WritePixels(SPRITE_SURFACE, 0, 0, 2, 1, Pixels);
    EXPECT_EQ(Engine->getCurrentSurface(), SPRITE_SURFACE);
    EXPECT_EQ(alpha(SPRITE_SURFACE, 0, 0), 0);
    EXPECT_EQ(alpha(SPRITE_SURFACE, 1, 0), 255);
    // A font tile: white becomes the text colour scaled by brightness, the picture's key stays transparent.
    const int32_t Font[12] = {255, 0, 0, 255, 0, 255};
    const uint8_t Glyph[6] = {255, 255, 255, 255, 0, 255};
    Engine->SetColorKey(SPRITE_SURFACE + 1, 255, 0, 255); // the page's key is the picture's
    Engine->WriteColoredPixels(SPRITE_SURFACE + 1, 0, 0, 2, 1, Glyph, nullptr, Font);
    Engine->SetColorKey(SPRITE_SURFACE + 2, 10, 20, 30);
    const uint8_t Mask[6] = {10, 20, 30, 255, 0, 0};
    const uint8_t Sprite[6] = {10, 20, 30, 100, 100, 100};
    const int32_t Outfit[12] = {0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0};
    Engine->WriteColoredPixels(SPRITE_SURFACE + 2, 0, 0, 2, 1, Sprite, Mask, Outfit);
    EXPECT_EQ(pixel(SPRITE_SURFACE + 1, 0, 0), 0xFE0000u);
    EXPECT_EQ(alpha(SPRITE_SURFACE + 1, 1, 0), 0);
    EXPECT_EQ(alpha(SPRITE_SURFACE + 2, 0, 0), 0); // other mask colour: kept, and keyed as it is the key
    EXPECT_EQ(pixel(SPRITE_SURFACE + 2, 1, 0), 0x000063u);
    // Drawn, the transparent texel leaves the target as it was.
    Engine->FillRectangle(SCREEN_SURFACE, 0, 0, 4, 4, 9, 9, 9);
    Engine->BlitTransparent(SCREEN_SURFACE, 0, 0, SPRITE_SURFACE, 0, 0, 2, 1, 255, 0, 255);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 0, 0), 0x090909u);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 1, 0), 0x0A141Eu);
}

TEST_F(OpenGLEngine, UploadIntoTheSurfaceBeingDrawnOnIsNotOverwritten) {
    Engine->FillRectangle(AUTOMAP_SURFACE, 0, 0, 10, 10, 50, 50, 50);
    const uint8_t Pixels[3] = {1, 2, 3};
    Engine->WritePixels(AUTOMAP_SURFACE, 5, 5, 1, 1, Pixels);
    Engine->SelectSurface(SCREEN_SURFACE);
    EXPECT_EQ(pixel(AUTOMAP_SURFACE, 5, 5), 0x010203u);
    EXPECT_EQ(pixel(AUTOMAP_SURFACE, 4, 4), 0x323232u);
}

TEST_F(OpenGLEngine, BordersClipsAndLines) {
    Engine->FillRectangle(SCREEN_SURFACE, 0, 0, 40, 40, 0, 0, 0);
    Engine->DrawBorder(SCREEN_SURFACE, 0, 0, 10, 10, 5, 255, 255, 255);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 4, 4), 0xFFFFFFu);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 5, 5), 0xFFFFFFu);
    Engine->DrawBorder(SCREEN_SURFACE, 20, 0, 10, 10, 2, 255, 0, 0);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 25, 5), 0u);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 29, 9), 0xFF0000u);
    Engine->DrawHorizontalLine(SCREEN_SURFACE, 0, 20, 3, 0, 255, 0);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 2, 20), 0x00FF00u);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 3, 20), 0u);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 0, 21), 0u);
    Engine->SetPixel(SCREEN_SURFACE, 7, 30, 0, 0, 255);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 7, 30), 0x0000FFu);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 8, 30), 0u);
    // A clip box that the target only touches at its right edge: nothing drawn.
    Engine->FillRectangle(CACHE_SURFACE, 0, 0, 4, 4, 7, 7, 7);
    Engine->FillRectangle(AUTOMAP_SURFACE, 0, 0, 30, 4, 1, 1, 1);
    Engine->BlitClipped(AUTOMAP_SURFACE, 20, 0, CACHE_SURFACE, 0, 0, 4, 4, 0, 0, 20, 20);
    EXPECT_EQ(pixel(AUTOMAP_SURFACE, 21, 1), 0x010101u);
}

TEST_F(OpenGLEngine, StretchOfEqualSizeIsAPlainCopyAndTheBackgroundTurnsTransparent) {
    Engine->SetColorKey(SPRITE_SURFACE, 255, 0, 255);
    std::vector<uint8_t> Tile(32 * 32 * 3, 200);
    Engine->WritePixels(SPRITE_SURFACE, 0, 0, 32, 32, Tile.data());
    Engine->FillRectangle(TEMP_SURFACE, 0, 0, 40, 40, 5, 5, 5);
    Engine->FillRectangle(STRETCH_SURFACE, 0, 0, 64, 64, 71, 71, 71);
    Engine->StretchBlitTransparentClipped(SCREEN_SURFACE, 0, 0, 32, 32, SPRITE_SURFACE, 0, 0, 32, 32, 255, 0,
                                          255, 71, 71, 71, 0, 0, 640, 480);
    EXPECT_EQ(pixel(TEMP_SURFACE, 20, 20), 0x050505u); // neither scratch surface touched
    EXPECT_EQ(pixel(STRETCH_SURFACE, 20, 20), 0x474747u);
    Engine->FillRectangle(SCREEN_SURFACE, 0, 0, 64, 64, 0, 0, 0);
    Engine->StretchBlitTransparentClipped(SCREEN_SURFACE, 0, 0, 16, 16, SPRITE_SURFACE, 0, 0, 32, 32, 255, 0,
                                          255, 71, 71, 71, 0, 0, 640, 480);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 8, 8), 0xC8C8C8u);
    // Past the scaled picture STRETCH_SURFACE holds the background, which is not drawn.
    Engine->BlitTransparent(SCREEN_SURFACE, 20, 0, STRETCH_SURFACE, 0, 0, 20, 20, 71, 71, 71);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 38, 18), 0u);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 28, 8), 0xC8C8C8u);
}

TEST_F(OpenGLEngine, ModeChangesRebuildOnlyWhenAsked) {
    EXPECT_TRUE(Engine->SurfacesRenewed(0));
    EXPECT_TRUE(Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false));
    EXPECT_FALSE(Engine->SurfacesRenewed(1)); // unchanged: nothing made anew
    SetDisplayChanged(true);
    EXPECT_TRUE(Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false));
    EXPECT_FALSE(Engine->SurfacesRenewed(1));
    EXPECT_TRUE(Engine->SurfacesRenewed(2));
    EXPECT_FALSE(GetDisplayChanged());
    // Forced while an off-screen surface is being drawn on: the new context starts on the screen.
    Engine->FillRectangle(TEMP_SURFACE, 0, 0, 4, 4, 1, 1, 1);
    EXPECT_TRUE(Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, true));
    EXPECT_EQ(Engine->getCurrentSurface(), SCREEN_SURFACE);
    EXPECT_TRUE(Engine->SurfacesRenewed(1));
    Engine->FillRectangle(TEMP_SURFACE, 0, 0, 4, 4, 30, 60, 90);
    EXPECT_EQ(pixel(TEMP_SURFACE, 3, 3), 0x1E3C5Au);
    Engine->Present();
}

TEST_F(OpenGLEngine, EnginesFollowOneAnotherOnTheWindow) {
    Engine->ExitSurfaces();
    SurfaceExitInstance();
    SetGraphicEngine(ENGINE_DIRECTDRAW);
    TSurface* Software = GetSurface();
    Software->InitSurfaces();
    EXPECT_TRUE(Software->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false));
    Software->FillRectangle(SCREEN_SURFACE, 0, 0, 8, 8, 1, 2, 3);
    Software->Present();
    Software->ExitSurfaces();
    SurfaceExitInstance();
    SetGraphicEngine(ENGINE_OPENGL);
    Engine = dynamic_cast<TSurfaceGL*>(GetSurface());
    Engine->InitSurfaces();
    ASSERT_TRUE(Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false));
    Engine->FillRectangle(SCREEN_SURFACE, 0, 0, 8, 8, 3, 2, 1);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 7, 7), 0x030201u);
}

TEST_F(OpenGLEngine, ProbeCountsTheSoftwareRasterizerAsGeneric) {
    // The off-screen buffer can be made here...
    EXPECT_TRUE(ProbeOpenGL(Window.get()));
    // ...but Mesa's rasterizer is software, so the engine is not offered on its own.
    EXPECT_FALSE(ProbeOpenGLEngine(Window.get()));
    EXPECT_FALSE(ProbeOpenGLEngine(nullptr));
    EXPECT_TRUE(IsSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(IsSoftwareRenderer("Mesa softpipe"));
    EXPECT_TRUE(IsSoftwareRenderer("GDI Generic Software Renderer"));
    EXPECT_FALSE(IsSoftwareRenderer("AMD Radeon RX 6600 (radeonsi, navi23)"));
    // A stored choice of OpenGL falls back to DirectDraw, which is stored.
    Engine->ExitSurfaces();
    SurfaceExitInstance();
    Engine = nullptr;
    ResetEngineModule();
    RegisterEngineBackEnds();
    SetEngine(ENGINE_OPENGL);
    StartGraphicEngine(Window.get(), -1);
    EXPECT_EQ(GetGraphicEngine(), ENGINE_DIRECTDRAW);
    EXPECT_EQ(GetEngine(), ENGINE_DIRECTDRAW);
    EXPECT_EQ(GetEngineCapabilities() & CAPABILITY_OPENGL, 0);
}
