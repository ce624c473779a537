// Tests of the creature table: record reuse, step timing and interpolation, skulls, the battle list and the
// hints of non-player characters.
#include "state/Creatures.h"

#include "tests/foundation/Thrown.h"
#include "tests/state/CreatureClock.h"

#include <climits>
#include <vector>

namespace {

using CreatureTable = TCreatureTest;

constexpr uint32_t PLAYER = 1000;
constexpr uint32_t MONSTER = 0x40000001;

void FillTable(uint32_t FirstID) {
    for (uint32_t i = 0; i < NUMBER_OF_CREATURES; i++)
        NewCreature(0, FirstID + i);
}

} // namespace

TEST_F(CreatureTable, RecordsAreFoundAndReused) {
    EXPECT_EQ(GetCreature(7), nullptr);
    TCreature* First = NewCreature(0, 7);
    EXPECT_EQ(First, &GetCreatureRecord(0));
    EXPECT_EQ(First->BattleNext, NOT_IN_BATTLELIST);
    EXPECT_EQ(GetCreature(7), First);
    First->setPKFlag(3, false);
    First->PARTYFlag = 2;
    // The server names the ID to replace: the same record, skull and party cleared.
    TCreature* Replaced = NewCreature(7, 8);
    EXPECT_EQ(Replaced, First);
    EXPECT_EQ(Replaced->PKFlag + Replaced->PARTYFlag, 0);
    EXPECT_EQ(GetCreature(7), nullptr);
    EXPECT_NE(ThrownText([] { GetCreature(0); }).find("CreatureID!=0"), std::string::npos);
    EXPECT_NE(ThrownText([] { NewCreature(0, 0); }).find("NewCreatureID!=0"), std::string::npos);
    EXPECT_TRUE(IsPlayerID(0x3fffffff));
    EXPECT_FALSE(IsPlayerID(MONSTER));
}

TEST_F(CreatureTable, AFullTableGivesUpItsLastRecordButNeverThePlayers) {
    FillTable(1);
    EXPECT_EQ(NewCreature(0, 500), &GetCreatureRecord(NUMBER_OF_CREATURES - 1));
    EXPECT_EQ(GetCreature(NUMBER_OF_CREATURES), nullptr);
    EXPECT_EQ(NewCreature(12345, 501), &GetCreatureRecord(NUMBER_OF_CREATURES - 1));

    SetPlayerID(501);
    TCreature* Taken = NewCreature(0, 502);
    EXPECT_EQ(Taken, &GetCreatureRecord(NUMBER_OF_CREATURES - 2));
    EXPECT_NE(GetCreature(501), nullptr);
}

TEST_F(CreatureTable, StepDurationsAreWholeBeats) {
    TCreature& Creature = Place(MONSTER, 100, 100);
    Creature.startStep(1, 0, 100); // 100 * 1000 / 220 = 454 ms, up to ten beats of 50
    EXPECT_EQ(Creature.StepDuration, 500);
    EXPECT_EQ(Creature.StepEndTime, Now + 500);
    EXPECT_EQ(Creature.NextStepTime, Now + 500);
    EXPECT_EQ(Creature.OffsetX, -32);
    EXPECT_EQ(Creature.getDirection(), 1);
    Creature.startStep(-1, 1, 100); // a diagonal step waits three times as long, not in beats
    EXPECT_EQ(Creature.NextStepTime, Now + 1363);
    EXPECT_EQ(Creature.LookDirection, 3);
    EXPECT_EQ(Creature.OffsetY, -32);

    Creature.Speed = 0;
    Creature.startStep(0, -1, 100);
    EXPECT_EQ(Creature.StepDuration, 1000);
    EXPECT_EQ(Creature.LookDirection, 0);
}

TEST_F(CreatureTable, ABeatOfZeroDoesNotRoundAndDoesNotFail) {
    SetBeatDuration(0);
    TCreature& Creature = Place(MONSTER, 100, 100);
    Creature.startStep(1, 0, 100);
    EXPECT_EQ(Creature.StepDuration, 454);
    SetBeatDuration(-5);
    Creature.startStep(1, 0, 100);
    EXPECT_EQ(Creature.StepDuration, 454);
}

