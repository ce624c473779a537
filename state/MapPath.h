// The path finder: a best-first search over the automap from the destination back to the start.
#pragma once

#include <cstdint>

// Step codes: 1 east, 2 north-east, 3 north, 4 north-west, 5 west, 6 south-west, 7 south, 8 south-east;
// 0 is no step. The field offsets of each code, and the code of an offset (dx and dy in -1..1).
inline constexpr int32_t StepDX[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
inline constexpr int32_t StepDY[9] = {0, 0, -1, -1, -1, 0, 1, 1, 1};
constexpr int32_t StepCode(int32_t dx, int32_t dy) {
    for (int32_t Code = 1; Code <= 8; Code++)
        if (StepDX[Code] == dx && StepDY[Code] == dy) return Code;
    return 0;
}
// The direction a creature faces after a step (0 north, 1 east, 2 south, 3 west): a diagonal step faces
// east or west; no step gives 2.
constexpr int32_t DirectionOf(int32_t dx, int32_t dy) {
    if (dx > 0) return 1;
    if (dx < 0) return 3;
    return dy < 0 ? 0 : 2;
}

inline constexpr int32_t PATH_MAX_STEPS = 10;     // codes handed out by one search
inline constexpr int32_t PATH_MAX_DISTANCE = 110; // fields in x or y between start and destination

// Results: -1 destination on a higher floor, -2 on a lower floor, -3 too far, -4 no way over the known
// fields; 0 the start is the destination (NumberOfSteps untouched) or nothing to walk (NumberOfSteps 0); 1
// Steps hold the whole way; 2 Steps hold its first part and the caller searches again when they are used up.
// Steps holds at least PATH_MAX_STEPS codes; NumberOfSteps is untouched for results below 0.
int32_t FindPath(int32_t StartX, int32_t StartY, int32_t StartZ, int32_t DestX, int32_t DestY, int32_t DestZ,
                 bool MustReach, int32_t& NumberOfSteps, int32_t* Steps, bool ForceDiagonal);
