// What a world plan plays: the village built from the object types, the options of its world, and the
// numbers every player's client is told (creature ids, the beat).
#pragma once

#include "tools/testserver/World.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace testserver {

struct TWorldOptions {
    std::optional<TPosition> Start;                // the first field of players; the village's own when empty
    std::chrono::milliseconds CreatureInterval{0}; // creatures also step on this clock; 0: only on request
    bool PaceWalking = false; // walk a path one step per step duration, as a real server, not all at once
    std::chrono::milliseconds FightInterval{1000}; // between the rounds of a fight; 0: one round per attack
    std::chrono::minutes DayStart{12 * 60};        // the world's time of day when the server starts
    int DaySpeed = 0; // world minutes that pass in a second: 0 keeps the time of day standing
};

// The village as built from the types, and the options: the start of every live world of a server that
// plays this setup (one per setup, shared by its game sessions).
struct TWorldSetup {
    TWorld Village;
    TWorldOptions Options;
};

// Reads the object types and builds the village; throws TDataFileError.
std::shared_ptr<const TWorldSetup> LoadWorld(const std::string& DatFile, TWorldOptions Options = {});
// The Ebrun.dat that this build generates; empty when the build generates none.
std::string DefaultDatFile();

// The creature id of a player character: the same for every spelling of the name without regard to case,
// from 0x10000000 up to below 0x40000000 (the player ids). Two names may meet on one id; the world then
// gives the later one the next free id.
constexpr uint32_t PlayerId(std::string_view Name) {
    uint32_t Hash = 2166136261u; // FNV-1a
    for (char c : Name) {
        Hash ^= static_cast<uint8_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        Hash *= 16777619u;
    }
    return 0x10000000u + Hash % 0x30000000u;
}

inline constexpr uint32_t PLAYER_ID = PlayerId("Aldric"); // the first character of the default login
inline constexpr uint16_t BEAT_MS = 50;

} // namespace testserver
