// The effects without a display: how long each runs and what it shows frame by frame, what it
// changes in the game (teleport, wall, invisibility, sonar, camera), the volley's pellets and
// the damage numbers.
#include "support/animation_support.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using Effects = AnimationTest;

struct Scene {
    Robot* a; // a Hover at (3, 3), power 2 and dexterity 3
    Robot* b; // a Johnny 5 at (4, 3)
    World* world;
};

// The first running animation's data.
void* Front() {
    return gAnimationMgr->head->next != nullptr ? gAnimationMgr->head->next->data : nullptr;
}

std::vector<double> Ramp(int n, double from, double step) {
    std::vector<double> v;
    for (int i = 0; i < n; i++)
        v.push_back(from + step * i);
    return v;
}

std::vector<double> Join(std::vector<double> a, const std::vector<double>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<double> Ones(int n) {
    return std::vector<double>(n, 1.0);
}

double ClipHeight(Robot* r) {
    return -RobotModelOf(r)->clipPlane[3]; // the model shows above this height
}

TEST_F(Effects, RunTheirTicksShowingTheirFrames) {
    struct Case {
        const char* what;
        std::function<void(const Scene&)> start;
        // What a frame drawn before each tick shows, until the effect is retired.
        std::function<double(const Scene&)> shown;
        std::vector<double> frames;
    };
    const Stats hurt = [] {
        Stats s = {};
        s.hitPoints = -12;
        s.energy = 5;
        return s;
    }();
    const Case cases[] = {
        {"plasma: nine beams 0.4 to 2.0 long",
         [](const Scene& s) { StartPlasmaShot(s.a, s.b, nullptr, nullptr); },
         [](const Scene&) { return 0.2 * (PlasmaBeamList(static_cast<PlasmaShot*>(Front())) + 1); },
         Ramp(9, 0.4, 0.2)},
        {"volley: four frames in flight",
         [](const Scene& s) {
             StartVolley(&s.a->position, &s.b->position, 0, &ICE_VOLLEY_COLOR, nullptr, nullptr);
         },
         [](const Scene&) { return 1.0; }, Ones(5)},
        {"stars: eight sprites up the spirals, then an empty frame",
         [](const Scene& s) { StartStarEffect(s.a, s.b, nullptr, nullptr); },
         [](const Scene&) { return StarFrame(static_cast<SpiralEffect*>(Front())); },
         Ramp(9, 0, 1)},
        {"balls: the first frame shown until the first tick, then one a tick",
         [](const Scene& s) { StartBallsEffect(s.a, s.b, nullptr, nullptr); },
         [](const Scene&) { return BallsFrame(static_cast<SpiralEffect*>(Front())); },
         Join({0}, Ramp(12, 0, 1))},
        {"invisibility: 2 x power + 2 x dexterity + 13 = 23 ticks",
         [](const Scene& s) { AnimateSkillEffect(s.a, s.b, INVISIBILITY_UID, nullptr, nullptr); },
         [](const Scene& s) { return s.a->skillFlag; }, Ones(24)},
        {"damage numbers: four ticks", [hurt](const Scene& s) { RobotShowDamage(s.b, &hurt, 0); },
         [](const Scene&) {
             DamageLabel labels[2];
             return DamageLabels(static_cast<DamageDisplay*>(Front()), labels);
         },
         std::vector<double>(5, 2.0)},
        {"sonar: the revealed radius grows from 0.4167 to 2.9167",
         [](const Scene& s) {
             const Color red = {1, 0, 0, 0.4f}, white = {1, 1, 1, 0.7f};
             StartSonar(s.a, &red, &white, 2.5, 6);
         },
         [](const Scene&) { return Hooks().reveals.back().second; }, Ramp(7, 2.5 / 6, 2.5 / 6)},
        {"shield: comes down from its top, then lifts its lower edge away",
         [](const Scene& s) {
             Vector3 centre = {3.5, 3, 2};
             StartBattleShield(s.a, s.b, &centre, 1);
         },
         [](const Scene&) { return -ShieldClipHeight(static_cast<BattleShield*>(Front())); },
         Join(Ramp(11, 1.5, -0.15), Ramp(11, 0, 0.15))},
        {"wall of hold 2: fades in, stands two ticks, fades out",
         [](const Scene& s) {
             Location cell = {6, 6, 2};
             StartWallAnimation(s.a, s.world, &cell, 2, 1, 1, 45.0f);
         },
         [](const Scene&) { return WallAlpha(static_cast<WallEffect*>(Front())); },
         Join(Join(Ramp(9, 0, 0.125), {1, 1}), Ramp(9, 1, -0.125))},
        {"teleport: cut from the middle up, then from the top down to the middle",
         [](const Scene& s) {
             Location to = {8, 8, 2};
             StartTeleport(s.a, s.world, &to, 1);
         },
         [](const Scene& s) { return ClipHeight(s.a); },
         Join(Ramp(9, 0, 0.125), Ramp(9, 1, -0.125))},
        {"smoke: eighteen ticks of puffs within reach of the robot",
         [](const Scene& s) { RobotSmokeEffect(s.a, s.world, 18); },
         [](const Scene& s) {
             const ParticleSystem& smoke = static_cast<Smoke*>(Front())->particles;
             double farthest = 0;
             for (int i = 0; i < smoke.count; i++) {
                 const float* p = smoke.particles[i].position;
                 farthest =
                     std::max(farthest, std::hypot(p[0] - s.a->position.x, p[1] - s.a->position.y,
                                                   p[2] - s.a->position.z));
             }
             return farthest < 4.0 ? 1.0 : 0.0;
         },
         Ones(19)},
        {"camera: the eye glides to its offset over four ticks",
         [](const Scene&) {
             Vector3 eye = {8, 0, 4}, look = {-4, 0, 0};
             StartCameraMove(&eye, &look, 1, 4);
         },
         [](const Scene&) { return Hooks().eye.x; }, Ramp(5, 0, 2)},
    };
    Robot* a = Put(Make(0, true, 4000), 3, 3);
    Robot* b = Put(Make(1, false), 4, 3);
    a->stats.power = 2;
    a->stats.dexterity = 3;
    const Scene scene = {a, b, world_};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hooks().eye = {0, 0, 0};
        Captured([&] { c.start(scene); });
        std::vector<double> frames;
        for (int tick = 0; AnimationCount() > 0 && tick < 100; tick++) {
            frames.push_back(c.shown(scene));
            Tick();
        }
        ASSERT_EQ(frames.size(), c.frames.size());
        for (size_t i = 0; i < frames.size(); i++)
            EXPECT_NEAR(frames[i], c.frames[i], 1e-4) << "frame " << i;
    }
    // What the effects left behind: visible again, nothing revealed, first person on.
    EXPECT_EQ(a->skillFlag, 0);
    EXPECT_EQ(Hooks().revealsCleared, 1);
    EXPECT_EQ(Hooks().firstPerson, 1);
    EXPECT_EQ(RobotModelOf(a)->clipOn, 0);
}

