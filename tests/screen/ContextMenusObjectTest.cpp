// The object menu: its entries for items, containers, the player's own creature, monsters and other
// players, and the client messages and events its entries give, read back over loopback.
#include "state/Preferences.h"
#include "tests/foundation/Thrown.h"
#include "tests/screen/MenuFixture.h"

namespace {

constexpr uint32_t ORC = 0x40000010, MARA = 0x10000020;
constexpr int32_t INV = 0xFFFF;

class ObjectMenu : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        SetClassicControl(false);
        SetMenuCreature(0);
    }
    // The targets that a right click on the map sets before it posts the menu's event.
    static void Target(const TObject& Object, int32_t Position, int32_t x, int32_t y, int32_t z,
                       uint32_t Creature = 0) {
        SetLookTarget(Object, Position, x, y, z);
        SetUseTarget(Object, Position, x, y, z);
        SetMenuCreature(Creature);
    }
    static std::unique_ptr<TObjectMenu> Open() { return std::make_unique<TObjectMenu>(50, 50, 800, 600); }
    // The player's creature standing on its field, as the look target with its top object below.
    static void TargetCreature(uint32_t ID) {
        SetLookTarget({CREATURE, static_cast<int32_t>(ID), 0}, 1, VX + 1, VY, VZ);
        SetUseTarget({GROUND, 0, 0}, 0, VX + 1, VY, VZ);
        SetMenuCreature(ID);
    }
};

using Lines = std::vector<std::string>;

TEST_F(ObjectMenu, ShortcutTextsFollowTheClassicControlOption) {
    Target({APPLE, 1, 0}, 2, VX, VY, VZ);
    EXPECT_EQ(Entries(*Open()), (Lines{"Look (Shift)", "Use (Ctrl)", "-", "Trade with ..."}));
    SetClassicControl(true);
    AddCreature(ORC, "Orc");
    TargetCreature(ORC);
    EXPECT_EQ(Entries(*Open()), (Lines{"Look", "Use", "-", "Attack", "Follow", "-", "Copy Name"}));
}

TEST_F(ObjectMenu, AContainerInAContainerOpensInItsWindowOrANewOne) {
    OpenContainer(2, {BAG, 0, 0}, "bag", 8, false);
    Target({BAG, 0, 0}, 3, INV, 64 + 2, 3);
    auto Menu = Open();
    EXPECT_EQ(Entries(*Menu),
              (Lines{"Look (Shift)", "Open (Ctrl)", "Open in new window", "-", "Trade with ..."}));
    Choose(*Menu, "Open");
    EXPECT_EQ(Sent(), TWire(130).object(INV, 66, 3, BAG, 3).u8(2).Bytes);
    Choose(*Menu, "Open in new window");
    EXPECT_EQ(Sent(), TWire(130).object(INV, 66, 3, BAG, 3).u8(0).Bytes); // the lowest closed number

    Target({BAG, 0, 0}, 1, VX, VY, VZ);
    Menu = Open();
    EXPECT_EQ(Entries(*Menu), (Lines{"Look (Shift)", "Open (Ctrl)", "-", "Trade with ..."}));
    Choose(*Menu, "Open");
    EXPECT_EQ(Sent(), TWire(130).object(VX, VY, VZ, BAG, 1).u8(0).Bytes);
}

TEST_F(ObjectMenu, LookUseWithRotateAndTradeDoWhatTheySay) {
    Target({ROPE, 0, 0}, 1, VX, VY, VZ);
    auto Menu = Open();
    EXPECT_EQ(Entries(*Menu), (Lines{"Look (Shift)", "Use with ... (Ctrl)", "-", "Trade with ..."}));
    Choose(*Menu, "Look");
    EXPECT_EQ(Sent(), TWire(140).object(VX, VY, VZ, ROPE, 1).Bytes);
    Choose(*Menu, "Use with ...");
    EXPECT_EQ(EventTypes(), std::vector<int32_t>{MESSAGE_USEWITHCURSOR});

    Target({STATUE, 0, 0}, 2, VX, VY + 1, VZ); // flagged for pick-up but unmovable: no trade
    Menu = Open();
    EXPECT_EQ(Entries(*Menu), (Lines{"Look (Shift)", "Use (Ctrl)", "Rotate"}));
    Choose(*Menu, "Rotate");
    EXPECT_EQ(Sent(), TWire(133).object(VX, VY + 1, VZ, STATUE, 2).Bytes);
}

