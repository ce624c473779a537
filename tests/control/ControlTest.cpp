// The dispatcher and the login server's answers with bodies of our own making, and the controller's
// connection callbacks: a drop in the wrong state, leaving the game, the character switch, a late look-up.
#include "ControlFixture.h"

#include "foundation/Exception.h"
#include "foundation/sysinc.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "screen/MainWindow.h"
#include "tests/foundation/TempDirectory.h"

#include <filesystem>
#include <fstream>

using namespace testserver;

namespace {

TPlan Answering(std::vector<testserver::TMessage> Messages) {
    TPlan Plan;
    Plan.Answer = std::move(Messages);
    return Plan;
}

testserver::TMessage MessageOfTheDay(std::string_view Text) {
    return TWireWriter().u8(20).string(Text).take();
}

std::string PumpError() {
    try {
        PumpUntil([] { return false; }, 3000);
    } catch (const TMyException& Error) {
        return Error.getText();
    }
    return "";
}

bool Contains(const std::string& Text, const std::string& Part) {
    return Text.find(Part) != std::string::npos;
}

uint32_t TestClock = 0;
uint32_t ReadTestClock() { return TestClock; }

} // namespace

TEST_F(ControlTest, CharacterListCutsLongNamesAndKeepsTheAddressInWireOrder) {
    const TCharacter Characters[] = {{std::string(35, 'N'), "Pellarune", LOOPBACK, 7173},
                                     {"Cora", "Nordmark", {10, 0, 200, 7}, 7175}};
    Server.setPlan(TRole::Login, Answering({CharacterListMessage(Characters, 12)}));
    ASSERT_TRUE(LoginUntilOffline());
    ASSERT_EQ(GetAccountCharacters(), 2);
    EXPECT_EQ(std::string(GetCharacterName(0)), std::string(29, 'N'));
    EXPECT_STREQ(GetCharacterName(1), "Cora");
    EXPECT_STREQ(GetCharacterWorld(1), "Nordmark");
    EXPECT_STREQ(GetCharacterAddress(1), "10.0.200.7");
    EXPECT_EQ(GetCharacterPort(1), 7175);
    EXPECT_EQ(GetPremiumDays(), 12);
}

TEST_F(ControlTest, EmptyCharacterListEmptiesTheStoredListAndStillOpensIt) {
    ListOneCharacter("Keeper");
    Server.setPlan(TRole::Login, Answering({CharacterListMessage({}, 0)}));
    ASSERT_TRUE(LoginUntilOffline());
    EXPECT_EQ(GetAccountCharacters(), 0);
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Types(Events), std::vector<int32_t>{MESSAGE_CHARACTERLIST});
    EXPECT_EQ(Events[0].Param1, 300);
}

