// The list box and the text list.
#include "gui/DialogElementsList.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/Engine.h"
#include "gui/DialogElementsEdit.h"
#include "gui/DialogElementsScroll.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "state/Status.h"

#include <cstring>

namespace {

char* CopyOf(const char* Text) {
    size_t Length = strlen(Text);
    char* Copy = new char[Length + 1];
    memcpy(Copy, Text, Length + 1);
    return Copy;
}

int32_t Pitch() { return GetFontLineHeight(SkinProperties.ListBox.Format.Font); }

} // namespace

// ---- Construction and lines ----

TListBox::TListBox(TComponent* Target1, int32_t Identifier1, TComponent* Target2, int32_t Identifier2) try
    : SelectBinding(Target1, Identifier1), DoubleClickBinding(Target2, Identifier2) {
    allocateDrawingList(4);
    ScrollBox = new TVerticalScrollBox(0, 0, SkinProperties.VerticalScrollBar.BoxWidth,
                                       SkinProperties.VerticalScrollBar.BoxMinimumHeight, 0, 0, 0, 0, 1);
    addChild(ScrollBox);
    EditField = new TEditField(0, 0, 32, 16, 30, false);
}
CATCH_FRAME()

TListBox::~TListBox() {
    for (int32_t i = 0; i < Lines; i++)
        delete[] LineTexts.at(i);
    if (!Editing) delete EditField;
}

int32_t TListBox::getFirstVisible() const { return ScrollBox->getBar()->_Value; }

void TListBox::addLine(const char* Text) try {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    LineTexts.at(Lines) = CopyOf(Text);
    Lines++;
    arrange();
}
CATCH_FRAME(Lines)

void TListBox::setLine(int32_t Number, const char* Text) try {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    CHECK(In(Number, 0, Lines - 1), Number, Lines);
    char* Copy = CopyOf(Text);
    delete[] LineTexts.at(Number);
    LineTexts.at(Number) = Copy;
    arrange();
}
CATCH_FRAME(Number)

const char* TListBox::getLine(int32_t Number) try {
    CHECK(In(Number, 0, Lines - 1), Number, Lines);
    return LineTexts.at(Number);
}
CATCH_FRAME(Number)

void TListBox::clear() try {
    endEdit();
    for (int32_t i = 0; i < Lines; i++) {
        delete[] LineTexts.at(i);
        LineTexts.at(i) = nullptr;
    }
    Lines = 0;
    arrange();
}
CATCH_FRAME()

int32_t TListBox::getSelection() const { return Selection >= 0 && Selection <= Lines - 1 ? Selection : -1; }

void TListBox::select(int32_t Number) try {
    if (Editing) endEdit();
    if (Lines > 0 && Number != -1) {
        CHECK(In(Number, 0, Lines - 1), Number, Lines);
        Selection = Number;
        scrollIntoView();
    } else {
        Selection = -1;
    }
}
CATCH_FRAME(Number)

void TListBox::scrollIntoView() {
    TVerticalScrollBar* Bar = ScrollBox->getBar();
    if (Selection < Bar->_Value) Bar->setValue(Selection);
    if (Selection > Bar->_Value + Bar->_PageSize - 1) Bar->setValue(Selection - Bar->_PageSize + 1);
}

const char* TListBox::lineText(int32_t Number) { return LineTexts.at(Number); }
TTextFormat TListBox::lineFormat(int32_t) { return SkinProperties.ListBox.Format; }
TTextFormat TListBox::selectedFormat(int32_t) { return SkinProperties.ListBox.SelectedFormat; }

// ---- Layout and drawing ----

void TListBox::setSize(int32_t _Width, int32_t _Height) try {
    TParentComponent::setSize(_Width, _Height);
    arrange();
}
CATCH_FRAME(_Width, _Height)

