// battlesim: plays many seeded battles between fresh robots over the game's own battle formulas
// and the shipped data files, and prints how they end, for tuning the data.
//
//   battlesim [--search | --situations] [--ungated] [FIGHTS [SEED]]
//
// FIGHTS per pairing and order (default 2000), SEED (default 1); --ungated lets a robot use a
// skill whatever energy it has left, as the game did before energy gated the skills.
// --situations prints only the table of moments where each action is the best choice (FIGHTS
// per action); --search looks for such moments on a coarse grid (try FIGHTS 150).
//
// Every robot starts as a new player does (the class's stats and weapons, four repair kits, an
// energon ore, a magicite, the four first skills), plus every other combat skill the skills file
// holds. The formulas are FightDeltas and SkillDeltas (core/battle.h); energy gates the skills as
// in the game. Each side acts on its own clock: 30 ticks of waiting, then its action's animation
// (weapon shots 4 or 9 ticks, skills 15, items none), the attacker first, the defender after
// turning to face it. A fight still running after 400 actions counts as endless. Each table
// gives the share of every choice in the row robot's actions.
//
// Last, for each action, a moment of a fight (HP, energy and repair kits of both robots) where
// it is the best next action: the one after which the robot wins most often, both robots
// playing repair from then on.
//
// Strategies, each played by both sides, then turtle and repair against fight, best, repair and
// sap against turtle, and sap against repair:
//   fight   always Fight
//   best    whichever of Fight, the striking skills and Energy Drain is worth the most HP a tick
//           on average, their lasting marks counted over the rest of the fight (Worth)
//   repair  best, but below 35% HP Self-Repair (or a repair kit when the energy is short), and
//           Energy Drain for the energy of the next repair
//   turtle  Self-Repair whenever the energy allows it, else Fight
//   sap     Energy Drain when it leaves the opponent short of the energy for its next Self-Repair
//           (and its own HP are above 35%), else repair (played against turtle and repair)
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
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <string>
#include <unordered_map>
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
    int forced = -1; // the uid of the skill its next action uses whatever its strategy (0 Fight)
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

// An action's changes to both robots, averaged over the hit factors and a fine grid of guard
// factors from lo to hi (the drain share at its middle): HP and EP are the means, rounded; the
// other fields are the skill's own lasting marks.
struct MeanDeltas {
    Stats actor, target;
};

template <typename Deltas> MeanDeltas Average(double lo, double hi, Deltas deltas) {
    double sum[4] = {0, 0, 0, 0};
    int n = 0;
    MeanDeltas m = {};
    for (int hit = 2; hit <= 8; hit++)
        for (int g = 0; g < 40; g++, n++) {
            BattleDraws d = {hit, lo + (hi - lo) * (g + 0.5) / 40, 0.45};
            deltas(&d, &m.actor, &m.target);
            sum[0] += m.actor.hitPoints;
            sum[1] += m.actor.energy;
            sum[2] += m.target.hitPoints;
            sum[3] += m.target.energy;
        }
    m.actor.hitPoints = static_cast<int16_t>(std::lround(sum[0] / n));
    m.actor.energy = static_cast<int16_t>(std::lround(sum[1] / n));
    m.target.hitPoints = static_cast<int16_t>(std::lround(sum[2] / n));
    m.target.energy = static_cast<int16_t>(std::lround(sum[3] / n));
    return m;
}

// The means depend only on the actor's power and dexterity, the target's guard and the action.
std::unordered_map<uint64_t, MeanDeltas> gMeans;

uint64_t MeansKey(const Stats& a, const Stats& b, int action) {
    const int8_t fields[] = {a.power, a.dexterity, b.dexterity, b.evade, b.stamina, b.defense};
    uint64_t key = static_cast<uint64_t>(action);
    for (int8_t f : fields)
        key = key << 8 | static_cast<uint8_t>(f);
    return key;
}

