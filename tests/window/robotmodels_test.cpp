// The robot models and effects under Xvfb: each model in its slot colour, the translucent red
// invisible set, a skill gesture that changes the picture and comes back to rest, a teleport
// cutting the model away from below, and the three models side by side (saved as a picture
// when VANTRELL_MODELS_SHOT names a file).
#include "render/draw/animationsdraw.h"
#include "render/draw/glutils.h"
#include "render/draw/robotdraw.h"
#include "render/slotcolors.h"
#include "support/animation_support.h"
#include "support/window_support.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>

namespace {

constexpr int W = 640, H = 480;

struct Picture {
    std::vector<unsigned char> rgb = std::vector<unsigned char>(W * H * 3);
    const unsigned char* At(int x, int y) const { return &rgb[(y * W + x) * 3]; }
    // How many pixels of the columns [x0, x1) and rows [y0, y1) satisfy the test.
    int Count(const std::function<bool(int, int, int)>& test, int x0 = 0, int x1 = W, int y0 = 0,
              int y1 = H) const {
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                n += test(At(x, y)[0], At(x, y)[1], At(x, y)[2]) ? 1 : 0;
        return n;
    }
    int Differences(const Picture& other) const {
        int n = 0;
        for (size_t i = 0; i < rgb.size(); i += 3)
            n += (rgb[i] != other.rgb[i] || rgb[i + 1] != other.rgb[i + 1] ||
                  rgb[i + 2] != other.rgb[i + 2])
                     ? 1
                     : 0;
        return n;
    }
};

Picture Grab() {
    Picture p;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
    return p;
}

bool Red(int r, int g, int b) {
    return r > 90 && r > g + 60 && r > b + 40;
}
bool Blue(int r, int g, int b) {
    return b > 90 && b > r + 40 && b > g + 40;
}
bool Lit(int r, int g, int b) {
    return r + g + b > 30;
}

class RobotModelsWindow : public AnimationTest {
  protected:
    void SetUp() override {
        OpenTestWindow();
        AnimationTest::SetUp();
        InitAnimations();
        gAnimationHooks.getTexturesOn = [] { return 1; };
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glViewport(0, 0, W, H);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_NORMALIZE);
        const GLfloat ambient[4] = {0.35f, 0.35f, 0.38f, 1};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    }
    void TearDown() override {
        glPopAttrib();
        AnimationTest::TearDown();
        gAnimationDrawers = {};
        Reshape(W, H);
    }

    // Looks at the point from eye, with the light above and behind the eye.
    static void View(double ex, double ey, double ez, double cx, double cy, double cz,
                     double fov = 30) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(fov, static_cast<double>(W) / H, 0.1, 30);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(ex, ey, ez, cx, cy, cz, 0, 0, 1);
        const GLfloat light[4] = {static_cast<GLfloat>(ex + 2), static_cast<GLfloat>(ey - 3),
                                  static_cast<GLfloat>(ez + 6), 1};
        const GLfloat white[4] = {1, 1, 1, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, light);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
        glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    }
    // The model of a robot standing in cell (0, 0, 0), seen from its front.
    static void FrontView() { View(3.2, 1.3, 1.2, 0.5, 0.5, 0.45); }

    static void Clear(float r, float g, float b) {
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // As the world draws a robot: its slot's colour, the centre of its cell, its heading.
    static void DrawInWorld(Robot* robot) {
        glPushMatrix();
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, RobotSlotColor(robot->index));
        glMaterialfv(GL_FRONT, GL_SPECULAR, RobotSlotSpecular(robot->index));
        glMaterialf(GL_FRONT, GL_SHININESS, ROBOT_SHININESS);
        const Vector3& p = robot->position;
        glTranslated(p.x + 0.5, p.y + 0.5, p.z + 0.5);
        glRotatef(static_cast<GLfloat>(robot->facing), 0, 0, 1);
        DrawRobot(robot);
        glPopMatrix();
    }

    Robot* Standing(int index, int classUid, int x = 0, int y = 0) {
        Robot* r = Make(index, false, classUid);
        r->position = {static_cast<double>(x), static_cast<double>(y), 0};
        r->cell = {x, y, 0};
        r->index = index;
        return r;
    }

    Picture Shot(Robot* robot, float r = 0, float g = 0, float b = 0) {
        Clear(r, g, b);
        FrontView();
        DrawInWorld(robot);
        DrawAnimations();
        return Grab();
    }
};

TEST_F(RobotModelsWindow, EachModelShowsItsSlotColourOrItsOwn) {
    struct Case {
        int classUid, slot;
        int red, blue; // pixels at least (or, when 0, none)
    };
    const Case cases[] = {
        {4000, 1, 150, 0}, // the Hover's crest and hands
        {4000, 0, 0, 150},
        {4002, 0, 0, 300}, // Johnny 5's joints, axle, face plate and gun
        {4002, 1, 300, 0},
        {4001, 1, 0, 0}, // the Dalek paints itself grey and black whatever its slot
    };
    int index = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.classUid << " in slot " << c.slot);
        Robot* r = Standing(index++, c.classUid);
        RobotModelOf(r)->colorSlot = c.slot;
        r->index = c.slot;
        Picture p = Shot(r);
        int red = p.Count(Red), blue = p.Count(Blue);
        if (c.red > 0)
            EXPECT_GE(red, c.red);
        else
            EXPECT_EQ(red, 0);
        if (c.blue > 0)
            EXPECT_GE(blue, c.blue);
        else
            EXPECT_EQ(blue, 0);
        EXPECT_GT(p.Count(Lit), 3000); // a whole robot, lit
    }
}

