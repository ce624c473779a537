// The map box: floor transform, stack and draw order, full points, scrolling, walkability and the picks.
#include "state/Map.h"

#include "state/MapEffects.h"
#include "tests/foundation/Thrown.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<int32_t> RemovedCreatures;

void RecordRemoved(int32_t CreatureID) { RemovedCreatures.push_back(CreatureID); }

TObject Item(int32_t Type, int32_t Id = 0) { return {Type, Id, 0}; }
TObject Creature(int32_t Id) { return {CREATURE, Id, 0}; }

// The Data words of a point's objects, bottom up.
std::vector<int32_t> Stack(int32_t rx, int32_t ry, int32_t rz) {
    std::vector<int32_t> Ids;
    TObject Obj;
    for (int32_t Position = 0; Position < OBJECTS_PER_POINT; Position++) {
        GetMapObject(Obj, rx, ry, rz, Position);
        if (Obj.Type == 0) break;
        Ids.push_back(Obj.Data);
    }
    return Ids;
}

// The Data words in drawing order.
std::vector<int32_t> Drawn(int32_t rx, int32_t ry, int32_t rz) {
    std::vector<int32_t> Ids;
    TObject Obj;
    for (GetFirstObject(Obj, rx, ry, rz); Obj.Type != 0; GetNextObject(Obj))
        Ids.push_back(Obj.Data);
    return Ids;
}

void Fill(int32_t rx, int32_t ry, int32_t rz, std::initializer_list<TObject> Objects) {
    for (const TObject& Obj : Objects)
        AppendMapObject(rx, ry, rz, Obj);
}

class MapBox : public testing::Test {
protected:
    void SetUp() override {
        LoadWorldTypes();
        InitMap(RecordRemoved);
        RemovedCreatures.clear();
        SetViewPosition(100, 100, 7);
    }
    void TearDown() override { ExitObjects(); }
    TScratchDir Scratch;
};

using Ids = std::vector<int32_t>;

} // namespace

TEST_F(MapBox, FloorTransform) {
    const int32_t Layers[4][2] = {{0, 7}, {7, 0}, {8, 2}, {15, 2}};
    for (const auto& Layer : Layers) {
        SetViewPosition(100, 100, Layer[0]);
        EXPECT_EQ(GetViewLayer(), Layer[1]) << Layer[0];
    }
    for (int32_t ViewZ : {7, 4, 9}) {
        SetViewPosition(300, 200, ViewZ);
        int32_t x = 300, y = 200, z = ViewZ;
        WorldToLocal(x, y, z);
        EXPECT_EQ(x, 8);
        EXPECT_EQ(y, 6);
        EXPECT_EQ(z, GetViewLayer());
        x = 300, y = 200, z = ViewZ - 1;
        WorldToLocal(x, y, z);
        EXPECT_EQ(x, 7);
        EXPECT_EQ(y, 5);
        EXPECT_EQ(z, GetViewLayer() + 1);
        for (int32_t rz = 0; rz < MAPSIZE_Z; rz++) {
            int32_t wx = 3, wy = 11, wz = rz;
            LocalToWorld(wx, wy, wz);
            WorldToLocal(wx, wy, wz);
            EXPECT_EQ(wx, 3);
            EXPECT_EQ(wy, 11);
            EXPECT_EQ(wz, rz);
        }
    }
}

