// robot: the record, names, placement, the move queue, the tick's movement, teleporters and
// the state exchanged with the other copies. What a robot receives and uses is robotobjects.cpp.
#include "robots/robot.h"

#include "data/registry.h"
#include "foundation/refusals.h"
#include "foundation/assertion.h"
#include "net/packets.h"
#include "sound/sound.h"
#include "world/energon.h"
#include "world/gamehooks.h"
#include "world/world.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// ---- the record -----------------------------------------------------------------------------

// Room for that many uids, zeroed (a class without slots still gets an allocation).
static int32_t* NewUidSlots(int slots) {
    size_t n = slots > 0 ? static_cast<size_t>(slots) : 1;
    int32_t* uids = static_cast<int32_t*>(SafeMalloc(n * sizeof(int32_t)));
    std::memset(uids, 0, n * sizeof(int32_t));
    return uids;
}

bool IsComputerUid(int64_t uid) {
    return uid - ROBOT_UID_BASE >= FIRST_COMPUTER_INDEX;
}

Robot* NewRobot(RobotClass* robotClass, int index, int isLocal) {
    VASSERT(robotClass != NULL);
    Robot* robot = static_cast<Robot*>(SafeMalloc(sizeof(Robot)));
    std::memset(robot, 0, sizeof *robot);
    robot->inventory = NewInventory();
    robot->robotClass = robotClass;
    robot->nWeapons = 0;
    robot->weapons = NewUidSlots(robotClass->nWeaponSlots);
    robot->armors = NewUidSlots(robotClass->nArmorSlots);
    robot->nArmors = 0;
    robot->stats = robotClass->initialStats;
    // The starting equipment fills the weapon slots and the inventory; the stats stay the
    // class's.
    for (int i = 0; i < robotClass->nArmors; i++)
        ReceiveObject(robot, robotClass->armorUids[i], 1);
    for (int i = 0; i < robotClass->nWeapons; i++)
        ReceiveObject(robot, robotClass->weaponUids[i], 1);
    robot->stats = robotClass->initialStats;
    SetRobotName(robot, "testrobot");
    SetRobotDesc(robot, "only a test");
    robot->skills = DArrayNew(sizeof(int32_t), 4);
    robot->uid = index + ROBOT_UID_BASE;
    robot->speed = ROBOT_SPEED;
    robot->cell.z = -1;
    robot->isLocal = isLocal ? 1 : 0;
    if (isLocal) {
        robot->moveQueue = ListNew();
        robot->lock = new std::recursive_mutex();
        robot->stamp = GetTimeStamp();
        RegisterRobot(gRegistry, robot, robot->uid);
    }
    return robot;
}

static void FreeCommand(void* command) {
    std::free(command);
}

void FreeRobot(Robot* robot) {
    if (robot == NULL)
        return;
    FreeInventory(robot->inventory);
    std::free(robot->weapons);
    std::free(robot->armors);
    DArrayFree(robot->skills);
    if (robot->moveQueue != NULL)
        ListFree(robot->moveQueue, FreeCommand);
    delete robot->lock;
    std::free(robot->glData); // the model's record; its display lists live for the run
    std::free(robot);
}

void PrintRobot(const Robot* robot) {
    std::printf("Robot %s\n", robot->name);
    std::printf("Desc: %s\n", robot->desc);
    std::printf("uid: %d\n", robot->uid);
    std::printf("class: %s\n", robot->robotClass->name);
    std::printf("nWeapons: %d\n", robot->nWeapons);
    std::printf("Weapons: ");
    for (int i = 0; i < robot->nWeapons; i++)
        std::printf("%d, ", robot->weapons[i]);
    std::printf("\n");
    std::printf("nArmors: %d\n", robot->nArmors);
    std::printf("Armor: ");
    for (int i = 0; i < robot->nArmors; i++)
        std::printf("%d, ", robot->armors[i]);
    std::printf("\n");
    PrintStats(&robot->stats);
}

