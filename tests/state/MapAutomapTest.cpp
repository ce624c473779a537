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

// The lines of the console's default tab.
std::vector<std::string> ConsoleLines() {
    std::vector<std::string> Lines;
    TTextBuffer* Buffer = DefaultTextBuffer();
    for (TTalkLine* Line = Buffer->seekLine(0); Line != nullptr; Line = Buffer->nextLine()) {
        EXPECT_EQ(Line->_Mode, TALK_EVENT_STATUS);
        Lines.push_back(Line->MessageText);
    }
    return Lines;
}

TObject Item(int32_t Type) { return {Type, 0, 0}; }

int32_t Cell(int32_t x, int32_t y) { return x % 256 * 256 + y % 256; }

// The bytes of a block file: colours, speeds (250 where not given), then the marks when Count is given.
struct TBlockFile {
    std::vector<uint8_t> Bytes = std::vector<uint8_t>(2 * AUTOMAP_CELLS, 0);

    TBlockFile() { std::fill(Bytes.begin() + AUTOMAP_CELLS, Bytes.end(), 250); }
    void field(int32_t x, int32_t y, uint8_t Color, uint8_t Speed) {
        Bytes[Cell(x, y)] = Color;
        Bytes[AUTOMAP_CELLS + Cell(x, y)] = Speed;
    }
    void quad(uint32_t Value) {
        for (int Shift = 0; Shift < 32; Shift += 8)
            Bytes.push_back(static_cast<uint8_t>(Value >> Shift));
    }
    void mark(uint32_t x, uint32_t y, uint32_t Type, const std::string& Text) {
        quad(x);
        quad(y);
        quad(Type);
        Bytes.push_back(static_cast<uint8_t>(Text.size()));
        Bytes.push_back(static_cast<uint8_t>(Text.size() >> 8));
        Bytes.insert(Bytes.end(), Text.begin(), Text.end());
    }
    void write(const char* FileName) const { WriteBytesToFile(FileName, Bytes); }
};

std::vector<uint8_t> ReadFile(const char* FileName) {
    std::ifstream In(FileName, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(In), {});
}

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
    TScratchDir Scratch;
};

} // namespace

TEST_F(Automap, FieldsNeverSeenAndFromTheFile) {
    EXPECT_EQ(GetAutomapSpeed(300, 600, 7), 250);
    EXPECT_FALSE(IsAutomapFieldBlocked(300, 600, 7));
    TBlockFile File;
    File.field(300, 600, 36, 255);
    File.field(301, 600, 1, 90);
    File.Bytes[88 * 256 + 44] = 5; // the transposed cell of (300, 600)
    File.write("00100207.map");
    InitAutomap();
    TRGBColor Colour;
    GetAutomapColor(Colour, 300, 600, 7);
    EXPECT_EQ(Colour.Red, 51);
    EXPECT_EQ(Colour.Blue, 0);
    EXPECT_TRUE(IsAutomapFieldBlocked(300, 600, 7));
    EXPECT_EQ(GetAutomapSpeed(301, 600, 7), 90);
    EXPECT_EQ(GetAutomapSpeed(-1, 600, 7), 1);
    EXPECT_TRUE(IsAutomapFieldBlocked(5, -1, 7));
    GetAutomapColor(Colour, -1, -1, 7);
    EXPECT_EQ(Colour.Red + Colour.Green + Colour.Blue, 0);
    EXPECT_NE(ThrownText([] { GetAutomapSpeed(1, 1, 16); }).find("In(z,0,15)"), std::string::npos);
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
    EXPECT_EQ(Field({GROUND}), std::pair(24, 150));
    EXPECT_EQ(Field({SWAMP}), std::pair(0, 250));
    EXPECT_EQ(Field({GROUND, GROUND2}), std::pair(24, 100)); // the last in draw order wins
    EXPECT_EQ(Field({GROUND, BOULDER}), std::pair(24, 255));
    EXPECT_EQ(Field({GROUND, CREATURE}), std::pair(24, 255));
    EXPECT_EQ(Field({GROUND, FIRE}), std::pair(300, 255));

    GetAutomapChanged();
    UpdateAutomapField(8, 6); // FIRE on ground: its colour lies outside the cube
    EXPECT_EQ(GetAutomapChanged(), 1);
    EXPECT_EQ(GetAutomapChanged(), 0);
    EXPECT_EQ(GetAutomapBlock(0, 0, 7).Colors[Cell(100, 100)], 215);
    EXPECT_TRUE(IsAutomapFieldBlocked(100, 100, 7));
    Field({GROUND});
    AppendMapObject(0, 13, 0, Item(GROUND2));
    UpdateAutomapField(8, 6);
    UpdateAutomapField(0, 13);
    EXPECT_EQ(GetAutomapSpeed(100, 100, 7), 150);
    EXPECT_EQ(GetAutomapSpeed(92, 107, 7), 100);
    SetViewPosition(3, 3, 7);
    GetAutomapChanged();
    UpdateAutomapField(0, 0); // at x -5: not recorded
    EXPECT_EQ(GetAutomapChanged(), 0);
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
    // The recency list still holds every slot once.
    int32_t Count = 0;
    for (int32_t Position = GetMostRecentBlock(); Position != -1; Position = GetAutomapSlot(Position).Next)
        Count++;
    EXPECT_EQ(Count, AUTOMAP_BLOCKS);

    // A modified block is written before its slot is reused and read back when wanted again.
    GetAutomapBlock(2, 0, 7).Speeds[Cell(520, 7)] = 42;
    AddMapMark({520, 7, 7}, "here", 3);
    for (int32_t bx = 11; bx < 11 + AUTOMAP_BLOCKS; bx++)
        GetAutomapBlock(bx, 0, 7);
    EXPECT_FALSE(Cached(2, 0, 7));
    EXPECT_TRUE(std::filesystem::exists("00200007.map"));
    EXPECT_EQ(GetAutomapSpeed(520, 7, 7), 42);
    ASSERT_EQ(MarksOf(2, 0, 7).size(), 1u);
    EXPECT_STREQ(MarksOf(2, 0, 7)[0].Text, "here");
    EXPECT_FALSE(std::filesystem::exists("00100007.map")); // never modified, never written
}

