// The one-line edit field, the password field and the focus group.
#include "gui/DialogElementsEdit.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "graphics/Engine.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "state/Events.h"
#include "state/Status.h"
#include "state/StatusClipboard.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The edit event a clipboard key stands for, or 0.
int32_t ClipboardEventOf(int32_t Key) {
    if (Key == (KEY_SHIFT | KEY_INSERT) || Key == (KEY_CTRL | 'v')) return EDIT_PASTE;
    if (Key == (KEY_CTRL | KEY_INSERT) || Key == (KEY_CTRL | 'c')) return EDIT_COPY;
    if (Key == (KEY_SHIFT | KEY_DELETE) || Key == (KEY_CTRL | 'x')) return EDIT_CUT;
    if (Key == (KEY_CTRL | KEY_DELETE)) return EDIT_DELETE;
    if (Key == (KEY_CTRL | 'a')) return EDIT_SELECT_ALL;
    return 0;
}

} // namespace

// ---- TEditField: construction and content ----

TEditField::TEditField(int32_t _MaxLength, bool ReadOnly) try : _MaxLength(_MaxLength), ReadOnly(ReadOnly) {
    CHECK(_MaxLength >= 0, _MaxLength);
    Text = std::make_unique<char[]>(static_cast<size_t>(_MaxLength) + 1);
    Text[0] = 0;
    Format = ReadOnly ? SkinProperties.EditField.ReadOnlyTextFormat : SkinProperties.EditField.TextFormat;
    allocateDrawingList(4);
}
CATCH_FRAME(_MaxLength)

TEditField::TEditField(int32_t x, int32_t y, int32_t width, int32_t height, int32_t _MaxLength,
                       bool ReadOnly) try
    : TEditField(_MaxLength, ReadOnly) {
    setPosition(x, y);
    TParentComponent::setSize(width, height);
    arrange();
}
CATCH_FRAME(_MaxLength)

int32_t TEditField::getLength() const { return static_cast<int32_t>(strlen(Text.get())); }

void TEditField::setText(const char* _Text) try {
    CHECK_TEXT(_Text != nullptr, "_Text!=NULL");
    CopyString(Text.get(), _Text, _MaxLength + 1);
    Cursor = getLength();
    FirstVisible = 0;
    SelectionLength = 0;
    arrange();
}
CATCH_FRAME()

void TEditField::clearText() {
    Text[0] = 0;
    Cursor = 0;
    FirstVisible = 0;
    SelectionLength = 0;
    arrange();
}

void TEditField::deleteText(int32_t Position, int32_t Count) try {
    int32_t Length = getLength();
    Clamp(Position, 0, Length);
    Clamp(Count, 0, Length - Position);
    if (Count == 0) return;
    memmove(&Text[Position], &Text[Position + Count], static_cast<size_t>(Length - Position - Count) + 1);
    Cursor = std::min(Cursor, Length - Count);
    SelectionLength = 0;
    arrange();
}
CATCH_FRAME(Position, Count)

void TEditField::deleteChar(int32_t Position) { deleteText(Position, 1); }

int32_t TEditField::insertText(int32_t Position, const char* _Text, int32_t Length) try {
    CHECK_TEXT(_Text != nullptr, "Text!=NULL");
    int32_t OldLength = getLength();
    CHECK_TEXT(Position >= 0 && Position <= OldLength, "Position <= (int)strlen(Text)", Position, OldLength);
    int32_t Tail = OldLength - Position, Insert = std::max(Length, 0);
    if (OldLength + Insert > _MaxLength) {
        // Cut to fit: first the insertion, then the end of the old text.
        if (Position + Insert > _MaxLength) Insert = _MaxLength - Position;
        if (Position + Tail + Insert > _MaxLength) Tail = _MaxLength - Position - Insert;
    }
    CHECK_TEXT(Position + Tail + Insert <= _MaxLength, "Cursor+insertlength+appendlength<=MaxLength", Tail,
               Insert);
    memmove(&Text[Position + Insert], &Text[Position], static_cast<size_t>(Tail));
    memcpy(&Text[Position], _Text, static_cast<size_t>(Insert));
    Text[Position + Tail + Insert] = 0;
    Cursor = std::min(Cursor, getLength());
    SelectionLength = 0;
    arrange();
    return Insert;
}
CATCH_FRAME(Position, Length)

