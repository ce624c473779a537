// Filter matching, the console's buffer registry and its factory.
#include "state/TalkFilter.h"
#include "state/Talk.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

namespace {

class Registry : public ::testing::Test {
protected:
    void TearDown() override {
        DeleteAllTextBuffers();
        SetDefaultTextBuffer(nullptr);
        GetConsoleChanged();
    }
};

TTalkFilter Entry(int32_t Mode, const char* Name, int32_t Channel) {
    TTalkFilter Filter;
    if (Name != nullptr) std::snprintf(Filter.Name, sizeof(Filter.Name), "%s", Name);
    Filter.Mode = Mode;
    Filter.Channel = Channel;
    return Filter;
}

int32_t UsedSlots(TTalkFilterList& List) {
    int32_t Used = 0;
    for (int32_t i = List.getMin(); i <= List.getMax(); i++)
        if (List.at(i) != nullptr) Used++;
    return Used;
}

} // namespace

TEST(TalkFilter, MatchRule) {
    TTalkFilter AnyName = Entry(0, nullptr, -1);
    EXPECT_TRUE(AnyName.matches(TALK_SAY, "Bob", 4));
    EXPECT_TRUE(AnyName.matches(TALK_SAY, nullptr, -1));
    for (int32_t Mode = TALK_GAMEMASTER_BROADCAST; Mode <= TALK_CHANNEL_HIGHLIGHT; Mode++)
        EXPECT_FALSE(AnyName.matches(Mode, "Bob", -1)) << Mode;

    TTalkFilter Bob = Entry(TALK_PRIVATE_MESSAGE, "Bob", -1);
    EXPECT_TRUE(Bob.matches(TALK_PRIVATE_MESSAGE, "bOB", 17));
    EXPECT_FALSE(Bob.matches(TALK_PRIVATE_MESSAGE, nullptr, -1));
    EXPECT_FALSE(Bob.matches(TALK_PRIVATE_MESSAGE, "Bobby", -1));
    EXPECT_FALSE(Bob.matches(TALK_SAY, "Bob", -1));

    TTalkFilter Channel = Entry(TALK_CHANNEL_CALL, nullptr, 3);
    EXPECT_TRUE(Channel.matches(TALK_CHANNEL_CALL, "x", 3));
    EXPECT_FALSE(Channel.matches(TALK_CHANNEL_CALL, "x", 4));
    EXPECT_FALSE(Channel.matches(TALK_CHANNEL_CALL, "x", -1));
}

TEST_F(Registry, ClassesByConversation) {
    std::string Failure = ThrownFrom("TalkFilter.cpp", [] { CreateTextBuffer(2, 3, nullptr, -1); });
    EXPECT_EQ(
        Failure.rfind("exception occurred (ReceiveTalkMode = 2) (Channel = -1), reason:\nTalkFilter.cpp ", 0),
        0u)
        << Failure;
    EXPECT_EQ(Failure.substr(Failure.size() - 26), ": can't create text buffer");
    TTextBuffer* Private = CreateTextBuffer(4, 4, "Bob", -1);
    ASSERT_NE(Private, nullptr);
    EXPECT_STREQ(Private->getAddressee(), "Bob");
    TTextBuffer* Public = CreateTextBuffer(5, 5, nullptr, 7);
    TTextBuffer* OwnChannel = CreateTextBuffer(5, 5, nullptr, 8);
    EXPECT_FALSE(Public->isPrivateChannel());
    EXPECT_TRUE(OwnChannel->isPrivateChannel());
    EXPECT_EQ(OwnChannel->getChannelID(), 8);
    TTextBuffer* Plain = CreateTextBuffer(2, 2, nullptr, -1);
    EXPECT_EQ(Plain->getAddressee(), nullptr);
    EXPECT_EQ(Plain->getChannelID(), -1);
    // Registered for mode 2 now, so the unknown combination is refused as existing.
    EXPECT_EQ(CreateTextBuffer(2, 3, nullptr, -1), nullptr);
    TTextBuffer* OwnRequest = CreateTextBuffer(7, 8, nullptr, -1);
    EXPECT_TRUE(OwnRequest->isRequest());
    EXPECT_STREQ(OwnRequest->getAddressee(), "");
    TTextBuffer* Answer = CreateTextBuffer(8, 7, "Player", -1);
    EXPECT_STREQ(Answer->getAddressee(), "Player");
    // A name with a channel is no plain kind: with modes 7 and 8 it still makes a request conversation.
    EXPECT_TRUE(CreateTextBuffer(8, 8, "Other", 2)->isRequest());

    EXPECT_EQ(UsedSlots(ConsoleFilterList()), 7);
}

TEST_F(Registry, FindOrCreate) {
    TTextBuffer* Channel = CreateTextBuffer(5, 5, nullptr, 3);
    ASSERT_NE(Channel, nullptr);
    EXPECT_EQ(CreateTextBuffer(5, 5, nullptr, 3), nullptr);
    EXPECT_EQ(FindTextBuffer(5, nullptr, 3), Channel);
    EXPECT_EQ(FindTextBuffer(5, nullptr, 4), nullptr);
    // Channel modes other than 5 match no filter as they are.
    EXPECT_EQ(FindTextBuffer(TALK_GAMEMASTER_CHANNELCALL, nullptr, 3), nullptr);

    TTextBuffer* Conversation = CreateTextBuffer(4, 4, "Bob", -1);
    EXPECT_EQ(CreateTextBuffer(4, 4, "BOB", -1), nullptr);
    EXPECT_EQ(FindTextBuffer(4, "bob", -1), Conversation);
}

