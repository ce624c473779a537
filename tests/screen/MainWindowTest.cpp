// The main window: the start screen's buttons, the game screen's layout with stand-in parts, the splitter,
// and the command and key handlers.
#include "screen/MainWindow.h"
#include "foundation/Exception.h"
#include "graphics/Surface.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "tests/gui/Probes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Calls;
TEventLog Log;

// Stand-ins for the game screen's parts: their minimum heights are what the layout reads; the console logs
// the keys it gets. They take the start screen's place as the real parts do.
class TConsoleProbe : public TProbeParent {
public:
    using TProbeParent::TProbeParent;
    void keyPressed(int32_t Key) override { Log.push_back("console:key " + std::to_string(Key)); }
};
TProbeParent* MapPart = nullptr;
TProbeParent* ConsolePart = nullptr;

void ShowStandInGameScreen(TMainWindow& Main) {
    Main.deleteChild(Main.StartScreen);
    Main.StartScreen = nullptr;
    Main.InGame = true;
    MapPart = new TProbeParent(Log, "map");
    MapPart->MinimumHeight = 200;
    ConsolePart = new TConsoleProbe(Log, "console");
    ConsolePart->MinimumHeight = 50;
    ConsolePart->TComponent::setSize(0, 120);
    Main.MapWindow = Main.addChild(MapPart);
    Main.ConsoleSplitter = new TConsoleSplitter;
    Main.addChild(Main.ConsoleSplitter);
    Main.Console = Main.addChild(ConsolePart);
    Main.setSize(Main.Width, Main.Height);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        Calls.clear();
        Log.clear();
        ResetOptions();
        ClearMessages();
        ResetShortcuts();
        SetConnectionState(CONNECTIONSTATE_OFFLINE);
        SetActionState(ACTIONSTATE_NONE);
        InitSkins();
        InitSkinProperties();
        InitMainWindow(
            800, 600, [] { Calls.push_back("quit"); },
            [](int32_t Mode) { Calls.push_back("viewmode " + std::to_string(Mode)); },
            [](const char* Url) { Calls.push_back(std::string("url ") + Url); });
        Root = GetMainWindow();
    }
    void TearDown() override {
        ExitMainWindow();
        ClearMessages();
        SetConnectionState(CONNECTIONSTATE_OFFLINE);
        ExitSkins();
    }
    // A click through the root at the centre of start-screen button Row.
    void clickStartButton(int32_t Row) {
        const TWindowFrame* Frame = Root->StartScreen->ButtonPanel;
        TComponent* Button = Frame->_Window->getFirstChild();
        for (int32_t i = 0; i < Row; i++)
            Button = Button->getNext();
        const int32_t x = Frame->X + Frame->_Window->X + Button->X + Button->Width / 2;
        const int32_t y = Frame->Y + Frame->_Window->Y + Button->Y + Button->Height / 2;
        Root->leftButtonDown(x, y, 0);
        Root->leftButtonUp(x, y, 0);
    }
    std::vector<int32_t> queuedTypes() {
        std::vector<int32_t> Types;
        while (PeekMessageType() != MESSAGE_NONE) {
            int32_t Type;
            intptr_t P1, P2;
            PopMessage(Type, P1, P2);
            Types.push_back(Type);
            FreeMessageParameters(Type, P1, P2);
        }
        return Types;
    }
    TMainWindow* Root = nullptr;
};

using TTypes = std::vector<int32_t>;

} // namespace

TEST_F(MainWindow, StartScreenPanelSitsAboveTheBottomEdge) {
    const TWindowFrame* Frame = Root->StartScreen->ButtonPanel;
    EXPECT_EQ(Frame->X, 60);
    EXPECT_EQ(Frame->Y, 600 - 240);
    EXPECT_EQ(Frame->_Window->Width, 86);
    EXPECT_EQ(Frame->_Window->Height, 140);
    Root->setSize(1024, 768);
    EXPECT_EQ(Frame->Y, 768 - 240);
    EXPECT_EQ(Root->StartScreen->Width, 1024);
}

