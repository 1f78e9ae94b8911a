// animations: the timed effects of the game and what they change in it.
//
// Weapon shots (the plasma beam, the ice and big-shot volleys), skill effects (stars, balls,
// invisibility), floating damage numbers, the sonar pulse, the battle shield, the teleport, the
// temporary wall, smoke and the camera's flights. Each effect is one kind of animation for the
// manager (animationmanager.h): a start operation that makes the effect's data, plays its sound
// and adds it; a step that counts its ticks and changes what the game must know (a robot's
// flags, a wall cell, the reveal sphere, a teleport, the camera); and a completion that frees
// the data and hands over to the caller's completion. None of it calls GL: the enemy server
// runs the same effects without a window. What each effect looks like is drawn by
// draw/animationsdraw.cpp through the routines of gAnimationDrawers, which stay null in a
// process that draws nothing.
//
// The camera and the battle's rules lie above this layer; an effect reaches them through
// gAnimationHooks, which the game fills at start-up and tests fill with recorders. The packets
// that tell the other copies go out through the game's hooks (world/gamehooks.h).
#pragma once

#include "data/stats.h"
#include "foundation/utilities.h"
#include "render/animationmanager.h"

#include <cstdint>

struct Robot;
struct World;

// ---- what the effects tell the game

struct AnimationHooks {
    // The camera: the sonar's reveal sphere, the offsets a camera flight moves, the first-person
    // switch it ends with, and whether textures are on (read when the effect lists are made).
    void (*setRevealSphere)(const Vector3* centre, double radius);
    void (*clearRevealSphere)();
    Vector3* (*getEyeOffset)();
    Vector3* (*getLookOffset)();
    void (*setEyeOffset)(const Vector3* offset);
    void (*setLookOffset)(const Vector3* offset);
    void (*setFirstPerson)(int on);
    int (*getTexturesOn)();
    // The battle: a weapon shot or a skill has landed; its result is computed and applied.
    void (*fight)(Robot* actor, Robot* target, int weaponUid);
    void (*useSkill)(Robot* actor, Robot* target, int skillUid);
};
extern AnimationHooks gAnimationHooks;
// A table whose every entry does nothing (the getters give a zero vector): what
// gAnimationHooks holds until the game fills it.
AnimationHooks SilentAnimationHooks();

// ---- how the effects are drawn (filled by InitAnimations in draw/animationsdraw.h)

struct AnimationDrawers {
    AnimationDraw plasma;
    AnimationDraw volley;
    AnimationDraw star;
    AnimationDraw balls;
    AnimationDraw damage;
    AnimationDraw sonar;
    AnimationDraw shield;
    AnimationDraw wall;
    AnimationDraw smoke;
    AnimationDraw hoverGesture; // the Hover's growing sphere (robotmodel.h)
};
extern AnimationDrawers gAnimationDrawers;

// ---- the effects' data, read by their draw routines

// Called with its argument when an effect that ends an action is over; may be null.
using EffectCompletion = void (*)(void* argument);

struct PlasmaShot {
    Robot* attacker;
    Robot* target;
    int counter; // 9 down to 1
    EffectCompletion completion;
    void* argument;
};

struct Pellet {
    Vector3 position;
    Vector3 velocity; // per drawn frame
};
constexpr int MIN_VOLLEY_PELLETS = 20;
constexpr int MAX_VOLLEY_PELLETS = 40;
struct Volley {
    Pellet pellets[MAX_VOLLEY_PELLETS];
    int count;
    int facing;
    Color color;
    int counter; // 4 down to 0
    EffectCompletion completion;
    void* argument;
};

// The star and balls effects: sprites on five rising spirals around the robot.
struct SpiralEffect {
    Robot* robot;
    Robot* target;
    int counter;
    EffectCompletion completion;
    void* argument;
};

struct Invisibility {
    Robot* robot;
    int counter;
    EffectCompletion completion;
    void* argument;
};

struct DamageDisplay {
    Robot* robot;
    Stats delta;
    uint8_t flag;
    int counter;
};

struct SonarPulse {
    Robot* robot;
    Color color;
    Color specular;
    double step;
    double radius; // one step to start with, one more each tick
    int counter;
};

struct BattleShield {
    Robot* first;
    Robot* second;
    Vector3 centre;
    int descending;
    int counter; // 10 down to 0
};

struct TeleportEffect {
    Robot* robot;
    World* world;
    Location destination;
    int vanishing;
    int counter; // 8 down to 0
};

struct WallEffect {
    Robot* robot;
    World* world;
    Location cell;
    int hold; // ticks the wall stands once it has faded in
    int visible;
    int fadingIn;
    float angle;
    int counter;  // 8 down to 0 while fading
    int ownsCell; // the cell was empty and this wall made it solid
};

struct Particle {
    float position[3];
    float spread[3];
    float size;
    float age; // 0 to 1, then again from 0
    float alpha;
};
constexpr int SMOKE_PARTICLES = 25;
struct ParticleSystem {
    float origin[3];
    float drift[3];
    float baseSize;
    float growth;
    float brightness;
    int count;
    Particle particles[SMOKE_PARTICLES];
};

struct Smoke {
    Robot* robot;
    World* world;
    Location cell;
    ParticleSystem particles;
    int counter;
    EffectCompletion completion;
    void* argument;
};

struct CameraMove {
    Vector3 eyeStep;
    Vector3 lookStep;
    int firstPerson; // the camera's first-person switch once the flight is over
    int counter;
};

// ---- colours

