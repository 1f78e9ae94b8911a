// enemyserver: the enemies, their planning, their battles and the server's loop.
#include "core/enemyserver.h"

#include "core/battle.h"
#include "core/inbound.h"
#include "core/mainloop.h"
#include "core/outbound.h"
#include "data/registry.h"
#include "foundation/darray.h"
#include "foundation/refusals.h"
#include "net/network.h"
#include "net/packets.h"
#include "render/robotmodel.h"
#include "robots/robot.h"
#include "world/gamehooks.h"
#include "world/world.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <signal.h>

EnemyServer* gEnemyServer = nullptr;

// Set by a signal; the loop reads it between two steps.
static std::atomic<bool> gStopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

namespace {

constexpr int MAX_ENEMIES = 32;
// How long the server listens before it places its enemies: two keep-alives of every player.
constexpr int LISTEN_MILLISECONDS = 2 * KEEP_ALIVE_MILLISECONDS + TICK_MILLISECONDS;
bool IsPlayer(const Robot* robot) {
    return !IsComputerUid(robot->uid);
}

EnemyEntry* EntryOf(int32_t uid) {
    for (int i = 0; gEnemyServer != nullptr && i < EnemyCount(gEnemyServer); i++) {
        EnemyEntry* entry = EnemyAt(gEnemyServer, i);
        if (entry->robot->uid == uid)
            return entry;
    }
    return nullptr;
}

// Says that a battle packet naming a robot this server does not hold is dropped.
void DropUnknown(int32_t uid, const char* what) {
    ReportRefusal("Dropped a %s naming robot %d, which this server does not hold", what, uid);
}

// The robot of the world a battle packet names, or null after a line that says it is dropped.
Robot* NamedRobot(int32_t uid, const char* what) {
    Robot* robot = gWorld != nullptr ? FindRobotInWorld(gWorld, uid) : nullptr;
    if (robot == nullptr)
        DropUnknown(uid, what);
    return robot;
}

// A computer robot uid in a packet that no entry holds: our own robots' packets come back to us
// and are passed over quietly; any other such uid is a robot this server does not hold.
bool ForeignComputerUid(int32_t uid, const char* what) {
    if (!IsComputerUid(uid) || EntryOf(uid) != nullptr)
        return false;
    DropUnknown(uid, what);
    return true;
}

// The enemy's battle is over here: it, its opponent and any player who joined leave it. After a
// battle it fought (acted is set) it moves once before it challenges again.
void ReleaseBattle(EnemyEntry* entry) {
    Battle* battle = entry->battle != nullptr ? entry->battle : entry->robot->battle;
    if (battle != nullptr && battle != BATTLE_ELSEWHERE && battle->robotB != nullptr &&
        battle->robotB->battle == battle)
        battle->robotB->battle = nullptr; // in the world or gone
    for (int i = 0; battle != nullptr && i < RobotSlotCount(gWorld); i++) {
        Robot* robot = GetRobotByIndex(gWorld, i);
        if (robot != nullptr && robot->battle == battle)
            robot->battle = nullptr;
    }
    entry->robot->battle = nullptr;
    entry->battle = nullptr;
}

// Puts the enemy on a random free cell and marks the cell taken at once, so that the next
// enemy placed, or this one placed again, lands elsewhere.
void PlaceEnemy(Robot* robot) {
    PlaceRobotInWorld(robot, gWorld->uid);
    if (robot->cell.z >= 0 &&
        GetContentType(gWorld, robot->cell.x, robot->cell.y, robot->cell.z) == EEmpty)
        SetCellContent(gWorld, &robot->cell, ERobot, robot);
}

// Starts a battle of the enemy (first) against other (second) in the entry's own record.
void StartEnemyBattle(EnemyEntry* entry, Robot* other, Robot* initiator) {
    entry->battle = entry->record;
    SetUpBattle(entry->record, gWorld, entry->robot, other, initiator);
}

} // namespace

EnemyServer* NewEnemyServer(int count) {
    EnemyServer* server = new EnemyServer;
    server->nextRobotIndex = FIRST_COMPUTER_INDEX;
    server->enemies = DArrayNew(sizeof(EnemyEntry), count > 0 ? count : 1);
    server->done = 0;
    gEnemyServer = server;
    RobotClass* robotClass = LookupRobotClass(gRegistry, ENEMY_CLASS_UID);
    if (robotClass == nullptr || gWorld == nullptr) {
        std::printf("No enemy robots: the registry has no class %d or no world is loaded\n",
                    ENEMY_CLASS_UID);
        return server;
    }
    for (int i = 0; i < count; i++) {
        EnemyEntry entry = {NewRobot(robotClass, server->nextRobotIndex++, 1), nullptr, 0,
                            NewBattle()};
        SetRobotName(entry.robot, "Dalek");
        SetRobotDesc(entry.robot, "Evil Robot");
        DArrayAppend(server->enemies, &entry);
        PlaceEnemy(entry.robot);
    }
    return server;
}

