// The map box: floor transform, stack and draw order, full points, scrolling, walkability and the picks.
#include "state/Map.h"

#include "state/MapEffects.h"
#include "tests/foundation/Thrown.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using Ids = std::vector<int32_t>;

Ids RemovedCreatures;

void RecordRemoved(int32_t CreatureID) { RemovedCreatures.push_back(CreatureID); }

TObject Item(int32_t Type, int32_t Id = 0) { return {Type, Id, 0}; }
TObject Creature(int32_t Id) { return {CREATURE, Id, 0}; }

// The Data words of a point's objects, bottom up.
Ids Stack(int32_t rx, int32_t ry, int32_t rz) {
    Ids Stacked;
    const TMapPoint& Point = GetMapPoint(GetPointIndex(rx, ry, rz));
    for (int32_t Position = 0; Position < Point.ObjectCount; Position++)
        Stacked.push_back(Point.Objects[Position].Data);
    return Stacked;
}

// The Data words in drawing order.
Ids Drawn(int32_t rx, int32_t ry, int32_t rz) {
    Ids InOrder;
    TObject Obj;
    for (GetFirstObject(Obj, rx, ry, rz); Obj.Type != 0; GetNextObject(Obj))
        InOrder.push_back(Obj.Data);
    return InOrder;
}

void Fill(int32_t rx, int32_t ry, int32_t rz, std::initializer_list<TObject> Objects) {
    for (const TObject& Obj : Objects)
        AppendMapObject(rx, ry, rz, Obj);
}

// Every point holds one item whose Data names its box field: rx + 100 ry + 10000 rz.
void FillBox() {
    for (int32_t rz = 0; rz < MAPSIZE_Z; rz++)
        for (int32_t ry = 0; ry < MAPSIZE_Y; ry++)
            for (int32_t rx = 0; rx < MAPSIZE_X; rx++)
                AppendMapObject(rx, ry, rz, Item(ITEM, rx + 100 * ry + 10000 * rz));
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
    TWorkingDirectory Scratch;
};

} // namespace

TEST_F(MapBox, ViewLayerAndFloorTransform) {
    const int32_t Layers[4][2] = {{0, 7}, {7, 0}, {8, 2}, {15, 2}};
    for (const auto& Layer : Layers) {
        SetViewPosition(100, 100, Layer[0]);
        EXPECT_EQ(GetViewLayer(), Layer[1]) << Layer[0];
    }
    for (int32_t ViewZ : {7, 4, 9}) {
        SetViewPosition(300, 200, ViewZ);
        int32_t x = 300, y = 200, z = ViewZ - 1;
        WorldToLocal(x, y, z);
        EXPECT_EQ(Ids({x, y, z}), Ids({7, 5, GetViewLayer() + 1}));
        LocalToWorld(x, y, z);
        EXPECT_EQ(Ids({x, y, z}), Ids({300, 200, ViewZ - 1}));
        x = 8, y = 6, z = GetViewLayer();
        LocalToWorld(x, y, z);
        EXPECT_EQ(Ids({x, y, z}), Ids({300, 200, ViewZ}));
    }
}

TEST_F(MapBox, SortedInsertion) {
    AddMapObject(1, 1, 7, Item(GROUND, 1));
    AddMapObject(1, 1, 7, Item(GROUND2, 2));
    EXPECT_EQ(Stack(1, 1, 7), (Ids{2, 1})); // the newer ground lies lower

    Fill(2, 2, 7, {Item(GROUND, 1), Item(WALL, 2), Creature(3), Item(ITEM, 4)});
    AddMapObject(2, 2, 7, Creature(5));
    EXPECT_EQ(Stack(2, 2, 7), (Ids{1, 2, 5, 3, 4}));
    AddMapObject(2, 2, 7, Item(ITEM, 6));
    EXPECT_EQ(Stack(2, 2, 7), (Ids{1, 2, 5, 3, 6, 4}));
    AddMapObject(2, 2, 7, Item(ARCH, 7));
    AddMapObject(2, 2, 7, Item(BORDER, 8));
    EXPECT_EQ(Stack(2, 2, 7), (Ids{1, 2, 8, 7, 5, 3, 6, 4}));
}

