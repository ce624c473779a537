// The three data files built together: object types, sprites and pictures, and their broken variants.
#pragma once

#include "tools/datagen/Catalog.h"
#include "tools/datagen/Fonts.h"

#include <string>

struct TDataOptions {
    bool RealSize = false;
    TFontFiles Fonts = DefaultFontFiles();
};

struct TDataSet {
    TDatFile Dat;
    TSpriteFile Sprites;
    TPictureFile Pictures;
};

// Pictures of the picture file by number.
inline constexpr int PICTURE_TITLE = 1, PICTURE_SPARE = 2, PICTURE_SKINS = 4, PICTURE_DARKNESS = 7;

TDataSet BuildDataSet(const TDataOptions& Options);

// The encoded files. Each signature is a hash of the rest of its file (the signatures kept in Set are not
// used), so it changes with the contents.
struct TDataFiles {
    std::vector<uint8_t> Dat, Spr, Pic;
};
TDataFiles EncodeDataSet(const TDataSet& Set);

// Writes Ebrun.dat, Ebrun.spr and Ebrun.pic into Directory (which must exist).
void WriteDataFiles(const TDataFiles& Files, const std::string& Directory);

// Writes the broken variants into Directory, one file per fault, named after the fault.
void WriteBrokenVariants(const TDataSet& Set, const std::string& Directory);
