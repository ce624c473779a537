// The street scene of the generated data set for map-view tests.
#include "tests/screen/MapStreet.h"

#include "state/Map.h"
#include "state/MapEffects.h"
#include "state/Objects.h"
#include "state/Talk.h"
#include "tests/screen/MapWorld.h"
#include "tools/datagen/Catalog.h"

#include <filesystem>

namespace fs = std::filesystem;
using namespace Catalog;

void InitStreetModules(int32_t Z) {
    for (const char* Name : {"Ebrun.dat", "Ebrun.spr", "Ebrun.pic"})
        if (!fs::exists(Name)) fs::copy_file(fs::path(EBRUN_DATA_DIR) / Name, Name);
    InitObjects();
    InitMapViewModules(4 << 20, 1000, 1000, Z, STREET_PLAYER);
}

void ExitStreetModules() {
    ExitMapViewModules();
    ExitObjects();
}

TCreature& StreetCreature(uint32_t ID, int32_t rx, int32_t ry, int32_t Outfit, const char* Name) {
    TCreature& C = PlaceCreature(ID, rx, ry, Name);
    C.OutfitType = Outfit;
    C.OutfitHead = 10;
    C.OutfitBody = 40;
    C.HealthPercent = 80;
    return C;
}

void BuildStreet(bool Moving) {
    const int32_t rz = GetViewLayer();
    for (int32_t x = 0; x < MAPSIZE_X; x++)
        for (int32_t y = 0; y < MAPSIZE_Y; y++)
            AppendMapObject(x, y, rz, {x < 4 ? COBBLES : GRASS, 0, 0});
    AppendMapObject(3, 3, rz, {TREE, 0, 0});
    AppendMapObject(5, 2, rz, {STREET_LAMP, 0, 0});
    AppendMapObject(6, 4, rz, {STONE_WALL_H, 0, 0});
    AppendMapObject(6, 4, rz, {TORCH, 0, 18});
    AppendMapObject(10, 8, rz, {Catalog::CRATE, 0, 0});
    AppendMapObject(10, 8, rz, {GOLD_COINS, 37, 0});
    AppendMapObject(12, 4, rz, {BUCKET, 2, 0});
    AppendMapObject(11, 10, rz, {WATER, 0, 0});
    AppendMapObject(13, 9, rz, {ARCH_TOP, 0, 0});
    AppendMapObject(2, 2, rz + 1, {ROOF, 0, 0});
    StreetCreature(STREET_PLAYER, 8, 6, OUTFIT_GAMEMASTER, "Hero").LightBrightness = 0;
    StreetCreature(STREET_DRAGON, 11, 5, OUTFIT_DRAGON, "Dragon").PKFlag = 2;
    TCreature& Ghost = StreetCreature(STREET_GHOST, 5, 7, 0, "Ghost");
    Ghost.OutfitHead = 0; // invisible: the shimmer
    StreetCreature(STREET_KNIGHT, 9, 8, OUTFIT_KNIGHT, "Anna").PARTYFlag = 3;
    AddGraphicEffect(7, 7, rz, 8);
    if (!Moving) return;
    AddTextEffect(9, 5, rz, 180, "123");
    AddMissileEffect(8, 6, rz, 12, 6, rz, 2);
    int32_t x = 9, y = 8, z = rz;
    LocalToWorld(x, y, z);
    AddTalkboxStatement(TALK_SAY, "Anna", x, y, z, "Welcome to the street market of the town.");
    SetStatusMessage("You see a dragon.", false);
}
