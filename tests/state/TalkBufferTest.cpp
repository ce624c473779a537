// Text buffers: line stamps and prefixes, the line cap, the cursor, removal, the request queue.
#include "state/TalkBuffer.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Messages(TTextBuffer& Buffer) {
    std::vector<std::string> Result;
    for (TTalkLine* Line = Buffer.seekLine(0); Line != nullptr; Line = Buffer.nextLine())
        Result.push_back(Line->MessageText);
    return Result;
}

void AddSpoken(TTextBuffer& Buffer, const char* Speaker, const char* Text) {
    Buffer.addLine(std::make_unique<TTalkLine>(7, TALK_GAMEMASTER_REQUEST, Speaker, Text, 0));
}

std::string Saved(TTextBuffer& Buffer) {
    std::FILE* File = std::tmpfile();
    EXPECT_EQ(Buffer.save(File), 0);
    std::rewind(File);
    std::string Text;
    for (int c; (c = std::fgetc(File)) != EOF;)
        Text += static_cast<char>(c);
    std::fclose(File);
    return Text;
}

} // namespace

TEST(TalkLine, StampSpeakerPrefixAndTimeStampOption) {
    SetTimeStamps(true);
    TTalkLine Line(42, TALK_SAY, "Abc", "hello", -3600);
    // The test runner sets TZ=UTC, so local time is the calendar time's time of day.
    int64_t Expected = static_cast<int64_t>(std::time(nullptr)) - 3600;
    EXPECT_LE(std::abs(Line.Time - Expected), 1);
    char Stamp[32];
    std::snprintf(Stamp, sizeof(Stamp), "%02d:%02d ", int(Line.Time % 86400 / 3600),
                  int(Line.Time % 3600 / 60));
    EXPECT_EQ(std::string(Line.getText()), std::string(Stamp) + "Abc: hello");
    EXPECT_STREQ(Line.AfterStamp, "Abc: hello");
    EXPECT_STREQ(Line.MessageText, "hello");
    EXPECT_STREQ(Line._Addressee, "Abc");
    EXPECT_EQ(Line._StatementID, 42);

    SetTimeStamps(false);
    EXPECT_STREQ(Line.getText(), "Abc: hello");
    TTalkLine Plain(0, TALK_RED_MESSAGE, "no speaker");
    EXPECT_STREQ(Plain.getText(), "no speaker");
    EXPECT_STREQ(Plain.MessageText, "no speaker");
    EXPECT_STREQ(Plain._Addressee, "");
}

TEST(TalkLine, LongSpeakerIsCutTo29CharactersInNameAndPrefix) {
    SetTimeStamps(false);
    std::string Long(35, 'x');
    TTalkLine Line(0, TALK_SAY, Long.c_str(), "hi", 0);
    EXPECT_EQ(std::string(Line._Addressee), std::string(29, 'x'));
    EXPECT_EQ(std::string(Line.getText()), std::string(29, 'x') + ": hi");
}

TEST(TalkLine, ChecksModeAndTexts) {
    EXPECT_EQ(ThrownFrom("TalkBuffer.cpp", [] { TTalkLine(0, TALK_MODE_BEYONDLAST, "x"); }),
              "assertion failed (_Mode = 27), reason:\n_Mode>=0&&_Mode<TALK_MODE_BEYONDLAST");
    EXPECT_EQ(ThrownFrom("TalkBuffer.cpp", [] { TTalkLine(0, -1, "x"); }),
              "assertion failed (_Mode = -1), reason:\n_Mode>=0&&_Mode<TALK_MODE_BEYONDLAST");
    EXPECT_EQ(ThrownFrom("TalkBuffer.cpp", [] { TTalkLine(0, 1, nullptr); }),
              "assertion failed, reason:\n_Line!=NULL");
    EXPECT_EQ(ThrownFrom("TalkBuffer.cpp", [] { TTalkLine(0, 1, nullptr, "x", 0); }),
              "assertion failed, reason:\n_Addressee!=NULL");
}

TEST(TextBuffer, TheThousandAndFirstLineRemovesTheOldest) {
    TTextBuffer Buffer(TALK_SAY);
    for (int i = 0; i < 1001; i++)
        Buffer.addText(TALK_SAY, std::to_string(i).c_str(), 0);
    EXPECT_EQ(Buffer.getNumberOfLines(), 1000);
    std::vector<std::string> Lines = Messages(Buffer);
    ASSERT_EQ(Lines.size(), 1000u);
    EXPECT_EQ(Lines.front(), "1");
    EXPECT_EQ(Lines.back(), "1000");
}

