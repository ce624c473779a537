// Shared set-up of the game-message tests: the game state started in the test's own directory with object
// types of its own, the real dispatcher fed with frames sealed by the test server's cipher, a loopback peer
// that reads back what the client sends, and a recording stand-in for the controller and game screen.
#pragma once

#include "control/Control.h"
#include "network/Communication.h"
#include "network/CommunicationSend.h"
#include "network/Network.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/Inventory.h"
#include "state/Map.h"
#include "state/MapLight.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "state/TalkRouting.h"
#include "tests/network/ClientConnection.h"
#include "tests/state/WorldTest.h"
#include "tools/testserver/Wire.h"
#include "tools/testserver/Xtea.h"

#include "LoopbackPeer.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

using testserver::TWireWriter;

// Item types of the game-message tests.
enum THandlerType : uint16_t {
    FLOOR = 100,  // BANK, speed 150
    THING = 101,  // no data
    COINS = 102,  // CUMULATIVE
    FLASK = 103,  // CUMULATIVE and LIQUIDCONTAINER: two data bytes
    PUDDLE = 104, // LIQUIDPOOL
    FLOOR2 = 105, // BANK, speed 100
};
inline constexpr int32_t EFFECT_TYPES = 2, MISSILE_TYPES = 2;

// What the controller and the game screen were asked to do, in order.
class TRecordingClient : public TGameClientHooks {
public:
    std::vector<std::string> Calls;
    void enterGame() override {
        Calls.push_back("enterGame");
        // The controller's part of entering that these tests rely on.
        ResetCreatures();
        ResetInventory();
        ClearMap();
    }
    void openContainerWindow(int32_t Container) override { record("open", Container); }
    void closeContainerWindow(int32_t Container) override { record("close", Container); }
    void openTradeWindow() override { Calls.push_back("openTrade"); }
    void refreshTradeWindow() override { Calls.push_back("refreshTrade"); }
    void closeTradeWindow() override { Calls.push_back("closeTrade"); }

private:
    void record(const char* Name, int32_t Container) { Calls.push_back(Name + std::to_string(Container)); }
};

struct TEvent {
    int32_t Type;
    intptr_t Param1, Param2;
};

class GameTest : public ::testing::Test {
protected:
    static bool NoWarning() { return true; }
    static void Ignore() {}
    static inline bool Connected = false;
    static void OnConnect() { Connected = true; }

    void SetUp() override {
        InitStatus(0, NoWarning);
        ResetOptions();
        ResetEventHelps();
        TDatFile File;
        File.addItem().bank(150).automap(24);
        File.addItem();
        File.addItem().flag(DAT_CUMULATIVE);
        File.addItem().flag(DAT_CUMULATIVE).flag(DAT_LIQUIDCONTAINER);
        File.addItem().flag(DAT_LIQUIDPOOL);
        File.addItem().bank(100);
        File.addOutfit();
        File.addEffect().shape(1, 1, 1, 1, 1, 1, 3);
        File.addEffect();
        File.addMissile();
        File.addMissile();
        LoadDatFile(File);
        InitMap(HideCreatureCallback);
        InitInventory();
        InitCreatures();
        InitTalk();
        Connected = false;
        InitNetwork(OnConnect, ReceivePackets, Ignore);
        SetGameClientHooks(&Client);
        ASSERT_TRUE(ConnectToPeer(Peer, [] { return Connected; }));
        SetSymmetricKey(KEY.data());
        SetConnectionState(CONNECTIONSTATE_GAME);
        SetAmbientLight(-1, 0);
    }

    void TearDown() override {
        SetGameClientHooks(nullptr);
        ExitNetwork();
        ClearMessages();
        ExitTalk();
        ExitObjects();
        ExitStatus();
    }

    // Hands the messages to the dispatcher as one frame.
    void feed(const std::vector<uint8_t>& Messages) {
        std::vector<uint8_t> Frame = testserver::SealFrame(Cipher, Messages, Random);
        ReceiveBytes(Frame.data(), static_cast<int32_t>(Frame.size()));
    }
    void feed(TWireWriter& Messages) { feed(Messages.data()); }

    // The text of the failure the messages cause; empty when none.
    std::string failure(TWireWriter& Messages) {
        try {
            feed(Messages);
        } catch (const TMyException& Error) {
            // The program would end here; the test goes on behind the rest of the broken frame.
            for (bool More = true; More;)
                try {
                    GetByte();
                } catch (const TMyException&) {
                    More = false;
                }
            return Error.getText();
        }
        return "";
    }

