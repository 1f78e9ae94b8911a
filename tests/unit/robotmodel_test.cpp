// The robot models without a display: which weapons an attack fires and what it sends and
// applies, the skill gestures with their effects, the joints a gesture moves tick by tick, a
// class with no model, and the replay of other copies' animation packets.
#include "support/animation_support.h"

#include <functional>

namespace {

std::vector<uint32_t> SentTypes() {
    std::vector<uint32_t> types;
    for (const AnimationPacket& p : Hooks().sent)
        types.push_back(p.type);
    return types;
}

class Models : public AnimationTest {
  protected:
    // A robot of class classUid; 4009, a class the models do not know, is the Hover's under
    // another uid. Each case's robot has an index of its own.
    Robot* MakeOfClass(int index, int classUid) {
        strange_ = *LookupRobotClass(gRegistry, 4000);
        strange_.uid = 4009;
        Robot* r = Make(index, false, classUid == 4009 ? 4000 : classUid);
        if (classUid == 4009)
            r->robotClass = &strange_;
        return r;
    }
    RobotClass strange_ = {};
};

// Each result came from the robot and went to the target.
void ExpectParties(const Robot* r, const Robot* target) {
    for (const auto& [actor, aimed] : Hooks().parties) {
        EXPECT_EQ(actor, r->uid);
        EXPECT_EQ(aimed, target->uid);
    }
}

TEST_F(Models, AnAttackFiresTheModelsWeaponsSendsEachShotAndAppliesIt) {
    struct Case {
        const char* what;
        int classUid;
        std::vector<int> weapons;
        int apply;
        std::vector<std::vector<std::string>> results; // any one of these
        int packets;
        std::string said;
    };
    const Case cases[] = {
        {"Hover: every weapon", 4000, {5000, 5002}, 1, {{"fight 5000", "fight 5002"}}, 2, ""},
        {"Dalek replaying another copy's attack", 4001, {5002}, 0, {{}}, 0, ""},
        {"Johnny 5: one weapon at random",
         4002,
         {5001, 5000},
         1,
         {{"fight 5001"}, {"fight 5000"}},
         1,
         ""},
        {"Johnny 5 without a weapon: nothing", 4002, {}, 1, {{}}, 0, ""},
        {"a weapon without a shot lands at once",
         4000,
         {5009},
         1,
         {{"fight 5009"}},
         1,
         "Unknown weapon 5009\n"},
        {"a class with no model fires every weapon",
         4009,
         {5000, 5001},
         1,
         {{"fight 5000", "fight 5001"}},
         2,
         "NewRobotGLData: Unknown robot class uid 4009: drawn as a box\n"},
    };
    Robot* target = Put(Make(1, false), 4, 3);
    int index = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hooks() = HookLog{};
        Robot* r = MakeOfClass(index++, c.classUid);
        r->nWeapons = static_cast<int>(c.weapons.size());
        for (size_t i = 0; i < c.weapons.size(); i++)
            r->weapons[i] = c.weapons[i];
        std::string said = Captured([&] { RobotAnimateWeapon(r, 5002, target, c.apply); });
        EXPECT_EQ(r->acting, c.weapons.empty() ? 0 : 1);
        said += Captured([&] { RunOut(); });
        EXPECT_EQ(said, c.said);
        bool matched = false;
        for (const auto& results : c.results)
            matched |= Hooks().results == results;
        EXPECT_TRUE(matched) << testing::PrintToString(Hooks().results);
        ASSERT_EQ(static_cast<int>(Hooks().sent.size()), c.packets);
        for (const AnimationPacket& p : Hooks().sent) {
            EXPECT_EQ(p.type, EWeaponAnimation);
            EXPECT_EQ(p.value, 5002u); // the uid the attack started with
            EXPECT_EQ(p.targetUid, 3001u);
        }
        ExpectParties(r, target);
    }
}

TEST_F(Models, ASkillPlaysTheGestureThenTheEffectThenAppliesIt) {
    struct Case {
        const char* what;
        int classUid;
        int skill;
        int apply;
        const char* gestureSound;
        int ticks; // until every animation is over
        std::vector<uint32_t> sent;
        std::vector<std::string> results;
    };
    const Case cases[] = {
        {"Hover, star strike: 7 gesture ticks, 9 of stars",
         4000,
         8001,
         1,
         "sounds\\ff7magic.wav",
         16,
         {ESkillAnimation, ESkillEffectAnimation},
         {"skill 8001"}},
        {"Dalek, invisibility: its effect is its whole result",
         4001,
         8003,
         1,
         "images\\dalekfire.wav",
         7 + 24,
         {ESkillAnimation, ESkillEffectAnimation},
         {}},
        {"Johnny 5 replaying: two phases of five ticks, no effect",
         4002,
         -1,
         0,
         "sounds\\ff7magic.wav",
         10,
         {},
         {}},
        {"a class with no model: the effect at once",
         4009,
         8000,
         1,
         "sounds\\ff3healmag.wav",
         9,
         {ESkillAnimation, ESkillEffectAnimation},
         {"skill 8000"}},
    };
    Robot* target = Put(Make(1, false), 4, 3);
    int index = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hooks() = HookLog{};
        Robot* r = Put(MakeOfClass(index++, c.classUid), 3, 3);
        r->stats.power = 2;
        r->stats.dexterity = 3;
        Captured([&] { RobotAnimateSkill(r, c.skill, target, c.apply); });
        EXPECT_EQ(GetLastSound(), c.gestureSound);
        EXPECT_EQ(r->acting, 1);
        EXPECT_EQ(RunOut(), c.ticks);
        EXPECT_EQ(SentTypes(), c.sent);
        EXPECT_EQ(Hooks().results, c.results);
        EXPECT_EQ(r->skillFlag, 0);
        ExpectParties(r, target);
    }
}

