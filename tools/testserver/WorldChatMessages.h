// Builders of the game server's messages of the chat roads that GameMessages.h does not have: the
// gamemaster's rights, the request queue and its requests, and the end of a request or a channel.
#pragma once

#include "tools/testserver/Wire.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace testserver {

// Rule-violation reasons a gamemaster holds rights of; each right's mask allows actions by bit.
inline constexpr size_t RULE_VIOLATION_REASONS = 32;

// What a gamemaster of the world holds: every reason with every action (bit 7 the IP banishment).
inline constexpr std::array<uint8_t, RULE_VIOLATION_REASONS> GAMEMASTER_RIGHTS = [] {
    std::array<uint8_t, RULE_VIOLATION_REASONS> Masks{};
    Masks.fill(0xFF);
    return Masks;
}();

// 11: one action mask per reason.
TMessage RightsMessage(const std::array<uint8_t, RULE_VIOLATION_REASONS>& Masks);
// 170 for a request in the queue: u32 statement, string speaker, u8 mode 6, u32 seconds since it was filed,
// string text.
TMessage RequestTalkMessage(uint32_t Statement, std::string_view Speaker, uint32_t Seconds,
                            std::string_view Text);
TMessage RequestQueueMessage(uint16_t Channel);         // 174
TMessage RequestTakenMessage(std::string_view Name);    // 175: the player's request left the queue
TMessage RequestFinishedMessage(std::string_view Name); // 176: the player ended the request
TMessage RequestClosedMessage();                        // 177: a gamemaster ended the own request
TMessage ChannelClosedMessage(uint16_t Channel);        // 179

} // namespace testserver
