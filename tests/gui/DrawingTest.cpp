// Pixel tests of drawing lists, container drawing order, clipped skin tiling and the widgets' faces.
#include "gui/DialogElements.h"
#include "gui/DialogElementsFrame.h"
#include "gui/DialogElementsViews.h"
#include "gui/GUI.h"
#include "tests/foundation/Thrown.h"
#include "tests/gui/Probes.h"
#include "tests/gui/SkinScreen.h"

#include "foundation/sysinc.h"
#include "graphics/Surface.h"

#include <gtest/gtest.h>

namespace {

constexpr TSource Background{-1, -1};

// A leaf drawn from the pieces it is given.
class TPieces : public TLeafComponent {
public:
    explicit TPieces(std::initializer_list<TSkinPiece> Pieces) {
        allocateDrawingList(static_cast<int32_t>(Pieces.size()));
        int32_t i = 0;
        for (const TSkinPiece& Piece : Pieces)
            DrawingList[i++] = Piece;
    }
};

class DrawingTest : public ::testing::Test {
protected:
    TSource at(int32_t x, int32_t y) { return Screen.source(x, y); }
    static TSource skin(int32_t Skin, int32_t dx, int32_t dy) { return TSkinScreen::skinPixel(Skin, dx, dy); }

    TSkinScreen Screen;
};

TEST_F(DrawingTest, PiecesDrawAtTheirPlacesNaturalOrTiled) {
    TPieces Leaf{{0, 0, 0, 50, 50, 0, 0}, {26, 5, 5, 0, 0, 0, 0}, {7, 10, 0, 100, 10, 4, 0}};
    Leaf.draw(SCREEN_SURFACE, 100, 100);
    EXPECT_EQ(at(100, 100), Background); // the skin-0 entry draws nothing
    EXPECT_EQ(at(105, 105), skin(26, 0, 0));
    EXPECT_EQ(at(106, 106), skin(26, 1, 1));
    EXPECT_EQ(at(107, 107), Background);    // natural size: 2 x 2
    EXPECT_EQ(at(110, 100), skin(7, 4, 0)); // the first tile starts srcx into the skin
    EXPECT_EQ(at(110 + 92, 109), skin(7, 0, 9));
    EXPECT_EQ(at(110 + 99, 100), skin(7, 7, 0));
    EXPECT_EQ(at(110 + 100, 100), Background);
    EXPECT_EQ(at(110, 110), Background);
}

TEST_F(DrawingTest, AListOfEmptyEntriesDrawsNothing) {
    TPieces Leaf{{0, 0, 0, 0, 0, 0, 0}, {0, 3, 3, 10, 10, 0, 0}};
    Leaf.draw(SCREEN_SURFACE, 0, 0);
    for (int32_t x = 0; x < 15; x++)
        EXPECT_EQ(at(x, x), Background);
}

TEST_F(DrawingTest, NaturalPiecesMayStartOffTheSurfaceSizedOnesMayNot) {
    TPieces Natural{{65, -5, 0, 0, 0, 0, 0}};
    Natural.draw(SCREEN_SURFACE, 0, 10);
    EXPECT_EQ(at(0, 10), skin(65, 5, 0));

    TPieces Sized{{26, 0, 0, 0, 0, 0, 0}, {170, -4, 2, 8, 9, 1, 2}};
    std::string Text = ThrownText([&] { Sized.draw(SCREEN_SURFACE, 3, 7); });
    EXPECT_NE(Text.find("GUI.cpp"), std::string::npos);
    EXPECT_NE(Text.find("assertion failed, reason:\ndialog origin outside main window (surface: 1 x: 3 y: 7 "
                        "DrawingListLength: 2 i: 1 DrawingList.Skin: 170 (CONSOLETEXT_CORNER_TOPRIGHT) "
                        "DrawingList.x: -4 DrawingList.y: 2 DrawingList.width: 8 DrawingList.height: 9 "
                        "DrawingList.srcx: 1 DrawingList.srcy: 2)"),
              std::string::npos)
        << Text;
    EXPECT_EQ(at(3, 7), skin(26, 0, 0)); // the entries before the failing one stay drawn
}

TEST_F(DrawingTest, SkinNumbersOutsideTheTableFail) {
    TPieces TooHigh{{262, 0, 0, 0, 0, 0, 0}};
    TPieces Negative{{-1, 0, 0, 4, 4, 0, 0}};
    EXPECT_NE(
        ThrownText([&] { TooHigh.draw(SCREEN_SURFACE, 0, 0); }).find("DrawingList[i].skin<NumberOfSkins"),
        std::string::npos);
    EXPECT_NE(
        ThrownText([&] { Negative.draw(SCREEN_SURFACE, 0, 0); }).find("DrawingList[i].skin<NumberOfSkins"),
        std::string::npos);
}

TEST_F(DrawingTest, ContainersPaintTheirChildrenHeadFirst) {
    TEventLog Log;
    TProbeParent Root(Log, "root");
    Place(&Root, 10, 10, 200, 200);
    auto* Under = new TPieces{{65, 0, 0, 0, 0, 0, 0}};
    auto* Over = new TPieces{{7, 0, 0, 20, 20, 0, 0}};
    Root.addChild(Over);
    Root.addChild(Under); // the head: painted first, covered by Over
    Under->setPosition(5, 5);
    Over->setPosition(15, 15);
    Root.draw(SCREEN_SURFACE, 10, 10);
    EXPECT_EQ(at(15, 15), skin(65, 0, 0));
    EXPECT_EQ(at(25, 25), skin(7, 0, 0));
    EXPECT_EQ(at(44, 44), skin(7, 19, 19));
    EXPECT_EQ(at(45, 45), skin(65, 30, 30));
}

TEST_F(DrawingTest, ClippedTilingCutsTilesAndHonoursTheClipRectangle) {
    DrawSkinClipped(SCREEN_SURFACE, 0, 0, 42, 42, 65, 0, 0, 640, 480, 0, 0);
    EXPECT_EQ(at(41, 41), skin(65, 41, 41));
    EXPECT_EQ(at(42, 41), Background);
    EXPECT_EQ(at(41, 42), Background);

    // Skin 2 is 9 wide: with offset 3 the tiles are 6, 9, 9 and 1 wide.
    DrawSkinClipped(SCREEN_SURFACE, 100, 100, 25, 5, 2, 0, 0, 640, 480, 3, 0);
    EXPECT_EQ(at(100, 100), skin(2, 3, 0));
    EXPECT_EQ(at(105, 100), skin(2, 8, 0));
    EXPECT_EQ(at(106, 100), skin(2, 0, 0));
    EXPECT_EQ(at(115, 104), skin(2, 0, 4));
    EXPECT_EQ(at(124, 100), skin(2, 0, 0));
    EXPECT_EQ(at(125, 100), Background);

    DrawSkinClipped(SCREEN_SURFACE, 200, 200, 96, 96, 7, 210, 220, 5, 5, 0, 0);
    EXPECT_EQ(at(210, 220), skin(7, 10, 20));
    EXPECT_EQ(at(214, 224), skin(7, 14, 24));
    EXPECT_EQ(at(215, 220), Background);
    EXPECT_EQ(at(209, 220), Background);
}

TEST_F(DrawingTest, ClippedTilingChecks) {
    DrawSkinClipped(SCREEN_SURFACE, 0, 0, 0, 10, 7, 0, 0, 640, 480, 0, 0); // nothing, no failure
    EXPECT_NE(ThrownText([] {
                  DrawSkinClipped(SCREEN_SURFACE, 0, 0, -1, 10, 7, 0, 0, 9, 9, 0, 0);
              }).find("width>0"),
              std::string::npos);
    EXPECT_NE(ThrownText([] {
                  DrawSkinClipped(SCREEN_SURFACE, 0, 0, 5, 5, 262, 0, 0, 9, 9, 0, 0);
              }).find("In(skin,0,LASTSKIN-1)"),
              std::string::npos);
    std::string Text =
        ThrownText([] { DrawSkinClipped(SCREEN_SURFACE, 1, 2, 3, 4, 152, 5, 6, 7, 8, 9, 10); });
    EXPECT_NE(
        Text.find("some assertions failed (surface: 1 x: 1 y: 2 width: 3 height: 4 skin: 152 skinwidth: 0 "
                  "skinheight: 0 skinoffsetx: 9 skinoffsety: 10 cliprect: 5/6/7/8)"),
        std::string::npos)
        << Text;
}

TEST_F(DrawingTest, AButtonShowsItsDownFaceWhilePressedOverIt) {
    TEventLog Log;
    TProbeParent Root(Log, "root");
    Place(&Root, 0, 0, 640, 480);
    auto* Button = new TButton(20, 30, 12, 13, &Root, 1, nullptr, false);
    Root.appendChild(Button);
    Root.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(at(20, 30), skin(12, 0, 0));
    EXPECT_EQ(at(62, 49), skin(12, 42, 19));
    Root.leftButtonDown(25, 35, 0);
    Root.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(at(20, 30), skin(13, 0, 0));
    Root.mouseMove(0, 0);
    Root.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(at(20, 30), skin(12, 0, 0));
    Root.leftButtonUp(0, 0, 0);
    EXPECT_NE(ThrownText([&] { Button->draw(SCREEN_SURFACE, -1, 0); }).find("x>=0"), std::string::npos);
}

TEST_F(DrawingTest, AnIconButtonDrawsItsIconOnTheFace) {
    TIconButton Button(0, 0, 74, 14, 15, nullptr, 0, nullptr);
    Button.draw(SCREEN_SURFACE, 50, 50);
    EXPECT_EQ(at(50, 50), skin(14, 0, 0));
    EXPECT_EQ(at(52, 52), skin(74, 0, 0));
    EXPECT_EQ(at(62, 62), skin(74, 10, 10));
    EXPECT_EQ(at(63, 63), skin(14, 13, 13));
}

uint32_t FakeClock = 0;
uint32_t ReadFakeClock() { return FakeClock; }

TEST_F(DrawingTest, ABlinkingButtonSwapsItsFacesWhenDrawnAfterEachInterval) {
    SetMillisecondTimer(ReadFakeClock);
    FakeClock = GetStartTime() + 0x7FFFFF00u; // the signed millisecond clock wraps between the swaps
    TBlinkingButton Button(0, 0, 12, 13, 14, 15, nullptr, 0, nullptr);
    TSource Faces[4];
    for (TSource& Face : Faces) {
        Button.draw(SCREEN_SURFACE, 0, 0);
        Face = at(0, 0);
        FakeClock += 101;
    }
    SetMillisecondTimer(nullptr);
    EXPECT_EQ(Faces[0], skin(12, 0, 0));
    EXPECT_EQ(Faces[1], skin(14, 0, 0));
    EXPECT_EQ(Faces[2], skin(12, 0, 0));
    EXPECT_EQ(Faces[3], skin(14, 0, 0));
}

TEST_F(DrawingTest, TheFramePaintsNinePiecesAroundItsWindow) {
    TEventLog Log;
    TWindowFrame Frame(new TProbeLeaf(Log, "window"), 26, 32, 27, 30, 31, 28, 33, 29, 7, 0);
    Frame.setSize(60, 40);
    Frame.draw(SCREEN_SURFACE, 100, 100);
    EXPECT_EQ(at(100, 100), skin(26, 0, 0));
    EXPECT_EQ(at(130, 100), skin(32, 28, 0)); // the top edge starts behind the 2-pixel corner
    EXPECT_EQ(at(158, 100), skin(27, 0, 0));
    EXPECT_EQ(at(100, 120), skin(30, 0, 18));
    EXPECT_EQ(at(159, 120), skin(31, 1, 18));
    EXPECT_EQ(at(130, 139), skin(33, 28, 1));
    EXPECT_EQ(at(158, 138), skin(29, 0, 0));
    EXPECT_EQ(at(130, 120), skin(7, 28, 18));
    EXPECT_EQ(at(160, 120), Background);
}

TEST_F(DrawingTest, AFramedObjectViewDrawsItsFrameAndNeedsASquare) {
    TObjectView View(EmptyObject, nullptr, true);
    View.setSize(34, 34);
    View.draw(SCREEN_SURFACE, 10, 10);
    EXPECT_EQ(at(10, 10), skin(102, 0, 0));
    EXPECT_EQ(at(43, 43), skin(102, 33, 33));
    View.setSize(34, 30);
    EXPECT_NE(ThrownText([&] { View.draw(SCREEN_SURFACE, 10, 10); }).find("getWidth()==getHeight()"),
              std::string::npos);
}

} // namespace
