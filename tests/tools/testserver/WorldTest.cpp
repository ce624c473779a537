// Tests of the world's pieces: the type reader, the stack order, the field descriptions, the box geometry
// and the village.
#include "tests/tools/testserver/TestClient.h"
#include "tools/testserver/Game.h"
#include "tools/testserver/MapView.h"
#include "tools/testserver/Village.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

using namespace testserver;
using testclient::TBytes;

namespace {

// A file with the given item records for types 100.., and one outfit, effect and missile that are not read.
TBytes DatFile(const std::vector<TBytes>& Items, uint16_t Outfits = 1) {
    TBytes File;
    testclient::Put32(File, 0x12345678);
    testclient::Put16(File, static_cast<uint16_t>(99 + Items.size()));
    for (uint16_t Count : {Outfits, uint16_t{1}, uint16_t{1}})
        testclient::Put16(File, Count);
    for (const TBytes& Item : Items)
        File.insert(File.end(), Item.begin(), Item.end());
    return File;
}

// A one-cell record with the given flag list (end byte added).
TBytes Plain(TBytes Flags) {
    Flags.insert(Flags.end(), {0xFF, 1, 1, 1, 1, 1, 1, 1, 42, 0});
    return Flags;
}

std::shared_ptr<const TObjectTypes> GeneratedTypes() {
    static auto Types = std::make_shared<const TObjectTypes>(TObjectTypes::load(DefaultDatFile()));
    return Types;
}

std::vector<uint16_t> Words(const TBytes& Bytes) {
    std::vector<uint16_t> Result;
    for (size_t i = 0; i + 1 < Bytes.size(); i += 2)
        Result.push_back(static_cast<uint16_t>(Bytes[i] | Bytes[i + 1] << 8));
    return Result;
}

} // namespace

TEST(ObjectTypesTest, ReadsTheFlagsAndValuesAndSkipsTheShapes) {
    TBytes Light = {0x15, 0x05, 0x00, 0xD7, 0x00, 0xFF, 0x02, 0x02, 0x40, 0x01, 0x01, 0x01, 0x01, 0x01};
    Light.insert(Light.end(), 8, 0x11); // four sprites of a 2 x 2 type behind its size byte
    TObjectTypes Types = TObjectTypes::parse(DatFile({
        {0x00, 0x96, 0x00, 0xFF, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x2A, 0x00},
        Light,
        Plain({0x05, 0x0A}),                   // a count and a liquid: two data bytes on the wire
        Plain({0x28, 0x0C, 0x00, 0x10, 0x00}), // code 40 has no data; ground given twice, the later wins
        {0x04, 0xFF, 0x01, 0x01, 0x00, 0x01, 0x01, 0x01, 0x01}, // no layers: no sprite numbers
        Plain({0x0B, 0x19, 0x05, 0x00, 0x1D, 0x07, 0x00}),
    }));
    EXPECT_EQ(Types.signature(), 0x12345678u);
    EXPECT_EQ(Types.highestItem(), 105);
    EXPECT_TRUE(Types.hasFlag(100, FLAG_GROUND));
    EXPECT_EQ(Types.groundSpeed(100), 150);
    EXPECT_FALSE(Types.hasFlag(101, FLAG_GROUND));
    EXPECT_TRUE(Types.hasFlag(101, 21));
    EXPECT_EQ(Types.dataBytes(102), 2);
    EXPECT_TRUE(Types.hasFlag(103, FLAG_BLOCKS));
    EXPECT_EQ(Types.groundSpeed(103), 16);
    EXPECT_TRUE(Types.hasFlag(104, FLAG_CONTAINER));
    EXPECT_EQ(Types.dataBytes(105), 1);
    EXPECT_TRUE(Types.hasFlag(105, 29));
    EXPECT_FALSE(Types.hasFlag(99, 12)) << "no item type";
    EXPECT_FALSE(Types.hasFlag(106, 0));
    EXPECT_EQ(Types.dataBytes(99), 0);
}

