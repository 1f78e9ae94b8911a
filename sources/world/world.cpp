// world: the grid of columns, blocking, teleporters, safe zones, chests, robot slots and the
// box records. Reading the world file is worldfile.cpp; energon is energon.cpp.
#include "world/world.h"

#include "data/registry.h"
#include "foundation/assertion.h"
#include "world/energon.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

World* NewWorld() {
    VASSERT(gRegistry != NULL);
    World* pWorld = static_cast<World*>(SafeMalloc(sizeof(World)));
    std::memset(pWorld, 0, sizeof *pWorld);
    pWorld->uid = NewUID(EWorldType);
    pWorld->properties = DArrayNew(sizeof(WorldProperty), 8);
    pWorld->chests = DArrayNew(sizeof(Chest*), 16);
    pWorld->teleporters = DArrayNew(sizeof(Teleporter), 16);
    pWorld->safeZones = DArrayNew(sizeof(SafeZone), NUM_SAFE_ZONES);
    for (int i = 0; i < NUM_SAFE_ZONES; i++) {
        SafeZone zone = {NO_SAFE_ZONE, {0, 0, 0}};
        DArrayAppend(pWorld->safeZones, &zone);
    }
    pWorld->energonTable = NewEnergonTable();
    SetEnergonIdRange(pWorld, 0);
    pWorld->robotSlots = DArrayNew(sizeof(int32_t), 8);
    for (int i = 0; i < NUM_PLAYER_SLOTS; i++) {
        int32_t empty = INVALID_ROBOT_UID;
        DArrayAppend(pWorld->robotSlots, &empty);
    }
    pWorld->boxes = DArrayNew(sizeof(WorldBox), 64);
    RegisterWorld(gRegistry, pWorld, pWorld->uid);
    return pWorld;
}

void FreeWorld(World* pWorld) {
    if (pWorld == NULL)
        return;
    for (int i = 0; pWorld->grid != NULL && i < pWorld->sizeX * pWorld->sizeY; i++) {
        for (CellData* d = pWorld->grid[i].levels; d != NULL;) {
            CellData* next = d->next;
            std::free(d);
            d = next;
        }
    }
    std::free(pWorld->grid);
    for (int i = 0; i < ChestCount(pWorld); i++)
        std::free(*static_cast<Chest**>(DArrayNth(pWorld->chests, i)));
    DArrayFree(pWorld->chests);
    DArrayFree(pWorld->properties);
    DArrayFree(pWorld->teleporters);
    DArrayFree(pWorld->safeZones);
    std::free(pWorld->safeZoneLists);
    FreeEnergonTable(pWorld->energonTable);
    DArrayFree(pWorld->robotSlots);
    DArrayFree(pWorld->boxes);
    std::free(pWorld);
}

// The element at index, or null when the array has no such element.
static void* ElementOrNull(DArray* array, int index) {
    return index >= 0 && index < DArrayLength(array) ? DArrayNth(array, index) : NULL;
}

// ---- grid -----------------------------------------------------------------------------------

bool OnTheGrid(const World* pWorld, int x, int y) {
    return pWorld->grid != NULL && x >= 0 && x < pWorld->sizeX && y >= 0 && y < pWorld->sizeY;
}

bool CellFromOutside(const World* pWorld, int64_t x, int64_t y, int64_t z) {
    return x >= 0 && y >= 0 && x <= INT32_MAX && y <= INT32_MAX &&
           OnTheGrid(pWorld, static_cast<int>(x), static_cast<int>(y)) && z >= 0 &&
           z <= MAX_WORLD_HEIGHT;
}

static GridCell* Column(const World* pWorld, int x, int y) {
    return &pWorld->grid[static_cast<size_t>(x) * pWorld->sizeY + y];
}

CellData* FindCellData(const World* pWorld, int x, int y, int z) {
    if (!OnTheGrid(pWorld, x, y))
        return NULL;
    for (CellData* d = Column(pWorld, x, y)->levels; d != NULL && d->z <= z; d = d->next) {
        if (d->z == z)
            return d;
    }
    return NULL;
}