TEST_F(ObjectMenu, MoveUpMovesTheWholeStackOfACumulativeItemIntoTheParent) {
    OpenContainer(1, {BAG, 0, 0}, "inner bag", 8, true);
    OpenContainer(3, {BAG, 0, 0}, "top bag", 8, false);
    Target({COINS, 25, 0}, 4, INV, 65, 4);
    auto Menu = Open();
    EXPECT_EQ(Entries(*Menu), (Lines{"Look (Shift)", "Use (Ctrl)", "-", "Trade with ...", "Move up"}));
    Choose(*Menu, "Move up");
    EXPECT_EQ(Sent(), TWire(120).object(INV, 65, 4, COINS, 4).u16(INV).u16(65).u8(254).u8(25).Bytes);
    Target({APPLE, 7, 0}, 0, INV, 65, 0);
    Choose(*Open(), "Move up");
    EXPECT_EQ(Sent(), TWire(120).object(INV, 65, 0, APPLE, 0).u16(INV).u16(65).u8(254).u8(1).Bytes);
    Target({APPLE, 1, 0}, 0, INV, 67, 0); // a container without parent
    EXPECT_EQ(Find(*Open(), "Move up"), nullptr);
}

TEST_F(ObjectMenu, TheOwnCreatureOffersOutfitLeavePartyAndCopyName) {
    OwnCreature()->PARTYFlag = 4;
    CopyString(OwnCreature()->Name, "Kelsar");
    TargetCreature(PLAYER);
    auto Menu = Open();
    EXPECT_EQ(Entries(*Menu),
              (Lines{"Look (Shift)", "Use (Ctrl)", "-", "Set Outfit", "Leave Party", "-", "Copy Name"}));
    Choose(*Menu, "Set Outfit");
    EXPECT_EQ(Sent(), TWire(210).Bytes);
    Choose(*Menu, "Leave Party");
    EXPECT_EQ(Sent(), TWire(167).Bytes);
    Choose(*Menu, "Copy Name");
    EXPECT_EQ(Clipboard(), "Kelsar");
    SetPlayerState(1 << 7); // in a fight
    EXPECT_EQ(Find(*Open(), "Leave Party"), nullptr);
}

TEST_F(ObjectMenu, AMonsterGetsFightAndFollowEntriesOnly) {
    SetRight(0, 1);
    AddCreature(ORC, "Orc");
    TargetCreature(ORC);
    auto Menu = Open();
    EXPECT_EQ(Entries(*Menu),
              (Lines{"Look (Shift)", "Use (Ctrl)", "-", "Attack (Alt)", "Follow", "-", "Copy Name"}));
    Choose(*Menu, "Attack");
    EXPECT_EQ(GetAttackTarget(), ORC);
    EXPECT_EQ(Sent(), TWire(161).u32(ORC).Bytes);
    Menu = Open();
    Choose(*Menu, "Stop Attack");
    EXPECT_EQ(GetAttackTarget(), 0u);
    EXPECT_EQ(Sent(), TWire(161).u32(0).Bytes);
}

