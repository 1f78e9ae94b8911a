// What this copy tells the others once InstallGameHooks has filled the game's hooks: the bytes
// each call sends, who may speak for a robot and the sequence each packet takes; and what the
// effects do until the animations join.
#include "core/game.h"
#include "core/outbound.h"
#include "net/network.h"
#include "support/robot_support.h"

#include <functional>

namespace {

std::vector<std::vector<uint8_t>> gSent;
int Capture(const void* buffer, size_t length) {
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
    gSent.emplace_back(bytes, bytes + length);
    return 0;
}

class Outbound : public RobotTest {
  protected:
    void SetUp() override {
        RobotTest::SetUp();
        saved_ = SetPacketSender(Capture);
        InstallGameHooks();
        gSent.clear();
    }
    void TearDown() override {
        SetPacketSender(saved_);
        currentChannel = 0;
        RobotTest::TearDown();
    }
    PacketSender saved_ = nullptr;
};

TEST_F(Outbound, EveryPacketGoesOutWholeAndOnlyForTheRobotsDrivenHere) {
    currentChannel = 2;
    gLocalRobotUid = 3001;
    Robot* me = Put(Make(1, true), 3, 3, 45);
    SetRobotName(me, "A name of twenty chars");
    me->skillFlag = 1;
    QueueMove(me, -1);
    QueueMove(me, MOVE_FORWARD);
    me->stamp = {0, 0};
    Robot* other = Put(Make(2, false), 5, 5);
    Robot* computer = Put(Make(4, false), 7, 7);
    Stats change = {};
    change.hitPoints = -12;
    Location cell = {4, 5, 2}, chestCell = {2, 5, 2};
    Energon* deposit = NewEnergon(77, 3, 4, 2, 9);
    BattleStartPacket challenge = {2,    EBattleChallenge,  3001,     2,
                                   3004, "A name of twent", me->stats};
    BattleStartPacket accept = {2, EBattleAccept, 3000, 3, 3001, "A name of twent", me->stats};
    using Bytes = std::vector<uint8_t>;
    struct Case {
        std::function<void()> send;
        Bytes sent; // empty: nothing goes out
    } cases[] = {
        // The first queued move when none is under way; the stamp of the keep-alive is now.
        {[&] { gHooks.sendState(me); },
         Wire(EncodeRobotState,
              RobotStatePacket{2, 3001, 0, 3, 3, 2, 45, STATE_FLAG_SKILL, 0.5, -1, 4002})},
        {[&] { gHooks.raiseWall(me, world_, &cell, 40, 90); },
         Wire(EncodeAnimation,
              AnimationPacket{2, 3001, 1, EWallAnimation, 0, NO_UID, 4, 5, 2, 90})},
        {[&] { gHooks.challenge(me, 3004); }, Wire(EncodeBattleStart, challenge)},
        {[&] { gHooks.accept(me, 3000); }, Wire(EncodeBattleStart, accept)},
        {[&] { gHooks.action(me, &change, &change, 3002, 1, 0); },
         Wire(EncodeAction, ActionPacket{2, 3001, 4, change, change, 3002, 1, 0})},
        {[&] { gHooks.animation(me, other, ESkillEffectAnimation, 8001); },
         Wire(EncodeAnimation,
              AnimationPacket{2, 3001, 5, ESkillEffectAnimation, 3002, 8001, 0, 0, 0, 0})},
        {[&] {
             me->currentMove = MOVE_BACKWARD;
             me->speed = -0.5;
             me->justTeleported = 1;
             me->skillFlag = 0;
             gHooks.sendState(me);
         },
         Wire(EncodeRobotState,
              RobotStatePacket{2, 3001, 6, 3, 3, 2, 45, STATE_FLAG_JUST_TELEPORTED, -0.5,
                               MOVE_BACKWARD, 4002})},
        {[&] { gHooks.sendState(computer); }, // the enemy server's, whoever asks
         Wire(EncodeRobotState, RobotStatePacket{2, 3004, 0, 7, 7, 2, 0, 0, 0.5, 0, 4002})},
        {[&] { gHooks.sendState(other); }, {}},
        {[&] { gHooks.raiseWall(other, world_, &cell, 40, 90); }, {}},
        {[&] { gHooks.challenge(other, 3001); }, {}},
        {[&] { gHooks.action(other, &change, &change, 3001, 0, 0); }, {}},
        {[&] { gHooks.animation(other, me, EWeaponAnimation, NO_UID); }, {}},
        {[&] { gHooks.battleOver(other, 3001); }, // these carry no sequence
         Wire(EncodeBattleOver, BattleOverPacket{2, 3002, 3001})},
        {[&] { gHooks.prize(3001, NO_UID, 7005); },
         Wire(EncodePrize, PrizePacket{2, 3001, NO_UID, 7005})},
        {[&] { gHooks.announceEnergon(deposit); },
         Wire(EncodeEnergon, EnergonPacket{2, 77, 3, 4, 2, 9})},
        {[&] { SendChestOpened(0, GetChestAt(world_, &chestCell)); },
         Wire(EncodeChestOpened, ChestOpenedPacket{2, 0, 2, 5, 2})},
        {[&] { SendRobotLeft(3001); }, Wire(EncodeRobotLeft, RobotLeftPacket{2, 3001})},
        {[&] { // the enemy server speaks for every robot it has
             gLocalRobotUid = ENEMY_SERVER_UID;
             gHooks.animation(other, nullptr, EWallAnimation, NO_UID);
         },
         Wire(EncodeAnimation, AnimationPacket{2, 3002, 0, EWallAnimation, 0, NO_UID, 0, 0, 0, 0})},
    };
    int i = 0;
    for (const Case& c : cases) {
        gSent.clear();
        c.send();
        EXPECT_EQ(gSent, c.sent.empty() ? std::vector<Bytes>{} : std::vector<Bytes>{c.sent})
            << "case " << i++;
    }
    FreeEnergon(deposit);
    EXPECT_NE(me->stamp.time, 0);
}

TEST_F(Outbound, ATeleportFinishesAtOnceAndTheCameraFollowsTheView) {
    gLocalRobotUid = 3000;
    Robot* r = Put(Make(0, true), 2, 9, 90);
    r->targetCell = {5, 9, 2};
    QueueMove(r, MOVE_FORWARD);
    gHooks.teleport(r, world_);
    EXPECT_EQ(RobotAt(5, 9), r);
    EXPECT_EQ(PeekMove(r), 0);
    EXPECT_EQ(gSent.size(), 1u); // its state, at once

    gHooks.cameraFollows(r, true); // no camera: nothing to follow
    InitCamera();
    SetFirstPerson(1);
    gCamera->frustumDirty = 0;
    gHooks.cameraFollows(r, false); // a step leaves the view's direction
    EXPECT_EQ(gCamera->frustumDirty, 1);
    EXPECT_EQ(gCamera->lookOffset.x, DEFAULT_LOOK_OFFSET.x);
    gHooks.cameraFollows(r, true); // a turn looks along the new facing
    EXPECT_NEAR(gCamera->lookOffset.y, 8.0, 1e-9);
    FreeCamera();
}

} // namespace
