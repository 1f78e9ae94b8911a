// worlddraw: box and marker lists, and the boxes, robots and chests of a frame.
#include "render/draw/worlddraw.h"

#include "foundation/darray.h"
#include "foundation/utilities.h"
#include "render/draw/chestdraw.h"
#include "render/draw/energondraw.h"
#include "render/draw/glutils.h"
#include "render/draw/robotdraw.h"
#include "render/worldview.h"
#include "robots/robot.h"
#include "world/world.h"

#include <GL/freeglut.h>

namespace {

constexpr GLfloat BOX_SHININESS = 5;
constexpr GLfloat MARKER_SHININESS = 15;
// The light every surface gets besides light 0, so that the far corners of a large world,
// which light 0 only grazes, still show their colours and textures.
constexpr GLfloat AMBIENT_LIGHT[4] = {0.4f, 0.4f, 0.4f, 1.0f};
// Half-strength highlights: the grey boxes reflect as much as they scatter, and a full-strength
// light near a cube would turn its top white.
constexpr GLfloat LIGHT_SPECULAR[4] = {0.5f, 0.5f, 0.5f, 1.0f};

void SetMaterial(GLenum face, const Color* c, GLfloat shininess) {
    const GLfloat rgba[4] = {c->red, c->green, c->blue, c->alpha};
    glMaterialfv(face, GL_AMBIENT_AND_DIFFUSE, rgba);
    glMaterialfv(face, GL_SPECULAR, rgba);
    glMaterialf(face, GL_SHININESS, shininess);
}

void RecordBox(WorldBox* box) {
    const char* texture = BoxTexture(box);
    if (texture != nullptr)
        PreloadTexture(texture); // keeps the upload out of the list
    box->displayList = NewDisplayListSet("world cube polygon", 1);
    BeginDisplayList(box->displayList, GL_COMPILE);
    SetMaterial(GL_FRONT, &box->color, BOX_SHININESS);
    if (box->translucent) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    bool bound = texture != nullptr && UseTexture(texture) == 1;
    const Vector3& lo = box->minimum;
    const Vector3& hi = box->maximum;
    glPushMatrix();
    glTranslated((lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2);
    if (BoxTextured(box))
        DrawTexturedBox(hi.x - lo.x, hi.y - lo.y, hi.z - lo.z);
    else
        DrawBox(hi.x - lo.x, hi.y - lo.y, hi.z - lo.z);
    glPopMatrix();
    if (box->translucent)
        glDisable(GL_BLEND);
    if (bound)
        DisableTexture();
    EndDisplayList();
}

// One cone a safe-zone entry; an entry the world file left undefined gets an empty list.
void RecordSafeZoneMarkers(World* world) {
    int n = world->safeZoneMarkers;
    GLuint first = NewDisplayListSet("Safe zone list", n);
    world->safeZoneLists = static_cast<uint32_t*>(SafeMalloc(n * sizeof(uint32_t)));
    for (int i = 0; i < n; i++) {
        const SafeZone* zone = GetSafeZone(world, i);
        const Color* color = zone != nullptr ? SafeZoneColor(zone->owner) : nullptr;
        world->safeZoneLists[i] = first + i;
        BeginDisplayList(first + i, GL_COMPILE);
        if (color != nullptr) {
            SetMaterial(GL_FRONT, color, MARKER_SHININESS);
            glPushMatrix();
            glTranslatef(zone->centre.x + 0.5f, zone->centre.y + 0.5f, zone->centre.z);
            glRotatef(22.5f, 0, 0, 1);
            glutSolidCone(0.5, 1.0, 8, 8);
            glPopMatrix();
        }
        EndDisplayList();
    }
}

// The boxes of one kind, each recorded the first time it is drawn.
void DrawBoxes(World* world, const WorldView* view, bool translucent) {
    for (int i = 0; i < BoxCount(world); i++) {
        WorldBox* box = GetWorldBox(world, i);
        if ((box->translucent != 0) != translucent || !BoxDrawn(view, box))
            continue;
        if (box->displayList == 0)
            RecordBox(box);
        glPushMatrix();
        glCallList(box->displayList);
        glPopMatrix();
    }
}

} // namespace

void InitWorldDrawing(int texturesOn) {
    InitGLUtils();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, AMBIENT_LIGHT);
    glLightfv(GL_LIGHT0, GL_SPECULAR, LIGHT_SPECULAR);
    InitEnergonStages();
    InitChestModel(texturesOn);
}

void DrawWorldBoxes(World* world, const WorldView* view) {
    glEnable(GL_CULL_FACE);
    DrawBoxes(world, view, false);
    if (world->safeZoneMarkers > 0) {
        if (world->safeZoneLists == nullptr)
            RecordSafeZoneMarkers(world);
        glCallLists(world->safeZoneMarkers, GL_UNSIGNED_INT, world->safeZoneLists);
    }
    // Glassy pads after everything opaque, so that what lies behind them shows through.
    DrawBoxes(world, view, true);
    glDisable(GL_CULL_FACE);
}

void DrawWorldRobots(World* world, const WorldView* view) {
    for (int slot = 0; slot < RobotSlotCount(world); slot++) {
        Robot* robot = GetRobotByIndex(world, slot);
        if (!RobotDrawn(view, robot))
            continue;
        glPushMatrix();
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, RobotSlotColor(slot));
        glMaterialfv(GL_FRONT, GL_SPECULAR, RobotSlotSpecular(slot));
        glMaterialf(GL_FRONT, GL_SHININESS, ROBOT_SHININESS);
        const Vector3& p = robot->position;
        glTranslated(p.x + 0.5, p.y + 0.5, p.z + 0.5);
        glRotatef(static_cast<GLfloat>(robot->facing), 0, 0, 1);
        DrawRobot(robot);
        glPopMatrix();
    }
}

void DrawWorldChests(World* world, const WorldView* view) {
    for (int i = 0; i < ChestCount(world); i++)
        DrawChest(GetChestByIndex(world, i), view);
}

void DrawWorld(World* world, const WorldView* view) {
    DrawWorldBoxes(world, view);
    DrawWorldRobots(world, view);
    DrawWorldChests(world, view);
    DrawAllEnergon(world, view);
}
