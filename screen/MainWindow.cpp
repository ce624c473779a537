// The main window: start screen, game-screen layout and drawing order, console splitter, command and key
// handlers.
#include "screen/MainWindow.h"

#include "foundation/Exception.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "network/Network.h"
#include "screen/AutomapWindow.h"
#include "screen/ConsoleWindow.h"
#include "screen/ContentWindowsBattle.h"
#include "screen/ContentWindowsCombat.h"
#include "screen/ContentWindowsContainer.h"
#include "screen/ContentWindowsInventory.h"
#include "screen/ContentWindowsSkills.h"
#include "screen/ContentWindowsTrade.h"
#include "screen/ContentWindowsVIP.h"
#include "screen/GeneralControls.h"
#include "screen/MapWindow.h"
#include "screen/MessageTexts.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/StatusClipboard.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"

#include <algorithm>
#include <memory>

namespace {

// Module state: from InitMainWindow to ExitMainWindow.
struct {
    TMainWindow* Root = nullptr;
    TComponent* ModalWindow = nullptr;
    TQuitProgram QuitProgram = nullptr;
    TSetViewMode SetViewMode = nullptr;
    TOpenURL OpenURL = nullptr;
    TEngineSwitch EngineSwitch = nullptr;
} Module;

TModalWindowObserver ModalWindowObserver = nullptr; // outlives the module: set and cleared by its user

constexpr int32_t KEY_CTRL_F = KEY_CTRL | 'F';
constexpr int32_t KEY_ALT_ENTER = KEY_ALT | KEY_ENTER;

// The shortcuts of the game screen and what they send the main window; removed while the start screen shows.
struct TGameScreenShortcut {
    int32_t Key;
    MAIN_COMMAND Command;
};
constexpr TGameScreenShortcut GameScreenShortcuts[] = {
    {KEY_CTRL | 'L', MAIN_LOGOUT},
    {KEY_CTRL | 'Q', MAIN_LOGOUT},
    {KEY_CTRL | 'G', MAIN_CHARACTER_LIST},
    {KEY_CTRL | 'S', MAIN_TOGGLE_SKILLS},
    {KEY_CTRL | 'B', MAIN_TOGGLE_BATTLE},
    {KEY_CTRL | 'P', MAIN_TOGGLE_VIP},
    {KEY_CTRL | 'Z', MAIN_BUG_REPORT},
    {KEY_CTRL | 'R', MAIN_RULE_VIOLATION},
    {KEY_CTRL | 'Y', MAIN_GAMEMASTER_REPORT},
    {KEY_CTRL | 'H', MAIN_HELP_MODE},
    {KEY_CTRL | 'T', MAIN_TUTOR_CHANNEL},
    {KEY_ESCAPE, MAIN_STOP},
};

// The start screen's buttons.
enum START_COMMAND : int32_t {
    START_EXIT_GAME = 7,
    START_ENTER_GAME = 501,
    START_INFO = 502,
    START_OPTIONS = 503,
    START_ACCOUNT = 508,
};

struct TStartButton {
    const char* Text;
    START_COMMAND Identifier;
    int32_t Row; // index into the panel's rows
};
constexpr TStartButton StartButtons[] = {
    {"Enter Game", START_ENTER_GAME, 0}, {"Access Account", START_ACCOUNT, 1},
    {"Options", START_OPTIONS, 2},       {"Info", START_INFO, 3},
    {"Exit Game", START_EXIT_GAME, 4},
};

void Post(int32_t Type, intptr_t Param1 = 0) { AddMessage(Type, Param1, 0); }

} // namespace

// ---- Game-screen assembly ----

