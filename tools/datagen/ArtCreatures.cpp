// Procedural creatures (outfits with colour masks), graphic effects and missiles.
#include "tools/datagen/ArtDetail.h"

#include <algorithm>
#include <cmath>

namespace {

const TColor MASK_HEAD{255, 255, 0}, MASK_BODY{255, 0, 0}, MASK_LEGS{0, 255, 0}, MASK_FEET{0, 0, 255};
const TColor SKIN{232, 182, 140}, STEEL{196, 200, 210}, BROWN{120, 80, 44};

// A figure drawn into its picture and its colour mask at once. Masked parts get light greys in the
// picture (lit from the upper left) and their pure mask colour in the mask.
class TFigure {
public:
    TFigure(int Size) : Pic(Size, Size), Mask(Size, Size), Part(Size, Size) {}

    // Starts a part: everything drawn until commit() belongs to it.
    TCanvas& begin() {
        Part = TCanvas(Pic.width(), Pic.height());
        return Part;
    }
    // Masked part: shaded greys, and the mask colour.
    void commitMasked(TColor MaskColor) {
        Box Bounds = bounds();
        for (int y = 0; y < Part.height(); y++)
            for (int x = 0; x < Part.width(); x++) {
                if (!Part.opaque(x, y)) continue;
                double u = Bounds.w > 1 ? (x - Bounds.x) / double(Bounds.w - 1) : 0.5;
                double v = Bounds.h > 1 ? (y - Bounds.y) / double(Bounds.h - 1) : 0.5;
                int Level = static_cast<int>(248 - 70 * u - 30 * v + (Part.get(x, y).r < 128 ? -40 : 0));
                Pic.set(x, y, Grey(std::clamp(Level, 150, 250)));
                Mask.set(x, y, MaskColor);
            }
    }
    // Unmasked part in its own colours; clears the mask under it.
    void commitPlain() {
        for (int y = 0; y < Part.height(); y++)
            for (int x = 0; x < Part.width(); x++)
                if (Part.opaque(x, y)) {
                    Pic.set(x, y, Part.get(x, y));
                    Mask.clear(x, y);
                }
    }
    void finish() { Pic.outline(INK); }

