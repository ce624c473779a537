// The four bitmap fonts: three rendered from DejaVu with FreeType, the small one drawn pixel by pixel.
#include "tools/datagen/Fonts.h"

#include "tools/datagen/PixelFont.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <ft2build.h>
#include <memory>
#include FT_FREETYPE_H

#ifndef DATAGEN_FONT_DIR
#define DATAGEN_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {

// How one font is drawn: face, size, where the baseline sits in the cell and what surrounds the strokes.
enum class TFaceKind { PIXEL, REGULAR, BOLD };
enum class TGlyphStyle { PLAIN, OUTLINE };

struct TFontStyle {
    TFaceKind Face;
    int PixelSize;
    int Baseline; // cell row just below the baseline
    TGlyphStyle Style;
};

// Font 4's digits stand under "Cap:" and "Soul:" 11 rows into a well 21 rows high: they end by row 7, one
// row clear of the well's rim.
constexpr TFontStyle FONT_STYLES[4] = {
    {TFaceKind::REGULAR, 10, 11, TGlyphStyle::PLAIN},
    {TFaceKind::BOLD, 11, 12, TGlyphStyle::OUTLINE},
    {TFaceKind::PIXEL, 0, 0, TGlyphStyle::PLAIN}, // with the shadow PixelGlyph draws
    {TFaceKind::REGULAR, 10, 8, TGlyphStyle::PLAIN},
};

constexpr int SOFT_HYPHEN = 173;

// Windows-1252 characters of the codes 128..159; 0 where the code page has none.
constexpr uint32_t CP1252_HIGH[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

uint32_t CodePoint(int Code) {
    if (Code == 127) return 0;
    if (Code == SOFT_HYPHEN) return '-';
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
            throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "failed to open file", "", 0, "", 0, File);
        }
        setSize(PixelSize);
    }
    ~TFace() {
        FT_Done_Face(Face);
        FT_Done_FreeType(Library);
    }
    TFace(const TFace&) = delete;
    TFace& operator=(const TFace&) = delete;

    void setSize(int PixelSize) { FT_Set_Pixel_Sizes(Face, 0, static_cast<FT_UInt>(PixelSize)); }
    // Renders a character; false when the face has no glyph for it.
    bool render(uint32_t Char, bool Mono) {
        FT_UInt Index = FT_Get_Char_Index(Face, Char);
        if (Index == 0) return false;
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

// A glyph's strokes and the cell row of its top.
struct TStrokes {
    TGlyphRows Rows;
    int Top;
    int width() const { return GlyphRowsWidth(Rows); }
    int bottom() const { return Top + static_cast<int>(Rows.size()); }
};

// The strokes of the last rendered glyph, placed on the baseline.
TStrokes Strokes(const TFace& Face, int Baseline) {
    const FT_Bitmap& B = Face.slot()->bitmap;
    TStrokes S{TGlyphRows(B.rows, std::string(B.width, '.')), Baseline - Face.slot()->bitmap_top};
    for (int y = 0; y < static_cast<int>(B.rows); y++)
        for (int x = 0; x < static_cast<int>(B.width); x++)
            if (Face.coverage(x, y) >= 128) S.Rows[y][x] = '#';
    return S;
}

TGlyphRows Transposed(const TGlyphRows& Rows) {
    TGlyphRows Columns(GlyphRowsWidth(Rows), std::string(Rows.size(), '.'));
    for (size_t y = 0; y < Rows.size(); y++)
        for (size_t x = 0; x < Rows[y].size(); x++)
            Columns[x][y] = Rows[y][x];
    return Columns;
}

// The row that repeats the one below it (a straight stretch of the strokes) nearest the middle, or -1.
int RepeatedRow(const TGlyphRows& Rows) {
    const int n = static_cast<int>(Rows.size()), Middle = n / 2;
    for (int d = 0; d < n; d++)
        for (int i : {Middle + d, Middle - d})
            if (i >= 0 && i + 1 < n && Rows[i] == Rows[i + 1]) return i;
    return -1;
}

// Takes Count rows out of the strokes, repeated rows first, else the middle one; Keep says which edge stays.
void Shorten(TStrokes& S, int Count, bool KeepBottom) {
    for (; Count > 0 && S.Rows.size() > 1; Count--) {
        const int Row = RepeatedRow(S.Rows);
        S.Rows.erase(S.Rows.begin() + (Row >= 0 ? Row : static_cast<int>(S.Rows.size()) / 2));
        if (KeepBottom) S.Top++;
    }
}

// Takes Count repeated columns out of the strokes; false, and nothing taken, when there are too few.
bool Narrow(TStrokes& S, int Count) {
    TGlyphRows Columns = Transposed(S.Rows);
    for (; Count > 0; Count--) {
        const int Column = RepeatedRow(Columns);
        if (Column < 0) return false;
        Columns.erase(Columns.begin() + Column);
    }
    S.Rows = Transposed(Columns);
    return true;
}

// Where strokes Width pixels wide start: the client measures a glyph from its rightmost inked column but
// never looks at column 0, so a stroke one pixel wide goes to column 1 to measure 2 and not the whole cell.
int StrokeLeft(int Width, int Left) { return Width <= 1 && Left == 0 ? 1 : Left; }

// Glyph drawing of one outline font.
class TOutlineFont {
public:
    TOutlineFont(const TFontFiles& Files, const TFontLayout& Layout, const TFontStyle& Style)
        : Face(Style.Face == TFaceKind::BOLD ? Files.Bold : Files.Regular, Style.PixelSize), Layout(Layout),
          Style(Style), Margin(Style.Style == TGlyphStyle::PLAIN ? 0 : 1),
          Left(Style.Style == TGlyphStyle::OUTLINE ? 1 : 0) {}

    TCanvas cell(int Code);

private:
    bool strokes(int Code, TStrokes& S);
    bool accented(int Code, TStrokes& S);
    void fitWidth(uint32_t Char, TStrokes& S);
    int excessWidth(const TStrokes& S) const { return Left + S.width() + Margin - Layout.CharWidth; }

    TFace Face;
    const TFontLayout& Layout;
    const TFontStyle& Style;
    const int Margin, Left;
};

TCanvas TOutlineFont::cell(int Code) {
    TCanvas Cell(Layout.CharWidth, Layout.CharHeight);
    constexpr int CAPITAL_ROWS = 7; // of the drawn signs
    const TGlyphRows Sign = Layout.CharWidth <= 8 ? NarrowSign(Code) : TGlyphRows();
    TStrokes S;
    if (!Sign.empty()) {
        DrawGlyphRows(Cell, Sign, Left, Style.Baseline - CAPITAL_ROWS);
    } else if (strokes(Code, S)) {
        DrawGlyphRows(Cell, S.Rows, StrokeLeft(S.width(), Left), S.Top);
    } else {
        // The box shown for codes without a character.
        const int Height = std::max(3, Style.PixelSize * 2 / 3);
        Cell.frameRect(Left, Style.Baseline - Height, std::max(3, Height * 2 / 3), Height,
                       TColor{255, 255, 255});
    }
    if (Style.Style == TGlyphStyle::OUTLINE) Cell.outline(TColor{0, 0, 0});
    return Cell;
}

// The face's glyph made to fit the cell: narrowed by repeated columns where it is a little too wide, else
// drawn smaller (a hinted smaller size stays crisp where a squeezed outline blurs into a blob); shortened
// where it is too tall, an accented letter by rows of the letter so that the accent keeps its shape.
bool TOutlineFont::strokes(int Code, TStrokes& S) {
    const uint32_t Char = CodePoint(Code);
    if (Char == 0 || !Face.render(Char, true)) return false;
    S = Strokes(Face, Style.Baseline);
    if (S.Top < Margin && accented(Code, S)) return true;
    if (Code == SOFT_HYPHEN) Narrow(S, 1); // a hyphen that can be told from '-'
    fitWidth(Char, S);
    Shorten(S, Margin - S.Top, true);
    Shorten(S, S.bottom() + Margin - Layout.CharHeight, false);
    return true;
}

void TOutlineFont::fitWidth(uint32_t Char, TStrokes& S) {
    if (excessWidth(S) <= 0 || Narrow(S, excessWidth(S))) return;
    for (int Size = Style.PixelSize - 1; Size >= Style.PixelSize / 2 && excessWidth(S) > 0; Size--) {
        Face.setSize(Size);
        if (Face.render(Char, true)) S = Strokes(Face, Style.Baseline);
    }
    Face.setSize(Style.PixelSize);
}

// A letter whose accent finds no room above it: the letter shortened by the accent's rows, its foot kept on
// the baseline, and the drawn accent right above it.
bool TOutlineFont::accented(int Code, TStrokes& S) {
    int Letter = 0;
    TAccent Accent = TAccent::GRAVE;
    if (!SplitAccent(Code, Letter, Accent) || Accent == TAccent::CEDILLA) return false;
    if (!Face.render(static_cast<uint32_t>(Letter), true)) return false;
    TStrokes Body = Strokes(Face, Style.Baseline);
    const int Room = static_cast<int>(AccentRows(Accent, Body.width()).size());
    Shorten(Body, Margin + Room - Body.Top, true);
    S = {WithAccent(Body.Rows, Accent), Body.Top - Room};
    return true;
}

} // namespace

