// The path finder over the automap: refusals, neighbours, the step window, blocked and enclosed destinations.
#include "state/MapPath.h"

#include "state/MapAutomap.h"
#include "tests/foundation/Thrown.h"
#include "tests/state/WorldTest.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

void SetSpeed(int32_t x, int32_t y, uint8_t Speed) {
    GetAutomapBlock(x / 256, y / 256, 7).Speeds[x % 256 * 256 + y % 256] = Speed;
}

void Block(int32_t x, int32_t y) { SetSpeed(x, y, 255); }

struct TWay {
    int32_t Result;
    int32_t Count; // -7 while FindPath left it alone
    std::vector<int32_t> Steps;
};

TWay Find(int32_t StartX, int32_t StartY, int32_t DestX, int32_t DestY, bool MustReach = false,
          bool ForceDiagonal = false, int32_t DestZ = 7) {
    int32_t Steps[PATH_MAX_STEPS];
    int32_t Count = -7;
    int32_t Result = FindPath(StartX, StartY, 7, DestX, DestY, DestZ, MustReach, Count, Steps, ForceDiagonal);
    TWay Way = {Result, Count, {}};
    if (Count > 0) Way.Steps.assign(Steps, Steps + Count);
    return Way;
}

TWay Find(int32_t DestX, int32_t DestY, bool MustReach = false, bool ForceDiagonal = false) {
    return Find(100, 100, DestX, DestY, MustReach, ForceDiagonal);
}

// The fields the steps enter from (x, y), the last one included.
std::vector<std::pair<int32_t, int32_t>> Walk(int32_t x, int32_t y, const std::vector<int32_t>& Steps) {
    static constexpr int32_t dx[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
    static constexpr int32_t dy[9] = {0, 0, -1, -1, -1, 0, 1, 1, 1};
    std::vector<std::pair<int32_t, int32_t>> Fields;
    for (int32_t Step : Steps) {
        x += dx[Step];
        y += dy[Step];
        Fields.push_back({x, y});
    }
    return Fields;
}

using Codes = std::vector<int32_t>;

class PathFinder : public testing::Test {
protected:
    void SetUp() override { InitMap(nullptr); }
    TScratchDir Scratch;
};

} // namespace

TEST_F(PathFinder, Refusals) {
    EXPECT_EQ(Find(100, 100, 100, 100, false, false, 6).Result, -1);
    EXPECT_EQ(Find(100, 100, 100, 100, false, false, 8).Result, -2);
    TWay Far = Find(211, 100);
    EXPECT_EQ(Far.Result, -3);
    EXPECT_EQ(Far.Count, -7);
    EXPECT_EQ(Find(100, -11).Result, -3);
    EXPECT_EQ(Find(210, 100).Result, 2);
    EXPECT_EQ(Find(100, 100).Result, 0);
    EXPECT_EQ(Find(100, 100).Count, -7);
}

TEST_F(PathFinder, NeighboursAndDiagonals) {
    Block(101, 100);
    EXPECT_EQ(Find(101, 100).Steps, Codes{1});
    EXPECT_EQ(Find(100, 101).Steps, Codes{7});
    EXPECT_EQ(Find(101, 99, false, true).Steps, Codes{2});
    EXPECT_EQ(Find(99, 101, false, true).Steps, Codes{6});
    SetSpeed(99, 99, 50); // the detour over 250 costs more than three times 50
    TWay Diagonal = Find(99, 99);
    EXPECT_EQ(Diagonal.Result, 1);
    EXPECT_EQ(Diagonal.Steps, Codes{4});
    SetSpeed(99, 99, 200);
    TWay Detour = Find(99, 99);
    EXPECT_EQ(Detour.Result, 1);
    ASSERT_EQ(Detour.Steps.size(), 2u);
    EXPECT_EQ(Walk(100, 100, Detour.Steps).back(), std::pair(99, 99));

    // A blocked diagonal neighbour whose straight neighbours are blocked too: only the diagonal reaches it.
    Block(111, 99);
    Block(111, 100);
    Block(110, 99);
    TWay Stay = Find(110, 100, 111, 99);
    EXPECT_EQ(Stay.Result, 0);
    EXPECT_EQ(Stay.Count, 0);
    TWay Enter = Find(110, 100, 111, 99, true);
    EXPECT_EQ(Enter.Result, 1);
    EXPECT_EQ(Enter.Steps, Codes{2});
}

