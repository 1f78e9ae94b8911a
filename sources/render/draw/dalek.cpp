// dalek: the Dalek's parts. A grey skirted body tapering up to dark shoulders, a plunger arm and
// a gun reaching forward, a grey dome that turns and an eye stalk with a lamp. Model units: the
// cell is 1 x 1 x 1, the model stands on z 0 and faces +y.
#include "render/draw/modelparts.h"
#include "render/robotmodel.h"

namespace {

constexpr Material DARK_MATERIAL = {{0.05f, 0.05f, 0.05f, 1}, {1, 1, 1, 1}, 50, false};
constexpr Material GREY_MATERIAL = {{0.4f, 0.4f, 0.4f, 1}, {0.4f, 0.4f, 0.4f, 1}, 20, false};
constexpr Material LAMP_MATERIAL = {{0.9f, 0.9f, 0.9f, 1}, {0.9f, 0.9f, 0.9f, 1}, 20, false};
constexpr int SLICES = 15;
constexpr int STACKS = 5;
constexpr double ELLIPSE = 0.88; // the body is narrower across than front to back

} // namespace

void RecordDalekPart(const RobotModel* model, int part, bool invisible) {
    auto pick = [invisible](const Material& m) -> const Material& {
        return invisible ? TRANSLUCENT_MATERIAL : m;
    };
    const Material& dark = pick(DARK_MATERIAL);
    const Material& grey = pick(GREY_MATERIAL);
    const Material& lamp = pick(LAMP_MATERIAL);
    bool flat = part >= 1 && part <= 3;
    GLUquadric* q = NewPartQuadric(flat);
    glPushMatrix();
    switch (part) {
    case 0: // body and skirt
        BeginMaterial(GL_FRONT, grey);
        DrawScaledClosedCylinder(q, 0.34, 0.2, 0.5, ELLIPSE, 1, SLICES, STACKS);
        EndMaterial(grey);
        BeginMaterial(GL_FRONT, dark);
        DrawScaledClosedCylinder(q, 0.36, 0.36, 0.1, ELLIPSE, 1, SLICES, STACKS);
        EndMaterial(dark);
        break;
    case 1: // shoulders
        BeginMaterial(GL_FRONT, dark);
        glTranslated(0, 0, 0.5);
        DrawScaledClosedCylinder(q, 0.2, 0.2, 0.2, ELLIPSE, 1, SLICES, STACKS);
        EndMaterial(dark);
        break;
    case 2: // the plunger arm and its cup
        BeginMaterial(GL_FRONT, dark);
        glTranslated(0.1, 0.3, 0.6);
        glRotated(90, 1, 0, 0);
        DrawClosedCylinder(q, 0.03, 0.03, 0.2, SLICES, STACKS);
        glTranslated(0, 0, -0.04);
        EnablePartClip(GL_CLIP_PLANE0, 0, 0, 1, 0);
        gluSphere(q, 0.08, SLICES, STACKS);
        glDisable(GL_CLIP_PLANE0);
        gluQuadricOrientation(q, GLU_INSIDE);
        gluDisk(q, 0, 0.08, SLICES, STACKS);
        EndMaterial(dark);
        break;
    case 3: // the gun
        BeginMaterial(GL_FRONT, dark);
        glTranslated(-0.1, 0.3, 0.6);
        glRotated(90, 1, 0, 0);
        DrawClosedCylinder(q, 0.038, 0.038, 0.2, SLICES, STACKS);
        EndMaterial(dark);
        break;
    case 4: // the dome
        BeginMaterial(GL_FRONT, grey);
        glRotated(model->domeAngle, 0, 0, 1);
        glTranslated(0, 0, 0.7);
        gluSphere(q, 0.2, SLICES, STACKS);
        EndMaterial(grey);
        break;
    case 5: // the eye stalk and its lamp
        BeginMaterial(GL_FRONT, dark);
        glRotated(model->domeAngle, 0, 0, 1);
        glTranslated(0, 0.2, 0.8333333);
        glRotated(90, 1, 0, 0);
        DrawClosedCylinder(q, 0.02, 0.02, 0.1, SLICES, STACKS);
        EndMaterial(dark);
        BeginMaterial(GL_FRONT, lamp);
        glTranslated(0, 0, -0.015);
        gluSphere(q, 0.03, SLICES, STACKS);
        EndMaterial(lamp);
        break;
    default:
        break;
    }
    glPopMatrix();
    gluDeleteQuadric(q);
}