TEST_F(MainWindow, StartButtonsPostTheirEventsWhileOffline) {
    for (int32_t Row = 0; Row < 5; Row++)
        clickStartButton(Row);
    EXPECT_EQ(queuedTypes(), (TTypes{MESSAGE_LOGINDIALOG, MESSAGE_OPTIONS, MESSAGE_INFORMATION}));
    EXPECT_EQ(Calls, (std::vector<std::string>{std::string("url ") + ACCOUNT_PAGE_URL, "quit"}));
}

TEST_F(MainWindow, StartButtonsDoNothingWhileConnecting) {
    SetConnectionState(CONNECTIONSTATE_CONNECTLOGIN);
    for (int32_t Row = 0; Row < 5; Row++)
        clickStartButton(Row);
    EXPECT_TRUE(queuedTypes().empty());
    EXPECT_TRUE(Calls.empty());
}

TEST_F(MainWindow, EnlargingKeepsTheConsoleAndShrinkingNeverShrinksTheMap) {
    ShowStandInGameScreen(*Root);
    EXPECT_EQ(Root->StartScreen, nullptr);
    EXPECT_EQ(ConsolePart->Height, 120);
    EXPECT_EQ(MapPart->Height, 600 - 120 - 5);
    EXPECT_EQ(MapPart->Width, 800 - 176);
    Root->setSize(1000, 900);
    EXPECT_EQ(ConsolePart->Height, 120);
    EXPECT_EQ(Root->ConsoleSplitter->Y, 900 - 120 - 5);
    // 300 high: the map keeps its 200, the console gets what is left.
    Root->setSize(1000, 300);
    EXPECT_EQ(MapPart->Height, 200);
    EXPECT_EQ(ConsolePart->Height, 300 - 200 - 5);
    EXPECT_EQ(ConsolePart->Y, 205);
}

TEST_F(MainWindow, ATallConsoleIsCutAtLayout) {
    ShowStandInGameScreen(*Root);
    Root->setConsoleHeight(1000);
    Root->setSize(800, 600);
    EXPECT_EQ(MapPart->Height, 200);
    EXPECT_EQ(ConsolePart->Height, 600 - 200 - 5);
    Root->setConsoleHeight(10); // below the console's minimum
    EXPECT_EQ(Root->getConsoleHeight(), 50);
}

TEST_F(MainWindow, DraggingTheSplitterUpMakesTheConsoleTaller) {
    ShowStandInGameScreen(*Root);
    const int32_t SplitterY = Root->ConsoleSplitter->Y;
    Root->leftButtonDown(10, SplitterY + 2, 0);
    Root->mouseMove(10, SplitterY + 2 - 30);
    EXPECT_EQ(ConsolePart->Height, 150);
    EXPECT_EQ(Root->ConsoleSplitter->Y, SplitterY - 30);
    EXPECT_EQ(GetMouseCursor(), 2);
    Root->leftButtonUp(10, SplitterY - 28, 0);
    EXPECT_FALSE(Root->ConsoleSplitter->Dragging);
    EXPECT_EQ(Root->getCapture(), nullptr);
}

TEST_F(MainWindow, KeysReachTheConsoleOnlyInTheGame) {
    ShowStandInGameScreen(*Root);
    Root->keyPressed('a');
    Root->keyPressed(KEY_UP);
    EXPECT_TRUE(Log.empty());
    SetConnectionState(CONNECTIONSTATE_GAME);
    Root->keyPressed('a');
    Root->keyPressed(KEY_HOME); // Home of the cursor block is the console's
    EXPECT_EQ(Log, (TEventLog{"console:key 97", "console:key 274"}));
}

TEST_F(MainWindow, ShortcutsOfTheGameScreenAreRemovedWithIt) {
    EXPECT_EQ(GetNumberOfShortcuts(), 2); // Ctrl+F and Alt+Enter
    SetShortcut(1100, Root, 506);         // as the game screen registers Ctrl+L
    Root->setGameScreen(false);
    EXPECT_EQ(GetNumberOfShortcuts(), 2);
    EXPECT_FALSE(FireShortcut(0x400 | 'l'));
}

