// The object-type writer: record and file layouts byte for byte, and the broken variants.
#include "tools/datagen/DatWriter.h"

#include "foundation/Exception.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t WordAt(const Bytes& B, size_t Offset) { return B.at(Offset) | (B.at(Offset + 1) << 8); }

// A small file: two items, one outfit, one effect and one missile of 2 x 1 cells.
TDatFile SmallFile() {
    TDatFile File;
    File.Signature = 0x11223344;
    File.addItem().bank(150).shape(1, 1, 1, 1, 1, 1, 1).sprite(1, 1, 1, 1, 1, 1, 1, 42);
    File.addItem().flag(DAT_CUMULATIVE).shape(1, 1, 1, 4, 2, 1, 1);
    File.addOutfit().shape(1, 1, 2, 4, 1, 1, 2);
    File.addEffect().light(3, 215).shape(1, 1, 1, 1, 1, 1, 4);
    TDatType& Missile = File.addMissile().shape(2, 1, 1, 3, 3, 1, 1);
    for (size_t i = 0; i < Missile.Sprites.size(); i++)
        Missile.Sprites[i] = static_cast<uint16_t>(500 + i);
    return File;
}

} // namespace

TEST(DatWriter, RecordsMatchTheKnownByteLayouts) {
    TDatType Ground;
    Ground.bank(150).shape(1, 1, 1, 1, 1, 1, 1).sprite(1, 1, 1, 1, 1, 1, 1, 42);
    EXPECT_EQ(EncodeDatType(Ground), (Bytes{0x00, 0x96, 0x00, 0xFF, 1, 1, 1, 1, 1, 1, 1, 0x2A, 0x00}));

    TDatType Lamp;
    Lamp.light(5, 215).shape(2, 2, 1, 1, 1, 1, 1);
    Lamp.Sprites = {1, 2, 3, 0x0104};
    EXPECT_EQ(Lamp.Size, 64);
    EXPECT_EQ(EncodeDatType(Lamp), (Bytes{0x15, 0x05, 0x00, 0xD7, 0x00, 0xFF, 2, 2, 0x40, 1,    1,
                                          1,    1,    1,    1,    0,    2,    0, 3, 0,    0x04, 0x01}));

    TDatType Bare; // an end byte alone, then the shape of one empty cell
    EXPECT_EQ(EncodeDatType(Bare), (Bytes{0xFF, 1, 1, 1, 1, 1, 1, 1, 0, 0}));
}

