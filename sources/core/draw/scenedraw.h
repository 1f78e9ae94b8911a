// scenedraw: the 3-D scene of every frame: fog, lights, the view from the viewed robot and the
// frustum planes that world drawing tests cubes against.
#pragma once

#include "foundation/utilities.h"

struct World;

// Draws the frame's scene as seen from the robot robotUid of world: the world's boxes, robots,
// chests and energon. With no such robot only the cleared background is drawn.
void DrawScene(World* world, int robotUid);
// The frame without the world: background, lights and camera from a known robot position
// (null: no robot, background only).
void DrawSceneFrom(const Vector3* robotPosition);
// Recomputes the frustum planes from the current matrices and viewport.
void UpdateFrustumPlanes();
