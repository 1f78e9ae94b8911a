// battlestub: temporary, replaced by the battle mode.
//
// The two battle operations the enemy server calls, reduced to what the server needs of them
// until the battle mode joins: a zeroed record, and a set-up that fills it and puts both robots
// into it. No camera, shield or turning towards the attacker.
#include "core/battle.h"

#include "robots/robot.h"

#include <cstdlib>

Battle* NewBattle() {
    return static_cast<Battle*>(std::calloc(1, sizeof(Battle)));
}

void SetUpBattle(Battle* battle, World* world, Robot* robotA, Robot* robotB, Robot* initiator) {
    ClearMoveQueue(robotA);
    robotA->battleWait = 0;
    battle->robotA = robotA;
    battle->robotB = robotB;
    battle->world = world;
    battle->initiator = initiator;
    robotA->battle = robotB->battle = battle;
    robotA->acting = robotB->acting = 0;
}
