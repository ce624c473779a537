// The four bitmap fonts, rendered from DejaVu with FreeType into glyph grids of 224 cells.
#include "tools/datagen/Fonts.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <ft2build.h>
#include FT_FREETYPE_H

#ifndef DATAGEN_FONT_DIR
#define DATAGEN_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {

// How one font is drawn: face, size, where the baseline sits in the cell and what surrounds the strokes.
enum class TGlyphStyle { PLAIN, SHADOW, OUTLINE };

struct TFontStyle {
    bool Bold;
    int PixelSize;
    int Baseline; // cell row of the baseline
    TGlyphStyle Style;
};

constexpr TFontStyle FONT_STYLES[4] = {
    {false, 10, 11, TGlyphStyle::PLAIN},
    {true, 11, 12, TGlyphStyle::OUTLINE},
    {true, 8, 6, TGlyphStyle::SHADOW},
    {false, 11, 12, TGlyphStyle::PLAIN},
};

// Windows-1252 characters of the codes 128..159; 0 where the code page has none.
constexpr uint32_t CP1252_HIGH[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

uint32_t CodePoint(int Code) {
    if (Code == 127) return 0;
    if (Code >= 128 && Code < 160) return CP1252_HIGH[Code - 128];
    return static_cast<uint32_t>(Code);
}

// One FreeType face, released with its library.
class TFace {
public:
    TFace(const std::string& File, int PixelSize) {
        CHECK_TEXT(FT_Init_FreeType(&Library) == 0, "FT_Init_FreeType");
        if (FT_New_Face(Library, File.c_str(), 0, &Face) != 0) {
            FT_Done_FreeType(Library);
            throw TMyException(__FILE__, __LINE__, "failed to open file", "", 0, "", 0, File);
        }
        FT_Set_Pixel_Sizes(Face, 0, static_cast<FT_UInt>(PixelSize));
    }
    ~TFace() {
        FT_Done_Face(Face);
        FT_Done_FreeType(Library);
    }
    TFace(const TFace&) = delete;
    TFace& operator=(const TFace&) = delete;

    // Renders a character squeezed horizontally by Scale; false when the face has no glyph for it.
    bool render(uint32_t Char, double Scale, bool Mono) {
        FT_UInt Index = FT_Get_Char_Index(Face, Char);
        if (Index == 0) return false;
        FT_Matrix Matrix{static_cast<FT_Fixed>(Scale * 0x10000), 0, 0, 0x10000};
        FT_Set_Transform(Face, &Matrix, nullptr);
        FT_Int32 Flags = FT_LOAD_RENDER | (Mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
        return FT_Load_Glyph(Face, Index, Flags) == 0;
    }
    FT_GlyphSlot slot() const { return Face->glyph; }
    // Coverage 0..255 of bitmap pixel (x, y) of the last rendered glyph.
    int coverage(int x, int y) const {
        const FT_Bitmap& B = Face->glyph->bitmap;
        const unsigned char* Row = B.buffer + static_cast<ptrdiff_t>(y) * B.pitch;
        if (B.pixel_mode == FT_PIXEL_MODE_MONO) return (Row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        return Row[x];
    }

private:
    FT_Library Library = nullptr;
    FT_Face Face = nullptr;
};

// Draws the strokes of the last rendered glyph into a cell canvas with its ink starting at column Left.
void PlaceStrokes(const TFace& Face, TCanvas& Cell, int Left, int Baseline) {
    const FT_Bitmap& B = Face.slot()->bitmap;
    int Top = Baseline - Face.slot()->bitmap_top;
    for (int y = 0; y < static_cast<int>(B.rows); y++)
        for (int x = 0; x < static_cast<int>(B.width); x++)
            if (Face.coverage(x, y) >= 128) Cell.set(Left + x, Top + y, TColor{255, 255, 255});
}

// The box shown for codes without a character.
void DrawBox(TCanvas& Cell, int Left, int Baseline, int CapHeight) {
    int w = std::min(Cell.width() - Left - 1, std::max(3, CapHeight * 2 / 3));
    Cell.frameRect(Left, Baseline - CapHeight, w, CapHeight, TColor{255, 255, 255});
}

void AddSurround(TCanvas& Cell, TGlyphStyle Style) {
    if (Style == TGlyphStyle::OUTLINE) {
        Cell.outline(TColor{0, 0, 0});
    } else if (Style == TGlyphStyle::SHADOW) {
        TCanvas Strokes = Cell;
        for (int y = Cell.height() - 1; y >= 0; y--)
            for (int x = Cell.width() - 1; x >= 0; x--)
                if (Strokes.opaque(x, y) && !Strokes.opaque(x + 1, y + 1))
                    Cell.set(x + 1, y + 1, TColor{24, 24, 24});
    }
}

// One glyph cell: squeezed until its strokes and surround fit the cell width.
TCanvas RenderGlyphCell(TFace& Face, int Code, const TFontLayout& Layout, const TFontStyle& Style) {
    int Margin = Style.Style == TGlyphStyle::PLAIN ? 0 : 1;
    int Left = Style.Style == TGlyphStyle::OUTLINE ? 1 : 0;
    TCanvas Cell(Layout.CharWidth, Layout.CharHeight);
    if (Code == 32) return Cell;
    uint32_t Char = CodePoint(Code);
    bool Drawn = false;
    for (double Scale = 1.0; Char != 0 && Scale > 0.45 && !Drawn; Scale -= 0.1) {
        if (!Face.render(Char, Scale, true)) break;
        int Width = static_cast<int>(Face.slot()->bitmap.width);
        if (Width + Left + Margin <= Layout.CharWidth || Scale < 0.55) {
            // The client measures a glyph from its rightmost inked column but never looks at column 0:
            // a stroke one pixel wide goes to column 1 so that it measures 2 and not the whole cell.
            PlaceStrokes(Face, Cell, Width <= 1 && Left == 0 ? 1 : Left, Style.Baseline);
            Drawn = true;
        }
    }
    if (!Drawn) DrawBox(Cell, Left, Style.Baseline, std::max(3, Style.PixelSize * 2 / 3));
    AddSurround(Cell, Style.Style);
    return Cell;
}

} // namespace

TFontFiles DefaultFontFiles() {
    std::string Dir = DATAGEN_FONT_DIR;
    return {Dir + "/DejaVuSans.ttf", Dir + "/DejaVuSans-Bold.ttf", Dir + "/DejaVuSerif-Bold.ttf"};
}

TPicture RenderFontPicture(int FontNumber, const TFontFiles& Files) {
    CHECK(In(FontNumber, 1, 4), FontNumber);
    const TFontLayout& Layout = FONT_LAYOUTS[FontNumber - 1];
    const TFontStyle& Style = FONT_STYLES[FontNumber - 1];
    TFace Face(Style.Bold ? Files.Bold : Files.Regular, Style.PixelSize);
    int Rows = (GLYPHS_PER_FONT + FONT_CHARS_PER_LINE - 1) / FONT_CHARS_PER_LINE;
    TPicture Picture;
    Picture.Image = TCanvas(FONT_CHARS_PER_LINE * Layout.CharWidth, Rows * Layout.CharHeight);
    for (int g = 0; g < GLYPHS_PER_FONT; g++) {
        TCanvas Cell = RenderGlyphCell(Face, 32 + g, Layout, Style);
        Picture.Image.paste(Cell, (g % FONT_CHARS_PER_LINE) * Layout.CharWidth,
                            (g / FONT_CHARS_PER_LINE) * Layout.CharHeight);
    }
    return Picture;
}

void RenderTitleText(TCanvas& Canvas, const std::string& FontFile, const char* Text, int PixelSize, int x,
                     int Baseline, TColor Top, TColor Bottom, bool Centre) {
    TFace Face(FontFile, PixelSize);
    // Lay the text out once to learn its width, then draw shadow, outline and fill in three passes.
    int Width = 0;
    for (const char* p = Text; *p; p++)
        if (Face.render(static_cast<unsigned char>(*p), 1.0, false))
            Width += static_cast<int>(Face.slot()->advance.x >> 6);
    int Start = Centre ? x - Width / 2 : x;
    for (int Pass = 0; Pass < 3; Pass++) {
        int Pen = Start;
        for (const char* p = Text; *p; p++) {
            if (!Face.render(static_cast<unsigned char>(*p), 1.0, false)) continue;
            const FT_Bitmap& B = Face.slot()->bitmap;
            int Left = Pen + Face.slot()->bitmap_left, TopRow = Baseline - Face.slot()->bitmap_top;
            for (int y = 0; y < static_cast<int>(B.rows); y++)
                for (int xx = 0; xx < static_cast<int>(B.width); xx++) {
                    double a = Face.coverage(xx, y) / 255.0;
                    if (a <= 0) continue;
                    int px = Left + xx, py = TopRow + y;
                    TColor Fill =
                        Mix(Top, Bottom,
                            std::clamp((py - (Baseline - PixelSize * 0.75)) / (PixelSize * 0.8), 0.0, 1.0));
                    if (Pass == 0) Canvas.blend(px + 4, py + 4, TColor{10, 6, 4}, a * 0.7);
                    if (Pass == 1)
                        for (int dy = -2; dy <= 2; dy++)
                            for (int dx = -2; dx <= 2; dx++)
                                if (dx * dx + dy * dy <= 5)
                                    Canvas.blend(px + dx, py + dy, TColor{28, 16, 8}, a);
                    if (Pass == 2) Canvas.blend(px, py, Fill, a);
                }
            Pen += static_cast<int>(Face.slot()->advance.x >> 6);
        }
    }
}
