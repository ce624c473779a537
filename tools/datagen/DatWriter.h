// Writer of the object-type file Ebrun.dat: type tables built in memory, encoded byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Flag codes that carry data in a record's flag list (all others carry none).
enum TDatFlagCode : uint8_t {
    DAT_BANK = 0,
    DAT_CONTAINER = 4,
    DAT_CUMULATIVE = 5,
    DAT_USEWITH = 7,
    DAT_WRITE = 8,
    DAT_WRITEONCE = 9,
    DAT_LIQUIDCONTAINER = 10,
    DAT_LIQUIDPOOL = 11,
    DAT_UNPASS = 12,
    DAT_UNMOVE = 13,
    DAT_HANG = 17,
    DAT_HOOKSOUTH = 18,
    DAT_HOOKEAST = 19,
    DAT_LIGHT = 21,
    DAT_SHIFT = 24,
    DAT_HEIGHT = 25,
    DAT_AUTOMAP = 28,
    DAT_LENSHELP = 29,
    DAT_END = 255,
};

// Number of 16-bit data words that follow a flag code in the file: 0, 1 or 2.
int DatFlagDataWords(int Code);

// One entry of a record's flag list as it is written: the code and its data words (unused words are 0).
struct TDatFlag {
    uint8_t Code;
    uint16_t Value1;
    uint16_t Value2;
};

// One object-type record. The flag list keeps its order and may repeat a code; the shape counts are
// written as bytes, so each lies in 0..255. Sprites holds one number per combination of the seven counts,
// cell X fastest and phase slowest.
class TDatType {
public:
    TDatType& flag(int Code, uint16_t Value1 = 0, uint16_t Value2 = 0);
    TDatType& bank(uint16_t Speed) { return flag(DAT_BANK, Speed); }
    TDatType& light(uint16_t Brightness, uint16_t Color) { return flag(DAT_LIGHT, Brightness, Color); }
    TDatType& shift(uint16_t X, uint16_t Y) { return flag(DAT_SHIFT, X, Y); }
    TDatType& elevation(uint16_t Pixels) { return flag(DAT_HEIGHT, Pixels); }
    TDatType& automap(uint16_t Color) { return flag(DAT_AUTOMAP, Color); }
    TDatType& lensHelp(uint16_t Text) { return flag(DAT_LENSHELP, Text); }

    // Sets the seven counts and resizes Sprites to their product, filled with 0 (empty cells). Size is
    // written only when Width or Height exceeds 1; otherwise the reader takes 32.
    TDatType& shape(int Width, int Height, int Layers, int PatternWidth, int PatternHeight, int PatternDepth,
                    int Phases, int Size = 0);

    // Index into Sprites of one cell; all arguments 1-based as the client's sprite lookup takes them.
    size_t spriteIndex(int X, int Y, int Layer, int PatternX, int PatternY, int PatternZ, int Phase) const;
    TDatType& sprite(int X, int Y, int Layer, int PatternX, int PatternY, int PatternZ, int Phase,
                     uint16_t Number);

    bool hasFlag(int Code) const;
    size_t spriteCount() const; // the product of the seven counts

    std::vector<TDatFlag> Flags;
    int Width = 1, Height = 1, Size = 32, Layers = 1;
    int PatternWidth = 1, PatternHeight = 1, PatternDepth = 1, Phases = 1;
    std::vector<uint16_t> Sprites = {0};
};

// The four tables of the file. Items are numbered from 100 (Items[0] is type 100); outfits, effects and
// missiles from 1.
class TDatFile {
public:
    TDatType& addItem();
    TDatType& addOutfit();
    TDatType& addEffect();
    TDatType& addMissile();
    TDatType& item(int Type);
    TDatType& outfit(int Number);
    TDatType& effect(int Number);
    TDatType& missile(int Number);
    int highestItem() const { return 99 + static_cast<int>(Items.size()); }

    uint32_t Signature = 0;
    std::vector<TDatType> Items, Outfits, Effects, Missiles;
};

// The record's bytes. Checks that every count fits a byte and that Sprites holds exactly the product.
std::vector<uint8_t> EncodeDatType(const TDatType& Type);

// The whole file's bytes: signature, the four counts, then every record in table order. Checks that each
// table count fits 16 bits.
std::vector<uint8_t> EncodeDatFile(const TDatFile& File);

// Byte offset of a record inside the encoded file; Table 0 items (by type number), 1 outfits, 2 effects,
// 3 missiles (by number).
size_t DatRecordOffset(const TDatFile& File, int Table, int Number);

// Malformed files for the reader's tests, each derived from a well-formed one.
enum class TDatBreak {
    TRUNCATED_HEADER,  // cut inside the four counts
    TRUNCATED_SPRITES, // cut inside the sprite numbers of the last missile
    MISSING_END_BYTE,  // the first item's flag list runs on into its shape bytes
    TOO_FEW_ITEMS,     // N is 99: no item type
    NO_OUTFITS,        // M is 0
    NO_EFFECTS,        // E is 0
    NO_MISSILES,       // D is 0
    COUNTS_PAST_END,   // the header promises one more missile than the file holds
    TRAILING_BYTES,    // 64 bytes of garbage after the last record (a valid file for the reader)
    HUGE_PATTERNS,     // the last missile claims 255 for every count, with its real sprites only
};

std::vector<uint8_t> EncodeBrokenDatFile(const TDatFile& File, TDatBreak Break);

// Writes Bytes to FileName; throws TMyException "failed to write file" naming the file.
void WriteBytesToFile(const std::string& FileName, const std::vector<uint8_t>& Bytes);
