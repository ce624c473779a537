// Object types: reading Ebrun.dat (well-formed and broken), flag and value getters, sprite and pattern rules.
#include "state/Objects.h"

#include "tests/foundation/Thrown.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>

namespace {

void PutWord(std::vector<uint8_t>& Out, uint32_t Value) {
    Out.push_back(static_cast<uint8_t>(Value));
    Out.push_back(static_cast<uint8_t>(Value >> 8));
}

// A file whose first item record is given as raw bytes; the other tables hold one minimal type each.
std::vector<uint8_t> FileWithItemRecord(const std::vector<uint8_t>& Record) {
    std::vector<uint8_t> Bytes = {0x78, 0x56, 0x34, 0x12};
    for (uint32_t Count : {100u, 1u, 1u, 1u})
        PutWord(Bytes, Count);
    Bytes.insert(Bytes.end(), Record.begin(), Record.end());
    for (int Table = 0; Table < 3; Table++) {
        std::vector<uint8_t> Minimal = EncodeDatType(TDatType());
        Bytes.insert(Bytes.end(), Minimal.begin(), Minimal.end());
    }
    return Bytes;
}

void LoadItemRecord(const std::vector<uint8_t>& Record) {
    WriteBytesToFile("Ebrun.dat", FileWithItemRecord(Record));
    LoadObjectTypes("Ebrun.dat");
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
    TScratchDir Scratch;
};

} // namespace

TEST_F(ObjectFile, RecordsAsWritten) {
    // BANK 150, end byte, 1 x 1 without size byte, one of everything, sprite 42.
    LoadItemRecord({0x00, 0x96, 0x00, 0xFF, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x2A, 0x00});
    EXPECT_EQ(GetObjectTypeSignature(), 0x12345678u);
    EXPECT_EQ(GetHighestObjectType(), 100);
    EXPECT_EQ(GetObjectBankSpeed(100), 150);
    EXPECT_EQ(GetObjectSize(100), 32);
    EXPECT_EQ(GetObjectSprite(100, 1, 1, 1, 1, 1, 1, 1), 42);
    EXPECT_EQ(GetOutfitWidth(1), 1); // the records behind it were found

    // LIGHT 5 / 215, then 2 x 2 with the size byte 64 and four sprites.
    LoadItemRecord({0x15, 0x05, 0x00, 0xD7, 0x00, 0xFF, 0x02, 0x02, 0x40, 0x01, 0x01,
                    0x01, 0x01, 0x01, 1,    0,    2,    0,    3,    0,    4,    0});
    EXPECT_EQ(GetObjectLightBrightness(100), 5);
    EXPECT_EQ(GetObjectLightColor(100), 215);
    EXPECT_EQ(GetObjectSize(100), 64);
    EXPECT_EQ(GetObjectSprite(100, 2, 2, 1, 1, 1, 1, 1), 4);
    EXPECT_EQ(GetEffectWidth(1), 1);
}

TEST_F(ObjectFile, FlagListRules) {
    TDatFile File = MinimalDatFile();
    File.item(100).flag(DAT_HEIGHT, 3).bank(7).light(9, 100).flag(DAT_HEIGHT, 12);
    File.addItem().flag(DAT_WRITE, 11).flag(DAT_WRITEONCE, 22);
    File.addItem().flag(40).flag(254).lensHelp(1100); // codes above 31 carry no data and set nothing
    File.addItem();
    LoadDatFile(File);
    EXPECT_EQ(GetObjectElevation(100), 12);
    EXPECT_EQ(GetObjectBankSpeed(100), 7);
    EXPECT_EQ(GetObjectLightColor(100), 100);
    EXPECT_TRUE(GetObjectFlag(101, 8));
    EXPECT_TRUE(GetObjectFlag(101, 9));
    EXPECT_EQ(GetObjectLensHelp(102), 1100);
    for (int32_t Flag = 0; Flag < 32; Flag++) {
        EXPECT_EQ(GetObjectFlag(102, Flag), Flag == LENSHELP) << Flag;
        EXPECT_FALSE(GetObjectFlag(103, Flag)) << Flag;
    }
    EXPECT_EQ(GetOutfitSprite(1, 1, 1, 1, 0, 1), 2);
    EXPECT_EQ(GetMissileSprite(1, 1, 1, 1, 7), 4); // direction 7 is pattern (1, 1)
}

TEST_F(ObjectFile, ZeroCountsGiveEmptySpriteLists) {
    TDatFile File = MinimalDatFile();
    File.item(100).flag(DAT_CUMULATIVE).flag(DAT_LIQUIDCONTAINER).shape(1, 1, 1, 0, 0, 1, 1);
    File.addItem().shape(0, 0, 1, 1, 1, 1, 1);
    File.addItem().sprite(1, 1, 1, 1, 1, 1, 1, 77);
    LoadDatFile(File);
    EXPECT_EQ(GetObjectSprite(102, 1, 1, 1, 1, 1, 1, 1), 77);
    EXPECT_EQ(GetObjectSize(101), 32);
    int32_t PatternX = 0, PatternY = 0;
    GetCumulativePattern({100, 50, 0}, PatternX, PatternY);
    EXPECT_EQ(PatternX, 1);
    EXPECT_EQ(PatternY, 1);
    GetLiquidPattern({100, 7, 0}, PatternX, PatternY);
    EXPECT_EQ(PatternX, 1);
    EXPECT_EQ(PatternY, 1);
    EXPECT_NE(ThrownText([] {
                  GetObjectSprite(100, 1, 1, 1, 1, 1, 1, 1);
              }).find("In(PatternX,1,Entry.PatternWidth)"),
              std::string::npos);
}

