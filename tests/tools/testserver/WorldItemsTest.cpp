// The roads of objects and trade in the live world: moves within reach and throw, stacks split and merged,
// the use rules of the village, and a trade between two players with a repeated offer and a cancel.
#include "tests/tools/testserver/TestClient.h"
#include "tests/tools/testserver/WorldClient.h"
#include "tools/testserver/TestServer.h"
#include "tools/testserver/Village.h"

#include <gtest/gtest.h>

using namespace testserver;
using namespace testserver::village;
using testclient::TBytes;
using testclient::TPlayerClient;
using testclient::TServerMessage;

namespace {

constexpr TPosition InBody(int Position) { return {0xFFFF, Position, 0}; }
constexpr TPosition InWindow(int Window, int Slot) { return {0xFFFF, 64 + Window, Slot}; }
constexpr TPosition Beside(TPosition Where, int dx, int dy) { return {Where.X + dx, Where.Y + dy, Where.Z}; }

void Put(TBytes& Bytes, TPosition Where, uint16_t Type, uint8_t StackPosition) {
    testclient::Put16(Bytes, static_cast<uint16_t>(Where.X));
    testclient::Put16(Bytes, static_cast<uint16_t>(Where.Y));
    Bytes.push_back(static_cast<uint8_t>(Where.Z));
    testclient::Put16(Bytes, Type);
    Bytes.push_back(StackPosition);
}

TBytes Command(uint8_t Type, TPosition Where, uint16_t Object, uint8_t StackPosition) {
    TBytes Bytes{Type};
    Put(Bytes, Where, Object, StackPosition);
    return Bytes;
}

TBytes Move(TPosition From, uint16_t Type, uint8_t StackPosition, TPosition To, uint8_t Count) {
    TBytes Bytes = Command(COMMAND_MOVE, From, Type, StackPosition);
    Put(Bytes, To, 0, 0);
    Bytes.resize(Bytes.size() - 3); // the destination has no type and stack position
    Bytes.push_back(Count);
    return Bytes;
}

TBytes UseWith(TPosition From, uint16_t Type, uint8_t StackPosition, TPosition To, uint16_t ToType,
               uint8_t ToStackPosition) {
    TBytes Bytes = Command(COMMAND_USE_WITH, From, Type, StackPosition);
    Put(Bytes, To, ToType, ToStackPosition);
    return Bytes;
}

TBytes Use(TPosition Where, uint16_t Type, uint8_t StackPosition, uint8_t Window) {
    TBytes Bytes = Command(COMMAND_USE, Where, Type, StackPosition);
    Bytes.push_back(Window);
    return Bytes;
}

TBytes WithCreature(TBytes Bytes, uint32_t Creature) {
    testclient::Put32(Bytes, Creature);
    return Bytes;
}

std::vector<uint8_t> TypesOf(const std::vector<TServerMessage>& Messages) {
    std::vector<uint8_t> Types;
    for (const TServerMessage& Message : Messages)
        Types.push_back(Message.Type);
    return Types;
}

std::vector<uint16_t> Items(const TServerMessage& Message) {
    std::vector<uint16_t> Types;
    for (const testclient::TSeenObject& Object : Message.Objects)
        Types.push_back(Object.Word);
    return Types;
}

// The text of an answer that is one status line.
std::string Refusal(const std::vector<TServerMessage>& Answer) {
    return Answer.size() == 1 && Answer[0].Type == 180 ? Answer[0].Text : "(not one status line)";
}

class WorldItemsTest : public ::testing::Test {
protected:
    void play(TWorldOptions Options) {
        Setup = LoadWorld(DefaultDatFile(), Options);
        Server.setPlan(TRole::Game, WorldPlan(Setup));
    }
    std::unique_ptr<TPlayerClient> join(std::string_view Name) {
        auto Player = std::make_unique<TPlayerClient>(Server.gamePort(), Setup->Village.types(), Name);
        EXPECT_FALSE(Player->entered().empty()) << Name << " entered nothing";
        return Player;
    }

    std::shared_ptr<const TWorldSetup> Setup;
    TTestServer Server;
};

} // namespace

