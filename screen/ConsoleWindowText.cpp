// The console's text area: rows wrapped from a text buffer, their bottom-aligned drawing, the mouse
// selection, and the text window with its scroll box.
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/Engine.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsEdit.h"
#include "gui/DialogElementsScroll.h"
#include "gui/SkinProperties.h"
#include "screen/ConsoleWindow.h"
#include "state/Events.h"
#include "state/StatusClipboard.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int32_t CONSOLE_FONT = 4;
constexpr int32_t CONTINUATION_INDENT = 10; // pixels
constexpr int32_t MESSAGE_TEXT_MENU = 55, MESSAGE_REQUEST_MENU = 57;

} // namespace

ConsoleTextLine::ConsoleTextLine(TTalkLine* _TextLine, const char* _LineText, int32_t _LineLength,
                                 int32_t _OriginalOffset, int32_t _Indent, int32_t FontNumber, int32_t Red,
                                 int32_t Green, int32_t Blue, bool EndsLine)
    : _LineText(_LineText), _LineLength(_LineLength), _OriginalOffset(_OriginalOffset), _Indent(_Indent),
      Red(Red), Green(Green), Blue(Blue), FontNumber(FontNumber), _TextLine(_TextLine), EndsLine(EndsLine) {
    CHECK_TEXT(_TextLine != nullptr, "_TextLine!=NULL");
    CHECK_TEXT(_LineText != nullptr, "_LineText!=NULL");
    CHECK(_LineLength > 0, _LineLength);
    CHECK(_Indent >= 0, _Indent);
    CHECK(_OriginalOffset >= 0, _OriginalOffset);
}

// ---- ConsoleTextView: rows ----

ConsoleTextView::ConsoleTextView() = default;

void ConsoleTextView::setTextBuffer(TTextBuffer* Buffer) try {
    TextBuffer = Buffer;
    arrange();
}
CATCH_FRAME()

bool ConsoleTextView::rowsUsable() {
    if (TextBuffer == nullptr || TextBuffer->getNumberOfLines() == 0) return false;
    if (!TextBuffer->LayoutValid) {
        TextBuffer->LayoutChanged = false;
        return false;
    }
    return true;
}

void ConsoleTextView::update() try {
    int32_t Count = 0;
    if (TextBuffer != nullptr) {
        for (TTalkLine* Line = TextBuffer->seekLine(0); Line != nullptr; Line = TextBuffer->nextLine())
            wrapLine(Line, Count);
        TextBuffer->LayoutValid = true;
    }
    LastLineNumber = Count - 1;
    for (int32_t n = Count; n <= Lines.getMax(); n++)
        Lines.at(n) = ConsoleTextLine();
}
CATCH_FRAME()

// Appends the rows of one talk line from row Count on; Count ends behind them.
void ConsoleTextView::wrapLine(TTalkLine* Line, int32_t& Count) {
    int32_t Red, Green, Blue;
    GetTalkModeColor(Red, Green, Blue, Line->_Mode);
    const int32_t Continuation =
        In(Line->_Mode, TALK_ADMIN_MESSAGE, TALK_INFO_MESSAGE) ? 0 : CONTINUATION_INDENT;
    const char* Text = Line->getText();
    int32_t Start = 0, Indent = 0;
    for (bool Last = false; !Last;) {
        // At least one character per row, so that a view narrower than a character still finishes.
        const int32_t Fit = std::max(GetTextFitLength(CONSOLE_FONT, Text + Start, Width - Indent), 1);
        int32_t i = Start, Blank = -1;
        for (; i < Start + Fit && Text[i] != 0; i++) {
            if (IsSpace(Text[i])) Blank = i;
            if (Text[i] == '\n') break;
        }
        int32_t End, Next;
        bool EndsLine;
        if (Text[i] == 0) {
            End = i, Next = i, EndsLine = true, Last = true;
        } else if (Blank >= 0) {
            End = Blank, Next = Blank + 1, EndsLine = Text[i] == '\n';
        } else {
            End = i, Next = i, EndsLine = false;
        }
        if (End > Start)
            Lines.at(Count++) = ConsoleTextLine(Line, Text + Start, End - Start, Start, Indent, CONSOLE_FONT,
                                                Red, Green, Blue, EndsLine);
        Last = Last || Text[Next] == 0;
        Indent = Continuation;
        Start = Next;
    }
}

