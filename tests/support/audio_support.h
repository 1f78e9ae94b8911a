// Helpers for the sound tests: environment variables set for one test, the audio output that
// SDL's "dummy" or "disk" driver gives, and waiting for something the audio thread does.
#pragma once

#include "foundation/datapath.h"
#include "sound/sound.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

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
        if (value != nullptr)
            setenv(name_.c_str(), value, 1);
        else
            unsetenv(name_.c_str());
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

inline bool AudioOutputOpen() {
    return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0;
}

// The sound service on SDL's silent "dummy" driver, shut down at the end of the test.
class SoundServiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitSound();
        ASSERT_TRUE(AudioOutputOpen()) << "the dummy audio driver did not open";
    }
    void TearDown() override { ShutdownSound(); }

    ScopedEnv driver_{"SDL_AUDIODRIVER", "dummy"};
};

// What SDL's "disk" driver has written so far: 16-bit samples.
inline std::vector<int16_t> ReadSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

inline bool AnyAudible(const std::vector<int16_t>& samples, size_t from = 0) {
    for (size_t i = from; i < samples.size(); i++) {
        if (samples[i] > 300 || samples[i] < -300)
            return true;
    }
    return false;
}
