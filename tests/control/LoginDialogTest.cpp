// The login dialog and the character list, typed and clicked through the controller: the account number
// read from its field, the events posted, the character lines with their selection, the account status and
// the idle countdown.
#include "DialogFixture.h"

#include "control/DialogsLogin.h"

#include "gui/DialogElementsList.h"
#include "gui/KeyCodes.h"

#include <string>

namespace {

void ListCharacters(int32_t Count) {
    const uint8_t Loopback[4] = {127, 0, 0, 1};
    const char* const Names[] = {"Aldric", "Brenna", "Cedric", "Dunja"};
    SetAccountCharacters(Count);
    for (int32_t i = 0; i < Count; i++)
        SetAccountCharacter(i, Names[i], "Pellarune", Loopback, 7172);
}

std::string Status(int32_t Days) {
    char Text[256];
    FormatAccountStatus(Text, sizeof(Text), Days);
    return Text;
}

class LoginDialog : public DialogTest {
protected:
    void openLogin() {
        AddMessage(MESSAGE_LOGINDIALOG, 0, 0);
        ProcessMessages();
        ASSERT_NE(Body<TLoginDialog>(), nullptr);
    }
    void openList(int32_t Count) {
        AddMessage(MESSAGE_CHARACTERLIST, Count, 0);
        ProcessMessages();
        ASSERT_NE(Body<TCharacterListDialog>(), nullptr);
    }
};

const std::string HEAD = "<font=4><red=192><green=192><blue=192>Account Status:\n";

} // namespace

TEST_F(LoginDialog, OkStoresTheAccountAndStartsTheLogin) {
    openLogin();
    EXPECT_EQ(Dialog()->Width, 236);
    EXPECT_EQ(Dialog()->Height, 178);
    Type("000123456"); // the ninth digit does not fit
    KeyPressed(KEY_TAB);
    Type("mellon");
    EXPECT_STREQ(Body<TLoginDialog>()->AccountField->getText(), "00012345");
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetAccountNumber(), 12345u);
    EXPECT_STREQ(GetPassword(), "mellon");
    EXPECT_EQ(QueuedTypes(), (std::vector<int32_t>{MESSAGE_CONNECTLOGIN, MESSAGE_LOADINGCHARACTERS}));
    ClearMessages();

    // Empty fields log in as account 0; the server answers that.
    openLogin();
    Click(Dialog()->OkButton);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetAccountNumber(), 0u);
    EXPECT_EQ(QueuedTypes(), (std::vector<int32_t>{MESSAGE_CONNECTLOGIN, MESSAGE_LOADINGCHARACTERS}));
    ClearMessages();

    openLogin();
    Type("7");
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetAccountNumber(), 0u) << "Cancel stores nothing";
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(LoginDialog, AccountNumberTextAndTheCreateAccountPage) {
    EXPECT_EQ(ParseAccountNumber("  42x7"), 42);
    EXPECT_EQ(ParseAccountNumber("+9"), 9);
    EXPECT_EQ(ParseAccountNumber("abc"), 0);
    EXPECT_EQ(ParseAccountNumber("99999999999999"), INT32_MAX) << "no overflow";
    openLogin();
    const TLabelledButton* Link = nullptr;
    for (TComponent* C = Body<TLoginDialog>()->getFirstChild(); C != nullptr; C = C->getNext())
        if (dynamic_cast<TLabelledButton*>(C) != nullptr) Link = dynamic_cast<TLabelledButton*>(C);
    ASSERT_NE(Link, nullptr);
    Click(Link->Button);
    EXPECT_EQ(OpenedPages, std::vector<std::string>{GAME_SITE_URL});
    EXPECT_NE(GetModalWindow(), nullptr);
}

