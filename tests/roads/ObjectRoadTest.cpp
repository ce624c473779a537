// The roads of objects on the real client, one client start shared by the cases in this order: opening the
// backpack, looking into it and at the equipment, splitting a stack with the move-count dialog, merging it
// back, the refusals of reach and throw, a bag carried into the backpack and opened in its window, up and
// "Move up", a key on the door, rotating, a rune on a creature, the full field and the full depot asked for
// again, closing a window, fishing, and the rope out of the hole.
#include "tests/roads/ObjectRoad.h"

#include "screen/MainWindow.h"
#include "tools/testserver/WorldThings.h"

#include "gui/SkinProperties.h"
#include "state/Talk.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testserver;
using namespace testserver::village;

namespace {

// Beside the key, the rod, the rune, the bag and the heap.
constexpr TPosition START_BESIDE_THE_TOOLS{1010, 1011, 7};
constexpr int32_t LEFT_HAND = 5, RIGHT_HAND = 6;

// Whether the map shows the dark of a cave: most of its pixels nearly black.
bool Dark(const TImage& Map) {
    const auto Black = std::count_if(Map.Pixels.begin(), Map.Pixels.end(), [](uint32_t Pixel) {
        return (Pixel >> 16 & 0xFF) + (Pixel >> 8 & 0xFF) + (Pixel & 0xFF) < 48;
    });
    return Black * 10 > static_cast<std::ptrdiff_t>(Map.Pixels.size()) * 7;
}

TPlace PlaceOf(TPosition Where) {
    return {static_cast<uint16_t>(Where.X), static_cast<uint16_t>(Where.Y), static_cast<uint8_t>(Where.Z)};
}

class ObjectRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Road = new TObjectRoad(START_BESIDE_THE_TOOLS);
        Client = &Road->road().start(NoStretching());
        Road->road().login(*Client, "Aldric");
    }
    static void TearDownTestSuite() { delete Road; }
    void SetUp() override { ASSERT_TRUE(Client->InGame); }

    static TMainWindow& screen() { return Road->screen(*Client, Model); }
    static TPoint field(TMainWindow& Screen, TPosition Where) { return FieldCentreOf(Screen, Player, Where); }
    static size_t sent() { return Road->road().commandCount(); }
    static TClientCommand command(size_t Index) { return Road->road().command(Index); }

    static inline TObjectRoad* Road = nullptr;
    static inline TClient* Client = nullptr;
    static inline TClientModel Model;
    static inline TPosition Player = START_BESIDE_THE_TOOLS;
};

} // namespace

TEST_F(ObjectRoad, TheBackpacksMenuOpensItInAWindow) {
    const size_t Sent = sent();
    Client->rightClick(BodySlotCentre(screen(), BACKPACK_POSITION));
    ASSERT_TRUE(Road->choose(*Client, "Open"));

    const TClientCommand Use = command(Sent);
    EXPECT_EQ(Use.Type, COMMAND_USE);
    EXPECT_EQ(Use.Place, (TPlace{0xFFFF, BACKPACK_POSITION, 0}));
    EXPECT_EQ(Use.ObjectType, BACKPACK);
    EXPECT_EQ(Use.Container, 0) << "the lowest free window";
    Model.open({0, BACKPACK, "backpack", 8, false, {{GOLD, 10}, {ROPE, 0}}});
    EXPECT_TRUE(Client->waitUntilShown(WindowTitle(screen(), 0), RectOf(screen().DialogWindow)));
}

TEST_F(ObjectRoad, ShiftRightClickOnASlotLooksAtWhatLiesThere) {
    TMainWindow& Screen = screen();
    const size_t Sent = sent();
    Client->rightClick(CellCentre(Screen, 0, 0), "shift");
    const TClientCommand Look = command(Sent);
    EXPECT_EQ(Look.Type, COMMAND_LOOK);
    EXPECT_EQ(Look.Place, (TPlace{0xFFFF, 64, 0}));
    EXPECT_EQ(Look.ObjectType, GOLD);
    EXPECT_TRUE(Client->waitUntilShown(ConsoleLine("You see 10 gold coins.", ::TALK_EVENT_STATUS),
                                       RectOf(Screen.Console)));
}

TEST_F(ObjectRoad, DraggingAStackAsksHowManyAndThrowsThatMany) {
    const TPosition To = Beside(Player, 1, -1);
    TMainWindow& Screen = screen();
    const size_t Sent = sent();
    Client->drag(CellCentre(Screen, 0, 0), field(Screen, To));
    ASSERT_TRUE(Client->waitUntilShown(DialogCaption("Move Objects")));
    Client->type("4");
    Client->key("Return");

    const TClientCommand Move = command(Sent);
    EXPECT_EQ(Move.Type, COMMAND_MOVE);
    EXPECT_EQ(Move.Place, (TPlace{0xFFFF, 64, 0}));
    EXPECT_EQ(Move.To, PlaceOf(To));
    EXPECT_EQ(Move.Count, 4);
    EXPECT_TRUE(Road->waitUntilLying(To, GOLD, 4));
    Model.window(0).Items[0].Data = 6;
    EXPECT_TRUE(Client->waitUntilShown(Count(6), CellArea(screen(), 0, 0)));
}

