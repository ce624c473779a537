// The road into the game: the login dialog (account number and password) and the character list with its
// idle countdown and the account status; their factories.
#include "control/DialogsLogin.h"

#include "foundation/Exception.h"
#include "gui/DialogElementsList.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/MessageTexts.h"
#include "state/Events.h"
#include "state/Status.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int32_t ACCOUNT_LENGTH = 8;
constexpr int32_t PASSWORD_LENGTH = 29;
constexpr int32_t GRATIS_PREMIUM = 65535;
constexpr int32_t FEW_PREMIUM_DAYS = 14; // below this the days stand in red

bool InGame() {
    const int32_t State = GetConnectionState();
    return State == CONNECTIONSTATE_GAME || State == CONNECTIONSTATE_GAMELOGIN;
}

} // namespace

void ConnectToActiveCharacter() {
    if (!InGame()) {
        AddMessage(MESSAGE_CONNECTGAME, 0, 0);
        AddMessage(MESSAGE_CONNECTINGGAME, 0, 0);
    } else {
        AddMessage(MESSAGE_CHANGECHARACTER, 0, 0);
        SendLogout();
    }
}

int32_t ParseAccountNumber(const char* Text) {
    const char* P = Text;
    while (*P == ' ' || *P == '\t')
        P++;
    int32_t Sign = 1;
    if (*P == '+' || *P == '-') Sign = *P++ == '-' ? -1 : 1;
    int64_t Value = 0;
    // The field holds at most 8 characters; the bound only keeps a longer text from overflowing.
    for (; isdigit(static_cast<unsigned char>(*P)) && Value < INT32_MAX; P++)
        Value = Value * 10 + (*P - '0');
    return static_cast<int32_t>(Sign * std::min<int64_t>(Value, INT32_MAX));
}

// ---- TLoginDialog ----

TLoginDialog::TLoginDialog(TOpenURLFunction OpenURL) try {
    TComponent::setSize(200, 86);
    const TTextFormat& Style = SkinProperties.Popups.MessageFormat;
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_ACCOUNT_NUMBER]), 0, 2, 107, 14);
    AccountField = PlaceChild(this, new TPasswordField(ACCOUNT_LENGTH), -86, 0, 0, 16);
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_PASSWORD]), 0, 31, 107, 14);
    PasswordField = PlaceChild(this, new TPasswordField(PASSWORD_LENGTH), -86, 29, 0, 16);
    PlaceChild(this,
               new TLabelledButton(MessageTexts[TEXT_NO_ACCOUNT_YET], "Create Account", GAME_SITE_URL,
                                   OpenURL, Style.Font, Style.Red, Style.Green, Style.Blue, Style.Alignment),
               0, 58, 0, 28);
    AccountField->setFocusGroup(&FocusGroup);
    PasswordField->setFocusGroup(&FocusGroup);
    FocusGroup.setActive(AccountField);
}
CATCH_FRAME()

void TLoginDialog::keyPressed(int32_t Key) try {
    if (Key == KEY_ENTER) {
        handleEvent(DIALOG_OK);
    } else if (Key == KEY_ESCAPE) {
        handleEvent(DIALOG_CANCEL);
    } else {
        TEditField* FocusEdit = FocusGroup.getActive();
        CHECK_TEXT(FocusEdit != nullptr, "FocusEdit!=NULL");
        FocusEdit->keyPressed(Key);
    }
}
CATCH_FRAME(Key)

void TLoginDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK) {
        SetAccount(static_cast<uint32_t>(ParseAccountNumber(AccountField->getText())),
                   PasswordField->getText());
        AddMessage(MESSAGE_CONNECTLOGIN, 0, 0);
        AddMessage(MESSAGE_LOADINGCHARACTERS, 0, 0);
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- TCharacterListDialog ----

void FormatAccountStatus(char* Buffer, size_t Size, int32_t Days) {
    const TTextFormat& S = SkinProperties.Popups.MessageFormat;
    const char* Head = "<font=4><red=%d><green=%d><blue=%d>Account Status:\n";
    char Format[256];
    if (Days == 0) {
        snprintf(Format, sizeof(Format), "%sFree Account", Head);
        snprintf(Buffer, Size, Format, S.Red, S.Green, S.Blue);
    } else if (Days == GRATIS_PREMIUM) {
        snprintf(Format, sizeof(Format), "%sGratis Premium Account\n", Head);
        snprintf(Buffer, Size, Format, S.Red, S.Green, S.Blue);
    } else if (Days >= FEW_PREMIUM_DAYS) {
        snprintf(Format, sizeof(Format), "%sPremium Account (%%d day%%s left)", Head);
        snprintf(Buffer, Size, Format, S.Red, S.Green, S.Blue, Days, "s");
    } else {
        snprintf(
            Format, sizeof(Format),
            "%sPremium Account (<red=%%d><green=%%d><blue=%%d>%%d day%%s left<red=%%d><green=%%d><blue=%%d>)",
            Head);
        snprintf(Buffer, Size, Format, S.Red, S.Green, S.Blue, 248, 96, 96, Days, Days == 1 ? "" : "s", S.Red,
                 S.Green, S.Blue);
    }
}

TCharacterListDialog::TCharacterListDialog() try {
    TComponent::setSize(200, 202);
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_SELECT_CHARACTER]), 0, 0, 0, 14);
    List = PlaceChild(this, new TListBox(nullptr, 0, this, DIALOG_OK), 0, 15, 0, 146);
    const int32_t Characters = GetAccountCharacters();
    char Line[80];
    for (int32_t Number = 0; Number < Characters; Number++) {
        snprintf(Line, sizeof(Line), "%s (%s)", GetCharacterName(Number), GetCharacterWorld(Number));
        List->addLine(Line);
    }
    if (Characters > 0)
        List->select(InGame() && GetActiveCharacter() < Characters ? GetActiveCharacter() : 0);
    char Status[256];
    FormatAccountStatus(Status, sizeof(Status), GetPremiumDays());
    AccountStatus = PlaceChild(this, new TMarkupTextBox(Status), 0, 174, 0, 28);
}
CATCH_FRAME()

TCharacterListDialog::~TCharacterListDialog() = default;

void TCharacterListDialog::setTimer(int32_t Count) {
    Countdown = std::make_unique<TComponentTimer>(Count, this, DIALOG_TICK);
    IdleCount = Count;
}

void TCharacterListDialog::restartCountdown() {
    if (IdleCount > 0) setTimer(IdleCount);
}

bool TCharacterListDialog::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) {
    restartCountdown();
    return TParentComponent::leftButtonDown(X, Y, Flags);
}

bool TCharacterListDialog::rightClick(int32_t X, int32_t Y, uint32_t Flags) {
    restartCountdown();
    return TParentComponent::rightClick(X, Y, Flags);
}

bool TCharacterListDialog::mouseScroll(int32_t X, int32_t Y, uint32_t Kind) {
    restartCountdown();
    return TParentComponent::mouseScroll(X, Y, Kind);
}

void TCharacterListDialog::parentMoved() { restartCountdown(); }

void TCharacterListDialog::keyPressed(int32_t Key) try {
    if (Key == KEY_ENTER)
        handleEvent(DIALOG_OK);
    else if (Key == KEY_ESCAPE)
        handleEvent(DIALOG_CANCEL);
    else
        List->keyPressed(Key);
    restartCountdown();
}
CATCH_FRAME(Key)

void TCharacterListDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_TICK) {
        if (Countdown != nullptr && !Countdown->isExpired()) return;
    } else if (Identifier == DIALOG_OK) {
        const int32_t Selection = List->getSelection();
        if (Selection >= 0) {
            SetActiveCharacter(Selection);
            ConnectToActiveCharacter();
        }
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

// ---- Factories ----

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
