// The robot: its record and names, placement, the move queue, turning and stepping in the tick,
// safe zones, teleporters, energon, who stands in front, and the state sent to and taken from
// the other copies.
#include "support/robot_support.h"
#include "world/energon.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

using RobotRecord = RobotTest;
using MoveQueue = RobotTest;
using Movement = RobotTest;
using RobotState = RobotTest;

TEST_F(RobotRecord, StartsWithItsClassEquipmentButTheClassStats) {
    RobotClass* johnny = LookupRobotClass(gRegistry, 4002);
    Robot* local = Make(1, true);
    EXPECT_EQ(local->uid, 3001);
    EXPECT_EQ(LookupRobot(gRegistry, 3001), local);
    EXPECT_EQ(local->nWeapons, 2);
    EXPECT_EQ(local->weapons[0], 5001);
    EXPECT_EQ(local->weapons[1], 5000);
    EXPECT_EQ(local->nArmors, 0);
    EXPECT_EQ(RobotItemQuantity(local, 5000), 1);
    EXPECT_EQ(RobotItemQuantity(local, 6000), 1);
    // The weapons' and the armor's bonuses were not kept.
    EXPECT_EQ(std::memcmp(&local->stats, &johnny->initialStats, sizeof(Stats)), 0);
    EXPECT_STREQ(local->name, "testrobot");
    EXPECT_EQ(local->cell.z, -1);
    EXPECT_EQ(local->speed, 0.5);
    ASSERT_NE(local->moveQueue, nullptr);
    ASSERT_NE(local->lock, nullptr);

    Robot* remote = NewRobot(johnny, 2, 0);
    Captured([&] { EXPECT_EQ(LookupRobot(gRegistry, 3002), nullptr); }); // the caller registers
    EXPECT_EQ(remote->moveQueue, nullptr);
    EXPECT_EQ(remote->lock, nullptr);
    QueueMove(remote, MOVE_FORWARD);
    EXPECT_EQ(PeekMove(remote), 0);
    Captured([&] { FreeRobot(remote); });
}

TEST_F(RobotRecord, NamesAreCutToTheirFieldsAndPrinted) {
    Robot* r = Make(0, true);
    std::string name = "ABCDEFGHIJKLMNOPQRSTUVWX"; // 24 characters
    std::string desc(40, 'd');
    SetRobotName(r, name.c_str());
    SetRobotDesc(r, desc.c_str());
    EXPECT_EQ(std::string(r->name), name.substr(0, 23));
    EXPECT_EQ(std::string(r->desc), desc.substr(0, 31));
    EXPECT_EQ(name.size(), 24u); // the caller's text is left alone
    std::string out = Captured([&] { PrintRobot(r); });
    EXPECT_NE(out.find("Robot ABCDEFGHIJKLMNOPQRSTUVW\nDesc: "), std::string::npos) << out;
    EXPECT_NE(out.find("uid: 3000\nclass: Johnny\nnWeapons: 2\nWeapons: 5001, 5000, \n"
                       "nArmors: 0\nArmor: \nStats\n"),
              std::string::npos)
        << out;
}

TEST_F(RobotRecord, PlayersStartBesideTheirHomeComputerRobotsAnywhereFree) {
    Robot* player = Make(1, true);
    Captured([&] { PlaceRobotInWorld(player, world_->uid); });
    EXPECT_EQ(CellOf(player->cell), Cell(10, 9, 2));
    EXPECT_EQ(player->position.x, 10.0);
    EXPECT_EQ(player->index, 1);
    EXPECT_EQ(GetRobotSlot(world_, 1), 3001);
    EXPECT_EQ(At(10, 9), EEmpty); // the cell is taken only by moving into it

    for (int i = 0; i < 20; i++) {
        Robot* computer = Make(4 + i, false);
        Captured([&] { PlaceRobotInWorld(computer, world_->uid); });
        const CellData* d = FindCellData(world_, computer->cell.x, computer->cell.y, 2);
        EXPECT_FALSE(IsBlockedAt(world_, &computer->cell)); // on the deck or on the cube
        EXPECT_TRUE(d == nullptr || d->safeZoneOwner == NO_SAFE_ZONE);
        EXPECT_EQ(FindRobotInWorld(world_, computer->uid), computer);
    }

    Robot* homeless = Make(3, true); // the world has no safe zone 3
    std::string out = Captured([&] { PlaceRobotInWorld(homeless, world_->uid); });
    EXPECT_NE(out.find("no home for player 3"), std::string::npos);
    EXPECT_TRUE(OnTheGrid(world_, homeless->cell.x, homeless->cell.y));
}

