// The object types of the generated world and the sprites they show.
#include "tools/datagen/Catalog.h"

#include "tools/datagen/Art.h"

#include "foundation/Exception.h"

#include <initializer_list>
#include <vector>

namespace {

// How a picture's variants follow the pattern axes.
enum class TPatternKind {
    SINGLE, // 1 x 1
    BLOCK,  // 2 x 2: a tile of a seamless block (grounds)
    COUNT,  // 4 x 2: the count steps of stackable things
    LIQUID, // 4 x 2: the liquids in rows of four
    HOOK,   // 3 x 1: free, on a wall of the first kind, on a wall of the second kind
};

struct TFlagSpec {
    int Code;
    uint16_t Value1 = 0, Value2 = 0;
};

struct TItemSpec {
    int Number;
    TArt Art;
    int Width, Height;
    TPatternKind Pattern;
    int Phases;
    std::vector<TFlagSpec> Flags;
};

// Automap colours of the 216-colour cube: red * 36 + green * 6 + blue, each 0..5.
constexpr uint16_t CUBE(int r, int g, int b) { return static_cast<uint16_t>(r * 36 + g * 6 + b); }

const uint16_t AM_GRASS = CUBE(0, 4, 0), AM_DIRT = CUBE(3, 2, 1), AM_STONE = CUBE(3, 3, 3),
               AM_SAND = CUBE(5, 4, 3), AM_WALL = CUBE(2, 2, 2), AM_WATER = CUBE(1, 2, 4),
               AM_LAVA = CUBE(5, 2, 0), AM_SWAMP = CUBE(1, 3, 0), AM_SNOW = CUBE(5, 5, 5),
               AM_CAVE = CUBE(2, 1, 1), AM_MARBLE = CUBE(4, 4, 4), AM_ROOF = CUBE(4, 0, 0),
               AM_CHANGE = CUBE(5, 5, 0), AM_TREE = CUBE(0, 2, 0), AM_DOOR = CUBE(3, 2, 0);
const uint16_t LIGHT_FIRE = CUBE(5, 4, 2), LIGHT_FLAME = CUBE(5, 3, 0), LIGHT_WHITE = CUBE(5, 5, 5),
               LIGHT_BLUE = CUBE(1, 1, 5), LIGHT_VIOLET = CUBE(2, 2, 5), LIGHT_GREEN = CUBE(1, 5, 1),
               LIGHT_PALE = CUBE(4, 4, 5);

// Flag codes by number, for the ones without a name in the writer.
constexpr int SORT_AFTER_GROUND = 1, SORT_LOW = 2, DRAW_ON_TOP = 3, TAKE_AT_ONCE = 6, AVOID = 15, TRADE = 16,
              ROTATE = 20, GRATE_VIEW = 22, LIGHT_ABOVE = 23, REDRAW_NEIGHBOURS = 26, CLOCK_ANIMATION = 27,
              ROOF_MARK = 30, CAP = 14;

using enum TArt;
using enum TPatternKind;

const std::vector<TItemSpec> ITEMS = {
    {100, GRASS, 1, 1, BLOCK, 1, {{DAT_BANK, 150}, {DAT_AUTOMAP, AM_GRASS}}},
    {101, DIRT, 1, 1, BLOCK, 1, {{DAT_BANK, 130}, {DAT_AUTOMAP, AM_DIRT}}},
    {102, STONE_FLOOR, 1, 1, BLOCK, 1, {{DAT_BANK, 110}, {DAT_AUTOMAP, AM_STONE}}},
    {103, SAND, 1, 1, BLOCK, 1, {{DAT_BANK, 170}, {DAT_AUTOMAP, AM_SAND}}},
    {104, WOOD_FLOOR, 1, 1, BLOCK, 1, {{DAT_BANK, 120}, {DAT_AUTOMAP, AM_DIRT}}},
    {105, COBBLES, 1, 1, BLOCK, 1, {{DAT_BANK, 100}, {DAT_AUTOMAP, AM_WALL}}},
    {106, CAVE_FLOOR, 1, 1, BLOCK, 1, {{DAT_BANK, 140}, {DAT_AUTOMAP, AM_CAVE}, {DAT_LENSHELP, 1102}}},
    {107, SNOW, 1, 1, BLOCK, 1, {{DAT_BANK, 160}, {DAT_AUTOMAP, AM_SNOW}}},
    {108, WATER, 1, 1, BLOCK, 4, {{DAT_BANK, 500}, {DAT_UNPASS}, {DAT_AUTOMAP, AM_WATER}}},
    {109,
     LAVA,
     1,
     1,
     BLOCK,
     3,
     {{DAT_BANK, 200}, {AVOID}, {DAT_LIGHT, 4, LIGHT_FLAME}, {DAT_AUTOMAP, AM_LAVA}}},
    {110, SWAMP, 1, 1, BLOCK, 1, {{DAT_BANK, 250}, {DAT_AUTOMAP, AM_SWAMP}}},
    {111,
     GRATE,
     1,
     1,
     SINGLE,
     1,
     {{DAT_BANK, 100}, {GRATE_VIEW}, {DAT_AUTOMAP, AM_WALL}, {DAT_LENSHELP, 1101}}},
    {112, MARBLE, 1, 1, BLOCK, 1, {{DAT_BANK, 100}, {DAT_AUTOMAP, AM_MARBLE}}},
    {113, ROOF, 1, 1, SINGLE, 1, {{DAT_BANK, 100}, {ROOF_MARK}, {DAT_AUTOMAP, AM_ROOF}}},
    {114, GRASS_EDGE, 1, 1, BLOCK, 1, {{SORT_AFTER_GROUND}, {DAT_UNMOVE}}},
    {115, MOSS, 1, 1, BLOCK, 1, {{SORT_AFTER_GROUND}, {DAT_UNMOVE}}},
    {116, FLOWERS, 1, 1, BLOCK, 1, {{SORT_LOW}, {DAT_UNMOVE}}},
    {117, SPIDER_WEB, 1, 1, SINGLE, 1, {{DAT_UNMOVE}}},
    {118,
     STONE_WALL_H,
     1,
     1,
     SINGLE,
     1,
     {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_HOOKSOUTH}, {DAT_AUTOMAP, AM_WALL}}},
    {119,
     STONE_WALL_V,
     1,
     1,
     SINGLE,
     1,
     {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_HOOKEAST}, {DAT_AUTOMAP, AM_WALL}}},
    {120, STONE_WALL_CORNER, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_AUTOMAP, AM_WALL}}},
    {121,
     STONE_PILLAR_SMALL,
     1,
     1,
     SINGLE,
     1,
     {{DAT_UNPASS}, {DAT_UNMOVE}, {REDRAW_NEIGHBOURS}, {DAT_AUTOMAP, AM_WALL}}},
    {122,
     WOOD_WALL_H,
     1,
     1,
     SINGLE,
     1,
     {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_HOOKSOUTH}, {DAT_AUTOMAP, AM_DOOR}}},
    {123, WOOD_WALL_V, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_HOOKEAST}, {DAT_AUTOMAP, AM_DOOR}}},
    {124, ARCH_TOP, 1, 1, SINGLE, 1, {{DRAW_ON_TOP}, {DAT_UNMOVE}}},
    {125,
     DOOR_CLOSED,
     1,
     1,
     SINGLE,
     1,
     {{DAT_UNPASS},
      {DAT_UNMOVE},
      {TAKE_AT_ONCE},
      {DAT_HOOKSOUTH},
      {DAT_AUTOMAP, AM_DOOR},
      {DAT_LENSHELP, 1104}}},
    {126, DOOR_OPEN, 1, 1, SINGLE, 1, {{DAT_UNMOVE}, {TAKE_AT_ONCE}, {DAT_HOOKSOUTH}, {DAT_LENSHELP, 1104}}},
    {127,
     WALL_WINDOW,
     1,
     1,
     SINGLE,
     1,
     {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_HOOKSOUTH}, {DAT_AUTOMAP, AM_WALL}}},
    {128,
     STAIRS,
     1,
     1,
     SINGLE,
     1,
     {{SORT_LOW}, {CAP}, {LIGHT_ABOVE}, {DAT_UNMOVE}, {DAT_AUTOMAP, AM_CHANGE}, {DAT_LENSHELP, 1106}}},
    {129,
     LADDER,
     1,
     1,
     SINGLE,
     1,
     {{TAKE_AT_ONCE}, {DAT_UNMOVE}, {DAT_AUTOMAP, AM_CHANGE}, {DAT_LENSHELP, 1100}}},
    {130, TRAPDOOR, 1, 1, SINGLE, 1, {{SORT_LOW}, {CAP}, {DAT_UNMOVE}, {DAT_AUTOMAP, AM_CHANGE}}},
    {131, TREE, 2, 2, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}, {REDRAW_NEIGHBOURS}, {DAT_AUTOMAP, AM_TREE}}},
    {132, FIR, 1, 2, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_AUTOMAP, AM_TREE}}},
    {133, BUSH, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_AUTOMAP, AM_GRASS}}},
    {134, BOULDER, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_LENSHELP, 1110}}},
    {135, COLUMN, 1, 2, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}, {REDRAW_NEIGHBOURS}}},
    {136, FENCE, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}}},
    {137, STONE_TABLE, 2, 1, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_HEIGHT, 10}}},
    {138, TABLE, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_HEIGHT, 8}}},
    {139, CHAIR, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {ROTATE}}},
    {140, CRATE, 1, 1, SINGLE, 1, {{DAT_HEIGHT, 8}, {TRADE}}},
    {141, BARREL, 1, 1, SINGLE, 1, {{DAT_CONTAINER}, {DAT_UNPASS}, {DAT_HEIGHT, 6}}},
    {142, CHEST, 1, 1, SINGLE, 1, {{DAT_CONTAINER}, {DAT_UNPASS}, {DAT_UNMOVE}}},
    {143, BOOKCASE, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}}},
    {144, SIGN, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_LENSHELP, 1111}}},
    {145, LEVER, 1, 1, SINGLE, 1, {{TAKE_AT_ONCE}, {DAT_UNMOVE}, {DAT_LENSHELP, 1103}}},
    {146, MAILBOX, 1, 1, SINGLE, 1, {{DAT_CONTAINER}, {DAT_UNPASS}, {DAT_UNMOVE}, {DAT_LENSHELP, 1107}}},
    {147, DEPOT, 1, 1, SINGLE, 1, {{DAT_CONTAINER}, {DAT_UNPASS}, {DAT_UNMOVE}, {DAT_LENSHELP, 1108}}},
    {148, DUSTBIN, 1, 1, SINGLE, 1, {{DAT_CONTAINER}, {DAT_UNPASS}, {DAT_UNMOVE}, {DAT_LENSHELP, 1109}}},
    {149, TORCH, 1, 1, HOOK, 3, {{DAT_HANG}, {DAT_LIGHT, 6, LIGHT_FIRE}, {TRADE}}},
    {150,
     STREET_LAMP,
     1,
     2,
     SINGLE,
     1,
     {{DAT_UNPASS}, {DAT_UNMOVE}, {DAT_LIGHT, 7, LIGHT_WHITE}, {DAT_SHIFT, 6, 6}}},
    {151, CAMPFIRE, 1, 1, SINGLE, 4, {{AVOID}, {DAT_UNMOVE}, {DAT_LIGHT, 7, LIGHT_FLAME}}},
    {152, CANDLESTICK, 1, 1, SINGLE, 2, {{DAT_LIGHT, 3, LIGHT_FIRE}, {TRADE}}},
    {153, PAINTING, 1, 1, HOOK, 1, {{DAT_HANG}, {TRADE}}},
    {154, BACKPACK, 1, 1, SINGLE, 1, {{DAT_CONTAINER}, {TRADE}}},
    {155, BAG, 1, 1, SINGLE, 1, {{DAT_CONTAINER}, {TRADE}}},
    {156, GOLD_COINS, 1, 1, COUNT, 1, {{DAT_CUMULATIVE}, {TRADE}}},
    {157, PLATINUM_COINS, 1, 1, COUNT, 1, {{DAT_CUMULATIVE}, {TRADE}}},
    {158, ARROWS, 1, 1, COUNT, 1, {{DAT_CUMULATIVE}, {TRADE}}},
    {159, APPLES, 1, 1, COUNT, 1, {{DAT_CUMULATIVE}, {TRADE}}},
    {160, VIAL, 1, 1, LIQUID, 1, {{DAT_LIQUIDCONTAINER}, {TRADE}}},
    {161, BUCKET, 1, 1, LIQUID, 1, {{DAT_LIQUIDCONTAINER}, {TRADE}}},
    {162, POOL, 1, 1, LIQUID, 1, {{DAT_LIQUIDPOOL}}},
    {163, BOOK, 1, 1, SINGLE, 1, {{DAT_WRITE, 1000}, {TRADE}, {DAT_LENSHELP, 1112}}},
    {164, PARCHMENT, 1, 1, SINGLE, 1, {{DAT_WRITEONCE, 500}, {TRADE}}},
    {165, SCROLL, 1, 1, SINGLE, 1, {{TRADE}, {DAT_LENSHELP, 1112}}},
    {166, SWORD, 1, 1, SINGLE, 1, {{TRADE}}},
    {167, SHIELD, 1, 1, SINGLE, 1, {{TRADE}}},
    {168, HELMET, 1, 1, SINGLE, 1, {{TRADE}}},
    {169, ARMOR, 1, 1, SINGLE, 1, {{TRADE}}},
    {170, LEGS, 1, 1, SINGLE, 1, {{TRADE}}},
    {171, BOOTS, 1, 1, SINGLE, 1, {{TRADE}}},
    {172, RING, 1, 1, SINGLE, 1, {{TRADE}}},
    {173, AMULET, 1, 1, SINGLE, 1, {{TRADE}}},
    {174, SHOVEL, 1, 1, SINGLE, 1, {{DAT_USEWITH}, {TRADE}}},
    {175, ROPE, 1, 1, SINGLE, 1, {{DAT_USEWITH}, {TRADE}}},
    {176, KEY, 1, 1, SINGLE, 1, {{DAT_USEWITH}, {TRADE}}},
    {177, FISHING_ROD, 1, 1, SINGLE, 1, {{DAT_USEWITH}, {TRADE}}},
    {178, MEAT, 1, 1, COUNT, 1, {{DAT_CUMULATIVE}, {TRADE}}},
    {179, FISH, 1, 1, COUNT, 1, {{DAT_CUMULATIVE}, {TRADE}}},
    {180, RUNE, 1, 1, SINGLE, 1, {{DAT_USEWITH}, {TRADE}}},
    {181, STONES, 1, 1, COUNT, 1, {{DAT_CUMULATIVE}, {TRADE}}},
    {182, GEMS, 1, 1, COUNT, 1, {{DAT_CUMULATIVE}, {TRADE}, {DAT_LIGHT, 2, LIGHT_BLUE}}},
    {183, FIRE_FIELD, 1, 1, SINGLE, 3, {{AVOID}, {DAT_LIGHT, 5, LIGHT_FLAME}}},
    {184, ENERGY_FIELD, 1, 1, SINGLE, 3, {{AVOID}, {DAT_LIGHT, 5, LIGHT_VIOLET}}},
    {185, CORPSE, 1, 1, SINGLE, 1, {{DAT_CONTAINER}}},
};

