// world: the one world all robots move in.
//
// A rectangular grid of columns; each column is a stack of the heights that something has
// touched (CellData, ascending z). On it stand solid cells (cubes and wall shells), the ends of
// teleporters, the four safe zones, chests, energon deposits and the robots. The world answers
// what movement, the enemy server and the drawing ask (is this cell on the grid, is it blocked,
// where does this teleporter lead, which robot or chest stands here), keeps the robot slots the
// tick walks, and records every box that the drawing will show (WorldBox: corners, colour,
// translucency, texture name). Nothing here calls GL: the headless server loads the same world,
// and the display lists of the boxes and markers are recorded by the drawing code.
//
// Coordinates: 0 <= x < sizeX, 0 <= y < sizeY, z the height. A robot stands at z 1 without
// support; above that it needs an ESolid cell directly below. bigworld lays a solid layer at
// z 1 and lets its robots walk at z 2.
//
// Threads: the world belongs to the thread that owns the game state (the GLUT thread of a
// playing copy, the loop of the enemy server); packets reach it through that owner's inbox, so
// the world itself takes no lock.
#pragma once

#include "foundation/darray.h"
#include "foundation/hash.h"
#include "foundation/utilities.h"

#include <cstdint>

struct Robot;

enum CellContentType : int32_t {
    EEmpty = 0,
    ESolid = 1,
    ESafeZoneCentre = 2,
    ERobot = 3,
    EChest = 4,
};

constexpr int INVALID_ROBOT_UID = 0;
constexpr int ROBOT_UID_BASE = 3000;
constexpr int NUM_SAFE_ZONES = 4;
constexpr int NUM_PLAYER_SLOTS = 4;
constexpr uint8_t NO_TELEPORTER = 255;
constexpr uint8_t NO_SAFE_ZONE = 255;
constexpr int MAX_TELEPORTERS = 254;
constexpr int ENERGON_BUCKETS = 23;
// Deposits RandomFreeLocation still finds a place for.
constexpr int MAX_WORLD_ENERGON = 254;
// Limits on what a world file may ask for, so that a bad file cannot exhaust memory: at most
// 256 x 256 columns, heights 0 to 32 (see CellFromOutside).
constexpr int MAX_WORLD_SIZE = 256;
constexpr int MAX_WORLD_HEIGHT = 32;
// RandomFreeLocation gives up after this many columns without a free surface.
constexpr int RANDOM_LOCATION_ATTEMPTS = 10000;
constexpr int BOX_TEXTURE_SIZE = 33;
// The grey of the floor, walls and cubes.
constexpr Color BOX_GREY = {0.4f, 0.4f, 0.4f, 0.75f};

struct CellData {
    int32_t z;
    CellData* next;
    int32_t contentType;
    void* content;           // the Robot for ERobot, the Chest for EChest, else null
    uint8_t teleporterIndex; // NO_TELEPORTER when no teleporter ends here
    uint8_t safeZoneOwner;   // NO_SAFE_ZONE when no safe zone covers the cell
    uint16_t energonId;      // 0 when no energon lies here
};

struct GridCell {
    int32_t x;
    int32_t y;
    CellData* levels;
};

struct Teleporter {
    int32_t uid;
    int32_t translucent; // the look of its pads only
    Location end1;
    Location end2;
};

struct SafeZone {
    int32_t owner; // player index 0 to 3; NO_SAFE_ZONE while the world file has not set it
    Location centre;
};

struct Chest {
    int32_t x;
    int32_t y;
    int32_t z;
    int32_t contents; // the weapon, armor, item or skill uid the robot opening it receives
    int32_t index;
    int32_t opened;
    int32_t style; // 0 an ordinary chest; non-zero a hidden one, shown only to sonar
};

struct WorldProperty {
    int32_t id;
    int32_t code; // the first character of the property's word
    double value;
};

// One box to draw. A texture of "" draws an untextured box; any name (also "none") draws the
// textured box, with the named texture unless the name is "none". displayList stays 0 until
// the drawing code records the box.
struct WorldBox {
    Vector3 minimum;
    Vector3 maximum;
    Color color;
    int32_t translucent;
    char texture[BOX_TEXTURE_SIZE];
    uint32_t displayList;
};

struct World {
    int32_t uid;
    int32_t musicTrack;
    GridCell* grid; // sizeX * sizeY columns, column (x, y) at x * sizeY + y; null before "size:"
    int32_t sizeX;
    int32_t sizeY;
    DArray* properties;  // WorldProperty
    DArray* chests;      // Chest*
    DArray* teleporters; // Teleporter
    DArray* safeZones;   // four SafeZone, entry k for player index k
    // Safe-zone markers to draw: NUM_SAFE_ZONES once the world file was read without error,
    // else 0. safeZoneLists holds their display lists once the drawing code has recorded them
    // (allocated with SafeMalloc; FreeWorld releases it).
    int32_t safeZoneMarkers;
    uint32_t* safeZoneLists;
    HashTable* energonTable; // Energon*, keyed by id
    int32_t energonCount;
    uint16_t nextEnergonId;
    // This copy's own share of the energon ids (see energon.h); nextEnergonId stays inside it.
    uint16_t energonIdFirst;
    uint16_t energonIdLast;
    DArray* robotSlots; // int32_t robot uids; slots 0 to 3 always exist
    DArray* boxes;      // WorldBox
};

