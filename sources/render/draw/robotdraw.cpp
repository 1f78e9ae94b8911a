// robotdraw: the list sets of each model, their recording and drawing, and the shared helpers
// the model files record with.
#include "render/draw/robotdraw.h"

#include "render/draw/modelparts.h"
#include "render/robotmodel.h"
#include "render/slotcolors.h"
#include "robots/robot.h"

#include <algorithm>

namespace {

struct ModelLook {
    const char* normalName;
    const char* invisibleName;
    int allocated; // lists per set
    int drawn;     // lists per set that hold parts
    GLenum shading;
    double lift; // above the floor of the cell
    RecordPart record;
};

const ModelLook* LookOf(int kind) {
    static const ModelLook hover = {"Hover display", "Hover invisible display", 8, 8, GL_FLAT, 0.0,
                                    RecordHoverPart};
    static const ModelLook dalek = {"Dalek display", "Dalek display", 6, 6, GL_FLAT, 0.0,
                                    RecordDalekPart};
    static const ModelLook johnny5 = {"Johnny5 Display", "Johnny 5 Display", 9, 6, GL_SMOOTH, 0.05,
                                      RecordJohnny5Part};
    switch (kind) {
    case EHoverModel:
        return &hover;
    case EDalekModel:
        return &dalek;
    case EJohnny5Model:
        return &johnny5;
    default:
        return nullptr;
    }
}

void RecordSet(const ModelLook* look, const RobotModel* model, GLuint first, bool invisible) {
    for (int part = 0; part < look->drawn; part++) {
        BeginDisplayList(first + part, GL_COMPILE);
        look->record(model, part, invisible);
        EndDisplayList();
    }
}

// Allocates the sets on first use and records every list whose joints moved since.
void RecordModel(RobotModel* model, const ModelLook* look) {
    if (model->normalLists == 0) {
        model->normalLists = NewDisplayListSet(look->normalName, look->allocated);
        model->invisibleLists = NewDisplayListSet(look->invisibleName, look->allocated);
        if (model->kind == EHoverModel) {
            model->extraLists = NewDisplayListSet("Hover skill display", HOVER_SKILL_SPHERES);
            for (int i = 0; i < HOVER_SKILL_SPHERES; i++) {
                BeginDisplayList(model->extraLists + i, GL_COMPILE);
                RecordHoverSkillSphere(i);
                EndDisplayList();
            }
        }
        model->posed = 1;
    }
    if (model->posed) {
        RecordSet(look, model, model->normalLists, false);
        RecordSet(look, model, model->invisibleLists, true);
        model->posed = 0;
    }
}

// A body on the floor of its cell, facing +x, with a bump on its front.
void DrawPlainBox() {
    glPushMatrix();
    glTranslatef(0, 0, -0.15f);
    DrawBox(0.6, 0.6, 0.7);
    glTranslatef(0.33f, 0, 0.15f);
    DrawBox(0.06, 0.36, 0.16);
    glPopMatrix();
}

} // namespace

void BeginMaterial(GLenum face, const Material& material) {
    glMaterialfv(face, GL_AMBIENT_AND_DIFFUSE, material.ambientDiffuse);
    glMaterialfv(face, GL_SPECULAR, material.specular);
    // GL takes shininess up to 128; the Hover's 200 is its sharpest highlight, 128.
    glMaterialf(face, GL_SHININESS, std::min(material.shininess, 128.0f));
    if (material.blended) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
}

void EndMaterial(const Material& material) {
    if (material.blended)
        glDisable(GL_BLEND);
}

Material SlotMaterial(const RobotModel* model) {
    Material m = {};
    const float* color = RobotSlotColor(model->colorSlot);
    const float* specular = RobotSlotSpecular(model->colorSlot);
    for (int i = 0; i < 4; i++) {
        m.ambientDiffuse[i] = color[i];
        m.specular[i] = specular[i];
    }
    m.shininess = ROBOT_SHININESS;
    return m;
}

GLUquadric* NewPartQuadric(bool flatNormals) {
    GLUquadric* quadric = gluNewQuadric();
    SetQuadricErrorCallback(quadric);
    if (flatNormals) {
        gluQuadricDrawStyle(quadric, GLU_FILL);
        gluQuadricNormals(quadric, GLU_FLAT);
    }
    return quadric;
}

void DrawNewQuadricCylinder(double baseRadius, double topRadius, double height, int slices,
                            int stacks) {
    gluDeleteQuadric(NewQuadricClosedCylinder(GLU_FILL, GLU_SMOOTH, baseRadius, topRadius, height,
                                              slices, stacks));
}

void EnablePartClip(GLenum plane, double a, double b, double c, double d) {
    const GLdouble equation[4] = {a, b, c, d};
    glClipPlane(plane, equation);
    glEnable(plane);
}

void DrawRobot(Robot* robot) {
    RobotModel* model = RobotModelOf(robot);
    const ModelLook* look = LookOf(model->kind);
    if (model->clipOn) {
        glClipPlane(GL_CLIP_PLANE2, model->clipPlane);
        glEnable(GL_CLIP_PLANE2);
    }
    if (look == nullptr) {
        DrawPlainBox();
    } else {
        RecordModel(model, look);
        glPushMatrix();
        glEnable(GL_LIGHTING);
        glShadeModel(look->shading);
        glTranslated(0, 0, -0.5 + look->lift);
        glRotatef(-90, 0, 0, 1);
        GLuint first = robot->skillFlag ? model->invisibleLists : model->normalLists;
        for (int part = 0; part < look->drawn; part++) {
            glPushMatrix();
            glCallList(first + part);
            glPopMatrix();
        }
        glPopMatrix();
        glShadeModel(GL_FLAT);
    }
    if (model->clipOn)
        glDisable(GL_CLIP_PLANE2);
}

void DrawHoverGesture(void* data) {
    ModelAction* gesture = static_cast<ModelAction*>(data);
    RobotModel* model = RobotModelOf(gesture->robot);
    RecordModel(model, LookOf(EHoverModel));
    const Vector3& p = gesture->robot->position;
    glPushMatrix();
    glTranslated(p.x + 0.5, p.y + 0.5, p.z + 0.5);
    glCallList(model->extraLists + HoverSkillSphere(gesture));
    glPopMatrix();
}