void TEditField::insertChar(int32_t Position, int32_t Character) try {
    CHECK_TEXT(Position >= 0 && Position <= getLength(), "Position<=(int)strlen(Text)", Position);
    char Buffer[2];
    snprintf(Buffer, sizeof Buffer, "%c", Character);
    insertText(Position, Buffer, 1);
    arrange();
}
CATCH_FRAME(Position, Character)

void TEditField::setFormat(int32_t Font, int32_t Red, int32_t Green, int32_t Blue, int32_t Alignment) {
    Format = TTextFormat{Font, Red, Green, Blue, Alignment};
}

void TEditField::setCursor(int32_t Position) { Cursor = Clamp(Position, 0, getLength()); }

void TEditField::setFocus(bool Flag) {
    Focus = Flag;
    if (!Flag) SelectionLength = 0;
}

void TEditField::beginSelection(int32_t Position) {
    SelectionStart = Clamp(Position, 0, getLength());
    SelectionLength = 0;
}

// ---- TEditField: layout and drawing ----

void TEditField::setSize(int32_t _Width, int32_t _Height) {
    TParentComponent::setSize(_Width, _Height);
    arrange();
}

void TEditField::arrange() { arrangeFrame(); }

void TEditField::arrangeFrame() {
    const TSkin &Top = GetSkin(9), &Left = GetSkin(11), &Right = GetSkin(10), &Bottom = GetSkin(8);
    DrawingList[0] = {9, 0, 0, Width, Top.Height};
    DrawingList[1] = {11, 0, Top.Height, Left.Width, std::max(Height - Top.Height, 0)};
    DrawingList[2] = {10, Width - Right.Width, Top.Height, Right.Width, std::max(Height - Top.Height, 0)};
    DrawingList[3] = {8, Left.Width, Height - Bottom.Height, std::max(Width - Right.Width - Left.Width, 0),
                      Bottom.Height};
}

int32_t TEditField::visibleCount() const {
    int32_t Room = Width - 2 * SkinProperties.EditField.Margin;
    return GetTextFitLength(Format.Font, Text.get() + FirstVisible, Room);
}

void TEditField::draw(int32_t Surface, int32_t X, int32_t Y) try {
    const auto& Layout = SkinProperties.EditField;
    const TSkinColor& Fill = Disabled ? Layout.DisabledBackground : Layout.Background;
    GetSurface()->FillRectangle(Surface, X, Y, Width, Height, Fill.red, Fill.green, Fill.blue);
    TParentComponent::draw(Surface, X, Y);
    if (Disabled) return;
    const int32_t M = Layout.Margin, Font = Format.Font;
    const char* Shown = Text.get();
    FirstVisible = std::min(FirstVisible, Cursor);
    while (FirstVisible + visibleCount() < Cursor)
        FirstVisible++;
    const int32_t Visible = visibleCount();
    if (hasSelection()) {
        int32_t From = std::max(selectionLeft(), FirstVisible);
        int32_t To = std::min(selectionRight(), FirstVisible + Visible);
        if (To > From)
            GetSurface()->FillRectangle(
                Surface, X + M + GetTextWidth(Font, Shown + FirstVisible, From - FirstVisible), Y + M,
                GetTextWidth(Font, Shown + From, To - From), GetFontHeight(Font), Layout.Selection.red,
                Layout.Selection.green, Layout.Selection.blue);
    }
    PrintFormattedTextLength(Surface, X + M, Y + M, Format, Shown + FirstVisible, Visible);
    if (Focus && GetTickCounter() / 5 % 2 == 0)
        GetSurface()->DrawVerticalLine(
            Surface, X + M + GetTextWidth(Font, Shown + FirstVisible, Cursor - FirstVisible), Y + M,
            GetFontHeight(Font), Layout.Cursor.red, Layout.Cursor.green, Layout.Cursor.blue);
}
CATCH_FRAME(X, Y)

int32_t TEditField::getPositionAt(int32_t X, int32_t Y) try {
    const int32_t M = SkinProperties.EditField.Margin, Length = getLength();
    X -= M;
    Y -= M;
    if (X < 0 || Y < 0) return std::min(FirstVisible, Length);
    if (X > Width - 2 * M || Y > Height - 2 * M) return Length;
    int32_t First = std::min(FirstVisible, Length);
    return std::min(First + GetTextFitLength(Format.Font, Text.get() + First, X), Length);
}
CATCH_FRAME(X, Y)

// ---- TEditField: mouse ----