    TCanvas Pic, Mask;

private:
    struct Box {
        int x, y, w, h;
    };
    Box bounds() const {
        int x0 = Part.width(), y0 = Part.height(), x1 = -1, y1 = -1;
        for (int y = 0; y < Part.height(); y++)
            for (int x = 0; x < Part.width(); x++)
                if (Part.opaque(x, y))
                    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
    }
    TCanvas Part;
};

// Limb swing of a walking phase: 0 standing, then alternately forward and back.
int Swing(int Phase) { return Phase == 0 ? 0 : (Phase % 2 ? 1 : -1); }

void Legs(TFigure& F, int Direction, int Phase, bool Robe) {
    int s = Swing(Phase);
    TCanvas& L = F.begin();
    if (Direction % 2 == 0) { // facing north or south: the legs side by side, lifting in turn
        L.fillRect(12, 21, 3, 6 - std::max(0, s), TColor{200, 200, 200});
        L.fillRect(17, 21, 3, 6 - std::max(0, -s), TColor{200, 200, 200});
    } else { // in profile: the legs apart while walking
        L.thickLine(15.5, 21, 15.5 + 3 * s, 27, 3, TColor{200, 200, 200});
        L.thickLine(16.5, 21, 16.5 - 3 * s, 27, 3, TColor{120, 120, 120});
    }
    if (Robe) L = TCanvas(32, 32);
    F.commitMasked(MASK_LEGS);
    TCanvas& Feet = F.begin();
    if (Direction % 2 == 0) {
        Feet.fillRect(11, 27 - std::max(0, s), 4, 2, TColor{200, 200, 200});
        Feet.fillRect(17, 27 - std::max(0, -s), 4, 2, TColor{200, 200, 200});
    } else {
        int Toe = Direction == 1 ? 1 : -1;
        Feet.fillRect(14 + 3 * s + (Toe > 0 ? 0 : -1), 27, 4, 2, TColor{200, 200, 200});
        Feet.fillRect(15 - 3 * s + (Toe > 0 ? 0 : -1), 27, 4, 2, TColor{120, 120, 120});
    }
    F.commitMasked(MASK_FEET);
}

void Torso(TFigure& F, TOutfitArt Art, int Direction, int Phase) {
    int s = Swing(Phase);
    bool Front = Direction % 2 == 0;
    TCanvas& B = F.begin();
    if (Art == TOutfitArt::MAGE || Art == TOutfitArt::NOBLE || Art == TOutfitArt::GAMEMASTER) {
        double Hem = Art == TOutfitArt::NOBLE ? 9 : 7;
        B.fillPolygon({{12, 12}, {20, 12}, {16 + Hem, 28}, {16 - Hem, 28}}, TColor{210, 210, 210});
    } else {
        B.fillRect(Front ? 11 : 13, 12, Front ? 10 : 7, 10, TColor{210, 210, 210});
    }
    if (Front) {
        B.fillRect(9, 13, 2, 8 - s, TColor{160, 160, 160});
        B.fillRect(21, 13, 2, 8 + s, TColor{160, 160, 160});
    } else {
        B.thickLine(16, 14, 16 - 3 * s, 21, 2.4, TColor{160, 160, 160});
    }
    if (Art == TOutfitArt::KNIGHT) B.fillRect(Front ? 9 : 12, 12, Front ? 14 : 9, 3, TColor{230, 230, 230});
    F.commitMasked(MASK_BODY);
    TCanvas& Hands = F.begin();
    if (Front) {
        Hands.fillRect(9, 21 - s, 2, 2, SKIN);
        Hands.fillRect(21, 21 + s, 2, 2, SKIN);
    } else {
        Hands.fillRect(15 - 3 * s, 21, 2, 2, SKIN);
    }
    F.commitPlain();
}

void Head(TFigure& F, TOutfitArt Art, int Direction) {
    TCanvas& Face = F.begin();
    Face.fillEllipse(16, 8, 4.5, 4.6, SKIN);
    if (Direction == 2) {
        Face.set(14, 8, INK), Face.set(18, 8, INK);
        Face.set(16, 10, Shade(SKIN, 0.8));
    } else if (Direction % 2 == 1) {
        Face.set(Direction == 1 ? 18 : 13, 8, INK);
    }
    F.commitPlain();
    TCanvas& Hair = F.begin();
    const TColor Lit{220, 220, 220};
    switch (Art) {
    case TOutfitArt::KNIGHT:
        Hair.fillEllipse(16, 7.5, 5, 5.2, Lit);
        if (Direction != 0)
            Hair.fillRect(Direction == 1   ? 16
                          : Direction == 3 ? 12
                                           : 13,
                          7, Direction == 2 ? 7 : 5, 1, TColor{40, 40, 40});
        break;
    case TOutfitArt::MAGE:
        Hair.fillPolygon({{16 + (Direction == 1 ? 3 : Direction == 3 ? -3 : 0), -1}, {10, 6}, {22, 6}}, Lit);
        Hair.fillRect(9, 5, 14, 2, Lit);
        break;
    case TOutfitArt::HUNTER:
        Hair.fillEllipse(16, 7.5, 5.2, 5.5, Lit);
        if (Direction == 2) Hair.fillEllipse(16, 9, 3.2, 3.4, TColor{0, 0, 0});
        if (Direction % 2 == 1) Hair.fillEllipse(Direction == 1 ? 18.5 : 13.5, 9, 2.5, 3.4, TColor{0, 0, 0});
        break;
    default:
        Hair.fillEllipse(16, 6, 4.8, 3.2, Lit);
        if (Direction == 0) Hair.fillEllipse(16, 8, 4.8, 4.6, Lit);
        if (Direction % 2 == 1) Hair.fillRect(Direction == 1 ? 11 : 17, 5, 4, 6, Lit);
        if (Art == TOutfitArt::NOBLE)
            Hair.fillRect(Direction == 2 ? 11 : 12, 6, Direction == 2 ? 10 : 8, 8, Lit);
        break;
    }
    // Cut the holes (black) back out so the face shows through the hood.
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
            if (Hair.opaque(x, y) && Hair.get(x, y).r == 0 && Hair.get(x, y).g < 16) Hair.clear(x, y);
    F.commitMasked(MASK_HEAD);
}

void Gear(TFigure& F, TOutfitArt Art, int Direction) {
    TCanvas& G = F.begin();
    if (Art == TOutfitArt::KNIGHT) {
        if (Direction != 0) G.thickLine(Direction == 3 ? 8 : 23, 22, Direction == 3 ? 5 : 26, 10, 1.6, STEEL);
        if (Direction == 2 || Direction == 1)
            G.fillPolygon({{6, 14}, {11, 14}, {11, 21}, {8.5, 24}, {6, 21}}, TColor{150, 40, 40});
    } else if (Art == TOutfitArt::MAGE) {
        G.thickLine(24, 4, 24, 29, 1.5, BROWN);
        G.shadedEllipse(24, 4, 2.2, 2.2, TColor{110, 170, 255});
    } else if (Art == TOutfitArt::HUNTER && Direction != 2) {
        G.thickLine(Direction == 1 ? 11 : 21, 10, Direction == 1 ? 11 : 21, 24, 1.2, BROWN);
    }
    F.commitPlain();
}

TCanvas Humanoid(TOutfitArt Art, int Direction, int Phase, bool Mask) {
    TFigure F(32);
    bool Robe = Art == TOutfitArt::MAGE || Art == TOutfitArt::NOBLE || Art == TOutfitArt::GAMEMASTER;
    bool GearBehind = Direction == 0;
    if (GearBehind) Gear(F, Art, Direction);
    Legs(F, Direction, Phase, Robe);
    Torso(F, Art, Direction, Phase);
    Head(F, Art, Direction);
    if (!GearBehind) Gear(F, Art, Direction);
    F.finish();
    return Mask ? F.Mask : F.Pic;
}

void BeastHead(TCanvas& C, double hx, double hy, double r, TColor Fur, bool Face, double Look) {
    C.fillPolygon({{hx - r * 0.8, hy - r * 0.3}, {hx - r * 0.45, hy - r * 1.6}, {hx, hy - r * 0.5}},
                  Shade(Fur, 0.9));
    C.fillPolygon({{hx + r * 0.8, hy - r * 0.3}, {hx + r * 0.45, hy - r * 1.6}, {hx, hy - r * 0.5}},
                  Shade(Fur, 0.9));
    C.shadedEllipse(hx, hy, r, r * 0.9, Fur);
    if (!Face) return;
    if (Look == 0) {
        C.set(static_cast<int>(hx - r * 0.4), static_cast<int>(hy - 1), TColor{240, 40, 30});
        C.set(static_cast<int>(hx + r * 0.4), static_cast<int>(hy - 1), TColor{240, 40, 30});
        C.fillEllipse(hx, hy + r * 0.45, 1.2, 1, INK);
    } else {
        C.set(static_cast<int>(hx + Look * r * 0.4), static_cast<int>(hy - 1), TColor{240, 40, 30});
        C.fillEllipse(hx + Look * r * 0.95, hy + 0.5, 1.3, 1.1, INK);
    }
}

// Four-legged beasts: seen from the side when walking east or west, from behind or in front otherwise.
TCanvas Beast(TOutfitArt Art, int Direction, int Phase) {
    bool Wolf = Art == TOutfitArt::WOLF;
    TColor Fur = Wolf ? TColor{130, 126, 120} : TColor{110, 96, 84};
    double Length = Wolf ? 11 : 7, Girth = Wolf ? 5.5 : 4, Head = Wolf ? 4.5 : 3;
    int s = Swing(Phase), LegLength = Wolf ? 6 : 4;
    TCanvas C(32, 32);
    const double cx = 16, cy = 21;
    if (Direction % 2 == 1) {
        double d = Direction == 1 ? 1 : -1;
        C.thickLine(cx - d * Length, cy - 1, cx - d * (Length + 7), cy - 4, Wolf ? 3 : 1.2, Shade(Fur, 0.8));
        for (int i = -1; i <= 1; i += 2) {
            double lx = cx + i * Length * 0.55;
            C.thickLine(lx, cy + 1, lx + s * 2, cy + Girth * 0.5 + LegLength, 2, Shade(Fur, 0.6));
            C.thickLine(lx + 1, cy + 1, lx + 1 - s * 2, cy + Girth * 0.5 + LegLength, 2, Shade(Fur, 0.75));
        }
        C.shadedEllipse(cx, cy, Length, Girth, Fur);
        BeastHead(C, cx + d * Length, cy - Girth * 0.6, Head, Fur, true, d);
    } else {
        bool Front = Direction == 2;
        for (int i = -1; i <= 1; i += 2) {
            int Lift = (i == s) ? 1 : 0;
            C.fillRect(static_cast<int>(cx + i * Girth * 0.8) - 1, static_cast<int>(cy + 2) - Lift, 2,
                       LegLength, Shade(Fur, 0.65));
        }
        if (!Front)
            C.thickLine(cx, cy + Girth * 0.8, cx + 2 * s, cy + Girth + 7, Wolf ? 3 : 1.2, Shade(Fur, 0.8));
        if (!Front) BeastHead(C, cx, cy - Girth * 1.1, Head, Fur, false, 0);
        C.shadedEllipse(cx, cy, Girth * 1.25, Girth * 1.05, Fur);
        if (Front) BeastHead(C, cx, cy - Girth * 0.2, Head, Fur, true, 0);
    }
    C.outline(INK);
    return C;
}

TCanvas Skeleton(int Direction, int Phase) {
    TCanvas Pic = Humanoid(TOutfitArt::CITIZEN, Direction, Phase, false);
    TCanvas Mask = Humanoid(TOutfitArt::CITIZEN, Direction, Phase, true);
    // Bone white where the clothes would be, with dark gaps between the ribs.
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
            if (Mask.opaque(x, y))
                Pic.set(x, y,
                        (y >= 13 && y <= 20 && y % 2 == 0 && Mask.get(x, y) == MASK_BODY)
                            ? TColor{50, 44, 40}
                            : TColor{226, 220, 200});
            else if (Pic.opaque(x, y) && Pic.get(x, y) == SKIN)
                Pic.set(x, y, TColor{214, 206, 186});
    return Pic;
}

TCanvas Ghost(int Direction, int Phase) {
    TCanvas C(32, 32);
    double Bob = std::sin(Phase * PI / 2) * 1.5;
    for (int y = 3; y < 30; y++)
        for (int x = 5; x < 27; x++) {
            double u = (x - 16) / 10.0, v = (y - 14 - Bob) / 12.0;
            double Wave = 26 + Bob + 2 * std::sin(x * 0.9 + Phase * 1.5);
            if (u * u + std::min(0.0, v) * v < 1.0 && y < Wave && (v < 0.2 || (x + y) % 2 == 0))
                C.set(x, y, Mix(TColor{240, 244, 255}, TColor{150, 170, 220}, (y - 3) / 27.0));
        }
    if (Direction != 0) {
        int Eye = Direction == 1 ? 3 : Direction == 3 ? -3 : 0;
        C.fillRect(13 + Eye, static_cast<int>(11 + Bob), 2, 3, INK);
        C.fillRect(18 + Eye, static_cast<int>(11 + Bob), 2, 3, INK);
    }
    return C;
}

TCanvas Dragon(int Direction, int Phase) {
    TCanvas C(64, 64);
    const TColor Scales{70, 140, 60}, Belly{200, 190, 110}, Wing{50, 100, 50};
    double Flap = Phase == 0 ? 0 : (Phase % 2 ? 8 : -4);
    double dx = Direction == 1   ? 1
                : Direction == 3 ? -1
                                 : 0,
           dy = Direction == 2   ? 1
                : Direction == 0 ? -1
                                 : 0;
    double cx = 36, cy = 40;
    C.fillPolygon({{cx, cy - 4}, {cx - 26, cy - 20 - Flap}, {cx - 18, cy + 2}}, Wing);
    C.fillPolygon({{cx, cy - 4}, {cx + 26, cy - 20 - Flap}, {cx + 18, cy + 2}}, Shade(Wing, 0.85));
    C.thickLine(cx - dx * 12, cy - dy * 10 + 6, cx - dx * 26, cy - dy * 20 + 12, 5, Scales);
    C.shadedEllipse(cx, cy, 14, 12, Scales);
    C.fillEllipse(cx + dx * 3, cy + 3, 8, 7, Belly);
    double hx = cx + dx * 16, hy = cy + dy * 13 - 8;
    C.shadedEllipse(hx, hy, 8, 7, Scales);
    C.fillPolygon({{hx - 5, hy - 4}, {hx - 8, hy - 13}, {hx - 1, hy - 6}}, Belly);
    C.fillPolygon({{hx + 5, hy - 4}, {hx + 8, hy - 13}, {hx + 1, hy - 6}}, Belly);
    if (Direction != 0)
        C.fillRect(static_cast<int>(hx + dx * 3) - 1, static_cast<int>(hy) - 1, 3, 2, TColor{255, 200, 40});
    C.outline(INK);
    return C;
}

TCanvas Elemental(int Phase) {
    TCanvas C(32, 32);
    for (int y = 2; y < 31; y++)
        for (int x = 4; x < 28; x++) {
            double Width = 3 + (y - 2) * 0.38 + 1.5 * std::sin(y * 0.7 + Phase * 1.6);
            double d = std::abs(x - 16 - 2 * std::sin(y * 0.3 + Phase)) / Width;
            if (d < 1.0)
                C.set(x, y,
                      Mix(TColor{255, 240, 140}, TColor{220, 60, 20},
                          std::min(1.0, d * 0.7 + (30 - y) / 60.0)));
        }
    C.fillRect(13, 12, 2, 2, INK);
    C.fillRect(18, 12, 2, 2, INK);
    return C;
}

// Points of a spark pattern that moves outwards with the phase: n dots on a ring of radius r.
void Ring(TCanvas& C, double cx, double cy, double r, int n, double Size, TColor Color, double Turn) {
    for (int i = 0; i < n; i++) {
        double a = 2 * PI * i / n + Turn;
        C.fillEllipse(cx + r * std::cos(a), cy + r * std::sin(a), Size, Size, Color);
    }
}

TCanvas Sparkle(TColor Color, int Phase, int Phases, uint32_t Seed) {
    TCanvas C(32, 32);
    TRandom Random(Seed + static_cast<uint32_t>(Phase) * 7);
    double Fade = 1.0 - Phase / double(Phases);
    for (int i = 0; i < 7; i++) {
        int x = Random.range(5, 26), y = Random.range(5, 26), r = Random.range(1, 3);
        TColor c = Mix(Color, TColor{255, 255, 255}, Random.unit() * 0.6 * Fade);
        C.fillRect(x - r, y, 2 * r + 1, 1, c);
        C.fillRect(x, y - r, 1, 2 * r + 1, c);
        C.set(x, y, TColor{255, 255, 255});
    }
    return C;
}

} // namespace

