// Tests of the VIP list: sort keys and their order, online counts, login notices and the 200-entry limit.
#include "state/CreaturesBuddies.h"

#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

bool NoWarning() { return true; }

class VIPList : public ::testing::Test {
protected:
    void SetUp() override {
        ResetOptions();
        InitStatus(0, NoWarning);
        ResetTalkboxes();
        ResetBuddyList();
    }
    void TearDown() override { ExitStatus(); }

    static std::vector<std::string> Names() {
        std::vector<std::string> Shown;
        for (int32_t i = 0; i < GetNumberOfBuddies(); i++)
            Shown.emplace_back(GetBuddyName(i));
        return Shown;
    }

    static std::vector<int32_t> Order() {
        int32_t Methods[3];
        GetBuddySortOrder(Methods);
        return {Methods[0], Methods[1], Methods[2]};
    }

    static std::string Status() {
        const char* Message = GetStatusMessage();
        return Message != nullptr ? Message : "";
    }
};

using Strings = std::vector<std::string>;
using Methods = std::vector<int32_t>;

} // namespace

TEST_F(VIPList, StatusFirstThenIconThenName) {
    AddBuddy(1, "Abe", false);
    AddBuddy(2, "Zed", true);
    EXPECT_EQ(Names(), (Strings{"Zed", "Abe"}));
    EditBuddy(1, 3, "", false);
    AddBuddy(3, "Mo", false);
    EXPECT_EQ(Names(), (Strings{"Zed", "Mo", "Abe"})); // icon 0 before icon 3
    SetBuddySortOrder(BUDDYSORT_NAME);
    EXPECT_EQ(Order(), (Methods{0, 2, 1}));
    EXPECT_EQ(Names(), (Strings{"Abe", "Mo", "Zed"}));
    SetBuddyOnline(1, true);
    SetBuddyOnline(2, false);
    EXPECT_EQ(Names(), (Strings{"Abe", "Mo", "Zed"}));
    EXPECT_EQ(GetNumberOfOnlineBuddies(), 1);
}

TEST_F(VIPList, NamesSortByUnsignedBytesButAreFoundWithoutCase) {
    SetBuddySortOrder(BUDDYSORT_NAME);
    AddBuddy(1, "abe", true);
    AddBuddy(2, "\xC4rger", true); // Latin-1 capital A umlaut, above every ASCII letter
    AddBuddy(3, "Abe", true);
    AddBuddy(4, "Zora", true);
    EXPECT_EQ(Names(), (Strings{"Abe", "Zora", "abe", "\xC4rger"}));
    EXPECT_TRUE(IsBuddyName("ABE"));
    EXPECT_TRUE(IsBuddyName("zORA"));
    EXPECT_FALSE(IsBuddyName("Ab"));
    EXPECT_EQ(GetBuddyPosition(2), 3);
    EXPECT_EQ(GetBuddyPosition(9), -1);
}

TEST_F(VIPList, ChangingTheOrderKeepsTheOthersInTheirPlaces) {
    EXPECT_EQ(Order(), (Methods{2, 1, 0}));
    SetBuddySortOrder(1);
    EXPECT_EQ(Order(), (Methods{1, 2, 0}));
    SetBuddySortOrder(0);
    EXPECT_EQ(Order(), (Methods{0, 1, 2}));
    int32_t Stored[3];
    GetBuddySortmethods(Stored);
    EXPECT_EQ((Methods{Stored[0], Stored[1], Stored[2]}), (Methods{0, 1, 2}));
    SetBuddySortOrder(2);
    EXPECT_EQ(Order(), (Methods{2, 0, 1}));
    EXPECT_NE(ThrownText([] { SetBuddySortOrder(3); }).find("In(Method,0,2)"), std::string::npos);
}

TEST_F(VIPList, HidingOfflineVIPsPutsStatusFirst) {
    SetBuddySortOrder(1);
    SetBuddySortOrder(0);
    AddBuddy(1, "Abe", false);
    AddBuddy(2, "Bo", true);
    AddBuddy(3, "Cy", false);
    AddBuddy(4, "Di", true);
    EXPECT_EQ(GetNumberOfShownBuddies(), 4);
    HideOfflineBuddies(true);
    EXPECT_EQ(Order(), (Methods{2, 0, 1}));
    EXPECT_EQ(GetNumberOfShownBuddies(), 2);
    EXPECT_EQ(Names(), (Strings{"Bo", "Di", "Abe", "Cy"}));
    SetBuddySortOrder(1); // status stays first while hidden
    EXPECT_EQ(Order(), (Methods{2, 1, 0}));
    HideOfflineBuddies(false);
    EXPECT_EQ(GetNumberOfShownBuddies(), 4);
}

