// What a robot receives, learns and uses: weapons into their slots, armor into the stats,
// refused uids, skills, every item's effect and the sonar, seen in the robot's state, the sound
// that played and the recorded hook calls.
#include "support/robot_support.h"

namespace {

using Receiving = RobotTest;
using Items = RobotTest;

// clang-format off
TEST_F(Receiving, WeaponsFillTheirSlotsArmorRaisesTheStatsAndRefusedUidsChangeNothing) {
    Robot* hover = Make(0, true, 4000); // two slots, the ice volley in the first
    const std::pair<void (*)(Robot*), std::string> steps[] = {
        {[](Robot*) {}, "at 0 0 0 -0 hp 150 en 15 18 10 7 9 | w5000 6000x1 | "},
        {[](Robot* r) { ReceiveObject(r, 5001, 0); }, "at 0 0 0 -0 hp 150 en 24 17 10 7 9 | w5000 w5001 6000x1 | sounds\\ff3save.wav | message Received Big-Shot Volley"},
        {[](Robot* r) { ReceiveObject(r, 5002, 1); }, "at 0 0 0 -0 hp 150 en 33 17 10 7 9 | w5000 w5002 6000x1 | sounds\\ff3save.wav"}, // silently; a full set gives the last slot to the newcomer
        {[](Robot* r) { ReceiveObject(r, 6000, 1); }, "at 0 0 0 -0 hp 150 en 33 17 9 9 13 | w5000 w5002 6000x2 | sounds\\ff3save.wav"}, // the class's own and this one
        {[](Robot* r) { ReceiveObject(r, 7000, 0); ReceiveObject(r, 8002, 0); }, "at 0 0 0 -0 hp 150 en 33 17 9 9 13 | w5000 w5002 s8002 6000x2 7000x1 | sounds\\ff3save.wav | message Received Repair Kit | message Learned Energy Drain"}, // a skill is learned, never carried
        {[](Robot* r) { for (int uid : {3001, 4000, 9000, -7000, 7999, 5999, 8999}) ReceiveObject(r, uid, 0); }, "Invalid chest item 3001\nInvalid chest item 4000\nInvalid chest item 9000\nInvalid chest item -7000\nLookupItem: unknown uid 7999\nLookupWeapon: unknown uid 5999\nUnknown skill 8999\nat 0 0 0 -0 hp 150 en 33 17 9 9 13 | w5000 w5002 s8002 6000x2 7000x1 | sounds\\ff3save.wav"}, // not objects, or nobody's
        {[](Robot* r) { for (int uid : {8001, 8001, 7000, 8999, 3000}) LearnSkill(r, uid); }, "LearnSkill: 7000 is not a known skill\nLearnSkill: 8999 is not a known skill\nLearnSkill: 3000 is not a known skill\nat 0 0 0 -0 hp 150 en 33 17 9 9 13 | w5000 w5002 s8002 s8001 6000x2 7000x1 | sounds\\ff3save.wav"}, // known already, or not a skill
    };
    for (size_t i = 0; i < std::size(steps); i++)
        EXPECT_EQ(Step(hover, steps[i].first), steps[i].second) << "step " << i;
}

TEST_F(Items, RepairKitsTheConverterTheSonarSmokeAndTheWall) {
    Robot* r = Put(Make(0, true), 4, 4, 90);
    const std::pair<void (*)(Robot*), std::string> steps[] = {
        {[](Robot* r) { AddItemToInventory(r->inventory, 7000); r->stats.hitPoints = int16_t(r->stats.totalHP - 200); }, "at 4 4 90 -200 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 7000x1 | "},
        {[](Robot* r) { UseItem(r, 7000); }, "freeing item:\nuid: 7000, quantity: 0\nat 4 4 90 -80 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\ff3healmag.wav"}, // a repair kit, used up
        {[](Robot* r) { UseItem(r, 6000); UseItem(r, 7009); }, "UseItem: 6000 is not an item\nat 4 4 90 -80 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 | sounds\\ff3healmag.wav"}, // not an item, or the lucky bolt
        {[](Robot* r) { AddItemsToInventory(r->inventory, ENERGON_ITEM_UID, 34); UseItem(r, 7006); }, "at 4 4 90 -80 hp 100 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x4 7002x3 | sounds\\ff3magicite.wav"},
        {[](Robot* r) { UseSonar(r); }, "at 4 4 90 -80 hp 90 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x4 7002x3 | sounds\\ff3magicite.wav | sonar 3000 radius 2.5 over 6 red 1.0"},
        {[](Robot* r) { AddItemToInventory(r->inventory, 7005); UseSonar(r); }, "at 4 4 90 -80 hp 80 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x4 7002x3 7005x1 | sounds\\ff3magicite.wav | sonar 3000 radius 5.0 over 6 red 1.0"},
        {[](Robot* r) { r->stats.energy = SONAR_ENERGY_COST - 1; Say({UseSonar(r)}); }, "Sonar: not enough energy\n0 at 4 4 90 -80 hp 9 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x4 7002x3 7005x1 | sounds\\ff3magicite.wav | message Not enough energy for the sonar"}, // too little left: no pulse
        {[](Robot* r) { UseItem(r, 7007); }, "UseItem: a smoke bomb works only in a battle\nat 4 4 90 -80 hp 9 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x4 7002x3 7005x1 | sounds\\ff3magicite.wav"}, // smoke outside a battle
        {[](Robot* r) { r->battle = BATTLE_ELSEWHERE; AddItemToInventory(r->inventory, 7007); UseItem(r, 7007); Say({r->battle == nullptr}); }, "freeing item:\nuid: 7007, quantity: 0\n1 at 4 4 90 -80 hp 9 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x4 7002x3 7005x1 | sounds\\ff3magicite.wav | smoke 3000 for 18"},
        {[](Robot* r) { AddItemToInventory(r->inventory, 7003); UseItem(r, 7003); }, "at 4 4 90 -80 hp 9 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x4 7002x3 7003x1 7005x1 | sounds\\hexendown.wav | wall 3000 at 4 5 2 for 78 facing 90"}, // the wall, kept
        {[](Robot* r) { r->facing = 180; r->cell.x = 0; UseItem(r, 7003); }, "UseItem: no room for a wall beyond the edge of the world\nat 4 4 180 -80 hp 9 en 13 13 9 10 10 | w5001 w5000 6000x1 7001x4 7002x3 7003x1 7005x1 | sounds\\hexendown.wav"},
    };
    for (size_t i = 0; i < std::size(steps); i++)
        EXPECT_EQ(Step(r, steps[i].first), steps[i].second) << "step " << i;
}
// clang-format on

TEST_F(Items, TheBeaconTeleportsToEitherEndOfATeleporter) {
    Robot* r = Put(Make(0, true), 4, 4, 90);
    std::set<Triple> ends;
    for (int i = 0; i < 40; i++) {
        UseItem(r, 7008);
        ends.insert(CellOf(r));
        EXPECT_EQ(RobotAt(r->cell.x, r->cell.y), r);
    }
    EXPECT_EQ(std::tuple(ends, r->stats.energy, RobotAt(2, 9) == r, Calls("state").size()),
              std::tuple(std::set<Triple>{{2, 9, 2}, {5, 9, 2}}, 0, RobotAt(5, 9) != r, 40u));
    Robot* nowhere = Make(1, true);
    nowhere->worldUid = 1; // in no world
    EXPECT_EQ(Captured([&] { UseItem(nowhere, 7008); }),
              "LookupWorld: unknown uid 1\nUseItem: robot 3001 is in no world for item 7008\n");
}

} // namespace
