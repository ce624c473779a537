// What the chat roads keep of one player: the channels it has joined, its own private chat channel with the
// names invited to it, and its open rule-violation request.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace testserver {

// A request from filing until a gamemaster removes it, the player cancels it or the player leaves.
struct TChatRequest {
    std::string Text;
    std::chrono::steady_clock::time_point Filed;
    uint32_t Statement = 0;
    std::string Gamemaster; // the name of the gamemaster who took it up; empty while it waits in the queue
};

struct TChatState {
    std::set<uint16_t> Channels;   // joined public and private chat channels and the request queue
    uint16_t OwnChannel = 0;       // the own private chat channel; 0 while it is not open
    std::set<std::string> Invited; // to the own channel, in lower case
    std::optional<TChatRequest> Request;
};

} // namespace testserver
