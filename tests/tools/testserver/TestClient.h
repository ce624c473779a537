// A tiny client for the test server's tests, written from the wire layouts with its own XTEA and OpenSSL's
// public-key RSA, so that it shares no code with the server it checks.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace testclient {

using TBytes = std::vector<uint8_t>;
using TKey = std::array<uint8_t, 16>;

// Plain XTEA, 32 cycles, words little-endian from the bytes; Data.size() a multiple of 8.
void ReferenceEncipher(const TKey& Key, std::span<uint8_t> Data);
void ReferenceDecipher(const TKey& Key, std::span<uint8_t> Data);

// Raw RSA with the public key of tools/testserver/keys/modulus.txt and exponent 65537.
std::array<uint8_t, 128> PublicEncipher(const std::array<uint8_t, 128>& Plain);
std::string ModulusText(); // the decimal modulus as the client holds it

// Little-endian appenders.
void Put16(TBytes& Out, uint16_t Value);
void Put32(TBytes& Out, uint32_t Value);
void PutString(TBytes& Out, std::string_view Text);

// Checked little-endian reads; a read past the end marks the reader failed and yields zeros.
class TReader {
public:
    explicit TReader(std::span<const uint8_t> Data) : Data(Data) {}
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    std::string string();
    bool failed() const { return Failed; }
    size_t remaining() const { return Data.size() - Position; }

private:
    bool take(size_t Count);
    std::span<const uint8_t> Data;
    size_t Position = 0;
    bool Failed = false;
};

// Command 1 with the RSA block filled at random behind the fields; a whole plain frame.
struct TLoginFields {
    TKey Key{};
    uint32_t Account = 0;
    std::string Password;
    uint16_t Version = 772;
    uint32_t Signatures[3] = {0, 0, 0};
};
TBytes LoginServerFrame(const TLoginFields& Fields);
// Command 10.
TBytes GameServerFrame(const TKey& Key, uint8_t Gamemaster, uint32_t Account, std::string_view Name,
                       std::string_view Password);
// An enciphered client frame around Message.
TBytes CommandFrame(const TKey& Key, std::span<const uint8_t> Message);
TKey RandomKey();

// One blocking TCP connection to 127.0.0.1 with time limits.
class TConnection {
public:
    explicit TConnection(uint16_t Port);
    ~TConnection();
    bool connected() const { return Fd >= 0; }
    bool send(std::span<const uint8_t> Data);
    // Up to Count bytes within Limit; fewer when the server closed or the time ran out.
    TBytes read(size_t Count, std::chrono::milliseconds Limit = std::chrono::seconds(5));
    // Everything until the server closes, within Limit; nothing when the time ran out first.
    std::optional<TBytes> readToEnd(std::chrono::milliseconds Limit = std::chrono::seconds(5));
    // The messages of the next server frame, deciphered; nothing on a broken frame or none within Limit.
    std::optional<TBytes> readFrame(const TKey& Key,
                                    std::chrono::milliseconds Limit = std::chrono::seconds(5));

private:
    int Fd = -1;
};

// Splits a run of server frames into their deciphered message bytes; nothing when a frame is broken.
std::optional<std::vector<TBytes>> OpenFrames(const TKey& Key, std::span<const uint8_t> Bytes);

} // namespace testclient
