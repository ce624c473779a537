// The multi-line edit field.
#include "gui/DialogElementsMultiLine.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/Engine.h"
#include "gui/DialogElementsScroll.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "state/Status.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsLineKey(int32_t Code) {
    return Code == KEY_UP || Code == KEY_DOWN || Code == KEY_HOME || Code == KEY_END || Code == KEY_PAGE_UP ||
           Code == KEY_PAGE_DOWN;
}

} // namespace

TMultiLineEditField::TMultiLineEditField(int32_t _MaxLength, bool ReadOnly) try
    : TEditField(_MaxLength, ReadOnly) {
    ScrollBox = new TVerticalScrollBox(0, 0, SkinProperties.VerticalScrollBar.BoxWidth,
                                       SkinProperties.VerticalScrollBar.BoxMinimumHeight, 0, 0, 0, 0, 1);
    addChild(ScrollBox);
    SingleLine = false;
}
CATCH_FRAME(_MaxLength)

int32_t TMultiLineEditField::getMinimumWidth() const { return ScrollBox->getMinimumWidth(); }
int32_t TMultiLineEditField::getMinimumHeight() const { return ScrollBox->getMinimumHeight(); }
int32_t TMultiLineEditField::getFirstVisible() const { return ScrollBox->getBar()->_Value; }

void TMultiLineEditField::setFocus(bool Flag) { TEditField::setFocus(Flag && !ReadOnly); }

void TMultiLineEditField::setText(const char* _Text, bool KeepPosition) try {
    CHECK_TEXT(_Text != nullptr, "_Text!=NULL");
    int32_t Kept = Cursor;
    TEditField::setText(_Text);
    Cursor = KeepPosition ? std::min(Kept, getLength()) : getLength();
    SelectionLength = 0;
    arrange();
    if (!KeepPosition) ScrollBox->getBar()->setValue(ScrollBox->getBar()->_Max);
}
CATCH_FRAME()

// ---- Wrapping and layout ----

void TMultiLineEditField::wrap() {
    CHECK(FieldWidth > 0, FieldWidth);
    const char* T = Text.get();
    const int32_t Length = getLength();
    LineCount = 0;
    int32_t Position = 0;
    while (Position <= Length) {
        LineStart.at(LineCount++) = Position;
        const int32_t Fit = GetTextFitLength(Format.Font, T + Position, FieldWidth);
        int32_t LastBreak = -1;
        bool Ended = false;
        for (int32_t i = 0;; i++) {
            const char c = T[Position + i];
            if (c == 0 || c == '\n') {
                Position += i + 1;
                Ended = true;
                break;
            }
            if (i >= Fit) break;
            if (!IsLetter(c) && !IsDigit(c)) LastBreak = i;
        }
        if (Ended) continue;
        // A line takes at least one character, or a field narrower than one would never be wrapped.
        Position += LastBreak >= 0 ? LastBreak + 1 : std::max(Fit, 1);
    }
    LineStart.at(LineCount) = Length;
}

void TMultiLineEditField::arrange() try {
    const TSkin &Top = GetSkin(9), &Bottom = GetSkin(8), &Right = GetSkin(10);
    const int32_t M = SkinProperties.EditField.Margin;
    if (Width > 0 && Height > 0)
        placeChild(ScrollBox, -(Right.Width + ScrollBox->Width), Top.Height, ScrollBox->Width,
                   Height - Top.Height - Bottom.Height);
    FieldWidth = Width - 2 * M - ScrollBox->Width;
    FieldHeight = Height - 2 * M;
    VisibleLines = std::max(FieldHeight / GetFontLineHeight(Format.Font), 0);
    if (Width > 0) {
        wrap();
    } else { // not yet sized: one line
        LineCount = 1;
        LineStart.at(0) = 0;
        LineStart.at(1) = getLength();
    }
    TVerticalScrollBar* Bar = ScrollBox->getBar();
    if (VisibleLines > LineCount)
        Bar->setRange(0, 0, 0, 0);
    else
        Bar->setRange(0, LineCount - VisibleLines, Bar->_Value, VisibleLines);
    arrangeFrame();
}
CATCH_FRAME()

// ---- Drawing ----

void TMultiLineEditField::draw(int32_t Surface, int32_t X, int32_t Y) try {
    const auto& Layout = SkinProperties.EditField;
    GetSurface()->FillRectangle(Surface, X, Y, Width, Height, Layout.Background.red, Layout.Background.green,
                                Layout.Background.blue);
    TParentComponent::draw(Surface, X, Y);
    if (isDisabled()) return;
    const int32_t Font = Format.Font, P = GetFontLineHeight(Font), M = Layout.Margin, Top = getFirstVisible();
    const char* T = Text.get();
    const bool CaretShown = Focus && !ReadOnly && GetTickCounter() / 5 % 2 == 0;
    for (int32_t i = 0; i < VisibleLines && Top + i < LineCount; i++) {
        const int32_t Line = Top + i, Start = LineStart.at(Line), End = LineStart.at(Line + 1);
        const int32_t x = X + M, y = Y + M + i * P;
        if (hasSelection()) {
            const int32_t From = std::max(selectionLeft(), Start), To = std::min(selectionRight(), End);
            if (To > From)
                GetSurface()->FillRectangle(
                    Surface, x + GetTextWidth(Font, T + Start, From - Start), y,
                    GetTextWidth(Font, T + From, To - From), selectionRight() < End ? GetFontHeight(Font) : P,
                    Layout.Selection.red, Layout.Selection.green, Layout.Selection.blue);
        }
        PrintFormattedTextLength(Surface, x, y, Format, T + Start, End - Start);
        const bool OnLine =
            (Cursor >= Start && Cursor < End) || (Line == LineCount - 1 && Cursor == getLength());
        if (CaretShown && OnLine)
            GetSurface()->DrawVerticalLine(Surface, x + GetTextWidth(Font, T + Start, Cursor - Start), y,
                                           GetFontHeight(Font), Layout.Cursor.red, Layout.Cursor.green,
                                           Layout.Cursor.blue);
    }
}
CATCH_FRAME(X, Y)

