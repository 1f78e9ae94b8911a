// registry: every shared game object found by its uid.
//
// Robot classes, weapons, armor, items and skills loaded from the definition files, the robots
// of all players and the world are registered here once and looked up by uid everywhere else;
// other modules keep uids rather than pointers. The type of a uid is uid / 1000. The registry
// only grows and lives until the process ends. It takes no lock: it is loaded before other
// threads start, and later registrations come from callers that own their synchronisation.
#pragma once

#include "data/armor.h"
#include "data/item.h"
#include "data/robotclass.h"
#include "data/skill.h"
#include "data/weapon.h"
#include "foundation/hash.h"

#include <cstdint>
#include <cstdio>

struct Robot;
struct World;

enum ObjectType {
    EWorldType = 0,
    ETeleporterType = 2,
    ERobotType = 3,
    ERobotClassType = 4,
    EWeaponType = 5,
    EArmorType = 6,
    EItemType = 7,
    ESkillType = 8,
};

constexpr int REGISTRY_BUCKETS = 9000;

// What the table stores; the uid comes first so that an entry is readable as its own key.
// freeObject releases a definition record the registry owns; robots and the world have none.
struct RegistryEntry {
    int32_t uid;
    void* object;
    void (*freeObject)(void* object);
};

struct Registry {
    HashTable* table;
};

extern Registry* gRegistry;

Registry* NewRegistry();
// Releases the entries and the definition records (robots and the world stay with their
// owners). The game keeps its registry to the end; tests release theirs.
void FreeRegistry(Registry* registry);

// Registration makes no check for an existing uid: a second registration of a uid is shadowed
// by the first.
void RegisterRobotClass(Registry* registry, RobotClass* robotClass);
void RegisterWeapon(Registry* registry, Weapon* weapon);
void RegisterArmor(Registry* registry, Armor* armor);
void RegisterItem(Registry* registry, Item* item);
void RegisterSkill(Registry* registry, Skill* skill);
void RegisterRobot(Registry* registry, Robot* robot, int uid);
void RegisterWorld(Registry* registry, World* world, int uid);

// Each returns the object registered under uid, or null after printing
// "<name>: unknown uid %d\n" (LookupSkill prints nothing). They do not check the type.
RobotClass* LookupRobotClass(Registry* registry, int uid);
Robot* LookupRobot(Registry* registry, int uid);
Weapon* LookupWeapon(Registry* registry, int uid);
Armor* LookupArmor(Registry* registry, int uid);
Item* LookupItem(Registry* registry, int uid);
Skill* LookupSkill(Registry* registry, int uid);
World* LookupWorld(Registry* registry, int uid);

// Container files. The items file holds "weapon:", "armor:" and "item:" records and skips
// "skill:" sections; the skills file holds "skill:" records and fails on the other three.
// Every record read is printed, registered and followed by "**\n". A failing record stops the
// file with "Error reading item file %s\n" or "Error reading skill file %s\n" and 1; what was
// registered before stays. The From forms read an open file and leave it open.
int ReadItemsFile(Registry* registry, const char* path);
int ReadSkillsFile(Registry* registry, const char* path);
int ReadItemsFrom(Registry* registry, FILE* file, const char* path);
int ReadSkillsFrom(Registry* registry, FILE* file, const char* path);

// Loads the definition files in their order: robotclasses/class0.txt to class2.txt,
// items/items0.txt, skills/skills0.txt. Bad data is reported and loading goes on; a file
// that does not exist ends the program.
void LoadRegistry(Registry* registry);
// Start-up: creates gRegistry and loads it.
void InitRegistry();
