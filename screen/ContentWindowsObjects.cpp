// The shared object handling of the equipment, minimised-inventory and container windows.

#include "screen/ContentWindowsObjects.h"

#include "foundation/Exception.h"
#include "graphics/Engine.h"
#include "graphics/Surface.h"
#include "gui/KeyCodes.h"
#include "network/CommunicationSend.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"

namespace {

void UseOrTakeOnCursor(const TObject& Object, const TObjectPlace& Place, int32_t UseContainer) {
    if (GetObjectFlag(Object.Type, USEWITH))
        AddMessage(MESSAGE_USEWITHCURSOR, 0, 0);
    else
        SendUseObject(Place.x, Place.y, Place.z, Object.Type, Place.Position, UseContainer);
}

} // namespace

void DropDraggedObject(int32_t x, int32_t y, int32_t z, uint32_t Flags) try {
    int32_t Position = 0, FromX = 0, FromY = 0, FromZ = 0;
    const TObject* Source = GetDragSource(&Position, &FromX, &FromY, &FromZ);
    if (Source == nullptr || Source->Type == 0) return;
    const TObject Object = *Source;
    if (GetObjectFlag(Object.Type, CUMULATIVE) && Object.Data > 1 && (Flags & KEY_SHIFT) == 0) {
        if ((Flags & KEY_CTRL) != 0) {
            SendMoveObject(FromX, FromY, FromZ, Object.Type, Position, x, y, z, Object.Data);
        } else {
            SetDropPosition(x, y, z);
            AddMessage(MESSAGE_MOVECOUNT, 0, 0);
        }
        return;
    }
    SendMoveObject(FromX, FromY, FromZ, Object.Type, Position, x, y, z, 1);
}
CATCH_FRAME(x, y)

void UseHeldObjectWith(const TObject& Target, const TObjectPlace& Place) try {
    if (Target.Type == 0) return;
    int32_t Position = 0, x = 0, y = 0, z = 0;
    const TObject* SrcObj = GetUseTarget(&Position, &x, &y, &z);
    CHECK_TEXT(SrcObj != nullptr && SrcObj->Type != 0, "SrcObj!=0");
    CHECK_TEXT(SrcObj->Type != CREATURE, "SrcObj.Type!=CREATURE");
    SendUseTwoObjects(x, y, z, SrcObj->Type, Position, Place.x, Place.y, Place.z, Target.Type,
                      Place.Position);
}
CATCH_FRAME(Place.x, Place.y)

void ActOnObject(const TObject& Object, const TObjectPlace& Place, uint32_t Flags, int32_t UseContainer) try {
    SetLookTarget(EmptyObject, 0, 0, 0, 0);
    SetUseTarget(EmptyObject, 0, 0, 0, 0);
    SetMenuCreature(0);
    SetLookTarget(Object, Place.Position, Place.x, Place.y, Place.z);
    SetUseTarget(Object, Place.Position, Place.x, Place.y, Place.z);
    if (Object.Type == 0) return;
    const bool Shift = (Flags & KEY_SHIFT) != 0, Ctrl = (Flags & KEY_CTRL) != 0;
    if (Shift)
        SendLook(Place.x, Place.y, Place.z, Object.Type, Place.Position);
    else if (Ctrl == GetClassicControl()) // classic: Ctrl asks for the menu; otherwise a plain click does
        AddMessage(MESSAGE_OBJECTMENU, 0, 0);
    else
        UseOrTakeOnCursor(Object, Place, UseContainer);
}
CATCH_FRAME(Place.x, Place.y)

void DrawDropMarker(int32_t Surface, int32_t X, int32_t Y, int32_t Width, int32_t Height, int32_t ClipX,
                    int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight) try {
    GetSurface()->DrawBorderClipped(Surface, X, Y, Width, Height, 1, 255, 255, 255, ClipX, ClipY, ClipWidth,
                                    ClipHeight);
}
CATCH_FRAME(X, Y)

bool DragHovers(int32_t X, int32_t Y, int32_t Width, int32_t Height) {
    if (GetActionState() != ACTIONSTATE_DRAG) return false;
    const int32_t MouseX = GetMouseX(), MouseY = GetMouseY();
    return MouseX >= X && MouseX < X + Width && MouseY >= Y && MouseY < Y + Height;
}
