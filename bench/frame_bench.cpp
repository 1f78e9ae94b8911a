// The time of a frame in the game's window: an empty frame (clear and swap) against a full
// frame of bigworld seen from the player's home, with its chests and the host's 50 energon
// deposits half a minute into their growth. Each frame is timed up to glFinish, so the
// renderer's work is in it. Run it on an X display with Mesa's software renderer, as the tests
// do:
//   scripts/xvfb-test build/dev/bench/frame_bench [FRAMES]
#include "core/draw/scenedraw.h"
#include "core/draw/window.h"
#include "core/game.h"
#include "core/mainloop.h"
#include "data/registry.h"
#include "core/outbound.h"
#include "render/draw/worlddraw.h"
#include "render/worldview.h"
#include "robots/robot.h"
#include "world/energon.h"
#include "world/world.h"
#include "world/worldfile.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

constexpr int GROWTH_TICKS = 300;

int Discard(const void*, size_t) {
    return 0;
}

// The window and the game as the host has it a minute into play; the start-up messages go
// nowhere.
void SetUpGame(int argc, char** argv) {
    std::fflush(stdout);
    int saved = dup(fileno(stdout));
    int null = open("/dev/null", O_WRONLY);
    dup2(null, fileno(stdout));
    OpenGameWindow(&argc, argv);
    InitWorldDrawing(1);
    InitGL();
    RegisterCallbacks();
    Reshape(640, 480);
    SetPacketSender(Discard);
    std::srand(1);
    InitRegistry();
    InitCamera();
    gWorld = LoadWorld("worlds\\bigworld.txt");
    SetEnergonIdRange(gWorld, 0);
    CreatePlayer("Bench", 0, DEFAULT_CLASS_UID);
    PlaceRobotInWorld(gPlayerRobot, gWorld->uid);
    for (int i = 0; i < INITIAL_ENERGON; i++)
        GenerateEnergon(gWorld, false);
    for (int tick = 0; tick < GROWTH_TICKS; tick++)
        EnergonWorldTick(gWorld);
    // The first frame records the boxes' lists and loads their textures.
    DrawScene(gWorld, gLocalRobotUid);
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(null);
    close(saved);
}

struct Figures {
    double median;
    double p99;
};

// Milliseconds of each of frames frames, after a few to warm up.
Figures TimeFrames(int frames, const std::function<void()>& draw) {
    std::vector<double> ms;
    for (int i = -10; i < frames; i++) {
        auto start = std::chrono::steady_clock::now();
        draw();
        glutSwapBuffers();
        glFinish();
        auto end = std::chrono::steady_clock::now();
        glutMainLoopEvent();
        if (i >= 0)
            ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)]};
}

// How many boxes and deposits the frame draws.
void CountInView(int* boxes, int* deposits) {
    const WorldView view = {InRevealSphere, CubeInFrustum, gCamera->frustumPlanes, 0,
                            gLocalRobotUid};
    *boxes = 0;
    for (int i = 0; i < BoxCount(gWorld); i++)
        *boxes += BoxDrawn(&view, GetWorldBox(gWorld, i));
    DArray* all = HashTableToArray(gWorld->energonTable, INITIAL_ENERGON);
    *deposits = 0;
    for (int i = 0; i < DArrayLength(all); i++)
        *deposits += EnergonDrawn(&view, *static_cast<Energon**>(DArrayNth(all, i)));
    DArrayFree(all);
}

} // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::atoi(argv[1]) : 300;
    if (frames < 10)
        frames = 10;
    SetUpGame(argc, argv);
    Figures empty = TimeFrames(frames, [] {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    });
    Figures full = TimeFrames(frames, [] { DrawScene(gWorld, gLocalRobotUid); });
    std::printf("frame_bench: %d frames each, 640 x 480, renderer %s\n", frames,
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    int boxesInView, depositsInView;
    CountInView(&boxesInView, &depositsInView);
    std::printf("bigworld from home (%d, %d, %d): %d boxes (%d in view), %d chests, %d deposits "
                "(%d in view)\n",
                gPlayerRobot->cell.x, gPlayerRobot->cell.y, gPlayerRobot->cell.z, BoxCount(gWorld),
                boxesInView, ChestCount(gWorld), gWorld->energonCount, depositsInView);
    std::printf("empty frame: median %.3f ms, p99 %.3f ms\n", empty.median, empty.p99);
    std::printf("full frame:  median %.3f ms, p99 %.3f ms\n", full.median, full.p99);
    std::printf("full / empty: median %.2fx, p99 %.2fx\n", full.median / empty.median,
                full.p99 / empty.p99);
    return 0;
}
