// The sprite and picture files: headers and offset tables, decoding of 32 x 32 tiles, reloads, and the
// graphics module's start and stop.
//
// Ebrun.spr: u32 signature, u16 NumberOfSprites, u32 offset per sprite (0 = empty). At a sprite's offset:
// u8 key red, green, blue, u16 DataSize, then runs until DataSize bytes are used: u16 transparent pixels,
// u16 N coloured pixels, N x (red, green, blue). Pixels count row by row from the top left.
// Ebrun.pic: u32 signature, u16 NumberOfPictures, per picture u8 TilesX, u8 TilesY, u8 key red, green, blue
// and TilesX x TilesY u32 tile offsets row by row. A tile is coded like a sprite without the key bytes.
// Every number read is untrusted: offsets beyond what a seek can reach and runs past the tile mark the file
// corrupt.
#include "graphics/graphics.h"

#include "foundation/Exception.h"
#include "foundation/Script.h"

#include <cstring>
#include <limits>
#include <vector>

namespace {

// Module state: the two tables, kept from InitGraphics to ExitGraphics and rebuilt by the reloads. Each file
// stays open from its OpenSpriteFile or OpenPictureFile to the next one or ExitGraphics, so a tile load only
// seeks; a reload opens the file again by name, as a download installs a new file by renaming it over the
// old one.
struct {
    TBinaryReader SpriteReader, PictureReader;
    uint32_t SpriteSignature = 0, PictureSignature = 0;
    std::vector<TSpriteEntry> Sprites;
    std::vector<TPictureEntry> Pictures;
} Files;

// The reader's and the decoder's own failures; a failed check is not one of them.
struct TCorruptTile {};

void FillKey(uint8_t* Buffer, int32_t Red, int32_t Green, int32_t Blue) {
    for (int32_t i = 0; i < TILE_PIXELS; i++) {
        Buffer[3 * i] = static_cast<uint8_t>(Red);
        Buffer[3 * i + 1] = static_cast<uint8_t>(Green);
        Buffer[3 * i + 2] = static_cast<uint8_t>(Blue);
    }
}

void SeekTo(TBinaryReader& Reader, uint32_t Offset) {
    if (Offset > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) throw TCorruptTile();
    Reader.seek(static_cast<int32_t>(Offset));
}

// Reads u16 DataSize and the runs over Buffer, which holds the key colour everywhere.
void DecodeRuns(TBinaryReader& Reader, uint8_t* Buffer) {
    const int32_t DataSize = Reader.readWord();
    int32_t Used = 0, Pixel = 0;
    while (Used < DataSize) {
        Pixel += Reader.readWord();
        const int32_t Coloured = Reader.readWord();
        Used += 4 + 3 * Coloured;
        if (Coloured > 0 && Pixel + Coloured > TILE_PIXELS) throw TCorruptTile();
        Reader.readBytes(Buffer + 3 * Pixel, 3 * Coloured);
        Pixel += Coloured;
    }
}

void ReadPictureTable(TBinaryReader& Reader) {
    Files.PictureSignature = Reader.readQuad();
    const int32_t Count = Reader.readWord();
    Files.Pictures.clear();
    Files.Pictures.reserve(Count);
    for (int32_t p = 0; p < Count; p++) {
        TPictureEntry Entry;
        Entry.TilesX = Reader.readByte();
        Entry.TilesY = Reader.readByte();
        Entry.KeyRed = Reader.readByte();
        Entry.KeyGreen = Reader.readByte();
        Entry.KeyBlue = Reader.readByte();
        const int32_t Tiles = Entry.TilesX * Entry.TilesY;
        Entry.Offsets = std::make_unique<uint32_t[]>(Tiles);
        for (int32_t t = 0; t < Tiles; t++)
            Entry.Offsets[t] = Reader.readQuad();
        Files.Pictures.push_back(std::move(Entry));
    }
}

} // namespace

uint32_t GetSpriteSignature() { return Files.SpriteSignature; }
uint32_t GetPictureSignature() { return Files.PictureSignature; }
int32_t GetNumberOfSprites() { return static_cast<int32_t>(Files.Sprites.size()); }
int32_t GetNumberOfPictures() { return static_cast<int32_t>(Files.Pictures.size()); }

const TSpriteEntry& GetSpriteEntry(int32_t SpriteNumber) {
    const int32_t NumberOfSprites = GetNumberOfSprites();
    CHECK(In(SpriteNumber, 1, NumberOfSprites), SpriteNumber, NumberOfSprites);
    return Files.Sprites[SpriteNumber - 1];
}

const TPictureEntry& GetPictureEntry(int32_t PictureNumber) {
    const int32_t NumberOfPictures = GetNumberOfPictures();
    CHECK(In(PictureNumber, 1, NumberOfPictures), PictureNumber, NumberOfPictures);
    return Files.Pictures[PictureNumber - 1];
}

