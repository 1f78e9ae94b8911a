// wander: game mode 0, the player's robot walking the world.
//
// Every key goes to the menus first (normal and special keys in one code space); what they do
// not take steers the robot. Enter opens the chest in front or challenges the robot in front,
// space drops the queued moves, 'm' and 'x' switch music and sound effects, 'q' quits, 's'
// sends a sonar pulse and 'w' raises a wall in front. The arrow keys queue turns and steps and
// tell the other copies at once, F1 opens the main menu, F9 shows or hides the mini status and
// F11 and F12 fly the camera behind the robot or into it. The keys call no GL: a redraw is
// asked for through gMenuRedisplay; the display lives in core/draw/wanderdraw.cpp.
#pragma once

constexpr int WANDER_KEY_ENTER = 13;
constexpr int WANDER_KEY_F1 = 1;
constexpr int WANDER_KEY_F9 = 9;
constexpr int WANDER_KEY_F11 = 11;
constexpr int WANDER_KEY_F12 = 12;
constexpr int WANDER_KEY_LEFT = 100;
constexpr int WANDER_KEY_UP = 101;
constexpr int WANDER_KEY_RIGHT = 102;
constexpr int WANDER_KEY_DOWN = 103;
// The strength of the wall the 'w' key raises.
constexpr int WANDER_WALL_STRENGTH = 20;
constexpr int CAMERA_FLIGHT_TICKS = 8;

void WanderKeyboard(unsigned char key, int x, int y);
void WanderSpecialKeys(int key, int x, int y);
void WanderDisplay();
// The wandering picture in the back buffer, without showing it (core/draw/wanderdraw.cpp).
void DrawWanderFrame();
// Enter in front of a closed chest: it opens for this robot and, through its packet, on every
// copy. False when no closed chest stands in front.
bool OpenChestInFront();
