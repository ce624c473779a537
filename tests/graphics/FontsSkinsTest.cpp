// Bitmap fonts (measuring, printing) and skins (tiling, offsets, checks) on small pictures built here.
#include "graphics/graphics.h"

#include "foundation/Exception.h"

#include "tests/graphics/GraphicsTest.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>

namespace {

// Glyph g of a font with CharWidth x CharHeight cells is ink (white) in its first Width(g) columns and
// Height(g) rows; glyph 0 (the blank) is empty.
int32_t InkWidth(int32_t g, int32_t CharWidth) { return 2 + g % (CharWidth - 1); }
int32_t InkHeight(int32_t g, int32_t CharHeight) { return 2 + g % (CharHeight - 1); }

TTestPicture FontPicture(int32_t CharWidth, int32_t CharHeight) {
    const int32_t TilesX = 32 * CharWidth / 32, TilesY = (7 * CharHeight + 31) / 32;
    return PictureOf(TilesX, TilesY, [=](int32_t x, int32_t y) {
        const int32_t g = (y / CharHeight) * 32 + x / CharWidth, cx = x % CharWidth, cy = y % CharHeight;
        const bool Ink = g > 0 && g < 224 && cx < InkWidth(g, CharWidth) && cy < InkHeight(g, CharHeight);
        return Ink ? std::array<uint8_t, 3>{255, 255, 255} : std::array<uint8_t, 3>{255, 0, 255};
    });
}

// The skin picture: pixel (x, y) is (x mod 256, y, 100 + x / 256), but the key at the top-left corner of
// skin 1 (290, 12).
std::array<uint8_t, 3> SkinColour(int32_t x, int32_t y) {
    if (x == 290 && y == 12) return {255, 0, 255};
    return {static_cast<uint8_t>(x & 255), static_cast<uint8_t>(y), static_cast<uint8_t>(100 + x / 256)};
}
uint32_t SkinPixel(int32_t x, int32_t y) {
    std::array<uint8_t, 3> C = SkinColour(x, y);
    return static_cast<uint32_t>(C[0]) << 16 | C[1] << 8 | C[2];
}

class FontsAndSkins : public ::testing::Test {
protected:
    void SetUp() override {
        TTestPicture Filler = PictureOf(1, 1, [](int32_t, int32_t) {
            return std::array<uint8_t, 3>{1, 2, 3};
        });
        WriteFile("Ebrun.spr", SpriteFileBytes({}));
        WriteFile("Ebrun.pic",
                  PictureFileBytes({Filler, Filler, FontPicture(8, 16), PictureOf(11, 9, SkinColour),
                                    FontPicture(16, 16), FontPicture(8, 8), Filler, FontPicture(8, 16)}));
        InitGraphics(1 << 20);
        InitSkins();
        InitVideoCache();
        Engine.engine().FillRectangle(SCREEN_SURFACE, 0, 0, 640, 480, 0, 0, 0);
    }
    void TearDown() override {
        ExitSkins();
        ExitGraphics();
    }
    int32_t width(char c, int32_t CharWidth = 8) { return InkWidth(static_cast<uint8_t>(c) - 32, CharWidth); }

    TWorkingDirectory Scratch;
    TTestEngine Engine;
};

} // namespace

TEST_F(FontsAndSkins, GlyphsAreMeasuredFromTheirCells) {
    const TFont& Font = GetFont(1);
    EXPECT_EQ(Font.Width[0], 8); // the empty blank: full width, one row
    EXPECT_EQ(Font.Height[0], 1);
    EXPECT_EQ(Font.Width['a' - 32], width('a'));
    EXPECT_EQ(Font.Height['a' - 32], InkHeight('a' - 32, 16));
    EXPECT_EQ(GetFontHeight(1), 16);
    EXPECT_EQ(GetFontHeight(3), 8);
    EXPECT_EQ(GetFont(2).Width['a' - 32], width('a', 16));
}

