// The factories of the game dialogs: each builds the body, frames it and binds the buttons and keys; and
// their registration with the event dispatch.
#define EBRUN_SOURCE_NAME "Dialogs.cpp"
#include "control/DialogsGame.h"

#include "control/ControlEvents.h"
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "state/CreaturesBuddies.h"
#include "state/Events.h"
#include "state/Status.h"
#include "state/StatusReports.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// A frame whose OK fires the body's identifier 1 and whose Cancel is the frame's own.
TModalDialog* Framed(const char* Caption, TComponent* Body, const char* OkText) {
    TModalDialog* Frame = new TModalDialog(Caption, Body);
    Frame->setOkButton(OkText, TNotification(Body, DIALOG_OK));
    return Frame;
}

// Multi-line bodies take Enter themselves.
void EnterToBody(TModalDialog* Frame) { Frame->OkKey = EmptyNotification; }

// The introduction line of the text dialog.
void FormatTextIntroduction(char* Buffer, size_t Size, bool Editable, const char* Author, const char* Text) {
    const char* More = Editable ? "\nYou can enter new text." : "";
    if (Text == nullptr || Text[0] == 0)
        snprintf(Buffer, Size, "%s",
                 Editable ? "It is currently empty.\nYou can enter new text." : "It is empty.");
    else if (Author != nullptr && Author[0] != 0)
        snprintf(Buffer, Size, "You read the following, written by\n%s.%s", Author, More);
    else
        snprintf(Buffer, Size, "You read the following.%s", More);
}

template <typename T> const T* Pointer(intptr_t Parameter) { return MessagePointer<const T>(Parameter); }

TComponent* OpenMoveCount(intptr_t, intptr_t) { return CreateMoveCountDialog(); }
TComponent* OpenText(intptr_t Param1, intptr_t Param2) {
    const intptr_t* Texts = Pointer<intptr_t>(Param2);
    return CreateTextDialog(Pointer<int32_t>(Param1), Texts != nullptr ? Pointer<char>(Texts[0]) : nullptr,
                            Texts != nullptr ? Pointer<char>(Texts[1]) : nullptr);
}
TComponent* OpenListEdit(intptr_t Param1, intptr_t Param2) {
    return CreateListEditDialog(Pointer<int32_t>(Param1), Pointer<char>(Param2));
}
TComponent* OpenOutfit(intptr_t Param1, intptr_t) { return CreateOutfitDialog(Pointer<int32_t>(Param1)); }
TComponent* OpenBugReport(intptr_t, intptr_t) { return CreateBugReportDialog(); }
TComponent* OpenChannels(intptr_t Param1, intptr_t Param2) {
    return CreateChannelDialog(Pointer<uint32_t>(Param1), Pointer<char>(Param2));
}
TComponent* OpenInvite(intptr_t, intptr_t) { return CreateInviteDialog(); }
TComponent* OpenExclude(intptr_t, intptr_t) { return CreateExcludeDialog(); }
TComponent* OpenRuleViolation(intptr_t, intptr_t) { return CreateRuleViolationDialog(); }
TComponent* OpenAddVIP(intptr_t, intptr_t) { return CreateAddVIPDialog(); }
TComponent* OpenEditVIP(intptr_t Param1, intptr_t) {
    return CreateEditVIPDialog(static_cast<uint32_t>(Param1));
}
TComponent* OpenDownload(intptr_t Param1, intptr_t Param2) {
    return CreateDownloadDialog(Pointer<char>(Param1), static_cast<int32_t>(Param2));
}
TComponent* OpenErrorReport(intptr_t, intptr_t) { return CreateErrorReportDialog(); }

} // namespace

TModalDialog* CreateMoveCountDialog() {
    int32_t Position, x, y, z;
    const TObject* Dragged = GetDragSource(&Position, &x, &y, &z);
    if (Dragged == nullptr || Dragged->Type == 0 || !In(Dragged->Data, 1, 100)) {
        SetActionState(ACTIONSTATE_NONE);
        return nullptr;
    }
    TMoveCountDialog* Body = new TMoveCountDialog;
    TModalDialog* Frame = new TModalDialog("Move Objects", Body);
    Frame->setOkButton("Ok", TNotification(Body, DIALOG_OK));
    Frame->setCancelButton("Cancel", TNotification(Body, DIALOG_CANCEL));
    return Frame;
}

TModalDialog* CreateTextDialog(const int32_t* Record, const char* Author, const char* Text) {
    if (Record == nullptr) return nullptr;
    if (Text == nullptr) Text = "";
    const int32_t ObjectType = Record[1];
    const bool Editable = IsTextEditable(ObjectType, Text);
    char Introduction[256];
    FormatTextIntroduction(Introduction, sizeof(Introduction), Editable, Author, Text);
    // A text to read is shown whole; a text to edit is held to what one message carries.
    const int32_t Length = static_cast<int32_t>(strlen(Text));
    const int32_t MaxLength = Editable ? EDIT_TEXT_LIMIT : std::max(Length, 1);
    TTextDialog* Body = new TTextDialog(MaxLength, Text, static_cast<uint32_t>(Record[0]), ObjectType, 0,
                                        Record[2], Introduction);
    TModalDialog* Frame = new TModalDialog(Editable ? "Edit Text" : "Show Text", Body);
    if (Editable) {
        Frame->setOkButton("Ok", TNotification(Body, DIALOG_OK));
    } else {
        Frame->setOkButton("Ok", TNotification(Body, DIALOG_CANCEL));
        Frame->setCancelButton(nullptr, EmptyNotification);
    }
    EnterToBody(Frame);
    return Frame;
}

