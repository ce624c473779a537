// The game screen as the controller enters it: the map window, the console through its seam, the first
// layout and the game-screen shortcuts.
#include "control/Control.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "screen/MainWindow.h"
#include "screen/MapWindow.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "tests/gui/Probes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

TEventLog Log;
TProbeParent* ConsolePart = nullptr;

TComponent* CreateConsole() {
    ConsolePart = new TProbeParent(Log, "console");
    ConsolePart->MinimumHeight = 60;
    return ConsolePart;
}
void OpenDefaultTab(TComponent*) { Log.push_back("console:default tab"); }
void SetInputFocus(TComponent*, bool Flag) {
    Log.push_back(std::string("console:focus ") + (Flag ? "on" : "off"));
}

class GameScreen : public ::testing::Test {
protected:
    void SetUp() override {
        Log.clear();
        ResetOptions();
        ClearMessages();
        ResetShortcuts();
        SetActionState(ACTIONSTATE_NONE);
        InitSkins();
        InitSkinProperties();
        SetGameScreenAssembly(GameScreenAssembly());
        InitMainWindow(800, 600, nullptr, nullptr, nullptr);
        Root = GetMainWindow();
    }
    void TearDown() override {
        ExitMainWindow();
        SetGameScreenAssembly(TGameScreenAssembly());
        SetConsoleSeam(TConsoleSeam());
        ClearMessages();
        ExitSkins();
    }
    bool logged(const std::string& Entry) { return std::find(Log.begin(), Log.end(), Entry) != Log.end(); }
    TMainWindow* Root = nullptr;
};

TEST_F(GameScreen, WithoutAConsoleTheMapTakesTheHeightBesideTheSideBar) {
    Root->setGameScreen(true);
    ASSERT_NE(dynamic_cast<TMapWindow*>(Root->MapWindow), nullptr);
    EXPECT_EQ(Root->Console, nullptr);
    EXPECT_EQ(Root->ConsoleSplitter, nullptr);
    EXPECT_EQ(Root->MapWindow->Width, 800 - SkinProperties.MainWindow.SideBarWidth);
    EXPECT_LE(Root->MapWindow->Height, 600);
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

TEST_F(GameScreen, ConsoleComesThroughItsSeamWithItsDefaultTab) {
    SetConsoleSeam({CreateConsole, OpenDefaultTab, SetInputFocus});
    SetConsoleHeight(5000); // more than the window allows
    Root->setGameScreen(true);
    ASSERT_EQ(Root->Console, ConsolePart);
    EXPECT_NE(Root->ConsoleSplitter, nullptr);
    EXPECT_EQ(Root->Console->Height, 60);
    EXPECT_TRUE(logged("console:default tab"));
    EXPECT_TRUE(logged("console:focus on"));
    EXPECT_EQ(Root->ConsoleSplitter->Y, 600 - 60 - SkinProperties.MainWindow.SplitterHeight);
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

} // namespace
