// Procedural things of the world: nature, furniture, lights and items.
#include "tools/datagen/ArtDetail.h"

#include "tools/datagen/Pictograms.h"

#include <algorithm>
#include <cmath>

namespace {

const TColor WOOD{132, 88, 48}, IRON{96, 98, 106}, LEAF{54, 120, 40};

// A shaded foliage blob made of overlapping discs, lit from the upper left, with leaf speckles.
void Foliage(TCanvas& C, double cx, double cy, double Radius, int Lobes, TColor Base, uint32_t Seed) {
    TRandom Random(Seed);
    TCanvas Blob(C.width(), C.height());
    for (int i = 0; i < Lobes; i++) {
        double a = 2 * PI * i / Lobes + Random.unit(), d = Radius * 0.55;
        Blob.fillEllipse(cx + d * std::cos(a), cy + d * std::sin(a) * 0.85, Radius * 0.55, Radius * 0.5,
                         Base);
    }
    Blob.fillEllipse(cx, cy, Radius * 0.7, Radius * 0.65, Base);
    for (int y = 0; y < Blob.height(); y++)
        for (int x = 0; x < Blob.width(); x++) {
            if (!Blob.opaque(x, y)) continue;
            double Light = 1.0 - 0.5 * ((x - cx) + (y - cy)) / (2 * Radius);
            double Leaf = HashUnit(x, y, Seed) > 0.8 ? 1.25 : HashUnit(x, y, Seed + 1) > 0.85 ? 0.75 : 1.0;
            Blob.set(x, y,
                     Shade(Base, std::clamp(Light * Leaf * (0.85 + 0.3 * FractalNoise(x, y, 8, 64, Seed)),
                                            0.45, 1.5)));
        }
    Blob.outline(Shade(Base, 0.3));
    C.paste(Blob, 0, 0);
}

// A solid box seen from the front: a lit top face of TopHeight rows above the front face.
void Box(TCanvas& C, int x, int y, int w, int h, int TopHeight, TColor Color) {
    C.fillRect(x, y, w, TopHeight, Shade(Color, 1.2));
    C.verticalGradient(x, y + TopHeight, w, h - TopHeight, Color, Shade(Color, 0.7));
    C.frameRect(x - 1, y - 1, w + 2, h + 2, INK);
    C.fillRect(x, y + TopHeight, w, 1, Shade(Color, 0.6));
}

TCanvas Nature(TArt Art, int Width, int Height, uint32_t Seed) {
    TCanvas C(32 * Width, 32 * Height);
    switch (Art) {
    case TArt::TREE:
        C.fillRect(34, 40, 9, 20, TColor{88, 58, 34});
        C.fillRect(34, 40, 3, 20, TColor{120, 82, 50});
        C.fillPolygon({{30, 62}, {47, 62}, {43, 56}, {34, 56}}, TColor{76, 50, 30});
        Foliage(C, 36, 28, 24, 7, LEAF, Seed);
        break;
    case TArt::FIR:
        C.fillRect(14, 52, 5, 11, TColor{88, 58, 34});
        for (int Tier = 0; Tier < 4; Tier++) {
            double Top = 2 + Tier * 12, Half = 6 + Tier * 3.2;
            C.fillPolygon({{16, Top}, {16 - Half, Top + 16}, {16 + Half, Top + 16}}, TColor{30, 84, 44});
            C.fillPolygon({{16, Top}, {16 - Half, Top + 16}, {16, Top + 16}}, TColor{44, 108, 56});
        }
        C.outline(INK);
        break;
    case TArt::BUSH:
        Foliage(C, 16, 19, 12, 5, TColor{60, 128, 46}, Seed);
        for (int i = 0; i < 5; i++)
            C.set(8 + (i * 7) % 16, 14 + (i * 5) % 10, TColor{200, 30, 40});
        break;
    case TArt::BOULDER:
        C.shadedEllipse(13, 20, 10, 8, TColor{128, 124, 118});
        C.shadedEllipse(22, 22, 8, 7, TColor{112, 108, 104});
        C.shadedEllipse(16, 13, 6, 5, TColor{140, 136, 130});
        C.outline(INK);
        break;
    case TArt::COLUMN: {
        for (int x = 9; x < 23; x++) {
            double Light = 1.25 - std::abs(x - 12.0) / 12.0;
            C.fillRect(x, 10, 1, 46, Shade(TColor{170, 164, 154}, Light));
        }
        Box(C, 5, 4, 22, 7, 3, TColor{176, 170, 160});
        Box(C, 5, 55, 22, 8, 3, TColor{150, 144, 136});
        C.outline(INK);
        break;
    }
    case TArt::FENCE:
        for (int x : {3, 26})
            Box(C, x, 6, 4, 24, 2, WOOD);
        C.fillRect(3, 11, 27, 3, Shade(WOOD, 1.1));
        C.fillRect(3, 20, 27, 3, WOOD);
        C.outline(INK);
        break;
    default: // the stone table of two fields
        Box(C, 8, 20, 6, 10, 0, TColor{110, 106, 100});
        Box(C, 50, 20, 6, 10, 0, TColor{110, 106, 100});
        Box(C, 3, 6, 58, 14, 8, TColor{150, 146, 138});
        break;
    }
    return C;
}

TCanvas Furniture(TArt Art, uint32_t Seed) {
    TCanvas C(32, 32);
    switch (Art) {
    case TArt::TABLE:
        Box(C, 5, 16, 3, 13, 0, Shade(WOOD, 0.8));
        Box(C, 24, 16, 3, 13, 0, Shade(WOOD, 0.8));
        Box(C, 2, 6, 28, 11, 7, WOOD);
        break;
    case TArt::CHAIR:
        Box(C, 9, 3, 14, 12, 2, WOOD);
        Box(C, 9, 15, 14, 5, 3, Shade(WOOD, 1.1));
        Box(C, 9, 20, 2, 9, 0, Shade(WOOD, 0.8));
        Box(C, 21, 20, 2, 9, 0, Shade(WOOD, 0.8));
        break;
    case TArt::CHAIR_NORTH: // the back of the backrest in front of the seat
        Box(C, 9, 20, 2, 9, 0, Shade(WOOD, 0.8));
        Box(C, 21, 20, 2, 9, 0, Shade(WOOD, 0.8));
        Box(C, 9, 15, 14, 5, 3, Shade(WOOD, 1.1));
        Box(C, 9, 4, 14, 18, 2, Shade(WOOD, 0.85));
        break;
    case TArt::CHAIR_WEST: // seen from the side, the backrest east of the seat
    case TArt::CHAIR_EAST: {
        const int Back = Art == TArt::CHAIR_WEST ? 19 : 9;
        Box(C, 9, 20, 2, 9, 0, Shade(WOOD, 0.8));
        Box(C, 21, 20, 2, 9, 0, Shade(WOOD, 0.8));
        Box(C, 9, 15, 14, 5, 3, Shade(WOOD, 1.1));
        Box(C, Back, 3, 4, 17, 2, WOOD);
        break;
    }
    case TArt::CRATE:
        Box(C, 3, 5, 26, 24, 6, TColor{150, 112, 64});
        C.line(4, 12, 27, 27, TColor{100, 70, 40});
        C.line(4, 27, 27, 12, TColor{100, 70, 40});
        C.frameRect(4, 11, 24, 18, TColor{100, 70, 40});
        break;
    case TArt::BARREL:
        for (int x = 6; x < 26; x++)
            C.fillRect(x, 7, 1, 22, Shade(WOOD, 1.3 - std::abs(x - 12.0) / 16.0));
        C.fillEllipse(16, 7, 10, 3, Shade(WOOD, 1.1));
        C.fillEllipse(16, 7, 8, 2, Shade(WOOD, 0.7));
        for (int y : {11, 24})
            C.fillRect(6, y, 20, 2, IRON);
        C.outline(INK);
        break;
    case TArt::CHEST:
    case TArt::DEPOT: {
        TColor Body = Art == TArt::DEPOT ? TColor{90, 60, 40} : TColor{140, 90, 44};
        Box(C, 4, 11, 24, 17, 0, Body);
        C.fillEllipse(16, 11, 12, 6, Shade(Body, 1.2));
        C.fillRect(4, 11, 24, 2, TColor{200, 164, 84});
        C.fillRect(14, 13, 4, 5, TColor{220, 190, 100});
        C.set(15, 15, INK), C.set(16, 15, INK);
        if (Art == TArt::DEPOT)
            for (int y : {18, 24})
                C.fillRect(4, y, 24, 1, IRON);
        C.outline(INK);
        break;
    }
    case TArt::BOOKCASE: {
        Box(C, 3, 1, 26, 29, 2, Shade(WOOD, 0.8));
        TRandom Random(Seed);
        const TColor Spines[5] = {
            {150, 40, 40}, {40, 70, 140}, {50, 110, 50}, {150, 120, 50}, {100, 50, 110}};
        for (int Shelf = 0; Shelf < 3; Shelf++) {
            int y = 5 + Shelf * 8;
            C.fillRect(5, y, 22, 7, TColor{40, 26, 16});
            for (int x = 5; x < 27; x += 2) {
                int h = Random.range(4, 7);
                C.fillRect(x, y + 7 - h, 2, h, Shade(Spines[Random.range(0, 4)], 0.8 + 0.4 * Random.unit()));
            }
        }
        break;
    }
    case TArt::SIGN:
        Box(C, 14, 14, 4, 16, 0, Shade(WOOD, 0.85));
        Box(C, 3, 3, 26, 13, 0, Shade(WOOD, 1.1));
        for (int y : {6, 9, 12})
            C.fillRect(6, y, 14 + y % 5, 1, TColor{60, 36, 20});
        break;
    case TArt::LEVER:
        Box(C, 9, 22, 14, 6, 2, IRON);
        C.thickLine(16, 23, 23, 8, 2.5, TColor{120, 120, 128});
        C.shadedEllipse(23.5, 7.5, 3, 3, TColor{200, 40, 30});
        C.outline(INK);
        break;
    case TArt::MAILBOX:
        Box(C, 14, 16, 4, 14, 0, Shade(WOOD, 0.8));
        Box(C, 6, 4, 20, 14, 4, TColor{210, 170, 40});
        C.fillRect(10, 11, 12, 2, INK);
        break;
    default: // dustbin
        for (int x = 7; x < 25; x++)
            C.fillRect(x, 9, 1, 20, Shade(IRON, 1.4 - std::abs(x - 12.0) / 14.0));
        C.fillEllipse(16, 9, 10, 3, Shade(IRON, 1.3));
        for (int x = 9; x < 24; x += 4)
            C.fillRect(x, 13, 1, 14, Shade(IRON, 0.7));
        C.outline(INK);
        break;
    }
    return C;
}

// A flame that flickers with the phase.
void Flame(TCanvas& C, double cx, double Bottom, double Height, int Phase, uint32_t Seed) {
    double Sway = std::sin(Phase * 2.1 + Seed) * Height * 0.12,
           Tall = Height * (0.9 + 0.15 * std::sin(Phase * 1.7));
    C.fillPolygon({{cx + Sway, Bottom - Tall},
                   {cx + Height * 0.35, Bottom - Tall * 0.35},
                   {cx, Bottom},
                   {cx - Height * 0.35, Bottom - Tall * 0.35}},
                  TColor{230, 90, 20});
    C.fillPolygon({{cx + Sway * 0.6, Bottom - Tall * 0.7},
                   {cx + Height * 0.18, Bottom - Tall * 0.25},
                   {cx, Bottom - 1},
                   {cx - Height * 0.18, Bottom - Tall * 0.25}},
                  TColor{255, 220, 80});
}

TCanvas Light(TArt Art, int Width, int Height, int Variant, int Phase, uint32_t Seed) {
    TCanvas C(32 * Width, 32 * Height);
    switch (Art) {
    case TArt::TORCH:
        if (Variant == 0) { // lying on the ground
            C.thickLine(8, 26, 22, 16, 3, WOOD);
            Flame(C, 24, 16, 9, Phase, Seed);
        } else if (Variant == 1) { // on a wall to the south: on the wall's front face
            C.fillRect(13, 22, 6, 2, IRON);
            C.fillRect(15, 12, 3, 12, WOOD);
            Flame(C, 16.5, 13, 10, Phase, Seed);
        } else { // on a wall to the east: on the wall's side face
            C.fillRect(9, 20, 3, 4, IRON);
            C.thickLine(10, 22, 14, 12, 2.5, WOOD);
            Flame(C, 14, 12, 10, Phase, Seed);
        }
        C.outline(INK);
        break;
    case TArt::STREET_LAMP:
        C.fillRect(15, 14, 3, 48, TColor{50, 52, 58});
        Box(C, 9, 58, 15, 4, 1, TColor{60, 62, 68});
        Box(C, 10, 4, 13, 12, 2, TColor{60, 62, 68});
        C.fillRect(12, 7, 9, 8, TColor{255, 226, 140});
        C.fillRect(13, 8, 3, 4, TColor{255, 250, 220});
        C.outline(INK);
        break;
    case TArt::CAMPFIRE:
        for (int i = 0; i < 8; i++)
            C.shadedEllipse(16 + 11 * std::cos(i * PI / 4), 22 + 6 * std::sin(i * PI / 4), 2.6, 2.2,
                            TColor{120, 116, 110});
        C.thickLine(8, 25, 24, 19, 3, WOOD);
        C.thickLine(8, 19, 24, 25, 3, Shade(WOOD, 0.8));
        Flame(C, 16, 23, 16, Phase, Seed);
        Flame(C, 12, 23, 9, Phase + 1, Seed);
        Flame(C, 20, 23, 10, Phase + 2, Seed);
        break;
    case TArt::CANDLESTICK:
        Box(C, 11, 26, 10, 3, 1, TColor{200, 164, 84});
        C.fillRect(15, 14, 2, 12, TColor{200, 164, 84});
        Box(C, 14, 8, 4, 7, 1, TColor{236, 230, 210});
        Flame(C, 16, 8, 5, Phase, Seed);
        break;
    default: { // a painting: leaning on the floor, on a south wall or (narrow) on an east wall
        int x = Variant == 2 ? 10 : 6, y = Variant == 0 ? 12 : 11, w = Variant == 2 ? 7 : 20,
            h = Variant == 2 ? 16 : 14;
        C.fillRect(x, y, w, h, TColor{190, 150, 70});
        C.verticalGradient(x + 2, y + 2, w - 4, (h - 4) / 2, TColor{110, 150, 210}, TColor{200, 200, 220});
        C.fillRect(x + 2, y + 2 + (h - 4) / 2, w - 4, h - 4 - (h - 4) / 2, TColor{70, 120, 50});
        C.outline(INK);
        break;
    }
    }
    return C;
}

TColor CoinColor(TArt Art) { return Art == TArt::GOLD_COINS ? TColor{222, 180, 60} : TColor{170, 190, 210}; }

// How many pieces the count steps show: 1, 2, 3, 4, 5..9, 10..24, 25..49, 50 and more.
int PiecesOfStep(int Step) {
    const int Pieces[8] = {1, 2, 3, 4, 6, 9, 13, 18};
    return Pieces[std::clamp(Step, 0, 7)];
}

TCanvas Heap(TArt Art, int Variant, uint32_t Seed) {
    // The pieces lie on a spiral from the middle outwards, so a larger count shows the smaller count's
    // heap and more.
    TCanvas C(32, 32);
    int Pieces = PiecesOfStep(Variant);
    for (int i = 0; i < Pieces; i++) {
        double a = i * 2.4, r = 2.6 * std::sqrt(i);
        double x = 16 + r * std::cos(a), y = 21 + 0.7 * r * std::sin(a) - (i > 8 ? 1.5 : 0);
        switch (Art) {
        case TArt::GOLD_COINS:
        case TArt::PLATINUM_COINS:
            C.shadedEllipse(x, y, 4, 3, CoinColor(Art));
            C.set(static_cast<int>(x) - 1, static_cast<int>(y) - 1, Shade(CoinColor(Art), 1.4));
            break;
        case TArt::ARROWS:
            C.thickLine(x - 9, y + 5, x + 7, y - 6, 1.3, TColor{160, 120, 70});
            C.fillPolygon({{x + 9, y - 7.5}, {x + 4, y - 6}, {x + 7, y - 3}}, TColor{190, 190, 200});
            C.thickLine(x - 10, y + 6, x - 7, y + 4, 2.2, TColor{230, 230, 230});
            break;
        case TArt::APPLES:
            C.shadedEllipse(x, y, 4, 4,
                            HashUnit(i, 0, Seed) < 0.3 ? TColor{200, 180, 40} : TColor{200, 40, 30});
            C.set(static_cast<int>(x), static_cast<int>(y) - 4, TColor{90, 60, 30});
            break;
        case TArt::STONES:
            C.shadedEllipse(x, y, 3, 2.5, TColor{130, 126, 120});
            break;
        case TArt::FISH:
            C.shadedEllipse(x, y, 6, 2.5, TColor{120, 150, 170});
            C.fillPolygon({{x + 5, y}, {x + 9, y - 3}, {x + 9, y + 3}}, TColor{100, 130, 150});
            break;
        case TArt::MEAT:
            C.shadedEllipse(x, y, 6, 4.5, TColor{176, 70, 60});
            C.thickLine(x + 5, y + 3, x + 9, y + 6, 2, TColor{236, 226, 210});
            break;
        default: // gems
            C.fillPolygon({{x, y - 4}, {x + 3.5, y - 1}, {x, y + 4}, {x - 3.5, y - 1}}, TColor{60, 130, 230});
            C.fillPolygon({{x, y - 4}, {x + 1.5, y - 1}, {x, y + 4}, {x - 1.5, y - 1}},
                          TColor{150, 200, 255});
            break;
        }
    }
    C.outline(INK);
    return C;
}

TCanvas LiquidThing(TArt Art, int Liquid, uint32_t Seed) {
    TCanvas C(32, 32);
    TColor Fluid = LiquidColor(Liquid);
    if (Art == TArt::VIAL) {
        C.fillRect(13, 5, 6, 6, TColor{190, 210, 220});
        C.fillEllipse(16, 19, 8, 9, TColor{180, 200, 214});
        if (Liquid > 0) C.fillEllipse(16, 21, 7, 7, Fluid), C.fillRect(10, 19, 13, 2, Shade(Fluid, 1.3));
        C.fillRect(13, 4, 6, 2, TColor{150, 110, 70});
        C.set(12, 16, TColor{250, 250, 255}), C.set(12, 17, TColor{250, 250, 255});
    } else if (Art == TArt::BUCKET) {
        C.fillPolygon({{6, 10}, {26, 10}, {23, 28}, {9, 28}}, WOOD);
        for (int y : {13, 24})
            C.fillRect(7, y, 18, 2, IRON);
        C.fillEllipse(16, 10, 10, 3, Liquid > 0 ? Fluid : Shade(WOOD, 0.5));
        C.thickLine(6, 10, 16, 2, 1, IRON);
        C.thickLine(26, 10, 16, 2, 1, IRON);
    } else { // a pool on the ground: an irregular splash
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) {
                double d =
                    std::hypot(x - 16, (y - 17) * 1.3) / 12 + (FractalNoise(x, y, 8, 32, Seed) - 0.5) * 0.8;
                if (d < 1.0) C.set(x, y, Liquid > 0 ? Shade(Fluid, 1.05 - d * 0.3) : TColor{70, 60, 52});
            }
        C.set(11, 13, Shade(Fluid, 1.6));
    }
    C.outline(INK);
    return C;
}

