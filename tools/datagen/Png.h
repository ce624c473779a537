// A minimal PNG writer (8-bit RGB, zlib-compressed) for the contact sheet.
#pragma once

#include "tools/datagen/Canvas.h"

#include <cstdint>
#include <vector>

// The PNG bytes of Image; transparent pixels take Background.
std::vector<uint8_t> EncodePng(const TCanvas& Image, TColor Background);
