// The controller's module start and stop in their fixed order, and the places where a lower layer calls up.
#include "control/Control.h"

#include "foundation/Exception.h"
#include "foundation/sysinc.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "network/Communication.h"
#include "network/CommunicationDownload.h"
#include "network/Network.h"
#include "screen/Help.h"
#include "screen/MainWindow.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Inventory.h"
#include "state/Map.h"
#include "state/MapAutomap.h"
#include "state/Objects.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/TalkRouting.h"

#include <iterator>

namespace {

// The map drops a creature: it is no longer on the picture.
void HideRemovedCreature(int32_t CreatureID) {
    TCreature* Creature = GetCreature(static_cast<uint32_t>(CreatureID));
    if (Creature != nullptr) Creature->Visible = 0;
}

// Module state: set by InitModules and InitControl, kept for the run.
struct {
    bool Gamemaster = false;
    int32_t StartedSteps = 0; // start steps that ran to their end
    bool EngineStarted = false;
    const TModuleStart* Starts = nullptr;
    int32_t StartCount = 0;
    const TModuleStop* Stops = nullptr;
    int32_t StopCount = 0;
    TAppWindow* Window = nullptr;
} Modules;

void StartStatus() { InitStatus(Modules.Gamemaster, ShowLinkCopyWarning); }
void StartHelp() {
    ResetHelpState();
    InstallHintTexts();
}
void StartGraphics() { InitGraphics(0xA00000); }
void StartNetwork() { InitNetwork(OnConnected, ReceivePackets, OnConnectionFailed); }
void StopEngine() {
    if (!Modules.EngineStarted) return;
    Modules.EngineStarted = false;
    GetSurface()->ExitSurfaces();
    SurfaceExitInstance();
}

const TModuleStart ClientStarts[] = {
    {"System", InitSystem},
    {"Objects", InitObjects},
    {"Map", [] { InitMap(HideRemovedCreature); }},
    {"Inventory", InitInventory},
    {"Creatures", InitCreatures},
    {"Status", StartStatus},
    {"Help", StartHelp},
    {"Options", LoadOptions},
    {"Talk", InitTalk},
    {"Graphics", StartGraphics},
    {"Skins", InitSkins},
    {"SkinProperties", InitSkinProperties},
    {"Network", StartNetwork},
    {"Communication", InitCommunication},
    {"Shortcuts", ResetShortcuts},
};
// The start step each stop undoes, by its position in ClientStarts (1-based).
const TModuleStop ClientStops[] = {
    {"MainWindow", ExitMainWindow, 0},
    {"Network", ExitNetwork, 13},
    {"Skins", ExitSkins, 11},
    {"Graphics", ExitGraphics, 10},
    {"Engine", StopEngine, 0},
    {"Options", ExitOptions, 8},
    {"Talk", ExitTalk, 9},
    {"Status", ExitStatus, 6},
    {"Map", SaveAutomap, 3},
    {"Objects", ExitObjects, 2},
    {"System", ExitSystem, 1},
};

const TModuleStart* Starts() { return Modules.Starts != nullptr ? Modules.Starts : ClientStarts; }
int32_t StartCount() {
    return Modules.Starts != nullptr ? Modules.StartCount : static_cast<int32_t>(std::size(ClientStarts));
}
const TModuleStop* Stops() { return Modules.Stops != nullptr ? Modules.Stops : ClientStops; }
int32_t StopCount() {
    return Modules.Stops != nullptr ? Modules.StopCount : static_cast<int32_t>(std::size(ClientStops));
}

} // namespace

void SetModuleTables(const TModuleStart* NewStarts, int32_t NewStartCount, const TModuleStop* NewStops,
                     int32_t NewStopCount) {
    Modules.Starts = NewStarts;
    Modules.StartCount = NewStartCount;
    Modules.Stops = NewStops;
    Modules.StopCount = NewStopCount;
}

const TModuleStart* GetClientModuleStarts(int32_t& Count) {
    Count = static_cast<int32_t>(std::size(ClientStarts));
    return ClientStarts;
}

const TModuleStop* GetClientModuleStops(int32_t& Count) {
    Count = static_cast<int32_t>(std::size(ClientStops));
    return ClientStops;
}

void InitModules(bool Gamemaster) {
    int32_t Step = 0;
    try {
        Modules.Gamemaster = Gamemaster;
        Modules.StartedSteps = 0;
        for (Step = 1; Step <= StartCount(); Step++) {
            Starts()[Step - 1].Start();
            Modules.StartedSteps = Step;
        }
    } catch (const PROGRAM_ERROR&) {
        try {
            ExitModules();
        } catch (...) {
        }
        throw;
    }
    CATCH_FRAME(Step)
}

void ExitModules() {
    const int32_t Started = Modules.StartedSteps;
    Modules.StartedSteps = 0;
    for (int32_t i = 0; i < StopCount(); i++) {
        const TModuleStop& Stop = Stops()[i];
        if (Stop.StartStep <= Started) Stop.Stop();
    }
}

void SetEngineStarted(bool Started) { Modules.EngineStarted = Started; }

namespace {

// The main window that the game messages act on; it exists from the frame window's start.
TMainWindow& Screen() {
    TMainWindow* Root = GetMainWindow();
    CHECK_TEXT(Root != nullptr, "MainWindow!=NULL");
    return *Root;
}

// What the game messages ask of the controller: the game screen and its side windows of containers and trade.
class TControllerGameHooks final : public TGameClientHooks {
public:
    void enterGame() override { EnterGame(); }
    void openContainerWindow(int32_t Container) override { Screen().openContainerWindow(Container); }
    void closeContainerWindow(int32_t Container) override { Screen().closeContainerWindow(Container); }
    void openTradeWindow() override { Screen().openTradeWindow(); }
    void refreshTradeWindow() override { Screen().refreshTradeWindow(); }
    void closeTradeWindow() override { Screen().closeTradeWindow(); }
};

TControllerGameHooks ControllerGameHooks;

// Unwired, one of these would drop a server message, a click or a login's signatures without a trace.
void CheckUpwardCallsWired() {
    CHECK_TEXT(HasGameClientHooks(), "GameClientHooks!=NULL");
    CHECK_TEXT(HasGraphicsSignatureGetters(), "GraphicsSignatureGetters!=NULL");
    CHECK_TEXT(HasEngineSwitch(), "EngineSwitch!=NULL");
    CHECK_TEXT(GetQuitProgram() != nullptr, "QuitProgram!=NULL");
    CHECK_TEXT(GetSetViewMode() != nullptr, "SetViewMode!=NULL");
    CHECK_TEXT(GetOpenURL() != nullptr, "OpenURL!=NULL");
}

} // namespace

void InitControl(TAppWindow* Window, TWindowMessageTarget* MessageTarget) try {
    Modules.Window = Window;
    InitControlConnection(MessageTarget);
    SetGameClientHooks(&ControllerGameHooks);
    SetEngineSwitch(ChangeEngine);
    SetMouseCursor(1);
    CheckUpwardCallsWired();
}
CATCH_FRAME()

TAppWindow* GetControlWindow() { return Modules.Window; }
TGameClientHooks& GetControllerGameHooks() { return ControllerGameHooks; }
