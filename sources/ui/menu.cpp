// menu: the two menu stacks, their layout, their keys and what their entries say.
#include "ui/menu.h"

#include "data/registry.h"
#include "foundation/assertion.h"
#include "foundation/darray.h"
#include "robots/robot.h"
#include "sound/sound.h"
#include "ui/dialog.h"

#include <cstdio>
#include <cstdlib>

static void NoRedisplay() {}
void (*gMenuRedisplay)() = NoRedisplay;

namespace {

constexpr int NUM_MENU_TYPES = 10;
constexpr int KEY_ENTER = 13;
constexpr int KEY_ESCAPE = 27;
// Entry texts are formatted into lines of 54 bytes, stats lines into 72, the message into 128;
// longer names are cut.
constexpr size_t ENTRY_SIZE = 54;
constexpr size_t LINE_SIZE = 72;
constexpr size_t MESSAGE_SIZE = 128;

constexpr float FILL_COLOR[4] = {0.0f, 0.0f, 1.0f, 0.3f};
constexpr float BORDER_COLOR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float TEXT_COLOR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
// A light purple: the box's blue is blended over the text, and a dark purple drowns in it.
constexpr float UNUSABLE_COLOR[4] = {0.8f, 0.45f, 0.8f, 1.0f};

constexpr const char* SELECT_SOUND = "sounds\\FF7select.wav";
constexpr const char* MOVE_SOUND = "sounds\\FF7select2.wav";
constexpr const char* CANCEL_SOUND = "sounds\\FF7cancel.wav";

constexpr uint32_t MAIN_OPTIONS[] = {ESkillMenu, EItemMenu, EStatsMenu};

struct Menu {
    uint32_t type;
    Dialog** dialogs;
    uint32_t dialogCount;
};

Menu gMenus[NUM_MENU_TYPES];
DArray* gMainStack = nullptr;
DArray* gBattleStack = nullptr;
MenuLayout gLayout = {};
char gMessage[MESSAGE_SIZE] = "";
// What the entries of each menu's list mean; the list items point into these.
std::vector<Action> gEntryActions[NUM_MENU_TYPES];

void RequireInit(const char* operation) {
    if (gMainStack == nullptr) {
        std::printf("%s: Must call InitMenus() first\n", operation);
        VASSERT(gMainStack != nullptr);
    }
}

Menu* Top(DArray* stack) {
    return static_cast<Menu*>(DArrayNth(stack, DArrayLength(stack) - 1));
}

void Push(DArray* stack, uint32_t type) {
    DArrayAppend(stack, &gMenus[type]);
    gMenuRedisplay();
}

// Every record above the base goes.
void ClearToBase(DArray* stack) {
    while (DArrayLength(stack) > 1)
        DArrayDeleteAt(stack, DArrayLength(stack) - 1);
}

void Pop(DArray* stack) {
    if (DArrayLength(stack) > 1)
        DArrayDeleteAt(stack, DArrayLength(stack) - 1);
    gMenuRedisplay();
}

void FreeMenuDialog(Menu* menu, uint32_t slot) {
    FreeDialog(menu->dialogs[slot]);
    menu->dialogs[slot] = nullptr;
}

DialogItem* TextItem(const char* text) {
    return NewDialogItem(text, TEXT_COLOR, 1, nullptr);
}

Dialog* ListDialog(const MenuRect& r, const std::vector<const char*>& texts,
                   std::vector<Action>* actions) {
    std::vector<DialogItem*> entries;
    for (size_t i = 0; i < texts.size(); i++)
        entries.push_back(NewDialogItem(texts[i], TEXT_COLOR, 1, &(*actions)[i]));
    return NewListDialog(r.x1, r.y1, r.x2, r.y2, TextItem(""), entries.data(),
                         static_cast<int>(entries.size()), FILL_COLOR, BORDER_COLOR);
}

Dialog* LinesDialog(const MenuRect& r) {
    return NewLinesDialog(r.x1, r.y1, r.x2, r.y2, nullptr, 0, FILL_COLOR, BORDER_COLOR, 0);
}

// The dialogs of a menu, built at the current layout on first use.
void BuildDialogs(Menu* menu) {
    const MenuLayout& l = gLayout;
    if (menu->dialogCount == 0 || menu->dialogs[0] != nullptr)
        return;
    switch (menu->type) {
    case EMainMenu:
        gEntryActions[EMainMenu] = {
            {ENoAction, ESkillMenu}, {ENoAction, EItemMenu}, {ENoAction, EStatsMenu}};
        menu->dialogs[0] =
            ListDialog(l.main, {"Skill", "Item", "Stats"}, &gEntryActions[EMainMenu]);
        break;
    case EActionMenu:
        gEntryActions[EActionMenu] = {
            {EFightAction, -1}, {EUseSkillAction, -1}, {EUseItemAction, -1}};
        menu->dialogs[0] =
            ListDialog(l.action, {"Fight", "Skill", "Item"}, &gEntryActions[EActionMenu]);
        break;
    case EStatsMenu:
        menu->dialogs[0] = LinesDialog(l.stats);
        break;
    case EItemMenu:
    case ESkillMenu:
    case EBattleItemMenu:
        menu->dialogs[0] =
            NewTextDialog(l.description.x1, l.description.y1, l.description.x2, l.description.y2,
                          TextItem(menu->type == ESkillMenu ? "" : "default item message"),
                          FILL_COLOR, BORDER_COLOR);
        menu->dialogs[1] = ListDialog(l.list, {}, &gEntryActions[menu->type]);
        break;
    case EMessageMenu:
        menu->dialogs[0] = NewTextDialog(l.message.x1, l.message.y1, l.message.x2, l.message.y2,
                                         TextItem(gMessage), FILL_COLOR, BORDER_COLOR);
        break;
    case EMiniStatusMenu:
        menu->dialogs[0] = LinesDialog(l.miniStatus);
        break;
    case EBattleStatusMenu:
        menu->dialogs[0] = LinesDialog(l.battleOwn);
        menu->dialogs[1] = LinesDialog(l.battleOpponent);
        break;
    default:
        break;
    }
}

void FillLines(Dialog* dialog, const std::vector<std::string>& lines) {
    std::vector<DialogItem*> items;
    for (const std::string& line : lines)
        items.push_back(TextItem(line.c_str()));
    SetDialogLines(dialog, items.data(), static_cast<int>(items.size()));
}

// The list and the description box of a skill or item menu, from the robot's data now.
void FillList(Menu* menu, Robot* robot, int mode) {
    std::vector<MenuEntry> entries =
        menu->type == ESkillMenu ? SkillEntries(robot, mode) : ItemEntries(robot, mode);
    std::vector<Action>& actions = gEntryActions[menu->type];
    actions.clear();
    for (const MenuEntry& entry : entries)
        actions.push_back(entry.action);
    std::vector<DialogItem*> items;
    for (size_t i = 0; i < entries.size(); i++)
        items.push_back(NewDialogItem(entries[i].text.c_str(),
                                      entries[i].usable ? TEXT_COLOR : UNUSABLE_COLOR,
                                      entries[i].usable ? 1 : 0, &actions[i]));
    Dialog* list = menu->dialogs[1];
    SetDialogList(list, TextItem(""), items.data(), static_cast<int>(items.size()));
    const char* description =
        list->selected >= 0 ? entries[static_cast<size_t>(list->selected)].description.c_str() : "";
    SetDialogText(menu->dialogs[0], TextItem(description));
}

// Builds what is missing and refills what shows the robot's data; the dialogs to draw.
std::vector<Dialog*> Prepare(Menu* menu, Robot* robot, int mode) {
    BuildDialogs(menu);
    switch (menu->type) {
    case EStatsMenu:
        FillLines(menu->dialogs[0], StatsLines(robot));
        return {menu->dialogs[0]};
    case EItemMenu:
    case ESkillMenu:
    case EBattleItemMenu:
        FillList(menu, robot, mode);
        return {menu->dialogs[1], menu->dialogs[0]};
    case EMainMenu:
    case EActionMenu:
    case EMessageMenu:
        return {menu->dialogs[0]};
    default:
        std::printf("Unknown menu type %d\n", static_cast<int>(menu->type));
        VFAIL("a menu type of the stacks");
    }
}

void Sound(const char* name) {
    PlaySoundFile(name);
}

constexpr int MENU_CLOSED = -2;

// The top of a stack with its dialogs built, or null when only the base is left; the result
// starts as no action.
Menu* OpenTop(DArray* stack, const char* operation, Action* result) {
    RequireInit(operation);
    *result = {ENoAction, -1};
    Menu* menu = Top(stack);
    if (menu->type == ENoMenu)
        return nullptr;
    BuildDialogs(menu);
    return menu;
}

// Escape closes a menu; other keys go to its list in the slot. The index the key left
// selected, -1 when the list did not use the key, MENU_CLOSED after Escape.
int ChoiceKey(DArray* stack, Menu* menu, uint32_t slot, int key) {
    if (key == KEY_ESCAPE) {
        Sound(CANCEL_SOUND);
        Pop(stack);
        return MENU_CLOSED;
    }
    return DialogHandleKey(menu->dialogs[slot], key);
}

// A key for a skill or item list; on Enter the usable entry's action goes to result. In battle
// a choice closes every battle menu.
int ListKey(DArray* stack, Menu* menu, Robot* robot, int key, Action* result, int mode) {
    Prepare(menu, robot, mode);
    int index = ChoiceKey(stack, menu, 1, key);
    if (index < 0)
        return index == MENU_CLOSED ? 1 : -1;
    if (key == KEY_ENTER) {
        Sound(SELECT_SOUND);
        const DialogItem* item = DialogSelectedItem(menu->dialogs[1]);
        if (item != nullptr && item->selectable) {
            *result = *static_cast<const Action*>(item->data);
            if (mode == EMenuBattle)
                ClearToBase(stack);
        } else {
            Sound(MOVE_SOUND);
        }
    }
    gMenuRedisplay();
    return 1;
}

// One stats line: a label and its value, as "Power: %d" formats them.
std::string Line(const char* label, int value) {
    char buffer[LINE_SIZE];
    std::snprintf(buffer, sizeof buffer, "%s: %d", label, value);
    return buffer;
}

// "HP: %d/%d" and its kin.
std::string Ratio(const char* label, int value, int total) {
    char buffer[LINE_SIZE];
    std::snprintf(buffer, sizeof buffer, "%s: %d/%d", label, value, total);
    return buffer;
}

bool UsableIn(int32_t area, int mode) {
    return area == EWanderingAndCombat || area == mode;
}

} // namespace

