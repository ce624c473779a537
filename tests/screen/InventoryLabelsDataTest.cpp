// The capacity and soul labels of the equipment window drawn with the generated fonts: caption and number
// stay inside their wells, clear of the rim and of each other.
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "screen/ContentWindowsInventory.h"
#include "state/CreaturesPlayer.h"
#include "state/Inventory.h"
#include "state/Preferences.h"
#include "tests/graphics/GraphicsTest.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;

// Text colours no skin uses, so that every pixel near them is text (recolouring scales a glyph's white by
// 255 / 256).
constexpr int32_t CAPTION[3] = {3, 250, 7}, NUMBER[3] = {250, 5, 9};

bool Near(uint32_t Pixel, const int32_t Color[3]) {
    for (int32_t i = 0; i < 3; i++)
        if (std::abs(static_cast<int32_t>(Pixel >> (16 - 8 * i) & 255) - Color[i]) > 2) return false;
    return true;
}

struct TInk {
    int32_t Left = 1 << 30, Right = -1, Top = 1 << 30, Bottom = -1;
};

class InventoryLabelsData : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* Name : {"Ebrun.dat", "Ebrun.spr", "Ebrun.pic"})
            fs::copy_file(fs::path(EBRUN_DATA_DIR) / Name, Name);
        Engine = std::make_unique<TTestEngine>(TDisplayFaults(), 200, 200);
        InitGraphics(4 << 20);
        InitVideoCache();
        InitSkins();
        InitSkinProperties();
        ResetOptions();
        InitInventory();
        SkinProperties.SmallLabels.CaptionFormat = {3, CAPTION[0], CAPTION[1], CAPTION[2], CENTER_ALIGN};
        SkinProperties.SmallLabels.NumberFormat = {4, NUMBER[0], NUMBER[1], NUMBER[2], CENTER_ALIGN};
    }
    void TearDown() override {
        InitSkinProperties();
        ExitSkins();
        ExitGraphics();
        Engine.reset();
    }
    // Where text of the colour lies within the rectangle.
    TInk ink(const int32_t Color[3], const TSkinRectangle& Within) {
        TInk Found;
        for (int32_t y = Within.y; y < Within.y + Within.height; y++)
            for (int32_t x = Within.x; x < Within.x + Within.width; x++)
                if (Near(Engine->pixel(SCREEN_SURFACE, x, y), Color)) {
                    Found = {std::min(Found.Left, x), std::max(Found.Right, x), std::min(Found.Top, y),
                             std::max(Found.Bottom, y)};
                }
        return Found;
    }

    TWorkingDirectory Scratch;
    std::unique_ptr<TTestEngine> Engine;
};

TEST_F(InventoryLabelsData, CaptionAndNumberStayInsideTheWellClearOfItsRim) {
    SetCapacity(65535); // the widest number the server can send
    SetSoulPoints(200);
    TParentComponent Target;
    TInventoryWindow Window(&Target);
    Window.draw(SCREEN_SURFACE, 0, 0);
    for (const TSkinRectangle& Well :
         {SkinProperties.InventoryWindow.CapacityLabel, SkinProperties.InventoryWindow.SoulLabel}) {
        // Nothing of either text outside the well and its one-pixel rim.
        const TSkinRectangle Around{Well.x - 8, Well.y - 8, Well.width + 16, Well.height + 16};
        const TInk Caption = ink(CAPTION, Around), Number = ink(NUMBER, Around);
        ASSERT_GE(Caption.Bottom, 0);
        ASSERT_GE(Number.Bottom, 0);
        for (const TInk& Text : {Caption, Number}) {
            EXPECT_GE(Text.Left, Well.x + 2) << Well.x;
            EXPECT_LE(Text.Right, Well.x + Well.width - 3) << Well.x;
            EXPECT_GE(Text.Top, Well.y + 2) << Well.x;
        }
        // A blank row between the number and the rim, and between caption and number.
        EXPECT_LE(Number.Bottom, Well.y + Well.height - 3) << Well.x;
        EXPECT_LT(Caption.Bottom + 1, Number.Top) << Well.x;
    }
}

} // namespace
