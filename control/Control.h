// The controller: the connection callbacks and the server-message dispatcher with the ring of the last
// message types, the character switch, the module start and stop, the 100 ms tick, frames, the engine switch,
// the input routing by action state and the idle pass's event dispatch.
#pragma once

#include "platform/EventPump.h"

#include <cstdint>

class TGameClientHooks;

inline constexpr int32_t LASTPACKETTYPES = 10;
// A character switch waits at most this long for the old connection to close.
inline constexpr int32_t CHARACTER_SWITCH_DELAY = 5000; // milliseconds

// Connection part of the controller's start: gives Window the look-up answers (SetNetworkWindow), lends the
// login the graphics engine's file signatures, empties the ring of message types and drops a pending
// character switch.
void InitControlConnection(TWindowMessageTarget* Window);

// The connect handler given to InitNetwork: sends the login for the state the connect was made in; in any
// other state the connection is dropped.
void OnConnected();
// The close handler given to InitNetwork, called after the socket was torn down: reports by connection
// state, goes offline and carries out a pending character switch.
void OnConnectionFailed();
// The receive handler given to InitNetwork: hands every buffered server message to the handler of its type,
// by the login-phase table in connection state 4 and by the game-phase table otherwise. An unlisted type
// throws "unknown packet type during login" / "unknown packet type during game".
void ReceivePackets();

// The connection ended in game: the screen leaves the game, the action state is 0, the options are saved
// and, unless a character switch is pending, the character list opens again.
void LeaveGame();

// Event 63: while connected, the switch waits for the connection to close (at most CHARACTER_SWITCH_DELAY
// from now); when offline, the login starts again at once (events 61 and 3).
void RequestCharacterSwitch();
bool IsCharacterSwitchPending();

// The ring of the last message types for the crash report; kept across connections for the whole run.
// Slot 0..9; the index is the slot written next, so it also holds the oldest entry.
uint8_t GetLastPacketType(int32_t Slot);
int32_t GetLastPacketTypeIndex();

// ---- Modules, hooks, tick and frames ----

class TAppWindow;

// One step of the module start, and one of the module stop with the start step it undoes (1-based; 0: it
// stops something that InitModules does not start, and it runs whenever the modules are stopped).
struct TModuleStart {
    const char* Name;
    void (*Start)();
};
struct TModuleStop {
    const char* Name;
    void (*Stop)();
    int32_t StartStep;
};
// The client's module tables; tests put recording steps in their place (nullptr: the client's own again).
void SetModuleTables(const TModuleStart* Starts, int32_t StartCount, const TModuleStop* Stops,
                     int32_t StopCount);
// The client's own tables.
const TModuleStart* GetClientModuleStarts(int32_t& Count);
const TModuleStop* GetClientModuleStops(int32_t& Count);

// Starts the modules in their fixed order. A PROGRAM_ERROR stops the modules already started (and only
// those) before it is thrown on; other failures are thrown on wrapped, without the stop.
void InitModules(bool Gamemaster);
// Stops, in their fixed order, the modules whose start ran; a second call stops nothing.
void ExitModules();
// The graphics engine was started (StartGraphicEngine): the module stop releases it.
void SetEngineStarted(bool Started);

// Stores the frame window, resets the pointer shape, the ring of message types and the character switch,
// and wires the places where a lower layer calls up: the game messages to the controller and the main
// window (SetGameClientHooks), the main window's engine buttons to ChangeEngine, and the login to the
// graphics files' signatures. Then every such place must be wired, the frame window's services in the main
// window (InitMainWindow, which comes first) among them; one that is not is a failed check.
void InitControl(TAppWindow* Window, TWindowMessageTarget* MessageTarget);
TAppWindow* GetControlWindow();
// What InitControl installs for the game messages: entering the game, and the container and trade windows
// of the main window (which must exist).
TGameClientHooks& GetControllerGameHooks();

// One 100 ms tick of the frame window's timer.
void TimerTick();
// One frame: engine mode, root and modal window, tool tip, frame rate, own pointer, presentation.
void BeginFrame(bool Flag);
void DrawFrame(bool Flag);
// 0 DirectDraw, 1 OpenGL, 2 Direct3D 9; the engine in use stays when the new one fails its test.
void ChangeEngine(int32_t Engine);
// The client area changed size.
void ResizeScreen(int32_t Width, int32_t Height);
// The game server accepted the login: the game screen replaces the start screen.
void EnterGame();
// False in game, where it opens the logout box instead (unless a modal window is open).
bool CanCloseWindow();
// The link warning of the copied text (the handler given to the status module).
bool ShowLinkCopyWarning();
// Event 43: every stored crash report to the server, then "error.txt" deleted.
void SendErrorReports();
// The work of one idle pass: a finished modal window deleted, the queued events, the creatures, one frame.
void ProcessMessages();
// ProcessMessages at once, from a network handler.
void ProcessMessagesNow();
bool GetShowFramesPerSecond();
int32_t GetLastMouseMoveTick();

// ---- Input routing (the frame window's mouse and keyboard) ----

void MouseMove(int32_t x, int32_t y);
void LeftButtonDown(int32_t x, int32_t y, uint32_t Keys);
void LeftButtonUp(int32_t x, int32_t y, uint32_t Keys);
void LeftButtonDoubleClick(int32_t x, int32_t y, uint32_t Keys);
void RightButtonDown(int32_t x, int32_t y, uint32_t Keys);
void RightButtonUp(int32_t x, int32_t y, uint32_t Keys);
void MouseWheel(int32_t x, int32_t y, int32_t Direction); // 1 forward, 2 back
void KeyPressed(int32_t Key);
