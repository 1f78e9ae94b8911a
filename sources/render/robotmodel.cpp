// robotmodel: the models' records, attacks, gestures and the replay of other copies' effects.
#include "render/robotmodel.h"

#include "data/registry.h"
#include "foundation/refusals.h"
#include "foundation/utilities.h"
#include "net/packets.h"
#include "render/animations.h"
#include "robots/robot.h"
#include "sound/sound.h"
#include "world/gamehooks.h"
#include "world/world.h"

#include <cstdio>
#include <cstdlib>

namespace {

// ---- gestures

void MarkPosed(Robot* robot) {
    RobotModelOf(robot)->posed = 1;
}

// Six steps: the arms swing up and out further each tick while the sphere grows. The sixth
// step would divide by zero; it holds the fifth step's pose.
int StepHoverGesture(void* data) {
    ModelAction* gesture = static_cast<ModelAction*>(data);
    if (gesture->counter == 0)
        return EAnimationFinished;
    int c = --gesture->counter;
    if (c > 0) {
        double k = 8 - c;
        HoverJoints& j = RobotModelOf(gesture->robot)->hover;
        j.leftShoulderY = j.rightShoulderY = static_cast<int32_t>(k / c * 15);
        j.leftShoulderX = j.rightShoulderX = static_cast<int32_t>(k / c * 45);
        j.leftElbowTilt = j.rightElbowX = 60;
        MarkPosed(gesture->robot);
    }
    return EAnimationChanged;
}

// Six steps: the dome makes one full turn.
int StepDalekGesture(void* data) {
    ModelAction* gesture = static_cast<ModelAction*>(data);
    if (gesture->counter == 0)
        return EAnimationFinished;
    int c = --gesture->counter;
    RobotModelOf(gesture->robot)->domeAngle =
        static_cast<double>(DALEK_GESTURE_STEPS - c) / DALEK_GESTURE_STEPS * 360.0;
    MarkPosed(gesture->robot);
    return EAnimationChanged;
}

// Two phases of four steps: first Johnny 5 crouches with its arms and head lowered, then it
// straightens up and throws its arms over its head.
int StepJohnny5Gesture(void* data) {
    ModelAction* gesture = static_cast<ModelAction*>(data);
    if (gesture->counter == 0)
        return EAnimationFinished;
    RobotModel* model = RobotModelOf(gesture->robot);
    double c = gesture->counter, r = (JOHNNY5_GESTURE_STEPS - c) / c;
    Johnny5Joints& j = model->johnny;
    if (model->skillPhase == 0) {
        j.head = static_cast<int32_t>(r * -15);
        j.leftUpperArm = j.rightUpperArm = static_cast<int32_t>(r * -25 - 15);
        j.leftForearm = j.rightForearm = static_cast<int32_t>(r * 10 + 30);
        j.torso = static_cast<int32_t>(r * -5 + 75);
    } else {
        j.head = static_cast<int32_t>(r * 15 - 15);
        j.leftUpperArm = j.rightUpperArm = static_cast<int32_t>(r * 120 - 55);
        j.leftForearm = j.rightForearm = static_cast<int32_t>(r + 25);
        j.torso = static_cast<int32_t>(r * 20 + 50);
    }
    gesture->counter--;
    model->posed = 1;
    return EAnimationChanged;
}

struct ModelInfo {
    int classUid;
    RobotModelKind kind;
    bool firesEveryWeapon;
    const char* gestureSound; // null: no gesture
    AnimationStep gestureStep;
    int gestureSteps;
};

constexpr ModelInfo MODELS[] = {
    {HOVER_CLASS_UID, EHoverModel, true, "sounds\\ff7magic.wav", StepHoverGesture,
     HOVER_GESTURE_STEPS},
    {DALEK_CLASS_UID, EDalekModel, true, "images\\dalekfire.wav", StepDalekGesture,
     DALEK_GESTURE_STEPS},
    {JOHNNY5_CLASS_UID, EJohnny5Model, false, "sounds\\ff7magic.wav", StepJohnny5Gesture,
     JOHNNY5_GESTURE_STEPS},
};
constexpr ModelInfo NO_MODEL = {0, ENoModel, true, nullptr, nullptr, 0};

const ModelInfo& InfoFor(int kind) {
    for (const ModelInfo& info : MODELS) {
        if (info.kind == kind)
            return info;
    }
    return NO_MODEL;
}

void RestPose(RobotModel* model) {
    model->hover = HoverJoints{};
    model->domeAngle = 0;
    model->johnny = JOHNNY5_REST;
    model->skillPhase = 0;
    model->posed = 1;
}

ModelAction* NewAction(Robot* robot, Robot* target, int counter, int uid, int apply) {
    ModelAction* action = static_cast<ModelAction*>(SafeMalloc(sizeof(ModelAction)));
    *action = {robot, target, counter, uid, apply};
    return action;
}

// The effect of the gesture's skill, for this copy and (sent) the others.
void StartSkillEffect(ModelAction* action) {
    if (!action->apply) {
        std::free(action);
        return;
    }
    Robot *robot = action->robot, *target = action->target;
    int uid = action->uid;
    AnimateSkillEffect(robot, target, uid, SkillAnimationDone, action);
    gHooks.animation(robot, target, ESkillEffectAnimation, static_cast<uint32_t>(uid));
}

AnimationDraw GestureDraw(int kind) {
    return kind == EHoverModel ? gAnimationDrawers.hoverGesture : nullptr;
}

void GestureDone(void* data) {
    ModelAction* gesture = static_cast<ModelAction*>(data);
    RobotModel* model = RobotModelOf(gesture->robot);
    if (model->kind == EJohnny5Model && model->skillPhase == 0) {
        model->skillPhase = 1;
        gesture->counter = JOHNNY5_GESTURE_STEPS;
        AddAnimation(gesture, StepJohnny5Gesture, nullptr, GestureDone, nullptr,
                     EFFECT_ANIMATION_PRIORITY);
        return;
    }
    RestPose(model);
    StartSkillEffect(gesture);
}

void FireWeapon(Robot* robot, int firedUid, int weaponUid, Robot* target, int apply) {
    robot->acting = 1;
    AnimateWeaponEffect(robot, target, firedUid, WeaponAnimationDone,
                        NewAction(robot, target, 0, firedUid, apply));
    if (apply)
        gHooks.animation(robot, target, EWeaponAnimation, static_cast<uint32_t>(weaponUid));
}

// Why a packet is dropped, on the console (summarised with the other refusals).
bool Drop(const char* why, int64_t what) {
    ReportRefusal("Animation packet dropped: %s %lld", why, static_cast<long long>(what));
    return false;
}

bool KnownSkill(uint32_t uid) {
    int id = static_cast<int32_t>(uid);
    return GetObjectTypeFromUID(id) == ESkillType && LookupSkill(gRegistry, id) != nullptr;
}

bool KnownWeapon(uint32_t uid) {
    int id = static_cast<int32_t>(uid);
    return GetObjectTypeFromUID(id) == EWeaponType && LookupWeapon(gRegistry, id) != nullptr;
}

bool ReplayWall(const AnimationPacket* packet, Robot* actor, World* world, bool server) {
    if (!CellFromOutside(world, packet->x, packet->y, packet->z))
        return Drop("wall off the grid at x", packet->x);
    Location cell = {static_cast<int32_t>(packet->x), static_cast<int32_t>(packet->y),
                     static_cast<int32_t>(packet->z)};
    int strength = static_cast<int>(actor->stats.power * 3.0 + actor->stats.dexterity * 3.0);
    StartWallAnimation(actor, world, &cell, strength, server ? 0 : 1, 1,
                       static_cast<float>(packet->facing));
    return true;
}

} // namespace

