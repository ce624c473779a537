// The test server's own reading of every client command of a game session, decoded into one record each
// (what the world answers and what tests assert on).
#pragma once

#include "tools/testserver/Wire.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace testserver {

// The command bytes and their fields behind the byte. A place is u16 x, u16 y, u8 z; an object at a place
// is the place, u16 type and u8 stack position; a string is a u16 length and its bytes.
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
    COMMAND_MOVE = 120,       // object, place to, u8 count
    COMMAND_TRADE = 125,      // object, u32 creature to trade with
    COMMAND_LOOK_TRADE = 126, // u8 side (0 own offer, 1 counter offer), u8 index in the offer
    COMMAND_ACCEPT_TRADE = 127,
    COMMAND_CLOSE_TRADE = 128,
    COMMAND_USE = 130,             // object, u8 container number to open it in
    COMMAND_USE_WITH = 131,        // object, object it is used on
    COMMAND_USE_ON_CREATURE = 132, // object, u32 creature
    COMMAND_ROTATE = 133,          // object
    COMMAND_CLOSE_CONTAINER = 135, // u8 container number
    COMMAND_UP_CONTAINER = 136,    // u8 container number
    COMMAND_EDIT_TEXT = 137,       // u32 identifier, string text
    COMMAND_EDIT_LIST = 138,       // u8 kind, u32 identifier, string text
    COMMAND_LOOK = 140,            // object
    COMMAND_TALK = 150,            // u8 mode, then by mode: text; addressee, text; u16 channel, text
    COMMAND_GET_CHANNELS = 151,
    COMMAND_JOIN_CHANNEL = 152,    // u16 channel
    COMMAND_LEAVE_CHANNEL = 153,   // u16 channel
    COMMAND_PRIVATE_CHANNEL = 154, // string name
    COMMAND_PROCESS_REQUEST = 155, // string name
    COMMAND_REMOVE_REQUEST = 156,  // string name
    COMMAND_CANCEL_REQUEST = 157,
    COMMAND_FIGHT_MODES = 160, // u8 attack mode, u8 chase mode, u8 secure mode
    COMMAND_ATTACK = 161,      // u32 creature, 0 stops
    COMMAND_FOLLOW = 162,      // u32 creature, 0 stops
    COMMAND_INVITE_TO_PARTY = 163,
    COMMAND_JOIN_PARTY = 164,
    COMMAND_REVOKE_INVITATION = 165,
    COMMAND_PASS_LEADERSHIP = 166, // 163-166: u32 character
    COMMAND_LEAVE_PARTY = 167,
    COMMAND_OPEN_OWN_CHANNEL = 170,
    COMMAND_INVITE_TO_CHANNEL = 171,    // string name
    COMMAND_EXCLUDE_FROM_CHANNEL = 172, // string name
    COMMAND_CANCEL = 190,
    COMMAND_REFRESH_FIELD = 201,     // u16 x, u16 y, u8 z
    COMMAND_REFRESH_CONTAINER = 202, // u8 container number
    COMMAND_GET_OUTFIT = 210,
    COMMAND_SET_OUTFIT = 211, // u16 outfit, u8 head, u8 body, u8 legs, u8 feet
    COMMAND_ADD_VIP = 220,    // string name
    COMMAND_REMOVE_VIP = 221, // u32 character
    COMMAND_BUG_REPORT = 230, // string text
    // string name, u8 reason, u8 action, string comment, u32 statement, u8 IP banishment
    COMMAND_RULE_VIOLATION = 231,
    COMMAND_ERROR_REPORT = 232, // string title, string time, string text, string comment
};

// The place of an object: a map field, a body position (X 0xFFFF, Y 1..10, Z 0) or a slot of an open
// container (X 0xFFFF, Y 64 + container number, Z the slot).
struct TPlace {
    uint16_t X = 0, Y = 0;
    uint8_t Z = 0;
    bool onMap() const { return X != 0xFFFF; }
    bool operator==(const TPlace&) const = default;
};

// One command with every field it carries; the fields its layout lacks stay at their defaults.
struct TClientCommand {
    uint8_t Type = 0;
    bool Known = false;         // a command of this client in a layout it sends: its fields are decoded
    bool Read = false;          // a road of the world acts on it; set by a world session when it records it
    std::string Character;      // the character of the session that sent it; set when it is recorded
    std::vector<uint8_t> Steps; // walking directions 1..8 (1 east, counter-clockwise); one for a single step
    TPlace Place; // the object of move, trade, use, use-with, rotate and look; the refreshed field
    uint16_t ObjectType = 0;
    uint8_t StackPosition = 0;   // the stack position or slot at Place; the index in the offer for 126
    TPlace To;                   // move: the destination; use-with: the second object
    uint16_t ToObjectType = 0;   // use-with
    uint8_t ToStackPosition = 0; // use-with
    uint8_t Count = 0;           // move: pieces of a cumulative object
    uint8_t Container = 0;       // use: the window to open a container in; close, up, refresh container
    uint32_t CreatureId = 0;     // trade, use on creature, attack, follow, party, remove VIP
    uint8_t Side = 0;            // look at a trade offer
    uint32_t Identifier = 0;     // edit text, edit list: as the server's dialog gave it
    uint8_t ListKind = 0;        // edit list
    uint8_t Mode = 0;            // talk
    uint16_t Channel = 0;        // channel talk, join, leave
    std::string Name;            // talk's addressee; the player of 154-156, 171, 172, 220 and the report
    std::string Text;            // talk, edit text and list, bug report, error report
    uint8_t AttackMode = 0, ChaseMode = 0, SecureMode = 0;
    uint16_t Outfit = 0;
    std::array<uint8_t, 4> Colors{};  // head, body, legs, feet
    uint8_t Reason = 0, Action = 0;   // rule violation
    uint32_t StatementId = 0;         // rule violation: the reported statement
    uint8_t IpBanishment = 0;         // rule violation: 1 asks for an IP banishment
    std::string Title, Time, Comment; // error report; Comment also of the rule violation

    bool operator==(const TClientCommand&) const = default;
};

// Character names are compared in lower case (of ASCII letters), as the world finds players by name.
std::string LowerCase(std::string_view Name);
bool SameName(std::string_view a, std::string_view b);

// Decodes one command, command byte first; bytes behind its layout are ignored, and so are the fields of talk
// in a mode the client never sends (Known false, like a byte that is no command). Throws TWireError when a
// command is cut short.
TClientCommand ParseClientCommand(std::span<const uint8_t> Message);

} // namespace testserver
