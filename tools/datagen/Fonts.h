// The four bitmap fonts in glyph grids of 224 cells: three rendered from DejaVu with FreeType, the small one
// drawn pixel by pixel.
#pragma once

#include "tools/datagen/SpriteWriter.h"

#include <string>

// The client's font table: font n is drawn in picture Picture, 32 cells a row, character code 32 + g in
// cell g (column g mod 32, row g / 32).
struct TFontLayout {
    int Picture;
    int CharWidth, CharHeight;
};

inline constexpr int FONT_CHARS_PER_LINE = 32;
inline constexpr int GLYPHS_PER_FONT = 224;
inline constexpr TFontLayout FONT_LAYOUTS[4] = {{3, 8, 16}, {5, 16, 16}, {6, 8, 8}, {8, 8, 16}};

// Where the generator finds its fonts; the build passes the Debian paths.
struct TFontFiles {
    std::string Regular; // DejaVuSans.ttf
    std::string Bold;    // DejaVuSans-Bold.ttf
    std::string Serif;   // DejaVuSerif-Bold.ttf, for the title
};

TFontFiles FontFilesIn(const std::string& Directory);
TFontFiles DefaultFontFiles();

// The glyph grid of font 1..4. Each glyph starts at its cell's column 0 (a stroke one pixel wide at column 1,
// which the client's measuring never looks at), so its inked columns measure its width, and lies within the
// cell. Codes 128..159 follow Windows-1252, and code 127 and the codes that have no character show a box.
TPicture RenderFontPicture(int FontNumber, const TFontFiles& Files);

// Text in a large size, for the title picture: Color with a dark outline and a drop shadow, baseline at
// (x, Baseline), centred on x when Centre is set.
void RenderTitleText(TCanvas& Canvas, const std::string& FontFile, const char* Text, int PixelSize, int x,
                     int Baseline, TColor Top, TColor Bottom, bool Centre);
