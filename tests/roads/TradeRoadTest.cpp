// The road of trade on two real clients, Aldric's and Brenna's, sharing their starts in this order: an
// offer, the counter offer, looking at an offered object, accepting, a repeated offer that asks for
// acceptance again, the exchange, a second trade rejected; and the rune used on the other player.
#include "tests/roads/ObjectRoad.h"

#include "gui/SkinProperties.h"
#include "screen/MainWindow.h"
#include "state/Talk.h"
#include "tools/testserver/WorldThings.h"

#include <gtest/gtest.h>

using namespace testserver;
using namespace testserver::village;

namespace {

constexpr int32_t LEFT_HAND = 5, RIGHT_HAND = 6, HEAD = 1;

class TradeRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Road = new TObjectRoad(START);
        Aldric = &Road->road().start(NoStretching());
        Brenna = &Road->road().start(NoStretching());
        Road->road().login(*Aldric, "Aldric");
        Road->road().login(*Brenna, "Brenna");
    }
    static void TearDownTestSuite() { delete Road; }
    void SetUp() override {
        ASSERT_TRUE(Aldric->InGame);
        ASSERT_TRUE(Brenna->InGame);
    }

    static TMainWindow& screen(const TClient& Client) {
        return Road->screen(Client, &Client == Aldric ? AldricSees : BrennaSees);
    }
    // Chooses "Trade with ..." on a body slot and releases the trade cursor over the partner on the map.
    static void offer(TClient& Trader, const std::string& Name, int32_t Position,
                      const std::string& Partner) {
        Trader.rightClick(BodySlotCentre(screen(Trader), Position));
        ASSERT_TRUE(Road->choose(Trader, "Trade with ..."));
        Trader.click(FieldCentreOf(screen(Trader), Road->positionOf(Name), Road->positionOf(Partner)));
    }
    static size_t sent() { return Road->road().commandCount(); }
    static TClientCommand command(size_t Index) { return Road->road().command(Index); }
    static TPattern header(const std::string& Name) {
        return Text(Name, SkinProperties.TradeWindow.HeaderFormat);
    }

    static inline TObjectRoad* Road = nullptr;
    static inline TClient* Aldric = nullptr;
    static inline TClient* Brenna = nullptr;
    static inline TClientModel AldricSees, BrennaSees;
};

} // namespace

TEST_F(TradeRoad, TradeWithOnTheSwordOffersItToTheOtherPlayer) {
    const size_t Sent = sent();
    offer(*Aldric, "Aldric", RIGHT_HAND, "Brenna");
    const TClientCommand Trade = command(Sent);
    EXPECT_EQ(Trade.Type, COMMAND_TRADE);
    EXPECT_EQ(Trade.Character, "Aldric");
    EXPECT_EQ(Trade.Place, (TPlace{0xFFFF, RIGHT_HAND, 0}));
    EXPECT_EQ(Trade.ObjectType, SWORD);
    EXPECT_EQ(Trade.CreatureId, PlayerId("Brenna"));
    AldricSees = {{}, true, 1, 0};
    const TMainWindow& Screen = screen(*Aldric);
    EXPECT_TRUE(Aldric->waitUntilShown(header("Aldric"), RectOf(Screen.DialogWindow)));
    EXPECT_TRUE(Brenna->waitUntilShown(ConsoleLine("Aldric wants to trade with you.", ::TALK_EVENT_STATUS),
                                       RectOf(screen(*Brenna).Console)));
}

TEST_F(TradeRoad, TheCounterOfferShowsBothOffersWithAcceptOnBothSides) {
    const size_t Sent = sent();
    offer(*Brenna, "Brenna", BACKPACK_POSITION, "Aldric");
    const TClientCommand Trade = command(Sent);
    EXPECT_EQ(Trade.Character, "Brenna");
    EXPECT_EQ(Trade.ObjectType, BACKPACK);
    EXPECT_EQ(Trade.CreatureId, PLAYER_ID);
    AldricSees.CounterCount = 3; // the backpack, its gold and its rope
    BrennaSees = {{}, true, 3, 1};
    for (TClient* Client : {Aldric, Brenna})
        EXPECT_TRUE(Client->waitUntilShown(ButtonCaption("Accept"), RectOf(screen(*Client).DialogWindow)));
    EXPECT_TRUE(Aldric->waitUntilShown(header("Brenna"), RectOf(screen(*Aldric).DialogWindow)));
}

TEST_F(TradeRoad, ClickingAnOfferedObjectLooksAtIt) {
    TMainWindow& Screen = screen(*Aldric);
    const size_t Sent = sent();
    Aldric->click(OfferArea(Screen, 1, 1).centre());
    const TClientCommand Look = command(Sent);
    EXPECT_EQ(Look.Type, COMMAND_LOOK_TRADE);
    EXPECT_EQ(Look.Side, 1);
    EXPECT_EQ(Look.StackPosition, 1);
    EXPECT_TRUE(Aldric->waitUntilShown(ConsoleLine("You see 10 gold coins.", ::TALK_EVENT_STATUS),
                                       RectOf(Screen.Console)));
}

