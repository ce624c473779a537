// Drawing from the generated files the way the client does: skins, fonts, object types and outfits.
#include "tools/datagen/SheetPainter.h"

#include "tools/datagen/Fonts.h"
#include "tools/datagen/SkinTable.h"

#include "foundation/Exception.h"

#include <cstring>

namespace {

const int FONT_SPACING[4] = {1, -1, 0, 1};

const TPicture& FontPicture(const TDataSet& Set, int Font) {
    return Set.Pictures.Pictures.at(FONT_LAYOUTS[Font - 1].Picture - 1);
}

int GlyphIndex(unsigned char Code) { return Code >= 33 ? Code - 32 : 95; }

// Recolouring of a font or outfit pixel: the colour scaled by the pixel's brightness.
TColor Recolor(TColor Pixel, TColor Color) {
    int Brightness = (30 * Pixel.r + 59 * Pixel.g + 11 * Pixel.b) / 100;
    return Rgb(Color.r * Brightness / 256, Color.g * Brightness / 256, Color.b * Brightness / 256);
}

} // namespace

TSheetPainter::TSheetPainter(const TDataSet& Set, TCanvas& Target) : Set(Set), T(Target) {
    // Glyph widths measured as the client measures them: the rightmost inked column from the cell's
    // right edge down to column 1, else the whole cell.
    for (int Font = 1; Font <= 4; Font++) {
        const TFontLayout& L = FONT_LAYOUTS[Font - 1];
        const TCanvas& P = FontPicture(Set, Font).Image;
        std::vector<int> Widths(GLYPHS_PER_FONT, L.CharWidth);
        for (int g = 0; g < GLYPHS_PER_FONT; g++) {
            int ox = (g % FONT_CHARS_PER_LINE) * L.CharWidth, oy = (g / FONT_CHARS_PER_LINE) * L.CharHeight;
            bool Found = false;
            for (int c = L.CharWidth - 1; c >= 1 && !Found; c--)
                for (int r = 0; r < L.CharHeight && !Found; r++)
                    if (P.opaque(ox + c, oy + r)) Widths[g] = c + 1, Found = true;
        }
        GlyphWidths.push_back(Widths);
    }
}

void TSheetPainter::skin(int x, int y, int w, int h, int Skin) {
    const TSkinRect& r = SKIN_RECTS[Skin];
    if (Skin == 0 || w <= 0 || h <= 0 || r.w == 0) return;
    const TCanvas& P = Set.Pictures.Pictures.at(PICTURE_SKINS - 1).Image;
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            int sx = r.x + i % r.w, sy = r.y + j % r.h;
            if (P.opaque(sx, sy)) T.set(x + i, y + j, P.get(sx, sy));
        }
}

void TSheetPainter::skin(int x, int y, int Skin) { skin(x, y, SKIN_RECTS[Skin].w, SKIN_RECTS[Skin].h, Skin); }

void TSheetPainter::skinScaled(int x, int y, int Skin, int Scale) {
    const TSkinRect& r = SKIN_RECTS[Skin];
    const TCanvas& P = Set.Pictures.Pictures.at(PICTURE_SKINS - 1).Image;
    for (int j = 0; j < r.h * Scale; j++)
        for (int i = 0; i < r.w * Scale; i++)
            if (P.opaque(r.x + i / Scale, r.y + j / Scale))
                T.set(x + i, y + j, P.get(r.x + i / Scale, r.y + j / Scale));
}

void TSheetPainter::frame(int x, int y, int w, int h, const int S[9]) {
    auto W = [](int s) { return SKIN_RECTS[s].w; };
    auto H = [](int s) { return SKIN_RECTS[s].h; };
    // S: top left, top, top right, left, right, bottom left, bottom, bottom right, centre.
    skin(x + W(S[3]), y + H(S[1]), w - W(S[4]) - W(S[3]), h - H(S[6]) - H(S[1]), S[8]);
    skin(x, y, S[0]);
    skin(x + W(S[0]), y, w - W(S[2]) - W(S[0]), H(S[1]), S[1]);
    skin(x + w - W(S[2]), y, S[2]);
    skin(x, y + H(S[0]), W(S[3]), h - H(S[5]) - H(S[0]), S[3]);
    skin(x + w - W(S[4]), y + H(S[2]), W(S[4]), h - H(S[7]) - H(S[2]), S[4]);
    skin(x, y + h - H(S[5]), S[5]);
    skin(x + W(S[5]), y + h - H(S[6]), w - W(S[7]) - W(S[5]), H(S[6]), S[6]);
    skin(x + w - W(S[7]), y + h - H(S[7]), S[7]);
}

int TSheetPainter::textWidth(int Font, const char* Text) const {
    int Width = 0, n = static_cast<int>(std::strlen(Text));
    for (int i = 0; i < n; i++) {
        unsigned char c = static_cast<unsigned char>(Text[i]);
        Width += (c == ' ' || c == '\n' ? GlyphWidths[Font - 1][12] : GlyphWidths[Font - 1][GlyphIndex(c)]) +
                 FONT_SPACING[Font - 1];
    }
    return n > 0 ? Width - FONT_SPACING[Font - 1] : 0;
}

int TSheetPainter::fontHeight(int Font) const {
    const TFontLayout& L = FONT_LAYOUTS[Font - 1];
    const TCanvas& P = FontPicture(Set, Font).Image;
    int Tallest = 0;
    for (int g = 0; g < GLYPHS_PER_FONT; g++) {
        int ox = (g % FONT_CHARS_PER_LINE) * L.CharWidth, oy = (g / FONT_CHARS_PER_LINE) * L.CharHeight,
            h = 1;
        for (int r = L.CharHeight - 1; r >= 1 && h == 1; r--)
            for (int c = 0; c < L.CharWidth; c++)
                if (P.opaque(ox + c, oy + r)) {
                    h = r + 1;
                    break;
                }
        Tallest = std::max(Tallest, h);
    }
    return Tallest;
}

