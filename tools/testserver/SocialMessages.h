// Builders of the game messages of fighting, parties, looks, texts and the VIP list, type byte first, in the
// layouts of GameMessages.h (little-endian; a position is u16 x, u16 y, u8 z; a string is a u16 length and
// its bytes).
#pragma once

#include "tools/testserver/Wire.h"
#include "tools/testserver/World.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace testserver {

// Skulls (creature field and message 144) and party shields (field and message 145) as the client draws
// them.
enum TSkull : uint8_t { SKULL_NONE = 0, SKULL_YELLOW = 1, SKULL_GREEN = 2, SKULL_WHITE = 3, SKULL_RED = 4 };
// As the viewer sees a player; on the viewer's own creature 1 means it has invited players and no one has
// joined yet, 2 that someone invited it.
enum TShield : uint8_t {
    SHIELD_NONE = 0,
    SHIELD_INVITING = 1, // a leader who invited the viewer
    SHIELD_INVITED = 2,  // a player the viewer invited
    SHIELD_MEMBER = 3,
    SHIELD_LEADER = 4,
};

// Player state bit of message 162 while the player fights.
inline constexpr uint8_t STATE_IN_FIGHT = 0x80;

TMessage TextEffectMessage(TPosition Where, uint8_t Color, std::string_view Text); // 132, at most 9 shown
TMessage CreatureMarkMessage(uint32_t Creature, uint8_t Color);                    // 134
TMessage CreatureHealthMessage(uint32_t Creature, uint8_t Percent);                // 140
// 142: u32 creature, u16 outfit, four u8 colours.
TMessage CreatureOutfitMessage(uint32_t Creature, uint16_t Outfit, const std::array<uint8_t, 4>& Colors);
TMessage CreatureSkullMessage(uint32_t Creature, uint8_t Skull);   // 144
TMessage CreatureShieldMessage(uint32_t Creature, uint8_t Shield); // 145
// 150: u32 identifier, u16 type of the thing that carries the text, u16 longest text it takes, string text,
// string author (empty: none).
TMessage TextDialogMessage(uint32_t Identifier, uint16_t Type, uint16_t MaxLength, std::string_view Text,
                           std::string_view Author);
TMessage ListDialogMessage(uint8_t Kind, uint32_t Identifier, std::string_view Text); // 151
TMessage ClearTargetMessage();                                                        // 163
// 200: u16 outfit, four u8 colours, u16 first and u16 last outfit the player may choose.
TMessage OutfitDialogMessage(uint16_t Outfit, const std::array<uint8_t, 4>& Colors, uint16_t First,
                             uint16_t Last);
TMessage AddVipMessage(uint32_t Character, std::string_view Name, bool Online); // 210
TMessage VipOnlineMessage(uint32_t Character, bool Online);                     // 211 online, 212 offline

} // namespace testserver
