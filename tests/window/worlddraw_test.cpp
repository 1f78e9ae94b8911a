// The world as the player sees it, drawn by DrawScene under Xvfb: a small world seen from high
// above its south edge, probed where its parts should stand. A probe reads the colour and depth
// of the pixel onto which a world point falls and turns the depth back into the point the pixel
// shows: "at this spot the picture shows something 2.5 high, and it is red".
#include "support/window_support.h"

namespace {

// A 12 x 12 deck at height 1, its three northern rows left open down to the floor; at height
// 2 a cube at (3, 6), an opaque teleporter (2, 2)-(2, 8), a glassy one (6, 2)-(6, 8), player
// 1's safe zone around (9, 4), chests at (4, 2) and (4, 4) and a hidden one at (8, 8).
const char* kDrawWorld = "size:\n12 12\nwalls:\n0 0 1:11 8 1 \"images\\deckplate.rgb\"\n"
                         "cubes:\n3 6 2\nteleporters:\n2 2 2:2 8 2 0\n6 2 2:6 8 2\n"
                         "safe zones:\n1 9 4 2\n"
                         "chests:\n7000 4 2 2 0\n7000 4 4 2 0\n7000 8 8 2 1\n";

struct Seen {
    double z; // the height of what the pixel shows
    int r, g, b;
    bool Red() const { return r > g + 40 && r > b + 40; }
    bool Yellow() const { return r > b + 40 && g > b + 40; }
    // The chests' translucent red: the deck's grey shows through in green and blue alike.
    bool Ghost() const { return Red() && std::abs(g - b) < 20; }
};

class WorldDrawWindow : public RobotTest {
  protected:
    static void SetUpTestSuite() {
        OpenTestWindow();
        InitWorldDrawing(1);
    }
    void SetUp() override {
        RobotTest::SetUp();
        world_ = Load(kDrawWorld);
        viewer_ = Put(Make(0, true), 6, 5);
        gLocalRobotUid = viewer_->uid;
        Vector3 eye = {0, -5, 10}, look = {0, 1, -1};
        SetEyeOffset(&eye);
        SetLookOffset(&look);
    }
    void Draw() {
        Captured([&] { DrawScene(world_, viewer_->uid); });
    }
    // Reads the matrices the last frame was drawn with.
    Seen Look(double x, double y, double z) {
        double model[16], projection[16], w[3], p[3] = {0, 0, -100};
        int viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        gluProject(x, y, z, model, projection, viewport, &w[0], &w[1], &w[2]);
        std::vector<int> rgb = Pixel(int(w[0]), int(w[1]));
        float depth = 1;
        glReadPixels(int(w[0]), int(w[1]), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        if (depth < 1)
            gluUnProject(int(w[0]) + 0.5, int(w[1]) + 0.5, depth, model, projection, viewport,
                         &p[0], &p[1], &p[2]);
        return {p[2], rgb[0], rgb[1], rgb[2]};
    }

    Robot* viewer_ = nullptr;
};

constexpr double kNear = 0.03;

TEST_F(WorldDrawWindow, FloorCubePadsSafeZoneOneChestsAndWhatTheSonarReveals) {
    GetChestByIndex(world_, 1)->opened = 1;
    Put(Make(1, false), 1, 5)->skillFlag = 1;
    // The height the picture shows at each point, before a sonar pulse and during one that
    // covers (5, 5, 2) to a radius of 5: the glassy pad, the hidden chest and the other
    // player's invisible robot show only the deck until then.
    const std::tuple<const char*, Vector3, double, double> probes[] = {
        {"floor", {1.5, 10.5, 1.0}, 1.0, 1.0},       {"cube", {3.5, 6.5, 3.0}, 3.0, 3.0},
        {"opaque pad", {2.5, 2.5, 2.2}, 2.2, 2.2},   {"zone 1's pad", {8.5, 3.5, 2.2}, 2.2, 2.2},
        {"closed chest", {4.5, 2.5, 2.5}, 2.5, 2.5}, {"glassy pad", {6.5, 2.5, 2.2}, 2.0, 2.2},
        {"hidden chest", {8.5, 8.5, 2.5}, 2.0, 2.5},
    };
    Draw();
    for (const auto& [what, at, before, during] : probes)
        EXPECT_NEAR(Look(at.x, at.y, at.z).z, before, kNear) << what;
    EXPECT_NEAR(Look(1.5, 5.5, 2.7).z, 2.0, kNear); // the invisible robot: only the deck
    Seen floor = Look(1.5, 10.5, 1.0), glassy = Look(6.5, 2.5, 2.2);
    EXPECT_GT(floor.r + floor.g + floor.b, 60); // lit and textured
    EXPECT_TRUE(Look(2.5, 2.5, 2.2).Yellow() && Look(4.5, 2.5, 2.5).Yellow());
    // Safe zone 1's cone stands red on its red pad.
    Seen cone = Look(9.5, 4.5, 2.5);
    EXPECT_TRUE(cone.z > 2.3 && cone.Red() && Look(8.5, 3.5, 2.2).Red()) << cone.z;
    // Nothing of the closed chest as high as its back edge; the open one shows the inside of its
    // base in the middle and its lid standing on the back edge.
    double back = Look(4.8, 2.5, 2.7).z, inside = Look(4.5, 4.5, 2.5).z,
           lid = Look(4.8, 4.5, 2.7).z;
    EXPECT_TRUE(back < 2.45 && inside > 1.99 && inside < 2.3 && lid > 2.6)
        << back << " " << inside << " " << lid;

    Vector3 centre = {5, 5, 2};
    SetRevealSphere(&centre, 5);
    Draw();
    for (const auto& [what, at, before, during] : probes)
        EXPECT_NEAR(Look(at.x, at.y, at.z).z, during, kNear) << what;
    Seen tinted = Look(6.5, 2.5, 2.2); // yellow
    EXPECT_GT(tinted.r + tinted.g - 2 * tinted.b, glassy.r + glassy.g - 2 * glassy.b + 30);
    // A red ghost of the chest; slot 1's red robot.
    Seen ghost = Look(8.5, 8.5, 2.5);
    EXPECT_TRUE(ghost.Ghost()) << ghost.r << " " << ghost.g << " " << ghost.b;
    EXPECT_TRUE(Look(1.5, 5.5, 2.7).Red() && Look(1.5, 5.5, 2.7).z > 2.5);
}

TEST_F(WorldDrawWindow, EnergonCrystalsGrowWithTheirStage) {
    Captured([&] { AddNetworkEnergon(world_, 77, 10, 7, 2, 12); });
    Energon* deposit = LookupEnergon(world_, 77);
    ASSERT_NE(deposit, nullptr);
    // The pixels of the crystals' pale cyan: none at stage 1; the cones stand 0.0005 high a
    // stage, so at 400 they cover many times what they cover at 100.
    std::vector<int> crystals;
    for (int stage : {1, 100, 400}) {
        deposit->stage = stage;
        Draw();
        crystals.push_back(
            Picture().Count([](auto p) { return p[1] > p[0] + 40 && p[2] > p[0] + 40; }));
    }
    EXPECT_EQ(std::tuple(crystals[0], crystals[1] > 0, crystals[2] > 4 * crystals[1]),
              std::tuple(0, true, true))
        << crystals[1] << " " << crystals[2];
}

} // namespace
