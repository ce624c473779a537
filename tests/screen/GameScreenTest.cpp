// The game screen as the controller enters it: the map window, the console with its default tab, the first
// layout and the game-screen shortcuts.
#include "control/Control.h"
#include "gui/DialogWindow.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "network/Communication.h"
#include "screen/ConsoleWindow.h"
#include "screen/ContextMenus.h"
#include "screen/MainWindow.h"
#include "screen/MapWindow.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Inventory.h"
#include "state/MapAutomap.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"
#include "tests/foundation/Thrown.h"
#include "tests/gui/SkinScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using TIds = std::vector<int32_t>;

// The windows of a column from top to bottom.
TIds Identifiers(const TWindowColumn* Column) {
    TIds Result;
    for (const TComponent* C = Column->getFirstChild(); C != nullptr; C = C->getNext())
        if (const auto* Window = dynamic_cast<const TContentWindow*>(C); Window != nullptr)
            Result.push_back(Window->Identifier);
    return Result;
}

TIds StoredDialogs() {
    std::unique_ptr<int32_t[]> Dialogs;
    const int32_t Count = GetOpenDialogs(Dialogs);
    return TIds(Dialogs.get(), Dialogs.get() + Count);
}

class GameScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ResetOptions();
        InitTalk();
        ClearMessages();
        ResetShortcuts();
        SetActionState(ACTIONSTATE_NONE);
        InitSkinProperties();
        InitAutomap();
        InitInventory();
        InitMainWindow(800, 600, nullptr, nullptr, nullptr);
        Root = GetMainWindow();
    }
    void TearDown() override {
        ExitMainWindow();
        ClearMessages();
        ExitTalk();
    }
    TSkinScreen Screen; // the software engine with fonts and skins, for the console
    TMainWindow* Root = nullptr;
};

TEST_F(GameScreen, TheMapTakesTheWidthBesideTheSideBarAndTheHeightAboveTheConsole) {
    Root->setGameScreen(true);
    ASSERT_NE(dynamic_cast<TMapWindow*>(Root->MapWindow), nullptr);
    ASSERT_NE(Root->Console, nullptr);
    EXPECT_EQ(Root->MapWindow->Width, 800 - SkinProperties.MainWindow.SideBarWidth);
    EXPECT_LE(Root->MapWindow->Height + Root->Console->Height, 600);
    const TMapView* View = static_cast<TMapWindow*>(Root->MapWindow)->_MapView;
    EXPECT_EQ(View->Height, View->Width * 11 / 15);
}

TEST_F(GameScreen, ShortcutsWorkInGameOnlyAndIgnoreShift) {
    EXPECT_FALSE(FireShortcut(0x400 | 'l'));
    Root->setGameScreen(true);
    EXPECT_TRUE(FireShortcut(0x400 | 0x200 | 'h')); // Ctrl+Shift+H: help mode
    EXPECT_EQ(PeekMessageType(), MESSAGE_HELPCURSOR);
    EXPECT_TRUE(FireShortcut(0x400 | 'f')); // registered by the main window for both screens
    Root->setGameScreen(false);
    EXPECT_FALSE(FireShortcut(0x400 | 'h'));
    EXPECT_TRUE(FireShortcut(0x400 | 'f'));
}

TEST_F(GameScreen, ConsoleOpensWithItsDefaultTabBelowTheSplitter) {
    SetConsoleHeight(5000); // more than the window allows
    Root->setGameScreen(true);
    auto* Console = dynamic_cast<TConsoleWindow*>(Root->Console);
    ASSERT_NE(Console, nullptr);
    EXPECT_NE(Root->ConsoleSplitter, nullptr);
    EXPECT_EQ(Console->Height, Console->getMinimumHeight());
    EXPECT_EQ(Console->getCurrentTextBuffer(), DefaultTextBuffer());
    EXPECT_EQ(Root->ConsoleSplitter->Y,
              600 - Console->getMinimumHeight() - SkinProperties.MainWindow.SplitterHeight);
}

TEST_F(GameScreen, FirstStartShowsTheDefaultPanelsBesideTheMapAndNoSideWindow) {
    Root->setGameScreen(true);
    EXPECT_EQ(Identifiers(Root->SideBar), (TIds{3, 4, 1, 5})); // automap, status, inventory, controls
    EXPECT_EQ(Identifiers(Root->DialogWindow), TIds{});
    const int32_t S = SkinProperties.MainWindow.SideBarWidth;
    EXPECT_EQ(Root->SideBarFrame->X, 800 - S);
    EXPECT_EQ(Root->SideBarFrame->Width, S);
    EXPECT_EQ(Root->SideBarFrame->Height,
              Root->SideBarFrame->getMinimumHeight() + Root->SideBar->getMinimumHeight());
    EXPECT_EQ(Root->DialogWindow->X, 800 - S);
    EXPECT_EQ(Root->DialogWindow->Y, Root->SideBarFrame->Height);
    EXPECT_EQ(Root->DialogWindow->Y + Root->DialogWindow->Height, 600);
    Root->setGameScreen(false);
    EXPECT_EQ(StoredDialogs(), (TIds{3, 4, 1, 5}));
}

