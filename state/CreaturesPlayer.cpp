// The player's own values and walking: the step queue, the predicted step and auto-walk by the path finder.
#include "state/CreaturesPlayer.h"

#include "foundation/Exception.h"
#include "state/Creatures.h"
#include "state/CreaturesBuddies.h"
#include "state/EventHints.h"
#include "state/Map.h"
#include "state/MapPath.h"
#include "state/Talk.h"

#include <cstring>

namespace {

// Values cleared by ResetCreatures at program start and at each game entry, except where marked.
struct TPlayerData {
    uint32_t CreatureID = 0;
    int32_t Hitpoints = 0, MaxHitpoints = 0;
    int32_t Mana = 0, MaxMana = 0;
    int32_t SoulPoints = 0; // kept by ResetCreatures
    int32_t Capacity = 0;
    int32_t Experience = 0, Level = 0, LevelPercent = 0;
    int32_t MagicLevel = 0, MagicLevelPercent = 0;
    int32_t SkillLevel[SKILLS] = {};
    int32_t SkillPercent[SKILLS] = {};
    int32_t StateFlags = 0;
    uint32_t AttackTarget = 0, FollowTarget = 0;
    uint32_t AimedCreature = 0; // kept by ResetCreatures
    int32_t Beat = 0;           // kept by ResetCreatures
};

struct TPlayerSteps {
    int32_t Steps[PLAYER_STEPS] = {};
    int32_t NumberOfPlayerSteps = 0;
    int32_t CurrentPlayerStep = 0; // the next step to predict or to expect from the server
    int32_t DestinationX = 0, DestinationY = 0, DestinationZ = 0; // X 0: no destination
    uint8_t MustReach = 0, ForceDiagonal = 0;
    uint8_t Reroute = 0; // a new destination waits until the server has stopped the current path
    int32_t PredictedDX = 0, PredictedDY = 0;
    int32_t PredictedDirection = 0;
    // Refusals of the server in a row at one position.
    int32_t RefusedStepCount = 0;
    int32_t LastRefusedX = 0, LastRefusedY = 0, LastRefusedZ = 0;
};

TPlayerData Player;
TPlayerSteps Walk;

const char* const SkillNames[SKILLS] = {
    "Fist Fighting",     "Club Fighting", "Sword Fighting", "Axe Fighting",
    "Distance Fighting", "Shielding",     "Fishing",
};

void CheckSkillNumber(int32_t SkillNumber) {
    CHECK_TEXT(In(SkillNumber, 0, SKILLS - 1), "In(SkillNumber,0,SKILLS-1)", SkillNumber);
}

bool StateBit(int32_t Bit) { return (Player.StateFlags >> Bit & 1) != 0; }

// The field (8 + dx, 6 + dy) of the view layer can be entered from the player's field; its ground speed.
bool CanPredictStep(int32_t dx, int32_t dy, int32_t& GroundSpeed) {
    int32_t Layer = GetViewLayer();
    TObject Ground;
    GetFirstObject(Ground, 8 + dx, 6 + dy, Layer);
    if (Ground.Type == 0 || !GetObjectFlag(Ground, BANK)) return false;
    // A ground without a speed gives a step the server's move could not tell from the prediction.
    GroundSpeed = GetObjectBankSpeed(Ground.Type);
    if (GroundSpeed == 0) return false;
    if (!IsWalkable(8 + dx, 6 + dy, Layer, false)) return false;
    return CountHeightObjects(8 + dx, 6 + dy, Layer) <= CountHeightObjects(8, 6, Layer) + 1;
}

void ClearPredictedStep() {
    Walk.PredictedDX = 0;
    Walk.PredictedDY = 0;
}

void ShowPathError(int32_t Result) {
    switch (Result) {
    case -4:
        SetStatusMessage("There is no way.");
        break;
    case -3:
        SetStatusMessage("Destination is out of range.");
        break;
    case -2:
        SetStatusMessage("First go downstairs.");
        break;
    case -1:
        SetStatusMessage("First go upstairs.");
        break;
    default:
        break;
    }
}

} // namespace

