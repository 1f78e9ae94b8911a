// The data files as start-up loads them: the lines their one reader refuses, how it cuts long
// texts, the stats blocks and their sums, what each record reads and what the registry keeps,
// and the inventory a robot carries.
#include "data/armor.h"
#include "data/inventory.h"
#include "data/item.h"
#include "data/registry.h"
#include "data/skill.h"
#include "data/stats.h"
#include "data/weapon.h"
#include "foundation/datapath.h"
#include "support/test_support.h"

#include <array>
#include <map>

// Fields a stats block leaves out are 0.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using namespace std::string_literals;

// Blocks are written in field order: evade, stamina, defense, power, dexterity, speed,
// experience, hitPoints, totalHP, energy, totalEnergy.
std::vector<int64_t> Fields(const Stats& s) {
    return {s.evade,      s.stamina,   s.defense, s.power,  s.dexterity,  s.speed,
            s.experience, s.hitPoints, s.totalHP, s.energy, s.totalEnergy};
}

// What reading a record that must be refused prints, with "accepted" or "changed" added when
// the reader took it or the record did not stay as it was.
template <typename T, int (*Reader)(T*, FILE*)> std::string Refused(const std::string& text) {
    T before{};
    std::memset(&before, 0x5a, sizeof before);
    ReadText<T> r(Reader, text, before);
    bool same = std::memcmp(&r.record, &before, sizeof before) == 0;
    if constexpr (std::is_same_v<T, Stats>) // a block is copied field by field
        same = Fields(r.record) == Fields(before);
    return r.output + (r.result != 1 ? "accepted" : "") + (same ? "" : "changed");
}

TEST(DefinitionRecords, BadLinesFailWithTheRecordsMessageAndLeaveItUnchanged) {
    const std::string weapon = "Error reading weapon file\n", stats = "Error reading stats file\n";
    auto* const w = Refused<Weapon, ReadWeapon>;
    auto* const s = Refused<Stats, ReadStats>;
    // clang-format off
    const std::tuple<std::string (*)(const std::string&), std::string, std::string> cases[] = {
        {w, "5000\nuid:\n5000\nendweapon:\n", weapon},
        {w, "uid:\nfive\nendweapon:\n", weapon},
        {w, "name:\nIce\nendweapon:\n", weapon},
        {w, "name:\n\"\"\nendweapon:\n", weapon},
        {w, "uid:\n5000\nweapon:\n", weapon},
        {w, "uid:\n-1\n", "uid: value -1 is out of range (0 to 2147483647)\n" + weapon},
        {w, "accuracy:\nnan\n", "accuracy: value nan is not a finite number\n" + weapon},
        {w, "power:\n200\n", "power: value 200 is out of range (-128 to 127)\n" + weapon}, // added to an 8-bit power
        {Refused<Armor, ReadArmor>, "ddefense:\n-129\n", "ddefense: value -129 is out of range (-128 to 127)\nError reading armor file\n"},
        {Refused<Item, ReadItem>, "usageArea:\n4\n", "usageArea: value 4 is out of range (0 to 3)\nError reading item file\n"},
        // After a stats section its keyword takes no value lines; a bad section fails the record.
        {Refused<Item, ReadItem>, "deltaStats:\npower:\n1\nendstats:\n4\n", "Error reading item file\n"},
        {Refused<Skill, ReadSkill>, "deltaStats:\n4\nendstats:\n", stats + "Error reading skill file\n"},
        {s, "5\nendstats:\n", stats},
        {s, "power:\n128\n", "power: value 128 is out of range (-128 to 127)\n" + stats},
        {s, "totalHP:\n-32769\n", "totalHP: value -32769 is out of range (-32768 to 32767)\n" + stats},
        {s, "experience:\n99999999999999999999999\n", "experience: value 99999999999999999999999 is out of range (-2147483648 to 2147483647)\n" + stats},
    };
    // clang-format on
    for (const auto& [refused, text, expected] : cases)
        EXPECT_EQ(refused(text), expected) << text;
}

TEST(DefinitionRecords, LongTextsKeepTheStartThatFitsTheirFieldAndNoMore) {
    // The name is read last, so that writing past it would show in the description after it.
    const std::string name = "abcdefghijklmnopqrstuvwxyz0123", text = name + name;
    ReadText<Skill> r(ReadSkill, "desc:\n\"" + text + "\"\nsound:\n\"" + text + "\"\nname:\n\"" +
                                     name + "\"\nendskill:\n");
    ReadText<Armor> exact(ReadArmor, "name:\n\"" + name.substr(0, 24) + "\"\nendarmor:\n");
    EXPECT_EQ(std::tuple(r.result, r.record.name, r.record.desc, r.record.sound, r.record.uid,
                         Occurrences(r.output, " characters cut to \""), exact.output,
                         exact.record.name),
              std::tuple(0, name.substr(0, 24), text.substr(0, 32), text.substr(0, 32), 0, 3, ""s,
                         name.substr(0, 24)));
    EXPECT_NE(r.output.find("name: text longer than 24 characters cut to \"" + name.substr(0, 24) +
                            "\"\n"),
              std::string::npos);
}

