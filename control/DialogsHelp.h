// The frames of the game screen's help menu and of the list of hints seen so far.
#pragma once

#include "control/DialogsFrame.h"

// The help menu: its one button closes it; the body opens the game's pages itself.
TModalDialog* CreateHelpDialog(TOpenURLFunction OpenURL);
// The list of the hints seen so far; Ok shows the chosen one.
TModalDialog* CreateHintsDialog();