TEST_F(MainWindow, FullScreenSwitchNeedsAStoredModeOf640x480AtLeast) {
    Root->handleEvent(MAIN_FULLSCREEN);
    EXPECT_TRUE(Calls.empty());
    SetFullscreenMode(TDisplayMode{600, 400, 32, 60});
    SetVideoMode(WINDOWED_MODE);
    EXPECT_TRUE(FireShortcut(0x800 | 13)); // Alt+Enter
    EXPECT_EQ(GetFullscreenMode()->Width, 640);
    EXPECT_EQ(GetFullscreenMode()->Height, 480);
    EXPECT_EQ(Root->Width, 640);
    EXPECT_EQ(Calls, (std::vector<std::string>{"viewmode 2"}));
}

TEST_F(MainWindow, AbortBringsBackTheCharacterListOnlyFromTheGameServer) {
    SetConnectionState(CONNECTIONSTATE_CONNECTLOGIN);
    SetActionState(ACTIONSTATE_DIALOG);
    Root->handleEvent(MAIN_ABORT_CONNECTING);
    EXPECT_TRUE(queuedTypes().empty());
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    SetConnectionState(CONNECTIONSTATE_CONNECTGAME);
    Root->handleEvent(MAIN_ABORT_CONNECTING);
    EXPECT_EQ(queuedTypes(), (TTypes{MESSAGE_WAITFORCHARACTERS, MESSAGE_CHARACTERLIST}));
}

TEST_F(MainWindow, BugReportNeedsTheRightTheGameAndNoDialog) {
    Root->handleEvent(MAIN_BUG_REPORT);
    ASSERT_NE(GetStatusMessage(), nullptr);
    EXPECT_STREQ(GetStatusMessage(), "You are not authorised to send bug reports.");
    SetRight(40, 1);
    Root->handleEvent(MAIN_BUG_REPORT);
    EXPECT_TRUE(queuedTypes().empty());
    SetConnectionState(CONNECTIONSTATE_GAME);
    Root->handleEvent(MAIN_BUG_REPORT);
    EXPECT_EQ(queuedTypes(), (TTypes{MESSAGE_BUGREPORT}));
    ClearRights();
}

TEST_F(MainWindow, LogoutQueryCarriesItsRecord) {
    Root->handleEvent(MAIN_ASK_LOGOUT);
    int32_t Type;
    intptr_t P1, P2;
    PopMessage(Type, P1, P2);
    ASSERT_EQ(Type, MESSAGE_YESNOBOX);
    const intptr_t* Record = MessagePointer<intptr_t>(P1);
    EXPECT_STREQ(MessagePointer<const char>(Record[0]), "Warning");
    EXPECT_STREQ(MessagePointer<const char>(Record[1]), "Are you sure you want to leave Pellar?");
    EXPECT_EQ(MessagePointer<TMainWindow>(Record[2]), Root);
    EXPECT_EQ(Record[3], 506);
    FreeMessageParameters(Type, P1, P2);
}

TEST_F(MainWindow, EngineButtonsAskTheControllerForTheirEngine) {
    SetEngineSwitch([](int32_t Engine) { Calls.push_back("engine " + std::to_string(Engine)); });
    Root->handleEvent(MAIN_ENGINE_DIRECTDRAW);
    Root->handleEvent(MAIN_ENGINE_DIRECT3D9);
    Root->handleEvent(MAIN_ENGINE_OPENGL);
    EXPECT_EQ(Calls, (std::vector<std::string>{"engine 0", "engine 2", "engine 1"}));
    SetEngineSwitch(nullptr);
    EXPECT_THROW(Root->handleEvent(800), TMyException);
}

TEST_F(MainWindow, TheModuleStopDeletesAnOpenModalWindow) {
    SetModalWindow(new TProbeLeaf(Log, "dialog"));
    SetActionState(ACTIONSTATE_DIALOG);
    ExitMainWindow();
    EXPECT_EQ(Log, (TEventLog{"dialog:deleted"}));
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    InitMainWindow(800, 600, nullptr, nullptr, nullptr); // for TearDown
}
