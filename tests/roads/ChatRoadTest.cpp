// The chat roads on the real client, three clients sharing their starts in the order written: Aldric and
// Brenna (account 1) and the gamemaster Ysolde (account 3). Public channels and their talk, leaving one,
// private conversations with a character and with a townsperson, the own channel with invitation and
// exclusion, saving a channel's window, the rule-violation requests from filing to their end, the
// gamemaster's report and talk modes, and the channels joined again after logging out and in. Each case
// asserts what the server read from each client and what each client shows.
#include "tests/roads/Road.h"

#include "foundation/Utils.h"
#include "gui/SkinProperties.h"
#include "screen/ConsoleWindow.h"
#include "screen/MainWindow.h"
#include "state/Talk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <utility>

using namespace testserver;
using namespace std::chrono_literals;

namespace {

// A tab's caption as the tab shows it: shortened with "..." when it does not fit.
std::string Shown(const std::string& Caption) {
    const auto& Tab = SkinProperties.ConsoleTab;
    std::vector<char> Text(Caption.begin(), Caption.end());
    Text.push_back(0);
    ShortenText(Text.data(),
                GetTextFitLength(Tab.SelectedFormat.Font, Text.data(), Tab.Width - 2 * Tab.CaptionMargin));
    return Text.data();
}
TPattern TabCaption(const std::string& Caption, bool Selected) {
    return Text(Shown(Caption), Selected ? SkinProperties.ConsoleTab.SelectedFormat
                                         : SkinProperties.ConsoleTab.UnselectedFormat);
}

class ChatRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Road = new TRoad;
        Road->server().setPlan(TRole::Login, AccountLoginPlan(DefaultAccounts(), Road->server().gamePort()));
        Aldric = &Road->start();
        Brenna = &Road->start();
        TClientSetup Gamemaster;
        Gamemaster.Arguments = {"gamemaster"};
        Ysolde = &Road->start(Gamemaster);
        Road->login(*Aldric, "Aldric", 1, "pellarune");
        Road->login(*Brenna, "Brenna", 1, "pellarune");
        Road->login(*Ysolde, "Ysolde", 3, "gamemaster");
    }
    static void TearDownTestSuite() { delete Road; }
    void SetUp() override {
        ASSERT_TRUE(Aldric->InGame && Brenna->InGame && Ysolde->InGame);
        From = Road->commandCount();
    }

    static TRect ConsoleOf(const TClient& Client) { return RectOf(Road->layout(Client).Console); }
    static bool ShowsTab(const TClient& Client, const std::string& Caption, bool Selected = true) {
        return Client.waitUntilShown(TabCaption(Caption, Selected), ConsoleOf(Client)).has_value();
    }
    // Waits for the tab in any of its styles and clicks it: a tab opened in the console's first seconds
    // (counted in its ticks, which a loaded machine stretches) does not take the selection by itself.
    static bool selectTab(TClient& Client, const std::string& Caption) {
        const TRect Console = ConsoleOf(Client);
        const auto& Tabs = SkinProperties.ConsoleTab;
        const TPattern Styles[] = {
            Text(Shown(Caption), Tabs.SelectedFormat), Text(Shown(Caption), Tabs.UnselectedFormat),
            Text(Shown(Caption), Tabs.UnreadFormat), Text(Shown(Caption), Tabs.FlashFormat)};
        const std::optional<TRect> Tab =
            Client.waitUntilShown({&Styles[0], &Styles[1], &Styles[2], &Styles[3]}, Console);
        if (!Tab) return false;
        Client.click(Tab->centre());
        return Client.waitUntilShown(TabCaption(Caption, true), Console).has_value();
    }
    static bool ShowsLine(const TClient& Client, const std::string& Line, int32_t Mode) {
        return Client.waitUntilShown(ConsoleLine(Line, Mode), ConsoleOf(Client)).has_value();
    }
    static void say(TClient& Client, const std::string& Line) {
        Client.type(Line);
        Client.key("Return");
    }
    // Ctrl+O asks for the channel list; the line of the channel is chosen in the dialog.
    static void openChannel(TClient& Client, const std::string& Channel, TChoice How = TChoice::Button) {
        Client.key("ctrl+o");
        ASSERT_TRUE(Client.waitUntilShown(DialogCaption("New Channel")));
        ChooseLine(Client, Channel, "Open", How);
    }
    // Ctrl+O, a name typed into the dialog's name field and Enter: a private conversation.
    static void openConversation(TClient& Client, const std::string& Name) {
        Client.key("ctrl+o");
        ASSERT_TRUE(Client.waitUntilShown(DialogCaption("New Channel")));
        say(Client, Name);
    }
    // A right click on the tab and the entry of its channel menu.
    static void tabMenu(TClient& Client, const std::string& Caption, const std::string& Entry) {
        const std::optional<TRect> Tab = Client.waitUntilShown(TabCaption(Caption, true), ConsoleOf(Client));
        ASSERT_TRUE(Tab);
        Client.rightClick(Tab->centre());
        const std::optional<TRect> Choice = Client.waitUntilShown(MenuEntry(Entry));
        ASSERT_TRUE(Choice);
        Client.click(Choice->centre());
    }

    // The command of Type that Character sent since the case began, the first or the Nth after it; the
    // server's decoding of it.
    TClientCommand sent(const std::string& Character, uint8_t Type, size_t Nth = 0) const {
        TClientCommand Found;
        const bool Came = Road->server().waitUntil(
            [&](const TReceived& Got) {
                size_t Seen = 0;
                for (size_t i = From; i < Got.GameCommands.size(); i++)
                    if (Got.GameCommands[i].Character == Character && Got.GameCommands[i].Type == Type &&
                        Seen++ == Nth) {
                        Found = Got.GameCommands[i];
                        return true;
                    }
                return false;
            },
            20s);
        EXPECT_TRUE(Came) << Character << " sent no command " << int(Type);
        return Found;
    }
    size_t countSent(const std::string& Character, uint8_t Type) const {
        size_t Count = 0;
        const TReceived Got = Road->server().received();
        for (size_t i = From; i < Got.GameCommands.size(); i++)
            Count += Got.GameCommands[i].Character == Character && Got.GameCommands[i].Type == Type;
        return Count;
    }

    static inline TRoad* Road = nullptr;
    static inline TClient *Aldric = nullptr, *Brenna = nullptr, *Ysolde = nullptr;
    size_t From = 0;
};

} // namespace

