// mainloop: the process-wide state of a playing copy, the command line, the 100 ms tick and the
// owner step.
//
// main (main.cpp) runs the start-up in its phases; the GLUT callbacks (window.cpp) forward to
// the current game mode. RunOwnerStep is what the thread that owns the game state does every few
// milliseconds, in a playing copy (a GLUT timer) and in the enemy server (its loop) alike: it
// handles the packets the network threads queued, then runs RunGameTick when the tick is due.
// Both are free of GL and take an injected clock.
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

// gLocalRobotUid of the enemy robot server, which has no player's robot.
constexpr int32_t ENEMY_SERVER_UID = -1;
// Whether this copy is the enemy robot server.
bool IsEnemyServer();
// The robot this copy drives, or null (the enemy server, or before the world is loaded).
Robot* LocalRobot();

constexpr int DEFAULT_CLASS_UID = 4002;
constexpr int TICK_MILLISECONDS = 100;
// How often the owner thread handles the packets queued by the network threads.
constexpr int PUMP_MILLISECONDS = 5;
constexpr int KEEP_ALIVE_MILLISECONDS = 500;
// Room for a robot name: 23 characters and the NUL.
constexpr int PLAYER_NAME_SIZE = 24;

enum CommandLineMode {
    EGiveUp = -1,
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
// game's own command-line contract: the game created or joined, server mode, or give up when
// the lobby or the channel failed.
CommandLineMode StartFromSwitches(const CommandLine* cl, int* playerId, char* name, int* classUid,
                                  int* robotCount);
// ParseSwitches, then StartFromSwitches.
CommandLineMode ParseCommandLine(int argc, char** argv, int* playerId, char* name, int* classUid,
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
    int delay;      // from the end of the tick to the next
    TimeStamp next; // when the next tick is due
};
// Ticks run since start-up.
extern long gTickCount;
// One tick of game time: robots, energon, battles, animations and the keep-alive.
TickResult RunGameTick(ClockFn clock);

// The first tick falls due one period from now.
void StartOwnerLoop(ClockFn clock);
struct OwnerStep {
    bool changed; // the picture may have changed
    bool ticked;
};
// Handles every packet queued on the game inbox, then runs the tick when it is due (or when the
// clock stepped back by more than a period since it was armed).
OwnerStep RunOwnerStep(ClockFn clock);

// Orderly shutdown; does not return.
[[noreturn]] void Quit();