CellData* GetCellData(World* pWorld, int x, int y, int z) {
    if (!OnTheGrid(pWorld, x, y))
        return NULL;
    CellData** link = &Column(pWorld, x, y)->levels;
    while (*link != NULL && (*link)->z < z)
        link = &(*link)->next;
    if (*link != NULL && (*link)->z == z)
        return *link;
    CellData* d = static_cast<CellData*>(SafeMalloc(sizeof(CellData)));
    d->z = z;
    d->next = *link;
    d->contentType = EEmpty;
    d->content = NULL;
    d->teleporterIndex = NO_TELEPORTER;
    d->safeZoneOwner = NO_SAFE_ZONE;
    d->energonId = 0;
    *link = d;
    return d;
}

CellData* GetCellDataAt(World* pWorld, const Location* loc) {
    return GetCellData(pWorld, loc->x, loc->y, loc->z);
}

int GetContentType(const World* pWorld, int x, int y, int z) {
    const CellData* d = FindCellData(pWorld, x, y, z);
    return d != NULL ? d->contentType : EEmpty;
}

void SetCellContent(World* pWorld, const Location* loc, int contentType, void* content) {
    int x = loc->x, y = loc->y;
    VASSERT(OnTheGrid(pWorld, x, y));
    CellData* pData = GetCellDataAt(pWorld, loc);
    VASSERT(pData->contentType == ERobot || pData->contentType == EEmpty);
    pData->contentType = contentType;
    pData->content = content;
}

void SetCellSolid(World* pWorld, const Location* loc, bool makeEmpty, void* content) {
    VASSERT(OnTheGrid(pWorld, loc->x, loc->y));
    CellData* pData = GetCellDataAt(pWorld, loc);
    pData->contentType = makeEmpty ? EEmpty : ESolid;
    pData->content = content;
}

bool IsBlocked(const World* pWorld, int x, int y, int z) {
    if (!OnTheGrid(pWorld, x, y))
        return true;
    Location here = {x, y, z}, far;
    if (GetTeleporterDestination(pWorld, &here, &far)) {
        if (GetContentType(pWorld, far.x, far.y, far.z) != EEmpty)
            return true;
    } else if (GetContentType(pWorld, x, y, z) != EEmpty) {
        return true;
    }
    return z > 1 && GetContentType(pWorld, x, y, z - 1) != ESolid;
}

bool IsBlockedAt(const World* pWorld, const Location* loc) {
    return IsBlocked(pWorld, loc->x, loc->y, loc->z);
}

bool CanStep(const World* pWorld, int x, int y, int z, int dx, int dy) {
    VASSERT(OnTheGrid(pWorld, x, y));
    return !IsBlocked(pWorld, x + dx, y + dy, z);
}

int CountSolid(const World* pWorld, int x, int y) {
    if (!OnTheGrid(pWorld, x, y))
        return 0;
    int count = 0;
    for (const CellData* d = Column(pWorld, x, y)->levels; d != NULL; d = d->next)
        count += d->contentType == ESolid;
    return count;
}

// A solid height with room above it within the world's heights: nothing stored directly
// above, or an empty cell there outside every safe zone and without energon.
static bool FreeSurface(const CellData* d) {
    if (d->contentType != ESolid || d->z >= MAX_WORLD_HEIGHT)
        return false;
    const CellData* above = d->next;
    if (above == NULL || above->z != d->z + 1)
        return true;
    return above->contentType == EEmpty && above->safeZoneOwner == NO_SAFE_ZONE &&
           above->energonId == 0;
}

Location RandomFreeLocation(World* pWorld) {
    Location none = {-1, -1, -1};
    if (pWorld->energonCount >= MAX_WORLD_ENERGON || pWorld->grid == NULL)
        return none;
    for (int attempt = 0; attempt < RANDOM_LOCATION_ATTEMPTS; attempt++) {
        int x = RandomInt(0, pWorld->sizeX - 1);
        int y = RandomInt(0, pWorld->sizeY - 1);
        int k = RandomInt(0, CountSolid(pWorld, x, y));
        for (const CellData* d = Column(pWorld, x, y)->levels; d != NULL; d = d->next) {
            if (!FreeSurface(d))
                continue;
            if (k == 0 || d->next == NULL) {
                Location found = {x, y, d->z + 1};
                return found;
            }
            k--;
        }
    }
    std::printf("RandomFreeLocation: no free place after %d tries\n", RANDOM_LOCATION_ATTEMPTS);
    return none;
}

