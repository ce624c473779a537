// A drawing bench for the toolkit: the software engine with data files whose skin picture paints every
// pixel with its own coordinates, so a screen pixel tells which skin pixel was drawn there.
#pragma once

#include "tests/graphics/GraphicsTest.h"

#include <cstdint>
#include <memory>

// A point of the skin picture, or {-1, -1} for the background colour.
struct TSource {
    int32_t x, y;
    bool operator==(const TSource&) const = default;
};

class TSkinScreen {
public:
    TSkinScreen();
    ~TSkinScreen();

    // Paints SCREEN_SURFACE with the background colour.
    void clear();
    TSource source(int32_t x, int32_t y);
    // The screen pixel as red << 16 | green << 8 | blue.
    uint32_t pixel(int32_t x, int32_t y);
    // Where skin Skin's pixel (dx, dy) lies in the skin picture.
    static TSource skinPixel(int32_t Skin, int32_t dx, int32_t dy);

private:
    std::unique_ptr<TTestEngine> Engine;
};
