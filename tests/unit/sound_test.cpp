// The sound service as a player hears it: the effect ringing and the music track playing that
// result from the game's calls.
#include "data/registry.h"
#include "foundation/datapath.h"
#include "sound/mci.h"
#include "sound/sound.h"
#include "support/test_support.h"

#include <SDL_mixer.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

const char* const SELECT = "sounds\\FF7select.wav";
const char* const HEAL = "sounds\\ff3healmag.wav"; // the longest menu-free effect: still ringing
const char* const SAVE = "sounds\\ff3save.wav";

// The music track heard (0: silence), which must be playing from its start.
int Track() {
    uint32_t device = GetSoundCDPlayer()->deviceId, mode = 0, position = 0;
    if (MciStatusMode(device, &mode) != 0 || mode != MCI_MODE_PLAY)
        return 0;
    MciSetTimeFormat(device, MCI_FORMAT_TMSF); // the player sets its own format for each play
    MciStatusPosition(device, &position);
    EXPECT_LT(MCI_TMSF_MINUTE(position) * 60 + MCI_TMSF_SECOND(position), 3u);
    return int(MCI_TMSF_TRACK(position));
}

// The sound service on SDL's silent "dummy" driver, shut down at the end of the test. SDL must
// leave interrupt and terminate to the game: nobody polls for its quit event.
class SoundServiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        struct sigaction before, after;
        sigaction(SIGINT, nullptr, &before);
        InitSound();
        sigaction(SIGINT, nullptr, &after);
        ASSERT_EQ(after.sa_handler, before.sa_handler) << "SDL took the interrupt signal";
        Uint16 format = 0; // 16-bit samples, or the dummy driver did not open
        ASSERT_EQ(std::pair(Mix_QuerySpec(nullptr, &format, nullptr), format),
                  std::pair(1, Uint16{AUDIO_S16SYS}));
    }
    void TearDown() override { ShutdownSound(); }
    ScopedEnv driver_{"SDL_AUDIODRIVER", "dummy"};
};

using SoundEffects = SoundServiceTest;

// One step at a time: the effect heard (by its decoded length, as the output wants it), the
// track heard and the last effect asked for.
TEST_F(SoundEffects, WhatTheGameAsksForIsWhatIsHeard) {
    std::map<uint32_t, std::string> byLength = {{0, "-"}};
    for (const char* name : {SELECT, HEAL, SAVE}) {
        Mix_Chunk* chunk = Mix_LoadWAV(DataPath(name).c_str());
        byLength[chunk->alen] = std::string(name).substr(7);
        Mix_FreeChunk(chunk);
    }
    // clang-format off
    const std::pair<void (*)(), std::string> steps[] = {
        {[] { SetMusic(1); }, "- 0 "}, // before any track was asked for: silence
        {[] { PlaySoundFile(HEAL); }, "ff3healmag.wav 0 sounds\\ff3healmag.wav"},
        {[] { PlaySoundFile(SELECT); }, "FF7select.wav 0 sounds\\FF7select.wav"}, // one channel
        {[] { PlaySoundFile(HEAL); PlayMusicTrack(1); }, "ff3healmag.wav 1 sounds\\ff3healmag.wav"},
        {[] { SetSoundEffects(0); }, "ff3healmag.wav 1 sounds\\ff3healmag.wav"}, // rings on
        {[] { static std::string name; name = SELECT; PlaySoundFile(name.c_str()); name.assign(name.size(), 'x'); }, "ff3healmag.wav 1 sounds\\FF7select.wav"}, // remembered, a copy
        {[] { PlaySoundFile(nullptr); PlaySoundFile(""); PlayMusicTrack(0); StopMusic(); SetMusic(1); }, "ff3healmag.wav 1 sounds\\FF7select.wav"}, // still track 1
        {[] { PlayMusicTrack(7); }, "ff3healmag.wav 1 sounds\\FF7select.wav"}, // no such file
        {[] { PlayMusicTrack(BATTLE_MUSIC_TRACK); }, "ff3healmag.wav 2 sounds\\FF7select.wav"},
        {[] { StopMusic(); }, "ff3healmag.wav 0 sounds\\FF7select.wav"},
        {[] { SetMusic(1); }, "ff3healmag.wav 2 sounds\\FF7select.wav"},
        {[] { SetMusic(0); PlayMusicTrack(1); }, "ff3healmag.wav 0 sounds\\FF7select.wav"},
        {[] { SetMusic(1); }, "ff3healmag.wav 1 sounds\\FF7select.wav"},
    };
    // clang-format on
    for (size_t i = 0; i < std::size(steps); i++) {
        steps[i].first();
        uint32_t length = Mix_Playing(-1) == 1 ? Mix_GetChunk(0)->alen : 0;
        EXPECT_EQ(byLength[length] + " " + std::to_string(Track()) + " " + GetLastSound(),
                  steps[i].second)
            << "step " << i;
    }
}

