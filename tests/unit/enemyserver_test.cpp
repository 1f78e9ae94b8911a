// The enemy robot server as the players meet it: where an enemy goes, whom it challenges, and
// what the battle packets reaching the server change.
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
        Stand(EnemyAt(server_, 1)->robot, 3, 3);
    }
    void TearDown() override {
        FreeEnemyServer(server_);
        AnimationTest::TearDown();
    }
    // A robot standing in its cell as the server sees it; players are made on first use.
    Robot* Stand(Robot* r, int x, int y, int facing = 0) {
        SetCellContent(world_, &Put(r, x, y, facing)->cell, ERobot, r);
        return r;
    }
    Robot* Player(int index, int x, int y) {
        Robot* r = FindRobotInWorld(world_, ROBOT_UID_BASE + index);
        return Stand(r != nullptr ? r : Make(index, false), x, y);
    }
    bool Receive(uint8_t type, uint8_t sub, uint32_t a, uint32_t b, int16_t hp = 77) {
        BattleStartPacket p = {0, sub, a, 0, b, "Ann", {}};
        p.stats.hitPoints = hp;
        auto wire = type == EBattleStartPacket ? Wire(EncodeBattleStart, p)
                                               : Wire(EncodeBattleOver, BattleOverPacket{0, a, b});
        bool changed = false;
        said = Captured([&] { changed = HandlePacket(wire.data(), wire.size()); });
        return changed;
    }
    EnemyServer* server_ = nullptr;
    EnemyEntry* dalek_ = nullptr;
    std::string said;
};

constexpr int32_t F = MOVE_FORWARD, RANDOM = 2, CHALLENGE = 0;

// The enemy at (5, 5) unless it says otherwise; another enemy stands at (3, 3).
TEST_F(Enemy, ChallengesAPlayerInFrontElseHomesInOnTheFirstPlayerFoundElseMovesAtRandom) {
    struct Case {
        int facing;
        std::vector<std::pair<int, int>> players; // indexes 1, 2, ...
        int32_t move;
        Battle* battle = nullptr;
        int x = 5, y = 5;
    } cases[] = {{0, {{6, 5}}, CHALLENGE},
                 {0, {{6, 5}}, -1, BATTLE_ELSEWHERE},
                 {0, {{8, 2}}, CHALLENGE, 0, 7, 2},
                 {0, {{8, 5}}, F},
                 {0, {{7, 7}}, F},
                 {315, {{9, 5}}, F},
                 {0, {{7, 8}}, 1},
                 {0, {{6, 6}}, 1},
                 {0, {{5, 3}}, -1},
                 {90, {{8, 4}}, -1},
                 {0, {{6, 4}, {4, 9}}, 1},
                 {0, {{4, 6}, {4, 4}}, -1},
                 {0, {{10, 5}, {5, 10}}, RANDOM},
                 {0, {}, RANDOM}};
    for (const Case& c : cases) {
        Stand(dalek_->robot, c.x, c.y, c.facing);
        std::vector<Robot*> players;
        for (auto [x, y] : c.players)
            players.push_back(Player(static_cast<int>(players.size()) + 1, x, y));
        for (Robot* p : players)
            p->battle = c.battle;
        std::srand(7);
        int32_t random = RandomEnemyMove();
        std::srand(7);
        gHookCalls.clear();
        Captured([&] { PlanEnemy(dalek_); });
        EXPECT_EQ(PeekMove(dalek_->robot), c.move == RANDOM ? random : c.move) << c.facing;
        EXPECT_EQ(Calls("challenge 3004 3001").size() == 1, c.move == CHALLENGE);
        EXPECT_EQ(Calls("state 3004").size() == 1, c.move != CHALLENGE);
        ClearMoveQueue(dalek_->robot);
        for (Robot* p : players) {
            SetCellContent(world_, &p->cell, EEmpty, nullptr);
            p->battle = dalek_->battle = dalek_->robot->battle = nullptr;
        }
    }
    std::map<int32_t, int> counts; // forward twice as often as each other move
    for (int i = 0; i < 10000; i++)
        counts[RandomEnemyMove()]++;
    EXPECT_EQ(counts.size(), 4u);
    for (int32_t move : {1, -1, F + 1})
        EXPECT_NEAR(counts[move] * 2, counts[F], 400) << move;
}