TEST_F(ControlTest, ShortCharacterListFailsWithItsCountAndLeavesTheStoredList) {
    ListOneCharacter("Keeper");
    // Two entries announced, one and the premium days sent.
    Server.setPlan(TRole::Login, Answering({TWireWriter()
                                                .u8(100)
                                                .u8(2)
                                                .string("Aldric")
                                                .string("W")
                                                .u32(0x0100007F)
                                                .u16(7173)
                                                .u16(0)
                                                .take()}));
    ConnectToNextLoginServer();
    std::string Text = PumpError();
    EXPECT_TRUE(Contains(Text, "Control.cpp")) << Text;
    EXPECT_TRUE(Contains(Text, "Communication.cpp")) << Text;
    EXPECT_TRUE(Contains(Text, "exception occurred (Count = 2)")) << Text;
    ASSERT_EQ(GetAccountCharacters(), 1) << "nothing stored from a broken list";
    EXPECT_STREQ(GetCharacterName(0), "Keeper");
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(ControlTest, MessageOfTheDayShowsEachNumberOnce) {
    Server.setPlan(TRole::Login,
                   Answering({MessageOfTheDay("16\nA"), MessageOfTheDay("17\nB"), MessageOfTheDay("17\nC"),
                              MessageOfTheDay("no line break"), MessageOfTheDay("17\nD")}));
    ASSERT_TRUE(LoginUntilOffline());
    EXPECT_EQ(Types(TakeEvents()), (std::vector<int32_t>{MESSAGE_MESSAGEOFTHEDAY, MESSAGE_MESSAGEOFTHEDAY}))
        << "16 and 17 are new; 17 again, and a text without a line break, show nothing";
    EXPECT_STREQ(GetMessageOfTheDay(), "D") << "the same number still replaces the text";
}

TEST_F(ControlTest, ANewMessageOfTheDayIsStoredBeforeItsBoxOpens) {
    // A box that ended the program must not come back at every login.
    TWorkingDirectory Directory;
    LoadOptions();
    Server.setPlan(TRole::Login, Answering({MessageOfTheDay("16\nA")}));
    ASSERT_TRUE(LoginUntilOffline());
    std::ifstream File("Ebrun.cfg");
    const std::string Text((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
    ExitOptions();
    EXPECT_TRUE(Contains(Text, "LastMotD = 16")) << Text;
    EXPECT_EQ(Types(TakeEvents()), std::vector<int32_t>{MESSAGE_MESSAGEOFTHEDAY});
}

TEST_F(ControlTest, InformationAndCharacterListInOneFrameKeepTheirOrder) {
    const TCharacter Characters[] = {{"Aldric", "Pellarune", LOOPBACK, 7173}};
    Server.setPlan(TRole::Login, Answering({LoginInformationMessage("Premium ends soon."),
                                            CharacterListMessage(Characters, 3)}));
    ASSERT_TRUE(LoginUntilOffline());
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Types(Events), (std::vector<int32_t>{MESSAGE_MESSAGEBOX, MESSAGE_CHARACTERLIST}));
    EXPECT_EQ(Events[0].Title, "For Your Information");
    EXPECT_EQ(Events[0].Text, "Premium ends soon.");
}

TEST_F(ControlTest, MessagesBehindADisconnectingOneAreDispatchedByTheNewStatesTable) {
    ListOneCharacter("Aldric");
    Server.setPlan(TRole::Game, Answering({GameErrorMessage("Too many players."),
                                           GameInformationMessage("Try again later.")}));
    ASSERT_TRUE(EnterCharacter(0, [] { return GetMessageCount() >= 2; }));
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Types(Events), (std::vector<int32_t>{MESSAGE_MESSAGEBOX, MESSAGE_MESSAGEBOX}));
    EXPECT_EQ(Events[0].Title, "Sorry");
    EXPECT_EQ(Events[1].Text, "Try again later.");
    EXPECT_EQ(LastTypes(2), (std::vector<int32_t>{21, 20}));
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
}

TEST_F(ControlTest, RingHoldsTheLastTenTypesAcrossAnswers) {
    std::vector<testserver::TMessage> Messages(10, LoginInformationMessage("x"));
    Messages.push_back(MessageOfTheDay("5\nM"));
    Messages.push_back(CharacterListMessage({}, 0));
    Server.setPlan(TRole::Login, Answering(Messages));
    ASSERT_TRUE(LoginUntilOffline());
    EXPECT_EQ(GetLastPacketTypeIndex(), 2);
    std::vector<int32_t> Ring;
    for (int32_t Slot = 0; Slot < LASTPACKETTYPES; Slot++)
        Ring.push_back(GetLastPacketType(Slot));
    EXPECT_EQ(Ring, (std::vector<int32_t>{20, 100, 11, 11, 11, 11, 11, 11, 11, 11}));
    EXPECT_EQ(GetMessageCount(), 12);
}

TEST_F(ControlTest, UnlistedTypesFailInTheirPhaseAfterBeingRecorded) {
    Server.setPlan(TRole::Login, Answering({{0}}));
    ConnectToNextLoginServer();
    std::string Text = PumpError();
    EXPECT_TRUE(Contains(Text, "exception occurred (Type = 0), reason:")) << Text;
    EXPECT_TRUE(Contains(Text, "unknown packet type during login (Type = 0)")) << Text;
    EXPECT_EQ(LastTypes(1), std::vector<int32_t>{0});
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_LOGIN);

    // The login server's retry is no game message.
    ExitNetwork();
    InitNetwork(OnConnected, ReceivePackets, OnConnectionFailed);
    ListOneCharacter("Aldric");
    Server.setPlan(TRole::Game, Answering({LoginRetryMessage()}));
    SetActiveCharacter(0);
    ConnectToGameServer();
    Text = PumpError();
    EXPECT_TRUE(Contains(Text, "unknown packet type during game (Type = 40)")) << Text;
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_GAMELOGIN) << "the first game message leaves state 6";
    EXPECT_EQ(LastTypes(2), (std::vector<int32_t>{40, 0}));
}

