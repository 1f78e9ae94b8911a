// The robot models under Xvfb: the translucent red invisible set, a skill gesture that changes
// the picture and comes back to rest, a teleport cutting the model away from below, and the
// three side by side in their slot colours.
#include "render/draw/robotdraw.h"
#include "render/slotcolors.h"
#include "support/window_support.h"

namespace {

const PixelTest Red = [](auto p) { return p[0] > 90 && p[0] > p[1] + 60 && p[0] > p[2] + 40; };
const PixelTest Blue = [](auto p) { return p[2] > 90 && p[2] > p[0] + 40 && p[2] > p[1] + 40; };
const PixelTest Lit = [](auto p) { return p[0] + p[1] + p[2] > 30; };

class RobotModelsWindow : public AnimationTest {
  protected:
    void SetUp() override {
        OpenTestWindow();
        AnimationTest::SetUp();
        InitAnimations();
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        for (GLenum on : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_NORMALIZE})
            glEnable(on);
        const GLfloat ambient[4] = {0.35f, 0.35f, 0.38f, 1}, white[4] = {1, 1, 1, 1};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, white); // the camera's light, as the scene sets it
    }
    void TearDown() override {
        glPopAttrib();
        AnimationTest::TearDown();
        Reshape(W, H);
    }

    // A robot of the class in cell (0, y, 0) facing as given, drawn in the colour of slot.
    Robot* Standing(int classUid, int slot, int y = 0, int facing = 0) {
        Robot* r = Make(next_++, false, classUid);
        r->position = {0, static_cast<double>(y), 0};
        r->facing = facing;
        RobotModelOf(r)->colorSlot = r->index = slot;
        return r;
    }
    // The robots as the world draws them (slot colour, cell centre, heading) and the
    // animations, seen from eye under the game's lamp high over the world; by default one robot
    // in cell (0, 0, 0) from its front.
    static Picture Shot(std::vector<Robot*> robots, Color background = {0, 0, 0, 1},
                        Vector3 eye = {3.2, 1.3, 1.2}, Vector3 centre = {0.5, 0.5, 0.45},
                        double fov = 30) {
        glClearColor(background.red, background.green, background.blue, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(fov, static_cast<double>(W) / H, 0.1, 30);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, 0, 0, 1);
        const GLfloat lamp[4] = {10, 10, 10, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, lamp);
        for (Robot* robot : robots) {
            glPushMatrix();
            glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, RobotSlotColor(robot->index));
            glMaterialfv(GL_FRONT, GL_SPECULAR, RobotSlotSpecular(robot->index));
            const Vector3& p = robot->position;
            glTranslated(p.x + 0.5, p.y + 0.5, p.z + 0.5);
            glRotatef(static_cast<GLfloat>(robot->facing), 0, 0, 1);
            DrawRobot(robot);
            glPopMatrix();
        }
        DrawAnimations();
        return Picture();
    }
    int next_ = 10;
};

// A gesture changes the picture and comes back to rest; invisible, over green and over blue,
// the robot lets the background through (the two pictures differ) and tints both red.
TEST_F(RobotModelsWindow, AGestureChangesThePictureAndAnInvisibleRobotIsTranslucentRed) {
    auto seeThrough = [](Robot* r) {
        Picture green = Shot({r}, {0, 0.6f, 0, 1}), blue = Shot({r}, {0, 0, 0.6f, 1});
        int n = 0;
        for (size_t i = 0; i < green.rgb.size(); i += 3) {
            const unsigned char *g = &green.rgb[i], *b = &blue.rgb[i];
            n += g[1] != 153 && g[1] != b[1] && g[0] > 20 && g[0] == b[0] ? 1 : 0;
        }
        return n;
    };
    Robot* target = Standing(4002, 0, 3);
    for (auto [classUid, ticks] : {std::pair{4000, 4}, {4001, 3}, {4002, 8}}) {
        SCOPED_TRACE(classUid);
        Robot* r = Standing(classUid, 1);
        Picture rest = Shot({r});
        Captured([&] { RobotAnimateSkill(r, -1, target, 0); });
        Tick(ticks);
        Picture moved = Shot({r});
        int changed = 0;
        for (size_t i = 0; i < rest.rgb.size(); i += 3)
            changed += !std::equal(&rest.rgb[i], &rest.rgb[i + 3], &moved.rgb[i]);
        EXPECT_GT(changed, 800);
        RunOut();
        EXPECT_EQ(Shot({r}).rgb, rest.rgb);
        EXPECT_LT(seeThrough(r), 20);
        r->skillFlag = 1;
        EXPECT_GT(seeThrough(r), 2000);
    }
}

TEST_F(RobotModelsWindow, ATeleportCutsTheModelAwayFromBelow) {
    Robot* r = Standing(4002, 0);
    r->targetCell = {5, 5, 0};
    int whole[2] = {}, vanishing[2] = {};
    ASSERT_GT(Shot({r}).Count(Lit, 0, W, whole), 3000);
    Captured([&] { RobotTeleportEffect(r, world_); });
    EXPECT_GT(Shot({r}).Count(Lit, 0, W, vanishing), 1000);
    // From the start the lower half is gone; the top stays until the cut passes it.
    EXPECT_GT(vanishing[0], whole[0] + (whole[1] - whole[0]) / 3);
    EXPECT_EQ(vanishing[1], whole[1]);
    Tick(4);
    EXPECT_EQ(Shot({r}).Count(Lit), 0);
}

TEST_F(RobotModelsWindow, TheThreeModelsSideBySide) {
    // Turned a little towards the camera, Johnny 5 further to show its profile.
    Robot* robots[3] = {Standing(4000, 1, 0, 340), Standing(4001, 4, 1, 330),
                        Standing(4002, 0, 2, 295)};
    Picture p =
        Shot({robots, robots + 3}, {0.16f, 0.18f, 0.22f, 1}, {3.6, 1.5, 1.15}, {0.5, 1.5, 0.4}, 38);
    // Each in its own third and its slot's colour: the Hover red, Johnny 5 blue; the Dalek
    // paints itself grey and black.
    const PixelTest dark = [](const unsigned char* q) { return q[0] + q[1] + q[2] < 40; };
    const int thirds[3][3] = {{150, 0, 3000}, {0, 0, 3000}, {0, 300, 0}}; // red, blue, dark
    const PixelTest* tests[3] = {&Red, &Blue, &dark};
    for (int i = 0; i < 3; i++)
        for (int k = 0; k < 3; k++) {
            int shown = p.Count(*tests[k], i * W / 3, (i + 1) * W / 3);
            EXPECT_TRUE(thirds[i][k] > 0 ? shown >= thirds[i][k] : shown == 0) << i << k << shown;
        }
}

} // namespace
