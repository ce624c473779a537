// Tests of the edit field, the password field and the focus group.
#include "foundation/sysinc.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsEdit.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "state/Events.h"
#include "state/Status.h"
#include "state/StatusClipboard.h"
#include "tests/foundation/Thrown.h"
#include "tests/gui/Probes.h"
#include "tests/gui/SkinScreen.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int32_t CTRL = 0x400, SHIFT = 0x200;

// Font 4 of the bench: every character advances 9 pixels; the text area starts 3 pixels in.
int32_t ColumnX(int32_t Characters) { return 3 + 9 * Characters; }

class EditTest : public ::testing::Test {
protected:
    EditTest() {
        InitSystem();
        InitClipboardGuard();
        ClearMessages();
        SetActionState(ACTIONSTATE_NONE);
        Place(&Root, 0, 0, 640, 480);
    }
    ~EditTest() override {
        ExitClipboardGuard();
        ExitSystem();
    }

    template <typename T> T* add(T* Widget) {
        Root.appendChild(Widget);
        return Widget;
    }
    TEditField* field(int32_t MaxLength, const char* Text = "", bool ReadOnly = false) {
        TEditField* Field = add(new TEditField(0, 0, 200, 22, MaxLength, ReadOnly));
        Field->setText(Text);
        return Field;
    }
    void type(TEditField* Field, const std::string& Keys) {
        for (char c : Keys)
            Field->keyPressed(static_cast<uint8_t>(c));
    }
    static std::string clipboard() {
        const char* Text = GetClipboardText();
        return Text != nullptr ? Text : "<none>";
    }

    TSkinScreen Screen;
    TEventLog Log;
    TProbeParent Root{Log, "root"};
};

TEST_F(EditTest, TypingStopsAtTheCapacityAndAFullFieldKeepsItsSelection) {
    TEditField* Field = field(5);
    type(Field, "abcdefg");
    EXPECT_STREQ(Field->getText(), "abcde");
    EXPECT_EQ(Field->Cursor, 5);
    Field->SelectionStart = 1;
    Field->SelectionLength = 2;
    type(Field, "x");
    EXPECT_STREQ(Field->getText(), "abcde");
    EXPECT_TRUE(Field->hasSelection());
    Field->keyPressed(KEY_BACKSPACE); // Backspace deletes the selection
    EXPECT_STREQ(Field->getText(), "ade");
    EXPECT_EQ(Field->Cursor, 1);
    type(Field, "XY");
    EXPECT_STREQ(Field->getText(), "aXYde");
}

TEST_F(EditTest, NavigationBackspaceAndDelete) {
    TEditField* Field = field(20, "hello");
    Field->keyPressed(KEY_HOME);   // Home
    Field->keyPressed(KEY_DELETE); // Delete
    EXPECT_STREQ(Field->getText(), "ello");
    Field->keyPressed(KEY_BACKSPACE); // Backspace at the start
    EXPECT_STREQ(Field->getText(), "ello");
    Field->keyPressed(KEY_RIGHT | SHIFT); // Shift does not select
    EXPECT_EQ(Field->Cursor, 1);
    EXPECT_FALSE(Field->hasSelection());
    Field->keyPressed(KEY_END); // End
    Field->keyPressed(KEY_DELETE);
    EXPECT_STREQ(Field->getText(), "ello");
    Field->keyPressed(KEY_BACKSPACE);
    EXPECT_STREQ(Field->getText(), "ell");
    Field->keyPressed(KEY_LEFT | CTRL);
    EXPECT_EQ(Field->Cursor, 2);
    Field->keyPressed('q' | CTRL); // a Ctrl code types nothing
    EXPECT_STREQ(Field->getText(), "ell");
}

