// The real game window under Xvfb: title, size, the cleared scene and frustum culling from the
// camera that DrawScene sets up.
#include "core/game.h"
#include "core/mainloop.h"
#include "core/draw/scenedraw.h"
#include "core/draw/window.h"
#include "support/window_support.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

std::string RunCommand(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr)
        return out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, p) != nullptr)
        out += buffer;
    pclose(p);
    return out;
}

class WindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        OpenTestWindow();
        InitCamera();
        Reshape(640, 480);
    }
    void SetUp() override { ResetCamera(); }
};

TEST_F(WindowTest, OpensTheTitledWindowOfSixFortyByFourEighty) {
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 480);
    std::string info = RunCommand("xwininfo -name 'Vantrell IV' 2>&1");
    EXPECT_NE(info.find("Width: 640"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 480"), std::string::npos) << info;
}

TEST_F(WindowTest, ASceneWithoutItsRobotIsTheClearedBackground) {
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawScene(nullptr, 3000);
    unsigned char pixel[3] = {9, 9, 9};
    glReadPixels(320, 240, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(pixel[2], 0);
    SetFogOn(1);
    DrawScene(nullptr, 3000);
    glReadPixels(320, 240, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    EXPECT_NEAR(pixel[0], 128, 1);
    EXPECT_NEAR(pixel[2], 128, 1);
}

TEST_F(WindowTest, CubesInFrontAreDrawnAndCubesBehindOrBesideAreNot) {
    // First person from (5, 5, 1) looking along +x.
    SetFirstPerson(1);
    Vector3 robot = {5, 5, 1};
    FollowFacing(&robot, 0);
    MarkFrustumDirty();
    DrawSceneFrom(&robot);
    EXPECT_EQ(gCamera->frustumDirty, 0);
    Vector3 ahead = {8, 5, 1}, farAhead = {20, 6, 1}, behind = {1, 5, 1};
    Vector3 left = {5, 12, 1}, right = {5, -2, 1}, beyondFar = {40, 5, 1};
    EXPECT_TRUE(CubeInFrustum(&ahead));
    EXPECT_TRUE(CubeInFrustum(&farAhead));
    EXPECT_FALSE(CubeInFrustum(&behind));
    EXPECT_FALSE(CubeInFrustum(&left));
    EXPECT_FALSE(CubeInFrustum(&right));
    EXPECT_FALSE(CubeInFrustum(&beyondFar));

    // The usual view from above and behind the robot sees the robot's own cell.
    ResetCamera();
    DrawSceneFrom(&robot);
    Vector3 own = {5, 5, 1}, wayBehind = {-8, -8, 1};
    EXPECT_TRUE(CubeInFrustum(&own));
    EXPECT_FALSE(CubeInFrustum(&wayBehind));
}

TEST_F(WindowTest, TheTimerKeepsTicking) {
    // The tick re-arms itself: over a second of the GLUT loop it runs again and again.
    long before = gTickCount;
    StartTimer();
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1050);
    while (std::chrono::steady_clock::now() < end)
        glutMainLoopEvent();
    long ticks = gTickCount - before;
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 12);
}

} // namespace
