// What the player carries and looks into: the body positions, the open containers and both trade offers.
#pragma once

#include "state/Objects.h"

#include <cstdint>

inline constexpr int32_t BODY_POSITIONS = 10; // 1 head, 2 neck, 3 container, 4 body, 5 left hand,
                                              // 6 right hand, 7 legs, 8 feet, 9 finger, 10 belt
inline constexpr int32_t OPEN_CONTAINERS = 16;
inline constexpr int32_t CONTAINER_OBJECTS = 36;
inline constexpr int32_t OBJECTS_PER_OFFER = 100;

struct TOpenContainer {
    uint8_t IsOpen;
    TObject Object; // the container itself
    char Name[30];  // each word capitalised
    int32_t Capacity;
    uint8_t HasParent; // lies inside another container
    int32_t Count;
    TObject Objects[CONTAINER_OBJECTS];
};

// Count 0: no offer.
struct TOffer {
    char Name[30]; // the trading character
    int32_t Count;
    TObject Objects[OBJECTS_PER_OFFER];
};

// Pos 1..BODY_POSITIONS, checked as "In(Pos,0,BODY_POSITIONS-1)" on Pos - 1.
void SetBodyObject(int32_t Pos, const TObject& Object);
void ClearBodyObject(int32_t Pos);
TObject GetBodyObject(int32_t Pos);

// Containers 0..15 as the server numbers them, each checked by "In(Container,0,OPEN_CONTAINERS-1)"; all but
// OpenContainer and IsContainerOpen also check that it is open.
// Checks "!Containers[Container].IsOpen", "Name!=NULL", "strlen(Name)<30"; the contents follow by appending.
void OpenContainer(int32_t Container, const TObject& Object, const char* Name, int32_t Capacity,
                   bool HasParent);
void CloseContainer(int32_t Container);
bool IsContainerOpen(int32_t Container);
void AppendContainerObject(int32_t Container, const TObject& Object); // dropped when full
// At position 0; a full container first loses its last object.
void InsertContainerObject(int32_t Container, const TObject& Object);
void ChangeContainerObject(int32_t Container, int32_t Position, const TObject& Object); // outside: nothing
// False for a position outside the contents; true when the container was full, so that more contents may
// follow from the server.
bool DeleteContainerObject(int32_t Container, int32_t Position);
// Checks "In(Position,0,Containers[Container].Count-1)".
void GetContainerObject(TObject& Object, int32_t Container, int32_t Position);
int32_t GetContainerObjectCount(int32_t Container);
void GetContainerOwnObject(TObject& Object, int32_t Container);
const char* GetContainerName(int32_t Container);
int32_t GetContainerCapacity(int32_t Container);
bool HasParentContainer(int32_t Container);
int32_t GetFreeContainerNumber(); // the lowest closed number; 15 when all are open

// Checks "OwnOffer.Count==0", "Name!=NULL", "strlen(Name)<30".
bool StartOwnOffer(const char* Name);
// False while a counter offer is shown; else checks the name as StartOwnOffer.
bool StartCounterOffer(const char* Name);
void AddOwnOfferObject(const TObject& Object); // checks "OwnOffer.Count<OBJECTS_PER_OFFER"
void AddCounterOfferObject(const TObject& Object);
const TOffer& GetOwnOffer(); // checks "OwnOffer.Count>0"
const TOffer& GetCounterOffer();
void GetOwnOfferObject(TObject& Object, int32_t Position); // checks "In(Position,0,OwnOffer.Count-1)"
void GetCounterOfferObject(TObject& Object, int32_t Position);
int32_t GetOwnOfferCount();
int32_t GetCounterOfferCount();
void ClearOffers();

// Empty body, all containers closed, no offers; at program start and at each game entry.
void ResetInventory();
void InitInventory();
