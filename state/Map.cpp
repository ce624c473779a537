// The map box around the player: coordinates, object stacks in draw order, scrolling and field queries.
#include "state/Map.h"

#include "foundation/Container.h"
#include "foundation/Exception.h"
#include "state/MapAutomap.h"
#include "state/MapEffects.h"

#include <algorithm>
#include <string>

namespace {

// The box lives for the whole run; InitMap resets it at program start, ClearMap on entering the game.
TFixedArray<TMapPoint> MapPoints(0, MAP_POINTS - 1);
TMatrix3D<int32_t> PointIndex(0, MAPSIZE_X - 1, 0, MAPSIZE_Y - 1, 0, MAPSIZE_Z - 1);
TCoordinate ViewPosition = {0, 0, 0};
int32_t ObjectIteratorField = -1; // MapPoints index of the point being walked
int32_t ObjectIteratorPosition = 0;
TCreatureRemovedCallback CreatureRemovedCallback = nullptr;

void CheckBoxField(int32_t rx, int32_t ry, int32_t rz) {
    CHECK_TEXT(In(rx, 0, MAPSIZE_X - 1), "In(rx,0,MAPSIZE_X-1) [bug0000013]", rx);
    CHECK_TEXT(In(ry, 0, MAPSIZE_Y - 1), "In(ry,0,MAPSIZE_Y-1) [bug0000013]", ry);
    CHECK_TEXT(In(rz, 0, MAPSIZE_Z - 1), "In(rz,0,MAPSIZE_Z-1) [bug0000013]", rz);
}

TMapPoint& Point(int32_t rx, int32_t ry, int32_t rz) {
    CheckBoxField(rx, ry, rz);
    return MapPoints.at(PointIndex.at(rx, ry, rz));
}

// Ground and the objects of flags 1 to 3 lie below everything else and are passed over by the picks.
bool IsLowerObject(const TObject& Obj) {
    return GetObjectFlag(Obj, BANK) || GetObjectFlag(Obj, SORT_AFTER_GROUND) ||
           GetObjectFlag(Obj, SORT_LOW) || GetObjectFlag(Obj, DRAW_ON_TOP);
}

// The stack position at which the sorting rule puts Obj; ObjectCount when it goes on top.
int32_t SortedPlace(const TMapPoint& MapPoint, const TObject& Obj) {
    static constexpr int32_t Keys[4] = {BANK, SORT_AFTER_GROUND, SORT_LOW, DRAW_ON_TOP};
    bool ObjHas[4];
    for (int32_t k = 0; k < 4; k++)
        ObjHas[k] = GetObjectFlag(Obj, Keys[k]);
    for (int32_t p = 0; p < MapPoint.ObjectCount; p++) {
        const TObject& Other = MapPoint.Objects[p];
        int32_t k = 0;
        for (; k < 4; k++) {
            bool OtherHas = GetObjectFlag(Other, Keys[k]);
            if (ObjHas[k] && !OtherHas) return p;
            if (OtherHas && !ObjHas[k]) break;
        }
        if (k == 4 && (Obj.Type == CREATURE || Other.Type != CREATURE)) return p;
    }
    return MapPoint.ObjectCount;
}

void RebuildDrawOrder(TMapPoint& MapPoint) {
    int32_t Count = MapPoint.ObjectCount, Drawn = 0;
    while (Drawn < Count) {
        const TObject& Obj = MapPoint.Objects[Drawn];
        if (!GetObjectFlag(Obj, BANK) && !GetObjectFlag(Obj, SORT_AFTER_GROUND) &&
            !GetObjectFlag(Obj, SORT_LOW))
            break;
        MapPoint.DrawOrder[Drawn] = Drawn;
        Drawn++;
    }
    for (int32_t Position = Count - 1; Drawn < Count; Position--)
        MapPoint.DrawOrder[Drawn++] = Position;
}

// The lowest HANG object takes the hook flag of the lowest object that carries HOOKSOUTH or HOOKEAST.
void UpdateHangHooks(TMapPoint& MapPoint) {
    int32_t Hang = -1, Hook = -1;
    for (int32_t Position = MapPoint.ObjectCount - 1; Position >= 0; Position--) {
        const TObject& Obj = MapPoint.Objects[Position];
        if (GetObjectFlag(Obj, HANG)) Hang = Position;
        if (GetObjectFlag(Obj, HOOKSOUTH) || GetObjectFlag(Obj, HOOKEAST)) Hook = Position;
    }
    if (Hang != -1 && Hook != -1)
        MapPoint.Objects[Hang].Data2 =
            GetObjectFlag(MapPoint.Objects[Hook], HOOKSOUTH) ? HOOKSOUTH : HOOKEAST;
}

// One step of the box's contents along one axis (exactly one of dx, dy, dz is 1 or -1; 1 is east, south,
// up): every line along that axis rotates by one, and the entry that comes round to the freed end is
// emptied with its effects. Lines are taken floor by floor, row by row (for a floor step: row by row).
void ShiftBox(int32_t dx, int32_t dy, int32_t dz) {
    const int32_t Axis = dx != 0 ? 0 : dy != 0 ? 1 : 2;
    const int32_t Step = dx + dy + dz;
    int32_t Ends[3] = {MAPSIZE_X, MAPSIZE_Y, MAPSIZE_Z};
    const int32_t Length = Ends[Axis];
    Ends[Axis] = 1; // one line per place on the other two axes
    for (int32_t z = 0; z < Ends[2]; z++)
        for (int32_t y = 0; y < Ends[1]; y++)
            for (int32_t x = 0; x < Ends[0]; x++) {
                int32_t Line[std::max({MAPSIZE_X, MAPSIZE_Y, MAPSIZE_Z})];
                int32_t c[3] = {x, y, z};
                int32_t& i = c[Axis];
                for (i = 0; i < Length; i++)
                    Line[i] = PointIndex.at(c[0], c[1], c[2]);
                for (i = 0; i < Length; i++)
                    PointIndex.at(c[0], c[1], c[2]) = Line[(i - Step + Length) % Length];
                i = Step > 0 ? 0 : Length - 1;
                ClearMapPoint(c[0], c[1], c[2], true);
            }
}

// True when any object of the point carries Flag; walks the draw order and so ends the caller's iteration.
bool PointHasFlag(int32_t rx, int32_t ry, int32_t rz, int32_t Flag) {
    TObject Obj;
    for (GetFirstObject(Obj, rx, ry, rz); Obj.Type != 0; GetNextObject(Obj))
        if (GetObjectFlag(Obj, Flag)) return true;
    return false;
}

} // namespace