    // The commands the client has sent since the last call, each as its message bytes, command first.
    std::vector<std::vector<uint8_t>> sent() {
        SendLogout(); // a marker behind everything sent before; no handler sends it
        std::vector<std::vector<uint8_t>> Commands;
        std::vector<uint8_t> Bytes;
        for (;;) {
            while (Bytes.size() < 2 || Bytes.size() < 2u + (Bytes[0] | Bytes[1] << 8)) {
                std::vector<uint8_t> More = Peer.receive(4096, 2000);
                if (More.empty()) return Commands;
                Bytes.insert(Bytes.end(), More.begin(), More.end());
            }
            size_t Length = Bytes[0] | Bytes[1] << 8;
            std::span<const uint8_t> Message =
                testserver::OpenFrame(Cipher, std::span<uint8_t>(Bytes.data() + 2, Length));
            std::vector<uint8_t> Command(Message.begin(), Message.end());
            Bytes.erase(Bytes.begin(), Bytes.begin() + 2 + static_cast<ptrdiff_t>(Length));
            if (Command == std::vector<uint8_t>{20}) return Commands;
            Commands.push_back(Command);
        }
    }

    // Takes every queued event; the caller frees the parameters with freeEvents.
    std::vector<TEvent> events() {
        std::vector<TEvent> Events;
        while (GetMessageCount() > 0) {
            TEvent Event{};
            PopMessage(Event.Type, Event.Param1, Event.Param2);
            Events.push_back(Event);
        }
        Taken.insert(Taken.end(), Events.begin(), Events.end());
        return Events;
    }
    static std::vector<int32_t> types(const std::vector<TEvent>& Events) {
        std::vector<int32_t> Types;
        for (const TEvent& Event : Events)
            Types.push_back(Event.Type);
        return Types;
    }

    // Box field contents, bottom first.
    static std::vector<int32_t> stack(int32_t rx, int32_t ry, int32_t rz) {
        std::vector<int32_t> Types;
        for (int32_t Position = 0; Position < OBJECTS_PER_POINT; Position++) {
            TObject Obj;
            GetMapObject(Obj, rx, ry, rz, Position);
            if (Obj.Type != 0) Types.push_back(Obj.Type);
        }
        return Types;
    }

    // Fields by their reading-order index, each as its bytes without the field end.
    using TFields = std::map<int32_t, std::vector<uint8_t>>;
    static std::vector<uint8_t> words(std::initializer_list<uint16_t> List) {
        TWireWriter Writer;
        for (uint16_t Word : List)
            Writer.u16(Word);
        return Writer.take();
    }
    static std::vector<uint8_t> join(std::vector<uint8_t> First, const std::vector<uint8_t>& Second) {
        First.insert(First.end(), Second.begin(), Second.end());
        return First;
    }

    // An area description of Count fields in reading order: the chosen fields, all others empty.
    static void area(TWireWriter& Writer, int32_t Count, const TFields& Chosen) {
        auto EmptyRun = [&](int32_t From) {
            int32_t Run = 0;
            while (From + Run < Count && Run < 255 && Chosen.count(From + Run) == 0)
                Run++;
            return Run;
        };
        for (int32_t i = 0; i < Count;) {
            auto Field = Chosen.find(i);
            if (Field != Chosen.end()) Writer.bytes(Field->second);
            int32_t Run = EmptyRun(i + 1);
            Writer.u16(static_cast<uint16_t>(0xFF00 + Run));
            i += 1 + Run;
        }
    }

    // A full map at (x, y, z) over the given number of floors.
    static TWireWriter fullMap(int32_t x, int32_t y, int32_t z, int32_t Floors, const TFields& Chosen = {}) {
        TWireWriter Writer;
        Writer.u8(100)
            .u16(static_cast<uint16_t>(x))
            .u16(static_cast<uint16_t>(y))
            .u8(static_cast<uint8_t>(z));
        area(Writer, Floors * MAPSIZE_X * MAPSIZE_Y, Chosen);
        return Writer;
    }

    // A new creature's description behind word 97 with its full block: health 100, looking south, outfit 1
    // in colours 1..4, light 5 of colour 6, speed 220, the given skull, no shield.
    static std::vector<uint8_t> newCreature(uint32_t RemoveID, uint32_t ID, const char* Name,
                                            uint8_t Skull = 0) {
        TWireWriter Writer;
        Writer.u16(97).u32(RemoveID).u32(ID).string(Name);
        Writer.u8(100).u8(2).u16(1).u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).u16(220).u8(Skull).u8(0);
        return Writer.take();
    }

    static inline const testserver::TXteaKey KEY = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    testserver::TXteaCipher Cipher{KEY};
    std::mt19937 Random{7};
    TWorkingDirectory Scratch;
    TLoopbackPeer Peer;
    TRecordingClient Client;
    std::vector<TEvent> Taken;

public:
    ~GameTest() override {
        for (const TEvent& Event : Taken)
            FreeMessageParameters(Event.Type, Event.Param1, Event.Param2);
    }
};

inline bool Contains(const std::string& Text, const std::string& Part) {
    return Text.find(Part) != std::string::npos;
}
