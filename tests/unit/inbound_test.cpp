// Received packets on the owner thread: each is checked before it changes anything, a robot
// appears, moves and leaves as its copy says, and a robot this copy drives is never moved,
// placed or removed from outside.
#include "core/inbound.h"
#include "foundation/refusals.h"
#include "net/network.h"
#include "support/robot_support.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

std::vector<uint8_t> EnergonAt(uint16_t id, uint32_t x, uint32_t y, uint32_t z,
                               uint32_t crystals = 9) {
    return Wire(EncodeEnergon, EnergonPacket{0, id, x, y, z, crystals});
}
std::vector<uint8_t> StateOf(RobotStatePacket p, uint32_t uid, uint32_t sequence,
                             uint32_t classUid = 4000) {
    p.uid = uid;
    p.sequence = sequence;
    p.classUid = classUid;
    return Wire(EncodeRobotState, p);
}
std::vector<uint8_t> Left(uint32_t uid) {
    return Wire(EncodeRobotLeft, RobotLeftPacket{0, uid});
}

class Inbound : public RobotTest {
  protected:
    void TearDown() override {
        // The robots the packets made are freed with the test's own.
        for (int32_t uid = ROBOT_UID_BASE; uid < ROBOT_UID_BASE + 40; uid++) {
            auto* entry = static_cast<RegistryEntry*>(HashTableLookup(gRegistry->table, &uid));
            Robot* r = entry != nullptr ? static_cast<Robot*>(entry->object) : nullptr;
            if (r != nullptr && std::find(robots_.begin(), robots_.end(), r) == robots_.end())
                robots_.push_back(r);
        }
        RobotTest::TearDown();
    }
    // Handles the datagram as the owner thread does; output keeps what it printed.
    bool Receive(const std::vector<uint8_t>& p) {
        bool changed = false;
        output = Captured([&] { changed = HandlePacket(p.data(), p.size()); });
        return changed;
    }
    Robot* InWorld(int uid) { return FindRobotInWorld(world_, uid); }
    std::string output;
};

TEST_F(Inbound, EnergonFromAnotherCopyIsAddedOnceAndBadOnesAreDropped) {
    const uint16_t id = ENERGON_ID_SHARE_SIZE + 5; // player 1's share
    std::vector<uint8_t> shortOne = EnergonAt(id + 5, 6, 6, 2);
    shortOne.resize(20);
    struct Case {
        std::vector<uint8_t> packet;
        bool added;
        const char* says;
    } cases[] = {
        {EnergonAt(id, 3, 3, 2), true, ""},
        {EnergonAt(id, 3, 3, 2), false, "discarding energon packet"},
        {EnergonAt(id + 1, 12, 3, 2), false, "off the grid"},
        {EnergonAt(id + 2, 0xFFFFFFFF, 3, 2), false, "off the grid"},
        {EnergonAt(id + 3, 3, 4, 1000000), false, "off the grid"},
        {EnergonAt(id + 4, 4, 4, 2, 0x80000009), false, "Dropped"},
        {shortOne, false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Receive(c.packet), c.added) << c.says;
        EXPECT_NE(output.find(c.says), std::string::npos) << output;
    }
    EXPECT_EQ(world_->energonCount, 1);
    EXPECT_EQ(LookupEnergon(world_, id)->crystals, 9);
}

TEST_F(Inbound, APeerNumberingFromOneLosesOnlyTheIdsTheHostHolds) {
    SetEnergonIdRange(world_, 0);
    for (int i = 0; i < INITIAL_ENERGON; i++) // the host's own, 1 to 50
        GenerateEnergon(world_, false);
    for (uint16_t id : {1, 2, 51, 52}) {
        Location at = RandomFreeLocation(world_);
        EXPECT_EQ(Receive(EnergonAt(id, at.x, at.y, at.z)), id > INITIAL_ENERGON) << id;
    }
    EXPECT_EQ(world_->energonCount, INITIAL_ENERGON + 2);
    EXPECT_EQ(GenerateEnergon(world_, false)->id, 53); // our numbering steps past the peer's
}

// A burst of refused packets says one line as it comes and one a second later, not a line each.
TEST_F(Inbound, ABurstOfRefusedPacketsIsToldInOneLineASecond) {
    std::vector<uint8_t> stray = Left(3007); // a robot nobody knows
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
    EXPECT_NE(
        out.find("Refused 49 more packets in the last second; the last: Dropped a leave packet"),
        std::string::npos)
        << out;
    EXPECT_EQ(HeldBackRefusals(), 0);
}

TEST_F(Inbound, WhatAHostMakesAtTheTopHeightEveryPeerTakes) {
    // One column topped at the highest height a world has, one a cell lower.
    const std::string tower = "size:\n2 1\ncubes:\n0 0 32\n1 0 31\n";
    World* host = Load(tower);
    gWorld = Load(tower);
    Energon* made = nullptr;
    Captured([&] { made = GenerateEnergon(host, false); });
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(Receive(EnergonAt(made->id, made->x, made->y, made->z)));
}

