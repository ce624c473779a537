// Tests of the multi-line edit field.
#include "graphics/graphics.h"
#include "gui/DialogElementsMultiLine.h"
#include "gui/DialogElementsScroll.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "tests/gui/Probes.h"
#include "tests/gui/SkinScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Bench font 4: 9 pixels a character, rows 14 apart. The field fits 10 characters a line and 3 lines.
class MultiLineTest : public ::testing::Test {
protected:
    MultiLineTest() { Place(&Root, 0, 0, 640, 480); }

    TMultiLineEditField* field(const char* Text, bool ReadOnly = false, int32_t TextWidth = 89) {
        auto* Field = new TMultiLineEditField(200, ReadOnly);
        Root.appendChild(Field);
        Place(Field, 0, 0, TextWidth + 6 + Field->ScrollBox->Width, 6 + 3 * 14);
        Field->setText(Text, true);
        return Field;
    }
    static std::vector<int32_t> starts(TMultiLineEditField* Field) {
        std::vector<int32_t> Found;
        for (int32_t i = 0; i <= Field->LineCount; i++)
            Found.push_back(Field->LineStart.at(i));
        return Found;
    }

    TSkinScreen Screen;
    TEventLog Log;
    TProbeParent Root{Log, "root"};
};

TEST_F(MultiLineTest, LinesBreakAfterBlanksFeedsOrTheLastCharacterThatFits) {
    EXPECT_EQ(starts(field("")), (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(starts(field("hello world")), (std::vector<int32_t>{0, 6, 11}));
    EXPECT_EQ(starts(field("abcdefghijklmn")), (std::vector<int32_t>{0, 10, 14}));
    EXPECT_EQ(starts(field("ab\n")), (std::vector<int32_t>{0, 3, 3}));
    // Narrower than one character: every line still takes one.
    EXPECT_EQ(starts(field("abc", false, 1)), (std::vector<int32_t>{0, 1, 2, 3, 3}));
}

TEST_F(MultiLineTest, TheCaretMovesBetweenLinesInItsColumn) {
    TMultiLineEditField* Field = field("hello world\nxy");
    Field->setCursor(8); // "wo|rld"
    Field->keyPressed(KEY_UP);
    EXPECT_EQ(Field->Cursor, 2);
    Field->keyPressed(KEY_UP); // first line: stays
    EXPECT_EQ(Field->Cursor, 2);
    Field->keyPressed(KEY_DOWN);
    Field->keyPressed(KEY_DOWN);
    EXPECT_EQ(Field->Cursor, 14); // "xy" is shorter: its end
    Field->keyPressed(KEY_DOWN);
    EXPECT_EQ(Field->Cursor, 14);
    Field->keyPressed(KEY_HOME);
    EXPECT_EQ(Field->Cursor, 12);
    Field->keyPressed(KEY_PAGE_UP); // fewer lines above than a page
    EXPECT_EQ(Field->Cursor, 0);
    Field->keyPressed(KEY_END);
    EXPECT_EQ(Field->Cursor, 5);
}

TEST_F(MultiLineTest, EnterStartsALineAndEndReachesTheEmptyLastLine) {
    TMultiLineEditField* Field = field("ab");
    Field->setCursor(2);
    Field->keyPressed(KEY_ENTER);
    EXPECT_STREQ(Field->getText(), "ab\n");
    EXPECT_EQ(Field->LineCount, 2);
    Field->keyPressed(KEY_HOME);
    Field->keyPressed(KEY_END);
    EXPECT_EQ(Field->Cursor, 3);
    Field->keyPressed('c');
    EXPECT_STREQ(Field->getText(), "ab\nc");
}

TEST_F(MultiLineTest, TheViewFollowsTheCaretAndAFreshTextShowsItsEnd) {
    TMultiLineEditField* Field = field("");
    Field->setText("1\n2\n3\n4\n5\n6", false);
    EXPECT_EQ(Field->Cursor, 11);
    EXPECT_EQ(Field->getFirstVisible(), 3);
    Field->keyPressed(KEY_PAGE_UP); // to line 2, which comes into view
    EXPECT_EQ(Field->Cursor, 5);    // after the "3", the column of the caret behind the "6"
    EXPECT_EQ(Field->getFirstVisible(), 2);
    Field->keyPressed(KEY_PAGE_UP);
    EXPECT_EQ(Field->Cursor, 0);
    EXPECT_EQ(Field->getFirstVisible(), 0);
}

TEST_F(MultiLineTest, AReadOnlyFieldOnlyScrollsAndSelects) {
    TMultiLineEditField* Field = field("1\n2\n3\n4\n5\n6", true);
    Field->setFocus(true);
    EXPECT_FALSE(Field->Focus);
    Field->keyPressed(KEY_DOWN);
    EXPECT_EQ(Field->getFirstVisible(), 1);
    Field->keyPressed(KEY_PAGE_DOWN);
    EXPECT_EQ(Field->getFirstVisible(), 3);
    Field->keyPressed(KEY_UP);
    EXPECT_EQ(Field->getFirstVisible(), 2);
    Field->keyPressed('x');
    EXPECT_STREQ(Field->getText(), "1\n2\n3\n4\n5\n6");
    Field->keyPressed(KEY_CTRL | 'a');
    EXPECT_EQ(Field->selectionRight(), 11);
    Root.mouseScroll(5, 5, 1);
    EXPECT_EQ(Field->getFirstVisible(), 1);
}

TEST_F(MultiLineTest, PointsMapToLinesOfTheView) {
    TMultiLineEditField* Field = field("hello world\nxy");
    EXPECT_EQ(Field->getPositionAt(3 + 9 * 2 + 1, 3 + 14 + 2), 6 + 2);
    EXPECT_EQ(Field->getPositionAt(0, 0), 0);
    EXPECT_EQ(Field->getPositionAt(500, 500), 14);
}

} // namespace