TEST(DatWriter, FlagDataFollowsItsCodeAndRepeatsAreKept) {
    TDatType Type;
    Type.flag(DAT_WRITE, 0x1234).flag(DAT_WRITEONCE, 7).shift(8, 9).elevation(4).elevation(12);
    Type.automap(0xD2).lensHelp(1100).flag(DAT_HANG).flag(40).shape(0, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(EncodeDatType(Type),
              (Bytes{8,  0x34, 0x12, 9,  7,    0,    24, 8,  0,    9, 0, 25, 4, 0, 25, 12, 0,
                     28, 0xD2, 0,    29, 0x4C, 0x04, 17, 40, 0xFF, 0, 1, 1,  1, 1, 1,  1}));
    EXPECT_TRUE(Type.Sprites.empty());
    EXPECT_TRUE(Type.hasFlag(DAT_HEIGHT));
    EXPECT_FALSE(Type.hasFlag(DAT_BANK));
    EXPECT_THROW(Type.flag(255), TMyException);
}

TEST(DatWriter, SpriteIndexRunsCellFastestAndPhaseSlowest) {
    TDatType Type;
    Type.shape(2, 2, 1, 1, 1, 1, 1);
    EXPECT_EQ(Type.spriteIndex(2, 1, 1, 1, 1, 1, 1), 1u);
    EXPECT_EQ(Type.spriteIndex(1, 2, 1, 1, 1, 1, 1), 2u);
    Type.shape(1, 1, 1, 4, 2, 1, 1);
    EXPECT_EQ(Type.spriteIndex(1, 1, 1, 2, 2, 1, 1), 5u);
    Type.shape(1, 1, 2, 4, 1, 1, 3);
    EXPECT_EQ(Type.Sprites.size(), 24u);
    EXPECT_EQ(Type.spriteIndex(1, 1, 2, 3, 1, 1, 2), 8u + 4u + 1u);
    EXPECT_THROW(Type.spriteIndex(1, 1, 3, 1, 1, 1, 1), TMyException);
    EXPECT_THROW(Type.spriteIndex(1, 1, 1, 1, 1, 1, 0), TMyException);
}

TEST(DatWriter, ShapeRefusesCountsThatDoNotFitAByteAndSizeFollowsTheCells) {
    TDatType Type;
    EXPECT_THROW(Type.shape(256, 1, 1, 1, 1, 1, 1), TMyException);
    EXPECT_THROW(Type.shape(1, 1, 1, 1, 1, 1, -1), TMyException);
    EXPECT_EQ(Type.shape(1, 1, 1, 1, 1, 1, 1, 64).Size, 32);
    EXPECT_EQ(Type.shape(2, 1, 1, 1, 1, 1, 1).Size, 64);
    EXPECT_EQ(Type.shape(1, 3, 1, 1, 1, 1, 1).Size, 96);
    EXPECT_EQ(Type.shape(2, 2, 1, 1, 1, 1, 1, 48).Size, 48);
    Type.Sprites.pop_back();
    EXPECT_THROW(EncodeDatType(Type), TMyException);
}

TEST(DatWriter, FileHasHeaderThenRecordsInTableOrder) {
    TDatFile File = SmallFile();
    Bytes B = EncodeDatFile(File);
    EXPECT_EQ((Bytes{B.begin(), B.begin() + 12}), (Bytes{0x44, 0x33, 0x22, 0x11, 101, 0, 1, 0, 1, 0, 1, 0}));
    size_t Offset = 12;
    for (int Table = 0; Table < 4; Table++) {
        std::vector<TDatType>& Types = Table == 0   ? File.Items
                                       : Table == 1 ? File.Outfits
                                       : Table == 2 ? File.Effects
                                                    : File.Missiles;
        for (size_t i = 0; i < Types.size(); i++) {
            int Number = static_cast<int>(i) + (Table == 0 ? 100 : 1);
            EXPECT_EQ(DatRecordOffset(File, Table, Number), Offset);
            Bytes Record = EncodeDatType(Types[i]);
            EXPECT_TRUE(std::equal(Record.begin(), Record.end(), B.begin() + Offset));
            Offset += Record.size();
        }
    }
    EXPECT_EQ(Offset, B.size());
    EXPECT_EQ(File.highestItem(), 101);
    EXPECT_THROW(File.item(99), TMyException);
    EXPECT_THROW(File.missile(2), TMyException);
    EXPECT_THROW(DatRecordOffset(File, 1, 0), TMyException);
}

TEST(DatWriter, BrokenVariantsAreBrokenWhereIntended) {
    TDatFile File = SmallFile();
    Bytes Good = EncodeDatFile(File);
    size_t Missile = DatRecordOffset(File, 3, 1);

    EXPECT_EQ(EncodeBrokenDatFile(File, TDatBreak::TRUNCATED_HEADER).size(), 7u);
    Bytes Cut = EncodeBrokenDatFile(File, TDatBreak::TRUNCATED_SPRITES);
    EXPECT_EQ(Cut.size(), Good.size() - 1);
    EXPECT_GT(Cut.size(), Missile + 1 + 8);

    Bytes NoEnd = EncodeBrokenDatFile(File, TDatBreak::MISSING_END_BYTE);
    EXPECT_EQ(NoEnd.size(), Good.size() - 1);
    EXPECT_EQ((Bytes{NoEnd.begin() + 12, NoEnd.begin() + 16}), (Bytes{0x00, 0x96, 0x00, 0x01}));

    EXPECT_EQ(WordAt(EncodeBrokenDatFile(File, TDatBreak::TOO_FEW_ITEMS), 4), 99u);
    EXPECT_EQ(WordAt(EncodeBrokenDatFile(File, TDatBreak::NO_OUTFITS), 6), 0u);
    EXPECT_EQ(WordAt(EncodeBrokenDatFile(File, TDatBreak::NO_EFFECTS), 8), 0u);
    EXPECT_EQ(WordAt(EncodeBrokenDatFile(File, TDatBreak::NO_MISSILES), 10), 0u);
    Bytes Past = EncodeBrokenDatFile(File, TDatBreak::COUNTS_PAST_END);
    EXPECT_EQ(WordAt(Past, 10), 2u);
    EXPECT_EQ(Past.size(), Good.size());

    Bytes Trailing = EncodeBrokenDatFile(File, TDatBreak::TRAILING_BYTES);
    EXPECT_EQ(Trailing.size(), Good.size() + 64);
    EXPECT_TRUE(std::equal(Good.begin(), Good.end(), Trailing.begin()));

    // The 2 x 1 missile had a size byte already: only the counts change, the sprites stay.
    Bytes Huge = EncodeBrokenDatFile(File, TDatBreak::HUGE_PATTERNS);
    EXPECT_EQ(Huge.size(), Good.size());
    EXPECT_EQ((Bytes{Huge.begin() + Missile, Huge.begin() + Missile + 10}),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 500 & 0xFF}));
}

TEST(DatWriter, HugePatternsAddsTheSizeByteToASingleCellMissile) {
    TDatFile File = SmallFile();
    File.missile(1).shape(1, 1, 1, 3, 3, 1, 1);
    Bytes Good = EncodeDatFile(File);
    Bytes Huge = EncodeBrokenDatFile(File, TDatBreak::HUGE_PATTERNS);
    size_t Missile = DatRecordOffset(File, 3, 1);
    EXPECT_EQ(Huge.size(), Good.size() + 1);
    EXPECT_EQ(Huge[Missile + 8], 0xFF);
    EXPECT_EQ(Huge[Missile + 9], 0x00); // the first sprite number follows the eight shape bytes
}
