// battledraw: the battle's frame. The scene seen from the side, the running effects, both mini
// statuses and, once the robot may act, its battle menu; all under the GL lock, so that the end
// of a battle never shows half done.
#include "core/battle.h"
#include "core/draw/scenedraw.h"
#include "core/mainloop.h"
#include "render/animationmanager.h"
#include "render/draw/glutils.h"
#include "robots/robot.h"
#include "world/world.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

void BattleDisplay() {
    LockGL();
    Robot* robot = LocalRobot();
    glEnable(GL_DEPTH_TEST);
    if (robot != nullptr && InBattleHere(robot)) {
        Battle* battle = robot->battle;
        DrawScene(battle->world, robot->uid);
        DrawAnimations();
        DrawMiniStatus(robot, battle->robotB);
        if (PrepareBattleMenu(robot))
            RedrawBattleMenus(robot);
        UnlockGL();
        glutSwapBuffers();
        glFlush();
        return;
    }
    UnlockGL();
}
