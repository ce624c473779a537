// Drawing surface of the generator: RGB pixels with transparency, primitives, shading and seeded noise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TColor {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const TColor&) const = default;
};

// The colour key of every sprite and picture. No drawn pixel takes it, nor a colour that a 16-bit
// display (5-6-5 or 5-5-5) would turn into the same pixel value.
inline constexpr TColor COLOR_KEY{255, 0, 255};

// True when the colour reduces to the key's pixel value at 16 bits.
bool MatchesKeyAt16Bits(TColor c);

// Moves a colour off the key's 16-bit pixel value; every other colour passes unchanged.
TColor AvoidKey(TColor c);

TColor Rgb(int r, int g, int b);          // clamps each channel to 0..255
TColor Mix(TColor a, TColor b, double t); // t 0 gives a, 1 gives b
TColor Shade(TColor c, double Factor);    // scales the channels; above 1 brightens
TColor Grey(int Level);

// Deterministic pseudo-random numbers (no library distribution, so every platform draws the same).
class TRandom {
public:
    explicit TRandom(uint64_t Seed) : State(Seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint32_t next();
    int range(int Low, int High); // inclusive
    double unit();                // 0 <= x < 1
    bool chance(double p) { return unit() < p; }

private:
    uint64_t State;
};

// Lattice value noise in 0..1, periodic with Period pixels in both directions (Period a multiple of Cell).
double ValueNoise(double x, double y, int Cell, int Period, uint32_t Seed);
// Sum of octaves of ValueNoise from Cell down to 2 pixels, normalised to 0..1.
double FractalNoise(double x, double y, int Cell, int Period, uint32_t Seed);
// Hash of integer coordinates and a seed to 0..1.
double HashUnit(int x, int y, uint32_t Seed);

class TCanvas {
public:
    TCanvas() = default;
    TCanvas(int Width, int Height); // all transparent

    int width() const { return Width; }
    int height() const { return Height; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    bool opaque(int x, int y) const { return inside(x, y) && Opaque[Index(x, y)]; }
    TColor get(int x, int y) const { return inside(x, y) ? Pixels[Index(x, y)] : TColor{}; }

    // Outside pixels are ignored; every colour passes AvoidKey.
    void set(int x, int y, TColor c);
    void clear(int x, int y);
    // Mixes c into the pixel with weight Alpha 0..1; a transparent pixel takes c when Alpha >= 0.5.
    void blend(int x, int y, TColor c, double Alpha);
    // Mixes c into opaque pixels only.
    void tint(int x, int y, TColor c, double Alpha);

    void fill(TColor c);
    void fillRect(int x, int y, int w, int h, TColor c);
    void frameRect(int x, int y, int w, int h, TColor c);
    // Raised (Sunken false) or sunken bevel of Thickness pixels inside the rectangle.
    void bevel(int x, int y, int w, int h, TColor Light, TColor Dark, int Thickness = 1);
    void line(int x0, int y0, int x1, int y1, TColor c);
    void thickLine(double x0, double y0, double x1, double y1, double Width, TColor c);
    void fillEllipse(double cx, double cy, double rx, double ry, TColor c);
    // Ellipse lit from the upper left: Base in the middle, lighter and darker towards the edges.
    void shadedEllipse(double cx, double cy, double rx, double ry, TColor Base);
    void fillPolygon(const std::vector<std::pair<double, double>>& Points, TColor c);
    void verticalGradient(int x, int y, int w, int h, TColor Top, TColor Bottom);
    // A dark outline around the opaque pixels, in the transparent pixels next to them.
    void outline(TColor c);
    // Copies the opaque pixels of Source with its top left at (x, y).
    void paste(const TCanvas& Source, int x, int y);
    TCanvas crop(int x, int y, int w, int h) const;
    TCanvas mirrored() const; // left to right

    bool empty() const;
    int opaqueCount() const; // of all pixels

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * Width + x; }

    int Width = 0, Height = 0;
    std::vector<TColor> Pixels;
    std::vector<uint8_t> Opaque;
};
