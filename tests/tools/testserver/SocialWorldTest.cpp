// The social roads of the live world: VIP lists with their notices, parties and shields, fighting Tobin and
// another player, the outfit dialog, signs, books and the house's list, and the light of the time of day.
#include "tests/tools/testserver/TestClient.h"
#include "tests/tools/testserver/WorldClient.h"
#include "tools/testserver/SocialMessages.h"
#include "tools/testserver/TestServer.h"
#include "tools/testserver/Village.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

using namespace testserver;
using testclient::TBytes;
using testclient::TPlayerClient;
using testclient::TServerMessage;

namespace {

const uint32_t ALDRIC = PlayerId("Aldric"), BRENNA = PlayerId("Brenna");

TBytes WithId(uint8_t Command, uint32_t Id) {
    TBytes Bytes{Command};
    testclient::Put32(Bytes, Id);
    return Bytes;
}

TBytes WithName(uint8_t Command, std::string_view Name) {
    TBytes Bytes{Command};
    testclient::PutString(Bytes, Name);
    return Bytes;
}

class SocialWorldTest : public ::testing::Test {
protected:
    void play(TWorldOptions Options) {
        Setup = LoadWorld(DefaultDatFile(), Options);
        Server.setPlan(TRole::Game, WorldPlan(Setup));
    }
    std::unique_ptr<TPlayerClient> join(std::string_view Name, uint32_t Account) {
        if (!Setup) play({});
        auto Player =
            std::make_unique<TPlayerClient>(Server.gamePort(), Setup->Village.types(), Name, 0, Account);
        EXPECT_FALSE(Player->entered().empty()) << Name << " entered nothing";
        return Player;
    }
    static std::optional<TServerMessage> waitFor(TPlayerClient& Player, uint8_t Type, uint32_t Number) {
        return Player.waitFor([&](const TServerMessage& m) { return m.Type == Type && m.Number == Number; });
    }
    // Sends Command and reads until the answer of Type comes.
    static std::optional<TServerMessage> answer(TPlayerClient& Player, const TBytes& Command, uint8_t Type) {
        Player.send(Command);
        return Player.waitFor([&](const TServerMessage& m) { return m.Type == Type; });
    }
    // Reads until the client shows every shield of Wanted (creature, shield), whatever came between.
    bool showsShields(TPlayerClient& Player, const std::map<uint32_t, uint8_t>& Wanted) {
        std::map<uint32_t, uint8_t>& Shown = Shields[&Player];
        auto Holds = [&] {
            return std::ranges::all_of(Wanted, [&](const auto& w) { return Shown[w.first] == w.second; });
        };
        return Holds() || Player
                              .waitFor([&](const TServerMessage& m) {
                                  if (m.Type == 145) Shown[m.Number] = m.Byte;
                                  return Holds();
                              })
                              .has_value();
    }
    static std::optional<TServerMessage> find(const std::vector<TServerMessage>& Messages, uint8_t Type) {
        for (const TServerMessage& m : Messages)
            if (m.Type == Type) return m;
        return std::nullopt;
    }

    std::shared_ptr<const TWorldSetup> Setup;
    TTestServer Server;
    std::map<const TPlayerClient*, std::map<uint32_t, uint8_t>> Shields; // as each client was shown them
};

} // namespace

TEST_F(SocialWorldTest, VipListIsKeptPerAccountWithNoticesAndSentAgainAtLogin) {
    auto Aldric = join("Aldric", 1);
    std::optional<TServerMessage> Refusal = find(Aldric->ask(WithName(COMMAND_ADD_VIP, "Nobody")), 180);
    ASSERT_TRUE(Refusal);
    EXPECT_EQ(Refusal->Text, "A player with this name does not exist.");

    std::optional<TServerMessage> Added = find(Aldric->ask(WithName(COMMAND_ADD_VIP, "bRENNA")), 210);
    ASSERT_TRUE(Added);
    EXPECT_EQ(Added->Number, BRENNA);
    EXPECT_EQ(Added->Name, "Brenna") << "spelled as the account spells it";
    EXPECT_FALSE(Added->Flag);

    auto Brenna = join("Brenna", 2);
    EXPECT_TRUE(waitFor(*Aldric, 211, BRENNA));
    EXPECT_FALSE(find(Brenna->entered(), 210)) << "Brenna's account has no list";
    Brenna.reset();
    EXPECT_TRUE(waitFor(*Aldric, 212, BRENNA));

    Aldric->send({COMMAND_LOGOUT});
    Aldric = join("Aldric", 1);
    Added = find(Aldric->entered(), 210);
    ASSERT_TRUE(Added) << "the list comes again at login";
    EXPECT_EQ(Added->Number, BRENNA);
    Aldric->send(WithId(COMMAND_REMOVE_VIP, BRENNA));
    Aldric->send({COMMAND_LOGOUT});
    EXPECT_FALSE(find(join("Aldric", 1)->entered(), 210));
}

