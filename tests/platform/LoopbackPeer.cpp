// A plain blocking TCP peer on 127.0.0.1 for tests.
#include "LoopbackPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int ListenOnLoopback(int& Port) {
    int Fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (Fd < 0) throw std::runtime_error("socket");
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t Length = sizeof(Address);
    if (bind(Fd, reinterpret_cast<sockaddr*>(&Address), Length) != 0 || listen(Fd, 4) != 0 ||
        getsockname(Fd, reinterpret_cast<sockaddr*>(&Address), &Length) != 0) {
        close(Fd);
        throw std::runtime_error("listen");
    }
    Port = ntohs(Address.sin_port);
    return Fd;
}

bool WaitReadable(int Fd, int TimeoutMs) {
    pollfd Entry{Fd, POLLIN, 0};
    return poll(&Entry, 1, TimeoutMs) > 0;
}

} // namespace

TLoopbackPeer::TLoopbackPeer() { Listener = ListenOnLoopback(Port); }

TLoopbackPeer::~TLoopbackPeer() {
    closeConnection();
    stopListening();
}

bool TLoopbackPeer::accept(int TimeoutMs) {
    if (Listener < 0 || !WaitReadable(Listener, TimeoutMs)) return false;
    Connection = ::accept4(Listener, nullptr, nullptr, SOCK_CLOEXEC);
    return Connection >= 0;
}

void TLoopbackPeer::send(const std::vector<uint8_t>& Bytes) {
    size_t Done = 0;
    while (Done < Bytes.size()) {
        ssize_t Result = ::send(Connection, Bytes.data() + Done, Bytes.size() - Done, MSG_NOSIGNAL);
        if (Result <= 0) throw std::runtime_error("send");
        Done += static_cast<size_t>(Result);
    }
}

std::vector<uint8_t> TLoopbackPeer::receive(int MaxBytes, int TimeoutMs) {
    std::vector<uint8_t> Bytes(static_cast<size_t>(MaxBytes));
    if (Connection < 0 || !WaitReadable(Connection, TimeoutMs)) return {};
    ssize_t Result = recv(Connection, Bytes.data(), Bytes.size(), 0);
    Bytes.resize(Result > 0 ? static_cast<size_t>(Result) : 0);
    return Bytes;
}

std::vector<uint8_t> TLoopbackPeer::receiveExactly(int Count, int TimeoutMs) {
    std::vector<uint8_t> Bytes;
    while (static_cast<int>(Bytes.size()) < Count) {
        std::vector<uint8_t> Part = receive(Count - static_cast<int>(Bytes.size()), TimeoutMs);
        if (Part.empty()) break;
        Bytes.insert(Bytes.end(), Part.begin(), Part.end());
    }
    return Bytes;
}

void TLoopbackPeer::closeConnection() {
    if (Connection >= 0) close(Connection);
    Connection = -1;
}

void TLoopbackPeer::stopListening() {
    if (Listener >= 0) close(Listener);
    Listener = -1;
}

void TLoopbackPeer::resetConnection() {
    linger Option{1, 0};
    setsockopt(Connection, SOL_SOCKET, SO_LINGER, &Option, sizeof(Option));
    closeConnection();
}

int TLoopbackPeer::unusedPort() {
    int Port = 0;
    int Fd = ListenOnLoopback(Port);
    close(Fd);
    return Port;
}
