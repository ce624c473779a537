// The XTEA block cipher (32 cycles, 64-bit blocks of two little-endian words) and the session key object.
#pragma once

#include <cstdint>

// One block as two words: y from bytes 0-3, z from bytes 4-7.
void XTEAEncrypt(uint32_t Block[2], const uint32_t Key[4]);
void XTEADecrypt(uint32_t Block[2], const uint32_t Key[4]);

class TXTEACipher {
public:
    TXTEACipher() = default;
    virtual ~TXTEACipher();

    // Word i from bytes 4i..4i+3, little-endian. NULL leaves the key unchanged.
    void setKey(const uint8_t* Key);
    // One 8-byte block in place; NULL does nothing.
    void encrypt(uint8_t* Block) const;
    void decrypt(uint8_t* Block) const;
    // Blocks blocks of 8 bytes in place, each by itself (ECB).
    void encryptBlocks(uint8_t* Data, int Blocks) const;
    void decryptBlocks(uint8_t* Data, int Blocks) const;

private:
    uint32_t Key[4] = {0, 0, 0, 0};
};
