// The data-file download of the communication module: the login-phase messages that carry a new file or a
// patch, and its cancelling. A finished download writes the new version beside the old file and posts the
// events that install it, reload it and log in again (or start the external patcher for a new program). A
// file sent again in the same answer replaces its new version, which the events already posted install.
#pragma once

#include <cstdint>

// File numbers of a download and their names: 0 the program, 1 "Ebrun.dat", 2 "Ebrun.spr", 3 "Ebrun.pic",
// 4 the external patcher (whole only).
inline constexpr int32_t PATCH_FILES = 5;
const char* GetPatchFileName(int32_t FileNumber); // NULL for a number outside 0..4

// The largest download the client takes: the announced size is checked against it before anything is
// allocated.
inline constexpr uint32_t MAX_PATCH_DATA_SIZE = 128 * 1024 * 1024;

// Module start: no download runs.
void InitCommunication();

// Handlers of login-phase messages 30 (a patch follows: u8 file number, u32 size), 31 (the whole file
// follows: the same body) and 32 (u16 block size and the block). A start message is refused while a
// download runs, for an unknown file number, a patch of the patcher, or a size above MAX_PATCH_DATA_SIZE,
// all before anything changes; a block message while none runs or one that passes the announced size is
// refused and copies nothing. The failures are thrown (TMyException) and end the dispatch. A patch is checked
// against the signature of the loaded file: the object types', or the graphics layer's through the getters
// that the login also uses (SetGraphicsSignatureGetters).
void ReceivePatchStart();
void ReceiveFileStart();
void ReceivePatchBlock();

// The download dialog's Cancel: drops a running download, closes the connection and empties the event
// queue; nothing when no download runs.
void CancelPatch();

bool IsPatchRunning();

// A login's answer starts afresh: a download that an earlier connection left unfinished (it closed in the
// middle, and the dialog went without cancelling it) can never end; it is dropped, so that the answer may
// send the file again.
void DropUnfinishedDownload();
