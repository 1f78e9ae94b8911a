// inbound: the dispatcher and the handlers of received game packets.
#include "core/inbound.h"

#include "core/enemyserver.h"
#include "core/battle.h"
#include "core/game.h"
#include "core/mainloop.h"
#include "net/network.h"
#include "net/packets.h"
#include "render/robotmodel.h"
#include "data/registry.h"
#include "foundation/refusals.h"
#include "robots/robot.h"
#include "world/energon.h"
#include "world/gamehooks.h"
#include "world/world.h"

#include <cstdio>
#include <deque>
#include <unordered_map>

namespace {

// A cell from a packet: its coordinates must fit the world before anything looks at it.
bool CellFromPacket(uint32_t x, uint32_t y, uint32_t z, Location* out) {
    if (gWorld == nullptr || !CellFromOutside(gWorld, x, y, z))
        return false;
    MakeLocation(out, static_cast<int>(x), static_cast<int>(y), static_cast<int>(z));
    return true;
}

// A robot record this copy already has for uid, even one that left the world: records stay in
// the registry, so a robot that comes back takes its old record again.
Robot* KnownRobot(int32_t uid) {
    auto* entry = static_cast<RegistryEntry*>(HashTableLookup(gRegistry->table, &uid));
    return entry != nullptr ? static_cast<Robot*>(entry->object) : nullptr;
}

// Whether this copy drives the robot: the player's own, or, in the enemy server, one of its
// computer robots, whether it stands in the world or not. No packet from elsewhere removes,
// moves or places such a robot; what comes back of its own packets is an echo.
bool OurOwnRobot(int32_t uid) {
    if (uid > 0 && uid == gLocalRobotUid)
        return true;
    Robot* robot = GetObjectTypeFromUID(uid) == ERobotType ? KnownRobot(uid) : nullptr;
    return robot != nullptr && robot->isLocal;
}

} // namespace

bool OnEnergon(const uint8_t* packet, size_t length) {
    EnergonPacket p;
    if (!DecodeEnergon(packet, length, &p) || gWorld == nullptr)
        return false;
    Location cell;
    if (!CellFromPacket(p.x, p.y, p.z, &cell) || p.crystals > INT32_MAX) {
        ReportRefusal("Dropped an energon packet for cell (%u, %u, %u) off the grid", p.x, p.y,
                      p.z);
        return false;
    }
    return AddNetworkEnergon(gWorld, p.id, cell.x, cell.y, cell.z,
                             static_cast<int32_t>(p.crystals));
}

bool OnChestOpened(const uint8_t* packet, size_t length) {
    ChestOpenedPacket p;
    if (!DecodeChestOpened(packet, length, &p))
        return false;
    Location cell;
    Chest* chest = CellFromPacket(p.x, p.y, p.z, &cell) ? GetChestAt(gWorld, &cell) : nullptr;
    if (chest == nullptr) {
        ReportRefusal("Dropped a chest packet: no chest at (%u, %u, %u)", p.x, p.y, p.z);
        return false;
    }
    if (chest->opened)
        return false;
    chest->opened = 1;
    return true;
}

// Another copy's effect: a skill gesture, an attack, a skill's effect or a wall, shown here.
bool OnAnimation(const uint8_t* packet, size_t length) {
    AnimationPacket p;
    if (!DecodeAnimation(packet, length, &p) || gWorld == nullptr)
        return false;
    if (!ReplayAnimationPacket(&p, gWorld, gLocalRobotUid))
        return false;
    if (p.type == EWeaponAnimation)
        std::printf("Robot %d fires weapon %d at robot %d\n", static_cast<int32_t>(p.robotUid),
                    static_cast<int32_t>(p.value), static_cast<int32_t>(p.targetUid));
    return true;
}

