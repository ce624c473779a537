// Objects: moving them between map fields, body positions and containers (whole stacks or some pieces),
// with the limits of reach and throwing; using an item alone, on another object or on a creature by the
// world's use rules; rotating.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/WorldRoads.h"
#include "tools/testserver/WorldThings.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace testserver {

namespace {

constexpr int THROW_RANGE = 5;   // fields from the player, either way, that a throw reaches
constexpr uint8_t MOVE_UP = 254; // the slot of a container window that names the container's parent
const std::string NOT_POSSIBLE = "Sorry, not possible.";
const std::string NO_ROOM = "There is not enough room.";

int Distance(TPosition a, TPosition b) { return std::max(std::abs(a.X - b.X), std::abs(a.Y - b.Y)); }

// Where a move puts its thing: a map field, a body position, or a container (merged onto a stack at Onto
// when it fits there).
struct TDestination {
    TSpot Spot;
    int Onto = -1;
};

// Why a thrown thing cannot land on the field, or nothing.
std::string ThrowLimit(TPosition Me, TPosition Where) {
    if (Where.Z < Me.Z) return "First go upstairs.";
    if (Where.Z > Me.Z) return "First go downstairs.";
    if (Distance(Me, Where) > THROW_RANGE) return "Destination is out of range.";
    return {};
}

// A slot of a container window: the container shown there, the parent for MOVE_UP, or the container that
// lies in the slot (unless it is the moved thing itself).
std::string IntoWindow(TGameWorld& World, const TPlayer& Actor, const TPlace& To, const TThing& Moving,
                       TDestination& Into) {
    const size_t Window = To.Y - CONTAINER_PLACES;
    int Container = Window < CONTAINER_WINDOWS ? Actor.OpenContainers[Window] : -1;
    if (Container < 0) return NOT_POSSIBLE;
    const std::vector<TThing>& Items = World.world().container(Container).Items;
    if (To.Z == MOVE_UP) {
        Container = World.world().container(Container).Parent;
        if (Container < 0) return NOT_POSSIBLE;
    } else if (To.Z < Items.size() && Items[To.Z].Contents >= 0 && Items[To.Z].Contents != Moving.Contents) {
        Container = Items[To.Z].Contents;
    } else {
        Into.Onto = To.Z;
    }
    Into.Spot = {TSpot::TKind::Container, {}, 0, Container};
    return {};
}

// A body position: empty, holding a container to put the thing in, or a like stack to merge with. Position
// 0 names the whole inventory (InventorySpot).
std::string IntoBody(TGameWorld& World, const TPlayer& Actor, int Position, const TThing& Moving,
                     TDestination& Into) {
    if (Position == 0) {
        const std::optional<TSpot> Spot = InventorySpot(World, Actor, Moving);
        if (!Spot) return NO_ROOM;
        Into.Spot = *Spot;
        return {};
    }
    const TBody& Body = World.body(Actor);
    const TThing& Worn = Body[Position];
    Into.Spot = {TSpot::TKind::Body, {}, Position, -1};
    if (Worn.Type == 0) return {};
    if (Worn.Contents >= 0 && Worn.Contents != Moving.Contents) {
        Into.Spot = {TSpot::TKind::Container, {}, 0, Worn.Contents};
        return {};
    }
    const bool Merges = Worn.Type == Moving.Type &&
                        World.world().types().hasFlag(Moving.Type, FLAG_CUMULATIVE) &&
                        Worn.Data + Moving.Data <= MAX_STACK;
    return Merges ? std::string() : NO_ROOM;
}

std::string Destination(TGameWorld& World, const TPlayer& Actor, const TPlace& To, const TThing& Moving,
                        TDestination& Into) {
    if (To.onMap()) {
        const TPosition Where{To.X, To.Y, To.Z};
        if (std::string Limit = ThrowLimit(World.creature(Actor).Position, Where); !Limit.empty())
            return Limit;
        Into.Spot = {TSpot::TKind::Field, Where, 0, -1};
        return RoomOnField(World.world(), Where, Moving) ? std::string() : NO_ROOM;
    }
    std::string Refusal = To.Y <= BODY_POSITIONS     ? IntoBody(World, Actor, To.Y, Moving, Into)
                          : To.Y >= CONTAINER_PLACES ? IntoWindow(World, Actor, To, Moving, Into)
                                                     : NOT_POSSIBLE;
    if (!Refusal.empty() || Into.Spot.Kind != TSpot::TKind::Container) return Refusal;
    if (Moving.Contents >= 0 && Inside(World.world(), Into.Spot.Container, Moving.Contents))
        return "This is impossible.";
    if (!RoomInContainer(World.world(), Into.Spot.Container, Moving, Into.Onto))
        return "You cannot put more objects in this container.";
    return {};
}

// A thing that goes whole out of a container slot before the one it merges onto moves that slot up.
void FollowRemoval(const TSpot& From, bool Whole, TDestination& Into) {
    if (Whole && From.Kind == TSpot::TKind::Container && Into.Spot.Container == From.Container &&
        Into.Onto > From.Index)
        --Into.Onto;
}

void Put(TGameWorld& World, TPlayer& Actor, const TDestination& Into, const TThing& Thing) {
    switch (Into.Spot.Kind) {
    case TSpot::TKind::Field:
        PutOnField(World, Into.Spot.Where, Thing);
        break;
    case TSpot::TKind::Container:
        PutInContainer(World, Into.Spot.Container, Thing, Into.Onto);
        break;
    case TSpot::TKind::Body:
        if (TThing* Worn = ThingAt(World, Actor, Into.Spot)) {
            Worn->Data = static_cast<uint8_t>(Worn->Data + Thing.Data);
            ShowChanged(World, Actor, Into.Spot);
        } else {
            PutInBody(World, Actor, Into.Spot.Index, Thing);
        }
        break;
    }
}

// Empty when the move is done; else why not.
std::string TryMove(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const TObjectTypes& Types = World.world().types();
    const TFound From = Find(World, Actor, Command.Place, Command.StackPosition, Command.ObjectType);
    if (!From.Thing || From.Thing->Type == CREATURE) return NOT_POSSIBLE;
    if (Types.hasFlag(From.Thing->Type, FLAG_UNMOVABLE)) return "You cannot move this object.";
    if (!WithinReach(World, Actor, From.Spot)) return "Too far away.";
    TThing Moving = *From.Thing;
    bool Whole = true;
    if (Types.hasFlag(Moving.Type, FLAG_CUMULATIVE)) {
        if (Command.Count == 0 || Command.Count > Moving.Data) return NOT_POSSIBLE;
        Whole = Command.Count == Moving.Data;
        Moving.Data = Command.Count;
    }
    TDestination Into;
    if (std::string Refusal = Destination(World, Actor, Command.To, Moving, Into); !Refusal.empty())
        return Refusal;
    FollowRemoval(From.Spot, Whole, Into);
    Put(World, Actor, Into, Take(World, Actor, From.Spot, Command.Count));
    CloseWindowsOutOfReach(World);
    return {};
}

void Move(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    if (std::string Refusal = TryMove(World, Actor, Command); !Refusal.empty()) Refuse(Actor, Refusal);
}

// Takes the player's creature to a field of the world; its client gets the whole view anew.
void Carry(TGameWorld& World, TPlayer& Player, TPosition To) {
    TCreature& Me = World.creature(Player);
    const TPosition From = Me.Position;
    const int Left = World.world().lift(Me);
    World.world().place(Me, To);
    Player.Path.clear();
    Player.send(Player.fullMap(World.world()));
    World.showCreatureChange(Me, {TCreatureChange::TKind::Moved, From, To, Left}, &Player);
}

void Apply(TGameWorld& World, TPlayer& Actor, const TUseRule& Rule, const TFound& Target) {
    TWorld& Things = World.world();
    const bool OnField = Target.Spot.Kind == TSpot::TKind::Field;
    const TPosition Where = OnField ? Target.Spot.Where : World.creature(Actor).Position;
    const TField* Field = Things.field(Where);
    const bool Occupied = OnField && std::any_of(Field->stack().begin(), Field->stack().end(),
                                                 [](const TThing& Lying) { return Lying.Type == CREATURE; });
    if ((Rule.Becomes != 0 && Occupied && Things.types().hasFlag(Rule.Becomes, FLAG_BLOCKS)) ||
        (Rule.Carries && !Things.enterable(*Rule.Carries)))
        return Refuse(Actor, NO_ROOM);
    if (Rule.Becomes != 0) {
        Target.Thing->Type = Rule.Becomes;
        ShowChanged(World, Actor, Target.Spot);
    }
    if (Rule.Effect != 0)
        World.toViewers(Where,
                        [&](TPlayer& Viewer) { Viewer.send(GraphicEffectMessage(Where, Rule.Effect)); });
    if (Rule.Gives != 0 && !Give(World, Actor, {Rule.Gives, 1, 0, -1})) return Refuse(Actor, NO_ROOM);
    if (Rule.Carries) Carry(World, Actor, *Rule.Carries);
    if (!Rule.Text.empty()) Actor.send(SystemMessage(TALK_EVENT_STATUS, Rule.Text));
}

void Use(TGameWorld& World, TPlayer& Actor, uint16_t Tool, const TFound& Target) {
    std::optional<TPosition> Where;
    if (Target.Spot.Kind == TSpot::TKind::Field) Where = Target.Spot.Where;
    const TUseRule* Rule = World.world().use(Tool, Target.Thing->Type, Where);
    if (!Rule) return Refuse(Actor, "You cannot use this object.");
    Apply(World, Actor, *Rule, Target);
}

void UseWith(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const TFound Tool = Find(World, Actor, Command.Place, Command.StackPosition, Command.ObjectType);
    const TFound Target = Find(World, Actor, Command.To, Command.ToStackPosition, Command.ToObjectType);
    if (!Tool.Thing || !Target.Thing || Tool.Thing->Type == CREATURE) return Refuse(Actor, NOT_POSSIBLE);
    Use(World, Actor, Tool.Thing->Type, Target);
}

void UseOnCreature(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const TFound Tool = Find(World, Actor, Command.Place, Command.StackPosition, Command.ObjectType);
    TCreature* Creature = World.world().creature(Command.CreatureId);
    if (!Tool.Thing || Tool.Thing->Type == CREATURE || !Creature || !Creature->Present)
        return Refuse(Actor, NOT_POSSIBLE);
    TFound Target{{TSpot::TKind::Field, Creature->Position, 0, -1}, nullptr};
    Target.Spot.Index = World.world().field(Creature->Position)->find(Creature->Id);
    Target.Thing = ThingAt(World, Actor, Target.Spot);
    Use(World, Actor, Tool.Thing->Type, Target);
}

void Rotate(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const TFound Found = Find(World, Actor, Command.Place, Command.StackPosition, Command.ObjectType);
    const uint16_t Turned = Found.Thing ? World.world().rotated(Found.Thing->Type) : 0;
    if (Turned == 0) return Refuse(Actor, NOT_POSSIBLE);
    Found.Thing->Type = Turned;
    ShowChanged(World, Actor, Found.Spot);
}

} // namespace

void UseAlone(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const TFound Found = Find(World, Actor, Command.Place, Command.StackPosition, Command.ObjectType);
    if (!Found.Thing) return Refuse(Actor, "You cannot use this object.");
    Use(World, Actor, 0, Found);
}

void AddItems(THandlers& Handlers) {
    Handlers.add(COMMAND_MOVE, Move);
    Handlers.add(COMMAND_USE_WITH, UseWith);
    Handlers.add(COMMAND_USE_ON_CREATURE, UseOnCreature);
    Handlers.add(COMMAND_ROTATE, Rotate);
}

} // namespace testserver
