// The sprite and picture writers: run coding, file layouts, broken variants; the key colour guard.
#include "tools/datagen/SpriteWriter.h"

#include "FileReaders.h"

#include "foundation/Exception.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;
using namespace FileReaders;

TCanvas Tile() { return TCanvas(32, 32); }

// A picture file of one 3 x 2 tile picture and a 1 x 1 one; each tile of the first coloured by its index.
TPictureFile TwoPictures() {
    TPictureFile File;
    File.Signature = 0xA1B2C3D4;
    TPicture Big;
    Big.Image = TCanvas(90, 40); // padded to 96 x 64
    for (int t = 0; t < 6; t++)
        Big.Image.set((t % 3) * 32 + 1, (t / 3) * 32, TColor{static_cast<uint8_t>(10 * t + 10), 0, 0});
    File.Pictures.push_back(Big);
    TPicture Small;
    Small.Image = TCanvas(32, 32);
    Small.Key = TColor{0, 255, 0};
    File.Pictures.push_back(Small);
    return File;
}

TSpriteFile ThreeSprites() {
    TSpriteFile File;
    TCanvas A = Tile(), C = Tile();
    A.set(0, 0, TColor{1, 2, 3});
    C.fill(TColor{50, 60, 70});
    File.add(A);
    File.add(Tile()); // empty
    File.add(C);
    return File;
}

} // namespace

TEST(SpriteWriter, RunsSkipTransparentPixelsAcrossRowsAndLeaveOutTheTail) {
    EXPECT_EQ(EncodeTileRuns(Tile()), (Bytes{0, 0}));
    TCanvas T = Tile();
    T.set(5, 0, TColor{1, 2, 3});
    EXPECT_EQ(EncodeTileRuns(T), (Bytes{7, 0, 5, 0, 1, 0, 1, 2, 3}));
    // A run crossing from the end of row 0 into row 1, then one pixel at the very end.
    T = Tile();
    T.set(31, 0, TColor{9, 9, 9});
    T.set(0, 1, TColor{8, 8, 8});
    T.set(31, 31, TColor{7, 7, 7});
    EXPECT_EQ(EncodeTileRuns(T), (Bytes{17, 0, 31, 0, 2, 0, 9, 9, 9, 8, 8, 8, 0xDE, 0x03, 1, 0, 7, 7, 7}));
    TCanvas Full = Tile();
    Full.fill(TColor{4, 5, 6});
    Bytes Runs = EncodeTileRuns(Full);
    EXPECT_EQ(Runs.size(), 2u + 4 + 3 * 1024);
    EXPECT_EQ((Bytes{Runs.begin(), Runs.begin() + 6}), (Bytes{0x04, 0x0C, 0, 0, 0x00, 0x04}));
}

TEST(SpriteWriter, RunsOfACheckerboardAreOnePixelEach) {
    TCanvas T = Tile();
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
            if ((x + y) % 2 == 0) T.set(x, y, TColor{200, 200, 200});
    TTile Decoded = DecodeRuns(EncodeTileRuns(T), 0);
    // 512 single pixels, less the 15 pairs where an odd row's last pixel meets the next row's first.
    EXPECT_EQ(Decoded.Runs, 512 - 15);
    for (int p = 0; p < 1024; p++)
        EXPECT_EQ(Decoded.Coloured[p], ((p % 32) + (p / 32)) % 2 == 0) << p;
}

TEST(SpriteWriter, OnlyTheTopLeftTileOfTheOriginIsCoded) {
    TCanvas Wide(64, 40);
    Wide.set(33, 0, TColor{1, 1, 1});
    Wide.set(32, 32, TColor{2, 2, 2});
    EXPECT_EQ(EncodeTileRuns(Wide, 0, 0), (Bytes{0, 0}));
    EXPECT_EQ(EncodeTileRuns(Wide, 32, 0), (Bytes{7, 0, 1, 0, 1, 0, 1, 1, 1}));
    EXPECT_EQ(EncodeTileRuns(Wide, 32, 32),
              (Bytes{7, 0, 0, 0, 1, 0, 2, 2, 2})); // the padding rows are transparent
}

TEST(SpriteWriter, SpriteFileHasOffsetsKeyAndRunsAndEmptySpritesAtOffsetZero) {
    TSpriteFile File = ThreeSprites();
    File.Signature = 0x01020304;
    Bytes B = EncodeSpriteFile(File);
    TSpr S = ReadSpriteTable(B);
    EXPECT_EQ(S.Signature, 0x01020304u);
    ASSERT_EQ(S.Offsets.size(), 3u);
    EXPECT_EQ(S.Offsets[0], 6u + 12);
    EXPECT_EQ(S.Offsets[1], 0u);
    EXPECT_EQ(S.Offsets[2], 6u + 12 + 3 + 9);
    std::array<uint8_t, 3> Key;
    TTile A = ReadSprite(B, S.Offsets[0], Key);
    EXPECT_EQ(Key, (std::array<uint8_t, 3>{COLOR_KEY.r, COLOR_KEY.g, COLOR_KEY.b}));
    EXPECT_TRUE(A.Coloured[0]);
    EXPECT_EQ(A.Pixels[0], (std::array<uint8_t, 3>{1, 2, 3}));
    TTile C = ReadSprite(B, S.Offsets[2], Key);
    EXPECT_EQ(C.Runs, 1);
    EXPECT_EQ(B.size(), S.Offsets[2] + 3 + 2 + 4 + 3 * 1024);
}