// After the invisible barrier, so that the numbers before them stay.
const std::vector<TItemSpec> LATER_ITEMS = {
    {187, CHAIR_WEST, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {ROTATE}}},
    {188, CHAIR_NORTH, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {ROTATE}}},
    {189, CHAIR_EAST, 1, 1, SINGLE, 1, {{DAT_UNPASS}, {ROTATE}}},
};

void PatternSize(TPatternKind Kind, int& Width, int& Height) {
    switch (Kind) {
    case BLOCK:
        Width = 2, Height = 2;
        break;
    case COUNT:
    case LIQUID:
        Width = 4, Height = 2;
        break;
    case HOOK:
        Width = 3, Height = 1;
        break;
    default:
        Width = 1, Height = 1;
        break;
    }
}

// Adds the cells of one picture (Width x Height cells, grown up and left from the field's cell) for one
// layer, pattern and phase.
void AddCells(TDatType& Type, TSpriteFile& Sprites, const TCanvas& Picture, int Layer, int PatternX,
              int PatternY, int Phase) {
    for (int Y = 1; Y <= Type.Height; Y++)
        for (int X = 1; X <= Type.Width; X++) {
            TCanvas Cell = Picture.crop((Type.Width - X) * 32, (Type.Height - Y) * 32, 32, 32);
            Type.sprite(X, Y, Layer, PatternX, PatternY, 1, Phase, Sprites.add(Cell));
        }
}

