// Energon: a deposit's life, placement and pick-up, id shares, packets from other copies and
// the shared replacement of expired deposits.
#include "support/world_support.h"
#include "world/energon.h"

#include <functional>
#include <set>
#include <vector>

namespace {

using EnergonWorld = WorldTest;

// A 6 x 6 deck at height 1, so deposits lie at height 2.
const char* kDeck = "size:\n6 6\nwalls:\n0 0 1:5 5 1 \"none\"\n";

std::string Quietly(const std::function<void()>& action) {
    StdoutCapture capture;
    capture.Start();
    action();
    return capture.Stop();
}

TEST(Energon, StagesRedrawEveryTwentyFiveGrowingAndShrinking) {
    Energon* e = NewEnergon(1, 0, 0, 2, 7);
    EXPECT_EQ(e->stage, 1);
    EXPECT_EQ(e->growing, 1);
    EXPECT_EQ(e->crystalLists, -1);
    std::vector<int> growing, shrinking;
    int ticks = 0;
    while (!EnergonFinished(e)) {
        ASSERT_LT(ticks++, 2000);
        bool wasGrowing = e->growing;
        bool redraw = EnergonTick(e);
        if (redraw)
            (wasGrowing ? growing : shrinking).push_back(e->stage);
        if (wasGrowing && !e->growing) {
            EXPECT_FALSE(redraw); // the tick that turns it around
            EXPECT_EQ(e->stage, 500);
        }
    }
    ASSERT_EQ(growing.size(), 20u);
    ASSERT_EQ(shrinking.size(), 19u);
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(growing[i], 25 * (i + 1));
    for (int i = 0; i < 19; i++)
        EXPECT_EQ(shrinking[i], 475 - 25 * i);
    EXPECT_EQ(e->stage, 1);
    EXPECT_EQ(ticks, 499 + 1 + 499);
    EXPECT_FALSE(EnergonTick(e)); // at 1 nothing changes any more
    EXPECT_EQ(e->stage, 1);
    FreeEnergon(e);
}

TEST(Energon, AmountIsRoundedHalfAwayFromZero) {
    Energon e = {1, 0, 0, 2, -1, 15, 500, 0};
    EXPECT_EQ(EnergonAmount(&e), 15);
    e.stage = 1;
    EXPECT_EQ(EnergonAmount(&e), 0);
    e.crystals = 7;
    e.stage = 250; // 3.5
    EXPECT_EQ(EnergonAmount(&e), 4);
    e.stage = 249; // 3.486
    EXPECT_EQ(EnergonAmount(&e), 3);
    e.stage = 36; // 0.504
    EXPECT_EQ(EnergonAmount(&e), 1);
    e.stage = 35; // 0.49
    EXPECT_EQ(EnergonAmount(&e), 0);
    e.crystals = 10;
    e.stage = 25; // exactly 0.5
    EXPECT_EQ(EnergonAmount(&e), 1);
}

TEST(Energon, FreeingADrawnDepositReleasesItsListsThroughTheDrawingCode) {
    static int released = 0;
    SetEnergonListReleaser([](Energon*) { released++; });
    FreeEnergon(NewEnergon(1, 0, 0, 2, 7)); // never drawn
    Energon* drawn = NewEnergon(2, 0, 0, 2, 7);
    drawn->crystalLists = 40;
    FreeEnergon(drawn);
    SetEnergonListReleaser(nullptr);
    EXPECT_EQ(released, 1);
}

TEST_F(EnergonWorld, GenerateMarksTheCellAndAnnouncesWhenAsked) {
    World* w = Load(kDeck);
    long sent = EnergonBroadcastCount();
    Energon* e = GenerateEnergon(w, true);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->id, 1);
    EXPECT_EQ(e->z, 2);
    EXPECT_GE(e->crystals, ENERGON_MIN_CRYSTALS);
    EXPECT_LE(e->crystals, ENERGON_MAX_CRYSTALS);
    EXPECT_EQ(FindCellData(w, e->x, e->y, e->z)->energonId, 1);
    EXPECT_EQ(LookupEnergon(w, 1), e);
    EXPECT_EQ(w->energonCount, 1);
    EXPECT_EQ(w->nextEnergonId, 2);
    EXPECT_EQ(EnergonBroadcastCount(), sent + 1);
    Energon* quiet = GenerateEnergon(w, false);
    ASSERT_NE(quiet, nullptr);
    EXPECT_EQ(quiet->id, 2);
    EXPECT_EQ(EnergonBroadcastCount(), sent + 1);
    EXPECT_FALSE(quiet->x == e->x && quiet->y == e->y); // never two on one cell
}