// Construction. NewWorld registers the new world in gRegistry under a uid from
// NewUID(EWorldType). FreeWorld releases the world with its cells, chests and deposits (the
// game keeps its world to the end; tests release theirs).
World* NewWorld();
void FreeWorld(World* pWorld);

// Grid.
bool OnTheGrid(const World* pWorld, int x, int y);
// Whether a cell named from outside (a received packet, a world file) may be used: on the grid
// and at a height from 0 to MAX_WORLD_HEIGHT. Every reader of such cells asks here, and the
// world never offers a place above that height itself (RandomFreeLocation), so a cell one copy
// makes is a cell every copy takes.
bool CellFromOutside(const World* pWorld, int64_t x, int64_t y, int64_t z);
// The record at that height, created empty and linked in order when missing; null off the grid.
CellData* GetCellData(World* pWorld, int x, int y, int z);
CellData* GetCellDataAt(World* pWorld, const Location* loc);
// The record at that height when one exists; never creates one. Null when absent or off the grid.
CellData* FindCellData(const World* pWorld, int x, int y, int z);
// The content type at that height; EEmpty where nothing is stored. Never creates a record.
int GetContentType(const World* pWorld, int x, int y, int z);
// Robots enter (ERobot, the robot) and leave (EEmpty, null) cells through it, and chests are
// placed with it. The location must be on the grid and hold a robot or nothing: callers check
// positions that come from packets with OnTheGrid first.
void SetCellContent(World* pWorld, const Location* loc, int contentType, void* content);
// Opens (makeEmpty) or closes a cell for the wall animations.
void SetCellSolid(World* pWorld, const Location* loc, bool makeEmpty, void* content);
// True when a robot cannot occupy the location: off the grid; taken (at a teleporter end, the
// test is made at the other end); or above 1 without a solid cell below.
bool IsBlocked(const World* pWorld, int x, int y, int z);
bool IsBlockedAt(const World* pWorld, const Location* loc);
bool CanStep(const World* pWorld, int x, int y, int z, int dx, int dy);
int CountSolid(const World* pWorld, int x, int y);
// A random place on top of a solid cell whose cell above is free (empty, outside every safe
// zone, without energon) and no higher than MAX_WORLD_HEIGHT. (-1, -1, -1) when the world already
// holds MAX_WORLD_ENERGON deposits, has no grid, or no free place turned up in
// RANDOM_LOCATION_ATTEMPTS tries (said on the console); callers then place nothing.
Location RandomFreeLocation(World* pWorld);

// Teleporters and safe zones.
int TeleporterCount(const World* pWorld);
Teleporter* GetTeleporter(const World* pWorld, int index);
// False when no teleporter ends at the location; else true, with out set to the other end.
bool GetTeleporterDestination(const World* pWorld, const Location* loc, Location* out);
// The safe zone of player index 0 to 3 (its centre is that player's home cell); null otherwise.
SafeZone* GetSafeZone(const World* pWorld, int owner);

// The colour of safe zone 0 to 3 (its pad and its marker), the colour of that player's robot
// too; null for any other number.
const Color* SafeZoneColor(int zone);

// Chests.
int ChestCount(const World* pWorld);
// The chest with that index, or null (with a message) when there is none: indexes from packets
// come through here.
Chest* GetChestByIndex(const World* pWorld, int index);
Chest* NewChest(int x, int y, int z, int index, int contents, int style);
// The chest of an EChest cell, else null (also off the grid).
Chest* GetChestAt(const World* pWorld, const Location* loc);

// Robot slots. Slot k holds the uid of the robot with player index k (uid - 3000), or 0.
int RobotSlotCount(const World* pWorld);
// Player indexes 0 to 3 take their own slot, which must be empty or hold robotUid already
// (else the call is refused with a message). A computer robot (index 4 and up) takes the first
// empty slot beyond the players' or a new one, unless a slot holds it already (a robot placed
// again). A negative index is refused with a message.
void SetRobotSlot(World* pWorld, int index, int robotUid);
int GetRobotSlot(const World* pWorld, int index);
// The robot in the slot (through the registry), or null for an index out of range or an
// empty slot.
Robot* GetRobotByIndex(World* pWorld, int index);
Robot* FindRobotInWorld(World* pWorld, int uid);
// Every slot holding uid becomes 0 and the cell the robot stands in becomes EEmpty; a uid that
// no slot holds changes nothing.
void RemoveRobotFromWorld(World* pWorld, int uid);
// The number of robots in slots 0 to 3.
int CountPlayers(const World* pWorld);
// The robot of an ERobot cell, else null (also off the grid).
Robot* GetRobotAt(const World* pWorld, const Location* loc);

// Boxes to draw. texture null records an untextured box.
void NewWorldBox(World* pWorld, int x, int y, int z, double sizeX, double sizeY, double sizeZ,
                 const Color* color, bool translucent, const char* texture);
// The floor: one box over the whole grid, one cell high, textured "images\metalfloor.rgb".
void AddWorldFloor(World* pWorld);
int BoxCount(const World* pWorld);
WorldBox* GetWorldBox(const World* pWorld, int index);
