// Tests of the creature table: record reuse, step timing and interpolation, skulls, the battle list and the
// hints of non-player characters.
#include "state/Creatures.h"

#include "tests/state/StateTest.h"

#include <climits>
#include <vector>

namespace {

using CreatureTable = TCreatureTest;

constexpr uint32_t PLAYER = 1000;
constexpr uint32_t MONSTER = 0x40000001;

int32_t Wrapped(int64_t Milliseconds) { return static_cast<int32_t>(static_cast<uint32_t>(Milliseconds)); }

} // namespace

TEST_F(CreatureTable, ReuseClearsSkullAndPartyAndAFullTableSparesThePlayer) {
    TCreature* First = NewCreature(0, 7);
    First->setPKFlag(3, false);
    First->PARTYFlag = 2;
    TCreature* Replaced = NewCreature(7, 8);
    EXPECT_EQ(Replaced, First);
    EXPECT_EQ(Replaced->PKFlag + Replaced->PARTYFlag, 0);
    EXPECT_EQ(GetCreature(7), nullptr);
    EXPECT_TRUE(FailsWith([] { NewCreature(0, 0); }, "NewCreatureID!=0"));

    for (uint32_t ID = 9; ID < 9 + NUMBER_OF_CREATURES - 1; ID++)
        NewCreature(0, ID);
    EXPECT_EQ(NewCreature(0, 500), &GetCreatureRecord(NUMBER_OF_CREATURES - 1));
    EXPECT_EQ(NewCreature(12345, 501), &GetCreatureRecord(NUMBER_OF_CREATURES - 1));
    SetPlayerID(501);
    EXPECT_EQ(NewCreature(0, 502), &GetCreatureRecord(NUMBER_OF_CREATURES - 2));
    EXPECT_NE(GetCreature(501), nullptr);
}

TEST_F(CreatureTable, StepDurationsAreWholeBeats) {
    TCreature& Creature = Place(MONSTER, 100, 100);
    Creature.startStep(1, 0, 100); // 100 * 1000 / 220 = 454 ms, up to ten beats of 50
    EXPECT_EQ(Creature.StepDuration, 500);
    EXPECT_EQ(Creature.NextStepTime, Now + 500);
    Creature.startStep(-1, 1, 100); // a diagonal step waits three times as long, not in beats
    EXPECT_EQ(Creature.NextStepTime, Now + 1363);
    EXPECT_EQ(Creature.getDirection(), 3);
    SetBeatDuration(0); // before the login message: no rounding, no division
    Creature.startStep(1, 0, 100);
    EXPECT_EQ(Creature.StepDuration, 454);
    Creature.Speed = 0;
    Creature.startStep(0, -1, 100);
    EXPECT_EQ(Creature.StepDuration, 1000);
}

TEST_F(CreatureTable, OffsetsShrinkWithTimeLeftAndTheStepEnds) {
    TCreature& Creature = Place(MONSTER, 100, 100);
    Creature.startStep(1, 1, 100); // 500 ms to reach the field, the next step after 1363 ms
    struct {
        int32_t At, Offset;
        uint8_t Walking;
    } const Expected[] = {{0, -32, 1}, {1, -31, 1}, {250, -16, 1}, {499, 0, 1}, {1363, 0, 1}, {1364, 0, 0}};
    int32_t Start = Now;
    for (const auto& Step : Expected) {
        Now = Start + Step.At;
        EXPECT_FALSE(MoveCreatures());
        EXPECT_EQ(Creature.OffsetX, Step.Offset) << Step.At;
        EXPECT_EQ(Creature.OffsetY, Step.Offset) << Step.At;
        EXPECT_EQ(Creature.Walking, Step.Walking) << Step.At;
    }
}

TEST_F(CreatureTable, LongStepsAndAWrappingClockKeepTheirArithmetic) {
    // The slowest creature on the slowest ground: duration times 32 pixels passes 2^31.
    TCreature& Slow = Place(MONSTER, 100, 100);
    Slow.Speed = 1;
    Slow.startStep(-1, 0, 65535);
    Now += 65535000 / 2;
    MoveCreatures();
    EXPECT_EQ(Slow.OffsetX, 16);

    int64_t Start = INT32_MAX - 100; // a step and a mark across the clock's wrap
    Now = Wrapped(Start);
    TCreature& Fast = Place(MONSTER + 1, 100, 100);
    EXPECT_FALSE(Fast.isMarked());
    Fast.startStep(0, 1, 100);
    Fast.setMark(5);
    Now = Wrapped(Start + 250);
    MoveCreatures();
    EXPECT_EQ(Fast.OffsetY, -16);
    EXPECT_TRUE(Fast.isMarked());
    Now = Wrapped(Start + 501);
    MoveCreatures();
    EXPECT_EQ(Fast.Walking, 0);
    Now = Wrapped(Start + 1001);
    EXPECT_FALSE(Fast.isMarked());
}

TEST_F(CreatureTable, AnimationPhasesCycleEveryEightPixels) {
    TCreature& Creature = Place(MONSTER, 100, 100);
    Creature.startStep(1, 0, 100);
    std::vector<int32_t> Phases;
    for (int32_t Offset = -32; Offset <= 0; Offset += 8) {
        Creature.OffsetX = Offset;
        Phases.push_back(Creature.getAnimationPhase(3));
        EXPECT_EQ(Creature.getAnimationPhase(1), 1);
    }
    EXPECT_EQ(Phases, (std::vector<int32_t>{2, 3, 2, 3, 2}));
    Now += 501;
    EXPECT_EQ(Creature.getAnimationPhase(3), 1);
    // A creature that has stopped stands, whatever its old step time says.
    Creature.Walking = 0;
    Now = Creature.StepEndTime - 5;
    EXPECT_EQ(Creature.getAnimationPhase(3), 1);
}

