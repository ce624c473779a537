// Drawing surface of the generator: RGB pixels with transparency, primitives, shading and seeded noise.
#include "tools/datagen/Canvas.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <cmath>

bool MatchesKeyAt16Bits(TColor c) {
    // 5-6-5 keeps the top 6 bits of green, 5-5-5 the top 5: the key's green 0 covers 0..7 in both.
    return (c.r >> 3) == (COLOR_KEY.r >> 3) && (c.g >> 3) == (COLOR_KEY.g >> 3) &&
           (c.b >> 3) == (COLOR_KEY.b >> 3);
}

TColor AvoidKey(TColor c) {
    if (MatchesKeyAt16Bits(c)) c.g = static_cast<uint8_t>((COLOR_KEY.g & 0xF8) + 8);
    return c;
}

TColor Rgb(int r, int g, int b) {
    auto Clamp = [](int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); };
    return {Clamp(r), Clamp(g), Clamp(b)};
}

TColor Mix(TColor a, TColor b, double t) {
    auto Channel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return Rgb(Channel(a.r, b.r), Channel(a.g, b.g), Channel(a.b, b.b));
}

TColor Shade(TColor c, double Factor) {
    if (Factor <= 1.0)
        return Rgb(static_cast<int>(std::lround(c.r * Factor)), static_cast<int>(std::lround(c.g * Factor)),
                   static_cast<int>(std::lround(c.b * Factor)));
    return Mix(c, TColor{255, 255, 255}, std::min(1.0, Factor - 1.0));
}

TColor Grey(int Level) { return Rgb(Level, Level, Level); }

uint32_t TRandom::next() {
    // xorshift64*: small, fast and the same everywhere.
    State ^= State >> 12;
    State ^= State << 25;
    State ^= State >> 27;
    return static_cast<uint32_t>((State * 0x2545F4914F6CDD1Dull) >> 32);
}

int TRandom::range(int Low, int High) {
    CHECK(Low <= High, Low, High);
    return Low + static_cast<int>(next() % static_cast<uint32_t>(High - Low + 1));
}

double TRandom::unit() { return next() / 4294967296.0; }

double HashUnit(int x, int y, uint32_t Seed) {
    uint32_t h =
        Seed * 0x27D4EB2Du ^ static_cast<uint32_t>(x) * 0x165667B1u ^ static_cast<uint32_t>(y) * 0xD3A2646Cu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h / 4294967296.0;
}

double ValueNoise(double x, double y, int Cell, int Period, uint32_t Seed) {
    int Cells = std::max(1, Period / Cell);
    double fx = x / Cell, fy = y / Cell;
    int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    double tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto Corner = [&](int cx, int cy) {
        return HashUnit(((cx % Cells) + Cells) % Cells, ((cy % Cells) + Cells) % Cells, Seed);
    };
    double Top = Corner(ix, iy) + (Corner(ix + 1, iy) - Corner(ix, iy)) * tx;
    double Bottom = Corner(ix, iy + 1) + (Corner(ix + 1, iy + 1) - Corner(ix, iy + 1)) * tx;
    return Top + (Bottom - Top) * ty;
}

double FractalNoise(double x, double y, int Cell, int Period, uint32_t Seed) {
    double Sum = 0, Weight = 0, Amplitude = 1;
    for (int c = Cell; c >= 2; c /= 2, Amplitude *= 0.5) {
        Sum += Amplitude * ValueNoise(x, y, c, Period, Seed + static_cast<uint32_t>(c));
        Weight += Amplitude;
    }
    return Sum / Weight;
}

TCanvas::TCanvas(int Width, int Height) : Width(Width), Height(Height) {
    CHECK(Width >= 0 && Height >= 0, Width, Height);
    Pixels.assign(static_cast<size_t>(Width) * Height, TColor{});
    Opaque.assign(static_cast<size_t>(Width) * Height, 0);
}

void TCanvas::set(int x, int y, TColor c) {
    if (!inside(x, y)) return;
    Pixels[Index(x, y)] = AvoidKey(c);
    Opaque[Index(x, y)] = 1;
}

void TCanvas::clear(int x, int y) {
    if (inside(x, y)) Opaque[Index(x, y)] = 0;
}

void TCanvas::blend(int x, int y, TColor c, double Alpha) {
    if (!inside(x, y) || Alpha <= 0) return;
    if (opaque(x, y))
        set(x, y, Mix(get(x, y), c, std::min(1.0, Alpha)));
    else if (Alpha >= 0.5)
        set(x, y, c);
}

void TCanvas::tint(int x, int y, TColor c, double Alpha) {
    if (opaque(x, y)) set(x, y, Mix(get(x, y), c, std::clamp(Alpha, 0.0, 1.0)));
}

void TCanvas::fill(TColor c) { fillRect(0, 0, Width, Height, c); }

void TCanvas::fillRect(int x, int y, int w, int h, TColor c) {
    for (int j = std::max(0, y); j < std::min(Height, y + h); j++)
        for (int i = std::max(0, x); i < std::min(Width, x + w); i++)
            set(i, j, c);
}

void TCanvas::frameRect(int x, int y, int w, int h, TColor c) {
    fillRect(x, y, w, 1, c);
    fillRect(x, y + h - 1, w, 1, c);
    fillRect(x, y, 1, h, c);
    fillRect(x + w - 1, y, 1, h, c);
}

