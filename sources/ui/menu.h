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
#include <string>
#include <vector>

struct Dialog;
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

// ---- what the menus show, without GL (the drawing and the tests read these) -------------------

// Asked for after anything a player would see changed; the window fills it (glutPostRedisplay).
extern void (*gMenuRedisplay)();

enum EMenuMode : int32_t {
    EMenuWandering = 1,
    EMenuBattle = 2,
};

struct MenuRect {
    int x1, y1, x2, y2;
};
// The rectangles of the last LayoutMenus, in window pixels with the origin at the bottom left.
struct MenuLayout {
    MenuRect main, action, stats, list, description, message, miniStatus, battleOwn, battleOpponent;
};
const MenuLayout* GetMenuLayout();

// One entry of a skill or item list.
struct MenuEntry {
    std::string text;
    bool usable;
    Action action;
    std::string description;
};
std::vector<MenuEntry> SkillEntries(Robot* robot, int mode);
std::vector<MenuEntry> ItemEntries(Robot* robot, int mode);
std::vector<std::string> StatsLines(const Robot* robot);
std::vector<std::string> MiniStatusLines(Robot* robot);
// The battle's own box (name, HP, EP) and the opponent's (its name).
std::vector<std::string> BattleStatusLines(const Robot* robot, bool own);
// The message buffer as ShowMessage left it.
const char* MenuMessageText();

// The type at the top of the main or the battle stack, and how many records the stack holds.
uint32_t TopMainMenu();
uint32_t TopBattleMenu();
int MainMenuDepth();
// The dialogs of the top menu of a stack as they are drawn now (built when missing, lists and
// lines refilled from the robot), in drawing order; none for the base.
std::vector<Dialog*> MainMenuDialogs(Robot* robot);
std::vector<Dialog*> BattleMenuDialogs(Robot* robot);
std::vector<Dialog*> MiniStatusDialogs(Robot* robot);
std::vector<Dialog*> BattleStatusDialogs(Robot* robot, Robot* opponent);
// The name of a menu type that has one ("Main", "Stats", "Item", ...).
const char* MenuTypeName(uint32_t type);