bool OnRobotLeft(const uint8_t* packet, size_t length) {
    RobotLeftPacket p;
    if (!DecodeRobotLeft(packet, length, &p) || gWorld == nullptr)
        return false;
    int32_t uid = static_cast<int32_t>(p.uid);
    if (OurOwnRobot(uid)) {
        std::printf("Ignored a leave packet for our own robot %d\n", uid);
        return false;
    }
    if (FindRobotInWorld(gWorld, uid) == nullptr) {
        ReportRefusal("Dropped a leave packet for unknown robot %d", uid);
        return false;
    }
    RemoveRobotFromWorld(gWorld, uid);
    std::printf("Robot %d left the game\n", uid);
    return true;
}

namespace {

// The robot a first state packet announces, created (or taken again) and placed at its start.
Robot* JoinRobot(const RobotStatePacket& p) {
    int32_t uid = static_cast<int32_t>(p.uid);
    if (GetObjectTypeFromUID(uid) != ERobotType || uid < ROBOT_UID_BASE) {
        ReportRefusal("Dropped a state packet: %u is not a robot uid", p.uid);
        return nullptr;
    }
    Robot* robot = KnownRobot(uid);
    if (robot == nullptr) {
        int32_t classUid = static_cast<int32_t>(p.classUid);
        RobotClass* robotClass = GetObjectTypeFromUID(classUid) == ERobotClassType
                                     ? LookupRobotClass(gRegistry, classUid)
                                     : nullptr;
        if (robotClass == nullptr) {
            ReportRefusal("Dropped a state packet of robot %d: no robot class %u", uid, p.classUid);
            return nullptr;
        }
        robot = NewRobot(robotClass, uid - ROBOT_UID_BASE, 0);
        robot->uid = uid;
        RegisterRobot(gRegistry, robot, uid);
    } else {
        // Back after leaving: its new copy counts its packets from 0 again.
        robot->sequence = 0;
    }
    PlaceRobotInWorld(robot, gWorld->uid);
    std::printf("Robot %d joined the game\n", uid);
    return robot;
}

} // namespace

namespace {

// Where each robot of another copy was last reported standing still.
struct RestingPlace {
    Location cell;
    int32_t facing;
};
std::unordered_map<int32_t, RestingPlace> gLastRestingPlace;

// One console line each time another copy's robot is reported at rest somewhere new: where it
// appeared, where each of its moves ended, where it was put after a battle.
void ReportRestingPlace(const Robot* robot) {
    if (robot->currentMove != 0)
        return;
    auto [seen, first] = gLastRestingPlace.try_emplace(robot->uid, RestingPlace{robot->cell, 0});
    RestingPlace& last = seen->second;
    if (!first && LocationEqual(&last.cell, &robot->cell) && last.facing == robot->facing)
        return;
    last = {robot->cell, robot->facing};
    std::printf("Robot %d at rest at (%d, %d, %d) facing %d\n", robot->uid, robot->cell.x,
                robot->cell.y, robot->cell.z, robot->facing);
}

} // namespace

bool OnRobotState(const uint8_t* packet, size_t length) {
    RobotStatePacket p;
    if (!DecodeRobotState(packet, length, &p) || gWorld == nullptr)
        return false;
    int32_t uid = static_cast<int32_t>(p.uid);
    if (OurOwnRobot(uid))
        return false;
    Robot* robot = FindRobotInWorld(gWorld, uid);
    bool changed = false;
    if (robot == nullptr) {
        // A packet that would be refused makes no robot either.
        if (!CheckRobotState(gWorld, &p))
            return false;
        robot = JoinRobot(p);
        if (robot == nullptr)
            return false;
        changed = true;
    }
    if (p.sequence > robot->sequence && ApplyRobotState(robot, &p)) {
        robot->sequence = p.sequence;
        robot->stamp = GetTimeStamp();
        ReportRestingPlace(robot);
        changed = true;
    }
    return changed;
}

