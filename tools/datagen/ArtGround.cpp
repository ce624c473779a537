// Procedural grounds, ground decorations, walls and floor changes.
#include "tools/datagen/ArtDetail.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int PERIOD = 64; // a 2 x 2 block of ground tiles repeats seamlessly

// Pixel (x, y) of tile Variant in the 64 x 64 block.
struct TGroundPoint {
    int gx, gy;
};
TGroundPoint At(int x, int y, int Variant) { return {x + 32 * (Variant % 2), y + 32 * (Variant / 2 % 2)}; }

// Distances to the nearest and second nearest of jittered points, one per Cell square, periodic.
struct TCellular {
    double Near, Second;
    int Id;
};

TCellular Cellular(int gx, int gy, int Cell, uint32_t Seed) {
    int n = PERIOD / Cell;
    TCellular Out{1e9, 1e9, 0};
    int cx = gx / Cell, cy = gy / Cell;
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
            int ix = cx + dx, iy = cy + dy, wx = (ix % n + n) % n, wy = (iy % n + n) % n;
            double px = (ix + 0.2 + 0.6 * HashUnit(wx, wy, Seed)) * Cell,
                   py = (iy + 0.2 + 0.6 * HashUnit(wx, wy, Seed + 1)) * Cell;
            double d = std::hypot(gx + 0.5 - px, gy + 0.5 - py);
            if (d < Out.Near) {
                Out.Second = Out.Near;
                Out.Near = d;
                Out.Id = wy * n + wx;
            } else if (d < Out.Second) {
                Out.Second = d;
            }
        }
    return Out;
}

TColor Grass(int gx, int gy, uint32_t Seed) {
    double n = FractalNoise(gx, gy, 16, PERIOD, Seed);
    TColor c = Mix(TColor{38, 92, 30}, TColor{92, 150, 52}, n);
    double h = HashUnit(gx, gy, Seed + 5);
    if (h > 0.9) c = Shade(c, 1.22);
    if (h < 0.08) c = Shade(c, 0.78);
    return c;
}

TColor Ground(TArt Art, int gx, int gy, int Phase, uint32_t Seed) {
    double n = FractalNoise(gx, gy, 16, PERIOD, Seed);
    double h = HashUnit(gx, gy, Seed + 9);
    switch (Art) {
    case TArt::GRASS:
        return Grass(gx, gy, Seed);
    case TArt::DIRT: {
        TColor c = Mix(TColor{88, 62, 40}, TColor{140, 104, 66}, n);
        return h > 0.975 ? TColor{150, 144, 132} : Vary(c, (h - 0.5) * 10);
    }
    case TArt::SAND: {
        double Ripple = std::sin((gx * 0.35 + gy * 0.9) * 2 * PI / 8 + n * 6) * 0.5 + 0.5;
        return Vary(Mix(TColor{192, 164, 108}, TColor{230, 206, 148}, n * 0.7 + Ripple * 0.3),
                    (h - 0.5) * 12);
    }
    case TArt::SNOW:
        return h > 0.992 ? TColor{255, 255, 255} : Mix(TColor{196, 208, 228}, TColor{246, 249, 255}, n);
    case TArt::CAVE_FLOOR: {
        bool Crack = std::abs(ValueNoise(gx, gy, 16, PERIOD, Seed + 3) - 0.5) < 0.025;
        return Crack ? TColor{34, 30, 26}
                     : Vary(Mix(TColor{58, 52, 46}, TColor{96, 86, 74}, n), (h - 0.5) * 14);
    }
    case TArt::SWAMP: {
        double Pool = FractalNoise(gx, gy, 32, PERIOD, Seed + 4);
        if (Pool > 0.6)
            return Mix(TColor{36, 52, 44}, TColor{70, 96, 80}, std::abs(std::sin(gx * 0.4 + gy * 0.2)) * 0.4);
        return Vary(Mix(TColor{50, 60, 28}, TColor{88, 96, 44}, n), (h - 0.5) * 14);
    }
    case TArt::WATER: {
        double Shift = Phase * 8.0;
        double m = FractalNoise(gx + Shift, gy + Shift / 2, 16, PERIOD, Seed);
        TColor c = Mix(TColor{24, 62, 132}, TColor{58, 112, 186}, m);
        double Wave = std::sin((gx + gy * 0.5) * 2 * PI / 16 + Phase * PI / 2 + m * 5);
        return Wave > 0.86 ? Mix(c, TColor{170, 210, 245}, 0.6) : c;
    }
    case TArt::LAVA: {
        TCellular Cell = Cellular(gx, gy, 16, Seed);
        double Edge = Cell.Second - Cell.Near;
        double Pulse = 0.75 + 0.25 * std::sin(Phase * 2 * PI / 3 + Cell.Id);
        if (Edge < 3.0) return Mix(TColor{255, 230, 90}, TColor{230, 90, 20}, Edge / 3.0 * Pulse);
        return Vary(Mix(TColor{70, 24, 14}, TColor{120, 40, 18}, n), (h - 0.5) * 16);
    }
    case TArt::COBBLES: {
        TCellular Cell = Cellular(gx, gy, 8, Seed);
        if (Cell.Second - Cell.Near < 1.3) return TColor{46, 42, 38};
        TColor Stone = Mix(TColor{104, 98, 90}, TColor{150, 142, 128}, HashUnit(Cell.Id, 0, Seed + 2));
        return Shade(Stone, 1.15 - Cell.Near / 9.0);
    }
    default:
        return Vary(TColor{120, 110, 100}, (n - 0.5) * 30);
    }
}

