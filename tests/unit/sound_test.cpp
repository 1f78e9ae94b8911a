// The sound service as the game uses it: the effects and the music that result from its calls.
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

namespace {

const char* const SELECT = "sounds\\FF7select.wav";
const char* const HEAL = "sounds\\ff3healmag.wav"; // the longest menu-free effect: still ringing
const char* const SAVE = "sounds\\ff3save.wav";

// The track the game's music plays (0 while it is silent) and the second it has reached.
std::pair<uint32_t, uint32_t> Heard() {
    uint32_t device = GetSoundCDPlayer()->deviceId, mode = 0, position = 0;
    if (MciStatusMode(device, &mode) != 0 || mode != MCI_MODE_PLAY)
        return {0, 0};
    MciSetTimeFormat(device, MCI_FORMAT_TMSF); // the player sets its own format for each play
    EXPECT_EQ(MciStatusPosition(device, &position), 0u);
    return {MCI_TMSF_TRACK(position), MCI_TMSF_MINUTE(position) * 60 + MCI_TMSF_SECOND(position)};
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

TEST_F(SoundEffects, ANewEffectCutsOffTheOnePlayingAndEffectsOffOnlyRememberIt) {
    PlaySoundFile(HEAL);
    Mix_Chunk* heal = Mix_GetChunk(0);
    PlaySoundFile(SELECT);
    Mix_Chunk* expected = Mix_LoadWAV(DataPath(SELECT).c_str()); // decoded as the output wants
    EXPECT_EQ(std::tuple(Mix_AllocateChannels(-1), Mix_Playing(-1), Mix_GetChunk(0)->alen),
              std::tuple(1, 1, expected->alen));
    Mix_FreeChunk(expected);
    PlaySoundFile(HEAL);
    EXPECT_EQ(Mix_GetChunk(0), heal) << "each file is decoded once";

    SetSoundEffects(0);
    std::string name = SELECT;
    PlaySoundFile(name.c_str());
    name.assign(name.size(), 'x'); // the service keeps a copy, not the caller's text
    PlaySoundFile(nullptr);        // null and empty names change nothing
    PlaySoundFile("");
    EXPECT_EQ(std::tuple(GetLastSound(), Mix_Playing(0), Mix_GetChunk(0)),
              std::tuple(SELECT, 1, heal)); // the heal chime plays on
}

// Every effect the code names, and the sound of every skill in the skills file.
TEST_F(SoundEffects, EveryEffectTheGameNamesPlaysShortAndAudible) {
    int frequency = 0, channels = 0;
    Mix_QuerySpec(&frequency, nullptr, &channels);
    std::vector<std::string> names(std::begin(GAME_SOUND_FILES), std::end(GAME_SOUND_FILES));
    Registry* registry = NewRegistry();
    Captured([&] { ReadSkillsFile(registry, DataPath("skills\\skills0.txt").c_str()); });
    for (int uid = 8000; const Skill* skill = LookupSkill(registry, uid); uid++)
        names.push_back(skill->sound);
    FreeRegistry(registry);
    EXPECT_EQ(names.size(), std::size(GAME_SOUND_FILES) + 8);
    for (const std::string& name : names) {
        PlaySoundFile(name.c_str());
        ASSERT_EQ(Mix_Playing(0), 1) << name;
        const Mix_Chunk* chunk = Mix_GetChunk(0);
        auto* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
        double seconds = double(chunk->alen) / (2.0 * channels * frequency);
        EXPECT_TRUE(seconds > 0.03 && seconds < 1.5) << name << ": " << seconds << " s";
        EXPECT_TRUE(std::any_of(samples, samples + chunk->alen / 2,
                                [](int16_t sample) { return std::abs(sample) > 300; }))
            << name << " is inaudible";
    }
}

using Music = SoundServiceTest;

TEST_F(Music, TheSwitchAndTheTracksAskedForDecideWhatIsHeard) {
    const CDPlayer* cd = GetSoundCDPlayer();
    const uint32_t none = MCIERR_INVALID_DEVICE_ID, out = MCIERR_OUTOFRANGE;
    const struct {
        void (*call)(int);
        int arg;
        int stored, heard, on; // the track stored, the one heard (0: silence), the switch
        uint32_t lastError;    // success leaves the last error
    } steps[] = {
        {SetMusic, 1, 0, 0, 1, none}, // before any track was asked for: silence
        {PlayMusicTrack, 1, 1, 1, 1, none},
        {PlayMusicTrack, 0, 1, 1, 1, none},
        {PlayMusicTrack, 7, 7, 1, 1, out}, // no such file: the music goes on
        {PlayMusicTrack, BATTLE_MUSIC_TRACK, 2, 2, 1, out},
        {[](int) { StopMusic(); }, 0, 2, 0, 1, out},
        {SetMusic, 1, 2, 2, 1, out},
        {SetMusic, 0, 2, 0, 0, out},
        {PlayMusicTrack, 1, 1, 0, 0, out},
        {SetMusic, 1, 1, 1, 1, out},
    };
    for (const auto& step : steps) {
        step.call(step.arg);
        auto [track, second] = Heard();
        EXPECT_EQ(std::tuple(GetMusicTrack(), track, GetMusic(), cd->lastError),
                  std::tuple(step.stored, uint32_t(step.heard), step.on, step.lastError))
            << "step " << &step - steps;
        EXPECT_LT(second, 3u) << "every track here starts from its beginning";
    }
}

TEST(SoundFailures, MissingAndBrokenFilesAreSilentAndQuiet) {
    TempFile broken("RIFF this is not a wave file", "sounds/broken.wav");
    std::filesystem::create_directories(broken.dir() + "/music");
    std::ofstream(broken.dir() + "/music/track01.ogg") << "OggS but nothing else";
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy"), data("VANTRELL_DATA", broken.dir().c_str());
    int playing = 0; // effects and music
    std::vector<uint32_t> errors;
    std::string output = Captured([&] {
        InitSound();
        for (auto play : {+[] { PlaySoundFile("sounds\\broken.wav"); },
                          +[] { PlaySoundFile("sounds\\nothere.wav"); }, +[] { PlayMusicTrack(1); },
                          +[] { PlayMusicTrack(2); }}) {
            play();
            playing += Mix_Playing(-1) + Heard().first;
            errors.push_back(GetSoundCDPlayer()->lastError);
        }
        ShutdownSound();
    });
    EXPECT_EQ(std::tuple(output, playing, errors),
              std::tuple("", 0,
                         std::vector{MCIERR_INVALID_DEVICE_ID, MCIERR_INVALID_DEVICE_ID,
                                     MCIERR_INVALID_FILE, MCIERR_OUTOFRANGE}));
}

// Without an audio device the switches still work; before the service starts, and after it
// stops, every call does nothing.
TEST(SoundFailures, WithoutADeviceOnlyTheSwitchesWorkAndWithoutTheServiceNothingDoes) {
    auto calls = [] {
        PlaySoundFile(SAVE);
        PlayMusicTrack(2);
        SetMusic(0);
        SetSoundEffects(0);
        StopMusic();
        return std::tuple(GetLastSound(), GetMusicTrack(), GetMusic(), GetSoundEffects());
    };
    EXPECT_EQ(std::tuple_cat(calls(), std::tuple(GetSoundCDPlayer())),
              std::tuple("", 0, 0, 0, nullptr));
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    InitSound();
    auto switches = calls();
    const CDPlayer* cd = GetSoundCDPlayer(); // never opened: no device, no window
    EXPECT_EQ(std::tuple_cat(switches, std::tuple(cd->deviceId, cd->callbackWindow, cd->lastError)),
              std::tuple(SAVE, 2, 0, 0, 0u, uintptr_t{0}, MCIERR_INVALID_DEVICE_ID));
    ShutdownSound();
    EXPECT_EQ(calls(), std::tuple("", 0, 0, 0));
}

} // namespace
