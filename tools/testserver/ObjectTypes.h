// The test server's own reader of Ebrun.dat: what the world and the wire need of the item types (flags and
// ground speeds) and the sizes of the outfit, effect and missile tables.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace testserver {

// An object-type file that cannot be read or breaks its layout.
class TDataFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Flag numbers of item types (bit n of a record's flag set) that the world and the wire use.
enum TTypeFlag : int {
    FLAG_GROUND = 0, // the first object of a field; its value is the ground speed
    FLAG_CLASS_1 = 1,
    FLAG_CLASS_2 = 2,
    FLAG_CLASS_3 = 3, // with FLAG_GROUND, the four classes that order a field's stack
    FLAG_CONTAINER = 4,
    FLAG_CUMULATIVE = 5,    // the data byte is a count
    FLAG_WRITABLE = 8,      // its text can be written again and again
    FLAG_WRITABLE_ONCE = 9, // its text can be written while it is empty
    FLAG_LIQUID_CONTAINER = 10,
    FLAG_LIQUID_POOL = 11, // the data byte is a liquid
    FLAG_BLOCKS = 12,
    FLAG_UNMOVABLE = 13,
};

inline constexpr int FIRST_ITEM_TYPE = 100;

class TObjectTypes {
public:
    // Throws TDataFileError naming the file or the offset of the fault.
    static TObjectTypes load(const std::string& FileName);
    static TObjectTypes parse(std::span<const uint8_t> Bytes);

    uint32_t signature() const { return Signature; }
    int highestItem() const { return FIRST_ITEM_TYPE - 1 + static_cast<int>(Items.size()); }
    int outfits() const { return Outfits; }
    int effects() const { return Effects; }
    int missiles() const { return Missiles; }

    bool isItem(int Type) const { return Type >= FIRST_ITEM_TYPE && Type <= highestItem(); }
    // False for every number that is no item type.
    bool hasFlag(int Type, int Flag) const;
    // The value of FLAG_GROUND; 0 without it.
    uint16_t groundSpeed(int Type) const;
    // Bytes behind the type's word on the wire: one for each of FLAG_CUMULATIVE, FLAG_LIQUID_POOL and
    // FLAG_LIQUID_CONTAINER that it has.
    int dataBytes(int Type) const;

private:
    struct TItem {
        uint32_t Flags = 0;
        uint16_t GroundSpeed = 0;
    };

    uint32_t Signature = 0;
    std::vector<TItem> Items; // type 100 first
    int Outfits = 0, Effects = 0, Missiles = 0;
};

} // namespace testserver
