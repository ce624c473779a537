// The contact sheet and its painter (which draws as the client does), and the real-size catalogue.
#include "tools/datagen/ContactSheet.h"
#include "tools/datagen/SheetPainter.h"
#include "tools/datagen/SkinTable.h"

#include <gtest/gtest.h>

namespace {

const TDataSet& Set() {
    static const TDataSet S = BuildDataSet(TDataOptions{});
    return S;
}

const TCanvas& SkinPicture() { return Set().Pictures.Pictures[PICTURE_SKINS - 1].Image; }

} // namespace

TEST(SheetPainter, TextWidthsFollowTheSpacingOfEachFont) {
    TCanvas C(10, 10);
    TSheetPainter P(Set(), C);
    int a1 = P.textWidth(1, "a"), b1 = P.textWidth(1, "b"), a2 = P.textWidth(2, "a"),
        b2 = P.textWidth(2, "b");
    EXPECT_EQ(P.textWidth(1, "ab"), a1 + 1 + b1);
    EXPECT_EQ(P.textWidth(2, "ab"), a2 - 1 + b2);
    EXPECT_EQ(P.textWidth(3, "ab"), P.textWidth(3, "a") + P.textWidth(3, "b"));
    EXPECT_EQ(P.textWidth(1, " "), P.textWidth(1, ","));
    EXPECT_EQ(P.textWidth(4, ""), 0);
    // A tab prints the glyph of code 127.
    EXPECT_EQ(P.textWidth(4, "\t"), P.textWidth(4, "\x7F"));
    for (int Font = 1; Font <= 4; Font++) {
        EXPECT_GT(P.fontHeight(Font), 4);
        EXPECT_LE(P.fontHeight(Font), Font == 3 ? 8 : 16);
    }
}

TEST(SheetPainter, SkinsTileFromTheirOwnCorner) {
    TCanvas C(200, 50);
    TSheetPainter P(Set(), C);
    P.skin(0, 0, 200, 50, 7);
    const TSkinRect& r = SKIN_RECTS[7];
    for (int y = 0; y < 50; y += 7)
        for (int x = 0; x < 200; x += 13)
            ASSERT_EQ(C.get(x, y), SkinPicture().get(r.x + x % r.w, r.y + y % r.h)) << x << "," << y;
    TCanvas D(10, 10);
    TSheetPainter Q(Set(), D);
    Q.skin(0, 0, 10, 10, 152); // no rectangle: nothing drawn
    Q.skin(0, 0, 0, 10, 7);
    EXPECT_TRUE(D.empty());
}

TEST(SheetPainter, OutfitsAreRecolouredThroughTheirMask) {
    TCanvas C(32, 32);
    TSheetPainter P(Set(), C);
    const TColor Colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
    P.outfit(0, 0, Catalog::OUTFIT_CITIZEN, 2, 1, Colors);
    bool Body = false;
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            TColor c = C.get(x, y);
            Body = Body || (C.opaque(x, y) && c.r == 0 && c.b == 0 && c.g > 100);
        }
    EXPECT_TRUE(Body);
}

TEST(ContactSheet, ShowsTheScreenSkinsFontsAndSprites) {
    TCanvas Sheet = BuildContactSheet(Set());
    EXPECT_EQ(Sheet.width(), 1440);
    EXPECT_GT(Sheet.height(), 2000);
    EXPECT_LT(Sheet.height(), 6400);
    // The title picture sits beside the game screen at its own size.
    const TCanvas& Title = Set().Pictures.Pictures[PICTURE_TITLE - 1].Image;
    EXPECT_EQ(Sheet.get(702 + 320, 30 + 20), Title.get(320, 20));
}

TEST(Catalog, RealSizeSetHasAboutFiveThousandTypesAndTwentyThousandSprites) {
    TDatFile Dat;
    TSpriteFile Sprites;
    BuildCatalog(TCatalogOptions{true}, Dat, Sprites);
    EXPECT_EQ(Dat.highestItem(), 4999);
    EXPECT_GE(Sprites.count(), 19000);
    EXPECT_LE(Sprites.count(), 22000);
    EXPECT_EQ(Dat.Outfits.size(), 12u);
    // The default types keep their numbers in the larger set.
    EXPECT_TRUE(Dat.item(Catalog::GOLD_COINS).hasFlag(DAT_CUMULATIVE));
}
