// Set-up of the game dialog tests: the dialog fixture with object types of our own and a game server on
// loopback that deciphers what the dialogs send.
#pragma once

#include "tests/network/ExpectedWire.h"

#include "DialogFixture.h"
#include "LoopbackPeer.h"

#include "foundation/Utils.h"
#include "network/Network.h"
#include "network/XTEA.h"
#include "screen/MainWindow.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Inventory.h"
#include "state/Map.h"
#include "state/MapAutomap.h"
#include "state/Objects.h"
#include "state/TalkRouting.h"
#include "tests/state/WorldTest.h"

#include <string>
#include <vector>

// Item types of the dialog tests.
enum : int32_t {
    COINS = 100,  // cumulative
    BOOK = 101,   // text can always be written
    LETTER = 102, // text can be written while empty
    SIGN = 103,   // text can only be read
};

class GameDialogTest : public DialogTest {
protected:
    static constexpr uint8_t KEY[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    static inline int Connected = 0;
    static constexpr int32_t KNOWN_LOOKS = 132;

    void SetUp() override {
        DialogTest::SetUp();
        TDatFile File;
        File.addItem().flag(DAT_CUMULATIVE);
        File.addItem().flag(DAT_WRITE);
        File.addItem().flag(DAT_WRITEONCE);
        File.addItem();
        for (int32_t i = 1; i <= KNOWN_LOOKS; i++)
            File.addOutfit().shape(1, 1, 1, 4, 1, 1, 1); // four directions
        File.addEffect();
        File.addMissile();
        LoadDatFile(File);
        Connected = 0;
        InitNetwork([] { Connected++; }, [] {}, [] {});
        SetSymmetricKey(KEY);
        ASSERT_EQ(CreateSocket(), 0);
        ASSERT_EQ(ConnectToAddress("127.0.0.1", Peer.port(), false), 0);
        ASSERT_TRUE(Peer.accept());
        ASSERT_TRUE(PumpUntil([] { return Connected == 1; }));
    }
    void TearDown() override {
        ExitNetwork();
        ExitObjects();
        DialogTest::TearDown();
    }

    // Posts one event and lets the dispatch open its dialog.
    static void Open(int32_t Type, intptr_t Param1 = 0, intptr_t Param2 = 0) {
        AddMessage(Type, Param1, Param2);
        ProcessMessages();
    }

    static std::string Caption() { return Dialog() != nullptr ? Dialog()->_Caption : ""; }

    // The next message the server received, deciphered, command byte first.
    std::vector<uint8_t> Sent() {
        std::vector<uint8_t> Head = Peer.receiveExactly(2);
        if (Head.size() != 2) {
            ADD_FAILURE() << "no frame arrived";
            return {};
        }
        const int N = Head[0] | Head[1] << 8;
        std::vector<uint8_t> Block = Peer.receiveExactly(N);
        if (N == 0 || N % 8 != 0 || static_cast<int>(Block.size()) != N) {
            ADD_FAILURE() << "frame of " << N << " bytes";
            return {};
        }
        TXTEACipher Cipher;
        Cipher.setKey(KEY);
        Cipher.decryptBlocks(Block.data(), N / 8);
        const int P = Block[0] | Block[1] << 8;
        if (P + 2 > N) return {};
        return std::vector<uint8_t>(Block.begin() + 2, Block.begin() + 2 + P);
    }
    bool NothingSent() { return Peer.receive(1, 50).empty(); }

    TLoopbackPeer Peer;
};

// The game dialog fixture in a game: the player's creature "Aldric" and the game screen shown over an empty
// map.
class GameScreenDialogTest : public GameDialogTest {
protected:
    static constexpr uint32_t PLAYER = 0x10000001;

    void SetUp() override {
        GameDialogTest::SetUp();
        InitTalk();
        InitAutomap();
        InitInventory();
        InitCreatures();
        InitMap(nullptr);
        SetPlayerID(PLAYER);
        CopyString(NewCreature(0, PLAYER)->Name, "Aldric");
        GetMainWindow()->setGameScreen(true);
    }
    void TearDown() override {
        GetMainWindow()->setGameScreen(false);
        ExitTalk();
        GameDialogTest::TearDown();
    }
};
