// The test server's small world: fields with their stacks kept in the client's order, containers, creatures
// with scripted walks, floor changes and the names that looking gives.
#pragma once

#include "tools/testserver/ObjectTypes.h"

#include <array>
#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testserver {

// An absolute world field: x grows east, y south; z is the floor, 0 the highest, 7 the surface.
struct TPosition {
    int X = 0, Y = 0, Z = 0;
    auto operator<=>(const TPosition&) const = default;
};

inline constexpr uint16_t CREATURE = 99; // the type word that stands for a creature
inline constexpr int OBJECTS_PER_FIELD = 10;
inline constexpr int BODY_POSITIONS = 10; // inventory slots 1..10

// Walking directions, the codes of the walk commands: 1 east, then counter-clockwise to 8 south-east.
int StepX(int Code);
int StepY(int Code);
// The code of the step by (dx, dy), each -1, 0 or 1; 0 for no step.
int StepTo(int dx, int dy);
// The facing after a step of (dx, dy): 0 north, 1 east, 2 south, 3 west; Current when both are 0.
uint8_t FacingOf(int dx, int dy, uint8_t Current);

// An object on a field, in a container or in a body position.
struct TThing {
    uint16_t Type = 0;       // an item type, or CREATURE
    uint8_t Data = 0;        // the count of a cumulative item, the liquid of a liquid one
    uint32_t CreatureId = 0; // set for CREATURE
    int Contents = -1;       // a container's contents: index into TWorld's containers; -1 none
};

// The stack of one field in the client's order: grounds, then the objects of flags 1, 2 and 3, then
// creatures, then the other items; within one class the object added last lies lowest. Kept so that every
// stack position the server names is the one the client holds.
class TField {
public:
    const std::vector<TThing>& stack() const { return Stack; }
    // Inserts where the client's sorted insert puts Thing; the position, or -1 on a full field.
    int add(const TObjectTypes& Types, const TThing& Thing);
    void remove(size_t Position);
    TThing* at(size_t Position) { return Position < Stack.size() ? &Stack[Position] : nullptr; }
    int find(uint32_t CreatureId) const; // -1 when the creature is not here

private:
    std::vector<TThing> Stack;
};

// A place that holds things, as the world names it rather than as one client's windows do.
struct TSpot {
    enum class TKind : uint8_t { Field, Body, Container };
    TKind Kind = TKind::Field;
    TPosition Where{}; // Field
    int Index = 0; // the stack position on the field, the body position 1..10 or the slot in the container
    int Container = -1; // Container: the world's index of the container
    bool operator==(const TSpot&) const = default;
};

struct TContainer {
    uint16_t Type = 0;
    uint8_t Capacity = 0;
    int Parent = -1; // the container that holds this one, -1 when it lies on a field or in a body position
    std::vector<TThing> Items;
};

// What using an item does, alone (Tool 0) or on a target. A rule fits a target of type Target (0: any) on
// the field Field when one is given, anywhere else.
struct TUseRule {
    uint16_t Tool = 0;
    uint16_t Target = 0;
    std::optional<TPosition> Field;
    uint16_t Becomes = 0;             // the target turns into this type; 0 keeps it
    std::optional<TPosition> Carries; // the user is taken to this field
    uint16_t Gives = 0;               // the user gets one of these
    uint8_t Effect = 0;               // a graphic effect on the target's field; 0 none
    std::string Text;                 // the user's status line; empty: none
};

// One step of a creature's script.
struct TAction {
    enum class TKind { Appear, Step, Disappear, Wait };
    TKind Kind = TKind::Wait;
    TPosition Where{}; // Appear
    int Code = 0;      // Step: the walking direction
};

struct TCreature {
    uint32_t Id = 0; // below 0x40000000 a player, above a non-player creature
    std::string Name;
    uint16_t Outfit = 1;
    std::array<uint8_t, 4> Colors{}; // head, body, legs, feet
    uint8_t Facing = 2;
    uint8_t Health = 100; // percent
    uint16_t Speed = 220;
    uint8_t Skull = 0;   // as every client sees it: 0 none, 1 to 4 (SocialMessages.h)
    uint8_t Strikes = 0; // hit points it takes from a player who attacks it, each round; 0: it does not fight
    bool Present = false;
    TPosition Position{};
    std::vector<TAction> Script; // one action per creature step, from Next; after the last one from Loop
    size_t Next = 0;
    size_t Loop = 0;
};

