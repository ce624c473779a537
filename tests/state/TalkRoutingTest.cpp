// Speaker lists and filtering, routing of received and own texts into the console's buffers.
#include "state/TalkRouting.h"
#include "foundation/sysinc.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

uint32_t FakeTimer = 0;
uint32_t ReadFakeTimer() { return FakeTimer; }

class Routing : public ::testing::Test {
protected:
    void SetUp() override {
        SetMillisecondTimer(ReadFakeTimer);
        FakeTimer = 1000;
        ResetOptions();
        ClearWhiteList();
        InitTalk();
    }
    void TearDown() override {
        ExitTalk();
        SetMillisecondTimer(nullptr);
    }
};

std::vector<std::string> Texts(TTextBuffer* Buffer) {
    std::vector<std::string> Result;
    for (TTalkLine* Line = Buffer->seekLine(0); Line != nullptr; Line = Buffer->nextLine())
        Result.push_back(Line->AfterStamp);
    return Result;
}

using Lines = std::vector<std::string>;

} // namespace

TEST_F(Routing, StartValues) {
    EXPECT_TRUE(GetWhiteListActive());
    EXPECT_FALSE(GetAllowVIPs());
    EXPECT_TRUE(GetIgnoreListActive());
    ASSERT_NE(DefaultTextBuffer(), nullptr);
    EXPECT_EQ(DefaultTextBuffer()->getReceiveTalkMode(), TALK_SAY);
    EXPECT_EQ(DefaultTextBuffer()->getSendTalkMode(), TALK_SAY);
}

TEST_F(Routing, WhiteListBeatsIgnoreYelling) {
    IgnoreMode(TALK_YELL);
    EXPECT_TRUE(IsModeIgnored(TALK_YELL));
    EXPECT_TRUE(IsTalkFiltered(TALK_YELL, "Loud", -1));
    EXPECT_FALSE(IsTalkFiltered(TALK_SAY, "Loud", -1));
    AddToWhiteList("loud", false);
    EXPECT_FALSE(IsTalkFiltered(TALK_YELL, "Loud", -1));
    SetWhiteListActive(false);
    EXPECT_TRUE(IsTalkFiltered(TALK_YELL, "Loud", -1));
    SetIgnoreListActive(false);
    EXPECT_FALSE(IsTalkFiltered(TALK_YELL, "Loud", -1));
}

TEST_F(Routing, VIPsPassOnlyWithWhiteListAndAllowVIPs) {
    AddVIPName("Friend");
    AddToIgnoreList("friend", false);
    EXPECT_TRUE(IsTalkFiltered(TALK_SAY, "Friend", -1));
    SetAllowVIPs(true);
    EXPECT_FALSE(IsTalkFiltered(TALK_SAY, "FRIEND", -1));
    SetWhiteListActive(false);
    EXPECT_TRUE(IsTalkFiltered(TALK_SAY, "Friend", -1));
    SetWhiteListActive(true);
    RemoveVIPName("fRIEND");
    EXPECT_TRUE(IsTalkFiltered(TALK_SAY, "Friend", -1));
}

TEST_F(Routing, GameMastersAreNeverSuppressed) {
    AddToIgnoreList("GM Bob", true);
    IgnoreMode(TALK_PRIVATE_MESSAGE);
    EXPECT_FALSE(IsTalkFiltered(TALK_GAMEMASTER_BROADCAST, "GM Bob", -1));
    EXPECT_FALSE(IsTalkFiltered(TALK_GAMEMASTER_MESSAGE, "GM Bob", -1));
    EXPECT_TRUE(IsTalkFiltered(TALK_PRIVATE_MESSAGE, "Anyone", -1));
    EXPECT_TRUE(IsTalkFiltered(TALK_SAY, "gm bob", -1));
}

