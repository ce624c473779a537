// Test helpers of the world state: a scratch working directory and the object types the map tests use.
#pragma once

#include "tools/datagen/DatWriter.h"

#include <filesystem>
#include <string>

// Makes a fresh directory the working directory for the life of the object, so that tests running at the
// same time never share "Ebrun.dat" or automap files; removes it afterwards.
class TScratchDir {
public:
    TScratchDir();
    ~TScratchDir();
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;

    const std::filesystem::path& path() const { return Dir; }

private:
    std::filesystem::path Dir;
    std::filesystem::path Previous;
};

// A file with one type in each table, each 1 x 1 with one sprite.
TDatFile MinimalDatFile();

// Writes File as "Ebrun.dat" into the working directory and loads it.
void LoadDatFile(const TDatFile& File);

// Item types of the map tests, loaded by LoadWorldTypes.
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
    ROOF = 111,     // flag 14
    LIT = 112,      // flag 23
    BOULDER = 113,  // blocks (12)
    FIRE = 114,     // flag 15, automap colour 300 (outside the cube)
    SWAMP = 115,    // BANK, speed 300
    GROUND2 = 116,  // BANK, speed 100
};

// Loads the item types above, effect type 1 with three phases and one missile type.
void LoadWorldTypes();
