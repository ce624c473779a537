// Builders of the game server's messages that the world sends, one per message type, type byte first. All
// numbers are little-endian; a position is u16 x, u16 y, u8 z; a string is a u16 length and its bytes.
#pragma once

#include "tools/testserver/Wire.h"
#include "tools/testserver/World.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace testserver {

// Creature words inside a field description.
inline constexpr uint16_t UNKNOWN_CREATURE = 97;
inline constexpr uint16_t KNOWN_CREATURE = 99;

// Talk modes the world uses.
enum TTalkMode : uint8_t {
    TALK_SAY = 1,
    TALK_WHISPER = 2,
    TALK_YELL = 3,
    TALK_PRIVATE_MESSAGE = 4,
    TALK_CHANNEL_CALL = 5,
    TALK_GAMEMASTER_REQUEST = 6,
    TALK_GAMEMASTER_ANSWER = 7,
    TALK_PLAYER_ANSWER = 8,
    TALK_GAMEMASTER_BROADCAST = 9,
    TALK_GAMEMASTER_CHANNELCALL = 10,
    TALK_GAMEMASTER_MESSAGE = 11,
    TALK_ANONYMOUS_BROADCAST = 13,
    TALK_ANONYMOUS_CHANNELCALL = 14,
    TALK_ANONYMOUS_MESSAGE = 15,
    TALK_ADMIN_MESSAGE = 18,
    TALK_EVENT_STATUS = 20, // the status line, and the console's default tab by default
    TALK_STATUS_ONLY = 23,  // the status line only
};

// A position: u16 x, u16 y, u8 z.
TWireWriter& WritePosition(TWireWriter& Writer, TPosition Where);
// An item: u16 type, then the data byte once for each of the type's data flags (count, liquid).
void WriteItem(TWireWriter& Writer, const TObjectTypes& Types, const TThing& Item);
// A creature inside a field: Known false gives word 97, u32 id to replace (0), u32 id, string name and the
// full block: u8 health, u8 facing, u16 outfit, four u8 colours, u8 light, u8 light colour, u16 speed,
// u8 skull, u8 shield (the party shield as this receiver sees the creature). Known true gives word 99, u32
// id, u8 facing.
void WriteCreature(TWireWriter& Writer, const TCreature& Creature, bool Known, uint8_t Shield = 0);

TMessage EnterGameMessage(uint32_t PlayerId, uint16_t BeatMs, bool BugReports); // 10
TMessage PingMessage();                                                         // 30

// 100: the view position, then the whole box (18 x 14 fields on every floor of the area).
TMessage FullMapMessage(TPosition View, std::span<const uint8_t> Fields);
// 101 north, 102 east, 103 south, 104 west: the row or column that comes into view, on every floor.
enum class TSlice : uint8_t { North = 101, East = 102, South = 103, West = 104 };
TMessage MapSliceMessage(TSlice Side, std::span<const uint8_t> Fields);
TMessage FieldMessage(TPosition Where, std::span<const uint8_t> Field);      // 105
TMessage AddObjectMessage(TPosition Where, std::span<const uint8_t> Object); // 106
TMessage ChangeObjectMessage(TPosition Where, uint8_t StackPosition,
                             std::span<const uint8_t> Object);                     // 107
TMessage DeleteObjectMessage(TPosition Where, uint8_t StackPosition);              // 108
TMessage MoveCreatureMessage(TPosition From, uint8_t StackPosition, TPosition To); // 109
// 190 floor up, 191 floor down: the box floors that come into view, whole.
TMessage FloorUpMessage(std::span<const uint8_t> Floors);
TMessage FloorDownMessage(std::span<const uint8_t> Floors);
TMessage WalkCancelMessage(uint8_t Facing); // 181

// 110: u8 container number, u16 type, string name, u8 capacity, u8 has parent, u8 count, count items.
// Throws TWireError for more than 255 items.
TMessage OpenContainerMessage(uint8_t Number, uint16_t Type, std::string_view Name, uint8_t Capacity,
                              bool HasParent, std::span<const TThing> Items, const TObjectTypes& Types);
TMessage CloseContainerMessage(uint8_t Number);                                 // 111
TMessage SetBodyMessage(uint8_t BodyPosition, std::span<const uint8_t> Object); // 120

TMessage AmbientLightMessage(uint8_t Brightness, uint8_t Color);    // 130
TMessage GraphicEffectMessage(TPosition Where, uint8_t EffectType); // 131

struct TPlayerValues {
    uint16_t Hitpoints = 150, MaxHitpoints = 150, Capacity = 400;
    uint32_t Experience = 4200;
    uint16_t Level = 8;
    uint8_t LevelProgress = 30;
    uint16_t Mana = 35, MaxMana = 35;
    uint8_t MagicLevel = 3, MagicLevelProgress = 20, SoulPoints = 100;
};
TMessage PlayerDataMessage(const TPlayerValues& Values); // 160, the fields in the order above
// 161: seven skills, each u8 level and u8 progress.
TMessage PlayerSkillsMessage(const std::array<uint8_t, 7>& Levels, const std::array<uint8_t, 7>& Progress);
TMessage PlayerStateMessage(uint8_t Flags); // 162

// 170 for say, whisper and yell: u32 statement, string speaker, u8 mode, the speaker's position, string text.
TMessage TalkMessage(uint32_t Statement, std::string_view Speaker, uint8_t Mode, TPosition Where,
                     std::string_view Text);
// 170 for a private statement (modes 4, 7, 8, 9, 11): u32 statement, string speaker, u8 mode, string text.
TMessage PrivateTalkMessage(uint32_t Statement, std::string_view Speaker, uint8_t Mode,
                            std::string_view Text);
// 170 for a channel statement: u32 statement, string speaker, u8 mode, u16 channel, string text.
TMessage ChannelTalkMessage(uint32_t Statement, std::string_view Speaker, uint8_t Mode, uint16_t Channel,
                            std::string_view Text);
struct TChannel {
    uint16_t Id;
    std::string_view Name;
};
// 171: u8 count, then u16 id and string name each. Throws TWireError for more than 255 channels.
TMessage ChannelListMessage(std::span<const TChannel> Channels);
TMessage OpenChannelMessage(uint16_t Channel, std::string_view Name);    // 172
TMessage OpenPrivateChannelMessage(std::string_view Name);               // 173
TMessage OpenOwnChannelMessage(uint16_t Channel, std::string_view Name); // 178
TMessage SystemMessage(uint8_t Mode, std::string_view Text);             // 180

} // namespace testserver