TEST_F(VIPList, LoginNoticesAndNewlyOnline) {
    EditBuddy(7, 0, "", true);
    AddBuddy(7, "Ingrid", false);
    AddBuddy(8, "Olaf", false);
    for (int32_t i = 0; i < 30; i++)
        IncreaseTickCounter();
    SetBuddyOnline(8, true);
    EXPECT_EQ(Status(), "");
    SetBuddyOnline(7, true);
    EXPECT_EQ(Status(), "Ingrid has logged in.");
    int32_t Position = GetBuddyPosition(7);
    for (int32_t i = 0; i < 9; i++)
        IncreaseTickCounter();
    EXPECT_TRUE(IsBuddyNewlyOnline(Position));
    IncreaseTickCounter();
    EXPECT_FALSE(IsBuddyNewlyOnline(Position));
    EXPECT_TRUE(GetBuddyNotifyLogin(Position));
    EXPECT_EQ(GetNumberOfOnlineBuddies(), 2);
    // A repeated online report counts once and notifies again.
    SetStatusMessage(nullptr);
    SetBuddyOnline(7, true);
    EXPECT_EQ(GetNumberOfOnlineBuddies(), 2);
    EXPECT_EQ(Status(), "Ingrid has logged in.");
    SetBuddyOnline(99, true);
    EXPECT_EQ(GetNumberOfOnlineBuddies(), 2);
}

TEST_F(VIPList, TheListHoldsTwoHundred) {
    for (uint32_t ID = 1; ID <= BUDDIES; ID++)
        AddBuddy(ID, ("Vip" + std::to_string(ID)).c_str(), ID % 2 == 0);
    EXPECT_EQ(GetNumberOfBuddies(), BUDDIES);
    EXPECT_EQ(GetNumberOfOnlineBuddies(), BUDDIES / 2);
    EXPECT_NE(ThrownText([] { AddBuddy(201, "Extra", true); }).find("NumberOfBuddies<BUDDIES"),
              std::string::npos);
    EXPECT_EQ(GetNumberOfBuddies(), BUDDIES);
    AddBuddy(200, "Renamed", false); // an update needs no room
    EXPECT_EQ(GetNumberOfOnlineBuddies(), BUDDIES / 2 - 1);
    EXPECT_STREQ(GetBuddyName(GetBuddyPosition(200)), "Renamed");
    EXPECT_NE(ThrownText([] { AddBuddy(1, std::string(30, 'x').c_str(), true); }).find("strlen(Name)<30"),
              std::string::npos);
    EXPECT_NE(ThrownText([] { GetBuddyIcon(BUDDIES); }).find("In(Position,0,NumberOfBuddies-1) [bug0000289]"),
              std::string::npos);
    EXPECT_NE(ThrownText([] { GetBuddyID(-1); }).find("In(Position,0,NumberOfBuddies-1)"), std::string::npos);
}

TEST_F(VIPList, RemovingPostsTheNameAndDropsTheNotes) {
    EditBuddy(5, 2, "guild leader", true);
    AddBuddy(4, "Anna", true);
    AddBuddy(5, "Bert", true);
    AddBuddy(6, "Carl", false);
    EXPECT_EQ(GetBuddyIcon(GetBuddyPosition(5)), 2);
    EXPECT_STREQ(GetBuddyListDescription(GetBuddyPosition(5)), "guild leader");
    EXPECT_STREQ(GetBuddyListDescription(GetBuddyPosition(4)), "");
    RemoveBuddy(5);
    RemoveBuddy(5);
    EXPECT_EQ(Names(), (Strings{"Anna", "Carl"}));
    EXPECT_EQ(GetNumberOfOnlineBuddies(), 1);
    EXPECT_EQ(GetBuddyIconNumber(5), 0);
    ASSERT_EQ(GetMessageCount(), 1);
    int32_t Type;
    intptr_t Param1, Param2;
    PopMessage(Type, Param1, Param2);
    EXPECT_EQ(Type, MESSAGE_REMOVEVIPNAME);
    EXPECT_STREQ(MessagePointer<char>(Param1), "Bert");
    FreeMessageParameters(Type, Param1, Param2);
}

TEST_F(VIPList, EditingMovesTheEntryAndEmptyNotesAreRemoved) {
    AddBuddy(1, "Anna", true);
    AddBuddy(2, "Bert", true);
    EditBuddy(1, 5, "", false);
    EXPECT_EQ(Names(), (Strings{"Bert", "Anna"}));
    EXPECT_EQ(FindBuddy(1), 0);
    EditBuddy(1, 0, "", false);
    EXPECT_EQ(FindBuddy(1), -1);
    EXPECT_EQ(Names(), (Strings{"Anna", "Bert"}));
    EXPECT_NE(ThrownText([] { EditBuddy(0, 1, "", false); }).find("CharacterID!=0"), std::string::npos);
    EXPECT_NE(ThrownText([] { EditBuddy(1, 1, nullptr, false); }).find("Description!=NULL"),
              std::string::npos);
}

TEST_F(VIPList, TheStoredOrderIsTakenWhenItNamesEachMethodOnce) {
    struct {
        Methods Stored, Taken;
    } const Cases[] = {
        {{0, 2, 1}, {0, 2, 1}},
        {{5, 0, 1}, {2, 0, 1}}, // a value outside 0..2 keeps the default in its place
        {{0, 0, 1}, {2, 1, 0}}, // a method twice: the default order
        {{1, 7, 0}, {2, 1, 0}},
    };
    for (const auto& Case : Cases) {
        SetBuddySortmethods(Case.Stored.data());
        AddBuddy(1, "Anna", true);
        ResetBuddyList();
        EXPECT_EQ(Order(), Case.Taken);
        EXPECT_EQ(GetNumberOfBuddies() + GetNumberOfOnlineBuddies(), 0);
    }
}
