// worlddraw: the world on screen: its boxes, the safe-zone markers, the robots and the chests,
// then the energon.
//
// Everything solid (floor, walls, cubes, teleporter and safe-zone pads) is a box of one
// material, recorded into a display list of its own the first time it is drawn, so that the
// headless server, which loads the same world, never records anything. Each safe zone gets an
// eight-sided cone in its colour in the middle of its home cell. Robots and chests are placed
// from their live state every frame.
//
// Until the robot models arrive a robot is drawn as a plain box in its slot's colour, with a
// bump on its front that shows where it faces.
#pragma once

struct World;
struct WorldView;

// The GL start-up of the world's drawing, once the window exists: GL utilities, depth test and
// the light model, the energon stage lists and the chest lists (textured when texturesOn).
void InitWorldDrawing(int texturesOn);

// The three passes of a frame, in this order, then DrawAllEnergon.
void DrawWorldBoxes(World* world, const WorldView* view);
void DrawWorldRobots(World* world, const WorldView* view);
void DrawWorldChests(World* world, const WorldView* view);
// All four.
void DrawWorld(World* world, const WorldView* view);