void TListBox::arrange() try {
    const int32_t Margin = SkinProperties.ListBox.Margin;
    const TSkin &Top = GetSkin(9), &Bottom = GetSkin(8), &Left = GetSkin(11), &Right = GetSkin(10);
    TextWidth = Width - 2 * Margin - ScrollBox->Width;
    if (Width > 0 && Height > 0)
        placeChild(ScrollBox, -(Right.Width + ScrollBox->Width), Top.Height, ScrollBox->Width,
                   Height - Top.Height - Bottom.Height);
    VisibleLines = (Height - 2 * Margin) / Pitch();
    TVerticalScrollBar* Bar = ScrollBox->getBar();
    if (VisibleLines >= Lines)
        Bar->setRange(0, 0, 0, 0);
    else
        Bar->setRange(0, Lines - VisibleLines, Bar->_Value, VisibleLines);
    DrawingList[0] = {9, 0, 0, Width, Top.Height};
    DrawingList[1] = {11, 0, Top.Height, Left.Width, Height - Top.Height};
    DrawingList[2] = {10, Width - Right.Width, Top.Height, Right.Width, Height - Top.Height};
    DrawingList[3] = {8, Left.Width, Height - Bottom.Height, Width - Right.Width - Left.Width, Bottom.Height};
}
CATCH_FRAME()

void TListBox::draw(int32_t Surface, int32_t X, int32_t Y) try {
    const auto& Layout = SkinProperties.ListBox;
    const int32_t Top = getFirstVisible();
    if (Editing && Top != EditTop) endEdit();
    GetSurface()->FillRectangle(Surface, X, Y, Width, Height, Layout.BackgroundColor.red,
                                Layout.BackgroundColor.green, Layout.BackgroundColor.blue);
    TParentComponent::draw(Surface, X, Y);
    const int32_t b = Layout.SelectionBorder;
    for (int32_t i = 0; i < VisibleLines && Top + i < Lines; i++) {
        const int32_t Line = Top + i, x = X + Layout.Margin, y = Y + Layout.Margin + i * Pitch();
        const char* Text = lineText(Line);
        TTextFormat Format = lineFormat(Line);
        const int32_t n = GetTextFitLength(Format.Font, Text, TextWidth);
        if (Line != Selection) {
            PrintFormattedTextLength(Surface, x, y, Format, Text, n);
        } else if (!Editing) {
            GetSurface()->FillRectangle(Surface, x - b, y - b, TextWidth + 2 * b,
                                        GetFontHeight(Format.Font) + 2 * b, Layout.SelectionColor.red,
                                        Layout.SelectionColor.green, Layout.SelectionColor.blue);
            PrintFormattedTextLength(Surface, x, y, selectedFormat(Line), Text, n);
        }
    }
}
CATCH_FRAME(X, Y)

int32_t TListBox::lineAt(int32_t, int32_t Y) try {
    const int32_t Margin = SkinProperties.ListBox.Margin;
    const int32_t Half = (Pitch() - GetFontHeight(SkinProperties.ListBox.Format.Font)) / 2;
    if (Y < Margin - Half) return -1;
    const int32_t Line = (Y - Margin + Half) / Pitch() + getFirstVisible();
    if (Line >= Lines || Line >= getFirstVisible() + VisibleLines) return -1;
    return Line;
}
CATCH_FRAME(Y)

// ---- Input ----

bool TListBox::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::leftButtonDown(X, Y, Flags)) return true;
    const int32_t Line = lineAt(X, Y);
    if (Editing && Line != Selection) endEdit();
    if (Line != -1) Selection = Line;
    SelectBinding.fire();
    return true;
}
CATCH_FRAME(X, Y)

bool TListBox::leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::leftDoubleClick(X, Y, Flags)) return true;
    const int32_t Line = lineAt(X, Y);
    if (Editing && Line != Selection) endEdit();
    if (Line != -1 && Editable) {
        Selection = Line;
        beginEdit();
    }
    DoubleClickBinding.fire();
    return true;
}
CATCH_FRAME(X, Y)

bool TListBox::mouseScroll(int32_t X, int32_t Y, uint32_t Kind) try {
    if (!TParentComponent::mouseScroll(X, Y, Kind) && (Kind == 1 || Kind == 2))
        ScrollBox->mouseScroll(0, 0, Kind);
    return true;
}
CATCH_FRAME(X, Y)

void TListBox::getToolTip(int32_t X, int32_t Y) try {
    const int32_t Line = lineAt(X, Y);
    if (Line == -1) return;
    const char* Text = lineText(Line);
    if (Text == nullptr) return;
    if (static_cast<int32_t>(strlen(Text)) > GetTextFitLength(lineFormat(Line).Font, Text, TextWidth))
        SetTooltip(Text);
}
CATCH_FRAME(X, Y)