TEST_F(Inbound, AChestOpensOnlyWhereThereIsOne) {
    Location at = {2, 5, 2};
    Chest* chest = GetChestAt(world_, &at);
    auto opened = [](uint32_t x) {
        return Wire(EncodeChestOpened, ChestOpenedPacket{0, 0, x, 5, 2});
    };
    EXPECT_FALSE(Receive(opened(3)));
    EXPECT_NE(output.find("no chest at (3, 5, 2)"), std::string::npos);
    EXPECT_FALSE(Receive(opened(400)));
    EXPECT_EQ(chest->opened, 0);
    EXPECT_TRUE(Receive(opened(2)));
    EXPECT_EQ(chest->opened, 1);
    EXPECT_FALSE(Receive(opened(2))); // open already
}

TEST_F(Inbound, TheInboxKeepsArrivalOrderAndUnknownTypesAreIgnored) {
    std::vector<uint8_t> unknown(64, 0);
    for (uint8_t type : {0, 2, 4, 5, 7, 10, 16, 200}) {
        unknown[0] = type;
        EXPECT_FALSE(HandlePacket(unknown.data(), unknown.size()));
    }
    uint16_t id = 2 * ENERGON_ID_SHARE_SIZE + 1;
    for (auto p : {EnergonAt(id, 7, 7, 2), EnergonAt(id, 9, 9, 2)})
        GameInbox().Offer(p.data(), p.size());
    bool pumped = false;
    Captured([&] { pumped = PumpPackets(); });
    EXPECT_TRUE(pumped);
    EXPECT_EQ(LookupEnergon(world_, id)->x, 7); // the first one counts; the second is a repeat
    EXPECT_FALSE(PumpPackets());
}

TEST_F(Inbound, AFirstStateCreatesTheRobotAtItsStartAndNewerOnesMoveIt) {
    EXPECT_TRUE(Receive(StateOf(State(4, 4, 90, 0, 0.5), 3001, 0)));
    Robot* r = InWorld(3001);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(LookupRobot(gRegistry, 3001), r);
    EXPECT_EQ(r->robotClass->uid, 4000);
    EXPECT_EQ(CellOf(r->cell), Cell(10, 9)); // beside its home: sequence 0 only creates
    RobotStatePacket p = State(4, 4, 90, MOVE_FORWARD, 0.5);
    p.flags = STATE_FLAG_JUST_TELEPORTED;
    EXPECT_TRUE(Receive(StateOf(p, 3001, 1)));
    EXPECT_EQ(RobotAt(4, 4), r);
    EXPECT_EQ(std::make_tuple(r->facing, r->justTeleported, r->skillFlag),
              std::make_tuple(90, 1, 0));
    // Equal and older sequence numbers change nothing.
    EXPECT_FALSE(Receive(StateOf(State(6, 6, 180, 0, 0.5), 3001, 1)));
    EXPECT_FALSE(Receive(StateOf(State(6, 6, 180, 0, 0.5), 3001, 0)));
    EXPECT_EQ(RobotAt(4, 4), r);
    EXPECT_TRUE(Receive(StateOf(State(6, 6, 180, 0, 0.5), 3001, 7)));
    EXPECT_EQ(RobotAt(6, 6), r);
    EXPECT_EQ(RobotAt(4, 4), nullptr); // no stale robot left behind
    EXPECT_FALSE(Receive(StateOf(State(4, 4, 0, 0, 0.5), 3002, 1, 4009))); // no such class
    EXPECT_FALSE(Receive(StateOf(State(4, 4, 0, 0, 0.5), 3002, 1, 7000))); // not a class
    EXPECT_FALSE(Receive(StateOf(State(4, 4, 0, 0, 0.5), 5001, 1)));       // not a robot
    EXPECT_EQ(InWorld(3002), nullptr);
}