TCanvas Field(TArt Art, int Phase, uint32_t Seed) {
    TCanvas C(32, 32);
    TRandom Random(Seed + static_cast<uint32_t>(Phase) * 13);
    if (Art == TArt::FIRE_FIELD) {
        for (int i = 0; i < 5; i++)
            Flame(C, 5 + i * 5.5 + Random.range(-1, 1), 30 - (i % 2) * 5, 12 + Random.range(0, 6), Phase + i,
                  Seed);
        return C;
    }
    // The energy field: crackling bolts over a dithered glow.
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
            if ((x + y + Phase) % 3 == 0 && std::hypot(x - 16, y - 16) < 15)
                C.set(x, y, TColor{120, 80, 220});
    for (int b = 0; b < 3; b++) {
        int x = Random.range(4, 27), y = 2;
        while (y < 30) {
            int nx = std::clamp(x + Random.range(-4, 4), 2, 29), ny = y + Random.range(3, 6);
            C.line(x, y, nx, ny, TColor{230, 220, 255});
            x = nx, y = ny;
        }
    }
    return C;
}

TCanvas Item(TArt Art) {
    struct TItemIcon {
        TArt Art;
        TPictogram Kind;
        TColor Color;
        int Size;
    };
    const TItemIcon Icons[] = {
        {TArt::BACKPACK, TPictogram::BACKPACK, {150, 100, 56}, 24},
        {TArt::BAG, TPictogram::BAG, {160, 120, 70}, 20},
        {TArt::BOOK, TPictogram::BOOK, {150, 40, 40}, 20},
        {TArt::SCROLL, TPictogram::SCROLL, {230, 214, 170}, 22},
        {TArt::SWORD, TPictogram::SWORD, {220, 224, 232}, 26},
        {TArt::SHIELD, TPictogram::SHIELD, {150, 104, 60}, 22},
        {TArt::HELMET, TPictogram::HELMET, {170, 172, 180}, 22},
        {TArt::ARMOR, TPictogram::ARMOR, {160, 162, 172}, 24},
        {TArt::LEGS, TPictogram::LEGS, {150, 152, 160}, 22},
        {TArt::BOOTS, TPictogram::BOOTS, {120, 80, 48}, 22},
        {TArt::RING, TPictogram::RING, {222, 184, 70}, 14},
        {TArt::AMULET, TPictogram::AMULET, {222, 184, 70}, 18},
        {TArt::KEY, TPictogram::KEY, {222, 184, 70}, 18},
    };
    TCanvas C(32, 32);
    for (const TItemIcon& i : Icons)
        if (i.Art == Art) {
            int Offset = (32 - i.Size) / 2;
            C.paste(Pictogram(i.Kind, i.Size, i.Size, i.Color, INK), Offset + 3, Offset + 3);
            return C;
        }
    switch (Art) {
    case TArt::PARCHMENT:
        C.fillPolygon({{7, 8}, {25, 6}, {26, 26}, {8, 27}}, TColor{236, 226, 196});
        C.fillPolygon({{20, 6.5}, {25, 6}, {25.5, 11}}, TColor{200, 186, 150});
        break;
    case TArt::SHOVEL:
        C.thickLine(8, 24, 22, 10, 2, WOOD);
        C.fillPolygon({{19, 13}, {27, 5}, {30, 8}, {22, 16}}, IRON);
        break;
    case TArt::ROPE:
        for (int r = 9; r >= 4; r -= 2)
            C.fillEllipse(16, 19, r + 1, r * 0.7 + 1, Shade(TColor{180, 150, 100}, 0.7 + r * 0.04)),
                C.fillEllipse(16, 19, r, r * 0.7, TColor{120, 96, 60});
        C.fillEllipse(16, 19, 3, 2, TColor{60, 46, 30});
        break;
    case TArt::FISHING_ROD:
        C.thickLine(6, 28, 27, 5, 1.6, WOOD);
        C.line(27, 5, 28, 22, TColor{220, 220, 220});
        C.shadedEllipse(10, 24, 2, 2, IRON);
        break;
    case TArt::RUNE:
        C.fillRect(10, 8, 13, 18, TColor{110, 104, 120});
        C.fillRect(10, 8, 13, 2, TColor{150, 144, 160});
        C.paste(Pictogram(TPictogram::STAR, 9, 9, TColor{150, 200, 255}, COLOR_KEY), 12, 13);
        break;
    default: { // corpse: a heap of bones
        for (int i = 0; i < 4; i++)
            C.thickLine(6 + i * 4, 24 - i * 2, 18 + i * 3, 18 + i, 2, TColor{226, 218, 200});
        C.shadedEllipse(22, 14, 5, 4, TColor{226, 218, 200});
        C.set(20, 14, INK), C.set(23, 14, INK);
        break;
    }
    }
    C.outline(INK);
    return C;
}

} // namespace

