// A battle as the players and the other copies see it: the formulas with their draws, the
// three-second wait, the defender turning, the end of a battle with its camera and prize, and
// a whole battle through the packets that reach the defender's copy.
#include "core/battle.h"
#include "core/game.h"
#include "core/inbound.h"
#include "data/skill.h"
#include "support/animation_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

class Battles : public AnimationTest {
  protected:
    void SetUp() override {
        AnimationTest::SetUp();
        InitCamera();
        gGame = NewGame();
        gBattle = NewBattle();
        gAnimationHooks = {
            SetRevealSphere, ClearRevealSphere, GetEyeOffset,  GetLookOffset, SetEyeOffset,
            SetLookOffset,   SetFirstPerson,    GetTexturesOn, nullptr,       nullptr};
        InstallBattle(nullptr);
        gHooks.action = [](Robot* r, const Stats* a, const Stats* t, int32_t target, uint8_t,
                           uint8_t) {
            RecordCall("action %d %d/%d on %d %d/%d", r->uid, a->hitPoints, a->energy, target,
                       t->hitPoints, t->energy);
        };
        gHooks.battleOver = [](const Robot* l, int32_t w) {
            RecordCall("over %d to %d", l->uid, w);
        };
        gHooks.prize = [](int32_t w, uint32_t s, uint32_t i) {
            RecordCall("prize to %d skill %d item %d", w, static_cast<int>(s), static_cast<int>(i));
        };
        gHooks.accept = [](Robot* r, int32_t c) { RecordCall("accept %d to %d", r->uid, c); };
    }
    void TearDown() override {
        ClearBattleMenus();
        std::free(gBattle);
        FreeGame(gGame);
        gGame = nullptr;
        AnimationTest::TearDown();
    }
    // This copy's robot (player 0) and its opponent (player 1) side by side, in a battle that
    // initiator started.
    void Fight(bool weStarted, int ourFacing = 0, int theirFacing = 180) {
        gLocalRobotUid = 3000;
        if (us == nullptr) {
            us = Make(0, true);
            them = Make(1, false);
        }
        for (Robot* r : {us, them}) {
            r->stats = r->robotClass->initialStats;
            r->battle = nullptr;
            r->acting = r->currentMove = 0;
        }
        ClearMoveQueue(us);
        Put(us, 4, 4, ourFacing);
        Put(them, 5, 4, theirFacing);
        Captured([&] { SetUpBattle(gBattle, world_, us, them, weStarted ? us : them); });
        SetGameMode(gGame, 0, EBattleMode);
    }
    Robot* us = nullptr;
    Robot* them = nullptr;
};

std::string Deltas(const Stats& a, const Stats& t) {
    return std::to_string(a.hitPoints) + "/" + std::to_string(a.energy) + " " +
           std::to_string(t.hitPoints) + "/" + std::to_string(t.energy);
}

// Actor power 2 and dexterity 4 strike with 5; a hit factor of 2 makes 10 against no guard.
TEST_F(Battles, EachSkillChangesBothRobotsByItsRule) {
    const struct {
        int skill, energy;
        const char* deltas; // actor HP/EP, target HP/EP
    } cases[] = {
        {8000, 100, "10/-30 0/0"}, // heals by the whole hit, the target as its block says
        {8001, 100, "0/-15 -10/0"},
        {8002, 100, "-10/0 0/-5"}, // drains 5 at 0.5 of -10: +5 EP less the cost, -10 HP
        {8003, 100, "0/-20 0/0"},  // only the cost
        {8001, 14, "0/0 0/0"},     // too little energy: the skill fizzles
    };
    for (const auto& c : cases) {
        Fight(true);
        us->stats = Stats{};
        us->stats.power = 2;
        us->stats.dexterity = 4;
        us->stats.energy = us->stats.totalEnergy = static_cast<int16_t>(c.energy);
        us->stats.hitPoints = us->stats.totalHP = 100;
        them->stats = Stats{};
        them->stats.hitPoints = them->stats.totalHP = 100;
        const Skill* skill = LookupSkill(gRegistry, c.skill);
        BattleDraws draws = {2, 1.0, 0.5};
        Stats a, t;
        SkillDeltas(&us->stats, &them->stats, skill, &draws, &a, &t);
        if (CanPayForSkill(&us->stats, skill)) {
            EXPECT_EQ(Deltas(a, t), c.deltas) << c.skill;
        }
        Stats before = them->stats;
        gHookCalls.clear();
        Captured([&] { RobotUseSkill(us, them, c.skill); }); // drawn: same rule, other numbers
        EXPECT_EQ(Calls("action").size(), 1u);
        EXPECT_EQ(them->stats.hitPoints < before.hitPoints, c.skill == 8001 && c.energy >= 15);
        EXPECT_EQ(us->battleWait, 0);
    }
}

