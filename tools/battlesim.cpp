// battlesim: plays many seeded battles between fresh robots over the game's own battle formulas
// and the shipped data files, and prints how they end, for tuning the data.
//
//   battlesim [--ungated] [FIGHTS [SEED]]
//
// FIGHTS per pairing and order (default 2000), SEED (default 1); --ungated lets a robot use a
// skill whatever energy it has left, as the game did before energy gated the skills.
//
// Every robot starts as a new player does (the class's stats and weapons, four repair kits, an
// energon ore, a magicite, the four first skills), plus every other combat skill the skills file
// holds. The formulas are FightDeltas and SkillDeltas (core/battle.h); energy gates the skills as
// in the game. Each side acts on its own clock: 30 ticks of waiting, then its action's animation
// (weapon shots 4 or 9 ticks, skills 15, items none), the attacker first, the defender after
// turning to face it. A fight still running after 400 actions counts as endless.
//
// Strategies, each played by both sides, then turtle and repair against fight and best and sap
// against turtle:
//   fight   always Fight
//   best    whichever of Fight and the striking skills takes the most HP a tick on average
//   repair  best, but below 35% HP Self-Repair (or a repair kit when the energy is short), and
//           Energy Drain for the energy of the next repair
//   turtle  Self-Repair whenever the energy allows it, else Fight
//   sap     Energy Drain while the opponent could pay for a Self-Repair and its own HP are above
//           half, else best (played against turtle only)
#include "core/battle.h"
#include "core/mainloop.h"
#include "data/item.h"
#include "data/registry.h"
#include "data/skill.h"
#include "data/weapon.h"
#include "render/animations.h"
#include "render/robotmodel.h"
#include "robots/robot.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int MAX_ACTIONS = 400;
constexpr int TURN_TICKS = 12; // the defender's half turn before its wait starts
constexpr int SKILL_TICKS = 15;
constexpr int CLASSES[] = {4000, 4001, 4002};

enum Strategy { EFight, EBest, ERepair, ETurtle, ESap, EStrategies };
const char* STRATEGY_NAMES[] = {"fight", "best", "repair", "turtle", "sap"};

struct Fighter {
    const char* name;
    Stats stats;
    std::vector<const Weapon*> weapons;
    bool firesEveryWeapon;
    int repairKits;
    std::vector<const Skill*> skills; // the combat skills
};

// What one action chose, for the table of choices.
enum Choice { EChoseFight, EChoseKit, EChoseSkill };

std::mt19937 gRandom;
// --ungated: skills may be used with any energy left, as before energy gated them.
bool gGated = true;

bool CanPay(const Fighter& f, const Skill* s) {
    return !gGated || CanPayForSkill(&f.stats, s);
}

// The registry's record of uid, without the message a missing uid prints.
void* LookupUid(int uid) {
    auto* entry = static_cast<RegistryEntry*>(HashTableLookup(gRegistry->table, &uid));
    return entry != nullptr ? entry->object : nullptr;
}

int DrawInt(int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(gRandom);
}
double DrawReal(double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(gRandom);
}

int WeaponTicks(const Weapon* w) {
    return w->uid == PLASMA_GUN_UID ? 9 : 4;
}

// A fresh player's robot of the class, as CreatePlayer makes it, as a fighter.
Fighter FreshFighter(int classUid, int playerId) {
    Robot* robot = CreatePlayer("sim", playerId, classUid);
    Fighter f = {};
    f.name = robot->robotClass->name;
    f.stats = robot->stats;
    for (int i = 0; i < robot->nWeapons; i++)
        f.weapons.push_back(LookupWeapon(gRegistry, robot->weapons[i]));
    f.firesEveryWeapon = classUid != JOHNNY5_CLASS_UID;
    f.repairKits = RobotItemQuantity(robot, REPAIR_ITEM_UID);
    for (int uid = 8000; uid < 8100; uid++) {
        if (LookupUid(uid) == nullptr)
            continue;
        const Skill* s = LookupSkill(gRegistry, uid);
        if (s->usageArea == ECombat || s->usageArea == EWanderingAndCombat)
            f.skills.push_back(s);
    }
    return f;
}

