// The camera as the scene reads it: the view from a robot, the sonar's reveal sphere and which
// cubes the frustum lets through.
#include "core/game.h"
#include "support/test_support.h"

#include <array>
#include <cmath>

namespace {

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override { InitCamera(); }
    void TearDown() override { FreeCamera(); }
};

// The eye and the point looked at from a robot at (3, 4, 1), both through its cell's centre.
void ExpectView(std::array<double, 6> expected) {
    Vector3 robot = {3, 4, 1}, eye, centre;
    ComputeLookAt(&robot, &eye, &centre);
    const double got[6] = {eye.x, eye.y, eye.z, centre.x, centre.y, centre.z};
    for (int i = 0; i < 6; i++)
        EXPECT_NEAR(got[i], expected[i], 1e-6) << "coordinate " << i;
}

TEST_F(GameTest, TheViewTurnsWithTheRobotOnlyInFirstPersonAndResetsWhole) {
    Vector3 robot = {3, 4, 1}, offset = {1, 2, 3}, centre = {5, 5, 1}, p = {5, 6, 0};
    const std::array<double, 6> above = {1.5, 2.5, 8.5, 2.5, 3.5, 1.5};
    FollowFacing(&robot, 90);
    ExpectView(above); // third person: untouched
    SetFirstPerson(1);
    FollowFacing(&robot, 90);
    ExpectView({3.5, 4.5, 1.5, 3.5, 12.5, 1.5});
    FollowFacing(&robot, 225);
    ExpectView({3.5, 4.5, 1.5, 3.5 - std::sqrt(32), 4.5 - std::sqrt(32), 1.5});
    gCamera->frustumDirty = 0;
    SetEyeOffset(&offset);
    SetFogOn(1);
    SetTexturesOn(0);
    SetRevealSphere(&centre, 1.5);
    EXPECT_EQ(std::make_tuple(gCamera->frustumDirty, InRevealSphere(&p, 1), InRevealSphere(&p, 3)),
              std::make_tuple(1, true, false));
    ResetCamera();
    ExpectView(above);
    EXPECT_EQ(std::make_tuple(GetFogOn(), GetTexturesOn(), GetFirstPerson(), InRevealSphere(&p, 1)),
              std::make_tuple(0, 1, 0, false));
}

// A frustum as GL unprojects it, looking down -z with a right angle of view: the near face at
// z = -1 reaches 1 to each side, the far face at z = -21 reaches 21.
TEST_F(GameTest, ACubeIsDrawnUnlessAllItsCornersLieOutsideOnePlane) {
    Vector3 c[8];
    for (int i = 0; i < 8; i++) {
        double z = i < 4 ? -1 : -21;
        c[i] = {(i & 1 ? 1 : -1) * -z, (i & 2 ? 1 : -1) * -z, z};
    }
    SetFrustumFromCorners(c);
    const std::tuple<double, double, double, bool> probes[] = {
        {0, 0, -10, true},     {8, 0, -10, true},   {-8, 7, -10, true},   {7, 7, -8, true},
        {0, -10.4, -10, true}, {0, 0, -21.4, true}, {0, 0, -0.6, true},   {12, 0, -10, false},
        {0, -12, -10, false},  {-9, -9, -6, false}, {7, 7, -5, false},    {0, 0, -30, false},
        {0, 0, 2, false},      {0, 0, -0.2, false}, {-20, 20, -25, false}};
    for (const auto& [x, y, z, in] : probes) {
        Vector3 at = {x, y, z};
        EXPECT_EQ(CubeInFrustum(&at), in) << x << " " << y << " " << z;
    }
    // A corner counts as inside while the plane's value, truncated toward zero, is not negative:
    // with the plane x >= 0 at unit scale a corner at -0.7 is in, one at -1 out.
    for (int i = 0; i < 6; i++)
        for (int k = 0; k < 4; k++)
            gCamera->frustumPlanes[i][k] = i == 1 ? k == 0 : k == 3;
    const std::pair<double, bool> edge[] = {{-1.2, true}, {-1.5, false}};
    for (const auto& [x, in] : edge) {
        Vector3 at = {x, 0, 0};
        EXPECT_EQ(CubeInFrustum(&at), in) << x;
    }
}

} // namespace
