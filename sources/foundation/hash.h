// hash: a chained hash table whose buckets are lists.
//
// The caller's hash function chooses the bucket and must return 0 to numBuckets - 1; keys and
// elements go through the same hash and compare functions, so an element must be readable as
// its own key. Duplicates are kept; lookups find the earliest.
#pragma once

#include "foundation/darray.h"
#include "foundation/list.h"

using HashFn = int (*)(const void* elemOrKey);
using HashCompareFn = int (*)(const void* key, const void* elem);
using HashFreeFn = void (*)(void* elem);
using HashMapFn = void (*)(void* elem, void* auxData);

struct HashTable {
    List** buckets;
    HashFn hashFn;
    HashCompareFn compareFn;
    HashFreeFn freeFn;
    int numBuckets;
};

HashTable* HashTableNew(HashFn hashFn, HashCompareFn compareFn, HashFreeFn freeFn, int numBuckets);
// Releases every bucket (calling freeFn on each element) and the table.
void HashTableFree(HashTable* hTable);
void HashTableInsert(HashTable* hTable, void* element);
void* HashTableLookup(HashTable* hTable, const void* key);
void HashTableRemove(HashTable* hTable, const void* key);
void HashTableMap(HashTable* hTable, HashMapFn fn, void* auxData);
// A new array of the element pointers in bucket order; the caller frees the array.
DArray* HashTableToArray(HashTable* hTable, int numAllocate);
