// Text labels, the mark-up text box and the labelled button.
#include "gui/DialogElementsText.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsViews.h"
#include "state/Status.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t OPEN_DESTINATION = 1; // what a labelled button's button sends it

std::unique_ptr<char[]> CopyOf(const char* Text, size_t Extra) {
    size_t Length = strlen(Text);
    auto Copy = std::make_unique<char[]>(Length + Extra);
    memcpy(Copy.get(), Text, Length + 1);
    return Copy;
}

} // namespace

// ---- TTextLabel ----

TTextLabel::TTextLabel(int32_t x, int32_t y, int32_t width, int32_t height, int32_t Font, int32_t Red,
                       int32_t Green, int32_t Blue, int32_t Alignment, const char* _Text, bool Shorten) try
    : Format{Font, Red, Green, Blue, Alignment} {
    CHECK_TEXT(_Text != nullptr, "_Text!=NULL");
    setPosition(x, y);
    setSize(width, height);
    setText(_Text, Shorten);
}
CATCH_FRAME(x, y)

TTextLabel::TTextLabel(int32_t x, int32_t y, int32_t Font, int32_t Red, int32_t Green, int32_t Blue,
                       int32_t Alignment, const char* _Text) try
    : Format{Font, Red, Green, Blue, Alignment} {
    CHECK_TEXT(_Text != nullptr, "_Text!=NULL");
    setText(_Text, false);
    int32_t Widest = 0;
    for (int32_t i = 0; i < LineCount; i++)
        Widest = std::max(Widest, GetStringWidth(Font, Lines[i]));
    setPosition(x, y);
    setSize(Widest, LineCount * GetFontLineHeight(Font));
}
CATCH_FRAME(x, y)

TTextLabel::TTextLabel(int32_t Font, int32_t Red, int32_t Green, int32_t Blue, int32_t Alignment,
                       const char* _Text)
    : TTextLabel(0, 0, Font, Red, Green, Blue, Alignment, _Text) {}

void TTextLabel::setText(const char* _Text, bool Shorten) try {
    CHECK_TEXT(_Text != nullptr, "_Text!=NULL");
    LineBuffer = CopyOf(_Text, 2);
    FullText = CopyOf(_Text, 2);
    LineCount = 1 + static_cast<int32_t>(std::count(_Text, _Text + strlen(_Text), '\n'));
    Lines = std::make_unique<char*[]>(static_cast<size_t>(LineCount));
    char* Start = LineBuffer.get();
    for (int32_t i = 0; i < LineCount; i++) {
        Lines[i] = Start;
        char* Feed = strchr(Start, '\n');
        if (Feed != nullptr) {
            *Feed = 0;
            Start = Feed + 1;
        }
    }
    Shortened = false;
    if (!Shorten) return;
    for (int32_t i = 0; i < LineCount; i++)
        if (ShortenText(Lines[i], GetTextFitLength(Format.Font, Lines[i], Width))) Shortened = true;
}
CATCH_FRAME()

bool TTextLabel::mouseMove(int32_t, int32_t) { return false; }
bool TTextLabel::leftButtonDown(int32_t, int32_t, uint32_t) { return false; }
bool TTextLabel::leftButtonUp(int32_t, int32_t, uint32_t) { return false; }
bool TTextLabel::rightClick(int32_t, int32_t, uint32_t) { return false; }

void TTextLabel::getToolTip(int32_t, int32_t) {
    if (Shortened) SetTooltip(FullText.get());
}

void TTextLabel::draw(int32_t Surface, int32_t X, int32_t Y) try {
    int32_t TextX, TextY;
    GetTextOrigin(TextX, TextY, X, Y, Width, Height, Format);
    if (LineCount > 1) TextY = Y;
    const int32_t Pitch = GetFontLineHeight(Format.Font);
    for (int32_t i = 0; i < LineCount; i++)
        PrintTextClipped(Surface, TextX, TextY + i * Pitch, Format.Font, Format.Red, Format.Green,
                         Format.Blue, Lines[i], Format.Alignment, X, Y, Width, Height);
}
CATCH_FRAME(X, Y)