// Aldric double-clicks the channel's line, Brenna clicks it and then "Open".
TEST_F(ChatRoad, AJoinedChannelsTalkReachesEveryMember) {
    openChannel(*Aldric, "Trade", TChoice::DoubleClick);
    EXPECT_EQ(sent("Aldric", COMMAND_GET_CHANNELS).Type, COMMAND_GET_CHANNELS);
    EXPECT_EQ(sent("Aldric", COMMAND_JOIN_CHANNEL).Channel, 2);
    EXPECT_TRUE(selectTab(*Aldric, "Trade"));
    openChannel(*Brenna, "Trade");
    EXPECT_EQ(sent("Brenna", COMMAND_JOIN_CHANNEL).Channel, 2);
    EXPECT_TRUE(selectTab(*Brenna, "Trade"));

    say(*Aldric, "selling a sword");
    const TClientCommand Call = sent("Aldric", COMMAND_TALK);
    EXPECT_EQ(Call.Mode, ::TALK_CHANNEL_CALL);
    EXPECT_EQ(Call.Channel, 2);
    EXPECT_EQ(Call.Text, "selling a sword");
    EXPECT_TRUE(ShowsLine(*Aldric, "Aldric: selling a sword", ::TALK_CHANNEL_CALL));
    EXPECT_TRUE(ShowsLine(*Brenna, "Aldric: selling a sword", ::TALK_CHANNEL_CALL));
}

TEST_F(ChatRoad, ClosingAChannelsTabLeavesTheChannel) {
    Brenna->key("ctrl+e");
    EXPECT_EQ(sent("Brenna", COMMAND_LEAVE_CHANNEL).Channel, 2);
    EXPECT_TRUE(Brenna->waitUntilGone(TabCaption("Trade", true), ConsoleOf(*Brenna)));
    EXPECT_TRUE(ShowsTab(*Brenna, "Default"));
}

