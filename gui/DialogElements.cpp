// The push-button family and radio groups.
#include "gui/DialogElements.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "state/Status.h"

#include <cstring>

// ---- TButton ----

TButton::TButton(int32_t x, int32_t y, int32_t SkinUp, int32_t SkinDown, TComponent* Target,
                 int32_t Identifier, const char* ToolTip, bool Repeat)
    : _ButtonUp(0), _ButtonDown(0), Repeat(Repeat), Notification(Target, Identifier), ToolTip(ToolTip) {
    setSkins(SkinUp, SkinDown);
    setPosition(x, y);
    setSize(GetSkin(SkinUp).Width, GetSkin(SkinUp).Height);
}

void TButton::setSkins(int32_t _ButtonUp, int32_t _ButtonDown) {
    CHECK_TEXT(_ButtonUp < GetNumberOfSkins(), "_ButtonUp<NumberOfSkins", _ButtonUp);
    CHECK_TEXT(_ButtonDown < GetNumberOfSkins(), "_ButtonDown<NumberOfSkins", _ButtonDown);
    // A negative number would index the skin table from below.
    CHECK(_ButtonUp >= 0, _ButtonUp);
    CHECK(_ButtonDown >= 0, _ButtonDown);
    this->_ButtonUp = _ButtonUp;
    this->_ButtonDown = _ButtonDown;
}

void TButton::setRadioButtonGroup(TRadioButtonGroup* Group) {
    CHECK_TEXT(RadioButtonGroup == nullptr, "RadioButtonGroup==NULL");
    CHECK_TEXT(Group != nullptr, "Group!=NULL");
    RadioButtonGroup = Group;
    Group->Members.at(Group->Count) = this;
    Group->Count++;
}

bool TButton::isPressed() const {
    if (RadioButtonGroup != nullptr && RadioButtonGroup->Selected == this) return true;
    return Pressed && Inside;
}

bool TButton::mouseMove(int32_t X, int32_t Y) {
    Inside = hits(X, Y);
    return true;
}

bool TButton::leftButtonDown(int32_t X, int32_t Y, uint32_t) try {
    if (!Enabled) return true;
    Inside = hits(X, Y);
    if (!Pressed) {
        Pressed = true;
        setCapture(this);
    }
    return true;
}
CATCH_FRAME(X, Y)

bool TButton::leftButtonUp(int32_t X, int32_t Y, uint32_t) try {
    if (!Pressed) return true;
    releaseCapture(this);
    Inside = hits(X, Y);
    if (!Inside) return true;
    if (RadioButtonGroup != nullptr) RadioButtonGroup->Selected = this;
    TNotification Told = click();
    Told.fire();
    return true;
}
CATCH_FRAME(X, Y)

TNotification TButton::click() { return Notification; }

bool TButton::mouseScroll(int32_t, int32_t, uint32_t Kind) try {
    if (Kind != 6) return false;
    if (Repeat && Pressed && Inside) {
        TNotification Told = Notification;
        Told.fire();
    }
    return true;
}
CATCH_FRAME(Kind)

void TButton::releaseCapture(TComponent* Component) {
    Pressed = false;
    TLeafComponent::releaseCapture(Component);
}

void TButton::cancelCapture() { Pressed = false; }

void TButton::getToolTip(int32_t, int32_t) { SetTooltip(ToolTip); }

void TButton::draw(int32_t Surface, int32_t X, int32_t Y) try {
    CHECK_TEXT(X >= 0, "x>=0", X);
    CHECK_TEXT(Y >= 0, "y>=0", Y);
    DrawSkin(Surface, X, Y, Width, Height, isPressed() ? _ButtonDown : _ButtonUp, 0, 0);
}
CATCH_FRAME(X, Y)

// ---- Variants ----

TColorButton::TColorButton(int32_t x, int32_t y, int32_t Red, int32_t Green, int32_t Blue, int32_t SkinUp,
                           int32_t SkinDown, TComponent* Target, int32_t Identifier, const char* ToolTip)
    : TButton(x, y, SkinUp, SkinDown, Target, Identifier, ToolTip, false), Red(Red), Green(Green),
      Blue(Blue) {}

void TColorButton::draw(int32_t Surface, int32_t X, int32_t Y) try {
    GetSurface()->FillRectangle(Surface, X, Y, Width, Height, Red, Green, Blue);
    TButton::draw(Surface, X, Y);
}
CATCH_FRAME(X, Y)

TIconButton::TIconButton(int32_t x, int32_t y, int32_t Icon, int32_t SkinUp, int32_t SkinDown,
                         TComponent* Target, int32_t Identifier, const char* ToolTip)
    : TButton(x, y, SkinUp, SkinDown, Target, Identifier, ToolTip, false), Icon(Icon) {}

void TIconButton::draw(int32_t Surface, int32_t X, int32_t Y) try {
    TButton::draw(Surface, X, Y);
    const TSkinProperties& Layout = SkinProperties;
    CHECK_TEXT(X + Layout.Buttons.Texture.x >= 0, "x+SkinProperties.Buttons.Texture.x>=0");
    CHECK_TEXT(Y + Layout.Buttons.Texture.y >= 0, "y+SkinProperties.Buttons.Texture.y>=0");
    DrawSkin(Surface, X + Layout.Buttons.Texture.x, Y + Layout.Buttons.Texture.y, GetSkin(Icon).Width,
             GetSkin(Icon).Height, Icon, 0, 0);
}
CATCH_FRAME(X, Y)

