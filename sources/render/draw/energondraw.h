// energondraw: the glowing crystals of the energon deposits.
//
// One set of 501 stage lists, shared by every deposit: list s a cone 0.0005 x s high, its base
// radius a third of that, pointing up. Each deposit records its own crystal lists the first
// time it is drawn (material and a random spot inside its cell, one list a crystal) and is
// drawn as every crystal followed by the stage list of its current stage, so its crystals grow
// and shrink together.
#pragma once

struct World;
struct WorldView;

// Records the stage lists and lets freed deposits release their crystal lists. Needs a GL
// context; the headless server never calls it.
void InitEnergonStages();
// Draws every deposit of the world that EnergonDrawn accepts.
void DrawAllEnergon(World* world, const WorldView* view);
