#include "data/stats.h"
#include "support/test_support.h"

// Fields a block leaves out are 0.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// Blocks are written in field order: evade, stamina, defense, power, dexterity, speed,
// experience, hitPoints, totalHP, energy, totalEnergy.
std::vector<int64_t> Fields(const Stats& s) {
    return {s.evade,      s.stamina,   s.defense, s.power,  s.dexterity,  s.speed,
            s.experience, s.hitPoints, s.totalHP, s.energy, s.totalEnergy};
}

TEST(ReadStats, ValuesStandOnTheLineAfterTheirKeywordAndMustFitTheirField) {
    const Stats before{0, 0, 0, 99, 0, 0, 0, 99}; // what a refused section leaves
    const struct {
        std::string text;
        Stats stats; // `before` for a section that must be refused
    } cases[] = {
        {"// a comment\nevade:\n3\nstamina:\n-4\npower:\n7\n8\nexperience:\n1000\nhitPoints:\n50\n"
         "totalHP:\n60\nenergy:\n20\ntotalEnergy:\n30\nendstats:\n",
         {3, -4, 0, 8, 0, 0, 1000, 50, 60, 20, 30}},
        // Keywords match at the start of a line only, and a value beside its keyword is not read.
        {"totalEnergy:\n80\nhitPoints: 50\nendstats:\n", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 80}},
        {"defense:\n5\n", {0, 0, 5}}, // the end of the file closes a section too
        {"evade:\n-128\npower:\n127\nhitPoints:\n32767\ntotalHP:\n-32768\nexperience:\n"
         "-2147483648\nendstats:\n",
         {-128, 0, 0, 127, 0, 0, INT32_MIN, 32767, -32768}},
        {"5\nendstats:\n", before},
        {"power:\n128\n", before},
        {"totalHP:\n-32769\n", before},
        {"experience:\n99999999999999999999999\n", before},
    };
    for (const auto& c : cases) {
        ReadText<Stats> r(ReadStats, c.text, before);
        bool refused = Fields(c.stats) == Fields(before);
        EXPECT_EQ(std::tuple(r.result, r.output.ends_with("Error reading stats file\n"),
                             Fields(r.record)),
                  std::tuple(refused ? 1 : 0, refused, Fields(c.stats)))
            << c.text << r.output;
    }
}

TEST(AddStats, EverySumStopsAtTheEndsOfItsRangeAndTheCurrentValuesAtTheirTotals) {
    const struct {
        Stats target, delta, sum;
    } cases[] = {
        // Hit points stop at their total, energy has no lower bound, every other field stops at
        // the ends of its range.
        {{-127, 0, 0, 120, 0, 0, INT32_MAX, 90, 100, 20, 100},
         {-3, 2, 3, 10, 4, 5, 1, 30, 0, -50, 0},
         {-128, 2, 3, 127, 4, 5, INT32_MAX, 100, 100, -30, 100}},
        // Lowering a total pulls the current value down with it.
        {{0, 0, 0, 0, 0, 0, 0, 100, 100, 40, 40},
         {0, 0, 0, 0, 0, 0, 0, 0, -20, 0, -10},
         {0, 0, 0, 0, 0, 0, 0, 80, 80, 30, 30}},
    };
    for (const auto& c : cases) {
        Stats target = c.target;
        AddStats(&target, &c.delta);
        EXPECT_EQ(Fields(target), Fields(c.sum));
    }
}

} // namespace
