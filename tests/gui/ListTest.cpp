// Tests of the list box and the text list.
#include "graphics/graphics.h"
#include "gui/DialogElementsEdit.h"
#include "gui/DialogElementsList.h"
#include "gui/DialogElementsScroll.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "state/Status.h"
#include "tests/gui/Probes.h"
#include "tests/gui/SkinScreen.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Bench font 4: rows 14 pixels apart, the first 3 pixels in; a list 118 high shows 8 rows.
int32_t RowY(int32_t Row) { return 3 + 14 * Row + 2; }

class ListTest : public ::testing::Test {
protected:
    ListTest() { Place(&Root, 0, 0, 640, 480); }

    template <typename T> T* list(int32_t Count) {
        auto* List = new T(&Root, 1, &Root, 2);
        Root.appendChild(List);
        Place(List, 0, 0, 200, 118);
        for (int32_t i = 0; i < Count; i++)
            if constexpr (std::is_same_v<T, TTextList>)
                List->addLine(("line " + std::to_string(i)).c_str(), TTextFormat{2, 1, 2, 3, LEFT_ALIGN});
            else
                List->addLine(("line " + std::to_string(i)).c_str());
        return List;
    }
    static TVerticalScrollBar* bar(TListBox* List) { return List->ScrollBox->getBar(); }

    TSkinScreen Screen;
    TEventLog Log;
    TProbeParent Root{Log, "root"};
};

TEST_F(ListTest, TheRangeCoversTheLinesThatDoNotFit) {
    TListBox* Few = list<TListBox>(5);
    EXPECT_EQ(Few->VisibleLines, 8);
    EXPECT_FALSE(bar(Few)->Enabled);
    EXPECT_EQ(Few->lineAt(0, RowY(0)), 0);
    EXPECT_EQ(Few->lineAt(0, RowY(5)), -1);

    TListBox* Many = list<TListBox>(20);
    EXPECT_EQ(bar(Many)->_Max, 12);
    EXPECT_EQ(bar(Many)->_PageSize, 8);
    Many->select(7);
    Many->keyPressed(KEY_DOWN);
    EXPECT_EQ(Many->getSelection(), 8);
    EXPECT_EQ(Many->getFirstVisible(), 1);
    EXPECT_EQ(Many->lineAt(0, RowY(7)), 8);
    EXPECT_EQ(Log, (TEventLog{"root:event 1"}));
    EXPECT_EQ(Many->ScrollBox->X, 200 - GetSkin(10).Width - Many->ScrollBox->Width);
}

TEST_F(ListTest, KeysInAnEmptyListSelectNothing) {
    TListBox* Empty = list<TListBox>(0);
    Empty->keyPressed(KEY_DOWN);
    EXPECT_EQ(Empty->Selection, 0);
    EXPECT_EQ(Empty->getSelection(), -1);
    Empty->keyPressed('m');
    EXPECT_EQ(Empty->getSelection(), -1);
}

TEST_F(ListTest, ALetterSelectsTheFirstLineNotBeforeIt) {
    TListBox* List = list<TListBox>(0);
    for (const char* Text : {"\xc4rger", "Apple", "Mango", "Zebra"})
        List->addLine(Text);
    List->keyPressed('m');
    EXPECT_EQ(List->getSelection(), 2);
    List->keyPressed('Z' | 0x200);
    EXPECT_EQ(List->getSelection(), 3);
    List->keyPressed('a');
    EXPECT_EQ(List->getSelection(), 1); // the umlaut line is never matched
}

TEST_F(ListTest, PressesSelectAndAlwaysFire) {
    TListBox* List = list<TListBox>(3);
    Root.leftButtonDown(20, RowY(1), 0);
    Root.leftButtonUp(20, RowY(1), 0);
    EXPECT_EQ(List->getSelection(), 1);
    Root.leftButtonDown(20, RowY(6), 0); // below the last line
    EXPECT_EQ(List->getSelection(), 1);
    Root.leftDoubleClick(20, RowY(2), 0); // not editable
    EXPECT_EQ(List->getSelection(), 1);
    EXPECT_FALSE(List->Editing);
    EXPECT_EQ(Log, (TEventLog{"root:event 1", "root:event 1", "root:event 2"}));
    List->clear();
    EXPECT_EQ(List->getSelection(), -1);
}

TEST_F(ListTest, OnlyCutLinesOfferATooltip) {
    TListBox* List = list<TListBox>(1);
    List->addLine(std::string(40, 'w').c_str());
    SetTooltip(nullptr);
    List->getToolTip(20, RowY(0));
    EXPECT_EQ(GetTooltip(), nullptr);
    List->getToolTip(20, RowY(1));
    EXPECT_EQ(GetTooltip(), std::string(40, 'w'));
}

TEST_F(ListTest, ScrollingClosesTheEditorAndKeepsItsText) {
    TListBox* List = list<TListBox>(20);
    List->setEditable(true);
    Root.leftDoubleClick(20, RowY(2), 0);
    ASSERT_TRUE(List->Editing);
    EXPECT_TRUE(List->isChild(List->EditField));
    EXPECT_EQ(List->EditField->Y, 28);
    List->keyPressed('!');
    Root.mouseScroll(20, RowY(3), 2);
    EXPECT_EQ(List->getFirstVisible(), 1);
    Root.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_FALSE(List->Editing);
    EXPECT_FALSE(List->isChild(List->EditField));
    EXPECT_STREQ(List->getLine(2), "line 2!");
    List->select(3);
    List->beginEdit();
    List->keyPressed(KEY_ENTER);
    EXPECT_FALSE(List->Editing);
}

TEST_F(ListTest, TheTextListEditsWithFocusAndKeepsFormatsInItsCells) {
    TTextList* List = list<TTextList>(2);
    List->setEditable(true);
    Root.leftDoubleClick(20, RowY(1), 0);
    ASSERT_TRUE(List->Editing);
    EXPECT_TRUE(List->EditField->Focus);
    EXPECT_EQ(List->EditField->selectionRight(), 6);
    List->keyPressed('x'); // replaces the selected text
    List->keyPressed(KEY_UP);
    TTextFormat Format{};
    EXPECT_STREQ(List->getLine(1, Format), "x");
    EXPECT_EQ(Format.Font, 2);
    EXPECT_EQ(List->getSelection(), 0);
    List->keyPressed('l'); // letters find no texts in a text list
    EXPECT_EQ(List->getSelection(), 0);
    List->clear();
    List->addEditLine(5);
    EXPECT_STREQ(List->getLine(0, Format), "");
    EXPECT_EQ(Format.Red, 1);
    List->addEditLine(5);
    List->addEditLine(5);
    EXPECT_EQ(List->getLine(2, Format), std::string());
    EXPECT_EQ(Format.Font, 4);
}

} // namespace
