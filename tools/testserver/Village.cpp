// The village's layout, contents, names and townsfolk.
#include "tools/testserver/Village.h"

#include <iterator>
#include <stdexcept>
#include <string_view>

namespace testserver::village {

namespace {

constexpr int ORIGIN_X = 1000, ORIGIN_Y = 1000;

uint32_t Bit(int Flag) { return uint32_t{1} << Flag; }

// The flags the village relies on, per type: all of Needs, none of Lacks.
struct TRole {
    uint16_t Type;
    uint32_t Needs, Lacks;
};

const TRole ROLES[] = {
    {GRASS, Bit(FLAG_GROUND), Bit(FLAG_BLOCKS)},
    {STONE_FLOOR, Bit(FLAG_GROUND), Bit(FLAG_BLOCKS)},
    {WOOD_FLOOR, Bit(FLAG_GROUND), Bit(FLAG_BLOCKS)},
    {COBBLES, Bit(FLAG_GROUND), Bit(FLAG_BLOCKS)},
    {CAVE_FLOOR, Bit(FLAG_GROUND), Bit(FLAG_BLOCKS)},
    {WATER, Bit(FLAG_GROUND) | Bit(FLAG_BLOCKS), 0},
    {FLOWERS, 0, Bit(FLAG_GROUND) | Bit(FLAG_BLOCKS)},
    {WALL_H, Bit(FLAG_BLOCKS), Bit(FLAG_GROUND)},
    {WALL_V, Bit(FLAG_BLOCKS), Bit(FLAG_GROUND)},
    {WALL_CORNER, Bit(FLAG_BLOCKS), Bit(FLAG_GROUND)},
    {DOOR, 0, Bit(FLAG_GROUND) | Bit(FLAG_BLOCKS)},
    {STAIRS, 0, Bit(FLAG_GROUND) | Bit(FLAG_BLOCKS)},
    {TRAPDOOR, 0, Bit(FLAG_GROUND) | Bit(FLAG_BLOCKS)},
    {FIR, Bit(FLAG_BLOCKS), Bit(FLAG_GROUND)},
    {BUSH, Bit(FLAG_BLOCKS), Bit(FLAG_GROUND)},
    {TABLE, Bit(FLAG_BLOCKS), Bit(FLAG_GROUND)},
    {BARREL, Bit(FLAG_CONTAINER), Bit(FLAG_GROUND)},
    {CHEST, Bit(FLAG_CONTAINER), Bit(FLAG_GROUND)},
    {TORCH, 0, Bit(FLAG_GROUND)},
    {BACKPACK, Bit(FLAG_CONTAINER), 0},
    {BAG, Bit(FLAG_CONTAINER), 0},
    {GOLD, Bit(FLAG_CUMULATIVE), 0},
    {APPLES, Bit(FLAG_CUMULATIVE), 0},
    {VIAL, Bit(FLAG_LIQUID_CONTAINER), 0},
    {POOL, Bit(FLAG_LIQUID_POOL), Bit(FLAG_GROUND)},
    {BOOK, Bit(FLAG_WRITABLE), 0},
    {SIGN, Bit(FLAG_BLOCKS) | Bit(FLAG_UNMOVABLE), Bit(FLAG_WRITABLE) | Bit(FLAG_WRITABLE_ONCE)},
    {SWORD, 0, 0},
    {ROPE, 0, 0},
};

void CheckRoles(const TObjectTypes& Types, std::span<const TRole> Roles) {
    for (const TRole& Role : Roles) {
        if (!Types.isItem(Role.Type))
            throw TDataFileError("Ebrun.dat has no item type " + std::to_string(Role.Type));
        for (int Flag = 0; Flag < 32; ++Flag)
            if (((Role.Needs & Bit(Flag)) != 0) != Types.hasFlag(Role.Type, Flag) &&
                ((Role.Needs | Role.Lacks) & Bit(Flag)) != 0)
                throw TDataFileError("Ebrun.dat: item type " + std::to_string(Role.Type) +
                                     ((Role.Needs & Bit(Flag)) != 0 ? " lacks" : " has") + " flag " +
                                     std::to_string(Flag));
    }
}

void CheckTypes(const TObjectTypes& Types) {
    CheckRoles(Types, ROLES);
    if (Types.outfits() < OUTFIT_RAT || Types.effects() < EFFECT_TELEPORT)
        throw TDataFileError("Ebrun.dat has too few outfits or effects for the village");
}

void SetNames(TWorld& World) {
    const struct {
        uint16_t Type;
        const char *Article, *Name, *Plural;
    } Names[] = {
        {GRASS, "", "grass", ""},
        {STONE_FLOOR, "a", "stone floor", ""},
        {WOOD_FLOOR, "a", "wooden floor", ""},
        {COBBLES, "a", "cobbled road", ""},
        {CAVE_FLOOR, "a", "cave floor", ""},
        {WATER, "", "shallow water", ""},
        {FLOWERS, "some", "flowers", ""},
        {WALL_H, "a", "stone wall", ""},
        {WALL_V, "a", "stone wall", ""},
        {WALL_CORNER, "a", "stone wall", ""},
        {DOOR, "an", "open door", ""},
        {STAIRS, "a", "staircase", ""},
        {TRAPDOOR, "a", "trapdoor", ""},
        {FIR, "a", "fir tree", ""},
        {BUSH, "a", "bush", ""},
        {TABLE, "a", "table", ""},
        {BARREL, "a", "barrel", ""},
        {CHEST, "a", "chest", ""},
        {TORCH, "a", "torch", ""},
        {BACKPACK, "a", "backpack", ""},
        {BAG, "a", "bag", ""},
        {GOLD, "a", "gold coin", "gold coins"},
        {APPLES, "an", "apple", "apples"},
        {VIAL, "a", "vial", ""},
        {POOL, "a", "puddle", ""},
        {BOOK, "a", "book", ""},
        {SWORD, "a", "sword", ""},
        {ROPE, "a", "rope", ""},
        {SIGN, "a", "sign", ""},
    };
    for (const auto& Entry : Names)
        World.setName(Entry.Type, Entry.Article, Entry.Name, Entry.Plural);
    for (uint16_t Facing : CHAIR_FACINGS)
        World.setName(Facing, "a", "chair", "");
}

// One character of a floor plan: the ground and up to two objects on it, placed in this order.
struct TKey {
    char Key;
    uint16_t Ground;
    uint16_t Items[2];
    uint8_t Data; // count or liquid of the objects
};

const TKey LEGEND[] = {
    {'.', GRASS, {}, 0},
    {',', COBBLES, {}, 0},
    {'f', GRASS, {FLOWERS}, 0},
    {'B', GRASS, {BUSH}, 0},
    {'Y', GRASS, {FIR}, 0},
    {'~', WATER, {}, 0},
    {'p', GRASS, {POOL}, 2},
    {'g', GRASS, {GOLD}, 12},
    {'b', GRASS, {BARREL}, 0},
    {'_', STONE_FLOOR, {}, 0},
    {'=', WOOD_FLOOR, {}, 0},
    {'o', CAVE_FLOOR, {}, 0},
    {'-', STONE_FLOOR, {WALL_H}, 0},
    {'|', STONE_FLOOR, {WALL_V}, 0},
    {'+', STONE_FLOOR, {WALL_CORNER}, 0},
    {'h', STONE_FLOOR, {WALL_H, TORCH}, 0},
    {'D', STONE_FLOOR, {DOOR}, 0},
    {'S', STONE_FLOOR, {STAIRS}, 0},
    {'s', WOOD_FLOOR, {STAIRS}, 0},
    {'T', STONE_FLOOR, {TRAPDOOR}, 0},
    {'U', CAVE_FLOOR, {STAIRS}, 0},
    {'t', STONE_FLOOR, {TABLE}, 0},
    {'v', STONE_FLOOR, {VIAL}, 1},
    {'C', STONE_FLOOR, {CHEST}, 0},
};

// Plans by floor, row y from 0, column x from 0 (offset by the origin); a blank is no field.
const std::string_view SURFACE_PLAN[] = {
    "YYYYYYYYYYYYYYYYYYYYYYYYYYYYYY", //
    "Y............................Y", //
    "Y..f.....B.........f.....B...Y", //
    "Y...+------h---+.............Y", //
    "Y...|____t____C|....~~~......Y", //
    "Y...|_________S|...~~~~~.....Y", //
    "Y...|__T______v|....~~~..p...Y", //
    "Y...+---D------+.............Y", //
    "Y.......,....................Y", //
    "Y,,,,,,,,,,,,,,,,,,,,,,,,,,,,Y", //
    "Y.......,......g.............Y", //
    "Y..f....,..........f...b.....Y", //
    "Y.......,....................Y", //
    "Y.......,.......B............Y", //
    "Y............................Y", //
    "YYYYYYYYYYYYYYYYYYYYYYYYYYYYYY", //
};
const std::string_view UPPER_PLAN[] = {
    "",
    "",
    "",                 //
    "    +----------+", //
    "    |==========|", //
    "    |=========s|", //
    "    |==========|", //
    "    +----------+", //
};
const std::string_view CELLAR_PLAN[] = {
    "",
    "",
    "",                 //
    "    +----------+", //
    "    |oooooooooo|", //
    "    |oooooooooo|", //
    "    |ooUooooooo|", //
    "    +----------+", //
};

const TKey& KeyOf(char Key) {
    for (const TKey& Entry : LEGEND)
        if (Entry.Key == Key) return Entry;
    throw std::logic_error(std::string("village plan key '") + Key + "'");
}

void BuildFloor(TWorld& World, int Z, std::span<const std::string_view> Plan, int FirstRow = 0) {
    for (size_t y = 0; y < Plan.size(); ++y)
        for (size_t x = 0; x < Plan[y].size(); ++x) {
            if (Plan[y][x] == ' ') continue;
            const TKey& Key = KeyOf(Plan[y][x]);
            TPosition Where{ORIGIN_X + static_cast<int>(x), ORIGIN_Y + FirstRow + static_cast<int>(y), Z};
            World.put(Where, {Key.Ground, 0, 0, -1});
            for (uint16_t Item : Key.Items) {
                if (Item == 0) continue;
                TThing Thing{Item, Key.Data, 0, -1};
                if (World.types().hasFlag(Item, FLAG_CONTAINER))
                    Thing.Contents = World.addContainer(Item, 8, -1);
                World.put(Where, Thing);
            }
        }
}

// The chest's contents and the player's backpack and sword.
void FillContainers(TWorld& World) {
    const TField* Field = World.field(CHEST_FIELD);
    int Chest = Field->stack().back().Contents;
    World.addToContainer(Chest, {GOLD, 37, 0, -1});
    int Bag = World.addToContainer(Chest, {BAG, 0, 0, -1}, 4);
    World.addToContainer(Bag, {APPLES, 5, 0, -1});
    World.addToContainer(Bag, {VIAL, 1, 0, -1});
    World.addToContainer(Chest, {SWORD, 0, 0, -1});
    World.addToContainer(Chest, {BOOK, 0, 0, -1});

    int Backpack = World.addContainer(BACKPACK, 8, -1);
    World.Body[3] = {BACKPACK, 0, 0, Backpack};
    World.addToContainer(Backpack, {GOLD, 10, 0, -1});
    World.addToContainer(Backpack, {ROPE, 0, 0, -1});
    World.Body[6] = {SWORD, 0, 0, -1};
}

TPosition At(int x, int y, int z) { return {ORIGIN_X + x, ORIGIN_Y + y, z}; }

TAction Appear(TPosition Where) { return {TAction::TKind::Appear, Where, 0}; }
TAction Step(int Code) { return {TAction::TKind::Step, {}, Code}; }
const TAction DISAPPEAR{TAction::TKind::Disappear, {}, 0};
const TAction WAIT{TAction::TKind::Wait, {}, 0};
constexpr int E = 1, N = 3, W = 5, S = 7;

TCreature& Townsperson(TWorld& World, uint32_t Id, std::string Name, uint16_t Outfit,
                       std::array<uint8_t, 4> Colors, std::vector<TAction> Script) {
    TCreature Creature;
    Creature.Id = Id;
    Creature.Name = std::move(Name);
    Creature.Outfit = Outfit;
    Creature.Colors = Colors;
    Creature.Script = std::move(Script);
    return World.addCreature(std::move(Creature));
}

// Gregor walks round the square from the start; Mira comes out of the house and walks the road; a rat
// scurries through the cellar. Both come and go.
void AddTownsfolk(TWorld& World) {
    TCreature& Gregor = Townsperson(World, GREGOR, "Gregor", OUTFIT_CITIZEN, {78, 69, 58, 76},
                                    {Step(E), Step(E), Step(E), Step(S), Step(W), Step(W), Step(W), Step(N)});
    World.place(Gregor, At(18, 11, 7));
    Townsperson(World, MIRA, "Mira", OUTFIT_MAGE, {94, 113, 95, 114},
                {Appear(At(8, 8, 7)), Step(S), Step(E), Step(E), Step(E), Step(E), DISAPPEAR, WAIT, WAIT});
    Townsperson(
        World, RAT, "Rat", OUTFIT_RAT, {},
        {Appear(At(12, 4, 8)), Step(W), Step(W), Step(S), Step(E), Step(E), Step(N), DISAPPEAR, WAIT});
}

// ---- The roads of objects ----

constexpr int FLAG_USE_WITH = 7, FLAG_ROTATES = 20;

const TRole OBJECT_ROLES[] = {
    {DOOR_CLOSED, Bit(FLAG_BLOCKS) | Bit(FLAG_UNMOVABLE), Bit(FLAG_GROUND)},
    {CHAIR_FACINGS[0], Bit(FLAG_ROTATES), Bit(FLAG_GROUND) | Bit(FLAG_UNMOVABLE)},
    {CHAIR_FACINGS[1], Bit(FLAG_ROTATES), Bit(FLAG_GROUND) | Bit(FLAG_UNMOVABLE)},
    {CHAIR_FACINGS[2], Bit(FLAG_ROTATES), Bit(FLAG_GROUND) | Bit(FLAG_UNMOVABLE)},
    {CHAIR_FACINGS[3], Bit(FLAG_ROTATES), Bit(FLAG_GROUND) | Bit(FLAG_UNMOVABLE)},
    {KEY, Bit(FLAG_USE_WITH), Bit(FLAG_UNMOVABLE)},
    {FISHING_ROD, Bit(FLAG_USE_WITH), Bit(FLAG_UNMOVABLE)},
    {RUNE, Bit(FLAG_USE_WITH), Bit(FLAG_UNMOVABLE)},
    {FISH, Bit(FLAG_CUMULATIVE), 0},
    {DEPOT, Bit(FLAG_CONTAINER) | Bit(FLAG_UNMOVABLE), Bit(FLAG_GROUND)},
    {SHOVEL, 0, Bit(FLAG_UNMOVABLE)},
};
constexpr uint8_t DEPOT_PLACES = 36; // as many as a client shows of one container
constexpr int HEAP_BOOKS = 9;        // with the ground, as many objects as a client keeps of one field

// A small cave under the hole, from row 10 of the village.
const std::string_view HOLE_CAVE_PLAN[] = {
    "    +---+", //
    "    |ooo|", //
    "    |ooo|", //
    "    +---+", //
};
constexpr int HOLE_CAVE_ROW = 10;

void AddObjectRoads(TWorld& World) {
    CheckRoles(World.types(), OBJECT_ROLES);
    const struct {
        uint16_t Type;
        const char *Article, *Name, *Plural;
    } Names[] = {{DOOR_CLOSED, "a", "closed door", ""},
                 {KEY, "a", "key", ""},
                 {FISHING_ROD, "a", "fishing rod", ""},
                 {FISH, "a", "fish", "fish"},
                 {RUNE, "a", "rune", ""},
                 {DEPOT, "a", "depot", ""},
                 {SHOVEL, "a", "shovel", ""}};
    for (const auto& Entry : Names)
        World.setName(Entry.Type, Entry.Article, Entry.Name, Entry.Plural);

    TField& Wall = *World.field(LOCKED_DOOR);
    Wall.remove(Wall.stack().size() - 1);
    World.put(LOCKED_DOOR, {DOOR_CLOSED, 0, 0, -1});
    TField& Ground = *World.field(WELL);
    Ground.remove(0);
    World.put(WELL, {WATER, 0, 0, -1});
    World.put(HOLE, {TRAPDOOR, 0, 0, -1});
    BuildFloor(World, 8, HOLE_CAVE_PLAN, HOLE_CAVE_ROW);
    World.addFloorChange(HOLE, {ROPE_SPOT.X + 1, ROPE_SPOT.Y, ROPE_SPOT.Z});
    World.put(KEY_FIELD, {KEY, 0, 0, -1});
    World.put(ROD_FIELD, {FISHING_ROD, 0, 0, -1});
    World.put(RUNE_FIELD, {RUNE, 0, 0, -1});
    World.put(CHAIR_FIELD, {CHAIR, 0, 0, -1});
    const int Bag = World.addContainer(BAG, 4, -1);
    World.addToContainer(Bag, {SHOVEL, 0, 0, -1});
    World.addToContainer(Bag, {APPLES, 25, 0, -1});
    World.put(BAG_FIELD, {BAG, 0, 0, Bag});
    for (int Book = 0; Book < HEAP_BOOKS; ++Book)
        World.put(HEAP, {BOOK, 0, 0, -1});
    const int Depot = World.addContainer(DEPOT, DEPOT_PLACES, -1);
    for (int Place = 0; Place < DEPOT_PLACES; ++Place)
        World.addToContainer(Depot, {APPLES, 1, 0, -1});
    World.put(DEPOT_FIELD, {DEPOT, 0, 0, Depot});

    World.addUse({0, DOOR_CLOSED, LOCKED_DOOR, 0, {}, 0, 0, "It is locked."});
    World.addUse({KEY, DOOR_CLOSED, LOCKED_DOOR, DOOR, {}, 0, 0, ""});
    World.addUse({KEY, DOOR, LOCKED_DOOR, DOOR_CLOSED, {}, 0, 0, ""});
    World.addUse({ROPE, 0, ROPE_SPOT, 0, TPosition{HOLE.X + 1, HOLE.Y, HOLE.Z}, 0, 0, ""});
    World.addUse({FISHING_ROD, WATER, {}, 0, {}, FISH, 0, "You catch a fish."});
    World.addUse({RUNE, CREATURE, {}, 0, {}, 0, EFFECT_HEAL, "The rune flashes."});
    for (size_t Facing = 0; Facing < std::size(CHAIR_FACINGS); ++Facing)
        World.addRotation(CHAIR_FACINGS[Facing], CHAIR_FACINGS[(Facing + 1) % std::size(CHAIR_FACINGS)]);
}

// The signs, the book and Tobin, who fights back.
void AddSocialPlaces(TWorld& World) {
    World.put(SIGN_FIELD, {SIGN, 0, 0, -1});
    World.Texts[SIGN_FIELD] = {"Welcome to Ebrun.\nMind the pond.", "", false, 0};
    World.put(HOUSE_SIGN_FIELD, {SIGN, 0, 0, -1});
    World.Texts[HOUSE_SIGN_FIELD] = {"Aldric\nBrenna", "", true, GUEST_LIST};
    World.put(BOOK_FIELD, {BOOK, 0, 0, -1});
    World.Texts[BOOK_FIELD] = {};
    TCreature& Tobin = Townsperson(World, TOBIN, "Tobin", OUTFIT_KNIGHT, {19, 38, 76, 95}, {});
    Tobin.Strikes = TOBIN_STRIKES;
    World.place(Tobin, TOBIN_FIELD);
}

} // namespace

TWorld BuildVillage(std::shared_ptr<const TObjectTypes> Types) {
    CheckTypes(*Types);
    TWorld World(std::move(Types));
    SetNames(World);
    BuildFloor(World, 7, SURFACE_PLAN);
    BuildFloor(World, 6, UPPER_PLAN);
    BuildFloor(World, 8, CELLAR_PLAN);
    World.addFloorChange(STAIRS_UP, At(13, 5, 6));
    World.addFloorChange(STAIRS_DOWN, At(13, 5, 7));
    World.addFloorChange(TRAPDOOR_FIELD, At(8, 6, 8));
    World.addFloorChange(CELLAR_STAIRS, At(8, 6, 7));
    FillContainers(World);
    AddObjectRoads(World);
    AddTownsfolk(World);
    AddSocialPlaces(World);
    World.Start = START;
    return World;
}

} // namespace testserver::village
