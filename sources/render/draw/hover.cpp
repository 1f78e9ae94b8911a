// hover: the Hover's parts. A glossy black robot floating on a cone and a ring: a tapering
// lower body, a broad upper body, arms with slot-coloured hands, a round head and a
// slot-coloured half-disc crest at its front. Model units: the cell is 1 x 1 x 1, the model
// stands on z 0 and faces +y.
#include "render/draw/modelparts.h"
#include "render/robotmodel.h"

#include <GL/freeglut.h>

namespace {

// Nearly black with a hard white highlight.
constexpr Material BODY_MATERIAL = {{0.05f, 0.05f, 0.05f, 1}, {1, 1, 1, 1}, 200, false};
constexpr Material SKILL_SPHERE_MATERIAL = {
    {0.4f, 0.4f, 0.0f, 0.5f}, {0.4f, 0.4f, 0.0f, 0.5f}, 50, true};
constexpr int SLICES = 15;
constexpr int STACKS = 5;

struct ArmAngles {
    int shoulderY, shoulderX, elbowY, elbowTilt;
};

// An arm hanging from its shoulder at x; the elbow bends about (1, 1, 0) on the left arm and
// about (1, 0, 0) on the right one. The hand keeps the slot colour, unblended, in both sets.
void DrawArm(GLUquadric* q, double x, const ArmAngles& a, bool left, const Material& arm,
             const Material& hand) {
    glTranslated(x, 0, 0.7);
    gluSphere(q, 0.05, SLICES, STACKS);
    glRotated(a.shoulderY, 0, 1, 0);
    glRotated(a.shoulderX, 1, 0, 0);
    glTranslated(0, 0, -0.2);
    DrawClosedCylinder(q, 0.07, 0.05, 0.13, SLICES, STACKS);
    glTranslated(0, 0, -0.07);
    gluSphere(q, 0.07, SLICES, STACKS);
    glRotated(a.elbowY, 0, 1, 0);
    glRotated(a.elbowTilt, 1, left ? 1 : 0, 0);
    glTranslated(0, 0, -0.2);
    DrawClosedCylinder(q, 0.07, 0.05, 0.13, SLICES, STACKS);
    EndMaterial(arm);
    glPushMatrix();
    BeginMaterial(GL_FRONT, hand);
    glTranslated(0, 0, 0.0325);
    DrawClosedCylinder(q, 0.09, 0.09, 0.03, SLICES, STACKS);
    EndMaterial(hand);
    glPopMatrix();
}

} // namespace

void RecordHoverPart(const RobotModel* model, int part, bool invisible) {
    const Material body = invisible ? TRANSLUCENT_MATERIAL : BODY_MATERIAL;
    const Material slot = SlotMaterial(model);
    const Material& material = part == 7 && !invisible ? slot : body;
    const HoverJoints& j = model->hover;
    bool flat = part >= 1 && part <= 5;
    GLUquadric* q = NewPartQuadric(flat);
    glPushMatrix();
    BeginMaterial(GL_FRONT, material);
    switch (part) {
    case 0: // the skirt: a cone with a ring round its top
        glScalef(1, 0.75f, 1);
        gluCylinder(q, 0, 0.1, 0.15, SLICES, STACKS);
        glTranslated(0, 0, 0.15);
        glScalef(0.3f, 0.3f, 0.3f);
        glutSolidTorus(0.15, 0.4, 8, SLICES);
        break;
    case 1: // lower body
        glTranslated(0, 0, 0.15);
        DrawScaledClosedCylinder(q, 0.07, 0.15, 0.3, 1, 0.75, SLICES, STACKS);
        break;
    case 2: // upper body
        glTranslated(0, 0, 0.45);
        DrawScaledClosedCylinder(q, 0.15, 0.18, 0.3, 1, 0.75, SLICES, STACKS);
        break;
    case 3:
        DrawArm(q, -0.23, {j.leftShoulderY, j.leftShoulderX, j.leftElbowY, j.leftElbowTilt}, true,
                body, slot);
        break;
    case 4:
        DrawArm(q, 0.23, {-j.rightShoulderY, j.rightShoulderX, j.rightElbowY, j.rightElbowX}, false,
                body, slot);
        break;
    case 5: // neck
        glTranslated(0, 0, 0.75);
        gluCylinder(q, 0.04, 0.04, 0.05, SLICES, STACKS);
        break;
    case 6: // head
        glTranslated(0, 0, 0.8);
        DrawClosedCylinder(q, 0.1, 0.1, 0.1, SLICES, STACKS);
        break;
    case 7: // the crest: the front half of a thin disc
        EnablePartClip(GL_CLIP_PLANE1, 0, 1, 0, 0);
        glTranslated(0, 0, 0.8666667);
        DrawClosedCylinder(q, 0.15, 0.15, 0.0025, SLICES, STACKS);
        glDisable(GL_CLIP_PLANE1);
        break;
    default:
        break;
    }
    EndMaterial(material);
    glPopMatrix();
    gluDeleteQuadric(q);
}

void RecordHoverSkillSphere(int sphere) {
    GLUquadric* q = NewPartQuadric(false);
    BeginMaterial(GL_FRONT, SKILL_SPHERE_MATERIAL);
    gluSphere(q, 0.12 + 0.08 * (sphere + 1), 12, 6);
    EndMaterial(SKILL_SPHERE_MATERIAL);
    gluDeleteQuadric(q);
}
