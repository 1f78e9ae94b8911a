// energon: deposit life cycle, placement, pick-up, expiry and the deposits other copies announce.
#include "world/energon.h"

#include "foundation/refusals.h"
#include "foundation/assertion.h"
#include "foundation/darray.h"
#include "foundation/utilities.h"
#include "world/gamehooks.h"
#include "world/world.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

static EnergonListReleaser gListReleaser = NULL;
static long gBroadcasts = 0;

Energon* NewEnergon(uint16_t id, int x, int y, int z, int crystals) {
    Energon* energon = static_cast<Energon*>(SafeMalloc(sizeof(Energon)));
    energon->id = id;
    energon->x = x;
    energon->y = y;
    energon->z = z;
    energon->crystalLists = -1;
    energon->crystals = crystals;
    energon->stage = 1;
    energon->growing = 1;
    return energon;
}

Energon* NewRandomEnergon(uint16_t id, int x, int y, int z) {
    return NewEnergon(id, x, y, z, RandomInt(ENERGON_MIN_CRYSTALS, ENERGON_MAX_CRYSTALS));
}

void SetEnergonListReleaser(EnergonListReleaser releaser) {
    gListReleaser = releaser;
}

void FreeEnergon(Energon* energon) {
    if (energon == NULL)
        return;
    if (energon->crystalLists != -1 && gListReleaser != NULL)
        gListReleaser(energon);
    std::free(energon);
}

static bool RedrawStage(int stage) {
    return stage % ENERGON_REDRAW_STAGES == 0;
}

bool EnergonTick(Energon* energon) {
    if (energon->growing) {
        if (energon->stage < ENERGON_MAX_STAGE)
            return RedrawStage(++energon->stage);
        energon->growing = 0;
        return false;
    }
    if (energon->stage > 1)
        return RedrawStage(--energon->stage);
    return false;
}

bool EnergonFinished(const Energon* energon) {
    return !energon->growing && energon->stage < 2;
}

int EnergonAmount(const Energon* energon) {
    // stage / 500 * crystals rounded half away from zero, in whole numbers: both are positive.
    long twice = 2L * energon->stage * energon->crystals;
    return static_cast<int>((twice + ENERGON_MAX_STAGE) / (2L * ENERGON_MAX_STAGE));
}

// ---- the table ------------------------------------------------------------------------------

static uint16_t IdOf(const void* elemOrKey) {
    uint16_t id;
    std::memcpy(&id, elemOrKey, sizeof id);
    return id;
}

static int EnergonHash(const void* elemOrKey) {
    return IdOf(elemOrKey) % ENERGON_BUCKETS;
}

static int EnergonCompare(const void* key, const void* elem) {
    return static_cast<int>(IdOf(key)) - static_cast<int>(IdOf(elem));
}

HashTable* NewEnergonTable() {
    HashTable* table = HashTableNew(EnergonHash, EnergonCompare, NULL, ENERGON_BUCKETS);
    VASSERT(table != NULL);
    return table;
}

static void FreeEnergonElement(void* elem, void*) {
    FreeEnergon(static_cast<Energon*>(elem));
}

void FreeEnergonTable(HashTable* table) {
    if (table == NULL)
        return;
    HashTableMap(table, FreeEnergonElement, NULL);
    HashTableFree(table);
}

Energon* LookupEnergon(World* pWorld, uint16_t id) {
    return static_cast<Energon*>(HashTableLookup(pWorld->energonTable, &id));
}

// ---- ids ------------------------------------------------------------------------------------

void SetEnergonIdRange(World* pWorld, int playerIndex) {
    int share =
        playerIndex >= 0 && playerIndex < ENERGON_SERVER_SHARE ? playerIndex : ENERGON_SERVER_SHARE;
    pWorld->energonIdFirst = static_cast<uint16_t>(share * ENERGON_ID_SHARE_SIZE + 1);
    pWorld->energonIdLast = static_cast<uint16_t>((share + 1) * ENERGON_ID_SHARE_SIZE);
    pWorld->nextEnergonId = pWorld->energonIdFirst;
}

static uint16_t AdvanceEnergonId(World* pWorld) {
    uint16_t id = pWorld->nextEnergonId;
    pWorld->nextEnergonId = id >= pWorld->energonIdLast || id < pWorld->energonIdFirst
                                ? pWorld->energonIdFirst
                                : static_cast<uint16_t>(id + 1);
    return id;
}

// The next id of this copy's share that no deposit in the world carries. A share holds far
// more ids than the world holds deposits, so one turns up within a round of the share.
static uint16_t TakeFreeEnergonId(World* pWorld) {
    uint16_t id = AdvanceEnergonId(pWorld);
    while (LookupEnergon(pWorld, id) != NULL)
        id = AdvanceEnergonId(pWorld);
    return id;
}

// ---- placement and removal ------------------------------------------------------------------

