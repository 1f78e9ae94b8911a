// wanderdraw: the picture of the wandering mode: the scene, the running effects, the top menu
// of the main stack and, while it is switched on, the mini status.
#include "core/game.h"
#include "core/mainloop.h"
#include "core/wander.h"
#include "core/draw/scenedraw.h"
#include "render/animationmanager.h"
#include "ui/menu.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

void DrawWanderFrame() {
    glEnable(GL_DEPTH_TEST);
    DrawScene(gWorld, gLocalRobotUid);
    DrawAnimations();
    RedrawMenus(gPlayerRobot);
    if (gGame->showMiniStatus)
        DrawMiniStatus(gPlayerRobot);
}

void WanderDisplay() {
    DrawWanderFrame();
    glutSwapBuffers();
    glFlush();
}