TEST_F(ChatRoad, APrivateConversationWithACharacterAndWithATownspersonWhoAnswers) {
    openConversation(*Aldric, "Brenna");
    EXPECT_EQ(sent("Aldric", COMMAND_PRIVATE_CHANNEL).Name, "Brenna");
    EXPECT_TRUE(selectTab(*Aldric, "Brenna"));
    say(*Aldric, "psst");
    const TClientCommand Message = sent("Aldric", COMMAND_TALK);
    EXPECT_EQ(Message.Mode, ::TALK_PRIVATE_MESSAGE);
    EXPECT_EQ(Message.Name, "Brenna");
    EXPECT_EQ(Message.Text, "psst");
    EXPECT_TRUE(ShowsLine(*Aldric, "Aldric: psst", ::TALK_OWN_MESSAGE));
    EXPECT_TRUE(ShowsLine(*Brenna, "Aldric: psst", ::TALK_PRIVATE_MESSAGE))
        << "without a tab: the default one";

    openConversation(*Aldric, "gregor");
    EXPECT_EQ(sent("Aldric", COMMAND_PRIVATE_CHANNEL, 1).Name, "gregor");
    EXPECT_TRUE(selectTab(*Aldric, "Gregor")) << "the name as the server wrote it";
    say(*Aldric, "Hello");
    const TClientCommand Hello = sent("Aldric", COMMAND_TALK, 1);
    EXPECT_EQ(Hello.Name, "Gregor");
    EXPECT_EQ(Hello.Text, "Hello");
    EXPECT_TRUE(ShowsLine(*Aldric, "Gregor: Greetings, traveller. The chest by the house holds a bag.",
                          ::TALK_PRIVATE_MESSAGE));
}

TEST_F(ChatRoad, TheOwnChannelInvitesTalksAndExcludes) {
    openChannel(*Aldric, "Private Chat Channel");
    EXPECT_EQ(sent("Aldric", COMMAND_OPEN_OWN_CHANNEL).Type, COMMAND_OPEN_OWN_CHANNEL);
    ASSERT_TRUE(selectTab(*Aldric, "Aldric's Channel"));
    tabMenu(*Aldric, "Aldric's Channel", "Invite player");
    ASSERT_TRUE(Aldric->waitUntilShown(DialogCaption("Invite player to private chat channel")));
    say(*Aldric, "Brenna");
    EXPECT_EQ(sent("Aldric", COMMAND_INVITE_TO_CHANNEL).Name, "Brenna");
    EXPECT_TRUE(ShowsLine(*Brenna, "Aldric invites you to Aldric's Channel.", ::TALK_EVENT_STATUS));

    openChannel(*Brenna, "Aldric's Channel");
    EXPECT_EQ(sent("Brenna", COMMAND_JOIN_CHANNEL).Channel, 100);
    ASSERT_TRUE(selectTab(*Brenna, "Aldric's Channel"));
    say(*Brenna, "hello");
    const TClientCommand Hello = sent("Brenna", COMMAND_TALK);
    EXPECT_EQ(Hello.Channel, 100);
    EXPECT_EQ(Hello.Text, "hello");
    EXPECT_TRUE(ShowsLine(*Aldric, "Brenna: hello", ::TALK_CHANNEL_CALL));

    say(*Aldric, "#x Brenna"); // the prefix of the own channel's exclusion
    const TClientCommand Exclude = sent("Aldric", COMMAND_EXCLUDE_FROM_CHANNEL);
    EXPECT_EQ(Exclude.Name, "Brenna");
    EXPECT_EQ(countSent("Aldric", COMMAND_TALK), 0u) << "the prefix says nothing";
    EXPECT_TRUE(ShowsLine(*Brenna,
                          "The channel has been closed. You need to re-join the channel if you get invited.",
                          ::TALK_ADMIN_MESSAGE));
}

TEST_F(ChatRoad, SaveWindowAppendsTheChannelToAFileNamedForIt) {
    tabMenu(*Aldric, "Aldric's Channel", "Save Window");
    EXPECT_TRUE(Aldric->waitUntilShown(StatusLine("Channel appended to Aldric's Channel.txt")));
    std::ifstream File(Aldric->directory() / "Aldric's Channel.txt");
    std::stringstream Saved;
    Saved << File.rdbuf();
    EXPECT_EQ(Saved.str().rfind("\nChannel saved at ", 0), 0u) << Saved.str();
    EXPECT_NE(Saved.str().find("\nBrenna: hello\n"), std::string::npos) << Saved.str();
    EXPECT_EQ(Road->commandCount(), From) << "saving is the client's own";
}

