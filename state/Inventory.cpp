// The body positions, the open containers and the two trade offers, behind bounds-tested accessors.
#include "state/Inventory.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"

#include <cstring>

namespace {

// Emptied by ResetInventory at program start and at each game entry.
struct {
    TObject Body[BODY_POSITIONS];
    TOpenContainer Containers[OPEN_CONTAINERS];
    TOffer OwnOffer;
    TOffer CounterOffer;
} Inventory;

TObject& BodySlot(int32_t Pos) {
    CHECK_TEXT(In(Pos - 1, 0, BODY_POSITIONS - 1), "In(Pos,0,BODY_POSITIONS-1)", Pos);
    return Inventory.Body[Pos - 1];
}

TOpenContainer& AnyContainer(int32_t Container) {
    CHECK_TEXT(In(Container, 0, OPEN_CONTAINERS - 1), "In(Container,0,OPEN_CONTAINERS-1)", Container);
    return Inventory.Containers[Container];
}

TOpenContainer& ShownContainer(int32_t Container) {
    TOpenContainer& Record = AnyContainer(Container);
    CHECK_TEXT(Record.IsOpen, "Containers[Container].IsOpen", Container);
    return Record;
}

void CheckName(const char* Name) {
    CHECK_TEXT(Name != nullptr, "Name!=NULL");
    CHECK(strlen(Name) < 30, strlen(Name));
}

} // namespace

// ---- body

void SetBodyObject(int32_t Pos, const TObject& Object) { BodySlot(Pos) = Object; }
void ClearBodyObject(int32_t Pos) { BodySlot(Pos) = EmptyObject; }
TObject GetBodyObject(int32_t Pos) { return BodySlot(Pos); }

// ---- containers

void OpenContainer(int32_t Container, const TObject& Object, const char* Name, int32_t Capacity,
                   bool HasParent) try {
    TOpenContainer& Record = AnyContainer(Container);
    CHECK_TEXT(!Record.IsOpen, "!Containers[Container].IsOpen", Container);
    CheckName(Name);
    Record.IsOpen = 1;
    Record.Object = Object;
    CopyString(Record.Name, Name);
    CapitalizeWords(Record.Name);
    Record.Capacity = Capacity;
    Record.HasParent = HasParent ? 1 : 0;
    Record.Count = 0;
}
CATCH_FRAME(Container)

void CloseContainer(int32_t Container) { ShownContainer(Container).IsOpen = 0; }
bool IsContainerOpen(int32_t Container) { return AnyContainer(Container).IsOpen != 0; }

void AppendContainerObject(int32_t Container, const TObject& Object) {
    TOpenContainer& Record = ShownContainer(Container);
    if (Record.Count < CONTAINER_OBJECTS) Record.Objects[Record.Count++] = Object;
}

void InsertContainerObject(int32_t Container, const TObject& Object) {
    TOpenContainer& Record = ShownContainer(Container);
    if (Record.Count >= CONTAINER_OBJECTS) Record.Count = CONTAINER_OBJECTS - 1;
    std::memmove(&Record.Objects[1], &Record.Objects[0], sizeof(TObject) * Record.Count);
    Record.Objects[0] = Object;
    Record.Count++;
}

void ChangeContainerObject(int32_t Container, int32_t Position, const TObject& Object) {
    TOpenContainer& Record = ShownContainer(Container);
    if (In(Position, 0, Record.Count - 1)) Record.Objects[Position] = Object;
}

bool DeleteContainerObject(int32_t Container, int32_t Position) {
    TOpenContainer& Record = ShownContainer(Container);
    if (!In(Position, 0, Record.Count - 1)) return false;
    std::memmove(&Record.Objects[Position], &Record.Objects[Position + 1],
                 sizeof(TObject) * (Record.Count - Position - 1));
    Record.Count--;
    return Record.Count == CONTAINER_OBJECTS - 1;
}

void GetContainerObject(TObject& Object, int32_t Container, int32_t Position) {
    const TOpenContainer& Record = ShownContainer(Container);
    CHECK_TEXT(In(Position, 0, Record.Count - 1), "In(Position,0,Containers[Container].Count-1)", Position);
    Object = Record.Objects[Position];
}

int32_t GetContainerObjectCount(int32_t Container) { return ShownContainer(Container).Count; }
void GetContainerOwnObject(TObject& Object, int32_t Container) { Object = ShownContainer(Container).Object; }
const char* GetContainerName(int32_t Container) { return ShownContainer(Container).Name; }
int32_t GetContainerCapacity(int32_t Container) { return ShownContainer(Container).Capacity; }
bool HasParentContainer(int32_t Container) { return ShownContainer(Container).HasParent != 0; }

int32_t GetFreeContainerNumber() {
    for (int32_t i = 0; i < OPEN_CONTAINERS; i++)
        if (!Inventory.Containers[i].IsOpen) return i;
    return OPEN_CONTAINERS - 1;
}

// ---- trade

bool StartOwnOffer(const char* Name) {
    CHECK_TEXT(Inventory.OwnOffer.Count == 0, "OwnOffer.Count==0", Inventory.OwnOffer.Count);
    CheckName(Name);
    CopyString(Inventory.OwnOffer.Name, Name);
    return true;
}

bool StartCounterOffer(const char* Name) {
    if (Inventory.CounterOffer.Count != 0) return false;
    CheckName(Name);
    CopyString(Inventory.CounterOffer.Name, Name);
    return true;
}

void AddOwnOfferObject(const TObject& Object) {
    TOffer& OwnOffer = Inventory.OwnOffer;
    CHECK(OwnOffer.Count < OBJECTS_PER_OFFER, OwnOffer.Count);
    OwnOffer.Objects[OwnOffer.Count++] = Object;
}

void AddCounterOfferObject(const TObject& Object) {
    TOffer& CounterOffer = Inventory.CounterOffer;
    CHECK(CounterOffer.Count < OBJECTS_PER_OFFER, CounterOffer.Count);
    CounterOffer.Objects[CounterOffer.Count++] = Object;
}

const TOffer& GetOwnOffer() {
    CHECK_TEXT(Inventory.OwnOffer.Count > 0, "OwnOffer.Count>0");
    return Inventory.OwnOffer;
}

const TOffer& GetCounterOffer() {
    CHECK_TEXT(Inventory.CounterOffer.Count > 0, "CounterOffer.Count>0");
    return Inventory.CounterOffer;
}

void GetOwnOfferObject(TObject& Object, int32_t Position) {
    const TOffer& OwnOffer = Inventory.OwnOffer;
    CHECK(In(Position, 0, OwnOffer.Count - 1), Position);
    Object = OwnOffer.Objects[Position];
}

void GetCounterOfferObject(TObject& Object, int32_t Position) {
    const TOffer& CounterOffer = Inventory.CounterOffer;
    CHECK(In(Position, 0, CounterOffer.Count - 1), Position);
    Object = CounterOffer.Objects[Position];
}

int32_t GetOwnOfferCount() { return Inventory.OwnOffer.Count; }
int32_t GetCounterOfferCount() { return Inventory.CounterOffer.Count; }

void ClearOffers() {
    Inventory.OwnOffer.Count = 0;
    Inventory.CounterOffer.Count = 0;
}

// ---- module

void ResetInventory() {
    for (TObject& Object : Inventory.Body)
        Object = EmptyObject;
    for (TOpenContainer& Container : Inventory.Containers)
        Container.IsOpen = 0;
    ClearOffers();
}

void InitInventory() { ResetInventory(); }