// ---- view

void SetViewPosition(int32_t x, int32_t y, int32_t z) { ViewPosition = {x, y, z}; }

void GetViewPosition(int32_t& x, int32_t& y, int32_t& z) {
    x = ViewPosition.x;
    y = ViewPosition.y;
    z = ViewPosition.z;
}

int32_t GetViewLayer() { return ViewPosition.z <= 7 ? 7 - ViewPosition.z : 2; }

void WorldToLocal(int32_t& x, int32_t& y, int32_t& z) {
    int32_t d = ViewPosition.z - z;
    x = x + 8 - ViewPosition.x - d;
    y = y + 6 - ViewPosition.y - d;
    z = GetViewLayer() + d;
}

void LocalToWorld(int32_t& rx, int32_t& ry, int32_t& rz) {
    int32_t d = rz - GetViewLayer();
    rx = rx + ViewPosition.x - 8 + d;
    ry = ry + ViewPosition.y - 6 + d;
    rz = ViewPosition.z - d;
}

int32_t GetPointIndex(int32_t rx, int32_t ry, int32_t rz) { return PointIndex.at(rx, ry, rz); }
TMapPoint& GetMapPoint(int32_t Index) { return MapPoints.at(Index); }

// ---- objects

void GetFirstObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz) try {
    CheckBoxField(rx, ry, rz);
    ObjectIteratorField = PointIndex.at(rx, ry, rz);
    ObjectIteratorPosition = 0;
    const TMapPoint& MapPoint = MapPoints.at(ObjectIteratorField);
    Obj = MapPoint.ObjectCount > 0 ? MapPoint.Objects[MapPoint.DrawOrder[0]] : EmptyObject;
}
CATCH_FRAME()

