// Object types: reading Ebrun.dat (well-formed and broken), flag and value getters, sprite and pattern rules.
#include "state/Objects.h"

#include "tests/foundation/Thrown.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>

namespace {

// One 1 x 1 type in each table, with sprites 1 to 4.
TDatFile MinimalDatFile() {
    TDatFile File;
    File.Signature = 0x12345678;
    File.addItem().Sprites = {1};
    File.addOutfit().Sprites = {2};
    File.addEffect().Sprites = {3};
    File.addMissile().Sprites = {4};
    return File;
}

// The minimal file with its item record replaced by raw bytes.
std::vector<uint8_t> FileWithItemRecord(const std::vector<uint8_t>& Record) {
    TDatFile File = MinimalDatFile();
    std::vector<uint8_t> Bytes = EncodeDatFile(File);
    size_t Offset = DatRecordOffset(File, 0, 100);
    Bytes.erase(Bytes.begin() + Offset, Bytes.begin() + Offset + EncodeDatType(File.item(100)).size());
    Bytes.insert(Bytes.begin() + Offset, Record.begin(), Record.end());
    return Bytes;
}

// The error code InitObjects ends with, 0 when it loads.
int32_t InitObjectsError(const std::vector<uint8_t>& Bytes) {
    WriteBytesToFile("Ebrun.dat", Bytes);
    try {
        InitObjects();
    } catch (PROGRAM_ERROR Code) {
        return Code;
    }
    return 0;
}

class ObjectFile : public testing::Test {
protected:
    void TearDown() override { ExitObjects(); }
    TWorkingDirectory Scratch;
};

} // namespace

TEST_F(ObjectFile, RecordsAsWritten) {
    // BANK 150, end byte, 1 x 1 without size byte, one of everything, sprite 42.
    ASSERT_EQ(InitObjectsError(FileWithItemRecord({0x00, 0x96, 0x00, 0xFF, 1, 1, 1, 1, 1, 1, 1, 0x2A, 0x00})),
              0);
    EXPECT_EQ(GetObjectTypeSignature(), 0x12345678u);
    EXPECT_EQ(GetHighestObjectType(), 100);
    EXPECT_EQ(GetObjectBankSpeed(100), 150);
    EXPECT_EQ(GetObjectSize(100), 32);
    EXPECT_EQ(GetObjectSprite(100, 1, 1, 1, 1, 1, 1, 1), 42);
    EXPECT_EQ(GetMissileSprite(1, 1, 1, 1, 7), 4); // the records behind it were found

    // LIGHT 5 / 215, then 2 x 2 with the size byte 64 and four sprites.
    ASSERT_EQ(InitObjectsError(FileWithItemRecord(
                  {0x15, 5, 0, 0xD7, 0, 0xFF, 2, 2, 0x40, 1, 1, 1, 1, 1, 1, 0, 2, 0, 3, 0, 4, 0})),
              0);
    EXPECT_EQ(GetObjectLightColor(100), 215);
    EXPECT_EQ(GetObjectSize(100), 64);
    EXPECT_EQ(GetObjectSprite(100, 2, 2, 1, 1, 1, 1, 1), 4);
    EXPECT_EQ(GetOutfitSprite(1, 1, 1, 1, 0, 1), 2);
}

TEST_F(ObjectFile, FlagListRules) {
    TDatFile File = MinimalDatFile();
    File.item(100).flag(DAT_HEIGHT, 3).bank(7).light(9, 100).flag(DAT_HEIGHT, 12);
    File.addItem().flag(DAT_WRITE, 11).flag(DAT_WRITEONCE, 22);
    File.addItem().flag(40).flag(254).lensHelp(1100); // codes above 31 carry no data and set nothing
    LoadDatFile(File);
    EXPECT_EQ(GetObjectElevation(100), 12);
    EXPECT_EQ(GetObjectBankSpeed(100), 7);
    EXPECT_EQ(GetObjectLightColor(100), 100);
    EXPECT_TRUE(GetObjectFlag(101, 8) && GetObjectFlag(101, 9));
    EXPECT_EQ(GetObjectLensHelp(102), 1100);
    for (int32_t Flag = 0; Flag < 32; Flag++)
        EXPECT_EQ(GetObjectFlag(102, Flag), Flag == LENSHELP) << Flag;
}

