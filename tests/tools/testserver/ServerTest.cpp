// End-to-end runs against the in-process test server: logins, scripted answers, records and faults.
#include "tests/tools/testserver/TestClient.h"
#include "tools/testserver/TestServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using namespace testserver;
using testclient::TBytes;

namespace {

using namespace std::chrono_literals;

testclient::TLoginFields Fields(uint32_t Account, std::string Password) {
    testclient::TLoginFields Fields;
    Fields.Key = testclient::RandomKey();
    Fields.Account = Account;
    Fields.Password = std::move(Password);
    Fields.Signatures[0] = 0x4C6A0F01;
    Fields.Signatures[1] = 0x4C6A0F02;
    Fields.Signatures[2] = 0x4C6A0F03;
    return Fields;
}

// Logs in and reads until the server closes; the raw bytes of the answer.
TBytes RawAnswer(uint16_t Port, const testclient::TLoginFields& Login) {
    testclient::TConnection Client(Port);
    EXPECT_TRUE(Client.connected());
    EXPECT_TRUE(Client.send(testclient::LoginServerFrame(Login)));
    std::optional<TBytes> Answer = Client.readToEnd();
    EXPECT_TRUE(Answer) << "the server did not close";
    return Answer.value_or(TBytes{});
}

// The deciphered messages of each frame of the answer.
std::vector<TBytes> Answer(uint16_t Port, const testclient::TLoginFields& Login) {
    std::optional<std::vector<TBytes>> Frames = testclient::OpenFrames(Login.Key, RawAnswer(Port, Login));
    EXPECT_TRUE(Frames) << "broken frame";
    return Frames.value_or(std::vector<TBytes>{});
}

struct TListedCharacter {
    std::string Name, World;
    std::array<uint8_t, 4> Address;
    uint16_t Port;
};

std::vector<TListedCharacter> ReadCharacterList(testclient::TReader& Reader, uint16_t& PremiumDays) {
    std::vector<TListedCharacter> List(Reader.u8());
    for (TListedCharacter& Entry : List) {
        Entry.Name = Reader.string();
        Entry.World = Reader.string();
        for (uint8_t& b : Entry.Address)
            b = Reader.u8();
        Entry.Port = Reader.u16();
    }
    PremiumDays = Reader.u16();
    return List;
}

TPlan Answering(std::vector<TMessage> Messages, TFault Fault = TFault::None, uint32_t Value = 0) {
    TPlan Plan;
    Plan.Answer = std::move(Messages);
    Plan.Misbehaviour = {Fault, Value};
    return Plan;
}

TPlan Misbehaving(const TTestServer& Server, TFault Fault, uint32_t Value = 0) {
    TPlan Plan = DefaultLoginPlan(Server.gamePort());
    Plan.Misbehaviour = {Fault, Value};
    return Plan;
}

} // namespace

TEST(TestServerTest, LoginGetsMessageOfTheDayAndCharactersOnItsOwnGameServer) {
    std::vector<std::string> Lines;
    TServerConfig Config;
    Config.Log = [&](const std::string& Line) { Lines.push_back(Line); };
    TTestServer Server(Config);
    EXPECT_NE(Server.loginPort(), Server.gamePort());

    testclient::TLoginFields Login = Fields(7654321, "secret1234");
    std::vector<TBytes> Frames = Answer(Server.loginPort(), Login);
    ASSERT_EQ(Frames.size(), 1u);
    testclient::TReader Reader(Frames[0]);
    EXPECT_EQ(Reader.u8(), 20);
    EXPECT_EQ(Reader.string(), "1\nWelcome to the Pellarune test server.");
    EXPECT_EQ(Reader.u8(), 100);
    uint16_t PremiumDays = 1;
    std::vector<TListedCharacter> List = ReadCharacterList(Reader, PremiumDays);
    ASSERT_EQ(List.size(), 2u);
    EXPECT_EQ(List[0].Name, "Aldric");
    EXPECT_EQ(List[1].Name, "Brenna");
    EXPECT_EQ(List[1].World, "Pellarune");
    EXPECT_EQ(List[0].Address, (std::array<uint8_t, 4>{127, 0, 0, 1}));
    EXPECT_EQ(List[0].Port, Server.gamePort());
    EXPECT_EQ(PremiumDays, 0);
    EXPECT_EQ(Reader.remaining(), 0u);
    EXPECT_FALSE(Reader.failed());

    TReceived Received = Server.received();
    EXPECT_EQ(Received.LoginConnections, 1u);
    ASSERT_EQ(Received.Logins.size(), 1u);
    const TLoginRecord& Record = Received.Logins[0];
    EXPECT_EQ(Record.Frame.size(), 147u);
    EXPECT_EQ(Record.Frame[0] | Record.Frame[1] << 8, 145);
    EXPECT_EQ(Record.Key, Login.Key);
    EXPECT_EQ(Record.Account, 7654321u);
    EXPECT_EQ(Record.Password, "secret1234");
    EXPECT_EQ(Record.Version, 772);
    EXPECT_EQ(Record.PicSignature, 0x4C6A0F03u);
    EXPECT_TRUE(Received.Errors.empty());
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_NE(Lines[0].find("account 7654321"), std::string::npos) << Lines[0];
}

