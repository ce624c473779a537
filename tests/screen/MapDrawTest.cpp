// Canned map scenes drawn by the map view: draw order, floors under a roof, creature bars, names and marks,
// and the darkness of the light.
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/MapLight.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "tests/screen/MapBench.h"

namespace {

// The picture position of the centre of box point (rx, ry) while the player stands still.
int32_t CentreX(int32_t rx) { return rx * 32 - 32 + 16; }
int32_t CentreY(int32_t ry) { return ry * 32 - 32 + 16; }

class MapScene : public MapBench {
protected:
    void SetUp() override {
        MapBench::SetUp();
        fillGround();
    }
    int32_t count(int32_t x, int32_t y, int32_t w, int32_t h, int32_t R, int32_t G, int32_t B) {
        int32_t n = 0;
        for (int32_t j = y; j < y + h; j++)
            for (int32_t i = x; i < x + w; i++)
                n += Near(pixel(i, j), R, G, B);
        return n;
    }
};

TEST_F(MapScene, ObjectsCreaturesAndTopObjectsInDrawOrder) {
    put(3, 3, 0, {HERB, 0, 0});
    addCreature(MONSTER, 5, 3, "Orc");
    put(5, 3, 0, {CANOPY, 0, 0});
    SetCreatureInfo(0);
    drawView();
    EXPECT_TRUE(Near(pixel(CentreX(2), CentreY(3)), 200, 0, 0));
    EXPECT_TRUE(Near(pixel(CentreX(3), CentreY(3)), 0, 200, 0));
    // The flag-3 object covers the creature on its field; the player is drawn over the ground.
    EXPECT_TRUE(Near(pixel(CentreX(5), CentreY(3)), 0, 0, 200));
    EXPECT_TRUE(Near(pixel(CentreX(8), CentreY(6)), 248, 248, 248));
}

TEST_F(MapScene, AnimatedObjectsBypassTheCells) {
    put(4, 4, 0, {FLICKER, 0, 0});
    drawView();
    EXPECT_TRUE(Near(pixel(CentreX(4), CentreY(4)), 0, 200, 0));
    EXPECT_EQ(View->getCell(4, 4).CachedCount, 1); // the ground only
}

TEST_F(MapScene, RoofOverThePlayerHidesTheFloorsAbove) {
    put(7, 5, 1, {ROOF, 0, 0}); // straight above the player's field, one floor up
    put(2, 2, 1, {HERB, 0, 0});
    drawView();
    EXPECT_EQ(View->_TopFloor, 0);
    EXPECT_TRUE(Near(pixel(CentreX(7), CentreY(5)), 200, 0, 0));
    EXPECT_TRUE(Near(pixel(CentreX(2), CentreY(2)), 200, 0, 0));
}

TEST_F(MapScene, OpenRoofAndRoofsAwayFromThePlayerAreDrawn) {
    put(7, 5, 1, {OPENROOF, 0, 0});
    put(2, 2, 1, {ROOF, 0, 0});
    drawView();
    EXPECT_EQ(View->_TopFloor, 7);
    EXPECT_TRUE(Near(pixel(CentreX(7), CentreY(5)), 200, 200, 0));
    EXPECT_TRUE(Near(pixel(CentreX(2), CentreY(2)), 200, 200, 0));
}

TEST_F(MapScene, CreatureShowsNameAndHealthBarByTheInfoOption) {
    TCreature& Orc = addCreature(MONSTER, 5, 4, "Orc");
    Orc.HealthPercent = 50;
    drawView();
    ASSERT_EQ(View->_LabelCount, 2);
    const int32_t BarX = CentreX(5) - 14, BarY = 4 * 32 - 32 - 4;
    EXPECT_TRUE(Near(pixel(BarX, BarY), 0, 0, 0));
    EXPECT_TRUE(Near(pixel(BarX + 1, BarY + 1), 192, 192, 0));
    EXPECT_TRUE(Near(pixel(BarX + 1 + 12, BarY + 1), 0, 0, 0)); // 50 % fills 12 of 25 pixels
    const int32_t NameTop = BarY - GetFontHeight(2);
    EXPECT_GT(count(BarX - 10, NameTop, 50, GetFontHeight(2), 192, 192, 0), 0);

    SetCreatureInfo(1);
    drawView();
    EXPECT_TRUE(Near(pixel(BarX + 1, BarY + 1), 192, 192, 0));
    EXPECT_EQ(count(BarX - 10, NameTop, 50, GetFontHeight(2), 192, 192, 0), 0);

    SetCreatureInfo(0);
    drawView();
    EXPECT_FALSE(Near(pixel(BarX, BarY), 0, 0, 0));
}

TEST_F(MapScene, HealthFromTheServerAboveAHundredStaysInsideTheBar) {
    TCreature& Orc = addCreature(MONSTER, 5, 4, "Orc");
    Orc.HealthPercent = 255;
    drawView();
    const int32_t BarX = CentreX(5) - 14, BarY = 4 * 32 - 32 - 4;
    EXPECT_TRUE(Near(pixel(BarX + 26, BarY + 1), 0, 0, 0));
}

TEST_F(MapScene, SkullOnItsWayOutBlinks) {
    TCreature& Orc = addCreature(MONSTER, 5, 4, "Orc");
    Orc.PKFlag = 1;
    SetCreatureInfo(1);
    drawView();
    const int32_t Area[4] = {CentreX(5) - 30, 4 * 32 - 32, 60, 30};
    EXPECT_GT(count(Area[0], Area[1], Area[2], Area[3], 0, 0, 248), 0);
    Orc.PKFlagRemovalTime = 1;
    drawView();
    EXPECT_EQ(count(Area[0], Area[1], Area[2], Area[3], 0, 0, 248) > 0, GetBlink() != 0);
    Orc.PKFlag = 5;
    EXPECT_NE(ExceptionTextOf([&] { drawView(); }).find("unknown creature PK flag"), std::string::npos);
}

TEST_F(MapScene, DarknessTilesFollowTheLight) {
    SetAmbientLight(-1, 0);
    SetAmbientLight(0, 215);
    drawView();
    EXPECT_TRUE(Near(pixel(CentreX(2), CentreY(2)), 0, 0, 0));
    // The player's own light of brightness 2: 255 * 64 / 160 on his field (tile 3), half on the next.
    EXPECT_TRUE(Near(pixel(CentreX(8), CentreY(6)), 96, 96, 96));
    EXPECT_TRUE(Near(pixel(CentreX(9), CentreY(6)), 32, 32, 32));
    EXPECT_EQ(View->_Light[8][6][0], 102);

    SetAmbientLight(-1, 0);
    SetAmbientLight(255, 215);
    drawView();
    EXPECT_TRUE(Near(pixel(CentreX(2), CentreY(2)), 200, 0, 0));
}

TEST_F(MapScene, LampLightsItsNeighbourhoodOffTheGroundLess) {
    SetAmbientLight(-1, 0);
    SetAmbientLight(0, 215);
    put(3, 9, 0, {LAMP, 0, 0});
    drawView();
    // Centre of the lamp's own field: 3 * 32 * 255 / 160.
    EXPECT_EQ(View->_Light[3][9][0], 153);
    EXPECT_GT(View->_Light[4][9][0], 0);
    EXPECT_EQ(View->_Light[6][9][0], 0);
}

// At night the lit picture reaches the view row by row, stretched in parts of 4 picture rows to 5 view rows:
// every view pixel still shows the picture pixel nearest its centre.
TEST_F(MapScene, TheLitPictureIsStretchedAsAWhole) {
    SetAmbientLight(-1, 0);
    SetAmbientLight(0, 215);
    put(3, 9, 0, {LAMP, 0, 0});
    put(12, 4, 0, {LAMP, 0, 0});
    SetCreatureInfo(0);
    SetLightEffects(true);
    SetNoStretching(false);
    View->setSize(600, 440);
    drawView();
    for (int32_t y = 0; y < 440; y++)
        for (int32_t x = 0; x < 600; x++)
            ASSERT_EQ(pixel(x, y), picture((2 * x + 1) * 480 / 1200, (2 * y + 1) * 352 / 880))
                << x << "," << y;
}

TEST_F(MapScene, BeforeThePlayerIsKnownTheViewIsBlack) {
    drawView();
    SetPlayerID(0);
    drawView();
    EXPECT_TRUE(Near(pixel(CentreX(2), CentreY(2)), 0, 0, 0));
    EXPECT_TRUE(View->rightClick(CentreX(2), CentreY(2), 0));
    EXPECT_EQ(PeekMessageType(), MESSAGE_NONE);
}

} // namespace