// A count of 0 is legal: no sprites in the file, and the pattern rules do not divide by it.
TEST_F(ObjectFile, ZeroCounts) {
    TDatFile File = MinimalDatFile();
    File.item(100).flag(DAT_CUMULATIVE).flag(DAT_LIQUIDCONTAINER).shape(1, 1, 1, 0, 0, 1, 1);
    File.addItem().Sprites = {77};
    LoadDatFile(File);
    EXPECT_EQ(GetObjectSprite(101, 1, 1, 1, 1, 1, 1, 1), 77);
    int32_t PatternX = 0, PatternY = 0;
    GetCumulativePattern({100, 50, 0}, PatternX, PatternY);
    EXPECT_EQ(PatternX + PatternY, 2);
    GetLiquidPattern({100, 7, 0}, PatternX, PatternY);
    EXPECT_EQ(PatternX + PatternY, 2);
    EXPECT_TRUE(Has(ThrownText([] { GetObjectSprite(100, 1, 1, 1, 1, 1, 1, 1); }),
                    "In(PatternX,1,Entry.PatternWidth)"));
}

TEST_F(ObjectFile, BrokenFilesEndWithErrorOne) {
    TDatFile File = MinimalDatFile();
    for (TDatBreak Break :
         {TDatBreak::TRUNCATED_HEADER, TDatBreak::TRUNCATED_SPRITES, TDatBreak::MISSING_END_BYTE,
          TDatBreak::TOO_FEW_ITEMS, TDatBreak::NO_OUTFITS, TDatBreak::NO_EFFECTS, TDatBreak::NO_MISSILES,
          TDatBreak::COUNTS_PAST_END, TDatBreak::HUGE_PATTERNS})
        EXPECT_EQ(InitObjectsError(EncodeBrokenDatFile(File, Break)), 1) << static_cast<int>(Break);
    EXPECT_EQ(InitObjectsError(EncodeBrokenDatFile(File, TDatBreak::TRAILING_BYTES)), 0);
    std::filesystem::remove("Ebrun.dat");
    EXPECT_THROW(InitObjects(), PROGRAM_ERROR);
    EXPECT_TRUE(ReturnsBesideAPipe("Ebrun.dat", [] { EXPECT_THROW(InitObjects(), PROGRAM_ERROR); }));
}

// Five counts of 128 multiply to 2^35, which is 0 in 32 bits: a reader that formed the product in 32 bits
// would read no sprites and go on with the next record.
TEST_F(ObjectFile, SpriteCountBeyondTheFileIsRefused) {
    EXPECT_EQ(InitObjectsError(FileWithItemRecord({0xFF, 128, 128, 32, 128, 128, 128, 1, 1})), 1);
    EXPECT_EQ(InitObjectsError(FileWithItemRecord({0xFF, 1, 1, 1, 1, 1, 1, 3, 1, 0, 2, 0, 3, 0})), 0);
    EXPECT_EQ(GetObjectSprite(100, 1, 1, 1, 1, 1, 1, 3), 3);
}

TEST_F(ObjectFile, ReloadTakesTheNewFile) {
    TDatFile File = MinimalDatFile();
    ASSERT_EQ(InitObjectsError(EncodeDatFile(File)), 0);
    File.Signature = 0xCAFE0001;
    File.addItem().flag(12);
    WriteBytesToFile("Ebrun.dat", EncodeDatFile(File));
    ReloadObjects();
    EXPECT_EQ(GetObjectTypeSignature(), 0xCAFE0001u);
    EXPECT_TRUE(GetObjectFlag(101, 12));
    ExitObjects();
    ExitObjects();
    EXPECT_EQ(GetObjectTypeSignature(), 0xCAFE0001u);
    EXPECT_TRUE(Has(ThrownText([] { GetObjectWidth(100); }), "ObjectProperties!=NULL"));
}

class ObjectTypes : public ObjectFile {
protected:
    void SetUp() override {
        TDatFile File = MinimalDatFile();
        File.item(100).flag(DAT_CUMULATIVE).shape(1, 1, 1, 4, 2, 1, 1);
        File.addItem().flag(DAT_LIQUIDPOOL).shape(1, 1, 1, 4, 2, 1, 1);                // 101
        File.addItem().flag(DAT_CUMULATIVE).flag(DAT_HANG).shape(1, 1, 1, 2, 1, 1, 1); // 102
        TDatType& Large = File.addItem().shape(2, 2, 2, 2, 3, 2, 2);                   // 103
        for (size_t k = 0; k < Large.Sprites.size(); k++)
            Large.Sprites[k] = static_cast<uint16_t>(1000 + k);
        File.missile(1).shape(1, 1, 1, 3, 3, 1, 1).Sprites = {10, 11, 12, 13, 14, 15, 16, 17, 18};
        File.outfit(1).shape(1, 1, 1, 4, 1, 1, 1).sprite(1, 1, 1, 3, 1, 1, 1, 33);
        LoadDatFile(File);
    }
};

