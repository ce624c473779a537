// The first roads of the village on the real client, one client start shared by the cases in this order: the
// login into the game (the character's line double-clicked), walking with the arrow keys and the keypad,
// stopping a walk, following a townsman, looking at an object, the hover help, talking, the wheel over the
// console, dragging the console splitter, and the logout back to the character list and the start screen.
// Then two clients side by side, each with its own keyboard and the one pointer.
#include "tests/roads/Road.h"

#include "screen/MainWindow.h"
#include "screen/MessageTexts.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "tools/testserver/Village.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace testserver;

namespace {

TPosition Beside(TPosition From, int dx, int dy) { return {From.X + dx, From.Y + dy, From.Z}; }

class VillageRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TWorldOptions World;
        World.PaceWalking = true; // as a real server, so that a walk takes its time
        Road = new TRoad(World);
        TClientSetup Setup;
        // The map drawn at its own scale, so that a step moves it by whole fields.
        Setup.Options = [] { SetNoStretching(true); };
        Client = &Road->start(Setup);
        if (Road->enterAccount(*Client)) Road->chooseCharacter(*Client, "Aldric", TChoice::DoubleClick);
    }
    static void TearDownTestSuite() { delete Road; }
    void SetUp() override { ASSERT_TRUE(Client->InGame); }

    // Fields of the upper left of the map where nothing is drawn that stays in place on the screen (the
    // player and its name), far enough from the player to stay so for a few fields' walk.
    static TRect StillFields() {
        TMainWindow& Screen = Road->layout(*Client);
        const TRect First = FieldArea(Screen, -5, -3), Last = FieldArea(Screen, -3, -2);
        return {First.x, First.y, Last.x + Last.Width - First.x, Last.y + Last.Height - First.y};
    }
    static int32_t FieldSize() {
        TMainWindow& Screen = Road->layout(*Client);
        return FieldCentre(Screen, 1, 0).x - FieldCentre(Screen, 0, 0).x;
    }
    // Fields with two fields more on every side.
    static TRect Around(const TRect& Fields) {
        const int32_t Margin = 2 * FieldSize();
        return {Fields.x - Margin, Fields.y - Margin, Fields.Width + 2 * Margin, Fields.Height + 2 * Margin};
    }
    // Waits until the still fields show what Before showed (dx, dy) fields further on: the view has followed
    // the player's walk by that much and the walk has ended.
    static bool showsShifted(const TImage& Before, int dx, int dy) {
        const TRect Fields = StillFields();
        const int32_t Field = FieldSize();
        const TRect Shifted{Fields.x + dx * Field, Fields.y + dy * Field, Fields.Width, Fields.Height};
        if (!Before.Area.contains({Shifted.x, Shifted.y}) ||
            !Before.Area.contains({Shifted.x + Shifted.Width - 1, Shifted.y + Shifted.Height - 1})) {
            ADD_FAILURE() << "a shift of (" << dx << ", " << dy << ") fields goes beyond the picture before";
            return false;
        }
        return Client->waitUntil(
            "the map shifted by (" + std::to_string(dx) + ", " + std::to_string(dy) + ")", Fields,
            [&](const TImage& Now) {
                for (int32_t y = Fields.y; y < Fields.y + Fields.Height; y++)
                    for (int32_t x = Fields.x; x < Fields.x + Fields.Width; x++)
                        if (Now.at({x, y}) != Before.at({x + dx * Field, y + dy * Field})) return false;
                return true;
            });
    }
    // Waits until the world has Aldric on the field.
    static bool standsAt(TPosition Where) {
        return Road->waitForWorld("Aldric on the field", [&](TGameWorld& World) {
            TPlayer* Me = World.player("Aldric");
            return Me && World.creature(*Me).Position == Where;
        });
    }

    static inline TRoad* Road = nullptr;
    static inline TClient* Client = nullptr;
    static inline TPosition Player = village::START;
};

} // namespace

TEST_F(VillageRoad, TheLoginRoadEndsInTheGameWithTheWelcome) {
    const TReceived Got = Road->server().received();
    ASSERT_EQ(Got.GameLogins.size(), 1u);
    EXPECT_EQ(Got.GameLogins[0].CharacterName, "Aldric");
    const TRect Console = RectOf(Road->layout(*Client).Console);
    EXPECT_TRUE(Client->waitUntilShown(
        ConsoleLine("Welcome to the Pellarune test world, Aldric.", ::TALK_EVENT_STATUS), Console));
}