TEST_F(RobotModelsWindow, AnInvisibleRobotIsTranslucentRed) {
    // Drawn over a green and over a blue background: where the robot lets the background
    // through, the two pictures differ, and the robot tints them red.
    auto seeThrough = [](const Picture& green, const Picture& blue) {
        int n = 0;
        for (int y = 0; y < H; y++)
            for (int x = 0; x < W; x++) {
                const unsigned char *g = green.At(x, y), *b = blue.At(x, y);
                bool background = g[0] == 0 && g[1] == 153 && g[2] == 0;
                n += !background && g[1] != b[1] && g[0] > 20 && g[0] == b[0] ? 1 : 0;
            }
        return n;
    };
    int index = 10;
    for (int classUid : {4000, 4001, 4002}) {
        SCOPED_TRACE(classUid);
        Robot* r = Standing(index++, classUid);
        EXPECT_LT(seeThrough(Shot(r, 0, 0.6f, 0), Shot(r, 0, 0, 0.6f)), 20);
        r->skillFlag = 1;
        EXPECT_GT(seeThrough(Shot(r, 0, 0.6f, 0), Shot(r, 0, 0, 0.6f)), 2000);
    }
}

TEST_F(RobotModelsWindow, ASkillGestureChangesThePictureAndComesBackToRest) {
    struct Case {
        int classUid;
        int ticks; // into the gesture
    };
    const Case cases[] = {{4000, 4}, {4001, 3}, {4002, 8}};
    Robot* target = Standing(30, 4002, 0, 3);
    int index = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.classUid);
        Robot* r = Standing(index++, c.classUid);
        Picture rest = Shot(r);
        Captured([&] { RobotAnimateSkill(r, -1, target, 0); });
        Tick(c.ticks);
        Picture gesture = Shot(r);
        EXPECT_GT(gesture.Differences(rest), 800);
        RunOut();
        EXPECT_EQ(Shot(r).Differences(rest), 0);
    }
}

TEST_F(RobotModelsWindow, ATeleportCutsTheModelAwayFromBelow) {
    Robot* r = Standing(10, 4002);
    r->targetCell = {5, 5, 0};
    // The window row of the lowest corner of the cell's middle: the cut's first height.
    GLdouble model[16], projection[16], wx, wy, wz, lowest = H;
    GLint viewport[4];
    FrontView();
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    for (int corner = 0; corner < 4; corner++) {
        gluProject(corner & 1, corner >> 1, 0.5, model, projection, viewport, &wx, &wy, &wz);
        lowest = std::min(lowest, wy);
    }
    const int middle = static_cast<int>(lowest);
    auto below = [&](const Picture& p) { return p.Count(Lit, 0, W, 0, middle - 3); };
    auto above = [&](const Picture& p) { return p.Count(Lit, 0, W, middle + 3, H); };
    Picture whole = Shot(r);
    ASSERT_GT(below(whole), 1500);
    ASSERT_GT(above(whole), 1500);
    Captured([&] { RobotTeleportEffect(r, world_); });
    Picture vanishing = Shot(r);
    EXPECT_EQ(below(vanishing), 0);
    EXPECT_GT(above(vanishing), above(whole) / 2);
    Tick(4);
    EXPECT_EQ(Shot(r).Count(Lit), 0); // the cut has passed the top of its head
}

TEST_F(RobotModelsWindow, TheThreeModelsSideBySide) {
    Robot* hover = Standing(10, 4000, 0, 0);
    Robot* dalek = Standing(11, 4001, 0, 1);
    Robot* johnny = Standing(12, 4002, 0, 2);
    // Turned a little towards the camera, Johnny 5 further to show its profile.
    hover->facing = 340;
    dalek->facing = 330;
    johnny->facing = 295;
    RobotModelOf(hover)->colorSlot = hover->index = 1;
    RobotModelOf(johnny)->colorSlot = johnny->index = 0;
    Clear(0.16f, 0.18f, 0.22f);
    View(3.6, 1.5, 1.15, 0.5, 1.5, 0.4, 38);
    // The game's light: a lamp high over the world.
    const GLfloat lamp[4] = {10, 10, 10, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, lamp);
    // A floor under them, in the world's grey.
    const GLfloat grey[4] = {0.4f, 0.4f, 0.4f, 1};
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, grey);
    glMaterialfv(GL_FRONT, GL_SPECULAR, grey);
    glMaterialf(GL_FRONT, GL_SHININESS, 5);
    glPushMatrix();
    glTranslated(1.5, 1.5, -0.05);
    DrawBox(6, 6, 0.1);
    glPopMatrix();
    for (Robot* r : {hover, dalek, johnny})
        DrawInWorld(r);
    Picture p = Grab();
    // Each robot stands in its own third of the window, Hover on the left.
    auto robot = [](int r, int g, int b) {
        return Red(r, g, b) || Blue(r, g, b) || r + g + b < 40 || r + g + b > 600;
    };
    EXPECT_GT(p.Count(robot, 0, W / 3), 1500);
    EXPECT_GT(p.Count(robot, W / 3, 2 * W / 3), 1500);
    EXPECT_GT(p.Count(robot, 2 * W / 3, W), 1500);
    EXPECT_GT(p.Count(Red, 0, W / 3), 100);
    EXPECT_GT(p.Count(Blue, 2 * W / 3, W), 100);
    if (const char* path = std::getenv("VANTRELL_MODELS_SHOT")) {
        std::ofstream out(path, std::ios::binary);
        out << "P6\n" << W << " " << H << "\n255\n";
        for (int y = H - 1; y >= 0; y--)
            out.write(reinterpret_cast<const char*>(p.At(0, y)), W * 3);
    }
}

} // namespace
