// The chat roads of the world with several characters at once: channel talk to the members, the own channel
// following invitations, a townsperson's answer, and a request from filing to its end on both sides.
#include "tests/tools/testserver/TestClient.h"
#include "tests/tools/testserver/WorldClient.h"
#include "tools/testserver/TestServer.h"
#include "tools/testserver/Village.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testserver;
using testclient::TBytes;
using testclient::TPlayerClient;
using testclient::TServerMessage;

namespace {

TBytes Command(uint8_t Type, std::string_view Name) {
    TBytes Bytes{Type};
    testclient::PutString(Bytes, Name);
    return Bytes;
}

TBytes Talk(uint8_t Mode, std::string_view Text, std::string_view Addressee = {}, int Channel = -1) {
    TBytes Bytes{150, Mode};
    if (Channel >= 0)
        Bytes.insert(Bytes.end(), {static_cast<uint8_t>(Channel), static_cast<uint8_t>(Channel >> 8)});
    if (!Addressee.empty()) testclient::PutString(Bytes, Addressee);
    testclient::PutString(Bytes, Text);
    return Bytes;
}

class WorldChatTest : public ::testing::Test {
protected:
    WorldChatTest() { Server.setPlan(TRole::Game, WorldPlan(Setup)); }

    std::unique_ptr<TPlayerClient> join(std::string_view Name, uint8_t Gamemaster = 0) {
        return std::make_unique<TPlayerClient>(Server.gamePort(), Setup->Village.types(), Name, Gamemaster);
    }
    // The next message of Type that Player gets; an empty one (the test failed) when none comes.
    static TServerMessage awaited(TPlayerClient& Player, uint8_t Type) {
        std::optional<TServerMessage> Message =
            Player.waitFor([&](const TServerMessage& m) { return m.Type == Type; });
        EXPECT_TRUE(Message) << "no message " << int(Type);
        return Message.value_or(TServerMessage{});
    }

    std::shared_ptr<const TWorldSetup> Setup = LoadWorld(DefaultDatFile());
    TTestServer Server;
};

} // namespace

TEST_F(WorldChatTest, ChannelTalkReachesTheMembersAndTheOwnChannelFollowsInvitations) {
    auto Aldric = join("Aldric");
    auto Brenna = join("Brenna");
    Aldric->send({152, 2, 0});
    Brenna->send({152, 2, 0});
    EXPECT_EQ(awaited(*Brenna, 172).Name, "Trade");
    Aldric->send(Talk(5, "selling a sword", {}, 2));
    EXPECT_EQ(awaited(*Brenna, 170).Text, "selling a sword");

    Aldric->send({170});
    const TServerMessage Own = awaited(*Aldric, 178);
    EXPECT_EQ(Own.Value, 100);
    EXPECT_EQ(Own.Name, "Aldric's Channel");
    Brenna->send({152, 100, 0});
    EXPECT_EQ(awaited(*Brenna, 180).Text, "You are not invited to this channel.");
    Aldric->send(Command(171, "brenna"));
    EXPECT_EQ(awaited(*Brenna, 180).Text, "Aldric invites you to Aldric's Channel.");
    Brenna->send({151});
    const TServerMessage List = awaited(*Brenna, 171);
    EXPECT_NE(std::find(List.Channels.begin(), List.Channels.end(),
                        std::pair<uint16_t, std::string>{100, "Aldric's Channel"}),
              List.Channels.end());
    Brenna->send({152, 100, 0});
    EXPECT_EQ(awaited(*Brenna, 172).Value, 100);
    Brenna->send(Talk(5, "hello", {}, 100));
    EXPECT_EQ(awaited(*Aldric, 170).Name, "Brenna");

    Aldric->send(Command(172, "Brenna"));
    EXPECT_EQ(awaited(*Brenna, 179).Value, 100);
    Brenna->send(Talk(5, "still here?", {}, 100));
    Aldric->send(Talk(5, "alone", {}, 100));
    EXPECT_EQ(awaited(*Aldric, 170).Text, "alone") << "an excluded player no longer talks in the channel";
}

TEST_F(WorldChatTest, ATownspersonAnswersAndAConversationOpensOnlyWithSomeoneThere) {
    auto Aldric = join("Aldric");
    Aldric->send(Command(154, "gregor"));
    EXPECT_EQ(awaited(*Aldric, 173).Name, "Gregor");
    Aldric->send(Talk(4, "Hello", "Gregor"));
    const TServerMessage Answer = awaited(*Aldric, 170);
    EXPECT_EQ(Answer.Name, "Gregor");
    EXPECT_EQ(Answer.Byte, 4);
    Aldric->send(Command(154, "Nobody"));
    EXPECT_EQ(awaited(*Aldric, 180).Text, "A player with this name is not online.");
}

TEST_F(WorldChatTest, ARequestWaitsInTheQueueIsTakenUpAnsweredAndClosedOrCancelled) {
    auto Aldric = join("Aldric");
    auto Brenna = join("Brenna");
    auto Ysolde = join("Ysolde", 1); // last: no others' arrivals wait in its frames
    Brenna->send(Talk(6, "Someone blocks the door"));
    Brenna->send({151});
    awaited(*Brenna, 171); // answered once the request is filed
    const std::vector<std::pair<uint16_t, std::string>> Channels = Ysolde->ask({151}).at(0).Channels;
    EXPECT_NE(
        std::find(Channels.begin(), Channels.end(), std::pair<uint16_t, std::string>{3, "Rule Violations"}),
        Channels.end());
    const std::vector<TServerMessage> Queue = Ysolde->ask({152, 3, 0});
    ASSERT_EQ(Queue.size(), 2u);
    EXPECT_EQ(Queue[0].Type, 174);
    EXPECT_EQ(Queue[0].Value, 3);
    EXPECT_EQ(Queue[1].Byte, 6);
    EXPECT_EQ(Queue[1].Name, "Brenna");
    EXPECT_EQ(Queue[1].Text, "Someone blocks the door");
    Brenna->send({157});
    EXPECT_EQ(awaited(*Ysolde, 175).Name, "Brenna") << "cancelled while it waited";

    Aldric->send(Talk(6, "A bot fishes all day"));
    Aldric->send(Talk(6, "second"));
    EXPECT_EQ(awaited(*Ysolde, 170).Text, "A bot fishes all day");
    Ysolde->send(Command(155, "Aldric"));
    EXPECT_EQ(awaited(*Ysolde, 175).Name, "Aldric");
    Ysolde->send(Talk(7, "Where?", "Aldric"));
    const TServerMessage Question = awaited(*Aldric, 170);
    EXPECT_EQ(Question.Byte, 7);
    EXPECT_EQ(Question.Name, "Ysolde");
    Aldric->send(Talk(8, "By the pond"));
    const TServerMessage Reply = awaited(*Ysolde, 170);
    EXPECT_EQ(Reply.Byte, 8);
    EXPECT_EQ(Reply.Text, "By the pond") << "the second request was not filed";
    Ysolde->send(Command(156, "Aldric"));
    awaited(*Aldric, 177);
    Aldric->send(Talk(6, "again"));
    EXPECT_EQ(awaited(*Ysolde, 170).Text, "again");
    Ysolde->send(Command(155, "Aldric"));
    awaited(*Ysolde, 175);
    Aldric->send({157});
    EXPECT_EQ(awaited(*Ysolde, 176).Name, "Aldric") << "cancelled while taken up";
}
