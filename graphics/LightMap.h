// The light of the engines that multiply on the graphics device: the quads of DrawShadedQuads interpolated by
// the very rasterizer of the software engine into a light picture, which the engine multiplies its target
// with. So every engine lights every pixel alike.
#pragma once

#include "platform/PixelSurface.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TLightMap {
public:
    // Multiplies Area of the engine's target by the same area of Light (X-8-8-8, the X byte 0).
    using TMultiply = std::function<void(const TPixelSurface& Light, TPixelRect Area)>;

    // Lays Count quads (x, y, width, height; twelve colour values each, as DrawShadedQuads takes them) over a
    // target of Width x Height pixels. Quads that do not overlap one another go to Multiply together, in
    // their order; a quad that overlaps one before it starts the next batch, so that it multiplies what the
    // earlier one left, as on the software engine. Area is the batch's extent cut to the target, white where
    // no quad of the batch lies; a batch wholly outside the target is not handed on, nor are quads whose
    // corners are all white (they keep every pixel).
    void shade(int32_t Width, int32_t Height, int32_t Count, const int32_t* Rectangles, const int32_t* Colors,
               const TMultiply& Multiply);

private:
    void flush(int32_t First, int32_t Last, const int32_t* Rectangles, const int32_t* Colors,
               const TMultiply& Multiply);

    std::unique_ptr<TPixelSurface> Light; // grows to the largest target met
    TPixelRect Target{0, 0, 0, 0};
    // The quads of the batch being gathered, cut to the target; empty ones are left out.
    std::vector<int32_t> Left, Top, Right, Bottom;
};
