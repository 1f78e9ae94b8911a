// Energon: a deposit's life, placement and pick-up, id shares, deposits announced by other
// copies and the shared replacement of expired deposits.
#include "support/world_support.h"
#include "world/energon.h"

#include <set>
#include <vector>

namespace {

using EnergonWorld = WorldTest;

// A 20 x 20 deck at height 1, so deposits lie at height 2.
const char* kDeck = "size:\n20 20\nwalls:\n0 0 1:19 19 1 \"none\"\n";

TEST(Energon, StagesRedrawEveryTwentyFiveGrowingAndShrinking) {
    Energon* e = NewEnergon(1, 0, 0, 2, 7);
    std::vector<int> growing, shrinking;
    int ticks = 0;
    while (!EnergonFinished(e) && ticks++ < 2000) {
        bool wasGrowing = e->growing;
        if (EnergonTick(e))
            (wasGrowing ? growing : shrinking).push_back(e->stage);
    }
    ASSERT_EQ(growing.size(), 20u);
    ASSERT_EQ(shrinking.size(), 19u);
    EXPECT_EQ(growing.front(), 25);
    EXPECT_EQ(growing.back(), 500);
    EXPECT_EQ(shrinking.front(), 475); // none on the tick that turned it around
    EXPECT_EQ(shrinking.back(), 25);
    EXPECT_EQ(ticks, 499 + 1 + 499);
    EXPECT_EQ(e->stage, 1);
    FreeEnergon(e);
}

TEST(Energon, AmountIsRoundedHalfAwayFromZero) {
    Energon e = {1, 0, 0, 2, -1, 15, 500, 0};
    EXPECT_EQ(EnergonAmount(&e), 15);
    e.stage = 1;
    EXPECT_EQ(EnergonAmount(&e), 0);
    e = {1, 0, 0, 2, -1, 7, 250, 0}; // 3.5
    EXPECT_EQ(EnergonAmount(&e), 4);
    e.stage = 249; // 3.49
    EXPECT_EQ(EnergonAmount(&e), 3);
}

TEST_F(EnergonWorld, GenerateMarksTheCellAnnouncesAndStopsAtAFullWorld) {
    World* w = Load(kDeck);
    long sent = EnergonBroadcastCount();
    Energon* e = GenerateEnergon(w, true);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->id, 1);
    EXPECT_EQ(e->z, 2);
    EXPECT_EQ(FindCellData(w, e->x, e->y, 2)->energonId, 1);
    EXPECT_EQ(EnergonBroadcastCount(), sent + 1);
    std::set<std::pair<int, int>> cells = {{e->x, e->y}};
    while ((e = GenerateEnergon(w, false)) != nullptr)
        cells.insert({e->x, e->y});
    EXPECT_EQ(w->energonCount, MAX_WORLD_ENERGON);
    EXPECT_EQ(cells.size(), static_cast<size_t>(MAX_WORLD_ENERGON)); // one per cell
    EXPECT_EQ(EnergonBroadcastCount(), sent + 1);
}

TEST_F(EnergonWorld, EachCopyNumbersFromItsOwnShareAndWrapsWithinIt) {
    World* w = Load(kDeck);
    SetEnergonIdRange(w, 2);
    EXPECT_EQ(w->nextEnergonId, 2 * 13107 + 1);
    w->nextEnergonId = w->energonIdLast;
    EXPECT_EQ(GenerateEnergon(w, false)->id, 3 * 13107);
    EXPECT_EQ(GenerateEnergon(w, false)->id, 2 * 13107 + 1);
    SetEnergonIdRange(w, -1); // the enemy robot server
    w->nextEnergonId = 65535;
    EXPECT_EQ(GenerateEnergon(w, false)->id, 65535);
    EXPECT_EQ(w->nextEnergonId, 52429); // after 65535 the share starts again, never at 0
    SetEnergonIdRange(w, 0);
    GenerateEnergon(w, false);
    w->nextEnergonId = 1;
    EXPECT_EQ(GenerateEnergon(w, false)->id, 2); // an id still lying in the world is skipped
}