TEST(TestServerTest, GameLoginIsRecordedAndLaterCommandsAreDeciphered) {
    TTestServer Server;
    const testclient::TKey Key = testclient::RandomKey();
    testclient::TConnection Client(Server.gamePort());
    ASSERT_TRUE(Client.send(testclient::GameServerFrame(Key, 1, 99, "Brenna", "pw")));
    const uint8_t Ping[] = {30}, Look[] = {140, 0x10, 0x27, 0x20, 0x27, 7, 0x64, 0, 1};
    ASSERT_TRUE(Client.send(testclient::CommandFrame(Key, Ping)));
    ASSERT_TRUE(Client.send(testclient::CommandFrame(Key, Look)));
    ASSERT_TRUE(Server.waitUntil([](const TReceived& r) { return r.GameCommands.size() == 2; }));

    TReceived Received = Server.received();
    EXPECT_EQ(Received.GameConnections, 1u);
    ASSERT_EQ(Received.GameLogins.size(), 1u);
    const TGameLoginRecord& Record = Received.GameLogins[0];
    EXPECT_EQ(Record.Frame.size(), 135u);
    EXPECT_EQ(Record.Key, Key);
    EXPECT_EQ(Record.GamemasterFlag, 1);
    EXPECT_EQ(Record.Account, 99u);
    EXPECT_EQ(Record.CharacterName, "Brenna");
    EXPECT_EQ(Record.Password, "pw");
    EXPECT_EQ(Received.Commands[0], TMessage{30});
    EXPECT_EQ(Received.Commands[1], TMessage(std::begin(Look), std::end(Look)));
    ASSERT_EQ(Received.GameCommands.size(), 2u);
    const TClientCommand& Looked = Received.GameCommands[1];
    EXPECT_EQ(Looked.Character, "Brenna");
    EXPECT_TRUE(Looked.Known);
    EXPECT_FALSE(Looked.Read) << "no world plays here";
    EXPECT_EQ((std::vector<int>{Looked.Place.X, Looked.Place.Y, Looked.Place.Z, Looked.ObjectType}),
              (std::vector<int>{10000, 10016, 7, 100}));
    // The fresh game server answers nothing and keeps the connection.
    EXPECT_TRUE(Client.read(1, 100ms).empty());
}

TEST(TestServerTest, AnAccountsPlanAnswersEachAccountWithItsCharactersAndRefusesOthers) {
    TTestServer Server;
    Server.setPlan(TRole::Login, AccountLoginPlan(DefaultAccounts(), Server.gamePort()));
    auto Names = [&](uint32_t Account, std::string Password) {
        std::vector<TBytes> Frames = Answer(Server.loginPort(), Fields(Account, std::move(Password)));
        Frames.resize(1);
        std::vector<std::string> Result;
        testclient::TReader Reader(Frames[0]);
        if (Reader.u8() == 10) return std::vector<std::string>{"refused: " + Reader.string()};
        Reader.string(); // the message of the day
        EXPECT_EQ(Reader.u8(), 100);
        uint16_t PremiumDays = 0;
        for (const TListedCharacter& Entry : ReadCharacterList(Reader, PremiumDays)) {
            EXPECT_EQ(Entry.Port, Server.gamePort());
            Result.push_back(Entry.Name);
        }
        return Result;
    };
    EXPECT_EQ(Names(1, "pellarune"), (std::vector<std::string>{"Aldric", "Brenna"}));
    EXPECT_EQ(Names(2, "pellarune"), std::vector<std::string>{"Cedric"});
    const std::vector<std::string> Refused{"refused: Accountnumber or password is not correct."};
    EXPECT_EQ(Names(2, "gamemaster"), Refused);
    EXPECT_EQ(Names(4, "pellarune"), Refused);
}

TEST(TestServerTest, GameAnswersAreEncipheredWithTheKeyOfCommandTen) {
    TTestServer Server;
    TPlan Plan = DefaultGamePlan();
    Plan.Answer = {WaitingListMessage("You are at place 3.", 20)};
    Server.setPlan(TRole::Game, Plan);
    const testclient::TKey Key = testclient::RandomKey();
    testclient::TConnection Client(Server.gamePort());
    ASSERT_TRUE(Client.send(testclient::GameServerFrame(Key, 0, 5, "Aldric", "pw")));
    std::optional<TBytes> Message = Client.readFrame(Key);
    ASSERT_TRUE(Message);
    testclient::TReader Reader(*Message);
    EXPECT_EQ(Reader.u8(), 22);
    EXPECT_EQ(Reader.string(), "You are at place 3.");
    EXPECT_EQ(Reader.u8(), 20);
    EXPECT_EQ(Reader.remaining(), 0u);
}

