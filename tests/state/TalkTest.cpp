// Talk-mode colours, talk-box wrapping, holding back and ageing, and the status message.
#include "state/Talk.h"
#include "foundation/sysinc.h"
#include "state/Preferences.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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

std::vector<std::string> Lines(const TTalkbox& Box) {
    std::vector<std::string> Result;
    for (int32_t i = 0; i < Box.NumberOfLines; i++)
        Result.push_back(Box.Lines[i]);
    return Result;
}

std::vector<std::string> Wrapped(const std::string& Text) {
    TTalkbox Box{};
    WrapTalkboxText(Box, Text.c_str());
    return Lines(Box);
}

std::string Color(int32_t Mode) {
    int32_t R = -1, G = -1, B = -1;
    GetTalkModeColor(R, G, B, Mode);
    return std::to_string(R) + "," + std::to_string(G) + "," + std::to_string(B);
}

} // namespace

TEST(TalkModeColor, TableAndUnknownModes) {
    EXPECT_EQ(Color(TALK_SAY), "240,240,0");
    EXPECT_EQ(Color(TALK_PRIVATE_MESSAGE), "96,248,248");
    EXPECT_EQ(Color(TALK_CHANNEL_HIGHLIGHT), "240,180,0");
    EXPECT_EQ(Color(TALK_ANIMAL_LOUD), "255,102,0");
    EXPECT_EQ(Color(TALK_INFO_MESSAGE), "0,240,0");
    EXPECT_EQ(Color(TALK_OWN_MESSAGE), "160,160,255");
    EXPECT_EQ(Color(TALK_RED_MESSAGE), "248,96,96");
    EXPECT_EQ(ThrownFrom("Talk.cpp", [] { Color(TALK_NONE); }), "none is talking");
    // Modes straight from the server: anything outside the table fails before it is used as an index.
    for (int32_t Mode : {26, 27, 255, -1, -128, INT32_MIN})
        EXPECT_EQ(ThrownFrom("Talk.cpp", [&] { Color(Mode); }),
                  "something unknown is talking (TalkMode = " + std::to_string(Mode) + ")");
}

TEST(TalkboxWrap, LineLengthsAndHyphenation) {
    EXPECT_EQ(Wrapped(std::string(39, 'a')), std::vector<std::string>{std::string(39, 'a')});
    EXPECT_EQ(Wrapped(std::string(40, 'a')), (std::vector<std::string>{std::string(38, 'a') + "-", "aa"}));
    EXPECT_EQ(Wrapped(std::string(76, 'a')),
              (std::vector<std::string>{std::string(38, 'a') + "-", std::string(38, 'a')}));
    EXPECT_EQ(Wrapped(""), std::vector<std::string>{});
}

TEST(TalkboxWrap, LineFeedsAndBlanks) {
    EXPECT_EQ(Wrapped("two words\nthird"), (std::vector<std::string>{"two words", "third"}));
    // 45 characters whose last blank among the first 40 stands at position 30: the blank is lost.
    std::string Text = std::string(30, 'a') + " " + std::string(14, 'b');
    EXPECT_EQ(Wrapped(Text), (std::vector<std::string>{std::string(30, 'a'), std::string(14, 'b')}));
    // A blank at position 39 still counts as a break; a tab is white space too.
    EXPECT_EQ(Wrapped(std::string(39, 'c') + " dd"), (std::vector<std::string>{std::string(39, 'c'), "dd"}));
    EXPECT_EQ(Wrapped(std::string(20, 'e') + "\t" + std::string(25, 'f')),
              (std::vector<std::string>{std::string(20, 'e'), std::string(25, 'f')}));
    EXPECT_EQ(Wrapped("\n\nx"), (std::vector<std::string>{"", "", "x"}));
}

TEST(TalkboxWrap, AtMostTenLinesAndAppendsBehindExisting) {
    std::string Many;
    for (int i = 0; i < 12; i++)
        Many += "line" + std::to_string(i) + "\n";
    std::vector<std::string> Result = Wrapped(Many);
    ASSERT_EQ(Result.size(), 10u);
    EXPECT_EQ(Result.back(), "line9");

    TTalkbox Box{};
    WrapTalkboxText(Box, "one");
    WrapTalkboxText(Box, "two");
    EXPECT_EQ(Lines(Box), (std::vector<std::string>{"one", "two"}));
}

