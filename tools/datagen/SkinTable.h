// The skin rectangles of the interface picture (picture 4): skin n is SKIN_RECTS[n], in pixels.
#pragma once

#include "graphics/SkinTable.h"

#include <array>

// The generator's view of the client's skin table.
struct TSkinRect {
    int x, y, w, h;
};

inline constexpr int SKIN_COUNT = LASTSKIN;
inline constexpr int SKIN_PICTURE_WIDTH = 352;
inline constexpr int SKIN_PICTURE_HEIGHT = 272;

constexpr std::array<TSkinRect, SKIN_COUNT> MakeSkinRects() {
    std::array<TSkinRect, SKIN_COUNT> Rects{};
    for (int i = 0; i < SKIN_COUNT; i++)
        Rects[i] = {SKIN_RECTANGLES[i].x, SKIN_RECTANGLES[i].y, SKIN_RECTANGLES[i].Width,
                    SKIN_RECTANGLES[i].Height};
    return Rects;
}

// Skins 0 and 152 have no rectangle; several skins share one area.
inline constexpr std::array<TSkinRect, SKIN_COUNT> SKIN_RECTS = MakeSkinRects();