const ConsoleTextLine* ConsoleTextView::getLine(int32_t Number) {
    if (!rowsUsable() || Number < Lines.getMin() || Number > Lines.getMax()) return nullptr;
    return &Lines.at(Number);
}

TTalkLine* ConsoleTextView::getTalkLine(int32_t Number) {
    const ConsoleTextLine* Row = getLine(Number);
    return Row != nullptr ? Row->_TextLine : nullptr;
}

void ConsoleTextView::setCurrentLineNumber(int32_t Number) try {
    CHECK_TEXT(In(Number, getFirstLineNumber(), getLastLineNumber()) || Number == -1,
               "In(_CurrentLineNumber, getFirstLineNumber(), getLastLineNumber()) || _CurrentLineNumber==-1",
               Number);
    _CurrentLineNumber = Number;
    if (Number != -1) FollowEnd = Number == LastLineNumber;
}
CATCH_FRAME(Number)

int32_t ConsoleTextView::rowHeight(const ConsoleTextLine& Row, bool Bottom) const {
    return Bottom ? GetFontHeight(Row.FontNumber) : GetFontLineHeight(Row.FontNumber);
}

bool ConsoleTextView::getPosition(int32_t x, int32_t y, int32_t& Line, int32_t& Column, int32_t& Length) try {
    if (!rowsUsable()) return false;
    x = std::clamp(x, 0, Width);
    y = std::clamp(y, 0, Height);
    int32_t Bottom = Height, Number = _CurrentLineNumber;
    bool First = true;
    for (;;) {
        if (Number < getFirstLineNumber() || Bottom < 0) {
            Number = getFirstLineNumber();
            x = 0;
            if (Lines.at(Number)._LineText == nullptr) return false;
            break;
        }
        const ConsoleTextLine& Row = Lines.at(Number);
        if (Row._LineText == nullptr) {
            Number--;
            continue;
        }
        const int32_t RowHeight = rowHeight(Row, First);
        if (Bottom - RowHeight <= y && y <= Bottom) break;
        Bottom -= RowHeight;
        First = false;
        Number--;
    }
    const ConsoleTextLine& Row = Lines.at(Number);
    Column = std::min(GetTextFitLength(Row.FontNumber, Row._LineText, std::max(x - Row._Indent, 0)),
                      Row._LineLength);
    Line = Number;
    Length = Row._LineLength;
    return true;
}
CATCH_FRAME(x, y)

// ---- ConsoleTextView: selection ----

bool ConsoleTextView::orderedSelection(bool Start, int32_t& Line, int32_t& Column) {
    if (TextBuffer == nullptr) return false;
    if (!TextBuffer->LayoutValid) {
        TextBuffer->LayoutChanged = false;
        return false;
    }
    if (AnchorLine == -1 || AnchorColumn == -1 || EndLine == -1 || EndColumn == -1) return false;
    if (AnchorLine == EndLine && AnchorColumn == EndColumn) return false;
    const bool AnchorFirst = AnchorLine < EndLine || (AnchorLine == EndLine && AnchorColumn < EndColumn);
    Line = AnchorFirst == Start ? AnchorLine : EndLine;
    Column = AnchorFirst == Start ? AnchorColumn : EndColumn;
    if (Line < Lines.getMin() || Line > Lines.getMax() || Lines.at(Line)._LineText == nullptr ||
        Column > Lines.at(Line)._LineLength) {
        clearSelection();
        return false;
    }
    return true;
}

bool ConsoleTextView::getSelectionStart(int32_t& Line, int32_t& Column) {
    return orderedSelection(true, Line, Column);
}

bool ConsoleTextView::getSelectionEnd(int32_t& Line, int32_t& Column) {
    return orderedSelection(false, Line, Column);
}