TEST_F(MoveQueue, TurnsMergeIntoTheLastTurnAndStepsQueueApart) {
    Robot* r = Make(0, true);
    QueueMove(r, 1);
    QueueMove(r, 1);
    QueueMove(r, -1);
    EXPECT_EQ(PeekMove(r), 1);
    QueueMove(r, MOVE_FORWARD);
    QueueMove(r, -1); // a turn after a step starts a new entry
    QueueMove(r, -1);
    ConsumeMove(r, 1);
    EXPECT_EQ(PeekMove(r), MOVE_FORWARD);
    ConsumeMove(r, MOVE_FORWARD);
    EXPECT_EQ(PeekMove(r), -2);
    ConsumeMove(r, -2); // a turn is taken one 45-degree step at a time
    EXPECT_EQ(PeekMove(r), -1);
    ConsumeMove(r, 0);
    EXPECT_EQ(PeekMove(r), -1);
    ClearMoveQueue(r);
    EXPECT_EQ(PeekMove(r), 0);

    r->teleporting = 1;
    QueueMove(r, MOVE_FORWARD);
    QueueMove(r, 1);
    EXPECT_EQ(PeekMove(r), 0);
    r->teleporting = 0;

    QueueMove(r, 32766);
    std::string out = Captured([&] { QueueMove(r, 1); });
    EXPECT_EQ(out, "");
    QueueMove(r, 1); // an entry of 32767 counts as a step: this turn starts a new entry
    EXPECT_EQ(PeekMove(r), 32767);
    ConsumeMove(r, MOVE_FORWARD);
    EXPECT_EQ(PeekMove(r), 1);
    ClearMoveQueue(r);
    QueueMove(r, 30000);
    out = Captured([&] { QueueMove(r, 3000); });
    EXPECT_EQ(out, "error too many turns\n");
    EXPECT_EQ(PeekMove(r), 33000); // kept all the same
}

TEST_F(MoveQueue, TurnsThatCancelOutLeaveTheQueue) {
    // Left and Right at rest, or Right and Left during a step, then Up: the robot walks on.
    struct Case {
        int32_t first, second;
        bool duringStep;
        int endX;
    } cases[] = {{1, -1, false, 4}, {-1, 1, true, 5}};
    for (int i = 0; i < 2; i++) {
        const Case& c = cases[i];
        Robot* r = Put(Make(i, true), 3, 5 + 2 * i);
        if (c.duringStep) {
            QueueMove(r, MOVE_FORWARD);
            RobotUpdate(r);
        }
        for (int32_t key : {c.first, c.second, MOVE_FORWARD})
            QueueMove(r, key);
        TicksUntilIdle(r);
        EXPECT_EQ(CellOf(r->cell), Cell(c.endX, 5 + 2 * i, 2)) << i;
        EXPECT_EQ(r->facing, 0);
    }
}

TEST_F(Movement, ThreeLeftTurnsMakeOneHundredThirtyFiveDegreesInNineTicks) {
    for (bool firstTakenEarly : {false, true}) {
        Robot* r = Put(Make(firstTakenEarly ? 1 : 0, true), 4, 5);
        QueueMove(r, 1);
        if (firstTakenEarly) {
            EXPECT_TRUE(RobotUpdate(r)); // the first turn becomes the current move
            EXPECT_EQ(r->currentMove, 1);
        }
        QueueMove(r, 1);
        QueueMove(r, 1);
        EXPECT_EQ(PeekMove(r), firstTakenEarly ? 2 : 3);
        int ticks = TicksUntilIdle(r) + (firstTakenEarly ? 1 : 0);
        EXPECT_EQ(ticks, 9);
        EXPECT_EQ(r->facing, 135);
        EXPECT_EQ(r->stats.energy, 97); // one per 45 degrees
    }
    Robot* r = Put(Make(2, true), 4, 7);
    QueueMove(r, -1);
    EXPECT_EQ(TicksUntilIdle(r), 3);
    EXPECT_EQ(r->facing, 315);
}

