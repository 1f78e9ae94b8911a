// gamesend: packets built in place in a local buffer and sent in one call.
#include "net/gamesend.h"

#include "net/network.h"
#include "net/packets.h"
#include "world/energon.h"
#include "world/world.h"

static uint8_t CurrentChannelByte() {
    return static_cast<uint8_t>(currentChannel.load());
}

int SendEnergon(const Energon* energon) {
    EnergonPacket p = {};
    p.channel = CurrentChannelByte();
    p.id = energon->id;
    p.x = static_cast<uint32_t>(energon->x);
    p.y = static_cast<uint32_t>(energon->y);
    p.z = static_cast<uint32_t>(energon->z);
    p.crystals = static_cast<uint32_t>(energon->crystals);
    uint8_t buffer[ENERGON_PACKET_SIZE];
    return NetSend(buffer, EncodeEnergon(&p, buffer));
}

int SendChestOpened(int chestIndex, const Chest* chest) {
    ChestOpenedPacket p = {};
    p.channel = CurrentChannelByte();
    p.chestIndex = static_cast<uint32_t>(chestIndex);
    p.x = static_cast<uint32_t>(chest->x);
    p.y = static_cast<uint32_t>(chest->y);
    p.z = static_cast<uint32_t>(chest->z);
    uint8_t buffer[CHEST_OPENED_PACKET_SIZE];
    return NetSend(buffer, EncodeChestOpened(&p, buffer));
}

int SendRobotLeft(int32_t uid) {
    RobotLeftPacket p = {};
    p.channel = CurrentChannelByte();
    p.uid = static_cast<uint32_t>(uid);
    uint8_t buffer[ROBOT_LEFT_PACKET_SIZE];
    return NetSend(buffer, EncodeRobotLeft(&p, buffer));
}
