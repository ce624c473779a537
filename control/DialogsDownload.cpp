// The progress of a data-file download, which stays at least two seconds; its factory.
#include "control/DialogsDownload.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "gui/DialogElementsControls.h"
#include "network/CommunicationDownload.h"
#include "screen/MessageTexts.h"
#include "state/Status.h"

#include <cstdio>

namespace {

constexpr int32_t MINIMUM_SHOWN_MS = 2000; // a finished download stays on screen this long after opening

} // namespace

TDownloadDialog::TDownloadDialog(const char* Name, int32_t Number)
    : StartTime(GetMilliseconds()), Number(Number) {
    TComponent::setSize(250, 29);
    if (Name == nullptr) Name = "";
    char Text[128];
    if (CompareNoCase(Name, "ebrun.pic", -1) == 0)
        snprintf(Text, sizeof(Text), "%s", MessageTexts[TEXT_DOWNLOADING_PICTURES]);
    else if (CompareNoCase(Name, "ebrun.dat", -1) == 0)
        snprintf(Text, sizeof(Text), "%s", MessageTexts[TEXT_DOWNLOADING_OBJECT_DATA]);
    else if (CompareNoCase(Name, "ebrun.spr", -1) == 0)
        snprintf(Text, sizeof(Text), "%s", MessageTexts[TEXT_DOWNLOADING_OBJECT_GRAPHICS]);
    else
        snprintf(Text, sizeof(Text), "Downloading %s", Name);
    Label = PlaceChild(this, MessageLabel(Text), 0, 0, 0, 14);
    ProgressBar = new TProgressBar;
    ProgressBar->setMaximum(100);
    PlaceChild(this, ProgressBar, 0, 18, 0, 11);
}

void TDownloadDialog::draw(int32_t Surface, int32_t X, int32_t Y) {
    const int32_t Progress = GetPatchProgress();
    if (Progress != ShownProgress) {
        ShownProgress = Progress;
        if (Finished || Progress == -1) {
            ShownProgress = 100;
            Finished = true;
            if (TimeUntil(TimeAfter(StartTime, MINIMUM_SHOWN_MS)) < 0) SetActionState(ACTIONSTATE_NONE);
        }
        ProgressBar->setValue(Finished ? 100 : ShownProgress);
    }
    TParentComponent::draw(Surface, X, Y);
}

void TDownloadDialog::handleEvent(int32_t Identifier) try {
    if (Identifier != DIALOG_CANCEL) return;
    if (!Finished) CancelPatch();
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

TModalDialog* CreateDownloadDialog(const char* Name, int32_t Number) {
    TDownloadDialog* Body = new TDownloadDialog(Name, Number);
    TModalDialog* Frame = new TModalDialog("Updating ... Please wait", Body);
    Frame->setOkButton("Abort", TNotification(Body, DIALOG_CANCEL));
    Frame->setCancelButton(nullptr, EmptyNotification);
    return Frame;
}
