// Test helpers of the world state: the data file and the object types of the map tests.
#pragma once

#include "tests/foundation/TempDirectory.h"
#include "tools/datagen/DatWriter.h"

#include <filesystem>
#include <string>

inline bool Has(const std::string& Text, const std::string& Part) {
    return Text.find(Part) != std::string::npos;
}

// Writes File as "Ebrun.dat" into the working directory and loads it.
void LoadDatFile(const TDatFile& File);

// Item types of the map tests, loaded by LoadWorldTypes with effect type 1 (three phases) and missile 1.
enum TWorldType : int32_t {
    GROUND = 100,   // BANK, speed 150, automap colour 24
    WALL = 101,     // flag 1, blocks (12), hook of the first kind (18)
    BORDER = 102,   // flag 2
    ARCH = 103,     // flag 3
    ITEM = 104,     // no flags
    FIXED = 105,    // cannot be moved (13)
    POOL = 106,     // LIQUIDPOOL (11)
    SWITCH = 107,   // flag 2, taken at once by use and drop (6)
    CRATE = 108,    // HEIGHT 8
    PICTURE = 109,  // HANG, PatternWidth 3
    EASTWALL = 110, // flag 1, hook of the second kind (19)
    BOULDER = 111,  // blocks (12)
    FIRE = 112,     // flag 15, automap colour 300 (outside the cube)
    SWAMP = 113,    // BANK, speed 300
    GROUND2 = 114,  // BANK, speed 100
};

void LoadWorldTypes();