// Player 0 safe at home at (8, 2) is left alone (the first case shows player 1 there is not).
TEST_F(Enemy, NeverChallengesAPlayerInItsOwnSafeZone) {
    Stand(dalek_->robot, 7, 2);
    Player(0, 8, 2);
    Captured([&] { PlanEnemy(dalek_); });
    EXPECT_EQ(std::make_tuple(Calls("challenge").size(), PeekMove(dalek_->robot)),
              std::make_tuple(0u, -1));
}

TEST_F(Enemy, AnswersChallengesJoinsThemToItsBattleAndComesBackWholeElsewhereWhenBeaten) {
    Stand(dalek_->robot, 5, 5);
    Robot *ann = Player(1, 6, 5), *bob = Player(2, 4, 5), *cy = Player(3, 2, 2);
    EXPECT_TRUE(Receive(EBattleStartPacket, EBattleChallenge, 3001, 3004));
    EXPECT_TRUE(Receive(EBattleStartPacket, EBattleChallenge, 3002, 3004, 55));
    EXPECT_EQ(Calls("accept"), (std::vector<std::string>{"accept 3004 3001", "accept 3004 3002"}));
    Battle* battle = dalek_->battle;
    ASSERT_NE(battle, nullptr);
    EXPECT_EQ(std::make_tuple(battle->robotB, ann->battle, bob->battle, bob->stats.hitPoints),
              std::make_tuple(ann, battle, battle, 55));
    // Robots the server does not hold, our own echoes and nonsense change nothing.
    for (auto [type, sub, a, b, says] : std::vector<std::tuple<int, int, int, int, std::string>>{
             {EBattleStartPacket, 0, 3000, 3004, "robot 3000, which this server does not hold"},
             {EBattleStartPacket, 0, 3001, 3010, "robot 3010, which this server does not hold"},
             {EBattleOverPacket, 0, 3011, 3001, "robot 3011, which this server does not hold"},
             {EBattleStartPacket, 0, 3005, 3004, "from computer robot 3005"},
             {EBattleStartPacket, 7, 3001, 3004, "sub-type 7"},
             {EBattleStartPacket, 0, 3004, 3001, ""},
             {EBattleStartPacket, 1, 3001, 3004, ""}}) {
        EXPECT_FALSE(Receive(type, sub, a, b));
        EXPECT_TRUE(says.empty() ? said.empty() : said.find(says) != std::string::npos) << said;
    }
    Robot* dalek = dalek_->robot;
    dalek->stats.hitPoints = -3;
    dalek->stats.energy = 1;
    gHookCalls.clear();
    EXPECT_TRUE(Receive(EBattleOverPacket, 0, 3004, 3001));
    EXPECT_EQ(std::make_tuple(dalek->stats.hitPoints, dalek->stats.energy, RobotAt(5, 5),
                              dalek->battle, ann->battle, bob->battle, Calls("state").size()),
              std::make_tuple(dalek->stats.totalHP, dalek->stats.totalEnergy, nullptr, nullptr,
                              nullptr, nullptr, 1u));
    EXPECT_NE(CellOf(dalek), Triple(5, 5, 2));
    // Two players fighting each other, watched from here.
    EXPECT_TRUE(Receive(EBattleStartPacket, EBattleChallenge, 3002, 3003));
    EXPECT_EQ(std::make_pair(bob->battle, cy->battle),
              std::make_pair(BATTLE_ELSEWHERE, BATTLE_ELSEWHERE));
    EXPECT_TRUE(Receive(EBattleOverPacket, 0, 3003, 3002));
    EXPECT_TRUE(bob->battle == nullptr && cy->battle == nullptr);
}

} // namespace
