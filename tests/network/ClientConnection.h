// The client's socket connected to a loopback peer that plays the server.
#pragma once

#include "network/Network.h"

#include "LoopbackPeer.h"

#include <gtest/gtest.h>

#include <cstdint>

// Connects the client's socket to Peer, lets Peer accept and pumps events until Done() holds (for example,
// the connect handler ran).
template <typename TDone> testing::AssertionResult ConnectToPeer(TLoopbackPeer& Peer, TDone Done) {
    if (const int32_t Error = CreateSocket(); Error != 0)
        return testing::AssertionFailure() << "creating the socket failed with " << Error;
    if (const int32_t Error = ConnectToAddress("127.0.0.1", Peer.port(), false); Error != 0)
        return testing::AssertionFailure() << "connecting failed with " << Error;
    if (!Peer.accept()) return testing::AssertionFailure() << "the peer accepted no connection";
    if (!PumpUntil(Done)) return testing::AssertionFailure() << "the connection was not made";
    return testing::AssertionSuccess();
}

// Starts the network with handlers that only count connections, sets the session Key and connects to Peer.
inline testing::AssertionResult StartClientOnPeer(TLoopbackPeer& Peer, const uint8_t* Key) {
    static int Connected;
    Connected = 0;
    InitNetwork([] { Connected++; }, [] {}, [] {});
    SetSymmetricKey(Key);
    return ConnectToPeer(Peer, [] { return Connected == 1; });
}
