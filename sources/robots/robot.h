// robot: a piece on the grid, the player's, another copy's or the computer's.
//
// A robot has a class, a name, stats, weapons, skills and an inventory, a continuous position
// and the grid cell it occupies, a facing in whole degrees (0 along +x, 90 along +y) and, when
// this copy drives it, a queue of pending moves. Every copy keeps a record for every robot of
// the game: the local player's robot (keys), remote players' robots (their state packets) and,
// in the enemy server, the computer robots. RobotUpdate, called once per robot from the 100 ms
// tick, animates all of them alike: turns of 15 degrees a tick, straight steps of two ticks and
// diagonal steps of three, energon picked up where the robot stops, teleporters, and energon
// turned into magicite when the robot faces its home. The robot also reacts to what it receives
// (chest contents, prizes), learns skills, uses items and sends its state to the other copies.
//
// Uids: 3000 + index. Indexes 0 to 3 are the human players, 4 and up the enemy server's robots.
//
// Threads: the robot belongs to the thread that owns the game state. Only the move queue is
// shared (the enemy server plans on another thread than its tick): every queue operation holds
// the robot's recursive lock.
//
// Effects that other modules show or send (animations, messages, the camera, packets) are set
// going through the game's hooks (world/gamehooks.h); sounds play through the sound service.
#pragma once

#include "data/inventory.h"
#include "data/robotclass.h"
#include "data/stats.h"
#include "foundation/darray.h"
#include "foundation/list.h"
#include "foundation/utilities.h"

#include <cstdint>
#include <mutex>

struct Battle;
struct Chest;
struct CellData;
struct RobotStatePacket;
struct World;

constexpr int ROBOT_NAME_SIZE = 24; // 23 characters and the NUL
constexpr int ROBOT_DESC_SIZE = 32; // 31 characters and the NUL
constexpr int32_t MOVE_FORWARD = 0x8000;
constexpr int32_t MOVE_BACKWARD = 0x8001;
// A queued turn whose count reaches this magnitude is no longer a turn.
constexpr int32_t MOVE_TURN_LIMIT = 32768;
constexpr int TURN_STEP_DEGREES = 15;
constexpr double ROBOT_SPEED = 0.5;
// Speeds a state packet may carry (their magnitude): a diagonal step takes 1.41 / speed ticks.
constexpr double MIN_ROBOT_SPEED = 0.01;
constexpr double MAX_ROBOT_SPEED = 1.0;
constexpr int FIRST_COMPUTER_INDEX = 4;
constexpr int FOREIGN_SAFE_ZONE_COST = 5;
constexpr int TELEPORT_ENERGY_COST = 5;
constexpr int SONAR_ENERGY_COST = 10;
constexpr int SMOKE_TICKS = 18;
constexpr int SONAR_TICKS = 6;

// Items with an effect of their own.
constexpr int REPAIR_ITEM_UID = 7000;
constexpr int WALL_ITEM_UID = 7003;
constexpr int SONAR_AMPLIFIER_UID = 7005;
constexpr int CONVERTER_ITEM_UID = 7006;
constexpr int SMOKE_ITEM_UID = 7007;
constexpr int BEACON_ITEM_UID = 7008;
constexpr int LUCKY_ITEM_UID = 7009;

// The battle pointer of a robot fighting another copy's robot: the battle itself is not here.
inline Battle* const BATTLE_ELSEWHERE = reinterpret_cast<Battle*>(uintptr_t{0xdeadbeef});

struct Robot {
    int32_t uid;
    char name[ROBOT_NAME_SIZE];
    char desc[ROBOT_DESC_SIZE];
    Vector3 position;    // world units; cell (i, j, k) is at (i, j, k)
    Location cell;       // the cell occupied; z is -1 until the robot is placed
    Location targetCell; // the cell being entered, or at rest the cell in front
    int32_t facing;      // 0 to 359; a multiple of 45 at rest
    int32_t index;       // uid - 3000, set by PlaceRobotInWorld
    double speed;        // cells per tick; negative while stepping backward
    int32_t currentMove; // 0, MOVE_FORWARD, MOVE_BACKWARD or a turn (sign = direction)
    int32_t justTeleported;
    List* moveQueue; // int32_t* commands; local robots only
    int32_t teleporting;
    int32_t isLocal;
    int32_t remoteUpdated;
    TimeStamp stamp;   // local: last state sent; remote: last state applied
    uint32_t sequence; // local: state packets sent; remote: highest sequence applied
    int32_t skillFlag;
    int32_t worldUid;
    RobotClass* robotClass;
    Stats stats;
    int32_t* weapons; // robotClass->nWeaponSlots entries
    int32_t nWeapons;
    int32_t* armors; // robotClass->nArmorSlots entries; armor only changes the stats
    int32_t nArmors;
    DArray* skills; // int32_t skill uids
    Inventory* inventory;
    int32_t battleWait;
    int32_t acting;
    void* glData;
    Battle* battle; // null outside battles; BATTLE_ELSEWHERE in a battle of two other copies
    std::recursive_mutex* lock; // local robots only
};

