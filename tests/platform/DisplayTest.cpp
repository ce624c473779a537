// Display device: video memory budget, injected faults, simulated modes, lost surfaces and presentation.
#include "platform/Display.h"
#include "platform/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

class DisplayTest : public ::testing::Test {
protected:
    void TearDown() override { ClearDisplayFaults(); }
    std::unique_ptr<TDisplayDevice> makeDevice(const TDisplayFaults& Faults = TDisplayFaults()) {
        SetDisplayFaults(Faults);
        std::unique_ptr<TDisplayDevice> Device;
        EXPECT_EQ(TDisplayDevice::create(Device), PLATFORM_OK) << GetPlatformError();
        return Device;
    }
};

} // namespace

TEST_F(DisplayTest, VideoMemoryRunsOutWhileOtherMemoryLastsAndFaultsAreInjected) {
    TDisplayFaults Faults;
    Faults.VideoMemoryBytes = 2 * 320 * 320 * 4 + 100;
    Faults.FailingSurface = 4;
    auto Device = makeDevice(Faults);
    std::shared_ptr<TPixelSurface> A, B, C, D;
    ASSERT_EQ(Device->createSurface(320, 320, SURFACE_VIDEO_MEMORY, A), PLATFORM_OK);
    ASSERT_EQ(Device->createSurface(320, 320, SURFACE_VIDEO_MEMORY, B), PLATFORM_OK);
    EXPECT_EQ(Device->createSurface(320, 320, SURFACE_VIDEO_MEMORY, C), PLATFORM_OUT_OF_VIDEO_MEMORY);
    ASSERT_EQ(Device->createSurface(320, 320, 0, D), PLATFORM_OK);
    EXPECT_EQ(D->getMemory(), MEMORY_SYSTEM);
    EXPECT_NE(Device->createSurface(8, 8, 0, C), PLATFORM_OK); // the fourth surface fails in any memory
    Faults.FailingSurface = 0;
    SetDisplayFaults(Faults);
    A.reset(); // released video memory can be used again
    EXPECT_EQ(Device->createSurface(320, 320, SURFACE_VIDEO_MEMORY, C), PLATFORM_OK);
    EXPECT_EQ(Device->getFreeVideoMemory(), 100);

    LoseAllSurfaces();
    EXPECT_EQ(C->fill({0, 0, 1, 1}, 0), PLATFORM_SURFACE_LOST);
    Faults.DisplayBits = 8;
    SetDisplayFaults(Faults);
    EXPECT_EQ(Device->createSurface(8, 8, 0, C), PLATFORM_UNSUPPORTED);
}

TEST_F(DisplayTest, SimulatedDisplayOffersExactlyItsModes) {
    TDisplayFaults Faults;
    Faults.Modes = {{640, 480, 16, 60}, {800, 600, 32, 75}};
    auto Device = makeDevice(Faults);
    std::vector<TDisplayModeInfo> Modes;
    ASSERT_EQ(Device->enumDisplayModes(Modes), PLATFORM_OK);
    ASSERT_EQ(Modes.size(), 2u);
    auto Window = TWindow::create("modes", 320, 200, false);
    ASSERT_NE(Window, nullptr) << GetPlatformError();
    EXPECT_EQ(Device->setDisplayMode(800, 600, 32), PLATFORM_UNSUPPORTED); // not exclusive yet
    ASSERT_EQ(Device->setCooperativeLevel(Window.get(), true), PLATFORM_OK);
    EXPECT_EQ(Device->setDisplayMode(800, 600, 16), PLATFORM_UNSUPPORTED);
    ASSERT_EQ(Device->setDisplayMode(640, 480, 16), PLATFORM_OK);
    std::shared_ptr<TPixelSurface> Primary;
    ASSERT_EQ(Device->createSurface(0, 0, SURFACE_PRIMARY | SURFACE_FLIP, Primary), PLATFORM_OK);
    ASSERT_NE(Device->getBackBuffer(), nullptr);
    EXPECT_EQ(Device->getBackBuffer()->getWidth(), 640);
    EXPECT_EQ(Device->getBackBuffer()->getFormat().BytesPerPixel, 2);
    ASSERT_EQ(Device->setCooperativeLevel(Window.get(), false), PLATFORM_OK);
    EXPECT_EQ(Device->getBackBuffer(), nullptr);
    EXPECT_EQ(Device->createSurface(0, 0, SURFACE_PRIMARY | SURFACE_FLIP, Primary), PLATFORM_UNSUPPORTED);
}

TEST_F(DisplayTest, PresentShowsTheFrameInTheWindowInEitherDepth) {
    auto Window = TWindow::create("present", 64, 48, false);
    ASSERT_NE(Window, nullptr) << GetPlatformError();
    for (int32_t Bits : {32, 16}) {
        TDisplayFaults Faults;
        Faults.DisplayBits = Bits;
        auto Device = makeDevice(Faults);
        ASSERT_EQ(Device->setCooperativeLevel(Window.get(), false), PLATFORM_OK);
        std::shared_ptr<TPixelSurface> Screen;
        ASSERT_EQ(Device->createSurface(100, 100, 0, Screen), PLATFORM_OK);
        Screen->fill({0, 0, 100, 100}, Bits == 16 ? 0xF800 : 0xFF0000);
        Screen->fill({10, 5, 11, 6}, Bits == 16 ? 0x001F : 0x0000FF);
        ASSERT_EQ(Device->present(*Screen, {0, 0, 64, 48}), PLATFORM_OK) << GetPlatformError();
        SDL_Surface* Shown = SDL_GetWindowSurface(Window->getNative());
        ASSERT_NE(Shown, nullptr);
        auto Pixel = [&](int x, int y) {
            Uint8 r, g, b;
            const Uint8* At = static_cast<const Uint8*>(Shown->pixels) + y * Shown->pitch +
                              x * Shown->format->BytesPerPixel;
            SDL_GetRGB(*reinterpret_cast<const Uint32*>(At), Shown->format, &r, &g, &b);
            return static_cast<uint32_t>(r) << 16 | g << 8 | b;
        };
        EXPECT_EQ(Pixel(0, 0), 0xFF0000u) << Bits;
        EXPECT_EQ(Pixel(10, 5), 0x0000FFu) << Bits;
        EXPECT_EQ(Pixel(63, 47), 0xFF0000u) << Bits;
        Screen->markLost();
        EXPECT_EQ(Device->present(*Screen, {0, 0, 64, 48}), PLATFORM_SURFACE_LOST);
    }
}
