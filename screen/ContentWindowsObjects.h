// What the object windows of the side bar (equipment, minimised inventory, containers) do alike with an
// object under the pointer: the drop of a dragged object, the use-with target and the right click.
#pragma once

#include "state/Objects.h"

#include <cstdint>

// The frame of one object cell in the container and trade windows.
inline constexpr int32_t SKIN_OBJECT_CELL = 125;

// A place as the server addresses it: x, y, z and the stack position sent with it.
struct TObjectPlace {
    int32_t x, y, z, Position;
};

// Moves the dragged object to (x, y, z): a stack of more than one piece moves whole with Ctrl and one piece
// with Shift; otherwise the place is stored and the move-count dialog is asked for. Nothing without a
// dragged object.
void DropDraggedObject(int32_t x, int32_t y, int32_t z, uint32_t Flags);
// Uses the object held by the use-with cursor with Target at Place; nothing when Target is empty.
void UseHeldObjectWith(const TObject& Target, const TObjectPlace& Place);
// The right click (or a modified left click): Object at Place becomes look and use target; then by the
// ClassicControl option and the modifiers it is looked at, used (opening a container as number
// UseContainer), taken on the use-with cursor, or its menu is asked for.
void ActOnObject(const TObject& Object, const TObjectPlace& Place, uint32_t Flags, int32_t UseContainer);
// The white one-pixel outline around a drop target under the pointer, cut to the clip rectangle.
void DrawDropMarker(int32_t Surface, int32_t X, int32_t Y, int32_t Width, int32_t Height, int32_t ClipX,
                    int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight);
// True while an object is dragged and the mouse lies in the rectangle (last column and row included).
bool DragHovers(int32_t X, int32_t Y, int32_t Width, int32_t Height);
