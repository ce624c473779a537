// Graphic effects, animated texts and missiles: one fixed table linked into per-point lists of the map box.
#pragma once

#include <cstdint>

inline constexpr int32_t EFFECTS = 200;

enum EFFECT_STATUS : int32_t {
    EFFECT_FREE = 0,
    EFFECT_GRAPHIC = 1,
    EFFECT_TEXT = 2,
    EFFECT_MISSILE = 3,
};

// One record; which fields mean something depends on Status.
struct TEffect {
    int32_t Status;
    int32_t Type;                      // graphic and missile: the effect or missile type (> 0)
    int32_t Color;                     // text: colour number
    int32_t Phase;                     // graphic: 1..the type's phases; text: rise counter 0..10
    char Text[10];                     // text: at most 9 characters and a terminator
    int32_t Direction;                 // missile: 0 north, clockwise to 7 north-west
    int32_t TargetX, TargetY, TargetZ; // missile: absolute target field
    int32_t FieldX, FieldY;            // missile: absolute field whose list holds it
    int32_t OffsetX, OffsetY;          // missile: pixels from the target field's origin
    int32_t ArrivalTime;               // missile: millisecond clock at the end of the flight
    int32_t DistanceX, DistanceY;      // missile: start offset magnitudes in pixels
    int32_t Duration;                  // missile: flight time in ms
    int32_t PointNumber;               // MapPoints index of the point whose list holds it
    int32_t Previous, Next;            // neighbours in that list, -1 none; the newest is the head
};

// The record for tests and the map view's own bookkeeping; Number is 0..EFFECTS-1.
TEffect& GetEffect(int32_t Number);
// Frees every record; part of ClearMap.
void ClearEffects();

// The lowest free record linked at the head of the point's list (a point outside the box counts as (0, 0,
// 0)); -1 when all are in use, and nothing changes.
int32_t AddEffect(int32_t Status, int32_t rx, int32_t ry, int32_t rz);
void AddGraphicEffect(int32_t rx, int32_t ry, int32_t rz, int32_t Type);
void AddTextEffect(int32_t rx, int32_t ry, int32_t rz, int32_t Color, const char* Text);
// Box coordinates of both ends; nothing unless both lie on the view layer.
void AddMissileEffect(int32_t FromX, int32_t FromY, int32_t FromZ, int32_t ToX, int32_t ToY, int32_t ToZ,
                      int32_t Type);
void DeleteEffect(int32_t Number);
// The 100 ms step of graphics and texts; the per-frame step of missiles on the millisecond clock.
void AdvanceEffects();
void MoveMissiles();

// Iteration over one point's list, newest first; one iteration for the program.
int32_t GetFirstEffect(int32_t rx, int32_t ry, int32_t rz);
int32_t GetNextEffect();

int32_t GetEffectStatus(int32_t EffectNumber);
int32_t GetGraphicEffectType(int32_t EffectNumber);
int32_t GetGraphicEffectPhase(int32_t EffectNumber);
int32_t GetTextEffectColor(int32_t EffectNumber);
const char* GetTextEffectText(int32_t EffectNumber);
int32_t GetTextEffectPhase(int32_t EffectNumber);
int32_t GetMissileEffectType(int32_t EffectNumber);
int32_t GetMissileEffectDirection(int32_t EffectNumber);
// Pixel position relative to the field whose list holds the missile.
int32_t GetMissileEffectX(int32_t EffectNumber);
int32_t GetMissileEffectY(int32_t EffectNumber);
