// Finding, taking and putting things, and the messages that show each change.
#include "tools/testserver/WorldThings.h"

#include "tools/testserver/GameWorld.h"
#include "tools/testserver/ItemMessages.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace testserver {

namespace {

std::vector<uint8_t> ItemBytes(const TObjectTypes& Types, const TThing& Thing) {
    TWireWriter Writer;
    WriteItem(Writer, Types, Thing);
    return Writer.take();
}

bool Stacks(const TObjectTypes& Types, const TThing& Onto, const TThing& Thing) {
    return Onto.Type == Thing.Type && Types.hasFlag(Thing.Type, FLAG_CUMULATIVE) &&
           Onto.Data + Thing.Data <= MAX_STACK;
}

// Every container window that shows the container, of every player.
void ForEachWindow(TGameWorld& World, int Container, const std::function<void(TPlayer&, uint8_t)>& Show) {
    for (const std::shared_ptr<TPlayer>& Player : World.players())
        for (size_t Window = 0; Window < CONTAINER_WINDOWS; ++Window)
            if (Player->OpenContainers[Window] == Container) Show(*Player, static_cast<uint8_t>(Window));
}

// The position of the stack on top of the field's items that Thing would merge with; -1 when none. The top
// item lies lowest among the items: right after the grounds, their companions and the creatures.
int TopStack(const TWorld& World, const TField& Field, const TThing& Thing) {
    const TObjectTypes& Types = World.types();
    for (size_t Position = 0; Position < Field.stack().size(); ++Position) {
        const TThing& Top = Field.stack()[Position];
        if (Top.Type == CREATURE || Types.hasFlag(Top.Type, FLAG_GROUND) ||
            Types.hasFlag(Top.Type, FLAG_CLASS_1) || Types.hasFlag(Top.Type, FLAG_CLASS_2) ||
            Types.hasFlag(Top.Type, FLAG_CLASS_3))
            continue;
        return Stacks(Types, Top, Thing) ? static_cast<int>(Position) : -1;
    }
    return -1;
}

void SetParent(TWorld& World, const TThing& Thing, int Parent) {
    if (Thing.Contents >= 0) World.container(Thing.Contents).Parent = Parent;
}

} // namespace

TSpot SpotOf(const TPlayer& Player, const TPlace& Place, uint8_t StackPosition) {
    if (Place.onMap()) return {TSpot::TKind::Field, {Place.X, Place.Y, Place.Z}, StackPosition, -1};
    if (Place.Y < CONTAINER_PLACES) return {TSpot::TKind::Body, {}, Place.Y, -1};
    const size_t Window = Place.Y - CONTAINER_PLACES;
    const int Container = Window < CONTAINER_WINDOWS ? Player.OpenContainers[Window] : -1;
    return {TSpot::TKind::Container, {}, Container >= 0 ? Place.Z : -1, Container};
}

TFound Find(TGameWorld& World, const TPlayer& Player, const TPlace& Place, uint8_t StackPosition,
            uint16_t Type) {
    TFound Found{SpotOf(Player, Place, StackPosition), nullptr};
    TThing* Thing = ThingAt(World, Player, Found.Spot);
    if (Thing && Thing->Type == Type) Found.Thing = Thing;
    return Found;
}

TThing* ThingAt(TGameWorld& World, const TPlayer& Owner, const TSpot& Spot) {
    TThing* Thing = nullptr;
    switch (Spot.Kind) {
    case TSpot::TKind::Field:
        if (TField* Field = World.world().field(Spot.Where))
            Thing = Field->at(static_cast<size_t>(Spot.Index));
        break;
    case TSpot::TKind::Body:
        if (Spot.Index >= 1 && Spot.Index <= BODY_POSITIONS) Thing = &World.body(Owner)[Spot.Index];
        break;
    case TSpot::TKind::Container: {
        if (Spot.Container < 0) break;
        std::vector<TThing>& Items = World.world().container(Spot.Container).Items;
        if (Spot.Index >= 0 && static_cast<size_t>(Spot.Index) < Items.size()) Thing = &Items[Spot.Index];
        break;
    }
    }
    return Thing && Thing->Type != 0 ? Thing : nullptr;
}

bool WithinReach(TGameWorld& World, const TPlayer& Player, const TSpot& Spot) {
    if (Spot.Kind != TSpot::TKind::Field) return true;
    const TPosition Me = World.creature(Player).Position;
    return Spot.Where.Z == Me.Z && std::abs(Spot.Where.X - Me.X) <= 1 && std::abs(Spot.Where.Y - Me.Y) <= 1;
}

