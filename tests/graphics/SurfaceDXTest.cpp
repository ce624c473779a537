// The DirectDraw engine: surfaces and their memory, video modes, lost surfaces, faults of the display and the
// drawing operations on the software display.
#include "graphics/SurfaceDX.h"

#include "foundation/Exception.h"
#include "graphics/Engine.h"
#include "platform/Display.h"
#include "platform/Window.h"
#include "tests/graphics/GraphicsTest.h"

#include <gtest/gtest.h>

namespace {

class SurfaceDX : public ::testing::Test {
protected:
    void SetUp() override {
        ResetOptions();
        Window = TWindow::create("engine", 320, 240, false);
        ASSERT_NE(Window, nullptr) << GetPlatformError();
    }
    void TearDown() override {
        Engine.ExitSurfaces();
        ClearDisplayFaults();
    }
    // Starts the engine in windowed mode with the faults given.
    void start(const TDisplayFaults& Faults = TDisplayFaults()) {
        SetDisplayFaults(Faults);
        Engine.InitSurfaces();
        Engine.ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
    }
    uint32_t pixel(int32_t Surface, int32_t x, int32_t y) {
        return Engine.getPixels(Surface)->getPixel(x, y);
    }

    std::unique_ptr<TWindow> Window;
    TSurfaceDX Engine;
};

constexpr int64_t PAGE_BYTES = 320 * 320 * 4;

} // namespace

TEST_F(SurfaceDX, WindowedStartMakesEverySurfaceOnce) {
    start();
    EXPECT_TRUE(Engine.SurfacesRenewed(1));
    EXPECT_EQ(Engine.GetNumberOfPages(), 16);
    EXPECT_TRUE(Engine.SupportsLightEffects());
    TRectangle Stretch = Engine.GetSurfaceRect(STRETCH_SURFACE);
    EXPECT_EQ(Stretch.Width, 64);
    EXPECT_EQ(Stretch.Height, 64);
    EXPECT_EQ(Engine.GetSurfaceRect(SCREEN_SURFACE).Width, 320);
    EXPECT_EQ(Engine.GetSurfaceRect(SPRITE_SURFACE + 15).Width, 320);
    for (int32_t s = 0; s < NUMBER_OF_SURFACES; s++)
        EXPECT_EQ(Engine.GetSurfaceMemory(s), 1) << s;
    EXPECT_NE(
        ExceptionTextOf([&] {
            Engine.GetSurfaceRect(22);
        }).find("assertion failed (Surface = 22), reason:\nIn(Surface,0,NUMBER_OF_SURFACES-1) [bug0000290]"),
        std::string::npos);
    EXPECT_THROW(Engine.SurfacesRenewed(3), TMyException);

    Engine.ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
    EXPECT_FALSE(Engine.SurfacesRenewed(1));
    Engine.ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, true);
    EXPECT_TRUE(Engine.SurfacesRenewed(0));
}

TEST_F(SurfaceDX, TooFewBitsStopBeforeAnySurfaceExists) {
    EXPECT_NE(ExceptionTextOf([&] {
                  Engine.ChangeVideoMode(Window.get(), 3, nullptr, false);
              }).find("DirectDraw!=NULL"),
              std::string::npos); // before InitSurfaces: a clear failure, not a null device
    TDisplayFaults Faults;
    Faults.DisplayBits = 8;
    SetDisplayFaults(Faults);
    Engine.InitSurfaces();
    EXPECT_EQ(ProgramErrorOf([&] { Engine.ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false); }),
              8);
    for (int32_t s = 0; s < NUMBER_OF_SURFACES; s++)
        EXPECT_EQ(Engine.getPixels(s), nullptr);
    EXPECT_EQ(Engine.getViewMode(), 0);
}

TEST_F(SurfaceDX, VideoMemoryRunningOutKeepsTheRequiredPagesInOtherMemory) {
    int32_t ScreenWidth = 0, ScreenHeight = 0;
    ASSERT_TRUE(GetScreenSize(ScreenWidth, ScreenHeight));
    TDisplayFaults Faults;
    Faults.VideoMemoryBytes = int64_t{ScreenWidth} * ScreenHeight * 4 + 640 * 480 * 4 +
                              KEPT_STRETCH_PAGE * KEPT_STRETCH_PAGE * 4 + 512 * 384 * 4 + 106 * 106 * 4 +
                              5 * PAGE_BYTES;
    start(Faults);
    EXPECT_EQ(Engine.GetNumberOfPages(), 8);
    for (int32_t Page = 0; Page < 5; Page++)
        EXPECT_EQ(Engine.GetSurfaceMemory(SPRITE_SURFACE + Page), 1) << Page;
    for (int32_t Page = 5; Page < 8; Page++)
        EXPECT_EQ(Engine.GetSurfaceMemory(SPRITE_SURFACE + Page), 2) << Page;
    EXPECT_EQ(Engine.GetSurfaceMemory(SPRITE_SURFACE + 8), 0);
    EXPECT_EQ(Engine.getPixels(SPRITE_SURFACE + 8), nullptr);
    Engine.DrawHorizontalLine(SPRITE_SURFACE + 8, 0, 0, 10, 1, 2,
                              3); // a page that was not made draws nothing
}

