// animations: each effect's start, step and completion, and the dispatch of weapons and skills.
#include "render/animations.h"

#include "data/registry.h"
#include "data/skill.h"
#include "render/robotmodel.h"
#include "robots/robot.h"
#include "sound/sound.h"
#include "world/world.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

AnimationDrawers gAnimationDrawers = {};

namespace {

Vector3 gZeroOffset = {0, 0, 0};

void NoRevealSphere(const Vector3*, double) {}
void NoClear() {}
Vector3* NoOffset() {
    gZeroOffset = {0, 0, 0};
    return &gZeroOffset;
}
void NoSetOffset(const Vector3*) {}
void NoFirstPerson(int) {}
int NoTextures() {
    return 0;
}
void NoFight(Robot*, Robot*, int) {}

// An effect's data, zeroed, from the checked allocator.
template <typename T> T* NewEffect() {
    T* data = static_cast<T*>(SafeMalloc(sizeof(T)));
    *data = T{};
    return data;
}

// The common count-down: finished once the counter is at last, else one tick less.
int CountDown(int* counter, int last) {
    if (*counter <= last)
        return EAnimationFinished;
    --*counter;
    return EAnimationChanged;
}

// The effects that end an action hand over to the caller's completion and free their data.
template <typename T> void HandOver(void* data) {
    T* effect = static_cast<T*>(data);
    if (effect->completion != nullptr)
        effect->completion(effect->argument);
    std::free(effect);
}

Vector3 Centre(const Robot* robot) {
    return {robot->position.x + 0.5, robot->position.y + 0.5, robot->position.z + 0.5};
}

// ---- plasma, volleys, stars and balls

int StepPlasma(void* data) {
    return CountDown(&static_cast<PlasmaShot*>(data)->counter, 1);
}

int StepVolley(void* data) {
    return CountDown(&static_cast<Volley*>(data)->counter, 0);
}

int StepStar(void* data) {
    return CountDown(&static_cast<SpiralEffect*>(data)->counter, 1);
}

int StepBalls(void* data) {
    return CountDown(&static_cast<SpiralEffect*>(data)->counter, 0);
}

SpiralEffect* NewSpiral(Robot* robot, Robot* target, int counter, EffectCompletion completion,
                        void* argument) {
    SpiralEffect* effect = NewEffect<SpiralEffect>();
    *effect = {robot, target, counter, completion, argument};
    return effect;
}

// ---- invisibility and damage numbers

int StepInvisibility(void* data) {
    return CountDown(&static_cast<Invisibility*>(data)->counter, 0);
}

void EndInvisibility(void* data) {
    static_cast<Invisibility*>(data)->robot->skillFlag = 0;
    HandOver<Invisibility>(data);
}

int StepDamage(void* data) {
    return CountDown(&static_cast<DamageDisplay*>(data)->counter, 0);
}

void FreeEffect(void* data) {
    std::free(data);
}

// ---- sonar

int StepSonar(void* data) {
    SonarPulse* pulse = static_cast<SonarPulse*>(data);
    int result = CountDown(&pulse->counter, 0);
    if (result == EAnimationChanged) {
        pulse->radius += pulse->step;
        gAnimationHooks.setRevealSphere(&pulse->robot->position, pulse->radius);
    }
    return result;
}

void EndSonar(void* data) {
    std::free(data);
    gAnimationHooks.clearRevealSphere();
}

// ---- battle shield

constexpr int SHIELD_TICKS = 10;
constexpr double SHIELD_RADIUS = 1.5;

int StepShield(void* data) {
    BattleShield* shield = static_cast<BattleShield*>(data);
    if (CountDown(&shield->counter, 0) == EAnimationChanged)
        return EAnimationChanged;
    return shield->first->battle != nullptr ? EAnimationChanged : EAnimationFinished;
}

void EndShield(void* data);

// Both phases start here: ten ticks from the top, with the sound of the way the dome goes.
void AddShieldPhase(BattleShield* shield) {
    shield->counter = SHIELD_TICKS;
    PlaySoundFile(shield->descending ? "sounds\\bshielddown.wav" : "sounds\\bshieldup.wav");
    AddAnimation(shield, StepShield, gAnimationDrawers.shield, EndShield, nullptr,
                 BACKGROUND_ANIMATION_PRIORITY);
}

void EndShield(void* data) {
    BattleShield* shield = static_cast<BattleShield*>(data);
    if (shield->descending) {
        shield->descending = 0;
        AddShieldPhase(shield);
    } else {
        std::free(shield);
    }
}

// ---- teleport

constexpr int TELEPORT_TICKS = 8;

// The cut through the model rises from its middle to above its top while vanishing, and
// falls back to its middle while appearing.
void ClipTeleporting(const TeleportEffect* teleport) {
    double h = teleport->vanishing
                   ? (teleport->counter - TELEPORT_TICKS) / static_cast<double>(TELEPORT_TICKS)
                   : -teleport->counter / static_cast<double>(TELEPORT_TICKS);
    const double plane[4] = {0, 0, 1, h};
    SetRobotClipPlane(teleport->robot, plane);
}

int StepTeleport(void* data) {
    TeleportEffect* teleport = static_cast<TeleportEffect*>(data);
    int result = CountDown(&teleport->counter, 0);
    if (result == EAnimationChanged)
        ClipTeleporting(teleport);
    return result;
}

void EndTeleport(void* data) {
    TeleportEffect* teleport = static_cast<TeleportEffect*>(data);
    Robot* robot = teleport->robot;
    if (robot->isLocal)
        ClearMoveQueue(robot);
    if (teleport->vanishing) {
        robot->targetCell = teleport->destination;
        FinishTeleport(robot, teleport->world);
        StartTeleport(robot, teleport->world, &teleport->destination, 0);
    } else {
        ClearRobotClipPlane(robot);
        robot->teleporting = 0;
    }
    std::free(teleport);
}

// ---- wall

constexpr int WALL_FADE_TICKS = 8;

int StepWall(void* data) {
    WallEffect* wall = static_cast<WallEffect*>(data);
    if (CountDown(&wall->counter, 0) == EAnimationChanged)
        return EAnimationChanged;
    return CountDown(&wall->hold, 0);
}

void AddWall(WallEffect* wall);

void EndWall(void* data) {
    WallEffect* wall = static_cast<WallEffect*>(data);
    if (wall->fadingIn) {
        wall->fadingIn = 0;
        wall->hold = 0;
        AddWall(wall);
        return;
    }
    if (wall->ownsCell)
        SetCellSolid(wall->world, &wall->cell, true, nullptr);
    std::free(wall);
}

void AddWall(WallEffect* wall) {
    wall->counter = WALL_FADE_TICKS;
    AddAnimation(wall, StepWall, wall->visible ? gAnimationDrawers.wall : nullptr, EndWall, nullptr,
                 EFFECT_ANIMATION_PRIORITY);
}

// ---- smoke

constexpr float SMOKE_DRIFT = 2.0f;
constexpr float SMOKE_BRIGHTNESS = 0.4f;
constexpr float SMOKE_TICK = 0.003f;

void MakeParticles(ParticleSystem* system, const Vector3* origin) {
    const float start[3] = {static_cast<float>(origin->x), static_cast<float>(origin->y),
                            static_cast<float>(origin->z)};
    *system = ParticleSystem{};
    for (int axis = 0; axis < 3; axis++)
        system->origin[axis] = start[axis];
    system->drift[2] = SMOKE_DRIFT;
    system->baseSize = 0.1f;
    system->growth = 1.0f;
    system->brightness = SMOKE_BRIGHTNESS;
    system->count = SMOKE_PARTICLES;
    for (int i = 0; i < system->count; i++) {
        Particle& p = system->particles[i];
        p.age = static_cast<float>(i) / system->count;
        const float sign[3] = {-1.5f, 1.5f, 1.5f};
        for (int axis = 0; axis < 3; axis++)
            p.spread[axis] = sign[axis] * static_cast<float>(RandomRange(0.0, 1.0));
    }
    AdvanceParticles(system, 0.0f);
}

int StepSmoke(void* data) {
    Smoke* smoke = static_cast<Smoke*>(data);
    int result = CountDown(&smoke->counter, 0);
    if (result == EAnimationChanged)
        AdvanceParticles(&smoke->particles, SMOKE_TICK);
    return result;
}

// ---- camera

int StepCamera(void* data) {
    CameraMove* move = static_cast<CameraMove*>(data);
    int result = CountDown(&move->counter, 0);
    if (result == EAnimationChanged) {
        Vector3 eye = *gAnimationHooks.getEyeOffset();
        Vector3 look = *gAnimationHooks.getLookOffset();
        eye = {eye.x + move->eyeStep.x, eye.y + move->eyeStep.y, eye.z + move->eyeStep.z};
        look = {look.x + move->lookStep.x, look.y + move->lookStep.y, look.z + move->lookStep.z};
        gAnimationHooks.setEyeOffset(&eye);
        gAnimationHooks.setLookOffset(&look);
    }
    return result;
}

void EndCamera(void* data) {
    gAnimationHooks.setFirstPerson(static_cast<CameraMove*>(data)->firstPerson);
    std::free(data);
}

Vector3 PerTick(const Vector3* to, const Vector3* from, int ticks) {
    return {(to->x - from->x) / ticks, (to->y - from->y) / ticks, (to->z - from->z) / ticks};
}

} // namespace

