// game: game modes and the camera state.
#include "core/game.h"

#include "foundation/assertion.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

const Vector3 DEFAULT_EYE_OFFSET = {-2, -2, 3};
const Vector3 DEFAULT_LOOK_OFFSET = {-1, -1, 0};

Game* gGame = NULL;
Camera* gCamera = NULL;

struct ModeHandlers {
    DisplayHandler display;
    KeyboardHandler keyboard;
    SpecialHandler special;
};

static ModeHandlers gModeTable[2];

Game* NewGame() {
    return static_cast<Game*>(std::calloc(1, sizeof(Game)));
}

void FreeGame(Game* game) {
    std::free(game);
}

void RegisterGameModeHandlers(int mode, DisplayHandler display, KeyboardHandler keyboard,
                              SpecialHandler special) {
    VASSERT(mode == EWanderingMode || mode == EBattleMode);
    gModeTable[mode] = {display, keyboard, special};
}

static void InstallMode(Game* game, int mode) {
    game->display = gModeTable[mode].display;
    game->keyboard = gModeTable[mode].keyboard;
    game->special = gModeTable[mode].special;
    game->modeId = mode;
}

void InitGameMode(Game* game) {
    VASSERT(game != NULL);
    InstallMode(game, EWanderingMode);
}

void SetGameMode(Game* game, int /*ignored*/, int mode) {
    VASSERT(game != NULL);
    if (mode != EWanderingMode && mode != EBattleMode) {
        std::printf("Unknown game mode %d\n", mode);
        VASSERT(mode == EWanderingMode || mode == EBattleMode);
    }
    InstallMode(game, mode);
}

void InitCamera() {
    if (gCamera == NULL)
        gCamera = static_cast<Camera*>(std::calloc(1, sizeof(Camera)));
    VASSERT(gCamera != NULL);
    ResetCamera();
}

void ResetCamera() {
    VASSERT(gCamera != NULL);
    gCamera->texturesOn = 1;
    gCamera->fogOn = 0;
    gCamera->firstPerson = 0;
    gCamera->frustumDirty = 1;
    gCamera->eyeOffset = {-2, -2, 7};
    gCamera->lookOffset = {-1, -1, 0};
    ClearRevealSphere();
    const float position[4] = {10, 10, 10, 1};
    const float diffuse[4] = {1, 1, 1, 1};
    for (int i = 0; i < 4; i++) {
        gCamera->lightPosition[i] = position[i];
        gCamera->lightDiffuse[i] = diffuse[i];
    }
}

void FreeCamera() {
    std::free(gCamera);
    gCamera = NULL;
}

int GetTexturesOn() {
    return gCamera->texturesOn;
}
void SetTexturesOn(int on) {
    gCamera->texturesOn = on;
}
int GetFogOn() {
    return gCamera->fogOn;
}
void SetFogOn(int on) {
    gCamera->fogOn = on;
}
int GetFirstPerson() {
    return gCamera->firstPerson;
}
void SetFirstPerson(int on) {
    gCamera->firstPerson = on;
}
Vector3* GetEyeOffset() {
    return &gCamera->eyeOffset;
}
Vector3* GetLookOffset() {
    return &gCamera->lookOffset;
}
float* GetLightPosition() {
    return gCamera->lightPosition;
}
float* GetLightDiffuse() {
    return gCamera->lightDiffuse;
}
Vector3* GetRevealCentre() {
    return &gCamera->revealCentre;
}
double* GetRevealRadius() {
    return &gCamera->revealRadius;
}

void SetEyeOffset(const Vector3* v) {
    gCamera->eyeOffset = *v;
    MarkFrustumDirty();
}

void SetLookOffset(const Vector3* v) {
    gCamera->lookOffset = *v;
    MarkFrustumDirty();
}

void FollowFacing(const Vector3* /*position*/, int facingDegrees) {
    if (!gCamera->firstPerson)
        return;
    double theta = facingDegrees * DEGREES_TO_RADIANS;
    gCamera->eyeOffset = {0, 0, 0};
    gCamera->lookOffset = {8 * std::cos(theta), 8 * std::sin(theta), 0};
}

void MarkFrustumDirty() {
    gCamera->frustumDirty = 1;
}

void SetRevealSphere(const Vector3* centre, double radius) {
    gCamera->revealCentre = *centre;
    gCamera->revealRadius = radius;
}

void ClearRevealSphere() {
    gCamera->revealCentre = {0, 0, 0};
    gCamera->revealRadius = 0;
}

bool InRevealSphere(const Vector3* p, double z) {
    if (gCamera->revealRadius <= 0)
        return false;
    Vector3 q = {p->x, p->y, z};
    return Distance3D(&q, &gCamera->revealCentre) < gCamera->revealRadius;
}

void ComputeLookAt(const Vector3* robotPosition, Vector3* eye, Vector3* centre) {
    const Vector3& p = *robotPosition;
    const Vector3& e = gCamera->eyeOffset;
    const Vector3& l = gCamera->lookOffset;
    *eye = {p.x + e.x + 0.5, p.y + e.y + 0.5, p.z + e.z + 0.5};
    *centre = {p.x + l.x + 0.5, p.y + l.y + 0.5, p.z + l.z + 0.5};
}

// The plane through three points, unnormalised.
static void PlaneThrough(const Vector3& p1, const Vector3& p2, const Vector3& p3, double* plane) {
    double x1 = p1.x, y1 = p1.y, z1 = p1.z;
    double x2 = p2.x, y2 = p2.y, z2 = p2.z;
    double x3 = p3.x, y3 = p3.y, z3 = p3.z;
    plane[0] = y1 * (z2 - z3) + y2 * (z3 - z1) + y3 * (z1 - z2);
    plane[1] = z1 * (x2 - x3) + z2 * (x3 - x1) + z3 * (x1 - x2);
    plane[2] = x1 * (y2 - y3) + x2 * (y3 - y1) + x3 * (y1 - y2);
    plane[3] = -(x1 * (y2 * z3 - y3 * z2) + x2 * (y3 * z1 - y1 * z3) + x3 * (y1 * z2 - y2 * z1));
}

void SetFrustumFromCorners(const Vector3 corners[8]) {
    // near, right, far, left, top, bottom
    static const int kCorners[6][3] = {{1, 0, 2}, {5, 1, 3}, {4, 5, 7},
                                       {0, 4, 6}, {3, 2, 6}, {5, 4, 0}};
    for (int i = 0; i < 6; i++) {
        PlaneThrough(corners[kCorners[i][0]], corners[kCorners[i][1]], corners[kCorners[i][2]],
                     gCamera->frustumPlanes[i]);
    }
}

bool CubeInFrustum(const Vector3* position) {
    for (int corner = 0; corner < 8; corner++) {
        double x = position->x + ((corner & 1) ? 0.5 : -0.5);
        double y = position->y + ((corner & 2) ? 0.5 : -0.5);
        double z = position->z + ((corner & 4) ? 0.5 : -0.5);
        bool outside = false;
        for (int i = 0; i < 6 && !outside; i++) {
            const double* pl = gCamera->frustumPlanes[i];
            double value = pl[0] * x + pl[1] * y + pl[2] * z + pl[3];
            // The value truncated toward zero is negative exactly when it is -1 or less.
            if (!(value > -1.0))
                outside = true;
        }
        if (!outside)
            return true;
    }
    return false;
}
