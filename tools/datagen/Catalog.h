// The object types of the generated world and the sprites they show.
#pragma once

#include "tools/datagen/DatWriter.h"
#include "tools/datagen/SpriteWriter.h"

// Numbers that tests, the test server and the benchmarks rely on. Items are numbered from 100 in the
// order of the catalogue; see Catalog.cpp for the whole list.
namespace Catalog {
inline constexpr int GRASS = 100, DIRT = 101, STONE_FLOOR = 102, SAND = 103, WOOD_FLOOR = 104, COBBLES = 105,
                     CAVE_FLOOR = 106, SNOW = 107, WATER = 108, LAVA = 109, SWAMP = 110, GRATE = 111,
                     MARBLE = 112, ROOF = 113, GRASS_EDGE = 114, MOSS = 115, FLOWERS = 116, SPIDER_WEB = 117,
                     STONE_WALL_H = 118, STONE_WALL_V = 119, STONE_WALL_CORNER = 120, STONE_PILLAR = 121,
                     WOOD_WALL_H = 122, WOOD_WALL_V = 123, ARCH_TOP = 124, DOOR_CLOSED = 125, DOOR_OPEN = 126,
                     WALL_WINDOW = 127, STAIRS = 128, LADDER = 129, TRAPDOOR = 130, TREE = 131, FIR = 132,
                     BUSH = 133, BOULDER = 134, COLUMN = 135, FENCE = 136, STONE_TABLE = 137, TABLE = 138,
                     CHAIR = 139, CRATE = 140, BARREL = 141, CHEST = 142, BOOKCASE = 143, SIGN = 144,
                     LEVER = 145, MAILBOX = 146, DEPOT = 147, DUSTBIN = 148, TORCH = 149, STREET_LAMP = 150,
                     CAMPFIRE = 151, CANDLESTICK = 152, PAINTING = 153, BACKPACK = 154, BAG = 155,
                     GOLD_COINS = 156, PLATINUM_COINS = 157, ARROWS = 158, APPLES = 159, VIAL = 160,
                     BUCKET = 161, POOL = 162, BOOK = 163, PARCHMENT = 164, SCROLL = 165, SWORD = 166,
                     SHIELD = 167, HELMET = 168, ARMOR = 169, LEGS = 170, BOOTS = 171, RING = 172,
                     AMULET = 173, SHOVEL = 174, ROPE = 175, KEY = 176, FISHING_ROD = 177, MEAT = 178,
                     FISH = 179, RUNE = 180, STONES = 181, GEMS = 182, FIRE_FIELD = 183, ENERGY_FIELD = 184,
                     BONES = 185, INVISIBLE_BARRIER = 186;
// Added after the first set, so that its numbers stay: the chair's other facings (CHAIR faces south), in the
// order it rotates.
inline constexpr int CHAIR_WEST = 187, CHAIR_NORTH = 188, CHAIR_EAST = 189;
inline constexpr int LAST_DEFAULT_ITEM = 189;

inline constexpr int OUTFIT_CITIZEN = 1, OUTFIT_KNIGHT = 2, OUTFIT_MAGE = 3, OUTFIT_HUNTER = 4,
                     OUTFIT_NOBLE = 5, OUTFIT_GAMEMASTER = 6, OUTFIT_RAT = 7, OUTFIT_WOLF = 8,
                     OUTFIT_SKELETON = 9, OUTFIT_GHOST = 10, OUTFIT_DRAGON = 11, OUTFIT_FIRE_ELEMENTAL = 12;
inline constexpr int EFFECT_INVISIBLE = 13; // the shimmer the map shows for an invisible creature
inline constexpr int EFFECTS = 15, MISSILES = 9;

inline constexpr uint16_t EMPTY_SPRITE = 1; // stored with offset 0
} // namespace Catalog

struct TCatalogOptions {
    bool RealSize = false; // about 5,000 item types and 20,000 sprites, for benchmarks
};

// Fills the object types and the sprites they name. Sprite numbers are handed out in table order.
void BuildCatalog(const TCatalogOptions& Options, TDatFile& Dat, TSpriteFile& Sprites);
