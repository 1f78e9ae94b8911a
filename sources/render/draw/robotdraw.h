// robotdraw: a robot drawn with its model, and the Hover's skill sphere.
//
// The world's drawing sets the robot's slot colour, moves to the centre of the robot's cell and
// turns to its heading; DrawRobot then draws the model of its class there: the normal set, or
// the translucent red set while the robot is invisible (skillFlag), cut by the teleport's clip
// plane while it is set. The model's display lists are recorded the first time the robot is
// drawn and again after a gesture has moved a joint. A robot of a class with no model is a
// plain box in the current material.
#pragma once

struct Robot;

void DrawRobot(Robot* robot);
// The draw routine of the Hover's skill gesture (its data is the gesture's ModelAction).
void DrawHoverGesture(void* gesture);
