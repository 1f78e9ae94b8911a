// The world as robots and packets meet it: cells from outside, blocking and teleporters, and free
// places for energon.
#include "support/world_support.h"

namespace {

using Grid = WorldTest;

TEST_F(Grid, CellsFromOutsideAndWhereARobotMayStand) {
    World* w = Load("size:\n8 6\nwalls:\n0 0 1:7 3 1 \"none\"\ncubes:\n2 2 2\n"
                    "teleporters:\n1 1 2:6 2 2\nsafe zones:\n0 4 2 2\n");
    const int64_t wraps = int64_t{1} << 32, top = MAX_WORLD_HEIGHT;
    const std::tuple<int64_t, int64_t, int64_t, bool> named[] = {
        {0, 0, 0, true},      {7, 5, top, true},       {8, 0, 1, false},  {0, 6, 1, false},
        {-1, 0, 1, false},    {0, -1, 1, false},       {0, 0, -1, false}, {0, 0, top + 1, false},
        {wraps, 0, 1, false}, {0, wraps + 1, 1, false}};
    for (const auto& [x, y, z, ok] : named)
        EXPECT_EQ(CellFromOutside(w, x, y, z), ok) << x << " " << y << " " << z;
    EXPECT_FALSE(CellFromOutside(Load(""), 0, 0, 1)); // a world not read yet takes none
    int robot = 0;
    Location end = {6, 2, 2}, cube = {2, 2, 2};
    SetCellContent(w, &end, ERobot, &robot);
    EXPECT_EQ(GetRobotAt(w, &end), reinterpret_cast<Robot*>(&robot));
    // Above nothing, the bare ground, a cube and its top, a safe zone's centre and edge, the
    // teleporter end whose far end holds the robot and that end itself, the grid's edges.
    const std::tuple<int, int, int, bool> blocked[] = {
        {1, 5, 2, true},  {1, 5, 1, false}, {2, 2, 2, true}, {2, 2, 3, false},
        {4, 2, 2, true},  {5, 2, 2, false}, {1, 1, 2, true}, {6, 2, 2, false},
        {-1, 0, 1, true}, {8, 0, 1, true},  {0, 6, 1, true}, {7, 5, 1, false}};
    for (const auto& [x, y, z, is] : blocked)
        EXPECT_EQ(IsBlocked(w, x, y, z), is) << x << " " << y << " " << z;
    EXPECT_TRUE(!CanStep(w, 0, 0, 2, -1, 0) && !CanStep(w, 0, 0, 2, 0, -1) &&
                CanStep(w, 0, 0, 2, 1, 0));
    SetCellSolid(w, &cube, true, nullptr); // a wall animation opens it
    EXPECT_TRUE(!IsBlocked(w, 2, 2, 2) && IsBlocked(w, 2, 2, 3));
}

TEST_F(Grid, FreePlacesLieOnEverySurfaceOutsideZonesAndEnergon) {
    // Column (0, 4) has two surfaces, the deck at 1 and a cube at 3 over an empty 2.
    World* w = Load("size:\n5 5\nwalls:\n0 0 1:4 4 1 \"none\"\ncubes:\n0 4 3\n1 1 2\n"
                    "safe zones:\n0 3 3 2\n");
    GetCellData(w, 0, 0, 2)->energonId = 9;
    std::set<std::tuple<int, int, int>> seen, expected = {{1, 1, 3}, {0, 4, 4}};
    for (int i = 1; i < 25; i++)
        if (i != 6 && (i / 5 < 2 || i % 5 < 2))
            expected.insert({i / 5, i % 5, 2});
    for (int i = 0; i < 3000; i++) {
        Location at = RandomFreeLocation(w);
        seen.insert({at.x, at.y, at.z});
    }
    EXPECT_EQ(seen, expected);
    w->energonCount = MAX_WORLD_ENERGON;
    World* bare = Load("size:\n3 3\n");
    Location full = RandomFreeLocation(w), none = {};
    Captured([&] { none = RandomFreeLocation(bare); });
    EXPECT_EQ(std::tie(full.x, none.z), std::make_tuple(-1, -1));
}

} // namespace
