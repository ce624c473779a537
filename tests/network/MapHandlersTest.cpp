// Tests of the map messages through the dispatcher: the field encoding, the floors an area covers, object
// changes, creature moves with their diagnostics, walk cancels and floor changes.
#include "GameFixture.h"

#include "state/MapAutomap.h"
#include "state/MapEffects.h"
#include "state/MapLight.h"

namespace {

constexpr int32_t FIELDS_PER_FLOOR = MAPSIZE_X * MAPSIZE_Y;
constexpr uint32_t MONSTER = 0x40000001;

// The reading-order index of box field (rx, ry) on the k-th floor read.
int32_t At(int32_t k, int32_t rx, int32_t ry) { return k * FIELDS_PER_FLOOR + rx * MAPSIZE_Y + ry; }

TWireWriter Light(uint8_t Brightness) {
    TWireWriter Writer;
    Writer.u8(130).u8(Brightness).u8(0);
    return Writer;
}

void Append(TWireWriter& Writer, const TWireWriter& More) { Writer.bytes(More.data()); }

class MapHandlerTest : public GameTest {
protected:
    // The surface view at (100, 100, 7) with FLOOR under box field (8, 6, 0) and the given extra fields.
    void surfaceMap(TFields Fields = {}) {
        Fields.emplace(At(0, 8, 6), words({FLOOR}));
        TWireWriter Map = fullMap(100, 100, 7, 8, Fields);
        feed(Map);
    }
    // A monster standing on FLOOR at box field (8, 6, 0).
    void monsterMap(TFields Fields = {}) {
        Fields[At(0, 8, 6)] = join(words({FLOOR}), newCreature(0, MONSTER, "rat"));
        TWireWriter Map = fullMap(100, 100, 7, 8, Fields);
        feed(Map);
    }
    TWireWriter move(int32_t sx, int32_t sy, int32_t Position, int32_t zx, int32_t zy, int32_t zz = 7) {
        TWireWriter Writer;
        Writer.u8(109).u16(static_cast<uint16_t>(sx)).u16(static_cast<uint16_t>(sy)).u8(7);
        Writer.u8(static_cast<uint8_t>(Position))
            .u16(static_cast<uint16_t>(zx))
            .u16(static_cast<uint16_t>(zy));
        Writer.u8(static_cast<uint8_t>(zz));
        return Writer;
    }
};

} // namespace

TEST_F(MapHandlerTest, FieldEndsSkipFieldsAndItemsTakeTheirLastDataByte) {
    TWireWriter Map;
    Map.u8(100).u16(100).u16(100).u8(7);
    Map.u16(FLOOR).u16(0xFF02).u16(THING).u16(0xFF00);
    Map.u16(FLASK).u8(5).u8(7).u16(COINS).u8(9).u16(0xFF00);
    area(Map, 8 * FIELDS_PER_FLOOR - 5, {});
    Append(Map, Light(40)); // in the same frame: the map must end exactly where it does
    feed(Map);

    EXPECT_EQ(stack(0, 0, 0), std::vector<int32_t>{FLOOR});
    EXPECT_TRUE(stack(0, 1, 0).empty());
    EXPECT_TRUE(stack(0, 2, 0).empty());
    EXPECT_EQ(stack(0, 3, 0), std::vector<int32_t>{THING});
    TObject Flask, Coins;
    GetMapObject(Flask, 0, 4, 0, 0);
    GetMapObject(Coins, 0, 4, 0, 1);
    EXPECT_EQ(Flask.Data, 7) << "the liquid, read after the count";
    EXPECT_EQ(Coins.Data, 9);
    EXPECT_EQ(GetAmbientBrightness(), 40);
    TRGBColor Seen, Floor(24);
    GetAutomapColor(Seen, 92, 94, 7); // box (0, 0) of the viewed floor
    EXPECT_EQ((std::vector<int32_t>{Seen.Red, Seen.Green, Seen.Blue}),
              (std::vector<int32_t>{Floor.Red, Floor.Green, Floor.Blue}));
}