namespace {

// The side-bar panel an OpenDialogs entry names, or NULL for one that names none.
TContentWindow* CreateSideBarPanel(TMainWindow& Main, int32_t Identifier) {
    switch (Identifier) {
    case INVENTORY_WINDOW:
        return CreateInventoryPanel(&Main);
    case SMALL_INVENTORY_WINDOW:
        return CreateSmallInventoryPanel(&Main);
    case AUTOMAP_WINDOW:
        return new TAutomapWindow;
    case STATUS_WINDOW:
        return new TStatusWindow;
    case CONTROLS_WINDOW:
        return new TGeneralControls(Main.DialogWindow, &Main);
    default:
        return nullptr;
    }
}

// The stored panels in their stored order, then the missing ones on top; with nothing stored, top-down:
// automap, status bars, inventory, general controls.
void FillSideBar(TMainWindow& Main, const int32_t* Stored, int32_t Count) {
    TWindowColumn& SideBar = *Main.SideBar;
    for (int32_t i = Count - 1; i >= 0; i--)
        if (TContentWindow* Panel = CreateSideBarPanel(Main, Stored[i])) SideBar.addChild(Panel);
    for (int32_t Identifier : {CONTROLS_WINDOW, INVENTORY_WINDOW, STATUS_WINDOW, AUTOMAP_WINDOW}) {
        const bool Present =
            SideBar.hasContentWindow(Identifier) ||
            (Identifier == INVENTORY_WINDOW && SideBar.hasContentWindow(SMALL_INVENTORY_WINDOW));
        if (!Present) SideBar.addChild(CreateSideBarPanel(Main, Identifier));
    }
}

void BuildGameScreen(TMainWindow& Main) {
    TMapWindow* Map = new TMapWindow;
    auto* Console = new TConsoleWindow;
    Main.DialogWindow = new TWindowColumn;
    Main.SideBar = new TWindowColumn;
    std::unique_ptr<int32_t[]> Stored;
    const int32_t Count = GetOpenDialogs(Stored);
    FillSideBar(Main, Stored.get(), Count);
    Main.SideBarFrame = new TWindowFrame(Main.SideBar, 0);
    // Each at the head: the side windows are offered the mouse first, the map last.
    Main.MapWindow = Main.addChild(Map);
    Main.ConsoleSplitter = new TConsoleSplitter;
    Main.addChild(Main.ConsoleSplitter);
    Main.Console = Main.addChild(Console);
    Main.addChild(Main.SideBarFrame);
    Main.addChild(Main.DialogWindow);
    // The stored height, unless the window leaves the map less than its minimum.
    int32_t C = std::max(GetConsoleHeight(), Console->getMinimumHeight());
    const int32_t B = SkinProperties.MainWindow.SplitterHeight;
    if (Main.Height - C - B < Map->getMinimumHeight()) C = Console->getMinimumHeight();
    Console->TComponent::setSize(Console->Width, C);
    Console->openDefaultTab(DefaultTextBuffer(), "Default");
    const int32_t S = SkinProperties.MainWindow.SideBarWidth;
    Main.SideBarFrame->setSize(S, Main.SideBarFrame->getMinimumHeight() + Main.SideBar->getMinimumHeight());
    Main.SideBarFrame->setPosition(Main.Width - S, 0);
    Main.DialogWindow->setSize(S, Main.Height - Main.SideBarFrame->Height);
    Main.DialogWindow->setPosition(Main.Width - S, Main.SideBarFrame->Height);
    // Trade and container windows are never reopened.
    for (int32_t i = 0; i < Count; i++)
        if (Stored[i] == SKILLS_WINDOW || Stored[i] == BATTLE_WINDOW || Stored[i] == BUDDY_WINDOW)
            Main.openSideWindow(Stored[i]);
    for (const TGameScreenShortcut& Shortcut : GameScreenShortcuts)
        SetShortcut(Shortcut.Key, &Main, Shortcut.Command);
}

void RecordOpenWindows(TMainWindow& Main) {
    ClearOpenDialogs();
    if (Main.SideBar != nullptr) Main.SideBar->saveOpenWindows();
    if (Main.DialogWindow != nullptr) Main.DialogWindow->saveOpenWindows();
}

bool IsSideWindowOpen(TMainWindow& Main, int32_t Identifier) {
    return Main.DialogWindow != nullptr && Main.DialogWindow->hasContentWindow(Identifier);
}

// The inventory panel changes form in its place in the side bar; the frame follows the new height.
void SwapInventoryPanel(TMainWindow& Main, int32_t NewPanel) {
    if (Main.SideBar == nullptr) return;
    const int32_t Old = NewPanel == INVENTORY_WINDOW ? SMALL_INVENTORY_WINDOW : INVENTORY_WINDOW;
    TContentWindow* Present = Main.SideBar->findWindow(Old);
    CHECK_TEXT(Present != nullptr, "OldWindow!=NULL");
    Main.SideBar->insertChild(Present, CreateSideBarPanel(Main, NewPanel));
    Main.SideBar->closeWindow(Present);
    Main.SideBarFrame->setSize(Main.SideBarFrame->Width,
                               Main.SideBarFrame->getMinimumHeight() + Main.SideBar->getMinimumHeight());
    Main.setSize(Main.Width, Main.Height);
}

} // namespace

