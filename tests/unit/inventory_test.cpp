#include "data/inventory.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The inventory under test, with what its operations print.
class InventoryTest : public ::testing::Test {
  protected:
    void SetUp() override { inventory = NewInventory(); }
    void TearDown() override {
        Captured([&] { FreeInventory(inventory); });
    }
    std::vector<int> Uids() {
        int count = -1;
        int32_t* uids = InventoryGetUids(inventory, &count);
        std::vector<int> list(uids, uids + count);
        std::free(uids);
        return list;
    }
    Inventory* inventory = nullptr;
};

TEST_F(InventoryTest, AnEntryGoesWhenItsQuantityDropsBelowOne) {
    for (int i = 0; i < 3; i++)
        AddItemToInventory(inventory, 7000);
    std::string out = Captured([&] {
        RemoveItemFromInventory(inventory, 7000);
        RemoveItemFromInventory(inventory, 7000);
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(ItemGetQuantity(inventory, 7000), 1);
    out = Captured([&] { RemoveItemFromInventory(inventory, 7000); });
    EXPECT_EQ(out, "freeing item:\nuid: 7000, quantity: 0\n");
    EXPECT_FALSE(HasItem(inventory, 7000));
    EXPECT_EQ(InventoryGetEntry(inventory, 7000), nullptr);
    EXPECT_TRUE(Uids().empty());
}

TEST_F(InventoryTest, QuantitiesAreAddedSetAndKeptAtZero) {
    AddItemsToInventory(inventory, 7002, 5);
    AddItemsToInventory(inventory, 7002, 2);
    EXPECT_EQ(Uids(), std::vector<int>{7002});
    EXPECT_EQ(ItemGetQuantity(inventory, 7002), 7);
    ItemSetQuantity(inventory, 7002, 0);
    EXPECT_TRUE(HasItem(inventory, 7002));
    EXPECT_EQ(Uids(), std::vector<int>{7002});
    EXPECT_EQ(InventoryGetEntry(inventory, 7002)->quantity, 0);
    // Quantities stop at the 32-bit limits instead of wrapping.
    AddItemsToInventory(inventory, 7001, INT32_MAX);
    AddItemsToInventory(inventory, 7001, 10);
    EXPECT_EQ(ItemGetQuantity(inventory, 7001), INT32_MAX);
}

TEST_F(InventoryTest, UidsNotHeldPrintTheirMessageAndChangeNothing) {
    AddItemToInventory(inventory, 6000);
    int quantity = -1;
    std::string out = Captured([&] {
        quantity = ItemGetQuantity(inventory, 7005);
        ItemSetQuantity(inventory, 7005, 3);
        RemoveItemFromInventory(inventory, 7005);
    });
    EXPECT_EQ(out, "ItemGetQuantity: unknown uid: 7005ItemSetQuantity: unknown uid: 7005"
                   "RemoveItemFromInventory: unknown uid: 7005");
    EXPECT_EQ(quantity, 0);
    EXPECT_FALSE(HasItem(inventory, 7005));
    EXPECT_EQ(Uids(), std::vector<int>{6000});
    EXPECT_EQ(ItemGetQuantity(inventory, 6000), 1);
}

TEST_F(InventoryTest, ListingRunsByUidModuloHundredThenFirstInsertion) {
    for (int uid : {7101, 7050, 7001, 7000, 6000, -7001})
        AddItemToInventory(inventory, uid);
    AddItemToInventory(inventory, 7101); // adding again does not move an entry
    // A negative uid lands in bucket 99, the last.
    EXPECT_EQ(Uids(), (std::vector<int>{7000, 6000, 7101, 7001, 7050, -7001}));
    EXPECT_EQ(ItemGetQuantity(inventory, 7101), 2);
    EXPECT_EQ(ItemGetQuantity(inventory, -7001), 1);
}

TEST_F(InventoryTest, EnergonBecomesMagiciteTenForOne) {
    EXPECT_EQ(ConvertEnergonToMagicite(inventory), 0); // none held: quietly nothing
    AddItemsToInventory(inventory, ENERGON_ITEM_UID, 10);
    EXPECT_EQ(ConvertEnergonToMagicite(inventory), 0);
    EXPECT_EQ(ItemGetQuantity(inventory, ENERGON_ITEM_UID), 10);
    EXPECT_FALSE(HasItem(inventory, MAGICITE_ITEM_UID));
    AddItemsToInventory(inventory, ENERGON_ITEM_UID, 15);
    AddItemToInventory(inventory, MAGICITE_ITEM_UID);
    EXPECT_EQ(ConvertEnergonToMagicite(inventory), 1);
    EXPECT_EQ(ItemGetQuantity(inventory, ENERGON_ITEM_UID), 5);
    EXPECT_EQ(ItemGetQuantity(inventory, MAGICITE_ITEM_UID), 3);
    // 20 leave an entry of 0 energon behind.
    AddItemsToInventory(inventory, ENERGON_ITEM_UID, 15);
    EXPECT_EQ(ConvertEnergonToMagicite(inventory), 1);
    EXPECT_TRUE(HasItem(inventory, ENERGON_ITEM_UID));
    EXPECT_EQ(ItemGetQuantity(inventory, ENERGON_ITEM_UID), 0);
    EXPECT_EQ(ItemGetQuantity(inventory, MAGICITE_ITEM_UID), 5);
}

TEST(Inventory, FreeingReportsEveryEntry) {
    Inventory* inventory = NewInventory();
    AddItemsToInventory(inventory, 7000, 4);
    AddItemToInventory(inventory, 6000);
    EXPECT_EQ(Captured([&] { FreeInventory(inventory); }),
              "freeing item:\nuid: 7000, quantity: 4\nfreeing item:\nuid: 6000, quantity: 1\n");
}

} // namespace
