#include "data/registry.h"
#include "sound/mci.h"
#include "sound/sound.h"
#include "support/audio_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

namespace {

const char* const SELECT = "sounds\\FF7select.wav";
const char* const HEAL = "sounds\\ff3healmag.wav"; // the longest menu-free effect: still ringing
const char* const SAVE = "sounds\\ff3save.wav";

// The TMSF position of the music, read through a device of the test's own.
uint32_t Position(const CDPlayer* pPlayer) {
    uint32_t format = 0, position = 0;
    MciStatusTimeFormat(pPlayer->deviceId, &format);
    MciSetTimeFormat(pPlayer->deviceId, MCI_FORMAT_TMSF);
    EXPECT_EQ(MciStatusPosition(pPlayer->deviceId, &position), 0u);
    MciSetTimeFormat(pPlayer->deviceId, format);
    return position;
}

// ---- Effects on the disk driver: what really reaches the output.

class DiskOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        InitSound();
        ASSERT_TRUE(AudioOutputOpen()) << "the disk audio driver did not open";
        Uint16 format = 0;
        Mix_QuerySpec(nullptr, &format, nullptr);
        ASSERT_EQ(format, AUDIO_S16SYS);
    }
    void TearDown() override { ShutdownSound(); }
    size_t Written() const { return ReadSamples(out_.path()).size(); }
    // Waits for at least `samples` more samples after `mark` and tells whether any is audible.
    bool AudibleAfter(size_t mark, size_t samples = 44100) const {
        EXPECT_TRUE(WaitFor([&] { return Written() >= mark + samples; }));
        return AnyAudible(ReadSamples(out_.path()), mark);
    }

    TempFile out_{"", "output.raw"};
    ScopedEnv driver_{"SDL_AUDIODRIVER", "disk"};
    ScopedEnv file_{"SDL_DISKAUDIOFILE", out_.path().c_str()};
};

TEST_F(DiskOutput, EffectsAndMusicReallySoundButEffectsOffSoundNothing) {
    ASSERT_TRUE(WaitFor([&] { return Written() >= 22050; }));
    EXPECT_FALSE(AnyAudible(ReadSamples(out_.path()))) << "silence before anything plays";
    SetSoundEffects(0);
    EXPECT_EQ(GetSoundEffects(), 0);
    PlaySoundFile(SAVE);
    EXPECT_EQ(GetLastSound(), SAVE);
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_FALSE(AudibleAfter(Written()));

    SetSoundEffects(1);
    size_t mark = Written();
    PlaySoundFile(SELECT);
    EXPECT_TRUE(WaitFor([&] { return AnyAudible(ReadSamples(out_.path()), mark); }));
    Mix_HaltChannel(-1);
    mark = Written();
    EXPECT_FALSE(AudibleAfter(mark + 8192, 8192)) << "the effect is over";
    PlayMusicTrack(WANDERING_MUSIC_TRACK);
    mark = Written();
    EXPECT_TRUE(WaitFor([&] { return AnyAudible(ReadSamples(out_.path()), mark); }));
}

// ---- Effects: one channel, names, switches, missing files.

using SoundEffects = SoundServiceTest;

TEST_F(SoundEffects, ANewEffectCutsOffTheOnePlayingAndEffectsOffLetItFinish) {
    EXPECT_EQ(Mix_AllocateChannels(-1), 1);
    PlaySoundFile(HEAL);
    ASSERT_EQ(Mix_Playing(0), 1);
    Mix_Chunk* heal = Mix_GetChunk(0);
    PlaySoundFile(SELECT);
    EXPECT_EQ(Mix_Playing(-1), 1);
    Mix_Chunk* select = Mix_GetChunk(0);
    EXPECT_NE(select, heal);
    // The chunk now playing is the select sound, decoded as the output wants it.
    Mix_Chunk* expected = Mix_LoadWAV(DataPath(SELECT).c_str());
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(select->alen, expected->alen);
    Mix_FreeChunk(expected);
    EXPECT_EQ(GetLastSound(), SELECT);

    // Each file is decoded once: the same effect again is the same chunk.
    PlaySoundFile(HEAL);
    EXPECT_EQ(Mix_GetChunk(0), heal);
    // Switched off, a new effect is only remembered: the heal chime still plays.
    SetSoundEffects(0);
    PlaySoundFile(SELECT);
    EXPECT_EQ(GetLastSound(), SELECT);
    EXPECT_EQ(Mix_Playing(0), 1);
    EXPECT_EQ(Mix_GetChunk(0), heal);
}