TEST_F(Routing, IgnoreEntriesByNameAndByMode) {
    AddToIgnoreList("Pest", true);
    RemoveFromIgnoreList("PEST");
    EXPECT_FALSE(IsTalkFiltered(TALK_SAY, "Pest", -1));
    EXPECT_EQ(GetIgnoreListText(), nullptr);

    IgnoreMode(TALK_YELL);
    IgnoreMode(TALK_PRIVATE_MESSAGE);
    IgnoreMode(TALK_YELL); // replaces, does not duplicate
    std::unique_ptr<char[]> Text = GetIgnoreListText();
    ASSERT_NE(Text, nullptr);
    EXPECT_STREQ(Text.get(), "");
    // A mode entry never answers a name lookup, a player entry never a mode lookup.
    EXPECT_FALSE(GetIgnoreListFlag("Anyone"));
    AddToIgnoreList("Pest", true);
    AddToIgnoreList("Other", false);
    EXPECT_FALSE(IsModeIgnored(0));
    EXPECT_TRUE(GetIgnoreListFlag("pest"));
    EXPECT_FALSE(GetIgnoreListFlag("Other"));
    EXPECT_STREQ(GetIgnoreListText().get(), "Pest\nOther\n");
    UnignoreMode(TALK_YELL);
    EXPECT_FALSE(IsModeIgnored(TALK_YELL));
    EXPECT_TRUE(IsModeIgnored(TALK_PRIVATE_MESSAGE));
    RemoveFromIgnoreList("Pest");
    EXPECT_TRUE(IsModeIgnored(TALK_PRIVATE_MESSAGE));
    ClearIgnoreList();
    EXPECT_EQ(GetIgnoreListText(), nullptr);
}

TEST_F(Routing, WhiteListEntriesAreReplacedWithTheirNewFlag) {
    AddToWhiteList("Ann", true);
    AddToWhiteList("ANN", false);
    EXPECT_STREQ(GetWhiteListText().get(), "ANN\n");
    EXPECT_FALSE(GetWhiteListFlag("ann"));
    AddToWhiteList("ann", true);
    EXPECT_TRUE(GetWhiteListFlag("Ann"));
}

TEST_F(Routing, IgnoreIndicatorLastsOneSecond) {
    EXPECT_FALSE(IsIgnoreTimerRunning());
    StartIgnoreTimer();
    FakeTimer += 999;
    EXPECT_TRUE(IsIgnoreTimerRunning());
    FakeTimer += 1;
    EXPECT_FALSE(IsIgnoreTimerRunning());
    FakeTimer = 0xFFFFFFFFu - 200; // the second runs across the clock's wrap
    StartIgnoreTimer();
    FakeTimer += 700;
    EXPECT_TRUE(IsIgnoreTimerRunning());
    FakeTimer += 300;
    EXPECT_FALSE(IsIgnoreTimerRunning());
}

TEST_F(Routing, SpeechAndPrivateMessages) {
    AddTalk(1, "hello", TALK_SAY, "Abc", -1, 0);
    AddTalk(2, "psst", TALK_PRIVATE_MESSAGE, "Bob", -1, 0);
    EXPECT_EQ(Texts(DefaultTextBuffer()), (Lines{"Abc: hello", "Bob: psst"}));
    EXPECT_TRUE(GetConsoleChanged());

    TTextBuffer* Conversation = CreateTextBuffer(4, 4, "bob", -1);
    AddTalk(3, "again", TALK_PRIVATE_MESSAGE, "Bob", -1, 0);
    AddTalk(4, "other", TALK_PRIVATE_MESSAGE, "Carl", -1, 0);
    EXPECT_EQ(Texts(Conversation), Lines{"Bob: again"});
    EXPECT_EQ(Conversation->seekLine(0)->_Mode, TALK_PRIVATE_MESSAGE);
    EXPECT_EQ(Texts(DefaultTextBuffer()).back(), "Carl: other");
    // Broadcasts and game-master messages match no tab and always reach the default one.
    AddTalk(5, "news", TALK_GAMEMASTER_MESSAGE, "Bob", -1, 0);
    EXPECT_EQ(Texts(DefaultTextBuffer()).back(), "Bob: news");
}

