// What a frame of the world shows, decided without a display: which boxes, robots, chests and
// deposits pass the camera's view volume and sonar sphere, and which colours and textures.
#include "core/game.h"
#include "render/worldview.h"
#include "support/robot_support.h"

namespace {

enum Kind { EBox, EGlassyPad, EOtherRobot, EOurRobot, EChestKind, EHiddenChest, EDeposit };

// What; the kind; a box's minimum corner, or the cell; a box's edge; for robots 1 invisible, 2
// seen in first person, for deposits the stage; the sonar's centre and radius (no radius, no
// sphere); whether it is drawn.
// clang-format off
struct Case { const char* what; Kind kind; Vector3 at; double size; int flag; double sonar[4]; bool expected; };
// clang-format on

bool Drawn(const Case& c) {
    Vector3 centre = {c.sonar[0], c.sonar[1], c.sonar[2]};
    SetRevealSphere(&centre, c.sonar[3]);
    WorldView view = {InRevealSphere, CubeInFrustum, gCamera->frustumPlanes, c.flag >> 1, 3000};
    const int x = int(c.at.x), y = int(c.at.y), z = int(c.at.z);
    Robot robot = {};
    std::tie(robot.uid, robot.cell, robot.position, robot.skillFlag) =
        std::tuple(c.kind == EOurRobot ? 3000 : 3001, Location{x, y, z}, c.at, c.flag & 1);
    WorldBox box = {};
    std::tie(box.minimum, box.maximum, box.translucent) = std::tuple(
        c.at, Vector3{c.at.x + c.size, c.at.y + c.size, c.at.z + c.size}, c.kind == EGlassyPad);
    Chest chest = {x, y, z, 7000, 0, 0, c.kind == EHiddenChest ? 2 : 0};
    Energon deposit = {1, x, y, z, -1, 9, c.flag, 1};
    return c.kind <= EGlassyPad     ? BoxDrawn(&view, &box)
           : c.kind <= EOurRobot    ? RobotDrawn(&view, &robot)
           : c.kind <= EHiddenChest ? ChestLookFor(&view, &chest).drawn
                                    : EnergonDrawn(&view, &deposit);
}

TEST(WorldView, WhatAFrameShowsAndInWhichColourTable) {
    InitCamera();
    // The camera looks along +x at the cube [0, 10]^3.
    const Vector3 corners[8] = {{0, 10, 0},  {0, 0, 0},  {0, 10, 10},  {0, 0, 10},
                                {10, 10, 0}, {10, 0, 0}, {10, 10, 10}, {10, 0, 10}};
    SetFrustumFromCorners(corners);
    // clang-format off
    const Case cases[] = {
        {"a box in view",                     EBox, {4, 4, 4}, 1, 0, {}, true},
        {"a box behind the camera",           EBox, {-3, 4, 4}, 2, 0, {}, false},
        {"a box touching the near face",      EBox, {-3, 4, 4}, 3, 0, {}, true},
        {"a floor wider than the view",       EBox, {-50, -50, -50}, 100, 0, {}, true},
        {"a glassy pad, no sonar",            EGlassyPad, {4, 4, 4}, 1, 0, {}, false},
        {"a glassy pad, corner in sphere",    EGlassyPad, {4, 4, 4}, 1, 0, {4, 4, 5, 1.5}, true},
        {"a glassy pad, sphere past corner",  EGlassyPad, {4, 4, 4}, 1, 0, {5.6, 5, 4, 1.5}, false},
        {"a glassy pad behind, in sphere",    EGlassyPad, {-4, 4, 4}, 1, 0, {-4, 4, 4, 1}, true},
        {"a robot out of view",               EOtherRobot, {5, 20, 5}, 0, 0, {}, false},
        {"our robot in first person",         EOurRobot, {5, 5, 5}, 0, 2, {}, false},
        {"a robot in first person",           EOtherRobot, {5, 5, 5}, 0, 2, {}, true},
        {"our robot invisible",               EOurRobot, {5, 5, 5}, 0, 1, {}, true},
        {"a robot invisible",                 EOtherRobot, {5, 5, 5}, 0, 1, {}, false},
        {"a robot invisible, cell in sphere", EOtherRobot, {5, 5, 5}, 0, 1, {5, 5, 6, 1.5}, true},
        {"a robot invisible in sphere, away", EOtherRobot, {5, 20, 5}, 0, 1, {5, 20, 5, 2}, false},
        {"a chest out of view",               EChestKind, {-5, 5, 5}, 0, 0, {}, false},
        {"a hidden chest, corner in sphere",  EHiddenChest, {5, 5, 5}, 0, 0, {5, 5, 5.9, 1}, true},
        {"a hidden chest, sphere past it",    EHiddenChest, {5, 5, 5}, 0, 0, {6, 6, 5, 1}, false},
        {"a deposit at stage 1",              EDeposit, {5, 5, 5}, 0, 1, {}, false},
        {"a deposit at stage 2",              EDeposit, {5, 5, 5}, 0, 2, {}, true},
        {"a deposit at stage 500, away",      EDeposit, {5, 5, 30}, 0, 500, {}, false},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(Drawn(c), c.expected) << c.what;
    FreeCamera();
    // Colours and textures: slot 1 red, the enemy server's robots opaque.
    WorldBox none = {};
    std::snprintf(none.texture, sizeof none.texture, "none");
    EXPECT_EQ(std::tuple(std::vector<float>(RobotSlotColor(1), RobotSlotColor(1) + 3),
                         RobotSlotColor(4)[3], SafeZoneColor(255), BoxTextured(&none),
                         BoxTexture(&none)),
              std::tuple(std::vector<float>{0.9f, 0.0f, 0.1f}, 1.0f, nullptr, true, nullptr));
}

} // namespace
