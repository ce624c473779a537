// The map view over the generated data set: a street scene with every kind of thing the drawing meets
// (blocks, shifted and elevated things, hanging lights, masked outfits, a 2 x 2 creature, effects, a missile,
// rising texts), drawn stretched and unstretched, lit and dark, and the time one frame takes.
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "screen/MapWindow.h"
#include "state/MapLight.h"
#include "state/Preferences.h"
#include "tests/graphics/GraphicsTest.h"
#include "tests/screen/MapStreet.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class MapData : public ::testing::Test {
protected:
    void SetUp() override {
        Engine = std::make_unique<TTestEngine>(TDisplayFaults(), 800, 600);
        InitStreetModules(7);
        BuildStreet(true);
        View = std::make_unique<TMapView>();
    }
    void TearDown() override {
        View.reset();
        ExitStreetModules();
        Engine.reset();
    }
    uint32_t pixel(int32_t x, int32_t y) { return Engine->pixel(SCREEN_SURFACE, x, y); }
    // The sum of the components over the square of box point (rx, ry) of the unstretched view.
    int64_t fieldBrightness(int32_t rx, int32_t ry) {
        int64_t Sum = 0;
        for (int32_t y = ry * 32 - 32; y < ry * 32; y++)
            for (int32_t x = rx * 32 - 32; x < rx * 32; x++) {
                const uint32_t Pixel = pixel(x, y);
                Sum += (Pixel >> 16 & 255) + (Pixel >> 8 & 255) + (Pixel & 255);
            }
        return Sum;
    }

    // The pixels of the Size x Size square at (x, y) whose green exceeds their red and their blue.
    int32_t greenPixels(int32_t x, int32_t y, int32_t Size) {
        int32_t Count = 0;
        for (int32_t py = y; py < y + Size; py++)
            for (int32_t px = x; px < x + Size; px++) {
                const uint32_t Pixel = pixel(px, py);
                const uint32_t Green = Pixel >> 8 & 255;
                Count += Green > (Pixel >> 16 & 255) && Green > (Pixel & 255);
            }
        return Count;
    }

    TWorkingDirectory Scratch;
    std::unique_ptr<TTestEngine> Engine;
    std::unique_ptr<TMapView> View;
};

// The grounds land on their fields: the cobbles of the first four columns end where the grass begins, in the
// unstretched view and, 1.25 times larger, in the stretched one.
TEST_F(MapData, StreetSceneDrawsUnstretchedAndStretched) {
    SetNoStretching(true);
    View->setSize(480, 352);
    View->draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(View->_LabelCount, 3); // the player and the two battle-list members; not the invisible ghost
    EXPECT_EQ(greenPixels(64, 288, 32), 0) << "cobbles at (3, 10)";
    EXPECT_EQ(greenPixels(96, 288, 32), 32 * 32) << "grass at (4, 10)";
    SetNoStretching(false);
    View->setSize(600, 440);
    View->draw(SCREEN_SURFACE, 10, 10);
    EXPECT_EQ(greenPixels(10 + 80, 10 + 360, 40), 0);
    EXPECT_EQ(greenPixels(10 + 120, 10 + 360, 40), 40 * 40);
}

TEST_F(MapData, NightScenesAreLitAroundThePlayerAndTheTorch) {
    SetNoStretching(true);
    View->setSize(480, 352);
    SetAmbientLight(-1, 0);
    SetAmbientLight(20, 215);
    SetLightEffects(false);
    View->draw(SCREEN_SURFACE, 0, 0);
    EXPECT_GT(View->_Light[8][6][0], View->_Light[1][12][0]);
    EXPECT_GT(View->_Light[6][4][0], View->_Light[1][12][0]);
    // The darkness tiles dither: compare whole fields.
    EXPECT_GT(fieldBrightness(8, 6), fieldBrightness(1, 11) + 1000);
}

} // namespace