TEST_F(Routing, ChannelStatementsOnlyInTheirTab) {
    AddTalk(1, "lost", TALK_CHANNEL_CALL, "Abc", 3, 0);
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
    TTextBuffer* Channel = CreateTextBuffer(5, 5, nullptr, 3);
    AddTalk(2, "one", TALK_CHANNEL_CALL, "Abc", 3, 0);
    AddTalk(3, "two", TALK_GAMEMASTER_CHANNELCALL, "GM", 3, 0);
    AddTalk(4, "three", TALK_CHANNEL_HIGHLIGHT, "Abc", 3, 0);
    AddTalk(5, "four", TALK_ANONYMOUS_CHANNELCALL, "Hidden", 3, 0);
    AddTalk(6, "elsewhere", TALK_CHANNEL_CALL, "Abc", 4, 0);
    EXPECT_EQ(Texts(Channel), (Lines{"Abc: one", "GM: two", "Abc: three", "four"}));
    EXPECT_EQ(Channel->seekLine(1)->_Mode, TALK_GAMEMASTER_CHANNELCALL);
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
}

TEST_F(Routing, LastMatchingTabWins) {
    TTextBuffer* First = CreateTextBuffer(4, 4, "Bob", -1);
    // A second tab for the same statements: a request conversation registered for any name of mode 4
    // cannot be made through the factory, so the entry is added by hand behind the first.
    TTextBuffer Second(TALK_PRIVATE_MESSAGE);
    AddTalkFilter(TALK_PRIVATE_MESSAGE, nullptr, -1, &Second, ConsoleFilterList(), false);
    AddTalk(1, "hi", TALK_PRIVATE_MESSAGE, "Bob", -1, 0);
    EXPECT_EQ(First->getNumberOfLines(), 0);
    EXPECT_EQ(Texts(&Second), Lines{"Bob: hi"});
    DeleteTalkFilter(FindTextBufferFilter(&Second, ConsoleFilterList()), ConsoleFilterList());
}

TEST_F(Routing, RequestsGoToTheQueueAndConversations) {
    AddTalk(1, "help", TALK_GAMEMASTER_REQUEST, "Player", -1, -30);
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
    TTextBuffer* Queue = CreateTextBuffer(6, 1, nullptr, 5);
    TTextBuffer* Answer = CreateTextBuffer(8, 7, "Player", -1);
    AddTalk(2, "help me", TALK_GAMEMASTER_REQUEST, "Player", -1, -30);
    AddTalk(3, "thanks", TALK_PLAYER_ANSWER, "Player", -1, 0);
    AddTalk(4, "none", TALK_GAMEMASTER_ANSWER, "GM", -1, 0);
    EXPECT_EQ(Texts(Queue), Lines{"Player: help me"});
    EXPECT_EQ(Texts(Answer), Lines{"Player: thanks"});
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
}

TEST_F(Routing, ServerMessagesByOption) {
    TTextBuffer* Channel = CreateTextBuffer(5, 5, nullptr, 2);
    TTextBuffer* Quiet = CreateTextBuffer(5, 5, nullptr, 3);
    TTextBuffer* Queue = CreateTextBuffer(6, 1, nullptr, 5);
    Channel->ShowServerMessages = true;
    Queue->ShowServerMessages = true;

    AddTalk(0, "info", TALK_INFO_MESSAGE, nullptr, -1, 0);
    AddTalk(0, "status only", TALK_STATUS_ONLY, nullptr, -1, 0);
    AddTalk(0, "status", TALK_STATUS_MESSAGE, nullptr, -1, 0);
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
    AddTalk(0, "admin", TALK_ADMIN_MESSAGE, nullptr, -1, 0);
    AddTalk(0, "event", TALK_EVENT_STATUS, nullptr, -1, 0);
    EXPECT_EQ(Texts(DefaultTextBuffer()), (Lines{"admin", "event"}));
    EXPECT_EQ(Texts(Channel), (Lines{"admin", "event"}));
    EXPECT_EQ(Quiet->getNumberOfLines(), 0);
    EXPECT_EQ(Queue->getNumberOfLines(), 0);

    SetInfoMessages(true);
    SetStatusMessages(true);
    SetEventMessages(false);
    AddTalk(0, "info", TALK_INFO_MESSAGE, nullptr, -1, 0);
    AddTalk(0, "status", TALK_STATUS_MESSAGE, nullptr, -1, 0);
    AddTalk(0, "event", TALK_EVENT_MESSAGE, nullptr, -1, 0);
    AddTalk(0, "status only", TALK_STATUS_ONLY, nullptr, -1, 0);
    EXPECT_EQ(Texts(Channel), (Lines{"admin", "event", "info", "status"}));
}

