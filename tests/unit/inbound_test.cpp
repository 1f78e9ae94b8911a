// Received packets on the owner thread: energon, chests and departures, each checked before
// it changes anything.
#include "core/inbound.h"
#include "foundation/refusals.h"
#include "core/mainloop.h"
#include "net/network.h"
#include "net/packets.h"
#include "support/robot_support.h"
#include "support/world_support.h"
#include "world/energon.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

class Inbound : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        world = Load("size:\n20 20\nwalls:\n0 0 1:19 19 1 \"none\"\nchests:\n7000 4 4 2 0\n");
        SetEnergonIdRange(world, 0);
        gWorld = world;
        gLocalRobotUid = 3000;
    }
    void TearDown() override {
        gWorld = nullptr;
        gLocalRobotUid = 0;
        WorldTest::TearDown();
    }
    // Handles the packet and returns what it printed.
    std::string Handle(const std::vector<uint8_t>& p, bool* changed = nullptr) {
        bool c = false;
        std::string out = Captured([&] { c = HandlePacket(p.data(), p.size()); });
        if (changed != nullptr)
            *changed = c;
        return out;
    }
    World* world = nullptr;
};

// A packet as another copy sends it.
template <typename T> std::vector<uint8_t> Wire(size_t (*encode)(const T*, uint8_t*), T p) {
    std::vector<uint8_t> out(MAX_PACKET_SIZE);
    out.resize(encode(&p, out.data()));
    return out;
}
std::vector<uint8_t> Energon(uint16_t id, uint32_t x, uint32_t y, uint32_t z, uint32_t crystals) {
    return Wire(EncodeEnergon, EnergonPacket{0, id, x, y, z, crystals});
}
std::vector<uint8_t> ChestOpened(uint32_t x, uint32_t y, uint32_t z) {
    return Wire(EncodeChestOpened, ChestOpenedPacket{0, 0, x, y, z});
}
std::vector<uint8_t> Left(uint32_t uid) {
    return Wire(EncodeRobotLeft, RobotLeftPacket{0, uid});
}

TEST_F(Inbound, EnergonFromAnotherCopyIsAddedOnceAndBadCellsAreDropped) {
    uint16_t theirs = ENERGON_ID_SHARE_SIZE + 5; // player 1's share
    bool changed = false;
    std::string out = Handle(Energon(theirs, 3, 3, 2, 9), &changed);
    EXPECT_TRUE(changed);
    ASSERT_NE(LookupEnergon(world, theirs), nullptr);
    EXPECT_EQ(LookupEnergon(world, theirs)->crystals, 9);
    out = Handle(Energon(theirs, 3, 3, 2, 9), &changed); // a repeat
    EXPECT_FALSE(changed);
    EXPECT_NE(out.find("discarding energon packet"), std::string::npos);

    for (auto p : {Energon(theirs + 1, 20, 3, 2, 9), Energon(theirs + 2, 0xFFFFFFFF, 3, 2, 9),
                   Energon(theirs + 3, 3, 4, 1000000, 9)}) {
        out = Handle(p, &changed);
        EXPECT_FALSE(changed);
        EXPECT_FALSE(out.empty());
    }
    EXPECT_EQ(world->energonCount, 1);
    // A short datagram never reaches the handler's decoder as a deposit.
    std::vector<uint8_t> shortOne = Energon(theirs + 4, 5, 5, 2, 9);
    shortOne.resize(20);
    EXPECT_FALSE(HandlePacket(shortOne.data(), shortOne.size()));
    EXPECT_EQ(LookupEnergon(world, theirs + 4), nullptr);
}

TEST_F(Inbound, APeerNumberingFromOneLosesOnlyTheIdsTheHostHolds) {
    for (int i = 0; i < INITIAL_ENERGON; i++) // the host's own, 1 to 50
        GenerateEnergon(world, false);
    for (uint16_t id : {1, 2, 51, 52}) {
        Location at = RandomFreeLocation(world);
        bool changed = false;
        Handle(Energon(id, at.x, at.y, at.z, 9), &changed);
        EXPECT_EQ(changed, id > INITIAL_ENERGON) << id;
    }
    EXPECT_EQ(world->energonCount, INITIAL_ENERGON + 2);
    EXPECT_EQ(GenerateEnergon(world, false)->id, 53); // our numbering steps past the peer's
}

