// Tests of the labels, the mark-up text box, the check box, the progress bar and the separator.
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsText.h"
#include "gui/DialogElementsViews.h"
#include "gui/SkinProperties.h"
#include "state/Status.h"
#include "tests/foundation/Thrown.h"
#include "tests/gui/Probes.h"
#include "tests/gui/SkinScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Bench fonts: font 2 advances 15 pixels per character (a text is 15 n + 1 wide), lines 15 apart; font 4
// advances 9 (9 n - 1 wide), lines 14 apart.
class TextTest : public ::testing::Test {
protected:
    TextTest() { Place(&Root, 0, 0, 640, 480); }

    // The box's elements in layout order (the box adds each at the head).
    static std::vector<TComponent*> elements(TMarkupTextBox& Box) {
        std::vector<TComponent*> Found;
        for (TComponent* Child = Box.getFirstChild(); Child != nullptr; Child = Child->getNext())
            Found.insert(Found.begin(), Child);
        return Found;
    }
    static std::string text(TComponent* Element) {
        auto* Label = dynamic_cast<TTextLabel*>(Element);
        return Label != nullptr ? Label->getText() : "<not a label>";
    }
    static void layout(TMarkupTextBox& Box, int32_t Width) { Box.setSize(Width, 200); }

    TSkinScreen Screen;
    TEventLog Log;
    TProbeParent Root{Log, "root"};
};

TEST_F(TextTest, ATagSplitsRunsAndChangesTheColour) {
    TMarkupTextBox Box("a<b>b");
    layout(Box, 300);
    auto Elements = elements(Box);
    ASSERT_EQ(Elements.size(), 2u);
    EXPECT_EQ(text(Elements[0]), "a");
    EXPECT_EQ(text(Elements[1]), "b");
    EXPECT_EQ(Elements[1]->X, Elements[0]->X + Elements[0]->Width);
    EXPECT_EQ(Elements[1]->Y, 0);
    auto* Second = dynamic_cast<TTextLabel*>(Elements[1]);
    EXPECT_EQ(Second->Format.Red, 255);
    EXPECT_EQ(Second->Format.Green, 128);
    EXPECT_EQ(Second->Format.Font, 2);
}

TEST_F(TextTest, UnknownTagsAreText) {
    TMarkupTextBox Box("x<q>y<br=5x>");
    layout(Box, 300);
    auto Elements = elements(Box);
    ASSERT_EQ(Elements.size(), 1u);
    EXPECT_EQ(text(Elements[0]), "x<q>y<br=5x>");
}

TEST_F(TextTest, TheTagScannerMatchesPrefixesInKeywordOrder) {
    int32_t Type = 0, Data = 0;
    EXPECT_EQ(ScanMarkupTag("<f=3>", Type, Data), 5);
    EXPECT_EQ(Type, TAG_FONT);
    EXPECT_EQ(Data, 3);
    EXPECT_EQ(ScanMarkupTag("<BR=12>rest", Type, Data), 7);
    EXPECT_EQ(Type, TAG_BR);
    EXPECT_EQ(ScanMarkupTag("<>", Type, Data), 2);
    EXPECT_EQ(Type, TAG_BOLD);
    EXPECT_EQ(ScanMarkupTag("<H>", Type, Data), 3);
    EXPECT_EQ(Type, TAG_HIGHLIGHT);
    EXPECT_EQ(ScanMarkupTag("<x>", Type, Data), 0);
    EXPECT_EQ(ScanMarkupTag("<red>", Type, Data), 0); // valued keyword without a value
    EXPECT_EQ(ScanMarkupTag("<br=-1>", Type, Data), 0);
    // A value with many digits neither overflows nor becomes acceptable.
    EXPECT_EQ(ScanMarkupTag("<hspace=99999999999999999999>", Type, Data), 29);
    EXPECT_GT(Data, 200);
}

