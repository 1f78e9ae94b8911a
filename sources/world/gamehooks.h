// gamehooks: everything the world and the robots tell the rest of the game.
//
// The world and the robots lie below the game core, the animations, the menus and the builders
// of the game's packets, and include none of them. What they set going there (a state or an
// energon deposit to send, a teleport, a wall, smoke, a sonar pulse, a message, the camera to
// follow, the packets of a battle) goes through this one table of function pointers, the way a
// game module speaks to its engine only through an import table. The playing copy fills it at
// start-up (core/outbound.cpp), the enemy server fills it too, and tests fill it with a
// recorder. Until then every entry does nothing.
//
// The table is declared here, in the world, because the world is the lowest subsystem that calls
// it (a deposit this copy makes is announced); robots stay opaque pointers for it. Sounds and
// music are no hooks: the sound service lies below the world and the robots, which call it
// directly.
#pragma once

#include "data/stats.h"
#include "foundation/utilities.h"

#include <cstdint>

struct Energon;
struct Robot;
struct World;

struct GameHooks {
    // A deposit this copy made, for the other copies.
    void (*announceEnergon)(const Energon* energon);
    // The robot's state, for the other copies: position, facing, flags, speed and move.
    void (*sendState)(Robot* robot);
    // The teleport: the robot fades out, FinishTeleport moves it to its targetCell and it fades
    // in; its move queue is cleared at both ends, and teleporting is set while it runs.
    void (*teleport)(Robot* robot, World* world);
    // A temporary wall in cell that stands holdTicks after fading in, turned by facing degrees;
    // every copy shows it.
    void (*raiseWall)(Robot* robot, World* world, const Location* cell, int holdTicks, int facing);
    // Smoke rising from the robot's cell for ticks ticks.
    void (*smoke)(Robot* robot, World* world, int ticks);
    // A dome of the colour and specular colour growing around the robot to radius over ticks
    // ticks, revealing what is hidden inside it.
    void (*sonar)(Robot* robot, const Color* color, const Color* specular, double radius,
                  int ticks);
    // A message to the player, shown with a full stop after it.
    void (*showMessage)(const char* text);
    // The robot this copy drives moved (turned: its facing changed); the camera follows.
    void (*cameraFollows)(const Robot* robot, bool turned);

    // The packets of a battle. A challenge from robot to targetUid, and the challenged robot's
    // answer to challengerUid, each with the sender's name and stats.
    void (*challenge)(Robot* robot, int32_t targetUid);
    void (*accept)(Robot* robot, int32_t challengerUid);
    // The outcome of one action as changes to both stats blocks.
    void (*action)(Robot* actor, const Stats* actorChange, const Stats* targetChange,
                   int32_t targetUid, uint8_t flagA, uint8_t flagB);
    // An effect every copy shows: the robot's animationType aimed at target (or none), with
    // value (a skill uid, or the uid an attack started with).
    void (*animation)(Robot* robot, const Robot* target, uint32_t animationType, uint32_t value);
    // The battle is over: loser lost to winnerUid; then what the loser hands over (a skill and
    // an item uid, each NO_UID for none).
    void (*battleOver)(const Robot* loser, int32_t winnerUid);
    void (*prize)(int32_t winnerUid, uint32_t skillUid, uint32_t itemUid);
    // An item used in a battle: its change to the robot's stats, already added, counts as the
    // robot's action (every copy adds it and the robot waits again). The robot's battle ends on
    // this copy with no winner (the smoke bomb).
    void (*battleItem)(Robot* robot, const Stats* change);
    void (*leaveBattle)(Robot* robot);
};

extern GameHooks gHooks;

// A table whose every entry does nothing: what gHooks holds until someone fills it.
GameHooks SilentHooks();
