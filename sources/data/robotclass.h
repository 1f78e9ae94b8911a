// robotclass: a robot class (uids 4000 upward), one class to a file.
//
// A class gives a new robot its starting stats, its weapon and armor slots and its starting
// equipment. Classes 4000 (hover), 4001 (dalek) and 4002 (johnny) have robot models.
#pragma once

#include "data/definitionfile.h"
#include "data/stats.h"

#include <cstdint>
#include <cstdio>

struct RobotClass {
    int32_t uid;
    char name[NAME_SIZE];
    char desc[TEXT_SIZE];
    Stats initialStats;
    int32_t nWeaponSlots;
    int32_t nWeapons;
    int32_t* weaponUids; // nWeapons entries, owned by the class (null when there are none)
    int32_t nArmorSlots;
    int32_t nArmors;
    int32_t* armorUids; // nArmors entries, owned by the class (null when there are none)
};

RobotClass* NewRobotClass();
// Releases the class and its uid arrays.
void FreeRobotClass(RobotClass* robotClass);
// Opens `path` with SafeFopen and reads one class to the end of the file. On error prints
// "Error reading class file %s\n" with the path and returns 1 with out unchanged; 0 on success.
// out must be a class without uid arrays (fresh from NewRobotClass); it receives new ones.
int ReadRobotClass(RobotClass* out, const char* path);
// The same from an open file, which stays open; `path` names it in the error message.
int ReadRobotClassFrom(RobotClass* out, FILE* file, const char* path);
void PrintRobotClass(const RobotClass* robotClass);
// "%s: Unknown robot class uid %d\n", for callers that meet a class without a model.
void ReportUnknownRobotClass(const char* functionName, int uid);
