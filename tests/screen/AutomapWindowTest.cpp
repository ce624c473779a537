// Tests of the automap panel: following and scrolling, zoom and floors, the map image, the cross and the
// marks, walking by click, the mark menu request, the compass rose and the shortcuts.
#include "screen/AutomapWindow.h"
#include "gui/GUIServices.h"
#include "screen/ContextMenus.h"
#include "state/Events.h"
#include "state/Map.h"
#include "state/MapAutomap.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "tests/foundation/Thrown.h"
#include "tests/screen/PanelScreen.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TWalk {
    int32_t x, y, z;
    bool operator==(const TWalk&) const = default;
};
std::vector<TWalk> Walks;
void RecordWalk(int32_t x, int32_t y, int32_t z) { Walks.push_back({x, y, z}); }

constexpr int32_t PX = 1000, PY = 2000, PZ = 7; // the player's field
constexpr int32_t VX = 9, VY = 5;               // the view in the panel

class AutomapTest : public ::testing::Test {
protected:
    AutomapTest() {
        InitAutomap();
        ResetShortcuts();
        ClearMessages();
        SetAutomapZoom(2);
        SetViewPosition(PX, PY, PZ);
        SetAutomapWalk(RecordWalk);
        Walks.clear();
        Panel = std::make_unique<TAutomapWindow>();
    }
    ~AutomapTest() override {
        Panel.reset();
        SetAutomapWalk(nullptr);
        ClearMessages();
    }

    // Colour index Index (6 x 6 x 6 cube) on a field, without raising the changed flag.
    static void paint(int32_t x, int32_t y, int32_t z, int32_t Index) {
        GetAutomapBlock(x / 256, y / 256, z).Colors[x % 256 * 256 + y % 256] = static_cast<uint8_t>(Index);
    }
    static uint32_t colour(int32_t Index) {
        TRGBColor C(Index);
        return TPanelScreen::rgb(C.Red, C.Green, C.Blue);
    }
    // The view's pixel (i, j) after drawing the panel at 0, 0.
    uint32_t mapPixel(int32_t i, int32_t j) { return Screen.pixel(VX + i, VY + j); }
    void draw() { Panel->draw(SCREEN_SURFACE, 0, 0); }

    static constexpr uint32_t WHITE = 0xFFFFFF;
    static constexpr uint32_t BLACK = 0;
    TPanelScreen Screen;
    std::unique_ptr<TAutomapWindow> Panel;
};

TEST_F(AutomapTest, AtZoomTwoEachPixelIsOneField) {
    paint(PX + 10, PY - 7, PZ, 180);
    paint(PX - 53, PY - 53, PZ, 5);
    paint(PX + 1, PY, PZ - 1, 30); // another floor
    draw();
    EXPECT_EQ(mapPixel(63, 46), colour(180));
    EXPECT_EQ(mapPixel(64, 46), BLACK);
    EXPECT_EQ(mapPixel(0, 0), colour(5));
    // The cross: the centre and its four neighbours.
    EXPECT_EQ(mapPixel(53, 53), WHITE);
    EXPECT_EQ(mapPixel(52, 53), WHITE);
    EXPECT_EQ(mapPixel(53, 54), WHITE);
    EXPECT_EQ(mapPixel(54, 54), BLACK);
    EXPECT_EQ(mapPixel(55, 53), BLACK);
    // The frame line around the map.
    EXPECT_EQ(Screen.source(20, 4), TPanelScreen::skinPixel(9, 12, 0));
    EXPECT_EQ(Screen.source(8 + 107, 50), TPanelScreen::skinPixel(10, 0, 46));
}

TEST_F(AutomapTest, AtZoomOneTwoFieldsShareAPixelAroundAnEvenCentre) {
    SetViewPosition(PX + 1, PY + 1, PZ);
    Panel->Zoom = 1;
    paint(PX + 10, PY, PZ, 100);
    paint(PX + 11, PY, PZ, 200);
    draw();
    EXPECT_EQ(mapPixel(58, 53), colour(100));
    EXPECT_EQ(mapPixel(59, 53), BLACK);
}

TEST_F(AutomapTest, AtZoomEightAFieldIsFourByFourPixelsAndTheCrossIsThick) {
    Panel->Zoom = 8;
    paint(PX + 3, PY + 3, PZ, 150);
    draw();
    for (int32_t i = 62; i <= 67; i++)
        EXPECT_EQ(mapPixel(i, 63), In(i, 63, 66) ? colour(150) : BLACK) << i;
    EXPECT_EQ(mapPixel(66, 66), colour(150));
    EXPECT_EQ(mapPixel(66, 67), BLACK);
    for (int32_t d = -3; d <= 3; d++) {
        EXPECT_EQ(mapPixel(53 + d, 53) == WHITE && mapPixel(53 + d, 52) == WHITE, d < 3) << d;
        EXPECT_EQ(mapPixel(52, 53 + d) == WHITE && mapPixel(53, 53 + d) == WHITE, d < 3) << d;
    }
    EXPECT_EQ(mapPixel(54, 50), BLACK);
}

