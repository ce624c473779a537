// Drawing from the generated files the way the client does: skins, fonts, object types and outfits.
#pragma once

#include "tools/datagen/DataSet.h"

class TSheetPainter {
public:
    TSheetPainter(const TDataSet& Set, TCanvas& Target);

    // Tiles skin Skin over the area, as the client's skin drawing does (no offsets).
    void skin(int x, int y, int w, int h, int Skin);
    void skin(int x, int y, int Skin); // at its own size
    void skinScaled(int x, int y, int Skin, int Scale);
    // A nine-piece frame: corners at their own size, edges stretched by tiling, the centre tiled.
    void frame(int x, int y, int w, int h, const int Skins[9]);
    // Text in font 1..4, recoloured by brightness as the client does; returns the width drawn.
    int text(int x, int y, int Font, const char* Text, TColor Color, int Align = 0);
    int textWidth(int Font, const char* Text) const;
    // The whole glyph cell of a character code 33..255 at Scale, recoloured; returns the glyph's width as
    // the client measures it.
    int glyph(int x, int y, int Font, unsigned char Code, TColor Color, int Scale = 1);
    int fontHeight(int Font) const;
    void fillRect(int x, int y, int w, int h, TColor c) { T.fillRect(x, y, w, h, c); }
    // One picture of the picture file at (x, y) with its key transparent.
    void picture(int x, int y, int Number, int Scale = 1);
    // A sprite by number, at Scale.
    void sprite(int x, int y, int Number, int Scale = 1);
    // An item type at a field whose top left is (x, y): cells grow up and left, with shift and patterns.
    void item(int x, int y, int Type, int PatternX = 1, int PatternY = 1, int Phase = 1, int Scale = 1);
    // An outfit in direction 0..3 and phase, coloured by the four colours through its mask.
    void outfit(int x, int y, int Number, int Direction, int Phase, const TColor Colors[4], int Scale = 1);
    void effect(int x, int y, int Number, int Phase, int Scale = 1);
    void missile(int x, int y, int Number, int Direction, int Scale = 1);

private:
    void cells(int x, int y, const TDatType& Type, int PatternX, int PatternY, int Phase, int Scale,
               bool Shift, const TColor* Colors);
    void spriteMasked(int x, int y, int Number, int Mask, const TColor* Colors, int Scale);

    const TDataSet& Set;
    TCanvas& T;
    std::vector<std::vector<int>> GlyphWidths; // per font, per glyph
};