void SetEngineSwitch(TEngineSwitch Switch) { Module.EngineSwitch = Switch; }
bool HasEngineSwitch() { return Module.EngineSwitch != nullptr; }

// ---- Start screen ----

TStartScreen::TStartScreen() {
    const auto& Layout = SkinProperties.StartScreen;
    TParentComponent* Panel = new TParentComponent;
    Panel->TComponent::setSize(Layout.Panel.width, Layout.Panel.height);
    for (const TStartButton& Button : StartButtons) {
        TComponent* Child = Panel->appendChild(new TTextButton(
            0, 0, Button.Text, Layout.ButtonSkinUp, Layout.ButtonSkinDown, this, Button.Identifier, nullptr));
        Panel->moveChild(Child, 0, Layout.ButtonRows[Button.Row]);
    }
    const int32_t* Skins = Layout.PanelFrame;
    ButtonPanel = new TWindowFrame(Panel, Skins[0], Skins[1], Skins[2], Skins[3], Skins[4], Skins[5],
                                   Skins[6], Skins[7], Skins[8], Layout.PanelMargin);
    addChild(ButtonPanel);
    ButtonPanel->fitToWindow();
}

void TStartScreen::setSize(int32_t _Width, int32_t _Height) {
    TComponent::setSize(_Width, _Height);
    moveChild(ButtonPanel, SkinProperties.StartScreen.Panel.x, SkinProperties.StartScreen.Panel.y);
}

void TStartScreen::draw(int32_t Surface, int32_t _X, int32_t _Y) {
    const auto& Layout = SkinProperties.StartScreen;
    DrawPicture(TEMP_SURFACE, 0, 0, Layout.TitlePicture);
    GetSurface()->StretchBlit(Surface, _X, _Y, Width, Height, TEMP_SURFACE, 0, 0, Layout.TitleWidth,
                              Layout.TitleHeight);
    TParentComponent::draw(Surface, _X, _Y);
}

void TStartScreen::handleEvent(int32_t Identifier) {
    if (GetConnectionState() != CONNECTIONSTATE_OFFLINE) return;
    switch (static_cast<START_COMMAND>(Identifier)) {
    case START_ENTER_GAME:
        Post(MESSAGE_LOGINDIALOG);
        break;
    case START_INFO:
        Post(MESSAGE_INFORMATION);
        break;
    case START_OPTIONS:
        Post(MESSAGE_OPTIONS);
        break;
    case START_ACCOUNT:
        if (Module.OpenURL != nullptr) Module.OpenURL(ACCOUNT_PAGE_URL);
        break;
    case START_EXIT_GAME:
        if (Module.QuitProgram != nullptr) Module.QuitProgram();
        break;
    }
}

// ---- Console splitter ----

TConsoleSplitter::TConsoleSplitter() { allocateDrawingList(3); }

void TConsoleSplitter::arrange() {
    const int32_t TopHeight = GetSkin(8).Height, BottomHeight = GetSkin(9).Height;
    DrawingList[0] = TSkinPiece{8, 0, 0, Width, TopHeight, 0, 0};
    DrawingList[1] =
        TSkinPiece{SKIN_PANEL_BACKGROUND, 0, TopHeight, Width, Height - TopHeight - BottomHeight, 0, 0};
    DrawingList[2] = TSkinPiece{9, 0, Height - BottomHeight, Width, BottomHeight, 0, 0};
}

