// The controller's event cases of the data-file download (events 63 to 72): log in again, install and reload
// the new files, start the external patcher.
#pragma once

#include <cstdint>

// Acts on event 63 (the character switch of the controller) or 65 to 72 and answers true; false for any
// other type. Event 64 is held by the dispatching pass itself until the connection is closed; event 72 has
// the frame window close, so that the patcher starts after the message loop (StartPatcher). An install that
// fails tells the user with the box "Error" / "Cannot patch file %s." and drops the queued events, among them
// the reload and the new login that would only fetch the same download again. Runs under the catch frame of
// this file.
bool PerformDownloadEvent(int32_t Type);
