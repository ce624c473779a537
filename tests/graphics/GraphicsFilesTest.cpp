// Sprite and picture files: decoding, the signatures, reloads and the broken files; the memory cache.
#include "graphics/graphics.h"

#include "foundation/Exception.h"
#include "tests/graphics/GraphicsTest.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

bool TileEquals(const uint8_t* Buffer, const TTile& Tile) {
    return std::memcmp(Buffer, Tile.data(), 3072) == 0;
}

// A tile of the key colour with one coloured pixel at (x, y).
TTile Dot(int32_t x, int32_t y, uint8_t Red) {
    TTile Tile = FilledTile(255, 0, 255);
    SetTilePixel(Tile, x, y, Red, 1, 2);
    return Tile;
}

class SpriteFile : public ::testing::Test {
protected:
    void TearDown() override { ExitGraphics(); }
    TWorkingDirectory Scratch;
    uint8_t Buffer[3072];
};

} // namespace

TEST_F(SpriteFile, DecodesRowByRowOverTheKeyColour) {
    TTestSprite Raw;
    Raw.Key[0] = 10;
    Raw.Key[1] = 20;
    Raw.Key[2] = 30;
    Raw.Runs = {0, 0}; // DataSize 0: wholly the key colour
    TTestSprite Covering = Raw;
    Covering.Runs = {4, 0, 0x00, 0x04, 0, 0}; // 1,024 transparent pixels, none coloured
    TTestSprite Empty;
    Empty.Empty = true;
    WriteFile(
        "Ebrun.spr",
        SpriteFileBytes({SpriteOf(Dot(5, 2, 200)), Raw, Covering, Empty, SpriteOf(Dot(31, 31, 7))}, 0xCAFE));
    OpenSpriteFile("Ebrun.spr");
    EXPECT_EQ(GetSpriteSignature(), 0xCAFEu);
    ASSERT_EQ(GetNumberOfSprites(), 5);

    EXPECT_EQ(GetSpriteEntry(1).KeyRed, 0); // not known before the first decode
    LoadSprite(1, Buffer);
    EXPECT_TRUE(TileEquals(Buffer, Dot(5, 2, 200)));
    EXPECT_EQ(GetSpriteEntry(1).KeyRed, 255);
    EXPECT_EQ(GetSpriteEntry(1).KeyBlue, 255);
    LoadSprite(2, Buffer);
    EXPECT_TRUE(TileEquals(Buffer, FilledTile(10, 20, 30)));
    LoadSprite(3, Buffer);
    EXPECT_TRUE(TileEquals(Buffer, FilledTile(10, 20, 30)));
    LoadSprite(4, Buffer);
    EXPECT_TRUE(TileEquals(Buffer, FilledTile(0, 0, 0)));
    EXPECT_EQ(GetSpriteEntry(4).KeyGreen, 0);
    LoadSprite(5, Buffer);
    EXPECT_TRUE(TileEquals(Buffer, Dot(31, 31, 7)));

    EXPECT_NE(ExceptionTextOf([&] { LoadSprite(6, Buffer); }).find("In(SpriteNumber,1,NumberOfSprites)"),
              std::string::npos);
    EXPECT_NE(ExceptionTextOf([&] { LoadSprite(0, Buffer); }).find("In(SpriteNumber,1,NumberOfSprites)"),
              std::string::npos);
    EXPECT_NE(ExceptionTextOf([&] { LoadSprite(1, nullptr); }).find("Buffer!=NULL"), std::string::npos);
}

TEST_F(SpriteFile, BrokenFilesGiveTheirErrorAndNeverWriteOutsideTheTile) {
    EXPECT_EQ(ProgramErrorOf([] { OpenSpriteFile("Ebrun.spr"); }), 2); // missing
    EXPECT_TRUE(ReturnsBesideAPipe(
        "Ebrun.pic", [] { EXPECT_EQ(ProgramErrorOf([] { OpenPictureFile("Ebrun.pic"); }), 3); }));
    auto Broken = [&](std::vector<uint8_t> Runs) {
        TTestSprite Sprite;
        Sprite.Runs = std::move(Runs);
        WriteFile("Ebrun.spr", SpriteFileBytes({Sprite}));
        OpenSpriteFile("Ebrun.spr");
        return ProgramErrorOf([&] { LoadSprite(1, Buffer); });
    };
    EXPECT_EQ(Broken({7, 0, 0xFF, 0x03, 2, 0, 9, 9, 9, 9, 9, 9}), 4); // a run from pixel 1,023 needs 2 pixels
    EXPECT_EQ(Broken({7, 0, 0, 0, 0xFF, 0xFF}), 4);                   // 65,535 coloured pixels
    EXPECT_EQ(Broken({40, 0, 0, 0, 10, 0, 1, 2, 3}), 4);              // runs cut off by the file's end
    EXPECT_EQ(Broken({0, 0}), 0);

    std::vector<uint8_t> FarOffset = SpriteFileBytes({SpriteOf(Dot(0, 0, 1))});
    FarOffset[6] = FarOffset[7] = FarOffset[8] = 0xFF;
    FarOffset[9] = 0x7F; // inside a seek's reach, far past the end
    WriteFile("Ebrun.spr", FarOffset);
    OpenSpriteFile("Ebrun.spr");
    EXPECT_EQ(ProgramErrorOf([&] { LoadSprite(1, Buffer); }), 4);
    FarOffset[9] = 0xFF; // beyond what a seek can reach
    WriteFile("Ebrun.spr", FarOffset);
    OpenSpriteFile("Ebrun.spr");
    EXPECT_EQ(ProgramErrorOf([&] { LoadSprite(1, Buffer); }), 4);
}