TEST_F(ObjectMenu, AnotherPlayerGetsMessageListPartyAndReportEntries) {
    SetRight(3, 1);
    AddCreature(MARA, "Mara", 1); // she invites the player
    TargetCreature(MARA);
    auto Menu = Open();
    EXPECT_EQ(Entries(*Menu), (Lines{"Look (Shift)", "Use (Ctrl)", "-", "Attack (Alt)", "Follow", "-",
                                     "Message to Mara", "Add to VIP list", "Ignore Mara", "Join Mara's Party",
                                     "-", "Copy Name", "-", "Rule Violation"}));
    Choose(*Menu, "Message to Mara");
    EXPECT_EQ(Sent(), TWire(154).str("Mara").Bytes);
    Choose(*Menu, "Add to VIP list");
    EXPECT_EQ(Sent(), TWire(220).str("Mara").Bytes);
    Choose(*Menu, "Join Mara's Party");
    EXPECT_EQ(Sent(), TWire(164).u32(MARA).Bytes);
}

TEST_F(ObjectMenu, RuleViolationCarriesACopyOfTheName) {
    SetRight(3, 1);
    AddCreature(MARA, "Mara");
    TargetCreature(MARA);
    Choose(*Open(), "Rule Violation");
    int32_t Type;
    intptr_t Name, Statement;
    PopMessage(Type, Name, Statement);
    EXPECT_EQ(Type, MESSAGE_GAMEMASTERRULEVIOLATION);
    EXPECT_STREQ(MessagePointer<char>(Name), "Mara");
    EXPECT_EQ(Statement, 0);
    FreeMessageParameters(Type, Name, Statement);
}

TEST_F(ObjectMenu, ThePartyEntryFollowsBothPartyFlags) {
    AddCreature(MARA, "Mara");
    TargetCreature(MARA);
    auto PartyEntry = [&](int32_t Own, int32_t Hers) {
        OwnCreature()->PARTYFlag = Own;
        GetCreature(MARA)->PARTYFlag = Hers;
        for (const std::string& Line : Entries(*Open()))
            if (Line.find("Party") != std::string::npos || Line.find("Mara's") != std::string::npos ||
                Line.find("Leadership") != std::string::npos)
                return Line;
        return std::string("none");
    };
    EXPECT_EQ(PartyEntry(0, 0), "Invite to Party");
    EXPECT_EQ(PartyEntry(2, 1), "Join Mara's Party");
    EXPECT_EQ(PartyEntry(1, 2), "Revoke Mara's Invitation");
    EXPECT_EQ(PartyEntry(1, 3), "none");
    EXPECT_EQ(PartyEntry(3, 1), "none");
    EXPECT_EQ(PartyEntry(4, 2), "Revoke Mara's Invitation");
    EXPECT_EQ(PartyEntry(4, 3), "Pass Leadership to Mara");
    EXPECT_EQ(PartyEntry(4, 0), "Invite to Party");
    OwnCreature()->PARTYFlag = 5;
    EXPECT_NE(ThrownText([] { Open(); }).find("unknown player party flag"), std::string::npos);
}

TEST_F(ObjectMenu, AnItemOffersNoReportAndACreatureThatLeftGetsNothingSent) {
    SetRight(3, 1);
    Target({APPLE, 1, 0}, 2, VX, VY, VZ);
    EXPECT_EQ(Find(*Open(), "Rule Violation"), nullptr);
    AddCreature(MARA, "Mara");
    TargetCreature(MARA);
    auto Menu = Open();
    GetCreature(MARA)->CreatureID = 0; // the record was reused
    Choose(*Menu, "Message to Mara");
    Choose(*Menu, "Rule Violation");
    EXPECT_TRUE(NothingSent());
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(ObjectMenu, MissingLookTargetAndUnknownEventsAreFailedChecks) {
    Target({0, 0, 0}, 0, VX, VY, VZ);
    EXPECT_NE(ThrownText([] { Open(); }).find("LookedObject!=0"), std::string::npos);
    Target({APPLE, 1, 0}, 2, VX, VY, VZ);
    auto Menu = Open();
    EXPECT_NE(ThrownText([&] { Menu->handleEvent(10999); }).find("unknown event"), std::string::npos);
}

} // namespace