TEST_F(Registry, OnlyOneRequestQueue) {
    TTextBuffer* Queue = CreateTextBuffer(6, 1, nullptr, 5);
    ASSERT_NE(Queue, nullptr);
    EXPECT_TRUE(Queue->isRequestQueue());
    EXPECT_EQ(Queue->getChannelID(), 5);
    EXPECT_EQ(CreateTextBuffer(6, 1, nullptr, 9), nullptr);
    EXPECT_EQ(FindTextBuffer(6, nullptr, -1), Queue);
}

TEST_F(Registry, GrowsAndReusesSlots) {
    // The registry starts with slots 0..4 and grows by 5; earlier tests may have grown it already.
    TTalkFilterList& List = ConsoleFilterList();
    ASSERT_EQ(UsedSlots(List), 0);
    int32_t Highest = List.getMax();
    EXPECT_EQ(List.getSpace() % 5, 0);
    std::vector<TTextBuffer*> Buffers;
    for (int32_t i = 0; i <= Highest; i++)
        Buffers.push_back(CreateTextBuffer(5, 5, nullptr, i));
    EXPECT_EQ(List.getMax(), Highest);
    Buffers.push_back(CreateTextBuffer(5, 5, nullptr, Highest + 1));
    EXPECT_EQ(List.getMax(), Highest + 1);
    EXPECT_EQ(List.at(Highest + 1)->TextBuffer, Buffers.back());
    EXPECT_EQ(List.getSpace() % 5, 0);

    DeleteTextBuffer(Buffers[1]);
    EXPECT_EQ(List.at(1), nullptr);
    EXPECT_EQ(FindTextBuffer(5, nullptr, 1), nullptr);
    TTextBuffer* Reused = CreateTextBuffer(4, 4, "Bob", -1);
    EXPECT_EQ(List.at(1)->TextBuffer, Reused);
    EXPECT_EQ(List.getMax(), Highest + 1);
}

TEST_F(Registry, DeleteTextBuffer) {
    SetDefaultTextBuffer(std::make_unique<TTextBuffer>(TALK_SAY));
    DeleteTextBuffer(DefaultTextBuffer());
    ASSERT_NE(DefaultTextBuffer(), nullptr);
    EXPECT_TRUE(DefaultTextBuffer()->isDefault());
    EXPECT_TRUE(DefaultTextBuffer()->usesSpeechModes());

    TTextBuffer Stray(TALK_SAY);
    EXPECT_NE(ThrownText([&] { DeleteTextBuffer(&Stray); }).find("Filter!=-1"), std::string::npos);
    EXPECT_NE(ThrownText([] { DeleteTextBuffer(nullptr); }).find("TextBuffer!=NULL"), std::string::npos);
}

TEST_F(Registry, AddToTextBufferAndConsoleChanged) {
    TTextBuffer* Buffer = CreateTextBuffer(4, 4, "Bob", -1);
    GetConsoleChanged();
    AddToTextBuffer(Buffer, 9, "hi", TALK_PRIVATE_MESSAGE, "Bob", -7200);
    AddToTextBuffer(Buffer, 0, "note", TALK_ADMIN_MESSAGE, nullptr, -7200);
    EXPECT_TRUE(GetConsoleChanged());
    EXPECT_FALSE(GetConsoleChanged());
    TTalkLine* Spoken = Buffer->seekLine(0);
    TTalkLine* Notice = Buffer->nextLine();
    int64_t Now = std::time(nullptr);
    EXPECT_NEAR(static_cast<double>(Spoken->Time), static_cast<double>(Now - 7200), 2);
    // Without a speaker the line is stamped now: the offset does not apply.
    EXPECT_NEAR(static_cast<double>(Notice->Time), static_cast<double>(Now), 2);
    EXPECT_EQ(Spoken->_StatementID, 9);
    EXPECT_STREQ(Spoken->MessageText, "hi");

    std::string Failure = ThrownText([] { AddToTextBuffer(nullptr, 3, "x", TALK_SAY, nullptr, 0); });
    EXPECT_NE(Failure.find("exception occurred (StatementID = 3) (TalkMode = 1)"), std::string::npos);
    EXPECT_NE(Failure.find("TargetBuffer!=NULL"), std::string::npos);

    ClearTextBuffer(Buffer);
    EXPECT_EQ(Buffer->getNumberOfLines(), 0);
    EXPECT_TRUE(GetConsoleChanged());
}

TEST_F(Registry, ClearAllTextBuffersEmptiesOnlyTheDefault) {
    SetDefaultTextBuffer(std::make_unique<TTextBuffer>(TALK_SAY));
    TTextBuffer* Channel = CreateTextBuffer(5, 5, nullptr, 2);
    DefaultTextBuffer()->addText(TALK_SAY, "a", 0);
    Channel->addText(TALK_SAY, "b", 0);
    ClearAllTextBuffers();
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
    EXPECT_EQ(Channel->getNumberOfLines(), 1);
    EXPECT_TRUE(GetConsoleChanged());
}

TEST_F(Registry, OwnPrivateChannel) {
    TTextBuffer* Public = CreateTextBuffer(5, 5, nullptr, 4);
    Public->setOwnChannel(true);
    EXPECT_FALSE(HasOwnPrivateChannel());
    TTextBuffer* Private = CreateTextBuffer(5, 5, nullptr, 12);
    EXPECT_FALSE(HasOwnPrivateChannel());
    Private->setOwnChannel(true);
    EXPECT_TRUE(HasOwnPrivateChannel());
    DeleteTextBuffer(Private);
    EXPECT_FALSE(HasOwnPrivateChannel());
}
