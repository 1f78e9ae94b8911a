// The world as the player sees it, drawn by DrawScene under Xvfb: a small world seen from above
// and to the south, probed where its parts should stand. Each probe reads the colour and the
// depth of one pixel and turns the depth back into the world point the pixel shows, so a check
// says "at this spot the picture shows something 1.5 high, and it is red".
#include "core/draw/scenedraw.h"
#include "render/draw/worlddraw.h"
#include "support/robot_support.h"
#include "support/window_support.h"
#include "world/energon.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// A 12 x 12 deck at height 1 with its three northern rows left open down to the floor; at
// height 2: a cube at (3, 6), an opaque teleporter (2, 2)-(2, 8) and a glassy one (6, 2)-(6, 8),
// player 1's safe zone around (9, 4), chests at (4, 2) and (4, 4) and a hidden one at (8, 8).
const char* kDrawWorld = "size:\n12 12\n"
                         "walls:\n0 0 1:11 8 1 \"images\\deckplate.rgb\"\n"
                         "cubes:\n3 6 2\n"
                         "teleporters:\n2 2 2:2 8 2 0\n6 2 2:6 8 2\n"
                         "safe zones:\n1 9 4 2\n"
                         "chests:\n7000 4 2 2 0\n7000 4 4 2 0\n7000 8 8 2 1\n";

struct Seen {
    Vector3 at; // the world point the pixel shows
    int r, g, b;
    bool Reddish() const { return r > g + 40 && r > b + 40; }
    bool Yellowish() const { return r > b + 40 && g > b + 40; }
};

class WorldDrawWindow : public RobotTest {
  protected:
    static void SetUpTestSuite() {
        OpenTestWindow();
        static bool drawing = false;
        if (!drawing)
            InitWorldDrawing(1);
        drawing = true;
        Reshape(640, 480);
    }
    void SetUp() override {
        RobotTest::SetUp();
        world_ = Load(kDrawWorld);
        gWorld = world_;
        // We stand at (6, 5) and look down on the world from high above its south edge.
        viewer_ = Put(Make(0, true), 6, 5);
        gLocalRobotUid = viewer_->uid;
        Vector3 eye = {0, -5, 10}, look = {0, 1, -1};
        SetEyeOffset(&eye);
        SetLookOffset(&look);
    }

    void Draw() {
        Captured([&] { DrawScene(world_, viewer_->uid); });
        glGetDoublev(GL_MODELVIEW_MATRIX, model_);
        glGetDoublev(GL_PROJECTION_MATRIX, projection_);
        glGetIntegerv(GL_VIEWPORT, viewport_);
    }

