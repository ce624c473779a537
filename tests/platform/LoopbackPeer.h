// A plain blocking TCP peer on 127.0.0.1 for tests: a listener and the accepted connection.
#pragma once

#include <cstdint>
#include <vector>

class TLoopbackPeer {
public:
    TLoopbackPeer(); // listens on 127.0.0.1, on a port of the system's choice
    ~TLoopbackPeer();
    TLoopbackPeer(const TLoopbackPeer&) = delete;
    TLoopbackPeer& operator=(const TLoopbackPeer&) = delete;

    int port() const { return Port; }
    // Accepts one connection, waiting at most TimeoutMs; false when none came.
    bool accept(int TimeoutMs = 2000);
    bool isConnected() const { return Connection >= 0; }
    void send(const std::vector<uint8_t>& Bytes);
    // Reads what arrives within TimeoutMs, at most MaxBytes.
    std::vector<uint8_t> receive(int MaxBytes, int TimeoutMs = 200);
    // Reads exactly Count bytes unless TimeoutMs passes without any byte arriving.
    std::vector<uint8_t> receiveExactly(int Count, int TimeoutMs = 2000);
    void closeConnection();
    void stopListening();
    // Resets the connection (RST) instead of closing it in order.
    void resetConnection();

    // A port on 127.0.0.1 where nobody listens.
    static int unusedPort();

private:
    int Listener = -1;
    int Connection = -1;
    int Port = 0;
};

// Pumps events until Done() holds or TimeoutMs passes; returns Done().
template <typename TDone> bool PumpUntil(TDone Done, int TimeoutMs = 2000);

#include "platform/EventPump.h"

#include <chrono>

template <typename TDone> bool PumpUntil(TDone Done, int TimeoutMs) {
    auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > End) return false;
        PumpEvents(10);
    }
    return true;
}
