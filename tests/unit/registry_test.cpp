// The registry: lookups by uid, and the data set loaded from its files as start-up loads it.
#include "data/registry.h"
#include "foundation/datapath.h"
#include "support/test_support.h"

#include <filesystem>
#include <fstream>
#include <map>

namespace {

using namespace std::string_literals;

TEST(LoadRegistry, ReadsEveryKindOfRecordAndRegistersOnlyWhatLoadsWithAUidOfItsType) {
    TempFile root("");
    ScopedEnv data("VANTRELL_DATA", root.dir().c_str());
    std::string armors;
    for (int i = 0; i < 12; i++)
        armors += std::to_string(6000 + i) + "\n";
    for (const auto& [name, text] : std::map<std::string, std::string>{
             {"robotclasses/class0.txt",
              "name:\n\"Hover\"\nuid:\n4000\nnWeaponSlots:\n2\nweapon_uid\n5000\nweapon_uid:\n"
              "5002\n5001\nnArmorSlots:\n0\narmor_uid:\n" +
                  armors + "initialStats:\npower:\n8\nendstats:\n"},
             {"robotclasses/class1.txt", "name:\n\"No uid\"\n"},
             {"robotclasses/class2.txt", "uid:\n4002\nnWeaponSlots:\n12\n"},
             {"items/items0.txt",
              "// heading\nweapon:\nuid:\n5000\nname:\n\"Ice Volley\"\ndesc:\n\"Cold\"\npower:\n5\n"
              "ddexterity:\n-2\naccuracy:\n0.75\nendweapon:\nskill:\nuid:\n8009\nendskill:\n"
              "armor:\nuid:\n6000\nname:\n\"Plate\"\ndevade:\n-1\ndstamina:\n2\nddefense:\n5\n"
              "endarmor:\nstray line\nitem:\nuid:\n7000\ndeltaStats:\nhitPoints:\n120\nendstats:\n"
              "usageArea:\n3\nenditem:\nweapon:\nuid:\n7005\nname:\n\"Odd\"\nendweapon:\nitem:\n"
              "uid:\n7005\nenditem:\nitem:\nuid:\n7001\nbad\nenditem:\nitem:\nuid:\n7002\n"
              "enditem:\n"},
             {"skills/skills0.txt",
              "skill:\nname:\n\"Drain\"\nuid:\n8002\nsound:\n\"sounds\\drain.wav\"\nusageArea:\n2\n"
              "skillPower:\n4\nenergyCost:\n5\ndeltaStats:\nenergy:\n3\nendstats:\n"
              "targetDeltaStats:\nenergy:\n-4\nendstats:\nendskill:\n"
              "weapon:\nuid:\n5001\nendweapon:\nskill:\nuid:\n8001\nendskill:\n"}}) {
        std::filesystem::create_directories(
            std::filesystem::path(root.dir() + "/" + name).parent_path());
        std::ofstream(root.dir() + "/" + name) << text;
    }
    Registry* registry = NewRegistry();
    std::string out = Captured([&] { LoadRegistry(registry); });
    for (const std::string& complaint :
         {"armor_uid: value 6011 ignored: a class holds at most 11\n"s,
          "RobotClass \"No uid\" has uid 0, not 4000 to 4999: not registered\n"s,
          "nWeaponSlots: value 12 is out of range (0 to 11)\nError reading class file " +
              DataPath("robotclasses/class2.txt") + "\n",
          "Weapon \"Odd\" has uid 7005, not 5000 to 5999: not registered\n"s,
          "Error reading item file\nError reading item file " + DataPath("items/items0.txt"),
          "**\nError reading skill file " + DataPath("skills/skills0.txt")})
        EXPECT_EQ(Occurrences(out, complaint), 1) << complaint << "\nin:\n" << out;

    // Nothing that failed to load or has a uid of another type is registered; a skill misses
    // silently. 14000 shares the bucket of 5000 (whose record is checked below).
    Weapon* sameBucket = NewWeapon();
    sameBucket->uid = 14000;
    RegisterWeapon(registry, sameBucket);
    std::string misses = Captured([&] {
        for (int uid : {0, 4002, 7001, 7002, 8001, 8009})
            LookupItem(registry, uid);
        LookupSkill(registry, 8004);
    });
    EXPECT_EQ(std::tuple(Occurrences(misses, "LookupItem: unknown uid "), Occurrences(misses, "\n"),
                         LookupWeapon(registry, 14000)),
              std::tuple(6, 6, sameBucket));
    const RobotClass* c = LookupRobotClass(registry, 4000);
    const Weapon* w = LookupWeapon(registry, 5000);
    const Armor* a = LookupArmor(registry, 6000);
    const Item* i = LookupItem(registry, 7000);
    const Skill* s = LookupSkill(registry, 8002);
    EXPECT_EQ(std::tuple(c->nWeaponSlots, c->nArmorSlots, c->nWeapons, c->nArmors,
                         c->initialStats.power, c->weaponUids[1], c->armorUids[10], w->name,
                         w->desc, w->power, w->ddexterity, w->accuracy, a->name, a->devade,
                         a->dstamina, a->ddefense, i->usageArea, i->deltaStats.hitPoints, s->name,
                         s->sound, s->usageArea, s->skillPower, s->energyCost, s->deltaStats.energy,
                         s->targetDeltaStats.energy),
              std::tuple(2, 0, 3, 11, 8, 5002, 6010, "Ice Volley"s, "Cold"s, 5, -2, 0.75, "Plate"s,
                         -1, 2, 5, EWanderingAndCombat, 120, "Drain"s, "sounds\\drain.wav"s,
                         ECombat, 4, 5, 3, -4));
    FreeRegistry(registry);
}

// The shipped data set (that it loads without a complaint is the dataset end-to-end test's).
TEST(ShippedData, FitsWhatTheGameDoesWithIt) {
    ScopedEnv root{"VANTRELL_DATA", VANTRELL_SOURCE_DATA};
    Registry* registry = NewRegistry();
    Captured([&] { LoadRegistry(registry); });
    // Smoke ends a battle (outside one it is an error); the amplifier works while carried (use
    // would spend it); wall, converter and teleport act on the world; repairs serve anywhere.
    // Used while wandering a skill is aimed at its user, so the strikes are combat-only.
    std::string areas; // none 0, wandering 1, combat 2, both 3
    for (int uid : {7007, 7005, 7003, 7006, 7008, 7000, 7001, 7002, 8001, 8002})
        areas += std::to_string(uid < 8000 ? LookupItem(registry, uid)->usageArea
                                           : LookupSkill(registry, uid)->usageArea);
    EXPECT_EQ(areas, "2011133322");
    for (int uid = 4000; uid <= 4002; uid++) { // classes start whole, with room to grow
        const RobotClass* c = LookupRobotClass(registry, uid);
        const Stats& s = c->initialStats;
        bool fits = s.hitPoints == s.totalHP && s.energy == s.totalEnergy &&
                    c->nWeapons <= c->nWeaponSlots && c->nArmors <= c->nArmorSlots;
        for (int i = 0; i < std::max(c->nWeapons, c->nArmors); i++)
            fits &= (i >= c->nWeapons || GetObjectTypeFromUID(c->weaponUids[i]) == EWeaponType) &&
                    (i >= c->nArmors || GetObjectTypeFromUID(c->armorUids[i]) == EArmorType);
        EXPECT_TRUE(fits) << uid;
    }
    FreeRegistry(registry);
}

} // namespace
