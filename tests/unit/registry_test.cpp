// The registry: lookups by uid, the two container files, the loading order and the shipped
// data set.
#include "data/registry.h"
#include "foundation/datapath.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

// A data root of its own holding the given files.
struct DataTree {
    explicit DataTree(const std::map<std::string, std::string>& files) {
        for (const auto& [name, text] : files) {
            std::filesystem::path path = std::filesystem::path(dir.dir()) / name;
            std::filesystem::create_directories(path.parent_path());
            std::ofstream(path) << text;
        }
    }
    TempFile dir{""};
    ScopedEnv root{"VANTRELL_DATA", dir.dir().c_str()};
};

std::string ClassText(int uid) {
    return "name:\n\"Test\"\nuid:\n" + std::to_string(uid) + "\n";
}

TEST(Registry, FindsObjectsByUidAndReportsMisses) {
    Registry* registry = NewRegistry();
    Weapon* weapon = NewWeapon();
    weapon->uid = 5000;
    Skill* skill = NewSkill();
    skill->uid = 8003; // not the first field of a skill
    Item* item = NewItem();
    item->uid = 7000;
    RegisterWeapon(registry, weapon);
    RegisterSkill(registry, skill);
    RegisterItem(registry, item);
    int worldStandIn = 0;
    World* world = reinterpret_cast<World*>(&worldStandIn);
    RegisterWorld(registry, world, 0);
    EXPECT_EQ(LookupWeapon(registry, 5000), weapon);
    EXPECT_EQ(LookupSkill(registry, 8003), skill);
    EXPECT_EQ(LookupWorld(registry, 0), world);
    // Lookups do not check the type.
    EXPECT_EQ(static_cast<void*>(LookupWeapon(registry, 7000)), static_cast<void*>(item));
    void *missedItem = weapon, *missedSkill = weapon, *missedRobot = weapon, *missedClass = weapon;
    std::string out = Captured([&] {
        missedItem = LookupItem(registry, 9999);
        missedSkill = LookupSkill(registry, 8004);
        missedRobot = LookupRobot(registry, -3001);
        missedClass = LookupRobotClass(registry, 4000);
    });
    EXPECT_EQ(missedItem, nullptr);
    EXPECT_EQ(missedSkill, nullptr);
    EXPECT_EQ(missedRobot, nullptr);
    EXPECT_EQ(missedClass, nullptr);
    EXPECT_EQ(out, "LookupItem: unknown uid 9999\nLookupRobot: unknown uid -3001\n"
                   "LookupRobotClass: unknown uid 4000\n");
    FreeRegistry(registry); // frees the records it owns, not the world
}

TEST(Registry, UidsNineThousandApartShareABucketAndTheFirstRegistrationWins) {
    Registry* registry = NewRegistry();
    Weapon* low = NewWeapon();
    low->uid = 5000;
    Weapon* high = NewWeapon();
    high->uid = 14000;
    Weapon* shadowed = NewWeapon();
    shadowed->uid = 5000;
    RegisterWeapon(registry, low);
    RegisterWeapon(registry, high);
    RegisterWeapon(registry, shadowed);
    List* bucket = registry->table->buckets[5000];
    ASSERT_NE(bucket->head, nullptr);
    ASSERT_NE(bucket->head->next, nullptr);
    EXPECT_EQ(LookupWeapon(registry, 5000), low);
    EXPECT_EQ(LookupWeapon(registry, 14000), high);
    FreeRegistry(registry);
}

// A container file read into a registry of its own.
class ContainerFile : public ::testing::Test {
  protected:
    void Load(int (*reader)(Registry*, const char*), const std::string& text) {
        file = std::make_unique<TempFile>(text);
        output = Captured([&] { result = reader(registry, file->path().c_str()); });
    }
    // Whether uid is registered, without the miss message.
    bool Registered(int uid) {
        void* found = nullptr;
        Captured([&] { found = LookupItem(registry, uid); });
        return found != nullptr;
    }
    void TearDown() override { FreeRegistry(registry); }
    Registry* registry = NewRegistry();
    std::unique_ptr<TempFile> file;
    std::string output;
    int result = -1;
};

