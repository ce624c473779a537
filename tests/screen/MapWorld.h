// The modules that the map view draws from, for the map-view tests and the graphics bench: started on the
// current engine over the data files in the working directory, with creatures placed in the map box.
#pragma once

#include "state/Creatures.h"

#include <cstdint>

// The graphics layer with a memory cache of MemoryCacheBytes, the skins and the game state the view reads;
// the view centred on (X, Y, Z), the player PlayerID, daylight. The object types are the caller's.
void InitMapViewModules(int32_t MemoryCacheBytes, int32_t X, int32_t Y, int32_t Z, uint32_t PlayerID);
void ExitMapViewModules();
// A creature of the view's floor at box point (rx, ry): visible, named, in full health, without outfit.
TCreature& PlaceCreature(uint32_t ID, int32_t rx, int32_t ry, const char* Name);
