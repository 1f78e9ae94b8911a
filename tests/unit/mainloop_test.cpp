// The command line, the player's robot, the tick and the owner step, seen in what the game sets
// going, the robots' state and the recorded hook calls.
#include "core/inbound.h"
#include "core/mainloop.h"
#include "foundation/refusals.h"
#include "net/network.h"
#include "robots/battle.h"
#include "support/robot_support.h"

namespace {

// What the command line set going, as "mode name class player channel robots", then what it
// printed. Hosting "Full" fails, and the lobby turns "Quitter" away and gives others index 2.
std::string Parse(std::vector<std::string> args) {
    gCommandLineActions = {
        [](const char* game, const char*) { return int(std::string(game) != "Full"); },
        [](const char* player) { return std::string(player) == "Quitter" ? -1 : 2; },
        [](int) { return 0; }};
    std::vector<char*> argv = {args.insert(args.begin(), "vantrell")->data()};
    for (size_t i = 1; i < args.size(); i++)
        argv.push_back(args[i].data());
    int playerId = -7, classUid = 0, robotCount = -7;
    char name[PLAYER_NAME_SIZE] = "untouched";
    CommandLineMode mode;
    std::string out = Captured([&] {
        mode = ParseCommandLine(int(argv.size()), argv.data(), &playerId, name, &classUid,
                                &robotCount);
    });
    char summary[96];
    std::snprintf(summary, sizeof summary, "%d %s %d %d %d %d", mode, name, classUid, playerId,
                  currentChannel.load(), robotCount);
    currentChannel = 0;
    return summary + (out.empty() ? "" : " | " + out);
}

TEST(CommandLine, SwitchesChooseTheModeNameClassAndServer) {
    // Modes: -1 give up, 0 create, 1 join, 2 server.
    // clang-format off
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "1 Vantrell 4002 2 0 -7"},
        {{"-n", "Quitter"}, "-1 Quitter 4002 -1 0 -7"},
        {{"-t", "dalek", "-c", "Arena"}, "0 Vantrell 4001 0 0 -7"},
        {{"-n", "Ann", "-t", "hover"}, "1 Ann 4000 2 0 -7"},
        {{"-t", "dalek", "-t", "johnny"}, "1 Vantrell 4002 2 0 -7"},
        {{"-t", "dalek", "-t", "toaster"}, "1 Vantrell 4001 2 0 -7"},
        {{"-d", "2", "3"}, "2 Vantrell 4002 -1 2 3"},
        {{"-d", "4", "1"}, "-1 Vantrell 4002 -7 0 -7 | -d: game number 4 is not 0 to 3\n"},
        {{"-c", "Full"}, "-1 Vantrell 4002 -7 0 -7"},
        {{"-c", "Arena", "-n", "Bob", "-d", "1", "1"}, "0 Vantrell 4002 0 0 -7 | Switches after -c Arena are not read: -n Bob -d 1 1\n"},
        {{"-d", "1", "2", "-c", "Arena"}, "2 Vantrell 4002 -1 1 2 | Switches after -d 1 2 are not read: -c Arena\n"},
        {{"-n", "-c", "Arena"}, "0 -c 4002 0 0 -7"}, // a switch's value is seen again
        {{"-n"}, "1 Vantrell 4002 2 0 -7 | Missing value after -n: switch ignored\n"},
        {{"-t"}, "1 Vantrell 4002 2 0 -7 | Missing value after -t: switch ignored\n"},
        {{"-c"}, "1 Vantrell 4002 2 0 -7 | Missing value after -c: switch ignored\n"},
        {{"-d", "2"}, "1 Vantrell 4002 2 0 -7 | Missing value after -d: switch ignored\n"},
        {{"-n", std::string(40, 'k')}, "1 " + std::string(23, 'k') + " 4002 2 0 -7"},
    };
    // clang-format on
    for (const auto& [args, expected] : cases)
        EXPECT_EQ(Parse(args), expected);
}

TEST(Tick, ReArmsWithWhatIsLeftOfTheHundredMillisecondsAndASlowTickAtOnce) {
    // A clock stepping back never lengthens the period. The tick reads the clock at its start
    // and end: 130 ms apart, across a second.
    static int calls = 0;
    TickResult r = RunGameTick([] {
        return calls++ == 0 ? TimeStamp{50, 950} : TimeStamp{51, 80};
    });
    EXPECT_EQ(std::make_tuple(TickRearmDelay(37), TickRearmDelay(-5), r.delay, r.next.time,
                              r.next.millitm),
              std::make_tuple(63, 100, 0, time_t{51}, 80));
}

TimeStamp gNow; // the clock of the tests below
const ClockFn Now = [] { return gNow; };
void Advance(long long milliseconds) {
    long long total = gNow.time * 1000LL + gNow.millitm + milliseconds;
    gNow = {static_cast<time_t>(total / 1000), static_cast<uint16_t>(total % 1000)};
}

