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
// A state as another copy sends it, at height 2.
RobotStatePacket S(double x, double y, int facing, int32_t move, double speed) {
    return {0, 0, 0, x, y, 2.0, static_cast<int16_t>(facing), 0, speed, move, 0};
}
Bytes StateOf(RobotStatePacket p, uint32_t uid, uint32_t sequence, uint32_t classUid = 4000) {
    std::tie(p.uid, p.sequence, p.classUid) = std::tie(uid, sequence, classUid);
    return Wire(EncodeRobotState, p);
}
constexpr int F = MOVE_FORWARD;

class Inbound : public RobotTest {
  protected:
    // Handles the datagram as the owner thread does; output keeps what it printed.
    bool Receive(const Bytes& p) {
        bool changed = false;
        output = Captured([&] { changed = HandlePacket(p.data(), p.size()); });
        return changed;
    }
    Robot* InWorld(int uid) { return FindRobotInWorld(world_, uid); }
    static Bytes Left(uint32_t uid) { return Wire(EncodeRobotLeft, RobotLeftPacket{0, uid}); }
    static Bytes Chest(uint32_t x) {
        return Wire(EncodeChestOpened, ChestOpenedPacket{0, 0, x, 5, 2});
    }
    // What packets can change, in one line: the energon count, whether the chest at (2, 5, 2)
    // is open, each robot record as "uid/class (x,y) facing #sequence" ("out" when not in the
    // world, "~" off its cell's centre, T just teleported, S its skill on) and each cell a
    // robot holds as "@x,y".
    std::string Seen() {
        Location chest = {2, 5, 2};
        std::string s = std::to_string(world_->energonCount) +
                        (GetChestAt(world_, &chest)->opened ? " open" : " shut");
        char one[80];
        Captured([&] { // quietly past the uids nobody holds
            for (int uid = ROBOT_UID_BASE; uid < ROBOT_UID_BASE + 40; uid++)
                if (Robot* r = LookupRobot(gRegistry, uid)) {
                    std::snprintf(one, sizeof one, " %d/%d%s (%d,%d) %d #%u%s%s%s", uid,
                                  r->robotClass->uid, InWorld(uid) == r ? "" : " out", r->cell.x,
                                  r->cell.y, r->facing, r->sequence, AtCellCentre(r) ? "" : "~",
                                  r->justTeleported ? "T" : "", r->skillFlag ? "S" : "");
                    s += one;
                }
        });
        for (int x = 0; x < 12; x++)
            for (int y = 0; y < 12; y++)
                s += RobotAt(x, y) ? " @" + std::to_string(x) + "," + std::to_string(y) : "";
        return s;
    }
    std::string output;
};

