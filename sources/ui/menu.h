// menu: the player's windows onto the robot's data and the only way to choose a battle action.
//
// Two stacks of menus: the main stack while wandering (main menu, stats, item list, skill list,
// messages) and the battle stack during a battle (action menu, skill list, item list). Only the
// top menu of a stack is drawn and receives keys; closing it reveals the one under it. Choosing
// a usable skill or item, or "Fight", yields an action that the caller carries out (DoAction).
// The stacks, the layout arithmetic and the key handling call no GL; drawing lives in
// ui/draw/menudraw.cpp.
#pragma once

#include <cstdint>

struct Robot;

// What a menu choice asks for: the action type of the battle (0 no action, 2 Fight, 3 Use
// Skill, 4 Use Item) and its argument (a weapon, skill or item uid; -1 for none).
struct Action {
    int32_t type;
    int32_t argument;
};

enum EActionType : int32_t {
    ENoAction = 0,
    EFightAction = 2,
    EUseSkillAction = 3,
    EUseItemAction = 4,
    EIgnoredAction = 5,
};

enum EMenuType : uint32_t {
    ENoMenu = 0,
    EMainMenu = 1,
    EStatsMenu = 2,
    EItemMenu = 3,
    EActionMenu = 4,
    ESkillMenu = 5,
    EBattleItemMenu = 6,
    EMiniStatusMenu = 7,
    EBattleStatusMenu = 8,
    EMessageMenu = 9,
};

void InitMenus();
void LayoutMenus(int width, int height);
void DoMainMenu();
void DoBattleMenu();
void ShowMessage(const char* text);
// 1 when the top menu of the stack used the key, -1 when the key goes on to the game.
int MenuHandleKey(Robot* robot, int key, Action* result);
int BattleHandleKey(Robot* robot, int key, Action* result);
// Drawing (ui/draw/menudraw.cpp): the top of the main stack, the top of the battle stack, and
// the two mini statuses.
void RedrawMenus(Robot* robot);
void RedrawBattleMenus(Robot* robot);
void DrawMiniStatus(Robot* robot);
void DrawMiniStatus(Robot* robot, Robot* opponent);
bool BattleMenuOpen();
void ClearBattleMenus();