// ---- values

void SetPlayerID(uint32_t ID) { Player.CreatureID = ID; }
uint32_t GetPlayerID() { return Player.CreatureID; }
void SetBeatDuration(int32_t Milliseconds) { Player.Beat = Milliseconds; }
int32_t GetBeatDuration() { return Player.Beat; }

void SetHitpoints(int32_t Hitpoints, int32_t MaxHitpoints) {
    Player.Hitpoints = Hitpoints;
    Player.MaxHitpoints = MaxHitpoints;
}

void SetMana(int32_t Mana, int32_t MaxMana) {
    Player.Mana = Mana;
    Player.MaxMana = MaxMana;
}

void SetMagicLevel(int32_t MagicLevel, int32_t Progress) {
    Player.MagicLevel = MagicLevel;
    Player.MagicLevelPercent = Progress;
}

void SetSoulPoints(int32_t SoulPoints) { Player.SoulPoints = SoulPoints; }
void SetCapacity(int32_t Capacity) { Player.Capacity = Capacity; }
void SetPlayerState(int32_t Flags) { Player.StateFlags = Flags; }

void SetExperience(int32_t Experience, int32_t Level, int32_t Progress) try {
    CHECK_TEXT(In(Progress, -1, 100), "In(Progress,-1,100) [bug0000038]", Progress);
    if (Player.Level != 0) {
        if (Player.Experience == 0 && Experience >= 1) QueueEventHelp(HINT_FIRST_EXPERIENCE);
        const int32_t LevelHints[][2] = {{2, HINT_LEVEL_2}, {8, HINT_LEVEL_8}, {20, HINT_LEVEL_20}};
        for (const auto& [Reached, Hint] : LevelHints)
            if (Player.Level < Reached && Level >= Reached) QueueEventHelp(Hint);
    }
    Player.LevelPercent = Progress;
    Player.Experience = Experience;
    Player.Level = Level;
}
CATCH_FRAME(Experience, Level)

void SetSkill(int32_t SkillNumber, int32_t Level, int32_t Progress) try {
    CheckSkillNumber(SkillNumber);
    CHECK_TEXT(In(Progress, 0, 100), "In(Progress,0,100)", Progress);
    if (Player.SkillLevel[SkillNumber] != 0 && Level > Player.SkillLevel[SkillNumber])
        QueueEventHelp(HINT_FIRST_SKILL_ADVANCE);
    Player.SkillPercent[SkillNumber] = Progress;
    Player.SkillLevel[SkillNumber] = Level;
}
CATCH_FRAME(SkillNumber, Level)

int32_t GetHitpoints() { return Player.Hitpoints; }
int32_t GetMaxHitpoints() { return Player.MaxHitpoints; }
int32_t GetMana() { return Player.Mana; }
int32_t GetMaxMana() { return Player.MaxMana; }
int32_t GetSoulPoints() { return Player.SoulPoints; }
int32_t GetCapacity() { return Player.Capacity; }
int32_t GetExperience() { return Player.Experience; }
int32_t GetLevel() { return Player.Level; }
int32_t GetLevelPercent() { return Player.LevelPercent; }
int32_t GetMagicLevel() { return Player.MagicLevel; }
int32_t GetMagicLevelPercent() { return Player.MagicLevelPercent; }

int32_t GetSkillLevel(int32_t SkillNumber) {
    CheckSkillNumber(SkillNumber);
    return Player.SkillLevel[SkillNumber];
}

int32_t GetSkillProgress(int32_t SkillNumber) {
    CheckSkillNumber(SkillNumber);
    return Player.SkillPercent[SkillNumber];
}

const char* GetSkillName(int32_t SkillNumber) {
    CheckSkillNumber(SkillNumber);
    return SkillNames[SkillNumber];
}

bool IsPoisoned() { return StateBit(0); }
bool IsBurning() { return StateBit(1); }
bool IsElectrified() { return StateBit(2); }
bool IsDrunk() { return StateBit(3); }
bool HasMagicShield() { return StateBit(4); }
bool IsParalysed() { return StateBit(5); }
bool IsHasted() { return StateBit(6); }
bool IsInFight() { return StateBit(7); }

