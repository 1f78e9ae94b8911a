// inventory: what a robot carries, a multiset of uids with a quantity each.
//
// Entries are uids, not objects; the registry says what a uid stands for. Items are the usual
// contents, but any uid can be held (the player starts with armor 6000, and energon collected
// from the world is counted as item 7001).
#pragma once

#include "foundation/hash.h"

#include <cstdint>

constexpr int INVENTORY_BUCKETS = 100;
constexpr int ENERGON_ITEM_UID = 7001;
constexpr int MAGICITE_ITEM_UID = 7002;

// The uid first, so that an entry is readable as its own key.
struct InventoryEntry {
    int32_t uid;
    int32_t quantity;
};

struct Inventory {
    HashTable* table;
};

Inventory* NewInventory();
// Releases the inventory; each entry prints "freeing item:\n" and "uid: %d, quantity: %d\n".
void FreeInventory(Inventory* inventory);
void AddItemToInventory(Inventory* inventory, int uid);
// Adds count to the entry of uid, creating it with quantity count when there is none. The
// quantity stops at the limits of 32 bits rather than wrapping.
void AddItemsToInventory(Inventory* inventory, int uid, int count);
// Takes one away; an entry whose quantity drops below 1 is removed (with the free message).
// A uid that is not held prints "RemoveItemFromInventory: unknown uid: %d" and changes nothing.
void RemoveItemFromInventory(Inventory* inventory, int uid);
// The quantity; a uid not held prints "ItemGetQuantity: unknown uid: %d" and yields 0.
int ItemGetQuantity(Inventory* inventory, int uid);
// Sets the quantity of a held uid (0 keeps the entry); a uid not held prints
// "ItemSetQuantity: unknown uid: %d" and changes nothing.
void ItemSetQuantity(Inventory* inventory, int uid, int quantity);
InventoryEntry* InventoryGetEntry(Inventory* inventory, int uid);
// True when an entry for uid exists, whatever its quantity.
bool HasItem(Inventory* inventory, int uid);
// A new array of the held uids (free it with free()) and its length in count. The order is
// the table's: by uid modulo 100 ascending, and within that in order of first insertion.
int32_t* InventoryGetUids(Inventory* inventory, int* count);
// At home a robot's energon turns into magicite: when 11 or more of item 7001 are held,
// quantity / 10 of item 7002 are added and quantity % 10 of 7001 stay (25 become 2 and 5;
// 10 stay 10). Returns 1 when it converted, else 0.
int ConvertEnergonToMagicite(Inventory* inventory);
