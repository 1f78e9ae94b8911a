// The world file reader on any text, then what the world does with the grid it got: random
// free places, energon placement, and a deposit announced by another copy.
#include "data/registry.h"
#include "world/energon.h"
#include "world/world.h"
#include "world/worldfile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (f == nullptr)
        return 0;
    gRegistry = NewRegistry();
    World* w = NewWorld();
    ReadWorldFrom(w, f, "fuzz");
    std::fclose(f);
    for (int i = 0; i < 4; i++)
        GenerateEnergon(w, false);
    if (size >= 16) {
        int32_t v[4];
        std::memcpy(v, data + size - 16, sizeof v);
        AddNetworkEnergon(w, static_cast<uint16_t>(v[0]), v[1] % 300, v[2] % 300, v[3] % 40,
                          v[0] >> 16);
    }
    Location at = {static_cast<int32_t>(size % 64), static_cast<int32_t>(size % 37), 2};
    (void)IsBlockedAt(w, &at);
    EnergonWorldTick(w);
    FreeWorld(w);
    FreeRegistry(gRegistry);
    gRegistry = nullptr;
    return 0;
}