TEST_F(SoundEffects, NullAndEmptyNamesChangeNothingAndNamesAreCopied) {
    EXPECT_EQ(GetLastSound(), "");
    PlaySoundFile(nullptr);
    PlaySoundFile("");
    EXPECT_EQ(GetLastSound(), "");
    EXPECT_EQ(Mix_Playing(0), 0);

    std::string name = HEAL;
    PlaySoundFile(name.c_str());
    name.assign(name.size(), 'x'); // the service keeps a copy, not the caller's text
    Mix_Chunk* playing = Mix_GetChunk(0);
    PlaySoundFile(nullptr);
    PlaySoundFile("");
    EXPECT_EQ(GetLastSound(), HEAL);
    EXPECT_EQ(Mix_Playing(0), 1);
    EXPECT_EQ(Mix_GetChunk(0), playing);
}

TEST(SoundFailures, MissingAndBrokenFilesAreSilentAndQuiet) {
    TempFile broken("RIFF this is not a wave file", "sounds/broken.wav");
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ScopedEnv data("VANTRELL_DATA", broken.dir().c_str());
    StdoutCapture capture;
    capture.Start();
    InitSound();
    PlaySoundFile("sounds\\broken.wav");
    int brokenPlays = Mix_Playing(-1);
    PlaySoundFile("sounds\\nothere.wav");
    int missingPlays = Mix_Playing(-1);
    PlayMusicTrack(1); // no music folder at all
    std::string lastSound = GetLastSound();
    int track = GetMusicTrack();
    uint32_t error = GetSoundCDPlayer()->lastError;
    ShutdownSound();
    EXPECT_EQ(capture.Stop(), "");
    EXPECT_EQ(brokenPlays, 0);
    EXPECT_EQ(missingPlays, 0);
    EXPECT_EQ(lastSound, "sounds\\nothere.wav");
    EXPECT_EQ(track, 1);
    EXPECT_EQ(error, MCIERR_OUTOFRANGE);
}

TEST(SoundFailures, WithoutAnAudioDeviceTheSwitchesStillWork) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    InitSound();
    EXPECT_FALSE(AudioOutputOpen());
    EXPECT_EQ(GetMusic(), 1);
    EXPECT_EQ(GetSoundEffects(), 1);
    PlaySoundFile(SAVE);
    EXPECT_EQ(GetLastSound(), SAVE);
    PlayMusicTrack(2);
    EXPECT_EQ(GetMusicTrack(), 2);
    SetMusic(0);
    EXPECT_EQ(GetMusic(), 0);
    const CDPlayer* cd = GetSoundCDPlayer();
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->deviceId, 0u);
    EXPECT_EQ(cd->lastError, MCIERR_INVALID_DEVICE_ID);
    ShutdownSound();
}

TEST(SoundFailures, BeforeTheServiceStartsEveryCallDoesNothing) {
    PlaySoundFile(SAVE);
    PlayMusicTrack(1);
    SetMusic(1);
    SetSoundEffects(1);
    StopMusic();
    EXPECT_EQ(GetLastSound(), "");
    EXPECT_EQ(GetMusicTrack(), 0);
    EXPECT_EQ(GetMusic(), 0);
    EXPECT_EQ(GetSoundEffects(), 0);
    EXPECT_EQ(GetSoundCDPlayer(), nullptr);
}

