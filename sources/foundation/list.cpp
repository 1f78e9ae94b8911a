// list: nodes from the heap, linked both ways; the record itself is the caller's.
#include "foundation/list.h"

#include "foundation/assertion.h"

#include <cstdlib>

List* ListNew() {
    List* list = static_cast<List*>(std::malloc(sizeof(List)));
    if (list == NULL)
        return NULL;
    list->head = NULL;
    list->tail = NULL;
    return list;
}

void ListFree(List* list, ListFreeFn freeFn) {
    if (list == NULL)
        return;
    ListClear(list, freeFn);
    std::free(list);
}

ListNode* ListAppend(List* list, void* data) {
    VASSERT(list != NULL);
    ListNode* lnode = static_cast<ListNode*>(std::malloc(sizeof(ListNode)));
    VASSERT(lnode != NULL);
    lnode->data = data;
    lnode->next = NULL;
    lnode->prev = list->tail;
    if (list->tail != NULL)
        list->tail->next = lnode;
    else
        list->head = lnode;
    list->tail = lnode;
    return lnode;
}

ListNode* ListFind(List* list, const void* key, ListCompareFn compare) {
    VASSERT(list != NULL);
    for (ListNode* n = list->head; n != NULL; n = n->next) {
        if (compare(key, n->data) == 0)
            return n;
    }
    return NULL;
}

void ListRemoveNode(List* list, ListNode* lnode, ListFreeFn freeFn) {
    VASSERT(list != NULL);
    VASSERT(lnode != NULL);
    if (lnode->prev != NULL)
        lnode->prev->next = lnode->next;
    else
        list->head = lnode->next;
    if (lnode->next != NULL)
        lnode->next->prev = lnode->prev;
    else
        list->tail = lnode->prev;
    if (freeFn != NULL)
        freeFn(lnode->data);
    std::free(lnode);
}

void ListClear(List* list, ListFreeFn freeFn) {
    VASSERT(list != NULL);
    ListNode* n = list->head;
    while (n != NULL) {
        ListNode* next = n->next;
        if (freeFn != NULL)
            freeFn(n->data);
        std::free(n);
        n = next;
    }
    list->head = NULL;
    list->tail = NULL;
}

void ListMap(List* list, ListMapFn fn, void* auxData) {
    VASSERT(list != NULL);
    if (fn == NULL)
        return;
    for (ListNode* n = list->head; n != NULL;) {
        fn(n->data, auxData, n);
        n = n->next;
    }
}
