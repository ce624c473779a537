// Speaker lists and filtering, routing of received and own texts into the console's buffers.
#include "state/TalkRouting.h"
#include "foundation/sysinc.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

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

Lines Texts(TTextBuffer* Buffer) {
    Lines Result;
    for (TTalkLine* Line = Buffer->seekLine(0); Line != nullptr; Line = Buffer->nextLine())
        Result.push_back(Line->AfterStamp);
    return Result;
}

} // namespace

TEST_F(Routing, WhiteListBeatsIgnoreYelling) {
    IgnoreMode(TALK_YELL);
    EXPECT_TRUE(IsTalkFiltered(TALK_YELL, "Loud", -1));
    EXPECT_FALSE(IsTalkFiltered(TALK_SAY, "Loud", -1));
    AddToWhiteList("loud", false);
    EXPECT_FALSE(IsTalkFiltered(TALK_YELL, "Loud", -1));
    SetWhiteListActive(false);
    EXPECT_TRUE(IsTalkFiltered(TALK_YELL, "Loud", -1));
}

TEST_F(Routing, VIPsPassOnlyWithWhiteListAndAllowVIPs) {
    AddVIPName("Friend");
    AddToIgnoreList("friend", false);
    EXPECT_TRUE(IsTalkFiltered(TALK_SAY, "Friend", -1));
    SetAllowVIPs(true);
    EXPECT_FALSE(IsTalkFiltered(TALK_SAY, "FRIEND", -1));
    SetWhiteListActive(false);
    EXPECT_TRUE(IsTalkFiltered(TALK_SAY, "Friend", -1));
}

TEST_F(Routing, GameMastersAreNeverSuppressed) {
    AddToIgnoreList("GM Bob", true);
    EXPECT_FALSE(IsTalkFiltered(TALK_GAMEMASTER_BROADCAST, "GM Bob", -1));
    EXPECT_TRUE(IsTalkFiltered(TALK_SAY, "gm bob", -1));
}

TEST_F(Routing, IgnoreEntriesByNameAndByMode) {
    AddToIgnoreList("Pest", true);
    RemoveFromIgnoreList("PEST");
    EXPECT_FALSE(IsTalkFiltered(TALK_SAY, "Pest", -1));
    EXPECT_EQ(GetIgnoreListText(), nullptr);
    IgnoreMode(TALK_YELL);
    IgnoreMode(TALK_PRIVATE_MESSAGE);
    EXPECT_STREQ(GetIgnoreListText().get(), "");
    // A mode entry never answers a name lookup, a player entry never a mode lookup.
    EXPECT_FALSE(GetIgnoreListFlag("Anyone"));
    AddToIgnoreList("Pest", true);
    AddToIgnoreList("Other", false);
    AddToIgnoreList("OTHER", false);
    EXPECT_FALSE(IsModeIgnored(0));
    EXPECT_TRUE(GetIgnoreListFlag("pest"));
    EXPECT_STREQ(GetIgnoreListText().get(), "Pest\nOTHER\n");
    UnignoreMode(TALK_YELL);
    EXPECT_FALSE(IsModeIgnored(TALK_YELL));
    EXPECT_TRUE(IsModeIgnored(TALK_PRIVATE_MESSAGE));
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
}

TEST_F(Routing, PrivateMessagesFindTheirConversation) {
    AddTalk(1, "psst", TALK_PRIVATE_MESSAGE, "Bob", -1, 0);
    EXPECT_EQ(Texts(DefaultTextBuffer()), Lines{"Bob: psst"});
    TTextBuffer* Conversation = CreateTextBuffer(4, 4, "bob", -1);
    AddTalk(2, "again", TALK_PRIVATE_MESSAGE, "Bob", -1, 0);
    AddTalk(3, "news", TALK_GAMEMASTER_MESSAGE, "Bob", -1, 0);
    EXPECT_EQ(Texts(Conversation), Lines{"Bob: again"});
    EXPECT_EQ(Texts(DefaultTextBuffer()), (Lines{"Bob: psst", "Bob: news"}));
    // With two matching tabs the one in the higher registry slot takes the statement.
    TTextBuffer Second(TALK_PRIVATE_MESSAGE);
    AddTalkFilter(TALK_PRIVATE_MESSAGE, nullptr, -1, &Second, ConsoleFilterList(), false);
    AddTalk(4, "last", TALK_PRIVATE_MESSAGE, "Bob", -1, 0);
    EXPECT_EQ(Texts(&Second), Lines{"Bob: last"});
    DeleteTalkFilter(FindTextBufferFilter(&Second, ConsoleFilterList()), ConsoleFilterList());
}

