// worldmap: prints a world file as a map, one height at a time, for level designers.
//
//   worldmap [FILE]      FILE defaults to the game's "worlds\bigworld.txt"
//
// Each height that holds something is drawn with y growing upwards:
//   #  solid          .  floor a robot can stand on   (blank) nothing to stand on
//   0-3 safe zone of that player (upper case H at its centre)
//   C  chest          c  hidden chest
//   T  teleporter     t  translucent teleporter (the list below says where each leads)
#include "data/registry.h"
#include "foundation/datapath.h"
#include "world/world.h"
#include "world/worldfile.h"

#include <cstdio>
#include <string>

static char CellChar(World* w, int x, int y, int z) {
    const CellData* d = FindCellData(w, x, y, z);
    const CellData* below = z > 1 ? FindCellData(w, x, y, z - 1) : NULL;
    bool supported = z <= 1 || (below != NULL && below->contentType == ESolid);
    if (d == NULL)
        return supported ? '.' : ' ';
    switch (d->contentType) {
    case ESolid:
        return '#';
    case ESafeZoneCentre:
        return 'H';
    case EChest:
        return static_cast<Chest*>(d->content)->style != 0 ? 'c' : 'C';
    default:
        break;
    }
    if (d->teleporterIndex != NO_TELEPORTER)
        return GetTeleporter(w, d->teleporterIndex)->translucent ? 't' : 'T';
    if (d->safeZoneOwner != NO_SAFE_ZONE)
        return static_cast<char>('0' + d->safeZoneOwner);
    return supported ? '.' : ' ';
}

int main(int argc, char** argv) {
    gRegistry = NewRegistry();
    World* w = NewWorld();
    std::string path = argc > 1 ? argv[1] : DataPath("worlds\\bigworld.txt");
    if (!ReadWorld(w, path.c_str()))
        return 1;
    for (int z = 1; z <= MAX_WORLD_HEIGHT + 1; z++) {
        std::string rows;
        bool any = false;
        for (int y = w->sizeY - 1; y >= 0; y--) {
            char row[MAX_WORLD_SIZE + 1];
            for (int x = 0; x < w->sizeX; x++) {
                row[x] = CellChar(w, x, y, z);
                any |= row[x] != ' ';
            }
            row[w->sizeX] = '\0';
            char label[16];
            std::snprintf(label, sizeof label, "%3d ", y);
            rows += label + std::string(row) + "\n";
        }
        if (any)
            std::printf("z %d\n%s\n", z, rows.c_str());
    }
    for (int i = 0; i < TeleporterCount(w); i++) {
        Teleporter* t = GetTeleporter(w, i);
        std::printf("teleporter %d%s: (%d, %d, %d) <-> (%d, %d, %d)\n", i,
                    t->translucent ? " (translucent)" : "", t->end1.x, t->end1.y, t->end1.z,
                    t->end2.x, t->end2.y, t->end2.z);
    }
    for (int i = 0; i < ChestCount(w); i++) {
        Chest* c = GetChestByIndex(w, i);
        std::printf("chest %d: %d at (%d, %d, %d)%s\n", i, c->contents, c->x, c->y, c->z,
                    c->style != 0 ? " hidden" : "");
    }
    FreeWorld(w);
    FreeRegistry(gRegistry);
    return 0;
}
