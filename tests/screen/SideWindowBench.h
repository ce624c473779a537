// A bench for the object windows of the side bar: the panels' drawing bench, three object types (plain,
// stackable, used with another object), and a loopback game server that reads back what the windows send.
#pragma once

#include "tests/network/ExpectedWire.h"

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

    // The next message the server received, deciphered (command byte first); a failure when none came.
    std::vector<uint8_t> sent();
    // True when nothing was sent since the last read: a marker message is the next to arrive.
    bool nothingSent();
    // The queued event types, taken off the queue.
    std::vector<int32_t> takeEvents();

    TPanelScreen Screen;
    TLoopbackPeer Peer;
    TForwardingWindow Window;
};