void AddItem(TDatFile& Dat, TSpriteFile& Sprites, const TItemSpec& Spec, uint32_t Seed, TColor Tint = {},
             double TintAlpha = 0) {
    CHECK(Spec.Number == Dat.highestItem() + 1, Spec.Number);
    TDatType& Type = Dat.addItem();
    for (const TFlagSpec& Flag : Spec.Flags)
        Type.flag(Flag.Code, Flag.Value1, Flag.Value2);
    int PatternWidth, PatternHeight;
    PatternSize(Spec.Pattern, PatternWidth, PatternHeight);
    Type.shape(Spec.Width, Spec.Height, 1, PatternWidth, PatternHeight, 1, Spec.Phases);
    for (int Phase = 1; Phase <= Spec.Phases; Phase++)
        for (int py = 1; py <= PatternHeight; py++)
            for (int px = 1; px <= PatternWidth; px++) {
                int Variant = (px - 1) + PatternWidth * (py - 1);
                TCanvas Picture = DrawArt(Spec.Art, Spec.Width, Spec.Height, Variant, Phase - 1, Seed);
                if (TintAlpha > 0)
                    for (int y = 0; y < Picture.height(); y++)
                        for (int x = 0; x < Picture.width(); x++)
                            Picture.tint(x, y, Tint, TintAlpha);
                AddCells(Type, Sprites, Picture, 1, px, py, Phase);
            }
}

