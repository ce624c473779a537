// The test server's XTEA-ECB cipher in the client's byte order, over libtomcrypt.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

union Symmetric_key;

namespace testserver {

using TXteaKey = std::array<uint8_t, 16>;

// Key word i is bytes 4i..4i+3 little-endian, and so are the two words of each 8-byte block. libtomcrypt
// reads both big-endian, so every 32-bit word is byte-swapped on the way in and out.
class TXteaCipher {
public:
    explicit TXteaCipher(const TXteaKey& Key);
    ~TXteaCipher();
    TXteaCipher(const TXteaCipher&) = delete;
    TXteaCipher& operator=(const TXteaCipher&) = delete;

    // Data.size() must be a multiple of 8; each block is handled by itself, in place.
    void encipher(std::span<uint8_t> Data) const;
    void decipher(std::span<uint8_t> Data) const;

private:
    std::unique_ptr<Symmetric_key> Schedule;
};

} // namespace testserver
