#include "support/test_support.h"

#include "foundation/datapath.h"

#include <filesystem>
#include <fstream>
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

std::string Captured(const std::function<void()>& work) {
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
