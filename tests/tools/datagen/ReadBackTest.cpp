// The files the build generated, read back with the client's own readers: object types, sprites, pictures,
// fonts and skins come out as the generator made them.
#include "graphics/graphics.h"
#include "state/Objects.h"
#include "tools/datagen/DataSet.h"
#include "tools/datagen/SkinTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

const char* DAT = EBRUN_DATA_DIR "/Ebrun.dat";
const char* SPR = EBRUN_DATA_DIR "/Ebrun.spr";
const char* PIC = EBRUN_DATA_DIR "/Ebrun.pic";

const TDataSet& Set() {
    static const TDataSet S = BuildDataSet(TDataOptions{});
    return S;
}

uint32_t FileSignature(const char* Name) {
    std::ifstream In(Name, std::ios::binary);
    uint8_t b[4] = {};
    In.read(reinterpret_cast<char*>(b), 4);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

// The decoded tile the client expects for a canvas: the key colour where it is transparent.
bool SameTile(const uint8_t* Buffer, const TCanvas& Image, int x0, int y0) {
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            TColor c = Image.opaque(x0 + x, y0 + y) ? Image.get(x0 + x, y0 + y) : COLOR_KEY;
            const uint8_t* p = Buffer + 3 * (y * 32 + x);
            if (p[0] != c.r || p[1] != c.g || p[2] != c.b) return false;
        }
    return true;
}

class ReadBack : public ::testing::Test {
protected:
    void TearDown() override {
        ExitGraphics();
        ExitSkins();
        FreeObjectTypes();
    }
    uint8_t Buffer[3072];
};

} // namespace

TEST_F(ReadBack, ObjectTypesLoadWithTheirFlagsValuesAndPatterns) {
    LoadObjectTypes(DAT);
    EXPECT_EQ(GetObjectTypeSignature(), FileSignature(DAT));
    EXPECT_EQ(GetHighestObjectType(), Catalog::LAST_DEFAULT_ITEM);
    EXPECT_EQ(GetNumberOfOutfitTypes(), 12);
    EXPECT_EQ(GetNumberOfEffectTypes(), Catalog::EFFECTS);
    EXPECT_EQ(GetNumberOfMissileTypes(), Catalog::MISSILES);
    EXPECT_EQ(GetObjectBankSpeed(Catalog::GRASS), 150);
    EXPECT_EQ(GetObjectElevation(Catalog::TABLE), 8);
    EXPECT_EQ(GetObjectLensHelp(Catalog::LADDER), 1100);
    EXPECT_EQ(GetObjectShiftX(Catalog::STREET_LAMP), 6);
    EXPECT_EQ(GetObjectSize(Catalog::TREE), 64);
    EXPECT_TRUE(GetObjectFlag(Catalog::STONE_WALL_H, 18));
    EXPECT_TRUE(GetOutfitFlag(Catalog::OUTFIT_GHOST, 27));
    EXPECT_GE(GetEffectPhases(Catalog::EFFECT_INVISIBLE), 4);
    // The pattern rules pick the generator's pictures: count 30 is the seventh heap, liquid 2 the third vial.
    int32_t px, py;
    GetCumulativePattern(TObject{Catalog::GOLD_COINS, 30, 0}, px, py);
    const TDatType& Coins = Set().Dat.Items[Catalog::GOLD_COINS - 100];
    EXPECT_EQ(GetObjectSprite(Catalog::GOLD_COINS, 1, 1, 1, px, py, 1, 1),
              Coins.Sprites[Coins.spriteIndex(1, 1, 1, 3, 2, 1, 1)]);
    GetLiquidPattern(TObject{Catalog::VIAL, 2, 0}, px, py);
    EXPECT_EQ(px, 3);
    GetHangPattern(TObject{Catalog::TORCH, 0, 19}, px, py);
    EXPECT_EQ(px, 3);
    for (int d = 0; d < 8; d++)
        EXPECT_GT(GetMissileSprite(1, 1, 1, 1, d), 0) << d;
    EXPECT_EQ(GetOutfitLayers(Catalog::OUTFIT_KNIGHT), 2);
    EXPECT_GT(GetOutfitSprite(Catalog::OUTFIT_KNIGHT, 1, 1, 2, 3, 2), 0);
}

TEST_F(ReadBack, EverySpriteDecodesToTheGeneratorsPicture) {
    OpenSpriteFile(SPR);
    EXPECT_EQ(GetSpriteSignature(), FileSignature(SPR));
    ASSERT_EQ(GetNumberOfSprites(), Set().Sprites.count());
    for (int n = 1; n <= GetNumberOfSprites(); n++) {
        LoadSprite(n, Buffer);
        const TCanvas& S = Set().Sprites.sprite(n);
        if (S.empty()) {
            EXPECT_EQ(GetSpriteEntry(n).KeyRed, 0) << n; // an empty sprite decodes black with key black
            continue;
        }
        ASSERT_TRUE(SameTile(Buffer, S, 0, 0)) << "sprite " << n;
    }
}

TEST_F(ReadBack, EveryPictureTileDecodesToTheGeneratorsPicture) {
    OpenPictureFile(PIC);
    EXPECT_EQ(GetPictureSignature(), FileSignature(PIC));
    ASSERT_EQ(GetNumberOfPictures(), 8);
    for (int p = 1; p <= 8; p++) {
        const TPicture& Picture = Set().Pictures.Pictures[p - 1];
        ASSERT_EQ(GetPictureEntry(p).TilesX, Picture.tilesX());
        for (int ty = 0; ty < Picture.tilesY(); ty++)
            for (int tx = 0; tx < Picture.tilesX(); tx++) {
                LoadPictureTile(p, tx, ty, Buffer);
                ASSERT_TRUE(SameTile(Buffer, Picture.Image, 32 * tx, 32 * ty))
                    << p << ": " << tx << "," << ty;
            }
    }
}

TEST_F(ReadBack, FontsAndSkinsAreBuiltFromThePictures) {
    OpenSpriteFile(SPR);
    OpenPictureFile(PIC);
    InitMemoryCache(10485760);
    InitFonts();
    InitSkins();
    for (int s = 0; s < SKIN_COUNT; s++) {
        EXPECT_EQ(GetSkin(s).x, SKIN_RECTS[s].x) << s;
        EXPECT_EQ(GetSkin(s).Width, SKIN_RECTS[s].w) << s;
    }
    for (int Font = 1; Font <= 4; Font++) {
        const TFont& F = GetFont(Font);
        EXPECT_LT(F.Width['i' - 32], F.Width['m' - 32]) << Font;
        EXPECT_LT(F.Width[',' - 32], F.CharWidth) << Font;
        EXPECT_GT(GetFontHeight(Font), 4) << Font;
        EXPECT_GT(GetStringWidth(Font, "Pellarune"), 30) << Font;
    }
}
