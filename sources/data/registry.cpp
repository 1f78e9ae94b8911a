// registry: a 9000-bucket hash table of RegistryEntry keyed by uid, and the loading of the
// definition files into it.
#include "data/registry.h"

#include "data/uidkey.h"
#include "foundation/assertion.h"
#include "foundation/datapath.h"
#include "foundation/utilities.h"

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

Registry* gRegistry = NULL;

static int RegistryHash(const void* elemOrKey) {
    return UidBucket(elemOrKey, REGISTRY_BUCKETS);
}

static void FreeEntry(void* elem) {
    RegistryEntry* entry = static_cast<RegistryEntry*>(elem);
    if (entry->freeObject != NULL)
        entry->freeObject(entry->object);
    std::free(entry);
}

Registry* NewRegistry() {
    Registry* registry = static_cast<Registry*>(SafeMalloc(sizeof(Registry)));
    registry->table = HashTableNew(RegistryHash, CompareLeadingUids, FreeEntry, REGISTRY_BUCKETS);
    VASSERT(registry->table != NULL);
    return registry;
}

void FreeRegistry(Registry* registry) {
    if (registry == NULL)
        return;
    HashTableFree(registry->table);
    std::free(registry);
}

static void Register(Registry* registry, int uid, void* object, void (*freeObject)(void*)) {
    VASSERT(registry != NULL && object != NULL);
    RegistryEntry* entry = static_cast<RegistryEntry*>(SafeMalloc(sizeof(RegistryEntry)));
    entry->uid = uid;
    entry->object = object;
    entry->freeObject = freeObject;
    HashTableInsert(registry->table, entry);
}

// Adapts a record's typed Free to the entry's untyped callback.
template <typename T, void (*Free)(T*)> static void FreeAs(void* object) {
    Free(static_cast<T*>(object));
}

void RegisterRobotClass(Registry* registry, RobotClass* robotClass) {
    Register(registry, robotClass->uid, robotClass, FreeAs<RobotClass, FreeRobotClass>);
}

void RegisterWeapon(Registry* registry, Weapon* weapon) {
    Register(registry, weapon->uid, weapon, FreeAs<Weapon, FreeWeapon>);
}

void RegisterArmor(Registry* registry, Armor* armor) {
    Register(registry, armor->uid, armor, FreeAs<Armor, FreeArmor>);
}

void RegisterItem(Registry* registry, Item* item) {
    Register(registry, item->uid, item, FreeAs<Item, FreeItem>);
}

void RegisterSkill(Registry* registry, Skill* skill) {
    Register(registry, skill->uid, skill, FreeAs<Skill, FreeSkill>);
}

void RegisterRobot(Registry* registry, Robot* robot, int uid) {
    Register(registry, uid, robot, NULL);
}

void RegisterWorld(Registry* registry, World* world, int uid) {
    Register(registry, uid, world, NULL);
}

// The one lookup: hashes the address of a local copy of the uid. `caller` names the lookup in
// the miss message; null for a silent miss.
static void* LookupUid(Registry* registry, int uid, const char* caller) {
    VASSERT(registry != NULL);
    int32_t key = uid;
    RegistryEntry* entry = static_cast<RegistryEntry*>(HashTableLookup(registry->table, &key));
    if (entry != NULL)
        return entry->object;
    if (caller != NULL)
        std::printf("%s: unknown uid %d\n", caller, uid);
    return NULL;
}

RobotClass* LookupRobotClass(Registry* registry, int uid) {
    return static_cast<RobotClass*>(LookupUid(registry, uid, "LookupRobotClass"));
}

Robot* LookupRobot(Registry* registry, int uid) {
    return static_cast<Robot*>(LookupUid(registry, uid, "LookupRobot"));
}

Weapon* LookupWeapon(Registry* registry, int uid) {
    return static_cast<Weapon*>(LookupUid(registry, uid, "LookupWeapon"));
}

Armor* LookupArmor(Registry* registry, int uid) {
    return static_cast<Armor*>(LookupUid(registry, uid, "LookupArmor"));
}

Item* LookupItem(Registry* registry, int uid) {
    return static_cast<Item*>(LookupUid(registry, uid, "LookupItem"));
}

Skill* LookupSkill(Registry* registry, int uid) {
    return static_cast<Skill*>(LookupUid(registry, uid, NULL));
}

World* LookupWorld(Registry* registry, int uid) {
    return static_cast<World*>(LookupUid(registry, uid, "LookupWorld"));
}

// A definition whose uid is not of its own type would shadow or be shadowed by another kind of
// object (a class without a uid line would take the world's uid 0), so it is not registered.
static bool UidFitsType(int uid, ObjectType type, const char* kind, const char* name) {
    if (GetObjectTypeFromUID(uid) == type && uid >= 0)
        return true;
    std::printf("%s \"%s\" has uid %d, not %d to %d: not registered\n", kind, name, uid,
                type * 1000, type * 1000 + 999);
    return false;
}

// One record of a container: read, print, copy into a new record, register, "**".
template <typename T, ObjectType Type, int (*Read)(T*, FILE*), void (*Print)(const T*), T* (*New)(),
          void (*Enter)(Registry*, T*)>
