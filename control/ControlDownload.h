// The controller's event cases of the data-file download (events 63 to 72): log in again, install and reload
// the new files, start the external patcher; and the dispatching pass run during a download.
#pragma once

#include <cstdint>

// The frame callback that closes the window so that the patcher starts after the message loop; stored by the
// controller's start-up.
using TStartPatcherCallback = void (*)();
void SetStartPatcherCallback(TStartPatcherCallback StartPatcher);

// One dispatching pass with its frame run at once (the event dispatch's ProcessMessagesNow), set where the
// event dispatch is built; nothing runs while none is set. The server-message dispatcher runs it after each
// download message, so that the progress dialog opens and moves while the download is still arriving.
using TDispatchPass = void (*)();
void SetImmediateDispatchPass(TDispatchPass Pass);
void RunImmediateDispatchPass();

// Acts on event 63 (the character switch of the controller) or 65 to 72 and answers true; false for any
// other type. Event 64 is held by the dispatching pass itself until the connection is closed. An install that
// fails tells the user with the box "Error" / "Cannot patch file %s." and drops the queued events, among them
// the reload and the new login that would only fetch the same download again. Runs under the catch frame of
// this file.
bool PerformDownloadEvent(int32_t Type);
