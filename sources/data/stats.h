// stats: the numbers that describe a robot's condition and abilities.
//
// One block serves as a robot's current stats, a class's starting stats and the effect of an
// item or a skill (a delta added with AddStats). Definition files write a block as a stats
// section: keyword lines such as "power:" each followed by a value line, closed by "endstats:".
#pragma once

#include <cstdint>
#include <cstdio>

struct Stats {
    int8_t evade;
    int8_t stamina;
    int8_t defense;
    int8_t power;
    int8_t dexterity;
    int8_t speed;
    int32_t experience;
    int16_t hitPoints;
    int16_t totalHP;
    int16_t energy;
    int16_t totalEnergy;
};

// Reads the section that follows a stats keyword up to and including "endstats:" (or the end of
// the file). Fields the section does not name are 0. A value line before the first keyword, one
// that is not an integer or one outside its field's range prints "Error reading stats file\n"
// and returns 1 with out unchanged; 0 on success.
int ReadStats(Stats* out, FILE* file);
void PrintStats(const Stats* stats);
// Adds every field of delta to target (8- and 16-bit sums wrap at their width), then lowers
// hitPoints to totalHP and energy to totalEnergy where they exceed them. No lower bound.
void AddStats(Stats* target, const Stats* delta);
