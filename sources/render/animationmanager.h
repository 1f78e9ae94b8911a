// animationmanager: every running animation in one list, in order of priority.
//
// An animation is data its starter owns plus three routines: a step run once per game tick, a
// draw run once per frame and a completion run once when the step says it is finished (the
// completion usually frees the data, and may add animations of its own). The manager orders,
// steps, draws and retires; it knows nothing of what is drawn. A draw routine may be null:
// the enemy server, which has no window, steps the same animations and draws none.
//
// Order: higher priorities first; equal priorities in the order they were added. The game uses
// 12 for camera moves and plasma shots, 10 for most effects and the robots' gestures, 0 for
// the sonar pulse, the battle shield and the teleport.
//
// Threads: the list belongs to the thread that owns the game state (the GLUT thread of a
// playing copy, the loop of the enemy server), which adds, steps and draws; it takes no lock.
#pragma once

using AnimationStep = int (*)(void* data);
using AnimationDraw = void (*)(void* data);
using AnimationCompletion = void (*)(void* data);
using AnimationAfterCompletion = void (*)();

// What a step reports.
enum AnimationStepResult : int {
    EAnimationUnchanged = 0, // nothing to redraw
    EAnimationChanged = 1,   // redraw
    EAnimationFinished = 2,  // retire it: completion, then after-completion, then gone
};

struct AnimationNode {
    AnimationStep step;
    AnimationDraw draw;
    AnimationCompletion completion;
    AnimationAfterCompletion afterCompletion;
    void* data;
    int priority;
    AnimationNode* next;
    AnimationNode* previous;
};

// The head is a sentinel of priority 10000 that is never stepped, drawn or removed.
struct AnimationManager {
    AnimationNode* head;
};

constexpr int CAMERA_ANIMATION_PRIORITY = 12;
constexpr int EFFECT_ANIMATION_PRIORITY = 10;
constexpr int BACKGROUND_ANIMATION_PRIORITY = 0;

extern AnimationManager* gAnimationMgr;

// Creates gAnimationMgr; calling it again does nothing.
void InitAnimationManager();
// Frees the manager and its nodes (not their data) and sets gAnimationMgr to null.
void FreeAnimationManager();
// Adding before InitAnimationManager is a programming error.
void AddAnimation(void* data, AnimationStep step, AnimationDraw draw,
                  AnimationCompletion completion, AnimationAfterCompletion afterCompletion,
                  int priority);
// One tick: every animation's step in list order; retires the finished ones. 1 when any step
// reported a change or an end, else 0. An animation added by a completion during the pass is
// stepped in it only when it lands after the node that followed the retiring one.
int AdvanceAnimations();
// One frame: every draw routine in list order (null ones skipped).
void DrawAnimations();
// How many animations are running (0 before InitAnimationManager).
int AnimationCount();
