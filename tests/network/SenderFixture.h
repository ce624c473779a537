// Shared set-up of the client-message tests: a game server on loopback that deciphers what the client sends
// with the session key, a world of ground around the player for the walk path, and expected wire bytes.
#pragma once

#include "tests/network/ClientConnection.h"
#include "tests/network/ClientMessages.h"
#include "tests/network/ExpectedWire.h"

#include "NetworkFixture.h"

#include "network/Communication.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Map.h"
#include "state/Objects.h"
#include "state/Talk.h"
#include "tests/state/WorldTest.h"

#include <string>
#include <vector>

class SenderTest : public NetworkTest {
protected:
    static constexpr int32_t VX = 32000, VY = 32000, VZ = 7; // the player's field, the view position
    static constexpr uint32_t PLAYER = 0x10000001;
    static constexpr uint8_t KEY[16] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 11, 22, 33, 44, 55, 66};

    void SetUp() override {
        NetworkTest::SetUp();
        ResetOptions();
        SetOutfitRequested(false);
        InitCreatures();
        LoadWorldTypes();
        InitMap(HideCreatureCallback);
        SetViewPosition(VX, VY, VZ);
        for (int32_t rx = 0; rx < MAPSIZE_X; rx++)
            for (int32_t ry = 0; ry < MAPSIZE_Y; ry++)
                AppendMapObject(rx, ry, GetViewLayer(), {GROUND, 0, 0});
        PlacePlayer();
        SetSymmetricKey(KEY);
        ASSERT_TRUE(ConnectToPeer(Peer, [] { return Connected == 1; }));
    }
    void TearDown() override {
        NetworkTest::TearDown();
        ClearMap();
        ExitObjects();
        SetOutfitRequested(false);
    }

    // The next message the server received (command byte first).
    std::vector<uint8_t> Sent() { return ReadClientMessage(Peer, KEY); }
    bool NothingSent() { return Peer.receive(1, 50).empty(); }

    // A fresh queue of Count steps east.
    static void QueueSteps(int32_t Count) {
        StopPlayerWalk();
        ASSERT_EQ(GoToField(VX + Count, VY, VZ, false, false), 1);
        ASSERT_EQ(GetNumberOfPlayerSteps(), Count);
    }
    static std::string Status() {
        const char* Message = GetStatusMessage();
        return Message != nullptr ? Message : "";
    }

    TLoopbackPeer Peer;
    TWorkingDirectory Scratch;

private:
    static void PlacePlayer() {
        SetPlayerID(PLAYER);
        SetHitpoints(150, 150);
        TCreature& Player = *NewCreature(0, PLAYER);
        Player.X = VX;
        Player.Y = VY;
        Player.Z = VZ;
        Player.OutfitType = 128;
        Player.HealthPercent = 100;
        Player.Speed = 220;
        Player.Visible = 1;
    }
};
