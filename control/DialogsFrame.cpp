// The modal dialog frame: caption, body, separator and buttons, moved by its title bar, Enter and Escape
// turned into notifications; and the helpers the dialog bodies share.
#include "control/DialogsFrame.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsControls.h"
#include "gui/SkinProperties.h"
#include "state/Status.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Skins of the nine frame pieces.
enum : int32_t {
    SKIN_TOPLEFT = 43,
    SKIN_TOPRIGHT = 44,
    SKIN_BOTTOMLEFT = 45,
    SKIN_BOTTOMRIGHT = 46,
    SKIN_LEFT = 47,
    SKIN_RIGHT = 48,
    SKIN_TITLE = 49,
    SKIN_BOTTOM = 50,
    SKIN_BACKGROUND = 51,
};

// The button places from the right: Cancel first, then OK, then Extra; a missing button takes none.
constexpr int32_t ButtonPlaces[] = {-56, -109, -162};
constexpr int32_t BUTTON_Y = -30;

int32_t SkinWidth(int32_t Skin) { return GetSkin(Skin).Width; }
int32_t SkinHeight(int32_t Skin) { return GetSkin(Skin).Height; }

} // namespace

bool IsEmptyNotification(const TNotification& Notification) {
    return Notification.Target == nullptr && Notification.Identifier == 0;
}

TModalDialog::TModalDialog(const char* Caption, TComponent* Dialog) try : _Dialog(Dialog) {
    std::unique_ptr<TComponent> Body(Dialog);
    CHECK_TEXT(Caption != nullptr, "_Caption!=NULL");
    CHECK_TEXT(strlen(Caption) < 100, "strlen(_Caption)<100");
    CHECK_TEXT(Dialog != nullptr, "_Dialog!=NULL");
    allocateDrawingList(9);
    snprintf(_Caption, sizeof(_Caption), "%s", Caption);
    const TTextFormat& Format = SkinProperties.DialogFrame.CaptionFormat;
    CaptionLabel = new TTextLabel(0, 0, 0, 0, Format.Font, Format.Red, Format.Green, Format.Blue,
                                  Format.Alignment, _Caption, false);
    Separator = new TSeparator(true);
    addChild(Body.release());
    addChild(CaptionLabel);
    addChild(Separator);
    // The body with the margins around it, never below the minimum; a body of no height is allowed.
    TComponent::setSize(std::max(Dialog->Width + 36, getMinimumWidth()),
                        std::max(Dialog->Height + 92, getMinimumHeight()));
    setOkButton("Ok", TNotification(this, DIALOG_OK));
    setCancelButton("Cancel", TNotification(this, DIALOG_CANCEL));
}
CATCH_FRAME()

int32_t TModalDialog::getMinimumWidth() const { return SkinProperties.DialogFrame.MinimumWidth; }
int32_t TModalDialog::getMinimumHeight() const { return SkinProperties.DialogFrame.MinimumHeight; }

void TModalDialog::arrange() try {
    const int32_t W = Width, H = Height;
    placeChild(_Dialog, 18, 32, -18, -60);
    placeChild(CaptionLabel, 5, 5, -5, 10);
    placeChild(Separator, 13, -40, -13, 2);
    int32_t Place = 0;
    for (TTextButton* Button : {CancelButton, OkButton, ExtraButton})
        if (Button != nullptr) moveChild(Button, ButtonPlaces[Place++], BUTTON_Y);
    const int32_t TL = SKIN_TOPLEFT, TR = SKIN_TOPRIGHT, BL = SKIN_BOTTOMLEFT, BR = SKIN_BOTTOMRIGHT;
    DrawingList[0] = {TL, 0, 0, 0, 0, 0, 0};
    DrawingList[1] = {
        SKIN_TITLE, SkinWidth(TL), 0, W - SkinWidth(TR) - SkinWidth(TL), SkinHeight(SKIN_TITLE), 0, 0};
    DrawingList[2] = {TR, W - SkinWidth(TR), 0, 0, 0, 0, 0};
    DrawingList[3] = {SKIN_LEFT, 0, SkinHeight(TL), SkinWidth(SKIN_LEFT), H - SkinHeight(BL) - SkinHeight(TL),
                      0,         0};
    DrawingList[4] = {SKIN_RIGHT,
                      W - SkinWidth(SKIN_RIGHT),
                      SkinHeight(SKIN_TITLE),
                      SkinWidth(SKIN_RIGHT),
                      H - SkinHeight(BR) - SkinHeight(TR),
                      0,
                      0};
    DrawingList[5] = {BL, 0, H - SkinHeight(BL), 0, 0, 0, 0};
    DrawingList[6] = {SKIN_BOTTOM,
                      SkinWidth(BL),
                      H - SkinHeight(SKIN_BOTTOM),
                      W - SkinWidth(BR) - SkinWidth(BL),
                      SkinHeight(SKIN_BOTTOM),
                      0,
                      0};
    DrawingList[7] = {BR, W - SkinWidth(BR), H - SkinHeight(BR), 0, 0, 0, 0};
    DrawingList[8] = {SKIN_BACKGROUND,
                      SkinWidth(SKIN_LEFT),
                      SkinHeight(SKIN_TITLE),
                      W - SkinWidth(SKIN_RIGHT) - SkinWidth(SKIN_LEFT),
                      H - SkinHeight(SKIN_BOTTOM) - SkinHeight(SKIN_TITLE),
                      0,
                      0};
}
CATCH_FRAME()