int32_t TMultiLineEditField::getPositionAt(int32_t X, int32_t Y) try {
    const int32_t M = SkinProperties.EditField.Margin, Length = getLength(), Top = getFirstVisible();
    X -= M;
    Y -= M;
    if (X < 0 || Y < 0) return LineStart.at(std::min(Top, LineCount - 1));
    if (X > Width - 2 * M || Y > Height - 2 * M) {
        if (Top + VisibleLines >= LineCount) return Length;
        return LineStart.at(std::min(Top + VisibleLines, LineCount - 1));
    }
    const int32_t Line = std::min(Top + Y / GetFontLineHeight(Format.Font), LineCount - 1);
    const int32_t Start = LineStart.at(Line), LineLength = LineStart.at(Line + 1) - Start;
    const int32_t Fit = GetTextFitLength(Format.Font, Text.get() + Start, X);
    return std::min(Start + std::min(LineLength, Fit), Length);
}
CATCH_FRAME(X, Y)

// ---- Keys ----

bool TMultiLineEditField::mouseScroll(int32_t X, int32_t Y, uint32_t Kind) try {
    if (TParentComponent::mouseScroll(X, Y, Kind)) return true;
    if (Kind == 1 || Kind == 2) ScrollBox->mouseScroll(0, 0, Kind);
    return true;
}
CATCH_FRAME(X, Y)

int32_t TMultiLineEditField::lineOf(int32_t Position) {
    int32_t Line = 0;
    while (Line + 1 < LineCount && LineStart.at(Line + 1) <= Position)
        Line++;
    return Line;
}

int32_t TMultiLineEditField::lastCharacter(int32_t Line) {
    if (Line == LineCount - 1) return getLength();
    const int32_t Start = LineStart.at(Line), Next = LineStart.at(Line + 1);
    return Next > Start ? Next - 1 : Start;
}

int32_t TMultiLineEditField::sameColumn(int32_t From, int32_t Target) {
    const int32_t Font = Format.Font, FromStart = LineStart.at(From), Start = LineStart.at(Target);
    const int32_t Column = GetTextWidth(Font, Text.get() + FromStart, Cursor - FromStart);
    return std::min(Start + GetTextFitLength(Font, Text.get() + Start, Column), lastCharacter(Target));
}

void TMultiLineEditField::moveCaret(int32_t Code) {
    const int32_t L = lineOf(Cursor);
    SelectionLength = 0;
    if (Code == KEY_HOME) Cursor = LineStart.at(L);
    if (Code == KEY_END) Cursor = lastCharacter(L);
    if (Code == KEY_UP && L > 0) Cursor = sameColumn(L, L - 1);
    if (Code == KEY_DOWN && L < LineCount - 1) Cursor = sameColumn(L, L + 1);
    if (Code == KEY_PAGE_UP) Cursor = L - VisibleLines >= 0 ? sameColumn(L, L - VisibleLines) : 0;
    if (Code == KEY_PAGE_DOWN)
        Cursor = L + VisibleLines <= LineCount - 1 ? sameColumn(L, L + VisibleLines) : getLength();
}

void TMultiLineEditField::scrollBy(int32_t Key) {
    int32_t Top = getFirstVisible();
    switch (Key & KEY_CODE_MASK) {
    case KEY_UP:
        Top -= 1;
        break;
    case KEY_DOWN:
        Top += 1;
        break;
    case KEY_PAGE_UP:
        Top -= VisibleLines;
        break;
    case KEY_PAGE_DOWN:
        Top += VisibleLines;
        break;
    }
    Top = std::min(std::max(Top, 0), LineCount - VisibleLines);
    ScrollBox->getBar()->setValue(Top);
}

void TMultiLineEditField::keyPressed(int32_t Key) try {
    if (ReadOnly) {
        if (Key == (KEY_CTRL | KEY_INSERT) || Key == (KEY_CTRL | 'c')) handleEvent(EDIT_COPY);
        if (Key == (KEY_CTRL | 'a')) handleEvent(EDIT_SELECT_ALL);
        scrollBy(Key);
        return;
    }
    if (Key == KEY_ENTER && getLength() < _MaxLength) {
        if (hasSelection()) handleEvent(EDIT_DELETE);
        insertChar(Cursor, '\n');
        Cursor++;
    }
    if (IsLineKey(Key & KEY_CODE_MASK) && (Key & KEY_MODIFIERS) == 0)
        moveCaret(Key);
    else
        TEditField::keyPressed(Key);
    arrange();
    TVerticalScrollBar* Bar = ScrollBox->getBar();
    const int32_t Line = lineOf(Cursor);
    if (Line < Bar->_Value) Bar->setValue(Line);
    if (Line > Bar->_Value + Bar->_PageSize - 1) Bar->setValue(Line - Bar->_PageSize + 1);
}
CATCH_FRAME(Key)
