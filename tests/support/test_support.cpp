#include "support/test_support.h"

#include "foundation/datapath.h"

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

std::string Captured(const std::function<void()>& work) {
    StdoutCapture capture;
    capture.Start();
    work();
    return capture.Stop();
}

int Occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        n++;
    return n;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name))
        saved_ = old;
    Set(value);
}

ScopedEnv::~ScopedEnv() {
    Set(saved_ ? saved_->c_str() : nullptr);
}

void ScopedEnv::Set(const char* value) {
    if (value != nullptr)
        setenv(name_.c_str(), value, 1);
    else
        unsetenv(name_.c_str());
    ResetDataRoot();
}
