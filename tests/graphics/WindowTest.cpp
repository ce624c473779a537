// The software engine in a real window on an X server (run under Xvfb): presented frames reach the screen
// pixel for pixel, frames are paced, the window follows resizes and full screen comes and goes.
#include "platform/Window.h"
#include "graphics/Engine.h"
#include "graphics/SurfaceDX.h"
#include "graphics/graphics.h"
#include "platform/Screenshot.h"
#include "state/Preferences.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

const std::string Data = EBRUN_DATA_DIR;

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
    }
    void TearDown() override {
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
    // The screen shows exactly what SCREEN_SURFACE holds (widened to 8 bits per channel the same way).
    void expectShown(int32_t Width, int32_t Height) {
        // Give the window manager-less server a moment to map and expose the window.
        std::vector<uint32_t> Shown;
        for (int Attempt = 0; Attempt < 50; Attempt++) {
            PumpWindowEvents();
            Engine->Present();
            if (ReadWindowFromScreen(*Window, Width, Height, Shown) && Shown[0] == expected(0, 0)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
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

TEST_F(RealWindow, FramesArePacedToTheLimit) {
    Engine->SetFrameRate(100);
    const auto Start = std::chrono::steady_clock::now();
    int32_t Frames = 0;
    while (std::chrono::steady_clock::now() - Start < std::chrono::milliseconds(1300)) {
        drawFrame(320, 240, Frames++);
        Engine->Present();
    }
    EXPECT_LE(Frames, 135);
    EXPECT_GT(Engine->GetFramesPerSecond(), 20.0); // measured at all, even on a busy machine
    EXPECT_LE(Engine->GetFramesPerSecond(), 101.0);
}

TEST_F(RealWindow, ResizedWindowIsFollowed) {
    Window->setClientSize(400, 300);
    for (int Attempt = 0; Attempt < 50; Attempt++) {
        PumpWindowEvents();
        int32_t w = 0, h = 0;
        Window->getClientSize(w, h);
        if (w == 400) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
    ASSERT_EQ(Engine->GetSurfaceRect(SCREEN_SURFACE).Width, 400);
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
    for (int Attempt = 0; Attempt < 50; Attempt++) {
        PumpWindowEvents();
        Engine->WindowMoved();
        if (Engine->GetSurfaceRect(SCREEN_SURFACE).Width == 320) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(Engine->GetSurfaceRect(SCREEN_SURFACE).Width, 320);
    drawFrame(320, 240, 5);
    expectShown(320, 240);
}
