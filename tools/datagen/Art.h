// Procedural art of the sprite file: grounds, walls, things of the world, creatures, effects and missiles.
#pragma once

#include "tools/datagen/Canvas.h"

// Every picture kind the object types use. A picture is W x H cells of 32 pixels; Variant picks a
// pattern (ground tile, count step, liquid, hook place) and Phase an animation step, both from 0.
enum class TArt {
    // Grounds: Variant is the tile of a 2 x 2 block (0..3), so neighbouring fields join seamlessly.
    GRASS,
    DIRT,
    STONE_FLOOR,
    SAND,
    WOOD_FLOOR,
    COBBLES,
    CAVE_FLOOR,
    SNOW,
    WATER,
    LAVA,
    SWAMP,
    GRATE,
    MARBLE,
    ROOF,
    // Ground decorations drawn over a ground.
    GRASS_EDGE,
    MOSS,
    FLOWERS,
    SPIDER_WEB,
    // Walls and wall pieces.
    STONE_WALL_H,
    STONE_WALL_V,
    STONE_WALL_CORNER,
    STONE_PILLAR_SMALL,
    WOOD_WALL_H,
    WOOD_WALL_V,
    ARCH_TOP,
    DOOR_CLOSED,
    DOOR_OPEN,
    WALL_WINDOW,
    // Floor changes.
    STAIRS,
    LADDER,
    TRAPDOOR,
    // Nature and big things.
    TREE,
    FIR,
    BUSH,
    BOULDER,
    COLUMN,
    FENCE,
    STONE_TABLE,
    // Furniture.
    TABLE,
    CHAIR, // facing south; the other three facings follow
    CHAIR_WEST,
    CHAIR_NORTH,
    CHAIR_EAST,
    CRATE,
    BARREL,
    CHEST,
    BOOKCASE,
    SIGN,
    LEVER,
    MAILBOX,
    DEPOT,
    DUSTBIN,
    // Lights and things that hang on walls (Variant: 0 free, 1 first hook, 2 second hook).
    TORCH,
    STREET_LAMP,
    CAMPFIRE,
    CANDLESTICK,
    PAINTING,
    // Items.
    BACKPACK,
    BAG,
    GOLD_COINS,
    PLATINUM_COINS,
    ARROWS,
    APPLES,
    VIAL,
    BUCKET,
    POOL,
    BOOK,
    PARCHMENT,
    SCROLL,
    SWORD,
    SHIELD,
    HELMET,
    ARMOR,
    LEGS,
    BOOTS,
    RING,
    AMULET,
    SHOVEL,
    ROPE,
    KEY,
    FISHING_ROD,
    MEAT,
    FISH,
    RUNE,
    STONES,
    GEMS,
    FIRE_FIELD,
    ENERGY_FIELD,
    CORPSE,
};

// The number of liquids a liquid picture knows, in the order of their values (0 empty).
inline constexpr int LIQUIDS = 8;

// A picture of W x H cells. Big pictures grow to the left and upwards from the field they stand on, so
// the field's own cell is the bottom-right one.
TCanvas DrawArt(TArt Art, int Width, int Height, int Variant, int Phase, uint32_t Seed);

// Outfits: picture and colour mask of one direction (0 north, 1 east, 2 south, 3 west) and phase
// (0 standing, then the walking steps). The mask is pure yellow, red, green and blue over the head, body,
// legs and feet, transparent elsewhere; the picture under the mask is in light greys.
enum class TOutfitArt {
    CITIZEN,
    KNIGHT,
    MAGE,
    HUNTER,
    NOBLE,
    GAMEMASTER,
    RAT,
    WOLF,
    SKELETON,
    GHOST,
    DRAGON,
    FIRE_ELEMENTAL
};

bool OutfitHasMask(TOutfitArt Art);
int OutfitCells(TOutfitArt Art); // 1 or 2 cells a side
TCanvas DrawOutfit(TOutfitArt Art, int Direction, int Phase, bool Mask);

enum class TEffectArt {
    BLOOD,
    PUFF,
    SPARKLES,
    FIRE_BURST,
    ENERGY,
    POISON,
    TELEPORT,
    EXPLOSION,
    BLOCK,
    SPLASH,
    STARS,
    HEAL,
    SHIMMER,
    DEATH,
    HOLY
};
TCanvas DrawEffect(TEffectArt Art, int Cells, int Phase, int Phases);

enum class TMissileArt { ARROW, BOLT, SPEAR, FIREBALL, ENERGY_BALL, STONE, POISON, ICE, STAR };
// Direction 0..7 clockwise from north.
TCanvas DrawMissile(TMissileArt Art, int Direction);