// Ground and flags 1 and 2 bottom up, then the rest from the top down, so flag 3 lies over the creatures.
TEST_F(MapBox, DrawOrderDiffersFromStackOrder) {
    Fill(4, 4, 7, {Item(GROUND, 1), Item(ARCH, 2), Creature(3), Item(ITEM, 4), Item(ITEM, 5)});
    EXPECT_EQ(Drawn(4, 4, 7), (Ids{1, 5, 4, 3, 2}));
    Fill(5, 4, 7,
         {Item(GROUND, 1), Item(WALL, 2), Item(BORDER, 3), Item(ARCH, 4), Creature(5), Item(ITEM, 6)});
    EXPECT_EQ(Drawn(5, 4, 7), (Ids{1, 2, 3, 6, 5, 4}));
    DeleteMapObject(5, 4, 7, 0);
    ChangeMapObject(5, 4, 7, 0, Item(ITEM, 9));
    EXPECT_EQ(Drawn(5, 4, 7), (Ids{6, 5, 4, 3, 9}));
}

TEST_F(MapBox, HangObjectsTakeTheLowestHook) {
    Fill(1, 1, 7, {Item(GROUND), Item(WALL), {PICTURE, 0, 7}});
    Fill(2, 1, 7, {Item(EASTWALL), Item(WALL), {PICTURE, 0, 7}});
    Fill(3, 1, 7, {Item(GROUND), {PICTURE, 0, 7}});
    const TObject* Pictures[3] = {&GetMapPoint(GetPointIndex(1, 1, 7)).Objects[2],
                                  &GetMapPoint(GetPointIndex(2, 1, 7)).Objects[2],
                                  &GetMapPoint(GetPointIndex(3, 1, 7)).Objects[1]};
    EXPECT_EQ(Ids({Pictures[0]->Data2, Pictures[1]->Data2, Pictures[2]->Data2}), Ids({18, 19, 7}));
}

