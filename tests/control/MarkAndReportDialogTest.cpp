// The automap mark editor (new and edited marks, the description's limit, the blocks it owns) and the
// gamemaster's rule violation report (reasons and actions by right, the statement, the checks on OK).
#include "OptionDialogFixture.h"

#include "gui/KeyCodes.h"
#include "screen/ContextMenus.h"
#include "state/Map.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"

#include <cstring>

namespace {

class MarkEdit : public OptionDialogTest {
protected:
    void SetUp() override {
        OptionDialogTest::SetUp();
        InitAutomap();
    }
    void TearDown() override {
        InitAutomap();
        OptionDialogTest::TearDown();
    }
    static intptr_t Place(int32_t x, int32_t y, int32_t z) {
        auto* Block = static_cast<TCoordinate*>(NewMessageBlock(sizeof(TCoordinate)));
        *Block = {x, y, z};
        return MessageParameter(Block);
    }
    static intptr_t MarkCopy(const TMapMark& Mark) {
        auto* Block = static_cast<TMapMark*>(NewMessageBlock(sizeof(TMapMark)));
        *Block = Mark;
        return MessageParameter(Block);
    }
    // The live marks of the block holding (x, y, z).
    static std::vector<TMapMark> Marks(int32_t x, int32_t y, int32_t z) {
        TDynamicArray<TMapMark> All(0, 0, 10);
        int32_t Count = 0;
        GetAutomapMarks(x / 256, y / 256, z, All, Count);
        std::vector<TMapMark> Live;
        for (int32_t i = 0; i < Count; i++)
            if (All.at(i).x != 0 || All.at(i).y != 0) Live.push_back(All.at(i));
        return Live;
    }
};

} // namespace

