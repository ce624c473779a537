// The world's fields, containers, names and creature scripts.
#include "tools/testserver/World.h"

#include <algorithm>

namespace testserver {

namespace {

// The four stack classes of a thing, highest first; a creature has none.
std::array<bool, 4> Classes(const TObjectTypes& Types, const TThing& Thing) {
    return {Types.hasFlag(Thing.Type, FLAG_GROUND), Types.hasFlag(Thing.Type, FLAG_CLASS_1),
            Types.hasFlag(Thing.Type, FLAG_CLASS_2), Types.hasFlag(Thing.Type, FLAG_CLASS_3)};
}

// True when New goes below Old: a higher class first, then a creature below every creature and item of
// its class, an item below every item of its class (and above the creatures).
bool GoesBelow(const TObjectTypes& Types, const TThing& New, const TThing& Old) {
    std::array<bool, 4> N = Classes(Types, New), O = Classes(Types, Old);
    for (size_t i = 0; i < N.size(); ++i)
        if (N[i] != O[i]) return N[i];
    return New.Type == CREATURE || Old.Type != CREATURE;
}

} // namespace

int StepX(int Code) {
    static const int X[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
    return Code >= 1 && Code <= 8 ? X[Code] : 0;
}

int StepY(int Code) {
    static const int Y[9] = {0, 0, -1, -1, -1, 0, 1, 1, 1};
    return Code >= 1 && Code <= 8 ? Y[Code] : 0;
}

int StepTo(int dx, int dy) {
    for (int Code = 1; Code <= 8; ++Code)
        if (StepX(Code) == dx && StepY(Code) == dy) return Code;
    return 0;
}

uint8_t FacingOf(int dx, int dy, uint8_t Current) {
    if (dx > 0) return 1;
    if (dx < 0) return 3;
    if (dy < 0) return 0;
    if (dy > 0) return 2;
    return Current;
}

int TField::add(const TObjectTypes& Types, const TThing& Thing) {
    if (Stack.size() >= OBJECTS_PER_FIELD) return -1;
    size_t Position = 0;
    while (Position < Stack.size() && !GoesBelow(Types, Thing, Stack[Position]))
        ++Position;
    Stack.insert(Stack.begin() + static_cast<ptrdiff_t>(Position), Thing);
    return static_cast<int>(Position);
}

void TField::remove(size_t Position) {
    if (Position < Stack.size()) Stack.erase(Stack.begin() + static_cast<ptrdiff_t>(Position));
}

int TField::find(uint32_t CreatureId) const {
    for (size_t i = 0; i < Stack.size(); ++i)
        if (Stack[i].Type == CREATURE && Stack[i].CreatureId == CreatureId) return static_cast<int>(i);
    return -1;
}

TWorld::TWorld(std::shared_ptr<const TObjectTypes> Types) : Types(std::move(Types)) {}

const TField* TWorld::field(TPosition Where) const {
    auto Found = Fields.find(Where);
    return Found == Fields.end() ? nullptr : &Found->second;
}

TField* TWorld::field(TPosition Where) {
    auto Found = Fields.find(Where);
    return Found == Fields.end() ? nullptr : &Found->second;
}

int TWorld::put(TPosition Where, const TThing& Thing) {
    if (Thing.Type != CREATURE && !Types->isItem(Thing.Type))
        throw TDataFileError("Ebrun.dat has no item type " + std::to_string(Thing.Type));
    int Position = Fields[Where].add(*Types, Thing);
    if (Position < 0)
        throw TDataFileError("more than " + std::to_string(OBJECTS_PER_FIELD) + " objects on field " +
                             std::to_string(Where.X) + "," + std::to_string(Where.Y) + "," +
                             std::to_string(Where.Z));
    return Position;
}

int TWorld::addContainer(uint16_t Type, uint8_t Capacity, int Parent) {
    Containers.push_back({Type, Capacity, Parent, {}});
    return static_cast<int>(Containers.size() - 1);
}

int TWorld::addToContainer(int Index, TThing Thing, uint8_t Capacity) {
    if (!Types->isItem(Thing.Type))
        throw TDataFileError("Ebrun.dat has no item type " + std::to_string(Thing.Type));
    if (Types->hasFlag(Thing.Type, FLAG_CONTAINER))
        Thing.Contents = addContainer(Thing.Type, Capacity, Index);
    container(Index).Items.push_back(Thing);
    return Thing.Contents;
}

int TWorld::copyContainer(int Index, int Parent) {
    TContainer Original = container(Index); // a copy: adding containers moves the originals
    int Copy = addContainer(Original.Type, Original.Capacity, Parent);
    for (TThing& Item : Original.Items)
        if (Item.Contents >= 0) Item.Contents = copyContainer(Item.Contents, Copy);
    container(Copy).Items = std::move(Original.Items);
    return Copy;
}

std::optional<TPosition> TWorld::floorChange(TPosition From) const {
    auto Found = FloorChanges.find(From);
    if (Found == FloorChanges.end()) return std::nullopt;
    return Found->second;
}

void TWorld::setName(uint16_t Type, std::string Article, std::string Name, std::string Plural) {
    Names[Type] = {std::move(Article), std::move(Name), std::move(Plural)};
}

std::string TWorld::name(uint16_t Type) const {
    auto Found = Names.find(Type);
    return Found == Names.end() ? "item " + std::to_string(Type) : Found->second.Name;
}

std::string TWorld::describe(const TThing& Thing) const {
    auto Found = Names.find(Thing.Type);
    if (Found == Names.end()) return "an item of type " + std::to_string(Thing.Type);
    const TName& Name = Found->second;
    if (Thing.Data > 1 && !Name.Plural.empty() && Types->hasFlag(Thing.Type, FLAG_CUMULATIVE))
        return std::to_string(Thing.Data) + " " + Name.Plural;
    return Name.Article.empty() ? Name.Name : Name.Article + " " + Name.Name;
}

const TUseRule* TWorld::use(uint16_t Tool, uint16_t Target, std::optional<TPosition> Where) const {
    for (const TUseRule& Rule : Uses)
        if (Rule.Tool == Tool && (Rule.Target == 0 || Rule.Target == Target) &&
            (!Rule.Field || Rule.Field == Where))
            return &Rule;
    return nullptr;
}

uint16_t TWorld::rotated(uint16_t Type) const {
    auto Found = Rotations.find(Type);
    return Found == Rotations.end() ? 0 : Found->second;
}

bool TWorld::enterable(TPosition Where) const {
    const TField* Field = field(Where);
    if (!Field || Field->stack().empty() || Field->stack().size() >= OBJECTS_PER_FIELD) return false;
    if (!Types->hasFlag(Field->stack().front().Type, FLAG_GROUND)) return false;
    return std::none_of(Field->stack().begin(), Field->stack().end(), [&](const TThing& Thing) {
        return Thing.Type == CREATURE || Types->hasFlag(Thing.Type, FLAG_BLOCKS);
    });
}

TCreature& TWorld::addCreature(TCreature Creature) {
    Creatures.push_back(std::move(Creature));
    return Creatures.back();
}

void TWorld::removeCreature(uint32_t Id) {
    std::erase_if(Creatures, [&](const TCreature& Creature) { return Creature.Id == Id; });
}

TCreature* TWorld::creature(uint32_t Id) {
    return const_cast<TCreature*>(static_cast<const TWorld*>(this)->creature(Id));
}

const TCreature* TWorld::creature(uint32_t Id) const {
    for (const TCreature& Creature : Creatures)
        if (Creature.Id == Id) return &Creature;
    return nullptr;
}

int TWorld::place(TCreature& Creature, TPosition Where) {
    int Position = put(Where, {CREATURE, 0, Creature.Id, -1});
    Creature.Position = Where;
    Creature.Present = true;
    return Position;
}

int TWorld::lift(TCreature& Creature) {
    auto Found = Fields.find(Creature.Position);
    int Position = Found == Fields.end() ? -1 : Found->second.find(Creature.Id);
    if (Position >= 0) Found->second.remove(static_cast<size_t>(Position));
    Creature.Present = false;
    return Position;
}

TCreatureChange TWorld::act(TCreature& Creature) {
    TCreatureChange Change;
    if (Creature.Script.empty()) return Change;
    const TAction& Action = Creature.Script[Creature.Next];
    using enum TAction::TKind;
    if (Action.Kind == Appear && !Creature.Present) {
        if (!enterable(Action.Where)) return Change;
        place(Creature, Action.Where);
        Change = {TCreatureChange::TKind::Appeared, Action.Where, Action.Where, 0};
    } else if (Action.Kind == Step && Creature.Present) {
        TPosition From = Creature.Position;
        TPosition To{From.X + StepX(Action.Code), From.Y + StepY(Action.Code), From.Z};
        if (!enterable(To)) return Change;
        int Left = lift(Creature);
        place(Creature, To);
        Creature.Facing = FacingOf(To.X - From.X, To.Y - From.Y, Creature.Facing);
        Change = {TCreatureChange::TKind::Moved, From, To, Left};
    } else if (Action.Kind == Disappear && Creature.Present) {
        TPosition From = Creature.Position;
        int Left = lift(Creature);
        Change = {TCreatureChange::TKind::Disappeared, From, From, Left};
    }
    if (++Creature.Next >= Creature.Script.size()) Creature.Next = Creature.Loop;
    return Change;
}

} // namespace testserver
