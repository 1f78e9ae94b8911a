// The game window for the window tests: opened once, by whichever test suite runs first, and
// read back pixel by pixel.
#pragma once

#include "core/draw/window.h"

#include <GL/freeglut.h>

#include <vector>

inline void OpenTestWindow() {
    if (glutGet(GLUT_INIT_STATE))
        return;
    static char arg0[] = "window_tests";
    static char* argv[] = {arg0, nullptr};
    int argc = 1;
    OpenGameWindow(&argc, argv);
    InitGL();
    RegisterCallbacks();
    // The game quits when its window closes; the tests' window closes only as the program
    // ends, and quitting then would turn the tests' failure into success.
    glutCloseFunc(nullptr);
    for (int i = 0; i < 20; i++)
        glutMainLoopEvent();
    Reshape(640, 480);
}

// The colour drawn at (x, y), counted from the window's bottom left.
inline std::vector<int> Pixel(int x, int y) {
    unsigned char p[3] = {9, 9, 9};
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}