TModalDialog* CreateListEditDialog(const int32_t* Record, const char* Text) {
    if (Record == nullptr) return nullptr;
    if (Text == nullptr) Text = "";
    // The server's list may be longer than the field; it is cut to what the field holds.
    const int32_t MaxLength = 2000;
    char Shown[MaxLength];
    CopyString(Shown, Text, MaxLength);
    TModalDialog* Frame =
        Framed("Edit List",
               new TListEditDialog(MaxLength, Shown, Record[0], static_cast<uint32_t>(Record[1]),
                                   "Enter one name per line."),
               "Ok");
    EnterToBody(Frame);
    return Frame;
}

TModalDialog* CreateOutfitDialog(const int32_t* Data) {
    if (Data == nullptr) return nullptr;
    return Framed("Select Outfit", new TOutfitDialog(Data), "Ok");
}

TModalDialog* CreateChannelDialog(const uint32_t* Channels, const char* Names) {
    // A list without channels offers nothing to choose.
    if (Channels == nullptr || Channels[0] == 0) return nullptr;
    const int32_t Count = static_cast<int32_t>(std::min<uint32_t>(Channels[0], INT32_MAX));
    return Framed("New Channel", new TChannelDialog(Count, Channels + 1, Names), "Open");
}

TModalDialog* CreateInviteDialog() {
    return Framed("Invite player to private chat channel", new TInviteDialog(false), "Add");
}

TModalDialog* CreateExcludeDialog() {
    return Framed("Exclude player from private chat channel", new TInviteDialog(true), "Add");
}

TModalDialog* CreateBugReportDialog() {
    TModalDialog* Frame = Framed("Reporting", new TBugReportDialog, "Send");
    EnterToBody(Frame);
    return Frame;
}

TModalDialog* CreateRuleViolationDialog() {
    if (FindTextBuffer(TALK_GAMEMASTER_ANSWER, nullptr, -1) != nullptr) {
        SetStatusMessage("You have already submitted a request. Please close the current request.");
        return nullptr;
    }
    return Framed("Report Rule Violation", new TRuleViolationDialog, "Ok");
}

TModalDialog* CreateAddVIPDialog() { return Framed("Add to VIP list", new TAddVIPDialog, "Add"); }

TModalDialog* CreateEditVIPDialog(uint32_t CharacterID) {
    // The VIP may have left the list while the event waited.
    if (GetBuddyPosition(CharacterID) < 0) return nullptr;
    TModalDialog* Frame = Framed("Change player in VIP list", new TEditVIPDialog(CharacterID), "Ok");
    EnterToBody(Frame);
    return Frame;
}

TModalDialog* CreateDownloadDialog(const char* Name, int32_t Number) {
    TDownloadDialog* Body = new TDownloadDialog(Name, Number);
    TModalDialog* Frame = new TModalDialog("Updating ... Please wait", Body);
    Frame->setOkButton("Abort", TNotification(Body, DIALOG_CANCEL));
    Frame->setCancelButton(nullptr, EmptyNotification);
    return Frame;
}

TModalDialog* CreateErrorReportDialog() {
    if (GetErrorReports() <= 0) return nullptr;
    TErrorReportDialog* Body = new TErrorReportDialog;
    TModalDialog* Frame = new TModalDialog("Error Report", Body);
    Frame->setOkButton("Send", TNotification(Body, DIALOG_OK));
    Frame->setCancelButton("Cancel", TNotification(Body, DIALOG_CANCEL));
    return Frame;
}

void InitGameDialogs() {
    SetWindowFactory(MESSAGE_MOVECOUNT, OpenMoveCount);
    SetWindowFactory(MESSAGE_EDITTEXT, OpenText);
    SetWindowFactory(MESSAGE_EDITLIST, OpenListEdit);
    SetWindowFactory(MESSAGE_OUTFIT, OpenOutfit);
    SetWindowFactory(MESSAGE_BUGREPORT, OpenBugReport);
    SetWindowFactory(MESSAGE_CHANNELLIST, OpenChannels);
    SetWindowFactory(MESSAGE_INVITE, OpenInvite);
    SetWindowFactory(MESSAGE_EXCLUDE, OpenExclude);
    SetWindowFactory(MESSAGE_RULEVIOLATION, OpenRuleViolation);
    SetWindowFactory(MESSAGE_ADDVIP, OpenAddVIP);
    SetWindowFactory(MESSAGE_EDITVIP, OpenEditVIP);
    SetWindowFactory(MESSAGE_DOWNLOAD, OpenDownload);
    SetWindowFactory(MESSAGE_ERRORREPORTDIALOG, OpenErrorReport);
}
