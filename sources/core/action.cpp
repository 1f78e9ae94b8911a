// action: what a menu choice does, while wandering and in a battle.
#include "core/battle.h"
#include "data/registry.h"
#include "foundation/assertion.h"
#include "render/robotmodel.h"
#include "robots/robot.h"

#include <cstdio>

const char* ActionTypeToString(int32_t type) {
    switch (type) {
    case ENoAction:
        return "No Action";
    case EFightAction:
        return "Fight";
    case EUseSkillAction:
        return "Use Skill";
    case EUseItemAction:
        return "Use Item";
    default:
        std::printf("%s: Unknown action type %d\n", "ActionTypeToString", type);
        VFAIL("a known action type");
    }
}

// Actions come only from our own menus, so an unknown type is an error of this program.
void DoAction(Robot* actor, Robot* target, Action* action) {
    switch (action->type) {
    case ENoAction:
    case EIgnoredAction:
        break;
    case EFightAction:
        RobotAnimateWeapon(actor, action->argument, target, 1);
        break;
    case EUseSkillAction:
        if (LookupSkill(gRegistry, action->argument) != nullptr)
            RobotAnimateSkill(actor, action->argument, target, 1);
        break;
    case EUseItemAction:
        UseItem(actor, action->argument);
        break;
    default:
        std::printf("%s: Unknown action type %d\n", "DoAction", action->type);
        VFAIL("a known action type");
    }
}
