// The real game window under Xvfb: title, size, the cleared scene, frustum culling from the
// camera that DrawScene sets up, and the timer tick that re-arms itself.
#include "core/game.h"
#include "core/mainloop.h"
#include "core/draw/scenedraw.h"
#include "core/draw/window.h"
#include "support/test_support.h"
#include "support/window_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

namespace {

class WindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        OpenTestWindow();
        InitCamera();
        Reshape(640, 480);
    }
    void SetUp() override { ResetCamera(); }
};

TEST_F(WindowTest, OpensTheTitledWindowOfSixFortyByFourEightyClearedBlackOrFogGrey) {
    std::string info;
    if (FILE* p = popen("xwininfo -name 'Vantrell IV' 2>&1", "r")) {
        for (char buffer[512]; std::fgets(buffer, sizeof buffer, p) != nullptr;)
            info += buffer;
        pclose(p);
    }
    EXPECT_NE(info.find("Width: 640"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 480"), std::string::npos) << info;
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawScene(nullptr, 3000);
    EXPECT_EQ(Pixel(320, 240), (std::vector<int>{0, 0, 0}));
    SetFogOn(1);
    DrawScene(nullptr, 3000);
    std::vector<int> grey = Pixel(320, 240);
    EXPECT_TRUE(std::abs(grey[0] - 128) <= 1 && grey[2] == grey[0]) << grey[0] << " " << grey[2];
}

TEST_F(WindowTest, CubesInViewAreDrawnAndCubesBehindBesideOrBeyondAreNot) {
    const Vector3 robot = {5, 5, 1};
    // First person looking along +x, then the usual view from above and behind the robot.
    const std::tuple<bool, Vector3, bool> probes[] = {
        {true, {8, 5, 1}, true},    {true, {20, 6, 1}, true},   {true, {12, 8, 3}, true},
        {true, {1, 5, 1}, false},   {true, {5, 12, 1}, false},  {true, {5, -2, 1}, false},
        {true, {40, 5, 1}, false},  {true, {10, 14, 1}, false}, {false, {5, 5, 1}, true},
        {false, {-8, -8, 1}, false}};
    for (const auto& [firstPerson, cube, drawn] : probes) {
        ResetCamera();
        SetFirstPerson(firstPerson);
        FollowFacing(&robot, 0);
        DrawSceneFrom(&robot);
        EXPECT_EQ(gCamera->frustumDirty, 0);
        EXPECT_EQ(CubeInFrustum(&cube), drawn) << cube.x << " " << cube.y << " " << cube.z;
    }
}

TEST_F(WindowTest, TheTimerTickReArmsItself) {
    long before = gTickCount;
    StartTimer();
    EXPECT_TRUE(WaitFor([&] {
        glutMainLoopEvent();
        return gTickCount >= before + 3;
    }));
}

} // namespace
