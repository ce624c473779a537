// The gamemaster's rule violation report: name, statement, the reasons and actions the user's rights allow,
// IP banishment and a comment, checked before it is sent; its factory.
#include "control/DialogsGamemasterReport.h"

#include "foundation/Exception.h"
#include "gui/DialogElementsList.h"
#include "network/CommunicationSend.h"
#include "screen/ContextMenus.h"
#include "screen/MessageTexts.h"
#include "state/Events.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t REASON_SELECTED = 21;
constexpr int32_t RIGHTS = 32;
constexpr int32_t LISTED_ACTIONS = 7; // 7, IP banishment, is the check box
constexpr int32_t IP_BANISHMENT = 7;
constexpr int32_t STATEMENT_REPORT = 6;

TEditField* PlaceField(TParentComponent* Body, int32_t MaxLength, bool ReadOnly, int32_t y) {
    TEditField* Field = new TEditField(MaxLength, ReadOnly);
    Body->addChild(Field);
    Body->placeChild(Field, 0, y, 0, 16);
    return Field;
}

TListBox* PlaceList(TParentComponent* Body, TComponent* Target, int32_t Identifier, int32_t y,
                    int32_t Height) {
    TListBox* List = new TListBox(Target, Identifier, nullptr, 0);
    Body->addChild(List);
    Body->placeChild(List, 0, y, 0, Height);
    return List;
}

// A reason whose statement may be reported: the offensive, spam, advertising and public statement reasons.
bool ReasonTakesStatement(int32_t Reason) {
    const bool ActionFits =
        CheckRight(Reason, 0) || CheckRight(Reason, 2) || CheckRight(Reason, STATEMENT_REPORT);
    return ActionFits && ((Reason >= 9 && Reason <= 27) || Reason == 29);
}

} // namespace

TGamemasterRuleViolationDialog::TGamemasterRuleViolationDialog(const char* Name,
                                                               const TReportedStatement* Statement) try {
    TComponent::setSize(300, 346);
    std::fill(std::begin(ReasonIDs), std::end(ReasonIDs), -1);
    StatementID = Statement != nullptr ? static_cast<uint32_t>(Statement->StatementID) : 0;
    const bool NameGiven = Name != nullptr || Statement != nullptr;
    const char* Message = Statement != nullptr ? GetReportedMessage(*Statement) : "";

    PlaceLabel(this, "Name", 0, 0);
    NameField = PlaceField(this, 29, NameGiven, 15);
    char Speaker[sizeof(Statement->Speaker)] = "";
    if (Statement != nullptr) snprintf(Speaker, sizeof(Speaker), "%.*s", 29, Statement->Speaker);
    NameField->setText(Statement != nullptr ? Speaker : Name != nullptr ? Name : "");
    PlaceLabel(this, "Statement", 0, 46);
    StatementField = PlaceField(this, static_cast<int32_t>(strlen(Message)), true, 61);
    StatementField->setText(Message);
    PlaceLabel(this, "Reason", 0, 92);
    Reasons = PlaceList(this, this, REASON_SELECTED, 107, 77);
    PlaceLabel(this, "Action", 0, 199);
    Actions = PlaceList(this, nullptr, 0, 214, 49);
    IPBanishment = PlaceCheckBox(this, "IP Address Banishment", 0, 278, 0, false);
    IPBanishment->setEnabled(false);
    PlaceLabel(this, "Comment", 0, 315);
    CommentField = PlaceField(this, 100, false, 330);

    NameField->setFocusGroup(&FocusGroup);
    CommentField->setFocusGroup(&FocusGroup);
    StatementField->setFocusGroup(&FocusGroup);
    int32_t Lines = 0;
    for (int32_t r = 0; r < RIGHTS; r++)
        if (CheckRight(r, -1)) {
            Reasons->addLine(GetRuleViolationReason(r));
            ReasonIDs[Lines++] = r;
        }
    updateActions();
    FocusGroup.setActive(NameGiven ? CommentField : NameField);
}
CATCH_FRAME()

int32_t TGamemasterRuleViolationDialog::getSelectedReason() {
    const int32_t Line = Reasons->getSelection();
    return Line >= 0 && Line < 50 ? ReasonIDs[Line] : -1;
}

int32_t TGamemasterRuleViolationDialog::getSelectedAction() {
    const int32_t Line = Actions->getSelection();
    if (Line == -1) return -1;
    for (int32_t a = 0; a < LISTED_ACTIONS; a++)
        if (strcmp(GetRuleViolationAction(a), Actions->getLine(Line)) == 0) return a;
    return -1;
}

void TGamemasterRuleViolationDialog::updateActions() {
    const int32_t Reason = getSelectedReason();
    if (Reason == -1) return;
    Actions->clear();
    // A kept selection number would silently pick whatever action now stands on that line.
    Actions->select(-1);
    for (int32_t a = 0; a < LISTED_ACTIONS; a++)
        if (CheckRight(Reason, a)) Actions->addLine(GetRuleViolationAction(a));
    IPBanishment->setChecked(false);
    IPBanishment->setEnabled(CheckRight(Reason, IP_BANISHMENT));
    StatementField->setDisabled(!ReasonTakesStatement(Reason));
}

void TGamemasterRuleViolationDialog::keyPressed(int32_t Key) {
    if (Key == KEY_ENTER)
        handleEvent(DIALOG_OK);
    else if (Key == KEY_ESCAPE)
        handleEvent(DIALOG_CANCEL);
    else if (FocusGroup.getActive() != nullptr)
        FocusGroup.getActive()->keyPressed(Key);
}

void TGamemasterRuleViolationDialog::handleEvent(int32_t Identifier) try {
    switch (Identifier) {
    case REASON_SELECTED:
        updateActions();
        return;
    case DIALOG_OK: {
        const int32_t Reason = getSelectedReason(), Action = getSelectedAction();
        bool Send = true;
        auto Fail = [&Send](const char* Text) {
            SetStatusMessage(Text, false);
            Send = false;
        };
        if (NameField->getText()[0] == 0) Fail(MessageTexts[TEXT_NO_PLAYER_NAME]);
        if (Reason == -1) Fail(MessageTexts[TEXT_NO_REASON]);
        if (Action == -1) Fail(MessageTexts[TEXT_NO_ACTION]);
        if (CommentField->getText()[0] == 0) Fail(MessageTexts[TEXT_NO_COMMENT]);
        if (Action == STATEMENT_REPORT) {
            if (StatementField->getText()[0] == 0)
                Fail(MessageTexts[TEXT_NO_STATEMENT]);
            else if (StatementID == 0)
                Fail(MessageTexts[TEXT_STATEMENT_NOT_REPORTABLE]);
        }
        if (Send)
            SendRuleViolation(NameField->getText(), Reason, Action, CommentField->getText(),
                              StatementField->isDisabled() ? 0 : StatementID, IPBanishment->isChecked());
        break;
    }
    case DIALOG_CANCEL:
        break;
    default:
        UnknownEvent(Identifier);
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

TModalDialog* CreateGamemasterRuleViolationDialog(const char* Name, const TReportedStatement* Statement) {
    return FrameBody("Rule Violation", new TGamemasterRuleViolationDialog(Name, Statement), "Ok", DIALOG_OK,
                     CANCEL_BODY);
}
