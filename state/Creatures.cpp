// The creature table: records, lookup and reuse, walking animation, marks, skulls and the battle list.
#include "state/Creatures.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "state/CreaturesPlayer.h"
#include "state/EventHints.h"
#include "state/MapPath.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Cleared by ResetCreatures at program start and at each game entry; the clock is set by tests only.
struct {
    TCreature Table[NUMBER_OF_CREATURES];
    int32_t BattleListHead = -1;
    int32_t BattleListTail = -1;
} Creatures;

// Steps longer than this (about 12 days) are cut, so that the wrapping clock still orders their times.
constexpr int64_t LONGEST_STEP = 0x3fffffff;

bool IsOwnCreature(const TCreature& Creature) {
    return Creature.CreatureID != 0 && Creature.CreatureID == GetPlayerID();
}

TCreature* FindRecord(uint32_t CreatureID) {
    for (TCreature& Creature : Creatures.Table)
        if (Creature.CreatureID == CreatureID) return &Creature;
    return nullptr;
}

bool IsNear(const TCreature& Creature, const TCreature& Player, int32_t RangeX, int32_t RangeY) {
    return std::llabs(int64_t{Creature.X} - Player.X) <= RangeX &&
           std::llabs(int64_t{Creature.Y} - Player.Y) <= RangeY;
}

// IsBattleListMember with the player's own record (NULL while it is not known) looked up by the caller.
bool IsMemberNear(const TCreature& Creature, const TCreature* Player) {
    if (Creature.CreatureID == 0 || IsOwnCreature(Creature) || Creature.Visible == 0) return false;
    if (!IsPlayerID(Creature.CreatureID) && Creature.OutfitType == 0 && Creature.OutfitHead == 0)
        return false;
    if (Creature.HealthPercent < 1 || Player == nullptr) return false;
    return Creature.Z == Player->Z && IsNear(Creature, *Player, 7, 5);
}

// Queues the hint of a non-player character by its name; the record's name is read as at most 29 characters.
void CheckNameHint(const TCreature& Creature) {
    char Name[sizeof(Creature.Name)];
    std::snprintf(Name, sizeof(Name), "%.*s", static_cast<int>(sizeof(Name) - 1), Creature.Name);
    CheckNPCEventHelp(Name);
}

void AppendToBattleList(int32_t Index) {
    TCreature& Creature = Creatures.Table[Index];
    Creature.BattleNext = -1;
    Creature.BattlePrevious = Creatures.BattleListTail;
    if (Creatures.BattleListTail != -1) Creatures.Table[Creatures.BattleListTail].BattleNext = Index;
    Creatures.BattleListTail = Index;
    if (Creatures.BattleListHead == -1) Creatures.BattleListHead = Index;
}

void UnlinkFromBattleList(int32_t Index) {
    TCreature& Creature = Creatures.Table[Index];
    if (Creature.BattlePrevious != -1)
        Creatures.Table[Creature.BattlePrevious].BattleNext = Creature.BattleNext;
    else
        Creatures.BattleListHead = Creature.BattleNext;
    if (Creature.BattleNext != -1)
        Creatures.Table[Creature.BattleNext].BattlePrevious = Creature.BattlePrevious;
    else
        Creatures.BattleListTail = Creature.BattlePrevious;
    Creature.BattleNext = NOT_IN_BATTLELIST;
}

} // namespace

TCreature& GetCreatureRecord(int32_t Index) {
    CHECK(In(Index, 0, NUMBER_OF_CREATURES - 1), Index);
    return Creatures.Table[Index];
}

// ---- table

TCreature* GetCreature(uint32_t CreatureID) try {
    CHECK_TEXT(CreatureID != 0, "CreatureID!=0");
    return FindRecord(CreatureID);
}
CATCH_FRAME(CreatureID)

TCreature* OwnCreature() {
    uint32_t PlayerID = GetPlayerID();
    return PlayerID != 0 ? FindRecord(PlayerID) : nullptr;
}

TCreature* NewCreature(uint32_t OldCreatureID, uint32_t NewCreatureID) try {
    CHECK_TEXT(NewCreatureID != 0, "NewCreatureID!=0");
    TCreature* Creature = FindRecord(OldCreatureID);
    if (Creature == nullptr) {
        // The table is full: the last record gives way, unless it is the player's own.
        Creature = &Creatures.Table[NUMBER_OF_CREATURES - 1];
        if (IsOwnCreature(*Creature)) Creature--;
    }
    if (Creature->CreatureID == 0) Creature->BattleNext = NOT_IN_BATTLELIST;
    Creature->PKFlag = 0;
    Creature->PARTYFlag = 0;
    Creature->PKFlagRemovalTime = 0;
    Creature->CreatureID = NewCreatureID;
    return Creature;
}
CATCH_FRAME(OldCreatureID, NewCreatureID)

