// robotmodel: what a robot's model does besides drawing: its pose, its clip plane, its attacks
// and skill gestures, and the hooks through which the rest of the game reaches it.
//
// Three models give the robot classes their look: the Hover (class 4000), the Dalek (4001) and
// Johnny 5 (4002). Each robot carries its model's record in its glData, made on first use by
// any hook: the model kind, the colour slot, the clip plane of the teleport and the joint angles
// that the skill gestures move. The display lists that draw it belong to the drawing code
// (draw/robotdraw.h), which records them the first time the robot is drawn and again when a
// gesture has moved a joint; nothing here calls GL, so the enemy server runs the attacks and
// gestures of its robots too.
//
// A robot of a class with no model is named on the console once, when its record is made; it
// is drawn as a plain box, fires every weapon it holds and goes straight to its skills' effects.
//
// Attacks: the Hover and the Dalek fire every weapon they hold, each as its own shot; Johnny 5
// fires one, chosen at random, and nothing when it holds none. Every shot sets the robot's
// acting flag; with apply set each shot is sent to the other copies (gHooks.animation) and,
// when it lands, the battle computes its result (gAnimationHooks.fight). Skills: the model's
// gesture (sent too, with apply), then, with apply, the skill's effect (sent as well) and its
// result (gAnimationHooks.useSkill; for skill 8003, whose effect is the invisibility itself,
// the result is only its energy cost).
#pragma once

#include "data/stats.h"

#include <cstdint>

struct AnimationPacket;
struct Robot;
struct World;

constexpr int HOVER_CLASS_UID = 4000;
constexpr int DALEK_CLASS_UID = 4001;
constexpr int JOHNNY5_CLASS_UID = 4002;

enum RobotModelKind : int32_t {
    ENoModel = 0,
    EHoverModel = 1,
    EDalekModel = 2,
    EJohnny5Model = 3,
};

// Degrees. The right shoulder's y angle is drawn negated; the left elbow tilts about (1, 1, 0),
// the right one about (1, 0, 0).
struct HoverJoints {
    int32_t leftShoulderY, leftShoulderX, leftElbowY, leftElbowTilt;
    int32_t rightShoulderY, rightShoulderX, rightElbowY, rightElbowX;
};

struct Johnny5Joints {
    int32_t torso;
    int32_t leftUpperArm, leftForearm;
    int32_t rightUpperArm, rightForearm;
    int32_t head;
};
constexpr Johnny5Joints JOHNNY5_REST = {75, -15, 30, -15, 30, 0};

struct RobotModel {
    int32_t kind; // RobotModelKind
    int32_t classUid;
    int32_t colorSlot; // the robot's index when the record was made
    int32_t clipOn;
    double clipPlane[4]; // a b c d in the frame centred on the robot's cell
    HoverJoints hover;
    double domeAngle; // the Dalek's dome
    Johnny5Joints johnny;
    int32_t skillPhase; // Johnny 5's gesture: 0 first phase, 1 second
    // The drawing code's: the first list of each set (0 until first drawn), and whether a joint
    // moved since the lists were recorded.
    uint32_t normalLists;
    uint32_t invisibleLists;
    uint32_t extraLists;
    int32_t posed;
};

// What a weapon shot or a skill gesture carries from its start to its end.
struct ModelAction {
    Robot* robot;
    Robot* target;
    int32_t counter; // a gesture's steps left
    int32_t uid;     // the weapon that fired, or the skill
    int32_t apply;   // this copy acts: send the packets and apply the result
};
constexpr int HOVER_GESTURE_STEPS = 6;
constexpr int DALEK_GESTURE_STEPS = 6;
constexpr int JOHNNY5_GESTURE_STEPS = 4;
constexpr int HOVER_SKILL_SPHERES = 6;

// ---- the hooks

// A new record for the robot's class (robot->glData is left alone).
RobotModel* NewRobotGLData(Robot* robot);
// The robot's record, made and kept in glData on first use.
RobotModel* RobotModelOf(Robot* robot);
void SetRobotClipPlane(Robot* robot, const double plane[4]);
void ClearRobotClipPlane(Robot* robot);
// weaponUid goes only into the packets (-1 when another copy's attack is replayed).
void RobotAnimateWeapon(Robot* robot, int weaponUid, Robot* target, int apply);
// The delta's HP and energy float above the robot for four ticks.
void RobotShowDamage(Robot* robot, const Stats* delta, uint8_t flag);
// skillUid is -1 when another copy's gesture is replayed (apply 0).
void RobotAnimateSkill(Robot* robot, int skillUid, Robot* target, int apply);

// The completions of a weapon shot's and a skill effect's animation: with apply, the battle
// computes the result; then the action is freed.
void WeaponAnimationDone(void* action);
void SkillAnimationDone(void* action);

// ---- gestures, as the drawing code shows them

// The Hover's skill sphere while its gesture runs: 0 (smallest) before the first step up to
// 5; its sixth step holds the fifth step's pose and sphere.
int HoverSkillSphere(const ModelAction* gesture);

// ---- another copy's animation

// Replays an animation packet of another copy: a skill gesture or a weapon attack of its robot
// (shown only), a skill's effect (shown only) or a wall. localRobotUid is this copy's player
// (-1 in the enemy server, which replays walls only, and none of its own robots'). A packet
// about this copy's robot is dropped quietly; one naming a robot, weapon or skill this copy
// does not know, a cell off the grid or an unknown type is dropped with a message. True when
// an animation started.
bool ReplayAnimationPacket(const AnimationPacket* packet, World* world, int32_t localRobotUid);
