// Set-up of the game dialog tests: the dialog fixture with object types of our own and a game server on
// loopback that deciphers what the dialogs send.
#pragma once

#include "tests/network/ClientConnection.h"
#include "tests/network/ClientMessages.h"
#include "tests/network/ExpectedWire.h"

#include "DialogFixture.h"
#include "LoopbackPeer.h"

#include "foundation/Utils.h"
#include "network/Network.h"
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
        ASSERT_TRUE(StartClientOnPeer(Peer, KEY));
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
    std::vector<uint8_t> Sent() { return ReadClientMessage(Peer, KEY); }
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
