// Tests of the walk senders: the single-step commands of the eight directions, the path message, and the
// chase and follow that every walk or stop ends first.
#include "SenderFixture.h"

#include "network/CommunicationSend.h"
#include "state/MapAutomap.h"
#include "state/Preferences.h"

namespace {

using WalkSenders = SenderTest;

// A boulder on a box field of the player's floor, known to the path finder.
void Block(int32_t rx, int32_t ry) {
    AppendMapObject(rx, ry, GetViewLayer(), {BOULDER, 0, 0});
    UpdateAutomapField(rx, ry);
}

} // namespace

TEST_F(WalkSenders, OneStepGoesOutAsTheCommandOfItsDirection) {
    struct {
        int32_t dx, dy, Code, Command;
    } Steps[] = {{1, 0, 1, 102},  {1, -1, 2, 106}, {0, -1, 3, 101}, {-1, -1, 4, 109},
                 {-1, 0, 5, 104}, {-1, 1, 6, 108}, {0, 1, 7, 103},  {1, 1, 8, 107}};
    for (const auto& Step : Steps) {
        SCOPED_TRACE(Step.Code);
        StopPlayerWalk();
        ASSERT_EQ(GoToField(VX + Step.dx, VY + Step.dy, VZ, false, true), 1);
        ASSERT_EQ(GetNumberOfPlayerSteps(), 1);
        ASSERT_EQ(GetPlayerStep(0), Step.Code);
        SendWalkPath();
        EXPECT_EQ(Sent(), TWire(Step.Command).Bytes);
    }
}

TEST_F(WalkSenders, APathGoesOutWithItsCountAndCodesInOrder) {
    // The queued codes, as the path message must carry them.
    auto Queued = [] {
        std::vector<uint8_t> Codes = TWire(100).u8(GetNumberOfPlayerSteps());
        for (int32_t i = 0; i < GetNumberOfPlayerSteps(); i++)
            Codes.push_back(static_cast<uint8_t>(GetPlayerStep(i)));
        return Codes;
    };
    // A diagonal step costs more than two straight ones; a boulder north of the player: east, then north.
    Block(8, 5);
    ASSERT_EQ(GoToField(VX + 1, VY - 1, VZ, false, false), 1);
    ASSERT_EQ(Queued(), TWire(100).u8(2).u8(1).u8(3).Bytes);
    SendWalkPath();
    EXPECT_EQ(Sent(), TWire(100).u8(2).u8(1).u8(3).Bytes);

    // A wall east of the player: the way around fills the whole queue.
    StopPlayerWalk();
    for (int32_t ry = 1; ry <= 11; ry++)
        Block(9, ry);
    ASSERT_GE(GoToField(VX + 2, VY, VZ, false, false), 1);
    ASSERT_EQ(GetNumberOfPlayerSteps(), PLAYER_STEPS);
    std::vector<uint8_t> Expected = Queued();
    SendWalkPath();
    EXPECT_EQ(Sent(), Expected);
}

TEST_F(WalkSenders, AWalkWhileFollowingStopsFollowingFirst) {
    SetFollowTarget(0x40000009);
    QueueSteps(2);
    SendWalkPath();
    EXPECT_EQ(Sent(), TWire(162).u32(0).Bytes);
    EXPECT_EQ(Sent(), TWire(100).u8(2).u8(1).u8(1).Bytes);
    EXPECT_EQ(GetFollowTarget(), 0u);
    EXPECT_EQ(GetNumberOfPlayerSteps(), 2) << "stopping to follow keeps the path";
}

TEST_F(WalkSenders, AWalkWhileChasingUnderAutoChaseOffEndsTheChase) {
    SetAttackMode(3);
    SetSecureMode(false);
    SetAttackTarget(0x40000009);
    SetChaseMode(1);
    SetAutoChaseOff(false);
    QueueSteps(1);
    SendWalkPath();
    EXPECT_EQ(Sent(), TWire(102).Bytes) << "nothing before the walk";
    EXPECT_EQ(GetChaseMode(), 1);

    SetAutoChaseOff(true);
    QueueSteps(1);
    SendWalkPath();
    EXPECT_EQ(Sent(), TWire(160).u8(3).u8(0).u8(0).Bytes);
    EXPECT_EQ(Sent(), TWire(102).Bytes);
    EXPECT_EQ(GetChaseMode(), 0);
    EXPECT_EQ(GetAttackTarget(), 0x40000009u) << "the attack goes on";
}

TEST_F(WalkSenders, TheStopRunsTheSamePreparation) {
    SetFollowTarget(0x4000000A);
    SendStopWalk();
    EXPECT_EQ(Sent(), TWire(162).u32(0).Bytes);
    EXPECT_EQ(Sent(), TWire(105).Bytes);
    EXPECT_TRUE(NothingSent());
}
