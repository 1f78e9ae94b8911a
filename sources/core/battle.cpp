// battle: the set-up, the keys, the formulas, the results on every copy and the end of a battle.
#include "core/battle.h"

#include "core/game.h"
#include "core/mainloop.h"
#include "data/registry.h"
#include "data/skill.h"
#include "data/weapon.h"
#include "foundation/refusals.h"
#include "render/animations.h"
#include "render/robotmodel.h"
#include "robots/robot.h"
#include "sound/sound.h"
#include "world/gamehooks.h"
#include "world/world.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

BattleLock gBattleLock = {[] {}, [] {}};

namespace {

// The GLUT codes of the battle's special keys.
constexpr int KEY_F5 = 5;
constexpr int KEY_F11 = 11;

// The side view of the battle by the octant robotA faces: the eye and the point looked at,
// relative to robotA, both half a cell up.
constexpr double SIDE_VIEW[8][4] = {
    {0.5, 1.0, 0.5, -1.0},   {-0.5, 1.5, 1.5, -0.5},  {-1.0, 0.5, 1.0, 0.5},
    {-1.5, -0.5, 0.5, 1.5},  {-0.5, -1.0, -0.5, 1.0}, {0.5, -1.5, -1.5, 0.5},
    {1.0, -0.5, -1.0, -0.5}, {1.5, 0.5, -0.5, -1.5},
};

// A change of a 16-bit stat, stopping at the ends of its range.
int16_t Delta16(double value) {
    double limited = std::clamp<double>(std::trunc(value), std::numeric_limits<int16_t>::min(),
                                        std::numeric_limits<int16_t>::max());
    return static_cast<int16_t>(limited);
}

// The damage of a blow: what the hit gets past the guard, never a gain.
double NetDamage(double hit, double guard) {
    double net = std::trunc(guard - hit);
    return net > 0 ? 0 : net;
}

} // namespace

void StartShieldBetween(Robot* first, Robot* second) {
    const Vector3& a = first->position;
    const Vector3& b = second->position;
    Vector3 centre = {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2};
    StartBattleShield(first, second, &centre, 1);
}

namespace {

bool Fights(const Robot* actor, const Robot* target) {
    return actor == target || (actor->battle != nullptr && actor->battle == target->battle);
}

} // namespace

// ---- the formulas

BattleDraws DrawFight() {
    BattleDraws d = {};
    d.hitFactor = RandomInt(2, 8);
    d.guardFactor = RandomRange(1.0, 3.5);
    return d;
}

BattleDraws DrawSkill(int skillUid) {
    BattleDraws d = {};
    d.hitFactor = RandomInt(2, 8);
    d.guardFactor = RandomRange(0.5, 2.5);
    if (skillUid == ENERGY_DRAIN_SKILL_UID)
        d.drainFactor = RandomRange(0.3, 0.6);
    return d;
}

double Guard(const Stats* target) {
    return target->dexterity + target->evade / 3.0 + target->stamina / 4.0 + 2.0 * target->defense;
}

void FightDeltas(const Stats* actor, const Stats* target, const Weapon* weapon,
                 const BattleDraws* draws, Stats* actorDelta, Stats* targetDelta) {
    *actorDelta = Stats{};
    *targetDelta = Stats{};
    double attack = weapon->power * 2.5 + weapon->accuracy / 2.0 + weapon->ddexterity / 3.0 +
                    actor->power + actor->dexterity / 2.0;
    double hit = attack * draws->hitFactor;
    double guard = Guard(target) * draws->guardFactor;
    targetDelta->hitPoints = Delta16(NetDamage(hit, guard));
}

void SkillDeltas(const Stats* actor, const Stats* target, const Skill* skill,
                 const BattleDraws* draws, Stats* actorDelta, Stats* targetDelta) {
    *actorDelta = skill->deltaStats;
    *targetDelta = skill->targetDeltaStats;
    actorDelta->energy = Delta16(-static_cast<double>(skill->energyCost));
    if (skill->uid == INVISIBILITY_SKILL_UID)
        return;
    double attack =
        2.0 * skill->targetDeltaStats.power + actor->power * 1.5 + actor->dexterity / 2.0;
    double hit = attack * draws->hitFactor;
    double guard = Guard(target) * draws->guardFactor;
    double net = NetDamage(hit, guard);
    if (skill->uid == ENERGY_DRAIN_SKILL_UID) {
        // A robot cannot give more energy than it holds.
        double drain = std::max(std::trunc(draws->drainFactor * net),
                                -static_cast<double>(std::max<int16_t>(target->energy, 0)));
        targetDelta->energy = Delta16(drain);
        actorDelta->hitPoints = Delta16(2 * drain);
        actorDelta->energy = Delta16(-static_cast<double>(skill->energyCost) - drain);
    } else if (skill->uid == SELF_REPAIR_SKILL_UID) {
        actorDelta->hitPoints = Delta16(hit);
    } else {
        targetDelta->hitPoints = Delta16(net);
    }
}

bool CanPayForSkill(const Stats* actor, const Skill* skill) {
    return actor->energy >= skill->energyCost;
}

// ---- results

