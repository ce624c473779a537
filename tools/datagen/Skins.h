// The interface picture (picture 4): every skin rectangle drawn as one consistent bevelled interface.
#pragma once

#include "tools/datagen/SpriteWriter.h"

// The palette the interface is drawn in; sprites and pictures that sit in the interface use it too.
namespace SkinPalette {
inline constexpr TColor FACE{88, 80, 70};     // raised panels and button faces
inline constexpr TColor LIGHT{150, 138, 118}; // lit edges
inline constexpr TColor MIDLIGHT{116, 106, 92};
inline constexpr TColor DARK{22, 19, 16}; // shadowed edges
inline constexpr TColor MIDDARK{46, 41, 36};
inline constexpr TColor HOLLOW{36, 33, 30}; // sunken interiors
inline constexpr TColor STONE{62, 57, 51};  // background tile
inline constexpr TColor GOLD{200, 164, 84};
} // namespace SkinPalette

TPicture BuildSkinPicture();
