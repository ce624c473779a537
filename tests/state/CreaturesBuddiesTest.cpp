// Tests of the VIP list: sort keys and their order, online counts, login notices and the 200-entry limit.
#include "state/CreaturesBuddies.h"

#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "tests/state/StateTest.h"

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
    EXPECT_EQ(Names(), (Strings{"Abe", "Mo", "Zed"}));
}

TEST_F(VIPList, NamesSortByUnsignedBytesButAreFoundWithoutCase) {
    SetBuddySortOrder(BUDDYSORT_NAME);
    for (const char* Name : {"abe", "\xC4rger", "Abe", "Zora"}) // Latin-1 A umlaut above every ASCII letter
        AddBuddy(static_cast<uint32_t>(GetNumberOfBuddies() + 1), Name, true);
    EXPECT_EQ(Names(), (Strings{"Abe", "Zora", "abe", "\xC4rger"}));
    EXPECT_TRUE(IsBuddyName("ABE"));
    EXPECT_FALSE(IsBuddyName("Ab"));
}

TEST_F(VIPList, ChangingTheOrderKeepsTheOthersInTheirPlaces) {
    EXPECT_EQ(Order(), (Methods{2, 1, 0}));
    SetBuddySortOrder(1);
    EXPECT_EQ(Order(), (Methods{1, 2, 0}));
    SetBuddySortOrder(0);
    EXPECT_EQ(Order(), (Methods{0, 1, 2}));
    int32_t Stored[3];
    GetBuddySortmethods(Stored);
    EXPECT_EQ(Stored[2], 2);
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
    EXPECT_EQ(StatusText(), "");
    SetBuddyOnline(7, true);
    EXPECT_EQ(StatusText(), "Ingrid has logged in.");
    for (int32_t i = 0; i < 9; i++)
        IncreaseTickCounter();
    EXPECT_TRUE(IsBuddyNewlyOnline(GetBuddyPosition(7)));
    IncreaseTickCounter();
    EXPECT_FALSE(IsBuddyNewlyOnline(GetBuddyPosition(7)));
    SetBuddyOnline(7, true); // a repeated report counts once
    EXPECT_EQ(GetNumberOfOnlineBuddies(), 2);
}

TEST_F(VIPList, TheListHoldsTwoHundred) {
    for (uint32_t ID = 1; ID <= BUDDIES; ID++)
        AddBuddy(ID, ("Vip" + std::to_string(ID)).c_str(), ID % 2 == 0);
    EXPECT_EQ(GetNumberOfBuddies(), BUDDIES);
    EXPECT_EQ(GetNumberOfOnlineBuddies(), BUDDIES / 2);
    EXPECT_TRUE(FailsWith([] { AddBuddy(201, "Extra", true); }, "NumberOfBuddies<BUDDIES"));
    AddBuddy(200, "Renamed", false); // an update needs no room
    EXPECT_EQ(GetNumberOfOnlineBuddies(), BUDDIES / 2 - 1);
    EXPECT_STREQ(GetBuddyName(GetBuddyPosition(200)), "Renamed");
}

TEST_F(VIPList, RemovingPostsTheNameAndDropsTheNotes) {
    EditBuddy(5, 2, "guild leader", true);
    AddBuddy(4, "Anna", true);
    AddBuddy(5, "Bert", true);
    AddBuddy(6, "Carl", false);
    EXPECT_STREQ(GetBuddyListDescription(GetBuddyPosition(5)), "guild leader");
    EXPECT_STREQ(GetBuddyListDescription(GetBuddyPosition(4)), "");
    EditBuddy(4, 0, "", false); // empty notes are removed
    EXPECT_EQ(FindBuddy(4), -1);
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

TEST_F(VIPList, TheStoredOrderIsTakenWhenItNamesEachMethodOnce) {
    struct {
        Methods Stored, Taken;
    } const Cases[] = {
        {{0, 2, 1}, {0, 2, 1}},
        {{5, 0, 1}, {2, 0, 1}}, // a value outside 0..2 keeps the default in its place
        {{1, 7, 0}, {2, 1, 0}}, // ... which names a method twice: the default order
    };
    for (const auto& Case : Cases) {
        SetBuddySortmethods(Case.Stored.data());
        ResetBuddyList();
        EXPECT_EQ(Order(), Case.Taken);
    }
}
