// Tests of the session, player, container, inventory and trade messages through the dispatcher: what they
// leave in the game state, the events and commands they cause and the window calls behind them.
#include "GameFixture.h"

namespace {

// A container message of type 110 with Count things.
TWireWriter OpenContainerMessage(uint8_t Container, int Count) {
    TWireWriter Writer;
    Writer.u8(110)
        .u8(Container)
        .u16(THING)
        .string("bag of holding")
        .u8(20)
        .u8(1)
        .u8(static_cast<uint8_t>(Count));
    for (int i = 0; i < Count; i++)
        Writer.u16(COINS).u8(static_cast<uint8_t>(i));
    return Writer;
}

int32_t ContainerData(int32_t Container, int32_t Position) {
    TObject Obj;
    GetContainerObject(Obj, Container, Position);
    return Obj.Data;
}

} // namespace

TEST_F(GameTest, EnteringTheGameRunsItsStepsInOrder) {
    SetConnectionState(CONNECTIONSTATE_GAMESENT);
    SetRight(3, 0xFF);
    SetActionState(ACTIONSTATE_DIALOG);
    SetAttackMode(2);
    SetChaseMode(1);
    SetSecureMode(true);
    TWireWriter Enter;
    Enter.u8(10).u32(77).u16(50).u8(1);
    feed(Enter);
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_GAME);
    EXPECT_EQ(Client.Calls, std::vector<std::string>{"enterGame"});
    EXPECT_EQ(GetPlayerID(), 77u);
    EXPECT_EQ(GetBeatDuration(), 50);
    EXPECT_FALSE(CheckRight(3, -1)) << "the rights of the last session are gone";
    EXPECT_TRUE(CheckRight(RIGHT_BUGREPORT, -1));
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    EXPECT_EQ(PeekEventHelp(), 1);
    EXPECT_EQ(sent(), (std::vector<std::vector<uint8_t>>{{160, 2, 1, 1}}));
    EXPECT_EQ(types(events()), std::vector<int32_t>{MESSAGE_SENDERRORREPORTS});
}

TEST_F(GameTest, SessionNoticesRightsAndPing) {
    SetRight(RIGHT_BUGREPORT, 1);
    TWireWriter Messages;
    Messages.u8(11);
    for (uint8_t i = 0; i < 32; i++)
        Messages.u8(i == 5 ? 4 : 0);
    Messages.u8(22).string("Too many players.").u8(0);
    Messages.u8(30);
    Messages.u8(21).string("Server saves soon.");
    feed(Messages);
    EXPECT_TRUE(CheckRight(5, 2));
    EXPECT_TRUE(CheckRight(RIGHT_BUGREPORT, -1)) << "rights beyond 31 keep their values";
    std::vector<TEvent> Events = events();
    ASSERT_EQ(types(Events), (std::vector<int32_t>{MESSAGE_WAITINGLIST, MESSAGE_MESSAGEBOX}));
    EXPECT_STREQ(MessagePointer<char>(Events[0].Param1), "Too many players.");
    EXPECT_EQ(Events[0].Param2, 0) << "no seconds to wait still counts down";
    EXPECT_STREQ(MessagePointer<char>(Events[1].Param1), "For Your Information");
    EXPECT_EQ(sent(), (std::vector<std::vector<uint8_t>>{{30}}));

    TWireWriter Refusal;
    Refusal.u8(20).string("You are dead.").u8(163);
    SetAttackTarget(5);
    feed(Refusal);
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    EXPECT_FALSE(IsConnected());
    EXPECT_EQ(GetAttackTarget(), 0u) << "the rest of the frame is read by the table of the new state";

    // The next connection starts afresh.
    TLoopbackPeer Next;
    ASSERT_EQ(CreateSocket(), 0);
    ASSERT_EQ(ConnectToAddress("127.0.0.1", Next.port(), false), 0);
    ASSERT_TRUE(Next.accept());
    TWireWriter Light;
    Light.u8(130).u8(33).u8(0);
    feed(Light);
    EXPECT_EQ(GetAmbientBrightness(), 33);
}