TEST_F(WorldItemsTest, StacksSplitAndMergeWithinReachAndThrowAndContainersTakeWhatFits) {
    const TPosition Gold{1015, 1010, 7};
    play({.Start = Beside(Gold, -1, 0)});
    auto Aldric = join("Aldric");

    std::vector<TServerMessage> Thrown = Aldric->ask(Move(Gold, GOLD, 1, Beside(Gold, 1, 1), 5));
    ASSERT_EQ(TypesOf(Thrown), (std::vector<uint8_t>{107, 106}));
    EXPECT_EQ(Thrown[0].Objects[0].Data, 7);
    EXPECT_EQ(Thrown[1].Where, Beside(Gold, 1, 1));
    EXPECT_EQ(Thrown[1].Objects[0].Data, 5);

    EXPECT_EQ(Refusal(Aldric->ask(Move(Beside(Gold, 1, 1), GOLD, 1, Gold, 5))), "Too far away.");
    EXPECT_EQ(Refusal(Aldric->ask(Move(Gold, GOLD, 1, Beside(Gold, 5, 0), 7))),
              "Destination is out of range.");
    EXPECT_EQ(Refusal(Aldric->ask(Move(Gold, GOLD, 1, {1015, 1010, 6}, 7))), "First go upstairs.");
    EXPECT_EQ(Refusal(Aldric->ask(Move(Gold, GOLD, 1, {1014, 1007, 7}, 7))), "There is not enough room.");
    EXPECT_EQ(Refusal(Aldric->ask(Move(Gold, GOLD, 1, Beside(Gold, 1, 0), 8))), "Sorry, not possible.");

    // The rest into the inventory: the backpack, where it lies first when the backpack opens.
    EXPECT_EQ(TypesOf(Aldric->ask(Move(Gold, GOLD, 1, InBody(0), 7))), std::vector<uint8_t>{108});
    std::vector<TServerMessage> Opened = Aldric->ask(Use(InBody(3), BACKPACK, 0, 0));
    ASSERT_EQ(TypesOf(Opened), std::vector<uint8_t>{110});
    EXPECT_EQ(Items(Opened[0]), (std::vector<uint16_t>{GOLD, GOLD, ROPE}));

    std::vector<TServerMessage> Merged = Aldric->ask(Move(InWindow(0, 0), GOLD, 0, InWindow(0, 1), 7));
    ASSERT_EQ(TypesOf(Merged), (std::vector<uint8_t>{114, 113}));
    EXPECT_EQ(Merged[1].StackPosition, 0) << "the ten moved up into the emptied slot";
    EXPECT_EQ(Merged[1].Objects[0].Data, 17);

    std::vector<TServerMessage> Held = Aldric->ask(Move(InWindow(0, 1), ROPE, 1, InBody(5), 1));
    ASSERT_EQ(TypesOf(Held), (std::vector<uint8_t>{114, 120}));
    EXPECT_EQ(Held[1].Byte, 5);
    EXPECT_EQ(Refusal(Aldric->ask(Move(InBody(5), ROPE, 0, InBody(6), 1))), "There is not enough room.");
    EXPECT_EQ(Refusal(Aldric->ask(Move(InBody(3), BACKPACK, 0, InWindow(0, 0), 1))), "This is impossible.");
    EXPECT_TRUE(Server.received().Errors.empty());
}

TEST_F(WorldItemsTest, UseRulesUnlockTheDoorFishHealRotateAndClimbTheRope) {
    play({});
    auto Aldric = join("Aldric");
    EXPECT_EQ(Refusal(Aldric->ask(Use(LOCKED_DOOR, DOOR_CLOSED, 1, 0))), "It is locked.");
    for (uint16_t Door : {DOOR_CLOSED, DOOR}) {
        std::vector<TServerMessage> Turned = Aldric->ask(UseWith(KEY_FIELD, KEY, 1, LOCKED_DOOR, Door, 1));
        ASSERT_EQ(TypesOf(Turned), std::vector<uint8_t>{107});
        EXPECT_EQ(Turned[0].Where, LOCKED_DOOR);
        EXPECT_EQ(Turned[0].Objects[0].Word, Door == DOOR ? DOOR_CLOSED : DOOR);
    }

    EXPECT_EQ(Refusal(Aldric->ask(UseWith(ROD_FIELD, FISHING_ROD, 1, WELL, WATER, 0))), "You catch a fish.");
    std::vector<TServerMessage> Opened = Aldric->ask(Use(InBody(3), BACKPACK, 0, 0));
    ASSERT_EQ(TypesOf(Opened), std::vector<uint8_t>{110});
    EXPECT_EQ(Items(Opened[0]), (std::vector<uint16_t>{FISH, GOLD, ROPE}));

    std::vector<TServerMessage> Healed =
        Aldric->ask(WithCreature(Command(COMMAND_USE_ON_CREATURE, RUNE_FIELD, RUNE, 1), GREGOR));
    ASSERT_EQ(TypesOf(Healed), (std::vector<uint8_t>{131, 180}));
    EXPECT_EQ(Healed[0].Byte, EFFECT_HEAL);
    EXPECT_EQ(Healed[1].Text, "The rune flashes.");

    std::vector<TServerMessage> Rotated = Aldric->ask(Command(COMMAND_ROTATE, CHAIR_FIELD, CHAIR, 1));
    ASSERT_EQ(TypesOf(Rotated), std::vector<uint8_t>{107});
    EXPECT_EQ(Refusal(Aldric->ask(Command(COMMAND_ROTATE, KEY_FIELD, KEY, 1))), "Sorry, not possible.");

    std::vector<TServerMessage> Climbed =
        Aldric->ask(UseWith(InWindow(0, 2), ROPE, 2, ROPE_SPOT, CAVE_FLOOR, 0));
    ASSERT_FALSE(Climbed.empty());
    EXPECT_EQ(Climbed[0].Type, 100);
    EXPECT_EQ(Climbed[0].Where, Beside(HOLE, 1, 0));
    EXPECT_EQ(Refusal(Aldric->ask(UseWith(KEY_FIELD, KEY, 1, WELL, WATER, 0))),
              "You cannot use this object.");
}

