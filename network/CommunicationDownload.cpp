// The data-file download: collecting a new file or a patch in one buffer, writing the new version when the
// last byte has arrived, and posting the install, reload and login events.
#include "network/CommunicationDownload.h"

#include "foundation/Exception.h"
#include "foundation/ScriptPatch.h"
#include "network/Communication.h"
#include "network/Network.h"
#include "state/Events.h"
#include "state/Objects.h"
#include "state/Status.h"

#include <cstdio>
#include <memory>
#include <new>

namespace {

const char* const PATCH_FILE_NAMES[PATCH_FILES] = {PROGRAM_FILE_NAME, "Ebrun.dat", "Ebrun.spr", "Ebrun.pic",
                                                   PATCHER_FILE_NAME};
enum : int32_t { PROGRAM_FILE = 0, SPRITE_FILE = 2, PICTURE_FILE = 3, PATCHER_FILE = 4 };
// The install events of files 1 to 4 and the reload events of the data files 1 to 3.
const int32_t INSTALL_EVENTS[PATCH_FILES] = {0, MESSAGE_INSTALLOBJECTS, MESSAGE_INSTALLSPRITES,
                                             MESSAGE_INSTALLPICTURES, MESSAGE_INSTALLPATCHER};
const int32_t RELOAD_EVENTS[PATCH_FILES] = {0, MESSAGE_RELOADOBJECTS, MESSAGE_RELOADSPRITES,
                                            MESSAGE_RELOADPICTURES, 0};

// The running download; Data is set from its start message to its last block or its cancelling. Reset by
// InitCommunication.
struct {
    std::unique_ptr<uint8_t[]> Data; // PatchData: at least one byte, so that a download of 0 bytes runs too
    int32_t Size = 0;                // PatchDataSize, as announced
    int32_t Count = 0;               // PatchDataCount, received so far
    int32_t FileNumber = 0;
    bool WholeFile = false;
} Patch;

[[noreturn]] void Fail(const char* Text) {
    throw TMyException(EBRUN_SOURCE_NAME, __LINE__, Text, "", 0, "", 0, "");
}

// Message 30 (WholeFile false) or 31: every check comes before the running download or the state changes.
void StartDownload(bool WholeFile) {
    int32_t OldPatchFileNumber = Patch.FileNumber;
    int32_t OldPatchDataSize = Patch.Size, OldPatchDataCount = Patch.Count;
    int32_t FileNumber = GetByte();
    uint32_t Size = GetQuad();
    if (WholeFile)
        CHECK_TEXT(Patch.Data == nullptr, "PatchData==NULL", OldPatchFileNumber,
                   OldPatchDataSize - OldPatchDataCount);
    else
        CHECK_TEXT(Patch.Data == nullptr, "PatchData==NULL");
    if (FileNumber >= PATCH_FILES) Fail("unknown patch file number");
    if (!WholeFile && FileNumber == PATCHER_FILE) Fail("no patch for patch.exe");
    CHECK_TEXT(Size <= MAX_PATCH_DATA_SIZE, "PatchDataSize<=MAX_PATCH_DATA_SIZE", Size);
    uint8_t* Buffer = new (std::nothrow) uint8_t[Size > 0 ? Size : 1];
    CHECK_TEXT(Buffer != nullptr, "PatchData!=NULL", Size);
    Patch.Data.reset(Buffer);
    Patch.Size = static_cast<int32_t>(Size);
    Patch.Count = 0;
    Patch.FileNumber = FileNumber;
    Patch.WholeFile = WholeFile;
    SetPatchProgress(0);
    AddPriorityMessage(MESSAGE_DOWNLOAD, MessageParameter(PATCH_FILE_NAMES[FileNumber]), Patch.Size);
}

uint32_t ExpectedSignature(int32_t FileNumber) {
    switch (FileNumber) {
    case SPRITE_FILE:
        return GetLoadedSpriteSignature();
    case PICTURE_FILE:
        return GetLoadedPictureSignature();
    case PROGRAM_FILE:
        return 0;
    default:
        return GetObjectTypeSignature();
    }
}

// Ends the connection and every queued event: what was queued for this server's answer no longer holds.
void DropConnection() {
    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    Disconnect(false);
    ClearMessages();
}

void PostFailure(const char* Name) {
    DropConnection();
    char* Text = static_cast<char*>(NewMessageBlock(100));
    std::snprintf(Text, 100, "Cannot patch file %s.", Name);
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter("Error"), MessageParameter(Text));
}

