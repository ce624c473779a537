// Scroll bars and scroll boxes.
#include "gui/DialogElementsScroll.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"

#include <algorithm>

// ---- TScrollBar ----

TScrollBar::TScrollBar(const TAxis& Axis, int32_t _Min, int32_t _Max, int32_t _Value, int32_t _PageSize) try
    : _Min(_Min), _Max(_Max), _Value(_Value), _PageSize(_PageSize), Enabled(_Min != _Max), Axis(Axis) {
    CHECK(_Min <= _Max, _Min, _Max);
    CHECK(In(_Value, _Min, _Max), _Value, _Min);
    allocateDrawingList(4);
}
CATCH_FRAME(_Min, _Max)

void TScrollBar::setSize(int32_t _Width, int32_t _Height) try {
    TLeafComponent::setSize(_Width, _Height);
    arrange();
}
CATCH_FRAME(_Width, _Height)

void TScrollBar::arrange() {
    DrawingList[0] = {Axis.Skins[0], 0, 0, Width, Height};
    for (int32_t i = 1; i < 4; i++)
        DrawingList[i] = TSkinPiece{};
    if (!Enabled) return;
    const TSkin &Start = GetSkin(Axis.Skins[1]), &End = GetSkin(Axis.Skins[3]);
    const int32_t A = Axis.Vertical ? Start.Height : Start.Width, B = Axis.Vertical ? End.Height : End.Width;
    const int32_t L = trackLength();
    // A negative page would make the fraction meaningless (or divide by zero).
    const double Page = std::max(_PageSize, 0);
    const double F = Page / (static_cast<double>(_Max) - _Min + Page);
    ThumbLength = F < 1.0 ? static_cast<int32_t>(L * F) : L;
    ThumbLength = std::max(ThumbLength, A + B);
    ThumbPosition =
        static_cast<int32_t>(static_cast<int64_t>(_Value - _Min) * (L - ThumbLength) / (_Max - _Min));
    if (ThumbPosition + ThumbLength > L) ThumbPosition = L - ThumbLength;
    const int32_t Middle = ThumbLength - A - B;
    if (Axis.Vertical) {
        DrawingList[1] = {Axis.Skins[1], 0, ThumbPosition, 0, 0};
        if (Middle > 0) DrawingList[2] = {Axis.Skins[2], 0, ThumbPosition + A, Width, Middle};
        DrawingList[3] = {Axis.Skins[3], 0, ThumbPosition + ThumbLength - B, 0, 0};
    } else {
        DrawingList[1] = {Axis.Skins[1], ThumbPosition, 0, 0, 0};
        if (Middle > 0) DrawingList[2] = {Axis.Skins[2], ThumbPosition + A, 0, Middle, Height};
        DrawingList[3] = {Axis.Skins[3], ThumbPosition + ThumbLength - B, 0, 0, 0};
    }
}

void TScrollBar::settle() {
    Clamp(_Value, _Min, _Max);
    announce();
    arrange();
}

void TScrollBar::setValue(int32_t Value) try {
    if (!Dragging) _Value = Value;
    settle();
}
CATCH_FRAME(Value)

bool TScrollBar::leftButtonDown(int32_t X, int32_t Y, uint32_t) try {
    if (!Enabled) return true;
    // A double click arrives as a second press while the first still holds the mouse.
    if (!Pressed) setCapture(this);
    Pressed = true;
    const int32_t P = along(X, Y);
    if (P >= ThumbPosition && P <= ThumbPosition + ThumbLength) {
        DragOffset = P - ThumbPosition;
        Dragging = true;
    }
    return true;
}
CATCH_FRAME(X, Y)

bool TScrollBar::mouseMove(int32_t X, int32_t Y) try {
    if (!Enabled || !Dragging) return true;
    const int64_t Divisor = std::max(trackLength() - ThumbLength + 1, 1);
    const int64_t Moved =
        static_cast<int64_t>(along(X, Y) - DragOffset) * (static_cast<int64_t>(_Max) - _Min + 1);
    _Value = static_cast<int32_t>(std::clamp<int64_t>(Moved / Divisor + _Min, _Min, _Max));
    settle();
    return true;
}
CATCH_FRAME(X, Y)