TEST_F(Talkboxes, StatementHeadersPositionsAndDuration) {
    AddTalkboxStatement(TALK_WHISPER, "Abc", 100, 200, 7, "psst");
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_TRUE(GetMapTextChanged());
    EXPECT_EQ(Lines(GetTalkbox(1)), (std::vector<std::string>{"Abc whispers:", "psst"}));
    EXPECT_EQ(GetTalkbox(1).RemainingTime, (4 / 2 + 30) * 100);
    int32_t X, Y, Z;
    GetTalkboxPosition(1, X, Y, Z);
    EXPECT_EQ(X * 1000000 + Y * 1000 + Z, 100200007);
    EXPECT_EQ(GetTalkboxLines(1), 2);
    EXPECT_STREQ(GetTalkboxLine(1, 0), "Abc whispers:");

    AddTalkboxStatement(TALK_ANIMAL_LOW, "Rat", 1, 2, 3, "squeak");
    EXPECT_EQ(Lines(GetTalkbox(2)), std::vector<std::string>{"squeak"});
    AddTalkboxStatement(TALK_GAMEMASTER_MESSAGE, "GM", 1, 2, 3, "hello");
    EXPECT_EQ(Lines(GetTalkbox(3)), (std::vector<std::string>{"GM:", "hello"}));
    GetTalkboxPosition(3, X, Y, Z);
    EXPECT_EQ(X + Y + Z, 0);

    // A speaker name longer than the line is cut, not written past it.
    AddTalkboxStatement(TALK_YELL, std::string(60, 'N').c_str(), 0, 0, 0, "x");
    EXPECT_EQ(std::string(GetTalkbox(4).Lines[0]), std::string(39, 'N'));
}

TEST_F(Talkboxes, ChecksAndGetterFrames) {
    EXPECT_EQ(ThrownFrom("Talk.cpp", [] { AddTalkboxStatement(TALK_CHANNEL_CALL, "a", 0, 0, 0, "b"); })
                  .substr(0, 36),
              "assertion failed (Mode = 5), reason:");
    EXPECT_NE(ThrownText([] { AddTalkboxStatement(TALK_SAY, nullptr, 0, 0, 0, "b"); }).find("Speaker!=NULL"),
              std::string::npos);
    EXPECT_NE(ThrownText([] { AddTalkboxMessage(TALK_STATUS_MESSAGE, "b"); }).find("(Mode = 21)"),
              std::string::npos);
    std::string Failure = ThrownFrom("Talk.cpp", [] { GetTalkboxMode(1); });
    EXPECT_EQ(Failure.rfind("exception occurred (Number = 1), reason:\nTalk.cpp ", 0), 0u) << Failure;
    EXPECT_NE(Failure.find("assertion failed (Number = 1) (GetNumberOfTalkboxes() = 0), reason:\n"
                           "In(Number,1,GetNumberOfTalkboxes())"),
              std::string::npos)
        << Failure;
    AddTalkboxStatement(TALK_SAY, "a", 0, 0, 0, "b");
    EXPECT_NE(ThrownText([] { GetTalkboxLine(1, 2); }).find("(Number = 1) (Line = 2)"), std::string::npos);
    EXPECT_NE(ThrownText([] { EndTalkbox(10); }).find("In(Position,0,TALKBOXES-1)"), std::string::npos);
}

TEST_F(Talkboxes, SameSpeakerAtSamePlaceJoinsTheShownBox) {
    AddTalkboxStatement(TALK_SAY, "Abc", 5, 5, 7, "first text"); // 10 chars: 3,500 ms
    advance(1000);
    AddTalkboxStatement(TALK_SAY, "Abc", 5, 5, 7, "second text!"); // 12 chars: 3,600 ms
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_EQ(Lines(GetTalkbox(1)), (std::vector<std::string>{"Abc says:", "first text", "second text!"}));
    // Another place, another verb or another speaker gets a box of its own.
    AddTalkboxStatement(TALK_SAY, "Abc", 6, 5, 7, "elsewhere");
    AddTalkboxStatement(TALK_YELL, "Abc", 5, 5, 7, "loud");
    AddTalkboxStatement(TALK_SAY, "Xyz", 5, 5, 7, "other");
    EXPECT_EQ(GetNumberOfTalkboxes(), 4);
    for (int32_t Slot = 2; Slot <= 4; Slot++)
        EndTalkbox(Slot);

    advance(2500); // the first box runs out; the waiting one shows its own text for its rest
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_EQ(Lines(GetTalkbox(1)), (std::vector<std::string>{"Abc says:", "second text!"}));
    EXPECT_EQ(GetTalkbox(1).RemainingTime, 3600 - 2500);
    advance(1100);
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);
}

