// The battle-list, VIP-list and chat-line menus: their entries from the game state and what they send,
// post, copy and write.
#include "state/Preferences.h"
#include "state/Talk.h"
#include "tests/foundation/Thrown.h"
#include "tests/screen/ChatFakes.h"
#include "tests/screen/MenuFixture.h"

namespace {

constexpr uint32_t ORC = 0x40000010, MARA = 0x10000020, MARA_CHARACTER = 777,
                   OWN_CHARACTER = 0x10000001; // the player's own ID
using Lines = std::vector<std::string>;

class PeopleMenu : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        InitTalk();
        CopyString(OwnCreature()->Name, "Kelsar");
    }
    void TearDown() override {
        ExitTalk();
        MenuTest::TearDown();
    }
    static std::string LastConsoleLine() {
        TTextBuffer* Buffer = DefaultTextBuffer();
        TTalkLine* Line = Buffer->seekLine(Buffer->getNumberOfLines() - 1);
        return Line != nullptr ? Line->AfterStamp : "none";
    }
};

// ---- battle list ----

TEST_F(PeopleMenu, ABattleListMonsterGetsFightFollowAndCopyNameOnly) {
    SetRight(0, 1);
    AddCreature(ORC, "Orc");
    TCreatureMenu Menu(ORC, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu), (Lines{"Attack", "Follow", "-", "Copy Name"}));
    Choose(Menu, "Copy Name");
    EXPECT_EQ(Clipboard(), "Orc");
    Choose(Menu, "Attack");
    EXPECT_EQ(Sent(), TWire(161).u32(ORC).Bytes);
    EXPECT_EQ(Entries(TCreatureMenu(ORC, 10, 10, 800, 600))[0], "Stop Attack");
    EXPECT_NE(ThrownText([&] { Menu.handleEvent(MENU_LOOK); }).find("unknown event"), std::string::npos);
}

TEST_F(PeopleMenu, ABattleListPlayerGetsThePlayerPartyAndReportEntries) {
    SetRight(2, 1);
    CreateTextBuffer(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, 9)->setOwnChannel(true);
    AddBuddy(MARA_CHARACTER, "Mara", true);
    AddCreature(MARA, "Mara");
    TCreatureMenu Menu(MARA, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu),
              (Lines{"Attack", "Follow", "-", "Message to Mara", "Invite to private chat", "Ignore Mara",
                     "Invite to Party", "-", "Copy Name", "-", "Rule Violation"}));
    Choose(Menu, "Invite to private chat");
    EXPECT_EQ(Sent(), TWire(171).str("Mara").Bytes);
    Choose(Menu, "Invite to Party");
    EXPECT_EQ(Sent(), TWire(163).u32(MARA).Bytes);
    Choose(Menu, "Ignore Mara");
    EXPECT_TRUE(IsTalkFiltered(0, "Mara", -1));
    EXPECT_EQ(LastConsoleLine(), "none"); // no line in the console
}

// ---- VIP list ----

TEST_F(PeopleMenu, TheVIPListsEmptySpaceOffersAddingSortingAndHiding) {
    SetRight(2, 1);
    TBuddyMenu Menu(0, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu),
              (Lines{"Add new VIP", "Sort by name", "Sort by type", "Sort by status", "Hide offline VIPs"}));
    Choose(Menu, "Add new VIP");
    EXPECT_EQ(EventTypes(), std::vector<int32_t>{MESSAGE_ADDVIP});
    Choose(Menu, "Hide offline VIPs");
    EXPECT_TRUE(GetBuddyHideOffline());
    TBuddyMenu Hidden(0, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Hidden), (Lines{"Add new VIP", "Sort by name", "Sort by type", "Show offline VIPs"}));
    Choose(Hidden, "Sort by name");
    int32_t Order[3];
    GetBuddySortOrder(Order);
    EXPECT_EQ(Order[1], BUDDYSORT_NAME); // status stays first while offline VIPs are hidden
    EXPECT_NE(ThrownText([&] { Menu.handleEvent(MENU_MESSAGE_TO); }).find("unknown event"),
              std::string::npos);
}

TEST_F(PeopleMenu, AVIPLineOffersEditRemoveMessageAndCopyName) {
    SetRight(2, 1);
    AddBuddy(MARA_CHARACTER, "Mara", true);
    AddBuddy(OWN_CHARACTER, "Kelsar", true);
    TBuddyMenu Menu(MARA_CHARACTER, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu), (Lines{"Edit Mara", "Remove Mara", "Message to Mara", "-", "Add new VIP",
                                    "Sort by name", "Sort by type", "Sort by status", "Hide offline VIPs",
                                    "-", "Copy Name", "-", "Rule Violation"}));
    Choose(Menu, "Message to Mara");
    EXPECT_EQ(Sent(), TWire(154).str("Mara").Bytes);
    Choose(Menu, "Edit Mara");
    int32_t Type;
    intptr_t Param1, Param2;
    PopMessage(Type, Param1, Param2);
    EXPECT_EQ(Type, MESSAGE_EDITVIP);
    EXPECT_EQ(Param1, static_cast<intptr_t>(MARA_CHARACTER));
    Choose(Menu, "Remove Mara");
    EXPECT_EQ(GetBuddyPosition(MARA_CHARACTER), -1);
    EXPECT_EQ(Sent(), TWire(221).u32(MARA_CHARACTER).Bytes);
    Choose(Menu, "Copy Name"); // the VIP is gone: nothing happens
    Choose(Menu, "Message to Mara");
    EXPECT_TRUE(NothingSent());

    EXPECT_EQ(Find(TBuddyMenu(OWN_CHARACTER, 10, 10, 800, 600), "Message to Kelsar"), nullptr);
    SetBuddyOnline(OWN_CHARACTER, false);
    AddBuddy(MARA_CHARACTER, "Mara", false);
    EXPECT_EQ(Find(TBuddyMenu(MARA_CHARACTER, 10, 10, 800, 600), "Message to Mara"), nullptr);
}