TEST_F(EnergonWorld, AFullWorldTakesNoMoreDeposits) {
    World* w = Load("size:\n20 20\nwalls:\n0 0 1:19 19 1 \"none\"\n");
    std::set<std::pair<int, int>> cells;
    for (int i = 0; i < 300; i++) {
        Energon* e = GenerateEnergon(w, false);
        if (e != nullptr)
            cells.insert({e->x, e->y});
    }
    EXPECT_EQ(w->energonCount, MAX_WORLD_ENERGON);
    EXPECT_EQ(cells.size(), static_cast<size_t>(MAX_WORLD_ENERGON));
    EXPECT_EQ(GenerateEnergon(w, true), nullptr);
    // A world with no free place at all gets nothing either, and says so.
    World* bare = Load("size:\n4 4\n");
    std::string out = Quietly([&] { EXPECT_EQ(GenerateEnergon(bare, true), nullptr); });
    EXPECT_NE(out.find("no free place"), std::string::npos);
    EXPECT_EQ(bare->energonCount, 0);
}

TEST_F(EnergonWorld, EachCopyNumbersFromItsOwnShareAndWrapsWithinIt) {
    World* w = Load(kDeck);
    SetEnergonIdRange(w, 2);
    EXPECT_EQ(w->nextEnergonId, 2 * 13107 + 1);
    w->nextEnergonId = w->energonIdLast;
    EXPECT_EQ(GenerateEnergon(w, false)->id, 3 * 13107);
    EXPECT_EQ(GenerateEnergon(w, false)->id, 2 * 13107 + 1);

    SetEnergonIdRange(w, -1); // the enemy robot server
    EXPECT_EQ(w->energonIdFirst, 52429);
    EXPECT_EQ(w->energonIdLast, 65535);
    w->nextEnergonId = 65535;
    EXPECT_EQ(GenerateEnergon(w, false)->id, 65535);
    EXPECT_EQ(w->nextEnergonId, 52429); // after 65535 the share starts again, never at 0

    // An id still lying in the world is skipped.
    SetEnergonIdRange(w, 0);
    Energon* first = GenerateEnergon(w, false);
    EXPECT_EQ(first->id, 1);
    w->nextEnergonId = 1;
    EXPECT_EQ(GenerateEnergon(w, false)->id, 2);
}

TEST_F(EnergonWorld, TakingRemovesTheDepositAndMayReplaceIt) {
    World* w = Load(kDeck);
    Energon* e = GenerateEnergon(w, false);
    int x = e->x, y = e->y;
    for (int i = 1; i < 250; i++)
        EnergonTick(e);
    e->crystals = 7;
    EXPECT_EQ(TakeEnergon(w, 1, false), 4);
    EXPECT_EQ(w->energonCount, 0);
    EXPECT_EQ(LookupEnergon(w, 1), nullptr);
    EXPECT_EQ(FindCellData(w, x, y, 2)->energonId, 0);

    GenerateEnergon(w, false);
    long sent = EnergonBroadcastCount();
    TakeEnergon(w, 2, true); // this copy's robot took it: a replacement, announced
    EXPECT_EQ(w->energonCount, 1);
    EXPECT_EQ(LookupEnergon(w, 2), nullptr);
    EXPECT_NE(LookupEnergon(w, 3), nullptr);
    EXPECT_EQ(EnergonBroadcastCount(), sent + 1);

    std::string out = Quietly([&] { EXPECT_EQ(TakeEnergon(w, 77, true), 0); });
    EXPECT_NE(out.find("no energon 77"), std::string::npos);
    EXPECT_EQ(w->energonCount, 1);
}

