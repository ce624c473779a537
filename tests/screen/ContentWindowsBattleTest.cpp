// The battle list window: lines from the creature table's battle list, marks and hover, and the clicks
// read back from the loopback server.
#include "screen/ContentWindowsBattle.h"
#include "foundation/sysinc.h"
#include "tests/foundation/Thrown.h"
#include "tests/screen/SideWindowFixture.h"

namespace {

constexpr uint32_t RAT = 0x40000001, WOLF = 0x40000002, BOB = 0x10000002;
constexpr uint32_t SHIFT = 0x200, CTRL = 0x400;
constexpr int32_t MARK_X = 23, MARK_Y = 2; // the first mark of the first line

class BattleWindowTest : public SideWindowTest {
protected:
    static TCreature& Add(uint32_t ID, const char* Name, int32_t dx) {
        TCreature& Creature = *NewCreature(0, ID);
        snprintf(Creature.Name, sizeof(Creature.Name), "%s", Name);
        Creature.X = VX + dx;
        Creature.Y = VY;
        Creature.Z = VZ;
        Creature.OutfitType = 0; // shown as an item
        Creature.OutfitHead = ITEM;
        Creature.HealthPercent = 100;
        Creature.Visible = 1;
        return Creature;
    }
    TBattleWindow& openList() {
        Add(RAT, "Rat", 1);
        Add(WOLF, "Wolf", 2);
        Add(BOB, "Bob", -1);
        TBattleWindow& Body = open<TBattleWindow>(CreateBattleWindow);
        Body.draw(SCREEN_SURFACE, 0, 0);
        return Body;
    }
    // A point on line Line of the body.
    static int32_t LineY(int32_t Line) { return 22 * Line + 10; }
};

TEST_F(BattleWindowTest, AnEmptyListDrawsOnlyTheBackground) {
    TBattleWindow& Body = open<TBattleWindow>(CreateBattleWindow);
    EXPECT_EQ(Body.getContentHeight(), 1);
    Screen.clear();
    Body.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Body.ScrollBox->getBar()->_Max, 0);
    EXPECT_EQ(Screen.source(1, 1), TSkinScreen::skinPixel(7, 1, 1));
    EXPECT_EQ(Body.getLineAt(5, 5), -1);
}

TEST_F(BattleWindowTest, LinesFollowTheCreatureTable) {
    TBattleWindow& Body = openList();
    EXPECT_EQ(Body.LineCount, 3);
    EXPECT_EQ(Body.getLineAt(5, LineY(3)), -1);
    EXPECT_EQ(Body.getLineAt(Body.getListWidth() + 1, LineY(0)), -1);
    GetCreature(WOLF)->HealthPercent = 0; // dead: leaves the list
    Body.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Body.LineCount, 2);
    EXPECT_EQ(GetBattleListCreature(1)->CreatureID, BOB);
}

TEST_F(BattleWindowTest, PlainLeftClickAttacksAndStops) {
    TBattleWindow& Body = openList();
    EXPECT_TRUE(Body.leftButtonUp(30, LineY(0), 0));
    EXPECT_EQ(GetAttackTarget(), RAT);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(161).u32(RAT)));
    EXPECT_TRUE(Body.leftButtonUp(30, LineY(0), 0));
    EXPECT_EQ(GetAttackTarget(), 0u);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(161).u32(0)));
}

TEST_F(BattleWindowTest, ShiftLooksCtrlAsksForTheMenu) {
    TBattleWindow& Body = openList();
    Body.leftButtonUp(30, LineY(1), SHIFT);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(140).object(VX + 2, VY, VZ, 99, 0)));
    Body.leftButtonUp(30, LineY(2), CTRL);
    std::vector<TQueuedEvent> Events = TakeEvents();
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Type, MESSAGE_BATTLEMENU);
    EXPECT_EQ(Events[0].Param1, static_cast<intptr_t>(BOB));
    Body.rightClick(30, LineY(5), 0); // below the last line
    Body.leftButtonUp(30, LineY(1), 0);
    SetActionState(ACTIONSTATE_DRAG);
    Body.leftButtonUp(30, LineY(1), 0);
    EXPECT_TRUE(TakeEvents().empty());
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(161).u32(WOLF)));
    EXPECT_TRUE(NothingSent());
}

TEST_F(BattleWindowTest, CursorDropsOnLines) {
    TBattleWindow& Body = openList();
    SetUseTarget(TObject{3031, 1, 0}, 2, VX, VY, VZ);
    SetActionState(ACTIONSTATE_USEWITH);
    Body.leftButtonUp(30, LineY(2), 0); // a player
    EXPECT_EQ(Status(), "You are not allowed to shoot directly on players.");
    Body.leftButtonUp(30, LineY(0), 0);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(132).object(VX, VY, VZ, 3031, 2).u32(RAT)));

    SetLookTarget(TObject{3031, 1, 0}, 2, VX, VY, VZ);
    SetActionState(ACTIONSTATE_TRADEWITH);
    Body.leftButtonUp(30, LineY(1), 0);
    EXPECT_EQ(Status(), "Select a player to trade with.");
    Body.leftButtonUp(30, LineY(2), 0);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(125).object(VX, VY, VZ, 3031, 2).u32(BOB)));

    SetUseTarget(TObject{CREATURE, RAT, 0}, 0, VX, VY, VZ);
    SetActionState(ACTIONSTATE_USEWITH);
    EXPECT_NE(ThrownText([&] { Body.leftButtonUp(30, LineY(0), 0); }).find("SrcObj.Type!=CREATURE"),
              std::string::npos);
}

