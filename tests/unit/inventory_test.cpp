#include "data/inventory.h"
#include "support/test_support.h"

namespace {

// The quantity held, -1 for a uid without an entry.
int Held(Inventory* inventory, int uid) {
    const InventoryEntry* entry = InventoryGetEntry(inventory, uid);
    return entry != nullptr ? entry->quantity : -1;
}

TEST(Inventory, AnEntryGoesWhenItsQuantityDropsBelowOneAndAUidNotHeldChangesNothing) {
    Inventory* inventory = NewInventory();
    AddItemsToInventory(inventory, 7000, 2);
    AddItemToInventory(inventory, 7000);
    AddItemToInventory(inventory, 6000);
    auto removeTwice = [&] {
        return Captured([&] {
            RemoveItemFromInventory(inventory, 7000);
            RemoveItemFromInventory(inventory, 7000);
        });
    };
    EXPECT_EQ(removeTwice(), "");
    EXPECT_EQ(Held(inventory, 7000), 1);
    EXPECT_EQ(removeTwice(),
              "freeing item:\nuid: 7000, quantity: 0\nRemoveItemFromInventory: unknown uid: 7000");
    EXPECT_EQ(std::pair(Held(inventory, 7000), Held(inventory, 6000)), std::pair(-1, 1));
    // Quantities stop at the 32-bit limit instead of wrapping.
    AddItemsToInventory(inventory, 7001, INT32_MAX);
    AddItemsToInventory(inventory, 7001, 10);
    EXPECT_EQ(Held(inventory, 7001), INT32_MAX);
    Captured([&] { FreeInventory(inventory); });
}

TEST(Inventory, EnergonBecomesMagiciteTenForOneFromElevenOn) {
    const struct {
        int energon, magicite; // held before, -1 for none
        int converted, energonAfter, magiciteAfter;
    } cases[] = {{-1, -1, 0, -1, -1}, {10, -1, 0, 10, -1}, {25, 1, 1, 5, 3}, {20, -1, 1, 0, 2}};
    for (const auto& c : cases) {
        Inventory* inventory = NewInventory();
        for (auto [uid, count] :
             {std::pair(ENERGON_ITEM_UID, c.energon), std::pair(MAGICITE_ITEM_UID, c.magicite)})
            if (count >= 0)
                AddItemsToInventory(inventory, uid, count);
        EXPECT_EQ(
            (std::tuple{ConvertEnergonToMagicite(inventory), Held(inventory, ENERGON_ITEM_UID),
                        Held(inventory, MAGICITE_ITEM_UID)}),
            std::tuple(c.converted, c.energonAfter, c.magiciteAfter))
            << c.energon;
        Captured([&] { FreeInventory(inventory); });
    }
}

} // namespace
