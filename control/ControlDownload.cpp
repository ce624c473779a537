// The controller's event cases 63 to 72: the character switch, installing and reloading downloaded files and
// handing over to the external patcher.
#include "control/ControlDownload.h"

#include "control/Control.h"
#include "control/MainFrm.h"
#include "foundation/Exception.h"
#include "foundation/ScriptPatch.h"
#include "graphics/graphics.h"
#include "network/CommunicationDownload.h"
#include "state/Events.h"
#include "state/Objects.h"

#include <cstdio>

namespace {

// A new version that cannot take the old one's place leaves the old file in use; logging in again would
// only bring the same download, so what was queued behind the install is dropped.
void Install(const char* FileName) {
    int32_t Result = -1;
    try {
        Result = InstallPatchedFile(FileName);
    } catch (const TMyException&) {
    }
    if (Result == 0) return;
    ClearMessages();
    char* Text = static_cast<char*>(NewMessageBlock(100));
    std::snprintf(Text, 100, "Cannot patch file %s.", FileName);
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter("Error"), MessageParameter(Text));
}

} // namespace

bool PerformDownloadEvent(int32_t Type) try {
    switch (Type) {
    case MESSAGE_CHANGECHARACTER:
        RequestCharacterSwitch();
        return true;
    case MESSAGE_INSTALLOBJECTS:
    case MESSAGE_INSTALLSPRITES:
    case MESSAGE_INSTALLPICTURES:
    case MESSAGE_INSTALLPATCHER:
        // files 1 to 4 of a download, in the order of the events
        Install(GetPatchFileName(Type - MESSAGE_INSTALLOBJECTS + 1));
        return true;
    case MESSAGE_RELOADOBJECTS:
        ReloadObjects();
        return true;
    case MESSAGE_RELOADSPRITES:
        ReloadSprites();
        return true;
    case MESSAGE_RELOADPICTURES:
        ReloadPictures();
        return true;
    case MESSAGE_STARTPATCHER:
        StartPatcher();
        return true;
    default:
        return false;
    }
}
CATCH_FRAME(Type)