TEST_F(MapBox, FullPoints) {
    AppendMapObject(1, 2, 3, Item(GROUND, 1));
    for (int32_t Id = 2; Id <= 10; Id++)
        AppendMapObject(1, 2, 3, Creature(Id));
    EXPECT_TRUE(Has(ThrownText([] { AppendMapObject(1, 2, 3, Item(ITEM, 99)); }),
                    "too many objects on map point, reason:\nObjectCount: 10 rx: 1 ry: 2 rz: 3"));
    AddMapObject(1, 2, 3, Item(ITEM, 11)); // sorts above the creatures: dropped
    EXPECT_EQ(Stack(1, 2, 3), (Ids{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    AddMapObject(1, 2, 3, Item(GROUND2, 12)); // sorts to the bottom: the top object is lost
    EXPECT_EQ(Stack(1, 2, 3), (Ids{12, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(DeleteMapObject(1, 2, 3, 9));
    EXPECT_FALSE(DeleteMapObject(1, 2, 3, 0));
    TObject Obj;
    GetMapObject(Obj, 1, 2, 3, 9);
    EXPECT_EQ(Obj.Type, 0);
    EXPECT_TRUE(
        Has(ThrownText([&] { GetMapObject(Obj, 1, 2, 3, 10); }), "In(Position,0,OBJECTS_PER_POINT-1)"));
    EXPECT_TRUE(Has(ThrownText([] { DeleteMapObject(1, 2, 3, 8); }), "In(Position,0,Point.ObjectCount-1)"));
    EXPECT_TRUE(Has(ThrownText([&] { GetFirstObject(Obj, 18, 0, 0); }),
                    "(rx = 18), reason:\nIn(rx,0,MAPSIZE_X-1) [bug0000013]"));
    EXPECT_TRUE(Has(ThrownText([] { ClearMapPoint(0, 0, 8, true); }),
                    "(rz = 8), reason:\nIn(rz,0,MAPSIZE_Z-1) [bug0000913]"));
}

TEST_F(MapBox, ScrollingMovesIndicesAndClearsWhatComesIn) {
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
    EXPECT_EQ(Ids({x, y, z}), Ids({101, 100, 7}));
    EXPECT_EQ(GetPointIndex(17, 3, 4), Edge);
    EXPECT_EQ(Stack(17, 3, 4), Ids{});
    EXPECT_EQ(GetFirstEffect(17, 3, 4), -1);
    EXPECT_EQ(GetEffectStatus(0), EFFECT_FREE);
    EXPECT_EQ(FieldRefreshRequested(17, 3, 4), 0);
    EXPECT_EQ(RemovedCreatures, Ids{77});
    EXPECT_EQ(Stack(0, 3, 4), Ids{5});

    // Two east steps, then three north steps.
    ClearMap();
    FillBox();
    ScrollMap(2, -3);
    GetViewPosition(x, y, z);
    EXPECT_EQ(Ids({x, y, z}), Ids({99, 103, 7}));
    EXPECT_EQ(Stack(1, 5, 3), Ids{});
    EXPECT_EQ(Stack(5, 11, 3), Ids{});
    EXPECT_EQ(Stack(2, 0, 3), Ids{30300});
    EXPECT_EQ(Stack(17, 10, 0), Ids{1315});

    // Two south steps.
    ClearMap();
    FillBox();
    ScrollMap(0, 2);
    EXPECT_EQ(Stack(4, 1, 3), Ids{});
    EXPECT_EQ(Stack(4, 2, 3), Ids{30004});
    EXPECT_EQ(Stack(4, 13, 3), Ids{31104});
}

TEST_F(MapBox, FloorScrollingClearsTheRightFloors) {
    auto Floors = [](int32_t dz) {
        ClearMap();
        FillBox();
        ScrollFloors(dz);
        Ids Found;
        for (int32_t rz = 0; rz < MAPSIZE_Z; rz++) {
            Ids Here = Stack(4, 9, rz);
            Found.push_back(Here.empty() ? -1 : Here[0] / 10000);
        }
        return Found;
    };
    EXPECT_EQ(Floors(1), (Ids{-1, 0, 1, 2, 3, -1, -1, -1}));
    EXPECT_EQ(Floors(-3), (Ids{3, 4, 5, 6, 7, -1, -1, -1}));
    EXPECT_EQ(Floors(-1), (Ids{1, 2, 3, 4, 5, 6, 7, -1}));
}

TEST_F(MapBox, WalkingAndClimbing) {
    int32_t Layer = GetViewLayer();
    EXPECT_TRUE(IsWalkable(3, 3, Layer, false));
    Fill(3, 3, Layer, {Item(GROUND), Item(BOULDER)});
    Fill(4, 3, Layer, {Item(GROUND), Creature(1)});
    EXPECT_FALSE(IsWalkable(3, 3, Layer, false));
    EXPECT_FALSE(IsWalkable(4, 3, Layer, true));

    // Without ground of its own, a field one floor up above a pile of three crates can be climbed.
    Fill(6, 6, Layer, {Item(GROUND), Item(CRATE), Item(CRATE), Item(CRATE)});
    Fill(5, 5, Layer + 1, {Item(BOULDER)});
    Fill(4, 4, Layer + 1, {Item(GROUND), Item(BOULDER)});
    Fill(5, 5, Layer, {Item(GROUND), Item(CRATE), Item(CRATE), Item(CRATE)});
    EXPECT_EQ(CountHeightObjects(6, 6, Layer), 3);
    EXPECT_TRUE(IsWalkable(5, 5, Layer + 1, true));
    EXPECT_FALSE(IsWalkable(5, 5, Layer + 1, false));
    EXPECT_FALSE(IsWalkable(4, 4, Layer + 1, true));

    // Standing on such a pile, every field counts as walkable.
    Fill(8, 6, Layer, {Item(GROUND), Item(CRATE), Item(CRATE), Item(CRATE)});
    EXPECT_TRUE(IsWalkable(3, 3, Layer, true));
    EXPECT_TRUE(IsWalkable(17, 13, 0, true));
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
    EXPECT_EQ(Ids({Pick(GetLookObject, 0), Pick(GetDragObject, 0), Pick(GetUseObject, 0)}), Ids({1, 1, 0}));
    Fill(1, 0, 7, {Item(GROUND, 10), Item(FIXED, 11), Item(ITEM, 12)});
    EXPECT_EQ(Ids({Pick(GetLookObject, 1), Pick(GetDragObject, 1)}), Ids({1, 0}));
    Fill(2, 0, 7, {Item(GROUND, 10), Item(POOL, 11)});
    EXPECT_EQ(Ids({Pick(GetLookObject, 2), Pick(GetUseObject, 2), Pick(GetDropTargetObject, 2)}),
              Ids({1, 0, 0}));
    Fill(3, 0, 7, {Item(GROUND, 10), Creature(11), Item(ITEM, 12)});
    EXPECT_EQ(Ids({Pick(GetUseObject, 3), Pick(GetDropTargetObject, 3)}), Ids({2, 1}));
    Fill(4, 0, 7, {Item(GROUND, 10), Item(SWITCH, 11), Item(ITEM, 12)});
    EXPECT_EQ(Ids({Pick(GetUseObject, 4), Pick(GetDropTargetObject, 4), Pick(GetDragObject, 4)}),
              Ids({1, 1, 2}));
    for (TPick Function : {GetDragObject, GetLookObject, GetUseObject, GetDropTargetObject}) {
        TObject Obj = Item(ITEM, 5);
        int32_t Position = 3;
        Function(Obj, 9, 9, 7, Position);
        EXPECT_EQ(Ids({Obj.Type, Position}), Ids({0, 0}));
    }
}
