// Pixel surfaces: cutting to the surfaces, colour keys in the display format, overlap, scaling and the
// multiply, in every tier of the pixel loops that the processor runs.
#include "platform/PixelSurface.h"
#include "tests/platform/PixelTiers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }
uint16_t Rgb565(uint32_t r, uint32_t g, uint32_t b) {
    return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
}

// Fills every pixel with a value made of its position, so that copies can be traced to their source pixel.
void Number(TPixelSurface& S) {
    for (int32_t y = 0; y < S.getHeight(); y++)
        for (int32_t x = 0; x < S.getWidth(); x++)
            S.fill({x, y, x + 1, y + 1}, static_cast<uint32_t>(y * 256 + x + 1));
}

int32_t CountValue(const TPixelSurface& S, uint32_t Value) {
    int32_t Count = 0;
    for (int32_t y = 0; y < S.getHeight(); y++)
        for (int32_t x = 0; x < S.getWidth(); x++)
            Count += S.getPixel(x, y) == Value;
    return Count;
}

using PixelSurface = TTieredTest;

} // namespace

INSTANTIATE_TEST_SUITE_P(Tiers, PixelSurface, PixelTiers(), TierName);

// EBRUN_PIXELS=plain starts the loops in the plain tier, which every processor runs; anything else in the
// widest.
TEST(PixelTiers, EbrunPixelsPlainChoosesThePlainTier) {
    const char* Before = std::getenv("EBRUN_PIXELS");
    const std::string Kept = Before != nullptr ? Before : "";
    setenv("EBRUN_PIXELS", "plain", 1);
    EXPECT_EQ(DefaultPixelTier(), PIXELS_PLAIN);
    setenv("EBRUN_PIXELS", "fast", 1);
    EXPECT_EQ(DefaultPixelTier(), GetPixelTiers().back());
    unsetenv("EBRUN_PIXELS");
    EXPECT_EQ(DefaultPixelTier(), GetPixelTiers().back());
    EXPECT_EQ(GetPixelTiers().front(), PIXELS_PLAIN);
    if (Before != nullptr) setenv("EBRUN_PIXELS", Kept.c_str(), 1);
}

// The build offers the tiers the processor has, and no other: one it lacks would end the program at its
// first wide instruction.
TEST(PixelTiers, TheBuildOffersTheTiersOfThisProcessor) {
    std::vector<std::string> Offered;
    for (TPixelTier Tier : GetPixelTiers())
        Offered.push_back(PixelTierName(Tier));
    EXPECT_EQ(Offered, ProcessorPixelTiers());
}

