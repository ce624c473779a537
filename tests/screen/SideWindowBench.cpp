// The object windows' bench: object types, the loopback server and the event queue.
#include "tests/screen/SideWindowBench.h"

#include "network/CommunicationSend.h"
#include "network/XTEA.h"
#include "state/Inventory.h"
#include "state/Objects.h"
#include "state/Talk.h"
#include "tests/state/WorldTest.h"

namespace {

constexpr uint8_t KEY[16] = {7, 1, 7, 1, 3, 5, 8, 13, 21, 34, 55, 89, 144, 233, 1, 2};
int Connected = 0;
void OnConnect() { Connected++; }
void Ignore() {}
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
    Connected = 0;
    InitStatus(0, NoWarning);
    InitNetwork(OnConnect, Ignore, Ignore);
    SetNetworkWindow(&Window);
    SetSymmetricKey(KEY);
    ASSERT_EQ(CreateSocket(), 0);
    ASSERT_EQ(ConnectToAddress("127.0.0.1", Peer.port(), false), 0);
    ASSERT_TRUE(Peer.accept());
    ASSERT_TRUE(PumpUntil([] { return Connected == 1; }));
}

void SideWindowBench::TearDown() {
    ExitNetwork();
    SetNetworkWindow(nullptr);
    ExitStatus();
    ClearMessages();
    ResetInventory();
    ExitObjects();
}

std::vector<uint8_t> SideWindowBench::sent() {
    std::vector<uint8_t> Head = Peer.receiveExactly(2);
    if (Head.size() != 2) return {};
    const int N = Head[0] | Head[1] << 8;
    std::vector<uint8_t> Block = Peer.receiveExactly(N);
    if (N == 0 || N % 8 != 0 || static_cast<int>(Block.size()) != N) return {};
    TXTEACipher Cipher;
    Cipher.setKey(KEY);
    Cipher.decryptBlocks(Block.data(), N / 8);
    const int P = Block[0] | Block[1] << 8;
    if (P + 2 > N) return {};
    return std::vector<uint8_t>(Block.begin() + 2, Block.begin() + 2 + P);
}

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
