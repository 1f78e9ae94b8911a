// The texture cache under Xvfb: a textured box shows its texture's picture, first loaded inside a
// display list and later bound from the cache without reading the file again.
#include "render/draw/glutils.h"
#include "support/test_support.h"
#include "support/window_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The top of a unit textured box seen from above fills the window; white, unlit.
std::vector<int> Pixel(int x, int y) {
    unsigned char p[3] = {};
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

TEST(GLUtilsWindow, ATexturedBoxShowsItsTextureFromAListAndFromTheCache) {
    OpenTestWindow();
    InitGLUtils();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.5, 0.5, -0.5, 0.5, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    GLint bound[2] = {};
    {
        ScopedEnv data("VANTRELL_DATA", VANTRELL_FIXTURES);
        GLuint list = NewDisplayListSet("texture test", 1);
        BeginDisplayList(list, GL_COMPILE);
        EXPECT_EQ(UseTexture("images\\rgb.bmp"), 1);
        DrawTexturedBox(1, 1, 1);
        DisableTexture();
        EndDisplayList();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glCallList(list);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound[0]);
        // The face shows the picture a quarter turn to the left: its columns run up the window
        // and its bottom row lies along the right edge. Texel (1, 0) is (200, 30, 60), (6, 2) is
        // (180, 60, 135).
        EXPECT_EQ(Pixel(560, 90), (std::vector<int>{200, 30, 60}));
        EXPECT_EQ(Pixel(240, 390), (std::vector<int>{180, 60, 135}));
    }
    {
        // Bound again from the cache: the file is not read again.
        ScopedEnv nowhere("VANTRELL_DATA", "/nonexistent");
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        EXPECT_EQ(UseTexture("images\\rgb.bmp"), 1);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound[1]);
        DrawTexturedBox(1, 1, 1);
        EXPECT_EQ(Pixel(560, 90), (std::vector<int>{200, 30, 60}));
        EXPECT_EQ(bound[1], bound[0]);
        EXPECT_EQ(UseTexture("none"), 0); // leaves texturing on, as it was
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    }
    glPopAttrib();
    Reshape(640, 480);
}

} // namespace
