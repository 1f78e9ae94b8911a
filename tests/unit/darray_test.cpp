#include "foundation/darray.h"

#include <gtest/gtest.h>

namespace {

int At(DArray* a, int n) {
    return *static_cast<int*>(DArrayNth(a, n));
}

DArray* MakeArray(int allocate, std::initializer_list<int> values) {
    DArray* a = DArrayNew(sizeof(int), allocate);
    for (int v : values)
        DArrayAppend(a, &v);
    return a;
}

TEST(DArray, NonPositiveAllocationGivesEightSlots) {
    for (int n : {0, -3}) {
        DArray* a = DArrayNew(sizeof(int), n);
        EXPECT_EQ(a->allocatedLength, 8);
        EXPECT_EQ(a->growDelta, 8);
        EXPECT_EQ(DArrayLength(a), 0);
        DArrayFree(a);
    }
}

TEST(DArray, GrowsLinearlyByInitialAllocationAndKeepsValues) {
    DArray* a = MakeArray(4, {10, 11, 12, 13});
    EXPECT_EQ(a->allocatedLength, 4);
    int v = 14;
    DArrayAppend(a, &v);
    EXPECT_EQ(a->allocatedLength, 8);
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(At(a, i), 10 + i);
    for (v = 15; v < 19; v++)
        DArrayAppend(a, &v);
    EXPECT_EQ(a->allocatedLength, 12);
    EXPECT_EQ(DArrayLength(a), 9);
    EXPECT_EQ(At(a, 8), 18);
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
    ASSERT_EQ(DArrayLength(a), 4);
    EXPECT_EQ(At(a, 0), 9);
    EXPECT_EQ(At(a, 1), 1);
    EXPECT_EQ(At(a, 2), 2);
    EXPECT_EQ(At(a, 3), 3);
    DArrayDeleteAt(a, 0);
    EXPECT_EQ(At(a, 0), 1);
    EXPECT_EQ(At(a, 1), 2);
    EXPECT_EQ(At(a, 2), 3);
    DArrayDeleteAt(a, 2); // the last: nothing moves
    EXPECT_EQ(DArrayLength(a), 2);
    EXPECT_EQ(At(a, 1), 2);
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
