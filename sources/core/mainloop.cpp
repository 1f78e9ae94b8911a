// mainloop: command line, tick body and shutdown.
#include "core/mainloop.h"

#include "core/inbound.h"
#include "core/outbound.h"
#include "data/registry.h"
#include "net/lobby.h"
#include "net/network.h"
#include "render/animationmanager.h"
#include "robots/battle.h"
#include "robots/robot.h"
#include "ui/dialog.h"
#include "sound/sound.h"
#include "world/energon.h"
#include "world/world.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

World* gWorld = NULL;
Robot* gPlayerRobot = NULL;
int32_t gLocalRobotUid = 0;
Battle* gBattle = NULL;
long gTickCount = 0;
static TimeStamp gTickDue = {0, 0};

Robot* LocalRobot() {
    return gWorld != nullptr ? FindRobotInWorld(gWorld, gLocalRobotUid) : nullptr;
}

bool IsEnemyServer() {
    return gLocalRobotUid == ENEMY_SERVER_UID;
}

CommandLineActions gCommandLineActions = {HostGame, JoinGame, netInit};

static void CopyName(char* dst, const char* src) {
    std::snprintf(dst, PLAYER_NAME_SIZE, "%s", src);
}

// The value after argv[i], or NULL (with a message) when the command line ends first.
static const char* SwitchValue(int argc, char** argv, int i, int offset) {
    if (i + offset < argc)
        return argv[i + offset];
    std::printf("Missing value after %s: switch ignored\n", argv[i]);
    return NULL;
}

// -c GAME and -d NUMBER COUNT end the switches (argv[first] to argv[next - 1]); whatever
// follows is named in one line and not read.
static void ReportUnread(int argc, char** argv, int first, int next) {
    if (next >= argc)
        return;
    std::string ending, unread;
    for (int i = first; i < argc; i++)
        (i < next ? ending : unread) += std::string(" ") + argv[i];
    std::printf("Switches after%s are not read:%s\n", ending.c_str(), unread.c_str());
}

void ParseSwitches(int argc, char** argv, CommandLine* out) {
    std::memset(out, 0, sizeof *out);
    out->mode = EJoinGame;
    CopyName(out->name, "Vantrell");
    out->classUid = DEFAULT_CLASS_UID;
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "-n") == 0) {
            if (const char* v = SwitchValue(argc, argv, i, 1))
                CopyName(out->name, v);
        } else if (std::strcmp(arg, "-t") == 0) {
            const char* v = SwitchValue(argc, argv, i, 1);
            if (v == NULL)
                continue;
            if (std::strcmp(v, "hover") == 0)
                out->classUid = 4000;
            else if (std::strcmp(v, "johnny") == 0)
                out->classUid = 4002;
            else if (std::strcmp(v, "dalek") == 0)
                out->classUid = 4001;
        } else if (std::strcmp(arg, "-c") == 0) {
            if (const char* v = SwitchValue(argc, argv, i, 1)) {
                std::snprintf(out->gameName, sizeof out->gameName, "%s", v);
                out->mode = ECreateGame;
                ReportUnread(argc, argv, i, i + 2);
                return;
            }
        } else if (std::strcmp(arg, "-d") == 0) {
            const char* channel = SwitchValue(argc, argv, i, 1);
            const char* count = channel != NULL ? SwitchValue(argc, argv, i, 2) : NULL;
            if (count != NULL) {
                out->serverChannel = std::atoi(channel);
                out->robotCount = std::atoi(count);
                out->mode = EServerMode;
                ReportUnread(argc, argv, i, i + 3);
                return;
            }
        }
    }
}

CommandLineMode StartFromSwitches(const CommandLine* cl, int* playerId, char* name, int* classUid,
                                  int* robotCount) {
    CopyName(name, cl->name);
    *classUid = cl->classUid;
    switch (cl->mode) {
    case ECreateGame:
        if (!gCommandLineActions.hostGame(cl->gameName, cl->name))
            return EGiveUp;
        *playerId = 0;
        return ECreateGame;
    case EServerMode:
        if (cl->serverChannel < 0 || cl->serverChannel >= NUM_CHANNELS) {
            std::printf("-d: game number %d is not 0 to %d\n", cl->serverChannel, NUM_CHANNELS - 1);
            return EGiveUp;
        }
        currentChannel = cl->serverChannel;
        if (gCommandLineActions.openChannel(currentChannel) != 0)
            return EGiveUp;
        *playerId = -1;
        *robotCount = cl->robotCount;
        return EServerMode;
    case EJoinGame:
    default:
        *playerId = gCommandLineActions.joinGame(cl->name);
        return *playerId != -1 ? EJoinGame : EGiveUp;
    }
}

CommandLineMode ParseCommandLine(int argc, char** argv, int* playerId, char* name, int* classUid,
                                 int* robotCount) {
    CommandLine cl;
    ParseSwitches(argc, argv, &cl);
    return StartFromSwitches(&cl, playerId, name, classUid, robotCount);
}

