// The ignore and white lists dialog: the sorted names with their permanent flags, adding, renaming and
// deleting lines, and replacing both filters on OK while Cancel leaves them.
#include "OptionDialogFixture.h"

#include "gui/KeyCodes.h"
#include "state/Talk.h"
#include "state/TalkRouting.h"

namespace {

class IgnoreList : public OptionDialogTest {
protected:
    void SetUp() override {
        OptionDialogTest::SetUp();
        ResetLists();
        AddToIgnoreList("bob", true);
        AddToIgnoreList("Alice", false);
        AddToWhiteList("Zed", false);
    }
    void TearDown() override {
        ResetLists();
        OptionDialogTest::TearDown();
    }
    static void ResetLists() {
        ClearIgnoreList();
        ClearWhiteList();
        SetIgnoreListActive(false);
        SetWhiteListActive(false);
    }
    static std::string IgnoreText() {
        std::unique_ptr<char[]> Text = GetIgnoreListText();
        return Text != nullptr ? Text.get() : "";
    }
    static std::vector<std::string> Lines(TTextList* List) {
        std::vector<std::string> Result;
        for (int32_t i = 0; i < List->Lines; i++) {
            TTextFormat Style;
            Result.push_back(List->getLine(i, Style));
        }
        return Result;
    }
    static int32_t LineRed(TTextList* List, int32_t Line) {
        TTextFormat Style;
        List->getLine(Line, Style);
        return Style.Red;
    }
};

} // namespace

TEST_F(IgnoreList, NamesAreSortedWithoutCaseAndPermanentOnesAreRed) {
    auto* Lists = Open<TIgnoreListDialog>(MESSAGE_IGNORELIST);
    ASSERT_NE(Lists, nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Edit Ignore List and White List");
    EXPECT_EQ(Lines(Lists->Ignore.List), (std::vector<std::string>{"Alice", "bob"}));
    EXPECT_EQ(LineRed(Lists->Ignore.List, 0), 224);
    EXPECT_EQ(LineRed(Lists->Ignore.List, 1), 192);
    EXPECT_EQ(Lists->Ignore.List->getSelection(), 0);
    EXPECT_FALSE(Lists->Ignore.Permanent->isChecked());
    KeyPressed(KEY_DOWN);
    EXPECT_TRUE(Lists->Ignore.Permanent->isChecked());
    Click(Lists->Ignore.Permanent);
    EXPECT_EQ(LineRed(Lists->Ignore.List, 1), 224) << "unticking turns the line grey at once";
    KeyPressed(KEY_ENTER);
    EXPECT_NE(GetModalWindow(), nullptr) << "Enter does not close";
    Click(Dialog()->OkButton);
    EXPECT_FALSE(GetIgnoreListFlag("bob"));
}

TEST_F(IgnoreList, AddedLinesCountOnlyOnceRenamed) {
    auto* Lists = Open<TIgnoreListDialog>(MESSAGE_IGNORELIST);
    ASSERT_NE(Lists, nullptr);
    Click(Button(Lists, "Add"));
    EXPECT_EQ(Lists->Ignore.List->getSelection(), 2);
    EXPECT_TRUE(Lists->Ignore.List->Editing);
    Click(Button(Lists, "Add"));
    KeyPressed(KEY_BACKSPACE);
    Type("Carl");
    KeyPressed(KEY_ENTER);
    Click(Lists->Ignore.Permanent);
    EXPECT_EQ(Lines(Lists->Ignore.List), (std::vector<std::string>{"Alice", "bob", "new entry", "Carl"}));
    Click(Lists->Ignore.Active);
    Click(Lists->IgnoreYelling);
    Click(Dialog()->OkButton);
    EXPECT_EQ(IgnoreText(), "Alice\nbob\nCarl\n");
    EXPECT_TRUE(GetIgnoreListFlag("Carl"));
    EXPECT_TRUE(GetIgnoreListActive());
    EXPECT_TRUE(IsModeIgnored(TALK_YELL));

    // The mode entries survive the rebuild of the list.
    Click(Open<TIgnoreListDialog>(MESSAGE_IGNORELIST)->Ignore.Active);
    Click(Dialog()->OkButton);
    EXPECT_TRUE(IsModeIgnored(TALK_YELL));
    EXPECT_FALSE(GetIgnoreListActive());
}

TEST_F(IgnoreList, DeleteRemovesTheSelectedLineAndKeepsNamesRenamedElsewhere) {
    auto* Lists = Open<TIgnoreListDialog>(MESSAGE_IGNORELIST);
    ASSERT_NE(Lists, nullptr);
    Lists->Ignore.List->select(0);
    Lists->Ignore.List->beginEdit();
    KeyPressed(KEY_BACKSPACE);
    Type("Anna");
    Lists->Ignore.List->select(1);
    Click(Button(Lists, "Delete"));
    EXPECT_EQ(Lines(Lists->Ignore.List), std::vector<std::string>{"Anna"});
    EXPECT_EQ(Lists->Ignore.List->getSelection(), -1);
    Click(Button(Lists, "Delete"));
    EXPECT_EQ(Lines(Lists->Ignore.List), std::vector<std::string>{"Anna"})
        << "nothing selected, nothing gone";

    Click(Dialog()->OkButton);
    EXPECT_EQ(IgnoreText(), "Anna\n");
}

TEST_F(IgnoreList, ALineEmptiedInPlaceLeavesWithItsFlagOnDelete) {
    AddToWhiteList("Yan", true);
    AddToWhiteList("Xia", true);
    auto* Lists = Open<TIgnoreListDialog>(MESSAGE_IGNORELIST);
    ASSERT_NE(Lists, nullptr);
    TTextList* White = Lists->White.List;
    ASSERT_EQ(Lines(White), (std::vector<std::string>{"Xia", "Yan", "Zed"}));
    White->select(0);
    White->beginEdit();
    KeyPressed(KEY_BACKSPACE);
    White->select(2);
    Click(Button(Lists, "Delete", 1)); // the white side's
    EXPECT_EQ(Lines(White), std::vector<std::string>{"Yan"});
    EXPECT_EQ(LineRed(White, 0), 192);
    Click(Dialog()->OkButton);
    std::unique_ptr<char[]> Text = GetWhiteListText();
    ASSERT_NE(Text, nullptr);
    EXPECT_STREQ(Text.get(), "Yan\n");
    EXPECT_TRUE(GetWhiteListFlag("Yan"));
}

TEST_F(IgnoreList, CancelAndEscapeLeaveBothFilters) {
    auto* Lists = Open<TIgnoreListDialog>(MESSAGE_IGNORELIST);
    Click(Lists->IgnorePrivate);
    Click(Button(Lists, "Delete"));
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(IgnoreText(), "bob\nAlice\n");
    EXPECT_FALSE(IsModeIgnored(TALK_PRIVATE_MESSAGE));
}