TEST_F(Inbound, AChestOpensOnlyWhereThereIsOne) {
    Location at = {4, 4, 2};
    Chest* chest = GetChestAt(world, &at);
    ASSERT_NE(chest, nullptr);
    bool changed = false;
    std::string out = Handle(ChestOpened(5, 4, 2), &changed);
    EXPECT_FALSE(changed);
    EXPECT_NE(out.find("no chest at (5, 4, 2)"), std::string::npos);
    Handle(ChestOpened(400, 4, 2));
    EXPECT_EQ(chest->opened, 0);
    Handle(ChestOpened(4, 4, 2), &changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(chest->opened, 1);
}

TEST_F(Inbound, TheInboxKeepsArrivalOrderAndUnknownTypesAreIgnored) {
    uint16_t id = 2 * ENERGON_ID_SHARE_SIZE + 1;
    std::vector<uint8_t> unknown(64, 0);
    for (uint8_t type : {0, 2, 4, 5, 7, 10, 16, 200}) {
        unknown[0] = type;
        EXPECT_FALSE(HandlePacket(unknown.data(), unknown.size()));
    }
    std::vector<uint8_t> first = Energon(id, 7, 7, 2, 8);
    std::vector<uint8_t> again = Energon(id, 9, 9, 2, 12);
    GameInbox().Offer(first.data(), first.size());
    GameInbox().Offer(again.data(), again.size());
    bool pumped = false;
    Captured([&] { pumped = PumpPackets(); });
    EXPECT_TRUE(pumped);
    ASSERT_NE(LookupEnergon(world, id), nullptr);
    EXPECT_EQ(LookupEnergon(world, id)->x, 7); // the first one counts; the second is a repeat
    EXPECT_EQ(GameInbox().Pending(), 0u);
    EXPECT_FALSE(PumpPackets());
}

// A burst of refused packets says one line as it comes and one a second later, not a line each.
TEST_F(Inbound, ABurstOfRefusedPacketsIsToldInOneLineASecond) {
    std::vector<uint8_t> stray = ChestOpened(5, 4, 2);
    for (int i = 0; i < 50; i++)
        GameInbox().Offer(stray.data(), stray.size());
    std::string out = Captured([] { PumpPackets(); });
    EXPECT_EQ(Occurrences(out, "\n"), 1) << out;
    EXPECT_EQ(HeldBackRefusals(), 49);
    auto later = RefusalClock::now() + std::chrono::seconds(2);
    out = Captured([&] {
        SummariseRefusals(true, later);
        SummariseRefusals(false, later);
    });
    EXPECT_NE(out.find("Refused 49 more packets in the last second; the last: Dropped a chest"),
              std::string::npos)
        << out;
    EXPECT_EQ(HeldBackRefusals(), 0);
}

TEST_F(Inbound, WhatAHostMakesAtTheTopHeightEveryPeerTakes) {
    // One column topped at the highest height a world has, one a cell lower.
    const std::string tower = "size:\n2 1\ncubes:\n0 0 32\n1 0 31\n";
    World* host = Load(tower);
    gWorld = Load(tower);
    SetEnergonIdRange(gWorld, 1);
    std::vector<struct Energon*> made;
    Captured([&] {
        for (struct Energon* e; (e = GenerateEnergon(host, false)) != nullptr;)
            made.push_back(e);
    });
    ASSERT_EQ(made.size(), 1u);
    bool changed = false;
    Handle(Energon(made[0]->id, made[0]->x, made[0]->y, made[0]->z, 9), &changed);
    EXPECT_TRUE(changed);
}

// State packets from the other copies: a robot appears, moves, is never moved backwards in
// time, and never takes over this copy's own robot.
class RemoteState : public RobotTest {
  protected:
    bool Receive(RobotStatePacket p, uint32_t uid, uint32_t sequence, uint32_t classUid = 4000) {
        p.uid = uid;
        p.sequence = sequence;
        p.classUid = classUid;
        std::vector<uint8_t> bytes = Wire(EncodeRobotState, p);
        bool changed = false;
        output = Captured([&] { changed = HandlePacket(bytes.data(), bytes.size()); });
        Robot* r = FindRobotInWorld(world_, static_cast<int>(uid));
        if (r != nullptr && std::find(robots_.begin(), robots_.end(), r) == robots_.end())
            robots_.push_back(r);
        return changed;
    }
    void Leave(uint32_t uid) {
        std::vector<uint8_t> bytes = Left(uid);
        output = Captured([&] { HandlePacket(bytes.data(), bytes.size()); });
    }
    std::string output;
};

TEST_F(RemoteState, AFirstPacketCreatesTheRobotAtItsStartAndLaterOnesMoveIt) {
    EXPECT_TRUE(Receive(State(4, 4, 90, 0, 0.5), 3001, 0));
    Robot* r = FindRobotInWorld(world_, 3001);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->isLocal, 0);
    EXPECT_EQ(r->robotClass->uid, 4000);
    EXPECT_EQ(LookupRobot(gRegistry, 3001), r);
    EXPECT_EQ(CellOf(r->cell), Cell(10, 9, 2)); // beside its home: sequence 0 only creates
    EXPECT_EQ(r->facing, 0);

    EXPECT_TRUE(Receive(State(4, 4, 90, MOVE_FORWARD, 0.5), 3001, 1));
    EXPECT_EQ(CellOf(r->cell), Cell(4, 4, 2));
    EXPECT_EQ(r->facing, 90);
    EXPECT_EQ(r->sequence, 1u);
    EXPECT_EQ(RobotAt(4, 4), r);

    // Equal and older sequence numbers change nothing.
    EXPECT_FALSE(Receive(State(6, 6, 180, 0, 0.5), 3001, 1));
    EXPECT_FALSE(Receive(State(6, 6, 180, 0, 0.5), 3001, 0));
    EXPECT_EQ(CellOf(r->cell), Cell(4, 4, 2));
    EXPECT_TRUE(Receive(State(6, 6, 180, 0, 0.5), 3001, 7));
    EXPECT_EQ(RobotAt(6, 6), r);
    EXPECT_EQ(RobotAt(4, 4), nullptr); // no stale robot left behind
}

