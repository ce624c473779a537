// The controller's tick, frames, engine switch, screen size, game entry, close request, crash-report sending
// and the idle pass's event dispatch.
#include "control/Control.h"

#include "control/ControlDownload.h"
#include "control/ControlEvents.h"
#include "foundation/Exception.h"
#include "foundation/sysinc.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "network/Network.h"
#include "platform/AppWindow.h"
#include "screen/ContextMenus.h"
#include "screen/MainWindow.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Inventory.h"
#include "state/Map.h"
#include "state/MapEffects.h"
#include "state/MapLight.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/StatusReports.h"
#include "state/Talk.h"
#include "state/TalkRouting.h"

#include <algorithm>
#include <cstdio>

namespace {

// Centred on the root; a dialog larger than the root keeps its top left corner inside it, where its frame
// may be drawn.
void CentreDialog(TComponent* Dialog, const TComponent* Root) {
    Dialog->setPosition(std::max(Root->Width / 2 - Dialog->Width / 2, 0),
                        std::max(Root->Height / 2 - Dialog->Height / 2, 0));
}

// The modal window's or the root's view of a pointer position.
struct TTarget {
    TComponent* Component;
    int32_t x, y;
};
TTarget PointerTarget() {
    TComponent* Modal = GetModalWindow();
    const int32_t x = GetMouseX(), y = GetMouseY();
    if (Modal != nullptr) return {Modal, x - Modal->X, y - Modal->Y};
    return {GetMainWindow(), x, y};
}

void DrawTooltip(TSurface* Engine) {
    const char* Text = GetTooltip();
    if (Text == nullptr) return;
    const auto& Frame = SkinProperties.Frame;
    const TTextFormat Format = Frame.TooltipFormat;
    int32_t x = 0, y = 0;
    GetTooltipPosition(&x, &y);
    const int32_t Width = GetStringWidth(Format.Font, Text) + 2 * Frame.TooltipMargin;
    const int32_t Height = GetTextHeight(Format.Font, Text) + 2 * Frame.TooltipMargin;
    y -= Height;
    const int32_t MaxX = GetScreenWidth() - Width - 1, MaxY = GetScreenHeight() - Height - 1;
    // A box wider or higher than the screen allows: its far bound becomes the near end of the range.
    x = std::clamp(x, std::min(1, MaxX), std::max(1, MaxX));
    y = std::clamp(y, std::min(1, MaxY), std::max(1, MaxY));
    Engine->FillRectangle(SCREEN_SURFACE, x, y, Width, Height, Frame.TooltipBackground.red,
                          Frame.TooltipBackground.green, Frame.TooltipBackground.blue);
    Engine->DrawBorder(SCREEN_SURFACE, x, y, Width, Height, 1, Frame.TooltipFrame.red,
                       Frame.TooltipFrame.green, Frame.TooltipFrame.blue);
    PrintFormattedText(SCREEN_SURFACE, x + Frame.TooltipMargin, y + Frame.TooltipMargin, Format, Text);
}

void DrawFrameRate(TSurface* Engine) {
    static const char* const Names[] = {"DX5", "OGL", "DX9"};
    const int32_t Number = GetGraphicEngine();
    const char* Name = In(Number, 0, 2) ? Names[Number] : "<?>";
    char Text[20];
    snprintf(Text, sizeof(Text), "%s %.02f fps", Name, Engine->GetFramesPerSecond());
    PrintText(SCREEN_SURFACE, 4, 4, 2, 200, 200, 200, Text, LEFT_ALIGN);
}

void DrawPointer() {
    const int32_t Shape = GetMouseCursor(), x = GetMouseX(), y = GetMouseY();
    if (GetWindowsMousepointer() || x < 0 || y < 0 || !In(Shape, 1, 6)) return;
    const TSkinPoint& Hot = SkinProperties.Frame.PointerHotSpots[Shape - 1];
    const TSkin& Skin = GetSkin(Shape);
    DrawPicturePart(SCREEN_SURFACE, x - Hot.x, y - Hot.y, SKIN_PICTURE, Skin.x, Skin.y, Skin.Width,
                    Skin.Height);
}

// One engine step of the switch; a failure names the step and the engine left behind.
template <typename Step> void EngineStep(const char* Text, int32_t oldEngine, Step&& Run) {
    try {
        Run();
    } catch (const TMyException& Cause) {
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, Text, "oldEngine", oldEngine, "", 0, Cause);
    } catch (...) {
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, std::string(Text) + " with unknown exception",
                           "oldEngine", oldEngine, "", 0, "");
    }
}