TEST(TextBuffer, ChangeFlagsFollowAddingAndDeleting) {
    TTextBuffer Buffer(TALK_SAY);
    EXPECT_TRUE(Buffer.checkChanged());
    EXPECT_FALSE(Buffer.checkChanged());
    Buffer.LayoutChanged = false;
    Buffer.addText(TALK_SAY, "a", 0);
    EXPECT_TRUE(Buffer.checkChanged());
    EXPECT_TRUE(Buffer.LayoutChanged);
    EXPECT_TRUE(Buffer.LayoutValid);
    Buffer.removeLine(0);
    EXPECT_FALSE(Buffer.LayoutValid);
    EXPECT_TRUE(Buffer.checkChanged());

    Buffer.Enabled = false;
    Buffer.addText(TALK_SAY, "dropped", 0);
    Buffer.addLine(std::make_unique<TTalkLine>(0, TALK_SAY, "dropped too"));
    EXPECT_EQ(Buffer.getNumberOfLines(), 0);
    EXPECT_FALSE(Buffer.checkChanged());
}

TEST(TextBuffer, RemoveLineByPosition) {
    TTextBuffer Buffer(TALK_SAY);
    EXPECT_EQ(ThrownFrom("TalkBuffer.cpp", [&] { Buffer.removeLine(0); }).substr(0, 44),
              "exception occurred (lineNumber = 0), reason:");
    for (const char* Text : {"a", "b", "c"})
        Buffer.addText(TALK_SAY, Text, 0);
    std::string Past = ThrownText([&] { Buffer.removeLine(3); });
    EXPECT_NE(Past.find("(lineNumber = 3)"), std::string::npos) << Past;
    EXPECT_NE(Past.find("Search!=NULL"), std::string::npos) << Past;
    EXPECT_NE(ThrownText([&] { Buffer.removeLine(-1); }).find("Search!=NULL"), std::string::npos);
    Buffer.removeLine(2);
    EXPECT_EQ(Messages(Buffer), (std::vector<std::string>{"a", "b"}));
    Buffer.removeLine(0);
    EXPECT_EQ(Messages(Buffer), (std::vector<std::string>{"b"}));
}

TEST(TextBuffer, CursorOnEmptyBufferAndAfterDeletion) {
    TTextBuffer Buffer(TALK_SAY);
    EXPECT_EQ(Buffer.seekLine(0), nullptr);
    EXPECT_NE(ThrownText([&] { Buffer.nextLine(); }).find("cursor!=NULL"), std::string::npos);

    for (const char* Text : {"a", "b", "c"})
        Buffer.addText(TALK_SAY, Text, 0);
    // Deleting the line under the cursor moves it to the following line ...
    TTalkLine* Middle = Buffer.seekLine(1);
    Buffer.deleteLine(Middle);
    EXPECT_EQ(Buffer.nextLine(), nullptr);
    TTalkLine* Last = Buffer.seekLine(1);
    EXPECT_STREQ(Last->MessageText, "c");
    Buffer.seekLine(1);
    Buffer.deleteLine(Last);
    // ... or, when it was the last one, to the first line.
    TTalkLine* First = Buffer.seekLine(0);
    Buffer.seekLine(0);
    EXPECT_EQ(Buffer.nextLine(), nullptr);
    EXPECT_STREQ(First->MessageText, "a");
}

TEST(TextBuffer, DeleteLineUnderCursorKeepsReadingInOrder) {
    TTextBuffer Buffer(TALK_SAY);
    for (const char* Text : {"a", "b", "c"})
        Buffer.addText(TALK_SAY, Text, 0);
    Buffer.seekLine(1);
    Buffer.deleteLine(Buffer.seekLine(1));
    // The cursor now stands on "c"; nextLine runs past the end.
    EXPECT_EQ(Buffer.nextLine(), nullptr);
    Buffer.seekLine(1);
    TTalkLine* Under = Buffer.seekLine(1);
    Buffer.deleteLine(Under);
    EXPECT_EQ(Messages(Buffer), (std::vector<std::string>{"a"}));
}

TEST(TextBuffer, DeleteLineOfAnotherBufferFails) {
    TTextBuffer A(TALK_SAY), B(TALK_SAY);
    for (const char* Text : {"a1", "a2", "a3"})
        A.addText(TALK_SAY, Text, 0);
    B.addText(TALK_SAY, "b", 0);
    EXPECT_NE(ThrownText([&] { A.deleteLine(B.seekLine(0)); }).find("Search!=NULL"), std::string::npos);
    EXPECT_EQ(A.getNumberOfLines(), 3);
}

