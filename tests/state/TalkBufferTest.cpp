// Text buffers: line stamps and prefixes, the line cap, the cursor, removal, the request queue.
#include "state/TalkBuffer.h"
#include "foundation/sysinc.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines Messages(TTextBuffer& Buffer) {
    Lines Result;
    for (TTalkLine* Line = Buffer.seekLine(0); Line != nullptr; Line = Buffer.nextLine())
        Result.push_back(Line->MessageText);
    return Result;
}

void Fill(TTextBuffer& Buffer, const Lines& Texts) {
    for (const std::string& Text : Texts)
        Buffer.addText(TALK_SAY, Text.c_str(), 0);
}

void AddRequest(TTextBuffer& Buffer, const char* Speaker, const char* Text) {
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

TEST(TalkLine, LocalStampOfTheInjectedClockSpeakerPrefixAndCutName) {
    SetCalendarClock([] { return int64_t{1700000000}; }); // 22:13:20 UTC
    TTalkLine Line(42, TALK_SAY, std::string(35, 'x').c_str(), "hello", -3600);
    SetCalendarClock(nullptr);
    EXPECT_EQ(Line.Time, 1700000000 - 3600);
    // The test runner sets TZ=UTC, so the stamp is the calendar time's time of day.
    std::string Name(29, 'x');
    EXPECT_EQ(std::string(Line._Line.get()), "21:13 " + Name + ": hello");
    EXPECT_EQ(std::string(Line._Addressee), Name);
    EXPECT_STREQ(Line.MessageText, "hello");
    SetTimeStamps(false);
    EXPECT_EQ(std::string(Line.getText()), Name + ": hello");
    EXPECT_EQ(ThrownFrom("TalkBuffer.cpp", [] { TTalkLine(0, -1, "x"); }),
              "assertion failed (_Mode = -1), reason:\n_Mode>=0&&_Mode<TALK_MODE_BEYONDLAST");
}

TEST(TextBuffer, TheThousandAndFirstLineRemovesTheOldest) {
    TTextBuffer Buffer(TALK_SAY);
    for (int i = 0; i < 1001; i++)
        Buffer.addText(TALK_SAY, std::to_string(i).c_str(), 0);
    EXPECT_EQ(Buffer.getNumberOfLines(), 1000);
    Lines All = Messages(Buffer);
    EXPECT_EQ(All.front() + " " + All.back(), "1 1000");
}

TEST(TextBuffer, RemoveLineByPosition) {
    TTextBuffer Buffer(TALK_SAY);
    EXPECT_NE(ThrownText([&] { Buffer.removeLine(0); }).find("first!=NULL"), std::string::npos);
    Fill(Buffer, {"a", "b", "c"});
    std::string Past = ThrownText([&] { Buffer.removeLine(3); });
    EXPECT_NE(Past.find("exception occurred (lineNumber = 3)"), std::string::npos) << Past;
    EXPECT_NE(Past.find("Search!=NULL"), std::string::npos) << Past;
    Buffer.checkChanged();
    Buffer.removeLine(2);
    EXPECT_EQ(Messages(Buffer), (Lines{"a", "b"}));
    EXPECT_TRUE(Buffer.checkChanged());
    EXPECT_FALSE(Buffer.LayoutValid);
}

TEST(TextBuffer, CursorOnEmptyBufferAndAfterDeletion) {
    TTextBuffer Buffer(TALK_SAY);
    EXPECT_EQ(Buffer.seekLine(0), nullptr);
    EXPECT_NE(ThrownText([&] { Buffer.nextLine(); }).find("cursor!=NULL"), std::string::npos);
    Fill(Buffer, {"a", "b", "c"});
    // Deleting the line under the cursor moves it to the following line ...
    Buffer.deleteLine(Buffer.seekLine(1));
    EXPECT_EQ(Buffer.nextLine(), nullptr);
    // ... or, when that was the last one, to the first line.
    Buffer.deleteLine(Buffer.seekLine(1));
    Fill(Buffer, {"e"});
    EXPECT_STREQ(Buffer.nextLine()->MessageText, "e");
    TTextBuffer Other(TALK_SAY);
    Fill(Other, {"x"});
    EXPECT_NE(ThrownText([&] { Buffer.deleteLine(Other.seekLine(0)); }).find("Search!=NULL"),
              std::string::npos);
}

TEST(TextBuffer, DisabledBufferDropsLines) {
    TTextBuffer Buffer(TALK_SAY);
    Buffer.checkChanged();
    Buffer.Enabled = false;
    Buffer.addText(TALK_SAY, "dropped", 0);
    Buffer.addLine(std::make_unique<TTalkLine>(0, TALK_SAY, "dropped too"));
    EXPECT_EQ(Buffer.getNumberOfLines(), 0);
    EXPECT_FALSE(Buffer.checkChanged());
}

TEST(TextBuffer, SaveFollowsTheTimeStampOption) {
    TTextBuffer Buffer(TALK_SAY);
    Buffer.addLine(std::make_unique<TTalkLine>(0, TALK_SAY, "Abc", "one", 0));
    Buffer.addText(TALK_SAY, "two", 0);
    SetTimeStamps(false);
    EXPECT_EQ(Saved(Buffer), "Abc: one\ntwo\n");
    SetTimeStamps(true);
    std::string Stamped = Saved(Buffer);
    EXPECT_EQ(Stamped.size(), 12 + 13u);
    EXPECT_EQ(Stamped.substr(2, 13), std::string(":").append(Stamped.substr(3, 3)).append("Abc: one\n"));
    SetTimeStamps(false);
}

TEST(TextBufferClasses, ChannelsAndRequests) {
    TChannelTextBuffer Public(TALK_CHANNEL_CALL, 7);
    TPrivateChannelTextBuffer Private(TALK_CHANNEL_CALL, 8), Low(TALK_CHANNEL_CALL, 5);
    EXPECT_FALSE(Public.isPrivateChannel());
    EXPECT_TRUE(Private.isPrivateChannel());
    EXPECT_FALSE(Low.isPrivateChannel());
    Private.setOpen(false);
    EXPECT_FALSE(Private.isOpen());
    Public.setOpen(false);
    EXPECT_TRUE(Public.isOpen());

    TRequestTextBuffer Request(TALK_PLAYER_ANSWER, TALK_GAMEMASTER_ANSWER, nullptr);
    EXPECT_STREQ(Request.getAddressee(), "");
    Request.setOpen(false);
    Request.addText(TALK_ADMIN_MESSAGE, "any new line opens it again", 0);
    EXPECT_TRUE(Request.isOpen());
}

TEST(RequestQueue, OneRequestPerPlayerWhateverTheCase) {
    TRequestQueueTextBuffer Queue(TALK_GAMEMASTER_REQUEST, 3);
    EXPECT_EQ(Queue.getSendTalkMode(), 0);
    AddRequest(Queue, "aBC", "first");
    AddRequest(Queue, "Other", "other");
    AddRequest(Queue, "abc", "second");
    AddRequest(Queue, "Abc", "newest");
    EXPECT_EQ(Messages(Queue), (Lines{"other", "newest"}));
    AddRequest(Queue, "OTHER", "again");
    EXPECT_EQ(Messages(Queue), (Lines{"newest", "again"}));
    EXPECT_EQ(ThrownFrom("TalkBuffer.cpp", [&] { Queue.addText(TALK_SAY, "x", 0); }), "not possible");
}

TEST(RequestQueue, TakingARequestAwayDoesNotHighlight) {
    TRequestQueueTextBuffer Queue(TALK_GAMEMASTER_REQUEST, 3);
    AddRequest(Queue, "A", "a");
    AddRequest(Queue, "B", "b");
    EXPECT_TRUE(Queue.checkChanged());
    Queue.deleteLine(Queue.seekLine(0));
    EXPECT_FALSE(Queue.checkChanged());
    EXPECT_FALSE(Queue.checkClearHighlight());
    Queue.removeLine(0);
    EXPECT_FALSE(Queue.checkChanged());
    EXPECT_TRUE(Queue.checkClearHighlight());
}