TEST(ObjectTypesTest, BrokenFilesAreErrorsNotCrashes) {
    TBytes Good = DatFile({Plain({})});
    auto Broken = [](TBytes File) { return [File] { TObjectTypes::parse(File); }; };
    EXPECT_THROW(Broken(TBytes(Good.begin(), Good.begin() + 9))(), TDataFileError);
    EXPECT_THROW(Broken(TBytes(Good.begin(), Good.end() - 1))(), TDataFileError) << "cut in the sprites";
    EXPECT_THROW(Broken(DatFile({}))(), TDataFileError) << "no item type";
    EXPECT_THROW(Broken(DatFile({Plain({})}, 0))(), TDataFileError) << "no outfit";
    EXPECT_THROW(Broken(DatFile({{0xFF, 2, 2, 255, 255, 255, 255, 255, 255, 1, 0}}))(), TDataFileError)
        << "counts whose product lies far beyond the file";
    EXPECT_THROW(Broken(DatFile({{0x00, 0x01}}))(), TDataFileError) << "a flag list without its end";
    EXPECT_THROW(TObjectTypes::load("/nonexistent/Ebrun.dat"), TDataFileError);
    EXPECT_NO_THROW(TObjectTypes::parse(Good));
}

TEST(FieldTest, StacksKeepTheClientsOrder) {
    auto Types = GeneratedTypes();
    using namespace village;
    TField Field;
    EXPECT_EQ(Field.add(*Types, {GRASS}), 0);
    EXPECT_EQ(Field.add(*Types, {SWORD}), 1);
    EXPECT_EQ(Field.add(*Types, {CREATURE, 0, 7}), 1) << "a creature goes below the items";
    EXPECT_EQ(Field.add(*Types, {BOOK}), 2) << "a new item goes above the creatures, below older items";
    EXPECT_EQ(Field.add(*Types, {CREATURE, 0, 8}), 1) << "a new creature goes below the older one";
    EXPECT_EQ(Field.add(*Types, {FLOWERS}), 1) << "a class object goes right above the ground";
    EXPECT_EQ(Field.add(*Types, {COBBLES}), 0) << "a second ground goes below the first";
    std::vector<uint16_t> Order;
    for (const TThing& Thing : Field.stack())
        Order.push_back(Thing.Type == CREATURE ? static_cast<uint16_t>(Thing.CreatureId) : Thing.Type);
    EXPECT_EQ(Order, (std::vector<uint16_t>{COBBLES, GRASS, FLOWERS, 8, 7, BOOK, SWORD}));
    EXPECT_EQ(Field.find(7), 4);

    for (int i = 0; i < 3; ++i)
        Field.add(*Types, {GOLD, 1});
    EXPECT_EQ(Field.add(*Types, {GOLD, 1}), -1) << "ten objects fill a field";
    EXPECT_EQ(Field.stack().size(), 10u);
}

TEST(FieldWriterTest, EveryFieldEndsWithTheRunOfEmptyFieldsAfterIt) {
    using namespace village;
    TWorld World(GeneratedTypes());
    World.put({1, 0, 7}, {GRASS});
    World.put({4, 0, 7}, {GRASS});
    World.put({4, 0, 7}, {GOLD, 37});
    TCreature& Gregor = World.addCreature({});
    Gregor.Id = GREGOR;
    Gregor.Name = "Gregor";
    World.place(Gregor, {4, 0, 7});
    TCreatureBook Known;
    auto Describe = [&](int First, int Count) {
        TWireWriter Bytes;
        TFieldWriter Fields(Bytes, World, Known);
        for (int x = First; x < First + Count; ++x)
            Fields.field({x, 0, 7});
        Fields.finish();
        return Bytes.take();
    };

    // empty, grass, empty, empty, grass + Gregor + 37 gold, empty
    TBytes Expected;
    for (uint16_t Word : {0xFF00, int{GRASS}, 0xFF02, int{GRASS}, 97})
        testclient::Put16(Expected, Word);
    testclient::Put32(Expected, 0);
    testclient::Put32(Expected, GREGOR);
    testclient::PutString(Expected, "Gregor");
    Expected.insert(Expected.end(), {100, 2, 1, 0, 0, 0, 0, 0, 0, 0, 220, 0, 0, 0});
    testclient::Put16(Expected, GOLD);
    Expected.push_back(37);
    testclient::Put16(Expected, 0xFF01);
    EXPECT_EQ(Describe(0, 6), Expected);

    TBytes Known99;
    for (uint16_t Word : {int{GRASS}, 99})
        testclient::Put16(Known99, Word);
    testclient::Put32(Known99, GREGOR);
    Known99.push_back(2);
    testclient::Put16(Known99, GOLD);
    Known99.push_back(37);
    testclient::Put16(Known99, 0xFF01);
    EXPECT_EQ(Describe(4, 2), Known99) << "a creature the client knows comes with its facing only";
}

