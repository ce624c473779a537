// The combat controls of the inventory panels and the status bars panel.

#include "screen/ContentWindowsCombat.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/Help.h"
#include "screen/MainWindow.h"
#include "screen/MessageTexts.h"
#include "state/CreaturesPlayer.h"
#include "state/Preferences.h"

#include <cstdio>

namespace {

// What the mode buttons send the controls.
enum COMBAT_COMMAND : int32_t {
    COMBAT_OFFENSIVE = 100,
    COMBAT_BALANCED = 101,
    COMBAT_DEFENSIVE = 102,
    COMBAT_STAND = 103,
    COMBAT_CHASE = 104,
    COMBAT_SECURE_MODE = 105,
};

// A fight or chase mode button in mode order: its face, its command, its tool tip.
struct TModeButton {
    int32_t Skin;
    COMBAT_COMMAND Command;
    MESSAGE_TEXT ToolTip;
};
constexpr TModeButton MODE_BUTTONS[5] = {{SKIN_OFFENSIVE, COMBAT_OFFENSIVE, TEXT_TIP_OFFENSIVE},
                                         {SKIN_BALANCED, COMBAT_BALANCED, TEXT_TIP_BALANCED},
                                         {SKIN_DEFENSIVE, COMBAT_DEFENSIVE, TEXT_TIP_DEFENSIVE},
                                         {SKIN_STAND, COMBAT_STAND, TEXT_TIP_STAND},
                                         {SKIN_CHASE, COMBAT_CHASE, TEXT_TIP_CHASE}};

// Stores the mode a button chose; false for an identifier that is no mode button's.
bool ApplyMode(COMBAT_COMMAND Command, bool SecureMode) {
    switch (Command) {
    case COMBAT_OFFENSIVE:
    case COMBAT_BALANCED:
    case COMBAT_DEFENSIVE:
        SetAttackMode(Command - COMBAT_OFFENSIVE + 1);
        return true;
    case COMBAT_STAND:
    case COMBAT_CHASE:
        SetChaseMode(Command - COMBAT_STAND);
        return true;
    case COMBAT_SECURE_MODE:
        SetSecureMode(SecureMode);
        return true;
    }
    return false;
}

TButton* SelectedByMode(TButton* const* Buttons, int32_t Count, int32_t Mode) {
    return Mode >= 0 && Mode < Count ? Buttons[Mode] : nullptr;
}

} // namespace

TCombatControls::TCombatControls(TComponent* Target, bool Maximised) try
    : Maximised(Maximised), FightModeGroup(std::make_unique<TRadioButtonGroup>()),
      ChaseModeGroup(std::make_unique<TRadioButtonGroup>()) {
    const TCombatLayout& L =
        Maximised ? SkinProperties.CombatControls.Maximised : SkinProperties.CombatControls.Minimised;
    setSize(L.Width, L.Height);
    const TSkinPoint Places[5] = {L.Offensive, L.Balanced, L.Defensive, L.Stand, L.Chase};
    TButton* Modes[5];
    for (int32_t i = 0; i < 5; i++) {
        const TModeButton& B = MODE_BUTTONS[i];
        Modes[i] = new TButton(Places[i].x, Places[i].y, B.Skin, B.Skin + 1, this, B.Command,
                               MessageTexts[B.ToolTip], false);
        Modes[i]->setRadioButtonGroup(i < 3 ? FightModeGroup.get() : ChaseModeGroup.get());
        addChild(Modes[i]);
    }
    StandButton = Modes[3];
    ChaseButton = Modes[4];
    SecureModeButton = new TToggleButton(L.SecureMode.x, L.SecureMode.y, SKIN_SECURE_ON, SKIN_SECURE_OFF,
                                         this, COMBAT_SECURE_MODE, MessageTexts[TEXT_TIP_SECURE_ON],
                                         MessageTexts[TEXT_TIP_SECURE_OFF], !GetSecureMode());
    addChild(SecureModeButton);
    addChild(new TTextButton(L.Stop.x, L.Stop.y, "Stop", Target, MAIN_STOP, MessageTexts[TEXT_TIP_STOP]));
    const char *OptionsTip = MessageTexts[TEXT_TIP_OPTIONS], *HelpTip = MessageTexts[TEXT_TIP_HELP];
    if (Maximised) {
        addChild(new TTextButton(L.Options.x, L.Options.y, "Options", Target, MAIN_OPTIONS, OptionsTip));
        addChild(new TTextButton(L.Help.x, L.Help.y, "Help", Target, MAIN_HELP, HelpTip));
    } else {
        addChild(new TButton(L.Options.x, L.Options.y, SKIN_SMALL_OPTIONS, SKIN_SMALL_OPTIONS + 1, Target,
                             MAIN_OPTIONS, OptionsTip, false));
        addChild(new TButton(L.Help.x, L.Help.y, SKIN_SMALL_HELP, SKIN_SMALL_HELP + 1, Target, MAIN_HELP,
                             HelpTip, false));
    }
    FightModeGroup->Selected = SelectedByMode(Modes, 3, GetAttackMode() - 1);
    selectChaseMode(GetChaseMode());
    arrange();
}
CATCH_FRAME(Maximised)