TEST_F(MapBox, SortedInsertion) {
    AddMapObject(1, 1, 7, Item(GROUND, 1));
    AddMapObject(1, 1, 7, Item(GROUND2, 2));
    EXPECT_EQ(Stack(1, 1, 7), (Ids{2, 1})); // the newer ground lies lower

    Fill(2, 2, 7, {Item(GROUND, 1), Item(WALL, 2), Creature(3), Item(ITEM, 4)});
    AddMapObject(2, 2, 7, Creature(5));
    EXPECT_EQ(Stack(2, 2, 7), (Ids{1, 2, 5, 3, 4}));
    Fill(3, 3, 7, {Item(GROUND, 1), Item(WALL, 2), Creature(3), Item(ITEM, 4)});
    AddMapObject(3, 3, 7, Item(ITEM, 6));
    EXPECT_EQ(Stack(3, 3, 7), (Ids{1, 2, 3, 6, 4}));
    AddMapObject(3, 3, 7, Item(ARCH, 7));
    AddMapObject(3, 3, 7, Item(BORDER, 8));
    EXPECT_EQ(Stack(3, 3, 7), (Ids{1, 2, 8, 7, 3, 6, 4}));
}

TEST_F(MapBox, DrawOrderDiffersFromStackOrder) {
    Fill(4, 4, 7, {Item(GROUND, 1), Item(ARCH, 2), Creature(3), Item(ITEM, 4), Item(ITEM, 5)});
    EXPECT_EQ(Drawn(4, 4, 7), (Ids{1, 5, 4, 3, 2}));
    Fill(5, 4, 7,
         {Item(GROUND, 1), Item(WALL, 2), Item(BORDER, 3), Item(ARCH, 4), Creature(5), Item(ITEM, 6)});
    EXPECT_EQ(Drawn(5, 4, 7), (Ids{1, 2, 3, 6, 5, 4}));
    DeleteMapObject(5, 4, 7, 0);
    EXPECT_EQ(Drawn(5, 4, 7), (Ids{2, 3, 6, 5, 4}));
    ChangeMapObject(5, 4, 7, 0, Item(ITEM, 9));
    EXPECT_EQ(Drawn(5, 4, 7), (Ids{6, 5, 4, 3, 9})); // without a lower object at the bottom: top down
}

TEST_F(MapBox, HangObjectsTakeTheLowestHook) {
    Fill(1, 1, 7, {Item(GROUND), Item(WALL), {PICTURE, 0, 7}});
    Fill(2, 1, 7, {Item(GROUND), Item(EASTWALL), {PICTURE, 0, 7}});
    Fill(3, 1, 7, {Item(GROUND), {PICTURE, 0, 7}});
    Fill(4, 1, 7, {Item(EASTWALL), Item(WALL), {PICTURE, 0, 7}});
    const int32_t Expected[4] = {18, 19, 7, 19};
    for (int32_t rx = 1; rx <= 4; rx++) {
        TObject Obj;
        GetMapObject(Obj, rx, 1, 7, 2);
        if (rx == 3) GetMapObject(Obj, rx, 1, 7, 1);
        EXPECT_EQ(Obj.Data2, Expected[rx - 1]) << rx;
    }
}