void SetRobotName(Robot* robot, const char* text) {
    CopyNameField(robot->name, sizeof robot->name, text);
}

void SetRobotDesc(Robot* robot, const char* text) {
    CopyNameField(robot->desc, sizeof robot->desc, text);
}

// ---- placement and cells --------------------------------------------------------------------

static World* RobotWorld(const Robot* robot) {
    return LookupWorld(gRegistry, robot->worldUid);
}

static void SetPositionToCell(Robot* robot) {
    robot->position = {static_cast<double>(robot->cell.x), static_cast<double>(robot->cell.y),
                       static_cast<double>(robot->cell.z)};
}

// The robot's cell stops holding it. Only a cell that holds this very robot is emptied: a
// robot that another copy reported into the same cell, a wall or a chest stays.
static void LeaveCell(Robot* robot, World* world) {
    CellData* here = FindCellData(world, robot->cell.x, robot->cell.y, robot->cell.z);
    if (here != NULL && here->contentType == ERobot && here->content == robot)
        SetCellContent(world, &robot->cell, EEmpty, NULL);
}

// The robot's cell holds it, unless something else than a robot stands there.
static void OccupyCell(Robot* robot, World* world) {
    if (!OnTheGrid(world, robot->cell.x, robot->cell.y))
        return;
    int content = GetContentType(world, robot->cell.x, robot->cell.y, robot->cell.z);
    if (content == EEmpty || content == ERobot)
        SetCellContent(world, &robot->cell, ERobot, robot);
}

void PlaceRobotInWorld(Robot* robot, int worldUid) {
    World* world = LookupWorld(gRegistry, worldUid);
    if (world == NULL)
        return;
    robot->worldUid = worldUid;
    robot->index = robot->uid - ROBOT_UID_BASE;
    SetRobotSlot(world, robot->index, robot->uid);
    const SafeZone* home = GetSafeZone(world, robot->index);
    if (robot->index >= FIRST_COMPUTER_INDEX) {
        robot->cell = RandomFreeLocation(world);
    } else if (home != NULL && home->owner != NO_SAFE_ZONE) {
        robot->cell = {home->centre.x + 1, home->centre.y, home->centre.z};
    } else {
        // A world without this player's safe zone still gives the player somewhere to stand.
        std::printf("PlaceRobotInWorld: the world has no home for player %d\n", robot->index);
        robot->cell = RandomFreeLocation(world);
    }
    SetPositionToCell(robot);
}

// ---- the move queue -------------------------------------------------------------------------

void LockRobot(Robot* robot) {
    if (robot->lock != NULL)
        robot->lock->lock();
}

void UnlockRobot(Robot* robot) {
    if (robot->lock != NULL)
        robot->lock->unlock();
}

static bool IsStep(int32_t command) {
    return command == MOVE_FORWARD || command == MOVE_BACKWARD;
}

void QueueMove(Robot* robot, int32_t command) {
    if (robot->moveQueue == NULL)
        return;
    LockRobot(robot);
    ListNode* last = robot->moveQueue->tail;
    int32_t* lastCommand = last != NULL ? static_cast<int32_t*>(last->data) : NULL;
    if (robot->teleporting) {
        // No new moves while the robot is between two teleporter ends.
    } else if (IsStep(command) || lastCommand == NULL ||
               std::llabs(*lastCommand) >= MOVE_TURN_LIMIT - 1) {
        // A step, or a last entry the size of a step, starts a new entry.
        int32_t* entry = static_cast<int32_t*>(SafeMalloc(sizeof(int32_t)));
        *entry = command;
        ListAppend(robot->moveQueue, entry);
    } else {
        // Turns merge: +1 +1 -1 leave one entry of +1, and turns that cancel out leave the
        // queue. The sum is kept even when too large.
        int64_t sum = static_cast<int64_t>(*lastCommand) + command;
        if (std::llabs(sum) >= MOVE_TURN_LIMIT)
            std::printf("error too many turns\n");
        *lastCommand = static_cast<int32_t>(sum);
        if (sum == 0)
            ListRemoveNode(robot->moveQueue, last, FreeCommand);
    }
    UnlockRobot(robot);
}