// A new robot of the class with its starting weapons and armor (the stats stay the class's).
// A local robot gets a move queue and a lock and is registered in gRegistry; the caller
// registers any other robot itself.
Robot* NewRobot(RobotClass* robotClass, int index, int isLocal);
// Whether a robot uid is one of the computer's robots (slot FIRST_COMPUTER_INDEX on); any uid a
// packet carries is safe to ask about.
bool IsComputerUid(int64_t uid);
void FreeRobot(Robot* robot);
void PrintRobot(const Robot* robot);
// Copy at most 23 (name) or 31 (description) characters; the text itself is left alone.
void SetRobotName(Robot* robot, const char* text);
void SetRobotDesc(Robot* robot, const char* text);

// Puts the robot into the world's slot of its index and on its start cell: a player beside its
// home (one cell along +x from its safe zone's centre), a computer robot on a random free
// place. The cell is occupied only once the robot moves or a state packet places it.
void PlaceRobotInWorld(Robot* robot, int worldUid);

// The move queue. Turns merge into the last queued turn; moves are ignored while teleporting.
void QueueMove(Robot* robot, int32_t command);
int32_t PeekMove(Robot* robot);
void ConsumeMove(Robot* robot, int32_t command);
void ClearMoveQueue(Robot* robot);
void LockRobot(Robot* robot);
void UnlockRobot(Robot* robot);

// One tick of the robot; true when anything visible changed.
bool RobotUpdate(Robot* robot);

bool AtCellCentre(const Robot* robot);
// The cell lies in a safe zone that is not this robot's own.
bool OnForeignSafeZone(const Robot* robot, const CellData* cell);
// The neighbouring cell in the direction of facing (diagonals included).
Location CellInFront(const Location* cell, int facing);
// The cell a position counts as: x and y round up from .4999, z to the nearest.
Location RoundToCell(const Vector3* position);

// Energy goes down by cost, never below zero.
void PayEnergy(Robot* robot, int cost);
bool PickUpEnergon(Robot* robot, CellData* cell, World* world);
// On a teleporter end (players only, not straight after arriving): targetCell becomes the
// other end.
bool TeleporterHere(Robot* robot, World* world);
// Arrives at targetCell: the robot leaves its cell, stands on the destination and pays 5
// energy; the local robot tells the other copies.
void FinishTeleport(Robot* robot, World* world);
bool FacingHome(const Robot* robot, World* world);
// Ten energon make a magicite once 11 or more are held.
bool ConvertEnergon(Robot* robot);

// Takes a weapon, armor or item uid into the inventory (weapons also into a weapon slot;
// weapons and armor raise the stats); a skill is learned instead and never enters the
// inventory. Any other uid, or one the registry does not know, gives a message and changes
// nothing; false then.
bool ReceiveObject(Robot* robot, int uid, int silent);
// Adds a skill uid to the learned skills; anything else gives a message and changes nothing,
// and a skill already learned is not added again (false then).
bool LearnSkill(Robot* robot, int uid);
void UseItem(Robot* robot, int itemUid);
// The sonar pulse costs SONAR_ENERGY_COST; with less energy left it says so and does nothing
// (false).
bool UseSonar(Robot* robot);
bool RobotHasItem(Robot* robot, int uid);
int RobotItemQuantity(Robot* robot, int uid);

// An unopened chest in targetCell; chest receives what stands there (or null).
bool ChestInFront(const Robot* robot, Chest** chest);
bool RobotInFront(const Robot* robot);
// A robot stands in front, is in no battle and not in its own safe zone; enemy receives it
// when it stands there and is in no battle.
bool CanStartBattle(const Robot* robot, Robot** enemy);

// Tells the other copies the robot's state (through the game's hooks).
void BroadcastRobotState(Robot* robot);
// Whether a state packet describes what a robot in the world can really be doing; prints why
// not. Its facing must be a turn step from 0 to 345 (between multiples of 45 only while
// turning); its speed must end a straight step on a cell centre after whole ticks; at rest or
// turning it stands on a cell centre, and stepping it lies on its way from one cell centre to
// the next, a whole number of ticks from the start; and every cell it is in or steps into is on
// the grid (CellFromOutside) and neither solid nor taken by a chest or a safe zone's centre. So
// a remote robot never leaves the grid, never passes through a wall and never turns forever.
bool CheckRobotState(const World* world, const RobotStatePacket* packet);
// Takes over a remote robot's position, facing, speed, move and flags. A packet that
// CheckRobotState refuses changes nothing; false then.
bool ApplyRobotState(Robot* robot, const RobotStatePacket* packet);