bool IsPlayerID(uint32_t CreatureID) { return CreatureID < FIRST_NONPLAYER_ID; }

void HideAllCreatures() {
    for (TCreature& Creature : Creatures.Table)
        Creature.Visible = 0;
}

TCreature* HideCreature(uint32_t CreatureID) {
    TCreature* Creature = CreatureID != 0 ? FindRecord(CreatureID) : nullptr;
    if (Creature != nullptr) Creature->Visible = 0;
    return Creature;
}

void HideCreatureCallback(int32_t CreatureID) { HideCreature(static_cast<uint32_t>(CreatureID)); }

void ClearCreatureTable() {
    std::memset(Creatures.Table, 0, sizeof(Creatures.Table));
    Creatures.BattleListHead = -1;
    Creatures.BattleListTail = -1;
}

// ---- records

void TCreature::setPosition(int32_t NewX, int32_t NewY, int32_t NewZ) {
    if (X == NewX && Y == NewY && Z == NewZ) return;
    X = NewX;
    Y = NewY;
    Z = NewZ;
    OffsetX = 0;
    OffsetY = 0;
    Walking = 0;
    CheckCreatureHints(this);
}

void TCreature::startStep(int32_t dx, int32_t dy, int32_t GroundSpeed) {
    Clamp(dx, -1, 1);
    Clamp(dy, -1, 1);
    if (dx != 0 || dy != 0) LookDirection = DirectionOf(dx, dy);
    if (GroundSpeed != 0 && IsOwnCreature(*this) && TakePlayerStep(dx, dy)) return;
    WalkDirection = LookDirection;

    int64_t Duration = Speed >= 1 ? int64_t{GroundSpeed} * 1000 / Speed : 1000;
    int64_t Beat = std::max(GetBeatDuration(), 1);
    Duration = std::clamp((Beat + Duration - 1) / Beat * Beat, -LONGEST_STEP, LONGEST_STEP);
    int32_t Now = GetMilliseconds();
    StepDuration = static_cast<int32_t>(Duration);
    OffsetX = -dx * 32;
    OffsetY = -dy * 32;
    StepDistanceX = std::abs(dx) * 32;
    StepDistanceY = std::abs(dy) * 32;
    StepEndTime = TimeAfter(Now, StepDuration);
    if (dx != 0 && dy != 0) {
        int64_t Pause = Speed >= 1 ? int64_t{GroundSpeed} * 3000 / Speed : 1000;
        NextStepTime = TimeAfter(Now, static_cast<int32_t>(std::clamp(Pause, -LONGEST_STEP, LONGEST_STEP)));
    } else {
        NextStepTime = StepEndTime;
    }
    Walking = 1;
}

int32_t TCreature::getOffsetX() const {
    int32_t dx = 0, dy = 0;
    if (IsOwnCreature(*this)) GetPredictedStep(dx, dy);
    return OffsetX + 32 * dx;
}

int32_t TCreature::getOffsetY() const {
    int32_t dx = 0, dy = 0;
    if (IsOwnCreature(*this)) GetPredictedStep(dx, dy);
    return OffsetY + 32 * dy;
}

int32_t TCreature::getDirection() const {
    if (IsOwnCreature(*this) && HasPredictedStep()) return GetPredictedDirection();
    return Walking ? WalkDirection : LookDirection;
}

int32_t TCreature::getAnimationPhase(int32_t AvailablePhases) const try {
    CHECK(AvailablePhases >= 1, AvailablePhases);
    if (AvailablePhases == 1) return 1;
    // A creature that is not walking stands, whatever its old step times say.
    if (OffsetX == 0 && OffsetY == 0 && (!Walking || TimeUntil(StepEndTime) < 0)) return 1;
    return std::max(std::abs(OffsetX), std::abs(OffsetY)) / 8 % (AvailablePhases - 1) + 2;
}
CATCH_FRAME(AvailablePhases)

void TCreature::setMark(int32_t Color) {
    MarkColor = Color;
    MarkEndTime = TimeAfter(GetMilliseconds(), 1000);
}

bool TCreature::isMarked() const { return In(TimeUntil(MarkEndTime), 0, 1000); }

void TCreature::setPKFlag(int32_t NewPKFlag, bool Delayed) {
    if (Delayed && PKFlag != 0 && NewPKFlag == 0) {
        PKFlagRemovalTime = static_cast<int32_t>(CalendarTime());
        return;
    }
    PKFlag = NewPKFlag;
    PKFlagRemovalTime = 0;
}

