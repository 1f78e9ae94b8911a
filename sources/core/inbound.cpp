// inbound: the dispatcher and the handlers of received game packets.
#include "core/inbound.h"

#include "core/mainloop.h"
#include "net/network.h"
#include "net/packets.h"
#include "world/energon.h"
#include "world/world.h"

#include <cstdio>
#include <deque>

namespace {

// A cell from a packet: its coordinates must fit the world before anything looks at it.
bool CellFromPacket(uint32_t x, uint32_t y, uint32_t z, Location* out) {
    if (gWorld == nullptr || x > INT32_MAX || y > INT32_MAX || z > MAX_WORLD_HEIGHT)
        return false;
    MakeLocation(out, static_cast<int>(x), static_cast<int>(y), static_cast<int>(z));
    return OnTheGrid(gWorld, out->x, out->y);
}

} // namespace

bool OnEnergon(const uint8_t* packet, size_t length) {
    EnergonPacket p;
    if (!DecodeEnergon(packet, length, &p) || gWorld == nullptr)
        return false;
    Location cell;
    if (!CellFromPacket(p.x, p.y, p.z, &cell) || p.crystals > INT32_MAX) {
        std::printf("Dropped an energon packet for cell (%u, %u, %u) off the grid\n", p.x, p.y,
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
        std::printf("Dropped a chest packet: no chest at (%u, %u, %u)\n", p.x, p.y, p.z);
        return false;
    }
    if (chest->opened)
        return false;
    chest->opened = 1;
    return true;
}

bool OnRobotLeft(const uint8_t* packet, size_t length) {
    RobotLeftPacket p;
    if (!DecodeRobotLeft(packet, length, &p) || gWorld == nullptr)
        return false;
    int32_t uid = static_cast<int32_t>(p.uid);
    if (uid == gLocalRobotUid) {
        if (gLocalRobotUid > 0)
            std::printf("Ignored a leave packet for our own robot %d\n", uid);
        return false;
    }
    if (FindRobotInWorld(gWorld, uid) == nullptr) {
        std::printf("Dropped a leave packet for unknown robot %d\n", uid);
        return false;
    }
    RemoveRobotFromWorld(gWorld, uid);
    std::printf("Robot %d left the game\n", uid);
    return true;
}

bool HandlePacket(const uint8_t* packet, size_t length) {
    if (packet == nullptr || length == 0)
        return false;
    switch (packet[0]) {
    case EEnergonPacket:
        return OnEnergon(packet, length);
    case EChestOpenedPacket:
        return OnChestOpened(packet, length);
    case ERobotLeftPacket:
        return OnRobotLeft(packet, length);
    default:
        // Unassigned codes and the packets of modules this copy does not run are ignored.
        return false;
    }
}

bool PumpPackets() {
    std::deque<QueuedPacket> packets;
    GameInbox().Drain(packets);
    bool changed = false;
    for (const QueuedPacket& p : packets)
        changed |= HandlePacket(p.bytes, p.length);
    return changed;
}

void InstallGameReceiver() {
    NetSetReceiver(InboxReceiver, &GameInbox());
}