void AddOutfit(TDatFile& Dat, TSpriteFile& Sprites, TOutfitArt Art, int Phases,
               std::initializer_list<TFlagSpec> Flags) {
    TDatType& Type = Dat.addOutfit();
    for (const TFlagSpec& Flag : Flags)
        Type.flag(Flag.Code, Flag.Value1, Flag.Value2);
    int Cells = OutfitCells(Art), Layers = OutfitHasMask(Art) ? 2 : 1;
    Type.shape(Cells, Cells, Layers, 4, 1, 1, Phases);
    for (int Phase = 1; Phase <= Phases; Phase++)
        for (int Direction = 0; Direction < 4; Direction++)
            for (int Layer = 1; Layer <= Layers; Layer++)
                AddCells(Type, Sprites, DrawOutfit(Art, Direction, Phase - 1, Layer == 2), Layer,
                         Direction + 1, 1, Phase);
}

void AddOutfits(TDatFile& Dat, TSpriteFile& Sprites) {
    using enum TOutfitArt;
    AddOutfit(Dat, Sprites, CITIZEN, 3, {});
    AddOutfit(Dat, Sprites, KNIGHT, 3, {});
    AddOutfit(Dat, Sprites, MAGE, 3, {});
    AddOutfit(Dat, Sprites, HUNTER, 3, {});
    AddOutfit(Dat, Sprites, NOBLE, 3, {});
    AddOutfit(Dat, Sprites, GAMEMASTER, 3, {{DAT_LIGHT, 3, LIGHT_WHITE}});
    AddOutfit(Dat, Sprites, RAT, 3, {});
    AddOutfit(Dat, Sprites, WOLF, 3, {});
    AddOutfit(Dat, Sprites, SKELETON, 3, {});
    AddOutfit(Dat, Sprites, GHOST, 4, {{CLOCK_ANIMATION}, {DAT_LIGHT, 2, LIGHT_PALE}});
    AddOutfit(Dat, Sprites, DRAGON, 3, {{DAT_SHIFT, 8, 8}});
    AddOutfit(Dat, Sprites, FIRE_ELEMENTAL, 4, {{CLOCK_ANIMATION}, {DAT_LIGHT, 5, LIGHT_FLAME}});
}

