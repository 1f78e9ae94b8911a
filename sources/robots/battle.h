// battle: what the robots need of a battle: the wait between a robot's actions, counted in the
// tick, and the end of a battle that has no winner. The rules themselves are the game core's
// (core/battle.h); the robots reach them through the game's hooks.
#pragma once

struct Robot;

// One tick of the robot's battle: a robot this copy drives that is in a battle has waited one
// tick more since its last action. Runs for every robot in every timer tick, in a playing copy
// and in the enemy server alike.
void BattleTick(Robot* robot);

// The battle the robot is in ends with no winner, on this copy only.
void EndBattleWithoutWinner(Robot* robot);

// The robot fights a battle of this copy (not one between two other copies).
bool InBattleHere(const Robot* robot);
