// Talk-mode colours, talk-box wrapping, holding back and ageing, and the status message.
#include "state/Talk.h"
#include "foundation/sysinc.h"
#include "state/Preferences.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

uint32_t FakeTimer = 0;
uint32_t ReadFakeTimer() { return FakeTimer; }

class Talkboxes : public ::testing::Test {
protected:
    void SetUp() override {
        SetMillisecondTimer(ReadFakeTimer);
        FakeTimer = 5000000;
        SetPrivateMessages(true);
        ResetTalkboxes();
        ProcessTalkboxes(); // takes the clock's current time as the last pass
        GetMapTextChanged();
    }
    void TearDown() override { SetMillisecondTimer(nullptr); }

    void advance(uint32_t Milliseconds) {
        FakeTimer += Milliseconds;
        ProcessTalkboxes();
    }
};

Lines BoxLines(const TTalkbox& Box) { return Lines(Box.Lines, Box.Lines + Box.NumberOfLines); }

Lines Wrapped(const std::string& Text) {
    TTalkbox Box{};
    WrapTalkboxText(Box, Text.c_str());
    return BoxLines(Box);
}

std::string Color(int32_t Mode) {
    int32_t R, G, B;
    GetTalkModeColor(R, G, B, Mode);
    return std::to_string(R) + "," + std::to_string(G) + "," + std::to_string(B);
}

} // namespace

TEST(TalkModeColor, TableAndUnknownModes) {
    EXPECT_EQ(Color(TALK_PRIVATE_MESSAGE), "96,248,248");
    EXPECT_EQ(Color(TALK_CHANNEL_HIGHLIGHT), "240,180,0");
    EXPECT_EQ(Color(TALK_RED_MESSAGE), "248,96,96");
    EXPECT_EQ(ThrownFrom("Talk.cpp", [] { Color(TALK_NONE); }), "none is talking");
    // Modes straight from the server: anything outside the table fails before it is used as an index.
    for (int32_t Mode : {26, 27, 255, -1, INT32_MIN})
        EXPECT_EQ(ThrownFrom("Talk.cpp", [&] { Color(Mode); }),
                  "something unknown is talking (TalkMode = " + std::to_string(Mode) + ")");
}

TEST(TalkboxWrap, LengthsBlanksAndLineFeeds) {
    EXPECT_EQ(Wrapped(std::string(39, 'a')), Lines{std::string(39, 'a')});
    EXPECT_EQ(Wrapped(std::string(40, 'a')), (Lines{std::string(38, 'a') + "-", "aa"}));
    EXPECT_EQ(Wrapped("two words\nthird"), (Lines{"two words", "third"}));
    // 45 characters whose last blank among the first 40 stands at position 30: the blank is lost.
    EXPECT_EQ(Wrapped(std::string(30, 'a') + " " + std::string(14, 'b')),
              (Lines{std::string(30, 'a'), std::string(14, 'b')}));
    EXPECT_EQ(Wrapped(std::string(39, 'c') + "\tdd"), (Lines{std::string(39, 'c'), "dd"}));
    std::string Many;
    for (int i = 0; i < 12; i++)
        Many += "line" + std::to_string(i) + "\n";
    Lines Ten = Wrapped(Many);
    ASSERT_EQ(Ten.size(), 10u);
    EXPECT_EQ(Ten.back(), "line9");
}

TEST_F(Talkboxes, StatementHeadersPositionsAndDuration) {
    AddTalkboxStatement(TALK_WHISPER, "Abc", 100, 200, 7, "psst");
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_TRUE(GetMapTextChanged());
    EXPECT_EQ(BoxLines(GetTalkbox(1)), (Lines{"Abc whispers:", "psst"}));
    EXPECT_EQ(GetTalkbox(1).RemainingTime, (4 / 2 + 30) * 100);
    int32_t X, Y, Z;
    GetTalkboxPosition(1, X, Y, Z);
    EXPECT_EQ(X * 1000000 + Y * 1000 + Z, 100200007);
    AddTalkboxStatement(TALK_GAMEMASTER_MESSAGE, "GM", 1, 2, 3, "hello");
    GetTalkboxPosition(2, X, Y, Z);
    EXPECT_EQ(X + Y + Z, 0);
    // A speaker name longer than the line is cut, not written past it.
    AddTalkboxStatement(TALK_YELL, std::string(60, 'N').c_str(), 0, 0, 0, "x");
    EXPECT_EQ(std::string(GetTalkboxLine(3, 0)), std::string(39, 'N'));
    std::string Failure = ThrownFrom("Talk.cpp", [] { GetTalkboxMode(4); });
    EXPECT_EQ(Failure.rfind("exception occurred (Number = 4), reason:", 0), 0u) << Failure;
    EXPECT_NE(Failure.find(
                  "(Number = 4) (GetNumberOfTalkboxes() = 3), reason:\nIn(Number,1,GetNumberOfTalkboxes())"),
              std::string::npos);
}

TEST_F(Talkboxes, SameSpeakerAtSamePlaceJoinsTheShownBox) {
    AddTalkboxStatement(TALK_SAY, "Abc", 5, 5, 7, "first text"); // 3,500 ms
    advance(1000);
    AddTalkboxStatement(TALK_SAY, "Abc", 5, 5, 7, "second text!"); // 3,600 ms
    AddTalkboxStatement(TALK_SAY, "Abc", 6, 5, 7, "elsewhere");
    ASSERT_EQ(GetNumberOfTalkboxes(), 2);
    EXPECT_EQ(BoxLines(GetTalkbox(1)), (Lines{"Abc says:", "first text", "second text!"}));
    EndTalkbox(2);
    advance(2500); // the first box runs out; the waiting one shows its own text for its rest
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_EQ(BoxLines(GetTalkbox(1)), (Lines{"Abc says:", "second text!"}));
    EXPECT_EQ(GetTalkbox(1).RemainingTime, 3600 - 2500);
    advance(1100);
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);
}