TEST_F(ContainerFile, ItemsFileLoadsWeaponsArmorAndItemsAndSkipsSkillSections) {
    Load(ReadItemsFile, "// heading\nweapon:\nuid:\n5000\nname:\n\"Gun\"\nendweapon:\n"
                        "skill:\nuid:\n8000\nname:\n\"Lost\"\nendskill:\n"
                        "armor:\nuid:\n6000\nendarmor:\nstray line\nitem:\nuid:\n7000\nenditem:\n");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(output.substr(0, output.find("Armor")),
              "Weapon: Gun\nuid: 5000\npower: 0\nddexterity: 0\naccuracy: 0.000000\n**\n");
    EXPECT_EQ(Occurrences(output, "**\n"), 3);
    EXPECT_EQ(Occurrences(output, "Error"), 0);
    EXPECT_STREQ(LookupWeapon(registry, 5000)->name, "Gun");
    EXPECT_TRUE(Registered(6000));
    EXPECT_TRUE(Registered(7000));
    EXPECT_FALSE(Registered(8000));
}

TEST_F(ContainerFile, AFailingRecordStopsTheItemsFileAndKeepsWhatCameBefore) {
    Load(ReadItemsFile, "weapon:\nuid:\n5000\nendweapon:\nitem:\nuid:\n7000\nbad\nenditem:\n"
                        "item:\nuid:\n7001\nenditem:\n");
    EXPECT_EQ(result, 1);
    EXPECT_NE(
        output.find("**\nError reading item file\nError reading item file " + file->path() + "\n"),
        std::string::npos);
    EXPECT_TRUE(Registered(5000));
    EXPECT_FALSE(Registered(7000));
    EXPECT_FALSE(Registered(7001));
}

TEST_F(ContainerFile, AWeaponSectionEndsTheSkillsFile) {
    Load(ReadSkillsFile, "skill:\nuid:\n8000\nendskill:\nweapon:\nuid:\n5000\nendweapon:\n"
                         "skill:\nuid:\n8001\nendskill:\n");
    EXPECT_EQ(result, 1);
    EXPECT_NE(output.find("**\nError reading skill file " + file->path() + "\n"),
              std::string::npos);
    EXPECT_TRUE(Registered(8000));
    EXPECT_FALSE(Registered(8001));
}

TEST(LoadRegistry, DefinitionsWithoutAUidOfTheirOwnTypeAreNotRegistered) {
    DataTree tree({{"robotclasses/class0.txt", ClassText(4000)},
                   {"robotclasses/class1.txt", "name:\n\"No uid\"\n"},
                   {"robotclasses/class2.txt", ClassText(4002) + "nArmorSlots:\n-1\n"},
                   {"items/items0.txt", "weapon:\nuid:\n7005\nname:\n\"Odd\"\nendweapon:\n"
                                        "item:\nuid:\n7005\nenditem:\n"},
                   {"skills/skills0.txt", "skill:\nuid:\n8000\nendskill:\n"}});
    Registry* registry = NewRegistry();
    std::string out = Captured([&] { LoadRegistry(registry); });
    EXPECT_EQ(Occurrences(out, "RobotClass\n"), 3);
    EXPECT_NE(out.find("RobotClass \"No uid\" has uid 0, not 4000 to 4999: not registered\n"),
              std::string::npos);
    EXPECT_NE(out.find("Error reading class file " + DataPath("robotclasses/class2.txt")),
              std::string::npos);
    EXPECT_NE(out.find("Weapon \"Odd\" has uid 7005, not 5000 to 5999: not registered\n"),
              std::string::npos);
    void *class0, *class1, *class2, *item, *skill;
    Captured([&] {
        class0 = LookupRobotClass(registry, 4000);
        class1 = LookupRobotClass(registry, 0); // the world's uid stays free
        class2 = LookupRobotClass(registry, 4002);
        item = LookupItem(registry, 7005);
        skill = LookupSkill(registry, 8000);
    });
    EXPECT_NE(class0, nullptr);
    EXPECT_EQ(class1, nullptr);
    EXPECT_EQ(class2, nullptr);
    EXPECT_NE(item, nullptr);
    EXPECT_NE(skill, nullptr);
    FreeRegistry(registry);
}

