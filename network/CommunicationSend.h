// The client messages of a game session: one sender per command, built and sent enciphered at once; the
// walk, stop and logout senders with the preparation of every walk.
#pragma once

#include "network/Network.h"

#include <cstdint>

// Place of an object in a message: X, Y, Z of a map field, or an inventory or container slot as below.
inline constexpr int32_t PLACE_OFF_MAP = 0xFFFF;       // X of an inventory or container slot
inline constexpr int32_t PLACE_CONTAINER_BASE = 64;    // Y of a slot in container 0; container n is 64 + n
inline constexpr int32_t PLACE_INVENTORY_POSITION = 0; // Z and stack position of an inventory slot
// Longest message (command byte and fields) that fits the send buffer with its length words and padding.
inline constexpr int32_t MAX_CLIENT_MESSAGE_LENGTH = (SENDBUFFERSIZE - 2) / 8 * 8 - 2;

// Every sender returns normally without a connection: the message is dropped. A failed check throws before
// anything is sent. Integer fields are cut to their wire width (u8, u16, u32) when they are put.

// The walk path and the stop. Before either goes out, a creature being chased under the AutoChaseOff option
// ends the chase (fight modes with chase mode 0), and a creature being followed is no longer followed.
void PrepareWalk();
// The player's queued steps: one step as its own command (101-109), more as command 100 with the codes.
// Checks "Steps>0".
void SendWalkPath();
void SendStopWalk(); // 105
void SendLogout();   // 20: leave the game

// Keeping the connection and the view fresh.
void SendPingAnswer(); // 30
// 201. Checks that the field lies in the map box before anything is sent; marks the box field as asked
// again after handing the message over, even when there is no connection.
void SendRefreshField(int32_t x, int32_t y, int32_t z);
void SendRefreshContainer(int32_t Container); // 202

// Turning: 111-114.
void SendTurnNorth();
void SendTurnEast();
void SendTurnSouth();
void SendTurnWest();

// Objects. Position is the stack position on a field, the slot in a container, 0 in the inventory. The
// actions on the map drop the player's queued walk path as each says.
// 120. An object type that cannot be moved sets the status message "You cannot move this object." and
// sends nothing; a move from a map field drops the walk path.
void SendMoveObject(int32_t FromX, int32_t FromY, int32_t FromZ, int32_t ObjectType, int32_t Position,
                    int32_t ToX, int32_t ToY, int32_t ToZ, int32_t Count);
// 130. Container: the number in which a used container opens.
void SendUseObject(int32_t X, int32_t Y, int32_t Z, int32_t ObjectType, int32_t Position, int32_t Container);
// 131: the first object used on the second; the walk path stays only when both lie off the map.
void SendUseTwoObjects(int32_t X1, int32_t Y1, int32_t Z1, int32_t ObjectType1, int32_t Position1, int32_t X2,
                       int32_t Y2, int32_t Z2, int32_t ObjectType2, int32_t Position2);
void SendUseOnCreature(int32_t X, int32_t Y, int32_t Z, int32_t ObjectType, int32_t Position,
                       uint32_t CreatureID);                                                  // 132
void SendRotateObject(int32_t X, int32_t Y, int32_t Z, int32_t ObjectType, int32_t Position); // 133
void SendLook(int32_t X, int32_t Y, int32_t Z, int32_t ObjectType, int32_t Position);         // 140

// Containers.
void SendCloseContainer(int32_t Container); // 135
void SendUpContainer(int32_t Container);    // 136: the parent container in the same window

// Trade.
void SendTradeObject(int32_t X, int32_t Y, int32_t Z, int32_t ObjectType, int32_t Position,
                     uint32_t CreatureID);          // 125
void SendLookTrade(int32_t Side, int32_t Position); // 126: Side 0 the own offer, 1 the partner's
void SendAcceptTrade();                             // 127
void SendCloseTrade();                              // 128

// Answers to the text and list dialogs, with the numbers the server gave them.
void SendEditText(uint32_t ObjectNumber, const char* Text);             // 137
void SendEditList(int32_t Type, uint32_t Identifier, const char* Text); // 138

// Talk (150): each sender accepts only its own talk modes and fails the mode check for any other.
void SendTalk(int32_t Mode, const char* Text);                               // say, whisper, yell, requests
void SendPrivateTalk(int32_t Mode, const char* Addressee, const char* Text); // to one player
void SendChannelTalk(int32_t Mode, int32_t ChannelID, const char* Text);     // into a channel

// Chat channels and rule-violation requests.
void SendGetChannels();                        // 151
void SendJoinChannel(int32_t ChannelID);       // 152
void SendLeaveChannel(int32_t ChannelID);      // 153
void SendPrivateChannel(const char* Name);     // 154
void SendProcessRequest(const char* Name);     // 155
void SendRemoveRequest(const char* Name);      // 156
void SendCancelRequest();                      // 157
void SendOpenOwnChannel();                     // 170
void SendInviteToChannel(const char* Name);    // 171
void SendExcludeFromChannel(const char* Name); // 172

// Fight.
void SendFightModes();                // 160: the AttackMode, ChaseMode and SecureMode options as they stand
void SendAttack(uint32_t CreatureID); // 161: 0 stops; another drops the walk path
void SendFollow(uint32_t CreatureID); // 162: 0 stops; another drops the walk path
void SendCancel();                    // 190: stop every action

// Party.
void SendInviteToParty(uint32_t CharacterID);    // 163
void SendJoinParty(uint32_t CharacterID);        // 164: the inviting leader
void SendRevokeInvitation(uint32_t CharacterID); // 165
void SendPassLeadership(uint32_t CharacterID);   // 166
void SendLeaveParty();                           // 167

// Outfit.
void SendGetOutfit(); // 210, only while no request is outstanding (GetOutfitRequested); sets the flag
// 211. Colors: head, body, legs and feet colour indexes.
void SendSetOutfit(int32_t OutfitType, const int32_t* Colors);

// VIP list.
void SendAddVIP(const char* Name);        // 220
void SendRemoveVIP(uint32_t CharacterID); // 221

// Reports.
void SendBugReport(const char* Text); // 230
// 231. Reason 0..31 and Action 0..7 of the report dialog; StatementID the reported statement, 0 none.
void SendRuleViolation(const char* Name, int32_t Reason, int32_t Action, const char* Comment,
                       uint32_t StatementID, bool IPBanishment);
// 232: one error-report record. The text is cut so that the message fits the send buffer: a full record
// (title, time stamp, text and comment at their limits) is longer than one message may be.
void SendErrorReport(const char* Title, const char* Time, const char* Text, const char* Comment);
