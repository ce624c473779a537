// End-to-end sessions in the world: entering, walking, stairs, looking, talk, containers and townsfolk, read
// back with the tests' own decoder.
#include "tests/tools/testserver/TestClient.h"
#include "tests/tools/testserver/WorldClient.h"
#include "tools/testserver/TestServer.h"
#include "tools/testserver/Village.h"
#include "tools/testserver/WorldRoads.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testserver;
using testclient::Place;
using testclient::Talk;
using testclient::TBytes;
using testclient::TSeenField;
using testclient::TServerMessage;
using testclient::TypesOf;
using testclient::Use;

namespace {

using namespace std::chrono_literals;
namespace v = village;

const TSeenField* FieldAt(const std::vector<TSeenField>& Fields, TPosition Where) {
    for (const TSeenField& Field : Fields)
        if (Field.Where == Where) return &Field;
    return nullptr;
}

class WorldSessionTest : public ::testing::Test {
protected:
    // Logs Aldric in and reads everything up to the welcome line.
    void enter(std::optional<TPosition> Start = {}, TWorldOptions Options = {}) {
        Options.Start = Start;
        Setup = LoadWorld(DefaultDatFile(), Options);
        Server.setPlan(TRole::Game, WorldPlan(Setup));
        Player =
            std::make_unique<testclient::TPlayerClient>(Server.gamePort(), Setup->Village.types(), "Aldric");
        Entered = Player->entered();
        ASSERT_FALSE(Entered.empty());
        ASSERT_EQ(Entered.back().Type, 180);
    }

    // The messages of the next frame.
    std::vector<TServerMessage> next() {
        std::vector<TServerMessage> Messages = Player->next();
        EXPECT_FALSE(Messages.empty()) << "no frame";
        return Messages;
    }

    std::vector<TServerMessage> ask(const TBytes& Command) { return Player->ask(Command); }

    // Every item of the fields is the village's, in the order of its stack.
    void expectVillage(const std::vector<TSeenField>& Fields) {
        for (const TSeenField& Seen : Fields) {
            std::vector<uint16_t> Items, Expected;
            for (const testclient::TSeenObject& Object : Seen.Objects)
                if (Object.CreatureId == 0) Items.push_back(Object.Word);
            if (const TField* Field = Setup->Village.field(Seen.Where))
                for (const TThing& Thing : Field->stack())
                    if (Thing.Type != CREATURE) Expected.push_back(Thing.Type);
            EXPECT_EQ(Items, Expected) << Seen.Where.X << "," << Seen.Where.Y << "," << Seen.Where.Z;
        }
    }

    TTestServer Server;
    std::shared_ptr<const TWorldSetup> Setup;
    std::unique_ptr<testclient::TPlayerClient> Player;
    std::vector<TServerMessage> Entered;
};

} // namespace

TEST_F(WorldSessionTest, EnteringSendsTheWholeBoxAroundThePlayer) {
    enter();
    EXPECT_EQ(TypesOf(Entered), (std::vector<uint8_t>{10, 100, 130, 120, 120, 160, 161, 162, 180}));
    EXPECT_EQ(Entered[0].Number, PLAYER_ID);
    EXPECT_EQ(Entered[0].Value, 50);

    const TServerMessage& Map = Entered[1];
    EXPECT_EQ(Map.Where, v::START);
    ASSERT_EQ(Map.Fields.size(), 18u * 14u * 8u);
    expectVillage(Map.Fields);
    const TSeenField* Own = FieldAt(Map.Fields, v::START);
    ASSERT_TRUE(Own);
    ASSERT_EQ(Own->Objects.size(), 2u);
    EXPECT_EQ(Own->Objects[1].Word, 97);
    EXPECT_EQ(Own->Objects[1].CreatureId, PLAYER_ID);
    EXPECT_EQ(Own->Objects[1].Name, "Aldric");
    const TSeenField* Gregor = FieldAt(Map.Fields, {1018, 1011, 7});
    ASSERT_TRUE(Gregor);
    EXPECT_EQ(Gregor->Objects.back().Name, "Gregor");
    const TSeenField* Upstairs = FieldAt(Map.Fields, v::STAIRS_DOWN);
    ASSERT_TRUE(Upstairs) << "the upper storey lies in the box, one field north-west per floor";
    EXPECT_EQ(Upstairs->Objects.size(), 2u);

    EXPECT_EQ(Entered[3].Byte, 3);
    EXPECT_EQ(Entered[3].Objects[0].Word, v::BACKPACK);
    EXPECT_EQ(Entered[8].Byte, TALK_EVENT_STATUS);
    EXPECT_EQ(Entered[8].Text, "Welcome to the Pellarune test world, Aldric.");
}

