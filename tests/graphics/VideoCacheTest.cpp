// The video cache over the engine's pages and the tile drawing calls.
#include "graphics/graphics.h"

#include "graphics/Engine.h"
#include "tests/graphics/GraphicsTest.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>

namespace {

// Sprite 1: red with a key hole at (0, 0); sprite 2: its mask, yellow (head) on the left half, blue (feet)
// on the right; sprite 3: white; sprite 4: white with a pixel at (7, 3) that equals the key in 5-6-5 only.
// Picture 1: 3 x 2 tiles whose pixel (x, y) is (x, y, 9).
void WriteData() {
    TTile Red = FilledTile(200, 0, 0), Mask = FilledTile(255, 255, 0), White = FilledTile(255, 255, 255);
    TTile NearKey = White;
    SetTilePixel(Red, 0, 0, 255, 0, 255);
    SetTilePixel(NearKey, 7, 3, 250, 3, 251);
    for (int32_t y = 0; y < 32; y++)
        for (int32_t x = 16; x < 32; x++)
            SetTilePixel(Mask, x, y, 0, 0, 255);
    WriteFile("Ebrun.spr", SpriteFileBytes({SpriteOf(Red), SpriteOf(Mask, 1, 1, 1), SpriteOf(White, 1, 1, 1),
                                            SpriteOf(NearKey)}));
    WriteFile("Ebrun.pic", PictureFileBytes({PictureOf(3, 2, [](int32_t x, int32_t y) {
                  return std::array<uint8_t, 3>{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 9};
              })}));
    OpenSpriteFile("Ebrun.spr");
    OpenPictureFile("Ebrun.pic");
}

class VideoCache : public ::testing::Test {
protected:
    void SetUp() override {
        WriteData();
        InitMemoryCache(64 * 3072);
    }
    void TearDown() override { ExitGraphics(); }
    TWorkingDirectory Scratch;
};

const int32_t Colours[12] = {100, 50, 0, 0, 0, 0, 0, 0, 0, 10, 20, 30};

} // namespace

TEST_F(VideoCache, WithoutPagesNothingIsCachedAndNothingIsDrawn) {
    ResetEngineModule();
    GetSurface()->InitSurfaces(); // no mode set yet: no pages
    InitVideoCache();
    EXPECT_EQ(GetVideoCacheSize(), 0);
    EXPECT_EQ(GetVideoSprite(1), nullptr);
    DrawSprite(SCREEN_SURFACE, 0, 0, 1);
    DrawPicture(SCREEN_SURFACE, 0, 0, 1);
    DrawOutfitSprite(SCREEN_SURFACE, 0, 0, 1, 2, Colours);
    GetSurface()->ExitSurfaces();
    ResetEngineModule();
}

TEST_F(VideoCache, CellsLieRowByRowPageByPage) {
    TTestEngine Engine;
    InitVideoCache();
    ASSERT_EQ(GetVideoCacheSize(), 16 * 100); // 320 x 320 pages
    const TVideoCacheItem* First =
        GetVideoSprite(1); // the first miss takes the least recently used: the last cell
    EXPECT_EQ(First->Page, 15);
    EXPECT_EQ(First->x, 288);
    EXPECT_EQ(First->y, 288);
    // Misses go on backwards through the cells; the 1,490th lands in cell 110: page 1, (0, 32).
    int32_t Colors[12] = {};
    const TVideoCacheItem* Cell = nullptr;
    for (int32_t i = 1; i < 1490; i++) {
        Colors[0] = i;
        Cell = GetVideoMaskedSprite(1, 2, Colors);
    }
    EXPECT_EQ(Cell->Page, 1);
    EXPECT_EQ(Cell->x, 0);
    EXPECT_EQ(Cell->y, 32);
}

TEST_F(VideoCache, OutfitColoursKeepTheirOwnCells) {
    TTestEngine Engine;
    InitVideoCache();
    DrawSprite(SCREEN_SURFACE, 0, 0, 0); // sprite 0: nothing, no cell
    DrawSpriteClipped(SCREEN_SURFACE, 0, 0, -1, 0, 0, 10, 10);
    const TVideoCacheItem* Plain = GetVideoSprite(1);
    EXPECT_EQ(Plain->Page, 15);
    EXPECT_EQ(Plain->x, 288); // still the first cell used
    int32_t Other[12] = {1, 2, 3};
    const TVideoCacheItem* A = GetVideoMaskedSprite(1, 2, Colours);
    const int32_t APosition = A->Page * 10000 + A->y * 100 + A->x;
    const TVideoCacheItem* B = GetVideoMaskedSprite(1, 2, Other);
    EXPECT_NE(B->Page * 10000 + B->y * 100 + B->x, APosition);
    const TVideoCacheItem* Again = GetVideoMaskedSprite(1, 2, Colours);
    EXPECT_EQ(Again->Page * 10000 + Again->y * 100 + Again->x, APosition);
    EXPECT_NE(
        ExceptionTextOf([] { GetVideoMaskedSprite(1, 5, Colours); }).find("In(MaskNumber,1,NumberOfSprites)"),
        std::string::npos);
}