TEST_F(ChatRoad, ARequestIsFiledTakenUpAnsweredAndClosedAndASecondIsRefused) {
    openChannel(*Ysolde, "Rule Violations");
    EXPECT_EQ(sent("Ysolde", COMMAND_JOIN_CHANNEL).Channel, 3);
    ASSERT_TRUE(selectTab(*Ysolde, "Rule Violations"));

    Aldric->key("ctrl+r");
    ASSERT_TRUE(Aldric->waitUntilShown(DialogCaption("Report Rule Violation")));
    say(*Aldric, "A bot fishes all day");
    const TClientCommand Request = sent("Aldric", COMMAND_TALK);
    EXPECT_EQ(Request.Mode, ::TALK_GAMEMASTER_REQUEST);
    EXPECT_EQ(Request.Text, "A bot fishes all day");
    EXPECT_TRUE(selectTab(*Aldric, "Report Rule Violation"));
    EXPECT_TRUE(ShowsLine(*Aldric, "Please wait patiently for a gamemaster to reply.", ::TALK_ADMIN_MESSAGE));
    const std::optional<TRect> Queued = Ysolde->waitUntilShown(
        ConsoleLine("Aldric: A bot fishes all day", ::TALK_GAMEMASTER_REQUEST), ConsoleOf(*Ysolde));
    ASSERT_TRUE(Queued);

    Aldric->key("ctrl+r");
    EXPECT_TRUE(Aldric->waitUntilShown(
        StatusLine("You have already submitted a request. Please close the current request.")));

    Ysolde->rightClick(Queued->centre());
    const std::optional<TRect> Process = Ysolde->waitUntilShown(MenuEntry("Process Aldric"));
    ASSERT_TRUE(Process);
    Ysolde->click(Process->centre());
    EXPECT_EQ(sent("Ysolde", COMMAND_PROCESS_REQUEST).Name, "Aldric");
    ASSERT_TRUE(selectTab(*Ysolde, "Aldric's Report"));
    say(*Ysolde, "Where?");
    const TClientCommand Answer = sent("Ysolde", COMMAND_TALK);
    EXPECT_EQ(Answer.Mode, ::TALK_GAMEMASTER_ANSWER);
    EXPECT_EQ(Answer.Name, "Aldric");
    EXPECT_EQ(Answer.Text, "Where?");
    EXPECT_TRUE(ShowsLine(*Aldric, "Ysolde: Where?", ::TALK_GAMEMASTER_ANSWER));

    say(*Aldric, "By the pond");
    const TClientCommand Reply = sent("Aldric", COMMAND_TALK, 1);
    EXPECT_EQ(Reply.Mode, ::TALK_PLAYER_ANSWER);
    EXPECT_EQ(Reply.Text, "By the pond");
    EXPECT_EQ(countSent("Aldric", COMMAND_TALK), 2u) << "the refused request sent nothing";
    EXPECT_TRUE(ShowsLine(*Ysolde, "Aldric: By the pond", ::TALK_PLAYER_ANSWER));
    Ysolde->key("ctrl+e");
    EXPECT_EQ(sent("Ysolde", COMMAND_REMOVE_REQUEST).Name, "Aldric");
    EXPECT_TRUE(ShowsLine(*Aldric, "Your request has been closed.", ::TALK_ADMIN_MESSAGE));
}

TEST_F(ChatRoad, ThePlayersCancelTakesTheRequestOutOfTheQueue) {
    Aldric->key("ctrl+e"); // the closed request's tab
    EXPECT_EQ(sent("Aldric", COMMAND_CANCEL_REQUEST).Type, COMMAND_CANCEL_REQUEST);

    Brenna->key("ctrl+r");
    ASSERT_TRUE(Brenna->waitUntilShown(DialogCaption("Report Rule Violation")));
    say(*Brenna, "Someone blocks the door");
    EXPECT_EQ(sent("Brenna", COMMAND_TALK).Text, "Someone blocks the door");
    const TPattern Queued = ConsoleLine("Brenna: Someone blocks the door", ::TALK_GAMEMASTER_REQUEST);
    ASSERT_TRUE(Ysolde->waitUntilShown(Queued, ConsoleOf(*Ysolde)));
    ASSERT_TRUE(selectTab(*Brenna, "Report Rule Violation"));
    Brenna->key("ctrl+e");
    EXPECT_EQ(sent("Brenna", COMMAND_CANCEL_REQUEST).Type, COMMAND_CANCEL_REQUEST);
    EXPECT_TRUE(Ysolde->waitUntilGone(Queued, ConsoleOf(*Ysolde)));
}