AnimationHooks SilentAnimationHooks() {
    return {NoRevealSphere, NoClear,       NoOffset,   NoOffset, NoSetOffset,
            NoSetOffset,    NoFirstPerson, NoTextures, NoFight,  NoFight};
}

AnimationHooks gAnimationHooks = SilentAnimationHooks();

// ---- dispatch

void AnimateWeaponEffect(Robot* attacker, Robot* target, int weaponUid, EffectCompletion completion,
                         void* argument) {
    Vector3 from = Centre(attacker), to = Centre(target);
    switch (weaponUid) {
    case ICE_VOLLEY_UID:
        PlaySoundFile("sounds\\ff7ice.wav");
        StartVolley(&from, &to, attacker->facing, &ICE_VOLLEY_COLOR, completion, argument);
        break;
    case BIG_SHOT_UID:
        PlaySoundFile("sounds\\ff7bigshot.wav");
        StartVolley(&from, &to, attacker->facing, &BIG_SHOT_VOLLEY_COLOR, completion, argument);
        break;
    case PLASMA_GUN_UID:
        PlaySoundFile("sounds\\mechshot.wav");
        StartPlasmaShot(attacker, target, completion, argument);
        break;
    default:
        std::printf("Unknown weapon %d\n", weaponUid);
        if (completion != nullptr)
            completion(argument);
        break;
    }
}