TEST_F(EditTest, PasteInsertsWhatFitsAndDropsTheEndOfTheOldText) {
    TEditField* Field = field(6, "abcd");
    Field->setCursor(2);
    SetClipboardText("XYZW");
    Field->keyPressed('v' | CTRL);
    EXPECT_STREQ(Field->getText(), "abXYZW");
    EXPECT_EQ(Field->Cursor, 6);

    TEditField* Wide = field(10, "ab");
    Wide->setCursor(1);
    SetClipboardText("one\r\ntwo");
    Wide->keyPressed(KEY_INSERT | SHIFT);
    EXPECT_STREQ(Wide->getText(), "aone twob");
    EXPECT_EQ(Wide->Cursor, 8);
}

TEST_F(EditTest, PasteReplacesTheSelection) {
    TEditField* Field = field(10, "abcdef");
    Field->SelectionStart = 4;
    Field->SelectionLength = -3; // from 1 to 4
    SetClipboardText("Z");
    Field->handleEvent(EDIT_PASTE);
    EXPECT_STREQ(Field->getText(), "aZef");
    EXPECT_EQ(Field->Cursor, 2);
}

TEST_F(EditTest, CutCopyDeleteAndSelectAll) {
    TEditField* Field = field(20, "one two");
    Field->keyPressed('a' | CTRL);
    EXPECT_EQ(Field->selectionLeft(), 0);
    EXPECT_EQ(Field->selectionRight(), 7);
    EXPECT_EQ(Field->Cursor, 7);
    Field->keyPressed(KEY_INSERT | CTRL); // Ctrl+Insert copies
    EXPECT_EQ(clipboard(), "one two");
    Field->beginSelection(4);
    Field->SelectionLength = 3;
    Field->keyPressed('x' | CTRL);
    EXPECT_EQ(clipboard(), "two");
    EXPECT_STREQ(Field->getText(), "one ");
    EXPECT_EQ(Field->Cursor, 4);
    Field->beginSelection(0);
    Field->SelectionLength = 1;
    Field->keyPressed(KEY_DELETE | CTRL);
    EXPECT_STREQ(Field->getText(), "ne ");
    Field->keyPressed('x' | CTRL); // nothing selected: refused
    EXPECT_EQ(clipboard(), "two");
    std::string Thrown = ThrownText([&] { Field->handleEvent(21); });
    EXPECT_NE(Thrown.find("DialogElementsEdit.cpp "), std::string::npos);
    EXPECT_NE(Thrown.find("reason:\nunknown event"), std::string::npos) << Thrown;
}

TEST_F(EditTest, AReadOnlyFieldMovesAndCopiesOnlyThroughEvents) {
    TEditField* Field = field(20, "fixed text", true);
    SetClipboardText("before");
    type(Field, "x");
    Field->keyPressed(KEY_BACKSPACE);
    Field->keyPressed('v' | CTRL);
    EXPECT_STREQ(Field->getText(), "fixed text");
    Field->keyPressed(KEY_HOME);
    EXPECT_EQ(Field->Cursor, 0);
    Field->handleEvent(EDIT_SELECT_ALL);
    Field->keyPressed('c' | CTRL);
    EXPECT_EQ(clipboard(), "before");
    Field->handleEvent(EDIT_COPY);
    EXPECT_EQ(clipboard(), "fixed text");
    Field->handleEvent(EDIT_CUT);
    Field->handleEvent(EDIT_DELETE);
    EXPECT_STREQ(Field->getText(), "fixed text");
}

TEST_F(EditTest, SetTextKeepsTheFirstCharactersAndInsertChecksThePosition) {
    TEditField* Field = field(4, "abcdefgh");
    EXPECT_STREQ(Field->getText(), "abcd");
    EXPECT_EQ(Field->Cursor, 4);
    EXPECT_NE(ThrownText([&] { Field->insertChar(5, 'x'); }).find("Position<=(int)strlen(Text)"),
              std::string::npos);
    Field->deleteText(2, 100);
    EXPECT_STREQ(Field->getText(), "ab");
    EXPECT_EQ(Field->Cursor, 2);
    EXPECT_NE(ThrownText([] { TEditField Bad(-1, false); }).find("_MaxLength>=0"), std::string::npos);
}

