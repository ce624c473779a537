// The boxes of one text: message, mark-up, yes/no and logout boxes, the waiting boxes (connecting, please
// wait), the reconnect countdown and the info box; their factories, and the fitting of a text to the main
// window.
#pragma once

#include "control/DialogsFrame.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class TComponentTimer;
class TProgressBar;

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

// The reconnect line of the message texts for Value tenths of a second (the remaining time plus one second).
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

// ---- Factories: each builds the framed box of one event ----

TModalDialog* CreateMessageBox(const char* Caption, const char* Text);
TModalDialog* CreateMarkupBox(const char* Caption, const char* Text);
TModalDialog* CreateConnectingBox(const char* Caption, const char* Text, TComponent* Receiver);
TModalDialog* CreateWaitBox(const char* Caption, const char* Text, int32_t Count);
TModalDialog* CreateReconnectDialog(const char* Caption, const char* Text, int32_t Seconds);
TModalDialog* CreateYesNoBox(const char* Caption, const char* Text, TComponent* Receiver,
                             int32_t YesIdentifier, int32_t NoIdentifier);
TModalDialog* CreateLogoutBox(const char* Caption, const char* Text, TComponent* Receiver);
TModalDialog* CreateInfoDialog(TOpenURLFunction OpenURL);
