// armor: keyword table, reader and printout of an armor.
#include "data/armor.h"

#include <cstdlib>

static const FieldFormat kArmorFields[] = {
    VFIELD_UID("uid:", Armor, uid),
    VFIELD_NAME("name:", Armor, name),
    VFIELD_TEXT("desc:", Armor, desc),
    VFIELD_ABILITY("devade:", Armor, devade),
    VFIELD_ABILITY("dstamina:", Armor, dstamina),
    VFIELD_ABILITY("ddefense:", Armor, ddefense),
    VFIELD_END("endarmor:"),
};
static const RecordFormat kArmorFormat = VRECORD_FORMAT(kArmorFields, "Error reading armor file\n");

Armor* NewArmor() {
    return NewRecord<Armor>();
}

void FreeArmor(Armor* armor) {
    std::free(armor);
}

int ReadArmor(Armor* out, FILE* file) {
    return ReadRecord(out, kArmorFormat, file);
}

void PrintArmor(const Armor* armor) {
    std::printf("Armor: %s\n", armor->name);
    std::printf("uid: %d\n", armor->uid);
    std::printf("devade: %d\n", armor->devade);
    std::printf("dstamina: %d\n", armor->dstamina);
    std::printf("ddefense: %d\n", armor->ddefense);
}
