// POSIX sockets for the test server.
#include "tools/testserver/Socket.h"

#include "tools/testserver/Wire.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace testserver {

namespace {

// Slice of every wait, so that a stopping server is noticed quickly.
constexpr int POLL_SLICE_MS = 20;

std::string SystemError(const char* What) { return std::string(What) + ": " + std::strerror(errno); }

} // namespace

TSocket& TSocket::operator=(TSocket&& Other) noexcept {
    if (this != &Other) {
        reset();
        Fd = Other.Fd;
        Other.Fd = -1;
    }
    return *this;
}

void TSocket::reset() {
    if (Fd >= 0) ::close(Fd);
    Fd = -1;
}

TListener::TListener(uint16_t RequestedPort) : Socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    if (!Socket.valid()) throw TWireError(SystemError("socket"));
    int One = 1;
    ::setsockopt(Socket.fd(), SOL_SOCKET, SO_REUSEADDR, &One, sizeof(One));
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_port = htons(RequestedPort);
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(Socket.fd(), reinterpret_cast<sockaddr*>(&Address), sizeof(Address)) != 0)
        throw TWireError(SystemError(("bind 127.0.0.1:" + std::to_string(RequestedPort)).c_str()));
    if (::listen(Socket.fd(), 16) != 0) throw TWireError(SystemError("listen"));
    socklen_t Length = sizeof(Address);
    if (::getsockname(Socket.fd(), reinterpret_cast<sockaddr*>(&Address), &Length) != 0)
        throw TWireError(SystemError("getsockname"));
    Port = ntohs(Address.sin_port);
}

TSocket TListener::accept(std::chrono::milliseconds Wait) {
    pollfd Entry{Socket.fd(), POLLIN, 0};
    if (::poll(&Entry, 1, static_cast<int>(Wait.count())) <= 0) return TSocket();
    TSocket Accepted(::accept4(Socket.fd(), nullptr, nullptr, SOCK_CLOEXEC));
    if (Accepted.valid()) {
        int One = 1;
        ::setsockopt(Accepted.fd(), IPPROTO_TCP, TCP_NODELAY, &One, sizeof(One));
    }
    return Accepted;
}

TConnection::TConnection(TSocket Socket, const std::atomic<bool>& Stopping)
    : Socket(std::move(Socket)), Stopping(Stopping) {}

int TConnection::waitReadable(std::chrono::milliseconds Wait) {
    auto Deadline = std::chrono::steady_clock::now() + Wait;
    while (!Stopping && Socket.valid()) {
        pollfd Entry{Socket.fd(), POLLIN, 0};
        int Ready = ::poll(&Entry, 1, POLL_SLICE_MS);
        if (Ready > 0) return 1;
        if (Ready < 0 && errno != EINTR) return -1;
        if (std::chrono::steady_clock::now() >= Deadline) return 0;
    }
    return -1;
}

bool TConnection::readExact(std::span<uint8_t> Data) {
    size_t Done = 0;
    while (Done < Data.size()) {
        int Ready = waitReadable(std::chrono::hours(24));
        if (Ready < 0) return false;
        if (Ready == 0) continue;
        ssize_t Count = ::recv(Socket.fd(), Data.data() + Done, Data.size() - Done, 0);
        if (Count == 0 || (Count < 0 && errno != EINTR && errno != EAGAIN)) return false;
        if (Count > 0) Done += static_cast<size_t>(Count);
    }
    return true;
}

bool TConnection::writeAll(std::span<const uint8_t> Data) {
    size_t Done = 0;
    while (Done < Data.size() && !Stopping && Socket.valid()) {
        ssize_t Count = ::send(Socket.fd(), Data.data() + Done, Data.size() - Done, MSG_NOSIGNAL);
        if (Count < 0 && errno != EINTR) return false;
        if (Count > 0) Done += static_cast<size_t>(Count);
    }
    return Done == Data.size();
}

bool TConnection::pause(std::chrono::milliseconds Delay) {
    auto Deadline = std::chrono::steady_clock::now() + Delay;
    for (auto Now = std::chrono::steady_clock::now(); !Stopping && Now < Deadline;
         Now = std::chrono::steady_clock::now())
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            Deadline - Now, std::chrono::milliseconds(POLL_SLICE_MS)));
    return !Stopping;
}

void TConnection::discardUntilClosed() {
    uint8_t Sink[256];
    while (waitReadable(std::chrono::hours(24)) >= 0) {
        ssize_t Count = ::recv(Socket.fd(), Sink, sizeof(Sink), 0);
        if (Count == 0 || (Count < 0 && errno != EINTR)) return;
    }
}

void TConnection::closeGracefully(std::chrono::milliseconds Linger) {
    if (!Socket.valid()) return;
    ::shutdown(Socket.fd(), SHUT_WR);
    uint8_t Sink[256];
    auto Deadline = std::chrono::steady_clock::now() + Linger;
    for (auto Now = std::chrono::steady_clock::now(); Now < Deadline;
         Now = std::chrono::steady_clock::now()) {
        int Ready = waitReadable(std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - Now));
        if (Ready <= 0) break;
        ssize_t Count = ::recv(Socket.fd(), Sink, sizeof(Sink), 0);
        if (Count == 0 || (Count < 0 && errno != EINTR)) break;
    }
    Socket.reset();
}

} // namespace testserver
