// The first roads of the village on the real client, one client start shared by the cases in this order: the
// login into the game, walking with the arrow keys, looking at an object, the hover help, talking, the wheel
// over the console, dragging the console splitter, and the logout back to the character list and the start
// screen. Then two clients side by side, each with its own keyboard and the one pointer.
#include "tests/roads/Road.h"

#include "screen/MainWindow.h"
#include "screen/MessageTexts.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "tools/testserver/Village.h"

#include <gtest/gtest.h>

using namespace testserver;

namespace {

TPosition Beside(TPosition From, int dx, int dy) { return {From.X + dx, From.Y + dy, From.Z}; }

class VillageRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Road = new TRoad;
        TClientSetup Setup;
        // The map drawn at its own scale, so that a step moves it by whole fields.
        Setup.Options = [] { SetNoStretching(true); };
        Client = &Road->start(Setup);
        Road->login(*Client, "Aldric");
    }
    static void TearDownTestSuite() { delete Road; }
    void SetUp() override { ASSERT_TRUE(Client->InGame); }

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
    TMainWindow& Screen = Road->layout(*Client);
    const int32_t Field = FieldCentre(Screen, 1, 0).x - FieldCentre(Screen, 0, 0).x;
    // Fields of the upper left of the map that still show after two steps, where nothing is drawn that
    // stays in place (the player and its name).
    const TRect First = FieldArea(Screen, -6, -4), Last = FieldArea(Screen, -3, -2);
    const TRect Fields{First.x, First.y, Last.x + Last.Width - First.x, Last.y + Last.Height - First.y};
    const TImage Before = Client->shot({Fields.x, Fields.y, Fields.Width + 2 * Field, Fields.Height});
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

    EXPECT_TRUE(Client->waitUntil("the map two fields further east", Fields, [&](const TImage& Now) {
        for (int32_t y = Fields.y; y < Fields.y + Fields.Height; y++)
            for (int32_t x = Fields.x; x < Fields.x + Fields.Width; x++)
                if (Now.at({x, y}) != Before.at({x + 2 * Field, y})) return false;
        return true;
    }));
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
        Client->type(Text);
        Client->key("Return");
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
