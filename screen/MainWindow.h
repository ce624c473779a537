// The main window, root of the client area: the start screen with its five buttons over the title picture,
// the layout and drawing order of the game screen's parts, the console splitter, and the window's command and
// key handlers.
#pragma once

#include "gui/DialogElementsFrame.h"
#include "gui/DialogWindow.h"
#include "gui/GUI.h"

#include <cstdint>

// The frame window's services that the main window calls.
using TQuitProgram = void (*)();
using TSetViewMode = void (*)(int32_t Mode); // 1 windowed, 2 full screen
using TOpenURL = void (*)(const char* Url);
// The controller's engine switch (0 DirectDraw, 1 OpenGL, 2 Direct3D 9), set by the controller, whose start
// fails while it is not.
using TEngineSwitch = void (*)(int32_t Engine);
void SetEngineSwitch(TEngineSwitch Switch);
bool HasEngineSwitch();

// The commands the main window takes (handleEvent) from the game screen's buttons and shortcuts, the
// side-bar panels, the option pages and the message boxes bound to it; it ignores any other number.
enum MAIN_COMMAND : int32_t {
    MAIN_CANCEL = 2, // "No" or "Cancel" of a box: the box ends
    MAIN_EXIT = 7,
    MAIN_OPTIONS = 8,
    MAIN_RELAYOUT = 9,
    MAIN_TOGGLE_SKILLS = 14,
    MAIN_TOGGLE_BATTLE = 15,
    MAIN_TOGGLE_VIP = 22,
    MAIN_MINIMISE_INVENTORY = 23,
    MAIN_MAXIMISE_INVENTORY = 24,
    MAIN_ABORT_CONNECTING = 29,
    MAIN_STOP = 32,
    MAIN_COPY_LINK = 33, // "Yes" of the link-copy warning
    MAIN_FULLSCREEN = 504,
    MAIN_BUG_REPORT = 505,
    MAIN_LOGOUT = 506,
    MAIN_ASK_LOGOUT = 507, // the leave-game query, whose "Yes" sends MAIN_LOGOUT
    MAIN_CHARACTER_LIST = 509,
    MAIN_HELP = 701,
    MAIN_HELP_MODE = 702,
    MAIN_TUTOR_CHANNEL = 704,
    MAIN_RULE_VIOLATION = 705,
    MAIN_GAMEMASTER_REPORT = 708,
    MAIN_ENGINE_DIRECTDRAW = 800,
    MAIN_ENGINE_DIRECT3D9 = 801,
    MAIN_ENGINE_OPENGL = 802,
};

// The web page that "Access Account" opens.
inline constexpr const char* ACCOUNT_PAGE_URL = "https://www.pellarune.example/account/";

// The start screen: the title picture stretched over the client area and a framed panel of five buttons.
class TStartScreen : public TParentComponent {
public:
    TStartScreen();
    void setSize(int32_t Width, int32_t Height) override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    // The five buttons; only while offline.
    void handleEvent(int32_t Identifier) override;

    TWindowFrame* ButtonPanel = nullptr; // a child
};

// The bar between map and console with which the player drags the console's height.
class TConsoleSplitter : public TLeafComponent {
public:
    TConsoleSplitter();
    void arrange() override;
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    void releaseCapture(TComponent* Component) override;

    bool Dragging = false;
    int32_t GrabX = 0, GrabY = 0; // the press that began the drag, relative to the splitter
};

class TMainWindow : public TParentComponent {
public:
    TMainWindow(int32_t Width, int32_t Height);
    ~TMainWindow() override;

    // The layout of the screen shown.
    void setSize(int32_t Width, int32_t Height) override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    // In game: walking and turning with the cursor keys; other keys go to the console.
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override;

    // Tears down the screen shown (recording the game screen's open side-bar panels and side windows in the
    // options) and builds the start screen (false) or the game screen (true): map window, splitter and
    // console, the side bar of panels and the column of side windows in the arrangement the OpenDialogs
    // option stored, and the game screen's shortcuts.
    void setGameScreen(bool InGame);
    void activateConsoleInput(bool Flag);
    int32_t getConsoleHeight() const;
    void setConsoleHeight(int32_t ConsoleHeight);
    void walkStep(int32_t dx, int32_t dy, bool Diagonal);

    // The side windows of the game screen. openSideWindow opens skills (6), battle list (7), trade (8) or
    // the VIP list (9) at the end of the column unless it is open; other identifiers are a failed check.
    void openSideWindow(int32_t Identifier);
    void closeSideWindow(int32_t Identifier);
    // What the game's messages open, refresh and close; containers 0 to 15. Opening needs the game screen.
    void openContainerWindow(int32_t Container);
    void closeContainerWindow(int32_t Container); // nothing when it is not open
    void openTradeWindow();                       // one trade at a time
    void refreshTradeWindow();
    void closeTradeWindow();

    // Parts of the game screen, children of the main window; NULL while not built. The assembly fills them.
    TComponent* MapWindow = nullptr;
    TWindowFrame* SideBarFrame = nullptr;
    TWindowColumn* DialogWindow = nullptr; // the column of side windows
    TWindowColumn* SideBar = nullptr;      // the column of side-bar panels, inside SideBarFrame
    TComponent* Console = nullptr;
    TConsoleSplitter* ConsoleSplitter = nullptr;
    TStartScreen* StartScreen = nullptr;
    bool InGame = false;

private:
    void layoutGameScreen(int32_t Width, int32_t Height);
    void toggleSideWindow(int32_t Identifier);
    void switchFullscreen();
    void askLeaveGame();
};

// The root component and the one open dialog, context menu or help popup (none: NULL). Owned here.
TMainWindow* GetMainWindow();
TComponent* GetModalWindow();
void SetModalWindow(TComponent* Window);
// Called with every window as it becomes the modal window, for as long as it is set (NULL: none).
using TModalWindowObserver = void (*)(TComponent* Window);
void SetModalWindowObserver(TModalWindowObserver Observer);
// Deletes the modal window and clears the slot (nothing when none is open).
void DeleteModalWindow();

TQuitProgram GetQuitProgram();
TSetViewMode GetSetViewMode();
TOpenURL GetOpenURL();

// Created once by the frame window with the client size; the action state must be none.
void InitMainWindow(int32_t Width, int32_t Height, TQuitProgram QuitProgram, TSetViewMode SetViewMode,
                    TOpenURL OpenURL);
// First step of the module stop: the root (its side windows recorded) and an open modal window deleted.
void ExitMainWindow();
