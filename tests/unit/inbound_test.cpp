// Received packets on the owner thread: each is checked before it changes anything, a robot
// appears, moves and leaves as its copy says, and a robot this copy drives is never moved,
// placed or removed from outside.
#include "core/inbound.h"
#include "foundation/refusals.h"
#include "net/network.h"
#include "support/robot_support.h"

#include <limits>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes EnergonAt(uint16_t id, uint32_t x, uint32_t y, uint32_t z, uint32_t crystals = 9) {
    return Wire(EncodeEnergon, EnergonPacket{0, id, x, y, z, crystals});
}
Bytes Opened(uint32_t x) {
    return Wire(EncodeChestOpened, ChestOpenedPacket{0, 0, x, 5, 2});
}
Bytes Left(uint32_t uid) {
    return Wire(EncodeRobotLeft, RobotLeftPacket{0, uid});
}
// A state as another copy sends it, at height 2.
RobotStatePacket State(double x, double y, int facing, int32_t move, double speed) {
    return {0, 0, 0, x, y, 2.0, static_cast<int16_t>(facing), 0, speed, move, 0};
}
Bytes StateOf(RobotStatePacket p, uint32_t uid, uint32_t sequence, uint32_t classUid = 4000) {
    p.uid = uid;
    p.sequence = sequence;
    p.classUid = classUid;
    return Wire(EncodeRobotState, p);
}

class Inbound : public RobotTest {
  protected:
    // Handles the datagram as the owner thread does; output keeps what it printed.
    bool Receive(const Bytes& p) {
        bool changed = false;
        output = Captured([&] { changed = HandlePacket(p.data(), p.size()); });
        return changed;
    }
    Robot* InWorld(int uid) { return FindRobotInWorld(world_, uid); }
    std::string output;
};