TEST_F(WorldItemsTest, ATradeShowsBothOffersAsksForAcceptanceAgainAfterARepeatAndEndsByExchangeOrCancel) {
    play({});
    auto Aldric = join("Aldric");
    auto Brenna = join("Brenna");
    Aldric->next(); // Brenna appears
    const TBytes Sword = WithCreature(Command(COMMAND_TRADE, InBody(6), SWORD, 0), PlayerId("Brenna"));
    const TBytes Backpack = WithCreature(Command(COMMAND_TRADE, InBody(3), BACKPACK, 0), PLAYER_ID);

    std::vector<TServerMessage> Own = Aldric->ask(Sword);
    ASSERT_EQ(TypesOf(Own), std::vector<uint8_t>{125});
    EXPECT_EQ(Own[0].Name, "Aldric");
    EXPECT_EQ(Refusal(Brenna->next()), "Aldric wants to trade with you.");

    std::vector<TServerMessage> Both = Brenna->ask(Backpack);
    ASSERT_EQ(TypesOf(Both), (std::vector<uint8_t>{125, 126}));
    EXPECT_EQ(Items(Both[0]), (std::vector<uint16_t>{BACKPACK, GOLD, ROPE}));
    EXPECT_EQ(Both[1].Name, "Aldric");
    std::vector<TServerMessage> Counter = Aldric->next();
    ASSERT_EQ(TypesOf(Counter), std::vector<uint8_t>{126});
    EXPECT_EQ(Counter[0].Name, "Brenna");

    // Brenna accepts, then repeats her offer: both are shown again and her acceptance is gone. Looking
    // answers after the accept, so the repeat comes after it.
    const TBytes LookAtSword{COMMAND_LOOK_TRADE, 1, 0};
    ASSERT_TRUE(Brenna->send({COMMAND_ACCEPT_TRADE}));
    EXPECT_EQ(Refusal(Brenna->ask(LookAtSword)), "You see a sword.");
    EXPECT_EQ(TypesOf(Brenna->ask(Backpack)), std::vector<uint8_t>{126});
    EXPECT_EQ(TypesOf(Aldric->next()), std::vector<uint8_t>{126});
    ASSERT_TRUE(Aldric->send({COMMAND_ACCEPT_TRADE}));
    EXPECT_EQ(Refusal(Aldric->ask({COMMAND_LOOK_TRADE, 1, 1})), "You see 10 gold coins.")
        << "no exchange yet";
    EXPECT_EQ(TypesOf(Brenna->ask({COMMAND_ACCEPT_TRADE})), (std::vector<uint8_t>{121, 120, 127}));
    EXPECT_EQ(TypesOf(Aldric->next()), (std::vector<uint8_t>{121, 127}));
    std::vector<TServerMessage> Carried = Aldric->ask(Use(InBody(3), BACKPACK, 0, 0));
    ASSERT_EQ(TypesOf(Carried), std::vector<uint8_t>{110});
    EXPECT_EQ(Items(Carried[0]), (std::vector<uint16_t>{BACKPACK, GOLD, ROPE}));

    // A second trade that Brenna cancels ends on both sides.
    Aldric->ask(WithCreature(Command(COMMAND_TRADE, InWindow(0, 2), ROPE, 2), PlayerId("Brenna")));
    Brenna->next();
    const TBytes SwordBack = WithCreature(Command(COMMAND_TRADE, InBody(1), SWORD, 0), PLAYER_ID);
    EXPECT_EQ(TypesOf(Brenna->ask(SwordBack)), (std::vector<uint8_t>{125, 126}));
    Aldric->next();
    EXPECT_EQ(TypesOf(Brenna->ask({COMMAND_CLOSE_TRADE})), (std::vector<uint8_t>{127, 180}));
    std::vector<TServerMessage> Cancelled = Aldric->next();
    ASSERT_EQ(TypesOf(Cancelled), (std::vector<uint8_t>{127, 180}));
    EXPECT_EQ(Cancelled[1].Text, "Trade cancelled.");
    EXPECT_TRUE(Server.received().Errors.empty());
}