bool TConsoleSplitter::mouseMove(int32_t, int32_t _Y) {
    SetMouseCursor(POINTER_RESIZE_VERTICAL);
    TMainWindow* Root = GetMainWindow();
    if (Dragging && Root != nullptr) {
        Root->setConsoleHeight(Root->getConsoleHeight() + (GrabY - _Y));
        Root->setSize(Root->Width, Root->Height);
    }
    return true;
}

bool TConsoleSplitter::leftButtonDown(int32_t _X, int32_t _Y, uint32_t) {
    setCapture(this);
    GrabX = _X;
    GrabY = _Y;
    Dragging = true;
    return true;
}

bool TConsoleSplitter::leftButtonUp(int32_t, int32_t, uint32_t) {
    if (Dragging) releaseCapture(this);
    return true;
}

void TConsoleSplitter::releaseCapture(TComponent* Component) {
    Dragging = false;
    TLeafComponent::releaseCapture(Component);
}

// ---- Main window ----

TMainWindow::TMainWindow(int32_t _Width, int32_t _Height) {
    TComponent::setSize(_Width, _Height);
    setGameScreen(false);
    SetShortcut(KEY_CTRL_F, this, MAIN_FULLSCREEN);
    SetShortcut(KEY_ALT_ENTER, this, MAIN_FULLSCREEN);
}

TMainWindow::~TMainWindow() {
    if (FirstChild != nullptr && InGame) RecordOpenWindows(*this);
    // The shortcut table must not keep pointing at the deleted window.
    RemoveShortcut(KEY_CTRL_F);
    RemoveShortcut(KEY_ALT_ENTER);
    for (const TGameScreenShortcut& Shortcut : GameScreenShortcuts)
        RemoveShortcut(Shortcut.Key);
}

void TMainWindow::setGameScreen(bool _InGame) {
    if (FirstChild != nullptr && InGame) RecordOpenWindows(*this);
    while (FirstChild != nullptr)
        deleteChild(FirstChild);
    MapWindow = Console = nullptr;
    SideBarFrame = nullptr;
    DialogWindow = SideBar = nullptr;
    ConsoleSplitter = nullptr;
    StartScreen = nullptr;
    InGame = _InGame;
    if (!_InGame) {
        StartScreen = new TStartScreen;
        addChild(StartScreen);
        for (const TGameScreenShortcut& Shortcut : GameScreenShortcuts)
            RemoveShortcut(Shortcut.Key);
    } else {
        BuildGameScreen(*this);
    }
    setSize(Width, Height);
    activateConsoleInput(Module.ModalWindow == nullptr);
}

void TMainWindow::activateConsoleInput(bool Flag) {
    if (auto* GameConsole = dynamic_cast<TConsoleWindow*>(Console)) GameConsole->activateInput(Flag);
}

void TMainWindow::setSize(int32_t _Width, int32_t _Height) {
    TComponent::setSize(_Width, _Height);
    SetScreenSize(_Width, _Height);
    if (StartScreen != nullptr) {
        StartScreen->setSize(_Width, _Height);
        StartScreen->setPosition(0, 0);
    }
    if (MapWindow != nullptr) layoutGameScreen(_Width, _Height);
    TParentComponent::arrange();
}

void TMainWindow::layoutGameScreen(int32_t W, int32_t H) {
    const int32_t S = SkinProperties.MainWindow.SideBarWidth, B = SkinProperties.MainWindow.SplitterHeight;
    if (Console == nullptr || ConsoleSplitter == nullptr) {
        MapWindow->setPosition(0, 0);
        MapWindow->setSize(W - S, H);
        return;
    }
    const int32_t MapMinimum = MapWindow->getMinimumHeight();
    int32_t M = H - Console->Height - B;
    M = std::max(M, MapMinimum);
    M = std::min(M, std::max(MapMinimum, H - Console->getMinimumHeight() - B));
    MapWindow->setPosition(0, 0);
    MapWindow->setSize(W - S, M);
    ConsoleSplitter->setSize(W - S, B);
    ConsoleSplitter->setPosition(0, M);
    ConsoleSplitter->arrange();
    Console->setSize(W - S, H - B - M);
    Console->setPosition(0, M + B);
    Console->arrange();
    int32_t SideBarHeight = 0;
    if (SideBarFrame != nullptr) {
        SideBarFrame->setPosition(W - S, 0);
        SideBarHeight = SideBarFrame->Height;
    }
    if (DialogWindow != nullptr) {
        DialogWindow->setSize(S, H - SideBarHeight);
        DialogWindow->setPosition(W - S, SideBarHeight);
    }
}

