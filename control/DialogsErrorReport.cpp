// The error report dialog, offered after a crash of the last run; its factory.
#include "control/DialogsErrorReport.h"

#include "foundation/Exception.h"
#include "gui/DialogElementsMultiLine.h"
#include "screen/MessageTexts.h"
#include "state/Status.h"
#include "state/StatusReports.h"

#include <string>

namespace {

constexpr int32_t REPORTS_LENGTH = 4096;
constexpr int32_t COMMENT_LENGTH = 511;

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

// The four lines above the records.
std::string CrashIntroduction() {
    return std::string(MessageTexts[TEXT_CRASH_LAST_VISIT]) +
           " and created a detailed error report.\nPlease help us to improve the game by sending us this "
           "report.\n\nError report:";
}

} // namespace

TErrorReportDialog::TErrorReportDialog() {
    TComponent::setSize(475, 284);
    PlaceChild(this, MessageLabel(CrashIntroduction().c_str()), 0, 0, 0, 56);
    Reports = PlaceChild(this, new TMultiLineEditField(REPORTS_LENGTH, true), 0, 57, 0, 174);
    Reports->setText(ErrorReportText().c_str(), false);
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_CRASH_WHAT_DOING]), 0, 253, 0, 14);
    Comment = PlaceChild(this, new TEditField(COMMENT_LENGTH, false), 0, 268, 0, 16);
    Comment->setFocus(true);
}

void TErrorReportDialog::keyPressed(int32_t Key) { HandleDialogKey(this, Comment, Key); }

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

TModalDialog* CreateErrorReportDialog() {
    if (GetErrorReports() <= 0) return nullptr;
    TErrorReportDialog* Body = new TErrorReportDialog;
    TModalDialog* Frame = new TModalDialog("Error Report", Body);
    Frame->setOkButton("Send", TNotification(Body, DIALOG_OK));
    Frame->setCancelButton("Cancel", TNotification(Body, DIALOG_CANCEL));
    return Frame;
}
