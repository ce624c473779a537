// Tests of the connection: the round of login servers, look-ups, time-out, game-server connects, error texts.
#include "ClientConnection.h"
#include "NetworkFixture.h"

#include "foundation/Exception.h"

namespace {

const std::string CLOSING = "\n\nFor more information take a look at the FAQs in the \nguide section at "
                            "www.pellarune.example.";

std::string ErrorMessage(int32_t ErrorCode, int32_t ErrorType) {
    char Text[CONNECTION_ERROR_TEXT_SIZE];
    ConnectionErrorMessage(Text, ErrorCode, ErrorType);
    return Text;
}

bool AllUntried() {
    for (int32_t i = 0; i <= NUMBEROFSERVER; i++)
        if (GetLoginServer(i)->Untried != 1) return false;
    return true;
}

} // namespace

TEST_F(NetworkTest, EveryServerRefusingTriesEachOnceInOrderThenReportsOnce) {
    int32_t First = GetCurrentServer();
    ConnectToNextLoginServer();
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_RESOLVING);
    ASSERT_TRUE(PumpUntil([] { return GetMessageCount() > 0; }, 5000));
    std::vector<int32_t> Expected;
    for (int32_t i = 0; i < NUMBEROFSERVER; i++)
        Expected.push_back((First + i) % NUMBEROFSERVER);
    EXPECT_EQ(Window.AnsweredServers, Expected) << "each entry looked up and tried once, wrapping after 3";
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Title, "Connection failed");
    EXPECT_EQ(Events[0].Text,
              "Cannot connect to a login server.\n\nError: Connection refused.\n\nAll login server "
              "are offline. Check www.pellarune.example\nfor more information." +
                  CLOSING);
    EXPECT_TRUE(AllUntried()) << "a new round may start";
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    for (int32_t i = 0; i < NUMBEROFSERVER; i++)
        EXPECT_EQ(GetLoginServer(i)->Resolved, 1) << "the looked-up address is kept";
}

TEST_F(NetworkTest, LookupThatNeverAnswersTimesOutAfter150TicksAndTheNextEntryIsTried) {
    Resolver->setBlocked(true);
    int32_t First = GetCurrentServer();
    ConnectToNextLoginServer();
    ASSERT_TRUE(PumpUntil([&] { return Resolver->askedCount() == 1; }));
    for (int32_t Tick = 0; Tick < 150; Tick++)
        CheckConnectionTimeout();
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_RESOLVING) << "150 ticks are not yet a time-out";
    CheckConnectionTimeout();
    EXPECT_EQ(GetLoginServer(First)->LastError, 10060);
    EXPECT_EQ(GetLoginServer(First)->Untried, 0);
    EXPECT_EQ(GetCurrentServer(), (First + 1) % NUMBEROFSERVER);
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_RESOLVING);
    EXPECT_EQ(GetConnectionTimeoutLimit(), 150) << "the next look-up is armed again";
    ASSERT_TRUE(PumpUntil([&] { return Resolver->askedCount() == 2; }));
    Resolver->setBlocked(false);
    ASSERT_TRUE(PumpUntil([&] { return Window.AnsweredServers.size() == 1; }));
    EXPECT_EQ(Window.AnsweredServers, std::vector<int32_t>{(First + 1) % NUMBEROFSERVER})
        << "the timed-out look-up's late answer is dropped";
}

TEST_F(NetworkTest, OverloadedServerOutranksTheLastError) {
    SetLoginServerError(ERROR_SERVER_OVERLOADED);
    TLoginServer* Entry;
    ASSERT_TRUE(SelectLoginServer(&Entry));
    SetLoginServerError(10060);
    EXPECT_EQ(GetLoginServerError(), ERROR_SERVER_OVERLOADED);
    EXPECT_EQ(
        ErrorMessage(GetLoginServerError(), ERRORTYPE_LOGINSERVER),
        "Cannot connect to a login server.\n\nError: Login server is overloaded. Please try again later." +
            CLOSING);
}

