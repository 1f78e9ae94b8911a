// worldfile: the section handlers of the world file. Each handler scans its line, checks all of
// it, and only then changes the world and records the boxes that draw what it made.
#include "world/worldfile.h"

#include "data/registry.h"
#include "foundation/datapath.h"
#include "foundation/utilities.h"
#include "world/world.h"

#include <cstdlib>
#include <cstring>
#include <string>

static constexpr Color TELEPORTER_TRANSLUCENT = {1.0f, 1.0f, 0.0f, 0.3f};
static constexpr Color TELEPORTER_OPAQUE = {1.0f, 1.0f, 0.0f, 1.0f};
static constexpr double PAD_HEIGHT = 0.2;
static constexpr int MAX_PROPERTY_WORD = 3;

static bool InWorldAt(const World* pWorld, const Location* loc) {
    return CellFromOutside(pWorld, loc->x, loc->y, loc->z);
}

static bool ReadProperty(World* pWorld, const char* line) {
    WorldProperty property;
    char word[64];
    if (std::sscanf(line, "%d %63s %lf", &property.id, word, &property.value) != 3 ||
        std::strlen(word) > MAX_PROPERTY_WORD)
        return false;
    property.code = static_cast<unsigned char>(word[0]);
    DArrayAppend(pWorld->properties, &property);
    return true;
}

static bool ReadSize(World* pWorld, const char* line) {
    int sizeX, sizeY;
    if (pWorld->grid != NULL || std::sscanf(line, "%d %d", &sizeX, &sizeY) != 2)
        return false;
    if (sizeX < 1 || sizeX > MAX_WORLD_SIZE || sizeY < 1 || sizeY > MAX_WORLD_SIZE)
        return false;
    size_t columns = static_cast<size_t>(sizeX) * sizeY;
    pWorld->grid = static_cast<GridCell*>(SafeMalloc(columns * sizeof(GridCell)));
    for (int x = 0; x < sizeX; x++) {
        for (int y = 0; y < sizeY; y++)
            pWorld->grid[static_cast<size_t>(x) * sizeY + y] = {x, y, NULL};
    }
    pWorld->sizeX = sizeX;
    pWorld->sizeY = sizeY;
    return true;
}

// A cell that a cube or a wall may make solid: on the grid, and no chest there, which would
// be buried where no robot can find or open it.
static bool CanBecomeSolid(const World* pWorld, int x, int y, int z) {
    return CellFromOutside(pWorld, x, y, z) && GetContentType(pWorld, x, y, z) != EChest;
}

static bool ReadCube(World* pWorld, const char* line) {
    int x, y, z;
    if (std::sscanf(line, "%d %d %d", &x, &y, &z) != 3 || !CanBecomeSolid(pWorld, x, y, z))
        return false;
    GetCellData(pWorld, x, y, z)->contentType = ESolid;
    NewWorldBox(pWorld, x, y, z, 1.0, 1.0, 1.0, &BOX_GREY, false, NULL);
    return true;
}

static void OrderPair(int* lo, int* hi) {
    if (*lo > *hi) {
        int t = *lo;
        *lo = *hi;
        *hi = t;
    }
}

// Calls visit(x, y, z) for each cell on the shell of the box from a to b (its core is left out),
// stopping at the first that returns false; false then.
template <typename Visit>
static bool EveryShellCell(const Location& a, const Location& b, Visit visit) {
    for (int x = a.x; x <= b.x; x++) {
        for (int y = a.y; y <= b.y; y++) {
            for (int z = a.z; z <= b.z; z++) {
                bool core = x != a.x && x != b.x && y != a.y && y != b.y && z != a.z && z != b.z;
                if (!core && !visit(x, y, z))
                    return false;
            }
        }
    }
    return true;
}

static bool ReadWall(World* pWorld, const char* line) {
    Location a, b;
    char texture[BOX_TEXTURE_SIZE];
    int end = 0;
    if (std::sscanf(line, "%d %d %d:%d %d %d \"%32[^\"]\"%n", &a.x, &a.y, &a.z, &b.x, &b.y, &b.z,
                    texture, &end) != 7 ||
        end == 0 || !InWorldAt(pWorld, &a) || !InWorldAt(pWorld, &b))
        return false;
    OrderPair(&a.x, &b.x);
    OrderPair(&a.y, &b.y);
    OrderPair(&a.z, &b.z);
    // The whole shell is checked before any of it is laid.
    if (!EveryShellCell(a, b, [&](int x, int y, int z) { return CanBecomeSolid(pWorld, x, y, z); }))
        return false;
    EveryShellCell(a, b, [&](int x, int y, int z) {
        GetCellData(pWorld, x, y, z)->contentType = ESolid;
        return true;
    });
    NewWorldBox(pWorld, a.x, a.y, a.z, b.x - a.x + 1, b.y - a.y + 1, b.z - a.z + 1, &BOX_GREY,
                false, texture);
    return true;
}

static bool ReadTeleporter(World* pWorld, const char* line) {
    Teleporter t;
    char flag = '1';
    int n = std::sscanf(line, "%d %d %d:%d %d %d %c", &t.end1.x, &t.end1.y, &t.end1.z, &t.end2.x,
                        &t.end2.y, &t.end2.z, &flag);
    if ((n != 6 && n != 7) || !InWorldAt(pWorld, &t.end1) || !InWorldAt(pWorld, &t.end2))
        return false;
    int index = TeleporterCount(pWorld);
    if (index >= MAX_TELEPORTERS)
        return false;
    t.uid = NewUID(ETeleporterType);
    t.translucent = flag != '0';
    DArrayAppend(pWorld->teleporters, &t);
    const Color* color = t.translucent ? &TELEPORTER_TRANSLUCENT : &TELEPORTER_OPAQUE;
    for (const Location* end : {&t.end1, &t.end2}) {
        GetCellDataAt(pWorld, end)->teleporterIndex = static_cast<uint8_t>(index);
        NewWorldBox(pWorld, end->x, end->y, end->z, 1.0, 1.0, PAD_HEIGHT, color, t.translucent,
                    NULL);
    }
    return true;
}