TEST_F(Effects, ATeleportMovesTheRobotOnceBetweenVanishingAndAppearing) {
    Robot* r = Put(Make(0, true), 2, 9);
    gLocalRobotUid = r->uid;
    r->targetCell = {5, 9, 2}; // the pad's other end
    QueueMove(r, MOVE_FORWARD);
    const int energy = r->stats.energy;
    RobotTeleportEffect(r, world_);
    RobotTeleportEffect(r, world_); // a second start while under way: none
    EXPECT_EQ(r->teleporting, 1);
    int ticks = 0, packets = 0;
    std::vector<Triple> cells;
    while (AnimationCount() > 0 && ticks < 50) {
        Tick();
        cells.push_back(CellOf(r->cell));
        ticks++;
        packets = static_cast<int>(SentStates().size());
    }
    EXPECT_EQ(ticks, 18);
    EXPECT_EQ(cells[7], Cell(2, 9, 2));
    EXPECT_EQ(cells[8], Cell(5, 9, 2)); // moved when it had vanished
    EXPECT_EQ(cells[17], Cell(5, 9, 2));
    EXPECT_EQ(r->stats.energy, energy - TELEPORT_ENERGY_COST); // paid once
    EXPECT_EQ(packets, 1);                                     // the arrival, told once
    EXPECT_EQ(r->teleporting, 0);
    EXPECT_EQ(PeekMove(r), 0);
    EXPECT_EQ(RobotModelOf(r)->clipOn, 0);
}

