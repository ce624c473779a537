// The client's map box as the server must feed it: 18 x 14 fields on up to 8 floors around the view
// position, each floor above the view shifted one field diagonally, and the field descriptions with their
// runs of empty fields.
#pragma once

#include "tools/testserver/Wire.h"
#include "tools/testserver/World.h"

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

namespace testserver {

inline constexpr int BOX_X = 18, BOX_Y = 14, BOX_Z = 8;
inline constexpr int SURFACE = 7, DEEPEST_FLOOR = 15;
inline constexpr int PLAYER_BOX_X = 8, PLAYER_BOX_Y = 6; // the view position's field in the box

// The box floor that holds the view's floor: 7 - z on or above the surface, 2 below it.
int ViewLayer(int ViewZ);
// The world field that box field (rx, ry, rz) holds: with d = rz - layer, (rx + x - 8 + d, ry + y - 6 + d,
// z - d).
TPosition BoxToWorld(TPosition View, int rx, int ry, int rz);
// The box floors a map area covers, in reading order: 0..7 on or above the surface; below it 4 down to the
// floor of world z + 2, none deeper than floor 15.
std::vector<int> AreaFloors(int ViewZ);
// Whether the client's box holds Where: inside the 18 x 14 fields on a floor that the area covers.
bool InView(TPosition View, TPosition Where);

// The creatures the client has been told about in this session: the first description of one is full.
using TCreatureBook = std::set<uint32_t>;

// Writes field descriptions in the client's reading order. A field is its objects' words (items with
// their data bytes, creatures with their descriptions) and an end word 0xFF00 + n that also leaves the
// next n fields (n up to 255) empty; the skip runs on across rows and floors until finish().
class TFieldWriter {
public:
    TFieldWriter(TWireWriter& Writer, const TWorld& World, TCreatureBook& Known);
    // The next field in reading order; fields outside the world are empty.
    void field(TPosition Where);
    // Ends the message's last field; call once after the last field.
    void finish();

private:
    TWireWriter& Writer;
    const TWorld& World;
    TCreatureBook& Known;
    bool Open = false;  // a field has been written whose end word is not yet
    int EmptyAfter = 0; // empty fields after it
};

// The rectangle (x0, y0)..(x1, y1) of box fields on every floor of AreaFloors, x outer, y inner.
void WriteArea(TFieldWriter& Fields, TPosition View, int x0, int y0, int x1, int y1);
// All fields of box floor rz, x outer, y inner.
void WriteFloor(TFieldWriter& Fields, TPosition View, int rz);

} // namespace testserver
