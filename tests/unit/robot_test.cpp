// The robot: placement, the move queue, turning and stepping in the tick, safe zones,
// teleporters, energon and who stands in front. What it tells the rest of the game is read from
// the recorded hook calls.
#include "support/robot_support.h"

namespace {

using Movement = RobotTest;

TEST_F(Movement, TurnsAndStepsTakeTheirTicksAndEnergy) {
    // Every robot has an index and a path of its own; they stand in one world together.
    struct Case {
        int index, x, y, facing;
        std::vector<int32_t> moves;
        int ticks, endX, endY, endFacing, energy; // ticks: those that showed a change
    } cases[] = {
        {2, 1, 1, 0, {1, 1, 1}, 9, 1, 1, 135, 97}, // one energy per 45 degrees
        {3, 1, 3, 0, {-1}, 3, 1, 3, 315, 99},
        {6, 3, 4, 0, {MOVE_FORWARD}, 2, 4, 4, 0, 99},
        {7, 4, 6, 0, {MOVE_BACKWARD}, 2, 3, 6, 0, 99},
        {8, 2, 2, 45, {MOVE_FORWARD}, 3, 3, 3, 45, 99},
        {9, 4, 2, 0, {MOVE_FORWARD, 1}, 3, 4, 2, 45, 99},     // the cube: the step is dropped
        {10, 0, 7, 180, {MOVE_FORWARD}, 0, 0, 7, 180, 100},   // the edge of the world
        {11, 5, 5, 0, {1, -1, MOVE_FORWARD}, 2, 6, 5, 0, 99}, // turns that cancel out
        {12, 3, 7, 0, {MOVE_FORWARD, -1, 1, MOVE_FORWARD}, 4, 5, 7, 0, 98},
        {1, 8, 3, 270, {MOVE_FORWARD, 1}, 5, 8, 2, 315, 90}, // player 0's zone costs five
        {0, 10, 3, 270, {MOVE_FORWARD, 1}, 5, 10, 2, 315, 98},
        {4, 7, 8, 0, {MOVE_FORWARD}, 2, 8, 8, 0, 95},    // the first computer robot enters zones
        {5, 7, 10, 0, {MOVE_FORWARD}, 0, 7, 10, 0, 100}, // the ones after it do not
    };
    for (const Case& c : cases) {
        Robot* r = Put(Make(c.index, true), c.x, c.y, c.facing);
        for (int32_t move : c.moves)
            QueueMove(r, move);
        int ticks = TicksUntilIdle(r);
        Robot* atEnd = c.endX != c.x || c.endY != c.y ? r : nullptr; // a cell is held once entered
        EXPECT_EQ(std::make_tuple(ticks, r->position.x, r->position.y, r->facing, r->stats.energy,
                                  RobotAt(c.endX, c.endY), RobotAt(c.x, c.y)),
                  std::make_tuple(c.ticks, double(c.endX), double(c.endY), c.endFacing, c.energy,
                                  atEnd, nullptr))
            << "index " << c.index;
    }
}

// clang-format off
// The move queue; teleporters work both ways but not again before the next step; a step holds
// the cell it enters from half-way and picks up the energon there; the camera follows steps and
// turns of a robot this copy drives; facing its home a robot turns its energon into magicite, ten
// kept; chests and robots in front. Each step prints what it saw: whether a tick showed a change,
// how many ticks did, the move queue's head.
TEST_F(Movement, TheQueueTeleportersEnergonTheCameraHomeAndWhatIsInFront) {
    Captured([&] { AddNetworkEnergon(world_, 60000, 4, 6, 2, 9); });
    LookupEnergon(world_, 60000)->stage = ENERGON_MAX_STAGE;
    SetEnergonIdRange(world_, 0);
    struct {
        int index, x, y, facing; // a new robot (index -1: the last one goes on)
        void (*step)(Robot*);
        std::string expected;
    } steps[] = {
        {9, 1, 1, 0, [](Robot* r) { for (int32_t m : {1, 1, -1, MOVE_FORWARD, -1, -1}) QueueMove(r, m); for (int32_t m : {1, MOVE_FORWARD, -1, 0, -1}) { Say({PeekMove(r)}); ConsumeMove(r, m); } }, "1 32768 -2 -1 -1 at 1 1 0 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | "}, // turns merge into the last turn, steps queue apart; a turn is taken one step at a time
        {-1, 0, 0, 0, [](Robot* r) { r->teleporting = 1; QueueMove(r, 1); Say({PeekMove(r)}); r->teleporting = 0; }, "0 at 1 1 0 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | "}, // ignored while teleporting
        {-1, 0, 0, 0, [](Robot* r) { QueueMove(r, 32766); QueueMove(r, 1); QueueMove(r, 1); ConsumeMove(r, MOVE_FORWARD); Say({PeekMove(r)}); }, "1 at 1 1 0 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | "}, // an entry of 32767 counts as a step: the next turn starts a new entry
        {-1, 0, 0, 0, [](Robot* r) { ClearMoveQueue(r); QueueMove(r, 30000); QueueMove(r, 3000); Say({PeekMove(r)}); }, "error too many turns\n33000 at 1 1 0 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | "}, // kept all the same
        {0, 2, 8, 90, [](Robot* r) { QueueMove(r, MOVE_FORWARD); TicksUntilIdle(r); }, "at 2 9 90 -0 hp 99 en 13 13 9 10 10 | w5001 w5000 6000x1 |  | camera 3000 | camera 3000"},
        {-1, 0, 0, 0, [](Robot* r) { QueueMove(r, MOVE_FORWARD); QueueMove(r, MOVE_FORWARD); Say({RobotUpdate(r), PeekMove(r)}); }, "0 0 at 2 9 90 -0 hp 99 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\Jugteleport.wav | teleport 3000 to 5 9 2"}, // the one behind is gone
        {-1, 0, 0, 0, [](Robot* r) { FinishTeleport(r, gWorld); Location at = {2, 9, 2}, far = {5, 9, 2}; Say({r->justTeleported, GetRobotAt(gWorld, &at) == nullptr, GetRobotAt(gWorld, &far) == r}); }, "1 1 1 at 5 9 90 -0 hp 94 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\Jugteleport.wav | camera 3000 | state 3000"}, // told at once
        {-1, 0, 0, 0, [](Robot* r) { TicksUntilIdle(r); }, "at 5 10 90 -0 hp 93 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\Jugteleport.wav | camera 3000 | camera 3000"}, // the far end does not send it back
        {-1, 0, 0, 0, [](Robot* r) { QueueMove(r, MOVE_BACKWARD); TicksUntilIdle(r); RobotUpdate(r); }, "at 5 9 90 -0 hp 92 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\Jugteleport.wav | camera 3000 | camera 3000 | teleport 3000 to 2 9 2"}, // back on it goes
        {4, 2, 9, 0, [](Robot* r) { RobotUpdate(r); }, "at 2 9 0 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\Jugteleport.wav"}, // the enemy server's robots walk over them
        {2, 3, 6, 0, [](Robot* r) { QueueMove(r, MOVE_FORWARD); Location at = {4, 6, 2}; Say({RobotUpdate(r), GetRobotAt(gWorld, &at) == r}); }, "1 1 at 3.5 6 0 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\Jugteleport.wav | camera 3002"},
        {-1, 0, 0, 0, [](Robot* r) { Say({TicksUntilIdle(r)}); }, "1 at 4 6 0 -0 hp 99 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\Jugteleport.wav | camera 3002"},
        {-1, 0, 0, 0, [](Robot* r) { Say({RobotUpdate(r), LookupEnergon(gWorld, 60000) == nullptr}); }, "1 1 at 4 6 0 -0 hp 99 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x9 | sounds\\e0energon.wav | energon 1"}, // the pick-up is seen at rest
        {-1, 0, 0, 0, [](Robot* r) { QueueMove(r, 1); Say({TicksUntilIdle(r), RobotUpdate(r)}); }, "3 0 at 4 6 45 -0 hp 98 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x9 | sounds\\e0energon.wav | camera 3002 turned | camera 3002 turned | camera 3002 turned"},
        {5, 3, 7, 0, [](Robot* r) { r->currentMove = MOVE_FORWARD; RobotUpdate(r); }, "at 3.5 7 0 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\e0energon.wav"}, // driven elsewhere: no camera
        {-1, 0, 0, 0, [](Robot* r) { TicksUntilIdle(r); r->remoteUpdated = 1; Say({RobotUpdate(r), RobotUpdate(r)}); }, "1 0 at 4 7 0 -0 hp 99 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\e0energon.wav"}, // a peer's state shows once
        {1, 9, 8, 0, [](Robot* r) { AddItemsToInventory(r->inventory, ENERGON_ITEM_UID, 25); Say({RobotUpdate(r)}); }, "0 at 9 8 0 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x25 | sounds\\e0energon.wav"}, // player 1's home is (9, 9)
        {-1, 0, 0, 0, [](Robot* r) { r->facing = 90; Say({RobotUpdate(r), RobotUpdate(r)}); }, "1 0 at 9 8 90 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x5 7002x2 | sounds\\ff3magicite.wav"},
        // At rest a robot faces a chest until it is open, and may challenge the robot in front
        // unless that one stands in its own safe zone (player 1 here) or is in a battle.
        {-1, 0, 0, 0, [](Robot* r) { SetCellContent(gWorld, &r->cell, ERobot, r); }, "at 9 8 90 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x5 7002x2 | sounds\\ff3magicite.wav"},
        {3, 9, 3, 0, [](Robot* r) { SetCellContent(gWorld, &r->cell, ERobot, r); }, "at 9 3 0 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\ff3magicite.wav"}, // in player 0's zone
        {7, 9, 7, 90, [](Robot* r) { Robot* e = nullptr; Say({CanStartBattle(r, &e), e->uid}); }, "0 3001 at 9 7 90 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\ff3magicite.wav"},
        {8, 9, 4, 270, [](Robot* r) { Robot* e = nullptr; Say({CanStartBattle(r, &e), RobotInFront(r), e->uid}); e->battle = BATTLE_ELSEWHERE; Say({CanStartBattle(r, &e)}); }, "1 1 3003 0 at 9 4 270 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\ff3magicite.wav"},
        {6, 2, 4, 90, [](Robot* r) { RobotUpdate(r); Chest* c = nullptr; Say({ChestInFront(r, &c), RobotInFront(r)}); c->opened = 1; Say({ChestInFront(r, &c)}); }, "1 0 0 at 2 4 90 -0 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\ff3magicite.wav"},
    };
    Robot* r = nullptr;
    gHookCalls.clear();
    for (const auto& c : steps) {
        r = c.index < 0 ? r : Put(Make(c.index, c.index != 5), c.x, c.y, c.facing);
        EXPECT_EQ(Step(r, c.step), c.expected) << "step " << &c - steps;
    }
}
// clang-format on

} // namespace