TEST_F(Talkboxes, SpeechBoxKeepsNineTextLines) {
    std::string Long;
    for (int i = 0; i < 12; i++)
        Long += "l" + std::to_string(i) + "\n";
    AddTalkboxStatement(TALK_SAY, "Abc", 0, 0, 0, Long.c_str());
    ASSERT_EQ(GetTalkboxLines(1), 10);
    EXPECT_STREQ(GetTalkboxLine(1, 9), "l8");
    // A full shown box takes no more lines from a later statement.
    AddTalkboxStatement(TALK_SAY, "Abc", 0, 0, 0, "more");
    EXPECT_EQ(GetTalkboxLines(1), 10);
}

TEST_F(Talkboxes, CreatureSpeechAtOnePlaceJoins) {
    AddTalkboxStatement(TALK_ANIMAL_LOW, "Rat", 1, 1, 7, "squeak");
    AddTalkboxStatement(TALK_ANIMAL_LOUD, "Other rat", 1, 1, 7, "SQUEAK");
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_EQ(Lines(GetTalkbox(1)), (std::vector<std::string>{"squeak", "SQUEAK"}));
    EndTalkbox(0);
    EXPECT_EQ(Lines(GetTalkbox(1)), std::vector<std::string>{"SQUEAK"});
}

TEST_F(Talkboxes, EleventhBoxEndsTheOldest) {
    AddTalkboxStatement(TALK_GAMEMASTER_BROADCAST, "GM", 0, 0, 0, "first"); // slot 0, Sequence 0
    AddTalkboxStatement(TALK_GAMEMASTER_BROADCAST, "GM", 0, 0, 0, "waits"); // slot 1, waiting
    for (int i = 0; i < 8; i++)
        AddTalkboxStatement(TALK_SAY, ("S" + std::to_string(i)).c_str(), i, 0, 0, "x");
    EXPECT_EQ(GetNumberOfTalkboxes(), 9);
    // The eleventh ends the oldest box, which hands its place on to the waiting broadcast.
    AddTalkboxStatement(TALK_SAY, "New", 0, 0, 0, "y");
    ASSERT_EQ(GetNumberOfTalkboxes(), 10);
    EXPECT_STREQ(GetTalkboxLine(1, 1), "y");
    EXPECT_STREQ(GetTalkboxLine(2, 1), "waits");
    EXPECT_STREQ(GetTalkboxLine(3, 0), "S0 says:");
}

TEST_F(Talkboxes, EleventhBoxEndsTheOldestEvenWhenWaiting) {
    AddTalkboxStatement(TALK_GAMEMASTER_BROADCAST, "GM", 0, 0, 0, "first"); // slot 0
    AddTalkboxStatement(TALK_GAMEMASTER_BROADCAST, "GM", 0, 0, 0, "waits"); // slot 1, waiting
    for (int i = 0; i < 8; i++)
        AddTalkboxStatement(TALK_SAY, "S", i, 0, 0, "x");
    GetTalkbox(1).Sequence = 1000; // the shown broadcast is now the youngest, the waiting one the oldest
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
    EXPECT_EQ(GetTalkboxMode(1), TALK_INFO_MESSAGE);
    EXPECT_STREQ(GetTalkboxLine(1, 0), "two");
    EXPECT_EQ(GetTalkbox(1).RemainingTime, 3100);
    EXPECT_EQ(GetTalkboxMode(2), TALK_EVENT_MESSAGE);
    int32_t X, Y, Z;
    GetTalkboxPosition(1, X, Y, Z);
    EXPECT_EQ(X + Y + Z, 0);
}

TEST_F(Talkboxes, PrivateMessageNeedsTheOption) {
    SetPrivateMessages(false);
    AddTalkboxStatement(TALK_PRIVATE_MESSAGE, "P", 9, 9, 9, "hidden");
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);
    EXPECT_FALSE(GetMapTextChanged());
    SetPrivateMessages(true);
    AddTalkboxStatement(TALK_PRIVATE_MESSAGE, "P", 9, 9, 9, "shown");
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_STREQ(GetTalkboxLine(1, 0), "P:");
    int32_t X, Y, Z;
    GetTalkboxPosition(1, X, Y, Z);
    EXPECT_EQ(X + Y + Z, 0);
}

