// Tests of the creature descriptions and creature updates through the dispatcher: record reuse, names,
// outfits shown as items, skulls, and updates of creatures the client does not know.
#include "GameFixture.h"
#include "foundation/sysinc.h"

namespace {

constexpr uint32_t FIRST = 0x40000010;

int64_t Now = 1000;
int64_t ReadNow() { return Now; }

class CreatureHandlerTest : public GameTest {
protected:
    void TearDown() override {
        SetCalendarClock(nullptr);
        GameTest::TearDown();
    }
    // Message 106: the creature joins world field (0, 0, 0), box (8, 6, 7) of the starting view.
    void add(const std::vector<uint8_t>& Description) {
        TWireWriter Writer;
        Writer.u8(106).u16(0).u16(0).u8(0).bytes(Description);
        feed(Writer);
    }
    // Clearing the attack target (163) behind other messages proves that they ended where they should.
    static TWireWriter& probe(TWireWriter& Writer) { return Writer.u8(163); }
};

} // namespace

TEST_F(CreatureHandlerTest, NewCreaturesTakeAFreeRecordTheReplacedOneOrTheLast) {
    add(newCreature(0, FIRST, "old rat king"));
    TCreature& First = GetCreatureRecord(0);
    EXPECT_EQ(First.CreatureID, FIRST);
    EXPECT_STREQ(First.Name, "Old Rat King");
    EXPECT_EQ((std::vector<int32_t>{First.HealthPercent, First.LookDirection, First.OutfitType,
                                    First.OutfitFeet, First.LightBrightness, First.LightColor, First.Speed}),
              (std::vector<int32_t>{100, 2, 1, 4, 5, 6, 220}));
    EXPECT_EQ((std::vector<int32_t>{First.X, First.Y, First.Z}), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_TRUE(First.Visible);

    add(newCreature(FIRST, FIRST + 1, "bat"));
    EXPECT_EQ(GetCreatureRecord(0).CreatureID, FIRST + 1) << "takes over the replaced record";
    add(newCreature(0, 7, "mc donald"));
    EXPECT_STREQ(GetCreatureRecord(1).Name, "mc donald") << "a player's name is kept as sent";
    add(newCreature(12345, FIRST + 2, "wolf"));
    EXPECT_EQ(GetCreatureRecord(NUMBER_OF_CREATURES - 1).CreatureID, FIRST + 2)
        << "an unknown replaced ID gives the last record although free ones exist";
    EXPECT_EQ(GetCreatureRecord(2).CreatureID, 0u);
}

TEST_F(CreatureHandlerTest, OutfitsShownAsItemsAndUpdatesOfUnknownCreatures) {
    TWireWriter Invisible;
    Invisible.u16(97).u32(0).u32(FIRST).string("ghost");
    Invisible.u8(50).u8(1).u16(0).u16(THING).u8(0).u8(0).u16(100).u8(0).u8(0);
    add(Invisible.take());
    TCreature* Ghost = GetCreature(FIRST);
    ASSERT_NE(Ghost, nullptr);
    EXPECT_EQ(Ghost->OutfitType, 0);
    EXPECT_EQ(Ghost->OutfitHead, THING);
    EXPECT_EQ(Ghost->Speed, 100);

    SetAttackTarget(FIRST);
    TWireWriter Updates;
    Updates.u8(142).u32(FIRST).u16(3).u8(10).u8(11).u8(12).u8(13);
    Updates.u8(140).u32(FIRST + 9).u8(1);             // unknown: 5 bytes behind the type
    Updates.u8(142).u32(FIRST + 9).u16(0).u16(THING); // unknown, item in place of the outfit
    Updates.u8(142).u32(FIRST + 9).u16(3).u8(1).u8(2).u8(3).u8(4);
    Updates.u8(141).u32(FIRST).u8(7).u8(8);
    Updates.u8(143).u32(FIRST).u16(999);
    Updates.u8(145).u32(FIRST).u8(3);
    Updates.u8(134).u32(FIRST).u8(180);
    feed(probe(Updates));
    EXPECT_EQ(
        (std::vector<int32_t>{Ghost->OutfitType, Ghost->OutfitHead, Ghost->OutfitFeet, Ghost->LightBrightness,
                              Ghost->LightColor, Ghost->Speed, Ghost->PARTYFlag, Ghost->MarkColor}),
        (std::vector<int32_t>{3, 10, 13, 7, 8, 999, 3, 180}));
    EXPECT_TRUE(Ghost->isMarked());
    EXPECT_EQ(GetAttackTarget(), 0u) << "the probe behind the updates was read";

    TWireWriter Known;
    Known.u8(106).u16(0).u16(0).u8(0).u16(99).u32(FIRST).u8(3);
    Known.u8(106).u16(0).u16(0).u8(0).u16(98).u32(FIRST + 9);
    Known.u8(40).u8(0).u16(0).u16(THING).u8(0).u8(0).u16(1).u8(0).u8(0);
    feed(Known);
    EXPECT_EQ(Ghost->LookDirection, 3);
    EXPECT_EQ(stack(8, 6, 7), (std::vector<int32_t>{CREATURE, CREATURE, CREATURE}))
        << "an unknown creature's object stays on the map";
}

TEST_F(CreatureHandlerTest, SkullsGoAtOnceFromDescriptionsAndLateFromUpdates) {
    SetCalendarClock(ReadNow);
    add(newCreature(0, FIRST, "brute", 4));
    TCreature* Brute = GetCreature(FIRST);
    EXPECT_EQ(Brute->PKFlag, 4);
    EXPECT_EQ(PeekEventHelp(), 13) << "the first skull seen explains itself";

    TWireWriter Cleared;
    Cleared.u8(144).u32(FIRST).u8(0);
    feed(Cleared);
    Now += 4;
    UpdatePKFlags();
    EXPECT_EQ(Brute->PKFlag, 4);
    Now += 1;
    UpdatePKFlags();
    EXPECT_EQ(Brute->PKFlag, 0);

    TWireWriter Shown;
    Shown.u8(144).u32(FIRST).u8(2);
    feed(Shown);
    TWireWriter Outdated;
    Outdated.u16(98).u32(FIRST).u8(100).u8(2).u16(1).u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).u16(220).u8(0).u8(0);
    add(Outdated.take());
    EXPECT_EQ(Brute->PKFlag, 0) << "a description removes the skull at once";

    TWireWriter Beyond;
    Beyond.u8(144).u32(FIRST).u8(5);
    EXPECT_TRUE(Contains(failure(Beyond), "In(PKFlag,0,HIGHEST_SKULL)"));
    TWireWriter NoShield; // which the map view and the menus could not draw nor offer
    NoShield.u8(145).u32(FIRST).u8(5);
    EXPECT_TRUE(Contains(failure(NoShield), "In(PARTYFlag,0,HIGHEST_SHIELD)"));
    EXPECT_EQ(Brute->PARTYFlag, 0);
    TWireWriter Described;
    Described.u8(106).u16(0).u16(0).u8(0).u16(98).u32(FIRST).u8(100).u8(2).u16(1).u8(1).u8(2).u8(3).u8(4);
    Described.u8(5).u8(6).u16(220).u8(0).u8(9);
    EXPECT_TRUE(Contains(failure(Described), "In(PARTYFlag,0,HIGHEST_SHIELD)"));
}

TEST_F(CreatureHandlerTest, ADirectionBeyondWestLeavesTheCreatureFacingAsItWas) {
    add(newCreature(0, FIRST, "rat"));
    TCreature* Rat = GetCreature(FIRST);
    ASSERT_EQ(Rat->LookDirection, 2);
    TWireWriter Turns;
    Turns.u8(106).u16(0).u16(0).u8(0).u16(99).u32(FIRST).u8(4);
    Turns.u8(106).u16(0).u16(0).u8(0).u16(98).u32(FIRST);
    Turns.u8(100).u8(200).u16(1).u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).u16(330).u8(0).u8(0);
    feed(probe(Turns));
    EXPECT_EQ(Rat->LookDirection, 2);
    EXPECT_EQ(Rat->Speed, 330) << "the rest of the description is read as laid out";
    EXPECT_EQ(GetAttackTarget(), 0u);
    TWireWriter West;
    West.u8(106).u16(0).u16(0).u8(0).u16(99).u32(FIRST).u8(3);
    feed(West);
    EXPECT_EQ(Rat->LookDirection, 3);
}
