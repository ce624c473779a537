// Writers of the sprite file Ebrun.spr and the picture file Ebrun.pic: 32 x 32 tiles coded as runs.
#pragma once

#include "tools/datagen/Canvas.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int TILE_SIDE = 32;

// The run data of one 32 x 32 tile, without the leading key: u16 DataSize, then runs of u16 transparent
// count, u16 coloured count and 3 bytes per coloured pixel, pixels counted row by row. Trailing transparent
// pixels are left out. Only the top-left 32 x 32 pixels of Tile are coded; outside pixels are transparent.
std::vector<uint8_t> EncodeTileRuns(const TCanvas& Tile, int OriginX = 0, int OriginY = 0);

// The sprites of Ebrun.spr, numbered from 1. An empty canvas is stored as offset 0 (an empty sprite).
class TSpriteFile {
public:
    uint16_t add(const TCanvas& Sprite); // checks the 32 x 32 size and the 65,535 limit
    int count() const { return static_cast<int>(Sprites.size()); }
    const TCanvas& sprite(int Number) const; // 1-based

    uint32_t Signature = 0;

private:
    std::vector<TCanvas> Sprites;
};

// A picture of Ebrun.pic: any size, cut into 32 x 32 tiles (the right and bottom tiles are padded with
// transparent pixels).
struct TPicture {
    TCanvas Image;
    TColor Key = COLOR_KEY;
    int tilesX() const { return (Image.width() + TILE_SIDE - 1) / TILE_SIDE; }
    int tilesY() const { return (Image.height() + TILE_SIDE - 1) / TILE_SIDE; }
};

struct TPictureFile {
    uint32_t Signature = 0;
    std::vector<TPicture> Pictures; // picture n is Pictures[n - 1]
};

std::vector<uint8_t> EncodeSpriteFile(const TSpriteFile& File);
std::vector<uint8_t> EncodePictureFile(const TPictureFile& File);

// Malformed sprite and picture files for the readers' tests, each derived from a well-formed one.
enum class TImageBreak {
    TRUNCATED_TABLE, // cut inside the offset table (sprites) or the picture table (pictures)
    OFFSET_PAST_END, // the last sprite's (or the first picture's first tile's) offset lies past the end
    RUN_PAST_TILE,   // the first non-empty sprite (or the first tile) holds a run past pixel 1,024
};

std::vector<uint8_t> EncodeBrokenSpriteFile(const TSpriteFile& File, TImageBreak Break);
std::vector<uint8_t> EncodeBrokenPictureFile(const TPictureFile& File, TImageBreak Break);
