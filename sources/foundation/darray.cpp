// darray: contiguous storage, linear growth, overlapping moves on insert and delete.
#include "foundation/darray.h"

#include "foundation/assertion.h"

#include <cstdlib>
#include <cstring>

DArray* DArrayNew(int elemSize, int numAllocate) {
    VASSERT(elemSize > 0);
    if (numAllocate < 1)
        numAllocate = 8;
    DArray* temp = static_cast<DArray*>(std::malloc(sizeof(DArray)));
    VASSERT(temp != NULL);
    temp->base = static_cast<char*>(std::malloc(static_cast<size_t>(elemSize) * numAllocate));
    VASSERT(temp->base != NULL);
    temp->elemSize = elemSize;
    temp->logicalLength = 0;
    temp->allocatedLength = numAllocate;
    temp->growDelta = numAllocate;
    return temp;
}

void DArrayFree(DArray* darray) {
    VASSERT(darray != NULL);
    std::free(darray->base);
    std::free(darray);
}

int DArrayLength(const DArray* darray) {
    VASSERT(darray != NULL);
    return darray->logicalLength;
}

void* DArrayNth(DArray* darray, int n) {
    VASSERT(darray != NULL);
    VASSERT((n >= 0) && (n < darray->logicalLength)); // an element, never the end
    return darray->base + static_cast<size_t>(darray->elemSize) * n;
}

static void Grow(DArray* darray) {
    size_t newCount = static_cast<size_t>(darray->allocatedLength) + darray->growDelta;
    char* grown = static_cast<char*>(std::realloc(darray->base, darray->elemSize * newCount));
    VASSERT(grown != NULL);
    darray->base = grown;
    darray->allocatedLength = static_cast<int>(newCount);
}

void DArrayInsertAt(DArray* darray, const void* elem, int n) {
    VASSERT(darray != NULL);
    VASSERT((n >= 0) && (n <= darray->logicalLength));
    if (darray->logicalLength >= darray->allocatedLength)
        Grow(darray);
    size_t size = static_cast<size_t>(darray->elemSize);
    char* slot = darray->base + size * n;
    std::memmove(slot + size, slot, size * (darray->logicalLength - n));
    std::memcpy(slot, elem, size);
    darray->logicalLength++;
}

void DArrayAppend(DArray* darray, const void* elem) {
    VASSERT(darray != NULL);
    DArrayInsertAt(darray, elem, darray->logicalLength);
}

void DArrayDeleteAt(DArray* darray, int n) {
    VASSERT(darray != NULL);
    VASSERT(darray->logicalLength > 0);
    VASSERT((n >= 0) && (n < darray->logicalLength));
    size_t size = static_cast<size_t>(darray->elemSize);
    char* slot = darray->base + size * n;
    std::memmove(slot, slot + size, size * (darray->logicalLength - n - 1));
    darray->logicalLength--;
}
