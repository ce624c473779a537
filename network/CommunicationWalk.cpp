// The walk, stop and logout senders, and the preparation that every walk or stop runs first.
#include "foundation/Exception.h"
#include "network/CommunicationSend.h"
#include "state/CreaturesPlayer.h"
#include "state/Preferences.h"

namespace {

constexpr int32_t DIRECTIONS = 8;
constexpr int32_t COMMAND_WALK_PATH = 100;

// The single-step command of each step code: 1 east, 2 north-east, 3 north, 4 north-west, 5 west,
// 6 south-west, 7 south, 8 south-east.
constexpr int32_t StepCommands[DIRECTIONS] = {102, 106, 101, 109, 104, 108, 103, 107};

int32_t StepCommand(int32_t Direction) {
    CHECK(In(Direction, 1, DIRECTIONS), Direction);
    return StepCommands[Direction - 1];
}

} // namespace

void PrepareWalk() try {
    if (GetAutoChaseOff() && GetAttackTarget() != 0 && GetChaseMode() != 0) {
        SetChaseMode(0);
        SendFightModes();
    }
    // Following and attacking exclude each other, so the attack target is left as it is.
    if (GetFollowTarget() != 0) {
        SetFollowTarget(0);
        SendFollow(0);
    }
}
CATCH_FRAME()

void SendWalkPath() try {
    PrepareWalk();
    int32_t Steps = GetNumberOfPlayerSteps();
    CHECK(Steps > 0, Steps);
    if (Steps == 1) {
        BeginPacket(StepCommand(GetPlayerStep(0)));
    } else {
        // The queue holds at most PLAYER_STEPS codes, so the count fits its byte.
        BeginPacket(COMMAND_WALK_PATH);
        PutByte(static_cast<uint8_t>(Steps));
        for (int32_t Step = 0; Step < Steps; Step++)
            PutByte(static_cast<uint8_t>(GetPlayerStep(Step)));
    }
    SendPacket(true);
}
CATCH_FRAME()

void SendStopWalk() try {
    PrepareWalk();
    BeginPacket(105);
    SendPacket(true);
}
CATCH_FRAME()

void SendLogout() try {
    BeginPacket(20);
    SendPacket(true);
}
CATCH_FRAME()
