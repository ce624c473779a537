// A plain blocking TCP peer on 127.0.0.1 for tests: a listener and the accepted connection.
#pragma once

#include "platform/EventPump.h"
#include "tests/Wait.h"

#include <chrono>
#include <cstdint>
#include <vector>

// The tests' generous wait, for the calls that take milliseconds.
inline constexpr int WAIT_LIMIT_MS =
    static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(WAIT_LIMIT).count());

class TLoopbackPeer {
public:
    TLoopbackPeer(); // listens on 127.0.0.1, on a port of the system's choice
    ~TLoopbackPeer();
    TLoopbackPeer(const TLoopbackPeer&) = delete;
    TLoopbackPeer& operator=(const TLoopbackPeer&) = delete;

    int port() const { return Port; }
    // Accepts one connection, waiting at most TimeoutMs; false when none came.
    bool accept(int TimeoutMs = WAIT_LIMIT_MS);
    bool isConnected() const { return Connection >= 0; }
    void send(const std::vector<uint8_t>& Bytes);
    // Reads what arrives within TimeoutMs, at most MaxBytes.
    std::vector<uint8_t> receive(int MaxBytes, int TimeoutMs = 200);
    // Reads exactly Count bytes unless TimeoutMs passes without any byte arriving.
    std::vector<uint8_t> receiveExactly(int Count, int TimeoutMs = WAIT_LIMIT_MS);
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
template <typename TDone> bool PumpUntil(TDone Done, int TimeoutMs = WAIT_LIMIT_MS) {
    return WaitFor(Done, std::chrono::milliseconds(TimeoutMs), [] { PumpEvents(10); });
}
