// Energon as the players see it: what a deposit is worth, where deposits appear, who numbers
// them, what a peer's deposits may be, and who replaces the ones that expire.
#include "support/world_support.h"
#include "world/energon.h"

#include <set>

namespace {

using EnergonWorld = WorldTest;

// A 20 x 20 deck at height 1, so deposits lie at height 2.
const char* kDeck = "size:\n20 20\nwalls:\n0 0 1:19 19 1 \"none\"\n";

TEST_F(EnergonWorld, DepositsFillTheFreeCellsAndATakenOneIsWorthItsShareAndMayBeReplaced) {
    World* w = Load(kDeck);
    // crystals, stage, amount: stage / 500 x crystals rounded half away from zero
    const int amounts[][3] = {{15, 500, 15}, {15, 1, 0}, {7, 250, 4}, {7, 249, 3}};
    for (const auto& [crystals, stage, amount] : amounts) {
        Energon* e = GenerateEnergon(w, false);
        int x = e->x, y = e->y;
        e->crystals = crystals;
        e->stage = stage;
        EXPECT_EQ(TakeEnergon(w, e->id, false), amount) << crystals << " at " << stage;
        EXPECT_EQ(FindCellData(w, x, y, 2)->energonId, 0);
    }
    long sent = EnergonBroadcastCount();
    TakeEnergon(w, GenerateEnergon(w, true)->id, true); // this copy's robot took it
    int unknown = -1;
    Captured([&] { unknown = TakeEnergon(w, 77, true); });
    EXPECT_EQ(std::make_tuple(unknown, w->energonCount, EnergonBroadcastCount()),
              std::make_tuple(0, 1, sent + 2));
    std::set<std::pair<int, int>> cells;
    std::set<int> heights;
    for (Energon* e; (e = GenerateEnergon(w, false)) != nullptr; heights.insert(e->z))
        cells.insert({e->x, e->y});
    EXPECT_EQ(cells.size() + 1, size_t{MAX_WORLD_ENERGON}); // one a cell
    EXPECT_EQ(heights, std::set<int>{2});
    EXPECT_EQ(w->energonCount, MAX_WORLD_ENERGON);
}

TEST_F(EnergonWorld, APeersDepositIsAddedOnceAndABadOneRefused) {
    World* w = Load(kDeck);
    struct Case {
        uint16_t id;
        int x, y, z, crystals;
        bool added;
    };
    const Case cases[] = {{1, 3, 4, 2, 7, true},       {1, 1, 1, 2, 9, false},
                          {30000, 1, 1, 2, 15, true},  {0, 1, 2, 2, 9, false},
                          {30001, 20, 1, 2, 9, false}, {30001, 1, 20, 2, 9, false},
                          {30001, 1, 2, 3, 9, false},  {30001, 1, 2, INT32_MIN, 9, false},
                          {30001, 1, 2, 2, 16, false}, {30001, 1, 2, 2, 6, false},
                          {30001, 3, 4, 2, 9, false}};
    for (const Case& c : cases) {
        bool added = false;
        Captured([&] { added = AddNetworkEnergon(w, c.id, c.x, c.y, c.z, c.crystals); });
        EXPECT_EQ(added, c.added) << c.id << " at " << c.x << " " << c.y << " " << c.z;
    }
    EXPECT_EQ(std::make_pair(LookupEnergon(w, 1)->x, int(FindCellData(w, 1, 1, 2)->energonId)),
              std::make_pair(3, 30000));
    // Each copy numbers from its own share; the peer numbered from 1, in player 0's share.
    const int share = ENERGON_ID_SHARE_SIZE;
    const int numbered[][4] = {{0, 0, 2, 3}, // player, next id set by hand (0: none), ids made
                               {2, 0, 2 * share + 1, 2 * share + 2},
                               {3, 4 * share, 4 * share, 3 * share + 1},
                               {-1, 65535, 65535, 4 * share + 1}}; // the enemy robot server's
    for (const auto& [player, next, first, second] : numbered) {
        SetEnergonIdRange(w, player);
        if (next != 0)
            w->nextEnergonId = static_cast<uint16_t>(next);
        int made = GenerateEnergon(w, false)->id;
        EXPECT_EQ(std::make_pair(made, int(GenerateEnergon(w, false)->id)),
                  std::make_pair(first, second));
    }
}

TEST_F(EnergonWorld, AnExpiredDepositIsReplacedByOneCopyInNOnAverage) {
    World* w = Load(kDeck);
    auto replacedOf = [&](int rounds) {
        int replaced = 0;
        for (int i = 0; i < rounds; i++) {
            Captured([&] { ExpireEnergon(w, GenerateEnergon(w, false)->id); });
            replaced += w->energonCount;
            if (w->energonCount > 0)
                TakeEnergon(w, static_cast<uint16_t>(w->nextEnergonId - 1), false);
        }
        return replaced;
    };
    EXPECT_EQ(replacedOf(50), 50); // no player in the slots: always
    SetRobotSlot(w, 0, 3000);
    EXPECT_EQ(replacedOf(50), 50); // one player: always
    SetRobotSlot(w, 3, 3003);
    EXPECT_NEAR(replacedOf(2000), 1000, 150);
    SetRobotSlot(w, 1, 3001);
    SetRobotSlot(w, 2, 3002);
    EXPECT_NEAR(replacedOf(2000), 500, 100);
}

TEST_F(EnergonWorld, TheHostsDepositsRedrawEveryTwentyFiveStagesExpireTogetherAndAreReplaced) {
    World* w = Load(kDeck);
    SetRobotSlot(w, 0, 3000); // the host alone: it replaces every deposit that expires
    long sent = EnergonBroadcastCount();
    std::vector<int> seeded;
    for (int i = 0; i < INITIAL_ENERGON; i++)
        seeded.push_back(GenerateEnergon(w, true)->id);
    auto alive = [&] {
        int n = 0;
        for (int id : seeded)
            n += LookupEnergon(w, static_cast<uint16_t>(id)) != nullptr;
        return n;
    };
    int redraws = 0;
    std::string said = Captured([&] {
        for (int tick = 1; tick < 999; tick++)
            redraws += EnergonWorldTick(w);
    });
    EXPECT_EQ(said, ""); // until they expire, the ticks touch no deposit but to age it
    EXPECT_EQ(alive(), INITIAL_ENERGON);
    redraws += EnergonWorldTick(w);
    EXPECT_EQ(alive(), 0);
    EXPECT_EQ(redraws, 20 + 19); // up to 500 and down again, none on the turning tick
    EXPECT_EQ(w->energonCount, INITIAL_ENERGON);
    EXPECT_EQ(EnergonBroadcastCount(), sent + 2 * INITIAL_ENERGON);
}

} // namespace