TEST_F(ObjectRoad, TakingFromAfarIsRefusedAndCtrlDragMovesAWholeStackOntoALikeOne) {
    const TPosition Far{1015, 1010, 7}; // the village's twelve coins
    TMainWindow& Screen = screen();
    const size_t Sent = sent();
    Client->drag(field(Screen, Far), CellCentre(Screen, 0, 3), "ctrl");
    EXPECT_EQ(command(Sent).Count, 12) << "Ctrl moves the whole stack";
    EXPECT_TRUE(Client->waitUntilShown(StatusLine("Too far away."), RectOf(Screen.MapWindow)));

    Client->drag(field(Screen, Beside(Player, 1, -1)), CellCentre(Screen, 0, 0), "ctrl");
    const TClientCommand Back = command(Sent + 1);
    EXPECT_EQ(Back.Type, COMMAND_MOVE);
    EXPECT_EQ(Back.To, (TPlace{0xFFFF, 64, 0}));
    EXPECT_EQ(Back.Count, 4);
    Model.window(0).Items[0].Data = 10;
    EXPECT_TRUE(Client->waitUntilShown(Count(10), CellArea(screen(), 0, 0)));
}

TEST_F(ObjectRoad, AThrowBeyondItsRangeIsRefusedAndTheRopeGoesIntoTheHandInstead) {
    TMainWindow& Screen = screen();
    const size_t Sent = sent();
    const TPoint Rope = CellCentre(Screen, 0, 1);
    Client->drag(Rope, field(Screen, Beside(Player, 6, 0)));
    EXPECT_EQ(command(Sent).ObjectType, ROPE);
    EXPECT_TRUE(Client->waitUntilShown(StatusLine("Destination is out of range."), RectOf(Screen.MapWindow)));

    // A pixel beside the first press: no double click, which would start no drag.
    Client->drag({Rope.x + 1, Rope.y}, BodySlotCentre(Screen, LEFT_HAND));
    const TClientCommand Held = command(Sent + 1);
    EXPECT_EQ(Held.Place, (TPlace{0xFFFF, 64, 1}));
    EXPECT_EQ(Held.To, (TPlace{0xFFFF, LEFT_HAND, 0}));
    Model.window(0).Items.pop_back();
    EXPECT_TRUE(Client->waitUntilShown(ObjectPicture(ROPE, 0), BodySlotArea(Screen, LEFT_HAND)));
}

TEST_F(ObjectRoad, ABagFromTheMapOpensInTheBackpacksWindowAndGoesUpAgain) {
    const size_t Sent = sent();
    TMainWindow& Screen = screen();
    Client->drag(field(Screen, BAG_FIELD), CellCentre(Screen, 0, 2));
    const TClientCommand Carried = command(Sent);
    EXPECT_EQ(Carried.ObjectType, BAG);
    EXPECT_EQ(Carried.To, (TPlace{0xFFFF, 64, 2}));
    Model.window(0).Items.insert(Model.window(0).Items.begin(), {BAG, 0});
    ASSERT_TRUE(Client->waitUntilShown(ObjectPicture(BAG, 0), CellArea(screen(), 0, 0)));

    Client->rightClick(CellCentre(screen(), 0, 0));
    ASSERT_TRUE(Road->choose(*Client, "Open"));
    const TClientCommand Opened = command(Sent + 1);
    EXPECT_EQ(Opened.Type, COMMAND_USE);
    EXPECT_EQ(Opened.Container, 0) << "the bag opens in the window it lies in";
    Model.open({0, BAG, "bag", 4, true, {{SHOVEL, 0}, {APPLES, 25}}});
    EXPECT_TRUE(Client->waitUntilShown(WindowTitle(screen(), 0), RectOf(screen().DialogWindow)));

    Client->rightClick(CellCentre(screen(), 0, 1));
    ASSERT_TRUE(Road->choose(*Client, "Move up"));
    const TClientCommand Up = command(Sent + 2);
    EXPECT_EQ(Up.Type, COMMAND_MOVE);
    EXPECT_EQ(Up.To, (TPlace{0xFFFF, 64, 254}));
    EXPECT_EQ(Up.Count, 25) << "the whole stack";
    const TPattern Apples = ObjectPicture(APPLES, 25);
    EXPECT_TRUE(Client->waitUntilGone(Apples, CellArea(screen(), 0, 1)));

    Client->click(UpButtonCentre(screen(), 0));
    const TClientCommand Parent = command(Sent + 3);
    EXPECT_EQ(Parent.Type, COMMAND_UP_CONTAINER);
    EXPECT_EQ(Parent.Container, 0);
    Model.open({0, BACKPACK, "backpack", 8, false, {{APPLES, 25}, {BAG, 0}, {GOLD, 10}}});
    EXPECT_TRUE(Client->waitUntilShown(WindowTitle(screen(), 0), RectOf(screen().DialogWindow)));
    EXPECT_TRUE(Client->waitUntilShown(Apples, CellArea(screen(), 0, 0)));
}

