#include "foundation/hash.h"
#include "foundation/list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int CompareInt(const void* key, const void* data) {
    return *static_cast<const int*>(key) - *static_cast<const int*>(data);
}

std::vector<int> Contents(List* list) {
    std::vector<int> out;
    for (ListNode* n = list->head; n != nullptr; n = n->next)
        out.push_back(*static_cast<int*>(n->data));
    // The backward links must agree with the forward ones.
    std::vector<int> back;
    for (ListNode* n = list->tail; n != nullptr; n = n->prev)
        back.insert(back.begin(), *static_cast<int*>(n->data));
    EXPECT_EQ(out, back);
    return out;
}

int gFreed;
void CountFree(void*) {
    gFreed++;
}

TEST(List, RemovesHeadTailMiddleAndOnlyNode) {
    int v[4] = {1, 2, 3, 4};
    List* list = ListNew();
    for (int& x : v)
        ListAppend(list, &x);
    ListRemoveNode(list, list->tail, nullptr);
    EXPECT_EQ(Contents(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list->tail->next, nullptr);
    ListRemoveNode(list, list->head, nullptr);
    EXPECT_EQ(Contents(list), (std::vector<int>{2, 3}));
    EXPECT_EQ(list->head->prev, nullptr);
    ListAppend(list, &v[3]);
    ListRemoveNode(list, list->head->next, nullptr);
    EXPECT_EQ(Contents(list), (std::vector<int>{2, 4}));
    ListRemoveNode(list, list->head, nullptr);
    ListRemoveNode(list, list->head, nullptr);
    EXPECT_EQ(list->head, nullptr);
    EXPECT_EQ(list->tail, nullptr);
    ListAppend(list, &v[0]); // an emptied list is usable again
    EXPECT_EQ(Contents(list), (std::vector<int>{1}));
    ListFree(list, nullptr);
}

TEST(List, FindMapAndClear) {
    int v[3] = {5, 6, 5};
    List* list = ListNew();
    for (int& x : v)
        ListAppend(list, &x);
    int key = 5;
    EXPECT_EQ(ListFind(list, &key, CompareInt)->data, &v[0]); // first from the head
    key = 7;
    EXPECT_EQ(ListFind(list, &key, CompareInt), nullptr);
    ListMap(list, nullptr, nullptr); // a null function does nothing
    int sum = 0;
    ListMap(
        list,
        [](void* data, void* aux, ListNode*) {
            *static_cast<int*>(aux) += *static_cast<int*>(data);
        },
        &sum);
    EXPECT_EQ(sum, 16);
    gFreed = 0;
    ListClear(list, CountFree);
    EXPECT_EQ(gFreed, 3);
    EXPECT_EQ(list->head, nullptr);
    EXPECT_EQ(list->tail, nullptr);
    ListFree(list, nullptr);
}

// Entries readable as their own key: the first field is the key.
struct Entry {
    int key;
    int value;
};
int HashMod7(const void* p) {
    return *static_cast<const int*>(p) % 7;
}
int CompareKey(const void* key, const void* elem) {
    return *static_cast<const int*>(key) == static_cast<const Entry*>(elem)->key ? 0 : 1;
}

TEST(HashTable, LookupInsertRemoveAndDuplicates) {
    gFreed = 0;
    HashTable* t = HashTableNew(HashMod7, CompareKey, CountFree, 7);
    Entry a = {3, 1}, b = {10, 2}, c = {3, 3};
    HashTableInsert(t, &a);
    HashTableInsert(t, &b); // same bucket as 3
    HashTableInsert(t, &c); // same key as a
    int key = 3;
    EXPECT_EQ(HashTableLookup(t, &key), &a);
    key = 10;
    EXPECT_EQ(HashTableLookup(t, &key), &b);
    key = 17;
    EXPECT_EQ(HashTableLookup(t, &key), nullptr);
    HashTableRemove(t, &key); // absent: nothing happens, nothing freed
    EXPECT_EQ(gFreed, 0);
    key = 3;
    HashTableRemove(t, &key);
    EXPECT_EQ(gFreed, 1);
    EXPECT_EQ(HashTableLookup(t, &key), &c); // the later duplicate is found now
    key = 10;
    EXPECT_EQ(HashTableLookup(t, &key), &b);
    HashTableFree(t);
    EXPECT_EQ(gFreed, 3);
}

TEST(HashTable, MapAndToArrayGoInBucketOrder) {
    HashTable* t = HashTableNew(HashMod7, CompareKey, nullptr, 7);
    Entry e[4] = {{8, 0}, {2, 0}, {1, 0}, {15, 0}}; // buckets 1, 2, 1, 1
    for (Entry& x : e)
        HashTableInsert(t, &x);
    DArray* array = HashTableToArray(t, 2);
    ASSERT_EQ(DArrayLength(array), 4);
    std::vector<int> keys;
    for (int i = 0; i < 4; i++)
        keys.push_back((*static_cast<Entry**>(DArrayNth(array, i)))->key);
    EXPECT_EQ(keys, (std::vector<int>{8, 1, 15, 2}));
    DArrayFree(array);
    std::vector<int> mapped;
    HashTableMap(
        t,
        [](void* elem, void* aux) {
            static_cast<std::vector<int>*>(aux)->push_back(static_cast<Entry*>(elem)->key);
        },
        &mapped);
    EXPECT_EQ(mapped, keys);
    EXPECT_DEATH(HashTableLookup(nullptr, &e[0]), "hTable != NULL");
    HashTableFree(t);
}

} // namespace
