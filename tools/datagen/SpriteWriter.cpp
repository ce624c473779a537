// Writers of the sprite file Ebrun.spr and the picture file Ebrun.pic: 32 x 32 tiles coded as runs.
#include "tools/datagen/SpriteWriter.h"

#include "foundation/Exception.h"

namespace {

constexpr int TILE_PIXELS = TILE_SIDE * TILE_SIDE;

void PutWord(std::vector<uint8_t>& Out, uint32_t Value) {
    Out.push_back(static_cast<uint8_t>(Value & 0xFF));
    Out.push_back(static_cast<uint8_t>((Value >> 8) & 0xFF));
}

void PutQuad(std::vector<uint8_t>& Out, uint32_t Value) {
    PutWord(Out, Value & 0xFFFF);
    PutWord(Out, Value >> 16);
}

void SetQuad(std::vector<uint8_t>& Out, size_t Offset, uint32_t Value) {
    for (int i = 0; i < 4; i++)
        Out.at(Offset + i) = static_cast<uint8_t>((Value >> (8 * i)) & 0xFF);
}

uint32_t QuadAt(const std::vector<uint8_t>& In, size_t Offset) {
    uint32_t Value = 0;
    for (int i = 3; i >= 0; i--)
        Value = (Value << 8) | In.at(Offset + i);
    return Value;
}

void PutColor(std::vector<uint8_t>& Out, TColor c) {
    Out.push_back(c.r);
    Out.push_back(c.g);
    Out.push_back(c.b);
}

// A tile whose one run skips 1,000 pixels and then colours 40, so that it ends 16 pixels past the tile.
std::vector<uint8_t> RunPastTile() {
    std::vector<uint8_t> Runs;
    PutWord(Runs, 4 + 40 * 3);
    PutWord(Runs, 1000);
    PutWord(Runs, 40);
    for (int i = 0; i < 40; i++)
        PutColor(Runs, TColor{200, 40, 40});
    return Runs;
}

size_t SpriteTableOffset(int Number) { return 6 + 4 * static_cast<size_t>(Number - 1); }

// Offset of the first tile offset of picture 1.
constexpr size_t FIRST_TILE_OFFSET = 4 + 2 + 5;

} // namespace

std::vector<uint8_t> EncodeTileRuns(const TCanvas& Tile, int OriginX, int OriginY) {
    std::vector<uint8_t> Runs;
    int Pixel = 0;
    auto Opaque = [&](int p) { return Tile.opaque(OriginX + p % TILE_SIDE, OriginY + p / TILE_SIDE); };
    while (Pixel < TILE_PIXELS) {
        int Skip = 0;
        while (Pixel + Skip < TILE_PIXELS && !Opaque(Pixel + Skip))
            Skip++;
        if (Pixel + Skip == TILE_PIXELS) break;
        int Count = 0;
        while (Pixel + Skip + Count < TILE_PIXELS && Opaque(Pixel + Skip + Count))
            Count++;
        PutWord(Runs, static_cast<uint32_t>(Skip));
        PutWord(Runs, static_cast<uint32_t>(Count));
        for (int p = Pixel + Skip; p < Pixel + Skip + Count; p++) {
            TColor c = Tile.get(OriginX + p % TILE_SIDE, OriginY + p / TILE_SIDE);
            CHECK(c != COLOR_KEY && !MatchesKeyAt16Bits(c), p);
            PutColor(Runs, c);
        }
        Pixel += Skip + Count;
    }
    std::vector<uint8_t> Out;
    PutWord(Out, static_cast<uint32_t>(Runs.size()));
    Out.insert(Out.end(), Runs.begin(), Runs.end());
    return Out;
}

uint16_t TSpriteFile::add(const TCanvas& Sprite) {
    CHECK(Sprite.width() == TILE_SIDE && Sprite.height() == TILE_SIDE, Sprite.width(), Sprite.height());
    CHECK(Sprites.size() < 0xFFFF, static_cast<int32_t>(Sprites.size()));
    Sprites.push_back(Sprite);
    return static_cast<uint16_t>(Sprites.size());
}

const TCanvas& TSpriteFile::sprite(int Number) const {
    CHECK(In(Number, 1, count()), Number);
    return Sprites[Number - 1];
}