int32_t PeekMove(Robot* robot) {
    if (robot->moveQueue == NULL)
        return 0;
    LockRobot(robot);
    ListNode* first = robot->moveQueue->head;
    int32_t command = first != NULL ? *static_cast<int32_t*>(first->data) : 0;
    UnlockRobot(robot);
    return command;
}

void ConsumeMove(Robot* robot, int32_t command) {
    if (command == 0 || robot->moveQueue == NULL)
        return;
    LockRobot(robot);
    ListNode* first = robot->moveQueue->head;
    if (first != NULL) {
        int32_t* entry = static_cast<int32_t*>(first->data);
        if (!IsStep(command))
            *entry += *entry > 0 ? -1 : 1;
        if (IsStep(command) || *entry == 0)
            ListRemoveNode(robot->moveQueue, first, FreeCommand);
    }
    UnlockRobot(robot);
}

void ClearMoveQueue(Robot* robot) {
    if (robot->moveQueue == NULL)
        return;
    LockRobot(robot);
    ListClear(robot->moveQueue, FreeCommand);
    UnlockRobot(robot);
}

// ---- geometry -------------------------------------------------------------------------------

// Half away from zero, as the grid rounds a direction.
static int RoundAway(double v) {
    return static_cast<int>(v > 0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5));
}

Location CellInFront(const Location* cell, int facing) {
    double theta = facing * DEGREES_TO_RADIANS;
    Location front = {cell->x + RoundAway(std::cos(theta)), cell->y + RoundAway(std::sin(theta)),
                      cell->z};
    return front;
}

static int RoundCoordinate(double v) {
    double whole = std::trunc(v);
    return static_cast<int>(v - whole >= 0.4999 ? whole + 1 : whole);
}

Location RoundToCell(const Vector3* position) {
    Location cell = {RoundCoordinate(position->x), RoundCoordinate(position->y),
                     RoundAway(position->z)};
    return cell;
}

bool AtCellCentre(const Robot* robot) {
    return robot->position.x == robot->cell.x && robot->position.y == robot->cell.y &&
           robot->facing % 45 == 0;
}

bool OnForeignSafeZone(const Robot* robot, const CellData* cell) {
    return cell != NULL && cell->safeZoneOwner != NO_SAFE_ZONE &&
           cell->safeZoneOwner != robot->index;
}

// The direction a step goes: backward steps go the other way.
static int StepDirection(int facing, int32_t move) {
    return move == MOVE_BACKWARD ? (facing + 180) % 360 : facing;
}

static constexpr double DIAGONAL_LENGTH = 1.414213562;

// How far one tick of a step goes along the facing (negative backward): the speed itself, or
// on a diagonal the share of it that makes a whole number of ticks (three at half a cell a
// tick).
static double StepLength(int facing, double speed) {
    if (facing % 90 == 0)
        return speed;
    return DIAGONAL_LENGTH / static_cast<double>(std::lround(DIAGONAL_LENGTH / speed));
}

// ---- what the robot finds where it stops ------------------------------------------------------

void PayEnergy(Robot* robot, int cost) {
    AddToStat(&robot->stats.energy, -static_cast<int64_t>(cost));
    if (robot->stats.energy < 0)
        robot->stats.energy = 0;
}

bool PickUpEnergon(Robot* robot, CellData* cell, World* world) {
    if (cell == NULL || cell->energonId == 0)
        return false;
    if (robot->index < NUM_PLAYER_SLOTS)
        PlaySoundFile("sounds\\e0energon.wav");
    // The copy that drives the robot replaces the deposit somewhere else for everyone.
    int amount = TakeEnergon(world, cell->energonId, robot->isLocal != 0);
    AddItemsToInventory(robot->inventory, ENERGON_ITEM_UID, amount);
    return true;
}