void TListBox::keyPressed(int32_t Key) try {
    const int32_t Code = Key & KEY_CODE_MASK;
    if (Code == KEY_UP || Code == KEY_DOWN) {
        if (Editing) endEdit();
        Selection += Code == KEY_UP ? -1 : 1;
    } else if (Editing) {
        if (Code == KEY_ENTER)
            endEdit();
        else
            EditField->keyPressed(Key);
        return;
    } else if ((Code >= 'a' && Code <= 'z') || (Code >= 'A' && Code <= 'Z')) {
        const int32_t Letter = ToLower(Code);
        // Bytes compare as signed: lines starting with Latin-1 letters sort below every ASCII letter.
        for (int32_t i = LineTexts.getMin(); i <= LineTexts.getMax(); i++) {
            const char* Text = LineTexts.at(i);
            if (Text != nullptr && ToLower(SignedByte(Text[0])) >= Letter) {
                Selection = i;
                break;
            }
        }
    }
    Clamp(Selection, 0, Lines - 1);
    if (Lines > 0) scrollIntoView();
    SelectBinding.fire();
}
CATCH_FRAME(Key)

// ---- In-place editing ----

void TListBox::beginEdit() try {
    if (Editing || getSelection() == -1) return;
    Editing = true;
    EditField->setText(lineText(Selection));
    addChild(EditField);
    placeChild(EditField, 0, (Selection - getFirstVisible()) * Pitch(), Width - ScrollBox->Width, 16);
    EditTop = getFirstVisible();
}
CATCH_FRAME(Selection)

void TListBox::endEdit() try {
    if (!Editing) return;
    removeChild(EditField);
    Editing = false;
    storeEdit(EditField->getText());
}
CATCH_FRAME(Selection)

void TListBox::storeEdit(const char* Text) {
    // The line may have gone meanwhile (a cleared list keeps its selection number).
    if (In(Selection, 0, Lines - 1)) storeEditedText(Text);
}

void TListBox::storeEditedText(const char* Text) { setLine(Selection, Text); }

// ---- TTextList ----

TTextList::TTextList(TComponent* Target1, int32_t Identifier1, TComponent* Target2, int32_t Identifier2)
    : TListBox(Target1, Identifier1, Target2, Identifier2) {}

TTextList::~TTextList() {
    for (int32_t i = Records.getMin(); i <= Records.getMax(); i++)
        delete[] Records.at(i).Text;
}

void TTextList::addLine(const char* Text, TTextFormat Format) try {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    delete[] Records.at(Lines).Text;
    Records.at(Lines) = TLine{CopyOf(Text), Format};
    Lines++;
    arrange();
}
CATCH_FRAME(Lines)

void TTextList::addEditLine(int32_t MaxLength) try {
    CHECK(MaxLength >= 0, MaxLength);
    TLine& Line = Records.at(Lines);
    delete[] Line.Text;
    Line.Text = new char[static_cast<size_t>(MaxLength) + 1]();
    Lines++;
    arrange();
}
CATCH_FRAME(MaxLength)

void TTextList::setLine(int32_t Number, const char* Text, TTextFormat Format) try {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    CHECK(In(Number, 0, Lines - 1), Number, Lines - 1);
    char* Copy = CopyOf(Text);
    delete[] Records.at(Number).Text;
    Records.at(Number) = TLine{Copy, Format};
    arrange();
}
CATCH_FRAME(Number)

const char* TTextList::getLine(int32_t Number, TTextFormat& Format) try {
    CHECK(In(Number, 0, Lines - 1), Number, Lines - 1);
    Format = Records.at(Number).Format;
    return Records.at(Number).Text;
}
CATCH_FRAME(Number)

void TTextList::clear() try {
    endEdit();
    for (int32_t i = 0; i < Lines; i++) {
        delete[] Records.at(i).Text;
        Records.at(i).Text = nullptr;
    }
    Lines = 0;
    arrange();
}
CATCH_FRAME()

const char* TTextList::lineText(int32_t Number) {
    const char* Text = Records.at(Number).Text;
    return Text != nullptr ? Text : "";
}

TTextFormat TTextList::lineFormat(int32_t Number) { return Records.at(Number).Format; }
TTextFormat TTextList::selectedFormat(int32_t Number) { return Records.at(Number).Format; }

void TTextList::beginEdit() try {
    if (Editing) return;
    TListBox::beginEdit();
    if (!Editing) return;
    EditField->setFocus(true);
    EditField->SelectionStart = 0;
    EditField->SelectionLength = EditField->getLength();
}
CATCH_FRAME()

void TTextList::storeEditedText(const char* Text) { setLine(Selection, Text, Records.at(Selection).Format); }
