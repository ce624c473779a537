// The controller's side of the connection: the connect and close callbacks of the network layer, the
// dispatcher of server messages with the ring of the last message types, leaving the game when the
// connection ends, and the pending character switch.
#pragma once

#include "platform/EventPump.h"

#include <cstdint>

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

// What leaving the game needs of the game screen: the start screen again, an open dialog or menu deleted
// and the console input active. Filled by the main window; none while there is no screen.
using TLeaveGameScreenHook = void (*)();
void SetLeaveGameScreenHook(TLeaveGameScreenHook Hook);
