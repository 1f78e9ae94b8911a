// list: a doubly linked list of untyped element pointers.
//
// The list never copies what its elements point to; a free callback, where one is given,
// releases an element as its node goes.
#pragma once

struct ListNode {
    void* data;
    ListNode* prev;
    ListNode* next;
};

struct List {
    ListNode* head;
    ListNode* tail;
};

using ListCompareFn = int (*)(const void* key, const void* data);
using ListFreeFn = void (*)(void* data);
using ListMapFn = void (*)(void* data, void* auxData, ListNode* node);

List* ListNew();
void ListFree(List* list, ListFreeFn freeFn);
ListNode* ListAppend(List* list, void* data);
ListNode* ListFind(List* list, const void* key, ListCompareFn compare);
void ListRemoveNode(List* list, ListNode* lnode, ListFreeFn freeFn);
void ListClear(List* list, ListFreeFn freeFn);
void ListMap(List* list, ListMapFn fn, void* auxData);
