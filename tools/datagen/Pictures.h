// The title picture, the spare picture and the darkness tiles of the picture file.
#pragma once

#include "tools/datagen/Fonts.h"
#include "tools/datagen/SpriteWriter.h"

inline constexpr int TITLE_WIDTH = 640;
inline constexpr int TITLE_HEIGHT = 480;

// Picture 1: the start screen's title, a night landscape with the game's name.
TPicture BuildTitlePicture(const TFontFiles& Fonts);
// Picture 2: not shown by the client, but it must exist; a small crest.
TPicture BuildEmblemPicture();
// Picture 7: eight 32 x 32 darkness tiles side by side, tile 0 black, each further tile lighter.
TPicture BuildDarknessPicture();
