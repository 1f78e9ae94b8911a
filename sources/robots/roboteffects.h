// roboteffects: what a robot sets going in the modules that show, tell or decide.
//
// The robot starts animations (teleport, wall, smoke, sonar), shows messages on the menus and
// ends its battle when a smoke bomb goes off. Those modules join the game after the robot;
// every such call goes through one function here, and each function is the one place its
// module plugs in (its comment says what it does until then). Nothing else in the robot calls
// those modules.
#pragma once

#include "foundation/utilities.h"

struct Robot;
struct World;

// The teleport animation: the robot fades out, FinishTeleport moves it to targetCell, it fades
// in; the move queue of a local robot is cleared at both ends, and teleporting is set while
// it runs. Until the animations join, the teleport finishes at once.
void StartTeleportEffect(Robot* robot, World* world);

// A temporary wall in cell (on the grid) that stands for holdTicks after fading in, turned
// by facing degrees. Until the animations join, a line on the console says where it would
// stand.
void StartWallEffect(Robot* robot, World* world, const Location* cell, int holdTicks, float facing);

// Smoke rising from the robot's cell for ticks ticks. Until the animations join, a console line.
void StartSmokeEffect(Robot* robot, World* world, int ticks);

// The sonar pulse around the robot: a dome of the colour and specular colour growing to
// radius over ticks ticks and revealing what is hidden inside it. Until the animations join,
// a console line.
void StartSonarEffect(Robot* robot, const Color* color, const Color* specular, double radius,
                      int ticks);

// The battle the robot is in ends with no winner, on this copy only. Until the battle joins,
// the robot simply leaves its battle.
void EndBattleWithoutWinner(Robot* robot);

// A message to the player on the menus, shown with a full stop after it. Until the menus
// join, printed so on the console.
void ShowRobotMessage(const char* text);
