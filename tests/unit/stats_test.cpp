#include "data/stats.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct StatsRead {
    int result;
    Stats stats;
    std::string output;
    std::string rest; // the next line left in the file
};

// Reads a section from text into a block prefilled with 99s, so that "unchanged" is visible.
StatsRead Read(std::string text) {
    FILE* file = fmemopen(text.data(), text.size(), "r");
    StatsRead r;
    std::memset(&r.stats, 0, sizeof r.stats);
    r.stats.power = 99;
    r.stats.hitPoints = 99;
    r.output = Captured([&] { r.result = ReadStats(&r.stats, file); });
    char line[256];
    if (std::fgets(line, sizeof line, file) != nullptr)
        r.rest = line;
    std::fclose(file);
    return r;
}

TEST(ReadStats, ValuesStandOnTheLineAfterTheirKeyword) {
    StatsRead r = Read("// a comment\nevade:\n3\nstamina:\n-4\npower:\n7\n8\nspeed:\n2\n"
                       "experience:\n1000\nhitPoints:\n50\ntotalHP:\n60\nenergy:\n20\n"
                       "totalEnergy:\n30\nendstats:\nnext:\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(r.stats.evade, 3);
    EXPECT_EQ(r.stats.stamina, -4);
    EXPECT_EQ(r.stats.defense, 0);
    EXPECT_EQ(r.stats.power, 8); // the last of several value lines wins
    EXPECT_EQ(r.stats.dexterity, 0);
    EXPECT_EQ(r.stats.speed, 2);
    EXPECT_EQ(r.stats.experience, 1000);
    EXPECT_EQ(r.stats.hitPoints, 50);
    EXPECT_EQ(r.stats.totalHP, 60);
    EXPECT_EQ(r.stats.energy, 20);
    EXPECT_EQ(r.stats.totalEnergy, 30);
    EXPECT_EQ(r.rest, "next:\n"); // the section ends at endstats:
}

TEST(ReadStats, KeywordsMatchOnlyAtTheStartOfTheLine) {
    StatsRead r = Read("totalEnergy:\n80\nendstats:\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.stats.totalEnergy, 80);
    EXPECT_EQ(r.stats.energy, 0);
    // A value beside its keyword is ignored, leaving the field 0.
    r = Read("hitPoints: 50\nendstats:\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.stats.hitPoints, 0);
    EXPECT_EQ(r.stats.power, 0); // fields the section does not name are 0
    // The end of the file closes a section too.
    r = Read("defense:\n5\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.stats.defense, 5);
}

TEST(ReadStats, BadValueLinesFailAndLeaveTheBlockUnchanged) {
    const char* bad[] = {
        "5\nendstats:\n",              // before any keyword
        "power:\nstrong\nendstats:\n", // not a number
        "power:\n\"7\"\nendstats:\n",
    };
    for (const char* text : bad) {
        StatsRead r = Read(text);
        EXPECT_EQ(r.result, 1) << text;
        EXPECT_EQ(r.output, "Error reading stats file\n") << text;
        EXPECT_EQ(r.stats.power, 99) << text;
        EXPECT_EQ(r.stats.hitPoints, 99) << text;
    }
}

TEST(ReadStats, ValuesOutsideTheirFieldAreRefusedWithAMessage) {
    StatsRead r = Read("power:\n128\nendstats:\n");
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.output,
              "power: value 128 is out of range (-128 to 127)\nError reading stats file\n");
    EXPECT_EQ(r.stats.power, 99);
    r = Read("totalHP:\n-32769\nendstats:\n");
    EXPECT_EQ(r.result, 1);
    EXPECT_NE(r.output.find("totalHP: value -32769 is out of range (-32768 to 32767)"),
              std::string::npos);
    r = Read("experience:\n99999999999999999999999\nendstats:\n");
    EXPECT_EQ(r.result, 1);
    EXPECT_NE(r.output.find("experience: value"), std::string::npos);
    // The ends of each range are accepted.
    r = Read("evade:\n-128\npower:\n127\nhitPoints:\n32767\ntotalHP:\n-32768\nexperience:\n"
             "-2147483648\nendstats:\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.stats.evade, -128);
    EXPECT_EQ(r.stats.power, 127);
    EXPECT_EQ(r.stats.hitPoints, 32767);
    EXPECT_EQ(r.stats.totalHP, -32768);
    EXPECT_EQ(r.stats.experience, INT32_MIN);
}

Stats Block(int hitPoints, int totalHP, int energy, int totalEnergy) {
    Stats s{};
    s.hitPoints = static_cast<int16_t>(hitPoints);
    s.totalHP = static_cast<int16_t>(totalHP);
    s.energy = static_cast<int16_t>(energy);
    s.totalEnergy = static_cast<int16_t>(totalEnergy);
    return s;
}

TEST(AddStats, HitPointsAndEnergyStopAtTheirTotals) {
    Stats target = Block(90, 100, 10, 50);
    Stats delta = Block(30, 0, 60, 0);
    AddStats(&target, &delta);
    EXPECT_EQ(target.hitPoints, 100);
    EXPECT_EQ(target.energy, 50);
    // Lowering the total pulls the current value down with it.
    target = Block(100, 100, 0, 0);
    delta = Block(0, -20, 0, 0);
    AddStats(&target, &delta);
    EXPECT_EQ(target.hitPoints, 80);
    EXPECT_EQ(target.totalHP, 80);
}

TEST(AddStats, AddsEveryFieldAndStopsAtTheEndsOfItsRange) {
    Stats target = Block(5, 100, 20, 100);
    target.power = 120;
    target.evade = -127;
    target.experience = INT32_MAX;
    Stats delta = Block(-30, 0, -50, 0);
    delta.power = 10;
    delta.evade = -3;
    delta.stamina = 2;
    delta.defense = 3;
    delta.dexterity = 4;
    delta.speed = 5;
    delta.experience = 1;
    AddStats(&target, &delta);
    EXPECT_EQ(target.hitPoints, -25);
    EXPECT_EQ(target.energy, -30);
    EXPECT_EQ(target.power, 127);
    EXPECT_EQ(target.evade, -128);
    EXPECT_EQ(target.stamina, 2);
    EXPECT_EQ(target.defense, 3);
    EXPECT_EQ(target.dexterity, 4);
    EXPECT_EQ(target.speed, 5);
    EXPECT_EQ(target.experience, INT32_MAX);
}

TEST(PrintStats, WritesTheBlockInItsFixedFormat) {
    Stats s = Block(40, 50, 7, 9);
    s.evade = 1;
    s.stamina = 2;
    s.defense = 3;
    s.power = -4;
    s.dexterity = 5;
    s.speed = 6;
    s.experience = 12;
    EXPECT_EQ(Captured([&] { PrintStats(&s); }),
              "Stats\nevade: 1\nstamina: 2\ndefense: 3\npower: -4\ndexterity: 5\n"
              "speed: 6\nenergy: 7 / 9\nexperience: 12\nHP: 40 / 50\nenergy: 7\n");
}

} // namespace