TEST_F(TextTest, WordsWrapAtBlanksAndLongWordsInside) {
    TMarkupTextBox Words("aa bb");
    layout(Words, 50);
    auto Elements = elements(Words);
    ASSERT_EQ(Elements.size(), 2u);
    EXPECT_EQ(text(Elements[0]), "aa");
    EXPECT_EQ(text(Elements[1]), "bb");
    EXPECT_EQ(Elements[1]->X, 0);
    EXPECT_EQ(Elements[1]->Y, 15);

    TMarkupTextBox Long("abcdefgh");
    layout(Long, 50);
    Elements = elements(Long);
    ASSERT_EQ(Elements.size(), 3u);
    EXPECT_EQ(text(Elements[0]), "abc");
    EXPECT_EQ(text(Elements[1]), "def");
    EXPECT_EQ(text(Elements[2]), "gh");
    EXPECT_EQ(Elements[2]->Y, 30);
}

TEST_F(TextTest, ABoxNarrowerThanOneCharacterStillEnds) {
    TMarkupTextBox Box("abc");
    layout(Box, 10);
    auto Elements = elements(Box);
    ASSERT_EQ(Elements.size(), 3u);
    EXPECT_EQ(Elements[2]->Y, 30);
    TMarkupTextBox Indented("<indent=100>ab");
    layout(Indented, 50);
    EXPECT_EQ(Indented.getFirstChild(), nullptr); // laid out, then clipped away
}

TEST_F(TextTest, TagValuesOutsideTheirRangesChangeNothing) {
    TMarkupTextBox Box("<hspace=250><skin=262><font=9>a<hspace=20><skin=5>\nb<indent=30><br=7>\nc");
    layout(Box, 300);
    auto Elements = elements(Box);
    ASSERT_EQ(Elements.size(), 4u);
    EXPECT_EQ(Elements[0]->X, 0);
    EXPECT_EQ(dynamic_cast<TTextLabel*>(Elements[0])->Format.Font, 2);
    EXPECT_EQ(Elements[1]->X, 16 + 20);
    EXPECT_NE(dynamic_cast<TSkinImage*>(Elements[1]), nullptr);
    EXPECT_EQ(Elements[2]->X, 0);
    EXPECT_EQ(Elements[2]->Y, 15);
    EXPECT_EQ(Elements[3]->X, 30); // the indent starts the new line
    EXPECT_EQ(Elements[3]->Y, 15 + 7 + 15);
}

TEST_F(TextTest, AShortenedLabelOffersItsFullText) {
    TTextLabel Cut(0, 0, 50, 20, 4, 1, 2, 3, LEFT_ALIGN, "abcdefghijkl", true);
    EXPECT_STREQ(Cut.getLine(0), "ab...");
    SetTooltip(nullptr);
    Cut.getToolTip(5, 5);
    EXPECT_STREQ(GetTooltip(), "abcdefghijkl");
    TTextLabel Whole(0, 0, 50, 20, 4, 1, 2, 3, LEFT_ALIGN, "abcdefghijkl", false);
    SetTooltip(nullptr);
    Whole.getToolTip(5, 5);
    EXPECT_EQ(GetTooltip(), nullptr);
    TTextLabel Lines(4, 1, 2, 3, LEFT_ALIGN, "ab\nabcd\n");
    EXPECT_EQ(Lines.LineCount, 3);
    EXPECT_EQ(Lines.Width, 35);
    EXPECT_EQ(Lines.Height, 42);
    EXPECT_FALSE(Lines.leftButtonDown(1, 1, 0));
}

TEST_F(TextTest, TheLabelledButtonOpensItsDestination) {
    static std::string Opened;
    auto* Box = new TLabelledButton(
        "Home page", "Open", "www.example.org", [](const char* Destination) { Opened = Destination; }, 4, 224,
        224, 224, LEFT_ALIGN);
    Root.appendChild(Box);
    Place(Box, 0, 0, 200, 40);
    EXPECT_EQ(Box->Button->X, 200 - Box->Button->Width);
    EXPECT_EQ(Box->Label->Width, 200 - Box->Button->Width);
    Root.leftButtonDown(Box->Button->X + 2, Box->Button->Y + 2, 0);
    Root.leftButtonUp(Box->Button->X + 2, Box->Button->Y + 2, 0);
    EXPECT_EQ(Opened, "www.example.org");
}

