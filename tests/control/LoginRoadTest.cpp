// The road of a login over loopback against the test server: what the server received, what the client
// holds and what it queued, for answers, failures, closes in each state and broken frames.
#include "ControlFixture.h"

#include "foundation/Exception.h"

using namespace testserver;

namespace {

std::string LoginFailure(const std::string& Error, const std::string& Advice = "") {
    return "Cannot connect to a login server.\n\nError: " + Error + Advice + CLOSING_LINES;
}

const std::string ALL_OFFLINE =
    "\n\nAll login server are offline. Check www.pellarune.example\nfor more information.";

TPlan Answering(std::vector<testserver::TMessage> Messages) {
    TPlan Plan;
    Plan.Answer = std::move(Messages);
    return Plan;
}

TPlan WithFault(TPlan Plan, TFault Fault, uint32_t Value = 0) {
    Plan.Misbehaviour = {Fault, Value};
    return Plan;
}

// The error text that the failed dispatch raised out of the event pump.
std::string PumpError(int TimeoutMs = 3000) {
    try {
        PumpUntil([] { return false; }, TimeoutMs);
    } catch (const TMyException& Error) {
        return Error.getText();
    }
    return "";
}

class LoginRoadTest : public ControlTest {
protected:
    // The default answer: message of the day 1 and Aldric and Brenna on the game port.
    void ExpectDefaultAnswerHeld() {
        std::vector<TQueuedEvent> Events = TakeEvents();
        ASSERT_EQ(Types(Events), (std::vector<int32_t>{MESSAGE_MESSAGEOFTHEDAY, MESSAGE_CHARACTERLIST}));
        EXPECT_EQ(Events[1].Param1, 300);
        EXPECT_EQ(Events[1].Param2, 0);
        EXPECT_STREQ(GetMessageOfTheDay(), "Welcome to the Pellarune test server.");
        ASSERT_EQ(GetAccountCharacters(), 2);
        EXPECT_STREQ(GetCharacterName(0), "Aldric");
        EXPECT_STREQ(GetCharacterName(1), "Brenna");
        EXPECT_STREQ(GetCharacterWorld(1), "Pellarune");
        EXPECT_STREQ(GetCharacterAddress(1), "127.0.0.1");
        EXPECT_EQ(GetCharacterPort(1), Server.gamePort());
        EXPECT_EQ(LastTypes(2), (std::vector<int32_t>{100, 20}));
    }
};

} // namespace

TEST_F(LoginRoadTest, LoginReachesTheCharacterListAndTheGameLoginIsDecipheredAndAnswered) {
    SetGraphicsSignatureGetters([] { return 0x11110001u; }, [] { return 0x22220002u; });
    ASSERT_TRUE(LoginUntilOffline());
    SetGraphicsSignatureGetters(nullptr, nullptr);
    ExpectDefaultAnswerHeld();
    TReceived Got = Server.received();
    ASSERT_EQ(Got.Logins.size(), 1u);
    const TLoginRecord& Login = Got.Logins[0];
    EXPECT_EQ(Login.SprSignature, 0x11110001u);
    EXPECT_EQ(Login.PicSignature, 0x22220002u);
    EXPECT_EQ(Login.Account, TEST_ACCOUNT);
    EXPECT_EQ(Login.Password, TEST_PASSWORD);
    EXPECT_TRUE(Got.Errors.empty()) << Got.Errors.front();
    for (int32_t i = 0; i <= NUMBEROFSERVER; i++)
        EXPECT_EQ(GetLoginServer(i)->Untried, 1) << "the answer ends the round";

    Server.setPlan(TRole::Game, Answering({GameErrorMessage("The world is closed.")}));
    ASSERT_TRUE(EnterCharacter(1, [] { return GetMessageCount() > 0; }));
    TReceived GameGot = Server.received();
    ASSERT_EQ(GameGot.GameLogins.size(), 1u);
    const TGameLoginRecord& GameLogin = GameGot.GameLogins[0];
    EXPECT_EQ(GameLogin.GamemasterFlag, 0);
    EXPECT_EQ(GameLogin.Account, TEST_ACCOUNT);
    EXPECT_EQ(GameLogin.CharacterName, "Brenna");
    EXPECT_EQ(GameLogin.Password, TEST_PASSWORD);
    EXPECT_NE(GameLogin.Key, Login.Key) << "each login draws a new key";
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Types(Events), std::vector<int32_t>{MESSAGE_MESSAGEBOX});
    EXPECT_EQ(Events[0].Title, "Sorry");
    EXPECT_EQ(Events[0].Text, "The world is closed.");
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    EXPECT_FALSE(IsConnected());
}

