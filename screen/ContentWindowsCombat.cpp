// The combat controls of the inventory panels and the status bars panel.
#define EBRUN_SOURCE_NAME "ContentWindows.cpp"

#include "screen/ContentWindowsCombat.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/MessageTexts.h"
#include "state/CreaturesPlayer.h"
#include "state/Preferences.h"

#include <cstdio>

namespace {

constexpr int32_t HELP_COMBAT_MAXIMISED = 14, HELP_COMBAT_MINIMISED = 15, HELP_STATUS = 11;
constexpr int32_t FIRST_MODE_BUTTON = 100; // offensive; then balanced, defensive, stand, chase, secure

// A mode button: skins, the text index of its tool tip.
struct TModeButton {
    int32_t SkinUp, SkinDown, ToolTip;
};
constexpr TModeButton MODE_BUTTONS[5] = {
    {103, 104, 38}, {105, 106, 39}, {107, 108, 40}, {109, 110, 41}, {111, 112, 42}};

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
        Modes[i] = new TButton(Places[i].x, Places[i].y, B.SkinUp, B.SkinDown, this, FIRST_MODE_BUTTON + i,
                               MessageTexts[B.ToolTip], false);
        Modes[i]->setRadioButtonGroup(i < 3 ? FightModeGroup.get() : ChaseModeGroup.get());
        addChild(Modes[i]);
    }
    StandButton = Modes[3];
    ChaseButton = Modes[4];
    SecureModeButton = new TToggleButton(L.SecureMode.x, L.SecureMode.y, 113, 114, this, 105,
                                         MessageTexts[43], MessageTexts[44], !GetSecureMode());
    addChild(SecureModeButton);
    addChild(new TTextButton(L.Stop.x, L.Stop.y, "Stop", Target, 32, MessageTexts[45]));
    if (Maximised) {
        addChild(new TTextButton(L.Options.x, L.Options.y, "Options", Target, 8, MessageTexts[46]));
        addChild(new TTextButton(L.Help.x, L.Help.y, "Help", Target, 701, MessageTexts[47]));
    } else {
        addChild(new TButton(L.Options.x, L.Options.y, 115, 116, Target, 8, MessageTexts[46], false));
        addChild(new TButton(L.Help.x, L.Help.y, 117, 118, Target, 701, MessageTexts[47], false));
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
    SetHelpContext(Maximised ? HELP_COMBAT_MAXIMISED : HELP_COMBAT_MINIMISED);
    MoveHelpOrigin(-this->X, -this->Y);
    SetHelpExtent(Parent->getWidth(), Parent->getHeight());
    return true;
}
CATCH_FRAME(X, Y)

void TCombatControls::handleEvent(int32_t Identifier) try {
    switch (Identifier) {
    case 100:
    case 101:
    case 102:
        SetAttackMode(Identifier - 99);
        break;
    case 103:
    case 104:
        SetChaseMode(Identifier - 103);
        break;
    case 105:
        SetSecureMode(!SecureModeButton->State);
        break;
    default:
        return;
    }
    SendFightModes();
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
    SetHelpContext(HELP_STATUS);
    SetHelpExtent(Width, Height);
    return true;
}
CATCH_FRAME(X, Y)
