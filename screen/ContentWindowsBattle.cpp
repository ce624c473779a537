// The battle list window: drawn from the creature table's battle list on every frame.
#include "screen/ContentWindowsBattle.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/Help.h"
#include "screen/MessageTexts.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Objects.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t NAME_FONT = 4;
constexpr int32_t NAME_WIDTH = 110;
constexpr int32_t MARK_STEP = 13; // each drawn mark moves the name right
constexpr int32_t MARKS_X = 23, MARKS_Y = 2;

int32_t BattleLineHeight() { return SkinProperties.BattleWindow.LineHeight; }

// The colour of a marked line's frame and name; false for an unmarked line.
bool MarkerColor(const TCreature& Creature, bool Hovered, TSkinColor& Color) {
    if (Creature.CreatureID == GetAttackTarget())
        Color = Hovered ? TSkinColor{248, 164, 164} : TSkinColor{224, 64, 64};
    else if (Creature.CreatureID == GetFollowTarget())
        Color = Hovered ? TSkinColor{180, 248, 180} : TSkinColor{64, 224, 64};
    else if (Hovered)
        Color = TSkinColor{248, 248, 248};
    else
        return false;
    return true;
}

// The party shield's skin, 0 for none.
int32_t PartySkin(const TCreature& Creature) {
    if (Creature.PARTYFlag == 1) return IsPlayerInParty() ? 0 : 248;
    if (In(Creature.PARTYFlag, 2, 4)) return 247 + Creature.PARTYFlag;
    return 0;
}

void DrawMark(int32_t Surface, int32_t X, int32_t Y, int32_t Skin, int32_t ClipX, int32_t ClipY,
              int32_t ClipWidth, int32_t ClipHeight) {
    const TSkin& S = GetSkin(Skin);
    DrawSkinClipped(Surface, X, Y, S.Width, S.Height, Skin, ClipX, ClipY, ClipWidth, ClipHeight, 0, 0);
}

// Name shortened to NAME_WIDTH pixels with "..."; false when it fits as it is.
bool ShortName(const char* Name, char (&Short)[30]) {
    const int32_t Fit = GetTextFitLength(NAME_FONT, Name, NAME_WIDTH);
    snprintf(Short, sizeof(Short), "%s", Name);
    if (Fit >= static_cast<int32_t>(strlen(Short))) return false;
    ShortenText(Short, Fit);
    return true;
}

} // namespace

TBattleWindow::TBattleWindow() : TScrolledListBody(BattleLineHeight(), BattleLineHeight() / 3) { arrange(); }

TBattleWindow::~TBattleWindow() {
    SetAimedCreature(0);
    ReleaseTooltip(ToolTipText);
}

int32_t TBattleWindow::getContentHeight() const { return UpdateBattleList() * LineHeight + 1; }

int32_t TBattleWindow::getDefaultHeight() const { return getRememberedHeight(BATTLE_WINDOW); }

int32_t TBattleWindow::getLineAt(int32_t X, int32_t Y) const {
    const int32_t Offset = Y + getScrollValue();
    if (Offset < 0 || X < 0 || X > getListWidth()) return -1;
    const int32_t Line = Offset / LineHeight;
    return Line < UpdateBattleList() ? Line : -1;
}

TCreature* TBattleWindow::creatureAt(int32_t X, int32_t Y) const {
    const int32_t Line = getLineAt(X, Y);
    return Line < 0 ? nullptr : GetBattleListCreature(Line);
}

void TBattleWindow::draw(int32_t Surface, int32_t X, int32_t Y) try {
    SetAimedCreature(0);
    const int32_t Count = UpdateBattleList();
    if (Count != LineCount) {
        LineCount = Count;
        arrange();
    }
    if (isMinimized()) return;
    TScrolledListBody::draw(Surface, X, Y);
    drawBackground(Surface, X, Y);
    for (int32_t Line = 0; Line < Count; Line++) {
        const int32_t Top = LineHeight * Line - getScrollValue();
        if (Top + LineHeight < 1) continue;
        if (Top > Height - 1) break;
        if (const TCreature* Creature = GetBattleListCreature(Line)) drawLine(Surface, X, Y, Top, *Creature);
    }
}
CATCH_FRAME(X, Y)

