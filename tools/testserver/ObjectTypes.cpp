// Reading the item records of Ebrun.dat: flag lists, shape bytes and sprite numbers, every count checked.
#include "tools/testserver/ObjectTypes.h"

#include <fstream>
#include <iterator>

namespace testserver {

namespace {

constexpr uint8_t END_OF_FLAGS = 0xFF;

// Sequential little-endian reads over the file's bytes; running past the end is a TDataFileError.
class TDatReader {
public:
    explicit TDatReader(std::span<const uint8_t> Bytes) : Bytes(Bytes) {}

    uint8_t u8() { return take(1)[0]; }
    uint16_t u16() {
        std::span<const uint8_t> b = take(2);
        return static_cast<uint16_t>(b[0] | b[1] << 8);
    }
    uint32_t u32() {
        uint32_t Low = u16();
        return Low | static_cast<uint32_t>(u16()) << 16;
    }
    void skip(uint64_t Count) {
        if (Count > Bytes.size() - Position) fail("out of data");
        Position += static_cast<size_t>(Count);
    }
    [[noreturn]] void fail(const std::string& What) const {
        throw TDataFileError("Ebrun.dat: " + What + " at byte " + std::to_string(Position));
    }

private:
    std::span<const uint8_t> take(size_t Count) {
        if (Count > Bytes.size() - Position) fail("out of data");
        std::span<const uint8_t> Part = Bytes.subspan(Position, Count);
        Position += Count;
        return Part;
    }

    std::span<const uint8_t> Bytes;
    size_t Position = 0;
};

// Data words behind a flag code: two for light and shift, one for ground, the two text flags, height,
// automap and lens help; none for every other code.
int FlagDataWords(uint8_t Code) {
    if (Code == 21 || Code == 24) return 2;
    return Code == 0 || Code == 8 || Code == 9 || Code == 25 || Code == 28 || Code == 29 ? 1 : 0;
}

// Reads the flag list up to its end byte into Flags and GroundSpeed; a later value of a code wins.
void ReadFlags(TDatReader& Reader, uint32_t& Flags, uint16_t& GroundSpeed) {
    for (uint8_t Code = Reader.u8(); Code != END_OF_FLAGS; Code = Reader.u8()) {
        if (Code < 32) Flags |= uint32_t{1} << Code;
        int Words = FlagDataWords(Code);
        if (Code == FLAG_GROUND)
            GroundSpeed = Reader.u16();
        else
            for (int i = 0; i < Words; ++i)
                Reader.u16();
    }
}

// Skips the shape bytes and the sprite numbers; the product of the counts is checked against the bytes left
// before anything is skipped (seven counts of up to 255 overflow 32 bits).
void SkipShape(TDatReader& Reader) {
    uint8_t Width = Reader.u8(), Height = Reader.u8();
    if (Width > 1 || Height > 1) Reader.u8();
    uint64_t Sprites = uint64_t{Width} * Height;
    for (int i = 0; i < 5; ++i) // layers, the three pattern counts, phases
        Sprites *= Reader.u8();
    Reader.skip(Sprites * 2);
}

} // namespace

TObjectTypes TObjectTypes::load(const std::string& FileName) {
    std::ifstream File(FileName, std::ios::binary);
    if (!File) throw TDataFileError("cannot read " + FileName);
    std::vector<uint8_t> Bytes((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
    try {
        return parse(Bytes);
    } catch (const TDataFileError& Error) {
        throw TDataFileError(FileName + ": " + Error.what());
    }
}

TObjectTypes TObjectTypes::parse(std::span<const uint8_t> Bytes) {
    TDatReader Reader(Bytes);
    TObjectTypes Types;
    Types.Signature = Reader.u32();
    int Highest = Reader.u16();
    Types.Outfits = Reader.u16();
    Types.Effects = Reader.u16();
    Types.Missiles = Reader.u16();
    if (Highest < FIRST_ITEM_TYPE) Reader.fail("highest item type " + std::to_string(Highest));
    if (Types.Outfits == 0 || Types.Effects == 0 || Types.Missiles == 0) Reader.fail("an empty table");
    Types.Items.resize(static_cast<size_t>(Highest - FIRST_ITEM_TYPE + 1));
    for (TItem& Item : Types.Items) {
        ReadFlags(Reader, Item.Flags, Item.GroundSpeed);
        SkipShape(Reader);
    }
    return Types;
}

bool TObjectTypes::hasFlag(int Type, int Flag) const {
    if (!isItem(Type) || Flag < 0 || Flag > 31) return false;
    return (Items[static_cast<size_t>(Type - FIRST_ITEM_TYPE)].Flags >> Flag & 1) != 0;
}

uint16_t TObjectTypes::groundSpeed(int Type) const {
    return isItem(Type) ? Items[static_cast<size_t>(Type - FIRST_ITEM_TYPE)].GroundSpeed : 0;
}

int TObjectTypes::dataBytes(int Type) const {
    return hasFlag(Type, FLAG_CUMULATIVE) + hasFlag(Type, FLAG_LIQUID_POOL) +
           hasFlag(Type, FLAG_LIQUID_CONTAINER);
}

} // namespace testserver