TEST_F(Battles, AWeaponNeverHealsAndAShotKillsOnlyBelowOneHP) {
    std::srand(7);
    int hurt = 0;
    for (int classUid : {4000, 4001, 4002})
        for (int weapon : {5000, 5001, 5002})
            for (int i = 0; i < 200; i++) {
                Stats a = LookupRobotClass(gRegistry, classUid)->initialStats, t = a, da, dt;
                BattleDraws d = DrawFight();
                FightDeltas(&a, &t, LookupWeapon(gRegistry, weapon), &d, &da, &dt);
                EXPECT_LE(dt.hitPoints, 0);
                EXPECT_EQ(Deltas(da, Stats{}), "0/0 0/0");
                hurt += dt.hitPoints < 0;
            }
    EXPECT_GT(hurt, 0);
    const struct {
        int hp, change;
        bool over;
    } cases[] = {{1, -1, true}, {2, -1, false}, {1, 0, false}};
    for (const auto& c : cases) {
        Fight(true);
        them->stats.hitPoints = static_cast<int16_t>(c.hp);
        Stats none = {}, hit = {};
        hit.hitPoints = static_cast<int16_t>(c.change);
        gHookCalls.clear();
        Captured([&] { ApplyBattleResult(us, them, &none, &hit, 1); });
        EXPECT_EQ(gGame->modeId, c.over ? EWanderingMode : EBattleMode) << c.hp;
        EXPECT_EQ(Calls("over"), c.over ? std::vector<std::string>{"over 3001 to 3000"}
                                        : std::vector<std::string>{});
        EXPECT_EQ(us->battle == nullptr, c.over);
    }
}

TEST_F(Battles, TheMenuOpensAfterThirtyTicksUnlessTheRobotActs) {
    const struct {
        int ticks, acting;
        bool menu;
    } cases[] = {{29, 0, false}, {30, 0, true}, {30, 1, false}};
    for (const auto& c : cases) {
        Fight(true);
        ClearBattleMenus();
        us->acting = c.acting;
        for (int i = 0; i < c.ticks; i++)
            BattleTick(us);
        EXPECT_EQ(PrepareBattleMenu(us), c.menu) << c.ticks;
        EXPECT_EQ(BattleMenuOpen(), c.menu);
        us->acting = 0;
        gHookCalls.clear();
        Captured([] { BattleKey(13); }); // Enter on "Fight"
        EXPECT_EQ(us->acting, c.menu ? 1 : 0);
    }
}

TEST_F(Battles, TheDefenderTurnsToFaceTheAttackerTheWayThatNeedsNoWrap) {
    const struct {
        int facing, move, attackerFacing;
        int queued, wait;
    } cases[] = {
        {0, 0, 0, 4, -4}, // attacked from behind
        {0, 0, 180, 0, 0},   {90, 0, 0, 2, -2},
        {270, 0, 0, -2, -2}, {15, 1, 90, 5, -5}, // the turn under way ends at 45 first
        {30, -1, 180, 0, 0},
    };
    for (const auto& c : cases) {
        Fight(false, c.facing, c.attackerFacing);
        us->currentMove = c.move;
        ClearMoveQueue(us);
        Captured([&] { SetUpBattle(gBattle, world_, us, them, them); });
        EXPECT_EQ(std::make_tuple(PeekMove(us), us->battleWait), std::make_tuple(c.queued, c.wait))
            << c.facing;
        TicksUntilIdle(us);
        EXPECT_EQ(us->facing, (c.attackerFacing + 180) % 360);
    }
}

TEST_F(Battles, TheCameraFliesToTheSideAndComesBackWhenTheBattleEnds) {
    Vector3 eye = {1, 2, 3}, look = {4, 5, 6};
    SetEyeOffset(&eye);
    SetLookOffset(&look);
    SetFirstPerson(1);
    Fight(false, 0, 90); // the defender ends facing 270: the seventh side view
    RunOut();
    EXPECT_EQ(std::make_tuple(GetEyeOffset()->x, GetEyeOffset()->y, GetLookOffset()->x),
              std::make_tuple(1.0, -0.5, -1.0));
    EXPECT_EQ(GetMusicTrack(), BATTLE_MUSIC_TRACK);
    Captured([] { BattleSpecialKeys(5, 0, 0); }); // F5 leaves on this copy only
    EXPECT_EQ(std::make_tuple(GetEyeOffset()->z, GetLookOffset()->z, GetFirstPerson()),
              std::make_tuple(3.0, 6.0, 1));
    EXPECT_EQ(std::make_tuple(gGame->modeId, us->battle, them->battle, GetMusicTrack()),
              std::make_tuple(EWanderingMode, nullptr, nullptr, WANDERING_MUSIC_TRACK));
    EXPECT_TRUE(Calls("over").empty());
}

