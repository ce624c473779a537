// Small pictograms (swords, hearts, arrows, skulls ...) drawn at any size, for icons and empty slots.
#pragma once

#include "tools/datagen/Canvas.h"

enum class TPictogram {
    SWORD,
    SHIELD,
    CROSSED_SWORDS,
    HEART,
    SKULL,
    ARROW_UP,
    ARROW_DOWN,
    ARROW_LEFT,
    ARROW_RIGHT,
    PLUS,
    MINUS,
    CROSS,
    QUESTION,
    EXCLAMATION,
    STAR,
    DROP,
    FLAME,
    BOLT,
    BUBBLE,
    BUBBLE_DOTS,
    BUBBLE_SHOUT,
    GEAR,
    ZOOM_IN,
    ZOOM_OUT,
    COIN,
    KEY,
    CHECK,
    FLAG,
    LOCK,
    BAG,
    DOLLAR,
    HAND,
    FEET,
    RUN,
    MOON,
    SUN,
    DIAMOND,
    CROWN,
    BOOK,
    SCROLL,
    SPIRAL,
    SNOWFLAKE,
    BOTTLE,
    RING,
    HELMET,
    AMULET,
    ARMOR,
    LEGS,
    BOOTS,
    BACKPACK,
    QUIVER,
    SCALES,
    PERSON,
    WINDOW,
    BULB,
    EAR_CROSSED,
    TEMPLE,
    SHIELD_PLUS,
};

// A W x H canvas with the pictogram in Color, shaded, and a one-pixel outline in Outline unless
// Outline is the key colour (then none).
TCanvas Pictogram(TPictogram Kind, int W, int H, TColor Color, TColor Outline = TColor{16, 12, 10});
// The pictogram's shape alone, every pixel of it in Color, without outline: how an empty slot shows the kind
// of thing it takes, whatever colours the pictogram has elsewhere.
TCanvas Silhouette(TPictogram Kind, int W, int H, TColor Color);
