// The object windows' bench: object types, the loopback server and the event queue.
#include "tests/screen/SideWindowBench.h"

#include "network/CommunicationSend.h"
#include "state/Inventory.h"
#include "state/Objects.h"
#include "state/Talk.h"
#include "tests/network/ClientConnection.h"
#include "tests/network/ClientMessages.h"
#include "tests/state/WorldTest.h"

namespace {

constexpr uint8_t KEY[16] = {7, 1, 7, 1, 3, 5, 8, 13, 21, 34, 55, 89, 144, 233, 1, 2};
bool NoWarning() { return true; }

} // namespace

void SideWindowBench::SetUp() {
    TDatFile File;
    File.addItem().sprite(1, 1, 1, 1, 1, 1, 1, 1);                      // PLAIN
    File.addItem().flag(DAT_CUMULATIVE).sprite(1, 1, 1, 1, 1, 1, 1, 1); // STACK
    File.addItem().flag(DAT_USEWITH).sprite(1, 1, 1, 1, 1, 1, 1, 1);    // TOOL
    File.addItem().flag(DAT_CONTAINER).sprite(1, 1, 1, 1, 1, 1, 1, 1);  // BAG
    File.addOutfit();
    File.addEffect();
    File.addMissile();
    LoadDatFile(File);
    ResetOptions();
    ResetInventory();
    ClearMessages();
    InitStatus(0, NoWarning);
    SetNetworkWindow(&Window);
    ASSERT_TRUE(StartClientOnPeer(Peer, KEY));
}

void SideWindowBench::TearDown() {
    ExitNetwork();
    SetNetworkWindow(nullptr);
    ExitStatus();
    ClearMessages();
    ResetInventory();
    ExitObjects();
}

std::vector<uint8_t> SideWindowBench::sent() { return ReadClientMessage(Peer, KEY); }

bool SideWindowBench::nothingSent() {
    SendPingAnswer();
    return sent() == std::vector<uint8_t>{30};
}

std::vector<int32_t> SideWindowBench::takeEvents() {
    std::vector<int32_t> Types;
    while (GetMessageCount() > 0) {
        int32_t Type = 0;
        intptr_t P1 = 0, P2 = 0;
        PopMessage(Type, P1, P2);
        FreeMessageParameters(Type, P1, P2);
        Types.push_back(Type);
    }
    return Types;
}
