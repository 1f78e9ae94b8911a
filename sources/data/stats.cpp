// stats: the stats section's keyword table, the printout and the addition of a delta.
#include "data/stats.h"

#include "data/definitionfile.h"

// Keywords are matched at the start of a line, so "totalEnergy:" never sets energy.
static const FieldFormat kStatsFields[] = {
    VFIELD_INT("evade:", Stats, evade),           VFIELD_INT("stamina:", Stats, stamina),
    VFIELD_INT("defense:", Stats, defense),       VFIELD_INT("power:", Stats, power),
    VFIELD_INT("dexterity:", Stats, dexterity),   VFIELD_INT("speed:", Stats, speed),
    VFIELD_INT("experience:", Stats, experience), VFIELD_INT("hitPoints:", Stats, hitPoints),
    VFIELD_INT("energy:", Stats, energy),         VFIELD_INT("totalEnergy:", Stats, totalEnergy),
    VFIELD_INT("totalHP:", Stats, totalHP),       VFIELD_END("endstats:"),
};
static const RecordFormat kStatsFormat = VRECORD_FORMAT(kStatsFields, "Error reading stats file\n");

int ReadStats(Stats* out, FILE* file) {
    return ReadRecord(out, kStatsFormat, file);
}

void PrintStats(const Stats* stats) {
    std::printf("Stats\n");
    std::printf("evade: %d\n", stats->evade);
    std::printf("stamina: %d\n", stats->stamina);
    std::printf("defense: %d\n", stats->defense);
    std::printf("power: %d\n", stats->power);
    std::printf("dexterity: %d\n", stats->dexterity);
    std::printf("speed: %d\n", stats->speed);
    std::printf("energy: %d / %d\n", stats->energy, stats->totalEnergy);
    std::printf("experience: %d\n", stats->experience);
    std::printf("HP: %d / %d\n", stats->hitPoints, stats->totalHP);
    std::printf("energy: %d\n", stats->energy);
}

template <typename T> static void AddWrapping(T* field, T delta) {
    *field = static_cast<T>(*field + delta);
}

void AddStats(Stats* target, const Stats* delta) {
    AddWrapping(&target->evade, delta->evade);
    AddWrapping(&target->stamina, delta->stamina);
    AddWrapping(&target->defense, delta->defense);
    AddWrapping(&target->power, delta->power);
    AddWrapping(&target->dexterity, delta->dexterity);
    AddWrapping(&target->speed, delta->speed);
    // 32 bits wrap too, done in unsigned arithmetic where wrapping is defined.
    target->experience = static_cast<int32_t>(static_cast<uint32_t>(target->experience) +
                                              static_cast<uint32_t>(delta->experience));
    AddWrapping(&target->hitPoints, delta->hitPoints);
    AddWrapping(&target->totalHP, delta->totalHP);
    AddWrapping(&target->energy, delta->energy);
    AddWrapping(&target->totalEnergy, delta->totalEnergy);
    if (target->hitPoints > target->totalHP)
        target->hitPoints = target->totalHP;
    if (target->energy > target->totalEnergy)
        target->energy = target->totalEnergy;
}
