// Readers of the three data files for the generator's tests, written from the file layouts alone (not from
// the writers), so that a writer that drifts from the layout fails here.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace FileReaders {

using Bytes = std::vector<uint8_t>;

class TCursor {
public:
    explicit TCursor(const Bytes& Data, size_t Position = 0) : Data(Data), Position(Position) {}
    uint8_t byte() {
        if (Position >= Data.size()) throw std::runtime_error("out of data at " + std::to_string(Position));
        return Data[Position++];
    }
    uint16_t word() {
        uint16_t Low = byte();
        return static_cast<uint16_t>(Low | (byte() << 8));
    }
    uint32_t quad() {
        uint32_t Low = word();
        return Low | (static_cast<uint32_t>(word()) << 16);
    }
    size_t position() const { return Position; }
    bool atEnd() const { return Position == Data.size(); }

private:
    const Bytes& Data;
    size_t Position;
};

struct TRecord {
    uint32_t Flags = 0;
    std::array<uint32_t, 32> Values1{}, Values2{};
    int Width = 0, Height = 0, Size = 0, Layers = 0, PatternWidth = 0, PatternHeight = 0, PatternDepth = 0,
        Phases = 0;
    std::vector<uint16_t> Sprites;
    bool has(int Flag) const { return (Flags >> Flag) & 1; }
    // Cell X fastest, phase slowest; all 1-based.
    uint16_t sprite(int X, int Y, int Layer, int PatternX, int PatternY, int PatternZ, int Phase) const {
        size_t k = ((((((static_cast<size_t>(Phase) - 1) * PatternDepth + PatternZ - 1) * PatternHeight +
                       PatternY - 1) *
                          PatternWidth +
                      PatternX - 1) *
                         Layers +
                     Layer - 1) *
                        Height +
                    Y - 1) *
                       Width +
                   X - 1;
        return Sprites.at(k);
    }
};

inline int DataWords(int Code) {
    if (Code == 21 || Code == 24) return 2;
    if (Code == 0 || Code == 8 || Code == 9 || Code == 25 || Code == 28 || Code == 29) return 1;
    return 0;
}

inline TRecord ReadRecord(TCursor& In) {
    TRecord R;
    for (uint8_t Code = In.byte(); Code != 0xFF; Code = In.byte()) {
        if (Code < 32) R.Flags |= 1u << Code;
        int Words = DataWords(Code);
        if (Words >= 1) R.Values1[Code] = In.word();
        if (Words == 2) R.Values2[Code] = In.word();
    }
    R.Width = In.byte();
    R.Height = In.byte();
    R.Size = R.Width > 1 || R.Height > 1 ? In.byte() : 32;
    R.Layers = In.byte();
    R.PatternWidth = In.byte();
    R.PatternHeight = In.byte();
    R.PatternDepth = In.byte();
    R.Phases = In.byte();
    size_t Count = static_cast<size_t>(R.Width) * R.Height * R.Layers * R.PatternWidth * R.PatternHeight *
                   R.PatternDepth * R.Phases;
    for (size_t i = 0; i < Count; i++)
        R.Sprites.push_back(In.word());
    return R;
}

struct TDat {
    uint32_t Signature = 0;
    int HighestItem = 0;
    std::vector<TRecord> Items, Outfits, Effects, Missiles;
    bool TrailingBytes = false;
};

inline TDat ReadDat(const Bytes& Data) {
    TCursor In(Data);
    TDat D;
    D.Signature = In.quad();
    D.HighestItem = In.word();
    int Outfits = In.word(), Effects = In.word(), Missiles = In.word();
    if (D.HighestItem < 100 || Outfits == 0 || Effects == 0 || Missiles == 0)
        throw std::runtime_error("bad counts");
    for (int i = 100; i <= D.HighestItem; i++)
        D.Items.push_back(ReadRecord(In));
    for (int i = 0; i < Outfits; i++)
        D.Outfits.push_back(ReadRecord(In));
    for (int i = 0; i < Effects; i++)
        D.Effects.push_back(ReadRecord(In));
    for (int i = 0; i < Missiles; i++)
        D.Missiles.push_back(ReadRecord(In));
    D.TrailingBytes = !In.atEnd();
    return D;
}