// The text of a readable thing on a map field: a sign's or book's, shown (and written, as the thing's type
// allows) in the text dialog, or a house's list, edited in the list dialog.
struct TText {
    std::string Text;
    std::string Author; // of a text; empty for none
    bool List = false;
    uint8_t ListKind = 0; // of a list, as the list dialog sends it back
};

// What one creature step did, for the messages that show it.
struct TCreatureChange {
    enum class TKind { None, Appeared, Moved, Disappeared };
    TKind Kind = TKind::None;
    TPosition From{}, To{};
    int FromPosition = 0; // stack position left on From
};

class TWorld {
public:
    explicit TWorld(std::shared_ptr<const TObjectTypes> Types);

    const TObjectTypes& types() const { return *Types; }

    // Nothing outside the world's fields.
    const TField* field(TPosition Where) const;
    TField* field(TPosition Where);
    // Puts Thing on the field at Where, creating the field; the stack position. Throws TDataFileError on a
    // full field or an item type the file lacks (the layout does not fit the types).
    int put(TPosition Where, const TThing& Thing);

    // A new empty container; its index.
    int addContainer(uint16_t Type, uint8_t Capacity, int Parent);
    TContainer& container(int Index) { return Containers.at(static_cast<size_t>(Index)); }
    const TContainer& container(int Index) const { return Containers.at(static_cast<size_t>(Index)); }
    // Appends to a container; an index of a new container when Thing's type is a container.
    int addToContainer(int Index, TThing Thing, uint8_t Capacity = 0);
    // A new container with copies of the contents of container Index, containers inside it copied too; its
    // index.
    int copyContainer(int Index, int Parent);

    // Stepping onto From takes a creature to To.
    void addFloorChange(TPosition From, TPosition To) { FloorChanges[From] = To; }
    std::optional<TPosition> floorChange(TPosition From) const;

    // The look texts: "a chest", and with Plural "37 gold coins" for a count above one. Name alone is the
    // title of a container's window.
    void setName(uint16_t Type, std::string Article, std::string Name, std::string Plural = {});
    std::string name(uint16_t Type) const;
    std::string describe(const TThing& Thing) const;

    // Using items: the first rule added that fits Tool and Target lying on Where; null when none does.
    void addUse(TUseRule Rule) { Uses.push_back(std::move(Rule)); }
    const TUseRule* use(uint16_t Tool, uint16_t Target, std::optional<TPosition> Where) const;
    // Rotating turns an item of one type into the next; 0 when the type does not turn.
    void addRotation(uint16_t From, uint16_t To) { Rotations[From] = To; }
    uint16_t rotated(uint16_t Type) const;

    // A creature may step here: a field whose first object is a ground, with nothing blocking, no creature
    // and room for one more object.
    bool enterable(TPosition Where) const;

    // The reference holds until the next creature is added or removed.
    TCreature& addCreature(TCreature Creature);
    // Forgets a creature that has been lifted off its field.
    void removeCreature(uint32_t Id);
    TCreature* creature(uint32_t Id);
    const TCreature* creature(uint32_t Id) const;
    std::vector<TCreature>& creatures() { return Creatures; }
    // Puts a creature on a field (it must be enterable); the stack position it takes.
    int place(TCreature& Creature, TPosition Where);
    // Takes a present creature off its field; the stack position it left.
    int lift(TCreature& Creature);
    // The creature's next scripted action. A blocked step or appearance waits and is tried again.
    TCreatureChange act(TCreature& Creature);

    TPosition Start{};                             // the players' first field
    std::map<TPosition, TText> Texts;              // of the readable things, by the field they lie on
    std::array<TThing, BODY_POSITIONS + 1> Body{}; // a new character's body positions 1..10; 0 unused

private:
    struct TName {
        std::string Article, Name, Plural;
    };

    std::shared_ptr<const TObjectTypes> Types;
    std::map<TPosition, TField> Fields;
    std::vector<TContainer> Containers;
    std::map<TPosition, TPosition> FloorChanges;
    std::map<uint16_t, TName> Names;
    std::vector<TUseRule> Uses;
    std::map<uint16_t, uint16_t> Rotations;
    std::vector<TCreature> Creatures;
};

} // namespace testserver
