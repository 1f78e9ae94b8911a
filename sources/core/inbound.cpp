// inbound: the dispatcher and the handlers of received game packets.
#include "core/inbound.h"

#include "core/enemyserver.h"
#include "core/mainloop.h"
#include "net/network.h"
#include "net/packets.h"
#include "render/robotmodel.h"
#include "data/registry.h"
#include "foundation/refusals.h"
#include "robots/robot.h"
#include "world/energon.h"
#include "world/world.h"

#include <cstdio>
#include <deque>

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
    return ReplayAnimationPacket(&p, gWorld, gLocalRobotUid);
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
        changed = true;
    }
    return changed;
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
        return IsEnemyServer() && EnemyBattleStart(packet, length);
    case EBattleOverPacket:
        return IsEnemyServer() && EnemyBattleOver(packet, length);
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
