// The art follows the rules the client draws by: seamless ground blocks, pictures per count and liquid,
// light from the upper left on the interface, pictograms inside their box.
#include "tools/datagen/Art.h"
#include "tools/datagen/DataSet.h"
#include "tools/datagen/Pictograms.h"
#include "tools/datagen/SkinTable.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const TDataSet& Set() {
    static const TDataSet S = BuildDataSet(TDataOptions{});
    return S;
}

const TCanvas& Sprite(int Number) { return Set().Sprites.sprite(Number); }

// The picture of an item's single cell for a pattern.
const TCanvas& ItemCell(int Type, int PatternX, int PatternY, int Phase = 1) {
    const TDatType& t = Set().Dat.Items.at(Type - 100);
    return Sprite(t.Sprites.at(t.spriteIndex(1, 1, 1, PatternX, PatternY, 1, Phase)));
}

int Brightness(TColor c) { return (30 * c.r + 59 * c.g + 11 * c.b) / 100; }

double ColumnStep(const TCanvas& Left, int lx, const TCanvas& Right, int rx) {
    double Sum = 0;
    for (int y = 0; y < 32; y++)
        Sum += std::abs(Brightness(Left.get(lx, y)) - Brightness(Right.get(rx, y)));
    return Sum / 32;
}

double MeanBrightness(int Skin) {
    const TSkinRect& r = SKIN_RECTS[Skin];
    const TCanvas& P = Set().Pictures.Pictures[PICTURE_SKINS - 1].Image;
    double Sum = 0;
    for (int y = r.y; y < r.y + r.h; y++)
        for (int x = r.x; x < r.x + r.w; x++)
            Sum += Brightness(P.get(x, y));
    return Sum / (r.w * r.h);
}

} // namespace

TEST(Art, GroundBlocksJoinWithoutSeams) {
    // Neighbouring fields take the next pattern: across the seam the picture steps no more than it does
    // inside a tile, also where the 2 x 2 block repeats.
    for (int Type : {Catalog::GRASS, Catalog::DIRT, Catalog::SAND, Catalog::SNOW, Catalog::CAVE_FLOOR}) {
        const TCanvas &A = ItemCell(Type, 1, 1), &B = ItemCell(Type, 2, 1);
        double Inside = (ColumnStep(A, 15, A, 16) + ColumnStep(B, 15, B, 16) + ColumnStep(A, 7, A, 8)) / 3;
        EXPECT_LT(ColumnStep(A, 31, B, 0), 2.5 * Inside + 4) << Type;
        EXPECT_LT(ColumnStep(B, 31, A, 0), 2.5 * Inside + 4) << Type;
    }
}

TEST(Art, HeapsGrowWithTheCountStep) {
    for (int Type : {Catalog::GOLD_COINS, Catalog::APPLES, Catalog::STONES}) {
        int Last = 0;
        for (int Step = 0; Step < 8; Step++) {
            int n = ItemCell(Type, Step % 4 + 1, Step / 4 + 1).opaqueCount();
            EXPECT_GE(n, Last) << Type << " step " << Step;
            Last = n;
        }
        EXPECT_GT(Last, 2 * ItemCell(Type, 1, 1).opaqueCount()) << Type;
    }
}

TEST(Art, LiquidsLieInRowsOfFourByTheirValue) {
    // Value 2 is blood (red), 1 water (blue), 4 slime (green); value v sits at (v mod 4 + 1, v div 4 + 1).
    auto Dominant = [](const TCanvas& C) {
        long r = 0, g = 0, b = 0;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
                if (C.opaque(x, y) && C.get(x, y).r + C.get(x, y).g + C.get(x, y).b > 60) {
                    TColor c = C.get(x, y);
                    int m = std::min({c.r, c.g, c.b});
                    r += c.r - m, g += c.g - m, b += c.b - m;
                }
        return r > g && r > b ? 'r' : g > b ? 'g' : 'b';
    };
    for (int Type : {Catalog::VIAL, Catalog::POOL}) {
        EXPECT_EQ(Dominant(ItemCell(Type, 2, 1)), 'b') << Type;
        EXPECT_EQ(Dominant(ItemCell(Type, 3, 1)), 'r') << Type;
        EXPECT_EQ(Dominant(ItemCell(Type, 1, 2)), 'g') << Type;
    }
}