TEST_P(PixelSurface, FillIsCutToTheSurfaceAndRefusedWhereNothingMayBeDrawn) {
    TPixelSurface S(8, 6, PIXEL_FORMAT_8888, MEMORY_SYSTEM);
    EXPECT_EQ(S.fill({-5, -5, 2, 3}, 7), PLATFORM_OK);
    EXPECT_EQ(CountValue(S, 7), 6);
    EXPECT_EQ(S.fill({6, 4, 100, 100}, 9), PLATFORM_OK);
    EXPECT_EQ(CountValue(S, 9), 4);
    EXPECT_EQ(S.fill({20, 20, 30, 30}, 5), PLATFORM_OK);
    EXPECT_EQ(CountValue(S, 5), 0);
    EXPECT_EQ(S.fill({3, 3, 3, 4}, 5), PLATFORM_INVALID_RECT);
    EXPECT_EQ(S.fill({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 3), PLATFORM_OK);
    EXPECT_EQ(CountValue(S, 3), 48);

    S.markLost();
    EXPECT_EQ(S.fill({0, 0, 1, 1}, 1), PLATFORM_SURFACE_LOST);
    TLockedPixels Locked;
    EXPECT_EQ(S.lock(Locked), PLATFORM_SURFACE_LOST);

    TPixelSurface Primary(8, 6, PIXEL_FORMAT_8888, MEMORY_VIDEO, SURFACE_PRIMARY);
    EXPECT_EQ(Primary.fill({0, 0, 1, 1}, 1), PLATFORM_NOT_DRAWABLE);
    EXPECT_EQ(Primary.lock(Locked), PLATFORM_NOT_DRAWABLE);
}

TEST_P(PixelSurface, CopiesAreCutToBothSurfacesAndMoveTheOtherRectangleAlong) {
    TPixelSurface From(16, 16, PIXEL_FORMAT_8888, MEMORY_SYSTEM),
        To(10, 10, PIXEL_FORMAT_8888, MEMORY_SYSTEM);
    Number(From);
    // Target reaching past the top left: the source moves by the amount cut.
    EXPECT_EQ(To.blit({-2, -3, 4, 3}, From, {5, 5, 11, 11}, false), PLATFORM_OK);
    EXPECT_EQ(To.getPixel(0, 0), From.getPixel(7, 8));
    EXPECT_EQ(To.getPixel(3, 2), From.getPixel(10, 10));
    EXPECT_EQ(To.getPixel(4, 0), 0u);
    // Source reaching past the source's bottom right: only what exists is copied.
    To.fill({0, 0, 10, 10}, 0);
    EXPECT_EQ(To.blit({0, 0, 5, 5}, From, {13, 14, 18, 19}, false), PLATFORM_OK);
    EXPECT_EQ(To.getPixel(2, 1), From.getPixel(15, 15));
    EXPECT_EQ(To.getPixel(3, 1), 0u);
    EXPECT_EQ(To.getPixel(0, 2), 0u);
    // Source starting left of its surface: the target moves along.
    To.fill({0, 0, 10, 10}, 0);
    EXPECT_EQ(To.blit({0, 0, 4, 1}, From, {-2, 0, 2, 1}, false), PLATFORM_OK);
    EXPECT_EQ(To.getPixel(0, 0), 0u);
    EXPECT_EQ(To.getPixel(2, 0), From.getPixel(0, 0));
    EXPECT_EQ(To.blit({0, 0, 4, 1}, From, {0, 0, 4, 0}, false), PLATFORM_INVALID_RECT);
}

// Rectangles out to the ends of the coordinates' range: each target pixel inside both surfaces takes its own
// source pixel, every other one is left as it was.
TEST_P(PixelSurface, CopiesOfRectanglesAtTheEndsOfTheRangeReadOnlyInsideTheSource) {
    TPixelSurface From(16, 16, PIXEL_FORMAT_565, MEMORY_SYSTEM), To(10, 10, PIXEL_FORMAT_565, MEMORY_SYSTEM);
    Number(From);
    const TPixelRect Cases[][2] = {
        {{INT_MIN + 5, INT_MIN + 5, INT_MAX - 5, INT_MAX - 5},
         {INT_MIN + 8, INT_MIN + 7, INT_MAX - 2, INT_MAX - 3}},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
        {{INT_MIN, 0, INT_MIN + 20, 10}, {-5, 0, 15, 10}},
        {{-4, 2, 6, 12}, {INT_MIN, INT_MIN, INT_MIN + 10, INT_MIN + 10}},
        {{0, 0, 10, 10}, {INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX}},
        {{INT_MAX - 10, 0, INT_MAX, 10}, {0, 0, 10, 10}},
    };
    for (const auto& [Target, Source] : Cases) {
        To.fill({0, 0, 10, 10}, 0);
        ASSERT_EQ(To.blit(Target, From, Source, true), PLATFORM_OK);
        for (int32_t y = 0; y < 10; y++)
            for (int32_t x = 0; x < 10; x++) {
                const int64_t sx = int64_t{x} - Target.Left + Source.Left,
                              sy = int64_t{y} - Target.Top + Source.Top;
                const bool Copied = x >= Target.Left && x < Target.Right && y >= Target.Top &&
                                    y < Target.Bottom && sx >= 0 && sx < 16 && sy >= 0 && sy < 16;
                ASSERT_EQ(To.getPixel(x, y),
                          Copied ? From.getPixel(static_cast<int32_t>(sx), static_cast<int32_t>(sy)) : 0u)
                    << Target.Left << "," << Target.Top << " at " << x << "," << y;
            }
    }
    EXPECT_EQ(To.blit({INT_MIN, 0, INT_MAX, 10}, From, {0, 0, 16, 16}, false), PLATFORM_INVALID_RECT);
}

TEST_P(PixelSurface, OverlappingCopyOnOneSurfaceReadsTheOldPixels) {
    TPixelSurface S(12, 12, PIXEL_FORMAT_565, MEMORY_SYSTEM), Copy(12, 12, PIXEL_FORMAT_565, MEMORY_SYSTEM);
    Number(S);
    Number(Copy);
    ASSERT_EQ(S.blit({1, 1, 11, 11}, S, {0, 0, 10, 10}, false), PLATFORM_OK);
    ASSERT_EQ(S.blit({0, 3, 5, 8}, S, {2, 2, 12, 12}, false), PLATFORM_OK); // scaled and overlapping
    for (int32_t y = 1; y < 11; y++)
        for (int32_t x = 1; x < 11; x++) {
            if (x < 5 && y >= 3 && y < 8) continue;
            EXPECT_EQ(S.getPixel(x, y), Copy.getPixel(x - 1, y - 1)) << x << "," << y;
        }
    EXPECT_EQ(S.getPixel(0, 3), Copy.getPixel(2, 2));
}

TEST_P(PixelSurface, KeysCompareInTheSurfaceFormatSoTwoColoursCanBecomeOneAtSixteenBits) {
    for (const TPixelFormat* Format : {&PIXEL_FORMAT_565, &PIXEL_FORMAT_8888}) {
        TPixelSurface From(4, 1, *Format, MEMORY_SYSTEM), To(4, 1, *Format, MEMORY_SYSTEM);
        const bool Is565 = Format->BytesPerPixel == 2;
        auto Convert = [&](uint32_t r, uint32_t g, uint32_t b) {
            return Is565 ? Rgb565(r, g, b) : Rgb(r, g, b);
        };
        From.fill({0, 0, 1, 1}, Convert(255, 0, 255));
        From.fill({1, 0, 2, 1}, Convert(250, 0, 250));
        From.fill({2, 0, 3, 1}, Convert(10, 20, 30));
        From.fill({3, 0, 4, 1}, Convert(255, 0, 254));
        To.fill({0, 0, 4, 1}, Convert(1, 2, 3));
        From.setSourceKey(Convert(255, 0, 255));
        ASSERT_EQ(To.blit({0, 0, 4, 1}, From, {0, 0, 4, 1}, true), PLATFORM_OK);
        EXPECT_EQ(To.getPixel(0, 0), Convert(1, 2, 3));
        EXPECT_EQ(To.getPixel(1, 0), Is565 ? Convert(1, 2, 3) : Convert(250, 0, 250));
        EXPECT_EQ(To.getPixel(2, 0), Convert(10, 20, 30));
        EXPECT_EQ(To.getPixel(3, 0), Is565 ? Convert(1, 2, 3) : Convert(255, 0, 254));
    }
}

// Keyed copies of widths about those of glyphs and tiles, in both formats: each target pixel is the source
// pixel unless that is the key. Source rows are all key, without key or mixed, as the copies treat whole
// rounds of such pixels apart.
TEST_P(PixelSurface, KeyedCopiesOfGlyphAndTileWidthsSkipExactlyTheKey) {
    std::mt19937 Random(3);
    for (const TPixelFormat* Format : {&PIXEL_FORMAT_565, &PIXEL_FORMAT_8888}) {
        TPixelSurface From(48, 6, *Format, MEMORY_SYSTEM), To(48, 6, *Format, MEMORY_SYSTEM);
        const uint32_t Key = 5;
        From.setSourceKey(Key);
        for (int32_t Width : {1, 2, 3, 7, 8, 9, 15, 16, 17, 31, 32, 33, 40}) {
            for (int32_t y = 0; y < 6; y++)
                for (int32_t x = 0; x < 48; x++) {
                    From.fill({x, y, x + 1, y + 1},
                              y % 3 == 0 || (y % 3 == 2 && Random() % 3 == 0) ? Key : 6 + Random() % 60000);
                    To.fill({x, y, x + 1, y + 1}, 7);
                }
            ASSERT_EQ(To.blit({3, 1, 3 + Width, 6}, From, {5, 0, 5 + Width, 5}, true), PLATFORM_OK);
            for (int32_t y = 0; y < 6; y++)
                for (int32_t x = 0; x < 48; x++) {
                    const bool Inside = x >= 3 && x < 3 + Width && y >= 1;
                    const uint32_t Source = Inside ? From.getPixel(x + 2, y - 1) : Key;
                    ASSERT_EQ(To.getPixel(x, y), Source == Key ? 7u : Source)
                        << Width << ": " << x << "," << y;
                }
        }
    }
}

TEST_P(PixelSurface, ScalingTakesTheSourcePixelNearestEachTargetCentre) {
    for (const TPixelFormat* Format : {&PIXEL_FORMAT_8888, &PIXEL_FORMAT_565}) {
        TPixelSurface From(64, 64, *Format, MEMORY_SYSTEM), To(200, 200, *Format, MEMORY_SYSTEM);
        Number(From);
        ASSERT_EQ(To.blit({0, 0, 32, 32}, From, {0, 0, 64, 64}, false), PLATFORM_OK);
        EXPECT_EQ(To.getPixel(0, 0), From.getPixel(1, 1));
        EXPECT_EQ(To.getPixel(31, 31), From.getPixel(63, 63));
        ASSERT_EQ(To.blit({0, 0, 128, 96}, From, {0, 0, 64, 64}, false), PLATFORM_OK);
        EXPECT_EQ(To.getPixel(1, 1), From.getPixel(0, 1));
        EXPECT_EQ(To.getPixel(2, 2), From.getPixel(1, 1));
        EXPECT_EQ(To.getPixel(127, 95), From.getPixel(63, 63));
        EXPECT_EQ(To.getPixel(5, 4), From.getPixel(2, 3));
        // Every pixel of an enlargement by an uneven factor, as the map view's picture is enlarged.
        ASSERT_EQ(To.blit({3, 0, 3 + 111, 100}, From, {0, 0, 64, 58}, false), PLATFORM_OK);
        for (int32_t y = 0; y < 100; y++)
            for (int32_t x = 0; x < 111; x++)
                ASSERT_EQ(To.getPixel(3 + x, y),
                          From.getPixel((2 * x + 1) * 64 / 222, (2 * y + 1) * 58 / 200))
                    << x << "," << y;
        // A target cut by its surface samples as the uncut one would.
        TPixelSurface Small(10, 10, *Format, MEMORY_SYSTEM);
        ASSERT_EQ(Small.blit({-6, -6, 14, 14}, From, {0, 0, 10, 10}, false), PLATFORM_OK);
        EXPECT_EQ(Small.getPixel(0, 0), From.getPixel(3, 3));
        EXPECT_EQ(Small.blit({0, 0, 20, 20}, From, {60, 0, 70, 10}, false), PLATFORM_INVALID_RECT);
    }
}

namespace {

// The light colour of one channel at pixel (k, j) of a w x h quad, straight from the plane of its triangle in
// exact rational arithmetic: the value times Q = 4wh.
struct TExactLight {
    int64_t N, Q;
    // The rounded value, or either neighbour when the exact value lies within 1/8 of a half (the engine keeps
    // the colour in fixed point and may round such a value either way).
    bool accepts(int64_t Value) const {
        const int64_t Rounded = (2 * N + Q) / (2 * Q), Distance = std::abs((2 * N) % (2 * Q) - Q);
        return Value == Rounded || (8 * Distance < 2 * Q && (Value == N / Q || Value == N / Q + 1));
    }
};

TExactLight ExpectedLight(const int32_t* C, int c, int64_t k, int64_t j, int64_t w, int64_t h) {
    const int64_t Q = 4 * w * h;
    const bool Upper = (2 * k + 1) * h + (2 * j + 1) * w <= 2 * w * h;
    if (Upper)
        return {C[c] * Q + (C[3 + c] - C[c]) * (2 * k + 1) * 2 * h + (C[6 + c] - C[c]) * (2 * j + 1) * 2 * w,
                Q};
    return {C[9 + c] * Q + (C[6 + c] - C[9 + c]) * (2 * w - 2 * k - 1) * 2 * h +
                (C[3 + c] - C[9 + c]) * (2 * h - 2 * j - 1) * 2 * w,
            Q};
}

} // namespace

TEST_P(PixelSurface, ShadedQuadsMultiplyByTheColourOfTheirTriangleAtEachPixelCentre) {
    std::mt19937 Random(7);
    TPixelSurface S(40, 30, PIXEL_FORMAT_8888, MEMORY_SYSTEM);
    for (int Round = 0; Round < 60; Round++) {
        int32_t Rect[4] = {static_cast<int32_t>(Random() % 50) - 10, static_cast<int32_t>(Random() % 40) - 10,
                           static_cast<int32_t>(Random() % 37) + 1, static_cast<int32_t>(Random() % 23) + 1};
        int32_t Colors[12];
        for (int32_t& C : Colors)
            C = static_cast<int32_t>(Random() % 256);
        S.fill({0, 0, 40, 30}, Rgb(255, 255, 255));
        ASSERT_EQ(S.multiplyShadedQuads(1, Rect, Colors), PLATFORM_OK);
        for (int32_t y = 0; y < 30; y++)
            for (int32_t x = 0; x < 40; x++) {
                const uint32_t Pixel = S.getPixel(x, y);
                const bool In =
                    x >= Rect[0] && x < Rect[0] + Rect[2] && y >= Rect[1] && y < Rect[1] + Rect[3];
                if (!In) {
                    ASSERT_EQ(Pixel, Rgb(255, 255, 255)) << x << "," << y;
                    continue;
                }
                for (int c = 0; c < 3; c++) {
                    const TExactLight Light =
                        ExpectedLight(Colors, c, x - Rect[0], y - Rect[1], Rect[2], Rect[3]);
                    ASSERT_TRUE(Light.accepts((Pixel >> (16 - 8 * c)) & 0xFF))
                        << "round " << Round << " at " << x << "," << y << " channel " << c;
                }
            }
    }
}

// Every channel value under every light of a uniform quad (rows long enough for the wide paths, with a rest):
// c l / 255 rounded once as the graphics device's blending rounds it, c of 8 bits or, at 16 bits, of the
// channel's own 5 or 6 bits.
TEST_P(PixelSurface, MultiplyRoundsOncePerChannelInBothFormats) {
    TPixelSurface Wide(259, 1, PIXEL_FORMAT_8888, MEMORY_SYSTEM),
        Narrow(67, 1, PIXEL_FORMAT_565, MEMORY_SYSTEM);
    const int32_t WideRect[4] = {0, 0, 259, 1}, NarrowRect[4] = {0, 0, 67, 1};
    // To the nearest, but 244 * 197 = 255 * 188 + 128 gives 188, as do all such halves from 129.5 up.
    const auto Product = [](uint32_t c, uint32_t l) {
        return (c * l + 127) / 255 - (c * l % 255 == 128 && c * l / 255 >= 129);
    };
    for (uint32_t l = 0; l < 256; l++) {
        int32_t Colors[12];
        for (int32_t i = 0; i < 12; i++)
            Colors[i] = static_cast<int32_t>(i % 3 == 1 ? 255 - l : l);
        for (uint32_t x = 0; x < 259; x++)
            Wide.fill({static_cast<int32_t>(x), 0, static_cast<int32_t>(x) + 1, 1},
                      Rgb(x % 256, (x * 7) % 256, 255 - x % 256));
        for (uint32_t x = 0; x < 67; x++)
            Narrow.fill({static_cast<int32_t>(x), 0, static_cast<int32_t>(x) + 1, 1},
                        (x % 32) << 11 | ((x * 5) % 64) << 5 | (31 - x % 32));
        ASSERT_EQ(Wide.multiplyShadedQuads(1, WideRect, Colors), PLATFORM_OK);
        ASSERT_EQ(Narrow.multiplyShadedQuads(1, NarrowRect, Colors), PLATFORM_OK);
        for (uint32_t x = 0; x < 259; x++)
            ASSERT_EQ(Wide.getPixel(x, 0),
                      Rgb(Product(x % 256, l), Product((x * 7) % 256, 255 - l), Product(255 - x % 256, l)))
                << x << " " << l;
        for (uint32_t x = 0; x < 67; x++)
            ASSERT_EQ(Narrow.getPixel(x, 0), Product(x % 32, l) << 11 | Product((x * 5) % 64, 255 - l) << 5 |
                                                 Product(31 - x % 32, l))
                << x << " " << l;
    }
    const int32_t Rect[4] = {0, 0, 2, 1};
    const int32_t Outside[12] = {300, -5, 0, 300, -5, 0, 300, -5, 0, 300, -5, 0};
    Wide.fill({0, 0, 2, 1}, Rgb(100, 100, 0));
    ASSERT_EQ(Wide.multiplyShadedQuads(1, Rect, Outside), PLATFORM_OK);
    EXPECT_EQ(Wide.getPixel(0, 0), Rgb(100, 0, 0));
}

// The light's grid: quads side by side in rows, some of one colour, some white, the outer ones reaching past
// the surface. Shaded in one call they give what each gives shaded alone.
TEST_P(PixelSurface, AGridOfQuadsShadesAsItsQuadsOneByOne) {
    std::mt19937 Random(11);
    for (const TPixelFormat* Format : {&PIXEL_FORMAT_8888, &PIXEL_FORMAT_565}) {
        TPixelSurface Together(150, 90, *Format, MEMORY_SYSTEM), Alone(150, 90, *Format, MEMORY_SYSTEM);
        for (int32_t y = 0; y < 90; y++)
            for (int32_t x = 0; x < 150; x++) {
                const uint32_t Value = static_cast<uint32_t>(Random());
                Together.fill({x, y, x + 1, y + 1}, Value);
                Alone.fill({x, y, x + 1, y + 1}, Value);
            }
        std::vector<int32_t> Rectangles, Colors;
        for (int32_t Row = 0; Row < 5; Row++)
            for (int32_t Column = 0; Column < 9; Column++) {
                Rectangles.insert(Rectangles.end(), {Column * 20 - 13, Row * 24 - 11, 20, 24});
                const int32_t Kind = static_cast<int32_t>(Random() % 4); // 0 white, 1 one colour, else any
                const int32_t One = static_cast<int32_t>(Random() % 256);
                for (int32_t i = 0; i < 12; i++)
                    Colors.push_back(Kind == 0   ? 255
                                     : Kind == 1 ? One
                                                 : static_cast<int32_t>(Random() % 300));
            }
        const int32_t Count = static_cast<int32_t>(Rectangles.size() / 4);
        ASSERT_EQ(Together.multiplyShadedQuads(Count, Rectangles.data(), Colors.data()), PLATFORM_OK);
        for (int32_t i = 0; i < Count; i++)
            ASSERT_EQ(Alone.multiplyShadedQuads(1, &Rectangles[4 * i], &Colors[12 * i]), PLATFORM_OK);
        for (int32_t y = 0; y < 90; y++)
            for (int32_t x = 0; x < 150; x++)
                ASSERT_EQ(Together.getPixel(x, y), Alone.getPixel(x, y)) << x << "," << y;
    }
}

// A quad wholly inside the surface, of a width whose rows go in whole rounds of the wide paths, shades as the
// same quad cut by the left or the right edge of the surface: on both sides of the diagonal and across it.
TEST_P(PixelSurface, WholeQuadsShadeAsQuadsCutByTheSurface) {
    std::mt19937 Random(5);
    for (const TPixelFormat* Format : {&PIXEL_FORMAT_8888, &PIXEL_FORMAT_565})
        for (const auto& [w, h] : {std::pair{32, 32}, {16, 16}, {48, 20}, {32, 45}}) {
            int32_t Colors[12];
            for (int32_t& C : Colors)
                C = static_cast<int32_t>(Random() % 256);
            const uint32_t Seed = static_cast<uint32_t>(Random());
            // The quad's pixel (k, j) at x = Left + k, of the same value wherever the quad lies; the pixels
            // the quad made, row by row of it.
            const auto Shade = [&](int32_t Left) {
                TPixelSurface S(w + 10, h, *Format, MEMORY_SYSTEM);
                for (int32_t j = 0; j < h; j++)
                    for (int32_t k = 0; k < w; k++)
                        S.fill({Left + k, j, Left + k + 1, j + 1},
                               (Seed ^ static_cast<uint32_t>(k * 7919 + j * 104729)) * 2654435761u);
                const int32_t Rect[4] = {Left, 0, w, h};
                EXPECT_EQ(S.multiplyShadedQuads(1, Rect, Colors), PLATFORM_OK);
                std::vector<uint32_t> Made;
                for (int32_t j = 0; j < h; j++)
                    for (int32_t k = 0; k < w; k++)
                        Made.push_back(S.getPixel(Left + k, j));
                return Made;
            };
            const std::vector<uint32_t> Whole = Shade(5), LeftCut = Shade(-1), RightCut = Shade(11);
            for (int32_t j = 0; j < h; j++)
                for (int32_t k = 0; k < w; k++) {
                    const size_t i = static_cast<size_t>(j) * w + k;
                    if (k >= 1) {
                        ASSERT_EQ(Whole[i], LeftCut[i]) << w << "x" << h << " at " << k << "," << j;
                    }
                    if (k < w - 1) {
                        ASSERT_EQ(Whole[i], RightCut[i]) << w << "x" << h << " at " << k << "," << j;
                    }
                }
        }
}

// Every 5-6-5 value widens by its channels' formulas, in rows whose width leaves a tail past the rounds of
// sixteen.
TEST_P(PixelSurface, WideningTakesEachChannelToEightBitsWithTheXByteSet) {
    constexpr int32_t Width = 250, Height = 263; // 65,750 pixels: every value once, and some again
    std::vector<uint16_t> From(static_cast<size_t>(Width) * Height);
    for (size_t i = 0; i < From.size(); i++)
        From[i] = static_cast<uint16_t>(i);
    std::vector<uint32_t> To(From.size() + Width);
    Widen565Rows(reinterpret_cast<uint8_t*>(To.data()), 4 * (Width + 1),
                 reinterpret_cast<const uint8_t*>(From.data()), 2 * Width, Width, Height - 1);
    for (int32_t y = 0; y < Height - 1; y++)
        for (int32_t x = 0; x < Width; x++) {
            const uint32_t P = From[static_cast<size_t>(y) * Width + x];
            const uint32_t r = P >> 11, g = P >> 5 & 63, b = P & 31;
            const uint32_t Expected = 0xFF000000u | (r * 255 / 31) << 16 | g * 97 / 24 << 8 | b * 255 / 31;
            ASSERT_EQ(To[static_cast<size_t>(y) * (Width + 1) + x], Expected) << P;
        }
}
