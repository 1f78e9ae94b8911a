// roboteffects: the calls a robot makes into the animations, the menus and the battle. Each
// body below is what the game does until its module joins; the module replaces that body with
// its own call.
#include "robots/roboteffects.h"

#include "foundation/utilities.h"
#include "robots/robot.h"

#include <cstdio>

// The animations' StartTeleport(robot, targetCell, vanishing 1) goes here; its completion runs
// FinishTeleport and clears the move queue.
void StartTeleportEffect(Robot* robot, World* world) {
    FinishTeleport(robot, world);
    ClearMoveQueue(robot);
}

// The animations' StartWallAnimation(robot, world, cell, holdTicks, visible 1, fading in 1,
// facing) goes here.
void StartWallEffect(Robot* robot, World* /*world*/, const Location* cell, int holdTicks,
                     float facing) {
    std::printf("%s raises a wall at (%d, %d, %d) for %d ticks, facing %.0f\n",
                PrintableText(robot->name).c_str(), cell->x, cell->y, cell->z, holdTicks, facing);
}

// The animations' StartSmoke(robot, world, cell, ticks, no completion) goes here.
void StartSmokeEffect(Robot* robot, World* /*world*/, int ticks) {
    std::printf("%s vanishes in smoke for %d ticks\n", PrintableText(robot->name).c_str(), ticks);
}

// The animations' StartSonar(robot, color, specular, radius, ticks) goes here.
void StartSonarEffect(Robot* robot, const Color* /*color*/, const Color* /*specular*/,
                      double radius, int ticks) {
    std::printf("%s sends a sonar pulse of radius %.1f over %d ticks\n",
                PrintableText(robot->name).c_str(), radius, ticks);
}

// The battle's EndBattle(robot->battle, no winner, no loser, send 0) goes here.
void EndBattleWithoutWinner(Robot* robot) {
    robot->battle = nullptr;
}

// The menus' ShowMessage(text) goes here.
void ShowRobotMessage(const char* text) {
    std::printf("%s.\n", text);
}
