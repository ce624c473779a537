// The controller's event cases 1 to 60: the message boxes, the connecting boxes, the login and character
// list, the info box and the message of the day; the VIP names; the console's new tabs; and the seam of the
// windows built elsewhere.
#define EBRUN_SOURCE_NAME "Control.cpp"
#include "control/ControlEvents.h"

#include "control/Control.h"
#include "control/Dialogs.h"
#include "foundation/Exception.h"
#include "network/Communication.h"
#include "screen/ConsoleWindow.h"
#include "screen/ContextMenus.h"
#include "screen/Help.h"
#include "screen/MainWindow.h"
#include "screen/MessageTexts.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/StatusReports.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"

namespace {

constexpr int32_t LAST_WINDOW_EVENT = MESSAGE_SKILLSMENU;

// Set by the modules that build the other windows, kept for the run.
TWindowFactory Factories[LAST_WINDOW_EVENT + 1] = {};

const char* Text(intptr_t Parameter) { return MessagePointer<const char>(Parameter); }

// The fixed texts of the warning boxes.
const char* const LINK_WARNING =
    "Warning!\nYou are about to copy a link. Keep in mind that unofficial\nwebsites "
    "may be used to hack your account! Continue?";
const char* const ACCOUNT_WARNING =
    "Warning!\nNever give your account number or your password to anybody!\nNot even gamemasters or Harnwel "
    "members will need this data.\nPeople asking you for this information are trying to hack you!";

// Events 47 to 51: the console shows the tab of a new channel, conversation or request. Without the game
// screen there is no console; the request queue's buffer, which only its tab would own, is then given back.
void OpenConsoleTab(int32_t Type, intptr_t Param1, intptr_t Param2) {
    TMainWindow* Main = GetMainWindow();
    auto* Console = Main != nullptr ? dynamic_cast<TConsoleWindow*>(Main->Console) : nullptr;
    if (Console == nullptr) {
        if (Type == MESSAGE_OPENREQUESTQUEUE) DeleteTextBuffer(MessagePointer<TTextBuffer>(Param1));
        return;
    }
    const int32_t Channel = static_cast<int32_t>(Param1);
    switch (Type) {
    case MESSAGE_OPENPRIVATECHANNEL:
        Console->openChannel(TALK_PRIVATE_MESSAGE, TALK_PRIVATE_MESSAGE, Text(Param2), -1, Text(Param2));
        return;
    case MESSAGE_OPENCHANNEL:
        Console->openChannel(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, Channel, Text(Param2));
        return;
    case MESSAGE_OPENOWNCHANNEL:
        Console->openChannel(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, Channel, Text(Param2))
            ->setOwnChannel(true);
        return;
    case MESSAGE_OPENREQUESTQUEUE:
        Console->openTab(MessagePointer<TTextBuffer>(Param1), MessageTexts[145]);
        return;
    case MESSAGE_OPENREQUEST:
        Console->openRequestTab(Text(Param1));
        return;
    }
}

// The built window of Type, or NULL; Built tells whether Type is one of them.
TComponent* CreateBuiltWindow(int32_t Type, intptr_t Param1, intptr_t Param2, bool& Built) {
    Built = true;
    TComponent* Root = GetMainWindow();
    const intptr_t* Record = MessagePointer<const intptr_t>(Param1);
    switch (Type) {
    case MESSAGE_MESSAGEBOX:
        return CreateMessageBox(Text(Param1), Text(Param2));
    case MESSAGE_MESSAGEBOX2:
        return CreateMarkupBox(Text(Param1), Text(Param2));
    case MESSAGE_LOADINGCHARACTERS:
        return CreateConnectingBox("Connecting", "Your character list is being loaded. Please wait.", Root);
    case MESSAGE_CONNECTINGGAME:
        return CreateConnectingBox("Connecting", "Connecting to the game world. Please wait.", Root);
    case MESSAGE_WAITINGLIST:
        return CreateReconnectDialog("Please wait", Text(Param1), static_cast<int32_t>(Param2));
    case MESSAGE_YESNOBOX:
        CHECK_TEXT(Record != nullptr, "Record!=NULL");
        return CreateYesNoBox(Text(Record[0]), Text(Record[1]), MessagePointer<TComponent>(Record[2]),
                              static_cast<int32_t>(Record[3]), 2);
    case MESSAGE_LOGOUTBOX:
        CHECK_TEXT(Record != nullptr, "Record!=NULL");
        return CreateLogoutBox(Text(Record[0]), Text(Record[1]), Root);
    case MESSAGE_LOGINDIALOG:
        return CreateLoginDialog(GetOpenURL());
    case MESSAGE_WAITFORCHARACTERS:
        return CreateWaitBox("Please wait", "Please wait for your character list.",
                             static_cast<int32_t>(Param1));
    case MESSAGE_CHARACTERLIST:
        return CreateCharacterListDialog(static_cast<int32_t>(Param1));
    case MESSAGE_LINKWARNING:
        return CreateYesNoBox(Text(Param1), LINK_WARNING, Root, 33, 2);
    case MESSAGE_ACCOUNTDATAWARNING:
        return CreateMessageBox(Text(Param1), ACCOUNT_WARNING);
    case MESSAGE_INFORMATION:
        return CreateInfoDialog(GetOpenURL());
    case MESSAGE_MESSAGEOFTHEDAY:
        return CreateMessageBox("Message of the Day", GetMessageOfTheDay());
    case MESSAGE_ADDVIPNAME:
        AddVIPName(Text(Param1));
        return nullptr;
    case MESSAGE_REMOVEVIPNAME:
        RemoveVIPName(Text(Param1));
        return nullptr;
    case MESSAGE_OPENPRIVATECHANNEL:
    case MESSAGE_OPENCHANNEL:
    case MESSAGE_OPENOWNCHANNEL:
    case MESSAGE_OPENREQUESTQUEUE:
    case MESSAGE_OPENREQUEST:
        OpenConsoleTab(Type, Param1, Param2);
        return nullptr;
    default:
        Built = false;
        return nullptr;
    }
}

// The window of a type built by another module, after the controller's own part of the event.
TComponent* CreateOtherWindow(int32_t Type, intptr_t Param1, intptr_t Param2) {
    if (Type == MESSAGE_OUTFIT) SetOutfitRequested(false);
    if (Type == MESSAGE_ERRORREPORTDIALOG && GetErrorReports() <= 0) return nullptr;
    TWindowFactory Factory = Factories[Type];
    return Factory != nullptr ? Factory(Param1, Param2) : nullptr;
}

} // namespace

bool PerformWindowEvent(int32_t Type, intptr_t Param1, intptr_t Param2) try {
    if (!In(Type, 1, LAST_WINDOW_EVENT)) return false;
    bool Built = false;
    TComponent* Window = CreateBuiltWindow(Type, Param1, Param2, Built);
    if (!Built) Window = CreateOtherWindow(Type, Param1, Param2);
    if (Window != nullptr) SetModalWindow(Window);
    return true;
}
CATCH_FRAME(Type)

void SetWindowFactory(int32_t Type, TWindowFactory Factory) {
    CHECK(In(Type, 1, LAST_WINDOW_EVENT), Type);
    Factories[Type] = Factory;
}

void RegisterContextMenus() {
    for (int32_t Type = MESSAGE_OBJECTMENU; Type <= MESSAGE_SKILLSMENU; Type++)
        SetWindowFactory(Type, GetContextMenuFactory(Type));
    THelpPopupHooks Help;
    Help.Create = []() -> TComponent* { return new THelpPopup(GetCurrentHelpText()); };
    Help.Place = PlaceHelpPopupInWindow;
    SetHelpPopupHooks(Help);
}
