// window: the GLUT window and its callbacks.
//
// Every callback forwards to the current game mode of gGame; the timer runs the owner step
// every few milliseconds, and with it the game's 100 ms tick when it is due.
#pragma once

// glutInit, the window "Vantrell IV" of 640 x 480 at (100, 100).
void OpenGameWindow(int* argc, char** argv);
void InitGL();
void RegisterCallbacks();
void Display();
void Reshape(int width, int height);
void Mouse(int button, int state, int x, int y);
void Keyboard(unsigned char key, int x, int y);
void SpecialKeys(int key, int x, int y);
void TimerTick(int value);
// Arms the timer; the first tick falls due 100 ms from now.
void StartTimer();
// Installs the wandering handlers (core/wander.h) into the mode table.
void RegisterWanderingHandlers();
