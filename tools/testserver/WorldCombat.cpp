// Fighting: the fight modes, attacking and following a creature, rounds of blows on the world's clock with
// the health, marks, skulls and player values they change, the follower's steps, and stopping.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/SocialMessages.h"
#include "tools/testserver/WorldRoads.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace testserver {

namespace {

constexpr uint8_t HIT = 20; // percent of a creature's health, or of a player's hit points, a round takes
constexpr uint32_t DEFEAT_EXPERIENCE = 150;
constexpr uint32_t LEVEL_EXPERIENCE = 300; // from one level to the next, from the first character's level 8
constexpr uint8_t SWORD_FIGHTING = 2, SKILL_STEP = 10;
constexpr uint8_t COLOR_DAMAGE = 180, MARK_ATTACKER = 0; // of the 6 x 6 x 6 cube: red; black

bool IsPlayerCreature(uint32_t Id) { return Id < 0x40000000; }

void ShowHealth(TGameWorld& World, const TCreature& Creature, uint8_t Lost) {
    World.toViewers(Creature.Position, [&](TPlayer& Viewer) {
        Viewer.send(CreatureHealthMessage(Creature.Id, Creature.Health));
        Viewer.send(TextEffectMessage(Creature.Position, COLOR_DAMAGE, std::to_string(Lost)));
    });
}

// Takes Lost hit points from a player and shows its health to everyone who sees it.
void Wound(TGameWorld& World, TPlayer& Player, uint16_t Lost) {
    TPlayerValues& Values = Player.Values;
    Values.Hitpoints = static_cast<uint16_t>(std::max(Values.Hitpoints - Lost, 1)); // no one dies here
    Player.send(PlayerDataMessage(Values));
    TCreature& Creature = World.creature(Player);
    // A living creature shows at least 1 percent: at 0 the clients take it for dead.
    Creature.Health = static_cast<uint8_t>(std::max(Values.Hitpoints * 100 / Values.MaxHitpoints, 1));
    ShowHealth(World, Creature, static_cast<uint8_t>(Lost));
}

// Ends the fight and takes the player out of the fight state; the client's targets stay as they are.
void LeaveFight(TPlayer& Player) {
    Player.AttackTarget = 0;
    Player.send(PlayerStateMessage(0));
}

// Ends the fight and the client's attack target with it (163, which also ends the client's follow target).
void EndFight(TPlayer& Player) {
    Player.send(ClearTargetMessage());
    LeaveFight(Player);
}

// Experience, and with a new level more hit points, mana and capacity, both refilled; a defeat costs soul.
void Reward(TPlayer& Player, const std::string& Defeated) {
    TPlayerValues& v = Player.Values;
    v.Experience += DEFEAT_EXPERIENCE;
    const uint32_t Above = v.Experience - TPlayerValues{}.Experience;
    const uint16_t Level = static_cast<uint16_t>(TPlayerValues{}.Level + Above / LEVEL_EXPERIENCE);
    v.LevelProgress = static_cast<uint8_t>(Above % LEVEL_EXPERIENCE * 100 / LEVEL_EXPERIENCE);
    if (Level != v.Level) {
        v.Level = Level;
        v.MaxHitpoints = v.Hitpoints = static_cast<uint16_t>(v.MaxHitpoints + 15);
        v.MaxMana = v.Mana = static_cast<uint16_t>(v.MaxMana + 5);
        v.Capacity = static_cast<uint16_t>(v.Capacity + 10);
        Player.send(SystemMessage(TALK_EVENT_STATUS, "You advanced to Level " + std::to_string(Level) + "."));
    }
    v.SoulPoints = static_cast<uint8_t>(std::max(v.SoulPoints - 1, 0));
    Player.send(PlayerDataMessage(v));
    Player.send(SystemMessage(TALK_EVENT_STATUS, "You have defeated " + Defeated + "."));
}

void Train(TPlayer& Player) {
    uint8_t& Progress = Player.SkillProgress[SWORD_FIGHTING];
    Progress = static_cast<uint8_t>(Progress + SKILL_STEP);
    if (Progress >= 100) {
        Progress = 0;
        ++Player.Skills[SWORD_FIGHTING];
        Player.send(SystemMessage(TALK_EVENT_STATUS, "You advanced in sword fighting."));
    }
    Player.send(PlayerSkillsMessage(Player.Skills, Player.SkillProgress));
}

// One round: the player's blow, and the target's when it fights back. A creature brought to nothing yields
// and stands again whole.
void Round(TGameWorld& World, TPlayer& Player, TCreature& Target) {
    if (TPlayer* Victim = IsPlayerCreature(Target.Id) ? World.player(Target.Id) : nullptr) {
        Wound(World, *Victim, static_cast<uint16_t>(Victim->Values.MaxHitpoints * HIT / 100));
    } else {
        Target.Health = static_cast<uint8_t>(std::max(Target.Health - HIT, 0));
        ShowHealth(World, Target, HIT);
    }
    Train(Player);
    if (Target.Strikes > 0) {
        Player.send(CreatureMarkMessage(Target.Id, MARK_ATTACKER));
        Wound(World, Player, Target.Strikes);
    }
    if (Target.Health > 0 || IsPlayerCreature(Target.Id)) return;
    Reward(Player, Target.Name);
    EndFight(Player);
    Target.Health = 100;
    World.toViewers(Target.Position,
                    [&](TPlayer& Viewer) { Viewer.send(CreatureHealthMessage(Target.Id, Target.Health)); });
}

// A player who attacks an unmarked player is marked with a white skull, which every client sees.
void MarkAggressor(TGameWorld& World, TPlayer& Player, const TCreature& Target) {
    TCreature& Creature = World.creature(Player);
    if (!IsPlayerCreature(Target.Id) || Target.Skull != SKULL_NONE || Creature.Skull != SKULL_NONE) return;
    Creature.Skull = SKULL_WHITE;
    World.toViewers(Creature.Position,
                    [&](TPlayer& Viewer) { Viewer.send(CreatureSkullMessage(Creature.Id, Creature.Skull)); });
}

void FightModes(TGameWorld&, TPlayer& Actor, const TClientCommand& Command) {
    Actor.AttackMode = Command.AttackMode;
    Actor.ChaseMode = Command.ChaseMode;
    Actor.SecureMode = Command.SecureMode;
}

void Attack(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    if (Command.CreatureId == 0) return EndFight(Actor);
    const TCreature* Target = World.world().creature(Command.CreatureId);
    if (!Target || !Target->Present || Target->Id == Actor.Id || !Actor.sees(Target->Position))
        return EndFight(Actor);
    if (IsPlayerCreature(Target->Id) && Target->Skull == SKULL_NONE && Actor.SecureMode != 0) {
        Actor.send(SystemMessage(TALK_STATUS_ONLY,
                                 "Turn secure mode off if you really want to attack unmarked players."));
        return EndFight(Actor);
    }
    MarkAggressor(World, Actor, *Target);
    Actor.FollowTarget = 0; // attacking and following exclude each other
    Actor.AttackTarget = Target->Id;
    Actor.NextRoundAt = World.now();
    Actor.send(PlayerStateMessage(STATE_IN_FIGHT));
    FightOn(World, Actor);
}

// The client has already taken the creature as its follow target and dropped its attack target, so the
// fight ends without a word; a refused follow ends the client's follow target. Follow 0 stops following.
// The steps come on the world's clock (FollowOn).
void Follow(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    if (Actor.AttackTarget != 0) LeaveFight(Actor);
    const TCreature* Target = World.world().creature(Command.CreatureId);
    const bool Followable =
        Target && Target->Present && Target->Id != Actor.Id && Actor.sees(Target->Position);
    Actor.FollowTarget = Followable ? Target->Id : 0;
    if (!Followable && Command.CreatureId != 0) Actor.send(ClearTargetMessage());
}

void Cancel(TGameWorld&, TPlayer& Actor, const TClientCommand&) {
    Actor.FollowTarget = 0;
    Actor.Path.clear();
    if (Actor.AttackTarget != 0) EndFight(Actor);
}

} // namespace