bool ConsoleTextView::hasSelection() {
    int32_t Line, Column;
    return getSelectionStart(Line, Column) && getSelectionEnd(Line, Column);
}

void ConsoleTextView::clearSelection() { AnchorLine = AnchorColumn = EndLine = EndColumn = -1; }

bool ConsoleTextView::selectAll() {
    if (TextBuffer == nullptr) return false;
    if (!TextBuffer->LayoutValid) {
        TextBuffer->LayoutChanged = false;
        return false;
    }
    AnchorLine = AnchorColumn = 0;
    EndLine = LastLineNumber;
    EndColumn = LastLineNumber >= 0 ? Lines.at(LastLineNumber)._LineLength : 0;
    return true;
}

const char* ConsoleTextView::getSelectedText() try {
    int32_t StartLine, StartColumn, StopLine, StopColumn;
    if (!getSelectionStart(StartLine, StartColumn) || !getSelectionEnd(StopLine, StopColumn)) return nullptr;
    SelectedText.reset();
    std::string Text;
    for (int32_t n = StartLine; n <= StopLine; n++) {
        const ConsoleTextLine& Row = Lines.at(n);
        if (Row._LineText == nullptr) continue;
        const int32_t From = n == StartLine ? StartColumn : 0;
        const int32_t To = n == StopLine ? StopColumn : Row._LineLength;
        if (To > From) Text.append(Row._LineText + From, static_cast<size_t>(To - From));
        if (n != StopLine && Row.EndsLine) Text += '\n';
    }
    if (Text.empty()) return nullptr;
    SelectedText = std::make_unique<char[]>(Text.size() + 1);
    std::memcpy(SelectedText.get(), Text.c_str(), Text.size() + 1);
    return SelectedText.get();
}
CATCH_FRAME()

// ---- ConsoleTextView: mouse and events ----

bool ConsoleTextView::leftButtonDown(int32_t X, int32_t Y, uint32_t) try {
    Selecting = true;
    setCapture(this);
    int32_t Line, Column, Length;
    if (getPosition(X, Y, Line, Column, Length)) {
        AnchorLine = EndLine = Line;
        AnchorColumn = EndColumn = Column;
    }
    return true;
}
CATCH_FRAME(X, Y)

bool ConsoleTextView::mouseMove(int32_t X, int32_t Y) try {
    int32_t Line, Column, Length;
    if (Selecting && getPosition(X, Y, Line, Column, Length)) {
        EndLine = Line;
        EndColumn = std::min(Column, Length);
    }
    return true;
}
CATCH_FRAME(X, Y)

bool ConsoleTextView::leftButtonUp(int32_t, int32_t, uint32_t) try {
    if (Selecting) releaseCapture(this);
    return true;
}
CATCH_FRAME()

void ConsoleTextView::releaseCapture(TComponent* Component) try {
    Selecting = false;
    TLeafComponent::releaseCapture(Component);
}
CATCH_FRAME()

bool ConsoleTextView::leftDoubleClick(int32_t X, int32_t Y, uint32_t) try {
    int32_t Line, Column, Length;
    if (getPosition(X, Y, Line, Column, Length)) {
        const char* Text = Lines.at(Line)._LineText;
        int32_t Start = Column, Stop = Column;
        while (Start > 0 && !IsSpace(Text[Start - 1]))
            Start--;
        while (Stop < Length && !IsSpace(Text[Stop]))
            Stop++;
        AnchorLine = EndLine = Line;
        AnchorColumn = Start;
        EndColumn = Stop;
    }
    return true;
}
CATCH_FRAME(X, Y)

bool ConsoleTextView::rightClick(int32_t X, int32_t Y, uint32_t) try {
    int32_t Line, Column, Length;
    if (getPosition(X, Y, Line, Column, Length)) {
        if (!TextBuffer->isRequestQueue())
            AddMessage(MESSAGE_TEXT_MENU, Line, 0);
        else if (TTalkLine* Talk = getTalkLine(Line); Talk != nullptr && Talk->_Addressee[0] != 0)
            AddMessage(MESSAGE_REQUEST_MENU, Line, 0);
    }
    return true;
}
CATCH_FRAME(X, Y)