void AddEffects(TDatFile& Dat, TSpriteFile& Sprites) {
    using enum TEffectArt;
    const struct {
        TEffectArt Art;
        int Cells, Phases, Light, Color;
    } Effects[Catalog::EFFECTS] = {
        {BLOOD, 1, 3, 0, 0},
        {PUFF, 1, 3, 0, 0},
        {SPARKLES, 1, 4, 3, LIGHT_BLUE},
        {FIRE_BURST, 1, 4, 5, LIGHT_FLAME},
        {ENERGY, 1, 3, 4, LIGHT_VIOLET},
        {POISON, 1, 4, 0, 0},
        {TELEPORT, 1, 4, 3, LIGHT_BLUE},
        {EXPLOSION, 2, 4, 6, LIGHT_FLAME},
        {BLOCK, 1, 3, 0, 0},
        {SPLASH, 1, 3, 0, 0},
        {STARS, 1, 3, 0, 0},
        {HEAL, 1, 4, 3, LIGHT_GREEN},
        {SHIMMER, 1, 4, 0, 0},
        {DEATH, 1, 3, 0, 0},
        {HOLY, 1, 4, 6, LIGHT_WHITE},
    };
    for (const auto& e : Effects) {
        TDatType& Type = Dat.addEffect();
        if (e.Light > 0) Type.light(static_cast<uint16_t>(e.Light), static_cast<uint16_t>(e.Color));
        Type.shape(e.Cells, e.Cells, 1, 1, 1, 1, e.Phases);
        for (int Phase = 1; Phase <= e.Phases; Phase++)
            AddCells(Type, Sprites, DrawEffect(e.Art, e.Cells, Phase - 1, e.Phases), 1, 1, 1, Phase);
    }
}