TEST_F(GameScreen, StoredArrangementComesBackWithMissingPanelsOnTop) {
    AddOpenDialog(7);
    AddOpenDialog(3);
    Root->setGameScreen(true);
    Root->setGameScreen(false);
    std::unique_ptr<int32_t[]> Dialogs;
    ASSERT_EQ(GetOpenDialogs(Dialogs), 5);
    EXPECT_EQ(Dialogs[0], 4);
    EXPECT_EQ(Dialogs[1], 1);
    EXPECT_EQ(Dialogs[2], 5);
    EXPECT_EQ(Dialogs[3], 3);
    EXPECT_EQ(Dialogs[4], 7);

    ClearOpenDialogs();
    for (int32_t Identifier : {5, 3, 7, 1, 6, 42})
        AddOpenDialog(Identifier);
    Root->setGameScreen(true);
    EXPECT_EQ(Identifiers(Root->SideBar), (TIds{4, 5, 3, 1}));
    EXPECT_EQ(Identifiers(Root->DialogWindow), (TIds{7, 6}));
    Root->setGameScreen(false);
    EXPECT_EQ(StoredDialogs(), (TIds{4, 5, 3, 1, 7, 6})) << "the unknown entry is dropped";
}

TEST_F(GameScreen, TheMinimisedInventoryComesBackAndSwapsInPlace) {
    AddOpenDialog(2);
    Root->setGameScreen(true);
    EXPECT_EQ(Identifiers(Root->SideBar), (TIds{3, 4, 5, 2}));
    const int32_t Small = Root->SideBarFrame->Height;
    Root->handleEvent(MAIN_MAXIMISE_INVENTORY);
    EXPECT_EQ(Identifiers(Root->SideBar), (TIds{3, 4, 5, 1}));
    EXPECT_GT(Root->SideBarFrame->Height, Small);
    EXPECT_EQ(Root->DialogWindow->Y, Root->SideBarFrame->Height);
    Root->handleEvent(MAIN_MINIMISE_INVENTORY);
    EXPECT_EQ(Identifiers(Root->SideBar), (TIds{3, 4, 5, 2}));
    EXPECT_EQ(Root->SideBarFrame->Height, Small);
}

TEST_F(GameScreen, ShortcutsToggleTheSideWindowsAndUnknownOnesAreRefused) {
    Root->setGameScreen(true);
    EXPECT_TRUE(FireShortcut(0x400 | 's'));
    EXPECT_TRUE(FireShortcut(0x400 | 'b'));
    EXPECT_EQ(Identifiers(Root->DialogWindow), (TIds{6, 7}));
    EXPECT_TRUE(FireShortcut(0x400 | 's'));
    EXPECT_EQ(Identifiers(Root->DialogWindow), (TIds{7}));
    Root->openSideWindow(BATTLE_WINDOW); // already open: unchanged
    EXPECT_EQ(Identifiers(Root->DialogWindow), (TIds{7}));
    EXPECT_NE(ThrownText([&] { Root->openSideWindow(4); }).find("unknown identifier"), std::string::npos);
}

TEST_F(GameScreen, TheGameMessagesOpenAndCloseContainerAndTradeWindows) {
    TGameClientHooks& Hooks = GetControllerGameHooks();
    EXPECT_NE(ThrownText([&] { Hooks.openContainerWindow(2); }).find("DialogWindow!=NULL"),
              std::string::npos);
    Hooks.closeContainerWindow(2); // nothing without the game screen
    EnterGame();
    OpenContainer(2, {100, 0, 0}, "Bag", 8, false);
    Hooks.openContainerWindow(2);
    Hooks.openContainerWindow(2); // the window is reused
    Hooks.openTradeWindow();
    EXPECT_EQ(Identifiers(Root->DialogWindow), (TIds{CONTAINER_WINDOW + 2, TRADE_WINDOW}));
    EXPECT_NE(
        ThrownText([&] { Hooks.openTradeWindow(); }).find("!DialogWindow->hasContentWindow(TRADE_WINDOW)"),
        std::string::npos);
    Hooks.refreshTradeWindow();
    Hooks.closeTradeWindow();
    Hooks.closeContainerWindow(2);
    Hooks.closeContainerWindow(3); // not open: nothing
    EXPECT_EQ(Identifiers(Root->DialogWindow), TIds{});
}

