// Choosing a chat channel (or a private conversation) and inviting to or excluding from the own channel;
// their factories.
#include "control/DialogsChannels.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "gui/DialogElementsList.h"
#include "network/CommunicationSend.h"
#include "screen/MessageTexts.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Status.h"
#include "state/Talk.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int32_t JOIN_SELECTED = 301;

} // namespace

// ---- TChannelDialog ----

TChannelDialog::TChannelDialog(int32_t _NumberOfChannels, const uint32_t* _ChannelIDs, const char* Names) try
    : NumberOfChannels(_NumberOfChannels) {
    CHECK_TEXT(_ChannelIDs != nullptr, "_ChannelIDs!=NULL");
    CHECK(_NumberOfChannels > 0, _NumberOfChannels);
    ChannelIDs = std::make_unique<uint32_t[]>(static_cast<size_t>(NumberOfChannels));
    std::copy(_ChannelIDs, _ChannelIDs + NumberOfChannels, ChannelIDs.get());
    TComponent::setSize(200, 163);
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_SELECT_CHANNEL]), 0, 0, 0, 14);
    List = PlaceChild(this, new TListBox(nullptr, 0, this, JOIN_SELECTED), 0, 15, 0, 104);
    for (int32_t i = 0; i < NumberOfChannels; i++) {
        char Name[CHANNEL_NAME_LENGTH] = {};
        if (Names != nullptr) CopyString(Name, Names + i * CHANNEL_NAME_LENGTH, CHANNEL_NAME_LENGTH);
        List->addLine(Name);
    }
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_OPEN_PRIVATE_CHANNEL]), 0, 132, 0, 14);
    NameField = PlaceChild(this, new TEditField(CHARACTER_NAME_LENGTH, false), 0, 147, 0, 16);
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
    if (Identifier == DIALOG_OK && !IsEmptyField(NameField)) {
        const TCreature* Creature = GetCreature(GetPlayerID());
        CHECK_TEXT(Creature != nullptr, "Creature!=NULL");
        if (CompareNoCase(NameField->getText(), Creature->Name, -1) == 0)
            SetStatusMessage(MessageTexts[TEXT_NO_CHANNEL_WITH_YOURSELF]);
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
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_CHANNEL_PLAYER_NAME]), 0, 0, 0, 14);
    NameField = PlaceChild(this, new TEditField(CHARACTER_NAME_LENGTH, false), 0, 15, 0, 16);
    NameField->setFocus(true);
}

void TInviteDialog::keyPressed(int32_t Key) { HandleDialogKey(this, NameField, Key); }

void TInviteDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK && !IsEmptyField(NameField)) {
        if (Exclude)
            SendExcludeFromChannel(NameField->getText());
        else
            SendInviteToChannel(NameField->getText());
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- Factories ----

TModalDialog* CreateChannelDialog(const uint32_t* Channels, const char* Names) {
    // A list without channels offers nothing to choose.
    if (Channels == nullptr || Channels[0] == 0) return nullptr;
    const int32_t Count = static_cast<int32_t>(std::min<uint32_t>(Channels[0], INT32_MAX));
    return FrameBody("New Channel", new TChannelDialog(Count, Channels + 1, Names), "Open");
}

TModalDialog* CreateInviteDialog() {
    return FrameBody("Invite player to private chat channel", new TInviteDialog(false), "Add");
}

TModalDialog* CreateExcludeDialog() {
    return FrameBody("Exclude player from private chat channel", new TInviteDialog(true), "Add");
}
