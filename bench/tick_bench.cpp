// The game's clock and its network path: one 100 ms tick of bigworld with four robots and the
// host's deposits, and a robot-state packet from the monitor thread's inbox to the handler.
// The tick has 100 ms; these show how little of it the game uses.
#include "core/inbound.h"
#include "core/mainloop.h"
#include "core/outbound.h"
#include "data/registry.h"
#include "net/network.h"
#include "net/packets.h"
#include "robots/robot.h"
#include "world/energon.h"
#include "world/world.h"
#include "world/worldfile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int Discard(const void*, size_t) {
    return 0;
}

// bigworld as a host has it: its robot, three others and 50 deposits; nothing leaves the
// process.
void SetUpGame() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // The game's start-up messages would bury the results: they go nowhere while it loads.
    std::fflush(stdout);
    int saved = dup(fileno(stdout));
    int null = open("/dev/null", O_WRONLY);
    dup2(null, fileno(stdout));
    SetPacketSender(Discard);
    InstallGameHooks();
    InitRegistry();
    gWorld = LoadWorld("worlds\\bigworld.txt");
    SetEnergonIdRange(gWorld, 0);
    CreatePlayer("Bench", 0, 4002);
    PlaceRobotInWorld(gPlayerRobot, gWorld->uid);
    for (int i = 1; i < 4; i++) {
        Robot* r = NewRobot(LookupRobotClass(gRegistry, 4000 + i % 3), i, 0);
        RegisterRobot(gRegistry, r, r->uid);
        PlaceRobotInWorld(r, gWorld->uid);
    }
    for (int i = 0; i < INITIAL_ENERGON; i++)
        GenerateEnergon(gWorld, true);
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(null);
    close(saved);
}

TimeStamp Now() {
    return GetTimeStamp();
}

void BM_GameTick(benchmark::State& state) {
    SetUpGame();
    for (auto _ : state) {
        // The player walks in circles so that moves, turns and the keep-alive all happen.
        if (PeekMove(gPlayerRobot) == 0 && gPlayerRobot->currentMove == 0) {
            QueueMove(gPlayerRobot, MOVE_FORWARD);
            QueueMove(gPlayerRobot, 2);
        }
        benchmark::DoNotOptimize(RunGameTick(Now));
    }
}
BENCHMARK(BM_GameTick);

void BM_StatePacketThroughTheInbox(benchmark::State& state) {
    SetUpGame();
    RobotStatePacket p = {};
    p.uid = 3002;
    p.x = 10;
    p.y = 10;
    p.z = 2;
    p.speed = 0.5;
    p.classUid = 4002;
    uint8_t buffer[ROBOT_STATE_PACKET_SIZE];
    for (auto _ : state) {
        p.sequence++;
        p.facing = static_cast<int16_t>((p.facing + 45) % 360);
        EncodeRobotState(&p, buffer);
        GameInbox().Offer(buffer, sizeof buffer);
        benchmark::DoNotOptimize(PumpPackets());
    }
}
BENCHMARK(BM_StatePacketThroughTheInbox);

} // namespace
