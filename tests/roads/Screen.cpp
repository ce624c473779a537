// Images read back from the screen and patterns found in them.
#include "tests/roads/Screen.h"

#include "tools/datagen/Png.h"

#include <fstream>

bool TImage::save(const std::string& FileName) const {
    if (empty()) return false;
    TCanvas Canvas(Area.Width, Area.Height);
    for (int32_t y = 0; y < Area.Height; y++)
        for (int32_t x = 0; x < Area.Width; x++) {
            const uint32_t c = Pixels[static_cast<size_t>(y) * Area.Width + x];
            Canvas.set(x, y, TColor{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        }
    const std::vector<uint8_t> Bytes = EncodePng(Canvas, TColor{});
    std::ofstream Out(FileName, std::ios::binary);
    Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    return static_cast<bool>(Out);
}

bool TPattern::matchesAt(const TImage& Image, TPoint Corner, const TRect& Ignored) const {
    bool Compared = false;
    for (const TPixel& Pixel : Pixels) {
        const TPoint At{Corner.x + Pixel.x, Corner.y + Pixel.y};
        if (!Image.Area.contains(At) || Ignored.contains(At)) continue;
        if (Image.at(At) != Pixel.Colour) return false;
        Compared = true;
    }
    return Compared;
}

std::optional<TRect> TPattern::findIn(const TImage& Image, const TRect& Ignored) const {
    const TRect& A = Image.Area;
    for (int32_t y = A.y; y + Height <= A.y + A.Height; y++)
        for (int32_t x = A.x; x + Width <= A.x + A.Width; x++)
            if (matchesAt(Image, {x, y}, Ignored)) return TRect{x, y, Width, Height};
    return std::nullopt;
}
