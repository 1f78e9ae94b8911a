// menustub: temporary, replaced by the menus. The battle stack as one Action menu whose Enter
// chooses "Fight", and the action record carried out as the battle does, until the real menus
// and actions arrive.
#include "render/robotmodel.h"
#include "robots/robot.h"
#include "ui/menu.h"

#include <cstdio>

static int gBattleMenus = 0;

void DoBattleMenu() {
    gBattleMenus = 1;
}

bool BattleMenuOpen() {
    return gBattleMenus > 0;
}

void ClearBattleMenus() {
    gBattleMenus = 0;
}

int BattleHandleKey(Robot* /*robot*/, int key, Action* result) {
    *result = {ENoAction, -1};
    if (gBattleMenus == 0 || key != 13)
        return -1;
    gBattleMenus = 0;
    *result = {EFightAction, -1};
    return 1;
}

void RedrawBattleMenus(Robot* /*robot*/) {}

void DrawMiniStatus(Robot* /*robot*/, Robot* /*opponent*/) {}

void DoAction(Robot* actor, Robot* target, Action* action) {
    switch (action->type) {
    case EFightAction:
        RobotAnimateWeapon(actor, action->argument, target, 1);
        break;
    case EUseSkillAction:
        RobotAnimateSkill(actor, action->argument, target, 1);
        break;
    case EUseItemAction:
        UseItem(actor, action->argument);
        break;
    default:
        break;
    }
}

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
        return "";
    }
}
