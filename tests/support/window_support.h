// The game window for the window tests: opened once, by whichever test suite runs first.
#pragma once

#include "core/draw/window.h"

#include <GL/freeglut.h>

inline void OpenTestWindow() {
    if (glutGet(GLUT_INIT_STATE))
        return;
    static char arg0[] = "window_tests";
    static char* argv[] = {arg0, nullptr};
    int argc = 1;
    OpenGameWindow(&argc, argv);
    InitGL();
    RegisterCallbacks();
    for (int i = 0; i < 20; i++)
        glutMainLoopEvent();
    Reshape(640, 480);
}
