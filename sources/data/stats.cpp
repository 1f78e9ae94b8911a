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

void AddStats(Stats* target, const Stats* delta) {
    AddToStat(&target->evade, delta->evade);
    AddToStat(&target->stamina, delta->stamina);
    AddToStat(&target->defense, delta->defense);
    AddToStat(&target->power, delta->power);
    AddToStat(&target->dexterity, delta->dexterity);
    AddToStat(&target->speed, delta->speed);
    AddToStat(&target->experience, delta->experience);
    AddToStat(&target->hitPoints, delta->hitPoints);
    AddToStat(&target->totalHP, delta->totalHP);
    AddToStat(&target->energy, delta->energy);
    AddToStat(&target->totalEnergy, delta->totalEnergy);
    if (target->hitPoints > target->totalHP)
        target->hitPoints = target->totalHP;
    if (target->energy > target->totalEnergy)
        target->energy = target->totalEnergy;
}