TEST_F(Movement, StraightStepsTakeTwoTicksAndCarryTheRobotsCell) {
    Robot* r = Put(Make(0, true), 3, 5);
    QueueMove(r, MOVE_FORWARD);
    EXPECT_TRUE(RobotUpdate(r));
    EXPECT_DOUBLE_EQ(r->position.x, 3.5);
    EXPECT_EQ(CellOf(r->cell), Cell(4, 5, 2)); // from half-way on
    EXPECT_EQ(At(4, 5), ERobot);
    EXPECT_EQ(At(3, 5), EEmpty);
    EXPECT_TRUE(RobotUpdate(r));
    EXPECT_EQ(r->position.x, 4.0);
    EXPECT_EQ(r->currentMove, 0);
    EXPECT_EQ(r->stats.energy, 99);
    EXPECT_FALSE(RobotUpdate(r)); // at rest nothing changes

    QueueMove(r, MOVE_BACKWARD);
    EXPECT_EQ(TicksUntilIdle(r), 2);
    EXPECT_EQ(CellOf(r->cell), Cell(3, 5, 2));
    EXPECT_EQ(r->facing, 0);
    EXPECT_EQ(GetRobotAt(world_, &r->cell), r);
    EXPECT_EQ(At(4, 5), EEmpty);
}

TEST_F(Movement, ABlockedStepIsDroppedAndCostsNothing) {
    Robot* r = Put(Make(0, true), 4, 2); // the cube stands at (5, 2)
    QueueMove(r, MOVE_FORWARD);
    QueueMove(r, 1);
    EXPECT_FALSE(RobotUpdate(r));
    EXPECT_EQ(r->position.x, 4.0);
    EXPECT_EQ(r->stats.energy, 100);
    EXPECT_EQ(r->currentMove, 0);
    EXPECT_EQ(PeekMove(r), 1); // the queue goes on with what follows

    Robot* edge = Put(Make(1, true), 0, 4, 180); // facing off the grid
    QueueMove(edge, MOVE_FORWARD);
    EXPECT_FALSE(RobotUpdate(edge));
    EXPECT_EQ(edge->position.x, 0.0);
}

TEST_F(Movement, ADiagonalTakesThreeEqualSteps) {
    Robot* r = Put(Make(0, true), 2, 2, 45);
    QueueMove(r, MOVE_FORWARD);
    for (int i = 1; i <= 2; i++) { // 0.4714 along the diagonal is a third of a cell each way
        RobotUpdate(r);
        EXPECT_NEAR(r->position.x, 2 + i / 3.0, 1e-9);
        EXPECT_NEAR(r->position.y, 2 + i / 3.0, 1e-9);
    }
    RobotUpdate(r);
    EXPECT_EQ(r->position.x, 3.0);
    EXPECT_EQ(r->position.y, 3.0);
    EXPECT_EQ(r->currentMove, 0);
    EXPECT_EQ(r->stats.energy, 99);
    EXPECT_EQ(RobotAt(3, 3), r);
}