// ---- set-up and layout -----------------------------------------------------------------------

void InitMenus() {
    static const uint32_t dialogCounts[NUM_MENU_TYPES] = {0, 2, 1, 2, 1, 2, 2, 1, 2, 1};
    for (uint32_t type = 0; type < NUM_MENU_TYPES; type++) {
        Menu& menu = gMenus[type];
        if (menu.dialogs != nullptr) {
            for (uint32_t slot = 0; slot < menu.dialogCount; slot++)
                FreeMenuDialog(&menu, slot);
            std::free(menu.dialogs);
        }
        menu = {type, nullptr, dialogCounts[type]};
        size_t slots = dialogCounts[type] > 0 ? dialogCounts[type] : 1;
        menu.dialogs = static_cast<Dialog**>(std::calloc(slots, sizeof(Dialog*)));
    }
    if (gMainStack != nullptr)
        DArrayFree(gMainStack);
    if (gBattleStack != nullptr)
        DArrayFree(gBattleStack);
    gMainStack = DArrayNew(sizeof(Menu), 10);
    gBattleStack = DArrayNew(sizeof(Menu), 4);
    DArrayAppend(gMainStack, &gMenus[ENoMenu]);
    DArrayAppend(gBattleStack, &gMenus[ENoMenu]);
    gMessage[0] = '\0';
    LayoutMenus(DialogViewportWidth(), DialogViewportHeight());
}

