// What the village answers that a player sees at once, played on the world directly, command by command and
// tick by tick, without sessions.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/Village.h"
#include "tools/testserver/WorldThings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

using namespace testserver;
using namespace testserver::village;

namespace {

constexpr int LEFT_HAND = HAND_POSITIONS[0], RIGHT_HAND = HAND_POSITIONS[1];

constexpr TPlace InBody(int Position) { return {0xFFFF, static_cast<uint16_t>(Position), 0}; }

TClientCommand Command(uint8_t Type, uint32_t Creature = 0) {
    TClientCommand Made;
    Made.Type = Type;
    Made.Known = true;
    Made.CreatureId = Creature;
    return Made;
}

TClientCommand Unsecured() {
    TClientCommand Modes = Command(COMMAND_FIGHT_MODES);
    Modes.SecureMode = 0;
    return Modes;
}

// Message 163, which ends the client's attack target and with it its follow target.
bool ClearsTarget(const TOutbox& Outbox) {
    return std::ranges::any_of(Outbox, [](const std::vector<TMessage>& Batch) {
        return std::ranges::any_of(Batch, [](const TMessage& Sent) { return Sent.at(0) == 163; });
    });
}

TClientCommand Offer(TPlace Place, uint16_t Type, uint32_t Partner) {
    TClientCommand Made = Command(COMMAND_TRADE, Partner);
    Made.Place = Place;
    Made.ObjectType = Type;
    return Made;
}

class VillageAnswersTest : public ::testing::Test {
protected:
    VillageAnswersTest() : World(LoadWorld(DefaultDatFile(), {.Start = TPosition{1003, 1009, 7}}), nullptr) {}

    std::shared_ptr<TPlayer> enter(const std::string& Name) {
        std::shared_ptr<TPlayer> Player = World.enter({Name, 1, false}, TGameWorld::TClock::now());
        EXPECT_TRUE(Player) << Name;
        return Player;
    }
    TOutbox act(TPlayer& Player, const TClientCommand& Command) {
        return World.act(Player, Command, TGameWorld::TClock::now());
    }
    void trade(TPlayer& First, TClientCommand FirstOffer, TPlayer& Second, TClientCommand SecondOffer) {
        act(First, FirstOffer);
        act(Second, SecondOffer);
        act(First, Command(COMMAND_ACCEPT_TRADE));
        act(Second, Command(COMMAND_ACCEPT_TRADE));
    }
    TPosition position(const TPlayer& Player) {
        TPosition Where{};
        World.perform([&](TGameWorld& Live) { Where = Live.creature(Player).Position; });
        return Where;
    }

    TGameWorld World;
    const std::shared_ptr<TPlayer> Aldric = enter("Aldric"), Brenna = enter("Brenna");
};

int Distance(TPosition a, TPosition b) { return std::max(std::abs(a.X - b.X), std::abs(a.Y - b.Y)); }

} // namespace

TEST_F(VillageAnswersTest, APlayerAtItsLastHitPointShowsOnePercent) {
    World.perform([&](TGameWorld&) { Brenna->Values.Hitpoints = 2; });
    act(*Aldric, Unsecured());
    act(*Aldric, Command(COMMAND_ATTACK, Brenna->Id));
    World.perform([&](TGameWorld& Live) {
        EXPECT_EQ(Brenna->Values.Hitpoints, 1);
        EXPECT_EQ(Live.creature(*Brenna).Health, 1) << "1 of 150 hit points";
    });
}