TEST_F(VideoCache, OneSlotOfMemoryStillRecoloursFromTheRightTiles) {
    InitMemoryCache(3072);
    TTestEngine Engine;
    InitVideoCache();
    Engine.engine().FillRectangle(SCREEN_SURFACE, 0, 0, 200, 100, 0, 0, 40);
    DrawOutfitSprite(SCREEN_SURFACE, 0, 0, 3, 2, Colours);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 5, 5), 0x633100u);  // head colour (100, 50, 0) at brightness 255
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 25, 5), 0x09131Du); // feet colour (10, 20, 30)
    DrawSprite(SCREEN_SURFACE, 40, 0, 1);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 40, 0), 0x000028u); // the key hole
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 41, 0), 0xC80000u);
}

// Cells without a key pixel are copied plainly; the marks must still find a pixel that only the 16-bit
// format turns into the key.
TEST_F(VideoCache, KeyMarksHoldAtSixteenBits) {
    TDisplayFaults Faults;
    Faults.DisplayBits = 16;
    TTestEngine Engine(Faults);
    InitVideoCache();
    std::array<uint32_t, TILE_SIZE> Marks{};
    EXPECT_EQ(GetVideoSprite(3)->KeyPixels, Marks);
    EXPECT_EQ(GetVideoSprite(3)->KeyRows, 0u);
    Marks[3] = 1u << 7;
    EXPECT_EQ(GetVideoSprite(4)->KeyPixels, Marks);
    EXPECT_EQ(GetVideoSprite(4)->KeyRows, 1u << 3);
    Engine.engine().FillRectangle(SCREEN_SURFACE, 0, 0, 100, 100, 0, 0, 0);
    DrawSprite(SCREEN_SURFACE, 0, 0, 4);
    DrawSpriteClipped(SCREEN_SURFACE, 40, 0, 4, 40, 0, 32, 32);
    for (const int32_t x : {0, 40}) {
        EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, x + 7, 3), 0u);
        EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, x + 8, 3), 0xFFFFFFu);
    }
}

TEST_F(VideoCache, PicturePartsComeTileByTile) {
    TTestEngine Engine;
    InitVideoCache();
    Engine.engine().FillRectangle(SCREEN_SURFACE, 0, 0, 200, 100, 0, 0, 0);
    DrawPicturePart(SCREEN_SURFACE, 100, 50, 1, 40, 0, 10, 10);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 100, 50), 0x280009u); // picture (40, 0)
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 109, 59), 0x310909u); // picture (49, 9)
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 110, 50), 0u);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 100, 60), 0u);
    DrawPicturePart(SCREEN_SURFACE, 0, 0, 1, 20, 20, 60, 30); // across four tiles
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 0, 0), 0x141409u);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 59, 29), 0x4F3109u);
    DrawPicturePart(SCREEN_SURFACE, 0, 0, 1, 0, 0, 0, 5); // nothing
    EXPECT_NE(ExceptionTextOf([] {
                  DrawPicturePartClipped(SCREEN_SURFACE, 0, 0, 1, 0, 0, 0, 5, 0, 0, 9, 9);
              }).find("Width>0"),
              std::string::npos);
    DrawPicturePartClipped(SCREEN_SURFACE, 150, 0, 1, 0, 0, 96, 64, 150, 0, 5, 5);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 154, 4), 0x040409u);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 155, 4), 0u);
}

TEST_F(VideoCache, FewerPagesAfterASwitchShrinkTheCacheAndEmptyIt) {
    {
        TTestEngine Engine;
        InitVideoCache();
        GetVideoSprite(1);
        EXPECT_EQ(GetVideoCacheSize(), 1600);
    }
    TDisplayFaults Faults;
    Faults.VideoMemoryBytes = 0; // only the eight required pages, in other memory
    TTestEngine Smaller(Faults);
    ResetVideoCache();
    EXPECT_EQ(GetVideoCacheSize(), 800);
    const TVideoCacheItem* Cell = GetVideoSprite(1);
    EXPECT_EQ(Cell->Page, 7); // a miss again, into the new last cell
}
