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
    }
};

// An entry for Name, or for any name when Name is NULL.
TTalkFilter Entry(int32_t Mode, const char* Name, int32_t Channel) {
    TTalkFilter Filter;
    std::snprintf(Filter.Name, sizeof(Filter.Name), "%s", Name != nullptr ? Name : "");
    Filter.AnyName = Name == nullptr;
    Filter.Mode = Mode;
    Filter.Channel = Channel;
    return Filter;
}

} // namespace

TEST(TalkFilter, MatchRule) {
    TTalkFilter AnyName = Entry(0, nullptr, -1);
    EXPECT_TRUE(AnyName.matches(TALK_SAY, nullptr, 4));
    for (int32_t Mode = TALK_GAMEMASTER_BROADCAST; Mode <= TALK_CHANNEL_HIGHLIGHT; Mode++)
        EXPECT_FALSE(AnyName.matches(Mode, "Bob", -1)) << Mode;
    TTalkFilter Bob = Entry(TALK_PRIVATE_MESSAGE, "Bob", -1);
    EXPECT_TRUE(Bob.matches(TALK_PRIVATE_MESSAGE, "bOB", 17));
    EXPECT_FALSE(Bob.matches(TALK_PRIVATE_MESSAGE, nullptr, -1));
    EXPECT_FALSE(Bob.matches(TALK_PRIVATE_MESSAGE, "Bobby", -1));
    EXPECT_FALSE(Bob.matches(TALK_SAY, "Bob", -1));
    EXPECT_FALSE(Entry(TALK_CHANNEL_CALL, nullptr, 3).matches(TALK_CHANNEL_CALL, "x", -1));
}

TEST_F(Registry, ClassesByConversation) {
    std::string Failure = ThrownFrom("TalkFilter.cpp", [] { CreateTextBuffer(2, 3, nullptr, -1); });
    EXPECT_EQ(
        Failure.rfind("exception occurred (ReceiveTalkMode = 2) (Channel = -1), reason:\nTalkFilter.cpp ", 0),
        0u)
        << Failure;
    EXPECT_EQ(Failure.substr(Failure.size() - 26), ": can't create text buffer");
    EXPECT_STREQ(CreateTextBuffer(4, 4, "Bob", -1)->getAddressee(), "Bob");
    EXPECT_FALSE(CreateTextBuffer(5, 5, nullptr, 7)->isPrivateChannel());
    EXPECT_TRUE(CreateTextBuffer(5, 5, nullptr, 8)->isPrivateChannel());
    EXPECT_EQ(CreateTextBuffer(2, 2, nullptr, -1)->getChannelID(), -1);
    EXPECT_STREQ(CreateTextBuffer(8, 7, "Player", -1)->getAddressee(), "Player");
    EXPECT_TRUE(CreateTextBuffer(7, 8, nullptr, -1)->isRequest());
}

TEST_F(Registry, FindOrCreate) {
    TTextBuffer* Channel = CreateTextBuffer(5, 5, nullptr, 3);
    ASSERT_NE(Channel, nullptr);
    EXPECT_EQ(CreateTextBuffer(5, 5, nullptr, 3), nullptr);
    EXPECT_EQ(FindTextBuffer(5, nullptr, 3), Channel);
    EXPECT_EQ(FindTextBuffer(TALK_GAMEMASTER_CHANNELCALL, nullptr, 3), nullptr);
    // A conversation with an empty name is one with that name, not with everybody.
    TTextBuffer* Nameless = CreateTextBuffer(4, 4, "", -1);
    TTextBuffer* Conversation = CreateTextBuffer(4, 4, "Bob", -1);
    ASSERT_NE(Conversation, nullptr);
    EXPECT_EQ(CreateTextBuffer(4, 4, "BOB", -1), nullptr);
    EXPECT_EQ(FindTextBuffer(4, "bob", -1), Conversation);
    EXPECT_EQ(FindTextBuffer(4, "", -1), Nameless);
    // The request queue is registered for any channel: a second one on another channel is refused.
    TTextBuffer* Queue = CreateTextBuffer(6, 1, nullptr, 5);
    EXPECT_TRUE(Queue->isRequestQueue());
    EXPECT_EQ(CreateTextBuffer(6, 1, nullptr, 9), nullptr);
    EXPECT_EQ(FindTextBuffer(6, nullptr, -1), Queue);
}

