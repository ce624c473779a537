// The capacity and soul-point labels and the bar of condition icons of the inventory panels.

#include "screen/InventoryPieces.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "screen/MessageTexts.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Status.h"

#include <cstdio>

namespace {

// A player state in display order: its test and the icon skin with the message text that names it.
struct TPlayerState {
    bool (*Active)();
    int32_t Skin;
    int32_t Text;
};

constexpr int32_t SKULL_PLACE = 4; // its test, icon and text depend on the kind of skull
constexpr int32_t STATE_PLACES = 9;

constexpr TPlayerState PLAYER_STATES[STATE_PLACES] = {
    {IsPoisoned, 228, TEXT_POISONED},
    {IsBurning, 229, TEXT_BURNING},
    {HasMagicShield, 232, TEXT_MAGIC_SHIELD},
    {IsParalysed, 233, TEXT_PARALYSED},
    {nullptr, 0, 0},
    {IsInFight, 235, TEXT_IN_FIGHT},
    {IsDrunk, 231, TEXT_DRUNK},
    {IsElectrified, 230, TEXT_ELECTRIFIED},
    {IsHasted, 234, TEXT_HASTED},
};

// The player's skull kind 1 to 4, or 0 when the player shows none (or one without an icon).
int32_t SkullKind() {
    const TCreature* Player = OwnCreature();
    if (Player == nullptr || !In(Player->PKFlag, 1, 4)) return 0;
    return Player->PKFlag;
}

// The icon skin and message text of the state at Place, or skin 0 when the state is not active.
TPlayerState StateAt(int32_t Place) {
    if (Place == SKULL_PLACE) {
        const int32_t Kind = SkullKind();
        if (Kind == 0) return {nullptr, 0, 0};
        return {nullptr, 235 + Kind, TEXT_ATTACKABLE + Kind - 1}; // the four skull texts in kind order
    }
    const TPlayerState& State = PLAYER_STATES[Place];
    return State.Active() ? State : TPlayerState{nullptr, 0, 0};
}

// The Position-th active state; skin 0 when fewer are active.
TPlayerState ActiveState(int32_t Position) {
    int32_t Count = 0;
    for (int32_t Place = 0; Place < STATE_PLACES; Place++) {
        TPlayerState State = StateAt(Place);
        if (State.Skin == 0) continue;
        if (Count == Position) return State;
        Count++;
    }
    return {nullptr, 0, 0};
}

void DrawSmallLabel(int32_t Surface, int32_t X, int32_t Y, const char* Caption, int32_t Value) {
    const auto& L = SkinProperties.SmallLabels;
    PrintFormattedText(Surface, X + L.Caption.x, Y + L.Caption.y, L.CaptionFormat, Caption);
    char Number[16];
    snprintf(Number, sizeof(Number), "%d", Value);
    PrintFormattedText(Surface, X + L.Number.x, Y + L.Number.y, L.NumberFormat, Number);
}

} // namespace

void TCapacityLabel::draw(int32_t Surface, int32_t X, int32_t Y) try {
    DrawSmallLabel(Surface, X, Y, "Cap:", GetCapacity());
}
CATCH_FRAME(Surface)

void TSoulLabel::draw(int32_t Surface, int32_t X, int32_t Y) try {
    DrawSmallLabel(Surface, X, Y, "Soul:", GetSoulPoints());
}
CATCH_FRAME(Surface)

TPlayerStatesBar::TPlayerStatesBar(bool islarge) try : IsLarge(islarge), MaxIcons(islarge ? 10 : 9) {
    if (IsLarge) {
        allocateDrawingList(1);
        DrawingList[0] = {100, 0, 0, 108, 13};
    } else {
        allocateDrawingList(2);
        DrawingList[0] = {100, 0, 0, 94, 13};
        DrawingList[1] = {101, 93, 0, GetSkin(101).Width, GetSkin(101).Height};
    }
}
CATCH_FRAME(islarge)

int32_t TPlayerStatesBar::countIcons() const try {
    int32_t Count = 0;
    for (int32_t Place = 0; Place < STATE_PLACES; Place++)
        if (StateAt(Place).Skin != 0) Count++;
    return Count < MaxIcons ? Count : MaxIcons;
}
CATCH_FRAME()

int32_t TPlayerStatesBar::getIconAt(int32_t X, int32_t Y) const try {
    const int32_t Pitch = SkinProperties.PlayerStates.IconPitch;
    const int32_t Left = SkinProperties.PlayerStates.LargeBar.x, Top = SkinProperties.PlayerStates.LargeBar.y;
    const int32_t Count = countIcons();
    for (int32_t i = 0; i < Count; i++)
        if (In(X, Pitch * i + Left, Pitch * i + Left + Pitch) && In(Y, Top, Top + Pitch)) return i;
    return -1;
}
CATCH_FRAME(X, Y)

void TPlayerStatesBar::draw(int32_t Surface, int32_t X, int32_t Y) try {
    drawDrawingList(Surface, X, Y);
    const int32_t Pitch = SkinProperties.PlayerStates.IconPitch;
    const int32_t Count = countIcons();
    for (int32_t i = 0; i < Count; i++) {
        const int32_t Skin = GetConditionIconSkin(i);
        const int32_t x = X, destx = Pitch * i + 2, y = Y, desty = 2;
        CHECK(x + destx >= 0);
        CHECK(y + desty >= 0);
        const TSkin& Icon = GetSkin(Skin);
        DrawSkin(Surface, x + destx, y + desty, Icon.Width, Icon.Height, Skin, 0, 0);
    }
}
CATCH_FRAME(Surface)

void TPlayerStatesBar::getToolTip(int32_t X, int32_t Y) try {
    const int32_t Icon = getIconAt(X, Y);
    SetTooltip(Icon < 0 ? nullptr : MessageTexts[ActiveState(Icon).Text]);
}
CATCH_FRAME(X, Y)

int32_t GetConditionIconSkin(int32_t Position) try {
    CHECK_TEXT(In(Position, 0, SkinProperties.PlayerStates.NumberOfIcons - 1),
               "In(Position,0,SkinProperties.PlayerStates.NumberOfIcons-1)", Position,
               SkinProperties.PlayerStates.NumberOfIcons);
    return ActiveState(Position).Skin;
}
CATCH_FRAME(Position)
