// robotobjects: what a robot receives (chest contents, prizes), the skills it learns, the
// items it uses, its sonar and the energon it turns into magicite.
#include "data/registry.h"
#include "foundation/assertion.h"
#include "robots/battle.h"
#include "robots/robot.h"
#include "sound/sound.h"
#include "world/gamehooks.h"
#include "world/world.h"

#include <cmath>
#include <cstdio>

bool ReceiveObject(Robot* robot, int uid, int silent) {
    const char* format = "Received %s";
    const char* name = NULL;
    switch (GetObjectTypeFromUID(uid)) {
    case EWeaponType:
        if (const Weapon* weapon = LookupWeapon(gRegistry, uid)) {
            int slots = robot->robotClass->nWeaponSlots;
            if (slots > 0) {
                // A full set of slots gives its last slot to the new weapon.
                robot->nWeapons = robot->nWeapons < slots ? robot->nWeapons + 1 : slots;
                robot->weapons[robot->nWeapons - 1] = uid;
            }
            AddToStat(&robot->stats.power, weapon->power);
            AddToStat(&robot->stats.dexterity, weapon->ddexterity);
            name = weapon->name;
        }
        break;
    case EArmorType:
        if (const Armor* armor = LookupArmor(gRegistry, uid)) {
            AddToStat(&robot->stats.defense, armor->ddefense);
            AddToStat(&robot->stats.evade, armor->devade);
            AddToStat(&robot->stats.stamina, armor->dstamina);
            name = armor->name;
        }
        break;
    case EItemType:
        if (const Item* item = LookupItem(gRegistry, uid))
            name = item->name;
        break;
    case ESkillType:
        if (const Skill* skill = LookupSkill(gRegistry, uid)) {
            // Learning is LearnSkill's; the skill is only counted in the inventory here.
            format = "Learned %s";
            name = skill->name;
        } else {
            std::printf("Unknown skill %d\n", uid);
        }
        break;
    default:
        std::printf("Invalid chest item %d\n", uid);
        return false;
    }
    if (name == NULL)
        return false; // the registry said which uid it does not know
    AddItemToInventory(robot->inventory, uid);
    if (!silent) {
        PlaySoundFile("sounds\\ff3save.wav");
        char message[NAME_SIZE + 16];
        std::snprintf(message, sizeof message, format, name);
        gHooks.showMessage(message);
    }
    return true;
}

bool LearnSkill(Robot* robot, int uid) {
    if (GetObjectTypeFromUID(uid) != ESkillType || LookupSkill(gRegistry, uid) == NULL) {
        std::printf("LearnSkill: %d is not a known skill\n", uid);
        return false;
    }
    for (int i = 0; i < DArrayLength(robot->skills); i++) {
        if (*static_cast<int32_t*>(DArrayNth(robot->skills, i)) == uid)
            return false;
    }
    int32_t skill = uid;
    DArrayAppend(robot->skills, &skill);
    return true;
}

bool ConvertEnergon(Robot* robot) {
    if (!ConvertEnergonToMagicite(robot->inventory))
        return false;
    PlaySoundFile("sounds\\ff3magicite.wav");
    return true;
}

bool RobotHasItem(Robot* robot, int uid) {
    return HasItem(robot->inventory, uid);
}

int RobotItemQuantity(Robot* robot, int uid) {
    const InventoryEntry* entry = InventoryGetEntry(robot->inventory, uid);
    return entry != NULL ? entry->quantity : 0;
}

static World* ItemWorld(const Robot* robot, int itemUid) {
    World* world = LookupWorld(gRegistry, robot->worldUid);
    if (world == NULL)
        std::printf("UseItem: robot %d is in no world for item %d\n", robot->uid, itemUid);
    return world;
}

// Item 7003: a wall in the cell in front, as strong as the robot's power and dexterity.
static void UseWallItem(Robot* robot) {
    World* world = ItemWorld(robot, WALL_ITEM_UID);
    if (world == NULL)
        return;
    Location cell = CellInFront(&robot->cell, robot->facing);
    if (!OnTheGrid(world, cell.x, cell.y)) {
        std::printf("UseItem: no room for a wall beyond the edge of the world\n");
        return;
    }
    PlaySoundFile("sounds\\hexendown.wav");
    int strength = static_cast<int>(robot->stats.power * 3.0 + robot->stats.dexterity * 3.0);
    gHooks.raiseWall(robot, world, &cell, strength, robot->facing);
}

// Item 7007: smoke, and the battle ends with no winner. The bomb is used up, so a robot cannot
// run from every battle it is losing.
static void UseSmokeItem(Robot* robot) {
    if (robot->battle == NULL) {
        std::printf("UseItem: a smoke bomb works only in a battle\n");
        return;
    }
    gHooks.smoke(robot, LookupWorld(gRegistry, robot->worldUid), SMOKE_TICKS);
    RemoveItemFromInventory(robot->inventory, SMOKE_ITEM_UID);
    EndBattleWithoutWinner(robot);
}

// Item 7008: off to either end of any teleporter of the world.
static void UseBeaconItem(Robot* robot) {
    World* world = ItemWorld(robot, BEACON_ITEM_UID);
    if (world == NULL)
        return;
    int n = TeleporterCount(world);
    if (n == 0) {
        std::printf("UseItem: the world has no teleporter to go to\n");
        return;
    }
    const Teleporter* teleporter = GetTeleporter(world, RandomInt(0, n - 1));
    robot->targetCell = RandomInt(0, 1) == 0 ? teleporter->end1 : teleporter->end2;
    FinishTeleport(robot, world);
    PlaySoundFile("sounds\\Jugteleport.wav");
}

// Every other item adds its stats block to the robot's and is used up; in a battle that is the
// robot's action, which every copy applies.
static void UseStatsItem(Robot* robot, int itemUid) {
    const Item* item =
        GetObjectTypeFromUID(itemUid) == EItemType ? LookupItem(gRegistry, itemUid) : NULL;
    if (item == NULL) {
        std::printf("UseItem: %d is not an item\n", itemUid);
        return;
    }
    if (itemUid == REPAIR_ITEM_UID)
        PlaySoundFile("sounds\\ff3healmag.wav");
    AddStats(&robot->stats, &item->deltaStats);
    RemoveItemFromInventory(robot->inventory, itemUid);
    if (InBattleHere(robot))
        gHooks.battleItem(robot, &item->deltaStats);
}

void UseItem(Robot* robot, int itemUid) {
    switch (itemUid) {
    case WALL_ITEM_UID:
        UseWallItem(robot);
        break;
    case CONVERTER_ITEM_UID:
        ConvertEnergon(robot);
        break;
    case SMOKE_ITEM_UID:
        UseSmokeItem(robot);
        break;
    case BEACON_ITEM_UID:
        UseBeaconItem(robot);
        break;
    case LUCKY_ITEM_UID:
        break;
    default:
        UseStatsItem(robot, itemUid);
        break;
    }
}

void UseSonar(Robot* robot) {
    const Color color = {1.0f, 0.0f, 0.0f, 0.4f};
    const Color specular = {1.0f, 1.0f, 1.0f, 0.7f};
    double radius = RobotHasItem(robot, SONAR_AMPLIFIER_UID) ? 5.0 : 2.5;
    gHooks.sonar(robot, &color, &specular, radius, SONAR_TICKS);
    PayEnergy(robot, SONAR_ENERGY_COST);
}
