// The factories of the message boxes, the connecting and waiting boxes, the info box and the login and
// character list dialogs: each builds the body, frames it and binds the buttons and keys.
#define EBRUN_SOURCE_NAME "Dialogs.cpp"
#include "control/Dialogs.h"

#include "foundation/Exception.h"
#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsFrame.h"
#include "gui/DialogElementsMultiLine.h"
#include "gui/SkinProperties.h"
#include "screen/MainWindow.h"

#include <algorithm>
#include <cstring>

namespace {

const TTextFormat& MessageStyle() { return SkinProperties.Popups.MessageFormat; }

TTextLabel* MessageLabel(const char* Text) {
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
    if (Width >= NO_LIMIT) return MessageLabel(Text);
    TTextLabel* Label = MessageLabel(WrapText(Font, Text, Width).c_str());
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

TModalDialog* CreateLoginDialog(TOpenURLFunction OpenURL) {
    TLoginDialog* Body = new TLoginDialog(OpenURL);
    TModalDialog* Frame = new TModalDialog("Enter Game", Body);
    Frame->setOkButton("Ok", TNotification(Body, DIALOG_OK));
    Frame->setCancelButton("Cancel", TNotification(Body, DIALOG_CANCEL));
    return Frame;
}

TModalDialog* CreateCharacterListDialog(int32_t Count) {
    TCharacterListDialog* Body = new TCharacterListDialog;
    if (Count >= 1) Body->setTimer(Count);
    TModalDialog* Frame = new TModalDialog("Select Character", Body);
    Frame->setOkButton("Ok", TNotification(Body, DIALOG_OK));
    Frame->setCancelButton("Cancel", TNotification(Frame, DIALOG_CANCEL));
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
    Add(new TTextLabel(0, 0, 1, 1, 4, 176, 176, 176, 1, "Welcome to Pellarune772", false), 0, 70);
    Add(new TSeparator(true), 74, 2);
    Add(new TLabelledButton("Official Website", "Pellarune 7.72", GAME_SITE_URL, OpenURL, 4, 176, 176, 176,
                            0),
        91, 20);
    TWindowFrame* Framed = new TWindowFrame(Panel, 8);
    Framed->fitToWindow();
    return OkOnly("Info", Framed);
}