bool TeleporterHere(Robot* robot, World* world) {
    if (robot->index >= NUM_PLAYER_SLOTS || robot->justTeleported)
        return false;
    return GetTeleporterDestination(world, &robot->cell, &robot->targetCell);
}

// The camera follows the moves and turns of a robot this copy drives.
static void CameraFollows(const Robot* robot, bool turned) {
    if (robot->isLocal)
        gHooks.cameraFollows(robot, turned);
}

void FinishTeleport(Robot* robot, World* world) {
    LeaveCell(robot, world);
    robot->cell = robot->targetCell;
    SetPositionToCell(robot);
    OccupyCell(robot, world);
    robot->justTeleported = 1;
    if (robot->isLocal) {
        CameraFollows(robot, false);
        BroadcastRobotState(robot);
    }
    PayEnergy(robot, TELEPORT_ENERGY_COST);
}

bool FacingHome(const Robot* robot, World* world) {
    if (robot->index > FIRST_COMPUTER_INDEX)
        return false;
    const SafeZone* home = GetSafeZone(world, robot->index);
    if (home == NULL || home->owner == NO_SAFE_ZONE)
        return false;
    Location front = CellInFront(&robot->cell, robot->facing);
    return LocationEqual(&front, &home->centre);
}

// ---- the tick -------------------------------------------------------------------------------

// One tick of a step: true when the robot moved.
static bool StepTick(Robot* robot, World* world, bool canMove, int cost) {
    if (!canMove) {
        // A blocked move is dropped and costs nothing.
        robot->currentMove = 0;
        return false;
    }
    LeaveCell(robot, world);
    double step = StepLength(robot->facing, robot->speed);
    double theta = robot->facing * DEGREES_TO_RADIANS;
    robot->position.x += std::cos(theta) * step;
    robot->position.y += std::sin(theta) * step;
    CameraFollows(robot, false);
    Location r = RoundToCell(&robot->position);
    robot->cell = !LocationEqual(&r, &robot->targetCell) && !LocationEqual(&r, &robot->cell)
                      ? robot->targetCell
                      : r;
    OccupyCell(robot, world);
    if (std::fabs(robot->position.x - robot->cell.x) < 0.05 &&
        std::fabs(robot->position.y - robot->cell.y) < 0.05) {
        SetPositionToCell(robot);
        PayEnergy(robot, cost);
        robot->currentMove = 0;
    }
    robot->justTeleported = 0;
    return true;
}

static void TurnTick(Robot* robot, int cost) {
    int turned = robot->facing + (robot->currentMove > 0 ? TURN_STEP_DEGREES : -TURN_STEP_DEGREES);
    robot->facing = (turned % 360 + 360) % 360;
    CameraFollows(robot, true);
    if (robot->facing % 45 == 0) {
        PayEnergy(robot, cost);
        robot->currentMove = 0;
    }
}

// Whether a computer robot of this index is kept out of that cell's safe zone (the first
// computer robot may enter safe zones).
static bool KeptOutOfSafeZone(const Robot* robot, const World* world, const Location* cell) {
    if (robot->index <= FIRST_COMPUTER_INDEX)
        return false;
    const CellData* d = FindCellData(world, cell->x, cell->y, cell->z);
    return d != NULL && d->safeZoneOwner != NO_SAFE_ZONE;
}

