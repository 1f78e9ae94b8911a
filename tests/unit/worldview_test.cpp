// What a frame of the world shows, decided without a display: which boxes, robots, chests and
// deposits are drawn against the camera's view volume and sonar sphere, and in which colour and
// texture.
#include "core/game.h"
#include "render/worldview.h"
#include "robots/robot.h"
#include "world/energon.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int LOCAL = 3000;
constexpr int OTHER = 3001;

// The camera sees the cube [0, 10]^3 along +x (the near face at x 0, the far one at x 10);
// the sonar sphere is off unless a case sets it.
class WorldViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitCamera();
        const Vector3 corners[8] = {{0, 10, 0},  {0, 0, 0},  {0, 10, 10},  {0, 0, 10},
                                    {10, 10, 0}, {10, 0, 0}, {10, 10, 10}, {10, 0, 10}};
        SetFrustumFromCorners(corners);
    }
    void TearDown() override { FreeCamera(); }

    static WorldView View(int firstPerson = 0) {
        return {InRevealSphere, CubeInFrustum, gCamera->frustumPlanes, firstPerson, LOCAL};
    }
    static WorldBox Box(Vector3 lo, Vector3 hi, bool translucent, const char* texture = "") {
        WorldBox b = {};
        b.minimum = lo;
        b.maximum = hi;
        b.translucent = translucent;
        std::snprintf(b.texture, sizeof b.texture, "%s", texture);
        return b;
    }
};

enum Kind { EOpaqueBox, EGlassyPad, EOtherRobot, EOurRobot, EChestKind, EHiddenChest, EDeposit };

struct Case {
    const char* what;
    Kind kind;
    Vector3 at;      // a box's minimum corner, or the cell
    Vector3 size;    // a box's size
    int flag;        // robots: invisible (ours: 2 in first person); deposits: the stage
    double sonar[4]; // centre and radius; radius 0 leaves the sphere off
    bool expected;
};

bool Drawn(const Case& c, const WorldView& thirdPerson, const WorldView& firstPerson) {
    if (c.sonar[3] > 0) {
        Vector3 centre = {c.sonar[0], c.sonar[1], c.sonar[2]};
        SetRevealSphere(&centre, c.sonar[3]);
    } else {
        ClearRevealSphere();
    }
    const int x = int(c.at.x), y = int(c.at.y), z = int(c.at.z);
    switch (c.kind) {
    case EOpaqueBox:
    case EGlassyPad: {
        WorldBox b = {};
        b.minimum = c.at;
        b.maximum = {c.at.x + c.size.x, c.at.y + c.size.y, c.at.z + c.size.z};
        b.translucent = c.kind == EGlassyPad;
        return BoxDrawn(&thirdPerson, &b);
    }
    case EOtherRobot:
    case EOurRobot: {
        Robot r = {};
        r.uid = c.kind == EOurRobot ? LOCAL : OTHER;
        r.cell = {x, y, z};
        r.position = c.at;
        r.skillFlag = c.flag & 1;
        return RobotDrawn(c.flag & 2 ? &firstPerson : &thirdPerson, &r);
    }
    case EChestKind:
    case EHiddenChest: {
        Chest chest = {x, y, z, 7000, 0, 0, c.kind == EHiddenChest ? 2 : 0};
        return ChestLookFor(&thirdPerson, &chest).drawn;
    }
    case EDeposit: {
        Energon e = {1, x, y, z, -1, 9, c.flag, 1};
        return EnergonDrawn(&thirdPerson, &e);
    }
    }
    return false;
}

