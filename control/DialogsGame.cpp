// The dialogs that finish an object action: how many pieces of a stack to move, the text of a readable
// object, a list text of the server, and the outfit with its four colours.
#define EBRUN_SOURCE_NAME "Dialogs.cpp"
#include "control/DialogsGame.h"

#include "control/DialogsGameShared.h"
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsFrame.h"
#include "gui/DialogElementsMultiLine.h"
#include "gui/DialogElementsScroll.h"
#include "gui/DialogElementsViews.h"
#include "network/CommunicationSend.h"
#include "state/Status.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int32_t KEY_HOME = 274, KEY_END = 275, KEY_PAGEUP = 276, KEY_PAGEDOWN = 277;
constexpr int32_t KEY_UP = 268, KEY_DOWN = 271;
constexpr int32_t MAX_MOVE_COUNT = 100;
constexpr int32_t OBJECT_FLAG_WRITABLE = 8;      // the text can always be rewritten
constexpr int32_t OBJECT_FLAG_WRITABLE_ONCE = 9; // the text can be written while it is empty

constexpr int32_t NEXT_LOOK = 6;
constexpr int32_t PART_BASE = 1000;
constexpr int32_t COLOR_BASE = 2000;
constexpr int32_t COLOR_COLUMNS = 19;

} // namespace

// ---- TMoveCountDialog ----

TMoveCountDialog::TMoveCountDialog() try {
    const TObject* Dragged = GetDragSource(&SourcePosition, &SourceX, &SourceY, &SourceZ);
    CHECK_TEXT(Dragged != nullptr && Dragged->Type != 0, "DraggedObject!=0");
    CHECK_TEXT(In(Dragged->Data, 1, MAX_MOVE_COUNT), "In(DraggedObject.Data,1,100)");
    Object = *Dragged;
    MaximumCount = Object.Data;
    GetDropPosition(&DestinationX, &DestinationY, &DestinationZ);
    TComponent::setSize(200, 44);
    PlaceChild(this, MessageLabel("Set the number of\nitems you want to move:"), 45, 2, 0, 28);
    Slider = PlaceChild(this, new THorizontalScrollBox(1, MaximumCount, MaximumCount, 1, 1, nullptr, 0), 45,
                        32, 0, 12);
}
CATCH_FRAME()

int32_t TMoveCountDialog::getCount() const { return Slider->getBar()->_Value; }

void TMoveCountDialog::setCount(int32_t Value) { Slider->getBar()->setValue(Clamp(Value, 1, MaximumCount)); }

void TMoveCountDialog::draw(int32_t Surface, int32_t X, int32_t Y) {
    Object.Data = getCount();
    const TTextFormat CountFormat{2, 192, 192, 192, RIGHT_ALIGN};
    DrawObject(Surface, X, Y, 32, Object, 0, 0, 0, X, Y, 32, 32, CountFormat, false);
    TParentComponent::draw(Surface, X, Y);
}

void TMoveCountDialog::keyPressed(int32_t Key) try {
    if (Key == KEY_ENTER) return handleEvent(DIALOG_OK);
    if (Key == KEY_ESCAPE) return handleEvent(DIALOG_CANCEL);
    if (Key >= '0' && Key <= '9') {
        setCount(Key - '0' + 10 * LastDigit);
        LastDigit = Key - '0';
        return;
    }
    const int32_t Count = getCount();
    switch (Key) {
    case KEY_PAGEUP:
        return setCount(Count + 10);
    case KEY_PAGEDOWN:
        return setCount(Count - 10);
    case KEY_HOME:
        return setCount(MaximumCount);
    case KEY_END:
        return setCount(1);
    case KEY_UP:
        return setCount(Count + 1);
    case KEY_DOWN:
        return setCount(Count - 1);
    default:
        Slider->keyPressed(Key);
    }
}
CATCH_FRAME(Key)

void TMoveCountDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK) {
        const int32_t Count = getCount();
        if (Count > 0)
            SendMoveObject(SourceX, SourceY, SourceZ, Object.Type, SourcePosition, DestinationX, DestinationY,
                           DestinationZ, Count);
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TTextDialog ----

bool IsTextEditable(int32_t ObjectType, const char* Text) {
    if (GetObjectFlag(ObjectType, OBJECT_FLAG_WRITABLE)) return true;
    return GetObjectFlag(ObjectType, OBJECT_FLAG_WRITABLE_ONCE) && (Text == nullptr || Text[0] == 0);
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

// ---- TOutfitDialog ----

TOutfitDialog::TOutfitDialog(const int32_t* Data) try {
    CHECK_TEXT(Data != nullptr, "Data!=NULL");
    TOutfitData Record;
    memcpy(&Record, Data, sizeof(Record));
    FirstLookType = std::min(Record.FirstLookType, Record.LastLookType);
    LastLookType = std::max(Record.FirstLookType, Record.LastLookType);
    // Only looks this client knows can be drawn; the server's range is held to them.
    const int32_t KnownLooks = std::max(GetNumberOfOutfitTypes(), 1);
    FirstLookType = Clamp(FirstLookType, 1, KnownLooks);
    LastLookType = Clamp(LastLookType, 1, KnownLooks);
    LookType = Clamp(Record.LookType, FirstLookType, LastLookType);
    memcpy(Colors, Record.Colors, sizeof(Colors));
    TComponent::setSize(384, 133);

    OutfitView = new TOutfitView(LookType, 2, Colors, nullptr);
    PlaceChild(this, new TWindowFrame(OutfitView, 0, 9, 0, 11, 10, 0, 8, 0, 8), 0, 0, 68, 68);
    addChild(new TTextButton(13, 72, "Next", this, NEXT_LOOK, nullptr));
    const char* const PartNames[4] = {"Head", "Body", "Legs", "Feet"};
    for (int32_t P = 0; P < 4; P++) {
        PartButtons[P] = new TTextButton(81, 24 * P, PartNames[P], this, PART_BASE + P, nullptr);
        PartButtons[P]->setRadioButtonGroup(&PartGroup);
        addChild(PartButtons[P]);
    }
    for (int32_t i = 0; i < COLORS; i++) {
        int32_t Red, Green, Blue;
        GetOutfitColor(i, Red, Green, Blue);
        ColorButtons[i] = new TColorButton(137 + 13 * (i % COLOR_COLUMNS), 13 * (i / COLOR_COLUMNS), Red,
                                           Green, Blue, 22, 23, this, COLOR_BASE + i, nullptr);
        ColorButtons[i]->setRadioButtonGroup(&ColorGroup);
        addChild(ColorButtons[i]);
    }
    PlaceChild(this,
               MessageLabel("Choose an outfit and determine the colours of the various\nparts of your "
                            "character's body"),
               0, 105, 0, 28);
    PartGroup.Selected = PartButtons[0];
    handleEvent(PART_BASE);
}
CATCH_FRAME()

void TOutfitDialog::handleEvent(int32_t Identifier) try {
    if (In(Identifier, PART_BASE, PART_BASE + 3)) {
        CurrentPart = Identifier - PART_BASE;
        const int32_t Color = Colors[CurrentPart];
        ColorGroup.Selected = In(Color, 0, COLORS - 1) ? ColorButtons[Color] : nullptr;
    } else if (In(Identifier, COLOR_BASE, COLOR_BASE + COLORS - 1)) {
        Colors[CurrentPart] = Identifier - COLOR_BASE;
        OutfitView->setMask(CurrentPart + 1, Colors[CurrentPart]);
        OutfitView->arrange();
    } else if (Identifier == NEXT_LOOK) {
        LookType = LookType >= LastLookType ? FirstLookType : LookType + 1;
        OutfitView->setLookType(LookType);
        OutfitView->arrange();
    } else if (Identifier == DIALOG_OK) {
        SendSetOutfit(LookType, Colors);
        SetActionState(ACTIONSTATE_NONE);
    } else if (Identifier == DIALOG_CANCEL) {
        SetActionState(ACTIONSTATE_NONE);
    }
}
CATCH_FRAME(Identifier)