using PlayerRobot = RobotTest;

// The player's robot comes equipped and named; the tick moves every robot, counts the battle
// wait of those driven here and keeps the player's robot heard.
TEST_F(PlayerRobot, CreatedEquippedTickedAndKeptHeard) {
    Robot* none = nullptr;
    Captured([&] { none = CreatePlayer("x", 2, 4999); }); // no such class
    Robot* me = CreatePlayer("Nina", 0, 4000);
    ASSERT_TRUE(none == nullptr && me != nullptr);
    std::vector<int> held; // the hover's own plating and one more; then its four skills
    for (int uid : {7000, 7001, 7002, 7003, 6000})
        held.push_back(RobotItemQuantity(me, uid));
    for (int i = 0; i < DArrayLength(me->skills); i++)
        held.push_back(*static_cast<int32_t*>(DArrayNth(me->skills, i)));
    EXPECT_EQ(
        std::make_tuple(gPlayerRobot, gLocalRobotUid, me->isLocal, std::string(me->name), held),
        std::make_tuple(me, 3000, 1, std::string("Nina"),
                        std::vector<int>{4, 1, 1, 0, 2, 8000, 8001, 8002, 8003}));

    Robot *other = Put(Make(1, false), 3, 6, 90), *computer = Put(Make(4, true), 6, 6, 180);
    for (Robot* r : {Put(me, 3, 3), computer})
        QueueMove(r, MOVE_FORWARD);
    other->currentMove = 1;
    me->battle = computer->battle = other->battle = BATTLE_ELSEWHERE; // in battles of their own
    gNow = me->stamp;
    bool changed = RunGameTick(Now).changed; // only the robots driven here wait
    EXPECT_EQ(std::make_tuple(changed, me->position.x, other->facing, computer->position.x,
                              me->battleWait, computer->battleWait, other->battleWait),
              std::make_tuple(true, 3.5, 105, 5.5, 1, 1, 0));

    // The player's robot is sent every 500 ms of the tick's clock, and at once when the clock
    // jumps a month ahead (more milliseconds than an int holds) or an hour back.
    std::string sent; // per tick: how many states went out, "!" when the tick changed something
    for (long long ms : {100LL, 100LL, 100LL, 100LL, 100LL, 100LL, 2592000000LL, -2595600000LL}) {
        gHookCalls.clear();
        Advance(ms);
        bool moved = RunGameTick(Now).changed;
        sent += std::to_string(Calls("state").size()) + (moved ? "!" : "");
    }
    EXPECT_EQ(std::make_tuple(sent, me->stamp.time, me->stamp.millitm),
              std::make_tuple("0!0!001011", gNow.time, gNow.millitm));
}

// The owner step handles every packet in arrival order and ticks when due; a burst of refused
// packets says one line as it comes and one a second later, not a line each.
TEST_F(PlayerRobot, TheOwnerStepHandlesEveryPacketAndTicksWhenDue) {
    gNow = {5000, 900};
    StartOwnerLoop(Now);
    long ticks = gTickCount;
    std::vector<int> ticked;
    std::string out;
    for (int ms : {0, 99, 1, 60, 40, 3, -700, 0}) { // the clock steps back once
        Advance(ms < 0 ? 0 : ms);
        if (ms < 0)
            gNow.time--;
        uint16_t id = static_cast<uint16_t>(100 + ticked.size());
        std::vector<std::vector<uint8_t>> inbox = {
            Wire(EncodeEnergon, EnergonPacket{0, id, 3, 3u + id % 8u, 2, 9}),
            Wire(EncodeEnergon, EnergonPacket{0, id, 9, 9, 2, 9})}; // a repeat
        inbox.insert(inbox.end(), ticked.empty() ? 50 : 0, Wire(EncodeRobotLeft, {0, 3007}));
        for (const auto& p : inbox)
            GameInbox().Offer(p.data(), p.size());
        OwnerStep step = {};
        out += Captured([&] { step = RunOwnerStep(Now); });
        ticked.push_back(step.ticked + 2 * step.changed); // 2: changed, 3: changed and ticked
    }
    out +=
        Captured([] { SummariseRefusals(false, RefusalClock::now() + std::chrono::seconds(2)); });
    // Every repeat is discarded; of the refusals one is told as it comes, the rest in one line.
    EXPECT_EQ(std::tuple(ticked, gTickCount - ticks, world_->energonCount,
                         LookupEnergon(world_, 107)->x, Occurrences(out, "discarding energon"),
                         Occurrences(out, "Dropped a leave packet for unknown robot 3007\n"),
                         HeldBackRefusals(), PumpPackets()),
              std::tuple(std::vector<int>{2, 2, 3, 2, 3, 2, 3, 2}, 3L, 8, 3, 8, 2, 0L, false));
    EXPECT_NE(out.find("\nRefused 49 more packets in the last second; the last: Dropped"),
              std::string::npos)
        << out;
}

} // namespace