void TScrollBar::trackStep(int32_t P) {
    const int32_t Step = PageStepping ? _PageSize - 1 : 1;
    if (P < ThumbPosition) _Value -= Step;
    if (P > ThumbPosition + ThumbLength) _Value += Step;
}

bool TScrollBar::leftButtonUp(int32_t X, int32_t Y, uint32_t) try {
    if (Pressed) {
        releaseCapture(this);
        Pressed = false;
    }
    // Any release over the bar steps, also one whose press began elsewhere.
    if (Enabled && !Dragging && inside(X, Y)) {
        trackStep(along(X, Y));
        settle();
    }
    return true;
}
CATCH_FRAME(X, Y)

bool TScrollBar::mouseScroll(int32_t X, int32_t Y, uint32_t Kind) try {
    if (!Enabled) return true;
    if (Kind == 1) _Value -= _ButtonRange;
    if (Kind == 2) _Value += _ButtonRange;
    if (Kind == 6 && Pressed && !Dragging && inside(X, Y)) trackStep(along(X, Y));
    settle();
    return true;
}
CATCH_FRAME(X, Y)

void TScrollBar::keyPressed(int32_t Key) try {
    if (!Enabled) return;
    if (Key == Axis.BackKey) _Value -= _ButtonRange;
    if (Key == Axis.ForwardKey) _Value += _ButtonRange;
    settle();
}
CATCH_FRAME(Key)

void TScrollBar::releaseCapture(TComponent* Component) try {
    Dragging = false;
    TLeafComponent::releaseCapture(Component);
}
CATCH_FRAME()

void TScrollBar::cancelCapture() {
    Dragging = false;
    Pressed = false;
}

// ---- The two bars ----

THorizontalScrollBar::THorizontalScrollBar(int32_t _Min, int32_t _Max, int32_t _Value, int32_t _PageSize,
                                           TComponent* Target, int32_t Identifier) try
    : TScrollBar(TAxis{false, {161, 162, 163, 164}, KEY_LEFT, KEY_RIGHT}, _Min, _Max, _Value, _PageSize),
      Notification(Target, Identifier) {
    arrange();
}
CATCH_FRAME(_Min, _Max)

int32_t THorizontalScrollBar::getMinimumWidth() const {
    return SkinProperties.HorizontalScrollBar.MinimumWidth;
}
int32_t THorizontalScrollBar::getMinimumHeight() const { return SkinProperties.HorizontalScrollBar.Height; }

TVerticalScrollBar::TVerticalScrollBar(int32_t x, int32_t y, int32_t width, int32_t height, int32_t _Min,
                                       int32_t _Max, int32_t _Value, int32_t _PageSize) try
    : TScrollBar(TAxis{true, {153, 154, 155, 156}, KEY_UP, KEY_DOWN}, _Min, _Max, _Value, _PageSize) {
    setPosition(x, y);
    setSize(width, height);
    arrange();
}
CATCH_FRAME(_Min, _Max)

int32_t TVerticalScrollBar::getMinimumWidth() const { return SkinProperties.VerticalScrollBar.Width; }
int32_t TVerticalScrollBar::getMinimumHeight() const {
    return SkinProperties.VerticalScrollBar.MinimumHeight;
}

void TVerticalScrollBar::setRange(int32_t _Min, int32_t _Max, int32_t _Value, int32_t _PageSize) try {
    CHECK(_Min <= _Max, _Min, _Max);
    Enabled = _Min != _Max;
    this->_Min = _Min;
    this->_Max = _Max;
    if (!Dragging) this->_Value = _Value;
    this->_Value = std::min(std::max(this->_Value, _Min), _Max);
    this->_PageSize = _PageSize;
    arrange();
}
CATCH_FRAME(_Min, _Max)

// ---- Scroll boxes ----

TScrollBox::TScrollBox(int32_t _ButtonRange, const int32_t (&Skins)[4], int32_t BackIdentifier,
                       int32_t ForwardIdentifier) try
    : BackIdentifier(BackIdentifier), ForwardIdentifier(ForwardIdentifier) {
    CHECK(_ButtonRange > 0, _ButtonRange);
    BackButton = new TButton(0, 0, Skins[0], Skins[1], this, BackIdentifier, nullptr, true);
    addChild(BackButton);
    ForwardButton = new TButton(0, 0, Skins[2], Skins[3], this, ForwardIdentifier, nullptr, true);
    addChild(ForwardButton);
}
CATCH_FRAME(_ButtonRange)