TEST_F(NetworkTest, TestServerIsTriedAloneAndFailsWithItsOwnText) {
    SetTestServer(true);
    SetTestServerAddress("test.pellarune.test");
    SetTestServerPort(TLoopbackPeer::unusedPort());
    ConnectToNextLoginServer();
    ASSERT_TRUE(PumpUntil([] { return GetMessageCount() > 0; }, 5000));
    EXPECT_EQ(Resolver->askedCount(), 1u);
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Text,
              "Cannot connect to the test server.\n\nError: Connection refused.\n\nThe test server is "
              "offline. Check www.pellarune.example\nfor more information on any current test.\nIf "
              "you don't want to use the test server go to\nthe network option and uncheck \"Test "
              "Server Login\"." +
                  CLOSING);
    EXPECT_EQ(
        ErrorMessage(10054, 7),
        "Cannot connect to the test server.\n\nError: 10054\n\nCheck www.pellarune.example for more "
        "information on \nany current test.\nIf you don't want to use the test server go to\nthe network "
        "option and uncheck \"Test Server Login\"." +
            CLOSING)
        << "with the test server the error type is not examined";
}

TEST_F(NetworkTest, ErrorTextsOfOtherCodesAndTypes) {
    EXPECT_EQ(ErrorMessage(10054, ERRORTYPE_GAMESERVER),
              "Cannot connect to the game server.\n\nError: 10054" + CLOSING);
    EXPECT_EQ(ErrorMessage(10061, ERRORTYPE_GAMESERVER),
              "Cannot connect to the game server.\n\nError: Connection refused.\n\nThe game server is "
              "offline. Check "
              "www.pellarune.example\nfor more information." +
                  CLOSING);
    EXPECT_EQ(ErrorMessage(11001, ERRORTYPE_LOGINSERVER),
              "Cannot connect to a login server.\n\nError: Server name does not exist." + CLOSING);
    try {
        ErrorMessage(1, 3);
        ADD_FAILURE() << "an unknown error type must fail";
    } catch (const TMyException& Error) {
        EXPECT_NE(Error.getText().find("assertion failed (ErrorType = 3), reason:\nunknown error type"),
                  std::string::npos)
            << Error.getText();
        EXPECT_NE(Error.getText().find("(ErrorCode = 1)"), std::string::npos) << "the frame names the code";
    }
}

TEST_F(NetworkTest, LookupThatCannotStartEndsTheAttemptAndKeepsTheRoundsMarks) {
    Resolver->setScript({{11001, ""}});
    int32_t First = GetCurrentServer();
    Window.BeforeAnswer = [&] {
        if (Window.AnsweredServers.size() == 2) SetNetworkWindow(nullptr);
    };
    ConnectToNextLoginServer();
    ASSERT_TRUE(PumpUntil([] { return GetMessageCount() > 0; }, 5000));
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Text, "Cannot connect to a login server.\n\nError: 10014" + CLOSING);
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    EXPECT_EQ(GetLoginServer(First)->Untried, 0);
    EXPECT_EQ(GetLoginServer((First + 1) % NUMBEROFSERVER)->Untried, 0);

    SetNetworkWindow(&Window);
    Window.BeforeAnswer = nullptr;
    Window.AnsweredServers.clear();
    ConnectToNextLoginServer();
    ASSERT_TRUE(PumpUntil([] { return GetMessageCount() > 0; }, 5000));
    EXPECT_EQ(Window.AnsweredServers,
              (std::vector<int32_t>{(First + 2) % NUMBEROFSERVER, (First + 3) % NUMBEROFSERVER}))
        << "the entries not yet tried come first";
    Events = TakeEvents();
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Text,
              "Cannot connect to a login server.\n\nError: Server name does not exist." + CLOSING);
    EXPECT_TRUE(AllUntried());
}