void ConsoleTextView::handleEvent(int32_t Event) try {
    switch (Event) {
    case EDIT_COPY:
        if (const char* Text = getSelectedText(); Text != nullptr) CopyTextToClipboard(Text);
        break;
    case EDIT_CUT:
    case EDIT_PASTE:
    case EDIT_DELETE:
        break;
    case EDIT_SELECT_ALL:
        selectAll();
        break;
    default:
        CHECK_TEXT(false, "unknown event", Event);
    }
}
CATCH_FRAME(Event)

// ---- ConsoleTextView: layout and drawing ----

void ConsoleTextView::arrange() try {
    InvisibleLines = 0;
    LastLineNumber = -1;
    _CurrentLineNumber = -1;
    update();
    int32_t y = Height;
    for (int32_t n = LastLineNumber; n >= getFirstLineNumber(); n--) {
        y -= rowHeight(Lines.at(n), n == LastLineNumber);
        if (y < 0) InvisibleLines++;
    }
}
CATCH_FRAME()

void ConsoleTextView::draw(int32_t Surface, int32_t X, int32_t Y) try {
    if (TextBuffer == nullptr) return;
    if (TextBuffer->getNumberOfLines() == 0) {
        if (TextBuffer->LayoutChanged) {
            TextBuffer->LayoutChanged = false;
            arrange();
        }
        return;
    }
    if (!TextBuffer->LayoutValid) {
        TextBuffer->LayoutChanged = false;
        return;
    }
    int32_t y = Height;
    for (int32_t CurrentLine = _CurrentLineNumber; CurrentLine >= getFirstLineNumber(); CurrentLine--) {
        const ConsoleTextLine& Row = Lines.at(CurrentLine);
        CHECK_TEXT(Row._LineText != nullptr, "Format->LineText!=NULL", getFirstLineNumber(), CurrentLine);
        const int32_t RowHeight = rowHeight(Row, CurrentLine == _CurrentLineNumber);
        y -= RowHeight;
        if (y < 0) break;
        drawSelection(Surface, X, Y + y, CurrentLine, Row, RowHeight);
        PrintTextLength(Surface, X + Row._Indent, Y + y, Row.FontNumber, Row.Red, Row.Green, Row.Blue,
                        Row._LineText, Row._LineLength, LEFT_ALIGN);
    }
}
CATCH_FRAME(X, Y)

void ConsoleTextView::drawSelection(int32_t Surface, int32_t X, int32_t Y, int32_t Number,
                                    const ConsoleTextLine& Row, int32_t Height) {
    int32_t StartLine, StartColumn, StopLine, StopColumn;
    if (!getSelectionStart(StartLine, StartColumn) || !getSelectionEnd(StopLine, StopColumn)) return;
    if (Number < StartLine || Number > StopLine) return;
    const int32_t From = Number == StartLine ? StartColumn : 0;
    const int32_t To = Number == StopLine ? StopColumn : Row._LineLength;
    if (To <= From) return;
    const int32_t Left = GetTextWidth(Row.FontNumber, Row._LineText, From);
    const int32_t Extent = GetTextWidth(Row.FontNumber, Row._LineText + From, To - From);
    const TSkinColor& Colour = SkinProperties.ConsoleTab.SelectionColor;
    GetSurface()->FillRectangle(Surface, X + Row._Indent + Left, Y, Extent, Height, Colour.red, Colour.green,
                                Colour.blue);
}

// ---- ConsoleTextWindow ----

ConsoleTextWindow::ConsoleTextWindow() {
    allocateDrawingList(8);
    View = new ConsoleTextView;
    ScrollBox = new TVerticalScrollBox(0, 0, SkinProperties.VerticalScrollBar.BoxWidth,
                                       SkinProperties.VerticalScrollBar.BoxMinimumHeight, 0, 0, 0, 0, 1);
    addChild(ScrollBox);
    addChild(View);
}

