// The game server's map descriptions: the field reader with its skip encoding, the area and floor readers,
// and the messages that fill, scroll and change the map box, move creatures and refuse steps.
#include "network/CommunicationHandlers.h"

#include "foundation/Exception.h"
#include "network/CommunicationSend.h"
#include "network/Network.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/EventHints.h"
#include "state/Map.h"
#include "state/MapAutomap.h"
#include "state/Talk.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

constexpr int32_t FIELD_END = 0xFF00; // and above: the field ends, the low byte counts empty fields after it
constexpr int32_t SURFACE = 7;
constexpr int32_t HIGHEST_FLOOR = 15;

// Fields the field reader still leaves empty; reset before the first field of every message that reads
// fields, so it never outlives one message.
int32_t FieldsToSkip = 0;

// The world's floors run from 0 to 15: a view beyond them has no floors to read and is refused.
void MoveView(int32_t x, int32_t y, int32_t z) {
    CHECK(In(z, 0, HIGHEST_FLOOR), z);
    SetViewPosition(x, y, z);
}

void UpdateAutomapIfViewed(int32_t rx, int32_t ry, int32_t rz) {
    if (rz == GetViewLayer()) UpdateAutomapField(rx, ry);
}

// A world position from the wire; Local gets its box coordinates.
struct TWirePosition {
    int32_t x, y, z;
};

TWirePosition ReadPosition() {
    TWirePosition Position;
    Position.x = GetWord();
    Position.y = GetWord();
    Position.z = GetByte();
    return Position;
}

TWirePosition Local(TWirePosition Position) {
    WorldToLocal(Position.x, Position.y, Position.z);
    return Position;
}

// After a change of the view: the talk boxes are laid out again and the area's hints are queued.
void ViewMoved() {
    SetMapTextChanged();
    int32_t x, y, z;
    GetViewPosition(x, y, z);
    CheckPositionEventHelp(x, y, z);
}

void ReceiveMapSlice(int32_t dx, int32_t dy, int32_t xmin, int32_t ymin, int32_t xmax, int32_t ymax) {
    ScrollMap(dx, dy);
    ReadMapArea(xmin, ymin, xmax, ymax);
    ViewMoved();
}

// The object at a stack position of a field the client holds; an empty position is only allowed while the
// field has been asked of the server again. False for such a position.
bool GetChangedObject(TObject& Obj, const TWirePosition& Field, int32_t Position) {
    GetMapObject(Obj, Field.x, Field.y, Field.z, Position);
    if (Obj.Type != 0) return true;
    int32_t rx = Field.x, ry = Field.y, rz = Field.z;
    CHECK_TEXT(FieldRefreshRequested(rx, ry, rz), "FieldRefreshRequested(rx,ry,rz)", rx, ry);
    return false;
}

void HideCreatureObject(const TObject& Obj) {
    if (Obj.Type == CREATURE) HideCreature(static_cast<uint32_t>(Obj.Data));
}

void AfterFloorChange() {
    StopPlayerWalk();
    ViewMoved();
    for (int32_t rx = 0; rx < MAPSIZE_X; rx++)
        for (int32_t ry = 0; ry < MAPSIZE_Y; ry++)
            UpdateAutomapField(rx, ry);
}

// ---- Creature moves

struct TCreatureMove {
    TWirePosition AbsStart, AbsDestination; // as received
    TWirePosition Start, Destination;       // box coordinates
    int32_t Position;                       // stack position at the start
    int32_t dx, dy, dz;                     // world
    bool isJump() const { return dz != 0 || std::abs(dx) > 1 || std::abs(dy) > 1; }
};

void AppendTriple(std::string& Text, const char* Names[3], int32_t a, int32_t b, int32_t c) {
    Text += Names[0] + std::to_string(a) + Names[1] + std::to_string(b) + Names[2] + std::to_string(c);
}

// The objects of a field in drawing order, then stack positions 0..9.
void AppendCylinder(std::string& Text, const char* Title, const TWirePosition& Field) {
    Text += std::string("\n ") + Title + " Cylinder (1): ";
    TObject Obj;
    for (GetFirstObject(Obj, Field.x, Field.y, Field.z); Obj.Type != 0; GetNextObject(Obj))
        Text += " (" + std::to_string(Obj.Type) + "," + std::to_string(Obj.Data) + ")";
    Text += std::string("\n ") + Title + " Cylinder (2): ";
    for (int32_t Position = 0; Position < OBJECTS_PER_POINT; Position++) {
        GetMapObject(Obj, Field.x, Field.y, Field.z, Position);
        Text +=
            Obj.Type != 0 ? " (" + std::to_string(Obj.Type) + "," + std::to_string(Obj.Data) + ")" : "(-)";
    }
}