constexpr Color ICE_VOLLEY_COLOR = {0.0f, 1.0f, 1.0f, 0.9f};
constexpr Color BIG_SHOT_VOLLEY_COLOR = {1.0f, 0.3f, 0.0f, 0.9f};
constexpr Color DAMAGE_GAIN_COLOR = {0.0f, 1.0f, 0.2f, 1.0f};
constexpr Color HP_LOSS_COLOR = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr Color ENERGY_LOSS_COLOR = {1.0f, 0.0f, 0.0f, 1.0f};

// ---- the effects

constexpr int ICE_VOLLEY_UID = 5000;
constexpr int BIG_SHOT_UID = 5001;
constexpr int PLASMA_GUN_UID = 5002;
constexpr int SELF_REPAIR_UID = 8000;
constexpr int STAR_STRIKE_UID = 8001;
constexpr int BALLS_SKILL_UID = 8002;
constexpr int INVISIBILITY_UID = 8003;
// The skills taught by chests show the star burst or the balls.
constexpr int ARC_LANCE_UID = 8004;
constexpr int BALL_STORM_UID = 8005;
constexpr int NOVA_BURST_UID = 8006;
constexpr int ICE_ORBS_UID = 8007;
constexpr int DAMAGE_DISPLAY_TICKS = 4;
constexpr int WALL_KEY_HOLD_TICKS = 20;

// A weapon's shot from the attacker's centre to the target's, with its sound. A weapon without
// a shot of its own (not 5000 to 5002) is named on the console and its completion runs at once,
// so the attack still lands.
void AnimateWeaponEffect(Robot* attacker, Robot* target, int weaponUid, EffectCompletion completion,
                         void* argument);
// A skill's effect with the sound its definition names. A skill without an effect of its own
// (not 8000 to 8007), or one the registry does not know, is named on the console and its
// completion runs at once.
void AnimateSkillEffect(Robot* robot, Robot* target, int skillUid, EffectCompletion completion,
                        void* argument);

void StartPlasmaShot(Robot* attacker, Robot* target, EffectCompletion completion, void* argument);
void StartVolley(const Vector3* from, const Vector3* to, int facing, const Color* color,
                 EffectCompletion completion, void* argument);
void StartStarEffect(Robot* robot, Robot* target, EffectCompletion completion, void* argument);
void StartBallsEffect(Robot* robot, Robot* target, EffectCompletion completion, void* argument);
// The robot is invisible (skillFlag) for ticks ticks.
void StartInvisibility(Robot* robot, int ticks, EffectCompletion completion, void* argument);
// The delta's HP and energy float above the robot for ticks ticks.
void StartDamageDisplay(Robot* robot, const Stats* delta, uint8_t flag, int ticks);
// A dome growing around the robot to radius (and one step more) over ticks ticks; what lies
// inside it is revealed while it grows.
void StartSonar(Robot* robot, const Color* color, const Color* specular, double radius, int ticks);
// The dome over a battle at centre: coming down (and staying while the first robot is in a
// battle), then lifting.
void StartBattleShield(Robot* first, Robot* second, const Vector3* centre, int descending);
// The robot fades out from the feet up (vanishing), FinishTeleport puts it on destination, and
// it fades in; teleporting is set meanwhile and a local robot's moves are dropped at both ends.
void StartTeleport(Robot* robot, World* world, const Location* destination, int vanishing);
// A wall in cell that fades in, stands hold ticks and fades out; an empty cell is solid while
// it stands. A cell off the grid gets no wall (a message says so).
void StartWallAnimation(Robot* robot, World* world, const Location* cell, int hold, int visible,
                        int fadingIn, float angle);
// Smoke rising from the robot for ticks ticks.
void StartSmoke(Robot* robot, World* world, const Location* cell, int ticks,
                EffectCompletion completion, void* argument);
// The camera's offsets glide to eye and look over ticks ticks; then first person is set to
// firstPerson.
void StartCameraMove(const Vector3* eye, const Vector3* look, int firstPerson, int ticks);

// ---- the effects behind the game's hooks teleport, raiseWall, smoke and sonar (gamehooks.h)

// Teleports the robot to its targetCell, unless a teleport of it is under way.
void RobotTeleportEffect(Robot* robot, World* world);
// The wall of item 7003 or of a received wall: fades in, holds, fades out.
void RobotWallEffect(Robot* robot, World* world, const Location* cell, int holdTicks, int facing);
// Smoke from the robot's cell.
void RobotSmokeEffect(Robot* robot, World* world, int ticks);
// The sonar pulse (the same as StartSonar).
void RobotSonarEffect(Robot* robot, const Color* color, const Color* specular, double radius,
                      int ticks);

// ---- what the draw routines show, decided here

// The plasma list shown: 1 to 9, a beam 0.2 x (list + 1) long.
int PlasmaBeamList(const PlasmaShot* shot);
// The frame of the star (0 to 8; 8 is empty) and balls (0 to 11) lists shown. The balls'
// frame before their first tick is their first frame.
int StarFrame(const SpiralEffect* effect);
int BallsFrame(const SpiralEffect* effect);
// Moves every pellet one drawn frame on.
void AdvanceVolley(Volley* volley);
// The d of the shield's clip plane (0, 0, 1, d): the dome shows above height -d.
double ShieldClipHeight(const BattleShield* shield);
// The wall's opacity: rising from 0 to 1 while fading in, falling while fading out.
float WallAlpha(const WallEffect* wall);

struct DamageLabel {
    char text[12];
    Color color;
    double height; // above the robot's drawing position
};
// The HP number (at 0.9) and the energy number (at 0.7) that are not 0, in that order: a loss of
// HP white, of energy red, any gain green. Returns how many.
int DamageLabels(const DamageDisplay* display, DamageLabel labels[2]);

// Advances every particle by dt of its life.
void AdvanceParticles(ParticleSystem* system, float dt);
