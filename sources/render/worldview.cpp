// worldview: the visibility, colour and texture decisions of the world's drawing.
#include "render/worldview.h"

#include "robots/robot.h"
#include "world/energon.h"
#include "world/world.h"

#include <cmath>
#include <cstring>

namespace {

// A distance below this counts as inside a plane, so that a box lying in one is kept.
constexpr double PLANE_TOLERANCE = 1e-3;

Vector3 CellCentre(double x, double y, double z) {
    return {x + 0.5, y + 0.5, z + 0.5};
}

} // namespace

bool BoxInFrustum(const double planes[6][4], const Vector3* minimum, const Vector3* maximum) {
    for (int i = 0; i < 6; i++) {
        const double* p = planes[i];
        double length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        if (!(length > 0))
            continue;
        // The corner furthest along the plane's normal decides: when even it is outside, all
        // eight are.
        double x = p[0] >= 0 ? maximum->x : minimum->x;
        double y = p[1] >= 0 ? maximum->y : minimum->y;
        double z = p[2] >= 0 ? maximum->z : minimum->z;
        if ((p[0] * x + p[1] * y + p[2] * z + p[3]) / length < -PLANE_TOLERANCE)
            return false;
    }
    return true;
}

bool BoxDrawn(const WorldView* view, const WorldBox* box) {
    if (box->translucent)
        return view->inRevealSphere(&box->minimum, box->minimum.z);
    return view->frustumPlanes == nullptr ||
           BoxInFrustum(view->frustumPlanes, &box->minimum, &box->maximum);
}

bool BoxTextured(const WorldBox* box) {
    return box->texture[0] != '\0';
}

const char* BoxTexture(const WorldBox* box) {
    if (!BoxTextured(box) || std::strcmp(box->texture, "none") == 0)
        return nullptr;
    return box->texture;
}

bool RobotDrawn(const WorldView* view, const Robot* robot) {
    if (robot == nullptr)
        return false;
    const bool local = robot->uid == view->localRobotUid;
    if (local && view->firstPerson)
        return false;
    if (robot->skillFlag && !local) {
        Vector3 cell = {static_cast<double>(robot->cell.x), static_cast<double>(robot->cell.y),
                        static_cast<double>(robot->cell.z)};
        if (!view->inRevealSphere(&cell, cell.z))
            return false;
    }
    Vector3 centre = CellCentre(robot->position.x, robot->position.y, robot->position.z);
    return view->cubeInFrustum(&centre);
}

ChestLook ChestLookFor(const WorldView* view, const Chest* chest) {
    ChestLook look = {false, chest->style != 0,
                      chest->opened ? CHEST_OPEN_LID_LIST : CHEST_CLOSED_LID_LIST};
    Vector3 corner = {static_cast<double>(chest->x), static_cast<double>(chest->y),
                      static_cast<double>(chest->z)};
    Vector3 centre = CellCentre(corner.x, corner.y, corner.z);
    look.drawn =
        view->cubeInFrustum(&centre) && (!look.ghost || view->inRevealSphere(&corner, corner.z));
    return look;
}

const char* ChestTexture(int texturesOn) {
    return texturesOn ? "images\\copper.rgb" : nullptr;
}

bool EnergonDrawn(const WorldView* view, const Energon* energon) {
    if (energon->stage <= 1 || energon->stage >= ENERGON_STAGE_LISTS)
        return false;
    Vector3 centre = CellCentre(energon->x, energon->y, energon->z);
    return view->cubeInFrustum(&centre);
}
