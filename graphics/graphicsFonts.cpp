// The four bitmap fonts cut from pictures of the picture file: glyph measuring, text measuring and printing
// in any colour through recoloured font tiles of the video cache.
#include "graphics/Engine.h"
#include "graphics/graphics.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <cstring>

namespace {

// Module state: built by InitFonts after the picture file is open, freed by ExitFonts and rebuilt on reload.
struct {
    TFont Table[NumberOfFonts];
    bool Ready[NumberOfFonts] = {};
} Fonts;

constexpr int32_t COMMA_GLYPH = ',' - 32;
constexpr int32_t DELETE_GLYPH = 127 - 32; // stands in for control characters

TFont& FontRecord(int32_t FontNumber) {
    CHECK(In(FontNumber, 1, NumberOfFonts), FontNumber);
    CHECK_TEXT(Fonts.Ready[FontNumber - 1], "font not initialised", FontNumber);
    return Fonts.Table[FontNumber - 1];
}

bool IsBlank(uint8_t c) { return c == ' ' || c == '\n'; }

// The glyph of a character that is not a blank or line feed.
int32_t GlyphOf(uint8_t c) { return c >= 33 ? c - 32 : DELETE_GLYPH; }

int32_t Advance(const TFont& Font, uint8_t c) {
    return (IsBlank(c) ? Font.Width[COMMA_GLYPH] : Font.Width[GlyphOf(c)]) + Font.Spacing;
}

int32_t TextWidth(const TFont& Font, const char* Text, int32_t Length) {
    if (Length <= 0) return 0;
    int32_t Width = 0;
    for (int32_t i = 0; i < Length; i++)
        Width += Advance(Font, static_cast<uint8_t>(Text[i]));
    return Width - Font.Spacing;
}

bool KeyPixel(const uint8_t* Tile, int32_t x, int32_t y, const TPictureEntry& Picture) {
    const uint8_t* P = Tile + 3 * (y * TILE_SIZE + x);
    return P[0] == Picture.KeyRed && P[1] == Picture.KeyGreen && P[2] == Picture.KeyBlue;
}

// Measures glyph g from its cell: the rightmost and lowest columns and rows holding a non-key pixel (column
// and row 0 are not examined).
void MeasureGlyph(TFont& Font, int32_t g) {
    const int32_t OriginX = (g % Font.CharsPerLine) * Font.CharWidth;
    const int32_t OriginY = (g / Font.CharsPerLine) * Font.CharHeight;
    const TPictureEntry& Picture = GetPictureEntry(Font.Picture);
    const uint8_t* Tile = GetMemoryPictureTile(Font.Picture, OriginX / TILE_SIZE, OriginY / TILE_SIZE)->Data;
    const int32_t x0 = OriginX % TILE_SIZE, y0 = OriginY % TILE_SIZE;
    Font.Width[g] = Font.CharWidth;
    for (int32_t c = Font.CharWidth - 1, Found = 0; c >= 1 && !Found; c--)
        for (int32_t r = 0; r < Font.CharHeight && !Found; r++)
            if (!KeyPixel(Tile, x0 + c, y0 + r, Picture)) {
                Font.Width[g] = c + 1;
                Found = 1;
            }
    Font.Height[g] = 1;
    for (int32_t r = Font.CharHeight - 1, Found = 0; r >= 1 && !Found; r--)
        for (int32_t c = 0; c < Font.CharWidth && !Found; c++)
            if (!KeyPixel(Tile, x0 + c, y0 + r, Picture)) {
                Font.Height[g] = r + 1;
                Found = 1;
            }
}

void CheckAlignment(int32_t Alignment) {
    CHECK_TEXT(Alignment == LEFT_ALIGN || Alignment == CENTER_ALIGN || Alignment == RIGHT_ALIGN,
               "Alignment==LEFT_ALIGN || Alignment==CENTER_ALIGN || Alignment==RIGHT_ALIGN [bug0000845]",
               Alignment);
}

// Draws the first Length characters glyph by glyph; Clip (x, y, width, height) or nullptr.
void PrintGlyphs(int32_t Surface, int32_t x, int32_t y, int32_t FontNumber, int32_t Red, int32_t Green,
                 int32_t Blue, const char* Text, int32_t Length, int32_t Alignment, const int32_t* Clip) {
    const TFont& Font = FontRecord(FontNumber);
    const TPictureEntry& Picture = GetPictureEntry(Font.Picture);
    TSurface* Engine = GetSurface();
    int32_t Pen = x;
    if (Alignment == CENTER_ALIGN) Pen = x - TextWidth(Font, Text, Length) / 2;
    if (Alignment == RIGHT_ALIGN) Pen = x - TextWidth(Font, Text, Length);
    // Neighbouring glyphs often share a tile: the cell of the last one looked up still holds it.
    const TVideoCacheItem* Cell = nullptr;
    int32_t CellX = -1, CellY = -1;
    for (int32_t i = 0; i < Length; i++) {
        const uint8_t c = static_cast<uint8_t>(Text[i]);
        if (!IsBlank(c)) {
            const int32_t g = GlyphOf(c);
            const int32_t OriginX = (g % Font.CharsPerLine) * Font.CharWidth;
            const int32_t OriginY = (g / Font.CharsPerLine) * Font.CharHeight;
            if (Cell == nullptr || OriginX / TILE_SIZE != CellX || OriginY / TILE_SIZE != CellY) {
                CellX = OriginX / TILE_SIZE;
                CellY = OriginY / TILE_SIZE;
                Cell = GetVideoFontTile(FontNumber, CellX, CellY, Red, Green, Blue);
            }
            if (Cell == nullptr) return;
            const int32_t FromX = Cell->x + OriginX % TILE_SIZE, FromY = Cell->y + OriginY % TILE_SIZE;
            if (Clip == nullptr)
                Engine->BlitTransparent(Surface, Pen, y, SPRITE_SURFACE + Cell->Page, FromX, FromY,
                                        Font.CharWidth, Font.CharHeight, Picture.KeyRed, Picture.KeyGreen,
                                        Picture.KeyBlue);
            else
                Engine->BlitTransparentClipped(Surface, Pen, y, SPRITE_SURFACE + Cell->Page, FromX, FromY,
                                               Font.CharWidth, Font.CharHeight, Picture.KeyRed,
                                               Picture.KeyGreen, Picture.KeyBlue, Clip[0], Clip[1], Clip[2],
                                               Clip[3]);
        }
        Pen += Advance(Font, c);
    }
}

void CheckText(int32_t FontNumber, const char* Text) {
    CHECK(In(FontNumber, 1, NumberOfFonts), FontNumber);
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
}

void CheckLength(const char* Text, int32_t Length) {
    CHECK_TEXT(Length <= static_cast<int32_t>(strlen(Text)), "Length<=(int)strlen(Text)", Length);
}

void CheckFormat(const TTextFormat& Format) {
    CHECK_TEXT(
        Format.Alignment == LEFT_ALIGN || Format.Alignment == CENTER_ALIGN || Format.Alignment == RIGHT_ALIGN,
        "Format.Alignment==LEFT_ALIGN || Format.Alignment==CENTER_ALIGN || Format.Alignment==RIGHT_ALIGN",
        Format.Alignment);
}

} // namespace

