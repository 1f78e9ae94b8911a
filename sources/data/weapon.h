// weapon: a weapon's definition (uids 5000 upward) as the items file gives it.
#pragma once

#include "data/definitionfile.h"

#include <cstdint>
#include <cstdio>

struct Weapon {
    int32_t uid;
    char name[NAME_SIZE];
    char desc[TEXT_SIZE];
    // -128 to 127 each, as the abilities they are added to.
    int32_t power;      // added to the attack, and to the power of a robot that receives it
    int32_t ddexterity; // added to the dexterity of a robot that receives it
    double accuracy;
};

Weapon* NewWeapon();
void FreeWeapon(Weapon* weapon);
// Reads from after "weapon:" up to "endweapon:"; 0, or 1 after "Error reading weapon file\n"
// with out unchanged.
int ReadWeapon(Weapon* out, FILE* file);
void PrintWeapon(const Weapon* weapon);