TColor LiquidColor(int Value) {
    const TColor Colors[LIQUIDS] = {{0, 0, 0},     {60, 110, 220}, {170, 20, 20},   {200, 150, 40},
                                    {90, 170, 50}, {240, 230, 90}, {240, 240, 236}, {150, 60, 200}};
    return Colors[((Value % LIQUIDS) + LIQUIDS) % LIQUIDS];
}

TCanvas DrawThingArt(TArt Art, int Width, int Height, int Variant, int Phase, uint32_t Seed) {
    switch (Art) {
    case TArt::TREE:
    case TArt::FIR:
    case TArt::BUSH:
    case TArt::BOULDER:
    case TArt::COLUMN:
    case TArt::FENCE:
    case TArt::STONE_TABLE:
        return Nature(Art, Width, Height, Seed);
    case TArt::TABLE:
    case TArt::CHAIR:
    case TArt::CHAIR_WEST:
    case TArt::CHAIR_NORTH:
    case TArt::CHAIR_EAST:
    case TArt::CRATE:
    case TArt::BARREL:
    case TArt::CHEST:
    case TArt::BOOKCASE:
    case TArt::SIGN:
    case TArt::LEVER:
    case TArt::MAILBOX:
    case TArt::DEPOT:
    case TArt::DUSTBIN:
        return Furniture(Art, Seed);
    case TArt::TORCH:
    case TArt::STREET_LAMP:
    case TArt::CAMPFIRE:
    case TArt::CANDLESTICK:
    case TArt::PAINTING:
        return Light(Art, Width, Height, Variant, Phase, Seed);
    case TArt::GOLD_COINS:
    case TArt::PLATINUM_COINS:
    case TArt::ARROWS:
    case TArt::APPLES:
    case TArt::STONES:
    case TArt::GEMS:
    case TArt::FISH:
    case TArt::MEAT:
        return Heap(Art, Variant, Seed);
    case TArt::VIAL:
    case TArt::BUCKET:
    case TArt::POOL:
        return LiquidThing(Art, Variant, Seed);
    case TArt::FIRE_FIELD:
    case TArt::ENERGY_FIELD:
        return Field(Art, Phase, Seed);
    default:
        return Item(Art);
    }
}

TCanvas DrawArt(TArt Art, int Width, int Height, int Variant, int Phase, uint32_t Seed) {
    if (IsGroundArt(Art)) return DrawGroundArt(Art, Variant, Phase, Seed);
    return DrawThingArt(Art, Width, Height, Variant, Phase, Seed);
}