TEST_F(WorldSessionTest, AStepMovesThePlayerAndSendsWhatComesIntoView) {
    enter();
    std::vector<TServerMessage> South = ask({103});
    ASSERT_EQ(TypesOf(South), (std::vector<uint8_t>{109, 103}));
    EXPECT_EQ(South[0].Where, v::START);
    EXPECT_EQ(South[0].StackPosition, 1);
    EXPECT_EQ(South[0].To, (TPosition{1010, 1011, 7}));
    EXPECT_EQ(South[1].Fields.size(), 18u * 8u);
    EXPECT_EQ(South[1].Fields.front().Where, (TPosition{1002, 1018, 7}));
    expectVillage(South[1].Fields);

    std::vector<TServerMessage> NorthEast = ask({106});
    ASSERT_EQ(TypesOf(NorthEast), (std::vector<uint8_t>{109, 102, 101}));
    EXPECT_EQ(NorthEast[0].To, (TPosition{1011, 1010, 7}));
    EXPECT_EQ(NorthEast[1].Fields.size(), 14u * 8u);
    expectVillage(NorthEast[1].Fields);
    expectVillage(NorthEast[2].Fields);
    EXPECT_EQ(Player->view(), (TPosition{1011, 1010, 7}));

    std::vector<TServerMessage> Turn = ask({112});
    ASSERT_EQ(TypesOf(Turn), std::vector<uint8_t>{107});
    EXPECT_EQ(Turn[0].StackPosition, 1);
    EXPECT_EQ(Turn[0].Objects[0].Word, 99);
    EXPECT_EQ(Turn[0].Objects[0].Facing, 1);
}

TEST_F(WorldSessionTest, AStepIntoAWallIsCancelledAndAPathIsWalkedToItsEnd) {
    enter(TPosition{1013, 1008, 7});
    std::vector<TServerMessage> Wall = ask({101});
    ASSERT_EQ(TypesOf(Wall), std::vector<uint8_t>{181});
    EXPECT_EQ(Wall[0].Byte, 0) << "the player faces north";

    std::vector<TServerMessage> Path = ask({100, 3, 1, 1, 7});
    ASSERT_EQ(TypesOf(Path), (std::vector<uint8_t>{109, 102, 109, 102, 109, 103}));
    EXPECT_EQ(Path[4].To, (TPosition{1015, 1009, 7}));
    EXPECT_EQ(Player->view(), (TPosition{1015, 1009, 7}));
    EXPECT_EQ(TypesOf(ask({105})), std::vector<uint8_t>{181});

    TReceived Received = Server.received();
    ASSERT_EQ(Received.GameCommands.size(), 3u);
    EXPECT_EQ(Received.GameCommands[1].Steps, (std::vector<uint8_t>{1, 1, 7}));
}

TEST_F(WorldSessionTest, StairsChangeTheFloorAndTheViewFollows) {
    enter(TPosition{1013, 1005, 7});
    std::vector<TServerMessage> Up = ask({102});
    ASSERT_EQ(TypesOf(Up), (std::vector<uint8_t>{109, 190, 104, 101}));
    EXPECT_EQ(Up[0].Where, (TPosition{1013, 1005, 7}));
    EXPECT_EQ(Up[0].To, (TPosition{1013, 1005, 6}));
    EXPECT_TRUE(Up[1].Fields.empty()) << "above the surface the box holds every floor already";
    EXPECT_EQ(Player->view(), (TPosition{1013, 1005, 6}));
    expectVillage(Up[2].Fields);

    std::vector<TServerMessage> Down = ask({102});
    ASSERT_EQ(TypesOf(Down), (std::vector<uint8_t>{109, 191, 102, 103}));
    EXPECT_EQ(Down[0].To, (TPosition{1013, 1005, 7}));
    EXPECT_EQ(Player->view(), (TPosition{1013, 1005, 7}));
}

