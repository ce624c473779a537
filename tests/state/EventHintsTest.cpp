// Tests of the event-hint queue and the name and area checks.
#include "state/EventHints.h"

#include "tests/state/StateTest.h"

#include <vector>

namespace {

class EventHints : public ::testing::Test {
protected:
    void SetUp() override {
        ResetOptions();
        ResetEventHelps();
    }

    static std::vector<int32_t> Queued() {
        std::vector<int32_t> Numbers;
        while (int32_t Number = PopEventHelp())
            Numbers.push_back(Number);
        return Numbers;
    }
};

using Hints = std::vector<int32_t>;

} // namespace

TEST_F(EventHints, EachHintIsQueuedOncePerInstallation) {
    QueueEventHelp(1);
    QueueEventHelp(14);
    QueueEventHelp(1); // queued but never shown: still known
    EXPECT_EQ(PeekEventHelp(), 1);
    EXPECT_EQ(Queued(), (Hints{1, 14}));
    for (int32_t Number : {0, 15})
        EXPECT_TRUE(FailsWith([=] { QueueEventHelp(Number); }, "In(Number,1,EVENTHELPS)"));

    // A restart forgets the queue, not what is known.
    QueueEventHelp(3);
    ResetEventHelps();
    QueueEventHelp(3);
    EXPECT_EQ(PeekEventHelp(), 0);
}

TEST_F(EventHints, NamesMatchExactly) {
    for (const char* Name : {"tam", "Tamara", "Ta", "Ab  Ferr", "Mirabald "})
        CheckNPCEventHelp(Name);
    EXPECT_EQ(Queued(), Hints{});
    for (const char* Name : {"Lisse", "Tam", "Hesketh", "Mirabald", "Ab Ferr"})
        CheckNPCEventHelp(Name);
    EXPECT_EQ(Queued(), (Hints{5, 4, 2}));
    EXPECT_TRUE(FailsWith([] { CheckNPCEventHelp(nullptr); }, "Name!=NULL"));
}

TEST_F(EventHints, AreasAreInclusiveRectanglesOnOneFloor) {
    CheckPositionEventHelp(32093, 32213, 7);
    CheckPositionEventHelp(32094, 32213, 6);
    CheckPositionEventHelp(32100, 32214, 7);
    EXPECT_EQ(Queued(), Hints{});
    CheckPositionEventHelp(32100, 32213, 7);
    CheckPositionEventHelp(32191, 32255, 8);
    CheckPositionEventHelp(31936, 32064, 8);
    CheckPositionEventHelp(32957, 32076, 7);
    CheckPositionEventHelp(32345, 32218, 7);
    EXPECT_EQ(Queued(), (Hints{3, 6, 11, 12}));
}