// Stone slabs of Size pixels with dark joints and lit top left edges.
TColor Slabs(int gx, int gy, int Size, TColor Dark, TColor Light, uint32_t Seed) {
    int Row = gy / Size, Offset = Row % 2 ? Size / 2 : 0;
    int sx = (gx + Offset) / Size, lx = (gx + Offset) % Size, ly = gy % Size;
    if (lx == Size - 1 || ly == Size - 1) return Shade(Dark, 0.55);
    TColor c = Mix(Dark, Light, 0.3 + 0.5 * HashUnit(sx % (PERIOD / Size + 1), Row, Seed));
    c = Vary(c, (FractalNoise(gx, gy, 8, PERIOD, Seed) - 0.5) * 24);
    if (lx == 0 || ly == 0) c = Shade(c, 1.12);
    return c;
}

TColor WoodPlanks(int gx, int gy, uint32_t Seed) {
    int Plank = gy / 8, Seam = (Plank * 23 + 7) % PERIOD;
    if (gy % 8 == 7 || gx == Seam) return TColor{56, 34, 20};
    double Grain =
        std::sin(gx * 0.45 + HashUnit(Plank, 0, Seed) * 10 + FractalNoise(gx, gy, 8, PERIOD, Seed) * 5);
    TColor c = Mix(TColor{118, 76, 42}, TColor{156, 106, 62}, HashUnit(Plank, gx > Seam, Seed + 1));
    c = Vary(c, Grain * 8);
    return gy % 8 == 0 ? Shade(c, 1.12) : c;
}

TColor Marble(int gx, int gy, int Variant, uint32_t Seed) {
    int x = gx % 32, y = gy % 32;
    if (x == 31 || y == 31) return TColor{120, 116, 110};
    bool Light = (Variant + (Variant / 2)) % 2 == 0;
    TColor c = Light ? TColor{226, 222, 214} : TColor{176, 172, 166};
    double Vein = std::abs(std::sin((gx + gy) * 0.12 + FractalNoise(gx, gy, 16, PERIOD, Seed) * 9));
    return Vein < 0.06 ? Shade(c, 0.75) : Vary(c, (HashUnit(gx, gy, Seed) - 0.5) * 6);
}

TColor Roof(int x, int y) {
    int Row = y / 8, Offset = Row % 2 ? 4 : 0;
    int lx = (x + Offset) % 8, ly = y % 8;
    double Arc = std::abs(lx - 3.5) / 4.0;
    bool Edge = ly >= 6 + static_cast<int>(Arc * 2) || lx == 7;
    TColor c = Mix(TColor{168, 70, 44}, TColor{120, 44, 30}, ly / 8.0);
    return Edge ? TColor{70, 24, 18} : Shade(c, 1.1 - Arc * 0.2);
}