TThing Take(TGameWorld& World, TPlayer& Owner, const TSpot& Spot, uint8_t Count) {
    TThing& Thing = *ThingAt(World, Owner, Spot);
    if (World.world().types().hasFlag(Thing.Type, FLAG_CUMULATIVE) && Count < Thing.Data) {
        Thing.Data = static_cast<uint8_t>(Thing.Data - Count);
        ShowChanged(World, Owner, Spot);
        return {Thing.Type, Count, 0, -1};
    }
    const TThing Taken = Thing;
    const auto Index = static_cast<uint8_t>(Spot.Index);
    switch (Spot.Kind) {
    case TSpot::TKind::Field:
        World.world().field(Spot.Where)->remove(Index);
        World.toViewers(Spot.Where,
                        [&](TPlayer& Viewer) { Viewer.send(DeleteObjectMessage(Spot.Where, Index)); });
        break;
    case TSpot::TKind::Body:
        Thing = {};
        Owner.send(ClearBodyMessage(Index));
        break;
    case TSpot::TKind::Container:
        std::erase_if(World.world().container(Spot.Container).Items,
                      [&](const TThing& t) { return &t == &Thing; });
        ForEachWindow(World, Spot.Container, [&](TPlayer& Viewer, uint8_t Window) {
            Viewer.send(ContainerDeleteMessage(Window, Index));
        });
        break;
    }
    return Taken;
}

void ShowChanged(TGameWorld& World, TPlayer& Owner, const TSpot& Spot) {
    const TObjectTypes& Types = World.world().types();
    const TThing& Thing = *ThingAt(World, Owner, Spot);
    const auto Index = static_cast<uint8_t>(Spot.Index);
    switch (Spot.Kind) {
    case TSpot::TKind::Field:
        World.toViewers(Spot.Where, [&](TPlayer& Viewer) {
            Viewer.send(ChangeObjectMessage(Spot.Where, Index, ItemBytes(Types, Thing)));
        });
        break;
    case TSpot::TKind::Body:
        Owner.send(SetBodyMessage(Index, ItemBytes(Types, Thing)));
        break;
    case TSpot::TKind::Container:
        ForEachWindow(World, Spot.Container, [&](TPlayer& Viewer, uint8_t Window) {
            Viewer.send(ContainerChangeMessage(Window, Index, Thing, Types));
        });
        break;
    }
}

bool RoomOnField(const TWorld& World, TPosition Where, const TThing& Thing) {
    const TField* Field = World.field(Where);
    const TObjectTypes& Types = World.types();
    if (!Field || Field->stack().empty() || !Types.hasFlag(Field->stack().front().Type, FLAG_GROUND))
        return false;
    for (const TThing& Lying : Field->stack())
        if (Lying.Type != CREATURE && Types.hasFlag(Lying.Type, FLAG_BLOCKS)) return false;
    return TopStack(World, *Field, Thing) >= 0 || Field->stack().size() < OBJECTS_PER_FIELD;
}

bool RoomInContainer(const TWorld& World, int Container, const TThing& Thing, int Onto) {
    const TContainer& Into = World.container(Container);
    if (Onto >= 0 && static_cast<size_t>(Onto) < Into.Items.size() &&
        Stacks(World.types(), Into.Items[Onto], Thing))
        return true;
    return Into.Items.size() < Into.Capacity;
}

bool PutOnField(TGameWorld& World, TPosition Where, const TThing& Thing) {
    TWorld& Things = World.world();
    const TObjectTypes& Types = Things.types();
    if (!RoomOnField(Things, Where, Thing)) return false;
    TField& Field = *Things.field(Where);
    if (const int Position = TopStack(Things, Field, Thing); Position >= 0) {
        TThing& Top = *Field.at(static_cast<size_t>(Position));
        Top.Data = static_cast<uint8_t>(Top.Data + Thing.Data);
        World.toViewers(Where, [&](TPlayer& Viewer) {
            Viewer.send(ChangeObjectMessage(Where, static_cast<uint8_t>(Position), ItemBytes(Types, Top)));
        });
        return true;
    }
    Field.add(Types, Thing);
    SetParent(Things, Thing, -1);
    World.toViewers(Where,
                    [&](TPlayer& Viewer) { Viewer.send(AddObjectMessage(Where, ItemBytes(Types, Thing))); });
    return true;
}

void PutInBody(TGameWorld& World, TPlayer& Owner, int BodyPosition, const TThing& Thing) {
    World.body(Owner)[BodyPosition] = Thing;
    SetParent(World.world(), Thing, -1);
    Owner.send(SetBodyMessage(static_cast<uint8_t>(BodyPosition), ItemBytes(World.world().types(), Thing)));
}