bool TEditField::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::leftButtonDown(X, Y, Flags)) return true;
    if (Disabled) return true;
    if (_FocusGroup != nullptr)
        _FocusGroup->setActive(this);
    else
        setFocus(true);
    int32_t Position = getPositionAt(X, Y);
    beginSelection(Position);
    setCursor(Position);
    if (!Selecting && Parent != nullptr) Parent->setCapture(this);
    Selecting = true;
    return true;
}
CATCH_FRAME(X, Y)

bool TEditField::mouseMove(int32_t X, int32_t Y) try {
    if (TParentComponent::mouseMove(X, Y)) return true;
    if (Selecting) {
        int32_t Position = getPositionAt(X, Y);
        Clamp(Position, 0, getLength());
        SelectionLength = Position - SelectionStart;
        Cursor = Position;
    }
    return true;
}
CATCH_FRAME(X, Y)

bool TEditField::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    if (Selecting) {
        endSelecting();
        return true;
    }
    TParentComponent::leftButtonUp(X, Y, Flags);
    return true;
}
CATCH_FRAME(X, Y)

void TEditField::endSelecting() {
    bool Held = Selecting;
    Selecting = false;
    if (Held && Parent != nullptr) Parent->releaseCapture(this);
}

void TEditField::releaseCapture(TComponent* Component) try {
    if (Component == this) {
        endSelecting();
        return;
    }
    Selecting = false;
    TParentComponent::releaseCapture(Component);
}
CATCH_FRAME()

void TEditField::cancelCapture() try {
    Selecting = false;
    TParentComponent::cancelCapture();
}
CATCH_FRAME()

bool TEditField::leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::leftDoubleClick(X, Y, Flags)) return true;
    if (Disabled) return true;
    const int32_t Length = getLength();
    int32_t Start = getPositionAt(X, Y);
    Clamp(Start, 0, Length);
    int32_t End = Start;
    while (Start > 0 && !IsSpace(Text[Start - 1]))
        Start--;
    while (End < Length && !IsSpace(Text[End]))
        End++;
    SelectionStart = Start;
    SelectionLength = End - Start;
    Cursor = End;
    return true;
}
CATCH_FRAME(X, Y)

bool TEditField::rightClick(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::rightClick(X, Y, Flags)) return true;
    int32_t State = GetActionState();
    if (!Disabled && State != 10 && State != 11)
        AddMessage(MESSAGE_EDITFIELDMENU, reinterpret_cast<intptr_t>(this), 0);
    return true;
}
CATCH_FRAME(X, Y)

// ---- TEditField: keys and edit events ----

void TEditField::keyPressed(int32_t Key) try {
    if (_FocusGroup != nullptr && Key == KEY_TAB) {
        _FocusGroup->next();
        return;
    }
    if (_FocusGroup != nullptr && Key == (KEY_SHIFT | KEY_TAB)) {
        _FocusGroup->previous();
        return;
    }
    if (Disabled) return;
    const int32_t Code = Key & KEY_CODE_MASK, Length = getLength();
    if (Code == KEY_LEFT || Code == KEY_RIGHT || Code == KEY_HOME || Code == KEY_END) {
        if (Code == KEY_LEFT && Cursor > 0) Cursor--;
        if (Code == KEY_RIGHT && Cursor < Length) Cursor++;
        if (Code == KEY_HOME) Cursor = 0;
        if (Code == KEY_END) Cursor = Length;
        SelectionLength = 0;
        return;
    }
    if (ReadOnly) return;
    if (int32_t Event = ClipboardEventOf(Key); Event != 0) {
        handleEvent(Event);
        return;
    }
    if (Code == KEY_BACKSPACE) {
        if (hasSelection()) {
            setCursor(Cursor - 1);
            handleEvent(EDIT_DELETE);
        } else if (Cursor > 0) {
            Cursor--;
            deleteChar(Cursor);
        }
        return;
    }
    if (Key == KEY_DELETE) {
        if (hasSelection())
            handleEvent(EDIT_DELETE);
        else
            deleteChar(Cursor);
        return;
    }
    if ((Key & KEY_CTRL) != 0 && (Key & KEY_ALT) == 0) return;
    if (Code < 32 || Code > 255 || Length >= _MaxLength) return;
    if (hasSelection()) handleEvent(EDIT_DELETE);
    insertChar(Cursor, Code);
    setCursor(Cursor + 1);
}
CATCH_FRAME(Key)

void TEditField::copySelection() const {
    CopyToClipboard(Text.get() + selectionLeft(), selectionRight() - selectionLeft());
}

void TEditField::deleteSelection() {
    int32_t Left = selectionLeft(), Count = selectionRight() - Left;
    Cursor = Left;
    deleteText(Left, Count);
    SelectionLength = 0;
}

