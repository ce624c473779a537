// The general controls panel of the side bar: toggles for the skills, battle and VIP windows and "Logout".
#pragma once

#include "gui/DialogElements.h"
#include "gui/DialogWindow.h"

#include <cstdint>

// The toggles keep no state of their own: each drawing sets them from the column of framed side windows,
// so they follow however a window was opened or closed. The buttons only fire their MAIN_COMMAND to the
// target (the main window).
class TGeneralControls : public TContentWindow {
public:
    // _CheckObject: the column of framed side windows, not owned; Target: not owned, outlives the panel.
    TGeneralControls(TWindowColumn* _CheckObject, TComponent* Target);

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool getHelpContext(int32_t X, int32_t Y) override; // one help text for the whole panel

    TWindowColumn* _CheckObject;
    TTextToggleButton* SkillsButton;
    TTextToggleButton* BattleButton;
    TTextToggleButton* VIPButton;
    TTextButton* LogoutButton;
};
