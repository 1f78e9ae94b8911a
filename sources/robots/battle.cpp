// battle: the wait between actions and the end without winner.
#include "robots/battle.h"

#include "robots/robot.h"

void BattleTick(Robot* robot) {
    if (robot->isLocal && robot->battle != nullptr)
        robot->battleWait++;
}

// The battle's EndBattle(robot->battle, no winner, no loser, send 0) goes here.
void EndBattleWithoutWinner(Robot* robot) {
    robot->battle = nullptr;
}
