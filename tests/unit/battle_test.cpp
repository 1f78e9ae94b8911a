// A battle as the players and the other copies see it: the formulas with their draws, the
// three-second wait, the defender turning, the end of a battle with its camera and prize, and
// battles through the packets that reach this copy.
#include "core/battle.h"
#include "core/game.h"
#include "data/skill.h"
#include "data/weapon.h"
#include "ui/dialog.h"
#include "support/animation_support.h"

namespace {

class Battles : public AnimationTest {
  protected:
    void SetUp() override {
        AnimationTest::SetUp();
        InitCamera(), InitDialogs(13, 103, 101), InitMenus(); // Enter, Down, Up
        gGame = NewGame(), gBattle = NewBattle(), InstallBattle(nullptr);
        gLocalRobotUid = 3000, us = Make(0, true), them = Make(1, false);
    }
    void TearDown() override {
        ClearBattleMenus(), std::free(gBattle), FreeGame(gGame), gGame = nullptr;
        AnimationTest::TearDown();
    }
    static Stats Hp(int16_t hp) { return {0, 0, 0, 0, 0, 0, 0, hp, 0, 0, 0}; }
    Robot *us = nullptr, *them = nullptr;
};

// Our own definitions: power 2 and dexterity 4 strike with 11 by a weapon of power 2, accuracy 2
// and dexterity 3, with 7 by a skill whose target gains 1 power; the hit factor multiplies that.
// The target guards with 5 (dexterity 1, evade 6, stamina 8) and twice its defense, times the
// guard factor. Every skill costs 7 EP.
TEST_F(Battles, EachActionByItsRuleAndNoBlowHeals) {
    // clang-format off
    struct { int uid, defense; BattleDraws draw; std::tuple<int, int, int, int> delta; } cases[] = {
        {5000, 1, {3, 2.0, 0}, {0, 0, -19, 0}},     // actor HP, EP, target HP, EP; 33 against 14
        {5000, 9, {3, 2.0, 0}, {0, 0, 0, 0}},       // 33 against 46
        {8001, 0, {2, 0.5, 0}, {0, -7, -11, 0}},    // 14 against 2.5
        {8000, 20, {2, 0.5, 0}, {14, -7, 0, 0}},    // the whole strike, whatever the guard
        {8002, 0, {2, 0.5, 0.5}, {-10, -2, 0, -5}}, // drains 5 of 11
        {8002, 20, {2, 0.5, 0.5}, {0, -7, 0, 0}},
        {8002, 0, {2, 0.5, 1.0}, {-18, 2, 0, -9}}, // no more than the 9 EP it holds
        {8003, 0, {2, 0.5, 0}, {0, -7, 0, 0}}};
    // clang-format on
    const Stats actor = {0, 0, 0, 2, 4, 0, 0, 100, 100, 100, 100};
    const Weapon weapon = {0, "", "", 2, 3, 2}; // power, dexterity, accuracy
    Skill skill = {"", "", "", 0, 0, 7, {}, {}, {0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        Stats target = {6, 8, static_cast<int8_t>(c.defense), 0, 1, 0, 0, 9, 9, 9, 9}, a, t;
        skill.uid = c.uid, c.uid == 5000 ? FightDeltas(&actor, &target, &weapon, &c.draw, &a, &t)
                                         : SkillDeltas(&actor, &target, &skill, &c.draw, &a, &t);
        EXPECT_EQ(std::tuple(a.hitPoints, a.energy, t.hitPoints, t.energy), c.delta) << c.uid;
    }
    Captured([&] { SetUpBattle(gBattle, world_, us, them, us); }); // as played, drawn numbers
    for (int16_t energy : {99, 0}) {
        us->stats = {0, 0, 0, 60, 60, 0, 0, 50, 100, energy, 100}, them->stats.hitPoints = 100;
        Captured([&] { RobotUseSkill(us, them, 8001); }); // fizzles without the energy
        EXPECT_EQ(them->stats.hitPoints < 100 && (us->stats.energy < energy), energy > 0);
    }
}

// An item used in a battle is the robot's action, sent to every copy; a robot whose own action
// takes its last HP loses.
TEST_F(Battles, AnItemIsTheActionAndARobotThatSpendsItsLastHPLoses) {
    Put(us, 4, 4), Put(them, 5, 4), AddItemToInventory(us->inventory, 7000);
    Captured([&] { SetUpBattle(gBattle, world_, us, them, us); });
    us->acting = 1;
    std::string said = Captured([&] { UseItem(us, 7000); });
    us->stats.hitPoints = 1;
    const Stats spent = Hp(-1), none = {}; // down to 0
    Captured([&] { ApplyBattleResult(us, them, &spent, &none, 1); });
    EXPECT_EQ(std::tuple(us->acting, said.find("Battle result: robot 3000 HP +") != said.npos,
                         us->battle, Calls("over")),
              std::tuple(0, true, nullptr, std::vector<std::string>{"over 3000 to 3001"}))
        << said;
}

// The defender turns to face the attacker the way that needs no wrap, each step a tick more to
// wait, while the camera shows the side view by the way it faces (the eye's x and y given).
// Its menu opens once it has waited 30 ticks, unless it is acting; Enter on "Fight" is its
// action. F5 leaves the battle on this copy only, with the camera as it was.
TEST_F(Battles, TheDefenderTurnsWaitsForItsMenuAndTheCameraComesBackWhenTheBattleEnds) {
    // clang-format off
    const struct { int facing, move, attackerFacing, queued; double x, y; } cases[] = {
        {0, 0, 0, 4, -0.5, -1.0}, // attacked from behind
        {0, 0, 180, 0, 0.5, 1.0},
        {270, 0, 0, -2, -0.5, -1.0},
        {15, 1, 90, 5, 1.0, -0.5}}; // the turn under way ends at 45 first
    // clang-format on
    Vector3 eye = {1, 2, 3}, look = {4, 5, 6};
    SetEyeOffset(&eye), SetLookOffset(&look), SetFirstPerson(1);
    for (const auto& c : cases) {
        us->currentMove = c.move; // this copy's robot (player 0) attacked by player 1
        Put(us, 4, 4, c.facing), Put(them, 5, 4, c.attackerFacing);
        Captured([&] { SetUpBattle(gBattle, world_, us, them, them); });
        int queued = PeekMove(us), wait = us->battleWait;
        TicksUntilIdle(us), RunOut();
        for (int i = wait; i < 29; i++)
            BattleTick(us), BattleTick(them); // only the robot this copy drives waits here
        bool early = PrepareBattleMenu(us);
        BattleTick(us), us->acting = 1;
        bool acting = PrepareBattleMenu(us);
        us->acting = 0;
        bool due = PrepareBattleMenu(us) && BattleMenuOpen();
        Captured([] { BattleKeyboard(13, 0, 0); }); // Enter on "Fight"
        const Vector3& e = Hooks().eye;             // where the camera flies
        auto during = std::tuple(queued, wait, us->facing, e.x, e.y, Hooks().firstPerson,
                                 !early && !acting && due && us->acting == 1, them->battleWait);
        SetEyeOffset(&e), SetLookOffset(&Hooks().look);         // the camera where it flew
        Captured([] { BattleSpecialKeys(5, 0, 0); }), RunOut(); // the shot lands after the battle
        bool back = GetEyeOffset()->z == 3 && GetLookOffset()->z == 6 && GetFirstPerson() == 1;
        EXPECT_EQ(std::tuple(during, back, us->battle),
                  std::tuple(std::tuple(c.queued, -std::abs(c.queued),
                                        (c.attackerFacing + 180) % 360, c.x, c.y, 0, true, 0),
                             true, nullptr))
            << c.facing;
    }
}

// By roll 0 to 9 from a loser holding nothing (a johnny starts with no skill; its items go),
// then from one holding one item and one skill.
TEST_F(Battles, TheLoserHandsOverAnItemASkillOrNothing) {
    std::string prizes;
    Captured([&] { FreeInventory(them->inventory); });
    them->inventory = NewInventory();
    for (int held = 0; held <= 1; held++) {
        if (held)
            AddItemToInventory(them->inventory, 7000), LearnSkill(them, 8000);
        for (int roll = 0; roll < 10; roll++) {
            auto [skill, item] = ChoosePrize(them, roll, [](int n) { return n - 1; });
            prizes += item == 7000 ? 'I' : skill == 8000 ? 'S' : item + skill == -2 ? '-' : '?';
        }
    }
    EXPECT_EQ(prizes, "----------IIIIIISS--");
}

// Each packet in turn, as Seen by us, player 1 and players 2 and 3; then the game mode and our HP
// (3 when whole again).
TEST_F(Battles, BattlesThroughThePacketsOfTheOtherCopies) {
    // clang-format off
    const struct { std::vector<uint8_t> wire; std::string after; } steps[] = {
        // unknown robots
        {BattleStart(EBattleChallenge, 3020, 3000, "X"), "---- dropped 0 2"},
        {Wire(EncodeAction, ActionPacket{0, 3001, 1, {}, {}, 3020, 0, 0}), "---- dropped 0 2"},
        {BattleOver(3000, 3020), "---- dropped 0 2"},
        {BattleStart(EBattleChallenge, 3001, 3000, "Hank", 500), "+EE-- 1 2"},
        {BattleStart(EBattleAccept, 3002, 3003, "Sue"), "+EEXX 1 2"},
        {Wire(EncodeAction, ActionPacket{0, 3001, 1, {}, Hp(-1), 3000, 0, 0}), "+EEXX 1 1"},
        // one HP hit for one loses
        {Wire(EncodeAction, ActionPacket{0, 3001, 1, {}, Hp(-1), 3000, 0, 0}), "+--XX 0 0"},
        // a late action
        {Wire(EncodeAction, ActionPacket{0, 3001, 1, {}, {}, 3000, 0, 0}), "--XX dropped 0 0"},
        {BattleOver(3000, 3001), "+--XX 0 3"},
        // the battle elsewhere ends with its blow
        {Wire(EncodeAction, ActionPacket{0, 3002, 1, {}, Hp(-99), 3003, 0, 0}), "+---- 0 3"}};
    // clang-format on
    Robot* robots[] = {Put(us, 5, 4), Put(them, 4, 4), Put(Make(2, false), 2, 2),
                       Put(Make(3, false), 3, 2)};
    us->stats.hitPoints = 2, us->stats.totalHP = 3;
    for (const auto& [wire, expected] : steps) {
        std::string seen = Seen(wire, robots); // the packet first
        EXPECT_EQ(seen + " " + std::to_string(gGame->modeId) + " " +
                      std::to_string(us->stats.hitPoints),
                  expected);
    }
}

} // namespace
