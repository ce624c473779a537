// The boxes of one text: yes/no, logout, waiting (connecting, please wait) and the reconnect countdown.
#define EBRUN_SOURCE_NAME "Dialogs.cpp"
#include "control/Dialogs.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsControls.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "state/Events.h"
#include "state/Status.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int32_t KEY_ENTER = 13;
constexpr int32_t KEY_ESCAPE = 27;
constexpr int32_t KEY_SHIFT = 0x200;

// The key without Shift, so that an upper-case letter typed with Shift still matches.
int32_t Unshifted(int32_t Key) { return Key & ~KEY_SHIFT; }

bool IsKey(int32_t Key, int32_t Lower) {
    const int32_t Code = Unshifted(Key);
    return Code == Lower || Code == Lower - 'a' + 'A';
}

void EndDialog() { SetActionState(ACTIONSTATE_NONE); }

bool InGame() {
    const int32_t State = GetConnectionState();
    return State == CONNECTIONSTATE_GAME || State == CONNECTIONSTATE_GAMELOGIN;
}

} // namespace

// ---- TYesNoBox, TLogoutBox ----

TYesNoBox::TYesNoBox(const TTextFormat& Style, const char* Text, const TNotification& Yes,
                     const TNotification& No)
    : TTextLabel(Style.Font, Style.Red, Style.Green, Style.Blue, Style.Alignment, Text), Yes(Yes), No(No) {}

void TYesNoBox::keyPressed(int32_t Key) try {
    if (Key == KEY_ENTER || IsKey(Key, 'y'))
        Yes.fire();
    else if (Key == KEY_ESCAPE || IsKey(Key, 'n'))
        No.fire();
}
CATCH_FRAME(Key)

TLogoutBox::TLogoutBox(const TTextFormat& Style, const char* Text, const TNotification& Logout,
                       const TNotification& Exit)
    : TTextLabel(Style.Font, Style.Red, Style.Green, Style.Blue, Style.Alignment, Text), Logout(Logout),
      Exit(Exit) {}

void TLogoutBox::keyPressed(int32_t Key) try {
    if (Key == KEY_ENTER || IsKey(Key, 'l')) {
        Logout.fire();
        EndDialog();
    } else if (IsKey(Key, 'e')) {
        Exit.fire();
    } else if (Key == KEY_ESCAPE || IsKey(Key, 'c')) {
        EndDialog();
    }
}
CATCH_FRAME(Key)

// ---- TWaitBox ----

TWaitBox::TWaitBox(const TTextFormat& Style, const char* Text, bool CloseOnEvent, bool AbortClearsQueue)
    : TTextLabel(Style.Font, Style.Red, Style.Green, Style.Blue, Style.Alignment, Text),
      CloseOnEvent(CloseOnEvent), AbortClearsQueue(AbortClearsQueue) {}

TWaitBox::~TWaitBox() = default;

void TWaitBox::draw(int32_t Surface, int32_t X, int32_t Y) try {
    TTextLabel::draw(Surface, X, Y);
    // The step it waits for has posted its next event: the box makes way for it.
    if (CloseOnEvent && PeekMessageType() != MESSAGE_NONE) handleEvent(DIALOG_ABORT);
}
CATCH_FRAME(X, Y)

void TWaitBox::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_TICK && Countdown != nullptr && !Countdown->isExpired()) return;
    if (Identifier == DIALOG_ABORT && AbortClearsQueue) ClearMessages();
    EndDialog();
}
CATCH_FRAME(Identifier)

void TWaitBox::setTimer(int32_t Count, TComponent* Target, int32_t Identifier) {
    Countdown = std::make_unique<TComponentTimer>(Count, Target, Identifier);
}

// ---- TReconnectDialog ----

void FormatReconnectCountdown(char* Buffer, size_t Size, int32_t Value) {
    int32_t Number = 0;
    const char* Unit = nullptr;
    if (Value <= 600) {
        Number = Value / 10;
        Unit = Number < 2 ? "second" : "seconds";
    } else {
        Number = Value / 600 + 1;
        Unit = Number < 2 ? "minute" : "minutes";
    }
    snprintf(Buffer, Size, "Trying to reconnect in %d %s.", Number, Unit);
}

TReconnectDialog::TReconnectDialog(const char* Text, int32_t Seconds) try {
    // A wait of 0 seconds would make a countdown that never fires and a box that never reconnects.
    Total = std::max(Seconds * 10, 1);
    Countdown = std::make_unique<TComponentTimer>(Total, this, DIALOG_TICK);
    FormatReconnectCountdown(CountdownText, sizeof(CountdownText), Total + 10);
    const TTextFormat& Style = SkinProperties.Popups.MessageFormat;
    ProgressBar = new TProgressBar;
    CountdownLabel =
        new TTextLabel(Style.Font, Style.Red, Style.Green, Style.Blue, Style.Alignment, CountdownText);
    // The server's text takes the room the main window leaves beside the bar and the countdown.
    int32_t RoomWidth = 0, RoomHeight = 0;
    GetDialogBodyRoom(RoomWidth, RoomHeight);
    const int32_t Below = 13 + ProgressBar->getMinimumHeight() + 13 + CountdownLabel->Height;
    TComponent* Message = NewMessageBody(Text, RoomWidth, std::max(RoomHeight - Below, 1));
    const int32_t BodyWidth = std::max({Message->Width, ProgressBar->getMinimumWidth(),
                                        CountdownLabel->Width + GetStringWidth(Style.Font, "8888")});
    const int32_t BarY = Message->Height + 13, LabelY = BarY + ProgressBar->getMinimumHeight() + 13;
    const int32_t BodyHeight = LabelY + CountdownLabel->Height;
    TComponent::setSize(BodyWidth, BodyHeight);
    addChild(Message);
    addChild(ProgressBar);
    addChild(CountdownLabel);
    placeChild(Message, 0, 0, BodyWidth, std::max(Message->Height, 1));
    placeChild(ProgressBar, 0, BarY, BodyWidth, ProgressBar->getMinimumHeight());
    placeChild(CountdownLabel, 0, LabelY, BodyWidth, std::max(CountdownLabel->Height, 1));
    ProgressBar->setMaximum(Total);
    ProgressBar->setValue(0);
}
CATCH_FRAME(Seconds)

TReconnectDialog::~TReconnectDialog() = default;

void TReconnectDialog::draw(int32_t Surface, int32_t X, int32_t Y) try {
    TParentComponent::draw(Surface, X, Y);
    // Any new event, also the reconnect that the countdown posted, ends the box.
    if (PeekMessageType() != MESSAGE_NONE) EndDialog();
}
CATCH_FRAME(X, Y)

void TReconnectDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_TICK && !Countdown->isExpired()) {
        const int32_t Remaining = Countdown->getRemaining();
        ProgressBar->setValue(Total - Remaining);
        FormatReconnectCountdown(CountdownText, sizeof(CountdownText), Remaining + 10);
        CountdownLabel->setText(CountdownText, false);
    } else if (Identifier == DIALOG_TICK) {
        if (!InGame()) {
            AddMessage(MESSAGE_CONNECTGAME, 0, 0);
            AddMessage(MESSAGE_CONNECTINGGAME, 0, 0);
        } else {
            AddMessage(MESSAGE_CHANGECHARACTER, 0, 0);
            SendLogout();
        }
    } else if (Identifier == DIALOG_ABORT) {
        AddMessage(MESSAGE_WAITFORCHARACTERS, 20, 0);
        AddMessage(MESSAGE_CHARACTERLIST, 300, 0);
        EndDialog();
    } else {
        EndDialog();
    }
}
CATCH_FRAME(Identifier)
