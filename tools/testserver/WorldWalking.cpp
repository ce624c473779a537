// Walking: paths and single steps with the moves, slices and floor changes that bring the client's view
// along, stopping, turning, and refreshing a field.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/WorldRoads.h"

#include <cstdlib>

namespace testserver {

namespace {

using namespace std::chrono_literals;

// A view change of more fields than this after a move goes as a full map instead of slices.
constexpr int MAX_SLICES = 3;

// As the client times a step: ground speed * 1000 / speed, up to whole beats; a diagonal step three times
// as long, not rounded.
std::chrono::milliseconds StepDuration(uint16_t GroundSpeed, uint16_t Speed, bool Diagonal) {
    if (Speed == 0) return 1000ms;
    if (Diagonal) return std::chrono::milliseconds(GroundSpeed * 3000 / Speed);
    int Duration = GroundSpeed * 1000 / Speed;
    return std::chrono::milliseconds((Duration + BEAT_MS - 1) / BEAT_MS * BEAT_MS);
}

void Slice(const TWorld& World, TPlayer& Player, TSlice Side) {
    TPosition& View = Player.View;
    int x0 = 0, y0 = 0, x1 = BOX_X - 1, y1 = BOX_Y - 1;
    switch (Side) {
    case TSlice::North:
        --View.Y;
        y1 = 0;
        break;
    case TSlice::East:
        ++View.X;
        x0 = BOX_X - 1;
        break;
    case TSlice::South:
        ++View.Y;
        y0 = BOX_Y - 1;
        break;
    case TSlice::West:
        --View.X;
        x1 = 0;
        break;
    }
    TWireWriter Bytes;
    TFieldWriter Fields(Bytes, World, Player.Known);
    WriteArea(Fields, View, x0, y0, x1, y1);
    Fields.finish();
    Player.send(MapSliceMessage(Side, Bytes.data()));
}

void FloorUp(const TWorld& World, TPlayer& Player) {
    TPosition& View = Player.View;
    View = {View.X + 1, View.Y + 1, View.Z - 1};
    TWireWriter Bytes;
    TFieldWriter Fields(Bytes, World, Player.Known);
    if (View.Z > SURFACE) WriteFloor(Fields, View, 4);
    if (View.Z == SURFACE)
        for (int rz = 2; rz < BOX_Z; ++rz)
            WriteFloor(Fields, View, rz);
    Fields.finish();
    Player.send(FloorUpMessage(Bytes.data()));
}

void FloorDown(const TWorld& World, TPlayer& Player) {
    TPosition& View = Player.View;
    View = {View.X - 1, View.Y - 1, View.Z + 1};
    TWireWriter Bytes;
    TFieldWriter Fields(Bytes, World, Player.Known);
    if (View.Z > SURFACE + 1 && View.Z < 14) WriteFloor(Fields, View, 0);
    if (View.Z == SURFACE + 1)
        for (int rz = 2; rz >= 0; --rz)
            WriteFloor(Fields, View, rz);
    Fields.finish();
    Player.send(FloorDownMessage(Bytes.data()));
}

// Brings the client's view to the player at To: one floor change at most, then slices; anything else,
// and a destination the client's box did not hold unless the floor change describes it, as a full map.
void Follow(const TWorld& World, TPlayer& Player, TPosition From, TPosition To, bool Covered) {
    const TPosition View = Player.View;
    int dz = To.Z - View.Z;
    TPosition After = View;
    if (dz != 0) After = {View.X - dz, View.Y - dz, View.Z + dz};
    bool DescribedByFloorChange = From.Z == SURFACE && To.Z == SURFACE + 1;
    if ((!Covered && !DescribedByFloorChange) || std::abs(dz) > 1 || std::abs(To.X - After.X) > MAX_SLICES ||
        std::abs(To.Y - After.Y) > MAX_SLICES) {
        Player.send(Player.fullMap(World));
        return;
    }
    if (dz < 0) FloorUp(World, Player);
    if (dz > 0) FloorDown(World, Player);
    while (Player.View.X < To.X)
        Slice(World, Player, TSlice::East);
    while (Player.View.X > To.X)
        Slice(World, Player, TSlice::West);
    while (Player.View.Y < To.Y)
        Slice(World, Player, TSlice::South);
    while (Player.View.Y > To.Y)
        Slice(World, Player, TSlice::North);
}

// One step of the path: the player's own client gets the move and its view; the others see the creature
// step. A blocked step cancels the rest of the path.
void Step(TGameWorld& Game, TPlayer& Player, int Code) {
    TWorld& World = Game.world();
    TCreature& Me = Game.creature(Player);
    TPosition From = Me.Position;
    int dx = StepX(Code), dy = StepY(Code);
    Me.Facing = FacingOf(dx, dy, Me.Facing);
    TPosition To{From.X + dx, From.Y + dy, From.Z};
    TPosition Target = World.floorChange(To).value_or(To);
    if ((dx == 0 && dy == 0) || !World.enterable(Target)) {
        Player.Path.clear();
        Player.send(WalkCancelMessage(Me.Facing));
        return;
    }
    bool Covered = Player.sees(Target);
    int Left = World.lift(Me);
    World.place(Me, Target);
    if (Covered)
        Player.send(MoveCreatureMessage(From, static_cast<uint8_t>(Left), Target));
    else
        Player.send(DeleteObjectMessage(From, static_cast<uint8_t>(Left)));
    Follow(World, Player, From, Target, Covered);
    Game.showCreatureChange(Me, {TCreatureChange::TKind::Moved, From, Target, Left}, &Player);
    uint16_t GroundSpeed = World.types().groundSpeed(World.field(Target)->stack().front().Type);
    Player.NextStepAt = Game.now() + StepDuration(GroundSpeed, Me.Speed, dx != 0 && dy != 0);
}

void Walk(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    Actor.Path.assign(Command.Steps.begin(), Command.Steps.end());
    WalkOn(World, Actor);
}

void Stop(TGameWorld& World, TPlayer& Actor, const TClientCommand&) {
    Actor.Path.clear();
    Actor.send(WalkCancelMessage(World.creature(Actor).Facing));
}

// Every player who sees the player's field sees it turn.
void Turn(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    TCreature& Me = World.creature(Actor);
    Me.Facing = static_cast<uint8_t>(Command.Type - COMMAND_TURN_NORTH);
    auto Position = static_cast<uint8_t>(World.world().field(Me.Position)->find(Me.Id));
    World.toViewers(Me.Position, [&](TPlayer& Viewer) {
        Viewer.send(ChangeObjectMessage(Me.Position, Position, Viewer.creatureBytes(Me)));
    });
}

void RefreshField(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    TPosition Where{Command.Place.X, Command.Place.Y, Command.Place.Z};
    TWireWriter Field;
    TFieldWriter Fields(Field, World.world(), Actor.Known);
    Fields.field(Where);
    Fields.finish();
    Actor.send(FieldMessage(Where, Field.data()));
}

} // namespace

void WalkOn(TGameWorld& World, TPlayer& Player) {
    const bool Paced = World.options().PaceWalking;
    while (!Player.Path.empty() && (!Paced || World.now() >= Player.NextStepAt)) {
        int Code = Player.Path.front();
        Player.Path.pop_front();
        Step(World, Player, Code);
        if (Paced) break;
    }
}

void AddWalking(THandlers& Handlers) {
    for (uint8_t Command :
         {COMMAND_WALK, COMMAND_STEP_NORTH, COMMAND_STEP_EAST, COMMAND_STEP_SOUTH, COMMAND_STEP_WEST,
          COMMAND_STEP_NORTH_EAST, COMMAND_STEP_SOUTH_EAST, COMMAND_STEP_SOUTH_WEST, COMMAND_STEP_NORTH_WEST})
        Handlers.add(Command, Walk);
    Handlers.add(COMMAND_STOP, Stop);
    for (uint8_t Command : {COMMAND_TURN_NORTH, COMMAND_TURN_EAST, COMMAND_TURN_SOUTH, COMMAND_TURN_WEST})
        Handlers.add(Command, Turn);
    Handlers.add(COMMAND_REFRESH_FIELD, RefreshField);
}

} // namespace testserver
