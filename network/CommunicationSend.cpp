// The client messages of a game session: one sender per command, each built in the send buffer and sent
// enciphered at once.
#include "network/CommunicationSend.h"

#include "foundation/Exception.h"
#include "network/Communication.h"
#include "state/CreaturesPlayer.h"
#include "state/Map.h"
#include "state/Objects.h"
#include "state/Preferences.h"
#include "state/Talk.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t OUTFIT_COLORS = 4;

// Integer arguments are full width; the wire takes their low bits.
void PutU8(int32_t Value) { PutByte(static_cast<uint8_t>(Value)); }
void PutU16(int32_t Value) { PutWord(static_cast<uint16_t>(Value)); }

void PutObject(int32_t X, int32_t Y, int32_t Z, int32_t ObjectType, int32_t Position) {
    PutU16(X);
    PutU16(Y);
    PutU8(Z);
    PutU16(ObjectType);
    PutU8(Position);
}

bool OnMap(int32_t X) { return X != PLACE_OFF_MAP; }

// A message of the command byte alone.
void SendCommand(int32_t Command) {
    BeginPacket(Command);
    SendPacket(true);
}

void SendQuadCommand(int32_t Command, uint32_t Value) {
    BeginPacket(Command);
    PutQuad(Value);
    SendPacket(true);
}

void SendStringCommand(int32_t Command, const char* Text) {
    BeginPacket(Command);
    PutString(Text);
    SendPacket(true);
}

void SendChannelCommand(int32_t Command, int32_t ChannelID) {
    BeginPacket(Command);
    PutU16(ChannelID);
    SendPacket(true);
}

// Puts the first Length bytes of Text as a string.
void PutCutString(const char* Text, int32_t Length) {
    PutU16(Length);
    if (Length > 0) PutBytes(reinterpret_cast<const uint8_t*>(Text), Length);
}

int32_t TextLength(const char* Text) {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    return static_cast<int32_t>(strnlen(Text, MAX_CLIENT_MESSAGE_LENGTH + 1));
}

} // namespace

// ---- keeping the connection and the view fresh

void SendPingAnswer() try { SendCommand(30); }
CATCH_FRAME()

void SendRefreshField(int32_t x, int32_t y, int32_t z) try {
    int32_t rx = x, ry = y, rz = z;
    WorldToLocal(rx, ry, rz);
    // Checked before the request goes out: the answer could be put nowhere.
    CHECK(In(rx, 0, MAPSIZE_X - 1), rx);
    CHECK(In(ry, 0, MAPSIZE_Y - 1), ry);
    CHECK(In(rz, 0, MAPSIZE_Z - 1), rz);
    BeginPacket(201);
    PutU16(x);
    PutU16(y);
    PutU8(z);
    SendPacket(true);
    SetFieldRefreshRequested(rx, ry, rz);
}
CATCH_FRAME(x, y)

void SendRefreshContainer(int32_t Container) try {
    BeginPacket(202);
    PutU8(Container);
    SendPacket(true);
}
CATCH_FRAME(Container)

// ---- turning

void SendTurnNorth() try { SendCommand(111); }
CATCH_FRAME()

void SendTurnEast() try { SendCommand(112); }
CATCH_FRAME()

void SendTurnSouth() try { SendCommand(113); }
CATCH_FRAME()

void SendTurnWest() try { SendCommand(114); }
CATCH_FRAME()

// ---- objects

void SendMoveObject(int32_t FromX, int32_t FromY, int32_t FromZ, int32_t ObjectType, int32_t Position,
                    int32_t ToX, int32_t ToY, int32_t ToZ, int32_t Count) try {
    if (GetObjectFlag(ObjectType, UNMOVE)) {
        SetStatusMessage("You cannot move this object.");
        return;
    }
    if (OnMap(FromX)) ClearPlayerSteps();
    BeginPacket(120);
    PutObject(FromX, FromY, FromZ, ObjectType, Position);
    PutU16(ToX);
    PutU16(ToY);
    PutU8(ToZ);
    PutU8(Count);
    SendPacket(true);
}
CATCH_FRAME(ObjectType, Position)

void SendUseObject(int32_t X, int32_t Y, int32_t Z, int32_t ObjectType, int32_t Position,
                   int32_t Container) try {
    if (OnMap(X)) ClearPlayerSteps();
    BeginPacket(130);
    PutObject(X, Y, Z, ObjectType, Position);
    PutU8(Container);
    SendPacket(true);
}
CATCH_FRAME(ObjectType, Position)

void SendUseTwoObjects(int32_t X1, int32_t Y1, int32_t Z1, int32_t ObjectType1, int32_t Position1, int32_t X2,
                       int32_t Y2, int32_t Z2, int32_t ObjectType2, int32_t Position2) try {
    if (OnMap(X1) || OnMap(X2)) ClearPlayerSteps();
    BeginPacket(131);
    PutObject(X1, Y1, Z1, ObjectType1, Position1);
    PutObject(X2, Y2, Z2, ObjectType2, Position2);
    SendPacket(true);
}
CATCH_FRAME(ObjectType1, ObjectType2)

