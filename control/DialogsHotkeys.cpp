// The hotkey options page: a working copy of the 36 hotkey texts and send flags, edited line by line and
// stored on OK; its factory.
#include "control/DialogsHotkeys.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "gui/DialogElementsList.h"
#include "screen/MessageTexts.h"
#include "state/Events.h"
#include "state/Status.h"

#include <cstdio>

namespace {

constexpr int32_t SELECTED = 11;
constexpr int32_t LINE_ROOM = 271; // "Control+F12: " and a full text

} // namespace

THotkeyOptionsDialog::THotkeyOptionsDialog(TOpenURLFunction OpenURL) try : OpenURL(OpenURL) {
    TComponent::setSize(200, 198);
    PlaceLabel(this, MessageTexts[TEXT_AVAILABLE_HOTKEYS], 0, 0);
    List = new TTextList(this, SELECTED, nullptr, 0);
    addChild(List);
    placeChild(List, 0, 15, 0, 104);
    PlaceLabel(this, MessageTexts[TEXT_EDIT_HOTKEY], 0, 132);
    EditField = new TEditField(HOTKEY_LENGTH - 1, false);
    addChild(EditField);
    placeChild(EditField, 0, 147, 0, 16);
    AutoSend = PlaceCheckBox(this, "Send automatically", 0, 176, 0, false);
    for (int32_t N = 0; N < HOTKEYS; N++) {
        bool Flag = false;
        const char* Text = GetHotkey(N, Flag);
        snprintf(HotkeyText[N], HOTKEY_LENGTH, "%s", Text != nullptr ? Text : "");
        HotkeyAutoSend[N] = Flag;
        List->addEditLine(LINE_ROOM);
        formatLine(N);
    }
}
CATCH_FRAME()

void THotkeyOptionsDialog::formatLine(int32_t Number) try {
    CHECK_TEXT(In(Number, 0, HOTKEYS - 1), "In(Number,0,HOTKEYS-1)", Number);
    const char* Format = Number < 12 ? "F%d%s: %s" : Number < 24 ? "Shift+F%d%s: %s" : "Control+F%d%s: %s";
    char Line[LINE_ROOM + 1];
    snprintf(Line, sizeof(Line), Format, Number % 12 + 1, "", HotkeyText[Number]);
    const int32_t Shade = HotkeyAutoSend[Number] ? 255 : 176;
    List->setLine(Number, Line, TTextFormat{4, Shade, Shade, Shade, LEFT_ALIGN});
}
CATCH_FRAME(Number)

void THotkeyOptionsDialog::storeAutoSend() {
    if (SelectedHotkey != -1) HotkeyAutoSend[SelectedHotkey] = AutoSend->isChecked();
}

// The box offers the flag only for a hotkey with a text.
void THotkeyOptionsDialog::showAutoSend(bool Checked) {
    const bool HasText = HotkeyText[SelectedHotkey][0] != 0;
    AutoSend->setEnabled(HasText);
    AutoSend->setChecked(Checked && HasText);
}

void THotkeyOptionsDialog::keyPressed(int32_t Key) try {
    if (Key == KEY_ENTER) {
        handleEvent(DIALOG_OK);
    } else if (Key == KEY_ESCAPE) {
        handleEvent(DIALOG_CANCEL);
    } else if (Key == KEY_UP || Key == KEY_DOWN) {
        List->keyPressed(Key);
    } else if (SelectedHotkey != -1) {
        EditField->keyPressed(Key);
        snprintf(HotkeyText[SelectedHotkey], HOTKEY_LENGTH, "%s", EditField->getText());
        showAutoSend(AutoSend->isChecked());
        formatLine(SelectedHotkey);
    }
}
CATCH_FRAME(Key)

bool THotkeyOptionsDialog::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) {
    const bool Taken = TParentComponent::leftButtonUp(X, Y, Flags);
    if (SelectedHotkey != -1) {
        storeAutoSend();
        formatLine(SelectedHotkey);
    }
    return Taken;
}

void THotkeyOptionsDialog::handleEvent(int32_t Identifier) try {
    switch (Identifier) {
    case SELECTED: {
        const int32_t Line = List->getSelection();
        if (Line == -1) break;
        storeAutoSend();
        SelectedHotkey = Line;
        EditField->setText(HotkeyText[Line]);
        EditField->setFocus(true);
        showAutoSend(HotkeyAutoSend[Line]);
        break;
    }
    case DIALOG_OK:
        storeAutoSend();
        for (int32_t N = 0; N < HOTKEYS; N++)
            SetHotkey(N, HotkeyText[N], HotkeyAutoSend[N]);
        SetActionState(ACTIONSTATE_NONE);
        // From the options dialog, the file is written when that dialog closes.
        if (PeekMessageType() != MESSAGE_OPTIONS) SaveOptions();
        break;
    case DIALOG_CANCEL:
        SetActionState(ACTIONSTATE_NONE);
        break;
    default:
        UnknownEvent(Identifier);
    }
}
CATCH_FRAME(Identifier)

TModalDialog* CreateHotkeyOptionsDialog(TOpenURLFunction OpenURL) {
    return FrameBody("Hotkey Options", new THotkeyOptionsDialog(OpenURL));
}