void GetNextObject(TObject& Obj) try {
    const TMapPoint& MapPoint = MapPoints.at(ObjectIteratorField);
    if (ObjectIteratorPosition < MapPoint.ObjectCount) ObjectIteratorPosition++;
    Obj = ObjectIteratorPosition < MapPoint.ObjectCount
              ? MapPoint.Objects[MapPoint.DrawOrder[ObjectIteratorPosition]]
              : EmptyObject;
}
CATCH_FRAME()

void GetMapObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz, int32_t Position) try {
    const TMapPoint& MapPoint = Point(rx, ry, rz);
    CHECK(In(Position, 0, OBJECTS_PER_POINT - 1));
    Obj = Position < MapPoint.ObjectCount ? MapPoint.Objects[Position] : EmptyObject;
}
CATCH_FRAME()

void InsertMapObject(int32_t rx, int32_t ry, int32_t rz, int32_t Position, const TObject& Obj) try {
    TMapPoint& MapPoint = Point(rx, ry, rz);
    CHECK(In(Position, 0, OBJECTS_PER_POINT - 1));
    CHECK_TEXT(Position <= MapPoint.ObjectCount, "Position<=Point.ObjectCount");
    int32_t Top = MapPoint.ObjectCount < OBJECTS_PER_POINT - 1 ? MapPoint.ObjectCount : OBJECTS_PER_POINT - 1;
    for (int32_t Slot = Top; Slot > Position; Slot--)
        MapPoint.Objects[Slot] = MapPoint.Objects[Slot - 1];
    MapPoint.Objects[Position] = Obj;
    if (MapPoint.ObjectCount < OBJECTS_PER_POINT) MapPoint.ObjectCount++;
    UpdateDrawOrder(rx, ry, rz);
}
CATCH_FRAME()

void AddMapObject(int32_t rx, int32_t ry, int32_t rz, const TObject& Obj) try {
    int32_t Place = SortedPlace(Point(rx, ry, rz), Obj);
    if (Place < OBJECTS_PER_POINT) InsertMapObject(rx, ry, rz, Place, Obj);
}
CATCH_FRAME()

void AppendMapObject(int32_t rx, int32_t ry, int32_t rz, const TObject& Obj) try {
    const TMapPoint& MapPoint = Point(rx, ry, rz);
    if (!In(MapPoint.ObjectCount, 0, OBJECTS_PER_POINT - 1))
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "too many objects on map point", "", 0, "", 0,
                           "ObjectCount: " + std::to_string(MapPoint.ObjectCount) +
                               " rx: " + std::to_string(rx) + " ry: " + std::to_string(ry) +
                               " rz: " + std::to_string(rz));
    InsertMapObject(rx, ry, rz, MapPoint.ObjectCount, Obj);
}
CATCH_FRAME()

bool DeleteMapObject(int32_t rx, int32_t ry, int32_t rz, int32_t Position) try {
    TMapPoint& MapPoint = Point(rx, ry, rz);
    CHECK_TEXT(In(Position, 0, MapPoint.ObjectCount - 1), "In(Position,0,Point.ObjectCount-1)");
    for (int32_t Slot = Position; Slot < MapPoint.ObjectCount - 1; Slot++)
        MapPoint.Objects[Slot] = MapPoint.Objects[Slot + 1];
    MapPoint.ObjectCount--;
    UpdateDrawOrder(rx, ry, rz);
    return MapPoint.ObjectCount == OBJECTS_PER_POINT - 1;
}
CATCH_FRAME()

void ChangeMapObject(int32_t rx, int32_t ry, int32_t rz, int32_t Position, const TObject& Obj) try {
    TMapPoint& MapPoint = Point(rx, ry, rz);
    CHECK_TEXT(In(Position, 0, MapPoint.ObjectCount - 1), "In(Position,0,Point.ObjectCount-1)");
    MapPoint.Objects[Position] = Obj;
    UpdateDrawOrder(rx, ry, rz);
}
CATCH_FRAME()

void UpdateDrawOrder(int32_t rx, int32_t ry, int32_t rz) try {
    TMapPoint& MapPoint = Point(rx, ry, rz);
    RebuildDrawOrder(MapPoint);
    UpdateHangHooks(MapPoint);
}
CATCH_FRAME()

// ---- start, clearing and scrolling