TEST_F(CreatureTable, DelayedSkullRemovalTakesAboutFiveSeconds) {
    TCreature& Creature = Place(MONSTER, 100, 100);
    Creature.setPKFlag(2, true);
    Creature.setPKFlag(0, true);
    for (int32_t Passed : {0, 3, 4}) {
        Seconds = 1700000000 + Passed;
        UpdatePKFlags();
        EXPECT_EQ(Creature.PKFlag, 2) << Passed;
    }
    Seconds = 1700000005;
    UpdatePKFlags();
    EXPECT_EQ(Creature.PKFlag, 0);
    // A clock set back drops it at once.
    Creature.setPKFlag(1, false);
    Creature.setPKFlag(0, true);
    Seconds -= 1;
    UpdatePKFlags();
    EXPECT_EQ(Creature.PKFlag, 0);
}

TEST_F(CreatureTable, PlayerQueriesAnswerNothingWhileThePlayerIsUnknown) {
    TCreature& Other = Place(MONSTER, 100, 100);
    for (uint32_t ID : {0u, PLAYER}) {
        SetPlayerID(ID);
        EXPECT_FALSE(PlayerHasPKFlag());
        EXPECT_EQ(GetPlayerPartyFlag(), 0);
        EXPECT_FALSE(IsPlayerInParty());
        EXPECT_FALSE(IsBattleListMember(&Other));
        EXPECT_EQ(UpdateBattleList(), 0);
        Other.setPosition(Other.X + 1, 100, 7);
    }
}

TEST_F(CreatureTable, BattleListMembership) {
    SetPlayerID(PLAYER);
    Place(PLAYER, 100, 100);
    TCreature& Creature = Place(MONSTER, 107, 95);
    EXPECT_TRUE(IsBattleListMember(&Creature));
    void (*const Excluded[])(TCreature&) = {
        [](TCreature& C) { C.X = 108; },
        [](TCreature& C) { C.Y = 94; },
        [](TCreature& C) { C.Z = 6; },
        [](TCreature& C) { C.Visible = 0; },
        [](TCreature& C) { C.HealthPercent = 0; },
        [](TCreature& C) { C.OutfitType = C.OutfitHead = 0; },
    };
    for (auto Change : Excluded) {
        TCreature Copy = Creature;
        Change(Copy);
        EXPECT_FALSE(IsBattleListMember(&Copy));
    }
    EXPECT_FALSE(IsBattleListMember(GetCreature(PLAYER)));
}

TEST_F(CreatureTable, BattleListKeepsTheOrderOfArrival) {
    SetPlayerID(PLAYER);
    Place(PLAYER, 100, 100);
    TCreature& A = Place(MONSTER, 101, 100);
    TCreature& B = Place(MONSTER + 1, 102, 100);
    TCreature& C = Place(MONSTER + 2, 103, 100);
    auto Listed = [] {
        std::vector<uint32_t> IDs;
        for (int32_t i = 0; TCreature* Creature = GetBattleListCreature(i); i++)
            IDs.push_back(Creature->CreatureID - MONSTER);
        return IDs;
    };
    EXPECT_EQ(UpdateBattleList(), 3);
    B.X = 150;
    EXPECT_EQ(UpdateBattleList(), 2);
    EXPECT_EQ(Listed(), (std::vector<uint32_t>{0, 2}));
    B.X = 100;
    A.Visible = 0;
    EXPECT_EQ(UpdateBattleList(), 2);
    EXPECT_EQ(Listed(), (std::vector<uint32_t>{2, 1}));
    C.HealthPercent = 0;
    UpdateBattleList();
    // A reused record keeps its place until the next update decides on the newcomer.
    TCreature* Reused = NewCreature(MONSTER + 1, MONSTER + 7);
    EXPECT_EQ(GetBattleListCreature(0), Reused);
    Reused->X = 200;
    EXPECT_EQ(UpdateBattleList(), 0);
    EXPECT_EQ(GetBattleListCreature(0), nullptr);
}

TEST_F(CreatureTable, NearbyCharactersQueueTheirHintsOnce) {
    SetPlayerID(PLAYER);
    TCreature& Player = Place(PLAYER, 100, 100);
    TCreature& Tam = Place(MONSTER, 110, 100, 7, "Tam");
    Place(MONSTER + 1, 101, 101, 7, "Tamara");
    Tam.setPosition(102, 102, 7);
    EXPECT_EQ(PopEventHelp(), 5);
    // The player walking up to a character checks everyone near.
    Place(MONSTER + 2, 97, 100, 7, "Hesketh");
    Place(MONSTER + 3, 101, 100, 7, "Mirabald").Visible = 0;
    Player.setPosition(99, 100, 7);
    EXPECT_EQ(PopEventHelp(), 4);
    EXPECT_EQ(PopEventHelp(), 0);
    Place(77, 102, 100, 7, "Mirabald").setPosition(100, 101, 7); // a player of that name
    EXPECT_EQ(PopEventHelp(), 0);
}