TEST_F(WorldSessionTest, TheTrapdoorLeadsBelowTheSurfaceAndTheCellarStairsBackUp) {
    enter(TPosition{1008, 1006, 7});
    std::vector<TServerMessage> Down = ask({104});
    ASSERT_EQ(TypesOf(Down), (std::vector<uint8_t>{108, 191, 102, 103}));
    EXPECT_EQ(Down[0].Where, (TPosition{1008, 1006, 7}));
    EXPECT_EQ(Down[0].StackPosition, 1);
    ASSERT_EQ(Down[1].Fields.size(), 3u * 18u * 14u) << "floors 8, 9 and 10";
    expectVillage(Down[1].Fields);
    const TSeenField* Arrival = FieldAt(Down[1].Fields, {1008, 1006, 8});
    ASSERT_TRUE(Arrival);
    ASSERT_EQ(Arrival->Objects.size(), 2u);
    EXPECT_EQ(Arrival->Objects[1].Word, 99) << "the player, known since entering";
    EXPECT_EQ(Player->view(), (TPosition{1008, 1006, 8}));
    EXPECT_EQ(Down[2].Fields.size(), 14u * 5u);

    std::vector<TServerMessage> Up = ask({104});
    ASSERT_EQ(TypesOf(Up), (std::vector<uint8_t>{109, 190, 104, 101}));
    EXPECT_EQ(Up[0].To, (TPosition{1008, 1006, 7}));
    EXPECT_EQ(Up[1].Fields.size(), 6u * 18u * 14u) << "floors 5 to 0";
    EXPECT_EQ(Player->view(), (TPosition{1008, 1006, 7}));
}

TEST_F(WorldSessionTest, LookingAnswersWithALineTheConsoleShows) {
    enter();
    auto Look = [&](TPosition Where, uint16_t Type, uint8_t StackPosition) {
        std::vector<TServerMessage> Answer = ask(Place(140, Where, Type, StackPosition));
        EXPECT_EQ(TypesOf(Answer), std::vector<uint8_t>{180});
        EXPECT_EQ(Answer.empty() ? 0 : Answer[0].Byte, TALK_EVENT_STATUS);
        return Answer.empty() ? std::string() : Answer[0].Text;
    };
    EXPECT_EQ(Look(v::START, 99, 1), "You see yourself.");
    EXPECT_EQ(Look({1015, 1010, 7}, v::GOLD, 1), "You see 12 gold coins.");
    EXPECT_EQ(Look(v::CHEST_FIELD, v::CHEST, 1), "You see a chest.");
    EXPECT_EQ(Look({1018, 1011, 7}, 99, 1), "You see Gregor.");
    EXPECT_EQ(Look(v::START, 99, 7), "You see nothing special.");
}

TEST_F(WorldSessionTest, TalkIsEchoedInTheDefaultChannelAndInAChannel) {
    enter();
    std::vector<TServerMessage> Say = ask(Talk(1, "Hello there"));
    ASSERT_EQ(TypesOf(Say), std::vector<uint8_t>{170});
    EXPECT_EQ(Say[0].Number, 1u);
    EXPECT_EQ(Say[0].Name, "Aldric");
    EXPECT_EQ(Say[0].Byte, 1);
    EXPECT_EQ(Say[0].Where, v::START);
    EXPECT_EQ(Say[0].Text, "Hello there");

    std::vector<TServerMessage> Channels = ask({151});
    ASSERT_EQ(TypesOf(Channels), std::vector<uint8_t>{171});
    EXPECT_EQ(Channels[0].Channels.size(), 4u) << "three channels and the own channel";
    std::vector<TServerMessage> Join = ask({152, 2, 0});
    ASSERT_EQ(TypesOf(Join), std::vector<uint8_t>{172});
    EXPECT_EQ(Join[0].Value, 2);
    EXPECT_EQ(Join[0].Name, "Trade");
    std::vector<TServerMessage> Call = ask(Talk(5, "selling a sword", 2));
    ASSERT_EQ(TypesOf(Call), std::vector<uint8_t>{170});
    EXPECT_EQ(Call[0].Number, 2u);
    EXPECT_EQ(Call[0].Byte, 5);
    EXPECT_EQ(Call[0].Value, 2);
    EXPECT_EQ(Call[0].Text, "selling a sword");
}