void TMainWindow::draw(int32_t Surface, int32_t _X, int32_t _Y) {
    if (!InGame) {
        TParentComponent::draw(Surface, _X, _Y);
        return;
    }
    TComponent* const Order[] = {Console, SideBarFrame, DialogWindow, MapWindow, ConsoleSplitter};
    for (TComponent* Part : Order)
        if (Part != nullptr) Part->draw(Surface, _X + Part->X, _Y + Part->Y);
    // The map window keeps the view's proportions and may end above the splitter; the strip between them
    // belongs to no part and is drawn black, so nothing of an earlier frame stays there.
    if (MapWindow != nullptr && ConsoleSplitter != nullptr && MapWindow->Height < ConsoleSplitter->Y)
        GetSurface()->FillRectangle(Surface, _X, _Y + MapWindow->Height, MapWindow->Width,
                                    ConsoleSplitter->Y - MapWindow->Height, 0, 0, 0);
}

int32_t TMainWindow::getConsoleHeight() const { return Console != nullptr ? Console->Height : 0; }

void TMainWindow::setConsoleHeight(int32_t ConsoleHeight) try {
    if (Console == nullptr) return;
    Console->setSize(Console->Width, std::max(ConsoleHeight, Console->getMinimumHeight()));
}
CATCH_FRAME(ConsoleHeight)

void TMainWindow::walkStep(int32_t dx, int32_t dy, bool Diagonal) try {
    int32_t x = 0, y = 0, z = 0;
    GetPlayerPosition(x, y, z);
    const int32_t Result = GoToField(x + dx, y + dy, z, true, Diagonal);
    if (Result == 1)
        SendWalkPath();
    else if (Result == 2)
        SendStopWalk();
}
CATCH_FRAME(dx, dy)

void TMainWindow::keyPressed(int32_t Key) {
    if (GetConnectionState() != CONNECTIONSTATE_GAME) return;
    switch (Key) {
    case KEY_UP:
        return walkStep(0, -1, false);
    case KEY_LEFT:
        return walkStep(-1, 0, false);
    case KEY_RIGHT:
        return walkStep(1, 0, false);
    case KEY_DOWN:
        return walkStep(0, 1, false);
    case KEY_PAD_END:
        return walkStep(-1, 1, true);
    case KEY_PAD_PAGE_DOWN:
        return walkStep(1, 1, true);
    case KEY_PAD_HOME:
        return walkStep(-1, -1, true);
    case KEY_PAD_PAGE_UP:
        return walkStep(1, -1, true);
    case KEY_CTRL | KEY_UP:
        return SendTurnNorth();
    case KEY_CTRL | KEY_LEFT:
        return SendTurnWest();
    case KEY_CTRL | KEY_RIGHT:
        return SendTurnEast();
    case KEY_CTRL | KEY_DOWN:
        return SendTurnSouth();
    default:
        if (Console != nullptr) Console->keyPressed(Key);
    }
}

void TMainWindow::toggleSideWindow(int32_t Identifier) {
    if (IsSideWindowOpen(*this, Identifier))
        closeSideWindow(Identifier);
    else
        openSideWindow(Identifier);
}

void TMainWindow::openSideWindow(int32_t Identifier) try {
    CHECK_TEXT(DialogWindow != nullptr, "DialogWindow!=NULL");
    if (DialogWindow->hasContentWindow(Identifier)) return;
    TDialogWindow* Window = nullptr;
    switch (Identifier) {
    case SKILLS_WINDOW:
        Window = CreateSkillsWindow();
        break;
    case BATTLE_WINDOW:
        Window = CreateBattleWindow();
        break;
    case TRADE_WINDOW:
        Window = CreateTradeWindow();
        break;
    case BUDDY_WINDOW:
        Window = CreateBuddylistWindow();
        break;
    default:
        ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "unknown identifier", "Identifier", Identifier);
    }
    DialogWindow->rearrange(TWindowColumn::ADD, Window);
}
CATCH_FRAME(Identifier)