TEST_F(BattleWindowTest, ALongNameIsShortenedWithItsToolTip) {
    Add(RAT, "Rat", 1);
    Add(WOLF, "Wwwwwwwwwwwwwwwwwwwwwwwwwwwww", 2); // wider than the name's room
    TBattleWindow& Body = open<TBattleWindow>(CreateBattleWindow);
    Body.getToolTip(30, LineY(0));
    EXPECT_EQ(Tooltip(), "");
    Body.getToolTip(30, LineY(1));
    EXPECT_EQ(Tooltip(), "Wwwwwwwwwwwwwwwwwwwwwwwwwwwww");
}

TEST_F(BattleWindowTest, MarkersAndTheAimedCreature) {
    TBattleWindow& Body = openList();
    const uint32_t Red = shade(224, 64, 64), White = shade(248, 248, 248), Green = shade(64, 224, 64);
    SetAttackTarget(WOLF);
    SetMousePosition(40, 100 + LineY(0)); // hovering the rat, the body drawn at (0, 100)
    Screen.clear();
    Body.draw(SCREEN_SURFACE, 0, 100);
    EXPECT_EQ(GetAimedCreature(), RAT);
    EXPECT_EQ(Screen.pixel(1, 101), White);
    EXPECT_EQ(Screen.pixel(1, 100 + 22 + 1), Red);
    EXPECT_EQ(Screen.pixel(20, 100 + 22 + 20), Red);
    EXPECT_NE(Screen.pixel(1, 100 + 44 + 1), Red);

    SetFollowTarget(BOB);
    SetMousePosition(300, 5); // away from the list
    Screen.clear();
    Body.draw(SCREEN_SURFACE, 0, 100);
    EXPECT_EQ(GetAimedCreature(), 0u);
    EXPECT_EQ(Screen.pixel(1, 100 + 44 + 1), Green);
    EXPECT_NE(Screen.pixel(1, 101), White);
}

TEST_F(BattleWindowTest, AHealthAboveAHundredFillsTheBarAndNoMore) {
    Add(RAT, "Rat", 1).HealthPercent = 110;
    TBattleWindow& Body = open<TBattleWindow>(CreateBattleWindow);
    Screen.clear();
    Body.draw(SCREEN_SURFACE, 0, 0);
    const uint32_t Fill = Screen.pixel(24, 15);
    EXPECT_EQ(Screen.pixel(24 + 119, 15), Fill) << "the whole bar";
    EXPECT_EQ(Screen.pixel(24 + 120, 15), 0u) << "the bar's frame";
    EXPECT_NE(Screen.pixel(24 + 121, 15), Fill) << "nothing past the frame";
}

TEST_F(BattleWindowTest, PartyShieldOnlyOutsideAParty) {
    Add(BOB, "Bob", -1).PARTYFlag = 1;
    TBattleWindow& Body = open<TBattleWindow>(CreateBattleWindow);
    Screen.clear();
    Body.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.source(MARK_X, MARK_Y), TSkinScreen::skinPixel(248, 0, 0));
    GetCreature(PLAYER)->PARTYFlag = 3; // the player leads a party
    Screen.clear();
    Body.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_NE(Screen.source(MARK_X, MARK_Y), TSkinScreen::skinPixel(248, 0, 0));
}

TEST_F(BattleWindowTest, ASkullOnItsWayOutBlinksOnTheCreatureClockUntilItIsTakenAway) {
    // Both clocks far from the wall clock: the list reads none of its own.
    static uint32_t Milliseconds = 0;
    static int64_t Seconds = 1000;
    SetMillisecondTimer([] { return Milliseconds; });
    SetCalendarClock([] { return Seconds; });
    TCreature& Bob = Add(BOB, "Bob", -1);
    Bob.setPKFlag(1, false);
    Bob.setPKFlag(0, true); // taken away by the server: it goes a few seconds later
    TBattleWindow& Body = open<TBattleWindow>(CreateBattleWindow);
    const auto SkullShown = [&] {
        Screen.clear();
        Body.draw(SCREEN_SURFACE, 0, 0);
        return Screen.source(MARK_X, MARK_Y) == TSkinScreen::skinPixel(240, 0, 0);
    };
    for (int Phase = 0; Phase < 2; Phase++) {
        Milliseconds += 301;
        UpdateBlink();
        EXPECT_EQ(SkullShown(), GetBlink() != 0) << "blink " << int(GetBlink());
    }
    Seconds += 5;
    UpdatePKFlags();
    EXPECT_FALSE(SkullShown());
    SetCalendarClock(nullptr);
    SetMillisecondTimer(nullptr);
}

} // namespace
