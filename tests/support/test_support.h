// Helpers shared by the tests: temporary files, captured standard output, environment
// variables set for one test and waiting for another thread.
#pragma once

#include "foundation/datapath.h"
#include "net/packets.h"

// The standard headers and the test framework every test file uses come with this one.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <unistd.h>
#include <vector>

// A file in a fresh temporary folder holding text; removed with the object.
class TempFile {
  public:
    explicit TempFile(const std::string& text, const std::string& name = "file.txt") {
        char pattern[] = "/tmp/vantrell-test-XXXXXX";
        char* made = mkdtemp(pattern);
        dir_ = made != nullptr ? made : "/tmp";
        path_ = dir_ + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(path_).parent_path());
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~TempFile() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& path() const { return path_; }
    const std::string& dir() const { return dir_; }

  private:
    std::string dir_;
    std::string path_;
};

// What work prints to standard output. Checks belong outside: a failing one inside would print
// into the capture.
inline std::string Captured(const std::function<void()>& work) {
    std::fflush(stdout);
    std::FILE* file = std::tmpfile();
    int saved = dup(fileno(stdout));
    dup2(fileno(file), fileno(stdout));
    work();
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);
    std::rewind(file);
    std::string out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        out.append(buffer, n);
    std::fclose(file);
    return out;
}

// How many times what stands in text.
inline int Occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        n++;
    return n;
}

// Sets (or, with nullptr, removes) an environment variable until the object goes; the data root
// is looked up again on both sides.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            saved_ = old;
        Set(value);
    }
    ~ScopedEnv() { Set(saved_ ? saved_->c_str() : nullptr); }

  private:
    void Set(const char* value) {
        value != nullptr ? setenv(name_.c_str(), value, 1) : unsetenv(name_.c_str());
        ResetDataRoot();
    }
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
