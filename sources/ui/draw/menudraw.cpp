// menudraw: the top menu of each stack and the two mini statuses on the screen. What they show
// is decided in ui/menu.cpp; here the dialogs are only drawn.
#include "ui/dialog.h"
#include "ui/menu.h"

static void DrawAll(const std::vector<Dialog*>& dialogs) {
    for (const Dialog* dialog : dialogs)
        DrawDialog(dialog);
}

void RedrawMenus(Robot* robot) {
    DrawAll(MainMenuDialogs(robot));
}

void RedrawBattleMenus(Robot* robot) {
    DrawAll(BattleMenuDialogs(robot));
}

void DrawMiniStatus(Robot* robot) {
    DrawAll(MiniStatusDialogs(robot));
}

void DrawMiniStatus(Robot* robot, Robot* opponent) {
    DrawAll(BattleStatusDialogs(robot, opponent));
}
