// Helpers for the sound tests: the audio output that SDL's "dummy" or "disk" driver gives and
// the state of a music device.
#pragma once

#include "foundation/datapath.h"
#include "sound/cdsound.h"
#include "sound/mci.h"
#include "sound/sound.h"
#include "support/test_support.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

// The mode (playing, stopped) of a music device.
inline uint32_t ModeOf(const CDPlayer* pPlayer) {
    uint32_t mode = 0;
    EXPECT_EQ(MciStatusMode(pPlayer->deviceId, &mode), 0u);
    return mode;
}
