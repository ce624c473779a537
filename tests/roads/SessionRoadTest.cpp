// The roads around a session on the real client, one client start shared by the cases in this order: the
// server's ping answered, a bug report from Ctrl+Z, SIGINT asking before it ends, a switch to the other
// character with Ctrl+G, a logout and a login again, and a processor fault whose report the next start offers
// and sends once in the game.
#include "tests/roads/Road.h"

#include "gui/SkinProperties.h"
#include "tools/testserver/WorldRoads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

using namespace testserver;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Lines(const fs::path& File) {
    std::ifstream In(File);
    std::vector<std::string> Result;
    for (std::string Line; std::getline(In, Line);)
        Result.push_back(Line);
    return Result;
}

// The first command at or after Index of the type; an empty record, with the test failed, when none comes.
TClientCommand CommandOfType(TRoad& Road, size_t Index, uint8_t Type) {
    for (;; Index++) {
        const TClientCommand Command = Road.command(Index);
        if (Command.Type == Type || Command.Type == 0) return Command;
    }
}

class SessionRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Road = new TRoad;
        Client = &Road->start();
        Road->login(*Client, "Aldric");
    }
    static void TearDownTestSuite() { delete Road; }

    static inline TRoad* Road = nullptr;
    static inline TClient* Client = nullptr;
};

} // namespace

TEST_F(SessionRoad, TheServersPingIsAnswered) {
    ASSERT_TRUE(Client->InGame);
    const size_t Sent = Road->commandCount();
    Road->world()->perform([](TGameWorld& World) { Ping(*World.player("Aldric")); });
    const TClientCommand Answer = Road->command(Sent);
    EXPECT_EQ(Answer.Type, COMMAND_PING);
    EXPECT_EQ(Answer.Character, "Aldric");
    EXPECT_TRUE(Answer.Read);
    EXPECT_TRUE(Client->find(ButtonCaption("Logout"))) << "the answer is the client's own; the game goes on";
}

TEST_F(SessionRoad, CtrlZOpensTheBugReportAndSendSendsItsText) {
    ASSERT_TRUE(Client->InGame);
    const size_t Sent = Road->commandCount();
    Client->key("ctrl+z");
    ASSERT_TRUE(Client->waitUntilShown(DialogCaption("Reporting")));
    Client->type("The well in the village has no bucket.");
    ASSERT_TRUE(Client->waitUntilShown(
        Text("The well in the village has no bucket.", SkinProperties.EditField.TextFormat)));
    const std::optional<TRect> Send = Client->find(ButtonCaption("Send"));
    ASSERT_TRUE(Send);
    Client->click(Send->centre());
    const TClientCommand Report = Road->command(Sent);
    EXPECT_EQ(Report.Type, COMMAND_BUG_REPORT);
    EXPECT_EQ(Report.Text, "The well in the village has no bucket.");
    EXPECT_TRUE(Client->waitUntilGone(DialogCaption("Reporting"), Client->area()));
}

// Ctrl+C in the terminal: the client asks as its close button does, and the game goes on.
TEST_F(SessionRoad, SigintInTheGameAsksBeforeItEnds) {
    ASSERT_TRUE(Client->InGame);
    const size_t Sent = Road->commandCount();
    Client->signal(SIGINT);
    ASSERT_TRUE(Client->waitUntilShown(DialogCaption("Warning")));
    Client->key("Escape");
    EXPECT_TRUE(Client->waitUntilGone(DialogCaption("Warning"), Client->area()));
    EXPECT_TRUE(Client->running());
    for (size_t i = Sent; i < Road->commandCount(); i++)
        EXPECT_EQ(Road->command(i).Type, COMMAND_PING) << "nothing but pings, no logout";
    EXPECT_TRUE(Road->waitForWorld("Aldric still in the game",
                                   [](TGameWorld& World) { return World.player("Aldric") != nullptr; }));
}

TEST_F(SessionRoad, CtrlGSwitchesToTheOtherCharacter) {
    ASSERT_TRUE(Client->InGame);
    const size_t Sent = Road->commandCount();
    Client->key("ctrl+g");
    ASSERT_TRUE(Client->waitUntilShown(DialogCaption("Select Character")));
    Road->chooseCharacter(*Client, "Brenna");
    // The old character leaves before the new one comes.
    const TClientCommand Logout = CommandOfType(*Road, Sent, COMMAND_LOGOUT);
    EXPECT_EQ(Logout.Type, COMMAND_LOGOUT);
    EXPECT_EQ(Logout.Character, "Aldric");
    EXPECT_EQ(Road->server().received().GameLogins.back().CharacterName, "Brenna");
    EXPECT_TRUE(Client->waitUntilShown(Welcome("Brenna")));
}