TEST(Art, HangingThingsHaveAPicturePerHookAndAnimatedOnesChange) {
    const TCanvas &Free = ItemCell(Catalog::TORCH, 1, 1), &South = ItemCell(Catalog::TORCH, 2, 1),
                  &East = ItemCell(Catalog::TORCH, 3, 1);
    auto Same = [](const TCanvas& a, const TCanvas& b) {
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
                if (a.opaque(x, y) != b.opaque(x, y) || a.get(x, y) != b.get(x, y)) return false;
        return true;
    };
    EXPECT_FALSE(Same(Free, South));
    EXPECT_FALSE(Same(South, East));
    for (int Type : {Catalog::WATER, Catalog::LAVA, Catalog::CAMPFIRE, Catalog::FIRE_FIELD})
        EXPECT_FALSE(Same(ItemCell(Type, 1, 1, 1), ItemCell(Type, 1, 1, 2))) << Type;
}

TEST(Art, InterfaceIsLitFromTheUpperLeft) {
    // The one-pixel lines: 8 and 10 are the lit bottom and right of a sunken frame, 9 and 11 its shadow.
    EXPECT_GT(MeanBrightness(8), MeanBrightness(9) + 40);
    EXPECT_GT(MeanBrightness(10), MeanBrightness(11) + 40);
    // Raised frame sides (30 left, 32 top) are lighter than their opposites (31 right, 33 bottom).
    EXPECT_GT(MeanBrightness(30), MeanBrightness(31));
    EXPECT_GT(MeanBrightness(32), MeanBrightness(33));
    // A button's face is lighter released than pressed, for every pair of up and down skins.
    for (auto [Up, Down] : {std::pair{12, 13},
                            {14, 15},
                            {16, 17},
                            {18, 19},
                            {20, 21},
                            {66, 67},
                            {103, 104},
                            {136, 137},
                            {157, 158},
                            {188, 189}})
        EXPECT_GT(MeanBrightness(Up), MeanBrightness(Down)) << Up;
    // The hit-point fill is red and the mana fill blue.
    const TCanvas& P = Set().Pictures.Pictures[PICTURE_SKINS - 1].Image;
    TColor Hp = P.get(SKIN_RECTS[121].x + 40, SKIN_RECTS[121].y + 5),
           Mana = P.get(SKIN_RECTS[124].x + 40, SKIN_RECTS[124].y + 5);
    EXPECT_GT(Hp.r, Hp.b + 60);
    EXPECT_GT(Mana.b, Mana.r + 60);
}

TEST(Art, ColourButtonFacesLetTheirColourShowThroughTheMiddle) {
    const TCanvas& P = Set().Pictures.Pictures[PICTURE_SKINS - 1].Image;
    for (int Skin : {22, 23}) {
        const TSkinRect& r = SKIN_RECTS[Skin];
        EXPECT_TRUE(P.opaque(r.x, r.y)) << Skin;
        EXPECT_FALSE(P.opaque(r.x + r.w / 2, r.y + r.h / 2)) << Skin;
    }
}

TEST(Art, PictogramsStayInsideTheirBoxWithTheOutline) {
    for (int k = 0; k <= static_cast<int>(TPictogram::SHIELD_PLUS); k++) {
        TCanvas C = Pictogram(static_cast<TPictogram>(k), 12, 12, TColor{200, 100, 50});
        EXPECT_GT(C.opaqueCount(), 8) << k;
        EXPECT_LT(C.opaqueCount(), 144) << k;
        // The cut-out colour never survives into a picture.
        for (int y = 0; y < 12; y++)
            for (int x = 0; x < 12; x++)
                EXPECT_FALSE(C.opaque(x, y) && C.get(x, y) == AvoidKey(COLOR_KEY)) << k;
    }
}