// The reason text of a failed move: the move's numbers, both fields, and the creature's record.
std::string MoveDetails(const TCreatureMove& Move, const TCreature* Creature) {
    static const char* StartNames[3] = {" sx: ", " sy: ", " sz: "};
    static const char* DestinationNames[3] = {" zx: ", " zy: ", " zz: "};
    static const char* DeltaNames[3] = {" dx: ", " dy: ", " dz: "};
    static const char* AbsStartNames[3] = {" abs_sx: ", " abs_sy: ", " abs_sz: "};
    static const char* AbsDestinationNames[3] = {" abs_zx: ", " abs_zy: ", " abs_zz: "};
    std::string Text;
    AppendTriple(Text, StartNames, Move.Start.x, Move.Start.y, Move.Start.z);
    Text += "\n Position: " + std::to_string(Move.Position) + "\n";
    AppendTriple(Text, DestinationNames, Move.Destination.x, Move.Destination.y, Move.Destination.z);
    Text += "\n";
    AppendTriple(Text, DeltaNames, Move.dx, Move.dy, Move.dz);
    Text += "\n";
    AppendTriple(Text, AbsStartNames, Move.AbsStart.x, Move.AbsStart.y, Move.AbsStart.z);
    Text += "\n";
    AppendTriple(Text, AbsDestinationNames, Move.AbsDestination.x, Move.AbsDestination.y,
                 Move.AbsDestination.z);
    try {
        AppendCylinder(Text, "Start", Move.Start);
        AppendCylinder(Text, "Destination", Move.Destination);
    } catch (const TMyException& Error) {
        Text += "\nException during cylinder looping: \n" + Error.getText();
    }
    if (Creature == nullptr) return Text;
    Text += "\n ID: " + std::to_string(Creature->CreatureID) + " Name: " + Creature->Name;
    Text += "\n RealX: " + std::to_string(Creature->X) + " RealY: " + std::to_string(Creature->Y) +
            " RealZ: " + std::to_string(Creature->Z);
    Text +=
        "\n DeltaX: " + std::to_string(Creature->OffsetX) + " DeltaY: " + std::to_string(Creature->OffsetY);
    return Text;
}

// Moves the creature's record; the diagnostic text when the step has no ground to walk on, else empty.
std::string MoveCreatureRecord(TCreature& Creature, const TCreatureMove& Move) {
    std::string Diagnostic;
    if (Move.isJump()) {
        if (Creature.CreatureID == GetPlayerID()) StopPlayerWalk();
        if (Move.dx > 0)
            Creature.LookDirection = 1;
        else if (Move.dx < 0)
            Creature.LookDirection = 3;
        else if (Move.dy < 0)
            Creature.LookDirection = 0;
        else if (Move.dy > 0)
            Creature.LookDirection = 2;
        if (Creature.CreatureID != GetPlayerID()) Creature.startStep(0, 0, 0);
    } else {
        TObject Ground;
        GetFirstObject(Ground, Move.Destination.x, Move.Destination.y, Move.Destination.z);
        if (GetObjectFlag(Ground, BANK))
            Creature.startStep(Move.dx, Move.dy, GetObjectBankSpeed(Ground.Type));
        else
            Diagnostic = "MoveCreature has been received for a coordinate where there is no bank as first "
                         "object [bug0000484]";
    }
    // The record's position follows the server's moves however long a session lasts: it saturates, it never
    // wraps.
    auto Moved = [](int32_t Value, int32_t Delta) {
        return static_cast<int32_t>(std::clamp<int64_t>(int64_t{Value} + Delta, INT32_MIN, INT32_MAX));
    };
    Creature.X = Moved(Creature.X, Move.dx);
    Creature.Y = Moved(Creature.Y, Move.dy);
    Creature.Z = Moved(Creature.Z, Move.dz);
    CheckCreatureHints(&Creature);
    return Diagnostic;
}

} // namespace

// ---- Readers

TObject ReadItemObject(uint16_t Type) {
    // Type 99 would pass the flag tests as a creature without an ID.
    CHECK(Type != CREATURE, Type);
    int32_t Data = 0;
    if (GetObjectFlag(Type, CUMULATIVE)) Data = GetByte();
    if (GetObjectFlag(Type, LIQUIDPOOL)) Data = GetByte();
    if (GetObjectFlag(Type, LIQUIDCONTAINER)) Data = GetByte();
    return TObject{Type, Data, 0};
}

TObject ReadObject(uint16_t Word, int32_t rx, int32_t ry, int32_t rz) {
    if (In(Word, UNKNOWNCREATURE, CREATURE))
        return TObject{CREATURE, static_cast<int32_t>(ReadCreatureDescription(Word, rx, ry, rz)), 0};
    return ReadItemObject(Word);
}