// The shipped data set, loaded as start-up loads it.
class ShippedData : public ::testing::Test {
  protected:
    void SetUp() override {
        registry = NewRegistry();
        output = Captured([&] { LoadRegistry(registry); });
    }
    void TearDown() override { FreeRegistry(registry); }
    ScopedEnv root{"VANTRELL_DATA", VANTRELL_SOURCE_DATA};
    Registry* registry = nullptr;
    std::string output;
};

TEST_F(ShippedData, DefinesEveryUidTheGameNamesWithoutAComplaint) {
    for (const char* complaint :
         {"Error", "out of range", "cut to", "ignored", "Unknown", "not registered", "unknown"})
        EXPECT_EQ(Occurrences(output, complaint), 0) << complaint;
    EXPECT_EQ(Occurrences(output, "RobotClass\n"), 3);
    EXPECT_EQ(Occurrences(output, "**\n"), 18);
    std::map<int, int> found; // uid asked for -> uid of the record found
    std::string misses = Captured([&] {
        for (int uid = 4000; uid <= 4002; uid++)
            found[uid] = LookupRobotClass(registry, uid)->uid;
        for (int uid = 5000; uid <= 5002; uid++)
            found[uid] = LookupWeapon(registry, uid)->uid;
        found[6000] = LookupArmor(registry, 6000)->uid;
        for (int uid = 7000; uid <= 7009; uid++)
            found[uid] = LookupItem(registry, uid)->uid;
    });
    EXPECT_EQ(misses, "");
    for (const auto& [asked, got] : found)
        EXPECT_EQ(asked, got);
    EXPECT_EQ(found.size(), 17u);
    for (int uid = 8000; uid <= 8003; uid++) {
        ASSERT_NE(LookupSkill(registry, uid), nullptr) << uid;
        EXPECT_EQ(LookupSkill(registry, uid)->uid, uid);
    }
}

TEST_F(ShippedData, UsageAreasFitWhatTheItemsAndSkillsDo) {
    auto area = [&](int uid) { return LookupItem(registry, uid)->usageArea; };
    EXPECT_EQ(area(7007), ECombat);    // smoke ends a battle; outside one it is an error
    EXPECT_EQ(area(7005), ENoUsage);   // the amplifier works while carried; use would spend it
    for (int uid : {7003, 7006, 7008}) // wall, converter, teleport act on the world
        EXPECT_EQ(area(uid), EWandering) << uid;
    for (int uid : {7000, 7001, 7002})
        EXPECT_EQ(area(uid), EWanderingAndCombat) << uid;
    // Used while wandering a skill is aimed at its user, so the strikes are combat-only.
    EXPECT_EQ(LookupSkill(registry, 8001)->usageArea, ECombat);
    EXPECT_EQ(LookupSkill(registry, 8002)->usageArea, ECombat);
    for (int uid = 8000; uid <= 8003; uid++)
        EXPECT_NE(LookupSkill(registry, uid)->sound[0], '\0') << uid;
}

TEST_F(ShippedData, ClassesStartWholeWithRoomToGrowAndEnergyForEverySkill) {
    for (int uid = 4000; uid <= 4002; uid++) {
        const RobotClass* c = LookupRobotClass(registry, uid);
        const Stats& s = c->initialStats;
        EXPECT_EQ(s.hitPoints, s.totalHP) << uid;
        EXPECT_EQ(s.energy, s.totalEnergy) << uid;
        for (int ability : {s.evade, s.stamina, s.defense, s.power, s.dexterity, s.speed}) {
            EXPECT_GT(ability, 0) << uid;
            EXPECT_LE(ability, 32) << uid;
        }
        EXPECT_LE(c->nWeapons, c->nWeaponSlots) << uid;
        EXPECT_LE(c->nArmors, c->nArmorSlots) << uid;
        for (int i = 0; i < c->nWeapons; i++)
            EXPECT_EQ(GetObjectTypeFromUID(c->weaponUids[i]), EWeaponType);
        for (int i = 0; i < c->nArmors; i++)
            EXPECT_EQ(GetObjectTypeFromUID(c->armorUids[i]), EArmorType);
        for (int skill = 8000; skill <= 8003; skill++)
            EXPECT_GE(s.totalEnergy, 4 * LookupSkill(registry, skill)->energyCost) << uid;
    }
}

} // namespace
