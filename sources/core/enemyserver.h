// enemyserver: the computer robots that hunt the players and fight them ("vantrell -d GAME COUNT").
//
// The server joins one game channel directly, opens no window and calls no GL. It brings COUNT
// robots of class 4001, named "Dalek" and described "Evil Robot", into the game on free cells
// (indexes 4 and up). To every player's copy they are ordinary remote robots: the server sends
// the same packets as a player's copy, for all of its robots, and applies the players' packets
// to its own copy of the world.
//
// Each enemy wanders at random (forward twice as often as backward or either turn), homes in on
// a player within 4 cells, challenges a player standing in front of it, and in a battle fires
// its plasma beam whenever it has waited 60 ticks since its last action. A beaten enemy gets its
// hit points and energy back at once and is put down again on a free cell.
//
// Threads: the server's loop is the one thread that owns the game state. It runs the owner step
// (RunOwnerStep, core/mainloop.h): the packets the network thread queued, then the 100 ms tick
// of every robot, the animations and the battle waits. After each tick it sends the keep-alive
// of its robots, and on every tenth tick it plans every enemy's next move. A stop request (a
// signal) only sets a flag; the loop then lets every enemy leave the game and returns.
#pragma once

#include "foundation/utilities.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

struct Battle;
struct DArray;
struct Robot;

constexpr int ENEMY_CLASS_UID = 4001;
// The weapon uid an enemy's attack is sent with.
constexpr int ENEMY_ATTACK_UID = 5002;
// Ticks an enemy waits in a battle between two attacks.
constexpr int ENEMY_ATTACK_WAIT = 60;
// Ticks between two planning passes.
constexpr int ENEMY_PLAN_TICKS = 10;
// How far (in cells along x and along y) an enemy looks for a player.
constexpr int ENEMY_SEARCH_RANGE = 4;
// Closer than this an enemy turns towards a player instead of stepping.
constexpr double ENEMY_STEP_DISTANCE = 2.0;

struct EnemyEntry {
    Robot* robot;
    Battle* battle; // the battle it is in, or null
    uint32_t acted; // 1 after a pass that found its battle's opponent in front, 0 after a move
    Battle* record; // its own battle record, reused for every battle it starts or accepts
};

struct EnemyServer {
    int32_t nextRobotIndex; // the index of the next enemy robot
    DArray* enemies;        // EnemyEntry, in creation order
    std::atomic<uint32_t> done;
};

// The running server, for the packet handlers; null in a playing copy.
extern EnemyServer* gEnemyServer;

// Creates count enemies in gWorld, each on a free cell, and publishes the server.
EnemyServer* NewEnemyServer(int count);
// Unpublishes and frees the server (its robots stay in the registry and the world).
void FreeEnemyServer(EnemyServer* server);
int EnemyCount(const EnemyServer* server);
EnemyEntry* EnemyAt(EnemyServer* server, int i);

// One planning pass of an enemy: attack in its battle, else challenge a player in front, else
// home in on a player nearby, else a random move.
void PlanEnemy(EnemyEntry* entry);
// The first player (index 0 to 3) within ENEMY_SEARCH_RANGE cells along x and y at the enemy's
// height, looking x from -4 to 4 and, for each, y from -4 to 4; its cell goes to found.
bool FindPlayer(const EnemyEntry* entry, Location* found);
enum SteerResult { ESteerForward = 0, ESteerTurn = 1 };
// Forward when target lies within 45 degrees of the enemy's facing and 2 cells or more away;
// otherwise a turn (+1 counter-clockwise, -1 clockwise) towards it goes to turn.
int Steer(const EnemyEntry* entry, const Location* target, int32_t* turn);
// A random move: a turn either way, a step back, or (twice as likely) a step forward.
int32_t RandomEnemyMove();
// Fires at the battle's opponent once the enemy has waited ENEMY_ATTACK_WAIT ticks and no attack
// of its own is running.
void EnemyAttack(EnemyEntry* entry);

// The battle packets in server mode (the game dispatcher hands them over). A packet that names a
// robot this server's world does not hold is dropped with a message; true when something changed.
bool EnemyBattleStart(const uint8_t* packet, size_t length);
bool EnemyBattleOver(const uint8_t* packet, size_t length);

// What follows a tick of the owner step: the keep-alive of every enemy that stands in the world
// and has sent nothing for 500 ms, and, on every tenth tick, a planning pass of every enemy.
void AfterEnemyTick(EnemyServer* server, long tick, TimeStamp now);
// Every enemy leaves the game (a leave packet each) and its cell is freed.
void EnemiesLeave(EnemyServer* server);

// Asks the running server to stop; safe in a signal handler.
void RequestEnemyServerStop();
// Runs count enemies until a stop is requested (SIGINT and SIGTERM request one), then lets them
// leave. Returns 0.
int RunEnemyServer(int count);
