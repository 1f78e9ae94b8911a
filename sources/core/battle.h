// battle: two robots on neighbouring cells fighting from their menus (game mode 1).
//
// The battle record, the set-up with its side-view camera, the battle display and keys, the
// actions (fight, skill, item), the formulas that turn an action into changes of both robots'
// stats, and the end of a battle on this copy. The wait between a robot's actions is counted by
// BattleTick (robots/battle.h).
#pragma once

#include "data/stats.h"
#include "foundation/utilities.h"
#include "robots/battle.h"
#include "ui/menu.h"

struct Robot;
struct World;

struct Battle {
    Robot* robotA;    // the robot this copy drives
    Robot* robotB;    // its opponent
    World* world;
    Robot* initiator; // robotA on the attacker's copy, robotB on the defender's
    Vector3 savedEyeOffset;
    Vector3 savedLookOffset;
    int32_t savedFirstPerson;
};

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