TEST_F(Routing, ChannelStatementsAndRequestsOnlyInTheirTabs) {
    AddTalk(1, "lost", TALK_CHANNEL_CALL, "Abc", 3, 0);
    AddTalk(2, "lost", TALK_GAMEMASTER_REQUEST, "Player", -1, -30);
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
    TTextBuffer* Channel = CreateTextBuffer(5, 5, nullptr, 3);
    TTextBuffer* Queue = CreateTextBuffer(6, 1, nullptr, 5);
    TTextBuffer* Answer = CreateTextBuffer(8, 7, "Player", -1);
    AddTalk(3, "one", TALK_CHANNEL_CALL, "Abc", 3, 0);
    AddTalk(4, "two", TALK_GAMEMASTER_CHANNELCALL, "GM", 3, 0);
    AddTalk(5, "three", TALK_ANONYMOUS_CHANNELCALL, "Hidden", 3, 0);
    AddTalk(6, "elsewhere", TALK_CHANNEL_HIGHLIGHT, "Abc", 4, 0);
    AddTalk(7, "help me", TALK_GAMEMASTER_REQUEST, "Player", -1, -30);
    AddTalk(8, "thanks", TALK_PLAYER_ANSWER, "Player", -1, 0);
    EXPECT_EQ(Texts(Channel), (Lines{"Abc: one", "GM: two", "three"}));
    EXPECT_EQ(Channel->seekLine(1)->_Mode, TALK_GAMEMASTER_CHANNELCALL);
    EXPECT_EQ(Texts(Queue), Lines{"Player: help me"});
    EXPECT_EQ(Texts(Answer), Lines{"Player: thanks"});
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
}

TEST_F(Routing, ServerMessagesByOption) {
    TTextBuffer* Channel = CreateTextBuffer(5, 5, nullptr, 2);
    TTextBuffer* Queue = CreateTextBuffer(6, 1, nullptr, 5);
    Channel->ShowServerMessages = true;
    Queue->ShowServerMessages = true;
    for (int32_t Mode : {TALK_INFO_MESSAGE, TALK_STATUS_ONLY, TALK_STATUS_MESSAGE, TALK_ADMIN_MESSAGE})
        AddTalk(0, std::to_string(Mode).c_str(), Mode, nullptr, -1, 0);
    EXPECT_EQ(Texts(DefaultTextBuffer()), Lines{"18"});
    EXPECT_EQ(Texts(Channel), Lines{"18"});
    EXPECT_EQ(Queue->getNumberOfLines(), 0);
    SetInfoMessages(true);
    SetEventMessages(false);
    for (int32_t Mode : {TALK_INFO_MESSAGE, TALK_EVENT_MESSAGE, TALK_EVENT_STATUS, TALK_STATUS_ONLY})
        AddTalk(0, std::to_string(Mode).c_str(), Mode, nullptr, -1, 0);
    EXPECT_EQ(Texts(Channel), (Lines{"18", "22"}));
}

TEST_F(Routing, OwnMessagesEchoIntoTheirTab) {
    TTextBuffer* Conversation = CreateTextBuffer(4, 4, "Bob", -1);
    AddOwnPrivateMessage("Me", "to bob", TALK_PRIVATE_MESSAGE, "BOB", -1);
    AddOwnPrivateMessage("Me", "to carl", TALK_PRIVATE_MESSAGE, "Carl", -1);
    AddOwnPrivateMessage("Me", "to a channel without tab", TALK_CHANNEL_CALL, nullptr, 6);
    EXPECT_EQ(Texts(Conversation), Lines{"Me: to bob"});
    EXPECT_EQ(Conversation->seekLine(0)->_Mode, TALK_OWN_MESSAGE);
    EXPECT_EQ(Texts(DefaultTextBuffer()), Lines{"Me: to carl"});
}

TEST_F(Routing, ClearTalkAndIgnoreNotice) {
    AddTalk(1, "hello", TALK_SAY, "Abc", -1, 0);
    AddTalkboxStatement(TALK_SAY, "Abc", 0, 0, 0, "hello");
    SetStatusMessage("status", true);
    AddToIgnoreList("Passing", false);
    IgnoreMode(TALK_YELL);
    ClearTalk();
    ShowIgnoreNotice();
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);
    EXPECT_EQ(GetStatusMessage(), nullptr);
    AddToIgnoreList("Forever", true);
    GetConsoleChanged();
    ShowIgnoreNotice();
    EXPECT_EQ(Texts(DefaultTextBuffer()), Lines{"You are permanently ignoring players."});
    EXPECT_EQ(DefaultTextBuffer()->seekLine(0)->_Mode, TALK_EVENT_STATUS);
    EXPECT_TRUE(GetConsoleChanged());
}
