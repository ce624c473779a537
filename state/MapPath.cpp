// The path finder: a best-first search over the automap from the destination back to the start.
#include "state/MapPath.h"

#include "foundation/Container.h"
#include "foundation/Exception.h"
#include "state/MapAutomap.h"

#include <cstdlib>
#include <string>

namespace {

constexpr int32_t INFINITE_COST = 2147483647;
constexpr int32_t RING = PATH_MAX_DISTANCE + 1; // the border of the grid, never entered

// One field of the search area, at (X, Y) relative to the start.
struct TPathNode {
    int32_t X, Y;
    uint8_t Blocked;
    int32_t Cost;           // cheapest known cost from here to the destination
    int32_t Speed;          // automap speed of the field
    int32_t Estimate;       // Cost plus a lower bound of the rest of the way to the start
    TPathNode* Predecessor; // one step nearer the destination
    TPathNode* NextOpen;
    bool InOpenList;
};

// The search area, allocated once for the run; every search fills each node afresh in buildGrid.
TMatrix<TPathNode> PathGrid(-RING, RING, -RING, RING);

// One search over PathGrid; one search at a time.
class TPathSearch {
public:
    TPathSearch(int32_t StartX, int32_t StartY, int32_t StartZ)
        : StartX(StartX), StartY(StartY), StartZ(StartZ) {}

    // Reads the automap of the area; fields never seen are open at speed 250.
    void buildGrid() {
        for (int32_t i = -RING; i <= RING; i++)
            for (int32_t j = -RING; j <= RING; j++) {
                bool Ring = abs(i) == RING || abs(j) == RING;
                bool Blocked = Ring || IsAutomapFieldBlocked(StartX + i, StartY + j, StartZ);
                int32_t Speed = Ring ? 255 : GetAutomapSpeed(StartX + i, StartY + j, StartZ);
                Nodes.at(i, j) =
                    TPathNode{i, j, Blocked, INFINITE_COST, Speed, INFINITE_COST, nullptr, nullptr, false};
                if (!Ring && Speed < MinSpeed) MinSpeed = Speed;
            }
    }

    // Spreads costs from the destination until no open node can improve the start's cost.
    void search(int32_t dx, int32_t dy) {
        TPathNode& Destination = Nodes.at(dx, dy);
        Destination.Cost = 0;
        insertOpen(Destination);
        const TPathNode& Start = Nodes.at(0, 0);
        while (OpenList != nullptr) {
            TPathNode& Current = *OpenList;
            OpenList = Current.NextOpen;
            Current.InOpenList = false;
            int32_t Reached = Current.Cost + Current.Speed;
            if (Reached >= Start.Cost) break;
            for (int32_t ndx = -1; ndx <= 1; ndx++)
                for (int32_t ndy = -1; ndy <= 1; ndy++)
                    if (ndx != 0 || ndy != 0)
                        relax(Current, Nodes.at(Current.X + ndx, Current.Y + ndy),
                              ndx != 0 && ndy != 0 ? Reached + 2 * Current.Speed : Reached);
        }
    }

    // Writes up to PATH_MAX_STEPS codes from the start along the predecessors; 0, 1 or 2 as FindPath gives.
    int32_t readWay(bool MustReach, int32_t DestX, int32_t DestY, int32_t& NumberOfSteps, int32_t* Steps) {
        const TPathNode* Previous = &Nodes.at(0, 0);
        const TPathNode* Destination = &Nodes.at(DestX - StartX, DestY - StartY);
        int32_t Written = 0;
        bool Complete = false;
        for (;;) {
            const TPathNode* Next = Previous->Predecessor;
            if (Next == nullptr) {
                Complete = true;
                break;
            }
            // Only fields the box can hold around the player: 17 x 13 around the start.
            if (Written == PATH_MAX_STEPS || abs(Next->X) >= 9 || abs(Next->Y) >= 7) break;
            if (!MustReach && Next == Destination && IsAutomapFieldBlocked(DestX, DestY, StartZ)) {
                Complete = true;
                break;
            }
            Steps[Written++] = StepCode(Next->X - Previous->X, Next->Y - Previous->Y);
            Previous = Next;
        }
        NumberOfSteps = Written;
        return Written == 0 ? 0 : Complete ? 1 : 2;
    }

