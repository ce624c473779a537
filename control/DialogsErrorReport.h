// The error report dialog, offered after a crash of the last run; its factory.
#pragma once

#include "control/DialogsFrame.h"

#include <cstdint>

class TMultiLineEditField;

class TErrorReportDialog : public TParentComponent {
public:
    TErrorReportDialog();
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 keeps the reports, 2 discards them; every one ends

    TMultiLineEditField* Reports;
    TEditField* Comment;
};

// NULL while no error report is stored.
TModalDialog* CreateErrorReportDialog();
