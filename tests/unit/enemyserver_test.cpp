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
        dalek_ = EnemyAt(server_, 0), Stand(5, 3, 3);
    }
    void TearDown() override {
        FreeEnemyServer(server_);
        AnimationTest::TearDown();
    }
    // Robot 3000 + index standing in its cell as the server sees it; players are made on first
    // use, the enemies are 4 and 5.
    Robot* Stand(int index, int x, int y, int facing = 0) {
        Robot* r = FindRobotInWorld(world_, ROBOT_UID_BASE + index);
        r = Put(r != nullptr ? r : Make(index, false), x, y, facing);
        SetCellContent(world_, &r->cell, ERobot, r);
        return r;
    }
    // After a planning pass with the draws of a fresh seed (when it has waited that long in its
    // battle): the move the enemy queued, its shot and the hooks called since the last look.
    std::string Seen(int waited = -1) {
        Robot* dalek = dalek_->robot;
        if (waited >= 0)
            std::srand(7), dalek->battleWait = waited, Captured([&] { PlanEnemy(dalek_); });
        int32_t move = PeekMove(dalek);
        std::string out = (move != 0 ? " move " + std::to_string(move) : "") +
                          (Hooks().sent.empty() ? "" : " shot");
        for (const std::string& call : gHookCalls)
            out += " " + call;
        ClearMoveQueue(dalek), Hooks().sent.clear(), gHookCalls.clear();
        return out;
    }
    EnemyServer* server_ = nullptr;
    EnemyEntry* dalek_ = nullptr;
};

constexpr int32_t F = MOVE_FORWARD;

// The enemy at (5, 5), the other enemy at (3, 3): the first player found within 4 cells, and
// the way to it: forward when it lies within 45 degrees and 2 cells or more away, else a turn
// the shorter way round (0 when none is found).
TEST_F(Enemy, HomesInOnTheFirstPlayerFoundAndMovesAtRandomForwardTwiceAsOften) {
    // clang-format off
    const struct { int facing; std::vector<std::tuple<int, int, int>> players; int32_t move; } cases[] = {
        {0, {{1, 8, 5}}, F},
        {0, {{1, 7, 7}}, F},
        {315, {{1, 9, 5}}, F},
        {0, {{1, 7, 8}}, 1},
        {0, {{1, 6, 6}}, 1},              // 45 degrees but too close
        {0, {{1, 6, 5}}, -1},             // straight ahead but too close: clockwise
        {0, {{1, 5, 3}}, -1},
        {90, {{1, 8, 4}}, -1},
        {0, {{1, 6, 4}, {2, 4, 9}}, 1},   // x before y
        {0, {{1, 4, 6}, {2, 4, 4}}, -1},
        {0, {{1, 10, 5}, {2, 5, 10}}, 0}};
    // clang-format on
    for (const auto& c : cases) {
        Stand(4, 5, 5, c.facing);
        for (auto [index, x, y] : c.players)
            Stand(index, x, y);
        Location found;
        int32_t turn = 0, any = 0;
        Captured([&] { any = FindPlayer(dalek_, &found); });
        EXPECT_EQ(!any                                            ? 0
                  : Steer(dalek_, &found, &turn) == ESteerForward ? F
                                                                  : turn,
                  c.move)
            << c.facing << " " << std::get<1>(c.players[0]) << " " << std::get<2>(c.players[0]);
        for (auto [index, x, y] : c.players)
            SetCellContent(world_, &Stand(index, x, y)->cell, EEmpty, nullptr);
    }
    std::map<int32_t, int> counts;
    for (int i = 0; i < 10000; i++)
        counts[RandomEnemyMove()]++;
    EXPECT_EQ(counts.size(), 4u);
    for (int32_t move : {1, -1, F + 1})
        EXPECT_NEAR(counts[move] * 2, counts[F], 400) << move;
}

// Each step in turn, and then who is in the enemy's battle (E), in a battle elsewhere (X) or in
// none (-): the enemy and players 0 to 3 standing at (8, 2) in its safe zone, (6, 5), (4, 5)
// and (2, 2); what the enemy did, whether it was put down elsewhere whole again. A planning
// pass (P, after the ticks waited) first stands the enemy, damaged, at the cell given facing
// along x; L is player 1 leaving the game before one.
TEST_F(Enemy, ChallengesPlayersInFrontJoinsThemToItsBattleAndComesBackWholeWhenBeaten) {
    constexpr int S = EBattleStartPacket, O = EBattleOverPacket, P = -1, L = -2;
    // clang-format off
    const struct { int type, sub, a, b; std::string after; } steps[] = {
        {P, 0, 7, 2, "----- move 1 state 3004"},       // not a player in its own safe zone
        {P, 0, 5, 5, "E-E-- challenge 3004 3001"},      // in front, before any search
        {P, 59, 5, 5, "E-E--"},
        {P, 60, 5, 5, "E-E-- shot"},
        {S, 1, 3004, 3001, "+E-E--"},                   // the answer to its challenge
        {S, 0, 3002, 3004, "+E-EE- accept 3004 3002"},  // joins the running battle
        {S, 0, 3001, 3010, "E-EE- dropped"},            // robots this server does not hold
        {O, 0, 3011, 3001, "E-EE- dropped"},
        {S, 0, 3005, 3004, "E-EE- dropped"},            // from a computer robot
        {S, 7, 3001, 3004, "E-EE- dropped"},
        {S, 0, 3004, 3001, "E-EE-"},                    // our own packets come back
        {S, 1, 3002, 3004, "E-EE-"},
        {O, 0, 3004, 3001, "+----- state 3004 moved whole"},
        {P, 0, 5, 5, "----- move -1 state 3004"},       // after a battle it moves before it challenges
        {S, 0, 3001, 3002, "+--XX-"},
        {P, 0, 5, 5, "--XX- move -1 state 3004"},       // nor does it challenge a player fighting
        {O, 0, 3002, 3001, "+-----"},
        {S, 0, 3001, 3004, "+E-E-- move 4 accept 3004 3001"}, // turning to face it
        {L, 0, 5, 5, "----- move -1 state 3004"},       // its opponent gone, it is free again
        {S, 0, 3001, 3004, "----- dropped"}};
    // clang-format on
    Robot* dalek = dalek_->robot;
    Robot* robots[] = {dalek, Stand(0, 8, 2), Stand(1, 6, 5), Stand(2, 4, 5), Stand(3, 2, 2)};
    Seen();
    for (const auto& step : steps) {
        if (step.type == L)
            Captured([&] { RemoveRobotFromWorld(world_, 3001); });
        if (step.type < 0)
            Stand(4, step.a, step.b)->stats.hitPoints = dalek->stats.energy = -3;
        Location was = dalek->cell;
        BattleOverPacket over = {0, uint32_t(step.a), uint32_t(step.b)};
        std::string said,
            after = step.type >= 0 &&
                            Receive(step.type == S ? BattleStart(step.sub, step.a, step.b, "Ann")
                                                   : Wire(EncodeBattleOver, over),
                                    &said)
                        ? "+"
                        : "";
        std::string seen = Seen(step.type < 0 ? step.sub : -1);
        for (Robot* r : robots)
            after += !r->battle ? '-' : r->battle == BATTLE_ELSEWHERE ? 'X' : 'E';
        after += seen + (said.find("Dropped") != std::string::npos ? " dropped" : "") +
                 (RobotAt(was.x, was.y) == dalek ? "" : " moved");
        after += dalek->stats.hitPoints == dalek->stats.totalHP ? " whole" : "";
        EXPECT_EQ(after, step.after) << step.a << " " << step.b << " " << said;
    }
}

} // namespace
