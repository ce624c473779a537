// The light picture of the engines that multiply on the graphics device.
#include "graphics/LightMap.h"

#include <algorithm>

namespace {

constexpr uint32_t WHITE = 0xFFFFFF;
constexpr int32_t LARGEST_QUAD = 65535; // the rasterizer leaves larger quads out

// A quad of white corners keeps every pixel: it needs no light picture.
bool IsWhite(const int32_t* Colors) {
    return std::all_of(Colors, Colors + 12, [](int32_t c) { return c >= 255; });
}

} // namespace

void TLightMap::shade(int32_t Width, int32_t Height, int32_t Count, const int32_t* Rectangles,
                      const int32_t* Colors, const TMultiply& Multiply) {
    if (Count <= 0 || Rectangles == nullptr || Colors == nullptr || Width <= 0 || Height <= 0) return;
    Target = {0, 0, Width, Height};
    Left.clear();
    Top.clear();
    Right.clear();
    Bottom.clear();
    int32_t First = 0;
    for (int32_t i = 0; i < Count; i++) {
        const int32_t* R = Rectangles + 4 * i;
        if (R[2] <= 0 || R[3] <= 0 || R[2] > LARGEST_QUAD || R[3] > LARGEST_QUAD || IsWhite(Colors + 12 * i))
            continue;
        const int32_t l = std::max(R[0], 0), t = std::max(R[1], 0);
        const int32_t r = static_cast<int32_t>(std::min<int64_t>(int64_t{R[0]} + R[2], Width));
        const int32_t b = static_cast<int32_t>(std::min<int64_t>(int64_t{R[1]} + R[3], Height));
        if (l >= r || t >= b) continue;
        bool Overlaps = false;
        for (size_t j = 0; j < Left.size(); j++)
            Overlaps |= l < Right[j] && Left[j] < r && t < Bottom[j] && Top[j] < b;
        if (Overlaps) {
            flush(First, i, Rectangles, Colors, Multiply);
            First = i;
        }
        Left.push_back(l);
        Top.push_back(t);
        Right.push_back(r);
        Bottom.push_back(b);
    }
    flush(First, Count, Rectangles, Colors, Multiply);
}

// The quads First .. Last - 1, whose parts inside the target are the gathered ones.
void TLightMap::flush(int32_t First, int32_t Last, const int32_t* Rectangles, const int32_t* Colors,
                      const TMultiply& Multiply) {
    if (Left.empty()) return;
    const TPixelRect Area{
        *std::min_element(Left.begin(), Left.end()), *std::min_element(Top.begin(), Top.end()),
        *std::max_element(Right.begin(), Right.end()), *std::max_element(Bottom.begin(), Bottom.end())};
    Left.clear();
    Top.clear();
    Right.clear();
    Bottom.clear();
    if (Light == nullptr || Light->getWidth() < Target.Right || Light->getHeight() < Target.Bottom)
        Light = std::make_unique<TPixelSurface>(std::max(Target.Right, Light ? Light->getWidth() : 0),
                                                std::max(Target.Bottom, Light ? Light->getHeight() : 0),
                                                PIXEL_FORMAT_8888, MEMORY_SYSTEM);
    Light->fill(Area, WHITE);
    Light->multiplyShadedQuads(Last - First, Rectangles + 4 * First, Colors + 12 * First);
    Multiply(*Light, Area);
}
