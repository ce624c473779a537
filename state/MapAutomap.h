// The automap: colour and walking cost of every field seen, in blocks of 256 x 256 fields cached from files.
#pragma once

#include "foundation/Container.h"
#include "state/Map.h"
#include "state/MapLight.h"

#include <cstdint>

inline constexpr int32_t AUTOMAP_BLOCKS = 10;   // cache slots
inline constexpr int32_t AUTOMAP_CELLS = 65536; // fields of one block, x-major: (x mod 256) * 256 + y mod 256
inline constexpr int32_t MAPMARK_TEXT = 100;    // bytes of a mark's text with its terminator

// A mark the player set on a field; x and y both 0 mark a deleted one.
struct TMapMark {
    int32_t x;
    int32_t y;
    int32_t Type; // icon number
    char Text[MAPMARK_TEXT];
};

// One cache slot.
struct TAutomapBlock {
    int32_t bx = -1, by = 0, bz = 0;  // block coordinates (x / 256, y / 256, floor); bx -1: no block
    int32_t Previous = -1, Next = -1; // recency list; Previous leads toward the most recently used
    uint8_t Colors[AUTOMAP_CELLS];    // cube colour index; 0 for a field never seen
    uint8_t Speeds[AUTOMAP_CELLS];    // ground speed capped at 250; 250 never seen; 255 not walkable
    uint8_t Modified = 0;             // 1 when the block differs from its file
    TDynamicArray<TMapMark> Marks{0, 0, 10};
    int32_t NumberOfMarks = 0; // Marks[0..NumberOfMarks-1] are in use, deleted ones included
};

// Part of InitMap: every slot empty, chained 0..9 from most to least recently used.
void InitAutomap();

// The cached block, loaded first when missing (the least recently used slot is saved and reused).
TAutomapBlock& GetAutomapBlock(int32_t bx, int32_t by, int32_t bz);
// Fills the slot from the file "%03d%03d%02d.map" in the working directory; a missing file gives an empty
// block, a corrupt one an empty block and a line in the console.
void LoadAutomapBlock(int32_t Position, int32_t bx, int32_t by, int32_t bz);
// Writes the slot when it holds a modified block; the file is replaced whole or not at all.
void SaveAutomapBlock(int32_t Position);
// Every slot, at program end.
void SaveAutomap();

// The colour index and speed that box field gives.
void ComputeAutomapField(int32_t rx, int32_t ry, int32_t rz, int32_t& Color, int32_t& Speed);
// Records box field (rx, ry) of the view floor; fields at a negative x or y are not recorded.
void UpdateAutomapField(int32_t rx, int32_t ry);

// Readers by absolute field, z 0..15; a field at a negative x or y reads black, blocked, speed 1, no marks.
void GetAutomapColor(TRGBColor& Color, int32_t x, int32_t y, int32_t z);
bool IsAutomapFieldBlocked(int32_t x, int32_t y, int32_t z);
int32_t GetAutomapSpeed(int32_t x, int32_t y, int32_t z);
// Copies the marks of block (bx, by, z), deleted ones included, into Marks[0..Count-1].
void GetAutomapMarks(int32_t bx, int32_t by, int32_t z, TDynamicArray<TMapMark>& Marks, int32_t& Count);

// Text is cut to 99 characters.
void AddMapMark(const TCoordinate& Coordinate, const char* Text, int32_t Type);
// Marks every mark at field (x, y) on floor z deleted; they leave the file at the next save.
void DeleteMapMark(const TCoordinate& Coordinate, int32_t z);
// Read and clear: set whenever a block changes in memory.
uint8_t GetAutomapChanged();

// The cache for tests and the automap window: a slot (0..9) and the two ends of the recency list.
const TAutomapBlock& GetAutomapSlot(int32_t Position);
int32_t GetMostRecentBlock();
int32_t GetLeastRecentBlock();