TEST_F(FontsAndSkins, TextWidthsCountSpacingBetweenGlyphs) {
    EXPECT_EQ(GetTextWidth(1, "ab", 2), width('a') + 1 + width('b'));
    EXPECT_EQ(GetTextWidth(2, "ab", 2), width('a', 16) - 1 + width('b', 16));
    EXPECT_EQ(GetTextWidth(1, "ab", 0), 0);
    EXPECT_EQ(GetStringWidth(1, " "), width(','));
    EXPECT_EQ(GetStringWidth(1, "\t"), InkWidth(95, 8));    // control characters use the glyph of 127
    EXPECT_EQ(GetStringWidth(1, "\xE9"), InkWidth(201, 8)); // code 233 is glyph 201
    EXPECT_NE(ExceptionTextOf([] { GetTextWidth(1, "ab", 3); }).find("Length<=(int)strlen(Text)"),
              std::string::npos);
    EXPECT_EQ(GetTextHeight(1, ""), 0);
    EXPECT_EQ(GetTextHeight(1, "a b"), std::max(InkHeight('a' - 32, 16), InkHeight('b' - 32, 16)));
    EXPECT_EQ(GetFontLineHeight(0), 10);
    EXPECT_EQ(GetFontLineHeight(5), 10);
    EXPECT_EQ(GetFontLineHeight(4), 14);
}

TEST_F(FontsAndSkins, FitLengthStopsAtTheFirstCharacterThatPassesTheWidth) {
    const int32_t ab = GetTextWidth(1, "abc", 2);
    EXPECT_EQ(GetTextFitLength(1, "abc", ab), 2);
    EXPECT_EQ(GetTextFitLength(1, "abc", ab - 1), 1);
    EXPECT_EQ(GetTextFitLength(1, "abc", 1000), 3);
    EXPECT_EQ(GetTextFitLength(1, "abc", 0), 0);
    EXPECT_EQ(GetTextFitLength(1, "", 0), 0);
}

TEST_F(FontsAndSkins, PrintingRecoloursGlyphsAndAlignsThem) {
    PrintText(SCREEN_SURFACE, 10, 20, 1, 200, 100, 0, "A", LEFT_ALIGN);
    const uint32_t Ink = 199u << 16 | 99u << 8; // colour * 255 / 256
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 10, 20), Ink);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 10 + width('A') - 1, 20), Ink);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 10 + width('A'), 20), 0u);
    PrintText(SCREEN_SURFACE, 100, 40, 1, 255, 255, 255, "AB", RIGHT_ALIGN);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 100 - GetStringWidth(1, "AB"), 40), 0xFEFEFEu);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 100 - GetStringWidth(1, "AB") - 1, 40), 0u);
    PrintTextClipped(SCREEN_SURFACE, 200, 60, 1, 255, 255, 255, "AAA", LEFT_ALIGN, 0, 0, 202, 480);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 201, 60), 0xFEFEFEu);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 202, 60), 0u);
    EXPECT_NE(
        ExceptionTextOf([] {
            PrintText(SCREEN_SURFACE, 0, 0, 1, 0, 0, 0, "x", 3);
        }).find("Alignment==LEFT_ALIGN || Alignment==CENTER_ALIGN || Alignment==RIGHT_ALIGN [bug0000845]"),
        std::string::npos);
    EXPECT_NE(ExceptionTextOf([] {
                  PrintFormattedText(SCREEN_SURFACE, 0, 0, {1, 0, 0, 0, 7}, "x");
              }).find("Format.Alignment==LEFT_ALIGN"),
              std::string::npos);
    int32_t x = 0, y = 0;
    GetTextOrigin(x, y, 10, 10, 100, 40, {3, 0, 0, 0, CENTER_ALIGN});
    EXPECT_EQ(x, 60);
    EXPECT_EQ(y, 26);
}

TEST_F(FontsAndSkins, WholeSkinsIgnoreTheirOffsetsAndLargerAreasAreTiled) {
    DrawSkin(SCREEN_SURFACE, 0, 0, 96, 96, 7, 5, 5); // skin 7: (0, 0) 96 x 96
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 0, 0), SkinPixel(0, 0));
    DrawSkin(SCREEN_SURFACE, 100, 100, 200, 50, 7, 0, 0);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 100 + 95, 149), SkinPixel(95, 49));
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 100 + 96, 100), SkinPixel(0, 0));
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 100 + 199, 100), SkinPixel(7, 0));
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 100 + 200, 100), 0u);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 100, 150), 0u);

    DrawSkin(SCREEN_SURFACE, 0, 200, 200, 100, 7, 90, 0);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 5, 200), SkinPixel(95, 0));
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 6, 200), SkinPixel(0, 0));
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 6, 296), SkinPixel(0, 0)); // the next row starts unshifted
    // Offsets at or past the skin's size wrap around instead of never finishing the row.
    DrawSkin(SCREEN_SURFACE, 300, 200, 50, 50, 7, 96 + 90, 2 * 96);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 305, 200), SkinPixel(95, 0));
}