// The average HP a weapon shot takes, over the hit factors and a fine grid of guard factors.
double MeanFightDamage(const Fighter& a, const Fighter& b, const Weapon* w) {
    double sum = 0;
    int n = 0;
    for (int hit = 2; hit <= 8; hit++)
        for (int g = 0; g < 40; g++, n++) {
            BattleDraws d = {hit, 1.0 + 2.5 * (g + 0.5) / 40, 0};
            Stats da, dt;
            FightDeltas(&a.stats, &b.stats, w, &d, &da, &dt);
            sum -= dt.hitPoints;
        }
    return sum / n;
}

double MeanAttackDamage(const Fighter& a, const Fighter& b) {
    double sum = 0;
    for (const Weapon* w : a.weapons)
        sum += MeanFightDamage(a, b, w);
    return a.firesEveryWeapon || a.weapons.empty() ? sum : sum / a.weapons.size();
}

double MeanSkillDamage(const Fighter& a, const Fighter& b, const Skill* s) {
    double sum = 0;
    int n = 0;
    for (int hit = 2; hit <= 8; hit++)
        for (int g = 0; g < 40; g++, n++) {
            BattleDraws d = {hit, 0.5 + 2.0 * (g + 0.5) / 40, 0.45};
            Stats da, dt;
            SkillDeltas(&a.stats, &b.stats, s, &d, &da, &dt);
            sum -= dt.hitPoints;
        }
    return sum / n;
}

const Skill* FindSkill(const Fighter& f, int uid) {
    for (const Skill* s : f.skills)
        if (s->uid == uid && CanPay(f, s))
            return s;
    return nullptr;
}

int AttackTicks(const Fighter& a) {
    int ticks = 0;
    for (const Weapon* w : a.weapons)
        ticks = std::max(ticks, WeaponTicks(w));
    return ticks;
}

// The striking choice: Fight or the skill that takes the most HP a tick on average, counting
// the wait and the animation.
const Skill* BestStrike(const Fighter& a, const Fighter& b) {
    const Skill* best = nullptr;
    double bestRate = MeanAttackDamage(a, b) / (BATTLE_WAIT_TICKS + AttackTicks(a));
    for (const Skill* s : a.skills) {
        if (s->uid == SELF_REPAIR_SKILL_UID || s->uid == ENERGY_DRAIN_SKILL_UID ||
            s->uid == INVISIBILITY_SKILL_UID || !CanPay(a, s))
            continue;
        double rate = MeanSkillDamage(a, b, s) / (BATTLE_WAIT_TICKS + SKILL_TICKS);
        if (rate > bestRate) {
            best = s;
            bestRate = rate;
        }
    }
    return best;
}

struct Outcome {
    int winner; // 0 the attacker, 1 the defender, -1 none (endless)
    int actions;
};

struct Tally {
    long fights = 0, wins[2] = {0, 0}, endless = 0, actions = 0;
    long choices[2][3] = {}; // [fighter][Choice]
    long skillUses[100] = {};
};