TEST_F(Movement, ForeignSafeZonesCostFiveAndComputerRobotsAfterTheFirstStayOut) {
    // Player 1 walks through player 0's zone: five a step and five a turn; player 0 pays one.
    Robot* guest = Put(Make(1, true), 8, 3, 270);
    Robot* owner = Put(Make(0, true), 10, 3, 270);
    for (Robot* r : {guest, owner}) {
        QueueMove(r, MOVE_FORWARD);
        QueueMove(r, 1);
        TicksUntilIdle(r);
    }
    EXPECT_EQ(guest->stats.energy, 90);
    EXPECT_EQ(owner->stats.energy, 98);

    // The server's first robot may enter a zone, the ones after it may not.
    Robot* first = Put(Make(4, true), 7, 8);
    Robot* second = Put(Make(5, true), 7, 10);
    for (Robot* r : {first, second}) {
        QueueMove(r, MOVE_FORWARD);
        TicksUntilIdle(r);
    }
    EXPECT_EQ(first->cell.x, 8);
    EXPECT_EQ(second->cell.x, 7);
    EXPECT_EQ(second->stats.energy, 100);
}

TEST_F(Movement, TeleportersWorkBothWaysButNotAgainBeforeTheNextStep) {
    gLocalRobotUid = 3000;
    Robot* r = Put(Make(0, true), 2, 8, 90);
    QueueMove(r, MOVE_FORWARD);
    TicksUntilIdle(r);
    EXPECT_EQ(CellOf(r->cell), Cell(2, 9, 2));
    // The step taken this tick goes on after the teleport; the one queued behind it is gone.
    QueueMove(r, MOVE_FORWARD);
    QueueMove(r, MOVE_FORWARD);
    size_t before = SentStates().size();
    EXPECT_FALSE(RobotUpdate(r));
    EXPECT_EQ(CellOf(r->cell), Cell(5, 9, 2));
    EXPECT_EQ(r->position.x, 5.0);
    EXPECT_EQ(r->justTeleported, 1);
    EXPECT_EQ(r->stats.energy, 99 - 5);
    EXPECT_EQ(PeekMove(r), 0);
    EXPECT_EQ(r->currentMove, MOVE_FORWARD);
    EXPECT_EQ(At(2, 9), EEmpty);
    EXPECT_EQ(GetRobotAt(world_, &r->cell), r);
    ASSERT_EQ(SentStates().size(), before + 1); // the other copies learn of it at once
    EXPECT_EQ(SentStates().back().flags & STATE_FLAG_JUST_TELEPORTED, 1);
    EXPECT_EQ(GetLastSound(), "sounds\\Jugteleport.wav");

    // Standing on the far end does not send it back: it walks off.
    TicksUntilIdle(r);
    EXPECT_EQ(CellOf(r->cell), Cell(5, 10, 2));
    EXPECT_EQ(r->justTeleported, 0);
    QueueMove(r, MOVE_BACKWARD);
    TicksUntilIdle(r);
    EXPECT_EQ(r->cell.y, 9);
    RobotUpdate(r);
    EXPECT_EQ(CellOf(r->cell), Cell(2, 9, 2));
    EXPECT_EQ(r->stats.energy, 94 - 2 - 5);

    // The enemy server's robots walk over teleporters.
    Robot* computer = Put(Make(4, true), 5, 9);
    RobotUpdate(computer);
    EXPECT_EQ(computer->cell.x, 5);
}

