// Tests of the player's values and walking: hints of progress, the step queue, the predicted step,
// auto-walk and the server's refusals.
#include "state/CreaturesPlayer.h"

#include "state/Map.h"
#include "tests/state/StateTest.h"
#include "tests/state/WorldTest.h"

#include <string>
#include <vector>

namespace {

using PlayerValues = TCreatureTest;

constexpr uint32_t PLAYER = 1000;
constexpr int32_t VX = 32000, VY = 32000, VZ = 7; // the view position: the player's field

// A world of ground around the player, who stands at the view position with full health.
class PlayerWalk : public TCreatureTest {
protected:
    void SetUp() override {
        TCreatureTest::SetUp();
        LoadWorldTypes();
        InitMap(HideCreatureCallback);
        ResetTalkboxes();
        SetViewPosition(VX, VY, VZ);
        for (int32_t rx = 0; rx < MAPSIZE_X; rx++)
            for (int32_t ry = 0; ry < MAPSIZE_Y; ry++)
                AppendMapObject(rx, ry, GetViewLayer(), {GROUND, 0, 0});
        SetPlayerID(PLAYER);
        SetHitpoints(150, 150);
        Player = &Place(PLAYER, VX, VY, VZ, "Hero");
    }

    // Puts an object on the field dx, dy from the player.
    static void Put(int32_t dx, int32_t dy, int32_t Type) {
        AppendMapObject(8 + dx, 6 + dy, GetViewLayer(), {Type, 0, 0});
    }

    static std::vector<int32_t> Steps() {
        std::vector<int32_t> Codes;
        for (int32_t i = 0; i < GetNumberOfPlayerSteps(); i++)
            Codes.push_back(GetPlayerStep(i));
        return Codes;
    }

    // The server confirms a step: its move of the player's creature, the box scrolled along.
    void ServerMoves(int32_t dx, int32_t dy) {
        Player->startStep(dx, dy, 150);
        ScrollMap(-dx, -dy);
        Player->X += dx;
        Player->Y += dy;
    }

    TWorkingDirectory Scratch;
    TCreature* Player = nullptr;
};

} // namespace

TEST_F(PlayerWalk, AClickPlansThePathAndShowsTheFirstStepAtOnce) {
    EXPECT_EQ(GoToField(VX + 3, VY, VZ, false, false), 1);
    EXPECT_EQ(Steps(), (std::vector<int32_t>{1, 1, 1}));
    int32_t X, Y, Z;
    GetPlayerPosition(X, Y, Z);
    EXPECT_EQ(X, VX + 1);
    EXPECT_EQ(Player->OffsetX, -32);
    EXPECT_EQ(Player->getOffsetX(), 0); // drawn from its own field, moving east
    EXPECT_EQ(Player->getDirection(), 1);

    // The server walks the predicted step: nothing new is shown.
    ServerMoves(1, 0);
    EXPECT_FALSE(HasPredictedStep());
    EXPECT_EQ(Player->OffsetX, -32);
    // The end of the step predicts the next one.
    Now += 701; // 150 * 1000 / 220 = 681 ms, taken up to 700
    EXPECT_FALSE(MoveCreatures());
    EXPECT_TRUE(HasPredictedStep());
    EXPECT_EQ(Player->Walking, 1);
}

TEST_F(PlayerWalk, UnpredictedServerStepsCountAndTheUsedUpQueueReplans) {
    Put(1, 0, CRATE);
    Put(1, 0, CRATE); // two HEIGHT objects more than the player's field: not predicted
    EXPECT_EQ(GoToField(VX + 2, VY, VZ, false, false), 1);
    ASSERT_EQ(Steps().size(), 2u);
    EXPECT_FALSE(HasPredictedStep());
    EXPECT_EQ(Player->Walking, 0);

    ServerMoves(1, 0); // counted as the first queued step
    Now += 1000;
    MoveCreatures(); // predicts the second
    EXPECT_TRUE(HasPredictedStep());
    ServerMoves(1, 0);
    Now += 1000;
    EXPECT_FALSE(MoveCreatures()); // the queue is used up and the destination reached
    EXPECT_EQ(GetNumberOfPlayerSteps(), 0);

    // One HEIGHT object more is a step up the player can take.
    Put(1, 0, CRATE);
    EXPECT_EQ(GoToField(VX + 4, VY + 0, VZ, false, false), 1);
    EXPECT_TRUE(HasPredictedStep());
}