void FreeEnemyServer(EnemyServer* server) {
    if (gEnemyServer == server)
        gEnemyServer = nullptr;
    for (int i = 0; i < EnemyCount(server); i++)
        std::free(EnemyAt(server, i)->record);
    DArrayFree(server->enemies);
    delete server;
}

int EnemyCount(const EnemyServer* server) {
    return DArrayLength(server->enemies);
}

EnemyEntry* EnemyAt(EnemyServer* server, int i) {
    return static_cast<EnemyEntry*>(DArrayNth(server->enemies, i));
}

// ---- planning --------------------------------------------------------------------------------

bool FindPlayer(const EnemyEntry* entry, Location* found) {
    const Location& at = entry->robot->cell;
    for (int dx = -ENEMY_SEARCH_RANGE; dx <= ENEMY_SEARCH_RANGE; dx++) {
        for (int dy = -ENEMY_SEARCH_RANGE; dy <= ENEMY_SEARCH_RANGE; dy++) {
            Location cell = {at.x + dx, at.y + dy, at.z};
            Robot* robot = (dx != 0 || dy != 0) ? GetRobotAt(gWorld, &cell) : nullptr;
            if (robot != nullptr && IsPlayer(robot)) {
                std::printf("Dalek found player at (%d, %d, %d)\n", cell.x, cell.y, cell.z);
                *found = cell;
                return true;
            }
        }
    }
    return false;
}

int Steer(const EnemyEntry* entry, const Location* target, int32_t* turn) {
    const Robot* robot = entry->robot;
    int dx = target->x - robot->cell.x, dy = target->y - robot->cell.y;
    int angle = static_cast<int>(std::atan2(dy, dx) / DEGREES_TO_RADIANS);
    double distance = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
    // How far the target lies counter-clockwise from the facing, from -179 to 180 degrees.
    int off = ((angle - robot->facing) % 360 + 360) % 360;
    if (off > 180)
        off -= 360;
    if (off >= -45 && off <= 45 && distance >= ENEMY_STEP_DISTANCE)
        return ESteerForward;
    // The shorter way round; straight ahead but too close, clockwise.
    *turn = off > 0 ? 1 : -1;
    return ESteerTurn;
}

int32_t RandomEnemyMove() {
    static const int32_t kMoves[] = {1, -1, MOVE_FORWARD, MOVE_BACKWARD, MOVE_FORWARD};
    return kMoves[RandomInt(0, 4)];
}

void EnemyAttack(EnemyEntry* entry) {
    Robot* robot = entry->robot;
    if (robot->acting == 0 && robot->battleWait >= ENEMY_ATTACK_WAIT)
        RobotAnimateWeapon(robot, ENEMY_ATTACK_UID, entry->battle->robotB, 1);
}

void PlanEnemy(EnemyEntry* entry) {
    Robot* robot = entry->robot;
    if (robot->cell.z < 0)
        return; // no free cell was found for it: it stays out of the game
    // The battle ended here (an action or a battle-over), or its opponent left the game.
    if (entry->battle != nullptr &&
        (robot->battle == nullptr || entry->battle->robotB == nullptr ||
         FindRobotInWorld(gWorld, entry->battle->robotB->uid) != entry->battle->robotB))
        ReleaseBattle(entry);
    if (entry->battle != nullptr && RobotInFront(robot)) {
        EnemyAttack(entry);
        entry->acted = 1;
        return;
    }
    Robot* other = nullptr;
    if (entry->acted == 0 && entry->battle == nullptr && CanStartBattle(robot, &other) &&
        IsPlayer(other)) {
        StartEnemyBattle(entry, other, robot);
        gHooks.challenge(robot, other->uid);
        return;
    }
    Location player;
    int32_t move = 0;
    if (!FindPlayer(entry, &player))
        move = RandomEnemyMove();
    else if (Steer(entry, &player, &move) == ESteerForward)
        move = MOVE_FORWARD;
    QueueMove(robot, move);
    std::printf("Added move %d\n", move);
    BroadcastRobotState(robot);
    entry->acted = 0;
}

// ---- battle packets --------------------------------------------------------------------------