TEST_F(SurfaceDX, EachSurfaceThatCannotBeMadeHasItsOwnCode) {
    const int32_t Expected[] = {12, 13, 14, 15, 16, 17, 18, 18};
    for (int32_t n = 1; n <= 8; n++) {
        TDisplayFaults Faults;
        Faults.FailingSurface = n;
        SetDisplayFaults(Faults);
        Engine.InitSurfaces();
        EXPECT_EQ(
            ProgramErrorOf([&] { Engine.ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false); }),
            Expected[n - 1])
            << n;
        EXPECT_EQ(Engine.getPixels(SCREEN_SURFACE), nullptr) << n;
        Engine.ExitSurfaces();
    }
    TDisplayFaults Faults;
    Faults.FailingSurface = 15; // the ninth page: made only while video memory lasts
    start(Faults);
    EXPECT_EQ(Engine.GetNumberOfPages(), 8);
}

TEST_F(SurfaceDX, LightNeedsADeviceThatPassesItsTest) {
    TDisplayFaults Faults;
    Faults.NoLightDevice = true;
    start(Faults);
    EXPECT_FALSE(Engine.SupportsLightEffects());
    ASSERT_NE(Engine.getPixels(TEMP_SURFACE), nullptr);
    EXPECT_EQ(Engine.GetSurfaceMemory(TEMP_SURFACE), 1);
    Engine.FillRectangle(TEMP_SURFACE, 0, 0, 4, 4, 255, 255, 255);
    const int32_t Rectangle[4] = {0, 0, 4, 4}, Black[12] = {};
    Engine.DrawShadedQuads(TEMP_SURFACE, 1, Rectangle, Black);
    EXPECT_EQ(pixel(TEMP_SURFACE, 1, 1), 0xFFFFFFu);
    Engine.ExitSurfaces();

    Faults.NoLightDevice = false;
    Faults.LightWithoutEffect = true;
    start(Faults);
    EXPECT_FALSE(Engine.SupportsLightEffects());
    EXPECT_EQ(Engine.GetNumberOfPages(), 16);
}

TEST_F(SurfaceDX, FullScreenIsRemadeOnlyForAnotherMode) {
    TDisplayFaults Faults;
    Faults.Modes = {{640, 480, 16, 60}, {640, 480, 32, 60}, {800, 600, 32, 60}};
    SetDisplayFaults(Faults);
    Engine.InitSurfaces();
    TDisplayMode Mode{640, 480, 32, 60};
    Engine.ChangeVideoMode(Window.get(), FULLSCREEN_MODE, &Mode, false);
    EXPECT_TRUE(Engine.SurfacesRenewed(1));
    EXPECT_EQ(Engine.GetSurfaceRect(SCREEN_SURFACE).Width, 640);
    Engine.ChangeVideoMode(Window.get(), FULLSCREEN_MODE, &Mode, false);
    EXPECT_FALSE(Engine.SurfacesRenewed(1));
    Mode.Depth = 16;
    Engine.ChangeVideoMode(Window.get(), FULLSCREEN_MODE, &Mode, false);
    EXPECT_TRUE(Engine.SurfacesRenewed(1));
    EXPECT_EQ(Engine.getPixels(SCREEN_SURFACE)->getFormat().BitsPerPixel, 16);
    TDisplayMode Missing{1024, 768, 32, 0};
    EXPECT_EQ(ProgramErrorOf([&] { Engine.ChangeVideoMode(Window.get(), FULLSCREEN_MODE, &Missing, false); }),
              11);
    Engine.ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
    EXPECT_EQ(Engine.getViewMode(), WINDOWED_MODE);
    EXPECT_EQ(Engine.GetSurfaceRect(SCREEN_SURFACE).Width, 320);
}

TEST_F(SurfaceDX, LostSurfacesAreRemadeWithinTheFrameAndExclusiveUseElsewhereMarksTheEngineLost) {
    start();
    LoseAllSurfaces();
    Engine.ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
    EXPECT_TRUE(Engine.SurfacesRenewed(1));
    EXPECT_FALSE(Engine.getPixels(SCREEN_SURFACE)->isLost());
    EXPECT_FALSE(Engine.IsLost());

    TDisplayFaults Faults;
    Faults.ExclusiveElsewhere = true;
    SetDisplayFaults(Faults);
    LoseAllSurfaces();
    Engine.ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
    EXPECT_TRUE(Engine.IsLost());
    EXPECT_FALSE(Engine.SurfacesRenewed(1));
    Engine.FillRectangle(SCREEN_SURFACE, 0, 0, 10, 10, 1, 2, 3); // draws nothing, harms nothing
    ClearDisplayFaults();
    Engine.ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
    EXPECT_FALSE(Engine.IsLost());
    EXPECT_TRUE(Engine.SurfacesRenewed(1));
}

