// The street scene of the generated data set for map-view tests: every kind of thing the drawing meets
// (blocks, shifted and elevated things, hanging lights, masked outfits, a 2 x 2 creature, an invisible one,
// effects), built into the map box through the state's own calls.
#pragma once

#include "state/Creatures.h"

#include <cstdint>

inline constexpr uint32_t STREET_PLAYER = 0x10000001, STREET_DRAGON = 0x40000001, STREET_GHOST = 0x40000002,
                          STREET_KNIGHT = 0x10000002;

// Starts the modules of the map view over the generated data files, which it copies into the working
// directory, on the current engine; the view centred on (1000, 1000, Z).
void InitStreetModules(int32_t Z);
void ExitStreetModules();
// A creature of the view's floor at box point (rx, ry).
TCreature& StreetCreature(uint32_t ID, int32_t rx, int32_t ry, int32_t Outfit, const char* Name);
// The street on the view's floor; with Moving also a missile (it moves on the millisecond clock), a rising
// number, a talk box and a status message.
void BuildStreet(bool Moving);
