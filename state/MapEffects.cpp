// Graphic effects, animated texts and missiles: one fixed table linked into per-point lists of the map box.
#include "state/MapEffects.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "state/Map.h"
#include "state/Objects.h"

#include <cmath>
#include <cstring>

namespace {

// Freed by ClearMap (entering the game, a whole new map) and InitMap.
TEffect Effects[EFFECTS];
int32_t EffectIteratorField = -1; // MapPoints index of the point being walked
int32_t EffectIteratorCount = 0;

int32_t BoxPointIndex(int32_t rx, int32_t ry, int32_t rz) {
    if (!In(rx, 0, MAPSIZE_X - 1) || !In(ry, 0, MAPSIZE_Y - 1) || !In(rz, 0, MAPSIZE_Z - 1))
        return GetPointIndex(0, 0, 0);
    return GetPointIndex(rx, ry, rz);
}

// Puts record Number at the head of the list of the point with MapPoints index PointNumber.
void LinkEffect(int32_t Number, int32_t PointNumber) {
    TMapPoint& Point = GetMapPoint(PointNumber);
    TEffect& Effect = Effects[Number];
    CHECK_TEXT(In(Point.EffectNumber, -1, EFFECTS - 1), "In(Point.EffectNumber,-1,EFFECTS-1) [bug0000913]");
    CHECK_TEXT(In(Number, -1, EFFECTS - 1), "In(Number,-1,EFFECTS-1) [bug0000913]");
    Effect.PointNumber = PointNumber;
    Effect.Next = Point.EffectNumber;
    Effect.Previous = -1;
    if (Point.EffectNumber != -1) Effects[Point.EffectNumber].Previous = Number;
    Point.EffectNumber = Number;
}

// Takes the record out of its point's list; its own links and Status stay as they are.
void UnlinkEffect(int32_t Number) {
    TEffect& Effect = Effects[Number];
    CHECK_TEXT(In(Effect.Next, -1, EFFECTS - 1), "In(Effect.Next,-1,EFFECTS-1) [bug0000913]");
    CHECK_TEXT(In(Effect.Previous, -1, EFFECTS - 1), "In(Effect.Previous,-1,EFFECTS-1) [bug0000913]");
    TMapPoint& Point = GetMapPoint(Effect.PointNumber);
    if (Point.EffectNumber == Number) Point.EffectNumber = Effect.Next;
    if (Effect.Previous != -1) Effects[Effect.Previous].Next = Effect.Next;
    if (Effect.Next != -1) Effects[Effect.Next].Previous = Effect.Previous;
}

// 106/256 and 618/256 are the tangents of 22.5 and 67.5 degrees; a slope on a boundary falls toward north.
int32_t MissileDirection(int64_t dx, int64_t dy) {
    if (dx == 0) return dy <= 0 ? 0 : 4;
    int64_t a = dx > 0 ? dx : -dx, t = dy * 256;
    if (t > 618 * a) return 4;
    if (t > 106 * a) return dx > 0 ? 3 : 5;
    if (t > -106 * a) return dx > 0 ? 2 : 6;
    if (t > -618 * a) return dx > 0 ? 1 : 7;
    return 0;
}

const TEffect& EffectOfKind(int32_t EffectNumber, int32_t Status, const char* Condition) {
    CHECK(In(EffectNumber, 0, EFFECTS - 1));
    if (Effects[EffectNumber].Status != Status)
        ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, Condition, "Effects[EffectNumber].Status",
                          Effects[EffectNumber].Status);
    return Effects[EffectNumber];
}

const TEffect& Graphic(int32_t EffectNumber) {
    return EffectOfKind(EffectNumber, EFFECT_GRAPHIC, "Effects[EffectNumber].Status==1");
}
const TEffect& Text(int32_t EffectNumber) {
    return EffectOfKind(EffectNumber, EFFECT_TEXT, "Effects[EffectNumber].Status==2");
}
const TEffect& Missile(int32_t EffectNumber) {
    return EffectOfKind(EffectNumber, EFFECT_MISSILE, "Effects[EffectNumber].Status==3");
}

