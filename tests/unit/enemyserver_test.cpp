// The enemy robot server as the players meet it: where an enemy goes, whom it challenges, and
// what the battle packets reaching the server change.
#include "core/battle.h"
#include "core/enemyserver.h"
#include "core/game.h"
#include "support/animation_support.h"

#include <map>

namespace {

class Enemy : public AnimationTest {
  protected:
    void SetUp() override {
        AnimationTest::SetUp();
        InitCamera();
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
    EnemyServer* server_ = nullptr;
    EnemyEntry* dalek_ = nullptr;
};

constexpr int32_t F = MOVE_FORWARD, RANDOM = 2, CHALLENGE = 0, SHOT = 3, WAIT = 4;
// The enemy's own battle with the first player.
Battle* const OURS = reinterpret_cast<Battle*>(uintptr_t{8});

// The enemy at (5, 5) unless it says otherwise; another enemy stands at (3, 3). Player 0's home
// is the safe zone around (9, 2).
TEST_F(Enemy, ChallengesAPlayerInFrontElseHomesInOnTheFirstPlayerFoundElseMovesAtRandom) {
    struct Case {
        int facing;
        std::vector<std::tuple<int, int, int>> players; // index, x, y
        int32_t move;
        Battle* battle = nullptr;
        int x = 5, y = 5, battleWait = 0;
        bool gone = false; // the opponent has left the game
    } cases[] = {{0, {{1, 6, 5}}, SHOT, OURS, 5, 5, 60},
                 {0, {{1, 6, 5}}, WAIT, OURS, 5, 5, 59},
                 {0, {{1, 6, 5}}, CHALLENGE},
                 {0, {{1, 6, 5}}, -1, BATTLE_ELSEWHERE},
                 {0, {{1, 8, 2}}, CHALLENGE, 0, 7, 2},
                 {0, {{0, 8, 2}}, -1, 0, 7, 2},
                 {0, {{1, 8, 5}}, F},
                 {0, {{1, 7, 7}}, F},
                 {315, {{1, 9, 5}}, F},
                 {0, {{1, 7, 8}}, 1},
                 {0, {{1, 6, 6}}, 1},
                 {0, {{1, 5, 3}}, -1},
                 {90, {{1, 8, 4}}, -1},
                 {0, {{1, 6, 4}, {2, 4, 9}}, 1},
                 {0, {{1, 4, 6}, {2, 4, 4}}, -1},
                 {0, {{1, 10, 5}, {2, 5, 10}}, RANDOM},
                 {0, {}, RANDOM},
                 {0, {{1, 6, 5}}, RANDOM, OURS, 5, 5, 60, true}};
    for (const Case& c : cases) {
        Stand(dalek_->robot, c.x, c.y, c.facing);
        std::vector<Robot*> players;
        for (auto [index, x, y] : c.players)
            (players.emplace_back(Player(index, x, y)))->battle = c.battle;
        if (c.battle == OURS) {
            dalek_->battle = dalek_->record;
            Captured([&] {
                SetUpBattle(dalek_->record, world_, dalek_->robot, players[0], dalek_->robot);
            });
            dalek_->robot->battleWait = c.battleWait;
        }
        if (c.gone)
            Captured([&] { RemoveRobotFromWorld(world_, 3001); });
        std::srand(7);
        int32_t move = c.move == RANDOM ? RandomEnemyMove() : c.move;
        std::srand(7);
        gHookCalls.clear();
        Hooks().sent.clear();
        Captured([&] { PlanEnemy(dalek_); });
        bool moved = c.move != CHALLENGE && c.move != SHOT && c.move != WAIT;
        // The move queued, the challenge, the state sent, the plasma beam at player 1, the
        // enemy's battle and that of the player who left.
        EXPECT_EQ(std::tuple(PeekMove(dalek_->robot), Calls("challenge 3004 3001").size(),
                             Calls("state 3004").size(), Hooks().sent.size(),
                             dalek_->battle != nullptr, c.gone && players[0]->battle != nullptr),
                  std::tuple(moved ? move : 0, size_t{c.move == CHALLENGE}, size_t{moved},
                             size_t{c.move == SHOT},
                             c.move == CHALLENGE || (c.battle == OURS && !c.gone), false))
            << c.facing << " " << c.x << " " << c.y;
        ClearMoveQueue(dalek_->robot);
        dalek_->robot->acting = dalek_->acted = 0;
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

// Each packet in turn, and then who is in the enemy's battle (E), in a battle elsewhere (X) or
// in none (-): the enemy and players 1, 2 and 3 standing at (6, 5), (4, 5) and (2, 2).
TEST_F(Enemy, AnswersChallengesJoinsThemToItsBattleAndComesBackWholeElsewhereWhenBeaten) {
    constexpr int S = EBattleStartPacket, O = EBattleOverPacket;
    struct Step {
        int type, sub, a, b;
        std::string after, says;
        bool plan = false;                                                  // the enemy plans first
    } steps[] = {{S, 1, 3004, 3001, "+EE-- challenge 3004 3001", "", true}, // ours, answered
                 {S, 0, 3002, 3004, "+EEE- accept 3004 3002", ""}, // joins the running battle
                 {S, 0, 3000, 3004, "EEE-", "robot 3000, which this server does not hold"},
                 {S, 0, 3001, 3010, "EEE-", "robot 3010, which this server does not hold"},
                 {O, 0, 3011, 3001, "EEE-", "robot 3011, which this server does not hold"},
                 {S, 0, 3005, 3004, "EEE-", "from computer robot 3005"},
                 {S, 7, 3001, 3004, "EEE-", "sub-type 7"},
                 {S, 0, 3004, 3001, "EEE-", ""}, // our own packets come back
                 {S, 1, 3002, 3004, "EEE-", ""},
                 {O, 0, 3004, 3001, "+---- state 3004", "restored at"},
                 {S, 0, 3002, 3003, "+--XX", ""},
                 {O, 0, 3003, 3002, "+----", ""},
                 {S, 0, 3001, 3004, "+EE-- accept 3004 3001", ""}};
    Robot* dalek = Stand(dalek_->robot, 5, 5);
    Robot* robots[] = {dalek, Player(1, 6, 5), Player(2, 4, 5), Player(3, 2, 2)};
    dalek->stats.hitPoints = dalek->stats.energy = -3;
    for (const Step& step : steps) {
        gHookCalls.clear();
        if (step.plan)
            Captured([&] { PlanEnemy(dalek_); });
        BattleOverPacket over = {0, static_cast<uint32_t>(step.a), static_cast<uint32_t>(step.b)};
        auto wire = step.type == S ? BattleStart(step.sub, step.a, step.b, "Ann")
                                   : Wire(EncodeBattleOver, over);
        std::string said, after = Receive(wire, &said) ? "+" : "";
        for (Robot* r : robots)
            after += !r->battle ? '-' : r->battle == BATTLE_ELSEWHERE ? 'X' : 'E';
        for (const std::string& call : gHookCalls)
            after += " " + call;
        EXPECT_EQ(after, step.after) << step.a << " " << step.b;
        EXPECT_EQ(said.find(step.says.empty() ? "Dropped" : step.says) != std::string::npos,
                  !step.says.empty())
            << said;
    }
    EXPECT_EQ(std::make_tuple(dalek->stats.hitPoints, dalek->stats.energy, RobotAt(5, 5)),
              std::make_tuple(dalek->stats.totalHP, dalek->stats.totalEnergy, nullptr));
    EXPECT_NE(CellOf(dalek), Triple(5, 5, 2));
}

} // namespace
