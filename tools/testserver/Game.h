// One player's game in its own copy of the world: the messages that entering, each client command and each
// creature step send, with the view position the client holds after them. No input or output of its own;
// the world session carries the messages.
#pragma once

#include "tools/testserver/ClientCommands.h"
#include "tools/testserver/GameMessages.h"
#include "tools/testserver/MapView.h"
#include "tools/testserver/World.h"

#include <array>
#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testserver {

struct TWorldOptions {
    std::optional<TPosition> Start;                // the player's first field; the village's own when empty
    std::chrono::milliseconds CreatureInterval{0}; // creatures also step on this clock; 0: only on request
    bool PaceWalking = false; // walk a path one step per step duration, as a real server, not all at once
};

// What every session of a world shares: the village as built from the types, and the options.
struct TWorldSetup {
    TWorld Village;
    TWorldOptions Options;
};

// Reads the object types and builds the village; throws TDataFileError.
std::shared_ptr<const TWorldSetup> LoadWorld(const std::string& DatFile, TWorldOptions Options = {});
// The Ebrun.dat that this build generates; empty when the build generates none.
std::string DefaultDatFile();

inline constexpr uint32_t PLAYER_ID = 0x10000001;
inline constexpr uint16_t BEAT_MS = 50;
inline constexpr uint16_t OWN_CHANNEL = 100;

class TGame {
public:
    using TClock = std::chrono::steady_clock;

    // Throws TWireError when the start field cannot take the player.
    TGame(const TWorldSetup& Setup, std::string PlayerName);

    // Enter game, the full map, light, body, player values, a welcome line.
    std::vector<TMessage> enter();
    // The answer to one command; nothing for a command the world does not answer.
    std::vector<TMessage> handle(const TClientCommand& Command, TClock::time_point Now);
    // One action of every townsperson's script.
    std::vector<TMessage> stepCreatures();
    // The steps of the path that are due by Now: all of them, or with paced walking the next one once the
    // last one has ended.
    std::vector<TMessage> walkOn(TClock::time_point Now);
    // When the next paced step is due; nothing when no path waits.
    std::optional<TClock::time_point> nextStepAt() const;
    bool loggedOut() const { return LoggedOut; }

    const TWorld& world() const { return World; }
    TPosition view() const { return View; }
    const TCreature& player() const;

private:
    TCreature& me();
    void step(int Code, TClock::time_point Now, std::vector<TMessage>& Out);
    void follow(TPosition From, TPosition To, bool Covered, std::vector<TMessage>& Out);
    void slice(TSlice Side, std::vector<TMessage>& Out);
    void floorUp(std::vector<TMessage>& Out);
    void floorDown(std::vector<TMessage>& Out);
    TMessage fullMap();
    std::vector<uint8_t> creatureBytes(const TCreature& Creature);
    void showCreatureChange(const TCreature& Creature, const TCreatureChange& Change,
                            std::vector<TMessage>& Out);

    const TThing* thingAt(const TPlace& Place, uint8_t StackPosition) const;
    std::vector<TMessage> look(const TClientCommand& Command) const;
    std::vector<TMessage> use(const TClientCommand& Command);
    std::vector<TMessage> talk(const TClientCommand& Command);
    std::vector<TMessage> openContainer(uint8_t Number, int Index);
    std::vector<TMessage> containerCommand(const TClientCommand& Command);
    std::vector<TMessage> channelCommand(const TClientCommand& Command);
    std::vector<TMessage> turn(uint8_t Facing);

    TWorld World;
    TWorldOptions Options;
    std::string PlayerName;
    TPosition View{};
    TCreatureBook Known;
    std::array<int, 16> OpenContainers; // container index per window, -1 closed
    std::deque<uint8_t> Path;
    TClock::time_point NextStepAt{};
    uint32_t Statement = 0;
    bool LoggedOut = false;
};

} // namespace testserver
