// A battle as the players and the other copies see it: the formulas with their draws, the
// three-second wait, the defender turning, the end of a battle with its camera and prize, and
// a whole battle through the packets that reach the defender's copy.
#include "core/battle.h"
#include "core/game.h"
#include "data/skill.h"
#include "ui/dialog.h"
#include "support/animation_support.h"

namespace {

class Battles : public AnimationTest {
  protected:
    void SetUp() override {
        AnimationTest::SetUp();
        InitCamera();
        InitDialogs(13, 103, 101); // Enter, Down, Up
        InitMenus();
        gGame = NewGame();
        gBattle = NewBattle();
        gAnimationHooks = {
            SetRevealSphere, ClearRevealSphere, GetEyeOffset,  GetLookOffset, SetEyeOffset,
            SetLookOffset,   SetFirstPerson,    GetTexturesOn, nullptr,       nullptr};
        InstallBattle(nullptr);
        gHooks.battleOver = [](const Robot* l, int32_t w) { RecordCall("over %d %d", l->uid, w); };
        gHooks.prize = [](int32_t w, uint32_t, uint32_t) { RecordCall("prize to %d", w); };
        gHooks.accept = [](Robot* r, int32_t c) { RecordCall("accept %d %d", r->uid, c); };
    }
    void TearDown() override {
        ClearBattleMenus();
        std::free(gBattle);
        FreeGame(gGame);
        gGame = nullptr;
        AnimationTest::TearDown();
    }
    // This copy's robot (player 0) and its opponent (player 1) side by side in a battle.
    // Our robot may be turning (move) as the battle starts.
    void Fight(bool weStarted, int ourFacing = 0, int theirFacing = 180, int move = 0) {
        gLocalRobotUid = 3000;
        us = us != nullptr ? us : Make(0, true);
        them = them != nullptr ? them : Make(1, false);
        for (Robot* r : {us, them}) {
            r->stats = r->robotClass->initialStats;
            r->battle = nullptr;
            r->acting = r->currentMove = 0;
        }
        us->currentMove = move;
        ClearMoveQueue(us);
        Put(us, 4, 4, ourFacing);
        Put(them, 5, 4, theirFacing);
        Captured([&] { SetUpBattle(gBattle, world_, us, them, weStarted ? us : them); });
        SetGameMode(gGame, 0, EBattleMode);
    }
    static Stats Hp(int hp) { return {0, 0, 0, 0, 0, 0, 0, static_cast<int16_t>(hp), 0, 0, 0}; }
    Robot* us = nullptr;
    Robot* them = nullptr;
};

// Power 2 and dexterity 4 strike with 5; a hit factor of 2 makes 10 against no guard.
TEST_F(Battles, EachSkillByItsRuleAndAWeaponNeverHeals) {
    const struct {
        int skill;
        int16_t energy;
        std::tuple<int, int, int, int> deltas; // actor HP, EP, target HP, EP
    } cases[] = {{8000, 100, {10, -30, 0, 0}},
                 {8001, 100, {0, -15, -10, 0}},
                 {8002, 100, {-10, 0, 0, -5}},
                 {8003, 100, {0, -20, 0, 0}},
                 {8001, 14, {0, -15, -10, 0}}}; // the formula, though the skill fizzles
    Fight(true);
    for (const auto& c : cases) {
        us->stats = {0, 0, 0, 2, 4, 0, 0, 100, 100, c.energy, c.energy};
        them->stats = {0, 0, 0, 0, 0, 0, 0, 100, 100, 0, 0};
        Stats a, t;
        BattleDraws draws = {2, 1.0, 0.5};
        SkillDeltas(&us->stats, &them->stats, LookupSkill(gRegistry, c.skill), &draws, &a, &t);
        EXPECT_EQ(std::tuple(a.hitPoints, a.energy, t.hitPoints, t.energy), c.deltas) << c.skill;
        Captured([&] { RobotUseSkill(us, them, c.skill); }); // drawn: other numbers, same rule
        EXPECT_EQ(std::tuple(them->stats.hitPoints < 100, us->stats.energy < c.energy),
                  std::tuple(c.skill == 8001 && c.energy > 14, c.energy > 14))
            << c.skill;
    }
    std::srand(7);
    int hurt = 0;
    for (int classUid : {4000, 4001, 4002})
        for (int weapon = 5000; weapon <= 5002; weapon++)
            for (int i = 0; i < 200; i++) {
                Stats a = LookupRobotClass(gRegistry, classUid)->initialStats, t = a, da, dt;
                BattleDraws d = DrawFight();
                FightDeltas(&a, &t, LookupWeapon(gRegistry, weapon), &d, &da, &dt);
                EXPECT_EQ(std::tuple(da.hitPoints, da.energy, dt.hitPoints > 0),
                          std::tuple(0, 0, false));
                hurt += dt.hitPoints < 0;
            }
    EXPECT_GT(hurt, 1000);
}

TEST_F(Battles, ARobotLosesBelowOneHP) {
    const struct {
        int16_t hp, ownHp, change, ownChange;
        const char* over;
    } cases[] = {{1, 9, -1, 0, "over 3001 3000"},
                 {2, 9, -1, 0, ""},
                 {1, 9, 0, 0, ""},
                 {9, 1, 0, -1, "over 3000 3001"},
                 {9, 2, 0, -1, ""}}; // drained itself
    for (const auto& c : cases) {
        Fight(true);
        them->stats.hitPoints = c.hp;
        us->stats.hitPoints = c.ownHp;
        Stats own = Hp(c.ownChange), hit = Hp(c.change);
        gHookCalls.clear();
        Captured([&] { ApplyBattleResult(us, them, &own, &hit, 1); });
        bool over = *c.over != 0;
        EXPECT_EQ(std::tuple(Calls("over"), gGame->modeId, us->battle == nullptr),
                  std::tuple(std::vector<std::string>(over, c.over),
                             over ? EWanderingMode : EBattleMode, over));
    }
}

TEST_F(Battles, TheMenuOpensAfterThirtyTicksUnlessTheRobotActs) {
    const struct {
        int ticks, acting;
        bool menu;
    } cases[] = {{29, 0, false}, {30, 0, true}, {30, 1, false}};
    for (const auto& c : cases) {
        Fight(true);
        us->acting = c.acting;
        for (int i = 0; i < c.ticks; i++)
            BattleTick(us);
        bool prepared = PrepareBattleMenu(us), open = BattleMenuOpen();
        us->acting = 0;
        Captured([] { BattleKeyboard(13, 0, 0); }); // Enter on "Fight"
        EXPECT_EQ(std::tuple(prepared, open, us->acting), std::tuple(c.menu, c.menu, int{c.menu}))
            << c.ticks;
        ClearBattleMenus();
    }
    AddItemToInventory(us->inventory, 7000); // an item used in a battle is the robot's action
    us->battleWait = 40;
    Captured([&] { UseItem(us, 7000); });
    EXPECT_EQ(us->battleWait, 0);
}

TEST_F(Battles, TheDefenderTurnsToFaceTheAttackerTheWayThatNeedsNoWrap) {
    const struct {
        int facing, move, attackerFacing, queued;
    } cases[] = {
        {0, 0, 0, 4}, // attacked from behind
        {0, 0, 180, 0},   {90, 0, 0, 2},
        {270, 0, 0, -2},  {15, 1, 90, 5}, // the turn under way ends at 45 first
        {30, -1, 180, 0}, {330, 1, 180, 0},
    };
    for (const auto& c : cases) {
        Fight(false, c.facing, c.attackerFacing, c.move);
        EXPECT_EQ(std::make_pair(PeekMove(us), us->battleWait),
                  std::make_pair(c.queued, -std::abs(c.queued)))
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
    const Vector3 &e = *GetEyeOffset(), &l = *GetLookOffset();
    EXPECT_EQ(std::make_tuple(e.x, e.y, e.z, l.x, l.y, l.z, GetFirstPerson(), GetMusicTrack()),
              std::make_tuple(1.0, -0.5, 0.5, -1.0, -0.5, 0.5, 0, BATTLE_MUSIC_TRACK));
    Captured([] { BattleSpecialKeys(5, 0, 0); }); // F5 leaves on this copy only
    EXPECT_EQ(std::make_tuple(e.z, l.z, GetFirstPerson(), gGame->modeId, us->battle, them->battle,
                              GetMusicTrack(), Calls("over").size()),
              std::make_tuple(3.0, 6.0, 1, EWanderingMode, nullptr, nullptr, WANDERING_MUSIC_TRACK,
                              size_t{0}));
}

TEST_F(Battles, TheLoserHandsOverAnItemASkillOrNothing) {
    Robot* loser = Make(2, false);
    LearnSkill(loser, 8000);
    Captured([&] {
        for (int uid : {5001, 5000}) // one entry left
            RemoveItemFromInventory(loser->inventory, uid);
    });
    std::string prizes;                     // by roll: "I" for an item, then the skill's uid
    for (int held = 1; held >= 0; held--) { // then with an empty inventory and no skill
        for (int roll = 0; roll < 10; roll++) {
            Prize p = ChoosePrize(loser, roll, [](int) { return 0; });
            prizes += (p.itemUid != -1 ? "I" : "") + std::to_string(p.skillUid) + " ";
        }
        Captured([&] {
            if (held)
                DArrayDeleteAt(loser->skills, 0);
            RemoveItemFromInventory(loser->inventory, 6000);
        });
    }
    EXPECT_EQ(prizes, "I-1 I-1 I-1 I-1 I-1 I-1 8000 8000 -1 -1 "
                      "-1 -1 -1 -1 -1 -1 -1 -1 -1 -1 ");
}

// The defender's copy (player 1) through a battle that it loses, then one it wins.
TEST_F(Battles, ABattleThroughThePacketsOfTheOtherCopy) {
    gLocalRobotUid = 3001;
    Robot* mine = Put(Make(1, true), 5, 4, 0);
    Robot* theirs = Put(Make(0, false), 4, 4, 0);
    Robot* watched[] = {Put(Make(2, false), 2, 2), Put(Make(3, false), 3, 2)};
    Receive(BattleStart(EBattleChallenge, 3000, 3001, "Hank", 500));
    EXPECT_EQ(std::make_tuple(gGame->modeId, std::string(theirs->name), theirs->stats.totalHP),
              std::make_tuple(EBattleMode, std::string("Hank"), 500));
    EXPECT_EQ(Calls("accept"), std::vector<std::string>{"accept 3001 3000"});
    Receive(BattleStart(EBattleAccept, 3002, 3003, "Sue", 90));
    EXPECT_EQ(std::make_tuple(watched[0]->battle, watched[1]->battle, watched[1]->stats.hitPoints),
              std::make_tuple(BATTLE_ELSEWHERE, BATTLE_ELSEWHERE, 90));
    const ActionPacket blow = {0, 3000, 1, {}, Hp(-mine->stats.hitPoints), 3001, 0, 0};
    EXPECT_TRUE(Receive(Wire(EncodeAction, blow)));
    EXPECT_EQ(std::make_tuple(gGame->modeId, mine->stats.hitPoints), std::make_tuple(0, 0));
    EXPECT_FALSE(Receive(Wire(EncodeAction, blow))); // a late shot: the battle is over here
    int experience = mine->stats.experience;
    Receive(Wire(EncodeBattleOver, BattleOverPacket{0, 3001, 3000}));
    EXPECT_EQ(std::make_tuple(mine->stats.hitPoints, mine->stats.experience, CellOf(mine)),
              std::make_tuple(mine->stats.totalHP, experience - 1, Triple{10, 9, 2}));
    EXPECT_EQ(Calls("prize"), std::vector<std::string>{"prize to 3000"});
    Receive(Wire(EncodeAction, ActionPacket{0, 3002, 1, {}, Hp(-90), 3003, 0, 0})); // it ends
    EXPECT_TRUE(watched[0]->battle == nullptr && watched[1]->battle == nullptr);
    Receive(Wire(EncodeBattleOver, BattleOverPacket{0, 3000, 3001}));
    Receive(Wire(EncodePrize, PrizePacket{0, 3001, 8001, 7000}));
    EXPECT_EQ(std::make_tuple(mine->stats.experience, RobotItemQuantity(mine, 7000),
                              DArrayLength(mine->skills)),
              std::make_tuple(experience, 1, 1)); // the item counts once
}

} // namespace
