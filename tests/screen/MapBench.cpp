// The map view's bench: canned data files, the software engine and a map box filled through the state.
#include "tests/screen/MapBench.h"
#include "tests/screen/MapWorld.h"

#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/MapLight.h"
#include "state/Objects.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"

#include <cstdlib>

namespace {

std::array<uint8_t, 3> Key() { return {255, 0, 255}; }

void WriteData() {
    TTile Quarter = FilledTile(255, 0, 255);
    for (int32_t y = 0; y < 16; y++)
        for (int32_t x = 0; x < 16; x++)
            SetTilePixel(Quarter, x, y, 0, 200, 200);
    WriteFile("Ebrun.spr",
              SpriteFileBytes({SpriteOf(FilledTile(200, 0, 0)), SpriteOf(FilledTile(0, 200, 0)),
                               SpriteOf(FilledTile(0, 0, 200)), SpriteOf(FilledTile(200, 200, 0)),
                               SpriteOf(FilledTile(248, 248, 248)), SpriteOf(Quarter)}));
    // Font glyphs are 12 x 3 white blocks; the darkness picture has tile t in grey 32 t (tile 0 black).
    TTestPicture Font = PictureOf(16, 4, [](int32_t x, int32_t y) {
        const bool Ink = x % 16 < 12 && y % 16 < 3 && (y / 16) * 32 + x / 16 > 0;
        return Ink ? std::array<uint8_t, 3>{255, 255, 255} : Key();
    });
    TTestPicture Skins = PictureOf(11, 9, [](int32_t, int32_t) { return std::array<uint8_t, 3>{0, 0, 248}; });
    TTestPicture Darkness = PictureOf(8, 1, [](int32_t x, int32_t) {
        const uint8_t Grey = static_cast<uint8_t>(x / 32 * 32);
        return std::array<uint8_t, 3>{Grey, Grey, Grey};
    });
    TTestPicture Filler = PictureOf(1, 1, [](int32_t, int32_t) { return std::array<uint8_t, 3>{1, 2, 3}; });
    WriteFile("Ebrun.pic", PictureFileBytes({Filler, Filler, Font, Skins, Font, Font, Darkness, Font}));

    TDatFile Dat;
    Dat.addItem().bank(100).sprite(1, 1, 1, 1, 1, 1, 1, RED);
    Dat.addItem().sprite(1, 1, 1, 1, 1, 1, 1, GREEN);
    Dat.addItem().flag(3).sprite(1, 1, 1, 1, 1, 1, 1, BLUE);
    Dat.addItem()
        .shape(1, 1, 1, 1, 1, 1, 2)
        .sprite(1, 1, 1, 1, 1, 1, 1, GREEN)
        .sprite(1, 1, 1, 1, 1, 1, 2, BLUE);
    Dat.addItem().flag(DAT_CUMULATIVE).sprite(1, 1, 1, 1, 1, 1, 1, YELLOW);
    Dat.addItem().bank(100).sprite(1, 1, 1, 1, 1, 1, 1, YELLOW);
    Dat.addItem().light(3, 215).sprite(1, 1, 1, 1, 1, 1, 1, QUARTER);
    Dat.addItem().bank(100).flag(22).sprite(1, 1, 1, 1, 1, 1, 1, YELLOW);
    Dat.addItem().flag(DAT_CONTAINER).sprite(1, 1, 1, 1, 1, 1, 1, WHITE);
    Dat.addItem().flag(DAT_USEWITH).sprite(1, 1, 1, 1, 1, 1, 1, QUARTER);
    Dat.addItem().lensHelp(1105).sprite(1, 1, 1, 1, 1, 1, 1, GREEN);
    Dat.addOutfit()
        .shape(1, 1, 1, 4, 1, 1, 1)
        .sprite(1, 1, 1, 1, 1, 1, 1, WHITE)
        .sprite(1, 1, 1, 2, 1, 1, 1, WHITE)
        .sprite(1, 1, 1, 3, 1, 1, 1, WHITE)
        .sprite(1, 1, 1, 4, 1, 1, 1, WHITE);
    Dat.addEffect().sprite(1, 1, 1, 1, 1, 1, 1, BLUE);
    Dat.addMissile();
    LoadDatFile(Dat);
}

} // namespace

bool Near(uint32_t Pixel, int32_t Red, int32_t Green, int32_t Blue) {
    const int32_t R = Pixel >> 16 & 255, G = Pixel >> 8 & 255, B = Pixel & 255;
    return std::abs(R - Red) <= 8 && std::abs(G - Green) <= 8 && std::abs(B - Blue) <= 8;
}

void MapBench::SetUp() {
    WriteData();
    Engine = std::make_unique<TTestEngine>();
    InitMapViewModules(1 << 20, 100, 100, 7, PLAYER);
    SetLightEffects(false);
    SetNoStretching(true);
    View = new TMapView;
    View->setSize(480, 352);
}

void MapBench::TearDown() {
    delete View;
    ExitMapViewModules();
    Engine.reset();
}

void MapBench::fillGround() {
    for (int32_t x = 0; x < MAPSIZE_X; x++)
        for (int32_t y = 0; y < MAPSIZE_Y; y++)
            put(x, y, 0, {TILE, 0, 0});
    addCreature(PLAYER, 8, 6, "Hero");
}

TCreature& MapBench::addCreature(uint32_t ID, int32_t rx, int32_t ry, const char* Name) {
    TCreature& C = PlaceCreature(ID, rx, ry, Name);
    C.OutfitType = 1;
    return C;
}

void MapBench::put(int32_t rx, int32_t ry, int32_t rz, TObject Obj) { AppendMapObject(rx, ry, rz, Obj); }

void MapBench::drawView() { View->draw(SCREEN_SURFACE, 0, 0); }

uint32_t MapBench::pixel(int32_t x, int32_t y) { return Engine->pixel(SCREEN_SURFACE, x, y); }
uint32_t MapBench::picture(int32_t x, int32_t y) { return Engine->pixel(TEMP_SURFACE, x, y); }
