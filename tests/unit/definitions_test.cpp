// The data files' records as their one reader takes them: the lines it refuses, how it cuts long
// texts, the stats blocks and their sums, and the inventory a robot carries. What each record
// reads is checked where the data set is loaded (registry_test).
#include "data/armor.h"
#include "data/inventory.h"
#include "data/item.h"
#include "data/skill.h"
#include "data/stats.h"
#include "data/weapon.h"
#include "support/test_support.h"

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

TEST(ReadStats, ValuesStandOnTheLineAfterTheirKeywordAndSumsStopAtTheEndsOfTheirRange) {
    const std::pair<std::string, Stats> read[] = {
        {"// a comment\nevade:\n3\nstamina:\n-4\npower:\n7\n8\nexperience:\n1000\nhitPoints:\n50\n"
         "totalHP:\n60\nenergy:\n20\ntotalEnergy:\n30\nendstats:\n",
         {3, -4, 0, 8, 0, 0, 1000, 50, 60, 20, 30}},
        // Keywords match at the start of a line only, and a value beside its keyword is not read.
        {"totalEnergy:\n80\nhitPoints: 50\nendstats:\n", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 80}},
        {"defense:\n5\n", {0, 0, 5}}, // the end of the file closes a section too
        {"evade:\n-128\npower:\n127\nhitPoints:\n32767\ntotalHP:\n-32768\nexperience:\n"
         "-2147483648\nendstats:\n",
         {-128, 0, 0, 127, 0, 0, INT32_MIN, 32767, -32768}},
    };
    for (const auto& [text, stats] : read) {
        ReadText<Stats> r(ReadStats, text);
        EXPECT_EQ(std::tuple(r.result, r.output, Fields(r.record)),
                  std::tuple(0, ""s, Fields(stats)))
            << text;
    }
    const struct {
        Stats target, delta, sum;
    } sums[] = {
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
    for (const auto& c : sums) {
        Stats target = c.target;
        AddStats(&target, &c.delta);
        EXPECT_EQ(Fields(target), Fields(c.sum));
    }
}

// The quantity held, -1 for a uid without an entry.
int Held(Inventory* inventory, int uid) {
    const InventoryEntry* entry = InventoryGetEntry(inventory, uid);
    return entry != nullptr ? entry->quantity : -1;
}

// An entry goes when its quantity drops below one, a uid not held changes nothing, quantities
// stop at the 32-bit limit, and energon becomes magicite ten for one from eleven on.
TEST(Inventory, EntriesComeAndGoAndEnergonBecomesMagicite) {
    Inventory* inventory = NewInventory();
    AddItemsToInventory(inventory, 7000, 2);
    AddItemToInventory(inventory, 7000);
    AddItemToInventory(inventory, 6000);
    AddItemsToInventory(inventory, 7001, INT32_MAX);
    AddItemsToInventory(inventory, 7001, 10);
    std::vector<int> held;
    std::string said = Captured([&] {
        for (int i = 0; i < 4; i++) {
            RemoveItemFromInventory(inventory, 7000);
            held.push_back(Held(inventory, 7000));
        }
    });
    EXPECT_EQ(std::tuple(said, held, Held(inventory, 6000), Held(inventory, 7001)),
              std::tuple("freeing item:\nuid: 7000, quantity: 0\nRemoveItemFromInventory: "
                         "unknown uid: 7000"s,
                         std::vector{2, 1, -1, -1}, 1, INT32_MAX));
    Captured([&] { FreeInventory(inventory); });
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

} // namespace
