#include "foundation/darray.h"
#include "support/test_support.h"

namespace {

std::vector<int> Values(DArray* a) {
    std::vector<int> out;
    for (int i = 0; i < DArrayLength(a); i++)
        out.push_back(*static_cast<int*>(DArrayNth(a, i)));
    return out;
}

TEST(DArray, GrowsByItsFirstAllocationAndMovesElementsOnInsertAndDelete) {
    DArray* a = DArrayNew(sizeof(int), 1);
    for (int v : {1, 2, 3, 4})
        DArrayAppend(a, &v);
    EXPECT_EQ(a->allocatedLength, 4);
    int v = 9;
    DArrayInsertAt(a, &v, 0); // full: grows, then shifts everything up
    DArrayDeleteAt(a, 2);
    EXPECT_EQ(Values(a), (std::vector<int>{9, 1, 3, 4}));
    DArrayFree(a);
}

} // namespace
