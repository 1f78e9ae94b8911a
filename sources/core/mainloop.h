// mainloop: the process-wide state of a playing copy, the command line and the 100 ms tick.
//
// main (main.cpp) runs the start-up in its fixed order; the GLUT callbacks (window.cpp) forward
// to the current game mode; RunGameTick is the body of the timer tick, kept free of GL so that
// it can be driven with an injected clock.
#pragma once

#include "foundation/utilities.h"

#include <cstdint>

struct World;
struct Robot;
struct Battle;

extern World* gWorld;
extern Robot* gPlayerRobot;
extern int32_t gLocalRobotUid;
extern Battle* gBattle;

constexpr int DEFAULT_CLASS_UID = 4002;
constexpr int TICK_MILLISECONDS = 100;
// How often the owner thread handles the packets queued by the network threads.
constexpr int PUMP_MILLISECONDS = 5;
constexpr int KEEP_ALIVE_MILLISECONDS = 500;
// Room for a robot name: 23 characters and the NUL.
constexpr int PLAYER_NAME_SIZE = 24;

enum CommandLineMode {
    ECreateGame = 0,
    EJoinGame = 1,
    EServerMode = 2,
};

// What the switches ask for, before anything acts on them.
struct CommandLine {
    CommandLineMode mode;
    char name[PLAYER_NAME_SIZE];
    int classUid;
    char gameName[30];
    int serverChannel;
    int robotCount;
};

// Reads the switches without acting on them. A switch whose value is missing is ignored with
// a message; -c GAME and -d NUMBER COUNT end the switches, and a line names what follows them,
// unread.
void ParseSwitches(int argc, char** argv, CommandLine* out);
// What the command line sets going: the lobby's host and join operations and opening the
// server's channel (tests put fakes here).
struct CommandLineActions {
    int (*hostGame)(const char* gameName, const char* playerName);
    int (*joinGame)(const char* playerName);
    int (*openChannel)(int channel);
};
extern CommandLineActions gCommandLineActions;

// Acts on switches already read (hosts, joins or opens the server's channel) and fills the
// game's own command-line contract: -1 give up, 0 game created, 1 joined, 2 server mode.
int StartFromSwitches(const CommandLine* cl, int* playerId, char* name, int* classUid,
                      int* robotCount);
// ParseSwitches, then StartFromSwitches.
int ParseCommandLine(int argc, char** argv, int* playerId, char* name, int* classUid,
                     int* robotCount);
bool WantsHelp(int argc, char** argv);
void PrintUsage();

// The local player's robot: of the class, index playerId, with four repair kits, an energon
// ore, a magicite, the armor 6000 and skills 8000 to 8003, named name and "Heroic Robot". It
// becomes gPlayerRobot and its uid gLocalRobotUid. Null, with a message, when the registry
// has no such class.
Robot* CreatePlayer(const char* name, int playerId, int classUid);

// The delay before the next tick: what is left of the 100 ms period, never negative.
int TickRearmDelay(int elapsedMilliseconds);

using ClockFn = TimeStamp (*)();
struct TickResult {
    bool changed;
    int delay;
};
// Ticks run since start-up.
extern long gTickCount;
// One tick of game time: robots, energon, animations, the battle wait and the keep-alive.
TickResult RunGameTick(ClockFn clock);

// Orderly shutdown; does not return.
[[noreturn]] void Quit();
