// The game window for the window tests, with its camera: opened once, by whichever test suite
// runs first, and read back pixel by pixel; with it the headers of the game's drawing and of the
// robots' and animations' test fixtures.
#pragma once

#include "core/draw/scenedraw.h"
#include "core/draw/window.h"
#include "core/game.h"
#include "render/draw/animationsdraw.h"
#include "render/draw/glutils.h"
#include "render/draw/worlddraw.h"
#include "support/animation_support.h"

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
    // The game quits when its window closes; the tests' window closes only as the program
    // ends, and quitting then would turn the tests' failure into success.
    glutCloseFunc(nullptr);
    for (int i = 0; i < 20; i++)
        glutMainLoopEvent();
    InitCamera();
    Reshape(640, 480);
}

constexpr int W = 640, H = 480;
using PixelTest = std::function<bool(const unsigned char*)>;

// The window's picture as last drawn, counted from its bottom left.
struct Picture {
    std::vector<unsigned char> rgb = std::vector<unsigned char>(W * H * 3);
    Picture() { glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, rgb.data()); }
    const unsigned char* At(int x, int y) const { return &rgb[(y * W + x) * 3]; }
    // Pixels of the columns [x0, x1) that pass the test; rows gives the lowest and highest row.
    int Count(const PixelTest& test, int x0 = 0, int x1 = W, int* rows = nullptr) const {
        int n = 0;
        for (int y = 0; y < H; y++)
            for (int x = x0; x < x1; x++)
                if (test(At(x, y)) && ++n > 0 && rows != nullptr) {
                    rows[0] = n == 1 ? y : rows[0];
                    rows[1] = y;
                }
        return n;
    }
};

// The colour drawn at (x, y).
inline std::vector<int> Pixel(int x, int y) {
    Picture picture;
    const unsigned char* p = picture.At(x, y);
    return {p[0], p[1], p[2]};
}
