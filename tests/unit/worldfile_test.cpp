// The world as a level designer writes it and as robots, packets and energon meet it: the line
// that fails a file, what a good file builds, cells from outside, blocking, teleporters, free
// places, and energon deposits: what one is worth, who numbers them, what a peer's may be, and
// who replaces the ones that expire.
#include "support/world_support.h"
#include "world/energon.h"

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
    EXPECT_EQ(std::tuple(full.x, none.z, GenerateEnergon(w, false)), std::tuple(-1, -1, nullptr));
}

using EnergonWorld = WorldTest;

// A 20 x 20 deck at height 1, so deposits lie at height 2.
const char* kDeck = "size:\n20 20\nwalls:\n0 0 1:19 19 1 \"none\"\n";

TEST_F(EnergonWorld, ADepositIsWorthItsShareOfCrystalsAndATakenOneMayBeReplaced) {
    // crystals, stage, amount: stage / 500 x crystals rounded half away from zero
    const int amounts[][3] = {{15, 500, 15}, {15, 1, 0}, {7, 250, 4}, {7, 249, 3}};
    for (const auto& [crystals, stage, amount] : amounts) {
        Energon e = {1, 0, 0, 2, -1, crystals, stage, 1};
        EXPECT_EQ(EnergonAmount(&e), amount) << crystals << " at " << stage;
    }
    World* w = Load(kDeck);
    long sent = EnergonBroadcastCount();
    Energon* e = GenerateEnergon(w, true);
    const int x = e->x, y = e->y, z = e->z, id = e->id;
    e->crystals = 7;
    e->stage = 250;
    std::vector<int> seen = {FindCellData(w, x, y, z)->energonId == id, TakeEnergon(w, id, false),
                             FindCellData(w, x, y, z)->energonId,
                             TakeEnergon(w, GenerateEnergon(w, false)->id, true)};
    Captured([&] { seen.push_back(TakeEnergon(w, 77, true)); }); // this copy's robot took it
    EXPECT_EQ(std::make_tuple(seen, w->energonCount, EnergonBroadcastCount() - sent),
              std::make_tuple(std::vector{1, 4, 0, 0, 0}, 1, 2L));
}

TEST_F(EnergonWorld, APeersDepositIsAddedOnceAndABadOneRefusedAndEachCopyNumbersItsOwn) {
    World* w = Load(kDeck);
    // id, x, y, z, crystals, whether it is added
    const int cases[][6] = {{1, 3, 4, 2, 7, 1},      {1, 1, 1, 2, 9, 0},
                            {30000, 1, 1, 2, 15, 1}, {0, 1, 2, 2, 9, 0},
                            {30001, 20, 1, 2, 9, 0}, {30001, 1, 2, 3, 9, 0},
                            {30001, 1, 2, -1, 9, 0}, {30001, 1, 2, 2, 16, 0},
                            {30001, 1, 2, 2, 6, 0},  {30001, 3, 4, 2, 9, 0}};
    for (const auto& [id, x, y, z, crystals, added] : cases) {
        bool got = false;
        Captured([&] { got = AddNetworkEnergon(w, uint16_t(id), x, y, z, crystals); });
        EXPECT_EQ(got, added != 0) << id << " at " << x << " " << y << " " << z;
    }
    EXPECT_EQ(std::make_pair(LookupEnergon(w, 1)->x, int(FindCellData(w, 1, 1, 2)->energonId)),
              std::make_pair(3, 30000));
    // A new world numbers from 1, past the 1 a peer numbering from 1 took. Then: player, the
    // next id set by hand (0: the share's first), the two ids made from the player's share.
    EXPECT_EQ(GenerateEnergon(w, false)->id, 2);
    const int share = ENERGON_ID_SHARE_SIZE;
    const int numbered[][4] = {{0, 0, 3, 4},
                               {2, 0, 2 * share + 1, 2 * share + 2},
                               {3, 4 * share, 4 * share, 3 * share + 1},
                               {-1, 65535, 65535, 4 * share + 1}};
    for (const auto& [player, next, first, second] : numbered) {
        SetEnergonIdRange(w, player);
        w->nextEnergonId = next != 0 ? static_cast<uint16_t>(next) : w->nextEnergonId;
        int made = GenerateEnergon(w, false)->id;
        EXPECT_EQ(std::make_pair(made, int(GenerateEnergon(w, false)->id)),
                  std::make_pair(first, second));
    }
}

// The host alone replaces every deposit that expires; with every slot taken, each copy replaces
// one in N on average.
TEST_F(EnergonWorld, TheHostsDepositsRedrawEveryTwentyFiveStagesExpireTogetherAndAreReplaced) {
    World* w = Load(kDeck);
    SetRobotSlot(w, 0, 3000);
    long sent = EnergonBroadcastCount();
    std::vector<int> seeded;
    for (int i = 0; i < INITIAL_ENERGON; i++)
        seeded.push_back(GenerateEnergon(w, true)->id);
    auto alive = [&] {
        return std::count_if(seeded.begin(), seeded.end(),
                             [&](int id) { return LookupEnergon(w, uint16_t(id)) != nullptr; });
    };
    int redraws = 0;
    std::string said = Captured([&] {
        for (int tick = 1; tick < 999; tick++)
            redraws += EnergonWorldTick(w);
    });
    EXPECT_EQ(std::make_tuple(said, alive()), std::make_tuple("", long{INITIAL_ENERGON}));
    redraws += EnergonWorldTick(w);
    EXPECT_EQ(redraws, 20 + 19); // up to 500 and down again, none on the turning tick
    EXPECT_EQ(std::make_tuple(alive(), w->energonCount, EnergonBroadcastCount()),
              std::make_tuple(0L, INITIAL_ENERGON, sent + 2 * INITIAL_ENERGON));
    for (int slot = 1; slot < NUM_PLAYER_SLOTS; slot++)
        SetRobotSlot(w, slot, 3000 + slot);
    int replaced = 0;
    for (int i = 0; i < 2000; i++) {
        Captured([&] { ExpireEnergon(w, GenerateEnergon(w, false)->id); });
        if (w->energonCount > INITIAL_ENERGON && ++replaced > 0)
            TakeEnergon(w, static_cast<uint16_t>(w->nextEnergonId - 1), false);
    }
    EXPECT_NEAR(replaced, 500, 100);
}

} // namespace
