// battle: two robots fighting from their menus. The rules join later; what stands here is what
// the robots already need: the wait between a robot's actions, counted in the tick, and the end
// of a battle that has no winner.
#pragma once

struct Robot;

// One tick of the robot's battle: a robot this copy drives that is in a battle has waited one
// tick more since its last action. Runs for every robot in every timer tick, in a playing copy
// and in the enemy server alike.
void BattleTick(Robot* robot);

// The battle the robot is in ends with no winner, on this copy only. Until the battle joins,
// the robot simply leaves its battle.
void EndBattleWithoutWinner(Robot* robot);