TEST_F(Models, AGestureMovesTheJointsTickByTickAndEndsAtRest) {
    struct Case {
        int classUid;
        std::function<double(const RobotModel*)> joint;
        std::vector<double> afterTicks; // the last one after the gesture's end
    };
    const Case cases[] = {
        // The sixth step holds the fifth step's pose.
        {4000,
         [](const RobotModel* m) { return m->hover.leftShoulderY; },
         {9, 15, 25, 45, 105, 105, 0}},
        {4000,
         [](const RobotModel* m) { return m->hover.rightShoulderX; },
         {27, 45, 75, 135, 315, 315, 0}},
        {4001, [](const RobotModel* m) { return m->domeAngle; }, {60, 120, 180, 240, 300, 360, 0}},
        {4002,
         [](const RobotModel* m) { return m->johnny.torso; },
         {75, 73, 70, 60, 60, 50, 56, 70, 110, 75}},
        {4002,
         [](const RobotModel* m) { return m->johnny.rightUpperArm; },
         {-15, -23, -40, -90, -90, -55, -15, 65, 305, -15}},
    };
    Robot* target = Put(Make(1, false), 4, 3);
    int index = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.classUid);
        Robot* r = Put(Make(index++, false, c.classUid), 3, 3);
        Captured([&] { RobotAnimateSkill(r, -1, target, 0); });
        std::vector<double> joints;
        for (size_t i = 0; i < c.afterTicks.size(); i++) {
            Tick();
            joints.push_back(c.joint(RobotModelOf(r)));
        }
        EXPECT_EQ(joints, c.afterTicks);
        EXPECT_EQ(AnimationCount(), 0);
    }
}

TEST_F(Models, TheHoversSphereGrowsAndHoldsOnTheSixthStep) {
    Robot* r = Put(Make(0, true, 4000), 3, 3);
    Robot* target = Put(Make(1, false), 4, 3);
    gAnimationDrawers.hoverGesture = [](void* gesture) {
        Hooks().results.push_back(
            std::to_string(HoverSkillSphere(static_cast<ModelAction*>(gesture))));
    };
    Captured([&] { RobotAnimateSkill(r, -1, target, 0); });
    while (AnimationCount() > 0) {
        DrawAnimations();
        Tick();
    }
    EXPECT_EQ(Hooks().results, (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "5"}));
}

TEST_F(Models, AnotherCopysAnimationIsReplayedOrDroppedWithAMessage) {
    struct Case {
        const char* what;
        uint32_t actor, type, target, value, x;
        int32_t local;
        bool started;
        std::string said;
    };
    const Case cases[] = {
        {"a skill gesture", 3001, ESkillAnimation, 3000, 8001, 0, 3000, true, ""},
        {"a weapon attack", 3001, EWeaponAnimation, 3000, 5000, 0, 3000, true, ""},
        {"a skill's effect", 3001, ESkillEffectAnimation, 3000, 8002, 0, 3000, true, ""},
        {"a wall", 3001, EWallAnimation, 0, 0, 6, 3000, true, ""},
        {"our own echo", 3000, ESkillAnimation, 3001, 8001, 0, 3000, false, ""},
        {"an unknown robot", 3009, ESkillAnimation, 3000, 8001, 0, 3000, false,
         "Animation packet dropped: unknown robot 3009\n"},
        {"an unknown target", 3001, EWeaponAnimation, 3002, 5000, 0, 3000, false,
         "Animation packet dropped: unknown target robot 3002\n"},
        {"an unknown skill", 3001, ESkillEffectAnimation, 3000, 8042, 0, 3000, false,
         "Animation packet dropped: unknown skill 8042\n"},
        {"armor for a weapon", 3001, EWeaponAnimation, 3000, 6000, 0, 3000, false,
         "Animation packet dropped: unknown weapon 6000\n"},
        {"an unknown type", 3001, 2, 3000, 8001, 0, 3000, false,
         "Animation packet dropped: unknown animation type 2\n"},
        {"a wall off the grid", 3001, EWallAnimation, 0, 0, 40, 3000, false,
         "Animation packet dropped: wall off the grid at x 40\n"},
        {"the server: a player's wall", 3001, EWallAnimation, 0, 0, 6, -1, true, ""},
        {"the server: a player's skill", 3001, ESkillAnimation, 3000, 8001, 0, -1, false, ""},
        {"the server: its own robot's wall", 3004, EWallAnimation, 0, 0, 6, -1, false, ""},
    };
    Put(Make(0, true, 4000), 3, 3);
    Put(Make(1, false, 4001), 4, 3);
    Put(Make(4, false, 4001), 8, 8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hooks() = HookLog{};
        AnimationPacket p = {};
        p.robotUid = c.actor;
        p.type = c.type;
        p.targetUid = c.target;
        p.value = c.value;
        p.x = c.x;
        p.y = 6;
        p.z = 2;
        p.facing = 90;
        bool started = false;
        std::string said = Captured([&] { started = ReplayAnimationPacket(&p, world_, c.local); });
        EXPECT_EQ(started, c.started);
        EXPECT_EQ(said, c.said);
        EXPECT_EQ(AnimationCount() > 0, c.started);
        if (c.type == EWallAnimation && c.started) {
            auto* wall = static_cast<WallEffect*>(gAnimationMgr->head->next->data);
            EXPECT_EQ(wall->visible, c.local == -1 ? 0 : 1); // the server draws nothing
            EXPECT_EQ(At(6, 6), ESolid);
        }
        EXPECT_TRUE(Hooks().sent.empty()); // a replay is never sent on
        RunOut();
        EXPECT_TRUE(Hooks().results.empty()); // nor applied
    }
}

} // namespace