void FightOn(TGameWorld& World, TPlayer& Player) {
    if (World.now() < Player.NextRoundAt) return;
    TCreature* Target = World.world().creature(Player.AttackTarget);
    if (!Target || !Target->Present || !Player.sees(Target->Position)) return EndFight(Player);
    const std::chrono::milliseconds Interval = World.options().FightInterval;
    Round(World, Player, *Target);
    if (Interval.count() == 0 && Player.AttackTarget != 0) return EndFight(Player);
    Player.NextRoundAt = World.now() + Interval;
}

void FollowOn(TGameWorld& World, TPlayer& Player) {
    if (!Player.Path.empty()) return;
    const TCreature* Target = World.world().creature(Player.FollowTarget);
    const TPosition Here = World.creature(Player).Position;
    if (!Target || !Target->Present || !Player.sees(Target->Position) || Target->Position.Z != Here.Z) {
        Player.FollowTarget = 0;
        return Player.send(ClearTargetMessage());
    }
    const int dx = Target->Position.X - Here.X, dy = Target->Position.Y - Here.Y;
    if (std::abs(dx) <= 1 && std::abs(dy) <= 1) return;
    const int sx = (dx > 0) - (dx < 0), sy = (dy > 0) - (dy < 0);
    const TWorld& Fields = World.world();
    for (const auto& [x, y] : {std::pair{sx, sy}, std::pair{sx, 0}, std::pair{0, sy}}) {
        const TPosition To{Here.X + x, Here.Y + y, Here.Z};
        if ((x == 0 && y == 0) || !Fields.enterable(To) || Fields.floorChange(To)) continue;
        Player.Path.push_back(static_cast<uint8_t>(StepTo(x, y)));
        return;
    }
}

void AddCombat(THandlers& Handlers) {
    Handlers.add(COMMAND_FIGHT_MODES, FightModes);
    Handlers.add(COMMAND_ATTACK, Attack);
    Handlers.add(COMMAND_FOLLOW, Follow);
    Handlers.add(COMMAND_CANCEL, Cancel);
}

} // namespace testserver