// A decoded 32 x 32 tile: colours row by row and whether each pixel was coloured by a run.
struct TTile {
    std::array<std::array<uint8_t, 3>, 1024> Pixels{};
    std::array<bool, 1024> Coloured{};
    int Runs = 0;
};

// Decodes run data at Offset (u16 DataSize, then runs). Throws when a run passes pixel 1,024.
inline TTile DecodeRuns(const Bytes& Data, size_t Offset) {
    TCursor In(Data, Offset);
    TTile T;
    size_t Size = In.word(), End = In.position() + Size;
    size_t Pixel = 0;
    while (In.position() < End) {
        Pixel += In.word();
        int Count = In.word();
        if (Pixel + Count > 1024) throw std::runtime_error("run past the tile");
        for (int i = 0; i < Count; i++, Pixel++) {
            T.Pixels[Pixel] = {In.byte(), In.byte(), In.byte()};
            T.Coloured[Pixel] = true;
        }
        T.Runs++;
    }
    if (In.position() != End) throw std::runtime_error("runs do not end at DataSize");
    return T;
}

struct TSpr {
    uint32_t Signature = 0;
    std::vector<uint32_t> Offsets; // sprite n at Offsets[n - 1]
};

inline TSpr ReadSpriteTable(const Bytes& Data) {
    TCursor In(Data);
    TSpr S;
    S.Signature = In.quad();
    int Count = In.word();
    for (int i = 0; i < Count; i++)
        S.Offsets.push_back(In.quad());
    return S;
}

// The key of a non-empty sprite, then its tile.
inline TTile ReadSprite(const Bytes& Data, uint32_t Offset, std::array<uint8_t, 3>& Key) {
    TCursor In(Data, Offset);
    Key = {In.byte(), In.byte(), In.byte()};
    return DecodeRuns(Data, Offset + 3);
}

struct TPic {
    int TilesX = 0, TilesY = 0;
    std::array<uint8_t, 3> Key{};
    std::vector<uint32_t> Offsets; // row by row
};

inline std::vector<TPic> ReadPictureTable(const Bytes& Data, uint32_t* Signature = nullptr) {
    TCursor In(Data);
    uint32_t s = In.quad();
    if (Signature) *Signature = s;
    std::vector<TPic> Pictures(In.word());
    for (TPic& P : Pictures) {
        P.TilesX = In.byte();
        P.TilesY = In.byte();
        P.Key = {In.byte(), In.byte(), In.byte()};
        for (int i = 0; i < P.TilesX * P.TilesY; i++)
            P.Offsets.push_back(In.quad());
    }
    return Pictures;
}

// The pixel (x, y) of a picture: its colour, or nothing (false) where it is transparent.
class TPictureImage {
public:
    TPictureImage(const Bytes& Data, const TPic& P) : P(P) {
        for (uint32_t Offset : P.Offsets)
            Tiles.push_back(DecodeRuns(Data, Offset));
    }
    int width() const { return 32 * P.TilesX; }
    int height() const { return 32 * P.TilesY; }
    bool coloured(int x, int y) const { return tile(x, y).Coloured[(y % 32) * 32 + x % 32]; }
    std::array<uint8_t, 3> pixel(int x, int y) const { return tile(x, y).Pixels[(y % 32) * 32 + x % 32]; }

private:
    const TTile& tile(int x, int y) const {
        return Tiles.at(static_cast<size_t>(y / 32) * P.TilesX + x / 32);
    }
    TPic P;
    std::vector<TTile> Tiles;
};

} // namespace FileReaders