RobotModel* NewRobotGLData(Robot* robot) {
    RobotModel* model = static_cast<RobotModel*>(SafeMalloc(sizeof(RobotModel)));
    *model = RobotModel{};
    model->classUid = robot->robotClass != nullptr ? robot->robotClass->uid : 0;
    model->colorSlot = robot->index;
    for (const ModelInfo& info : MODELS) {
        if (info.classUid == model->classUid)
            model->kind = info.kind;
    }
    if (model->kind == ENoModel)
        std::printf("NewRobotGLData: Unknown robot class uid %d: drawn as a box\n",
                    model->classUid);
    RestPose(model);
    return model;
}

RobotModel* RobotModelOf(Robot* robot) {
    if (robot->glData == nullptr)
        robot->glData = NewRobotGLData(robot);
    return static_cast<RobotModel*>(robot->glData);
}

void SetRobotClipPlane(Robot* robot, const double plane[4]) {
    RobotModel* model = RobotModelOf(robot);
    model->clipOn = 1;
    for (int i = 0; i < 4; i++)
        model->clipPlane[i] = plane[i];
}

void ClearRobotClipPlane(Robot* robot) {
    RobotModelOf(robot)->clipOn = 0;
}

void RobotAnimateWeapon(Robot* robot, int weaponUid, Robot* target, int apply) {
    const ModelInfo& info = InfoFor(RobotModelOf(robot)->kind);
    if (robot->nWeapons <= 0)
        return;
    if (info.firesEveryWeapon) {
        for (int i = 0; i < robot->nWeapons; i++)
            FireWeapon(robot, robot->weapons[i], weaponUid, target, apply);
    } else {
        FireWeapon(robot, robot->weapons[RandomInt(0, robot->nWeapons - 1)], weaponUid, target,
                   apply);
    }
}

