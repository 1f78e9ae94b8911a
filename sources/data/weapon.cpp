// weapon: keyword table, reader and printout of a weapon.
#include "data/weapon.h"

#include <cstdlib>

static const FieldFormat kWeaponFields[] = {
    VFIELD_UID("uid:", Weapon, uid),
    VFIELD_NAME("name:", Weapon, name),
    VFIELD_TEXT("desc:", Weapon, desc),
    VFIELD_ABILITY("power:", Weapon, power),
    VFIELD_ABILITY("ddexterity:", Weapon, ddexterity),
    VFIELD_REAL("accuracy:", Weapon, accuracy),
    VFIELD_END("endweapon:"),
};
static const RecordFormat kWeaponFormat =
    VRECORD_FORMAT(kWeaponFields, "Error reading weapon file\n");

Weapon* NewWeapon() {
    return NewRecord<Weapon>();
}

void FreeWeapon(Weapon* weapon) {
    std::free(weapon);
}

int ReadWeapon(Weapon* out, FILE* file) {
    return ReadRecord(out, kWeaponFormat, file);
}

void PrintWeapon(const Weapon* weapon) {
    std::printf("Weapon: %s\n", weapon->name);
    std::printf("uid: %d\n", weapon->uid);
    std::printf("power: %d\n", weapon->power);
    std::printf("ddexterity: %d\n", weapon->ddexterity);
    std::printf("accuracy: %lf\n", weapon->accuracy);
}