TEST_F(GameTest, PlayerValuesSkillsAndState) {
    TWireWriter Messages;
    Messages.u8(160)
        .u16(150)
        .u16(185)
        .u16(400)
        .u32(0xFFFFFFF0)
        .u16(8)
        .u8(42)
        .u16(30)
        .u16(35)
        .u8(3)
        .u8(77)
        .u8(100);
    Messages.u8(161);
    for (uint8_t Skill = 0; Skill < SKILLS; Skill++)
        Messages.u8(10 + Skill).u8(Skill);
    Messages.u8(162).u8(1);
    feed(Messages);
    EXPECT_EQ((std::vector<int32_t>{GetHitpoints(), GetMaxHitpoints(), GetCapacity(), GetLevel(),
                                    GetLevelPercent(), GetMana(), GetMaxMana(), GetMagicLevel(),
                                    GetMagicLevelPercent(), GetSoulPoints()}),
              (std::vector<int32_t>{150, 185, 400, 8, 42, 30, 35, 3, 77, 100}));
    EXPECT_EQ(GetExperience(), INT32_MAX) << "experience beyond the signed range stays positive";
    EXPECT_EQ(GetSkillLevel(6), 16);
    EXPECT_EQ(GetSkillProgress(6), 6);
    EXPECT_TRUE(IsPoisoned());

    TWireWriter Beyond;
    Beyond.u8(161).u8(10).u8(101);
    EXPECT_TRUE(Contains(failure(Beyond), "In(Progress,0,100)"));
}

TEST_F(GameTest, ContainersOpenChangeAndAskForMore) {
    TWireWriter Open = OpenContainerMessage(3, 2);
    feed(Open);
    TWireWriter Again = OpenContainerMessage(3, 40);
    Again.u8(163);
    SetAttackTarget(5);
    feed(Again);
    EXPECT_EQ(Client.Calls, (std::vector<std::string>{"open3", "open3"}));
    EXPECT_STREQ(GetContainerName(3), "Bag Of Holding");
    EXPECT_EQ(GetContainerObjectCount(3), CONTAINER_OBJECTS) << "the contents were replaced, 36 kept";
    EXPECT_EQ(GetAttackTarget(), 0u) << "all 40 objects were read";
    EXPECT_TRUE(HasParentContainer(3));

    TWireWriter Changes;
    Changes.u8(112).u8(3).u16(FLASK).u8(1).u8(99);
    Changes.u8(113).u8(3).u8(1).u16(PUDDLE).u8(8);
    Changes.u8(112).u8(9).u16(THING); // closed: read and dropped
    Changes.u8(113).u8(9).u8(0).u16(THING);
    Changes.u8(114).u8(9).u8(0);
    feed(Changes);
    EXPECT_EQ(ContainerData(3, 0), 99) << "inserted at slot 0";
    EXPECT_EQ(ContainerData(3, 1), 8);
    EXPECT_EQ(ContainerData(3, 35), 34) << "the last object was pushed out";
    EXPECT_FALSE(IsContainerOpen(9));

    TWireWriter Take;
    Take.u8(114).u8(3).u8(0).u8(114).u8(3).u8(0);
    feed(Take);
    EXPECT_EQ(sent(), (std::vector<std::vector<uint8_t>>{{202, 3}})) << "only the full container asks again";

    TWireWriter Close;
    Close.u8(111).u8(3).u8(111).u8(4);
    feed(Close);
    EXPECT_FALSE(IsContainerOpen(3));
    EXPECT_EQ(Client.Calls.back(), "close4") << "also for a container that was not open";
    TWireWriter Beyond;
    Beyond.u8(111).u8(16);
    EXPECT_TRUE(Contains(failure(Beyond), "In(Container,0,OPEN_CONTAINERS-1)"));
    TWireWriter Creature;
    Creature.u8(120).u8(1).u16(CREATURE);
    EXPECT_TRUE(Contains(failure(Creature), "Type!=CREATURE"));
}

TEST_F(GameTest, BodyPositionsAndTrades) {
    TWireWriter Body;
    Body.u8(120).u8(10).u16(COINS).u8(25).u8(121).u8(10).u8(120).u8(1).u16(THING);
    feed(Body);
    EXPECT_EQ(GetBodyObject(10).Type, 0);
    EXPECT_EQ(GetBodyObject(1).Type, THING);

    TWireWriter Trade;
    Trade.u8(125).string("Alvin").u8(2).u16(THING).u16(COINS).u8(3);
    Trade.u8(126).string("Berta").u8(1).u16(PUDDLE).u8(1);
    Trade.u8(126).string("Carla").u8(2).u16(THING).u16(THING);
    feed(Trade);
    EXPECT_EQ(GetOwnOfferCount(), 2);
    EXPECT_STREQ(GetCounterOffer().Name, "Berta") << "a second counter offer leaves the first";
    EXPECT_EQ(GetCounterOfferCount(), 1);
    EXPECT_EQ(Client.Calls, (std::vector<std::string>{"openTrade", "refreshTrade", "refreshTrade"}));

    TWireWriter Close;
    Close.u8(127);
    feed(Close);
    EXPECT_EQ(GetOwnOfferCount(), 0);
    EXPECT_EQ(Client.Calls.back(), "closeTrade");

    TWireWriter Huge;
    Huge.u8(125).string("Dora").u8(101);
    for (int i = 0; i < 101; i++)
        Huge.u16(THING);
    EXPECT_TRUE(Contains(failure(Huge), "OwnOffer.Count<OBJECTS_PER_OFFER"));
}
