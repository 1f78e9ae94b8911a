// The world model: cells, blocking, teleporters, robot slots and random free places.
#include "support/world_support.h"

#include <set>
#include <tuple>

namespace {

using Grid = WorldTest;
using RobotSlots = WorldTest;

const char* kTwoLevels = "size:\n8 6\n"
                         "walls:\n0 0 1:7 5 1 \"none\"\n"
                         "cubes:\n2 2 2\n"
                         "teleporters:\n1 1 2:6 4 2\n"
                         "safe zones:\n0 4 3 2\n";

TEST_F(Grid, OnTheGridStopsAtTheEdges) {
    World* w = Load("size:\n8 6\n");
    EXPECT_TRUE(OnTheGrid(w, 0, 0));
    EXPECT_TRUE(OnTheGrid(w, 7, 5));
    EXPECT_FALSE(OnTheGrid(w, 8, 0));
    EXPECT_FALSE(OnTheGrid(w, 0, 6));
    EXPECT_FALSE(OnTheGrid(w, 0, -1));
    EXPECT_FALSE(OnTheGrid(w, -1, 0));
    EXPECT_EQ(GetCellData(w, 8, 0, 1), nullptr);
    Location off = {-1, 2, 1};
    EXPECT_EQ(GetRobotAt(w, &off), nullptr);
    EXPECT_EQ(GetChestAt(w, &off), nullptr);
}

TEST_F(Grid, QueriesCreateMissingHeightsInOrderOnce) {
    World* w = Load("size:\n4 4\n");
    EXPECT_EQ(FindCellData(w, 1, 1, 5), nullptr);
    CellData* five = GetCellData(w, 1, 1, 5);
    CellData* two = GetCellData(w, 1, 1, 2);
    CellData* three = GetCellData(w, 1, 1, 3);
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(GetCellData(w, 1, 1, 3), three); // the same record again
    EXPECT_EQ(FindCellData(w, 1, 1, 5), five);
    CellData* d = w->grid[1 * 4 + 1].levels;
    std::vector<int> heights;
    for (; d != nullptr; d = d->next)
        heights.push_back(d->z);
    EXPECT_EQ(heights, (std::vector<int>{2, 3, 5}));
    EXPECT_EQ(two->contentType, EEmpty);
    EXPECT_EQ(two->teleporterIndex, NO_TELEPORTER);
    EXPECT_EQ(two->safeZoneOwner, NO_SAFE_ZONE);
    EXPECT_EQ(two->energonId, 0);
}

TEST_F(Grid, BlockingNeedsSupportAboveOneAndAFreeCell) {
    World* w = Load("size:\n8 6\ncubes:\n1 1 1\n3 3 1\n3 3 2\n");
    EXPECT_TRUE(IsBlocked(w, 0, 0, 2));  // above nothing
    EXPECT_FALSE(IsBlocked(w, 0, 0, 1)); // the ground needs no support
    EXPECT_FALSE(IsBlocked(w, 1, 1, 2)); // above a cube
    EXPECT_TRUE(IsBlocked(w, 1, 1, 1));  // the cube itself
    EXPECT_TRUE(IsBlocked(w, 3, 3, 2));
    EXPECT_FALSE(IsBlocked(w, 3, 3, 3));
    EXPECT_TRUE(IsBlocked(w, 8, 1, 1));
    EXPECT_TRUE(CanStep(w, 0, 0, 1, 1, 0));
    EXPECT_FALSE(CanStep(w, 0, 0, 1, 1, 1));
    EXPECT_FALSE(CanStep(w, 0, 0, 1, -1, 0));
    EXPECT_EQ(CountSolid(w, 3, 3), 2);
    EXPECT_EQ(CountSolid(w, 0, 0), 0);
    // Walls are opened and closed in place.
    Location cube = {1, 1, 1};
    SetCellSolid(w, &cube, true, nullptr);
    EXPECT_TRUE(IsBlocked(w, 1, 1, 2));
    SetCellSolid(w, &cube, false, nullptr);
    EXPECT_FALSE(IsBlocked(w, 1, 1, 2));
}

TEST_F(Grid, ATeleporterEndIsBlockedExactlyWhenTheOtherEndIsTaken) {
    World* w = Load(kTwoLevels);
    Location end1 = {1, 1, 2}, end2 = {6, 4, 2}, out = {0, 0, 0};
    ASSERT_TRUE(GetTeleporterDestination(w, &end1, &out));
    EXPECT_TRUE(LocationEqual(&out, &end2));
    ASSERT_TRUE(GetTeleporterDestination(w, &end2, &out));
    EXPECT_TRUE(LocationEqual(&out, &end1));
    Location plain = {2, 1, 2};
    EXPECT_FALSE(GetTeleporterDestination(w, &plain, &out));

    int robot = 0;
    EXPECT_FALSE(IsBlockedAt(w, &end1));
    SetCellContent(w, &end2, ERobot, &robot);
    EXPECT_TRUE(IsBlockedAt(w, &end1));  // judged at the far end
    EXPECT_FALSE(IsBlockedAt(w, &end2)); // its own far end is free
    SetCellContent(w, &end2, EEmpty, nullptr);
    SetCellContent(w, &end1, ERobot, &robot);
    EXPECT_FALSE(IsBlockedAt(w, &end1));
    EXPECT_TRUE(IsBlockedAt(w, &end2));
    EXPECT_EQ(GetRobotAt(w, &end1), reinterpret_cast<Robot*>(&robot));
    // The safe zone's centre blocks; the rest of the zone does not.
    EXPECT_TRUE(IsBlocked(w, 4, 3, 2));
    EXPECT_FALSE(IsBlocked(w, 5, 3, 2));
    EXPECT_EQ(GetSafeZone(w, 0)->centre.y, 3);
    EXPECT_EQ(GetSafeZone(w, 4), nullptr);
}

TEST_F(Grid, RandomFreeLocationLiesOnTopOfSolidOutsideZonesAndEnergon) {
    // Column (0, 4) has two surfaces: the deck at 1 and the cube at 3 over an empty 2.
    World* w = Load("size:\n5 5\nwalls:\n0 0 1:4 4 1 \"none\"\ncubes:\n0 4 3\n1 1 2\n"
                    "safe zones:\n0 3 3 2\n");
    GetCellData(w, 0, 0, 2)->energonId = 9;
    std::set<std::tuple<int, int, int>> seen;
    for (int i = 0; i < 3000; i++) {
        Location loc = RandomFreeLocation(w);
        ASSERT_NE(loc.z, -1);
        seen.insert({loc.x, loc.y, loc.z});
        ASSERT_EQ(Content(w, loc.x, loc.y, loc.z - 1), ESolid);
        const CellData* d = FindCellData(w, loc.x, loc.y, loc.z);
        if (d != nullptr) {
            EXPECT_EQ(d->contentType, EEmpty);
            EXPECT_EQ(d->safeZoneOwner, NO_SAFE_ZONE);
            EXPECT_EQ(d->energonId, 0);
        }
    }
    EXPECT_TRUE(seen.count({0, 4, 2}) && seen.count({0, 4, 4})); // both surfaces of (0, 4)
    EXPECT_TRUE(seen.count({1, 1, 3}));                          // on the cube, not under it
    EXPECT_FALSE(seen.count({1, 1, 2}));
    EXPECT_FALSE(seen.count({0, 0, 2})); // energon lies there
    // 25 columns, less the 9 of the safe zone and the one with energon, one with two surfaces.
    EXPECT_EQ(seen.size(), 16u);

    w->energonCount = MAX_WORLD_ENERGON;
    EXPECT_EQ(RandomFreeLocation(w).x, -1);
}

TEST_F(Grid, RandomFreeLocationGivesUpOnAWorldWithoutSurfaces) {
    World* w = Load("size:\n3 3\n");
    StdoutCapture capture;
    capture.Start();
    Location loc = RandomFreeLocation(w);
    std::string output = capture.Stop();
    EXPECT_EQ(loc.x, -1);
    EXPECT_EQ(loc.y, -1);
    EXPECT_EQ(loc.z, -1);
    EXPECT_NE(output.find("no free place"), std::string::npos);
    // Without a grid there is nothing to try.
    World* empty = NewWorld();
    worlds_.push_back(empty);
    EXPECT_EQ(RandomFreeLocation(empty).z, -1);
}

TEST_F(RobotSlots, SlotsHoldUidsAndFindRobotsThroughTheRegistry) {
    World* w = Load(kTwoLevels);
    int a = 0, b = 0, enemy = 0;
    RegisterRobot(gRegistry, reinterpret_cast<Robot*>(&a), 3000);
    RegisterRobot(gRegistry, reinterpret_cast<Robot*>(&b), 3002);
    RegisterRobot(gRegistry, reinterpret_cast<Robot*>(&enemy), 3007);
    EXPECT_EQ(RobotSlotCount(w), NUM_PLAYER_SLOTS);
    EXPECT_EQ(CountPlayers(w), 0);
    SetRobotSlot(w, 0, 3000);
    SetRobotSlot(w, 0, 3000); // placing the same robot again is fine
    SetRobotSlot(w, 2, 3002);
    SetRobotSlot(w, 7, 3007); // beyond the player slots: one slot appended
    SetRobotSlot(w, 7, 3007); // and not a second time
    EXPECT_EQ(RobotSlotCount(w), 5);
    EXPECT_EQ(CountPlayers(w), 2);
    EXPECT_EQ(GetRobotByIndex(w, 2), reinterpret_cast<Robot*>(&b));
    EXPECT_EQ(GetRobotByIndex(w, 4), reinterpret_cast<Robot*>(&enemy));
    EXPECT_EQ(GetRobotByIndex(w, 1), nullptr);
    EXPECT_EQ(GetRobotByIndex(w, 5), nullptr); // index equal to the number of slots
    EXPECT_EQ(GetRobotByIndex(w, -1), nullptr);
    EXPECT_EQ(FindRobotInWorld(w, 3007), reinterpret_cast<Robot*>(&enemy));
    EXPECT_EQ(FindRobotInWorld(w, 3001), nullptr);

    StdoutCapture capture;
    capture.Start();
    SetRobotSlot(w, -3, 2997);
    EXPECT_NE(capture.Stop().find("no slot -3"), std::string::npos);
    EXPECT_EQ(RobotSlotCount(w), 5);
}

TEST_F(RobotSlots, RemovingARobotEmptiesItsSlotAndCell) {
    World* w = Load(kTwoLevels);
    int a = 0, b = 0;
    RegisterRobot(gRegistry, reinterpret_cast<Robot*>(&a), 3001);
    RegisterRobot(gRegistry, reinterpret_cast<Robot*>(&b), 3003);
    SetRobotSlot(w, 1, 3001);
    Location cellA = {3, 3, 2}, cellB = {5, 1, 2};
    SetCellContent(w, &cellA, ERobot, &a);
    SetCellContent(w, &cellB, ERobot, &b);
    RemoveRobotFromWorld(w, 3003); // in no slot: nothing changes
    EXPECT_EQ(GetRobotAt(w, &cellB), reinterpret_cast<Robot*>(&b));
    RemoveRobotFromWorld(w, 3001);
    EXPECT_EQ(GetRobotSlot(w, 1), INVALID_ROBOT_UID);
    EXPECT_EQ(GetRobotAt(w, &cellA), nullptr);
    EXPECT_EQ(Content(w, 3, 3, 2), EEmpty);
    EXPECT_EQ(GetRobotAt(w, &cellB), reinterpret_cast<Robot*>(&b));
    EXPECT_EQ(CountPlayers(w), 0);
    EXPECT_EQ(GetChestByIndex(w, 0), nullptr);
}

} // namespace