// ---- teleporters and safe zones ---------------------------------------------------------------

int TeleporterCount(const World* pWorld) {
    return DArrayLength(pWorld->teleporters);
}

Teleporter* GetTeleporter(const World* pWorld, int index) {
    return static_cast<Teleporter*>(ElementOrNull(pWorld->teleporters, index));
}

bool GetTeleporterDestination(const World* pWorld, const Location* loc, Location* out) {
    const CellData* d = FindCellData(pWorld, loc->x, loc->y, loc->z);
    if (d == NULL || d->teleporterIndex == NO_TELEPORTER)
        return false;
    Teleporter* t = GetTeleporter(pWorld, d->teleporterIndex);
    VASSERT(t != NULL);
    *out = LocationEqual(loc, &t->end1) ? t->end2 : t->end1;
    return true;
}

SafeZone* GetSafeZone(const World* pWorld, int owner) {
    return static_cast<SafeZone*>(ElementOrNull(pWorld->safeZones, owner));
}

const Color* SafeZoneColor(int zone) {
    static constexpr Color colors[NUM_SAFE_ZONES] = {
        {0.25f, 0.25f, 0.75f, 0.5f},
        {0.75f, 0.25f, 0.25f, 0.5f},
        {1.0f, 1.0f, 1.0f, 0.5f},
        {0.0f, 0.0f, 0.0f, 0.5f},
    };
    return zone >= 0 && zone < NUM_SAFE_ZONES ? &colors[zone] : NULL;
}

// ---- chests ---------------------------------------------------------------------------------

int ChestCount(const World* pWorld) {
    return DArrayLength(pWorld->chests);
}

Chest* GetChestByIndex(const World* pWorld, int index) {
    Chest** chest = static_cast<Chest**>(ElementOrNull(pWorld->chests, index));
    if (chest == NULL) {
        std::printf("No chest with index %d\n", index);
        return NULL;
    }
    return *chest;
}

Chest* NewChest(int x, int y, int z, int index, int contents, int style) {
    Chest* chest = static_cast<Chest*>(SafeMalloc(sizeof(Chest)));
    chest->x = x;
    chest->y = y;
    chest->z = z;
    chest->contents = contents;
    chest->index = index;
    chest->opened = 0;
    chest->style = style;
    return chest;
}

// What stands in the cell when it is of the given content type, else null.
static void* ContentOfType(const World* pWorld, const Location* loc, int contentType) {
    const CellData* d = FindCellData(pWorld, loc->x, loc->y, loc->z);
    return d != NULL && d->contentType == contentType ? d->content : NULL;
}

Chest* GetChestAt(const World* pWorld, const Location* loc) {
    return static_cast<Chest*>(ContentOfType(pWorld, loc, EChest));
}

// ---- robots ---------------------------------------------------------------------------------

int RobotSlotCount(const World* pWorld) {
    return DArrayLength(pWorld->robotSlots);
}

static int32_t* Slot(const World* pWorld, int index) {
    return static_cast<int32_t*>(ElementOrNull(pWorld->robotSlots, index));
}

int GetRobotSlot(const World* pWorld, int index) {
    const int32_t* slot = Slot(pWorld, index);
    return slot != NULL ? *slot : INVALID_ROBOT_UID;
}