TEST_F(MapHandlerTest, FullMapReadsTheFloorsItsViewCalls) {
    const std::pair<int32_t, std::vector<int32_t>> Cases[] = {
        {7, {0, 1, 2, 3, 4, 5, 6, 7}}, {8, {4, 3, 2, 1, 0}}, {14, {4, 3, 2, 1}}, {15, {4, 3, 2}}};
    for (const auto& [z, BoxFloors] : Cases) {
        TFields Fields;
        for (size_t k = 0; k < BoxFloors.size(); k++)
            Fields[At(static_cast<int32_t>(k), 0, 0)] = words({THING});
        TWireWriter Map = fullMap(300, 300, z, static_cast<int32_t>(BoxFloors.size()), Fields);
        Append(Map, Light(static_cast<uint8_t>(z)));
        SetAmbientLight(-1, 0);
        feed(Map);
        for (int32_t rz = 0; rz < MAPSIZE_Z; rz++) {
            bool Read = std::find(BoxFloors.begin(), BoxFloors.end(), rz) != BoxFloors.end();
            EXPECT_EQ(stack(0, 0, rz).size(), Read ? 1u : 0u) << "view floor " << z << ", box floor " << rz;
        }
        EXPECT_EQ(GetAmbientBrightness(), z);
    }
    TWireWriter Beyond = fullMap(300, 300, 16, 0);
    EXPECT_TRUE(Contains(failure(Beyond), "In(z,0,HIGHEST_FLOOR)"));
}

TEST_F(MapHandlerTest, BrokenFieldsFailWithTheirTexts) {
    surfaceMap();
    TWireWriter Zero;
    Zero.u8(105).u16(100).u16(100).u8(7).u16(0);
    std::string Text = failure(Zero);
    EXPECT_TRUE(Contains(Text, "client recieved field with type 0 (8,6,0)")) << Text;

    TWireWriter Eleven;
    Eleven.u8(105).u16(100).u16(100).u8(7);
    for (int i = 0; i < 11; i++)
        Eleven.u16(THING);
    EXPECT_TRUE(Contains(failure(Eleven.u16(0xFF00)), "too many objects on map point"));

    TWireWriter Unknown;
    Unknown.u8(106).u16(100).u16(100).u8(7).u16(50);
    std::string Unlisted = failure(Unknown);
    EXPECT_TRUE(Contains(Unlisted, "In(Type,ObjectProperties->low(),ObjectProperties->high())")) << Unlisted;
}

TEST_F(MapHandlerTest, ObjectsAreAddedChangedAndFieldsReplacedKeepingTheirEffects) {
    surfaceMap();
    TWireWriter Messages;
    Messages.u8(106).u16(100).u16(100).u8(7).u16(THING);
    Messages.u8(106).u16(100).u16(100).u8(7).u16(FLOOR2); // a ground goes below the thing
    Messages.u8(107).u16(100).u16(100).u8(7).u8(2).u16(COINS).u8(3);
    Messages.u8(131).u16(100).u16(100).u8(7).u8(1);
    feed(Messages);
    EXPECT_EQ(stack(8, 6, 0), (std::vector<int32_t>{FLOOR2, FLOOR, COINS}));

    TWireWriter Field;
    Field.u8(105).u16(100).u16(100).u8(7).u16(PUDDLE).u8(4).u16(0xFF00);
    feed(Field);
    EXPECT_EQ(stack(8, 6, 0), std::vector<int32_t>{PUDDLE});
    EXPECT_NE(GetFirstEffect(8, 6, 0), -1) << "the field's effects stay";
}

TEST_F(MapHandlerTest, EmptyPositionsAreOnlyAllowedWhileTheFieldIsAskedForAgain) {
    surfaceMap();
    TWireWriter Delete;
    Delete.u8(108).u16(100).u16(100).u8(7).u8(3);
    std::string Text = failure(Delete);
    EXPECT_TRUE(Contains(Text, "FieldRefreshRequested(rx,ry,rz)")) << Text;
    EXPECT_TRUE(Contains(Text, "(rx = 8) (ry = 6)")) << Text;

    SetFieldRefreshRequested(8, 6, 0);
    TWireWriter Dropped;
    Dropped.u8(107).u16(100).u16(100).u8(7).u8(3).u16(COINS).u8(3);
    Dropped.u8(108).u16(100).u16(100).u8(7).u8(5);
    Append(Dropped, Light(77));
    feed(Dropped);
    EXPECT_EQ(stack(8, 6, 0), std::vector<int32_t>{FLOOR});
    EXPECT_EQ(GetAmbientBrightness(), 77);
}

