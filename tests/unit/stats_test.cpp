#include "data/stats.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Blocks are written with designated initializers; the fields they leave out are 0.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

std::vector<int64_t> Fields(const Stats& s) {
    return {s.evade,      s.stamina,   s.defense, s.power,  s.dexterity,  s.speed,
            s.experience, s.hitPoints, s.totalHP, s.energy, s.totalEnergy};
}

TEST(ReadStats, ValuesStandOnTheLineAfterTheirKeywordAndMustFitTheirField) {
    const Stats before{.power = 99, .hitPoints = 99}; // what a refused section leaves
    const struct {
        std::string text;
        Stats stats; // `before` for a section that must be refused
    } cases[] = {
        {"// a comment\nevade:\n3\nstamina:\n-4\npower:\n7\n8\nexperience:\n1000\nhitPoints:\n50\n"
         "totalHP:\n60\nenergy:\n20\ntotalEnergy:\n30\nendstats:\n",
         {.evade = 3,
          .stamina = -4,
          .power = 8,
          .experience = 1000,
          .hitPoints = 50,
          .totalHP = 60,
          .energy = 20,
          .totalEnergy = 30}},
        // Keywords match at the start of a line only, and a value beside its keyword is not read.
        {"totalEnergy:\n80\nhitPoints: 50\nendstats:\n", {.totalEnergy = 80}},
        {"defense:\n5\n", {.defense = 5}}, // the end of the file closes a section too
        {"evade:\n-128\npower:\n127\nhitPoints:\n32767\ntotalHP:\n-32768\nexperience:\n"
         "-2147483648\nendstats:\n",
         {.evade = -128,
          .power = 127,
          .experience = INT32_MIN,
          .hitPoints = 32767,
          .totalHP = -32768}},
        {"5\nendstats:\n", before},
        {"power:\n128\n", before},
        {"totalHP:\n-32769\n", before},
        {"experience:\n99999999999999999999999\n", before},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        FILE* file = fmemopen(text.data(), text.size(), "r");
        Stats stats = before;
        int result = -1;
        std::string output = Captured([&] { result = ReadStats(&stats, file); });
        std::fclose(file);
        bool refused = Fields(c.stats) == Fields(before);
        EXPECT_EQ(result, refused ? 1 : 0) << text;
        EXPECT_EQ(output.ends_with("Error reading stats file\n"), refused) << output;
        EXPECT_EQ(Fields(stats), Fields(c.stats)) << text;
    }
}

TEST(AddStats, EverySumStopsAtTheEndsOfItsRangeAndTheCurrentValuesAtTheirTotals) {
    const struct {
        Stats target, delta, sum;
    } cases[] = {
        // Hit points stop at their total, energy has no lower bound, every other field stops at
        // the ends of its range.
        {{.evade = -127,
          .power = 120,
          .experience = INT32_MAX,
          .hitPoints = 90,
          .totalHP = 100,
          .energy = 20,
          .totalEnergy = 100},
         {.evade = -3,
          .stamina = 2,
          .defense = 3,
          .power = 10,
          .dexterity = 4,
          .speed = 5,
          .experience = 1,
          .hitPoints = 30,
          .energy = -50},
         {.evade = -128,
          .stamina = 2,
          .defense = 3,
          .power = 127,
          .dexterity = 4,
          .speed = 5,
          .experience = INT32_MAX,
          .hitPoints = 100,
          .totalHP = 100,
          .energy = -30,
          .totalEnergy = 100}},
        // Lowering a total pulls the current value down with it.
        {{.hitPoints = 100, .totalHP = 100, .energy = 40, .totalEnergy = 40},
         {.totalHP = -20, .totalEnergy = -10},
         {.hitPoints = 80, .totalHP = 80, .energy = 30, .totalEnergy = 30}},
    };
    for (const auto& c : cases) {
        Stats target = c.target;
        AddStats(&target, &c.delta);
        EXPECT_EQ(Fields(target), Fields(c.sum));
    }
}

} // namespace
