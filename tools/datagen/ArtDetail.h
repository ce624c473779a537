// Shared pieces of the procedural art files: the per-family painters and small colour helpers.
#pragma once

#include "tools/datagen/Art.h"

inline constexpr double PI = 3.14159265358979323846;
inline constexpr TColor INK{18, 14, 12}; // outline of things

// The colour c moved by d on every channel.
inline TColor Vary(TColor c, double d) {
    int i = static_cast<int>(d);
    return Rgb(c.r + i, c.g + i, c.b + i);
}

// Grounds, ground decorations, walls and floor changes: one 32 x 32 cell.
TCanvas DrawGroundArt(TArt Art, int Variant, int Phase, uint32_t Seed);
bool IsGroundArt(TArt Art);

// Everything else of the world; Width x Height cells.
TCanvas DrawThingArt(TArt Art, int Width, int Height, int Variant, int Phase, uint32_t Seed);

// The colour of liquid Value (0 empty), and whether it is transparent glass-like.
TColor LiquidColor(int Value);