TEST_F(MapHandlerTest, DeletingFromAFullFieldAsksForTheField) {
    surfaceMap(
        {{At(0, 3, 3), words({THING, THING, THING, THING, THING, THING, THING, THING, THING, THING})}});
    TWireWriter Delete;
    Delete.u8(108).u16(95).u16(97).u8(7).u8(9);
    Delete.u8(108).u16(95).u16(97).u8(7).u8(0);
    feed(Delete);
    EXPECT_EQ(stack(3, 3, 0).size(), 8u);
    EXPECT_EQ(sent(), (std::vector<std::vector<uint8_t>>{{201, 95, 0, 97, 0, 7}}));
    EXPECT_TRUE(FieldRefreshRequested(3, 3, 0));
}

TEST_F(MapHandlerTest, CreaturesStepOnGroundAndJumpAnywhere) {
    monsterMap({{At(0, 9, 7), words({FLOOR2})}});
    TWireWriter Step = move(100, 100, 1, 101, 101); // diagonal: still a step
    feed(Step);
    TCreature* Rat = GetCreature(MONSTER);
    ASSERT_NE(Rat, nullptr);
    EXPECT_EQ(Rat->X, 101);
    EXPECT_EQ(Rat->Y, 101);
    EXPECT_TRUE(Rat->Walking);
    EXPECT_EQ(Rat->OffsetX, -32);
    EXPECT_EQ(Rat->LookDirection, 1);
    EXPECT_EQ(stack(8, 6, 0), std::vector<int32_t>{FLOOR});
    EXPECT_EQ(stack(9, 7, 0), (std::vector<int32_t>{FLOOR2, CREATURE}));

    TWireWriter Jump = move(101, 101, 1, 101, 98); // two fields north onto nothing
    feed(Jump);
    EXPECT_EQ(Rat->Y, 98);
    EXPECT_EQ(Rat->LookDirection, 0);
    EXPECT_EQ(Rat->OffsetY, 0) << "a jump shows the creature there at once";
    EXPECT_EQ(stack(9, 4, 0), std::vector<int32_t>{CREATURE});
}

TEST_F(MapHandlerTest, MovesOfWhatIsNoCreatureFailOrWaitForTheRefresh) {
    surfaceMap();
    TWireWriter Nothing = move(100, 100, 0, 101, 100);
    std::string Text = failure(Nothing);
    EXPECT_TRUE(Contains(Text, "no creature anymore [bug0000017] (100, 0)")) << Text;
    EXPECT_TRUE(Contains(Text, " sx: 8 sy: 6 sz: 0\n Position: 0\n zx: 9 zy: 6 zz: 0\n dx: 1 dy: 0 dz: 0\n"))
        << Text;
    EXPECT_TRUE(Contains(Text, " abs_zx: 101 abs_zy: 100 abs_zz: 7\n Start Cylinder (1):  (100,0)\n"))
        << Text;
    EXPECT_TRUE(Contains(Text, " Start Cylinder (2):  (100,0)(-)(-)(-)(-)(-)(-)(-)(-)(-)\n")) << Text;

    SetFieldRefreshRequested(8, 6, 0);
    TWireWriter Waiting = move(100, 100, 0, 101, 100);
    feed(Waiting);
    EXPECT_EQ(stack(8, 6, 0), std::vector<int32_t>{FLOOR});
    EXPECT_EQ(sent(), (std::vector<std::vector<uint8_t>>{{201, 101, 0, 100, 0, 7}}));
}

