// The live world that every game session of a server shares when it plays the same world setup: the
// village with its townsfolk and a player creature for each session, one lock over all of it, and the
// services the roads' handlers use to answer and to tell other players.
#pragma once

#include "tools/testserver/ClientCommands.h"
#include "tools/testserver/Game.h"
#include "tools/testserver/GameMessages.h"
#include "tools/testserver/WorldPlayer.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace testserver {

// A character's body positions 1..10; 0 unused.
using TBody = std::array<TThing, BODY_POSITIONS + 1>;

class TGameWorld {
public:
    using TClock = std::chrono::steady_clock;

    // CreatureSteps: the townsfolk steps asked for since the server started; may be null.
    TGameWorld(std::shared_ptr<const TWorldSetup> Setup, const std::atomic<uint32_t>* CreatureSteps);

    // The sessions' side; each call takes the world's lock.

    struct TLogin {
        std::string Name;
        uint32_t Account = 0;
        bool Gamemaster = false;
    };
    // Puts the character on the start field, or the nearest free field to it; its entry messages wait in its
    // outbox and every player who sees the field sees it appear. Null when a player of that name is in the
    // world already. Throws TWireError when no field near the start is free.
    std::shared_ptr<TPlayer> enter(const TLogin& Login, TClock::time_point Now);
    // Takes the player out of the world; the others see it disappear. Nothing when it has left already.
    void leave(TPlayer& Player);
    // Answers a known command by the handler table; the player's outbox.
    TOutbox act(TPlayer& Player, const TClientCommand& Command, TClock::time_point Now);
    // Takes the townsfolk steps that are due (asked for, or by the world's clock) and the player's due
    // walking steps; the player's outbox.
    TOutbox tick(TPlayer& Player, TClock::time_point Now);
    // Runs Look under the lock (tests inspect the world with it).
    void inspect(const std::function<void(const TGameWorld&)>& Look) const;
    // Runs Act under the lock as one action of the world, as a handler runs (tests and the server's own
    // requests act on the world with it); what it sends goes out at each session's next slice.
    void perform(const std::function<void(TGameWorld&)>& Act);

    // The handlers' side; called with the lock held.

    TWorld& world() { return World; }
    const TWorld& world() const { return World; }
    const TWorldOptions& options() const { return Setup->Options; }
    TClock::time_point now() const { return Now; } // of the command or tick being handled
    // Minutes since midnight by the world's clock, which starts at the first player's arrival.
    int timeOfDay() const;
    // A player in the world by name, without regard to case, or by creature id; null when there is none.
    TPlayer* player(std::string_view Name);
    TPlayer* player(uint32_t Id);
    const std::vector<std::shared_ptr<TPlayer>>& players() const { return Players; }
    // The player's creature; it exists while the player is in the world.
    TCreature& creature(const TPlayer& Player) { return *World.creature(Player.Id); }
    // The character's body positions; kept by name while the character is away.
    TBody& body(const TPlayer& Player);
    // Calls Send for every player whose client sees Where.
    void toViewers(TPosition Where, const std::function<void(TPlayer&)>& Send);
    // Shows a creature appearing, stepping or disappearing to every player who sees it, but Except.
    void showCreatureChange(const TCreature& Creature, const TCreatureChange& Change,
                            const TPlayer* Except = nullptr);
    // The object a command of Player names: on a map field, in its body or in one of its open containers.
    const TThing* thingAt(const TPlayer& Player, const TPlace& Place, uint8_t StackPosition);
    // The VIP list of an account: the names of the characters on it, kept while the world lives.
    std::vector<std::string>& vips(uint32_t Account) { return Vips[Account]; }
    // A new statement number; one counter for the whole world, as reports refer to them.
    uint32_t nextStatement() { return ++Statement; }

private:
    TPosition freeFieldNear(TPosition Start) const;
    uint32_t freeId(std::string_view Name) const;
    TCreature& addPlayerCreature(const TPlayer& Player, TPosition Where);
    void sendEntry(TPlayer& Player);
    void remove(TPlayer& Player);
    void stepCreatures();
    void endAction();

    mutable std::mutex Mutex;
    std::shared_ptr<const TWorldSetup> Setup;
    const std::atomic<uint32_t>* CreatureSteps;
    TWorld World;
    std::vector<std::shared_ptr<TPlayer>> Players;
    std::map<std::string, TBody> Bodies;               // by lower-case character name
    std::map<uint32_t, std::vector<std::string>> Vips; // by account
    uint32_t Statement = 0;
    uint32_t StepsDone = 0;              // of CreatureSteps
    TClock::time_point NextCreatureStep; // by the world's clock
    TClock::time_point Started{};        // the first player's arrival; the time of day counts from it
    TClock::time_point Now;
};

// The live worlds of a server, one per world setup its plans play; each is made by the first session that
// plays its setup and lives as long as the registry.
class TWorldRegistry {
public:
    explicit TWorldRegistry(const std::atomic<uint32_t>* CreatureSteps) : CreatureSteps(CreatureSteps) {}
    std::shared_ptr<TGameWorld> of(const std::shared_ptr<const TWorldSetup>& Setup);

private:
    std::mutex Mutex;
    const std::atomic<uint32_t>* CreatureSteps;
    std::map<const TWorldSetup*, std::shared_ptr<TGameWorld>> Worlds; // each world keeps its setup alive
};

} // namespace testserver
