// The robot models without a display: which weapons an attack fires and what it sends and
// applies, the skill gestures with their effects, the joints a gesture moves tick by tick, a
// class with no model, and the replay of other copies' animation packets.
#include "support/animation_support.h"

namespace {

class Models : public AnimationTest {
  protected:
    // A robot of the class with an index of its own; class 4009, which no model knows, is the
    // Hover's under another uid.
    Robot* OfClass(int classUid) {
        strange_ = *LookupRobotClass(gRegistry, 4000);
        strange_.uid = 4009;
        Robot* r = Put(Make(next_++, false, classUid == 4009 ? 4000 : classUid), 3, 3);
        r->robotClass = classUid == 4009 ? &strange_ : r->robotClass;
        std::tie(r->stats.power, r->stats.dexterity) = std::tuple(2, 3); // for the effects' lengths
        return r;
    }
    // The packets sent, as "type:value at target".
    static std::string Sent() {
        std::string all;
        for (const AnimationPacket& p : Hooks().sent)
            all += (all.empty() ? "" : ", ") + std::to_string(p.type) + ":" +
                   std::to_string(p.value) + " at " + std::to_string(p.targetUid);
        return all;
    }
    RobotClass strange_ = {};
    int next_ = 10;
};

TEST_F(Models, AnAttackFiresTheModelsWeaponsSendsEachShotAndAppliesIt) {
    // The fights applied (alternatives apart by '|'), the packets sent and what was said.
    // clang-format off
    const struct { const char* what; int classUid, apply; std::vector<int> weapons; const char *fights, *sent, *said; } cases[] = {
        {"Hover: every weapon", 4000, 1, {5000, 5002}, "fight 5000 at 3001, fight 5002 at 3001", "1:5002 at 3001, 1:5002 at 3001", ""},
        {"Dalek replaying another copy's attack", 4001, 0, {5002}, "", "", ""},
        {"Johnny 5: one weapon at random", 4002, 1, {5001, 5000}, "fight 5001 at 3001|fight 5000 at 3001", "1:5002 at 3001", ""},
        {"Johnny 5 without a weapon: nothing", 4002, 1, {}, "", "", ""},
        {"a weapon without a shot lands at once", 4000, 1, {5009}, "fight 5009 at 3001", "1:5002 at 3001", "Unknown weapon 5009\n"},
        {"a class with no model fires every weapon", 4009, 1, {5000, 5001}, "fight 5000 at 3001, fight 5001 at 3001", "1:5002 at 3001, 1:5002 at 3001", "NewRobotGLData: Unknown robot class uid 4009: drawn as a box\n"},
        // clang-format on
    };
    Robot* target = Put(Make(1, false), 4, 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Hooks() = HookLog{};
        Robot* r = OfClass(c.classUid);
        r->nWeapons = static_cast<int>(c.weapons.size());
        std::copy(c.weapons.begin(), c.weapons.end(), r->weapons);
        std::string said = Captured([&] { RobotAnimateWeapon(r, 5002, target, c.apply); });
        const int acting = r->acting;
        said += Captured([&] { RunOut(); });
        // One packet a shot, with the uid the attack started with.
        std::string fights = "|" + Hooks().results + "|";
        EXPECT_EQ(std::tuple(acting, said, Sent(),
                             ("|" + std::string(c.fights) + "|").find(fights) != std::string::npos),
                  std::tuple(c.weapons.empty() ? 0 : 1, c.said, c.sent, true))
            << fights;
    }
}

// The gesture's sound, then (when applied) the gesture's and the effect's packets and the skill.
TEST_F(Models, ASkillPlaysTheGestureThenTheEffectThenAppliesIt) {
    // The ticks until every animation is over.
    // clang-format off
    const struct { const char* what; int classUid, skill, apply; const char* gestureSound; int ticks; } cases[] = {
        {"Hover, star strike: 7 gesture ticks, 9 of stars", 4000, 8001, 1, "sounds\\ff7magic.wav", 16},
        {"Dalek, invisibility: its effect, then its cost", 4001, 8003, 1, "images\\dalekfire.wav", 7 + 24},
        {"Johnny 5 replaying: two phases of five ticks, no effect", 4002, -1, 0, "sounds\\ff7magic.wav", 10},
        {"a class with no model: the effect at once", 4009, 8000, 1, "sounds\\ff3healmag.wav", 9},
        // clang-format on
    };
    Robot* target = Put(Make(1, false), 4, 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Hooks() = HookLog{};
        Robot* r = OfClass(c.classUid);
        Captured([&] { RobotAnimateSkill(r, c.skill, target, c.apply); });
        EXPECT_EQ(std::tuple(GetLastSound(), r->acting), std::tuple(c.gestureSound, 1));
        const std::string s = std::to_string(c.skill);
        EXPECT_EQ((std::tuple{RunOut(), Sent(), Hooks().results, r->skillFlag}),
                  std::tuple(c.ticks, c.apply ? "0:" + s + " at 3001, 3:" + s + " at 3001" : "",
                             c.apply ? "skill " + s + " at 3001" : "", 0));
    }
}

TEST_F(Models, AGestureMovesTheJointsTickByTickAndEndsAtRest) {
    // The joint's angle after each tick, the last after the gesture's end.
    const std::tuple<int, std::string, const char*> cases[] = {
        // The Hover's sixth step holds the fifth step's pose and sphere.
        {4000, "shoulder", "9 15 25 45 105 105 0"},
        {4000, "sphere", "1 2 3 4 5 5 -1"},
        {4001, "dome", "60 120 180 240 300 360 0"},
        {4002, "torso", "75 73 70 60 60 50 56 70 110 75"},
        {4002, "rightUpperArm", "-15 -23 -40 -90 -90 -55 -15 65 305 -15"},
    };
    Robot* target = Put(Make(1, false), 4, 3);
    for (const auto& [classUid, j, afterTicks] : cases) {
        Robot* r = OfClass(classUid);
        Captured([&] { RobotAnimateSkill(r, -1, target, 0); });
        std::string shown;
        while (shown.empty() || AnimationCount() > 0) {
            Tick();
            const RobotModel* m = RobotModelOf(r);
            auto* gesture = Front<ModelAction>(); // the Hover's sphere as drawn
            shown += (shown.empty() ? "" : " ") +
                     std::to_string(j == "shoulder"        ? m->hover.leftShoulderY
                                    : j == "dome"          ? static_cast<int>(m->domeAngle)
                                    : j == "torso"         ? m->johnny.torso
                                    : j == "rightUpperArm" ? m->johnny.rightUpperArm
                                    : gesture != nullptr   ? HoverSkillSphere(gesture)
                                                           : -1);
        }
        EXPECT_EQ(shown, afterTicks) << j;
    }
}

TEST_F(Models, AnotherCopysAnimationIsReplayedOrDroppedWithAMessage) {
    // The packet's fields, the copy's local robot (-1 in the server), and "started" or why the
    // packet was dropped.
    // clang-format off
    const struct { const char* what; uint32_t actor, type, target, value, x; int32_t local; std::string said; } cases[] = {
        {"a skill gesture", 3001, ESkillAnimation, 3000, 8001, 0, 3000, "started"},
        {"a weapon attack", 3001, EWeaponAnimation, 3000, 5000, 0, 3000, "started"},
        {"an attack chosen from the menu, with no weapon", 3001, EWeaponAnimation, 3000, NO_UID, 0, 3000, "started"},
        {"a skill's effect", 3001, ESkillEffectAnimation, 3000, 8002, 0, 3000, "started"},
        {"a wall", 3001, EWallAnimation, 0, 0, 6, 3000, "started"},
        {"a wall on a robot's cell, which stays the robot's", 3001, EWallAnimation, 0, 0, 4, 3000, "started"},
        {"our own echo", 3000, ESkillAnimation, 3001, 8001, 0, 3000, ""},
        {"an unknown robot", 3009, ESkillAnimation, 3000, 8001, 0, 3000, "unknown robot 3009"},
        {"an unknown target", 3001, EWeaponAnimation, 3002, 5000, 0, 3000, "unknown target robot 3002"},
        {"an unknown skill", 3001, ESkillEffectAnimation, 3000, 8042, 0, 3000, "unknown skill 8042"},
        {"armor for a weapon", 3001, EWeaponAnimation, 3000, 6000, 0, 3000, "unknown weapon 6000"},
        {"an unknown type", 3001, 2, 3000, 8001, 0, 3000, "unknown animation type 2"},
        {"a wall off the grid", 3001, EWallAnimation, 0, 0, 40, 3000, "wall off the grid at x 40"},
        {"the server: a player's wall", 3001, EWallAnimation, 0, 0, 6, -1, "started"},
        {"the server: a player's skill", 3001, ESkillAnimation, 3000, 8001, 0, -1, ""},
        {"the server: its own robot's wall", 3004, EWallAnimation, 0, 0, 6, -1, ""},
        // clang-format on
    };
    Put(Make(0, true, 4000), 3, 3);
    Robot* standing = Put(Make(1, false, 4001), 4, 6);
    SetCellContent(world_, &standing->cell, ERobot, standing);
    Put(Make(4, false, 4001), 8, 8);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Hooks() = HookLog{};
        const AnimationPacket p = {0, c.actor, 1, c.type, c.target, c.value, c.x, 6, 2, 90};
        bool started = false;
        std::string said = Captured([&] { started = ReplayAnimationPacket(&p, world_, c.local); });
        bool drop = c.said != "started" && !c.said.empty();
        EXPECT_EQ(started ? "started" + said : said,
                  drop ? "Animation packet dropped: " + c.said + "\n" : c.said);
        EXPECT_EQ(AnimationCount() > 0, started);
        if (c.type == EWallAnimation && started) { // the server draws none
            EXPECT_EQ(std::tuple(Front<WallEffect>()->visible, At(c.x, 6)),
                      std::tuple(c.local == -1 ? 0 : 1, c.x == 4 ? ERobot : ESolid));
        }
        RunOut(); // shown, never sent on or applied
        EXPECT_EQ(std::tuple(Sent() + Hooks().results, At(6, 6), At(4, 6)),
                  std::tuple("", EEmpty, ERobot));
    }
}

} // namespace
