// The enemy robot server as the players meet it: where an enemy goes, whom it challenges and
// when it fires, and what the battle packets reaching the server change.
#include "core/battle.h"
#include "core/enemyserver.h"
#include "core/inbound.h"
#include "support/animation_support.h"

#include <map>

namespace {

class Enemy : public AnimationTest {
  protected:
    void SetUp() override {
        AnimationTest::SetUp();
        gLocalRobotUid = ENEMY_SERVER_UID;
        gHooks.challenge = [](Robot* r, int32_t t) { RecordCall("challenge %d %d", r->uid, t); };
        gHooks.accept = [](Robot* r, int32_t t) { RecordCall("accept %d %d", r->uid, t); };
        Captured([&] { server_ = NewEnemyServer(2); });
        dalek_ = EnemyAt(server_, 0);
        Stand(dalek_->robot, 5, 5);
        Stand(EnemyAt(server_, 1)->robot, 1, 10);
    }
    void TearDown() override {
        FreeEnemyServer(server_);
        AnimationTest::TearDown();
    }
    // A robot standing in its cell as the server sees it; players are made on first use.
    Robot* Stand(Robot* r, int x, int y, int facing = 0) {
        Put(r, x, y, facing);
        SetCellContent(world_, &r->cell, ERobot, r);
        return r;
    }
    Robot* Player(int index, int x, int y) {
        Robot* r = nullptr;
        Captured([&] { r = LookupRobot(gRegistry, ROBOT_UID_BASE + index); });
        return Stand(r != nullptr ? r : Make(index, false), x, y);
    }
    // The move one planning pass queued (0 for none).
    int32_t Plan() {
        Captured([&] { PlanEnemy(dalek_); });
        int32_t move = PeekMove(dalek_->robot);
        ClearMoveQueue(dalek_->robot);
        return move;
    }
    bool Receive(const std::vector<uint8_t>& p) {
        bool changed = false;
        said = Captured([&] { changed = HandlePacket(p.data(), p.size()); });
        return changed;
    }
    static std::vector<uint8_t> Start(uint8_t sub, uint32_t from, uint32_t to, int16_t hp = 77) {
        BattleStartPacket p = {0, sub, from, 0, to, "Ann", {}};
        p.stats.hitPoints = hp;
        return Wire(EncodeBattleStart, p);
    }
    static std::vector<uint8_t> Over(uint32_t loser, uint32_t winner) {
        return Wire(EncodeBattleOver, BattleOverPacket{0, loser, winner});
    }
    EnemyServer* server_ = nullptr;
    EnemyEntry* dalek_ = nullptr;
    std::string said;
};

TEST_F(Enemy, StepsTowardsAPlayerInItsWindowAndTurnsTheShorterWayOrWhenClose) {
    struct Case {
        int facing, x, y, result, turn;
    } cases[] = {
        {0, 8, 5, ESteerForward, 0},  {0, 7, 7, ESteerForward, 0}, {315, 9, 5, ESteerForward, 0},
        {45, 5, 8, ESteerForward, 0}, {0, 7, 8, ESteerTurn, 1},    {0, 6, 6, ESteerTurn, 1},
        {0, 5, 6, ESteerTurn, 1},     {0, 5, 3, ESteerTurn, -1},   {90, 8, 4, ESteerTurn, -1},
        {0, 6, 5, ESteerTurn, -1},    {270, 4, 4, ESteerTurn, -1}};
    for (const Case& c : cases) {
        dalek_->robot->facing = c.facing;
        Location target = {c.x, c.y, 2};
        int32_t turn = 0;
        EXPECT_EQ(std::make_pair(Steer(dalek_, &target, &turn), turn),
                  std::make_pair(c.result, c.turn))
            << c.facing << " to " << c.x << "," << c.y;
    }
}

TEST_F(Enemy, SearchesColumnByColumnFromTheLowestXAndSkipsComputerRobots) {
    struct Case {
        std::vector<std::pair<int, int>> players;
        bool found;
        int x, y;
    } cases[] = {{{{6, 4}, {4, 9}}, true, 4, 9},
                 {{{4, 6}, {4, 4}}, true, 4, 4},
                 {{{1, 1}}, true, 1, 1},
                 {{{10, 5}, {5, 10}}, false, 0, 0}};
    Stand(EnemyAt(server_, 1)->robot, 3, 3); // another enemy, first in the order
    for (const Case& c : cases) {
        std::vector<Robot*> players;
        for (auto [x, y] : c.players)
            players.push_back(Player(static_cast<int>(players.size()), x, y));
        Location found = {0, 0, 0};
        bool any = false;
        Captured([&] { any = FindPlayer(dalek_, &found); });
        EXPECT_EQ(std::make_tuple(any, found.x, found.y), std::make_tuple(c.found, c.x, c.y));
        for (Robot* r : players)
            SetCellContent(world_, &r->cell, EEmpty, nullptr);
    }
}

TEST_F(Enemy, AloneItDrawsForwardTwiceAsOftenAndPlansOnEveryTenthTick) {
    std::srand(2024);
    std::map<int32_t, int> counts;
    for (int i = 0; i < 10000; i++)
        counts[RandomEnemyMove()]++;
    EXPECT_EQ(counts.size(), 4u);
    for (int32_t move : {1, -1, MOVE_BACKWARD})
        EXPECT_NEAR(counts[move], 2000, 150) << move;
    EXPECT_NEAR(counts[MOVE_FORWARD], 4000, 200);
    // A tick between two plans sends only the keep-alive of a robot silent for 500 ms.
    EnemyAt(server_, 1)->robot->stamp.time -= 1;
    Captured([&] { AfterEnemyTick(server_, 11, GetTimeStamp()); });
    EXPECT_EQ(gHookCalls, std::vector<std::string>{"state 3005"});
    std::string said = Captured([&] { AfterEnemyTick(server_, 20, GetTimeStamp()); });
    EXPECT_EQ(Occurrences(said, "Added move"), 2);
    EXPECT_NE(PeekMove(dalek_->robot), 0);
}

TEST_F(Enemy, ChallengesAPlayerInFrontBeforeItSearchesButNeverOneAtHome) {
    struct Case {
        int x, y, facing, player, px, py;
        Battle* battle;
        bool challenged;
        int32_t move;
    } cases[] = {{5, 5, 0, 1, 6, 5, nullptr, true, 0},
                 {7, 2, 0, 0, 8, 2, nullptr, false, -1}, // in its own safe zone
                 {7, 2, 0, 1, 8, 2, nullptr, true, 0},   // in another's
                 {5, 5, 0, 1, 6, 5, BATTLE_ELSEWHERE, false, -1},
                 {6, 5, 45, 1, 7, 7, nullptr, false, MOVE_FORWARD},
                 {5, 5, 90, 5, 5, 6, nullptr, false, 2}}; // another enemy: a random move
    for (const Case& c : cases) {
        Stand(dalek_->robot, c.x, c.y, c.facing);
        Robot* other = c.player < 4 ? Player(c.player, c.px, c.py)
                                    : Stand(EnemyAt(server_, 1)->robot, c.px, c.py);
        other->battle = c.battle;
        gHookCalls.clear();
        std::srand(7);
        int32_t random = RandomEnemyMove();
        std::srand(7);
        EXPECT_EQ(Plan(), c.move == 2 ? random : c.move)
            << c.x << "," << c.y << " facing " << c.facing;
        EXPECT_EQ(Calls("challenge 3004").size(), c.challenged ? 1u : 0u);
        EXPECT_EQ(dalek_->battle != nullptr && other->battle == dalek_->battle, c.challenged);
        SetCellContent(world_, &other->cell, EEmpty, nullptr);
        dalek_->battle = dalek_->robot->battle = other->battle = nullptr;
    }
}

TEST_F(Enemy, FiresItsPlasmaBeamOnceItHasWaitedSixSecondsAndWandersWhenItsOpponentLeaves) {
    Robot* ann = Player(1, 6, 5);
    EXPECT_EQ(Plan(), 0);
    for (int wait : {59, 60, 70}) {
        dalek_->robot->battleWait = wait;
        EXPECT_EQ(Plan(), 0);
    }
    ASSERT_EQ(Hooks().sent.size(), 1u); // the last pass found its shot still running
    EXPECT_EQ(std::make_tuple(Hooks().sent[0].robotUid, Hooks().sent[0].type,
                              Hooks().sent[0].targetUid, Hooks().sent[0].value),
              std::make_tuple(3004u, EWeaponAnimation, 3001u, 5002u));
    EXPECT_EQ(dalek_->acted, 1u);
    Captured([&] { RemoveRobotFromWorld(world_, ann->uid); });
    EXPECT_NE(Plan(), 0);
    EXPECT_EQ(std::make_tuple(dalek_->battle, dalek_->robot->battle, ann->battle),
              std::make_tuple(nullptr, nullptr, nullptr));
}

TEST_F(Enemy, BattlePacketsAnswerAndJoinAndABeatenEnemyIsRestoredElsewhere) {
    Robot *ann = Player(1, 6, 5), *bob = Player(2, 4, 5), *cy = Player(3, 2, 2);
    EXPECT_TRUE(Receive(Start(EBattleChallenge, 3001, 3004)));
    EXPECT_TRUE(Receive(Start(EBattleChallenge, 3002, 3004, 55))); // joins the running battle
    EXPECT_EQ(Calls("accept"), (std::vector<std::string>{"accept 3004 3001", "accept 3004 3002"}));
    Battle* battle = dalek_->battle;
    ASSERT_NE(battle, nullptr);
    EXPECT_EQ(std::make_tuple(battle->robotB, ann->battle, bob->battle, ann->stats.hitPoints,
                              bob->stats.hitPoints, std::string(bob->name)),
              std::make_tuple(ann, battle, battle, 77, 55, std::string("Ann")));
    // Robots the server does not hold, our own echoes and nonsense change nothing.
    for (auto [packet, says] : std::vector<std::pair<std::vector<uint8_t>, std::string>>{
             {Start(EBattleChallenge, 3000, 3004), "robot 3000, which this server does not hold"},
             {Start(EBattleChallenge, 3001, 3010), "robot 3010, which this server does not hold"},
             {Over(3011, 3001), "robot 3011, which this server does not hold"},
             {Start(EBattleChallenge, 3005, 3004), "from computer robot 3005"},
             {Start(7, 3001, 3004), "sub-type 7"},
             {Start(EBattleChallenge, 3004, 3001), ""},
             {Start(EBattleAccept, 3001, 3004), ""}}) {
        EXPECT_FALSE(Receive(packet));
        EXPECT_TRUE(says.empty() ? said.empty() : said.find(says) != std::string::npos) << said;
    }
    EXPECT_EQ(Calls("accept").size(), 2u);
    Stats whole = dalek_->robot->stats;
    dalek_->robot->stats.hitPoints = -3;
    dalek_->robot->stats.energy = 1;
    gHookCalls.clear();
    EXPECT_TRUE(Receive(Over(3004, 3001)));
    Robot* dalek = dalek_->robot;
    EXPECT_EQ(
        std::make_tuple(dalek->stats.hitPoints, dalek->stats.energy, RobotAt(5, 5), dalek_->battle,
                        ann->battle, bob->battle),
        std::make_tuple(whole.totalHP, whole.totalEnergy, nullptr, nullptr, nullptr, nullptr));
    EXPECT_NE(CellOf(dalek), Triple(5, 5, 2));
    EXPECT_EQ(Calls("state"), std::vector<std::string>{"state 3004"});
    // Two players fighting each other, watched from here; and the enemy's own challenge answered.
    EXPECT_TRUE(Receive(Start(EBattleChallenge, 3002, 3003)));
    EXPECT_EQ(std::make_tuple(bob->battle, cy->battle),
              std::make_tuple(BATTLE_ELSEWHERE, BATTLE_ELSEWHERE));
    EXPECT_TRUE(Receive(Over(3003, 3002)));
    EXPECT_EQ(std::make_tuple(bob->battle, cy->battle), std::make_tuple(nullptr, nullptr));
    Stand(dalek, 5, 5);
    EXPECT_EQ(Plan(), 0);
    EXPECT_TRUE(Receive(Start(EBattleAccept, 3004, 3001, 12)));
    EXPECT_EQ(std::make_tuple(ann->battle, ann->stats.hitPoints),
              std::make_tuple(dalek->battle, 12));
}

} // namespace