TEST_F(MapBox, FullPoints) {
    AppendMapObject(1, 2, 3, Item(GROUND, 1));
    for (int32_t Id = 2; Id <= 10; Id++)
        AppendMapObject(1, 2, 3, Creature(Id));
    std::string Text = ThrownText([] { AppendMapObject(1, 2, 3, Item(ITEM, 99)); });
    EXPECT_NE(Text.find("too many objects on map point, reason:\nObjectCount: 10 rx: 1 ry: 2 rz: 3"),
              std::string::npos);
    Ids Full = Stack(1, 2, 3);
    AddMapObject(1, 2, 3, Item(ITEM, 11)); // sorts above the creatures: dropped
    EXPECT_EQ(Stack(1, 2, 3), Full);
    AddMapObject(1, 2, 3, Item(GROUND2, 12)); // sorts to the bottom: the top object is lost
    EXPECT_EQ(Stack(1, 2, 3), (Ids{12, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    InsertMapObject(1, 2, 3, 9, Creature(13));
    EXPECT_EQ(Stack(1, 2, 3).back(), 13);
    EXPECT_EQ(GetMapPoint(GetPointIndex(1, 2, 3)).ObjectCount, 10);

    EXPECT_TRUE(DeleteMapObject(1, 2, 3, 9));
    EXPECT_FALSE(DeleteMapObject(1, 2, 3, 0));
    TObject Obj;
    GetMapObject(Obj, 1, 2, 3, 9);
    EXPECT_EQ(Obj.Type, 0);
    EXPECT_NE(ThrownText([&] { GetMapObject(Obj, 1, 2, 3, 10); }).find("In(Position,0,OBJECTS_PER_POINT-1)"),
              std::string::npos);
    EXPECT_NE(ThrownText([] { DeleteMapObject(1, 2, 3, 8); }).find("In(Position,0,Point.ObjectCount-1)"),
              std::string::npos);
    EXPECT_NE(ThrownText([] { InsertMapObject(1, 2, 3, 9, Item(ITEM)); }).find("Position<=Point.ObjectCount"),
              std::string::npos);
}

TEST_F(MapBox, CoordinateChecks) {
    TObject Obj;
    EXPECT_NE(ThrownText([&] {
                  GetFirstObject(Obj, 18, 0, 0);
              }).find("(rx = 18), reason:\nIn(rx,0,MAPSIZE_X-1) [bug0000013]"),
              std::string::npos);
    EXPECT_NE(
        ThrownText([] { AddMapObject(0, -1, 0, Item(ITEM)); }).find("In(ry,0,MAPSIZE_Y-1) [bug0000013]"),
        std::string::npos);
    EXPECT_NE(ThrownText([] {
                  ClearMapPoint(0, 0, 8, true);
              }).find("(rz = 8), reason:\nIn(rz,0,MAPSIZE_Z-1) [bug0000913]"),
              std::string::npos);
    EXPECT_NE(ThrownText([] { FieldRefreshRequested(0, 14, 0); }).find("[bug0000013]"), std::string::npos);
    int32_t Position;
    EXPECT_NE(
        ThrownText([&] { GetUseObject(Obj, 0, 0, -1, Position); }).find("In(rz,0,MAPSIZE_Z-1) [bug0000013]"),
        std::string::npos);
}

TEST_F(MapBox, ColumnAndRowScrolling) {
    EXPECT_EQ(GetPointIndex(17, 13, 7), 2015);
    EXPECT_EQ(GetPointIndex(0, 0, 1), 252);
    int32_t Edge = GetPointIndex(0, 3, 4);
    Fill(0, 3, 4, {Item(GROUND, 1), Creature(77), Item(ITEM, 2)});
    Fill(1, 3, 4, {Item(GROUND, 5)});
    SetFieldRefreshRequested(0, 3, 4);
    AddGraphicEffect(0, 3, 4, 1);
    ScrollMap(-1, 0);
    int32_t x, y, z;
    GetViewPosition(x, y, z);
    EXPECT_EQ(x, 101);
    EXPECT_EQ(y, 100);
    EXPECT_EQ(GetPointIndex(17, 3, 4), Edge);
    EXPECT_EQ(Stack(17, 3, 4), Ids{});
    EXPECT_EQ(GetFirstEffect(17, 3, 4), -1);
    EXPECT_EQ(GetEffectStatus(0), EFFECT_FREE);
    EXPECT_EQ(FieldRefreshRequested(17, 3, 4), 0);
    EXPECT_EQ(RemovedCreatures, Ids{77});
    EXPECT_EQ(Stack(0, 3, 4), Ids{5});
}

TEST_F(MapBox, ScrollingIsASequenceOfSteps) {
    auto Mark = [] {
        InitMap(RecordRemoved);
        SetViewPosition(100, 100, 7);
        for (int32_t rz = 0; rz < MAPSIZE_Z; rz++)
            for (int32_t ry = 0; ry < MAPSIZE_Y; ry++)
                for (int32_t rx = 0; rx < MAPSIZE_X; rx++)
                    AppendMapObject(rx, ry, rz, Item(ITEM, rx + 100 * ry + 10000 * rz));
    };
    auto Snapshot = [] {
        std::vector<Ids> Points;
        for (int32_t rz = 0; rz < MAPSIZE_Z; rz++)
            for (int32_t ry = 0; ry < MAPSIZE_Y; ry++)
                for (int32_t rx = 0; rx < MAPSIZE_X; rx++)
                    Points.push_back(Stack(rx, ry, rz));
        int32_t x, y, z;
        GetViewPosition(x, y, z);
        Points.push_back({x, y, z});
        return Points;
    };
    Mark();
    ScrollMap(2, -3);
    std::vector<Ids> Combined = Snapshot();
    Mark();
    ScrollMap(1, 0);
    ScrollMap(1, 0);
    for (int i = 0; i < 3; i++)
        ScrollMap(0, -1);
    EXPECT_EQ(Snapshot(), Combined);
    EXPECT_EQ(Combined.back(), (Ids{98, 103, 7}));
    // Two east steps: the two westmost columns came in empty; three north steps: the three southmost rows.
    EXPECT_EQ(Stack(0, 0, 0), Ids{});
    EXPECT_EQ(Stack(1, 5, 3), Ids{});
    EXPECT_EQ(Stack(5, 11, 3), Ids{});
    EXPECT_EQ(Stack(2, 0, 3), Ids{0 + 100 * 3 + 10000 * 3});
    EXPECT_EQ(Stack(17, 10, 0), Ids{15 + 100 * 13});
}

TEST_F(MapBox, FloorScrollingClearsTheRightFloors) {
    auto FillAll = [] {
        for (int32_t rz = 0; rz < MAPSIZE_Z; rz++)
            for (int32_t ry = 0; ry < MAPSIZE_Y; ry++)
                for (int32_t rx = 0; rx < MAPSIZE_X; rx++)
                    AppendMapObject(rx, ry, rz, Item(ITEM, rz));
    };
    auto FloorIds = [] {
        Ids Floors;
        for (int32_t rz = 0; rz < MAPSIZE_Z; rz++) {
            Ids Here = Stack(4, 9, rz);
            Floors.push_back(Here.empty() ? -1 : Here[0]);
        }
        return Floors;
    };
    FillAll();
    ScrollFloors(1);
    EXPECT_EQ(FloorIds(), (Ids{-1, 0, 1, 2, 3, -1, -1, -1}));
    ClearMap();
    FillAll();
    ScrollFloors(-3);
    EXPECT_EQ(FloorIds(), (Ids{3, 4, 5, 6, 7, -1, -1, -1}));
    ClearMap();
    FillAll();
    ScrollFloors(-1);
    EXPECT_EQ(FloorIds(), (Ids{1, 2, 3, 4, 5, 6, 7, -1}));
}

TEST_F(MapBox, WalkingAndClimbing) {
    int32_t Layer = GetViewLayer();
    EXPECT_TRUE(IsWalkable(3, 3, Layer, false));
    Fill(3, 3, Layer, {Item(GROUND), Item(BOULDER)});
    Fill(4, 3, Layer, {Item(GROUND), Creature(1)});
    EXPECT_FALSE(IsWalkable(3, 3, Layer, false));
    EXPECT_FALSE(IsWalkable(4, 3, Layer, true));

    // A field without ground one floor up, above a pile of three crates.
    Fill(6, 6, Layer, {Item(GROUND), Item(CRATE), Item(CRATE), Item(CRATE)});
    Fill(5, 5, Layer + 1, {Item(BOULDER)});
    EXPECT_EQ(CountHeightObjects(6, 6, Layer), 3);
    EXPECT_TRUE(IsWalkable(5, 5, Layer + 1, true));
    EXPECT_FALSE(IsWalkable(5, 5, Layer + 1, false));
    Fill(16, 12, Layer + 1, {Item(BOULDER)}); // nothing one floor lower holds crates
    EXPECT_FALSE(IsWalkable(16, 12, Layer + 1, true));
    Fill(4, 4, Layer + 1, {Item(GROUND), Item(BOULDER)});
    Fill(5, 5, Layer, {Item(GROUND), Item(CRATE), Item(CRATE), Item(CRATE)});
    EXPECT_FALSE(IsWalkable(4, 4, Layer + 1, true)); // it has ground of its own

    Fill(8, 6, Layer, {Item(GROUND), Item(CRATE), Item(CRATE), Item(CRATE)});
    EXPECT_TRUE(IsWalkable(3, 3, Layer, true));
    EXPECT_TRUE(IsWalkable(17, 13, 0, true));
}

TEST_F(MapBox, FlagQueriesAndRefresh) {
    EXPECT_TRUE(PointLacksFlag14(2, 2, 7));
    EXPECT_FALSE(PointHasFlag23(2, 2, 7));
    Fill(2, 2, 7, {Item(GROUND), Item(ROOF), Item(LIT)});
    EXPECT_FALSE(PointLacksFlag14(2, 2, 7));
    EXPECT_TRUE(PointHasFlag23(2, 2, 7));
    SetFieldRefreshRequested(2, 2, 7);
    EXPECT_EQ(FieldRefreshRequested(2, 2, 7), 1);
    ClearMapPoint(2, 2, 7, false);
    EXPECT_EQ(FieldRefreshRequested(2, 2, 7), 0);
    SetFieldRefreshRequested(2, 2, 7);
    ClearMap();
    EXPECT_EQ(FieldRefreshRequested(2, 2, 7), 0);
}

TEST_F(MapBox, Picks) {
    using TPick = void (*)(TObject&, int32_t, int32_t, int32_t, int32_t&);
    auto Pick = [](TPick Function, int32_t rx) {
        TObject Obj, AtPosition;
        int32_t Position = -1;
        Function(Obj, rx, 0, 7, Position);
        GetMapObject(AtPosition, rx, 0, 7, Position);
        EXPECT_EQ(Obj.Data, AtPosition.Data);
        return Position;
    };
    Fill(0, 0, 7, {Item(GROUND, 10), Creature(11)});
    EXPECT_EQ(Pick(GetLookObject, 0), 1);
    EXPECT_EQ(Pick(GetDragObject, 0), 1);
    EXPECT_EQ(Pick(GetUseObject, 0), 0);
    Fill(1, 0, 7, {Item(GROUND, 10), Item(FIXED, 11), Item(ITEM, 12)});
    EXPECT_EQ(Pick(GetDragObject, 1), 0);
    EXPECT_EQ(Pick(GetLookObject, 1), 1);
    Fill(2, 0, 7, {Item(GROUND, 10), Item(POOL, 11)});
    EXPECT_EQ(Pick(GetUseObject, 2), 0);
    EXPECT_EQ(Pick(GetDropTargetObject, 2), 0);
    EXPECT_EQ(Pick(GetLookObject, 2), 1);
    Fill(3, 0, 7, {Item(GROUND, 10), Creature(11), Item(ITEM, 12)});
    EXPECT_EQ(Pick(GetUseObject, 3), 2);
    EXPECT_EQ(Pick(GetDropTargetObject, 3), 1);
    Fill(4, 0, 7, {Item(GROUND, 10), Item(SWITCH, 11), Item(ITEM, 12)});
    EXPECT_EQ(Pick(GetUseObject, 4), 1);
    EXPECT_EQ(Pick(GetDropTargetObject, 4), 1);
    EXPECT_EQ(Pick(GetDragObject, 4), 2);
    for (TPick Function : {GetDragObject, GetLookObject, GetUseObject, GetDropTargetObject}) {
        TObject Obj = Item(ITEM, 5);
        int32_t Position = 3;
        Function(Obj, 9, 9, 7, Position);
        EXPECT_EQ(Obj.Type, 0);
        EXPECT_EQ(Position, 0);
    }
}