bool OutfitHasMask(TOutfitArt Art) { return Art <= TOutfitArt::GAMEMASTER; }

int OutfitCells(TOutfitArt Art) { return Art == TOutfitArt::DRAGON ? 2 : 1; }

TCanvas DrawOutfit(TOutfitArt Art, int Direction, int Phase, bool Mask) {
    if (OutfitHasMask(Art)) return Humanoid(Art, Direction, Phase, Mask);
    switch (Art) {
    case TOutfitArt::RAT:
    case TOutfitArt::WOLF:
        return Beast(Art, Direction, Phase);
    case TOutfitArt::SKELETON:
        return Skeleton(Direction, Phase);
    case TOutfitArt::GHOST:
        return Ghost(Direction, Phase);
    case TOutfitArt::DRAGON:
        return Dragon(Direction, Phase);
    default:
        return Elemental(Phase);
    }
}

TCanvas DrawEffect(TEffectArt Art, int Cells, int Phase, int Phases) {
    TCanvas C(32 * Cells, 32 * Cells);
    double t = (Phase + 1) / double(Phases), c = 16.0 * Cells;
    uint32_t Seed = static_cast<uint32_t>(Art) * 101;
    switch (Art) {
    case TEffectArt::BLOOD:
        Ring(C, c, c, 3 + 9 * t, 6, 2.2 - t, TColor{190, 20, 20}, 0.3);
        C.fillEllipse(c, c, 4 - 2 * t, 3 - 1.5 * t, TColor{150, 10, 10});
        break;
    case TEffectArt::PUFF:
    case TEffectArt::BLOCK:
        for (int i = 0; i < 5; i++) {
            double a = i * 2 * PI / 5;
            C.shadedEllipse(c + 8 * t * std::cos(a), c + 8 * t * std::sin(a), 6 - 3 * t, 5 - 3 * t,
                            Art == TEffectArt::PUFF ? TColor{170, 166, 160} : TColor{200, 200, 210});
        }
        break;
    case TEffectArt::SPARKLES:
        return Sparkle(TColor{120, 170, 255}, Phase, Phases, Seed);
    case TEffectArt::STARS:
        for (int i = 0; i < 5; i++)
            Ring(C, c, c - 4, 10, 5, 1.6, TColor{255, 230, 80}, Phase * 0.6);
        break;
    case TEffectArt::HEAL:
        for (int i = 0; i < 4; i++) {
            double x = 6 + i * 7, y = 26 - 18 * t - (i % 2) * 4;
            C.fillRect(static_cast<int>(x) - 1, static_cast<int>(y) - 3, 3, 7, TColor{90, 230, 110});
            C.fillRect(static_cast<int>(x) - 3, static_cast<int>(y) - 1, 7, 3, TColor{90, 230, 110});
        }
        break;
    case TEffectArt::FIRE_BURST:
    case TEffectArt::EXPLOSION:
        C.fillEllipse(c, c, (4 + 10 * t) * Cells, (4 + 10 * t) * Cells, TColor{200, 60, 20});
        C.fillEllipse(c, c, (3 + 7 * t) * Cells, (3 + 7 * t) * Cells, TColor{250, 150, 40});
        C.fillEllipse(c, c, (2 + 4 * t) * Cells * (1 - 0.5 * t), (2 + 4 * t) * Cells * (1 - 0.5 * t),
                      TColor{255, 240, 160});
        if (t > 0.7) Ring(C, c, c, 12 * Cells * t, 8, 2.5 * Cells, TColor{90, 86, 80}, 0);
        break;
    case TEffectArt::ENERGY:
        for (int i = 0; i < 4; i++) {
            double a = i * PI / 2 + Phase;
            C.thickLine(c, c, c + 14 * std::cos(a), c + 14 * std::sin(a), 1.2, TColor{200, 140, 255});
        }
        C.fillEllipse(c, c, 4, 4, TColor{240, 220, 255});
        break;
    case TEffectArt::POISON:
        for (int i = 0; i < 5; i++)
            C.shadedEllipse(6 + i * 5, 28 - std::fmod(i * 7 + Phase * 6.0, 24), 2.5, 2.5,
                            TColor{80, 200, 60});
        break;
    case TEffectArt::TELEPORT:
        for (int r = 4; r < 15; r += 4)
            Ring(C, c, c, r, 8, 1.3, TColor{120, 160, 255}, Phase * 0.5 + r);
        break;
    case TEffectArt::SPLASH:
        Ring(C, c, c + 4, 4 + 8 * t, 7, 2 - t, TColor{90, 150, 230}, 0.5);
        break;
    case TEffectArt::SHIMMER: {
        // A creature that cannot be seen: only a few dithered glints of its shape.
        TCanvas Shape = Humanoid(TOutfitArt::CITIZEN, 2, 0, true);
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
                if (Shape.opaque(x, y) && (x + 2 * y + Phase) % 5 == 0) C.set(x, y, TColor{200, 220, 255});
        break;
    }
    case TEffectArt::DEATH:
        for (int y = 8; y < 26; y++)
            for (int x = 9; x < 23; x++)
                if (std::hypot(x - 16, (y - 14) * 1.1) < 7 - 2 * t && (x + y) % (Phase + 1) == 0)
                    C.set(x, y, TColor{226, 220, 200});
        break;
    default: // holy light: rays from above
        for (int i = 0; i < 5; i++)
            C.thickLine(8 + i * 4, 0, 10 + i * 3, 30, 1.5 + t,
                        Mix(TColor{255, 250, 200}, TColor{255, 220, 100}, i / 4.0));
        break;
    }
    return C;
}

