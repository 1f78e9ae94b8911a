// A fixture for the robots' tests: the shipped definitions, a small world read from text, the
// sound service (its last effect tells what played), and the game's hooks filled with a
// recorder that keeps every call as one line ("state 3000", "teleport 3000 to 5 9 2").
#pragma once

#include "core/mainloop.h"
#include "net/packets.h"
#include "robots/robot.h"
#include "sound/sound.h"
#include "support/world_support.h"
#include "world/energon.h"
#include "world/gamehooks.h"

// A 12 x 12 deck at height 1 (robots walk at height 2) with a cube at (5, 2), a teleporter
// between (2, 9) and (5, 9), player 0's safe zone around (9, 2), player 1's around (9, 9) and
// a chest holding a repair kit at (2, 5).
inline const char* kRobotWorld = "size:\n12 12\n"
                                 "walls:\n0 0 1:11 11 1 \"none\"\n"
                                 "cubes:\n5 2 2\n"
                                 "teleporters:\n2 9 2:5 9 2\n"
                                 "safe zones:\n0 9 2 2\n1 9 9 2\n"
                                 "chests:\n7000 2 5 2 0\n";

// The hook calls recorded so far.
inline std::vector<std::string> gHookCalls;

template <typename... Args> void RecordCall(const char* format, Args... args) {
    char line[160];
    std::snprintf(line, sizeof line, format, args...);
    gHookCalls.push_back(line);
}

// The recorded calls whose line starts with kind.
inline std::vector<std::string> Calls(const std::string& kind) {
    std::vector<std::string> out;
    for (const std::string& call : gHookCalls)
        if (call.compare(0, kind.size(), kind) == 0)
            out.push_back(call);
    return out;
}

// The game's hooks as a recorder: each call becomes a line and nothing else happens.
inline GameHooks RecorderHooks() {
    GameHooks h = SilentHooks();
    h.announceEnergon = [](const Energon* e) { RecordCall("energon %d", e->id); };
    h.sendState = [](Robot* r) { RecordCall("state %d", r->uid); };
    h.teleport = [](Robot* r, World*) {
        RecordCall("teleport %d to %d %d %d", r->uid, r->targetCell.x, r->targetCell.y,
                   r->targetCell.z);
    };
    h.raiseWall = [](Robot* r, World*, const Location* c, int hold, int facing) {
        RecordCall("wall %d at %d %d %d for %d facing %d", r->uid, c->x, c->y, c->z, hold, facing);
    };
    h.smoke = [](Robot* r, World*, int ticks) { RecordCall("smoke %d for %d", r->uid, ticks); };
    h.sonar = [](Robot* r, const Color* c, const Color*, double radius, int ticks) {
        RecordCall("sonar %d radius %.1f over %d red %.1f", r->uid, radius, ticks, c->red);
    };
    h.showMessage = [](const char* text) { RecordCall("message %s", text); };
    h.cameraFollows = [](const Robot* r, bool turned) {
        RecordCall("camera %d%s", r->uid, turned ? " turned" : "");
    };
    h.challenge = [](Robot* r, int32_t to) { RecordCall("challenge %d %d", r->uid, to); };
    h.accept = [](Robot* r, int32_t from) { RecordCall("accept %d %d", r->uid, from); };
    h.battleOver = [](const Robot* l, int32_t w) { RecordCall("over %d to %d", l->uid, w); };
    return h;
}

// Prints the values in their order, for a step to tell what it saw.
inline void Say(std::initializer_list<int> values) {
    for (int value : values)
        std::printf("%d ", value);
}

// What one step did to the robot, in one line: what it printed, where it stands and faces, its
// hit points below their total, energy and abilities (power dexterity evade stamina defense), its
// weapons, skills and the items it holds, the last sound and the hook calls since the last step.
inline std::string Step(Robot* r, void (*step)(Robot*)) {
    std::string out = Captured([&] { step(r); });
    const Stats& s = r->stats;
    char line[160];
    std::snprintf(line, sizeof line, "at %g %g %d -%d hp %d en %d %d %d %d %d |", r->position.x,
                  r->position.y, r->facing, s.totalHP - s.hitPoints, s.energy, s.power, s.dexterity,
                  s.evade, s.stamina, s.defense);
    out += line;
    for (int i = 0; i < r->nWeapons; i++)
        out += " w" + std::to_string(r->weapons[i]);
    for (int i = 0; i < DArrayLength(r->skills); i++)
        out += " s" + std::to_string(*static_cast<int32_t*>(DArrayNth(r->skills, i)));
    for (int uid = 6000; uid < 7010; uid += uid == 6001 ? 999 : 1)
        if (RobotItemQuantity(r, uid) > 0)
            out += " " + std::to_string(uid) + "x" + std::to_string(RobotItemQuantity(r, uid));
    out += " | " + GetLastSound();
    for (const std::string& call : gHookCalls)
        out += " | " + call;
    gHookCalls.clear();
    return out;
}

class RobotTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        Captured([] { LoadRegistry(gRegistry); });
        world_ = gWorld = Load(kRobotWorld);
        InitSound();
        gHooks = RecorderHooks();
        gHookCalls.clear();
    }
    // Every robot the registry holds is freed, whoever made it (freeing an inventory lists what
    // it held).
    void TearDown() override {
        gHooks = SilentHooks();
        ShutdownSound();
        gWorld = nullptr;
        gPlayerRobot = nullptr;
        gLocalRobotUid = 0;
        Captured([] {
            for (int uid = ROBOT_UID_BASE; uid < ROBOT_UID_BASE + 40; uid++)
                FreeRobot(LookupRobot(gRegistry, uid));
        });
        WorldTest::TearDown();
    }

    // A robot of the class with that index, registered as the game does.
    Robot* Make(int index, bool local, int classUid = 4002) {
        Robot* r = NewRobot(LookupRobotClass(gRegistry, classUid), index, local ? 1 : 0);
        if (!local)
            RegisterRobot(gRegistry, r, r->uid);
        return r;
    }

    // Places the robot in the world (its slot) and then stands it on (x, y, 2) facing facing.
    Robot* Put(Robot* r, int x, int y, int facing = 0) {
        Captured([&] { PlaceRobotInWorld(r, world_->uid); });
        r->cell = {x, y, 2};
        r->position = {static_cast<double>(x), static_cast<double>(y), 2.0};
        r->facing = facing;
        r->stats.energy = 100;
        return r;
    }

    // Ticks the robot until it has no move left (at most 50 ticks); returns how many of the
    // ticks showed a change.
    static int TicksUntilIdle(Robot* r) {
        int ticks = 0, changed = 0;
        do
            changed += RobotUpdate(r);
        while ((r->currentMove != 0 || PeekMove(r) != 0) && ++ticks < 50);
        return changed;
    }

    Robot* RobotAt(int x, int y) {
        Location loc = {x, y, 2};
        return GetRobotAt(world_, &loc);
    }
    using Triple = std::tuple<int, int, int>;
    static Triple CellOf(const Robot* r) { return {r->cell.x, r->cell.y, r->cell.z}; }

    World* world_ = nullptr;
};
