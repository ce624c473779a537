// The test server's own differ: makes the patch command stream that turns an old file into a new one.
#pragma once

#include "tools/testserver/Wire.h"

#include <cstdint>
#include <span>
#include <vector>

namespace testserver {

// Operations of a command byte (bits 7-6); bits 5-0 hold a count up to 60, or 61, 62, 63 for a count that
// follows in 1, 2 or 4 little-endian bytes. Insert and replace carry their count of data bytes.
enum class TPatchOperation : uint8_t { Copy = 0x00, Skip = 0x40, Insert = 0x80, Replace = 0xC0 };

// Appends one command with the shortest count field that holds Count (1 .. 2^32 - 1) and, for insert and
// replace, its Count data bytes taken from Data. Throws TWireError for a count of 0 or a Data of another
// size.
void AppendPatchCommand(std::vector<uint8_t>& Patch, TPatchOperation Operation, uint32_t Count,
                        std::span<const uint8_t> Data = {});

// A stream that turns Old into New: copies of the runs both share, skips of old bytes that New drops,
// inserts of new bytes and replacements where both differ. Old bytes behind the last copy are left out.
// Runs are resynchronised over at most a few hundred bytes; beyond that the stream replaces.
std::vector<uint8_t> MakePatch(std::span<const uint8_t> Old, std::span<const uint8_t> New);

} // namespace testserver
