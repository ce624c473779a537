// The frames of the game screen's help menu and of the list of hints seen so far.
#include "control/DialogsHelp.h"

#include "screen/Help.h"

TModalDialog* CreateHelpDialog(TOpenURLFunction OpenURL) {
    auto* Dialog = new TModalDialog("Help", new THelpDialog(OpenURL));
    Dialog->setCancelButton(nullptr, EmptyNotification);
    return Dialog;
}

TModalDialog* CreateHintsDialog() {
    auto* Body = new THintsDialog();
    auto* Dialog = new TModalDialog("Hints for Pellar", Body);
    Dialog->setOkButton("Ok", TNotification{Body, DIALOG_OK});
    return Dialog;
}
