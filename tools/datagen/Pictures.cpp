// The title picture, the spare picture and the darkness tiles of the picture file.
#include "tools/datagen/Pictures.h"

#include "tools/datagen/Fonts.h"
#include "tools/datagen/Skins.h"

#include <algorithm>
#include <cmath>

namespace {

// Height of a ridge line at column x: fractal noise between Low and High.
double Ridge(int x, double Low, double High, int Cell, uint32_t Seed) {
    return Low + (High - Low) * FractalNoise(x, 0, Cell, 1024, Seed);
}

void DrawSky(TCanvas& C) {
    const TColor Zenith{14, 18, 48}, Middle{70, 50, 96}, Horizon{236, 140, 70};
    for (int y = 0; y < C.height(); y++) {
        double t = y / 300.0;
        TColor Row =
            t < 0.55 ? Mix(Zenith, Middle, t / 0.55) : Mix(Middle, Horizon, std::min(1.0, (t - 0.55) / 0.45));
        C.fillRect(0, y, C.width(), 1, Row);
    }
    TRandom Random(5);
    for (int i = 0; i < 160; i++) {
        int x = Random.range(0, C.width() - 1), y = Random.range(0, 170);
        C.blend(x, y, TColor{255, 250, 230}, 0.4 + 0.6 * Random.unit() * (1 - y / 200.0));
    }
    // The moon, with a soft halo.
    const double MoonX = 584, MoonY = 196;
    for (int y = static_cast<int>(MoonY) - 44; y <= MoonY + 44; y++)
        for (int x = static_cast<int>(MoonX) - 44; x <= MoonX + 44; x++) {
            double d = std::hypot(x - MoonX, y - MoonY);
            if (d < 44) C.blend(x, y, TColor{255, 236, 200}, 0.35 * (1 - d / 44) * (1 - d / 44));
        }
    C.shadedEllipse(MoonX, MoonY, 14, 14, TColor{240, 232, 210});
    // Long clouds lit from below.
    for (int y = 150; y < 260; y++)
        for (int x = 0; x < C.width(); x++) {
            double n = FractalNoise(x * 0.5, y * 2.2, 32, 1024, 9);
            if (n > 0.6)
                C.blend(x, y, Mix(TColor{120, 70, 90}, TColor{250, 170, 110}, (y - 150) / 110.0),
                        (n - 0.6) * 2.2);
        }
}

void DrawLand(TCanvas& C) {
    // Far mountains, nearer hills, then the dark foreground: each layer a ridge line filled below.
    struct TLayer {
        double Low, High;
        int Cell;
        TColor Top, Bottom;
    };
    const TLayer Layers[] = {{210, 300, 128, {96, 72, 110}, {70, 56, 90}},
                             {280, 340, 64, {52, 50, 70}, {36, 38, 50}},
                             {330, 380, 32, {30, 36, 34}, {16, 20, 20}}};
    for (size_t l = 0; l < 3; l++) {
        const TLayer& L = Layers[l];
        for (int x = 0; x < C.width(); x++) {
            int Top = static_cast<int>(Ridge(x, L.Low, L.High, L.Cell, 20 + static_cast<uint32_t>(l)));
            for (int y = Top; y < C.height(); y++) {
                double Snow = l == 0 && y < Top + 6 && Top < 240 ? 0.5 : 0.0;
                C.set(x, y,
                      Mix(Mix(L.Top, L.Bottom, (y - Top) / double(C.height() - Top)), TColor{220, 210, 230},
                          Snow));
            }
        }
    }
}

void DrawCastle(TCanvas& C) {
    const TColor Wall{34, 30, 40}, Window{255, 200, 100};
    int Base = 330;
    C.fillEllipse(470, 420, 170, 84, TColor{20, 24, 24}); // the hill it stands on
    C.fillRect(400, Base - 60, 120, 70, Wall);
    for (int x = 400; x < 520; x += 12)
        C.fillRect(x, Base - 68, 7, 8, Wall);
    const int Towers[3][3] = {{388, 40, 110}, {452, 30, 150}, {510, 36, 120}};
    for (const auto& t : Towers) {
        C.fillRect(t[0], Base - t[2], t[1] / 2 + 8, t[2] + 10, Wall);
        double cx = t[0] + (t[1] / 2 + 8) / 2.0;
        C.fillPolygon({{cx, Base - t[2] - 34.0},
                       {t[0] - 4.0, Base - t[2] + 1.0},
                       {t[0] + t[1] / 2 + 12.0, Base - t[2] + 1.0}},
                      TColor{60, 28, 36});
        C.fillRect(static_cast<int>(cx) - 2, Base - t[2] + 14, 4, 7, Window);
    }
    TRandom Random(17);
    for (int i = 0; i < 9; i++)
        C.fillRect(Random.range(408, 510), Random.range(Base - 50, Base - 10), 3, 5, Window);
    C.fillPolygon(
        {{450, Base + 10.0}, {450, Base - 18.0}, {460, Base - 28.0}, {470, Base - 18.0}, {470, Base + 10.0}},
        TColor{20, 16, 20});
}

void DrawTrees(TCanvas& C) {
    TRandom Random(33);
    for (int i = 0; i < 26; i++) {
        double x = Random.range(-10, 650), Base = 400 + Random.range(0, 80), h = 60 + Random.range(0, 70);
        if (x > 360 && x < 560) continue; // keep the castle free
        TColor Dark = Mix(TColor{8, 14, 12}, TColor{22, 34, 28}, Random.unit());
        for (int Step = 0; Step < 4; Step++) {
            double Top = Base - h + Step * h / 5, Half = 8 + Step * 7;
            C.fillPolygon({{x, Top}, {x - Half, Top + h / 3}, {x + Half, Top + h / 3}}, Dark);
        }
        C.fillRect(static_cast<int>(x) - 2, static_cast<int>(Base - h / 5), 5, static_cast<int>(h / 5),
                   TColor{20, 14, 10});
    }
}

} // namespace