void AnimateSkillEffect(Robot* robot, Robot* target, int skillUid, EffectCompletion completion,
                        void* argument) {
    const Skill* skill = LookupSkill(gRegistry, skillUid);
    if (skill == nullptr) {
        std::printf("Unknown skill %d: \n", skillUid);
        if (completion != nullptr)
            completion(argument);
        return;
    }
    PlaySoundFile(skill->sound);
    switch (skillUid) {
    case SELF_REPAIR_UID:
    case STAR_STRIKE_UID:
    case ARC_LANCE_UID:
    case NOVA_BURST_UID:
        StartStarEffect(robot, target, completion, argument);
        break;
    case BALLS_SKILL_UID:
    case BALL_STORM_UID:
    case ICE_ORBS_UID:
        StartBallsEffect(robot, target, completion, argument);
        break;
    case INVISIBILITY_UID:
        StartInvisibility(
            robot, static_cast<int>(2.0 * robot->stats.power + 2.0 * robot->stats.dexterity + 13),
            completion, argument);
        break;
    default:
        std::printf("Unknown skill %d\n", skillUid);
        if (completion != nullptr)
            completion(argument);
        break;
    }
}

// ---- starts

void StartPlasmaShot(Robot* attacker, Robot* target, EffectCompletion completion, void* argument) {
    PlasmaShot* shot = NewEffect<PlasmaShot>();
    *shot = {attacker, target, 9, completion, argument};
    AddAnimation(shot, StepPlasma, gAnimationDrawers.plasma, HandOver<PlasmaShot>, nullptr,
                 CAMERA_ANIMATION_PRIORITY);
}