bool WantsHelp(int argc, char** argv) {
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    }
    return false;
}

void PrintUsage() {
    std::printf("Vantrell IV: robots, energon and battles on a local network.\n"
                "\n"
                "usage: vantrell [-n NAME] [-t CLASS] [-c GAME | -d NUMBER COUNT]\n"
                "\n"
                "  -n NAME          your robot's name (default Vantrell)\n"
                "  -t CLASS         your robot's class: hover, johnny (default) or dalek\n"
                "  -c GAME          host a new game called GAME\n"
                "  -d NUMBER COUNT  run COUNT computer robots in game NUMBER (0-3), no window\n"
                "  --help           show this text\n"
                "\n"
                "-c GAME and -d NUMBER COUNT end the switches: whatever follows them is not\n"
                "read, so put them last (-n Ann -c Arena, not -c Arena -n Ann).\n"
                "With neither -c nor -d the game joins a game announced on the network.\n");
}

// The stamp milliseconds after another (milliseconds from 0 on).
static TimeStamp LaterBy(TimeStamp stamp, int milliseconds) {
    long total = stamp.millitm + static_cast<long>(milliseconds);
    stamp.time += static_cast<time_t>(total / 1000);
    stamp.millitm = static_cast<uint16_t>(total % 1000);
    return stamp;
}

int TickRearmDelay(int elapsedMilliseconds) {
    if (elapsedMilliseconds >= TICK_MILLISECONDS)
        return 0;
    if (elapsedMilliseconds < 0)
        return TICK_MILLISECONDS;
    return TICK_MILLISECONDS - elapsedMilliseconds;
}

Robot* CreatePlayer(const char* name, int playerId, int classUid) {
    RobotClass* robotClass = LookupRobotClass(gRegistry, classUid);
    if (robotClass == NULL)
        return NULL;
    Robot* robot = NewRobot(robotClass, playerId, 1);
    gPlayerRobot = robot;
    gLocalRobotUid = robot->uid;
    static const int kStartingObjects[] = {7000, 7000, 7000, 7000, 7001, 7002, 6000};
    for (int uid : kStartingObjects)
        AddItemToInventory(robot->inventory, uid);
    for (int skill = 8000; skill <= 8003; skill++)
        LearnSkill(robot, skill);
    SetRobotName(robot, name);
    SetRobotDesc(robot, "Heroic Robot");
    return robot;
}

TickResult RunGameTick(ClockFn clock) {
    TickResult result = {false, 0, {0, 0}};
    TimeStamp start = clock();
    gTickCount++;
    // Every robot of the world in slot order with its battle, then the energon; animations join
    // here.
    for (int i = 0; gWorld != NULL && i < RobotSlotCount(gWorld); i++) {
        if (Robot* robot = GetRobotByIndex(gWorld, i)) {
            result.changed |= RobotUpdate(robot);
            BattleTick(robot);
        }
    }
    if (gWorld != NULL)
        result.changed |= EnergonWorldTick(gWorld);
    result.changed |= AdvanceAnimations() != 0;
    TimeStamp end = clock();
    int elapsed = ElapsedMilliseconds(&start, &end);
    // The keep-alive: other copies see a robot that stands still. A stamp ahead of the clock
    // is due as well, so no step of a clock can hold the keep-alive back.
    int sinceSent = gPlayerRobot != NULL ? ElapsedMilliseconds(&gPlayerRobot->stamp, &end) : 0;
    if (gPlayerRobot != NULL && (sinceSent >= KEEP_ALIVE_MILLISECONDS || sinceSent < 0)) {
        BroadcastRobotState(gPlayerRobot);
        gPlayerRobot->stamp = end;
    }
    result.delay = TickRearmDelay(elapsed);
    result.next = LaterBy(end, result.delay);
    return result;
}

void StartOwnerLoop(ClockFn clock) {
    gTickDue = LaterBy(clock(), TICK_MILLISECONDS);
}

OwnerStep RunOwnerStep(ClockFn clock) {
    OwnerStep step = {PumpPackets(), false};
    TimeStamp now = clock();
    int untilDue = ElapsedMilliseconds(&now, &gTickDue);
    if (untilDue > 0 && untilDue <= TICK_MILLISECONDS)
        return step;
    TickResult tick = RunGameTick(clock);
    gTickDue = tick.next;
    step.changed |= tick.changed;
    step.ticked = true;
    return step;
}

void Quit() {
    // The other copies learn that our robot leaves.
    if (gLocalRobotUid > 0)
        SendRobotLeft(gLocalRobotUid);
    // The dialogs close, the music stops and sound ends.
    ShutdownDialogs();
    StopMusic();
    ShutdownSound();
    std::fflush(stdout);
    std::exit(0);
}