// The means of the action uid (a weapon's or a skill's) with the guard factors lo to hi.
template <typename Deltas>
const MeanDeltas& Cached(const Stats& a, const Stats& b, int uid, double lo, double hi,
                         Deltas deltas) {
    auto [it, fresh] = gMeans.try_emplace(MeansKey(a, b, uid), MeanDeltas{});
    if (fresh)
        it->second = Average(lo, hi, deltas);
    return it->second;
}

const MeanDeltas& MeanShot(const Stats& a, const Stats& b, const Weapon* w) {
    return Cached(a, b, w->uid, 1.0, 3.5, [&](const BattleDraws* d, Stats* da, Stats* dt) {
        FightDeltas(&a, &b, w, d, da, dt);
    });
}

const MeanDeltas& MeanSkill(const Stats& a, const Stats& b, const Skill* s) {
    return Cached(a, b, s->uid, 0.5, 2.5, [&](const BattleDraws* d, Stats* da, Stats* dt) {
        SkillDeltas(&a, &b, s, d, da, dt);
    });
}

double MeanAttackDamage(const Fighter& a, const Stats& as, const Stats& bs) {
    double sum = 0;
    for (const Weapon* w : a.weapons)
        sum -= MeanShot(as, bs, w).target.hitPoints;
    return a.firesEveryWeapon || a.weapons.empty() ? sum : sum / a.weapons.size();
}

double MeanAttackDamage(const Fighter& a, const Fighter& b) {
    return MeanAttackDamage(a, a.stats, b.stats);
}