void AddMissiles(TDatFile& Dat, TSpriteFile& Sprites) {
    // The eight directions run clockwise over the border of the 3 x 3 grid from its top middle cell.
    const int GridX[8] = {2, 3, 3, 3, 2, 1, 1, 1}, GridY[8] = {1, 1, 2, 3, 3, 3, 2, 1};
    for (int m = 0; m < Catalog::MISSILES; m++) {
        TMissileArt Art = static_cast<TMissileArt>(m);
        TDatType& Type = Dat.addMissile();
        if (Art == TMissileArt::FIREBALL) Type.light(4, LIGHT_FLAME);
        if (Art == TMissileArt::ENERGY_BALL) Type.light(4, LIGHT_VIOLET);
        Type.shape(1, 1, 1, 3, 3, 1, 1);
        for (int d = 0; d < 8; d++)
            Type.sprite(1, 1, 1, GridX[d], GridY[d], 1, 1, Sprites.add(DrawMissile(Art, d)));
    }
}

// The benchmark set: seamless ground blocks in many tints until there are about 5,000 item types and
// 20,000 sprites.
void AddRealSizeItems(TDatFile& Dat, TSpriteFile& Sprites) {
    const TArt Grounds[] = {GRASS,   DIRT,       STONE_FLOOR, SAND,  WOOD_FLOOR,
                            COBBLES, CAVE_FLOOR, SNOW,        SWAMP, MARBLE};
    TRandom Random(4242);
    while (Dat.highestItem() < 4999) {
        int Number = Dat.highestItem() + 1;
        TArt Art = Grounds[Number % 10];
        TItemSpec Spec{Number, Art, 1, 1, BLOCK, 1, {{DAT_BANK, 120}, {DAT_AUTOMAP, AM_STONE}}};
        TColor Tint = Rgb(Random.range(0, 255), Random.range(0, 255), Random.range(0, 255));
        AddItem(Dat, Sprites, Spec, static_cast<uint32_t>(Number), Tint, 0.15 + 0.2 * Random.unit());
    }
}

} // namespace

void BuildCatalog(const TCatalogOptions& Options, TDatFile& Dat, TSpriteFile& Sprites) {
    CHECK(Sprites.add(TCanvas(32, 32)) == Catalog::EMPTY_SPRITE);
    for (const TItemSpec& Spec : ITEMS)
        AddItem(Dat, Sprites, Spec, 1000 + static_cast<uint32_t>(Spec.Number));
    // An invisible barrier: it blocks, and its one cell is the empty sprite.
    Dat.addItem()
        .flag(DAT_UNPASS)
        .flag(DAT_UNMOVE)
        .shape(1, 1, 1, 1, 1, 1, 1)
        .sprite(1, 1, 1, 1, 1, 1, 1, Catalog::EMPTY_SPRITE);
    for (const TItemSpec& Spec : LATER_ITEMS)
        AddItem(Dat, Sprites, Spec, 1000 + static_cast<uint32_t>(Spec.Number));
    CHECK(Dat.highestItem() == Catalog::LAST_DEFAULT_ITEM, Dat.highestItem());
    AddOutfits(Dat, Sprites);
    AddEffects(Dat, Sprites);
    AddMissiles(Dat, Sprites);
    if (Options.RealSize) AddRealSizeItems(Dat, Sprites);
}