TEST_F(MapHandlerTest, AStepWithoutGroundFailsAfterMovingTheRecord) {
    // A second creature stands alone east of the monster; an unknown one stands beside it.
    TWireWriter Unknown;
    Unknown.u16(FLOOR).u16(99).u32(MONSTER + 2).u8(1);
    monsterMap({{At(0, 9, 6), newCreature(0, MONSTER + 1, "bat")}, {At(0, 8, 7), Unknown.take()}});
    EXPECT_EQ(stack(8, 7, 0), (std::vector<int32_t>{FLOOR, CREATURE})) << "kept without a record";

    TWireWriter Step = move(100, 100, 1, 101, 100);
    std::string Text = failure(Step);
    EXPECT_TRUE(Contains(Text, "no bank as first object [bug0000484]")) << Text;
    EXPECT_TRUE(Contains(Text, "\n ID: 1073741825 Name: Rat\n RealX: 101 RealY: 100 RealZ: 7")) << Text;
    EXPECT_EQ(GetCreature(MONSTER)->X, 101);
    EXPECT_EQ(stack(8, 6, 0), (std::vector<int32_t>{FLOOR, CREATURE})) << "the map object stays";

    TWireWriter Jump = move(100, 101, 1, 100, 103);
    feed(Jump);
    EXPECT_EQ(stack(8, 9, 0), std::vector<int32_t>{CREATURE});
}

TEST_F(MapHandlerTest, TheSeventeenthWalkCancelAtOnePlaceCancelsEverything) {
    surfaceMap();
    SetAttackTarget(MONSTER);
    TWireWriter Cancel;
    Cancel.u8(181).u8(2);
    for (int i = 0; i < 16; i++)
        feed(Cancel);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(GetAttackTarget(), MONSTER);
    feed(Cancel);
    EXPECT_EQ(sent(), (std::vector<std::vector<uint8_t>>{{190}}));
    EXPECT_EQ(GetAttackTarget(), 0u);
    feed(Cancel);
    EXPECT_TRUE(sent().empty());
}

TEST_F(MapHandlerTest, AWalkCancelWithoutADirectionKeepsTheOneThePlayerHas) {
    monsterMap();
    SetPlayerID(MONSTER);
    TWireWriter East;
    East.u8(181).u8(1);
    feed(East);
    EXPECT_EQ(GetCreature(MONSTER)->LookDirection, 1);
    for (uint8_t Direction : {4, 255}) {
        TWireWriter Beyond;
        Beyond.u8(181).u8(Direction);
        feed(Beyond);
        EXPECT_EQ(GetCreature(MONSTER)->LookDirection, 1);
    }
    SetPlayerID(0);
}

TEST_F(MapHandlerTest, FloorChangesMoveTheViewAndReadTheNewFloors) {
    TWireWriter Below = fullMap(100, 100, 8, 5);
    feed(Below);
    TWireWriter Up;
    Up.u8(190);
    TFields Fields;
    for (int32_t k = 0; k < 6; k++)
        Fields[At(k, 0, 0)] = words({THING});
    area(Up, 6 * FIELDS_PER_FLOOR, Fields);
    feed(Up);
    int32_t x, y, z;
    GetViewPosition(x, y, z);
    EXPECT_EQ((std::vector<int32_t>{x, y, z}), (std::vector<int32_t>{101, 101, 7}));
    for (int32_t rz = 2; rz < MAPSIZE_Z; rz++)
        EXPECT_EQ(stack(0, 0, rz).size(), 1u) << rz;

    TWireWriter Deep = fullMap(100, 100, 13, 5);
    TWireWriter Down;
    Down.u8(191);
    Append(Down, Light(9)); // nothing below the deepest floor is sent
    feed(Deep);
    feed(Down);
    GetViewPosition(x, y, z);
    EXPECT_EQ(z, 14);
    EXPECT_EQ(GetAmbientBrightness(), 9);

    TWireWriter Top = fullMap(100, 100, 0, 8);
    feed(Top);
    TWireWriter Above;
    Above.u8(190);
    EXPECT_TRUE(Contains(failure(Above), "In(z,0,HIGHEST_FLOOR)"));
}

TEST_F(MapHandlerTest, SlicesScrollTheBoxAndFillTheNewRow) {
    surfaceMap();
    TWireWriter North;
    North.u8(101);
    area(North, MAPSIZE_X * MAPSIZE_Z, {{0, words({THING})}});
    feed(North);
    int32_t x, y, z;
    GetViewPosition(x, y, z);
    EXPECT_EQ(y, 99);
    EXPECT_EQ(stack(0, 0, 0), std::vector<int32_t>{THING});
    EXPECT_EQ(stack(8, 7, 0), std::vector<int32_t>{FLOOR});
}
