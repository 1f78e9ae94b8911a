// The five definition records: their keywords, their printouts and how they treat bad lines.
#include "data/armor.h"
#include "data/item.h"
#include "data/robotclass.h"
#include "data/skill.h"
#include "data/weapon.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Runs a reader over text; the record starts as `initial` so that "unchanged" is visible.
template <typename T> struct Read {
    int result;
    T record;
    std::string output;
    Read(int (*reader)(T*, FILE*), std::string text, T initial = T{}) : record(initial) {
        FILE* file = fmemopen(text.data(), text.size(), "r");
        output = Captured([&] { result = reader(&record, file); });
        std::fclose(file);
    }
};

template <typename T> std::string Printout(void (*printer)(const T*), const T& record) {
    return Captured([&] { printer(&record); });
}

TEST(ReadWeapon, ReadsEachValueFromTheLineAfterItsKeyword) {
    Read<Weapon> r(ReadWeapon, "uid:\n5000\nname:\n\"Ice Volley\"\ndesc:\n\"Cold\"\npower:\n5\n"
                               "ddexterity:\n-2\naccuracy:\n0.75\nendweapon:\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(r.record.uid, 5000);
    EXPECT_STREQ(r.record.name, "Ice Volley");
    EXPECT_STREQ(r.record.desc, "Cold");
    EXPECT_EQ(r.record.ddexterity, -2);
    EXPECT_DOUBLE_EQ(r.record.accuracy, 0.75);
    EXPECT_EQ(Printout(PrintWeapon, r.record),
              "Weapon: Ice Volley\nuid: 5000\npower: 5\nddexterity: -2\naccuracy: 0.750000\n");
    // A value beside its keyword is not read.
    Read<Weapon> same(ReadWeapon, "uid: 5000\nendweapon:\n");
    ASSERT_EQ(same.result, 0);
    EXPECT_EQ(same.record.uid, 0);
}

TEST(ReadArmor, ReadsAndPrintsItsBonuses) {
    Read<Armor> r(ReadArmor, "uid:\n6000\nname:\n\"Plate\"\ndevade:\n-1\ndstamina:\n2\n"
                             "ddefense:\n5\nendarmor:\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.record.ddefense, 5);
    EXPECT_EQ(Printout(PrintArmor, r.record),
              "Armor: Plate\nuid: 6000\ndevade: -1\ndstamina: 2\nddefense: 5\n");
}

TEST(ReadItem, ReadsItsStatsSectionAndPrintsTheUsageArea) {
    Read<Item> r(ReadItem, "uid:\n7000\nname:\n\"Kit\"\ndesc:\n\"Fixes\"\nusageArea:\n3\n"
                           "deltaStats:\nhitPoints:\n120\nendstats:\nenditem:\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.record.usageArea, EWanderingAndCombat);
    EXPECT_EQ(r.record.deltaStats.hitPoints, 120);
    std::string printed = Printout(PrintItem, r.record);
    EXPECT_EQ(printed.substr(0, printed.find("Stats\n")),
              "Item: Kit\nuid: 7000\ndesc: Fixes\nusage area: Wandering & Combat\ndelta stats\n");
    EXPECT_NE(printed.find("HP: 120 / 0\n"), std::string::npos);
    // A record built with an area outside the four is reported when printed.
    r.record.usageArea = static_cast<UsageArea>(7);
    EXPECT_NE(
        Printout(PrintItem, r.record).find("desc: Fixes\nUnknown usage area 7\nusage area: \n"),
        std::string::npos);
}

TEST(ReadSkill, DeltaAndTargetDeltaStatsFillSeparateBlocks) {
    Read<Skill> r(ReadSkill, "name:\n\"Drain\"\nuid:\n8002\nsound:\n\"sounds\\drain.wav\"\n"
                             "energyCost:\n5\ndeltaStats:\nenergy:\n3\nendstats:\n"
                             "targetDeltaStats:\nenergy:\n-4\npower:\n2\nendstats:\nendskill:\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.record.uid, 8002);
    EXPECT_STREQ(r.record.sound, "sounds\\drain.wav");
    EXPECT_EQ(r.record.deltaStats.energy, 3);
    EXPECT_EQ(r.record.deltaStats.power, 0);
    EXPECT_EQ(r.record.targetDeltaStats.energy, -4);
    EXPECT_EQ(r.record.targetDeltaStats.power, 2);
    std::string printed = Printout(PrintSkill, r.record);
    EXPECT_EQ(printed.substr(0, printed.find("Stats\n")),
              "Skill: Drain\nuid: 8002\ndesc: \nsound: sounds\\drain.wav\nusage area: None\n"
              "skillPower: 0\nEP cost: 5\ndelta stats\n");
    EXPECT_NE(printed.find("target deltas\nStats\n"), std::string::npos);
}

TEST(DefinitionRecords, BadLinesFailWithTheRecordsMessageAndLeaveItUnchanged) {
    Weapon before{};
    before.uid = 1234;
    struct Case {
        const char* text;
        const char* output;
    } cases[] = {
        {"5000\nuid:\n5000\nendweapon:\n", "Error reading weapon file\n"},
        {"uid:\nfive\nendweapon:\n", "Error reading weapon file\n"},
        {"name:\nIce\nendweapon:\n", "Error reading weapon file\n"},
        {"name:\n\"\"\nendweapon:\n", "Error reading weapon file\n"},
        {"uid:\n-1\nendweapon:\n",
         "uid: value -1 is out of range (0 to 2147483647)\nError reading weapon file\n"},
        {"accuracy:\nnan\nendweapon:\n",
         "accuracy: value nan is not a finite number\nError reading weapon file\n"},
        {"uid:\n5000\nweapon:\n", "Error reading weapon file\n"},
        {"power:\n200\nendweapon:\n", // it would be added to an 8-bit power
         "power: value 200 is out of range (-128 to 127)\nError reading weapon file\n"},
    };
    for (const Case& c : cases) {
        Read<Weapon> r(ReadWeapon, c.text, before);
        EXPECT_EQ(r.result, 1) << c.text;
        EXPECT_EQ(r.output, c.output) << c.text;
        EXPECT_EQ(r.record.uid, 1234) << c.text;
    }
    // After a stats section its keyword takes no value lines; a bad section fails the record.
    Read<Item> after(ReadItem, "deltaStats:\npower:\n1\nendstats:\n4\nenditem:\n");
    EXPECT_EQ(after.result, 1);
    EXPECT_EQ(after.output, "Error reading item file\n");
    Read<Item> inside(ReadItem, "deltaStats:\n4\nendstats:\nenditem:\n");
    EXPECT_EQ(inside.output, "Error reading stats file\nError reading item file\n");
    Read<Armor> armor(ReadArmor, "ddefense:\n-129\nendarmor:\n");
    EXPECT_EQ(armor.output,
              "ddefense: value -129 is out of range (-128 to 127)\nError reading armor file\n");
    Read<Item> area(ReadItem, "usageArea:\n4\nenditem:\n");
    EXPECT_EQ(area.result, 1);
    EXPECT_EQ(area.output,
              "usageArea: value 4 is out of range (0 to 3)\nError reading item file\n");
}

TEST(DefinitionRecords, LongTextsKeepTheStartThatFitsTheirField) {
    std::string name30(30, 'n'), desc40(40, 'd'), name24(24, 'k');
    name30[23] = 'Z';
    Read<Skill> r(ReadSkill, "name:\n\"" + name30 + "\"\ndesc:\n\"" + desc40 + "\"\nsound:\n\"" +
                                 desc40 + "\"\nendskill:\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(std::string(r.record.name), name30.substr(0, 24));
    EXPECT_EQ(std::string(r.record.desc), desc40.substr(0, 32));
    EXPECT_EQ(std::string(r.record.sound), desc40.substr(0, 32));
    EXPECT_EQ(r.output, "name: text longer than 24 characters cut to \"" + name30.substr(0, 24) +
                            "\"\ndesc: text longer than 32 characters cut to \"" +
                            desc40.substr(0, 32) +
                            "\"\nsound: text longer than 32 characters cut to \"" +
                            desc40.substr(0, 32) + "\"\n");
    Read<Armor> exact(ReadArmor, "name:\n\"" + name24 + "\"\nendarmor:\n");
    EXPECT_EQ(exact.output, "");
    EXPECT_EQ(std::string(exact.record.name), name24);
}

struct ClassRead {
    int result;
    RobotClass* record;
    std::string output;
    std::string path;
};

ClassRead ReadClass(const std::string& text) {
    TempFile file(text, "class0.txt");
    ClassRead r{0, NewRobotClass(), "", file.path()};
    r.record->uid = 4999;
    r.output = Captured([&] { r.result = ReadRobotClass(r.record, file.path().c_str()); });
    return r;
}

TEST(ReadRobotClass, ListsUidsInFileOrderAndReadsToTheEndOfTheFile) {
    ClassRead r = ReadClass("name:\n\"Hover\"\nuid:\n4000\nnWeaponSlots:\n2\nweapon_uid\n5000\n"
                            "weapon_uid:\n5002\n5001\ninitialStats:\npower:\n8\nendstats:\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.output, "");
    ASSERT_EQ(r.record->nWeapons, 3);
    EXPECT_EQ(r.record->weaponUids[0], 5000);
    EXPECT_EQ(r.record->weaponUids[1], 5002);
    EXPECT_EQ(r.record->weaponUids[2], 5001);
    EXPECT_EQ(r.record->nArmors, 0);
    EXPECT_EQ(r.record->armorUids, nullptr);
    EXPECT_EQ(r.record->initialStats.power, 8);
    std::string printed = Printout(PrintRobotClass, *r.record);
    EXPECT_EQ(printed.substr(0, printed.find("Stats\n")),
              "RobotClass\nname: Hover\nuid: 4000\nnWeaponSlots: 2\nnArmorSlots: 0\n"
              "weapon_uid: 5000\nweapon_uid: 5002\nweapon_uid: 5001\n");
    FreeRobotClass(r.record);
}

TEST(ReadRobotClass, KeepsElevenUidsOfEachKindAndIgnoresTheRest) {
    std::string text = "uid:\n4001\narmor_uid:\n";
    for (int i = 0; i < 12; i++)
        text += std::to_string(6000 + i) + "\n";
    ClassRead r = ReadClass(text);
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.output, "armor_uid: value 6011 ignored: a class holds at most 11\n");
    ASSERT_EQ(r.record->nArmors, 11);
    EXPECT_EQ(r.record->armorUids[10], 6010);
    FreeRobotClass(r.record);
}

TEST(ReadRobotClass, AFailedReadNamesTheFileAndLeavesTheClassUnchanged) {
    ClassRead r = ReadClass("uid:\n4000\nweapon_uid\n5000\nnWeaponSlots:\n12\n");
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.output, "nWeaponSlots: value 12 is out of range (0 to 11)\n"
                        "Error reading class file " +
                            r.path + "\n");
    EXPECT_EQ(r.record->uid, 4999);
    EXPECT_EQ(r.record->weaponUids, nullptr);
    FreeRobotClass(r.record);
    EXPECT_EQ(Captured([] { ReportUnknownRobotClass("DrawRobot", 4007); }),
              "DrawRobot: Unknown robot class uid 4007\n");
}

} // namespace
