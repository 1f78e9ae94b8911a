// battle: two robots on neighbouring cells fighting from their menus (game mode 1).
//
// The battle record, the set-up with its side-view camera, the battle display and keys, the
// actions (fight, skill, item), the formulas that turn an action into changes of both robots'
// stats, and the end of a battle on this copy. The wait between a robot's actions is counted by
// BattleTick (robots/battle.h).
//
// The acting copy draws the random numbers, computes both robots' changes, applies them and
// sends them; every other copy applies the same numbers from the action packet. The formulas
// themselves (FightDeltas, SkillDeltas) take their draws as arguments and change nothing, so the
// balance simulation (tools/battlesim.cpp) plays thousands of fights over the very same rules.
//
// Everything here runs on the thread that owns the game state; nothing waits for the tick. The
// drawing (BattleDisplay) lives in draw/battledraw.cpp.
#pragma once

#include "data/stats.h"
#include "foundation/utilities.h"
#include "robots/battle.h"
#include "ui/menu.h"

struct Robot;
struct Skill;
struct Weapon;
struct World;

struct Battle {
    Robot* robotA; // the robot this copy drives
    Robot* robotB; // its opponent
    World* world;
    Robot* initiator; // robotA on the attacker's copy, robotB on the defender's
    Vector3 savedEyeOffset;
    Vector3 savedLookOffset;
    int32_t savedFirstPerson;
};

// Ticks a robot waits between its actions before its menu opens.
constexpr int BATTLE_WAIT_TICKS = 30;
constexpr int BATTLE_CAMERA_TICKS = 8;
constexpr int SELF_REPAIR_SKILL_UID = 8000;
constexpr int ENERGY_DRAIN_SKILL_UID = 8002;
constexpr int INVISIBILITY_SKILL_UID = 8003;

Battle* NewBattle();
void SetUpBattle(Battle* battle, World* world, Robot* robotA, Robot* robotB, Robot* initiator);
void BattleCamera(Battle* battle);
void BattleDisplay();
void BattleKeyboard(unsigned char key, int x, int y);
void BattleSpecialKeys(int key, int x, int y);
void BattleKey(int key);
void DoAction(Robot* actor, Robot* target, Action* action);
const char* ActionTypeToString(int32_t type);
void RobotFight(Robot* actor, Robot* target, int weaponUid);
void RobotUseSkill(Robot* actor, Robot* target, int skillUid);
void ApplyBattleResult(Robot* actor, Robot* target, const Stats* actorDelta,
                       const Stats* targetDelta, int send);
void EndBattle(Battle* battle, Robot* winner, Robot* loser, int send);
// The loser of a battle, whole again and put down anew: its hit points and energy back, place
// puts it on a new cell while the cell it lost on still holds it (so a random cell lies
// elsewhere), then that cell lets it go and its state is sent.
void RestoreLoser(Robot* loser, void (*place)(Robot* robot));

// ---- the formulas, free of side effects

// The random numbers one action draws: the hit factor (2 to 8), the guard factor (1.0 to 3.5
// for a weapon, 0.5 to 2.5 for a skill) and, for the energy drain only, the share of the
// damage drained (0.3 to 0.6).
struct BattleDraws {
    int hitFactor;
    double guardFactor;
    double drainFactor;
};
BattleDraws DrawFight();
BattleDraws DrawSkill(int skillUid);
// How well the target wards off a blow, before the guard factor.
double Guard(const Stats* target);
// A weapon shot: the target loses HP (never gains any); the actor is unchanged.
void FightDeltas(const Stats* actor, const Stats* target, const Weapon* weapon,
                 const BattleDraws* draws, Stats* actorDelta, Stats* targetDelta);
// A skill: its two stats blocks, then by skill: Self-Repair (8000) heals the user by the whole
// hit, Energy Drain (8002) moves energy from the target to the user at twice its price in the
// user's HP, Invisibility (8003) only costs its energy, any other skill strikes the target.
// Every skill costs the user its energy.
void SkillDeltas(const Stats* actor, const Stats* target, const Skill* skill,
                 const BattleDraws* draws, Stats* actorDelta, Stats* targetDelta);
// Whether the robot has the energy the skill costs; a skill the robot cannot pay for fizzles
// and only spends the robot's action.
bool CanPayForSkill(const Stats* actor, const Skill* skill);

// ---- the battle's pieces that the keys, the display and the packets share

// The menu is due: the robot has waited its ticks and no attack or skill of its own runs.
bool BattleMenuDue(const Robot* robot);
// What the display does before it draws the menus: opens the action menu when it is due and
// none is open. True when a battle menu is to be drawn.
bool PrepareBattleMenu(Robot* robot);
// The facing the robot has once the turn it is making ends (its facing when it makes none).
int FacingAfterTurn(const Robot* robot);
// The battle shield coming down over the two robots, centred between them.
void StartShieldBetween(Robot* first, Robot* second);
// The item change of a robot in a battle of this copy as its battle action (gHooks.battleItem);
// the smoke bomb's end of the battle on this copy (gHooks.leaveBattle).
void BattleItemUsed(Robot* robot, const Stats* change);
void LeaveBattle(Robot* robot);

// What the loser of a battle hands the winner: roll 0 to 5 an entry of its inventory, 6 or 7
// a learned skill, 8 or 9 nothing; pick chooses one of count (> 0) entries. An empty list
// gives nothing. -1 stands for none.
struct Prize {
    int32_t skillUid;
    int32_t itemUid;
};
Prize ChoosePrize(Robot* loser, int roll, int (*pick)(int count));
Prize DrawPrize(Robot* loser);

// The GL lock around the end of a battle, filled by a copy that draws (LockGL, UnlockGL); the
// display takes the same lock for a whole frame, so it never draws a half-ended battle.
struct BattleLock {
    void (*lock)();
    void (*unlock)();
};
extern BattleLock gBattleLock;

// Installs the battle: the mode-1 handlers (with the display of a copy that draws, else null),
// the results of the landed shots and skills (gAnimationHooks) and the item hooks (gHooks).
void InstallBattle(void (*display)());
