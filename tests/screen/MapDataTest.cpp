// The map view over the generated data set: a street scene with every kind of thing the drawing meets
// (blocks, shifted and elevated things, hanging lights, masked outfits, a 2 x 2 creature, effects, a missile,
// rising texts), drawn stretched and unstretched, lit and dark, and the time one frame takes.
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "screen/MapWindow.h"
#include "state/CreaturesPlayer.h"
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/MapEffects.h"
#include "state/MapLight.h"
#include "state/Objects.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "tests/graphics/GraphicsTest.h"
#include "tests/state/WorldTest.h"
#include "tools/datagen/Catalog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;
using namespace Catalog;

constexpr uint32_t PLAYER = 0x10000001, DRAGON = 0x40000001, GHOST = 0x40000002, KNIGHT = 0x10000002;

class MapData : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* Name : {"Ebrun.dat", "Ebrun.spr", "Ebrun.pic"})
            fs::copy_file(fs::path(EBRUN_DATA_DIR) / Name, Name);
        Engine = std::make_unique<TTestEngine>(TDisplayFaults(), 800, 600);
        InitObjects();
        InitGraphics(4 << 20);
        InitVideoCache();
        InitSkins();
        InitSkinProperties();
        ResetOptions();
        ResetShortcuts();
        ResetEventHelps();
        ClearMessages();
        ResetTalkboxes();
        InitCreatures();
        InitMap(nullptr);
        SetViewPosition(1000, 1000, 7);
        SetAmbientLight(-1, 0);
        SetAmbientLight(255, 215);
        SetPlayerID(PLAYER);
        buildStreet();
        View = std::make_unique<TMapView>();
    }
    void TearDown() override {
        View.reset();
        ClearMessages();
        ClearMap();
        SetPlayerID(0);
        InitCreatures();
        ExitSkins();
        ExitGraphics();
        ExitObjects();
        Engine.reset();
    }
    TCreature& creature(uint32_t ID, int32_t rx, int32_t ry, int32_t Outfit, const char* Name) {
        TCreature* C = NewCreature(0, ID);
        const int32_t rz = GetViewLayer();
        int32_t x = rx, y = ry, z = rz;
        LocalToWorld(x, y, z);
        C->X = x;
        C->Y = y;
        C->Z = z;
        snprintf(C->Name, sizeof C->Name, "%s", Name);
        C->OutfitType = Outfit;
        C->OutfitHead = 10;
        C->OutfitBody = 40;
        C->HealthPercent = 80;
        C->Visible = 1;
        AppendMapObject(rx, ry, rz, {CREATURE, static_cast<int32_t>(ID), 0});
        return *C;
    }
    void buildStreet() {
        for (int32_t x = 0; x < MAPSIZE_X; x++)
            for (int32_t y = 0; y < MAPSIZE_Y; y++)
                AppendMapObject(x, y, 0, {x < 4 ? COBBLES : GRASS, 0, 0});
        AppendMapObject(3, 3, 0, {TREE, 0, 0});
        AppendMapObject(5, 2, 0, {STREET_LAMP, 0, 0});
        AppendMapObject(6, 4, 0, {STONE_WALL_H, 0, 0});
        AppendMapObject(6, 4, 0, {TORCH, 0, 18});
        AppendMapObject(10, 8, 0, {Catalog::CRATE, 0, 0});
        AppendMapObject(10, 8, 0, {GOLD_COINS, 37, 0});
        AppendMapObject(12, 4, 0, {BUCKET, 2, 0});
        AppendMapObject(11, 10, 0, {WATER, 0, 0});
        AppendMapObject(13, 9, 0, {ARCH_TOP, 0, 0});
        AppendMapObject(2, 2, 1, {ROOF, 0, 0});
        creature(PLAYER, 8, 6, OUTFIT_GAMEMASTER, "Hero").LightBrightness = 0;
        creature(DRAGON, 11, 5, OUTFIT_DRAGON, "Dragon").PKFlag = 2;
        TCreature& Ghost = creature(GHOST, 5, 7, 0, "Ghost");
        Ghost.OutfitHead = 0; // invisible: the shimmer
        creature(KNIGHT, 9, 8, OUTFIT_KNIGHT, "Anna").PARTYFlag = 3;
        AddGraphicEffect(7, 7, 0, 8);
        AddTextEffect(9, 5, 0, 180, "123");
        AddMissileEffect(8, 6, 0, 12, 6, 0, 2);
        int32_t x = 9, y = 8, z = GetViewLayer();
        LocalToWorld(x, y, z);
        AddTalkboxStatement(TALK_SAY, "Anna", x, y, z, "Welcome to the street market of the town.");
        SetStatusMessage("You see a dragon.", false);
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

    TScratchDir Scratch;
    std::unique_ptr<TTestEngine> Engine;
    std::unique_ptr<TMapView> View;
};

TEST_F(MapData, StreetSceneDrawsUnstretchedAndStretched) {
    SetNoStretching(true);
    View->setSize(480, 352);
    View->draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(View->_LabelCount, 3); // the player and the two battle-list members; not the invisible ghost
    EXPECT_NE(pixel(240, 176), 0u);
    SetNoStretching(false);
    View->setSize(600, 440);
    View->draw(SCREEN_SURFACE, 10, 10);
    EXPECT_NE(pixel(310, 230), 0u);
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