TEST_F(LoginRoadTest, GameServerNoticesKeepTheConnectionUntilTheServerCloses) {
    ListOneCharacter("Aldric");
    TPlan Plan = Answering(
        {GameInformationMessage("Server save in 5 minutes."), WaitingListMessage("Too many players.", 0)});
    Server.setPlan(TRole::Game, Plan);
    ASSERT_TRUE(EnterCharacter(0, [] { return GetConnectionState() == CONNECTIONSTATE_OFFLINE; }));
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Types(Events), (std::vector<int32_t>{MESSAGE_MESSAGEBOX, MESSAGE_WAITINGLIST}))
        << "a close after the first answer (state 7) shows nothing more";
    EXPECT_EQ(Events[0].Title, "For Your Information");
    EXPECT_EQ(Events[0].Text, "Server save in 5 minutes.");
    EXPECT_EQ(Events[1].Text, "Too many players.");
    EXPECT_EQ(Events[1].Param2, 0) << "0 seconds still queue the countdown";
    EXPECT_EQ(LastTypes(2), (std::vector<int32_t>{22, 21}));
}

TEST_F(LoginRoadTest, ErrorAnswerShowsSorryAndEndsTheConnection) {
    Server.setPlan(TRole::Login,
                   Answering({LoginErrorMessage("Account number or password is not correct.")}));
    ASSERT_TRUE(LoginUntilOffline());
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Types(Events), std::vector<int32_t>{MESSAGE_MESSAGEBOX});
    EXPECT_EQ(Events[0].Title, "Sorry");
    EXPECT_EQ(Events[0].Text, "Account number or password is not correct.");
    EXPECT_FALSE(IsConnected());
}

TEST_F(LoginRoadTest, RetryMovesToTheNextLoginServerWithANewKey) {
    int32_t First = GetCurrentServer();
    Server.queuePlan(TRole::Login, Answering({LoginRetryMessage()}));
    ASSERT_TRUE(LoginUntilOffline());
    ExpectDefaultAnswerHeld();
    TReceived Got = Server.received();
    ASSERT_EQ(Got.Logins.size(), 2u);
    EXPECT_NE(Got.Logins[0].Key, Got.Logins[1].Key);
    EXPECT_EQ(GetLoginServer(First)->LastError, ERROR_SERVER_OVERLOADED);
    EXPECT_EQ(GetCurrentServer(), (First + 1) % NUMBEROFSERVER);
}

TEST_F(LoginRoadTest, RetryFromEveryLoginServerReportsAnOverloadedServer) {
    Server.setPlan(TRole::Login, Answering({LoginRetryMessage()}));
    ASSERT_TRUE(LoginUntilOffline());
    EXPECT_EQ(Server.received().Logins.size(), 4u);
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Types(Events), std::vector<int32_t>{MESSAGE_MESSAGEBOX});
    EXPECT_EQ(Events[0].Title, "Connection failed");
    EXPECT_EQ(Events[0].Text, LoginFailure("Login server is overloaded. Please try again later."));
}

TEST_F(LoginRoadTest, RefusedConnectionFailedLookupAndTimeOutEachHaveTheirText) {
    SetLoginServerEndpoint("login.pellarune.test", TLoopbackPeer::unusedPort());
    InitLoginServers();
    ConnectToNextLoginServer();
    ASSERT_TRUE(PumpUntil([] { return GetMessageCount() > 0; }, 5000));
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Types(Events), std::vector<int32_t>{MESSAGE_MESSAGEBOX});
    EXPECT_EQ(Events[0].Title, "Connection failed");
    EXPECT_EQ(Events[0].Text, LoginFailure("Connection refused.", ALL_OFFLINE));

    InitLoginServers();
    size_t Asked = Resolver->askedCount();
    Resolver->setScript({{11001, ""}});
    ConnectToNextLoginServer();
    ASSERT_TRUE(PumpUntil([] { return GetMessageCount() > 0; }, 5000));
    Events = TakeEvents();
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Text, LoginFailure("Server name does not exist."));
    EXPECT_EQ(Resolver->askedCount() - Asked, 4u) << "each entry is looked up by itself";

    InitLoginServers();
    Resolver->setBlocked(true);
    ConnectToNextLoginServer();
    for (int32_t Server = 0; Server < NUMBEROFSERVER; Server++) {
        for (int32_t Tick = 0; Tick < 150; Tick++) {
            IncreaseTickCounter();
            CheckConnectionTimeout();
        }
        EXPECT_EQ(GetMessageCount(), 0) << "150 ticks are not yet a time-out";
        IncreaseTickCounter();
        CheckConnectionTimeout();
    }
    Events = TakeEvents();
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Title, "Connection failed");
    EXPECT_EQ(Events[0].Text, LoginFailure("Connection timeout."));
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
}

