// The player's own values (hit points, mana, skills, state bits, targets) and the player's walking: a queued
// path of up to 10 steps, a locally predicted step and auto-walk to a clicked field.
#pragma once

#include <cstdint>

inline constexpr int32_t SKILLS = 7;
inline constexpr int32_t PLAYER_STEPS = 10; // room of the step queue

void SetPlayerID(uint32_t ID);
uint32_t GetPlayerID(); // 0 before login
// The server's step unit in ms; step durations are taken up to whole beats. Below 1 no rounding is done.
void SetBeatDuration(int32_t Milliseconds);
int32_t GetBeatDuration();
void SetHitpoints(int32_t Hitpoints, int32_t MaxHitpoints);
void SetMana(int32_t Mana, int32_t MaxMana);
void SetMagicLevel(int32_t MagicLevel, int32_t Progress);
void SetSoulPoints(int32_t SoulPoints);
void SetCapacity(int32_t Capacity);
void SetPlayerState(int32_t Flags);
// Checks "In(Progress,-1,100) [bug0000038]"; queues the hints of the first experience and of levels 2, 8
// and 20 once a level is known.
void SetExperience(int32_t Experience, int32_t Level, int32_t Progress);
// Checks the skill number and "In(Progress,0,100)"; a rising known level queues the skill hint.
void SetSkill(int32_t SkillNumber, int32_t Level, int32_t Progress);

int32_t GetHitpoints();
int32_t GetMaxHitpoints();
int32_t GetMana();
int32_t GetMaxMana();
int32_t GetSoulPoints();
int32_t GetCapacity();
int32_t GetExperience();
int32_t GetLevel();
int32_t GetLevelPercent();
int32_t GetMagicLevel();
int32_t GetMagicLevelPercent();
// Each checks "In(SkillNumber,0,SKILLS-1)".
int32_t GetSkillLevel(int32_t SkillNumber);
int32_t GetSkillProgress(int32_t SkillNumber);
const char* GetSkillName(int32_t SkillNumber);

bool IsPoisoned();
bool IsBurning();
bool IsElectrified();
bool IsDrunk();
bool HasMagicShield();
bool IsParalysed();
bool IsHasted();
bool IsInFight(); // may not log out

// Creature IDs, 0 none. Attacking ends following and following ends attacking.
void SetAttackTarget(uint32_t ID);
void SetFollowTarget(uint32_t ID);
void SetAimedCreature(uint32_t ID);
uint32_t GetAttackTarget();
uint32_t GetFollowTarget();
uint32_t GetAimedCreature();

// The view position plus the pending predicted step.
void GetPlayerPosition(int32_t& X, int32_t& Y, int32_t& Z);
// The queue as the walk-path sender reads it, always from step 0. Codes 1 east, 2 north-east, 3 north,
// 4 north-west, 5 west, 6 south-west, 7 south, 8 south-east.
int32_t GetNumberOfPlayerSteps();
int32_t GetPlayerStep(int32_t Step); // checks "In(Step,0,NumberOfPlayerSteps-1)"
// Drops the destination and the queue.
void ClearPlayerSteps();
// As ClearPlayerSteps, also drops the predicted step and stops the player's creature at once.
void StopPlayerWalk();
// Checks "CurrentPlayerStep<NumberOfPlayerSteps"; shows the next queued step at once when its field can be
// entered.
void PredictPlayerStep();
// Plans the way to the destination: 1 a new path was planned and must be sent, 0 nothing to send.
int32_t WalkToDestination();
// 0 nothing to send, 1 send the new path, 2 a path is being walked: send the stop-walk command and wait.
int32_t GoToField(int32_t X, int32_t Y, int32_t Z, bool MustReach, bool ForceDiagonal);
// The server refused or cancelled the walk; Direction is the player's new look direction. True: send the
// new path.
bool RefusePlayerStep(int32_t Direction);
// Counts a refusal at the player's position; the 16th in a row at one position clears the queue and the
// attack target and gives true: send the cancel command. Call before RefusePlayerStep.
bool CountRefusedStep();

// The predicted step for the creature table: dx, dy (0, 0 none) and its direction.
bool HasPredictedStep();
void GetPredictedStep(int32_t& dx, int32_t& dy);
int32_t GetPredictedDirection();
// The server walked the player one step (dx, dy): true when it was the predicted one, which is then shown
// already; else the walked step counts as a queued step. The prediction is dropped either way.
bool TakePlayerStep(int32_t dx, int32_t dy);
// The queued path is used up: its end re-plans the way.
bool IsPlayerPathDone();

// All creature records, the player's values except soul points, the aimed creature and the beat, the walk
// state and the VIP list; at program start and at each game entry.
void ResetCreatures();
void InitCreatures();
