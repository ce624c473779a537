// Shared set-up of the controller's connection tests: the real network callbacks, a scripted resolver, the
// frame window, an in-process test server on 127.0.0.1, and helpers to read what the client queued.
#pragma once

#include "control/Control.h"
#include "control/MainFrm.h"
#include "network/Communication.h"
#include "network/Network.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "tests/network/NetworkFixture.h"
#include "tools/testserver/Messages.h"
#include "tools/testserver/TestServer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline constexpr uint32_t TEST_ACCOUNT = 4711;
inline constexpr const char* TEST_PASSWORD = "mellon";
inline const std::string CLOSING_LINES =
    "\n\nFor more information take a look at the FAQs in the \nguide section at "
    "www.pellarune.example.";

class ControlTest : public ::testing::Test {
protected:
    static bool NoWarning() { return true; }

    void SetUp() override {
        InitStatus(0, NoWarning);
        ResetOptions();
        SetAccount(TEST_ACCOUNT, TEST_PASSWORD);
        Resolver = std::make_shared<TScriptedResolver>();
        SetHostResolver(Resolver);
        SetLoginServerEndpoint("login.pellarune.test", Server.loginPort());
        InitNetwork(OnConnected, ReceivePackets, OnConnectionFailed);
        InitControlConnection(&Frame);
    }
    void TearDown() override {
        ExitNetwork();
        SetNetworkWindow(nullptr);
        Resolver->setBlocked(false);
        SetHostResolver(nullptr);
        SetLoginServerEndpoint(LOGIN_SERVER_HOSTNAME, LOGIN_SERVER_PORT);
        ClearMessages();
        ExitStatus();
    }

    // Starts a login (event 61) and pumps until the client is offline again; false on the deadline.
    bool LoginUntilOffline(int TimeoutMs = 5000) {
        ConnectToNextLoginServer();
        return PumpUntil([] { return GetConnectionState() == CONNECTIONSTATE_OFFLINE; }, TimeoutMs);
    }

    // Connects to the game server of character Number of the list (event 62) and pumps until Done holds.
    template <typename TDone> bool EnterCharacter(int32_t Number, TDone Done, int TimeoutMs = 5000) {
        SetActiveCharacter(Number);
        ConnectToGameServer();
        return PumpUntil(Done, TimeoutMs);
    }

    // A character list of one entry on the test server's game port, as a login would leave it.
    void ListOneCharacter(const char* Name) {
        const uint8_t Loopback[4] = {127, 0, 0, 1};
        SetAccountCharacters(1);
        SetAccountCharacter(0, Name, "Pellarune", Loopback, Server.gamePort());
    }

    // Takes every queued event; texts of message boxes and of the waiting list are copied and freed.
    static std::vector<TQueuedEvent> TakeEvents() {
        std::vector<TQueuedEvent> Events;
        while (GetMessageCount() > 0) {
            TQueuedEvent Event{};
            PopMessage(Event.Type, Event.Param1, Event.Param2);
            if (Event.Type == MESSAGE_MESSAGEBOX) {
                Event.Title = MessagePointer<char>(Event.Param1);
                Event.Text = MessagePointer<char>(Event.Param2);
            } else if (Event.Type == MESSAGE_WAITINGLIST) {
                Event.Text = MessagePointer<char>(Event.Param1);
            }
            FreeMessageParameters(Event.Type, Event.Param1, Event.Param2);
            Events.push_back(Event);
        }
        return Events;
    }

    static std::vector<int32_t> Types(const std::vector<TQueuedEvent>& Events) {
        std::vector<int32_t> Result;
        for (const TQueuedEvent& Event : Events)
            Result.push_back(Event.Type);
        return Result;
    }

    // The ring of message types, newest first.
    static std::vector<int32_t> LastTypes(int32_t Count) {
        std::vector<int32_t> Result;
        for (int32_t i = 1; i <= Count; i++)
            Result.push_back(
                GetLastPacketType((GetLastPacketTypeIndex() - i + LASTPACKETTYPES) % LASTPACKETTYPES));
        return Result;
    }

    testserver::TTestServer Server{
        testserver::TServerConfig{0, 0, "", std::chrono::milliseconds(1), nullptr}};
    std::shared_ptr<TScriptedResolver> Resolver;
    CFrameMessageTarget Frame;
};
