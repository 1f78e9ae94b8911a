// gamesend: the builders of the game's packets. Each fills one layout and sends it on the
// current channel.
#pragma once

#include <cstdint>

struct Energon;
struct Chest;

// A new energon deposit, for the other copies.
int SendEnergon(const Energon* energon);
// The chest at its cell was opened; chestIndex is its place in the world's chest list.
int SendChestOpened(int chestIndex, const Chest* chest);
// The robot leaves the game.
int SendRobotLeft(int32_t uid);
