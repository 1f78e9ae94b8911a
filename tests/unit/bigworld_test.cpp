// bigworld, the game's world: it loads cleanly, every chest and safe zone can be reached from
// every home, its boxes never share space, and most energon lies where robots walk.
#include "core/mainloop.h"
#include "support/world_support.h"
#include "world/energon.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <set>
#include <tuple>

namespace {

using Cell = std::tuple<int, int, int>;

class BigWorld : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        output_ = Captured([&] {
            LoadRegistry(gRegistry);
            world_ = LoadWorld("worlds\\bigworld.txt");
        });
        worlds_.push_back(world_);
    }

    // Where a robot can stand, starting from start: it steps to any of the eight cells around
    // it that are not blocked, and a teleporter end it steps onto sends it to the other end.
    std::set<Cell> Reachable(Location start) const {
        std::set<Cell> seen = {{start.x, start.y, start.z}};
        std::deque<Location> queue = {start};
        while (!queue.empty()) {
            Location at = queue.front();
            queue.pop_front();
            for (int dx = -1; dx <= 1; dx++) {
                for (int dy = -1; dy <= 1; dy++) {
                    Location next = {at.x + dx, at.y + dy, at.z}, far;
                    if ((dx == 0 && dy == 0) || IsBlockedAt(world_, &next))
                        continue;
                    if (GetTeleporterDestination(world_, &next, &far))
                        next = far;
                    if (seen.insert({next.x, next.y, next.z}).second)
                        queue.push_back(next);
                }
            }
        }
        return seen;
    }

    static Location HomeStart(World* w, int player) {
        SafeZone* zone = GetSafeZone(w, player);
        return {zone->centre.x + 1, zone->centre.y, zone->centre.z};
    }

    World* world_ = nullptr;
    std::string output_;
};

TEST_F(BigWorld, LoadsWithoutErrorAndHoldsWhatTheGameNeeds) {
    EXPECT_EQ(output_.find("file error"), std::string::npos) << output_;
    EXPECT_GE(world_->sizeX, 40);
    EXPECT_GE(world_->sizeY, 40);
    EXPECT_EQ(world_->safeZoneMarkers, NUM_SAFE_ZONES);
    EXPECT_NE(world_->musicTrack, 0);
    EXPECT_GE(DArrayLength(world_->properties), 1);
    // The four homes lie near the four corners, one per corner.
    std::set<std::pair<bool, bool>> corners;
    for (int p = 0; p < NUM_SAFE_ZONES; p++) {
        SafeZone* zone = GetSafeZone(world_, p);
        ASSERT_EQ(zone->owner, p);
        int dx = std::min(zone->centre.x, world_->sizeX - 1 - zone->centre.x);
        int dy = std::min(zone->centre.y, world_->sizeY - 1 - zone->centre.y);
        EXPECT_LE(std::max(dx, dy), 8) << "safe zone " << p;
        corners.insert({zone->centre.x < world_->sizeX / 2, zone->centre.y < world_->sizeY / 2});
    }
    EXPECT_EQ(corners.size(), 4u);
    bool opaque = false, translucent = false;
    for (int i = 0; i < TeleporterCount(world_); i++)
        (GetTeleporter(world_, i)->translucent ? translucent : opaque) = true;
    EXPECT_TRUE(opaque && translucent);
}

TEST_F(BigWorld, ChestsHoldEveryWeaponArmorItemAndSkillOfTheDataSet) {
    ASSERT_GE(ChestCount(world_), 16);
    std::set<int> contents;
    int hidden = 0;
    for (int i = 0; i < ChestCount(world_); i++) {
        Chest* chest = GetChestByIndex(world_, i);
        contents.insert(chest->contents);
        hidden += chest->style != 0;
    }
    EXPECT_GE(hidden, 4);
    // Every uid the registry knows in the four chest types is in some chest, and no chest
    // holds a uid the registry does not know.
    std::set<int> known;
    Captured([&] { // a lookup finds any record; its uid range tells its type
        for (int type = EWeaponType; type <= ESkillType; type++)
            for (int uid = type * 1000; uid < type * 1000 + 100; uid++)
                if (LookupItem(gRegistry, uid) != nullptr)
                    known.insert(uid);
    });
    ASSERT_GE(known.size(), 16u);
    EXPECT_EQ(contents, known);
}

