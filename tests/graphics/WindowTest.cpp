// The software engine in a real window on an X server (run under its own Xvfb): presented frames reach the
// screen pixel for pixel, frames are paced on the engine's clock, the window follows resizes and full screen
// comes and goes. Where the X server acts on its own time, the test awaits its events.
#include "platform/Window.h"
#include "foundation/sysinc.h"
#include "graphics/Engine.h"
#include "graphics/SurfaceDX.h"
#include "graphics/graphics.h"
#include "platform/Screenshot.h"
#include "state/Preferences.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::string Data = EBRUN_DATA_DIR;
constexpr uint32_t PATIENCE = 20000; // ms the X server may take to act under a loaded machine

// The engine's clock in the pacing test: a wait moves it on by what was waited.
uint32_t FakeClock = 0;
std::vector<uint32_t> Waits;
uint32_t ReadFakeClock() { return FakeClock; }
void RecordWait(uint32_t Milliseconds) {
    Waits.push_back(Milliseconds);
    FakeClock += Milliseconds;
}

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ResetOptions();
        ResetEngineModule();
        Window = TWindow::create("Pellarune", 320, 240, true);
        ASSERT_NE(Window, nullptr) << GetPlatformError();
        StartGraphicEngine(Window.get(), -1);
        ASSERT_EQ(GetGraphicEngine(), ENGINE_DIRECTDRAW);
        Engine = dynamic_cast<TSurfaceDX*>(GetSurface());
        Engine->InitSurfaces();
        Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
        OpenSpriteFile((Data + "/Ebrun.spr").c_str());
        OpenPictureFile((Data + "/Ebrun.pic").c_str());
        InitMemoryCache(1 << 22);
        InitFonts();
        InitVideoCache();
        ASSERT_TRUE(AwaitWindowSystem([this] { return Window->isExposed(); }, PATIENCE));
    }
    void TearDown() override {
        SetMillisecondTimer(nullptr);
        SetFrameWait(nullptr);
        ExitGraphics();
        if (Engine != nullptr) Engine->ExitSurfaces();
        SurfaceExitInstance();
        Window.reset();
    }
    void drawFrame(int32_t Width, int32_t Height, int32_t Frame) {
        Engine->FillRectangle(SCREEN_SURFACE, 0, 0, Width, Height, 16, 32, 48);
        DrawPicturePart(SCREEN_SURFACE, 0, 0, SKIN_PICTURE, 0, 0, Width / 2, Height / 2);
        PrintText(SCREEN_SURFACE, 4, Height - 20, 2, 255, 200, 0, ("frame " + std::to_string(Frame)).c_str(),
                  LEFT_ALIGN);
        Engine->DrawBorder(SCREEN_SURFACE, 0, 0, Width, Height, 2, 255, 255, 255);
    }
    // The screen shows exactly what SCREEN_SURFACE holds (widened to 8 bits per channel the same way). The
    // presentation has reached the X server when Present returns, and the read-back goes the same way.
    void expectShown(int32_t Width, int32_t Height) {
        std::vector<uint32_t> Shown;
        Engine->Present();
        ASSERT_TRUE(ReadWindowFromScreen(*Window, Width, Height, Shown));
        ASSERT_EQ(Shown.size(), static_cast<size_t>(Width) * Height);
        int32_t Differences = 0;
        for (int32_t y = 0; y < Height; y++)
            for (int32_t x = 0; x < Width; x++)
                Differences += Shown[y * Width + x] != expected(x, y);
        EXPECT_EQ(Differences, 0);
    }
    uint32_t expected(int32_t x, int32_t y) {
        const TPixelSurface* Screen = Engine->getPixels(SCREEN_SURFACE);
        const uint32_t v = Screen->getPixel(x, y);
        if (Screen->getFormat().BytesPerPixel == 4) return v;
        const uint32_t r = v >> 11, g = (v >> 5) & 63, b = v & 31;
        return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
    }
    bool screenWidthBecomes(int32_t Width) {
        return AwaitWindowSystem(
            [&] {
                Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
                return Engine->GetSurfaceRect(SCREEN_SURFACE).Width == Width;
            },
            PATIENCE);
    }
    std::unique_ptr<TWindow> Window;
    TSurfaceDX* Engine = nullptr;
};

} // namespace

TEST_F(RealWindow, PresentedFramesReachTheScreen) {
    drawFrame(320, 240, 1);
    expectShown(320, 240);
    drawFrame(320, 240, 2);
    expectShown(320, 240);
}

// At 100 frames a second a frame that took 4 ms of drawing waits the 6 ms left of its 10, and the rate
// measured over each second of the engine's clock is the limit.
TEST_F(RealWindow, PresentationWaitsOutTheFramePeriodOfTheLimit) {
    FakeClock = 5000;
    Waits.clear();
    SetMillisecondTimer(ReadFakeClock);
    SetFrameWait(RecordWait);
    Engine->ResetFrameClock();
    Engine->SetFrameRate(100);
    for (int32_t Frame = 0; Frame < 250; Frame++) {
        drawFrame(320, 240, Frame);
        FakeClock += 4;
        Engine->Present();
    }
    ASSERT_EQ(Waits.size(), 250u);
    for (size_t i = 0; i < Waits.size(); i++)
        ASSERT_EQ(Waits[i], 6u) << i;
    EXPECT_NEAR(Engine->GetFramesPerSecond(), 100.0, 1.0);
    expectShown(320, 240);
}

TEST_F(RealWindow, ResizedWindowIsFollowed) {
    Window->setClientSize(400, 300);
    ASSERT_TRUE(screenWidthBecomes(400));
    drawFrame(400, 300, 3);
    expectShown(400, 300);
}

TEST_F(RealWindow, FullScreenAtTheDisplaysOwnModeAndBack) {
    std::unique_ptr<TDisplayMode[]> Modes;
    ASSERT_GE(Engine->GetDisplayModes(Modes), 1);
    const TDisplayMode Mode = Modes[0];
    Engine->ChangeVideoMode(Window.get(), FULLSCREEN_MODE, &Mode, false);
    EXPECT_EQ(Engine->getViewMode(), FULLSCREEN_MODE);
    EXPECT_EQ(Engine->GetSurfaceRect(SCREEN_SURFACE).Width, Mode.Width);
    ResetVideoCache();
    drawFrame(Mode.Width, Mode.Height, 4);
    Engine->Present();
    Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
    EXPECT_EQ(Engine->getViewMode(), WINDOWED_MODE);
    ResetVideoCache();
    ASSERT_TRUE(screenWidthBecomes(320));
    ASSERT_TRUE(AwaitWindowSystem([this] { return Window->isExposed(); }, PATIENCE));
    drawFrame(320, 240, 5);
    expectShown(320, 240);
}
