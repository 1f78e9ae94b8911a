#include "foundation/darray.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int At(DArray* a, int n) {
    return *static_cast<int*>(DArrayNth(a, n));
}

std::vector<int> Values(DArray* a) {
    std::vector<int> out;
    for (int i = 0; i < DArrayLength(a); i++)
        out.push_back(At(a, i));
    return out;
}

DArray* MakeArray(int allocate, std::initializer_list<int> values) {
    DArray* a = DArrayNew(sizeof(int), allocate);
    for (int v : values)
        DArrayAppend(a, &v);
    return a;
}

TEST(DArray, GrowsLinearlyByInitialAllocationAndKeepsValues) {
    for (int n : {0, -3}) { // a non-positive allocation gives eight slots
        DArray* empty = DArrayNew(sizeof(int), n);
        EXPECT_EQ(empty->allocatedLength, 8);
        EXPECT_EQ(empty->growDelta, 8);
        DArrayFree(empty);
    }
    DArray* a = MakeArray(4, {10, 11, 12, 13});
    EXPECT_EQ(a->allocatedLength, 4);
    int v = 14;
    DArrayAppend(a, &v);
    EXPECT_EQ(a->allocatedLength, 8);
    for (v = 15; v < 19; v++)
        DArrayAppend(a, &v);
    EXPECT_EQ(a->allocatedLength, 12);
    EXPECT_EQ(Values(a), (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 17, 18}));
    DArrayFree(a);
}

TEST(DArray, NthAtLengthIsTheEndAddressAndBeyondIsAnError) {
    DArray* a = MakeArray(4, {1, 2, 3});
    EXPECT_EQ(DArrayNth(a, 3), static_cast<char*>(DArrayNth(a, 2)) + sizeof(int));
    EXPECT_DEATH(DArrayNth(a, 4), "darray->logicalLength");
    EXPECT_DEATH(DArrayNth(a, -1), "n >= 0");
    EXPECT_DEATH(DArrayNth(nullptr, 0), "darray != NULL");
    DArrayFree(a);
}

TEST(DArray, InsertAndDeleteMoveOverlappingElements) {
    DArray* a = MakeArray(3, {1, 2, 3});
    int v = 9;
    DArrayInsertAt(a, &v, 0); // full: grows, then shifts everything up
    EXPECT_EQ(Values(a), (std::vector<int>{9, 1, 2, 3}));
    DArrayDeleteAt(a, 0);
    EXPECT_EQ(Values(a), (std::vector<int>{1, 2, 3}));
    DArrayDeleteAt(a, 2); // the last: nothing moves
    EXPECT_EQ(Values(a), (std::vector<int>{1, 2}));
    EXPECT_EQ(a->allocatedLength, 6); // storage never shrinks
    DArrayDeleteAt(a, 0);
    DArrayDeleteAt(a, 0);
    EXPECT_DEATH(DArrayDeleteAt(a, 0), "logicalLength > 0");
    DArrayFree(a);
}

TEST(DArray, ElementsAreCopiedByValue) {
    struct Big {
        double d[5];
    };
    DArray* a = DArrayNew(sizeof(Big), 1);
    Big b = {{1, 2, 3, 4, 5}};
    DArrayAppend(a, &b);
    b.d[0] = 100;
    DArrayAppend(a, &b);
    EXPECT_EQ(static_cast<Big*>(DArrayNth(a, 0))->d[0], 1);
    EXPECT_EQ(static_cast<Big*>(DArrayNth(a, 1))->d[0], 100);
    EXPECT_EQ(static_cast<Big*>(DArrayNth(a, 1))->d[4], 5);
    EXPECT_DEATH(DArrayNew(0, 4), "elemSize > 0");
    DArrayFree(a);
}

} // namespace