// Every copy prints the same line for the same action.
static void PrintResult(const Robot* actor, const Robot* target, const Stats* actorDelta,
                        const Stats* targetDelta) {
    std::printf("Battle result: robot %d HP %+d EP %+d, robot %d HP %+d EP %+d\n", actor->uid,
                actorDelta->hitPoints, actorDelta->energy, target->uid, targetDelta->hitPoints,
                targetDelta->energy);
}

// A shot or a skill that lands once its battle is over changes nothing.
static bool LandsInItsBattle(const Robot* actor, const Robot* target, const char* what) {
    if (Fights(actor, target))
        return true;
    std::printf("A %s of robot %d landed after its battle: no effect\n", what, actor->uid);
    return false;
}

void RobotFight(Robot* actor, Robot* target, int weaponUid) {
    if (!LandsInItsBattle(actor, target, "shot"))
        return;
    const Weapon* weapon =
        GetObjectTypeFromUID(weaponUid) == EWeaponType ? LookupWeapon(gRegistry, weaponUid) : NULL;
    Stats actorDelta = {}, targetDelta = {};
    if (weapon != NULL) {
        BattleDraws draws = DrawFight();
        FightDeltas(&actor->stats, &target->stats, weapon, &draws, &actorDelta, &targetDelta);
    } else {
        std::printf("RobotFight: %d is no weapon: the shot does nothing\n", weaponUid);
    }
    ApplyBattleResult(actor, target, &actorDelta, &targetDelta, 1);
}

void RobotUseSkill(Robot* actor, Robot* target, int skillUid) {
    if (!LandsInItsBattle(actor, target, "skill"))
        return;
    const Skill* skill =
        GetObjectTypeFromUID(skillUid) == ESkillType ? LookupSkill(gRegistry, skillUid) : NULL;
    Stats actorDelta = {}, targetDelta = {};
    if (skill == NULL) {
        std::printf("RobotUseSkill: %d is no skill: nothing happens\n", skillUid);
    } else if (!CanPayForSkill(&actor->stats, skill)) {
        char text[80];
        std::snprintf(text, sizeof text, "Too little energy for %s", skill->name);
        if (actor->uid == gLocalRobotUid)
            gHooks.showMessage(text);
        std::printf("%s: robot %d\n", text, actor->uid);
    } else {
        BattleDraws draws = DrawSkill(skillUid);
        SkillDeltas(&actor->stats, &target->stats, skill, &draws, &actorDelta, &targetDelta);
    }
    ApplyBattleResult(actor, target, &actorDelta, &targetDelta, 1);
}

void ApplyBattleResult(Robot* actor, Robot* target, const Stats* actorDelta,
                       const Stats* targetDelta, int send) {
    AddStats(&actor->stats, actorDelta);
    AddStats(&target->stats, targetDelta);
    PrintResult(actor, target, actorDelta, targetDelta);
    if (send)
        gHooks.action(actor, actorDelta, targetDelta, target->uid, 0, 0);
    if (targetDelta->hitPoints != 0 || targetDelta->energy != 0)
        RobotShowDamage(target, targetDelta, 0);
    // The target loses when its HP fall below 1; a robot that drained itself that far loses too.
    if (target->stats.hitPoints < 1 && target != actor)
        EndBattle(actor->battle, actor, target, send);
    else if (actor->stats.hitPoints < 1 && target != actor)
        EndBattle(actor->battle, target, actor, send);
    actor->battleWait = 0;
    actor->acting = 0;
}

void BattleItemUsed(Robot* robot, const Stats* change) {
    Battle* battle = robot->battle;
    Robot* opponent = battle->robotA == robot ? battle->robotB : battle->robotA;
    const Stats none = {};
    PrintResult(robot, opponent, change, &none);
    gHooks.action(robot, change, &none, opponent->uid, 0, 0);
    robot->battleWait = 0;
    robot->acting = 0;
}

void LeaveBattle(Robot* robot) {
    EndBattle(robot->battle, NULL, NULL, 0);
}

// ---- set-up and end

Battle* NewBattle() {
    return static_cast<Battle*>(std::calloc(1, sizeof(Battle)));
}

int FacingAfterTurn(const Robot* robot) {
    int facing = robot->facing;
    if (facing % 45 == 0)
        return facing;
    int below = facing / 45 * 45;
    bool turningLeft = robot->currentMove > 0 && robot->currentMove < MOVE_FORWARD;
    return turningLeft ? (below + 45) % 360 : below;
}

