// The oracle of the sprite and picture harnesses: a tile decoded by a reader written from the layout alone
// (tests/tools/datagen), against the client's decoding of the same tile.
#pragma once

#include <cstdint>
#include <vector>

// Compares the client's decoding of the runs at RunsOffset of File (Decoded, 3,072 bytes, or nullptr when
// the client refused the tile). Where the strict reading succeeds the client must have decoded exactly its
// pixels, with Key in every pixel no run coloured; where the client refused, so must the strict reading.
// Runs that end past DataSize, or empty runs past the last pixel, the client may accept.
void CompareTile(const std::vector<uint8_t>& File, uint64_t RunsOffset, const uint8_t Key[3],
                 const uint8_t* Decoded);