TPicture BuildTitlePicture(const TFontFiles& Fonts) {
    TPicture Picture;
    Picture.Image = TCanvas(TITLE_WIDTH, TITLE_HEIGHT);
    TCanvas& C = Picture.Image;
    DrawSky(C);
    DrawLand(C);
    DrawCastle(C);
    DrawTrees(C);
    RenderTitleText(C, Fonts.Serif, "Pellarune", 76, TITLE_WIDTH / 2, 118, TColor{255, 236, 160},
                    TColor{190, 120, 40}, true);
    RenderTitleText(C, Fonts.Bold, "The Realm of the Seven Isles", 18, TITLE_WIDTH / 2, 152,
                    TColor{236, 226, 206}, TColor{200, 180, 150}, true);
    return Picture;
}

TPicture BuildEmblemPicture() {
    // A crest of the realm: a shield with a crown, on the transparent key.
    TPicture Picture;
    Picture.Image = TCanvas(64, 64);
    TCanvas& C = Picture.Image;
    C.fillPolygon({{8, 6}, {56, 6}, {54, 36}, {32, 60}, {10, 36}}, SkinPalette::DARK);
    C.fillPolygon({{11, 9}, {53, 9}, {51, 35}, {32, 56}, {13, 35}}, TColor{120, 30, 36});
    C.fillPolygon({{32, 9}, {53, 9}, {51, 35}, {32, 56}}, TColor{92, 22, 28});
    C.fillPolygon({{18, 34}, {18, 20}, {25, 27}, {32, 16}, {39, 27}, {46, 20}, {46, 34}}, SkinPalette::GOLD);
    return Picture;
}

TPicture BuildDarknessPicture() {
    // Tile t covers (8 - t) / 8 of its pixels in black by a 4 x 4 ordered dither; the rest stays
    // transparent, so the map shows through more with every tile.
    static const int Bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    TPicture Picture;
    Picture.Image = TCanvas(8 * 32, 32);
    for (int t = 0; t < 8; t++)
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
                if (Bayer[y % 4][x % 4] < 2 * (8 - t)) Picture.Image.set(t * 32 + x, y, TColor{0, 0, 0});
    return Picture;
}