void SetRobotSlot(World* pWorld, int index, int robotUid) {
    if (index < 0) {
        std::printf("SetRobotSlot: no slot %d for robot %d\n", index, robotUid);
        return;
    }
    if (index < NUM_PLAYER_SLOTS) {
        int32_t* pUid = Slot(pWorld, index);
        if (*pUid != INVALID_ROBOT_UID && *pUid != robotUid) {
            std::printf("SetRobotSlot: slot %d holds robot %d, not %d\n", index, *pUid, robotUid);
            return;
        }
        *pUid = robotUid;
        return;
    }
    // Computer robots arrive in any order on the other copies: each takes a slot of its own
    // beyond the players', an empty one left by a robot that went before a new one.
    int32_t* empty = NULL;
    for (int i = NUM_PLAYER_SLOTS; i < RobotSlotCount(pWorld); i++) {
        int32_t* pUid = Slot(pWorld, i);
        if (*pUid == robotUid)
            return;
        if (*pUid == INVALID_ROBOT_UID && empty == NULL)
            empty = pUid;
    }
    if (empty != NULL) {
        *empty = robotUid;
        return;
    }
    int32_t uid = robotUid;
    DArrayAppend(pWorld->robotSlots, &uid);
}

Robot* GetRobotByIndex(World* pWorld, int index) {
    int uid = GetRobotSlot(pWorld, index);
    if (uid == INVALID_ROBOT_UID)
        return NULL;
    return LookupRobot(gRegistry, uid);
}

static bool HoldsRobot(const World* pWorld, int uid) {
    for (int i = 0; uid != INVALID_ROBOT_UID && i < RobotSlotCount(pWorld); i++) {
        if (*Slot(pWorld, i) == uid)
            return true;
    }
    return false;
}

Robot* FindRobotInWorld(World* pWorld, int uid) {
    return HoldsRobot(pWorld, uid) ? LookupRobot(gRegistry, uid) : NULL;
}

void RemoveRobotFromWorld(World* pWorld, int uid) {
    if (!HoldsRobot(pWorld, uid))
        return;
    for (int i = 0; i < RobotSlotCount(pWorld); i++) {
        if (*Slot(pWorld, i) == uid)
            *Slot(pWorld, i) = INVALID_ROBOT_UID;
    }
    // The world knows robots by uid and their cells by pointer: the robot's cell is the one
    // whose content is this robot.
    Robot* robot = LookupRobot(gRegistry, uid);
    for (int i = 0; robot != NULL && i < pWorld->sizeX * pWorld->sizeY; i++) {
        for (CellData* d = pWorld->grid[i].levels; d != NULL; d = d->next) {
            if (d->contentType == ERobot && d->content == robot) {
                d->contentType = EEmpty;
                d->content = NULL;
            }
        }
    }
}

int CountPlayers(const World* pWorld) {
    int n = 0;
    for (int i = 0; i < NUM_PLAYER_SLOTS; i++)
        n += *Slot(pWorld, i) != INVALID_ROBOT_UID;
    return n;
}

Robot* GetRobotAt(const World* pWorld, const Location* loc) {
    return static_cast<Robot*>(ContentOfType(pWorld, loc, ERobot));
}

// ---- boxes ----------------------------------------------------------------------------------

void NewWorldBox(World* pWorld, int x, int y, int z, double sizeX, double sizeY, double sizeZ,
                 const Color* color, bool translucent, const char* texture) {
    WorldBox box;
    std::memset(&box, 0, sizeof box);
    box.minimum = {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)};
    box.maximum = {x + sizeX, y + sizeY, z + sizeZ};
    CopyColor(&box.color, color);
    box.translucent = translucent ? 1 : 0;
    if (texture != NULL)
        std::snprintf(box.texture, sizeof box.texture, "%s", texture);
    box.displayList = 0;
    DArrayAppend(pWorld->boxes, &box);
}

void AddWorldFloor(World* pWorld) {
    NewWorldBox(pWorld, 0, 0, 0, pWorld->sizeX, pWorld->sizeY, 1.0, &BOX_GREY, false,
                "images\\metalfloor.rgb");
}

int BoxCount(const World* pWorld) {
    return DArrayLength(pWorld->boxes);
}

WorldBox* GetWorldBox(const World* pWorld, int index) {
    return static_cast<WorldBox*>(ElementOrNull(pWorld->boxes, index));
}