double MeanSkillDamage(const Fighter& a, const Fighter& b, const Skill* s) {
    return -MeanSkill(a.stats, b.stats, s).target.hitPoints;
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

bool Strikes(const Skill* s) {
    return s->uid != SELF_REPAIR_SKILL_UID && s->uid != ENERGY_DRAIN_SKILL_UID &&
           s->uid != INVISIBILITY_SKILL_UID;
}

bool Affords(const Stats& st, const Skill* s) {
    return !gGated || CanPayForSkill(&st, s);
}

// The most HP a tick a robot with the stats as takes from one with bs, by Fight or the striking
// skill it can pay for.
double BestRate(const Fighter& a, const Stats& as, const Stats& bs) {
    double best = MeanAttackDamage(a, as, bs) / (BATTLE_WAIT_TICKS + AttackTicks(a));
    for (const Skill* s : a.skills)
        if (Strikes(s) && Affords(as, s))
            best = std::max(best, -MeanSkill(as, bs, s).target.hitPoints /
                                      static_cast<double>(BATTLE_WAIT_TICKS + SKILL_TICKS));
    return best;
}

// What an action is worth to a against b, in HP a tick: the HP it takes, less the HP it costs
// the user, plus what its lasting marks are worth for the rest of the fight (a's later blows
// against the changed guard and with any energy won, b's later blows with its changed power
// and energy, counted over the time a still needs to finish b), plus a repair it denies b, by
// how hurt b is. A skill of null is Fight.
double Worth(const Fighter& a, const Fighter& b, const Skill* skill) {
    MeanDeltas m = {};
    int ticks = BATTLE_WAIT_TICKS;
    if (skill == nullptr) {
        m.target.hitPoints = static_cast<int16_t>(-std::lround(MeanAttackDamage(a, b)));
        ticks += AttackTicks(a);
    } else {
        m = MeanSkill(a.stats, b.stats, skill);
        ticks += SKILL_TICKS;
    }
    Stats as = a.stats, bs = b.stats;
    AddStats(&as, &m.actor);
    AddStats(&bs, &m.target);
    // The energy an action spends buys that action; only energy won counts again later.
    as.energy = std::max(as.energy, a.stats.energy);
    double damage = std::min<double>(-m.target.hitPoints, b.stats.hitPoints); // no overkill
    double rate = BestRate(a, a.stats, b.stats);
    double rest = std::max(0.0, (b.stats.hitPoints - damage) / rate);
    double theirs = damage >= b.stats.hitPoints ? 0 : rest + ticks;
    double worth = damage + m.actor.hitPoints + rest * (BestRate(a, as, bs) - rate) -
                   theirs * (BestRate(b, bs, as) - BestRate(b, b.stats, a.stats));
    for (const Skill* s : b.skills)
        if (s->uid == SELF_REPAIR_SKILL_UID && Affords(b.stats, s) && !Affords(bs, s))
            worth += MeanSkill(b.stats, b.stats, s).actor.hitPoints *
                     (1.0 - static_cast<double>(bs.hitPoints) / bs.totalHP);
    return worth / ticks;
}

// The choice of the best strategy: Fight or the combat skill (a strike or Energy Drain) worth
// the most HP a tick.
const Skill* BestStrike(const Fighter& a, const Fighter& b) {
    const Skill* best = nullptr;
    double bestWorth = Worth(a, b, nullptr);
    for (const Skill* s : a.skills) {
        if (s->uid == SELF_REPAIR_SKILL_UID || s->uid == INVISIBILITY_SKILL_UID || !CanPay(a, s))
            continue;
        double worth = Worth(a, b, s);
        if (worth > bestWorth) {
            best = s;
            bestWorth = worth;
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
    long choices[2][3] = {};     // [0 the robot of the row, 1 its opponent][Choice]
    long skillUses[2][100] = {}; // [the same][skill uid - 8000]
};

// One action of a against b; returns its ticks and counts what it chose.
int Act(Fighter& a, Fighter& b, Strategy strategy, Tally& tally, int side) {
    const Skill* skill = nullptr;
    bool kit = false;
    double hp = static_cast<double>(a.stats.hitPoints) / a.stats.totalHP;
    if (a.forced >= 0) {
        skill = a.forced > 0 ? LookupSkill(gRegistry, a.forced) : nullptr;
        a.forced = -1;
        strategy = EStrategies; // nothing more to choose
    }
    switch (strategy) {
    case EFight:
        break;
    case EBest:
        skill = BestStrike(a, b);
        break;
    case ESap: {
        // Energy Drain when the drain leaves the opponent short of its next repair.
        const Skill* drain = FindSkill(a, ENERGY_DRAIN_SKILL_UID);
        const Skill* theirs = FindSkill(b, SELF_REPAIR_SKILL_UID);
        if (drain != nullptr && theirs != nullptr && hp > 0.35 &&
            b.stats.energy + MeanSkill(a.stats, b.stats, drain).target.energy < theirs->energyCost)
            skill = drain;
        if (skill != nullptr)
            break;
        [[fallthrough]];
    }
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
        tally.skillUses[side][skill->uid % 100]++;
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

// rowSide is the side of the robot whose choices count as the row's.
Outcome Fight(Fighter a, Fighter b, const Strategy strategy[2], Tally& tally, int rowSide) {
    Fighter* side[2] = {&a, &b};
    long next[2] = {BATTLE_WAIT_TICKS, BATTLE_WAIT_TICKS + TURN_TICKS};
    for (int actions = 1; actions <= MAX_ACTIONS; actions++) {
        int s = next[1] < next[0] ? 1 : 0;
        next[s] += Act(*side[s], *side[1 - s], strategy[s], tally, s == rowSide ? 0 : 1);
        if (side[1 - s]->stats.hitPoints < 1)
            return {s, actions};
        if (side[s]->stats.hitPoints < 1)
            return {1 - s, actions};
    }
    return {-1, MAX_ACTIONS};
}

// The share of each choice in one robot's (or every robot's) actions, as a line.
std::string ChoiceShares(const char* label, const long choices[3], const long skillUses[100]) {
    long total = choices[EChoseFight] + choices[EChoseKit] + choices[EChoseSkill];
    char line[512];
    int n = std::snprintf(line, sizeof line, "%s: Fight %.1f%%, repair kit %.1f%%", label,
                          100.0 * choices[EChoseFight] / total, 100.0 * choices[EChoseKit] / total);
    for (int k = 0; k < 100 && n < static_cast<int>(sizeof line); k++)
        if (skillUses[k] > 0)
            n +=
                std::snprintf(line + n, sizeof line - n, ", %s %.1f%%",
                              LookupSkill(gRegistry, 8000 + k)->name, 100.0 * skillUses[k] / total);
    std::snprintf(line + std::min<int>(n, sizeof line - 2), 2, "\n");
    return line;
}

// The robot of the row plays mine, the robot of the column theirs.
void PrintTable(Strategy mine, Strategy theirs, const Fighter* fighters, int count, int fights) {
    std::printf("\nStrategy: %s against %s\n", STRATEGY_NAMES[mine], STRATEGY_NAMES[theirs]);
    std::printf("%-8s %-8s %8s %8s %8s %9s\n", "robot", "against", "wins %", "losses %", "endless%",
                "actions");
    Tally all;
    std::vector<std::string> rows;
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
                    Outcome o = Fight(first, second, strategies, t, order);
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
            for (int side = 0; side < 2; side++) {
                for (int k = 0; k < 100; k++)
                    all.skillUses[0][k] += t.skillUses[side][k];
                for (int c = 0; c < 3; c++)
                    all.choices[0][c] += t.choices[side][c];
            }
            char label[40];
            std::snprintf(label, sizeof label, "  %s's choices", fighters[i].name);
            rows.push_back(ChoiceShares(label, t.choices[0], t.skillUses[0]));
        }
    for (const std::string& row : rows)
        std::printf("%s", row.c_str());
    std::printf("%s", ChoiceShares("choices", all.choices[0], all.skillUses[0]).c_str());
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
                if (Strikes(s))
                    std::printf(" | %s %6.1f (%d EP)", s->name,
                                MeanSkillDamage(fighters[i], fighters[j], s), s->energyCost);
            std::printf("\n");
        }
}

// A moment of a fight: the robot of the class first acts next, with the HP (share of its total)
// and energy given, against the second.
struct Situation {
    int first, second; // indices into the fighters
    double hp[2];
    int energy[2];
    int kits[2];
};

Fighter InSituation(const Fighter& f, double hp, int energy, int kits) {
    Fighter g = f;
    g.repairKits = kits;
    g.stats.hitPoints = static_cast<int16_t>(std::lround(hp * f.stats.totalHP));
    g.stats.energy = static_cast<int16_t>(energy);
    return g;
}

// The first robot's wins in % when its next action is the skill uid (0 Fight) and both play
// repair from then on.
double WinsAfter(const Fighter* fighters, const Situation& s, int uid, int fights) {
    const Strategy strategies[2] = {ERepair, ERepair};
    long wins = 0;
    Tally t;
    for (int n = 0; n < fights; n++) {
        Fighter a = InSituation(fighters[s.first], s.hp[0], s.energy[0], s.kits[0]);
        Fighter b = InSituation(fighters[s.second], s.hp[1], s.energy[1], s.kits[1]);
        a.forced = uid;
        wins += Fight(a, b, strategies, t, 0).winner == 0;
    }
    return 100.0 * wins / fights;
}

// The actions the first robot of a situation can take: Fight and the combat skills it can pay.
std::vector<int> Choices(const Fighter& f, int energy) {
    std::vector<int> uids = {0};
    for (const Skill* s : f.skills)
        if (energy >= s->energyCost)
            uids.push_back(s->uid);
    return uids;
}

const char* ChoiceName(int uid) {
    return uid == 0 ? "Fight" : LookupSkill(gRegistry, uid)->name;
}

void PrintSituation(const Fighter* fighters, const Situation& s, int fights) {
    std::printf("%-6s HP %3.0f%% EP %3d kits %d v %-6s HP %3.0f%% EP %3d kits %d:",
                fighters[s.first].name, 100 * s.hp[0], s.energy[0], s.kits[0],
                fighters[s.second].name, 100 * s.hp[1], s.energy[1], s.kits[1]);
    int best = 0;
    double bestWins = -1;
    for (int uid : Choices(fighters[s.first], s.energy[0])) {
        double wins = WinsAfter(fighters, s, uid, fights);
        std::printf(" %s %.1f", ChoiceName(uid), wins);
        if (wins > bestWins) {
            best = uid;
            bestWins = wins;
        }
    }
    std::printf(" -> %s\n", ChoiceName(best));
}

// Moments where each action is the best choice (found with --search, checked here), the robots
// indexed Hover 0, Dalek 1, Johnny 2.
const Situation SITUATIONS[] = {
    {1, 0, {1.0, 1.0}, {160, 150}, {4, 4}}, // fresh Dalek against fresh Hover: Fight
    {2, 1, {0.2, 0.7}, {60, 20}, {0, 0}},   // Self-Repair
    {1, 1, {1.0, 1.0}, {20, 20}, {4, 4}},   // Star Strike
    {1, 0, {1.0, 0.8}, {10, 50}, {0, 0}},   // Energy Drain
    {1, 1, {1.0, 1.0}, {40, 10}, {4, 4}},   // Arc Lance
    {1, 1, {1.0, 1.0}, {150, 60}, {4, 4}},  // Ball Storm
    {2, 1, {0.2, 0.4}, {60, 10}, {0, 0}},   // Nova Burst
    {1, 0, {1.0, 1.0}, {10, 10}, {4, 4}},   // Ice Orbs
};

void PrintSituations(const Fighter* fighters, int fights) {
    std::printf("\nThe first robot's wins %% by its next action, both playing repair after it\n");
    for (const Situation& s : SITUATIONS)
        PrintSituation(fighters, s, fights);
}

// For every action, the moment on a coarse grid where it beats the other actions by most.
void SearchSituations(const Fighter* fighters, int fights) {
    std::vector<int> uids = Choices(fighters[0], 1000);
    std::vector<double> margin(uids.size(), -1000);
    std::vector<Situation> where(uids.size());
    const double hps[] = {1.0, 0.7, 0.4, 0.2};
    const int energies[] = {150, 60, 40, 20, 10};
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            for (double h0 : hps)
                for (double h1 : hps)
                    for (int e0 : energies)
                        for (int e1 : energies)
                            for (int kits : {4, 0}) {
                                Situation s = {i,
                                               j,
                                               {h0, h1},
                                               {std::min<int>(e0, fighters[i].stats.totalEnergy),
                                                std::min<int>(e1, fighters[j].stats.totalEnergy)},
                                               {kits, kits}};
                                std::vector<int> can = Choices(fighters[i], s.energy[0]);
                                std::vector<double> wins;
                                for (int uid : can)
                                    wins.push_back(WinsAfter(fighters, s, uid, fights));
                                for (size_t k = 0; k < can.size(); k++) {
                                    double others = -1;
                                    for (size_t l = 0; l < can.size(); l++)
                                        if (l != k)
                                            others = std::max(others, wins[l]);
                                    for (size_t u = 0; u < uids.size(); u++)
                                        if (uids[u] == can[k] && wins[k] - others > margin[u]) {
                                            margin[u] = wins[k] - others;
                                            where[u] = s;
                                        }
                                }
                            }
    for (size_t u = 0; u < uids.size(); u++) {
        std::printf("%s by %.1f: ", ChoiceName(uids[u]), margin[u]);
        PrintSituation(fighters, where[u], fights);
    }
}

} // namespace

int main(int argc, char** argv) {
    bool search = argc > 1 && std::string(argv[1]) == "--search";
    if (search) {
        argc--;
        argv++;
    }
    bool situations = argc > 1 && std::string(argv[1]) == "--situations";
    if (situations) {
        argc--;
        argv++;
    }
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
    if (search) {
        SearchSituations(fighters, fights);
        return 0;
    }
    if (situations) {
        PrintSituations(fighters, fights);
        return 0;
    }
    PrintMeans(fighters, 3);
    for (int s = 0; s < ESap; s++)
        PrintTable(static_cast<Strategy>(s), static_cast<Strategy>(s), fighters, 3, fights);
    PrintTable(ETurtle, EFight, fighters, 3, fights);
    PrintTable(ERepair, EFight, fighters, 3, fights);
    PrintTable(EBest, ETurtle, fighters, 3, fights);
    PrintTable(ERepair, ETurtle, fighters, 3, fights);
    PrintTable(ESap, ETurtle, fighters, 3, fights);
    PrintTable(ESap, ERepair, fighters, 3, fights);
    PrintSituations(fighters, fights);
    return 0;
}