bool PutInContainer(TGameWorld& World, int Container, const TThing& Thing, int Onto) {
    TWorld& Things = World.world();
    const TObjectTypes& Types = Things.types();
    if (!RoomInContainer(Things, Container, Thing, Onto)) return false;
    std::vector<TThing>& Items = Things.container(Container).Items;
    if (Onto >= 0 && static_cast<size_t>(Onto) < Items.size() && Stacks(Types, Items[Onto], Thing)) {
        Items[Onto].Data = static_cast<uint8_t>(Items[Onto].Data + Thing.Data);
        ForEachWindow(World, Container, [&](TPlayer& Viewer, uint8_t Window) {
            Viewer.send(ContainerChangeMessage(Window, static_cast<uint8_t>(Onto), Items[Onto], Types));
        });
        return true;
    }
    Items.insert(Items.begin(), Thing); // the client puts an added object first too
    SetParent(Things, Thing, Container);
    ForEachWindow(World, Container, [&](TPlayer& Viewer, uint8_t Window) {
        Viewer.send(ContainerAddMessage(Window, Thing, Types));
    });
    return true;
}

std::optional<TSpot> InventorySpot(TGameWorld& World, const TPlayer& Player, const TThing& Thing) {
    const TBody& Body = World.body(Player);
    std::vector<int> Positions{BACKPACK_POSITION};
    for (int Position = 1; Position <= BODY_POSITIONS; ++Position)
        if (Position != BACKPACK_POSITION) Positions.push_back(Position);
    for (int Position : Positions) {
        const int Container = Body[Position].Contents;
        if (Container >= 0 && !Inside(World.world(), Container, Thing.Contents) &&
            RoomInContainer(World.world(), Container, Thing, -1))
            return TSpot{TSpot::TKind::Container, {}, 0, Container};
    }
    for (int Hand : HAND_POSITIONS)
        if (Body[Hand].Type == 0) return TSpot{TSpot::TKind::Body, {}, Hand, -1};
    return std::nullopt;
}

std::optional<TSpot> GiftSpot(TGameWorld& World, TPlayer& Player, const TThing& Thing) {
    if (std::optional<TSpot> Spot = InventorySpot(World, Player, Thing)) return Spot;
    const TPosition Here = World.creature(Player).Position;
    if (RoomOnField(World.world(), Here, Thing)) return TSpot{TSpot::TKind::Field, Here, 0, -1};
    return std::nullopt;
}

bool Give(TGameWorld& World, TPlayer& Player, const TThing& Thing) {
    const std::optional<TSpot> Spot = GiftSpot(World, Player, Thing);
    if (!Spot) return false;
    if (Spot->Kind == TSpot::TKind::Container) return PutInContainer(World, Spot->Container, Thing, -1);
    if (Spot->Kind == TSpot::TKind::Field) return PutOnField(World, Spot->Where, Thing);
    PutInBody(World, Player, Spot->Index, Thing);
    return true;
}

bool Inside(const TWorld& World, int Inner, int Outer) {
    if (Outer < 0) return false;
    for (int Container = Inner; Container >= 0; Container = World.container(Container).Parent)
        if (Container == Outer) return true;
    return false;
}

std::vector<TThing> Flatten(const TWorld& World, const TThing& Thing) {
    std::vector<TThing> Things{Thing};
    if (Thing.Contents >= 0)
        for (const TThing& Item : World.container(Thing.Contents).Items) {
            std::vector<TThing> Inner = Flatten(World, Item);
            Things.insert(Things.end(), Inner.begin(), Inner.end());
        }
    return Things;
}

void CloseWindowsOutOfReach(TGameWorld& World) {
    for (const std::shared_ptr<TPlayer>& Viewer : World.players())
        for (size_t Window = 0; Window < CONTAINER_WINDOWS; ++Window) {
            const int Shown = Viewer->OpenContainers[Window];
            if (Shown < 0) continue;
            for (const std::shared_ptr<TPlayer>& Other : World.players()) {
                if (Other == Viewer) continue;
                const TBody& Body = World.body(*Other);
                if (std::none_of(Body.begin(), Body.end(), [&](const TThing& Worn) {
                        return Inside(World.world(), Shown, Worn.Contents);
                    }))
                    continue;
                Viewer->OpenContainers[Window] = -1;
                Viewer->send(CloseContainerMessage(static_cast<uint8_t>(Window)));
                break;
            }
        }
}

void Refuse(TPlayer& Player, std::string_view Text) { Player.send(SystemMessage(TALK_STATUS_ONLY, Text)); }

} // namespace testserver
