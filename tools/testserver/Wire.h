// The test server's own byte layer: little-endian message writer and reader, and frame sealing and opening.
#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace testserver {

class TXteaCipher;

// A peer's bytes that break the wire format, or a script that cannot be put on the wire.
class TWireError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One server message or client command, type byte first.
using TMessage = std::vector<uint8_t>;

// The largest enciphered part of a server frame that fits the client's 16,384-byte receive buffer.
inline constexpr size_t MAX_SERVER_FRAME_BODY = 16382;
// The largest frame body a client can send: its send buffer of 2,048 bytes less the outer length word.
inline constexpr size_t MAX_CLIENT_FRAME_BODY = 2046;

// Appends little-endian values; strings as a u16 length and the bytes without terminator.
class TWireWriter {
public:
    TWireWriter& u8(uint8_t Value);
    TWireWriter& u16(uint16_t Value);
    TWireWriter& u32(uint32_t Value);
    TWireWriter& string(std::string_view Text); // throws TWireError above 65,535 bytes
    TWireWriter& bytes(std::span<const uint8_t> Data);

    const std::vector<uint8_t>& data() const { return Data; }
    std::vector<uint8_t> take() { return std::move(Data); }

private:
    std::vector<uint8_t> Data;
};

// Reads little-endian values from a span it does not own; every overrun throws TWireError.
class TWireReader {
public:
    explicit TWireReader(std::span<const uint8_t> Data) : Data(Data) {}

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    std::string string();
    std::span<const uint8_t> bytes(size_t Count);

    size_t position() const { return Position; }
    size_t remaining() const { return Data.size() - Position; }

private:
    std::span<const uint8_t> take(size_t Count);

    std::span<const uint8_t> Data;
    size_t Position = 0;
};

// A server frame: u16 L, then L bytes of XTEA-ECB over u16 P, the P message bytes and random padding up to
// a multiple of 8. InnerLength, when given, is written in place of P (to send a broken frame on purpose).
// Throws TWireError when the messages do not fit one frame.
std::vector<uint8_t> SealFrame(const TXteaCipher& Cipher, std::span<const uint8_t> Messages,
                               std::mt19937& Random, const uint16_t* InnerLength = nullptr);

// Deciphers the L bytes behind a client frame's length word in place and returns its P message bytes.
// Throws TWireError when L is 0 or not a multiple of 8, or P does not fit in L - 2.
std::span<const uint8_t> OpenFrame(const TXteaCipher& Cipher, std::span<uint8_t> Body);

} // namespace testserver