void SendUseOnCreature(int32_t X, int32_t Y, int32_t Z, int32_t ObjectType, int32_t Position,
                       uint32_t CreatureID) try {
    ClearPlayerSteps();
    BeginPacket(132);
    PutObject(X, Y, Z, ObjectType, Position);
    PutQuad(CreatureID);
    SendPacket(true);
}
CATCH_FRAME(ObjectType, CreatureID)

void SendRotateObject(int32_t X, int32_t Y, int32_t Z, int32_t ObjectType, int32_t Position) try {
    BeginPacket(133);
    PutObject(X, Y, Z, ObjectType, Position);
    SendPacket(true);
}
CATCH_FRAME(ObjectType, Position)

void SendLook(int32_t X, int32_t Y, int32_t Z, int32_t ObjectType, int32_t Position) try {
    BeginPacket(140);
    PutObject(X, Y, Z, ObjectType, Position);
    SendPacket(true);
}
CATCH_FRAME(ObjectType, Position)

// ---- containers

void SendCloseContainer(int32_t Container) try {
    BeginPacket(135);
    PutU8(Container);
    SendPacket(true);
}
CATCH_FRAME(Container)

void SendUpContainer(int32_t Container) try {
    BeginPacket(136);
    PutU8(Container);
    SendPacket(true);
}
CATCH_FRAME(Container)

// ---- trade

void SendTradeObject(int32_t X, int32_t Y, int32_t Z, int32_t ObjectType, int32_t Position,
                     uint32_t CreatureID) try {
    ClearPlayerSteps();
    BeginPacket(125);
    PutObject(X, Y, Z, ObjectType, Position);
    PutQuad(CreatureID);
    SendPacket(true);
}
CATCH_FRAME(ObjectType, Position)

void SendLookTrade(int32_t Side, int32_t Position) try {
    BeginPacket(126);
    PutU8(Side);
    PutU8(Position);
    SendPacket(true);
}
CATCH_FRAME(Side, Position)

void SendAcceptTrade() try { SendCommand(127); }
CATCH_FRAME()

void SendCloseTrade() try { SendCommand(128); }
CATCH_FRAME()

// ---- text dialogs

void SendEditText(uint32_t ObjectNumber, const char* Text) try {
    BeginPacket(137);
    PutQuad(ObjectNumber);
    PutString(Text);
    SendPacket(true);
}
CATCH_FRAME(ObjectNumber)

void SendEditList(int32_t Type, uint32_t Identifier, const char* Text) try {
    BeginPacket(138);
    PutU8(Type);
    PutQuad(Identifier);
    PutString(Text);
    SendPacket(true);
}
CATCH_FRAME(Type, Identifier)

// ---- talk

void SendTalk(int32_t Mode, const char* Text) try {
    CHECK_TEXT(
        Mode == TALK_SAY || Mode == TALK_WHISPER || Mode == TALK_YELL || Mode == TALK_GAMEMASTER_REQUEST ||
            Mode == TALK_PLAYER_ANSWER || Mode == TALK_GAMEMASTER_BROADCAST ||
            Mode == TALK_ANONYMOUS_BROADCAST,
        "Mode==TALK_SAY || Mode==TALK_WHISPER || Mode==TALK_YELL || Mode==TALK_GAMEMASTER_REQUEST || "
        "Mode==TALK_PLAYER_ANSWER || Mode==TALK_GAMEMASTER_BROADCAST || Mode==TALK_ANONYMOUS_BROADCAST",
        Mode);
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    BeginPacket(150);
    PutU8(Mode);
    PutString(Text);
    SendPacket(true);
}
CATCH_FRAME(Mode)

void SendPrivateTalk(int32_t Mode, const char* Addressee, const char* Text) try {
    CHECK_TEXT(
        Mode == TALK_PRIVATE_MESSAGE || Mode == TALK_GAMEMASTER_ANSWER || Mode == TALK_GAMEMASTER_MESSAGE ||
            Mode == TALK_ANONYMOUS_MESSAGE,
        "Mode==TALK_PRIVATE_MESSAGE || Mode==TALK_GAMEMASTER_ANSWER || Mode==TALK_GAMEMASTER_MESSAGE || "
        "Mode==TALK_ANONYMOUS_MESSAGE",
        Mode);
    CHECK_TEXT(Addressee != nullptr, "Addressee!=NULL");
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    BeginPacket(150);
    PutU8(Mode);
    PutString(Addressee);
    PutString(Text);
    SendPacket(true);
}
CATCH_FRAME(Mode)

void SendChannelTalk(int32_t Mode, int32_t ChannelID, const char* Text) try {
    CHECK_TEXT(
        Mode == TALK_CHANNEL_CALL || Mode == TALK_GAMEMASTER_CHANNELCALL ||
            Mode == TALK_ANONYMOUS_CHANNELCALL,
        "Mode==TALK_CHANNEL_CALL || Mode==TALK_GAMEMASTER_CHANNELCALL || Mode==TALK_ANONYMOUS_CHANNELCALL",
        Mode);
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    BeginPacket(150);
    PutU8(Mode);
    PutU16(ChannelID);
    PutString(Text);
    SendPacket(true);
}
CATCH_FRAME(Mode, ChannelID)