TEST_F(VillageRoad, TheArrowKeysWalkAndTheViewFollows) {
    const TRect Fields = StillFields();
    const TImage Before = Client->shot(Around(Fields));
    const size_t Sent = Road->commandCount();

    Client->key("Right Right");
    std::vector<uint8_t> Steps;
    for (size_t i = Sent; Steps.size() < 2; i++) {
        const TClientCommand Step = Road->command(i);
        ASSERT_TRUE(Step.Type == COMMAND_WALK || Step.Type == COMMAND_STEP_EAST) << int(Step.Type);
        Steps.insert(Steps.end(), Step.Steps.begin(), Step.Steps.end());
    }
    EXPECT_EQ(Steps, (std::vector<uint8_t>{1, 1})) << "two steps east";
    Player = Beside(Player, 2, 0);
    EXPECT_TRUE(showsShifted(Before, 2, 0));
}

TEST_F(VillageRoad, TheKeypadStepsDiagonallyAndTheOtherArrowsStraight) {
    struct TStep {
        const char* Key;
        int dx, dy;
        uint8_t Command;
    };
    // Round trips back to the field they start from.
    for (const TStep& Step :
         {TStep{"KP_Prior", 1, -1, COMMAND_STEP_NORTH_EAST}, TStep{"KP_Next", 1, 1, COMMAND_STEP_SOUTH_EAST},
          TStep{"KP_End", -1, 1, COMMAND_STEP_SOUTH_WEST}, TStep{"KP_Home", -1, -1, COMMAND_STEP_NORTH_WEST},
          TStep{"Up", 0, -1, COMMAND_STEP_NORTH}, TStep{"Left", -1, 0, COMMAND_STEP_WEST},
          TStep{"Down", 0, 1, COMMAND_STEP_SOUTH}, TStep{"Right", 1, 0, COMMAND_STEP_EAST}}) {
        const TImage Before = Client->shot(Around(StillFields()));
        const size_t Sent = Road->commandCount();
        Client->key(Step.Key);
        EXPECT_EQ(Road->command(Sent).Type, Step.Command) << Step.Key;
        Player = Beside(Player, Step.dx, Step.dy);
        // The next key is pressed once this step has ended; one pressed during a step stops the walk.
        ASSERT_TRUE(showsShifted(Before, Step.dx, Step.dy)) << Step.Key;
        EXPECT_TRUE(standsAt(Player)) << Step.Key;
    }
}

TEST_F(VillageRoad, ANewGoalWhileWalkingStopsTheWalkAndGoesThere) {
    const TImage Before = Client->shot(Around(StillFields()));
    const size_t Sent = Road->commandCount();
    Client->click(FieldCentre(Road->layout(*Client), -4, 0));
    Client->key("Up");
    EXPECT_EQ(Road->command(Sent).Type, COMMAND_WALK);
    EXPECT_EQ(Road->command(Sent + 1).Type, COMMAND_STOP);
    // Then the way from where the walk stopped to the field above the one the player had reached.
    const TClientCommand Rest = Road->command(Sent + 2);
    EXPECT_TRUE(Rest.Type == COMMAND_WALK ||
                (Rest.Type >= COMMAND_STEP_NORTH && Rest.Type <= COMMAND_STEP_NORTH_WEST))
        << int(Rest.Type);
    // The server walks the rest step by step: its place counts once the way is done.
    TPosition Reached{};
    EXPECT_TRUE(Road->waitForWorld("Aldric's walk ended a row further up", [&](TGameWorld& World) {
        TPlayer* Me = World.player("Aldric");
        if (Me) Reached = World.creature(*Me).Position;
        return Me && Me->Path.empty() && Reached.Y == Player.Y - 1;
    }));
    EXPECT_LE(Reached.X, Player.X);
    EXPECT_TRUE(showsShifted(Before, Reached.X - Player.X, Reached.Y - Player.Y));
    Player = Reached;
}