void StartVolley(const Vector3* from, const Vector3* to, int facing, const Color* color,
                 EffectCompletion completion, void* argument) {
    constexpr int FRAMES_TO_TARGET = 4;
    Volley* volley = NewEffect<Volley>();
    volley->count = RandomInt(MIN_VOLLEY_PELLETS, MAX_VOLLEY_PELLETS);
    for (int i = 0; i < volley->count; i++) {
        Pellet& p = volley->pellets[i];
        p.position = *from;
        Vector3 aim = {to->x + RandomRange(-0.2, 0.2), to->y + RandomRange(-0.2, 0.2),
                       to->z + RandomRange(-0.2, 0.2)};
        p.velocity = PerTick(&aim, from, FRAMES_TO_TARGET);
    }
    volley->facing = facing;
    volley->color = *color;
    volley->counter = 4;
    volley->completion = completion;
    volley->argument = argument;
    AddAnimation(volley, StepVolley, gAnimationDrawers.volley, HandOver<Volley>, nullptr,
                 EFFECT_ANIMATION_PRIORITY);
}

void StartStarEffect(Robot* robot, Robot* target, EffectCompletion completion, void* argument) {
    AddAnimation(NewSpiral(robot, target, 9, completion, argument), StepStar,
                 gAnimationDrawers.star, HandOver<SpiralEffect>, nullptr,
                 EFFECT_ANIMATION_PRIORITY);
}

void StartBallsEffect(Robot* robot, Robot* target, EffectCompletion completion, void* argument) {
    AddAnimation(NewSpiral(robot, target, 12, completion, argument), StepBalls,
                 gAnimationDrawers.balls, HandOver<SpiralEffect>, nullptr,
                 EFFECT_ANIMATION_PRIORITY);
}

void StartInvisibility(Robot* robot, int ticks, EffectCompletion completion, void* argument) {
    Invisibility* effect = NewEffect<Invisibility>();
    *effect = {robot, ticks, completion, argument};
    robot->skillFlag = 1;
    AddAnimation(effect, StepInvisibility, nullptr, EndInvisibility, nullptr,
                 EFFECT_ANIMATION_PRIORITY);
}

void StartDamageDisplay(Robot* robot, const Stats* delta, uint8_t flag, int ticks) {
    DamageDisplay* display = NewEffect<DamageDisplay>();
    *display = {robot, *delta, flag, ticks};
    AddAnimation(display, StepDamage, gAnimationDrawers.damage, FreeEffect, nullptr,
                 EFFECT_ANIMATION_PRIORITY);
}

void StartSonar(Robot* robot, const Color* color, const Color* specular, double radius, int ticks) {
    SonarPulse* pulse = NewEffect<SonarPulse>();
    pulse->robot = robot;
    pulse->color = *color;
    pulse->specular = *specular;
    pulse->step = radius / ticks;
    pulse->radius = pulse->step;
    pulse->counter = ticks;
    PlaySoundFile("sounds\\e0sonar.wav");
    gAnimationHooks.setRevealSphere(&robot->position, pulse->radius);
    AddAnimation(pulse, StepSonar, gAnimationDrawers.sonar, EndSonar, nullptr,
                 BACKGROUND_ANIMATION_PRIORITY);
}

void StartBattleShield(Robot* first, Robot* second, const Vector3* centre, int descending) {
    BattleShield* shield = NewEffect<BattleShield>();
    *shield = {first, second, *centre, descending, SHIELD_TICKS};
    AddShieldPhase(shield);
}

void StartTeleport(Robot* robot, World* world, const Location* destination, int vanishing) {
    TeleportEffect* teleport = NewEffect<TeleportEffect>();
    *teleport = {robot, world, *destination, vanishing, TELEPORT_TICKS};
    robot->teleporting = 1;
    ClipTeleporting(teleport);
    AddAnimation(teleport, StepTeleport, nullptr, EndTeleport, nullptr,
                 BACKGROUND_ANIMATION_PRIORITY);
}

void StartWallAnimation(Robot* robot, World* world, const Location* cell, int hold, int visible,
                        int fadingIn, float angle) {
    if (world == nullptr || !OnTheGrid(world, cell->x, cell->y)) {
        std::printf("No wall at (%d, %d, %d): off the grid\n", cell->x, cell->y, cell->z);
        return;
    }
    WallEffect* wall = NewEffect<WallEffect>();
    *wall = {robot, world, *cell, hold, visible, fadingIn, angle, WALL_FADE_TICKS, 0};
    // A robot or a chest keeps its cell: the wall then only shows.
    if (GetContentType(world, cell->x, cell->y, cell->z) == EEmpty) {
        SetCellSolid(world, cell, false, nullptr);
        wall->ownsCell = 1;
    }
    AddWall(wall);
}