void ResetFieldsToSkip() { FieldsToSkip = 0; }

void ReadMapField(int32_t rx, int32_t ry, int32_t rz) {
    int32_t Type = 0, OldType = 0;
    try {
        if (FieldsToSkip > 0) {
            FieldsToSkip--;
        } else {
            for (;;) {
                OldType = Type;
                Type = GetWord();
                if (Type == 0)
                    throw TMyException(EBRUN_SOURCE_NAME, __LINE__,
                                       "client recieved field with type 0 (" + std::to_string(rx) + "," +
                                           std::to_string(ry) + "," + std::to_string(rz) + ")",
                                       "", 0, "", 0, "");
                if (Type >= FIELD_END) {
                    FieldsToSkip = Type - FIELD_END;
                    break;
                }
                AppendMapObject(rx, ry, rz, ReadObject(static_cast<uint16_t>(Type), rx, ry, rz));
            }
        }
        UpdateAutomapIfViewed(rx, ry, rz);
    }
    CATCH_FRAME(Type, OldType)
}

void ReadMapArea(int32_t xmin, int32_t ymin, int32_t xmax, int32_t ymax) try {
    FieldsToSkip = 0;
    int32_t x, y, z;
    GetViewPosition(x, y, z);
    // On the surface all eight box floors (world floors 7 up to 0); below it world floors z-2 .. z+2, none
    // deeper than the deepest floor.
    int32_t First = z <= SURFACE ? 0 : 4;
    int32_t Last = z <= SURFACE ? MAPSIZE_Z - 1 : std::max(z - (HIGHEST_FLOOR - 1), -1) + 1;
    int32_t Step = z <= SURFACE ? 1 : -1;
    for (int32_t rz = First; Step > 0 ? rz <= Last : rz >= Last; rz += Step)
        for (int32_t rx = xmin; rx <= xmax; rx++)
            for (int32_t ry = ymin; ry <= ymax; ry++)
                ReadMapField(rx, ry, rz);
}
CATCH_FRAME(xmin, ymin)

void ReadMapFloor(int32_t rz) try {
    for (int32_t rx = 0; rx < MAPSIZE_X; rx++)
        for (int32_t ry = 0; ry < MAPSIZE_Y; ry++)
            ReadMapField(rx, ry, rz);
}
CATCH_FRAME(rz)

// ---- Messages

void ReceiveFullMap() {
    int32_t PlayerX = 0, PlayerY = 0;
    try {
        PlayerX = GetWord();
        PlayerY = GetWord();
        int32_t PlayerZ = GetByte();
        MoveView(PlayerX, PlayerY, PlayerZ);
        ClearMap();
        HideAllCreatures();
        ReadMapArea(0, 0, MAPSIZE_X - 1, MAPSIZE_Y - 1);
        SetMapTextChanged();
        StopPlayerWalk();
        CheckPositionEventHelp(PlayerX, PlayerY, PlayerZ);
    }
    CATCH_FRAME(PlayerX, PlayerY)
}

void ReceiveMapNorth() try { ReceiveMapSlice(0, 1, 0, 0, MAPSIZE_X - 1, 0); }
CATCH_FRAME()

void ReceiveMapEast() try { ReceiveMapSlice(-1, 0, MAPSIZE_X - 1, 0, MAPSIZE_X - 1, MAPSIZE_Y - 1); }
CATCH_FRAME()

void ReceiveMapSouth() try { ReceiveMapSlice(0, -1, 0, MAPSIZE_Y - 1, MAPSIZE_X - 1, MAPSIZE_Y - 1); }
CATCH_FRAME()

void ReceiveMapWest() try { ReceiveMapSlice(1, 0, 0, 0, 0, MAPSIZE_Y - 1); }
CATCH_FRAME()

void ReceiveMapField() try {
    TWirePosition Field = Local(ReadPosition());
    ClearMapPoint(Field.x, Field.y, Field.z, false);
    FieldsToSkip = 0;
    ReadMapField(Field.x, Field.y, Field.z);
}
CATCH_FRAME()

void ReceiveAddObject() try {
    TWirePosition Field = Local(ReadPosition());
    TObject Obj = ReadObject(GetWord(), Field.x, Field.y, Field.z);
    AddMapObject(Field.x, Field.y, Field.z, Obj);
    UpdateAutomapIfViewed(Field.x, Field.y, Field.z);
}
CATCH_FRAME()

void ReceiveChangeObject() try {
    TWirePosition Field = Local(ReadPosition());
    int32_t Position = GetByte();
    TObject Old;
    if (!GetChangedObject(Old, Field, Position)) {
        ReadObject(GetWord(), Field.x, Field.y, Field.z); // the field comes anew: the object is dropped
        return;
    }
    HideCreatureObject(Old);
    TObject New = ReadObject(GetWord(), Field.x, Field.y, Field.z);
    ChangeMapObject(Field.x, Field.y, Field.z, Position, New);
    UpdateAutomapIfViewed(Field.x, Field.y, Field.z);
}
CATCH_FRAME()

