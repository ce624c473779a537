// Box geometry and the field description writer.
#include "tools/testserver/MapView.h"

#include "tools/testserver/GameMessages.h"

#include <algorithm>

namespace testserver {

int ViewLayer(int ViewZ) { return ViewZ <= SURFACE ? SURFACE - ViewZ : 2; }

TPosition BoxToWorld(TPosition View, int rx, int ry, int rz) {
    int d = rz - ViewLayer(View.Z);
    return {rx + View.X - PLAYER_BOX_X + d, ry + View.Y - PLAYER_BOX_Y + d, View.Z - d};
}

std::vector<int> AreaFloors(int ViewZ) {
    std::vector<int> Floors;
    if (ViewZ <= SURFACE) {
        for (int rz = 0; rz < BOX_Z; ++rz)
            Floors.push_back(rz);
    } else {
        for (int rz = 4; rz > std::max(ViewZ - 14, -1); --rz)
            Floors.push_back(rz);
    }
    return Floors;
}

bool InView(TPosition View, TPosition Where) {
    int d = View.Z - Where.Z;
    int rx = Where.X + PLAYER_BOX_X - View.X - d, ry = Where.Y + PLAYER_BOX_Y - View.Y - d;
    int rz = ViewLayer(View.Z) + d;
    if (rx < 0 || rx >= BOX_X || ry < 0 || ry >= BOX_Y) return false;
    std::vector<int> Floors = AreaFloors(View.Z);
    return std::find(Floors.begin(), Floors.end(), rz) != Floors.end();
}

TFieldWriter::TFieldWriter(TWireWriter& Writer, const TWorld& World, TCreatureBook& Known)
    : Writer(Writer), World(World), Known(Known) {}

void TFieldWriter::field(TPosition Where) {
    const TField* Field = World.field(Where);
    bool Empty = !Field || Field->stack().empty();
    if (Open && Empty && EmptyAfter < 255) {
        ++EmptyAfter;
        return;
    }
    finish();
    if (!Empty)
        for (const TThing& Thing : Field->stack()) {
            if (Thing.Type != CREATURE)
                WriteItem(Writer, World.types(), Thing);
            else if (const TCreature* Creature = World.creature(Thing.CreatureId))
                WriteCreature(Writer, *Creature, !Known.insert(Creature->Id).second);
        }
    Open = true;
}

void TFieldWriter::finish() {
    if (Open) Writer.u16(static_cast<uint16_t>(0xFF00 + EmptyAfter));
    Open = false;
    EmptyAfter = 0;
}

void WriteArea(TFieldWriter& Fields, TPosition View, int x0, int y0, int x1, int y1) {
    for (int rz : AreaFloors(View.Z))
        for (int rx = x0; rx <= x1; ++rx)
            for (int ry = y0; ry <= y1; ++ry)
                Fields.field(BoxToWorld(View, rx, ry, rz));
}

void WriteFloor(TFieldWriter& Fields, TPosition View, int rz) {
    for (int rx = 0; rx < BOX_X; ++rx)
        for (int ry = 0; ry < BOX_Y; ++ry)
            Fields.field(BoxToWorld(View, rx, ry, rz));
}

} // namespace testserver