TEST_F(VillageRoad, FollowingTobinWalksBesideHimAndEscapeStops) {
    const TPosition Tobin = village::TOBIN_FIELD; // he stands still
    const TPoint OnTobin = FieldCentre(Road->layout(*Client), Tobin.X - Player.X, Tobin.Y - Player.Y);
    Client->move(OnTobin); // the pointer out of the picture of the fields the still ones shift to
    const TImage Before = Client->shot(Around(StillFields()));
    const size_t Sent = Road->commandCount();
    Client->rightClick(OnTobin);
    const std::optional<TRect> Follow = Client->waitUntilShown(MenuEntry("Follow"));
    ASSERT_TRUE(Follow);
    Client->click(Follow->centre());
    const TClientCommand Followed = Road->command(Sent);
    EXPECT_EQ(Followed.Type, COMMAND_FOLLOW);
    EXPECT_EQ(Followed.CreatureId, village::TOBIN);
    // The server steps the follower on its clock until he stands beside Tobin.
    TPosition Reached = Player;
    EXPECT_TRUE(Road->waitForWorld("Aldric beside Tobin", [&](TGameWorld& World) {
        TPlayer* Me = World.player("Aldric");
        if (Me) Reached = World.creature(*Me).Position;
        return Me && Me->Path.empty() && std::abs(Reached.X - Tobin.X) <= 1 &&
               std::abs(Reached.Y - Tobin.Y) <= 1;
    }));
    // He comes from rows above, so he stops on the one above Tobin.
    EXPECT_TRUE(showsShifted(Before, Reached.X - Player.X, Tobin.Y - 1 - Player.Y));
    Client->key("Escape");
    EXPECT_EQ(Road->command(Sent + 1).Type, COMMAND_CANCEL);
    Player = Reached;
}

TEST_F(VillageRoad, ShiftRightClickLooksAtTheGoldAndTheConsoleNamesIt) {
    const TPosition Gold{village::START.X + 5, village::START.Y, village::START.Z};
    TMainWindow& Screen = Road->layout(*Client);
    const size_t Sent = Road->commandCount();
    Client->rightClick(FieldCentre(Screen, Gold.X - Player.X, Gold.Y - Player.Y), "shift");

    const TClientCommand Look = Road->command(Sent);
    EXPECT_EQ(Look.Type, COMMAND_LOOK);
    EXPECT_EQ((TPosition{Look.Place.X, Look.Place.Y, Look.Place.Z}), Gold);
    EXPECT_EQ(Look.ObjectType, village::GOLD);
    EXPECT_TRUE(Client->waitUntilShown(ConsoleLine("You see 12 gold coins.", ::TALK_EVENT_STATUS),
                                       RectOf(Screen.Console)));
}

TEST_F(VillageRoad, ThePointerHeldOverAButtonShowsItsToolTip) {
    const std::optional<TRect> Logout = Client->find(ButtonCaption("Logout"));
    ASSERT_TRUE(Logout);
    const size_t Sent = Road->commandCount();
    Client->move(Logout->centre());
    EXPECT_TRUE(Client->waitUntilShown(Tooltip(MessageTexts[TEXT_TIP_LOGOUT])));
    EXPECT_EQ(Road->commandCount(), Sent) << "hovering sends nothing";
}

TEST_F(VillageRoad, TypedTextIsSaidAndTheConsoleShowsIt) {
    const size_t Sent = Road->commandCount();
    Client->type("Good day, village!");
    Client->key("Return");
    const TClientCommand Say = Road->command(Sent);
    EXPECT_EQ(Say.Type, COMMAND_TALK);
    EXPECT_EQ(Say.Mode, ::TALK_SAY);
    EXPECT_EQ(Say.Text, "Good day, village!");
    EXPECT_TRUE(Client->waitUntilShown(ConsoleLine("Aldric: Good day, village!", ::TALK_SAY),
                                       RectOf(Road->layout(*Client).Console)));
}

TEST_F(VillageRoad, TheWheelOverTheConsoleScrollsBackToItsFirstLine) {
    const TRect Console = RectOf(Road->layout(*Client).Console);
    const TPattern Welcome = ConsoleLine("Welcome to the Pellarune test world, Aldric.", ::TALK_EVENT_STATUS);
    // Enough talk to push the first line out of the console's view.
    for (int32_t Line = 0; Line < 20 && Client->find(Welcome, Console); Line++) {
        const std::string Text = "Line " + std::to_string(Line);
        const size_t Sent = Road->commandCount();
        Client->type(Text);
        Client->key("Return");
        ASSERT_EQ(Road->command(Sent).Text, Text);
        ASSERT_TRUE(Client->waitUntilShown(ConsoleLine("Aldric: " + Text, ::TALK_SAY), Console));
    }
    ASSERT_FALSE(Client->find(Welcome, Console));
    for (int32_t Notch = 0; Notch < 20 && !Client->find(Welcome, Console); Notch++)
        Client->wheel(Console.centre(), 1);
    EXPECT_TRUE(Client->waitUntilShown(Welcome, Console));
}

