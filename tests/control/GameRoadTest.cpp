// A whole game session over loopback against the test server's world: login, entering the game with the
// full map, walking with scrolling slices, looking, talking and logging out, asserted on both sides.
#include "ControlFixture.h"

#include "network/CommunicationSend.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Inventory.h"
#include "state/Map.h"
#include "state/MapLight.h"
#include "state/Objects.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"
#include "tests/foundation/TempDirectory.h"
#include "tools/testserver/Village.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace testserver;
namespace fs = std::filesystem;

namespace {

// What the controller and the game screen were asked to do. Entering clears the last session as the
// controller's EnterGame does; the screen itself does not exist here.
class TRecordingGameClient : public TGameClientHooks {
public:
    void enterGame() override {
        Calls.push_back("enterGame");
        ClearMap();
        ResetInventory();
        ResetCreatures();
        ClearTalk();
        SetAmbientLight(-1, 0);
    }
    void openContainerWindow(int32_t) override { Calls.push_back("openContainer"); }
    void closeContainerWindow(int32_t) override { Calls.push_back("closeContainer"); }
    void openTradeWindow() override { Calls.push_back("openTrade"); }
    void refreshTradeWindow() override { Calls.push_back("refreshTrade"); }
    void closeTradeWindow() override { Calls.push_back("closeTrade"); }

    std::vector<std::string> Calls;
};

// One object as both sides name it: type and data (count or liquid); creatures are compared apart.
struct TStacked {
    int32_t Type, Data;
    bool operator==(const TStacked&) const = default;
};

std::ostream& operator<<(std::ostream& Out, const TStacked& Object) {
    return Out << Object.Type << ":" << Object.Data;
}

std::vector<TStacked> ClientItems(int32_t rx, int32_t ry, int32_t rz) {
    std::vector<TStacked> Items;
    for (int32_t Position = 0; Position < OBJECTS_PER_POINT; Position++) {
        TObject Obj;
        GetMapObject(Obj, rx, ry, rz, Position);
        if (Obj.Type != 0 && Obj.Type != ::CREATURE) Items.push_back({Obj.Type, Obj.Data});
    }
    return Items;
}

std::vector<TStacked> WorldItems(const TWorld& World, TPosition Where) {
    std::vector<TStacked> Items;
    if (const TField* Field = World.field(Where))
        for (const TThing& Thing : Field->stack())
            if (Thing.Type != testserver::CREATURE) Items.push_back({Thing.Type, Thing.Data});
    return Items;
}

std::string LastDefaultLine() {
    TTextBuffer* Buffer = DefaultTextBuffer();
    int32_t Lines = Buffer->getNumberOfLines();
    return Lines > 0 ? Buffer->seekLine(Lines - 1)->AfterStamp : "";
}

class GameRoadTest : public ControlTest {
protected:
    void SetUp() override {
        ASSERT_FALSE(DefaultDatFile().empty()) << "the build generates the data files";
        fs::copy_file(DefaultDatFile(), "Ebrun.dat");
        Setup = LoadWorld(DefaultDatFile());
        Server.setPlan(TRole::Game, WorldPlan(Setup));
        ControlTest::SetUp();
        InitObjects();
        InitMap(HideCreatureCallback);
        InitInventory();
        InitCreatures();
        InitTalk();
        SetGameClientHooks(&Client);
    }
    void TearDown() override {
        SetGameClientHooks(nullptr);
        ControlTest::TearDown();
        ExitTalk();
        ExitObjects();
    }

