// slotcolors: the colour of a robot by its slot, shared by the world's drawing and the models.
//
// Slots 0 to 3 are the players' and take their safe zone's colour; the enemy server's robots
// (slot 4 and up) are gunmetal.
#pragma once

// Ambient and diffuse, and specular: four floats each.
const float* RobotSlotColor(int slot);
const float* RobotSlotSpecular(int slot);
constexpr float ROBOT_SHININESS = 50.0f;
