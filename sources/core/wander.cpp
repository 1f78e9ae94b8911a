// wander: the keys of the wandering mode.
#include "core/wander.h"

#include "core/battle.h"
#include "core/game.h"
#include "core/mainloop.h"
#include "core/outbound.h"
#include "foundation/utilities.h"
#include "render/animations.h"
#include "robots/robot.h"
#include "sound/sound.h"
#include "ui/menu.h"
#include "world/gamehooks.h"
#include "world/world.h"

#include <cmath>
#include <cstdio>

bool OpenChestInFront() {
    Robot* robot = LocalRobot();
    Chest* chest = nullptr;
    if (robot == nullptr || !ChestInFront(robot, &chest))
        return false;
    std::printf("Opening chest\n");
    SendChestOpened(chest->index, chest);
    ReceiveObject(robot, chest->contents, 0);
    chest->opened = 1;
    return true;
}

// Enter in front of a robot that may be fought: the battle starts here and the challenge tells
// the other copies.
static void ChallengeRobotInFront(Robot* robot) {
    Robot* enemy = nullptr;
    if (!CanStartBattle(robot, &enemy))
        return;
    std::printf("initiating battle!\n");
    SetUpBattle(gBattle, gWorld, robot, enemy, robot);
    SetGameMode(gGame, 0, EBattleMode);
    gHooks.challenge(robot, enemy->uid);
}

void WanderKeyboard(unsigned char key, int /*x*/, int /*y*/) {
    Action action;
    int taken = MenuHandleKey(gPlayerRobot, key, &action);
    DoAction(gPlayerRobot, gPlayerRobot, &action);
    Robot* robot = LocalRobot();
    if (taken != -1 || robot == nullptr)
        return;
    switch (key) {
    case WANDER_KEY_ENTER:
        if (!OpenChestInFront())
            ChallengeRobotInFront(robot);
        break;
    case ' ':
        ClearMoveQueue(gPlayerRobot);
        break;
    case 'm':
        SetMusic(!GetMusic());
        break;
    case 'x':
        SetSoundEffects(!GetSoundEffects());
        break;
    case 'q':
        Quit();
    case 's':
        UseSonar(robot);
        break;
    case 'w': {
        Location front = CellInFront(&robot->cell, robot->facing);
        StartWallAnimation(robot, gWorld, &front, WANDER_WALL_STRENGTH, 1, 1,
                           static_cast<float>(robot->facing));
        break;
    }
    default:
        break;
    }
}

static void FlyCamera(const Vector3& eye, const Vector3& look, int firstPerson) {
    StartCameraMove(&eye, &look, firstPerson, CAMERA_FLIGHT_TICKS);
}

void WanderSpecialKeys(int key, int /*x*/, int /*y*/) {
    Robot* robot = LocalRobot();
    if (key == WANDER_KEY_F1) {
        DoMainMenu();
        return;
    }
    if (key == WANDER_KEY_F9) {
        gGame->showMiniStatus = !gGame->showMiniStatus;
        gMenuRedisplay();
        return;
    }
    Action action;
    if (MenuHandleKey(gPlayerRobot, key, &action) != -1) {
        DoAction(gPlayerRobot, gPlayerRobot, &action);
        return;
    }
    if (robot == nullptr)
        return;
    switch (key) {
    case WANDER_KEY_LEFT:
        QueueMove(robot, 1);
        break;
    case WANDER_KEY_UP:
        QueueMove(robot, MOVE_FORWARD);
        break;
    case WANDER_KEY_RIGHT:
        QueueMove(robot, -1);
        break;
    case WANDER_KEY_DOWN:
        QueueMove(robot, MOVE_BACKWARD);
        break;
    case WANDER_KEY_F11:
        FlyCamera({-2, -2, 3}, {-1, -1, 0}, 0);
        return;
    case WANDER_KEY_F12: {
        double theta = robot->facing * DEGREES_TO_RADIANS;
        FlyCamera({0, 0, 0}, {8 * std::cos(theta), 8 * std::sin(theta), 0}, 1);
        return;
    }
    default:
        return;
    }
    BroadcastRobotState(robot);
}
