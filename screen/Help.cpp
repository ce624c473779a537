// The help menu and the list of hints already seen, and the hint texts handed to the map view.
#define EBRUN_SOURCE_NAME "Help.cpp"
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
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"

namespace {

constexpr int32_t TUTOR_CHANNEL = 7;

enum : int32_t {
    HELP_OK = 1,
    HELP_CANCEL = 2,
    HELP_CLIENT = 702,
    HELP_HINTS = 703,
    HELP_TUTOR = 704,
    HELP_RULE_VIOLATION = 705,
    HELP_MANUAL = 706,
    HELP_FAQ = 707,
};

struct THelpRow {
    const char* Button;
    int32_t Identifier;
    const char* Label;
};

const THelpRow HelpRows[] = {
    {"Client Help", HELP_CLIENT, "Click here to get\ninfo on the client."},
    {"Hints", HELP_HINTS, "Show previous hints"},
    {"Tutor Help", HELP_TUTOR, "Ask a tutor for help"},
    {"Rule Violation", HELP_RULE_VIOLATION, "Report rule violations"},
    {"Manual", HELP_MANUAL, "Read the manual on\nthe website"},
    {"FAQ", HELP_FAQ, "Read the FAQ on\nthe website."},
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
        addChild(new TTextButton(0, y, Row.Button, 18, 19, this, Row.Identifier, nullptr));
        addChild(MessageLabel(99, y, Row.Label));
        y += 33;
    }
}
CATCH_FRAME()

void THelpDialog::keyPressed(int32_t Key) {
    if (Key == KEY_ENTER) handleEvent(HELP_OK);
    if (Key == KEY_ESCAPE) handleEvent(HELP_CANCEL);
}

void THelpDialog::handleEvent(int32_t Event) try {
    switch (Event) {
    case HELP_OK:
    case HELP_CANCEL:
        EndDialog();
        break;
    case HELP_CLIENT:
        EndDialog();
        Post(MESSAGE_HELPCURSOR);
        break;
    case HELP_HINTS:
        // The help menu comes back once the hints list is closed.
        Post(MESSAGE_HINTS);
        Post(MESSAGE_HELP);
        EndDialog();
        break;
    case HELP_TUTOR:
        SendJoinChannel(TUTOR_CHANNEL);
        EndDialog();
        break;
    case HELP_RULE_VIOLATION:
        Post(MESSAGE_RULEVIOLATION);
        EndDialog();
        break;
    case HELP_MANUAL:
    case HELP_FAQ:
        if (OpenURL != nullptr) OpenURL(Event == HELP_MANUAL ? MANUAL_URL : FAQ_URL);
        EndDialog();
        break;
    default:
        CHECK_TEXT(false, "unknown event", Event);
    }
}
CATCH_FRAME(Event)

// ---- THintsDialog ----

THintsDialog::THintsDialog() try {
    TComponent::setSize(200, 119);
    const TTextFormat& Style = SkinProperties.Popups.MessageFormat;
    TTextLabel* Caption = new TTextLabel(0, 0, 1, 1, Style.Font, Style.Red, Style.Green, Style.Blue,
                                         Style.Alignment, "Available hints:", false);
    addChild(Caption);
    placeChild(Caption, 0, 0, 0, 14);
    HintList = new TListBox(nullptr, 0, this, HELP_OK);
    addChild(HintList);
    placeChild(HintList, 0, 15, 0, 104);
    for (int32_t Number = 1; Number <= EVENTHELPS; Number++)
        if (IsKnownHint(Number)) HintList->addLine(GetEventHelpTitle(Number));
}
CATCH_FRAME()

void THintsDialog::keyPressed(int32_t Key) {
    if (Key == KEY_ENTER)
        handleEvent(HELP_OK);
    else if (Key == KEY_ESCAPE)
        handleEvent(HELP_CANCEL);
    else
        HintList->keyPressed(Key);
}

void THintsDialog::handleEvent(int32_t Identifier) try {
    const int32_t Selection = HintList->getSelection();
    if (Identifier == HELP_OK && Selection >= 0) {
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
