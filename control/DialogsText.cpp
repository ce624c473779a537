// The text of a readable object, editable where the object type allows, and a list text of the server;
// their factories.
#include "control/DialogsText.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "gui/DialogElementsMultiLine.h"
#include "gui/DialogElementsViews.h"
#include "network/CommunicationSend.h"
#include "screen/MessageTexts.h"
#include "state/Objects.h"
#include "state/Status.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The introduction line of the text dialog.
void FormatTextIntroduction(char* Buffer, size_t Size, bool Editable, const char* Author, const char* Text) {
    const char* Break = Editable ? "\n" : "";
    const char* More = Editable ? MessageTexts[TEXT_YOU_CAN_WRITE] : "";
    if (Text == nullptr || Text[0] == 0)
        snprintf(Buffer, Size, "%s%s%s",
                 MessageTexts[Editable ? TEXT_NOTHING_WRITTEN_YET : TEXT_NOTHING_WRITTEN], Break, More);
    else if (Author != nullptr && Author[0] != 0)
        snprintf(Buffer, Size, "%s\n%s.%s%s", MessageTexts[TEXT_YOU_READ_WRITTEN_BY], Author, Break, More);
    else
        snprintf(Buffer, Size, "%s%s%s", MessageTexts[TEXT_YOU_READ], Break, More);
}

} // namespace

// ---- TTextDialog ----

bool IsTextEditable(int32_t ObjectType, const char* Text) {
    if (GetObjectFlag(ObjectType, WRITE)) return true;
    return GetObjectFlag(ObjectType, WRITEONCE) && (Text == nullptr || Text[0] == 0);
}

TTextDialog::TTextDialog(int32_t MaxLength, const char* Text, uint32_t TextID, int32_t ObjectType,
                         int32_t ObjectData, int32_t ObjectData2, const char* Label) try
    : TextID(TextID), ObjectType(ObjectType), ObjectData(ObjectData), ObjectData2(ObjectData2) {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    TComponent::setSize(250, 177);
    ObjectView = PlaceChild(this, new TObjectView({ObjectType, ObjectData, ObjectData2}, nullptr, false), 0,
                            0, 32, 32);
    if (Label != nullptr) PlaceChild(this, MessageLabel(Label), 45, 0, 0, 42);
    const bool ReadOnly = !IsTextEditable(ObjectType, Text);
    TextField = PlaceChild(this, new TMultiLineEditField(MaxLength, ReadOnly), 0, 45, 0, 132);
    TextField->setFocus(!ReadOnly);
    TextField->setText(Text, false);
}
CATCH_FRAME()

void TTextDialog::keyPressed(int32_t Key) { TextField->keyPressed(Key); }

void TTextDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK) {
        // A text read from the server may be longer than one message carries; only that much goes back.
        const std::string Text(TextField->getText(), strnlen(TextField->getText(), EDIT_TEXT_LIMIT));
        SendEditText(TextID, Text.c_str());
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TListEditDialog ----

TListEditDialog::TListEditDialog(int32_t MaxLength, const char* Text, int32_t ListType, uint32_t ListID,
                                 const char* Label) try
    : ListType(static_cast<uint8_t>(ListType)), ListID(ListID) {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    CHECK_TEXT(static_cast<int32_t>(strlen(Text)) < MaxLength, "(int)strlen(Text)<MaxLength");
    TComponent::setSize(250, 177);
    allocateDrawingList(1);
    if (Label != nullptr) PlaceChild(this, MessageLabel(Label), 45, 0, 0, 28);
    TextField = PlaceChild(this, new TMultiLineEditField(MaxLength - 1, false), 0, 45, 0, 132);
    TextField->setFocus(true);
    TextField->setText(Text, false);
    arrange();
}
CATCH_FRAME()

void TListEditDialog::arrange() { DrawingList[0] = {217, 0, 0, 0, 0, 0, 0}; }

void TListEditDialog::keyPressed(int32_t Key) { TextField->keyPressed(Key); }

void TListEditDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK) SendEditList(ListType, ListID, TextField->getText());
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- Factories ----

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
        EnterToBody(Frame); // Enter breaks a line of the text
    } else {
        // OK, and Enter with it, only closes: a text the player could not change is never sent back.
        Frame->setOkButton("Ok", TNotification(Body, DIALOG_CANCEL));
        Frame->setCancelButton(nullptr, EmptyNotification);
    }
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
        FrameBody("Edit List",
                  new TListEditDialog(MaxLength, Shown, Record[0], static_cast<uint32_t>(Record[1]),
                                      MessageTexts[TEXT_ONE_NAME_PER_LINE]),
                  "Ok");
    EnterToBody(Frame);
    return Frame;
}