TEST(SoundService, LeavesInterruptAndTerminateToTheGame) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    struct sigaction before[2], after[2];
    sigaction(SIGINT, nullptr, &before[0]);
    sigaction(SIGTERM, nullptr, &before[1]);
    InitSound();
    sigaction(SIGINT, nullptr, &after[0]);
    sigaction(SIGTERM, nullptr, &after[1]);
    ShutdownSound();
    EXPECT_EQ(after[0].sa_handler, before[0].sa_handler);
    EXPECT_EQ(after[1].sa_handler, before[1].sa_handler);
}

// ---- Music: the stored track and the switch.

using Music = SoundServiceTest;

TEST_F(Music, StartsOnWithNoTrackAndStopMusicLeavesTheSwitchOn) {
    EXPECT_EQ(GetMusic(), 1);
    EXPECT_EQ(GetSoundEffects(), 1);
    const CDPlayer* cd = GetSoundCDPlayer();
    ASSERT_NE(cd, nullptr);
    EXPECT_NE(cd->deviceId, 0u);
    SetMusic(0);
    SetMusic(1); // before any track was asked for: nothing plays
    EXPECT_EQ(GetMusic(), 1);
    EXPECT_EQ(GetMusicTrack(), 0);
    EXPECT_EQ(ModeOf(cd), MCI_MODE_STOP);

    PlayMusicTrack(1);
    StopMusic();
    EXPECT_EQ(ModeOf(cd), MCI_MODE_STOP);
    EXPECT_EQ(GetMusic(), 1);
    PlayMusicTrack(2);
    EXPECT_EQ(ModeOf(cd), MCI_MODE_PLAY);
}

TEST_F(Music, TrackZeroAndNegativeTracksKeepTheStoredTrack) {
    PlayMusicTrack(BATTLE_MUSIC_TRACK);
    const CDPlayer* cd = GetSoundCDPlayer();
    ASSERT_EQ(ModeOf(cd), MCI_MODE_PLAY);
    for (int track : {0, -1, -2, -128, -1000}) {
        PlayMusicTrack(track);
        EXPECT_EQ(GetMusicTrack(), 2) << track;
    }
    EXPECT_EQ(ModeOf(cd), MCI_MODE_PLAY);
    EXPECT_EQ(MCI_TMSF_TRACK(Position(cd)), 2u);
}

TEST_F(Music, WithMusicOffATrackIsStoredAndStartsFromItsBeginningWhenSwitchedOn) {
    const CDPlayer* cd = GetSoundCDPlayer();
    // Track 2 is somewhere in its middle, played by a second (shared) device.
    CDPlayer* other = NewCDPlayer();
    ASSERT_EQ(CDOpen(other, 1), 0u);
    ASSERT_EQ(CDSetTimeFormat(other, MCI_FORMAT_TMSF), 0u);
    ASSERT_EQ(CDPlay(other, MCI_MAKE_TMSF(2, 0, 20, 0), MCI_MAKE_TMSF(2, 0, 40, 0), 0), 0u);
    EXPECT_GE(MCI_TMSF_SECOND(Position(cd)), 19u);

    SetMusic(0);
    EXPECT_EQ(ModeOf(cd), MCI_MODE_STOP) << "switching music off stops it at once";
    PlayMusicTrack(2);
    EXPECT_EQ(GetMusicTrack(), 2);
    EXPECT_EQ(ModeOf(cd), MCI_MODE_STOP);

    SetMusic(1);
    EXPECT_EQ(ModeOf(cd), MCI_MODE_PLAY);
    uint32_t position = Position(cd);
    EXPECT_EQ(MCI_TMSF_TRACK(position), 2u);
    EXPECT_EQ(MCI_TMSF_MINUTE(position), 0u);
    EXPECT_LT(MCI_TMSF_SECOND(position), 5u);
    FreeCDPlayer(other);
}

