#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

TempFile::TempFile(const std::string& text, const std::string& name) {
    char pattern[] = "/tmp/vantrell-test-XXXXXX";
    char* made = mkdtemp(pattern);
    dir_ = made != nullptr ? made : "/tmp";
    path_ = dir_ + "/" + name;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path());
    std::ofstream(path_, std::ios::binary) << text;
}

TempFile::~TempFile() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

void StdoutCapture::Start() {
    std::fflush(stdout);
    file_ = std::tmpfile();
    saved_ = dup(fileno(stdout));
    dup2(fileno(file_), fileno(stdout));
}

std::string StdoutCapture::Stop() {
    std::fflush(stdout);
    dup2(saved_, fileno(stdout));
    close(saved_);
    std::rewind(file_);
    std::stringstream out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0)
        out.write(buffer, static_cast<std::streamsize>(n));
    std::fclose(file_);
    return out.str();
}
