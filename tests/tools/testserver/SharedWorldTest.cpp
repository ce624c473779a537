// Two characters in one live world, each on a client of its own: what one does the other sees, and two
// sessions acting at once each get everything.
#include "tests/tools/testserver/TestClient.h"
#include "tests/tools/testserver/WorldClient.h"
#include "tools/testserver/TestServer.h"
#include "tools/testserver/Village.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <thread>

using namespace testserver;
using testclient::Talk;
using testclient::TBytes;
using testclient::TPlayerClient;
using testclient::TServerMessage;
using testclient::TypesOf;

namespace {

using namespace std::chrono_literals;

// Where Brenna enters while Aldric stands on the start field: the first free field of the ring around it.
constexpr TPosition BESIDE{village::START.X - 1, village::START.Y - 1, village::START.Z};

class SharedWorldTest : public testclient::TWorldTest {
protected:
    // The messages of the next frame, which must come.
    static std::vector<TServerMessage> next(TPlayerClient& Player) {
        std::vector<TServerMessage> Messages = Player.next();
        EXPECT_FALSE(Messages.empty()) << "no frame";
        return Messages;
    }
};

} // namespace

TEST_F(SharedWorldTest, AnotherPlayerComesStepsTurnsTalksAndLogsOut) {
    auto Aldric = join("Aldric");
    auto Brenna = join("Brenna", 1);
    ASSERT_EQ(Brenna->entered().front().Type, 10);
    EXPECT_EQ(Brenna->entered().front().Number, PlayerId("Brenna"));
    EXPECT_NE(PlayerId("Brenna"), PLAYER_ID);
    EXPECT_EQ(Brenna->entered()[1].Where, BESIDE) << "the start field is taken: the next free one";

    std::vector<TServerMessage> Came = next(*Aldric);
    ASSERT_EQ(TypesOf(Came), (std::vector<uint8_t>{106, 131}));
    EXPECT_EQ(Came[0].Where, BESIDE);
    EXPECT_EQ(Came[0].Objects[0].Word, 97);
    EXPECT_EQ(Came[0].Objects[0].CreatureId, PlayerId("Brenna"));
    EXPECT_EQ(Came[0].Objects[0].Name, "Brenna");

    const TPosition East{BESIDE.X + 1, BESIDE.Y, BESIDE.Z};
    ASSERT_EQ(TypesOf(Brenna->ask({102})), (std::vector<uint8_t>{109, 102}));
    std::vector<TServerMessage> Stepped = next(*Aldric);
    ASSERT_EQ(TypesOf(Stepped), std::vector<uint8_t>{109});
    EXPECT_EQ(Stepped[0].Where, BESIDE);
    EXPECT_EQ(Stepped[0].StackPosition, 1);
    EXPECT_EQ(Stepped[0].To, East);

    ASSERT_EQ(TypesOf(Brenna->ask({113})), std::vector<uint8_t>{107});
    std::vector<TServerMessage> Turned = next(*Aldric);
    ASSERT_EQ(TypesOf(Turned), std::vector<uint8_t>{107});
    EXPECT_EQ(Turned[0].Where, East);
    EXPECT_EQ(Turned[0].Objects[0].Word, 99);
    EXPECT_EQ(Turned[0].Objects[0].Facing, 2);

    std::vector<TServerMessage> Said = Brenna->ask(Talk(1, "Good day"));
    ASSERT_EQ(TypesOf(Said), std::vector<uint8_t>{170});
    std::vector<TServerMessage> Heard = next(*Aldric);
    ASSERT_EQ(TypesOf(Heard), std::vector<uint8_t>{170});
    EXPECT_EQ(Heard[0].Number, Said[0].Number);
    EXPECT_EQ(Heard[0].Name, "Brenna");
    EXPECT_EQ(Heard[0].Byte, 1);
    EXPECT_EQ(Heard[0].Where, East);
    EXPECT_EQ(Heard[0].Text, "Good day");

    ASSERT_TRUE(Brenna->send(Talk(4, "psst", "aLDRIC")));
    std::vector<TServerMessage> Private = next(*Aldric);
    ASSERT_EQ(TypesOf(Private), std::vector<uint8_t>{170});
    EXPECT_EQ(Private[0].Byte, 4);
    EXPECT_EQ(Private[0].Name, "Brenna");
    EXPECT_EQ(Private[0].Text, "psst");

    bool BrennaIsGamemaster = false;
    Server.world(Setup)->inspect([&](const TGameWorld& World) {
        for (const auto& Player : World.players())
            if (Player->Name == "Brenna") BrennaIsGamemaster = Player->Gamemaster;
    });
    EXPECT_TRUE(BrennaIsGamemaster);

    ASSERT_TRUE(Brenna->send({20}));
    EXPECT_EQ(Brenna->connection().readToEnd(), TBytes{});
    std::vector<TServerMessage> Gone = next(*Aldric);
    ASSERT_EQ(TypesOf(Gone), (std::vector<uint8_t>{108, 131}));
    EXPECT_EQ(Gone[0].Where, East);
    EXPECT_EQ(Gone[1].Byte, village::EFFECT_PUFF);

    TReceived Received = Server.received();
    std::vector<uint8_t> Sent;
    for (const TClientCommand& Command : Received.commandsOf("BRENNA")) {
        Sent.push_back(Command.Type);
        EXPECT_EQ(Command.Character, "Brenna");
        EXPECT_TRUE(Command.Read);
    }
    EXPECT_EQ(Sent, (std::vector<uint8_t>{102, 113, 150, 150, 20}));
    EXPECT_TRUE(Received.commandsOf("Aldric").empty());
    EXPECT_TRUE(Received.Errors.empty());
}

