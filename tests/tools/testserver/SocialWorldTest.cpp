// The VIP lists of the live world: kept per account, told of the other character's comings and goings, and
// sent again at every login (what the road tests, which log in once, do not see).
#include "tests/tools/testserver/TestClient.h"
#include "tests/tools/testserver/WorldClient.h"
#include "tools/testserver/TestServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace testserver;
using testclient::NameCommand;
using testclient::TBytes;
using testclient::TPlayerClient;
using testclient::TServerMessage;

namespace {

const uint32_t BRENNA = PlayerId("Brenna");

class SocialWorldTest : public testclient::TWorldTest {
protected:
    // Logs the player out and waits until the world has let go of it (its connection closed), so that the
    // next login of the character is not taken for a second one.
    static void logout(TPlayerClient& Player) {
        Player.send({COMMAND_LOGOUT});
        Player.connection().readToEnd();
    }
    static std::optional<TServerMessage> waitFor(TPlayerClient& Player, uint8_t Type, uint32_t Number) {
        return Player.waitFor([&](const TServerMessage& m) { return m.Type == Type && m.Number == Number; });
    }
    static std::optional<TServerMessage> find(const std::vector<TServerMessage>& Messages, uint8_t Type) {
        for (const TServerMessage& m : Messages)
            if (m.Type == Type) return m;
        return std::nullopt;
    }
};

} // namespace

TEST_F(SocialWorldTest, VipListIsKeptPerAccountWithNoticesAndSentAgainAtLogin) {
    auto Aldric = join("Aldric", 0, 1);
    std::optional<TServerMessage> Refusal = find(Aldric->ask(NameCommand(COMMAND_ADD_VIP, "Nobody")), 180);
    ASSERT_TRUE(Refusal);
    EXPECT_EQ(Refusal->Text, "A player with this name does not exist.");

    std::optional<TServerMessage> Added = find(Aldric->ask(NameCommand(COMMAND_ADD_VIP, "bRENNA")), 210);
    ASSERT_TRUE(Added);
    EXPECT_EQ(Added->Number, BRENNA);
    EXPECT_EQ(Added->Name, "Brenna") << "spelled as the account spells it";
    EXPECT_FALSE(Added->Flag);

    auto Brenna = join("Brenna", 0, 2);
    EXPECT_TRUE(waitFor(*Aldric, 211, BRENNA));
    EXPECT_FALSE(find(Brenna->entered(), 210)) << "Brenna's account has no list";
    Brenna.reset();
    EXPECT_TRUE(waitFor(*Aldric, 212, BRENNA));

    logout(*Aldric);
    Aldric = join("Aldric", 0, 1);
    Added = find(Aldric->entered(), 210);
    ASSERT_TRUE(Added) << "the list comes again at login";
    EXPECT_EQ(Added->Number, BRENNA);
    TBytes Remove{COMMAND_REMOVE_VIP};
    testclient::Put32(Remove, BRENNA);
    Aldric->send(Remove);
    logout(*Aldric);
    EXPECT_FALSE(find(join("Aldric", 0, 1)->entered(), 210));
}
