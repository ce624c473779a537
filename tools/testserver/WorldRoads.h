// The table from command byte to the world's handler, and the roads that fill it: one file of handlers per
// road of play, each adding its commands through its Add function.
#pragma once

#include "tools/testserver/ClientCommands.h"

#include <array>
#include <cstdint>

namespace testserver {

class TGameWorld;
class TPlayer;

// Answers one decoded command of Actor. Runs under the world's lock: it may change the world, send to the
// actor, to another player (found by name or id) or to every player who sees a field; see TGameWorld.
using THandler = void (*)(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command);

class THandlers {
public:
    // Throws std::logic_error when another road has taken the command already.
    void add(uint8_t Command, THandler Handler);
    // Null for a command that no road answers.
    THandler find(uint8_t Command) const { return Table[Command]; }

private:
    std::array<THandler, 256> Table{};
};

// The table of every road, built once.
const THandlers& Handlers();

// The roads (WorldX.cpp each).
void AddSession(THandlers& Handlers);    // logout, the ping's answer
void AddWalking(THandlers& Handlers);    // walk, steps, stop, turns, refresh field
void AddLooking(THandlers& Handlers);    // look
void AddContainers(THandlers& Handlers); // use, close, up and refresh container
void AddChat(THandlers& Handlers);       // talk, channels

// Session: asks the player's client for a sign of life; its answer clears Player.PingPending.
void Ping(TPlayer& Player);

// Walking: the steps of the player's path that are due; the world's clock calls it between commands.
void WalkOn(TGameWorld& World, TPlayer& Player);

} // namespace testserver