TEST_F(LoginRoadTest, LoginServerClosingBeforeItsAnswerIsADisconnection) {
    const std::string Disconnected = LoginFailure("Disconnected from server.");
    for (TFault Fault : {TFault::CloseAtOnce, TFault::CloseAfterLogin}) {
        Server.queuePlan(TRole::Login, WithFault(TPlan{}, Fault));
        ASSERT_TRUE(LoginUntilOffline());
        std::vector<TQueuedEvent> Events = TakeEvents();
        ASSERT_EQ(Types(Events), std::vector<int32_t>{MESSAGE_MESSAGEBOX}) << static_cast<int>(Fault);
        EXPECT_EQ(Events[0].Title, "Connection failed");
        EXPECT_EQ(Events[0].Text, Disconnected);
    }
    EXPECT_EQ(Server.received().Logins.size(), 1u) << "only the second session read the login";

    // Cut inside the first frame: nothing was dispatched, so the login is still unanswered.
    Server.queuePlan(TRole::Login, WithFault(DefaultLoginPlan(0), TFault::CloseAfterBytes, 5));
    ASSERT_TRUE(LoginUntilOffline());
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Text, Disconnected);
}

TEST_F(LoginRoadTest, LoginServerClosingInTheMiddleOfItsAnswerShowsNothingMore) {
    TPlan Plan = DefaultLoginPlan(Server.gamePort());
    Plan.FramePerMessage = true;
    size_t FirstFrame = 2 + (2 + Plan.Answer[0].size() + 7) / 8 * 8;
    Server.setPlan(TRole::Login,
                   WithFault(Plan, TFault::CloseAfterBytes, static_cast<uint32_t>(FirstFrame + 3)));
    ASSERT_TRUE(LoginUntilOffline());
    EXPECT_EQ(Types(TakeEvents()), std::vector<int32_t>{MESSAGE_MESSAGEOFTHEDAY});
    EXPECT_EQ(GetAccountCharacters(), 0);
}

TEST_F(LoginRoadTest, GameServerClosingBeforeItsAnswerShowsTheFailureAndTheListAgain) {
    const std::string Disconnected =
        "Cannot connect to the game server.\n\nError: Disconnected from server." + CLOSING_LINES;
    for (TFault Fault : {TFault::CloseAtOnce, TFault::CloseAfterLogin}) {
        ListOneCharacter("Aldric");
        Server.queuePlan(TRole::Game, WithFault(TPlan{}, Fault));
        ASSERT_TRUE(EnterCharacter(0, [] { return GetConnectionState() == CONNECTIONSTATE_OFFLINE; }));
        std::vector<TQueuedEvent> Events = TakeEvents();
        ASSERT_EQ(Types(Events), (std::vector<int32_t>{MESSAGE_MESSAGEBOX, MESSAGE_CHARACTERLIST}));
        EXPECT_EQ(Events[0].Title, "Connection failed");
        EXPECT_EQ(Events[0].Text, Disconnected);
        EXPECT_EQ(Events[1].Param1, 300);
    }
}

TEST_F(LoginRoadTest, OneByteTrickleGivesTheSameAnswer) {
    Server.setPlan(TRole::Login, WithFault(DefaultLoginPlan(Server.gamePort()), TFault::Trickle));
    ASSERT_TRUE(LoginUntilOffline(10000));
    ExpectDefaultAnswerHeld();
}

TEST_F(LoginRoadTest, BrokenFramesEndTheDispatchWithTheSystemsOwnError) {
    Server.queuePlan(TRole::Login, WithFault(TPlan{}, TFault::BadFrameLength, 12));
    ConnectToNextLoginServer();
    std::string Text = PumpError();
    EXPECT_NE(Text.find("Control.cpp"), std::string::npos) << Text;
    EXPECT_NE(Text.find(": exception occurred (Type = -1), reason:"), std::string::npos) << Text;
    EXPECT_NE(
        Text.find(
            "assertion failed (PacketSize = 12), reason:\npacket size does not fit to symmetric encryption"),
        std::string::npos)
        << Text;

    ExitNetwork();
    InitNetwork(OnConnected, ReceivePackets, OnConnectionFailed);
    Server.queuePlan(TRole::Login, WithFault(DefaultLoginPlan(0), TFault::BadInnerLength, 0xFFFF));
    ConnectToNextLoginServer();
    Text = PumpError();
    EXPECT_NE(Text.find("message length does not fit to packet size"), std::string::npos) << Text;
    EXPECT_EQ(GetAccountCharacters(), 0);
}