TEST_F(ControlTest, ConnectInAnotherStateDropsTheConnection) {
    TLoopbackPeer Peer;
    SetActionState(ACTIONSTATE_DIALOG);
    ASSERT_EQ(CreateSocket(), 0);
    ASSERT_EQ(ConnectToAddress("127.0.0.1", Peer.port(), false), 0);
    ASSERT_TRUE(Peer.accept());
    ASSERT_TRUE(PumpUntil([] { return !IsConnected(); }));
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    EXPECT_TRUE(Peer.receive(1, 50).empty()) << "no login is sent";
}

TEST_F(ControlTest, GameConnectWithoutAChosenCharacterFailsItsCheck) {
    SetConnectionState(CONNECTIONSTATE_CONNECTGAME);
    SetOutfitRequested(true);
    try {
        OnConnected();
        ADD_FAILURE() << "no character in the list";
    } catch (const TMyException& Error) {
        EXPECT_TRUE(Contains(Error.getText(),
                             "assertion failed (GetActiveCharacter() = 0) (OldConnectionState = 5), "
                             "reason:\nIn(GetActiveCharacter(),0,GetAccountCharacters()-1)"))
            << Error.getText();
    }
    EXPECT_FALSE(GetOutfitRequested()) << "cleared as the game login begins";
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_GAMESENT);
}

TEST_F(ControlTest, ConnectionEndingInGameLeavesTheGameAndOffersTheList) {
    InitSkins();
    InitSkinProperties();
    InitMainWindow(800, 600, nullptr, nullptr, nullptr);
    SetModalWindow(new TParentComponent); // the menu open when the connection ended
    SetConnectionState(CONNECTIONSTATE_GAME);
    SetActionState(ACTIONSTATE_CONTEXTMENU);
    OnConnectionFailed();
    EXPECT_EQ(GetModalWindow(), nullptr) << "the screen left the game";
    EXPECT_NE(GetMainWindow()->StartScreen, nullptr);
    ExitMainWindow();
    ExitSkins();
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Types(Events), std::vector<int32_t>{MESSAGE_CHARACTERLIST});
    EXPECT_EQ(Events[0].Param1, 300);
}

TEST_F(ControlTest, CharacterSwitchReconnectsWhenTheConnectionCloses) {
    SetMillisecondTimer(ReadTestClock);
    TestClock = 0xFFFFF000; // the deadline wraps around the 32-bit clock

    RequestCharacterSwitch();
    EXPECT_EQ(Types(TakeEvents()), (std::vector<int32_t>{MESSAGE_CONNECTLOGIN, MESSAGE_LOADINGCHARACTERS}))
        << "offline: the login starts at once";
    EXPECT_FALSE(IsCharacterSwitchPending());

    SetConnectionState(CONNECTIONSTATE_GAME);
    RequestCharacterSwitch();
    TestClock += CHARACTER_SWITCH_DELAY - 1;
    OnConnectionFailed();
    EXPECT_EQ(Types(TakeEvents()), (std::vector<int32_t>{MESSAGE_CONNECTGAME, MESSAGE_CONNECTINGGAME}))
        << "in game, before the deadline: the new character's game server, and no character list";
    EXPECT_FALSE(IsCharacterSwitchPending());

    SetConnectionState(CONNECTIONSTATE_GAME);
    RequestCharacterSwitch();
    TestClock += CHARACTER_SWITCH_DELAY;
    OnConnectionFailed();
    EXPECT_TRUE(TakeEvents().empty()) << "a close 5,000 ms after the request reconnects nowhere";

    SetConnectionState(CONNECTIONSTATE_LOGIN);
    RequestCharacterSwitch();
    OnConnectionFailed();
    EXPECT_EQ(Types(TakeEvents()), (std::vector<int32_t>{MESSAGE_CONNECTLOGIN, MESSAGE_LOADINGCHARACTERS}));
    SetMillisecondTimer(nullptr);
}

TEST_F(ControlTest, LookupAnswerAfterTheAttemptWasGivenUpShowsConnectionFailed) {
    Resolver->setBlocked(true);
    ConnectToNextLoginServer();
    ASSERT_EQ(GetConnectionState(), CONNECTIONSTATE_RESOLVING);
    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    Resolver->setBlocked(false);
    ASSERT_TRUE(PumpUntil([] { return GetMessageCount() > 0; }));
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Title, "Connection failed");
    EXPECT_EQ(Events[0].Text, "Cannot connect to a login server.\n\nError: -1" + CLOSING_LINES);
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    EXPECT_FALSE(IsConnected());
}