TEST_F(ChatRoad, TheGamemastersReportCarriesReasonActionAndComment) {
    Ysolde->key("ctrl+y");
    ASSERT_TRUE(Ysolde->waitUntilShown(DialogCaption("Rule Violation")));
    Ysolde->type("Aldric");
    const std::optional<TRect> Reason = Ysolde->waitUntilShown(ListLine("1a) Offensive name", false));
    ASSERT_TRUE(Reason);
    Ysolde->click(Reason->centre());
    const std::optional<TRect> Action = Ysolde->waitUntilShown(ListLine("Name Report", false));
    ASSERT_TRUE(Action);
    Ysolde->click(Action->centre());
    const std::optional<TRect> Comment =
        Ysolde->waitUntilShown(Text("Comment", SkinProperties.Popups.MessageFormat));
    ASSERT_TRUE(Comment);
    Ysolde->click({Comment->x + 20, Comment->y + Comment->Height + 8}); // the field below its label
    say(*Ysolde, "spams the square");

    const TClientCommand Report = sent("Ysolde", COMMAND_RULE_VIOLATION);
    EXPECT_EQ(Report.Name, "Aldric");
    EXPECT_EQ(Report.Reason, 0);
    EXPECT_EQ(Report.Action, 1);
    EXPECT_EQ(Report.Comment, "spams the square");
    EXPECT_EQ(Report.StatementId, 0u);
    EXPECT_EQ(Report.IpBanishment, 0);
    EXPECT_TRUE(Ysolde->waitUntilShown(StatusLine("Your report on Aldric has been received.")));
}

TEST_F(ChatRoad, EveryTalkModeOfPlayersAndGamemastersReachesTheServer) {
    for (TClient* Client : {Aldric, Brenna, Ysolde})
        Client->key("ctrl+d"); // the default tab
    say(*Aldric, "#w quietly");
    say(*Aldric, "#y LOUDLY");
    say(*Ysolde, "#b Server restart soon");
    say(*Ysolde, "#a Anonymous notice");
    say(*Ysolde, "@Aldric@ A word, please");
    say(*Ysolde, "$Aldric$ Unsigned word");
    openChannel(*Ysolde, "Trade"); // Aldric is a member
    ASSERT_TRUE(selectTab(*Ysolde, "Trade"));
    say(*Ysolde, "#c Keep it civil");
    say(*Ysolde, "#d Nameless call");

    std::vector<std::pair<uint8_t, std::string>> Talks;
    const bool AllCame = Road->server().waitUntil(
        [&](const TReceived& Got) {
            Talks.clear();
            for (size_t i = From; i < Got.GameCommands.size(); i++)
                if (Got.GameCommands[i].Type == COMMAND_TALK)
                    Talks.emplace_back(Got.GameCommands[i].Mode, Got.GameCommands[i].Text);
            return Talks.size() >= 8;
        },
        20s);
    EXPECT_TRUE(AllCame);
    std::sort(Talks.begin(), Talks.end()); // two clients: their lines may cross on the way
    EXPECT_EQ(Talks, (std::vector<std::pair<uint8_t, std::string>>{{2, "quietly"},
                                                                   {3, "LOUDLY"},
                                                                   {9, "Server restart soon"},
                                                                   {10, "Keep it civil"},
                                                                   {11, "A word, please"},
                                                                   {13, "Anonymous notice"},
                                                                   {14, "Nameless call"},
                                                                   {15, "Unsigned word"}}));
    EXPECT_TRUE(ShowsLine(*Brenna, "Ysolde: Server restart soon", ::TALK_GAMEMASTER_BROADCAST));
    EXPECT_TRUE(ShowsLine(*Aldric, "Ysolde: A word, please", ::TALK_GAMEMASTER_MESSAGE));
    EXPECT_TRUE(ShowsLine(*Brenna, "Anonymous notice", ::TALK_ADMIN_MESSAGE));
    ASSERT_TRUE(selectTab(*Aldric, "Trade"));
    EXPECT_TRUE(ShowsLine(*Aldric, "Ysolde: Keep it civil", ::TALK_GAMEMASTER_CHANNELCALL));
    EXPECT_TRUE(ShowsLine(*Aldric, "Nameless call", ::TALK_ANONYMOUS_CHANNELCALL));
}

TEST_F(ChatRoad, ChannelsOpenAtLogoutAreJoinedAgainAtTheNextLogin) {
    Road->logout(*Aldric);
    Aldric->key("Escape"); // from the character list back to the start screen
    From = Road->commandCount();
    Road->login(*Aldric, "Aldric", 1, "pellarune");
    ASSERT_TRUE(Aldric->InGame);
    EXPECT_EQ(sent("Aldric", COMMAND_JOIN_CHANNEL).Channel, 2);
    EXPECT_TRUE(ShowsTab(*Aldric, "Trade", false)) << "joined again at the start: not selected";
    EXPECT_TRUE(ShowsTab(*Aldric, "Default"));
}