TEST_F(RemoteState, BadPacketsAreDroppedWithoutChangingAnything) {
    EXPECT_FALSE(Receive(State(4, 4, 0, 0, 0.5), 3001, 1, 4009)); // no such class
    EXPECT_NE(output.find("no robot class 4009"), std::string::npos) << output;
    EXPECT_FALSE(Receive(State(4, 4, 0, 0, 0.5), 3001, 1, 7000)); // not a class at all
    EXPECT_FALSE(Receive(State(4, 4, 0, 0, 0.5), 5001, 1));       // not a robot
    EXPECT_EQ(FindRobotInWorld(world_, 3001), nullptr);

    Receive(State(4, 4, 0, 0, 0.5), 3002, 1);
    Robot* r = FindRobotInWorld(world_, 3002);
    ASSERT_NE(r, nullptr);
    EXPECT_FALSE(Receive(State(400, 4, 0, 0, 0.5), 3002, 2));
    EXPECT_FALSE(Receive(State(4, std::nan(""), 0, 0, 0.5), 3002, 3));
    EXPECT_FALSE(Receive(State(5, 4, 400, 0, 0.5), 3002, 4));
    EXPECT_EQ(CellOf(r->cell), Cell(4, 4, 2));
    EXPECT_EQ(r->sequence, 1u); // a refused packet does not use up its number
    EXPECT_TRUE(Receive(State(5, 4, 0, 0, 0.5), 3002, 2));
    EXPECT_EQ(CellOf(r->cell), Cell(5, 4, 2));
}

