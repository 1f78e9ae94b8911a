// hash: bucket index straight from the caller's hash function, searches from each bucket's head.
#include "foundation/hash.h"

#include "foundation/assertion.h"

#include <cstdlib>

HashTable* HashTableNew(HashFn hashFn, HashCompareFn compareFn, HashFreeFn freeFn, int numBuckets) {
    VASSERT(numBuckets > 0);
    HashTable* hTable = static_cast<HashTable*>(std::malloc(sizeof(HashTable)));
    if (hTable == NULL)
        return NULL;
    hTable->buckets = static_cast<List**>(std::malloc(sizeof(List*) * numBuckets));
    VASSERT(hTable->buckets != NULL);
    for (int i = 0; i < numBuckets; i++)
        VASSERT((hTable->buckets[i] = ListNew()) != NULL);
    hTable->hashFn = hashFn;
    hTable->compareFn = compareFn;
    hTable->freeFn = freeFn;
    hTable->numBuckets = numBuckets;
    return hTable;
}

void HashTableFree(HashTable* hTable) {
    if (hTable == NULL)
        return;
    for (int i = 0; i < hTable->numBuckets; i++)
        ListFree(hTable->buckets[i], hTable->freeFn);
    std::free(hTable->buckets);
    std::free(hTable);
}

static List* BucketOf(HashTable* hTable, const void* elemOrKey) {
    int index = hTable->hashFn(elemOrKey);
    VASSERT(index >= 0 && index < hTable->numBuckets);
    return hTable->buckets[index];
}

void HashTableInsert(HashTable* hTable, void* element) {
    VASSERT(hTable != NULL);
    ListAppend(BucketOf(hTable, element), element);
}

void* HashTableLookup(HashTable* hTable, const void* key) {
    VASSERT(hTable != NULL);
    ListNode* n = ListFind(BucketOf(hTable, key), key, hTable->compareFn);
    return n != NULL ? n->data : NULL;
}

void HashTableRemove(HashTable* hTable, const void* key) {
    VASSERT(hTable != NULL);
    List* bucket = BucketOf(hTable, key);
    ListNode* n = ListFind(bucket, key, hTable->compareFn);
    if (n != NULL)
        ListRemoveNode(bucket, n, hTable->freeFn);
}

void HashTableMap(HashTable* hTable, HashMapFn fn, void* auxData) {
    VASSERT(hTable != NULL);
    if (fn == NULL)
        return;
    for (int i = 0; i < hTable->numBuckets; i++) {
        for (ListNode* n = hTable->buckets[i]->head; n != NULL;) {
            ListNode* next = n->next;
            fn(n->data, auxData);
            n = next;
        }
    }
}

static void AppendPointer(void* elem, void* auxData) {
    DArrayAppend(static_cast<DArray*>(auxData), &elem);
}

DArray* HashTableToArray(HashTable* hTable, int numAllocate) {
    VASSERT(hTable != NULL);
    DArray* array = DArrayNew(sizeof(void*), numAllocate);
    HashTableMap(hTable, AppendPointer, array);
    return array;
}