// A cube stands at (5, 2, 2) and a chest at (2, 5, 2); the deck ends at x 0 and 11.
TEST_F(Inbound, EveryRefusedDatagramSaysWhyAndChangesNothing) {
    const uint16_t id = ENERGON_ID_SHARE_SIZE + 5; // player 1's share
    for (const Bytes& p : {EnergonAt(id, 3, 3, 2), Chest(2), StateOf(S(7, 7, 0, 0, .5), 3002, 1)})
        EXPECT_TRUE(Receive(p));
    // What this copy drives, the player's robot or the enemy server's, in the world or not.
    gLocalRobotUid = 3000;
    for (Robot* mine : {Put(Make(0, true), 3, 3), Put(Make(4, true), 7, 3), Make(5, true)})
        mine->sequence = 5;
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    // clang-format off
    std::vector<std::pair<Bytes, std::string>> refused = {
        {EnergonAt(id, 3, 3, 2), "discarding energon packet"},
        {EnergonAt(id + 1, 12, 3, 2), "off the grid"},
        {EnergonAt(id + 2, 0xFFFFFFFF, 3, 2), "off the grid"},
        {EnergonAt(id + 3, 3, 4, 1000000), "off the grid"},
        {EnergonAt(id + 4, 4, 4, 2, 0x80000009), "off the grid"},
        {EnergonAt(id + 4, 4, 4, 2, 0x7FFFFFFF), "crystal count out of range"},
        {Bytes(), ""},
        {Chest(3), "no chest at (3, 5, 2)"},
        {Chest(400), "no chest at (400, 5, 2)"},
        {Chest(2), ""}, // open already
        {StateOf(S(4, 4, 0, 0, .5), 3006, 1, 4009), "no robot class 4009"},
        {StateOf(S(4, 4, 0, 0, .5), 3008, 1, 7000), "no robot class 7000"},
        {StateOf(S(4, 4, 0, 0, .5), 5001, 1), "5001 is not a robot uid"},
        {Left(3007), "unknown robot 3007"},
        {Wire(EncodeBattleStart, BattleStartPacket{0, 0, 3007, 0, 3002, {}, {}}), "unknown attacking robot 3007"},
        {Wire(EncodeBattleStart, BattleStartPacket{0, 1, 3002, 0, 3008, {}, {}}), "unknown attacked robot 3008"},
        {Wire(EncodeAction, ActionPacket{0, 3007, 0, {}, {}, 3002, 0, 0}), "unknown acting robot"},
        {Wire(EncodeAction, ActionPacket{0, 3002, 0, {}, {}, 3008, 0, 0}), "unknown target robot"},
        {Wire(EncodeBattleOver, BattleOverPacket{0, 3007, 3002}), "unknown losing robot 3007"},
        {Wire(EncodeBattleOver, BattleOverPacket{0, 3002, 3008}), "unknown winning robot 3008"},
    };
    // A state is refused both as the first of a new robot and as the next of the known one.
    uint32_t uid = 3010;
    for (auto [fault, states] : std::vector<std::pair<const char*, std::vector<RobotStatePacket>>>{
             {"not a number", {S(nan, 4, 0, 0, .5), S(4, inf, 0, 0, .5)}},
             {"off the grid", {S(40, 4, 0, 0, .5), S(-5e9, 4, 0, 0, .5), S(4, -1.2, 0, 0, .5)}},
             {"facing", {S(4, 4, 7, 1, .5), S(4, 4, 360, 1, .5), S(4, 4, -45, 1, .5)}},
             {"between two turn steps", {S(4, 4, 15, 0, .5)}},
             {"while turning", {S(4, 4, 15, F, .5)}},
             {"speed", {S(4, 4, 0, F, .3), S(4, 4, 0, F, 0), S(4, 4, 0, F, nan), S(4, 4, 0, F, -7.5)}},
             {"off the ticks", {S(4.3, 4, 0, F, .5), S(4.5, 4.2, 0, F, .5)}},
             {"between cells", {S(4, 4.2, 0, 0, .5)}},
             {"cannot enter", {S(5, 2, 0, 0, .5), S(2, 5, 0, 0, .5), S(4.5, 2, 0, F, .5), S(-.5, 4, 180, F, .5)}}})
        for (const RobotStatePacket& state : states) {
            refused.push_back({StateOf(state, ++uid, 1), fault});
            refused.push_back({StateOf(state, 3002, 2), fault});
        }
    // clang-format on
    for (uint32_t mine : {3000, 3004, 3005}) { // never moved, placed or removed from outside
        refused.push_back({StateOf(S(8, 8, 90, 0, .5), mine, 99), ""});
        refused.push_back({Left(mine), "Ignored a leave packet for our own robot"});
    }
    for (uint8_t type : {0, 2, 4, 5, 7, 10, 16, 200}) // types this copy does not handle
        refused.push_back({Bytes(64, type), ""});
    const std::string before = Seen();
    gWorld = nullptr; // before a world is loaded every packet is dropped unread
    for (const Bytes& p :
         {EnergonAt(id + 6, 4, 4, 2), StateOf(S(4, 4, 0, 0, .5), 3009, 1), Left(3002)})
        EXPECT_TRUE(!Receive(p) && output.empty() && Seen() == before) << output;
    gWorld = world_;
    for (const auto& [packet, says] : refused) { // the silent ones say nothing at all
        bool changed = Receive(packet);
        EXPECT_TRUE(!changed && Seen() == before &&
                    (says.empty() ? output.empty() : output.find(says) != std::string::npos))
            << says << ": " << output << Seen();
    }
    EXPECT_TRUE(Receive(StateOf(S(8, 7, 0, 0, .5), 3002, 2))); // its number is not used up
    EXPECT_EQ(RobotAt(8, 7), InWorld(3002));
}