TEST_F(ObjectTypes, CreatureAndRangeChecks) {
    EXPECT_TRUE(GetObjectFlag(CREATURE, 12));
    EXPECT_FALSE(GetObjectFlag(CREATURE, 5));
    for (int32_t Type : {0, 98, 104})
        EXPECT_TRUE(Has(ThrownText([Type] { GetObjectFlag(Type, 0); }),
                        "(ObjectProperties->high() = 103), reason:\n"
                        "In(Type,ObjectProperties->low(),ObjectProperties->high())"));
    EXPECT_TRUE(Has(ThrownText([] { GetOutfitFlag(2, 0); }), "index out of range"));
    EXPECT_TRUE(Has(ThrownText([] { GetObjectLightColor(100); }), "GetEntryFlag(Entry,LIGHT)"));
}

TEST_F(ObjectTypes, SpriteIndexFollowsTheFileOrder) {
    TDatType Reference;
    Reference.shape(2, 2, 2, 2, 3, 2, 2);
    for (int Phase = 1; Phase <= 2; Phase++)
        for (int Z = 1; Z <= 2; Z++)
            for (int PY = 1; PY <= 3; PY++)
                for (int PX = 1; PX <= 2; PX++)
                    for (int Layer = 1; Layer <= 2; Layer++)
                        for (int Y = 1; Y <= 2; Y++)
                            for (int X = 1; X <= 2; X++)
                                ASSERT_EQ(GetObjectSprite(103, X, Y, Layer, PX, PY, Z, Phase),
                                          1000 + Reference.spriteIndex(X, Y, Layer, PX, PY, Z, Phase));
    // The first bad argument is the one reported.
    std::string Text = ThrownText([] { GetObjectSprite(103, 1, 1, 3, 1, 1, 1, 0); });
    EXPECT_TRUE(Has(Text, "exception occurred (Type = 103)"));
    EXPECT_TRUE(Has(Text, "(Layer = 3) (Entry.Layers = 2), reason:\nIn(Layer,1,Entry.Layers)"));
}

TEST_F(ObjectTypes, CountLiquidAndHookPatterns) {
    const int32_t Counts[13] = {0, 1, 2, 3, 4, 5, 9, 10, 24, 25, 49, 50, 100};
    const int32_t Expected[13][2] = {{1, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 2}, {1, 2},
                                     {2, 2}, {2, 2}, {3, 2}, {3, 2}, {4, 2}, {4, 2}};
    int32_t PX, PY;
    for (int i = 0; i < 13; i++) {
        GetCumulativePattern({100, Counts[i], 0}, PX, PY);
        EXPECT_EQ(std::pair(PX, PY), std::pair(Expected[i][0], Expected[i][1])) << Counts[i];
    }
    GetCumulativePattern({102, 4, 0}, PX, PY);
    EXPECT_EQ(PX, 2);
    GetLiquidPattern({101, 7, 0}, PX, PY);
    EXPECT_EQ(std::pair(PX, PY), std::pair(4, 2));
    const int32_t Hooks[3][2] = {{19, 1}, {0, 1}, {18, 2}}; // PatternWidth 2 has no third hook picture
    for (const auto& Hook : Hooks) {
        GetHangPattern({102, 0, Hook[0]}, PX, PY);
        EXPECT_EQ(PX, Hook[1]) << Hook[0];
    }
    EXPECT_TRUE(Has(ThrownText([&] {
                        GetLiquidPattern({100, 1, 0}, PX, PY);
                    }),
                    "GetObjectFlag(Obj,LIQUIDPOOL) || GetObjectFlag(Obj,LIQUIDCONTAINER)"));
}

TEST_F(ObjectTypes, MissileAndOutfitDirections) {
    // Sprite 10 + k lies at pattern (k mod 3 + 1, k div 3 + 1): clockwise from the top middle.
    const int32_t Sprites[8] = {11, 12, 15, 18, 17, 16, 13, 10};
    for (int32_t Direction = 0; Direction < 8; Direction++)
        EXPECT_EQ(GetMissileSprite(1, 1, 1, 1, Direction), Sprites[Direction]) << Direction;
    for (int32_t Direction : {8, -1})
        EXPECT_TRUE(Has(ThrownText([Direction] { GetMissileSprite(1, 1, 1, 1, Direction); }),
                        "(Direction = " + std::to_string(Direction) + "), reason:\nIn(Direction,0,7)"));
    EXPECT_EQ(GetOutfitSprite(1, 1, 1, 1, 2, 1), 33);
}
