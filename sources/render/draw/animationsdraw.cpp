// animationsdraw: the effects' lists and draw routines.
#include "render/draw/animationsdraw.h"

#include "render/animations.h"
#include "render/draw/glutils.h"
#include "render/draw/robotdraw.h"
#include "robots/robot.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr int PLASMA_LISTS = 10;
constexpr int SPIRAL_SETS = 5;
constexpr int STAR_LISTS = 9;
constexpr int STAR_SPRITES = 8; // the ninth list of each set stays empty
constexpr int BALLS_LISTS = 12;
constexpr int BALLS_ON_SPIRAL = 9;

constexpr GLfloat PLASMA_COLOR[4] = {0.7f, 0.0f, 0.7f, 0.5f};
constexpr GLfloat SHIELD_COLOR[4] = {0.8f, 1.0f, 0.8f, 0.3f};
constexpr GLfloat SHIELD_SPECULAR[4] = {0.85f, 0.7f, 0.7f, 0.3f};
constexpr GLfloat GLASS_COLOR[4] = {1, 1, 1, 0.5f};

struct EffectLists {
    bool recorded;
    GLuint plasma;
    GLuint star; // set s, list j at star + s * STAR_LISTS + j
    GLuint balls;
    GLuint shield;
};
EffectLists gLists = {};

void Material(GLenum face, const GLfloat* color, const GLfloat* specular, GLfloat shininess) {
    glMaterialfv(face, GL_AMBIENT_AND_DIFFUSE, color);
    glMaterialfv(face, GL_SPECULAR, specular);
    glMaterialf(face, GL_SHININESS, shininess);
}

void Blend(GLenum destination) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, destination);
}

// Ends a Blend, and the texture when one was bound.
void Unblend(bool bound) {
    glDisable(GL_BLEND);
    if (bound)
        DisableTexture();
}

// Where sprite j of spiral set s sits: the first at (0.35, 0.35, 0), then round a circle of
// radius 0.35 about that point, 35 degrees and 0.139 higher each time.
void SpiralPoint(int s, int j, GLdouble p[3]) {
    p[0] = p[1] = 0.35;
    p[2] = 0;
    if (j == 0)
        return;
    double theta = (s * 360.0 / SPIRAL_SETS + 35.0 * (j - 1)) * 0.0174532925;
    p[0] = 0.35 + 0.35 * std::cos(theta);
    p[1] = 0.35 + 0.35 * std::sin(theta);
    p[2] = 0.139 * j;
}

void RecordPlasma(bool textured) {
    GLUquadric* q = gluNewQuadric();
    SetQuadricErrorCallback(q);
    gluQuadricTexture(q, GL_TRUE);
    gLists.plasma = NewDisplayListSet("Plasma Weapon", PLASMA_LISTS);
    float length = 0;
    for (int i = 0; i < PLASMA_LISTS; i++) {
        length += 0.2f;
        BeginDisplayList(gLists.plasma + i, GL_COMPILE);
        glPushMatrix();
        Blend(GL_ONE_MINUS_SRC_ALPHA);
        bool bound = textured && UseTexture("images\\fire3.rgb") == 1;
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
        Material(GL_FRONT, PLASMA_COLOR, PLASMA_COLOR, 50);
        glPushMatrix();
        glRotatef(90, 0, 1, 0);
        DrawClosedCylinder(q, 0.05, 0.05, length, 6, 4);
        glPopMatrix();
        Unblend(bound);
        glPopMatrix();
        EndDisplayList();
    }
    gluDeleteQuadric(q);
}

void RecordStars() {
    gLists.star = NewDisplayListSet("Star Animation", SPIRAL_SETS * STAR_LISTS);
    for (int s = 0; s < SPIRAL_SETS; s++) {
        GLubyte rgb[3];
        for (GLubyte& c : rgb)
            c = static_cast<GLubyte>(RandomInt(0, 255));
        for (int j = 0; j < STAR_LISTS; j++) {
            BeginDisplayList(gLists.star + s * STAR_LISTS + j, GL_COMPILE);
            if (j < STAR_SPRITES) {
                GLdouble p[3];
                SpiralPoint(s, j, p);
                glPushMatrix();
                Blend(GL_ONE);
                bool bound = UseTexture("images\\Star.bmp") == 1;
                glDisable(GL_LIGHTING);
                glTranslated(p[0], p[1], p[2]);
                glColor4ub(rgb[0], rgb[1], rgb[2], 255);
                glBegin(GL_QUADS);
                glTexCoord2f(0, 0);
                glVertex3f(-0.14f, -0.14f, 0);
                glTexCoord2f(1, 0);
                glVertex3f(0.14f, -0.14f, 0);
                glTexCoord2f(1, 1);
                glVertex3f(0.14f, 0.14f, 0);
                glTexCoord2f(0, 1);
                glVertex3f(-0.14f, 0.14f, 0);
                glEnd();
                glEnable(GL_LIGHTING);
                Unblend(bound);
                glPopMatrix();
            }
            EndDisplayList();
        }
    }
}

