// The sound calls the game makes from its tick and its packet handlers: they must return at once.
// Runs on SDL's silent "dummy" driver with the repository's data unless told otherwise.
#include "foundation/datapath.h"
#include "sound/sound.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

void StartSound() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string data = (std::filesystem::path(__FILE__).parent_path().parent_path() / "data");
    setenv("VANTRELL_DATA", data.c_str(), 0);
    ResetDataRoot();
    InitSound();
}

// One effect after another, each cutting off the last: the menus' key repeat.
void BM_PlaySoundFile(benchmark::State& state) {
    StartSound();
    size_t i = 0;
    for (auto _ : state)
        PlaySoundFile(GAME_SOUND_FILES[i++ % std::size(GAME_SOUND_FILES)]);
    ShutdownSound();
}
BENCHMARK(BM_PlaySoundFile);

// A battle starting and ending: track 2, then track 1, from their beginnings.
void BM_SwitchMusicTrack(benchmark::State& state) {
    StartSound();
    int track = 1;
    for (auto _ : state) {
        track = 3 - track;
        PlayMusicTrack(track);
    }
    ShutdownSound();
}
BENCHMARK(BM_SwitchMusicTrack);

// The "m" key: music off and on again, restarting the track.
void BM_ToggleMusic(benchmark::State& state) {
    StartSound();
    PlayMusicTrack(1);
    for (auto _ : state) {
        SetMusic(0);
        SetMusic(1);
    }
    ShutdownSound();
}
BENCHMARK(BM_ToggleMusic);

} // namespace