TEST_F(Inbound, APeersEnergonIsTakenUnlessTheHostHoldsItsIdEvenAtTheTopHeight) {
    SetEnergonIdRange(world_, 0);
    for (int i = 0; i < INITIAL_ENERGON; i++) // the host's own, 1 to 50
        GenerateEnergon(world_, false);
    for (uint16_t id : {1, 2, 51, 52}) {
        Location at = RandomFreeLocation(world_);
        EXPECT_EQ(Receive(EnergonAt(id, at.x, at.y, at.z)), id > INITIAL_ENERGON) << id;
    }
    EXPECT_EQ(world_->energonCount, INITIAL_ENERGON + 2);
    EXPECT_EQ(GenerateEnergon(world_, false)->id, 53); // our numbering steps past the peer's
    // What a host makes at the top height every peer takes: one column topped at the highest
    // height a world has, one a cell lower.
    const std::string tower = "size:\n2 1\ncubes:\n0 0 32\n1 0 31\n";
    World* host = Load(tower);
    gWorld = Load(tower);
    Energon* made = nullptr;
    Captured([&] { made = GenerateEnergon(host, false); });
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(Receive(EnergonAt(made->id, made->x, made->y, made->z)));
}

// Each state takes the robot where its sender has it (ticked, it comes to rest where it does
// at its sender); older ones change nothing; it may leave and come back.
TEST_F(Inbound, AFirstStateCreatesTheRobotNewerOnesMoveItAndItMayLeaveAndComeBack) {
    RobotStatePacket teleported = S(4, 4, 90, F, .5);
    teleported.flags = STATE_FLAG_JUST_TELEPORTED;
    // clang-format off
    const struct { Bytes packet; bool changed, tick; const char* seen; } steps[] = {
        // Beside its home, of the class it says: sequence 0 only creates.
        {StateOf(S(4, 4, 90, 0, .5), 3001, 0), true, false, "3001/4000 (10,9) 0 #0"},
        {StateOf(teleported, 3001, 1), true, false, "3001/4000 (4,4) 90 #1T @4,4"},
        {StateOf(S(6, 6, 180, 0, .5), 3001, 1), false, false, "3001/4000 (4,4) 90 #1T @4,4"},
        {StateOf(S(6, 6, 180, 0, .5), 3001, 0), false, false, "3001/4000 (4,4) 90 #1T @4,4"},
        {StateOf(S(4, 4, 30, 1, .5), 3001, 7), true, true, "3001/4000 (4,4) 45 #7 @4,4"},
        {StateOf(S(4.75, 4, 0, F, .25), 3001, 8), true, true, "3001/4000 (5,4) 0 #8 @5,4"},
        {StateOf(S(4 + 1 / 3.0, 4 + 1 / 3.0, 45, F, .5), 3001, 9), true, true, "3001/4000 (5,5) 45 #9 @5,5"},
        {StateOf(S(3.5, 4, 180, MOVE_BACKWARD, -.5), 3001, 10), true, true, "3001/4000 (4,4) 180 #10 @4,4"},
        {StateOf(S(4, 2, 0, F, .5), 3001, 11), true, true, "3001/4000 (4,2) 0 #11 @4,2"}, // the cube
        // Leaving empties its cell; coming back it takes its old record and counts from zero.
        {Left(3001), true, false, "3001/4000 out (4,2) 0 #11"},
        {StateOf(S(4, 4, 0, 0, .5), 3001, 0), true, false, "3001/4000 (10,9) 0 #0"},
        {StateOf(S(8, 4, 0, 0, .5), 3001, 1), true, false, "3001/4000 (8,4) 0 #1 @8,4"},
    };
    // clang-format on
    for (const auto& step : steps) {
        EXPECT_EQ(Receive(step.packet), step.changed) << output;
        if (step.tick)
            TicksUntilIdle(InWorld(3001));
        EXPECT_EQ(Seen(), std::string("0 shut ") + step.seen) << &step - steps;
    }
    // A new state shows at the next tick, once.
    bool first = RobotUpdate(InWorld(3001));
    EXPECT_TRUE(first && !RobotUpdate(InWorld(3001)));
}

} // namespace