bool EnemyBattleStart(const uint8_t* packet, size_t length) {
    BattleStartPacket p;
    if (!DecodeBattleStart(packet, length, &p) || gWorld == nullptr)
        return false;
    int32_t challenger = static_cast<int32_t>(p.challengerUid);
    int32_t challenged = static_cast<int32_t>(p.challengedUid);
    if (p.subType != EBattleChallenge && p.subType != EBattleAccept) {
        ReportRefusal("Dropped a battle start of robot %d: sub-type %u", challenger, p.subType);
        return false;
    }
    bool accept = p.subType == EBattleAccept;
    EnemyEntry* entry = EntryOf(accept ? challenger : challenged);
    if (entry == nullptr) {
        // Our own packets come back; otherwise a battle between two players.
        if (IsComputerUid(challenger) || IsComputerUid(challenged)) {
            if (!ForeignComputerUid(challenger, "battle start"))
                ForeignComputerUid(challenged, "battle start");
            return false;
        }
        Robot* a = NamedRobot(challenger, "battle start");
        Robot* b = a != nullptr ? NamedRobot(challenged, "battle start") : nullptr;
        if (b == nullptr)
            return false;
        TakeNameAndStats(accept ? b : a, p);
        a->battle = b->battle = BATTLE_ELSEWHERE;
        return true;
    }
    if (accept) {
        // The answer to this enemy's own challenge.
        Robot* player = NamedRobot(challenged, "battle accept");
        if (player == nullptr || entry->battle == nullptr || entry->battle->robotB != player)
            return false;
        TakeNameAndStats(player, p);
        player->battle = entry->battle;
        return true;
    }
    Robot* attacker = NamedRobot(challenger, "challenge");
    if (attacker == nullptr)
        return false;
    if (!IsPlayer(attacker)) {
        ReportRefusal("Dropped a challenge of robot %d from computer robot %d", challenged,
                      challenger);
        return false;
    }
    TakeNameAndStats(attacker, p);
    gHooks.accept(entry->robot, challenger);
    if (entry->battle != nullptr)
        attacker->battle = entry->battle; // joins the battle already running
    else
        StartEnemyBattle(entry, attacker, attacker);
    return true;
}

bool EnemyBattleOver(const uint8_t* packet, size_t length) {
    BattleOverPacket p;
    if (!DecodeBattleOver(packet, length, &p) || gWorld == nullptr)
        return false;
    int32_t loser = static_cast<int32_t>(p.loserUid), winner = static_cast<int32_t>(p.winnerUid);
    if (EnemyEntry* entry = EntryOf(loser)) {
        // Beaten: whole again, and back in the game on another free cell.
        Robot* robot = entry->robot;
        ReleaseBattle(entry);
        ClearMoveQueue(robot);
        robot->currentMove = 0;
        RestoreLoser(robot, PlaceEnemy);
        std::printf("Dalek %d beaten by %d: restored at (%d, %d, %d)\n", loser, winner,
                    robot->cell.x, robot->cell.y, robot->cell.z);
        return true;
    }
    if (EnemyEntry* entry = EntryOf(winner)) {
        ReleaseBattle(entry);
        return true;
    }
    if (ForeignComputerUid(loser, "battle over") || ForeignComputerUid(winner, "battle over"))
        return false;
    // A battle between two players, watched from here.
    Robot* a = NamedRobot(loser, "battle over");
    Robot* b = a != nullptr ? NamedRobot(winner, "battle over") : nullptr;
    if (b == nullptr)
        return false;
    a->battle = b->battle = nullptr;
    return true;
}

// ---- the loop --------------------------------------------------------------------------------

void AfterEnemyTick(EnemyServer* server, long tick, TimeStamp now) {
    for (int i = 0; tick % ENEMY_PLAN_TICKS == 0 && i < EnemyCount(server); i++)
        PlanEnemy(EnemyAt(server, i));
    for (int i = 0; i < EnemyCount(server); i++) {
        Robot* robot = EnemyAt(server, i)->robot;
        int since = ElapsedMilliseconds(&robot->stamp, &now);
        if (robot->cell.z >= 0 && (since >= KEEP_ALIVE_MILLISECONDS || since < 0))
            BroadcastRobotState(robot);
    }
}

void EnemiesLeave(EnemyServer* server) {
    for (int i = 0; i < EnemyCount(server); i++) {
        Robot* robot = EnemyAt(server, i)->robot;
        SendRobotLeft(robot->uid);
        RemoveRobotFromWorld(gWorld, robot->uid);
    }
}

void RequestEnemyServerStop() {
    gStopRequested = true;
}

static void OnStopSignal(int) {
    RequestEnemyServerStop();
}

int RunEnemyServer(int count) {
    if (count < 1 || count > MAX_ENEMIES) {
        std::printf("-d: robot count %d is not 1 to %d\n", count, MAX_ENEMIES);
        return 2;
    }
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    StartOwnerLoop(GetTimeStamp);
    // The players' keep-alives come in for a while first, so that no enemy is put on a cell a
    // player stands on.
    TimeStamp start = GetTimeStamp();
    for (TimeStamp now = start;
         !gStopRequested && ElapsedMilliseconds(&start, &now) < LISTEN_MILLISECONDS;
         now = GetTimeStamp()) {
        RunOwnerStep(GetTimeStamp);
        std::this_thread::sleep_for(std::chrono::milliseconds(PUMP_MILLISECONDS));
    }
    EnemyServer* server = NewEnemyServer(count);
    std::printf("Enemy robot server for game %d with %d robots\n", currentChannel.load(),
                EnemyCount(server));
    while (!gStopRequested) {
        if (RunOwnerStep(GetTimeStamp).ticked)
            AfterEnemyTick(server, gTickCount, GetTimeStamp());
        std::this_thread::sleep_for(std::chrono::milliseconds(PUMP_MILLISECONDS));
    }
    server->done = 1;
    EnemiesLeave(server);
    std::printf("Enemy robot server stopped: %d robots left the game\n", EnemyCount(server));
    FreeEnemyServer(server);
    return 0;
}