// One action of a against b; returns its ticks and counts what it chose.
int Act(Fighter& a, Fighter& b, Strategy strategy, Tally& tally, int side) {
    const Skill* skill = nullptr;
    bool kit = false;
    double hp = static_cast<double>(a.stats.hitPoints) / a.stats.totalHP;
    switch (strategy) {
    case EFight:
        break;
    case EBest:
        skill = BestStrike(a, b);
        break;
    case ERepair: {
        const Skill* repair = nullptr;
        for (const Skill* s : a.skills)
            if (s->uid == SELF_REPAIR_SKILL_UID)
                repair = s;
        if (hp < 0.35) {
            skill = FindSkill(a, SELF_REPAIR_SKILL_UID);
            kit = skill == nullptr && a.repairKits > 0;
        } else if (repair != nullptr && !CanPay(a, repair) && hp > 0.6) {
            skill = FindSkill(a, ENERGY_DRAIN_SKILL_UID);
        }
        if (skill == nullptr && !kit)
            skill = BestStrike(a, b);
        break;
    }
    case ETurtle:
        skill = FindSkill(a, SELF_REPAIR_SKILL_UID);
        break;
    case ESap: {
        const Skill* theirRepair = FindSkill(b, SELF_REPAIR_SKILL_UID);
        if (theirRepair != nullptr && hp > 0.5)
            skill = FindSkill(a, ENERGY_DRAIN_SKILL_UID);
        if (skill == nullptr)
            skill = BestStrike(a, b);
        break;
    }
    default:
        break;
    }
    Stats da = {}, dt = {};
    int ticks = 0;
    if (kit) {
        const Item* item = LookupItem(gRegistry, REPAIR_ITEM_UID);
        da = item->deltaStats;
        a.repairKits--;
        tally.choices[side][EChoseKit]++;
    } else if (skill != nullptr) {
        BattleDraws d = {DrawInt(2, 8), DrawReal(0.5, 2.5), 0};
        if (skill->uid == ENERGY_DRAIN_SKILL_UID)
            d.drainFactor = DrawReal(0.3, 0.6);
        SkillDeltas(&a.stats, &b.stats, skill, &d, &da, &dt);
        ticks = SKILL_TICKS;
        tally.choices[side][EChoseSkill]++;
        tally.skillUses[skill->uid % 100]++;
    } else {
        tally.choices[side][EChoseFight]++;
        std::vector<const Weapon*> fired = a.weapons;
        if (!a.firesEveryWeapon && !fired.empty())
            fired = {fired[DrawInt(0, static_cast<int>(fired.size()) - 1)]};
        for (const Weapon* w : fired) {
            BattleDraws d = {DrawInt(2, 8), DrawReal(1.0, 3.5), 0};
            Stats shotA, shotT;
            FightDeltas(&a.stats, &b.stats, w, &d, &shotA, &shotT);
            AddStats(&b.stats, &shotT);
            ticks = std::max(ticks, WeaponTicks(w));
        }
    }
    AddStats(&a.stats, &da);
    AddStats(&b.stats, &dt);
    return BATTLE_WAIT_TICKS + ticks;
}

Outcome Fight(Fighter a, Fighter b, const Strategy strategy[2], Tally& tally) {
    Fighter* side[2] = {&a, &b};
    long next[2] = {BATTLE_WAIT_TICKS, BATTLE_WAIT_TICKS + TURN_TICKS};
    for (int actions = 1; actions <= MAX_ACTIONS; actions++) {
        int s = next[1] < next[0] ? 1 : 0;
        next[s] += Act(*side[s], *side[1 - s], strategy[s], tally, s);
        if (side[1 - s]->stats.hitPoints < 1)
            return {s, actions};
        if (side[s]->stats.hitPoints < 1)
            return {1 - s, actions};
    }
    return {-1, MAX_ACTIONS};
}