TEST(TextBuffer, SaveWritesEveryLineWithTheTimeStampOption) {
    TTextBuffer Buffer(TALK_SAY);
    Buffer.addLine(std::make_unique<TTalkLine>(0, TALK_SAY, "Abc", "one", 0));
    Buffer.addText(TALK_SAY, "two", 0);
    SetTimeStamps(false);
    EXPECT_EQ(Saved(Buffer), "Abc: one\ntwo\n");
    SetTimeStamps(true);
    std::string Stamped = Saved(Buffer);
    ASSERT_EQ(Stamped.size(), 2 * 6 + std::string("Abc: one\ntwo\n").size());
    EXPECT_EQ(Stamped.substr(6, 9), "Abc: one\n");
    EXPECT_EQ(Stamped[2], ':');
    SetTimeStamps(false);
    EXPECT_NE(ThrownText([&] { Buffer.save(nullptr); }).find("F!=NULL"), std::string::npos);
}

TEST(TextBufferClasses, KindsAndModes) {
    TPrivateTextBuffer Private(TALK_PRIVATE_MESSAGE, "Bob");
    EXPECT_STREQ(Private.getAddressee(), "Bob");
    EXPECT_EQ(Private.getSendTalkMode(), TALK_PRIVATE_MESSAGE);
    EXPECT_EQ(Private.getChannelID(), -1);
    EXPECT_FALSE(Private.usesSpeechModes());

    TChannelTextBuffer Channel(TALK_CHANNEL_CALL, 7);
    TPrivateChannelTextBuffer Own(TALK_CHANNEL_CALL, 8), Odd(TALK_CHANNEL_CALL, 5);
    EXPECT_FALSE(Channel.isPrivateChannel());
    EXPECT_TRUE(Own.isPrivateChannel());
    EXPECT_FALSE(Odd.isPrivateChannel());
    EXPECT_TRUE(Own.isOpen());
    Own.setOpen(false);
    EXPECT_FALSE(Own.isOpen());
    EXPECT_TRUE(Channel.setOpen(false));
    EXPECT_TRUE(Channel.isOpen());
    EXPECT_NE(ThrownText([] { TChannelTextBuffer(5, -1); }).find("_ChannelID!=-1"), std::string::npos);
    EXPECT_NE(ThrownText([] { TPrivateTextBuffer(4, nullptr); }).find("_Addressee!=NULL"), std::string::npos);

    TRequestTextBuffer Request(TALK_GAMEMASTER_ANSWER, TALK_PLAYER_ANSWER, nullptr);
    EXPECT_STREQ(Request.getAddressee(), "");
    EXPECT_EQ(Request.getReceiveTalkMode(), TALK_GAMEMASTER_ANSWER);
    EXPECT_EQ(Request.getSendTalkMode(), TALK_PLAYER_ANSWER);
    EXPECT_TRUE(Request.isRequest());
}

TEST(TextBufferClasses, NewLineReopensRequestConversation) {
    TRequestTextBuffer Request(TALK_PLAYER_ANSWER, TALK_GAMEMASTER_ANSWER, "Player");
    Request.setOpen(false);
    Request.addText(TALK_ADMIN_MESSAGE, "closed", 0);
    EXPECT_TRUE(Request.isOpen());
    Request.setOpen(false);
    Request.addLine(std::make_unique<TTalkLine>(0, TALK_PLAYER_ANSWER, "Player", "again", 0));
    EXPECT_TRUE(Request.isOpen());
}

TEST(RequestQueue, OneRequestPerPlayerWhateverTheCase) {
    TRequestQueueTextBuffer Queue(TALK_GAMEMASTER_REQUEST, 3);
    EXPECT_EQ(Queue.getSendTalkMode(), 0);
    EXPECT_EQ(Queue.getChannelID(), 3);
    EXPECT_TRUE(Queue.usesSpeechModes());
    AddSpoken(Queue, "aBC", "first");
    AddSpoken(Queue, "Other", "other");
    AddSpoken(Queue, "abc", "second");
    AddSpoken(Queue, "Abc", "newest");
    EXPECT_EQ(Messages(Queue), (std::vector<std::string>{"other", "newest"}));
    // The newest request of the last speaker replaces the older one at the end as well.
    AddSpoken(Queue, "OTHER", "other again");
    EXPECT_EQ(Messages(Queue), (std::vector<std::string>{"newest", "other again"}));
    EXPECT_EQ(ThrownFrom("TalkBuffer.cpp", [&] { Queue.addText(TALK_SAY, "x", 0); }), "not possible");
}

TEST(RequestQueue, TakingARequestAwayDoesNotHighlight) {
    TRequestQueueTextBuffer Queue(TALK_GAMEMASTER_REQUEST, 3);
    AddSpoken(Queue, "A", "a");
    AddSpoken(Queue, "B", "b");
    EXPECT_TRUE(Queue.checkChanged());
    Queue.deleteLine(Queue.seekLine(0));
    EXPECT_FALSE(Queue.checkChanged());
    EXPECT_FALSE(Queue.checkClearHighlight());
    Queue.removeLine(0);
    EXPECT_FALSE(Queue.checkChanged());
    EXPECT_TRUE(Queue.checkClearHighlight());
    EXPECT_FALSE(Queue.checkClearHighlight());
}
