// The options dialog with its page buttons, the general, console and network option pages, and the factories
// of every option page, list and report dialog of this group with their registration.
#define EBRUN_SOURCE_NAME "Dialogs.cpp"
#include "control/DialogsOptions.h"

#include "control/ControlEvents.h"
#include "foundation/Exception.h"
#include "gui/SkinProperties.h"
#include "screen/MainWindow.h"
#include "state/Events.h"
#include "state/Status.h"
#include "state/TalkFilter.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t KEY_ENTER = 13;
constexpr int32_t KEY_ESCAPE = 27;

constexpr const char* OPTIONS_HELP = "/guide/?subtopic=manual&section=options";

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
    {0, "General", 404, "Change general\ngame options", MESSAGE_GENERALOPTIONS},
    {33, "Graphics", 401, "Change graphics and\nperformance settings", MESSAGE_GRAPHICSOPTIONS},
    {66, "Console", 402, "Customise the console", MESSAGE_CONSOLEOPTIONS},
    {99, "Network", 400, "Change network settings", MESSAGE_NETWORKOPTIONS},
    {132, "Hotkeys", 403, "Edit your hotkey texts", MESSAGE_HOTKEYOPTIONS},
    {182, "Motd", 406, "Show the most recent\nMessage of the Day", MESSAGE_MESSAGEOFTHEDAY},
};

} // namespace

TTextLabel* PlaceLabel(TParentComponent* Body, const char* Text, int32_t x, int32_t y, int32_t Height) {
    const TTextFormat& Style = SkinProperties.Popups.MessageFormat;
    TTextLabel* Label = new TTextLabel(0, 0, 1, 1, Style.Font, Style.Red, Style.Green, Style.Blue,
                                       Style.Alignment, Text, false);
    Body->addChild(Label);
    Body->placeChild(Label, x, y, 0, Height);
    return Label;
}

TCheckBox* PlaceCheckBox(TParentComponent* Body, const char* Caption, int32_t x, int32_t y, int32_t Width,
                         bool Checked) {
    TCheckBox* Box = new TCheckBox(Caption);
    Body->addChild(Box);
    Body->placeChild(Box, x, y, Width, 22);
    Box->setChecked(Checked);
    return Box;
}

void UnknownEvent(int32_t Event) {
    ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "unknown event", EBRUN_NAMED(Event));
}

void OpenSitePage(TOpenURLFunction OpenURL, const char* Path) {
    if (OpenURL == nullptr) return;
    char Url[256];
    // The site's address ends in a slash; the path brings its own.
    snprintf(Url, sizeof(Url), "%.*s%s", static_cast<int>(strlen(GAME_SITE_URL) - 1), GAME_SITE_URL, Path);
    OpenURL(Url);
}

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
        OpenSitePage(OpenURL, OPTIONS_HELP);
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
        OpenSitePage(OpenURL, "/guide/?subtopic=manual&section=options#consoleoptions");
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
        OpenSitePage(OpenURL, "/guide/?subtopic=manual&section=options#networkoptions");
        return;
    }
    if (Identifier == DIALOG_OK) SetTestServer(TestServer->isChecked());
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- Factories ----

