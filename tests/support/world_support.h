// A fixture for the world's tests: a fresh registry and uid counters, worlds read from text.
#pragma once

#include "data/registry.h"
#include "foundation/utilities.h"
#include "support/test_support.h"
#include "world/world.h"
#include "world/worldfile.h"

class WorldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = gRegistry;
        gRegistry = NewRegistry();
        ResetUIDCounters();
        std::srand(12345);
    }
    void TearDown() override {
        for (World* w : worlds_)
            FreeWorld(w);
        FreeRegistry(gRegistry);
        gRegistry = saved_;
    }

    // A new world read from text. *failedAt becomes 0 when the reader took the file whole, the
    // line its one error names when it refused it, and -1 when its answer and words disagree.
    World* Load(const std::string& text, int* failedAt = nullptr) {
        TempFile file(text, "world.txt");
        World* w = NewWorld();
        worlds_.push_back(w);
        bool read = false;
        std::string said = Captured([&] { read = ReadWorld(w, file.path().c_str()); });
        std::string error = "file error in " + file.path() + " at ";
        int line = read && said.empty() ? 0 : -1;
        if (!read && said.starts_with(error) && said.ends_with("\n"))
            line = std::atoi(said.c_str() + error.size());
        if (failedAt != nullptr)
            *failedAt = line;
        return w;
    }

    static int Content(World* w, int x, int y, int z) { return GetContentType(w, x, y, z); }

    Registry* saved_ = nullptr;
    std::vector<World*> worlds_;
};
