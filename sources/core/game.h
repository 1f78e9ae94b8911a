// game: the game object that routes display and keys to the current mode, and the camera.
//
// Switching mode replaces three handlers. The camera holds what the scene needs besides the
// world: eye and look-at offsets relative to the viewed robot, the first-person switch, the
// light, the fog switch, the sonar's reveal sphere and the six planes of the view frustum.
// Nothing here calls GL; the scene that draws with these values lives in scenedraw.
#pragma once

#include "foundation/utilities.h"

#include <cstdint>

using DisplayHandler = void (*)();
using KeyboardHandler = void (*)(unsigned char key, int x, int y);
using SpecialHandler = void (*)(int key, int x, int y);

enum GameModeId : int32_t {
    EWanderingMode = 0,
    EBattleMode = 1,
};

struct Game {
    DisplayHandler display;
    KeyboardHandler keyboard;
    SpecialHandler special;
    int32_t modeId;
    int32_t showMiniStatus;
};

struct Camera {
    int32_t texturesOn;
    int32_t fogOn;
    int32_t firstPerson;
    float lightPosition[4];
    float lightDiffuse[4];
    Vector3 eyeOffset;
    Vector3 lookOffset;
    Vector3 revealCentre;
    double revealRadius;
    double frustumPlanes[6][4];
    int32_t frustumDirty;
};

// The standard offsets that the camera fly-to keys return to.
extern const Vector3 DEFAULT_EYE_OFFSET;
extern const Vector3 DEFAULT_LOOK_OFFSET;

extern Game* gGame;
extern Camera* gCamera;

// Game object.
Game* NewGame();
void FreeGame(Game* game);
// The modules that own each mode's handlers register them once at start-up.
void RegisterGameModeHandlers(int mode, DisplayHandler display, KeyboardHandler keyboard,
                              SpecialHandler special);
void InitGameMode(Game* game);
void SetGameMode(Game* game, int ignored, int mode);

// Camera.
void InitCamera();
void ResetCamera();
void FreeCamera();
int GetTexturesOn();
void SetTexturesOn(int on);
int GetFogOn();
void SetFogOn(int on);
int GetFirstPerson();
void SetFirstPerson(int on);
Vector3* GetEyeOffset();
Vector3* GetLookOffset();
float* GetLightPosition();
float* GetLightDiffuse();
Vector3* GetRevealCentre();
double* GetRevealRadius();
void SetEyeOffset(const Vector3* v);
void SetLookOffset(const Vector3* v);
void FollowFacing(const Vector3* position, int facingDegrees);
void MarkFrustumDirty();
void SetRevealSphere(const Vector3* centre, double radius);
void ClearRevealSphere();
bool InRevealSphere(const Vector3* p, double z);

// The eye and look-at point from which a robot at robotPosition is viewed: the position plus
// the camera offsets plus half a cell, so the view rests on the centre of the robot's cell.
void ComputeLookAt(const Vector3* robotPosition, Vector3* eye, Vector3* centre);
// Fills the frustum planes from the eight unprojected window corners (near 0-3, far 4-7).
void SetFrustumFromCorners(const Vector3 corners[8]);
// False only when every corner of the unit cube at position lies outside some plane.
bool CubeInFrustum(const Vector3* position);