TEST_F(ObjectFile, BrokenFilesEndWithErrorOne) {
    TDatFile File = MinimalDatFile();
    for (TDatBreak Break :
         {TDatBreak::TRUNCATED_HEADER, TDatBreak::TRUNCATED_SPRITES, TDatBreak::MISSING_END_BYTE,
          TDatBreak::TOO_FEW_ITEMS, TDatBreak::NO_OUTFITS, TDatBreak::NO_EFFECTS, TDatBreak::NO_MISSILES,
          TDatBreak::COUNTS_PAST_END, TDatBreak::HUGE_PATTERNS})
        EXPECT_EQ(InitObjectsError(EncodeBrokenDatFile(File, Break)), 1) << static_cast<int>(Break);
    EXPECT_EQ(InitObjectsError(EncodeBrokenDatFile(File, TDatBreak::TRAILING_BYTES)), 0);
    EXPECT_EQ(GetMissileWidth(1), 1);
    EXPECT_EQ(InitObjectsError({}), 1);
    std::filesystem::remove("Ebrun.dat");
    EXPECT_THROW(InitObjects(), PROGRAM_ERROR);
}

// Five counts of 128 multiply to 2^35, which is 0 in 32 bits: a reader that formed the product in 32 bits
// would read no sprites and go on with the next record.
TEST_F(ObjectFile, SpriteCountBeyondTheFileIsRefused) {
    EXPECT_EQ(InitObjectsError(FileWithItemRecord({0xFF, 128, 128, 32, 128, 128, 128, 1, 1})), 1);
    std::vector<uint8_t> Exact = FileWithItemRecord({0xFF, 1, 1, 1, 1, 1, 1, 3, 1, 0, 2, 0, 3, 0});
    EXPECT_EQ(InitObjectsError(Exact), 0);
    EXPECT_EQ(GetObjectSprite(100, 1, 1, 1, 1, 1, 1, 3), 3);
}

TEST_F(ObjectFile, ReloadTakesTheNewFile) {
    TDatFile File = MinimalDatFile();
    WriteBytesToFile("Ebrun.dat", EncodeDatFile(File));
    InitObjects();
    File.Signature = 0xCAFE0001;
    File.addItem().flag(12);
    WriteBytesToFile("Ebrun.dat", EncodeDatFile(File));
    ReloadObjects();
    EXPECT_EQ(GetObjectTypeSignature(), 0xCAFE0001u);
    EXPECT_EQ(GetHighestObjectType(), 101);
    EXPECT_TRUE(GetObjectFlag(101, 12));
    ExitObjects();
    ExitObjects();
    EXPECT_EQ(GetObjectTypeSignature(), 0xCAFE0001u);
    EXPECT_NE(ThrownText([] { GetObjectWidth(100); }).find("ObjectProperties!=NULL"), std::string::npos);
    EXPECT_NE(ThrownText([] { GetObjectFlag(100, 0); }).find("In(Type,"), std::string::npos);
}

class ObjectTypes : public ObjectFile {
protected:
    void SetUp() override {
        TDatFile File = MinimalDatFile();
        File.item(100).flag(DAT_CUMULATIVE).shape(1, 1, 1, 4, 2, 1, 1);
        File.addItem().flag(DAT_LIQUIDPOOL).shape(1, 1, 1, 4, 2, 1, 1);                           // 101
        File.addItem().flag(DAT_CUMULATIVE).flag(DAT_LIQUIDCONTAINER).shape(1, 1, 1, 2, 1, 1, 1); // 102
        File.addItem().flag(DAT_HANG).shape(1, 1, 1, 2, 1, 1, 1);                                 // 103
        File.addItem().flag(DAT_HANG).shape(1, 1, 1, 3, 1, 1, 1);                                 // 104
        TDatType& Large = File.addItem().shape(2, 2, 2, 2, 3, 2, 2);                              // 105
        for (size_t k = 0; k < Large.Sprites.size(); k++)
            Large.Sprites[k] = static_cast<uint16_t>(1000 + k);
        TDatType& Missile = File.missile(1).shape(1, 1, 1, 3, 3, 1, 1);
        for (size_t k = 0; k < Missile.Sprites.size(); k++)
            Missile.Sprites[k] = static_cast<uint16_t>(10 + k);
        File.outfit(1).shape(1, 1, 1, 4, 1, 1, 1).sprite(1, 1, 1, 3, 1, 1, 1, 33);
        LoadDatFile(File);
    }
};