bool RobotUpdate(Robot* robot) {
    bool changed = false, canMove = true;
    int cost = 1;
    if (!robot->isLocal) {
        changed = robot->remoteUpdated != 0;
        robot->remoteUpdated = 0;
    }
    World* world = RobotWorld(robot);
    CellData* here = world != NULL ? GetCellDataAt(world, &robot->cell) : NULL;
    if (here == NULL)
        return changed; // not placed on this world's grid
    if (OnForeignSafeZone(robot, here))
        cost = FOREIGN_SAFE_ZONE_COST;
    if (robot->isLocal && robot->currentMove == 0) {
        robot->currentMove = PeekMove(robot);
        ConsumeMove(robot, robot->currentMove);
    }
    if (AtCellCentre(robot)) {
        changed |= PickUpEnergon(robot, here, world);
        if (TeleporterHere(robot, world)) {
            if (robot->teleporting)
                return false;
            if (robot->isLocal)
                ClearMoveQueue(robot);
            gHooks.teleport(robot, world);
            if (robot->index < NUM_PLAYER_SLOTS)
                PlaySoundFile("sounds\\Jugteleport.wav");
            return false;
        }
        if (FacingHome(robot, world))
            changed |= ConvertEnergon(robot);
        robot->targetCell =
            CellInFront(&robot->cell, StepDirection(robot->facing, robot->currentMove));
        if (IsBlockedAt(world, &robot->targetCell) ||
            KeptOutOfSafeZone(robot, world, &robot->targetCell))
            canMove = false;
    }
    robot->speed = std::fabs(robot->speed);
    switch (robot->currentMove) {
    case 0:
        return changed;
    case MOVE_BACKWARD:
        robot->speed = -robot->speed;
        [[fallthrough]];
    case MOVE_FORWARD:
        return StepTick(robot, world, canMove, cost) || changed;
    default:
        TurnTick(robot, cost);
        return true;
    }
}

// ---- who stands in front ----------------------------------------------------------------------

bool ChestInFront(const Robot* robot, Chest** chest) {
    World* world = RobotWorld(robot);
    Chest* found = world != NULL ? GetChestAt(world, &robot->targetCell) : NULL;
    if (chest != NULL)
        *chest = found;
    return found != NULL && !found->opened;
}

static Robot* RobotAhead(const Robot* robot) {
    World* world = RobotWorld(robot);
    if (world == NULL)
        return NULL;
    Location front = CellInFront(&robot->cell, robot->facing);
    return GetRobotAt(world, &front);
}

bool RobotInFront(const Robot* robot) {
    return RobotAhead(robot) != NULL;
}

bool CanStartBattle(const Robot* robot, Robot** enemy) {
    Robot* other = RobotAhead(robot);
    if (other == NULL || other->battle != NULL)
        return false;
    if (enemy != NULL)
        *enemy = other;
    const CellData* there =
        FindCellData(RobotWorld(other), other->cell.x, other->cell.y, other->cell.z);
    // A robot standing in its own safe zone cannot be attacked.
    return there == NULL || there->safeZoneOwner != other->index;
}

// ---- state between copies -------------------------------------------------------------------

void BroadcastRobotState(Robot* robot) {
    gHooks.sendState(robot);
}

// Slack for another copy's arithmetic, well inside the 0.05 at which a step ends on its cell.
static constexpr double STATE_SLACK = 0.01;
// No coordinate of a world lies farther out; checked before rounding, so that it fits an int.
static constexpr double FARTHEST_COORDINATE = MAX_WORLD_SIZE + 1.0;

// A cell a robot may be in: on the grid, and nothing but perhaps another robot in it.
static bool RoomForRobot(const World* world, const Location* cell) {
    if (!OnTheGrid(world, cell->x, cell->y))
        return false;
    int content = GetContentType(world, cell->x, cell->y, cell->z);
    return content == EEmpty || content == ERobot;
}

// A whole number of ticks at this speed make one straight step, so that it ends on a cell
// centre (diagonal steps always do: StepLength makes them whole).
static bool SpeedEndsSteps(double speed) {
    double s = std::fabs(speed);
    return std::isfinite(speed) && s >= MIN_ROBOT_SPEED && s <= MAX_ROBOT_SPEED &&
           std::fabs(static_cast<double>(std::lround(1.0 / s)) * s - 1.0) <= STATE_SLACK;
}