// Large tilings are partly copied from what the surface already holds; every pixel must still be the
// pattern's, on the surface and where the area leaves it.
TEST_F(FontsAndSkins, TilingsHoldThePatternInEveryPixel) {
    const auto Check = [&](int32_t x, int32_t y, int32_t Width, int32_t Height, int32_t OffsetX,
                           int32_t OffsetY) {
        DrawSkin(SCREEN_SURFACE, x, y, Width, Height, 7, OffsetX, OffsetY);
        int32_t Wrong = 0;
        for (int32_t py = 0; py < Height && y + py < 480; py++)
            for (int32_t px = 0; px < Width && x + px < 640; px++)
                Wrong += Engine.pixel(SCREEN_SURFACE, x + px, y + py) !=
                         SkinPixel((OffsetX + px) % 96, (OffsetY + py) % 96);
        EXPECT_EQ(Wrong, 0) << x << "," << y << " " << Width << "x" << Height;
    };
    Check(10, 20, 300, 250, 17, 40);
    Check(400, 5, 97, 20, 95, 0);
    Check(500, 300, 200, 200, 3, 3); // past the surface's edges
    // A skin with a key pixel shows what lies beneath it in every period, not the first period's ground.
    DrawSkin(SCREEN_SURFACE, 10, 20, 33, 19, 1, 0, 0);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 10 + 11, 20), SkinPixel(17 + 11, 40));
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 10 + 12, 20), SkinPixel(291, 12));
}

TEST_F(FontsAndSkins, SkinChecksComeInTheirOrder) {
    DrawSkin(SCREEN_SURFACE, 0, 0, 0, 10, 7, 0, 0);
    DrawSkin(SCREEN_SURFACE, 0, 0, 10, 10, 0, 0, 0);
    EXPECT_EQ(Engine.pixel(SCREEN_SURFACE, 0, 0), 0u);
    auto Text = [](int32_t x, int32_t Width, int32_t Skin) {
        return ExceptionTextOf([=] { DrawSkin(SCREEN_SURFACE, x, 0, Width, 10, Skin, 0, 0); });
    };
    EXPECT_NE(Text(-1, 10, 262).find("x>=0"), std::string::npos);
    EXPECT_NE(Text(0, 10, 262).find("In(skin,0,LASTSKIN-1)"), std::string::npos);
    EXPECT_NE(Text(0, 10, 152).find("Skins[skin].width>0"), std::string::npos);
    EXPECT_NE(Text(0, -1, 7).find("width>0"), std::string::npos);
    EXPECT_EQ(GetSkin(49).Width, 96);
    EXPECT_EQ(GetSkin(261).x, 180);
    EXPECT_EQ(GetNumberOfSkins(), 262);
}

TEST_F(FontsAndSkins, ReloadingPicturesRebuildsTheFonts) {
    PrintText(SCREEN_SURFACE, 0, 0, 1, 255, 255, 255, "A", LEFT_ALIGN);
    WriteFile("Ebrun.pic", PictureFileBytes({}, 7));
    EXPECT_THROW(ReloadPictures(), TMyException); // no font pictures in the new file
    TTestPicture Filler = PictureOf(1, 1, [](int32_t, int32_t) { return std::array<uint8_t, 3>{1, 2, 3}; });
    WriteFile("Ebrun.pic", PictureFileBytes({Filler, Filler, FontPicture(8, 16), Filler, FontPicture(16, 16),
                                             FontPicture(8, 8), Filler, FontPicture(8, 16)},
                                            9));
    ReloadPictures();
    EXPECT_EQ(GetPictureSignature(), 9u);
    EXPECT_EQ(GetStringWidth(1, "a"), width('a'));
}