TEST_F(WorldViewTest, WhatTheViewVolumeAndTheSonarSphereLetThroughTable) {
    const Case cases[] = {
        // Boxes: opaque ones by the view volume, glassy teleporter pads by the sphere alone.
        {"an opaque box in view", EOpaqueBox, {4, 4, 4}, {1, 1, 1}, 0, {}, true},
        {"an opaque box behind the camera", EOpaqueBox, {-5, 4, 4}, {3, 1, 1}, 0, {}, false},
        {"a floor wider than the view each way",
         EOpaqueBox,
         {-50, -50, 0},
         {100, 100, 1},
         0,
         {},
         true},
        {"a box touching the near face", EOpaqueBox, {-3, 4, 4}, {3, 1, 1}, 0, {}, true},
        {"a glassy pad, no sonar", EGlassyPad, {4, 4, 4}, {1, 1, 0.2}, 0, {}, false},
        {"a glassy pad, its corner in the sphere",
         EGlassyPad,
         {4, 4, 4},
         {1, 1, 0.2},
         0,
         {4, 4, 5, 1.5},
         true},
        {"a glassy pad, the sphere past its corner",
         EGlassyPad,
         {4, 4, 4},
         {1, 1, 0.2},
         0,
         {5.6, 5, 4, 1.5},
         false},
        {"a glassy pad behind the camera, in the sphere",
         EGlassyPad,
         {-4, 4, 4},
         {1, 1, 0.2},
         0,
         {-4, 4, 4, 1},
         true},
        // Robots.
        {"another robot in view", EOtherRobot, {5, 5, 5}, {}, 0, {}, true},
        {"another robot out of view", EOtherRobot, {5, 20, 5}, {}, 0, {}, false},
        {"our robot in first person", EOurRobot, {5, 5, 5}, {}, 2, {}, false},
        {"another robot in first person", EOtherRobot, {5, 5, 5}, {}, 2, {}, true},
        {"our robot invisible, from behind", EOurRobot, {5, 5, 5}, {}, 1, {}, true},
        {"another robot invisible, no sonar", EOtherRobot, {5, 5, 5}, {}, 1, {}, false},
        {"another robot invisible, its cell in the sphere",
         EOtherRobot,
         {5, 5, 5},
         {},
         1,
         {5, 5, 6, 1.5},
         true},
        {"another robot invisible in the sphere, out of view",
         EOtherRobot,
         {5, 20, 5},
         {},
         1,
         {5, 20, 5, 2},
         false},
        // Chests: a hidden one by the corner of its cell.
        {"a chest in view", EChestKind, {5, 5, 5}, {}, 0, {}, true},
        {"a chest out of view", EChestKind, {-5, 5, 5}, {}, 0, {}, false},
        {"a hidden chest, no sonar", EHiddenChest, {5, 5, 5}, {}, 0, {}, false},
        {"a hidden chest, its corner in the sphere",
         EHiddenChest,
         {5, 5, 5},
         {},
         0,
         {5, 5, 5.9, 1},
         true},
        {"a hidden chest, the sphere past its corner",
         EHiddenChest,
         {5, 5, 5},
         {},
         0,
         {6, 6, 5, 1},
         false},
        // Energon: once grown past stage 1, and in view.
        {"a deposit at stage 1", EDeposit, {5, 5, 5}, {}, 1, {}, false},
        {"a deposit at stage 2", EDeposit, {5, 5, 5}, {}, 2, {}, true},
        {"a deposit at stage 500 out of view", EDeposit, {5, 5, 30}, {}, 500, {}, false},
    };
    const WorldView thirdPerson = View(0), firstPerson = View(1);
    for (const Case& c : cases)
        EXPECT_EQ(Drawn(c, thirdPerson, firstPerson), c.expected) << c.what;
}

TEST_F(WorldViewTest, ColoursTexturesAndLids) {
    std::vector<float> slot1(RobotSlotColor(1), RobotSlotColor(1) + 3);
    EXPECT_EQ(slot1, (std::vector<float>{0.9f, 0.0f, 0.1f}));
    std::vector<float> specular0(RobotSlotSpecular(0), RobotSlotSpecular(0) + 3);
    EXPECT_EQ(specular0, (std::vector<float>{0.6f, 0.6f, 1.0f}));
    // A computer robot's colour is its own and opaque.
    EXPECT_EQ(RobotSlotColor(4)[3], 1.0f);
    EXPECT_NE(RobotSlotColor(4)[0], RobotSlotColor(3)[0]);

    const Color* zone1 = SafeZoneColor(1);
    ASSERT_NE(zone1, nullptr);
    EXPECT_EQ((std::vector<float>{zone1->red, zone1->green, zone1->blue, zone1->alpha}),
              (std::vector<float>{0.75f, 0.25f, 0.25f, 0.5f}));
    EXPECT_EQ(SafeZoneColor(255), nullptr);

    WorldBox plain = Box({0, 0, 0}, {1, 1, 1}, false);
    WorldBox none = Box({0, 0, 0}, {1, 1, 1}, false, "none");
    WorldBox brick = Box({0, 0, 0}, {1, 1, 1}, false, "images\\brick.bmp");
    EXPECT_FALSE(BoxTextured(&plain));
    EXPECT_EQ(BoxTexture(&plain), nullptr);
    EXPECT_TRUE(BoxTextured(&none));
    EXPECT_EQ(BoxTexture(&none), nullptr);
    EXPECT_STREQ(BoxTexture(&brick), "images\\brick.bmp");
    EXPECT_STREQ(ChestTexture(1), "images\\copper.rgb");
    EXPECT_EQ(ChestTexture(0), nullptr);

    Vector3 centre = {5, 5, 5};
    SetRevealSphere(&centre, 1);
    WorldView v = View();
    Chest open = {5, 5, 5, 7000, 0, 1, 0}, ghost = {5, 5, 5, 7000, 0, 0, 3};
    ChestLook openLook = ChestLookFor(&v, &open), ghostLook = ChestLookFor(&v, &ghost);
    EXPECT_EQ(openLook.lidList, CHEST_OPEN_LID_LIST);
    EXPECT_FALSE(openLook.ghost);
    EXPECT_EQ(ghostLook.lidList, CHEST_CLOSED_LID_LIST);
    EXPECT_TRUE(ghostLook.ghost);
}

} // namespace
