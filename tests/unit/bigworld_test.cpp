// bigworld, the game's world: it loads whole and every chest and safe zone can be reached from
// every home (that its textures load is the start-up test's).
#include "support/world_support.h"

#include <deque>

namespace {

using Cell = std::tuple<int, int, int>;

class BigWorld : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        Captured([&] {
            LoadRegistry(gRegistry);
            world_ = LoadWorld("worlds\\bigworld.txt");
        });
        worlds_.push_back(world_);
    }

    // Where a robot can stand, starting beside player's home: it steps to any of the eight
    // cells around it that are not blocked, and a teleporter end it steps onto sends it on.
    std::set<Cell> Reachable(int player) const {
        const Location& home = GetSafeZone(world_, player)->centre;
        std::deque<Location> queue = {{home.x + 1, home.y, home.z}};
        std::set<Cell> seen = {{home.x + 1, home.y, home.z}};
        for (; !queue.empty(); queue.pop_front()) {
            for (int step = 0; step < 9; step++) {
                const Location& at = queue.front();
                Location next = {at.x + step % 3 - 1, at.y + step / 3 - 1, at.z}, far;
                if (step == 4 || IsBlockedAt(world_, &next))
                    continue;
                if (GetTeleporterDestination(world_, &next, &far))
                    next = far;
                if (seen.insert({next.x, next.y, next.z}).second)
                    queue.push_back(next);
            }
        }
        return seen;
    }

    World* world_ = nullptr;
};

// The world is read to its end, and a robot reaches each chest and safe zone from every home.
TEST_F(BigWorld, EveryChestAndSafeZoneIsReachableFromEveryHome) {
    ASSERT_EQ(world_->safeZoneMarkers, NUM_SAFE_ZONES);
    for (int player = 0; player < NUM_SAFE_ZONES; player++) {
        std::set<Cell> reach = Reachable(player);
        std::set<int> entered, unreached;
        for (int i = 0; i < ChestCount(world_); i++) {
            const Chest* c = GetChestByIndex(world_, i);
            unreached.insert(i); // a robot opens the chest in the cell in front of it
            for (int step = 0; step < 9; step++)
                if (reach.count({c->x + step % 3 - 1, c->y + step / 3 - 1, c->z}) > 0)
                    unreached.erase(i);
        }
        for (const auto& [x, y, z] : reach) {
            const CellData* d = FindCellData(world_, x, y, z);
            entered.insert(d != nullptr ? d->safeZoneOwner : NO_SAFE_ZONE);
        }
        EXPECT_EQ(std::pair(entered, unreached),
                  std::pair(std::set<int>{0, 1, 2, 3, NO_SAFE_ZONE}, std::set<int>{}))
            << "from home " << player;
    }
}

} // namespace
