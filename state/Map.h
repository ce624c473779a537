// The map box around the player: coordinates, map points with their object stacks, scrolling and field
// queries.
#pragma once

#include "state/Objects.h"

#include <cstdint>

inline constexpr int32_t MAPSIZE_X = 18; // fields from west to east
inline constexpr int32_t MAPSIZE_Y = 14; // fields from north to south
inline constexpr int32_t MAPSIZE_Z = 8;  // floors held in the box
inline constexpr int32_t MAP_POINTS = MAPSIZE_X * MAPSIZE_Y * MAPSIZE_Z;
inline constexpr int32_t OBJECTS_PER_POINT = 10;

// An absolute world position: x grows to the east, y to the south; floor z 0 is the highest, 7 ground level,
// up to 15 below ground.
struct TCoordinate {
    int32_t x;
    int32_t y;
    int32_t z;
};

// One field of the box. Only Objects[0..ObjectCount-1] and DrawOrder[0..ObjectCount-1] are meaningful;
// position 0 is the bottom of the stack.
struct TMapPoint {
    int32_t ObjectCount;
    TObject Objects[OBJECTS_PER_POINT];
    int32_t DrawOrder[OBJECTS_PER_POINT]; // stack positions in drawing order
    int32_t EffectNumber;                 // head of the point's effect list, -1 for none
    uint8_t RefreshRequested;             // 1 while the field has been asked of the server again
};

// Told the id of every creature object that leaves the box when a point is cleared.
using TCreatureRemovedCallback = void (*)(int32_t CreatureID);

// View position and the floor transform. Box floor numbers grow upward; the view layer is the box floor of
// the player's own floor, and each floor above it is shifted one field diagonally.
void SetViewPosition(int32_t x, int32_t y, int32_t z);
void GetViewPosition(int32_t& x, int32_t& y, int32_t& z);
int32_t GetViewLayer();
void WorldToLocal(int32_t& x, int32_t& y, int32_t& z); // the result may lie outside the box
void LocalToWorld(int32_t& rx, int32_t& ry, int32_t& rz);

// The box's storage, for the map's own files, the map view and the tests: the MapPoints index of a box
// field (checked only by the index matrix) and a point by that index (0..MAP_POINTS-1).
int32_t GetPointIndex(int32_t rx, int32_t ry, int32_t rz);
TMapPoint& GetMapPoint(int32_t Index);

// Objects of one point. The iteration walks the draw order; there is one iteration for the whole program,
// so a walk begun inside another ends the outer one.
void GetFirstObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz);
void GetNextObject(TObject& Obj);
void GetMapObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz, int32_t Position);
// On a full point these drop the object at position 9 (Insert) or the newcomer (Add, when it sorts on top).
void InsertMapObject(int32_t rx, int32_t ry, int32_t rz, int32_t Position, const TObject& Obj);
void AddMapObject(int32_t rx, int32_t ry, int32_t rz, const TObject& Obj);
// Fails "too many objects on map point" on a full point and leaves it unchanged.
void AppendMapObject(int32_t rx, int32_t ry, int32_t rz, const TObject& Obj);
// True when the point was full before, so that the caller asks the server for the whole field again.
bool DeleteMapObject(int32_t rx, int32_t ry, int32_t rz, int32_t Position);
void ChangeMapObject(int32_t rx, int32_t ry, int32_t rz, int32_t Position, const TObject& Obj);
void UpdateDrawOrder(int32_t rx, int32_t ry, int32_t rz);

// Program start: identity layout, everything empty, view at 0, 0, 0, the automap cache empty.
void InitMap(TCreatureRemovedCallback CreatureRemoved);
// Empties every point and frees every effect without telling the callback; on entering the game and before a
// whole new map.
void ClearMap();
void ClearMapPoint(int32_t rx, int32_t ry, int32_t rz, bool WithEffects);
// dx, dy move the box's contents, the opposite of the player's step: a step north is ScrollMap(0, 1).
void ScrollMap(int32_t dx, int32_t dy);
// dz box floors; the caller moves the view position first.
void ScrollFloors(int32_t dz);

void SetFieldRefreshRequested(int32_t rx, int32_t ry, int32_t rz);
uint8_t FieldRefreshRequested(int32_t rx, int32_t ry, int32_t rz);
int32_t CountHeightObjects(int32_t rx, int32_t ry, int32_t rz);
bool IsWalkable(int32_t rx, int32_t ry, int32_t rz, bool CheckElevation);
bool PointLacksCap(int32_t rx, int32_t ry, int32_t rz);
bool PointHasLightAbove(int32_t rx, int32_t ry, int32_t rz);

// The object a mouse action on a field aims at, with its stack position; EmptyObject and 0 on an empty field.
void GetDragObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz, int32_t& Position);
void GetLookObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz, int32_t& Position);
void GetUseObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz, int32_t& Position);
void GetDropTargetObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz, int32_t& Position);