TEST(TestServerTest, QueuedPlansGoFirstThenTheStandingPlan) {
    TTestServer Server;
    Server.queuePlan(TRole::Login, Answering({LoginErrorMessage("Account or password is not correct.")}));
    Server.queuePlan(TRole::Login, Answering({LoginRetryMessage()}));
    TPlan Split = Answering({LoginInformationMessage("Maintenance at noon."), CharacterListMessage({}, 3)});
    Split.FramePerMessage = true;
    Server.setPlan(TRole::Login, Split);

    std::vector<TBytes> First = Answer(Server.loginPort(), Fields(1, "a"));
    ASSERT_EQ(First.size(), 1u);
    testclient::TReader Error(First[0]);
    EXPECT_EQ(Error.u8(), 10);
    EXPECT_EQ(Error.string(), "Account or password is not correct.");
    EXPECT_EQ(Answer(Server.loginPort(), Fields(2, "b")), std::vector<TBytes>{TBytes{40}});
    for (int Round = 0; Round < 2; ++Round) {
        std::vector<TBytes> Frames = Answer(Server.loginPort(), Fields(3, "c"));
        ASSERT_EQ(Frames.size(), 2u);
        EXPECT_EQ(Frames[0][0], 11);
        EXPECT_EQ(Frames[1], (TBytes{100, 0, 3, 0}));
    }
    EXPECT_EQ(Server.received().Logins.size(), 4u);
}

TEST(TestServerTest, ClosingAtOnceOrAfterTheLoginSendsNothing) {
    TTestServer Server;
    Server.queuePlan(TRole::Login, Misbehaving(Server, TFault::CloseAtOnce));
    testclient::TConnection Early(Server.loginPort());
    EXPECT_EQ(Early.readToEnd(), TBytes{});
    EXPECT_TRUE(Server.received().Logins.empty());

    Server.queuePlan(TRole::Game, Answering({GameErrorMessage("x")}, TFault::CloseAfterLogin));
    testclient::TConnection Late(Server.gamePort());
    ASSERT_TRUE(Late.send(testclient::GameServerFrame(testclient::RandomKey(), 0, 8, "Aldric", "pw")));
    EXPECT_EQ(Late.readToEnd(), TBytes{});
    TReceived Received = Server.received();
    EXPECT_EQ(Received.GameLogins.size(), 1u);
    EXPECT_EQ(Received.LoginConnections, 1u);
    EXPECT_EQ(Received.GameConnections, 1u);
}

TEST(TestServerTest, ClosingAfterSomeBytesCutsTheAnswerThere) {
    TTestServer Server;
    TPlan Plan = Misbehaving(Server, TFault::CloseAfterBytes, 5);
    size_t MessageBytes = Plan.Answer[0].size() + Plan.Answer[1].size();
    Server.queuePlan(TRole::Login, Plan);
    TBytes Cut = RawAnswer(Server.loginPort(), Fields(1, "a"));
    ASSERT_EQ(Cut.size(), 5u);
    EXPECT_EQ(static_cast<size_t>(Cut[0] | Cut[1] << 8), (MessageBytes + 2 + 7) / 8 * 8);

    Server.queuePlan(TRole::Login, Misbehaving(Server, TFault::CloseAfterBytes, 100000));
    testclient::TLoginFields Login = Fields(2, "b");
    EXPECT_EQ(Answer(Server.loginPort(), Login).size(), 1u) << "a limit beyond the answer sends it whole";
}

TEST(TestServerTest, TrickledAnswerArrivesWholeButSlowly) {
    TServerConfig Config;
    Config.TrickleDelay = 3ms;
    TTestServer Server(Config);
    Server.setPlan(TRole::Login, Misbehaving(Server, TFault::Trickle));
    testclient::TLoginFields Login = Fields(1, "a");
    auto Start = std::chrono::steady_clock::now();
    TBytes Raw = RawAnswer(Server.loginPort(), Login);
    auto Elapsed = std::chrono::steady_clock::now() - Start;
    EXPECT_GE(Elapsed, Config.TrickleDelay * static_cast<int>(Raw.size() - 1));
    std::optional<std::vector<TBytes>> Frames = testclient::OpenFrames(Login.Key, Raw);
    ASSERT_TRUE(Frames);
    ASSERT_EQ(Frames->size(), 1u);
    EXPECT_EQ(Frames->at(0)[0], 20);
}