// The dispatch's view of the controller and the screen.
class TControlActions : public TMessageActions {
public:
    bool hasModalWindow() override { return GetModalWindow() != nullptr; }
    void destroyModalWindow() override {
        DeleteLater(GetModalWindow());
        SetModalWindow(nullptr);
        if (GetMainWindow() != nullptr) GetMainWindow()->activateConsoleInput(true);
        DrawFrame(false);
    }
    bool isMouseCaptured() override {
        return GetMainWindow() != nullptr && GetMainWindow()->getCapture() != nullptr;
    }
    void performMessage(int32_t Type, intptr_t Param1, intptr_t Param2) override;
    void placeModalWindow(bool IsContextMenu) override {
        TComponent* Modal = GetModalWindow();
        TMainWindow* Root = GetMainWindow();
        if (!IsContextMenu && Modal != nullptr && Root != nullptr) CentreDialog(Modal, Root);
        if (Root != nullptr) Root->activateConsoleInput(false);
    }
    void moveCreatures() override {
        if (MoveCreatures()) SendWalkPath();
    }
    void drawFrame() override { DrawFrame(false); }
};

void TControlActions::performMessage(int32_t Type, intptr_t Param1, intptr_t Param2) {
    switch (Type) {
    case MESSAGE_SENDERRORREPORTS:
        SendErrorReports();
        return;
    case MESSAGE_USEWITHCURSOR:
        SetActionState(ACTIONSTATE_USEWITH);
        return;
    case MESSAGE_TRADEWITHCURSOR:
        SetActionState(ACTIONSTATE_TRADEWITH);
        return;
    case MESSAGE_HELPCURSOR:
        SetActionState(ACTIONSTATE_HELP);
        SetHelpContext(0);
        return;
    case MESSAGE_CONNECTLOGIN:
        DrawFrame(false);
        ConnectToNextLoginServer();
        return;
    case MESSAGE_CONNECTGAME:
        DrawFrame(false);
        ConnectToGameServer();
        return;
    default:
        if (!PerformDownloadEvent(Type)) PerformWindowEvent(Type, Param1, Param2);
        return;
    }
}

} // namespace

void TimerTick() try {
    TEventScope Scope;
    IncreaseTickCounter();
    const int32_t Tick = GetTickCounter();
    const int32_t LastMove = GetLastMouseMoveTick();
    if (LastMove != 0 && LastMove == Tick - 10 && GetMainWindow() != nullptr) {
        const TTarget Target = PointerTarget();
        Target.Component->getToolTip(Target.x, Target.y);
        if (GetTooltip() != nullptr) SetTooltipPosition(GetMouseX(), GetMouseY());
    }
    ProcessTalkboxes();
    ProcessStatusMessage();
    if (Tick % 10 == 0) FadeAmbientLight();
    AdvanceEffects();
    if (GetHeldMouseTick() != 0 && GetHeldMouseEvent() == 6 && Tick - GetHeldMouseTick() >= 7 &&
        GetMainWindow() != nullptr) {
        const TTarget Target = PointerTarget();
        Target.Component->mouseScroll(Target.x, Target.y, 6);
    }
    CheckConnectionTimeout();
    UpdateTimers();
    UpdatePKFlags();
}
CATCH_FRAME()

void BeginFrame(bool Flag) try {
    TSurface* Engine = GetSurface();
    TWindow* Window = GetControlWindow() != nullptr ? GetControlWindow()->getWindow() : GetWindowHandle();
    if (!Engine->ChangeVideoMode(Window, GetVideoMode(), GetFullscreenMode(), Flag))
        ChangeEngine(ENGINE_DIRECTDRAW);
    if (GetSurface()->SurfacesRenewed(1)) ResetVideoCache();
}
CATCH_FRAME()

void DrawFrame(bool Flag) {
    BeginFrame(Flag);
    TSurface* Engine = GetSurface();
    if (Engine->IsLost()) {
        WaitMilliseconds(10);
        return;
    }
    if (GetMainWindow() != nullptr) GetMainWindow()->draw(SCREEN_SURFACE, 0, 0);
    if (TComponent* Modal = GetModalWindow(); Modal != nullptr)
        Modal->draw(SCREEN_SURFACE, Modal->X, Modal->Y);
    UpdateBlink();
    DrawTooltip(Engine);
    if (GetShowFramesPerSecond()) DrawFrameRate(Engine);
    DrawPointer();
    Engine->Present();
}

