// The camera as the scene reads it: the view from a robot, the sonar's reveal sphere and which
// cubes the frustum lets through.
#include "core/game.h"
#include "support/test_support.h"

#include <cmath>

namespace {

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override { InitCamera(); }
    void TearDown() override { FreeCamera(); }
    // The eye and the point looked at from a robot at (3, 4, 1), both through its cell's centre.
    static std::string View() {
        Vector3 robot = {3, 4, 1}, eye, centre;
        ComputeLookAt(&robot, &eye, &centre);
        char s[96];
        std::snprintf(s, sizeof s, "%.4f %.4f %.4f > %.4f %.4f %.4f", eye.x, eye.y, eye.z, centre.x,
                      centre.y, centre.z);
        return s;
    }
    // Which of the cells at points lie in the frustum, as a string of 1 and 0.
    static std::string Inside(std::vector<Vector3> points) {
        std::string in;
        for (Vector3& at : points)
            in += CubeInFrustum(&at) ? '1' : '0';
        return in;
    }
};

TEST_F(GameTest, TheViewTurnsWithTheRobotOnlyInFirstPersonAndResetsWhole) {
    Vector3 robot = {3, 4, 1}, offset = {1, 2, 3}, centre = {5, 5, 1}, p = {5, 6, 0};
    const std::string above = "1.5000 2.5000 8.5000 > 2.5000 3.5000 1.5000";
    FollowFacing(&robot, 90);
    EXPECT_EQ(View(), above); // third person: untouched
    SetFirstPerson(1);
    FollowFacing(&robot, 90);
    EXPECT_EQ(View(), "3.5000 4.5000 1.5000 > 3.5000 12.5000 1.5000");
    FollowFacing(&robot, 225); // 4.5 - sqrt(32) along both axes
    EXPECT_EQ(View(), "3.5000 4.5000 1.5000 > -2.1569 -1.1569 1.5000");
    gCamera->frustumDirty = 0;
    SetEyeOffset(&offset);
    SetFogOn(1);
    SetTexturesOn(0);
    SetRevealSphere(&centre, 1.5);
    EXPECT_EQ(std::make_tuple(gCamera->frustumDirty, InRevealSphere(&p, 1), InRevealSphere(&p, 3)),
              std::make_tuple(1, true, false));
    ResetCamera();
    EXPECT_EQ(std::make_tuple(View(), GetFogOn(), GetTexturesOn(), GetFirstPerson(),
                              InRevealSphere(&p, 1)),
              std::make_tuple(above, 0, 1, 0, false));
}

// A frustum as GL unprojects it, looking down -z with a right angle of view: the near face at
// z = -1 reaches 1 to each side, the far face at z = -21 reaches 21. A cube is drawn unless all
// its corners lie outside one plane.
TEST_F(GameTest, ACubeIsDrawnUnlessAllItsCornersLieOutsideOnePlane) {
    Vector3 c[8];
    for (int i = 0; i < 8; i++) {
        double z = i < 4 ? -1 : -21;
        c[i] = {(i & 1 ? 1 : -1) * -z, (i & 2 ? 1 : -1) * -z, z};
    }
    SetFrustumFromCorners(c);
    std::vector<Vector3> probes = {{0, 0, -10},     {8, 0, -10},   {-8, 7, -10},  {7, 7, -8},
                                   {0, -10.4, -10}, {0, 0, -21.4}, {0, 0, -0.6},  {12, 0, -10},
                                   {0, -12, -10},   {-9, -9, -6},  {7, 7, -5},    {0, 0, -30},
                                   {0, 0, 2},       {0, 0, -0.2},  {-20, 20, -25}};
    EXPECT_EQ(Inside(probes), "111111100000000");
    // A corner counts as inside while the plane's value, truncated toward zero, is not negative:
    // with the plane x >= 0 at unit scale a corner at -0.7 is in, one at -1 out.
    for (int i = 0; i < 6; i++)
        for (int k = 0; k < 4; k++)
            gCamera->frustumPlanes[i][k] = i == 1 ? k == 0 : k == 3;
    EXPECT_EQ(Inside({{-1.2, 0, 0}, {-1.5, 0, 0}}), "10");
}

} // namespace