TEST_F(SpriteFile, TilesComeFromTheFileOpenedUntilItIsOpenedAgainByName) {
    WriteFile("Ebrun.spr", SpriteFileBytes({SpriteOf(Dot(1, 1, 10))}));
    OpenSpriteFile("Ebrun.spr");
    auto Solid = [](uint8_t Red) {
        return PictureOf(1, 1, [=](int32_t, int32_t) { return std::array<uint8_t, 3>{Red, 0, 0}; });
    };
    WriteFile("Ebrun.pic", PictureFileBytes({Solid(10)}));
    OpenPictureFile("Ebrun.pic");
    // A download installs its file by renaming it over the old one.
    WriteFile("New.spr", SpriteFileBytes({SpriteOf(Dot(2, 2, 20))}));
    std::filesystem::rename("New.spr", "Ebrun.spr");
    WriteFile("New.pic", PictureFileBytes({Solid(20)}));
    std::filesystem::rename("New.pic", "Ebrun.pic");

    LoadSprite(1, Buffer);
    EXPECT_TRUE(TileEquals(Buffer, Dot(1, 1, 10)));
    LoadPictureTile(1, 0, 0, Buffer);
    EXPECT_TRUE(TileEquals(Buffer, FilledTile(10, 0, 0)));
    ReloadSprites();
    LoadSprite(1, Buffer);
    EXPECT_TRUE(TileEquals(Buffer, Dot(2, 2, 20)));
    OpenPictureFile("Ebrun.pic");
    LoadPictureTile(1, 0, 0, Buffer);
    EXPECT_TRUE(TileEquals(Buffer, FilledTile(20, 0, 0)));

    // A file that fails to open leaves no reader behind.
    std::filesystem::remove("Ebrun.spr");
    EXPECT_EQ(ProgramErrorOf([] { ReloadSprites(); }), 2);
    EXPECT_EQ(GetNumberOfSprites(), 0);
}

TEST_F(SpriteFile, PictureTilesAreFoundRowByRow) {
    TTestPicture Wide = PictureOf(3, 2, [](int32_t x, int32_t y) {
        return std::array<uint8_t, 3>{static_cast<uint8_t>(x / 32), static_cast<uint8_t>(y / 32), 77};
    });
    Wide.Key[0] = 1;
    WriteFile("Ebrun.pic", PictureFileBytes({Wide, Wide, Wide, Wide}, 0xBEEF));
    OpenPictureFile("Ebrun.pic");
    EXPECT_EQ(GetPictureSignature(), 0xBEEFu);
    EXPECT_EQ(GetPictureEntry(2).KeyRed, 1);
    LoadPictureTile(1, 1, 0, Buffer);
    EXPECT_TRUE(TileEquals(Buffer, FilledTile(1, 0, 77)));
    LoadPictureTile(1, 0, 1, Buffer);
    EXPECT_TRUE(TileEquals(Buffer, FilledTile(0, 1, 77)));
    EXPECT_NE(ExceptionTextOf([&] { LoadPictureTile(4, 0, 2, Buffer); }).find("In(TileY,0,Picture.TilesY-1)"),
              std::string::npos);
    EXPECT_NE(ExceptionTextOf([&] { LoadPictureTile(4, 3, 0, Buffer); }).find("In(TileX,0,Picture.TilesX-1)"),
              std::string::npos);
    EXPECT_NE(ExceptionTextOf([&] {
                  LoadPictureTile(5, 0, 0, Buffer);
              }).find("In(PictureNumber,1,NumberOfPictures)"),
              std::string::npos);
}