void TMainWindow::closeSideWindow(int32_t Identifier) try {
    if (DialogWindow == nullptr) return;
    if (TContentWindow* Window = DialogWindow->findWindow(Identifier)) DialogWindow->closeWindow(Window);
}
CATCH_FRAME(Identifier)

void TMainWindow::openContainerWindow(int32_t Container) try {
    CHECK_TEXT(DialogWindow != nullptr, "DialogWindow!=NULL");
    OpenContainerWindow(*DialogWindow, Container);
}
CATCH_FRAME(Container)

void TMainWindow::closeContainerWindow(int32_t Container) try {
    if (DialogWindow != nullptr) CloseContainerWindow(*DialogWindow, Container);
}
CATCH_FRAME(Container)

void TMainWindow::openTradeWindow() try { OpenTradeWindow(DialogWindow); }
CATCH_FRAME()

void TMainWindow::refreshTradeWindow() try { RefreshTradeWindow(DialogWindow); }
CATCH_FRAME()

void TMainWindow::closeTradeWindow() try { CloseTradeWindow(DialogWindow); }
CATCH_FRAME()

void TMainWindow::switchFullscreen() {
    const TDisplayMode* Mode = GetFullscreenMode();
    if (Mode == nullptr || Mode->Width == 0) return;
    if (Mode->Width < 640 || Mode->Height < 480) {
        TDisplayMode Smallest = *Mode;
        Smallest.Width = 640;
        Smallest.Height = 480;
        SetFullscreenMode(Smallest);
        setSize(640, 480);
    }
    if (Module.SetViewMode != nullptr) Module.SetViewMode(GetVideoMode() == WINDOWED_MODE ? 2 : 1);
}

void TMainWindow::askLeaveGame() {
    intptr_t* Record = static_cast<intptr_t*>(NewMessageBlock(4 * sizeof(intptr_t)));
    Record[0] = MessageParameter("Warning");
    Record[1] = MessageParameter("Are you sure you want to leave Pellar?");
    Record[2] = MessageParameter(this);
    Record[3] = MAIN_LOGOUT;
    AddMessage(MESSAGE_YESNOBOX, MessageParameter(Record), 0);
}