void SetUpBattle(Battle* battle, World* world, Robot* robotA, Robot* robotB, Robot* initiator) {
    std::printf("Battle of %s (%d) against %s (%d)\n", robotA->name, robotA->uid, robotB->name,
                robotB->uid);
    PlayMusicTrack(BATTLE_MUSIC_TRACK);
    ClearMoveQueue(robotA);
    robotA->battleWait = 0;
    battle->world = world;
    battle->robotA = robotA;
    battle->robotB = robotB;
    battle->initiator = initiator;
    robotA->battle = robotB->battle = battle;
    robotA->acting = robotB->acting = 0;
    StartShieldBetween(robotA, robotB);
    if (robotA != initiator) {
        // The defender turns to face the attacker, the way that needs no wrap; the turn it is
        // making now ends first, and each step delays its first menu by a tick.
        int goal = (initiator->facing + 180) % 360;
        int c = FacingAfterTurn(robotA);
        while (c != goal) {
            robotA->battleWait--;
            if (c < goal) {
                QueueMove(robotA, 1);
                c += 45;
            } else {
                QueueMove(robotA, -1);
                c -= 45;
            }
        }
    }
    battle->savedEyeOffset = *GetEyeOffset();
    battle->savedLookOffset = *GetLookOffset();
    battle->savedFirstPerson = GetFirstPerson();
    SetFirstPerson(0);
    BattleCamera(battle);
}

void BattleCamera(Battle* battle) {
    const Robot* initiator = battle->initiator;
    int turn = initiator == battle->robotA ? initiator->facing : initiator->facing + 180;
    const double* view = SIDE_VIEW[(turn / 45) % 8];
    Vector3 eye = {view[0], view[1], 0.5};
    Vector3 look = {view[2], view[3], 0.5};
    StartCameraMove(&eye, &look, 0, BATTLE_CAMERA_TICKS);
}

void EndBattle(Battle* battle, Robot* winner, Robot* loser, int send) {
    if (battle == BATTLE_ELSEWHERE) {
        if (winner != NULL)
            winner->battle = NULL;
        if (loser != NULL)
            loser->battle = NULL;
        return;
    }
    if (battle == NULL)
        return;
    gBattleLock.lock();
    SetGameMode(gGame, 1, EWanderingMode);
    battle->robotA->battle = battle->robotB->battle = NULL;
    ClearBattleMenus();
    SetEyeOffset(&battle->savedEyeOffset);
    SetLookOffset(&battle->savedLookOffset);
    SetFirstPerson(battle->savedFirstPerson);
    if (loser != NULL && send)
        gHooks.battleOver(loser, winner != NULL ? winner->uid : INVALID_ROBOT_UID);
    gBattleLock.unlock();
    PlayMusicTrack(WANDERING_MUSIC_TRACK);
}

void RestoreLoser(Robot* loser, void (*place)(Robot* robot)) {
    loser->stats.hitPoints = loser->stats.totalHP;
    loser->stats.energy = loser->stats.totalEnergy;
    Location lostOn = loser->cell;
    place(loser);
    if (GetRobotAt(gWorld, &lostOn) == loser)
        SetCellContent(gWorld, &lostOn, EEmpty, nullptr);
    BroadcastRobotState(loser);
}

// ---- keys

bool BattleMenuDue(const Robot* robot) {
    return robot->acting == 0 && robot->battleWait >= BATTLE_WAIT_TICKS;
}

bool PrepareBattleMenu(Robot* robot) {
    if (!BattleMenuDue(robot))
        return false;
    if (!BattleMenuOpen()) {
        std::printf("Battle menu for %s\n", robot->name);
        DoBattleMenu();
    }
    return true;
}

void BattleKeyboard(unsigned char key, int /*x*/, int /*y*/) {
    BattleKey(key & 0xff);
}

void BattleSpecialKeys(int key, int /*x*/, int /*y*/) {
    Robot* robot = LocalRobot();
    if (key == KEY_F5) {
        if (robot != NULL)
            LeaveBattle(robot);
    } else if (key == KEY_F11) {
        StartCameraMove(&DEFAULT_EYE_OFFSET, &DEFAULT_LOOK_OFFSET, 0, BATTLE_CAMERA_TICKS);
    } else {
        BattleKey(key);
    }
}

void BattleKey(int key) {
    Robot* robot = LocalRobot();
    if (robot == NULL || !InBattleHere(robot) || robot->battleWait < BATTLE_WAIT_TICKS)
        return;
    Action action = {ENoAction, -1};
    if (BattleHandleKey(robot, key, &action) != -1)
        DoAction(robot, robot->battle->robotB, &action);
}

// ---- the loser's prize

Prize ChoosePrize(Robot* loser, int roll, int (*pick)(int count)) {
    Prize prize = {-1, -1};
    if (roll < 6) {
        int count = 0;
        int32_t* uids = InventoryGetUids(loser->inventory, &count);
        if (count > 0)
            prize.itemUid = uids[pick(count)];
        std::free(uids);
    } else if (roll < 8) {
        int count = DArrayLength(loser->skills);
        if (count > 0)
            prize.skillUid = *static_cast<int32_t*>(DArrayNth(loser->skills, pick(count)));
    }
    return prize;
}

Prize DrawPrize(Robot* loser) {
    return ChoosePrize(loser, RandomInt(0, 9), [](int count) { return RandomInt(0, count - 1); });
}

// ---- installation

void InstallBattle(void (*display)()) {
    RegisterGameModeHandlers(EBattleMode, display, BattleKeyboard, BattleSpecialKeys);
    gAnimationHooks.fight = RobotFight;
    gAnimationHooks.useSkill = RobotUseSkill;
    gHooks.battleItem = BattleItemUsed;
    gHooks.leaveBattle = LeaveBattle;
}
