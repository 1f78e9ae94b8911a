#include "core/game.h"
#include "core/mainloop.h"
#include "net/network.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Parsed {
    int result;
    int playerId = -7;
    char name[PLAYER_NAME_SIZE] = "untouched";
    int classUid = 0;
    int robotCount = -7;
    std::string output;
};

std::string gHostedGame;
int FakeHost(const char* gameName, const char*) {
    gHostedGame = gameName;
    return gHostedGame != "Full" ? 1 : 0;
}
int FakeJoin(const char* playerName) {
    return std::string(playerName) == "Quitter" ? -1 : 2;
}
int gOpened = -1;
int FakeOpen(int channel) {
    gOpened = channel;
    return 0;
}

Parsed Parse(std::vector<std::string> args) {
    gCommandLineActions = {FakeHost, FakeJoin, FakeOpen};
    args.insert(args.begin(), "vantrell");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    Parsed p;
    p.output = Captured([&] {
        p.result = ParseCommandLine(static_cast<int>(args.size()), argv.data(), &p.playerId, p.name,
                                    &p.classUid, &p.robotCount);
    });
    return p;
}

TEST(CommandLine, NoArgumentsJoinsAsVantrellJohnny) {
    Parsed p = Parse({});
    EXPECT_EQ(p.result, 1);
    EXPECT_STREQ(p.name, "Vantrell");
    EXPECT_EQ(p.classUid, 4002);
    EXPECT_EQ(p.playerId, 2); // the index the lobby gave
    p = Parse({"-n", "Quitter"});
    EXPECT_EQ(p.result, -1);
}

TEST(CommandLine, CreateWithClassAndJoinWithName) {
    Parsed p = Parse({"-t", "dalek", "-c", "Arena"});
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.output, "");
    EXPECT_EQ(gHostedGame, "Arena");
    EXPECT_EQ(p.playerId, 0);
    EXPECT_EQ(p.classUid, 4001);
    p = Parse({"-n", "Ann", "-t", "hover"});
    EXPECT_EQ(p.result, 1);
    EXPECT_STREQ(p.name, "Ann");
    EXPECT_EQ(p.classUid, 4000);
    p = Parse({"-t", "toaster", "-t", "johnny"});
    EXPECT_EQ(p.classUid, 4002);
    p = Parse({"-t", "toaster"});
    EXPECT_EQ(p.classUid, 4002);
}

TEST(CommandLine, ServerModeReadsGameAndCount) {
    currentChannel = 0;
    Parsed p = Parse({"-d", "2", "3"});
    EXPECT_EQ(p.result, 2);
    EXPECT_EQ(p.playerId, -1);
    EXPECT_EQ(p.robotCount, 3);
    EXPECT_EQ(currentChannel, 2);
    EXPECT_EQ(gOpened, 2);
    currentChannel = 0;
    p = Parse({"-d", "7", "1"});
    EXPECT_EQ(p.result, -1);
    EXPECT_NE(p.output.find("game number 7"), std::string::npos);
    p = Parse({"-c", "Full"});
    EXPECT_EQ(p.result, -1); // no free slot or the host quit
}

TEST(CommandLine, ArgumentsAfterCreateOrServerAreNamedNotReadButASwitchValueIsSeenAgain) {
    Parsed p = Parse({"-c", "Arena", "-n", "Bob", "-d", "1", "1"});
    EXPECT_EQ(p.result, 0);
    EXPECT_STREQ(p.name, "Vantrell");
    EXPECT_EQ(p.output, "Switches after -c Arena are not read: -n Bob -d 1 1\n");
    p = Parse({"-d", "1", "2", "-c", "Arena"});
    EXPECT_EQ(p.result, 2);
    EXPECT_EQ(p.output, "Switches after -d 1 2 are not read: -c Arena\n");
    // "-n -c" takes "-c" as the name and then still sees "-c Arena".
    p = Parse({"-n", "-c", "Arena"});
    EXPECT_EQ(p.result, 0);
    EXPECT_STREQ(p.name, "-c");
}

TEST(CommandLine, MissingValuesAreAbsentAndReported) {
    Parsed p = Parse({"-n"});
    EXPECT_EQ(p.result, 1);
    EXPECT_STREQ(p.name, "Vantrell");
    EXPECT_NE(p.output.find("Missing value after -n"), std::string::npos);
    p = Parse({"-t"});
    EXPECT_EQ(p.classUid, 4002);
    EXPECT_NE(p.output.find("Missing value after -t"), std::string::npos);
    p = Parse({"-c"});
    EXPECT_EQ(p.result, 1);
    EXPECT_NE(p.output.find("Missing value after -c"), std::string::npos);
    p = Parse({"-d", "2"});
    EXPECT_EQ(p.result, 1);
    EXPECT_NE(p.output.find("Missing value after -d"), std::string::npos);
    p = Parse({"-n", std::string(40, 'k')}); // a long name is cut to the robot's name field
    EXPECT_EQ(std::string(p.name), std::string(PLAYER_NAME_SIZE - 1, 'k'));
}

int gClockCalls;
TimeStamp SlowClock() {
    // The tick reads the clock at its start and end: 130 ms apart, across a second.
    return gClockCalls++ == 0 ? TimeStamp{50, 950} : TimeStamp{51, 80};
}

TEST(Tick, ReArmsWithWhatIsLeftOfTheHundredMillisecondsAndASlowTickAtOnce) {
    EXPECT_EQ(TickRearmDelay(37), 63);
    EXPECT_EQ(TickRearmDelay(-5), 100); // a clock stepping back never lengthens the period
    gClockCalls = 0;
    TickResult r = RunGameTick(SlowClock);
    EXPECT_EQ(gClockCalls, 2);
    EXPECT_EQ(r.delay, 0);
}

} // namespace
