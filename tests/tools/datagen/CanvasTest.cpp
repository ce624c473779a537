// The generator's drawing surface, noise and random numbers: what the art relies on to be seamless and
// the same on every run.
#include "tools/datagen/Canvas.h"

#include <gtest/gtest.h>

namespace {} // namespace

TEST(Canvas, FillsAndFramesStayInsideAndClip) {
    TCanvas C(10, 8);
    EXPECT_TRUE(C.empty());
    C.fillRect(-3, -3, 5, 5, TColor{1, 1, 1}); // only (0..1, 0..1) lies inside
    EXPECT_EQ(C.opaqueCount(), 4);
    C.frameRect(2, 2, 6, 4, TColor{2, 2, 2});
    EXPECT_EQ(C.opaqueCount(), 4 + 16);
    EXPECT_FALSE(C.opaque(4, 3)); // the inside of the frame
    EXPECT_FALSE(C.opaque(-1, 0));
    EXPECT_EQ(C.get(99, 99), (TColor{}));
    C.clear(0, 0);
    EXPECT_FALSE(C.opaque(0, 0));
}

TEST(Canvas, PolygonsAndEllipsesCoverTheirArea) {
    TCanvas C(20, 20);
    C.fillPolygon({{2, 2}, {12, 2}, {12, 7}, {2, 7}}, TColor{5, 5, 5});
    EXPECT_EQ(C.opaqueCount(), 10 * 5);
    TCanvas E(21, 21);
    E.fillEllipse(10.5, 10.5, 5, 5, TColor{5, 5, 5});
    // Symmetric about both axes, and close to the area of the disc.
    for (int y = 0; y < 21; y++)
        for (int x = 0; x < 21; x++) {
            EXPECT_EQ(E.opaque(x, y), E.opaque(20 - x, y));
            EXPECT_EQ(E.opaque(x, y), E.opaque(x, 20 - y));
        }
    EXPECT_NEAR(E.opaqueCount(), 78.5, 8);
}

TEST(Canvas, OutlineRingsTheShapeInItsTransparentNeighbours) {
    TCanvas C(5, 5);
    C.set(2, 2, TColor{200, 200, 200});
    C.outline(TColor{1, 1, 1});
    EXPECT_EQ(C.opaqueCount(), 5);
    EXPECT_EQ(C.get(2, 2), (TColor{200, 200, 200}));
    EXPECT_EQ(C.get(2, 1), (TColor{1, 1, 1}));
    EXPECT_FALSE(C.opaque(1, 1)); // no diagonal neighbours
}

TEST(Canvas, BlendMixesIntoOpaquePixelsAndFillsTransparentOnesOnlyWhenMostlyCovered) {
    TCanvas C(3, 1);
    C.set(0, 0, TColor{100, 100, 100});
    C.blend(0, 0, TColor{200, 0, 100}, 0.5);
    EXPECT_EQ(C.get(0, 0), (TColor{150, 50, 100}));
    C.blend(1, 0, TColor{9, 9, 9}, 0.49);
    EXPECT_FALSE(C.opaque(1, 0));
    C.blend(2, 0, TColor{9, 9, 9}, 0.5);
    EXPECT_EQ(C.get(2, 0), (TColor{9, 9, 9}));
    C.tint(1, 0, TColor{9, 9, 9}, 1.0);
    EXPECT_FALSE(C.opaque(1, 0)); // tinting never adds pixels
}

TEST(Canvas, CropPasteAndMirrorKeepTransparency) {
    TCanvas C(4, 2);
    C.set(0, 0, TColor{1, 0, 0});
    C.set(3, 1, TColor{2, 0, 0});
    TCanvas M = C.mirrored();
    EXPECT_EQ(M.get(3, 0), (TColor{1, 0, 0}));
    EXPECT_EQ(M.get(0, 1), (TColor{2, 0, 0}));
    EXPECT_EQ(M.opaqueCount(), 2);
    TCanvas Cut = C.crop(2, 0, 4, 4); // reaches past the right and bottom edges
    EXPECT_EQ(Cut.opaqueCount(), 1);
    EXPECT_EQ(Cut.get(1, 1), (TColor{2, 0, 0}));
    TCanvas Under(4, 2);
    Under.fill(TColor{7, 7, 7});
    Under.paste(C, 0, 0);
    EXPECT_EQ(Under.get(1, 0), (TColor{7, 7, 7})); // transparent source pixels leave the target alone
    EXPECT_EQ(Under.get(0, 0), (TColor{1, 0, 0}));
}

TEST(Canvas, ShadeMixAndRgbClamp) {
    EXPECT_EQ(Rgb(-5, 300, 7), (TColor{0, 255, 7}));
    EXPECT_EQ(Mix(TColor{0, 0, 0}, TColor{100, 200, 255}, 0.5), (TColor{50, 100, 128}));
    EXPECT_EQ(Shade(TColor{100, 50, 10}, 0.5), (TColor{50, 25, 5}));
    EXPECT_EQ(Shade(TColor{100, 50, 10}, 2.0), (TColor{255, 255, 255}));
}

TEST(Noise, RepeatsWithItsPeriodSoGroundBlocksJoin) {
    for (double y : {0.0, 7.5, 31.0})
        for (double x : {0.0, 3.25, 63.0}) {
            EXPECT_DOUBLE_EQ(ValueNoise(x, y, 16, 64, 3), ValueNoise(x + 64, y, 16, 64, 3));
            EXPECT_DOUBLE_EQ(ValueNoise(x, y, 16, 64, 3), ValueNoise(x, y - 64, 16, 64, 3));
            EXPECT_DOUBLE_EQ(FractalNoise(x, y, 16, 64, 9), FractalNoise(x + 128, y + 64, 16, 64, 9));
            double v = FractalNoise(x, y, 16, 64, 9);
            EXPECT_TRUE(v >= 0 && v <= 1);
        }
    EXPECT_NE(ValueNoise(5, 5, 16, 64, 3), ValueNoise(5, 5, 16, 64, 4));
}

TEST(Noise, RandomNumbersAreTheSameForTheSameSeedAndStayInRange) {
    TRandom A(42), B(42), C(43);
    bool Differs = false;
    for (int i = 0; i < 1000; i++) {
        int a = A.range(-3, 3);
        EXPECT_EQ(a, B.range(-3, 3));
        EXPECT_TRUE(a >= -3 && a <= 3);
        Differs = Differs || C.range(-3, 3) != a;
        double h = HashUnit(i, -i, 7);
        EXPECT_TRUE(h >= 0 && h < 1);
    }
    EXPECT_TRUE(Differs);
    EXPECT_EQ(TRandom(1).next(), TRandom(1).next());
}
