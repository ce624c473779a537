// Adding a character to the VIP list and editing a VIP's icon, description and login notice; their
// factories.
#include "control/DialogsVIP.h"

#include "foundation/Exception.h"
#include "gui/DialogElementsMultiLine.h"
#include "network/CommunicationSend.h"
#include "screen/MessageTexts.h"
#include "state/CreaturesBuddies.h"
#include "state/Status.h"

namespace {

constexpr int32_t DESCRIPTION_LENGTH = 127;

} // namespace

// ---- TAddVIPDialog ----

TAddVIPDialog::TAddVIPDialog() {
    TComponent::setSize(200, 31);
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_VIP_NAME]), 0, 0, 0, 14);
    NameField = PlaceChild(this, new TEditField(CHARACTER_NAME_LENGTH, false), 0, 15, 0, 16);
    NameField->setFocus(true);
}

void TAddVIPDialog::keyPressed(int32_t Key) { HandleDialogKey(this, NameField, Key); }

void TAddVIPDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK && !IsEmptyField(NameField)) SendAddVIP(NameField->getText());
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
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_VIP_TYPE]), 0, 32, 0, 14);
    for (int32_t i = 0; i < ICONS; i++) {
        IconButtons[i] = new TIconButton(20 * i, 47, i == 0 ? 0 : 217 + i, 24, 25, nullptr, 0, nullptr);
        IconButtons[i]->setRadioButtonGroup(&IconGroup);
        addChild(IconButtons[i]);
    }
    const int32_t Icon = GetBuddyIcon(Position);
    IconGroup.Selected = IconButtons[In(Icon, 0, ICONS - 1) ? Icon : 0];
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_VIP_DESCRIPTION]), 0, 76, 0, 14);
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

// ---- Factories ----

TModalDialog* CreateAddVIPDialog() { return FrameBody("Add to VIP list", new TAddVIPDialog, "Add"); }

TModalDialog* CreateEditVIPDialog(uint32_t CharacterID) {
    // The VIP may have left the list while the event waited.
    if (GetBuddyPosition(CharacterID) < 0) return nullptr;
    TModalDialog* Frame = FrameBody("Change player in VIP list", new TEditVIPDialog(CharacterID), "Ok");
    EnterToBody(Frame);
    return Frame;
}
