// The map view's mouse: walking, dragging and dropping, use-with and trade cursors, look, use, attack and the
// object menu by right click, and the help context of the field under the pointer.
#include "foundation/Exception.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "network/CommunicationSend.h"
#include "screen/Help.h"
#include "screen/MapWindow.h"
#include "screen/MessageTexts.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Inventory.h"
#include "state/Objects.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"

#include <algorithm>

namespace {

constexpr int32_t PLAYER_POINT_X = 8, PLAYER_POINT_Y = 6;

bool PlayerKnown() { return GetPlayerID() != 0 && GetCreature(GetPlayerID()) != nullptr; }

const TCreature& PlayerCreature() {
    const TCreature* Player = GetPlayerID() != 0 ? GetCreature(GetPlayerID()) : nullptr;
    CHECK_TEXT(Player != nullptr, "Player!=NULL");
    return *Player;
}

bool HasGroundAbove(int32_t rx, int32_t ry, int32_t rz, int32_t TopFloor) {
    for (int32_t z = rz + 1; z <= TopFloor; z++) {
        TObject Obj;
        GetFirstObject(Obj, rx, ry, z);
        if (Obj.Type != 0 && GetObjectFlag(Obj.Type, BANK)) return true;
    }
    return false;
}

struct TTarget {
    TObject Obj = EmptyObject;
    int32_t Position = 0, x = 0, y = 0, z = 0;
};

TTarget TargetOf(const TObject* Obj, int32_t Position, int32_t x, int32_t y, int32_t z) {
    TTarget T;
    if (Obj != nullptr) T = {*Obj, Position, x, y, z};
    return T;
}

TTarget LookTarget() {
    TTarget T;
    const TObject* Obj = GetLookTarget(&T.Position, &T.x, &T.y, &T.z);
    return TargetOf(Obj, T.Position, T.x, T.y, T.z);
}

TTarget UseTargetNow() {
    TTarget T;
    const TObject* Obj = GetUseTarget(&T.Position, &T.x, &T.y, &T.z);
    return TargetOf(Obj, T.Position, T.x, T.y, T.z);
}

TTarget DragSource() {
    TTarget T;
    const TObject* Obj = GetDragSource(&T.Position, &T.x, &T.y, &T.z);
    return TargetOf(Obj, T.Position, T.x, T.y, T.z);
}

void Look() {
    const TTarget T = LookTarget();
    if (T.Obj.Type != 0) SendLook(T.x, T.y, T.z, T.Obj.Type, T.Position);
}

bool ObjectMenu() {
    if (LookTarget().Obj.Type == 0) return false;
    AddMessage(MESSAGE_OBJECTMENU, 0, 0);
    return true;
}

} // namespace

void TMapView::getField(int32_t X, int32_t Y, int32_t& rx, int32_t& ry, int32_t& rz) {
    const TCreature& P = PlayerCreature();
    CHECK(Width > 0 && Height > 0, Width, Height);
    if (GetNoStretching()) {
        rx = ((MAP_PICTURE_WIDTH - Width) / 2 + P.getOffsetX() + X) / 32 + 1;
        ry = ((MAP_PICTURE_HEIGHT - Height) / 2 + P.getOffsetY() + Y) / 32 + 1;
    } else {
        rx = (X * MAP_PICTURE_WIDTH / Width + P.getOffsetX()) / 32 + 1;
        ry = (Y * MAP_PICTURE_HEIGHT / Height + P.getOffsetY()) / 32 + 1;
    }
    // A position outside the view (a captured drag) must still name a point of the box.
    rx = std::clamp(rx, 0, MAPSIZE_X - 1);
    ry = std::clamp(ry, 0, MAPSIZE_Y - 1);
    for (rz = _TopFloor; rz > 0; rz--) {
        TObject First, Second;
        GetFirstObject(First, rx, ry, rz);
        GetNextObject(Second);
        if ((First.Type != 0 && (GetObjectFlag(First.Type, BANK) || GetObjectFlag(First.Type, SORT_LOW))) ||
            (Second.Type != 0 && GetObjectFlag(Second.Type, SORT_LOW)))
            return;
    }
    rz = 0;
}

