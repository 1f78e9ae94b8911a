// The world model: cells, blocking, teleporters, robot slots and random free places.
#include "support/world_support.h"

#include <set>
#include <tuple>

namespace {

using Grid = WorldTest;

TEST_F(Grid, EdgesAndCellsMadeOnDemandInHeightOrder) {
    World* w = Load("size:\n8 6\n");
    EXPECT_TRUE(OnTheGrid(w, 7, 5));
    EXPECT_FALSE(OnTheGrid(w, 8, 0));
    EXPECT_FALSE(OnTheGrid(w, 0, -1));
    EXPECT_EQ(GetCellData(w, 8, 0, 1), nullptr);
    CellData* five = GetCellData(w, 1, 1, 5);
    GetCellData(w, 1, 1, 2);
    CellData* three = GetCellData(w, 1, 1, 3);
    EXPECT_EQ(GetCellData(w, 1, 1, 3), three);
    EXPECT_EQ(FindCellData(w, 1, 1, 5), five);
    std::vector<int> heights;
    for (CellData* d = w->grid[1 * 6 + 1].levels; d != nullptr; d = d->next)
        heights.push_back(d->z);
    EXPECT_EQ(heights, (std::vector<int>{2, 3, 5}));
    EXPECT_EQ(three->teleporterIndex, NO_TELEPORTER);
    EXPECT_EQ(three->safeZoneOwner, NO_SAFE_ZONE);
}

TEST_F(Grid, BlockingSupportTeleporterEndsAndSafeZoneCentres) {
    World* w = Load("size:\n8 6\nwalls:\n0 0 1:7 3 1 \"none\"\ncubes:\n2 2 2\n"
                    "teleporters:\n1 1 2:6 2 2\nsafe zones:\n0 4 2 2\n");
    EXPECT_TRUE(IsBlocked(w, 1, 5, 2));  // above nothing
    EXPECT_FALSE(IsBlocked(w, 1, 5, 1)); // the ground needs no support
    EXPECT_TRUE(IsBlocked(w, 2, 2, 2));  // the cube
    EXPECT_FALSE(IsBlocked(w, 2, 2, 3)); // on top of it
    EXPECT_TRUE(IsBlocked(w, 4, 2, 2));  // a safe zone's centre
    EXPECT_FALSE(IsBlocked(w, 5, 2, 2));
    EXPECT_FALSE(CanStep(w, 0, 0, 2, -1, 0));
    Location end1 = {1, 1, 2}, end2 = {6, 2, 2}, out;
    ASSERT_TRUE(GetTeleporterDestination(w, &end2, &out));
    EXPECT_TRUE(LocationEqual(&out, &end1));
    int robot = 0;
    SetCellContent(w, &end2, ERobot, &robot);
    EXPECT_TRUE(IsBlockedAt(w, &end1));  // judged at the far end
    EXPECT_FALSE(IsBlockedAt(w, &end2)); // whose own far end is free
    EXPECT_EQ(GetRobotAt(w, &end2), reinterpret_cast<Robot*>(&robot));
    Location cube = {2, 2, 2};
    SetCellSolid(w, &cube, true, nullptr); // a wall animation opens it
    EXPECT_FALSE(IsBlocked(w, 2, 2, 2));
    EXPECT_TRUE(IsBlocked(w, 2, 2, 3));
}

TEST_F(Grid, RandomFreeLocationLiesOnTopOfSolidOutsideZonesAndEnergon) {
    // Column (0, 4) has two surfaces: the deck at 1 and the cube at 3 over an empty 2.
    World* w = Load("size:\n5 5\nwalls:\n0 0 1:4 4 1 \"none\"\ncubes:\n0 4 3\n1 1 2\n"
                    "safe zones:\n0 3 3 2\n");
    GetCellData(w, 0, 0, 2)->energonId = 9;
    std::set<std::tuple<int, int, int>> seen;
    for (int i = 0; i < 3000; i++) {
        Location loc = RandomFreeLocation(w);
        seen.insert({loc.x, loc.y, loc.z});
    }
    EXPECT_TRUE(seen.count({0, 4, 2}) && seen.count({0, 4, 4}));
    EXPECT_TRUE(seen.count({1, 1, 3}) && !seen.count({1, 1, 2})); // on the cube, not under it
    EXPECT_FALSE(seen.count({0, 0, 2}));                          // energon lies there
    EXPECT_FALSE(seen.count({3, 3, 2}) || seen.count({2, 2, 2})); // in the safe zone
    // 25 columns, less the 9 of the safe zone and the one with energon, one with two surfaces.
    EXPECT_EQ(seen.size(), 16u);
    w->energonCount = MAX_WORLD_ENERGON;
    EXPECT_EQ(RandomFreeLocation(w).x, -1);

    World* bare = Load("size:\n3 3\n");
    Location none = {};
    EXPECT_NE(Captured([&] { none = RandomFreeLocation(bare); }).find("no free place"),
              std::string::npos);
    EXPECT_EQ(none.z, -1);
}

TEST_F(Grid, ComputerRobotsTakeSlotsInAnyOrderAndReuseEmptyOnes) {
    // Another copy may hear the server's robots in any order, and they come and go.
    World* w = Load("size:\n8 6\n");
    SetRobotSlot(w, 5, 3005);
    SetRobotSlot(w, 4, 3004);
    SetRobotSlot(w, 9, 3009);
    EXPECT_EQ(RobotSlotCount(w), 7);
    EXPECT_EQ(GetRobotSlot(w, 4), 3005);
    EXPECT_EQ(GetRobotSlot(w, 5), 3004);
    RemoveRobotFromWorld(w, 3004);
    SetRobotSlot(w, 6, 3006);
    EXPECT_EQ(GetRobotSlot(w, 5), 3006);
    EXPECT_EQ(RobotSlotCount(w), 7);
    // A player's slot holding another robot is refused, not overwritten.
    SetRobotSlot(w, 2, 3002);
    EXPECT_NE(Captured([&] { SetRobotSlot(w, 2, 3001); }).find("slot 2 holds robot 3002"),
              std::string::npos);
    EXPECT_EQ(GetRobotSlot(w, 2), 3002);
}

TEST_F(Grid, RobotSlotsFindRobotsThroughTheRegistry) {
    World* w = Load("size:\n8 6\n");
    int a = 0, b = 0, enemy = 0;
    RegisterRobot(gRegistry, reinterpret_cast<Robot*>(&a), 3001);
    RegisterRobot(gRegistry, reinterpret_cast<Robot*>(&b), 3003);
    RegisterRobot(gRegistry, reinterpret_cast<Robot*>(&enemy), 3007);
    SetRobotSlot(w, 1, 3001);
    SetRobotSlot(w, 1, 3001); // placed again
    SetRobotSlot(w, 7, 3007); // beyond the player slots: one slot appended, once
    SetRobotSlot(w, 7, 3007);
    EXPECT_EQ(RobotSlotCount(w), 5);
    EXPECT_EQ(CountPlayers(w), 1);
    EXPECT_EQ(GetRobotByIndex(w, 4), reinterpret_cast<Robot*>(&enemy));
    EXPECT_EQ(GetRobotByIndex(w, 5), nullptr); // the number of slots
    EXPECT_EQ(FindRobotInWorld(w, 3003), nullptr);
    Location cellA = {3, 3, 1}, cellB = {5, 1, 1};
    SetCellContent(w, &cellA, ERobot, &a);
    SetCellContent(w, &cellB, ERobot, &b);
    RemoveRobotFromWorld(w, 3003); // held in no slot: nothing changes
    EXPECT_EQ(GetRobotAt(w, &cellB), reinterpret_cast<Robot*>(&b));
    RemoveRobotFromWorld(w, 3001);
    EXPECT_EQ(GetRobotSlot(w, 1), INVALID_ROBOT_UID);
    EXPECT_EQ(GetRobotAt(w, &cellA), nullptr);
    EXPECT_EQ(CountPlayers(w), 0);
}

} // namespace
