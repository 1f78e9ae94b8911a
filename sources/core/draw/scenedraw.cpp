// scenedraw: DrawScene and the frustum planes from the GL matrices.
#include "core/draw/scenedraw.h"

#include "core/game.h"
#include "core/mainloop.h"
#include "render/draw/worlddraw.h"
#include "render/worldview.h"
#include "robots/robot.h"
#include "world/world.h"

#include <GL/gl.h>
#include <GL/glu.h>

// The position of robot robotUid in world; false when the world holds no such robot.
static bool FindViewedRobot(World* world, int robotUid, Vector3* position) {
    Robot* robot = world != nullptr ? FindRobotInWorld(world, robotUid) : nullptr;
    if (robot == nullptr)
        return false;
    *position = robot->position;
    return true;
}

void DrawScene(World* world, int robotUid) {
    Vector3 position;
    if (!FindViewedRobot(world, robotUid, &position)) {
        DrawSceneFrom(nullptr);
        return;
    }
    DrawSceneFrom(&position);
    const WorldView view = {InRevealSphere, CubeInFrustum, gCamera->frustumPlanes, GetFirstPerson(),
                            gLocalRobotUid};
    DrawWorld(world, &view);
}

void UpdateFrustumPlanes() {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    Vector3 corners[8];
    const double w = viewport[2], h = viewport[3];
    const double windowPoints[4][2] = {{0, 0}, {w, 0}, {0, h}, {w, h}};
    for (int d = 0; d < 2; d++) {
        for (int i = 0; i < 4; i++) {
            Vector3& c = corners[4 * d + i];
            gluUnProject(windowPoints[i][0], windowPoints[i][1], d, model, projection, viewport,
                         &c.x, &c.y, &c.z);
        }
    }
    SetFrustumFromCorners(corners);
}

void DrawSceneFrom(const Vector3* robotPosition) {
    if (GetFogOn())
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    else
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glEnable(GL_AUTO_NORMAL);
    if (GetFogOn()) {
        const GLfloat fogColor[4] = {0.8f, 0.8f, 0.8f, 1.0f};
        glEnable(GL_FOG);
        glFogi(GL_FOG_MODE, GL_EXP);
        glFogfv(GL_FOG_COLOR, fogColor);
        glFogf(GL_FOG_DENSITY, 0.35f);
        glHint(GL_FOG_HINT, GL_NICEST);
        glFogf(GL_FOG_START, 2.0f);
        glFogf(GL_FOG_END, 10.0f);
    } else {
        glDisable(GL_FOG); // the switch turned off
    }
    if (robotPosition == nullptr)
        return;
    Vector3 eye, centre;
    ComputeLookAt(robotPosition, &eye, &centre);
    gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, 0, 0, 1);
    if (gCamera->frustumDirty) {
        UpdateFrustumPlanes();
        gCamera->frustumDirty = 0;
    }
    glPushMatrix();
    glLightfv(GL_LIGHT0, GL_DIFFUSE, GetLightDiffuse());
    glLightfv(GL_LIGHT0, GL_POSITION, GetLightPosition());
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glColor3f(0.0f, 0.0f, 0.0f);
}