TCanvas GroundTile(TArt Art, int Variant, int Phase, uint32_t Seed) {
    TCanvas C(32, 32);
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            TGroundPoint p = At(x, y, Variant);
            TColor c;
            switch (Art) {
            case TArt::STONE_FLOOR:
                c = Slabs(p.gx, p.gy, 16, TColor{96, 92, 86}, TColor{150, 146, 138}, Seed);
                break;
            case TArt::WOOD_FLOOR:
                c = WoodPlanks(p.gx, p.gy, Seed);
                break;
            case TArt::MARBLE:
                c = Marble(p.gx, p.gy, Variant, Seed);
                break;
            case TArt::ROOF:
                c = Roof(x, y);
                break;
            case TArt::GRATE:
                c = Slabs(x, y, 16, TColor{88, 84, 80}, TColor{130, 126, 120}, Seed);
                break;
            default:
                c = Ground(Art, p.gx, p.gy, Phase, Seed);
                break;
            }
            C.set(x, y, c);
        }
    if (Art == TArt::GRATE) {
        C.fillRect(5, 5, 22, 22, TColor{8, 8, 10});
        for (int i = 5; i <= 26; i += 4) {
            C.fillRect(i, 5, 2, 22, TColor{70, 72, 78});
            C.fillRect(5, i, 22, 2, TColor{70, 72, 78});
            C.fillRect(i, 5, 1, 22, TColor{120, 122, 130});
        }
        C.frameRect(4, 4, 24, 24, TColor{40, 40, 44});
    }
    return C;
}

TCanvas Decoration(TArt Art, int Variant, uint32_t Seed) {
    TCanvas C(32, 32);
    TRandom Random(Seed * 31 + static_cast<uint32_t>(Variant));
    switch (Art) {
    case TArt::GRASS_EDGE:
        for (int x = 0; x < 32; x++) {
            int Depth = 6 + static_cast<int>(8 * FractalNoise(x, Variant * 7, 8, PERIOD, Seed));
            for (int y = 0; y < Depth; y++)
                C.set(x, y, Grass(x, y, Seed));
            if (HashUnit(x, Variant, Seed) > 0.6) C.set(x, Depth, Shade(Grass(x, Depth, Seed), 1.2));
        }
        break;
    case TArt::MOSS:
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) {
                TGroundPoint p = At(x, y, Variant);
                double n = FractalNoise(p.gx, p.gy, 16, PERIOD, Seed);
                if (n > 0.56 && (n > 0.62 || HashUnit(p.gx, p.gy, Seed) > 0.5))
                    C.set(x, y, Mix(TColor{50, 90, 36}, TColor{96, 136, 56}, n));
            }
        break;
    case TArt::FLOWERS: {
        const TColor Petals[4] = {{240, 240, 236}, {220, 60, 60}, {90, 120, 230}, {240, 200, 60}};
        for (int i = 0; i < 7; i++) {
            int x = Random.range(3, 28), y = Random.range(3, 28);
            TColor p = Petals[Random.range(0, 3)];
            C.set(x, y + 2, TColor{40, 110, 30});
            C.set(x - 1, y, p), C.set(x + 1, y, p), C.set(x, y - 1, p), C.set(x, y + 1, p);
            C.set(x, y, TColor{250, 220, 80});
        }
        break;
    }
    default: { // the spider web: threads from a corner, joined by rings
        const TColor Thread{214, 214, 220};
        for (int i = 0; i <= 6; i++) {
            double a = i * PI / 12;
            C.line(0, 0, static_cast<int>(31 * std::cos(a)), static_cast<int>(31 * std::sin(a)), Thread);
        }
        for (int r = 6; r < 32; r += 6)
            for (int i = 0; i < 6; i++) {
                double a = i * PI / 12, b = (i + 1) * PI / 12;
                C.line(static_cast<int>(r * std::cos(a)), static_cast<int>(r * std::sin(a)),
                       static_cast<int>(r * std::cos(b)), static_cast<int>(r * std::sin(b)), Thread);
            }
        break;
    }
    }
    return C;
}

// The faces of a wall piece: the lit top face and the bricked (or planked) front and side faces.
struct TWallStyle {
    TColor Top, Face, Joint;
    bool Wood;
};