void TCanvas::bevel(int x, int y, int w, int h, TColor Light, TColor Dark, int Thickness) {
    for (int t = 0; t < Thickness; t++) {
        fillRect(x + t, y + t, w - 2 * t, 1, Light);
        fillRect(x + t, y + t, 1, h - 2 * t, Light);
        fillRect(x + t, y + h - 1 - t, w - 2 * t, 1, Dark);
        fillRect(x + w - 1 - t, y + t, 1, h - 2 * t, Dark);
    }
}

void TCanvas::line(int x0, int y0, int x1, int y1, TColor c) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, Error = dx + dy;
    for (;;) {
        set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * Error;
        if (e2 >= dy) Error += dy, x0 += sx;
        if (e2 <= dx) Error += dx, y0 += sy;
    }
}

void TCanvas::thickLine(double x0, double y0, double x1, double y1, double W, TColor c) {
    double dx = x1 - x0, dy = y1 - y0, Length = std::max(1e-9, std::hypot(dx, dy));
    int MinX = static_cast<int>(std::floor(std::min(x0, x1) - W)),
        MaxX = static_cast<int>(std::ceil(std::max(x0, x1) + W));
    int MinY = static_cast<int>(std::floor(std::min(y0, y1) - W)),
        MaxY = static_cast<int>(std::ceil(std::max(y0, y1) + W));
    for (int y = MinY; y <= MaxY; y++)
        for (int x = MinX; x <= MaxX; x++) {
            double px = x + 0.5 - x0, py = y + 0.5 - y0;
            double t = std::clamp((px * dx + py * dy) / (Length * Length), 0.0, 1.0);
            if (std::hypot(px - t * dx, py - t * dy) <= W / 2) set(x, y, c);
        }
}

void TCanvas::fillEllipse(double cx, double cy, double rx, double ry, TColor c) {
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry)); y++)
        for (int x = static_cast<int>(std::floor(cx - rx)); x <= static_cast<int>(std::ceil(cx + rx)); x++) {
            double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry;
            if (nx * nx + ny * ny <= 1.0) set(x, y, c);
        }
}

void TCanvas::shadedEllipse(double cx, double cy, double rx, double ry, TColor Base) {
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry)); y++)
        for (int x = static_cast<int>(std::floor(cx - rx)); x <= static_cast<int>(std::ceil(cx + rx)); x++) {
            double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry;
            double d = nx * nx + ny * ny;
            if (d > 1.0) continue;
            double Light = 1.0 - 0.45 * (nx + ny) - 0.35 * d;
            set(x, y, Shade(Base, std::clamp(Light, 0.45, 1.45)));
        }
}

void TCanvas::fillPolygon(const std::vector<std::pair<double, double>>& Points, TColor c) {
    if (Points.size() < 3) return;
    double MinY = Points[0].second, MaxY = MinY;
    for (auto& p : Points)
        MinY = std::min(MinY, p.second), MaxY = std::max(MaxY, p.second);
    for (int y = static_cast<int>(std::floor(MinY)); y <= static_cast<int>(std::ceil(MaxY)); y++) {
        double sy = y + 0.5;
        std::vector<double> Crossings;
        for (size_t i = 0; i < Points.size(); i++) {
            auto [ax, ay] = Points[i];
            auto [bx, by] = Points[(i + 1) % Points.size()];
            if ((ay <= sy && by > sy) || (by <= sy && ay > sy))
                Crossings.push_back(ax + (sy - ay) * (bx - ax) / (by - ay));
        }
        std::sort(Crossings.begin(), Crossings.end());
        for (size_t i = 0; i + 1 < Crossings.size(); i += 2)
            for (int x = static_cast<int>(std::ceil(Crossings[i] - 0.5));
                 x <= static_cast<int>(std::floor(Crossings[i + 1] - 0.5)); x++)
                set(x, y, c);
    }
}

void TCanvas::verticalGradient(int x, int y, int w, int h, TColor Top, TColor Bottom) {
    for (int j = 0; j < h; j++)
        fillRect(x, y + j, w, 1, Mix(Top, Bottom, h > 1 ? j / double(h - 1) : 0.0));
}

void TCanvas::outline(TColor c) {
    std::vector<uint8_t> Was = Opaque;
    auto WasOpaque = [&](int x, int y) { return inside(x, y) && Was[Index(x, y)]; };
    for (int y = 0; y < Height; y++)
        for (int x = 0; x < Width; x++)
            if (!Was[Index(x, y)] &&
                (WasOpaque(x - 1, y) || WasOpaque(x + 1, y) || WasOpaque(x, y - 1) || WasOpaque(x, y + 1)))
                set(x, y, c);
}

void TCanvas::paste(const TCanvas& Source, int x, int y) {
    for (int j = 0; j < Source.Height; j++)
        for (int i = 0; i < Source.Width; i++)
            if (Source.opaque(i, j)) set(x + i, y + j, Source.get(i, j));
}

TCanvas TCanvas::crop(int x, int y, int w, int h) const {
    TCanvas Out(w, h);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            if (opaque(x + i, y + j)) Out.set(i, j, get(x + i, y + j));
    return Out;
}

TCanvas TCanvas::mirrored() const {
    TCanvas Out(Width, Height);
    for (int j = 0; j < Height; j++)
        for (int i = 0; i < Width; i++)
            if (opaque(i, j)) Out.set(Width - 1 - i, j, get(i, j));
    return Out;
}

bool TCanvas::empty() const {
    return std::none_of(Opaque.begin(), Opaque.end(), [](uint8_t o) { return o != 0; });
}

int TCanvas::opaqueCount() const {
    int n = 0;
    for (uint8_t o : Opaque)
        n += o != 0;
    return n;
}
