// The game screen as the controller enters it: the map window, the console with its default tab, the first
// layout and the game-screen shortcuts.
#include "control/Control.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "screen/ConsoleWindow.h"
#include "screen/ContextMenus.h"
#include "screen/MainWindow.h"
#include "screen/MapWindow.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"
#include "tests/gui/SkinScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

class GameScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ResetOptions();
        InitTalk();
        ClearMessages();
        ResetShortcuts();
        SetActionState(ACTIONSTATE_NONE);
        InitSkinProperties();
        SetGameScreenAssembly(GameScreenAssembly());
        InitMainWindow(800, 600, nullptr, nullptr, nullptr);
        Root = GetMainWindow();
    }
    void TearDown() override {
        ExitMainWindow();
        SetGameScreenAssembly(TGameScreenAssembly());
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

TEST_F(GameScreen, StoredArrangementSurvivesAGameWithoutSidePanels) {
    AddOpenDialog(7);
    AddOpenDialog(3);
    Root->setGameScreen(true);
    Root->setGameScreen(false);
    std::unique_ptr<int32_t[]> Dialogs;
    ASSERT_EQ(GetOpenDialogs(Dialogs), 2);
    EXPECT_EQ(Dialogs[0], 7);
    EXPECT_EQ(Dialogs[1], 3);
}

TEST_F(GameScreen, EnterGameShowsTheGameScreen) {
    SetGameScreenAssembly(TGameScreenAssembly());
    InitControl(nullptr, nullptr, TFrameCallbacks{}); // the controller installs the assembly
    EnterGame();
    EXPECT_TRUE(Root->InGame);
    EXPECT_NE(dynamic_cast<TMapWindow*>(Root->MapWindow), nullptr);
    EXPECT_EQ(Root->StartScreen, nullptr);
}

TEST_F(GameScreen, TheControllerOpensTheContextMenusAsTheModalWindow) {
    InitControl(nullptr, nullptr, TFrameCallbacks{});
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
    KeyPressed(27);
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
    InitControl(nullptr, nullptr, TFrameCallbacks{});
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
    Menu->handleEvent(10206);
    EXPECT_TRUE(View->hasSelection());
    KeyPressed(27);
    EXPECT_EQ(GetModalWindow(), nullptr);
}

} // namespace
