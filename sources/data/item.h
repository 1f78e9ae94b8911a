// item: an item's definition (uids 7000 upward) as the items file gives it.
#pragma once

#include "data/definitionfile.h"
#include "data/stats.h"
#include "foundation/utilities.h"

#include <cstdint>
#include <cstdio>

struct Item {
    int32_t uid;
    char name[NAME_SIZE];
    char desc[TEXT_SIZE];
    UsageArea usageArea; // where the menus offer it: none, wandering, combat or both
    Stats deltaStats;    // added to the user's stats by the items that change stats
};

Item* NewItem();
void FreeItem(Item* item);
// Reads from after "item:" up to "enditem:"; 0, or 1 after "Error reading item file\n" with
// out unchanged. A usage area outside 0 to 3 is refused.
int ReadItem(Item* out, FILE* file);
void PrintItem(const Item* item);
