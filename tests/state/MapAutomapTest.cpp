// The automap: field values, the block cache and its eviction, block files (good, short and hostile) and
// marks.
#include "state/MapAutomap.h"

#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"
#include "tests/foundation/Thrown.h"
#include "tests/state/WorldTest.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Ids = std::vector<int32_t>;
using Texts = std::vector<std::string>;

// The lines of the console's default tab.
Texts ConsoleLines() {
    Texts Lines;
    TTextBuffer* Buffer = DefaultTextBuffer();
    for (TTalkLine* Line = Buffer->seekLine(0); Line != nullptr; Line = Buffer->nextLine()) {
        EXPECT_EQ(Line->_Mode, TALK_EVENT_STATUS);
        Lines.push_back(Line->MessageText);
    }
    return Lines;
}

std::vector<uint8_t> ReadFile(const char* FileName) {
    std::ifstream In(FileName, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(In), {});
}

int32_t Cell(int32_t x, int32_t y) { return x % 256 * 256 + y % 256; }

// The bytes of a block file: colours, speeds (250 where not given), then what the test appends.
struct TBlockFile {
    std::vector<uint8_t> Bytes = std::vector<uint8_t>(2 * AUTOMAP_CELLS, 250);

    TBlockFile() { std::fill(Bytes.begin(), Bytes.begin() + AUTOMAP_CELLS, 0); }
    void field(int32_t x, int32_t y, uint8_t Color, uint8_t Speed) {
        Bytes[Cell(x, y)] = Color;
        Bytes[AUTOMAP_CELLS + Cell(x, y)] = Speed;
    }
    void quad(uint32_t Value) {
        for (int Shift = 0; Shift < 32; Shift += 8)
            Bytes.push_back(static_cast<uint8_t>(Value >> Shift));
    }
    void mark(uint32_t x, uint32_t y, const std::string& Text) {
        quad(x);
        quad(y);
        quad(1);
        Bytes.push_back(static_cast<uint8_t>(Text.size()));
        Bytes.push_back(0);
        Bytes.insert(Bytes.end(), Text.begin(), Text.end());
    }
};

std::vector<TMapMark> MarksOf(int32_t bx, int32_t by, int32_t z) {
    TDynamicArray<TMapMark> Marks(0, 0, 10);
    int32_t Count = -1;
    GetAutomapMarks(bx, by, z, Marks, Count);
    std::vector<TMapMark> Copy;
    for (int32_t i = 0; i < Count; i++)
        Copy.push_back(Marks.at(i));
    return Copy;
}

bool Cached(int32_t bx, int32_t by, int32_t bz) {
    for (int32_t Position = 0; Position < AUTOMAP_BLOCKS; Position++) {
        const TAutomapBlock& Block = GetAutomapSlot(Position);
        if (Block.bx == bx && Block.by == by && Block.bz == bz) return true;
    }
    return false;
}

class Automap : public testing::Test {
protected:
    void SetUp() override {
        LoadWorldTypes();
        InitMap(nullptr);
        SetDefaultTextBuffer(std::make_unique<TTextBuffer>(TALK_SAY));
        SetViewPosition(100, 100, 7);
    }
    void TearDown() override {
        SetDefaultTextBuffer(nullptr);
        ExitObjects();
    }
    TWorkingDirectory Scratch;
};

} // namespace

TEST_F(Automap, FieldsNeverSeenAndFromTheFile) {
    EXPECT_EQ(GetAutomapSpeed(300, 600, 7), 250);
    EXPECT_FALSE(IsAutomapFieldBlocked(300, 600, 7));
    TBlockFile File;
    File.field(300, 600, 36, 255);
    File.field(301, 600, 1, 90);
    File.Bytes[88 * 256 + 44] = 5; // the y-major cell of (300, 600)
    WriteBytesToFile("00100207.map", File.Bytes);
    InitAutomap();
    TRGBColor Colour;
    GetAutomapColor(Colour, 300, 600, 7);
    EXPECT_EQ(Colour.Red + Colour.Green + Colour.Blue, 51);
    EXPECT_TRUE(IsAutomapFieldBlocked(300, 600, 7));
    EXPECT_EQ(GetAutomapSpeed(301, 600, 7), 90);
    EXPECT_EQ(GetAutomapSpeed(-1, 600, 7), 1);
    EXPECT_TRUE(IsAutomapFieldBlocked(5, -1, 7));
    EXPECT_TRUE(Has(ThrownText([] { GetAutomapSpeed(1, 1, 16); }), "In(z,0,15)"));
    EXPECT_TRUE(ConsoleLines().empty());
}