TEST_F(Talkboxes, EleventhBoxEndsTheOldestEvenWhenWaiting) {
    AddTalkboxStatement(TALK_GAMEMASTER_BROADCAST, "GM", 0, 0, 0, "first"); // slot 0
    AddTalkboxStatement(TALK_GAMEMASTER_BROADCAST, "GM", 0, 0, 0, "waits"); // slot 1, waiting
    for (int i = 0; i < 8; i++)
        AddTalkboxStatement(TALK_SAY, "S", i, 0, 0, "x");
    EXPECT_EQ(GetNumberOfTalkboxes(), 9);
    GetTalkbox(1).Sequence = 1000; // the waiting broadcast is now the oldest box
    AddTalkboxStatement(TALK_SAY, "New", 0, 0, 0, "y");
    ASSERT_EQ(GetNumberOfTalkboxes(), 10);
    EXPECT_STREQ(GetTalkboxLine(1, 1), "first");
    EXPECT_STREQ(GetTalkboxLine(2, 1), "y");
}

TEST_F(Talkboxes, InfoMessageReplacesEarlierOnesAndNeverWaits) {
    AddTalkboxMessage(TALK_INFO_MESSAGE, "one");
    AddTalkboxMessage(TALK_EVENT_MESSAGE, "event");
    AddTalkboxMessage(TALK_INFO_MESSAGE, "two");
    ASSERT_EQ(GetNumberOfTalkboxes(), 2);
    EXPECT_STREQ(GetTalkboxLine(1, 0), "two");
    EXPECT_EQ(GetTalkbox(1).RemainingTime, 3100);
    EXPECT_EQ(GetTalkboxMode(2), TALK_EVENT_MESSAGE);
}

TEST_F(Talkboxes, PrivateMessageNeedsTheOption) {
    SetPrivateMessages(false);
    AddTalkboxStatement(TALK_PRIVATE_MESSAGE, "P", 9, 9, 9, "hidden");
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);
    SetPrivateMessages(true);
    AddTalkboxStatement(TALK_PRIVATE_MESSAGE, "P", 9, 9, 9, "shown");
    EXPECT_STREQ(GetTalkboxLine(1, 0), "P:");
    int32_t X, Y, Z;
    GetTalkboxPosition(1, X, Y, Z);
    EXPECT_EQ(X + Y + Z, 0);
}

TEST_F(Talkboxes, NoticesWaitWithHalfTheirTimePlusThoseAhead) {
    AddTalkboxStatement(TALK_GAMEMASTER_BROADCAST, "GM", 0, 0, 0, "aaaaaaaaaa"); // 3,500 ms
    advance(500);
    AddTalkboxStatement(TALK_GAMEMASTER_BROADCAST, "GM", 0, 0, 0, "bbbbbbbbbbbb"); // 3,600 / 2 + 3,000
    AddTalkboxMessage(TALK_EVENT_MESSAGE, "abcd"); // double time: 6,400 / 2 + 4,800
    advance(2999);
    EXPECT_EQ(GetNumberOfTalkboxes(), 1);
    advance(1);
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_STREQ(GetTalkboxLine(1, 1), "bbbbbbbbbbbb");
    EXPECT_EQ(GetTalkbox(1).RemainingTime, 1800);
    advance(1800);
    EXPECT_EQ(GetTalkboxMode(1), TALK_EVENT_MESSAGE);
    EXPECT_EQ(GetTalkbox(1).RemainingTime, 8000 - 4800);
}

TEST_F(Talkboxes, StatusMessage) {
    std::string Longest(511, 's'), TooLong(512, 's');
    SetStatusMessage(Longest.c_str(), false);
    EXPECT_EQ(GetStatusMessage(), Longest);
    EXPECT_EQ(ThrownFrom("Talk.cpp", [&] { SetStatusMessage(TooLong.c_str(), false); }),
              "assertion failed (strlen(Message) = 512), reason:\nstrlen(Message)<STATUSMESSAGE_LENGTH");
    GetMapTextChanged();
    for (int i = 0; i < 49; i++)
        ProcessStatusMessage();
    EXPECT_NE(GetStatusMessage(), nullptr);
    EXPECT_FALSE(GetMapTextChanged());
    ProcessStatusMessage();
    EXPECT_EQ(GetStatusMessage(), nullptr);
    EXPECT_TRUE(GetMapTextChanged());
    SetStatusMessage("stays", true);
    for (int i = 0; i < 100; i++)
        ProcessStatusMessage();
    EXPECT_STREQ(GetStatusMessage(), "stays");
}

TEST_F(Talkboxes, AgingSurvivesTheClockWrap) {
    FakeTimer = 0xFFFFFF00u;
    ProcessTalkboxes();
    AddTalkboxStatement(TALK_SAY, "A", 0, 0, 0, "a"); // 3,000 ms
    advance(0x200);                                   // 512 ms across the 32-bit wrap
    EXPECT_EQ(GetTalkbox(1).RemainingTime, 3000 - 512);
}
