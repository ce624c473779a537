// Tests of the component timers, the keyboard shortcut table and the hover help state.
#include "foundation/sysinc.h"
#include "gui/GUIServices.h"
#include "state/EventHints.h"
#include "state/Preferences.h"
#include "tests/gui/Probes.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

uint32_t FakeClock = 0;
uint32_t ReadFakeClock() { return FakeClock; }

class TimerTest : public ::testing::Test {
protected:
    TimerTest() {
        SetMillisecondTimer(ReadFakeClock);
        UpdateTimers(); // brings the previous update to the fake clock
    }
    ~TimerTest() override { SetMillisecondTimer(nullptr); }

    void tick(uint32_t Milliseconds = 100) {
        FakeClock += Milliseconds;
        UpdateTimers();
    }

    TEventLog Log;
};

// Records getRemaining and isExpired of its timer on every event.
class TTimerOwner : public TProbeParent {
public:
    using TProbeParent::TProbeParent;
    void handleEvent(int32_t Identifier) override {
        Log.push_back(std::to_string(Identifier) + ":" + std::to_string(Timer->getRemaining()) +
                      (Timer->isExpired() ? " expired" : ""));
        if (DeleteOnExpiry && Timer->isExpired()) Timer.reset();
    }
    std::unique_ptr<TComponentTimer> Timer;
    bool DeleteOnExpiry = false;
};

TEST_F(TimerTest, ACountdownFiresOnEveryTickAndOnceMoreAtZero) {
    TTimerOwner Owner(Log, "owner");
    Owner.Timer = std::make_unique<TComponentTimer>(5, &Owner, 31);
    EXPECT_FALSE(Owner.Timer->isExpired());
    EXPECT_EQ(Owner.Timer->getRemaining(), 5);
    for (int i = 0; i < 7; i++)
        tick();
    EXPECT_EQ(Log, (TEventLog{"31:4", "31:3", "31:2", "31:1", "31:0 expired"}));
    EXPECT_FALSE(Owner.Timer->Active);
}

TEST_F(TimerTest, ACountOfZeroOrLessNeverRuns) {
    TTimerOwner Owner(Log, "owner");
    Owner.Timer = std::make_unique<TComponentTimer>(0, &Owner, 1);
    EXPECT_TRUE(Owner.Timer->isExpired());
    TComponentTimer Negative(-3, &Owner, 2);
    EXPECT_TRUE(Negative.isExpired());
    EXPECT_EQ(Negative.getRemaining(), 0);
    tick();
    tick();
    EXPECT_TRUE(Log.empty());
}

TEST_F(TimerTest, ALateTickEndsTheCountdownAndFiresOnce) {
    TTimerOwner Owner(Log, "owner");
    Owner.Timer = std::make_unique<TComponentTimer>(3, &Owner, 9);
    tick(150);
    tick(1000);
    tick();
    EXPECT_EQ(Log, (TEventLog{"9:1", "9:0 expired"}));
}

TEST_F(TimerTest, TheTargetMayDeleteItsTimerInItsHandler) {
    TTimerOwner First(Log, "first"), Second(Log, "second");
    First.DeleteOnExpiry = true;
    First.Timer = std::make_unique<TComponentTimer>(1, &First, 1);
    Second.Timer = std::make_unique<TComponentTimer>(2, &Second, 2);
    tick();
    tick();
    EXPECT_EQ(Log, (TEventLog{"1:0 expired", "2:1", "2:0 expired"}));
    EXPECT_EQ(First.Timer, nullptr);
}

TEST_F(TimerTest, FreedCellsAreReusedLowestFirst) {
    TProbeParent Owner(Log, "o");
    auto A = std::make_unique<TComponentTimer>(2, &Owner, 1);
    auto B = std::make_unique<TComponentTimer>(2, &Owner, 2);
    auto C = std::make_unique<TComponentTimer>(2, &Owner, 3);
    A.reset();
    auto D = std::make_unique<TComponentTimer>(2, &Owner, 4); // takes A's cell, ahead of B
    tick();
    EXPECT_EQ(Log, (TEventLog{"o:event 4", "o:event 2", "o:event 3"}));
}

