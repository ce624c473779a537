// Objects and outfits drawn into boxes: scaling, patterns, animation phase, counts and outfit colours.
#include "graphics/graphics.h"

#include "state/Objects.h"
#include "state/Status.h"
#include "tests/graphics/GraphicsTest.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>

namespace {

enum : int32_t { STACK = 100, BIG = 101, ANIMATED = 102, FLASK = 103 };

// Sprites 1 to 4: solid red, green, blue, yellow; 5 white.
const uint32_t SOLID[4] = {0xC80000, 0x00C800, 0x0000C8, 0xC8C800};

void WriteData() {
    WriteFile(
        "Ebrun.spr",
        SpriteFileBytes({SpriteOf(FilledTile(200, 0, 0)), SpriteOf(FilledTile(0, 200, 0)),
                         SpriteOf(FilledTile(0, 0, 200)), SpriteOf(FilledTile(200, 200, 0)),
                         SpriteOf(FilledTile(255, 255, 255)), SpriteOf(FilledTile(255, 255, 0), 1, 1, 1)}));
    // Every font writes the counts as 2 x 3 white blocks (font 2 has cells of 16 pixels: 16 tiles across).
    TTestPicture Font = PictureOf(16, 4, [](int32_t x, int32_t y) {
        const bool Ink = x % 8 < 2 && y % 16 < 3 && (y / 16) * 32 + x / 8 > 0;
        return Ink ? std::array<uint8_t, 3>{255, 255, 255} : std::array<uint8_t, 3>{255, 0, 255};
    });
    TTestPicture Filler = PictureOf(1, 1, [](int32_t, int32_t) { return std::array<uint8_t, 3>{1, 2, 3}; });
    WriteFile("Ebrun.pic", PictureFileBytes({Filler, Filler, Font, Filler, Font, Font, Filler, Font}));

    TDatFile Dat;
    Dat.addItem().flag(DAT_CUMULATIVE).sprite(1, 1, 1, 1, 1, 1, 1, 1);
    TDatType& Big = Dat.addItem().shape(2, 2, 1, 1, 1, 1, 1, 64);
    Big.sprite(1, 1, 1, 1, 1, 1, 1, 1).sprite(2, 1, 1, 1, 1, 1, 1, 2).sprite(1, 2, 1, 1, 1, 1, 1, 3);
    Big.sprite(2, 2, 1, 1, 1, 1, 1, 4);
    Dat.addItem().shape(1, 1, 1, 1, 1, 1, 2).sprite(1, 1, 1, 1, 1, 1, 1, 1).sprite(1, 1, 1, 1, 1, 1, 2, 2);
    TDatType& Flask = Dat.addItem().flag(DAT_LIQUIDCONTAINER).shape(1, 1, 1, 4, 1, 1, 1);
    for (int32_t p = 1; p <= 4; p++)
        Flask.sprite(1, 1, 1, p, 1, 1, 1, static_cast<uint16_t>(p));
    Dat.addOutfit().shape(1, 1, 1, 4, 1, 1, 1).sprite(1, 1, 1, 3, 1, 1, 1, 5);
    Dat.addEffect().sprite(1, 1, 1, 1, 1, 1, 1, 1);
    Dat.addMissile().sprite(1, 1, 1, 1, 1, 1, 1, 1);
    LoadDatFile(Dat);
}

const TTextFormat COUNT{4, 255, 255, 255, RIGHT_ALIGN};

class ObjectDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        WriteData();
        InitGraphics(1 << 20);
        InitVideoCache();
        clear();
    }
    void TearDown() override { ExitGraphics(); }
    void clear() { Engine.engine().FillRectangle(SCREEN_SURFACE, 0, 0, 640, 480, 0, 0, 0); }
    void drawObject(int32_t x, int32_t Size, TObject Object, bool AlwaysShowCount = false) {
        DrawObject(SCREEN_SURFACE, x, 0, Size, Object, 0, 0, 0, 0, 0, 640, 480, COUNT, AlwaysShowCount);
    }
    // Pixels of the count's colour inside the box at x.
    int32_t inked(int32_t x, int32_t Size) {
        int32_t Count = 0;
        for (int32_t y = 0; y < Size; y++)
            for (int32_t i = 0; i < Size; i++)
                Count += Engine.pixel(SCREEN_SURFACE, x + i, y) == 0xFEFEFEu;
        return Count;
    }

    TWorkingDirectory Scratch;
    TTestEngine Engine;
};

} // namespace

TEST_F(ObjectDrawing, CountsShowAboveOneOrWhenAsked) {
    drawObject(0, 32, {STACK, 1, 0});
    EXPECT_EQ(inked(0, 32), 0);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 16, 16), SOLID[0]);
    drawObject(40, 32, {STACK, 1, 0}, true);
    EXPECT_EQ(inked(40, 32), 6);
    drawObject(80, 32, {STACK, 100, 0});
    EXPECT_EQ(inked(80, 32), 18); // three glyphs of 2 x 3
    // The text's bottom sits one pixel above the box's bottom, its right end at the box's last column.
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 80 + 30, 32 - 2), 0xFEFEFEu);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 80 + 31, 32 - 2), SOLID[0]);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 80 + 30, 32 - 1), SOLID[0]);
    drawObject(120, 32, {0, 5, 0}, true); // type 0: nothing at all
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 130, 10), 0u);
}

TEST_F(ObjectDrawing, LargeTypesScaleIntoTheBoxFromTheLowerRight) {
    drawObject(0, 32, {BIG, 0, 0}); // 64-pixel type in a 32-pixel box: 16-pixel fields
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 31, 31), SOLID[0]); // field (1, 1)
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 16, 16), SOLID[0]);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 15, 31), SOLID[1]); // field (2, 1) to the left
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 31, 15), SOLID[2]); // field (1, 2) above
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 0, 0), SOLID[3]);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 32, 0), 0u);
    drawObject(100, 64, {FLASK, 2, 0}); // liquid 2: the third pattern
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 140, 40), SOLID[2]);
}

TEST_F(ObjectDrawing, AnimationAdvancesEveryFiveTicksForEveryObjectAlike) {
    while (GetTickCounter() % 10 != 0)
        IncreaseTickCounter();
    drawObject(0, 32, {ANIMATED, 0, 0});
    drawObject(40, 32, {ANIMATED, 0, 0});
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 10, 10), SOLID[0]);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 50, 10), SOLID[0]);
    for (int i = 0; i < 4; i++)
        IncreaseTickCounter();
    drawObject(0, 32, {ANIMATED, 0, 0});
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 10, 10), SOLID[0]);
    IncreaseTickCounter();
    drawObject(0, 32, {ANIMATED, 0, 0});
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 10, 10), SOLID[1]);
}
