// The path finder over the automap: refusals, neighbours, the step window, blocked and enclosed destinations.
#include "state/MapPath.h"

#include "state/MapAutomap.h"
#include "tests/foundation/Thrown.h"
#include "tests/state/WorldTest.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Codes = std::vector<int32_t>;

void SetSpeed(int32_t x, int32_t y, uint8_t Speed) {
    GetAutomapBlock(x / 256, y / 256, 7).Speeds[x % 256 * 256 + y % 256] = Speed;
}

void Block(int32_t x, int32_t y) { SetSpeed(x, y, 255); }

struct TWay {
    int32_t Result;
    int32_t Count; // -7 while FindPath left it alone
    Codes Steps;
};

TWay Find(int32_t StartX, int32_t StartY, int32_t DestX, int32_t DestY, bool MustReach = false,
          bool ForceDiagonal = false, int32_t DestZ = 7) {
    int32_t Steps[PATH_MAX_STEPS];
    int32_t Count = -7;
    int32_t Result = FindPath(StartX, StartY, 7, DestX, DestY, DestZ, MustReach, Count, Steps, ForceDiagonal);
    return {Result, Count, Count > 0 ? Codes(Steps, Steps + Count) : Codes()};
}

// The fields the steps enter from (x, y).
std::vector<std::pair<int32_t, int32_t>> Walk(int32_t x, int32_t y, const Codes& Steps) {
    static constexpr int32_t dx[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
    static constexpr int32_t dy[9] = {0, 0, -1, -1, -1, 0, 1, 1, 1};
    std::vector<std::pair<int32_t, int32_t>> Fields;
    for (int32_t Step : Steps)
        Fields.push_back({x += dx[Step], y += dy[Step]});
    return Fields;
}

class PathFinder : public testing::Test {
protected:
    void SetUp() override { InitMap(nullptr); }
    TWorkingDirectory Scratch;
};

} // namespace

TEST(StepCodes, OffsetsCodesAndFacing) {
    // dx, dy and the direction faced, by code; code 0 is no step.
    const int32_t Steps[9][3] = {{0, 0, 2},  {1, 0, 1},  {1, -1, 1}, {0, -1, 0}, {-1, -1, 3},
                                 {-1, 0, 3}, {-1, 1, 3}, {0, 1, 2},  {1, 1, 1}};
    for (int32_t Code = 0; Code <= 8; Code++) {
        const int32_t* Step = Steps[Code];
        EXPECT_EQ(
            Codes({StepDX[Code], StepDY[Code], StepCode(Step[0], Step[1]), DirectionOf(Step[0], Step[1])}),
            Codes({Step[0], Step[1], Code, Step[2]}))
            << Code;
    }
}

TEST_F(PathFinder, RefusalsAndTheStepWindow) {
    EXPECT_EQ(Find(100, 100, 100, 100, false, false, 6).Result, -1);
    EXPECT_EQ(Find(100, 100, 100, 100, false, false, 8).Result, -2);
    TWay Far = Find(100, 100, 211, 100);
    EXPECT_EQ(Codes({Far.Result, Far.Count}), Codes({-3, -7}));
    EXPECT_EQ(Find(100, 100, 100, -11).Result, -3);
    EXPECT_EQ(Find(100, 100, 100, 100).Count, -7);
    // Only steps onto the 17 x 13 fields around the start; never-seen ground is open at speed 250.
    TWay East = Find(100, 100, 210, 100);
    EXPECT_EQ(East.Result, 2);
    EXPECT_EQ(East.Steps, Codes(8, 1));
    TWay South = Find(100, 100, 100, 120);
    EXPECT_EQ(South.Steps, Codes(6, 7));
    TWay Short = Find(100, 100, 105, 100);
    EXPECT_EQ(Short.Result, 1);
    EXPECT_EQ(Short.Steps, Codes(5, 1));
    TWay Ten = Find(100, 100, 107, 107); // fourteen straight steps cost less than seven diagonal ones
    EXPECT_EQ(Ten.Result, 2);
    EXPECT_EQ(Ten.Steps.size(), 10u);
    EXPECT_EQ(std::count(Ten.Steps.begin(), Ten.Steps.end(), 1) +
                  std::count(Ten.Steps.begin(), Ten.Steps.end(), 7),
              10);
}

TEST_F(PathFinder, NeighboursAndDiagonals) {
    Block(101, 100);
    EXPECT_EQ(Find(100, 100, 101, 100).Steps, Codes{1});
    EXPECT_EQ(Find(100, 100, 99, 101, false, true).Steps, Codes{6});
    SetSpeed(99, 99, 50); // the detour over 250 costs more than three times 50
    EXPECT_EQ(Find(100, 100, 99, 99).Steps, Codes{4});
    SetSpeed(99, 99, 200);
    TWay Detour = Find(100, 100, 99, 99);
    ASSERT_EQ(Detour.Steps.size(), 2u);
    EXPECT_EQ(Walk(100, 100, Detour.Steps).back(), std::pair(99, 99));

    // A blocked diagonal neighbour whose straight neighbours are blocked too: only the diagonal reaches it.
    Block(111, 99);
    Block(111, 100);
    Block(110, 99);
    TWay Stay = Find(110, 100, 111, 99);
    EXPECT_EQ(Codes({Stay.Result, Stay.Count}), Codes({0, 0}));
    EXPECT_EQ(Find(110, 100, 111, 99, true).Steps, Codes{2});
}

TEST_F(PathFinder, BlockedAndEnclosedDestinations) {
    Block(103, 100);
    TWay Before = Find(100, 100, 103, 100, false);
    EXPECT_EQ(Before.Result, 1);
    EXPECT_EQ(Before.Steps, Codes(2, 1));
    EXPECT_EQ(Find(100, 100, 103, 100, true).Steps, Codes(3, 1));
    for (int32_t dx = -1; dx <= 1; dx++)
        for (int32_t dy = -1; dy <= 1; dy++)
            if (dx != 0 || dy != 0) Block(130 + dx, 100 + dy);
    TWay Enclosed = Find(100, 100, 130, 100, true);
    EXPECT_EQ(Codes({Enclosed.Result, Enclosed.Count}), Codes({-4, -7}));

    for (int32_t y = 80; y <= 120; y++)
        if (y != 96) Block(200, y);
    TWay Wall = Find(197, 100, 203, 100);
    EXPECT_EQ(Wall.Result, 2);
    auto Fields = Walk(197, 100, Wall.Steps);
    for (auto [x, y] : Fields)
        EXPECT_FALSE(IsAutomapFieldBlocked(x, y, 7)) << x << "," << y;
    EXPECT_NE(std::find(Fields.begin(), Fields.end(), std::pair(200, 96)), Fields.end());
}

TEST_F(PathFinder, EdgeOfTheWorldAndFailures) {
    EXPECT_EQ(Find(0, 5, 0, 0).Steps, Codes(5, 3));
    for (auto [x, y] : Walk(2, 2, Find(2, 2, 0, 0).Steps))
        EXPECT_TRUE(x >= 0 && y >= 0);
    int32_t Steps[PATH_MAX_STEPS], Count = 0;
    std::string Text = ThrownText([&] { FindPath(100, 100, 16, 105, 100, 16, false, Count, Steps, true); });
    EXPECT_TRUE(Has(Text,
                    "Something failed StartX: 100 StartY: 100 StartZ: 16 DestX: 105 DestY: 100 DestZ: 16 "
                    "MustReach: false ForceDiagonal: true), reason:\n"));
    EXPECT_TRUE(Has(Text, "In(z,0,15)"));
}