void TScrollBox::adoptBar(TScrollBar* NewBar, int32_t _ButtonRange) {
    Bar = NewBar;
    Bar->PageStepping = true;
    Bar->_ButtonRange = _ButtonRange;
    addChild(Bar);
}

bool TScrollBox::mouseScroll(int32_t X, int32_t Y, uint32_t Kind) try {
    if (TParentComponent::mouseScroll(X, Y, Kind)) return true;
    return Bar->mouseScroll(X, Y, Kind);
}
CATCH_FRAME(X, Y)

void TScrollBox::keyPressed(int32_t Key) try { Bar->keyPressed(Key); }
CATCH_FRAME(Key)

void TScrollBox::handleEvent(int32_t Identifier) try {
    if (Identifier == BackIdentifier) Bar->setValue(Bar->_Value - Bar->_ButtonRange);
    if (Identifier == ForwardIdentifier) Bar->setValue(Bar->_Value + Bar->_ButtonRange);
}
CATCH_FRAME(Identifier)

TVerticalScrollBox::TVerticalScrollBox(int32_t x, int32_t y, int32_t width, int32_t height, int32_t _Min,
                                       int32_t _Max, int32_t _Value, int32_t _PageSize,
                                       int32_t _ButtonRange) try
    : TScrollBox(_ButtonRange, {157, 158, 159, 160}, 3, 4) {
    int32_t BarLength = std::max(height - ForwardButton->Height - BackButton->Height, 0);
    adoptBar(new TVerticalScrollBar(0, 0, width, BarLength, _Min, _Max, _Value, _PageSize), _ButtonRange);
    setPosition(x, y);
    setSize(width, height);
}
CATCH_FRAME(_Min, _Max)

void TVerticalScrollBox::setSize(int32_t, int32_t _Height) try {
    const int32_t T = SkinProperties.VerticalScrollBar.Width;
    const int32_t Buttons = ForwardButton->Height + BackButton->Height;
    const int32_t BarLength = std::max(_Height - Buttons, Bar->getMinimumHeight());
    Bar->setSize(T, BarLength);
    TParentComponent::setSize(T, BarLength + Buttons);
    BackButton->setPosition(0, 0);
    Bar->setPosition(0, BackButton->Height);
    ForwardButton->setPosition(0, BarLength + BackButton->Height);
}
CATCH_FRAME(_Height)

int32_t TVerticalScrollBox::getMinimumWidth() const { return SkinProperties.VerticalScrollBar.Width; }
int32_t TVerticalScrollBox::getMinimumHeight() const {
    return SkinProperties.VerticalScrollBar.BoxMinimumHeight;
}

THorizontalScrollBox::THorizontalScrollBox(int32_t _Min, int32_t _Max, int32_t _Value, int32_t _PageSize,
                                           int32_t _ButtonRange, TComponent* Target, int32_t Identifier) try
    : TScrollBox(_ButtonRange, {165, 166, 167, 168}, 5, 6) {
    adoptBar(new THorizontalScrollBar(_Min, _Max, _Value, _PageSize, Target, Identifier), _ButtonRange);
}
CATCH_FRAME(_Min, _Max)

void THorizontalScrollBox::setSize(int32_t _Width, int32_t) try {
    const int32_t T = SkinProperties.HorizontalScrollBar.Height;
    const int32_t Buttons = ForwardButton->Width + BackButton->Width;
    const int32_t BarLength = std::max(_Width - Buttons, Bar->getMinimumWidth());
    Bar->setSize(BarLength, T);
    TParentComponent::setSize(BarLength + Buttons, T);
    BackButton->setPosition(0, 0);
    Bar->setPosition(BackButton->Width, 0);
    ForwardButton->setPosition(BarLength + BackButton->Width, 0);
}
CATCH_FRAME(_Width)

int32_t THorizontalScrollBox::getMinimumWidth() const {
    return SkinProperties.HorizontalScrollBar.BoxMinimumWidth;
}
int32_t THorizontalScrollBox::getMinimumHeight() const { return SkinProperties.HorizontalScrollBar.Height; }
