// inventory: a 100-bucket hash table of InventoryEntry keyed by uid.
#include "data/inventory.h"

#include "data/uidkey.h"
#include "foundation/assertion.h"
#include "foundation/utilities.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

static int InventoryHash(const void* elemOrKey) {
    return UidBucket(elemOrKey, INVENTORY_BUCKETS);
}

static void FreeInventoryEntry(void* elem) {
    InventoryEntry* entry = static_cast<InventoryEntry*>(elem);
    std::printf("freeing item:\n");
    std::printf("uid: %d, quantity: %d\n", entry->uid, entry->quantity);
    std::free(entry);
}

Inventory* NewInventory() {
    Inventory* inventory = static_cast<Inventory*>(SafeMalloc(sizeof(Inventory)));
    inventory->table =
        HashTableNew(InventoryHash, CompareLeadingUids, FreeInventoryEntry, INVENTORY_BUCKETS);
    VASSERT(inventory->table != NULL);
    return inventory;
}

void FreeInventory(Inventory* inventory) {
    if (inventory == NULL)
        return;
    HashTableFree(inventory->table);
    std::free(inventory);
}

InventoryEntry* InventoryGetEntry(Inventory* inventory, int uid) {
    VASSERT(inventory != NULL);
    int32_t key = uid;
    return static_cast<InventoryEntry*>(HashTableLookup(inventory->table, &key));
}

bool HasItem(Inventory* inventory, int uid) {
    return InventoryGetEntry(inventory, uid) != NULL;
}

// A quantity plus a change, held at the 32-bit limits.
static int32_t SaturatingAdd(int32_t quantity, int32_t change) {
    int64_t sum = static_cast<int64_t>(quantity) + change;
    if (sum > INT32_MAX)
        return INT32_MAX;
    if (sum < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(sum);
}

void AddItemsToInventory(Inventory* inventory, int uid, int count) {
    InventoryEntry* entry = InventoryGetEntry(inventory, uid);
    if (entry != NULL) {
        entry->quantity = SaturatingAdd(entry->quantity, count);
        return;
    }
    entry = static_cast<InventoryEntry*>(SafeMalloc(sizeof(InventoryEntry)));
    entry->uid = uid;
    entry->quantity = count;
    HashTableInsert(inventory->table, entry);
}

void AddItemToInventory(Inventory* inventory, int uid) {
    AddItemsToInventory(inventory, uid, 1);
}

// The entry of a held uid, or null after "<caller>: unknown uid: %d" (no line end).
static InventoryEntry* HeldEntry(Inventory* inventory, int uid, const char* caller) {
    InventoryEntry* entry = InventoryGetEntry(inventory, uid);
    if (entry == NULL)
        std::printf("%s: unknown uid: %d", caller, uid);
    return entry;
}

void RemoveItemFromInventory(Inventory* inventory, int uid) {
    InventoryEntry* entry = HeldEntry(inventory, uid, "RemoveItemFromInventory");
    if (entry == NULL)
        return;
    entry->quantity = SaturatingAdd(entry->quantity, -1);
    if (entry->quantity < 1) {
        int32_t key = uid;
        HashTableRemove(inventory->table, &key);
    }
}

int ItemGetQuantity(Inventory* inventory, int uid) {
    InventoryEntry* entry = HeldEntry(inventory, uid, "ItemGetQuantity");
    return entry != NULL ? entry->quantity : 0;
}

void ItemSetQuantity(Inventory* inventory, int uid, int quantity) {
    InventoryEntry* entry = HeldEntry(inventory, uid, "ItemSetQuantity");
    if (entry != NULL)
        entry->quantity = quantity;
}

int32_t* InventoryGetUids(Inventory* inventory, int* count) {
    VASSERT(inventory != NULL && count != NULL);
    DArray* entries = HashTableToArray(inventory->table, 16);
    int n = DArrayLength(entries);
    int32_t* uids = static_cast<int32_t*>(SafeMalloc(sizeof(int32_t) * static_cast<size_t>(n)));
    for (int i = 0; i < n; i++) {
        const InventoryEntry* entry = *static_cast<InventoryEntry**>(DArrayNth(entries, i));
        uids[i] = entry->uid;
    }
    DArrayFree(entries);
    *count = n;
    return uids;
}

int ConvertEnergonToMagicite(Inventory* inventory) {
    InventoryEntry* energon = InventoryGetEntry(inventory, ENERGON_ITEM_UID);
    if (energon == NULL || energon->quantity < 11)
        return 0;
    int quantity = energon->quantity;
    AddItemsToInventory(inventory, MAGICITE_ITEM_UID, quantity / 10);
    ItemSetQuantity(inventory, ENERGON_ITEM_UID, quantity % 10);
    return 1;
}
