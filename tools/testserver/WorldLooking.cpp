// Looking: a line in the console that names what the player looks at.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/WorldRoads.h"

namespace testserver {

namespace {

void Look(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const TThing* Thing = World.thingAt(Actor, Command.Place, Command.StackPosition);
    std::string Text = "You see nothing special.";
    if (Thing && Thing->Type != CREATURE)
        Text = "You see " + World.world().describe(*Thing) + ".";
    else if (Thing && Thing->CreatureId == Actor.Id)
        Text = "You see yourself.";
    else if (const TCreature* Creature = Thing ? World.world().creature(Thing->CreatureId) : nullptr)
        Text = "You see " + Creature->Name + ".";
    Actor.send(SystemMessage(TALK_EVENT_STATUS, Text));
}

} // namespace

void AddLooking(THandlers& Handlers) { Handlers.add(COMMAND_LOOK, Look); }

} // namespace testserver
