// The generated data set read back: determinism, the tables, the kinds of types, the pictures, the key.
#include "tools/datagen/DataSet.h"
#include "tools/datagen/Png.h"
#include "tools/datagen/SkinTable.h"

#include "FileReaders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <zlib.h>

namespace {

using namespace FileReaders;

const TDataFiles& Files() {
    static const TDataFiles F = EncodeDataSet(BuildDataSet(TDataOptions{}));
    return F;
}

Bytes ReadFile(const std::string& Name) {
    std::ifstream In(Name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

using TRgb = std::array<uint8_t, 3>;
const TRgb KEY{255, 0, 255}, YELLOW{255, 255, 0}, RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255};

bool KeyAt16Bits(TRgb c) { return c[0] >> 3 == 31 && c[1] >> 3 == 0 && c[2] >> 3 == 31; }

const TSpr& SpriteTable() {
    static const TSpr Table = ReadSpriteTable(Files().Spr);
    return Table;
}

TTile Sprite(int Number) {
    const TSpr& S = SpriteTable();
    std::array<uint8_t, 3> Key;
    if (S.Offsets.at(Number - 1) == 0) return TTile{};
    return ReadSprite(Files().Spr, S.Offsets.at(Number - 1), Key);
}

const TDat& Dat() {
    static const TDat D = ReadDat(Files().Dat);
    return D;
}

const std::vector<TPic>& Pictures() {
    static const std::vector<TPic> P = ReadPictureTable(Files().Pic);
    return P;
}

TPictureImage Picture(int Number) { return TPictureImage(Files().Pic, Pictures().at(Number - 1)); }

uint32_t FirstQuad(const Bytes& B) {
    return B.at(0) | B.at(1) << 8 | B.at(2) << 16 | static_cast<uint32_t>(B.at(3)) << 24;
}

} // namespace

TEST(DataSet, TwoGenerationsAndTheBuildsFilesAreTheSameBytes) {
    TDataFiles Again = EncodeDataSet(BuildDataSet(TDataOptions{}));
    EXPECT_TRUE(Again.Dat == Files().Dat);
    EXPECT_TRUE(Again.Spr == Files().Spr);
    EXPECT_TRUE(Again.Pic == Files().Pic);
    EXPECT_TRUE(ReadFile(EBRUN_DATA_DIR "/Ebrun.dat") == Files().Dat);
    EXPECT_TRUE(ReadFile(EBRUN_DATA_DIR "/Ebrun.spr") == Files().Spr);
    EXPECT_TRUE(ReadFile(EBRUN_DATA_DIR "/Ebrun.pic") == Files().Pic);
}

TEST(DataSet, SignaturesAreSetAndDiffer) {
    uint32_t Dat = FirstQuad(Files().Dat), Spr = FirstQuad(Files().Spr), Pic = FirstQuad(Files().Pic);
    EXPECT_NE(Dat, 0u);
    EXPECT_NE(Spr, 0u);
    EXPECT_NE(Pic, 0u);
    EXPECT_NE(Dat, Spr);
    EXPECT_NE(Spr, Pic);
}

TEST(DataSet, ObjectTypeTablesReadBackWhole) {
    EXPECT_EQ(Dat().HighestItem, Catalog::LAST_DEFAULT_ITEM);
    EXPECT_EQ(Dat().Outfits.size(), 12u);
    EXPECT_EQ(Dat().Effects.size(), static_cast<size_t>(Catalog::EFFECTS));
    EXPECT_EQ(Dat().Missiles.size(), static_cast<size_t>(Catalog::MISSILES));
    EXPECT_FALSE(Dat().TrailingBytes);
    size_t Sprites = ReadSpriteTable(Files().Spr).Offsets.size();
    for (const auto* Table : {&Dat().Items, &Dat().Outfits, &Dat().Effects, &Dat().Missiles})
        for (const TRecord& R : *Table)
            for (uint16_t s : R.Sprites)
                EXPECT_LE(s, Sprites);
}

TEST(DataSet, EveryFlagFamilyAndPatternKindIsPresent) {
    std::set<int> Flags;
    for (const auto* Table : {&Dat().Items, &Dat().Outfits})
        for (const TRecord& R : *Table)
            for (int f = 0; f < 32; f++)
                if (R.has(f)) Flags.insert(f);
    for (int f = 0; f <= 30; f++)
        EXPECT_TRUE(Flags.count(f)) << "flag " << f;
    const TRecord& Grass = Dat().Items[Catalog::GRASS - 100];
    EXPECT_TRUE(Grass.has(0) && Grass.has(28));
    EXPECT_EQ(Grass.Values1[0], 150u);
    for (int Type : {Catalog::GOLD_COINS, Catalog::VIAL, Catalog::POOL}) {
        const TRecord& R = Dat().Items[Type - 100];
        EXPECT_EQ(R.PatternWidth, 4) << Type;
        EXPECT_EQ(R.PatternHeight, 2) << Type;
        for (uint16_t s : R.Sprites)
            EXPECT_GT(s, 0) << Type;
    }
    const TRecord& Torch = Dat().Items[Catalog::TORCH - 100];
    EXPECT_TRUE(Torch.has(17) && Torch.has(21));
    EXPECT_EQ(Torch.PatternWidth, 3);
    EXPECT_GT(Torch.Phases, 1);
    const TRecord& Tree = Dat().Items[Catalog::TREE - 100];
    EXPECT_EQ(Tree.Width, 2);
    EXPECT_EQ(Tree.Size, 64);
    EXPECT_TRUE(Dat().Items[Catalog::STONE_WALL_H - 100].has(18));
    EXPECT_TRUE(Dat().Items[Catalog::STONE_WALL_V - 100].has(19));
    EXPECT_EQ(Dat().Items[Catalog::TABLE - 100].Values1[25], 8u);
    EXPECT_EQ(Dat().Items[Catalog::INVISIBLE_BARRIER - 100].Sprites,
              std::vector<uint16_t>{Catalog::EMPTY_SPRITE});
}

TEST(DataSet, OutfitsHaveFourDirectionsAndAColourMaskOverLightGreys) {
    std::set<TRgb> MaskColours;
    for (int o = Catalog::OUTFIT_CITIZEN; o <= Catalog::OUTFIT_GAMEMASTER; o++) {
        const TRecord& R = Dat().Outfits[o - 1];
        ASSERT_EQ(R.Layers, 2);
        ASSERT_EQ(R.PatternWidth, 4);
        ASSERT_GE(R.Phases, 3);
        for (int Direction = 1; Direction <= 4; Direction++)
            for (int Phase = 1; Phase <= R.Phases; Phase++) {
                TTile Picture = Sprite(R.sprite(1, 1, 1, Direction, 1, 1, Phase));
                TTile Mask = Sprite(R.sprite(1, 1, 2, Direction, 1, 1, Phase));
                for (int p = 0; p < 1024; p++) {
                    if (!Mask.Coloured[p]) continue;
                    TRgb m = Mask.Pixels[p], c = Picture.Pixels[p];
                    ASSERT_TRUE(m == YELLOW || m == RED || m == GREEN || m == BLUE) << o << " " << p;
                    ASSERT_TRUE(Picture.Coloured[p]) << o << " " << p;
                    EXPECT_TRUE(c[0] == c[1] && c[1] == c[2] && c[0] >= 128) << o << " " << p;
                    MaskColours.insert(m);
                }
            }
    }
    EXPECT_EQ(MaskColours.size(), 4u);
    const TRecord& Dragon = Dat().Outfits[Catalog::OUTFIT_DRAGON - 1];
    EXPECT_EQ(Dragon.Width, 2);
    EXPECT_TRUE(Dragon.has(24));
    EXPECT_TRUE(Dat().Outfits[Catalog::OUTFIT_GHOST - 1].has(27));
}

TEST(DataSet, EffectsAndMissilesHaveTheirPhasesAndDirections) {
    bool LitAnimated = false;
    for (const TRecord& R : Dat().Effects)
        LitAnimated = LitAnimated || (R.has(21) && R.Phases >= 4);
    EXPECT_TRUE(LitAnimated);
    EXPECT_GE(Dat().Effects[Catalog::EFFECT_INVISIBLE - 1].Phases, 4);
    for (const TRecord& R : Dat().Missiles) {
        ASSERT_EQ(R.PatternWidth, 3);
        ASSERT_EQ(R.PatternHeight, 3);
        for (int y = 1; y <= 3; y++)
            for (int x = 1; x <= 3; x++)
                EXPECT_EQ(R.sprite(1, 1, 1, x, y, 1, 1) == 0, x == 2 && y == 2);
    }
}

TEST(DataSet, SpritesCarryTheKeyAndNoPixelTakesIt) {
    TSpr S = ReadSpriteTable(Files().Spr);
    EXPECT_EQ(S.Offsets.at(Catalog::EMPTY_SPRITE - 1), 0u);
    int MostRuns = 0;
    for (size_t n = 0; n < S.Offsets.size(); n++) {
        if (S.Offsets[n] == 0) continue;
        std::array<uint8_t, 3> Key;
        TTile T = ReadSprite(Files().Spr, S.Offsets[n], Key);
        ASSERT_EQ(Key, KEY);
        MostRuns = std::max(MostRuns, T.Runs);
        for (int p = 0; p < 1024; p++)
            ASSERT_FALSE(T.Coloured[p] && KeyAt16Bits(T.Pixels[p])) << "sprite " << n + 1 << " pixel " << p;
    }
    EXPECT_GE(MostRuns, 100);
}

TEST(DataSet, PicturesHaveTheirSizesAndNoPixelTakesTheKey) {
    ASSERT_EQ(Pictures().size(), 8u);
    auto Tiles = [](int n) {
        return std::pair<int, int>{Pictures()[n - 1].TilesX, Pictures()[n - 1].TilesY};
    };
    EXPECT_EQ(Tiles(1), (std::pair<int, int>{20, 15}));
    EXPECT_EQ(Tiles(4), (std::pair<int, int>{11, 9}));
    EXPECT_EQ(Tiles(7), (std::pair<int, int>{8, 1}));
    EXPECT_EQ(Tiles(3), (std::pair<int, int>{8, 4}));
    EXPECT_EQ(Tiles(5), (std::pair<int, int>{16, 4}));
    EXPECT_EQ(Tiles(6), (std::pair<int, int>{8, 2}));
    EXPECT_EQ(Tiles(8), (std::pair<int, int>{8, 4}));
    for (int n = 1; n <= 8; n++) {
        EXPECT_EQ(Pictures()[n - 1].Key, KEY);
        TPictureImage I = Picture(n);
        for (int y = 0; y < I.height(); y++)
            for (int x = 0; x < I.width(); x++)
                ASSERT_FALSE(I.coloured(x, y) && KeyAt16Bits(I.pixel(x, y))) << n << " " << x << "," << y;
    }
}

TEST(DataSet, EverySkinIsDrawnAndBackgroundsAreWhole) {
    TPictureImage Skins = Picture(PICTURE_SKINS);
    auto Coverage = [&](int s) {
        const TSkinRect& r = SKIN_RECTS[s];
        int n = 0;
        for (int y = r.y; y < r.y + r.h; y++)
            for (int x = r.x; x < r.x + r.w; x++)
                n += Skins.coloured(x, y);
        return n;
    };
    for (int s = 1; s < SKIN_COUNT; s++) {
        const TSkinRect& r = SKIN_RECTS[s];
        if (s == 152) {
            EXPECT_EQ(r.w, 0);
            continue;
        }
        ASSERT_LE(r.x + r.w, SKIN_PICTURE_WIDTH);
        ASSERT_LE(r.y + r.h, SKIN_PICTURE_HEIGHT);
        EXPECT_GT(Coverage(s), 0) << "skin " << s;
    }
    // Pieces that are tiled over areas or frame them must have no holes.
    const int Whole[] = {7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,  19,  20,  21,  26,
                         27,  28,  29,  30,  31,  32,  33,  43,  44,  45,  46,  47,  48,  49,  50,  56,
                         57,  58,  59,  60,  100, 101, 102, 120, 121, 124, 128, 129, 132, 133, 153, 155,
                         161, 163, 169, 173, 175, 177, 183, 256, 257, 258, 259, 260, 261};
    for (int s : Whole)
        EXPECT_EQ(Coverage(s), SKIN_RECTS[s].w * SKIN_RECTS[s].h) << "skin " << s;
}

// An empty slot shows what it takes in one grey shade over its background, the same in all ten, so that a
// taken slot (in the thing's own colours) never looks like an empty one.
TEST(DataSet, EmptySlotsShowTheirKindInTheOneGreyShade) {
    TPictureImage Skins = Picture(PICTURE_SKINS);
    std::set<TRgb> Shades;
    for (int s = 88; s <= 97; s++) {
        const TSkinRect& r = SKIN_RECTS[s];
        std::map<TRgb, int> Colors;
        for (int y = r.y; y < r.y + r.h; y++)
            for (int x = r.x; x < r.x + r.w; x++) {
                ASSERT_TRUE(Skins.coloured(x, y)) << "skin " << s;
                ++Colors[Skins.pixel(x, y)];
            }
        ASSERT_EQ(Colors.size(), 2u) << "skin " << s << ": the background and one shade";
        const TRgb Background = Skins.pixel(r.x, r.y);
        for (const auto& [Color, Count] : Colors)
            if (Color != Background) Shades.insert(Color);
    }
    ASSERT_EQ(Shades.size(), 1u);
    const TRgb Shade = *Shades.begin();
    EXPECT_LE(std::max({Shade[0], Shade[1], Shade[2]}) - std::min({Shade[0], Shade[1], Shade[2]}), 12)
        << "grey";
}

const int FONT_PICTURES[4] = {3, 5, 6, 8}, CELL_WIDTHS[4] = {8, 16, 8, 8}, CELL_HEIGHTS[4] = {16, 16, 8, 16};

// A glyph cell as the player sees it, row by row: the colour of each inked pixel (strokes, outline or
// shadow), -1 for a transparent one.
std::vector<int> GlyphLook(const TPictureImage& I, int Font, int Code) {
    const int f = Font - 1, g = Code - 32, ox = (g % 32) * CELL_WIDTHS[f], oy = (g / 32) * CELL_HEIGHTS[f];
    std::vector<int> Look;
    for (int r = 0; r < CELL_HEIGHTS[f]; r++)
        for (int c = 0; c < CELL_WIDTHS[f]; c++) {
            const TRgb p = I.pixel(ox + c, oy + r);
            Look.push_back(I.coloured(ox + c, oy + r) ? p[0] << 16 | p[1] << 8 | p[2] : -1);
        }
    return Look;
}

TEST(DataSet, FontGlyphsMeasureAsTheClientMeasuresThem) {
    for (int f = 0; f < 4; f++) {
        TPictureImage I = Picture(FONT_PICTURES[f]);
        auto Width = [&](int Code) {
            int g = Code - 32, ox = (g % 32) * CELL_WIDTHS[f], oy = (g / 32) * CELL_HEIGHTS[f];
            for (int c = CELL_WIDTHS[f] - 1; c >= 1; c--)
                for (int r = 0; r < CELL_HEIGHTS[f]; r++)
                    if (I.coloured(ox + c, oy + r)) return c + 1;
            return CELL_WIDTHS[f];
        };
        EXPECT_LT(Width('i'), Width('m')) << "font " << f + 1;
        EXPECT_LE(Width(','), CELL_WIDTHS[f] / 2)
            << "font " << f + 1; // a blank advances by the comma's width
        EXPECT_LT(Width('l'), CELL_WIDTHS[f]) << "font " << f + 1;
    }
}

TEST(DataSet, EveryPrintableLatin1GlyphHasAShapeOfItsOwn) {
    for (int Font = 1; Font <= 4; Font++) {
        TPictureImage I = Picture(FONT_PICTURES[Font - 1]);
        const std::vector<int> Blank = GlyphLook(I, Font, 32);
        EXPECT_EQ(std::count(Blank.begin(), Blank.end(), -1), static_cast<long>(Blank.size()));
        std::map<std::vector<int>, int> Seen;
        for (int Code = 33; Code <= 255; Code++) {
            // Codes 127 to 159 are no Latin-1 characters; the no-break space is blank.
            if (Code >= 127 && Code <= 160) continue;
            const std::vector<int> Look = GlyphLook(I, Font, Code);
            EXPECT_LT(std::count(Look.begin(), Look.end(), -1), static_cast<long>(Look.size()))
                << "font " << Font << " code " << Code;
            const auto [Place, New] = Seen.emplace(Look, Code);
            EXPECT_TRUE(New) << "font " << Font << ": code " << Code << " looks like " << Place->second;
        }
    }
}

TEST(DataSet, DarknessTilesLightenFromBlack) {
    TPictureImage I = Picture(PICTURE_DARKNESS);
    int Last = 1025;
    for (int t = 0; t < 8; t++) {
        int Dark = 0;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
                if (I.coloured(32 * t + x, y)) {
                    EXPECT_EQ(I.pixel(32 * t + x, y), (TRgb{0, 0, 0}));
                    Dark++;
                }
        EXPECT_TRUE(t > 0 || Dark == 1024);
        EXPECT_LT(Dark, Last);
        EXPECT_GT(Dark, 0);
        Last = Dark;
    }
}

TEST(DataSet, BrokenVariantsFromTheBuildFailWhereIntended) {
    auto Broken = [](const char* Name) { return ReadFile(std::string(EBRUN_DATA_DIR "/broken/") + Name); };
    for (const char* Name : {"dat-truncated-header.dat", "dat-truncated-sprites.dat", "dat-too-few-items.dat",
                             "dat-no-outfits.dat", "dat-no-effects.dat", "dat-no-missiles.dat",
                             "dat-counts-past-end.dat", "dat-huge-patterns.dat"})
        EXPECT_THROW(ReadDat(Broken(Name)), std::runtime_error) << Name;
    EXPECT_TRUE(ReadDat(Broken("dat-trailing-bytes.dat")).TrailingBytes);
    // Without its end byte the first record takes its width and height bytes for flags 1.
    Bytes NoEnd = Broken("dat-missing-end-byte.dat");
    TCursor First(NoEnd, 12);
    EXPECT_TRUE(ReadRecord(First).has(1));
    EXPECT_THROW(ReadSpriteTable(Broken("spr-truncated-table.spr")), std::runtime_error);
    EXPECT_THROW(ReadPictureTable(Broken("pic-truncated-table.pic")), std::runtime_error);
    Bytes Past = Broken("spr-offset-past-end.spr");
    EXPECT_GT(ReadSpriteTable(Past).Offsets.back(), Past.size());
}

TEST(DataSet, PngHoldsThePixelsRowByRow) {
    TCanvas C(3, 2);
    C.set(0, 0, TColor{1, 2, 3});
    C.set(2, 1, TColor{250, 251, 252});
    Bytes Png = EncodePng(C, TColor{9, 9, 9});
    ASSERT_EQ((Bytes{Png.begin(), Png.begin() + 8}), (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    EXPECT_EQ((Bytes{Png.begin() + 12, Png.begin() + 29}),
              (Bytes{'I', 'H', 'D', 'R', 0, 0, 0, 3, 0, 0, 0, 2, 8, 2, 0, 0, 0}));
    auto BigQuad = [&](size_t At) {
        return static_cast<uint32_t>(Png[At]) << 24 | Png[At + 1] << 16 | Png[At + 2] << 8 | Png[At + 3];
    };
    size_t Length = BigQuad(33);
    ASSERT_EQ(std::string(Png.begin() + 37, Png.begin() + 41), "IDAT");
    Bytes Raw(2 * (1 + 9));
    uLongf RawSize = Raw.size();
    ASSERT_EQ(uncompress(Raw.data(), &RawSize, Png.data() + 41, Length), Z_OK);
    EXPECT_EQ(Raw, (Bytes{0, 1, 2, 3, 9, 9, 9, 9, 9, 9, 0, 9, 9, 9, 9, 9, 9, 250, 251, 252}));
    uLong Crc = crc32(0, Png.data() + 37, static_cast<uInt>(4 + Length));
    size_t At = 41 + Length;
    EXPECT_EQ(Crc, BigQuad(At));
}