// clang-format off
TEST(ReadStats, ValuesStandOnTheLineAfterTheirKeywordAndSumsStopAtTheEndsOfTheirRange) {
    const std::pair<std::string, Stats> read[] = {
        {"// a comment\nevade:\n3\nstamina:\n-4\npower:\n7\n8\nexperience:\n1000\nhitPoints:\n50\ntotalHP:\n60\nenergy:\n20\ntotalEnergy:\n30\nendstats:\n", {3, -4, 0, 8, 0, 0, 1000, 50, 60, 20, 30}},
        {"totalEnergy:\n80\nhitPoints: 50\nendstats:\n", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 80}}, // keywords start a line; a value beside one is not read
        {"defense:\n5\n", {0, 0, 5}}, // the end of the file closes a section too
        {"evade:\n-128\npower:\n127\nhitPoints:\n32767\ntotalHP:\n-32768\nexperience:\n-2147483648\nendstats:\n", {-128, 0, 0, 127, 0, 0, INT32_MIN, 32767, -32768}},
    };
    for (const auto& [text, stats] : read) {
        ReadText<Stats> r(ReadStats, text);
        EXPECT_EQ(std::tuple(r.result, r.output, Fields(r.record)), std::tuple(0, ""s, Fields(stats))) << text;
    }
    // Hit points stop at their total, energy has no lower bound, every other field stops at the
    // ends of its range; lowering a total pulls the current value down with it.
    const std::array<Stats, 3> sums[] = { // target, delta, sum
        {{{-127, 0, 0, 120, 0, 0, INT32_MAX, 90, 100, 20, 100}, {-3, 2, 3, 10, 4, 5, 1, 30, 0, -50, 0}, {-128, 2, 3, 127, 4, 5, INT32_MAX, 100, 100, -30, 100}}},
        {{{0, 0, 0, 0, 0, 0, 0, 100, 100, 40, 40}, {0, 0, 0, 0, 0, 0, 0, 0, -20, 0, -10}, {0, 0, 0, 0, 0, 0, 0, 80, 80, 30, 30}}},
    };
    for (auto [target, delta, sum] : sums) {
        AddStats(&target, &delta);
        EXPECT_EQ(Fields(target), Fields(sum));
    }
}
// clang-format on

// The quantity held, -1 for a uid without an entry.
int Held(Inventory* inventory, int uid) {
    const InventoryEntry* entry = InventoryGetEntry(inventory, uid);
    return entry != nullptr ? entry->quantity : -1;
}

// An entry goes when its quantity drops below one, a uid not held changes nothing, quantities
// stop at the 32-bit limit (freeing an inventory lists what it held), and energon becomes
// magicite ten for one from eleven on.
TEST(Inventory, EntriesComeAndGoAndEnergonBecomesMagicite) {
    Inventory* inventory = NewInventory();
    for (auto [uid, count] :
         {std::pair(7000, 3), std::pair(6000, 1), std::pair(7001, INT32_MAX), std::pair(7001, 10)})
        AddItemsToInventory(inventory, uid, count);
    std::vector<int> held;
    std::string said = Captured([&] {
        for (int i = 0; i < 4; i++, RemoveItemFromInventory(inventory, 7000))
            held.push_back(Held(inventory, 7000));
        FreeInventory(inventory);
    });
    EXPECT_EQ(
        std::tuple(said, held),
        std::tuple(
            "freeing item:\nuid: 7000, quantity: 0\nRemoveItemFromInventory: unknown uid: 7000freeing item:\nuid: 6000, quantity: 1\nfreeing item:\nuid: 7001, quantity: 2147483647\n"s,
            std::vector{3, 2, 1, -1}));
    // energon and magicite held before (-1: none), how many converted, and what is held after
    const int cases[][5] = {
        {-1, -1, 0, -1, -1}, {10, -1, 0, 10, -1}, {25, 1, 1, 5, 3}, {20, -1, 1, 0, 2}};
    for (const auto& [energon, magicite, converted, energonAfter, magiciteAfter] : cases) {
        inventory = NewInventory();
        for (auto [uid, count] :
             {std::pair(ENERGON_ITEM_UID, energon), std::pair(MAGICITE_ITEM_UID, magicite)})
            if (count >= 0)
                AddItemsToInventory(inventory, uid, count);
        EXPECT_EQ(
            (std::tuple{ConvertEnergonToMagicite(inventory), Held(inventory, ENERGON_ITEM_UID),
                        Held(inventory, MAGICITE_ITEM_UID)}),
            std::tuple(converted, energonAfter, magiciteAfter))
            << energon;
        Captured([&] { FreeInventory(inventory); });
    }
}

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

} // namespace