// ---- chat lines ----

TEST_F(PeopleMenu, AnotherPlayersLineOffersThePlayerEntriesAndIgnoringWritesAConsoleLine) {
    SetRight(2, 1);
    SetStatusMessages(true);
    TFakeTextView View(DefaultTextBuffer());
    View.addLine(51, TALK_SAY, "Mara", "hello");
    TTextMenu Menu(&View, 0, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu), (Lines{"Message to Mara", "Add to VIP list", "Ignore Mara", "-", "Copy Name",
                                    "Copy Message", "-", "Select all", "-", "Rule Violation"}));
    Choose(Menu, "Copy Message");
    EXPECT_EQ(Clipboard(), "Mara: hello");
    Choose(Menu, "Add to VIP list");
    EXPECT_EQ(Sent(), TWire(220).str("Mara").Bytes);
    Choose(Menu, "Select all");
    EXPECT_EQ(View.Log, Lines{"selectAll"});
    Choose(Menu, "Ignore Mara");
    EXPECT_EQ(LastConsoleLine(), "You are now ignoring player Mara.");
    Choose(Menu, "Ignore Mara");
    EXPECT_EQ(LastConsoleLine(), "You are no longer ignoring player Mara.");
}

TEST_F(PeopleMenu, TheReportOfAChatLineCarriesTheStatementInOneHeapBlock) {
    SetRight(2, 1);
    TFakeTextView View(DefaultTextBuffer());
    View.addLine(51, TALK_SAY, "Mara", "buy gold");
    TTextMenu Menu(&View, 0, 10, 10, 800, 600);
    Choose(Menu, "Rule Violation");
    int32_t Type;
    intptr_t Name, Statement;
    PopMessage(Type, Name, Statement);
    EXPECT_EQ(Type, MESSAGE_GAMEMASTERRULEVIOLATION);
    EXPECT_EQ(Name, 0);
    const auto* Reported = MessagePointer<TReportedStatement>(Statement);
    ASSERT_NE(Reported, nullptr);
    EXPECT_EQ(Reported->StatementID, 51);
    EXPECT_EQ(Reported->Mode, TALK_SAY);
    EXPECT_STREQ(Reported->Speaker, "Mara");
    EXPECT_STREQ(GetReportedMessage(*Reported), "buy gold");
    FreeMessageParameters(Type, Name, Statement); // freed as the dispatcher frees it
}

TEST_F(PeopleMenu, TheOwnLineAndAnEmptySpotOfferOnlyCopyingAndSelecting) {
    TFakeTextView View(DefaultTextBuffer());
    View.addLine(0, TALK_SAY, "Kelsar", "hi all");
    EXPECT_EQ(Entries(TTextMenu(&View, 0, 10, 10, 800, 600)),
              (Lines{"Copy Name", "Copy Message", "-", "Select all"}));
    EXPECT_EQ(Entries(TTextMenu(&View, 5, 10, 10, 800, 600)), (Lines{"Select all"}));
    View.Selection = "hi";
    TTextMenu Menu(&View, 5, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu), (Lines{"Copy", "-", "Select all"}));
    Choose(Menu, "Copy");
    EXPECT_EQ(Clipboard(), "hi");
    Choose(Menu, "Select all");
    OwnCreature()->CreatureID = 0; // the player's record is gone
    EXPECT_NE(
        ThrownText([&] { TTextMenu Lost(&View, 0, 10, 10, 800, 600); }).find("GetCreature(GetPlayerID())"),
        std::string::npos);
}

TEST_F(PeopleMenu, LinesInTheOwnPrivateChannelOfferExclusion) {
    TTextBuffer* Channel = CreateTextBuffer(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, 9);
    Channel->setOwnChannel(true);
    TFakeTextView View(Channel);
    View.addLine(3, TALK_CHANNEL_CALL, "Mara", "hey");
    TTextMenu Menu(&View, 0, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu)[1], "Exclude from private chat");
    Choose(Menu, "Exclude from private chat");
    EXPECT_EQ(Sent(), TWire(172).str("Mara").Bytes);
    TFakeTextView Elsewhere(DefaultTextBuffer());
    Elsewhere.addLine(4, TALK_SAY, "Mara", "hey");
    EXPECT_EQ(Entries(TTextMenu(&Elsewhere, 0, 10, 10, 800, 600))[1], "Invite to private chat");
}

TEST_F(PeopleMenu, AGamemastersAnswerInARequestOffersNothingAboutItsSpeaker) {
    SetRight(2, 1);
    TFakeTextView View(CreateTextBuffer(TALK_PLAYER_ANSWER, TALK_GAMEMASTER_ANSWER, "Mara", -1));
    View.addLine(0, TALK_GAMEMASTER_ANSWER, "Gm Ardan", "on my way");
    TTextMenu Menu(&View, 0, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu), (Lines{"Copy Message", "-", "Select all"}));
    Menu.handleEvent(10999); // ignored
}

} // namespace
