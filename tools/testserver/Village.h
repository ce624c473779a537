// The village every world session starts from: a stone house with an upper storey and a cellar on the
// surface floor's meadow, a road, a pond, a chest with nested contents, and three townsfolk.
#pragma once

#include "tools/testserver/World.h"

#include <memory>

namespace testserver::village {

// Item types and outfits of the generated Ebrun.dat that the village uses. Each is checked for the flags
// the village relies on when it is built.
inline constexpr uint16_t GRASS = 100, STONE_FLOOR = 102, WOOD_FLOOR = 104, COBBLES = 105, CAVE_FLOOR = 106,
                          WATER = 108, FLOWERS = 116, WALL_H = 118, WALL_V = 119, WALL_CORNER = 120,
                          DOOR = 126, STAIRS = 128, TRAPDOOR = 130, FIR = 132, BUSH = 133, TABLE = 138,
                          BARREL = 141, CHEST = 142, TORCH = 149, BACKPACK = 154, BAG = 155, GOLD = 156,
                          APPLES = 159, VIAL = 160, POOL = 162, BOOK = 163, SWORD = 166, ROPE = 175;
// The roads of objects: a door locked with a key, a hole with a rope spot below it, a chair that turns, a
// well to fish in, a rune for creatures, a bag to carry, a full field and a full depot.
inline constexpr uint16_t DOOR_CLOSED = 125, CHAIR = 139, DEPOT = 147, SHOVEL = 174, KEY = 176,
                          FISHING_ROD = 177, FISH = 179, RUNE = 180;
// The chair's facings in the order it rotates; CHAIR faces south.
inline constexpr uint16_t CHAIR_FACINGS[] = {CHAIR, 187, 188, 189};
// The social roads' things: a sign with a text to read, a sign with a house's list, a book to write in.
inline constexpr uint16_t SIGN = 144;
inline constexpr TPosition SIGN_FIELD{1011, 1008, 7}, HOUSE_SIGN_FIELD{1009, 1008, 7},
    BOOK_FIELD{1012, 1008, 7};
inline constexpr uint8_t GUEST_LIST = 1; // the kind of the house's list
inline constexpr uint16_t OUTFIT_CITIZEN = 1, OUTFIT_KNIGHT = 2, OUTFIT_MAGE = 3, OUTFIT_RAT = 7;
inline constexpr uint8_t EFFECT_PUFF = 2, EFFECT_TELEPORT = 7, EFFECT_HEAL = 12;

// Fields tests and players rely on.
inline constexpr TPosition START{1010, 1010, 7};
inline constexpr TPosition CHEST_FIELD{1014, 1004, 7};
inline constexpr TPosition STAIRS_UP{1014, 1005, 7};      // to the upper storey, one field west of its exit
inline constexpr TPosition STAIRS_DOWN{1014, 1005, 6};    // back to the ground floor
inline constexpr TPosition TRAPDOOR_FIELD{1007, 1006, 7}; // to the cellar
inline constexpr TPosition CELLAR_STAIRS{1007, 1006, 8};  // back up
inline constexpr TPosition LOCKED_DOOR{1012, 1007, 7};    // in the house's south wall; the key opens it
inline constexpr TPosition KEY_FIELD{1011, 1011, 7}, ROD_FIELD{1009, 1011, 7}, RUNE_FIELD{1010, 1012, 7};
inline constexpr TPosition CHAIR_FIELD{1014, 1012, 7}, WELL{1013, 1012, 7};
inline constexpr TPosition BAG_FIELD{1011, 1012, 7};   // a bag with apples and a shovel
inline constexpr TPosition HEAP{1009, 1012, 7};        // a full field: grass and nine books
inline constexpr TPosition DEPOT_FIELD{1007, 1010, 7}; // a depot, full with 36 apples
inline constexpr TPosition HOLE{1005, 1012, 7};        // falls to the field east of the rope spot
inline constexpr TPosition ROPE_SPOT{1005, 1012, 8}; // a rope used here climbs to the field east of the hole
inline constexpr uint32_t GREGOR = 0x40000001, MIRA = 0x40000002, RAT = 0x40000003;
// Tobin stands by the road and fights back when attacked.
inline constexpr uint32_t TOBIN = 0x40000004;
inline constexpr TPosition TOBIN_FIELD{1012, 1012, 7};
inline constexpr uint8_t TOBIN_STRIKES = 5;

// Throws TDataFileError when a type the village uses is missing or lacks a flag it relies on.
TWorld BuildVillage(std::shared_ptr<const TObjectTypes> Types);

} // namespace testserver::village