TEST_F(LoginDialog, AccountStatusByPremiumDays) {
    EXPECT_EQ(Status(0), HEAD + "Free Account");
    EXPECT_EQ(Status(65535), HEAD + "Gratis Premium Account\n");
    EXPECT_EQ(Status(14), HEAD + "Premium Account (14 days left)");
    const std::string Red = "<red=248><green=96><blue=96>", Normal = "<red=192><green=192><blue=192>";
    EXPECT_EQ(Status(1), HEAD + "Premium Account (" + Red + "1 day left" + Normal + ")");
    EXPECT_EQ(Status(2), HEAD + "Premium Account (" + Red + "2 days left" + Normal + ")");
    EXPECT_EQ(Status(13), HEAD + "Premium Account (" + Red + "13 days left" + Normal + ")");
}

TEST_F(LoginDialog, CharacterLinesAndTheFirstSelection) {
    ListCharacters(4);
    SetActiveCharacter(2);
    SetConnectionState(CONNECTIONSTATE_GAME);
    openList(300);
    TListBox* List = Body<TCharacterListDialog>()->List;
    EXPECT_EQ(List->Lines, 4);
    EXPECT_STREQ(List->getLine(1), "Brenna (Pellarune)");
    EXPECT_EQ(List->getSelection(), 2) << "in game the active character";
    KeyPressed(KEY_ESCAPE);
    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    openList(300);
    EXPECT_EQ(Body<TCharacterListDialog>()->List->getSelection(), 0);
    KeyPressed(KEY_ESCAPE);

    SetAccountCharacters(0);
    openList(300);
    EXPECT_EQ(Body<TCharacterListDialog>()->List->getSelection(), -1);
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetMessageCount(), 0) << "nothing to choose, nothing posted";
}

TEST_F(LoginDialog, ChoosingConnectsOrSwitchesCharacters) {
    ListCharacters(3);
    openList(300);
    KeyPressed(KEY_DOWN);
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetActiveCharacter(), 1);
    EXPECT_EQ(QueuedTypes(), (std::vector<int32_t>{MESSAGE_CONNECTGAME, MESSAGE_CONNECTINGGAME}));
    ClearMessages();

    SetConnectionState(CONNECTIONSTATE_GAME);
    openList(300);
    TListBox* List = Body<TCharacterListDialog>()->List;
    const int32_t LineHeight = List->Height / std::max(List->VisibleLines, 1);
    int32_t x = List->Width / 2, y = 2 * LineHeight + LineHeight / 2;
    for (const TComponent* C = List; C != nullptr; C = C->Parent)
        x += C->X, y += C->Y;
    LeftButtonDown(x, y, 0);
    LeftButtonUp(x, y, 0);
    LeftButtonDoubleClick(x, y, 0);
    EXPECT_EQ(GetModalWindow(), nullptr) << "a double click chooses";
    EXPECT_EQ(GetActiveCharacter(), 2);
    EXPECT_EQ(QueuedTypes(), std::vector<int32_t>{MESSAGE_CHANGECHARACTER});
    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    ClearMessages();
}

TEST_F(LoginDialog, InputRestartsTheIdleCountdownAndIdlenessClosesTheList) {
    ListCharacters(2);
    openList(300);
    TModalDialog* Frame = Dialog();
    Ticks(290);
    KeyPressed(KEY_DOWN);
    Ticks(290);
    // A drag of the frame by its title bar restarts it too.
    LeftButtonDown(Frame->X + 60, Frame->Y + 5, 0);
    MouseMove(Frame->X + 70, Frame->Y + 5);
    LeftButtonUp(Frame->X + 10, Frame->Y + 5, 0);
    Ticks(290);
    MouseWheel(Frame->X + 60, Frame->Y + 80, 2);
    Ticks(290);
    // A mere move of the pointer does not.
    MouseMove(Frame->X + 60, Frame->Y + 80);
    ProcessMessages();
    EXPECT_EQ(Dialog(), Frame);
    Ticks(11);
    ProcessMessages();
    EXPECT_EQ(GetModalWindow(), nullptr) << "thirty seconds without input";
    EXPECT_EQ(GetMessageCount(), 0);
    EXPECT_EQ(GetActiveCharacter(), 0) << "no choice was made";
}
