// stats: the numbers that describe a robot's condition and abilities.
//
// One block serves as a robot's current stats, a class's starting stats and the effect of an
// item or a skill (a delta added with AddStats). Definition files write a block as a stats
// section: keyword lines such as "power:" each followed by a value line, closed by "endstats:".
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>

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
// Adds every field of delta to target, each sum stopping at the ends of its field's range,
// then lowers hitPoints to totalHP and energy to totalEnergy where they exceed them. No other
// lower bound.
void AddStats(Stats* target, const Stats* delta);

// Adds delta to one field of a stats block; the sum stops at the ends of the field's range
// instead of wrapping. Every change to a robot's stats goes through here.
template <typename T> void AddToStat(T* field, int64_t delta) {
    int64_t sum = static_cast<int64_t>(*field) + delta;
    *field = static_cast<T>(
        std::clamp<int64_t>(sum, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}