static int LoadRecord(Registry* registry, FILE* file, const char* kind) {
    T temp{};
    if (Read(&temp, file) != 0)
        return 1;
    Print(&temp);
    if (UidFitsType(temp.uid, Type, kind, temp.name)) {
        T* record = New();
        *record = temp;
        Enter(registry, record);
    }
    std::printf("**\n");
    return 0;
}

static int LoadWeapon(Registry* registry, FILE* file) {
    return LoadRecord<Weapon, EWeaponType, ReadWeapon, PrintWeapon, NewWeapon, RegisterWeapon>(
        registry, file, "Weapon");
}

static int LoadArmor(Registry* registry, FILE* file) {
    return LoadRecord<Armor, EArmorType, ReadArmor, PrintArmor, NewArmor, RegisterArmor>(
        registry, file, "Armor");
}

static int LoadItem(Registry* registry, FILE* file) {
    return LoadRecord<Item, EItemType, ReadItem, PrintItem, NewItem, RegisterItem>(registry, file,
                                                                                   "Item");
}

static int LoadSkill(Registry* registry, FILE* file) {
    return LoadRecord<Skill, ESkillType, ReadSkill, PrintSkill, NewSkill, RegisterSkill>(
        registry, file, "Skill");
}

// What a container does with a line that starts with one of its keywords.
enum ContainerAction { ELoadRecord, ESkipLine, ERefuseLine };

struct ContainerKeyword {
    const char* keyword;
    ContainerAction action;
    int (*load)(Registry* registry, FILE* file);
};

struct ContainerFormat {
    const ContainerKeyword* keywords;
    int nKeywords;
    const char* errorFormat; // "%s" for the path
};

// Skill sections in the items file are skipped line by line: none of their lines is a
// container keyword.
static const ContainerKeyword kItemsKeywords[] = {
    {"weapon:", ELoadRecord, LoadWeapon},
    {"armor:", ELoadRecord, LoadArmor},
    {"item:", ELoadRecord, LoadItem},
    {"skill:", ESkipLine, NULL},
};
static const ContainerKeyword kSkillsKeywords[] = {
    {"weapon:", ERefuseLine, NULL},
    {"armor:", ERefuseLine, NULL},
    {"item:", ERefuseLine, NULL},
    {"skill:", ELoadRecord, LoadSkill},
};
static const ContainerFormat kItemsFormat = {
    kItemsKeywords, static_cast<int>(std::size(kItemsKeywords)), "Error reading item file %s\n"};
static const ContainerFormat kSkillsFormat = {
    kSkillsKeywords, static_cast<int>(std::size(kSkillsKeywords)), "Error reading skill file %s\n"};

static int ReadContainer(Registry* registry, FILE* file, const char* path,
                         const ContainerFormat& format) {
    char line[LINE_BUFFER_SIZE];
    while (ReadLine(file, line) == 1) {
        for (int i = 0; i < format.nKeywords; i++) {
            const ContainerKeyword& k = format.keywords[i];
            if (!StartsWith(line, k.keyword))
                continue;
            if (k.action == ERefuseLine ||
                (k.action == ELoadRecord && k.load(registry, file) != 0)) {
                std::printf(format.errorFormat, path);
                return 1;
            }
            break;
        }
    }
    return 0;
}

int ReadItemsFrom(Registry* registry, FILE* file, const char* path) {
    return ReadContainer(registry, file, path, kItemsFormat);
}

int ReadSkillsFrom(Registry* registry, FILE* file, const char* path) {
    return ReadContainer(registry, file, path, kSkillsFormat);
}

static int ReadContainerFile(Registry* registry, const char* path, const ContainerFormat& format) {
    FILE* file = SafeFopen(path, "r");
    int result = ReadContainer(registry, file, path, format);
    std::fclose(file);
    return result;
}

int ReadItemsFile(Registry* registry, const char* path) {
    return ReadContainerFile(registry, path, kItemsFormat);
}

int ReadSkillsFile(Registry* registry, const char* path) {
    return ReadContainerFile(registry, path, kSkillsFormat);
}

// "%s%s%d.txt" of a folder, a base name and a number, resolved against the data root.
static std::string DefinitionPath(const char* folder, const char* base, int n) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%s%d.txt", folder, base, n);
    return DataPath(name);
}

static constexpr int CLASS_FILES = 3;
static constexpr int ITEMS_FILES = 1;
static constexpr int SKILLS_FILES = 1;

void LoadRegistry(Registry* registry) {
    for (int n = 0; n < CLASS_FILES; n++) {
        std::string path = DefinitionPath("robotclasses/", "class", n);
        RobotClass* robotClass = NewRobotClass();
        int failed = ReadRobotClass(robotClass, path.c_str());
        PrintRobotClass(robotClass);
        if (failed == 0 &&
            UidFitsType(robotClass->uid, ERobotClassType, "RobotClass", robotClass->name))
            RegisterRobotClass(registry, robotClass);
        else
            FreeRobotClass(robotClass);
    }
    for (int n = 0; n < ITEMS_FILES; n++)
        ReadItemsFile(registry, DefinitionPath("items/", "items", n).c_str());
    for (int n = 0; n < SKILLS_FILES; n++)
        ReadSkillsFile(registry, DefinitionPath("skills/", "skills", n).c_str());
}

void InitRegistry() {
    gRegistry = NewRegistry();
    LoadRegistry(gRegistry);
}
