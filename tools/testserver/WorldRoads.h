// The table from command byte to the world's handler, and the roads that fill it: one file of handlers per
// road of play, each adding its commands through its Add function.
#pragma once

#include "tools/testserver/ClientCommands.h"
#include "tools/testserver/World.h"

#include <array>
#include <cstdint>
#include <string>

namespace testserver {

class TGameWorld;
class TPlayer;
struct TThing;

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
// The own private chat channel (open, invite, exclude); the requests (process, remove, cancel) and the
// gamemaster's rule violation report.
void AddChatOwnChannel(THandlers& Handlers);
void AddChatRequests(THandlers& Handlers);
void AddSocial(THandlers& Handlers); // VIP list, party, outfit
void AddCombat(THandlers& Handlers); // fight modes, attack, follow, cancel
void AddTexts(THandlers& Handlers);  // edit text, edit list
void AddItems(THandlers& Handlers);  // move, use with, use on a creature, rotate
void AddTrade(THandlers& Handlers);  // trade, look at an offer, accept, close

// Using an item alone by the world's use rules; the use of a container opens it instead.
void UseAlone(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command);
// The answer to looking at a thing (null: nothing there) for the player who looks.
std::string LookText(TGameWorld& World, const TPlayer& Actor, const TThing* Thing);
// Ends a trade the player takes part in, as when it is cancelled; when it leaves the world.
void CancelTrade(TGameWorld& World, TPlayer& Player);

// Session: asks the player's client for a sign of life; its answer clears Player.PingPending.
void Ping(TPlayer& Player);

// Walking: the steps of the player's path that are due; the world's clock calls it between commands.
void WalkOn(TGameWorld& World, TPlayer& Player);
// Fighting: the round against the player's target when one is due; the world's clock calls it too.
void FightOn(TGameWorld& World, TPlayer& Player);
// Following: while the followed creature is seen on the player's floor more than a field away, the next
// step toward it (straight, else along one axis, never onto a floor change) when the player's path is
// walked; the follow ends when the creature is out of sight. The world's clock calls it.
void FollowOn(TGameWorld& World, TPlayer& Player);
// Light: the ambient light of the world's time of day, sent when it differs from what the client has.
void ShineOn(TGameWorld& World, TPlayer& Player);

// Social: the VIP list of the player's account and the notices to the lists that hold it, as it enters and
// as it leaves (which also takes it out of its party).
void EnterSocial(TGameWorld& World, TPlayer& Player);
void LeaveSocial(TGameWorld& World, TPlayer& Player);

// Texts: the readable thing of Type at Where shown in the text or list dialog; false when no text lies there.
bool ShowText(TGameWorld& World, TPlayer& Actor, TPosition Where, uint16_t Type);

} // namespace testserver