TEST_F(EditTest, PointsLeftAndRightOfTheTextArea) {
    TEditField* Field = field(40, "0123456789");
    Field->FirstVisible = 2;
    EXPECT_EQ(Field->getPositionAt(1, 10), 2);
    EXPECT_EQ(Field->getPositionAt(199, 10), 10);
    EXPECT_EQ(Field->getPositionAt(ColumnX(3) + 1, 10), 5);
}

TEST_F(EditTest, DraggingSelectsAndTheDoubleClickTakesAWord) {
    TEditField* Field = field(40, "alpha beta gamma");
    Root.leftButtonDown(ColumnX(1), 10, 0);
    EXPECT_TRUE(Field->Focus);
    EXPECT_EQ(Root.getCapture(), Field);
    Root.mouseMove(ColumnX(4), 10);
    Root.mouseMove(ColumnX(3), 300); // below the field: the end of the text
    EXPECT_EQ(Field->Cursor, 16);
    Root.mouseMove(ColumnX(4), 10);
    Root.leftButtonUp(ColumnX(4), 10, 0);
    EXPECT_EQ(Root.getCapture(), nullptr);
    EXPECT_FALSE(Field->Selecting);
    EXPECT_EQ(Field->selectionLeft(), 1);
    EXPECT_EQ(Field->selectionRight(), 4);

    Root.leftDoubleClick(ColumnX(7), 10, 0);
    EXPECT_EQ(Field->selectionLeft(), 6);
    EXPECT_EQ(Field->selectionRight(), 10);
    EXPECT_EQ(Field->Cursor, 10);
    Field->setFocus(false);
    EXPECT_FALSE(Field->hasSelection());
}

TEST_F(EditTest, ACancelledCaptureEndsTheDrag) {
    TEditField* Field = field(40, "abc");
    Root.leftButtonDown(ColumnX(1), 10, 0);
    Root.cancelCapture();
    EXPECT_FALSE(Field->Selecting);
    Root.mouseMove(ColumnX(3), 10);
    EXPECT_EQ(Field->Cursor, 1);
}

