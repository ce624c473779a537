// The request road of the world in what the real client's roads cannot time: a request filed before the
// queue is opened comes with it, one filed twice stays the first, and the gamemaster learns of a cancel.
#include "tests/tools/testserver/TestClient.h"
#include "tests/tools/testserver/WorldClient.h"
#include "tools/testserver/TestServer.h"
#include "tools/testserver/Village.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testserver;
using testclient::NameCommand;
using testclient::Talk;
using testclient::TPlayerClient;
using testclient::TServerMessage;

namespace {

class WorldChatTest : public testclient::TWorldTest {
protected:
    // The next message of Type that Player gets; an empty one (the test failed) when none comes.
    static TServerMessage awaited(TPlayerClient& Player, uint8_t Type) {
        std::optional<TServerMessage> Message =
            Player.waitFor([&](const TServerMessage& m) { return m.Type == Type; });
        EXPECT_TRUE(Message) << "no message " << int(Type);
        return Message.value_or(TServerMessage{});
    }
};

} // namespace

TEST_F(WorldChatTest, AQueueOpensWithTheWaitingRequestsAndACancelAfterTakingUpTellsTheGamemaster) {
    auto Aldric = join("Aldric");
    auto Ysolde = join("Ysolde", 1); // last: no others' arrivals wait in its frames
    Aldric->send(Talk(6, "A bot fishes all day"));
    Aldric->send(Talk(6, "second"));
    Aldric->send({151});
    awaited(*Aldric, 171); // answered once both requests are handled
    const std::vector<TServerMessage> Queue = Ysolde->ask({152, 3, 0});
    ASSERT_EQ(Queue.size(), 2u) << "one request per player: the first";
    EXPECT_EQ(Queue[0].Type, 174);
    EXPECT_EQ(Queue[0].Value, 3);
    EXPECT_EQ(Queue[1].Byte, 6);
    EXPECT_EQ(Queue[1].Name, "Aldric");
    EXPECT_EQ(Queue[1].Text, "A bot fishes all day");

    Ysolde->send(NameCommand(155, "Aldric"));
    EXPECT_EQ(awaited(*Ysolde, 175).Name, "Aldric");
    Aldric->send({157});
    EXPECT_EQ(awaited(*Ysolde, 176).Name, "Aldric");
}