    bool startReached() { return Nodes.at(0, 0).Cost != INFINITE_COST; }

private:
    void relax(TPathNode& Current, TPathNode& Neighbour, int32_t NewCost) {
        if (abs(Neighbour.X) == RING || abs(Neighbour.Y) == RING) return;
        if (Neighbour.Cost <= NewCost) return; // on equal cost the first way found stays
        Neighbour.Cost = NewCost;
        Neighbour.Predecessor = &Current;
        if ((Neighbour.X == 0 && Neighbour.Y == 0) || Neighbour.Blocked) return;
        if (Neighbour.InOpenList) removeOpen(Neighbour);
        Neighbour.Estimate = NewCost + Neighbour.Speed + (abs(Neighbour.X) + abs(Neighbour.Y) - 1) * MinSpeed;
        insertOpen(Neighbour);
    }

    // Sorted by Estimate; a node goes before the first one whose Estimate is not smaller, so among equal
    // estimates the newest comes first.
    void insertOpen(TPathNode& Node) {
        TPathNode** Link = &OpenList;
        while (*Link != nullptr && (*Link)->Estimate < Node.Estimate)
            Link = &(*Link)->NextOpen;
        Node.NextOpen = *Link;
        *Link = &Node;
        Node.InOpenList = true;
    }

    void removeOpen(TPathNode& Node) {
        TPathNode** Link = &OpenList;
        while (*Link != &Node)
            Link = &(*Link)->NextOpen;
        *Link = Node.NextOpen;
        Node.InOpenList = false;
    }

    int32_t StartX, StartY, StartZ;
    TMatrix<TPathNode>& Nodes = PathGrid;
    TPathNode* OpenList = nullptr;
    int32_t MinSpeed = INFINITE_COST;
};

std::string SearchDescription(int32_t StartX, int32_t StartY, int32_t StartZ, int32_t DestX, int32_t DestY,
                              int32_t DestZ, bool MustReach, bool ForceDiagonal) {
    return "Something failed StartX: " + std::to_string(StartX) + " StartY: " + std::to_string(StartY) +
           " StartZ: " + std::to_string(StartZ) + " DestX: " + std::to_string(DestX) +
           " DestY: " + std::to_string(DestY) + " DestZ: " + std::to_string(DestZ) +
           " MustReach: " + (MustReach ? "true" : "false") +
           " ForceDiagonal: " + (ForceDiagonal ? "true" : "false") + ")";
}

} // namespace

int32_t FindPath(int32_t StartX, int32_t StartY, int32_t StartZ, int32_t DestX, int32_t DestY, int32_t DestZ,
                 bool MustReach, int32_t& NumberOfSteps, int32_t* Steps, bool ForceDiagonal) {
    if (DestZ < StartZ) return -1;
    if (DestZ > StartZ) return -2;
    int64_t dx = int64_t{DestX} - StartX, dy = int64_t{DestY} - StartY;
    if (std::llabs(dx) > PATH_MAX_DISTANCE || std::llabs(dy) > PATH_MAX_DISTANCE) return -3;
    if (dx == 0 && dy == 0) return 0;
    if (std::llabs(dx) + std::llabs(dy) == 1 ||
        (ForceDiagonal && std::llabs(dx) == 1 && std::llabs(dy) == 1)) {
        Steps[0] = StepCode(static_cast<int32_t>(dx), static_cast<int32_t>(dy));
        NumberOfSteps = 1;
        return 1;
    }
    try {
        TPathSearch Search(StartX, StartY, StartZ);
        Search.buildGrid();
        Search.search(static_cast<int32_t>(dx), static_cast<int32_t>(dy));
        if (!Search.startReached()) return -4;
        return Search.readWay(MustReach, DestX, DestY, NumberOfSteps, Steps);
    } catch (const TMyException& Cause) {
        throw TMyException(
            EBRUN_SOURCE_NAME, __LINE__,
            SearchDescription(StartX, StartY, StartZ, DestX, DestY, DestZ, MustReach, ForceDiagonal), "", 0,
            "", 0, Cause);
    }
}