TBlinkingButton::TBlinkingButton(int32_t x, int32_t y, int32_t FirstSkinUp, int32_t FirstSkinDown,
                                 int32_t SecondSkinUp, int32_t SecondSkinDown, TComponent* Target,
                                 int32_t Identifier, const char* ToolTip)
    : TButton(x, y, FirstSkinUp, FirstSkinDown, Target, Identifier, ToolTip, false),
      NextSwap(TimeAfter(GetMilliseconds(), SkinProperties.Buttons.BlinkInterval)), FirstSkinUp(FirstSkinUp),
      FirstSkinDown(FirstSkinDown), SecondSkinUp(SecondSkinUp), SecondSkinDown(SecondSkinDown) {
    setSkins(SecondSkinUp, SecondSkinDown); // checks the second pair
    setSkins(FirstSkinUp, FirstSkinDown);
}

void TBlinkingButton::draw(int32_t Surface, int32_t X, int32_t Y) try {
    if (TimeUntil(NextSwap) < 0) {
        NextSwap = TimeAfter(GetMilliseconds(), SkinProperties.Buttons.BlinkInterval);
        if (Phase != 1) {
            setSkins(SecondSkinUp, SecondSkinDown);
            Phase = 1;
        } else {
            setSkins(FirstSkinUp, FirstSkinDown);
            Phase = 2;
        }
    }
    TButton::draw(Surface, X, Y);
}
CATCH_FRAME(X, Y)

TTextButton::TTextButton(int32_t x, int32_t y, const char* _Text, int32_t SkinUp, int32_t SkinDown,
                         TComponent* Target, int32_t Identifier, const char* ToolTip)
    : TButton(x, y, SkinUp, SkinDown, Target, Identifier, ToolTip, false) {
    CHECK_TEXT(_Text != nullptr, "_Text!=NULL");
    CHECK_TEXT(strlen(_Text) < 50, "strlen(_Text)<50");
    CopyString(this->_Text, _Text);
}

TTextButton::TTextButton(int32_t x, int32_t y, const char* _Text, TComponent* Target, int32_t Identifier,
                         const char* ToolTip)
    : TTextButton(x, y, _Text, SKIN_TEXT_BUTTON, SKIN_TEXT_BUTTON + 1, Target, Identifier, ToolTip) {}

void TTextButton::setText(const char* _Text) try {
    CHECK_TEXT(_Text != nullptr, "_Text!=NULL");
    CopyString(this->_Text, _Text);
}
CATCH_FRAME()

void TTextButton::draw(int32_t Surface, int32_t X, int32_t Y) try {
    TButton::draw(Surface, X, Y);
    const TTextFormat& Format =
        Enabled ? SkinProperties.Buttons.TextFormat : SkinProperties.Buttons.DisabledTextFormat;
    int32_t TextX, TextY;
    GetTextOrigin(TextX, TextY, X, Y, Width, Height, Format);
    if (isPressed()) {
        TextX += SkinProperties.Buttons.PressedOffset;
        TextY += SkinProperties.Buttons.PressedOffset;
    }
    PrintFormattedText(Surface, TextX, TextY, Format, _Text);
}
CATCH_FRAME(X, Y)

template <typename Base> void TToggling<Base>::getToolTip(int32_t, int32_t) {
    SetTooltip(State ? ToolTipOn : ToolTipOff);
}

template class TToggling<TButton>;
template class TToggling<TTextButton>;

TToggleButton::TToggleButton(int32_t x, int32_t y, int32_t SkinUp, int32_t SkinDown, TComponent* Target,
                             int32_t Identifier, const char* ToolTipOff, const char* ToolTipOn, bool State)
    : TToggling<TButton>(ToolTipOff, ToolTipOn, State, x, y, SkinUp, SkinDown, Target, Identifier, ToolTipOff,
                         false) {}

TTextToggleButton::TTextToggleButton(int32_t x, int32_t y, const char* _Text, int32_t SkinUp,
                                     int32_t SkinDown, TComponent* Target, int32_t Identifier,
                                     const char* ToolTipOff, const char* ToolTipOn, bool State)
    : TToggling<TTextButton>(ToolTipOff, ToolTipOn, State, x, y, _Text, SkinUp, SkinDown, Target, Identifier,
                             ToolTipOff) {}

TMultiStateButton::TMultiStateButton(int32_t x, int32_t y, const char* ToolTip, int32_t Count,
                                     const TButtonState* States)
    : TButton(x, y, States != nullptr && Count > 0 ? States[0].SkinUp : 0,
              States != nullptr && Count > 0 ? States[0].SkinDown : 0, nullptr, 0, ToolTip, false),
      Count(Count) {
    CHECK(Count > 0, Count);
    CHECK_TEXT(States != nullptr, "States!=NULL");
    for (int32_t i = 0; i < Count; i++) {
        setSkins(States[i].SkinUp, States[i].SkinDown);
        this->States.push_back(States[i]);
    }
    resetState();
}

void TMultiStateButton::resetState() {
    Current = 0;
    setSkins(States[0].SkinUp, States[0].SkinDown);
}

TNotification TMultiStateButton::click() {
    TNotification Told = States[Current].Notification;
    Current = (Current + 1) % Count;
    setSkins(States[Current].SkinUp, States[Current].SkinDown);
    return Told;
}