TEST_F(VillageRoad, DraggingTheSplitterUpMakesTheConsoleTaller) {
    TMainWindow& Screen = Road->layout(*Client);
    const TRect Splitter = RectOf(Screen.ConsoleSplitter);
    const int32_t Taller = 60;
    // What the splitter's own drag does to the layout, done to the model.
    Screen.setConsoleHeight(Screen.getConsoleHeight() + Taller);
    Screen.setSize(Screen.getWidth(), Screen.getHeight());
    const TRect Moved = RectOf(Screen.ConsoleSplitter);
    ASSERT_EQ(Moved.y, Splitter.y - Taller);
    const TPattern Bar = TReference::get().component(*Screen.ConsoleSplitter, "the console splitter");

    const size_t Sent = Road->commandCount();
    Client->drag(Splitter.centre(), {Splitter.centre().x, Splitter.centre().y - Taller});
    EXPECT_TRUE(Client->waitUntilShown(Bar, Moved));
    EXPECT_EQ(Road->commandCount(), Sent) << "the console's height is the client's own";
}

TEST_F(VillageRoad, LoggingOutShowsTheCharacterListAndEscapeTheStartScreen) {
    const size_t Sent = Road->commandCount();
    Client->key("ctrl+l");
    EXPECT_EQ(Road->command(Sent).Type, COMMAND_LOGOUT);
    EXPECT_TRUE(Client->waitUntilShown(DialogCaption("Select Character")));
    EXPECT_TRUE(Client->waitUntilShown(ListLine("Aldric (Pellarune)", true)));
    Client->InGame = false;
    Client->key("Escape");
    EXPECT_TRUE(Client->waitUntilShown(ButtonCaption("Enter Game")));
}

namespace {

// Two clients side by side, each with a character of its own.
class TwoClientsRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Road = new TRoad;
        First = &Road->start();
        Second = &Road->start();
        Road->login(*First, "Aldric");
        Road->login(*Second, "Brenna");
    }
    static void TearDownTestSuite() { delete Road; }
    void SetUp() override { ASSERT_TRUE(First->InGame && Second->InGame); }

    // Says Text in the client; the world reads it.
    static void say(TClient& Client, const std::string& Text) {
        const size_t Sent = Road->commandCount();
        Client.type(Text);
        Client.key("Return");
        const TClientCommand Said = Road->command(Sent);
        EXPECT_EQ(Said.Type, COMMAND_TALK);
        EXPECT_EQ(Said.Text, Text);
    }

    static inline TRoad* Road = nullptr;
    static inline TClient* First = nullptr;
    static inline TClient* Second = nullptr;
};

} // namespace

TEST_F(TwoClientsRoad, KeysGoToTheClientTheyAreTypedInto) {
    say(*Second, "From Brenna");
    say(*First, "From Aldric");
    EXPECT_TRUE(Second->waitUntilShown(ConsoleLine("Brenna: From Brenna", ::TALK_SAY)));
    EXPECT_TRUE(First->waitUntilShown(ConsoleLine("Aldric: From Aldric", ::TALK_SAY)));
}

TEST_F(TwoClientsRoad, TheToolTipShowsInTheWindowThePointerIsHeldIn) {
    for (TClient* Client : {Second, First}) {
        const std::optional<TRect> Logout = Client->find(ButtonCaption("Logout"));
        ASSERT_TRUE(Logout);
        Client->move(Logout->centre());
        EXPECT_TRUE(Client->waitUntilShown(Tooltip(MessageTexts[TEXT_TIP_LOGOUT])));
    }
    EXPECT_TRUE(Second->waitUntilGone(Tooltip(MessageTexts[TEXT_TIP_LOGOUT]), Second->area()))
        << "the pointer left it";
}
