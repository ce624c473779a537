// The event-hint queue and the name and area checks that fill it.
// The hint queue belongs to the help texts of the game screen and reports under their module name.
#include "state/EventHints.h"

#include "foundation/Container.h"
#include "foundation/Exception.h"
#include "state/Preferences.h"

#include <cstring>

namespace {

// Reset at start-up by ResetEventHelps; the hints already seen live in the options.
struct {
    TDynamicArray<int32_t> Numbers{0, EVENTHELPS - 1, 0, 0};
    int32_t Count = 0;
} Queue;

struct TNPCHint {
    const char* Name;
    int32_t Hint;
};

// Compared in this order; the first equal name decides.
const TNPCHint NPCHints[] = {
    {"Mirabald", HINT_NPC_MIRABALD}, {"Hesketh", HINT_NPC_HESKETH}, {"Ubo", HINT_TRADING_NPC},
    {"Nella", HINT_TRADING_NPC},     {"Ab Ferr", HINT_TRADING_NPC}, {"Tam", HINT_TRADING_NPC},
    {"Dorli", HINT_TRADING_NPC},     {"Lisse", HINT_TRADING_NPC},
};

// A rectangle of fields on one floor, bounds inclusive.
struct TAreaHint {
    int32_t Hint;
    int32_t MinX, MaxX, MinY, MaxY, z;
};

const TAreaHint AreaHints[] = {
    {HINT_VILLAGE_CROSSROAD, 32094, 32100, 32213, 32213, 7},
    {HINT_UNDERGROUND, 31936, 32191, 32064, 32255, 8}, // below the village
    {HINT_CONTINENT, 32366, 32372, 32238, 32244, 7},   // arrival areas on the mainland
    {HINT_CONTINENT, 32357, 32363, 31779, 31785, 7},
    {HINT_CONTINENT, 33214, 33220, 31811, 31817, 8},
    {HINT_CONTINENT, 32954, 32960, 32073, 32079, 7},
    {HINT_DEPOT, 32344, 32346, 32218, 32218, 7}, // in front of the depot counters
};

} // namespace

void QueueEventHelp(int32_t Number) {
    CHECK(In(Number, 1, EVENTHELPS), Number);
    if (IsKnownHint(Number)) return;
    AddKnownHint(Number);
    Queue.Numbers.at(Queue.Count) = Number;
    Queue.Count++;
}

int32_t PeekEventHelp() { return Queue.Count > 0 ? Queue.Numbers.at(0) : 0; }

int32_t PopEventHelp() {
    if (Queue.Count == 0) return 0;
    int32_t Number = Queue.Numbers.at(0);
    for (int32_t i = 1; i < Queue.Count; i++)
        Queue.Numbers.at(i - 1) = Queue.Numbers.at(i);
    Queue.Count--;
    return Number;
}

int32_t GetEventHelpCount() { return Queue.Count; }

void ResetEventHelps() { Queue.Count = 0; }

void CheckNPCEventHelp(const char* Name) {
    CHECK_TEXT(Name != nullptr, "Name!=NULL");
    for (const TNPCHint& Entry : NPCHints) {
        if (std::strcmp(Name, Entry.Name) == 0) {
            QueueEventHelp(Entry.Hint);
            return;
        }
    }
}

void CheckPositionEventHelp(int32_t x, int32_t y, int32_t z) {
    for (const TAreaHint& Area : AreaHints)
        if (z == Area.z && In(x, Area.MinX, Area.MaxX) && In(y, Area.MinY, Area.MaxY))
            QueueEventHelp(Area.Hint);
}
