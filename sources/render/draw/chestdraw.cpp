// chestdraw: recording and drawing the chest lists.
#include "render/draw/chestdraw.h"

#include "render/draw/glutils.h"
#include "render/worldview.h"
#include "world/world.h"

namespace {

GLuint gNormalSet = 0;
GLuint gGhostSet = 0;

struct ChestMaterial {
    GLfloat ambientDiffuse[4];
    GLfloat specular[4];
    bool blend;
};
constexpr ChestMaterial CHEST = {{1, 1, 0, 1}, {1, 0, 1, 1}, false};
constexpr ChestMaterial GHOST = {{1, 0, 0, 0.3f}, {1, 1, 1, 0.7f}, true};
constexpr GLfloat CHEST_SHININESS = 50;
constexpr double LID_RADIUS = 0.25;
constexpr double CHEST_LENGTH = 0.7;
constexpr int LID_SLICES = 15;
constexpr int LID_STACKS = 5;

// The material (and blending) a list starts with, and texturing when a texture binds.
bool BeginChestPart(const ChestMaterial& m, const char* texture) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, m.ambientDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, CHEST_SHININESS);
    if (m.blend) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    return texture != nullptr && UseTexture(texture) == 1;
}

// Switches off what BeginChestPart switched on.
void EndChestPart(const ChestMaterial& m, bool textured) {
    if (m.blend)
        glDisable(GL_BLEND);
    if (textured)
        DisableTexture();
}

void ClipPlane3(double a, double b, double c, double d) {
    const GLdouble plane[4] = {a, b, c, d};
    glClipPlane(GL_CLIP_PLANE3, plane);
    glEnable(GL_CLIP_PLANE3);
}

// The base: a thin floor plate and a box cut to its lowest quarter, 0.25 high.
void RecordBase(GLuint list, const ChestMaterial& m, const char* texture) {
    BeginDisplayList(list, GL_COMPILE);
    bool textured = BeginChestPart(m, texture);
    glPushMatrix();
    glPushMatrix();
    glTranslatef(0, 0, 0.0005f);
    DrawTexturedBox(0.5, CHEST_LENGTH, 0.001);
    glPopMatrix();
    glTranslatef(0, 0, 0.5f);
    ClipPlane3(0, 0, -1, -0.25);
    DrawTexturedBox(0.5, CHEST_LENGTH, 1.0);
    glDisable(GL_CLIP_PLANE3);
    glPopMatrix();
    EndChestPart(m, textured);
    EndDisplayList();
}

// The upper half of a cylinder lying along y: on top of the base, or turned up on the back
// edge (x from 0.25 to 0.5) and hinged open with its inside showing.
void RecordLid(GLuint list, const ChestMaterial& m, const char* texture, bool open) {
    GLUquadric* quadric = gluNewQuadric();
    SetQuadricErrorCallback(quadric);
    gluQuadricDrawStyle(quadric, GLU_FILL);
    gluQuadricNormals(quadric, GLU_FLAT);
    gluQuadricTexture(quadric, texture != nullptr ? GL_TRUE : GL_FALSE);
    BeginDisplayList(list, GL_COMPILE);
    bool textured = BeginChestPart(m, texture);
    glPushMatrix();
    if (open) {
        glTranslatef(0.25f, 0.35f, 0.5f);
        glRotatef(90, 0, 1, 0);
    } else {
        glTranslatef(0, 0.35f, 0.25f);
    }
    ClipPlane3(0, 0, 1, 0);
    glRotatef(90, 1, 0, 0);
    if (open && textured)
        DrawClosedCylinderInside(quadric, LID_RADIUS, LID_RADIUS, CHEST_LENGTH, LID_SLICES,
                                 LID_STACKS);
    else
        DrawClosedCylinder(quadric, LID_RADIUS, LID_RADIUS, CHEST_LENGTH, LID_SLICES, LID_STACKS);
    glPopMatrix();
    EndChestPart(m, textured);
    glDisable(GL_CLIP_PLANE3);
    EndDisplayList();
    gluDeleteQuadric(quadric);
}

GLuint RecordChestSet(const ChestMaterial& m, const char* texture) {
    if (texture != nullptr)
        PreloadTexture(texture);
    GLuint first =
        NewDisplayListSet(m.blend ? "Chest ghost display" : "Chest display", CHEST_LISTS);
    RecordBase(first + CHEST_BASE_LIST, m, texture);
    RecordLid(first + CHEST_CLOSED_LID_LIST, m, texture, false);
    RecordLid(first + CHEST_OPEN_LID_LIST, m, texture, true);
    return first;
}

} // namespace

void InitChestModel(int texturesOn) {
    gNormalSet = RecordChestSet(CHEST, ChestTexture(texturesOn));
    gGhostSet = RecordChestSet(GHOST, nullptr);
}

void DrawChest(const Chest* chest, const WorldView* view) {
    ChestLook look = ChestLookFor(view, chest);
    if (!look.drawn || gNormalSet == 0)
        return;
    GLuint set = look.ghost ? gGhostSet : gNormalSet;
    glPushMatrix();
    glTranslated(chest->x + 0.5, chest->y + 0.5, chest->z);
    glPushMatrix();
    glCallList(set + CHEST_BASE_LIST);
    glPopMatrix();
    glPushMatrix();
    glCallList(set + look.lidList);
    glPopMatrix();
    glPopMatrix();
}