    // Every field of the client's box against the world's field it stands for, the player's own
    // creature aside; false with the first difference reported.
    ::testing::AssertionResult BoxMatchesWorld() {
        for (int32_t rz = 0; rz < MAPSIZE_Z; rz++)
            for (int32_t ry = 0; ry < MAPSIZE_Y; ry++)
                for (int32_t rx = 0; rx < MAPSIZE_X; rx++) {
                    int32_t x = rx, y = ry, z = rz;
                    LocalToWorld(x, y, z);
                    std::vector<TStacked> Client = ClientItems(rx, ry, rz),
                                          World = WorldItems(Setup->Village, {x, y, z});
                    if (Client != World)
                        return ::testing::AssertionFailure()
                               << "field " << x << "," << y << "," << z << ": client "
                               << ::testing::PrintToString(Client) << ", world "
                               << ::testing::PrintToString(World);
                }
        return ::testing::AssertionSuccess();
    }

    // The box field of a world position.
    static TCoordinate Local(TPosition Where) {
        TCoordinate Field{Where.X, Where.Y, Where.Z};
        WorldToLocal(Field.x, Field.y, Field.z);
        return Field;
    }

    static bool PlayerStandsOn(TPosition Where) {
        TCoordinate Field = Local(Where);
        for (int32_t Position = 0; Position < OBJECTS_PER_POINT; Position++) {
            TObject Obj;
            GetMapObject(Obj, Field.x, Field.y, Field.z, Position);
            if (Obj.Type == ::CREATURE && static_cast<uint32_t>(Obj.Data) == PLAYER_ID) return true;
        }
        return false;
    }

    static TPosition View() {
        TPosition Where;
        GetViewPosition(Where.X, Where.Y, Where.Z);
        return Where;
    }

    // Waits until the world has read Count commands; the last one.
    TClientCommand LastCommand(size_t Count) {
        EXPECT_TRUE(Server.waitUntil([&](const TReceived& Got) { return Got.GameCommands.size() >= Count; }));
        TReceived Got = Server.received();
        return Got.GameCommands.size() >= Count ? Got.GameCommands[Count - 1] : TClientCommand{};
    }

    TWorkingDirectory Directory;
    std::shared_ptr<const TWorldSetup> Setup;
    TRecordingGameClient Client;
};

} // namespace