TEST_F(AutomapTest, ScrollStepShrinksWithTheZoom) {
    const int32_t Steps[4][2] = {{1, 24}, {2, 12}, {4, 6}, {8, 3}};
    for (const auto& [Zoom, Step] : Steps) {
        Panel->Centred = true;
        Panel->Zoom = Zoom;
        Panel->scroll(SCROLL_NORTH);
        EXPECT_EQ(Panel->CentreY, PY - Step) << Zoom;
        Panel->scroll(SCROLL_EAST);
        EXPECT_EQ(Panel->CentreX, PX + Step) << Zoom;
        EXPECT_FALSE(Panel->Centred);
    }
    Panel->handleEvent(AUTOMAP_ZOOM_IN);
    EXPECT_EQ(Panel->Zoom, 8);
    Panel->Zoom = 1;
    Panel->handleEvent(AUTOMAP_ZOOM_OUT);
    EXPECT_EQ(Panel->Zoom, 1);
    SetViewPosition(PX, PY, 0);
    Panel->handleEvent(AUTOMAP_CENTRE);
    Panel->handleEvent(AUTOMAP_FLOOR_UP);
    EXPECT_EQ(Panel->CentreZ, 0);
    EXPECT_FALSE(Panel->Centred);
    for (int32_t i = 0; i < 20; i++)
        Panel->handleEvent(AUTOMAP_FLOOR_DOWN);
    EXPECT_EQ(Panel->CentreZ, 15);
}

TEST_F(AutomapTest, ScrolledMapStaysUntilThePlayerSteps) {
    paint(PX + 12, PY, PZ, 60);
    Panel->handleEvent(AUTOMAP_EAST);
    draw();
    EXPECT_FALSE(Panel->Centred);
    EXPECT_EQ(mapPixel(53, 53), colour(60));
    EXPECT_EQ(mapPixel(41, 53), WHITE); // the player, 12 fields west of the centre
    draw();
    EXPECT_EQ(mapPixel(53, 53), colour(60));
    SetViewPosition(PX, PY + 1, PZ);
    draw();
    EXPECT_TRUE(Panel->Centred);
    EXPECT_EQ(mapPixel(53, 53), WHITE);
    EXPECT_EQ(mapPixel(65, 52), colour(60));
}

TEST_F(AutomapTest, CrossIsHiddenOnAnotherFloorOrOutsideTheMap) {
    paint(PX, PY, PZ - 1, 90);
    Panel->handleEvent(AUTOMAP_FLOOR_UP);
    draw();
    EXPECT_EQ(mapPixel(53, 53), colour(90));
    Panel->handleEvent(AUTOMAP_FLOOR_DOWN);
    for (int32_t i = 0; i < 5; i++)
        Panel->handleEvent(AUTOMAP_WEST); // 60 fields: the player lies beyond the right edge
    draw();
    for (int32_t i = 0; i < 106; i++)
        ASSERT_NE(mapPixel(i, 53), WHITE) << i;
    SetViewPosition(PX, PY, PZ); // unchanged: the map stays scrolled
    draw();
    EXPECT_FALSE(Panel->Centred);
}

TEST_F(AutomapTest, ImageIsRebuiltOnlyWhenSomethingChanged) {
    draw(); // the first drawing finds new surfaces and loads the blocks, which counts as a change
    Screen.beginFrame();
    draw();
    paint(PX + 5, PY, PZ, 20);
    draw();
    EXPECT_EQ(mapPixel(58, 53), BLACK);
    AddMapMark({PX + 40, PY + 40, PZ}, "", 1); // raises the automap's changed flag
    draw();
    EXPECT_EQ(mapPixel(58, 53), colour(20));
    paint(PX + 6, PY, PZ, 21);
    Panel->handleEvent(AUTOMAP_CENTRE);
    draw();
    EXPECT_EQ(mapPixel(59, 53), colour(21));
}

TEST_F(AutomapTest, MarksAreDrawnCentredOnTheirFieldAndClipped) {
    AddMapMark({PX + 10, PY, PZ}, "Depot", 2);
    AddMapMark({PX - 52, PY - 52, PZ}, "Edge", 3);
    AddMapMark({PX + 20, PY, PZ}, "Bad", 99); // a type without an icon
    draw();
    EXPECT_EQ(Screen.source(VX + 63 - 5, VY + 53 - 5), TPanelScreen::skinPixel(76, 0, 0));
    EXPECT_EQ(Screen.source(VX + 63 + 5, VY + 53 + 5), TPanelScreen::skinPixel(76, 10, 10));
    EXPECT_EQ(Screen.source(VX + 0, VY + 0), TPanelScreen::skinPixel(77, 4, 4));
    EXPECT_EQ(mapPixel(73, 53), BLACK);
    EXPECT_EQ(Screen.source(VX - 1, VY + 20), TPanelScreen::skinPixel(11, 0, 21)); // the frame, not the mark
}