TEST_F(SocialWorldTest, PartyShieldsFollowInviteJoinPassAndLeave) {
    auto Aldric = join("Aldric", 1);
    auto Brenna = join("Brenna", 2);
    Aldric->send(WithId(COMMAND_INVITE_TO_PARTY, BRENNA));
    EXPECT_TRUE(showsShields(*Aldric, {{ALDRIC, SHIELD_INVITING}, {BRENNA, SHIELD_INVITED}}));
    EXPECT_TRUE(showsShields(*Brenna, {{ALDRIC, SHIELD_INVITING}, {BRENNA, SHIELD_INVITED}}));

    Brenna->send(WithId(COMMAND_JOIN_PARTY, ALDRIC));
    EXPECT_TRUE(showsShields(*Aldric, {{ALDRIC, SHIELD_LEADER}, {BRENNA, SHIELD_MEMBER}}));
    EXPECT_TRUE(showsShields(*Brenna, {{ALDRIC, SHIELD_LEADER}, {BRENNA, SHIELD_MEMBER}}));
    Aldric->send(WithId(COMMAND_PASS_LEADERSHIP, BRENNA));
    EXPECT_TRUE(showsShields(*Aldric, {{ALDRIC, SHIELD_MEMBER}, {BRENNA, SHIELD_LEADER}}));

    Aldric->send({COMMAND_LEAVE_PARTY});
    EXPECT_TRUE(showsShields(*Brenna, {{ALDRIC, SHIELD_NONE}, {BRENNA, SHIELD_NONE}}))
        << "a party of one is no party";
}

TEST_F(SocialWorldTest, FightingTobinWoundsBothAndHisDefeatRewards) {
    TWorldOptions OneRoundPerAttack;
    OneRoundPerAttack.FightInterval = std::chrono::milliseconds(0);
    play(OneRoundPerAttack);
    auto Aldric = join("Aldric", 1);
    std::vector<TServerMessage> Round = Aldric->ask(WithId(COMMAND_ATTACK, village::TOBIN));
    std::optional<TServerMessage> Health = find(Round, 140);
    ASSERT_TRUE(Health);
    EXPECT_EQ(Health->Number, village::TOBIN);
    EXPECT_EQ(Health->Byte, 80);
    ASSERT_TRUE(find(Round, 134)) << "the attacker's mark on Tobin";
    std::optional<TServerMessage> Values = find(Round, 160);
    ASSERT_TRUE(Values);
    EXPECT_EQ(Values->Values[0], TPlayerValues{}.Hitpoints - village::TOBIN_STRIKES);

    for (int i = 0; i < 4; ++i)
        Round = Aldric->ask(WithId(COMMAND_ATTACK, village::TOBIN));
    std::optional<TServerMessage> Defeat = find(Round, 180);
    ASSERT_TRUE(Defeat);
    EXPECT_EQ(Defeat->Text, "You have defeated Tobin.");
    bool Rewarded = false;
    for (const TServerMessage& m : Round)
        Rewarded |= m.Type == 160 && m.Values[3] == TPlayerValues{}.Experience + 150;
    EXPECT_TRUE(Rewarded);
    ASSERT_TRUE(find(Round, 163)) << "the target is cleared";
}

