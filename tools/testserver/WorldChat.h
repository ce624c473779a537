// What the chat road files share: the channels a player may see and join, the own private chat channels and
// the rule-violation requests that the talk command reaches by mode.
#pragma once

#include "tools/testserver/ClientCommands.h"
#include "tools/testserver/GameMessages.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testserver {

class TGameWorld;
class TPlayer;

// The gamemasters' queue of open requests, offered in their channel list.
inline constexpr uint16_t REQUEST_QUEUE = 3;
// Private chat channels take identifiers from here on; the client counts 8 and above as private.
inline constexpr uint16_t FIRST_PRIVATE_CHANNEL = 100;

// The online player whose own private chat channel Channel is; null when none.
TPlayer* OwnerOf(TGameWorld& World, uint16_t Channel);
std::string OwnChannelName(const TPlayer& Owner);
// Whether Player may join Owner's channel: the owner and the invited.
bool MayJoin(const TPlayer& Owner, const TPlayer& Player);
// The private chat channels Player is invited to, for its channel list.
std::vector<std::pair<uint16_t, std::string>> InvitedChannels(TGameWorld& World, const TPlayer& Player);

// The request queue: Actor, a gamemaster, opens it and gets the requests that wait.
void OpenRequestQueue(TGameWorld& World, TPlayer& Actor);
// Talk in the modes of requests: 6 files one, 7 is a gamemaster's answer, 8 the player's.
void RequestTalk(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command);

} // namespace testserver
