// The game server's container, body position and trade messages. Each reads its whole message whatever
// the state of the records, so that the messages behind it stay in step.
#include "network/CommunicationHandlers.h"

#include "foundation/Exception.h"
#include "network/CommunicationSend.h"
#include "network/Network.h"
#include "state/Inventory.h"

namespace {

constexpr int32_t CONTAINER_NAME_SIZE = 30;
constexpr int32_t TRADER_NAME_SIZE = 30;

TObject ReadItem() { return ReadItemObject(GetWord()); }

} // namespace

void ReceiveOpenContainer(int32_t& Container) try {
    Container = GetByte();
    uint16_t Type = GetWord();
    char Name[CONTAINER_NAME_SIZE];
    GetString(Name, CONTAINER_NAME_SIZE);
    int32_t Capacity = GetByte();
    bool HasParent = GetByte() != 0;
    int32_t Count = GetByte();
    if (IsContainerOpen(Container)) CloseContainer(Container);
    OpenContainer(Container, TObject{Type, 0, 0}, Name, Capacity, HasParent);
    for (int32_t i = 0; i < Count; i++)
        AppendContainerObject(Container, ReadItem());
}
CATCH_FRAME()

void ReceiveCloseContainer(int32_t& Container) try {
    Container = GetByte();
    if (IsContainerOpen(Container)) CloseContainer(Container);
}
CATCH_FRAME()

void ReceiveContainerAdd() try {
    int32_t Container = GetByte();
    TObject Obj = ReadItem();
    if (IsContainerOpen(Container)) InsertContainerObject(Container, Obj);
}
CATCH_FRAME()

void ReceiveContainerChange() try {
    int32_t Container = GetByte();
    int32_t Position = GetByte();
    TObject Obj = ReadItem();
    if (IsContainerOpen(Container)) ChangeContainerObject(Container, Position, Obj);
}
CATCH_FRAME()

void ReceiveContainerDelete() try {
    int32_t Container = GetByte();
    int32_t Position = GetByte();
    // A container that was full may hold more than the client was shown: it is asked for again.
    if (IsContainerOpen(Container) && DeleteContainerObject(Container, Position))
        SendRefreshContainer(Container);
}
CATCH_FRAME()

void ReceiveSetBodyObject() try {
    int32_t Position = GetByte();
    SetBodyObject(Position, ReadItem());
}
CATCH_FRAME()

void ReceiveClearBodyObject() try { ClearBodyObject(GetByte()); }
CATCH_FRAME()

void ReceiveOwnOffer() try {
    char Name[TRADER_NAME_SIZE];
    GetString(Name, TRADER_NAME_SIZE);
    int32_t Count = GetByte();
    StartOwnOffer(Name);
    for (int32_t i = 0; i < Count; i++)
        AddOwnOfferObject(ReadItem());
}
CATCH_FRAME()

void ReceiveCounterOffer() try {
    char Name[TRADER_NAME_SIZE];
    GetString(Name, TRADER_NAME_SIZE);
    int32_t Count = GetByte();
    // A second counter offer before the trade closed leaves the first one shown; its objects are dropped.
    bool Accepted = StartCounterOffer(Name);
    for (int32_t i = 0; i < Count; i++) {
        TObject Obj = ReadItem();
        if (Accepted) AddCounterOfferObject(Obj);
    }
}
CATCH_FRAME()

void ReceiveCloseTrade() try { ClearOffers(); }
CATCH_FRAME()