namespace {

// Sprites 1 .. Count, sprite n with its dot at (n % 32, 0) in red n; pictures 1 .. 5 of 2 x 3 tiles.
void WriteSprites(int32_t Count, uint8_t Green = 1) {
    std::vector<TTestSprite> Sprites;
    for (int32_t n = 1; n <= Count; n++) {
        TTile Tile = FilledTile(255, 0, 255);
        SetTilePixel(Tile, n % 32, 0, static_cast<uint8_t>(n), Green, 0);
        Sprites.push_back(SpriteOf(Tile));
    }
    WriteFile("Ebrun.spr", SpriteFileBytes(Sprites));
}

void WritePictures(uint8_t Blue) {
    std::vector<TTestPicture> Pictures;
    for (int32_t p = 1; p <= 5; p++)
        Pictures.push_back(PictureOf(2, 3, [&](int32_t x, int32_t y) {
            return std::array<uint8_t, 3>{static_cast<uint8_t>(p), static_cast<uint8_t>(x / 32 * 16 + y / 32),
                                          Blue};
        }));
    WriteFile("Ebrun.pic", PictureFileBytes(Pictures));
}

// Green of the sprite's dot: which version of the file the cached tile was decoded from.
uint8_t Version(const TMemoryCacheItem* Item, int32_t Sprite) { return Item->Data[3 * (Sprite % 32) + 1]; }

class MemoryCache : public SpriteFile {
protected:
    void SetUp() override {
        WriteSprites(250);
        WritePictures(1);
        OpenSpriteFile("Ebrun.spr");
        OpenPictureFile("Ebrun.pic");
    }
};

} // namespace

TEST_F(MemoryCache, BudgetsGiveWholeSlotsAndLeastRecentlyUsedGoesFirst) {
    EXPECT_NE(ExceptionTextOf([] { InitMemoryCache(3071); }).find("MemoryCacheSize>0"), std::string::npos);
    EXPECT_NE(ExceptionTextOf([] { GetMemorySprite(1); }).find("MemoryCacheSize>0"), std::string::npos);
    InitMemoryCache(6144);
    EXPECT_EQ(GetMemoryCacheSize(), 2);
    GetMemorySprite(1);
    GetMemorySprite(2);
    WriteSprites(250, 2); // a new file version shows which tiles are decoded again
    OpenSpriteFile("Ebrun.spr");
    EXPECT_EQ(Version(GetMemorySprite(1), 1), 1); // hit, and now the most recent
    EXPECT_EQ(Version(GetMemorySprite(3), 3), 2); // evicts sprite 2
    EXPECT_EQ(Version(GetMemorySprite(1), 1), 1);
    EXPECT_EQ(Version(GetMemorySprite(2), 2), 2);
    InitMemoryCache(10485760);
    EXPECT_EQ(GetMemoryCacheSize(), 3413);
}

TEST_F(MemoryCache, ResetMissesEverythingAndSharedBucketsKeepTheirKeys) {
    InitMemoryCache(10 * 3072);
    const TMemoryCacheItem* A = GetMemorySprite(100);
    const TMemoryCacheItem* B = GetMemorySprite(200);
    EXPECT_NE(A, B);
    EXPECT_EQ(GetMemorySprite(100)->Data[3 * (100 % 32)], 100);
    EXPECT_EQ(GetMemorySprite(200)->Data[3 * (200 % 32)], 200);

    const TMemoryCacheItem* P = GetMemoryPictureTile(4, 1, 2);
    const TMemoryCacheItem* Q = GetMemoryPictureTile(5, 0, 2);
    EXPECT_NE(P, Q);
    EXPECT_EQ(GetMemoryPictureTile(4, 1, 2)->Data[0], 4);
    EXPECT_EQ(GetMemoryPictureTile(4, 1, 2)->Data[1], 18);
    EXPECT_EQ(GetMemoryPictureTile(5, 0, 2)->Data[0], 5);

    WriteSprites(250, 2);
    WritePictures(2);
    OpenSpriteFile("Ebrun.spr");
    OpenPictureFile("Ebrun.pic");
    EXPECT_EQ(Version(GetMemorySprite(100), 100), 1);
    ResetMemoryCache();
    EXPECT_EQ(Version(GetMemorySprite(100), 100), 2);
    EXPECT_EQ(GetMemoryPictureTile(4, 1, 2)->Data[2], 2);
}

TEST_F(MemoryCache, FailedDecodeLeavesTheSlotEmptyAndTheCacheSound) {
    InitMemoryCache(2 * 3072);
    GetMemorySprite(1);
    // The file has gone bad under the cache: its table is whole, its tiles are cut off.
    std::vector<uint8_t> Table = SpriteFileBytes(std::vector<TTestSprite>(250));
    Table.resize(6 + 4 * 250);
    WriteFile("Ebrun.spr", Table);
    OpenSpriteFile("Ebrun.spr");
    EXPECT_EQ(ProgramErrorOf([] { GetMemorySprite(2); }), 4);
    EXPECT_EQ(GetMemorySprite(1)->Data[3], 1); // still cached
    EXPECT_EQ(ProgramErrorOf([] { GetMemorySprite(2); }), 4);
    EXPECT_NE(
        ExceptionTextOf([] { GetMemoryPictureTile(6, 0, 0); }).find("In(PictureNumber,1,NumberOfPictures)"),
        std::string::npos);
    // Tile numbers whose sum leaves the 32-bit range still reach the decoder's checks.
    EXPECT_NE(
        ExceptionTextOf([] { GetMemoryPictureTile(5, INT32_MAX, 0); }).find("In(TileX,0,Picture.TilesX-1)"),
        std::string::npos);
}