class ShortcutTest : public ::testing::Test {
protected:
    ShortcutTest() { ResetShortcuts(); }
    ~ShortcutTest() override { ResetShortcuts(); }

    TEventLog Log;
    TProbeParent Target{Log, "t"};
};

TEST_F(ShortcutTest, LettersFireInEitherCaseWithOrWithoutShift) {
    SetShortcut('Q', &Target, 1);
    EXPECT_TRUE(FireShortcut('q'));
    EXPECT_TRUE(FireShortcut('Q' | 0x200));
    EXPECT_TRUE(FireShortcut('q' | 0x200));
    EXPECT_FALSE(FireShortcut('q' | 0x400)); // Ctrl+q is another key
    EXPECT_EQ(Log, (TEventLog{"t:event 1", "t:event 1", "t:event 1"}));
}

TEST_F(ShortcutTest, ModifiersOtherThanShiftStayPartOfTheKey) {
    SetShortcut(2316, &Target, 109);      // Alt+arrow up
    SetShortcut('a', &Target, 2);         // a lower-case entry never matches
    SetShortcut(0x200 | 268, &Target, 3); // an entry with Shift never matches
    EXPECT_TRUE(FireShortcut(2316));
    EXPECT_TRUE(FireShortcut(2316 | 0x200));
    EXPECT_FALSE(FireShortcut('a'));
    EXPECT_FALSE(FireShortcut(0x200 | 268));
    EXPECT_FALSE(FireShortcut(268));
    EXPECT_EQ(Log, (TEventLog{"t:event 109", "t:event 109"}));
}

TEST_F(ShortcutTest, SettingAgainReplacesAndRemovingMovesTheLastEntryIntoTheGap) {
    SetShortcut('A', &Target, 1);
    SetShortcut('B', &Target, 9);
    SetShortcut('C', &Target, 3);
    SetShortcut('B', &Target, 2);
    EXPECT_EQ(GetNumberOfShortcuts(), 3);
    RemoveShortcut('A');
    RemoveShortcut('X');
    EXPECT_EQ(GetNumberOfShortcuts(), 2);
    EXPECT_FALSE(FireShortcut('A'));
    EXPECT_TRUE(FireShortcut('C'));
    EXPECT_TRUE(FireShortcut('B'));
    EXPECT_EQ(Log, (TEventLog{"t:event 3", "t:event 2"}));
}

TEST_F(ShortcutTest, TheTableGrowsBeyondItsFirstBlock) {
    for (int32_t Key = 0; Key < 80; Key++)
        SetShortcut(256 + Key, &Target, Key);
    EXPECT_EQ(GetNumberOfShortcuts(), 80);
    EXPECT_TRUE(FireShortcut(256 + 79));
    EXPECT_EQ(Log, (TEventLog{"t:event 79"}));
}

TEST(HelpStateTest, ChangedFlagFollowsChangesOfTheNumber) {
    ResetOptions(); // no hint known yet
    QueueEventHelp(1);
    ASSERT_EQ(GetEventHelpCount(), 1);
    SetHelpContext(5);
    ResetHelpState();
    EXPECT_EQ(GetEventHelpCount(), 0) << "the pending event hints go with the help state";
    EXPECT_EQ(GetHelpContext(), 1);
    EXPECT_FALSE(HelpContextChanged());
    SetHelpContext(1);
    EXPECT_FALSE(HelpContextChanged());
    SetHelpContext(22);
    SetHelpContext(22);
    EXPECT_TRUE(HelpContextChanged());
    EXPECT_FALSE(HelpContextChanged());
}

TEST(HelpStateTest, OriginMovesAndExtentIsSet) {
    SetHelpOrigin(10, 20);
    MoveHelpOrigin(5, -3);
    SetHelpExtent(7, 8);
    int32_t X, Y, W, H;
    GetHelpRectangle(&X, &Y, &W, &H);
    EXPECT_EQ(X, 15);
    EXPECT_EQ(Y, 17);
    EXPECT_EQ(W, 7);
    EXPECT_EQ(H, 8);
}

} // namespace