void InitFont(int32_t FontNumber, int32_t Picture, int32_t CharsPerLine, int32_t CharWidth,
              int32_t CharHeight, int32_t Spacing, int32_t LineHeight) try {
    CHECK(In(FontNumber, 1, NumberOfFonts), FontNumber);
    CHECK(CharsPerLine > 0, CharsPerLine);
    CHECK(CharWidth > 0, CharWidth);
    CHECK(CharHeight > 0, CharHeight);
    // Every glyph cell must lie inside one tile of the picture.
    CHECK(TILE_SIZE % CharWidth == 0, CharWidth);
    CHECK(TILE_SIZE % CharHeight == 0, CharHeight);
    TFont& Font = Fonts.Table[FontNumber - 1];
    Fonts.Ready[FontNumber - 1] = false;
    Font.Picture = Picture;
    Font.CharsPerLine = CharsPerLine;
    Font.CharWidth = CharWidth;
    Font.CharHeight = CharHeight;
    Font.Spacing = Spacing;
    Font.LineHeight = LineHeight;
    Font.MaxHeight = 0;
    for (int32_t g = 0; g < FONT_GLYPHS; g++) {
        MeasureGlyph(Font, g);
        Font.MaxHeight = std::max(Font.MaxHeight, Font.Height[g]);
    }
    Fonts.Ready[FontNumber - 1] = true;
}
CATCH_FRAME(FontNumber)

void InitFonts() try {
    InitFont(1, 3, 32, 8, 16, 1, 12);
    InitFont(2, 5, 32, 16, 16, -1, 15);
    InitFont(3, 6, 32, 8, 8, 0, 10);
    InitFont(4, 8, 32, 8, 16, 1, 14);
}
CATCH_FRAME()

void ExitFonts() { std::fill(std::begin(Fonts.Ready), std::end(Fonts.Ready), false); }

const TFont& GetFont(int32_t FontNumber) { return FontRecord(FontNumber); }

int32_t GetFontHeight(int32_t FontNumber) try { return FontRecord(FontNumber).MaxHeight; }
CATCH_FRAME(FontNumber)

int32_t GetFontLineHeight(int32_t FontNumber) try {
    return FontRecord(In(FontNumber, 1, NumberOfFonts) ? FontNumber : 3).LineHeight;
}
CATCH_FRAME(FontNumber)

