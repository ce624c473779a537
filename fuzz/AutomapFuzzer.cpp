// libFuzzer harness of the automap block files. An input stands for one block file, read as the block the
// byte 0 picks (bits 0-1 its x, bits 2-3 its y, floor 7):
//   bit 4 clear: the colours and speeds (a fixed pattern), then the rest of the input: mark count and marks;
//   bit 4 set:   only the first (bytes 1-2, little-endian) bytes of colours and speeds: a file cut short.
// Oracle: the block holds what a reader of the layout finds, or is empty when that reader finds the file
// corrupt; a block that kept marks of its file, given one more and saved, loads again into the same block.
#include "foundation/Exception.h"
#include "fuzz/FuzzSupport.h"
#include "state/MapAutomap.h"
#include "tests/tools/datagen/FileReaders.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

constexpr int32_t FLOOR = 7, GRID = 2 * AUTOMAP_CELLS;
constexpr size_t MARK_TEXT = MAPMARK_TEXT - 1; // characters a mark keeps

struct TMarkRecord {
    int32_t x, y, Type;
    std::string Text;
    bool operator==(const TMarkRecord&) const = default;
};

uint8_t PatternByte(size_t i) { return static_cast<uint8_t>(i * 37 + i / 251); }

// The marks a block at (bx, by) keeps from the file's tail, or nothing when the tail is corrupt.
std::optional<std::vector<TMarkRecord>> ReadMarks(const std::vector<uint8_t>& File, int32_t bx, int32_t by) {
    std::vector<TMarkRecord> Marks;
    if (File.size() == GRID) return Marks;
    try {
        FileReaders::TCursor In(File, GRID);
        const uint32_t Count = In.quad();
        if (Count > 2147483647u) return std::nullopt;
        for (uint32_t i = 0; i < Count; i++) {
            const int32_t x = static_cast<int32_t>(In.quad()), y = static_cast<int32_t>(In.quad());
            const int32_t Type = static_cast<int32_t>(In.quad());
            std::string Text;
            for (uint16_t Length = In.word(); Length > 0; Length--)
                Text += static_cast<char>(In.byte());
            Text = Text.substr(0, std::min(std::strlen(Text.c_str()), MARK_TEXT));
            if (x >= 0 && y >= 0 && x / 256 == bx && y / 256 == by) Marks.push_back({x, y, Type, Text});
        }
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
    return Marks;
}

std::vector<TMarkRecord> MarksOf(const TAutomapBlock& Block) {
    std::vector<TMarkRecord> Marks;
    TDynamicArray<TMapMark> Copy(0, 0, 10);
    int32_t Count = 0;
    GetAutomapMarks(Block.bx, Block.by, Block.bz, Copy, Count);
    for (int32_t i = 0; i < Count; i++)
        Marks.push_back({Copy.at(i).x, Copy.at(i).y, Copy.at(i).Type, Copy.at(i).Text});
    return Marks;
}

// Slot 0 holds the colours of the pattern and these marks, or is empty.
void ExpectBlock(const std::vector<TMarkRecord>* Marks, const char* What) {
    const TAutomapBlock& Block = GetAutomapSlot(0);
    for (int32_t Cell = 0; Cell < AUTOMAP_CELLS; Cell++) {
        Expect(Block.Colors[Cell] == (Marks != nullptr ? PatternByte(Cell) : 0), What);
        Expect(Block.Speeds[Cell] == (Marks != nullptr ? PatternByte(AUTOMAP_CELLS + Cell) : 250), What);
    }
    Expect(MarksOf(Block) == (Marks != nullptr ? *Marks : std::vector<TMarkRecord>()), What);
}

void Load(int32_t bx, int32_t by) {
    InitAutomap();
    LoadAutomapBlock(0, bx, by, FLOOR);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 1 || ((Data[0] & 16) != 0 && Size < 3)) return -1;
    const int32_t bx = Data[0] & 3, by = Data[0] >> 2 & 3;
    std::vector<uint8_t> File;
    if ((Data[0] & 16) != 0) {
        File.resize(std::min<size_t>(Data[1] | Data[2] << 8, GRID - 1));
    } else {
        File.resize(GRID);
        File.insert(File.end(), Data + 1, Data + Size);
    }
    for (size_t i = 0; i < File.size() && i < GRID; i++)
        File[i] = PatternByte(i);
    char FileName[32];
    std::snprintf(FileName, sizeof FileName, "%03d%03d%02d.map", bx, by, FLOOR);
    WriteInput(FileName, File);

    std::optional<std::vector<TMarkRecord>> Marks;
    if (File.size() >= GRID) Marks = ReadMarks(File, bx, by);
    Load(bx, by);
    ExpectBlock(Marks ? &*Marks : nullptr, Marks ? "block read" : "corrupt block not emptied");
    // The round trip is for the marks a file gave its block. A block without any (from a file cut short, or
    // of random bytes) ends here, so that the saving and loading again that the floor names stands for an
    // input whose marks decode, never for the harness's own mark alone.
    if (!Marks || Marks->empty()) return 0;

    // A new mark makes the block differ from its file; saved and loaded again, it is the same block less the
    // deleted marks (at 0, 0).
    const TCoordinate Place{bx * 256 + 1, by * 256 + 2, FLOOR};
    AddMapMark(Place, "Fuzz", 3);
    Marks->push_back({Place.x, Place.y, 3, "Fuzz"});
    std::erase_if(*Marks, [](const TMarkRecord& Mark) { return Mark.x == 0 && Mark.y == 0; });
    SaveAutomapBlock(0);
    Load(bx, by);
    ExpectBlock(&*Marks, "saved block read back differently");
    std::remove(FileName);
    return 0;
}