TEST_F(RemoteState, OnlyWhatARobotCanDoIsTakenAndItEndsOnACellCentre) {
    // A cube stands at (5, 2, 2) and a chest at (2, 5, 2); the deck ends at x 0.
    struct Case {
        double x, y;
        int facing;
        int32_t move;
        double speed;
        const char* fault; // null: taken, and the robot comes to rest on (endX, endY)
        int endX, endY;
    } cases[] = {
        {40, 4, 0, 0, 0.5, "off the grid", 0, 0},
        {4, 4, 7, 1, 0.5, "facing", 0, 0},
        {4, 4, 15, 0, 0.5, "between two turn steps", 0, 0},
        {4, 4, 15, MOVE_FORWARD, 0.5, "while turning", 0, 0},
        {4, 4, 0, MOVE_FORWARD, 0.3, "speed", 0, 0},
        {4.3, 4, 0, MOVE_FORWARD, 0.5, "off the ticks", 0, 0},
        {4.5, 4.2, 0, MOVE_FORWARD, 0.5, "off the ticks", 0, 0},
        {4, 4.2, 0, 0, 0.5, "between cells", 0, 0},
        {5, 2, 0, 0, 0.5, "cannot enter", 0, 0},
        {2, 5, 0, 0, 0.5, "cannot enter", 0, 0},
        {4.5, 2, 0, MOVE_FORWARD, 0.5, "cannot enter", 0, 0},
        {-0.5, 4, 180, MOVE_FORWARD, 0.5, "cannot enter", 0, 0},
        {4, 4, 30, 1, 0.5, nullptr, 4, 4},
        {4.75, 4, 0, MOVE_FORWARD, 0.25, nullptr, 5, 4},
        {4 + 1 / 3.0, 4 + 1 / 3.0, 45, MOVE_FORWARD, 0.5, nullptr, 5, 5},
        {3.5, 4, 180, MOVE_BACKWARD, -0.5, nullptr, 4, 4},
        {4, 2, 0, MOVE_FORWARD, 0.5, nullptr, 4, 2}, // blocked here, as at its sender
    };
    uint32_t uid = 3004;
    for (const Case& c : cases) {
        bool taken = Receive(State(c.x, c.y, c.facing, c.move, c.speed), ++uid, 1);
        Robot* r = FindRobotInWorld(world_, static_cast<int>(uid));
        if (c.fault != nullptr) { // a refused first packet makes no robot at all
            Robot* known = nullptr;
            Captured([&] { known = LookupRobot(gRegistry, static_cast<int>(uid)); });
            EXPECT_TRUE(!taken && r == nullptr && known == nullptr) << c.fault;
            EXPECT_NE(output.find(c.fault), std::string::npos) << output;
            continue;
        }
        ASSERT_NE(r, nullptr) << output;
        TicksUntilIdle(r);
        EXPECT_EQ(CellOf(r->cell), Cell(c.endX, c.endY, 2)) << c.x;
        EXPECT_TRUE(AtCellCentre(r)) << c.x;
        EXPECT_EQ(RobotAt(c.endX, c.endY), r);
    }
}

// What this copy drives, in either mode and in the world or not, is never moved, placed or
// removed from outside; a robot driven elsewhere leaves.
TEST_F(RemoteState, OnlyRobotsDrivenElsewhereMoveOrLeave) {
    struct Case {
        int32_t localUid; // -1: the enemy server
        int index;
        bool placed;
    } cases[] = {{3000, 0, true}, {-1, 4, true}, {-1, 5, false}};
    for (Case c : cases) {
        gLocalRobotUid = c.localUid;
        Robot* mine = Make(c.index, true);
        if (c.placed)
            Put(mine, 3 + c.index, 3);
        Location before = mine->cell;
        mine->sequence = 5;
        EXPECT_FALSE(Receive(State(7, 7, 90, 0, 0.5), mine->uid, 99)) << c.index;
        Leave(mine->uid);
        EXPECT_EQ(FindRobotInWorld(world_, mine->uid) == mine, c.placed) << c.index;
        EXPECT_EQ(CellOf(mine->cell), CellOf(before)) << c.index;
        EXPECT_EQ(mine->sequence, 5u) << c.index;
    }
    Receive(State(4, 4, 0, 0, 0.5), 3002, 1);
    Leave(3002);
    EXPECT_EQ(FindRobotInWorld(world_, 3002), nullptr);
    EXPECT_EQ(RobotAt(4, 4), nullptr);
    Leave(3007);
    EXPECT_NE(output.find("unknown robot 3007"), std::string::npos);
}

TEST_F(RemoteState, ARobotThatLeftAndComesBackCountsFromZeroAgain) {
    Receive(State(4, 4, 0, 0, 0.5), 3001, 5);
    Robot* r = FindRobotInWorld(world_, 3001);
    ASSERT_NE(r, nullptr);
    std::vector<uint8_t> left = Left(3001);
    Captured([&] { HandlePacket(left.data(), left.size()); });
    EXPECT_EQ(FindRobotInWorld(world_, 3001), nullptr);
    EXPECT_EQ(RobotAt(4, 4), nullptr);
    EXPECT_TRUE(Receive(State(4, 4, 0, 0, 0.5), 3001, 0));
    EXPECT_EQ(FindRobotInWorld(world_, 3001), r); // the same record, placed again
    EXPECT_TRUE(Receive(State(8, 4, 0, 0, 0.5), 3001, 1));
    EXPECT_EQ(CellOf(r->cell), Cell(8, 4, 2));
}

} // namespace
