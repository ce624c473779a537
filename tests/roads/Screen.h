// What a road test sees of a client: rectangles of its client area, images read back from the X server and
// patterns (a text, a skin piece, the pointer) found in them pixel for pixel.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Positions and rectangles are in pixels of one client's client area unless said otherwise.
struct TPoint {
    int32_t x = 0, y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    int32_t x = 0, y = 0, Width = 0, Height = 0;
    bool operator==(const TRect&) const = default;
    TPoint centre() const { return {x + Width / 2, y + Height / 2}; }
    bool contains(TPoint p) const { return p.x >= x && p.y >= y && p.x < x + Width && p.y < y + Height; }
};

// Pixels red << 16 | green << 8 | blue, rows top to bottom, of the rectangle Area.
struct TImage {
    TRect Area;
    std::vector<uint32_t> Pixels;

    bool empty() const { return Pixels.empty(); }
    uint32_t at(TPoint p) const {
        return Pixels[static_cast<size_t>(p.y - Area.y) * Area.Width + (p.x - Area.x)];
    }
    // Writes the image as PNG; false when the file cannot be written.
    bool save(const std::string& FileName) const;
};

// A drawing as the pixels it sets whatever lies beneath, relative to the top-left corner of their bounding
// box; the pixels it blends or leaves are not part of it.
struct TPattern {
    struct TPixel {
        int16_t x, y;
        uint32_t Colour;
    };
    std::string Name; // for messages
    int32_t Width = 0, Height = 0;
    TPoint Origin; // where the drawing was made, relative to the box's corner
    std::vector<TPixel> Pixels;

    // True when every pixel of the pattern placed with its corner at Corner has its colour in Image, leaving
    // out those outside Image and those in Ignored (what the client draws over everything, such as its
    // pointer), and at least one pixel was compared.
    bool matchesAt(const TImage& Image, TPoint Corner, const TRect& Ignored = {}) const;
    // The first place (rows top to bottom, each left to right) where the whole pattern lies in Image and
    // matches, as the bounding box; nothing when there is none.
    std::optional<TRect> findIn(const TImage& Image, const TRect& Ignored = {}) const;
};