TEST(FieldWriterTest, RunsLongerThan255FieldsAreSplit) {
    TWorld World(GeneratedTypes());
    World.put({0, 0, 7}, {village::GRASS});
    World.put({301, 0, 7}, {village::GRASS});
    TCreatureBook Known;
    TWireWriter Bytes;
    TFieldWriter Fields(Bytes, World, Known);
    for (int x = 0; x < 302; ++x)
        Fields.field({x, 0, 7});
    Fields.finish();
    // grass, 255 empty fields; one empty field and 44 more; grass.
    EXPECT_EQ(Words(Bytes.data()),
              (std::vector<uint16_t>{village::GRASS, 0xFFFF, 0xFF2C, village::GRASS, 0xFF00}));
}

TEST(MapViewTest, TheBoxHoldsEightFloorsAboveGroundAndFiveBelow) {
    EXPECT_EQ(AreaFloors(7), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(AreaFloors(0), AreaFloors(7));
    EXPECT_EQ(AreaFloors(8), (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_EQ(AreaFloors(14), (std::vector<int>{4, 3, 2, 1}));
    EXPECT_EQ(AreaFloors(15), (std::vector<int>{4, 3, 2}));

    const TPosition Surface{100, 100, 7};
    EXPECT_EQ(BoxToWorld(Surface, 8, 6, 0), Surface);
    EXPECT_EQ(BoxToWorld(Surface, 7, 5, 1), (TPosition{100, 100, 6}))
        << "one floor up lies one field diagonal";
    EXPECT_TRUE(InView(Surface, {109, 107, 7}));
    EXPECT_FALSE(InView(Surface, {110, 107, 7}));
    EXPECT_FALSE(InView(Surface, {92, 94, 6})) << "shifted out of the box on the floor above";
    EXPECT_TRUE(InView(Surface, {93, 95, 6}));
    EXPECT_FALSE(InView(Surface, {100, 100, 8})) << "nothing below the surface is seen from it";

    const TPosition Cellar{100, 100, 8};
    EXPECT_EQ(BoxToWorld(Cellar, 8, 6, 2), Cellar);
    EXPECT_TRUE(InView(Cellar, {98, 98, 10}));
    EXPECT_FALSE(InView(Cellar, {100, 100, 11}));
    EXPECT_TRUE(InView(Cellar, {100, 100, 6}));
    EXPECT_FALSE(InView(Cellar, {100, 100, 5}));
}

TEST(VillageTest, TownsfolkWalkTheirRoundsUnhindered) {
    TWorld World = village::BuildVillage(GeneratedTypes());
    const TPosition GregorStart = World.creature(village::GREGOR)->Position;
    int Idle = 0;
    for (int Round = 0; Round < 72; ++Round) // whole rounds of all three scripts
        for (TCreature& Creature : World.creatures())
            if (!Creature.Script.empty()) Idle += World.act(Creature).Kind == TCreatureChange::TKind::None;
    EXPECT_EQ(Idle, 8 * (2 + 1)) << "only the waits of Mira (two) and the rat (one) in each of eight rounds";
    EXPECT_EQ(World.creature(village::GREGOR)->Position, GregorStart);
    EXPECT_FALSE(World.creature(village::MIRA)->Present);
}

TEST(VillageTest, AFileWhoseTypesLackTheVillagesFlagsIsRefused) {
    std::vector<TBytes> Items(100, Plain({}));
    auto Plainly = std::make_shared<const TObjectTypes>(TObjectTypes::parse(DatFile(Items, 12)));
    try {
        village::BuildVillage(Plainly);
        ADD_FAILURE() << "no error";
    } catch (const TDataFileError& Error) {
        EXPECT_STREQ(Error.what(), "Ebrun.dat: item type 100 lacks flag 0");
    }
}