TEST_F(ObjectTypes, CreatureAndRangeOfItemTypes) {
    EXPECT_TRUE(GetObjectFlag(CREATURE, 12));
    EXPECT_FALSE(GetObjectFlag(CREATURE, 5));
    for (int32_t Type : {0, 98, 106})
        EXPECT_NE(ThrownText([Type] {
                      GetObjectFlag(Type, 0);
                  }).find("In(Type,ObjectProperties->low(),ObjectProperties->high())"),
                  std::string::npos);
    EXPECT_NE(ThrownText([] { GetObjectFlag(98, 0); }).find("(Type = 98) (ObjectProperties->high() = 105)"),
              std::string::npos);
    EXPECT_NE(ThrownText([] { GetOutfitFlag(2, 0); }).find("index out of range"), std::string::npos);
    EXPECT_NE(ThrownText([] { GetObjectLightColor(100); }).find("GetEntryFlag(Entry,LIGHT)"),
              std::string::npos);
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
                                ASSERT_EQ(GetObjectSprite(105, X, Y, Layer, PX, PY, Z, Phase),
                                          1000 + Reference.spriteIndex(X, Y, Layer, PX, PY, Z, Phase));
    EXPECT_EQ(GetObjectSprite(105, 2, 1, 1, 1, 1, 1, 1), 1001);
    EXPECT_EQ(GetObjectSprite(105, 1, 2, 1, 1, 1, 1, 1), 1002);
    // The first bad argument is the one reported.
    std::string Text = ThrownText([] { GetObjectSprite(105, 1, 1, 3, 1, 1, 1, 0); });
    EXPECT_NE(Text.find("(Layer = 3) (Entry.Layers = 2), reason:\nIn(Layer,1,Entry.Layers)"),
              std::string::npos);
    EXPECT_NE(Text.find("exception occurred (Type = 105)"), std::string::npos);
}

TEST_F(ObjectTypes, CountLiquidAndHookPatterns) {
    const int32_t Counts[13] = {0, 1, 2, 3, 4, 5, 9, 10, 24, 25, 49, 50, 100};
    const int32_t Expected[13][2] = {{1, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 2}, {1, 2},
                                     {2, 2}, {2, 2}, {3, 2}, {3, 2}, {4, 2}, {4, 2}};
    int32_t PX, PY;
    for (int i = 0; i < 13; i++) {
        GetCumulativePattern({100, Counts[i], 0}, PX, PY);
        EXPECT_EQ(PX, Expected[i][0]) << Counts[i];
        EXPECT_EQ(PY, Expected[i][1]) << Counts[i];
    }
    GetCumulativePattern({102, 4, 0}, PX, PY);
    EXPECT_EQ(PX, 2);

    const int32_t Liquids[3][3] = {{0, 1, 1}, {5, 2, 2}, {7, 4, 2}};
    for (const auto& Liquid : Liquids) {
        GetLiquidPattern({101, Liquid[0], 0}, PX, PY);
        EXPECT_EQ(PX, Liquid[1]);
        EXPECT_EQ(PY, Liquid[2]);
    }
    GetLiquidPattern({102, 5, 0}, PX, PY);
    EXPECT_EQ(PX, 2);

    const int32_t Hooks[5][3] = {{103, 19, 1}, {103, 0, 1}, {103, 18, 2}, {104, 19, 3}, {104, 18, 2}};
    for (const auto& Hook : Hooks) {
        GetHangPattern({Hook[0], 0, Hook[1]}, PX, PY);
        EXPECT_EQ(PX, Hook[2]);
        EXPECT_EQ(PY, 1);
    }
    EXPECT_NE(ThrownText([&] {
                  GetCumulativePattern({101, 1, 0}, PX, PY);
              }).find("GetObjectFlag(Obj,CUMULATIVE)"),
              std::string::npos);
    EXPECT_NE(ThrownText([&] {
                  GetLiquidPattern({100, 1, 0}, PX, PY);
              }).find("GetObjectFlag(Obj,LIQUIDPOOL) || GetObjectFlag(Obj,LIQUIDCONTAINER)"),
              std::string::npos);
}

TEST_F(ObjectTypes, MissileAndOutfitDirections) {
    // Sprite 10 + k lies at pattern (k mod 3 + 1, k div 3 + 1).
    const int32_t Sprites[8] = {11, 12, 15, 18, 17, 16, 13, 10};
    for (int32_t Direction = 0; Direction < 8; Direction++)
        EXPECT_EQ(GetMissileSprite(1, 1, 1, 1, Direction), Sprites[Direction]) << Direction;
    for (int32_t Direction : {8, -1}) {
        std::string Text = ThrownText([Direction] { GetMissileSprite(1, 1, 1, 1, Direction); });
        EXPECT_NE(Text.find("reason:\nIn(Direction,0,7)"), std::string::npos);
        EXPECT_EQ(Text.find("exception occurred"), std::string::npos);
    }
    EXPECT_EQ(GetOutfitSprite(1, 1, 1, 1, 2, 1), 33);
}
