// The enemy robot server as the players meet it: where an enemy goes, whom it challenges, and
// what the battle packets reaching the server change.
#include "core/enemyserver.h"
#include "core/game.h"
#include "support/animation_support.h"

#include <map>
#include <memory>

namespace {

class Enemy : public AnimationTest {
  protected:
    void SetUp() override {
        AnimationTest::SetUp(), InitCamera(); // the battles' side view saves the camera
        gLocalRobotUid = ENEMY_SERVER_UID, Captured([&] { server_.reset(NewEnemyServer(2)); });
        dalek_ = EnemyAt(server_.get(), 0), Stand(5, 3, 3);
    }
    // Robot 3000 + index standing in its cell as the server sees it, its last cell freed;
    // players are made on first use, the enemies are 4 and 5.
    Robot* Stand(int index, int x, int y, int facing = 0) {
        Robot* r = FindRobotInWorld(world_, ROBOT_UID_BASE + index);
        if (r != nullptr && RobotAt(r->cell.x, r->cell.y) == r)
            SetCellContent(world_, &r->cell, EEmpty, nullptr);
        r = Put(r != nullptr ? r : Make(index, false), x, y, facing);
        SetCellContent(world_, &r->cell, ERobot, r);
        return r;
    }
    std::unique_ptr<EnemyServer, decltype(&FreeEnemyServer)> server_{nullptr, FreeEnemyServer};
    EnemyEntry* dalek_ = nullptr;
};

// The enemy at (5, 5), the other enemy at (3, 3), players 1 and 2 where given (10, 10 is out
// of sight): the first player found within 4 cells, and the way to it: forward when it lies
// within 45 degrees and 2 cells or more away, else a turn the shorter way round (0 when none is
// found). Then the random moves.
TEST_F(Enemy, HomesInOnTheFirstPlayerFoundAndMovesAtRandomForwardTwiceAsOften) {
    // clang-format off
    const struct { int facing, x1, y1, x2, y2; int32_t move; } cases[] = {
        {0, 8, 5, 10, 10, MOVE_FORWARD},
        {0, 7, 7, 10, 10, MOVE_FORWARD},
        {315, 9, 5, 10, 10, MOVE_FORWARD},
        {0, 7, 8, 10, 10, 1},
        {0, 6, 6, 10, 10, 1},    // 45 degrees but too close
        {0, 6, 5, 10, 10, -1},   // straight ahead but too close: clockwise
        {90, 8, 4, 10, 10, -1},
        {0, 6, 4, 4, 9, 1},      // x before y
        {0, 4, 6, 4, 4, -1},
        {0, 10, 5, 5, 10, 0}};
    // clang-format on
    for (Location found; auto [facing, x1, y1, x2, y2, move] : cases) {
        Stand(4, 5, 5, facing), Stand(1, x1, y1), Stand(2, x2, y2);
        int32_t turn = 0, any = FindPlayer(dalek_, &found);
        EXPECT_EQ(any && Steer(dalek_, &found, &turn) == ESteerForward ? MOVE_FORWARD : turn, move)
            << facing << " " << x1 << " " << y1;
    }
    std::map<int32_t, int> counts;
    for (int i = 0; i < 10000; i++)
        counts[RandomEnemyMove()]++;
    for (int32_t move : {1, -1, MOVE_BACKWARD}) // each half as often: no room for another move
        EXPECT_NEAR(counts[move] * 2, counts[MOVE_FORWARD], 400) << move;
}

// Each step in turn as Seen by the enemy and players 0, 1 and 2 standing by it at (8, 2) in
// player 0's safe zone, (7, 3) and (6, 2); then what the enemy did, whether it was restored: put
// down elsewhere, whole again. A planning pass (after the ticks waited) first stands the enemy,
// damaged, at (7, 2) facing as given: east to player 0, north to player 1.
TEST_F(Enemy, ChallengesPlayersInFrontJoinsThemToItsBattleAndComesBackWholeWhenBeaten) {
    // clang-format off
    struct { std::vector<uint8_t> wire; std::string seen; int waited = -1, facing = 0; } steps[] = {
        // player 0 in front, in its own safe zone, is not challenged: it turns to player 2
        {{}, "---- move 1 state 3004", 0, 0},
        {{}, "E-E- challenge 3004 3001", 0, 90},     // in front, before any search
        {{}, "E-E-", 59, 90},
        {{}, "E-E- shot", 60, 90},
        {BattleStart(1, 3004, 3001), "+E-E-"},              // the answer to its challenge
        {BattleStart(0, 3002, 3004), "+E-EE accept 3004 3002"}, // joins the running battle
        {BattleStart(0, 3001, 3010), "E-EE dropped"},       // robots this server does not hold
        {BattleOver(3011, 3001), "E-EE dropped"},
        {BattleStart(0, 3005, 3004), "E-EE dropped"},       // from a computer robot
        {BattleStart(7, 3001, 3004), "E-EE dropped"},
        {BattleStart(0, 3004, 3001), "E-EE"},               // our own packets come back
        {BattleOver(3004, 3001), "+---- state 3004 restored"},
        {{}, "---- move 1 state 3004", 0, 90},       // after a battle it moves before it challenges
        {BattleStart(0, 3001, 3002), "+--XX"},
        {{}, "--XX move 1 state 3004", 0, 90},        // nor does it challenge a player fighting
        {BattleOver(3002, 3001), "+----"},
        {BattleStart(0, 3001, 3004), "+E-E- move 2 accept 3004 3001"}, // turning to face it
        {Wire(EncodeRobotLeft, RobotLeftPacket{0, 3001}), "+E-E-"},
        {{}, "---- move 1 state 3004", 0, 90},       // its opponent gone, it is free again
        {BattleStart(0, 3001, 3004), "---- dropped"}};
    // clang-format on
    Robot* dalek = dalek_->robot;
    Robot* robots[] = {dalek, Stand(0, 8, 2), Stand(1, 7, 3), Stand(2, 6, 2)};
    for (const auto& [wire, expected, waited, facing] : steps) {
        gHookCalls.clear(), Hooks().sent.clear(), ClearMoveQueue(dalek);
        if (waited >= 0)
            Stand(4, 7, 2, facing)->battleWait = waited, dalek->stats.hitPoints = -3,
                           Captured([&] { PlanEnemy(dalek_); });
        std::string after = Seen(wire, robots);
        after += (PeekMove(dalek) ? " move " + std::to_string(PeekMove(dalek)) : "") +
                 (Hooks().sent.empty() ? "" : " shot");
        for (const std::string& call : gHookCalls)
            after += " " + call;
        bool restored = RobotAt(7, 2) != dalek && dalek->stats.hitPoints == dalek->stats.totalHP;
        EXPECT_EQ(after + (restored ? " restored" : ""), expected);
    }
}

} // namespace