// Every effect the code names, and the sound of every skill in the skills file, is there to
// play (a missing one would only be silent; how each sounds is make-audio's).
TEST_F(SoundEffects, EveryEffectTheGameNamesPlays) {
    std::vector<std::string> names(std::begin(GAME_SOUND_FILES), std::end(GAME_SOUND_FILES)),
        silent;
    Registry* registry = NewRegistry();
    Captured([&] { ReadSkillsFile(registry, DataPath("skills\\skills0.txt").c_str()); });
    for (int uid = 8000; const Skill* skill = LookupSkill(registry, uid); uid++)
        names.push_back(skill->sound);
    FreeRegistry(registry);
    for (const std::string& name : names) {
        Mix_HaltChannel(-1);
        PlaySoundFile(name.c_str());
        if (Mix_Playing(0) != 1)
            silent.push_back(name);
    }
    EXPECT_EQ(std::pair(names.size(), silent),
              std::pair(std::size(GAME_SOUND_FILES) + 8, std::vector<std::string>{}));
}

// Missing and broken files are silent and quiet; without an audio device only the switches
// work; before the service starts, and after it stops, every call does nothing.
TEST(SoundFailures, BrokenFilesNoDeviceAndNoServiceAreSilentAndQuiet) {
    TempFile broken("RIFF this is not a wave file", "sounds/broken.wav");
    std::filesystem::create_directories(broken.dir() + "/music");
    std::ofstream(broken.dir() + "/music/track01.ogg") << "OggS but nothing else";
    auto calls = [] {
        PlaySoundFile("sounds\\broken.wav");
        PlaySoundFile("sounds\\nothere.wav");
        PlayMusicTrack(1);
        PlayMusicTrack(2);
        const CDPlayer* cd = GetSoundCDPlayer(); // no service (0), no device opened (-1)
        int heard = cd == nullptr ? 0 : cd->deviceId == 0 ? -1 : Mix_Playing(-1) + Track();
        SetMusic(0);
        SetSoundEffects(0);
        StopMusic();
        std::printf("%d %s %d %d %d %d | ", heard, GetLastSound().c_str(), GetMusicTrack(),
                    GetMusic(), GetSoundEffects(), cd != nullptr && cd->lastError != 0);
    };
    ScopedEnv data("VANTRELL_DATA", broken.dir().c_str());
    std::string heard = Captured([&] { // anything else said would show here too
        calls();
        for (const char* driver : {"dummy", "no-such-driver"}) {
            ScopedEnv env("SDL_AUDIODRIVER", driver);
            InitSound();
            calls();
            ShutdownSound();
        }
        calls();
    });
    EXPECT_EQ(heard, "0  0 0 0 0 | 0 sounds\\nothere.wav 2 0 0 1 | -1 sounds\\nothere.wav 2 0 0 1 "
                     "| 0  0 0 0 0 | ");
}

} // namespace