TEST_F(Automap, FieldValuesOfTheBox) {
    auto Field = [](std::initializer_list<int32_t> Types) {
        ClearMap();
        for (int32_t Type : Types)
            AppendMapObject(8, 6, 0, {Type, 1, 0});
        int32_t Color = -1, Speed = -1;
        ComputeAutomapField(8, 6, 0, Color, Speed);
        return std::pair(Color, Speed);
    };
    EXPECT_EQ(Field({}), std::pair(0, 255));
    EXPECT_EQ(Field({SWAMP}), std::pair(0, 250));
    EXPECT_EQ(Field({GROUND, GROUND2}), std::pair(24, 100)); // the last in draw order wins
    EXPECT_EQ(Field({GROUND, CREATURE}), std::pair(24, 255));
    EXPECT_EQ(Field({GROUND, FIRE}), std::pair(300, 255));

    GetAutomapChanged();
    UpdateAutomapField(8, 6);
    EXPECT_EQ(GetAutomapChanged(), 1);
    EXPECT_EQ(GetAutomapChanged(), 0);
    EXPECT_EQ(GetAutomapBlock(0, 0, 7).Colors[Cell(100, 100)], 215); // clamped into the cube
    EXPECT_TRUE(IsAutomapFieldBlocked(100, 100, 7));
    AppendMapObject(0, 13, 0, {GROUND2, 0, 0});
    UpdateAutomapField(0, 13);
    EXPECT_EQ(GetAutomapSpeed(92, 107, 7), 100);
    SetViewPosition(3, 3, 7);
    UpdateAutomapField(0, 0); // at x -5: outside every block
    EXPECT_EQ(GetAutomapChanged(), 1);
}

TEST_F(Automap, LeastRecentlyUsedBlockIsEvicted) {
    for (int32_t bx = 0; bx < AUTOMAP_BLOCKS; bx++)
        GetAutomapBlock(bx, 0, 7);
    GetAutomapBlock(0, 0, 7);
    GetAutomapBlock(10, 0, 7);
    EXPECT_TRUE(Cached(0, 0, 7));
    EXPECT_FALSE(Cached(1, 0, 7));
    EXPECT_EQ(GetAutomapSlot(GetMostRecentBlock()).bx, 10);
    EXPECT_EQ(GetAutomapSlot(GetLeastRecentBlock()).bx, 2);

    // A modified block is written before its slot is reused and read back when wanted again.
    GetAutomapBlock(2, 0, 7).Speeds[Cell(520, 7)] = 42;
    AddMapMark({520, 7, 7}, "here", 3);
    for (int32_t bx = 11; bx < 11 + AUTOMAP_BLOCKS; bx++)
        GetAutomapBlock(bx, 0, 7);
    EXPECT_FALSE(Cached(2, 0, 7));
    EXPECT_EQ(GetAutomapSpeed(520, 7, 7), 42);
    ASSERT_EQ(MarksOf(2, 0, 7).size(), 1u);
    EXPECT_STREQ(MarksOf(2, 0, 7)[0].Text, "here");
    EXPECT_FALSE(std::filesystem::exists("00100007.map")); // never modified, never written
}

TEST_F(Automap, ShortFilesAndHostileMarkLists) {
    TBlockFile Exact, Short, Outside, Huge, Few;
    WriteBytesToFile("00000001.map", Exact.Bytes);
    Short.Bytes.pop_back();
    Short.Bytes[Cell(10, 20)] = 9;
    WriteBytesToFile("00000002.map", Short.Bytes);
    Outside.quad(3);
    Outside.mark(10, 20, "kept");
    Outside.mark(300, 20, "other block");
    Outside.mark(0xFFFFFFF0, 20, "negative");
    WriteBytesToFile("00000003.map", Outside.Bytes);
    Huge.quad(0x80000000u);
    Huge.mark(10, 20, "x");
    WriteBytesToFile("00000004.map", Huge.Bytes);
    Few.quad(5);
    Few.mark(10, 20, "one");
    WriteBytesToFile("00000005.map", Few.Bytes);

    EXPECT_EQ(MarksOf(0, 0, 1).size(), 0u);
    EXPECT_TRUE(ConsoleLines().empty());
    GetConsoleChanged();
    EXPECT_EQ(GetAutomapBlock(0, 0, 2).Colors[Cell(10, 20)], 0);
    EXPECT_TRUE(GetConsoleChanged());
    std::vector<TMapMark> Kept = MarksOf(0, 0, 3);
    ASSERT_EQ(Kept.size(), 1u);
    EXPECT_STREQ(Kept[0].Text, "kept");
    EXPECT_EQ(MarksOf(0, 0, 4).size(), 0u);
    EXPECT_EQ(MarksOf(0, 0, 5).size(), 0u);
    EXPECT_EQ(ConsoleLines(),
              (Texts{"Map file '00000002.map' was corrupted!", "Map file '00000004.map' was corrupted!",
                     "Map file '00000005.map' was corrupted!"}));
}

