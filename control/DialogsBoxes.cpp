// The boxes of one text: message, mark-up, yes/no and logout boxes, waiting (connecting, please wait), the
// reconnect countdown and the info box, with their factories; a text fitted to the main window.
#include "control/DialogsBoxes.h"
#include "control/DialogsLogin.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsFrame.h"
#include "gui/DialogElementsMultiLine.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "screen/MainWindow.h"
#include "screen/MessageTexts.h"
#include "state/Events.h"
#include "state/Status.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The key without Shift, so that an upper-case letter typed with Shift still matches.
int32_t Unshifted(int32_t Key) { return Key & ~KEY_SHIFT; }

bool IsKey(int32_t Key, int32_t Lower) {
    const int32_t Code = Unshifted(Key);
    return Code == Lower || Code == Lower - 'a' + 'A';
}

void EndDialog() { SetActionState(ACTIONSTATE_NONE); }

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
    snprintf(Buffer, Size, MessageTexts[TEXT_RECONNECT_COUNTDOWN], Number, Unit);
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
        ConnectToActiveCharacter();
    } else if (Identifier == DIALOG_ABORT) {
        AddMessage(MESSAGE_WAITFORCHARACTERS, 20, 0);
        AddMessage(MESSAGE_CHARACTERLIST, 300, 0);
        EndDialog();
    } else {
        EndDialog();
    }
}
CATCH_FRAME(Identifier)

// ---- Factories and the fitted text ----

namespace {

const TTextFormat& MessageStyle() { return SkinProperties.Popups.MessageFormat; }

// A label of the text in the message style, as large as the text.
TTextLabel* TextLabel(const char* Text) {
    const TTextFormat& Style = MessageStyle();
    return new TTextLabel(Style.Font, Style.Red, Style.Green, Style.Blue, Style.Alignment, Text);
}

// The frame's margins around its body.
constexpr int32_t FRAME_EXTRA_WIDTH = 36, FRAME_EXTRA_HEIGHT = 92;
constexpr int32_t NO_LIMIT = 1 << 30;

// One line of WrapText: the pieces of Line, each at most Width pixels wide.
void WrapLine(int32_t Font, std::string Line, int32_t Width, std::string& Wrapped) {
    for (;;) {
        const int32_t Length = static_cast<int32_t>(Line.size());
        const int32_t Fit = std::max(GetTextFitLength(Font, Line.c_str(), Width), 1);
        if (Fit >= Length) break;
        // A blank at the break point or before it ends the piece and is dropped.
        int32_t Break = Fit;
        while (Break > 0 && Line[Break] != ' ')
            Break--;
        const int32_t End = Break > 0 ? Break : Fit;
        Wrapped.append(Line, 0, End) += '\n';
        Line.erase(0, Break > 0 ? Break + 1 : Fit);
    }
    Wrapped += Line;
}

// A frame with its one button, OK, which ends it; Enter and Escape end it too.
TModalDialog* OkOnly(const char* Caption, TComponent* Body) {
    TModalDialog* Frame = new TModalDialog(Caption, Body);
    Frame->setOkButton("Ok", TNotification(Frame, DIALOG_OK));
    Frame->setCancelButton(nullptr, EmptyNotification);
    return Frame;
}

// A frame with only an Abort button; Escape aborts too.
TModalDialog* AbortOnly(const char* Caption, TComponent* Body, const TNotification& Abort) {
    TModalDialog* Frame = new TModalDialog(Caption, Body);
    Frame->setOkButton("Abort", Abort);
    Frame->setCancelButton(nullptr, EmptyNotification);
    Frame->CancelKey = Abort;
    return Frame;
}

// Shrinks a laid-out mark-up box to the extent of what it shows.
void FitToContent(TMarkupTextBox* Box) {
    int32_t Right = 1, Bottom = 1;
    for (TComponent* Child = Box->getFirstChild(); Child != nullptr; Child = Child->getNext()) {
        Right = std::max(Right, Child->X + Child->Width);
        Bottom = std::max(Bottom, Child->Y + Child->Height);
    }
    Box->TComponent::setSize(std::min(Right, Box->Width), std::min(Bottom, Box->Height));
}

} // namespace

void GetDialogBodyRoom(int32_t& Width, int32_t& Height) {
    const TComponent* Root = GetMainWindow();
    Width = Root != nullptr ? std::max(Root->Width - FRAME_EXTRA_WIDTH, 1) : NO_LIMIT;
    Height = Root != nullptr ? std::max(Root->Height - FRAME_EXTRA_HEIGHT, 1) : NO_LIMIT;
}

