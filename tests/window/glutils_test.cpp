// The texture cache under Xvfb: a textured box shows its texture's picture, first loaded inside a
// display list and later bound from the cache without reading the file again.
#include "render/draw/glutils.h"
#include "support/test_support.h"
#include "support/window_support.h"

#include <gtest/gtest.h>

namespace {

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
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    // The face shows the picture a quarter turn to the left: its columns run up the window and
    // its bottom row lies along the right edge. Texel (1, 0) is (200, 30, 60), (6, 2) is
    // (180, 60, 135).
    const std::vector<int> texel10 = {200, 30, 60}, texel62 = {180, 60, 135};
    GLint bound[2] = {};
    for (int cached = 0; cached < 2; cached++) {
        ScopedEnv data("VANTRELL_DATA", cached ? "/nonexistent" : VANTRELL_FIXTURES);
        GLuint list = NewDisplayListSet("texture test", 1);
        BeginDisplayList(list, GL_COMPILE);
        EXPECT_EQ(UseTexture("images\\rgb.bmp"), 1);
        DrawTexturedBox(1, 1, 1);
        EndDisplayList();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glCallList(list);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound[cached]);
        EXPECT_EQ(Pixel(560, 90), texel10) << "cached " << cached;
        EXPECT_EQ(Pixel(240, 390), texel62) << "cached " << cached;
    }
    EXPECT_EQ(bound[1], bound[0]);
    EXPECT_EQ(UseTexture("none"), 0); // leaves texturing on, as it was
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glPopAttrib();
    Reshape(640, 480);
}

} // namespace