TEST_F(GameRoadTest, LoginEnterWalkLookTalkAndLogout) {
    // Login: the character list names the game server.
    ASSERT_TRUE(LoginUntilOffline());
    ASSERT_EQ(GetAccountCharacters(), 2);
    TakeEvents();

    // Entering: message 10, the full map and the rest of the entry, the welcome line last.
    const std::string Welcome = "Welcome to the Pellarune test world, Aldric.";
    ASSERT_TRUE(EnterCharacter(0, [&] { return LastDefaultLine() == Welcome; }));
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_GAME);
    EXPECT_EQ(Client.Calls, std::vector<std::string>{"enterGame"});
    EXPECT_EQ(GetPlayerID(), PLAYER_ID);
    EXPECT_EQ(GetBeatDuration(), BEAT_MS);
    TReceived Got = Server.received();
    ASSERT_EQ(Got.GameLogins.size(), 1u);
    EXPECT_EQ(Got.GameLogins[0].CharacterName, "Aldric");
    TClientCommand Modes = LastCommand(1);
    EXPECT_EQ(Modes.Type, 160) << "entering sends the fight modes";
    EXPECT_TRUE(Modes.Read) << "the world keeps them";
    std::vector<int32_t> Seen;
    for (int32_t i = 0; i < LASTPACKETTYPES; i++)
        Seen.push_back(GetLastPacketType(i));
    EXPECT_NE(std::find(Seen.begin(), Seen.end(), 10), Seen.end());
    EXPECT_NE(std::find(Seen.begin(), Seen.end(), 100), Seen.end());
    EXPECT_EQ(View(), village::START);
    EXPECT_TRUE(PlayerStandsOn(village::START));
    EXPECT_TRUE(BoxMatchesWorld());
    TakeEvents();

    // Walking three fields east: one path command; the view follows and the east slices fill the box.
    const TPosition Target{village::START.X + 3, village::START.Y, village::START.Z};
    ASSERT_EQ(GoToField(Target.X, Target.Y, Target.Z, true, false), 1);
    SendWalkPath();
    TClientCommand Walk = LastCommand(2);
    EXPECT_EQ(Walk.Type, COMMAND_WALK);
    EXPECT_EQ(Walk.Steps, (std::vector<uint8_t>{1, 1, 1}));
    ASSERT_TRUE(PumpUntil([&] { return View() == Target; }, 5000)) << View().X;
    EXPECT_EQ(LastTypes(6), (std::vector<int32_t>{102, 109, 102, 109, 102, 109}))
        << "each step moves the player, then brings the column east of the box";
    EXPECT_TRUE(PlayerStandsOn(Target));
    EXPECT_FALSE(PlayerStandsOn(village::START));
    EXPECT_TRUE(BoxMatchesWorld());

    // Looking at the gold two fields further east: the world names it in the console.
    const TPosition Gold{Target.X + 2, Target.Y, Target.Z};
    TCoordinate Field = Local(Gold);
    TObject Looked;
    int32_t Position = -1;
    GetLookObject(Looked, Field.x, Field.y, Field.z, Position);
    ASSERT_EQ(Looked.Type, village::GOLD);
    SendLook(Gold.X, Gold.Y, Gold.Z, Looked.Type, Position);
    TClientCommand Look = LastCommand(3);
    EXPECT_EQ(Look.Type, COMMAND_LOOK);
    EXPECT_EQ((std::vector<int>{Look.Place.X, Look.Place.Y, Look.Place.Z}),
              (std::vector<int>{Gold.X, Gold.Y, Gold.Z}));
    EXPECT_EQ(Look.ObjectType, village::GOLD);
    EXPECT_EQ(Look.StackPosition, Position);
    ASSERT_TRUE(PumpUntil([] { return LastDefaultLine() == "You see 12 gold coins."; }, 5000))
        << LastDefaultLine();

    // Saying something: the world echoes it as the player's speech at the player's field.
    int32_t BoxesBefore = GetNumberOfTalkboxes();
    SendTalk(::TALK_SAY, "Good day, village!");
    TClientCommand Say = LastCommand(4);
    EXPECT_EQ(Say.Type, COMMAND_TALK);
    EXPECT_EQ(Say.Mode, ::TALK_SAY);
    EXPECT_EQ(Say.Text, "Good day, village!");
    ASSERT_TRUE(PumpUntil([] { return LastDefaultLine() == "Aldric: Good day, village!"; }, 5000))
        << LastDefaultLine();
    ASSERT_EQ(GetNumberOfTalkboxes(), BoxesBefore + 1);
    int32_t Box = GetNumberOfTalkboxes();
    EXPECT_EQ(GetTalkboxMode(Box), ::TALK_SAY);
    TPosition Spoken;
    GetTalkboxPosition(Box, Spoken.X, Spoken.Y, Spoken.Z);
    EXPECT_EQ(Spoken, Target);
    std::string Lines;
    for (int32_t Line = 0; Line < GetTalkboxLines(Box); Line++)
        Lines += std::string(GetTalkboxLine(Box, Line)) + "\n";
    EXPECT_NE(Lines.find("Good day, village!"), std::string::npos) << Lines;
    TakeEvents();

    // Logging out: the world reads the command and closes; the client leaves the game and goes offline.
    SendLogout();
    EXPECT_EQ(LastCommand(5).Type, COMMAND_LOGOUT);
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == CONNECTIONSTATE_OFFLINE; }, 5000));
    EXPECT_FALSE(IsConnected());
    EXPECT_EQ(Types(TakeEvents()), std::vector<int32_t>{MESSAGE_CHARACTERLIST}) << "the game was left once";
    Got = Server.received();
    EXPECT_EQ(Got.GameCommands.size(), 5u);
    EXPECT_TRUE(Got.Errors.empty()) << Got.Errors.front();
    EXPECT_EQ(Client.Calls, std::vector<std::string>{"enterGame"});
}
