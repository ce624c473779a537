// The map view's host window sizes and frame, and the field-cell cache.
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "state/Preferences.h"
#include "tests/screen/MapBench.h"

namespace {

class MapCells : public MapBench {
protected:
    // A frame of the cache without the world: counts reset, layers added by the caller, then the flush.
    void beginFrame() {
        View->_OffsetX = View->_OffsetY = 32;
        for (TMapCell& Cell : View->_Cells) {
            Cell.Count = 0;
            Cell.Flushed = 0;
        }
    }
};

TEST_F(MapBench, WindowKeepsAnUnstretchedViewCentredBetweenStrips) {
    TMapWindow Window;
    Window.setSize(600, 400);
    EXPECT_EQ(Window._MapView->Width, 480);
    EXPECT_EQ(Window._MapView->Height, 352);
    EXPECT_EQ(Window._MapView->X, (600 - 10 - 480) / 2 + 5);
    EXPECT_EQ(Window._MapView->Y, 5);
    EXPECT_EQ(Window.Height, 362);
    // The left and right background strips reach from the edges to the frame.
    EXPECT_EQ(Window.DrawingList[5].width, Window._MapView->X - GetSkin(11).Width);
    EXPECT_EQ(Window.DrawingList[6].x + Window.DrawingList[6].width, 600);
}

TEST_F(MapBench, LowWindowLimitsTheViewByItsHeight) {
    SetNoStretching(false);
    TMapWindow Window;
    Window.setSize(800, 300);
    EXPECT_EQ(Window._MapView->Width, 290 * 15 / 11 + 2);
    EXPECT_EQ(Window._MapView->Height, Window._MapView->Width * 11 / 15);
    EXPECT_EQ(Window.Height, Window._MapView->Height + 10);
    for (int32_t W : {240, 480, 481, 333, 799})
        EXPECT_EQ(static_cast<int32_t>(W * static_cast<double>(0.73333335f)), W * 11 / 15) << W;
}

TEST_F(MapBench, SmallestWindowFramesItsView) {
    TMapWindow Window;
    EXPECT_EQ(Window.getMinimumWidth(), 250);
    EXPECT_EQ(Window.getMinimumHeight(), 186);
    Window.setSize(250, 186);
    EXPECT_EQ(Window._MapView->Width, 240);
    EXPECT_EQ(Window._MapView->Height, 176);
    const TSkinPiece& Top = Window.DrawingList[0];
    EXPECT_EQ(Top.skin, 9);
    EXPECT_EQ(Top.x, 5 - GetSkin(11).Width);
    EXPECT_EQ(Top.width, GetSkin(11).Width + 240 + GetSkin(10).Width);
    const TSkinPiece& Bottom = Window.DrawingList[3];
    EXPECT_EQ(Bottom.y, 5 + 176);
    EXPECT_EQ(Bottom.width, 240);
}

TEST_F(MapBench, ViewOwnsItsShortcutsForItsLifetime) {
    const int32_t Before = GetNumberOfShortcuts();
    TMapView* Second = new TMapView;
    EXPECT_EQ(GetNumberOfShortcuts(), Before);
    delete Second;
    EXPECT_EQ(GetNumberOfShortcuts(), Before - 2);
}

TEST_F(MapCells, RingFollowsTheViewPosition) {
    View->_ViewX = 100;
    View->_ViewY = 100;
    TMapCell* Cell = &View->getCell(3, 4);
    View->_ViewX = 101; // one step east: the field that was at 4 is now at 3
    EXPECT_EQ(&View->getCell(2, 4), Cell);
    EXPECT_NE(ExceptionTextOf([&] { View->getCell(18, 0); }).find("In(FieldX,0,MAPSIZE_X-1)"),
              std::string::npos);
    EXPECT_NE(ExceptionTextOf([&] { View->getCell(0, -1); }).find("In(FieldY,0,MAPSIZE_Y-1)"),
              std::string::npos);
}

TEST_F(MapCells, FewerLayersThanLastFrameAreRedrawnAtFlush) {
    beginFrame();
    View->addCellLayer(2, 2, RED, 0, 0);
    View->addCellLayer(2, 2, QUARTER, 0, 0);
    View->addCellLayer(2, 2, QUARTER, 16, 16);
    View->flushCell(2, 2);
    EXPECT_TRUE(Near(picture(32 + 20, 32 + 20), 0, 200, 200));
    beginFrame();
    View->addCellLayer(2, 2, RED, 0, 0);
    View->addCellLayer(2, 2, QUARTER, 0, 0);
    EXPECT_EQ(View->getCell(2, 2).CachedCount, 3);
    View->flushCell(2, 2);
    EXPECT_EQ(View->getCell(2, 2).CachedCount, 2);
    EXPECT_TRUE(Near(picture(32 + 4, 32 + 4), 0, 200, 200));
    EXPECT_TRUE(Near(picture(32 + 20, 32 + 20), 200, 0, 0)) << std::hex << picture(52, 52);
}

TEST_F(MapCells, RepeatedLayersCostOnlyTheCopy) {
    beginFrame();
    View->addCellLayer(2, 2, RED, 0, 0);
    View->flushCell(2, 2);
    // Paint over the cached square behind the cache's back: an unchanged layer must not redraw it.
    const TMapCell& Cell = View->getCell(2, 2);
    GetSurface()->FillRectangle(CACHE_SURFACE, Cell.CacheX, Cell.CacheY, 32, 32, 0, 200, 0);
    beginFrame();
    View->addCellLayer(2, 2, RED, 0, 0);
    View->flushCell(2, 2);
    EXPECT_TRUE(Near(picture(40, 40), 0, 200, 0));
    // A different layer does.
    beginFrame();
    View->addCellLayer(2, 2, BLUE, 0, 0);
    View->flushCell(2, 2);
    EXPECT_TRUE(Near(picture(40, 40), 0, 0, 200));
}

TEST_F(MapCells, EleventhLayerGoesStraightToThePicture) {
    beginFrame();
    for (int32_t i = 0; i < CELL_LAYERS; i++)
        View->addCellLayer(3, 3, RED, 0, 0);
    EXPECT_FALSE(View->getCell(3, 3).Flushed);
    View->addCellLayer(3, 3, QUARTER, 0, 0);
    EXPECT_TRUE(View->getCell(3, 3).Flushed);
    EXPECT_TRUE(Near(picture(64 + 2, 64 + 2), 0, 200, 200));
    EXPECT_TRUE(Near(picture(64 + 20, 64 + 20), 200, 0, 0));
}

TEST_F(MapCells, SpriteAcrossFourFieldsReachesEachCell) {
    beginFrame();
    View->drawSprite(16, 16, 0, false, RED);
    EXPECT_EQ(View->getCell(1, 1).Count, 1);
    EXPECT_EQ(View->getCell(2, 1).Count, 1);
    EXPECT_EQ(View->getCell(1, 2).Count, 1);
    EXPECT_EQ(View->getCell(2, 2).Count, 1);
    EXPECT_EQ(View->getCell(2, 2).DX[0], -16);
    // Field 0 lies left of the picture and takes no cell work; field 1 gets the sprite's right part.
    beginFrame();
    View->drawSprite(-8, 0, 0, false, RED);
    EXPECT_EQ(View->getCell(0, 1).Count, 0);
    EXPECT_EQ(View->getCell(1, 1).DX[0], -8);
}

} // namespace