void ChangeEngine(int32_t engine) try {
    const int32_t oldEngine = GetGraphicEngine();
    if (engine == oldEngine) return;
    SetGraphicEngine(engine);
    EngineStep("ExitSurfaces failed", oldEngine, [] { GetSurface()->ExitSurfaces(); });
    // The old object goes only after its surfaces: made for the old number, it is deleted before the new
    // number's object is made.
    EngineStep("SurfaceExitInstance failed", oldEngine, [] { SurfaceExitInstance(); });
    bool Works = false;
    // An engine this build does not have fails its test like one the machine cannot run.
    EngineStep("TestEngine failed", oldEngine,
               [&] { Works = IsEngineBuilt(GetGraphicEngine()) && GetSurface()->TestEngine(); });
    if (!Works) {
        SetGraphicEngine(oldEngine);
        EngineStep("SurfaceExitInstance after test failed", oldEngine, [] { SurfaceExitInstance(); });
    }
    EngineStep("InitSurfaces failed", oldEngine, [] { GetSurface()->InitSurfaces(); });
    SetEngine(GetGraphicEngine());
}
CATCH_FRAME(engine)

void ResizeScreen(int32_t Width, int32_t Height) try {
    SetMouseCursor(1);
    if (GetVideoMode() == FULLSCREEN_MODE && GetFullscreenMode() != nullptr) {
        Width = GetFullscreenMode()->Width;
        Height = GetFullscreenMode()->Height;
    }
    TMainWindow* Root = GetMainWindow();
    if (Root == nullptr) return;
    Root->setSize(Width, Height);
    TComponent* Modal = GetModalWindow();
    if (Modal == nullptr) return;
    if (GetActionState() == ACTIONSTATE_CONTEXTMENU) {
        DeleteLater(Modal);
        SetModalWindow(nullptr);
        SetActionState(ACTIONSTATE_NONE);
        Root->activateConsoleInput(true);
    } else if (GetActionState() == ACTIONSTATE_DIALOG) {
        CentreDialog(Modal, Root);
    } else if (GetActionState() == ACTIONSTATE_HELP) {
        PlaceHelpPopupInWindow(Modal, Root);
    }
}
CATCH_FRAME(Width, Height)

void EnterGame() try {
    TMainWindow* Root = GetMainWindow();
    CHECK_TEXT(Root != nullptr, "MainWindow!=NULL");
    Root->setGameScreen(true);
    if (GetModalWindow() == nullptr) {
        SetActionState(ACTIONSTATE_NONE);
        Root->activateConsoleInput(true);
    }
    ClearMap();
    ResetInventory();
    ResetCreatures();
    ClearTalk();
    ShowIgnoreNotice();
    SetAmbientLight(-1, 0);
}
CATCH_FRAME()

bool CanCloseWindow() try {
    if (GetConnectionState() != CONNECTIONSTATE_GAME) return true;
    if (GetModalWindow() == nullptr) {
        intptr_t* Record = static_cast<intptr_t*>(NewMessageBlock(4 * sizeof(intptr_t)));
        Record[0] = MessageParameter("Warning");
        Record[1] = MessageParameter(
            "If you shut down the program, your character might stay in the game.\nClick on \"Logout\" to "
            "ensure that your character leaves the game properly.\nClick on \"Exit\" if you want to exit the "
            "program without logging out your character.");
        AddMessage(MESSAGE_LOGOUTBOX, MessageParameter(Record), 0);
    }
    return false;
}
CATCH_FRAME()

bool ShowLinkCopyWarning() try {
    SetActionState(ACTIONSTATE_NONE);
    AddMessage(MESSAGE_LINKWARNING, MessageParameter("Link Copy Warning"), 0);
    return false;
}
CATCH_FRAME()

void SendErrorReports() try {
    const int32_t Count = GetErrorReports();
    for (int32_t i = 0; i < Count; i++)
        SendErrorReport(GetErrorReportTitle(i), GetErrorReportTime(i), GetErrorReportText(i),
                        GetErrorReportComment(i));
    ClearErrorReports();
    if (FileExists("error.txt")) DeleteErrorFile();
}
CATCH_FRAME()

void ProcessMessages() try {
    TEventScope Scope;
    TControlActions Actions;
    DispatchMessages(Actions);
}
CATCH_FRAME()

void ProcessMessagesNow() try { ProcessMessages(); }
CATCH_FRAME()
