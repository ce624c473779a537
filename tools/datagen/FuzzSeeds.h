// Small files cut from the generated data, as the seed corpus of the fuzz harnesses of the three readers.
#pragma once

#include "tools/datagen/DataSet.h"

#include <string>

// Writes Directory/objects (the object-type file whole and three broken variants), Directory/sprites (the
// empty sprite and a few sparse ones, one broken variant) and Directory/pictures (the four fonts alone, the
// small font alone, one broken variant). The directories must exist.
void WriteFuzzSeeds(const TDataSet& Set, const std::string& Directory);
