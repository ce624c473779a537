// The VIP list window: lines in the list's order with their colours and icons, the menu request, the
// private conversation, and the tool tip of a long name.
#include "screen/ContentWindowsVIP.h"
#include "tests/screen/SideWindowFixture.h"

namespace {

class VIPWindowTest : public SideWindowTest {
protected:
    static void Ticks(int32_t Count) {
        for (int32_t i = 0; i < Count; i++)
            IncreaseTickCounter();
    }
    static std::vector<intptr_t> MenuRequests() {
        std::vector<intptr_t> IDs;
        for (const TQueuedEvent& Event : TakeEvents())
            IDs.push_back(Event.Type == MESSAGE_VIPMENU ? Event.Param1 : -1);
        return IDs;
    }
    static bool Same(const TSkinColor& A, const TSkinColor& B) {
        return A.red == B.red && A.green == B.green && A.blue == B.blue;
    }
};

TEST_F(VIPWindowTest, LinesFollowTheSortedListAndHidingOffline) {
    AddBuddy(1, "Zed", true);
    AddBuddy(2, "Amy", false);
    AddBuddy(3, "Bob", true);
    TBuddylistWindow& Body = open<TBuddylistWindow>(CreateBuddylistWindow);
    Body.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Body.LineCount, 3);
    EXPECT_EQ(Body.getDefaultHeight(), 3 * 16 + 10);
    Body.rightClick(20, 5, 0);
    Body.rightClick(20, 16 + 5, 0);
    Body.rightClick(20, 48 + 5, 0);                              // below the last line
    EXPECT_EQ(MenuRequests(), (std::vector<intptr_t>{3, 1, 0})); // online first, then by name

    HideOfflineBuddies(true);
    Body.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Body.LineCount, 2);
    Body.rightClick(20, 5, 0);
    EXPECT_EQ(MenuRequests(), std::vector<intptr_t>{3});

    SetBuddyOnline(1, false);
    SetBuddyOnline(3, false);
    Body.rightClick(20, 5, 0); // nobody online: no line
    EXPECT_EQ(MenuRequests(), std::vector<intptr_t>{0});
    EXPECT_EQ(Body.getContentHeight(), 10);
}

TEST_F(VIPWindowTest, ANewcomerShowsWhiteForASecondThenGreen) {
    AddBuddy(1, "Amy", false);
    AddBuddy(2, "Bob", false);
    Ticks(20);
    TBuddylistWindow& Body = open<TBuddylistWindow>(CreateBuddylistWindow);
    SetBuddyOnline(2, true);
    EXPECT_TRUE(Same(Body.getNameColor(GetBuddyPosition(1)), {248, 96, 96}));
    EXPECT_TRUE(Same(Body.getNameColor(GetBuddyPosition(2)), {248, 248, 248}));
    Ticks(10);
    EXPECT_TRUE(Same(Body.getNameColor(GetBuddyPosition(2)), {96, 248, 96}));
}

TEST_F(VIPWindowTest, DoubleClickOpensAPrivateConversation) {
    AddBuddy(1, "Amy", true);
    TBuddylistWindow& Body = open<TBuddylistWindow>(CreateBuddylistWindow);
    Body.leftDoubleClick(30, 20, 0); // below the last line
    Body.leftDoubleClick(30, 5, 0);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(154).str("Amy")));
    EXPECT_TRUE(NothingSent());
}

TEST_F(VIPWindowTest, IconsBesideTheNames) {
    AddBuddy(1, "Amy", true);
    AddBuddy(2, "Bob", true);
    AddBuddy(3, "Cid", true);
    EditBuddy(1, 2, "", false);
    EditBuddy(3, 100000, "", false); // a number with no skin
    TBuddylistWindow& Body = open<TBuddylistWindow>(CreateBuddylistWindow);
    Screen.clear();
    Body.draw(SCREEN_SURFACE, 0, 0);
    const int32_t Amy = 16 * GetBuddyPosition(1), Bob = 16 * GetBuddyPosition(2),
                  Cid = 16 * GetBuddyPosition(3);
    EXPECT_EQ(Screen.source(2, Amy + 2), TSkinScreen::skinPixel(219, 0, 0));
    EXPECT_EQ(Screen.source(13, Amy + 13), TSkinScreen::skinPixel(219, 11, 11));
    EXPECT_EQ(Screen.source(2, Bob + 2), TSkinScreen::skinPixel(7, 2, Bob + 2));
    EXPECT_EQ(Screen.source(2, Cid + 2), TSkinScreen::skinPixel(7, 2, Cid + 2));
}

TEST_F(VIPWindowTest, ALongNameGetsAToolTipWithdrawnWithTheWindow) {
    AddBuddy(1, "Amy", true);
    AddBuddy(2, "Wwwwwwwwwwwwwwwwwwwwwwwwwwwww", true);
    TBuddylistWindow& Body = open<TBuddylistWindow>(CreateBuddylistWindow);
    Body.getToolTip(30, 5);
    EXPECT_EQ(Tooltip(), "");
    Body.getToolTip(30, 16 + 5);
    EXPECT_EQ(Tooltip(), "Wwwwwwwwwwwwwwwwwwwwwwwwwwwww");
    Window.reset();
    EXPECT_EQ(GetTooltip(), nullptr);
}

} // namespace