TEST_F(CreatureTable, OffsetsShrinkWithTimeLeftAndTheStepEnds) {
    TCreature& Creature = Place(MONSTER, 100, 100);
    Creature.startStep(1, 1, 100); // 500 ms to reach the field, the next step after 1363 ms
    struct {
        int32_t At, Offset;
        uint8_t Walking;
    } const Expected[] = {{0, -32, 1}, {1, -31, 1},  {250, -16, 1}, {499, 0, 1},
                          {500, 0, 1}, {1363, 0, 1}, {1364, 0, 0}};
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
    // The slowest creature on the slowest ground: a duration times 32 pixels passes 2^31.
    TCreature& Slow = Place(MONSTER, 100, 100);
    Slow.Speed = 1;
    Slow.startStep(-1, 0, 65535);
    EXPECT_EQ(Slow.StepDuration, 65535000);
    Now += 65535000 / 2;
    MoveCreatures();
    EXPECT_EQ(Slow.OffsetX, 16);

    // A step across the point where the millisecond clock wraps.
    Now = INT32_MAX - 100;
    TCreature& Fast = Place(MONSTER + 1, 100, 100);
    Fast.startStep(0, 1, 100);
    EXPECT_FALSE(Fast.isMarked());
    Fast.setMark(5);
    Now = static_cast<int32_t>(static_cast<uint32_t>(INT32_MAX - 100) + 250);
    MoveCreatures();
    EXPECT_EQ(Fast.OffsetY, -16);
    EXPECT_TRUE(Fast.isMarked());
    EXPECT_EQ(Fast.getAnimationPhase(3), 2 + 16 / 8 % 2);
    Now = static_cast<int32_t>(static_cast<uint32_t>(INT32_MAX - 100) + 501);
    MoveCreatures();
    EXPECT_EQ(Fast.Walking, 0);
    Now = static_cast<int32_t>(static_cast<uint32_t>(INT32_MAX - 100) + 1001);
    EXPECT_FALSE(Fast.isMarked());
}

TEST_F(CreatureTable, AnimationPhasesCycleEveryEightPixels) {
    TCreature& Creature = Place(MONSTER, 100, 100);
    EXPECT_EQ(Creature.getAnimationPhase(3), 1);
    Creature.startStep(1, 0, 100);
    int32_t Phases[5];
    for (int32_t i = 0; i < 5; i++) {
        Creature.OffsetX = -32 + 8 * i;
        Phases[i] = Creature.getAnimationPhase(3);
        EXPECT_EQ(Creature.getAnimationPhase(1), 1);
    }
    EXPECT_EQ(std::vector<int32_t>(Phases, Phases + 5), (std::vector<int32_t>{2, 3, 2, 3, 2}));
    Now += 501;
    EXPECT_EQ(Creature.getAnimationPhase(3), 1);
    // A creature that has stopped stands, whatever its old step time says.
    Creature.Walking = 0;
    Now = Creature.StepEndTime - 5;
    EXPECT_EQ(Creature.getAnimationPhase(3), 1);
    EXPECT_NE(ThrownText([&] { Creature.getAnimationPhase(0); }).find("AvailablePhases>=1"),
              std::string::npos);
}

TEST_F(CreatureTable, MarksLastOneSecond) {
    TCreature& Creature = Place(MONSTER, 100, 100);
    Creature.setMark(77);
    Now += 1000;
    EXPECT_TRUE(Creature.isMarked());
    Now += 1;
    EXPECT_FALSE(Creature.isMarked());
}

TEST_F(CreatureTable, HealthColourBands) {
    TCreature& Creature = Place(MONSTER, 100, 100);
    struct {
        int32_t Health, Red, Green, Blue;
    } const Cases[] = {{100, 0, 192, 0},  {95, 0, 192, 0},   {94, 96, 192, 96}, {60, 96, 192, 96},
                       {59, 192, 192, 0}, {30, 192, 192, 0}, {29, 192, 48, 48}, {10, 192, 48, 48},
                       {9, 192, 0, 0},    {4, 192, 0, 0},    {3, 96, 0, 0},     {0, 96, 0, 0},
                       {-1, 0, 192, 0},   {101, 0, 192, 0}};
    for (const auto& Case : Cases) {
        Creature.HealthPercent = Case.Health;
        TRGBColor Color;
        Creature.getHealthColor(Color);
        EXPECT_EQ(Color.Red, Case.Red) << Case.Health;
        EXPECT_EQ(Color.Green, Case.Green) << Case.Health;
        EXPECT_EQ(Color.Blue, Case.Blue) << Case.Health;
    }
}

TEST_F(CreatureTable, DelayedSkullRemovalTakesAboutFiveSeconds) {
    TCreature& Creature = Place(MONSTER, 100, 100);
    Creature.setPKFlag(2, true);
    EXPECT_EQ(Creature.PKFlag, 2);
    Creature.setPKFlag(0, true);
    EXPECT_EQ(Creature.PKFlag, 2);
    EXPECT_EQ(Creature.PKFlagRemovalTime, static_cast<int32_t>(Seconds));
    Seconds += 3;
    UpdatePKFlags();
    EXPECT_EQ(Creature.PKFlag, 2);
    Seconds += 1;
    UpdatePKFlags();
    EXPECT_EQ(Creature.PKFlag, 2);
    Seconds += 1;
    UpdatePKFlags();
    EXPECT_EQ(Creature.PKFlag, 0);
    EXPECT_EQ(Creature.PKFlagRemovalTime, 0);

    // A clock set back drops it at once; an undelayed change takes effect at once.
    Creature.setPKFlag(1, true);
    Creature.setPKFlag(0, true);
    Seconds -= 1;
    UpdatePKFlags();
    EXPECT_EQ(Creature.PKFlag, 0);
    Creature.setPKFlag(4, false);
    Creature.setPKFlag(0, false);
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
    }
    TCreature& Player = Place(PLAYER, 100, 100);
    Player.setPKFlag(1, false);
    EXPECT_TRUE(PlayerHasPKFlag());
    for (int32_t Flag = 0; Flag <= 5; Flag++) {
        Player.PARTYFlag = Flag;
        EXPECT_EQ(IsPlayerInParty(), Flag == 1 || Flag == 3 || Flag == 4) << Flag;
    }
    EXPECT_NE(ThrownText([] { IsBattleListMember(nullptr); }).find("Creature!=NULL"), std::string::npos);
}