TEST_F(WorldSessionTest, UsingTheChestOpensItAndTheBagInsideIt) {
    enter();
    std::vector<TServerMessage> Chest = ask(Use(v::CHEST_FIELD, v::CHEST, 1, 0));
    ASSERT_EQ(TypesOf(Chest), std::vector<uint8_t>{110});
    EXPECT_EQ(Chest[0].Byte, 0);
    EXPECT_EQ(Chest[0].Value, v::CHEST);
    EXPECT_EQ(Chest[0].Name, "chest");
    EXPECT_FALSE(Chest[0].Flag);
    ASSERT_EQ(Chest[0].Objects.size(), 4u);
    EXPECT_EQ(Chest[0].Objects[0].Word, v::GOLD);
    EXPECT_EQ(Chest[0].Objects[0].Data, 37);

    std::vector<TServerMessage> Bag = ask(Use({0xFFFF, 64, 1}, v::BAG, 1, 0));
    ASSERT_EQ(TypesOf(Bag), std::vector<uint8_t>{110});
    EXPECT_EQ(Bag[0].Name, "bag");
    EXPECT_TRUE(Bag[0].Flag);
    ASSERT_EQ(Bag[0].Objects.size(), 2u);
    EXPECT_EQ(Bag[0].Objects[1].Word, v::VIAL);
    EXPECT_EQ(Bag[0].Objects[1].Data, 1);

    std::vector<TServerMessage> Parent = ask({136, 0});
    ASSERT_EQ(TypesOf(Parent), std::vector<uint8_t>{110});
    EXPECT_EQ(Parent[0].Value, v::CHEST);
    EXPECT_EQ(TypesOf(ask({135, 0})), std::vector<uint8_t>{111});
    std::vector<TServerMessage> Grass = ask(Use(v::START, v::GRASS, 0, 0));
    ASSERT_EQ(TypesOf(Grass), std::vector<uint8_t>{180});
    EXPECT_EQ(Grass[0].Text, "You cannot use this object.");
}

TEST_F(WorldSessionTest, TownsfolkAppearWalkAndDisappearStepByStep) {
    enter();
    std::vector<std::vector<TServerMessage>> Steps;
    for (int i = 0; i < 7; ++i) {
        Server.stepCreatures();
        Steps.push_back(next());
    }
    ASSERT_EQ(TypesOf(Steps[0]), (std::vector<uint8_t>{109, 106, 131}));
    EXPECT_EQ(Steps[0][0].To, (TPosition{1019, 1011, 7})) << "Gregor";
    EXPECT_EQ(Steps[0][1].Where, (TPosition{1008, 1008, 7}));
    EXPECT_EQ(Steps[0][1].Objects[0].Word, 97);
    EXPECT_EQ(Steps[0][1].Objects[0].Name, "Mira");
    EXPECT_EQ(Steps[0][2].Byte, v::EFFECT_TELEPORT);
    ASSERT_EQ(TypesOf(Steps[1]), (std::vector<uint8_t>{108, 109})) << "Gregor leaves the view, Mira walks";
    EXPECT_EQ(Steps[1][0].Where, (TPosition{1019, 1011, 7}));
    ASSERT_EQ(TypesOf(Steps[5]), (std::vector<uint8_t>{106, 109})) << "Gregor comes back into view";
    EXPECT_EQ(Steps[5][0].Objects[0].Word, 99);
    ASSERT_EQ(TypesOf(Steps[6]), (std::vector<uint8_t>{109, 108, 131}));
    EXPECT_EQ(Steps[6][1].Where, (TPosition{1012, 1009, 7}));
    EXPECT_EQ(Steps[6][2].Byte, v::EFFECT_PUFF);
}