TEST_F(SharedWorldTest, ADroppedConnectionTakesThePlayerOutAndASecondLoginIsRefusedMeanwhile) {
    auto Aldric = join("Aldric");
    auto Brenna = join("Brenna");
    ASSERT_EQ(TypesOf(next(*Aldric)), (std::vector<uint8_t>{106, 131}));

    auto Twice = join("bRENNA");
    ASSERT_EQ(TypesOf(Twice->entered()), std::vector<uint8_t>{20});
    EXPECT_EQ(Twice->entered()[0].Text, "You are already logged in.");

    Brenna.reset();
    std::vector<TServerMessage> Gone = next(*Aldric);
    ASSERT_EQ(TypesOf(Gone), (std::vector<uint8_t>{108, 131}));
    EXPECT_EQ(Gone[0].Where, BESIDE);

    auto Again = join("Brenna");
    ASSERT_EQ(Again->entered().back().Type, 180);
    EXPECT_EQ(Again->entered().front().Number, PlayerId("Brenna")) << "the same id for the same character";
    std::vector<TServerMessage> Back = next(*Aldric);
    ASSERT_EQ(TypesOf(Back), (std::vector<uint8_t>{106, 131}));
    EXPECT_EQ(Back[0].Where, BESIDE);
}

TEST_F(SharedWorldTest, TwoSessionsActingAtOnceEachGetAllOfBoth) {
    auto Aldric = join("Aldric");
    auto Brenna = join("Brenna");
    ASSERT_EQ(TypesOf(next(*Aldric)), (std::vector<uint8_t>{106, 131}));

    constexpr int TURNS = 40;
    // Each turns TURNS times while reading until it has seen every turn of both.
    auto Play = [](TPlayerClient& Me, std::map<uint32_t, std::vector<uint8_t>>& Facings) {
        for (int i = 0; i < TURNS; ++i)
            Me.send({static_cast<uint8_t>(COMMAND_TURN_NORTH + i % 4)});
        for (int Seen = 0; Seen < 2 * TURNS;) {
            std::vector<TServerMessage> Messages = Me.next();
            if (Messages.empty()) return;
            for (const TServerMessage& Message : Messages)
                if (Message.Type == 107) {
                    Facings[Message.Objects[0].CreatureId].push_back(Message.Objects[0].Facing);
                    ++Seen;
                }
        }
    };
    std::map<uint32_t, std::vector<uint8_t>> SeenByAldric, SeenByBrenna;
    std::thread First([&] { Play(*Aldric, SeenByAldric); });
    std::thread Second([&] { Play(*Brenna, SeenByBrenna); });
    First.join();
    Second.join();

    std::vector<uint8_t> Expected;
    for (int i = 0; i < TURNS; ++i)
        Expected.push_back(static_cast<uint8_t>(i % 4));
    for (const auto* Seen : {&SeenByAldric, &SeenByBrenna}) {
        EXPECT_EQ(Seen->at(PLAYER_ID), Expected);
        EXPECT_EQ(Seen->at(PlayerId("Brenna")), Expected);
    }
    EXPECT_TRUE(Server.received().Errors.empty());
}