TEST_F(EnergonWorld, AnnouncedDepositsAreAddedOnceAndBadOnesRefused) {
    World* w = Load(kDeck);
    long sent = EnergonBroadcastCount();
    std::string out = Quietly([&] { EXPECT_TRUE(AddNetworkEnergon(w, 20000, 3, 4, 2, 9)); });
    EXPECT_EQ(out, "Adding network generated energon\n");
    Energon* e = LookupEnergon(w, 20000);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->crystals, 9);
    EXPECT_EQ(e->stage, 1);
    EXPECT_EQ(FindCellData(w, 3, 4, 2)->energonId, 20000);
    EXPECT_EQ(w->energonCount, 1);
    EXPECT_EQ(w->nextEnergonId, 1); // other shares leave this copy's numbering alone
    EXPECT_EQ(EnergonBroadcastCount(), sent);

    EnergonTick(e);
    out = Quietly([&] { EXPECT_FALSE(AddNetworkEnergon(w, 20000, 1, 1, 2, 12)); });
    EXPECT_EQ(out, "discarding energon packet\n");
    EXPECT_EQ(e->stage, 2);
    EXPECT_EQ(e->crystals, 9);
    EXPECT_EQ(FindCellData(w, 1, 1, 2), nullptr);
    // An id of this copy's own share is its own deposit coming back.
    out = Quietly([&] { EXPECT_FALSE(AddNetworkEnergon(w, 5, 1, 1, 2, 12)); });
    EXPECT_EQ(out, "discarding energon packet\n");

    struct Bad {
        uint16_t id;
        int x, y, z, crystals;
    };
    for (Bad b :
         {Bad{0, 1, 1, 2, 9}, Bad{30000, 6, 1, 2, 9}, Bad{30000, -1, 1, 2, 9},
          Bad{30000, 1, 1, 3, 9}, Bad{30000, 1, 1, 1, 9}, Bad{30000, 1, 1, -2147483647 - 1, 9},
          Bad{30000, 1, 1, 2, 0}, Bad{30000, 1, 1, 2, 16}, Bad{30000, 3, 4, 2, 9}}) {
        out = Quietly([&] { EXPECT_FALSE(AddNetworkEnergon(w, b.id, b.x, b.y, b.z, b.crystals)); });
        EXPECT_NE(out.find("Refusing energon packet"), std::string::npos) << out;
    }
    EXPECT_EQ(w->energonCount, 1);
    EXPECT_EQ(LookupEnergon(w, 30000), nullptr);
}

TEST_F(EnergonWorld, ExpiryIsReplacedByOneCopyInNOnAverage) {
    World* w = Load("size:\n20 20\nwalls:\n0 0 1:19 19 1 \"none\"\n");
    auto clear = [&] {
        DArray* all = HashTableToArray(w->energonTable, 8);
        for (int i = 0; i < DArrayLength(all); i++)
            TakeEnergon(w, (*static_cast<Energon**>(DArrayNth(all, i)))->id, false);
        DArrayFree(all);
    };
    // How many of rounds expiries this copy replaced; said collects what it printed.
    std::string said;
    auto replacedOf = [&](int rounds) {
        int replaced = 0;
        said.clear();
        for (int i = 0; i < rounds; i++) {
            Energon* e = GenerateEnergon(w, false);
            said += Quietly([&] { ExpireEnergon(w, e->id); });
            replaced += w->energonCount == 1;
            clear();
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
    // Each expiry this copy leaves to the others is said once.
    size_t notices = 0;
    for (size_t at = said.find("Not regenerating energon\n"); at != std::string::npos;
         at = said.find("Not regenerating energon\n", at + 1))
        notices++;
    EXPECT_EQ(notices, static_cast<size_t>(2000 - quarter));
}

TEST_F(EnergonWorld, TheWorldTickAgesDepositsAndReplacesTheExpired) {
    World* w = Load(kDeck);
    SetRobotSlot(w, 0, 3000);
    GenerateEnergon(w, false);
    int redraws = 0, ticks = 0;
    while (LookupEnergon(w, 1) != nullptr) {
        ASSERT_LT(ticks++, 2000);
        redraws += EnergonWorldTick(w);
    }
    EXPECT_EQ(ticks, 999);
    EXPECT_EQ(redraws, 39);
    EXPECT_EQ(w->energonCount, 1); // the single player's copy replaced it
    Energon* next = LookupEnergon(w, 2);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->stage, 1);
}

} // namespace
