// The XTEA block cipher and the session key object.
#include "network/XTEA.h"

#include "foundation/Utils.h"

namespace {

constexpr uint32_t DELTA = 0x9E3779B9u;
constexpr uint32_t DECIPHER_SUM = 0xC6EF3720u; // 32 * DELTA modulo 2^32
constexpr int CYCLES = 32;

// The cycles on Lanes independent blocks at once: their rounds interleave, so the processor overlaps them.
template <int Lanes> void EncryptLanes(uint32_t* y, uint32_t* z, const uint32_t Key[4]) {
    uint32_t Sum = 0;
    for (int Cycle = 0; Cycle < CYCLES; Cycle++) {
        uint32_t First = Sum + Key[Sum & 3];
        for (int i = 0; i < Lanes; i++)
            y[i] += (((z[i] << 4) ^ (z[i] >> 5)) + z[i]) ^ First;
        Sum += DELTA;
        uint32_t Second = Sum + Key[(Sum >> 11) & 3];
        for (int i = 0; i < Lanes; i++)
            z[i] += (((y[i] << 4) ^ (y[i] >> 5)) + y[i]) ^ Second;
    }
}

template <int Lanes> void DecryptLanes(uint32_t* y, uint32_t* z, const uint32_t Key[4]) {
    uint32_t Sum = DECIPHER_SUM;
    for (int Cycle = 0; Cycle < CYCLES; Cycle++) {
        uint32_t Second = Sum + Key[(Sum >> 11) & 3];
        for (int i = 0; i < Lanes; i++)
            z[i] -= (((y[i] << 4) ^ (y[i] >> 5)) + y[i]) ^ Second;
        Sum -= DELTA;
        uint32_t First = Sum + Key[Sum & 3];
        for (int i = 0; i < Lanes; i++)
            y[i] -= (((z[i] << 4) ^ (z[i] >> 5)) + z[i]) ^ First;
    }
}

using TLaneFunction = void (*)(uint32_t*, uint32_t*, const uint32_t*);

// Blocks of 8 bytes at Data, Lanes at a time, each block by itself.
template <int Lanes>
void CipherBlocks(uint8_t* Data, int Blocks, const uint32_t Key[4], TLaneFunction Cipher) {
    uint32_t y[Lanes], z[Lanes];
    for (int i = 0; i < Blocks; i++) {
        y[i % Lanes] = LoadLE32(Data + 8 * i);
        z[i % Lanes] = LoadLE32(Data + 8 * i + 4);
        if (i % Lanes != Lanes - 1) continue;
        Cipher(y, z, Key);
        for (int k = 0; k < Lanes; k++) {
            StoreLE32(Data + 8 * (i - Lanes + 1 + k), y[k]);
            StoreLE32(Data + 8 * (i - Lanes + 1 + k) + 4, z[k]);
        }
    }
}

constexpr int LANES = 4;

void EncryptBytes(uint8_t* Data, int Blocks, const uint32_t Key[4]) {
    int Grouped = Blocks / LANES * LANES;
    CipherBlocks<LANES>(Data, Grouped, Key, EncryptLanes<LANES>);
    CipherBlocks<1>(Data + 8 * Grouped, Blocks - Grouped, Key, EncryptLanes<1>);
}

void DecryptBytes(uint8_t* Data, int Blocks, const uint32_t Key[4]) {
    int Grouped = Blocks / LANES * LANES;
    CipherBlocks<LANES>(Data, Grouped, Key, DecryptLanes<LANES>);
    CipherBlocks<1>(Data + 8 * Grouped, Blocks - Grouped, Key, DecryptLanes<1>);
}

} // namespace

void XTEAEncrypt(uint32_t Block[2], const uint32_t Key[4]) { EncryptLanes<1>(&Block[0], &Block[1], Key); }

void XTEADecrypt(uint32_t Block[2], const uint32_t Key[4]) { DecryptLanes<1>(&Block[0], &Block[1], Key); }

TXTEACipher::~TXTEACipher() {
    volatile uint32_t* Words = Key;
    for (int i = 0; i < 4; i++)
        Words[i] = 0;
}

void TXTEACipher::setKey(const uint8_t* NewKey) {
    if (NewKey == nullptr) return;
    for (int i = 0; i < 4; i++)
        Key[i] = LoadLE32(NewKey + 4 * i);
}

void TXTEACipher::encrypt(uint8_t* Block) const {
    if (Block != nullptr) EncryptBytes(Block, 1, Key);
}

void TXTEACipher::decrypt(uint8_t* Block) const {
    if (Block != nullptr) DecryptBytes(Block, 1, Key);
}

void TXTEACipher::encryptBlocks(uint8_t* Data, int Blocks) const { EncryptBytes(Data, Blocks, Key); }

void TXTEACipher::decryptBlocks(uint8_t* Data, int Blocks) const { DecryptBytes(Data, Blocks, Key); }