TColor WallFace(const TWallStyle& S, int x, int y, bool Side, uint32_t Seed) {
    if (S.Wood) {
        int Plank = x / 6;
        if (x % 6 == 5) return S.Joint;
        TColor c = Vary(S.Face, (HashUnit(Plank, 0, Seed) - 0.5) * 24 + std::sin(y * 0.6 + Plank) * 4);
        return Side ? Shade(c, 0.72) : c;
    }
    int Row = y / 6, Offset = Row % 2 ? 6 : 0;
    if (y % 6 == 5 || (x + Offset) % 12 == 11) return S.Joint;
    TColor c =
        Vary(S.Face, (HashUnit((x + Offset) / 12, Row, Seed) - 0.5) * 26 + (HashUnit(x, y, Seed) - 0.5) * 8);
    return Side ? Shade(c, 0.72) : c;
}

void WallTop(TCanvas& C, const TWallStyle& S, int x, int y, int w, int h, uint32_t Seed) {
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            C.set(i, j, Vary(S.Top, (FractalNoise(i, j, 8, PERIOD, Seed) - 0.5) * 20));
    C.fillRect(x, y, w, 1, Shade(S.Top, 1.15));
}

void WallFront(TCanvas& C, const TWallStyle& S, int x, int y, int w, int h, uint32_t Seed) {
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            C.set(i, j, Shade(WallFace(S, i, j - y, false, Seed), 1.05 - 0.3 * (j - y) / double(h)));
    C.fillRect(x, y, w, 1, Shade(S.Joint, 0.8));
}

void WallSide(TCanvas& C, const TWallStyle& S, int x, int y, int w, int h, uint32_t Seed) {
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            C.set(i, j, WallFace(S, j, i, true, Seed));
}

TCanvas Wall(TArt Art, uint32_t Seed) {
    const TWallStyle Stone{{150, 144, 136}, {112, 104, 96}, {52, 46, 42}, false};
    const TWallStyle Wood{{150, 110, 70}, {120, 80, 46}, {60, 38, 22}, true};
    bool IsWood = Art == TArt::WOOD_WALL_H || Art == TArt::WOOD_WALL_V;
    const TWallStyle& S = IsWood ? Wood : Stone;
    TCanvas C(32, 32);
    switch (Art) {
    case TArt::STONE_WALL_V:
    case TArt::WOOD_WALL_V:
        WallTop(C, S, 0, 0, 10, 32, Seed);
        WallSide(C, S, 10, 0, 7, 32, Seed);
        break;
    case TArt::STONE_WALL_CORNER:
        WallTop(C, S, 0, 0, 32, 10, Seed);
        WallTop(C, S, 0, 10, 10, 22, Seed);
        WallFront(C, S, 10, 10, 22, 22, Seed);
        WallSide(C, S, 10, 10, 3, 22, Seed);
        break;
    case TArt::STONE_PILLAR_SMALL:
        WallTop(C, S, 0, 0, 10, 10, Seed);
        WallFront(C, S, 0, 10, 10, 22, Seed);
        WallSide(C, S, 10, 0, 5, 32, Seed);
        break;
    case TArt::ARCH_TOP:
        WallTop(C, S, 0, 0, 32, 10, Seed);
        for (int x = 0; x < 32; x++) {
            double u = (x - 15.5) / 15.5;
            int Bottom = 26 - static_cast<int>(14 * std::sqrt(std::max(0.0, 1 - u * u)));
            for (int y = 10; y < Bottom; y++)
                C.set(x, y, Shade(WallFace(S, x, y - 10, false, Seed), 0.95));
            C.set(x, Bottom - 1, Shade(S.Joint, 0.7));
        }
        break;
    default:
        WallTop(C, S, 0, 0, 32, 10, Seed);
        WallFront(C, S, 0, 10, 32, 22, Seed);
        break;
    }
    return C;
}

