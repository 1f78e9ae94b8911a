// The world file as a level designer writes it: the line that fails, what stays of a file that
// fails, and what a good file builds.
#include "support/world_support.h"

namespace {

using WorldFile = WorldTest;

// The content of a cell, or -1 when nothing was ever stored there.
int Record(World* w, int x, int y, int z) {
    const CellData* d = FindCellData(w, x, y, z);
    return d != nullptr ? d->contentType : -1;
}

// Every box the drawing will show: corners, colour, translucency and texture.
std::vector<std::string> Boxes(World* w) {
    std::vector<std::string> out;
    for (int i = 0; i < BoxCount(w); i++) {
        const WorldBox* b = GetWorldBox(w, i);
        char line[256];
        std::snprintf(line, sizeof line, "%g %g %g %g %g %g %g %g %g %g %d %s", b->minimum.x,
                      b->minimum.y, b->minimum.z, b->maximum.x, b->maximum.y, b->maximum.z,
                      b->color.red, b->color.green, b->color.blue, b->color.alpha, b->translucent,
                      b->texture);
        out.push_back(line);
    }
    return out;
}

// Each file fails at its line (0: read whole), and the cell probed afterwards (when x >= 0)
// shows that nothing of the failing line or after it stays. Comments and keywords count as
// lines, blank lines do not; a file without a grid fails at its end; a cube or a wall shell laid
// over a chest would bury it, so the line fails, all of it.
TEST_F(WorldFile, TheFirstBadLineFailsTheFileAndNothingOfItOrAfterItStays) {
    const std::string s = "size:\n10 10\n", zone = s + "safe zones:\n",
                      chest = s + "cubes:\n3 3 1\nchests:\n5000 1 1 1 0\n",
                      wall = "\"" + std::string(32, 'a') + "\"\n";
    std::string many = "size:\n200 200\nteleporters:\n";
    for (int i = 0; i <= MAX_TELEPORTERS; i++)
        many += std::to_string(i % 200) + " " + std::to_string(i / 200) +
                " 1:" + std::to_string(i % 200) + " " + std::to_string(100 + i / 200) + " 1\n";
    struct Case {
        std::string text;
        int line, x = -1, y = 0, z = 0, record = 0;
    };
    const Case cases[] = {
        {"// a world\n\n\ncubes:\n\n1 1 1\nsize:\n10 10\n", 3},
        {"1 2 3\n", 1},
        {"properties:\n1 a 1\n", 2},
        {"properties:\n1 grav 1\nsize:\n9 9\n", 2},
        {"properties:\n7 g 1\nsize:\n9 9\nproperties:\n9 f -1\n", 0},
        {s + "size:\n20 20\n", 4},
        {"size:\n0 10\n", 2},
        {"size:\n10 257\n", 2},
        {"size:\n256 256\n", 0},
        {s + "cubes:\n1 1 1\n2 2\n3 3 1\n", 5, 3, 3, 1, -1},
        {s + "walls:\n1 1 1:2 2 2 \"\"\n", 4},
        {s + "walls:\n1 1 1 :2 2 2 " + wall, 4},
        {s + "walls:\n1 1 1:2 2 2 \"a" + wall.substr(1), 4},
        {s + "walls:\n1 1 1:  2 2 2 " + wall, 0},
        {s + "walls:\n1 1 1:10 2 2 " + wall, 4},
        {s + "teleporters:\n1 1 1 :2 2 1\n", 4},
        {many, 3 + 255, 54, 1, 1, -1},
        {zone + "0 4 4 2\n", 4, 4, 4, 2, -1},
        {zone + "1 4 4 1\n1 7 7 1\n", 5},
        {s + "walls:\n3 3 1:5 5 1 \"none\"\nsafe zones:\n0 5 5 2\n", 6, 4, 4, 2, -1},
        {zone + "4 4 4 1\n", 4},
        {zone + "-1 4 4 1\n", 4},
        {zone + "0 0 4 1\n", 4},
        {zone + "0 4 4 1\n1 6 4 1\n", 5},
        {s + "cubes:\n5 4 1\nsafe zones:\n0 4 4 1\n", 6},
        {s + "chests:\n5000 4 4 1 0\nsafe zones:\n0 4 4 1\n", 6},
        {chest + "5001 1 1 1 0\n", 7},
        {chest + "5001 3 3 1 0\n", 7},
        {chest + "5001 10 3 1 0\n", 7},
        {chest + "3001 4 4 1 0\n", 7},
        {chest + "5001 4 4 33 0\n", 7},
        {chest + "5001 4 4 32 0\n", 0},
        {chest + "cubes:\n1 1 1\n", 8, 1, 1, 1, EChest},
        {chest + "walls:\n1 0 1:1 3 1 \"none\"\n", 8, 1, 0, 1, -1},
        {chest + "walls:\n0 0 0:2 2 2 \"none\"\n", 0, 1, 1, 1, EChest}};
    for (const Case& c : cases) {
        int line = -1;
        World* w = Load(c.text, &line);
        // Only a file read to its end gets its floor and safe-zone markers.
        std::vector<std::string> boxes = Boxes(w);
        EXPECT_EQ(std::tuple(line, c.x >= 0 ? Record(w, c.x, c.y, c.z) : 0, w->safeZoneMarkers,
                             !boxes.empty() && boxes.back().ends_with("metalfloor.rgb")),
                  std::tuple(c.line, c.record, c.line == 0 ? NUM_SAFE_ZONES : 0, c.line == 0))
            << c.text;
    }
}

TEST_F(WorldFile, AGoodFileBuildsItsCellsAndBoxes) {
    World* w =
        Load("properties:\n7 grv 9.5\nsize:\n10 10\nwalls:\n5 5 1:3 7 3 \"images\\brick.bmp\"\n"
             "teleporters:\n1 1 1:2 2 1\n3 3 1:4 4 1 0\nsafe zones:\n1 1 8 1\n"
             "chests:\n8003 9 0 1 3\nmusictrack:\n5\n");
    World* mirrored = Load("size:\n10 10\nwalls:\n3 7 3:5 5 1 \"none\"\n");
    // The shell of the wall is solid, its core not, whichever corner comes first.
    EXPECT_EQ(std::make_tuple(CountSolid(w, 4, 6), CountSolid(w, 3, 6), CountSolid(mirrored, 4, 6)),
              std::make_tuple(2, 3, 2));
    EXPECT_EQ(Boxes(mirrored)[0], "3 5 1 6 8 4 0.4 0.4 0.4 0.75 0 none");
    EXPECT_EQ(Boxes(w),
              (std::vector<std::string>{
                  "3 5 1 6 8 4 0.4 0.4 0.4 0.75 0 images\\brick.bmp", "1 1 1 2 2 1.2 1 1 0 0.3 1 ",
                  "2 2 1 3 3 1.2 1 1 0 0.3 1 ", "3 3 1 4 4 1.2 1 1 0 1 0 ",
                  "4 4 1 5 5 1.2 1 1 0 1 0 ", "0 7 1 3 10 1.2 0.75 0.25 0.25 0.5 0 ",
                  "0 0 0 10 10 1 0.4 0.4 0.4 0.75 0 images\\metalfloor.rgb"}));
    Location pad = {4, 4, 1}, far = {}, at = {9, 0, 1};
    bool linked = GetTeleporterDestination(w, &pad, &far);
    Chest* chest = GetChestAt(w, &at);
    ASSERT_EQ(chest, GetChestByIndex(w, 0));
    EXPECT_EQ(std::make_tuple(linked, far.x, far.y, far.z, Record(w, 1, 8, 1), chest->contents,
                              chest->style, w->musicTrack),
              std::make_tuple(true, 3, 3, 1, int(ESafeZoneCentre), 8003, 3, 5));
    EXPECT_EQ(std::make_pair(FindCellData(w, 0, 9, 1)->safeZoneOwner,
                             FindCellData(w, 2, 7, 1)->safeZoneOwner),
              std::make_pair(uint8_t{1}, uint8_t{1})); // the zone's far corners
}

} // namespace