std::string WrapText(int32_t Font, const char* Text, int32_t Width) {
    std::string Wrapped;
    for (const char* Line = Text;;) {
        const char* Feed = strchr(Line, '\n');
        WrapLine(Font, std::string(Line, Feed != nullptr ? Feed : Line + strlen(Line)), Width, Wrapped);
        if (Feed == nullptr) return Wrapped;
        Wrapped += '\n';
        Line = Feed + 1;
    }
}

TComponent* NewMessageBody(const char* Text, int32_t Width, int32_t Height) {
    const int32_t Font = MessageStyle().Font;
    if (Width >= NO_LIMIT) return TextLabel(Text);
    TTextLabel* Label = TextLabel(WrapText(Font, Text, Width).c_str());
    if (Label->Height <= Height) return Label;
    delete Label;
    const int32_t Length = static_cast<int32_t>(strlen(Text));
    auto* Field = new TMultiLineEditField(Length, true);
    Field->setSize(Width, Height);
    Field->setText(Text, true);
    return Field;
}

TModalDialog* CreateMessageBox(const char* Caption, const char* Text) {
    int32_t Width = 0, Height = 0;
    GetDialogBodyRoom(Width, Height);
    return OkOnly(Caption, NewMessageBody(Text != nullptr ? Text : "", Width, Height));
}

TModalDialog* CreateMarkupBox(const char* Caption, const char* Text) {
    TMarkupTextBox* Body = new TMarkupTextBox(Text != nullptr ? Text : "");
    Body->setSize(400, 340);
    FitToContent(Body);
    return OkOnly(Caption, Body);
}

TModalDialog* CreateConnectingBox(const char* Caption, const char* Text, TComponent* Receiver) {
    return AbortOnly(Caption, new TWaitBox(MessageStyle(), Text, true, false),
                     TNotification(Receiver, DIALOG_ABORT));
}

TModalDialog* CreateWaitBox(const char* Caption, const char* Text, int32_t Count) {
    TWaitBox* Body = new TWaitBox(MessageStyle(), Text, false, true);
    if (Count > 0) Body->setTimer(Count, Body, DIALOG_TICK);
    return AbortOnly(Caption, Body, TNotification(Body, DIALOG_ABORT));
}

TModalDialog* CreateReconnectDialog(const char* Caption, const char* Text, int32_t Seconds) {
    TReconnectDialog* Body = new TReconnectDialog(Text != nullptr ? Text : "", Seconds);
    return AbortOnly(Caption, Body, TNotification(Body, DIALOG_ABORT));
}

TModalDialog* CreateYesNoBox(const char* Caption, const char* Text, TComponent* Receiver,
                             int32_t YesIdentifier, int32_t NoIdentifier) {
    const TNotification Yes(Receiver, YesIdentifier), No(Receiver, NoIdentifier);
    TModalDialog* Frame = new TModalDialog(Caption, new TYesNoBox(MessageStyle(), Text, Yes, No));
    Frame->setOkButton("Yes", Yes);
    Frame->setCancelButton("No", No);
    return Frame;
}

TModalDialog* CreateLogoutBox(const char* Caption, const char* Text, TComponent* Receiver) {
    const TNotification Logout(Receiver, DIALOG_LOGOUT), Exit(Receiver, DIALOG_EXIT);
    TModalDialog* Frame = new TModalDialog(Caption, new TLogoutBox(MessageStyle(), Text, Logout, Exit));
    Frame->setOkButton("Logout", Logout);
    Frame->setCancelButton("Cancel", TNotification(Receiver, DIALOG_CANCEL));
    Frame->setExtraButton("Exit", Exit);
    return Frame;
}

TModalDialog* CreateInfoDialog(TOpenURLFunction OpenURL) {
    const TSkinRectangle& Size = SkinProperties.Popups.InfoPanel;
    TParentComponent* Panel = new TParentComponent;
    Panel->TComponent::setSize(Size.width, Size.height);
    auto Add = [Panel](TComponent* Child, int32_t y, int32_t Height) {
        Panel->addChild(Child);
        Panel->placeChild(Child, 0, y, 0, Height);
    };
    Add(new TTextLabel(0, 0, 1, 1, 4, 176, 176, 176, 1, MessageTexts[TEXT_WELCOME], false), 0, 70);
    Add(new TSeparator(true), 74, 2);
    Add(new TLabelledButton(MessageTexts[TEXT_OFFICIAL_WEBSITE], "Pellarune 7.72", GAME_SITE_URL, OpenURL, 4,
                            176, 176, 176, 0),
        91, 20);
    TWindowFrame* Framed = new TWindowFrame(Panel, 8);
    Framed->fitToWindow();
    return OkOnly("Info", Framed);
}
