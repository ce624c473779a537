// The player's reports to the staff: a bug report, and a rule violation stated in the request channel;
// their factories.
#include "control/DialogsReports.h"

#include "foundation/Exception.h"
#include "gui/DialogElementsMultiLine.h"
#include "network/CommunicationSend.h"
#include "screen/MessageTexts.h"
#include "state/Events.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"

namespace {

constexpr int32_t BUG_REPORT_LENGTH = 1024;
constexpr int32_t STATEMENT_LENGTH = 255;

} // namespace

// ---- TBugReportDialog ----

TBugReportDialog::TBugReportDialog() {
    TComponent::setSize(250, 161);
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_BUG_REPORT_ONLY]), 0, 0, 0, 28);
    Report = PlaceChild(this, new TMultiLineEditField(BUG_REPORT_LENGTH, false), 0, 29, 0, 132);
    Report->setFocus(true);
}

void TBugReportDialog::keyPressed(int32_t Key) { Report->keyPressed(Key); }

void TBugReportDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK && !IsEmptyField(Report)) SendBugReport(Report->getText());
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TRuleViolationDialog ----

TRuleViolationDialog::TRuleViolationDialog() {
    TComponent::setSize(250, 87);
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_STATE_RULE_VIOLATION]), 0, 0, 0, 70);
    Statement = PlaceChild(this, new TEditField(STATEMENT_LENGTH, false), 0, 71, 0, 16);
    Statement->setFocus(true);
}

void TRuleViolationDialog::keyPressed(int32_t Key) { HandleDialogKey(this, Statement, Key); }

void TRuleViolationDialog::handleEvent(int32_t Identifier) try {
    // The console's request channel sends the statement; the event owns the copy.
    if (Identifier == DIALOG_OK && !IsEmptyField(Statement))
        AddMessage(MESSAGE_OPENREQUEST, MessageParameter(NewMessageText(Statement->getText())), 0);
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- Factories ----

TModalDialog* CreateBugReportDialog() {
    TModalDialog* Frame = FrameBody("Reporting", new TBugReportDialog, "Send");
    EnterToBody(Frame);
    return Frame;
}

TModalDialog* CreateRuleViolationDialog() {
    if (FindTextBuffer(TALK_GAMEMASTER_ANSWER, nullptr, -1) != nullptr) {
        SetStatusMessage(MessageTexts[TEXT_REQUEST_OPEN]);
        return nullptr;
    }
    return FrameBody(MessageTexts[TEXT_REPORT_RULE_VIOLATION_CAPTION], new TRuleViolationDialog, "Ok");
}