TEST_F(NetworkTest, SuccessfulConnectToALoginServerCallsTheHandlerAndKeepsTheRound) {
    TLoopbackPeer Peer;
    SetLoginServerEndpoint("login.pellarune.test", Peer.port());
    InitLoginServers();
    Resolver->setScript({{11002, ""}, {0, "127.0.0.1"}});
    int32_t First = GetCurrentServer();
    ConnectToNextLoginServer();
    ASSERT_TRUE(PumpUntil([] { return Connected > 0; }, 5000));
    EXPECT_EQ(Window.AnsweredServers, (std::vector<int32_t>{First, (First + 1) % NUMBEROFSERVER}));
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_CONNECTLOGIN);
    EXPECT_EQ(GetConnectionTimeoutLimit(), 0) << "the time-out is disarmed";
    EXPECT_EQ(GetLoginServer(First)->Untried, 0) << "the round ends only with the server's answer";
    EXPECT_EQ(GetLoginServer(First)->LastError, 11002) << "the last error stays";
    EXPECT_TRUE(IsConnected());
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(NetworkTest, ServerClosingTearsDownAndCallsTheCloseHandler) {
    TLoopbackPeer Peer;
    ASSERT_TRUE(ConnectToPeer(Peer, [] { return Connected == 1; }));
    Peer.closeConnection();
    ASSERT_TRUE(PumpUntil([] { return Closed == 1; }));
    EXPECT_FALSE(IsConnected());
}

TEST_F(NetworkTest, GameServerRefusingReportsAndShowsTheCharacterListAgain) {
    const uint8_t Address[4] = {127, 0, 0, 1};
    SetAccountCharacters(1);
    SetAccountCharacter(0, "Avalon", "Pellara", Address, TLoopbackPeer::unusedPort());
    SetActiveCharacter(0);
    ConnectToGameServer();
    EXPECT_EQ(GetConnectionTimeoutLimit(), 0) << "a game-server connect has no time-out";
    ASSERT_TRUE(PumpUntil([] { return GetMessageCount() > 0; }));
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Events.size(), 2u);
    EXPECT_EQ(Events[0].Title, "Connection failed");
    EXPECT_EQ(Events[0].Text.substr(0, 45), "Cannot connect to the game server.\n\nError: Co");
    EXPECT_EQ(Events[1].Type, MESSAGE_CHARACTERLIST);
    EXPECT_EQ(Events[1].Param1, 300);
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    EXPECT_FALSE(IsConnected());
}

TEST_F(NetworkTest, AnswerArrivingInAnotherStateEndsTheAttempt) {
    ConnectToNextLoginServer();
    SetConnectionState(CONNECTIONSTATE_CONNECTLOGIN);
    ASSERT_TRUE(PumpUntil([] { return GetMessageCount() > 0; }));
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Text, "Cannot connect to a login server.\n\nError: -1" + CLOSING);
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
}

TEST_F(NetworkTest, ForcedDisconnectCancelsThePendingLookup) {
    Resolver->setBlocked(true);
    ConnectToNextLoginServer();
    ASSERT_TRUE(PumpUntil([&] { return Resolver->askedCount() == 1; }));
    Disconnect(true);
    Resolver->setBlocked(false);
    for (int i = 0; i < 10; i++)
        PumpEvents(5);
    EXPECT_TRUE(Window.AnsweredServers.empty());
    EXPECT_EQ(GetPendingHostLookups(), 0);
}

TEST_F(NetworkTest, InitialisingAgainDropsThePendingLookupBeforeItsBufferGoes) {
    Resolver->setBlocked(true);
    ConnectToNextLoginServer();
    ASSERT_TRUE(PumpUntil([&] { return Resolver->askedCount() == 1; }));
    InitNetwork(ConnectedHandler, ReceivedHandler, ClosedHandler);
    EXPECT_EQ(GetPendingHostLookups(), 0);
    Resolver->setBlocked(false);
    for (int i = 0; i < 10; i++)
        PumpEvents(5);
    EXPECT_TRUE(Window.AnsweredServers.empty()) << "the answer is not written to the freed buffer";
}