TEST_F(Talkboxes, SecondBroadcastWaitsWithHalfItsTimePlusTheFirst) {
    AddTalkboxStatement(TALK_GAMEMASTER_BROADCAST, "GM", 0, 0, 0, "aaaaaaaaaa"); // 3,500 ms
    advance(500);
    AddTalkboxStatement(TALK_GAMEMASTER_BROADCAST, "GM", 0, 0, 0, "bbbbbbbbbbbb"); // 3,600 ms
    EXPECT_EQ(GetNumberOfTalkboxes(), 1);
    advance(2999);
    EXPECT_EQ(GetNumberOfTalkboxes(), 1);
    advance(1); // the first ends; the second shows with 3,600 / 2 + 3,000 - 3,000 left
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_STREQ(GetTalkboxLine(1, 1), "bbbbbbbbbbbb");
    EXPECT_EQ(GetTalkbox(1).RemainingTime, 1800);
}

TEST_F(Talkboxes, EventNoticeHasDoubleTimeAndWaitsBehindBroadcasts) {
    AddTalkboxStatement(TALK_GAMEMASTER_MESSAGE, "GM", 0, 0, 0, "abcd"); // 3,200 ms
    AddTalkboxMessage(TALK_ADMIN_MESSAGE, "abcd");                       // 6,400 / 2 + 3,200
    AddTalkboxMessage(TALK_EVENT_MESSAGE, "abcd");                       // 6,400 / 2 + 6,400
    EXPECT_EQ(GetNumberOfTalkboxes(), 1);
    EndTalkbox(0);
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_EQ(GetTalkboxMode(1), TALK_ADMIN_MESSAGE);
    EXPECT_EQ(GetTalkbox(1).RemainingTime, 6400);
    EndTalkbox(1);
    EXPECT_EQ(GetTalkboxMode(1), TALK_EVENT_MESSAGE);
    EXPECT_EQ(GetTalkbox(1).RemainingTime, 9600);
}

TEST_F(Talkboxes, DeleteOldestAndGetFreeTalkbox) {
    DeleteOldestTalkbox(); // nothing open: nothing happens
    EXPECT_EQ(GetFreeTalkbox(), 0);
    AddTalkboxStatement(TALK_SAY, "A", 0, 0, 0, "a");
    AddTalkboxStatement(TALK_SAY, "B", 0, 0, 0, "b");
    EndTalkbox(0);
    AddTalkboxStatement(TALK_SAY, "C", 0, 0, 0, "c"); // slot 0 again, but younger than B
    DeleteOldestTalkbox();
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_STREQ(GetTalkboxLine(1, 0), "C says:");
}

TEST_F(Talkboxes, AreaWordsBelongToTheMapView) {
    AddTalkboxStatement(TALK_SAY, "A", 0, 0, 0, "a");
    SetTalkboxArea(1, 10, 20, 3, -4);
    int32_t X, Y, Alignment, Edges;
    GetTalkboxArea(1, X, Y, Alignment, Edges);
    EXPECT_EQ(std::to_string(X) + "," + std::to_string(Y) + "," + std::to_string(Alignment) + "," +
                  std::to_string(Edges),
              "10,20,3,-4");
}

TEST_F(Talkboxes, StatusMessage) {
    EXPECT_EQ(GetStatusMessage(), nullptr);
    std::string Longest(511, 's');
    SetStatusMessage(Longest.c_str(), false);
    EXPECT_EQ(GetStatusMessage(), Longest);
    EXPECT_TRUE(GetMapTextChanged());
    std::string TooLong(512, 's');
    EXPECT_EQ(ThrownFrom("Talk.cpp", [&] { SetStatusMessage(TooLong.c_str(), false); }),
              "assertion failed (strlen(Message) = 512), reason:\nstrlen(Message)<STATUSMESSAGE_LENGTH");
    GetMapTextChanged(); // set before the check
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
    SetStatusMessage(nullptr);
    EXPECT_EQ(GetStatusMessage(), nullptr);
}

TEST_F(Talkboxes, AgingSurvivesTheClockWrap) {
    FakeTimer = 0xFFFFFF00u;
    ProcessTalkboxes();
    AddTalkboxStatement(TALK_SAY, "A", 0, 0, 0, "a"); // 3,000 ms
    advance(0x200);                                   // across the 32-bit wrap: 512 ms passed
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_EQ(GetTalkbox(1).RemainingTime, 3000 - 512);
}