// The robot of the row plays mine, the robot of the column theirs.
void PrintTable(Strategy mine, Strategy theirs, const Fighter* fighters, int count, int fights) {
    std::printf("\nStrategy: %s against %s\n", STRATEGY_NAMES[mine], STRATEGY_NAMES[theirs]);
    std::printf("%-8s %-8s %8s %8s %8s %9s\n", "robot", "against", "wins %", "losses %", "endless%",
                "actions");
    Tally all;
    for (int i = 0; i < count; i++)
        for (int j = 0; j < count; j++) {
            if (i == j)
                continue;
            Tally t;
            // Half the fights with i attacking, half with j attacking.
            for (int order = 0; order < 2; order++)
                for (int n = 0; n < fights; n++) {
                    const Fighter& first = order == 0 ? fighters[i] : fighters[j];
                    const Fighter& second = order == 0 ? fighters[j] : fighters[i];
                    const Strategy strategies[2] = {order == 0 ? mine : theirs,
                                                    order == 0 ? theirs : mine};
                    Outcome o = Fight(first, second, strategies, t);
                    t.fights++;
                    t.actions += o.actions;
                    if (o.winner < 0)
                        t.endless++;
                    else
                        t.wins[(o.winner == 0) == (order == 0) ? 0 : 1]++;
                }
            std::printf("%-8s %-8s %8.1f %8.1f %8.1f %9.1f\n", fighters[i].name, fighters[j].name,
                        100.0 * t.wins[0] / t.fights, 100.0 * t.wins[1] / t.fights,
                        100.0 * t.endless / t.fights, static_cast<double>(t.actions) / t.fights);
            for (int k = 0; k < 100; k++)
                all.skillUses[k] += t.skillUses[k];
            for (int c = 0; c < 3; c++)
                all.choices[0][c] += t.choices[0][c] + t.choices[1][c];
        }
    long total = all.choices[0][0] + all.choices[0][1] + all.choices[0][2];
    std::printf("choices: Fight %.1f%%, repair kit %.1f%%", 100.0 * all.choices[0][0] / total,
                100.0 * all.choices[0][1] / total);
    for (int k = 0; k < 100; k++)
        if (all.skillUses[k] > 0)
            std::printf(", %s %.1f%%", LookupSkill(gRegistry, 8000 + k)->name,
                        100.0 * all.skillUses[k] / total);
    std::printf("\n");
}

// Where each striking skill beats Fight: the mean HP a Fight and each skill take, fresh robot
// against fresh robot.
void PrintMeans(const Fighter* fighters, int count) {
    std::printf("\nMean HP taken by one action, fresh against fresh (Fight | skills)\n");
    for (int i = 0; i < count; i++)
        for (int j = 0; j < count; j++) {
            std::printf("%-8s -> %-8s Fight %6.1f", fighters[i].name, fighters[j].name,
                        MeanAttackDamage(fighters[i], fighters[j]));
            for (const Skill* s : fighters[i].skills)
                if (s->uid != SELF_REPAIR_SKILL_UID && s->uid != ENERGY_DRAIN_SKILL_UID &&
                    s->uid != INVISIBILITY_SKILL_UID)
                    std::printf(" | %s %6.1f (%d EP)", s->name,
                                MeanSkillDamage(fighters[i], fighters[j], s), s->energyCost);
            std::printf("\n");
        }
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--ungated") {
        gGated = false;
        argc--;
        argv++;
    }
    int fights = argc > 1 ? std::atoi(argv[1]) : 2000;
    unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1;
    gRandom.seed(seed);
    // The registry prints every record as it loads; that is not this tool's output.
    std::fflush(stdout);
    int saved = dup(1), null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    InitRegistry();
    Fighter fighters[3];
    for (int i = 0; i < 3; i++)
        fighters[i] = FreshFighter(CLASSES[i], i);
    std::fflush(stdout);
    dup2(saved, 1);
    close(null);
    std::printf("battlesim: %d fights per pairing and order, seed %u\n", fights, seed);
    for (const Fighter& f : fighters)
        std::printf("%-8s HP %d EP %d power %d dexterity %d guard %.1f, %zu weapon(s), %d kits\n",
                    f.name, f.stats.hitPoints, f.stats.energy, f.stats.power, f.stats.dexterity,
                    Guard(&f.stats), f.weapons.size(), f.repairKits);
    PrintMeans(fighters, 3);
    for (int s = 0; s < ESap; s++)
        PrintTable(static_cast<Strategy>(s), static_cast<Strategy>(s), fighters, 3, fights);
    PrintTable(ETurtle, EFight, fighters, 3, fights);
    PrintTable(ERepair, EFight, fighters, 3, fights);
    PrintTable(EBest, ETurtle, fighters, 3, fights);
    PrintTable(ESap, ETurtle, fighters, 3, fights);
    return 0;
}
