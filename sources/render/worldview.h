// worldview: what a frame of the world shows, decided without GL.
//
// The drawing passes (worlddraw, chestdraw, energondraw) ask here which boxes, robots, chests
// and energon deposits to draw, in which colour and with which texture; the unit tests ask the
// same questions without a display, and the window tests check the picture that results.
//
// The camera belongs to the game core, above this layer, so the scene hands its tests and
// flags in through a WorldView each frame.
#pragma once

#include "render/slotcolors.h" // a robot's material by its slot

#include "foundation/utilities.h"

struct Chest;
struct Energon;
struct Robot;
struct WorldBox;

struct WorldView {
    // The sonar's reveal sphere: true when (p->x, p->y, z) lies inside it.
    bool (*inRevealSphere)(const Vector3* p, double z);
    // True when the unit cube centred on the point is at least partly in view.
    bool (*cubeInFrustum)(const Vector3* centre);
    // The six planes of the view volume, inside where a x + b y + c z + d >= 0; null culls no
    // box.
    const double (*frustumPlanes)[4];
    int firstPerson;
    int localRobotUid;
};

// ---- boxes

// False only when all eight corners of the box lie outside one of the planes.
bool BoxInFrustum(const double planes[6][4], const Vector3* minimum, const Vector3* maximum);
// Opaque boxes when they are in view; translucent ones (glassy teleporter pads) only while the
// reveal sphere holds their minimum corner.
bool BoxDrawn(const WorldView* view, const WorldBox* box);
// Any texture name, "none" too, gives the box texture coordinates.
bool BoxTextured(const WorldBox* box);
// The texture to bind for the box, or null ("none", or no texture at all).
const char* BoxTexture(const WorldBox* box);

// ---- robots

// Not the local robot seen in first person; an invisible robot of someone else only inside
// the reveal sphere; and only when in view.
bool RobotDrawn(const WorldView* view, const Robot* robot);

// ---- chests

constexpr int CHEST_BASE_LIST = 0;
constexpr int CHEST_CLOSED_LID_LIST = 1;
constexpr int CHEST_OPEN_LID_LIST = 2;
constexpr int CHEST_LISTS = 3;

struct ChestLook {
    bool drawn;
    bool ghost;  // the translucent red set of a hidden chest inside the reveal sphere
    int lidList; // CHEST_CLOSED_LID_LIST or CHEST_OPEN_LID_LIST
};
// An ordinary chest whenever it is in view; a hidden one only inside the reveal sphere, as a
// ghost.
ChestLook ChestLookFor(const WorldView* view, const Chest* chest);
// "images\copper.rgb" when textures are on at start-up, else null.
const char* ChestTexture(int texturesOn);

// ---- energon

// One list a stage, 0 to 500; list s holds a cone of ENERGON_STAGE_HEIGHT x s.
constexpr int ENERGON_STAGE_LISTS = 501;
constexpr double ENERGON_STAGE_HEIGHT = 0.0005;
// Above stage 1 (a stage with a list) and in view.
bool EnergonDrawn(const WorldView* view, const Energon* energon);