TEST_F(EnergonWorld, TakingRemovesTheDepositAndMayReplaceIt) {
    World* w = Load(kDeck);
    Energon* e = GenerateEnergon(w, false);
    int x = e->x, y = e->y;
    e->crystals = 7;
    e->stage = 250;
    EXPECT_EQ(TakeEnergon(w, 1, false), 4);
    EXPECT_EQ(w->energonCount, 0);
    EXPECT_EQ(FindCellData(w, x, y, 2)->energonId, 0);
    GenerateEnergon(w, false);
    long sent = EnergonBroadcastCount();
    TakeEnergon(w, 2, true); // this copy's robot took it: a replacement, announced
    EXPECT_NE(LookupEnergon(w, 3), nullptr);
    EXPECT_EQ(w->energonCount, 1);
    EXPECT_EQ(EnergonBroadcastCount(), sent + 1);
    EXPECT_NE(Captured([&] { TakeEnergon(w, 77, true); }).find("no energon 77"), std::string::npos);
    EXPECT_EQ(w->energonCount, 1);
}

TEST_F(EnergonWorld, AnnouncedDepositsAreAddedOnceAndBadOnesRefused) {
    World* w = Load(kDeck);
    EXPECT_EQ(Captured([&] { AddNetworkEnergon(w, 20000, 3, 4, 2, 9); }),
              "Adding network generated energon\n");
    Energon* e = LookupEnergon(w, 20000);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(FindCellData(w, 3, 4, 2)->energonId, 20000);
    EnergonTick(e);
    EXPECT_EQ(Captured([&] { AddNetworkEnergon(w, 20000, 1, 1, 2, 12); }),
              "discarding energon packet\n");
    EXPECT_EQ(e->stage, 2);
    EXPECT_EQ(FindCellData(w, 1, 1, 2), nullptr);
    struct Bad {
        uint16_t id;
        int x, y, z, crystals;
    };
    for (Bad b : {Bad{0, 1, 1, 2, 9}, Bad{30000, 20, 1, 2, 9}, Bad{30000, 1, 1, 3, 9},
                  Bad{30000, 1, 1, -2147483647 - 1, 9}, Bad{30000, 1, 1, 2, 16},
                  Bad{30000, 1, 1, 2, 6}, Bad{30000, 3, 4, 2, 9}}) {
        std::string out = Captured([&] { AddNetworkEnergon(w, b.id, b.x, b.y, b.z, b.crystals); });
        EXPECT_NE(out.find("Refusing energon packet"), std::string::npos) << out;
    }
    EXPECT_EQ(w->energonCount, 1);
    EXPECT_EQ(w->nextEnergonId, 1);
}

TEST_F(EnergonWorld, ExpiryIsReplacedByOneCopyInNOnAverage) {
    World* w = Load(kDeck);
    std::string said;
    // How many of rounds expiries this copy replaced; said collects what it printed.
    auto replacedOf = [&](int rounds) {
        int replaced = 0;
        said.clear();
        for (int i = 0; i < rounds; i++) {
            Energon* e = GenerateEnergon(w, false);
            said += Captured([&] { ExpireEnergon(w, e->id); });
            replaced += w->energonCount == 1;
            for (Energon* left; w->energonCount > 0;) {
                DArray* all = HashTableToArray(w->energonTable, 1);
                left = *static_cast<Energon**>(DArrayNth(all, 0));
                DArrayFree(all);
                TakeEnergon(w, left->id, false);
            }
        }
        return replaced;
    };
    EXPECT_EQ(replacedOf(50), 50); // no player in the slots: always
    SetRobotSlot(w, 0, 3000);
    EXPECT_EQ(replacedOf(50), 50); // one player: always
    SetRobotSlot(w, 3, 3003);
    int half = replacedOf(2000);
    EXPECT_GT(half, 850);
    EXPECT_LT(half, 1150);
    SetRobotSlot(w, 1, 3001);
    SetRobotSlot(w, 2, 3002);
    int quarter = replacedOf(2000);
    EXPECT_GT(quarter, 400);
    EXPECT_LT(quarter, 600);
    // Each expiry left to the others is said once.
    EXPECT_EQ(Occurrences(said, "Not regenerating energon\n"), 2000 - quarter);
}

} // namespace
