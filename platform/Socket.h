// A non-blocking TCP socket whose connect, receive and close notifications arrive through the event pump.
#pragma once

#include "platform/SocketErrors.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Stands in for the framework's asynchronous socket. Notifications are virtual calls made by PumpEvents on
// the pump's thread; a notification may delete the socket. Receive notifications follow the Windows rule:
// after one is delivered, the next comes only after receive() was called again. The close notification comes
// once all received data has been read; after a close or a failed connect no further notification comes.
class TAsyncSocket {
public:
    TAsyncSocket() = default;
    TAsyncSocket(const TAsyncSocket&) = delete;
    TAsyncSocket& operator=(const TAsyncSocket&) = delete;
    virtual ~TAsyncSocket();

    // Creates the IPv4 stream socket. 0, or a Windows Sockets code.
    int create();
    // Starts connecting to a dotted IPv4 address. 0 when started or connected at once (either way onConnect
    // follows), WSAEWOULDBLOCK when in progress, else the code of the refusal (WSAEINVAL for a bad address).
    int connect(const char* Address, int Port);
    // Takes all Count bytes, or none and SOCKET_ERROR (see getLastError). Bytes the system does not take at
    // once are kept, in order, and sent as soon as the socket can take them; sends before the connect
    // completes wait for it. At most MAXPENDINGSEND bytes wait at a time (WSAENOBUFS beyond).
    int send(const uint8_t* Data, int Count);
    // Bytes read (1..Count), 0 when the peer has closed, SOCKET_ERROR with WSAEWOULDBLOCK when nothing waits.
    int receive(uint8_t* Buffer, int Count);
    // How: SD_RECEIVE, SD_SEND or SD_BOTH. Shutting down the sending side first tries to send what waits.
    bool shutdown(int How);
    // Closes the descriptor; no notification follows. The destructor closes as well.
    void close();

    int getLastError() const { return LastError; }
    int getHandle() const { return Handle; }
    int getPendingSendBytes() const { return static_cast<int>(Pending.size() - PendingStart); }

    static constexpr int SD_RECEIVE = 0, SD_SEND = 1, SD_BOTH = 2;
    static constexpr int MAXPENDINGSEND = 1 << 20;

protected:
    virtual void onConnect(int ErrorCode) { (void)ErrorCode; }
    virtual void onReceive(int ErrorCode) { (void)ErrorCode; }
    virtual void onClose(int ErrorCode) { (void)ErrorCode; }

private:
    friend int PumpEvents(int TimeoutMs);

    enum class TState { Idle, Connecting, Connected, Ended };

    // The poll() events the socket waits for now (0: none).
    short pollEvents() const;
    // Acts on poll()'s answer; true when a notification was delivered. Must not touch the object after the
    // notification, which may delete it.
    bool handleEvents(short Revents);
    void finishConnect();
    bool flushPending();
    int fail(int Errno);

    int Handle = -1;
    uint64_t PumpId = 0;
    TState State = TState::Idle;
    bool ReceiveArmed = true;
    int LastError = 0;
    std::vector<uint8_t> Pending; // bytes taken by send() and not yet handed to the system, from PendingStart
    size_t PendingStart = 0;
};
