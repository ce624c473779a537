// The console's text area: wrapping talk lines into rows, the selection and its text, bottom-aligned drawing
// and the scroll range of the text window, on the bench fonts (font 4: 9 pixels a character, 9 n - 1 wide).
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsScroll.h"
#include "screen/ConsoleWindow.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "tests/foundation/Thrown.h"
#include "tests/gui/Probes.h"
#include "tests/gui/SkinScreen.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The width in which exactly Characters characters of font 4 fit.
int32_t Fits(int32_t Characters) { return 9 * Characters - 1; }

class ConsoleText : public ::testing::Test {
protected:
    ConsoleText() {
        ResetOptions();
        SetTimeStamps(false);
        ClearMessages();
        Place(&Root, 0, 0, 640, 480);
        Root.appendChild(View);
    }
    ~ConsoleText() override { ClearMessages(); }

    // Shows the buffer in a view of Width x Height.
    void show(int32_t Width, int32_t Height = 140) {
        Place(View, 0, 0, Width, Height);
        View->setTextBuffer(&Buffer);
        View->setCurrentLineNumber(View->getLastLineNumber());
    }
    std::string row(int32_t Number) {
        const ConsoleTextLine* Row = View->getLine(Number);
        return Row != nullptr && Row->_LineText != nullptr ? std::string(Row->_LineText, Row->_LineLength)
                                                           : "<none>";
    }
    std::string selected() {
        const char* Text = View->getSelectedText();
        return Text != nullptr ? Text : "<none>";
    }
    void select(int32_t Line1, int32_t Column1, int32_t Line2, int32_t Column2) {
        View->AnchorLine = Line1, View->AnchorColumn = Column1, View->EndLine = Line2,
        View->EndColumn = Column2;
    }

    TSkinScreen Screen;
    TTextBuffer Buffer{0};
    TParentComponent Root;
    ConsoleTextView* View = new ConsoleTextView;
};

TEST_F(ConsoleText, ShortLineIsOneRowThatEndsTheLine) {
    Buffer.addText(TALK_SAY, "ab cd", 0);
    show(Fits(5));
    EXPECT_EQ(View->getLastLineNumber(), 0);
    EXPECT_EQ(row(0), "ab cd");
    EXPECT_EQ(View->getLine(0)->EndsLine, 1);
    EXPECT_EQ(row(1), "<none>") << "rows past the last are fillers";
    EXPECT_TRUE(Buffer.LayoutValid);
}

TEST_F(ConsoleText, WrapsAtTheBlankAndIndentsContinuationsExceptForServerModes) {
    Buffer.addText(TALK_SAY, "ab cd", 0);
    Buffer.addText(TALK_INFO_MESSAGE, "ef gh", 0);
    show(Fits(4));
    ASSERT_EQ(View->getLastLineNumber(), 3);
    EXPECT_EQ(row(0), "ab");
    EXPECT_EQ(row(1), "cd");
    EXPECT_EQ(View->getLine(0)->EndsLine, 0);
    EXPECT_EQ(View->getLine(1)->_Indent, 10);
    EXPECT_EQ(View->getLine(1)->_OriginalOffset, 3) << "the blank belongs to neither row";
    EXPECT_EQ(View->getLine(3)->_Indent, 0);
    int32_t R, G, B;
    GetTalkModeColor(R, G, B, TALK_INFO_MESSAGE);
    EXPECT_EQ(View->getLine(3)->Red, R);
    EXPECT_EQ(View->getLine(3)->Blue, B);
}

TEST_F(ConsoleText, LongWordIsCutWithoutLosingCharacters) {
    Buffer.addText(TALK_SAY, "abcdefghij", 0);
    show(Fits(4));
    std::string Joined;
    for (int32_t n = 0; n <= View->getLastLineNumber(); n++)
        Joined += row(n);
    EXPECT_EQ(row(0), "abcd");
    EXPECT_EQ(row(1), "ef") << "the indented row holds two characters";
    EXPECT_EQ(Joined, "abcdefghij");
}

TEST_F(ConsoleText, NarrowViewStillFinishes) {
    Buffer.addText(TALK_SAY, "abc de", 0);
    show(1);
    EXPECT_EQ(View->getLastLineNumber(), 4);
    EXPECT_EQ(row(0), "a");
    EXPECT_EQ(row(3), "d");
}