TEST_F(SurfaceDX, SmoothStretchGoesThroughTheScratchSurfacesOnlyWhenScaling) {
    start();
    Engine.FillRectangle(TEMP_SURFACE, 0, 0, 640, 480, 7, 7, 7);
    Engine.FillRectangle(CACHE_SURFACE, 0, 0, 64, 64, 255, 0, 0);
    Engine.FillRectangle(CACHE_SURFACE, 10, 10, 20, 20, 255, 0, 255); // key
    Engine.StretchBlitTransparent(SCREEN_SURFACE, 0, 0, 64, 64, CACHE_SURFACE, 0, 0, 64, 64, 255, 0, 255, 0,
                                  9, 0);
    EXPECT_EQ(pixel(TEMP_SURFACE, 0, 0), 0x070707u);

    Engine.FillRectangle(SCREEN_SURFACE, 0, 0, 100, 100, 1, 1, 1);
    Engine.StretchBlitTransparent(SCREEN_SURFACE, 0, 0, 32, 32, CACHE_SURFACE, 0, 0, 64, 64, 255, 0, 255, 0,
                                  9, 0);
    EXPECT_EQ(pixel(TEMP_SURFACE, 64, 64), 0x000900u);
    EXPECT_EQ(pixel(TEMP_SURFACE, 65, 0), 0x070707u);
    EXPECT_EQ(pixel(TEMP_SURFACE, 15, 15), 0x000900u); // the key became background
    int32_t Background = 0;
    for (int32_t y = 0; y < 32; y++)
        for (int32_t x = 0; x < 32; x++)
            Background += pixel(SCREEN_SURFACE, x, y) == 0x000900u;
    EXPECT_EQ(Background, 0);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 7, 7), 0x010101u); // the keyed hole shows what was there
    EXPECT_EQ(pixel(SCREEN_SURFACE, 0, 0), 0xFF0000u);

    EXPECT_NE(
        ExceptionTextOf([&] {
            Engine.StretchBlitTransparent(SCREEN_SURFACE, 0, 0, 65, 65, CACHE_SURFACE, 0, 0, 64, 64, 255, 0,
                                          255, 0, 9, 0);
        }).find("ToRect.width<=Rect[STRETCH_SURFACE].right && ToRect.height<=Rect[STRETCH_SURFACE].bottom"),
        std::string::npos);
}

TEST_F(SurfaceDX, ClippingLightAndKeysAtSixteenBits) {
    TDisplayFaults Faults;
    Faults.DisplayBits = 16;
    start(Faults);
    Engine.FillRectangle(SCREEN_SURFACE, 0, 0, 50, 50, 0, 0, 255);
    Engine.FillRectangle(CACHE_SURFACE, 0, 0, 2, 1, 255, 0, 255);
    Engine.FillRectangle(CACHE_SURFACE, 1, 0, 1, 1, 250, 0, 250); // the same 5-6-5 value as the key
    Engine.BlitTransparent(SCREEN_SURFACE, 0, 0, CACHE_SURFACE, 0, 0, 2, 1, 255, 0, 255);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 1, 0), 0x001Fu);

    Engine.BlitClipped(SCREEN_SURFACE, 40, 0, CACHE_SURFACE, 0, 0, 5, 5, 0, 0, 40, 40);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 40, 0), 0x001Fu);
    const int32_t Rectangle[4] = {0, 0, 10, 10}, Black[12] = {};
    Engine.DrawShadedQuads(SCREEN_SURFACE, 1, Rectangle, Black);
    EXPECT_EQ(pixel(SCREEN_SURFACE, 5, 5), 0x001Fu);
    EXPECT_THROW(Engine.FillRectangle(22, 0, 0, 1, 1, 0, 0, 0), TMyException);
    uint8_t Block[4 * 4 * 3] = {}; // a block reaching past the page is written only where the page is
    Engine.WritePixels(SPRITE_SURFACE, 318, -2, 4, 4, Block);
    EXPECT_EQ(pixel(SPRITE_SURFACE, 319, 0), 0u);
    EXPECT_NE(ExceptionTextOf([&] {
                  Engine.Blit(SCREEN_SURFACE, 0, 0, CACHE_SURFACE, 0, 0, 0, 5);
              }).find("FromRect.width>0 && FromRect.height>0"),
              std::string::npos);
}
