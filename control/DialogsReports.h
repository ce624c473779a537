// The player's reports to the staff: a bug report, and a rule violation stated in the request channel;
// their factories.
#pragma once

#include "control/DialogsFrame.h"

#include <cstdint>

class TMultiLineEditField;

class TBugReportDialog : public TParentComponent {
public:
    TBugReportDialog();
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override;

    TMultiLineEditField* Report;
};

class TRuleViolationDialog : public TParentComponent {
public:
    TRuleViolationDialog();
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 posts event 51 with a copy of the statement

    TEditField* Statement;
};

TModalDialog* CreateBugReportDialog();
// NULL, with a status message, while the player's request channel is open.
TModalDialog* CreateRuleViolationDialog();
