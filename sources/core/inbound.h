// inbound: what this copy does with the packets the other copies send.
//
// HandlePacket runs on the thread that owns the game state (the GLUT thread of a playing copy,
// the loop of the enemy server): the monitor threads only queue checked copies on the game
// inbox, and PumpPackets drains it. Every field is checked before use; a packet that names a
// robot or chest this copy does not know is dropped with a one-line message. A robot this copy
// drives (the player's, or the enemy server's own, in the world or not) is never moved, placed
// or removed by a packet: its echoes are dropped quietly. No handler re-sends what it receives.
#pragma once

#include <cstddef>
#include <cstdint>

struct BattleStartPacket;
struct Robot;

// Dispatches one received packet by its type byte; true when the picture may have changed.
bool HandlePacket(const uint8_t* packet, size_t length);
// Handles everything queued on the game inbox; true when the picture may have changed.
bool PumpPackets();
// Installs the game inbox as the receiver of the current channel (after the lobby).
void InstallGameReceiver();

bool OnEnergon(const uint8_t* packet, size_t length);
bool OnRobotState(const uint8_t* packet, size_t length);
bool OnChestOpened(const uint8_t* packet, size_t length);
bool OnRobotLeft(const uint8_t* packet, size_t length);
bool OnAnimation(const uint8_t* packet, size_t length);
// The battle's packets. A challenge to the player's robot is answered and starts the battle
// here; the answer gives the opponent its name and stats; a battle between two other copies
// puts the shield over them. An action applies the acting copy's numbers. At the battle's end
// the local loser loses an experience point, is healed, draws the winner's prize and starts
// again at home, and the local winner gains the point; the prize reaches the winner's copy
// (an item counts once). Packets naming a robot this copy does not know are dropped.
bool OnBattleStart(const uint8_t* packet, size_t length);
bool OnAction(const uint8_t* packet, size_t length);
bool OnBattleOver(const uint8_t* packet, size_t length);
bool OnPrize(const uint8_t* packet, size_t length);
// The name and stats a battle start carries describe its sender.
void TakeNameAndStats(Robot* robot, const BattleStartPacket& p);
