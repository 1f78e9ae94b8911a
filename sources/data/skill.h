// skill: a skill's definition (uids 8000 upward) as the skills file gives it.
//
// Unlike the other records a skill's uid is not its first field; the registry keys it by uid.
#pragma once

#include "data/definitionfile.h"
#include "data/stats.h"
#include "foundation/utilities.h"

#include <cstdint>
#include <cstdio>

struct Skill {
    char name[NAME_SIZE];
    char desc[TEXT_SIZE];
    char sound[TEXT_SIZE]; // the sound file played when the skill is used
    int32_t uid;
    int32_t skillPower;
    int32_t energyCost;
    UsageArea usageArea;
    Stats deltaStats;       // the change to the user
    Stats targetDeltaStats; // the change to the target
};

Skill* NewSkill();
void FreeSkill(Skill* skill);
// Reads from after "skill:" up to "endskill:"; 0, or 1 after "Error reading skill file\n" with
// out unchanged. A usage area outside 0 to 3 is refused.
int ReadSkill(Skill* out, FILE* file);
void PrintSkill(const Skill* skill);
