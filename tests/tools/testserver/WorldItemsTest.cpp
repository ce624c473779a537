// The moves of objects in the live world, message by message: within reach and throw, stacks split and
// merged, containers taking what fits, and the refusals the roads on the real client do not meet.
#include "tests/tools/testserver/TestClient.h"
#include "tests/tools/testserver/WorldClient.h"
#include "tools/testserver/TestServer.h"
#include "tools/testserver/Village.h"

#include <gtest/gtest.h>

using namespace testserver;
using namespace testserver::village;
using testclient::Place;
using testclient::TBytes;
using testclient::TPlayerClient;
using testclient::TServerMessage;
using testclient::TypesOf;
using testclient::Use;

namespace {

constexpr TPosition InBody(int Position) { return {0xFFFF, Position, 0}; }
constexpr TPosition InWindow(int Window, int Slot) { return {0xFFFF, 64 + Window, Slot}; }
constexpr TPosition Beside(TPosition Where, int dx, int dy) { return {Where.X + dx, Where.Y + dy, Where.Z}; }

TBytes Move(TPosition From, uint16_t Type, uint8_t StackPosition, TPosition To, uint8_t Count) {
    TBytes Bytes = Place(COMMAND_MOVE, From, Type, StackPosition);
    testclient::PutPosition(Bytes, To);
    Bytes.push_back(Count);
    return Bytes;
}

// The text of an answer that is one status line.
std::string Refusal(const std::vector<TServerMessage>& Answer) {
    return Answer.size() == 1 && Answer[0].Type == 180 ? Answer[0].Text : "(not one status line)";
}

} // namespace

TEST(WorldItemsTest, ContainersMergeLikeStacksTakeOnlyWhatFitsAndRefuseWhatTheRulesForbid) {
    std::shared_ptr<const TWorldSetup> Setup =
        LoadWorld(DefaultDatFile(), {.Start = Beside(DEPOT_FIELD, 1, 0)});
    TTestServer Server;
    Server.setPlan(TRole::Game, WorldPlan(Setup));
    TPlayerClient Aldric(Server.gamePort(), Setup->Village.types(), "Aldric");
    ASSERT_EQ(TypesOf(Aldric.ask(Use(InBody(3), BACKPACK, 0, 0))), std::vector<uint8_t>{110});
    ASSERT_EQ(TypesOf(Aldric.ask(Use(DEPOT_FIELD, DEPOT, 1, 1))), std::vector<uint8_t>{110});

    EXPECT_EQ(Refusal(Aldric.ask(Move(InWindow(0, 0), GOLD, 0, InWindow(1, 255), 10))),
              "You cannot put more objects in this container.");
    // Two single apples into the backpack, then the first dropped onto the second: the emptied slot moves
    // the second up, and the merged stack lies first.
    for (int Apple = 0; Apple < 2; ++Apple)
        ASSERT_EQ(TypesOf(Aldric.ask(Move(InWindow(1, 0), APPLES, 0, InWindow(0, 255), 1))),
                  (std::vector<uint8_t>{114, 112}));
    std::vector<TServerMessage> Merged = Aldric.ask(Move(InWindow(0, 0), APPLES, 0, InWindow(0, 1), 1));
    ASSERT_EQ(TypesOf(Merged), (std::vector<uint8_t>{114, 113}));
    EXPECT_EQ(Merged[1].StackPosition, 0);
    EXPECT_EQ(Merged[1].Objects[0].Data, 2);

    EXPECT_EQ(Refusal(Aldric.ask(Move(InBody(3), BACKPACK, 0, InWindow(0, 0), 1))), "This is impossible.");
    EXPECT_EQ(Refusal(Aldric.ask(Move(InWindow(0, 0), APPLES, 0, InWindow(0, 2), 3))),
              "Sorry, not possible.");
    EXPECT_EQ(Refusal(Aldric.ask(Move(InWindow(0, 2), ROPE, 2, Beside(DEPOT_FIELD, 0, -3), 1))),
              "There is not enough room.");
    EXPECT_EQ(Refusal(Aldric.ask(Move(InWindow(0, 2), ROPE, 2, {1008, 1010, 6}, 1))), "First go upstairs.");
    EXPECT_EQ(TypesOf(Aldric.ask(Move(InBody(6), SWORD, 0, InBody(3), 1))), (std::vector<uint8_t>{121, 112}))
        << "a thing dropped on the backpack's position goes into the backpack";
    EXPECT_TRUE(Server.received().Errors.empty());
}