// Container first, then a hand, then the player's field; never the head or another body position.
TEST_F(VillageAnswersTest, TradedThingsLandInAContainerThenInAHandThenOnTheField) {
    int AldricsBackpack = -1;
    World.perform([&](TGameWorld& Live) {
        Live.body(*Brenna)[BACKPACK_POSITION] = {};
        AldricsBackpack = Live.body(*Aldric)[BACKPACK_POSITION].Contents;
    });
    trade(*Aldric, Offer(InBody(RIGHT_HAND), SWORD, Brenna->Id), *Brenna,
          Offer(InBody(RIGHT_HAND), SWORD, Aldric->Id));
    World.perform([&](TGameWorld& Live) {
        const TBody& Hers = Live.body(*Brenna);
        EXPECT_EQ(Hers[LEFT_HAND].Type, SWORD) << "no container: a hand";
        EXPECT_EQ(Hers[1].Type, 0) << "not the head";
        EXPECT_EQ(Live.world().container(AldricsBackpack).Items.front().Type, SWORD) << "the backpack first";
        EXPECT_EQ(Live.body(*Aldric)[RIGHT_HAND].Type, 0);
        Live.body(*Brenna)[RIGHT_HAND] = {ROPE, 0, 0, -1};
        Live.body(*Brenna)[1] = {KEY, 0, 0, -1};
    });

    trade(*Aldric, Offer(InBody(BACKPACK_POSITION), BACKPACK, Brenna->Id), *Brenna,
          Offer(InBody(1), KEY, Aldric->Id));
    const TPosition Hers = position(*Brenna);
    World.perform([&](TGameWorld& Live) {
        EXPECT_EQ(Live.world().field(Hers)->stack().back().Type, BACKPACK) << "both hands full: her field";
        EXPECT_EQ(Live.body(*Aldric)[LEFT_HAND].Type, KEY) << "his backpack went with the trade";
    });
}

TEST_F(VillageAnswersTest, TheChairRotatesThroughItsFourFacings) {
    TClientCommand Rotate = Command(COMMAND_ROTATE);
    Rotate.Place = {CHAIR_FIELD.X, CHAIR_FIELD.Y, static_cast<uint8_t>(CHAIR_FIELD.Z)};
    for (int Turn = 1; Turn <= 4; ++Turn) {
        uint16_t Before = 0;
        World.perform([&](TGameWorld& Live) {
            const std::vector<TThing>& Stack = Live.world().field(CHAIR_FIELD)->stack();
            Rotate.StackPosition = static_cast<uint8_t>(Stack.size() - 1);
            Before = Rotate.ObjectType = Stack.back().Type;
        });
        act(*Aldric, Rotate);
        World.perform([&](TGameWorld& Live) {
            const uint16_t After = Live.world().field(CHAIR_FIELD)->stack().back().Type;
            EXPECT_EQ(After, CHAIR_FACINGS[Turn % 4]) << "turn " << Turn;
            EXPECT_NE(After, Before);
        });
    }
}

// The client takes a creature as its follow target before it asks (which drops its attack target), and
// drops both at message 163: the server's follow must end exactly where the client's does.
TEST_F(VillageAnswersTest, AFollowerStepsAfterItsTargetUntilBesideItAndStopsWhenItIsGone) {
    act(*Aldric, Unsecured());
    act(*Aldric, Command(COMMAND_ATTACK, Brenna->Id));
    EXPECT_FALSE(ClearsTarget(act(*Aldric, Command(COMMAND_FOLLOW, Brenna->Id))))
        << "from attacking to following";
    World.perform([&](TGameWorld&) {
        EXPECT_EQ(Aldric->AttackTarget, 0u);
        EXPECT_EQ(Aldric->FollowTarget, Brenna->Id);
    });
    TClientCommand East = Command(COMMAND_WALK);
    East.Steps = {1, 1, 1, 1, 1, 1};
    act(*Brenna, East);
    const TPosition Start = position(*Aldric);
    ASSERT_GE(Distance(Start, position(*Brenna)), 5);
    for (int Tick = 0; Tick < 20; ++Tick)
        EXPECT_FALSE(ClearsTarget(World.tick(*Aldric, TGameWorld::TClock::now())));
    EXPECT_EQ(Distance(position(*Aldric), position(*Brenna)), 1);
    EXPECT_GE(Distance(Start, position(*Aldric)), 4);

    World.leave(*Brenna);
    EXPECT_TRUE(ClearsTarget(World.tick(*Aldric, TGameWorld::TClock::now()))) << "a follow the server ends";
    World.perform([&](TGameWorld&) { EXPECT_EQ(Aldric->FollowTarget, 0u); });
    EXPECT_TRUE(ClearsTarget(act(*Aldric, Command(COMMAND_FOLLOW, Brenna->Id))))
        << "a follow the server refuses";
}
