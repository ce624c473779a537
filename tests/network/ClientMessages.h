// The game server's reading of the client's messages on a loopback connection: one frame deciphered with
// the session key, its lengths and padding checked.
#pragma once

#include "network/XTEA.h"

#include "LoopbackPeer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// The next message the peer received (command byte first); empty, with a failure added, when no whole frame
// arrived.
inline std::vector<uint8_t> ReadClientMessage(TLoopbackPeer& Peer, const uint8_t* Key) {
    std::vector<uint8_t> Head = Peer.receiveExactly(2);
    if (Head.size() != 2) {
        ADD_FAILURE() << "no frame arrived";
        return {};
    }
    int N = Head[0] | Head[1] << 8;
    std::vector<uint8_t> Block = Peer.receiveExactly(N);
    if (N % 8 != 0 || static_cast<int>(Block.size()) != N || N == 0) {
        ADD_FAILURE() << "frame of " << N << " enciphered bytes, " << Block.size() << " arrived";
        return {};
    }
    TXTEACipher Cipher;
    Cipher.setKey(Key);
    Cipher.decryptBlocks(Block.data(), N / 8);
    int P = Block[0] | Block[1] << 8;
    EXPECT_EQ(N, (P + 2 + 7) / 8 * 8) << "padding to the least multiple of 8";
    if (P + 2 > N) return {};
    return std::vector<uint8_t>(Block.begin() + 2, Block.begin() + 2 + P);
}
