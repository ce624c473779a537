// Things in the world's places as the roads of objects and trade move them: what a command names, taking a
// thing out of its place and putting one in, each change shown to every client that shows the place.
#pragma once

#include "tools/testserver/ClientCommands.h"
#include "tools/testserver/World.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace testserver {

class TGameWorld;
class TPlayer;

inline constexpr uint8_t MAX_STACK = 100; // pieces of one cumulative thing
inline constexpr int BACKPACK_POSITION = 3;
inline constexpr int HAND_POSITIONS[] = {5, 6}; // the left hand's, then the right hand's

// A thing a command names and its spot; Thing is null when the place holds nothing of the command's type.
struct TFound {
    TSpot Spot;
    TThing* Thing = nullptr;
};

// The spot a place and stack position name for Player: a stack position of a map field, one of its body
// positions or a slot of one of its container windows. It may hold nothing.
TSpot SpotOf(const TPlayer& Player, const TPlace& Place, uint8_t StackPosition);
// What Player names at a place and stack position; only a thing of Type counts.
TFound Find(TGameWorld& World, const TPlayer& Player, const TPlace& Place, uint8_t StackPosition,
            uint16_t Type);
// The thing at a spot; a body spot is Owner's. Null when there is none.
TThing* ThingAt(TGameWorld& World, const TPlayer& Owner, const TSpot& Spot);

// Whether the player can take a thing from the spot: a map field next to it on its floor, or any spot of
// its body or container windows.
bool WithinReach(TGameWorld& World, const TPlayer& Player, const TSpot& Spot);

// Takes Count pieces of a cumulative thing, or the whole of any other thing, out of its spot; there must
// be one. The spots behind it on its field or in its container move up by one when it goes whole.
TThing Take(TGameWorld& World, TPlayer& Owner, const TSpot& Spot, uint8_t Count);
// Shows a thing whose type or count changed in its spot.
void ShowChanged(TGameWorld& World, TPlayer& Owner, const TSpot& Spot);

// Room for a thing: on a field with a ground and nothing that blocks, merged with a like stack on top or as
// one more object; in a container merged with a like stack in slot Onto, or in the first slot when one is
// free. Two stacks are like when they have the same cumulative type and together no more than 100 pieces.
bool RoomOnField(const TWorld& World, TPosition Where, const TThing& Thing);
bool RoomInContainer(const TWorld& World, int Container, const TThing& Thing, int Onto);

// Each answers false, changing nothing, when there is no room.
bool PutOnField(TGameWorld& World, TPosition Where, const TThing& Thing);
bool PutInContainer(TGameWorld& World, int Container, const TThing& Thing, int Onto);
// Into an empty body position.
void PutInBody(TGameWorld& World, TPlayer& Owner, int BodyPosition, const TThing& Thing);
// Where a thing for the player's inventory goes: into a container in its body (the backpack position's
// first) that has room and is not the thing itself or inside it, else into an empty hand; nothing when
// neither has room.
std::optional<TSpot> InventorySpot(TGameWorld& World, const TPlayer& Player, const TThing& Thing);
// Where a gift for the player goes: its inventory spot, else onto the player's field; nothing when there is
// no room in any.
std::optional<TSpot> GiftSpot(TGameWorld& World, TPlayer& Player, const TThing& Thing);
bool Give(TGameWorld& World, TPlayer& Player, const TThing& Thing);

// Whether container Inner is container Outer or lies inside it.
bool Inside(const TWorld& World, int Inner, int Outer);
// The thing and, for a container, everything inside it, depth first.
std::vector<TThing> Flatten(const TWorld& World, const TThing& Thing);
// Closes every container window of a player whose container now lies in another player's body.
void CloseWindowsOutOfReach(TGameWorld& World);
// The player's status line tells why its action came to nothing.
void Refuse(TPlayer& Player, std::string_view Text);

} // namespace testserver