TEST_F(MarkEdit, ANewMarkStartsEmptyWithTypeZeroAndIsAddedOnOk) {
    auto* Editor = Open<TMarkEditDialog>(MESSAGE_NEWMAPMARK, Place(1000, 1001, 7));
    ASSERT_NE(Editor, nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Edit Mark");
    EXPECT_EQ(Editor->TypeGroup.Selected, Editor->TypeButtons[0]);
    EXPECT_STREQ(Editor->Description->getText(), "");
    Type("Depot");
    Click(Editor->TypeButtons[10]);
    KeyPressed(KEY_ENTER);
    const std::vector<TMapMark> Live = Marks(1000, 1001, 7);
    ASSERT_EQ(Live.size(), 1u);
    EXPECT_EQ(Live[0].x, 1000);
    EXPECT_EQ(Live[0].y, 1001);
    EXPECT_EQ(Live[0].Type, 10);
    EXPECT_STREQ(Live[0].Text, "Depot");

    Open<TMarkEditDialog>(MESSAGE_NEWMAPMARK, Place(1002, 1001, 7));
    Type("gone");
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(Marks(1000, 1001, 7).size(), 1u) << "Escape adds nothing";
}

TEST_F(MarkEdit, AnEditedMarkStaysAtItsOwnFieldAndReplacesTheMarksThere) {
    AddMapMark({1000, 1001, 7}, "old", 2);
    AddMapMark({1000, 1001, 7}, "twin", 5);
    auto* Editor = Open<TMarkEditDialog>(MESSAGE_EDITMAPMARK, Place(1003, 1004, 7),
                                         MarkCopy(TMapMark{1000, 1001, 2, "old"}));
    ASSERT_NE(Editor, nullptr);
    EXPECT_EQ(Editor->TypeGroup.Selected, Editor->TypeButtons[2]);
    EXPECT_STREQ(Editor->Description->getText(), "old");
    Type(std::string(100, 'x')); // the field's limit
    Click(Dialog()->OkButton);
    const std::vector<TMapMark> Live = Marks(1000, 1001, 7);
    ASSERT_EQ(Live.size(), 1u);
    EXPECT_EQ(Live[0].x, 1000);
    EXPECT_EQ(Live[0].Type, 2);
    EXPECT_EQ(strlen(Live[0].Text), 99u);
    EXPECT_EQ(std::string(Live[0].Text, 3), "old");
}

// The blocks stay the event's: the dispatcher frees them also when the dialog fails.
TEST_F(MarkEdit, AMissingPlaceFailsItsCheckAndLeavesTheMarkToTheEvent) {
    void* Mark = NewMessageBlock(sizeof(TMapMark));
    EXPECT_NE(ExceptionTextOf([Mark] {
                  TMarkEditDialog(nullptr, static_cast<TMapMark*>(Mark));
              }).find("_Coordinate != NULL"),
              std::string::npos);
    FreeMessageParameters(MESSAGE_EDITMAPMARK, 0, MessageParameter(Mark));
}

namespace {

class GamemasterReport : public OptionDialogTest {
protected:
    void SetUp() override {
        OptionDialogTest::SetUp();
        ClearRights();
        SetRight(0, 1u << 1);                     // names: name report only
        SetRight(9, 1u << 0 | 1u << 6 | 1u << 7); // offensive statement
        SetRight(30, 1u << 2);                    // outside the statement reasons
    }
    void TearDown() override {
        ClearRights();
        OptionDialogTest::TearDown();
    }
    static void ChooseReason(TGamemasterRuleViolationDialog* Report, int32_t Line) {
        Report->Reasons->select(Line);
        Report->Reasons->SelectBinding.fire();
    }
    static std::string Status() { return GetStatusMessage() != nullptr ? GetStatusMessage() : ""; }
};

} // namespace

TEST_F(GamemasterReport, ReasonsAndActionsFollowTheRights) {
    auto* Report = Open<TGamemasterRuleViolationDialog>(MESSAGE_GAMEMASTERRULEVIOLATION,
                                                        MessageParameter(NewMessageText("Dorn")));
    ASSERT_NE(Report, nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Rule Violation");
    EXPECT_STREQ(Report->NameField->getText(), "Dorn");
    EXPECT_TRUE(Report->NameField->ReadOnly);
    EXPECT_EQ(Report->FocusGroup.getActive(), Report->CommentField);
    ASSERT_EQ(Report->Reasons->Lines, 3);
    EXPECT_STREQ(Report->Reasons->getLine(1), "2a) Offensive statement");
    EXPECT_EQ(Report->IPBanishment->Enabled, false);

    ChooseReason(Report, 1);
    ASSERT_EQ(Report->Actions->Lines, 2);
    EXPECT_STREQ(Report->Actions->getLine(1), "Statement Report");
    EXPECT_TRUE(Report->IPBanishment->Enabled);
    EXPECT_FALSE(Report->StatementField->isDisabled());
    Click(Report->IPBanishment);
    Report->Actions->select(1);
    EXPECT_EQ(Report->getSelectedAction(), 6);

    ChooseReason(Report, 2);
    EXPECT_EQ(Report->getSelectedReason(), 30);
    EXPECT_FALSE(Report->IPBanishment->isChecked()) << "a new reason unchecks the box";
    EXPECT_FALSE(Report->IPBanishment->Enabled);
    EXPECT_TRUE(Report->StatementField->isDisabled());
    EXPECT_EQ(Report->getSelectedAction(), -1) << "no action is chosen for the new reason";
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetModalWindow(), nullptr);
}

TEST_F(GamemasterReport, OkChecksEveryFieldAndClosesWithoutSending) {
    ClearRights();
    auto* Report = Open<TGamemasterRuleViolationDialog>(MESSAGE_GAMEMASTERRULEVIOLATION);
    ASSERT_NE(Report, nullptr);
    EXPECT_EQ(Report->Reasons->Lines, 0);
    EXPECT_FALSE(Report->NameField->ReadOnly);
    EXPECT_EQ(Report->FocusGroup.getActive(), Report->NameField);
    Type("Dorn");
    EXPECT_STREQ(Report->NameField->getText(), "Dorn");
    SetStatusMessage("", false);
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(Status(), "You must enter a comment.") << "every check is made, the last message stays";
    EXPECT_EQ(GetModalWindow(), nullptr);
}

TEST_F(GamemasterReport, AStatementReportNeedsAStatementLine) {
    auto* Report = Open<TGamemasterRuleViolationDialog>(MESSAGE_GAMEMASTERRULEVIOLATION,
                                                        MessageParameter(NewMessageText("Dorn")));
    ChooseReason(Report, 1);
    Report->Actions->select(1);
    Type("spam");
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(Status(), "No statement has been selected.");
    EXPECT_EQ(GetModalWindow(), nullptr);

    TTalkLine Line(77, TALK_SAY, "Vex", "buy gold here", 0);
    Report = Open<TGamemasterRuleViolationDialog>(
        MESSAGE_GAMEMASTERRULEVIOLATION, 0,
        MessageParameter(
            NewReportedStatement(Line._StatementID, Line._Mode, Line._Addressee, Line.MessageText)));
    ASSERT_NE(Report, nullptr);
    EXPECT_STREQ(Report->NameField->getText(), "Vex");
    EXPECT_TRUE(Report->NameField->ReadOnly);
    EXPECT_STREQ(Report->StatementField->getText(), "buy gold here");
    EXPECT_EQ(Report->StatementID, 77u);
    KeyPressed(KEY_ESCAPE);
}