    // What the pixel onto which the point (x, y, z) falls shows.
    Seen Look(double x, double y, double z) {
        double wx, wy, wz;
        gluProject(x, y, z, model_, projection_, viewport_, &wx, &wy, &wz);
        return At(static_cast<int>(wx), static_cast<int>(wy));
    }
    Seen At(int px, int py) {
        unsigned char rgb[3] = {};
        float depth = 1;
        glReadPixels(px, py, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        glReadPixels(px, py, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        Seen s = {{0, 0, -100}, rgb[0], rgb[1], rgb[2]};
        if (depth < 1)
            gluUnProject(px + 0.5, py + 0.5, depth, model_, projection_, viewport_, &s.at.x,
                         &s.at.y, &s.at.z);
        return s;
    }
    // The highest point the picture shows over the cell (x, y), and its pixel.
    Seen Highest(int x, int y) {
        double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
        for (double cx : {0.0, 1.0}) {
            for (double cy : {0.0, 1.0}) {
                for (double cz : {2.0, 2.5}) {
                    double w[3];
                    gluProject(x + cx, y + cy, cz, model_, projection_, viewport_, &w[0], &w[1],
                               &w[2]);
                    for (int i = 0; i < 2; i++) {
                        lo[i] = std::min(lo[i], w[i]);
                        hi[i] = std::max(hi[i], w[i]);
                    }
                }
            }
        }
        Seen best = {{0, 0, -100}, 0, 0, 0};
        for (int px = int(lo[0]); px <= int(hi[0]); px++) {
            for (int py = int(lo[1]); py <= int(hi[1]); py++) {
                Seen s = At(px, py);
                if (s.at.x >= x && s.at.x <= x + 1 && s.at.y >= y && s.at.y <= y + 1 &&
                    s.at.z > best.at.z)
                    best = s;
            }
        }
        return best;
    }

    Robot* viewer_ = nullptr;
    double model_[16] = {}, projection_[16] = {};
    int viewport_[4] = {};
};

constexpr double kNear = 0.03;

TEST_F(WorldDrawWindow, FloorDeckCubeOpaquePadAndSafeZoneOneInItsColour) {
    Draw();
    Seen floor = Look(1.5, 10.5, 1.0), deck = Look(1.5, 4.5, 2.0), cube = Look(3.5, 6.5, 3.0);
    EXPECT_NEAR(floor.at.z, 1.0, kNear);
    EXPECT_GT(floor.r + floor.g + floor.b, 60); // lit and textured, not the black background
    EXPECT_NEAR(deck.at.z, 2.0, kNear);
    EXPECT_NEAR(cube.at.z, 3.0, kNear);
    Seen pad = Look(2.5, 2.5, 2.2);
    EXPECT_NEAR(pad.at.z, 2.2, kNear);
    EXPECT_TRUE(pad.Yellowish()) << pad.r << " " << pad.g << " " << pad.b;
    // Safe zone 1: the pad over its nine cells and the cone standing on its centre, both red.
    Seen zonePad = Look(8.5, 3.5, 2.2), cone = Look(9.5, 4.5, 2.5);
    EXPECT_NEAR(zonePad.at.z, 2.2, kNear);
    EXPECT_TRUE(zonePad.Reddish()) << zonePad.r << " " << zonePad.g << " " << zonePad.b;
    EXPECT_GT(cone.at.z, 2.3);
    EXPECT_LT(std::abs(cone.at.x - 9.5) + std::abs(cone.at.y - 4.5), 0.7);
    EXPECT_TRUE(cone.Reddish()) << cone.r << " " << cone.g << " " << cone.b;
    // Our own robot, blue, in its cell.
    Seen robot = Look(6.5, 5.5, 2.7);
    EXPECT_NEAR(robot.at.z, 2.7, kNear);
    EXPECT_GT(robot.b, robot.r + 40);
}

TEST_F(WorldDrawWindow, AClosedChestAndAnOpenOne) {
    GetChestByIndex(world_, 1)->opened = 1;
    Draw();
    // Closed: the lid's top half a cell above the deck over the middle, nothing that high at the
    // back edge. Open: the middle shows the inside of the base, the lid stands on the back edge.
    Seen closedMiddle = Look(4.5, 2.5, 2.5), closedBack = Look(4.8, 2.5, 2.7);
    Seen openMiddle = Look(4.5, 4.5, 2.5), openBack = Look(4.8, 4.5, 2.7);
    EXPECT_NEAR(closedMiddle.at.z, 2.5, kNear);
    EXPECT_TRUE(closedMiddle.Yellowish()) << closedMiddle.r << " " << closedMiddle.b;
    EXPECT_LT(closedBack.at.z, 2.45);
    EXPECT_LT(openMiddle.at.z, 2.3);
    EXPECT_GT(openMiddle.at.z, 1.99);
    EXPECT_GT(openBack.at.z, 2.6);
}

TEST_F(WorldDrawWindow, TheSonarShowsGlassyPadsHiddenChestsAndInvisibleRobots) {
    Robot* ghost = Put(Make(1, false), 1, 5);
    ghost->skillFlag = 1;
    auto look = [&] {
        Draw();
        return std::vector<Seen>{Look(6.5, 2.5, 2.2), Look(8.5, 8.5, 2.5), Look(1.5, 5.5, 2.7),
                                 Look(2.5, 8.5, 2.2)};
    };
    std::vector<Seen> before = look();
    Vector3 centre = {5, 5, 2};
    SetRevealSphere(&centre, 5);
    std::vector<Seen> during = look();
    // The glassy pad, the hidden chest and the invisible robot: only the deck before, then each
    // at its height, the chest a red ghost and the robot in slot 1's red.
    EXPECT_NEAR(before[0].at.z, 2.0, kNear);
    EXPECT_NEAR(before[1].at.z, 2.0, kNear);
    EXPECT_NEAR(before[2].at.z, 2.0, kNear);
    EXPECT_NEAR(during[0].at.z, 2.2, kNear);
    EXPECT_GT(during[0].r + during[0].g - 2 * during[0].b,
              before[0].r + before[0].g - 2 * before[0].b + 30); // tinted yellow
    EXPECT_NEAR(during[1].at.z, 2.5, kNear);
    EXPECT_TRUE(during[1].Reddish()) << during[1].r << " " << during[1].g;
    EXPECT_NEAR(during[2].at.z, 2.7, kNear);
    EXPECT_TRUE(during[2].Reddish()) << during[2].r << " " << during[2].g;
    // The opaque pad is there either way.
    EXPECT_NEAR(before[3].at.z, 2.2, kNear);
    EXPECT_NEAR(during[3].at.z, 2.2, kNear);
}

TEST_F(WorldDrawWindow, EnergonCrystalsGrowWithTheirStage) {
    ASSERT_TRUE(Captured([&] { AddNetworkEnergon(world_, 77, 10, 7, 2, 12); }).size() > 0);
    Energon* deposit = LookupEnergon(world_, 77);
    ASSERT_NE(deposit, nullptr);
    std::vector<double> heights;
    for (int stage : {1, 100, 400}) {
        deposit->stage = stage;
        Draw();
        Seen top = Highest(10, 7);
        heights.push_back(top.at.z);
        if (stage > 1) {
            EXPECT_GT(top.b, top.r + 40) << "stage " << stage; // the crystals' pale blue
        }
    }
    // The cones stand 0.0005 high a stage on the deck at 2 (0.05 at stage 100, 0.2 at 400); their
    // narrow tips fall between pixels.
    EXPECT_NEAR(heights[0], 2.0, 0.005);
    EXPECT_GT(heights[1], 2.015);
    EXPECT_LT(heights[1], 2.055);
    EXPECT_GT(heights[2], 2.14);
    EXPECT_LT(heights[2], 2.205);
}

} // namespace