TEST_F(ObjectRoad, TheKeyUsedOnTheLockedDoorOpensIt) {
    TMainWindow& Screen = screen();
    const TRect Door = FieldAreaOf(Screen, Player, LOCKED_DOOR);
    const TImage Closed = Client->shot(Door);
    const size_t Sent = sent();
    ASSERT_TRUE(Road->useWith(*Client, field(Screen, KEY_FIELD), field(Screen, LOCKED_DOOR)));

    const TClientCommand Used = command(Sent);
    EXPECT_EQ(Used.Type, COMMAND_USE_WITH);
    EXPECT_EQ(Used.ObjectType, KEY);
    EXPECT_EQ(Used.To, PlaceOf(LOCKED_DOOR));
    EXPECT_EQ(Used.ToObjectType, DOOR_CLOSED);
    EXPECT_TRUE(Road->waitUntilLying(LOCKED_DOOR, DOOR, 0));
    EXPECT_TRUE(Client->waitUntil("the door drawn open", Door,
                                  [&](const TImage& Now) { return Now.Pixels != Closed.Pixels; }));
}

TEST_F(ObjectRoad, TheChairsMenuLooksAtItAndRotatesIt) {
    TMainWindow& Screen = screen();
    const size_t Sent = sent();
    const TPoint Chair = field(Screen, CHAIR_FIELD);
    Client->rightClick(Chair);
    ASSERT_TRUE(Road->choose(*Client, "Look"));
    EXPECT_EQ(command(Sent).Type, COMMAND_LOOK);
    EXPECT_TRUE(
        Client->waitUntilShown(ConsoleLine("You see a chair.", ::TALK_EVENT_STATUS), RectOf(Screen.Console)));

    const TRect Field = FieldAreaOf(Screen, Player, CHAIR_FIELD);
    const TImage Facing = Client->shot(Field);
    Client->rightClick({Chair.x + 1, Chair.y}); // a pixel beside: no double click
    ASSERT_TRUE(Road->choose(*Client, "Rotate"));
    const TClientCommand Rotate = command(Sent + 1);
    EXPECT_EQ(Rotate.Type, COMMAND_ROTATE);
    EXPECT_EQ(Rotate.Place, PlaceOf(CHAIR_FIELD));
    EXPECT_EQ(Rotate.ObjectType, CHAIR);
    EXPECT_TRUE(Road->waitUntilLying(CHAIR_FIELD, CHAIR_FACINGS[1], 0));
    // The menu drawn over the field gone, the field shows the chair's next facing (its picture is drawn on
    // the grass, so it is told by the change).
    EXPECT_TRUE(Client->waitUntilGone(MenuEntry("Rotate"), Client->area()));
    EXPECT_TRUE(Client->waitUntil("the chair drawn turned", Field,
                                  [&](const TImage& Now) { return Now.Pixels != Facing.Pixels; }));
}

TEST_F(ObjectRoad, TheRuneReleasedOverACreatureIsUsedOnIt) {
    const TPosition Mira{1008, 1008, 7}; // where she comes out of the house
    TMainWindow& Screen = screen();
    const TRect Door = FieldAreaOf(Screen, Player, Mira);
    const TImage Empty = Client->shot(Door);
    Road->road().server().stepCreatures();
    ASSERT_TRUE(Client->waitUntil("Mira out of the house", Door,
                                  [&](const TImage& Now) { return Now.Pixels != Empty.Pixels; }));
    const size_t Sent = sent();
    ASSERT_TRUE(Road->useWith(*Client, field(Screen, RUNE_FIELD), field(Screen, Mira)));

    const TClientCommand Used = command(Sent);
    EXPECT_EQ(Used.Type, COMMAND_USE_ON_CREATURE);
    EXPECT_EQ(Used.ObjectType, RUNE);
    EXPECT_EQ(Used.CreatureId, MIRA);
    EXPECT_TRUE(Client->waitUntilShown(ConsoleLine("The rune flashes.", ::TALK_EVENT_STATUS),
                                       RectOf(Screen.Console)));
}