// Where a robot can be: at rest or turning, on the centre of a cell it may stand in; stepping,
// on the line from the centre of the cell it leaves to the next, a whole number of ticks from
// the start, with room in both cells (the copy that sent it found the way free; a step that
// has not begun is checked here when it begins). Null when the packet's place is one of these.
static const char* PlaceFault(const World* world, const RobotStatePacket* p, const Location* cell) {
    double dx = p->x - cell->x, dy = p->y - cell->y;
    if (std::fabs(p->z - cell->z) > STATE_SLACK)
        return "position between two heights";
    if (!IsStep(p->move)) {
        if (p->facing % 45 != 0 && p->move == 0)
            return "at rest between two turn steps";
        if (std::hypot(dx, dy) > STATE_SLACK)
            return "position between cells without a step";
        return RoomForRobot(world, cell) ? NULL : "in a cell a robot cannot enter";
    }
    if (p->facing % 45 != 0)
        return "a step while turning";
    int direction = StepDirection(p->facing, p->move);
    double theta = direction * DEGREES_TO_RADIANS;
    double along = dx * std::cos(theta) + dy * std::sin(theta);
    double across = dx * std::sin(theta) - dy * std::cos(theta);
    Location from = *cell;
    if (along < -STATE_SLACK) { // past half-way: the cell is the one it enters
        from = CellInFront(cell, (direction + 180) % 360);
        along += direction % 90 == 0 ? 1.0 : DIAGONAL_LENGTH;
    }
    double step = std::fabs(StepLength(direction, p->speed));
    double ticks = along / step;
    if (std::fabs(across) > STATE_SLACK ||
        std::fabs(ticks - std::round(ticks)) * step > STATE_SLACK)
        return "position off the ticks of its step";
    Location to = CellInFront(&from, direction);
    bool begun = dx != 0.0 || dy != 0.0;
    if (!RoomForRobot(world, &from) || (begun && !RoomForRobot(world, &to)))
        return "a step into a cell a robot cannot enter";
    return NULL;
}

// What makes a state packet unusable in the world, or null when it can be applied.
static const char* StateFault(const World* world, const RobotStatePacket* p) {
    if (world == NULL)
        return "robot in no world";
    if (!std::isfinite(p->x) || !std::isfinite(p->y) || !std::isfinite(p->z))
        return "position is not a number";
    if (std::fabs(p->x) > FARTHEST_COORDINATE || std::fabs(p->y) > FARTHEST_COORDINATE ||
        std::fabs(p->z) > FARTHEST_COORDINATE)
        return "position off the grid";
    Vector3 position = {p->x, p->y, p->z};
    Location cell = RoundToCell(&position);
    if (!CellFromOutside(world, cell.x, cell.y, cell.z))
        return "position off the grid";
    if (p->facing < 0 || p->facing > 359 || p->facing % TURN_STEP_DEGREES != 0)
        return "facing not a multiple of 15 from 0 to 345";
    if (!SpeedEndsSteps(p->speed))
        return "speed out of range or ending steps between cells";
    return PlaceFault(world, p, &cell);
}

bool CheckRobotState(const World* world, const RobotStatePacket* packet) {
    const char* fault = StateFault(world, packet);
    if (fault != NULL)
        ReportRefusal("Refusing state of robot %u: %s", packet->uid, fault);
    return fault == NULL;
}

bool ApplyRobotState(Robot* robot, const RobotStatePacket* packet) {
    World* world = RobotWorld(robot);
    if (!CheckRobotState(world, packet))
        return false;
    LeaveCell(robot, world); // only a cell marked with this robot, so also before placement
    robot->position = {packet->x, packet->y, packet->z};
    robot->cell = RoundToCell(&robot->position);
    OccupyCell(robot, world);
    robot->facing = packet->facing;
    robot->speed = packet->speed;
    robot->currentMove = packet->move;
    robot->justTeleported = (packet->flags & STATE_FLAG_JUST_TELEPORTED) != 0;
    robot->skillFlag = (packet->flags & STATE_FLAG_SKILL) != 0;
    robot->targetCell = CellInFront(&robot->cell, StepDirection(robot->facing, robot->currentMove));
    robot->remoteUpdated = 1;
    return true;
}
