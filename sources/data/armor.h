// armor: an armor's definition (uids 6000 upward) as the items file gives it.
#pragma once

#include "data/definitionfile.h"

#include <cstdint>
#include <cstdio>

struct Armor {
    int32_t uid;
    char name[NAME_SIZE];
    char desc[TEXT_SIZE];
    // Added to evade, stamina and defense of a robot that receives the armor; -128 to 127 each.
    int32_t devade;
    int32_t dstamina;
    int32_t ddefense;
};

Armor* NewArmor();
void FreeArmor(Armor* armor);
// Reads from after "armor:" up to "endarmor:"; 0, or 1 after "Error reading armor file\n"
// with out unchanged.
int ReadArmor(Armor* out, FILE* file);
void PrintArmor(const Armor* armor);
