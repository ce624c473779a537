// The hotkey options page: a working copy of the 36 hotkey texts and send flags, edited line by line and
// stored on OK; its factory.
#pragma once

#include "control/DialogsFrame.h"
#include "state/Preferences.h"

#include <cstdint>

class TTextList;

class THotkeyOptionsDialog : public TParentComponent {
public:
    explicit THotkeyOptionsDialog(TOpenURLFunction OpenURL);
    void keyPressed(int32_t Key) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    void handleEvent(int32_t Identifier) override; // 1 stores all, 2 drops, 11 selects

    // Writes list line Number from the working copy ("In(Number,0,HOTKEYS-1)").
    void formatLine(int32_t Number);

    char HotkeyText[HOTKEYS][HOTKEY_LENGTH] = {};
    bool HotkeyAutoSend[HOTKEYS] = {};
    int32_t SelectedHotkey = -1;
    TTextList* List;
    TEditField* EditField;
    TCheckBox* AutoSend;
    TOpenURLFunction OpenURL; // kept, not used

private:
    void storeAutoSend();
    void showAutoSend(bool Checked);
};

TModalDialog* CreateHotkeyOptionsDialog(TOpenURLFunction OpenURL);
