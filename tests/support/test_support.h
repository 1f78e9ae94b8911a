// Helpers shared by the tests: temporary files, captured standard output, environment
// variables set for one test and waiting for another thread.
#pragma once

#include "net/packets.h"

// The standard headers and the test framework every test file uses come with this one.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

// A file in a fresh temporary folder holding text; removed with the object.
class TempFile {
  public:
    explicit TempFile(const std::string& text, const std::string& name = "file.txt");
    ~TempFile();
    const std::string& path() const { return path_; }
    const std::string& dir() const { return dir_; }

  private:
    std::string dir_;
    std::string path_;
};

// What work prints to standard output. Checks belong outside: a failing one inside would print
// into the capture.
std::string Captured(const std::function<void()>& work);

// How many times what stands in text.
int Occurrences(const std::string& text, const std::string& what);

// Sets (or, with nullptr, removes) an environment variable until the object goes; the data root
// is looked up again on both sides.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();

  private:
    void Set(const char* value);
    std::string name_;
    std::optional<std::string> saved_;
};

// Polls until the condition holds; false when it still does not after the deadline. The
// deadline is generous: it only ends a test that would otherwise hang.
template <typename Condition> bool WaitFor(Condition condition, int deadlineMs = 5000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Runs a reader over text; the record starts as `initial` so that "unchanged" is visible.
template <typename T> struct ReadText {
    int result = -1;
    T record;
    std::string output;
    ReadText(int (*reader)(T*, FILE*), std::string text, T initial = T{}) : record(initial) {
        FILE* file = fmemopen(text.data(), text.size(), "r");
        output = Captured([&] { result = reader(&record, file); });
        std::fclose(file);
    }
};

// A packet as another copy sends it.
template <typename T> std::vector<uint8_t> Wire(size_t (*encode)(const T*, uint8_t*), T p) {
    std::vector<uint8_t> out(MAX_PACKET_SIZE);
    out.resize(encode(&p, out.data()));
    return out;
}