TEST_F(SessionRoad, LoggingOutAndInAgainBringsTheFirstCharacterBack) {
    ASSERT_TRUE(Client->InGame);
    Road->logout(*Client);
    Client->key("Escape");
    ASSERT_TRUE(Client->waitUntilGone(DialogCaption("Select Character"), Client->area()));
    const size_t Logins = Road->server().received().Logins.size();
    Road->login(*Client, "Aldric");
    EXPECT_EQ(Road->server().received().Logins.size(), Logins + 1) << "the account logged in again";
    EXPECT_TRUE(Client->waitUntilShown(Welcome("Aldric")));
}

TEST_F(SessionRoad, AProcessorFaultsReportIsOfferedAtTheNextStartAndSentOnceInTheGame) {
    ASSERT_TRUE(Client->InGame);
    TPosition Where{};
    Road->world()->inspect([&](const TGameWorld& World) {
        for (const auto& Player : World.players())
            if (Player->Name == "Aldric") Where = World.world().creature(Player->Id)->Position;
    });
    Client->signal(SIGSEGV);
    EXPECT_EQ(Client->waitForExit(20s), 1);
    Client->InGame = false;
    const fs::path ErrorFile = Client->directory() / "error.txt";
    // The report: an empty line, the plus line, the title, the time, its text and the closing dashes.
    const std::vector<std::string> Report = Lines(ErrorFile);
    ASSERT_GE(Report.size(), 6u);
    EXPECT_EQ(Report[2], "Debug Assertion 7.72 SIGSEGV");
    EXPECT_EQ(Report.back(), std::string(64, '-'));

    Client->restart();
    ASSERT_TRUE(Client->waitForWindow());
    ASSERT_TRUE(Client->waitUntilShown(DialogCaption("Error Report")));
    for (const size_t Line : {2, 3, 4})
        EXPECT_TRUE(Client->find(Text(Report[Line], SkinProperties.EditField.ReadOnlyTextFormat)))
            << Report[Line];
    Client->type("Standing at the well.");
    Client->key("Return");
    ASSERT_TRUE(Client->waitUntilGone(DialogCaption("Error Report"), Client->area()));
    EXPECT_TRUE(fs::exists(ErrorFile)) << "kept until it is sent";

    const size_t Sent = Road->commandCount();
    Road->login(*Client, "Aldric");
    const TClientCommand Sending = CommandOfType(*Road, Sent, COMMAND_ERROR_REPORT);
    EXPECT_EQ(Sending.Character, "Aldric");
    EXPECT_EQ(Sending.Title, Report[2]);
    EXPECT_EQ(Sending.Time, Report[3]);
    std::string Text;
    for (size_t i = 4; i + 1 < Report.size(); i++)
        Text += (Text.empty() ? "" : "\n") + Report[i];
    EXPECT_EQ(Sending.Text, Text);
    const std::string Position = "Player Position: [" + std::to_string(Where.X) + "," +
                                 std::to_string(Where.Y) + "," + std::to_string(Where.Z) + "]";
    EXPECT_NE(Sending.Text.find("\n" + Position + "\n"), std::string::npos) << Sending.Text;
    EXPECT_EQ(Sending.Comment, "Comment: Standing at the well.");
    EXPECT_TRUE(WaitFor([&] { return !fs::exists(ErrorFile); })) << "deleted once sent";

    // Once: the next game login sends none. A ping's answer comes after whatever it would have sent.
    Road->logout(*Client);
    Road->chooseCharacter(*Client, "Aldric");
    ASSERT_TRUE(Client->InGame);
    const size_t Again = Road->commandCount();
    Road->world()->perform([](TGameWorld& World) { Ping(*World.player("Aldric")); });
    EXPECT_EQ(CommandOfType(*Road, Again, COMMAND_PING).Type, COMMAND_PING);
    const TReceived Got = Road->server().received();
    EXPECT_EQ(
        std::count_if(Got.GameCommands.begin(), Got.GameCommands.end(),
                      [](const TClientCommand& Command) { return Command.Type == COMMAND_ERROR_REPORT; }),
        1);
}