void LayoutMenus(int w, int h) {
    int wide = static_cast<int>(w / 2.5);
    int narrow = static_cast<int>(w / 3.5);
    int listTop = h / 7 + h / 3;
    gLayout.main = {3 * w / 5, h / 6, 3 * w / 5 + w / 4, h / 6 + h / 5};
    gLayout.action = {3 * w / 5, h / 6, 3 * w / 5 + w / 4 - 1, 2 * (h / 6) - 1};
    gLayout.stats = {3 * w / 5, h / 8, 3 * w / 5 + w / 3, h / 8 + h / 2};
    gLayout.list = {w / 2, h / 7, w / 2 + wide - 1, listTop - (h / 3) / 6 - 1};
    // Two lines tall, reaching up from the list, so that a whole description fits.
    gLayout.description = {w / 2, listTop - (h / 3) / 6, w / 2 + wide - 1,
                           listTop + (h / 3) / 6 - 1};
    gLayout.message = {w / 2, h / 2, w / 2 + wide - 1, h / 2 + h / 9 - 1};
    gLayout.miniStatus = {w - narrow - 10, 10, w - 10, 10 + h / 8 + 5};
    gLayout.battleOwn = {w - w / 4 - 10, 8, w - 10, 8 + h / 5};
    gLayout.battleOpponent = {10, 8, 10 + w / 4, 8 + h / 5};
    for (Menu& menu : gMenus)
        for (uint32_t slot = 0; slot < menu.dialogCount; slot++)
            FreeMenuDialog(&menu, slot);
}

const MenuLayout* GetMenuLayout() {
    return &gLayout;
}