// Front insertions go before one another: the queue then reads 64, the install event (or the box), the
// events queued before, and the events appended here.
void PostSuccess(int32_t FileNumber) {
    if (FileNumber == PROGRAM_FILE) {
        char* Text = NewMessageText("Program will now shut down and run an external patching program.\n"
                                    "Afterwards it will restart. Please login again then.");
        AddPriorityMessage(MESSAGE_MESSAGEBOX, MessageParameter("Updating"), MessageParameter(Text));
        AddPriorityMessage(MESSAGE_WAITFORDISCONNECT, 0, 0);
        AddMessage(MESSAGE_STARTPATCHER, 0, 0);
        return;
    }
    // An install still queued belongs to this answer: it waits for the close, and the next login comes after
    // it. The same file sent again has replaced the new version that it installs and that the reload behind
    // it loads; a second install would find nothing left and report a failure.
    if (IsMessageQueued(INSTALL_EVENTS[FileNumber])) return;
    AddPriorityMessage(INSTALL_EVENTS[FileNumber], 0, 0);
    AddPriorityMessage(MESSAGE_WAITFORDISCONNECT, 0, 0);
    if (FileNumber == PATCHER_FILE) return; // nothing to reload, and no reason to log in again
    AddMessage(RELOAD_EVENTS[FileNumber], 0, 0);
    // One login again for every file of the answer: it waits for the close, and so follows every reload
    // queued by then. A second one would find the first one's login under way and wait as a character
    // switch, which then takes the player's next choice for another login.
    if (!IsMessageQueued(MESSAGE_CHANGECHARACTER)) AddMessage(MESSAGE_CHANGECHARACTER, 0, 0);
}

// The last block has arrived: the new version is written beside the old file and the events are posted.
void FinishDownload() {
    const char* Name = PATCH_FILE_NAMES[Patch.FileNumber];
    std::unique_ptr<uint8_t[]> Data = std::move(Patch.Data);
    bool Ok = Patch.WholeFile ? WritePatchedFile(Name, Data.get(), Patch.Size)
                              : ApplyPatch(Name, Data.get(), Patch.Size, ExpectedSignature(Patch.FileNumber));
    Data.reset();
    if (Ok)
        PostSuccess(Patch.FileNumber);
    else
        PostFailure(Name);
    SetPatchProgress(-1);
}

} // namespace

const char* GetPatchFileName(int32_t FileNumber) {
    return In(FileNumber, 0, PATCH_FILES - 1) ? PATCH_FILE_NAMES[FileNumber] : nullptr;
}

void InitCommunication() { Patch.Data.reset(); }

void ReceivePatchStart() try { StartDownload(false); }
CATCH_FRAME()

void ReceiveFileStart() try { StartDownload(true); }
CATCH_FRAME()

void ReceivePatchBlock() {
    int32_t BlockSize = 0;
    try {
        CHECK_TEXT(Patch.Data != nullptr, "PatchData!=NULL");
        BlockSize = GetWord();
        CHECK_TEXT(static_cast<int64_t>(Patch.Count) + BlockSize <= Patch.Size,
                   "PatchDataCount+BlockSize<=PatchDataSize");
        GetBytes(Patch.Data.get() + Patch.Count, BlockSize);
        Patch.Count += BlockSize;
        // a download of 0 bytes is complete with its first block
        int64_t Percent = Patch.Size > 0 ? static_cast<int64_t>(Patch.Count) * 100 / Patch.Size : 100;
        SetPatchProgress(static_cast<int32_t>(Percent));
        if (Patch.Count < Patch.Size) return;
        FinishDownload();
    }
    CATCH_FRAME(BlockSize)
}

void CancelPatch() try {
    if (Patch.Data == nullptr) return;
    DropUnfinishedDownload();
    DropConnection();
}
CATCH_FRAME()

bool IsPatchRunning() { return Patch.Data != nullptr; }

void DropUnfinishedDownload() {
    if (Patch.Data == nullptr) return;
    Patch.Data.reset();
    SetPatchProgress(-1); // nothing runs any more
}
