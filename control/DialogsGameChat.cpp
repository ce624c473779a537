// The dialogs of the chat channels, the reports to the staff and the VIP list: choosing a channel, inviting
// to or excluding from the own channel, the bug and rule violation reports, adding and editing a VIP.
#define EBRUN_SOURCE_NAME "Dialogs.cpp"
#include "control/DialogsGame.h"

#include "control/DialogsGameShared.h"
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsList.h"
#include "gui/DialogElementsMultiLine.h"
#include "network/CommunicationSend.h"
#include "state/Creatures.h"
#include "state/CreaturesBuddies.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Status.h"
#include "state/Talk.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t NAME_LENGTH = 29;
constexpr int32_t JOIN_SELECTED = 301;
constexpr int32_t BUG_REPORT_LENGTH = 1024;
constexpr int32_t STATEMENT_LENGTH = 255;
constexpr int32_t DESCRIPTION_LENGTH = 127;

// Enter and Escape as the body's own OK and Cancel, other keys to Field.
void NameKeys(TComponent* Body, TEditField* Field, int32_t Key) {
    if (Key == KEY_ENTER)
        Body->handleEvent(DIALOG_OK);
    else if (Key == KEY_ESCAPE)
        Body->handleEvent(DIALOG_CANCEL);
    else
        Field->keyPressed(Key);
}

bool IsEmpty(const TEditField* Field) { return Field->getText()[0] == 0; }

} // namespace

// ---- TChannelDialog ----

TChannelDialog::TChannelDialog(int32_t _NumberOfChannels, const uint32_t* _ChannelIDs, const char* Names) try
    : NumberOfChannels(_NumberOfChannels) {
    CHECK_TEXT(_ChannelIDs != nullptr, "_ChannelIDs!=NULL");
    CHECK(_NumberOfChannels > 0, _NumberOfChannels);
    ChannelIDs = std::make_unique<uint32_t[]>(static_cast<size_t>(NumberOfChannels));
    std::copy(_ChannelIDs, _ChannelIDs + NumberOfChannels, ChannelIDs.get());
    TComponent::setSize(200, 163);
    PlaceChild(this, MessageLabel("Select a channel:"), 0, 0, 0, 14);
    List = PlaceChild(this, new TListBox(nullptr, 0, this, JOIN_SELECTED), 0, 15, 0, 104);
    for (int32_t i = 0; i < NumberOfChannels; i++) {
        char Name[CHANNEL_NAME_LENGTH] = {};
        if (Names != nullptr) CopyString(Name, Names + i * CHANNEL_NAME_LENGTH, CHANNEL_NAME_LENGTH);
        List->addLine(Name);
    }
    PlaceChild(this, MessageLabel("Open a private message channel:"), 0, 132, 0, 14);
    NameField = PlaceChild(this, new TEditField(NAME_LENGTH, false), 0, 147, 0, 16);
    NameField->setFocus(true);
}
CATCH_FRAME()

void TChannelDialog::keyPressed(int32_t Key) { NameField->keyPressed(Key); }

void TChannelDialog::joinSelected() {
    const int32_t Selection = List->getSelection();
    if (!In(Selection, 0, NumberOfChannels - 1)) return;
    if (ChannelIDs[Selection] == OWN_CHANNEL_ID)
        SendOpenOwnChannel();
    else
        SendJoinChannel(static_cast<int32_t>(ChannelIDs[Selection]));
}

void TChannelDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK && !IsEmpty(NameField)) {
        const TCreature* Creature = GetCreature(GetPlayerID());
        CHECK_TEXT(Creature != nullptr, "Creature!=NULL");
        if (CompareNoCase(NameField->getText(), Creature->Name, -1) == 0)
            SetStatusMessage("You cannot set up a private message channel with yourself.");
        else
            SendPrivateChannel(NameField->getText());
    } else if (Identifier == DIALOG_OK || Identifier == JOIN_SELECTED) {
        joinSelected();
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TInviteDialog ----

TInviteDialog::TInviteDialog(bool Exclude) : Exclude(Exclude) {
    TComponent::setSize(225, 31);
    PlaceChild(this, MessageLabel("Please enter a character name:"), 0, 0, 0, 14);
    NameField = PlaceChild(this, new TEditField(NAME_LENGTH, false), 0, 15, 0, 16);
    NameField->setFocus(true);
}

void TInviteDialog::keyPressed(int32_t Key) { NameKeys(this, NameField, Key); }

void TInviteDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK && !IsEmpty(NameField)) {
        if (Exclude)
            SendExcludeFromChannel(NameField->getText());
        else
            SendInviteToChannel(NameField->getText());
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TBugReportDialog ----

TBugReportDialog::TBugReportDialog() {
    TComponent::setSize(250, 161);
    PlaceChild(
        this,
        MessageLabel("Please use this dialog only to report bugs.\nDo not report rule violations here!"), 0,
        0, 0, 28);
    Report = PlaceChild(this, new TMultiLineEditField(BUG_REPORT_LENGTH, false), 0, 29, 0, 132);
    Report->setFocus(true);
}

void TBugReportDialog::keyPressed(int32_t Key) { Report->keyPressed(Key); }

void TBugReportDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK && !IsEmpty(Report)) SendBugReport(Report->getText());
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TRuleViolationDialog ----