TEST_F(Movement, EnergonIsPickedUpAndTurnedIntoMagiciteFacingHome) {
    bool added = false;
    Captured([&] { added = AddNetworkEnergon(world_, 60000, 4, 6, 2, 9); });
    ASSERT_TRUE(added);
    LookupEnergon(world_, 60000)->stage = ENERGON_MAX_STAGE;
    Robot* r = Put(Make(0, true), 3, 6);
    QueueMove(r, MOVE_FORWARD);
    long broadcasts = EnergonBroadcastCount();
    int deposits = world_->energonCount;
    TicksUntilIdle(r);
    EXPECT_TRUE(RobotUpdate(r)); // the pick-up is seen at rest
    EXPECT_EQ(GetLastSound(), "sounds\\e0energon.wav");
    EXPECT_EQ(RobotItemQuantity(r, ENERGON_ITEM_UID), 9);
    EXPECT_EQ(LookupEnergon(world_, 60000), nullptr);
    EXPECT_EQ(world_->energonCount, deposits); // the local robot's copy makes a new one
    EXPECT_EQ(EnergonBroadcastCount(), broadcasts + 1);

    // Ten are kept; 25 become 2 magicite and 5 ore when the robot faces its home.
    Robot* home = Put(Make(1, true), 9, 8, 90); // player 1's home is (9, 9)
    AddItemsToInventory(home->inventory, ENERGON_ITEM_UID, 10);
    EXPECT_FALSE(RobotUpdate(home));
    EXPECT_EQ(RobotItemQuantity(home, ENERGON_ITEM_UID), 10);
    AddItemsToInventory(home->inventory, ENERGON_ITEM_UID, 15);
    EXPECT_TRUE(RobotUpdate(home));
    EXPECT_EQ(RobotItemQuantity(home, MAGICITE_ITEM_UID), 2);
    EXPECT_EQ(GetLastSound(), "sounds\\ff3magicite.wav");
    EXPECT_EQ(RobotItemQuantity(home, ENERGON_ITEM_UID), 5);
    home->facing = 0; // facing away nothing happens
    AddItemsToInventory(home->inventory, ENERGON_ITEM_UID, 20);
    EXPECT_FALSE(RobotUpdate(home));
    EXPECT_EQ(RobotItemQuantity(home, ENERGON_ITEM_UID), 25);
}

TEST_F(Movement, ChestsAndRobotsInFrontAndWhoMayBeChallenged) {
    Robot* r = Put(Make(0, true), 2, 4, 90);
    RobotUpdate(r); // at rest the target is the cell in front
    Chest* chest = nullptr;
    EXPECT_TRUE(ChestInFront(r, &chest));
    ASSERT_NE(chest, nullptr);
    EXPECT_EQ(chest->contents, 7000);
    chest->opened = 1;
    EXPECT_FALSE(ChestInFront(r, &chest));
    EXPECT_NE(chest, nullptr);
    EXPECT_FALSE(RobotInFront(r));

    // Player 0 faces player 1 standing in player 1's own zone, then outside it.
    Robot* a = Put(Make(2, true), 9, 7, 90);
    Robot* b = Put(Make(1, true), 9, 8);
    SetCellContent(world_, &b->cell, ERobot, b);
    Robot* enemy = nullptr;
    EXPECT_TRUE(RobotInFront(a));
    EXPECT_FALSE(CanStartBattle(a, &enemy));
    EXPECT_EQ(enemy, b);
    // In another player's zone a robot can be attacked.
    Robot* c = Put(Make(3, true), 9, 3);
    SetCellContent(world_, &c->cell, ERobot, c);
    Robot* d = Put(Make(4, true), 9, 4, 270);
    enemy = nullptr;
    EXPECT_TRUE(CanStartBattle(d, &enemy));
    EXPECT_EQ(enemy, c);
    c->battle = BATTLE_ELSEWHERE;
    enemy = nullptr;
    EXPECT_FALSE(CanStartBattle(d, &enemy));
    EXPECT_EQ(enemy, nullptr);
}

TEST_F(RobotState, OnlyTheRobotsDrivenHereAreSentWithTheirNextSequence) {
    gLocalRobotUid = 3000;
    Robot* mine = Put(Make(0, true), 3, 3, 45);
    Robot* other = Put(Make(1, false), 6, 6);
    Robot* computer = Put(Make(4, false), 7, 7);
    mine->skillFlag = 1;
    QueueMove(mine, -1);
    QueueMove(mine, MOVE_FORWARD);
    BroadcastRobotState(mine);
    BroadcastRobotState(other);
    mine->currentMove = MOVE_BACKWARD;
    mine->speed = -0.5;
    BroadcastRobotState(mine);
    BroadcastRobotState(computer);
    std::vector<RobotStatePacket> states = SentStates();
    ASSERT_EQ(states.size(), 3u);
    EXPECT_EQ(states[0].uid, 3000u);
    EXPECT_EQ(states[0].sequence, 0u);
    EXPECT_EQ(states[0].x, 3.0);
    EXPECT_EQ(states[0].z, 2.0);
    EXPECT_EQ(states[0].facing, 45);
    EXPECT_EQ(states[0].flags, STATE_FLAG_SKILL);
    EXPECT_EQ(states[0].move, -1); // the first queued command when none is under way
    EXPECT_EQ(states[0].classUid, 4002u);
    EXPECT_EQ(states[1].sequence, 1u);
    EXPECT_EQ(states[1].move, MOVE_BACKWARD);
    EXPECT_EQ(states[1].speed, -0.5);
    EXPECT_EQ(states[2].uid, 3004u);
    EXPECT_EQ(mine->sequence, 2u);
    EXPECT_EQ(other->sequence, 0u);
}