namespace {

// The robot of the world a battle packet names, or null after a one-line message.
Robot* BattleRobot(uint32_t uid, const char* packet, const char* role) {
    Robot* robot =
        gWorld != nullptr ? FindRobotInWorld(gWorld, static_cast<int32_t>(uid)) : nullptr;
    if (robot == nullptr)
        ReportRefusal("Dropped a %s packet: unknown %s robot %d", packet, role,
                      static_cast<int32_t>(uid));
    return robot;
}

bool IsLocal(uint32_t uid) {
    return gLocalRobotUid > 0 && static_cast<int32_t>(uid) == gLocalRobotUid;
}

// A robot of the enemy server's own, seen from the server.
bool ServersOwn(uint32_t uid) {
    return IsEnemyServer() && IsComputerUid(static_cast<int32_t>(uid));
}

} // namespace

void TakeNameAndStats(Robot* robot, const BattleStartPacket& p) {
    SetRobotName(robot, p.name);
    robot->stats = p.stats;
}

// A challenge, its answer, or a battle between two other copies.
bool OnBattleStart(const uint8_t* packet, size_t length) {
    BattleStartPacket p;
    // The enemy server answers challenges to its robots itself.
    if (!DecodeBattleStart(packet, length, &p) || gWorld == nullptr || IsEnemyServer())
        return false;
    Robot* attacker = BattleRobot(p.challengerUid, "battle start", "attacking");
    Robot* target =
        attacker != nullptr ? BattleRobot(p.challengedUid, "battle start", "attacked") : nullptr;
    if (target == nullptr || attacker == target)
        return false;
    if (p.subType == EBattleAccept && IsLocal(p.challengerUid)) {
        TakeNameAndStats(target, p);
        return true;
    }
    if (p.subType == EBattleChallenge && IsLocal(p.challengedUid)) {
        if (target->battle != nullptr) {
            ReportRefusal("Dropped a challenge of robot %d: robot %d is in a battle already",
                          attacker->uid, target->uid);
            return false;
        }
        TakeNameAndStats(attacker, p);
        gHooks.accept(target, attacker->uid);
        SetUpBattle(gBattle, gWorld, target, attacker, attacker);
        SetGameMode(gGame, 0, EBattleMode);
        return true;
    }
    if (IsLocal(p.challengerUid) || IsLocal(p.challengedUid))
        return false;
    TakeNameAndStats(p.subType == EBattleAccept ? target : attacker, p);
    attacker->battle = target->battle = BATTLE_ELSEWHERE;
    StartShieldBetween(attacker, target);
    return true;
}

// The outcome of another copy's action: the same numbers applied here.
bool OnAction(const uint8_t* packet, size_t length) {
    ActionPacket p;
    if (!DecodeAction(packet, length, &p) || gWorld == nullptr || IsLocal(p.actorUid) ||
        ServersOwn(p.actorUid))
        return false;
    Robot* actor = BattleRobot(p.actorUid, "action", "acting");
    Robot* target = actor != nullptr ? BattleRobot(p.targetUid, "action", "target") : nullptr;
    if (target == nullptr)
        return false;
    // A robot that has left its battle (smoke, F5, the battle over) takes no more blows from it.
    if (actor != target && (actor->battle == nullptr || target->battle == nullptr)) {
        ReportRefusal("Dropped an action of robot %d on robot %d: not in a battle", actor->uid,
                      target->uid);
        return false;
    }
    ApplyBattleResult(actor, target, &p.actorChange, &p.targetChange, 0);
    return true;
}