void TEditField::paste() {
    if (IsClipboardEmpty()) return;
    const char* Pasted = GetClipboardText();
    if (Pasted == nullptr) return;
    if (hasSelection()) deleteSelection();
    size_t Length = strlen(Pasted);
    if (SingleLine) {
        if (const char* Feed = strchr(Pasted, '\n'); Feed != nullptr)
            Length = static_cast<size_t>(Feed - Pasted);
    }
    // Only _MaxLength characters can ever fit.
    Length = std::min(Length, static_cast<size_t>(_MaxLength));
    int32_t Inserted = insertText(Cursor, Pasted, static_cast<int32_t>(Length));
    setCursor(Cursor + Inserted);
}

void TEditField::handleEvent(int32_t Event) try {
    CHECK_TEXT(In(Event, EDIT_COPY, EDIT_SELECT_ALL), "unknown event", Event);
    switch (Event) {
    case EDIT_COPY:
        if (hasSelection()) copySelection();
        break;
    case EDIT_CUT:
        if (ReadOnly || !hasSelection()) break;
        copySelection();
        deleteSelection();
        break;
    case EDIT_PASTE:
        if (!ReadOnly) paste();
        break;
    case EDIT_DELETE:
        if (!ReadOnly && hasSelection()) deleteSelection();
        break;
    case EDIT_SELECT_ALL:
        SelectionStart = 0;
        SelectionLength = getLength();
        Cursor = SelectionLength;
        break;
    }
}
CATCH_FRAME(Event)

void TEditField::setFocusGroup(TFocusGroup* _FocusGroup) try {
    CHECK_TEXT(_FocusGroup != nullptr, "_FocusGroup!=NULL");
    this->_FocusGroup = _FocusGroup;
    _FocusGroup->addMember(this);
}
CATCH_FRAME()

// ---- TPasswordField ----

TPasswordField::TPasswordField(int32_t MaxLength) try : TEditField(MaxLength, false) {
    Mask = std::make_unique<char[]>(static_cast<size_t>(MaxLength) + 1);
    Mask[0] = 0;
}
CATCH_FRAME(MaxLength)

void TPasswordField::draw(int32_t Surface, int32_t X, int32_t Y) try {
    int32_t Length = getLength();
    memset(Mask.get(), '*', static_cast<size_t>(Length));
    Mask[Length] = 0;
    // Drawn on the mask so caret, selection and scrolling line up with the real text.
    std::swap(Text, Mask);
    struct TSwapBack {
        TPasswordField* Field;
        ~TSwapBack() { std::swap(Field->Text, Field->Mask); }
    } SwapBack{this};
    TEditField::draw(Surface, X, Y);
}
CATCH_FRAME(Surface)

bool TPasswordField::mouseMove(int32_t X, int32_t Y) { return TParentComponent::mouseMove(X, Y); }

bool TPasswordField::rightClick(int32_t X, int32_t Y, uint32_t Flags) {
    return TParentComponent::rightClick(X, Y, Flags);
}

void TPasswordField::handleEvent(int32_t Identifier) try {
    if (Identifier == EDIT_PASTE) TEditField::handleEvent(Identifier);
}
CATCH_FRAME(Identifier)

// ---- TFocusGroup ----

void TFocusGroup::addMember(TEditField* Member) try {
    CHECK_TEXT(Member != nullptr, "Member!=NULL");
    for (int32_t i = 0; i < Count; i++)
        CHECK_TEXT(MemberList.at(i) != Member, "MemberList(i) != Member", i);
    MemberList.at(Count) = Member;
    Count++;
}
CATCH_FRAME(Count)

void TFocusGroup::setActive(TEditField* Member) {
    if (Active != nullptr) Active->setFocus(false);
    Active = Member;
    if (Member != nullptr) Member->setFocus(true);
}

int32_t TFocusGroup::indexOfActive() {
    CHECK_TEXT(Active != nullptr, "Active!=NULL");
    int32_t Next = -1;
    for (int32_t i = 0; i < Count && Next == -1; i++)
        if (MemberList.at(i) == Active) Next = i;
    CHECK_TEXT(Next != -1, "Next != -1", Next);
    return Next;
}

void TFocusGroup::next() try { setActive(MemberList.at((indexOfActive() + 1) % Count)); }
CATCH_FRAME(Count)

void TFocusGroup::previous() try { setActive(MemberList.at((indexOfActive() + Count - 1) % Count)); }
CATCH_FRAME(Count)
