// outbound: what this copy tells the others, and the game's hooks filled for a playing copy.
//
// The packet builders read robots and deposits, fill one layout in a local buffer and hand it
// to the sender: NetSend on the current game channel, unless a test put another in its place.
// InstallGameHooks puts them, and what the animations, the menus and the camera do with a
// robot's effects, into the table the world and the robots call (world/gamehooks.h).
//
// Who may send for a robot: a copy speaks only for the robots it drives. A state packet goes
// out for the local player's robot and for the enemy server's robots (index 4 and up); every
// other packet about a robot goes out for the local player's robot, or for any robot when this
// copy is the enemy server. A packet that goes out for a robot carries the robot's sequence
// number, which then grows by one. The end of a battle and the prize carry none.
#pragma once

#include <cstddef>
#include <cstdint>

struct Chest;

using PacketSender = int (*)(const void* buffer, size_t length);
// Replaces the sender and returns the one before; null puts NetSend back.
PacketSender SetPacketSender(PacketSender sender);

// Fills gHooks for this copy: the packet builders, and the effects as they show until the
// animations and the menus join (a teleport finishes at once, a wall, smoke and a sonar pulse
// are a line on the console, a message is printed).
void InstallGameHooks();

// The chest at its cell was opened; chestIndex is its place in the world's chest list.
int SendChestOpened(int chestIndex, const Chest* chest);
// The robot leaves the game.
int SendRobotLeft(int32_t uid);