// A block name that stands for no regular file is an unreadable file: the block starts empty, silently.
TEST_F(Automap, APipeOrADirectoryUnderABlockNameGivesAnEmptyBlockWithoutWaiting) {
    EXPECT_TRUE(ReturnsBesideAPipe("00000007.map", [] { GetAutomapBlock(0, 0, 7); }));
    std::filesystem::create_directory("00000008.map");
    EXPECT_EQ(GetAutomapBlock(0, 0, 8).Speeds[Cell(10, 20)], 250);
    EXPECT_EQ(GetAutomapBlock(0, 0, 7).Speeds[Cell(10, 20)], 250);
    EXPECT_EQ(ConsoleLines(), Texts{});
}

TEST_F(Automap, MarksAddDeleteAndRoundTrip) {
    std::string Long(120, 'm');
    AddMapMark({300, 40, 7}, Long.c_str(), 13);
    AddMapMark({301, 41, 7}, "second", 2);
    EXPECT_TRUE(Has(ThrownText([] { AddMapMark({0, 5, 7}, "x", 1); }), "Coordinate.x>0"));
    DeleteMapMark({301, 41, 0}, 7);
    std::vector<TMapMark> Marks = MarksOf(1, 0, 7);
    ASSERT_EQ(Marks.size(), 2u);
    EXPECT_EQ(Marks[1].x + Marks[1].y, 0);
    GetAutomapBlock(1, 0, 7).Colors[Cell(300, 40)] = 77;
    SaveAutomap();
    EXPECT_EQ(std::filesystem::file_size("00100007.map"), 2u * AUTOMAP_CELLS + 4 + 14 + 99);
    InitAutomap();
    Marks = MarksOf(1, 0, 7);
    ASSERT_EQ(Marks.size(), 1u);
    EXPECT_EQ(Ids({Marks[0].x, Marks[0].y, Marks[0].Type}), Ids({300, 40, 13}));
    EXPECT_EQ(std::string(Marks[0].Text), Long.substr(0, 99));
    EXPECT_EQ(GetAutomapBlock(1, 0, 7).Colors[Cell(300, 40)], 77);
    std::filesystem::remove("00100007.map");
    SaveAutomap(); // unchanged since loading: nothing is written
    EXPECT_FALSE(std::filesystem::exists("00100007.map"));
}

// A failed save reports, counts as saved and leaves the old file as it was.
TEST_F(Automap, FailedSavesKeepTheOldFile) {
    TBlockFile Old;
    Old.field(5, 5, 1, 1);
    WriteBytesToFile("00000007.map", Old.Bytes);
    std::filesystem::permissions("00000007.map", std::filesystem::perms::owner_read);
    UpdateAutomapField(8, 6);
    SaveAutomap();
    EXPECT_EQ(ConsoleLines(), Texts{"Could not save file '00000007.map'!"});
    EXPECT_EQ(ReadFile("00000007.map"), Old.Bytes);
    EXPECT_EQ(GetAutomapBlock(0, 0, 7).Modified, 0);

    // The block's file name is taken by a directory, which is not replaced.
    std::filesystem::create_directories("00000009.map/inside");
    AddMapMark({5, 5, 9}, "mark", 1);
    SaveAutomap();
    EXPECT_EQ(ConsoleLines().back(), "Could not save file '00000009.map'!");
    EXPECT_EQ(Listing("."), (Texts{"00000007.map", "00000009.map", "Ebrun.dat"})); // no new file left
}

TEST_F(Automap, SavesGoThroughALinkAndPastLeftovers) {
    TBlockFile Old;
    std::filesystem::create_directory("maps");
    WriteBytesToFile("maps/00000007.map", Old.Bytes);
    std::filesystem::create_symlink("maps/00000007.map", "00000007.map");
    std::filesystem::create_directory("00000007.map.tmp"); // left by an earlier run
    UpdateAutomapField(8, 6);
    SaveAutomap();
    EXPECT_EQ(ConsoleLines(), Texts{});
    EXPECT_TRUE(std::filesystem::is_symlink("00000007.map"));
    EXPECT_NE(ReadFile("maps/00000007.map"), Old.Bytes);
}