bool TModalDialog::mouseMove(int32_t X, int32_t Y) try {
    if (!Dragging) return TParentComponent::mouseMove(X, Y);
    // Kept on the screen; a frame larger than the screen keeps its top left corner on it, where the frame
    // may be drawn.
    const int32_t FreeX = GetScreenWidth() - Width, FreeY = GetScreenHeight() - Height;
    const int32_t NewX = std::clamp(this->X + X - GrabX, 0, std::max(0, FreeX));
    const int32_t NewY = std::clamp(this->Y + Y - GrabY, 0, std::max(0, FreeY));
    setPosition(NewX, NewY);
    return true;
}
CATCH_FRAME(X, Y)

bool TModalDialog::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    if (!TParentComponent::leftButtonDown(X, Y, Flags) && In(X, 0, Width - 1) &&
        In(Y, 0, SkinHeight(SKIN_TITLE) - 1)) {
        Dragging = true;
        GrabX = X;
        GrabY = Y;
    }
    return true;
}
CATCH_FRAME(X, Y)

bool TModalDialog::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    if (!Dragging) return TParentComponent::leftButtonUp(X, Y, Flags);
    Dragging = false;
    return true;
}
CATCH_FRAME(X, Y)

void TModalDialog::keyPressed(int32_t Key) try {
    if (Key == KEY_ENTER && OkButton != nullptr && !IsEmptyNotification(OkKey)) {
        OkKey.fire();
        return;
    }
    if (Key == KEY_ESCAPE) {
        CancelKey.fire();
        return;
    }
    _Dialog->keyPressed(Key);
}
CATCH_FRAME(Key)

void TModalDialog::handleEvent(int32_t) { SetActionState(ACTIONSTATE_NONE); }

TTextButton* TModalDialog::replaceButton(TTextButton* Old, const char* Text,
                                         const TNotification& Notification) {
    if (Old != nullptr) deleteChild(Old);
    if (Text == nullptr) return nullptr;
    TTextButton* Button = new TTextButton(0, 0, Text, Notification.Target, Notification.Identifier, nullptr);
    addChild(Button);
    return Button;
}

void TModalDialog::setOkButton(const char* Text, const TNotification& Notification) try {
    if (Text == nullptr) CHECK_TEXT(OkButton != nullptr, "OkButton!=NULL");
    OkButton = replaceButton(OkButton, Text, Notification);
    if (Text == nullptr)
        OkKey = EmptyNotification;
    else
        OkKey = IsEmptyNotification(Notification) ? TNotification(this, DIALOG_OK) : Notification;
    arrange();
}
CATCH_FRAME()

void TModalDialog::setCancelButton(const char* Text, const TNotification& Notification) try {
    if (Text == nullptr) CHECK_TEXT(CancelButton != nullptr, "CancelButton!=NULL");
    CancelButton = replaceButton(CancelButton, Text, Notification);
    // Escape ends a dialog also without a Cancel button, unless the factory binds it to something else.
    const bool OwnCancel = Text == nullptr || IsEmptyNotification(Notification);
    CancelKey = OwnCancel ? TNotification(this, DIALOG_CANCEL) : Notification;
    arrange();
}
CATCH_FRAME()

void TModalDialog::setExtraButton(const char* Text, const TNotification& Notification) try {
    if (Text == nullptr) CHECK_TEXT(ExtraButton != nullptr, "ExtraButton!=NULL");
    ExtraButton = replaceButton(ExtraButton, Text, Notification);
    arrange();
}
CATCH_FRAME()

TModalDialog* FrameBody(const char* Caption, TComponent* Body, const char* OkText, int32_t OkIdentifier,
                        TCancelTarget Cancel, bool Help) {
    TModalDialog* Frame = new TModalDialog(Caption, Body);
    Frame->setOkButton(OkText, TNotification(Body, OkIdentifier));
    if (Cancel == CANCEL_BODY) Frame->setCancelButton("Cancel", TNotification(Body, DIALOG_CANCEL));
    if (Help) Frame->setExtraButton("Help", TNotification(Body, DIALOG_HELP));
    return Frame;
}

void EnterToBody(TModalDialog* Frame) { Frame->OkKey = EmptyNotification; }

// ---- What the bodies share ----

TTextLabel* PlaceLabel(TParentComponent* Body, const char* Text, int32_t x, int32_t y, int32_t Height) {
    return PlaceChild(Body, MessageLabel(Text), x, y, 0, Height);
}

TCheckBox* PlaceCheckBox(TParentComponent* Body, const char* Caption, int32_t x, int32_t y, int32_t Width,
                         bool Checked) {
    TCheckBox* Box = PlaceChild(Body, new TCheckBox(Caption), x, y, Width, 22);
    Box->setChecked(Checked);
    return Box;
}

void HandleDialogKey(TComponent* Body, TComponent* Field, int32_t Key) {
    if (Key == KEY_ENTER)
        Body->handleEvent(DIALOG_OK);
    else if (Key == KEY_ESCAPE)
        Body->handleEvent(DIALOG_CANCEL);
    else
        Field->keyPressed(Key);
}

void UnknownEvent(int32_t Event) {
    ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "unknown event", EBRUN_NAMED(Event));
}

void OpenSitePage(TOpenURLFunction OpenURL, int32_t Page) {
    if (OpenURL != nullptr) OpenURL(MessageTexts[Page]);
}
