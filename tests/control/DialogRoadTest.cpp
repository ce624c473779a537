// The road into the game through the dialogs, against the test server on 127.0.0.1: the start screen's
// "Enter Game", the login dialog typed through the controller, the connecting box, the message of the day,
// the character list and the game login of the chosen character.
#include "DialogFixture.h"

#include "control/DialogsBoxes.h"
#include "control/DialogsLogin.h"

#include "control/MainFrm.h"
#include "gui/DialogElementsList.h"
#include "gui/KeyCodes.h"
#include "network/Communication.h"
#include "network/Network.h"
#include "screen/MainWindow.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Inventory.h"
#include "state/Map.h"
#include "state/Objects.h"
#include "state/Talk.h"
#include "state/TalkRouting.h"
#include "tests/network/NetworkFixture.h"
#include "tools/testserver/Game.h"
#include "tools/testserver/Messages.h"
#include "tools/testserver/TestServer.h"

#include <cstring>
#include <filesystem>

using namespace testserver;

namespace {

const TComponent* StartButton(const char* Caption) {
    const TWindowFrame* Panel = GetMainWindow()->StartScreen->ButtonPanel;
    for (const TComponent* C = Panel->_Window->getFirstChild(); C != nullptr; C = C->getNext())
        if (const auto* Button = dynamic_cast<const TTextButton*>(C);
            Button && !strcmp(Button->_Text, Caption))
            return C;
    return nullptr;
}

class DialogRoad : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        Resolver = std::make_shared<TScriptedResolver>();
        SetHostResolver(Resolver);
        SetLoginServerEndpoint("login.pellarune.test", Server.loginPort());
        InitLoginServers();
        InitNetwork(OnConnected, ReceivePackets, OnConnectionFailed);
        InitControlConnection(&Frame);
    }
    void TearDown() override {
        ExitNetwork();
        stopPlaying();
        SetNetworkWindow(nullptr);
        SetHostResolver(nullptr);
        SetLoginServerEndpoint(LOGIN_SERVER_HOSTNAME, LOGIN_SERVER_PORT);
        DialogTest::TearDown();
    }

    // Idle passes, with the network's messages in between, until Done holds; false on the deadline.
    template <typename TDone> bool IdleUntil(TDone Done, int TimeoutMs = 5000) {
        return PumpUntil(
            [&] {
                ProcessMessages();
                return Done();
            },
            TimeoutMs);
    }
    static bool DialogCaptioned(const char* Caption) {
        return Dialog() != nullptr && strcmp(Dialog()->_Caption, Caption) == 0;
    }

    // Plays the test world on the game port, with the client's game state ready for it.
    void playTheWorld() {
        std::filesystem::copy_file(DefaultDatFile(), "Ebrun.dat");
        Server.setPlan(TRole::Game, WorldPlan(LoadWorld(DefaultDatFile())));
        InitObjects();
        InitMap(HideCreatureCallback);
        InitInventory();
        InitCreatures();
        InitTalk();
        SetGameClientHooks(&Entered);
        Playing = true;
    }
    void stopPlaying() {
        if (!Playing) return;
        SetGameClientHooks(nullptr);
        ExitTalk();
        ExitObjects();
    }

    // The game screen is not built here: entering only counts.
    struct TEntered : TGameClientHooks {
        void enterGame() override { Count++; }
        void openContainerWindow(int32_t) override {}
        void closeContainerWindow(int32_t) override {}
        void openTradeWindow() override {}
        void refreshTradeWindow() override {}
        void closeTradeWindow() override {}
        int Count = 0;
    } Entered;
    bool Playing = false;
    TTestServer Server{TServerConfig{0, 0, "", std::chrono::milliseconds(1), nullptr}};
    std::shared_ptr<TScriptedResolver> Resolver;
    CFrameMessageTarget Frame;
};

} // namespace