TEST_F(Registry, GrowsAndReusesSlots) {
    // The registry starts with slots 0..4 and grows by 5; earlier tests may have grown it already.
    TTalkFilterList& List = ConsoleFilterList();
    int32_t Highest = List.getMax();
    std::vector<TTextBuffer*> Buffers;
    for (int32_t i = 0; i <= Highest + 1; i++)
        Buffers.push_back(CreateTextBuffer(5, 5, nullptr, i));
    EXPECT_EQ(List.getMax(), Highest + 1);
    EXPECT_EQ(List.getSpace() % 5, 0);
    EXPECT_EQ(List.at(Highest + 1)->TextBuffer, Buffers.back());
    DeleteTextBuffer(Buffers[1]);
    EXPECT_EQ(FindTextBuffer(5, nullptr, 1), nullptr);
    EXPECT_EQ(List.at(1), nullptr);
    TTextBuffer* Reused = CreateTextBuffer(4, 4, "Bob", -1);
    EXPECT_EQ(List.at(1)->TextBuffer, Reused);
    EXPECT_EQ(List.getMax(), Highest + 1);
}

TEST_F(Registry, DeleteTextBuffer) {
    SetDefaultTextBuffer(std::make_unique<TTextBuffer>(TALK_SAY));
    DeleteTextBuffer(DefaultTextBuffer());
    ASSERT_NE(DefaultTextBuffer(), nullptr);
    EXPECT_TRUE(DefaultTextBuffer()->usesSpeechModes());
    TTextBuffer Stray(TALK_SAY);
    EXPECT_NE(ThrownText([&] { DeleteTextBuffer(&Stray); }).find("Filter!=-1"), std::string::npos);
}

TEST_F(Registry, AddToTextBufferAppliesTheOffsetOnlyWithASpeaker) {
    TTextBuffer* Buffer = CreateTextBuffer(4, 4, "Bob", -1);
    GetConsoleChanged();
    AddToTextBuffer(Buffer, 9, "hi", TALK_PRIVATE_MESSAGE, "Bob", -7200);
    AddToTextBuffer(Buffer, 0, "note", TALK_ADMIN_MESSAGE, nullptr, -7200);
    EXPECT_TRUE(GetConsoleChanged());
    int64_t Now = std::time(nullptr);
    EXPECT_NEAR(static_cast<double>(Buffer->seekLine(0)->Time), static_cast<double>(Now - 7200), 2);
    EXPECT_NEAR(static_cast<double>(Buffer->seekLine(1)->Time), static_cast<double>(Now), 2);
    std::string Failure = ThrownText([] { AddToTextBuffer(nullptr, 3, "x", TALK_SAY, nullptr, 0); });
    EXPECT_NE(Failure.find("exception occurred (StatementID = 3) (TalkMode = 1)"), std::string::npos);
    EXPECT_NE(Failure.find("TargetBuffer!=NULL"), std::string::npos);
}

TEST_F(Registry, OwnPrivateChannel) {
    CreateTextBuffer(5, 5, nullptr, 4)->setOwnChannel(true);
    EXPECT_FALSE(HasOwnPrivateChannel());
    TTextBuffer* Private = CreateTextBuffer(5, 5, nullptr, 12);
    Private->setOwnChannel(true);
    EXPECT_TRUE(HasOwnPrivateChannel());
}

TEST(SpeakerList, FindsTheLowestMatchingSlotAsAPlainListWould) {
    TSpeakerList List;
    TTalkFilterList Plain{0, 9, 10, nullptr};
    auto Add = [&](int32_t Mode, const char* Name) {
        EXPECT_EQ(List.add(Mode, Name, false), AddTalkFilter(Mode, Name, -1, nullptr, Plain, false));
    };
    auto Remove = [&](int32_t Slot) {
        List.remove(Slot);
        DeleteTalkFilter(Slot, Plain);
    };
    for (int32_t i = 0; i < 30; i++)
        Add(0, ("Name " + std::to_string(i)).c_str());
    Add(0, "name 3"); // a second entry of one name, in a later slot
    Add(TALK_YELL, nullptr);
    Remove(2);
    Remove(7);
    Add(0, "Bob");   // takes slot 2
    Add(0, nullptr); // slot 7, matches every name
    const struct {
        int32_t Mode;
        const char* Name;
    } Asked[] = {{0, "NAME 3"},       {TALK_SAY, "bob"}, {TALK_YELL, "Name 29"}, {TALK_YELL, nullptr},
                 {TALK_SAY, nullptr}, {0, "nobody"},     {TALK_SAY, "Name 5"}};
    for (const auto& Ask : Asked)
        EXPECT_EQ(List.find(Ask.Mode, Ask.Name, -1), FindTalkFilter(Ask.Mode, Ask.Name, -1, Plain))
            << Ask.Mode << " " << (Ask.Name != nullptr ? Ask.Name : "NULL");
    List.clear();
    EXPECT_EQ(List.find(0, "Bob", -1), -1);
    EXPECT_EQ(List.add(0, "Bob", false), 0);
    for (int32_t i = Plain.getMin(); i <= Plain.getMax(); i++)
        DeleteTalkFilter(i, Plain);
}