TEST_F(ConsoleText, SelectionAcrossLineFeedsAndWrappedRows) {
    Buffer.addText(TALK_SAY, "one\ntwo", 0);
    Buffer.addText(TALK_SAY, "abc def", 0);
    show(Fits(5));
    ASSERT_EQ(View->getLastLineNumber(), 3);
    EXPECT_EQ(View->getLine(0)->EndsLine, 1);
    EXPECT_EQ(View->getLine(1)->EndsLine, 1);
    select(0, 0, 1, 3);
    EXPECT_EQ(selected(), "one\ntwo");
    select(2, 0, 3, 3);
    EXPECT_EQ(selected(), "abcdef") << "rows broken at a blank join without it";
    select(3, 1, 2, 1);
    EXPECT_EQ(selected(), "bcd");
    ASSERT_TRUE(View->selectAll());
    EXPECT_EQ(selected(), "one\ntwo\nabcdef");
}

TEST_F(ConsoleText, SelectionEndsAreOrderedAndEqualEndsSelectNothing) {
    for (const char* Text : {"aaaaaaaa", "bbbbbbbb", "cccccccc"})
        Buffer.addText(TALK_SAY, Text, 0);
    show(200);
    select(2, 5, 1, 3);
    int32_t Line, Column;
    ASSERT_TRUE(View->getSelectionStart(Line, Column));
    EXPECT_EQ(Line * 100 + Column, 103);
    ASSERT_TRUE(View->getSelectionEnd(Line, Column));
    EXPECT_EQ(Line * 100 + Column, 205);
    select(1, 4, 1, 4);
    EXPECT_FALSE(View->getSelectionStart(Line, Column));
    EXPECT_EQ(selected(), "<none>");
    select(1, 4, 5, 0);
    EXPECT_FALSE(View->getSelectionEnd(Line, Column)) << "a row that is gone clears the selection";
    EXPECT_EQ(View->AnchorLine, -1);
}

TEST_F(ConsoleText, EmptyOrStaleRowsAnswerNothing) {
    show(200);
    EXPECT_TRUE(View->selectAll());
    EXPECT_EQ(View->EndLine, -1);
    int32_t Line, Column;
    EXPECT_FALSE(View->getSelectionStart(Line, Column));
    Buffer.addText(TALK_SAY, "hello", 0);
    View->arrange();
    Buffer.LayoutValid = false;
    Buffer.LayoutChanged = true;
    EXPECT_EQ(View->getLine(0), nullptr);
    EXPECT_FALSE(Buffer.LayoutChanged);
    EXPECT_FALSE(View->selectAll());
    View->setTextBuffer(nullptr);
    EXPECT_EQ(View->getTalkLine(0), nullptr);
    EXPECT_EQ(View->getLastLineNumber(), -1);
}

TEST_F(ConsoleText, PointerSelectsFromTheBottomRowUpwards) {
    Buffer.addText(TALK_SAY, "first line", 0);
    Buffer.addText(TALK_SAY, "second word", 0);
    show(200, 140);
    const int32_t Bottom = 140 - GetFontHeight(4);
    int32_t Line, Column, Length;
    ASSERT_TRUE(View->getPosition(9 * 3 + 2, Bottom + 1, Line, Column, Length));
    EXPECT_EQ(Line, 1);
    EXPECT_EQ(Column, 3);
    EXPECT_EQ(Length, 11);
    ASSERT_TRUE(View->getPosition(0, Bottom - GetFontLineHeight(4) + 1, Line, Column, Length));
    EXPECT_EQ(Line, 0);
    ASSERT_TRUE(View->getPosition(500, 0, Line, Column, Length)) << "above the rows: the first row's start";
    EXPECT_EQ(Line * 100 + Column, 0);

    View->leftButtonDown(9 * 7 + 2, Bottom + 1, 0);
    View->mouseMove(9 * 11 + 5, Bottom + 1);
    View->leftButtonUp(0, 0, 0);
    EXPECT_FALSE(View->Selecting);
    EXPECT_EQ(selected(), "word");
    View->leftDoubleClick(9 * 2 + 3, Bottom - 5, 0);
    EXPECT_EQ(selected(), "first");
}

TEST_F(ConsoleText, RightClickOpensTheTextMenuButNotForNamelessRequests) {
    Buffer.addText(TALK_SAY, "hello", 0);
    show(200, 140);
    View->rightClick(3, 135, 0);
    int32_t Type;
    intptr_t Line, Zero;
    PopMessage(Type, Line, Zero);
    EXPECT_EQ(Type, 55);
    EXPECT_EQ(Line, 0);

    TRequestQueueTextBuffer Queue(TALK_GAMEMASTER_REQUEST, 6);
    Queue.addLine(std::make_unique<TTalkLine>(0, TALK_GAMEMASTER_REQUEST, "no name"));
    Queue.addLine(std::make_unique<TTalkLine>(1, TALK_GAMEMASTER_REQUEST, "Brenna", "help", 0));
    View->setTextBuffer(&Queue);
    View->setCurrentLineNumber(1);
    View->rightClick(3, 140 - GetFontHeight(4) - 2, 0);
    EXPECT_EQ(GetMessageCount(), 0) << "the nameless line opens no menu";
    View->rightClick(3, 140, 0);
    PopMessage(Type, Line, Zero);
    EXPECT_EQ(Type, 57);
    EXPECT_EQ(Line, 1);
    View->setTextBuffer(nullptr);
}