TEST(TestServerTest, StallingServerRecordsTheLoginButNeverAnswersAndStillStopsPromptly) {
    auto Server = std::make_unique<TTestServer>();
    Server->setPlan(TRole::Login, Misbehaving(*Server, TFault::Stall));
    testclient::TConnection Client(Server->loginPort());
    ASSERT_TRUE(Client.send(testclient::LoginServerFrame(Fields(3, "c"))));
    ASSERT_TRUE(Server->waitUntil([](const TReceived& r) { return r.Logins.size() == 1; }));
    EXPECT_EQ(Client.readToEnd(300ms), std::nullopt) << "the connection must stay open and silent";
    Server.reset(); // a stop that waited for the stalled session would hang here until the test's timeout
    EXPECT_EQ(Client.readToEnd(), TBytes{});
}

TEST(TestServerTest, BadLengthsAreSentOnDemand) {
    TTestServer Server;
    Server.queuePlan(TRole::Login, Misbehaving(Server, TFault::BadFrameLength, 12));
    TBytes Twelve = RawAnswer(Server.loginPort(), Fields(1, "a"));
    ASSERT_EQ(Twelve.size(), 14u);
    EXPECT_EQ(Twelve[0], 12);
    EXPECT_EQ(Twelve[1], 0);
    Server.queuePlan(TRole::Login, Misbehaving(Server, TFault::BadFrameLength, 0));
    EXPECT_EQ(RawAnswer(Server.loginPort(), Fields(1, "a")), (TBytes{0, 0}));

    Server.queuePlan(TRole::Login, Misbehaving(Server, TFault::BadInnerLength, 500));
    testclient::TLoginFields Login = Fields(2, "b");
    TBytes Raw = RawAnswer(Server.loginPort(), Login);
    ASSERT_GE(Raw.size(), 10u);
    size_t Length = static_cast<size_t>(Raw[0] | Raw[1] << 8);
    ASSERT_EQ(Raw.size(), Length + 2);
    EXPECT_EQ(Length % 8, 0u);
    EXPECT_FALSE(testclient::OpenFrames(Login.Key, Raw));
    TBytes Body(Raw.begin() + 2, Raw.end());
    testclient::ReferenceDecipher(Login.Key, Body);
    EXPECT_EQ(Body[0] | Body[1] << 8, 500);
}

TEST(TestServerTest, ProtocolErrorsOfTheClientAreRecordedAndEndTheSession) {
    TTestServer Server;
    {
        testclient::TConnection WrongCommand(Server.loginPort());
        ASSERT_TRUE(WrongCommand.send(testclient::GameServerFrame(testclient::RandomKey(), 0, 1, "A", "b")));
        EXPECT_EQ(WrongCommand.readToEnd(), TBytes{});
    }
    {
        testclient::TConnection HugeFrame(Server.loginPort());
        ASSERT_TRUE(HugeFrame.send(TBytes{0xFF, 0xFF, 1}));
        EXPECT_EQ(HugeFrame.readToEnd(), TBytes{});
    }
    {
        const testclient::TKey Key = testclient::RandomKey();
        testclient::TConnection BadCommand(Server.gamePort());
        ASSERT_TRUE(BadCommand.send(testclient::GameServerFrame(Key, 0, 1, "A", "b")));
        TBytes Twelve(14, 0);
        Twelve[0] = 12;
        ASSERT_TRUE(BadCommand.send(Twelve));
        EXPECT_EQ(BadCommand.readToEnd(), TBytes{});
    }
    TReceived Received = Server.received();
    ASSERT_EQ(Received.Errors.size(), 3u);
    EXPECT_EQ(Received.Errors[0].rfind("login: command 10", 0), 0u) << Received.Errors[0];
    EXPECT_EQ(Received.Errors[1].rfind("login: plain frame of 65535", 0), 0u) << Received.Errors[1];
    EXPECT_EQ(Received.Errors[2].rfind("game: enciphered frame of 12", 0), 0u) << Received.Errors[2];
    EXPECT_TRUE(Received.Logins.empty());
    EXPECT_EQ(Received.GameLogins.size(), 1u);
}

TEST(TestServerTest, ConcurrentLoginsAreAllRecordedAndATakenPortIsRefused) {
    TTestServer Server;
    std::vector<std::thread> Clients;
    for (uint32_t Account = 1; Account <= 8; ++Account)
        Clients.emplace_back(
            [&Server, Account] { EXPECT_EQ(Answer(Server.loginPort(), Fields(Account, "pw")).size(), 1u); });
    for (std::thread& Client : Clients)
        Client.join();
    std::vector<uint32_t> Accounts;
    for (const TLoginRecord& Record : Server.received().Logins)
        Accounts.push_back(Record.Account);
    std::sort(Accounts.begin(), Accounts.end());
    EXPECT_EQ(Accounts, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8}));

    TServerConfig Taken;
    Taken.LoginPort = Server.loginPort();
    EXPECT_THROW(TTestServer{Taken}, TWireError);
}