const char* MenuTypeName(uint32_t type) {
    static const char* const names[] = {"None", "Main", "Stats", "Item", "Action", "Skill", "Item"};
    if (type < sizeof names / sizeof names[0])
        return names[type];
    std::printf("Unknown menu type %d\n", static_cast<int>(type));
    VFAIL("a menu type with a name");
}

// ---- opening ---------------------------------------------------------------------------------

void DoMainMenu() {
    RequireInit("DoMainMenu");
    Push(gMainStack, EMainMenu);
}

void DoBattleMenu() {
    RequireInit("DoBattleMenu");
    Push(gBattleStack, EActionMenu);
}

// A message while another is open replaces its text instead of stacking a second box.
void ShowMessage(const char* text) {
    RequireInit("ShowMessage");
    std::snprintf(gMessage, sizeof gMessage, "%s.", text != nullptr ? text : "");
    std::printf("%s\n", gMessage);
    Menu* message = &gMenus[EMessageMenu];
    for (int i = 0; i < DArrayLength(gMainStack); i++) {
        if (static_cast<Menu*>(DArrayNth(gMainStack, i))->type == EMessageMenu) {
            if (message->dialogs[0] != nullptr)
                SetDialogText(message->dialogs[0], TextItem(gMessage));
            gMenuRedisplay();
            return;
        }
    }
    BuildDialogs(message);
    Push(gMainStack, EMessageMenu);
}

const char* MenuMessageText() {
    return gMessage;
}

bool BattleMenuOpen() {
    return gBattleStack != nullptr && DArrayLength(gBattleStack) > 1;
}

void ClearBattleMenus() {
    RequireInit("ClearBattleMenus");
    ClearToBase(gBattleStack);
}

uint32_t TopMainMenu() {
    RequireInit("TopMainMenu");
    return Top(gMainStack)->type;
}

uint32_t TopBattleMenu() {
    RequireInit("TopBattleMenu");
    return Top(gBattleStack)->type;
}

int MainMenuDepth() {
    RequireInit("MainMenuDepth");
    return DArrayLength(gMainStack);
}

// ---- keys ------------------------------------------------------------------------------------

int MenuHandleKey(Robot* robot, int key, Action* result) {
    Menu* menu = OpenTop(gMainStack, "MenuHandleKey", result);
    if (menu == nullptr)
        return -1;
    switch (menu->type) {
    case EMainMenu: {
        int index = ChoiceKey(gMainStack, menu, 0, key);
        if (index < 0)
            return index == MENU_CLOSED ? 1 : -1;
        if (key == KEY_ENTER) {
            Sound(SELECT_SOUND);
            Push(gMainStack, MAIN_OPTIONS[index]);
        } else {
            Sound(MOVE_SOUND);
        }
        gMenuRedisplay();
        return 1;
    }
    case EStatsMenu:
    case EMessageMenu:
        if (key != KEY_ESCAPE && key != KEY_ENTER)
            return -1;
        Sound(SELECT_SOUND);
        Pop(gMainStack);
        if (menu->type == EMessageMenu)
            FreeMenuDialog(&gMenus[EMessageMenu], 0);
        return 1;
    case EItemMenu:
    case ESkillMenu:
        return ListKey(gMainStack, menu, robot, key, result, EMenuWandering);
    default:
        VFAIL("a menu of the main stack");
    }
}

int BattleHandleKey(Robot* robot, int key, Action* result) {
    Menu* menu = OpenTop(gBattleStack, "BattleHandleKey", result);
    if (menu == nullptr)
        return -1;
    switch (menu->type) {
    case EActionMenu: {
        int index = ChoiceKey(gBattleStack, menu, 0, key);
        if (index < 0)
            return index == MENU_CLOSED ? 1 : -1;
        const Action chosen = *static_cast<const Action*>(DialogSelectedData(menu->dialogs[0]));
        if (key == KEY_ENTER) {
            Sound(SELECT_SOUND);
            if (chosen.type == EFightAction) {
                Pop(gBattleStack);
                *result = {EFightAction, -1};
            } else {
                Push(gBattleStack, chosen.type == EUseItemAction ? EBattleItemMenu : ESkillMenu);
                Sound(MOVE_SOUND);
            }
        }
        gMenuRedisplay();
        return 1;
    }
    case ESkillMenu:
    case EBattleItemMenu:
        return ListKey(gBattleStack, menu, robot, key, result, EMenuBattle);
    default:
        VFAIL("a menu of the battle stack");
    }
}

// ---- what the menus show ---------------------------------------------------------------------