void RecordBalls(bool textured) {
    GLUquadric* q = gluNewQuadric();
    SetQuadricErrorCallback(q);
    gluQuadricTexture(q, textured ? GL_TRUE : GL_FALSE);
    gLists.balls = NewDisplayListSet("BALLS Animation", SPIRAL_SETS * BALLS_LISTS);
    for (int s = 0; s < SPIRAL_SETS; s++) {
        const GLfloat color[4] = {static_cast<GLfloat>(RandomRange(0, 1)),
                                  static_cast<GLfloat>(RandomRange(0, 1)),
                                  static_cast<GLfloat>(RandomRange(0, 1)), 0.7f};
        for (int j = 0; j < BALLS_LISTS; j++) {
            bool glass = j >= BALLS_ON_SPIRAL;
            BeginDisplayList(gLists.balls + s * BALLS_LISTS + j, GL_COMPILE);
            glPushMatrix();
            Blend(GL_ONE);
            bool bound = glass && textured && UseTexture("images\\glass.bmp") == 1;
            GLdouble p[3] = {0.35, 0.35, 1.251};
            if (!glass)
                SpiralPoint(s, j, p);
            glTranslated(p[0], p[1], p[2]);
            const GLfloat* c = glass ? GLASS_COLOR : color;
            Material(GL_FRONT, c, c, 20);
            gluSphere(q, glass ? 0.14 : 0.07, 12, 6);
            Unblend(bound);
            glPopMatrix();
            EndDisplayList();
        }
    }
    gluDeleteQuadric(q);
}

void RecordShield() {
    GLUquadric* q = gluNewQuadric();
    SetQuadricErrorCallback(q);
    gluQuadricTexture(q, GL_TRUE);
    gLists.shield = NewDisplayListSet("Battle shield", 1);
    BeginDisplayList(gLists.shield, GL_COMPILE);
    Blend(GL_ONE_MINUS_SRC_ALPHA);
    Material(GL_FRONT_AND_BACK, SHIELD_COLOR, SHIELD_SPECULAR, 50);
    gluSphere(q, 1.5, 16, 10);
    glDisable(GL_BLEND);
    EndDisplayList();
    gluDeleteQuadric(q);
}

void TranslateToCentre(const Robot* robot) {
    const Vector3& p = robot->position;
    glTranslated(p.x + 0.5, p.y + 0.5, p.z + 0.5);
}

// ---- draw routines

void DrawPlasma(void* data) {
    const PlasmaShot* shot = static_cast<PlasmaShot*>(data);
    RecordAnimationLists();
    glPushMatrix();
    TranslateToCentre(shot->attacker);
    glRotatef(static_cast<GLfloat>(shot->attacker->facing), 0, 0, 1);
    glCallList(gLists.plasma + PlasmaBeamList(shot));
    glPopMatrix();
}

void DrawVolley(void* data) {
    Volley* volley = static_cast<Volley*>(data);
    AdvanceVolley(volley);
    const GLfloat color[4] = {volley->color.red, volley->color.green, volley->color.blue,
                              volley->color.alpha};
    for (int i = 0; i < volley->count; i++) {
        const Vector3& p = volley->pellets[i].position;
        glPushMatrix();
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, color);
        glTranslated(p.x, p.y, p.z);
        glRotatef(static_cast<GLfloat>(volley->facing + 180), 0, 0, 1);
        glRotatef(-90, 0, 1, 0);
        glutSolidCone(0.02, 0.06, 4, 4);
        glPopMatrix();
    }
}

void DrawSpiral(const SpiralEffect* effect, GLuint first, int listsPerSet, int frame) {
    RecordAnimationLists();
    const Vector3& p = effect->robot->position;
    glPushMatrix();
    glTranslated(p.x, p.y, p.z);
    for (int s = 0; s < SPIRAL_SETS; s++)
        glCallList(first + s * listsPerSet + frame);
    glPopMatrix();
}

void DrawStar(void* data) {
    const SpiralEffect* effect = static_cast<SpiralEffect*>(data);
    DrawSpiral(effect, gLists.star, STAR_LISTS, StarFrame(effect));
}

void DrawBalls(void* data) {
    const SpiralEffect* effect = static_cast<SpiralEffect*>(data);
    DrawSpiral(effect, gLists.balls, BALLS_LISTS, BallsFrame(effect));
}

