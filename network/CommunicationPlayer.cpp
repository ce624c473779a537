// The game server's session messages (entering the game, rights, ping) and the player's own values.
#include "network/CommunicationHandlers.h"

#include "foundation/Exception.h"
#include "network/CommunicationSend.h"
#include "network/Network.h"
#include "state/CreaturesPlayer.h"
#include "state/Status.h"

#include <algorithm>

namespace {

constexpr int32_t RULE_VIOLATION_RIGHTS = 32; // rights 0..31 come with message 11

} // namespace

void ReceiveEnterGame() try {
    uint32_t PlayerID = GetQuad();
    int32_t Beat = GetWord();
    int32_t BugReports = GetByte();
    ClearRights();
    SetPlayerID(PlayerID);
    SetBeatDuration(Beat);
    SetRight(RIGHT_BUGREPORT, static_cast<uint32_t>(BugReports));
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME()

void ReceiveRights() {
    int32_t i = 0, value = 0;
    try {
        for (i = 0; i < RULE_VIOLATION_RIGHTS; i++) {
            value = GetByte();
            SetRight(i, static_cast<uint32_t>(value));
        }
    }
    CATCH_FRAME(i, value)
}

void ReceivePing() try { SendPingAnswer(); }
CATCH_FRAME()

void ReceivePlayerData() try {
    int32_t Hitpoints = GetWord();
    int32_t MaxHitpoints = GetWord();
    int32_t Capacity = GetWord();
    // Kept as a signed number: experience beyond its range shows as the largest one.
    int32_t Experience = static_cast<int32_t>(std::min<uint32_t>(GetQuad(), INT32_MAX));
    int32_t Level = GetWord();
    int32_t LevelProgress = GetByte();
    int32_t Mana = GetWord();
    int32_t MaxMana = GetWord();
    int32_t MagicLevel = GetByte();
    int32_t MagicLevelProgress = GetByte();
    int32_t SoulPoints = GetByte();
    SetHitpoints(Hitpoints, MaxHitpoints);
    SetCapacity(Capacity);
    SetMana(Mana, MaxMana);
    SetSoulPoints(SoulPoints);
    SetExperience(Experience, Level, LevelProgress);
    SetMagicLevel(MagicLevel, MagicLevelProgress);
}
CATCH_FRAME()

void ReceivePlayerSkills() try {
    for (int32_t Skill = 0; Skill < SKILLS; Skill++) {
        int32_t Level = GetByte();
        int32_t Progress = GetByte();
        SetSkill(Skill, Level, Progress);
    }
}
CATCH_FRAME()

void ReceivePlayerState() try { SetPlayerState(GetByte()); }
CATCH_FRAME()

void ReceiveClearTarget() try { SetAttackTarget(0); }
CATCH_FRAME()