void OpenSpriteFile(const char* FileName) try {
    CHECK_TEXT(FileName != nullptr, "FileName!=NULL");
    CHECK_TEXT(strlen(FileName) < MAX_PATH_LENGTH, "strlen(FileName)<PATH_MAX");
    Files.Sprites.clear();
    TBinaryReader& Reader = Files.SpriteReader;
    Reader.close();
    try {
        Reader.open(FileName);
        Files.SpriteSignature = Reader.readQuad();
        const int32_t Count = Reader.readWord();
        Files.Sprites.resize(Count, TSpriteEntry{0, 0, 0, 0});
        for (TSpriteEntry& Entry : Files.Sprites)
            Entry.Offset = Reader.readQuad();
    } catch (const TMyException&) {
        Files.Sprites.clear();
        Reader.close();
        throw PROGRAM_ERROR(2);
    }
}
CATCH_FRAME()

void OpenPictureFile(const char* FileName) try {
    CHECK_TEXT(FileName != nullptr, "FileName!=NULL");
    CHECK_TEXT(strlen(FileName) < MAX_PATH_LENGTH, "strlen(FileName)<PATH_MAX");
    TBinaryReader& Reader = Files.PictureReader;
    Reader.close();
    try {
        Reader.open(FileName);
        ReadPictureTable(Reader);
    } catch (const TMyException&) {
        Files.Pictures.clear();
        Reader.close();
        throw PROGRAM_ERROR(3);
    }
}
CATCH_FRAME()

void LoadSprite(int32_t SpriteNumber, uint8_t* Buffer) try {
    const int32_t NumberOfSprites = GetNumberOfSprites();
    CHECK(In(SpriteNumber, 1, NumberOfSprites), SpriteNumber, NumberOfSprites);
    CHECK_TEXT(Buffer != nullptr, "Buffer!=NULL");
    TSpriteEntry& Entry = Files.Sprites[SpriteNumber - 1];
    if (Entry.Offset == 0) {
        Entry.KeyRed = Entry.KeyGreen = Entry.KeyBlue = 0;
        std::memset(Buffer, 0, TILE_BYTES);
        return;
    }
    try {
        TBinaryReader& Reader = Files.SpriteReader;
        SeekTo(Reader, Entry.Offset);
        const int32_t Red = Reader.readByte(), Green = Reader.readByte(), Blue = Reader.readByte();
        Entry.KeyRed = Red;
        Entry.KeyGreen = Green;
        Entry.KeyBlue = Blue;
        FillKey(Buffer, Red, Green, Blue);
        DecodeRuns(Reader, Buffer);
    } catch (const TMyException&) {
        throw PROGRAM_ERROR(4);
    } catch (TCorruptTile) {
        throw PROGRAM_ERROR(4);
    }
}
CATCH_FRAME(SpriteNumber)

void LoadPictureTile(int32_t PictureNumber, int32_t TileX, int32_t TileY, uint8_t* Buffer) try {
    const int32_t NumberOfPictures = GetNumberOfPictures();
    CHECK(In(PictureNumber, 1, NumberOfPictures), PictureNumber, NumberOfPictures);
    CHECK_TEXT(Buffer != nullptr, "Buffer!=NULL");
    const TPictureEntry& Picture = Files.Pictures[PictureNumber - 1];
    CHECK(In(TileX, 0, Picture.TilesX - 1), TileX);
    CHECK(In(TileY, 0, Picture.TilesY - 1), TileY);
    try {
        TBinaryReader& Reader = Files.PictureReader;
        SeekTo(Reader, Picture.Offsets[TileY * Picture.TilesX + TileX]);
        FillKey(Buffer, Picture.KeyRed, Picture.KeyGreen, Picture.KeyBlue);
        DecodeRuns(Reader, Buffer);
    } catch (const TMyException&) {
        throw PROGRAM_ERROR(5);
    } catch (TCorruptTile) {
        throw PROGRAM_ERROR(5);
    }
}
CATCH_FRAME(PictureNumber)

void ReloadSprites() try {
    ResetVideoCache();
    ResetMemoryCache();
    Files.Sprites.clear();
    OpenSpriteFile("Ebrun.spr");
}
CATCH_FRAME()

void ReloadPictures() try {
    ResetVideoCache();
    ResetMemoryCache();
    ExitFonts();
    Files.Pictures.clear();
    OpenPictureFile("Ebrun.pic");
    InitFonts();
}
CATCH_FRAME()

void InitGraphics(int32_t MemoryCacheBytes) try {
    OpenSpriteFile("Ebrun.spr");
    OpenPictureFile("Ebrun.pic");
    InitMemoryCache(MemoryCacheBytes);
    InitFonts();
}
CATCH_FRAME(MemoryCacheBytes)

void ExitGraphics() {
    ExitVideoCache();
    ExitMemoryCache();
    ExitFonts();
    Files.Pictures.clear();
    Files.Sprites.clear();
    Files.PictureReader.close();
    Files.SpriteReader.close();
}
