// The real game window under Xvfb: the cleared scene and textured boxes. The world test's probes
// stand all over the view that DrawScene's camera culls by, and the wandering test walks by the
// timer tick that re-arms itself.
#include "support/window_support.h"

namespace {

// The size and title as the window manager sees them are the start-up test's.
TEST(WindowTest, ASceneWithoutItsRobotIsTheClearedBackgroundBlackOrFogGrey) {
    OpenTestWindow();
    ResetCamera();
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawScene(nullptr, 3000);
    EXPECT_EQ(Pixel(320, 240), (std::vector<int>{0, 0, 0}));
    SetFogOn(1);
    DrawScene(nullptr, 3000);
    std::vector<int> grey = Pixel(320, 240);
    EXPECT_TRUE(std::abs(grey[0] - 128) <= 1 && grey[2] == grey[0]) << grey[0] << " " << grey[2];
    ResetCamera(); // the fog off again for the other tests
}

// The texture cache: a textured box shows its texture's picture, first loaded inside a display
// list and later bound from the cache without reading the file again.
TEST(GLUtilsWindow, ATexturedBoxShowsItsTextureFromAListAndFromTheCache) {
    OpenTestWindow();
    InitGLUtils();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.5, 0.5, -0.5, 0.5, -2, 2); // the top of a unit box, seen from above, fills it
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    // The face shows the picture a quarter turn to the left: its columns run up the window and
    // its bottom row lies along the right edge. Texel (1, 0) is (200, 30, 60), (6, 2) is
    // (180, 60, 135).
    GLint bound[2] = {};
    for (int cached = 0; cached < 2; cached++) {
        ScopedEnv data("VANTRELL_DATA", cached ? "/nonexistent" : VANTRELL_FIXTURES);
        GLuint list = NewDisplayListSet("texture test", 1);
        BeginDisplayList(list, GL_COMPILE);
        int used = UseTexture("images\\rgb.bmp");
        DrawTexturedBox(1, 1, 1);
        EndDisplayList();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glCallList(list);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound[cached]);
        EXPECT_EQ(std::tuple(used, Pixel(560, 90), Pixel(240, 390)),
                  std::tuple(1, std::vector{200, 30, 60}, std::vector{180, 60, 135}))
            << "cached " << cached;
    }
    // "none" leaves texturing on, as it was.
    EXPECT_EQ((std::tuple{bound[1], UseTexture("none"), glIsEnabled(GL_TEXTURE_2D)}),
              std::tuple(bound[0], 0, GLboolean(GL_TRUE)));
    glPopAttrib();
    Reshape(640, 480);
}

} // namespace
