// chestdraw: the treasure chests: a box base and a half-cylinder lid, closed or standing open.
//
// Two sets of three display lists (base, closed lid, open lid) are recorded once: the normal
// set in yellow, textured with copper when textures are on at start-up, and the ghost set in
// translucent red for hidden chests, which show only inside the sonar's reveal sphere. A chest
// stands in its cell, 0.5 wide along x and 0.7 long along y.
#pragma once

struct Chest;
struct WorldView;

// Records both sets; the normal one textured when texturesOn. Needs a GL context.
void InitChestModel(int texturesOn);
// Draws the chest as ChestLookFor decides (nothing when it is not to be seen).
void DrawChest(const Chest* chest, const WorldView* view);