void MoveMissile(int32_t Number, int32_t Now) {
    TEffect& Effect = Effects[Number];
    int64_t Remaining = TimeUntil(Effect.ArrivalTime, Now);
    ApproachZero(Effect.OffsetX, Effect.Duration, Remaining, Effect.DistanceX);
    ApproachZero(Effect.OffsetY, Effect.Duration, Remaining, Effect.DistanceY);
    if (Effect.OffsetX == 0 && Effect.OffsetY == 0 && Remaining < 0) {
        DeleteEffect(Number);
        return;
    }
    // The pixel position divided by 32, a fraction counting as the next field.
    int32_t x = (Effect.TargetX * 32 + Effect.OffsetX + 31) / 32;
    int32_t y = (Effect.TargetY * 32 + Effect.OffsetY + 31) / 32;
    if (x == Effect.FieldX && y == Effect.FieldY) return;
    UnlinkEffect(Number);
    Effect.FieldX = x;
    Effect.FieldY = y;
    int32_t z = Effect.TargetZ;
    WorldToLocal(x, y, z);
    LinkEffect(Number, BoxPointIndex(x, y, z));
}

} // namespace

TEffect& GetEffect(int32_t Number) {
    CHECK(In(Number, 0, EFFECTS - 1), Number);
    return Effects[Number];
}

void ClearEffects() {
    for (TEffect& Effect : Effects)
        Effect.Status = EFFECT_FREE;
}

int32_t AddEffect(int32_t Status, int32_t rx, int32_t ry, int32_t rz) try {
    int32_t Number = 0;
    while (Number < EFFECTS && Effects[Number].Status != EFFECT_FREE)
        Number++;
    if (Number == EFFECTS) return -1;
    Effects[Number].Status = Status;
    LinkEffect(Number, BoxPointIndex(rx, ry, rz));
    return Number;
}
CATCH_FRAME()

void AddGraphicEffect(int32_t rx, int32_t ry, int32_t rz, int32_t Type) try {
    int32_t Number = AddEffect(EFFECT_GRAPHIC, rx, ry, rz);
    if (Number == -1) return;
    Effects[Number].Type = Type;
    Effects[Number].Phase = 1;
}
CATCH_FRAME()

void AddTextEffect(int32_t rx, int32_t ry, int32_t rz, int32_t Color, const char* Text) try {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    CHECK(strlen(Text) < 10);
    int32_t Number = AddEffect(EFFECT_TEXT, rx, ry, rz);
    if (Number == -1) return;
    Effects[Number].Color = Color;
    memcpy(Effects[Number].Text, Text, strlen(Text) + 1);
    Effects[Number].Phase = 0;
}
CATCH_FRAME()

void AddMissileEffect(int32_t FromX, int32_t FromY, int32_t FromZ, int32_t ToX, int32_t ToY, int32_t ToZ,
                      int32_t Type) try {
    CHECK(Type > 0);
    if (FromZ != GetViewLayer() || ToZ != GetViewLayer()) return;
    int32_t Number = AddEffect(EFFECT_MISSILE, FromX, FromY, FromZ);
    if (Number == -1) return;
    TEffect& Effect = Effects[Number];
    int64_t dx = int64_t{ToX} - FromX, dy = int64_t{ToY} - FromY;
    Effect.Type = Type;
    Effect.Direction = MissileDirection(dx, dy);
    Effect.Duration =
        static_cast<int32_t>(std::sqrt(std::sqrt(static_cast<double>(dx * dx + dy * dy)))) * 150;
    Effect.OffsetX = static_cast<int32_t>(-dx * 32);
    Effect.OffsetY = static_cast<int32_t>(-dy * 32);
    Effect.DistanceX = static_cast<int32_t>((dx < 0 ? -dx : dx) * 32);
    Effect.DistanceY = static_cast<int32_t>((dy < 0 ? -dy : dy) * 32);
    Effect.ArrivalTime = TimeAfter(GetMilliseconds(), Effect.Duration);
    LocalToWorld(ToX, ToY, ToZ);
    LocalToWorld(FromX, FromY, FromZ);
    Effect.TargetX = ToX;
    Effect.TargetY = ToY;
    Effect.TargetZ = ToZ;
    Effect.FieldX = FromX;
    Effect.FieldY = FromY;
}
CATCH_FRAME()

