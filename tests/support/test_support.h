// Helpers shared by the tests: temporary files and captured standard output.
#pragma once

#include <cstdio>
#include <string>

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

// Captures what the code under test prints to standard output between Start and Stop.
class StdoutCapture {
  public:
    void Start();
    std::string Stop();

  private:
    int saved_ = -1;
    std::FILE* file_ = nullptr;
};