TEST_F(TextTest, ACheckBoxTogglesOnlyWhileEnabled) {
    EXPECT_NE(ThrownText([] { TCheckBox Box(std::string(50, 'x').c_str()); }).find("strlen(_Text)<50"),
              std::string::npos);
    auto* Box = new TCheckBox(std::string(49, 'x').c_str());
    Root.appendChild(Box);
    Box->setPosition(10, 10);
    EXPECT_EQ(Box->Width, Box->Caption->Width + 34);
    EXPECT_EQ(Box->Caption->X, 24);
    Root.leftButtonDown(15, 15, 0);
    Root.leftButtonUp(15, 15, 0);
    EXPECT_TRUE(Box->isChecked());

    int32_t X = Box->Caption->X, Y = Box->Caption->Y, W = Box->Caption->Width, H = Box->Caption->Height;
    Box->setEnabled(false);
    EXPECT_EQ(Box->Caption->getText(), std::string(49, 'x'));
    EXPECT_EQ(Box->Caption->Format.Red, SkinProperties.CheckBox.DisabledTextFormat.Red);
    EXPECT_EQ(
        (std::vector<int32_t>{Box->Caption->X, Box->Caption->Y, Box->Caption->Width, Box->Caption->Height}),
        (std::vector<int32_t>{X, Y, W, H}));
    Root.leftButtonUp(15, 15, 0);
    EXPECT_TRUE(Box->isChecked());

    const TSkinPoint& Item = SkinProperties.CheckBox.Item;
    Screen.clear();
    Root.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.source(10 + Item.x, 10 + Item.y), TSkinScreen::skinPixel(151, 0, 0));
    Box->setEnabled(true);
    Root.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.source(10 + Item.x, 10 + Item.y), TSkinScreen::skinPixel(150, 0, 0));
}

TEST_F(TextTest, TheProgressFillReachesTheRightEdgeOnlyWhenFull) {
    TProgressBar Bar;
    Bar.setSize(100, 10);
    for (int32_t i = 3; i < 6; i++)
        EXPECT_EQ(Bar.DrawingList[i].skin, 0) << i;
    Bar.setValue(150);
    EXPECT_EQ(Bar.Value, 100);
    const TSkinPiece& Right = Bar.DrawingList[5];
    EXPECT_EQ(Right.skin, 261);
    EXPECT_EQ(Right.x + Right.width, 100);
    EXPECT_EQ(Bar.DrawingList[3].width, 100);
    EXPECT_EQ(Bar.DrawingList[4].x + Bar.DrawingList[4].width, Right.x);
    Bar.setValue(-5);
    EXPECT_EQ(Bar.Value, 0);
    Bar.setValue(50);
    EXPECT_EQ(Bar.DrawingList[3].width, 50);
    EXPECT_EQ(Bar.DrawingList[5].skin, 0);
    Bar.setMaximum(20); // the value follows a lowered maximum
    EXPECT_EQ(Bar.Value, 20);
    EXPECT_NE(ThrownText([&] { Bar.setMaximum(0); }).find("maximum>0"), std::string::npos);
}

TEST_F(TextTest, SeparatorsLayTheirTwoSkinsAlongTheirAxis) {
    TSeparator Across(true), Down(false);
    Across.setSize(80, 2);
    Down.setSize(2, 60);
    EXPECT_EQ(Across.DrawingList[1].y, GetSkin(9).Height);
    EXPECT_EQ(Across.DrawingList[1].width, 80);
    EXPECT_EQ(Down.DrawingList[1].x, GetSkin(11).Width);
    EXPECT_EQ(Down.DrawingList[1].height, 60);
}

} // namespace
