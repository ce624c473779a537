// Tests of the inventory: body positions, full and partly filled containers, and the trade offers.
#include "state/Inventory.h"

#include "tests/state/StateTest.h"

namespace {

class Inventory : public ::testing::Test {
protected:
    void SetUp() override { InitInventory(); }

    static void Fill(int32_t Container, int32_t Count) {
        OpenContainer(Container, {2000, 0, 0}, "bag", 36, false);
        for (int32_t i = 0; i < Count; i++)
            AppendContainerObject(Container, {3000 + i, i, 0});
    }

    static int32_t TypeAt(int32_t Container, int32_t Position) {
        TObject Object;
        GetContainerObject(Object, Container, Position);
        return Object.Type;
    }
};

} // namespace

TEST_F(Inventory, BodyPositionsOneToTen) {
    SetBodyObject(10, {2600, 2, 0});
    EXPECT_EQ(GetBodyObject(10).Type, 2600);
    EXPECT_TRUE(FailsWith([] { GetBodyObject(0); }, "In(Pos,0,BODY_POSITIONS-1)"));
    EXPECT_TRUE(FailsWith([] { SetBodyObject(11, EmptyObject); }, "In(Pos,0,BODY_POSITIONS-1)"));
}

TEST_F(Inventory, AFullContainerStaysFull) {
    Fill(0, 40); // the last four are dropped
    InsertContainerObject(0, {4000, 0, 0});
    EXPECT_EQ(GetContainerObjectCount(0), 36);
    EXPECT_EQ(TypeAt(0, 0), 4000);
    EXPECT_EQ(TypeAt(0, 35), 3034);
    EXPECT_TRUE(DeleteContainerObject(0, 35));
    EXPECT_FALSE(DeleteContainerObject(0, 0)); // no longer full before the deletion
    EXPECT_EQ(TypeAt(0, 0), 3000);
}

TEST_F(Inventory, PositionsOutsideTheContentsChangeNothing) {
    Fill(2, 20);
    EXPECT_FALSE(DeleteContainerObject(2, 20));
    EXPECT_FALSE(DeleteContainerObject(2, -1));
    EXPECT_FALSE(DeleteContainerObject(2, 5));
    EXPECT_EQ(TypeAt(2, 5), 3006);
    ChangeContainerObject(2, 18, {4100, 0, 0});
    ChangeContainerObject(2, 19, {4200, 0, 0});
    EXPECT_TRUE(FailsWith([] { TypeAt(2, 19); }, "In(Position,0,Containers[Container].Count-1)"));
    InsertContainerObject(2, {4300, 0, 0});
    EXPECT_EQ(TypeAt(2, 19), 4100);
}

TEST_F(Inventory, OpeningClosingAndNumbers) {
    OpenContainer(4, {2000, 0, 0}, "brown backpack of the woods", 20, true);
    EXPECT_STREQ(GetContainerName(4), "Brown Backpack Of The Woods");
    EXPECT_TRUE(
        FailsWith([] { OpenContainer(4, EmptyObject, "bag", 8, false); }, "!Containers[Container].IsOpen"));
    CloseContainer(4);
    EXPECT_TRUE(FailsWith([] { AppendContainerObject(4, EmptyObject); }, "Containers[Container].IsOpen"));
    for (int32_t i = 0; i < OPEN_CONTAINERS; i++)
        OpenContainer(i, {2000, 0, 0}, "bag", 8, false);
    EXPECT_EQ(GetFreeContainerNumber(), 15);
    CloseContainer(9);
    CloseContainer(3);
    EXPECT_EQ(GetFreeContainerNumber(), 3);
}

TEST_F(Inventory, TradeOffers) {
    EXPECT_TRUE(StartOwnOffer("Anna"));
    for (int32_t i = 0; i < OBJECTS_PER_OFFER; i++)
        AddOwnOfferObject({3000 + i, 1, 0});
    EXPECT_TRUE(FailsWith([] { AddOwnOfferObject(EmptyObject); }, "OwnOffer.Count<OBJECTS_PER_OFFER"));
    EXPECT_TRUE(FailsWith([] { StartOwnOffer("Anna"); }, "OwnOffer.Count==0"));
    EXPECT_TRUE(StartCounterOffer("Bert"));
    AddCounterOfferObject({4000, 1, 0});
    EXPECT_FALSE(StartCounterOffer("Cleo"));
    EXPECT_STREQ(GetCounterOffer().Name, "Bert");
    ClearOffers();
    EXPECT_TRUE(FailsWith([] { GetCounterOffer(); }, "CounterOffer.Count>0"));
    EXPECT_TRUE(StartCounterOffer("Cleo"));
}
