// The creature table: every creature the client has been told about, its walking animation, marks and
// skull, and the battle list threaded through the table.
#pragma once

#include "foundation/Utils.h"

#include <cstdint>

inline constexpr int32_t NUMBER_OF_CREATURES = 150; // records of the table
inline constexpr int32_t FIRST_NONPLAYER_ID = 0x40000000;
inline constexpr int32_t NOT_IN_BATTLELIST = 0x7fffffff; // BattleNext of a record outside the list

// One record. Times are readings of the millisecond clock (GetMilliseconds); directions 0 north, 1 east,
// 2 south, 3 west.
struct TCreature {
    uint32_t CreatureID; // 0: free record
    char Name[30];
    int32_t X, Y, Z;
    int32_t OffsetX, OffsetY;             // drawing offset in pixels while a step is under way; shrinks to 0
    int32_t StepEndTime;                  // the offsets reach 0
    int32_t NextStepTime;                 // the next step may not start before
    int32_t StepDistanceX, StepDistanceY; // |dx|*32, |dy|*32 of the current step
    int32_t StepDuration;                 // ms, whole beats
    uint8_t Walking;
    int32_t LookDirection;
    int32_t WalkDirection;
    int32_t BattlePrevious, BattleNext; // table indices, -1 none; BattleNext NOT_IN_BATTLELIST: not listed
    int32_t OutfitType;                 // 0: shown as the item type in OutfitHead (0 invisible)
    int32_t OutfitHead, OutfitBody, OutfitLegs, OutfitFeet;
    int32_t LightBrightness, LightColor;
    int32_t MarkColor;
    int32_t MarkEndTime;
    int32_t HealthPercent;     // 0..100
    int32_t Speed;             // divisor of step durations
    uint8_t Visible;           // on the current map picture
    int32_t PKFlag;            // skull 0 none, 1..4
    int32_t PARTYFlag;         // party shield
    int32_t PKFlagRemovalTime; // calendar seconds of a delayed skull removal; 0 none

    // Nothing when equal to the stored field; else stores it, stops the step and checks the hints.
    void setPosition(int32_t X, int32_t Y, int32_t Z);
    // A step of one field (dx, dy in -1..1) onto ground of GroundSpeed; GroundSpeed -1 stands still.
    void startStep(int32_t dx, int32_t dy, int32_t GroundSpeed);
    // The player's own creature adds its predicted step.
    int32_t getOffsetX() const;
    int32_t getOffsetY() const;
    int32_t getDirection() const;
    // Checks "AvailablePhases>=1"; 1 is the standing picture, 2.. cycle every 8 pixels of movement.
    int32_t getAnimationPhase(int32_t AvailablePhases) const;
    void setMark(int32_t Color); // shown for 1000 ms
    bool isMarked() const;
    // Delayed: a skull removed by the server stays for about 5 s (see UpdatePKFlags).
    void setPKFlag(int32_t PKFlag, bool Delayed);
    void getHealthColor(TRGBColor& Color) const;
};

// The record of a table index 0..NUMBER_OF_CREATURES-1, for the map view and the windows.
TCreature& GetCreatureRecord(int32_t Index);

// Checks "CreatureID!=0"; NULL when no record holds the ID.
TCreature* GetCreature(uint32_t CreatureID);
// The player's own record, NULL while it is not known.
TCreature* OwnCreature();
// Checks "NewCreatureID!=0". The record of OldCreatureID (0: the first free one) for the new ID; with none,
// the last record that is not the player's own. Skull and party are cleared; the caller fills the rest.
TCreature* NewCreature(uint32_t OldCreatureID, uint32_t NewCreatureID);
bool IsPlayerID(uint32_t CreatureID);
void HideAllCreatures();
// The map box's creature-removed callback; the record or NULL.
TCreature* HideCreature(uint32_t CreatureID);
void HideCreatureCallback(int32_t CreatureID);
// All records zero, battle list empty; part of ResetCreatures.
void ClearCreatureTable();

// Once per timer tick: drops the skulls whose delayed removal was stamped 5 s or more ago.
void UpdatePKFlags();
void CheckPKFlagHint(int32_t PKFlag); // queues the "Player Killing" hint for a skull
// The player's own record decides; false or 0 while it is not known.
bool PlayerHasPKFlag();
int32_t GetPlayerPartyFlag();
bool IsPlayerInParty();

// Checks "Creature!=NULL": a visible creature with health, not the player, within 7 fields east or west and
// 5 north or south of the player on the player's floor; false while the player's own record is not known.
bool IsBattleListMember(const TCreature* Creature);
// Re-links the list over the table, newcomers at the end; the number of members.
int32_t UpdateBattleList();
// Checks "Number>=0"; the record Number places behind the head, NULL past the end.
TCreature* GetBattleListCreature(int32_t Number);

// Once per idle pass in game: advances every step. True when the player's walk path must be sent anew.
bool MoveCreatures();

// Checks "Creature!=NULL"; queues the hints of non-player characters near the player.
void CheckCreatureHints(TCreature* Creature);
