// Tests of the pump-driven socket over loopback: notification order, refusals, partial sends, close handling.
#include "platform/Socket.h"

#include "LoopbackPeer.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Records its notifications as letters: C<code> connect, R receive, X<code> close.
class TRecordingSocket : public TAsyncSocket {
public:
    std::string Log;
    bool ReadOnReceive = true;
    std::vector<uint8_t> Received;

protected:
    void onConnect(int ErrorCode) override { Log.append("C").append(std::to_string(ErrorCode)); }
    void onReceive(int) override {
        Log += "R";
        if (!ReadOnReceive) return;
        uint8_t Buffer[256];
        int Count = receive(Buffer, sizeof(Buffer));
        if (Count > 0) Received.insert(Received.end(), Buffer, Buffer + Count);
    }
    void onClose(int ErrorCode) override { Log.append("X").append(std::to_string(ErrorCode)); }
};

// Deletes itself in its close notification, as the connection layer does.
class TSelfDeletingSocket : public TAsyncSocket {
public:
    bool* Closed;
    explicit TSelfDeletingSocket(bool* Closed) : Closed(Closed) {}

protected:
    void onReceive(int) override {
        uint8_t Buffer[64];
        receive(Buffer, sizeof(Buffer));
    }
    void onClose(int) override {
        *Closed = true;
        delete this;
    }
};

std::vector<uint8_t> Pattern(size_t Count, size_t Offset = 0) {
    std::vector<uint8_t> Bytes(Count);
    for (size_t i = 0; i < Count; i++)
        Bytes[i] = static_cast<uint8_t>((i + Offset) * 7 + (i + Offset) / 251);
    return Bytes;
}

} // namespace

TEST(Socket, ConnectReceiveAndOrderlyCloseArriveThroughThePump) {
    TLoopbackPeer Peer;
    TRecordingSocket Socket;
    ASSERT_EQ(Socket.create(), 0);
    int Started = Socket.connect("127.0.0.1", Peer.port());
    EXPECT_TRUE(Started == 0 || Started == WSAEWOULDBLOCK) << Started;
    EXPECT_EQ(Socket.Log, "") << "no notification outside the pump";
    ASSERT_TRUE(Peer.accept());
    ASSERT_TRUE(PumpUntil([&] { return !Socket.Log.empty(); }));
    EXPECT_EQ(Socket.Log, "C0");

    Peer.send({1, 2, 3});
    Peer.closeConnection();
    ASSERT_TRUE(PumpUntil([&] { return Socket.Log.find('X') != std::string::npos; }));
    EXPECT_EQ(Socket.Log, "C0RX0") << "the data comes before the close";
    EXPECT_EQ(Socket.Received, (std::vector<uint8_t>{1, 2, 3}));
    PumpEvents(20);
    EXPECT_EQ(Socket.Log, "C0RX0") << "nothing after the close";
}

TEST(Socket, RefusedConnectReportsConnectionRefused) {
    TRecordingSocket Socket;
    ASSERT_EQ(Socket.create(), 0);
    int Started = Socket.connect("127.0.0.1", TLoopbackPeer::unusedPort());
    if (Started == 0 || Started == WSAEWOULDBLOCK) {
        ASSERT_TRUE(PumpUntil([&] { return !Socket.Log.empty(); }));
        EXPECT_EQ(Socket.Log, "C10061");
    } else {
        EXPECT_EQ(Started, 10061);
    }
    PumpEvents(20);
    EXPECT_TRUE(Socket.Log.empty() || Socket.Log == "C10061") << "a failed connect gets no close";
}

TEST(Socket, BadAddressTextIsInvalidArgument) {
    TRecordingSocket Socket;
    ASSERT_EQ(Socket.create(), 0);
    EXPECT_EQ(Socket.connect("login.example", 7171), WSAEINVAL);
    EXPECT_EQ(Socket.connect("127.0.0.1", 70000), WSAEINVAL);
}

TEST(Socket, ReceiveNotificationWaitsUntilTheDataIsRead) {
    TLoopbackPeer Peer;
    TRecordingSocket Socket;
    Socket.ReadOnReceive = false;
    ASSERT_EQ(Socket.create(), 0);
    Socket.connect("127.0.0.1", Peer.port());
    ASSERT_TRUE(Peer.accept());
    ASSERT_TRUE(PumpUntil([&] { return Socket.Log == "C0"; }));
    Peer.send({9});
    ASSERT_TRUE(PumpUntil([&] { return Socket.Log == "C0R"; }));
    for (int i = 0; i < 5; i++)
        PumpEvents(5);
    EXPECT_EQ(Socket.Log, "C0R") << "no second notification before receive()";
    uint8_t Byte = 0;
    EXPECT_EQ(Socket.receive(&Byte, 1), 1);
    EXPECT_EQ(Byte, 9);
    EXPECT_EQ(Socket.receive(&Byte, 1), SOCKET_ERROR);
    EXPECT_EQ(Socket.getLastError(), WSAEWOULDBLOCK);
}