int32_t GetTextHeight(int32_t FontNumber, const char* Text) try {
    CheckText(FontNumber, Text);
    const TFont& Font = FontRecord(FontNumber);
    int32_t Height = 0;
    for (const char* c = Text; *c != 0; c++)
        if (!IsBlank(static_cast<uint8_t>(*c)))
            Height = std::max(Height, Font.Height[GlyphOf(static_cast<uint8_t>(*c))]);
    return Height;
}
CATCH_FRAME(FontNumber)

int32_t GetTextWidth(int32_t FontNumber, const char* Text, int32_t Length) try {
    CheckText(FontNumber, Text);
    CheckLength(Text, Length);
    return TextWidth(FontRecord(FontNumber), Text, Length);
}
CATCH_FRAME(FontNumber, Length)

int32_t GetStringWidth(int32_t FontNumber, const char* Text) try {
    CheckText(FontNumber, Text);
    return TextWidth(FontRecord(FontNumber), Text, static_cast<int32_t>(strlen(Text)));
}
CATCH_FRAME(FontNumber)

int32_t GetTextFitLength(int32_t FontNumber, const char* Text, int32_t Width) try {
    CheckText(FontNumber, Text);
    const TFont& Font = FontRecord(FontNumber);
    int32_t Sum = 0, k = 0;
    for (; Text[k] != 0; k++) {
        Sum += Advance(Font, static_cast<uint8_t>(Text[k]));
        if (Sum - Font.Spacing > Width) break;
    }
    return k;
}
CATCH_FRAME(FontNumber, Width)

void GetTextOrigin(int32_t& x, int32_t& y, int32_t Left, int32_t Top, int32_t Width, int32_t Height,
                   const TTextFormat& Format) try {
    x = Format.Alignment == CENTER_ALIGN  ? Left + Width / 2
        : Format.Alignment == RIGHT_ALIGN ? Left + Width
                                          : Left;
    y = Top + (Height - GetFontHeight(Format.Font)) / 2;
}
CATCH_FRAME()

void PrintTextLength(int32_t Surface, int32_t x, int32_t y, int32_t FontNumber, int32_t Red, int32_t Green,
                     int32_t Blue, const char* Text, int32_t Length, int32_t Alignment) try {
    CheckText(FontNumber, Text);
    CheckLength(Text, Length);
    CheckAlignment(Alignment);
    PrintGlyphs(Surface, x, y, FontNumber, Red, Green, Blue, Text, Length, Alignment, nullptr);
}
CATCH_FRAME(Surface, FontNumber)

void PrintText(int32_t Surface, int32_t x, int32_t y, int32_t FontNumber, int32_t Red, int32_t Green,
               int32_t Blue, const char* Text, int32_t Alignment) try {
    CheckText(FontNumber, Text);
    CheckAlignment(Alignment);
    PrintGlyphs(Surface, x, y, FontNumber, Red, Green, Blue, Text, static_cast<int32_t>(strlen(Text)),
                Alignment, nullptr);
}
CATCH_FRAME(Surface, FontNumber)

void PrintTextClipped(int32_t Surface, int32_t x, int32_t y, int32_t FontNumber, int32_t Red, int32_t Green,
                      int32_t Blue, const char* Text, int32_t Alignment, int32_t ClipX, int32_t ClipY,
                      int32_t ClipWidth, int32_t ClipHeight) try {
    CheckText(FontNumber, Text);
    CheckAlignment(Alignment);
    const int32_t Clip[4] = {ClipX, ClipY, ClipWidth, ClipHeight};
    PrintGlyphs(Surface, x, y, FontNumber, Red, Green, Blue, Text, static_cast<int32_t>(strlen(Text)),
                Alignment, Clip);
}
CATCH_FRAME(Surface, FontNumber)

void PrintFormattedText(int32_t Surface, int32_t x, int32_t y, TTextFormat Format, const char* Text) try {
    CheckFormat(Format);
    PrintText(Surface, x, y, Format.Font, Format.Red, Format.Green, Format.Blue, Text, Format.Alignment);
}
CATCH_FRAME(Surface)

void PrintFormattedTextClipped(int32_t Surface, int32_t x, int32_t y, TTextFormat Format, const char* Text,
                               int32_t ClipX, int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight) try {
    CheckFormat(Format);
    PrintTextClipped(Surface, x, y, Format.Font, Format.Red, Format.Green, Format.Blue, Text,
                     Format.Alignment, ClipX, ClipY, ClipWidth, ClipHeight);
}
CATCH_FRAME(Surface)

void PrintFormattedTextLength(int32_t Surface, int32_t x, int32_t y, TTextFormat Format, const char* Text,
                              int32_t Length) try {
    CheckFormat(Format);
    PrintTextLength(Surface, x, y, Format.Font, Format.Red, Format.Green, Format.Blue, Text, Length,
                    Format.Alignment);
}
CATCH_FRAME(Surface)