void RobotShowDamage(Robot* robot, const Stats* delta, uint8_t flag) {
    StartDamageDisplay(robot, delta, flag, DAMAGE_DISPLAY_TICKS);
}

void RobotAnimateSkill(Robot* robot, int skillUid, Robot* target, int apply) {
    RobotModel* model = RobotModelOf(robot);
    const ModelInfo& info = InfoFor(model->kind);
    ModelAction* gesture = NewAction(robot, target, info.gestureSteps, skillUid, apply);
    robot->acting = 1;
    if (apply)
        gHooks.animation(robot, target, ESkillAnimation, static_cast<uint32_t>(skillUid));
    if (info.gestureStep == nullptr) {
        StartSkillEffect(gesture);
        return;
    }
    model->skillPhase = 0;
    AddAnimation(gesture, info.gestureStep, GestureDraw(model->kind), GestureDone, nullptr,
                 EFFECT_ANIMATION_PRIORITY);
    PlaySoundFile(info.gestureSound);
}

void WeaponAnimationDone(void* data) {
    ModelAction* action = static_cast<ModelAction*>(data);
    if (action->apply)
        gAnimationHooks.fight(action->robot, action->target, action->uid);
    std::free(action);
}

void SkillAnimationDone(void* data) {
    ModelAction* action = static_cast<ModelAction*>(data);
    if (action->apply && KnownSkill(action->uid))
        gAnimationHooks.useSkill(action->robot, action->target, action->uid);
    std::free(action);
}

int HoverSkillSphere(const ModelAction* gesture) {
    int sphere = HOVER_GESTURE_STEPS - gesture->counter;
    return sphere < HOVER_SKILL_SPHERES ? sphere : HOVER_SKILL_SPHERES - 1;
}

bool ReplayAnimationPacket(const AnimationPacket* packet, World* world, int32_t localRobotUid) {
    const bool server = localRobotUid == -1;
    const int32_t actorUid = static_cast<int32_t>(packet->robotUid);
    if (actorUid == localRobotUid)
        return false;
    if (server && (IsComputerUid(actorUid) || packet->type != EWallAnimation))
        return false;
    Robot* actor = FindRobotInWorld(world, actorUid);
    if (actor == nullptr)
        return Drop("unknown robot", actorUid);
    if (packet->type == EWallAnimation)
        return ReplayWall(packet, actor, world, server);
    Robot* target = FindRobotInWorld(world, static_cast<int32_t>(packet->targetUid));
    if (target == nullptr)
        return Drop("unknown target robot", static_cast<int32_t>(packet->targetUid));
    switch (packet->type) {
    case ESkillAnimation:
        if (!KnownSkill(packet->value))
            return Drop("unknown skill", static_cast<int32_t>(packet->value));
        RobotAnimateSkill(actor, -1, target, 0);
        return true;
    case EWeaponAnimation:
        // The menus' "Fight" names no weapon: its shots carry none.
        if (packet->value != NO_UID && !KnownWeapon(packet->value))
            return Drop("unknown weapon", static_cast<int32_t>(packet->value));
        RobotAnimateWeapon(actor, -1, target, 0);
        return true;
    case ESkillEffectAnimation:
        if (!KnownSkill(packet->value))
            return Drop("unknown skill", static_cast<int32_t>(packet->value));
        AnimateSkillEffect(actor, target, static_cast<int32_t>(packet->value), nullptr, nullptr);
        return true;
    default:
        return Drop("unknown animation type", packet->type);
    }
}