std::vector<MenuEntry> SkillEntries(Robot* robot, int mode) {
    std::vector<MenuEntry> entries;
    for (int i = 0; i < DArrayLength(robot->skills); i++) {
        int uid = *static_cast<int32_t*>(DArrayNth(robot->skills, i));
        const Skill* skill = LookupSkill(gRegistry, uid);
        VASSERT(skill != NULL);
        char cost[16], text[ENTRY_SIZE];
        std::snprintf(cost, sizeof cost, "%d EP", skill->energyCost);
        std::snprintf(text, sizeof text, "%-12s %-7s", skill->name, cost);
        bool affordable = skill->energyCost <= robot->stats.energy;
        std::string description = skill->desc;
        if (!affordable)
            description = "Not enough energy: " + description;
        entries.push_back({text,
                           UsableIn(skill->usageArea, mode) && affordable,
                           {EUseSkillAction, uid},
                           description});
    }
    return entries;
}

std::vector<MenuEntry> ItemEntries(Robot* robot, int mode) {
    std::vector<MenuEntry> entries;
    int count = 0;
    int32_t* uids = InventoryGetUids(robot->inventory, &count);
    for (int i = 0; i < count; i++) {
        const char* name = nullptr;
        const char* desc = nullptr;
        bool usable = false;
        switch (GetObjectTypeFromUID(uids[i])) {
        case EWeaponType:
            if (const Weapon* weapon = LookupWeapon(gRegistry, uids[i]))
                name = weapon->name, desc = weapon->desc;
            break;
        case EArmorType:
            if (const Armor* armor = LookupArmor(gRegistry, uids[i]))
                name = armor->name, desc = armor->desc;
            break;
        case EItemType:
            if (const Item* item = LookupItem(gRegistry, uids[i])) {
                name = item->name, desc = item->desc;
                usable = UsableIn(item->usageArea, mode);
            }
            break;
        default:
            break;
        }
        if (name == nullptr)
            continue; // only what can be carried and shown is listed
        char text[ENTRY_SIZE];
        std::snprintf(text, sizeof text, "%-2d %-12s", RobotItemQuantity(robot, uids[i]), name);
        entries.push_back({text, usable, {EUseItemAction, uids[i]}, desc});
    }
    std::free(uids);
    return entries;
}

std::vector<std::string> StatsLines(const Robot* robot) {
    const Stats& s = robot->stats;
    return {robot->name,
            robot->desc,
            "",
            Line("Exp", s.experience),
            Ratio("HP", s.hitPoints, s.totalHP),
            Ratio("EP", s.energy, s.totalEnergy),
            "",
            Line("Power", s.power),
            Line("Dexterity", s.dexterity),
            Line("Speed", s.speed),
            Line("Stamina", s.stamina),
            Line("Defense", s.defense)};
}

std::vector<std::string> MiniStatusLines(Robot* robot) {
    std::vector<std::string> lines = StatsLines(robot);
    return {lines[4], lines[5],
            Line("Energon Ore", RobotItemQuantity(robot, ENERGON_ITEM_UID)) + " "};
}

std::vector<std::string> BattleStatusLines(const Robot* robot, bool own) {
    std::vector<std::string> lines = StatsLines(robot);
    if (!own)
        return {lines[0]};
    return {lines[0], lines[4], lines[5]};
}

// ---- what is drawn ---------------------------------------------------------------------------

std::vector<Dialog*> MainMenuDialogs(Robot* robot) {
    RequireInit("RedrawMenus");
    Menu* menu = Top(gMainStack);
    if (menu->type == ENoMenu)
        return {};
    return Prepare(menu, robot, EMenuWandering);
}

std::vector<Dialog*> BattleMenuDialogs(Robot* robot) {
    RequireInit("RedrawMenus");
    Menu* menu = Top(gBattleStack);
    if (menu->type == ENoMenu) {
        std::printf("no menu to draw!\n");
        return {};
    }
    return Prepare(menu, robot, EMenuBattle);
}

std::vector<Dialog*> MiniStatusDialogs(Robot* robot) {
    RequireInit("DrawMiniStatus");
    Menu* menu = &gMenus[EMiniStatusMenu];
    BuildDialogs(menu);
    FillLines(menu->dialogs[0], MiniStatusLines(robot));
    return {menu->dialogs[0]};
}

std::vector<Dialog*> BattleStatusDialogs(Robot* robot, Robot* opponent) {
    RequireInit("DrawMiniStatus");
    Menu* menu = &gMenus[EBattleStatusMenu];
    BuildDialogs(menu);
    FillLines(menu->dialogs[0], BattleStatusLines(robot, true));
    FillLines(menu->dialogs[1], BattleStatusLines(opponent, false));
    return {menu->dialogs[0], menu->dialogs[1]};
}