namespace {

enum TCancel { CANCEL_FRAME, CANCEL_BODY };

// A frame with "Ok" (body, OkIdentifier), "Cancel" to the frame or the body, and "Help" (body, 701) on
// request.
TModalDialog* Framed(const char* Caption, TComponent* Body, int32_t OkIdentifier, TCancel Cancel, bool Help) {
    TModalDialog* Frame = new TModalDialog(Caption, Body);
    Frame->setOkButton("Ok", TNotification(Body, OkIdentifier));
    if (Cancel == CANCEL_BODY) Frame->setCancelButton("Cancel", TNotification(Body, DIALOG_CANCEL));
    if (Help) Frame->setExtraButton("Help", TNotification(Body, DIALOG_HELP));
    return Frame;
}

TComponent* CreateOptionsDialog(intptr_t, intptr_t) {
    TOptionsDialog* Body = new TOptionsDialog;
    TModalDialog* Frame = Framed("Options", Body, DIALOG_OK, CANCEL_FRAME, false);
    Frame->setCancelButton(nullptr, EmptyNotification);
    Frame->CancelKey = TNotification(Body, DIALOG_OK);
    return Frame;
}

TComponent* CreateGeneralOptionsDialog(intptr_t, intptr_t) {
    return Framed("General Options", new TGeneralOptionsDialog(GetOpenURL()), DIALOG_OK, CANCEL_FRAME, true);
}

TComponent* CreateGraphicsOptionsDialog(intptr_t, intptr_t) {
    return Framed("Graphics Options",
                  new TGraphicsOptionsDialog(GetOpenURL(), GetSetViewMode(), GetMainWindow()), DIALOG_OK,
                  CANCEL_FRAME, true);
}

TComponent* CreateAdvancedGraphicsOptionsDialog(intptr_t Param1, intptr_t) {
    TComponent* Main = MessagePointer<TComponent>(Param1);
    return Framed("Advanced Graphics Options",
                  new TAdvancedGraphicsOptionsDialog(GetOpenURL(), Main != nullptr ? Main : GetMainWindow()),
                  DIALOG_OK, CANCEL_BODY, true);
}

TComponent* CreateConsoleOptionsDialog(intptr_t, intptr_t) {
    return Framed("Console Options", new TConsoleOptionsDialog(GetOpenURL()), DIALOG_OK, CANCEL_FRAME, true);
}

TComponent* CreateNetworkOptionsDialog(intptr_t, intptr_t) {
    return Framed("Network Options", new TNetworkOptionsDialog(GetOpenURL()), DIALOG_OK, CANCEL_FRAME, true);
}

TComponent* CreateHotkeyOptionsDialog(intptr_t, intptr_t) {
    return Framed("Hotkey Options", new THotkeyOptionsDialog(GetOpenURL()), DIALOG_OK, CANCEL_FRAME, false);
}

TComponent* CreateIgnoreListDialog(intptr_t, intptr_t) {
    TModalDialog* Frame =
        Framed("Edit Ignore List and White List", new TIgnoreListDialog, 602, CANCEL_BODY, false);
    Frame->OkKey = EmptyNotification; // Enter ends the editing of a list line
    return Frame;
}

// Event 29 carries the place, event 30 the place and the mark; the dialog takes both blocks over.
TComponent* CreateMarkEditDialog(intptr_t Param1, intptr_t Param2) {
    return Framed("Edit Mark",
                  new TMarkEditDialog(MessagePointer<TCoordinate>(Param1), MessagePointer<TMapMark>(Param2)),
                  DIALOG_OK, CANCEL_BODY, false);
}

TComponent* CreateGamemasterRuleViolationDialog(intptr_t Param1, intptr_t Param2) {
    return Framed("Rule Violation",
                  new TGamemasterRuleViolationDialog(MessagePointer<const char>(Param1),
                                                     MessagePointer<const TReportedStatement>(Param2)),
                  DIALOG_OK, CANCEL_BODY, false);
}

} // namespace

void RegisterOptionDialogs() {
    SetWindowFactory(MESSAGE_OPTIONS, CreateOptionsDialog);
    SetWindowFactory(MESSAGE_GENERALOPTIONS, CreateGeneralOptionsDialog);
    SetWindowFactory(MESSAGE_GRAPHICSOPTIONS, CreateGraphicsOptionsDialog);
    SetWindowFactory(MESSAGE_ADVANCEDGRAPHICSOPTIONS, CreateAdvancedGraphicsOptionsDialog);
    SetWindowFactory(MESSAGE_CONSOLEOPTIONS, CreateConsoleOptionsDialog);
    SetWindowFactory(MESSAGE_NETWORKOPTIONS, CreateNetworkOptionsDialog);
    SetWindowFactory(MESSAGE_HOTKEYOPTIONS, CreateHotkeyOptionsDialog);
    SetWindowFactory(MESSAGE_IGNORELIST, CreateIgnoreListDialog);
    SetWindowFactory(MESSAGE_NEWMAPMARK, CreateMarkEditDialog);
    SetWindowFactory(MESSAGE_EDITMAPMARK, CreateMarkEditDialog);
    SetWindowFactory(MESSAGE_GAMEMASTERRULEVIOLATION, CreateGamemasterRuleViolationDialog);
}
