// Builders of the server messages the test server sends: the login server's answers and the game server's
// session notices. Each returns one message, type byte first, ready to be sealed into a frame.
#pragma once

#include "tools/testserver/Wire.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace testserver {

using TIpv4 = std::array<uint8_t, 4>; // in the order of the dotted text
inline constexpr TIpv4 LOOPBACK = {127, 0, 0, 1};

// One entry of the character list: a character and the game server that holds it.
struct TCharacter {
    std::string Name;
    std::string World;
    TIpv4 Address = LOOPBACK;
    uint16_t Port = 0;
};

// Login phase.
TMessage LoginErrorMessage(std::string_view Text);       // 10, shown as "Sorry"
TMessage LoginInformationMessage(std::string_view Text); // 11, shown as "For Your Information"
// 20: the text "Number\nText"; the client shows it only when Number differs from the last one it showed.
TMessage MessageOfTheDayMessage(uint32_t Number, std::string_view Text);
TMessage LoginRetryMessage(); // 40: try the next login server
// 100; throws TWireError for more than 255 characters.
TMessage CharacterListMessage(std::span<const TCharacter> Characters, uint16_t PremiumDays);

// Game phase.
TMessage GameErrorMessage(std::string_view Text);       // 20, shown as "Sorry"; the client disconnects
TMessage GameInformationMessage(std::string_view Text); // 21
TMessage WaitingListMessage(std::string_view Text, uint8_t Seconds); // 22: reconnect after Seconds

} // namespace testserver