TEST_F(DialogRoad, EnterGameLogsInShowsTheListAndConnectsTheChosenCharacter) {
    Server.setPlan(TRole::Game, [] {
        TPlan Plan;
        Plan.Answer = {GameErrorMessage("The world is closed.")};
        return Plan;
    }());
    Click(StartButton("Enter Game"));
    ProcessMessages();
    ASSERT_NE(Body<TLoginDialog>(), nullptr);
    Type("4711");
    KeyPressed(KEY_TAB);
    Type("mellon");
    KeyPressed(KEY_ENTER);
    ProcessMessages();
    ASSERT_NE(Body<TWaitBox>(), nullptr);
    EXPECT_STREQ(Body<TWaitBox>()->getText(), "Your character list is being loaded. Please wait.");
    EXPECT_NE(GetConnectionState(), CONNECTIONSTATE_OFFLINE);

    ASSERT_TRUE(IdleUntil([] { return DialogCaptioned("Message of the Day"); }));
    EXPECT_STREQ(Body<TTextLabel>()->getText(), "Welcome to the Pellarune test server.");
    TReceived Got = Server.received();
    ASSERT_EQ(Got.Logins.size(), 1u);
    EXPECT_EQ(Got.Logins[0].Account, 4711u);
    EXPECT_EQ(Got.Logins[0].Password, "mellon");
    KeyPressed(KEY_ENTER);

    ProcessMessages();
    ASSERT_NE(Body<TCharacterListDialog>(), nullptr);
    TListBox* List = Body<TCharacterListDialog>()->List;
    ASSERT_EQ(List->Lines, 2);
    EXPECT_STREQ(List->getLine(0), "Aldric (Pellarune)");
    EXPECT_STREQ(List->getLine(1), "Brenna (Pellarune)");
    KeyPressed(KEY_DOWN);
    KeyPressed(KEY_ENTER);
    ProcessMessages();
    ASSERT_NE(Body<TWaitBox>(), nullptr);
    EXPECT_STREQ(Body<TWaitBox>()->getText(), "Connecting to the game world. Please wait.");

    ASSERT_TRUE(IdleUntil([] { return DialogCaptioned("Sorry"); }));
    EXPECT_STREQ(Body<TTextLabel>()->getText(), "The world is closed.");
    TReceived GameGot = Server.received();
    ASSERT_EQ(GameGot.GameLogins.size(), 1u);
    EXPECT_EQ(GameGot.GameLogins[0].CharacterName, "Brenna");
    EXPECT_EQ(GameGot.GameLogins[0].Account, 4711u);
    EXPECT_EQ(GameGot.GameLogins[0].Password, "mellon");
    EXPECT_TRUE(GameGot.Errors.empty()) << GameGot.Errors.front();
}

TEST_F(DialogRoad, AbortingTheConnectingBoxDropsTheLogin) {
    Resolver->setBlocked(true);
    AddMessage(MESSAGE_LOGINDIALOG, 0, 0);
    ProcessMessages();
    Type("4711");
    KeyPressed(KEY_ENTER);
    ProcessMessages();
    ASSERT_NE(Body<TWaitBox>(), nullptr);
    Click(Dialog()->OkButton);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    Resolver->setBlocked(false);
    // The look-up's late answer finds nobody waiting for it: no box, no connection.
    PumpUntil([] { return false; }, 300);
    ProcessMessages();
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    EXPECT_TRUE(Server.received().Logins.empty());
}

TEST_F(DialogRoad, ChoosingAnotherCharacterInGameLogsOutAndEntersWithIt) {
    playTheWorld();
    AddMessage(MESSAGE_LOGINDIALOG, 0, 0);
    ProcessMessages();
    Type("4711");
    KeyPressed(KEY_TAB);
    Type("mellon");
    KeyPressed(KEY_ENTER);
    ASSERT_TRUE(IdleUntil([] { return DialogCaptioned("Message of the Day"); }));
    KeyPressed(KEY_ENTER);
    ASSERT_TRUE(IdleUntil([] { return Body<TCharacterListDialog>() != nullptr; }));
    KeyPressed(KEY_ENTER);
    ASSERT_TRUE(IdleUntil([] { return GetConnectionState() == CONNECTIONSTATE_GAME; }));
    EXPECT_EQ(Entered.Count, 1);

    // The main window's "character list" in game: the list shows the active character and switches.
    GetMainWindow()->handleEvent(MAIN_CHARACTER_LIST);
    ASSERT_TRUE(IdleUntil([] { return Body<TCharacterListDialog>() != nullptr; }));
    EXPECT_EQ(Body<TCharacterListDialog>()->List->getSelection(), 0);
    KeyPressed(KEY_DOWN);
    KeyPressed(KEY_ENTER);
    ProcessMessages();
    EXPECT_TRUE(IsCharacterSwitchPending()) << "waiting for the server to close the first session";
    ASSERT_TRUE(IdleUntil(
        [this] {
            return Server.received().GameLogins.size() == 2 && GetConnectionState() == CONNECTIONSTATE_GAME;
        },
        8000));
    TReceived Got = Server.received();
    EXPECT_EQ(Got.GameLogins[0].CharacterName, "Aldric");
    EXPECT_EQ(Got.GameLogins[1].CharacterName, "Brenna");
    EXPECT_EQ(Entered.Count, 2);
    EXPECT_FALSE(IsCharacterSwitchPending());
}
