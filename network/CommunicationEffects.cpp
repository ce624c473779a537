// The game server's ambient light, map effects, server-driven dialogs and VIP list messages.
#include "network/CommunicationHandlers.h"

#include "foundation/Exception.h"
#include "network/Network.h"
#include "state/CreaturesBuddies.h"
#include "state/Events.h"
#include "state/Map.h"
#include "state/MapEffects.h"
#include "state/MapLight.h"
#include "state/Objects.h"

namespace {

constexpr int32_t TEXT_EFFECT_SIZE = 10; // at most 9 characters kept
constexpr int32_t BUDDY_NAME_SIZE = 30;

// A world position from the wire as box coordinates.
void ReadLocalPosition(int32_t& rx, int32_t& ry, int32_t& rz) {
    rx = GetWord();
    ry = GetWord();
    rz = GetByte();
    WorldToLocal(rx, ry, rz);
}

// The dialog records handed over with events 14 to 16; every field 32 bits, in this order.
struct TTextDialogRecord {
    int32_t Identifier;
    int32_t ObjectType;
    int32_t SecondValue;
};
struct TListDialogRecord {
    int32_t Kind;
    int32_t Identifier;
};
struct TOutfitRecord {
    int32_t OutfitType;
    int32_t Head, Body, Legs, Feet;
    int32_t FirstOutfitType, LastOutfitType;
};

} // namespace

void ReceiveAmbientLight() try {
    int32_t Brightness = GetByte();
    int32_t Color = GetByte();
    SetAmbientLight(Brightness, Color);
}
CATCH_FRAME()

// A stored effect type is looked up in the type table by every later tick and frame: an unknown one is
// refused here, where the message that brought it is still known.
void ReceiveGraphicEffect() try {
    int32_t rx, ry, rz;
    ReadLocalPosition(rx, ry, rz);
    int32_t Type = GetByte();
    CHECK(In(Type, 1, GetNumberOfEffectTypes()), Type);
    AddGraphicEffect(rx, ry, rz, Type);
}
CATCH_FRAME()

void ReceiveTextEffect() try {
    int32_t rx, ry, rz;
    ReadLocalPosition(rx, ry, rz);
    int32_t Color = GetByte();
    char Text[TEXT_EFFECT_SIZE];
    GetString(Text, TEXT_EFFECT_SIZE);
    AddTextEffect(rx, ry, rz, Color, Text);
}
CATCH_FRAME()

void ReceiveMissile() try {
    int32_t FromX, FromY, FromZ, ToX, ToY, ToZ;
    ReadLocalPosition(FromX, FromY, FromZ);
    ReadLocalPosition(ToX, ToY, ToZ);
    int32_t Type = GetByte();
    CHECK(Type <= GetNumberOfMissileTypes(), Type);
    AddMissileEffect(FromX, FromY, FromZ, ToX, ToY, ToZ, Type);
}
CATCH_FRAME()

void ReceiveTextDialog() try {
    TMessageBlock<TTextDialogRecord> Record = NewMessageBlockOf<TTextDialogRecord>();
    Record->Identifier = static_cast<int32_t>(GetQuad());
    Record->ObjectType = GetWord();
    Record->SecondValue = GetWord();
    TMessageBlock<char> FirstText(GetNewString());
    TMessageBlock<char> SecondText(GetNewString());
    TMessageBlock<intptr_t> Texts = NewMessageBlockOf<intptr_t>(2); // the second text first
    Texts.get()[0] = MessageParameter(SecondText.release());
    Texts.get()[1] = MessageParameter(FirstText.release());
    AddMessage(MESSAGE_EDITTEXT, MessageParameter(Record.get()), MessageParameter(Texts.get()));
    Record.release();
    Texts.release();
}
CATCH_FRAME()

void ReceiveListDialog() try {
    TMessageBlock<TListDialogRecord> Record = NewMessageBlockOf<TListDialogRecord>();
    Record->Kind = GetByte();
    Record->Identifier = static_cast<int32_t>(GetQuad());
    TMessageBlock<char> Text(GetNewString());
    AddMessage(MESSAGE_EDITLIST, MessageParameter(Record.get()), MessageParameter(Text.get()));
    Record.release();
    Text.release();
}
CATCH_FRAME()

void ReceiveOutfitDialog() try {
    TMessageBlock<TOutfitRecord> Record = NewMessageBlockOf<TOutfitRecord>();
    Record->OutfitType = GetWord();
    Record->Head = GetByte();
    Record->Body = GetByte();
    Record->Legs = GetByte();
    Record->Feet = GetByte();
    Record->FirstOutfitType = GetWord();
    Record->LastOutfitType = GetWord();
    AddMessage(MESSAGE_OUTFIT, MessageParameter(Record.get()), 0);
    Record.release();
}
CATCH_FRAME()

void ReceiveAddBuddy() try {
    uint32_t CharacterID = GetQuad();
    char Name[BUDDY_NAME_SIZE];
    GetString(Name, BUDDY_NAME_SIZE);
    bool Online = GetByte() == 1;
    AddBuddy(CharacterID, Name, Online);
    TMessageBlock<char> Copy(NewMessageText(Name));
    AddMessage(MESSAGE_ADDVIPNAME, MessageParameter(Copy.get()), 0);
    Copy.release();
}
CATCH_FRAME()

void ReceiveBuddyLogin() try { SetBuddyOnline(GetQuad(), true); }
CATCH_FRAME()

void ReceiveBuddyLogout() try { SetBuddyOnline(GetQuad(), false); }
CATCH_FRAME()
