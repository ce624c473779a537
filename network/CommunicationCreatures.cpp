// Creature descriptions inside map descriptions and the game server's small creature updates.
#include "network/CommunicationHandlers.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "network/Network.h"
#include "state/Creatures.h"
#include "state/Map.h"

namespace {

constexpr int32_t HIGHEST_DIRECTION = 3; // 0 north, 1 east, 2 south, 3 west
constexpr int32_t HIGHEST_SKULL = 4;     // 0 none, 1..4
constexpr int32_t HIGHEST_SHIELD = 4;    // 0 none, 1..4

// Skulls and shields pick pictures and menu entries by number: out-of-range values are refused as they
// arrive.
int32_t ReadSkull() {
    int32_t PKFlag = GetByte();
    CHECK(In(PKFlag, 0, HIGHEST_SKULL), PKFlag);
    return PKFlag;
}

int32_t ReadShield() {
    int32_t PARTYFlag = GetByte();
    CHECK(In(PARTYFlag, 0, HIGHEST_SHIELD), PARTYFlag);
    return PARTYFlag;
}

// An outfit, or with outfit type 0 the item type shown in its place.
void ReadOutfit(TCreature& Creature) {
    Creature.OutfitType = GetWord();
    if (Creature.OutfitType == 0) {
        Creature.OutfitHead = GetWord();
        return;
    }
    Creature.OutfitHead = GetByte();
    Creature.OutfitBody = GetByte();
    Creature.OutfitLegs = GetByte();
    Creature.OutfitFeet = GetByte();
}

// The full block of a description into Creature; without a record it is read and dropped.
void ReadCreatureBlock(TCreature* Creature) {
    TCreature Dropped{};
    TCreature& Target = Creature != nullptr ? *Creature : Dropped;
    Target.HealthPercent = GetByte();
    Target.LookDirection = ReadDirection(Target.LookDirection);
    ReadOutfit(Target);
    Target.LightBrightness = GetByte();
    Target.LightColor = GetByte();
    Target.Speed = GetWord();
    int32_t PKFlag = ReadSkull();
    Target.PARTYFlag = ReadShield();
    if (Creature == nullptr) return;
    Creature->setPKFlag(PKFlag, false);
    CheckPKFlagHint(Creature->PKFlag);
}

// The record of an update message, or NULL when the client does not know the creature.
TCreature* ReadUpdatedCreature(uint32_t& CreatureID) {
    CreatureID = GetQuad();
    return GetCreature(CreatureID);
}

} // namespace

int32_t ReadDirection(int32_t Current) {
    const int32_t Direction = GetByte();
    return In(Direction, 0, HIGHEST_DIRECTION) ? Direction : Current;
}

uint32_t ReadCreatureDescription(int32_t Type, int32_t rx, int32_t ry, int32_t rz) {
    uint32_t CreatureID = 0;
    try {
        TCreature* Creature = nullptr;
        if (Type == UNKNOWNCREATURE) {
            uint32_t RemoveID = GetQuad();
            CreatureID = GetQuad();
            Creature = NewCreature(RemoveID, CreatureID);
            CHECK_TEXT(Creature != nullptr, "Creature!=NULL", CreatureID);
            GetString(Creature->Name, sizeof(Creature->Name));
            if (!IsPlayerID(CreatureID)) CapitalizeWords(Creature->Name);
            ReadCreatureBlock(Creature);
        } else if (Type == OUTDATEDCREATURE) {
            CreatureID = GetQuad();
            Creature = GetCreature(CreatureID);
            ReadCreatureBlock(Creature);
        } else if (Type == CREATURE) {
            CreatureID = GetQuad();
            Creature = GetCreature(CreatureID);
            const int32_t LookDirection = ReadDirection(Creature != nullptr ? Creature->LookDirection : 0);
            if (Creature != nullptr) Creature->LookDirection = LookDirection;
        } else {
            return 0;
        }
        if (Creature != nullptr) {
            LocalToWorld(rx, ry, rz);
            Creature->setPosition(rx, ry, rz);
            Creature->Visible = 1;
        }
        return CreatureID;
    }
    CATCH_FRAME(Type, CreatureID)
}

void ReceiveCreatureMark() {
    uint32_t CreatureID = 0;
    try {
        TCreature* Creature = ReadUpdatedCreature(CreatureID);
        int32_t Color = GetByte();
        if (Creature != nullptr) Creature->setMark(Color);
    }
    CATCH_FRAME(CreatureID)
}

void ReceiveCreatureHealth() {
    uint32_t CreatureID = 0;
    try {
        TCreature* Creature = ReadUpdatedCreature(CreatureID);
        int32_t HealthPercent = GetByte();
        if (Creature != nullptr) Creature->HealthPercent = HealthPercent;
    }
    CATCH_FRAME(CreatureID)
}

void ReceiveCreatureLight() {
    uint32_t CreatureID = 0;
    try {
        TCreature* Creature = ReadUpdatedCreature(CreatureID);
        int32_t Brightness = GetByte();
        int32_t Color = GetByte();
        if (Creature == nullptr) return;
        Creature->LightBrightness = Brightness;
        Creature->LightColor = Color;
    }
    CATCH_FRAME(CreatureID)
}

void ReceiveCreatureOutfit() {
    uint32_t CreatureID = 0;
    try {
        TCreature* Creature = ReadUpdatedCreature(CreatureID);
        TCreature Dropped{};
        ReadOutfit(Creature != nullptr ? *Creature : Dropped);
    }
    CATCH_FRAME(CreatureID)
}

void ReceiveCreatureSpeed() {
    uint32_t CreatureID = 0;
    try {
        TCreature* Creature = ReadUpdatedCreature(CreatureID);
        int32_t Speed = GetWord();
        if (Creature != nullptr) Creature->Speed = Speed;
    }
    CATCH_FRAME(CreatureID)
}

void ReceiveCreatureSkull() {
    uint32_t CreatureID = 0;
    try {
        TCreature* Creature = ReadUpdatedCreature(CreatureID);
        int32_t PKFlag = ReadSkull();
        if (Creature == nullptr) return;
        Creature->setPKFlag(PKFlag, true);
        CheckPKFlagHint(Creature->PKFlag);
    }
    CATCH_FRAME(CreatureID)
}

void ReceiveCreatureShield() {
    uint32_t CreatureID = 0;
    try {
        TCreature* Creature = ReadUpdatedCreature(CreatureID);
        int32_t PARTYFlag = ReadShield();
        if (Creature != nullptr) Creature->PARTYFlag = PARTYFlag;
    }
    CATCH_FRAME(CreatureID)
}
