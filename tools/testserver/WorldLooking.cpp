// Looking: a line in the console that names what the player looks at.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/WorldRoads.h"

namespace testserver {

namespace {

void Look(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const TThing* Thing = World.thingAt(Actor, Command.Place, Command.StackPosition);
    Actor.send(SystemMessage(TALK_EVENT_STATUS, LookText(World, Actor, Thing)));
}

} // namespace

std::string LookText(TGameWorld& World, const TPlayer& Actor, const TThing* Thing) {
    if (Thing && Thing->Type != CREATURE) return "You see " + World.world().describe(*Thing) + ".";
    if (Thing && Thing->CreatureId == Actor.Id) return "You see yourself.";
    if (const TCreature* Creature = Thing ? World.world().creature(Thing->CreatureId) : nullptr)
        return "You see " + Creature->Name + ".";
    return "You see nothing special.";
}

void AddLooking(THandlers& Handlers) { Handlers.add(COMMAND_LOOK, Look); }

} // namespace testserver