// ---- Mark-up tags ----

int32_t ScanMarkupTag(const char* Text, int32_t& TokenType, int32_t& TokenData) {
    static const char* const Plain[] = {"b", "n", "h"};
    static const char* const Valued[] = {"font", "hspace", "indent", "br",  "color",
                                         "skin", "red",    "green",  "blue"};
    if (Text[0] != '<') return 0;
    int32_t End = 1;
    while (IsLetter(Text[End]))
        End++;
    const int32_t NameLength = End - 1;
    auto Match = [&](const char* const* Keywords, int32_t Count, int32_t FirstType) {
        for (int32_t k = 0; k < Count; k++)
            if (CompareNoCase(Text + 1, Keywords[k], NameLength) == 0) {
                TokenType = FirstType + k;
                return true;
            }
        return false;
    };
    if (Text[End] == '>') return Match(Plain, 3, TAG_BOLD) ? End + 1 : 0;
    if (Text[End] != '=') return 0;
    End++;
    // Values beyond every accepted range saturate instead of overflowing.
    int32_t Value = 0;
    for (; IsDigit(Text[End]); End++)
        Value = std::min(Value * 10 + (Text[End] - '0'), 100000000);
    if (Text[End] != '>') return 0;
    if (!Match(Valued, 9, TAG_FONT)) return 0;
    TokenData = Value;
    return End + 1;
}

// ---- TMarkupTextBox ----

namespace {

// The layout state while the mark-up is read.
struct TMarkupState {
    int32_t Font = 2;
    int32_t Red = 224, Green = 224, Blue = 224;
    int32_t x = 0, y = 0, Indent = 0;
};

// Applies a tag; a skin tag answers the image it made, else NULL.
TComponent* ApplyTag(TMarkupState& S, int32_t Type, int32_t Value) {
    switch (Type) {
    case TAG_BOLD:
        S.Red = 255, S.Green = 128, S.Blue = 128;
        break;
    case TAG_NORMAL:
        S.Red = 224, S.Green = 224, S.Blue = 224;
        break;
    case TAG_HIGHLIGHT:
        S.Red = 224, S.Green = 224, S.Blue = 0;
        break;
    // Only fonts that exist: any other number would fail every later measurement.
    case TAG_FONT:
        if (In(Value, 1, NumberOfFonts)) S.Font = Value;
        break;
    case TAG_HSPACE:
        if (In(Value, 1, 200)) S.x += Value;
        break;
    case TAG_INDENT:
        if (In(Value, 0, 200)) S.Indent = Value;
        break;
    case TAG_BR:
        if (In(Value, 1, 50)) S.y += Value;
        break;
    case TAG_COLOR:
        S.Red = Value / 36 * 51, S.Green = Value / 6 % 6 * 51, S.Blue = Value % 6 * 51;
        break;
    case TAG_SKIN:
        return In(Value, 0, GetNumberOfSkins() - 1) ? new TSkinImage(Value) : nullptr;
    case TAG_RED:
        S.Red = Value;
        break;
    case TAG_GREEN:
        S.Green = Value;
        break;
    case TAG_BLUE:
        S.Blue = Value;
        break;
    default:
        CHECK_TEXT(false, "unknown token type", Type);
    }
    return nullptr;
}

} // namespace

TMarkupTextBox::TMarkupTextBox(const char* _Text) try { setText(_Text, false); }
CATCH_FRAME()

void TMarkupTextBox::setText(const char* _Text, bool Arrange) try {
    CHECK_TEXT(_Text != nullptr, "_Text!=NULL");
    Text = CopyOf(_Text, 1);
    WorkBuffer = std::make_unique<char[]>(strlen(_Text) + 1);
    if (Arrange) arrange();
}
CATCH_FRAME()

void TMarkupTextBox::setSize(int32_t _Width, int32_t _Height) try {
    AutoWidth = _Width <= 0;
    AutoHeight = _Height <= 0;
    TParentComponent::setSize(std::max(_Width, 0), std::max(_Height, 0));
    arrange();
}
CATCH_FRAME(_Width, _Height)

