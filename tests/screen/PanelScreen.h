// A drawing bench for the side-bar panels: the software engine in a private working folder, a skin picture
// that paints every pixel with its own coordinates and fonts whose glyphs are solid blocks.
#pragma once

#include "tests/graphics/GraphicsTest.h"

#include <cstdint>
#include <memory>
#include <string>

// A point of the skin picture, or {-1, -1} for anything else (background, text, automap colours).
struct TSkinSource {
    int32_t x, y;
    bool operator==(const TSkinSource&) const = default;
};

class TPanelScreen {
public:
    TPanelScreen();
    ~TPanelScreen();

    // What the frame loop does first: the engine stops reporting its surfaces as new.
    void beginFrame();
    // Paints SCREEN_SURFACE with the background colour.
    void clear();
    // The pixel of a surface as red << 16 | green << 8 | blue.
    uint32_t pixel(int32_t x, int32_t y, int32_t Surface = 1);
    TSkinSource source(int32_t x, int32_t y);
    bool isBackground(int32_t x, int32_t y);
    // Where skin Skin's pixel (dx, dy) lies in the skin picture.
    static TSkinSource skinPixel(int32_t Skin, int32_t dx, int32_t dy);
    // A colour as pixel answers it.
    static uint32_t rgb(int32_t Red, int32_t Green, int32_t Blue) {
        return static_cast<uint32_t>(Red << 16 | Green << 8 | Blue);
    }

private:
    std::string Folder;
    std::string PreviousFolder;
    std::unique_ptr<TTestEngine> Engine;
};
