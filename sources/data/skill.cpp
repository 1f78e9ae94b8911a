// skill: keyword table, reader and printout of a skill.
#include "data/skill.h"

#include <cstdlib>

// The keywords in the order they are tried, which differs from the field order.
static const FieldFormat kSkillFields[] = {
    VFIELD_UID("uid:", Skill, uid),
    VFIELD_NAME("name:", Skill, name),
    VFIELD_TEXT("desc:", Skill, desc),
    VFIELD_TEXT("sound:", Skill, sound),
    VFIELD_RANGE("usageArea:", Skill, usageArea, ENoUsage, EWanderingAndCombat),
    VFIELD_INT("skillPower:", Skill, skillPower),
    VFIELD_INT("energyCost:", Skill, energyCost),
    VFIELD_STATS("deltaStats:", Skill, deltaStats),
    VFIELD_STATS("targetDeltaStats:", Skill, targetDeltaStats),
    VFIELD_END("endskill:"),
};
static const RecordFormat kSkillFormat = VRECORD_FORMAT(kSkillFields, "Error reading skill file\n");

Skill* NewSkill() {
    return NewRecord<Skill>();
}

void FreeSkill(Skill* skill) {
    std::free(skill);
}

int ReadSkill(Skill* out, FILE* file) {
    return ReadRecord(out, kSkillFormat, file);
}

void PrintSkill(const Skill* skill) {
    std::printf("Skill: %s\n", skill->name);
    std::printf("uid: %d\n", skill->uid);
    std::printf("desc: %s\n", skill->desc);
    std::printf("sound: %s\n", skill->sound);
    const char* area = UsageAreaToString(skill->usageArea);
    std::printf("usage area: %s\n", area);
    std::printf("skillPower: %d\n", skill->skillPower);
    std::printf("EP cost: %d\n", skill->energyCost);
    std::printf("delta stats\n");
    PrintStats(&skill->deltaStats);
    std::printf("target deltas\n");
    PrintStats(&skill->targetDeltaStats);
}