TEST(SpriteWriter, SpriteFileRefusesTilesOfOtherSizes) {
    TSpriteFile File;
    EXPECT_THROW(File.add(TCanvas(32, 31)), TMyException);
    EXPECT_THROW(File.add(TCanvas(64, 32)), TMyException);
    EXPECT_THROW(File.sprite(1), TMyException);
    EXPECT_EQ(File.add(Tile()), 1);
}

TEST(SpriteWriter, PictureTilesAreListedRowByRowWithTheirPicturesKey) {
    TPictureFile File = TwoPictures();
    Bytes B = EncodePictureFile(File);
    uint32_t Signature = 0;
    std::vector<TPic> P = ReadPictureTable(B, &Signature);
    EXPECT_EQ(Signature, 0xA1B2C3D4u);
    ASSERT_EQ(P.size(), 2u);
    EXPECT_EQ(P[0].TilesX, 3);
    EXPECT_EQ(P[0].TilesY, 2);
    EXPECT_EQ(P[0].Key, (std::array<uint8_t, 3>{255, 0, 255}));
    EXPECT_EQ(P[1].Key, (std::array<uint8_t, 3>{0, 255, 0}));
    for (int t = 0; t < 6; t++) {
        TTile Decoded = DecodeRuns(B, P[0].Offsets[t]);
        EXPECT_TRUE(Decoded.Coloured[1]) << t;
        EXPECT_EQ(Decoded.Pixels[1][0], 10 * t + 10) << t;
    }
    // Every tile of a picture is coded, a wholly transparent one too (DataSize 0).
    EXPECT_EQ(DecodeRuns(B, P[1].Offsets[0]).Runs, 0);
    EXPECT_EQ(B.size(), P[1].Offsets[0] + 2u);
}

TEST(SpriteWriter, BrokenSpriteFilesAreBrokenWhereIntended) {
    TSpriteFile File = ThreeSprites();
    Bytes Good = EncodeSpriteFile(File);
    Bytes Cut = EncodeBrokenSpriteFile(File, TImageBreak::TRUNCATED_TABLE);
    EXPECT_LT(Cut.size(), 6u + 4 * 3);
    EXPECT_THROW(ReadSpriteTable(Cut), std::runtime_error);

    Bytes Past = EncodeBrokenSpriteFile(File, TImageBreak::OFFSET_PAST_END);
    EXPECT_EQ(Past.size(), Good.size());
    EXPECT_GT(ReadSpriteTable(Past).Offsets[2], Past.size());

    Bytes Run = EncodeBrokenSpriteFile(File, TImageBreak::RUN_PAST_TILE);
    TSpr S = ReadSpriteTable(Run);
    std::array<uint8_t, 3> Key;
    EXPECT_THROW(ReadSprite(Run, S.Offsets[0], Key), std::runtime_error);
    EXPECT_NO_THROW(ReadSprite(Run, S.Offsets[2], Key)); // the others stay readable
}

TEST(SpriteWriter, BrokenPictureFilesAreBrokenWhereIntended) {
    TPictureFile File = TwoPictures();
    Bytes Good = EncodePictureFile(File);
    EXPECT_THROW(ReadPictureTable(EncodeBrokenPictureFile(File, TImageBreak::TRUNCATED_TABLE)),
                 std::runtime_error);
    Bytes Past = EncodeBrokenPictureFile(File, TImageBreak::OFFSET_PAST_END);
    EXPECT_GT(ReadPictureTable(Past)[0].Offsets[0], Past.size());
    Bytes Run = EncodeBrokenPictureFile(File, TImageBreak::RUN_PAST_TILE);
    std::vector<TPic> P = ReadPictureTable(Run);
    EXPECT_THROW(DecodeRuns(Run, P[0].Offsets[0]), std::runtime_error);
    EXPECT_NO_THROW(DecodeRuns(Run, P[0].Offsets[1]));
}

TEST(SpriteWriter, NoDrawnPixelTakesTheKeyAlsoAt16Bits) {
    // 5-6-5 and 5-5-5 both keep the top five bits of red and blue; green keeps six or five.
    EXPECT_TRUE(MatchesKeyAt16Bits(TColor{255, 0, 255}));
    EXPECT_TRUE(MatchesKeyAt16Bits(TColor{248, 7, 248}));
    EXPECT_FALSE(MatchesKeyAt16Bits(TColor{247, 0, 255}));
    EXPECT_FALSE(MatchesKeyAt16Bits(TColor{255, 8, 255}));
    EXPECT_FALSE(MatchesKeyAt16Bits(TColor{255, 0, 247}));
    TCanvas T = Tile();
    T.set(0, 0, TColor{252, 3, 250});
    EXPECT_FALSE(MatchesKeyAt16Bits(T.get(0, 0)));
    EXPECT_EQ(T.get(0, 0).r, 252);
    T.set(1, 0, TColor{10, 3, 250});
    EXPECT_EQ(T.get(1, 0), (TColor{10, 3, 250})); // other colours pass unchanged
}
