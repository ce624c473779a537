// The client commands that the world reads, decoded into one record each (what tests assert on as well).
#pragma once

#include "tools/testserver/Wire.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace testserver {

enum TCommand : uint8_t {
    COMMAND_LOGOUT = 20,
    COMMAND_PING = 30,
    COMMAND_WALK = 100, // u8 count, count direction codes
    COMMAND_STEP_NORTH = 101,
    COMMAND_STEP_EAST = 102,
    COMMAND_STEP_SOUTH = 103,
    COMMAND_STEP_WEST = 104,
    COMMAND_STOP = 105,
    COMMAND_STEP_NORTH_EAST = 106,
    COMMAND_STEP_SOUTH_EAST = 107,
    COMMAND_STEP_SOUTH_WEST = 108,
    COMMAND_STEP_NORTH_WEST = 109,
    COMMAND_TURN_NORTH = 111,
    COMMAND_TURN_EAST = 112,
    COMMAND_TURN_SOUTH = 113,
    COMMAND_TURN_WEST = 114,
    COMMAND_USE = 130,             // place, u16 type, u8 stack position, u8 container number
    COMMAND_CLOSE_CONTAINER = 135, // u8 container number
    COMMAND_UP_CONTAINER = 136,    // u8 container number
    COMMAND_LOOK = 140,            // place, u16 type, u8 stack position
    COMMAND_TALK = 150,            // u8 mode, then by mode: text; addressee, text; u16 channel, text
    COMMAND_GET_CHANNELS = 151,
    COMMAND_JOIN_CHANNEL = 152,    // u16 channel
    COMMAND_LEAVE_CHANNEL = 153,   // u16 channel
    COMMAND_PRIVATE_CHANNEL = 154, // string name
    COMMAND_OPEN_OWN_CHANNEL = 170,
    COMMAND_CANCEL = 190,
    COMMAND_REFRESH_FIELD = 201,     // u16 x, u16 y, u8 z
    COMMAND_REFRESH_CONTAINER = 202, // u8 container number
};

// The place of an object: a map field, a body position (X 0xFFFF, Y 1..10, Z 0) or a slot of an open
// container (X 0xFFFF, Y 64 + container number, Z the slot).
struct TPlace {
    uint16_t X = 0, Y = 0;
    uint8_t Z = 0;
    bool onMap() const { return X != 0xFFFF; }
};

struct TClientCommand {
    uint8_t Type = 0;
    bool Read = false;          // false: a command the world does not read; only Type is set
    std::vector<uint8_t> Steps; // walking directions 1..8 (1 east, counter-clockwise); one for a single step
    TPlace Place;               // use, look, refresh field
    uint16_t ObjectType = 0;    // use, look
    uint8_t StackPosition = 0;  // use, look: the stack position or the slot
    uint8_t Container = 0;      // use: the window to open a container in; close, up, refresh container
    uint8_t Mode = 0;           // talk
    uint16_t Channel = 0;       // channel talk, join, leave
    std::string Name;           // the addressee of private talk; the partner of a private channel
    std::string Text;           // talk
};

// Decodes one command, command byte first; bytes behind its layout are ignored, and so is talk in a mode
// the client never sends. Throws TWireError when a command the world reads is cut short.
TClientCommand ParseClientCommand(std::span<const uint8_t> Message);

} // namespace testserver
