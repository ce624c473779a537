// The game-phase handlers of the communication module and the readers they share; the handler table of
// Communication.cpp is their one caller. Each handler reads exactly its message body behind the type byte.
#pragma once

#include "state/Events.h"
#include "state/Objects.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// A heap block of event parameters (NewMessageBlock, NewMessageText, GetNewString), freed unless it was
// released when its event was posted.
struct TFreeMessageBlock {
    void operator()(void* Block) const { FreeMessageBlock(Block); }
};
template <typename T> using TMessageBlock = std::unique_ptr<T, TFreeMessageBlock>;

// Count zero-filled T, owned until posted.
template <typename T> TMessageBlock<T> NewMessageBlockOf(size_t Count = 1) {
    return TMessageBlock<T>(static_cast<T*>(NewMessageBlock(sizeof(T) * Count)));
}

// ---- Map descriptions and map messages

// Field words that start a creature description besides CREATURE (99, direction only): a creature new to
// the client, and a known one with a full update.
inline constexpr int32_t UNKNOWNCREATURE = 97;
inline constexpr int32_t OUTDATEDCREATURE = 98;

// An item behind its type word: one data byte per data flag of the type, the last one kept. Creature words
// are no items and are refused.
TObject ReadItemObject(uint16_t Type);
// One item or creature behind its u16 word: an item's data byte(s) by its flags, or a creature description.
// (rx, ry, rz) is the box field the object belongs to (creature positions are taken from it).
TObject ReadObject(uint16_t Word, int32_t rx, int32_t ry, int32_t rz);
// The fields that the field reader still leaves empty; every message that reads fields resets it first.
void ResetFieldsToSkip();
void ReadMapField(int32_t rx, int32_t ry, int32_t rz);
void ReadMapArea(int32_t xmin, int32_t ymin, int32_t xmax, int32_t ymax);
void ReadMapFloor(int32_t rz);

void ReceiveFullMap();      // 100
void ReceiveMapNorth();     // 101
void ReceiveMapEast();      // 102
void ReceiveMapSouth();     // 103
void ReceiveMapWest();      // 104
void ReceiveMapField();     // 105
void ReceiveAddObject();    // 106
void ReceiveChangeObject(); // 107
void ReceiveDeleteObject(); // 108
void ReceiveMoveCreature(); // 109
void ReceiveWalkCancel();   // 181
void ReceiveFloorUp();      // 190
void ReceiveFloorDown();    // 191

// ---- Creatures

// A look direction byte: 0 north, 1 east, 2 south, 3 west. Any other value names no direction; it leaves
// Current as it is rather than end the program or reach the drawing, which picks pictures by it.
int32_t ReadDirection(int32_t Current);

// Reads the description behind a word 97, 98 or 99 for box field (rx, ry, rz); the CreatureID to store in
// the map object. Other words read nothing and give 0.
uint32_t ReadCreatureDescription(int32_t Word, int32_t rx, int32_t ry, int32_t rz);

void ReceiveCreatureMark();   // 134
void ReceiveCreatureHealth(); // 140
void ReceiveCreatureLight();  // 141
void ReceiveCreatureOutfit(); // 142
void ReceiveCreatureSpeed();  // 143
void ReceiveCreatureSkull();  // 144
void ReceiveCreatureShield(); // 145

// ---- Containers, inventory and trade; Container tells the window call which container it was.

void ReceiveOpenContainer(int32_t& Container);  // 110
void ReceiveCloseContainer(int32_t& Container); // 111
void ReceiveContainerAdd();                     // 112
void ReceiveContainerChange();                  // 113
void ReceiveContainerDelete();                  // 114
void ReceiveSetBodyObject();                    // 120
void ReceiveClearBodyObject();                  // 121
void ReceiveOwnOffer();                         // 125
void ReceiveCounterOffer();                     // 126
void ReceiveCloseTrade();                       // 127

// ---- The player and the session

void ReceiveEnterGame();    // 10, between the controller's EnterGame and the steps behind it
void ReceiveRights();       // 11
void ReceivePing();         // 30
void ReceivePlayerData();   // 160
void ReceivePlayerSkills(); // 161
void ReceivePlayerState();  // 162
void ReceiveClearTarget();  // 163

// ---- Chat and channels

void ReceiveTalk();            // 170
void ReceiveChannelList();     // 171
void ReceiveOpenChannel();     // 172
void ReceivePrivateChannel();  // 173
void ReceiveRequestQueue();    // 174
void ReceiveRequestTaken();    // 175
void ReceiveRequestFinished(); // 176
void ReceiveRequestClosed();   // 177
void ReceiveOwnChannel();      // 178
void ReceiveChannelClosed();   // 179
void ReceiveSystemMessage();   // 180

// ---- Effects, light, dialogs, outfit and VIPs

void ReceiveAmbientLight();  // 130
void ReceiveGraphicEffect(); // 131
void ReceiveTextEffect();    // 132
void ReceiveMissile();       // 133
void ReceiveTextDialog();    // 150
void ReceiveListDialog();    // 151
void ReceiveOutfitDialog();  // 200
void ReceiveAddBuddy();      // 210
void ReceiveBuddyLogin();    // 211
void ReceiveBuddyLogout();   // 212