TEST_F(ObjectRoad, ABookTakenFromAFullHeapMakesTheClientAskForTheField) {
    TMainWindow& Screen = screen();
    const size_t Sent = sent();
    Client->drag(field(Screen, HEAP), CellCentre(Screen, 0, 6));
    EXPECT_EQ(command(Sent).ObjectType, BOOK);
    const TClientCommand Refresh = command(Sent + 1);
    EXPECT_EQ(Refresh.Type, COMMAND_REFRESH_FIELD);
    EXPECT_EQ(Refresh.Place, PlaceOf(HEAP));
    Model.window(0).Items.insert(Model.window(0).Items.begin(), {BOOK, 0});
    EXPECT_TRUE(Client->waitUntilShown(ObjectPicture(BOOK, 0), CellArea(screen(), 0, 0)));
}

TEST_F(ObjectRoad, AnAppleTakenFromTheFullDepotMakesTheClientAskForItAgainAndItsWindowCloses) {
    const size_t Sent = sent();
    Client->rightClick(field(screen(), DEPOT_FIELD));
    ASSERT_TRUE(Road->choose(*Client, "Open"));
    const TClientCommand Opened = command(Sent);
    EXPECT_EQ(Opened.Type, COMMAND_USE);
    EXPECT_EQ(Opened.Container, 1);
    Model.open({1, DEPOT, "depot", 36, false, std::vector<TModelItem>(36, {APPLES, 1})});
    TMainWindow& Screen = screen();
    const TPattern Title = WindowTitle(Screen, 1);
    ASSERT_TRUE(Client->waitUntilShown(Title, RectOf(Screen.DialogWindow)));

    Client->drag(CellCentre(Screen, 1, 0), field(Screen, Beside(Player, 0, -1)));
    EXPECT_EQ(command(Sent + 1).Type, COMMAND_MOVE);
    const TClientCommand Refresh = command(Sent + 2);
    EXPECT_EQ(Refresh.Type, COMMAND_REFRESH_CONTAINER);
    EXPECT_EQ(Refresh.Container, 1);

    Client->click(CloseButtonCentre(Screen, 1));
    const TClientCommand Closed = command(Sent + 3);
    EXPECT_EQ(Closed.Type, COMMAND_CLOSE_CONTAINER);
    EXPECT_EQ(Closed.Container, 1);
    Model.close(1);
    EXPECT_TRUE(Client->waitUntilGone(Title, RectOf(Screen.DialogWindow)));
}

TEST_F(ObjectRoad, TheFishingRodOnTheWellCatchesAFishIntoTheBackpack) {
    TMainWindow& Screen = screen();
    const size_t Sent = sent();
    ASSERT_TRUE(Road->useWith(*Client, field(Screen, ROD_FIELD), field(Screen, WELL)));
    const TClientCommand Used = command(Sent);
    EXPECT_EQ(Used.Type, COMMAND_USE_WITH);
    EXPECT_EQ(Used.ToObjectType, WATER);
    EXPECT_TRUE(Client->waitUntilShown(ConsoleLine("You catch a fish.", ::TALK_EVENT_STATUS),
                                       RectOf(Screen.Console)));
    Model.window(0).Items.insert(Model.window(0).Items.begin(), {FISH, 1});
    EXPECT_TRUE(Client->waitUntilShown(ObjectPicture(FISH, 1), CellArea(screen(), 0, 0)));
}

TEST_F(ObjectRoad, TheRopeUsedOnTheSpotBelowTheHoleClimbsOut) {
    const TRect Map = RectOf(screen().MapWindow);
    const size_t Sent = sent();
    Client->click(field(screen(), HOLE));
    const TPosition Fallen = Beside(ROPE_SPOT, 1, 0);
    ASSERT_TRUE(Road->waitUntilStanding("Aldric", Fallen));
    EXPECT_EQ(command(Sent).Type, COMMAND_WALK);
    Player = Fallen;
    EXPECT_TRUE(Client->waitUntil("the dark of the cave", Map, Dark));

    TMainWindow& Screen = screen();
    const size_t Climb = sent();
    ASSERT_TRUE(Road->useWith(*Client, BodySlotCentre(Screen, LEFT_HAND), field(Screen, ROPE_SPOT)));
    const TClientCommand Used = command(Climb);
    EXPECT_EQ(Used.Type, COMMAND_USE_WITH);
    EXPECT_EQ(Used.ObjectType, ROPE);
    EXPECT_EQ(Used.To, PlaceOf(ROPE_SPOT));
    EXPECT_TRUE(Road->waitUntilStanding("Aldric", Beside(HOLE, 1, 0)));
    Player = Beside(HOLE, 1, 0);
    EXPECT_TRUE(
        Client->waitUntil("the village in daylight", Map, [](const TImage& Now) { return !Dark(Now); }));
}