TEST_F(BigWorld, EveryChestAndSafeZoneIsReachableFromEveryHome) {
    bool platform = false;
    for (int player = 0; player < NUM_SAFE_ZONES; player++) {
        Location start = HomeStart(world_, player);
        ASSERT_FALSE(IsBlockedAt(world_, &start)) << "player " << player;
        std::set<Cell> reach = Reachable(start);
        for (int i = 0; i < ChestCount(world_); i++) {
            Chest* c = GetChestByIndex(world_, i);
            bool inFront = false; // a robot opens the chest in the cell in front of it
            for (int dx = -1; dx <= 1; dx++)
                for (int dy = -1; dy <= 1; dy++)
                    inFront |= reach.count({c->x + dx, c->y + dy, c->z}) > 0;
            EXPECT_TRUE(inFront) << "chest " << i << " from home " << player;
        }
        for (int owner = 0; owner < NUM_SAFE_ZONES; owner++) {
            bool entered = false;
            for (const Cell& cell : reach) {
                const CellData* d =
                    FindCellData(world_, std::get<0>(cell), std::get<1>(cell), std::get<2>(cell));
                entered |= d != nullptr && d->safeZoneOwner == owner;
            }
            EXPECT_TRUE(entered) << "safe zone " << owner << " from home " << player;
        }
        for (const Cell& cell : reach)
            platform |= std::get<2>(cell) > start.z;
    }
    EXPECT_TRUE(platform); // raised platforms, reached through teleporters
}

TEST_F(BigWorld, NoTwoBoxesShareSpace) {
    int n = BoxCount(world_);
    for (int i = 0; i < n; i++) {
        WorldBox* a = GetWorldBox(world_, i);
        for (int j = i + 1; j < n; j++) {
            WorldBox* b = GetWorldBox(world_, j);
            bool overlap = a->minimum.x < b->maximum.x && b->minimum.x < a->maximum.x &&
                           a->minimum.y < b->maximum.y && b->minimum.y < a->maximum.y &&
                           a->minimum.z < b->maximum.z && b->minimum.z < a->maximum.z;
            EXPECT_FALSE(overlap) << "boxes " << i << " and " << j;
        }
    }
}

TEST_F(BigWorld, MostEnergonLiesWhereRobotsWalk) {
    std::set<Cell> reach = Reachable(HomeStart(world_, 0));
    int placed = 0, walkable = 0;
    while (GenerateEnergon(world_, false) != nullptr) {
        placed++;
    }
    DArray* all = HashTableToArray(world_->energonTable, 256);
    for (int i = 0; i < DArrayLength(all); i++) {
        Energon* e = *static_cast<Energon**>(DArrayNth(all, i));
        EXPECT_EQ(Content(world_, e->x, e->y, e->z - 1), ESolid);
        walkable += reach.count({e->x, e->y, e->z}) > 0;
    }
    DArrayFree(all);
    EXPECT_EQ(placed, MAX_WORLD_ENERGON);
    EXPECT_GE(walkable * 4, placed * 3) << walkable << " of " << placed;
}

TimeStamp FixedClock() {
    return TimeStamp{1000, 0};
}

TEST_F(BigWorld, TheHostsFiftyDepositsGrowShrinkAndAreReplacedByTheTick) {
    SetRobotSlot(world_, 0, 3000); // the host alone: it replaces every deposit that expires
    long sent = EnergonBroadcastCount();
    std::set<int> seeded;
    for (int i = 0; i < INITIAL_ENERGON; i++)
        seeded.insert(GenerateEnergon(world_, true)->id);
    EXPECT_EQ(world_->energonCount, INITIAL_ENERGON);
    EXPECT_EQ(EnergonBroadcastCount(), sent + INITIAL_ENERGON);

    World* saved = gWorld;
    gWorld = world_;
    // Every deposit started together, so the picture changes together every 25 stages (the
    // stages themselves are the energon tests'), and all expire on the same tick.
    int redraws = 0;
    for (int tick = 1; tick <= 999; tick++)
        redraws += RunGameTick(FixedClock).changed;
    gWorld = saved;
    EXPECT_EQ(redraws, 39);
    EXPECT_EQ(world_->energonCount, INITIAL_ENERGON);
    EXPECT_EQ(EnergonBroadcastCount(), sent + 2 * INITIAL_ENERGON);
    for (int id : seeded)
        EXPECT_EQ(LookupEnergon(world_, static_cast<uint16_t>(id)), nullptr);
}

} // namespace