TEST_F(PathFinder, StepsStayInsideTheBox) {
    TWay Long = Find(120, 100);
    EXPECT_EQ(Long.Result, 2);
    EXPECT_EQ(Long.Steps, Codes(8, 1));
    TWay South = Find(100, 120);
    EXPECT_EQ(South.Result, 2);
    EXPECT_EQ(South.Steps, Codes(6, 7));
    TWay Short = Find(105, 100);
    EXPECT_EQ(Short.Result, 1);
    EXPECT_EQ(Short.Steps, Codes(5, 1));
    TWay Ten = Find(107, 107); // fourteen straight steps cost less than seven diagonal ones
    EXPECT_EQ(Ten.Result, 2);
    for (int32_t Step : Ten.Steps)
        EXPECT_TRUE(Step == 1 || Step == 7) << Step;
}

TEST_F(PathFinder, BlockedAndEnclosedDestinations) {
    Block(103, 100);
    TWay Before = Find(103, 100, false);
    EXPECT_EQ(Before.Result, 1);
    EXPECT_EQ(Before.Steps, Codes(2, 1));
    TWay Into = Find(103, 100, true);
    EXPECT_EQ(Into.Result, 1);
    EXPECT_EQ(Into.Steps, Codes(3, 1));

    for (int32_t dx = -1; dx <= 1; dx++)
        for (int32_t dy = -1; dy <= 1; dy++)
            if (dx != 0 || dy != 0) Block(130 + dx, 100 + dy);
    TWay Enclosed = Find(130, 100, true);
    EXPECT_EQ(Enclosed.Result, -4);
    EXPECT_EQ(Enclosed.Count, -7);
}

TEST_F(PathFinder, AroundAWall) {
    for (int32_t y = 80; y <= 120; y++)
        if (y != 96) Block(103, y);
    TWay Way = Find(106, 100);
    EXPECT_EQ(Way.Result, 2);
    ASSERT_EQ(Way.Steps.size(), 10u);
    for (auto [x, y] : Walk(100, 100, Way.Steps)) {
        EXPECT_FALSE(IsAutomapFieldBlocked(x, y, 7)) << x << "," << y;
        EXPECT_LE(std::abs(x - 100), 8);
        EXPECT_LE(std::abs(y - 100), 6);
    }
    auto Fields = Walk(100, 100, Way.Steps);
    EXPECT_NE(std::find(Fields.begin(), Fields.end(), std::pair(103, 96)), Fields.end());
}

TEST_F(PathFinder, EdgeOfTheWorldAndFailures) {
    TWay North = Find(0, 5, 0, 0);
    EXPECT_EQ(North.Result, 1);
    EXPECT_EQ(North.Steps, Codes(5, 3));
    TWay Corner = Find(2, 2, 0, 0);
    EXPECT_EQ(Corner.Result, 1);
    for (auto [x, y] : Walk(2, 2, Corner.Steps)) {
        EXPECT_GE(x, 0);
        EXPECT_GE(y, 0);
    }
    int32_t Steps[PATH_MAX_STEPS], Count = 0;
    std::string Text = ThrownText([&] { FindPath(100, 100, 16, 105, 100, 16, false, Count, Steps, true); });
    EXPECT_NE(Text.find("Something failed StartX: 100 StartY: 100 StartZ: 16 DestX: 105 DestY: 100 DestZ: 16 "
                        "MustReach: false ForceDiagonal: true), reason:\n"),
              std::string::npos);
    EXPECT_NE(Text.find("In(z,0,15)"), std::string::npos);
}
