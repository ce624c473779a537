// Containers: using one opens it in a window of the player's; windows close, go up to the parent and
// refresh.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/WorldRoads.h"

namespace testserver {

namespace {

void Open(TGameWorld& World, TPlayer& Actor, uint8_t Window, int Index) {
    Actor.OpenContainers[Window] = Index;
    const TWorld& Things = World.world();
    const TContainer& Container = Things.container(Index);
    Actor.send(OpenContainerMessage(Window, Container.Type, Things.name(Container.Type), Container.Capacity,
                                    Container.Parent >= 0, Container.Items, Things.types()));
}

void Use(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const TThing* Thing = World.thingAt(Actor, Command.Place, Command.StackPosition);
    if (Thing && Thing->Contents >= 0 && Command.Container < CONTAINER_WINDOWS)
        return Open(World, Actor, Command.Container, Thing->Contents);
    const TPosition Where{Command.Place.X, Command.Place.Y, Command.Place.Z};
    if (Thing && Command.Place.onMap() && ShowText(World, Actor, Where, Thing->Type)) return;
    UseAlone(World, Actor, Command);
}

void Close(TGameWorld&, TPlayer& Actor, const TClientCommand& Command) {
    if (Command.Container >= CONTAINER_WINDOWS) return;
    Actor.OpenContainers[Command.Container] = -1;
    Actor.send(CloseContainerMessage(Command.Container));
}

// Up to the parent, or the same container again (refresh).
void Reopen(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    if (Command.Container >= CONTAINER_WINDOWS) return;
    int Index = Actor.OpenContainers[Command.Container];
    if (Index < 0) return;
    if (Command.Type == COMMAND_UP_CONTAINER) Index = World.world().container(Index).Parent;
    if (Index >= 0) Open(World, Actor, Command.Container, Index);
}

} // namespace

void AddContainers(THandlers& Handlers) {
    Handlers.add(COMMAND_USE, Use);
    Handlers.add(COMMAND_CLOSE_CONTAINER, Close);
    Handlers.add(COMMAND_UP_CONTAINER, Reopen);
    Handlers.add(COMMAND_REFRESH_CONTAINER, Reopen);
}

} // namespace testserver
