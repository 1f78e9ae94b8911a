// gamesend: the builders of the game's packets. Each fills one layout in a local buffer and
// hands it to the sender: NetSend on the current game channel, unless a test put another in
// its place.
//
// Who may send for a robot: a copy speaks only for the robots it drives. A state packet goes
// out for the local player's robot (uid gLocalRobotUid) and for the enemy server's robots
// (index 4 and up); every other packet about a robot goes out for the local player's robot, or
// for any robot when this copy is the enemy server (gLocalRobotUid -1). A packet that goes out
// for a robot carries the robot's sequence number, which then grows by one.
#pragma once

#include "data/stats.h"
#include "foundation/utilities.h"

#include <cstddef>
#include <cstdint>

struct Energon;
struct Chest;
struct Robot;

using PacketSender = int (*)(const void* buffer, size_t length);
// Replaces the sender and returns the one before; null puts NetSend back.
PacketSender SetPacketSender(PacketSender sender);

// A new energon deposit, for the other copies.
int SendEnergon(const Energon* energon);
// The chest at its cell was opened; chestIndex is its place in the world's chest list.
int SendChestOpened(int chestIndex, const Chest* chest);
// The robot leaves the game.
int SendRobotLeft(int32_t uid);

// The robot's state: position, facing, the justTeleported and skill flags, speed, the move in
// progress (or, under the robot's lock, the first one queued) and the class. The robot's
// stamp becomes now. True when the packet went to the sender.
bool SendRobotState(Robot* robot);
// A wall shot into cell by the robot facing facing degrees; true when it went to the sender.
bool SendWallAnimation(Robot* robot, const Location* cell, int facing);

// A challenge from robot to targetUid (sub-type 0), carrying robot's name and stats.
bool SendBattleChallenge(Robot* robot, int32_t targetUid);
// The challenged robot's answer to challengerUid (sub-type 1), with its own name and stats.
bool SendBattleAccept(Robot* robot, int32_t challengerUid);
// The outcome of one battle action as changes to both stats blocks.
bool SendAction(Robot* actor, const Stats* actorChange, const Stats* targetChange,
                int32_t targetUid, uint8_t flagA, uint8_t flagB);
// An effect every copy shows: the robot's animationType aimed at target, with value (a skill
// uid, or the uid an attack started with).
bool SendAnimation(Robot* robot, const Robot* target, uint32_t animationType, uint32_t value);
// The battle is over: loser lost to winnerUid.
int SendBattleOver(const Robot* loser, int32_t winnerUid);
// What the loser hands to winnerUid: a skill and an item uid, each NO_UID (-1) for none.
int SendPrize(int32_t winnerUid, uint32_t skillUid, uint32_t itemUid);