void DeleteEffect(int32_t Number) try {
    CHECK(In(Number, 0, EFFECTS - 1));
    TEffect& Effect = Effects[Number];
    CHECK(Effect.Status != 0);
    Effect.Status = EFFECT_FREE;
    UnlinkEffect(Number);
}
CATCH_FRAME()

void AdvanceEffects() try {
    for (int32_t Number = 0; Number < EFFECTS; Number++) {
        TEffect& Effect = Effects[Number];
        if (Effect.Status == EFFECT_GRAPHIC) {
            Effect.Phase++;
            CHECK_TEXT(Effect.Type > 0, "Effect.Type > 0");
            if (Effect.Phase > GetEffectPhases(Effect.Type)) DeleteEffect(Number);
        } else if (Effect.Status == EFFECT_TEXT) {
            Effect.Phase++;
            if (Effect.Phase > 10) DeleteEffect(Number);
        }
    }
}
CATCH_FRAME()

void MoveMissiles() try {
    int32_t Now = GetMilliseconds();
    for (int32_t Number = 0; Number < EFFECTS; Number++)
        if (Effects[Number].Status == EFFECT_MISSILE) MoveMissile(Number, Now);
}
CATCH_FRAME()

int32_t GetFirstEffect(int32_t rx, int32_t ry, int32_t rz) try {
    EffectIteratorField = GetPointIndex(rx, ry, rz);
    EffectIteratorCount = 0;
    return GetMapPoint(EffectIteratorField).EffectNumber;
}
CATCH_FRAME()

// Walks from the head again on each call, so it stays right while nothing is added or removed meanwhile.
int32_t GetNextEffect() try {
    EffectIteratorCount++;
    int32_t Number = GetMapPoint(EffectIteratorField).EffectNumber;
    for (int32_t Step = 0; Step < EffectIteratorCount && Number != -1; Step++) {
        CHECK_TEXT(In(Number, -1, EFFECTS - 1), "In(Number,-1,EFFECTS-1) [bug0000913]");
        Number = Effects[Number].Next;
    }
    return Number;
}
CATCH_FRAME()

int32_t GetEffectStatus(int32_t EffectNumber) {
    CHECK(In(EffectNumber, 0, EFFECTS - 1));
    return Effects[EffectNumber].Status;
}

int32_t GetGraphicEffectType(int32_t EffectNumber) { return Graphic(EffectNumber).Type; }
int32_t GetGraphicEffectPhase(int32_t EffectNumber) { return Graphic(EffectNumber).Phase; }
int32_t GetTextEffectColor(int32_t EffectNumber) { return Text(EffectNumber).Color; }
const char* GetTextEffectText(int32_t EffectNumber) { return Text(EffectNumber).Text; }
int32_t GetTextEffectPhase(int32_t EffectNumber) { return Text(EffectNumber).Phase; }
int32_t GetMissileEffectType(int32_t EffectNumber) { return Missile(EffectNumber).Type; }
int32_t GetMissileEffectDirection(int32_t EffectNumber) { return Missile(EffectNumber).Direction; }

int32_t GetMissileEffectX(int32_t EffectNumber) {
    const TEffect& Effect = Missile(EffectNumber);
    return (Effect.TargetX - Effect.FieldX) * 32 + Effect.OffsetX;
}

int32_t GetMissileEffectY(int32_t EffectNumber) {
    const TEffect& Effect = Missile(EffectNumber);
    return (Effect.TargetY - Effect.FieldY) * 32 + Effect.OffsetY;
}
