// The modal dialogs: the dialog frame, the message, waiting and reconnect boxes, the login and character list
// dialogs, and the factories that build a framed dialog for an internal event.
#pragma once

#include "gui/DialogElementsEdit.h"
#include "gui/DialogElementsText.h"
#include "gui/GUI.h"

#include <cstdint>
#include <memory>
#include <string>

class TComponentTimer;
class TListBox;
class TProgressBar;

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

// The web site's start page, behind "Create Account" and "Official Website".
inline constexpr const char* GAME_SITE_URL = "https://www.pellarune.example/";

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

// ---- Message boxes ----

// A text with Yes and No: Enter, y and Y fire Yes; Escape, n and N fire No. The receiver ends the dialog.
class TYesNoBox : public TTextLabel {
public:
    TYesNoBox(const TTextFormat& Style, const char* Text, const TNotification& Yes, const TNotification& No);
    void keyPressed(int32_t Key) override;

    TNotification Yes, No;
};

// Enter, l and L fire Logout and end; e and E fire Exit and stay; Escape, c and C only end.
class TLogoutBox : public TTextLabel {
public:
    TLogoutBox(const TTextFormat& Style, const char* Text, const TNotification& Logout,
               const TNotification& Exit);
    void keyPressed(int32_t Key) override;

    TNotification Logout, Exit;
};

// A text that waits: for the next internal event (CloseOnEvent), for its time-out, or for Abort, which can
// also empty the event queue (AbortClearsQueue).
class TWaitBox : public TTextLabel {
public:
    TWaitBox(const TTextFormat& Style, const char* Text, bool CloseOnEvent, bool AbortClearsQueue);
    ~TWaitBox() override;

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void handleEvent(int32_t Identifier) override;
    // Count tenths of a second, firing Identifier at Target on every tick; replaces the present countdown.
    virtual void setTimer(int32_t Count, TComponent* Target, int32_t Identifier);

    std::unique_ptr<TComponentTimer> Countdown;
    bool CloseOnEvent;
    bool AbortClearsQueue;
};

// "Trying to reconnect in %d %s." for Value tenths of a second (the remaining time plus one second).
void FormatReconnectCountdown(char* Buffer, size_t Size, int32_t Value);

// The server's waiting-list text with a countdown; at its end the game login starts again.
class TReconnectDialog : public TParentComponent {
public:
    // Seconds 0..255; a wait of 0 still counts down one tick, so that the login is tried again.
    TReconnectDialog(const char* Text, int32_t Seconds);
    ~TReconnectDialog() override;

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void handleEvent(int32_t Identifier) override;

    int32_t Total; // tenths of a second
    char CountdownText[512] = {};
    std::unique_ptr<TComponentTimer> Countdown;
    TProgressBar* ProgressBar;
    TTextLabel* CountdownLabel;
};

// ---- Login and character list ----

class TLoginDialog : public TParentComponent {
public:
    explicit TLoginDialog(TOpenURLFunction OpenURL);

    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 stores the account and connects; any other ends

    TPasswordField* AccountField;
    TPasswordField* PasswordField;
    TFocusGroup FocusGroup;
};

// The account number of the login field: leading blanks, an optional sign, digits to the first non-digit.
int32_t ParseAccountNumber(const char* Text);

class TCharacterListDialog : public TParentComponent {
public:
    TCharacterListDialog();
    ~TCharacterListDialog() override;

    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 chooses, 31 counts down, any other ends
    void parentMoved() override;
    // The idle countdown of Count tenths of a second; input restarts it with the same length.
    virtual void setTimer(int32_t Count);

    TListBox* List;
    std::unique_ptr<TComponentTimer> Countdown;
    int32_t IdleCount = 0;
    TMarkupTextBox* AccountStatus;

private:
    void restartCountdown();
};

// The account-status mark-up for a number of premium days (0 free, 65535 gratis premium).
void FormatAccountStatus(char* Buffer, size_t Size, int32_t PremiumDays);

// ---- The text of a box, fitted to the main window ----

// The room a dialog body has in the main window (the frame adds 36 x 92 pixels around it); without a main
// window there is no limit.
void GetDialogBodyRoom(int32_t& Width, int32_t& Height);
// Text with a line feed put in wherever a line would be wider than Width pixels in Font: in place of the
// last blank that fits, or behind the last character that fits when a word fills the line alone.
std::string WrapText(int32_t Font, const char* Text, int32_t Width);
// The body that shows a text in the message style within Width x Height pixels: a label wrapped to the
// width, or, for a text still taller than the room, a read-only text field that fills it and scrolls.
TComponent* NewMessageBody(const char* Text, int32_t Width, int32_t Height);

// ---- Factories: each builds the framed dialog of one event, or NULL when it opens nothing ----

TModalDialog* CreateMessageBox(const char* Caption, const char* Text);
TModalDialog* CreateMarkupBox(const char* Caption, const char* Text);
TModalDialog* CreateConnectingBox(const char* Caption, const char* Text, TComponent* Receiver);
TModalDialog* CreateWaitBox(const char* Caption, const char* Text, int32_t Count);
TModalDialog* CreateReconnectDialog(const char* Caption, const char* Text, int32_t Seconds);
TModalDialog* CreateYesNoBox(const char* Caption, const char* Text, TComponent* Receiver,
                             int32_t YesIdentifier, int32_t NoIdentifier);
TModalDialog* CreateLogoutBox(const char* Caption, const char* Text, TComponent* Receiver);
TModalDialog* CreateLoginDialog(TOpenURLFunction OpenURL);
TModalDialog* CreateCharacterListDialog(int32_t Count);
TModalDialog* CreateInfoDialog(TOpenURLFunction OpenURL);