TCombatControls::~TCombatControls() {
    while (FirstChild != nullptr)
        deleteChild(FirstChild);
}

void TCombatControls::selectChaseMode(int32_t Mode) {
    if (Mode == 0) ChaseModeGroup->Selected = StandButton;
    if (Mode == 1) ChaseModeGroup->Selected = ChaseButton;
}

void TCombatControls::draw(int32_t Surface, int32_t X, int32_t Y) try {
    selectChaseMode(GetChaseMode());
    TParentComponent::draw(Surface, X, Y);
}
CATCH_FRAME(X, Y)

bool TCombatControls::getHelpContext(int32_t X, int32_t Y) try {
    CHECK_TEXT(Parent != nullptr, "Parent!=NULL");
    SetHelpContext(Maximised ? HELP_COMBAT : HELP_SMALL_COMBAT);
    MoveHelpOrigin(-this->X, -this->Y);
    SetHelpExtent(Parent->getWidth(), Parent->getHeight());
    return true;
}
CATCH_FRAME(X, Y)

void TCombatControls::handleEvent(int32_t Identifier) try {
    if (ApplyMode(static_cast<COMBAT_COMMAND>(Identifier), !SecureModeButton->State)) SendFightModes();
}
CATCH_FRAME(Identifier)

// ---- TStatusWindow ----

int32_t BarFillWidth(int32_t Value, int32_t Maximum, int32_t Full) {
    if (Value >= Maximum || Maximum <= 0) return Full; // no maximum received yet: full
    if (Value <= 0) return 0;
    return static_cast<int32_t>(static_cast<int64_t>(Full) * Value / Maximum);
}

TStatusWindow::TStatusWindow() try : TContentWindow(STATUS_WINDOW, true) {
    allocateDrawingList(4);
    setSize(SkinProperties.SidePanel.Width, SkinProperties.StatusWindow.Height);
    arrange();
}
CATCH_FRAME()

void TStatusWindow::arrange() try {
    TContentWindow::arrange();
    const auto& S = SkinProperties.StatusWindow;
    DrawingList[0] = TSkinPiece{119, 9, 5, 0, 0, 0, 0};
    DrawingList[1] = TSkinPiece{122, 9, 18, 0, 0, 0, 0};
    DrawingList[2] = TSkinPiece{
        120, S.HitpointsBar.x, S.HitpointsBar.y, S.HitpointsBar.width, S.HitpointsBar.height, 0, 0};
    DrawingList[3] = TSkinPiece{123, S.ManaBar.x, S.ManaBar.y, S.ManaBar.width, S.ManaBar.height, 0, 0};
}
CATCH_FRAME()

void TStatusWindow::draw(int32_t Surface, int32_t X, int32_t Y) try {
    TContentWindow::draw(Surface, X, Y);
    const auto& S = SkinProperties.StatusWindow;
    char Number[16];
    snprintf(Number, sizeof(Number), "%d", GetHitpoints());
    PrintFormattedText(Surface, X + S.HitpointsText.x, Y + S.HitpointsText.y, S.TextFormat, Number);
    snprintf(Number, sizeof(Number), "%d", GetMana());
    PrintFormattedText(Surface, X + S.ManaText.x, Y + S.ManaText.y, S.TextFormat, Number);

    const int32_t x = X, y = Y;
    CHECK_TEXT(x + S.HitpointsBar.x >= 0, "x+SkinProperties.StatusWindow.HitpointsBar.x>=0", x);
    CHECK_TEXT(y + S.HitpointsBar.y >= 0, "y+SkinProperties.StatusWindow.HitpointsBar.y>=0", y);
    const int32_t HitpointsWidth = BarFillWidth(GetHitpoints(), GetMaxHitpoints(), S.HitpointsBar.width);
    if (HitpointsWidth > 0)
        DrawSkin(Surface, x + S.HitpointsBar.x, y + S.HitpointsBar.y, HitpointsWidth, GetSkin(121).Height,
                 121, 0, 0);
    CHECK_TEXT(x + S.ManaBar.x >= 0, "x+SkinProperties.StatusWindow.ManaBar.x>=0", x);
    CHECK_TEXT(y + S.ManaBar.y >= 0, "y+SkinProperties.StatusWindow.ManaBar.y>=0", y);
    const int32_t ManaWidth = BarFillWidth(GetMana(), GetMaxMana(), S.ManaBar.width);
    if (ManaWidth > 0)
        DrawSkin(Surface, x + S.ManaBar.x, y + S.ManaBar.y, ManaWidth, GetSkin(124).Height, 124, 0, 0);
}
CATCH_FRAME(X, Y)

bool TStatusWindow::getHelpContext(int32_t X, int32_t Y) try {
    SetHelpContext(HELP_STATUS_BARS);
    SetHelpExtent(Width, Height);
    return true;
}
CATCH_FRAME(X, Y)
