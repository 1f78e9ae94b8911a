// animationsdraw: what the effects look like.
//
// InitAnimations gives the effects (animations.h) and the Hover's gesture their draw routines;
// a process that calls it draws them, one that does not (the enemy server) only steps them.
// The effects' display lists (the plasma beams, the star and balls spirals, the shield dome)
// are recorded on the first frame that draws an effect, with the textures loaded before.
#pragma once

void InitAnimations();
// Records the effect lists now (InitAnimations leaves them to the first frame); needs a GL
// context. Calling it again does nothing.
void RecordAnimationLists();
