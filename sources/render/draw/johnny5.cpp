// johnny5: Johnny 5's parts. A bright metal robot on two triangular tracks joined by an axle, a
// two-part torso bending at a slot-coloured waist joint, arms with slot-coloured joints, a head
// of two eye tubes on a slot-coloured plate, and a slot-coloured gun at its side. Model units:
// the cell is 1 x 1 x 1, the wheels' axles lie on z 0 and the model faces +y. Every joint
// follows from the torso angle: the lower torso leans back by it, the upper torso forward.
#include "render/draw/modelparts.h"
#include "render/robotmodel.h"

#include <GL/freeglut.h>

#include <cmath>

namespace {

constexpr Material METAL_MATERIAL = {{0.9f, 0.9f, 0.9f, 1}, {0.95f, 0.95f, 0.95f, 1}, 100, false};
constexpr GLenum FACES = GL_FRONT_AND_BACK;
constexpr double RADIANS = 3.14159265358979 / 180.0;

struct Point {
    double x, y, z;
};

// The joints the torso angle puts in place.
struct Frame {
    double sinA, cosA;
    Point waist, neck, gun;
    double shoulderY, shoulderZ;
};

Frame FrameOf(const Johnny5Joints& j) {
    Frame f = {};
    double a = (90.0 - j.torso / 2.0) * RADIANS;
    f.sinA = std::sin(a);
    f.cosA = std::cos(a);
    f.waist = {0, -0.315 * f.sinA, 0.2 + 0.315 * f.cosA};
    double upY = f.waist.y + 0.415 * f.sinA - 0.07 * f.cosA;
    double upZ = f.waist.z + 0.415 * f.cosA + 0.07 * f.sinA;
    f.neck = {0, upY, upZ - 0.02};
    f.gun = {-0.11375, upY - 0.15, upZ - 0.01};
    f.shoulderY = 0.03775 * f.sinA;
    f.shoulderZ = 0.2 + 0.66775 * f.cosA;
    return f;
}

// The slot-coloured parts stay opaque in the invisible set: the body's material pauses for them.
struct Paint {
    const Material& body;
    Material slot;
    void Slot() const {
        EndMaterial(body);
        BeginMaterial(FACES, slot);
    }
    void Body() const { BeginMaterial(FACES, body); }
};

void Wheel(double x, double y, double z) {
    glPushMatrix();
    glTranslated(x, y, z);
    glRotated(90, 1, 0, 0);
    glRotated(90, 0, 1, 0);
    DrawNewQuadricCylinder(0.05, 0.05, 0.05, 10, 10);
    glPopMatrix();
}

// A tread at x: three wheels and a belt round them, 0.05 wide.
void Tread(double x) {
    Wheel(x, 0.25, 0);
    Wheel(x, -0.15, 0);
    Wheel(x, 0, 0.2);
    const double a = std::atan2(0.25, 0.2), b = std::atan2(0.15, -0.2);
    const double yz[6][2] = {{-0.15, -0.05},
                             {0.25, -0.05},
                             {0.25 + 0.05 * std::cos(a), 0.05 * std::sin(a)},
                             {0.05 * std::cos(a), 0.2 + 0.05 * std::sin(a)},
                             {0.05 * std::cos(b), 0.2 + 0.05 * std::sin(b)},
                             {-0.15 + 0.05 * std::cos(b), 0.05 * std::sin(b)}};
    for (int i = 0; i < 6; i++) {
        const double* p = yz[i];
        const double* q = yz[(i + 1) % 6];
        // Each face of the belt looks outwards, the bends round the wheels too.
        double ny = q[1] - p[1], nz = p[0] - q[0];
        double length = std::sqrt(ny * ny + nz * nz);
        glBegin(GL_QUADS);
        glNormal3d(0, ny / length, nz / length);
        glVertex3d(x, p[0], p[1]);
        glVertex3d(x, q[0], q[1]);
        glVertex3d(x + 0.05, q[0], q[1]);
        glVertex3d(x + 0.05, p[0], p[1]);
        glEnd();
    }
    // The wheels' hubs lie flush with the belt's sides; the sides give way to them.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1, 1);
    for (int side = 0; side < 2; side++) {
        glBegin(GL_POLYGON);
        glNormal3d(side == 0 ? -1 : 1, 0, 0);
        for (int i = 0; i < 6; i++)
            glVertex3d(x + 0.05 * side, yz[i][0], yz[i][1]);
        glEnd();
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void Tracks(const Paint& paint) {
    Tread(-0.15);
    Tread(0.1);
    paint.Slot();
    glPushMatrix();
    glTranslated(-0.1, 0, 0.2);
    glRotated(90, 1, 0, 0);
    glRotated(90, 0, 1, 0);
    DrawNewQuadricCylinder(0.05, 0.05, 0.2, 10, 10);
    glPopMatrix();
}

void Torso(const Johnny5Joints& j, const Frame& f, const Paint& paint) {
    double a = 90.0 - j.torso / 2.0;
    glPushMatrix();
    glTranslated(0, 0, 0.2);
    glRotated(a, 1, 0, 0);
    glScaled(0.2, 0.1, 0.3);
    DrawNewQuadricCylinder(0.5, 0.3, 1.0, 4, 10);
    glPopMatrix();
    paint.Slot();
    glPushMatrix();
    glTranslated(f.waist.x, f.waist.y, f.waist.z);
    glScaled(2, 1, 1);
    glutSolidSphere(0.03, 10, 10);
    glPopMatrix();
    paint.Body();
    glPushMatrix();
    glTranslated(0, f.waist.y + 0.015 * f.sinA, f.waist.z + 0.015 * f.cosA);
    glRotated(-a, 1, 0, 0);
    glScaled(0.35, 0.14, 0.4);
    DrawNewQuadricCylinder(0.3, 0.5, 1.0, 4, 10);
    glPopMatrix();
}

void Head(const Johnny5Joints& j, const Frame& f, const Paint& paint) {
    const Point& n = f.neck;
    glPushMatrix();
    glTranslated(n.x, n.y, n.z);
    DrawNewQuadricCylinder(0.02, 0.02, 0.08, 10, 10);
    glPopMatrix();
    for (double x : {-0.05, 0.05}) {
        glPushMatrix();
        glTranslated(x, n.y + 0.08, n.z + 0.08);
        glRotated(90, 1, 0, 0);
        glRotated(j.head, 0, 0, 1);
        DrawNewQuadricCylinder(0.03, 0.02, 0.16, 10, 10);
        glPopMatrix();
    }
    paint.Slot();
    glPushMatrix();
    glTranslated(0, n.y, n.z + 0.08);
    glScaled(0.1, 0.12, 0.02);
    glRotated(j.head, 0, 0, 1);
    glutSolidCube(1.0);
    glPopMatrix();
}

// A joint of that radius, and below it a segment turned by angle about x; ends at its far end.
void ArmSegment(double jointRadius, int angle, const Paint& paint) {
    paint.Slot();
    glutSolidSphere(jointRadius, 10, 10);
    glRotated(angle, 1, 0, 0);
    glTranslated(0, 0, -0.15);
    paint.Body();
    DrawNewQuadricCylinder(0.03, 0.03, 0.15, 6, 6);
}

// An arm from its shoulder: the upper arm turned by upper about x, the forearm by fore more.
void Arm(double x, const Frame& f, int upper, int fore, const Paint& paint) {
    glTranslated(x, f.shoulderY, f.shoulderZ);
    ArmSegment(0.04, upper, paint);
    ArmSegment(0.036, fore, paint);
}

void Gun(const Frame& f, const Paint& paint) {
    paint.Slot();
    glTranslated(f.gun.x, f.gun.y, f.gun.z);
    glRotated(-90, 1, 0, 0);
    DrawNewQuadricCylinder(0.024, 0.024, 0.3, 6, 6);
}

} // namespace

void RecordJohnny5Part(const RobotModel* model, int part, bool invisible) {
    const Johnny5Joints& j = model->johnny;
    const Frame f = FrameOf(j);
    const Paint paint = {invisible ? TRANSLUCENT_MATERIAL : METAL_MATERIAL, SlotMaterial(model)};
    glPushMatrix();
    paint.Body();
    switch (part) {
    case 0:
        Tracks(paint);
        break;
    case 1:
        Torso(j, f, paint);
        break;
    case 2:
        Head(j, f, paint);
        break;
    case 3:
        Arm(0.175, f, j.leftUpperArm, j.leftForearm, paint);
        break;
    case 4:
        Arm(-0.175, f, j.rightUpperArm, j.rightForearm, paint);
        break;
    case 5:
        Gun(f, paint);
        break;
    default:
        break;
    }
    EndMaterial(paint.body);
    glPopMatrix();
}
