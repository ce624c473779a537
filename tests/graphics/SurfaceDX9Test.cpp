// The Direct3D 9 engine on real renderers of the offscreen video driver: the software renderer against the
// opengl one, batching, uploads, the light, device failures and the lost device. How it draws the canned
// scenes beside the other engines is ParityTest's.
#include "graphics/surfaceDX9.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "tests/graphics/CannedScenes.h"
#include "tests/graphics/GraphicsTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

// The engine as the module's engine object on a hidden window of the offscreen driver, surfaces made. Without
// that driver or the named renderer the test fails: nothing is skipped.
class TDX9Engine {
public:
    explicit TDX9Engine(const char* Driver, TQuadDeviceFaults Faults = TQuadDeviceFaults()) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        ResetEngineModule();
        ResetOptions();
        Faults.Driver = Driver;
        SetQuadDeviceFaults(Faults);
        Window = TWindow::create("dx9", 640, 480, false);
        if (Window == nullptr)
            throw std::runtime_error(std::string("no offscreen window: ") + GetPlatformError());
        SetEngineBackEnd(ENGINE_DIRECT3D9, Direct3D9BackEnd());
        StartGraphicEngine(Window.get(), ENGINE_DIRECT3D9);
        Engine = dynamic_cast<TSurfaceDX9*>(GetSurface());
        Engine->InitSurfaces();
        Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
        if (std::string(Engine->getDriverName()) != Driver)
            throw std::runtime_error(std::string("renderer not available: ") + Driver);
    }
    ~TDX9Engine() {
        Engine->ExitSurfaces();
        SurfaceExitInstance();
        ResetEngineModule();
        ClearQuadDeviceFaults();
        ClearDisplayFaults();
    }
    TSurfaceDX9& engine() { return *Engine; }
    TWindow* window() { return Window.get(); }
    // 0xAARRGGBB of one texel.
    uint32_t texel(int32_t Surface, int32_t x, int32_t y) {
        uint32_t Value = 0;
        EXPECT_TRUE(Engine->readPixels(Surface, {x, y, x + 1, y + 1}, &Value));
        return Value;
    }
    std::vector<uint32_t> screen() {
        std::vector<uint32_t> Pixels(SCENE_WIDTH * SCENE_HEIGHT);
        EXPECT_TRUE(Engine->readPixels(SCREEN_SURFACE, {0, 0, SCENE_WIDTH, SCENE_HEIGHT}, Pixels.data()));
        for (uint32_t& P : Pixels)
            P &= 0xFFFFFFu;
        return Pixels;
    }

private:
    std::unique_ptr<TWindow> Window;
    TSurfaceDX9* Engine = nullptr;
};

std::vector<uint32_t> DrawScene(TDX9Engine& Engine, void (*Draw)()) {
    LoadSceneData();
    Draw();
    std::vector<uint32_t> Pixels = Engine.screen();
    UnloadSceneData();
    return Pixels;
}

} // namespace

// SDL's software renderer neither smooths scaled copies nor shades the light as GL does; the unscaled scenes
// stay within 2 of the opengl renderer. Both renderers follow one another on the same window, as an engine
// switch at run time does.
TEST(DX9Scenes, SoftwareRendererStaysWithinTwoUnscaled) {
    const auto Draw = [](const char* Driver) {
        TDX9Engine Engine(Driver);
        std::vector<std::vector<uint32_t>> Pictures;
        Pictures.push_back(DrawScene(Engine, DrawSkins));
        Pictures.push_back(DrawScene(Engine, DrawFonts));
        return Pictures;
    };
    const std::vector<std::vector<uint32_t>> Reference = Draw("opengl"), Pictures = Draw("software");
    for (size_t s = 0; s < Pictures.size(); s++) {
        int32_t Worst = 0;
        for (size_t i = 0; i < Pictures[s].size(); i++)
            for (int32_t Shift = 0; Shift < 24; Shift += 8)
                Worst = std::max(Worst, std::abs(static_cast<int32_t>((Pictures[s][i] >> Shift) & 0xFF) -
                                                 static_cast<int32_t>((Reference[s][i] >> Shift) & 0xFF)));
        EXPECT_LE(Worst, 2) << s;
    }
}