TTextBuffer* ConsoleTextWindow::getTextBuffer() const { return View->getTextBuffer(); }

int32_t ConsoleTextWindow::getMinimumHeight() const {
    return std::max(View->getMinimumHeight(), ScrollBox->getMinimumHeight());
}

void ConsoleTextWindow::draw(int32_t Surface, int32_t X, int32_t Y) try {
    // The view re-lays itself when its buffer was emptied; the bar then still holds the old range.
    const int32_t Value = ScrollBox->getBar()->_Value;
    if (Value != -1 && !In(Value, View->getFirstLineNumber(), View->getLastLineNumber())) arrange();
    View->setCurrentLineNumber(ScrollBox->getBar()->_Value);
    TParentComponent::draw(Surface, X, Y);
}
CATCH_FRAME(X, Y)

bool ConsoleTextWindow::mouseScroll(int32_t X, int32_t Y, uint32_t Kind) try {
    if (Kind == 1 || Kind == 2) return ScrollBox->mouseScroll(X, Y, Kind);
    return TParentComponent::mouseScroll(X, Y, Kind);
}
CATCH_FRAME(X, Y)

void ConsoleTextWindow::arrange() try {
    const int32_t W = Width, H = Height;
    ScrollBox->setSize(ScrollBox->getWidth(), std::max(H - GetSkin(176).Height - GetSkin(175).Height, 0));
    ScrollBox->setPosition(W - GetSkin(174).Width - ScrollBox->getWidth(), GetSkin(175).Height);
    const TSkinRectangle& Area = SkinProperties.ConsoleTab.TextView;
    if (W > 0 && H > 0) placeChild(View, Area.x, Area.y, Area.width, Area.height);
    TParentComponent::arrange();

    const int32_t F = View->getFirstLineNumber(), L = View->LastLineNumber, I = View->InvisibleLines;
    const int32_t Visible = L - F - I, Minimum = F + Visible, Maximum = L - F;
    if (Minimum > Maximum) {
        const int32_t Total = L - F + 1;
        const std::string Text =
            "invalid range for console text window scroll bar (minimum: " + std::to_string(Minimum) +
            ", maximum: " + std::to_string(Maximum) + ", visible: " + std::to_string(Visible) +
            ", TotalLines: " + std::to_string(Total) + ", InvisibleLines: " + std::to_string(I) +
            ", FirstLineNumber: " + std::to_string(F) + ", TotalLines: " + std::to_string(Total) + ")";
        CHECK_TEXT(false, Text.c_str());
    }
    TVerticalScrollBar* Bar = ScrollBox->getBar();
    const int32_t Value = ScrollToEnd || View->FollowEnd ? Maximum : Bar->_Value;
    ScrollToEnd = false;
    Bar->setRange(Minimum, Maximum, Value, Visible);
    View->setCurrentLineNumber(Bar->_Value);

    const TSkin &TL = GetSkin(169), &TR = GetSkin(170), &BL = GetSkin(171), &BR = GetSkin(172);
    const TSkin &Left = GetSkin(173), &Right = GetSkin(174), &Top = GetSkin(175), &Bottom = GetSkin(176);
    TSkinPiece* P = DrawingList.get();
    P[0] = {169, 0, 0, 0, 0, 0, 0};
    P[1] = {175, TL.Width, 0, W - TR.Width - TL.Width, Top.Height, 0, 0};
    P[2] = {170, W - TR.Width, 0, 0, 0, 0, 0};
    P[3] = {173, 0, TL.Height, Left.Width, H - BL.Height - TL.Height, 0, 0};
    P[4] = {174, W - Right.Width, TR.Height, Right.Width, H - BR.Height - TR.Height, 0, 0};
    P[5] = {171, 0, H - BL.Height, 0, 0, 0, 0};
    P[6] = {176, BL.Width, H - Bottom.Height, W - BR.Width - BL.Width, Bottom.Height, 0, 0};
    P[7] = {172, W - BR.Width, H - BR.Height, 0, 0, 0, 0};
}
CATCH_FRAME()
