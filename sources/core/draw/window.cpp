// window: GLUT set-up, callbacks routed through the game object, and the timer tick.
#include "core/draw/window.h"

#include "core/game.h"
#include "core/mainloop.h"
#include "core/wander.h"
#include "core/draw/scenedraw.h"
#include "ui/dialog.h"
#include "ui/menu.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

void OpenGameWindow(int* argc, char** argv) {
    glutInit(argc, argv);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutInitWindowSize(640, 480);
    glutInitWindowPosition(100, 100);
    glutCreateWindow("Vantrell IV");
}

void InitGL() {
    const GLfloat diffuse[4] = {0.7f, 0.7f, 0.7f, 1.0f};
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glLoadIdentity();
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
}

void RegisterCallbacks() {
    glutDisplayFunc(Display);
    glutReshapeFunc(Reshape);
    glutMouseFunc(Mouse);
    glutKeyboardFunc(Keyboard);
    glutSpecialFunc(SpecialKeys);
    // Closing the window from the window manager leaves the game as 'q' does: the other copies
    // hear that our robot leaves and the music stops.
    glutCloseFunc(Quit);
}

void Display() {
    if (gGame != nullptr && gGame->display != nullptr)
        gGame->display();
}

void Reshape(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 1.3333333333333333, 0.2, 20.0);
    glMatrixMode(GL_MODELVIEW);
    // The menus' dialogs are built again at the new size when next shown.
    SetDialogViewport(width, height);
    LayoutMenus(width, height);
    if (gCamera != nullptr)
        MarkFrustumDirty();
}

void Mouse(int /*button*/, int /*state*/, int /*x*/, int /*y*/) {}

void Keyboard(unsigned char key, int x, int y) {
    if (gGame != nullptr && gGame->keyboard != nullptr)
        gGame->keyboard(key, x, y);
}

void SpecialKeys(int key, int x, int y) {
    if (gGame != nullptr && gGame->special != nullptr)
        gGame->special(key, x, y);
}

// The owner step every few milliseconds: received packets are handled on this thread soon
// after they arrive, and the game's tick runs when it is due.
void TimerTick(int /*value*/) {
    if (RunOwnerStep(GetTimeStamp).changed)
        glutPostRedisplay();
    glutTimerFunc(PUMP_MILLISECONDS, TimerTick, 0);
}

void StartTimer() {
    StartOwnerLoop(GetTimeStamp);
    glutTimerFunc(PUMP_MILLISECONDS, TimerTick, 0);
}

void RegisterWanderingHandlers() {
    RegisterGameModeHandlers(EWanderingMode, WanderDisplay, WanderKeyboard, WanderSpecialKeys);
}