uint32_t TMapView::getCreatureAt(int32_t X, int32_t Y) {
    const bool NoStretching = GetNoStretching();
    for (int32_t i = 0; i < _LabelCount; i++) {
        const TCreature* C = GetCreature(_Labels[i].CreatureID);
        if (C == nullptr) continue;
        int32_t rx = C->X, ry = C->Y, rz = C->Z;
        WorldToLocal(rx, ry, rz);
        if (!In(rx, 0, MAPSIZE_X - 1) || !In(ry, 0, MAPSIZE_Y - 1) || !In(rz, 0, MAPSIZE_Z - 1)) continue;
        if (HasGroundAbove(rx, ry, rz, _TopFloor)) continue;
        bool Hit = false;
        if (NoStretching) {
            const int32_t dx = X - (_Labels[i].x - (MAP_PICTURE_WIDTH - Width) / 2);
            const int32_t dy = Y - (_Labels[i].y - (MAP_PICTURE_HEIGHT - Height) / 2);
            Hit = In(dx, -16, 16) && In(dy, 0, 32);
        } else {
            const int32_t Half = Width / MAP_WIDTH / 2;
            const int32_t dx = X - _Labels[i].x * Width / MAP_PICTURE_WIDTH;
            const int32_t dy = Y - _Labels[i].y * Height / MAP_PICTURE_HEIGHT;
            Hit = In(dx, -Half, Half) && In(dy, 0, Height / MAP_HEIGHT);
        }
        if (Hit) return C->CreatureID;
    }
    return 0;
}

bool TMapView::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::leftButtonDown(X, Y, Flags) || !PlayerKnown()) return true;
    int32_t rx = 0, ry = 0, rz = 0;
    getField(X, Y, rx, ry, rz);
    TObject Obj;
    int32_t Position = 0;
    GetDragObject(Obj, rx, ry, rz, Position);
    if (Obj.Type == 0) return true;
    LocalToWorld(rx, ry, rz);
    SetDragSource(Obj, Position, rx, ry, rz);
    return true;
}
CATCH_FRAME(X, Y)

bool TMapView::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::leftButtonUp(X, Y, Flags) || !PlayerKnown()) return true;
    int32_t rx = 0, ry = 0, rz = 0;
    getField(X, Y, rx, ry, rz);
    int32_t wx = rx, wy = ry, wz = rz;
    LocalToWorld(wx, wy, wz);
    switch (GetActionState()) {
    case ACTIONSTATE_USEWITH: {
        TObject Target;
        int32_t TargetPosition = 0;
        GetDropTargetObject(Target, rx, ry, rz, TargetPosition);
        if (Target.Type == 0) break;
        const TTarget Source = UseTargetNow();
        CHECK_TEXT(Source.Obj.Type != 0, "SrcObj!=0");
        CHECK_TEXT(Source.Obj.Type != CREATURE, "SrcObj.Type!=CREATURE");
        if (Target.Type == CREATURE && !IsPlayerID(static_cast<uint32_t>(Target.Data)))
            SendUseOnCreature(Source.x, Source.y, Source.z, Source.Obj.Type, Source.Position,
                              static_cast<uint32_t>(Target.Data));
        else
            SendUseTwoObjects(Source.x, Source.y, Source.z, Source.Obj.Type, Source.Position, wx, wy, wz,
                              Target.Type, TargetPosition);
        break;
    }
    case ACTIONSTATE_TRADEWITH: {
        const TTarget Offer = LookTarget();
        CHECK_TEXT(Offer.Obj.Type != 0, "TradeObject!=0");
        const uint32_t Partner = getCreatureAt(X, Y);
        if (Partner != 0 && IsPlayerID(Partner) && Partner != GetPlayerID())
            SendTradeObject(Offer.x, Offer.y, Offer.z, Offer.Obj.Type, Offer.Position, Partner);
        else
            SetStatusMessage(MessageTexts[TEXT_SELECT_TRADE_PARTNER], false);
        break;
    }
    case ACTIONSTATE_DRAG: {
        const TTarget Source = DragSource();
        if (Source.Obj.Type == 0 || (wx == Source.x && wy == Source.y && wz == Source.z)) break;
        const bool Stack = GetObjectFlag(Source.Obj.Type, CUMULATIVE) && Source.Obj.Data >= 2;
        if (Stack && !(Flags & KEY_SHIFT) && (Flags & KEY_CTRL)) {
            SendMoveObject(Source.x, Source.y, Source.z, Source.Obj.Type, Source.Position, wx, wy, wz,
                           Source.Obj.Data);
        } else if (Stack && !(Flags & (KEY_SHIFT | KEY_CTRL))) {
            SetDropPosition(wx, wy, wz);
            AddMessage(MESSAGE_MOVECOUNT, 0, 0);
        } else {
            SendMoveObject(Source.x, Source.y, Source.z, Source.Obj.Type, Source.Position, wx, wy, wz, 1);
        }
        break;
    }
    default:
        if (Flags != 0) return rightClick(X, Y, Flags);
        int32_t x = rx, y = ry, z = GetViewLayer();
        LocalToWorld(x, y, z);
        const int32_t Result = GoToField(x, y, z, true, false);
        if (Result == 1)
            SendWalkPath();
        else if (Result == 2)
            SendStopWalk();
    }
    return true;
}
CATCH_FRAME(X, Y)