TEST_F(Inbound, OnlyWhatARobotCanDoIsTakenAndARefusedStateChangesNothing) {
    // A cube stands at (5, 2, 2) and a chest at (2, 5, 2); the deck ends at x 0 and 11.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        RobotStatePacket state;
        const char* fault; // null: taken, and the robot comes to rest on (endX, endY)
        int endX, endY;
    } cases[] = {
        {State(nan, 4, 0, 0, 0.5), "not a number", 0, 0},
        {State(4, std::numeric_limits<double>::infinity(), 0, 0, 0.5), "not a number", 0, 0},
        {State(40, 4, 0, 0, 0.5), "off the grid", 0, 0},
        {State(-5e9, 4, 0, 0, 0.5), "off the grid", 0, 0},
        {State(4, -1.2, 0, 0, 0.5), "off the grid", 0, 0},
        {State(4, 4, 7, 1, 0.5), "facing", 0, 0},
        {State(4, 4, 360, 1, 0.5), "facing", 0, 0},
        {State(4, 4, -45, 1, 0.5), "facing", 0, 0},
        {State(4, 4, 15, 0, 0.5), "between two turn steps", 0, 0},
        {State(4, 4, 15, MOVE_FORWARD, 0.5), "while turning", 0, 0},
        {State(4, 4, 0, MOVE_FORWARD, 0.3), "speed", 0, 0},
        {State(4, 4, 0, MOVE_FORWARD, 0.0), "speed", 0, 0},
        {State(4, 4, 0, MOVE_FORWARD, nan), "speed", 0, 0},
        {State(4, 4, 0, MOVE_FORWARD, -7.5), "speed", 0, 0},
        {State(4.3, 4, 0, MOVE_FORWARD, 0.5), "off the ticks", 0, 0},
        {State(4.5, 4.2, 0, MOVE_FORWARD, 0.5), "off the ticks", 0, 0},
        {State(4, 4.2, 0, 0, 0.5), "between cells", 0, 0},
        {State(5, 2, 0, 0, 0.5), "cannot enter", 0, 0},
        {State(2, 5, 0, 0, 0.5), "cannot enter", 0, 0},
        {State(4.5, 2, 0, MOVE_FORWARD, 0.5), "cannot enter", 0, 0},
        {State(-0.5, 4, 180, MOVE_FORWARD, 0.5), "cannot enter", 0, 0},
        {State(4, 4, 30, 1, 0.5), nullptr, 4, 4},
        {State(4.75, 4, 0, MOVE_FORWARD, 0.25), nullptr, 5, 4},
        {State(4 + 1 / 3.0, 4 + 1 / 3.0, 45, MOVE_FORWARD, 0.5), nullptr, 5, 5},
        {State(3.5, 4, 180, MOVE_BACKWARD, -0.5), nullptr, 4, 4},
        {State(4, 2, 0, MOVE_FORWARD, 0.5), nullptr, 4, 2}, // blocked here, as at its sender
    };
    Receive(StateOf(State(7, 7, 0, 0, 0.5), 3002, 1));
    Robot* known = InWorld(3002);
    ASSERT_NE(known, nullptr);
    auto now = [known] {
        return std::make_tuple(known->position.x, known->position.y, known->facing, known->speed,
                               known->currentMove, known->sequence);
    };
    const auto before = now();
    uint32_t uid = 3004;
    for (const Case& c : cases) {
        bool taken = Receive(StateOf(c.state, ++uid, 1));
        Robot* r = InWorld(static_cast<int>(uid));
        if (c.fault == nullptr) {
            ASSERT_TRUE(taken && r != nullptr) << output;
            TicksUntilIdle(r);
            EXPECT_EQ(CellOf(r->cell), Cell(c.endX, c.endY)) << c.state.x;
            EXPECT_TRUE(AtCellCentre(r)) << c.state.x;
            EXPECT_EQ(RobotAt(c.endX, c.endY), r);
            continue;
        }
        // A refused first packet makes no robot; a refused later one leaves the robot as it was.
        EXPECT_FALSE(taken || r != nullptr) << c.fault;
        EXPECT_NE(output.find(c.fault), std::string::npos) << output;
        EXPECT_FALSE(Receive(StateOf(c.state, 3002, 2))) << c.fault;
        EXPECT_EQ(now(), before) << c.fault;
    }
    EXPECT_TRUE(Receive(StateOf(State(8, 7, 0, 0, 0.5), 3002, 2))); // its number is not used up
    EXPECT_EQ(RobotAt(8, 7), known);
}

// What this copy drives, in either mode and in the world or not, is never moved, placed or
// removed from outside; a robot driven elsewhere leaves, and coming back counts from zero.
TEST_F(Inbound, OnlyRobotsDrivenElsewhereMoveOrLeave) {
    struct Case {
        int32_t localUid;
        int index;
        bool placed;
    } cases[] = {{3000, 0, true}, {ENEMY_SERVER_UID, 4, true}, {ENEMY_SERVER_UID, 5, false}};
    for (Case c : cases) {
        gLocalRobotUid = c.localUid;
        Robot* mine = Make(c.index, true);
        if (c.placed)
            Put(mine, 3 + c.index, 3);
        Location before = mine->cell;
        mine->sequence = 5;
        EXPECT_FALSE(Receive(StateOf(State(7, 7, 90, 0, 0.5), mine->uid, 99))) << c.index;
        Receive(Left(mine->uid));
        EXPECT_EQ(InWorld(mine->uid) == mine, c.placed) << c.index;
        EXPECT_EQ(CellOf(mine->cell), CellOf(before)) << c.index;
        EXPECT_EQ(mine->sequence, 5u) << c.index;
    }
    Receive(StateOf(State(4, 4, 0, 0, 0.5), 3001, 5));
    Robot* r = InWorld(3001);
    EXPECT_TRUE(Receive(Left(3001)));
    EXPECT_EQ(InWorld(3001), nullptr);
    EXPECT_EQ(RobotAt(4, 4), nullptr);
    EXPECT_FALSE(Receive(Left(3007)));
    EXPECT_NE(output.find("unknown robot 3007"), std::string::npos);
    EXPECT_TRUE(Receive(StateOf(State(4, 4, 0, 0, 0.5), 3001, 0)));
    EXPECT_EQ(InWorld(3001), r); // the same record, placed again
    EXPECT_TRUE(Receive(StateOf(State(8, 4, 0, 0, 0.5), 3001, 1)));
    EXPECT_EQ(CellOf(r->cell), Cell(8, 4));
}

} // namespace
