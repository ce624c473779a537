// XTEA-ECB over libtomcrypt with the byte order of the client's wire format.
#include "tools/testserver/Xtea.h"

#include "tools/testserver/Wire.h"

#include <tomcrypt.h>

#include <algorithm>

namespace testserver {

namespace {

void SwapWords(std::span<uint8_t> Data) {
    for (size_t i = 0; i + 4 <= Data.size(); i += 4)
        std::reverse(Data.begin() + i, Data.begin() + i + 4);
}

void CheckBlocks(std::span<uint8_t> Data) {
    if (Data.size() % 8 != 0) throw TWireError("XTEA data of " + std::to_string(Data.size()) + " bytes");
}

} // namespace

TXteaCipher::TXteaCipher(const TXteaKey& Key) : Schedule(std::make_unique<Symmetric_key>()) {
    TXteaKey Swapped = Key;
    SwapWords(Swapped);
    if (xtea_setup(Swapped.data(), static_cast<int>(Swapped.size()), 32, Schedule.get()) != CRYPT_OK)
        throw TWireError("XTEA key set-up failed");
}

TXteaCipher::~TXteaCipher() { xtea_done(Schedule.get()); }

void TXteaCipher::encipher(std::span<uint8_t> Data) const {
    CheckBlocks(Data);
    for (size_t i = 0; i < Data.size(); i += 8) {
        std::span<uint8_t> Block = Data.subspan(i, 8);
        SwapWords(Block);
        xtea_ecb_encrypt(Block.data(), Block.data(), Schedule.get());
        SwapWords(Block);
    }
}

void TXteaCipher::decipher(std::span<uint8_t> Data) const {
    CheckBlocks(Data);
    for (size_t i = 0; i < Data.size(); i += 8) {
        std::span<uint8_t> Block = Data.subspan(i, 8);
        SwapWords(Block);
        xtea_ecb_decrypt(Block.data(), Block.data(), Schedule.get());
        SwapWords(Block);
    }
}

} // namespace testserver
