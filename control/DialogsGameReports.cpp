// The error report dialog offered after a crash of the last run, and the progress of a data-file download.
#define EBRUN_SOURCE_NAME "Dialogs.cpp"
#include "control/DialogsGame.h"

#include "control/DialogsGameShared.h"
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsMultiLine.h"
#include "network/CommunicationDownload.h"
#include "state/Status.h"
#include "state/StatusReports.h"

#include <cstdio>
#include <string>

namespace {

constexpr int32_t REPORTS_LENGTH = 4096;
constexpr int32_t COMMENT_LENGTH = 511;
constexpr int32_t MINIMUM_SHOWN_MS = 2000; // a finished download stays on screen this long after opening

// Every record as title, time and text, the records parted by an empty line.
std::string ErrorReportText() {
    std::string Text;
    for (int32_t i = 0; i < GetErrorReports(); i++) {
        if (i > 0) Text += "\n\n";
        Text += GetErrorReportTitle(i);
        Text += '\n';
        Text += GetErrorReportTime(i);
        Text += '\n';
        Text += GetErrorReportText(i);
    }
    return Text;
}

} // namespace

// ---- TErrorReportDialog ----

TErrorReportDialog::TErrorReportDialog() {
    TComponent::setSize(475, 284);
    PlaceChild(this,
               MessageLabel("At your last visit in Pellarune client crashed and created a detailed error "
                            "report.\nPlease help us to improve the game by sending us this report.\n\nError "
                            "report:"),
               0, 0, 0, 56);
    Reports = PlaceChild(this, new TMultiLineEditField(REPORTS_LENGTH, true), 0, 57, 0, 174);
    Reports->setText(ErrorReportText().c_str(), false);
    PlaceChild(this, MessageLabel("Please tell us what you were doing just before the crash:\n"), 0, 253, 0,
               14);
    Comment = PlaceChild(this, new TEditField(COMMENT_LENGTH, false), 0, 268, 0, 16);
    Comment->setFocus(true);
}

void TErrorReportDialog::keyPressed(int32_t Key) {
    if (Key == KEY_ENTER)
        handleEvent(DIALOG_OK);
    else if (Key == KEY_ESCAPE)
        handleEvent(DIALOG_CANCEL);
    else
        Comment->keyPressed(Key);
}

void TErrorReportDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK) {
        SetErrorReportComment(Comment->getText());
    } else if (Identifier == DIALOG_CANCEL) {
        ClearErrorReports();
        DeleteErrorFile();
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TDownloadDialog ----

TDownloadDialog::TDownloadDialog(const char* Name, int32_t Number)
    : StartTime(GetMilliseconds()), Number(Number) {
    TComponent::setSize(250, 29);
    if (Name == nullptr) Name = "";
    char Text[128];
    if (CompareNoCase(Name, "ebrun.pic", -1) == 0)
        snprintf(Text, sizeof(Text), "Downloading new pictures");
    else if (CompareNoCase(Name, "ebrun.dat", -1) == 0)
        snprintf(Text, sizeof(Text), "Downloading new object data");
    else if (CompareNoCase(Name, "ebrun.spr", -1) == 0)
        snprintf(Text, sizeof(Text), "Downloading new object graphics");
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
