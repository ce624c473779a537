// The gamemaster's rule violation report: name, statement, the reasons and actions the user's rights allow,
// IP banishment and a comment, checked before it is sent; its factory.
#pragma once

#include "control/DialogsFrame.h"
#include "gui/DialogElementsEdit.h"

#include <cstdint>

class TListBox;
struct TReportedStatement;

// The chat line that event 28 carries is the chat-line menu's TReportedStatement (screen/ContextMenus.h).

class TGamemasterRuleViolationDialog : public TParentComponent {
public:
    TGamemasterRuleViolationDialog(const char* Name, const TReportedStatement* Statement);
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 reports, 2 ends, 21 a reason was chosen

    int32_t getSelectedReason();
    int32_t getSelectedAction();
    void updateActions();

    int32_t ReasonIDs[50];
    uint32_t StatementID = 0;
    TFocusGroup FocusGroup;
    TEditField* NameField;
    TEditField* StatementField;
    TEditField* CommentField;
    TListBox* Reasons;
    TListBox* Actions;
    TCheckBox* IPBanishment;
};

// Name and Statement may be NULL; both stay the caller's.
TModalDialog* CreateGamemasterRuleViolationDialog(const char* Name, const TReportedStatement* Statement);
