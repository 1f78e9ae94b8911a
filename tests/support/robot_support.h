// A fixture for the robots' tests: the shipped definitions, a small world read from text, the
// camera, the sound service (its last effect tells what played), and every packet the code under
// test sends captured instead of sent.
#pragma once

#include "core/game.h"
#include "core/mainloop.h"
#include "core/outbound.h"
#include "net/packets.h"
#include "robots/robot.h"
#include "sound/sound.h"
#include "support/world_support.h"
#include "world/gamehooks.h"

#include <cstdint>
#include <cstring>
#include <tuple>
#include <vector>

// A 12 x 12 deck at height 1 (robots walk at height 2) with a cube at (5, 2), a teleporter
// between (2, 9) and (5, 9), player 0's safe zone around (9, 2), player 1's around (9, 9) and
// a chest holding a repair kit at (2, 5).
inline const char* kRobotWorld = "size:\n12 12\n"
                                 "walls:\n0 0 1:11 11 1 \"none\"\n"
                                 "cubes:\n5 2 2\n"
                                 "teleporters:\n2 9 2:5 9 2\n"
                                 "safe zones:\n0 9 2 2\n1 9 9 2\n"
                                 "chests:\n7000 2 5 2 0\n";

class RobotTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        Captured([] { LoadRegistry(gRegistry); });
        world_ = Load(kRobotWorld);
        gWorld = world_;
        gPlayerRobot = nullptr;
        gLocalRobotUid = 0;
        InitCamera();
        InitSound();
        sent().clear();
        savedSender_ = SetPacketSender(Capture);
        InstallGameHooks();
    }
    void TearDown() override {
        SetPacketSender(savedSender_);
        gHooks = SilentHooks();
        FreeCamera();
        ShutdownSound();
        gWorld = nullptr;
        gPlayerRobot = nullptr;
        gLocalRobotUid = 0;
        Captured([&] { // freeing an inventory lists what it held
            for (Robot* r : robots_)
                FreeRobot(r);
        });
        WorldTest::TearDown();
    }

    // A robot of the class with that index; every robot is registered, as the game does.
    Robot* Make(int index, bool local, int classUid = 4002) {
        Robot* r = NewRobot(LookupRobotClass(gRegistry, classUid), index, local ? 1 : 0);
        if (!local)
            RegisterRobot(gRegistry, r, r->uid);
        robots_.push_back(r);
        return r;
    }

    // Places the robot in the world (its slot) and then stands it on (x, y, 2) facing facing.
    Robot* Put(Robot* r, int x, int y, int facing = 0) {
        Captured([&] { PlaceRobotInWorld(r, world_->uid); });
        r->cell = {x, y, 2};
        r->position = {static_cast<double>(x), static_cast<double>(y), 2.0};
        r->facing = facing;
        r->stats.energy = 100;
        return r;
    }

    // Ticks the robot until it has no move left (at most limit ticks); returns the count.
    int TicksUntilIdle(Robot* r, int limit = 50) {
        int ticks = 0;
        do {
            RobotUpdate(r);
            ticks++;
        } while ((r->currentMove != 0 || PeekMove(r) != 0) && ticks < limit);
        return ticks;
    }

    int At(int x, int y) { return Content(world_, x, y, 2); }
    Robot* RobotAt(int x, int y) {
        Location loc = {x, y, 2};
        return GetRobotAt(world_, &loc);
    }
    using Triple = std::tuple<int, int, int>;
    static Triple Cell(int x, int y, int z) { return {x, y, z}; }
    static Triple CellOf(const Location& l) { return {l.x, l.y, l.z}; }

    // A state packet as another copy sends it, at height 2.
    static RobotStatePacket State(double x, double y, int facing, int32_t move, double speed,
                                  int16_t flags = 0) {
        RobotStatePacket p = {};
        p.x = x;
        p.y = y;
        p.z = 2.0;
        p.facing = static_cast<int16_t>(facing);
        p.move = move;
        p.speed = speed;
        p.flags = flags;
        return p;
    }

    static std::vector<std::vector<uint8_t>>& sent() {
        static std::vector<std::vector<uint8_t>> packets;
        return packets;
    }
    static int Capture(const void* buffer, size_t length) {
        const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
        sent().emplace_back(bytes, bytes + length);
        return 0;
    }
    // The state packets captured so far, decoded.
    static std::vector<RobotStatePacket> SentStates() {
        std::vector<RobotStatePacket> states;
        for (const auto& p : sent()) {
            RobotStatePacket s;
            if (DecodeRobotState(p.data(), p.size(), &s))
                states.push_back(s);
        }
        return states;
    }

    World* world_ = nullptr;
    std::vector<Robot*> robots_;
    PacketSender savedSender_ = nullptr;
};
