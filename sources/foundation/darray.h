// darray: the growable array of fixed-size elements used for every collection of the game.
//
// Elements are stored by value: the array copies elemSize bytes in and hands out addresses
// into its own storage. Growth is linear, by the initial allocation each time.
#pragma once

struct DArray {
    char* base;
    int elemSize;
    int logicalLength;
    int allocatedLength;
    int growDelta;
};

DArray* DArrayNew(int elemSize, int numAllocate);
void DArrayFree(DArray* darray);
int DArrayLength(const DArray* darray);
void* DArrayNth(DArray* darray, int n);
void DArrayInsertAt(DArray* darray, const void* elem, int n);
void DArrayAppend(DArray* darray, const void* elem);
void DArrayDeleteAt(DArray* darray, int n);
