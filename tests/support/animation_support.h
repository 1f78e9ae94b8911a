// A fixture for the animations' and models' tests: the robots' world and registry, a fresh
// animation manager, and every hook the effects call recorded instead of reaching the camera,
// the battle or the network.
#pragma once

#include "net/packets.h"
#include "render/animationmanager.h"
#include "render/animations.h"
#include "render/robotmodel.h"
#include "support/robot_support.h"

#include <string>
#include <vector>

struct HookLog {
    std::vector<std::pair<Vector3, double>> reveals; // each reveal sphere set
    int revealsCleared = 0;
    Vector3 eye = {0, 0, 0};
    Vector3 look = {0, 0, 0};
    int firstPerson = -1;
    std::vector<std::string> results;         // "fight 5000", "skill 8001"
    std::vector<std::pair<int, int>> parties; // actor and target uid of each result
    std::vector<AnimationPacket> sent;
};

inline HookLog& Hooks() {
    static HookLog log;
    return log;
}

inline AnimationHooks RecordingHooks() {
    AnimationHooks h = SilentAnimationHooks();
    h.setRevealSphere = [](const Vector3* c, double r) { Hooks().reveals.push_back({*c, r}); };
    h.clearRevealSphere = [] { Hooks().revealsCleared++; };
    h.getEyeOffset = [] { return &Hooks().eye; };
    h.getLookOffset = [] { return &Hooks().look; };
    h.setEyeOffset = [](const Vector3* v) { Hooks().eye = *v; };
    h.setLookOffset = [](const Vector3* v) { Hooks().look = *v; };
    h.setFirstPerson = [](int on) { Hooks().firstPerson = on; };
    h.fight = [](Robot* a, Robot* t, int uid) {
        Hooks().results.push_back("fight " + std::to_string(uid));
        Hooks().parties.push_back({a->uid, t->uid});
    };
    h.useSkill = [](Robot* a, Robot* t, int uid) {
        Hooks().results.push_back("skill " + std::to_string(uid));
        Hooks().parties.push_back({a->uid, t->uid});
    };
    h.sendAnimation = [](Robot* r, const Robot* t, uint32_t type, uint32_t value) {
        AnimationPacket p = {};
        p.robotUid = static_cast<uint32_t>(r->uid);
        p.targetUid = t != nullptr ? static_cast<uint32_t>(t->uid) : 0;
        p.type = type;
        p.value = value;
        Hooks().sent.push_back(p);
        return true;
    };
    return h;
}

class AnimationTest : public RobotTest {
  protected:
    void SetUp() override {
        RobotTest::SetUp();
        InitAnimationManager();
        Hooks() = HookLog{};
        savedHooks_ = gAnimationHooks;
        gAnimationHooks = RecordingHooks();
        savedDrawers_ = gAnimationDrawers;
        gAnimationDrawers = {};
    }
    void TearDown() override {
        RunOut();
        FreeAnimationManager();
        gAnimationHooks = savedHooks_;
        gAnimationDrawers = savedDrawers_;
        RobotTest::TearDown();
    }

    // Ticks until no animation runs (at most limit ticks); returns the count.
    static int RunOut(int limit = 200) {
        int ticks = 0;
        while (AnimationCount() > 0 && ticks < limit) {
            Captured([] { AdvanceAnimations(); });
            ticks++;
        }
        return ticks;
    }
    // Ticks n times.
    static void Tick(int n = 1) {
        for (int i = 0; i < n; i++)
            Captured([] { AdvanceAnimations(); });
    }

    AnimationHooks savedHooks_ = {};
    AnimationDrawers savedDrawers_ = {};
};
