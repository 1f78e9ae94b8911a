// Containers on the paths the game uses every tick: registry lookups by uid and appends.
#include "foundation/darray.h"
#include "foundation/hash.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct Entry {
    int uid;
    void* object;
};
int HashUid(const void* p) {
    return *static_cast<const int*>(p) % 9000;
}
int CompareUid(const void* key, const void* e) {
    return *static_cast<const int*>(key) == static_cast<const Entry*>(e)->uid ? 0 : 1;
}

void BM_RegistryLookup(benchmark::State& state) {
    HashTable* t = HashTableNew(HashUid, CompareUid, nullptr, 9000);
    std::vector<Entry> entries;
    for (int type = 3; type <= 8; type++)
        for (int i = 0; i < 50; i++)
            entries.push_back({type * 1000 + i, nullptr});
    for (Entry& e : entries)
        HashTableInsert(t, &e);
    size_t i = 0;
    for (auto _ : state) {
        int uid = entries[i++ % entries.size()].uid;
        benchmark::DoNotOptimize(HashTableLookup(t, &uid));
    }
    HashTableFree(t);
}
BENCHMARK(BM_RegistryLookup);

void BM_DArrayAppend(benchmark::State& state) {
    for (auto _ : state) {
        DArray* a = DArrayNew(sizeof(int), 8);
        for (int i = 0; i < state.range(0); i++)
            DArrayAppend(a, &i);
        benchmark::DoNotOptimize(a->base);
        DArrayFree(a);
    }
}
BENCHMARK(BM_DArrayAppend)->Arg(64)->Arg(1024);

} // namespace