// ---- chat channels and requests

void SendGetChannels() try { SendCommand(151); }
CATCH_FRAME()

void SendJoinChannel(int32_t ChannelID) try { SendChannelCommand(152, ChannelID); }
CATCH_FRAME(ChannelID)

void SendLeaveChannel(int32_t ChannelID) try { SendChannelCommand(153, ChannelID); }
CATCH_FRAME(ChannelID)

void SendPrivateChannel(const char* Name) try { SendStringCommand(154, Name); }
CATCH_FRAME()

void SendProcessRequest(const char* Name) try { SendStringCommand(155, Name); }
CATCH_FRAME()

void SendRemoveRequest(const char* Name) try { SendStringCommand(156, Name); }
CATCH_FRAME()

void SendCancelRequest() try { SendCommand(157); }
CATCH_FRAME()

void SendOpenOwnChannel() try { SendCommand(170); }
CATCH_FRAME()

void SendInviteToChannel(const char* Name) try { SendStringCommand(171, Name); }
CATCH_FRAME()

void SendExcludeFromChannel(const char* Name) try { SendStringCommand(172, Name); }
CATCH_FRAME()

// ---- fight

void SendFightModes() try {
    BeginPacket(160);
    PutU8(GetAttackMode());
    PutU8(GetChaseMode());
    PutU8(GetSecureMode() ? 1 : 0);
    SendPacket(true);
}
CATCH_FRAME()

void SendAttack(uint32_t CreatureID) try {
    if (CreatureID != 0) ClearPlayerSteps();
    SendQuadCommand(161, CreatureID);
}
CATCH_FRAME(CreatureID)

void SendFollow(uint32_t CreatureID) try {
    if (CreatureID != 0) ClearPlayerSteps();
    SendQuadCommand(162, CreatureID);
}
CATCH_FRAME(CreatureID)

void SendCancel() try { SendCommand(190); }
CATCH_FRAME()

// ---- party

void SendInviteToParty(uint32_t CharacterID) try { SendQuadCommand(163, CharacterID); }
CATCH_FRAME(CharacterID)

void SendJoinParty(uint32_t CharacterID) try { SendQuadCommand(164, CharacterID); }
CATCH_FRAME(CharacterID)

void SendRevokeInvitation(uint32_t CharacterID) try { SendQuadCommand(165, CharacterID); }
CATCH_FRAME(CharacterID)

void SendPassLeadership(uint32_t CharacterID) try { SendQuadCommand(166, CharacterID); }
CATCH_FRAME(CharacterID)

void SendLeaveParty() try { SendCommand(167); }
CATCH_FRAME()

// ---- outfit

void SendGetOutfit() try {
    if (GetOutfitRequested()) return;
    SetOutfitRequested(true);
    SendCommand(210);
}
CATCH_FRAME()

void SendSetOutfit(int32_t OutfitType, const int32_t* Colors) try {
    CHECK_TEXT(Colors != nullptr, "Colors!=NULL");
    BeginPacket(211);
    PutU16(OutfitType);
    for (int32_t i = 0; i < OUTFIT_COLORS; i++)
        PutU8(Colors[i]);
    SendPacket(true);
}
// Colors[0] is named only where it can be read: the frame also catches the failed check of a NULL array.
catch (...) {
    RethrowInFrame(EBRUN_SOURCE_NAME, __LINE__, "OutfitType", OutfitType, "Colors[0]",
                   Colors != nullptr ? Colors[0] : 0);
}

// ---- VIP list

void SendAddVIP(const char* Name) try {
    CHECK_TEXT(Name != nullptr, "Name!=NULL");
    SendStringCommand(220, Name);
}
CATCH_FRAME()

void SendRemoveVIP(uint32_t CharacterID) try { SendQuadCommand(221, CharacterID); }
CATCH_FRAME(CharacterID)

// ---- reports

void SendBugReport(const char* Text) try { SendStringCommand(230, Text); }
CATCH_FRAME()

void SendRuleViolation(const char* Name, int32_t Reason, int32_t Action, const char* Comment,
                       uint32_t StatementID, bool IPBanishment) try {
    BeginPacket(231);
    PutString(Name);
    PutU8(Reason);
    PutU8(Action);
    PutString(Comment);
    PutQuad(StatementID);
    PutU8(IPBanishment ? 1 : 0);
    SendPacket(true);
}
CATCH_FRAME(StatementID, (IPBanishment ? 1 : 0))

void SendErrorReport(const char* Title, const char* Time, const char* Text, const char* Comment) try {
    int32_t Fixed = 1 + 4 * 2 + TextLength(Title) + TextLength(Time) + TextLength(Comment);
    int32_t Room = std::max(MAX_CLIENT_MESSAGE_LENGTH - Fixed, 0);
    BeginPacket(232);
    PutString(Title);
    PutString(Time);
    PutCutString(Text, std::min(TextLength(Text), Room));
    PutString(Comment);
    SendPacket(true);
}
CATCH_FRAME()