void SetAttackTarget(uint32_t ID) {
    Player.AttackTarget = ID;
    Player.FollowTarget = 0;
}

void SetFollowTarget(uint32_t ID) {
    Player.FollowTarget = ID;
    Player.AttackTarget = 0;
}

void SetAimedCreature(uint32_t ID) { Player.AimedCreature = ID; }
uint32_t GetAttackTarget() { return Player.AttackTarget; }
uint32_t GetFollowTarget() { return Player.FollowTarget; }
uint32_t GetAimedCreature() { return Player.AimedCreature; }

// ---- walking

void GetPlayerPosition(int32_t& X, int32_t& Y, int32_t& Z) {
    GetViewPosition(X, Y, Z);
    X += Walk.PredictedDX;
    Y += Walk.PredictedDY;
}

int32_t GetNumberOfPlayerSteps() { return Walk.NumberOfPlayerSteps; }

int32_t GetPlayerStep(int32_t Step) {
    CHECK_TEXT(In(Step, 0, Walk.NumberOfPlayerSteps - 1), "In(Step,0,NumberOfPlayerSteps-1)", Step);
    return Walk.Steps[Step];
}

void ClearPlayerSteps() {
    Walk.DestinationX = 0;
    Walk.NumberOfPlayerSteps = 0;
    Walk.CurrentPlayerStep = 0;
    Walk.Reroute = 0;
}

void StopPlayerWalk() {
    ClearPlayerSteps();
    ClearPredictedStep();
    TCreature* Creature = OwnCreature();
    if (Creature == nullptr) return;
    Creature->WalkDirection = Creature->LookDirection;
    Creature->Walking = 0;
    Creature->OffsetX = 0;
    Creature->OffsetY = 0;
}

void PredictPlayerStep() try {
    CHECK_TEXT(Walk.CurrentPlayerStep < Walk.NumberOfPlayerSteps, "CurrentPlayerStep<NumberOfPlayerSteps",
               Walk.CurrentPlayerStep);
    TCreature* Creature = OwnCreature();
    if (Walk.Reroute || Player.Hitpoints == 0 || Creature == nullptr) return;
    if (HasPredictedStep()) {
        Creature->Walking = 1;
        return;
    }
    int32_t Code = Walk.Steps[Walk.CurrentPlayerStep];
    if (!In(Code, 1, 8)) return;
    int32_t dx = StepDX[Code], dy = StepDY[Code], GroundSpeed = 0;
    if (!CanPredictStep(dx, dy, GroundSpeed)) return;
    Creature->startStep(dx, dy, GroundSpeed);
    Walk.PredictedDX = dx;
    Walk.PredictedDY = dy;
    Walk.PredictedDirection = DirectionOf(dx, dy);
}
CATCH_FRAME()

int32_t WalkToDestination() try {
    Walk.NumberOfPlayerSteps = 0;
    Walk.Reroute = 0;
    if (Walk.DestinationX == 0) return 0;
    if (std::abs(Walk.PredictedDX) + std::abs(Walk.PredictedDY) > 1) {
        // The end of the diagonal step calls again.
        if (TCreature* Creature = OwnCreature()) Creature->Walking = 1;
        return 0;
    }
    int32_t X, Y, Z;
    GetPlayerPosition(X, Y, Z);
    int32_t Result = FindPath(X, Y, Z, Walk.DestinationX, Walk.DestinationY, Walk.DestinationZ,
                              Walk.MustReach, Walk.NumberOfPlayerSteps, Walk.Steps, Walk.ForceDiagonal);
    if (Result != 2) Walk.DestinationX = 0;
    if (Result > 0 && Walk.NumberOfPlayerSteps > 0) {
        Walk.CurrentPlayerStep = 0;
        PredictPlayerStep();
        return 1;
    }
    ShowPathError(Result);
    return 0;
}
CATCH_FRAME()