void TCreature::getHealthColor(TRGBColor& Color) const {
    struct TBand {
        int32_t Highest, Red, Green, Blue;
    };
    static const TBand Bands[] = {
        {3, 96, 0, 0}, {9, 192, 0, 0}, {29, 192, 48, 48}, {59, 192, 192, 0}, {94, 96, 192, 96},
    };
    Color.Red = 0;
    Color.Green = 192;
    Color.Blue = 0;
    for (const TBand& Band : Bands) {
        if (In(HealthPercent, 0, Band.Highest)) {
            Color.Red = Band.Red;
            Color.Green = Band.Green;
            Color.Blue = Band.Blue;
            return;
        }
    }
}

// ---- skulls and party

void UpdatePKFlags() {
    int32_t Now = static_cast<int32_t>(CalendarTime());
    for (TCreature& Creature : Creatures.Table) {
        if (Creature.PKFlagRemovalTime == 0) continue;
        // Seconds since the stamp, modulo 2^32: a clock set back counts as negative.
        int32_t Passed = TimeUntil(Now, Creature.PKFlagRemovalTime);
        if (Passed < 0 || Passed > 4) {
            Creature.PKFlagRemovalTime = 0;
            Creature.PKFlag = 0;
        }
    }
}

void CheckPKFlagHint(int32_t PKFlag) {
    if (PKFlag != 0) QueueEventHelp(HINT_MARKED_PLAYER);
}

bool PlayerHasPKFlag() {
    const TCreature* Player = OwnCreature();
    return Player != nullptr && Player->PKFlag != 0;
}

int32_t GetPlayerPartyFlag() {
    const TCreature* Player = OwnCreature();
    return Player != nullptr ? Player->PARTYFlag : 0;
}

bool IsPlayerInParty() {
    int32_t Flag = GetPlayerPartyFlag();
    return Flag == 1 || Flag == 3 || Flag == 4;
}

// ---- battle list

bool IsBattleListMember(const TCreature* Creature) try {
    CHECK_TEXT(Creature != nullptr, "Creature!=NULL");
    return IsMemberNear(*Creature, OwnCreature());
}
CATCH_FRAME()

int32_t UpdateBattleList() try {
    int32_t Members = 0;
    const TCreature* Player = OwnCreature();
    for (int32_t i = 0; i < NUMBER_OF_CREATURES; i++) {
        const TCreature& Creature = Creatures.Table[i];
        if (Creature.CreatureID == 0) continue;
        bool Listed = Creature.BattleNext != NOT_IN_BATTLELIST;
        if (IsMemberNear(Creature, Player)) {
            if (!Listed) AppendToBattleList(i);
            Members++;
        } else if (Listed) {
            UnlinkFromBattleList(i);
        }
    }
    return Members;
}
CATCH_FRAME()

TCreature* GetBattleListCreature(int32_t Number) try {
    CHECK(Number >= 0, Number);
    int32_t Index = Creatures.BattleListHead;
    for (int32_t i = 0; i < Number && In(Index, 0, NUMBER_OF_CREATURES - 1); i++)
        Index = Creatures.Table[Index].BattleNext;
    return In(Index, 0, NUMBER_OF_CREATURES - 1) ? &Creatures.Table[Index] : nullptr;
}
CATCH_FRAME(Number)

// ---- walking

bool MoveCreatures() try {
    bool SendPath = false;
    int32_t Now = GetMilliseconds();
    for (TCreature& Creature : Creatures.Table) {
        if (!Creature.Walking) continue;
        int64_t Left = TimeUntil(Creature.StepEndTime, Now);
        ApproachZero(Creature.OffsetX, Creature.StepDuration, Left, Creature.StepDistanceX);
        ApproachZero(Creature.OffsetY, Creature.StepDuration, Left, Creature.StepDistanceY);
        if (Creature.OffsetX != 0 || Creature.OffsetY != 0 || TimeUntil(Creature.NextStepTime, Now) >= 0)
            continue;
        Creature.Walking = 0;
        if (!IsOwnCreature(Creature)) continue;
        if (IsPlayerPathDone()) {
            if (WalkToDestination() == 1) SendPath = true;
        } else {
            PredictPlayerStep();
        }
    }
    return SendPath;
}
CATCH_FRAME()

// ---- hints

void CheckCreatureHints(TCreature* Creature) try {
    CHECK_TEXT(Creature != nullptr, "Creature!=NULL");
    if (Creature->Visible == 0) return;
    if (IsOwnCreature(*Creature)) {
        int32_t Members = UpdateBattleList();
        for (int32_t i = 0; i < Members; i++) {
            const TCreature* Opponent = GetBattleListCreature(i);
            CHECK_TEXT(Opponent != nullptr, "Opponent!=NULL");
            if (!IsPlayerID(Opponent->CreatureID) && IsNear(*Opponent, *Creature, 2, 2))
                CheckNameHint(*Opponent);
        }
    } else if (!IsPlayerID(Creature->CreatureID) && IsBattleListMember(Creature)) {
        if (IsNear(*Creature, *OwnCreature(), 2, 2)) CheckNameHint(*Creature);
    }
}
CATCH_FRAME()