void TBattleWindow::drawLine(int32_t Surface, int32_t X, int32_t Y, int32_t Top, const TCreature& Creature) {
    const int32_t W = getListWidth();
    const int32_t VisibleTop = std::max(Top, 0);
    const int32_t CX = X, CY = Y + VisibleTop, CW = W, CH = std::min(Top + LineHeight, Height) - VisibleTop;
    const int32_t LineX = X, LineY = Y + Top;

    const int32_t MouseX = GetMouseX(), MouseY = GetMouseY();
    const bool Hovered = MouseX >= CX && MouseX <= CX + CW && MouseY >= CY && MouseY <= CY + CH &&
                         getLineAt(MouseX - X, MouseY - Y) == (Top + getScrollValue()) / LineHeight;
    if (Hovered) SetAimedCreature(Creature.CreatureID);
    TSkinColor Marker{};
    const bool Marked = MarkerColor(Creature, Hovered, Marker);
    if (Marked)
        GetSurface()->DrawBorderClipped(Surface, LineX + 1, LineY + 1, 20, 20, 1, Marker.red, Marker.green,
                                        Marker.blue, CX, CY, CW, CH);

    const int32_t Colors[4] = {Creature.OutfitHead, Creature.OutfitBody, Creature.OutfitLegs,
                               Creature.OutfitFeet};
    GetSurface()->StretchOnSkin = 1;
    DrawOutfit(Surface, LineX + 2, LineY + 2, SkinProperties.BattleWindow.OutfitSize, Creature.OutfitType,
               Colors, 71, 71, 71, CX, CY, CW, CH, TTextFormat{2, 192, 192, 192, RIGHT_ALIGN});
    GetSurface()->StretchOnSkin = 0;

    int32_t NameX = LineX + MARKS_X;
    if (const int32_t Party = PartySkin(Creature)) {
        DrawMark(Surface, NameX, LineY + MARKS_Y, Party, CX, CY, CW, CH);
        NameX += MARK_STEP;
    }
    if (In(Creature.PKFlag, 1, 4)) {
        // A skull on its way out blinks until the creature module's clock takes it away (UpdatePKFlags).
        const bool Removing = Creature.PKFlagRemovalTime != 0;
        if (!Removing || GetBlink() != 0)
            DrawMark(Surface, NameX, LineY + MARKS_Y, 239 + Creature.PKFlag, CX, CY, CW, CH);
        NameX += MARK_STEP;
    }

    char Name[30];
    ShortName(Creature.Name, Name);
    const TSkinColor Text = Marked ? Marker : TSkinColor{176, 176, 176};
    PrintTextClipped(Surface, NameX, LineY + MARKS_Y, NAME_FONT, Text.red, Text.green, Text.blue, Name,
                     LEFT_ALIGN, CX, CY, CW, CH);

    GetSurface()->DrawBorderClipped(Surface, LineX + 23, LineY + 14, 122, 5, 1, 0, 0, 0, CX, CY, CW, CH);
    TRGBColor Health;
    Creature.getHealthColor(Health);
    // A health above 100 from the server must not draw past the bar.
    const int32_t Filling = std::clamp<int32_t>(Creature.HealthPercent, 0, 100) * 120 / 100;
    if (Filling > 0)
        GetSurface()->FillRectangleClipped(Surface, LineX + 24, LineY + 15, Filling, 3, Health.Red,
                                           Health.Green, Health.Blue, CX, CY, CW, CH);
}

bool TBattleWindow::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    TScrolledListBody::leftButtonDown(X, Y, Flags);
    return true;
}
CATCH_FRAME(X, Y)

bool TBattleWindow::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TScrolledListBody::leftButtonUp(X, Y, Flags)) return true;
    const TCreature* Creature = creatureAt(X, Y);
    if (Creature == nullptr) return true;
    int32_t Position = 0, x = 0, y = 0, z = 0;
    switch (GetActionState()) {
    case ACTIONSTATE_USEWITH: {
        const TObject* SrcObj = GetUseTarget(&Position, &x, &y, &z);
        CHECK_TEXT(SrcObj != nullptr && SrcObj->Type != 0, "SrcObj!=0");
        CHECK_TEXT(SrcObj->Type != CREATURE, "SrcObj.Type!=CREATURE", SrcObj->Type);
        if (!IsPlayerID(Creature->CreatureID))
            SendUseOnCreature(x, y, z, SrcObj->Type, Position, Creature->CreatureID);
        else
            SetStatusMessage("You are not allowed to shoot directly on players.", false);
        return true;
    }
    case ACTIONSTATE_TRADEWITH: {
        const TObject* Obj = GetLookTarget(&Position, &x, &y, &z);
        CHECK_TEXT(Obj != nullptr && Obj->Type != 0, "Obj!=0");
        if (IsPlayerID(Creature->CreatureID))
            SendTradeObject(x, y, z, Obj->Type, Position, Creature->CreatureID);
        else
            SetStatusMessage(MessageTexts[TEXT_SELECT_TRADE_PARTNER], false);
        return true;
    }
    case ACTIONSTATE_DRAG:
        return true;
    default:
        return rightClick(X, Y, (Flags & KEY_MODIFIERS) == 0 ? KEY_ALT : Flags);
    }
}
CATCH_FRAME(X, Y)

bool TBattleWindow::rightClick(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TScrolledListBody::rightClick(X, Y, Flags)) return true;
    const TCreature* Creature = creatureAt(X, Y);
    if (Creature == nullptr) return true;
    if ((Flags & KEY_ALT) != 0) {
        SetAttackTarget(Creature->CreatureID == GetAttackTarget() ? 0 : Creature->CreatureID);
        SendAttack(GetAttackTarget());
    } else if ((Flags & KEY_SHIFT) != 0) {
        SendLook(Creature->X, Creature->Y, Creature->Z, CREATURE, 0);
    } else {
        AddMessage(MESSAGE_BATTLEMENU, static_cast<intptr_t>(Creature->CreatureID), 0);
    }
    return true;
}
CATCH_FRAME(X, Y)

void TBattleWindow::getToolTip(int32_t X, int32_t Y) try {
    const TCreature* Creature = creatureAt(X, Y);
    if (Creature == nullptr) return;
    char Short[30];
    if (!ShortName(Creature->Name, Short)) return;
    snprintf(ToolTipText, sizeof(ToolTipText), "%s", Creature->Name);
    SetTooltip(ToolTipText);
}
CATCH_FRAME(X, Y)

bool TBattleWindow::getHelpContext(int32_t, int32_t) { return SetSideWindowHelp(this, HELP_BATTLE); }

TDialogWindow* CreateBattleWindow() {
    return FrameSideWindow(BATTLE_WINDOW, new TBattleWindow, "Battle", 144);
}