// Puts a new deposit into the table and its id into its cell.
static void InsertEnergon(World* pWorld, Energon* energon) {
    CellData* cell = GetCellData(pWorld, energon->x, energon->y, energon->z);
    VASSERT(cell != NULL && cell->energonId == 0);
    HashTableInsert(pWorld->energonTable, energon);
    cell->energonId = energon->id;
    pWorld->energonCount++;
}

Energon* GenerateEnergon(World* pWorld, bool broadcast) {
    if (pWorld->energonCount >= ENERGON_GENERATE_LIMIT)
        return NULL;
    Location loc = RandomFreeLocation(pWorld);
    if (loc.x == -1 && loc.y == -1 && loc.z == -1)
        return NULL;
    Energon* energon = NewRandomEnergon(TakeFreeEnergonId(pWorld), loc.x, loc.y, loc.z);
    InsertEnergon(pWorld, energon);
    if (broadcast)
        BroadcastEnergon(energon);
    return energon;
}

int TakeEnergon(World* pWorld, uint16_t id, bool regenerate) {
    Energon* energon = LookupEnergon(pWorld, id);
    if (energon == NULL) {
        std::printf("TakeEnergon: no energon %u\n", id);
        return 0;
    }
    int amount = EnergonAmount(energon);
    HashTableRemove(pWorld->energonTable, &id);
    CellData* cell = FindCellData(pWorld, energon->x, energon->y, energon->z);
    if (cell != NULL && cell->energonId == id)
        cell->energonId = 0;
    pWorld->energonCount--;
    if (regenerate)
        GenerateEnergon(pWorld, true);
    FreeEnergon(energon);
    return amount;
}

// Energon lies only on top of a solid cell.
static bool OnSolidSurface(const World* pWorld, int x, int y, int z) {
    return CellFromOutside(pWorld, x, y, z) && GetContentType(pWorld, x, y, z - 1) == ESolid;
}

bool AddNetworkEnergon(World* pWorld, uint16_t id, int32_t x, int32_t y, int32_t z,
                       int32_t crystals) {
    // Other copies may number their deposits any way they like, from our share too; only a
    // deposit that is already here (our own coming back, or a repeat) is discarded.
    if (LookupEnergon(pWorld, id) != NULL) {
        std::printf("discarding energon packet\n");
        return false;
    }
    const char* fault = NULL;
    if (id == 0)
        fault = "id 0";
    else if (crystals < ENERGON_MIN_CRYSTALS || crystals > ENERGON_MAX_CRYSTALS)
        fault = "crystal count out of range";
    else if (!OnSolidSurface(pWorld, x, y, z))
        fault = "cell not on top of a solid cell";
    else if (const CellData* here = FindCellData(pWorld, x, y, z); here && here->energonId != 0)
        fault = "cell already holds energon";
    if (fault != NULL) {
        ReportRefusal("Refusing energon packet %u at (%d, %d, %d): %s", id, x, y, z, fault);
        return false;
    }
    std::printf("Adding network generated energon\n");
    InsertEnergon(pWorld, NewEnergon(id, x, y, z, crystals));
    return true;
}

void ExpireEnergon(World* pWorld, uint16_t id) {
    double r = RandomRange(0.0, 1.0);
    int n = CountPlayers(pWorld);
    if (n == 0 || 1.0 / n > r) {
        TakeEnergon(pWorld, id, true);
    } else {
        std::printf("Not regenerating energon\n");
        TakeEnergon(pWorld, id, false);
    }
}

struct TickWalk {
    bool changed;
    DArray* finished; // uint16_t ids
};

static void TickOne(void* elem, void* auxData) {
    Energon* energon = static_cast<Energon*>(elem);
    TickWalk* walk = static_cast<TickWalk*>(auxData);
    walk->changed |= EnergonTick(energon);
    if (EnergonFinished(energon))
        DArrayAppend(walk->finished, &energon->id);
}

bool EnergonWorldTick(World* pWorld) {
    TickWalk walk = {false, DArrayNew(sizeof(uint16_t), 8)};
    HashTableMap(pWorld->energonTable, TickOne, &walk);
    // Expired only after the walk: expiry changes the table.
    for (int i = 0; i < DArrayLength(walk.finished); i++)
        ExpireEnergon(pWorld, *static_cast<uint16_t*>(DArrayNth(walk.finished, i)));
    DArrayFree(walk.finished);
    return walk.changed;
}

// ---- the seam to the network ----------------------------------------------------------------

// Every deposit this copy makes (GenerateEnergon with broadcast: the host's initial deposits,
// replacements after a pick-up by this copy's robot and after expiry) comes through here and
// nowhere else: the game's hooks send it to the other copies.
void BroadcastEnergon(const Energon* energon) {
    VASSERT(energon != NULL);
    gBroadcasts++;
    gHooks.announceEnergon(energon);
}

long EnergonBroadcastCount() {
    return gBroadcasts;
}
