// Glyphs drawn pixel by pixel: the whole small font, where at 8 x 8 no outline font stays legible, and the
// pieces that the outline fonts need where a narrow cell leaves their own glyphs no room: accents over
// shortened letters and a few signs.
#pragma once

#include "tools/datagen/Canvas.h"

#include <string>
#include <vector>

// Rows of a drawn glyph, top first, '#' for ink.
using TGlyphRows = std::vector<std::string>;

// Draws the ink of Rows in white with its top left at (Left, Top).
void DrawGlyphRows(TCanvas& Cell, const TGlyphRows& Rows, int Left, int Top);
int GlyphRowsWidth(const TGlyphRows& Rows);

// Character code 33..255 (Windows-1252) of the small font in an 8 x 8 cell: white strokes from column 0
// with a dark shadow one pixel down and right. Capitals stand in rows 1 to 5, small letters in rows 2 to 5,
// ascenders reach row 0 and descenders row 6; accented capitals are one row shorter to make room for their
// accent. Code 127 and the codes without a character show a box.
TCanvas PixelGlyph(int Code);

enum class TAccent { GRAVE, ACUTE, CIRCUMFLEX, TILDE, DIAERESIS, RING, CARON, CEDILLA };

// True when Code is a letter with an accent: Letter is the code point of the letter without it (U+0131 for
// the small i).
bool SplitAccent(int Code, int& Letter, TAccent& Accent);
// The accent's two rows, to stand right above a letter Width pixels wide (a diaeresis keeps a blank row
// between); a cedilla's one row hangs right below the letter.
TGlyphRows AccentRows(TAccent Accent, int Width);
// The accent's rows over the letter's, centred on it: as tall as both, as wide as the wider.
TGlyphRows WithAccent(const TGlyphRows& Letter, TAccent Accent);

// Signs that a 10-pixel outline face blurs in a cell 8 pixels wide, drawn by hand: rows from the top of the
// capitals (7 rows above the baseline) down; empty when the face's own glyph serves.
TGlyphRows NarrowSign(int Code);