void TMainWindow::handleEvent(int32_t Event) try {
    switch (static_cast<MAIN_COMMAND>(Event)) {
    case MAIN_CANCEL:
        SetActionState(ACTIONSTATE_NONE);
        break;
    case MAIN_EXIT:
        if (Module.QuitProgram != nullptr) Module.QuitProgram();
        break;
    case MAIN_OPTIONS:
        Post(MESSAGE_OPTIONS);
        break;
    case MAIN_RELAYOUT:
        setSize(Width, Height);
        break;
    case MAIN_TOGGLE_SKILLS:
        toggleSideWindow(SKILLS_WINDOW);
        break;
    case MAIN_TOGGLE_BATTLE:
        toggleSideWindow(BATTLE_WINDOW);
        break;
    case MAIN_TOGGLE_VIP:
        toggleSideWindow(BUDDY_WINDOW);
        break;
    case MAIN_MINIMISE_INVENTORY:
    case MAIN_MAXIMISE_INVENTORY:
        SwapInventoryPanel(*this,
                           Event == MAIN_MINIMISE_INVENTORY ? SMALL_INVENTORY_WINDOW : INVENTORY_WINDOW);
        break;
    case MAIN_ABORT_CONNECTING: {
        Disconnect(false);
        const int32_t State = GetConnectionState();
        if (State == CONNECTIONSTATE_CONNECTGAME || State == CONNECTIONSTATE_GAMESENT) {
            AddMessage(MESSAGE_WAITFORCHARACTERS, 20, 0);
            AddMessage(MESSAGE_CHARACTERLIST, 300, 0);
        }
        SetConnectionState(CONNECTIONSTATE_OFFLINE);
        SetActionState(ACTIONSTATE_NONE);
        break;
    }
    case MAIN_STOP:
        ClearPlayerSteps();
        SetAttackTarget(0);
        SendCancel();
        break;
    case MAIN_COPY_LINK:
        CopyTaintedClipboardText();
        SetActionState(ACTIONSTATE_NONE);
        break;
    case MAIN_FULLSCREEN:
        switchFullscreen();
        break;
    case MAIN_BUG_REPORT:
        if (!CheckRight(RIGHT_BUGREPORT, -1))
            SetStatusMessage(MessageTexts[TEXT_NO_BUG_REPORT_RIGHT], false);
        else if (GetConnectionState() == CONNECTIONSTATE_GAME && Module.ModalWindow == nullptr)
            Post(MESSAGE_BUGREPORT);
        break;
    case MAIN_LOGOUT:
        SetActionState(ACTIONSTATE_NONE);
        SendLogout();
        break;
    case MAIN_ASK_LOGOUT:
        askLeaveGame();
        break;
    case MAIN_CHARACTER_LIST:
        Post(MESSAGE_CHARACTERLIST, 300);
        break;
    case MAIN_HELP:
        Post(MESSAGE_HELP);
        break;
    case MAIN_HELP_MODE:
        SetActionState(ACTIONSTATE_NONE);
        Post(MESSAGE_HELPCURSOR);
        break;
    case MAIN_TUTOR_CHANNEL:
        SendJoinChannel(HELP_CHANNEL_ID);
        break;
    case MAIN_RULE_VIOLATION:
        Post(MESSAGE_RULEVIOLATION);
        break;
    case MAIN_GAMEMASTER_REPORT:
        if (HasAnyRight()) Post(MESSAGE_GAMEMASTERRULEVIOLATION);
        break;
    case MAIN_ENGINE_DIRECTDRAW:
    case MAIN_ENGINE_DIRECT3D9:
    case MAIN_ENGINE_OPENGL:
        CHECK_TEXT(Module.EngineSwitch != nullptr, "EngineSwitch!=NULL");
        Module.EngineSwitch(Event == MAIN_ENGINE_DIRECTDRAW  ? ENGINE_DIRECTDRAW
                            : Event == MAIN_ENGINE_DIRECT3D9 ? ENGINE_DIRECT3D9
                                                             : ENGINE_OPENGL);
        break;
    }
}
CATCH_FRAME(Event)

// ---- Module ----

TMainWindow* GetMainWindow() { return Module.Root; }
TComponent* GetModalWindow() { return Module.ModalWindow; }
void SetModalWindow(TComponent* Window) {
    Module.ModalWindow = Window;
    if (Window != nullptr && ModalWindowObserver != nullptr) ModalWindowObserver(Window);
}

void SetModalWindowObserver(TModalWindowObserver Observer) { ModalWindowObserver = Observer; }

void DeleteModalWindow() {
    delete Module.ModalWindow;
    Module.ModalWindow = nullptr;
}

TQuitProgram GetQuitProgram() { return Module.QuitProgram; }
TSetViewMode GetSetViewMode() { return Module.SetViewMode; }
TOpenURL GetOpenURL() { return Module.OpenURL; }

void InitMainWindow(int32_t Width, int32_t Height, TQuitProgram QuitProgram, TSetViewMode SetViewMode,
                    TOpenURL OpenURL) {
    Module.Root = new TMainWindow(Width, Height);
    CHECK(GetActionState() == ACTIONSTATE_NONE, GetActionState());
    Module.QuitProgram = QuitProgram;
    Module.SetViewMode = SetViewMode;
    Module.OpenURL = OpenURL;
    Module.ModalWindow = nullptr;
}

void ExitMainWindow() {
    delete Module.Root;
    Module.Root = nullptr;
    if (Module.ModalWindow != nullptr) {
        DeleteModalWindow();
        SetActionState(ACTIONSTATE_NONE);
    }
    Module.ModalWindow = nullptr;
}