TEST_F(GameScreen, EnterGameShowsTheGameScreen) {
    EnterGame();
    EXPECT_TRUE(Root->InGame);
    EXPECT_NE(dynamic_cast<TMapWindow*>(Root->MapWindow), nullptr);
    EXPECT_EQ(Root->StartScreen, nullptr);
}

TEST_F(GameScreen, TheControllerOpensTheContextMenusAsTheModalWindow) {
    EnterGame();
    SetLookTarget({CREATURE, 1, 0}, 1, 100, 100, 7); // what a right click on the map sets
    SetUseTarget({}, 0, 100, 100, 7);
    SetMenuCreature(0);
    SetMousePosition(790, 590); // the menu flips to stay inside the window
    AddMessage(MESSAGE_OBJECTMENU, 0, 0);
    ProcessMessages();
    auto* Menu = dynamic_cast<TObjectMenu*>(GetModalWindow());
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_CONTEXTMENU);
    EXPECT_LE(Menu->X + Menu->Width, 800);
    EXPECT_LE(Menu->Y + Menu->Height, 600);
    const auto* First = dynamic_cast<const TContextMenuEntry*>(Menu->getFirstChild());
    ASSERT_NE(First, nullptr);
    EXPECT_STREQ(First->Text, "Look");
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetModalWindow(), nullptr);

    // The help popup is placed inside the main window when the window changes size.
    auto* Popup = new THelpPopup("Help");
    Popup->setPosition(5000, 5000);
    SetModalWindow(Popup);
    SetActionState(ACTIONSTATE_HELP);
    ResizeScreen(640, 480);
    EXPECT_LE(Popup->X + Popup->Width, 640);
    EXPECT_LE(Popup->Y + Popup->Height, 480);
}

TEST_F(GameScreen, ARightClickOnAConsoleLineOpensTheChatLineMenuOnTheConsolesView) {
    EnterGame();
    SetPlayerID(0x10000001);
    std::snprintf(NewCreature(0, 0x10000001)->Name, sizeof(TCreature::Name), "Ardan");
    AddToTextBuffer(DefaultTextBuffer(), 1, "hello", TALK_SAY, "Brenna", 0);
    auto* Console = dynamic_cast<TConsoleWindow*>(Root->Console);
    ASSERT_NE(Console, nullptr);
    ConsoleTextView* View = Console->CurrentConsole->View;
    View->arrange();
    int32_t x = 3, y = View->Height - 3; // on the newest row, drawn at the bottom
    for (const TComponent* C = View; C != nullptr; C = C->Parent)
        x += C->X, y += C->Y;
    RightButtonDown(x, y, 0);
    RightButtonUp(x, y, 0);
    ProcessMessages();
    auto* Menu = dynamic_cast<TTextMenu*>(GetModalWindow());
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Menu->_TextWindow, static_cast<TChatTextView*>(View));
    ASSERT_NE(Menu->_TextWindow->getTalkLine(Menu->_LineNumber), nullptr);
    EXPECT_STREQ(Menu->_TextWindow->getTalkLine(Menu->_LineNumber)->_Addressee, "Brenna");
    const auto* First = dynamic_cast<const TContextMenuEntry*>(Menu->getFirstChild());
    ASSERT_NE(First, nullptr);
    EXPECT_STREQ(First->Text, "Message to Brenna");

    // "Select all" reaches the real view.
    Menu->handleEvent(MENU_SELECT_ALL);
    EXPECT_TRUE(View->hasSelection());
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetModalWindow(), nullptr);
}

} // namespace

namespace {

TEST_F(GameScreen, TheStripBetweenAShortMapWindowAndTheSplitterIsDrawnBlack) {
    Root->setSize(640,
                  480); // narrow: the map window keeps the view's proportions and ends above the splitter
    Root->setGameScreen(true);
    ASSERT_LT(Root->MapWindow->Height, Root->ConsoleSplitter->Y);
    Screen.clear();
    Root->draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.pixel(10, Root->MapWindow->Height + 1), 0u);
    EXPECT_EQ(Screen.pixel(10, Root->ConsoleSplitter->Y - 1), 0u);
}

} // namespace

namespace {

TEST_F(GameScreen, InHelpModeThePointerOverAnElementShowsItsHelpText) {
    Root->setGameScreen(true);
    SetActionState(ACTIONSTATE_HELP);
    MouseMove(Root->Console->X + 20, Root->Console->Y + Root->Console->Height - 5); // the input line
    auto* Popup = dynamic_cast<THelpPopup*>(GetModalWindow());
    ASSERT_NE(Popup, nullptr);
    EXPECT_NE(GetHelpContext(), 0);
    EXPECT_LE(Popup->X + Popup->Width, Root->Width);
    SetModalWindow(nullptr);
    delete Popup;
    SetActionState(ACTIONSTATE_NONE);
}

} // namespace
