// What this copy tells the others once InstallGameHooks has filled the game's hooks: the bytes
// each call sends, who may speak for a robot and the sequence each packet takes; and what the
// effects do until the animations join.
#include "core/game.h"
#include "core/outbound.h"
#include "render/animationmanager.h"
#include "net/network.h"
#include "support/robot_support.h"

namespace {

std::vector<std::vector<uint8_t>> gSent;
int Capture(const void* buffer, size_t length) {
    gSent.emplace_back(static_cast<const uint8_t*>(buffer),
                       static_cast<const uint8_t*>(buffer) + length);
    return 0;
}

class Outbound : public RobotTest {
  protected:
    void SetUp() override {
        RobotTest::SetUp();
        saved_ = SetPacketSender(Capture);
        InitAnimationManager();
        InstallGameHooks();
        gSent.clear();
    }
    void TearDown() override {
        SetPacketSender(saved_);
        while (AdvanceAnimations() != 0) { // effects still running let go of their robots
        }
        FreeAnimationManager();
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
    Stats change = {0, 0, 0, 0, 0, 0, 0, -12, 0, 0, 0}; // hit points
    Location cell = {4, 5, 2}, chestCell = {2, 5, 2};
    using P = std::vector<uint8_t>;
    // Each call and what it sends: a robot driven elsewhere speaks for itself.
    // clang-format off
    const std::pair<std::function<void()>, P> calls[] = {
        {[&] { gHooks.sendState(other); }, {}},
        {[&] { gHooks.raiseWall(other, world_, &cell, 40, 90); }, {}},
        {[&] { gHooks.challenge(other, 3001); }, {}},
        {[&] { gHooks.action(other, &change, &change, 3001, 0, 0); }, {}},
        {[&] { gHooks.animation(other, me, EWeaponAnimation, NO_UID); }, {}},
        // The first queued move when none is under way.
        {[&] { gHooks.sendState(me); }, Wire(EncodeRobotState, RobotStatePacket{2, 3001, 0, 3, 3, 2, 45, STATE_FLAG_SKILL, 0.5, -1, 4002})},
        {[&] { gHooks.raiseWall(me, world_, &cell, 40, 90); }, Wire(EncodeAnimation, AnimationPacket{2, 3001, 1, EWallAnimation, 0, NO_UID, 4, 5, 2, 90})},
        {[&] { gHooks.challenge(me, 3004); }, Wire(EncodeBattleStart, BattleStartPacket{2, EBattleChallenge, 3001, 2, 3004, "A name of twent", me->stats})},
        {[&] { gHooks.accept(me, 3000); }, Wire(EncodeBattleStart, BattleStartPacket{2, EBattleAccept, 3000, 3, 3001, "A name of twent", me->stats})},
        {[&] { gHooks.action(me, &change, &change, 3002, 1, 0); }, Wire(EncodeAction, ActionPacket{2, 3001, 4, change, change, 3002, 1, 0})},
        {[&] { gHooks.animation(me, other, ESkillEffectAnimation, 8001); }, Wire(EncodeAnimation, AnimationPacket{2, 3001, 5, ESkillEffectAnimation, 3002, 8001, 0, 0, 0, 0})},
        {[&] { std::tie(me->currentMove, me->speed, me->justTeleported, me->skillFlag) = std::make_tuple(MOVE_BACKWARD, -0.5, 1, 0); gHooks.sendState(me); },
         Wire(EncodeRobotState, RobotStatePacket{2, 3001, 6, 3, 3, 2, 45, STATE_FLAG_JUST_TELEPORTED, -0.5, MOVE_BACKWARD, 4002})},
        // The enemy server's, whoever asks; then packets that carry no sequence.
        {[&] { gHooks.sendState(Put(Make(4, false), 7, 7)); }, Wire(EncodeRobotState, RobotStatePacket{2, 3004, 0, 7, 7, 2, 0, 0, 0.5, 0, 4002})},
        {[&] { gHooks.battleOver(other, 3001); }, Wire(EncodeBattleOver, BattleOverPacket{2, 3002, 3001})},
        {[&] { gHooks.prize(3001, NO_UID, 7005); }, Wire(EncodePrize, PrizePacket{2, 3001, NO_UID, 7005})},
        {[&] { Energon* e = NewEnergon(77, 3, 4, 2, 9); gHooks.announceEnergon(e); FreeEnergon(e); }, Wire(EncodeEnergon, EnergonPacket{2, 77, 3, 4, 2, 9})},
        {[&] { SendChestOpened(0, GetChestAt(world_, &chestCell)); }, Wire(EncodeChestOpened, ChestOpenedPacket{2, 0, 2, 5, 2})},
        {[&] { SendRobotLeft(3001); }, Wire(EncodeRobotLeft, RobotLeftPacket{2, 3001})},
        // The enemy server speaks for every robot it has.
        {[&] { gLocalRobotUid = ENEMY_SERVER_UID; gHooks.animation(other, nullptr, EWallAnimation, NO_UID); },
         Wire(EncodeAnimation, AnimationPacket{2, 3002, 0, EWallAnimation, 0, NO_UID, 0, 0, 0, 0})},
    };
    // clang-format on
    for (size_t i = 0; i < std::size(calls); i++) {
        gSent.clear();
        calls[i].first();
        const P& sends = calls[i].second;
        EXPECT_EQ(gSent, sends.empty() ? std::vector<P>{} : std::vector<P>{sends}) << "call " << i;
    }
    EXPECT_NE(me->stamp.time, 0); // the keep-alive's stamp is now
}

TEST_F(Outbound, ATeleportPlaysOutThenMovesTheRobotAndTheCameraFollowsTheView) {
    gLocalRobotUid = 3000;
    Robot* r = Put(Make(0, true), 2, 9, 90);
    r->targetCell = {5, 9, 2};
    QueueMove(r, MOVE_FORWARD);
    gHooks.teleport(r, world_);
    for (int tick = 0; tick < 40 && AdvanceAnimations() != 0; tick++) {
    }
    // Moved once the effect has played out, its state sent once.
    EXPECT_EQ(std::make_tuple(RobotAt(5, 9), PeekMove(r), gSent.size()), std::make_tuple(r, 0, 1u));
    gHooks.cameraFollows(r, true); // no camera: nothing to follow
    InitCamera();
    SetFirstPerson(1);
    gCamera->frustumDirty = 0;
    gHooks.cameraFollows(r, false); // a step leaves the view's direction
    EXPECT_EQ(std::make_tuple(gCamera->frustumDirty, gCamera->lookOffset.x),
              std::make_tuple(1, DEFAULT_LOOK_OFFSET.x));
    gHooks.cameraFollows(r, true); // a turn looks along the new facing
    EXPECT_NEAR(gCamera->lookOffset.y, 8.0, 1e-9);
    FreeCamera();
}

} // namespace
