// A fixture for the animations' and models' tests: the robots' world and registry, a fresh
// animation manager, and every hook the effects call recorded instead of reaching the camera,
// the battle or the network.
#pragma once

#include "core/inbound.h"
#include "render/animationmanager.h"
#include "render/animations.h"
#include "render/robotmodel.h"
#include "support/robot_support.h"

struct HookLog {
    std::vector<double> revealRadii; // each reveal sphere set
    int revealsCleared = 0, firstPerson = -1;
    Vector3 eye = {0, 0, 0}, look = {0, 0, 0};
    std::string results; // "fight 5000 at 3001, skill 8001 at 3001"
    std::vector<AnimationPacket> sent;
};

inline HookLog& Hooks() {
    static HookLog log;
    return log;
}

inline void Result(const char* what, const Robot* target, int uid) {
    std::string& all = Hooks().results;
    all += (all.empty() ? "" : ", ") + std::string(what) + " " + std::to_string(uid) + " at " +
           std::to_string(target->uid);
}

inline AnimationHooks RecordingHooks() {
    AnimationHooks h = SilentAnimationHooks();
    h.setRevealSphere = [](const Vector3*, double r) { Hooks().revealRadii.push_back(r); };
    h.clearRevealSphere = [] { Hooks().revealsCleared++; };
    h.getEyeOffset = [] { return &Hooks().eye; };
    h.getLookOffset = [] { return &Hooks().look; };
    h.setEyeOffset = [](const Vector3* v) { Hooks().eye = *v; };
    h.setLookOffset = [](const Vector3* v) { Hooks().look = *v; };
    h.setFirstPerson = [](int on) { Hooks().firstPerson = on; };
    h.fight = [](Robot*, Robot* t, int uid) { Result("fight", t, uid); };
    h.useSkill = [](Robot*, Robot* t, int uid) { Result("skill", t, uid); };
    return h;
}

// The first running animation's data, or null.
template <typename T = void> T* Front() {
    return static_cast<T*>(gAnimationMgr->head->next != nullptr ? gAnimationMgr->head->next->data
                                                                : nullptr);
}

// A battle's start as another copy sends it, with the sender's name and HP.
inline std::vector<uint8_t> BattleStart(uint8_t sub, uint32_t from, uint32_t to,
                                        const char* name = "Ann", int hp = 0) {
    BattleStartPacket p = {0, sub, from, 0, to, {}, {}};
    std::snprintf(p.name, sizeof p.name, "%s", name);
    p.stats.hitPoints = p.stats.totalHP = static_cast<int16_t>(hp);
    return Wire(EncodeBattleStart, p);
}

// A battle's end as another copy sends it.
inline std::vector<uint8_t> BattleOver(uint32_t loser, uint32_t winner) {
    return Wire(EncodeBattleOver, BattleOverPacket{0, loser, winner});
}

// A datagram reaching this copy: whether it changed the game; what it printed goes to *said.
inline bool Receive(const std::vector<uint8_t>& b, std::string* said = nullptr) {
    bool changed = false;
    std::string out = Captured([&] { changed = HandlePacket(b.data(), b.size()); });
    if (said != nullptr)
        *said = out;
    return changed;
}

// A datagram (none when empty) reaching this copy, in a line: "+" when it changed the game, who is
// in this copy's battle (E), in one elsewhere (X) or in none (-), and " dropped" when it was.
template <typename Robots>
std::string Seen(const std::vector<uint8_t>& wire, const Robots& robots) {
    std::string said, seen = !wire.empty() && Receive(wire, &said) ? "+" : "";
    for (const Robot* r : robots)
        seen += !r->battle ? '-' : r->battle == BATTLE_ELSEWHERE ? 'X' : 'E';
    return seen + (said.starts_with("Dropped") ? " dropped" : "");
}

class AnimationTest : public RobotTest {
  protected:
    void SetUp() override {
        RobotTest::SetUp();
        InitAnimationManager();
        Hooks() = HookLog{};
        gAnimationHooks = RecordingHooks();
        gHooks.animation = [](Robot* r, const Robot* t, uint32_t type, uint32_t value) {
            Hooks().sent.push_back({0, static_cast<uint32_t>(r->uid), 0, type,
                                    static_cast<uint32_t>(t->uid), value, 0, 0, 0, 0});
        };
        gAnimationDrawers = {};
    }
    void TearDown() override {
        RunOut();
        FreeAnimationManager();
        gAnimationHooks = SilentAnimationHooks();
        gAnimationDrawers = {};
        RobotTest::TearDown();
    }

    int At(int x, int y) { return Content(world_, x, y, 2); }
    // Ticks until no animation runs (at most limit ticks); returns the count.
    static int RunOut(int limit = 200) {
        int ticks = 0;
        for (; AnimationCount() > 0 && ticks < limit; ticks++)
            Tick();
        return ticks;
    }
    static void Tick(int n = 1) {
        for (int i = 0; i < n; i++)
            Captured([] { AdvanceAnimations(); });
    }
};