bool TMapView::isDark(int32_t rx, int32_t ry) const {
    const bool NearPlayer = In(rx - PLAYER_POINT_X, -1, 1) && In(ry - PLAYER_POINT_Y, -1, 1);
    return !NearPlayer && _Light[rx][ry][0] == 0;
}

void TMapView::attackToggle() {
    const uint32_t Creature = GetMenuCreature();
    if (Creature == 0 || Creature == GetPlayerID()) return;
    SetAttackTarget(GetAttackTarget() == Creature ? 0 : Creature);
    SendAttack(GetAttackTarget());
}

void TMapView::useTarget() {
    const TTarget T = UseTargetNow();
    if (T.Obj.Type == 0) return;
    CHECK_TEXT(T.Obj.Type != CREATURE, "Obj!=CREATURE");
    if (GetObjectFlag(T.Obj.Type, USEWITH))
        AddMessage(MESSAGE_USEWITHCURSOR, 0, 0);
    else
        SendUseObject(T.x, T.y, T.z, T.Obj.Type, T.Position, GetFreeContainerNumber());
}

bool TMapView::rightClick(int32_t X, int32_t Y, uint32_t Flags) try {
    if (!PlayerKnown()) return true;
    int32_t rx = 0, ry = 0, rz = 0;
    getField(X, Y, rx, ry, rz);
    if (isDark(rx, ry)) {
        AddTalkboxMessage(TALK_INFO_MESSAGE, "You can't see anything.");
        return true;
    }
    SetLookTarget(EmptyObject, 0, 0, 0, 0);
    SetUseTarget(EmptyObject, 0, 0, 0, 0);
    SetMenuCreature(0);
    int32_t wx = rx, wy = ry, wz = rz;
    LocalToWorld(wx, wy, wz);
    TObject Obj;
    int32_t Position = 0;
    GetLookObject(Obj, rx, ry, rz, Position);
    if (Obj.Type != 0) SetLookTarget(Obj, Position, wx, wy, wz);
    GetUseObject(Obj, rx, ry, rz, Position);
    if (Obj.Type != 0) SetUseTarget(Obj, Position, wx, wy, wz);
    if (const uint32_t Creature = getCreatureAt(X, Y); Creature != 0) SetMenuCreature(Creature);
    if (!GetClassicControl()) {
        if (Flags & KEY_ALT)
            attackToggle();
        else if (Flags & KEY_SHIFT)
            Look();
        else if (Flags & KEY_CTRL)
            useTarget();
        else
            ObjectMenu();
        return true;
    }
    if (Flags & KEY_SHIFT) {
        Look();
    } else if (!(Flags & KEY_CTRL) || !ObjectMenu()) {
        const uint32_t Creature = GetMenuCreature();
        const TTarget Use = UseTargetNow();
        if (Creature != 0 && Creature != GetPlayerID() && Use.Obj.Type != 0 &&
            !GetObjectFlag(Use.Obj.Type, TAKE_AT_ONCE))
            attackToggle();
        else
            useTarget();
    }
    return true;
}
CATCH_FRAME(X, Y)

bool TMapView::getHelpContext(int32_t X, int32_t Y) try {
    if (!PlayerKnown()) return false;
    int32_t rx = 0, ry = 0, rz = 0;
    getField(X, Y, rx, ry, rz);
    if (isDark(rx, ry)) return false;
    TObject Obj;
    int32_t Position = 0;
    GetLookObject(Obj, rx, ry, rz, Position);
    if (Obj.Type == 0) return false;
    int32_t Context = 0;
    if (Obj.Type == CREATURE)
        Context = static_cast<uint32_t>(Obj.Data) == GetPlayerID() ? HELP_OWN_CHARACTER : HELP_CREATURE;
    else if (GetObjectFlag(Obj.Type, LENSHELP))
        Context = GetObjectLensHelp(Obj.Type);
    else if (GetObjectFlag(Obj.Type, CONTAINER))
        Context = HELP_CONTAINER_ON_MAP;
    if (Context == 0) return false;
    const TCreature& P = PlayerCreature();
    const int32_t ox = P.getOffsetX(), oy = P.getOffsetY();
    if (GetNoStretching()) {
        MoveHelpOrigin(rx * 32 - (MAP_PICTURE_WIDTH - Width) / 2 - ox - 32,
                       ry * 32 - (MAP_PICTURE_HEIGHT - Height) / 2 - oy - 32);
        SetHelpExtent(32, 32);
    } else {
        MoveHelpOrigin((rx * 32 - ox - 32) * Width / MAP_PICTURE_WIDTH,
                       (ry * 32 - oy - 32) * Height / MAP_PICTURE_HEIGHT);
        SetHelpExtent(32 * Width / MAP_PICTURE_WIDTH, 32 * Height / MAP_PICTURE_HEIGHT);
    }
    SetHelpContext(Context);
    return true;
}
CATCH_FRAME(X, Y)