std::vector<uint8_t> EncodeSpriteFile(const TSpriteFile& File) {
    std::vector<uint8_t> Out;
    PutQuad(Out, File.Signature);
    PutWord(Out, static_cast<uint32_t>(File.count()));
    size_t Table = Out.size();
    Out.resize(Out.size() + 4 * static_cast<size_t>(File.count()), 0);
    for (int Number = 1; Number <= File.count(); Number++) {
        const TCanvas& Sprite = File.sprite(Number);
        if (Sprite.empty()) continue;
        SetQuad(Out, Table + 4 * static_cast<size_t>(Number - 1), static_cast<uint32_t>(Out.size()));
        PutColor(Out, COLOR_KEY);
        std::vector<uint8_t> Runs = EncodeTileRuns(Sprite);
        Out.insert(Out.end(), Runs.begin(), Runs.end());
    }
    return Out;
}

std::vector<uint8_t> EncodePictureFile(const TPictureFile& File) {
    CHECK(File.Pictures.size() <= 0xFFFF, static_cast<int32_t>(File.Pictures.size()));
    std::vector<uint8_t> Out;
    PutQuad(Out, File.Signature);
    PutWord(Out, static_cast<uint32_t>(File.Pictures.size()));
    std::vector<size_t> Tables;
    for (const TPicture& Picture : File.Pictures) {
        CHECK(In(Picture.tilesX(), 1, 255) && In(Picture.tilesY(), 1, 255), Picture.tilesX(),
              Picture.tilesY());
        Out.push_back(static_cast<uint8_t>(Picture.tilesX()));
        Out.push_back(static_cast<uint8_t>(Picture.tilesY()));
        PutColor(Out, Picture.Key);
        Tables.push_back(Out.size());
        Out.resize(Out.size() + 4 * static_cast<size_t>(Picture.tilesX() * Picture.tilesY()), 0);
    }
    for (size_t p = 0; p < File.Pictures.size(); p++) {
        const TPicture& Picture = File.Pictures[p];
        for (int TileY = 0; TileY < Picture.tilesY(); TileY++)
            for (int TileX = 0; TileX < Picture.tilesX(); TileX++) {
                size_t Entry = Tables[p] + 4 * static_cast<size_t>(TileY * Picture.tilesX() + TileX);
                SetQuad(Out, Entry, static_cast<uint32_t>(Out.size()));
                std::vector<uint8_t> Runs =
                    EncodeTileRuns(Picture.Image, TileX * TILE_SIDE, TileY * TILE_SIDE);
                Out.insert(Out.end(), Runs.begin(), Runs.end());
            }
    }
    return Out;
}

std::vector<uint8_t> EncodeBrokenSpriteFile(const TSpriteFile& File, TImageBreak Break) {
    CHECK(File.count() >= 2, File.count());
    std::vector<uint8_t> Bytes = EncodeSpriteFile(File);
    switch (Break) {
    case TImageBreak::TRUNCATED_TABLE:
        Bytes.resize(SpriteTableOffset(File.count() / 2) + 2);
        break;
    case TImageBreak::OFFSET_PAST_END:
        SetQuad(Bytes, SpriteTableOffset(File.count()), static_cast<uint32_t>(Bytes.size() + 100));
        break;
    case TImageBreak::RUN_PAST_TILE: {
        int Number = 1;
        while (Number <= File.count() && QuadAt(Bytes, SpriteTableOffset(Number)) == 0)
            Number++;
        CHECK(Number <= File.count(), Number);
        SetQuad(Bytes, SpriteTableOffset(Number), static_cast<uint32_t>(Bytes.size()));
        PutColor(Bytes, COLOR_KEY);
        std::vector<uint8_t> Runs = RunPastTile();
        Bytes.insert(Bytes.end(), Runs.begin(), Runs.end());
        break;
    }
    }
    return Bytes;
}

std::vector<uint8_t> EncodeBrokenPictureFile(const TPictureFile& File, TImageBreak Break) {
    CHECK(!File.Pictures.empty());
    std::vector<uint8_t> Bytes = EncodePictureFile(File);
    switch (Break) {
    case TImageBreak::TRUNCATED_TABLE:
        Bytes.resize(FIRST_TILE_OFFSET + 2);
        break;
    case TImageBreak::OFFSET_PAST_END:
        SetQuad(Bytes, FIRST_TILE_OFFSET, static_cast<uint32_t>(Bytes.size() + 100));
        break;
    case TImageBreak::RUN_PAST_TILE: {
        SetQuad(Bytes, FIRST_TILE_OFFSET, static_cast<uint32_t>(Bytes.size()));
        std::vector<uint8_t> Runs = RunPastTile();
        Bytes.insert(Bytes.end(), Runs.begin(), Runs.end());
        break;
    }
    }
    return Bytes;
}