int32_t GoToField(int32_t X, int32_t Y, int32_t Z, bool MustReach, bool ForceDiagonal) try {
    int32_t PlayerX, PlayerY, PlayerZ;
    GetPlayerPosition(PlayerX, PlayerY, PlayerZ);
    bool IsDestination =
        Walk.DestinationX != 0 && X == Walk.DestinationX && Y == Walk.DestinationY && Z == Walk.DestinationZ;
    if (IsDestination || (X == PlayerX && Y == PlayerY && Z == PlayerZ)) return 0;
    Walk.DestinationX = X;
    Walk.DestinationY = Y;
    Walk.DestinationZ = Z;
    Walk.MustReach = MustReach;
    Walk.ForceDiagonal = ForceDiagonal;
    int32_t rx = X, ry = Y, rz = Z;
    WorldToLocal(rx, ry, rz);
    if (In(rx, 1, 15) && In(ry, 1, 11) && rz == GetViewLayer() && !(rx == 8 && ry == 6) &&
        !IsWalkable(rx, ry, rz, true)) {
        SetStatusMessage("Sorry, not possible.");
        Walk.DestinationX = 0;
        return 0;
    }
    if (Walk.Reroute) return 0;
    if (Walk.NumberOfPlayerSteps == 0) return WalkToDestination();
    if (Walk.CurrentPlayerStep >= Walk.NumberOfPlayerSteps) return 0;
    Walk.Reroute = 1;
    return 2;
}
CATCH_FRAME(X, Y)

bool RefusePlayerStep(int32_t Direction) try {
    Walk.NumberOfPlayerSteps = 0;
    TCreature* Creature = OwnCreature();
    if (Creature == nullptr) {
        ClearPredictedStep();
        return false;
    }
    Creature->LookDirection = Direction;
    if (!HasPredictedStep() && Creature->Walking) return false;
    Creature->startStep(0, 0, -1);
    return WalkToDestination() == 1;
}
CATCH_FRAME(Direction)

bool CountRefusedStep() {
    int32_t X, Y, Z;
    GetPlayerPosition(X, Y, Z);
    bool Same = X == Walk.LastRefusedX && Y == Walk.LastRefusedY && Z == Walk.LastRefusedZ;
    Walk.RefusedStepCount = Same ? Walk.RefusedStepCount + 1 : 0;
    Walk.LastRefusedX = X;
    Walk.LastRefusedY = Y;
    Walk.LastRefusedZ = Z;
    if (Walk.RefusedStepCount < 16) return false;
    ClearPlayerSteps();
    SetAttackTarget(0);
    Walk.RefusedStepCount = 0;
    return true;
}

bool HasPredictedStep() { return Walk.PredictedDX != 0 || Walk.PredictedDY != 0; }

void GetPredictedStep(int32_t& dx, int32_t& dy) {
    dx = Walk.PredictedDX;
    dy = Walk.PredictedDY;
}

int32_t GetPredictedDirection() { return Walk.PredictedDirection; }

bool TakePlayerStep(int32_t dx, int32_t dy) {
    bool Predicted = HasPredictedStep() && dx == Walk.PredictedDX && dy == Walk.PredictedDY;
    ClearPredictedStep();
    // Past the end of the queue the count stays there: only its comparison with the queue's length matters.
    if (!Predicted && Walk.CurrentPlayerStep < Walk.NumberOfPlayerSteps) Walk.CurrentPlayerStep++;
    return Predicted;
}

bool IsPlayerPathDone() { return Walk.CurrentPlayerStep >= Walk.NumberOfPlayerSteps; }

// ---- module

void ResetCreatures() {
    ClearCreatureTable();
    int32_t SoulPoints = Player.SoulPoints, Beat = Player.Beat;
    uint32_t AimedCreature = Player.AimedCreature;
    Player = TPlayerData{};
    Player.SoulPoints = SoulPoints;
    Player.Beat = Beat;
    Player.AimedCreature = AimedCreature;
    Walk = TPlayerSteps{};
    ResetBuddyList();
}

void InitCreatures() { ResetCreatures(); }