int TSheetPainter::glyph(int x, int y, int Font, unsigned char Code, TColor Color, int Scale) {
    const TFontLayout& L = FONT_LAYOUTS[Font - 1];
    const TCanvas& P = FontPicture(Set, Font).Image;
    int g = GlyphIndex(Code), ox = (g % FONT_CHARS_PER_LINE) * L.CharWidth,
        oy = (g / FONT_CHARS_PER_LINE) * L.CharHeight;
    for (int r = 0; r < L.CharHeight * Scale; r++)
        for (int k = 0; k < L.CharWidth * Scale; k++)
            if (P.opaque(ox + k / Scale, oy + r / Scale))
                T.set(x + k, y + r, Recolor(P.get(ox + k / Scale, oy + r / Scale), Color));
    return GlyphWidths[Font - 1][g];
}

int TSheetPainter::text(int x, int y, int Font, const char* Text, TColor Color, int Align) {
    int Width = textWidth(Font, Text);
    int Pen = Align == 1 ? x - Width / 2 : Align == 2 ? x - Width : x;
    for (const char* p = Text; *p; p++) {
        unsigned char c = static_cast<unsigned char>(*p);
        int Advance = c == ' ' || c == '\n' ? GlyphWidths[Font - 1][12] : glyph(Pen, y, Font, c, Color);
        Pen += Advance + FONT_SPACING[Font - 1];
    }
    return Width;
}

void TSheetPainter::picture(int x, int y, int Number, int Scale) {
    const TCanvas& P = Set.Pictures.Pictures.at(Number - 1).Image;
    for (int j = 0; j < P.height() * Scale; j++)
        for (int i = 0; i < P.width() * Scale; i++)
            if (P.opaque(i / Scale, j / Scale)) T.set(x + i, y + j, P.get(i / Scale, j / Scale));
}

void TSheetPainter::spriteMasked(int x, int y, int Number, int Mask, const TColor* Colors, int Scale) {
    if (Number == 0) return;
    const TCanvas& S = Set.Sprites.sprite(Number);
    const TCanvas* M = Mask > 0 && Colors ? &Set.Sprites.sprite(Mask) : nullptr;
    const TColor Keys[4] = {{255, 255, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (int j = 0; j < 32 * Scale; j++)
        for (int i = 0; i < 32 * Scale; i++) {
            int sx = i / Scale, sy = j / Scale;
            if (!S.opaque(sx, sy)) continue;
            TColor c = S.get(sx, sy);
            if (M && M->opaque(sx, sy))
                for (int k = 0; k < 4; k++)
                    if (M->get(sx, sy) == Keys[k]) c = Recolor(c, Colors[k]);
            T.set(x + i, y + j, c);
        }
}

void TSheetPainter::sprite(int x, int y, int Number, int Scale) {
    spriteMasked(x, y, Number, 0, nullptr, Scale);
}

void TSheetPainter::cells(int x, int y, const TDatType& Type, int PatternX, int PatternY, int Phase,
                          int Scale, bool Shift, const TColor* Colors) {
    int sx = 0, sy = 0;
    for (const TDatFlag& f : Type.Flags)
        if (Shift && f.Code == DAT_SHIFT) sx = f.Value1, sy = f.Value2;
    for (int Y = 1; Y <= Type.Height; Y++)
        for (int X = 1; X <= Type.Width; X++) {
            int Number = Type.Sprites[Type.spriteIndex(X, Y, 1, PatternX, PatternY, 1, Phase)];
            int Mask =
                Type.Layers == 2 ? Type.Sprites[Type.spriteIndex(X, Y, 2, PatternX, PatternY, 1, Phase)] : 0;
            spriteMasked(x - ((X - 1) * 32 + sx) * Scale, y - ((Y - 1) * 32 + sy) * Scale, Number, Mask,
                         Colors, Scale);
        }
}

void TSheetPainter::item(int x, int y, int Type, int PatternX, int PatternY, int Phase, int Scale) {
    const TDatType& t = Set.Dat.Items.at(Type - 100);
    cells(x, y, t, (PatternX - 1) % t.PatternWidth + 1, (PatternY - 1) % t.PatternHeight + 1,
          (Phase - 1) % t.Phases + 1, Scale, true, nullptr);
}

void TSheetPainter::outfit(int x, int y, int Number, int Direction, int Phase, const TColor Colors[4],
                           int Scale) {
    const TDatType& t = Set.Dat.Outfits.at(Number - 1);
    cells(x, y, t, Direction + 1, 1, (Phase - 1) % t.Phases + 1, Scale, true, Colors);
}

void TSheetPainter::effect(int x, int y, int Number, int Phase, int Scale) {
    const TDatType& t = Set.Dat.Effects.at(Number - 1);
    cells(x, y, t, 1, 1, (Phase - 1) % t.Phases + 1, Scale, false, nullptr);
}

void TSheetPainter::missile(int x, int y, int Number, int Direction, int Scale) {
    const int GridX[8] = {2, 3, 3, 3, 2, 1, 1, 1}, GridY[8] = {1, 1, 2, 3, 3, 3, 2, 1};
    CHECK(In(Direction, 0, 7), Direction);
    const TDatType& t = Set.Dat.Missiles.at(Number - 1);
    cells(x, y, t, GridX[Direction], GridY[Direction], 1, Scale, false, nullptr);
}
