// Non-blocking POSIX TCP sockets with notifications through the event pump.
#include "platform/Socket.h"

#include "platform/EventPumpInternal.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

TAsyncSocket::~TAsyncSocket() { close(); }

int TAsyncSocket::fail(int Errno) {
    LastError = SocketErrorFromErrno(Errno);
    return LastError;
}

int TAsyncSocket::create() {
    close();
    Handle = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (Handle < 0) return fail(errno);
    State = TState::Idle;
    ReceiveArmed = true;
    LastError = 0;
    PumpId = RegisterPumpSocket(this);
    return 0;
}

int TAsyncSocket::connect(const char* Address, int Port) {
    if (Handle < 0) return LastError = WSAENOTSOCK;
    sockaddr_in Peer{};
    Peer.sin_family = AF_INET;
    Peer.sin_port = htons(static_cast<uint16_t>(Port));
    if (Address == nullptr || inet_pton(AF_INET, Address, &Peer.sin_addr) != 1 || Port < 0 || Port > 65535)
        return LastError = WSAEINVAL;
    if (::connect(Handle, reinterpret_cast<const sockaddr*>(&Peer), sizeof(Peer)) == 0) {
        // Connected at once (loopback): the connect notification still comes through the pump.
        State = TState::Connecting;
        return 0;
    }
    if (errno == EINPROGRESS) {
        State = TState::Connecting;
        return fail(errno);
    }
    State = TState::Ended;
    return fail(errno);
}

int TAsyncSocket::send(const uint8_t* Data, int Count) {
    if (Handle < 0 || State == TState::Idle) {
        LastError = Handle < 0 ? WSAENOTSOCK : WSAENOTCONN;
        return SOCKET_ERROR;
    }
    if (Data == nullptr || Count < 0) {
        LastError = WSAEFAULT;
        return SOCKET_ERROR;
    }
    int Sent = 0;
    if (State != TState::Connecting && getPendingSendBytes() == 0 && Count > 0) {
        ssize_t Result = ::send(Handle, Data, static_cast<size_t>(Count), MSG_NOSIGNAL);
        if (Result < 0 && errno != EAGAIN && errno != EINTR) {
            fail(errno);
            return SOCKET_ERROR;
        }
        Sent = Result < 0 ? 0 : static_cast<int>(Result);
    }
    if (Sent < Count) {
        if (getPendingSendBytes() + (Count - Sent) > MAXPENDINGSEND) {
            LastError = WSAENOBUFS;
            return SOCKET_ERROR;
        }
        Pending.insert(Pending.end(), Data + Sent, Data + Count);
    }
    return Count;
}

bool TAsyncSocket::flushPending() {
    while (PendingStart < Pending.size()) {
        ssize_t Result =
            ::send(Handle, Pending.data() + PendingStart, Pending.size() - PendingStart, MSG_NOSIGNAL);
        if (Result < 0) {
            if (errno == EAGAIN || errno == EINTR) return true;
            // The connection is broken; the close notification reports it.
            fail(errno);
            Pending.clear();
            PendingStart = 0;
            return false;
        }
        PendingStart += static_cast<size_t>(Result);
    }
    Pending.clear();
    PendingStart = 0;
    return true;
}

int TAsyncSocket::receive(uint8_t* Buffer, int Count) {
    ReceiveArmed = true;
    if (Handle < 0) {
        LastError = WSAENOTSOCK;
        return SOCKET_ERROR;
    }
    if (Buffer == nullptr || Count < 0) {
        LastError = WSAEFAULT;
        return SOCKET_ERROR;
    }
    ssize_t Result = recv(Handle, Buffer, static_cast<size_t>(Count), 0);
    if (Result < 0) {
        fail(errno);
        return SOCKET_ERROR;
    }
    return static_cast<int>(Result);
}

bool TAsyncSocket::shutdown(int How) {
    if (Handle < 0) {
        LastError = WSAENOTSOCK;
        return false;
    }
    if (How != SD_RECEIVE && State == TState::Connected) flushPending();
    int PosixHow = How == SD_RECEIVE ? SHUT_RD : How == SD_SEND ? SHUT_WR : SHUT_RDWR;
    if (::shutdown(Handle, PosixHow) != 0) {
        fail(errno);
        return false;
    }
    return true;
}

void TAsyncSocket::close() {
    if (PumpId != 0) UnregisterPumpSocket(PumpId);
    PumpId = 0;
    if (Handle >= 0) ::close(Handle);
    Handle = -1;
    State = TState::Ended;
    Pending.clear();
    PendingStart = 0;
}

short TAsyncSocket::pollEvents() const {
    if (Handle < 0) return 0;
    if (State == TState::Connecting) return POLLOUT;
    if (State != TState::Connected) return 0;
    short Events = ReceiveArmed ? POLLIN : 0;
    if (getPendingSendBytes() > 0) Events |= POLLOUT;
    return Events;
}

bool TAsyncSocket::handleEvents(short Revents) {
    if (State == TState::Connecting) {
        int Error = 0;
        socklen_t Length = sizeof(Error);
        if (getsockopt(Handle, SOL_SOCKET, SO_ERROR, &Error, &Length) != 0) Error = errno;
        State = Error == 0 ? TState::Connected : TState::Ended;
        if (Error == 0) flushPending();
        onConnect(SocketErrorFromErrno(Error));
        return true;
    }
    if (State != TState::Connected) return false;
    if ((Revents & POLLOUT) != 0 && getPendingSendBytes() > 0) flushPending();
    if (!ReceiveArmed || (Revents & (POLLIN | POLLHUP | POLLERR)) == 0) return false;
    // Data still waiting is delivered before the close, as the Windows notifications are ordered.
    uint8_t Probe;
    ssize_t Result = recv(Handle, &Probe, 1, MSG_PEEK);
    if (Result > 0) {
        ReceiveArmed = false;
        onReceive(0);
        return true;
    }
    if (Result < 0 && (errno == EAGAIN || errno == EINTR)) return false;
    State = TState::Ended;
    onClose(Result == 0 ? 0 : SocketErrorFromErrno(errno));
    return true;
}