TFontFiles FontFilesIn(const std::string& Directory) {
    return {Directory + "/DejaVuSans.ttf", Directory + "/DejaVuSans-Bold.ttf",
            Directory + "/DejaVuSerif-Bold.ttf"};
}

TFontFiles DefaultFontFiles() { return FontFilesIn(DATAGEN_FONT_DIR); }

TPicture RenderFontPicture(int FontNumber, const TFontFiles& Files) {
    CHECK(In(FontNumber, 1, 4), FontNumber);
    const TFontLayout& Layout = FONT_LAYOUTS[FontNumber - 1];
    const TFontStyle& Style = FONT_STYLES[FontNumber - 1];
    std::unique_ptr<TOutlineFont> Outline;
    if (Style.Face != TFaceKind::PIXEL) Outline = std::make_unique<TOutlineFont>(Files, Layout, Style);
    int Rows = (GLYPHS_PER_FONT + FONT_CHARS_PER_LINE - 1) / FONT_CHARS_PER_LINE;
    TPicture Picture;
    Picture.Image = TCanvas(FONT_CHARS_PER_LINE * Layout.CharWidth, Rows * Layout.CharHeight);
    // Glyph 0 is the blank: its cell stays empty.
    for (int g = 1; g < GLYPHS_PER_FONT; g++) {
        TCanvas Cell = Outline != nullptr ? Outline->cell(32 + g) : PixelGlyph(32 + g);
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
        if (Face.render(static_cast<unsigned char>(*p), false))
            Width += static_cast<int>(Face.slot()->advance.x >> 6);
    int Start = Centre ? x - Width / 2 : x;
    for (int Pass = 0; Pass < 3; Pass++) {
        int Pen = Start;
        for (const char* p = Text; *p; p++) {
            if (!Face.render(static_cast<unsigned char>(*p), false)) continue;
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
