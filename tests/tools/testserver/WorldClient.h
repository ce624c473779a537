// The tests' reading of the world's game messages, written from their layouts. Like the client it keeps the
// view position, so that it knows how many fields a map message holds and which world field each one is.
#pragma once

#include "tests/tools/testserver/TestClient.h"
#include "tools/testserver/ObjectTypes.h"
#include "tools/testserver/TestServer.h"
#include "tools/testserver/World.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testclient {

using testserver::TPosition;

// An object as a message describes it.
struct TSeenObject {
    uint16_t Word = 0; // the item type, or 97 / 98 / 99 for a creature
    uint8_t Data = 0;  // the last data byte of an item
    uint32_t CreatureId = 0;
    std::string Name; // word 97
    uint8_t Facing = 0;
    uint16_t Outfit = 0;
};

struct TSeenField {
    TPosition Where;
    std::vector<TSeenObject> Objects;
};

// One message; the members a type does not use stay empty.
struct TServerMessage {
    uint8_t Type = 0;
    TPosition Where{}, To{};          // 100, 105-109, 131; To of 109
    uint8_t StackPosition = 0;        // 107-109; the slot of 113, 114
    std::vector<TSeenField> Fields;   // 100-105, 190, 191
    std::vector<TSeenObject> Objects; // 106, 107, 112, 113, 120: the object; 110, 125, 126: the items
    uint32_t Number = 0;              // 10 player id, 170 statement, 210-212 the VIP
    uint32_t Seconds = 0;             // 170 of a request: since it was filed
    uint16_t Value = 0;               // 10 beat, 110 container type, 170 / 172 / 174 / 178 / 179 channel
    uint8_t Byte = 0;  // 110-114 container, 120 / 121 body position, 131 effect, 170 / 180 mode, 181 facing
    bool Flag = false; // 110 has parent, 210 online
    std::string Name,
        Text; // Text also of the error 20; Name also of 125, 126 (the trader), 173, 175, 176, 210
    std::vector<std::pair<uint16_t, std::string>> Channels; // 171
};

// The types of Messages, in order.
std::vector<uint8_t> TypesOf(const std::vector<TServerMessage>& Messages);

// Game commands as the client writes them. Place: a command on the thing at a place (look, and the start of
// use and move); Use: with the container window it opens in; NameCommand: a command whose one field is a
// name; Talk: in Mode, to an Addressee or in a Channel where the mode takes one.
void PutPosition(TBytes& Out, TPosition Where);
TBytes Place(uint8_t Command, TPosition Where, uint16_t Type, uint8_t StackPosition);
TBytes Use(TPosition Where, uint16_t Type, uint8_t StackPosition, uint8_t Window);
TBytes NameCommand(uint8_t Command, std::string_view Name);
TBytes Talk(uint8_t Mode, std::string_view Text);
TBytes Talk(uint8_t Mode, std::string_view Text, std::string_view Addressee);
TBytes Talk(uint8_t Mode, std::string_view Text, uint16_t Channel);

class TWorldClient {
public:
    explicit TWorldClient(const testserver::TObjectTypes& Types) : Types(Types) {}

    // The messages of one frame, in order; a message that breaks its layout fails the test and ends the
    // reading.
    std::vector<TServerMessage> read(const TBytes& Frame);
    TPosition view() const { return View; }

private:
    bool readMessage(TReader& Reader, TServerMessage& Message);
    bool readMap(TReader& Reader, TServerMessage& Message);
    bool readFields(TReader& Reader, const std::vector<TPosition>& Where, std::vector<TSeenField>& Fields);
    TSeenObject readObject(TReader& Reader, uint16_t Word);
    void readTalk(TReader& Reader, TServerMessage& Message);

    const testserver::TObjectTypes& Types;
    TPosition View{};
};

// The account a session logs in with when the test does not care: the world takes any.
constexpr uint32_t ANY_ACCOUNT = 7;

// One character's game session: logs in, keeps the entry (up to the welcome line or a refusal), sends
// commands and reads the world's frames through a TWorldClient.
class TPlayerClient {
public:
    TPlayerClient(uint16_t GamePort, const testserver::TObjectTypes& Types, std::string_view Name,
                  uint8_t Gamemaster = 0, uint32_t Account = ANY_ACCOUNT);

    // What the world sent up to the welcome line, or its refusal.
    const std::vector<TServerMessage>& entered() const { return Entered; }
    bool send(const TBytes& Command);
    // The messages of the next frame; none when no frame came within Limit.
    std::vector<TServerMessage> next(std::chrono::milliseconds Limit = std::chrono::seconds(5));
    // Sends Command and reads the frame of its answer.
    std::vector<TServerMessage> ask(const TBytes& Command);
    // Reads frames until a message matches; nothing when none came within Limit.
    std::optional<TServerMessage> waitFor(const std::function<bool(const TServerMessage&)>& Match,
                                          std::chrono::milliseconds Limit = std::chrono::seconds(5));
    TPosition view() const { return Picture.view(); }
    TConnection& connection() { return Connection; }

private:
    const TKey Key = RandomKey();
    TConnection Connection;
    TWorldClient Picture;
    std::vector<TServerMessage> Entered;
};

// The test server playing the default world; the characters' sessions of a test join it.
class TWorldTest : public ::testing::Test {
protected:
    TWorldTest();
    // The character's session; the test fails when the world sent nothing at its entry.
    std::unique_ptr<TPlayerClient> join(std::string_view Name, uint8_t Gamemaster = 0,
                                        uint32_t Account = ANY_ACCOUNT);

    std::shared_ptr<const testserver::TWorldSetup> Setup;
    testserver::TTestServer Server;
};

} // namespace testclient