TEST(Socket, ResetByPeerReportsTheResetCode) {
    TLoopbackPeer Peer;
    TRecordingSocket Socket;
    ASSERT_EQ(Socket.create(), 0);
    Socket.connect("127.0.0.1", Peer.port());
    ASSERT_TRUE(Peer.accept());
    ASSERT_TRUE(PumpUntil([&] { return Socket.Log == "C0"; }));
    Peer.resetConnection();
    ASSERT_TRUE(PumpUntil([&] { return Socket.Log.size() > 2; }));
    EXPECT_EQ(Socket.Log, "C0X10054");
}

TEST(Socket, SendsBeforeTheConnectCompletesGoOutAfterIt) {
    TLoopbackPeer Peer;
    TRecordingSocket Socket;
    ASSERT_EQ(Socket.create(), 0);
    Socket.connect("127.0.0.1", Peer.port());
    EXPECT_EQ(Socket.send(std::vector<uint8_t>{4, 5}.data(), 2), 2);
    ASSERT_TRUE(Peer.accept());
    ASSERT_TRUE(PumpUntil([&] { return Socket.Log == "C0"; }));
    EXPECT_EQ(Peer.receiveExactly(2), (std::vector<uint8_t>{4, 5}));
}

TEST(Socket, PartialSendsKeepEveryByteInOrder) {
    TLoopbackPeer Peer;
    TRecordingSocket Socket;
    ASSERT_EQ(Socket.create(), 0);
    Socket.connect("127.0.0.1", Peer.port());
    ASSERT_TRUE(Peer.accept());
    ASSERT_TRUE(PumpUntil([&] { return Socket.Log == "C0"; }));

    // The peer does not read, so the system soon takes only part of a send; the rest must wait in order.
    const size_t Chunk = 16384;
    size_t Total = 0;
    while (Socket.getPendingSendBytes() == 0 && Total < (64u << 20)) {
        ASSERT_EQ(Socket.send(Pattern(Chunk, Total).data(), static_cast<int>(Chunk)),
                  static_cast<int>(Chunk));
        Total += Chunk;
    }
    ASSERT_GT(Socket.getPendingSendBytes(), 0);
    for (int i = 0; i < 3; i++) {
        ASSERT_EQ(Socket.send(Pattern(Chunk, Total).data(), static_cast<int>(Chunk)),
                  static_cast<int>(Chunk));
        Total += Chunk;
    }

    std::vector<uint8_t> Arrived;
    auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Arrived.size() < Total && std::chrono::steady_clock::now() < Deadline) {
        PumpEvents(0);
        std::vector<uint8_t> Part = Peer.receive(1 << 16, 20);
        Arrived.insert(Arrived.end(), Part.begin(), Part.end());
    }
    ASSERT_EQ(Arrived.size(), Total) << "stalled";
    EXPECT_EQ(Socket.getPendingSendBytes(), 0);
    EXPECT_TRUE(Arrived == Pattern(Total)) << "bytes lost or reordered";
}

TEST(Socket, PendingSendsAreBounded) {
    TLoopbackPeer Peer;
    TRecordingSocket Socket;
    ASSERT_EQ(Socket.create(), 0);
    Socket.connect("127.0.0.1", Peer.port());
    std::vector<uint8_t> Big(TAsyncSocket::MAXPENDINGSEND);
    EXPECT_EQ(Socket.send(Big.data(), static_cast<int>(Big.size())), static_cast<int>(Big.size()));
    EXPECT_EQ(Socket.send(Big.data(), 1), SOCKET_ERROR);
    EXPECT_EQ(Socket.getLastError(), WSAENOBUFS);
}

TEST(Socket, SocketMayDeleteItselfInItsCloseNotification) {
    TLoopbackPeer Peer;
    bool Closed = false;
    auto* Socket = new TSelfDeletingSocket(&Closed);
    ASSERT_EQ(Socket->create(), 0);
    Socket->connect("127.0.0.1", Peer.port());
    ASSERT_TRUE(Peer.accept());
    Peer.send({1});
    Peer.closeConnection();
    EXPECT_TRUE(PumpUntil([&] { return Closed; }));
    PumpEvents(10);
}
