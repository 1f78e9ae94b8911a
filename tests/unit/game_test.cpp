#include "core/game.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void WanderDisplay() {}
void WanderKeys(unsigned char, int, int) {}
void WanderSpecial(int, int, int) {}
void BattleDisplay() {}
void BattleKeys(unsigned char, int, int) {}
void BattleSpecial(int, int, int) {}

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterGameModeHandlers(EWanderingMode, WanderDisplay, WanderKeys, WanderSpecial);
        RegisterGameModeHandlers(EBattleMode, BattleDisplay, BattleKeys, BattleSpecial);
        InitCamera();
    }
    void TearDown() override { FreeCamera(); }
};

TEST_F(GameTest, ModesSwapTheHandlersAndLeaveTheMiniStatusAlone) {
    Game* game = NewGame();
    EXPECT_EQ(game->display, nullptr);
    EXPECT_EQ(game->showMiniStatus, 0);
    InitGameMode(game);
    EXPECT_EQ(game->display, WanderDisplay);
    EXPECT_EQ(game->modeId, 0);
    game->showMiniStatus = 1;
    SetGameMode(game, 0, 1);
    EXPECT_EQ(game->display, BattleDisplay);
    EXPECT_EQ(game->keyboard, BattleKeys);
    EXPECT_EQ(game->special, BattleSpecial);
    EXPECT_EQ(game->modeId, 1);
    EXPECT_EQ(game->showMiniStatus, 1);
    SetGameMode(game, 1, 0);
    EXPECT_EQ(game->keyboard, WanderKeys);
    EXPECT_EQ(game->modeId, 0);
    EXPECT_EQ(game->showMiniStatus, 1);
    EXPECT_DEATH(SetGameMode(game, 0, 2), "mode == EWanderingMode");
    FreeGame(game);
}

TEST_F(GameTest, ResetCameraUndoesTheSwitchesAndOffsets) {
    SetFogOn(1);
    SetTexturesOn(0);
    gCamera->frustumDirty = 0;
    Vector3 eye = {1, 2, 3};
    SetEyeOffset(&eye);
    EXPECT_EQ(gCamera->frustumDirty, 1);
    EXPECT_EQ(GetEyeOffset()->y, 2);
    ResetCamera();
    EXPECT_EQ(GetFogOn(), 0);
    EXPECT_EQ(GetTexturesOn(), 1);
    EXPECT_EQ(GetEyeOffset()->x, -2);
    EXPECT_EQ(GetEyeOffset()->y, -2);
}

TEST_F(GameTest, LookAtFromARobotAtThreeFourOne) {
    Vector3 robot = {3, 4, 1}, eye, centre;
    ComputeLookAt(&robot, &eye, &centre);
    EXPECT_DOUBLE_EQ(eye.x, 1.5);
    EXPECT_DOUBLE_EQ(eye.y, 2.5);
    EXPECT_DOUBLE_EQ(eye.z, 8.5);
    EXPECT_DOUBLE_EQ(centre.x, 2.5);
    EXPECT_DOUBLE_EQ(centre.y, 3.5);
    EXPECT_DOUBLE_EQ(centre.z, 1.5);
}

TEST_F(GameTest, FollowFacingOnlyInFirstPersonAndTheRevealSphere) {
    Vector3 robot = {3, 4, 1};
    FollowFacing(&robot, 90);
    EXPECT_EQ(GetEyeOffset()->x, -2); // third person: untouched
    SetFirstPerson(1);
    FollowFacing(&robot, 90);
    EXPECT_EQ(GetEyeOffset()->x, 0);
    EXPECT_EQ(GetEyeOffset()->z, 0);
    EXPECT_NEAR(GetLookOffset()->x, 0, 1e-6);
    EXPECT_NEAR(GetLookOffset()->y, 8, 1e-6);
    FollowFacing(&robot, 225);
    EXPECT_NEAR(GetLookOffset()->x, -8 * std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(GetLookOffset()->y, -8 * std::sqrt(0.5), 1e-6);

    Vector3 centre = {5, 5, 1}, p = {5, 6, 0};
    EXPECT_FALSE(InRevealSphere(&p, 1));
    SetRevealSphere(&centre, 1.5);
    EXPECT_TRUE(InRevealSphere(&p, 1));
    EXPECT_FALSE(InRevealSphere(&p, 3));
    ClearRevealSphere();
    EXPECT_FALSE(InRevealSphere(&p, 1));
}

// A box-shaped "frustum" from -10 to 10 on each axis, seen as GL sees it: looking down -z,
// corners 0-3 on the near face (z = 10), 4-7 on the far face.
void BoxFrustum() {
    Vector3 c[8];
    const double s = 10;
    for (int d = 0; d < 2; d++) {
        double z = d == 0 ? s : -s;
        c[4 * d + 0] = {-s, -s, z};
        c[4 * d + 1] = {s, -s, z};
        c[4 * d + 2] = {-s, s, z};
        c[4 * d + 3] = {s, s, z};
    }
    SetFrustumFromCorners(c);
}

TEST_F(GameTest, CubeInFrustumTestsAllCornersAgainstEveryPlane) {
    BoxFrustum();
    Vector3 inside = {0, 0, 0};
    EXPECT_TRUE(CubeInFrustum(&inside));
    Vector3 straddling = {10.2, 0, 0};
    EXPECT_TRUE(CubeInFrustum(&straddling));
    Vector3 outside = {12, 0, 0}, below = {0, -13, 0}, far = {0, 0, -30};
    EXPECT_FALSE(CubeInFrustum(&outside));
    EXPECT_FALSE(CubeInFrustum(&below));
    EXPECT_FALSE(CubeInFrustum(&far));
}

TEST_F(GameTest, ACornerJustOutsideStillCountsAsInside) {
    // One plane x >= 0 scaled so that the value is the distance: a corner at x = -0.7 gives -0.7,
    // which truncates to 0 and counts as inside.
    for (int i = 0; i < 6; i++) {
        gCamera->frustumPlanes[i][0] = 0;
        gCamera->frustumPlanes[i][1] = 0;
        gCamera->frustumPlanes[i][2] = 0;
        gCamera->frustumPlanes[i][3] = 1;
    }
    gCamera->frustumPlanes[1][0] = 1;
    gCamera->frustumPlanes[1][3] = 0;
    Vector3 cube = {-1.2, 0, 0}; // corners at x = -1.7 and -0.7
    EXPECT_TRUE(CubeInFrustum(&cube));
    cube.x = -1.6; // corners at x = -2.1 and -1.1
    EXPECT_FALSE(CubeInFrustum(&cube));
}

} // namespace
