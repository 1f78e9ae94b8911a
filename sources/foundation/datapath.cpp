// datapath: find the data root once and join names to it.
#include "foundation/datapath.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

#ifndef VANTRELL_SHARE_DIR
#define VANTRELL_SHARE_DIR "/usr/local/share/vantrell"
#endif

namespace fs = std::filesystem;

static std::mutex gRootLock;
static bool gRootKnown = false;
static std::string gRoot;

static bool IsDir(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

static std::string FindRoot() {
    const char* env = std::getenv("VANTRELL_DATA");
    if (env != NULL && env[0] != '\0')
        return env;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        fs::path dir = exe.parent_path();
        if (IsDir(dir / "data"))
            return (dir / "data").string();
        if (IsDir(dir.parent_path() / "data"))
            return (dir.parent_path() / "data").string();
    }
    if (IsDir(VANTRELL_SHARE_DIR))
        return VANTRELL_SHARE_DIR;
#ifdef VANTRELL_SOURCE_DATA_DIR
    // A build that was never installed still finds the data of the tree it was built from.
    if (IsDir(VANTRELL_SOURCE_DATA_DIR))
        return VANTRELL_SOURCE_DATA_DIR;
#endif
    return "";
}

std::string DataRoot() {
    std::lock_guard<std::mutex> guard(gRootLock);
    if (!gRootKnown) {
        gRoot = FindRoot();
        gRootKnown = true;
    }
    return gRoot;
}

void ResetDataRoot() {
    std::lock_guard<std::mutex> guard(gRootLock);
    gRootKnown = false;
}

std::string DataPath(const char* name) {
    std::string relative(name);
    for (char& c : relative) {
        if (c == '\\')
            c = '/';
    }
    std::string root = DataRoot();
    if (root.empty())
        return relative;
    if (root.back() != '/')
        root += '/';
    return root + relative;
}