TEST_F(RobotState, AppliedStateMovesARemoteRobotBetweenCells) {
    Robot* r = Put(Make(1, false), 3, 3);
    RobotStatePacket p = State(6, 4, 90, MOVE_BACKWARD, -0.5, STATE_FLAG_JUST_TELEPORTED);
    ASSERT_TRUE(ApplyRobotState(r, &p));
    EXPECT_EQ(RobotAt(6, 4), r);
    EXPECT_EQ(CellOf(r->targetCell), Cell(6, 3, 2)); // behind it
    EXPECT_EQ(r->justTeleported, 1);
    EXPECT_EQ(r->skillFlag, 0);
    // Mid-step from (2, 7) to (3, 7): the cell counts from half-way.
    p = State(2.5, 7, 0, MOVE_FORWARD, 0.5, STATE_FLAG_SKILL);
    ASSERT_TRUE(ApplyRobotState(r, &p));
    EXPECT_EQ(At(6, 4), EEmpty); // no stale robot left behind
    EXPECT_EQ(RobotAt(3, 7), r);
    EXPECT_EQ(r->skillFlag, 1);
    EXPECT_TRUE(RobotUpdate(r)); // the state shows, and the step goes on
    EXPECT_EQ(r->position.x, 3.0);
    EXPECT_EQ(r->currentMove, 0);
    EXPECT_FALSE(RobotUpdate(r));
}

TEST_F(RobotState, UnusableStatesAreRefusedWhole) {
    Robot* r = Put(Make(1, false), 3, 3);
    RobotStatePacket good = State(4, 4, 0, 0, 0.5);
    ASSERT_TRUE(ApplyRobotState(r, &good));
    r->remoteUpdated = 0;
    auto state = [r] {
        return std::make_tuple(r->position.x, r->position.y, CellOf(r->cell), r->facing, r->speed,
                               r->currentMove, r->remoteUpdated);
    };
    const auto before = state();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double x, y, z, speed;
        int facing;
        const char* fault;
    } cases[] = {
        {nan, 4, 2, 0.5, 0, "not a number"},
        {4, inf, 2, 0.5, 0, "not a number"},
        {12.0, 4, 2, 0.5, 0, "off the grid"},
        {4, -1.2, 2, 0.5, 0, "off the grid"},
        {4, 4, 1e300, 0.5, 0, "off the grid"},
        {4, 4, -3, 0.5, 0, "off the grid"},
        {-5e9, 4, 2, 0.5, 0, "off the grid"},
        {4, 4, 2, 0.5, 360, "facing"},
        {4, 4, 2, 0.5, -45, "facing"},
        {4, 4, 2, 0.0, 0, "speed"},
        {4, 4, 2, nan, 0, "speed"},
        {4, 4, 2, -7.5, 0, "speed"},
    };
    for (const Case& c : cases) {
        RobotStatePacket p = good;
        p.x = c.x;
        p.y = c.y;
        p.z = c.z;
        p.speed = c.speed;
        p.facing = static_cast<int16_t>(c.facing);
        p.move = MOVE_FORWARD;
        bool applied = true;
        std::string out = Captured([&] { applied = ApplyRobotState(r, &p); });
        EXPECT_FALSE(applied) << c.fault;
        EXPECT_NE(out.find(c.fault), std::string::npos) << out;
        EXPECT_EQ(state(), before) << c.fault;
    }
    EXPECT_EQ(RobotAt(4, 4), r);
}

} // namespace