TEST_F(AutomapTest, ClickNearAMarkWalksToTheMarkAndTheLastOneWins) {
    AddMapMark({PX + 10, PY, PZ}, "First", 1);
    AddMapMark({PX + 12, PY, PZ}, "Second", 2);
    Panel->View->leftButtonUp(63 + 4, 53 - 5, 0);
    Panel->View->leftButtonUp(63 - 5, 53, 0);
    Panel->View->leftButtonUp(53 + 20, 53 - 6, 0);
    EXPECT_EQ(Walks, (std::vector<TWalk>{{PX + 12, PY, PZ}, {PX + 10, PY, PZ}, {PX + 20, PY - 6, PZ}}));
}

TEST_F(AutomapTest, ClickOnAScrolledMapUsesItsCentreAndFloor) {
    Panel->Zoom = 4;
    Panel->handleEvent(AUTOMAP_FLOOR_DOWN);
    Panel->handleEvent(AUTOMAP_SOUTH);
    Panel->View->leftButtonUp(53 + 9, 53, 0);
    EXPECT_EQ(Walks, (std::vector<TWalk>{{PX + 4, PY + 6, PZ + 1}}));
}

TEST_F(AutomapTest, RightClickPostsTheMarkMenuRequest) {
    AddMapMark({PX + 10, PY, PZ}, "Depot", 2);
    EXPECT_TRUE(Panel->View->rightClick(61, 55, 0));
    int32_t Type;
    intptr_t Param1, Param2;
    PopMessage(Type, Param1, Param2);
    ASSERT_EQ(Type, 59);
    auto* Request = reinterpret_cast<TMarkMenuData*>(Param1);
    EXPECT_EQ(Request->x, PX + 8);
    EXPECT_EQ(Request->y, PY + 2);
    EXPECT_EQ(Request->z, PZ);
    EXPECT_EQ(Request->Mark.x, PX + 10);
    EXPECT_STREQ(Request->Mark.Text, "Depot");
    EXPECT_EQ(Param2, 0);
    FreeMessageBlock(Request);
}

TEST_F(AutomapTest, ToolTipsOfMarksAndButtons) {
    AddMapMark({PX + 10, PY, PZ}, "Depot", 2);
    AddMapMark({PX - 10, PY, PZ}, "", 2);
    SetTooltip(nullptr);
    Panel->getToolTip(VX + 63, VY + 53);
    EXPECT_STREQ(GetTooltip(), "Depot");
    SetTooltip(nullptr);
    Panel->getToolTip(VX + 43, VY + 53);
    EXPECT_EQ(GetTooltip(), nullptr);
    Panel->getToolTip(124 + 3, 71 + 3);
    EXPECT_STREQ(GetTooltip(), "Zoom in (Alt+End)");
    Panel->getToolTip(124 + 3, 5 + 3);
    EXPECT_STREQ(GetTooltip(), "Scroll automap (Alt+Cursor)");
}

TEST_F(AutomapTest, RoseScrollsByWhereItIsClicked) {
    TCompassRose* Rose = Panel->Rose;
    Rose->leftButtonUp(21, 3, 0);
    EXPECT_EQ(Panel->CentreY, PY - 12);
    Rose->leftButtonUp(21, 40, 0);
    EXPECT_EQ(Panel->CentreY, PY);
    Rose->leftButtonUp(3, 21, 0);
    EXPECT_EQ(Panel->CentreX, PX - 12);
    Rose->leftButtonUp(43, 26, 0);
    EXPECT_EQ(Panel->CentreX, PX);
    Rose->leftButtonUp(3, 3, 0); // a corner does nothing
    EXPECT_FALSE(Panel->Centred);
    Rose->leftButtonUp(22, 22, 0);
    EXPECT_TRUE(Panel->Centred);
    EXPECT_NE(ThrownText([] { TCompassRose Broken(262); }).find("_RoseSkin<NumberOfSkins"),
              std::string::npos);
}

TEST_F(AutomapTest, ShortcutsScrollAndTheZoomIsKept) {
    EXPECT_EQ(GetNumberOfShortcuts(), 8);
    EXPECT_TRUE(FireShortcut(2316));
    EXPECT_EQ(Panel->CentreY, PY - 12);
    EXPECT_TRUE(FireShortcut(2323));
    EXPECT_EQ(Panel->Zoom, 4);
    Panel.reset();
    EXPECT_EQ(GetNumberOfShortcuts(), 0);
    EXPECT_EQ(GetAutomapZoom(), 4);
    EXPECT_FALSE(FireShortcut(2316));
    SetAutomapZoom(3); // not a zoom: the default
    Panel = std::make_unique<TAutomapWindow>();
    EXPECT_EQ(Panel->Zoom, 2);
}

} // namespace