TEST_F(ConsoleText, DrawsRowsBottomAlignedBehindTheirSelection) {
    Buffer.addText(TALK_SAY, "abc", 0);
    Buffer.addText(TALK_SAY, "defgh", 0);
    show(200, 100);
    View->selectAll();
    Screen.clear();
    View->draw(SCREEN_SURFACE, 10, 20);
    const uint32_t Grey = 0x808080, Bottom = 20 + 100 - GetFontHeight(4);
    EXPECT_EQ(Screen.pixel(10, Bottom), Grey);
    EXPECT_EQ(Screen.pixel(10 + Fits(5) - 1, Bottom), Grey);
    EXPECT_NE(Screen.pixel(10 + Fits(5) + 2, Bottom), Grey);
    EXPECT_EQ(Screen.pixel(10 + Fits(3) - 1, Bottom - GetFontLineHeight(4)), Grey);
    EXPECT_NE(Screen.pixel(10, Bottom - GetFontLineHeight(4) - 1), Grey) << "nothing above the first row";
}

// The text window: the scroll range follows the rows, and the view stays at the end only while it was there.
class ConsoleWindowText : public ConsoleText {
protected:
    ConsoleWindowText() {
        Place(Window, 0, 0, 300, 100);
        Root.appendChild(Window);
        Window->View->setTextBuffer(&Buffer);
    }
    void add(int32_t Count) {
        for (int32_t i = 0; i < Count; i++)
            Buffer.addText(TALK_SAY, ("line " + std::to_string(Lines++)).c_str(), 0);
        Window->arrange();
    }
    TVerticalScrollBar* bar() { return Window->ScrollBox->getBar(); }

    ConsoleTextWindow* Window = new ConsoleTextWindow;
    int32_t Lines = 0;
};

TEST_F(ConsoleWindowText, FewLinesLeaveTheBarDisabled) {
    add(2);
    EXPECT_EQ(Window->View->InvisibleLines, 0);
    EXPECT_EQ(bar()->_Min, bar()->_Max);
    EXPECT_FALSE(bar()->Enabled);
    EXPECT_EQ(Window->View->getCurrentLineNumber(), 1);
    EXPECT_EQ(Window->View->getWidth(), 300 - 5 - 17);
}

TEST_F(ConsoleWindowText, NewLinesFollowTheEndUntilTheUserScrollsUp) {
    add(20);
    const int32_t Shown = Window->View->getLastLineNumber() - Window->View->InvisibleLines;
    EXPECT_GT(Window->View->InvisibleLines, 0);
    EXPECT_EQ(bar()->_Min, Shown);
    EXPECT_EQ(bar()->_Max, 19);
    EXPECT_EQ(bar()->_Value, 19);
    add(1);
    EXPECT_EQ(bar()->_Value, 20);
    Window->mouseScroll(5, 5, 1);
    Window->draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Window->View->getCurrentLineNumber(), 19);
    EXPECT_FALSE(Window->View->FollowEnd);
    add(1);
    EXPECT_EQ(bar()->_Value, 19) << "scrolled up: the position stays";
    Window->ScrollToEnd = true;
    Window->arrange();
    EXPECT_EQ(bar()->_Value, 21);
    EXPECT_FALSE(Window->ScrollToEnd);
}

TEST_F(ConsoleWindowText, CurrentLineMustBeARowOrNone) {
    add(3);
    Window->View->FollowEnd = false;
    Window->View->setCurrentLineNumber(-1);
    EXPECT_FALSE(Window->View->FollowEnd);
    EXPECT_THROW(Window->View->setCurrentLineNumber(3), TMyException);
}

TEST_F(ConsoleWindowText, ClearedBufferEmptiesTheViewOnDraw) {
    add(3);
    Buffer.clear();
    Window->draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Window->View->getLastLineNumber(), -1);
    EXPECT_NO_THROW(Window->draw(SCREEN_SURFACE, 0, 0)) << "the next frame still finds a valid bottom row";
    EXPECT_EQ(bar()->_Max, -1);
}

} // namespace
