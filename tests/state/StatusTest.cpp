// Tests of the login status: account and character list checks, rights, cursor shapes, blink timing.
#include "state/Status.h"

#include "foundation/Exception.h"
#include "foundation/sysinc.h"

#include <gtest/gtest.h>
#include <string>

namespace {

bool NoWarning() { return true; }

std::string FailureText(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const TMyException& Error) {
        return Error.getText();
    }
    return "";
}

uint32_t FakeNow = 0;
uint32_t FakeTimer() { return FakeNow; }

class StatusTest : public ::testing::Test {
protected:
    void SetUp() override { InitStatus(0, NoWarning); }
    void TearDown() override {
        ExitStatus();
        SetMillisecondTimer(nullptr);
    }
};

} // namespace

TEST_F(StatusTest, InitRefusesAMissingLinkWarningHandler) {
    EXPECT_NE(FailureText([] { InitStatus(1, nullptr); }).find("linkwarningeventhandler!=NULL"),
              std::string::npos);
    InitStatus(1, NoWarning);
    EXPECT_EQ(GetGamemasterFlag(), 1);
    EXPECT_EQ(GetPatchProgress(), -1);
    EXPECT_EQ(GetLinkWarningHandler(), &NoWarning);
}

TEST_F(StatusTest, AccountKeepsNumberTextAndPassword) {
    SetAccount(1234567, "secret");
    EXPECT_EQ(GetAccountNumber(), 1234567u);
    EXPECT_STREQ(GetAccountNumberText(), "1234567");
    EXPECT_STREQ(GetPassword(), "secret");
    SetAccount(1, std::string(29, 'p').c_str());
    EXPECT_EQ(std::string(GetPassword()), std::string(29, 'p'));
    EXPECT_NE(FailureText([] { SetAccount(1, std::string(30, 'p').c_str()); }).find("strlen(Password)<30"),
              std::string::npos);
    EXPECT_NE(FailureText([] { SetAccount(1, nullptr); }).find("Password!=NULL"), std::string::npos);
}

TEST_F(StatusTest, CharacterListEntriesAndTheirChecks) {
    const uint8_t Address[4] = {10, 0, 0, 1};
    SetAccountCharacters(2);
    SetAccountCharacter(0, "Avalon", "Pellara", Address, 7172);
    SetAccountCharacter(1, std::string(29, 'n').c_str(), "W", Address, 7173);
    EXPECT_STREQ(GetCharacterAddress(0), "10.0.0.1");
    EXPECT_STREQ(GetCharacterName(0), "Avalon");
    EXPECT_STREQ(GetCharacterWorld(0), "Pellara");
    EXPECT_EQ(GetCharacterPort(1), 7173);
    SetActiveCharacter(1);
    EXPECT_EQ(GetActiveCharacter(), 1);
    EXPECT_NE(FailureText([&] {
                  SetAccountCharacter(2, "A", "W", Address, 1);
              }).find("assertion failed (Number = 2), reason:\nIn(Number,0,AccountCharacters-1)"),
              std::string::npos);
    EXPECT_NE(FailureText([&] {
                  SetAccountCharacter(0, std::string(30, 'n').c_str(), "W", Address, 1);
              }).find("strlen(Name)<30"),
              std::string::npos);
    EXPECT_NE(FailureText([&] { SetAccountCharacter(0, "A", nullptr, Address, 1); }).find("World!=NULL"),
              std::string::npos);

    SetAccountCharacters(0);
    EXPECT_EQ(GetAccountCharacters(), 0);
    for (auto Getter : {GetCharacterName, GetCharacterWorld, GetCharacterAddress})
        EXPECT_NE(FailureText([&] { Getter(0); }).find("In(Number,0,AccountCharacters-1)"),
                  std::string::npos);
    EXPECT_NE(FailureText([] { SetActiveCharacter(0); }), "");
    SetAccountCharacters(-3);
    EXPECT_EQ(GetAccountCharacters(), 0);
}

TEST_F(StatusTest, AddressBytesShowWithoutLeadingZeros) {
    const uint8_t Address[4] = {192, 8, 255, 0};
    SetAccountCharacters(1);
    SetAccountCharacter(0, "A", "W", Address, 1);
    EXPECT_STREQ(GetCharacterAddress(0), "192.8.255.0");
}

TEST_F(StatusTest, RightsAndTheirChecks) {
    SetRight(3, 0x80000000u);
    EXPECT_TRUE(CheckRight(3, 31));
    EXPECT_FALSE(CheckRight(3, 30));
    EXPECT_TRUE(CheckRight(3, -1));
    EXPECT_FALSE(CheckRight(4, -1)) << "a mask of 0 allows nothing";
    EXPECT_TRUE(HasAnyRight());
    ClearRights();
    SetRight(RIGHT_BUGREPORT, 1);
    EXPECT_FALSE(HasAnyRight()) << "only rules 0..31 count";
    EXPECT_NE(FailureText([] {
                  SetRight(RIGHT_ANY, 1);
              }).find("(rightid = 50), reason:\nIn(rightid,0,RIGHT_ANY-1)"),
              std::string::npos);
    EXPECT_NE(FailureText([] { CheckRight(-1, 0); }).find("In(rightid,0,RIGHT_ANY-1)"), std::string::npos);
    EXPECT_NE(FailureText([] { CheckRight(0, 32); }), "") << "no shift past the mask";
}

TEST_F(StatusTest, RuleViolationTablesAndUnknownIds) {
    EXPECT_STREQ(GetRuleViolationReason(0), "1a) Offensive name");
    EXPECT_STREQ(GetRuleViolationReason(31), "Invalid payment");
    EXPECT_STREQ(GetRuleViolationAction(7), "IP Banishment");
    std::string Reason = FailureText([] { GetRuleViolationReason(32); });
    EXPECT_NE(Reason.find("unknown right (rightid = 32)"), std::string::npos) << Reason;
    EXPECT_NE(FailureText([] { GetRuleViolationAction(-1); }).find("unknown action (actionid = -1)"),
              std::string::npos);
}

TEST_F(StatusTest, BlinkFlipsOnlyAfterMoreThan300Milliseconds) {
    FakeNow = GetStartTime() + 1000;
    SetMillisecondTimer(FakeTimer);
    UpdateBlink();
    uint8_t First = GetBlink();
    FakeNow += 300;
    UpdateBlink();
    EXPECT_EQ(GetBlink(), First);
    FakeNow += 1;
    UpdateBlink();
    EXPECT_NE(GetBlink(), First);
}

TEST_F(StatusTest, DragStartsFromFourPixelsAwayAndOnlyWithASource) {
    SetMousePressPosition(100, 100);
    StartDragIfMoved(110, 110);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE) << "nothing to drag yet";
    SetDragSource(TObject{3031, 5, 0}, 1, 65535, 64, 2);
    StartDragIfMoved(103, 97);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE) << "3 pixels";
    StartDragIfMoved(100, 96);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_DRAG) << "4 pixels";
    int32_t Position, x, y, z;
    const TObject* Source = GetDragSource(&Position, &x, &y, &z);
    EXPECT_EQ(Source->Type, 3031);
    EXPECT_EQ(Source->Data, 5);
    EXPECT_EQ(Position, 1);
    EXPECT_EQ(x, 65535);
    EXPECT_EQ(y, 64);
    EXPECT_EQ(z, 2);

    SetActionState(ACTIONSTATE_NONE);
    SetMousePressPosition(0, 0);
    StartDragIfMoved(50, 50);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE) << "a new press clears the drag source";
}
