// Tests of the component tree: child-list order, swapping, placement, fitting and clipping.
#include "gui/GUI.h"
#include "tests/foundation/Thrown.h"
#include "tests/gui/Probes.h"

#include <gtest/gtest.h>

namespace {

class TreeTest : public ::testing::Test {
protected:
    TEventLog Log;
    TProbeParent Root{Log, "root"};

    TProbeLeaf* leaf(const std::string& Name) { return new TProbeLeaf(Log, Name); }
};

TEST_F(TreeTest, AddPutsAtHeadAppendAtTailInsertBehindASibling) {
    TComponent* B = Root.addChild(leaf("b"));
    Root.addChild(leaf("a"));
    TComponent* D = Root.appendChild(leaf("d"));
    Root.insertChild(B, leaf("c"));
    Root.insertChild(nullptr, leaf("head"));
    EXPECT_EQ(ChildNames(&Root), "head a b c d");
    EXPECT_EQ(Root.getLastChild(), D);
    EXPECT_EQ(D->getParent(), &Root);
    EXPECT_EQ(D->getNext(), nullptr);
    EXPECT_EQ(D->getPrevious()->getNext(), D);
    EXPECT_EQ(Root.getFirstChild()->getPrevious(), nullptr);
    EXPECT_TRUE(Root.isChild(D));
}

TEST_F(TreeTest, ChildListFailures) {
    TProbeLeaf Loose(Log, "loose"), Spare(Log, "spare");
    TComponent* Linked = Root.addChild(leaf("linked"));
    EXPECT_EQ(ThrownFrom("GUI.cpp", [&] { Root.addChild(Linked); }),
              "assertion failed, reason:\nChild->Parent==NULL");
    EXPECT_EQ(ThrownFrom("GUI.cpp", [&] { Root.appendChild(nullptr); }),
              "assertion failed, reason:\nChild!=NULL");
    EXPECT_NE(ThrownText([&] { Root.insertChild(&Loose, &Spare); }).find("Search!=NULL"), std::string::npos);
    EXPECT_NE(ThrownText([&] { Root.removeChild(&Loose); }).find("Child->Parent==this"), std::string::npos);
    EXPECT_EQ(ThrownFrom("GUI.cpp", [&] { Loose.addChild(&Spare); }),
              "assertion failed, reason:\nnot possible");
    EXPECT_EQ(ThrownFrom("GUI.cpp", [&] { Loose.getFirstChild(); }),
              "assertion failed, reason:\nnot possible");
    EXPECT_NE(ThrownText([&] { Root.getPrevious(); }).find("Parent!=NULL"), std::string::npos);
    EXPECT_NE(ThrownText([&] { Loose.setSize(-1, 0); }).find("_Width>=0"), std::string::npos);
    EXPECT_FALSE(Root.isChild(&Loose));
    EXPECT_EQ(Spare.getParent(), nullptr);
}

TEST_F(TreeTest, RemoveHandsBackAndDeleteDestroys) {
    TComponent* A = Root.appendChild(leaf("a"));
    TComponent* B = Root.appendChild(leaf("b"));
    Root.appendChild(leaf("c"));
    EXPECT_EQ(Root.removeChild(B), B);
    EXPECT_EQ(B->getParent(), nullptr);
    EXPECT_EQ(B->getNext(), nullptr);
    EXPECT_EQ(ChildNames(&Root), "a c");
    delete B;
    Root.deleteChild(A);
    EXPECT_EQ(ChildNames(&Root), "c");
    EXPECT_EQ(Log, (TEventLog{"b:deleted", "a:deleted"}));
}

TEST_F(TreeTest, DestroyingAContainerDestroysEveryChildHeadFirst) {
    auto* Inner = new TProbeParent(Log, "inner");
    Inner->appendChild(leaf("x"));
    Inner->appendChild(leaf("y"));
    {
        TProbeParent Box(Log, "box");
        Box.appendChild(leaf("a"));
        Box.appendChild(Inner);
        Box.appendChild(leaf("b"));
    }
    // Each probe logs before its children go.
    EXPECT_EQ(
        Log, (TEventLog{"box:deleted", "a:deleted", "inner:deleted", "x:deleted", "y:deleted", "b:deleted"}));
}

TEST_F(TreeTest, SwapExchangesExactlyTheTwoPlaces) {
    TComponent* C[5];
    for (int i = 0; i < 5; i++)
        C[i] = Root.appendChild(leaf(std::string(1, static_cast<char>('a' + i))));
    Root.swapChildren(C[0], C[1]); // neighbours, head involved
    EXPECT_EQ(ChildNames(&Root), "b a c d e");
    Root.swapChildren(C[3], C[2]); // neighbours named in reverse order
    EXPECT_EQ(ChildNames(&Root), "b a d c e");
    Root.swapChildren(C[1], C[4]); // head and tail
    EXPECT_EQ(ChildNames(&Root), "e a d c b");
    Root.swapChildren(C[0], C[2]); // apart, in the middle
    EXPECT_EQ(ChildNames(&Root), "e c d a b");
    EXPECT_EQ(Root.getLastChild(), C[1]);
    EXPECT_NE(ThrownText([&] { Root.swapChildren(C[2], C[2]); }).find("Before1!=Before2"), std::string::npos);
    EXPECT_EQ(ChildNames(&Root), "e c d a b");
}

TEST_F(TreeTest, PlacementCountsNegativeValuesFromTheFarEdge) {
    Root.setSize(200, 100);
    TComponent* A = Root.appendChild(leaf("a"));
    Root.moveChild(A, -10, -20);
    EXPECT_EQ(A->X, 190);
    EXPECT_EQ(A->Y, 80);
    Root.placeChild(A, 5, 5, 0, -5);
    EXPECT_EQ(A->X, 5);
    EXPECT_EQ(A->Y, 5);
    EXPECT_EQ(A->getWidth(), 195);
    EXPECT_EQ(A->getHeight(), 90);
    Root.placeChild(A, -30, 10, 20, 7);
    EXPECT_EQ(A->X, 170);
    EXPECT_EQ(A->getWidth(), 20);
    EXPECT_EQ(A->getHeight(), 7);

    TProbeParent Empty(Log, "empty");
    TComponent* B = Empty.appendChild(leaf("b"));
    EXPECT_NE(ThrownText([&] { Empty.moveChild(B, 1, 1); }).find("Width>0"), std::string::npos);
    EXPECT_NE(ThrownText([&] { Root.moveChild(B, 1, 1); }).find("Child->Parent==this"), std::string::npos);
}

TEST_F(TreeTest, SetPositionOfAContainerTellsItsChildren) {
    Root.appendChild(leaf("a"));
    Root.appendChild(leaf("b"));
    Root.setPosition(3, 4);
    EXPECT_EQ(Log, (TEventLog{"a:parentMoved", "b:parentMoved"}));
    EXPECT_EQ(Root.X, 3);
}

TEST_F(TreeTest, FitToChildrenMovesChildrenInAndSizesToTheirExtent) {
    Root.fitToChildren(true); // no children: nothing changes
    EXPECT_EQ(Root.getWidth(), 0);
    TComponent* A = Root.appendChild(leaf("a"));
    TComponent* B = Root.appendChild(leaf("b"));
    Place(A, 10, 10, 20, 20);
    Place(B, 40, 10, 20, 20);
    Root.LogSizes = true;
    Root.fitToChildren(4, 4, 4, 4, true);
    EXPECT_EQ(A->X, 4);
    EXPECT_EQ(A->Y, 4);
    EXPECT_EQ(B->X, 34);
    EXPECT_EQ(B->Y, 4);
    EXPECT_EQ(Log.back(), "root:setSize 58x28");
    // Negative margins count by their amounts; the minimum size wins; not virtual: setSize is not told.
    Root.MinimumWidth = 100;
    Log.clear();
    Root.fitToChildren(-2, -2, -2, -2, false);
    EXPECT_EQ(A->X, 2);
    EXPECT_EQ(Root.getWidth(), 100);
    EXPECT_EQ(Root.getHeight(), 24);
    EXPECT_TRUE(Log.empty());
}

TEST_F(TreeTest, FitToChildAddsOnlyTheMarginsOutsideTheChild) {
    TComponent* A = Root.appendChild(leaf("a"));
    Place(A, 50, 50, 20, 10);
    Root.fitToChild(A, 3, 3, -3, -3, true);
    EXPECT_EQ(Root.getWidth(), 26);
    EXPECT_EQ(Root.getHeight(), 16);
    Root.fitToChild(A, 3, 3, 5, 5, true);
    EXPECT_EQ(Root.getWidth(), 23);
    EXPECT_EQ(A->X, 50);
    A->setSize(0, 10);
    EXPECT_NE(ThrownText([&] { Root.fitToChild(A, 0, 0, 0, 0, true); }).find("Child->getWidth()>0"),
              std::string::npos);
}

TEST_F(TreeTest, ClipChildrenCutsOrDeletes) {
    Root.setSize(100, 100);
    TComponent* A = Root.appendChild(leaf("a"));
    Place(A, -10, 50, 30, 80);
    Place(Root.appendChild(leaf("gone")), 150, 0, 10, 10);
    TComponent* Edge = Root.appendChild(leaf("edge"));
    Place(Edge, 100, 0, 10, 10); // left with width 0: kept
    Root.clipChildren(false);
    EXPECT_EQ(A->X, 0);
    EXPECT_EQ(A->Y, 50);
    EXPECT_EQ(A->getWidth(), 20);
    EXPECT_EQ(A->getHeight(), 50);
    EXPECT_EQ(ChildNames(&Root), "a edge");
    EXPECT_EQ(Edge->getWidth(), 0);

    Place(A, -10, 50, 30, 80);
    Root.deleteChild(Edge);
    TComponent* Inside = Root.appendChild(leaf("inside"));
    Place(Inside, 10, 10, 10, 10);
    Root.clipChildren(true);
    EXPECT_EQ(ChildNames(&Root), "inside");
}

} // namespace
