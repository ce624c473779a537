// Tests of the inventory: body positions, full and partly filled containers, and the trade offers.
#include "state/Inventory.h"

#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>
#include <string>

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
    SetBodyObject(1, {2500, 1, 0});
    SetBodyObject(10, {2600, 2, 0});
    EXPECT_EQ(GetBodyObject(10).Type, 2600);
    ClearBodyObject(1);
    EXPECT_EQ(GetBodyObject(1).Type, 0);
    for (int32_t Pos : {0, 11})
        EXPECT_NE(ThrownText([=] { GetBodyObject(Pos); }).find("In(Pos,0,BODY_POSITIONS-1)"),
                  std::string::npos);
    SetBodyObject(5, {2700, 0, 0});
    ResetInventory();
    EXPECT_EQ(GetBodyObject(5).Type, 0);
}

TEST_F(Inventory, AFullContainerStaysFull) {
    Fill(0, 40); // the last four are dropped
    EXPECT_EQ(GetContainerObjectCount(0), 36);
    InsertContainerObject(0, {4000, 0, 0});
    EXPECT_EQ(GetContainerObjectCount(0), 36);
    EXPECT_EQ(TypeAt(0, 0), 4000);
    EXPECT_EQ(TypeAt(0, 1), 3000);
    EXPECT_EQ(TypeAt(0, 35), 3034);
    EXPECT_TRUE(DeleteContainerObject(0, 35));
    EXPECT_EQ(GetContainerObjectCount(0), 35);
    EXPECT_FALSE(DeleteContainerObject(0, 0)); // no longer full before the deletion
    EXPECT_EQ(TypeAt(0, 0), 3000);
}

TEST_F(Inventory, PositionsOutsideTheContentsChangeNothing) {
    Fill(2, 20);
    EXPECT_FALSE(DeleteContainerObject(2, 20));
    EXPECT_FALSE(DeleteContainerObject(2, -1));
    EXPECT_EQ(GetContainerObjectCount(2), 20);
    EXPECT_FALSE(DeleteContainerObject(2, 5));
    EXPECT_EQ(TypeAt(2, 5), 3006);
    EXPECT_EQ(TypeAt(2, 18), 3019);
    ChangeContainerObject(2, 18, {4100, 0, 0});
    ChangeContainerObject(2, 19, {4200, 0, 0}); // past the end: nothing
    EXPECT_EQ(TypeAt(2, 18), 4100);
    EXPECT_NE(ThrownText([] { TypeAt(2, 19); }).find("In(Position,0,Containers[Container].Count-1)"),
              std::string::npos);
    InsertContainerObject(2, {4300, 0, 0});
    EXPECT_EQ(TypeAt(2, 0), 4300);
    EXPECT_EQ(TypeAt(2, 19), 4100);
}

TEST_F(Inventory, OpeningClosingAndNumbers) {
    OpenContainer(4, {2000, 0, 0}, "brown backpack of the woods", 20, true);
    EXPECT_STREQ(GetContainerName(4), "Brown Backpack Of The Woods");
    EXPECT_EQ(GetContainerCapacity(4), 20);
    EXPECT_TRUE(HasParentContainer(4));
    TObject Own;
    GetContainerOwnObject(Own, 4);
    EXPECT_EQ(Own.Type, 2000);
    EXPECT_NE(ThrownText([] {
                  OpenContainer(4, {2000, 0, 0}, "bag", 8, false);
              }).find("!Containers[Container].IsOpen"),
              std::string::npos);
    EXPECT_NE(ThrownText([] {
                  OpenContainer(5, {2000, 0, 0}, std::string(30, 'b').c_str(), 8, false);
              }).find("strlen(Name)<30"),
              std::string::npos);
    CloseContainer(4);
    EXPECT_FALSE(IsContainerOpen(4));
    EXPECT_NE(ThrownText([] {
                  AppendContainerObject(4, {1, 0, 0});
              }).find("Containers[Container].IsOpen"),
              std::string::npos);
    EXPECT_NE(ThrownText([] { IsContainerOpen(16); }).find("In(Container,0,OPEN_CONTAINERS-1)"),
              std::string::npos);

    for (int32_t i = 0; i < OPEN_CONTAINERS; i++)
        OpenContainer(i, {2000, 0, 0}, "bag", 8, false);
    EXPECT_EQ(GetFreeContainerNumber(), 15);
    CloseContainer(3);
    CloseContainer(9);
    EXPECT_EQ(GetFreeContainerNumber(), 3);
}

TEST_F(Inventory, TradeOffers) {
    EXPECT_TRUE(StartOwnOffer("Anna"));
    for (int32_t i = 0; i < OBJECTS_PER_OFFER; i++)
        AddOwnOfferObject({3000 + i, 1, 0});
    EXPECT_NE(ThrownText([] {
                  AddOwnOfferObject({1, 0, 0});
              }).find("OwnOffer.Count<OBJECTS_PER_OFFER"),
              std::string::npos);
    EXPECT_NE(ThrownText([] { StartOwnOffer("Anna"); }).find("OwnOffer.Count==0"), std::string::npos);
    EXPECT_EQ(GetOwnOffer().Objects[99].Type, 3099);

    EXPECT_NE(ThrownText([] { GetCounterOffer(); }).find("CounterOffer.Count>0"), std::string::npos);
    EXPECT_TRUE(StartCounterOffer("Bert"));
    AddCounterOfferObject({4000, 1, 0});
    EXPECT_FALSE(StartCounterOffer("Cleo"));
    EXPECT_STREQ(GetCounterOffer().Name, "Bert");
    TObject Object;
    GetCounterOfferObject(Object, 0);
    EXPECT_EQ(Object.Type, 4000);
    EXPECT_NE(
        ThrownText([&] { GetCounterOfferObject(Object, 1); }).find("In(Position,0,CounterOffer.Count-1)"),
        std::string::npos);
    ClearOffers();
    EXPECT_EQ(GetOwnOfferCount() + GetCounterOfferCount(), 0);
    EXPECT_TRUE(StartCounterOffer("Cleo"));
}