TEST_F(Battles, TheLoserHandsOverAnItemASkillOrNothing) {
    Robot* loser = Make(2, false);
    LearnSkill(loser, 8000);
    auto first = [](int) { return 0; };
    for (int held = 1; held >= 0; held--) { // then with an empty inventory and no skill
        for (int roll = 0; roll < 10; roll++) {
            Prize p = ChoosePrize(loser, roll, first);
            EXPECT_EQ(std::make_tuple(p.itemUid != -1, p.skillUid),
                      std::make_tuple(held && roll < 6, held && roll >= 6 && roll < 8 ? 8000 : -1))
                << roll;
        }
        Captured([&] {
            if (held)
                DArrayDeleteAt(loser->skills, 0);
            for (int uid : {5001, 5000, 6000})
                RemoveItemFromInventory(loser->inventory, uid);
        });
    }
}

Bytes BattleStart(uint8_t sub, uint32_t from, uint32_t to, const char* name, int16_t hp) {
    BattleStartPacket p = {0, sub, from, 0, to, {}, {}};
    std::snprintf(p.name, sizeof p.name, "%s", name);
    p.stats.hitPoints = p.stats.totalHP = hp;
    return Wire(EncodeBattleStart, p);
}

// The defender's copy (player 1) through a whole battle that it loses, then a prize it wins.
TEST_F(Battles, ABattleThroughThePacketsOfTheOtherCopy) {
    gLocalRobotUid = 3001;
    Robot* mine = Put(Make(1, true), 5, 4, 0);
    Robot* theirs = Put(Make(0, false), 4, 4, 0);
    Robot* spectated[] = {Put(Make(2, false), 2, 2), Put(Make(3, false), 3, 2)};
    auto receive = [](const Bytes& b) { Captured([&] { HandlePacket(b.data(), b.size()); }); };
    receive(BattleStart(EBattleChallenge, 3000, 3001, "Hank", 500));
    EXPECT_EQ(std::make_tuple(gGame->modeId, std::string(theirs->name), theirs->stats.totalHP),
              std::make_tuple(EBattleMode, std::string("Hank"), 500));
    EXPECT_EQ(Calls("accept"), std::vector<std::string>{"accept 3001 to 3000"});
    receive(BattleStart(EBattleAccept, 3002, 3003, "Sue", 90));
    EXPECT_EQ(
        std::make_tuple(spectated[0]->battle, spectated[1]->battle, spectated[1]->stats.hitPoints),
        std::make_tuple(BATTLE_ELSEWHERE, BATTLE_ELSEWHERE, 90));
    ActionPacket blow = {0, 3000, 1, {}, {}, 3001, 0, 0};
    blow.targetChange.hitPoints = static_cast<int16_t>(-mine->stats.hitPoints);
    receive(Wire(EncodeAction, blow));
    EXPECT_EQ(std::make_tuple(gGame->modeId, mine->stats.hitPoints), std::make_tuple(0, 0));
    receive(Wire(EncodeAction, blow)); // a late shot: the battle is over here
    EXPECT_EQ(mine->stats.hitPoints, 0);
    std::srand(3);
    int experience = mine->stats.experience;
    receive(Wire(EncodeBattleOver, BattleOverPacket{0, 3001, 3000}));
    EXPECT_EQ(std::make_tuple(mine->stats.hitPoints, mine->stats.experience, CellOf(mine)),
              std::make_tuple(mine->stats.totalHP, experience - 1, Triple{10, 9, 2}));
    EXPECT_EQ(Calls("prize").size(), 1u);
    receive(Wire(EncodeBattleOver, BattleOverPacket{0, 3003, 3002}));
    EXPECT_EQ(spectated[0]->battle, nullptr);
    receive(Wire(EncodePrize, PrizePacket{0, 3001, 8001, 7000}));
    EXPECT_EQ(std::make_tuple(RobotItemQuantity(mine, 7000), DArrayLength(mine->skills)),
              std::make_tuple(1, 1)); // the item counts once
}

} // namespace