// 1601 copies from pages and fills between them, all on one target: one batch, drawn once when full and the
// last quad at Present, in the order given.
TEST(DX9Engine, CopiesFromAnyPageAndFillsShareTheBatch) {
    TDX9Engine Engine("opengl");
    TSurfaceDX9& E = Engine.engine();
    const TTile Red = FilledTile(255, 0, 0), Green = FilledTile(0, 255, 0);
    E.WritePixels(SPRITE_SURFACE + 3, 0, 0, 32, 32, Red.data());
    E.WritePixels(SPRITE_SURFACE + 14, 480, 480, 32, 32, Green.data());
    for (int32_t i = 0; i < 1601; i++)
        if (i % 3 == 2)
            E.FillRectangle(SCREEN_SURFACE, i % 600, 40, 8, 8, 0, 0, i % 256);
        else
            E.Blit(SCREEN_SURFACE, i % 600, 0, SPRITE_SURFACE + (i % 2 ? 3 : 14), i % 2 ? 0 : 480,
                   i % 2 ? 0 : 480, 32, 32);
    EXPECT_EQ(E.getFlushCount(), 1);
    E.Present();
    EXPECT_EQ(E.getFlushCount(), 2);
    E.Blit(SCREEN_SURFACE, 100, 100, SPRITE_SURFACE + 3, 0, 0, 32, 32);
    E.FillRectangle(SCREEN_SURFACE, 110, 110, 4, 4, 0, 0, 255);
    E.Blit(SCREEN_SURFACE, 112, 112, SPRITE_SURFACE + 14, 480, 480, 32, 32);
    EXPECT_EQ(Engine.texel(SCREEN_SURFACE, 111, 111), 0xFF0000FFu);
    EXPECT_EQ(Engine.texel(SCREEN_SURFACE, 101, 101), 0xFFFF0000u);
    EXPECT_EQ(Engine.texel(SCREEN_SURFACE, 113, 113), 0xFF00FF00u);
    EXPECT_EQ(Engine.texel(SCREEN_SURFACE, 143, 143), 0xFF00FF00u);
    EXPECT_EQ(E.getFlushCount(), 3);
}

// The key becomes alpha 0 at upload: a key set afterwards changes nothing until the tile is uploaded again.
TEST(DX9Engine, KeyTakesEffectAtTheNextUpload) {
    TDX9Engine Engine("opengl");
    TSurfaceDX9& E = Engine.engine();
    TTile Tile = FilledTile(0, 255, 0);
    SetTilePixel(Tile, 5, 5, 255, 0, 255);
    E.WritePixels(SPRITE_SURFACE, 0, 0, 32, 32, Tile.data());
    E.SetSurfaceColorKey(SPRITE_SURFACE, 255, 0, 255);
    E.FillRectangle(SCREEN_SURFACE, 0, 0, 64, 32, 10, 20, 30);
    E.BlitTransparent(SCREEN_SURFACE, 0, 0, SPRITE_SURFACE, 0, 0, 32, 32, 255, 0, 255);
    EXPECT_EQ(Engine.texel(SCREEN_SURFACE, 5, 5) & 0xFFFFFF, 0xFF00FFu);
    E.WritePixels(SPRITE_SURFACE, 0, 0, 32, 32, Tile.data());
    E.BlitTransparent(SCREEN_SURFACE, 32, 0, SPRITE_SURFACE, 0, 0, 32, 32, 255, 0, 255);
    EXPECT_EQ(Engine.texel(SCREEN_SURFACE, 37, 5) & 0xFFFFFF, 0x0A141Eu);
    EXPECT_EQ(Engine.texel(SCREEN_SURFACE, 36, 5) & 0xFFFFFF, 0x00FF00u);
    EXPECT_THROW(E.SetSurfaceColorKey(22, 0, 0, 0), TMyException);
}