TEST_F(Automap, ShortAndExactFiles) {
    TBlockFile File;
    File.field(100, 100, 3, 7);
    File.write("00000007.map");
    EXPECT_EQ(GetAutomapSpeed(100, 100, 7), 7);
    EXPECT_EQ(MarksOf(0, 0, 7).size(), 0u);
    EXPECT_TRUE(ConsoleLines().empty());
    File.Bytes.pop_back();
    File.write("00000008.map");
    GetConsoleChanged();
    EXPECT_EQ(GetAutomapSpeed(100, 100, 8), 250);
    EXPECT_TRUE(GetConsoleChanged());
    EXPECT_EQ(GetAutomapBlock(0, 0, 8).Colors[Cell(100, 100)], 0);
    EXPECT_EQ(ConsoleLines(), std::vector<std::string>{"Map file '00000008.map' was corrupted!"});
}

TEST_F(Automap, HostileMarkLists) {
    TBlockFile Outside;
    Outside.field(10, 20, 9, 9);
    Outside.quad(3);
    Outside.mark(10, 20, 1, "kept");
    Outside.mark(300, 20, 2, "other block");
    Outside.mark(0xFFFFFFF0, 20, 3, "negative");
    Outside.write("00000007.map");
    std::vector<TMapMark> Marks = MarksOf(0, 0, 7);
    ASSERT_EQ(Marks.size(), 1u);
    EXPECT_STREQ(Marks[0].Text, "kept");
    EXPECT_TRUE(ConsoleLines().empty());

    TBlockFile Huge;
    Huge.field(10, 20, 9, 9);
    Huge.quad(0x80000000u);
    Huge.mark(10, 20, 1, "x");
    Huge.write("00000006.map");
    TBlockFile Short = Huge;
    Short.Bytes.resize(2 * AUTOMAP_CELLS);
    Short.quad(5);
    Short.mark(10, 20, 1, "one");
    Short.mark(11, 20, 1, "two");
    Short.write("00000005.map");
    EXPECT_EQ(MarksOf(0, 0, 6).size(), 0u);
    EXPECT_EQ(GetAutomapSpeed(10, 20, 6), 250);
    EXPECT_EQ(MarksOf(0, 0, 5).size(), 0u);
    EXPECT_EQ(GetAutomapSpeed(10, 20, 5), 250);
    EXPECT_EQ(ConsoleLines(), (std::vector<std::string>{"Map file '00000006.map' was corrupted!",
                                                        "Map file '00000005.map' was corrupted!"}));
}

TEST_F(Automap, MarksAddDeleteAndRoundTrip) {
    std::string Long(120, 'm');
    AddMapMark({300, 40, 7}, Long.c_str(), 13);
    AddMapMark({301, 41, 7}, "second", 2);
    EXPECT_EQ(strlen(MarksOf(1, 0, 7)[0].Text), 99u);
    EXPECT_NE(ThrownText([] { AddMapMark({0, 5, 7}, "x", 1); }).find("Coordinate.x>0"), std::string::npos);
    EXPECT_NE(ThrownText([] { AddMapMark({5, 5, 7}, nullptr, 1); }).find("Text!=NULL"), std::string::npos);
    GetAutomapChanged();
    DeleteMapMark({301, 41, 0}, 7);
    EXPECT_EQ(GetAutomapChanged(), 1);
    std::vector<TMapMark> Marks = MarksOf(1, 0, 7);
    ASSERT_EQ(Marks.size(), 2u);
    EXPECT_EQ(Marks[1].x, 0);
    EXPECT_EQ(Marks[1].y, 0);
    GetAutomapBlock(1, 0, 7).Colors[Cell(300, 40)] = 77;
    SaveAutomap();
    EXPECT_EQ(ReadFile("00100007.map").size(), 2u * AUTOMAP_CELLS + 4 + 14 + 99);
    InitAutomap();
    Marks = MarksOf(1, 0, 7);
    ASSERT_EQ(Marks.size(), 1u);
    EXPECT_EQ(Marks[0].x, 300);
    EXPECT_EQ(Marks[0].Type, 13);
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
    Old.write("00000007.map");
    std::filesystem::create_directory("00000007.map.tmp");
    GetAutomapBlock(0, 0, 7).Speeds[Cell(5, 5)] = 200;
    UpdateAutomapField(8, 6);
    SaveAutomap();
    EXPECT_EQ(ConsoleLines(), std::vector<std::string>{"Could not save file '00000007.map'!"});
    EXPECT_EQ(ReadFile("00000007.map"), Old.Bytes);
    EXPECT_EQ(GetAutomapBlock(0, 0, 7).Modified, 0);
    std::filesystem::remove("00000007.map.tmp");

    // The block's file name is taken by a directory that cannot be replaced.
    std::filesystem::create_directories("00000009.map/inside");
    AddMapMark({5, 5, 9}, "mark", 1);
    SaveAutomap();
    EXPECT_EQ(ConsoleLines().back(), "Error while saving file '00000009.map'!");
    EXPECT_FALSE(std::filesystem::exists("00000009.map.tmp"));
    EXPECT_TRUE(std::filesystem::is_directory("00000009.map"));
}
