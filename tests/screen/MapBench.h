// A bench for the map view: the software engine with canned sprites (one solid colour each), a darkness
// picture, a font, an object-type file of a few types, and a map box filled through the state's own calls.
#pragma once

#include "screen/MapWindow.h"
#include "tests/graphics/GraphicsTest.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

// Sprites: solid colours, and one quarter sprite coloured only in its top-left 16 x 16.
enum TBenchSprite : int32_t { RED = 1, GREEN = 2, BLUE = 3, YELLOW = 4, WHITE = 5, QUARTER = 6 };
enum TBenchType : int32_t {
    TILE = 100,     // BANK, red
    HERB = 101,     // green
    CANOPY = 102,   // flag 3, blue
    FLICKER = 103,  // two phases: green, blue
    COINS = 104,    // CUMULATIVE, yellow
    ROOF = 105,     // BANK, yellow (a ground on a higher floor)
    LAMP = 106,     // LIGHT brightness 3, white colour; quarter sprite
    OPENROOF = 107, // BANK and flag 22, yellow
    CHEST = 108,    // container (4), white
    USABLE = 109,   // used with (7), quarter sprite
    LENS = 110,     // LENSHELP 1105, green
};
inline constexpr uint32_t PLAYER = 0x10000001;
inline constexpr uint32_t MONSTER = 0x40000010;
inline constexpr uint32_t OTHER_PLAYER = 0x10000002;

// Colour of an engine pixel, compared with some tolerance for the 5-6-5 surfaces.
bool Near(uint32_t Pixel, int32_t Red, int32_t Green, int32_t Blue);

class MapBench : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Ground on every point of box floor 0, the player standing at (8, 6) of the view layer.
    void fillGround();
    TCreature& addCreature(uint32_t ID, int32_t rx, int32_t ry, const char* Name);
    void put(int32_t rx, int32_t ry, int32_t rz, TObject Obj);
    // Draws the view at (0, 0) of SCREEN_SURFACE, 480 x 352 without stretching unless sized otherwise.
    void drawView();
    uint32_t pixel(int32_t x, int32_t y);
    uint32_t picture(int32_t x, int32_t y); // a pixel of the map picture (TEMP_SURFACE)

    TWorkingDirectory Scratch;
    std::unique_ptr<TTestEngine> Engine;
    TMapView* View = nullptr;
};