// White light keeps the picture, black blacks it out; more quads than one batch holds are all drawn.
TEST(DX9Engine, LightMultipliesAnyNumberOfQuads) {
    TDX9Engine Engine("opengl");
    TSurfaceDX9& E = Engine.engine();
    E.FillRectangle(TEMP_SURFACE, 0, 0, 640, 480, 200, 100, 50);
    std::vector<int32_t> Rectangles, White(12 * 4800, 255), Black(12 * 4800, 0);
    for (int32_t i = 0; i < 4800; i++)
        Rectangles.insert(Rectangles.end(), {(i % 80) * 8, (i / 80) * 8, 8, 8});
    E.DrawShadedQuads(TEMP_SURFACE, 4800, Rectangles.data(), White.data());
    EXPECT_EQ(Engine.texel(TEMP_SURFACE, 300, 200) & 0xFFFFFF, 0xC86432u);
    E.DrawShadedQuads(TEMP_SURFACE, 4800, Rectangles.data(), Black.data());
    EXPECT_EQ(Engine.texel(TEMP_SURFACE, 0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(Engine.texel(TEMP_SURFACE, 639, 479) & 0xFFFFFF, 0u);
}

// An automap block changes only its own pixels.
TEST(DX9Engine, AutomapUploadChangesOnlyItsBlock) {
    TDX9Engine Engine("opengl");
    TSurfaceDX9& E = Engine.engine();
    const TTile Blue = FilledTile(0, 0, 255);
    E.WritePixels(AUTOMAP_SURFACE, 0, 0, 32, 32, Blue.data());
    E.FillRectangle(AUTOMAP_SURFACE, 0, 0, 106, 106, 7, 7, 7);
    const TTile Yellow = FilledTile(255, 255, 0);
    E.WritePixels(AUTOMAP_SURFACE, 10, 10, 4, 4, Yellow.data());
    EXPECT_EQ(Engine.texel(AUTOMAP_SURFACE, 10, 10) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(Engine.texel(AUTOMAP_SURFACE, 13, 13) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(Engine.texel(AUTOMAP_SURFACE, 14, 13) & 0xFFFFFF, 0x070707u);
    EXPECT_EQ(Engine.texel(AUTOMAP_SURFACE, 5, 5) & 0xFFFFFF, 0x070707u);
}

TEST(DX9Engine, ViewportAndExtents) {
    TDX9Engine Engine("opengl");
    TSurfaceDX9& E = Engine.engine();
    EXPECT_EQ(E.GetNumberOfPages(), 16);
    EXPECT_EQ(E.GetSurfaceRect(SPRITE_SURFACE).Width, 512);
    EXPECT_EQ(E.GetSurfaceMemory(SPRITE_SURFACE + 15), 1);
    EXPECT_TRUE(E.SupportsLightEffects());
    E.SetViewport(PRIMARY_SURFACE, 0, 0, 10, 10);
    EXPECT_EQ(E.GetSurfaceRect(PRIMARY_SURFACE).Width, 640);
    E.SetViewport(SCREEN_SURFACE, 0, 0, 480, 352);
    const TRectangle R = E.GetSurfaceRect(SCREEN_SURFACE);
    EXPECT_EQ(R.Width, 480);
    EXPECT_EQ(R.Height, 352);
    E.Present();
    EXPECT_EQ(ExceptionTextOf([&] { E.GetSurfaceRect(22); }).find("In(Surface,0,NUMBER_OF_SURFACES_DX9-1)") !=
                  std::string::npos,
              true);
}

// A lost device draws nothing new; once it may be reset, the engine starts afresh and the next frame rebuilds
// every surface and reports them renewed.
TEST(DX9Engine, LostDeviceIsResetAndRebuilt) {
    TDX9Engine Engine("opengl");
    TSurfaceDX9& E = Engine.engine();
    TQuadDeviceFaults Faults = GetQuadDeviceFaults();
    Faults.State = DEVICE_LOST;
    SetQuadDeviceFaults(Faults);
    E.ChangeVideoMode(Engine.window(), WINDOWED_MODE, nullptr, false);
    EXPECT_FALSE(E.IsLost());
    Faults.State = DEVICE_NOT_RESET;
    SetQuadDeviceFaults(Faults);
    E.ChangeVideoMode(Engine.window(), WINDOWED_MODE, nullptr, false);
    EXPECT_TRUE(E.IsLost());
    EXPECT_EQ(E.getViewMode(), 0);
    EXPECT_EQ(E.GetNumberOfPages(), 0);
    EXPECT_FALSE(E.SurfacesRenewed(1));
    E.ChangeVideoMode(Engine.window(), WINDOWED_MODE, nullptr, false);
    EXPECT_FALSE(E.IsLost());
    EXPECT_TRUE(E.SurfacesRenewed(1));
    EXPECT_EQ(E.GetNumberOfPages(), 16);
    E.FillRectangle(SCREEN_SURFACE, 0, 0, 4, 4, 1, 2, 3);
    EXPECT_EQ(Engine.texel(SCREEN_SURFACE, 1, 1) & 0xFFFFFF, 0x010203u);
}

// Start-up failures are the engine's error codes, with everything made so far released.
TEST(DX9Engine, CreationFailures) {
    const auto Failure = [](TQuadDeviceFaults Faults, int32_t DisplayBits) {
        TDX9Engine Engine("opengl");
        TSurfaceDX9& E = Engine.engine();
        Faults.Driver = "opengl";
        SetQuadDeviceFaults(Faults);
        TDisplayFaults Display;
        Display.DisplayBits = DisplayBits;
        SetDisplayFaults(Display);
        const int32_t Code =
            ProgramErrorOf([&] { E.ChangeVideoMode(Engine.window(), WINDOWED_MODE, nullptr, true); });
        EXPECT_EQ(E.GetNumberOfPages(), 0);
        EXPECT_EQ(E.getViewMode(), 0);
        return Code;
    };
    TQuadDeviceFaults Faults;
    EXPECT_EQ(Failure(Faults, 8), 8);
    Faults.NoDevice = true;
    EXPECT_EQ(Failure(Faults, 0), 12);
    Faults = TQuadDeviceFaults();
    Faults.NoLibrary = true;
    EXPECT_EQ(Failure(Faults, 0), 12);
    Faults = TQuadDeviceFaults();
    Faults.FailingTexture = 5; // back buffer, primary, staging, temp, stretch
    EXPECT_EQ(Failure(Faults, 0), 15);
    Faults.FailingTexture = 8; // the pages' texture, after cache and automap
    EXPECT_EQ(Failure(Faults, 0), 18);
}

// The probe: an undecided client takes this engine where a renderer works on the window, and not where none
// can be made.
TEST(DX9Engine, ProbeAtStartUp) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    for (const bool Library : {true, false}) {
        ResetEngineModule();
        ResetOptions();
        TQuadDeviceFaults Faults;
        Faults.Driver = "opengl"; // named, so that a software rasterizer passes as the hardware device
        Faults.NoLibrary = !Library;
        SetQuadDeviceFaults(Faults);
        std::unique_ptr<TWindow> Window = TWindow::create("probe", 320, 240, false);
        ASSERT_NE(Window, nullptr) << GetPlatformError();
        SetEngineBackEnd(ENGINE_DIRECT3D9, Direct3D9BackEnd());
        StartGraphicEngine(Window.get(), -1);
        EXPECT_EQ(GetGraphicEngine(), Library ? ENGINE_DIRECT3D9 : ENGINE_DIRECTDRAW);
        EXPECT_EQ((GetEngineCapabilities() & CAPABILITY_DIRECT3D9) != 0, Library);
        ResetEngineModule();
        ClearQuadDeviceFaults();
    }
}