void DrawDamage(void* data) {
    const DamageDisplay* display = static_cast<DamageDisplay*>(data);
    DamageLabel labels[2];
    int n = DamageLabels(display, labels);
    const Vector3& p = display->robot->position;
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    for (int i = 0; i < n; i++) {
        const Color& c = labels[i].color;
        glColor4f(c.red, c.green, c.blue, c.alpha);
        glRasterPos3d(p.x + 0.25, p.y + 0.25, p.z + labels[i].height);
        for (const char* t = labels[i].text; *t != '\0'; t++)
            glutBitmapCharacter(GLUT_BITMAP_9_BY_15, *t);
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

void DrawSonar(void* data) {
    const SonarPulse* pulse = static_cast<SonarPulse*>(data);
    const GLfloat color[4] = {pulse->color.red, pulse->color.green, pulse->color.blue,
                              pulse->color.alpha};
    const GLfloat specular[4] = {pulse->specular.red, pulse->specular.green, pulse->specular.blue,
                                 pulse->specular.alpha};
    const Vector3& p = pulse->robot->position;
    GLUquadric* q = gluNewQuadric();
    SetQuadricErrorCallback(q);
    glPushMatrix();
    Blend(GL_ONE_MINUS_SRC_ALPHA);
    Material(GL_FRONT_AND_BACK, color, specular, 50);
    glTranslated(p.x + 0.5, p.y + 0.5, p.z + 0.1);
    const GLdouble upper[4] = {0, 0, 1, 0};
    glClipPlane(GL_CLIP_PLANE0, upper);
    glEnable(GL_CLIP_PLANE0);
    glScalef(1, 1, 0.6f);
    gluSphere(q, pulse->radius, 12, 6);
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_BLEND);
    glPopMatrix();
    gluDeleteQuadric(q);
}

void DrawShield(void* data) {
    const BattleShield* shield = static_cast<BattleShield*>(data);
    RecordAnimationLists();
    glPushMatrix();
    glTranslated(shield->centre.x + 0.5, shield->centre.y + 0.5, shield->centre.z);
    const GLdouble plane[4] = {0, 0, 1, ShieldClipHeight(shield)};
    glClipPlane(GL_CLIP_PLANE0, plane);
    glEnable(GL_CLIP_PLANE0);
    glCallList(gLists.shield);
    glDisable(GL_CLIP_PLANE0);
    glPopMatrix();
}

void DrawWall(void* data) {
    const WallEffect* wall = static_cast<WallEffect*>(data);
    const GLfloat color[4] = {0.4f, 0.4f, 0.4f, WallAlpha(wall)};
    glPushMatrix();
    Blend(GL_ONE_MINUS_SRC_ALPHA);
    glTranslated(wall->cell.x + 0.5, wall->cell.y + 0.5, wall->cell.z + 0.5);
    glRotatef(wall->angle, 0, 0, 1);
    Material(GL_FRONT_AND_BACK, color, color, 5);
    DrawBox(1, 1, 1);
    glDisable(GL_BLEND);
    glPopMatrix();
}

// Puffs facing up, greyed by the system's brightness and fading with age; they write no depth,
// so they never hide one another.
void DrawParticles(const ParticleSystem* system) {
    Blend(GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    for (int i = 0; i < system->count; i++) {
        const Particle& p = system->particles[i];
        glPushMatrix();
        glTranslatef(p.position[0], p.position[1], p.position[2]);
        glScalef(p.size, p.size, 1);
        glColor4f(system->brightness, system->brightness, system->brightness, p.alpha);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex3f(-1, -1, 0);
        glTexCoord2f(0, 1);
        glVertex3f(-1, 1, 0);
        glTexCoord2f(1, 1);
        glVertex3f(1, 1, 0);
        glTexCoord2f(1, 0);
        glVertex3f(1, -1, 0);
        glEnd();
        glPopMatrix();
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void DrawSmoke(void* data) {
    const Smoke* smoke = static_cast<Smoke*>(data);
    glPushMatrix();
    glDisable(GL_LIGHTING);
    bool bound = UseTexture("images\\smoke.la") == 1;
    if (bound) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    }
    glAlphaFunc(GL_GREATER, 0.016f);
    glEnable(GL_ALPHA_TEST);
    DrawParticles(&smoke->particles);
    if (bound)
        DisableTexture();
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

} // namespace

void RecordAnimationLists() {
    if (gLists.recorded)
        return;
    gLists.recorded = true;
    bool textured = gAnimationHooks.getTexturesOn() != 0;
    // Loaded here, the textures' uploads stay out of the lists.
    for (const char* name : {"images\\fire3.rgb", "images\\Star.bmp", "images\\glass.bmp"})
        PreloadTexture(name);
    RecordPlasma(textured);
    RecordStars();
    RecordBalls(textured);
    RecordShield();
}

void InitAnimations() {
    InitGLUtils();
    gAnimationDrawers = {DrawPlasma, DrawVolley, DrawStar, DrawBalls, DrawDamage,
                         DrawSonar,  DrawShield, DrawWall, DrawSmoke, DrawHoverGesture};
}
