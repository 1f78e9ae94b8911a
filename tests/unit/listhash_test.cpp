#include "foundation/hash.h"
#include "foundation/list.h"
#include "support/test_support.h"

namespace {

int gFreed;
void CountFree(void*) {
    gFreed++;
}

TEST(List, RemovingAnyNodeKeepsBothDirectionsLinked) {
    int v[5] = {1, 2, 3, 4, 5};
    List* list = ListNew();
    for (int& x : v)
        ListAppend(list, &x);
    for (ListNode* node : {list->head->next->next, list->tail, list->head}) // middle, tail, head
        ListRemoveNode(list, node, nullptr);
    EXPECT_TRUE(list->head->data == &v[1] && list->head->next == list->tail &&
                list->tail->data == &v[3] && list->tail->prev == list->head &&
                list->head->prev == nullptr && list->tail->next == nullptr);
    gFreed = 0;
    ListFree(list, CountFree);
    EXPECT_EQ(gFreed, 2);
}

TEST(HashTable, FindsTheEarliestOfEqualKeysListsByBucketAndFreesEachElementOnce) {
    gFreed = 0;
    HashTable* t =
        HashTableNew([](const void* p) { return *static_cast<const int*>(p) % 7; },
                     [](const void* a, const void* b) {
                         return *static_cast<const int*>(a) - *static_cast<const int*>(b);
                     },
                     CountFree, 7);
    int e[4] = {3, 10, 7, 3}; // its own key; 3 and 10 share bucket 3, 7 is in bucket 0
    for (int& x : e)
        HashTableInsert(t, &x);
    auto find = [&](int key) { return HashTableLookup(t, &key); };
    EXPECT_EQ(std::vector({find(3), find(10), find(17)}),
              (std::vector<void*>{&e[0], &e[1], nullptr}));
    for (int key : {17, 3}) // an absent key removes nothing
        HashTableRemove(t, &key);
    EXPECT_EQ(std::pair(gFreed, find(3)), std::pair(1, static_cast<void*>(&e[3])));
    DArray* array = HashTableToArray(t, 1);
    std::vector<int*> listed;
    for (int i = 0; i < DArrayLength(array); i++)
        listed.push_back(*static_cast<int**>(DArrayNth(array, i)));
    EXPECT_EQ(listed, (std::vector<int*>{&e[2], &e[1], &e[3]}));
    DArrayFree(array);
    HashTableFree(t);
    EXPECT_EQ(gFreed, 4);
}

} // namespace
