// The frame of every modal dialog, the identifiers its buttons send, and what the dialog bodies share: the
// label style of their texts, placing a child, check boxes and opening a page of the game's site.
#pragma once

#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsEdit.h"
#include "gui/DialogElementsText.h"
#include "gui/GUI.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "screen/MessageTexts.h"

#include <cstdint>

// Notification identifiers shared by the frame and the bodies.
enum : int32_t {
    DIALOG_OK = 1,
    DIALOG_CANCEL = 2,
    DIALOG_EXIT = 7,
    DIALOG_ABORT = 29,
    DIALOG_TICK = 31,
    DIALOG_LOGOUT = 506,
    DIALOG_HELP = 701,
};

// The longest character name a name field takes.
inline constexpr int32_t CHARACTER_NAME_LENGTH = 29;

// The web site's start page, behind "Create Account" and "Official Website".
inline constexpr const char* GAME_SITE_URL = MessageTexts[TEXT_URL_SITE];

using TOpenURLFunction = void (*)(const char* Url);

bool IsEmptyNotification(const TNotification& Notification);

// The frame of every dialog: caption, one body, a separator and up to three text buttons; it moves by its
// title bar and turns Enter and Escape into notifications. A dialog ends when a handler sets the action
// state to none; the controller then deletes the frame with the body.
class TModalDialog : public TParentComponent {
public:
    // Takes the body, also when a check fails ("_Caption!=NULL", "strlen(_Caption)<100", "_Dialog!=NULL").
    // Starts with "Ok" (frame, 1) and "Cancel" (frame, 2).
    TModalDialog(const char* _Caption, TComponent* _Dialog);

    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;
    void arrange() override;
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // any identifier ends the dialog

    // A Text makes (or remakes) the button and binds its key (Enter, Escape; the empty notification binds
    // the frame's own 1 or 2); NULL removes the button, which must exist.
    void setOkButton(const char* Text, const TNotification& Notification);
    void setCancelButton(const char* Text, const TNotification& Notification);
    void setExtraButton(const char* Text, const TNotification& Notification);

    TComponent* _Dialog;
    TTextButton* OkButton = nullptr;
    TTextButton* CancelButton = nullptr;
    TTextButton* ExtraButton = nullptr;
    TTextLabel* CaptionLabel = nullptr;
    TComponent* Separator = nullptr;
    bool Dragging = false;
    int32_t GrabX = 0, GrabY = 0; // the press that began the drag, in frame coordinates
    char _Caption[100] = {};
    TNotification OkKey;     // what Enter fires
    TNotification CancelKey; // what Escape fires

private:
    TTextButton* replaceButton(TTextButton* Old, const char* Text, const TNotification& Notification);
};

// What a factory's Cancel button sends: the frame's own 2, or 2 to the body.
enum TCancelTarget { CANCEL_FRAME, CANCEL_BODY };
// A frame for Body whose OK button (OkText) fires the body's OkIdentifier; Cancel stays the frame's own or
// fires the body's 2; a "Help" button fires the body's 701 on request.
TModalDialog* FrameBody(const char* Caption, TComponent* Body, const char* OkText = "Ok",
                        int32_t OkIdentifier = DIALOG_OK, TCancelTarget Cancel = CANCEL_FRAME,
                        bool Help = false);
// Enter reaches the body (a multi-line text) instead of firing OK.
void EnterToBody(TModalDialog* Frame);

// ---- What the bodies share ----

// A label in the dialogs' message style, sized by its place.
inline TTextLabel* MessageLabel(const char* Text) {
    const TTextFormat& Style = SkinProperties.Popups.MessageFormat;
    return new TTextLabel(0, 0, 1, 1, Style.Font, Style.Red, Style.Green, Style.Blue, Style.Alignment, Text,
                          false);
}

// Adds Child to Body and places it; a negative x counts from the right, a width of 0 reaches the right edge.
template <typename T>
T* PlaceChild(TParentComponent* Body, T* Child, int32_t x, int32_t y, int32_t w, int32_t h) {
    Body->addChild(Child);
    Body->placeChild(Child, x, y, w, h);
    return Child;
}

// A label in the message style and a check box, placed; a width of 0 reaches the right edge.
TTextLabel* PlaceLabel(TParentComponent* Body, const char* Text, int32_t x, int32_t y, int32_t Height = 14);
TCheckBox* PlaceCheckBox(TParentComponent* Body, const char* Caption, int32_t x, int32_t y, int32_t Width,
                         bool Checked);
// A body's keys: Enter fires its OK, Escape its Cancel (through handleEvent), other keys go to Field.
void HandleDialogKey(TComponent* Body, TComponent* Field, int32_t Key);
inline bool IsEmptyField(const TEditField* Field) { return Field->getText()[0] == 0; }
// The failed check "unknown event" of a body's handler.
[[noreturn]] void UnknownEvent(int32_t Event);
// Opens the game site's page whose address is the message text Page; nothing without a function.
void OpenSitePage(TOpenURLFunction OpenURL, int32_t Page);