// A cell of a safe zone: on the grid, not solid, in no other zone, and above 1 standing on
// something.
static bool SafeZoneCellFits(const World* pWorld, int x, int y, int z) {
    if (!CellFromOutside(pWorld, x, y, z) || GetContentType(pWorld, x, y, z) == ESolid)
        return false;
    const CellData* d = FindCellData(pWorld, x, y, z);
    if (d != NULL && d->safeZoneOwner != NO_SAFE_ZONE)
        return false;
    return z <= 1 || GetContentType(pWorld, x, y, z - 1) != EEmpty;
}

static bool ReadSafeZone(World* pWorld, const char* line) {
    int owner;
    Location c;
    if (std::sscanf(line, "%d %d %d %d", &owner, &c.x, &c.y, &c.z) != 4)
        return false;
    SafeZone* zone = GetSafeZone(pWorld, owner);
    if (zone == NULL || zone->owner != NO_SAFE_ZONE)
        return false;
    // The centre becomes the zone's marker cell, so nothing may stand there yet.
    if (!InWorldAt(pWorld, &c) || GetContentType(pWorld, c.x, c.y, c.z) != EEmpty)
        return false;
    for (int dx = -1; dx <= 1; dx++) {
        for (int dy = -1; dy <= 1; dy++) {
            if (!SafeZoneCellFits(pWorld, c.x + dx, c.y + dy, c.z))
                return false;
        }
    }
    zone->owner = owner;
    zone->centre = c;
    GetCellDataAt(pWorld, &c)->contentType = ESafeZoneCentre;
    for (int dx = -1; dx <= 1; dx++) {
        for (int dy = -1; dy <= 1; dy++)
            GetCellData(pWorld, c.x + dx, c.y + dy, c.z)->safeZoneOwner =
                static_cast<uint8_t>(owner);
    }
    NewWorldBox(pWorld, c.x - 1, c.y - 1, c.z, 3.0, 3.0, PAD_HEIGHT, SafeZoneColor(owner), false,
                NULL);
    return true;
}

static bool ChestCanHold(int uid) {
    switch (GetObjectTypeFromUID(uid)) {
    case EWeaponType:
    case EArmorType:
    case EItemType:
    case ESkillType:
        return uid >= 0;
    default:
        return false;
    }
}

static bool ReadChest(World* pWorld, const char* line) {
    int contents, style;
    Location c;
    if (std::sscanf(line, "%d %d %d %d %d", &contents, &c.x, &c.y, &c.z, &style) != 5)
        return false;
    if (!ChestCanHold(contents) || !InWorldAt(pWorld, &c) ||
        GetContentType(pWorld, c.x, c.y, c.z) != EEmpty)
        return false;
    Chest* chest = NewChest(c.x, c.y, c.z, ChestCount(pWorld), contents, style);
    SetCellContent(pWorld, &c, EChest, chest);
    DArrayAppend(pWorld->chests, &chest);
    return true;
}

static bool ReadMusicTrack(World* pWorld, const char* line) {
    return std::sscanf(line, "%d", &pWorld->musicTrack) == 1;
}

struct Section {
    const char* keyword;
    bool (*read)(World* pWorld, const char* line);
    bool beforeSize; // its data lines may come before the size line
};

// In the order the keywords are tried.
static const Section SECTIONS[] = {
    {"properties:", ReadProperty, true}, {"cubes:", ReadCube, false},
    {"walls:", ReadWall, false},         {"teleporters:", ReadTeleporter, false},
    {"size:", ReadSize, true},           {"safe zones:", ReadSafeZone, false},
    {"chests:", ReadChest, false},       {"musictrack:", ReadMusicTrack, false},
};

static const Section* SectionKeyword(const char* line) {
    for (const Section& s : SECTIONS) {
        if (StartsWith(line, s.keyword))
            return &s;
    }
    return NULL;
}

bool ReadWorldFrom(World* pWorld, FILE* file, const char* path) {
    char line[LINE_BUFFER_SIZE];
    int lineCount = 0;
    const Section* section = NULL;
    bool ok = true;
    while (ok && ReadLine(file, line) == 1) {
        lineCount++;
        if (StartsWith(line, "//"))
            continue;
        if (const Section* s = SectionKeyword(line)) {
            section = s;
            continue;
        }
        ok = section != NULL && (pWorld->grid != NULL || section->beforeSize) &&
             section->read(pWorld, line);
    }
    // A world needs its grid.
    ok = ok && pWorld->grid != NULL;
    if (!ok) {
        std::printf("file error in %s at %d\n", path, lineCount);
        return false;
    }
    AddWorldFloor(pWorld);
    pWorld->safeZoneMarkers = NUM_SAFE_ZONES;
    return true;
}

bool ReadWorld(World* pWorld, const char* path) {
    FILE* file = SafeFopen(path, "r");
    bool ok = ReadWorldFrom(pWorld, file, path);
    std::fclose(file);
    return ok;
}

World* LoadWorld(const char* name) {
    World* pWorld = NewWorld();
    std::string path = DataPath(name);
    ReadWorld(pWorld, path.c_str());
    std::printf("World %s: %d x %d cells, %d boxes, %d teleporters, %d chests, music track %d\n",
                name, pWorld->sizeX, pWorld->sizeY, BoxCount(pWorld), TeleporterCount(pWorld),
                ChestCount(pWorld), pWorld->musicTrack);
    return pWorld;
}
