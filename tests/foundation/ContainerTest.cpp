// Index-range containers: construction checks, out-of-range texts and growth at either end.
#include "foundation/Container.h"

#include <gtest/gtest.h>

namespace {

template <typename F> std::string TextOf(F Body) {
    try {
        Body();
    } catch (const TMyException& E) {
        return E.getText();
    }
    return "no exception";
}

bool EndsWith(const std::string& Text, const std::string& Tail) {
    return Text.size() >= Tail.size() && Text.compare(Text.size() - Tail.size(), Tail.size(), Tail) == 0;
}

} // namespace

TEST(FixedArray, RangeChecks) {
    EXPECT_TRUE(EndsWith(TextOf([] { TFixedArray<int> A(5, 4); }), "assertion failed (d = 0), reason:\nd>0"));
    TFixedArray<int> One(5, 5);
    One.at(5) = 42;
    EXPECT_EQ(One.at(5), 42);
    EXPECT_TRUE(
        EndsWith(TextOf([&] { One.at(7); }), ": index out of range (original i: 7, i: 2, min: 5, d: 1)"));
    EXPECT_EQ(One.at(5), 42);
}

TEST(Matrix, RowByRowAndOutOfRangeText) {
    TMatrix<int> M(-111, 111, -111, 111);
    M.at(-111, 111) = 1;
    M.at(111, -111) = 2;
    EXPECT_EQ(M.at(-111, 111), 1);
    EXPECT_EQ(M.at(111, -111), 2);
    EXPECT_TRUE(EndsWith(TextOf([&] { M.at(0, 112); }),
                         ": index out of range (original x: 0, original y: 112, x: 111, y: 223, xmin: -111, "
                         "ymin: -111, dx: 223, dy: 223)"));
    EXPECT_TRUE(EndsWith(TextOf([] { TMatrix<int> Bad(0, 1, 3, 2); }), "(dy = 0), reason:\ndy>0"));
}

TEST(Matrix3D, OnePastDzReportsTheReducedZWithTheBugTag) {
    TMatrix3D<int> M(0, 17, 0, 13, 0, 7);
    M.at(17, 13, 7) = 9;
    EXPECT_EQ(M.at(17, 13, 7), 9);
    EXPECT_TRUE(
        EndsWith(TextOf([&] { M.at(1, 2, 8); }),
                 ": index out of range (original x: 1, original y: 2, original z: 8, x: 1, y: 2, z: 8, "
                 "xmin: 0, ymin: 0, zmin: 0, dx: 18, dy: 14, dz: 8), reason:\n[bug0000013]"));
    EXPECT_TRUE(EndsWith(TextOf([] { TMatrix3D<int> Bad(0, 0, 0, 0, 1, 0); }), "(dz = 0), reason:\ndz>0"));
}

TEST(DynamicArray, GrowsAtLeastByItsBlockAndInitialisesNewElements) {
    TDynamicArray<int> A(0, 9, 10, -1);
    A.at(3) = 7;
    A.at(25);
    EXPECT_GE(A.getSpace(), 26);
    EXPECT_EQ(A.getMax(), 25);
    EXPECT_EQ(A.at(3), 7);
    for (int i = 10; i <= 25; i++)
        EXPECT_EQ(A.at(i), -1);
    EXPECT_EQ(A.getMax(), 25);
}

TEST(DynamicArray, AppendsOneAtATimeGrowGeometricallyWhateverTheBlock) {
    // A block of one must not make a long run of appends copy the whole array on each one.
    TDynamicArray<int> A(0, 0, 1, 0);
    int32_t Growths = 0, Space = A.getSpace();
    for (int32_t i = 1; i < 100000; i++) {
        A.at(i) = i;
        if (A.getSpace() != Space) Growths++, Space = A.getSpace();
    }
    EXPECT_LE(Growths, 17);
    EXPECT_EQ(A.at(99999), 99999);
}

TEST(DynamicArray, BlockZeroDoublesAndGrowsDownwards) {
    TDynamicArray<int> A(0, 9, 0);
    A.at(9) = 5;
    A.at(-1) = 4;
    EXPECT_EQ(A.getSpace(), 20);
    EXPECT_EQ(A.getStart(), -10);
    EXPECT_EQ(A.getMin(), -1);
    EXPECT_EQ(A.at(9), 5);
    EXPECT_EQ(A.at(-1), 4);
}

TEST(DynamicArray, AccessInsideTheRangeChangesNothing) {
    TDynamicArray<std::string> A(-2, 2, 1);
    A.at(-2) = "low";
    for (int i = -2; i <= 2; i++)
        A.at(i);
    EXPECT_EQ(A.getMin(), -2);
    EXPECT_EQ(A.getMax(), 2);
    EXPECT_EQ(A.getStart(), -2);
    EXPECT_EQ(A.getSpace(), 5);
    EXPECT_EQ(A.at(-2), "low");
    EXPECT_TRUE(
        EndsWith(TextOf([] { TDynamicArray<int> Bad(0, 1, -1); }), "(block = -1), reason:\nblock>=0"));
}