TEST_F(WorldSessionTest, UnreadAndBrokenCommandsAreRecordedAndTheSessionGoesOn) {
    enter();
    ASSERT_TRUE(Player->send(TBytes{212, 128, 0, 1, 2, 3, 4}));
    ASSERT_TRUE(Player->send(TBytes{140, 1}));
    std::vector<TServerMessage> Look = ask(Place(140, v::START, 99, 1));
    ASSERT_EQ(TypesOf(Look), std::vector<uint8_t>{180}) << "the first answer is the look's";

    TReceived Received = Server.received();
    ASSERT_EQ(Received.Commands.size(), 3u);
    ASSERT_EQ(Received.GameCommands.size(), 2u);
    EXPECT_EQ(Received.GameCommands[0].Type, 212);
    EXPECT_FALSE(Received.GameCommands[0].Read);
    EXPECT_EQ(Received.GameCommands[1].Type, 140);
    EXPECT_EQ(Received.GameCommands[1].Place.X, v::START.X);
    ASSERT_EQ(Received.Errors.size(), 1u);
    EXPECT_EQ(Received.Errors[0].rfind("game: command 140", 0), 0u) << Received.Errors[0];
}

TEST_F(WorldSessionTest, PacedWalkingAndTheTownsfolksClockRunAsARealServer) {
    TWorldOptions Options;
    Options.PaceWalking = true;
    Options.CreatureInterval = 20ms;
    enter({}, Options);
    std::vector<TServerMessage> Moved = next();
    ASSERT_FALSE(Moved.empty());
    EXPECT_EQ(Moved[0].Type, 109) << "the townsfolk step without being asked";

    ASSERT_TRUE(Player->send(TBytes{100, 2, 1, 1}));
    auto Steps = [&] {
        for (;;) {
            std::vector<TServerMessage> Messages = next();
            if (Messages.empty()) return TPosition{};
            for (const TServerMessage& Message : Messages)
                if (Message.Type == 109 && Message.Where.Y == v::START.Y) return Message.To;
        }
    };
    EXPECT_EQ(Steps(), (TPosition{1011, 1010, 7}));
    auto First = std::chrono::steady_clock::now();
    EXPECT_EQ(Steps(), (TPosition{1012, 1010, 7}));
    EXPECT_GE(std::chrono::steady_clock::now() - First, 600ms) << "a step on grass takes 700 ms at speed 220";
}

TEST_F(WorldSessionTest, APingAskedForReachesThePlayerAndItsAnswerIsNoted) {
    enter();
    auto Pending = [&] {
        bool Result = false;
        Server.world(Setup)->inspect(
            [&](const TGameWorld& World) { Result = World.players()[0]->PingPending; });
        return Result;
    };
    Server.world(Setup)->perform([](TGameWorld& World) { Ping(*World.player("ALDRIC")); });
    EXPECT_TRUE(Player->waitFor([](const TServerMessage& Message) { return Message.Type == 30; }));
    EXPECT_TRUE(Pending());
    ASSERT_TRUE(Player->send(TBytes{30}));
    // The look's answer comes after the ping's answer was acted on.
    ASSERT_EQ(TypesOf(ask(Place(140, v::START, 99, 1))), std::vector<uint8_t>{180});
    EXPECT_FALSE(Pending());
    EXPECT_TRUE(Server.received().GameCommands[0].Read);
}

TEST_F(WorldSessionTest, LogoutEndsTheSession) {
    enter();
    ASSERT_TRUE(Player->send(TBytes{20}));
    EXPECT_EQ(Player->connection().readToEnd(), TBytes{});
    EXPECT_TRUE(Server.received().Errors.empty());
}