TCanvas Doorway(TArt Art, uint32_t Seed) {
    TCanvas C = Wall(TArt::STONE_WALL_H, Seed);
    const TColor Frame{70, 60, 52};
    if (Art == TArt::WALL_WINDOW) {
        C.fillRect(9, 13, 14, 12, Frame);
        C.verticalGradient(10, 14, 12, 10, TColor{60, 90, 130}, TColor{20, 34, 60});
        C.fillRect(15, 14, 2, 10, Frame);
        C.fillRect(10, 18, 12, 1, Frame);
        C.set(11, 15, TColor{170, 200, 230});
        C.set(12, 15, TColor{130, 160, 200});
        return C;
    }
    C.fillRect(7, 11, 18, 21, Frame);
    if (Art == TArt::DOOR_OPEN) {
        for (int y = 12; y < 32; y++)
            for (int x = 8; x < 24; x++)
                C.clear(x, y);
        C.fillRect(8, 12, 3, 20, TColor{96, 62, 34}); // the door leaf, turned against the frame
        C.fillRect(10, 12, 1, 20, TColor{60, 38, 20});
        return C;
    }
    for (int y = 12; y < 32; y++)
        for (int x = 8; x < 24; x++)
            C.set(x, y,
                  Vary(TColor{124, 82, 44}, (x % 4 == 3 ? -26 : 0) + (HashUnit(x / 4, y, Seed) - 0.5) * 10));
    C.fillRect(8, 15, 16, 2, TColor{60, 58, 60});
    C.fillRect(8, 26, 16, 2, TColor{60, 58, 60});
    C.shadedEllipse(20.5, 21.5, 1.6, 1.6, TColor{210, 180, 90});
    return C;
}

TCanvas FloorChange(TArt Art, uint32_t Seed) {
    TCanvas C(32, 32);
    if (Art == TArt::STAIRS) {
        for (int Step = 0; Step < 5; Step++) {
            int y = 2 + Step * 6;
            TColor Tread = Shade(TColor{140, 132, 122}, 1.0 - Step * 0.16);
            C.fillRect(2, y, 28, 6, Tread);
            C.fillRect(2, y, 28, 1, Shade(Tread, 1.2));
            C.fillRect(2, y + 5, 28, 1, Shade(Tread, 0.6));
            for (int x = 2; x < 30; x++)
                if (HashUnit(x, y, Seed) > 0.8) C.set(x, y + 2, Shade(Tread, 0.9));
        }
        C.fillRect(0, 0, 2, 32, TColor{60, 54, 48});
        C.fillRect(30, 0, 2, 32, TColor{60, 54, 48});
    } else if (Art == TArt::LADDER) {
        C.fillEllipse(16, 17, 14, 13, TColor{12, 10, 10});
        const TColor Wood{150, 104, 58};
        C.fillRect(8, 2, 3, 29, Wood);
        C.fillRect(21, 2, 3, 29, Wood);
        for (int y = 5; y < 30; y += 5)
            C.fillRect(11, y, 10, 2, Shade(Wood, 0.85));
        C.fillRect(8, 2, 1, 29, Shade(Wood, 1.25));
        C.fillRect(21, 2, 1, 29, Shade(Wood, 1.25));
    } else {
        C.fillRect(3, 3, 26, 26, TColor{50, 34, 22});
        for (int y = 4; y < 28; y++)
            for (int x = 4; x < 28; x++)
                C.set(x, y, WoodPlanks(y + 3, x, Seed));
        C.frameRect(3, 3, 26, 26, TColor{70, 70, 76});
        C.fillRect(4, 9, 24, 2, TColor{80, 80, 88});
        C.fillRect(4, 21, 24, 2, TColor{80, 80, 88});
        for (int i = 0; i < 16; i++)
            C.set(16 + static_cast<int>(3 * std::cos(i * PI / 8)),
                  16 + static_cast<int>(3 * std::sin(i * PI / 8)), TColor{190, 190, 200});
    }
    return C;
}

} // namespace

bool IsGroundArt(TArt Art) { return Art <= TArt::TRAPDOOR; }

TCanvas DrawGroundArt(TArt Art, int Variant, int Phase, uint32_t Seed) {
    switch (Art) {
    case TArt::GRASS_EDGE:
    case TArt::MOSS:
    case TArt::FLOWERS:
    case TArt::SPIDER_WEB:
        return Decoration(Art, Variant, Seed);
    case TArt::STONE_WALL_H:
    case TArt::STONE_WALL_V:
    case TArt::STONE_WALL_CORNER:
    case TArt::STONE_PILLAR_SMALL:
    case TArt::WOOD_WALL_H:
    case TArt::WOOD_WALL_V:
    case TArt::ARCH_TOP:
        return Wall(Art, Seed);
    case TArt::DOOR_CLOSED:
    case TArt::DOOR_OPEN:
    case TArt::WALL_WINDOW:
        return Doorway(Art, Seed);
    case TArt::STAIRS:
    case TArt::LADDER:
    case TArt::TRAPDOOR:
        return FloorChange(Art, Seed);
    default:
        return GroundTile(Art, Variant, Phase, Seed);
    }
}
