// battle: the wait between actions and the end without winner.
#include "robots/battle.h"

#include "robots/robot.h"
#include "world/gamehooks.h"

void BattleTick(Robot* robot) {
    if (robot->isLocal && robot->battle != nullptr)
        robot->battleWait++;
}

void EndBattleWithoutWinner(Robot* robot) {
    gHooks.leaveBattle(robot);
    robot->battle = nullptr;
}

bool InBattleHere(const Robot* robot) {
    return robot->battle != nullptr && robot->battle != BATTLE_ELSEWHERE;
}
