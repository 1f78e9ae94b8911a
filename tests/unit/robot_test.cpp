// The robot: placement, the move queue, turning and stepping in the tick, safe zones,
// teleporters, energon and who stands in front. What it tells the rest of the game is read from
// the recorded hook calls.
#include "support/robot_support.h"

namespace {

using Movement = RobotTest;

TEST_F(Movement, TurnsMergeIntoTheLastTurnAndStepsQueueApart) {
    Robot* r = Make(0, true);
    for (int32_t move : {1, 1, -1, MOVE_FORWARD, -1, -1})
        QueueMove(r, move);
    std::vector<int32_t> taken;
    for (int32_t move : {1, MOVE_FORWARD, -1, 0, -1}) { // a turn is taken one step at a time
        taken.push_back(PeekMove(r));
        ConsumeMove(r, move);
    }
    EXPECT_EQ(taken, (std::vector<int32_t>{1, MOVE_FORWARD, -2, -1, -1}));
    r->teleporting = 1; // ignored while teleporting
    QueueMove(r, 1);
    EXPECT_EQ(PeekMove(r), 0);
    r->teleporting = 0;
    QueueMove(r, 32766);
    EXPECT_EQ(Captured([&] { QueueMove(r, 1); }), "");
    QueueMove(r, 1); // an entry of 32767 counts as a step: this turn starts a new entry
    ConsumeMove(r, MOVE_FORWARD);
    EXPECT_EQ(PeekMove(r), 1);
    ClearMoveQueue(r);
    QueueMove(r, 30000);
    EXPECT_EQ(Captured([&] { QueueMove(r, 3000); }), "error too many turns\n");
    EXPECT_EQ(PeekMove(r), 33000); // kept all the same
}

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

TEST_F(Movement, TeleportersWorkBothWaysButNotAgainBeforeTheNextStep) {
    Robot* r = Put(Make(0, true), 2, 8, 90);
    QueueMove(r, MOVE_FORWARD);
    TicksUntilIdle(r);
    QueueMove(r, MOVE_FORWARD); // taken this tick and going on after; the one behind is gone
    QueueMove(r, MOVE_FORWARD);
    EXPECT_FALSE(RobotUpdate(r));
    EXPECT_EQ(std::make_tuple(Calls("teleport"), PeekMove(r), GetLastSound()),
              std::make_tuple(std::vector<std::string>{"teleport 3000 to 5 9 2"}, 0,
                              std::string("sounds\\Jugteleport.wav")));
    FinishTeleport(r, world_); // as the teleport's animation ends
    EXPECT_EQ(std::make_tuple(RobotAt(5, 9), RobotAt(2, 9), r->justTeleported, r->stats.energy),
              std::make_tuple(r, nullptr, 1, 99 - 5));
    EXPECT_EQ(Calls("state"), std::vector<std::string>{"state 3000"}); // told at once

    // Standing on the far end does not send it back: it walks off, and back on it goes.
    TicksUntilIdle(r);
    EXPECT_EQ(CellOf(r), Triple(5, 10, 2));
    QueueMove(r, MOVE_BACKWARD);
    TicksUntilIdle(r);
    RobotUpdate(r);
    RobotUpdate(Put(Make(4, true), 2, 9)); // the enemy server's robots walk over them
    EXPECT_EQ(Calls("teleport"),
              (std::vector<std::string>{"teleport 3000 to 5 9 2", "teleport 3000 to 2 9 2"}));
}

// A step holds the cell it enters from half-way and picks up the energon there; the camera
// follows steps and turns of a robot this copy drives.
TEST_F(Movement, AStepHoldsItsCellFromHalfWayPicksUpEnergonAndTheCameraFollows) {
    bool added = false;
    Captured([&] { added = AddNetworkEnergon(world_, 60000, 4, 6, 2, 9); });
    ASSERT_TRUE(added);
    LookupEnergon(world_, 60000)->stage = ENERGON_MAX_STAGE;
    SetEnergonIdRange(world_, 0);
    Robot* r = Put(Make(0, true), 3, 6);
    QueueMove(r, MOVE_FORWARD);
    EXPECT_TRUE(RobotUpdate(r));
    EXPECT_EQ(std::make_tuple(r->position.x, RobotAt(4, 6)), std::make_tuple(3.5, r));
    EXPECT_EQ(TicksUntilIdle(r), 1);
    EXPECT_TRUE(RobotUpdate(r)); // the pick-up is seen at rest
    EXPECT_EQ(std::make_tuple(RobotItemQuantity(r, ENERGON_ITEM_UID), LookupEnergon(world_, 60000),
                              GetLastSound()),
              std::make_tuple(9, nullptr, std::string("sounds\\e0energon.wav")));
    EXPECT_EQ(Calls("energon"), std::vector<std::string>{"energon 1"}); // a new one, announced
    QueueMove(r, 1);
    EXPECT_EQ(TicksUntilIdle(r), 3);
    EXPECT_FALSE(RobotUpdate(r));              // at rest nothing changes
    Robot* remote = Put(Make(2, false), 3, 7); // driven elsewhere: no camera
    remote->currentMove = MOVE_FORWARD;
    RobotUpdate(remote);
    EXPECT_EQ(Calls("camera"),
              (std::vector<std::string>{"camera 3000", "camera 3000", "camera 3000 turned",
                                        "camera 3000 turned", "camera 3000 turned"}));

    // Facing its home, a robot turns its energon into magicite, ten kept (see the inventory).
    Robot* home = Put(Make(1, true), 9, 8); // player 1's home is (9, 9)
    AddItemsToInventory(home->inventory, ENERGON_ITEM_UID, 25);
    EXPECT_FALSE(RobotUpdate(home));
    home->facing = 90;
    EXPECT_TRUE(RobotUpdate(home));
    EXPECT_EQ(std::make_tuple(RobotItemQuantity(home, MAGICITE_ITEM_UID),
                              RobotItemQuantity(home, ENERGON_ITEM_UID), GetLastSound()),
              std::make_tuple(2, 5, std::string("sounds\\ff3magicite.wav")));
    EXPECT_FALSE(RobotUpdate(home)); // the five left are kept
}

// At rest a robot faces a chest until it is open, and may challenge the robot in front unless
// that one stands in its own safe zone or is in a battle.
TEST_F(Movement, ChestsInFrontAndWhoMayBeChallenged) {
    Robot* r = Put(Make(0, true), 2, 4, 90);
    RobotUpdate(r);
    Chest* chest = nullptr;
    ASSERT_TRUE(ChestInFront(r, &chest) && !RobotInFront(r));
    chest->opened = 1;
    EXPECT_FALSE(ChestInFront(r, &chest));
    Robot* b = Put(Make(1, true), 9, 8); // player 1 in its own zone
    Robot* c = Put(Make(3, true), 9, 3); // player 3 in player 0's
    SetCellContent(world_, &b->cell, ERobot, b);
    SetCellContent(world_, &c->cell, ERobot, c);
    Robot* enemy = nullptr;
    EXPECT_FALSE(CanStartBattle(Put(Make(2, true), 9, 7, 90), &enemy));
    EXPECT_EQ(enemy, b);
    Robot* d = Put(Make(4, true), 9, 4, 270);
    EXPECT_TRUE(CanStartBattle(d, &enemy) && RobotInFront(d));
    EXPECT_EQ(enemy, c);
    c->battle = BATTLE_ELSEWHERE;
    EXPECT_FALSE(CanStartBattle(d, &enemy));
}

} // namespace