void TMarkupTextBox::arrange() try {
    while (FirstChild != nullptr)
        deleteChild(FirstChild);
    TMarkupState S;
    const char* P = Text.get();
    while (*P != 0) {
        int32_t i = 0, LastBlank = -1, Skip = 0, TagLength = 0, Type = 0, Value = 0;
        bool Break = false;
        for (;; i++) {
            const char c = P[i];
            if (c == 0) break;
            if (c == '<' && ScanMarkupTag(P + i, Type, Value) > 0) {
                if (i == 0) TagLength = ScanMarkupTag(P, Type, Value);
                break;
            }
            if (IsSpace(c)) LastBlank = i;
            if (c == '\n') {
                Break = true, Skip = 1;
                break;
            }
            if (!AutoWidth && S.x + GetTextWidth(S.Font, P, i + 1) > Width) {
                Break = true;
                if (LastBlank > 0) {
                    i = LastBlank, Skip = 1;
                } else if (i == 0 && S.x <= S.Indent) {
                    i = 1; // a line takes at least one character, or the layout would never end
                }
                break;
            }
        }
        TComponent* Element = nullptr;
        if (TagLength > 0) {
            Element = ApplyTag(S, Type, Value);
        } else if (i > 0) {
            memcpy(WorkBuffer.get(), P, static_cast<size_t>(i));
            WorkBuffer[i] = 0;
            Element = new TTextLabel(S.Font, S.Red, S.Green, S.Blue, LEFT_ALIGN, WorkBuffer.get());
        }
        if (Element != nullptr) {
            addChild(Element);
            Element->setPosition(S.x, S.y);
        }
        if (Break) {
            S.y += GetFontLineHeight(S.Font);
            S.x = S.Indent;
        } else {
            S.x = std::max(S.x + (Element != nullptr ? Element->Width : 0), S.Indent);
        }
        P += TagLength > 0 ? TagLength : i + Skip;
    }
    clipChildren(false);
}
CATCH_FRAME()

// ---- TLabelledButton ----

TLabelledButton::TLabelledButton(const char* _Text, const char* ButtonText, const char* _Destination,
                                 TOpenFunction OpenFunction, int32_t Font, int32_t Red, int32_t Green,
                                 int32_t Blue, int32_t Alignment) try
    : OpenFunction(OpenFunction) {
    CHECK_TEXT(_Destination != nullptr, "_Destination!=NULL");
    CHECK_TEXT(_Text != nullptr, "_Text!=NULL");
    CHECK_TEXT(ButtonText != nullptr, "ButtonText!=NULL");
    this->_Destination = CopyOf(_Destination, 1);
    Label = new TTextLabel(Font, Red, Green, Blue, Alignment, _Text);
    addChild(Label);
    Button = new TTextButton(0, 0, ButtonText, SKIN_WIDE_BUTTON, SKIN_WIDE_BUTTON + 1, this, OPEN_DESTINATION,
                             this->_Destination.get());
    addChild(Button);
}
CATCH_FRAME()

int32_t TLabelledButton::getMinimumWidth() const { return Button->Width; }
int32_t TLabelledButton::getMinimumHeight() const { return Button->Height; }

void TLabelledButton::setSize(int32_t _Width, int32_t _Height) try {
    TParentComponent::setSize(_Width, _Height);
    arrange();
}
CATCH_FRAME(_Width, _Height)

void TLabelledButton::arrange() try {
    int32_t LabelWidth = Width - Button->Width;
    CHECK_TEXT(LabelWidth > 0, "Width>0", LabelWidth);
    int32_t Taller = std::max(Label->Height, Button->Height);
    int32_t LabelY = (Taller - Label->Height) / 2, ButtonY = (Taller - Button->Height) / 2;
    placeChild(Label, 0, LabelY, LabelWidth, Label->Height);
    moveChild(Button, -Button->Width, ButtonY);
}
CATCH_FRAME()

void TLabelledButton::handleEvent(int32_t Identifier) try {
    if (Identifier == OPEN_DESTINATION && OpenFunction != nullptr) OpenFunction(_Destination.get());
}
CATCH_FRAME(Identifier)