// The end of a battle: the local loser pays, the local winner gains, a spectator lets go.
bool OnBattleOver(const uint8_t* packet, size_t length) {
    BattleOverPacket p;
    if (!DecodeBattleOver(packet, length, &p) || gWorld == nullptr || IsEnemyServer())
        return false;
    Robot* loser = BattleRobot(p.loserUid, "battle over", "losing");
    Robot* winner = loser != nullptr ? BattleRobot(p.winnerUid, "battle over", "winning") : nullptr;
    if (winner == nullptr)
        return false;
    if (IsLocal(p.loserUid)) {
        // Should this copy not have seen the last blow, the battle ends here too.
        EndBattle(loser->battle, winner, loser, 0);
        AddToStat(&loser->stats.experience, -1);
        Prize prize = DrawPrize(loser);
        std::printf("Prize for robot %d: skill %d, item %d\n", winner->uid, prize.skillUid,
                    prize.itemUid);
        gHooks.prize(winner->uid, static_cast<uint32_t>(prize.skillUid),
                     static_cast<uint32_t>(prize.itemUid));
        RestoreLoser(loser, [](Robot* robot) { PlaceRobotInWorld(robot, gWorld->uid); });
        MarkFrustumDirty();
        std::printf("%s lost the battle to robot %d (HP %d): experience %d, HP %d/%d, EP %d/%d, "
                    "home at (%d, %d, %d)\n",
                    loser->name, winner->uid, winner->stats.hitPoints, loser->stats.experience,
                    loser->stats.hitPoints, loser->stats.totalHP, loser->stats.energy,
                    loser->stats.totalEnergy, loser->cell.x, loser->cell.y, loser->cell.z);
    } else if (IsLocal(p.winnerUid)) {
        EndBattle(winner->battle, winner, loser, 0);
        AddToStat(&winner->stats.experience, 1);
        std::printf("%s won the battle (HP %d): experience %d\n", winner->name,
                    winner->stats.hitPoints, winner->stats.experience);
    } else {
        loser->battle = winner->battle = nullptr;
    }
    return true;
}

// What the loser hands over, for the winner's copy. A prize item counts once.
bool OnPrize(const uint8_t* packet, size_t length) {
    PrizePacket p;
    if (!DecodePrize(packet, length, &p) || gWorld == nullptr || !IsLocal(p.winnerUid))
        return false;
    Robot* robot = FindRobotInWorld(gWorld, gLocalRobotUid);
    if (robot == nullptr)
        return false;
    std::printf("Prize for robot %d: skill %d, item %d\n", robot->uid,
                static_cast<int32_t>(p.skillUid), static_cast<int32_t>(p.itemUid));
    if (p.itemUid != NO_UID)
        ReceiveObject(robot, static_cast<int32_t>(p.itemUid), 0);
    if (p.skillUid != NO_UID) // a skill received is learned
        ReceiveObject(robot, static_cast<int32_t>(p.skillUid), 0);
    return true;
}

bool HandlePacket(const uint8_t* packet, size_t length) {
    if (packet == nullptr || length == 0)
        return false;
    switch (packet[0]) {
    case EEnergonPacket:
        return OnEnergon(packet, length);
    case ERobotStatePacket:
        return OnRobotState(packet, length);
    case EChestOpenedPacket:
        return OnChestOpened(packet, length);
    case ERobotLeftPacket:
        return OnRobotLeft(packet, length);
    case EAnimationPacket:
        return OnAnimation(packet, length);
    case EBattleStartPacket:
        // In the enemy server its own handler takes the battle packets.
        return IsEnemyServer() ? EnemyBattleStart(packet, length) : OnBattleStart(packet, length);
    case EActionPacket:
        return OnAction(packet, length);
    case EBattleOverPacket:
        return IsEnemyServer() ? EnemyBattleOver(packet, length) : OnBattleOver(packet, length);
    case EPrizePacket:
        return OnPrize(packet, length);
    default:
        // Unassigned codes and the packets of modules this copy does not run are ignored.
        return false;
    }
}

bool PumpPackets() {
    std::deque<QueuedPacket> packets;
    GameInbox().Drain(packets);
    bool changed = false;
    SummariseRefusals(true);
    for (const QueuedPacket& p : packets)
        changed |= HandlePacket(p.bytes, p.length);
    SummariseRefusals(false);
    return changed;
}

void InstallGameReceiver() {
    NetSetReceiver(InboxReceiver, &GameInbox());
}
