// The help menu and the list of hints already seen, and the hint texts handed to the map view.
#include "screen/Help.h"

#include "foundation/Exception.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsList.h"
#include "gui/DialogElementsText.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/MapWindow.h"
#include "screen/MessageTexts.h"
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/TalkBuffer.h"

namespace {

struct THelpRow {
    const char* Button;
    HELPDIALOG_COMMAND Identifier;
    MESSAGE_TEXT Label;
};

constexpr THelpRow HelpRows[] = {
    {"Client Help", HELPDIALOG_CLIENT, TEXT_HELP_CLIENT},
    {"Hints", HELPDIALOG_HINTS, TEXT_HELP_HINTS},
    {"Tutor Help", HELPDIALOG_TUTOR, TEXT_HELP_TUTOR},
    {"Rule Violation", HELPDIALOG_RULE_VIOLATION, TEXT_HELP_RULE_VIOLATION},
    {"Manual", HELPDIALOG_MANUAL, TEXT_HELP_MANUAL},
    {"FAQ", HELPDIALOG_FAQ, TEXT_HELP_FAQ},
};

TTextLabel* MessageLabel(int32_t x, int32_t y, const char* Text) {
    const TTextFormat& Style = SkinProperties.Popups.MessageFormat;
    return new TTextLabel(x, y, Style.Font, Style.Red, Style.Green, Style.Blue, Style.Alignment, Text);
}

void Post(int32_t Type) { AddMessage(Type, 0, 0); }

void EndDialog() { SetActionState(ACTIONSTATE_NONE); }

} // namespace

void InstallHintTexts() { SetHintTexts({GetEventHelpTitle, GetEventHelpText}); }

// ---- THelpDialog ----

THelpDialog::THelpDialog(TOpenURL OpenURL) try : OpenURL(OpenURL) {
    TComponent::setSize(250, 185);
    int32_t y = 0;
    for (const THelpRow& Row : HelpRows) {
        addChild(new TTextButton(0, y, Row.Button, SKIN_WIDE_BUTTON, SKIN_WIDE_BUTTON + 1, this,
                                 Row.Identifier, nullptr));
        addChild(MessageLabel(99, y, MessageTexts[Row.Label]));
        y += 33;
    }
}
CATCH_FRAME()

void THelpDialog::keyPressed(int32_t Key) {
    if (Key == KEY_ENTER) handleEvent(HELPDIALOG_OK);
    if (Key == KEY_ESCAPE) handleEvent(HELPDIALOG_CANCEL);
}

void THelpDialog::handleEvent(int32_t Event) try {
    switch (static_cast<HELPDIALOG_COMMAND>(Event)) {
    case HELPDIALOG_OK:
    case HELPDIALOG_CANCEL:
        return EndDialog();
    case HELPDIALOG_CLIENT:
        EndDialog();
        return Post(MESSAGE_HELPCURSOR);
    case HELPDIALOG_HINTS:
        // The help menu comes back once the hints list is closed.
        Post(MESSAGE_HINTS);
        Post(MESSAGE_HELP);
        return EndDialog();
    case HELPDIALOG_TUTOR:
        SendJoinChannel(HELP_CHANNEL_ID);
        return EndDialog();
    case HELPDIALOG_RULE_VIOLATION:
        Post(MESSAGE_RULEVIOLATION);
        return EndDialog();
    case HELPDIALOG_MANUAL:
    case HELPDIALOG_FAQ:
        if (OpenURL != nullptr)
            OpenURL(MessageTexts[Event == HELPDIALOG_MANUAL ? TEXT_URL_MANUAL : TEXT_URL_FAQ]);
        return EndDialog();
    }
    CHECK_TEXT(false, "unknown event", Event);
}
CATCH_FRAME(Event)

// ---- THintsDialog ----

THintsDialog::THintsDialog() try {
    TComponent::setSize(200, 119);
    const TTextFormat& Style = SkinProperties.Popups.MessageFormat;
    TTextLabel* Caption = new TTextLabel(0, 0, 1, 1, Style.Font, Style.Red, Style.Green, Style.Blue,
                                         Style.Alignment, MessageTexts[TEXT_AVAILABLE_HINTS], false);
    addChild(Caption);
    placeChild(Caption, 0, 0, 0, 14);
    HintList = new TListBox(nullptr, 0, this, HELPDIALOG_OK);
    addChild(HintList);
    placeChild(HintList, 0, 15, 0, 104);
    for (int32_t Number = 1; Number <= EVENTHELPS; Number++)
        if (IsKnownHint(Number)) HintList->addLine(GetEventHelpTitle(Number));
}
CATCH_FRAME()

void THintsDialog::keyPressed(int32_t Key) {
    if (Key == KEY_ENTER)
        handleEvent(HELPDIALOG_OK);
    else if (Key == KEY_ESCAPE)
        handleEvent(HELPDIALOG_CANCEL);
    else
        HintList->keyPressed(Key);
}

void THintsDialog::handleEvent(int32_t Identifier) try {
    const int32_t Selection = HintList->getSelection();
    if (Identifier == HELPDIALOG_OK && Selection >= 0) {
        const int32_t Number = FindEventHelp(HintList->getLine(Selection));
        CHECK_TEXT(Number != -1, "Number!=-1");
        // In front of everything queued: the hint opens next and this list comes back after it.
        AddPriorityMessage(MESSAGE_HINTS, 0, 0);
        AddPriorityMessage(MESSAGE_MESSAGEBOX2, MessageParameter(GetEventHelpTitle(Number)),
                           MessageParameter(NewMessageText(GetEventHelpText(Number))));
    }
    EndDialog();
}
CATCH_FRAME(Identifier)
