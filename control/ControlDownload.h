// The controller's event cases of the data-file download and the character switch (events 63 to 72): log in
// again, wait for the disconnect, install and reload the new files, start the external patcher.
#pragma once

#include <cstdint>

// The frame callback that closes the window so that the patcher starts after the message loop; stored by the
// controller's start-up.
using TStartPatcherCallback = void (*)();
void SetStartPatcherCallback(TStartPatcherCallback StartPatcher);

// The character switch of event 63: set while a connection is open, acted on when it closes, at most
// CHARACTER_SWITCH_DELAY ms later for a game connection. Cleared by InitCharacterSwitch at the controller's
// start and by the close handler.
inline constexpr int32_t CHARACTER_SWITCH_DELAY = 5000;
void InitCharacterSwitch();
bool IsCharacterSwitchPending();
int32_t GetCharacterSwitchDeadline(); // GetMilliseconds() time
void ClearCharacterSwitch();

// Acts on event 63 or 65 to 72 and answers true; false for any other type. Event 64 is held by the
// dispatching pass itself until the connection is closed. An install that fails tells the user with the box
// "Error" / "Cannot patch file %s." and drops the queued events, among them the reload and the new login that
// would only fetch the same download again. Runs under the catch frame of this file.
bool PerformDownloadEvent(int32_t Type);
