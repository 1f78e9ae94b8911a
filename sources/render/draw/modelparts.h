// modelparts: what the three robot models record their lists with: materials, quadrics and the
// recording of one part.
#pragma once

#include "render/draw/glutils.h"

struct RobotModel;

struct Material {
    float ambientDiffuse[4];
    float specular[4];
    float shininess;
    bool blended;
};

// Every part of an invisible robot: translucent red, blended over what lies behind.
constexpr Material TRANSLUCENT_MATERIAL = {{1, 0, 0, 0.3f}, {1, 0, 0, 0.3f}, 50, true};

// Sets the material on face, and blending when it is blended.
void BeginMaterial(GLenum face, const Material& material);
// Switches blending off again after a blended material.
void EndMaterial(const Material& material);
// The robot colour of the model's slot (the players' colours; gunmetal beyond them).
Material SlotMaterial(const RobotModel* model);

// A quadric for one part, filled, with smooth or flat normals; it reports GLU errors.
GLUquadric* NewPartQuadric(bool flatNormals);
// A cylinder along +z closed by discs facing -z (the recording of one part); the quadric is
// released at once.
void DrawNewQuadricCylinder(double baseRadius, double topRadius, double height, int slices,
                            int stacks);

// What the model files record: part `part` of the normal set, or of the invisible set.
using RecordPart = void (*)(const RobotModel* model, int part, bool invisible);

// A clip plane for a part (plane 0 or 1 of the model's own); on while the part is recorded.
void EnablePartClip(GLenum plane, double a, double b, double c, double d);

// The three models' parts.
void RecordHoverPart(const RobotModel* model, int part, bool invisible);
void RecordHoverSkillSphere(int sphere);
void RecordDalekPart(const RobotModel* model, int part, bool invisible);
void RecordJohnny5Part(const RobotModel* model, int part, bool invisible);
