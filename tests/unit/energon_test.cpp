// Energon as the players see it: what a deposit is worth, where deposits appear, who numbers
// them, what a peer's deposits may be, and who replaces the ones that expire.
#include "support/world_support.h"
#include "world/energon.h"

namespace {

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
    SetRobotSlot(w, 0, 3000);
    EXPECT_EQ(replacedOf(50), 50); // one player: always
    for (int slot = 1; slot < NUM_PLAYER_SLOTS; slot++)
        SetRobotSlot(w, slot, 3000 + slot);
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
}

} // namespace