// A cube stands at (5, 2, 2) and a chest at (2, 5, 2); the deck ends at x 0 and 11.
TEST_F(Inbound, EveryRefusedDatagramSaysWhyAndChangesNothing) {
    const uint16_t id = ENERGON_ID_SHARE_SIZE + 5; // player 1's share
    EXPECT_TRUE(Receive(EnergonAt(id, 3, 3, 2)));
    EXPECT_TRUE(Receive(Opened(2)));
    Location chestAt = {2, 5, 2};
    EXPECT_TRUE(Receive(StateOf(State(7, 7, 0, 0, 0.5), 3002, 1)));
    Robot* known = InWorld(3002);
    ASSERT_NE(known, nullptr);
    // What this copy drives, the player's robot or the enemy server's, in the world or not.
    gLocalRobotUid = 3000;
    std::vector<Robot*> ours = {Put(Make(0, true), 3, 3), Put(Make(4, true), 7, 3), Make(5, true)};
    const std::vector<Triple> cells = {CellOf(ours[0]), CellOf(ours[1]), CellOf(ours[2])};
    std::vector<std::pair<Bytes, std::string>> refused = {
        {EnergonAt(id, 3, 3, 2), "discarding energon packet"},
        {EnergonAt(id + 1, 12, 3, 2), "off the grid"},
        {EnergonAt(id + 2, 0xFFFFFFFF, 3, 2), "off the grid"},
        {EnergonAt(id + 3, 3, 4, 1000000), "off the grid"},
        {EnergonAt(id + 4, 4, 4, 2, 0x80000009), "off the grid"},
        {EnergonAt(id + 4, 4, 4, 2, 0x7FFFFFFF), "crystal count out of range"},
        {Bytes(), ""},
        {Opened(3), "no chest at (3, 5, 2)"},
        {Opened(400), "no chest at (400, 5, 2)"},
        {Opened(2), ""}, // open already
        {StateOf(State(4, 4, 0, 0, 0.5), 3006, 1, 4009), "no robot class 4009"},
        {StateOf(State(4, 4, 0, 0, 0.5), 3008, 1, 7000), "no robot class 7000"},
        {StateOf(State(4, 4, 0, 0, 0.5), 5001, 1), "5001 is not a robot uid"},
        {Left(3007), "unknown robot 3007"},
        {Wire(EncodeBattleStart, BattleStartPacket{0, 0, 3007, 0, 3002, {}, {}}),
         "unknown attacking robot 3007"},
        {Wire(EncodeBattleStart, BattleStartPacket{0, 1, 3002, 0, 3008, {}, {}}),
         "unknown attacked robot 3008"},
        {Wire(EncodeAction, ActionPacket{0, 3007, 0, {}, {}, 3002, 0, 0}), "unknown acting robot"},
        {Wire(EncodeAction, ActionPacket{0, 3002, 0, {}, {}, 3008, 0, 0}), "unknown target robot"},
        {Wire(EncodeBattleOver, BattleOverPacket{0, 3007, 3002}), "unknown losing robot 3007"},
        {Wire(EncodeBattleOver, BattleOverPacket{0, 3002, 3008}), "unknown winning robot 3008"},
    };
    for (Robot* mine : ours) { // never moved, placed or removed from outside
        mine->sequence = 5;
        refused.push_back({StateOf(State(8, 8, 90, 0, 0.5), mine->uid, 99), ""});
        refused.push_back({Left(mine->uid), "Ignored a leave packet for our own robot"});
    }
    for (Bytes p : {EnergonAt(id + 5, 6, 6, 2), Opened(2), StateOf(State(4, 4, 0, 0, 0.5), 3009, 1),
                    Left(3002)}) { // one byte short
        p.pop_back();
        refused.push_back({p, ""});
    }
    for (uint8_t type : {0, 2, 4, 5, 7, 10, 16, 200}) { // types this copy does not handle
        refused.push_back({Bytes(64, 0), ""});
        refused.back().first[0] = type;
    }
    // A state is refused both as the first of a new robot and as the next of the known one.
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    uint32_t uid = 3010;
    for (auto [fault, states] : std::vector<std::pair<const char*, std::vector<RobotStatePacket>>>{
             {"not a number", {State(nan, 4, 0, 0, 0.5), State(4, inf, 0, 0, 0.5)}},
             {"off the grid",
              {State(40, 4, 0, 0, 0.5), State(-5e9, 4, 0, 0, 0.5), State(4, -1.2, 0, 0, 0.5)}},
             {"facing",
              {State(4, 4, 7, 1, 0.5), State(4, 4, 360, 1, 0.5), State(4, 4, -45, 1, 0.5)}},
             {"between two turn steps", {State(4, 4, 15, 0, 0.5)}},
             {"while turning", {State(4, 4, 15, MOVE_FORWARD, 0.5)}},
             {"speed",
              {State(4, 4, 0, MOVE_FORWARD, 0.3), State(4, 4, 0, MOVE_FORWARD, 0.0),
               State(4, 4, 0, MOVE_FORWARD, nan), State(4, 4, 0, MOVE_FORWARD, -7.5)}},
             {"off the ticks",
              {State(4.3, 4, 0, MOVE_FORWARD, 0.5), State(4.5, 4.2, 0, MOVE_FORWARD, 0.5)}},
             {"between cells", {State(4, 4.2, 0, 0, 0.5)}},
             {"cannot enter",
              {State(5, 2, 0, 0, 0.5), State(2, 5, 0, 0, 0.5), State(4.5, 2, 0, MOVE_FORWARD, 0.5),
               State(-0.5, 4, 180, MOVE_FORWARD, 0.5)}}})
        for (const RobotStatePacket& state : states) {
            refused.push_back({StateOf(state, ++uid, 1), fault});
            refused.push_back({StateOf(state, 3002, 2), fault});
        }
    gWorld = nullptr; // before a world is loaded every packet is dropped unread
    for (const Bytes& p :
         {EnergonAt(id + 6, 4, 4, 2), StateOf(State(4, 4, 0, 0, 0.5), 3009, 1), Left(3002)})
        EXPECT_TRUE(!Receive(p) && output.empty()) << output;
    gWorld = world_;
    for (const auto& [packet, says] : refused) { // the silent ones say nothing at all
        EXPECT_FALSE(Receive(packet)) << says;
        EXPECT_TRUE(says.empty() ? output.empty() : output.find(says) != std::string::npos)
            << output;
    }
    EXPECT_EQ(std::make_tuple(world_->energonCount, LookupEnergon(world_, id)->crystals,
                              GetChestAt(world_, &chestAt)->opened),
              std::make_tuple(1, 9, 1));
    EXPECT_EQ(std::make_tuple(RobotAt(7, 7), known->facing, known->speed, known->sequence),
              std::make_tuple(known, 0, 0.5, 1u));
    for (int u = 3006; u <= static_cast<int>(uid); u++)
        EXPECT_EQ(InWorld(u), nullptr) << u;
    for (size_t i = 0; i < ours.size(); i++) {
        Robot* mine = ours[i];
        EXPECT_EQ(std::make_tuple(InWorld(mine->uid) == mine, CellOf(mine), mine->sequence),
                  std::make_tuple(i < 2, cells[i], 5u))
            << i;
    }
    EXPECT_TRUE(Receive(StateOf(State(8, 7, 0, 0, 0.5), 3002, 2))); // its number is not used up
    EXPECT_EQ(RobotAt(8, 7), known);
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

// The pump handles packets in arrival order; a burst of refused ones says one line as it comes
// and one a second later, not a line each.
TEST_F(Inbound, ThePumpKeepsArrivalOrderAndTellsRefusalsInOneLineASecond) {
    uint16_t id = 2 * ENERGON_ID_SHARE_SIZE + 1;
    std::vector<Bytes> inbox = {EnergonAt(id, 7, 7, 2), EnergonAt(id, 9, 9, 2)};
    inbox.insert(inbox.end(), 50, Left(3007)); // a robot nobody knows
    for (const Bytes& p : inbox)
        GameInbox().Offer(p.data(), p.size());
    bool pumped = false;
    std::string out = Captured([&] { pumped = PumpPackets(); });
    EXPECT_TRUE(pumped);
    EXPECT_EQ(LookupEnergon(world_, id)->x, 7); // the first one counts; the second is a repeat
    EXPECT_EQ(Occurrences(out, "Dropped a leave packet"), 1) << out; // the rest are counted
    auto later = RefusalClock::now() + std::chrono::seconds(2);
    out = Captured([&] { SummariseRefusals(false, later); });
    EXPECT_EQ(out,
              "Refused 49 more packets in the last second; the last: Dropped a leave packet for "
              "unknown robot 3007\n");
    EXPECT_EQ(HeldBackRefusals(), 0);
    EXPECT_FALSE(PumpPackets());
}

TEST_F(Inbound, AFirstStateCreatesTheRobotNewerOnesMoveItAndItMayLeaveAndComeBack) {
    EXPECT_TRUE(Receive(StateOf(State(4, 4, 90, 0, 0.5), 3001, 0)));
    Robot* r = InWorld(3001);
    ASSERT_NE(r, nullptr);
    // Beside its home, of the class it says: sequence 0 only creates.
    EXPECT_EQ(std::make_tuple(r->robotClass->uid, CellOf(r)),
              std::make_tuple(4000, Triple{10, 9, 2}));
    RobotStatePacket p = State(4, 4, 90, MOVE_FORWARD, 0.5);
    p.flags = STATE_FLAG_JUST_TELEPORTED;
    EXPECT_TRUE(Receive(StateOf(p, 3001, 1)));
    EXPECT_EQ(std::make_tuple(RobotAt(4, 4), r->facing, r->justTeleported, r->skillFlag),
              std::make_tuple(r, 90, 1, 0));
    // Equal and older sequence numbers change nothing.
    EXPECT_FALSE(Receive(StateOf(State(6, 6, 180, 0, 0.5), 3001, 1)));
    EXPECT_FALSE(Receive(StateOf(State(6, 6, 180, 0, 0.5), 3001, 0)));
    EXPECT_EQ(RobotAt(4, 4), r);

    // Each state takes the robot where its sender has it; ticking, it comes to rest on the
    // centre of (endX, endY), as at its sender.
    struct Case {
        RobotStatePacket state;
        int endX, endY;
    } cases[] = {
        {State(4, 4, 30, 1, 0.5), 4, 4},
        {State(4.75, 4, 0, MOVE_FORWARD, 0.25), 5, 4},
        {State(4 + 1 / 3.0, 4 + 1 / 3.0, 45, MOVE_FORWARD, 0.5), 5, 5},
        {State(3.5, 4, 180, MOVE_BACKWARD, -0.5), 4, 4},
        {State(4, 2, 0, MOVE_FORWARD, 0.5), 4, 2}, // blocked by the cube
    };
    uint32_t sequence = 6;
    for (const Case& c : cases) {
        EXPECT_TRUE(Receive(StateOf(c.state, 3001, ++sequence))) << output;
        TicksUntilIdle(r);
        EXPECT_EQ(std::make_tuple(CellOf(r), AtCellCentre(r), RobotAt(c.endX, c.endY)),
                  std::make_tuple(Triple{c.endX, c.endY, 2}, true, r))
            << c.state.x;
    }
    EXPECT_EQ(RobotAt(4, 4), nullptr); // no stale robot left behind

    // Leaving empties its cell; coming back it takes its old record and counts from zero.
    EXPECT_TRUE(Receive(Left(3001)));
    EXPECT_TRUE(InWorld(3001) == nullptr && RobotAt(4, 2) == nullptr);
    EXPECT_TRUE(Receive(StateOf(State(4, 4, 0, 0, 0.5), 3001, 0)));
    EXPECT_EQ(InWorld(3001), r);
    EXPECT_TRUE(Receive(StateOf(State(8, 4, 0, 0, 0.5), 3001, 1)));
    EXPECT_EQ(CellOf(r), (Triple{8, 4, 2}));
    EXPECT_TRUE(RobotUpdate(r)); // a new state shows at the next tick, once
    EXPECT_FALSE(RobotUpdate(r));
}

} // namespace
