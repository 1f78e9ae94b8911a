// What a robot receives, learns and uses: weapons into their slots, armor into the stats,
// refused uids, skills, every item's effect and the sonar, seen in the robot's state, the sound
// that played and the recorded hook calls.
#include "support/robot_support.h"

#include <cstring>
#include <set>
#include <string>

namespace {

using Receiving = RobotTest;
using Items = RobotTest;

TEST_F(Receiving, WeaponsFillTheirSlotsAndArmorAndWeaponsRaiseTheStats) {
    Robot* hover = Make(0, true, 4000); // two slots, the ice volley in the first
    Stats start = hover->stats;
    EXPECT_TRUE(ReceiveObject(hover, 5001, 0));
    EXPECT_EQ(GetLastSound(), "sounds\\ff3save.wav");
    ReceiveObject(hover, 5002, 1); // silently; a full set gives the last slot to the newcomer
    ReceiveObject(hover, 6000, 1);
    EXPECT_EQ(Calls("message"), std::vector<std::string>{"message Received Big-Shot Volley"});
    EXPECT_EQ(std::vector<int32_t>(hover->weapons, hover->weapons + hover->nWeapons),
              (std::vector<int32_t>{5000, 5002}));
    Stats& s = hover->stats;
    EXPECT_EQ(std::make_tuple(s.power, s.dexterity, s.evade, s.stamina, s.defense),
              std::make_tuple(start.power + LookupWeapon(gRegistry, 5001)->power +
                                  LookupWeapon(gRegistry, 5002)->power,
                              start.dexterity - 1, start.evade - 1, start.stamina + 2,
                              start.defense + 4));
    EXPECT_EQ(RobotItemQuantity(hover, 6000), 2); // the class's own and this one
    for (int i = 0; i < 20; i++)                  // prizes past the top of the power's range
        ReceiveObject(hover, 5002, 1);
    EXPECT_EQ(hover->stats.power, 127);
}

TEST_F(Receiving, ItemsAndSkillsAreCountedAndRefusedUidsChangeNothing) {
    Robot* r = Make(0, true);
    ReceiveObject(r, 7000, 0);
    ReceiveObject(r, 8002, 0);
    EXPECT_EQ(RobotItemQuantity(r, 8002), 1);
    EXPECT_EQ(DArrayLength(r->skills), 0); // learning is LearnSkill's
    Stats before = r->stats;
    bool received = false; // not objects, or objects nobody defined
    Captured([&] {
        for (int uid : {3001, 4000, 9000, -7000, 7999, 5999, 8999})
            received |= ReceiveObject(r, uid, 0) || RobotHasItem(r, uid);
    });
    EXPECT_FALSE(received);
    EXPECT_EQ(std::memcmp(&before, &r->stats, sizeof before), 0);
    EXPECT_EQ(Calls("message"), (std::vector<std::string>{"message Received Repair Kit",
                                                          "message Learned Energy Drain"}));

    EXPECT_TRUE(LearnSkill(r, 8001));
    bool learned = false; // known already, or not a skill
    Captured([&] {
        for (int uid : {8001, 7000, 8999, 3000})
            learned |= LearnSkill(r, uid);
    });
    EXPECT_FALSE(learned);
    ASSERT_EQ(DArrayLength(r->skills), 1);
    EXPECT_EQ(*static_cast<int32_t*>(DArrayNth(r->skills, 0)), 8001);
}

TEST_F(Items, RepairKitsTheConverterAndTheSonar) {
    Robot* r = Put(Make(0, true), 4, 4);
    AddItemToInventory(r->inventory, 7000);
    r->stats.hitPoints = static_cast<int16_t>(r->stats.totalHP - 200);
    UseItem(r, 7000); // a repair kit, used up
    EXPECT_EQ(std::make_tuple(r->stats.hitPoints, GetLastSound(), RobotHasItem(r, 7000)),
              std::make_tuple(r->stats.totalHP - 80, std::string("sounds\\ff3healmag.wav"), false));
    Stats before = r->stats; // not an item, or the lucky bolt: nothing happens
    EXPECT_EQ(Captured([&] {
                  UseItem(r, 6000);
                  UseItem(r, 7009);
              }),
              "UseItem: 6000 is not an item\n");
    EXPECT_EQ(std::memcmp(&before, &r->stats, sizeof before), 0);

    AddItemsToInventory(r->inventory, ENERGON_ITEM_UID, 34);
    UseItem(r, 7006);
    EXPECT_EQ(std::make_tuple(RobotItemQuantity(r, MAGICITE_ITEM_UID),
                              RobotItemQuantity(r, ENERGON_ITEM_UID)),
              std::make_tuple(3, 4));
    UseSonar(r);
    AddItemToInventory(r->inventory, 7005);
    UseSonar(r);
    EXPECT_EQ(Calls("sonar"), (std::vector<std::string>{"sonar 3000 radius 2.5 over 6 red 1.0",
                                                        "sonar 3000 radius 5.0 over 6 red 1.0"}));
    EXPECT_EQ(r->stats.energy, 80);
    r->stats.energy = INT16_MIN + 5; // long past empty, it stops at its lowest
    UseSonar(r);
    EXPECT_EQ(r->stats.energy, INT16_MIN);
}

TEST_F(Items, SmokeEndsOnlyABattleTheBeaconTeleportsAndTheWallGoesUpInFront) {
    Robot* r = Put(Make(0, true), 4, 4, 90);
    Captured([&] { UseItem(r, 7007); });
    r->battle = BATTLE_ELSEWHERE;
    UseItem(r, 7007);
    EXPECT_EQ(r->battle, nullptr);
    EXPECT_EQ(Calls("smoke"), std::vector<std::string>{"smoke 3000 for 18"});

    std::set<Triple> ends;
    for (int i = 0; i < 40; i++) {
        UseItem(r, 7008);
        ends.insert(CellOf(r));
        EXPECT_EQ(RobotAt(r->cell.x, r->cell.y), r);
    }
    EXPECT_EQ(ends, (std::set<Triple>{{2, 9, 2}, {5, 9, 2}}));
    EXPECT_EQ(r->stats.energy, 100 - 40 * 5);
    EXPECT_EQ(RobotAt(2, 9) == r, RobotAt(5, 9) != r); // it left the other end each time
    EXPECT_EQ(Calls("state").size(), 40u);

    Put(r, 4, 4, 90);
    AddItemToInventory(r->inventory, 7003);
    UseItem(r, 7003);
    int strength = r->stats.power * 3 + r->stats.dexterity * 3;
    EXPECT_EQ(Calls("wall"), std::vector<std::string>{"wall 3000 at 4 5 2 for " +
                                                      std::to_string(strength) + " facing 90"});
    EXPECT_EQ(GetLastSound(), "sounds\\hexendown.wav");
    EXPECT_EQ(RobotItemQuantity(r, 7003), 1); // kept
    Put(r, 0, 4, 180);
    EXPECT_NE(Captured([&] { UseItem(r, 7003); }).find("no room for a wall"), std::string::npos);
    Robot* nowhere = Make(1, true);
    nowhere->worldUid = 1; // in no world
    EXPECT_NE(Captured([&] { UseItem(nowhere, 7008); }).find("in no world"), std::string::npos);
    EXPECT_EQ(Calls("wall").size(), 1u);
}

} // namespace
