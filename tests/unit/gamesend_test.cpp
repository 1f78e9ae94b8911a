// The battle's builders: who may speak for a robot, the sequence each packet takes, and the
// fields as the other copies read them.
#include "net/network.h"
#include "support/robot_support.h"

namespace {

using GameSend = RobotTest;

TEST_F(GameSend, ChallengeAndAcceptCarryTheSendersNameStatsAndNumbers) {
    Robot* me = Put(Make(1, true), 3, 3);
    SetRobotName(me, "A name of twenty chars");
    me->stats.hitPoints = 77;
    gLocalRobotUid = 3001;
    currentChannel = 2;
    me->sequence = 10;
    gHooks.challenge(me, 3004);
    gHooks.accept(me, 3000);
    currentChannel = 0;
    ASSERT_EQ(sent().size(), 2u);
    BattleStartPacket c, a;
    ASSERT_TRUE(DecodeBattleStart(sent()[0].data(), sent()[0].size(), &c));
    ASSERT_TRUE(DecodeBattleStart(sent()[1].data(), sent()[1].size(), &a));
    EXPECT_EQ(c.channel, 2);
    EXPECT_EQ(c.subType, EBattleChallenge);
    EXPECT_EQ(c.challengerUid, 3001u);
    EXPECT_EQ(c.challengedUid, 3004u);
    EXPECT_EQ(c.sequence, 10u);
    EXPECT_STREQ(c.name, "A name of twent");
    EXPECT_EQ(c.stats.hitPoints, 77);
    EXPECT_EQ(a.subType, EBattleAccept);
    EXPECT_EQ(a.challengerUid, 3000u);
    EXPECT_EQ(a.challengedUid, 3001u);
    EXPECT_EQ(a.sequence, 11u);
    EXPECT_EQ(me->sequence, 12u);
}

TEST_F(GameSend, OnlyTheRobotDrivenHereOrTheServersRobotsAreSpokenFor) {
    Robot* mine = Put(Make(0, true), 3, 3);
    Robot* other = Put(Make(2, false), 5, 5);
    gLocalRobotUid = 3000;
    Stats change = {};
    change.hitPoints = -12;
    gHooks.action(other, &change, &change, 3000, 0, 0);
    gHooks.animation(other, mine, EWeaponAnimation, NO_UID);
    gHooks.challenge(other, 3000);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(other->sequence, 0u);

    gHooks.action(mine, &change, &change, 3002, 0, 0);
    gHooks.animation(mine, other, ESkillEffectAnimation, 8001);
    gLocalRobotUid = -1; // the enemy server speaks for every robot it has
    gHooks.animation(other, nullptr, EWallAnimation, NO_UID);
    ASSERT_EQ(sent().size(), 3u);
    ActionPacket act;
    ASSERT_TRUE(DecodeAction(sent()[0].data(), sent()[0].size(), &act));
    EXPECT_EQ(act.actorUid, 3000u);
    EXPECT_EQ(act.targetUid, 3002u);
    EXPECT_EQ(act.targetChange.hitPoints, -12);
    EXPECT_EQ(act.sequence, 0u);
    AnimationPacket anim;
    ASSERT_TRUE(DecodeAnimation(sent()[1].data(), sent()[1].size(), &anim));
    EXPECT_EQ(anim.type, static_cast<uint32_t>(ESkillEffectAnimation));
    EXPECT_EQ(anim.targetUid, 3002u);
    EXPECT_EQ(anim.value, 8001u);
    EXPECT_EQ(anim.sequence, 1u);
    EXPECT_EQ(other->sequence, 1u);
}

TEST_F(GameSend, BattleOverAndPrizeGoOutWhoeverAsks) {
    Robot* loser = Put(Make(2, false), 5, 5);
    gLocalRobotUid = 3000;
    gHooks.battleOver(loser, 3000);
    gHooks.prize(3000, NO_UID, 7005);
    ASSERT_EQ(sent().size(), 2u);
    BattleOverPacket over;
    ASSERT_TRUE(DecodeBattleOver(sent()[0].data(), sent()[0].size(), &over));
    EXPECT_EQ(over.loserUid, 3002u);
    EXPECT_EQ(over.winnerUid, 3000u);
    PrizePacket prize;
    ASSERT_TRUE(DecodePrize(sent()[1].data(), sent()[1].size(), &prize));
    EXPECT_EQ(prize.skillUid, NO_UID);
    EXPECT_EQ(prize.itemUid, 7005u);
    EXPECT_EQ(loser->sequence, 0u); // these carry no sequence number
}

} // namespace