TEST_F(TradeRoad, AnOfferRepeatedAfterAnAcceptAsksForAcceptanceAgain) {
    const TRect Column = RectOf(screen(*Aldric).DialogWindow);
    const std::optional<TRect> Accept = Aldric->find(ButtonCaption("Accept"), Column);
    ASSERT_TRUE(Accept);
    const size_t Sent = sent();
    Aldric->click(Accept->centre());
    EXPECT_EQ(command(Sent).Type, COMMAND_ACCEPT_TRADE);
    EXPECT_TRUE(Aldric->waitUntilGone(ButtonCaption("Accept"), Column));

    offer(*Brenna, "Brenna", BACKPACK_POSITION, "Aldric");
    EXPECT_EQ(command(Sent + 1).Type, COMMAND_TRADE);
    EXPECT_TRUE(Aldric->waitUntilShown(ButtonCaption("Accept"), Column)) << "the second counter offer";
    EXPECT_TRUE(Road->waitForWorld("neither side accepted", [](TGameWorld& World) {
        return !World.player("Aldric")->Trade.Accepted && !World.player("Brenna")->Trade.Accepted;
    }));
}

TEST_F(TradeRoad, AcceptedOnBothSidesTheThingsChangeHands) {
    const size_t Sent = sent();
    for (TClient* Client : {Aldric, Brenna}) {
        const TRect Column = RectOf(screen(*Client).DialogWindow);
        const std::optional<TRect> Accept = Client->waitUntilShown(ButtonCaption("Accept"), Column);
        ASSERT_TRUE(Accept);
        Client->click(Accept->centre());
    }
    EXPECT_EQ(command(Sent).Type, COMMAND_ACCEPT_TRADE);
    EXPECT_EQ(command(Sent + 1).Type, COMMAND_ACCEPT_TRADE);
    EXPECT_TRUE(Road->waitForWorld("the things exchanged", [](TGameWorld& World) {
        const TBody& Aldrics = World.body(*World.player("Aldric"));
        const TBody& Brennas = World.body(*World.player("Brenna"));
        return Aldrics[RIGHT_HAND].Type == 0 && Brennas[BACKPACK_POSITION].Type == 0 &&
               Brennas[LEFT_HAND].Type == SWORD && Brennas[HEAD].Type == 0;
    }));
    AldricSees.Trading = BrennaSees.Trading = false;
    EXPECT_TRUE(Brenna->waitUntilShown(ObjectPicture(SWORD, 0), BodySlotArea(screen(*Brenna), LEFT_HAND)));
    for (TClient* Client : {Aldric, Brenna})
        EXPECT_TRUE(Client->waitUntilGone(ButtonCaption("Reject"), RectOf(screen(*Client).DialogWindow)));
}

TEST_F(TradeRoad, ASecondTradeRejectedEndsOnBothSides) {
    offer(*Aldric, "Aldric", BACKPACK_POSITION, "Brenna");
    offer(*Brenna, "Brenna", LEFT_HAND, "Aldric");
    const TRect Column = RectOf(screen(*Brenna).DialogWindow);
    const std::optional<TRect> Reject = Brenna->waitUntilShown(ButtonCaption("Reject"), Column);
    ASSERT_TRUE(Reject);
    const size_t Sent = sent();
    Brenna->click(Reject->centre());
    EXPECT_EQ(command(Sent).Type, COMMAND_CLOSE_TRADE);
    EXPECT_EQ(command(Sent).Character, "Brenna");
    EXPECT_TRUE(Brenna->waitUntilGone(ButtonCaption("Reject"), Column));
    EXPECT_TRUE(Aldric->waitUntilShown(ConsoleLine("Trade cancelled.", ::TALK_EVENT_STATUS),
                                       RectOf(screen(*Aldric).Console)));
    EXPECT_TRUE(Aldric->waitUntilGone(ButtonCaption("Reject"), RectOf(screen(*Aldric).DialogWindow)));
}

TEST_F(TradeRoad, TheRuneReleasedOverAnotherPlayerIsUsedOnItsCreatureObject) {
    TMainWindow& Screen = screen(*Aldric);
    const TPosition Here = Road->positionOf("Aldric"), There = Road->positionOf("Brenna");
    const size_t Sent = sent();
    ASSERT_TRUE(
        Road->useWith(*Aldric, FieldCentreOf(Screen, Here, RUNE_FIELD), FieldCentreOf(Screen, Here, There)));

    const TClientCommand Used = command(Sent);
    EXPECT_EQ(Used.Type, COMMAND_USE_WITH) << "a player is used on as the object it is on its field";
    EXPECT_EQ(Used.ObjectType, RUNE);
    EXPECT_EQ(Used.To, (TPlace{static_cast<uint16_t>(There.X), static_cast<uint16_t>(There.Y), 7}));
    EXPECT_EQ(Used.ToObjectType, testserver::CREATURE);
    EXPECT_TRUE(Aldric->waitUntilShown(ConsoleLine("The rune flashes.", ::TALK_EVENT_STATUS),
                                       RectOf(Screen.Console)));
}