TEST_F(PlayerWalk, APendingPredictionMovesThePlayersField) {
    ASSERT_EQ(GoToField(VX + 3, VY, VZ, false, false), 1);
    EXPECT_EQ(GoToField(VX + 1, VY, VZ, false, false), 0); // where the player is shown already
    EXPECT_EQ(GoToField(VX, VY, VZ, false, false), 2);     // back: stop the walk first
    EXPECT_EQ(GoToField(VX - 1, VY, VZ, false, false), 0); // waits for the stop
    // The server stops the walk: the new destination is planned from the view position.
    EXPECT_TRUE(RefusePlayerStep(2));
    EXPECT_EQ(Steps(), (std::vector<int32_t>{5}));
    EXPECT_EQ(Player->LookDirection, 3);
}

TEST_F(PlayerWalk, BlockedFieldsInsideTheViewAreRefusedAtOnceOthersGoToThePathFinder) {
    Put(2, 0, BOULDER);
    EXPECT_EQ(GoToField(VX + 2, VY, VZ, false, false), 0);
    EXPECT_EQ(StatusText(), "Sorry, not possible.");
    EXPECT_EQ(GetNumberOfPlayerSteps(), 0);
    // No destination stays behind: the same field asks again.
    EXPECT_EQ(GoToField(VX + 2, VY, VZ, false, false), 0);
    SetStatusMessage(nullptr);

    // Outside the inner 15 x 11 fields the path finder decides.
    Put(8, 0, BOULDER);
    EXPECT_EQ(GoToField(VX + 8, VY, VZ, false, false), 1);
    EXPECT_EQ(StatusText(), "");
    StopPlayerWalk();
    // Its failures are status messages; the destination is dropped.
    EXPECT_EQ(GoToField(VX, VY, VZ - 1, false, false), 0);
    EXPECT_EQ(StatusText(), "First go upstairs.");
    EXPECT_EQ(WalkToDestination(), 0);
}

TEST_F(PlayerWalk, SixteenFurtherRefusalsAtOnePositionGiveUp) {
    SetAttackTarget(0x40000005);
    ASSERT_EQ(GoToField(VX + 3, VY, VZ, false, false), 1);
    EXPECT_FALSE(CountRefusedStep()); // the first refusal at a new position starts the count
    for (int32_t i = 1; i < 16; i++)
        EXPECT_FALSE(CountRefusedStep()) << i;
    EXPECT_TRUE(CountRefusedStep());
    EXPECT_EQ(GetNumberOfPlayerSteps(), 0);
    EXPECT_EQ(GetAttackTarget(), 0u);
    EXPECT_FALSE(CountRefusedStep());
}

TEST_F(PlayerWalk, NoPredictionDuringAStepWhileDeadIntoWallsOrWithoutAPlayer) {
    ASSERT_EQ(GoToField(VX + 3, VY, VZ, false, false), 1);
    ServerMoves(1, 0);
    ServerMoves(1, 0); // an unpredicted step under way: it ends first
    EXPECT_FALSE(RefusePlayerStep(0));
    EXPECT_EQ(Player->Walking, 1);
    StopPlayerWalk();
    EXPECT_EQ(Player->Walking + Player->OffsetX, 0);

    SetHitpoints(0, 150);
    EXPECT_EQ(GoToField(VX + 5, VY, VZ, false, false), 1);
    EXPECT_FALSE(HasPredictedStep());
    StopPlayerWalk();
    EXPECT_TRUE(FailsWith([] { PredictPlayerStep(); }, "CurrentPlayerStep<NumberOfPlayerSteps"));
    SetPlayerID(PLAYER + 1);
    EXPECT_FALSE(RefusePlayerStep(1));
    EXPECT_EQ(GoToField(VX + 5, VY, VZ, false, false), 1);
    EXPECT_FALSE(HasPredictedStep());
}

TEST_F(PlayerValues, ExperienceAndSkillsQueueTheirHints) {
    SetExperience(0, 0, 0);
    SetExperience(0, 1, 0); // no level was known: no hints
    EXPECT_EQ(GetEventHelpCount(), 0);
    SetExperience(150, 2, 0);
    SetExperience(100000, 25, -1);
    SetExperience(0, 1, 0);
    SetExperience(5, 8, 0); // each hint once per installation
    SetSkill(2, 10, 0);
    SetSkill(2, 11, 100);
    std::vector<int32_t> Hints;
    while (int32_t Hint = PopEventHelp())
        Hints.push_back(Hint);
    EXPECT_EQ(Hints, (std::vector<int32_t>{7, 8, 10, 14, 9}));
    std::string Failure = ThrownText([] { SetExperience(1, 1, 101); });
    EXPECT_EQ(Failure.rfind("CreaturesPlayer.cpp ", 0), 0u) << Failure; // the file that holds the check
    EXPECT_NE(Failure.find("In(Progress,-1,100) [bug0000038]"), std::string::npos);
}
