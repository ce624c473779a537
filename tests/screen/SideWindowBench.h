// A bench for the object windows of the side bar: the panels' drawing bench, three object types (plain,
// stackable, used with another object), and a loopback game server that reads back what the windows send.
#pragma once

#include "tests/network/NetworkFixture.h"
#include "tests/screen/PanelScreen.h"

#include <cstdint>
#include <vector>

class SideWindowBench : public ::testing::Test {
protected:
    static constexpr int32_t PLAIN = 100, STACK = 101, TOOL = 102, BAG = 103;
    static constexpr uint32_t SHIFT = 0x200, CTRL = 0x400;
    static constexpr int32_t OFF_MAP = 65535;

    void SetUp() override;
    void TearDown() override;

    // The next message the server received, deciphered (command byte first); empty when none came.
    std::vector<uint8_t> sent();
    // True when nothing was sent since the last read: a marker message is the next to arrive.
    bool nothingSent();
    // The queued event types, taken off the queue.
    std::vector<int32_t> takeEvents();

    TPanelScreen Screen;
    TLoopbackPeer Peer;
    TForwardingWindow Window;
};

// Expected message bytes, field by field as the wire writes them.
struct TBytes {
    std::vector<uint8_t> Bytes;
    explicit TBytes(int Command) : Bytes{static_cast<uint8_t>(Command)} {}
    TBytes& u8(int Value) {
        Bytes.push_back(static_cast<uint8_t>(Value));
        return *this;
    }
    TBytes& u16(int Value) { return u8(Value).u8(Value >> 8); }
    TBytes& place(int X, int Y, int Z) { return u16(X).u16(Y).u8(Z); }
    TBytes& object(int X, int Y, int Z, int Type, int Position) {
        return place(X, Y, Z).u16(Type).u8(Position);
    }
};
inline bool operator==(const std::vector<uint8_t>& Sent, const TBytes& Expected) {
    return Sent == Expected.Bytes;
}
inline void PrintTo(const TBytes& Expected, std::ostream* Out) {
    *Out << ::testing::PrintToString(Expected.Bytes);
}
