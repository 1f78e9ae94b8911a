// What a robot receives, learns and uses: weapons into their slots, armor into the stats,
// refused uids, skills, every item's effect, the sonar; and the player's robot at start-up and
// the robots in the tick.
#include "support/robot_support.h"

#include <algorithm>
#include <set>
#include <string>

namespace {

using Receiving = RobotTest;
using Items = RobotTest;
using PlayerRobot = RobotTest;

TEST_F(Receiving, WeaponsFillTheirSlotsAndRaiseTheStats) {
    Robot* hover = Make(0, true, 4000); // two slots, the ice volley in the first
    Stats start = hover->stats;
    std::string out = Captured([&] { EXPECT_TRUE(ReceiveObject(hover, 5001, 0)); });
    EXPECT_EQ(out, "Received Big-Shot Volley.\n");
    EXPECT_EQ(GetLastSound(), "sounds\\ff3save.wav");
    EXPECT_EQ(hover->nWeapons, 2);
    EXPECT_EQ(hover->weapons[1], 5001);
    EXPECT_EQ(hover->stats.power, start.power + 8);
    EXPECT_EQ(hover->stats.dexterity, start.dexterity - 1);
    // A full set of slots gives the last one to the newcomer.
    PlaySoundFile("sounds\\ff7ice.wav");
    Captured([&] { ReceiveObject(hover, 5002, 1); });
    EXPECT_EQ(GetLastSound(), "sounds\\ff7ice.wav"); // silently
    EXPECT_EQ(hover->nWeapons, 2);
    EXPECT_EQ(hover->weapons[0], 5000);
    EXPECT_EQ(hover->weapons[1], 5002);
    EXPECT_EQ(hover->stats.power, start.power + 8 + 9);
    EXPECT_EQ(RobotItemQuantity(hover, 5002), 1);

    Captured([&] { ReceiveObject(hover, 6000, 1); });
    EXPECT_EQ(hover->stats.evade, start.evade - 1);
    EXPECT_EQ(hover->stats.stamina, start.stamina + 2);
    EXPECT_EQ(hover->stats.defense, start.defense + 4);
    EXPECT_EQ(RobotItemQuantity(hover, 6000), 2); // the class's own and this one
    EXPECT_EQ(hover->nArmors, 0);
    for (int i = 0; i < 13; i++) // prizes past the top of the power's range
        Captured([&] { ReceiveObject(hover, 5002, 1); });
    EXPECT_EQ(hover->stats.power, 127);
}

TEST_F(Receiving, ItemsAndSkillsAreCountedAndRefusedUidsChangeNothing) {
    Robot* r = Make(0, true);
    std::string out = Captured([&] {
        ReceiveObject(r, 7000, 0);
        ReceiveObject(r, 8002, 0);
    });
    EXPECT_EQ(out, "Received Repair Kit.\nLearned Energy Drain.\n");
    EXPECT_EQ(RobotItemQuantity(r, 7000), 1);
    EXPECT_EQ(RobotItemQuantity(r, 8002), 1);
    EXPECT_EQ(DArrayLength(r->skills), 0); // learning is LearnSkill's

    Stats before = r->stats;
    for (int uid : {3001, 4000, 9000, -7000, 7999, 5999, 8999}) {
        bool received = true;
        out = Captured([&] { received = ReceiveObject(r, uid, 0); });
        EXPECT_FALSE(received) << uid;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        EXPECT_FALSE(RobotHasItem(r, uid)) << uid;
    }
    EXPECT_NE(Captured([&] { ReceiveObject(r, 4000, 0); }).find("Invalid chest item 4000"),
              std::string::npos);
    EXPECT_EQ(std::memcmp(&before, &r->stats, sizeof before), 0);

    EXPECT_TRUE(LearnSkill(r, 8001));
    EXPECT_FALSE(LearnSkill(r, 8001)); // known already
    for (int uid : {7000, 8999, 3000}) {
        out = Captured([&] { EXPECT_FALSE(LearnSkill(r, uid)); });
        EXPECT_NE(out.find("not a known skill"), std::string::npos);
    }
    ASSERT_EQ(DArrayLength(r->skills), 1);
    EXPECT_EQ(*static_cast<int32_t*>(DArrayNth(r->skills, 0)), 8001);
}

TEST_F(Items, RepairKitsAndChipsChangeTheStatsAndAreUsedUp) {
    Robot* r = Put(Make(0, true), 4, 4);
    AddItemsToInventory(r->inventory, 7000, 2);
    r->stats.hitPoints = static_cast<int16_t>(r->stats.totalHP - 200);
    Captured([&] { UseItem(r, 7000); });
    EXPECT_EQ(r->stats.hitPoints, r->stats.totalHP - 80);
    EXPECT_EQ(GetLastSound(), "sounds\\ff3healmag.wav");
    Captured([&] { UseItem(r, 7000); });
    EXPECT_EQ(r->stats.hitPoints, r->stats.totalHP); // no more than the total
    EXPECT_FALSE(RobotHasItem(r, 7000));

    const Item* chip = LookupItem(gRegistry, 7004);
    ASSERT_NE(chip, nullptr);
    AddItemToInventory(r->inventory, 7004);
    int power = r->stats.power;
    Captured([&] { UseItem(r, 7004); });
    EXPECT_EQ(r->stats.power, power + chip->deltaStats.power);
    EXPECT_FALSE(RobotHasItem(r, 7004));

    // Not an item at all: nothing happens.
    Stats before = r->stats;
    std::string out = Captured([&] { UseItem(r, 6000); });
    EXPECT_NE(out.find("6000 is not an item"), std::string::npos);
    EXPECT_EQ(RobotItemQuantity(r, 6000), 1);
    EXPECT_EQ(std::memcmp(&before, &r->stats, sizeof before), 0);
}

TEST_F(Items, TheWallGoesUpInFrontAndIsAnnounced) {
    gLocalRobotUid = 3000;
    Robot* r = Put(Make(0, true), 4, 4, 90);
    AddItemToInventory(r->inventory, 7003);
    std::string out = Captured([&] { UseItem(r, 7003); });
    int strength = r->stats.power * 3 + r->stats.dexterity * 3;
    EXPECT_NE(out.find("wall at (4, 5, 2) for " + std::to_string(strength) + " ticks"),
              std::string::npos)
        << out;
    ASSERT_EQ(sent().size(), 1u);
    AnimationPacket p;
    ASSERT_TRUE(DecodeAnimation(sent()[0].data(), sent()[0].size(), &p));
    EXPECT_EQ(p.type, EWallAnimation);
    EXPECT_EQ(p.robotUid, 3000u);
    EXPECT_EQ(p.x, 4u);
    EXPECT_EQ(p.y, 5u);
    EXPECT_EQ(p.facing, 90);
    EXPECT_EQ(p.value, NO_UID);
    EXPECT_EQ(RobotItemQuantity(r, 7003), 1); // kept

    r->facing = 180;
    r->cell.x = r->position.x = 0;
    out = Captured([&] { UseItem(r, 7003); });
    EXPECT_NE(out.find("no room for a wall"), std::string::npos);
    EXPECT_EQ(sent().size(), 1u);

    // Another player's copy announces its own walls; the enemy server announces all of its.
    Robot* other = Put(Make(1, false), 6, 6);
    Captured([&] { UseItem(other, 7003); });
    EXPECT_EQ(sent().size(), 1u);
    gLocalRobotUid = -1;
    Robot* computer = Put(Make(4, false), 7, 7);
    Captured([&] { UseItem(computer, 7003); });
    EXPECT_EQ(sent().size(), 2u);
    EXPECT_EQ(computer->sequence, 1u);
}

TEST_F(Items, SmokeEndsOnlyABattleAndTheBeaconTeleports) {
    Robot* r = Put(Make(0, true), 4, 4);
    std::string out = Captured([&] { UseItem(r, 7007); });
    EXPECT_EQ(out, "UseItem: a smoke bomb works only in a battle\n");
    r->battle = BATTLE_ELSEWHERE;
    Captured([&] { UseItem(r, 7007); });
    EXPECT_EQ(r->battle, nullptr);

    std::set<Triple> ends;
    for (int i = 0; i < 40; i++) {
        Captured([&] { UseItem(r, 7008); });
        ends.insert(CellOf(r->cell));
        EXPECT_EQ(r->justTeleported, 1);
        EXPECT_EQ(RobotAt(r->cell.x, r->cell.y), r);
    }
    EXPECT_EQ(ends, (std::set<Triple>{Cell(2, 9, 2), Cell(5, 9, 2)}));
    EXPECT_EQ(r->stats.energy, 100 - 40 * 5);
    int occupied = 0;
    for (int x = 0; x < 12; x++)
        for (int y = 0; y < 12; y++)
            occupied += At(x, y) == ERobot;
    EXPECT_EQ(occupied, 1);
}

TEST_F(Items, TheConverterTheLuckyBoltAndTheSonar) {
    Robot* r = Put(Make(0, true), 4, 4);
    AddItemsToInventory(r->inventory, ENERGON_ITEM_UID, 34);
    Captured([&] { UseItem(r, 7006); });
    EXPECT_EQ(RobotItemQuantity(r, MAGICITE_ITEM_UID), 3);
    EXPECT_EQ(RobotItemQuantity(r, ENERGON_ITEM_UID), 4);
    Stats before = r->stats;
    EXPECT_EQ(Captured([&] { UseItem(r, 7009); }), "");
    EXPECT_EQ(std::memcmp(&before, &r->stats, sizeof before), 0);

    std::string out = Captured([&] { UseSonar(r); });
    EXPECT_NE(out.find("radius 2.5 over 6 ticks"), std::string::npos) << out;
    AddItemToInventory(r->inventory, 7005);
    out = Captured([&] { UseSonar(r); });
    EXPECT_NE(out.find("radius 5.0"), std::string::npos) << out;
    EXPECT_EQ(r->stats.energy, 80);
    r->stats.energy = INT16_MIN + 5; // long past empty, it stops at its lowest
    Captured([&] { UseSonar(r); });
    EXPECT_EQ(r->stats.energy, INT16_MIN);
}

TEST_F(PlayerRobot, CreatedEquippedNamedAndPlacedBesideItsHome) {
    std::string longName(30, 'n');
    Robot* r = CreatePlayer(longName.c_str(), 1, 4000);
    ASSERT_NE(r, nullptr);
    robots_.push_back(r);
    EXPECT_EQ(gPlayerRobot, r);
    EXPECT_EQ(gLocalRobotUid, 3001);
    EXPECT_TRUE(r->isLocal);
    EXPECT_EQ(std::string(r->name), longName.substr(0, 23));
    EXPECT_STREQ(r->desc, "Heroic Robot");
    EXPECT_EQ(RobotItemQuantity(r, 7000), 4);
    EXPECT_EQ(RobotItemQuantity(r, 7001), 1);
    EXPECT_EQ(RobotItemQuantity(r, 7002), 1);
    EXPECT_EQ(RobotItemQuantity(r, 6000), 2); // the hover's own plating and one more
    ASSERT_EQ(DArrayLength(r->skills), 4);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(*static_cast<int32_t*>(DArrayNth(r->skills, i)), 8000 + i);
    EXPECT_EQ(std::memcmp(&r->stats, &r->robotClass->initialStats, sizeof(Stats)), 0);
    PlaceRobotInWorld(r, world_->uid);
    EXPECT_EQ(CellOf(r->cell), Cell(10, 9, 2));

    Robot* none = nullptr;
    std::string out = Captured([&] { none = CreatePlayer("x", 2, 4999); });
    EXPECT_EQ(none, nullptr);
    EXPECT_NE(out.find("unknown uid 4999"), std::string::npos);
}

TimeStamp gNow;
TimeStamp Now() {
    return gNow;
}

TEST_F(PlayerRobot, TheTickMovesEveryRobotAndKeepsTheLocalOneHeard) {
    Robot* me = CreatePlayer("Me", 0, 4002);
    robots_.push_back(me);
    Put(me, 3, 3);
    Robot* other = Put(Make(1, false), 3, 6, 90);
    Robot* computer = Put(Make(4, false), 6, 6, 180);
    QueueMove(me, MOVE_FORWARD);
    other->currentMove = 1;
    computer->currentMove = MOVE_FORWARD;
    gNow = me->stamp;
    TickResult tick = RunGameTick(Now);
    EXPECT_TRUE(tick.changed);
    EXPECT_EQ(me->position.x, 3.5);
    EXPECT_EQ(other->facing, 105);
    EXPECT_EQ(computer->position.x, 5.5);
    EXPECT_TRUE(sent().empty());

    // Standing still, the player's robot is sent every 500 ms of the tick's clock.
    int ticks = 0;
    while (sent().empty() && ticks < 20) {
        gNow.millitm = static_cast<uint16_t>(gNow.millitm + 100);
        if (gNow.millitm >= 1000) {
            gNow.millitm = static_cast<uint16_t>(gNow.millitm - 1000);
            gNow.time++;
        }
        RunGameTick(Now);
        ticks++;
    }
    EXPECT_EQ(ticks, 5);
    std::vector<RobotStatePacket> states = SentStates();
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0].uid, 3000u);
    EXPECT_EQ(states[0].x, 4.0);
    EXPECT_EQ(me->stamp.time, gNow.time);
    EXPECT_EQ(me->stamp.millitm, gNow.millitm);
    EXPECT_FALSE(RunGameTick(Now).changed);

    me->battle = BATTLE_ELSEWHERE;
    RunGameTick(Now);
    RunGameTick(Now);
    EXPECT_EQ(me->battleWait, 2);
    me->battle = nullptr;
}

TEST_F(PlayerRobot, TheKeepAliveGoesOnWhereverTheClockJumps) {
    Robot* me = CreatePlayer("Me", 0, 4002);
    robots_.push_back(me);
    Put(me, 3, 3);
    // The tick's clock a month after the last state (more milliseconds than an int holds), or
    // an hour before it.
    for (time_t jump : {30 * 86400, -3600}) {
        sent().clear();
        me->stamp = {100000, 0};
        gNow = {100000 + jump, 0};
        RunGameTick(Now);
        EXPECT_EQ(SentStates().size(), 1u) << jump;
        EXPECT_EQ(me->stamp.time, gNow.time) << jump;
    }
}

} // namespace