TEST_F(EditTest, TheRightClickAsksForTheMenuOutsideModalStates) {
    TEditField* Field = field(40, "abc");
    Root.rightClick(5, 5, 0);
    ASSERT_EQ(GetMessageCount(), 1);
    int32_t Type;
    intptr_t Param1, Param2;
    PopMessage(Type, Param1, Param2);
    EXPECT_EQ(Type, MESSAGE_EDITFIELDMENU);
    EXPECT_EQ(Param1, reinterpret_cast<intptr_t>(Field));
    SetActionState(ACTIONSTATE_DIALOG);
    Root.rightClick(5, 5, 0);
    SetActionState(ACTIONSTATE_NONE);
    Field->setDisabled(true);
    Root.rightClick(5, 5, 0);
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(EditTest, ADisabledFieldTakesNoKeysButTabStillMovesTheFocus) {
    TFocusGroup Group;
    TEditField* First = field(10);
    TEditField* Second = field(10);
    First->setFocusGroup(&Group);
    Second->setFocusGroup(&Group);
    Group.setActive(First);
    First->setDisabled(true);
    type(First, "abc");
    EXPECT_STREQ(First->getText(), "");
    First->keyPressed(KEY_TAB);
    EXPECT_EQ(Group.getActive(), Second);
    EXPECT_FALSE(First->Focus);
    EXPECT_TRUE(Second->Focus);
}

TEST_F(EditTest, TheFocusGroupWrapsBothWays) {
    TFocusGroup Group;
    TEditField* Fields[3];
    for (auto*& Field : Fields) {
        Field = field(10);
        Field->setFocusGroup(&Group);
    }
    Group.setActive(Fields[2]);
    Fields[2]->keyPressed(KEY_TAB);
    EXPECT_EQ(Group.getActive(), Fields[0]);
    Fields[0]->keyPressed(KEY_TAB | SHIFT);
    EXPECT_EQ(Group.getActive(), Fields[2]);
    EXPECT_TRUE(Fields[2]->Focus);
    EXPECT_FALSE(Fields[0]->Focus);
    EXPECT_NE(ThrownText([&] { Group.addMember(Fields[2]); }).find("MemberList(i) != Member"),
              std::string::npos);
}

TEST_F(EditTest, AGroupOfOneKeepsItsFieldButClearsItsSelection) {
    TFocusGroup Group;
    EXPECT_NE(ThrownText([&] { Group.next(); }).find("Active!=NULL"), std::string::npos);
    TEditField* Only = field(10, "abc");
    Only->setFocusGroup(&Group);
    Group.setActive(Only);
    Only->handleEvent(EDIT_SELECT_ALL);
    Only->keyPressed(KEY_TAB);
    EXPECT_EQ(Group.getActive(), Only);
    EXPECT_TRUE(Only->Focus);
    EXPECT_FALSE(Only->hasSelection());
}

TEST_F(EditTest, APasswordFieldLetsNothingOut) {
    TPasswordField* Field = add(new TPasswordField(10));
    Place(Field, 0, 0, 200, 22);
    type(Field, "secret");
    SetClipboardText("before");
    Field->keyPressed('a' | CTRL);
    EXPECT_FALSE(Field->hasSelection());
    Field->beginSelection(0);
    Field->SelectionLength = 3;
    Field->keyPressed('c' | CTRL);
    Field->keyPressed('x' | CTRL);
    EXPECT_EQ(clipboard(), "before");
    Field->keyPressed(KEY_BACKSPACE); // the selection is not deleted
    EXPECT_STREQ(Field->getText(), "secret");
    Field->keyPressed(KEY_END);
    Field->keyPressed('v' | CTRL);
    EXPECT_STREQ(Field->getText(), "secretbefo");
    Root.rightClick(5, 5, 0);
    EXPECT_EQ(GetMessageCount(), 0);
    Field->handleEvent(99); // ignored without a check
}

TEST_F(EditTest, ThePasswordCaretStandsAfterItsAsterisk) {
    TPasswordField* Field = add(new TPasswordField(10));
    Place(Field, 0, 0, 200, 22);
    type(Field, "abcde");
    Field->setCursor(3);
    Field->setFocus(true);
    const auto& Colour = SkinProperties.EditField.Cursor;
    uint32_t Caret = static_cast<uint32_t>(Colour.red << 16 | Colour.green << 8 | Colour.blue);
    if (GetTickCounter() / 5 % 2 != 0) GTEST_SKIP() << "caret in its dark phase";
    Screen.clear();
    Root.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.pixel(ColumnX(3) - 1, 3), Caret);
    EXPECT_NE(Screen.pixel(ColumnX(3) - 2, 3), Caret);
    EXPECT_NE(Screen.pixel(ColumnX(4) - 1, 3), Caret);
    EXPECT_STREQ(Field->getText(), "abcde");
}

TEST_F(EditTest, ADisabledFieldShowsNoCaretOrSelection) {
    TEditField* Field = field(10, "abc");
    Field->setFocus(true);
    Field->handleEvent(EDIT_SELECT_ALL);
    Field->setDisabled(true);
    Screen.clear();
    Root.draw(SCREEN_SURFACE, 0, 0);
    const auto& Fill = SkinProperties.EditField.DisabledBackground;
    uint32_t Background = static_cast<uint32_t>(Fill.red << 16 | Fill.green << 8 | Fill.blue);
    for (int32_t x = 3; x < 40; x++)
        EXPECT_EQ(Screen.pixel(x, 5), Background) << x;
}

} // namespace
