// The two login commands as the test server reads them: layouts, RSA block fields and their records.
#pragma once

#include "tools/testserver/Rsa.h"
#include "tools/testserver/Wire.h"
#include "tools/testserver/Xtea.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testserver {

inline constexpr uint8_t LOGIN_SERVER_COMMAND = 1;
inline constexpr uint8_t GAME_SERVER_COMMAND = 10;
// Message lengths of the two commands behind their u16 length word.
inline constexpr size_t LOGIN_SERVER_MESSAGE_SIZE = 145;
inline constexpr size_t GAME_SERVER_MESSAGE_SIZE = 133;

// Command 1 as received by a login server.
struct TLoginRecord {
    std::vector<uint8_t> Frame; // the plain frame, length word included
    uint16_t Constant = 0;      // the u16 behind the command byte (2 from this client)
    uint16_t Version = 0;
    uint32_t DatSignature = 0;
    uint32_t SprSignature = 0;
    uint32_t PicSignature = 0;
    TRsaBlock Block{}; // deciphered, random fill included
    TXteaKey Key{};
    uint32_t Account = 0;
    std::string Password;
};

// Command 10 as received by a game server.
struct TGameLoginRecord {
    std::vector<uint8_t> Frame;
    uint16_t Constant = 0;
    uint16_t Version = 0;
    TRsaBlock Block{};
    TXteaKey Key{};
    uint8_t GamemasterFlag = 0;
    uint32_t Account = 0;
    std::string CharacterName;
    std::string Password;
};

// Message: the P bytes of a plain frame, command byte first. Both throw TWireError for a wrong command, a
// wrong message length, a block that does not start with 0 or fields that run past the block.
TLoginRecord ParseLoginServerLogin(std::span<const uint8_t> Message, const TRsaPrivateKey& Key);
TGameLoginRecord ParseGameServerLogin(std::span<const uint8_t> Message, const TRsaPrivateKey& Key);

} // namespace testserver
