// outbound: packets built in place in a local buffer and sent in one call; who may speak for
// a robot, and the robots' sequence numbers; the hooks of a playing copy.
#include "core/outbound.h"

#include "core/game.h"
#include "core/mainloop.h"
#include "net/network.h"
#include "net/packets.h"
#include "render/animations.h"
#include "robots/robot.h"
#include "ui/menu.h"
#include "world/energon.h"
#include "world/gamehooks.h"
#include "world/world.h"

#include <cstdio>

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

static void SendEnergon(const Energon* energon) {
    EnergonPacket p = {};
    p.channel = CurrentChannelByte();
    p.id = energon->id;
    p.x = static_cast<uint32_t>(energon->x);
    p.y = static_cast<uint32_t>(energon->y);
    p.z = static_cast<uint32_t>(energon->z);
    p.crystals = static_cast<uint32_t>(energon->crystals);
    uint8_t buffer[ENERGON_PACKET_SIZE];
    gSender(buffer, EncodeEnergon(&p, buffer));
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
    return robot->uid == gLocalRobotUid || IsEnemyServer();
}

static bool StateSentHere(const Robot* robot) {
    return robot->uid == gLocalRobotUid || robot->uid - ROBOT_UID_BASE >= NUM_PLAYER_SLOTS;
}

// The robot's number for its next packet.
static uint32_t TakeSequence(Robot* robot) {
    return robot->sequence++;
}

static void SendRobotState(Robot* robot) {
    if (!StateSentHere(robot))
        return;
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
}

// Sends an animation packet for the robot, its robot uid and sequence number filled in here.
static void SendAnimationPacket(Robot* robot, AnimationPacket* p) {
    if (!DrivenHere(robot))
        return;
    p->channel = CurrentChannelByte();
    p->robotUid = static_cast<uint32_t>(robot->uid);
    p->sequence = TakeSequence(robot);
    uint8_t buffer[ANIMATION_PACKET_SIZE];
    gSender(buffer, EncodeAnimation(p, buffer));
}

static void SendWallAnimation(Robot* robot, const Location* cell, int facing) {
    AnimationPacket p = {};
    p.type = EWallAnimation;
    p.value = NO_UID;
    p.x = static_cast<uint32_t>(cell->x);
    p.y = static_cast<uint32_t>(cell->y);
    p.z = static_cast<uint32_t>(cell->z);
    p.facing = facing;
    SendAnimationPacket(robot, &p);
}

static void SendBattleStart(Robot* robot, uint8_t subType, int32_t challengerUid,
                            int32_t challengedUid) {
    if (!DrivenHere(robot))
        return;
    BattleStartPacket p = {};
    p.channel = CurrentChannelByte();
    p.subType = subType;
    p.challengerUid = static_cast<uint32_t>(challengerUid);
    p.challengedUid = static_cast<uint32_t>(challengedUid);
    CopyNameField(p.name, sizeof p.name, robot->name);
    p.stats = robot->stats;
    p.sequence = TakeSequence(robot);
    uint8_t buffer[BATTLE_START_PACKET_SIZE];
    gSender(buffer, EncodeBattleStart(&p, buffer));
}

static void SendBattleChallenge(Robot* robot, int32_t targetUid) {
    SendBattleStart(robot, EBattleChallenge, robot->uid, targetUid);
}

static void SendBattleAccept(Robot* robot, int32_t challengerUid) {
    SendBattleStart(robot, EBattleAccept, challengerUid, robot->uid);
}

static void SendAction(Robot* actor, const Stats* actorChange, const Stats* targetChange,
                       int32_t targetUid, uint8_t flagA, uint8_t flagB) {
    if (!DrivenHere(actor))
        return;
    ActionPacket p = {};
    p.channel = CurrentChannelByte();
    p.actorUid = static_cast<uint32_t>(actor->uid);
    p.actorChange = *actorChange;
    p.targetChange = *targetChange;
    p.targetUid = static_cast<uint32_t>(targetUid);
    p.flagA = flagA;
    p.flagB = flagB;
    p.sequence = TakeSequence(actor);
    uint8_t buffer[ACTION_PACKET_SIZE];
    gSender(buffer, EncodeAction(&p, buffer));
}

static void SendAnimation(Robot* robot, const Robot* target, uint32_t animationType,
                          uint32_t value) {
    AnimationPacket p = {};
    p.type = animationType;
    p.targetUid = target != nullptr ? static_cast<uint32_t>(target->uid) : NO_UID;
    p.value = value;
    SendAnimationPacket(robot, &p);
}

static void SendBattleOver(const Robot* loser, int32_t winnerUid) {
    BattleOverPacket p = {};
    p.channel = CurrentChannelByte();
    p.loserUid = static_cast<uint32_t>(loser->uid);
    p.winnerUid = static_cast<uint32_t>(winnerUid);
    uint8_t buffer[BATTLE_OVER_PACKET_SIZE];
    gSender(buffer, EncodeBattleOver(&p, buffer));
}

static void SendPrize(int32_t winnerUid, uint32_t skillUid, uint32_t itemUid) {
    PrizePacket p = {};
    p.channel = CurrentChannelByte();
    p.winnerUid = static_cast<uint32_t>(winnerUid);
    p.skillUid = skillUid;
    p.itemUid = itemUid;
    uint8_t buffer[PRIZE_PACKET_SIZE];
    gSender(buffer, EncodePrize(&p, buffer));
}

// ---- the effects, as they show until the animations and the menus join ----------------------

// A wall rises here and, through its packet, on the other copies.
static void RaiseWall(Robot* robot, World* world, const Location* cell, int holdTicks, int facing) {
    RobotWallEffect(robot, world, cell, holdTicks, facing);
    SendWallAnimation(robot, cell, facing);
}

static void CameraFollows(const Robot* robot, bool turned) {
    if (gCamera == NULL)
        return;
    if (turned)
        FollowFacing(&robot->position, robot->facing);
    MarkFrustumDirty();
}

void InstallGameHooks() {
    gHooks.announceEnergon = SendEnergon;
    gHooks.sendState = SendRobotState;
    gHooks.teleport = RobotTeleportEffect;
    gHooks.raiseWall = RaiseWall;
    gHooks.smoke = RobotSmokeEffect;
    gHooks.sonar = RobotSonarEffect;
    gHooks.showMessage = ShowMessage;
    gHooks.cameraFollows = CameraFollows;
    gHooks.challenge = SendBattleChallenge;
    gHooks.accept = SendBattleAccept;
    gHooks.action = SendAction;
    gHooks.animation = SendAnimation;
    gHooks.battleOver = SendBattleOver;
    gHooks.prize = SendPrize;
}
