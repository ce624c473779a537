// The XTEA block cipher and the session key object.
#include "network/XTEA.h"

namespace {

constexpr uint32_t DELTA = 0x9E3779B9u;
constexpr uint32_t DECIPHER_SUM = 0xC6EF3720u; // 32 * DELTA modulo 2^32
constexpr int CYCLES = 32;

uint32_t LoadWord(const uint8_t* Bytes) {
    return static_cast<uint32_t>(Bytes[0]) | static_cast<uint32_t>(Bytes[1]) << 8 |
           static_cast<uint32_t>(Bytes[2]) << 16 | static_cast<uint32_t>(Bytes[3]) << 24;
}

void StoreWord(uint8_t* Bytes, uint32_t Word) {
    Bytes[0] = static_cast<uint8_t>(Word);
    Bytes[1] = static_cast<uint8_t>(Word >> 8);
    Bytes[2] = static_cast<uint8_t>(Word >> 16);
    Bytes[3] = static_cast<uint8_t>(Word >> 24);
}

void EncryptBytes(uint8_t* Block, const uint32_t Key[4]) {
    uint32_t Words[2] = {LoadWord(Block), LoadWord(Block + 4)};
    XTEAEncrypt(Words, Key);
    StoreWord(Block, Words[0]);
    StoreWord(Block + 4, Words[1]);
}

void DecryptBytes(uint8_t* Block, const uint32_t Key[4]) {
    uint32_t Words[2] = {LoadWord(Block), LoadWord(Block + 4)};
    XTEADecrypt(Words, Key);
    StoreWord(Block, Words[0]);
    StoreWord(Block + 4, Words[1]);
}

} // namespace

void XTEAEncrypt(uint32_t Block[2], const uint32_t Key[4]) {
    uint32_t y = Block[0], z = Block[1], Sum = 0;
    for (int Cycle = 0; Cycle < CYCLES; Cycle++) {
        y += (((z << 4) ^ (z >> 5)) + z) ^ (Sum + Key[Sum & 3]);
        Sum += DELTA;
        z += (((y << 4) ^ (y >> 5)) + y) ^ (Sum + Key[(Sum >> 11) & 3]);
    }
    Block[0] = y;
    Block[1] = z;
}

void XTEADecrypt(uint32_t Block[2], const uint32_t Key[4]) {
    uint32_t y = Block[0], z = Block[1], Sum = DECIPHER_SUM;
    for (int Cycle = 0; Cycle < CYCLES; Cycle++) {
        z -= (((y << 4) ^ (y >> 5)) + y) ^ (Sum + Key[(Sum >> 11) & 3]);
        Sum -= DELTA;
        y -= (((z << 4) ^ (z >> 5)) + z) ^ (Sum + Key[Sum & 3]);
    }
    Block[0] = y;
    Block[1] = z;
}

TXTEACipher::~TXTEACipher() {
    volatile uint32_t* Words = Key;
    for (int i = 0; i < 4; i++)
        Words[i] = 0;
}

void TXTEACipher::setKey(const uint8_t* NewKey) {
    if (NewKey == nullptr) return;
    for (int i = 0; i < 4; i++)
        Key[i] = LoadWord(NewKey + 4 * i);
}

void TXTEACipher::encrypt(uint8_t* Block) const {
    if (Block != nullptr) EncryptBytes(Block, Key);
}

void TXTEACipher::decrypt(uint8_t* Block) const {
    if (Block != nullptr) DecryptBytes(Block, Key);
}

void TXTEACipher::encryptBlocks(uint8_t* Data, int Blocks) const {
    for (int i = 0; i < Blocks; i++)
        EncryptBytes(Data + 8 * i, Key);
}

void TXTEACipher::decryptBlocks(uint8_t* Data, int Blocks) const {
    for (int i = 0; i < Blocks; i++)
        DecryptBytes(Data + 8 * i, Key);
}