void ReceiveDeleteObject() try {
    TWirePosition AbsField = ReadPosition();
    TWirePosition Field = Local(AbsField);
    int32_t Position = GetByte();
    TObject Old;
    if (!GetChangedObject(Old, Field, Position)) return;
    HideCreatureObject(Old);
    bool WasFull = DeleteMapObject(Field.x, Field.y, Field.z, Position);
    UpdateAutomapIfViewed(Field.x, Field.y, Field.z);
    // The server may know objects beyond the ten the field held: the field is asked for again.
    if (WasFull) SendRefreshField(AbsField.x, AbsField.y, AbsField.z);
}
CATCH_FRAME()

void ReceiveMoveCreature() try {
    TCreatureMove Move;
    Move.AbsStart = ReadPosition();
    Move.Position = GetByte();
    Move.AbsDestination = ReadPosition();
    Move.dx = Move.AbsDestination.x - Move.AbsStart.x;
    Move.dy = Move.AbsDestination.y - Move.AbsStart.y;
    Move.dz = Move.AbsDestination.z - Move.AbsStart.z;
    Move.Start = Local(Move.AbsStart);
    Move.Destination = Local(Move.AbsDestination);
    TObject Obj;
    GetMapObject(Obj, Move.Start.x, Move.Start.y, Move.Start.z, Move.Position);

    std::string Diagnostic;
    TCreature* Creature = nullptr;
    if (Obj.Type == CREATURE) {
        Creature = GetCreature(static_cast<uint32_t>(Obj.Data));
        if (Creature != nullptr) Diagnostic = MoveCreatureRecord(*Creature, Move);
    } else if (FieldRefreshRequested(Move.Start.x, Move.Start.y, Move.Start.z)) {
        // The start field is being sent anew; so shall the destination be.
        SendRefreshField(Move.AbsDestination.x, Move.AbsDestination.y, Move.AbsDestination.z);
        return;
    } else {
        Diagnostic = "MoveCreature has been received for a coordinate where there is no creature anymore "
                     "[bug0000017]";
        if (Obj.Type != 0)
            Diagnostic += " (" + std::to_string(Obj.Type) + ", " + std::to_string(Obj.Data) + ")";
    }
    if (!Diagnostic.empty())
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, Diagnostic, "", 0, "", 0,
                           MoveDetails(Move, Creature));

    if (DeleteMapObject(Move.Start.x, Move.Start.y, Move.Start.z, Move.Position))
        SendRefreshField(Move.AbsStart.x, Move.AbsStart.y, Move.AbsStart.z);
    UpdateAutomapIfViewed(Move.Start.x, Move.Start.y, Move.Start.z);
    AddMapObject(Move.Destination.x, Move.Destination.y, Move.Destination.z, Obj);
    UpdateAutomapIfViewed(Move.Destination.x, Move.Destination.y, Move.Destination.z);
}
CATCH_FRAME()

void ReceiveWalkCancel() try {
    const TCreature* Player = OwnCreature();
    const int32_t Direction = ReadDirection(Player != nullptr ? Player->LookDirection : 0);
    if (CountRefusedStep()) SendCancel();
    if (RefusePlayerStep(Direction)) SendWalkPath();
}
CATCH_FRAME()

void ReceiveFloorUp() try {
    int32_t x, y, z;
    GetViewPosition(x, y, z);
    MoveView(x + 1, y + 1, z - 1);
    if (z - 1 > SURFACE) {
        ScrollFloors(-1);
        FieldsToSkip = 0;
        ReadMapFloor(4);
    } else if (z - 1 == SURFACE) {
        ScrollFloors(-3);
        FieldsToSkip = 0;
        for (int32_t rz = 2; rz <= 7; rz++)
            ReadMapFloor(rz);
    }
    AfterFloorChange();
}
CATCH_FRAME()

void ReceiveFloorDown() try {
    int32_t x, y, z;
    GetViewPosition(x, y, z);
    MoveView(x - 1, y - 1, z + 1);
    if (z + 1 > SURFACE + 1) {
        ScrollFloors(1);
        FieldsToSkip = 0;
        if (z + 1 < HIGHEST_FLOOR - 1) ReadMapFloor(0);
    } else if (z + 1 == SURFACE + 1) {
        ScrollFloors(3);
        FieldsToSkip = 0;
        for (int32_t rz = 2; rz >= 0; rz--)
            ReadMapFloor(rz);
    }
    AfterFloorChange();
}
CATCH_FRAME()