TEST_F(Effects, AWallMakesAnEmptyCellSolidWhileItStands) {
    Robot* r = Put(Make(0, true), 3, 3);
    Robot* other = Put(Make(1, false), 7, 7);
    SetCellContent(world_, &other->cell, ERobot, other);
    const Location empty = {6, 6, 2}, taken = {7, 7, 2}, outside = {12, 3, 2};
    std::string said = Captured([&] {
        RobotWallEffect(r, world_, &taken, 20, 90.0f);
        RobotWallEffect(r, world_, &outside, 20, 90.0f);
    });
    EXPECT_EQ(said, "No wall at (12, 3, 2): off the grid\n");
    EXPECT_EQ(AnimationCount(), 1);
    EXPECT_EQ(RunOut(), 38);
    EXPECT_EQ(At(7, 7), ERobot); // a robot's cell stays its own
    RobotWallEffect(r, world_, &empty, 20, 90.0f);
    for (int tick = 1; tick <= 38; tick++) {
        EXPECT_EQ(At(6, 6), ESolid) << "before tick " << tick;
        Tick();
    }
    EXPECT_EQ(AnimationCount(), 0);
    EXPECT_EQ(At(6, 6), EEmpty);
}

TEST_F(Effects, AVolleysPelletsReachTheTargetAfterFourDrawnFrames) {
    const Vector3 from = {1.5, 1.5, 2.5}, to = {4.5, 3.5, 2.5};
    for (int i = 0; i < 40; i++) {
        StartVolley(&from, &to, 0, &BIG_SHOT_VOLLEY_COLOR, nullptr, nullptr);
        Volley* v = static_cast<Volley*>(Front());
        ASSERT_GE(v->count, MIN_VOLLEY_PELLETS);
        ASSERT_LE(v->count, MAX_VOLLEY_PELLETS);
        for (int frame = 0; frame < 4; frame++)
            AdvanceVolley(v);
        for (int p = 0; p < v->count; p++) {
            const Vector3& at = v->pellets[p].position;
            EXPECT_LE(std::fabs(at.x - to.x), 0.2 + 1e-9);
            EXPECT_LE(std::fabs(at.y - to.y), 0.2 + 1e-9);
            EXPECT_LE(std::fabs(at.z - to.z), 0.2 + 1e-9);
        }
        RunOut();
    }
}

TEST_F(Effects, TheShieldStaysDownWhileTheBattleLasts) {
    Robot* a = Put(Make(0, true), 3, 3);
    Robot* b = Put(Make(1, false), 4, 3);
    a->battle = BATTLE_ELSEWHERE;
    Vector3 centre = {3.5, 3, 2};
    StartBattleShield(a, b, &centre, 1);
    EXPECT_EQ(GetLastSound(), "sounds\\bshielddown.wav");
    Tick(40);
    BattleShield* shield = static_cast<BattleShield*>(Front());
    ASSERT_NE(shield, nullptr);
    EXPECT_EQ(ShieldClipHeight(shield), 0.0); // the whole upper half
    a->battle = nullptr;
    Tick();
    EXPECT_EQ(GetLastSound(), "sounds\\bshieldup.wav");
    EXPECT_EQ(RunOut(), 11);
}

TEST_F(Effects, DamageNumbersShowHpAndEnergyInTheirColours) {
    struct Case {
        int hp, energy;
        std::vector<std::string> texts;
        std::vector<Color> colors;
        std::vector<double> heights;
    };
    const Case cases[] = {
        {-12, 5, {"12", "5"}, {HP_LOSS_COLOR, DAMAGE_GAIN_COLOR}, {0.9, 0.7}},
        {0, 5, {"5"}, {DAMAGE_GAIN_COLOR}, {0.7}},
        {7, -30, {"7", "30"}, {DAMAGE_GAIN_COLOR, ENERGY_LOSS_COLOR}, {0.9, 0.7}},
        {-1, 0, {"1"}, {HP_LOSS_COLOR}, {0.9}},
        {0, 0, {}, {}, {}},
    };
    for (const Case& c : cases) {
        DamageDisplay display = {};
        display.delta.hitPoints = static_cast<int16_t>(c.hp);
        display.delta.energy = static_cast<int16_t>(c.energy);
        DamageLabel labels[2];
        int n = DamageLabels(&display, labels);
        ASSERT_EQ(n, static_cast<int>(c.texts.size())) << c.hp << " " << c.energy;
        for (int i = 0; i < n; i++) {
            EXPECT_EQ(labels[i].text, c.texts[i]);
            EXPECT_EQ(labels[i].color.red, c.colors[i].red);
            EXPECT_EQ(labels[i].color.green, c.colors[i].green);
            EXPECT_EQ(labels[i].height, c.heights[i]);
        }
    }
}

} // namespace
