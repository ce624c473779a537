// Tests of XTEA: known answers against libtomcrypt (whose words are big-endian), round trips, the key layout.
#include "network/XTEA.h"

#include <gtest/gtest.h>
#include <random>
#include <tomcrypt.h>
#include <vector>

namespace {

// libtomcrypt reads block and key words big-endian; ours are little-endian. Reversing each 4-byte group of
// the block and the key makes the two compute the same cipher.
void SwapWords(uint8_t* Bytes, int Count) {
    for (int i = 0; i + 3 < Count; i += 4) {
        std::swap(Bytes[i], Bytes[i + 3]);
        std::swap(Bytes[i + 1], Bytes[i + 2]);
    }
}

std::vector<uint8_t> TomcryptEncrypt(const uint8_t Key[16], const uint8_t Block[8]) {
    uint8_t SwappedKey[16], Swapped[8], Out[8];
    std::copy(Key, Key + 16, SwappedKey);
    std::copy(Block, Block + 8, Swapped);
    SwapWords(SwappedKey, 16);
    SwapWords(Swapped, 8);
    symmetric_key Schedule;
    EXPECT_EQ(xtea_setup(SwappedKey, 16, 32, &Schedule), CRYPT_OK);
    xtea_ecb_encrypt(Swapped, Out, &Schedule);
    SwapWords(Out, 8);
    return std::vector<uint8_t>(Out, Out + 8);
}

} // namespace

TEST(XTEA, AgreesWithAnIndependentImplementation) {
    std::mt19937 Random(7);
    for (int Round = 0; Round < 50; Round++) {
        uint8_t Key[16], Block[8];
        for (uint8_t& b : Key)
            b = static_cast<uint8_t>(Random());
        for (uint8_t& b : Block)
            b = static_cast<uint8_t>(Random());
        TXTEACipher Cipher;
        Cipher.setKey(Key);
        std::vector<uint8_t> Ours(Block, Block + 8);
        Cipher.encrypt(Ours.data());
        ASSERT_EQ(Ours, TomcryptEncrypt(Key, Block)) << "round " << Round;
        Cipher.decrypt(Ours.data());
        ASSERT_EQ(Ours, std::vector<uint8_t>(Block, Block + 8));
    }
}

TEST(XTEA, KnownAnswerOfTheLittleEndianLayout) {
    // Key words 0x03020100, 0x07060504, ...; block words y = 0x44434241, z = 0x48474645.
    uint8_t Key[16], Block[8] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};
    for (int i = 0; i < 16; i++)
        Key[i] = static_cast<uint8_t>(i);
    uint32_t Words[2] = {0x44434241u, 0x48474645u};
    uint32_t KeyWords[4] = {0x03020100u, 0x07060504u, 0x0B0A0908u, 0x0F0E0D0Cu};
    XTEAEncrypt(Words, KeyWords);
    TXTEACipher Cipher;
    Cipher.setKey(Key);
    Cipher.encrypt(Block);
    EXPECT_EQ(Block[0] | Block[1] << 8 | Block[2] << 16 | static_cast<uint32_t>(Block[3]) << 24, Words[0]);
    EXPECT_EQ(Block[4] | Block[5] << 8 | Block[6] << 16 | static_cast<uint32_t>(Block[7]) << 24, Words[1]);
    EXPECT_EQ(TomcryptEncrypt(Key, std::vector<uint8_t>{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}.data()),
              std::vector<uint8_t>(Block, Block + 8));
}

TEST(XTEA, BlocksAreEncipheredEachByItself) {
    uint8_t Key[16] = {9, 8, 7};
    TXTEACipher Cipher;
    Cipher.setKey(Key);
    std::vector<uint8_t> Data(24, 0x55);
    Cipher.encryptBlocks(Data.data(), 3);
    EXPECT_TRUE(std::equal(Data.begin(), Data.begin() + 8, Data.begin() + 8)) << "no chaining";
    Cipher.decryptBlocks(Data.data(), 3);
    EXPECT_EQ(Data, std::vector<uint8_t>(24, 0x55));
}
