// The road into the game: the login dialog (account number and password) and the character list with its
// idle countdown and the account status; their factories.
#pragma once

#include "control/DialogsFrame.h"
#include "gui/DialogElementsEdit.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TComponentTimer;
class TListBox;

class TLoginDialog : public TParentComponent {
public:
    explicit TLoginDialog(TOpenURLFunction OpenURL);

    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 stores the account and connects; any other ends

    TPasswordField* AccountField;
    TPasswordField* PasswordField;
    TFocusGroup FocusGroup;
};

// Connects to the active character: offline, the game connection is made; in game, the character in play
// logs out and the switch follows.
void ConnectToActiveCharacter();

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

TModalDialog* CreateLoginDialog(TOpenURLFunction OpenURL);
// A positive Count starts the list's idle countdown.
TModalDialog* CreateCharacterListDialog(int32_t Count);