void InitMap(TCreatureRemovedCallback CreatureRemoved) try {
    for (int32_t rz = 0; rz < MAPSIZE_Z; rz++)
        for (int32_t ry = 0; ry < MAPSIZE_Y; ry++)
            for (int32_t rx = 0; rx < MAPSIZE_X; rx++)
                PointIndex.at(rx, ry, rz) = rx + (rz * MAPSIZE_Y + ry) * MAPSIZE_X;
    ClearMap();
    ViewPosition = {0, 0, 0};
    ObjectIteratorField = -1;
    InitAutomap();
    CreatureRemovedCallback = CreatureRemoved;
}
CATCH_FRAME()

void ClearMap() {
    for (int32_t Index = 0; Index < MAP_POINTS; Index++) {
        TMapPoint& MapPoint = MapPoints.at(Index);
        MapPoint.ObjectCount = 0;
        MapPoint.EffectNumber = -1;
        MapPoint.RefreshRequested = 0;
    }
    ClearEffects();
}

void ClearMapPoint(int32_t rx, int32_t ry, int32_t rz, bool WithEffects) try {
    CHECK_TEXT(In(rx, 0, MAPSIZE_X - 1), "In(rx,0,MAPSIZE_X-1) [bug0000913]", rx);
    CHECK_TEXT(In(ry, 0, MAPSIZE_Y - 1), "In(ry,0,MAPSIZE_Y-1) [bug0000913]", ry);
    CHECK_TEXT(In(rz, 0, MAPSIZE_Z - 1), "In(rz,0,MAPSIZE_Z-1) [bug0000913]", rz);
    TMapPoint& MapPoint = MapPoints.at(PointIndex.at(rx, ry, rz));
    for (int32_t Position = 0; Position < MapPoint.ObjectCount; Position++)
        if (MapPoint.Objects[Position].Type == CREATURE && CreatureRemovedCallback != nullptr)
            CreatureRemovedCallback(MapPoint.Objects[Position].Data);
    MapPoint.ObjectCount = 0;
    MapPoint.RefreshRequested = 0;
    if (!WithEffects) return;
    while (MapPoint.EffectNumber != -1) {
        CHECK_TEXT(GetEffectStatus(MapPoint.EffectNumber) != EFFECT_FREE,
                   "Effects[Point.EffectNumber].Status!=0 [bug0000611]");
        DeleteEffect(MapPoint.EffectNumber);
    }
}
CATCH_FRAME()

void ScrollMap(int32_t dx, int32_t dy) try {
    ViewPosition.x -= dx;
    ViewPosition.y -= dy;
    for (int32_t Step = 0; Step < dx; Step++)
        ShiftBox(1, 0, 0);
    for (int32_t Step = dx; Step < 0; Step++)
        ShiftBox(-1, 0, 0);
    for (int32_t Step = 0; Step < dy; Step++)
        ShiftBox(0, 1, 0);
    for (int32_t Step = dy; Step < 0; Step++)
        ShiftBox(0, -1, 0);
}
CATCH_FRAME()

// Going down by one floor on or above ground level brings floors 5 to 7 of the box into a region the server
// sends afresh, so they are emptied after an upward shift.
void ScrollFloors(int32_t dz) try {
    for (int32_t Step = 0; Step < dz; Step++)
        ShiftBox(0, 0, 1);
    for (int32_t Step = dz; Step < 0; Step++)
        ShiftBox(0, 0, -1);
    if (dz <= 0) return;
    for (int32_t rz = 5; rz < MAPSIZE_Z; rz++)
        for (int32_t ry = 0; ry < MAPSIZE_Y; ry++)
            for (int32_t rx = 0; rx < MAPSIZE_X; rx++)
                ClearMapPoint(rx, ry, rz, true);
}
CATCH_FRAME()

// ---- field queries

void SetFieldRefreshRequested(int32_t rx, int32_t ry, int32_t rz) try {
    MapPoints.at(PointIndex.at(rx, ry, rz)).RefreshRequested = 1;
}
CATCH_FRAME()

uint8_t FieldRefreshRequested(int32_t rx, int32_t ry, int32_t rz) try {
    return MapPoints.at(PointIndex.at(rx, ry, rz)).RefreshRequested;
}
CATCH_FRAME()

int32_t CountHeightObjects(int32_t rx, int32_t ry, int32_t rz) try {
    int32_t Count = 0;
    TObject Obj;
    for (GetFirstObject(Obj, rx, ry, rz); Obj.Type != 0; GetNextObject(Obj))
        if (GetObjectFlag(Obj, HEIGHT)) Count++;
    return Count;
}
CATCH_FRAME()