void StartSmoke(Robot* robot, World* world, const Location* cell, int ticks,
                EffectCompletion completion, void* argument) {
    Smoke* smoke = NewEffect<Smoke>();
    smoke->robot = robot;
    smoke->world = world;
    smoke->cell = *cell;
    smoke->counter = ticks;
    smoke->completion = completion;
    smoke->argument = argument;
    MakeParticles(&smoke->particles, &robot->position);
    AddAnimation(smoke, StepSmoke, gAnimationDrawers.smoke, HandOver<Smoke>, nullptr,
                 EFFECT_ANIMATION_PRIORITY);
}

void StartCameraMove(const Vector3* eye, const Vector3* look, int firstPerson, int ticks) {
    CameraMove* move = NewEffect<CameraMove>();
    move->eyeStep = PerTick(eye, gAnimationHooks.getEyeOffset(), ticks);
    move->lookStep = PerTick(look, gAnimationHooks.getLookOffset(), ticks);
    move->firstPerson = firstPerson;
    move->counter = ticks;
    AddAnimation(move, StepCamera, nullptr, EndCamera, nullptr, CAMERA_ANIMATION_PRIORITY);
}

// ---- the robots' effect hooks

void RobotTeleportEffect(Robot* robot, World* world) {
    if (robot->teleporting)
        return; // under way already
    StartTeleport(robot, world, &robot->targetCell, 1);
}

void RobotWallEffect(Robot* robot, World* world, const Location* cell, int holdTicks, int facing) {
    StartWallAnimation(robot, world, cell, holdTicks, 1, 1, static_cast<float>(facing));
}

void RobotSmokeEffect(Robot* robot, World* world, int ticks) {
    StartSmoke(robot, world, &robot->cell, ticks, nullptr, nullptr);
}

void RobotSonarEffect(Robot* robot, const Color* color, const Color* specular, double radius,
                      int ticks) {
    StartSonar(robot, color, specular, radius, ticks);
}

// ---- what is drawn

int PlasmaBeamList(const PlasmaShot* shot) {
    return 10 - shot->counter;
}

int StarFrame(const SpiralEffect* effect) {
    return 9 - effect->counter;
}

int BallsFrame(const SpiralEffect* effect) {
    return effect->counter > 11 ? 0 : 11 - effect->counter;
}

void AdvanceVolley(Volley* volley) {
    for (int i = 0; i < volley->count; i++) {
        Pellet& p = volley->pellets[i];
        p.position = {p.position.x + p.velocity.x, p.position.y + p.velocity.y,
                      p.position.z + p.velocity.z};
    }
}

double ShieldClipHeight(const BattleShield* shield) {
    double n = shield->descending ? -shield->counter : shield->counter - SHIELD_TICKS;
    return n / SHIELD_TICKS * SHIELD_RADIUS;
}

float WallAlpha(const WallEffect* wall) {
    float a = static_cast<float>(wall->counter) / WALL_FADE_TICKS;
    return wall->fadingIn ? 1.0f - a : a;
}

int DamageLabels(const DamageDisplay* display, DamageLabel labels[2]) {
    const struct {
        int amount;
        Color loss;
        double height;
    } rows[2] = {{display->delta.hitPoints, HP_LOSS_COLOR, 0.9},
                 {display->delta.energy, ENERGY_LOSS_COLOR, 0.7}};
    int n = 0;
    for (const auto& row : rows) {
        if (row.amount == 0)
            continue;
        DamageLabel& label = labels[n++];
        std::snprintf(label.text, sizeof label.text, "%d", std::abs(row.amount));
        label.color = row.amount > 0 ? DAMAGE_GAIN_COLOR : row.loss;
        label.height = row.height;
    }
    return n;
}

void AdvanceParticles(ParticleSystem* system, float dt) {
    for (int i = 0; i < system->count; i++) {
        Particle& p = system->particles[i];
        p.age += dt;
        if (p.age >= 1.0f)
            p.age = 0.0f;
        for (int axis = 0; axis < 3; axis++)
            p.position[axis] =
                system->origin[axis] + (system->drift[axis] + p.spread[axis]) * p.age;
        p.size = system->baseSize + p.age * system->growth;
        p.alpha = 1.0f - p.age;
    }
}