TEST_F(Routing, OwnMessagesEchoIntoTheirTab) {
    TTextBuffer* Conversation = CreateTextBuffer(4, 4, "Bob", -1);
    AddOwnPrivateMessage("Me", "to bob", TALK_PRIVATE_MESSAGE, "BOB", -1);
    AddOwnPrivateMessage("Me", "to carl", TALK_PRIVATE_MESSAGE, "Carl", -1);
    AddOwnPrivateMessage("Me", "to a channel without tab", TALK_CHANNEL_CALL, nullptr, 6);
    EXPECT_EQ(Texts(Conversation), Lines{"Me: to bob"});
    EXPECT_EQ(Conversation->seekLine(0)->_Mode, TALK_OWN_MESSAGE);
    EXPECT_EQ(Texts(DefaultTextBuffer()), Lines{"Me: to carl"});
    TTextBuffer* Request = CreateTextBuffer(7, 8, nullptr, -1);
    // After the player's own answer the console names the conversation by its receive mode.
    AddOwnPrivateMessage("Me", "my answer", TALK_GAMEMASTER_ANSWER, "", -1);
    EXPECT_EQ(Texts(Request), Lines{"Me: my answer"});
}

TEST_F(Routing, AddTalkChecksText) {
    std::string Failure = ThrownFrom("TalkRouting.cpp", [] { AddTalk(77, nullptr, TALK_SAY, "a", -1, 0); });
    EXPECT_EQ(Failure.rfind("exception occurred (StatementID = 77), reason:", 0), 0u) << Failure;
    EXPECT_NE(Failure.find("Text!=NULL"), std::string::npos);
}

TEST_F(Routing, ClearTalkEmptiesBoxesStatusAndDefaultTab) {
    AddTalk(1, "hello", TALK_SAY, "Abc", -1, 0);
    TTextBuffer* Channel = CreateTextBuffer(5, 5, nullptr, 1);
    AddTalk(2, "kept", TALK_CHANNEL_CALL, "Abc", 1, 0);
    AddTalkboxStatement(TALK_SAY, "Abc", 0, 0, 0, "hello");
    SetStatusMessage("status", true);
    ClearTalk();
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
    EXPECT_EQ(Channel->getNumberOfLines(), 1);
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);
    EXPECT_EQ(GetStatusMessage(), nullptr);
    EXPECT_TRUE(GetMapTextChanged());
}

TEST_F(Routing, IgnoreNoticeOnlyForPermanentPlayers) {
    AddToIgnoreList("Passing", false);
    IgnoreMode(TALK_YELL);
    ShowIgnoreNotice();
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
    AddToIgnoreList("Forever", true);
    GetConsoleChanged();
    ShowIgnoreNotice();
    EXPECT_EQ(Texts(DefaultTextBuffer()), Lines{"You are permanently ignoring players."});
    EXPECT_EQ(DefaultTextBuffer()->seekLine(0)->_Mode, TALK_EVENT_STATUS);
    EXPECT_TRUE(GetConsoleChanged());
}

TEST_F(Routing, ExitTalkFreesListsAndBuffers) {
    AddToWhiteList("W", true);
    AddToIgnoreList("I", true);
    AddVIPName("V");
    CreateTextBuffer(5, 5, nullptr, 1);
    ExitTalk();
    EXPECT_EQ(DefaultTextBuffer(), nullptr);
    EXPECT_EQ(GetWhiteListText(), nullptr);
    EXPECT_EQ(GetIgnoreListText(), nullptr);
    EXPECT_EQ(FindTextBuffer(5, nullptr, 1), nullptr);
    SetAllowVIPs(true);
    EXPECT_FALSE(IsTalkFiltered(TALK_SAY, "V", -1));
    InitTalk();
}
