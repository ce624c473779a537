// The options dialog with its page buttons, and the general, console and network option pages; their
// factories.
#include "control/DialogsOptions.h"

#include "foundation/Exception.h"
#include "gui/DialogElements.h"
#include "screen/MessageTexts.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/TalkFilter.h"

namespace {

TCheckBox* Box(TParentComponent* Body, const char* Caption, int32_t y, bool Checked) {
    return PlaceCheckBox(Body, Caption, 0, y, 0, Checked);
}

struct TOptionsRow {
    int32_t y;
    const char* Button;
    int32_t Identifier;
    const char* Description;
    int32_t Page;
};

const TOptionsRow OptionsRows[] = {
    {0, "General", 404, MessageTexts[TEXT_OPTIONS_GENERAL], MESSAGE_GENERALOPTIONS},
    {33, "Graphics", 401, MessageTexts[TEXT_OPTIONS_GRAPHICS], MESSAGE_GRAPHICSOPTIONS},
    {66, "Console", 402, MessageTexts[TEXT_OPTIONS_CONSOLE], MESSAGE_CONSOLEOPTIONS},
    {99, "Network", 400, MessageTexts[TEXT_OPTIONS_NETWORK], MESSAGE_NETWORKOPTIONS},
    {132, "Hotkeys", 403, MessageTexts[TEXT_OPTIONS_HOTKEYS], MESSAGE_HOTKEYOPTIONS},
    {182, "Motd", 406, MessageTexts[TEXT_OPTIONS_MOTD], MESSAGE_MESSAGEOFTHEDAY},
};

} // namespace

// ---- TOptionsDialog ----

TOptionsDialog::TOptionsDialog() try {
    TComponent::setSize(250, 202);
    for (const TOptionsRow& Row : OptionsRows) {
        addChild(new TTextButton(0, Row.y, Row.Button, 18, 19, this, Row.Identifier, nullptr));
        PlaceLabel(this, Row.Description, 99, Row.y, 30);
    }
    TSeparator* Line = new TSeparator(true);
    addChild(Line);
    placeChild(Line, 0, 165, 0, 2);
    arrange();
}
CATCH_FRAME()

void TOptionsDialog::keyPressed(int32_t Key) {
    if (Key == KEY_ENTER) handleEvent(DIALOG_OK);
    if (Key == KEY_ESCAPE) handleEvent(DIALOG_CANCEL);
}

void TOptionsDialog::handleEvent(int32_t Identifier) try {
    for (const TOptionsRow& Row : OptionsRows)
        if (Row.Identifier == Identifier) {
            AddMessage(Row.Page, 0, 0);
            AddMessage(MESSAGE_OPTIONS, 0, 0);
            SetActionState(ACTIONSTATE_NONE);
            return;
        }
    if (Identifier != DIALOG_OK && Identifier != DIALOG_CANCEL) UnknownEvent(Identifier);
    SaveOptions();
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TGeneralOptionsDialog ----

TGeneralOptionsDialog::TGeneralOptionsDialog(TOpenURLFunction OpenURL) try : OpenURL(OpenURL) {
    TComponent::setSize(200, 154);
    ClassicControl = Box(this, "Pellarune Control", 0, GetClassicControl());
    AutoChaseOff = Box(this, "Auto Chase Off", 33, GetAutoChaseOff());
    ShowHints = Box(this, "Show Hints", 66, GetShowNewHints());
    CreatureNames = Box(this, "Show Names of Creatures", 99, GetCreatureInfo() != 0);
    TextualEffects = Box(this, "Show Textual Effects", 132, GetTextualEffects());
}
CATCH_FRAME()

void TGeneralOptionsDialog::handleEvent(int32_t Identifier) try {
    switch (Identifier) {
    case DIALOG_OK:
        SetClassicControl(ClassicControl->isChecked());
        SetAutoChaseOff(AutoChaseOff->isChecked());
        SetShowNewHints(ShowHints->isChecked());
        SetCreatureInfo(CreatureNames->isChecked() ? 2 : 0);
        SetTextualEffects(TextualEffects->isChecked());
        SetActionState(ACTIONSTATE_NONE);
        break;
    case DIALOG_CANCEL:
        SetActionState(ACTIONSTATE_NONE);
        break;
    case DIALOG_HELP:
        OpenSitePage(OpenURL, TEXT_URL_OPTIONS);
        break;
    default:
        UnknownEvent(Identifier);
    }
}
CATCH_FRAME(Identifier)

// ---- TConsoleOptionsDialog ----

namespace {

struct TConsoleOption {
    const char* Caption;
    bool (*Get)();
    void (*Set)(bool);
};

const TConsoleOption ConsoleOptions[5] = {
    {"Show Info Messages in Console", GetInfoMessages, SetInfoMessages},
    {"Show Event Messages in Console", GetEventMessages, SetEventMessages},
    {"Show Status Messages in Console", GetStatusMessages, SetStatusMessages},
    {"Show Timestamp in Console", GetTimeStamps, SetTimeStamps},
    {"Show Private Messages in Game Window", GetPrivateMessages, SetPrivateMessages},
};

} // namespace

TConsoleOptionsDialog::TConsoleOptionsDialog(TOpenURLFunction OpenURL) try : OpenURL(OpenURL) {
    TComponent::setSize(260, 162);
    for (int32_t i = 0; i < 5; i++)
        Boxes[i] = Box(this, ConsoleOptions[i].Caption, 35 * i, ConsoleOptions[i].Get());
}
CATCH_FRAME()

void TConsoleOptionsDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_HELP) {
        OpenSitePage(OpenURL, TEXT_URL_CONSOLE_OPTIONS);
        return;
    }
    if (Identifier == DIALOG_OK) {
        for (int32_t i = 0; i < 5; i++)
            ConsoleOptions[i].Set(Boxes[i]->isChecked());
        SetConsoleChanged();
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TNetworkOptionsDialog ----

TNetworkOptionsDialog::TNetworkOptionsDialog(TOpenURLFunction OpenURL) try : OpenURL(OpenURL) {
    TComponent::setSize(200, 22);
    TestServer = Box(this, "Test Server Login", 0, GetTestServer());
}
CATCH_FRAME()

void TNetworkOptionsDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_HELP) {
        OpenSitePage(OpenURL, TEXT_URL_NETWORK_OPTIONS);
        return;
    }
    if (Identifier == DIALOG_OK) SetTestServer(TestServer->isChecked());
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- Factories ----

TModalDialog* CreateOptionsDialog() {
    TOptionsDialog* Body = new TOptionsDialog;
    TModalDialog* Frame = FrameBody("Options", Body);
    Frame->setCancelButton(nullptr, EmptyNotification);
    Frame->CancelKey = TNotification(Body, DIALOG_OK);
    return Frame;
}

TModalDialog* CreateGeneralOptionsDialog(TOpenURLFunction OpenURL) {
    return FrameBody("General Options", new TGeneralOptionsDialog(OpenURL), "Ok", DIALOG_OK, CANCEL_FRAME,
                     true);
}

TModalDialog* CreateConsoleOptionsDialog(TOpenURLFunction OpenURL) {
    return FrameBody("Console Options", new TConsoleOptionsDialog(OpenURL), "Ok", DIALOG_OK, CANCEL_FRAME,
                     true);
}

TModalDialog* CreateNetworkOptionsDialog(TOpenURLFunction OpenURL) {
    return FrameBody("Network Options", new TNetworkOptionsDialog(OpenURL), "Ok", DIALOG_OK, CANCEL_FRAME,
                     true);
}