TEST_F(CreatureTable, BattleListMembership) {
    SetPlayerID(PLAYER);
    Place(PLAYER, 100, 100);
    TCreature& Creature = Place(MONSTER, 107, 95);
    EXPECT_TRUE(IsBattleListMember(&Creature));
    struct {
        const char* Why;
        void (*Change)(TCreature&);
    } const Excluded[] = {
        {"8 east", [](TCreature& C) { C.X = 108; }},
        {"6 north", [](TCreature& C) { C.Y = 94; }},
        {"another floor", [](TCreature& C) { C.Z = 6; }},
        {"hidden", [](TCreature& C) { C.Visible = 0; }},
        {"dead", [](TCreature& C) { C.HealthPercent = 0; }},
        {"invisible", [](TCreature& C) { C.OutfitType = C.OutfitHead = 0; }},
    };
    for (const auto& Case : Excluded) {
        TCreature Copy = Creature;
        Case.Change(Copy);
        EXPECT_FALSE(IsBattleListMember(&Copy)) << Case.Why;
    }
    TCreature Item = Creature;
    Item.OutfitType = 0;
    Item.OutfitHead = 2000; // shown as an item: still listed
    EXPECT_TRUE(IsBattleListMember(&Item));
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
    EXPECT_EQ(Listed(), (std::vector<uint32_t>{0, 1, 2}));
    B.X = 150;
    EXPECT_EQ(UpdateBattleList(), 2);
    EXPECT_EQ(Listed(), (std::vector<uint32_t>{0, 2}));
    B.X = 100;
    A.Visible = 0;
    EXPECT_EQ(UpdateBattleList(), 2);
    EXPECT_EQ(Listed(), (std::vector<uint32_t>{2, 1}));
    C.HealthPercent = 0;
    B.HealthPercent = 0;
    EXPECT_EQ(UpdateBattleList(), 0);
    EXPECT_EQ(GetBattleListCreature(0), nullptr);
    EXPECT_NE(ThrownText([] { GetBattleListCreature(-1); }).find("Number>=0"), std::string::npos);

    // A reused record keeps its place until the next update decides on the newcomer.
    B.HealthPercent = 100;
    UpdateBattleList();
    TCreature* Reused = NewCreature(MONSTER + 1, MONSTER + 7);
    EXPECT_EQ(GetBattleListCreature(0), Reused);
    Reused->X = 200;
    EXPECT_EQ(UpdateBattleList(), 0);
}

TEST_F(CreatureTable, NearbyCharactersQueueTheirHintsOnce) {
    SetPlayerID(PLAYER);
    TCreature& Player = Place(PLAYER, 100, 100);
    TCreature& Tam = Place(MONSTER, 110, 100, 7, "Tam");
    Place(MONSTER + 1, 101, 101, 7, "Tamara");
    Tam.setPosition(102, 102, 7);
    EXPECT_EQ(PopEventHelp(), 5);
    Tam.setPosition(102, 101, 7);
    EXPECT_EQ(GetEventHelpCount(), 0);

    // The player walking up to a character checks everyone near.
    Place(MONSTER + 2, 97, 100, 7, "Hesketh");
    Player.setPosition(99, 100, 7);
    EXPECT_EQ(PopEventHelp(), 4);
    EXPECT_EQ(GetEventHelpCount(), 0);

    // Nothing for hidden ones or players of the same name.
    TCreature& Mirabald = Place(MONSTER + 3, 100, 101, 7, "Mirabald");
    Mirabald.Visible = 0;
    Player.setPosition(100, 100, 7);
    TCreature& Namesake = Place(77, 101, 101, 7, "Mirabald");
    Namesake.setPosition(100, 101, 7);
    EXPECT_EQ(GetEventHelpCount(), 0);
}

TEST_F(CreatureTable, SkullsQueueTheirHint) {
    CheckPKFlagHint(0);
    EXPECT_EQ(PeekEventHelp(), 0);
    CheckPKFlagHint(3);
    CheckPKFlagHint(1);
    EXPECT_EQ(PopEventHelp(), 13);
    EXPECT_EQ(PopEventHelp(), 0);
}

TEST_F(CreatureTable, HidingAndTheMapCallback) {
    TCreature& Creature = Place(MONSTER, 100, 100);
    HideCreatureCallback(static_cast<int32_t>(MONSTER));
    EXPECT_EQ(Creature.Visible, 0);
    EXPECT_EQ(HideCreature(0), nullptr);
    Creature.Visible = 1;
    HideAllCreatures();
    EXPECT_EQ(Creature.Visible, 0);
}