TRuleViolationDialog::TRuleViolationDialog() {
    TComponent::setSize(250, 87);
    PlaceChild(
        this,
        MessageLabel("Please state the rule violation in one\nclear sentence and wait for a reply\nfrom a "
                     "gamemaster.\nPlease note that your message will\ndisappear if you close this "
                     "channel."),
        0, 0, 0, 70);
    Statement = PlaceChild(this, new TEditField(STATEMENT_LENGTH, false), 0, 71, 0, 16);
    Statement->setFocus(true);
}

void TRuleViolationDialog::keyPressed(int32_t Key) { NameKeys(this, Statement, Key); }

void TRuleViolationDialog::handleEvent(int32_t Identifier) try {
    // The console's request channel sends the statement; the event owns the copy.
    if (Identifier == DIALOG_OK && !IsEmpty(Statement))
        AddMessage(MESSAGE_OPENREQUEST, MessageParameter(NewMessageText(Statement->getText())), 0);
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TAddVIPDialog ----

TAddVIPDialog::TAddVIPDialog() {
    TComponent::setSize(200, 31);
    PlaceChild(this, MessageLabel("Please enter a character name:"), 0, 0, 0, 14);
    NameField = PlaceChild(this, new TEditField(NAME_LENGTH, false), 0, 15, 0, 16);
    NameField->setFocus(true);
}

void TAddVIPDialog::keyPressed(int32_t Key) { NameKeys(this, NameField, Key); }

void TAddVIPDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK && !IsEmpty(NameField)) SendAddVIP(NameField->getText());
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TEditVIPDialog ----

TEditVIPDialog::TEditVIPDialog(uint32_t CharacterID) try : CharacterID(CharacterID) {
    const int32_t Position = GetBuddyPosition(CharacterID);
    CHECK_TEXT(Position >= 0, "Position >= 0");
    TComponent::setSize(250, 174);
    PlaceChild(this, MessageLabel(GetBuddyName(Position)), 0, 0, 0, 14);
    PlaceChild(this, new TSeparator(true), 0, 15, 0, 2);
    PlaceChild(this, MessageLabel("Select a type:"), 0, 32, 0, 14);
    for (int32_t i = 0; i < ICONS; i++) {
        IconButtons[i] = new TIconButton(20 * i, 47, i == 0 ? 0 : 217 + i, 24, 25, nullptr, 0, nullptr);
        IconButtons[i]->setRadioButtonGroup(&IconGroup);
        addChild(IconButtons[i]);
    }
    const int32_t Icon = GetBuddyIcon(Position);
    IconGroup.Selected = IconButtons[In(Icon, 0, ICONS - 1) ? Icon : 0];
    PlaceChild(this, MessageLabel("Enter a short description:"), 0, 76, 0, 14);
    Description = PlaceChild(this, new TMultiLineEditField(DESCRIPTION_LENGTH, false), 0, 91, 0, 48);
    Description->setFocus(true);
    const char* Text = GetBuddyListDescription(Position);
    if (Text != nullptr) Description->setText(Text, false);
    NotifyBox = PlaceChild(this, new TCheckBox("Notify at login"), 0, 152, 0, 22);
    NotifyBox->setChecked(GetBuddyNotifyLogin(Position));
}
CATCH_FRAME()

int32_t TEditVIPDialog::getIconType() const {
    for (int32_t i = 0; i < ICONS; i++)
        if (IconGroup.Selected == IconButtons[i]) return i;
    return 0;
}

void TEditVIPDialog::keyPressed(int32_t Key) { Description->keyPressed(Key); }

void TEditVIPDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK)
        EditBuddy(CharacterID, getIconType(), Description->getText(), NotifyBox->isChecked());
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)
