// The effects without a display: how long each runs and what it shows frame by frame, what it
// changes in the game (teleport, wall, invisibility, sonar, camera) and the damage numbers.
#include "support/animation_support.h"

#include <cmath>

namespace {

using Effects = AnimationTest;

// Runs of evenly spaced frames: {count, first, step} each.
std::vector<double> Ramps(std::initializer_list<std::tuple<int, double, double>> runs) {
    std::vector<double> v;
    for (auto [n, from, step] : runs)
        for (int i = 0; i < n; i++)
            v.push_back(from + step * i);
    return v;
}

TEST_F(Effects, RunTheirTicksShowingTheirFrames) {
    Robot* a = Put(Make(0, true, 4000), 3, 3); // a Hover of power 2 and dexterity 3
    Robot* b = Put(Make(1, false), 4, 3);
    std::tie(a->stats.power, a->stats.dexterity) = std::tuple(2, 3);
    const Location wall = {6, 6, 2}, far = {8, 8, 2};
    const Vector3 from = {3.5, 3.5, 2.5}, to = {4.5, 3.5, 2.5}, centre = {3.5, 3, 2};
    const Vector3 eye = {8, 0, 4}, look = {-4, 0, 0};
    const Color red = {1, 0, 0, 0.4f}, white = {1, 1, 1, 0.7f};
    Stats hurt = {};
    hurt.hitPoints = -12;
    int held = 0;
    // What starts the effect, what a frame drawn before each tick shows (until it retires), and
    // those frames.
    // clang-format off
    const struct { const char* what; std::function<void()> start; std::function<double()> shown; std::vector<double> frames; } cases[] = {
        {"plasma: nine beams 0.4 to 2.0 long", [&] { StartPlasmaShot(a, b, nullptr, nullptr); },
         [] { return 0.2 * (PlasmaBeamList(Front<PlasmaShot>()) + 1); }, Ramps({{9, 0.4, 0.2}})},
        {"volley: in flight four frames, then at the target", [&] { StartVolley(&from, &to, 0, &ICE_VOLLEY_COLOR, nullptr, nullptr); },
         [&] {
             Volley* v = Front<Volley>();
             AdvanceVolley(v); // as each drawn frame does: the fourth reaches the target
             const auto near = [&](const auto& p) { return std::fabs(p.position.x - to.x) <= 0.2 + 1e-9; };
             return v->count >= MIN_VOLLEY_PELLETS && v->count <= MAX_VOLLEY_PELLETS && (v->counter != 1 || std::all_of(v->pellets, v->pellets + v->count, near));
         }, Ramps({{5, 1, 0}})},
        {"stars: eight sprites up the spirals, then an empty frame", [&] { StartStarEffect(a, b, nullptr, nullptr); },
         [] { return StarFrame(Front<SpiralEffect>()); }, Ramps({{9, 0, 1}})},
        {"balls: the first frame until the first tick, then one a tick", [&] { StartBallsEffect(a, b, nullptr, nullptr); },
         [] { return BallsFrame(Front<SpiralEffect>()); }, Ramps({{1, 0, 0}, {12, 0, 1}})},
        {"invisibility: 2 x power + 2 x dexterity + 13 = 23 ticks", [&] { AnimateSkillEffect(a, b, INVISIBILITY_UID, nullptr, nullptr); },
         [&] { return a->skillFlag; }, Ramps({{24, 1, 0}})},
        {"damage numbers: four ticks", [&] { RobotShowDamage(b, &hurt, 0); },
         [] { DamageLabel labels[2]; return DamageLabels(Front<DamageDisplay>(), labels); }, Ramps({{5, 1, 0}})},
        {"sonar: the revealed radius grows from 0.4167 to 2.9167", [&] { StartSonar(a, &red, &white, 2.5, 6); },
         [] { return Hooks().revealRadii.back(); }, Ramps({{7, 2.5 / 6, 2.5 / 6}})},
        {"shield: comes down from its top, stays while the battle lasts, then lifts away",
         [&] { a->battle = BATTLE_ELSEWHERE; StartBattleShield(a, b, &centre, 1); },
         [&] {
             BattleShield* shield = Front<BattleShield>();
             if (shield->descending && shield->counter == 0 && ++held == 3)
                 a->battle = nullptr; // the battle ends: the next tick lifts the dome
             return -ShieldClipHeight(shield);
         }, Ramps({{11, 1.5, -0.15}, {2, 0, 0}, {11, 0, 0.15}})},
        {"wall of hold 2: fades in, stands, fades out; its cell solid throughout", [&] { StartWallAnimation(a, world_, &wall, 2, 1, 1, 45.0f); },
         [&] { return At(6, 6) == ESolid ? WallAlpha(Front<WallEffect>()) : -1; }, Ramps({{9, 0, 0.125}, {2, 1, 0}, {9, 1, -0.125}})},
        {"teleport: cut from the middle up, then from the top down to the middle", [&] { StartTeleport(a, world_, &far, 1); },
         [&] { return -RobotModelOf(a)->clipPlane[3]; }, Ramps({{9, 0, 0.125}, {9, 1, -0.125}})},
        {"smoke: eighteen ticks of puffs within reach of the robot", [&] { RobotSmokeEffect(a, world_, 18); },
         [&] { // the oldest puff, furthest up
             const float* p = Front<Smoke>()->particles.particles[SMOKE_PARTICLES - 1].position;
             return std::hypot(p[0] - a->position.x, p[1] - a->position.y, p[2] - a->position.z) < 4;
         }, Ramps({{19, 1, 0}})},
        {"camera: the eye glides to its offset over four ticks", [&] { StartCameraMove(&eye, &look, 1, 4); },
         [] { return Hooks().eye.x; }, Ramps({{5, 0, 2}})},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Captured(c.start);
        std::vector<double> frames;
        for (int tick = 0; AnimationCount() > 0 && tick < 100; tick++) {
            frames.push_back(c.shown());
            Tick();
        }
        ASSERT_EQ(frames.size(), c.frames.size());
        for (size_t i = 0; i < frames.size(); i++)
            EXPECT_NEAR(frames[i], c.frames[i], 1e-4) << "frame " << i;
    }
    // What the effects left behind: visible, nothing revealed, the wall gone, first person on.
    EXPECT_EQ(std::tuple(a->skillFlag, Hooks().revealsCleared, At(6, 6), Hooks().firstPerson,
                         RobotModelOf(a)->clipOn),
              std::tuple(0, 1, EEmpty, 1, 0));
}

TEST_F(Effects, ATeleportMovesTheRobotOnceBetweenVanishingAndAppearing) {
    Robot* r = Put(Make(0, true), 2, 9);
    gLocalRobotUid = r->uid;
    r->targetCell = {5, 9, 2}; // the pad's other end
    QueueMove(r, MOVE_FORWARD);
    const int energy = r->stats.energy;
    RobotTeleportEffect(r, world_);
    RobotTeleportEffect(r, world_); // a second start while under way: none
    // Vanished, then moved to appear; the energy paid and the arrival told once.
    const auto state = [&] { return std::tuple(CellOf(r), r->teleporting, r->stats.energy); };
    Tick(8);
    EXPECT_EQ(state(), std::tuple(Triple(2, 9, 2), 1, energy));
    Tick();
    EXPECT_EQ(state(), std::tuple(Triple(5, 9, 2), 1, energy - TELEPORT_ENERGY_COST));
    EXPECT_EQ((std::tuple{RunOut(), r->teleporting, PeekMove(r), Calls("state").size()}),
              std::tuple(9, 0, 0, 1u));
}

TEST_F(Effects, DamageNumbersShowHpAndEnergyInTheirColours) {
    // clang-format off
    const std::tuple<int16_t, int16_t, const char*> cases[] = {
        {-12, 5, "12 white at 0.9, 5 green at 0.7, "}, {0, 5, "5 green at 0.7, "},
        {7, -30, "7 green at 0.9, 30 red at 0.7, "}, {0, 0, ""}};
    // clang-format on
    for (const auto& [hp, energy, expected] : cases) {
        DamageDisplay display = {};
        std::tie(display.delta.hitPoints, display.delta.energy) = std::tuple(hp, energy);
        DamageLabel labels[2];
        std::string shown;
        for (int i = 0, n = DamageLabels(&display, labels); i < n; i++) {
            const Color& k = labels[i].color;
            shown += std::string(labels[i].text) +
                     (k.blue == 1    ? " white"
                      : k.green == 1 ? " green"
                                     : " red") +
                     " at " + std::to_string(labels[i].height).substr(0, 3) + ", ";
        }
        EXPECT_EQ(shown, expected);
    }
}

} // namespace