// With CheckElevation a pile of more than two HEIGHT objects lets the player climb: onto a missing or
// groundless field above such a pile, and anywhere while standing on one.
bool IsWalkable(int32_t rx, int32_t ry, int32_t rz, bool CheckElevation) try {
    CheckBoxField(rx, ry, rz);
    if (CheckElevation) {
        if (rz >= 1 && rx < MAPSIZE_X - 1 && ry < MAPSIZE_Y - 1) {
            TObject First;
            GetFirstObject(First, rx, ry, rz);
            if ((First.Type == 0 || !GetObjectFlag(First, BANK)) &&
                CountHeightObjects(rx + 1, ry + 1, rz - 1) > 2)
                return true;
        }
        if (CountHeightObjects(8, 6, GetViewLayer()) > 2) return true;
    }
    return !PointHasFlag(rx, ry, rz, 12);
}
CATCH_FRAME()

bool PointLacksCap(int32_t rx, int32_t ry, int32_t rz) try { return !PointHasFlag(rx, ry, rz, CAP); }
CATCH_FRAME()

bool PointHasLightAbove(int32_t rx, int32_t ry, int32_t rz) try {
    return PointHasFlag(rx, ry, rz, LIGHT_ABOVE);
}
CATCH_FRAME()

// ---- picks: they walk the stack from the bottom and never pass its top object

void GetDragObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz, int32_t& Position) try {
    const TMapPoint& MapPoint = Point(rx, ry, rz);
    Position = 0;
    while (Position < MapPoint.ObjectCount - 1 &&
           (IsLowerObject(MapPoint.Objects[Position]) || MapPoint.Objects[Position].Type == CREATURE))
        Position++;
    if (Position > 0 && GetObjectFlag(MapPoint.Objects[Position], UNMOVE)) Position--;
    Obj = MapPoint.ObjectCount > 0 ? MapPoint.Objects[Position] : EmptyObject;
}
CATCH_FRAME()

void GetLookObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz, int32_t& Position) try {
    const TMapPoint& MapPoint = Point(rx, ry, rz);
    Position = 0;
    while (Position < MapPoint.ObjectCount - 1 && IsLowerObject(MapPoint.Objects[Position]))
        Position++;
    Obj = MapPoint.ObjectCount > 0 ? MapPoint.Objects[Position] : EmptyObject;
}
CATCH_FRAME()

void GetUseObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz, int32_t& Position) try {
    const TMapPoint& MapPoint = Point(rx, ry, rz);
    Position = 0;
    Obj = MapPoint.ObjectCount > 0 ? MapPoint.Objects[0] : EmptyObject;
    for (; Position < MapPoint.ObjectCount - 1; Position++) {
        const TObject& Here = MapPoint.Objects[Position];
        if (GetObjectFlag(Here, TAKE_AT_ONCE)) {
            Obj = Here;
            return;
        }
        if (!IsLowerObject(Here) && Here.Type != CREATURE) break;
    }
    while (Position >= 1 && (MapPoint.Objects[Position].Type == CREATURE ||
                             GetObjectFlag(MapPoint.Objects[Position], LIQUIDPOOL)))
        Position--;
    if (MapPoint.ObjectCount > 0) Obj = MapPoint.Objects[Position];
}
CATCH_FRAME()

void GetDropTargetObject(TObject& Obj, int32_t rx, int32_t ry, int32_t rz, int32_t& Position) try {
    const TMapPoint& MapPoint = Point(rx, ry, rz);
    Position = 0;
    Obj = MapPoint.ObjectCount > 0 ? MapPoint.Objects[0] : EmptyObject;
    for (; Position < MapPoint.ObjectCount - 1; Position++) {
        const TObject& Here = MapPoint.Objects[Position];
        if (GetObjectFlag(Here, TAKE_AT_ONCE)) {
            Obj = Here;
            return;
        }
        if (!IsLowerObject(Here)) break;
    }
    if (Position > 0 && GetObjectFlag(MapPoint.Objects[Position], LIQUIDPOOL)) Position--;
    if (MapPoint.ObjectCount > 0) Obj = MapPoint.Objects[Position];
}
CATCH_FRAME()
