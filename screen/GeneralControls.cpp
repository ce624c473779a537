// The general controls panel: three side-window toggles that mirror the window column, and "Logout".

#include "screen/GeneralControls.h"

#include "foundation/Exception.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "screen/Help.h"
#include "screen/MainWindow.h"
#include "screen/MessageTexts.h"

namespace {

// ToolTipOff: the tool tip while the window is closed; the next entry is the one while it is open.
TTextToggleButton* NewToggle(TSkinPoint Where, const char* Caption, TComponent* Target, MAIN_COMMAND Command,
                             MESSAGE_TEXT ToolTipOff) {
    const auto& G = SkinProperties.GeneralControls;
    return new TTextToggleButton(Where.x, Where.y, Caption, G.ToggleSkinUp, G.ToggleSkinDown, Target, Command,
                                 MessageTexts[ToolTipOff], MessageTexts[ToolTipOff + 1], false);
}

} // namespace

TGeneralControls::TGeneralControls(TWindowColumn* _CheckObject, TComponent* Target) try
    : TContentWindow(CONTROLS_WINDOW, true), _CheckObject(_CheckObject) {
    CHECK_TEXT(_CheckObject != nullptr, "_CheckObject!=NULL");
    const auto& G = SkinProperties.GeneralControls;
    setSize(SkinProperties.SidePanel.Width, G.Height);
    SkillsButton = NewToggle(G.SkillsButton, "Skills", Target, MAIN_TOGGLE_SKILLS, TEXT_TIP_OPEN_SKILLS);
    addChild(SkillsButton);
    BattleButton = NewToggle(G.BattleButton, "Battle", Target, MAIN_TOGGLE_BATTLE, TEXT_TIP_OPEN_BATTLE);
    addChild(BattleButton);
    VIPButton = NewToggle(G.VIPButton, "VIP", Target, MAIN_TOGGLE_VIP, TEXT_TIP_OPEN_VIP);
    addChild(VIPButton);
    LogoutButton = new TTextButton(G.LogoutButton.x, G.LogoutButton.y, "Logout", Target, MAIN_ASK_LOGOUT,
                                   MessageTexts[TEXT_TIP_LOGOUT]);
    addChild(LogoutButton);
}
CATCH_FRAME()

void TGeneralControls::draw(int32_t Surface, int32_t X, int32_t Y) try {
    SkillsButton->State = _CheckObject->findWindow(SKILLS_WINDOW) != nullptr;
    BattleButton->State = _CheckObject->findWindow(BATTLE_WINDOW) != nullptr;
    VIPButton->State = _CheckObject->findWindow(BUDDY_WINDOW) != nullptr;
    TContentWindow::draw(Surface, X, Y);
}
CATCH_FRAME(Surface)

bool TGeneralControls::getHelpContext(int32_t X, int32_t Y) try {
    SetHelpContext(HELP_GENERAL_CONTROLS);
    SetHelpExtent(Width, Height);
    return true;
}
CATCH_FRAME(X, Y)