TCanvas DrawMissile(TMissileArt Art, int Direction) {
    TCanvas C(32, 32);
    double a = -PI / 2 + Direction * PI / 4, dx = std::cos(a), dy = std::sin(a);
    auto Along = [&](double d) { return std::pair<double, double>{16 + dx * d, 16 + dy * d}; };
    switch (Art) {
    case TMissileArt::ARROW:
    case TMissileArt::BOLT:
    case TMissileArt::SPEAR: {
        double Half = Art == TMissileArt::SPEAR ? 13 : Art == TMissileArt::ARROW ? 10 : 7;
        auto [x0, y0] = Along(-Half);
        auto [x1, y1] = Along(Half);
        C.thickLine(x0, y0, x1, y1, Art == TMissileArt::SPEAR ? 2 : 1.4, TColor{170, 126, 70});
        C.fillPolygon(
            {{x1 + dx * 3, y1 + dy * 3}, {x1 - dy * 2.5, y1 + dx * 2.5}, {x1 + dy * 2.5, y1 - dx * 2.5}},
            STEEL);
        if (Art == TMissileArt::ARROW)
            C.thickLine(x0, y0, x0 + dx * 3, y0 + dy * 3, 3, TColor{230, 230, 230});
        break;
    }
    case TMissileArt::ICE: {
        auto [x1, y1] = Along(9);
        auto [x0, y0] = Along(-9);
        C.fillPolygon({{x1, y1}, {16 - dy * 3, 16 + dx * 3}, {x0, y0}, {16 + dy * 3, 16 - dx * 3}},
                      TColor{170, 220, 250});
        break;
    }
    case TMissileArt::STAR:
        for (int i = 0; i < 4; i++) {
            double b = a + i * PI / 2;
            C.fillPolygon({{16 + 7 * std::cos(b), 16 + 7 * std::sin(b)},
                           {16 + 2 * std::cos(b + 0.8), 16 + 2 * std::sin(b + 0.8)},
                           {16, 16}},
                          STEEL);
        }
        break;
    default: { // balls with a trail behind them
        TColor Core = Art == TMissileArt::FIREBALL      ? TColor{255, 160, 40}
                      : Art == TMissileArt::ENERGY_BALL ? TColor{170, 120, 255}
                      : Art == TMissileArt::POISON      ? TColor{90, 200, 60}
                                                        : TColor{130, 124, 116};
        if (Art != TMissileArt::STONE)
            for (int i = 1; i <= 4; i++) {
                auto [tx, ty] = Along(-2.5 * i);
                C.fillEllipse(tx, ty, 4 - i * 0.7, 4 - i * 0.7, Shade(Core, 1.0 - i * 0.15));
            }
        auto [bx, by] = Along(3);
        C.shadedEllipse(bx, by, 5, 5, Core);
        break;
    }
    }
    C.outline(INK);
    return C;
}