TEST_F(Music, ATrackThatDoesNotExistLeavesTheMusicAsItWas) {
    PlayMusicTrack(1);
    const CDPlayer* cd = GetSoundCDPlayer();
    for (int track : {7, 99, 100, 257}) {
        PlayMusicTrack(track);
        EXPECT_EQ(GetMusicTrack(), track);
        EXPECT_EQ(cd->lastError, MCIERR_OUTOFRANGE) << track;
        EXPECT_EQ(ModeOf(cd), MCI_MODE_PLAY);
        EXPECT_EQ(MCI_TMSF_TRACK(Position(cd)), 1u) << "track " << track << " started track 1";
    }
}

TEST_F(Music, CallsFromManyThreadsAtOnce) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; t++) {
        threads.emplace_back([t] {
            for (int i = 0; i < 40; i++) {
                PlaySoundFile(GAME_SOUND_FILES[(t * 7 + i) % std::size(GAME_SOUND_FILES)]);
                if (i % 10 == t)
                    PlayMusicTrack(1 + (i + t) % 2);
                if (i % 13 == 0)
                    SetMusic(i % 2);
                SetSoundEffects(1);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_LE(Mix_Playing(-1), 1);
    int track = GetMusicTrack();
    EXPECT_TRUE(track == 1 || track == 2);
}

// ---- The game's files.

// Every effect the code names, and the sound of every skill in the skills file.
std::vector<std::string> NamedSoundFiles() {
    std::vector<std::string> names(std::begin(GAME_SOUND_FILES), std::end(GAME_SOUND_FILES));
    Registry* registry = NewRegistry();
    int failed = -1;
    Captured([&] { failed = ReadSkillsFile(registry, DataPath("skills\\skills0.txt").c_str()); });
    EXPECT_EQ(failed, 0);
    int uid = 8000;
    for (; LookupSkill(registry, uid) != nullptr; uid++)
        names.push_back(LookupSkill(registry, uid)->sound);
    EXPECT_GE(uid, 8004) << "skills 8000 to 8003";
    FreeRegistry(registry);
    return names;
}

using GameFiles = SoundServiceTest;

TEST_F(GameFiles, EverySoundTheGameNamesExistsDecodesAndIsShortAndAudible) {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    ASSERT_EQ(format, AUDIO_S16SYS);
    std::vector<std::string> names = NamedSoundFiles();
    EXPECT_GE(std::set<std::string>(names.begin(), names.end()).size(),
              std::size(GAME_SOUND_FILES));
    for (const std::string& name : names) {
        std::string path = DataPath(name.c_str());
        ASSERT_TRUE(std::filesystem::is_regular_file(path)) << name;
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        ASSERT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
        double seconds = double(chunk->alen) / (2.0 * channels * frequency);
        EXPECT_GT(seconds, 0.03) << name;
        EXPECT_LT(seconds, 1.5) << name;
        auto* samples = reinterpret_cast<int16_t*>(chunk->abuf);
        EXPECT_TRUE(AnyAudible(std::vector<int16_t>(samples, samples + chunk->alen / 2))) << name;
        Mix_FreeChunk(chunk);
    }
}

TEST_F(GameFiles, TheTwoMusicTracksDecodeWithSensibleLengths) {
    CDPlayer* cd = NewCDPlayer();
    ASSERT_EQ(CDOpen(cd, 1), 0u);
    ASSERT_EQ(CDSetTimeFormat(cd, MCI_FORMAT_MILLISECONDS), 0u);
    uint32_t wandering = CDTrackLength(cd, WANDERING_MUSIC_TRACK);
    uint32_t battle = CDTrackLength(cd, BATTLE_MUSIC_TRACK);
    EXPECT_GE(wandering, 60000u);
    EXPECT_LE(wandering, 180000u);
    EXPECT_GE(battle, 30000u);
    EXPECT_LE(battle, 180000u);
    FreeCDPlayer(cd);
}

} // namespace
