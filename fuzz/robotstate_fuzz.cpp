// A robot state packet from another copy, on any bytes: decoded, applied to a remote robot
// standing in a small world with a teleporter, a cube and a safe zone, then ticked until its
// move is over. Nothing a packet says may trip an assertion or leave the grid's cells wrong.
#include "data/registry.h"
#include "net/packets.h"
#include "robots/robot.h"
#include "world/world.h"
#include "world/worldfile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char kWorld[] = "size:\n8 8\nwalls:\n0 0 1:7 7 1 \"none\"\ncubes:\n3 3 2\n"
                             "teleporters:\n1 6 2:6 6 2\nsafe zones:\n1 5 2 2\n";

// Raw bytes rarely make a usable state, so half the inputs are read as a state built from
// small choices: positions on and around the grid in quarter cells, facings in 15-degree steps
// around 0 to 359, speeds and moves from short lists of the usual and the odd.
static RobotStatePacket BuiltState(const uint8_t* data, size_t size) {
    uint8_t b[7] = {};
    std::memcpy(b, data, size < sizeof b ? size : sizeof b);
    static const double kSpeeds[] = {0.5, -0.5, 0.25, 1.0, 0.01, 0.0, 2.0, 1e-300};
    static const int32_t kMoves[] = {0, MOVE_FORWARD, MOVE_BACKWARD, 1, -1, 3, 32768, -40000};
    RobotStatePacket p = {};
    p.uid = b[0];
    p.x = b[1] / 4.0 - 2.0;
    p.y = b[2] / 4.0 - 2.0;
    p.z = b[3] % 8 - 2;
    p.facing = static_cast<int16_t>((b[4] % 26) * 15 - 15);
    p.speed = kSpeeds[b[5] % 8];
    p.move = kMoves[b[5] / 8 % 8];
    p.flags = static_cast<int16_t>(b[6] & 3);
    return p;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    RobotStatePacket packet;
    if (data[0] & 1) {
        uint8_t bytes[ROBOT_STATE_PACKET_SIZE] = {};
        std::memcpy(bytes + 1, data + 1, size - 1 < sizeof bytes - 1 ? size - 1 : sizeof bytes - 1);
        bytes[0] = ERobotStatePacket;
        if (!DecodeRobotState(bytes, sizeof bytes, &packet))
            return 0;
    } else {
        packet = BuiltState(data + 1, size - 1);
    }

    gRegistry = NewRegistry();
    World* w = NewWorld();
    FILE* f = fmemopen(const_cast<char*>(kWorld), sizeof kWorld - 1, "r");
    ReadWorldFrom(w, f, "fuzz");
    std::fclose(f);
    RobotClass* robotClass = NewRobotClass();
    robotClass->uid = 4000;
    robotClass->nWeaponSlots = 1;
    RegisterRobotClass(gRegistry, robotClass);
    // The index comes from the packet too: players teleport, computer robots keep out of zones.
    Robot* robot = NewRobot(robotClass, packet.uid % 8, 0);
    RegisterRobot(gRegistry, robot, robot->uid);
    PlaceRobotInWorld(robot, w->uid);
    if (ApplyRobotState(robot, &packet)) {
        for (int tick = 0; tick < 40 && robot->currentMove != 0; tick++)
            RobotUpdate(robot);
        // The robot stands in at most one cell, the one it is in.
        int cells = 0;
        for (int x = 0; x < w->sizeX; x++) {
            for (int y = 0; y < w->sizeY; y++) {
                for (int z = 0; z <= MAX_WORLD_HEIGHT + 1; z++) {
                    Location at = {x, y, z};
                    if (GetRobotAt(w, &at) == robot)
                        cells++;
                }
            }
        }
        if (cells > 1)
            std::abort();
    }
    FreeRobot(robot);
    FreeWorld(w);
    FreeRegistry(gRegistry);
    gRegistry = nullptr;
    return 0;
}
