// robotclass: a class file is read into a draft with fixed uid lists, then the lists are copied
// into arrays of their exact length.
#include "data/robotclass.h"

#include "foundation/utilities.h"

#include <cstdlib>
#include <cstring>

namespace {
struct RobotClassDraft {
    int32_t uid;
    char name[NAME_SIZE];
    char desc[TEXT_SIZE];
    Stats initialStats;
    int32_t nWeaponSlots;
    int32_t nArmorSlots;
    UidList weapons;
    UidList armors;
};
} // namespace

// A robot holds one weapon or armor per slot, and a class lists at most MAX_CLASS_UIDS of each.
static const FieldFormat kClassFields[] = {
    VFIELD_NAME("name:", RobotClassDraft, name),
    VFIELD_TEXT("desc:", RobotClassDraft, desc),
    VFIELD_UID("uid:", RobotClassDraft, uid),
    VFIELD_RANGE("nWeaponSlots:", RobotClassDraft, nWeaponSlots, 0, MAX_CLASS_UIDS),
    VFIELD_UIDS("weapon_uid", RobotClassDraft, weapons),
    VFIELD_RANGE("nArmorSlots:", RobotClassDraft, nArmorSlots, 0, MAX_CLASS_UIDS),
    VFIELD_UIDS("armor_uid:", RobotClassDraft, armors),
    VFIELD_STATS("initialStats:", RobotClassDraft, initialStats),
};
// A class has no end keyword and no message of its own: ReadRobotClass names the file.
static const RecordFormat kClassFormat = VRECORD_FORMAT(kClassFields, nullptr);

RobotClass* NewRobotClass() {
    return NewRecord<RobotClass>();
}

void FreeRobotClass(RobotClass* robotClass) {
    if (robotClass == NULL)
        return;
    std::free(robotClass->weaponUids);
    std::free(robotClass->armorUids);
    std::free(robotClass);
}

static int32_t* CopyUids(const UidList* list) {
    if (list->count == 0)
        return NULL;
    size_t bytes = sizeof(int32_t) * static_cast<size_t>(list->count);
    int32_t* uids = static_cast<int32_t*>(SafeMalloc(bytes));
    std::memcpy(uids, list->uids, bytes);
    return uids;
}

int ReadRobotClassFrom(RobotClass* out, FILE* file, const char* path) {
    RobotClassDraft draft;
    if (ReadRecord(&draft, kClassFormat, file) != 0) {
        std::printf("Error reading class file %s\n", path);
        return 1;
    }
    out->uid = draft.uid;
    std::memcpy(out->name, draft.name, sizeof out->name);
    std::memcpy(out->desc, draft.desc, sizeof out->desc);
    out->initialStats = draft.initialStats;
    out->nWeaponSlots = draft.nWeaponSlots;
    out->nWeapons = draft.weapons.count;
    out->weaponUids = CopyUids(&draft.weapons);
    out->nArmorSlots = draft.nArmorSlots;
    out->nArmors = draft.armors.count;
    out->armorUids = CopyUids(&draft.armors);
    return 0;
}

int ReadRobotClass(RobotClass* out, const char* path) {
    FILE* file = SafeFopen(path, "r");
    int result = ReadRobotClassFrom(out, file, path);
    std::fclose(file);
    return result;
}

void PrintRobotClass(const RobotClass* robotClass) {
    std::printf("RobotClass\n");
    std::printf("name: %s\n", robotClass->name);
    std::printf("uid: %d\n", robotClass->uid);
    std::printf("nWeaponSlots: %d\n", robotClass->nWeaponSlots);
    std::printf("nArmorSlots: %d\n", robotClass->nArmorSlots);
    for (int i = 0; i < robotClass->nWeapons; i++)
        std::printf("weapon_uid: %d\n", robotClass->weaponUids[i]);
    for (int i = 0; i < robotClass->nArmors; i++)
        std::printf("armor_uid: %d\n", robotClass->armorUids[i]);
    PrintStats(&robotClass->initialStats);
}

void ReportUnknownRobotClass(const char* functionName, int uid) {
    std::printf("%s: Unknown robot class uid %d\n", functionName, uid);
}
