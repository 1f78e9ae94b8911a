// A fixture for the world's tests: a fresh registry and uid counters, worlds read from text.
#pragma once

#include "data/registry.h"
#include "foundation/utilities.h"
#include "support/test_support.h"
#include "world/world.h"
#include "world/worldfile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

    // A new world read from text; ok and output (what the reader printed) when asked for.
    World* Load(const std::string& text, bool* ok = nullptr, std::string* output = nullptr) {
        TempFile file(text, "world.txt");
        World* w = NewWorld();
        worlds_.push_back(w);
        StdoutCapture capture;
        capture.Start();
        bool read = ReadWorld(w, file.path().c_str());
        std::string printed = capture.Stop();
        if (ok != nullptr)
            *ok = read;
        if (output != nullptr)
            *output = printed;
        return w;
    }

    // Read the text and expect it to fail at the given line, with the one message.
    World* LoadFailing(const std::string& text, int line) {
        bool ok = true;
        std::string output;
        World* w = Load(text, &ok, &output);
        EXPECT_FALSE(ok);
        EXPECT_NE(output.find("file error in "), std::string::npos) << output;
        EXPECT_NE(output.find(" at " + std::to_string(line) + "\n"), std::string::npos) << output;
        return w;
    }

    static int Content(World* w, int x, int y, int z) { return GetContentType(w, x, y, z); }

    Registry* saved_ = nullptr;
    std::vector<World*> worlds_;
};
