// gamesend: packets built in place in a local buffer and sent in one call; who may speak for
// a robot, and the robots' sequence numbers.
#include "net/gamesend.h"

#include "core/mainloop.h"
#include "net/network.h"
#include "net/packets.h"
#include "robots/robot.h"
#include "world/energon.h"
#include "world/world.h"

static int SendOnGameChannel(const void* buffer, size_t length) {
    return NetSend(buffer, length);
}

static PacketSender gSender = SendOnGameChannel;

PacketSender SetPacketSender(PacketSender sender) {
    PacketSender before = gSender;
    gSender = sender != nullptr ? sender : SendOnGameChannel;
    return before;
}

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
    return gSender(buffer, EncodeEnergon(&p, buffer));
}

int SendChestOpened(int chestIndex, const Chest* chest) {
    ChestOpenedPacket p = {};
    p.channel = CurrentChannelByte();
    p.chestIndex = static_cast<uint32_t>(chestIndex);
    p.x = static_cast<uint32_t>(chest->x);
    p.y = static_cast<uint32_t>(chest->y);
    p.z = static_cast<uint32_t>(chest->z);
    uint8_t buffer[CHEST_OPENED_PACKET_SIZE];
    return gSender(buffer, EncodeChestOpened(&p, buffer));
}

int SendRobotLeft(int32_t uid) {
    RobotLeftPacket p = {};
    p.channel = CurrentChannelByte();
    p.uid = static_cast<uint32_t>(uid);
    uint8_t buffer[ROBOT_LEFT_PACKET_SIZE];
    return gSender(buffer, EncodeRobotLeft(&p, buffer));
}

static bool DrivenHere(const Robot* robot) {
    return robot->uid == gLocalRobotUid || gLocalRobotUid == -1;
}

static bool StateSentHere(const Robot* robot) {
    return robot->uid == gLocalRobotUid || robot->uid - ROBOT_UID_BASE >= NUM_PLAYER_SLOTS;
}

// The robot's number for its next packet.
static uint32_t TakeSequence(Robot* robot) {
    return robot->sequence++;
}

bool SendRobotState(Robot* robot) {
    if (!StateSentHere(robot))
        return false;
    RobotStatePacket p = {};
    p.channel = CurrentChannelByte();
    p.uid = static_cast<uint32_t>(robot->uid);
    p.x = robot->position.x;
    p.y = robot->position.y;
    p.z = robot->position.z;
    p.facing = static_cast<int16_t>(robot->facing);
    p.flags = static_cast<int16_t>((robot->justTeleported ? STATE_FLAG_JUST_TELEPORTED : 0) |
                                   (robot->skillFlag ? STATE_FLAG_SKILL : 0));
    p.speed = robot->speed;
    p.move = robot->currentMove != 0 ? robot->currentMove : PeekMove(robot);
    p.classUid = static_cast<uint32_t>(robot->robotClass->uid);
    p.sequence = TakeSequence(robot);
    robot->stamp = GetTimeStamp();
    uint8_t buffer[ROBOT_STATE_PACKET_SIZE];
    gSender(buffer, EncodeRobotState(&p, buffer));
    return true;
}

bool SendWallAnimation(Robot* robot, const Location* cell, int facing) {
    if (!DrivenHere(robot))
        return false;
    AnimationPacket p = {};
    p.channel = CurrentChannelByte();
    p.robotUid = static_cast<uint32_t>(robot->uid);
    p.type = EWallAnimation;
    p.value = NO_UID;
    p.x = static_cast<uint32_t>(cell->x);
    p.y = static_cast<uint32_t>(cell->y);
    p.z = static_cast<uint32_t>(cell->z);
    p.facing = facing;
    p.sequence = TakeSequence(robot);
    uint8_t buffer[ANIMATION_PACKET_SIZE];
    gSender(buffer, EncodeAnimation(&p, buffer));
    return true;
}
