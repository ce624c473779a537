// TCP on 127.0.0.1 for the test server: a listener and a connection whose waits end when the server stops.
// The one file of the test server that includes the system's socket headers.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>

namespace testserver {

// Owns one file descriptor; -1 when empty.
class TSocket {
public:
    TSocket() = default;
    explicit TSocket(int Fd) : Fd(Fd) {}
    ~TSocket() { reset(); }
    TSocket(TSocket&& Other) noexcept : Fd(Other.Fd) { Other.Fd = -1; }
    TSocket& operator=(TSocket&& Other) noexcept;

    int fd() const { return Fd; }
    bool valid() const { return Fd >= 0; }
    void reset();

private:
    int Fd = -1;
};

// Listens on 127.0.0.1; Port 0 takes an ephemeral port. Throws TWireError when it cannot listen.
class TListener {
public:
    explicit TListener(uint16_t Port);
    uint16_t port() const { return Port; }
    // Waits up to Wait for a connection; an empty socket when none came.
    TSocket accept(std::chrono::milliseconds Wait);

private:
    TSocket Socket;
    uint16_t Port = 0;
};

// One accepted connection. Every wait polls in short slices and gives up once Stopping is set.
class TConnection {
public:
    TConnection(TSocket Socket, const std::atomic<bool>& Stopping);

    // False when the peer closed, the connection failed or the server is stopping before all arrived.
    bool readExact(std::span<uint8_t> Data);
    bool writeAll(std::span<const uint8_t> Data);
    // Pauses for Delay unless the server stops first; false when it stopped.
    bool pause(std::chrono::milliseconds Delay);
    // Reads and drops everything until the peer closes or the server stops.
    void discardUntilClosed();
    // Ends our side (FIN), drains what the peer still sends for at most Linger so that nothing unread turns
    // the close into a reset, then closes.
    void closeGracefully(std::chrono::milliseconds Linger = std::chrono::milliseconds(2000));
    // 1 data or end of stream readable, 0 not within Wait, -1 error or stopping.
    int waitReadable(std::chrono::milliseconds Wait);

private:
    TSocket Socket;
    const std::atomic<bool>& Stopping;
};

} // namespace testserver