TEST_F(SocialWorldTest, SecureModeRefusesAnUnmarkedPlayerAndAnAttackBringsAWhiteSkull) {
    auto Aldric = join("Aldric", 1);
    auto Brenna = join("Brenna", 2);
    std::optional<TServerMessage> Refusal = answer(*Aldric, WithId(COMMAND_ATTACK, BRENNA), 180);
    ASSERT_TRUE(Refusal);
    EXPECT_EQ(Refusal->Text, "Turn secure mode off if you really want to attack unmarked players.");

    Aldric->send({COMMAND_FIGHT_MODES, 1, 0, 0});
    Aldric->send(WithId(COMMAND_ATTACK, BRENNA));
    EXPECT_EQ(waitFor(*Brenna, 144, ALDRIC).value_or(TServerMessage{}).Byte, SKULL_WHITE);
    EXPECT_TRUE(Brenna->waitFor([](const TServerMessage& m) { return m.Type == 160; })) << "Brenna is hit";
    Aldric->send({COMMAND_CANCEL});
}

TEST_F(SocialWorldTest, OutfitDialogOffersTheRangeAndAChosenLookIsShownToOthers) {
    auto Aldric = join("Aldric", 1);
    auto Brenna = join("Brenna", 2);
    std::optional<TServerMessage> Dialog = answer(*Aldric, {COMMAND_GET_OUTFIT}, 200);
    ASSERT_TRUE(Dialog);
    EXPECT_EQ(Dialog->Values, (std::vector<uint16_t>{village::OUTFIT_KNIGHT, 96, 87, 114, 76,
                                                     village::OUTFIT_CITIZEN, village::OUTFIT_MAGE}));
    Aldric->send({COMMAND_SET_OUTFIT, 9, 0, 1, 2, 3, 4}); // beyond the range: refused
    Aldric->send({COMMAND_SET_OUTFIT, village::OUTFIT_MAGE, 0, 1, 2, 3, 132});
    auto Shown = waitFor(*Brenna, 142, ALDRIC);
    ASSERT_TRUE(Shown);
    EXPECT_EQ(Shown->Values, (std::vector<uint16_t>{village::OUTFIT_MAGE, 1, 2, 3, 132}));
}

TEST_F(SocialWorldTest, SignsShowTheirTextTheBookKeepsWhatIsWrittenAndTheHouseListIsEdited) {
    auto Aldric = join("Aldric", 1);
    std::optional<TServerMessage> Sign =
        find(Aldric->ask(testclient::UseCommand(village::SIGN_FIELD, village::SIGN, 1)), 150);
    ASSERT_TRUE(Sign);
    EXPECT_EQ(Sign->Text, "Welcome to Ebrun.\nMind the pond.");
    EXPECT_EQ(Sign->Value, village::SIGN);

    std::optional<TServerMessage> Book =
        find(Aldric->ask(testclient::UseCommand(village::BOOK_FIELD, village::BOOK, 1)), 150);
    ASSERT_TRUE(Book);
    EXPECT_EQ(Book->Text, "");
    TBytes Write = WithId(COMMAND_EDIT_TEXT, Book->Number);
    testclient::PutString(Write, "Dear diary");
    Aldric->send(Write);
    Aldric->send(Write); // the dialog is closed: no second answer is taken
    Book = find(Aldric->ask(testclient::UseCommand(village::BOOK_FIELD, village::BOOK, 1)), 150);
    ASSERT_TRUE(Book);
    EXPECT_EQ(Book->Text, "Dear diary");
    EXPECT_EQ(Book->Name, "Aldric");

    std::optional<TServerMessage> List =
        find(Aldric->ask(testclient::UseCommand(village::HOUSE_SIGN_FIELD, village::SIGN, 1)), 151);
    ASSERT_TRUE(List);
    EXPECT_EQ(List->Byte, village::GUEST_LIST);
    EXPECT_EQ(List->Text, "Aldric\nBrenna");
    TBytes Edit{COMMAND_EDIT_LIST, village::GUEST_LIST};
    testclient::Put32(Edit, List->Number);
    testclient::PutString(Edit, "Cedric");
    Aldric->send(Edit);
    List = find(Aldric->ask(testclient::UseCommand(village::HOUSE_SIGN_FIELD, village::SIGN, 1)), 151);
    ASSERT_TRUE(List);
    EXPECT_EQ(List->Text, "Cedric");
}

TEST_F(SocialWorldTest, TheLightFollowsTheTimeOfDay) {
    TWorldOptions Night;
    Night.DayStart = std::chrono::hours(23);
    play(Night);
    std::optional<TServerMessage> Light = find(join("Aldric", 1)->entered(), 130);
    ASSERT_TRUE(Light);
    EXPECT_EQ(Light->Byte, 40) << "night";
    EXPECT_EQ(Light->Value, 173);
}
